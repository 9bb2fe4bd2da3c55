#include "report/model/views.h"

#include "platform/core/canvas.h"

#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "report/base/resources.h"
#include "report/base/xml.h"
#include "report/model/datasets.h"
#include "report/model/engine.h"
#include "report/model/report.h"

#include <cmath>

namespace orv::report {

using orv::platform::floatToStr;

namespace {

bool differ(double a, double b) { return std::fabs(a - b) > 0.0001; }
QString flag(bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); }
QString color(TAlphaColor c) { return QString::number(qint32(c)); }

} // namespace

// ---------------------------------------------------------------- frame

ORV_RTTI_DEFINE(TfrxFrameLine, orv::platform::Persistent)
{
    c.prop("Color", &TfrxFrameLine::Color, &TfrxFrameLine::SetColor)
        .stored(&TfrxFrameLine::IsColorStored)
        .type(QStringLiteral("TAlphaColor"));
    c.prop("Style", &TfrxFrameLine::Style, &TfrxFrameLine::SetStyle).stored(&TfrxFrameLine::IsStyleStored);
    c.prop("Width", &TfrxFrameLine::Width, &TfrxFrameLine::SetWidth).stored(&TfrxFrameLine::IsWidthStored);
}

bool TfrxFrameLine::IsColorStored() const { return !m_frame || m_color != m_frame->Color(); }
bool TfrxFrameLine::IsStyleStored() const { return !m_frame || m_style != m_frame->Style(); }
bool TfrxFrameLine::IsWidthStored() const { return !m_frame || m_width != m_frame->Width(); }

void TfrxFrameLine::Assign(const orv::platform::Persistent* Source)
{
    if (const auto* l = orv::platform::rtti::objectCast<TfrxFrameLine>(Source)) {
        m_color = l->m_color;
        m_style = l->m_style;
        m_width = l->m_width;
    }
}

ORV_RTTI_DEFINE(TfrxFrame, orv::platform::Persistent)
{
    c.prop("Color", &TfrxFrame::Color, &TfrxFrame::SetColor).def(claBlack).type(QStringLiteral("TAlphaColor"));
    c.prop("DropShadow", &TfrxFrame::DropShadow, &TfrxFrame::SetDropShadow).def(false);
    c.prop("ShadowColor", &TfrxFrame::ShadowColor, &TfrxFrame::SetShadowColor)
        .def(claBlack)
        .type(QStringLiteral("TAlphaColor"));
    c.prop("ShadowWidth", &TfrxFrame::ShadowWidth, &TfrxFrame::SetShadowWidth).stored(&TfrxFrame::IsShadowWidthStored);
    c.prop("Style", &TfrxFrame::Style, &TfrxFrame::SetStyle).def(fsSolid);
    c.prop("Typ", &TfrxFrame::Typ, &TfrxFrame::SetTyp).stored(&TfrxFrame::IsTypStored);
    c.prop("Width", &TfrxFrame::Width, &TfrxFrame::SetWidth).stored(&TfrxFrame::IsWidthStored);
    c.prop("LeftLine", &TfrxFrame::LeftLine, &TfrxFrame::SetLeftLine);
    c.prop("TopLine", &TfrxFrame::TopLine, &TfrxFrame::SetTopLine);
    c.prop("RightLine", &TfrxFrame::RightLine, &TfrxFrame::SetRightLine);
    c.prop("BottomLine", &TfrxFrame::BottomLine, &TfrxFrame::SetBottomLine);
}

TfrxFrame::TfrxFrame()
    : m_left(std::make_unique<TfrxFrameLine>(this)), m_top(std::make_unique<TfrxFrameLine>(this)),
      m_right(std::make_unique<TfrxFrameLine>(this)), m_bottom(std::make_unique<TfrxFrameLine>(this))
{
}

void TfrxFrame::SetColor(TAlphaColor v)
{
    m_color = v;
    for (TfrxFrameLine* l : {m_left.get(), m_top.get(), m_right.get(), m_bottom.get()})
        l->SetColor(v);
}

