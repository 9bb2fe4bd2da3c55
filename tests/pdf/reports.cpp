#include "reports.h"

#include "report/base/utils.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

using namespace orv::pdf;
using namespace orv::platform;
using namespace orv::report;

namespace orv::pdf::test {

void ReportTest::SetUp()
{
    orv::platform::setClock(&clock);
    frxSetErrorBoxHandler([this](const QString& m) { errorBoxes << m; });
}

void ReportTest::TearDown()
{
    frxSetErrorBoxHandler(nullptr);
    orv::platform::setClock(nullptr);
}

std::unique_ptr<TfrxReport> makeReport()
{
    auto r = std::make_unique<TfrxReport>();
    r->SetShowProgress(false);
    auto* data = new TfrxDataPage(r.get());
    data->SetName(QStringLiteral("Data"));
    auto* page = new TfrxReportPage(r.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetLeftMargin(10);
    page->SetRightMargin(10);
    page->SetTopMargin(10);
    page->SetBottomMargin(10);
    return r;
}

TfrxReportPage* firstPage(TfrxReport& report) { return report.GetPageAs<TfrxReportPage>(1); }

TfrxMemoView* addMemo(TfrxComponent* parent, const QString& name, double left, double top, double width,
                      double height, const QString& text)
{
    auto* m = new TfrxMemoView(parent);
    m->SetName(name);
    m->SetBounds(left, top, width, height);
    m->SetAllowExpressions(false);
    m->SetText(text);
    return m;
}

std::unique_ptr<TfrxReport> makeExampleReport()
{
    auto r = makeReport();
    TfrxReportPage* page = firstPage(*r);
    addMemo(page, QStringLiteral("txtTotale"), 3.779528, 3.779528, 377.9528, 18.89764, QStringLiteral("Totale"));
    auto* line = new TfrxLineView(page);
    line->SetName(QStringLiteral("linTotale"));
    line->SetBounds(3.779528, 71.81 - 37.79528, 377.9528, 0);
    line->Frame()->SetTyp({ftTop});
    return r;
}

std::unique_ptr<TfrxReport> makeListReport(int lines)
{
    auto r = std::make_unique<TfrxReport>();
    EXPECT_TRUE(r->LoadFromFile(QStringLiteral(ORV_FIXTURES "/report/riepilogo_dati.xml")));
    auto* memo = r->FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiepilogo"));
    memo->Memo()->Clear();
    for (int i = 1; i <= lines; ++i)
        memo->Memo()->Add(QStringLiteral("%1  ROSSI MARIO %2      VIA ROMA %2      SALUZZO (CN)  à è € 1.234,00")
                              .arg(i, 4, 10, QChar(u'0'))
                              .arg(i));
    memo->SetHeight(lines * 12.822);
    r->FindObjectAs<TfrxMasterData>(QStringLiteral("MasterData"))->SetHeight(memo->Height() + 10);
    r->FindObjectAs<TfrxMemoView>(QStringLiteral("txtTitolo"))->SetText(QStringLiteral("Elenco clienti"));
    return r;
}

namespace {

constexpr TAlphaColor claDarkorange = 0xFFFF8C00;
constexpr TAlphaColor claTeal = 0xFF008080;

// A small yellow folder, the card's logo.
QImage folderPicture()
{
    QImage image(82, 68, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(QColor(0x8B, 0x6B, 0x00));
    p.setBrush(QColor(0xF5, 0xC5, 0x18));
    p.drawRect(2, 6, 30, 10);
    p.drawRect(2, 14, 77, 51);
    return image;
}

TfrxMemoView* cardMemo(TfrxReportPage* page, const QString& name, double left, double top, double width,
                       double height, double pixels, TAlphaColor fill, TAlphaColor color, TfrxHAlign align)
{
    TfrxMemoView* m = addMemo(page, name, left, top, width, height, QString());
    m->SetWordWrap(false);
    m->SetColor(fill);
    m->Font()->SetName(QStringLiteral("Arial"));
    m->Font()->SetHeight(-pixels);
    m->Font()->SetColor(color);
    m->SetHAlign(align);
    m->SetVAlign(vaCenter);
    return m;
}

TfrxLineView* cardLine(TfrxReportPage* page, const QString& name, double left, double top, double width)
{
    auto* line = new TfrxLineView(page);
    line->SetName(name);
    line->SetBounds(left, top, width, 0);
    line->Frame()->SetTyp({ftTop});
    return line;
}

} // namespace

std::unique_ptr<TfrxReport> makeCardReport()
{
    auto r = makeReport();
    r->ReportOptions()->SetName(QStringLiteral("Scheda informativa"));
    r->ReportOptions()->SetAuthor(QStringLiteral("Dorvane Software"));
    TfrxReportPage* page = firstPage(*r);
    auto* logo = new TfrxPictureView(page);
    logo->SetName(QStringLiteral("imgLogo"));
    logo->SetBounds(11.33859, 11.33859, 64.25201, 49.13389);
    logo->Picture()->SetImage(folderPicture());
    cardMemo(page, QStringLiteral("txtTitolo"), 86.92919, 11.33859, 623.62245, 34.01577, 21.333334, claDarkorange,
             claWhite, haCenter);
    cardLine(page, QStringLiteral("linSepara01"), 86.92919, 60.47248, 623.62245);
    for (int i = 1; i <= 24; ++i) {
        const QString n = QStringLiteral("%1").arg(i, 2, 10, QChar(u'0'));
        const double top = 90.70872 + (i - 1) * 37.7953;
        cardMemo(page, QStringLiteral("titCampo") + n, 11.33859, top, 196.53556, 22.67718, 12, claTeal, claWhite,
                 haLeft);
        cardMemo(page, QStringLiteral("txtCampo") + n, 226.7718, top, 483.77984, 22.67718, 13.333333, claNull,
                 claBlack, haLeft);
    }
    cardLine(page, QStringLiteral("linSepara02"), 11.33859, 1001.57545, 699.21305);
    cardMemo(page, QStringLiteral("txtCalce"), 11.33859, 1016.69357, 699.21305, 22.67718, 13.333333, claDarkorange,
             claWhite, haCenter);

    // What the customer window writes into it.
    static const char* const pairs[24][2] = {
        {"Cognome e nome:", "Rossi Mario"},
        {"Data di nascita:", "12/03/1970"},
        {"Comune di nascita:", "Saluzzo CN"},
        {"Sesso:", "M"},
        {"Recapito preferenziale:", "Cellulare"},
        {"Indirizzo di residenza:", "Via Roma, 1"},
        {"Comune di residenza:", "Cuneo CN"},
        {"Modalità pagamento:", "Bonifico bancario"},
        {"Tel. casa:", "0175 123456"},
        {"Tel. ufficio:", ""},
        {"Tel. cellulare:", "333 1234567"},
        {"Fax:", ""},
        {"E-mail:", "mario.rossi@example.it"},
        {"Codice fiscale:", "RSSMRA70C12H727X"},
        {"Partita IVA:", ""},
        {"Carta di credito:", "N.   -  Scadenza: "},
        {"IBAN:", "IT60X0542811101000000123456"},
        {"Tipo impianto:", "Caldaia a condensazione  Scadenza manutenzione:  30/09/2022"},
        {"Marca e modello:", "Ferroli Bluehelix"},
        {"N. matricola:", "FX-2231  Anno costruzione:  2018"},
        {"Alimentazione:", "Metano"},
        {"Caratteristiche tecniche:", "24 kW, camera stagna"},
        {"Questioni in sospeso:", "Saldo: à è € 1.234,00"},
        {"Note:", "Chiamare prima [DATE] (città)"},
    };
    r->FindObjectAs<TfrxMemoView>(QStringLiteral("txtTitolo"))->SetText(QStringLiteral("SCHEDA ANAGRAFICA CLIENTE"));
    for (int i = 0; i < 24; ++i) {
        const QString n = QStringLiteral("%1").arg(i + 1, 2, 10, QChar(u'0'));
        r->FindObjectAs<TfrxMemoView>(QStringLiteral("titCampo") + n)->SetText(QString::fromUtf8(pairs[i][0]));
        r->FindObjectAs<TfrxMemoView>(QStringLiteral("txtCampo") + n)->SetText(QString::fromUtf8(pairs[i][1]));
    }
    r->FindObjectAs<TfrxMemoView>(QStringLiteral("txtCalce"))
        ->SetText(QStringLiteral("Stampa eseguita in data 05/12/2021 alle ore 14:30:00"));
    return r;
}

QByteArray exportToMemory(TfrxReport& report, const std::function<void(TfrxPDFExport&)>& setup)
{
    EXPECT_TRUE(report.PrepareReport(true)) << report.Errors()->Text().toStdString();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TfrxPDFExport pdf;
    pdf.SetShowDialog(false);
    pdf.Stream = &buffer;
    if (setup)
        setup(pdf);
    EXPECT_TRUE(report.Export(&pdf)) << report.Errors()->Text().toStdString();
    return buffer.data();
}

} // namespace orv::pdf::test
