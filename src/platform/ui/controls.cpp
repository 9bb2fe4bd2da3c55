#include "platform/ui/controls.h"

#include <QHash>

#include "platform/core/text.h"
#include "platform/ui/dispatch.h"
#include "platform/ui/form.h"
#include "platform/ui/linelist.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDial>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QRadioButton>
#include <QToolButton>
#include <QScrollBar>
#include <QSlider>
#include <QGraphicsOpacityEffect>
#include <QToolTip>
#include <QWheelEvent>
#include <QComboBox>
#include <QCompleter>
#include <QResizeEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QItemSelectionModel>
#include <QDropEvent>
#include <QLocale>
#include <QMimeData>
#include <QUrl>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QValidator>

#include <algorithm>
#include <cmath>

namespace orv::platform::ui {

namespace {
const char* const kControlProperty = "orvControl";

Qt::Alignment qtAlign(Align a)
{
    switch (a) {
    case Align::Center: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

void setTextColour(QWidget* w, const QColor& c)
{
    // Hundreds of controls take one of a few colours over the same palette: each pair is
    // made once and shared.
    static QHash<QPair<qint64, QRgb>, QPalette> made;
    const QPalette base = w->palette();
    const QPair<qint64, QRgb> key(base.cacheKey(), c.rgba());
    auto it = made.constFind(key);
    if (it == made.constEnd()) {
        if (made.size() >= 64) made.clear();
        QPalette p = base;
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            p.setColor(role, c);
        it = made.insert(key, p);
    }
    w->setPalette(*it);
}

// Maximum length for typing only: text set by code passes whole, and a text already
// longer than the limit may still be shortened.
//
// What the user inserts (a key, a paste, a drop) is kept as far as it fits and the rest is
// dropped, as the edit's own limit does: a paste of 300 characters into a field of 50 keeps
// the first 50, one into a field 3 short of its limit keeps 3. The inserted piece is what
// stands between the text's unchanged head and its unchanged tail, which ends at the caret.
class LengthLimit final : public QValidator {
public:
    LengthLimit(QObject* parent, const int* max) : QValidator(parent), max_(max) {}
    bool byCode = false;
    QString last;
    State validate(QString& input, int& caret) const override
    {
        if (byCode || *max_ <= 0 || input.size() <= *max_ || input.size() <= last.size())
            return Acceptable;
        const qsizetype end = std::clamp<qsizetype>(caret, 0, input.size());
        const qsizetype tail = input.size() - end;
        if (tail > last.size() || QStringView(input).right(tail) != QStringView(last).right(tail)) return Invalid;
        qsizetype head = 0;
        const qsizetype headMax = std::min(end, last.size() - tail);
        while (head < headMax && input[head] == last[head]) ++head;
        const qsizetype kept = head + tail;  // what stays of the old text
        const qsizetype room = std::max<qsizetype>(0, *max_ - kept);
        const qsizetype inserted = std::min(end - head, room);
        if (inserted == 0 && kept == last.size()) return Invalid;  // nothing fits and nothing was replaced
        input = last.left(head) + input.mid(head, inserted) + last.right(tail);
        caret = int(head + inserted);
        return Acceptable;
    }

private:
    const int* max_;
};

// Wires a line edit (of an Edit or a ComboEdit) to OnChange / OnTyping.
void wireLineEdit(QLineEdit* le, LengthLimit* limit, Handler* onChange, Handler* onTyping)
{
    le->setValidator(limit);
    auto typing = std::make_shared<bool>(false);
    QObject::connect(le, &QLineEdit::textChanged, le, [limit, onChange](const QString& t) {
        limit->last = t;
        fire(*onChange);
    });
    QObject::connect(le, &QLineEdit::textEdited, le, [le, limit, onTyping, typing](const QString&) {
        if (*typing) return;
        *typing = true;
        const int caret = le->cursorPosition();
        const QString before = le->text();
        limit->byCode = true;  // what the handler writes is the program's text
        fire(*onTyping);
        limit->byCode = false;
        if (le->text() != before) le->setCursorPosition(std::min<int>(caret, le->text().size()));
        *typing = false;
    });
}

void setLineText(QLineEdit* le, LengthLimit* limit, const QString& t)
{
    limit->byCode = true;
    le->setText(t);
    limit->byCode = false;
}

LengthLimit* limitOf(QLineEdit* le) { return static_cast<LengthLimit*>(const_cast<QValidator*>(le->validator())); }

} // namespace

QFont FontSpec::apply(QFont f) const
{
    if (!family.isEmpty()) f.setFamily(family);
    if (size > 0) f.setPixelSize(size);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    return f;
}

QString numbered(const QString& prefix, int n, int digits)
{
    return prefix + QString::number(n).rightJustified(digits, QLatin1Char('0'));
}

// ---------------------------------------------------------------- Control

namespace {

// The combo's list opening and closing, told to its control.
//
// The drop-down list is a window of its own with a list view inside, and Qt builds it as
// soon as the combo's font changes. Every window of the program exists from the start, so
// building every combo's list up front cost more than all the other controls of the combo
// together. The list is built when it first drops down; it inherits the combo's font.
class ComboWidget : public QComboBox {
public:
    using QComboBox::QComboBox;
    ComboEdit* owner = nullptr;
    void showPopup() override
    {
        QPointer<ComboWidget> self(this);
        if (owner) fire(owner->onDropDown);
        if (!self) return;
        listReady_ = true;
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        const bool shown = view() && view()->isVisible();
        QComboBox::hidePopup();
        if (owner && shown) fire(owner->onCloseUp);
    }

protected:
    void changeEvent(QEvent* e) override
    {
        if (e->type() != QEvent::FontChange || listReady_) {
            QComboBox::changeEvent(e);
            return;
        }
        // What QComboBox does on a font change, less building the list: the edit field's
        // place follows the frame drawn in the new font.
        QWidget::changeEvent(e);
        QResizeEvent placed(size(), size());
        QComboBox::resizeEvent(&placed);
    }

private:
    bool listReady_ = false;
};

// QComboBox gives every line edit it receives a completer of its own unless the edit
// already has one, and the program's combos complete nothing. Handing each edit this one
// before the combo sees it, and taking it away after, saves building a completer and its
// models for every combo.
QCompleter* unusedCompleter()
{
    static QPointer<QCompleter> shared;
    if (!shared) shared = new QCompleter(qApp);
    return shared;
}

} // namespace

Control::Control(QWidget* w) : widget_(w)
{
    w->setAttribute(Qt::WA_NoMousePropagation);
    watch(w);
}

void Control::deferWidget(WidgetMaker make, Qt::FocusPolicy focus)
{
    make_ = std::move(make);
    // Focusable as the real widget will be, so that it can take this one's place in the
    // Tab order.
    widget_->setFocusPolicy(focus);
}

void Control::colourText(const QColor& c)
{
    setTextColour(widget_, c);
    if (make_) waitingColour_ = c;
}

void Control::withWidget(const std::function<void(QWidget*)>& setUp)
{
    if (!make_) {
        setUp(widget_);
        return;
    }
    make_ = [make = std::move(make_), setUp](QWidget* parent) {
        QWidget* w = make(parent);
        setUp(w);
        return w;
    };
}

void Control::realize()
{
    if (!make_) return;
    const WidgetMaker make = std::move(make_);
    make_ = nullptr;
    QWidget* holder = widget_;
    QWidget* parent = holder->parentWidget();
    QWidget* w = make(parent);
    w->setObjectName(holder->objectName());
    w->setAttribute(Qt::WA_NoMousePropagation);
    watch(w);
    if (takesDrops_) applyTakesDrops(w);
    w->setGeometry(holder->geometry());
    if (holder->testAttribute(Qt::WA_SetFont)) w->setFont(holder->font());
    if (waitingColour_.isValid()) setTextColour(w, waitingColour_);
    if (holder->testAttribute(Qt::WA_SetCursor)) w->setCursor(holder->cursor());
    if (holder->testAttribute(Qt::WA_ForceDisabled)) w->setEnabled(false);
    w->stackUnder(holder);
    if (parent && w->focusPolicy() != Qt::NoFocus) QWidget::setTabOrder(holder, w);
    // A widget built under a parent on screen stays hidden unless shown.
    if (holder->testAttribute(Qt::WA_WState_ExplicitShowHide)) w->setVisible(!holder->isHidden());
    else if (parent && parent->isVisible()) w->show();
    widget_ = w;
    holder->removeEventFilter(this);
    delete holder;
}

// Only the form deletes its controls, after it has let go of its focus. The window class
// around them is gone by then, so nothing a dying widget signals may reach a handler.
Control::~Control()
{
    if (!widget_) return;
    if (auto* combo = dynamic_cast<ComboWidget*>(widget_.data())) combo->owner = nullptr;
    widget_->removeEventFilter(this);
    widget_->blockSignals(true);
    for (QObject* o : widget_->findChildren<QObject*>()) {
        o->removeEventFilter(this);
        o->blockSignals(true);
    }
    delete widget_.data();
}

void Control::attach(Form* form, const QString& name)
{
    form_ = form;
    name_ = name;
    setObjectName(name);
    widget_->setObjectName(name);
}

void Control::watch(QWidget* inner)
{
    inner->installEventFilter(this);
    inner->setMouseTracking(true);
    inner->setProperty(kControlProperty, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
}

// ---------------------------------------------------------------- Slider

namespace {

// Values are kept in hundredths, so that fractional limits and steps survive.
constexpr double kSliderScale = 100.0;

QAbstractSlider* makeSlider(QWidget* parent, Slider::Kind kind)
{
    switch (kind) {
    case Slider::Kind::ScrollBar:
        return new QScrollBar(Qt::Horizontal, parent);
    case Slider::Kind::Dial:
        return new QDial(parent);
    default:
        return new QSlider(Qt::Horizontal, parent);
    }
}

// A switch drawn as a rounded track with a knob at the side of its state.
class SwitchWidget : public QAbstractButton {
public:
    explicit SwitchWidget(QWidget* parent) : QAbstractButton(parent)
    {
        setCheckable(true);
        setFocusPolicy(Qt::StrongFocus);
    }
    QSize sizeHint() const override { return QSize(78, 27); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
        const double radius = r.height() / 2;
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.setBrush(isChecked() ? QColor(0x33, 0x99, 0xFF) : QColor(0xE0, 0xE0, 0xE0));
        p.drawRoundedRect(r, radius, radius);
        const double knob = r.height() - 4;
        const double x = isChecked() ? r.right() - knob - 2 : r.left() + 2;
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(x, r.top() + 2, knob, knob));
    }
};

} // namespace

Slider::Slider(QWidget* parent, Kind kind) : Control(makeSlider(parent, kind))
{
    auto* s = slider();
    s->setFocusPolicy(Qt::StrongFocus);
    s->setRange(0, int(10 * kSliderScale));
    s->setSingleStep(int(kSliderScale));
    s->setPageStep(int(kSliderScale));
    QObject::connect(s, &QAbstractSlider::valueChanged, s, [this](int) { fire(onChange); });
    QObject::connect(s, &QAbstractSlider::sliderMoved, s, [this](int) { fire(onTracking); });
}

QAbstractSlider* Slider::slider() const { return static_cast<QAbstractSlider*>(widget_.data()); }
double Slider::min() const { return slider()->minimum() / kSliderScale; }
void Slider::setMin(double v) { slider()->setMinimum(int(std::lround(v * kSliderScale))); }
double Slider::max() const { return slider()->maximum() / kSliderScale; }
void Slider::setMax(double v) { slider()->setMaximum(int(std::lround(v * kSliderScale))); }
double Slider::value() const { return slider()->value() / kSliderScale; }
void Slider::setValue(double v) { slider()->setValue(int(std::lround(v * kSliderScale))); }
double Slider::smallChange() const { return slider()->singleStep() / kSliderScale; }
void Slider::setSmallChange(double v) { slider()->setSingleStep(std::max(1, int(std::lround(v * kSliderScale)))); }
bool Slider::vertical() const { return slider()->orientation() == Qt::Vertical; }
void Slider::setVertical(bool v) { slider()->setOrientation(v ? Qt::Vertical : Qt::Horizontal); }

// ---------------------------------------------------------------- Switch

Switch::Switch(QWidget* parent) : Control(new SwitchWidget(parent))
{
    auto* b = static_cast<QAbstractButton*>(widget_.data());
    QObject::connect(b, &QAbstractButton::toggled, b, [this](bool) { fire(onSwitch); });
    QObject::connect(b, &QAbstractButton::clicked, b, [this](bool) { fire(onClick); });
}

bool Switch::isChecked() const { return static_cast<QAbstractButton*>(widget_.data())->isChecked(); }
void Switch::setChecked(bool c) { static_cast<QAbstractButton*>(widget_.data())->setChecked(c); }

// ---------------------------------------------------------------- RadioButton

RadioButton::RadioButton(QWidget* parent) : Control(new QRadioButton(parent))
{
    auto* r = static_cast<QRadioButton*>(widget_.data());
    r->setAutoExclusive(false);
    r->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(r, &QRadioButton::toggled, r, [this](bool) { fire(onChange); });
    QObject::connect(r, &QRadioButton::clicked, r, [this](bool) { fire(onClick); });
}

QString RadioButton::text() const { return static_cast<QRadioButton*>(widget_.data())->text(); }
void RadioButton::setText(const QString& t) { static_cast<QRadioButton*>(widget_.data())->setText(t); }
bool RadioButton::isChecked() const { return static_cast<QRadioButton*>(widget_.data())->isChecked(); }
void RadioButton::setChecked(bool c) { static_cast<QRadioButton*>(widget_.data())->setChecked(c); }

// ---------------------------------------------------------------- ActivityIndicator

ActivityIndicator::ActivityIndicator(QWidget* parent) : Control(new QProgressBar(parent))
{
    auto* b = static_cast<QProgressBar*>(widget_.data());
    b->setTextVisible(false);
    b->setFocusPolicy(Qt::NoFocus);
    setRunning(false);
}

void ActivityIndicator::setRunning(bool r)
{
    running_ = r;
    auto* b = static_cast<QProgressBar*>(widget_.data());
    // A bar without a range is Qt's busy bar.
    b->setRange(0, r ? 0 : 1);
    b->setValue(0);
}

// ---------------------------------------------------------------- Expander

namespace {
constexpr int kExpanderHeader = 25;

// Keeps the header across the top and the content under it.
class ExpanderWidget final : public QWidget {
public:
    using QWidget::QWidget;
    QWidget* header = nullptr;
    QWidget* content = nullptr;

protected:
    void resizeEvent(QResizeEvent*) override
    {
        if (header) header->setGeometry(0, 0, width(), kExpanderHeader);
        if (content) content->setGeometry(0, kExpanderHeader, width(), std::max(0, height() - kExpanderHeader));
    }
};
} // namespace

Expander::Expander(QWidget* parent) : Control(new ExpanderWidget(parent))
{
    auto* w = static_cast<ExpanderWidget*>(widget_.data());
    w->setFocusPolicy(Qt::NoFocus);
    auto* header = new QWidget(w);
    w->header = header;
    header->setGeometry(0, 0, 200, kExpanderHeader);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(2, 0, 2, 0);
    auto* arrow = new QToolButton(header);
    arrow->setArrowType(Qt::DownArrow);
    arrow->setCheckable(true);
    arrow->setChecked(true);
    arrow->setAutoRaise(true);
    arrow->setObjectName(QStringLiteral("toggle"));
    toggle_ = arrow;
    auto* check = new QCheckBox(header);
    check->setObjectName(QStringLiteral("check"));
    check_ = check;
    caption_ = new QLabel(header);
    row->addWidget(arrow);
    row->addWidget(check);
    row->addWidget(caption_, 1);
    content_ = new QWidget(w);
    w->content = content_;
    content_->setGeometry(0, kExpanderHeader, 200, 100);
    QObject::connect(arrow, &QToolButton::toggled, w, [this](bool on) { setExpanded(on); });
    QObject::connect(check, &QCheckBox::toggled, w, [this](bool) { fire(onCheckChange); });
}

QString Expander::text() const { return caption_->text(); }
void Expander::setText(const QString& t) { caption_->setText(t); }
bool Expander::checkVisible() const { return !check_->isHidden(); }
void Expander::setCheckVisible(bool v) { check_->setVisible(v); }
bool Expander::isChecked() const { return check_->isChecked(); }
void Expander::setChecked(bool c) { check_->setChecked(c); }

void Expander::setExpanded(bool e)
{
    if (e == expanded_) return;
    expanded_ = e;
    {
        QSignalBlocker block(toggle_);
        toggle_->setChecked(e);
    }
    static_cast<QToolButton*>(toggle_)->setArrowType(e ? Qt::DownArrow : Qt::RightArrow);
    // Collapsed, the control keeps only its header; expanded, its former height again.
    if (!e) {
        expandedHeight_ = widget_->height();
        widget_->resize(widget_->width(), kExpanderHeader);
    } else {
        widget_->resize(widget_->width(), std::max(expandedHeight_, kExpanderHeader));
    }
    content_->setVisible(e);
    fire(onExpandedChange);
}

// ---------------------------------------------------------------- ExpanderButton

ExpanderButton::ExpanderButton(QWidget* parent) : Control(new QToolButton(parent))
{
    auto* b = static_cast<QToolButton*>(widget_.data());
    b->setCheckable(true);
    b->setArrowType(Qt::RightArrow);
    b->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(b, &QToolButton::toggled, b,
                     [b](bool on) { b->setArrowType(on ? Qt::DownArrow : Qt::RightArrow); });
    QObject::connect(b, &QToolButton::clicked, b, [this](bool) { fire(onClick); });
}

bool ExpanderButton::isPressed() const { return static_cast<QToolButton*>(widget_.data())->isChecked(); }
void ExpanderButton::setPressed(bool p) { static_cast<QToolButton*>(widget_.data())->setChecked(p); }

// ---------------------------------------------------------------- PathShape

namespace {

class PathWidget final : public QWidget {
public:
    using QWidget::QWidget;
    QPainterPath path;
    QColor fill = Qt::black;

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QRectF box = path.boundingRect();
        if (path.isEmpty() || box.width() <= 0 || box.height() <= 0) return;
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const double scale = std::min(width() / box.width(), height() / box.height());
        p.translate((width() - box.width() * scale) / 2, (height() - box.height() * scale) / 2);
        p.scale(scale, scale);
        p.translate(-box.topLeft());
        p.fillPath(path, fill);
    }
};

} // namespace

PathShape::PathShape(QWidget* parent) : Control(new PathWidget(parent))
{
    widget_->setFocusPolicy(Qt::NoFocus);
}

void PathShape::setPath(const QPainterPath& path)
{
    static_cast<PathWidget*>(widget_.data())->path = path;
    widget_->update();
}
const QPainterPath& PathShape::path() const { return static_cast<PathWidget*>(widget_.data())->path; }
void PathShape::setFill(const QColor& c)
{
    static_cast<PathWidget*>(widget_.data())->fill = c;
    widget_->update();
}
QColor PathShape::fill() const { return static_cast<PathWidget*>(widget_.data())->fill; }

Control* controlOf(QWidget* w)
{
    for (QWidget* p = w; p; p = p->parentWidget()) {
        const QVariant v = p->property(kControlProperty);
        if (v.isValid()) return reinterpret_cast<Control*>(v.value<quintptr>());
        if (p->isWindow()) break;
    }
    return nullptr;
}

int Control::left() const { return widget_->x(); }
int Control::top() const { return widget_->y(); }
int Control::width() const { return widget_->width(); }
int Control::height() const { return widget_->height(); }
void Control::setBounds(int x, int y, int w, int h) { widget_->setGeometry(x, y, w, h); }
void Control::setPosition(int x, int y) { widget_->move(x, y); }
void Control::setSize(int w, int h) { widget_->resize(w, h); }
bool Control::visible() const { return widget_->isVisibleTo(widget_->parentWidget()); }
void Control::setVisible(bool v) { widget_->setVisible(v); }
bool Control::enabled() const { return widget_->isEnabled(); }
void Control::setEnabled(bool e) { widget_->setEnabled(e); }
void Control::bringToFront() { widget_->raise(); }
void Control::sendToBack() { widget_->lower(); }

void Control::setFont(const FontSpec& f)
{
    widget_->setFont(f.apply(widget_->font()));
    if (f.color.isValid()) colourText(f.color);
}

void Control::setHandCursor(bool hand)
{
    if (hand) widget_->setCursor(Qt::PointingHandCursor);
    else widget_->unsetCursor();
}

void Control::setFocus()
{
    if (!form_ || !form_->moveFocus(this)) return;
    if (QWidget* w = widget()) w->setFocus(Qt::OtherFocusReason);
}

bool Control::isFocused() const { return form_ && form_->focusedControl() == this; }

void Control::setHighlight(Shape* h)
{
    highlight_ = h;
    if (h) h->setVisible(isFocused());
}

void Control::click()
{
    if (auto* b = qobject_cast<QAbstractButton*>(widget_.data())) b->click();
    else fire(onClick);
}

bool Control::keyPress(QWidget* target, QEvent* ev)
{
    auto* k = static_cast<QKeyEvent*>(ev);
    const KeyInfo original = translateKey(*k);
    Word key = original.key;
    QChar ch = original.keyChar;
    QPointer<Control> self(this);
    fire(onKeyDown, key, ch, original.shift);
    if (!self || !widget_) return true;
    if (key == 0 && ch.isNull()) return true;  // swallowed: no character, no movement
    if (keyDefault(key, ch, original.shift)) return true;
    if (key == original.key && ch == original.keyChar) return false;
    // The handler changed the key: deliver what it left instead.
    const int qtKey = key == original.key ? k->key() : int(Qt::Key_unknown);
    QKeyEvent changed(QEvent::KeyPress, qtKey, k->modifiers(), ch.isNull() ? QString() : QString(ch),
                      k->isAutoRepeat(), k->count());
    resending_ = true;
    QCoreApplication::sendEvent(target, &changed);
    if (self) resending_ = false;
    return true;
}

namespace {

// The drag under way in the program: one at a time, as there is one mouse.
struct DragSession {
    QPointer<Control> source;
    DragObject data;
    QPointer<Control> target;
    bool accepted = false;
};
DragSession* g_drag = nullptr;

} // namespace

bool Control::dragging() const { return g_drag && g_drag->source == this; }

void Control::beginDrag()
{
    // A drag whose source has gone has nobody left to end it.
    if (g_drag && !g_drag->source) {
        delete g_drag;
        g_drag = nullptr;
    }
    if (g_drag) return;
    g_drag = new DragSession;
    g_drag->source = this;
    g_drag->data.source = this;
    g_drag->data.data = dragValue();
    dragArmed_ = false;
    pressed_ = false;
}

bool Control::dragMove(const QPointF& global)
{
    if (!dragging()) return false;
    QWidget* under = QApplication::widgetAt(global.toPoint());
    Control* over = under ? controlOf(under) : nullptr;
    DragSession& d = *g_drag;
    if (over != d.target) {
        if (Control* old = d.target) fire(old->onDragLeave);
        d.target = over;
        d.accepted = false;
        if (over && over->widget_) fire(over->onDragEnter, d.data, over->widget_->mapFromGlobal(global));
    }
    if (Control* t = d.target; t && t->widget_) {
        bool accept = false;
        fire(t->onDragOver, d.data, t->widget_->mapFromGlobal(global), accept);
        if (g_drag) g_drag->accepted = accept;
    }
    return true;
}

void Control::dragFinish(const QPointF& global)
{
    if (!dragging()) return;
    std::unique_ptr<DragSession> d(g_drag);
    g_drag = nullptr;
    if (Control* t = d->target; t && t->widget_ && d->accepted)
        fire(t->onDragDrop, d->data, t->widget_->mapFromGlobal(global));
    if (Control* s = d->source) fire(s->onDragEnd);
}

void Control::setTakesDrops(bool on)
{
    takesDrops_ = on;
    outsideAccepted_ = false;
    if (widget_) applyTakesDrops(widget_);
}

// Qt hands drags from outside only to widgets that accept drops; some (edits) accept
// them of their own and must keep doing so once the control stops taking them.
void Control::applyTakesDrops(QWidget* w) const
{
    static const char* const kOwnDrops = "orvOwnDrops";
    if (!w->property(kOwnDrops).isValid()) w->setProperty(kOwnDrops, w->acceptDrops());
    w->setAcceptDrops(takesDrops_ || w->property(kOwnDrops).toBool());
}

namespace {

DragObject dragFromOutside(const QMimeData* mime)
{
    DragObject d;
    if (!mime) return d;
    for (const QUrl& u : mime->urls()) {
        if (!u.isLocalFile()) continue;
        const QString path = u.toLocalFile();
        if (!path.isEmpty()) d.files << path;
    }
    if (!mime->hasUrls() && mime->hasText()) d.data = mime->text();
    return d;
}

} // namespace

// A drag from another program: OnDragEnter when it comes in, OnDragOver on every move
// (Qt follows each enter with a move at the same place), OnDragLeave when it goes, and
// OnDragDrop when it is dropped here after the last move was accepted.
bool Control::outsideDrag(QWidget* watched, QEvent* e)
{
    if (!takesDrops_ || !widget_) return false;
    QPointer<Control> self(this);
    if (e->type() == QEvent::DragLeave) {
        outsideAccepted_ = false;
        fire(onDragLeave);
        return true;
    }
    auto* d = static_cast<QDropEvent*>(e);
    const QPointF at = widget_->mapFromGlobal(watched->mapToGlobal(d->position()));
    const DragObject data = dragFromOutside(d->mimeData());
    switch (e->type()) {
    case QEvent::DragEnter:
        outsideAccepted_ = false;
        fire(onDragEnter, data, at);
        // Taken as the target whatever the answer, so that the moves keep coming here.
        e->accept();
        return true;
    case QEvent::DragMove: {
        bool accept = false;
        fire(onDragOver, data, at, accept);
        if (!self) return true;
        outsideAccepted_ = accept;
        if (accept) d->acceptProposedAction();
        else d->ignore();
        return true;
    }
    case QEvent::Drop:
        if (!outsideAccepted_) {
            d->ignore();
            return true;
        }
        outsideAccepted_ = false;
        d->acceptProposedAction();
        fire(onDragDrop, data, at);
        return true;
    default:
        return false;
    }
}

QString Control::hint() const { return widget()->toolTip(); }
void Control::setHint(const QString& h) { widget()->setToolTip(h); }

void Control::setOpacity(double o)
{
    opacity_ = std::clamp(o, 0.0, 1.0);
    QWidget* w = widget();
    if (opacity_ >= 1) {
        w->setGraphicsEffect(nullptr);
        return;
    }
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(w->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(w);
        w->setGraphicsEffect(effect);
    }
    effect->setOpacity(opacity_);
}

bool Control::eventFilter(QObject* watched, QEvent* e)
{
    if (!widget_) return false;
    switch (e->type()) {
    case QEvent::Paint: {
        if (watched != widget_ || painting_ || (!onPainting && !onPaint)) return false;
        QPointer<Control> self(this);
        QWidget* w = widget_;
        const QRectF area(w->rect());
        painting_ = true;
        if (onPainting) {
            QPainter p(w);
            fire(onPainting, p, area);
        }
        // The control paints itself between the two handlers.
        static_cast<QObject*>(w)->event(e);
        if (self && onPaint) {
            QPainter p(w);
            fire(onPaint, p, area);
        }
        if (self) painting_ = false;
        return true;
    }
    case QEvent::Wheel: {
        if (!onMouseWheel) return false;
        auto* wh = static_cast<QWheelEvent*>(e);
        const QPoint a = wh->angleDelta();
        bool handled = false;
        fire(onMouseWheel, shiftFromQt(wh->modifiers(), wh->buttons()), a.y() != 0 ? a.y() : a.x(), handled);
        return handled;
    }
    case QEvent::Enter:
        if (watched == widget_) fire(onMouseEnter);
        return false;
    case QEvent::Leave:
        if (watched == widget_) fire(onMouseLeave);
        return false;
    case QEvent::Resize:
        if (watched == widget_) fire(onResize);
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        return watched->isWidgetType() && outsideDrag(static_cast<QWidget*>(watched), e);
    case QEvent::KeyPress:
        if (resending_) return false;
        return keyPress(static_cast<QWidget*>(watched), e);
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        if (resending_ || k->isAutoRepeat() || !onKeyUp) return false;
        KeyInfo info = translateKey(*k);
        fire(onKeyUp, info.key, info.keyChar, info.shift);
        return false;
    }
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(e);
        if (dragMove(m->globalPosition())) return true;
        if (dragArmed_ && (m->buttons() & Qt::LeftButton)
            && (m->globalPosition() - pressAt_).manhattanLength() >= QApplication::startDragDistance()) {
            beginDrag();
            return dragMove(m->globalPosition());
        }
        const QPointF p = widget_->mapFromGlobal(m->globalPosition());
        fire(onMouseMove, shiftFromQt(m->modifiers(), m->buttons()), p.x(), p.y());
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* m = static_cast<QMouseEvent*>(e);
        if (e->type() == QEvent::MouseButtonRelease && dragging()) {
            dragFinish(m->globalPosition());
            return true;
        }
        if (e->type() == QEvent::MouseButtonPress && m->button() == Qt::LeftButton) {
            // A drag whose release never came here (its window lost the mouse) ends now,
            // dropping nothing.
            if (dragging()) {
                g_drag->accepted = false;
                dragFinish(m->globalPosition());
            }
            dragArmed_ = dragAutomatic_;
            pressAt_ = m->globalPosition();
        } else if (e->type() == QEvent::MouseButtonRelease) {
            dragArmed_ = false;
        }
        const QPointF p = widget_->mapFromGlobal(m->globalPosition());
        const MouseButton b = m->button() == Qt::RightButton ? MouseButton::Right
                              : m->button() == Qt::MiddleButton ? MouseButton::Middle
                                                                : MouseButton::Left;
        const ShiftState s = shiftFromQt(m->modifiers(), m->buttons());
        QPointer<Control> self(this);
        if (e->type() == QEvent::MouseButtonDblClick) {
            fire(onDblClick);
        } else if (e->type() == QEvent::MouseButtonPress) {
            fire(onMouseDown, b, s, p.x(), p.y());
            if (self && b == MouseButton::Left) pressed_ = true;
        } else {
            fire(onMouseUp, b, s, p.x(), p.y());
            if (self && pressed_ && b == MouseButton::Left) {
                pressed_ = false;
                if (detectsClicks() && widget_ && widget_->rect().contains(p.toPoint())) fire(onClick);
            }
        }
        return false;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------- Edit

Edit::Edit(QWidget* parent, bool waitForShow) : Control(waitForShow ? new QWidget(parent) : new QLineEdit(parent))
{
    // What was set while the edit waited goes in before it tells OnChange anything:
    // OnChange ran when it was set.
    const auto setUp = [this](QLineEdit* le) {
        le->setFocusPolicy(Qt::StrongFocus);
        le->setContextMenuPolicy(Qt::DefaultContextMenu);
        if (masked_) le->setEchoMode(QLineEdit::Password);
        if (readOnly_) le->setReadOnly(true);
        if (align_) le->setAlignment(qtAlign(*align_) | Qt::AlignVCenter);
        if (!text_.isEmpty()) le->setText(text_);
        wireLineEdit(le, new LengthLimit(le, &maxLength_), &onChange, &onTyping);
        limitOf(le)->last = text_;
        text_.clear();
        return le;
    };
    setUpWidget<QLineEdit>(waitForShow, setUp);
}

QLineEdit* Edit::lineEdit() const { return static_cast<QLineEdit*>(widget()); }
QString Edit::text() const { return realized() ? lineEdit()->text() : text_; }

void Edit::setText(const QString& t)
{
    if (realized()) {
        setLineText(lineEdit(), limitOf(lineEdit()), t);
        return;
    }
    // As the edit: a new text tells OnChange, the same text tells no one.
    if (t == text_) return;
    text_ = t;
    fire(onChange);
}

void Edit::setMaxLength(int n) { maxLength_ = n; }

void Edit::setMasked(bool m)
{
    if (!realized()) masked_ = m;
    else lineEdit()->setEchoMode(m ? QLineEdit::Password : QLineEdit::Normal);
}

bool Edit::readOnly() const { return realized() ? lineEdit()->isReadOnly() : readOnly_; }

void Edit::setReadOnly(bool ro)
{
    if (!realized()) readOnly_ = ro;
    else lineEdit()->setReadOnly(ro);
}

void Edit::setAlign(Align a)
{
    if (!realized()) align_ = a;
    else lineEdit()->setAlignment(qtAlign(a) | Qt::AlignVCenter);
}

// A text set by code leaves the caret at its end.
int Edit::caretPosition() const { return realized() ? lineEdit()->cursorPosition() : int(text_.size()); }
void Edit::setCaretPosition(int pos) { lineEdit()->setCursorPosition(pos); }
void Edit::selectAll() { lineEdit()->selectAll(); }

// ---------------------------------------------------------------- ComboEdit


void ComboEdit::dropDown() { comboBox()->showPopup(); }

ComboEdit::ComboEdit(QWidget* parent, bool waitForShow)
    : Control(waitForShow ? new QWidget(parent) : new ComboWidget(parent))
{
    // What was set while the combo waited goes in before the edit tells OnChange anything:
    // OnChange ran when it was set.
    const auto setUp = [this](ComboWidget* cb) {
        cb->owner = this;
        auto* edit = new QLineEdit(cb);
        edit->setPalette(cb->palette());
        edit->setCompleter(unusedCompleter());
        cb->setLineEdit(edit);
        cb->setInsertPolicy(QComboBox::NoInsert);
        cb->setCompleter(nullptr);
        cb->setFocusPolicy(Qt::StrongFocus);
        cb->setMaxVisibleItems(12);
        auto* le = cb->lineEdit();
        if (!items_.isEmpty()) {
            cb->addItems(items_);
            cb->setCurrentIndex(-1);
        }
        if (align_) le->setAlignment(qtAlign(*align_) | Qt::AlignVCenter);
        le->setText(text_);
        watch(le);
        wireLineEdit(le, new LengthLimit(le, &maxLength_), &onChange, &onTyping);
        limitOf(le)->last = text_;
        items_.clear();
        text_.clear();
        return cb;
    };
    setUpWidget<ComboWidget>(waitForShow, setUp);
}

QComboBox* ComboEdit::comboBox() const { return static_cast<QComboBox*>(widget()); }
QString ComboEdit::text() const { return realized() ? comboBox()->lineEdit()->text() : text_; }

void ComboEdit::setText(const QString& t)
{
    if (realized()) {
        setLineText(comboBox()->lineEdit(), limitOf(comboBox()->lineEdit()), t);
        return;
    }
    // As the edit: a new text tells OnChange, the same text tells no one.
    if (t == text_) return;
    text_ = t;
    fire(onChange);
}

QStringList ComboEdit::items() const
{
    if (!realized()) return items_;
    QStringList l;
    for (int i = 0; i < comboBox()->count(); ++i) l << comboBox()->itemText(i);
    return l;
}

void ComboEdit::setItems(const QStringList& items)
{
    if (!realized()) {
        items_ = items;
        return;
    }
    auto* le = comboBox()->lineEdit();
    const QString keep = le->text();
    {
        QSignalBlocker block(le);
        comboBox()->clear();
        comboBox()->addItems(items);
        comboBox()->setCurrentIndex(-1);
        le->setText(keep);
    }
    limitOf(le)->last = keep;
}

// A combo that waits has no item chosen: its items were set with none.
int ComboEdit::itemIndex() const { return realized() ? comboBox()->currentIndex() : -1; }

void ComboEdit::setItemIndex(int i)
{
    if (i < 0 && !realized()) return;  // no item chosen, the text stays
    auto* le = comboBox()->lineEdit();
    if (i < 0) {
        // Qt clears an editable combo's text with its selection; the text must stay.
        const QString keep = le->text();
        QSignalBlocker block(le);
        comboBox()->setCurrentIndex(-1);
        le->setText(keep);
        return;
    }
    auto* limit = limitOf(le);
    limit->byCode = true;
    comboBox()->setCurrentIndex(i);
    limit->byCode = false;
}

void ComboEdit::setMaxLength(int n) { maxLength_ = n; }
void ComboEdit::setAlign(Align a)
{
    if (!realized()) align_ = a;
    else comboBox()->lineEdit()->setAlignment(qtAlign(a) | Qt::AlignVCenter);
}

// ---------------------------------------------------------------- Label

namespace {
void fillBehind(QWidget* w, const QColor& c)
{
    w->setAutoFillBackground(c.isValid());
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
}
} // namespace

Label::Label(QWidget* parent, bool waitForShow) : Control(waitForShow ? new QWidget(parent) : new QLabel(parent))
{
    const auto setUp = [this](QLabel* l) {
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(alignment_);
        l->setWordWrap(wordWrap_);
        l->setText(text_);
        l->setFocusPolicy(Qt::NoFocus);
        if (fill_.isValid()) fillBehind(l, fill_);
        text_.clear();
        return l;
    };
    setUpWidget<QLabel>(waitForShow, setUp, Qt::NoFocus);
}

QString Label::text() const { return realized() ? static_cast<QLabel*>(widget())->text() : text_; }

void Label::setText(const QString& t)
{
    if (!realized()) text_ = t;
    else static_cast<QLabel*>(widget())->setText(t);
}

void Label::setAlign(Align a)
{
    if (!realized()) {
        alignment_ = qtAlign(a) | (alignment_ & Qt::AlignVertical_Mask);
        return;
    }
    auto* l = static_cast<QLabel*>(widget());
    l->setAlignment(qtAlign(a) | (l->alignment() & Qt::AlignVertical_Mask));
}

void Label::setVerticalCenter(bool c)
{
    if (!realized()) {
        alignment_ = (alignment_ & Qt::AlignHorizontal_Mask) | (c ? Qt::AlignVCenter : Qt::AlignTop);
        return;
    }
    auto* l = static_cast<QLabel*>(widget());
    l->setAlignment((l->alignment() & Qt::AlignHorizontal_Mask) | (c ? Qt::AlignVCenter : Qt::AlignTop));
}

void Label::setWordWrap(bool w)
{
    if (!realized()) wordWrap_ = w;
    else static_cast<QLabel*>(widget())->setWordWrap(w);
}

void Label::setFontColor(const QColor& c) { colourText(c); }
QColor Label::fontColor() const { return widget_->palette().color(QPalette::WindowText); }

void Label::setFill(const QColor& c)
{
    if (!realized()) fill_ = c;
    fillBehind(widget_, c);
}

// ---------------------------------------------------------------- Memo

Memo::Memo(QWidget* parent) : Control(new QPlainTextEdit(parent))
{
    auto* te = textEdit();
    te->setFocusPolicy(Qt::StrongFocus);
    te->setTabChangesFocus(true);
    watch(te->viewport());
    QObject::connect(te, &QPlainTextEdit::textChanged, te, [this] {
        fire(onChange);
        if (!settingText_) fire(onTyping);
    });
}

QPlainTextEdit* Memo::textEdit() const { return static_cast<QPlainTextEdit*>(widget_.data()); }

QString Memo::text() const
{
    QString t = textEdit()->toPlainText();
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return t;
}

void Memo::setText(const QString& t)
{
    QString shown = t;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    settingText_ = true;
    textEdit()->setPlainText(shown);
    settingText_ = false;
}

QStringList Memo::lines() const { return textEdit()->toPlainText().split(QLatin1Char('\n')); }
void Memo::setLines(const QStringList& lines) { setText(lines.join(QLatin1String("\r\n"))); }
void Memo::setReadOnly(bool ro) { textEdit()->setReadOnly(ro); }
void Memo::setWordWrap(bool w) { textEdit()->setLineWrapMode(w ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap); }

// ---------------------------------------------------------------- Image

class ImageWidget final : public QWidget {
public:
    ImageWidget(QWidget* parent, Image* owner) : QWidget(parent), owner_(owner) {}
    QImage image;
    Artwork art;
    QPixmap cache;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (!image.isNull()) {
            const QSize s = image.size().scaled(size(), Qt::KeepAspectRatio);
            const QRect r(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s);
            p.drawImage(r, image);
        } else if (art) {
            const qreal dpr = devicePixelRatioF();
            if (cache.size() != size() * dpr) {
                cache = QPixmap(size() * dpr);
                cache.setDevicePixelRatio(dpr);
                cache.fill(Qt::transparent);
                QPainter cp(&cache);
                cp.setRenderHint(QPainter::Antialiasing);
                cp.setRenderHint(QPainter::TextAntialiasing);
                try {
                    art(cp, QRectF(rect()));
                } catch (...) {
                    // A picture that cannot be drawn stays empty.
                }
            }
            p.drawPixmap(0, 0, cache);
        }
    }

private:
    [[maybe_unused]] Image* owner_;
};

Image::Image(QWidget* parent) : Control(new ImageWidget(parent, this))
{
    widget_->setFocusPolicy(Qt::NoFocus);
}

bool Image::loadFromFile(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage img = reader.read();
    if (img.isNull()) return false;
    setPicture(img);
    return true;
}

bool Image::saveToFile(const QString& path) const
{
    const QImage img = picture();
    if (img.isNull()) return false;
    return img.convertToFormat(QImage::Format_RGB32).save(path, "BMP");
}

void Image::setPicture(const QImage& image)
{
    auto* w = static_cast<ImageWidget*>(widget_.data());
    w->image = image;
    w->update();
}

void Image::setArtwork(Artwork art)
{
    auto* w = static_cast<ImageWidget*>(widget_.data());
    w->art = std::move(art);
    w->cache = QPixmap();
    w->update();
}

void Image::clear()
{
    auto* w = static_cast<ImageWidget*>(widget_.data());
    w->image = QImage();
    w->art = nullptr;
    w->cache = QPixmap();
    w->update();
}

bool Image::isEmpty() const
{
    auto* w = static_cast<ImageWidget*>(widget_.data());
    return w->image.isNull() && !w->art;
}

QImage Image::picture() const
{
    auto* w = static_cast<ImageWidget*>(widget_.data());
    if (!w->image.isNull() || !w->art) return w->image;
    QImage img(w->size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    w->art(p, QRectF(img.rect()));
    return img;
}

// ---------------------------------------------------------------- Button

Button::Button(QWidget* parent) : Control(new QPushButton(parent))
{
    auto* b = static_cast<QPushButton*>(widget_.data());
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(b, &QPushButton::clicked, b, [this] { fire(onClick); });
}

QString Button::text() const
{
    QString t = static_cast<QPushButton*>(widget_.data())->text();
    return t.replace(QLatin1String("&&"), QLatin1String("&"));
}

void Button::setText(const QString& t)
{
    QString shown = t;
    static_cast<QPushButton*>(widget_.data())->setText(shown.replace(QLatin1Char('&'), QLatin1String("&&")));
}

bool Button::keyDefault(Word key, QChar, ShiftState)
{
    if (key != vk::Return) return false;
    static_cast<QPushButton*>(widget_.data())->click();
    return true;
}

// ---------------------------------------------------------------- CheckBox

CheckBox::CheckBox(QWidget* parent) : Control(new QCheckBox(parent))
{
    auto* c = static_cast<QCheckBox*>(widget_.data());
    c->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(c, &QCheckBox::toggled, c, [this](bool) { fire(onChange); });
    QObject::connect(c, &QCheckBox::clicked, c, [this](bool) { fire(onClick); });
}

QString CheckBox::text() const
{
    QString t = static_cast<QCheckBox*>(widget_.data())->text();
    return t.replace(QLatin1String("&&"), QLatin1String("&"));
}

void CheckBox::setText(const QString& t)
{
    QString shown = t;
    static_cast<QCheckBox*>(widget_.data())->setText(shown.replace(QLatin1Char('&'), QLatin1String("&&")));
}

bool CheckBox::isChecked() const { return static_cast<QCheckBox*>(widget_.data())->isChecked(); }
void CheckBox::setChecked(bool c) { static_cast<QCheckBox*>(widget_.data())->setChecked(c); }

// ---------------------------------------------------------------- Shape and Panel

namespace {
void paintBox(QPainter& p, const QRectF& r, const QColor& fill, const QColor& fillTo,
              const QColor& stroke, double strokeWidth, double radius)
{
    p.setRenderHint(QPainter::Antialiasing);
    const double half = stroke.isValid() ? strokeWidth / 2 : 0;
    const QRectF box = r.adjusted(half, half, -half, -half);
    if (fillTo.isValid()) {
        QLinearGradient g(box.topLeft(), box.bottomLeft());
        g.setColorAt(0, fill);
        g.setColorAt(1, fillTo);
        p.setBrush(g);
    } else if (fill.isValid()) {
        p.setBrush(fill);
    } else {
        p.setBrush(Qt::NoBrush);
    }
    p.setPen(stroke.isValid() ? QPen(stroke, strokeWidth) : QPen(Qt::NoPen));
    p.drawRoundedRect(box, radius, radius);
}
} // namespace

class ShapeWidget final : public QWidget {
public:
    ShapeWidget(QWidget* parent, Shape* owner) : QWidget(parent), owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const Shape& s = *owner_;
        if (s.highlightStyle_) {
            p.setRenderHint(QPainter::Antialiasing);
            const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
            QLinearGradient border(r.topLeft(), r.bottomLeft());
            border.setColorAt(0, QColor(0xFF, 0xD7, 0x00));
            border.setColorAt(1, Qt::white);
            p.setPen(QPen(QBrush(border), 2));
            p.setBrush(QColor(0xFF, 0xFF, 0x66));
            p.drawRoundedRect(r, 3, 3);
            return;
        }
        paintBox(p, QRectF(rect()), s.fill_, s.fillTo_, s.stroke_, s.strokeWidth_, s.radius_);
    }

private:
    Shape* owner_;
};

Shape::Shape(QWidget* parent) : Control(new ShapeWidget(parent, this))
{
    widget_->setFocusPolicy(Qt::NoFocus);
}

void Shape::setFill(const QColor& c, const QColor& to) { fill_ = c; fillTo_ = to; widget_->update(); }
void Shape::setStroke(const QColor& c, double w) { stroke_ = c; strokeWidth_ = w; widget_->update(); }
void Shape::setRadius(double r) { radius_ = r; widget_->update(); }
void Shape::setHighlightStyle() { highlightStyle_ = true; widget_->update(); }

class PanelWidget final : public QWidget {
public:
    PanelWidget(QWidget* parent, Panel* owner) : QWidget(parent), owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const Panel& o = *owner_;
        if (o.calloutLength_ <= 0 || o.calloutWidth_ <= 0) {
            paintBox(p, QRectF(rect()), o.fill_, o.fillTo_, o.stroke_, 1, o.radius_);
            return;
        }
        // The box gives up the pointer's length on its side; the pointer stands on it.
        QRectF box(rect());
        const double len = o.calloutLength_, half = o.calloutWidth_ / 2;
        QPolygonF tip;
        const QPointF c = box.center();
        switch (o.calloutSide_) {
        case 1:
            box.setLeft(box.left() + len);
            tip << QPointF(box.left(), c.y() + o.calloutOffset_ - half) << QPointF(0, c.y() + o.calloutOffset_)
                << QPointF(box.left(), c.y() + o.calloutOffset_ + half);
            break;
        case 2:
            box.setBottom(box.bottom() - len);
            tip << QPointF(c.x() + o.calloutOffset_ - half, box.bottom()) << QPointF(c.x() + o.calloutOffset_, rect().height())
                << QPointF(c.x() + o.calloutOffset_ + half, box.bottom());
            break;
        case 3:
            box.setRight(box.right() - len);
            tip << QPointF(box.right(), c.y() + o.calloutOffset_ - half) << QPointF(rect().width(), c.y() + o.calloutOffset_)
                << QPointF(box.right(), c.y() + o.calloutOffset_ + half);
            break;
        default:
            box.setTop(box.top() + len);
            tip << QPointF(c.x() + o.calloutOffset_ - half, box.top()) << QPointF(c.x() + o.calloutOffset_, 0)
                << QPointF(c.x() + o.calloutOffset_ + half, box.top());
            break;
        }
        QPainterPath shape;
        shape.addRoundedRect(box, o.radius_, o.radius_);
        QPainterPath pointer;
        pointer.addPolygon(tip);
        pointer.closeSubpath();
        shape = shape.united(pointer);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(o.stroke_.isValid() ? QPen(o.stroke_, 1) : QPen(Qt::NoPen));
        p.setBrush(o.fill_.isValid() ? QBrush(o.fill_) : QBrush(Qt::NoBrush));
        p.drawPath(shape);
    }

private:
    Panel* owner_;
};

Panel::Panel(QWidget* parent) : Control(new PanelWidget(parent, this))
{
    widget_->setFocusPolicy(Qt::NoFocus);
}

void Panel::setFill(const QColor& c, const QColor& to) { fill_ = c; fillTo_ = to; widget_->update(); }
void Panel::setStroke(const QColor& c) { stroke_ = c; widget_->update(); }
void Panel::setRadius(double r) { radius_ = r; widget_->update(); }

void Panel::setCallout(int side, double width, double length, double offset)
{
    calloutSide_ = side;
    calloutWidth_ = width;
    calloutLength_ = length;
    calloutOffset_ = offset;
    widget_->update();
}

GroupBox::GroupBox(QWidget* parent) : Control(new QGroupBox(parent))
{
    widget_->setFocusPolicy(Qt::NoFocus);
}

QString GroupBox::text() const { return static_cast<QGroupBox*>(widget_.data())->title(); }
void GroupBox::setText(const QString& t) { static_cast<QGroupBox*>(widget_.data())->setTitle(t); }

// ---------------------------------------------------------------- ListBox

namespace {
QFont listFont()
{
    QFont f(QStringLiteral("Courier New"));
    f.setPixelSize(12);
    return f;
}
} // namespace

ListBox::ListBox(QWidget* parent, bool waitForShow)
    : Control(waitForShow ? new QWidget(parent) : new LineListView(parent))
{
    const auto setUp = [this](LineListView* l) {
        l->setFocusPolicy(Qt::StrongFocus);
        l->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        l->setEditTriggers(QAbstractItemView::NoEditTriggers);
        l->setFont(listFont());
        watch(l->viewport());
        QObject::connect(l->selectionModel(), &QItemSelectionModel::currentRowChanged, l,
                         [this](const QModelIndex&, const QModelIndex&) { fire(onChange); });
        return l;
    };
    // The stand-in has the list's font, which fonts set later are applied over.
    if (waitForShow) widget_->setFont(listFont());
    setUpWidget<LineListView>(waitForShow, setUp);
}

QVariant ListBox::dragValue() const
{
    const int i = itemIndex();
    return i >= 0 ? QVariant(item(i)) : QVariant();
}

LineListView* ListBox::listWidget() const { return static_cast<LineListView*>(widget()); }
void ListBox::setSorted(bool s) { sorted_ = s; }

namespace {
LineModel* lineModel(const ListBox& box) { return box.listWidget()->lineModel(); }
} // namespace

int ListBox::add(const QString& line, qint64 tag)
{
    LineModel* m = lineModel(*this);
    int pos = m->rowCount();
    if (sorted_) {
        // After every line that does not compare greater: equal lines keep their order.
        int lo = 0, hi = m->rowCount();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (m->compareLine(mid, line) <= 0) lo = mid + 1;
            else hi = mid;
        }
        pos = lo;
    }
    m->insertLine(pos, line, tag);
    return pos;
}