void TfrxFrame::SetStyle(TfrxFrameStyle v)
{
    m_style = v;
    for (TfrxFrameLine* l : {m_left.get(), m_top.get(), m_right.get(), m_bottom.get()})
        l->SetStyle(v);
}

void TfrxFrame::SetWidth(double v)
{
    m_width = v;
    for (TfrxFrameLine* l : {m_left.get(), m_top.get(), m_right.get(), m_bottom.get()})
        l->SetWidth(v);
}

void TfrxFrame::Assign(const orv::platform::Persistent* Source)
{
    const auto* f = orv::platform::rtti::objectCast<TfrxFrame>(Source);
    if (!f || f == this)
        return;
    m_color = f->m_color;
    m_dropShadow = f->m_dropShadow;
    m_shadowColor = f->m_shadowColor;
    m_shadowWidth = f->m_shadowWidth;
    m_style = f->m_style;
    m_typ = f->m_typ;
    m_width = f->m_width;
    m_left->Assign(f->m_left.get());
    m_top->Assign(f->m_top.get());
    m_right->Assign(f->m_right.get());
    m_bottom->Assign(f->m_bottom.get());
}

// ---------------------------------------------------------------- highlight and format

ORV_RTTI_DEFINE(TfrxHighlight, orv::platform::Persistent)
{
    c.prop("Active", &TfrxHighlight::Active, &TfrxHighlight::SetActive).def(false);
    c.prop("Font", &TfrxHighlight::Font, &TfrxHighlight::SetFont);
    c.prop("Color", &TfrxHighlight::Color, &TfrxHighlight::SetColor).def(claNull).type(QStringLiteral("TAlphaColor"));
    c.prop("Condition", &TfrxHighlight::Condition, &TfrxHighlight::SetCondition);
}

TfrxHighlight::TfrxHighlight() : m_font(std::make_unique<TfrxFont>()) { m_font->SetColor(claRed); }

void TfrxHighlight::Assign(const orv::platform::Persistent* Source)
{
    const auto* h = dynamic_cast<const TfrxHighlight*>(Source);
    if (!h || h == this)
        return;
    m_font->Assign(h->m_font.get());
    m_color = h->m_color;
    m_condition = h->m_condition;
}

ORV_RTTI_DEFINE(TfrxFormat, orv::platform::Persistent)
{
    c.prop("DecimalSeparator", &TfrxFormat::DecimalSeparator, &TfrxFormat::SetDecimalSeparator);
    c.prop("ThousandSeparator", &TfrxFormat::ThousandSeparator, &TfrxFormat::SetThousandSeparator);
    c.prop("FormatStr", &TfrxFormat::FormatStr, &TfrxFormat::SetFormatStr);
    c.prop("Kind", &TfrxFormat::Kind, &TfrxFormat::SetKind).def(fkText);
}

void TfrxFormat::Assign(const orv::platform::Persistent* Source)
{
    if (const auto* f = dynamic_cast<const TfrxFormat*>(Source)) {
        m_decimalSeparator = f->m_decimalSeparator;
        m_thousandSeparator = f->m_thousandSeparator;
        m_formatStr = f->m_formatStr;
        m_kind = f->m_kind;
    }
}

// ---------------------------------------------------------------- view

