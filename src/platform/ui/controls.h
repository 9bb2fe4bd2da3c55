#pragma once
// The controls the windows are built from. Each wraps a Qt widget and gives it the
// behaviour the windows rely on:
//  - one OnKeyDown(Key, KeyChar, Shift) per key press, before Qt sees the key (Tab
//    included); clearing both Key and KeyChar swallows the key entirely, changing KeyChar
//    types another character, clearing only KeyChar keeps the key's movement but types
//    nothing;
//  - OnEnter / OnExit when the focus moves between the controls of one window, never when
//    another window or a message box merely takes the activation;
//  - OnMouseMove of a control runs only its own handler: mouse moves never bubble to the
//    parent, so a control without a handler leaves a hint line as it is;
//  - OnChange on every change of the value, by the user or by code; OnTyping only after
//    the user's typing;
//  - a maximum length that limits typing only: text set by code is kept whole;
//  - clickable images never take the focus; buttons do, so an edit's OnExit runs first.
// Every handler runs through fire() (dispatch.h): an exception shows the general error
// box and the program goes on.
//
// Controls are created by their Form from its layout table (layout.h) and owned by it;
// each has the runtime objectName of its name, so tests find `txtCodice07` by name.
#include "platform/core/packedlines.h"
#include "platform/ui/keys.h"
#include "platform/ui/linelist.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLineEdit;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QCheckBox;
class QGroupBox;
class QTableWidget;
class QCalendarWidget;
class QAbstractSlider;
class QAbstractButton;
class QPainterPath;
class QPainter;
class QRectF;

namespace orv::platform::ui {

class Form;
class Shape;

// A font as the layouts give it: family, size in pixels, style and colour. Empty or zero
// fields keep what the control had.
struct FontSpec {
    QString family;
    int size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color{};
    QFont apply(QFont base) const;
};

enum class MouseButton { Left, Right, Middle };

using Handler = std::function<void()>;
using KeyHandler = std::function<void(Word& key, QChar& keyChar, ShiftState shift)>;
using MouseHandler = std::function<void(MouseButton button, ShiftState shift, double x, double y)>;
using MouseMoveHandler = std::function<void(ShiftState shift, double x, double y)>;
using CanFocusHandler = std::function<void(bool& canFocus)>;
using WheelHandler = std::function<void(ShiftState shift, int delta, bool& handled)>;
// Draws on a control while it paints: the rectangle is the control's whole area.
using PaintHandler = std::function<void(QPainter& p, const QRectF& r)>;

class Control;

// What a drag carries from its source control to the control it is dropped on.
struct DragObject {
    Control* source = nullptr;
    QStringList files;
    QVariant data;
};
using DragHandler = std::function<void(const DragObject& data, const QPointF& at)>;
using DragOverHandler = std::function<void(const DragObject& data, const QPointF& at, bool& accept)>;
// Draws a picture into the given rectangle (pictures made at run time, art.h).
using Artwork = std::function<void(QPainter& p, const QRectF& r)>;

class Control : public QObject {
public:
    ~Control() override;

    const QString& name() const { return name_; }
    // The Qt widget; tests drive it with real key and mouse events. A widget that was
    // waiting (deferWidget) is built first.
    QWidget* widget() const
    {
        if (make_) const_cast<Control*>(this)->realize();
        return widget_;
    }
    // Builds the waiting widget now; nothing to do for the others.
    void realize();
    // The widget in the control's place now, the stand-in of one still waiting included;
    // never builds anything.
    QWidget* currentWidget() const { return widget_; }
    // Runs `setUp` on the Qt widget: at once if it is built, otherwise as soon as it is.
    void withWidget(const std::function<void(QWidget*)>& setUp);
    Form* form() const { return form_; }

    // Geometry in pixels, relative to the parent control or the window's client area.
    int left() const;
    int top() const;
    int width() const;
    int height() const;
    void setBounds(int x, int y, int w, int h);
    void setPosition(int x, int y);
    void setSize(int w, int h);

    bool visible() const;
    void setVisible(bool v);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    bool enabled() const;
    void setEnabled(bool e);
    void setFont(const FontSpec& f);
    void setHandCursor(bool hand);
    void bringToFront();
    void sendToBack();

