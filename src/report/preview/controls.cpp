#include "report/preview/controls.h"

#include "platform/ui/dispatch.h"
#include "platform/ui/services.h"
#include "report/base/utils.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>

#include <cmath>

// ---------------------------------------------------------------- scroll window

namespace orv::report {

class ScrollContent final : public QWidget {
public:
    explicit ScrollContent(TfrxScrollWin* Owner) : QWidget(Owner), m_owner(Owner)
    {
        setObjectName(QStringLiteral("content"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        p.setClipRect(e->rect());
        m_owner->DoContentPaint(p, e->rect());
    }

    // The wheel over the content is the scroll window's, whether the platform hands it on
    // from here or not.
    void wheelEvent(QWheelEvent* e) override { m_owner->wheelEvent(e); }

private:
    TfrxScrollWin* m_owner;
};

TfrxScrollWin::TfrxScrollWin(QWidget* Parent)
    : QWidget(Parent), m_hbar(new QScrollBar(Qt::Horizontal, this)), m_vbar(new QScrollBar(Qt::Vertical, this)),
      m_content(new ScrollContent(this))
{
    setFocusPolicy(Qt::StrongFocus);
    m_hbar->setObjectName(QStringLiteral("hscrollbar"));
    m_vbar->setObjectName(QStringLiteral("vscrollbar"));
    m_hbar->setFocusPolicy(Qt::NoFocus);
    m_vbar->setFocusPolicy(Qt::NoFocus);
    m_hbar->hide();
    m_vbar->hide();
    m_hbar->setRange(0, 0);
    m_vbar->setRange(0, 0);
    QObject::connect(m_hbar, &QScrollBar::valueChanged, this, [this] { orv::report::guarded([this] { HScrollChange(); }); });
    QObject::connect(m_vbar, &QScrollBar::valueChanged, this, [this] { orv::report::guarded([this] { VScrollChange(); }); });
    placeChildren();
}

TfrxScrollWin::~TfrxScrollWin() = default;

double TfrxScrollWin::HorzPosition() const { return m_hbar->value(); }
void TfrxScrollWin::SetHorzPosition(double Value) { m_hbar->setValue(int(std::lround(Value))); }
double TfrxScrollWin::VertPosition() const { return m_vbar->value(); }
void TfrxScrollWin::SetVertPosition(double Value) { m_vbar->setValue(int(std::lround(Value))); }

void TfrxScrollWin::SetHorzRange(double Value)
{
    m_horzRange = Value;
    UpdateScrollBars();
}

void TfrxScrollWin::SetVertRange(double Value)
{
    m_vertRange = Value;
    UpdateScrollBars();
}

void TfrxScrollWin::UpdateScrollBars()
{
    if (m_updating)
        return;
    m_updating = true;
    const int w = width(), h = height();
    // A position stays within what the range leaves to scroll; a bar shows only when
    // the range exceeds the control.
    const bool horz = m_horzRange > w, vert = m_vertRange > h;
    m_hbar->setSingleStep(std::max(1, w / 5));
    m_hbar->setPageStep(std::max(1, w));
    m_hbar->setMaximum(std::max(0, int(std::ceil(m_horzRange)) - w));
    m_vbar->setSingleStep(std::max(1, h / 5));
    m_vbar->setPageStep(std::max(1, h));
    m_vbar->setMaximum(std::max(0, int(std::ceil(m_vertRange)) - h));
    m_hbar->setVisible(horz);
    m_vbar->setVisible(vert);
    m_updating = false;
    placeChildren();
}

void TfrxScrollWin::placeChildren()
{
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const bool horz = !m_hbar->isHidden(), vert = !m_vbar->isHidden();
    // With both bars the horizontal one stops short of the vertical one.
    m_vbar->setGeometry(width() - extent, 0, extent, height() - (horz ? extent : 0));
    m_hbar->setGeometry(0, height() - extent, width() - (vert ? extent : 0), extent);
    m_content->setGeometry(GetClientRect());
    m_hbar->raise();
    m_vbar->raise();
}

QRect TfrxScrollWin::GetClientRect() const
{
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return QRect(0, 0, width() - (m_vbar->isHidden() ? 0 : extent), height() - (m_hbar->isHidden() ? 0 : extent));
}

void TfrxScrollWin::Repaint() { m_content->update(); }

void TfrxScrollWin::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    UpdateScrollBars();
}

void TfrxScrollWin::wheelEvent(QWheelEvent* e)
{
    SetVertPosition(VertPosition() - e->angleDelta().y());
    e->accept();
}

void TfrxScrollWin::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_PageUp:
        SetVertPosition(VertPosition() - m_vbar->pageStep());
        break;
    case Qt::Key_PageDown:
        SetVertPosition(VertPosition() + m_vbar->pageStep());
        break;
    case Qt::Key_End:
        SetVertPosition(m_vertRange);
        break;
    case Qt::Key_Home:
        SetVertPosition(0);
        break;
    case Qt::Key_Up:
        SetVertPosition(VertPosition() - m_vbar->singleStep());
        break;
    case Qt::Key_Down:
        SetVertPosition(VertPosition() + m_vbar->singleStep());
        break;
    case Qt::Key_Left:
        SetHorzPosition(HorzPosition() - m_hbar->singleStep());
        break;
    case Qt::Key_Right:
        SetHorzPosition(HorzPosition() + m_hbar->singleStep());
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
}

// ---------------------------------------------------------------- splitter

TfrxSplitter::TfrxSplitter(QWidget* Parent) : QWidget(Parent)
{
    setCursor(Qt::SplitHCursor);
    setFixedWidth(4);
}

void TfrxSplitter::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    m_startX = e->globalPosition().x();
    m_startWidth = BandWidth ? BandWidth() : 0;
}

