#include "layouts.h"

#include "report/base/utils.h"
#include "report/model/bands.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

using namespace orv::report;

namespace orv::report::test {

namespace {

TfrxMemoView* memo(TfrxComponent* parent, const QString& name, double l, double t, double w, double h,
                   const QString& text)
{
    auto* m = new TfrxMemoView(parent);
    m->SetName(name);
    m->SetBounds(l, t, w, h);
    m->SetText(text);
    return m;
}

void commonOptions(TfrxReport& r, const QString& name)
{
    r.SetShowProgress(false);
    r.ReportOptions()->SetAuthor(QStringLiteral("Dorvane Software"));
    r.ReportOptions()->SetName(name);
    r.ReportOptions()->SetCreateDate(40179.5729166667);
    r.ReportOptions()->SetLastChange(45292.3777777778);
}

} // namespace

std::unique_ptr<TfrxReport> makeListLayout()
{
    auto r = std::make_unique<TfrxReport>();
    commonOptions(*r, QStringLiteral("Riepilogo dati"));
    auto* data = new TfrxDataPage(r.get());
    data->SetName(QStringLiteral("Data"));
    auto* page = new TfrxReportPage(r.get());
    page->SetName(QStringLiteral("Page"));
    page->SetOrientation(poLandscape);
    page->SetLeftMargin(10);
    page->SetRightMargin(10);
    page->SetTopMargin(10);
    page->SetBottomMargin(10);

    auto* title = new TfrxReportTitle(page);
    title->SetName(QStringLiteral("ReportTitle"));
    title->SetBounds(0, 18.89765, 1046.92981, 30.23624);
    auto* t = memo(title, QStringLiteral("txtTitolo"), 7.55906, 3.77953, 1031.81169, 18.89765, QStringLiteral("Riepilogo"));
    t->SetColor(0xFF708090);
    t->Font()->SetName(QStringLiteral("Verdana"));
    t->Font()->SetHeight(-12);
    t->Font()->SetStyle({fsBold});
    t->Font()->SetColor(claWhite);
    t->SetHAlign(haCenter);

    auto* master = new TfrxMasterData(page);
    master->SetName(QStringLiteral("MasterData"));
    master->SetBounds(0, 105.82684, 1046.92981, 105.82684);
    master->SetAllowSplit(true);
    master->SetRowCount(1);
    auto* list = memo(master, QStringLiteral("txtRiepilogo"), 11.33859, 0, 1031.81169, 102.04731, QString());
    list->Font()->SetName(QStringLiteral("Courier New"));
    list->Font()->SetSize(8);
    list->SetWordWrap(false);
    list->Memo()->Add(QStringLiteral("ROSSI MARIO          VIA ROMA 1           TORINO"));
    list->Memo()->Add(QStringLiteral("BIANCHI & FIGLI      \"LA BOTTEGA\" <2>     MILANO"));
    list->Memo()->Add(QStringLiteral("VERDI ANNA           CORSO DANTE 9        CUNEO"));

    auto* footer = new TfrxFooter(page);
    footer->SetName(QStringLiteral("Footer"));
    footer->SetBounds(0, 230.55133, 1046.92981, 30.23624);
    auto* date = memo(footer, QStringLiteral("txtPagina"), 7.55906, 7.55906, 1031.81169, 15.11812,
                      QStringLiteral("Stampa eseguita in data [DATE]"));
    date->Font()->SetName(QStringLiteral("Verdana"));
    date->Font()->SetHeight(-11);
    date->SetHAlign(haRight);
    return r;
}

std::unique_ptr<TfrxReport> makeCardLayout()
{
    auto r = std::make_unique<TfrxReport>();
    commonOptions(*r, QStringLiteral("Scheda informativa"));
    r->PreviewOptions()->SetButtons({pbPrint, pbZoom, pbFullScreen, pbClose});
    r->PreviewOptions()->SetAllowEdit(false);
    auto* data = new TfrxDataPage(r.get());
    data->SetName(QStringLiteral("Data"));
    auto* page = new TfrxReportPage(r.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetLeftMargin(10);
    page->SetRightMargin(10);
    page->SetTopMargin(10);
    page->SetBottomMargin(10);

    auto* logo = new TfrxPictureView(page);
    logo->SetName(QStringLiteral("imgLogo"));
    logo->SetBounds(3.77953, 3.77953, 120, 60);
    QImage image(8, 4, QImage::Format_ARGB32);
    image.fill(0xFF336699);
    image.setPixel(0, 0, 0xFFFFFFFF);
    logo->Picture()->SetImage(image);

    auto* title = memo(page, QStringLiteral("titScheda"), 200, 10, 500, 24, QStringLiteral("Scheda cliente"));
    title->Font()->SetSize(14);
    title->Font()->SetStyle({fsBold, fsUnderline});
    title->SetHAlign(haCenter);
    title->SetAllowExpressions(false);
    title->SetWordWrap(false);

    auto* box = new TfrxShapeView(page);
    box->SetName(QStringLiteral("shpRiquadro"));
    box->SetBounds(3.77953, 90, 710, 620);
    box->SetColor(0xFFE6E6FA);
    box->Frame()->SetWidth(0.5);
    auto* rounded = new TfrxShapeView(page);
    rounded->SetName(QStringLiteral("shpNote"));
    rounded->SetBounds(3.77953, 720, 710, 200);
    rounded->SetShape(skRoundRectangle);
    rounded->SetCurve(2);

    auto* rule = new TfrxLineView(page);
    rule->SetName(QStringLiteral("linSeparatore"));
    rule->SetBounds(3.77953, 80, 710, 0);
    rule->Frame()->SetTyp({ftTop});
    auto* rule2 = new TfrxLineView(page);
    rule2->SetName(QStringLiteral("linVerticale"));
    rule2->SetBounds(250, 90, 0, 620);
    rule2->Frame()->SetTyp({ftLeft});
    rule2->Frame()->SetStyle(fsDash);

    static const char* const captions[] = {
        "Codice",   "Ragione sociale", "Indirizzo", "CAP",      "Città",    "Provincia", "Telefono",  "Cellulare",
        "Fax",      "E-mail",          "Sito web",  "Cod. fiscale", "Partita IVA", "IBAN", "Banca",   "Pagamento",
        "Impianto", "Marca",           "Modello",   "Matricola", "Installato il", "Garanzia", "Note", "Ultima visita",
    };
    for (int i = 0; i < 24; ++i) {
        const double top = 96 + i * 25.5;
        const QString n = QStringLiteral("%1").arg(i + 1, 2, 10, QChar(u'0'));
        auto* caption = memo(page, QStringLiteral("lblCampo") + n, 10, top, 230, 18.89765,
                             QString::fromUtf8(captions[i]) + u':');
        caption->SetAllowExpressions(false);
        caption->SetWordWrap(false);
        caption->Font()->SetSize(8);
        caption->Font()->SetStyle({fsBold});
        caption->SetHAlign(haRight);
        auto* value = memo(page, QStringLiteral("txtCampo") + n, 256, top, 450, 18.89765, QString());
        value->SetAllowExpressions(false);
        value->SetWordWrap(false);
        value->Font()->SetSize(8);
        value->SetVAlign(vaCenter);
    }
    r->FindObjectAs<TfrxMemoView>(QStringLiteral("txtCampo02"))->SetText(QStringLiteral("Idraulica Ferrero s.n.c."));
    r->FindObjectAs<TfrxMemoView>(QStringLiteral("txtCampo05"))->SetText(QStringLiteral("Saluzzo"));
    r->FindObjectAs<TfrxMemoView>(QStringLiteral("txtCampo23"))
        ->SetText(QStringLiteral("Caldaia a condensazione\r\nrevisione annuale: 'ottobre'\r\nchiamare prima"));
    return r;
}

void fillList(TfrxReport& report, int lines)
{
    auto* memo = report.FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiepilogo"));
    memo->Memo()->Clear();
    for (int i = 1; i <= lines; ++i)
        memo->Memo()->Add(QStringLiteral("RIGA %1 CLIENTE DI PROVA").arg(i, 4, 10, QChar(u'0')));
    memo->SetHeight(lines * 12.822);
    report.FindObjectAs<TfrxMasterData>(QStringLiteral("MasterData"))->SetHeight(memo->Height() + 10);
}

ErrorBoxRecorder::ErrorBoxRecorder(QStringList& shown)
{
    frxSetErrorBoxHandler([&shown](const QString& m) { shown << m; });
}

ErrorBoxRecorder::~ErrorBoxRecorder() { frxSetErrorBoxHandler(nullptr); }

void LayoutFixture::SetUp()
{
    data->SetName(QStringLiteral("Data"));
    page->SetName(QStringLiteral("Page1"));
    report->SetShowProgress(false);
    box = std::make_unique<ErrorBoxRecorder>(shown);
}

TfrxMemoView* LayoutFixture::memo(TfrxComponent* parent, const QString& name, const QString& text, double top,
                                  double height)
{
    auto* m = new TfrxMemoView(parent);
    m->SetName(name);
    m->SetBounds(0, top, 300, height);
    m->SetText(text);
    return m;
}

RowsDataSet* LayoutFixture::rows(const QString& name, std::vector<QVariantMap> values)
{
    programDataSets.push_back(std::make_unique<RowsDataSet>(nullptr, std::move(values)));
    RowsDataSet* ds = programDataSets.back().get();
    ds->SetName(name);
    ds->SetUserName(name);
    report->DataSets()->Add(ds);
    return ds;
}

QStringList LayoutFixture::texts()
{
    QStringList out;
    for (int i = 0; i < pages().Count(); ++i)
        for (TfrxComponent* c : pages().GetPage(i)->AllObjects())
            if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c))
                out << m->Text().trimmed();
    return out;
}

QByteArray templateText(TfrxReport& report)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    report.SaveToStream(buffer);
    return buffer.data();
}

} // namespace orv::report::test