    // Gives this control the focus of its window (OnCanFocus, then the previous control's
    // OnExit and this one's OnEnter), whether or not the window is active.
    void setFocus();
    // True while this control holds its window's focus.
    bool isFocused() const;
    // The highlight rectangle shown while this control holds the focus (the `eff`
    // rectangle of an edit); shown before OnEnter runs, hidden before OnExit.
    void setHighlight(Shape* h);
    Shape* highlight() const { return highlight_; }

    Handler onClick;
    Handler onDblClick;
    Handler onEnter;
    Handler onExit;
    CanFocusHandler onCanFocus;
    KeyHandler onKeyDown;
    KeyHandler onKeyUp;
    MouseHandler onMouseDown;
    MouseHandler onMouseUp;
    MouseMoveHandler onMouseMove;
    // The wheel turned over the control; a handler that sets `handled` keeps the control
    // from scrolling.
    WheelHandler onMouseWheel;
    Handler onMouseEnter;
    Handler onMouseLeave;
    // Before and after the control paints itself, on the control's own area.
    PaintHandler onPainting;
    PaintHandler onPaint;
    Handler onResize;

    // Drag and drop between the program's controls. With automatic dragging, pressing the
    // left button and moving the mouse a few pixels starts a drag carrying dragValue();
    // each control under the mouse gets OnDragEnter, then OnDragOver on every move, where
    // it accepts or refuses, and OnDragLeave when the mouse leaves it; releasing the
    // button drops on an accepting control (OnDragDrop), and the source gets OnDragEnd
    // whatever the outcome.
    bool dragAutomatic() const { return dragAutomatic_; }
    void setDragAutomatic(bool a) { dragAutomatic_ = a; }
    // Starts a drag from this control while its mouse button is held.
    void beginDrag();
    // True while a drag from this control runs.
    bool dragging() const;
    DragHandler onDragEnter;
    Handler onDragLeave;
    DragOverHandler onDragOver;
    DragHandler onDragDrop;
    Handler onDragEnd;
    // Drags from other programs reach the same handlers on a control that takes them: the
    // drag object has no source, and its files are the local files the drag carries, in
    // its order (addresses of other kinds are left out). A control that does not take
    // them leaves such drags to its widget's own handling.
    bool takesDrops() const { return takesDrops_; }
    void setTakesDrops(bool on);

    // A hint shown as the control's tool tip.
    QString hint() const;
    void setHint(const QString& h);
    // 0 (transparent) to 1 (opaque).
    double opacity() const { return opacity_; }
    void setOpacity(double o);

    // Runs the click as a user's click would (used by buttons and by code that "presses"
    // a command).
    void click();

    // Internal: called by Form when it creates the control.
    void attach(Form* form, const QString& name);

protected:
    explicit Control(QWidget* w);
    // For controls whose Qt widget costs much to build and is not needed before its window
    // is shown: the widget given to the constructor (a plain one) holds the place, with
    // the geometry, visibility, enabled state, font, text colour and cursor the control
    // gets, and `make` builds the real one, in the same parent, the first time it is
    // needed; it then takes the stand-in's place in the stacking and the Tab order.
    using WidgetMaker = std::function<QWidget*(QWidget* parent)>;
    void deferWidget(WidgetMaker make, Qt::FocusPolicy focus = Qt::StrongFocus);
    bool realized() const { return !make_; }
    // The constructors' two ways: `setUp` (taking and returning a W*) runs on the widget
    // given to Control now, or, when the widget waits, on the real W once it is built.
    template <class W, class SetUp>
    void setUpWidget(bool waits, SetUp setUp, Qt::FocusPolicy focus = Qt::StrongFocus)
    {
        if (!waits) setUp(static_cast<W*>(widget_.data()));
        else deferWidget([setUp](QWidget* parent) { return setUp(new W(parent)); }, focus);
    }
    // Colours the control's text; a waiting widget's real one gets the colour over its own
    // palette.
    void colourText(const QColor& c);
    // Inner widgets (a combo's line edit, a list's viewport) whose events are the
    // control's own.
    void watch(QWidget* inner);
    // What a key that the handler let through does, after OnKeyDown; true when handled.
    virtual bool keyDefault(Word key, QChar keyChar, ShiftState shift) { return false; }
    // Whether mouse press + release makes a click here (buttons report their own).
    virtual bool detectsClicks() const { return true; }
    // What a drag from this control carries (a list box: its selected line).
    virtual QVariant dragValue() const { return {}; }
    bool eventFilter(QObject* watched, QEvent* e) override;