void ListBox::addLines(PackedLines lines)
{
    LineModel* m = lineModel(*this);
    if (m->rowCount() > 0) {
        for (qsizetype i = 0; i < lines.size(); ++i) add(lines.text(i), lines.tag(i));
        return;
    }
    std::vector<quint32> order;
    if (sorted_) {
        order = lines.sortedOrder();
    } else {
        order.resize(size_t(lines.size()));
        for (size_t i = 0; i < order.size(); ++i) order[i] = quint32(i);
    }
    m->setLines(std::move(lines), std::move(order));
}

qint64 ListBox::tag(int i) const
{
    return i >= 0 && i < count() ? lineModel(*this)->tag(i) : -1;
}
void ListBox::setLineSize(QSize size) { lineModel(*this)->setLineSize(size); }

void ListBox::clear() { lineModel(*this)->clear(); }
int ListBox::count() const { return lineModel(*this)->rowCount(); }
QString ListBox::item(int i) const { return i >= 0 && i < count() ? lineModel(*this)->text(i) : QString(); }

QStringList ListBox::itemsText() const
{
    QStringList out;
    out.reserve(count());
    for (int i = 0; i < count(); ++i) out << item(i);
    return out;
}

int ListBox::itemIndex() const { return listWidget()->currentRow(); }
void ListBox::setItemIndex(int i) { listWidget()->setCurrentRow(i); }

