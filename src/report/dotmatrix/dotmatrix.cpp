#include "report/dotmatrix/dotmatrix.h"

#include "report/base/errors.h"
#include "report/base/registries.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/base/xml.h"
#include "report/model/datasets.h"

#include <cmath>

namespace orv::report {

namespace {

constexpr double CX = fr1CharX;
constexpr double CY = fr1CharY;

double roundCells(double v, double cell) { return frxRound((long double)(v / cell)) * cell; }
double truncCells(double v, double cell) { return std::trunc(v / cell) * cell; }

// Courier New 12 with the style's bold, italic and underline.
void styleFont(TfrxFont& Font, TfrxDMPFontStyles Style)
{
    Font.SetName(QStringLiteral("Courier New"));
    Font.SetSize(12);
    TFontStyles s;
    if (Style.contains(fsxBold))
        s.include(fsBold);
    if (Style.contains(fsxItalic))
        s.include(fsItalic);
    if (Style.contains(fsxUnderline))
        s.include(fsUnderline);
    Font.SetStyle(s);
}

QString fontStyleDiff(TfrxDMPFontStyles Mine, const TfrxDMPFontStyles* Other)
{
    if (Other && *Other == Mine)
        return QString();
    return QStringLiteral(" FontStyle=\"%1\"").arg(Mine.bits());
}

TfrxDMPPage* dotMatrixPageOf(TfrxComponent* c) { return dynamic_cast<TfrxDMPPage*>(c->Page()); }

} // namespace

// ---------------------------------------------------------------- page

ORV_RTTI_DEFINE(TfrxDMPPage, TfrxReportPage)
{
    using P = TfrxDMPPage;
    c.prop("PaperWidth", &P::PaperWidth, &P::SetPaperWidth);
    c.prop("PaperHeight", &P::PaperHeight, &P::SetPaperHeight);
    c.prop("PaperSize", &P::PaperSize, &P::SetPaperSize);
    c.prop("FontStyle", &P::FontStyle, &P::SetFontStyle).def(TfrxDMPFontStyles{});
}

TfrxDMPPage::TfrxDMPPage(orv::platform::Component* AOwner) : TfrxReportPage(AOwner) { styleFont(*Font(), m_fontStyle); }

void TfrxDMPPage::SetFontStyle(TfrxDMPFontStyles Value)
{
    m_fontStyle = Value;
    styleFont(*Font(), m_fontStyle);
    for (TfrxComponent* c : AllObjects())
        if (c->ParentFont())
            c->SetParentFont(true);
}

void TfrxDMPPage::SetPaperWidth(double Value)
{
    TfrxReportPage::SetPaperWidth(Value);
    TfrxReportPage::SetPaperWidth(roundCells(PaperWidth() * fr01cm, CX) / fr01cm);
}

void TfrxDMPPage::SetPaperHeight(double Value)
{
    TfrxReportPage::SetPaperHeight(Value);
    TfrxReportPage::SetPaperHeight(roundCells(PaperHeight() * fr01cm, CY) / fr01cm);
}

void TfrxDMPPage::SetPaperSize(int Value)
{
    TfrxReportPage::SetPaperSize(Value);
    SetSizeAndDimensions(Value, roundCells(PaperWidth() * fr01cm, CX) / fr01cm,
                         roundCells(PaperHeight() * fr01cm, CY) / fr01cm);
}

void TfrxDMPPage::SetDefaults()
{
    TfrxReportPage::SetDefaults();
    SetLeftMargin(CX / fr01cm);
    SetRightMargin(CX / fr01cm);
    SetTopMargin(CY / fr01cm);
    SetBottomMargin(CY / fr01cm);
    SetSizeAndDimensions(PaperSize(), truncCells(PaperWidth() * fr01cm, CX) / fr01cm,
                         truncCells(PaperHeight() * fr01cm, CY) / fr01cm);
}

// ---------------------------------------------------------------- text

ORV_RTTI_DEFINE(TfrxDMPMemoView, TfrxCustomMemoView)
{
    using V = TfrxDMPMemoView;
    c.prop("AutoWidth", &V::AutoWidth, &V::SetAutoWidth).def(false);
    c.prop("AllowExpressions", &V::AllowExpressions, &V::SetAllowExpressions).def(true);
    c.prop("DataField", &V::DataField, &V::SetDataField);
    c.prop("DataSet", &V::DataSet, &V::SetDataSet);
    c.prop("DataSetName", &V::DataSetName, &V::SetDataSetName);
    c.prop("DisplayFormat", &V::DisplayFormat, &V::SetDisplayFormat);
    c.prop("ExpressionDelimiters", &V::ExpressionDelimiters, &V::SetExpressionDelimiters)
        .stored(&V::IsExpressionDelimitersStored);
    c.prop("FlowTo", &V::FlowTo, &V::SetFlowTo);
    c.prop("FontStyle", &V::FontStyle, &V::SetFontStyle).stored(&V::IsFontStyleStored);
    c.prop("Frame", &V::Frame, &V::SetFrame);
    c.prop("HAlign", &V::HAlign, &V::SetHAlign).def(haLeft);
    c.prop("HideZeros", &V::HideZeros, &V::SetHideZeros).def(false);
    c.prop("Memo", &V::Memo, &V::SetMemo);
    c.prop("ParentFont", &V::ParentFont, &V::SetParentFont).def(true);
    c.prop("RTLReading", &V::RTLReading, &V::SetRTLReading).def(false);
    c.prop("SuppressRepeated", &V::SuppressRepeated, &V::SetSuppressRepeated).def(false);
    c.prop("TruncOutboundText", &V::TruncOutboundText, &V::SetTruncOutboundText).def(false);
    c.prop("WordWrap", &V::WordWrap, &V::SetWordWrap).def(true);
    c.prop("VAlign", &V::VAlign, &V::SetVAlign).def(vaTop);
}

TfrxDMPMemoView::TfrxDMPMemoView(orv::platform::Component* AOwner) : TfrxCustomMemoView(AOwner)
{
    // Placed on a dot-matrix page at creation (also when a stored layout or a prepared
    // page is read back), the text takes the page's style as it would on any later move.
    if (TfrxDMPPage* page = dotMatrixPageOf(this); page && ParentFont())
        m_fontStyle = page->FontStyle();
    resetFont();
}

void TfrxDMPMemoView::resetFont()
{
    // The font is the style's own: changing it does not turn ParentFont off.
    Font()->OnChange = nullptr;
    styleFont(*Font(), m_fontStyle);
    SetCharSpacing(0);
    SetLineSpacing(1);
    SetGapX(0);
    SetGapY(0);
}

void TfrxDMPMemoView::SetFontStyle(TfrxDMPFontStyles Value)
{
    m_fontStyle = Value;
    SetParentFont(false);
    resetFont();
}

void TfrxDMPMemoView::SetParentFont(bool Value)
{
    TfrxCustomMemoView::SetParentFont(Value);
    if (Value)
        if (TfrxDMPPage* page = dotMatrixPageOf(this)) {
            m_fontStyle = page->FontStyle();
            resetFont();
        }
}

void TfrxDMPMemoView::SetLeft(double Value)
{
    TfrxCustomMemoView::SetLeft(Align() == baRight ? truncCells(Value, CX) : roundCells(Value, CX));
}

void TfrxDMPMemoView::SetTop(double Value) { TfrxCustomMemoView::SetTop(roundCells(Value, CY)); }
void TfrxDMPMemoView::SetWidth(double Value) { TfrxCustomMemoView::SetWidth(roundCells(Value, CX)); }
void TfrxDMPMemoView::SetHeight(double Value) { TfrxCustomMemoView::SetHeight(roundCells(Value, CY)); }

void TfrxDMPMemoView::SetBoundsDirect(double ALeft, double ATop, double AWidth, double AHeight)
{
    TfrxCustomMemoView::SetLeft(ALeft);
    TfrxCustomMemoView::SetTop(ATop);
    TfrxCustomMemoView::SetWidth(AWidth);
    TfrxCustomMemoView::SetHeight(AHeight);
}

QString TfrxDMPMemoView::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obDMPText")); }

QString TfrxDMPMemoView::Diff(TfrxComponent* AComponent)
{
    auto* other = dynamic_cast<TfrxDMPMemoView*>(AComponent);
    return TfrxCustomMemoView::Diff(AComponent) + fontStyleDiff(m_fontStyle, other ? &other->m_fontStyle : nullptr);
}

double TfrxDMPMemoView::CalcHeight() { return roundCells(TfrxCustomMemoView::CalcHeight(), CY); }

double TfrxDMPMemoView::CalcWidth() { return roundCells(TfrxCustomMemoView::CalcWidth(), CX); }

QString TfrxDMPMemoView::GetoutBoundText() const
{
    const int rows = frxRound((long double)(Height() / CY));
    const int columns = frxRound((long double)(Width() / CX));
    QString out;
    for (int i = 0; i < rows && i < Memo()->Count(); ++i)
        out += Memo()->Get(i).left(std::max(0, columns)) + QStringLiteral("\r\n");
    return out;
}

void TfrxDMPMemoView::PaintFrame()
{
    const int x = FX, y = FY, x1 = FX1, y1 = FY1, dx = FDX, dy = FDY;
    FX = frxRound((long double)((AbsLeft() - CX / 2) * FScaleX + FOffsetX));
    FY = frxRound((long double)((AbsTop() - CY / 2) * FScaleY + FOffsetY));
    FX1 = frxRound((long double)((AbsLeft() + Width() + CX / 2) * FScaleX + FOffsetX));
    FY1 = frxRound((long double)((AbsTop() + Height() + CY / 2) * FScaleY + FOffsetY));
    FDX = FX1 - FX;
    FDY = FY1 - FY;
    TfrxCustomMemoView::PaintFrame();
    FX = x;
    FY = y;
    FX1 = x1;
    FY1 = y1;
    FDX = dx;
    FDY = dy;
}

// ---------------------------------------------------------------- line

ORV_RTTI_DEFINE(TfrxDMPLineView, TfrxCustomLineView)
{
    using V = TfrxDMPLineView;
    c.prop("FontStyle", &V::FontStyle, &V::SetFontStyle).stored(&V::IsFontStyleStored);
    c.prop("ParentFont", &V::ParentFont, &V::SetParentFont).def(true);
}

TfrxDMPLineView::TfrxDMPLineView(orv::platform::Component* AOwner) : TfrxCustomLineView(AOwner)
{
    if (TfrxDMPPage* page = dotMatrixPageOf(this); page && ParentFont())
        m_fontStyle = page->FontStyle();
}

void TfrxDMPLineView::SetFontStyle(TfrxDMPFontStyles Value)
{
    m_fontStyle = Value;
    SetParentFont(false);
}

void TfrxDMPLineView::SetParentFont(bool Value)
{
    TfrxCustomLineView::SetParentFont(Value);
    if (Value)
        if (TfrxDMPPage* page = dotMatrixPageOf(this))
            m_fontStyle = page->FontStyle();
}

void TfrxDMPLineView::SetLeft(double Value)
{
    double v;
    if (Value < 0)
        v = truncCells(Value, CX) - CX / 2;
    else if (Align() == baRight)
        v = roundCells(Value, CX) - CX / 2;
    else
        v = truncCells(Value, CX) + CX / 2;
    TfrxCustomLineView::SetLeft(v);
}

void TfrxDMPLineView::SetTop(double Value) { TfrxCustomLineView::SetTop(truncCells(Value, CY) + CY / 2); }

void TfrxDMPLineView::SetWidth(double Value)
{
    TfrxCustomLineView::SetWidth(Align() == baWidth ? truncCells(Value, CX) : roundCells(Value, CX));
}

QString TfrxDMPLineView::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obDMPLine")); }

QString TfrxDMPLineView::Diff(TfrxComponent* AComponent)
{
    auto* other = dynamic_cast<TfrxDMPLineView*>(AComponent);
    return TfrxView::Diff(AComponent) + fontStyleDiff(m_fontStyle, other ? &other->m_fontStyle : nullptr);
}

// ---------------------------------------------------------------- command

ORV_RTTI_DEFINE(TfrxDMPCommand, TfrxView)
{
    c.prop("Command", &TfrxDMPCommand::Command, &TfrxDMPCommand::SetCommand);
}

void TfrxDMPCommand::SetLeft(double Value) { TfrxView::SetLeft(roundCells(Value, CX)); }
void TfrxDMPCommand::SetTop(double Value) { TfrxView::SetTop(roundCells(Value, CY)); }

QString TfrxDMPCommand::ToChr() const
{
    auto number = [](const QString& piece, int base) {
        bool ok = false;
        const int code = piece.toInt(&ok, base);
        if (!ok || piece.isEmpty() || piece.startsWith(u'+') || piece.startsWith(u'-') || code > 0xFFFF)
            throw orv::report::ConvertError(
                QStringLiteral("'%1' is not a valid integer value").arg(base == 16 ? QStringLiteral("$") + piece : piece));
        return QChar(char16_t(code));
    };
    QString out;
    if (m_command.startsWith(u'#')) {
        for (const QString& piece : m_command.mid(1).split(u'#'))
            out += number(piece, 10);
    } else {
        for (qsizetype i = 0; i + 1 < m_command.size(); i += 2)
            out += number(m_command.mid(i, 2), 16);
    }
    return out;
}

QString TfrxDMPCommand::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obDMPCmd")); }

QString TfrxDMPCommand::Diff(TfrxComponent* AComponent)
{
    QString out = TfrxView::Diff(AComponent);
    auto* other = dynamic_cast<TfrxDMPCommand*>(AComponent);
    if (!other || other->m_command != m_command)
        out += QStringLiteral(" Command=\"%1\"").arg(frxEscapeXMLText(m_command));
    return out;
}

// ---------------------------------------------------------------- registration

void frxRegisterDotMatrixObjects()
{
    static const bool done = [] {
        const TfrxObjectCategories dmp{ctDMP};
        frxObjectRegistry().RegisterObject1(&TfrxDMPMemoView::staticClassInfo(), nullptr, QString(), QString(), 0, 2, dmp);
        frxObjectRegistry().RegisterObject1(&TfrxDMPLineView::staticClassInfo(), nullptr, QString(), QString(), 0, 5, dmp);
        frxObjectRegistry().RegisterObject1(&TfrxDMPCommand::staticClassInfo(), nullptr, QString(), QString(), 0, 21, dmp);
        orv::platform::rtti::registerClass(TfrxDMPPage::staticClassInfo());
        return true;
    }();
    (void)done;
}

} // namespace orv::report
