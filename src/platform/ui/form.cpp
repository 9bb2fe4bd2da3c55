#include "platform/ui/form.h"

#include "platform/ui/application.h"
#include "platform/ui/dispatch.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSet>

#include <algorithm>

namespace orv::platform::ui {

namespace {

Form* theMainForm = nullptr;

// Focus moves between the controls of one window become that window's OnExit / OnEnter.
// A move to another window, a message box or nothing leaves every window's own focus as
// it was, so activation changes never run those handlers.
void ensureFocusTracking()
{
    static bool connected = false;
    if (connected || !qApp) return;
    connected = true;
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
        if (!now) return;
        Control* c = controlOf(now);
        if (c && c->form() && c->form() == now->window()) c->form()->moveFocus(c);
    });
}

} // namespace

QString highlightName(const QString& controlName)
{
    return QStringLiteral("eff") + (controlName.startsWith(QLatin1String("txt")) ? controlName.mid(3) : controlName);
}

Form::Form(QWidget* owner, const FormSpec& spec, const Layout& layout)
    : QWidget(owner, Qt::Window), spec_(spec)
{
    setObjectName(spec.name);
    setWindowTitle(spec.caption);
    if (spec.border == Border::Single) {
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        setFixedSize(spec.clientWidth, spec.clientHeight);
    } else {
        resize(spec.clientWidth, spec.clientHeight);
    }
    if (spec.placement == Placement::Maximized) setWindowState(Qt::WindowMaximized);
    setMouseTracking(true);
    ensureFocusTracking();
    build(layout);
}

Form::~Form()
{
    // The window class around this form is gone already: no handler may run from here on.
    destroying_ = true;
    if (theMainForm == this) theMainForm = nullptr;
    focused_ = nullptr;
    while (!controls_.empty()) {
        byName_.remove(controls_.back()->name());
        controls_.pop_back();
    }
}

QString Form::caption() const { return windowTitle(); }
void Form::setCaption(const QString& c) { setWindowTitle(c); }

void Form::setMainForm(Form* f) { theMainForm = f; }
Form* Form::mainForm() { return theMainForm; }

void Form::created()
{
    if (createdDone_) return;
    createdDone_ = true;
    fire(onCreate);
}

Control* Form::builtControl(const QString& name) const { return byName_.value(name, nullptr); }

Control* Form::findControl(const QString& name) const
{
    if (Control* c = builtControl(name)) return c;
    if (pending_.empty() || destroying_) return nullptr;
    // Asking for a control by name is what every caller does before using it, so a name
    // not built yet may be one of the deferred ones: they are built, all together.
    const_cast<Form*>(this)->buildDeferred();
    return builtControl(name);
}

void Form::build(const Layout& layout)
{
    byName_.reserve(byName_.size() + qsizetype(layout.size()) * 2);
    const bool defers = std::any_of(layout.begin(), layout.end(), [](const Item& i) { return i.isDeferred; });
    QSet<QString> deferredContainers;
    for (const Item& item : layout) {
        if (defers) {
            layoutOrder_ << item.name;
            if (deferredContainers.contains(item.parentName)) {
                deferredContainers.insert(item.name);
                pending_.push_back(item);
                continue;
            }
            if (item.isDeferred) deferredContainers.insert(item.name);
        }
        buildItem(item);
    }
}

void Form::buildItem(const Item& item)
{
    Shape* eff = nullptr;
    if (item.hasHighlight) {
        Item h = make(Kind::Shape, highlightName(item.name), item.x - 4, item.y - 4, item.w + 8, item.h + 8);
        h.parentName = item.parentName;
        eff = static_cast<Shape*>(createControl(h));
        eff->setHighlightStyle();
        eff->hide();
    }
    Control* c = createControl(item);
    if (eff) c->setHighlight(eff);
}

void Form::buildDeferred()
{
    if (pending_.empty() || destroying_) return;
    const std::vector<Item> items = std::move(pending_);
    pending_.clear();
    const size_t first = controls_.size();
    bool centred = false;
    for (const Item& item : items) {
        buildItem(item);
        centred = centred || item.isCentred;
    }
    restoreTabOrder();
    if (centred) centreChildren();
    deferredBuilt(first);
}

void Form::deferredBuilt(size_t) {}