ORV_RTTI_DEFINE(TfrxView, TfrxReportComponent)
{
    using V = TfrxView;
    c.prop("Align", &V::Align, &V::SetAlign).def(baNone);
    c.prop("Printable", &V::Printable, &V::SetPrintable).def(true);
    c.prop("ShiftMode", &V::ShiftMode, &V::SetShiftMode).def(smAlways);
    c.prop("Left", &V::Left, &V::SetLeft);
    c.prop("Top", &V::Top, &V::SetTop);
    c.prop("Width", &V::Width, &V::SetWidth);
    c.prop("Height", &V::Height, &V::SetHeight);
    c.prop("GroupIndex", &V::GroupIndex, &V::SetGroupIndex).def(0);
    c.prop("Restrictions", &V::Restrictions, &V::SetRestrictions).def(TfrxRestrictions{});
    c.prop("Visible", &V::Visible, &V::SetVisible).def(true);
    c.prop("OnAfterData", &V::OnAfterData, &V::SetOnAfterData).type(QStringLiteral("TfrxNotifyEvent"));
    c.prop("OnAfterPrint", &V::OnAfterPrint, &V::SetOnAfterPrint).type(QStringLiteral("TfrxNotifyEvent"));
    c.prop("OnBeforePrint", &V::OnBeforePrint, &V::SetOnBeforePrint).type(QStringLiteral("TfrxNotifyEvent"));
    c.prop("OnPreviewClick", &V::OnPreviewClick, &V::SetOnPreviewClick).type(QStringLiteral("TfrxPreviewClickEvent"));
    c.prop("OnPreviewDblClick", &V::OnPreviewDblClick, &V::SetOnPreviewDblClick)
        .type(QStringLiteral("TfrxPreviewClickEvent"));
    c.prop("Hint", &V::Hint, &V::SetHint);
    c.prop("ShowHint", &V::ShowHint, &V::SetShowHint);
}

TfrxView::TfrxView(orv::platform::Component* AOwner) : TfrxReportComponent(AOwner), m_frame(std::make_unique<TfrxFrame>())
{
    frComponentStyle.include(csDefaultDiff);
}

TfrxView::~TfrxView() = default;

bool TfrxView::IsDataField() const { return m_dataSet.get() && !m_dataField.isEmpty(); }

void TfrxView::Notification(orv::platform::Component* AComponent, orv::platform::Operation op)
{
    TfrxReportComponent::Notification(AComponent, op);
    if (op == orv::platform::Operation::Remove)
        m_dataSet.forget(AComponent);
}

QString TfrxView::viewDiff(TfrxView* other)
{
    QString out;
    if (!other)
        return out;
    if (m_align != other->m_align)
        addDiff(out, QStringLiteral("Align"), QString::number(int(m_align)));
    if (m_color != other->m_color)
        addDiff(out, QStringLiteral("Color"), color(m_color));

    const TfrxFrame& f = *m_frame;
    const TfrxFrame& g = *other->m_frame;
    if (f.Color() != g.Color())
        addDiff(out, QStringLiteral("Frame.Color"), color(f.Color()));
    if (f.DropShadow() != g.DropShadow())
        addDiff(out, QStringLiteral("Frame.DropShadow"), flag(f.DropShadow()));
    if (f.ShadowColor() != g.ShadowColor())
        addDiff(out, QStringLiteral("Frame.ShadowColor"), color(f.ShadowColor()));
    if (differ(f.ShadowWidth(), g.ShadowWidth()))
        addDiff(out, QStringLiteral("Frame.ShadowWidth"), floatToStr(f.ShadowWidth()));
    if (f.Style() != g.Style())
        addDiff(out, QStringLiteral("Frame.Style"), QString::number(int(f.Style())));
    if (!(f.Typ() == g.Typ()))
        addDiff(out, QStringLiteral("Frame.Typ"), QString::number(f.Typ().bits()));
    if (differ(f.Width(), g.Width()))
        addDiff(out, QStringLiteral("Frame.Width"), floatToStr(f.Width()));
    const std::pair<const char*, TfrxFrameLine* (TfrxFrame::*)() const> sides[] = {
        {"Frame.LeftLine", &TfrxFrame::LeftLine},
        {"Frame.TopLine", &TfrxFrame::TopLine},
        {"Frame.RightLine", &TfrxFrame::RightLine},
        {"Frame.BottomLine", &TfrxFrame::BottomLine},
    };
    for (const auto& [prefix, side] : sides) {
        const TfrxFrameLine& l = *(f.*side)();
        const TfrxFrameLine& m = *(g.*side)();
        const QString p = QString::fromLatin1(prefix);
        // A line is compared with its frame where the frames differ, else with the
        // other frame's line.
        const bool colorDiff = f.Color() != g.Color() ? l.Color() != f.Color() : l.Color() != m.Color();
        const bool styleDiff = f.Style() != g.Style() ? l.Style() != f.Style() : l.Style() != m.Style();
        const bool widthDiff =
            differ(f.Width(), g.Width()) ? differ(l.Width(), f.Width()) : differ(l.Width(), m.Width());
        if (colorDiff)
            addDiff(out, p + QStringLiteral(".Color"), color(l.Color()));
        if (styleDiff)
            addDiff(out, p + QStringLiteral(".Style"), QString::number(int(l.Style())));
        if (widthDiff)
            addDiff(out, p + QStringLiteral(".Width"), floatToStr(l.Width()));
    }

    if (m_cursor != other->m_cursor)
        addDiff(out, QStringLiteral("Cursor"), QString::number(m_cursor));
    if (m_printable != other->m_printable)
        addDiff(out, QStringLiteral("Printable"), flag(m_printable));
    if (m_tagStr != other->m_tagStr)
        addDiff(out, QStringLiteral("TagStr"), frxEscapeXMLText(m_tagStr));
    if (m_url != other->m_url)
        addDiff(out, QStringLiteral("URL"), frxEscapeXMLText(m_url));
    if (m_hint != other->m_hint)
        addDiff(out, QStringLiteral("Hint"), frxEscapeXMLText(m_hint));
    return out;
}

