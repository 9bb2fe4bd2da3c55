#pragma once
// The report engine's own controls and the base of its windows:
//  - TfrxScrollWin: a content area that the descendant paints, with a horizontal and a
//    vertical scroll bar shown only when the range exceeds the control;
//  - TfrxSplitter: a splitter that reports every move while dragged;
//  - TfrxToolButton, TfrxToolSeparator, TfrxToolGrip: the preview's tool bar;
//  - TfrxEditWithButton: an edit with a small ellipsis button at its right;
//  - TfrxTreeView with TfrxTreeViewItem: a tree with icons from one picture strip and
//    in-place editing of node texts;
//  - the small routines of the same family.
// The engine's windows (preview, print dialog, page settings, progress) take English
// texts from the string resources and behave like ordinary dialogs of a desktop: Enter
// presses the default button, Esc the cancel button (orv::report::EngineWindow).
#include "platform/ui/dispatch.h"
#include "platform/ui/form.h"

#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTransform>
#include <QTreeWidget>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QScrollBar;
class QGroupBox;
class QLabel;
class QComboBox;
class QCheckBox;
class QRadioButton;
class QIODevice;

// ---------------------------------------------------------------- scroll window

namespace orv::report {

class TfrxScrollWin : public QWidget {
public:
    explicit TfrxScrollWin(QWidget* Parent = nullptr);
    ~TfrxScrollWin() override;

    double HorzPosition() const;
    void SetHorzPosition(double Value);
    double VertPosition() const;
    void SetVertPosition(double Value);
    double HorzRange() const { return m_horzRange; }
    void SetHorzRange(double Value);
    double VertRange() const { return m_vertRange; }
    void SetVertRange(double Value);
    // The content area (inside the scroll bars that show), in the control's coordinates.
    QRect GetClientRect() const;
    QScrollBar* HorzScrollBar() const { return m_hbar; }
    QScrollBar* VertScrollBar() const { return m_vbar; }
    QWidget* Content() const { return m_content; }
    // Repaints the content area.
    void Repaint();

protected:
    virtual void HScrollChange() {}
    virtual void VScrollChange() {}
    virtual void DoContentPaint(QPainter& Painter, const QRect& ARect) {}

    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    friend class ScrollContent;
    void UpdateScrollBars();
    void placeChildren();
    QScrollBar* m_hbar;
    QScrollBar* m_vbar;
    QWidget* m_content;
    double m_horzRange = 0, m_vertRange = 0;
    bool m_updating = false;
};

// ---------------------------------------------------------------- splitter

// A vertical bar between a left band and the rest; dragging it moves its left edge and
// raises OnMove at every step.
class TfrxSplitter : public QWidget {
public:
    explicit TfrxSplitter(QWidget* Parent = nullptr);
    std::function<void(TfrxSplitter* Sender)> OnMove;
    // The width of the band the splitter follows, changed while dragging.
    std::function<void(int NewWidth)> OnResizeBand;
    std::function<int()> BandWidth;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    bool m_pressed = false;
    double m_startX = 0;
    int m_startWidth = 0;
};

// ---------------------------------------------------------------- tool bar

class TfrxToolButton : public QAbstractButton {
public:
    explicit TfrxToolButton(QWidget* Parent = nullptr);
    const QImage& Bitmap() const { return m_bitmap; }
    void SetBitmap(const QImage& Value);
    // Stored, not drawn: the tool buttons of panels that are on.
    bool Down() const { return m_down; }
    void SetDown(bool Value) { m_down = Value; }
    const QString& Hint() const { return m_hint; }
    void SetHint(const QString& Value) { m_hint = Value; }
    std::function<void(TfrxToolButton*)> OnMouseEnter, OnMouseLeave;

protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    QImage m_bitmap;
    bool m_down = false;
    QString m_hint;
};

class TfrxToolSeparator : public QWidget {
public:
    explicit TfrxToolSeparator(QWidget* Parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
};

class TfrxToolGrip : public QWidget {
public:
    explicit TfrxToolGrip(QWidget* Parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
};

// ---------------------------------------------------------------- edit with button

class TfrxEditButton : public QAbstractButton {
public:
    explicit TfrxEditButton(QWidget* Parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
};

class TfrxEditWithButton : public QLineEdit {
public:
    explicit TfrxEditWithButton(QWidget* Parent = nullptr);
    TfrxEditButton* Button() const { return m_button; }
    std::function<void(TfrxEditWithButton* Sender)> OnButtonClick;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    TfrxEditButton* m_button;
};

// ---------------------------------------------------------------- tree

class TfrxTreeView;

class TfrxTreeViewItem : public QTreeWidgetItem {
public:
    TfrxTreeViewItem() = default;
    int CloseImageIndex = -1;
    int OpenImageIndex = -1;
    void* Data = nullptr;
    // The icon that fits the node's state (open or closed), from its tree's strip.
    void UpdateIcon();
};

class TfrxTreeView : public QTreeWidget {
public:
    explicit TfrxTreeView(QWidget* Parent = nullptr);
    ~TfrxTreeView() override;