void TfrxSplitter::mouseMoveEvent(QMouseEvent* e)
{
    if (!m_pressed)
        return;
    if (OnResizeBand)
        orv::platform::ui::fire(OnResizeBand, std::max(0, m_startWidth + int(std::lround(e->globalPosition().x() - m_startX))));
    orv::platform::ui::fire(OnMove, this);
}

void TfrxSplitter::mouseReleaseEvent(QMouseEvent*) { m_pressed = false; }

void TfrxSplitter::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
}

// ---------------------------------------------------------------- tool bar

TfrxToolButton::TfrxToolButton(QWidget* Parent) : QAbstractButton(Parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void TfrxToolButton::SetBitmap(const QImage& Value)
{
    m_bitmap = Value;
    update();
}

void TfrxToolButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int left = frxRound((width() - m_bitmap.width()) / 2.0);
    const int top = frxRound((height() - m_bitmap.height()) / 2.0);
    p.setOpacity(isEnabled() ? 1.0 : 0.2);
    p.drawImage(QPoint(left, top), m_bitmap);
    if (isEnabled() && (underMouse() || isDown())) {
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r(0.5, 0.5, width() - 1.0, height() - 1.0);
        p.setOpacity(0.1);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(r, 1, 1);
        p.setOpacity(0.3);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r, 1, 1);
    }
}

void TfrxToolButton::enterEvent(QEnterEvent* e)
{
    QAbstractButton::enterEvent(e);
    update();
    orv::platform::ui::fire(OnMouseEnter, this);
}

void TfrxToolButton::leaveEvent(QEvent* e)
{
    QAbstractButton::leaveEvent(e);
    update();
    orv::platform::ui::fire(OnMouseLeave, this);
}

TfrxToolSeparator::TfrxToolSeparator(QWidget* Parent) : QWidget(Parent) {}

void TfrxToolSeparator::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor grey(128, 128, 128);
    if (height() >= width()) {
        p.setPen(QPen(grey, 1));
        p.drawLine(QPointF(0.5, 0), QPointF(0.5, height()));
        p.setPen(QPen(Qt::white, 1));
        p.drawLine(QPointF(1.5, 0), QPointF(1.5, height()));
    } else {
        p.setPen(QPen(grey, 1));
        p.drawLine(QPointF(0, 0.5), QPointF(width(), 0.5));
        p.setPen(QPen(Qt::white, 1));
        p.drawLine(QPointF(0, 1.5), QPointF(width(), 1.5));
    }
}

TfrxToolGrip::TfrxToolGrip(QWidget* Parent) : QWidget(Parent) {}

void TfrxToolGrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const bool vertical = height() >= width();
    for (int i = 0; i < 4; ++i)
        p.fillRect(vertical ? QRect(0, 4 * i, 2, 2) : QRect(4 * i, 0, 2, 2), QColor(128, 128, 128));
}

// ---------------------------------------------------------------- edit with button

TfrxEditButton::TfrxEditButton(QWidget* Parent) : QAbstractButton(Parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
}

void TfrxEditButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int x = frxRound(width() / 2.0) - 6, y = frxRound(height() / 2.0) - 1;
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRect(x + 5 * i, y, 2, 2), QColor(128, 128, 128));
}

TfrxEditWithButton::TfrxEditWithButton(QWidget* Parent) : QLineEdit(Parent), m_button(new TfrxEditButton(this))
{
    m_button->resize(22, 22);
    setTextMargins(0, 0, m_button->width() + 2, 0);
    QObject::connect(m_button, &QAbstractButton::clicked, this, [this] { orv::platform::ui::fire(OnButtonClick, this); });
}