QString TfrxView::Diff(TfrxComponent* AComponent)
{
    return BaseDiff(AComponent) + viewDiff(dynamic_cast<TfrxView*>(AComponent));
}

ORV_RTTI_DEFINE(TfrxStretcheable, TfrxView)
{
    c.prop("StretchMode", &TfrxStretcheable::StretchMode, &TfrxStretcheable::SetStretchMode).def(smDontStretch);
}

// ---------------------------------------------------------------- shape

ORV_RTTI_DEFINE(TfrxShapeView, TfrxView)
{
    using V = TfrxShapeView;
    c.prop("Color", &V::Color, &V::SetColor).def(claNull).type(QStringLiteral("TAlphaColor"));
    c.prop("Cursor", &V::Cursor, &V::SetCursor).def(0).type(QStringLiteral("TCursor"));
    c.prop("Curve", &V::Curve, &V::SetCurve).def(0);
    c.prop("Frame", &V::Frame, &V::SetFrame);
    c.prop("Shape", &V::Shape, &V::SetShape).def(skRectangle);
    c.prop("TagStr", &V::TagStr, &V::SetTagStr);
    c.prop("URL", &V::URL, &V::SetURL);
}

TfrxShapeView::TfrxShapeView(orv::platform::Component* AOwner) : TfrxView(AOwner) { frComponentStyle.exclude(csDefaultDiff); }

QString TfrxShapeView::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obShape")); }

QString TfrxShapeView::Diff(TfrxComponent* AComponent)
{
    QString out = TfrxView::Diff(AComponent);
    auto* other = dynamic_cast<TfrxShapeView*>(AComponent);
    if (other && m_shape != other->m_shape)
        addDiff(out, QStringLiteral("Shape"), QString::number(int(m_shape)));
    return out;
}

// ---------------------------------------------------------------- memo

ORV_RTTI_DEFINE(TfrxCustomMemoView, TfrxStretcheable)
{
    using V = TfrxCustomMemoView;
    c.prop("Cursor", &V::Cursor, &V::SetCursor).def(0).type(QStringLiteral("TCursor"));
    c.prop("TagStr", &V::TagStr, &V::SetTagStr);
    c.prop("URL", &V::URL, &V::SetURL);
    c.prop("FirstParaBreak", &V::FirstParaBreak, &V::SetFirstParaBreak).def(false);
    c.prop("LastParaBreak", &V::LastParaBreak, &V::SetLastParaBreak).def(false);
}

