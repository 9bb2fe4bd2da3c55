#include "script/bridges/forms.h"

#include "platform/ui/dispatch.h"
#include "script/bridges/graphics.h"
#include "script/bridges/register.h"

#include <QAbstractButton>

#include <QApplication>
#include <QCloseEvent>
#include <QResizeEvent>
#include <QDataStream>
#include <QEasingCurve>
#include <QEventLoop>
#include <QPauseAnimation>
#include <QProgressBar>
#include <QClipboard>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QSequentialAnimationGroup>
#include <QVariantAnimation>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSet>

namespace orv::script {
using namespace orv::platform;
} // namespace orv::script

namespace orv::script::bridges {

ORV_RTTI_DEFINE_NAMED(FmxObject, Component, "TFmxObject") {}

#define ORV_CONTROL_EVENTS(Cls)                                                                          \
    c.prop("OnClick", &Cls::OnClick, &Cls::SetOnClick).event(QStringLiteral("TNotifyEvent"));            \
    c.prop("OnDblClick", &Cls::OnDblClick, &Cls::SetOnDblClick).event(QStringLiteral("TNotifyEvent"));   \
    c.prop("OnEnter", &Cls::OnEnter, &Cls::SetOnEnter).event(QStringLiteral("TNotifyEvent"));            \
    c.prop("OnExit", &Cls::OnExit, &Cls::SetOnExit).event(QStringLiteral("TNotifyEvent"));               \
    c.prop("OnCanFocus", &Cls::OnCanFocus, &Cls::SetOnCanFocus).event(QStringLiteral("TCanFocusEvent")); \
    c.prop("OnKeyDown", &Cls::OnKeyDown, &Cls::SetOnKeyDown).event(QStringLiteral("TKeyEvent"));         \
    c.prop("OnKeyUp", &Cls::OnKeyUp, &Cls::SetOnKeyUp).event(QStringLiteral("TKeyEvent"));               \
    c.prop("OnMouseDown", &Cls::OnMouseDown, &Cls::SetOnMouseDown).event(QStringLiteral("TMouseEvent"));  \
    c.prop("OnMouseUp", &Cls::OnMouseUp, &Cls::SetOnMouseUp).event(QStringLiteral("TMouseEvent"));        \
    c.prop("OnMouseMove", &Cls::OnMouseMove, &Cls::SetOnMouseMove).event(QStringLiteral("TMouseMoveEvent"))

ORV_RTTI_DEFINE_NAMED(PositionObject, Persistent, "TPosition")
{
    c.prop("X", &PositionObject::X, &PositionObject::SetX);
    c.prop("Y", &PositionObject::Y, &PositionObject::SetY);
}

ORV_RTTI_DEFINE_NAMED(ControlObject, FmxObject, "TControl")
{
    c.prop("Position", &ControlObject::Position, &ControlObject::SetPosition);
    c.prop("Align", &ControlObject::Align, &ControlObject::SetAlign).type(QStringLiteral("TAlignLayout"));
    c.prop("X", &ControlObject::X, &ControlObject::SetX);
    c.prop("Y", &ControlObject::Y, &ControlObject::SetY);
    c.prop("Width", &ControlObject::Width, &ControlObject::SetWidth);
    c.prop("Height", &ControlObject::Height, &ControlObject::SetHeight);
    c.prop("Visible", &ControlObject::Visible, &ControlObject::SetVisible);
    c.prop("Enabled", &ControlObject::Enabled, &ControlObject::SetEnabled);
    c.prop("DragMode", &ControlObject::DragMode, &ControlObject::SetDragMode).type(QStringLiteral("TDragMode"));
    c.prop("Hint", &ControlObject::Hint, &ControlObject::SetHint);
    c.prop("Opacity", &ControlObject::Opacity, &ControlObject::SetOpacity);
    c.prop("Locked", &ControlObject::Locked, &ControlObject::SetLocked);
    ORV_CONTROL_EVENTS(ControlObject);
    const auto notifyEvent = QStringLiteral("TNotifyEvent");
    c.prop("OnMouseWheel", &ControlObject::OnMouseWheel, &ControlObject::SetOnMouseWheel)
        .event(QStringLiteral("TMouseWheelEvent"));
    c.prop("OnMouseEnter", &ControlObject::OnMouseEnter, &ControlObject::SetOnMouseEnter).event(notifyEvent);
    c.prop("OnMouseLeave", &ControlObject::OnMouseLeave, &ControlObject::SetOnMouseLeave).event(notifyEvent);
    c.prop("OnDragEnter", &ControlObject::OnDragEnter, &ControlObject::SetOnDragEnter)
        .event(QStringLiteral("TDragEnterEvent"));
    c.prop("OnDragLeave", &ControlObject::OnDragLeave, &ControlObject::SetOnDragLeave).event(notifyEvent);
    c.prop("OnDragOver", &ControlObject::OnDragOver, &ControlObject::SetOnDragOver)
        .event(QStringLiteral("TDragOverEvent"));
    c.prop("OnDragDrop", &ControlObject::OnDragDrop, &ControlObject::SetOnDragDrop)
        .event(QStringLiteral("TDragDropEvent"));
    c.prop("OnDragEnd", &ControlObject::OnDragEnd, &ControlObject::SetOnDragEnd).event(notifyEvent);
    c.prop("OnPainting", &ControlObject::OnPainting, &ControlObject::SetOnPainting)
        .event(QStringLiteral("TOnPaintEvent"));
    c.prop("OnPaint", &ControlObject::OnPaint, &ControlObject::SetOnPaint).event(QStringLiteral("TOnPaintEvent"));
    c.prop("OnResize", &ControlObject::OnResize, &ControlObject::SetOnResize).event(notifyEvent);
    c.prop("OnApplyStyleLookup", &ControlObject::OnApplyStyleLookup, &ControlObject::SetOnApplyStyleLookup)
        .event(notifyEvent);
}
ORV_RTTI_DEFINE_NAMED(StyledControl, ControlObject, "TStyledControl") {}
ORV_RTTI_DEFINE_NAMED(TextControl, StyledControl, "TTextControl")
{
    c.prop("Text", &TextControl::Text, &TextControl::SetText);
}
ORV_RTTI_DEFINE_NAMED(LabelObject, TextControl, "TLabel") {}
ORV_RTTI_DEFINE_NAMED(CustomButtonObject, TextControl, "TCustomButton")
{
    c.prop("ModalResult", &CustomButtonObject::ModalResult, &CustomButtonObject::SetModalResult)
        .type(QStringLiteral("TModalResult"));
}
ORV_RTTI_DEFINE_NAMED(ButtonObject, CustomButtonObject, "TButton") {}
ORV_RTTI_DEFINE_NAMED(SpeedButtonObject, CustomButtonObject, "TSpeedButton")
{
    c.prop("StaysPressed", &SpeedButtonObject::StaysPressed, &SpeedButtonObject::SetStaysPressed);
    c.prop("IsPressed", &SpeedButtonObject::IsPressed, &SpeedButtonObject::SetIsPressed);
    c.prop("GroupName", &SpeedButtonObject::GroupName, &SpeedButtonObject::SetGroupName);
}
ORV_RTTI_DEFINE_NAMED(ExpanderButtonObject, CustomButtonObject, "TExpanderButton")
{
    c.prop("IsPressed", &ExpanderButtonObject::IsPressed, &ExpanderButtonObject::SetIsPressed);
}
ORV_RTTI_DEFINE_NAMED(RadioButtonObject, TextControl, "TRadioButton")
{
    c.prop("IsChecked", &RadioButtonObject::IsChecked, &RadioButtonObject::SetIsChecked);
    c.prop("GroupName", &RadioButtonObject::GroupName, &RadioButtonObject::SetGroupName);
    c.prop("OnChange", &RadioButtonObject::OnChange, &RadioButtonObject::SetOnChange)
        .event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(ExpanderObject, TextControl, "TExpander")
{
    c.prop("IsExpanded", &ExpanderObject::IsExpanded, &ExpanderObject::SetIsExpanded);
    c.prop("ShowCheck", &ExpanderObject::ShowCheck, &ExpanderObject::SetShowCheck);
    c.prop("IsChecked", &ExpanderObject::IsChecked, &ExpanderObject::SetIsChecked);
    c.prop("OnCheckChange", &ExpanderObject::OnCheckChange, &ExpanderObject::SetOnCheckChange)
        .event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(CheckBoxObject, TextControl, "TCheckBox")
{
    c.prop("IsChecked", &CheckBoxObject::IsChecked, &CheckBoxObject::SetIsChecked);
    c.prop("OnChange", &CheckBoxObject::OnChange, &CheckBoxObject::SetOnChange).event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(GroupBoxObject, TextControl, "TGroupBox") {}
ORV_RTTI_DEFINE_NAMED(PanelObject, StyledControl, "TPanel") {}
ORV_RTTI_DEFINE_NAMED(CalloutPanelObject, PanelObject, "TCalloutPanel")
{
    c.prop("CalloutPosition", &CalloutPanelObject::CalloutPosition, &CalloutPanelObject::SetCalloutPosition);
    c.prop("CalloutWidth", &CalloutPanelObject::CalloutWidth, &CalloutPanelObject::SetCalloutWidth);
    c.prop("CalloutLength", &CalloutPanelObject::CalloutLength, &CalloutPanelObject::SetCalloutLength);
    c.prop("CalloutOffset", &CalloutPanelObject::CalloutOffset, &CalloutPanelObject::SetCalloutOffset);
    c.prop("Fill", &CalloutPanelObject::Fill, &CalloutPanelObject::SetFill).type(QStringLiteral("TAlphaColor"));
}
ORV_RTTI_DEFINE_NAMED(ToolBarObject, StyledControl, "TToolBar") {}
ORV_RTTI_DEFINE_NAMED(SizeGripObject, StyledControl, "TSizeGrip") {}
ORV_RTTI_DEFINE_NAMED(SplitterObject, StyledControl, "TSplitter") {}
ORV_RTTI_DEFINE_NAMED(ThumbObject, StyledControl, "TThumb") {}
ORV_RTTI_DEFINE_NAMED(ProgressBarObject, StyledControl, "TProgressBar")
{
    c.prop("Min", &ProgressBarObject::Min, &ProgressBarObject::SetMin);
    c.prop("Max", &ProgressBarObject::Max, &ProgressBarObject::SetMax);
    c.prop("Value", &ProgressBarObject::Value, &ProgressBarObject::SetValue);
}
ORV_RTTI_DEFINE_NAMED(StatusBarObject, StyledControl, "TStatusBar")
{
    c.prop("ShowSizeGrip", &StatusBarObject::ShowSizeGrip, &StatusBarObject::SetShowSizeGrip);
}
ORV_RTTI_DEFINE_NAMED(AniIndicatorObject, StyledControl, "TAniIndicator")
{
    c.prop("Enabled", &AniIndicatorObject::Running, &AniIndicatorObject::SetRunning);
    c.prop("Style", &AniIndicatorObject::Style, &AniIndicatorObject::SetStyle);
}
ORV_RTTI_DEFINE_NAMED(ImageControlObject, StyledControl, "TImageControl")
{
    c.prop("Bitmap", &ImageControlObject::Bitmap, &ImageControlObject::SetBitmap);
    c.prop("OnChange", &ImageControlObject::OnChange, &ImageControlObject::SetOnChange)
        .event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(PathLabelObject, StyledControl, "TPathLabel")
{
    c.prop("Data", &PathLabelObject::Data, &PathLabelObject::SetData);
    c.prop("Fill", &PathLabelObject::Fill, &PathLabelObject::SetFill).type(QStringLiteral("TAlphaColor"));
}
ORV_RTTI_DEFINE_NAMED(DataModuleObject, Component, "TDataModule") {}
ORV_RTTI_DEFINE_NAMED(EditObject, CustomEditObject, "TEdit") {}
ORV_RTTI_DEFINE_NAMED(CustomEditObject, StyledControl, "TCustomEdit")
{
    c.prop("Text", &CustomEditObject::Text, &CustomEditObject::SetText);
    c.prop("ReadOnly", &CustomEditObject::ReadOnly, &CustomEditObject::SetReadOnly);
    c.prop("OnChange", &CustomEditObject::OnChange, &CustomEditObject::SetOnChange).event(QStringLiteral("TNotifyEvent"));
    c.prop("OnChangeTracking", &CustomEditObject::OnChangeTracking, &CustomEditObject::SetOnChangeTracking)
        .event(QStringLiteral("TNotifyEvent"));
    c.prop("OnTyping", &CustomEditObject::OnTyping, &CustomEditObject::SetOnTyping).event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(ScrollBoxObject, StyledControl, "TScrollBox") {}
ORV_RTTI_DEFINE_NAMED(MemoObject, ScrollBoxObject, "TMemo")
{
    c.prop("Text", &MemoObject::Text, &MemoObject::SetText);
    c.prop("OnChange", &MemoObject::OnChange, &MemoObject::SetOnChange).event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(CustomTrackObject, StyledControl, "TCustomTrack")
{
    c.prop("Min", &CustomTrackObject::Min, &CustomTrackObject::SetMin);
    c.prop("Max", &CustomTrackObject::Max, &CustomTrackObject::SetMax);
    c.prop("Value", &CustomTrackObject::Value, &CustomTrackObject::SetValue);
    c.prop("Frequency", &CustomTrackObject::Frequency, &CustomTrackObject::SetFrequency);
    c.prop("Orientation", &CustomTrackObject::Orientation, &CustomTrackObject::SetOrientation);
    c.prop("OnChange", &CustomTrackObject::OnChange, &CustomTrackObject::SetOnChange).event(QStringLiteral("TNotifyEvent"));
    c.prop("OnTracking", &CustomTrackObject::OnTracking, &CustomTrackObject::SetOnTracking)
        .event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(TrackObject, CustomTrackObject, "TTrack") {}
ORV_RTTI_DEFINE_NAMED(TrackBarObject, CustomTrackObject, "TTrackBar") {}
ORV_RTTI_DEFINE_NAMED(BitmapTrackBarObject, TrackBarObject, "TBitmapTrackBar") {}
ORV_RTTI_DEFINE_NAMED(SwitchObject, StyledControl, "TSwitch")
{
    c.prop("IsChecked", &SwitchObject::IsChecked, &SwitchObject::SetIsChecked);
    c.prop("OnSwitch", &SwitchObject::OnSwitch, &SwitchObject::SetOnSwitch).event(QStringLiteral("TNotifyEvent"));
    c.prop("OnChange", &SwitchObject::OnChange, &SwitchObject::SetOnChange).event(QStringLiteral("TNotifyEvent"));
    c.prop("OnTracking", &SwitchObject::OnTracking, &SwitchObject::SetOnTracking).event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(ScrollBarObject, StyledControl, "TScrollBar")
{
    c.prop("Min", &ScrollBarObject::Min, &ScrollBarObject::SetMin);
    c.prop("Max", &ScrollBarObject::Max, &ScrollBarObject::SetMax);
    c.prop("Value", &ScrollBarObject::Value, &ScrollBarObject::SetValue);
    c.prop("SmallChange", &ScrollBarObject::SmallChange, &ScrollBarObject::SetSmallChange);
    c.prop("Orientation", &ScrollBarObject::Orientation, &ScrollBarObject::SetOrientation);
    c.prop("OnChange", &ScrollBarObject::OnChange, &ScrollBarObject::SetOnChange).event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(SmallScrollBarObject, ScrollBarObject, "TSmallScrollBar") {}
ORV_RTTI_DEFINE_NAMED(ArcDialObject, ScrollBarObject, "TArcDial") {}
ORV_RTTI_DEFINE_NAMED(ListBoxItemObject, platform::rtti::Object, "TListBoxItem")
{
    c.prop("Text", &ListBoxItemObject::Text);
}
ORV_RTTI_DEFINE_NAMED(ListControl, ScrollBoxObject, "TCustomListBox")
{
    c.prop("OnChange", &ListControl::OnChange, &ListControl::SetOnChange).event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(ListBoxObject, ListControl, "TListBox") {}
ORV_RTTI_DEFINE_NAMED(CustomComboBoxObject, ListControl, "TCustomComboBox")
{
    c.prop("OnDropDown", &CustomComboBoxObject::OnDropDown, &CustomComboBoxObject::SetOnDropDown)
        .event(QStringLiteral("TNotifyEvent"));
    c.prop("OnCloseUp", &CustomComboBoxObject::OnCloseUp, &CustomComboBoxObject::SetOnCloseUp)
        .event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(ComboBoxObject, CustomComboBoxObject, "TComboBox") {}
ORV_RTTI_DEFINE_NAMED(FormObject, FmxObject, "TCommonCustomForm")
{
    c.prop("Caption", &FormObject::Caption, &FormObject::SetCaption);
    c.prop("Left", &FormObject::Left, &FormObject::SetLeft);
    c.prop("Top", &FormObject::Top, &FormObject::SetTop);
    c.prop("Width", &FormObject::Width, &FormObject::SetWidth);
    c.prop("Height", &FormObject::Height, &FormObject::SetHeight);
    c.prop("OnClose", &FormObject::OnClose, &FormObject::SetOnClose).event(QStringLiteral("TCloseEvent"));
    c.prop("OnCloseQuery", &FormObject::OnCloseQuery, &FormObject::SetOnCloseQuery)
        .event(QStringLiteral("TCloseQueryEvent"));
    c.prop("OnShow", &FormObject::OnShow, &FormObject::SetOnShow).event(QStringLiteral("TNotifyEvent"));
    c.prop("OnHide", &FormObject::OnHide, &FormObject::SetOnHide).event(QStringLiteral("TNotifyEvent"));
    c.prop("OnPaint", &FormObject::OnPaint, &FormObject::SetOnPaint).event(QStringLiteral("TOnPaintEvent"));
    c.prop("OnResize", &FormObject::OnResize, &FormObject::SetOnResize).event(QStringLiteral("TNotifyEvent"));
    c.prop("OnDestroy", &FormObject::OnDestroy, &FormObject::SetOnDestroy).event(QStringLiteral("TNotifyEvent"));
    c.prop("OnActivate", &FormObject::OnActivate, &FormObject::SetOnActivate).event(QStringLiteral("TNotifyEvent"));
    c.prop("OnDeactivate", &FormObject::OnDeactivate, &FormObject::SetOnDeactivate)
        .event(QStringLiteral("TNotifyEvent"));
    c.prop("OnCreate", &FormObject::OnCreate, &FormObject::SetOnCreate).event(QStringLiteral("TNotifyEvent"));
}
ORV_RTTI_DEFINE_NAMED(CustomForm, FormObject, "TCustomForm") {}
ORV_RTTI_DEFINE_NAMED(TFormObject, CustomForm, "TForm") {}
ORV_RTTI_DEFINE_NAMED(ApplicationObject, Component, "TApplication") {}

const platform::rtti::ClassInfo* scriptControlClass(const QString& name)
{
    static const platform::rtti::ClassInfo* const classes[] = {
        &LabelObject::staticClassInfo(), &ButtonObject::staticClassInfo(), &SpeedButtonObject::staticClassInfo(),
        &CheckBoxObject::staticClassInfo(), &RadioButtonObject::staticClassInfo(), &GroupBoxObject::staticClassInfo(),
        &PanelObject::staticClassInfo(), &CalloutPanelObject::staticClassInfo(), &StatusBarObject::staticClassInfo(),
        &EditObject::staticClassInfo(), &CustomEditObject::staticClassInfo(), &MemoObject::staticClassInfo(),
        &ListBoxObject::staticClassInfo(), &ComboBoxObject::staticClassInfo(),
        &CustomComboBoxObject::staticClassInfo(), &TrackObject::staticClassInfo(), &TrackBarObject::staticClassInfo(),
        &BitmapTrackBarObject::staticClassInfo(), &SwitchObject::staticClassInfo(), &ScrollBarObject::staticClassInfo(),
        &SmallScrollBarObject::staticClassInfo(), &ArcDialObject::staticClassInfo(),
        &AniIndicatorObject::staticClassInfo(), &ExpanderButtonObject::staticClassInfo(),
        &ExpanderObject::staticClassInfo(), &ImageControlObject::staticClassInfo(),
        &PathLabelObject::staticClassInfo(), &TFormObject::staticClassInfo(),
    };
    for (const platform::rtti::ClassInfo* c : classes)
        if (c->name().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

ApplicationObject& ApplicationObject::instance()
{
    static ApplicationObject* app = [] {
        auto* a = new ApplicationObject;
        lendToScripts(a);
        return a;
    }();
    return *app;
}

// ------------------------------------------------------------------ FmxObject

FmxObject::~FmxObject()
{
    stopAnimations();
    for (FmxObject* child : std::vector<FmxObject*>(m_children))
        child->SetParent(nullptr);
    if (m_parent)
        std::erase(m_parent->m_children, this);
}

void FmxObject::SetParent(FmxObject* parent)
{
    for (FmxObject* p = parent; p; p = p->m_parent)
        if (p == this)
            throw orv::platform::Exception(QStringLiteral("Cannot assign a parent that is the object itself or one of its children"));
    if (m_parent)
        std::erase(m_parent->m_children, this);
    m_parent = parent;
    if (parent)
        parent->m_children.push_back(this);
}

int FmxObject::Index() const
{
    if (!m_parent)
        return -1;
    const auto& siblings = m_parent->m_children;
    return int(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void FmxObject::SetIndex(int index)
{
    if (!m_parent)
        return;
    auto& siblings = m_parent->m_children;
    std::erase(siblings, this);
    index = std::clamp(index, 0, int(siblings.size()));
    siblings.insert(siblings.begin() + index, this);
    restack();
}

FormObject* FmxObject::form()
{
    for (FmxObject* o = this; o; o = o->m_parent)
        if (auto* f = dynamic_cast<FormObject*>(o))
            return f;
    return nullptr;
}

// ------------------------------------------------------------------ streams and copies

namespace {

// An object as it is stored: class, name, published values, children.
struct StoredObject {
    QString cls, name;
    std::vector<std::pair<QString, QVariant>> values;
    std::vector<StoredObject> children;
};

constexpr quint32 kBinaryMagic = 0x4F52564F; // "ORVO"

StoredObject capture(const FmxObject& o)
{
    StoredObject n;
    n.cls = o.ClassName();
    n.name = o.Name();
    for (const platform::rtti::PropInfo* p : o.classInfo().properties()) {
        if (!p->isReadable() || !p->isWritable() || p->kind == platform::rtti::Kind::Class || p->kind == platform::rtti::Kind::Method
            || p->name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
            continue;
        n.values.emplace_back(p->name, p->read(o));
    }
    for (const FmxObject* child : o.children())
        n.children.push_back(capture(*child));
    return n;
}

// Values a class no longer has, or refuses, are passed over: the rest still arrives.
void apply(FmxObject& o, const StoredObject& n, Component* owner, bool names)
{
    for (const auto& [name, value] : n.values)
        if (const platform::rtti::PropInfo* p = o.classInfo().findProperty(name); p && p->isWritable()) {
            try {
                p->write(o, value);
            } catch (const std::exception&) {
            }
        }
    if (names && !n.name.isEmpty()) {
        try {
            o.SetName(n.name);
        } catch (const std::exception&) {
        }
    }
    for (const StoredObject& c : n.children) {
        const platform::rtti::ClassInfo* cls = scriptControlClass(c.cls);
        if (!cls || !cls->canCreate())
            continue;
        platform::rtti::Object* made = cls->create(owner);
        auto* child = dynamic_cast<FmxObject*>(made);
        if (!child) {
            delete made;
            continue;
        }
        child->SetParent(&o);
        apply(*child, c, owner, names);
    }
}

void writeBinary(QDataStream& out, const StoredObject& n)
{
    out << n.cls << n.name << quint32(n.values.size());
    for (const auto& [name, value] : n.values)
        out << name << value;
    out << quint32(n.children.size());
    for (const StoredObject& c : n.children)
        writeBinary(out, c);
}

bool readBinary(QDataStream& in, StoredObject& n, int depth = 0)
{
    quint32 count = 0;
    in >> n.cls >> n.name >> count;
    if (in.status() != QDataStream::Ok || depth > 64 || count > 10000)
        return false;
    for (quint32 i = 0; i < count; ++i) {
        QString name;
        QVariant value;
        in >> name >> value;
        n.values.emplace_back(name, value);
    }
    in >> count;
    if (in.status() != QDataStream::Ok || count > 10000)
        return false;
    for (quint32 i = 0; i < count; ++i) {
        n.children.emplace_back();
        if (!readBinary(in, n.children.back(), depth + 1))
            return false;
    }
    return in.status() == QDataStream::Ok;
}

QString textValue(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString) {
        QString t = v.toString();
        return QLatin1Char('\'') + t.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
    }
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return QString::number(v.toDouble(), 'g', 17);
    return QString::number(v.toLongLong());
}

void writeText(QStringList& out, const StoredObject& n, int depth)
{
    const QString indent(depth * 2, QLatin1Char(' '));
    out << indent + QStringLiteral("object %1: %2").arg(n.name, n.cls);
    for (const auto& [name, value] : n.values)
        if (value.canConvert<QString>())
            out << indent + QStringLiteral("  %1 = %2").arg(name, textValue(value));
    for (const StoredObject& c : n.children)
        writeText(out, c, depth + 1);
    out << indent + QStringLiteral("end");
}

[[noreturn]] void badStream() { throw orv::platform::Exception(QStringLiteral("Invalid stream format")); }

void readText(const QStringList& lines, int& i, StoredObject& n)
{
    const QString head = lines.value(i++).trimmed();
    if (!head.startsWith(QLatin1String("object ")))
        badStream();
    const qsizetype colon = head.indexOf(QLatin1Char(':'));
    if (colon < 0)
        badStream();
    n.name = head.mid(7, colon - 7).trimmed();
    n.cls = head.mid(colon + 1).trimmed();
    while (i < lines.size()) {
        const QString line = lines[i].trimmed();
        if (line == QLatin1String("end")) {
            ++i;
            return;
        }
        if (line.startsWith(QLatin1String("object "))) {
            n.children.emplace_back();
            readText(lines, i, n.children.back());
            continue;
        }
        ++i;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString name = line.left(eq).trimmed();
        QString value = line.mid(eq + 1).trimmed();
        if (value.startsWith(QLatin1Char('\''))) {
            value = value.mid(1, value.size() - 2).replace(QLatin1String("''"), QLatin1String("'"));
            n.values.emplace_back(name, value);
        } else if (value.contains(QLatin1Char('.')) || value.contains(QLatin1Char('e'))) {
            n.values.emplace_back(name, value.toDouble());
        } else {
            n.values.emplace_back(name, value.toLongLong());
        }
    }
    badStream();
}

StoredObject readStored(Stream& st, bool binary)
{
    const qint64 start = st.Position();
    const QByteArray bytes = st.ReadRest();
    StoredObject n;
    if (binary) {
        QDataStream in(bytes);
        in.setVersion(QDataStream::Qt_6_0);
        quint32 magic = 0;
        in >> magic;
        if (magic != kBinaryMagic || !readBinary(in, n))
            badStream();
        st.SetPosition(start + in.device()->pos());
    } else {
        const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
        int i = 0;
        readText(lines, i, n);
        qint64 used = 0;
        for (int k = 0; k < i; ++k)
            used += lines[k].toUtf8().size() + 1;
        st.SetPosition(start + std::min<qint64>(used, bytes.size()));
    }
    return n;
}

} // namespace

void FmxObject::saveToStream(Stream& st, bool binary) const
{
    const StoredObject n = capture(*this);
    QByteArray bytes;
    if (binary) {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << kBinaryMagic;
        writeBinary(out, n);
    } else {
        QStringList lines;
        writeText(lines, n, 0);
        bytes = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    }
    st.Write(bytes.constData(), bytes.size());
}

void FmxObject::loadFromStream(Stream& st, bool binary)
{
    const StoredObject n = readStored(st, binary);
    for (FmxObject* child : std::vector<FmxObject*>(m_children))
        if (!isLent(child))
            delete child;
    Component* owner = Owner() ? Owner() : this;
    apply(*this, n, owner, true);
}

void FmxObject::addChildFromStream(Stream& st)
{
    StoredObject holder;
    holder.children.push_back(readStored(st, true));
    apply(*this, holder, Owner() ? Owner() : this, false);
}

FmxObject* FmxObject::clone(Component* owner) const
{
    platform::rtti::Object* made = classInfo().create(owner);
    auto* copy = dynamic_cast<FmxObject*>(made);
    if (!copy) {
        delete made;
        return nullptr;
    }
    apply(*copy, capture(*this), owner, false);
    return copy;
}

void FmxObject::tabOrderList(List& list, bool children) const
{
    for (FmxObject* child : m_children) {
        if (!dynamic_cast<ControlObject*>(child))
            continue;
        list.Add(objectValue(child));
        if (children)
            child->tabOrderList(list, true);
    }
}

// ------------------------------------------------------------------ animations

namespace {

QEasingCurve easing(int type, int interpolation)
{
    using E = QEasingCurve;
    static const E::Type curves[][3] = {
        {E::Linear, E::Linear, E::Linear},          {E::InQuad, E::OutQuad, E::InOutQuad},
        {E::InCubic, E::OutCubic, E::InOutCubic},   {E::InQuart, E::OutQuart, E::InOutQuart},
        {E::InQuint, E::OutQuint, E::InOutQuint},   {E::InSine, E::OutSine, E::InOutSine},
        {E::InExpo, E::OutExpo, E::InOutExpo},      {E::InCirc, E::OutCirc, E::InOutCirc},
        {E::InElastic, E::OutElastic, E::InOutElastic}, {E::InBack, E::OutBack, E::InOutBack},
        {E::InBounce, E::OutBounce, E::InOutBounce},
    };
    const int i = std::clamp(interpolation, 0, int(std::size(curves)) - 1);
    return E(curves[i][std::clamp(type, 0, 2)]);
}

} // namespace

void FmxObject::stopAnimations()
{
    for (auto& [name, a] : m_animations)
        if (a.run)
            a.run->stop();
    m_animations.clear();
}

void FmxObject::animate(const QString& property, const QVariant& target, double seconds, double delay, int type,
                        int interpolation, bool colour, bool wait)
{
    // The object and property the path names; a name that is not there changes nothing.
    platform::rtti::Object* holder = this;
    const QStringList parts = property.split(QLatin1Char('.'));
    for (int i = 0; i + 1 < parts.size() && holder; ++i) {
        const platform::rtti::PropInfo* p = holder->classInfo().findProperty(parts[i]);
        holder = p && p->kind == platform::rtti::Kind::Class ? p->readObject(*holder) : nullptr;
    }
    const platform::rtti::PropInfo* prop = holder ? holder->classInfo().findProperty(parts.last()) : nullptr;
    if (!prop || !prop->isWritable() || !prop->isReadable())
        return;
    stopPropertyAnimation(property);
    const auto set = [holder, prop, colour](const QVariant& v) {
        prop->write(*holder, colour ? QVariant(qint64(qint32(v.value<QColor>().rgba()))) : QVariant(v.toDouble()));
    };
    const QVariant start = prop->read(*holder);
    auto* run = new QVariantAnimation;
    if (colour) {
        run->setStartValue(QColor::fromRgba(quint32(start.toLongLong())));
        run->setEndValue(QColor::fromRgba(quint32(target.toLongLong())));
    } else {
        run->setStartValue(start.toDouble());
        run->setEndValue(target.toDouble());
    }
    run->setDuration(std::max(0, int(std::lround(seconds * 1000))));
    run->setEasingCurve(easing(type, interpolation));
    QObject::connect(run, &QVariantAnimation::valueChanged, run, [set](const QVariant& v) {
        try {
            set(v);
        } catch (...) {
            platform::ui::reportCurrentException();
        }
    });
    QAbstractAnimation* whole = run;
    if (delay > 0) {
        auto* group = new QSequentialAnimationGroup;
        group->addAnimation(new QPauseAnimation(int(std::lround(delay * 1000)), group));
        group->addAnimation(run);
        whole = group;
    }
    Animation& slot = m_animations[property.toUpper()];
    slot.run.reset(whole);
    const QVariant end = run->endValue();
    slot.finish = [set, end] { set(end); };
    if (wait) {
        QEventLoop loop;
        QObject::connect(whole, &QAbstractAnimation::finished, &loop, &QEventLoop::quit);
        whole->start();
        if (whole->state() == QAbstractAnimation::Running)
            loop.exec();
    } else {
        whole->start();
    }
}

void FmxObject::stopPropertyAnimation(const QString& property)
{
    auto it = m_animations.find(property.toUpper());
    if (it == m_animations.end())
        return;
    Animation a = std::move(it->second);
    m_animations.erase(it);
    if (a.run && a.run->state() != QAbstractAnimation::Stopped) {
        a.run->stop();
        a.finish();
    }
}

void FmxObject::BringToFront() { SetIndex(int(m_parent ? m_parent->m_children.size() : 0)); }
void FmxObject::SendToBack() { SetIndex(0); }

// ------------------------------------------------------------------ controls

namespace {

int shiftBits(platform::ui::ShiftState s) { return int(s.bits & 0xFF); }

} // namespace

ControlObject::ControlObject(platform::ui::Control* control, bool container, Component* owner)
    : FmxObject(owner), m_control(control), m_container(container), m_position(std::make_unique<PositionObject>(this))
{
    lendToScripts(m_position.get());
    platform::ui::Control& c = *m_control;
    c.onClick = [this] { notify("OnClick"); };
    c.onDblClick = [this] { notify("OnDblClick"); };
    c.onEnter = [this] { notify("OnEnter"); };
    c.onExit = [this] { notify("OnExit"); };
    c.onCanFocus = [this](bool& can) {
        can = can && m_canFocus;
        if (auto* e = bound<TfsCanFocusEvent>("OnCanFocus"))
            e->DoEvent(this, can);
    };
    c.onKeyDown = [this](platform::ui::Word& key, QChar& ch, platform::ui::ShiftState shift) {
        if (auto* e = bound<TfsKeyEvent>("OnKeyDown"))
            e->DoEvent(this, key, ch, shiftBits(shift));
    };
    c.onKeyUp = [this](platform::ui::Word& key, QChar& ch, platform::ui::ShiftState shift) {
        if (auto* e = bound<TfsKeyEvent>("OnKeyUp"))
            e->DoEvent(this, key, ch, shiftBits(shift));
    };
    c.onMouseDown = [this](platform::ui::MouseButton b, platform::ui::ShiftState shift, double x, double y) {
        if (auto* e = bound<TfsMouseEvent>("OnMouseDown"))
            e->DoEvent(this, int(b), shiftBits(shift), x, y);
    };
    c.onMouseUp = [this](platform::ui::MouseButton b, platform::ui::ShiftState shift, double x, double y) {
        if (auto* e = bound<TfsMouseEvent>("OnMouseUp"))
            e->DoEvent(this, int(b), shiftBits(shift), x, y);
    };
    c.onMouseMove = [this](platform::ui::ShiftState shift, double x, double y) {
        if (auto* e = bound<TfsMouseMoveEvent>("OnMouseMove"))
            e->DoEvent(this, shiftBits(shift), x, y);
    };
    c.onMouseWheel = [this](platform::ui::ShiftState shift, int delta, bool& handled) {
        if (auto* e = bound<TfsMouseWheelEvent>("OnMouseWheel"))
            e->DoEvent(this, shiftBits(shift), delta, handled);
    };
    c.onMouseEnter = [this] { notify("OnMouseEnter"); };
    c.onMouseLeave = [this] { notify("OnMouseLeave"); };
    c.onResize = [this] { notify("OnResize"); };
    c.onDragLeave = [this] { notify("OnDragLeave"); };
    c.onDragEnd = [this] { notify("OnDragEnd"); };
    const auto dragObject = [](const platform::ui::DragObject& d) {
        return std::make_unique<TfsDragObject>(of(d.source), d.data, d.files);
    };
    c.onDragEnter = [this, dragObject](const platform::ui::DragObject& d, const QPointF& at) {
        if (auto* e = bound<TfsDragDropEvent>("OnDragEnter"))
            e->DoEvent(this, dragObject(d).get(), at);
    };
    c.onDragDrop = [this, dragObject](const platform::ui::DragObject& d, const QPointF& at) {
        if (auto* e = bound<TfsDragDropEvent>("OnDragDrop"))
            e->DoEvent(this, dragObject(d).get(), at);
    };
    c.onDragOver = [this, dragObject](const platform::ui::DragObject& d, const QPointF& at, bool& accept) {
        if (auto* e = bound<TfsDragOverEvent>("OnDragOver"))
            e->DoEvent(this, dragObject(d).get(), at, accept);
    };
    c.setProperty("orvScriptObject", QVariant::fromValue(reinterpret_cast<quintptr>(this)));
}

float PositionObject::X() const { return m_control ? m_control->X() : 0; }
void PositionObject::SetX(float v)
{
    if (m_control)
        m_control->SetX(v);
}
float PositionObject::Y() const { return m_control ? m_control->Y() : 0; }
void PositionObject::SetY(float v)
{
    if (m_control)
        m_control->SetY(v);
}

void PositionObject::Assign(const Persistent* Source)
{
    if (auto* p = dynamic_cast<const PositionObject*>(Source)) {
        SetX(p->X());
        SetY(p->Y());
    } else if (auto* pt = dynamic_cast<const TfsPointF*>(Source)) {
        SetX(pt->pX());
        SetY(pt->pY());
    } else {
        Persistent::Assign(Source);
    }
}

namespace {

// Follows the size of the containers that hold aligned controls.
class AlignWatcher : public QObject {
public:
    static AlignWatcher& instance()
    {
        static auto* w = new AlignWatcher;
        return *w;
    }
    void watch(QWidget* box, FmxObject* owner)
    {
        box->setProperty("orvAlignOwner", QVariant::fromValue(reinterpret_cast<quintptr>(owner)));
        box->removeEventFilter(this);
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Resize) {
            const QVariant v = o->property("orvAlignOwner");
            if (v.isValid())
                ControlObject::alignChildren(reinterpret_cast<FmxObject*>(v.value<quintptr>()));
        }
        return false;
    }
};

} // namespace

void ControlObject::deliverHeldResizes(QWidget* w)
{
    if (!w)
        return;
    if (w->testAttribute(Qt::WA_PendingResizeEvent) && !w->isVisible()) {
        w->setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent e(w->size(), QSize());
        QCoreApplication::sendEvent(w, &e);
    }
    // The children as they are after the parent has placed them.
    const QObjectList children = w->children();
    for (QObject* o : children) {
        auto* child = qobject_cast<QWidget*>(o);
        if (child && !child->isWindow())
            deliverHeldResizes(child);
    }
}

void ControlObject::SetBounds(int x, int y, int w, int h)
{
    m_control->setBounds(x, y, w, h);
    deliverHeldResizes(m_control->currentWidget());
    // An aligned control's size is the room it takes from its neighbours.
    if (m_align != 0)
        alignChildren(Parent());
}

void ControlObject::SetAlign(int v)
{
    m_align = v;
    if (FmxObject* p = Parent()) {
        if (QWidget* box = p->container())
            AlignWatcher::instance().watch(box, p);
        alignChildren(p);
    }
}

// Edges first, in the children's order, then the client and centred ones in the room
// that is left, as docking does.
void ControlObject::alignChildren(FmxObject* parent)
{
    QWidget* box = parent ? parent->container() : nullptr;
    if (!box)
        return;
    QRect area = box->rect();
    std::vector<ControlObject*> rest;
    for (FmxObject* child : parent->children()) {
        auto* c = dynamic_cast<ControlObject*>(child);
        // A control that is not visible takes no room.
        if (!c || c->m_align == 0 || !c->m_visible)
            continue;
        platform::ui::Control& k = c->control();
        switch (c->m_align) {
        case 1: case 5: // top
            k.setBounds(area.left(), area.top(), area.width(), k.height());
            area.setTop(area.top() + k.height());
            break;
        case 4: case 6: // bottom
            k.setBounds(area.left(), area.bottom() + 1 - k.height(), area.width(), k.height());
            area.setBottom(area.bottom() - k.height());
            break;
        case 2: case 7: // left
            k.setBounds(area.left(), area.top(), k.width(), area.height());
            area.setLeft(area.left() + k.width());
            break;
        case 3: case 8: // right
            k.setBounds(area.right() + 1 - k.width(), area.top(), k.width(), area.height());
            area.setRight(area.right() - k.width());
            break;
        default:
            rest.push_back(c);
        }
    }
    for (ControlObject* c : rest) {
        platform::ui::Control& k = c->control();
        switch (c->m_align) {
        case 9: // client
            k.setBounds(area.x(), area.y(), std::max(0, area.width()), std::max(0, area.height()));
            break;
        case 10: // contents: the whole container
            k.setBounds(0, 0, box->width(), box->height());
            break;
        case 11: // centre
            k.setPosition(area.x() + (area.width() - k.width()) / 2, area.y() + (area.height() - k.height()) / 2);
            break;
        case 12: // vertical centre, full width
            k.setBounds(area.x(), area.y() + (area.height() - k.height()) / 2, area.width(), k.height());
            break;
        case 13: // horizontal centre, full height
            k.setBounds(area.x() + (area.width() - k.width()) / 2, area.y(), k.width(), area.height());
            break;
        case 14: // horizontal: full width
            k.setBounds(area.x(), k.top(), area.width(), k.height());
            break;
        case 15: // vertical: full height
            k.setBounds(k.left(), area.y(), k.width(), area.height());
            break;
        default:
            break;
        }
    }
    for (FmxObject* child : parent->children())
        if (auto* c = dynamic_cast<ControlObject*>(child); c && c->m_align != 0)
            deliverHeldResizes(c->control().currentWidget());
}

ControlObject* ControlObject::of(const platform::ui::Control* c)
{
    if (!c)
        return nullptr;
    const QVariant v = c->property("orvScriptObject");
    return v.isValid() ? reinterpret_cast<ControlObject*>(v.value<quintptr>()) : nullptr;
}

void ControlObject::SetOnPainting(const QVariant& h)
{
    bind(QStringLiteral("OnPainting"), h);
    if (h.value<void*>())
        m_control->onPainting = [this](QPainter& p, const QRectF& r) { paint("OnPainting", p, r); };
    else
        m_control->onPainting = nullptr;
    if (QWidget* w = m_control->widget())
        w->update();
}

void ControlObject::bindDrag(const QString& event, const QVariant& h)
{
    bind(event, h);
    m_control->setTakesDrops(handler(QStringLiteral("OnDragEnter")).value<void*>()
                             || handler(QStringLiteral("OnDragOver")).value<void*>()
                             || handler(QStringLiteral("OnDragDrop")).value<void*>());
}

void ControlObject::SetOnPaint(const QVariant& h)
{
    bind(QStringLiteral("OnPaint"), h);
    if (h.value<void*>())
        m_control->onPaint = [this](QPainter& p, const QRectF& r) { paint("OnPaint", p, r); };
    else
        m_control->onPaint = nullptr;
    if (QWidget* w = m_control->widget())
        w->update();
}

void ControlObject::paint(const char* event, QPainter& painter, const QRectF& rect)
{
    auto* e = bound<TfsOnPaintEvent>(event);
    if (!e)
        return;
    Canvas canvas(&painter);
    CanvasObject co(&canvas);
    lendToScripts(&co);
    CanvasObject* outer = m_canvas;
    m_canvas = &co;
    struct Restore {
        ControlObject* self;
        CanvasObject* outer;
        CanvasObject* co;
        ~Restore()
        {
            self->m_canvas = outer;
            takeBackFromScripts(co);
        }
    } restore{this, outer, &co};
    e->DoEvent(this, &co, rect);
}

ControlObject::~ControlObject()
{
    stopAnimations();
    platform::ui::Control& c = *m_control;
    c.onClick = c.onDblClick = c.onEnter = c.onExit = nullptr;
    c.onCanFocus = nullptr;
    c.onKeyDown = c.onKeyUp = nullptr;
    c.onMouseDown = c.onMouseUp = nullptr;
    c.onMouseMove = nullptr;
    c.onMouseWheel = nullptr;
    c.onMouseEnter = c.onMouseLeave = c.onResize = c.onDragLeave = c.onDragEnd = nullptr;
    c.onDragEnter = c.onDragDrop = nullptr;
    c.onDragOver = nullptr;
    c.onPaint = c.onPainting = nullptr;
    c.setProperty("orvScriptObject", QVariant());
    takeBackFromScripts(m_position.get());
    // The window must not keep its focus on a control that goes.
    if (m_attachedTo && m_attachedTo->focusedControl() == &c)
        m_attachedTo->moveFocus(nullptr);
}

StyledControl::~StyledControl() = default;
ScrollBoxObject::~ScrollBoxObject() = default;

void ControlObject::notify(const char* event)
{
    if (auto* e = bound<TfsNotifyEvent>(event))
        e->DoEvent(this);
}

void ControlObject::SetParent(FmxObject* parent)
{
    FmxObject::SetParent(parent);
    QWidget* w = m_control->widget();
    if (!w)
        return;
    QWidget* into = parent ? parent->container() : nullptr;
    const QRect geometry = w->geometry();
    w->setParent(into);
    w->setGeometry(geometry);
    if (FormObject* f = form()) {
        m_control->attach(&f->window(), Name());
        m_attachedTo = &f->window();
    } else {
        m_attachedTo = nullptr;
    }
    if (into && m_visible)
        w->show();
    if (m_align != 0)
        SetAlign(m_align);
}

void ControlObject::SetName(const QString& NewName)
{
    FmxObject::SetName(NewName);
    if (m_attachedTo)
        m_control->attach(m_attachedTo, NewName);
    else if (QWidget* w = m_control->widget())
        w->setObjectName(NewName);
}

void ControlObject::SetVisible(bool v)
{
    const bool changed = m_visible != v;
    m_visible = v;
    if (m_control->widget() && m_control->widget()->parentWidget())
        m_control->setVisible(v);
    if (changed && m_align != 0)
        alignChildren(Parent());
}

void ControlObject::SetCanFocus(bool v)
{
    m_canFocus = v;
    if (QWidget* w = m_control->widget())
        w->setFocusPolicy(v ? Qt::StrongFocus : Qt::NoFocus);
}

LabelObject::LabelObject(Component* AOwner) : TextControl(new platform::ui::Label(nullptr), false, AOwner) {}
QString LabelObject::Text() const { return static_cast<platform::ui::Label&>(control()).text(); }
void LabelObject::SetText(const QString& t) { static_cast<platform::ui::Label&>(control()).setText(t); }

CustomButtonObject::CustomButtonObject(platform::ui::Control* control, Component* owner) : TextControl(control, false, owner)
{
    control->onClick = [this] {
        notify("OnClick");
        if (m_modalResult != 0)
            if (FormObject* f = form())
                f->SetModalResult(m_modalResult);
    };
}
CustomButtonObject::~CustomButtonObject() = default;

QString CustomButtonObject::Text() const
{
    if (auto* b = qobject_cast<QAbstractButton*>(control().widget()))
        return b->text();
    return QString();
}

void CustomButtonObject::SetText(const QString& t)
{
    if (auto* b = qobject_cast<QAbstractButton*>(control().widget()))
        b->setText(t);
}

ButtonObject::ButtonObject(Component* AOwner) : CustomButtonObject(new platform::ui::Button(nullptr), AOwner) {}

SpeedButtonObject::SpeedButtonObject(Component* AOwner) : CustomButtonObject(new platform::ui::Button(nullptr), AOwner)
{
    QWidget* w = control().widget();
    w->setFocusPolicy(Qt::NoFocus);
    auto* b = static_cast<QAbstractButton*>(w);
    // Pressing one button of a group releases the others of its window.
    QObject::connect(b, &QAbstractButton::toggled, b, [this](bool on) {
        FormObject* f = form();
        if (!on || GroupName().isEmpty() || !f)
            return;
        std::vector<FmxObject*> pending(f->children().begin(), f->children().end());
        for (size_t i = 0; i < pending.size(); ++i) {
            pending.insert(pending.end(), pending[i]->children().begin(), pending[i]->children().end());
            if (auto* other = dynamic_cast<SpeedButtonObject*>(pending[i]);
                other && other != this && other->GroupName() == GroupName())
                other->SetIsPressed(false);
        }
    });
}

bool SpeedButtonObject::StaysPressed() const
{
    return static_cast<QAbstractButton*>(control().widget())->isCheckable();
}
void SpeedButtonObject::SetStaysPressed(bool v) { static_cast<QAbstractButton*>(control().widget())->setCheckable(v); }
bool SpeedButtonObject::IsPressed() const { return static_cast<QAbstractButton*>(control().widget())->isChecked(); }
void SpeedButtonObject::SetIsPressed(bool v)
{
    auto* b = static_cast<QAbstractButton*>(control().widget());
    if (v && !b->isCheckable())
        b->setCheckable(true);
    b->setChecked(v);
}

ExpanderButtonObject::ExpanderButtonObject(Component* AOwner)
    : CustomButtonObject(new platform::ui::ExpanderButton(nullptr), AOwner)
{
}

namespace {
QList<RadioButtonObject*>& liveRadios()
{
    static auto* list = new QList<RadioButtonObject*>;
    return *list;
}
} // namespace

RadioButtonObject::RadioButtonObject(Component* AOwner) : TextControl(new platform::ui::RadioButton(nullptr), false, AOwner)
{
    liveRadios().append(this);
    radio().onChange = [this] {
        // Checking a button clears the others of its group in its window.
        if (radio().isChecked())
            for (RadioButtonObject* other : liveRadios())
                if (other != this && other->GroupName() == GroupName() && other->form() == form()
                    && other->IsChecked())
                    other->SetIsChecked(false);
        notify("OnChange");
    };
    radio().onClick = [this] {
        if (!radio().isChecked())
            radio().setChecked(true);
        notify("OnClick");
    };
}

RadioButtonObject::~RadioButtonObject() { liveRadios().removeAll(this); }

ExpanderObject::ExpanderObject(Component* AOwner) : TextControl(new platform::ui::Expander(nullptr), true, AOwner)
{
    control().setSize(200, 150);
    expander().onCheckChange = [this] { notify("OnCheckChange"); };
}

CalloutPanelObject::CalloutPanelObject(Component* AOwner) : PanelObject(AOwner)
{
    SetFill(int(m_fill));
    show();
}

void CalloutPanelObject::SetFill(int v)
{
    m_fill = quint32(v);
    static_cast<platform::ui::Panel&>(control()).setFill(QColor::fromRgba(m_fill));
}

void CalloutPanelObject::show() { static_cast<platform::ui::Panel&>(control()).setCallout(m_side, m_width, m_length, m_offset); }

ToolBarObject::ToolBarObject(Component* AOwner) : StyledControl(new platform::ui::Panel(nullptr), true, AOwner)
{
    static_cast<platform::ui::Panel&>(control()).setFill(QColor(0xF0, 0xF0, 0xF0));
    control().setSize(200, 40);
    SetAlign(1);
}

SizeGripObject::SizeGripObject(Component* AOwner) : StyledControl(new platform::ui::Panel(nullptr), false, AOwner)
{
    control().setSize(16, 16);
}

SplitterObject::SplitterObject(Component* AOwner) : StyledControl(new platform::ui::Panel(nullptr), false, AOwner)
{
    static_cast<platform::ui::Panel&>(control()).setFill(QColor(0xD0, 0xD0, 0xD0));
    control().setSize(4, 100);
}

ThumbObject::ThumbObject(Component* AOwner) : StyledControl(new platform::ui::Panel(nullptr), false, AOwner)
{
    static_cast<platform::ui::Panel&>(control()).setFill(QColor(0xA0, 0xA0, 0xA0));
    control().setSize(10, 10);
}

namespace {
// Progress in thousandths of the range, so that fractional limits survive.
QProgressBar* progressBar(const platform::ui::Control& c) { return static_cast<QProgressBar*>(c.widget()); }
constexpr double kProgressScale = 1000.0;
} // namespace

ProgressBarObject::ProgressBarObject(Component* AOwner)
    : StyledControl(new platform::ui::ActivityIndicator(nullptr), false, AOwner)
{
    QProgressBar* b = progressBar(control());
    b->setRange(0, int(100 * kProgressScale));
    b->setValue(0);
    control().setSize(100, 20);
}
float ProgressBarObject::Min() const { return float(progressBar(control())->minimum() / kProgressScale); }
void ProgressBarObject::SetMin(float v) { progressBar(control())->setMinimum(int(std::lround(v * kProgressScale))); }
float ProgressBarObject::Max() const { return float(progressBar(control())->maximum() / kProgressScale); }
void ProgressBarObject::SetMax(float v) { progressBar(control())->setMaximum(int(std::lround(v * kProgressScale))); }
float ProgressBarObject::Value() const { return float(progressBar(control())->value() / kProgressScale); }
void ProgressBarObject::SetValue(float v)
{
    QProgressBar* b = progressBar(control());
    b->setValue(std::clamp(int(std::lround(v * kProgressScale)), b->minimum(), b->maximum()));
}

StatusBarObject::StatusBarObject(Component* AOwner) : StyledControl(new platform::ui::Panel(nullptr), true, AOwner)
{
    static_cast<platform::ui::Panel&>(control()).setFill(QColor(0xF0, 0xF0, 0xF0));
    control().setSize(200, 22);
    SetAlign(4);
}

AniIndicatorObject::AniIndicatorObject(Component* AOwner)
    : StyledControl(new platform::ui::ActivityIndicator(nullptr), false, AOwner)
{
    control().setSize(50, 50);
}

ImageControlObject::ImageControlObject(Component* AOwner)
    : StyledControl(new platform::ui::Image(nullptr), false, AOwner), m_bitmap(std::make_unique<BitmapObject>())
{
    lendToScripts(m_bitmap.get());
}

ImageControlObject::~ImageControlObject() { takeBackFromScripts(m_bitmap.get()); }

void ImageControlObject::SetBitmap(BitmapObject* b)
{
    m_bitmap->image = b ? b->image : QImage();
    static_cast<platform::ui::Image&>(control()).setPicture(m_bitmap->image);
    notify("OnChange");
}

PathLabelObject::PathLabelObject(Component* AOwner) : StyledControl(new platform::ui::PathShape(nullptr), false, AOwner) {}

void PathLabelObject::SetData(const QString& d)
{
    m_data = d;
    shape().setPath(pathFromData(d));
}

CheckBoxObject::CheckBoxObject(Component* AOwner) : TextControl(new platform::ui::CheckBox(nullptr), false, AOwner)
{
    static_cast<platform::ui::CheckBox&>(control()).onChange = [this] { notify("OnChange"); };
}
QString CheckBoxObject::Text() const { return static_cast<platform::ui::CheckBox&>(control()).text(); }
void CheckBoxObject::SetText(const QString& t) { static_cast<platform::ui::CheckBox&>(control()).setText(t); }
bool CheckBoxObject::IsChecked() const { return static_cast<platform::ui::CheckBox&>(control()).isChecked(); }
void CheckBoxObject::SetIsChecked(bool v) { static_cast<platform::ui::CheckBox&>(control()).setChecked(v); }

GroupBoxObject::GroupBoxObject(Component* AOwner) : TextControl(new platform::ui::GroupBox(nullptr), true, AOwner) {}
QString GroupBoxObject::Text() const { return static_cast<platform::ui::GroupBox&>(control()).text(); }
void GroupBoxObject::SetText(const QString& t) { static_cast<platform::ui::GroupBox&>(control()).setText(t); }

PanelObject::PanelObject(Component* AOwner) : StyledControl(new platform::ui::Panel(nullptr), true, AOwner) {}

CustomEditObject::CustomEditObject(Component* AOwner) : StyledControl(new platform::ui::Edit(nullptr), false, AOwner)
{
    edit().onChange = [this] {
        notify("OnChange");
        notify("OnChangeTracking");
    };
    edit().onTyping = [this] { notify("OnTyping"); };
}

MemoObject::MemoObject(Component* AOwner) : ScrollBoxObject(new platform::ui::Memo(nullptr), false, AOwner)
{
    memo().onChange = [this] { notify("OnChange"); };
}

CustomTrackObject::CustomTrackObject(platform::ui::Slider::Kind kind, Component* owner)
    : StyledControl(new platform::ui::Slider(nullptr, kind), false, owner)
{
    slider().onChange = [this] { notify("OnChange"); };
    slider().onTracking = [this] { notify("OnTracking"); };
}

CustomTrackObject::~CustomTrackObject() = default;

SwitchObject::SwitchObject(Component* AOwner) : StyledControl(new platform::ui::Switch(nullptr), false, AOwner)
{
    control().setSize(78, 27);
    // A switch tells its change as OnSwitch, and as the OnChange of every track.
    sw().onSwitch = [this] {
        notify("OnSwitch");
        notify("OnChange");
    };
}

ScrollBarObject::ScrollBarObject(platform::ui::Slider::Kind kind, Component* owner)
    : StyledControl(new platform::ui::Slider(nullptr, kind), false, owner)
{
    slider().setMax(100);
    slider().onChange = [this] { notify("OnChange"); };
}

SmallScrollBarObject::SmallScrollBarObject(Component* AOwner) : ScrollBarObject(platform::ui::Slider::Kind::ScrollBar, AOwner)
{
    control().setSize(100, 8);
}

ListControl::~ListControl() = default;

void ListControl::SetItems(const Strings* source)
{
    if (!source)
        m_items.Clear();
    else if (source != &m_items)
        m_items.Assign(source);
}

void ListControl::resetItems()
{
    m_itemObjects.clear();
    showLines(m_items.lines());
}

ListBoxItemObject* ListControl::item(int index)
{
    if (index < 0 || index >= m_items.Count())
        return nullptr;
    m_itemObjects.resize(size_t(m_items.Count()));
    auto& slot = m_itemObjects[size_t(index)];
    if (!slot) {
        slot = std::make_unique<ListBoxItemObject>();
        lendToScripts(slot.get());
    }
    slot->m_text = m_items.Get(index);
    slot->m_index = index;
    slot->m_list = this;
    return slot.get();
}

ListBoxObject::ListBoxObject(Component* AOwner) : ListControl(new platform::ui::ListBox(nullptr), false, AOwner)
{
    lendToScripts(&items());
    list().onChange = [this] { notify("OnChange"); };
}

void ListBoxObject::showLines(const QStringList& lines)
{
    list().clear();
    for (const QString& l : lines)
        list().add(l);
}

void ListBoxObject::clearLines() { items().Clear(); }

CustomComboBoxObject::CustomComboBoxObject(Component* AOwner) : ListControl(new platform::ui::ComboEdit(nullptr), false, AOwner)
{
    lendToScripts(&items());
    combo().onChange = [this] { notify("OnChange"); };
    combo().onDropDown = [this] { notify("OnDropDown"); };
    combo().onCloseUp = [this] { notify("OnCloseUp"); };
}

void CustomComboBoxObject::showLines(const QStringList& lines) { combo().setItems(lines); }

void CustomComboBoxObject::clearLines() { items().Clear(); }

// ------------------------------------------------------------------ forms

namespace {

QSet<FormObject*>& liveForms()
{
    static auto* set = new QSet<FormObject*>; // never destroyed, as the objects it tracks
    return *set;
}

platform::ui::FormSpec scriptFormSpec()
{
    platform::ui::FormSpec spec;
    spec.name = QStringLiteral("ScriptForm");
    spec.clientWidth = 400;
    spec.clientHeight = 300;
    spec.border = platform::ui::Border::Sizeable;
    spec.placement = platform::ui::Placement::Designed;
    return spec;
}

} // namespace

class ScriptWindow : public platform::ui::Form {
public:
    explicit ScriptWindow(FormObject* owner) : platform::ui::Form(nullptr, scriptFormSpec(), {}), m_owner(owner)
    {
        onShow = [this] {
            m_owner->createOnce();
            m_owner->notifyEvent("OnShow");
        };
        onActivate = [this] { m_owner->notifyEvent("OnActivate"); };
        onDeactivate = [this] { m_owner->notifyEvent("OnDeactivate"); };
        onHide = [this] { m_owner->notifyEvent("OnHide"); };
        onClose = [this](platform::ui::CloseAction& action) {
            auto* e = m_owner->bound<TfsCloseEvent>("OnClose");
            if (!e)
                return;
            int a = action == platform::ui::CloseAction::None ? 0 : action == platform::ui::CloseAction::Free ? 2 : 1;
            e->DoEvent(m_owner, a);
            if (a == 0) {
                action = platform::ui::CloseAction::None;
            } else if (a == 2) {
                // The window belongs to the script object: freeing means freeing that.
                action = platform::ui::CloseAction::Hide;
                FormObject* f = m_owner;
                QMetaObject::invokeMethod(
                    qApp, [f] { if (liveForms().contains(f)) delete f; }, Qt::QueuedConnection);
            } else {
                action = platform::ui::CloseAction::Hide;
            }
        };
        created();
    }

protected:
    void closeEvent(QCloseEvent* e) override
    {
        bool can = true;
        try {
            can = m_owner->CloseQuery();
        } catch (...) {
            platform::ui::reportCurrentException();
        }
        if (!can) {
            e->ignore();
            if (inModal())
                setModalResult(platform::ui::mrNone);
            return;
        }
        platform::ui::Form::closeEvent(e);
    }
    void paintEvent(QPaintEvent* e) override
    {
        platform::ui::Form::paintEvent(e);
        QPainter p(this);
        try {
            m_owner->paint(p, QRectF(rect()));
        } catch (...) {
            platform::ui::reportCurrentException();
        }
    }
    void resizeEvent(QResizeEvent* e) override
    {
        platform::ui::Form::resizeEvent(e);
        platform::ui::fire(std::function<void()>([this] { m_owner->notifyEvent("OnResize"); }));
    }

private:
    FormObject* m_owner;
};

FormObject::FormObject(Component* AOwner) : FmxObject(AOwner), m_window(std::make_unique<ScriptWindow>(this))
{
    liveForms().insert(this);
}

FormObject::~FormObject()
{
    stopAnimations();
    liveForms().remove(this);
    try {
        notifyEvent("OnDestroy");
    } catch (...) {
        platform::ui::reportCurrentException();
    }
    // Controls go before the window they lie on.
    while (ComponentCount() > 0)
        delete Components().back();
    for (FmxObject* child : std::vector<FmxObject*>(children()))
        child->SetParent(nullptr);
    m_window.reset();
}

void FormObject::createOnce()
{
    if (m_createdRun)
        return;
    m_createdRun = true;
    notifyEvent("OnCreate");
}

void FormObject::notifyEvent(const char* event)
{
    if (auto* e = bound<TfsNotifyEvent>(event))
        e->DoEvent(this);
}

platform::ui::Form& FormObject::window() const { return *m_window; }

void FormObject::SetName(const QString& NewName)
{
    FmxObject::SetName(NewName);
    m_window->setObjectName(NewName.isEmpty() ? QStringLiteral("ScriptForm") : NewName);
}
QWidget* FormObject::container() const { return m_window.get(); }
QString FormObject::Caption() const { return m_window->caption(); }
void FormObject::SetCaption(const QString& v) { m_window->setCaption(v); }
int FormObject::Left() const { return m_window->x(); }
void FormObject::SetLeft(int v) { m_window->move(v, m_window->y()); }
int FormObject::Top() const { return m_window->y(); }
void FormObject::SetTop(int v) { m_window->move(m_window->x(), v); }
int FormObject::Width() const { return m_window->width(); }
void FormObject::SetWidth(int v)
{
    m_window->resize(std::max(0, v), m_window->height());
    ControlObject::deliverHeldResizes(m_window.get());
}
int FormObject::Height() const { return m_window->height(); }
void FormObject::SetHeight(int v)
{
    m_window->resize(m_window->width(), std::max(0, v));
    ControlObject::deliverHeldResizes(m_window.get());
}
int FormObject::ModalResult() const { return m_window->modalResult(); }
void FormObject::SetModalResult(int v) { m_window->setModalResult(v); }

bool FormObject::CloseQuery()
{
    bool can = true;
    if (auto* e = bound<TfsCloseQueryEvent>("OnCloseQuery"))
        e->DoEvent(this, can);
    return can;
}

void FormObject::paint(QPainter& painter, const QRectF& rect)
{
    auto* e = bound<TfsOnPaintEvent>("OnPaint");
    if (!e)
        return;
    Canvas canvas(&painter);
    CanvasObject co(&canvas);
    lendToScripts(&co);
    m_canvas = &co;
    try {
        e->DoEvent(this, &co, rect);
    } catch (...) {
        m_canvas = nullptr;
        takeBackFromScripts(&co);
        throw;
    }
    m_canvas = nullptr;
    takeBackFromScripts(&co);
}

// ------------------------------------------------------------------ the module

namespace forms {

namespace {

Value rectValue(const QRectF& r) { return objectValue(new TfsRectF(r)); }
Value pointValue(const QPointF& p) { return objectValue(new TfsPointF(p)); }

QRectF absoluteRect(ControlObject& c)
{
    QWidget* w = c.control().widget();
    if (!w)
        return QRectF();
    const QPoint origin = w->mapTo(w->window(), QPoint(0, 0));
    return QRectF(origin, QSizeF(w->size()));
}

} // namespace

namespace {

// The members of list boxes that work on their items; false for any other name.
bool listMember(ListControl& l, const QString& m, TfsMethodHelper* c, Value& result)
{
    Strings& items = l.items();
    const auto indexOf = [&](int arg) {
        auto* item = argAs<ListBoxItemObject>(c, arg);
        return item && item->list() == &l && item->Index() < items.Count() ? item->Index() : -1;
    };
    const auto textOf = [&](int arg) {
        auto* item = argAs<ListBoxItemObject>(c, arg);
        return item ? item->Text() : QString();
    };
    if (is(m, "ITEMBYINDEX")) {
        result = objectValue(l.item(argInt(c, 0)));
    } else if (is(m, "ITEMBYPOINT")) {
        auto* box = dynamic_cast<ListBoxObject*>(&l);
        platform::ui::LineListView* lw = box ? box->list().listWidget() : nullptr;
        const QPoint at = lw ? lw->viewport()->mapFrom(lw, QPoint(int(argFloat(c, 0)), int(argFloat(c, 1)))) : QPoint();
        const QModelIndex hit = lw ? lw->itemAt(at) : QModelIndex();
        result = objectValue(hit.isValid() ? l.item(hit.row()) : nullptr);
    } else if (is(m, "SELECTALL") || is(m, "SELECTRANGE")) {
        // One line is selected at a time: the range ends on its last item.
        const int last = is(m, "SELECTALL") ? items.Count() - 1 : indexOf(1);
        if (last >= 0)
            l.SetItemIndex(last);
    } else if (is(m, "CLEARSELECTION")) {
        l.SetItemIndex(-1);
    } else if (is(m, "EXCHANGE")) {
        const int a = indexOf(0), b = indexOf(1);
        if (a >= 0 && b >= 0 && a != b) {
            const QString ta = items.Get(a), tb = items.Get(b);
            items.Put(a, tb);
            items.Put(b, ta);
        }
    } else if (is(m, "DRAGCHANGE")) {
        // The dragged line takes the place of the one it was dropped on.
        const int from = indexOf(0), to = indexOf(1);
        const bool moves = from >= 0 && to >= 0 && from != to;
        if (moves)
            items.Move(from, to);
        result = Value(moves);
    } else if (is(m, "ADDOBJECT")) {
        if (argAs<ListBoxItemObject>(c, 0))
            items.Add(textOf(0));
    } else if (is(m, "INSERTOBJECT")) {
        if (argAs<ListBoxItemObject>(c, 1))
            items.Insert(std::clamp(argInt(c, 0), 0, items.Count()), textOf(1));
    } else if (is(m, "REMOVEOBJECT")) {
        if (const int i = indexOf(0); i >= 0)
            items.Delete(i);
    } else {
        return false;
    }
    return true;
}

} // namespace

TFunctions::TFunctions(TfsScript* AScript) : BridgeModule(AScript)
{
    TfsScript* s = AScript;
    const TfsCallMethodNewEvent call = callback();
    const TfsGetValueEvent get = getter();
    const TfsSetValueEvent set = setter();
    const QString integer = QStringLiteral("Integer");
    const std::pair<const char*, int> constants[] = {
        {"mrNone", 0}, {"mrOk", 1}, {"mrCancel", 2}, {"mrAbort", 3}, {"mrRetry", 4}, {"mrIgnore", 5},
        {"mrYes", 6}, {"mrNo", 7}, {"mrAll", 12}, {"mrNoToAll", 13}, {"mrYesToAll", 14},
        {"crDefault", 0}, {"crNone", -1}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4}, {"crSize", -22},
        {"crSizeNESW", -6}, {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9}, {"crUpArrow", -10},
        {"crHourGlass", -11}, {"crDrag", -12}, {"crNoDrop", -13}, {"crHSplit", -14}, {"crVSplit", -15},
        {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18}, {"crAppStart", -19}, {"crHelp", -20},
        {"crHandPoint", -21}, {"crSizeAll", -22},
        {"bsNone", 0}, {"bsSingle", 1}, {"bsSizeable", 2}, {"bsToolWindow", 3}, {"bsSizeToolWin", 4},
        {"VK_RBUTTON", 2}, {"VKCANCEL", 3}, {"VKMBUTTON", 4}, {"VKBACK", 8}, {"VKTAB", 9}, {"VKRETURN", 13},
        {"VKSHIFT", 16}, {"VKCONTROL", 17}, {"VKMENU", 18}, {"VKPAUSE", 19}, {"VKCAPITAL", 20},
        {"VKESCAPE", 27}, {"VKSPACE", 32}, {"VKPRIOR", 33}, {"VKNEXT", 34}, {"VKEND", 35}, {"VKHOME", 36},
        {"VKLEFT", 37}, {"VKUP", 38}, {"VKRIGHT", 39}, {"VKDOWN", 40}, {"VKINSERT", 45}, {"VKDELETE", 46},
        {"VKHELP", 47}, {"VKLWIN", 91}, {"VKRWIN", 92}, {"VKAPPS", 93}, {"VKMULTIPLY", 106}, {"VKADD", 107},
        {"VKSEPARATOR", 108}, {"VKSUBTRACT", 109}, {"VKDECIMAL", 110}, {"VKDIVIDE", 111},
        {"VKNUMLOCK", 144}, {"VKSCROLL", 145},
    };
    for (const auto& [name, value] : constants)
        s->AddConst(QString::fromLatin1(name), integer, Value(value));
    for (int i = 0; i <= 9; ++i)
        s->AddConst(QStringLiteral("VKNUMPAD%1").arg(i), integer, Value(96 + i));
    for (int i = 1; i <= 12; ++i)
        s->AddConst(QStringLiteral("VKF%1").arg(i), integer, Value(111 + i));
    s->AddType(QStringLiteral("TFormBorderStyle"), fvtInt);
    s->AddType(QStringLiteral("TBorderStyle"), fvtInt);
    s->AddType(QStringLiteral("TModalResult"), fvtInt);
    s->AddEnumSet(QStringLiteral("TShiftState"),
                  QStringLiteral("ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble, ssTouch, ssPen, ssCommand"));
    const std::pair<const char*, const char*> enums[] = {
        {"TAniIndicatorStyle", "aiLinear, aiCircular"},
        {"TMouseButton", "mbLeft, mbRight, mbMiddle"},
        {"TBevelCut", "bvNone, bvLowered, bvRaised, bvSpace"},
        {"TTextLayout", "tlTop, tlCenter, tlBottom"},
        {"TEditCharCase", "ecNormal, ecUpperCase, ecLowerCase"},
        {"TScrollStyle", "ssNone, ssHorizontal, ssVertical, ssBoth"},
        {"TComboBoxStyle", "csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable"},
        {"TCheckBoxState", "cbUnchecked, cbChecked, cbGrayed"},
        {"TListBoxStyle", "lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable"},
        {"TWindowState", "wsNormal, wsMinimized, wsMaximized"},
        {"TFormStyle", "fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop"},
        {"TFormPosition", "poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter"},
        {"TCloseAction", "caNone, caHide, caFree, caMinimize"},
        // Dragging as the controls' DragMode takes it.
        {"TDragMode", "dmManual, dmAutomatic"},
    };
    // The six names a control's Align shares with the layout enumeration carry the
    // layout's values, so that "Align := alClient" fills the parent.
    s->AddType(QStringLiteral("TAlign"), fvtInt);
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, int>>{
             {"alNone", 0}, {"alTop", 1}, {"alBottom", 4}, {"alLeft", 2}, {"alRight", 3}, {"alClient", 9}})
        s->AddConst(QString::fromLatin1(name), integer, Value(value));
    for (const auto& [type, names] : enums) {
        if (QByteArray(type) == "TFormStyle")
            s->AddEnumSet(QStringLiteral("TAnchors"), QStringLiteral("akLeft, akTop, akRight, akBottom"));
        if (QByteArray(type) == "TFormPosition")
            s->AddEnumSet(QStringLiteral("TBorderIcons"), QStringLiteral("biSystemMenu, biMinimize, biMaximize, biHelp"));
        s->AddEnum(QString::fromLatin1(type), QString::fromLatin1(names));
    }

    // Drag handlers read what a drag carries through its published properties.
    s->AddClass(&TfsDragObject::staticClassInfo(), QStringLiteral("TPersistent"));
    if (auto* c = s->AddClass(&ControlObject::staticClassInfo(), QStringLiteral("TFmxObject"))) {
        c->AddConstructor(QStringLiteral("constructor Create(AOwner: TComponent)"), call);
        for (const char* m : {
                 "procedure SetBounds(X: Single; Y: Single; AWidth: Single; AHeight: Single)",
                 "function AbsoluteToLocal(P: TfsPointF): TfsPointF",
                 "function LocalToAbsolute(P: TfsPointF): TfsPointF",
                 "function AbsoluteToLocalVector(P: TfsVector): TfsVector",
                 "function LocalToAbsoluteVector(P: TfsVector): TfsVector",
                 "function PointInObject(X: Single; Y: Single): Boolean",
                 "procedure BeginUpdate()", "procedure EndUpdate()", "procedure UpdateEffects()",
                 "procedure SetFocus()",
                 "procedure PaintTo(ACanvas: TCanvas; ARect: TFsRectF; AParent: TFmxObject)",
                 "procedure Repaint()", "procedure InvalidateRect(ARect: TfsRectF)", "procedure Lock()",
             })
            c->AddMethod(QString::fromLatin1(m), call);
        for (const char* p : {"AbsoluteRect", "LocalRect", "ParentedRect", "ClipRect", "ChildrenRect", "UpdateRect"})
            c->AddProperty(QString::fromLatin1(p), QStringLiteral("TfsRectF"), get);
        for (const char* p : {"AbsoluteMatrix", "InvertAbsoluteMatrix"})
            c->AddProperty(QString::fromLatin1(p), QStringLiteral("TfsMatrix"), get);
        c->AddProperty(QStringLiteral("AbsoluteScale"), QStringLiteral("TfsPointF"), get);
        for (const char* p : {"HasEffect", "HasDisablePaintEffect", "HasAfterPaintEffect", "InPaintTo"})
            c->AddProperty(QString::fromLatin1(p), QStringLiteral("Boolean"), get);
        for (const char* p : {"AutoCapture", "DisableFocusEffect"})
            c->AddProperty(QString::fromLatin1(p), QStringLiteral("Boolean"), get, set);
        for (const char* p : {"AbsoluteWidth", "AbsoluteHeight", "AbsoluteOpacity"})
            c->AddProperty(QString::fromLatin1(p), QStringLiteral("Single"), get);
        for (const char* p : {"AbsoluteEnabled", "ParentedVisible"})
            c->AddProperty(QString::fromLatin1(p), QStringLiteral("Boolean"), get);
        c->AddProperty(QStringLiteral("CanFocus"), QStringLiteral("Boolean"), get, set);
        c->AddProperty(QStringLiteral("TabOrder"), integer, get, set);
        c->AddProperty(QStringLiteral("BoundsRect"), QStringLiteral("TfsRectF"), get, set);
        c->AddProperty(QStringLiteral("Canvas"), QStringLiteral("TCanvas"), get);
        const std::pair<const char*, TfsEventClass> events[] = {
            {"OnKeyDown", &makeEvent<TfsKeyEvent>},     {"OnKeyUp", &makeEvent<TfsKeyEvent>},
            {"OnClick", &makeEvent<TfsNotifyEvent>},    {"OnDblClick", &makeEvent<TfsNotifyEvent>},
            {"OnCanFocus", &makeEvent<TfsCanFocusEvent>}, {"OnEnter", &makeEvent<TfsNotifyEvent>},
            {"OnExit", &makeEvent<TfsNotifyEvent>},     {"OnMouseDown", &makeEvent<TfsMouseEvent>},
            {"OnMouseMove", &makeEvent<TfsMouseMoveEvent>}, {"OnMouseUp", &makeEvent<TfsMouseEvent>},
            {"OnDragEnter", &makeEvent<TfsDragDropEvent>}, {"OnDragLeave", &makeEvent<TfsNotifyEvent>},
            {"OnDragOver", &makeEvent<TfsDragOverEvent>}, {"OnDragDrop", &makeEvent<TfsDragDropEvent>},
            {"OnDragEnd", &makeEvent<TfsNotifyEvent>},  {"OnMouseWheel", &makeEvent<TfsMouseWheelEvent>},
            {"OnMouseEnter", &makeEvent<TfsNotifyEvent>}, {"OnMouseLeave", &makeEvent<TfsNotifyEvent>},
            {"OnPainting", &makeEvent<TfsOnPaintEvent>}, {"OnPaint", &makeEvent<TfsOnPaintEvent>},
            {"OnResize", &makeEvent<TfsNotifyEvent>},   {"OnApplyStyleLookup", &makeEvent<TfsNotifyEvent>},
        };
        for (const auto& [name, cls] : events)
            c->AddEvent(QString::fromLatin1(name), cls);
    }
    if (auto* c = s->AddClass(&StyledControl::staticClassInfo(), QStringLiteral("TControl"))) {
        c->AddMethod(QStringLiteral("function FindStyleResource(AStyleLookup: string): TFmxObject"), call);
        c->AddMethod(QStringLiteral("procedure ApplyStyleLookup()"), call);
        c->AddMethod(QStringLiteral("procedure UpdateStyle()"), call);
        c->AddProperty(QStringLiteral("StyleLookup"), QStringLiteral("String"), get, set);
    }
    s->AddClass(&PositionObject::staticClassInfo(), QStringLiteral("TPersistent"));
    s->AddClass(&TextControl::staticClassInfo(), QStringLiteral("TStyledControl"));
    s->AddClass(&PanelObject::staticClassInfo(), QStringLiteral("TStyledControl"));
    s->AddClass(&CalloutPanelObject::staticClassInfo(), QStringLiteral("TPanel"));
    s->AddClass(&LabelObject::staticClassInfo(), QStringLiteral("TTextControl"));
    s->AddClass(&CustomButtonObject::staticClassInfo(), QStringLiteral("TTextControl"));
    s->AddClass(&ButtonObject::staticClassInfo(), QStringLiteral("TCustomButton"));
    s->AddClass(&SpeedButtonObject::staticClassInfo(), QStringLiteral("TCustomButton"));
    if (auto* c = s->AddClass(&CheckBoxObject::staticClassInfo(), QStringLiteral("TTextControl")))
        c->AddEvent(QStringLiteral("OnChange"), &makeEvent<TfsNotifyEvent>);
    if (auto* c = s->AddClass(&RadioButtonObject::staticClassInfo(), QStringLiteral("TTextControl")))
        c->AddEvent(QStringLiteral("OnChange"), &makeEvent<TfsNotifyEvent>);
    s->AddClass(&GroupBoxObject::staticClassInfo(), QStringLiteral("TTextControl"));
    const auto notifyEvents = [](TfsClassVariable* c, std::initializer_list<const char*> names) {
        for (const char* e : names)
            c->AddEvent(QString::fromLatin1(e), &makeEvent<TfsNotifyEvent>);
    };
    if (auto* c = s->AddClass(&CustomTrackObject::staticClassInfo(), QStringLiteral("TStyledControl")))
        notifyEvents(c, {"OnChange", "OnTracking"});
    s->AddClass(&TrackObject::staticClassInfo(), QStringLiteral("TCustomTrack"));
    s->AddClass(&TrackBarObject::staticClassInfo(), QStringLiteral("TCustomTrack"));
    s->AddClass(&BitmapTrackBarObject::staticClassInfo(), QStringLiteral("TTrackBar"));
    if (auto* c = s->AddClass(&SwitchObject::staticClassInfo(), QStringLiteral("TCustomTrack")))
        notifyEvents(c, {"OnSwitch"});
    if (auto* c = s->AddClass(&ScrollBarObject::staticClassInfo(), QStringLiteral("TStyledControl")))
        notifyEvents(c, {"OnChange"});
    s->AddClass(&SmallScrollBarObject::staticClassInfo(), QStringLiteral("TScrollBar"));
    if (auto* c = s->AddClass(&ArcDialObject::staticClassInfo(), QStringLiteral("TStyledControl")))
        notifyEvents(c, {"OnChange"});
    for (const platform::rtti::ClassInfo* bar : {&StatusBarObject::staticClassInfo(), &ToolBarObject::staticClassInfo(),
                                       &SizeGripObject::staticClassInfo(), &SplitterObject::staticClassInfo(),
                                       &ProgressBarObject::staticClassInfo(), &ThumbObject::staticClassInfo()})
        s->AddClass(bar, QStringLiteral("TStyledControl"));
    s->AddClass(&AniIndicatorObject::staticClassInfo(), QStringLiteral("TStyledControl"));
    s->AddClass(&ExpanderButtonObject::staticClassInfo(), QStringLiteral("TCustomButton"));
    if (auto* c = s->AddClass(&ExpanderObject::staticClassInfo(), QStringLiteral("TTextControl")))
        notifyEvents(c, {"OnCheckChange"});
    if (auto* c = s->AddClass(&ImageControlObject::staticClassInfo(), QStringLiteral("TStyledControl")))
        notifyEvents(c, {"OnChange"});
    s->AddClass(&PathLabelObject::staticClassInfo(), QStringLiteral("TStyledControl"));
    if (auto* c = s->AddClass(&CustomEditObject::staticClassInfo(), QStringLiteral("TStyledControl"))) {
        for (const char* m : {"procedure ClearSelection()", "procedure CopyToClipboard()", "procedure CutToClipboard()",
                              "procedure PasteFromClipboard()", "procedure SelectAll()",
                              "function GetCharX(a: Integer): Single", "function ContentRect(): TfsRectF"})
            c->AddMethod(QString::fromLatin1(m), call);
        c->AddProperty(QStringLiteral("SelectionFill"), QStringLiteral("TBrush"), get);
        for (const char* p : {"CaretPosition", "SelStart", "SelLength", "MaxLength"})
            c->AddProperty(QString::fromLatin1(p), integer, get, set);
        c->AddProperty(QStringLiteral("SelText"), QStringLiteral("string"), get);
        c->AddProperty(QStringLiteral("FilterChar"), QStringLiteral("string"), get, set);
        c->AddProperty(QStringLiteral("Typing"), QStringLiteral("Boolean"), get, set);
        for (const char* e : {"OnChange", "OnChangeTracking", "OnTyping"})
            c->AddEvent(QString::fromLatin1(e), &makeEvent<TfsNotifyEvent>);
    }
    // Memos and list boxes name a scrolling control as their ancestor; it is a control
    // like the others, so they offer the members and events of every control.
    s->AddClass(&ScrollBoxObject::staticClassInfo(), QStringLiteral("TStyledControl"));
    if (auto* c = s->AddClass(&MemoObject::staticClassInfo(), QStringLiteral("TScrollBox"))) {
        for (const char* m : {"procedure CopyToClipboard()", "procedure PasteFromClipboard()",
                              "procedure CutToClipboard()", "procedure ClearSelection()", "procedure SelectAll()",
                              "procedure GoToTextEnd()", "procedure GoToTextBegin()", "procedure GotoLineEnd()",
                              "procedure GoToLineBegin()", "procedure UnDo()"})
            c->AddMethod(QString::fromLatin1(m), call);
        c->AddProperty(QStringLiteral("SelStart"), integer, get, set);
        c->AddProperty(QStringLiteral("SelLength"), integer, get, set);
        c->AddProperty(QStringLiteral("SelText"), QStringLiteral("string"), get);
        c->AddConstructor(QStringLiteral("constructor Create(AOwner: TComponent)"), call);
        c->AddProperty(QStringLiteral("Parent"), QStringLiteral("TFmxObject"), get, set);
        c->AddEvent(QStringLiteral("OnChange"), &makeEvent<TfsNotifyEvent>);
    }
    if (auto* c = s->AddClass(&ListBoxItemObject::staticClassInfo(), QStringLiteral("TTextControl"))) {
        c->AddProperty(QStringLiteral("Data"), QStringLiteral("TObject"), get, set);
        c->AddProperty(QStringLiteral("Index"), integer, get, set);
    }
    const auto listMembers = [&](TfsClassVariable* c) {
        c->AddConstructor(QStringLiteral("constructor Create(AOwner: TComponent)"), call);
        c->AddMethod(QStringLiteral("procedure Clear()"), call);
        c->AddIndexProperty(QStringLiteral("ListItems"), integer, QStringLiteral("TListBoxItem"), call, true);
        c->AddProperty(QStringLiteral("Count"), integer, get);
        c->AddProperty(QStringLiteral("Selected"), QStringLiteral("TListBoxItem"), get);
        c->AddProperty(QStringLiteral("Items"), QStringLiteral("TStrings"), get, set);
        c->AddProperty(QStringLiteral("ItemIndex"), integer, get, set);
        c->AddProperty(QStringLiteral("Parent"), QStringLiteral("TFmxObject"), get, set);
        c->AddEvent(QStringLiteral("OnChange"), &makeEvent<TfsNotifyEvent>);
    };
    if (auto* c = s->AddClass(&ListControl::staticClassInfo(), QStringLiteral("TScrollBox"))) {
        listMembers(c);
        for (const char* m : {
                 "function DragChange(SourceItem: TListBoxItem; DestItem: TListBoxItem): Boolean",
                 "procedure SelectAll()", "procedure ClearSelection()",
                 "procedure SelectRange(Item1: TListBoxItem; Item2: TListBoxItem)",
                 "function ItemByPoint(X: Single; Y: Single): TListBoxItem",
                 "function ItemByIndex(Idx: Integer): TListBoxItem",
                 "procedure Exchange(Item1: TListBoxItem; Item2: TListBoxItem)",
                 // A list's items are not framework objects here: these take its items.
                 "procedure AddObject(AObject: TListBoxItem)", "procedure InsertObject(Index: Integer; AObject: TListBoxItem)",
                 "procedure RemoveObject(AObject: TListBoxItem)",
             })
            c->AddMethod(QString::fromLatin1(m), call);
    }
    s->AddClass(&ListBoxObject::staticClassInfo(), QStringLiteral("TCustomListBox"));
    s->AddClass(&EditObject::staticClassInfo(), QStringLiteral("TCustomEdit"));
    if (auto* c = s->AddClass(&CustomComboBoxObject::staticClassInfo(), QStringLiteral("TStyledControl"))) {
        listMembers(c);
        c->AddMethod(QStringLiteral("procedure DropDown"), call);
        c->AddEvent(QStringLiteral("OnDropDown"), &makeEvent<TfsNotifyEvent>);
        c->AddEvent(QStringLiteral("OnCloseUp"), &makeEvent<TfsNotifyEvent>);
    }
    if (auto* c = s->AddClass(&FormObject::staticClassInfo(), QStringLiteral("TFmxObject"))) {
        c->AddConstructor(QStringLiteral("constructor CreateNew(AOwner: TComponent; Dummy: Integer = 0)"), call);
        for (const char* m : {
                 "procedure SetBounds(ALeft: Integer; ATop: Integer; AWidth: Integer; AHeight: Integer)",
                 "function ClientToScreen(Point: TfsPointF): TfsPointF",
                 "function ScreenToClient(Point: TfsPointF): TfsPointF", "function CloseQuery(): Boolean",
                 "function ClientRect(): TfsRectF", "procedure Release()", "procedure Close()", "procedure Show()",
                 "procedure Hide()", "function ShowModal(): TModalResult", "procedure CloseModal()",
                 "procedure Invalidate()", "procedure BeginUpdate()", "procedure EndUpdate()",
             })
            c->AddMethod(QString::fromLatin1(m), call);
    }
    if (auto* c = s->AddClass(&CustomForm::staticClassInfo(), QStringLiteral("TCommonCustomForm"))) {
        c->AddEvent(QStringLiteral("OnActivate"), &makeEvent<TfsNotifyEvent>);
        c->AddEvent(QStringLiteral("OnClose"), &makeEvent<TfsCloseEvent>);
        c->AddEvent(QStringLiteral("OnCloseQuery"), &makeEvent<TfsCloseQueryEvent>);
        c->AddEvent(QStringLiteral("OnCreate"), &makeEvent<TfsNotifyEvent>);
        c->AddEvent(QStringLiteral("OnDestroy"), &makeEvent<TfsNotifyEvent>);
        c->AddEvent(QStringLiteral("OnDeactivate"), &makeEvent<TfsNotifyEvent>);
        c->AddEvent(QStringLiteral("OnHide"), &makeEvent<TfsNotifyEvent>);
        c->AddEvent(QStringLiteral("OnPaint"), &makeEvent<TfsOnPaintEvent>);
        c->AddEvent(QStringLiteral("OnShow"), &makeEvent<TfsNotifyEvent>);
        c->AddEvent(QStringLiteral("OnResize"), &makeEvent<TfsNotifyEvent>);
        c->AddProperty(QStringLiteral("Canvas"), QStringLiteral("TCanvas"), get);
        c->AddProperty(QStringLiteral("ModalResult"), integer, get, set);
    }
    s->AddClass(&TFormObject::staticClassInfo(), QStringLiteral("TCustomForm"));
    s->AddClass(&ComboBoxObject::staticClassInfo(), QStringLiteral("TCustomComboBox"));
    s->AddClass(&DataModuleObject::staticClassInfo(), QStringLiteral("TComponent"));
    if (auto* c = s->AddClass(&ApplicationObject::staticClassInfo(), QStringLiteral("TComponent")))
        c->AddMethod(QStringLiteral("procedure ProcessMessages"), call);
    s->AddObject(QStringLiteral("Application"), &ApplicationObject::instance());
}

Value TFunctions::InvokeMethod(TfsObject Instance, TfsClass ClassType, const QString& m, TfsMethodHelper* c)
{
    if (ClassType == &ControlObject::staticClassInfo() || ClassType == &MemoObject::staticClassInfo()
        || ClassType == &ListControl::staticClassInfo() || ClassType == &CustomComboBoxObject::staticClassInfo()) {
        auto& o = self<ControlObject>(Instance);
        Value result(0);
        if (is(m, "CREATE")) {
            if (auto* owner = argAs<Component>(c, 0))
                owner->InsertComponent(&o);
            return objectValue(&o);
        }
        if (auto* list = dynamic_cast<ListControl*>(&o); list && listMember(*list, m, c, result))
            return result;
        if (is(m, "SETBOUNDS"))
            o.SetBounds(argInt(c, 0), argInt(c, 1), argInt(c, 2), argInt(c, 3));
        else if (is(m, "ABSOLUTETOLOCAL"))
            return pointValue(argAs<TfsPointF>(c, 0)->GetRect() - absoluteRect(o).topLeft());
        else if (is(m, "LOCALTOABSOLUTE"))
            return pointValue(argAs<TfsPointF>(c, 0)->GetRect() + absoluteRect(o).topLeft());
        else if (is(m, "ABSOLUTETOLOCALVECTOR") || is(m, "LOCALTOABSOLUTEVECTOR")) {
            // The offset counts as many times as the vector's W: points move, directions do not.
            FsVector v = argAs<TfsVector>(c, 0) ? argAs<TfsVector>(c, 0)->GetRect() : FsVector();
            const QPointF origin = absoluteRect(o).topLeft() * (is(m, "ABSOLUTETOLOCALVECTOR") ? -1.0 : 1.0);
            v.X += float(origin.x() * v.W);
            v.Y += float(origin.y() * v.W);
            return objectValue(new TfsVector(v));
        } else if (is(m, "POINTINOBJECT"))
            return Value(absoluteRect(o).contains(QPointF(argFloat(c, 0), argFloat(c, 1))));
        else if (is(m, "PAINTTO")) {
            auto* co = argAs<CanvasObject>(c, 0);
            QWidget* w = o.control().widget();
            QPainter* painter = co ? co->canvas().painter() : nullptr;
            if (painter && w && w->width() > 0 && w->height() > 0) {
                const QRectF r = argAs<TfsRectF>(c, 1) ? argAs<TfsRectF>(c, 1)->GetRect() : QRectF(w->rect());
                painter->save();
                painter->translate(r.topLeft());
                painter->scale(r.width() / w->width(), r.height() / w->height());
                o.inPaintTo = true;
                w->render(painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
                o.inPaintTo = false;
                painter->restore();
            }
        } else if (is(m, "INVALIDATERECT")) {
            if (QWidget* w = o.control().widget(); w && argAs<TfsRectF>(c, 0))
                w->update(argAs<TfsRectF>(c, 0)->GetRect().toAlignedRect());
        } else if (is(m, "LOCK")) {
            std::vector<FmxObject*> pending{&o};
            for (size_t i = 0; i < pending.size(); ++i) {
                if (auto* k = dynamic_cast<ControlObject*>(pending[i]))
                    k->SetLocked(true);
                pending.insert(pending.end(), pending[i]->children().begin(), pending[i]->children().end());
            }
        }
        else if (is(m, "SETFOCUS"))
            o.control().setFocus();
        else if (is(m, "REPAINT")) {
            if (QWidget* w = o.control().widget())
                w->update();
        } else if (is(m, "SELECTALL")) {
            if (auto* memo = dynamic_cast<MemoObject*>(&o))
                memo->memo().textEdit()->selectAll();
        } else if (is(m, "GOTOTEXTEND") || is(m, "GOTOTEXTBEGIN")) {
            if (auto* memo = dynamic_cast<MemoObject*>(&o))
                memo->memo().textEdit()->moveCursor(is(m, "GOTOTEXTEND") ? QTextCursor::End : QTextCursor::Start);
        } else if (auto* memo = dynamic_cast<MemoObject*>(&o); memo && !is(m, "SELECTALL")
                   && !is(m, "GOTOTEXTEND") && !is(m, "GOTOTEXTBEGIN")) {
            QPlainTextEdit* t = memo->memo().textEdit();
            if (is(m, "COPYTOCLIPBOARD"))
                t->copy();
            else if (is(m, "PASTEFROMCLIPBOARD"))
                t->paste();
            else if (is(m, "CUTTOCLIPBOARD"))
                t->cut();
            else if (is(m, "CLEARSELECTION"))
                t->textCursor().removeSelectedText();
            else if (is(m, "GOTOLINEEND") || is(m, "GOTOLINEBEGIN"))
                t->moveCursor(is(m, "GOTOLINEEND") ? QTextCursor::EndOfLine : QTextCursor::StartOfLine);
            else if (is(m, "UNDO"))
                t->undo();
        } else if (is(m, "CLEAR")) {
            if (auto* list = dynamic_cast<ListControl*>(&o))
                list->clearLines();
        } else if (is(m, "LISTITEMS.GET")) {
            if (auto* list = dynamic_cast<ListControl*>(&o))
                return objectValue(list->item(argInt(c, 0)));
        } else if (is(m, "DROPDOWN")) {
            if (auto* combo = dynamic_cast<CustomComboBoxObject*>(&o))
                combo->combo().dropDown();
        }
    } else if (ClassType == &CustomEditObject::staticClassInfo()) {
        auto& e = self<CustomEditObject>(Instance);
        QLineEdit* line = e.edit().lineEdit();
        if (is(m, "CLEARSELECTION"))
            line->del();
        else if (is(m, "COPYTOCLIPBOARD"))
            line->copy();
        else if (is(m, "CUTTOCLIPBOARD"))
            line->cut();
        else if (is(m, "PASTEFROMCLIPBOARD"))
            line->paste();
        else if (is(m, "SELECTALL"))
            line->selectAll();
        else if (is(m, "GETCHARX")) {
            const int i = std::clamp(argInt(c, 0), 0, int(line->text().size()));
            // The text starts after the frame and the edit's inner margin of two pixels.
            return Value(QFontMetricsF(line->font()).horizontalAdvance(line->text().left(i))
                         + double(line->contentsRect().left() + line->textMargins().left() + 2));
        } else if (is(m, "CONTENTRECT"))
            return rectValue(QRectF(line->contentsRect().marginsRemoved(line->textMargins())));
    } else if (ClassType == &StyledControl::staticClassInfo()) {
        // There are no style resources here: none is found, and applying a style lookup
        // only tells the script it happened.
        if (is(m, "APPLYSTYLELOOKUP"))
            self<StyledControl>(Instance).notifyStyleApplied();
        return Value(0);
    } else if (ClassType == &FormObject::staticClassInfo()) {
        auto& f = self<FormObject>(Instance);
        platform::ui::Form& w = f.window();
        if (is(m, "CREATENEW")) {
            if (auto* owner = argAs<Component>(c, 0))
                owner->InsertComponent(&f);
            return objectValue(&f);
        }
        if (is(m, "SETBOUNDS")) {
            w.setGeometry(argInt(c, 0), argInt(c, 1), std::max(0, argInt(c, 2)), std::max(0, argInt(c, 3)));
            ControlObject::deliverHeldResizes(&w);
        }
        else if (is(m, "CLIENTTOSCREEN"))
            return pointValue(QPointF(w.mapToGlobal(argAs<TfsPointF>(c, 0)->GetRect().toPoint())));
        else if (is(m, "SCREENTOCLIENT"))
            return pointValue(QPointF(w.mapFromGlobal(argAs<TfsPointF>(c, 0)->GetRect().toPoint())));
        else if (is(m, "CLOSEQUERY"))
            return Value(f.CloseQuery());
        else if (is(m, "CLIENTRECT"))
            return rectValue(QRectF(w.rect()));
        else if (is(m, "CLOSE") || is(m, "CLOSEMODAL"))
            w.close();
        else if (is(m, "SHOW"))
            w.show();
        else if (is(m, "HIDE"))
            w.hide();
        else if (is(m, "SHOWMODAL"))
            return Value(w.showModal());
        else if (is(m, "INVALIDATE"))
            w.update();
        else if (is(m, "RELEASE")) {
            w.hide();
            FormObject* p = &f;
            QMetaObject::invokeMethod(
                qApp, [p] { if (liveForms().contains(p)) delete p; }, Qt::QueuedConnection);
        }
    } else if (ClassType == &ApplicationObject::staticClassInfo()) {
        if (is(m, "PROCESSMESSAGES"))
            QCoreApplication::processEvents();
    }
    return Value(0);
}

Value TFunctions::ReadProperty(TfsObject Instance, TfsClass ClassType, const QString& p)
{
    if (ClassType == &ControlObject::staticClassInfo()) {
        auto& o = self<ControlObject>(Instance);
        const QRectF local(0, 0, o.Width(), o.Height());
        if (is(p, "BOUNDSRECT") || is(p, "PARENTEDRECT"))
            return rectValue(QRectF(o.X(), o.Y(), o.Width(), o.Height()));
        if (is(p, "LOCALRECT") || is(p, "CLIPRECT"))
            return rectValue(local);
        if (is(p, "ABSOLUTERECT"))
            return rectValue(absoluteRect(o));
        if (is(p, "ABSOLUTEWIDTH"))
            return Value(double(o.Width()));
        if (is(p, "ABSOLUTEHEIGHT"))
            return Value(double(o.Height()));
        if (is(p, "ABSOLUTEOPACITY")) {
            double opacity = 1;
            for (FmxObject* f = &o; f; f = f->Parent())
                if (auto* k = dynamic_cast<ControlObject*>(f))
                    opacity *= k->Opacity();
            return Value(opacity);
        }
        if (is(p, "ABSOLUTEMATRIX"))
            return objectValue(new TfsMatrix(QTransform::fromTranslate(absoluteRect(o).left(), absoluteRect(o).top())));
        if (is(p, "INVERTABSOLUTEMATRIX"))
            return objectValue(
                new TfsMatrix(QTransform::fromTranslate(-absoluteRect(o).left(), -absoluteRect(o).top())));
        if (is(p, "ABSOLUTESCALE"))
            return pointValue(QPointF(1, 1));
        // No effects exist on this platform.
        if (is(p, "HASEFFECT") || is(p, "HASDISABLEPAINTEFFECT") || is(p, "HASAFTERPAINTEFFECT"))
            return Value(false);
        if (is(p, "INPAINTTO"))
            return Value(o.inPaintTo);
        if (is(p, "AUTOCAPTURE"))
            return Value(o.AutoCapture);
        if (is(p, "DISABLEFOCUSEFFECT"))
            return Value(o.DisableFocusEffect);
        if (is(p, "UPDATERECT"))
            return rectValue(absoluteRect(o));
        if (is(p, "CHILDRENRECT")) {
            QRectF r = local;
            for (FmxObject* child : o.children())
                if (auto* k = dynamic_cast<ControlObject*>(child))
                    r = r.united(QRectF(k->X(), k->Y(), k->Width(), k->Height()));
            return rectValue(r);
        }
        if (is(p, "ABSOLUTEENABLED"))
            return Value(o.control().widget() && o.control().widget()->isEnabled());
        if (is(p, "PARENTEDVISIBLE"))
            return Value(o.control().widget() && o.control().widget()->isVisible());
        if (is(p, "CANFOCUS"))
            return Value(o.CanFocus());
        if (is(p, "TABORDER"))
            return Value(o.TabOrder());
        if (is(p, "CANVAS"))
            return objectValue(o.canvas() ? o.canvas() : o.form() ? o.form()->canvas() : nullptr);
    } else if (ClassType == &StyledControl::staticClassInfo()) {
        if (is(p, "STYLELOOKUP"))
            return Value(self<StyledControl>(Instance).StyleLookup());
    } else if (ClassType == &CustomEditObject::staticClassInfo()) {
        auto& e = self<CustomEditObject>(Instance);
        QLineEdit* line = e.edit().lineEdit();
        if (is(p, "CARETPOSITION"))
            return Value(line->cursorPosition());
        if (is(p, "SELSTART"))
            return Value(line->hasSelectedText() ? line->selectionStart() : line->cursorPosition());
        if (is(p, "SELLENGTH"))
            return Value(int(line->selectedText().size()));
        if (is(p, "MAXLENGTH"))
            return Value(e.edit().maxLength());
        if (is(p, "SELTEXT"))
            return Value(line->selectedText());
        if (is(p, "FILTERCHAR"))
            return Value(e.FilterChar);
        if (is(p, "TYPING"))
            return Value(e.Typing);
    } else if (ClassType == &ListControl::staticClassInfo() || ClassType == &CustomComboBoxObject::staticClassInfo()) {
        auto& l = self<ListControl>(Instance);
        if (is(p, "COUNT"))
            return Value(l.items().Count());
        if (is(p, "SELECTED"))
            return objectValue(l.item(l.ItemIndex()));
        if (is(p, "ITEMS"))
            return objectValue(&l.items());
        if (is(p, "ITEMINDEX"))
            return Value(l.ItemIndex());
        if (is(p, "PARENT"))
            return objectValue(l.Parent());
    } else if (ClassType == &MemoObject::staticClassInfo()) {
        auto& memo = self<MemoObject>(Instance);
        const QTextCursor cursor = memo.memo().textEdit()->textCursor();
        if (is(p, "PARENT"))
            return objectValue(memo.Parent());
        if (is(p, "SELSTART"))
            return Value(cursor.selectionStart());
        if (is(p, "SELLENGTH"))
            return Value(cursor.selectionEnd() - cursor.selectionStart());
        if (is(p, "SELTEXT"))
            return Value(cursor.selectedText().replace(QChar(0x2029), QStringLiteral("\r\n")));
    } else if (ClassType == &ListBoxItemObject::staticClassInfo()) {
        auto& item = self<ListBoxItemObject>(Instance);
        if (is(p, "DATA"))
            return item.data;
        if (is(p, "INDEX"))
            return Value(item.Index());
    } else if (ClassType == &CustomForm::staticClassInfo()) {
        auto& f = self<FormObject>(Instance);
        if (is(p, "MODALRESULT"))
            return Value(f.ModalResult());
        if (is(p, "CANVAS"))
            return objectValue(f.canvas());
    }
    return Value(0);
}

void TFunctions::WriteProperty(TfsObject Instance, TfsClass ClassType, const QString& p, const Value& v)
{
    if (ClassType == &MemoObject::staticClassInfo() || ClassType == &ListControl::staticClassInfo()
        || ClassType == &CustomComboBoxObject::staticClassInfo()) {
        auto& o = self<FmxObject>(Instance);
        if (is(p, "PARENT")) {
            o.SetParent(valueAs<FmxObject>(v));
            return;
        }
        if (is(p, "INDEX")) {
            o.SetIndex(v.toInt());
            return;
        }
    }
    if (ClassType == &MemoObject::staticClassInfo() && (is(p, "SELSTART") || is(p, "SELLENGTH"))) {
        QPlainTextEdit* t = self<MemoObject>(Instance).memo().textEdit();
        QTextCursor cursor = t->textCursor();
        const int end = t->document()->characterCount() - 1;
        if (is(p, "SELSTART")) {
            cursor.setPosition(std::clamp(v.toInt(), 0, end));
        } else {
            const int start = cursor.selectionStart();
            cursor.setPosition(start);
            cursor.setPosition(std::clamp(start + v.toInt(), 0, end), QTextCursor::KeepAnchor);
        }
        t->setTextCursor(cursor);
        return;
    }
    if (ClassType == &ListBoxItemObject::staticClassInfo()) {
        auto& item = self<ListBoxItemObject>(Instance);
        if (is(p, "DATA"))
            item.data = v;
        else if (is(p, "INDEX") && item.list() && item.Index() < item.list()->items().Count()) {
            ListControl* list = item.list();
            list->items().Move(item.Index(), std::clamp(v.toInt(), 0, list->items().Count() - 1));
        }
        return;
    }
    if (ClassType == &ControlObject::staticClassInfo()) {
        auto& o = self<ControlObject>(Instance);
        if (is(p, "CANFOCUS"))
            o.SetCanFocus(v.toBool());
        else if (is(p, "AUTOCAPTURE"))
            o.AutoCapture = v.toBool();
        else if (is(p, "DISABLEFOCUSEFFECT"))
            o.DisableFocusEffect = v.toBool();
        else if (is(p, "TABORDER"))
            o.SetTabOrder(v.toInt());
        else if (is(p, "BOUNDSRECT")) {
            if (auto* r = valueAs<TfsRectF>(v)) {
                const QRect rect = r->GetRect().toRect();
                o.SetBounds(rect.x(), rect.y(), rect.width(), rect.height());
            }
        }
    } else if (ClassType == &StyledControl::staticClassInfo()) {
        if (is(p, "STYLELOOKUP"))
            self<StyledControl>(Instance).SetStyleLookup(v.toString());
    } else if (ClassType == &CustomEditObject::staticClassInfo()) {
        auto& e = self<CustomEditObject>(Instance);
        QLineEdit* line = e.edit().lineEdit();
        if (is(p, "CARETPOSITION"))
            line->setCursorPosition(v.toInt());
        else if (is(p, "SELSTART"))
            line->setSelection(v.toInt(), 0);
        else if (is(p, "SELLENGTH"))
            line->setSelection(line->hasSelectedText() ? line->selectionStart() : line->cursorPosition(), v.toInt());
        else if (is(p, "MAXLENGTH"))
            e.edit().setMaxLength(v.toInt());
        else if (is(p, "FILTERCHAR"))
            e.FilterChar = v.toString();
        else if (is(p, "TYPING"))
            e.Typing = v.toBool();
    } else if (ClassType == &ListControl::staticClassInfo() || ClassType == &CustomComboBoxObject::staticClassInfo()) {
        auto& l = self<ListControl>(Instance);
        if (is(p, "ITEMS"))
            l.SetItems(valueAs<Strings>(v));
        else if (is(p, "ITEMINDEX"))
            l.SetItemIndex(v.toInt());
    } else if (ClassType == &CustomForm::staticClassInfo()) {
        if (is(p, "MODALRESULT"))
            self<FormObject>(Instance).SetModalResult(v.toInt());
    }
}

} // namespace forms

} // namespace orv::script::bridges
