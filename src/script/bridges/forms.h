#pragma once
// Windows and controls that scripts create: each script object owns one of the
// program's controls (or a window) and gives it to scripts with the published
// properties, members and events the forms bridge registers.
#include "platform/ui/form.h"
#include "script/bridges/classlib.h"
#include "script/bridges/events.h"

#include <QPointer>
#include <map>
#include <memory>

class QAbstractAnimation;

// An event property: the bound adapter is read back as the setter takes it.
#define ORV_EVENT_PROPERTY(Name)                                                  \
    QVariant Name() const { return handler(QStringLiteral(#Name)); }              \
    void Set##Name(const QVariant& h) { bind(QStringLiteral(#Name), h); }

// A published value kept by the script object alone.
#define ORV_STORED_PROPERTY(T, Name, Init)                     \
public:                                                        \
    T Name() const { return m_##Name; }                        \
    void Set##Name(const T& v) { m_##Name = v; }               \
                                                               \
private:                                                       \
    T m_##Name = Init;                                         \
                                                               \
public:

namespace orv::script::bridges {

class FormObject;
class CanvasObject;

// The framework object: a component with a parent and children.
class FmxObject : public platform::Component, public EventTarget {
    ORV_RTTI_CLASS(FmxObject)
public:
    using platform::Component::Component;
    ~FmxObject() override;
    FmxObject* Parent() const { return m_parent; }
    virtual void SetParent(FmxObject* parent);
    const std::vector<FmxObject*>& children() const { return m_children; }
    int Index() const;
    void SetIndex(int index);
    // The widget children go into; nullptr when this object takes none.
    virtual QWidget* container() const { return nullptr; }
    // The window this object lies on.
    FormObject* form();
    void BringToFront();
    void SendToBack();

    // The object with its published values and its children, as text or in binary
    // form; reading one back sets this object's values and makes its children anew.
    void saveToStream(Stream& st, bool binary) const;
    void loadFromStream(Stream& st, bool binary);
    // Reads an object from a binary stream and adds it as a new child.
    void addChildFromStream(Stream& st);
    // A copy with the same published values and copies of the children, owned by owner.
    FmxObject* clone(platform::Component* owner) const;
    // The controls in tab order, with their own controls after each when `children`.
    void tabOrderList(List& list, bool children) const;

    // Moves a published value (a dotted path such as "Position.X" reaches into an
    // object property) to `target` over `seconds`, after `delay` seconds; a colour
    // moves channel by channel. `wait`: returns when the value has arrived. Animation
    // type (in, out, in and out) and interpolation are the ordinals of their names.
    void animate(const QString& property, const QVariant& target, double seconds, double delay, int type,
                 int interpolation, bool colour, bool wait);
    // Stops the animation of that value, leaving the value where it was going.
    void stopPropertyAnimation(const QString& property);

protected:
    virtual void restack() {}
    void stopAnimations();

private:
    FmxObject* m_parent = nullptr;
    std::vector<FmxObject*> m_children;
    struct Animation {
        std::unique_ptr<QAbstractAnimation> run;
        std::function<void()> finish;
    };
    std::map<QString, Animation> m_animations;
};

// A class of the forms module by name, for objects read back from streams.
const platform::rtti::ClassInfo* scriptControlClass(const QString& name);

class ControlObject;

// A control's position as scripts reach it (Position.X, Position.Y): it reads and moves
// the control itself.
class PositionObject : public platform::Persistent {
    ORV_RTTI_CLASS(PositionObject)
public:
    explicit PositionObject(ControlObject* control = nullptr) : m_control(control) {}
    float X() const;
    void SetX(float v);
    float Y() const;
    void SetY(float v);
    void Assign(const platform::Persistent* Source) override;

private:
    ControlObject* m_control;
};

class ControlObject : public FmxObject {
    ORV_RTTI_CLASS(ControlObject)
public:
    // Only the kinds of control are made.
    ~ControlObject() override = 0;
    platform::ui::Control& control() const { return *m_control; }
    // The control's widget carries the name, so that it can be found by it.
    void SetName(const QString& NewName) override;
    void SetParent(FmxObject* parent) override;
    QWidget* container() const override { return m_container ? m_control->widget() : nullptr; }

    float X() const { return float(m_control->left()); }
    void SetX(float v) { m_control->setPosition(int(v), m_control->top()); }
    float Y() const { return float(m_control->top()); }
    void SetY(float v) { m_control->setPosition(m_control->left(), int(v)); }
    float Width() const { return float(m_control->width()); }
    void SetWidth(float v) { SetBounds(m_control->left(), m_control->top(), int(v), m_control->height()); }
    float Height() const { return float(m_control->height()); }
    void SetHeight(float v) { SetBounds(m_control->left(), m_control->top(), m_control->width(), int(v)); }
    // Aligned children follow at once, on screen or not.
    void SetBounds(int x, int y, int w, int h);
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);
    bool Enabled() const { return m_control->enabled(); }
    void SetEnabled(bool v) { m_control->setEnabled(v); }
    bool CanFocus() const { return m_canFocus; }
    void SetCanFocus(bool v);
    int TabOrder() const { return Index(); }
    void SetTabOrder(int v) { SetIndex(v); }

    // Event properties.
    QVariant OnClick() const { return handler(QStringLiteral("OnClick")); }
    void SetOnClick(const QVariant& h) { bind(QStringLiteral("OnClick"), h); }
    QVariant OnDblClick() const { return handler(QStringLiteral("OnDblClick")); }
    void SetOnDblClick(const QVariant& h) { bind(QStringLiteral("OnDblClick"), h); }
    QVariant OnEnter() const { return handler(QStringLiteral("OnEnter")); }
    void SetOnEnter(const QVariant& h) { bind(QStringLiteral("OnEnter"), h); }
    QVariant OnExit() const { return handler(QStringLiteral("OnExit")); }
    void SetOnExit(const QVariant& h) { bind(QStringLiteral("OnExit"), h); }
    QVariant OnCanFocus() const { return handler(QStringLiteral("OnCanFocus")); }
    void SetOnCanFocus(const QVariant& h) { bind(QStringLiteral("OnCanFocus"), h); }
    QVariant OnKeyDown() const { return handler(QStringLiteral("OnKeyDown")); }
    void SetOnKeyDown(const QVariant& h) { bind(QStringLiteral("OnKeyDown"), h); }
    QVariant OnKeyUp() const { return handler(QStringLiteral("OnKeyUp")); }
    void SetOnKeyUp(const QVariant& h) { bind(QStringLiteral("OnKeyUp"), h); }
    QVariant OnMouseDown() const { return handler(QStringLiteral("OnMouseDown")); }
    void SetOnMouseDown(const QVariant& h) { bind(QStringLiteral("OnMouseDown"), h); }
    QVariant OnMouseUp() const { return handler(QStringLiteral("OnMouseUp")); }
    void SetOnMouseUp(const QVariant& h) { bind(QStringLiteral("OnMouseUp"), h); }
    QVariant OnMouseMove() const { return handler(QStringLiteral("OnMouseMove")); }
    void SetOnMouseMove(const QVariant& h) { bind(QStringLiteral("OnMouseMove"), h); }
    ORV_EVENT_PROPERTY(OnMouseWheel)
    ORV_EVENT_PROPERTY(OnMouseEnter)
    ORV_EVENT_PROPERTY(OnMouseLeave)
    QVariant OnDragEnter() const { return handler(QStringLiteral("OnDragEnter")); }
    void SetOnDragEnter(const QVariant& h) { bindDrag(QStringLiteral("OnDragEnter"), h); }
    ORV_EVENT_PROPERTY(OnDragLeave)
    QVariant OnDragOver() const { return handler(QStringLiteral("OnDragOver")); }
    void SetOnDragOver(const QVariant& h) { bindDrag(QStringLiteral("OnDragOver"), h); }
    QVariant OnDragDrop() const { return handler(QStringLiteral("OnDragDrop")); }
    void SetOnDragDrop(const QVariant& h) { bindDrag(QStringLiteral("OnDragDrop"), h); }
    ORV_EVENT_PROPERTY(OnDragEnd)
    ORV_EVENT_PROPERTY(OnResize)
    ORV_EVENT_PROPERTY(OnApplyStyleLookup)
    QVariant OnPainting() const { return handler(QStringLiteral("OnPainting")); }
    void SetOnPainting(const QVariant& h);
    QVariant OnPaint() const { return handler(QStringLiteral("OnPaint")); }
    void SetOnPaint(const QVariant& h);

    PositionObject* Position() const { return m_position.get(); }
    void SetPosition(PositionObject* p) { if (p) m_position->Assign(p); }
    // The layout ordinals: alNone 0, alTop 1, alLeft 2, alRight 3, alBottom 4, ...,
    // alClient 9; an aligned control follows its parent's size.
    int Align() const { return m_align; }
    void SetAlign(int v);
    // Lays out the aligned children of a parent in its container.
    static void alignChildren(FmxObject* parent);
    // A widget off screen hears of its new size only when it is shown; this delivers the
    // resizes it holds back now, outer widgets first, so that what follows a size (aligned
    // controls) follows at once.
    static void deliverHeldResizes(QWidget* w);
    // Locked controls (Lock) keep their place under a designer; kept for the script.
    bool Locked() const { return m_locked; }
    void SetLocked(bool v) { m_locked = v; }
    bool AutoCapture = false;
    bool DisableFocusEffect = false;
    // True while PaintTo paints the control elsewhere.
    bool inPaintTo = false;
    // dmManual 0, dmAutomatic 1.
    int DragMode() const { return m_control->dragAutomatic() ? 1 : 0; }
    void SetDragMode(int v) { m_control->setDragAutomatic(v == 1); }
    QString Hint() const { return m_control->hint(); }
    void SetHint(const QString& v) { m_control->setHint(v); }
    float Opacity() const { return float(m_control->opacity()); }
    void SetOpacity(float v) { m_control->setOpacity(v); }
    // The canvas while the control paints, nullptr otherwise.
    CanvasObject* canvas() const { return m_canvas; }
    // The script object of a control of the platform, or nullptr.
    static ControlObject* of(const platform::ui::Control* c);

protected:
    // Takes the control over; `container`: other controls may be placed inside it.
    ControlObject(platform::ui::Control* control, bool container, platform::Component* owner);
    // Runs a notify event of this object.
    void notify(const char* event);

private:
    std::unique_ptr<platform::ui::Control> m_control;
    bool m_container;
    bool m_visible = true;
    bool m_canFocus = true;
    QPointer<platform::ui::Form> m_attachedTo;
    CanvasObject* m_canvas = nullptr;
    std::unique_ptr<PositionObject> m_position;
    int m_align = 0;
    bool m_locked = false;
    void paint(const char* event, QPainter& painter, const QRectF& rect);
    // Binds a drag handler; a control with one takes drags from other programs too.
    void bindDrag(const QString& event, const QVariant& h);
};

class StyledControl : public ControlObject {
    ORV_RTTI_CLASS(StyledControl)
public:
    ~StyledControl() override = 0;
    QString StyleLookup() const { return m_styleLookup; }
    void SetStyleLookup(const QString& v) { m_styleLookup = v; }
    void notifyStyleApplied() { notify("OnApplyStyleLookup"); }

protected:
    using ControlObject::ControlObject;

private:
    QString m_styleLookup;
};

class TextControl : public StyledControl {
    ORV_RTTI_CLASS(TextControl)
public:
    virtual QString Text() const = 0;
    virtual void SetText(const QString& t) = 0;

protected:
    using StyledControl::StyledControl;
};

class LabelObject : public TextControl {
    ORV_RTTI_CLASS(LabelObject)
public:
    explicit LabelObject(platform::Component* AOwner = nullptr);
    QString Text() const override;
    void SetText(const QString& t) override;
};

// Buttons: a click also gives the window the button's modal result, when it has one.
class CustomButtonObject : public TextControl {
    ORV_RTTI_CLASS(CustomButtonObject)
public:
    ~CustomButtonObject() override = 0;
    QString Text() const override;
    void SetText(const QString& t) override;
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int v) { m_modalResult = v; }

protected:
    CustomButtonObject(platform::ui::Control* control, platform::Component* owner);

private:
    int m_modalResult = 0;
};

class ButtonObject : public CustomButtonObject {
    ORV_RTTI_CLASS(ButtonObject)
public:
    explicit ButtonObject(platform::Component* AOwner = nullptr);
};

// A button that never takes the focus; with StaysPressed it stays down until clicked
// again, and pressing one of a group releases the others.
class SpeedButtonObject : public CustomButtonObject {
    ORV_RTTI_CLASS(SpeedButtonObject)
public:
    explicit SpeedButtonObject(platform::Component* AOwner = nullptr);
    bool StaysPressed() const;
    void SetStaysPressed(bool v);
    bool IsPressed() const;
    void SetIsPressed(bool v);
    ORV_STORED_PROPERTY(QString, GroupName, QString())
};

class ExpanderButtonObject : public CustomButtonObject {
    ORV_RTTI_CLASS(ExpanderButtonObject)
public:
    explicit ExpanderButtonObject(platform::Component* AOwner = nullptr);
    platform::ui::ExpanderButton& button() const { return static_cast<platform::ui::ExpanderButton&>(control()); }
    bool IsPressed() const { return button().isPressed(); }
    void SetIsPressed(bool v) { button().setPressed(v); }
};

// Radio buttons of one window and one GroupName exclude each other.
class RadioButtonObject : public TextControl {
    ORV_RTTI_CLASS(RadioButtonObject)
public:
    explicit RadioButtonObject(platform::Component* AOwner = nullptr);
    ~RadioButtonObject() override;
    platform::ui::RadioButton& radio() const { return static_cast<platform::ui::RadioButton&>(control()); }
    QString Text() const override { return radio().text(); }
    void SetText(const QString& t) override { radio().setText(t); }
    bool IsChecked() const { return radio().isChecked(); }
    void SetIsChecked(bool v) { radio().setChecked(v); }
    ORV_STORED_PROPERTY(QString, GroupName, QString())
    ORV_EVENT_PROPERTY(OnChange)
};

class ExpanderObject : public TextControl {
    ORV_RTTI_CLASS(ExpanderObject)
public:
    explicit ExpanderObject(platform::Component* AOwner = nullptr);
    platform::ui::Expander& expander() const { return static_cast<platform::ui::Expander&>(control()); }
    QWidget* container() const override { return expander().content(); }
    QString Text() const override { return expander().text(); }
    void SetText(const QString& t) override { expander().setText(t); }
    bool IsExpanded() const { return expander().expanded(); }
    void SetIsExpanded(bool v) { expander().setExpanded(v); }
    bool ShowCheck() const { return expander().checkVisible(); }
    void SetShowCheck(bool v) { expander().setCheckVisible(v); }
    bool IsChecked() const { return expander().isChecked(); }
    void SetIsChecked(bool v) { expander().setChecked(v); }
    ORV_EVENT_PROPERTY(OnCheckChange)
};

class CheckBoxObject : public TextControl {
    ORV_RTTI_CLASS(CheckBoxObject)
public:
    explicit CheckBoxObject(platform::Component* AOwner = nullptr);
    QString Text() const override;
    void SetText(const QString& t) override;
    bool IsChecked() const;
    void SetIsChecked(bool v);
    QVariant OnChange() const { return handler(QStringLiteral("OnChange")); }
    void SetOnChange(const QVariant& h) { bind(QStringLiteral("OnChange"), h); }
};

class GroupBoxObject : public TextControl {
    ORV_RTTI_CLASS(GroupBoxObject)
public:
    explicit GroupBoxObject(platform::Component* AOwner = nullptr);
    QString Text() const override;
    void SetText(const QString& t) override;
};

class PanelObject : public StyledControl {
    ORV_RTTI_CLASS(PanelObject)
public:
    explicit PanelObject(platform::Component* AOwner = nullptr);
};

// A panel with a pointer on one side; the pointer's place and size are kept for the
// script.
class CalloutPanelObject : public PanelObject {
    ORV_RTTI_CLASS(CalloutPanelObject)
public:
    explicit CalloutPanelObject(platform::Component* AOwner = nullptr);
    // cpTop 0, cpLeft 1, cpBottom 2, cpRight 3.
    int CalloutPosition() const { return m_side; }
    void SetCalloutPosition(int v) { m_side = v; show(); }
    float CalloutWidth() const { return m_width; }
    void SetCalloutWidth(float v) { m_width = v; show(); }
    float CalloutLength() const { return m_length; }
    void SetCalloutLength(float v) { m_length = v; show(); }
    float CalloutOffset() const { return m_offset; }
    void SetCalloutOffset(float v) { m_offset = v; show(); }
    // A fill colour, as the panel's background.
    int Fill() const { return int(m_fill); }
    void SetFill(int v);

private:
    void show();
    int m_side = 0;
    float m_width = 23, m_length = 11, m_offset = 0;
    quint32 m_fill = 0xFFFFFFFF;
};

// Bars, grips, splitters and thumbs: plain areas other controls may go into.
class ToolBarObject : public StyledControl {
    ORV_RTTI_CLASS(ToolBarObject)
public:
    explicit ToolBarObject(platform::Component* AOwner = nullptr);
};

class SizeGripObject : public StyledControl {
    ORV_RTTI_CLASS(SizeGripObject)
public:
    explicit SizeGripObject(platform::Component* AOwner = nullptr);
};

class SplitterObject : public StyledControl {
    ORV_RTTI_CLASS(SplitterObject)
public:
    explicit SplitterObject(platform::Component* AOwner = nullptr);
};

class ThumbObject : public StyledControl {
    ORV_RTTI_CLASS(ThumbObject)
public:
    explicit ThumbObject(platform::Component* AOwner = nullptr);
};

// A bar filled in proportion to Value between Min and Max.
class ProgressBarObject : public StyledControl {
    ORV_RTTI_CLASS(ProgressBarObject)
public:
    explicit ProgressBarObject(platform::Component* AOwner = nullptr);
    float Min() const;
    void SetMin(float v);
    float Max() const;
    void SetMax(float v);
    float Value() const;
    void SetValue(float v);
};

// A bar along the bottom of its window.
class StatusBarObject : public StyledControl {
    ORV_RTTI_CLASS(StatusBarObject)
public:
    explicit StatusBarObject(platform::Component* AOwner = nullptr);
    ORV_STORED_PROPERTY(bool, ShowSizeGrip, false)
};

class AniIndicatorObject : public StyledControl {
    ORV_RTTI_CLASS(AniIndicatorObject)
public:
    explicit AniIndicatorObject(platform::Component* AOwner = nullptr);
    platform::ui::ActivityIndicator& indicator() const { return static_cast<platform::ui::ActivityIndicator&>(control()); }
    // Enabled: the indicator moves.
    bool Running() const { return indicator().running(); }
    void SetRunning(bool v) { indicator().setRunning(v); }
    // aiLinear 0, aiCircular 1.
    ORV_STORED_PROPERTY(int, Style, 0)
};

class BitmapObject;

// A picture the user sees; assigning a bitmap shows a copy of it.
class ImageControlObject : public StyledControl {
    ORV_RTTI_CLASS(ImageControlObject)
public:
    explicit ImageControlObject(platform::Component* AOwner = nullptr);
    ~ImageControlObject() override;
    BitmapObject* Bitmap() const { return m_bitmap.get(); }
    void SetBitmap(BitmapObject* b);
    ORV_EVENT_PROPERTY(OnChange)

private:
    std::unique_ptr<BitmapObject> m_bitmap;
};

// A shape given as path data ("M 0 0 L 10 0 L 5 8 Z"), scaled to the control.
class PathLabelObject : public StyledControl {
    ORV_RTTI_CLASS(PathLabelObject)
public:
    explicit PathLabelObject(platform::Component* AOwner = nullptr);
    platform::ui::PathShape& shape() const { return static_cast<platform::ui::PathShape&>(control()); }
    QString Data() const { return m_data; }
    void SetData(const QString& d);
    int Fill() const { return int(shape().fill().rgba()); }
    void SetFill(int c) { shape().setFill(QColor::fromRgba(quint32(c))); }

private:
    QString m_data;
};

// A module of non-visual components.
class DataModuleObject : public platform::Component {
    ORV_RTTI_CLASS(DataModuleObject)
public:
    using platform::Component::Component;
};

class CustomEditObject : public StyledControl {
    ORV_RTTI_CLASS(CustomEditObject)
public:
    explicit CustomEditObject(platform::Component* AOwner = nullptr);
    platform::ui::Edit& edit() const { return static_cast<platform::ui::Edit&>(control()); }
    QString Text() const { return edit().text(); }
    void SetText(const QString& t) { edit().setText(t); }
    bool ReadOnly() const { return edit().readOnly(); }
    void SetReadOnly(bool v) { edit().setReadOnly(v); }
    QString FilterChar;
    bool Typing = false;
    QVariant OnChange() const { return handler(QStringLiteral("OnChange")); }
    void SetOnChange(const QVariant& h) { bind(QStringLiteral("OnChange"), h); }
    QVariant OnChangeTracking() const { return handler(QStringLiteral("OnChangeTracking")); }
    void SetOnChangeTracking(const QVariant& h) { bind(QStringLiteral("OnChangeTracking"), h); }
    QVariant OnTyping() const { return handler(QStringLiteral("OnTyping")); }
    void SetOnTyping(const QVariant& h) { bind(QStringLiteral("OnTyping"), h); }
};

class EditObject : public CustomEditObject {
    ORV_RTTI_CLASS(EditObject)
public:
    using CustomEditObject::CustomEditObject;
};

// Scrolling controls: memos and list boxes reach the members of every control through it.
class ScrollBoxObject : public StyledControl {
    ORV_RTTI_CLASS(ScrollBoxObject)
public:
    ~ScrollBoxObject() override = 0;

protected:
    using StyledControl::StyledControl;
};

class MemoObject : public ScrollBoxObject {
    ORV_RTTI_CLASS(MemoObject)
public:
    explicit MemoObject(platform::Component* AOwner = nullptr);
    platform::ui::Memo& memo() const { return static_cast<platform::ui::Memo&>(control()); }
    QString Text() const { return memo().text(); }
    void SetText(const QString& t) { memo().setText(t); }
    QVariant OnChange() const { return handler(QStringLiteral("OnChange")); }
    void SetOnChange(const QVariant& h) { bind(QStringLiteral("OnChange"), h); }
};

class ListControl;

// An item of a list box, as Selected and ListItems give it.
class ListBoxItemObject : public platform::rtti::Object {
    ORV_RTTI_CLASS(ListBoxItemObject)
public:
    QString Text() const { return m_text; }
    int Index() const { return m_index; }
    Value data = Value(0);
    ListControl* list() const { return m_list; }

private:
    friend class ListControl;
    QString m_text;
    int m_index = 0;
    ListControl* m_list = nullptr;
};

// List boxes and combo boxes share their line list and item objects.
class ListControl : public ScrollBoxObject {
    ORV_RTTI_CLASS(ListControl)
public:
    ~ListControl() override;
    Strings& items() { return m_items; }
    // Shows the lines of the list object (after a script changed them).
    void SetItems(const Strings* source);
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int i) = 0;
    // The item object of a line (made when first asked for); nullptr outside the list.
    ListBoxItemObject* item(int index);
    virtual void clearLines() = 0;
    QVariant OnChange() const { return handler(QStringLiteral("OnChange")); }
    void SetOnChange(const QVariant& h) { bind(QStringLiteral("OnChange"), h); }

protected:
    using ScrollBoxObject::ScrollBoxObject;
    virtual void showLines(const QStringList& lines) = 0;
    void resetItems();

private:
    ShownStrings m_items{[this] { resetItems(); }};
    std::vector<std::unique_ptr<ListBoxItemObject>> m_itemObjects;
};

class ListBoxObject : public ListControl {
    ORV_RTTI_CLASS(ListBoxObject)
public:
    explicit ListBoxObject(platform::Component* AOwner = nullptr);
    platform::ui::ListBox& list() const { return static_cast<platform::ui::ListBox&>(control()); }
    int ItemIndex() const override { return list().itemIndex(); }
    void SetItemIndex(int i) override { list().setItemIndex(i); }
    void clearLines() override;

protected:
    void showLines(const QStringList& lines) override;
};

class CustomComboBoxObject : public ListControl {
    ORV_RTTI_CLASS(CustomComboBoxObject)
public:
    explicit CustomComboBoxObject(platform::Component* AOwner = nullptr);
    platform::ui::ComboEdit& combo() const { return static_cast<platform::ui::ComboEdit&>(control()); }
    int ItemIndex() const override { return combo().itemIndex(); }
    void SetItemIndex(int i) override { combo().setItemIndex(i); }
    void clearLines() override;
    ORV_EVENT_PROPERTY(OnDropDown)
    ORV_EVENT_PROPERTY(OnCloseUp)

protected:
    void showLines(const QStringList& lines) override;
};

class ComboBoxObject : public CustomComboBoxObject {
    ORV_RTTI_CLASS(ComboBoxObject)
public:
    using CustomComboBoxObject::CustomComboBoxObject;
};

// Track bars, tracks and their bitmap variant: a value between Min and Max.
class CustomTrackObject : public StyledControl {
    ORV_RTTI_CLASS(CustomTrackObject)
public:
    ~CustomTrackObject() override = 0;
    platform::ui::Slider& slider() const { return static_cast<platform::ui::Slider&>(control()); }
    float Min() const { return float(slider().min()); }
    void SetMin(float v) { slider().setMin(v); }
    float Max() const { return float(slider().max()); }
    void SetMax(float v) { slider().setMax(v); }
    float Value() const { return float(slider().value()); }
    void SetValue(float v) { slider().setValue(v); }
    float Frequency() const { return float(slider().smallChange()); }
    void SetFrequency(float v) { slider().setSmallChange(v); }
    // orHorizontal 0, orVertical 1.
    int Orientation() const { return slider().vertical() ? 1 : 0; }
    void SetOrientation(int v) { slider().setVertical(v == 1); }
    ORV_EVENT_PROPERTY(OnChange)
    ORV_EVENT_PROPERTY(OnTracking)

protected:
    CustomTrackObject(platform::ui::Slider::Kind kind, platform::Component* owner);
};

class TrackObject : public CustomTrackObject {
    ORV_RTTI_CLASS(TrackObject)
public:
    explicit TrackObject(platform::Component* AOwner = nullptr) : CustomTrackObject(platform::ui::Slider::Kind::Track, AOwner) {}
};

class TrackBarObject : public CustomTrackObject {
    ORV_RTTI_CLASS(TrackBarObject)
public:
    explicit TrackBarObject(platform::Component* AOwner = nullptr) : CustomTrackObject(platform::ui::Slider::Kind::Track, AOwner) {}
};

class BitmapTrackBarObject : public TrackBarObject {
    ORV_RTTI_CLASS(BitmapTrackBarObject)
public:
    using TrackBarObject::TrackBarObject;
};

class SwitchObject : public StyledControl {
    ORV_RTTI_CLASS(SwitchObject)
public:
    explicit SwitchObject(platform::Component* AOwner = nullptr);
    platform::ui::Switch& sw() const { return static_cast<platform::ui::Switch&>(control()); }
    bool IsChecked() const { return sw().isChecked(); }
    void SetIsChecked(bool v) { sw().setChecked(v); }
    ORV_EVENT_PROPERTY(OnSwitch)
    ORV_EVENT_PROPERTY(OnChange)
    ORV_EVENT_PROPERTY(OnTracking)
};

// Scroll bars and dials: a value between Min and Max moved by the user.
class ScrollBarObject : public StyledControl {
    ORV_RTTI_CLASS(ScrollBarObject)
public:
    explicit ScrollBarObject(platform::Component* AOwner = nullptr) : ScrollBarObject(platform::ui::Slider::Kind::ScrollBar, AOwner) {}
    platform::ui::Slider& slider() const { return static_cast<platform::ui::Slider&>(control()); }
    float Min() const { return float(slider().min()); }
    void SetMin(float v) { slider().setMin(v); }
    float Max() const { return float(slider().max()); }
    void SetMax(float v) { slider().setMax(v); }
    float Value() const { return float(slider().value()); }
    void SetValue(float v) { slider().setValue(v); }
    float SmallChange() const { return float(slider().smallChange()); }
    void SetSmallChange(float v) { slider().setSmallChange(v); }
    int Orientation() const { return slider().vertical() ? 1 : 0; }
    void SetOrientation(int v) { slider().setVertical(v == 1); }
    ORV_EVENT_PROPERTY(OnChange)

protected:
    ScrollBarObject(platform::ui::Slider::Kind kind, platform::Component* owner);
};

class SmallScrollBarObject : public ScrollBarObject {
    ORV_RTTI_CLASS(SmallScrollBarObject)
public:
    explicit SmallScrollBarObject(platform::Component* AOwner = nullptr);
};

class ArcDialObject : public ScrollBarObject {
    ORV_RTTI_CLASS(ArcDialObject)
public:
    explicit ArcDialObject(platform::Component* AOwner = nullptr) : ScrollBarObject(platform::ui::Slider::Kind::Dial, AOwner) {}
};

// A window made by a script.
class ScriptWindow;

class FormObject : public FmxObject {
    ORV_RTTI_CLASS(FormObject)
public:
    explicit FormObject(platform::Component* AOwner = nullptr);
    ~FormObject() override;
    platform::ui::Form& window() const;
    QWidget* container() const override;
    // The window carries the name too.
    void SetName(const QString& NewName) override;

    QString Caption() const;
    void SetCaption(const QString& v);
    int Left() const;
    void SetLeft(int v);
    int Top() const;
    void SetTop(int v);
    int Width() const;
    void SetWidth(int v);
    int Height() const;
    void SetHeight(int v);
    int ModalResult() const;
    void SetModalResult(int v);
    // The canvas while the window paints, nullptr otherwise.
    CanvasObject* canvas() const { return m_canvas; }
    bool CloseQuery();
    // Runs a notify event of the window.
    void notifyEvent(const char* event);

    QVariant OnClose() const { return handler(QStringLiteral("OnClose")); }
    void SetOnClose(const QVariant& h) { bind(QStringLiteral("OnClose"), h); }
    QVariant OnCloseQuery() const { return handler(QStringLiteral("OnCloseQuery")); }
    void SetOnCloseQuery(const QVariant& h) { bind(QStringLiteral("OnCloseQuery"), h); }
    QVariant OnShow() const { return handler(QStringLiteral("OnShow")); }
    void SetOnShow(const QVariant& h) { bind(QStringLiteral("OnShow"), h); }
    QVariant OnHide() const { return handler(QStringLiteral("OnHide")); }
    void SetOnHide(const QVariant& h) { bind(QStringLiteral("OnHide"), h); }
    QVariant OnPaint() const { return handler(QStringLiteral("OnPaint")); }
    void SetOnPaint(const QVariant& h) { bind(QStringLiteral("OnPaint"), h); }
    QVariant OnResize() const { return handler(QStringLiteral("OnResize")); }
    void SetOnResize(const QVariant& h) { bind(QStringLiteral("OnResize"), h); }
    QVariant OnDestroy() const { return handler(QStringLiteral("OnDestroy")); }
    void SetOnDestroy(const QVariant& h) { bind(QStringLiteral("OnDestroy"), h); }
    ORV_EVENT_PROPERTY(OnActivate)
    ORV_EVENT_PROPERTY(OnDeactivate)
    ORV_EVENT_PROPERTY(OnCreate)
    // OnCreate runs once, before the window is first shown: a script's window exists
    // before the script can bind the event.
    void createOnce();

private:
    bool m_createdRun = false;
    friend class ScriptWindow;
    void paint(QPainter& painter, const QRectF& rect);
    std::unique_ptr<ScriptWindow> m_window;
    CanvasObject* m_canvas = nullptr;
};

class CustomForm : public FormObject {
    ORV_RTTI_CLASS(CustomForm)
public:
    using FormObject::FormObject;
};

class TFormObject : public CustomForm {
    ORV_RTTI_CLASS(TFormObject)
public:
    using CustomForm::CustomForm;
};

// The application object scripts reach as "Application".
class ApplicationObject : public platform::Component {
    ORV_RTTI_CLASS(ApplicationObject)
public:
    using platform::Component::Component;
    static ApplicationObject& instance();
};

} // namespace orv::script::bridges