    // A new node with the text, under Root (a node) or at the top (nullptr).
    TfrxTreeViewItem* AddItem(TfrxTreeViewItem* Root, const QString& Text);
    // Starts editing the selected node's text when the tree is editable.
    void DoEdit();
    // Ends an edit in progress; Accept keeps the new text (which OnEdited may change).
    void EndEdit(bool Accept);
    bool IsEditing() const { return m_isEditing; }
    bool Editable = false;
    bool ManualDragAndDrop = false;
    // The picture strip of node icons, owned.
    void LoadResouces(QIODevice& Stream, int AIconWidth, int AIconHeight);
    // The strip, not owned.
    void SetImages(const QImage* Bmp);
    const QImage* PicBitmap() const { return m_strip; }
    int IconWidth = 16, IconHeight = 16;
    // The icon's rectangle in the strip; empty without a strip.
    QRect GetBitmapRect(int Index) const;
    std::function<void(TfrxTreeView* Sender, TfrxTreeViewItem* Node, QString& S)> OnEdited;
    std::function<void(TfrxTreeView* Sender, TfrxTreeViewItem* OldNode, TfrxTreeViewItem* NewNode)> OnBeforeChange;
    QLineEdit* EditBox() const { return m_editBox; }

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QLineEdit* m_editBox;
    TfrxTreeViewItem* m_editing = nullptr;
    bool m_isEditing = false;
    const QImage* m_strip = nullptr;
    std::unique_ptr<QImage> m_ownedStrip;
};

// ---------------------------------------------------------------- routines

// The part of S after its first "|" (S when it has none) and the part before it.
QString TextAfterBar(const QString& S);
QString TextBeforeBar(const QString& S);
QTransform TranslationMatrix(double dx, double dy);
QTransform RotationMatrix(double Angle);
// The installed font families, sorted.
void ListInstalledFonts(QStringList& Strings);

} // namespace orv::report

// ---------------------------------------------------------------- engine windows

namespace orv::report {

// A window of the report engine: a form without controls of the program's own kind,
// filled with plain widgets that carry the names of the engine's layouts (so that tests
// find "PrintersCB" by name). Enter presses the default button (or the button holding
// the focus), Esc the cancel button.
class EngineWindow : public orv::platform::ui::Form {
public:
    EngineWindow(QWidget* Owner, const orv::platform::ui::FormSpec& Spec);

    void SetDefaultButton(QPushButton* B) { m_default = B; }
    void SetCancelButton(QPushButton* B) { m_cancel = B; }

    // Widgets of the window, named and placed at their designed position inside Parent
    // (the window itself when nullptr).
    QGroupBox* AddGroup(QWidget* Parent, const char* Name, int X, int Y, int W, int H, const QString& Text);
    QLabel* AddLabel(QWidget* Parent, const char* Name, int X, int Y, int W, int H, const QString& Text);
    QLineEdit* AddEdit(QWidget* Parent, const char* Name, int X, int Y, int W, int H, const QString& Text = {});
    QComboBox* AddCombo(QWidget* Parent, const char* Name, int X, int Y, int W, int H);
    QCheckBox* AddCheck(QWidget* Parent, const char* Name, int X, int Y, int W, int H, const QString& Text);
    QRadioButton* AddRadio(QWidget* Parent, const char* Name, int X, int Y, int W, int H, const QString& Text);
    // A button that closes the window with the modal result when it is not mrNone.
    QPushButton* AddButton(QWidget* Parent, const char* Name, int X, int Y, int W, int H, const QString& Text,
                           int ModalResult = orv::platform::ui::mrNone);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPointer<QPushButton> m_default, m_cancel;
};

// Runs a piece of an event handler at the dispatch boundary: an error it raises is shown
// in the general error box, never passed on to Qt.
template <class F>
void guarded(F&& Work) noexcept
{
    try {
        Work();
    } catch (...) {
        orv::platform::ui::reportCurrentException();
    }
}

// Connects a widget's signal to a handler that runs at the dispatch boundary.
template <class Sender, class Signal, class F>
void connectHandler(Sender* S, Signal Sig, QObject* Context, F&& Handler)
{
    QObject::connect(S, Sig, Context, [h = std::forward<F>(Handler)](auto&&...) { guarded(h); });
}

// The file-save dialog of the engine's windows ("Print to file", "Save" of the preview),
// replaceable in tests.
class SaveDialogService {
public:
    virtual ~SaveDialogService() = default;
    // Filter in the "Description|*.ext" form; the chosen file's full path, or nothing
    // when the dialog was cancelled.
    virtual std::optional<QString> saveFile(const QString& Title, const QString& Filter) = 0;
};
SaveDialogService& saveDialog();
void setSaveDialog(SaveDialogService* Service);

} // namespace orv::report