void TfrxEditWithButton::resizeEvent(QResizeEvent* e)
{
    QLineEdit::resizeEvent(e);
    m_button->setGeometry(width() - m_button->width(), (height() - m_button->height()) / 2, m_button->width(),
                          m_button->height());
}

// ---------------------------------------------------------------- tree

void TfrxTreeViewItem::UpdateIcon()
{
    auto* tree = dynamic_cast<TfrxTreeView*>(treeWidget());
    const int index = isExpanded() ? OpenImageIndex : CloseImageIndex;
    if (!tree || index == -1 || !tree->PicBitmap()) {
        setIcon(0, QIcon());
        return;
    }
    setIcon(0, QIcon(QPixmap::fromImage(tree->PicBitmap()->copy(tree->GetBitmapRect(index)))));
}

TfrxTreeView::TfrxTreeView(QWidget* Parent) : QTreeWidget(Parent), m_editBox(new QLineEdit(viewport()))
{
    setHeaderHidden(true);
    m_editBox->hide();
    m_editBox->installEventFilter(this);
    auto refresh = [](QTreeWidgetItem* item) {
        if (auto* node = dynamic_cast<TfrxTreeViewItem*>(item))
            node->UpdateIcon();
    };
    QObject::connect(this, &QTreeWidget::itemExpanded, this, refresh);
    QObject::connect(this, &QTreeWidget::itemCollapsed, this, refresh);
    QObject::connect(this, &QTreeWidget::currentItemChanged, this,
                     [this](QTreeWidgetItem* now, QTreeWidgetItem* before) {
                         orv::report::guarded([&] {
                             if (OnBeforeChange)
                                 OnBeforeChange(this, dynamic_cast<TfrxTreeViewItem*>(before),
                                                dynamic_cast<TfrxTreeViewItem*>(now));
                             if (m_editing && m_editing != now) {
                                 QTreeWidgetItem* keep = now;
                                 setCurrentItem(m_editing);
                                 EndEdit(true);
                                 setCurrentItem(keep);
                             }
                         });
                     });
}

TfrxTreeView::~TfrxTreeView() = default;

TfrxTreeViewItem* TfrxTreeView::AddItem(TfrxTreeViewItem* Root, const QString& Text)
{
    auto* item = new TfrxTreeViewItem;
    item->setText(0, Text);
    if (Root)
        Root->addChild(item);
    else
        addTopLevelItem(item);
    item->UpdateIcon();
    return item;
}

void TfrxTreeView::DoEdit()
{
    auto* node = dynamic_cast<TfrxTreeViewItem*>(currentItem());
    if (!node || !Editable)
        return;
    m_editing = node;
    m_editBox->setText(node->text(0));
    m_editBox->setGeometry(visualItemRect(node));
    m_editBox->show();
    m_editBox->setFocus();
    m_editBox->selectAll();
    m_isEditing = true;
}

void TfrxTreeView::EndEdit(bool Accept)
{
    auto* node = dynamic_cast<TfrxTreeViewItem*>(currentItem());
    if (!node || !m_isEditing || m_editBox->text().isEmpty())
        return;
    if (Accept) {
        QString text = m_editBox->text();
        if (OnEdited)
            OnEdited(this, node, text);
        node->setText(0, text);
    }
    m_isEditing = false;
    m_editing = nullptr;
    m_editBox->hide();
    setFocus();
}

void TfrxTreeView::LoadResouces(QIODevice& Stream, int AIconWidth, int AIconHeight)
{
    IconWidth = AIconWidth;
    IconHeight = AIconHeight;
    m_ownedStrip = std::make_unique<QImage>(QImage::fromData(Stream.readAll()));
    m_strip = m_ownedStrip.get();
}

void TfrxTreeView::SetImages(const QImage* Bmp)
{
    m_ownedStrip.reset();
    m_strip = Bmp;
}

QRect TfrxTreeView::GetBitmapRect(int Index) const
{
    if (!m_strip || IconWidth <= 0 || IconHeight <= 0)
        return QRect();
    const int columns = std::max(1, m_strip->width() / IconWidth);
    return QRect((Index % columns) * IconWidth, (Index / columns) * IconHeight, IconWidth, IconHeight);
}

void TfrxTreeView::mousePressEvent(QMouseEvent* e)
{
    orv::report::guarded([this] { EndEdit(true); });
    QTreeWidget::mousePressEvent(e);
}

void TfrxTreeView::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTreeWidget::mouseDoubleClickEvent(e);
    orv::report::guarded([this] { DoEdit(); });
}

void TfrxTreeView::keyPressEvent(QKeyEvent* e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !m_isEditing) {
        orv::report::guarded([this] { DoEdit(); });
        return;
    }
    QTreeWidget::keyPressEvent(e);
}