// ---------------------------------------------------------------- StringGrid

namespace {
void setTableColumns(QTableWidget* t, const std::vector<StringGrid::Column>& cols)
{
    t->setColumnCount(int(cols.size()));
    for (int c = 0; c < int(cols.size()); ++c) {
        auto* h = new QTableWidgetItem(cols[size_t(c)].header);
        h->setData(Qt::UserRole, cols[size_t(c)].readOnly);
        t->setHorizontalHeaderItem(c, h);
        t->setColumnWidth(c, cols[size_t(c)].width);
    }
}
} // namespace

StringGrid::StringGrid(QWidget* parent, bool waitForShow)
    : Control(waitForShow ? new QWidget(parent) : new QTableWidget(parent))
{
    // Columns, row height and row count set while the table waited are given to it in
    // that order, which is the order the windows set them in.
    const auto setUp = [this](QTableWidget* t) {
        t->setFocusPolicy(Qt::StrongFocus);
        t->setAlternatingRowColors(true);
        t->verticalHeader()->setVisible(false);
        t->setSelectionBehavior(QAbstractItemView::SelectItems);
        if (!columns_.empty()) setTableColumns(t, columns_);
        t->verticalHeader()->setDefaultSectionSize(rowHeight_);
        t->setRowCount(rowCount_);
        columns_.clear();
        watch(t->viewport());
        return t;
    };
    setUpWidget<QTableWidget>(waitForShow, setUp);
}

