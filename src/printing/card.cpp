#include "printing/card.h"

#include "pdf/pdfexport.h"
#include "printing/docpdf.h"
#include "report/model/report.h"
#include "report/model/views.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace orv::printing {
using namespace orv::pdf;
using namespace orv::report;
} // namespace orv::printing

namespace orv::printing {

namespace {

constexpr TAlphaColor kDarkOrange = 0xFFFF8C00;
constexpr TAlphaColor kTeal = 0xFF008080;

// The card's small picture at the top left: a yellow folder.
QImage folderPicture()
{
    QImage image(82, 68, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x9A, 0x7B, 0x10), 2));
    p.setBrush(QColor(0xF2, 0xC2, 0x2E));
    QPainterPath back;
    back.moveTo(4, 14);
    back.lineTo(30, 14);
    back.lineTo(36, 8);
    back.lineTo(60, 8);
    back.lineTo(60, 14);
    back.lineTo(76, 14);
    back.lineTo(76, 62);
    back.lineTo(4, 62);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(0xFF, 0xD9, 0x4A));
    p.drawPolygon(QPolygonF({QPointF(4, 62), QPointF(12, 26), QPointF(80, 26), QPointF(76, 62)}));
    return image;
}

TfrxMemoView* addMemo(TfrxComponent* parent, const QString& name, double left, double top, double width,
                      double height, double fontHeight, TAlphaColor fontColour, TAlphaColor fill,
                      const QString& text)
{
    auto* m = new TfrxMemoView(parent);
    m->SetName(name);
    m->SetBounds(left, top, width, height);
    m->Font()->SetName(QStringLiteral("Arial"));
    m->Font()->SetHeight(fontHeight);
    m->Font()->SetColor(fontColour);
    m->SetParentFont(false);
    m->SetColor(fill);
    // The texts are the editor's values; they print as typed, never as expressions.
    m->SetAllowExpressions(false);
    m->SetWordWrap(false);
    m->SetText(text);
    return m;
}

void addRule(TfrxComponent* parent, const QString& name, double left, double top, double width)
{
    auto* l = new TfrxLineView(parent);
    l->SetName(name);
    l->SetBounds(left, top, width, 0);
    l->Frame()->SetTyp({ftTop});
}

} // namespace