bool TfrxTreeView::eventFilter(QObject* o, QEvent* e)
{
    if (o == m_editBox && m_isEditing) {
        // Enter and Esc end the edit here: passed on, Enter would reach the tree and open
        // a new edit at once.
        const int key = e->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(e)->key() : 0;
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            orv::report::guarded([this, key] { EndEdit(key != Qt::Key_Escape); });
            return true;
        }
        if (e->type() == QEvent::FocusOut)
            orv::report::guarded([this] { EndEdit(false); });
    }
    return QTreeWidget::eventFilter(o, e);
}

// ---------------------------------------------------------------- routines

QString TextAfterBar(const QString& S)
{
    const qsizetype i = S.indexOf(u'|');
    return i < 0 ? S : S.mid(i + 1);
}

QString TextBeforeBar(const QString& S)
{
    const qsizetype i = S.indexOf(u'|');
    return i < 0 ? S : S.left(i);
}

QTransform TranslationMatrix(double dx, double dy) { return QTransform(1, 0, 0, 1, dx, dy); }

QTransform RotationMatrix(double Angle)
{
    return QTransform(std::cos(Angle), std::sin(Angle), -std::sin(Angle), std::cos(Angle), 0, 0);
}

void ListInstalledFonts(QStringList& Strings)
{
    QStringList names;
    for (const QString& family : QFontDatabase::families())
        names << family.left(32);
    names.sort();
    Strings = names;
}

} // namespace orv::report

// ---------------------------------------------------------------- engine windows

namespace orv::report {

EngineWindow::EngineWindow(QWidget* Owner, const orv::platform::ui::FormSpec& Spec) : orv::platform::ui::Form(Owner, Spec, {}) {}

namespace {
template <class W>
W* place(W* w, const char* Name, int X, int Y, int Wd, int H)
{
    w->setObjectName(QString::fromLatin1(Name));
    w->setGeometry(X, Y, Wd, H);
    return w;
}
} // namespace

QGroupBox* EngineWindow::AddGroup(QWidget* Parent, const char* Name, int X, int Y, int W, int H, const QString& Text)
{
    return place(new QGroupBox(Text, Parent ? Parent : this), Name, X, Y, W, H);
}

QLabel* EngineWindow::AddLabel(QWidget* Parent, const char* Name, int X, int Y, int W, int H, const QString& Text)
{
    return place(new QLabel(Text, Parent ? Parent : this), Name, X, Y, W, H);
}

QLineEdit* EngineWindow::AddEdit(QWidget* Parent, const char* Name, int X, int Y, int W, int H, const QString& Text)
{
    return place(new QLineEdit(Text, Parent ? Parent : this), Name, X, Y, W, H);
}

QComboBox* EngineWindow::AddCombo(QWidget* Parent, const char* Name, int X, int Y, int W, int H)
{
    return place(new QComboBox(Parent ? Parent : this), Name, X, Y, W, H);
}

QCheckBox* EngineWindow::AddCheck(QWidget* Parent, const char* Name, int X, int Y, int W, int H, const QString& Text)
{
    return place(new QCheckBox(Text, Parent ? Parent : this), Name, X, Y, W, H);
}

QRadioButton* EngineWindow::AddRadio(QWidget* Parent, const char* Name, int X, int Y, int W, int H,
                                     const QString& Text)
{
    return place(new QRadioButton(Text, Parent ? Parent : this), Name, X, Y, W, H);
}

QPushButton* EngineWindow::AddButton(QWidget* Parent, const char* Name, int X, int Y, int W, int H,
                                     const QString& Text, int ModalResult)
{
    auto* b = place(new QPushButton(Text, Parent ? Parent : this), Name, X, Y, W, H);
    b->setAutoDefault(true);
    if (ModalResult != orv::platform::ui::mrNone)
        QObject::connect(b, &QPushButton::clicked, this, [this, ModalResult] { setModalResult(ModalResult); });
    return b;
}

void EngineWindow::keyPressEvent(QKeyEvent* e)
{
    QPushButton* target = nullptr;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        target = m_default;
    else if (e->key() == Qt::Key_Escape)
        target = m_cancel;
    if (target && target->isEnabled() && target->isVisible()) {
        target->click();
        e->accept();
        return;
    }
    orv::platform::ui::Form::keyPressEvent(e);
}

namespace {

class QtSaveDialog final : public SaveDialogService {
public:
    std::optional<QString> saveFile(const QString& Title, const QString& Filter) override
    {
        QFileDialog dialog(QApplication::activeWindow(), Title);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        orv::platform::ui::applyFileFilter(dialog, Filter);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().first();
    }
};

SaveDialogService* installedSave = nullptr;

} // namespace

SaveDialogService& saveDialog()
{
    static QtSaveDialog real;
    return installedSave ? *installedSave : real;
}

void setSaveDialog(SaveDialogService* Service) { installedSave = Service; }

} // namespace orv::report