    QPointer<QWidget> widget_;

private:
    bool keyPress(QWidget* target, QEvent* e);
    WidgetMaker make_;
    QColor waitingColour_;
    Form* form_ = nullptr;
    QString name_;
    Shape* highlight_ = nullptr;
    bool pressed_ = false;
    bool resending_ = false;
    bool painting_ = false;
    bool dragAutomatic_ = false;
    bool dragArmed_ = false;
    bool takesDrops_ = false;
    bool outsideAccepted_ = false;  // the last answer to a drag from another program
    QPointF pressAt_;
    double opacity_ = 1;
    bool dragMove(const QPointF& global);
    void dragFinish(const QPointF& global);
    void applyTakesDrops(QWidget* w) const;
    bool outsideDrag(QWidget* watched, QEvent* e);
};

// Horizontal alignment of a text inside its control.
enum class Align { Left, Center, Right };

// Single-line edit (`txt`): optionally masked (password), read-only (still focusable),
// aligned, with a maximum length that limits typing only.
class Edit : public Control {
public:
    // waitForShow: the Qt widget is built when the window is first shown or asked for it.
    explicit Edit(QWidget* parent, bool waitForShow = false);
    QString text() const;
    void setText(const QString& t);
    int maxLength() const { return maxLength_; }
    void setMaxLength(int n);
    void setMasked(bool masked);
    bool readOnly() const;
    void setReadOnly(bool ro);
    void setAlign(Align a);
    int caretPosition() const;
    void setCaretPosition(int pos);
    void selectAll();
    QLineEdit* lineEdit() const;

    Handler onChange;  // every change of the text, by the user or by code
    Handler onTyping;  // after each change the user made by typing

private:
    int maxLength_ = 0;
    // What is set while the edit waits to be built.
    QString text_;
    bool masked_ = false;
    bool readOnly_ = false;
    std::optional<Align> align_;
};

// Combo edit: a text with a drop-down list of items that only helps typing. Setting the
// item index to -1 keeps the text; nothing typed is ever added to the list and nothing is
// completed.
class ComboEdit : public Control {
public:
    // waitForShow: the Qt widget is built when the window is first shown or asked for it.
    explicit ComboEdit(QWidget* parent, bool waitForShow = false);
    QString text() const;
    void setText(const QString& t);
    QStringList items() const;
    void setItems(const QStringList& items);
    int itemIndex() const;
    void setItemIndex(int i);
    int maxLength() const { return maxLength_; }
    void setMaxLength(int n);
    void setAlign(Align a);
    QComboBox* comboBox() const;
    // Opens the list as the arrow does.
    void dropDown();

    Handler onChange;
    Handler onTyping;
    Handler onDropDown;  // the list is about to open
    Handler onCloseUp;   // the list closed

private:
    int maxLength_ = 0;
    // What is set while the combo waits to be built.
    QStringList items_;
    QString text_;
    std::optional<Align> align_;
};

// Label (`lbl`, `tit`, hint lines, link texts, computed-value labels): plain text, never
// rich text; optionally filled behind.
class Label : public Control {
public:
    // waitForShow: the Qt widget is built when the window is first shown or asked for it.
    explicit Label(QWidget* parent, bool waitForShow = false);
    QString text() const;
    void setText(const QString& t);
    void setAlign(Align a);
    void setVerticalCenter(bool c);
    void setWordWrap(bool w);
    void setFontColor(const QColor& c);
    QColor fontColor() const;
    void setFill(const QColor& c);

private:
    // What is set while the label waits to be built.
    QString text_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    bool wordWrap_ = false;
    QColor fill_;
};

// Multi-line text (`txtGuida` and the like). Lines are separated by CR LF in text().
class Memo : public Control {
public:
    Memo(QWidget* parent);
    QString text() const;
    void setText(const QString& t);
    QStringList lines() const;
    void setLines(const QStringList& lines);
    void setReadOnly(bool ro);
    void setWordWrap(bool w);
    QPlainTextEdit* textEdit() const;