std::unique_ptr<TfrxReport> makeCardLayout(CardKind kind)
{
    auto r = std::make_unique<TfrxReport>();
    r->SetDotMatrixReport(false);
    r->SetShowProgress(false);
    r->ReportOptions()->SetName(QStringLiteral("Scheda informativa"));
    r->ReportOptions()->SetAuthor(QStringLiteral("Dorvane Software"));
    r->ReportOptions()->SetIsFMXReport(true);
    r->SetScriptLanguage(QStringLiteral("VoriroVoreva"));
    r->ScriptText()->SetText(QStringLiteral("begin\r\n\r\nend."));
    r->PreviewOptions()->SetButtons(kind == CardKind::Schedule
                                         ? TfrxPreviewButtons{pbPrint, pbZoom, pbFullScreen, pbThumbnails, pbNavigator,
                                                              pbClose}
                                         : TfrxPreviewButtons{pbPrint, pbZoom, pbFullScreen, pbClose});
    r->PreviewOptions()->SetAllowEdit(false);
    r->PreviewOptions()->SetZoom(1);
    r->PrintOptions()->SetPrinter(QStringLiteral("Default"));
    r->PrintOptions()->SetPrintOnSheet(0);

    auto* data = new TfrxDataPage(r.get());
    data->SetName(QStringLiteral("Data"));
    data->SetBounds(0, 0, 1000, 1000);
    auto* page = new TfrxReportPage(r.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetSizeAndDimensions(9, 210, 297);
    page->SetOrientation(poPortrait);
    page->SetLeftMargin(10);
    page->SetRightMargin(10);
    page->SetTopMargin(10);
    page->SetBottomMargin(10);

    auto* logo = new TfrxPictureView(page);
    logo->SetName(QStringLiteral("imgLogo"));
    logo->SetBounds(11.33859, 11.33859, 64.25201, 49.13389);
    logo->SetTransparent(false);
    logo->SetTransparentColor(claWhite);
    logo->SetHightQuality(false);
    logo->Picture()->SetImage(folderPicture());

    auto* title = addMemo(page, QStringLiteral("txtTitolo"), 86.92919, 11.33859, 623.62245, 34.01577,
                          -21.333334, claWhite, kDarkOrange, QStringLiteral("Titolo Scheda"));
    title->SetHAlign(haCenter);
    title->SetVAlign(vaCenter);
    addRule(page, QStringLiteral("linSepara01"), 86.92919, 60.47248, 623.62245);

    const auto pairTop = [](int i) { return 90.70872 + (i - 1) * 37.7953; };
    const auto design = [](int i) { return QStringLiteral("Campo %1").arg(i); };
    for (int i = 1; i <= 24; ++i) {
        auto* caption = addMemo(page, QStringLiteral("titCampo%1").arg(i, 2, 10, QChar(u'0')), 11.33859, pairTop(i),
                                196.53556, 22.67718, -12, claWhite, kTeal, design(i));
        caption->SetVAlign(vaCenter);
    }
    for (int i = 1; i <= 24; ++i) {
        auto* value = addMemo(page, QStringLiteral("txtCampo%1").arg(i, 2, 10, QChar(u'0')), 226.7718, pairTop(i),
                              483.77984, 22.67718, -13.333333, claBlack, claNull, design(i));
        value->SetVAlign(vaCenter);
    }

    const auto footer = [&] {
        auto* f = addMemo(page, QStringLiteral("txtCalce"), 11.33859, 1016.69357, 699.21305, 22.67718, -13.333333,
                          claWhite, kDarkOrange, QStringLiteral("Termine scheda"));
        f->SetHAlign(haCenter);
        f->SetVAlign(vaCenter);
        return f;
    };
    if (kind == CardKind::Schedule) {
        title->SetWordWrap(true);
        footer()->SetWordWrap(true);
        addRule(page, QStringLiteral("linSepara02"), 11.33859, 1001.57545, 699.21305);
    } else {
        addRule(page, QStringLiteral("linSepara02"), 11.33859, 1001.57545, 699.21305);
        footer();
    }
    return r;
}

CardReport::CardReport(CardKind kind) : m_report(makeCardLayout(kind))
{
    // The documents' exporter settings, with the card's own description.
    m_pdf = newDocumentExporter(PdfStreams::Plain);
    if (auto* writer = dynamic_cast<TfrxPDFExport*>(m_pdf.get())) {
        writer->SetTitle(QStringLiteral("Scheda informativa"));
        writer->SetSubject(QStringLiteral("Scheda informativa"));
        writer->SetAuthor(QStringLiteral("Dorvane Software"));
    }
}

CardReport::~CardReport() = default;

void CardReport::setPortrait() { m_report->GetPageAs<TfrxReportPage>(1)->SetOrientation(poPortrait); }

bool CardReport::setMemoText(const QString& memo, const QString& text)
{
    auto* m = dynamic_cast<TfrxCustomMemoView*>(m_report->FindObject(memo));
    if (!m) return false;
    m->SetText(text);
    return true;
}

// A preparation that failed has shown its errors; nothing of it is printed, shown or
// exported.
void CardReport::print()
{
    if (m_report->PrepareReport(true)) m_report->Print();
}

void CardReport::preview()
{
    // The pages just prepared are shown as they are, not prepared once more.
    if (m_report->PrepareReport(true)) m_report->ShowPreparedReport();
}

bool CardReport::exportPdf(const QString& path)
{
    if (!m_pdf || !m_report->PrepareReport(true)) return false;
    m_pdf->SetFileName(path);
    return m_report->Export(m_pdf.get());
}

std::unique_ptr<orv::kit::CardLayout> cardLayoutFor(QWidget* owner)
{
    const bool schedule = owner && owner->objectName() == QStringLiteral("frmScadenzario");
    return std::make_unique<CardReport>(schedule ? CardKind::Schedule : CardKind::Record);
}

} // namespace orv::printing