// Qt puts a new widget at the end of its window's focus chain; the controls built late
// go back to where the layout has them, as if they had been built in its order.
void Form::restoreTabOrder()
{
    QWidget* previous = nullptr;
    for (const QString& name : std::as_const(layoutOrder_)) {
        Control* c = builtControl(name);
        QWidget* w = c ? c->currentWidget() : nullptr;
        if (!w || w->focusPolicy() == Qt::NoFocus) continue;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void Form::setVisible(bool visible)
{
    // Nothing of a window may be missing once the user can see it.
    if (visible) {
        buildDeferred();
        for (const auto& c : controls_) c->realize();
    }
    QWidget::setVisible(visible);
}

Control* Form::createControl(const Item& it)
{
    QWidget* parent = this;
    if (!it.parentName.isEmpty()) {
        Control* p = builtControl(it.parentName);
        if (!p) throw std::logic_error(("container " + it.parentName + " must come before " + it.name).toStdString());
        parent = p->widget();
    }
    std::unique_ptr<Control> c;
    // The Qt widgets of edits, labels, combos, lists, grids and calendars are built when
    // the window is first shown: most windows exist long before, and many never are.
    switch (it.kind) {
    case Kind::Edit: {
        auto e = std::make_unique<Edit>(parent, true);
        e->setMaxLength(it.maxLength);
        e->setMasked(it.isMasked);
        e->setReadOnly(it.isReadOnly);
        if (it.alignment) e->setAlign(*it.alignment);
        // A new edit is empty; laying out an empty text again is not free for hundreds.
        if (!it.text.isEmpty()) e->setText(it.text);
        c = std::move(e);
        break;
    }
    case Kind::ComboEdit: {
        auto e = std::make_unique<ComboEdit>(parent, true);
        e->setItems(it.listItems);
        e->setMaxLength(it.maxLength);
        if (it.alignment) e->setAlign(*it.alignment);
        if (!it.text.isEmpty()) e->setText(it.text);
        c = std::move(e);
        break;
    }
    case Kind::Label: {
        auto l = std::make_unique<Label>(parent, true);
        l->setText(it.text);
        if (it.alignment) l->setAlign(*it.alignment);
        l->setWordWrap(it.isWrapped);
        if (it.fillColor.isValid()) l->setFill(it.fillColor);
        c = std::move(l);
        break;
    }
    case Kind::Memo: {
        auto m = std::make_unique<Memo>(parent);
        m->setReadOnly(it.isReadOnly);
        m->setWordWrap(it.isWrapped);
        m->setText(it.text);
        c = std::move(m);
        break;
    }
    case Kind::Image: {
        auto i = std::make_unique<Image>(parent);
        if (it.artwork) i->setArtwork(it.artwork);
        c = std::move(i);
        break;
    }
    case Kind::Button: {
        auto b = std::make_unique<Button>(parent);
        b->setText(it.text);
        c = std::move(b);
        break;
    }
    case Kind::CheckBox: {
        auto b = std::make_unique<CheckBox>(parent);
        b->setText(it.text);
        b->setChecked(it.isChecked);
        c = std::move(b);
        break;
    }
    case Kind::Shape: {
        auto s = std::make_unique<Shape>(parent);
        s->setFill(it.fillColor, it.fillTo);
        if (it.strokeColor.isValid()) s->setStroke(it.strokeColor);
        s->setRadius(it.cornerRadius);
        c = std::move(s);
        break;
    }
    case Kind::Panel: {
        auto p = std::make_unique<Panel>(parent);
        p->setFill(it.fillColor, it.fillTo);
        if (it.strokeColor.isValid()) p->setStroke(it.strokeColor);
        p->setRadius(it.cornerRadius);
        c = std::move(p);
        break;
    }
    case Kind::GroupBox: {
        auto g = std::make_unique<GroupBox>(parent);
        g->setText(it.text);
        c = std::move(g);
        break;
    }
    case Kind::ListBox: {
        auto l = std::make_unique<ListBox>(parent, true);
        l->setSorted(it.isSorted);
        c = std::move(l);
        break;
    }
    case Kind::StringGrid: c = std::make_unique<StringGrid>(parent, true); break;
    case Kind::Calendar: c = std::make_unique<Calendar>(parent, true); break;
    }
    if (builtControl(it.name)) throw std::logic_error(("duplicate control " + it.name).toStdString());
    c->attach(this, it.name);
    c->setBounds(it.x, it.y, it.w, it.h);
    if (it.fontSpec) c->setFont(*it.fontSpec);
    if (it.handCursor) c->setHandCursor(true);
    if (!it.isEnabled) c->setEnabled(false);
    if (!it.isVisible) c->hide();
    if (it.isCentred) centred_.push_back(c.get());
    byName_.insert(it.name, c.get());
    controls_.push_back(std::move(c));
    return controls_.back().get();
}

bool Form::moveFocus(Control* c)
{
    if (destroying_) return false;
    if (c == focused_) return true;
    if (c) {
        bool allow = true;
        fire(c->onCanFocus, allow);
        if (!allow) {
            if (focused_ && focused_->widget()) focused_->widget()->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    Control* old = focused_;
    focused_ = c;
    if (old) {
        if (old->highlight()) old->highlight()->hide();
        fire(old->onExit);
        if (focused_ != c) return false;  // OnExit moved the focus elsewhere
    }
    if (c) {
        if (c->highlight()) c->highlight()->show();
        fire(c->onEnter);
    }
    return true;
}

int Form::showModal() { return modal().showModal(*this); }

void Form::setModalResult(int r)
{
    modalResult_ = r;
    if (r != mrNone && inModal_) close();
}

int Form::execModal(const std::function<void()>& instead)
{
    modalResult_ = mrNone;
    inModal_ = true;
    if (!instead) setWindowModality(Qt::ApplicationModal);
    show();
    if (instead) {
        instead();
        if (isVisible()) close();
    } else if (isVisible()) {
        QEventLoop loop;
        loop_ = &loop;
        loop.exec(QEventLoop::DialogExec);
        loop_ = nullptr;
    }
    inModal_ = false;
    if (isVisible()) hide();
    setWindowModality(Qt::NonModal);
    return modalResult_ == mrNone ? int(mrCancel) : modalResult_;
}

namespace {
// The window that was told it is active and not yet that it stopped being it.
QPointer<Form> g_activeForm;
} // namespace

// The window losing the activation hears so before the one gaining it, whatever order
// the window system reports them in.
bool Form::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && g_activeForm != this) {
        if (Form* old = g_activeForm) {
            g_activeForm = nullptr;
            fire(old->onDeactivate);
        }
        g_activeForm = this;
        fire(onActivate);
    } else if (e->type() == QEvent::WindowDeactivate && g_activeForm == this) {
        g_activeForm = nullptr;
        fire(onDeactivate);
    }
    return QWidget::event(e);
}

void Form::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (e->spontaneous()) return;  // restored from minimised: not a show by the program
    if (spec_.placement == Placement::ScreenCenter || spec_.placement == Placement::OwnerCenter) {
        QRect area = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
        if (spec_.placement == Placement::OwnerCenter && parentWidget())
            area = parentWidget()->window()->frameGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    fire(onShow);
}

void Form::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    if (e->spontaneous()) return;
    fire(onHide);
    if (loop_) loop_->quit();
}

void Form::closeEvent(QCloseEvent* e)
{
    CloseAction action = CloseAction::Hide;
    fire(onClose, action);
    if (action == CloseAction::None) {
        e->ignore();
        if (inModal_) modalResult_ = mrNone;
        return;
    }
    if (inModal_ && modalResult_ == mrNone) modalResult_ = mrCancel;
    e->accept();
    if (this == theMainForm) terminateApplication();
    if (action == CloseAction::Free) deleteLater();
}

void Form::mouseMoveEvent(QMouseEvent* e)
{
    const QPointF p = e->position();
    fire(onMouseMove, shiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
}

void Form::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (spec_.gradientTo.isValid()) {
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, spec_.background);
        g.setColorAt(1, spec_.gradientTo);
        p.fillRect(rect(), g);
    } else {
        p.fillRect(rect(), spec_.background);
    }
}

void Form::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    centreChildren();
}

void Form::centreChildren()
{
    for (Control* c : centred_) {
        QWidget* w = c->widget();
        QWidget* p = w->parentWidget();
        w->move(std::max(0, (p->width() - w->width()) / 2), std::max(0, (p->height() - w->height()) / 2));
    }
}

} // namespace orv::platform::ui