TfrxCustomMemoView::TfrxCustomMemoView(orv::platform::Component* AOwner)
    : TfrxStretcheable(AOwner), m_bmpCanvas(std::make_unique<orv::platform::Canvas>()), m_memo(std::make_unique<TfrxWideStrings>()),
      m_displayFormat(std::make_unique<TfrxFormat>()), m_highlight(std::make_unique<TfrxHighlight>())
{
    frComponentStyle.exclude(csDefaultDiff);
    SetParentFont(true);
}

TfrxCustomMemoView::~TfrxCustomMemoView() = default;

bool TfrxCustomMemoView::IsHighlightStored() const { return !orv::platform::trimmed(m_highlight->Condition()).isEmpty(); }

void TfrxCustomMemoView::SetStyle(const QString& Value)
{
    m_style = Value;
    if (TfrxReport* r = Report())
        ApplyStyle(r->Styles()->Find(Value));
}

void TfrxCustomMemoView::ApplyStyle(TfrxStyleItem* Style)
{
    if (!Style)
        return;
    SetColor(Style->Color());
    SetFont(Style->Font());
    SetFrame(Style->Frame());
}

void TfrxCustomMemoView::SetFlowTo(TfrxCustomMemoView* Value)
{
    if (Value == this)
        Value = nullptr;
    if (m_flowTo)
        RemoveFreeNotification(m_flowTo);
    m_flowTo = Value;
    if (m_flowTo)
        FreeNotification(m_flowTo);
}

void TfrxCustomMemoView::Notification(orv::platform::Component* AComponent, orv::platform::Operation op)
{
    TfrxStretcheable::Notification(AComponent, op);
    if (op == orv::platform::Operation::Remove && AComponent == m_flowTo)
        m_flowTo = nullptr;
}

QString TfrxCustomMemoView::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obText")); }

QString TfrxCustomMemoView::Diff(TfrxComponent* AComponent)
{
    QString out = TfrxView::Diff(AComponent);
    auto* m = dynamic_cast<TfrxCustomMemoView*>(AComponent);
    if (!m)
        return out;
    if (m_autoWidth != m->m_autoWidth)
        addDiff(out, QStringLiteral("AutoWidth"), flag(m_autoWidth));
    if (differ(m_charSpacing, m->m_charSpacing))
        addDiff(out, QStringLiteral("CharSpacing"), floatToStr(m_charSpacing));
    if (differ(m_gapX, m->m_gapX))
        addDiff(out, QStringLiteral("GapX"), floatToStr(m_gapX));
    if (differ(m_gapY, m->m_gapY))
        addDiff(out, QStringLiteral("GapY"), floatToStr(m_gapY));
    if (m_hAlign != m->m_hAlign)
        addDiff(out, QStringLiteral("HAlign"), QString::number(int(m_hAlign)));
    if (m_highlight->Active() != m->m_highlight->Active())
        addDiff(out, QStringLiteral("Highlight.Active"), flag(m_highlight->Active()));
    if (differ(m_lineSpacing, m->m_lineSpacing))
        addDiff(out, QStringLiteral("LineSpacing"), floatToStr(m_lineSpacing));
    QString text;
    if (m_memo->Count() == 1) {
        text = m_memo->Get(0);
    } else if (m_memo->Count() > 1) {
        text = m_memo->Text();
        text.chop(2);
    }
    addDiff(out, QStringLiteral("u"), frxEscapeXMLText(text));
    if (differ(m_paragraphGap, m->m_paragraphGap))
        addDiff(out, QStringLiteral("ParagraphGap"), floatToStr(m_paragraphGap));
    if (m_rotation != m->m_rotation)
        addDiff(out, QStringLiteral("Rotation"), QString::number(m_rotation));
    if (m_rtlReading != m->m_rtlReading)
        addDiff(out, QStringLiteral("RTLReading"), flag(m_rtlReading));
    if (m_underlines != m->m_underlines)
        addDiff(out, QStringLiteral("Underlines"), flag(m_underlines));
    if (m_vAlign != m->m_vAlign)
        addDiff(out, QStringLiteral("VAlign"), QString::number(int(m_vAlign)));
    if (m_wordWrap != m->m_wordWrap)
        addDiff(out, QStringLiteral("WordWrap"), flag(m_wordWrap));
    const TfrxFormat& f = *m_displayFormat;
    const TfrxFormat& g = *m->m_displayFormat;
    if (f.Kind() != g.Kind())
        addDiff(out, QStringLiteral("DisplayFormat.Kind"), QString::number(int(f.Kind())));
    if (f.DecimalSeparator() != g.DecimalSeparator())
        addDiff(out, QStringLiteral("DisplayFormat.DecimalSeparator"), frxEscapeXMLText(f.DecimalSeparator()));
    if (f.ThousandSeparator() != g.ThousandSeparator())
        addDiff(out, QStringLiteral("DisplayFormat.ThousandSeparator"), frxEscapeXMLText(f.ThousandSeparator()));
    if (f.FormatStr() != g.FormatStr())
        addDiff(out, QStringLiteral("DisplayFormat.FormatStr"), frxEscapeXMLText(f.FormatStr()));
    if (m_firstParaBreak)
        addDiff(out, QStringLiteral("FirstParaBreak"), QStringLiteral("1"));
    if (m_lastParaBreak)
        addDiff(out, QStringLiteral("LastParaBreak"), QStringLiteral("1"));
    m_firstParaBreak = m_lastParaBreak;
    m_lastParaBreak = false;
    return out;
}