    Handler onChange;
    Handler onTyping;

private:
    bool settingText_ = false;
};

// Picture (`img`, `ico`, `cmd` commands): a bitmap loaded from a file or drawn at run
// time, scaled to fit inside the control keeping its proportions. Never takes the focus.
class Image : public Control {
public:
    Image(QWidget* parent);
    // Loads a BMP, JPEG or PNG file; false (and the picture unchanged) when it cannot be
    // read.
    bool loadFromFile(const QString& path);
    // Saves the picture as a BMP file; false when it cannot be written or is empty.
    bool saveToFile(const QString& path) const;
    void setPicture(const QImage& image);
    // A picture drawn at the control's size when first painted.
    void setArtwork(Artwork art);
    void clear();
    bool isEmpty() const;
    // The bitmap: the loaded one, or the artwork rendered at the control's size.
    QImage picture() const;

private:
    QImage image_;
    Artwork art_;
};

// Push button with a caption. Takes the focus when clicked; Space and Enter press it.
class Button : public Control {
public:
    Button(QWidget* parent);
    QString text() const;
    void setText(const QString& t);

protected:
    bool keyDefault(Word key, QChar keyChar, ShiftState shift) override;
    bool detectsClicks() const override { return false; }
};

// Check box with a caption. OnChange when the state changes (by the user or by code);
// OnClick when the user toggles it.
class CheckBox : public Control {
public:
    CheckBox(QWidget* parent);
    QString text() const;
    void setText(const QString& t);
    bool isChecked() const;
    void setChecked(bool c);
    Handler onChange;

protected:
    bool detectsClicks() const override { return false; }
};

// Rectangle (`shp`, `eff`, `bkg`): fill, stroke and rounded corners; a vertical gradient
// when a second fill colour is given. Lines are thin rectangles.
class Shape : public Control {
public:
    Shape(QWidget* parent);
    void setFill(const QColor& c, const QColor& gradientTo = QColor());
    void setStroke(const QColor& c, double width = 1.0);
    void setRadius(double r);
    // The focus highlight of an edit: yellow with a border going from yellow to white.
    void setHighlightStyle();

private:
    friend class ShapeWidget;
    QColor fill_, fillTo_, stroke_;
    double strokeWidth_ = 0;
    double radius_ = 0;
    bool highlightStyle_ = false;
};

// Container (`pan`, `grp` row pages, `bkg`): other controls are placed inside it.
class Panel : public Control {
public:
    Panel(QWidget* parent);
    void setFill(const QColor& c, const QColor& gradientTo = QColor());
    void setStroke(const QColor& c);
    void setRadius(double r);
    // A pointer out of one side (0 top, 1 left, 2 bottom, 3 right) of `width` at its
    // base and `length` out, centred on the side and moved by `offset`; the box keeps
    // the rest of the area. A length of 0 draws no pointer.
    void setCallout(int side, double width, double length, double offset);

private:
    friend class PanelWidget;
    QColor fill_, fillTo_, stroke_;
    double radius_ = 0;
    int calloutSide_ = 0;
    double calloutWidth_ = 0, calloutLength_ = 0, calloutOffset_ = 0;
};

// Group box with a caption; a container like Panel.
class GroupBox : public Control {
public:
    GroupBox(QWidget* parent);
    QString text() const;
    void setText(const QString& t);
};

// List box (`lst`): "Courier New" 12 items, horizontal scroll bar, optional sorting with
// the program's own comparison (A-Z folded, then UTF-16 code; a prefix first).
class ListBox : public Control {
public:
    // waitForShow: the Qt widget is built when the window is first shown or asked for it.
    explicit ListBox(QWidget* parent, bool waitForShow = false);
    void setSorted(bool s);
    bool sorted() const { return sorted_; }
    // Adds a line (at its sorted place when sorting is on, after the lines equal to it);
    // returns its index. `tag` is the caller's number for the line (see tag()).
    int add(const QString& line, qint64 tag = -1);
    // Adds many lines at once, as add() would one by one in their order; into an empty
    // list this costs the lines' bytes and a row number each, no item and no string (a
    // result list of a whole archive).
    void addLines(PackedLines lines);
    // The caller's number of the line at `i`; -1 for a line added without one.
    qint64 tag(int i) const;
    // Every line is this size, not measured one by one (an invalid size: measured).
    void setLineSize(QSize size);
    void clear();
    int count() const;
    QString item(int i) const;
    QStringList itemsText() const;
    int itemIndex() const;
    void setItemIndex(int i);
    // The list's view; its rows are the list's lines.
    LineListView* listWidget() const;
    Handler onChange;  // selection changed

protected:
    QVariant dragValue() const override;

private:
    bool sorted_ = false;
};

// String grid (`grd`) with columns (`col`) that have a header, a width and may be read
// only; cells are addressed as (column, row), rows counted from 0 under the header.
class StringGrid : public Control {
public:
    // waitForShow: the Qt widget is built when the window is first shown or asked for it.
    explicit StringGrid(QWidget* parent, bool waitForShow = false);
    struct Column {
        QString header;
        int width = 64;
        bool readOnly = false;
    };
    void setColumns(const std::vector<Column>& cols);
    int columnCount() const;
    int rowCount() const;
    void setRowCount(int n);
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    void setRowHeight(int h);
    int selectedRow() const;
    QTableWidget* tableWidget() const;

private:
    // What the windows set up before the table is built.
    std::vector<Column> columns_;
    int rowCount_ = 0;
    int rowHeight_ = 21;
};

// Month calendar (`cal`). The date is a day count since 30/12/1899.
class Calendar : public Control {
public:
    // waitForShow: the Qt widget is built when the window is first shown or asked for it.
    explicit Calendar(QWidget* parent, bool waitForShow = false);
    double date() const;
    void setDate(double d);
    QCalendarWidget* calendarWidget() const;
    Handler onChange;        // the date changed
    Handler onDateSelected;  // the user clicked or confirmed a day

private:
    QDate date_;  // the date while the calendar waits to be built
};

// A value chosen by sliding: track bars, tracks, scroll bars, dials. OnChange on every
// change of the value, OnTracking while the user drags the thumb.
class Slider : public Control {
public:
    enum class Kind { Track, ScrollBar, Dial };
    Slider(QWidget* parent, Kind kind = Kind::Track);
    double min() const;
    void setMin(double v);
    double max() const;
    void setMax(double v);
    double value() const;
    void setValue(double v);
    // The step of the arrow keys and of one notch of the wheel.
    double smallChange() const;
    void setSmallChange(double v);
    bool vertical() const;
    void setVertical(bool v);
    QAbstractSlider* slider() const;
    Handler onChange;
    Handler onTracking;
};

// An on/off switch, toggled by a click or by Space.
class Switch : public Control {
public:
    Switch(QWidget* parent);
    bool isChecked() const;
    void setChecked(bool c);
    Handler onSwitch;  // the state changed, by the user or by code

protected:
    bool detectsClicks() const override { return false; }
};

// Radio button with a caption. Buttons of one group exclude each other; the group is
// kept by the caller (setChecked on the others), so that groups may span containers.
class RadioButton : public Control {
public:
    RadioButton(QWidget* parent);
    QString text() const;
    void setText(const QString& t);
    bool isChecked() const;
    void setChecked(bool c);
    Handler onChange;

protected:
    bool detectsClicks() const override { return false; }
};

// A busy indicator: it moves while running.
class ActivityIndicator : public Control {
public:
    ActivityIndicator(QWidget* parent);
    bool running() const { return running_; }
    void setRunning(bool r);

private:
    bool running_ = false;
};

// A header with a toggle arrow, an optional check box and a caption over a content area
// that folds away when collapsed. Other controls go into content().
class Expander : public Control {
public:
    Expander(QWidget* parent);
    QString text() const;
    void setText(const QString& t);
    bool expanded() const { return expanded_; }
    void setExpanded(bool e);
    bool checkVisible() const;
    void setCheckVisible(bool v);
    bool isChecked() const;
    void setChecked(bool c);
    QWidget* content() const { return content_; }
    QAbstractButton* toggle() const { return toggle_; }
    Handler onCheckChange;
    Handler onExpandedChange;

private:
    QWidget* content_ = nullptr;
    QAbstractButton* toggle_ = nullptr;
    QAbstractButton* check_ = nullptr;
    QLabel* caption_ = nullptr;
    bool expanded_ = true;
    int expandedHeight_ = 0;
};

// A button with an arrow that shows whether what it opens is open.
class ExpanderButton : public Control {
public:
    ExpanderButton(QWidget* parent);
    bool isPressed() const;
    void setPressed(bool p);

protected:
    bool detectsClicks() const override { return false; }
};

// A vector shape filling the control, scaled to fit and centred.
class PathShape : public Control {
public:
    PathShape(QWidget* parent);
    void setPath(const QPainterPath& path);
    const QPainterPath& path() const;
    void setFill(const QColor& c);
    QColor fill() const;
};

// The control a widget belongs to (the widget itself or one of its ancestors in the same
// window), or nullptr.
Control* controlOf(QWidget* w);

// Numbered names of repeated control sets: numbered("txtCodice", 7) is "txtCodice07".
QString numbered(const QString& prefix, int n, int digits = 2);

} // namespace orv::platform::ui
