#include "printing/doclayout.h"

#include "report/model/pages.h"

namespace orv::printing {
using namespace orv::report;
} // namespace orv::printing

namespace orv::printing {

std::unique_ptr<TfrxReport> newDocumentReport(const QString& name, bool lockPreviewEditing)
{
    auto r = std::make_unique<TfrxReport>();
    r->ReportOptions()->SetName(name);
    r->ReportOptions()->SetAuthor(QStringLiteral("Dorvane Software"));
    r->ReportOptions()->SetIsFMXReport(true);
    r->SetScriptLanguage(QStringLiteral("VoriroVoreva"));
    r->ScriptText()->SetText(QStringLiteral("begin\r\n\r\nend."));
    r->SetShowProgress(false);
    r->SetDotMatrixReport(false);
    r->PreviewOptions()->SetButtons({pbPrint, pbZoom, pbFullScreen, pbClose});
    r->PreviewOptions()->SetZoom(1);
    if (lockPreviewEditing) r->PreviewOptions()->SetAllowEdit(false);
    r->PrintOptions()->SetPrinter(QStringLiteral("Default"));
    r->PrintOptions()->SetPrintOnSheet(0);

    auto* data = new TfrxDataPage(r.get());
    data->SetName(QStringLiteral("Data"));
    auto* page = new TfrxReportPage(r.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetOrientation(poPortrait);
    page->SetPaperSize(9);
    page->SetLeftMargin(10);
    page->SetRightMargin(10);
    page->SetTopMargin(10);
    page->SetBottomMargin(10);
    return r;
}

LayoutBuilder::LayoutBuilder(TfrxReport& report) : parent_(report.GetPageAs<TfrxReportPage>(1)) {}

TfrxMemoView& LayoutBuilder::memo(const QString& name, double left, double top, double width, double height,
                                  double points, MemoFlags flags, const QString& text)
{
    auto* m = new TfrxMemoView(parent_);
    m->SetName(name);
    m->SetBounds(mm(left), mm(top), mm(width), mm(height));
    TfrxFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(float(points));
    font.SetColor(claBlack);
    TFontStyles style;
    if (flags & Bold) style.include(fsBold);
    if (flags & Italic) style.include(fsItalic);
    font.SetStyle(style);
    m->SetFont(&font);
    m->SetParentFont(false);
    m->SetHAlign((flags & Centre) ? haCenter : haLeft);
    m->SetVAlign((flags & Middle) ? vaCenter : vaTop);
    m->SetAllowExpressions(flags & Expressions);
    m->SetAllowHTMLTags(flags & Tags);
    m->SetWordWrap(flags & Wrap);
    m->SetText(text);
    return *m;
}

TfrxShapeView& LayoutBuilder::shape(const QString& name, double left, double top, double width, double height,
                                    TAlphaColor fill)
{
    auto* s = new TfrxShapeView(parent_);
    s->SetName(name);
    s->SetBounds(mm(left), mm(top), mm(width), mm(height));
    s->SetShape(skRectangle);
    if (fill != claNull) s->SetColor(fill);
    return *s;
}

namespace {
TfrxLineView& line(TfrxComponent* parent, const QString& name, double left, double top, double width, double height,
                   TfrxFrameType side)
{
    auto* l = new TfrxLineView(parent);
    l->SetName(name);
    l->SetBounds(mm(left), mm(top), mm(width), mm(height));
    l->Frame()->SetTyp({side});
    return *l;
}
} // namespace

TfrxLineView& LayoutBuilder::hline(const QString& name, double left, double top, double length)
{
    return line(parent_, name, left, top, length, 0, ftTop);
}

TfrxLineView& LayoutBuilder::vline(const QString& name, double left, double top, double length)
{
    return line(parent_, name, left, top, 0, length, ftLeft);
}

TfrxPictureView& LayoutBuilder::logo(double left, double top, double width, double height)
{
    auto* p = new TfrxPictureView(parent_);
    p->SetName(QStringLiteral("imgLogo"));
    p->SetBounds(mm(left), mm(top), mm(width), mm(height));
    p->SetHightQuality(false);
    p->SetTransparent(false);
    p->SetTransparentColor(claWhite);
    p->SetStretched(true);
    p->SetKeepAspectRatio(true);
    p->SetCenter(false);
    return *p;
}

} // namespace orv::printing