QTableWidget* StringGrid::tableWidget() const { return static_cast<QTableWidget*>(widget()); }

void StringGrid::setColumns(const std::vector<Column>& cols)
{
    if (!realized()) columns_ = cols;
    else setTableColumns(tableWidget(), cols);
}

int StringGrid::columnCount() const { return realized() ? tableWidget()->columnCount() : int(columns_.size()); }
int StringGrid::rowCount() const { return realized() ? tableWidget()->rowCount() : rowCount_; }

void StringGrid::setRowCount(int n)
{
    if (!realized()) rowCount_ = std::max(0, n);
    else tableWidget()->setRowCount(n);
}

QString StringGrid::cell(int col, int row) const
{
    auto* it = tableWidget()->item(row, col);
    return it ? it->text() : QString();
}

void StringGrid::setCell(int col, int row, const QString& text)
{
    auto* t = tableWidget();
    if (row >= t->rowCount() || col >= t->columnCount() || row < 0 || col < 0) return;
    auto* it = t->item(row, col);
    if (!it) {
        it = new QTableWidgetItem;
        auto* h = t->horizontalHeaderItem(col);
        if (h && h->data(Qt::UserRole).toBool()) it->setFlags(it->flags() & ~Qt::ItemIsEditable);
        t->setItem(row, col, it);
    }
    it->setText(text);
}