ORV_RTTI_DEFINE(TfrxMemoView, TfrxCustomMemoView)
{
    using V = TfrxMemoView;
    c.prop("AutoWidth", &V::AutoWidth, &V::SetAutoWidth).def(false);
    c.prop("AllowExpressions", &V::AllowExpressions, &V::SetAllowExpressions).def(true);
    c.prop("AllowHTMLTags", &V::AllowHTMLTags, &V::SetAllowHTMLTags).def(false);
    c.prop("CharSpacing", &V::CharSpacing, &V::SetCharSpacing).stored(&V::IsCharSpacingStored);
    c.prop("Clipped", &V::Clipped, &V::SetClipped).def(true);
    c.prop("Color", &V::Color, &V::SetColor).def(claNull).type(QStringLiteral("TAlphaColor"));
    c.prop("DataField", &V::DataField, &V::SetDataField);
    c.prop("DataSet", &V::DataSet, &V::SetDataSet);
    c.prop("DataSetName", &V::DataSetName, &V::SetDataSetName);
    c.prop("DisplayFormat", &V::DisplayFormat, &V::SetDisplayFormat);
    c.prop("ExpressionDelimiters", &V::ExpressionDelimiters, &V::SetExpressionDelimiters)
        .stored(&V::IsExpressionDelimitersStored);
    c.prop("FlowTo", &V::FlowTo, &V::SetFlowTo);
    c.prop("Font", &V::Font, &V::SetFont).stored(&V::IsFontStored);
    c.prop("Frame", &V::Frame, &V::SetFrame);
    c.prop("GapX", &V::GapX, &V::SetGapX).stored(&V::IsGapXStored);
    c.prop("GapY", &V::GapY, &V::SetGapY).stored(&V::IsGapYStored);
    c.prop("HAlign", &V::HAlign, &V::SetHAlign).def(haLeft);
    c.prop("HideZeros", &V::HideZeros, &V::SetHideZeros).def(false);
    c.prop("Highlight", &V::Highlight, &V::SetHighlight).stored(&V::IsHighlightStored);
    c.prop("LineSpacing", &V::LineSpacing, &V::SetLineSpacing).stored(&V::IsLineSpacingStored);
    c.prop("Memo", &V::Memo, &V::SetMemo);
    c.prop("ParagraphGap", &V::ParagraphGap, &V::SetParagraphGap).stored(&V::IsParagraphGapStored);
    c.prop("ParentFont", &V::ParentFont, &V::SetParentFont).def(true);
    c.prop("Rotation", &V::Rotation, &V::SetRotation).def(0);
    c.prop("RTLReading", &V::RTLReading, &V::SetRTLReading).def(false);
    c.prop("Style", &V::Style, &V::SetStyle);
    c.prop("SuppressRepeated", &V::SuppressRepeated, &V::SetSuppressRepeated).def(false);
    c.prop("Underlines", &V::Underlines, &V::SetUnderlines).def(false);
    c.prop("WordBreak", &V::WordBreak, &V::SetWordBreak).def(false);
    c.prop("WordWrap", &V::WordWrap, &V::SetWordWrap).def(true);
    c.prop("Wysiwyg", &V::Wysiwyg, &V::SetWysiwyg).def(true);
    c.prop("VAlign", &V::VAlign, &V::SetVAlign).def(vaTop);
}

