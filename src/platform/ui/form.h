#pragma once
// A window of the program. Each window is a class TfrmXxx derived from Form with one
// global instance frmXxx; its controls are members named as in its layout table:
//
//   class TfrmPassword : public orv::platform::ui::Form {
//   public:
//       explicit TfrmPassword(QWidget* owner = nullptr);
//       ORV_CONTROL(Edit, txtPassword);
//       ORV_CONTROL(Button, cmdOK);
//       void cmdOKClick();
//   };
//
// The constructor binds handlers (cmdOK.onClick = [this] { cmdOKClick(); };) and ends
// with created(), which runs OnCreate once.
//
// Semantics kept from the original platform:
//  - OnShow runs each time the window is shown by the program, never when it is restored
//    from minimised; OnClose runs on close() and on the frame's close button, and its
//    action decides between hiding (the default), keeping the window open, and freeing it.
//  - Closing the application's main window ends the application; closing the last
//    visible window does not.
//  - No default or cancel buttons and no Escape-to-close.
//  - showModal() runs the window in a nested loop (through the replaceable modal
//    service) and returns its modal result; setting a modal result closes it.
#include "platform/ui/layout.h"
#include "platform/ui/services.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#define ORV_CONTROL(Type, name) ::orv::platform::ui::Type& name = control<::orv::platform::ui::Type>(QStringLiteral(#name))

class QEventLoop;

namespace orv::platform::ui {

enum class Border {
    Single,    // fixed size, title bar without buttons
    Sizeable,  // ordinary frame that can be closed
};
enum class Placement { ScreenCenter, OwnerCenter, Maximized, Designed };
enum class CloseAction { None, Hide, Free };

struct FormSpec {
    QString name;  // runtime name, the global instance's name ("frmPassword")
    QString caption;
    int clientWidth = 0;
    int clientHeight = 0;
    Border border = Border::Single;
    Placement placement = Placement::ScreenCenter;
    QColor background = QColor(0xF0, 0xF0, 0xF0);
    QColor gradientTo{};  // vertical gradient from background to this colour
};

class Form : public QWidget {
public:
    // owner: the window that owns this one (dialogs); the form is then destroyed with it
    // unless destroyed earlier.
    Form(QWidget* owner, const FormSpec& spec, const Layout& layout);
    ~Form() override;

    QString caption() const;
    void setCaption(const QString& c);

    // Shows modally through the modal service; returns the modal result.
    int showModal();
    int modalResult() const { return modalResult_; }
    void setModalResult(int r);
    bool inModal() const { return inModal_; }
    // The modal loop itself (used by the modal services): shows the form, runs a nested
    // loop until it is hidden (or, when `instead` is given, runs that in place of the
    // loop and closes the form afterwards if it is still open), returns the result.
    int execModal(const std::function<void()>& instead = {});

    // The control that holds this window's focus, or nullptr.
    Control* focusedControl() const { return focused_; }
    // The control of that name; one inside a deferred container is built first, with
    // everything else still waiting.
    Control* findControl(const QString& name) const;
    // The control of that name if it is built already; never builds anything.
    Control* builtControl(const QString& name) const;
    // The controls built so far, in the order they were built.
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    // Builds the contents of the deferred containers now, if they are still waiting.
    void buildDeferred();
    bool hasDeferred() const { return !pending_.empty(); }
    template <class T>
    T& control(const QString& name) const
    {
        auto* t = dynamic_cast<T*>(findControl(name));
        if (!t) throw std::logic_error(("no control " + name + " of that kind in " + objectName()).toStdString());
        return *t;
    }

    Handler onCreate;
    Handler onShow;
    Handler onHide;
    // The window became the active one, or stopped being it.
    Handler onActivate;
    Handler onDeactivate;
    std::function<void(CloseAction& action)> onClose;
    MouseMoveHandler onMouseMove;

    // The application's main window: closing it ends the application.
    static void setMainForm(Form* f);
    static Form* mainForm();

    // Internal: moves this window's focus to c (OnCanFocus, OnExit, OnEnter); false when
    // OnCanFocus refused.
    bool moveFocus(Control* c);

    void setVisible(bool visible) override;

protected:
    // Runs OnCreate; call once at the end of the derived constructor.
    void created();
    // The deferred contents were just built: controls()[first] onwards. A window binds
    // what it could not bind at construction here.
    virtual void deferredBuilt(size_t first);

    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void build(const Layout& layout);
    void buildItem(const Item& item);
    Control* createControl(const Item& item);
    void restoreTabOrder();
    void centreChildren();

    FormSpec spec_;
    std::vector<std::unique_ptr<Control>> controls_;
    // Looked up by name for every control a layout places inside another and for every
    // member a window binds, so large windows would otherwise search themselves quadratically.
    QHash<QString, Control*> byName_;
    std::vector<Control*> centred_;
    // The deferred containers' contents in layout order, and every item's name in layout
    // order, which the Tab order follows once they are built.
    std::vector<Item> pending_;
    QStringList layoutOrder_;
    Control* focused_ = nullptr;
    int modalResult_ = mrNone;
    bool inModal_ = false;
    bool createdDone_ = false;
    bool destroying_ = false;
    QEventLoop* loop_ = nullptr;
};

// The dialog protocol of the windows: create a new window of class F owned by `owner`,
// let `setup` fill it (caller tag, texts), show it modally and destroy it. Returns the
// modal result.
template <class F, class Setup>
int runDialog(QWidget* owner, Setup&& setup)
{
    auto dlg = std::make_unique<F>(owner);
    setup(*dlg);
    return dlg->showModal();
}
template <class F>
int runDialog(QWidget* owner)
{
    return runDialog<F>(owner, [](F&) {});
}

} // namespace orv::platform::ui