void StringGrid::setRowHeight(int h)
{
    if (!realized()) rowHeight_ = h;
    else tableWidget()->verticalHeader()->setDefaultSectionSize(h);
}
int StringGrid::selectedRow() const { return tableWidget()->currentRow(); }

// ---------------------------------------------------------------- Calendar

namespace {
const QDate kDayZero(1899, 12, 30);
}

Calendar::Calendar(QWidget* parent, bool waitForShow)
    : Control(waitForShow ? new QWidget(parent) : new QCalendarWidget(parent))
{
    const auto setUp = [this](QCalendarWidget* c) {
        c->setFocusPolicy(Qt::StrongFocus);
        c->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        c->setFirstDayOfWeek(Qt::Monday);
        // Month and day names in Italian, whatever the machine's language.
        c->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
        // The date set while the calendar waited; OnChange ran when it was set.
        if (date_.isValid()) c->setSelectedDate(date_);
        QObject::connect(c, &QCalendarWidget::selectionChanged, c, [this] { fire(onChange); });
        QObject::connect(c, &QCalendarWidget::clicked, c, [this](QDate) { fire(onDateSelected); });
        QObject::connect(c, &QCalendarWidget::activated, c, [this](QDate) { fire(onDateSelected); });
        return c;
    };
    // A new calendar shows today.
    if (waitForShow) date_ = QDate::currentDate();
    setUpWidget<QCalendarWidget>(waitForShow, setUp);
}

QCalendarWidget* Calendar::calendarWidget() const { return static_cast<QCalendarWidget*>(widget()); }
double Calendar::date() const
{
    return double(kDayZero.daysTo(realized() ? calendarWidget()->selectedDate() : date_));
}

void Calendar::setDate(double d)
{
    const QDate day = kDayZero.addDays(qint64(std::floor(d)));
    if (realized()) {
        calendarWidget()->setSelectedDate(day);
        return;
    }
    // As the calendar itself: an invalid day changes nothing, the same day tells no one.
    if (!day.isValid() || day == date_) return;
    date_ = day;
    fire(onChange);
}

} // namespace orv::platform::ui