ORV_RTTI_DEFINE(TfrxSysMemoView, TfrxCustomMemoView)
{
    using V = TfrxSysMemoView;
    c.prop("AutoWidth", &V::AutoWidth, &V::SetAutoWidth).def(false);
    c.prop("CharSpacing", &V::CharSpacing, &V::SetCharSpacing).stored(&V::IsCharSpacingStored);
    c.prop("Color", &V::Color, &V::SetColor).def(claNull).type(QStringLiteral("TAlphaColor"));
    c.prop("DisplayFormat", &V::DisplayFormat, &V::SetDisplayFormat);
    c.prop("Font", &V::Font, &V::SetFont).stored(&V::IsFontStored);
    c.prop("Frame", &V::Frame, &V::SetFrame);
    c.prop("GapX", &V::GapX, &V::SetGapX).stored(&V::IsGapXStored);
    c.prop("GapY", &V::GapY, &V::SetGapY).stored(&V::IsGapYStored);
    c.prop("HAlign", &V::HAlign, &V::SetHAlign).def(haLeft);
    c.prop("HideZeros", &V::HideZeros, &V::SetHideZeros).def(false);
    c.prop("Highlight", &V::Highlight, &V::SetHighlight).stored(&V::IsHighlightStored);
    c.prop("Memo", &V::Memo, &V::SetMemo);
    c.prop("ParentFont", &V::ParentFont, &V::SetParentFont).def(true);
    c.prop("Rotation", &V::Rotation, &V::SetRotation).def(0);
    c.prop("RTLReading", &V::RTLReading, &V::SetRTLReading).def(false);
    c.prop("Style", &V::Style, &V::SetStyle);
    c.prop("SuppressRepeated", &V::SuppressRepeated, &V::SetSuppressRepeated).def(false);
    c.prop("VAlign", &V::VAlign, &V::SetVAlign).def(vaTop);
    c.prop("WordWrap", &V::WordWrap, &V::SetWordWrap).def(true);
}

QString TfrxSysMemoView::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obSysText")); }

// ---------------------------------------------------------------- line

ORV_RTTI_DEFINE(TfrxCustomLineView, TfrxStretcheable)
{
    c.prop("TagStr", &TfrxCustomLineView::TagStr, &TfrxCustomLineView::SetTagStr);
}

TfrxCustomLineView::TfrxCustomLineView(orv::platform::Component* AOwner) : TfrxStretcheable(AOwner)
{
    frComponentStyle.exclude(csDefaultDiff);
}

ORV_RTTI_DEFINE(TfrxLineView, TfrxCustomLineView)
{
    using V = TfrxLineView;
    c.prop("ArrowEnd", &V::ArrowEnd, &V::SetArrowEnd).def(false);
    c.prop("ArrowLength", &V::ArrowLength, &V::SetArrowLength).def(20);
    c.prop("ArrowSolid", &V::ArrowSolid, &V::SetArrowSolid).def(false);
    c.prop("ArrowStart", &V::ArrowStart, &V::SetArrowStart).def(false);
    c.prop("ArrowWidth", &V::ArrowWidth, &V::SetArrowWidth).def(5);
    c.prop("Diagonal", &V::Diagonal, &V::SetDiagonal).def(false);
    c.prop("Frame", &V::Frame, &V::SetFrame);
}

