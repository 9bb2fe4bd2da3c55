#include "printing/list.h"

#include "report/model/bands.h"
#include "report/model/report.h"
#include "report/model/views.h"

namespace orv::printing {
using namespace orv::report;
} // namespace orv::printing

namespace orv::printing {

namespace {

constexpr TAlphaColor kSlateGrey = 0xFF708090;

TfrxMemoView* addMemo(TfrxComponent* band, const QString& name, double left, double top, double width, double height,
                      const QString& text)
{
    auto* m = new TfrxMemoView(band);
    m->SetName(name);
    m->SetBounds(left, top, width, height);
    m->SetParentFont(false);
    m->SetText(text);
    return m;
}

void whiteOnGrey(TfrxMemoView* m, double fontHeight)
{
    m->SetColor(kSlateGrey);
    m->Font()->SetName(QStringLiteral("Verdana"));
    m->Font()->SetStyle({fsBold});
    m->Font()->SetColor(claWhite);
    m->Font()->SetHeight(fontHeight);
    m->SetHAlign(haCenter);
}

} // namespace

std::unique_ptr<TfrxReport> makeSummaryLayout()
{
    auto r = std::make_unique<TfrxReport>();
    r->ReportOptions()->SetName(QStringLiteral("Riepilogo dati"));
    r->SetScriptLanguage(QStringLiteral("VoriroVoreva"));
    r->ScriptText()->SetText(QStringLiteral("begin\r\n\r\nend."));
    r->SetShowProgress(false);
    r->PrintOptions()->SetPrinter(QStringLiteral("Default"));

    auto* data = new TfrxDataPage(r.get());
    data->SetName(QStringLiteral("Data"));
    data->SetBounds(0, 0, 1000, 1000);
    auto* page = new TfrxReportPage(r.get());
    page->SetName(QStringLiteral("Page"));
    page->SetOrientation(poLandscape);
    page->SetSizeAndDimensions(9, 297, 210);
    page->SetLeftMargin(10);
    page->SetRightMargin(10);
    page->SetTopMargin(10);
    page->SetBottomMargin(10);

    auto* title = new TfrxReportTitle(page);
    title->SetName(QStringLiteral("ReportTitle"));
    title->SetBounds(0, 18.89765, 1046.92981, 30.23624);
    auto* titleText = addMemo(title, QStringLiteral("txtTitolo"), 7.55906, 3.77953, 1031.81169, 18.89765,
                              QStringLiteral("Riepilogo"));
    whiteOnGrey(titleText, -12);
    // Titles and lines are the program's and the archive's texts: never expressions.
    titleText->SetAllowExpressions(false);

    auto* master = new TfrxMasterData(page);
    master->SetName(QStringLiteral("MasterData"));
    master->SetBounds(0, 71.81107, 1046.92981, 105.82684);
    master->SetAllowSplit(true);
    master->SetRowCount(1);
    auto* lines = addMemo(master, QStringLiteral("txtRiepilogo"), 11.33859, 0, 1031.81169, 102.04731, QString());
    lines->Font()->SetName(QStringLiteral("Courier New"));
    lines->Font()->SetColor(claBlack);
    lines->Font()->SetHeight(-10.666667);
    lines->SetWordWrap(false);
    lines->SetAllowExpressions(false);

    auto* footer = new TfrxFooter(page);
    footer->SetName(QStringLiteral("Footer"));
    footer->SetBounds(0, 200.31509, 1046.92981, 30.23624);
    auto* date = addMemo(footer, QStringLiteral("txtPagina"), 11.33859, 7.55906, 1028.03216, 18.89765,
                         QStringLiteral("Stampa eseguita in data [DATE]"));
    whiteOnGrey(date, -10.666667);
    return r;
}

SummaryReport::SummaryReport() : m_report(makeSummaryLayout()) {}

SummaryReport::~SummaryReport() = default;

bool SummaryReport::setMemoText(const QString& memo, const QString& text)
{
    auto* m = dynamic_cast<TfrxCustomMemoView*>(m_report->FindObject(memo));
    if (!m) return false;
    m->SetText(text);
    return true;
}

bool SummaryReport::setMemoLines(const QString& memo, const QStringList& lines)
{
    auto* m = dynamic_cast<TfrxCustomMemoView*>(m_report->FindObject(memo));
    if (!m) return false;
    m->Memo()->Clear();
    for (const QString& line : lines) m->Memo()->Add(line);
    return true;
}

bool SummaryReport::setHeight(const QString& object, double height)
{
    auto* c = m_report->FindObject(object);
    if (!c) return false;
    c->SetHeight(height);
    return true;
}

void SummaryReport::prepareAndPrint()
{
    // A preparation that failed has shown its errors; its pages are not printed.
    if (m_report->PrepareReport(true)) m_report->Print();
}

} // namespace orv::printing