QString TfrxLineView::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obLine")); }

// ---------------------------------------------------------------- picture

ORV_RTTI_DEFINE(TfrxPictureView, TfrxView)
{
    using V = TfrxPictureView;
    c.prop("AutoSize", &V::AutoSize, &V::SetAutoSize).def(false);
    c.prop("Center", &V::Center, &V::SetCenter).def(false);
    c.prop("Cursor", &V::Cursor, &V::SetCursor).def(0).type(QStringLiteral("TCursor"));
    c.prop("DataField", &V::DataField, &V::SetDataField);
    c.prop("DataSet", &V::DataSet, &V::SetDataSet);
    c.prop("DataSetName", &V::DataSetName, &V::SetDataSetName);
    c.prop("FileLink", &V::FileLink, &V::SetFileLink);
    c.prop("Frame", &V::Frame, &V::SetFrame);
    c.prop("HightQuality", &V::HightQuality, &V::SetHightQuality).def(false);
    c.prop("ImageIndex", &V::ImageIndex, &V::SetImageIndex).def(0);
    c.prop("KeepAspectRatio", &V::KeepAspectRatio, &V::SetKeepAspectRatio).def(true);
    c.prop("Picture", &V::Picture, &V::SetPicture).stored(&V::IsPictureStored);
    c.prop("Stretched", &V::Stretched, &V::SetStretched).def(true);
    c.prop("TagStr", &V::TagStr, &V::SetTagStr);
    c.prop("Transparent", &V::Transparent, &V::SetTransparent).def(false);
    c.prop("TransparentColor", &V::TransparentColor, &V::SetTransparentColor)
        .def(claWhite)
        .type(QStringLiteral("TAlphaColor"));
    c.prop("URL", &V::URL, &V::SetURL);
}

TfrxPictureView::TfrxPictureView(orv::platform::Component* AOwner)
    : TfrxView(AOwner), m_picture(std::make_unique<TfrxBitmap>())
{
    frComponentStyle.exclude(csDefaultDiff);
    SetColor(claWhite);
    m_picture->OnChange = [this] { pictureChanged(); };
}

TfrxPictureView::~TfrxPictureView() { m_picture->OnChange = nullptr; }

void TfrxPictureView::pictureChanged()
{
    SetAutoSize(m_autoSize);
    PictureChanged = true;
}

void TfrxPictureView::SetAutoSize(bool Value)
{
    m_autoSize = Value;
    if (Value && !m_picture->IsEmpty()) {
        // The fields directly, as a stored size is read before the picture.
        TfrxComponent::SetWidth(m_picture->Width());
        TfrxComponent::SetHeight(m_picture->Height());
    }
}

void TfrxPictureView::SetTransparent(bool Value)
{
    m_transparent = Value;
    SetColor(Value ? claNull : claWhite);
}

QString TfrxPictureView::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obPicture")); }

QString TfrxPictureView::Diff(TfrxComponent* AComponent)
{
    if (PictureChanged) {
        if (TfrxReport* r = Report())
            if (TfrxCustomPreviewPages* pages = r->PreviewPages())
                pages->AddPicture(this);
        PictureChanged = false;
    }
    QString out = u' ' + TfrxView::Diff(AComponent);
    addDiff(out, QStringLiteral("ImageIndex"), QString::number(m_imageIndex));
    if (m_transparent)
        addDiff(out, QStringLiteral("Transparent"), QStringLiteral("1"));
    if (m_transparentColor != claWhite)
        addDiff(out, QStringLiteral("TransparentColor"), color(m_transparentColor));
    return out;
}

} // namespace orv::report
