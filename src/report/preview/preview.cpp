#include "report/preview/preview.h"

#include "platform/core/canvas.h"
#include "platform/ui/dispatch.h"
#include "platform/ui/keys.h"
#include "platform/ui/services.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/model/bands.h"
#include "report/model/report.h"
#include "report/preview/pagesettings.h"
#include "report/print/printloop.h"

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>
#include <QWheelEvent>

#include <cmath>

namespace orv::report {

using orv::platform::ui::fire;

namespace {

int rnd(long double v) { return frxRound(v); }

Qt::CursorShape cursorShape(int Cursor)
{
    switch (Cursor) {
    case -3: return Qt::CrossCursor;
    case -4: return Qt::IBeamCursor;
    case -6: return Qt::SizeBDiagCursor;
    case -7: return Qt::SizeVerCursor;
    case -8: return Qt::SizeFDiagCursor;
    case -9: return Qt::SizeHorCursor;
    case -10: return Qt::UpArrowCursor;
    case -11: case -17: return Qt::WaitCursor;
    case -12: case -16: return Qt::DragMoveCursor;
    case -13: case -18: return Qt::ForbiddenCursor;
    case -14: return Qt::SplitHCursor;
    case -15: return Qt::SplitVCursor;
    case -19: return Qt::BusyCursor;
    case -20: return Qt::WhatsThisCursor;
    case -21: return Qt::PointingHandCursor;
    case -22: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

int buttonCode(Qt::MouseButton b) { return b == Qt::RightButton ? 1 : b == Qt::MiddleButton ? 2 : 0; }

// The shift state as the prepared pages take it: shift, alt, ctrl, the buttons held,
// and 64 for a double click.
int shiftCode(Qt::KeyboardModifiers m, Qt::MouseButtons b, bool Double)
{
    return int(orv::platform::ui::shiftFromQt(m, b).bits) | (Double ? 64 : 0);
}

// Runs Done however Work ends.
template <class W, class D>
void always(W&& Work, D&& Done)
{
    try {
        Work();
    } catch (...) {
        Done();
        throw;
    }
    Done();
}

} // namespace

// ---------------------------------------------------------------- page list

void TfrxPageList::AddPage(int AWidth, int AHeight, double Zoom)
{
    m_items.push_back({rnd((long double)Zoom * AWidth), rnd((long double)Zoom * AHeight), 0, 0});
}

void TfrxPageList::Clear()
{
    m_items.clear();
    m_maxWidth = 0;
}

void TfrxPageList::CalcBounds(int ClientWidth)
{
    m_maxWidth = 0;
    int y = Gap;
    size_t i = 0;
    while (i < m_items.size()) {
        int rowWidth = 0, rowHeight = 0;
        size_t j = i;
        for (; j < m_items.size(); ++j) {
            TfrxPageItem& item = m_items[j];
            if (rowWidth > 0 && rowWidth + item.Width > ClientWidth)
                break;
            item.OffsetX = rowWidth;
            item.OffsetY = y;
            rowWidth += item.Width + Gap;
            rowHeight = std::max(rowHeight, item.Height);
        }
        if (rowWidth > m_maxWidth)
            m_maxWidth = rowWidth;
        int shift = (ClientWidth - rowWidth + Gap) / 2;
        if (shift < 0)
            shift = 0;
        shift += Gap;
        for (size_t k = i; k < j; ++k)
            m_items[k].OffsetX += shift;
        y += rowHeight + Gap;
        i = j;
    }
}

int TfrxPageList::FindPage(int OffsetY, int OffsetX) const
{
    int lo = 0, hi = Count() - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int extra = OffsetX != 0 ? 0 : rnd(m_items[size_t(mid)].Height / 5.0L);
        if (m_items[size_t(mid)].OffsetY > OffsetY + extra)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    const int candidate = hi;
    if (OffsetX == 0)
        return candidate;
    for (int i = std::max(0, candidate - 20); i <= candidate + 20 && i < Count(); ++i) {
        const TfrxPageItem& it = m_items[size_t(i)];
        if (OffsetX >= it.OffsetX && OffsetX < it.OffsetX + it.Width && OffsetY >= it.OffsetY &&
            OffsetY < it.OffsetY + it.Height)
            return i;
    }
    return candidate;
}

TfrxPageBounds TfrxPageList::GetPageBounds(int Index, double ClientWidth, double Scale, bool RTL) const
{
    TfrxPageBounds r;
    if (Index < 0 || Index >= Count()) {
        const double w = Scale * 794;
        r.Left = w > ClientWidth ? 10 : rnd((ClientWidth - w) / 2);
        r.Top = rnd(Scale * 10);
        r.Right = r.Left + rnd(w);
        r.Bottom = r.Top + rnd(Scale * 1123);
        return r;
    }
    const TfrxPageItem& it = m_items[size_t(Index)];
    r.Left = RTL ? rnd(ClientWidth) - it.Width - it.OffsetX : it.OffsetX;
    r.Top = it.OffsetY;
    r.Right = r.Left + it.Width;
    r.Bottom = r.Top + it.Height;
    return r;
}

QPoint TfrxPageList::GetMaxBounds() const
{
    if (m_items.empty())
        return QPoint(0, 0);
    return QPoint(m_maxWidth, m_items.back().OffsetY + m_items.back().Height);
}

// ---------------------------------------------------------------- workspace

TfrxPreviewWorkspace::TfrxPreviewWorkspace(TfrxPreview* Preview, QWidget* Parent)
    : TfrxScrollWin(Parent), m_preview(Preview)
{
    Content()->installEventFilter(this);
}

bool TfrxPreviewWorkspace::hasPages() const { return PreviewPages && PreviewPages->Count() > 0; }

TfrxPageBounds TfrxPreviewWorkspace::PageRect(int Index) const
{
    TfrxPageBounds b = m_pageList.GetPageBounds(Index, Content()->width(), Zoom, RTLLanguage);
    b.Left -= m_offset.x();
    b.Right -= m_offset.x();
    b.Top -= m_offset.y();
    b.Bottom -= m_offset.y();
    return b;
}

void TfrxPreviewWorkspace::UpdateScrollRanges()
{
    const QPoint max = m_pageList.GetMaxBounds();
    SetHorzRange(max.x() + 10);
    SetVertRange(max.y() + 10);
}

void TfrxPreviewWorkspace::ScrollToPage(int Page)
{
    if (DisableUpdate)
        return;
    SetVertPosition(m_pageList.GetPageBounds(Page - 1, width(), Zoom, RTLLanguage).Top - 10);
}

void TfrxPreviewWorkspace::SetPosition(int PageN, int Top)
{
    TfrxReportPage* page = PreviewPages ? PreviewPages->GetPage(PageN - 1) : nullptr;
    if (!page)
        return;
    const int pageTop = m_pageList.GetPageBounds(PageN - 1, width(), Zoom, RTLLanguage).Top;
    const int within = Top != 0 ? rnd((page->TopMargin() * fr01cm + Top) * (long double)Zoom) : 0;
    SetVertPosition(within + pageTop - 10);
}

int TfrxPreviewWorkspace::GetTopPosition() const
{
    TfrxReportPage* page = PreviewPages ? PreviewPages->GetPage(PageNo - 1) : nullptr;
    if (!page || Zoom == 0)
        return 0;
    const int pageTop = m_pageList.GetPageBounds(PageNo - 1, width(), Zoom, RTLLanguage).Top;
    return rnd((VertPosition() - pageTop + 10) / (long double)Zoom - page->TopMargin() * fr01cm);
}

void TfrxPreviewWorkspace::HScrollChange()
{
    m_offset.setX(rnd(HorzPosition()));
    Repaint();
}

void TfrxPreviewWorkspace::VScrollChange()
{
    m_offset.setY(rnd(VertPosition()));
    Repaint();
    if (IsThumbnail || m_preview->m_settingPage)
        return;
    DisableUpdate = true;
    always([&] { m_preview->SetPageNo(m_pageList.FindPage(m_offset.y(), 0) + 1); }, [&] { DisableUpdate = false; });
}

void TfrxPreviewWorkspace::resizeEvent(QResizeEvent* e)
{
    TfrxScrollWin::resizeEvent(e);
    if (!IsThumbnail && PreviewPages)
        orv::report::guarded([this] { m_preview->RebuildPageLayout(); });
}

void TfrxPreviewWorkspace::wheelEvent(QWheelEvent* e)
{
    if (m_preview->m_host)
        orv::report::guarded([&] { m_preview->m_host->MouseWheel(e->angleDelta().y(), e->modifiers()); });
    TfrxScrollWin::wheelEvent(e);
}

void TfrxPreviewWorkspace::DoContentPaint(QPainter& Painter, const QRect&)
{
    if (!isVisible())
        return;
    orv::report::guarded([&] { PaintPages(Painter); });
}

void TfrxPreviewWorkspace::PaintPages(QPainter& Painter)
{
    const QRect area = Content()->rect();
    Painter.save();
    Painter.fillRect(area, BackColor);
    if (Locked || !hasPages()) {
        Painter.restore();
        return;
    }
    orv::platform::Canvas canvas(&Painter);
    const int first = m_pageList.FindPage(m_offset.y(), 0);
    const TfrxPageBounds active = PageRect(PageNo - 1);
    QPen pen(ActiveFrameColor, 2);
    Painter.setPen(pen);
    Painter.setBrush(Qt::NoBrush);
    const QPointF frame[] = {{active.Left - 1.0, active.Top - 1.0},
                             {active.Right + 1.0, active.Top - 1.0},
                             {active.Right + 1.0, active.Bottom + 1.0},
                             {active.Left - 1.0, active.Bottom + 1.0},
                             {active.Left - 1.0, active.Top - 2.0}};
    Painter.drawPolyline(frame, 5);
    const int last = std::min(m_pageList.Count() - 1, first + 40);
    for (int i = std::max(0, first - 40); i <= last; ++i) {
        const TfrxPageBounds r = PageRect(i);
        if (r.Top <= area.height() && r.Bottom + 1 >= 0)
            PaintPage(Painter, canvas, r, i);
    }
    Painter.restore();
}

void TfrxPreviewWorkspace::PaintPage(QPainter& Painter, orv::platform::Canvas& Canvas, const TfrxPageBounds& R, int Index)
{
    const QRect page(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
    Painter.save();
    Painter.setRenderHint(QPainter::Antialiasing, false);
    Painter.setPen(QPen(FrameColor, 1));
    Painter.setBrush(Qt::white);
    Painter.drawRect(QRectF(page).adjusted(-0.5, -0.5, 0.5, 0.5));
    Painter.restore();
    PreviewPages->DrawPage(Index, &Canvas, Zoom, Zoom, R.Left, R.Top);
    if (IsThumbnail) {
        Painter.save();
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(std::max(1, rnd(8 * 96 / 72.0L)));
        Painter.setFont(font);
        // Dark on the white page, so that the number can be read.
        Painter.setPen(QColor(64, 64, 64));
        Painter.drawText(QRect(R.Left + 1, R.Top + 1, 40, 14), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         QStringLiteral(" %1 ").arg(Index + 1));
        Painter.restore();
    }
}

bool TfrxPreviewWorkspace::eventFilter(QObject* o, QEvent* e)
{
    if (o == Content()) {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
            orv::report::guarded([&] { mouseDown(static_cast<QMouseEvent*>(e)); });
            return true;
        case QEvent::MouseMove:
            orv::report::guarded([&] { mouseMove(static_cast<QMouseEvent*>(e)); });
            return true;
        case QEvent::MouseButtonRelease:
            orv::report::guarded([&] { mouseUp(static_cast<QMouseEvent*>(e)); });
            return true;
        case QEvent::MouseButtonDblClick:
            m_doubleClicked = true;
            if (!IsThumbnail) {
                fire(OnDblClick);
                fire(m_preview->OnDblClick);
            }
            return true;
        default:
            break;
        }
    }
    return TfrxScrollWin::eventFilter(o, e);
}

void TfrxPreviewWorkspace::mouseDown(QMouseEvent* e)
{
    setFocus(Qt::MouseFocusReason);
    if (OnMouseDown)
        OnMouseDown(e->button(), e->modifiers(), e->position());
    if (hasPages() && !Locked && e->button() == Qt::LeftButton) {
        m_down = true;
        m_lastPoint = e->position();
    }
}

void TfrxPreviewWorkspace::mouseMove(QMouseEvent* e)
{
    if (IsThumbnail || Locked || !hasPages())
        return;
    const QPointF p = e->position();
    if (m_down) {
        SetHorzPosition(HorzPosition() - (p.x() - m_lastPoint.x()));
        SetVertPosition(VertPosition() - (p.y() - m_lastPoint.y()));
        m_lastPoint = p;
        return;
    }
    const int page = m_pageList.FindPage(rnd(p.y()) + m_offset.y(), rnd(p.x()) + m_offset.x());
    if (page < 0)
        return;
    const TfrxPageBounds b = PageRect(page);
    int cursor = 0;
    PreviewPages->ObjectOver(page, rnd(p.x()), rnd(p.y()), 0, 0, Zoom, b.Left, b.Top, false, cursor, false);
    Content()->setCursor(cursorShape(cursor));
}

void TfrxPreviewWorkspace::mouseUp(QMouseEvent* e)
{
    const bool dbl = m_doubleClicked;
    m_doubleClicked = false;
    if (OnMouseUp)
        OnMouseUp(e->button(), e->modifiers(), e->position());
    if (!IsThumbnail)
        fire(m_preview->OnClick);
    if (!hasPages() || Locked)
        return;
    m_down = false;
    const QPointF p = e->position();
    const int x = RTLLanguage ? Content()->width() - rnd(p.x()) : rnd(p.x());
    const int page = m_pageList.FindPage(rnd(p.y()) + m_offset.y(), x + m_offset.x());
    if (page < 0)
        return;
    DisableUpdate = true;
    always([&] { m_preview->SetPageNo(page + 1); }, [&] { DisableUpdate = false; });
    if (IsThumbnail || e->button() == Qt::RightButton)
        return;
    const TfrxPageBounds b = PageRect(page);
    int cursor = 0;
    PreviewPages->ObjectOver(page, rnd(p.x()), rnd(p.y()), buttonCode(e->button()),
                             shiftCode(e->modifiers(), e->buttons(), dbl), Zoom, b.Left, b.Top, true, cursor, dbl);
}

// ---------------------------------------------------------------- callout panel

TfrxCalloutPanel::TfrxCalloutPanel(QWidget* Parent) : QWidget(Parent), m_label(new QLabel(this))
{
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TfrxCalloutPanel::SetCallout(Side S, int Width, int Length)
{
    m_side = S;
    m_width = Width;
    m_length = Length;
    placeLabel();
    update();
}

void TfrxCalloutPanel::SetLabelMargins(int LeftMargin, int TopMargin)
{
    m_labelLeft = LeftMargin;
    m_labelTop = TopMargin;
    placeLabel();
}

QSize TfrxCalloutPanel::MeasureText(const QString& Text, int BoxWidth, int BoxHeight) const
{
    return m_label->fontMetrics().boundingRect(QRect(0, 0, BoxWidth, BoxHeight), Qt::TextWordWrap, Text).size();
}

void TfrxCalloutPanel::placeLabel()
{
    QRect r = rect();
    if (m_side == Top)
        r.setTop(m_length);
    else
        r.setLeft(m_length);
    m_label->setGeometry(r.adjusted(m_side == Left ? 0 : m_labelLeft, m_side == Top ? 0 : 0, 0, 0));
}

void TfrxCalloutPanel::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    placeLabel();
}

void TfrxCalloutPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    QRectF body = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_side == Top) {
        body.setTop(m_length + 0.5);
        const double cx = width() / 2.0;
        path.addRoundedRect(body, 3, 3);
        QPolygonF tip({QPointF(cx - m_width / 2.0, body.top()), QPointF(cx, 0.5), QPointF(cx + m_width / 2.0, body.top())});
        path = path.united([&] { QPainterPath t; t.addPolygon(tip); t.closeSubpath(); return t; }());
    } else {
        body.setLeft(m_length + 0.5);
        const double cy = height() / 2.0;
        path.addRoundedRect(body, 3, 3);
        QPolygonF tip({QPointF(body.left(), cy - m_width / 2.0), QPointF(0.5, cy), QPointF(body.left(), cy + m_width / 2.0)});
        path = path.united([&] { QPainterPath t; t.addPolygon(tip); t.closeSubpath(); return t; }());
    }
    p.setPen(QPen(QColor(118, 118, 118), 1));
    p.setBrush(QColor(255, 255, 225));
    p.drawPath(path);
}

// ---------------------------------------------------------------- preview

TfrxPreview::TfrxPreview(QWidget* Parent, TfrxPreviewHost* Host) : QWidget(Parent), m_host(Host)
{
    setObjectName(QStringLiteral("Preview"));
    UseReportHints = true;

    m_outline = new QTreeWidget(this);
    m_outline->setObjectName(QStringLiteral("OutlineTree"));
    m_outline->setHeaderHidden(true);
    m_outline->hide();
    m_outlinePopup = new QMenu(this);
    m_outlinePopup->setObjectName(QStringLiteral("OutlinePopup"));
    m_outlinePopup->addAction(frxResourceText(601), this, [this] {
        orv::report::guarded([this] {
            m_outline->collapseAll();
            m_workspace->setFocus();
        });
    });
    m_outlinePopup->addAction(frxResourceText(600), this, [this] {
        orv::report::guarded([this] {
            m_outline->expandAll();
            m_workspace->setFocus();
        });
    });
    m_outline->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(m_outline, &QWidget::customContextMenuRequested, this,
                     [this](const QPoint& at) { m_outlinePopup->popup(m_outline->viewport()->mapToGlobal(at)); });
    QObject::connect(m_outline, &QTreeWidget::itemClicked, this,
                     [this](QTreeWidgetItem* item) { orv::report::guarded([&] { OutlineItemClick(item); }); });

    m_thumbnail = new TfrxPreviewWorkspace(this, this);
    m_thumbnail->setObjectName(QStringLiteral("Thumbnail"));
    m_thumbnail->IsThumbnail = true;
    m_thumbnail->Zoom = 0.1;
    m_thumbnail->hide();

    m_splitter = new TfrxSplitter(this);
    m_splitter->setObjectName(QStringLiteral("Splitter"));
    m_splitter->hide();
    m_splitter->BandWidth = [this] { return m_outlineWidth; };
    m_splitter->OnResizeBand = [this](int w) { SetOutlineWidth(w); };
    m_splitter->OnMove = [this](TfrxSplitter*) { RebuildPageLayout(); };

    m_workspace = new TfrxPreviewWorkspace(this, this);
    m_workspace->setObjectName(QStringLiteral("Workspace"));
    setFocusProxy(m_workspace);

    m_messagePanel = new QWidget(this);
    m_messagePanel->setObjectName(QStringLiteral("MessagePanel"));
    m_messagePanel->setAutoFillBackground(true);
    m_messagePanel->hide();
    m_messageLabel = new QLabel(m_messagePanel);
    m_messageLabel->setGeometry(4, 20, 255, 20);
    m_messageLabel->setAlignment(Qt::AlignCenter);
    m_cancelButton = new QPushButton(frxStringResources()->Get(QStringLiteral("clCancel")), m_messagePanel);
    m_cancelButton->setGeometry(92, 44, 75, 25);
    m_cancelButton->hide();
    QObject::connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        if (Report)
            Report->SetTerminated(true);
    });

    m_hintPanel = new TfrxCalloutPanel(this);
    m_hintPanel->setObjectName(QStringLiteral("HintPanel"));
    m_hintPanel->resize(100, 40);
    m_hintPanel->hide();
}

TfrxPreview::~TfrxPreview()
{
    if (Report && Report->Preview() == static_cast<TfrxCustomPreview*>(this))
        Report->SetPreview(nullptr);
}

int TfrxPreview::PageCount() const { return PreviewPages ? PreviewPages->Count() : 0; }

void TfrxPreview::placeChildren()
{
    const int h = height();
    int x = 0;
    if (m_outlineVisible) {
        m_outline->setGeometry(0, 0, m_outlineWidth, h);
        x = m_outlineWidth;
    } else if (m_thumbnailVisible) {
        m_thumbnail->setGeometry(0, 0, m_outlineWidth, h);
        x = m_outlineWidth;
    }
    if (!m_splitter->isHidden()) {
        m_splitter->setGeometry(x, 0, 4, h);
        x += 4;
    }
    m_workspace->setGeometry(x, 0, std::max(0, width() - x), h);
}

void TfrxPreview::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    placeChildren();
}

void TfrxPreview::pageChanged() { fire(OnPageChanged, this, m_pageNo); }

// ------------------------------------------------ report-facing

void TfrxPreview::Init()
{
    m_workspace->PreviewPages = PreviewPages;
    m_thumbnail->PreviewPages = PreviewPages;
    if (Report) {
        const TfrxPreviewOptions* o = Report->PreviewOptions();
        SetOutlineWidth(o->OutlineWidth());
        SetOutlineVisible(o->OutlineVisible());
        SetThumbnailVisible(o->ThumbnailVisible());
        m_zoomMode = o->ZoomMode();
        m_zoom = o->Zoom();
    }
    RebuildPageLayout();
    FillOutlineTree();
    First();
}

void TfrxPreview::Lock()
{
    m_locked = true;
    m_workspace->Locked = true;
    m_thumbnail->Locked = true;
}

void TfrxPreview::Unlock()
{
    HideMessage();
    m_locked = false;
    m_workspace->Locked = false;
    m_thumbnail->Locked = false;
    RebuildPageLayout();
    m_workspace->Repaint();
    m_thumbnail->Repaint();
}

void TfrxPreview::Repaint()
{
    m_workspace->Repaint();
    m_thumbnail->Repaint();
}

// ------------------------------------------------ navigation and zoom

void TfrxPreview::SetPageNo(int Value)
{
    Value = std::min(std::max(Value, 1), PageCount());
    if (Value < 1)
        return;
    m_pageNo = Value;
    m_workspace->PageNo = Value;
    m_thumbnail->PageNo = Value;
    if (PreviewPages)
        PreviewPages->CurPreviewPage = Value;
    const bool wasSetting = m_settingPage;
    m_settingPage = true;
    always(
        [&] {
            m_workspace->ScrollToPage(Value);
            m_thumbnail->ScrollToPage(Value);
        },
        [&] { m_settingPage = wasSetting; });
    m_workspace->Repaint();
    m_thumbnail->Repaint();
    pageChanged();
}

void TfrxPreview::SetPosition(int PageN, int Top)
{
    PageN = std::max(1, std::min(PageN, PageCount()));
    if (PageN < 1)
        return;
    // The page gone to is the current one, even when the place lies low on it and the
    // next page's top shows above the middle of the view.
    const bool wasSetting = m_settingPage;
    m_settingPage = true;
    always([&] { m_workspace->SetPosition(PageN, Top); }, [&] { m_settingPage = wasSetting; });
    m_pageNo = PageN;
    m_workspace->PageNo = m_thumbnail->PageNo = PageN;
    if (PreviewPages)
        PreviewPages->CurPreviewPage = PageN;
    m_settingPage = true;
    always([&] { m_thumbnail->ScrollToPage(PageN); }, [&] { m_settingPage = wasSetting; });
    Repaint();
    pageChanged();
}

int TfrxPreview::GetTopPosition() const { return m_workspace->GetTopPosition(); }

void TfrxPreview::SetZoom(double Value)
{
    m_zoom = std::min(5.0, std::max(0.25, Value));
    m_zoomMode = zmDefault;
    RebuildPageLayout();
}

void TfrxPreview::SetZoomMode(TfrxZoomMode Value)
{
    m_zoomMode = Value;
    RebuildPageLayout();
}

void TfrxPreview::MouseWheelScroll(int Delta, bool Horz, bool Zoom)
{
    if (Delta == 0)
        return;
    const int sign = Delta > 0 ? 1 : -1;
    if (Zoom) {
        double z = m_zoom + sign / 10.0;
        if (z < 0.3)
            z = 0.3;
        SetZoom(z);
    } else if (Horz) {
        m_workspace->SetHorzPosition(m_workspace->HorzPosition() - sign * 20);
    } else {
        m_workspace->SetVertPosition(m_workspace->VertPosition() - sign * 20);
    }
}

void TfrxPreview::RebuildPageLayout()
{
    if (m_locked || PageCount() == 0 || !PreviewPages)
        return;
    const QPoint size = PreviewPages->GetPageSize(m_pageNo - 1);
    if (size.y() == 0)
        return;
    const double w = size.x(), h = size.y();
    // The place of the view's top within the current page, as a share of its height:
    // the new layout shows the same place of the same page, whatever the zoom.
    double share = 0;
    if (m_pageNo >= 1 && m_pageNo <= m_workspace->PageList().Count()) {
        const TfrxPageItem& was = m_workspace->PageList().Items(m_pageNo - 1);
        if (was.Height > 0)
            share = std::clamp((m_workspace->VertPosition() + 10 - was.OffsetY) / double(was.Height), 0.0, 0.99);
    }
    if (m_zoomMode == zmWholePage && w > 0) {
        if (h / std::max(1, height()) >= w / std::max(1, width()))
            m_zoom = (m_workspace->height() - 26) / h;
        else
            m_zoom = (m_workspace->width() - 26) / w;
    } else if (m_zoomMode == zmPageWidth && w > 0) {
        m_zoom = (m_workspace->width() - 26) / w;
    }
    m_workspace->Zoom = m_zoom;
    m_thumbnail->Zoom = 0.1;
    m_workspace->ClearPageList();
    m_thumbnail->ClearPageList();
    for (int i = 0; i < PageCount(); ++i) {
        const QPoint s = PreviewPages->GetPageSize(i);
        m_workspace->AddPage(s.x(), s.y());
        if (!m_running)
            m_thumbnail->AddPage(s.x(), s.y());
    }
    m_workspace->CalcPageBounds(rnd(m_workspace->width() - 26));
    if (!m_running)
        m_thumbnail->CalcPageBounds(rnd(m_thumbnail->width() - 26));
    // The current page stays the one in view: scrolling done here never picks another.
    const bool wasSetting = m_settingPage;
    m_settingPage = true;
    always(
        [&] {
            m_workspace->UpdateScrollRanges();
            m_thumbnail->UpdateScrollRanges();
            m_workspace->SetHorzPosition(m_workspace->HorzPosition());
            const int current = std::clamp(m_pageNo, 1, m_workspace->PageList().Count());
            const TfrxPageItem& now = m_workspace->PageList().Items(current - 1);
            if (m_zoomMode == zmWholePage) // the whole page, its top 10 pixels below the view's top
                m_workspace->SetVertPosition(now.OffsetY - 10);
            else
                m_workspace->SetVertPosition(now.OffsetY - 10 + rnd(share * now.Height));
        },
        [&] { m_settingPage = wasSetting; });
    if (!m_refreshing) {
        m_workspace->Repaint();
        m_thumbnail->Repaint();
    }
    if (m_host)
        m_host->ShowZoomText();
}

// ------------------------------------------------ panels

void TfrxPreview::SetOutlineVisible(bool Value) { showSidePanels(Value, Value ? false : m_thumbnailVisible); }

void TfrxPreview::SetThumbnailVisible(bool Value) { showSidePanels(Value ? false : m_outlineVisible, Value); }

void TfrxPreview::showSidePanels(bool Outline, bool Thumbnails)
{
    // The outline and the thumbnails share the left band: at most one of them shows, and
    // the splitter with it.
    const bool changed = Outline != m_outlineVisible || Thumbnails != m_thumbnailVisible;
    const bool thumbnailsShown = Thumbnails && !m_thumbnailVisible;
    m_outlineVisible = Outline;
    m_thumbnailVisible = Thumbnails;
    m_outline->setVisible(m_outlineVisible);
    m_thumbnail->setVisible(m_thumbnailVisible);
    m_splitter->setVisible(m_outlineVisible || m_thumbnailVisible);
    placeChildren();
    if (thumbnailsShown) {
        m_thumbnail->SetHorzPosition(m_thumbnail->HorzPosition());
        m_thumbnail->SetVertPosition(m_thumbnail->VertPosition());
    }
    if (m_host) {
        m_host->SetOutlineDown(m_outlineVisible);
        m_host->SetThumbnailsDown(m_thumbnailVisible);
    }
    if (changed)
        RebuildPageLayout();
}

void TfrxPreview::SetOutlineWidth(int Value)
{
    m_outlineWidth = Value;
    placeChildren();
}

void TfrxPreview::FillOutlineTree()
{
    m_outline->setUpdatesEnabled(false);
    m_outline->clear();
    TfrxCustomOutline* outline = PreviewPages ? PreviewPages->Outline() : nullptr;
    if (outline) {
        outline->LevelRoot();
        std::function<void(QTreeWidgetItem*)> fill = [&](QTreeWidgetItem* parent) {
            for (int i = 0; i < outline->Count(); ++i) {
                QString text;
                int page = 0, top = 0;
                outline->GetItem(i, text, page, top);
                auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_outline);
                node->setText(0, text);
                node->setData(0, Qt::UserRole, page + 1);
                node->setData(0, Qt::UserRole + 1, double(top));
                outline->LevelDown(i);
                fill(node);
                outline->LevelUp();
            }
        };
        fill(nullptr);
        if (Report && Report->PreviewOptions()->OutlineExpand())
            m_outline->expandAll();
    }
    m_outline->setUpdatesEnabled(true);
}

void TfrxPreview::OutlineItemClick(QTreeWidgetItem* Item)
{
    if (!Item)
        return;
    SetPosition(Item->data(0, Qt::UserRole).toInt(), int(Item->data(0, Qt::UserRole + 1).toDouble()));
    m_workspace->setFocus();
}

// ------------------------------------------------ commands

void TfrxPreview::Print()
{
    if (m_running || !PreviewPages)
        return;
    PreviewPages->CurPreviewPage = m_pageNo;
    always([&] { PreviewPages->Print(); }, [&] { Unlock(); });
}

void TfrxPreview::Export(TfrxCustomExportFilter* Filter)
{
    if (m_running || !PreviewPages || !Filter)
        return;
    PreviewPages->CurPreviewPage = m_pageNo;
    if (Report && Report->DotMatrixReport() && frxDotMatrixExportFilter() &&
        Filter->classInfo().name() == QLatin1String("TfrxTextExport"))
        Filter = frxDotMatrixExportFilter();
    always([&] { PreviewPages->Export(Filter); }, [&] { Unlock(); });
}

namespace {
QString preparedReportFilter()
{
    return frxStringResources()->Get(QStringLiteral("clFP3files")) + QStringLiteral(" (*.fp3)|*.fp3");
}
} // namespace

void TfrxPreview::SaveToFile()
{
    if (m_running)
        return;
    const std::optional<QString> name = orv::report::saveDialog().saveFile(frxResourceText(106), preparedReportFilter());
    if (!name)
        return;
    m_workspace->Repaint();
    const QFileInfo info(*name);
    SaveToFile(info.path() + u'/' + info.completeBaseName() + QStringLiteral(".fp3"));
}

void TfrxPreview::SaveToFile(const QString& FileName)
{
    if (m_running || !PreviewPages)
        return;
    Lock();
    always(
        [&] {
            ShowMessage(frxStringResources()->Get(QStringLiteral("clSaving")));
            PreviewPages->SaveToFile(FileName);
        },
        [&] { Unlock(); });
}

void TfrxPreview::LoadFromFile()
{
    if (m_running)
        return;
    orv::platform::ui::OpenFileRequest request;
    request.title = frxResourceText(104);
    request.filter = preparedReportFilter();
    const std::optional<QString> name = orv::platform::ui::fileDialog().openFile(request);
    if (!name)
        return;
    m_workspace->Repaint();
    LoadFromFile(*name);
}

void TfrxPreview::LoadFromFile(const QString& FileName)
{
    if (m_running || !PreviewPages)
        return;
    Lock();
    // A file that cannot be read leaves the report shown before, at the same page.
    bool loaded = false;
    always(
        [&] {
            ShowMessage(frxStringResources()->Get(QStringLiteral("clLoading")));
            PreviewPages->LoadFromFile(FileName, false);
            loaded = true;
        },
        [&] {
            if (loaded) {
                m_pageNo = 1;
                m_workspace->PageNo = m_thumbnail->PageNo = 1;
                FillOutlineTree();
            }
            Unlock();
            SetPageNo(loaded ? 1 : m_pageNo);
        });
}

void TfrxPreview::PageSetupDlg()
{
    if (m_running || !PreviewPages)
        return;
    TfrxReportPage* page = PreviewPages->GetPage(m_pageNo - 1);
    if (!page)
        return;
    auto form = std::make_unique<TfrxPageSettingsForm>(nullptr);
    form->SetPage(page);
    form->SetReport(Report);
    form->FormShow();
    if (form->showModal() != orv::platform::ui::mrOk)
        return;
    if (form->NeedRebuild()) {
        if (!Report)
            return;
        for (int i = 0; i < Report->PagesCount(); ++i) {
            auto* target = dynamic_cast<TfrxReportPage*>(Report->GetPages(i));
            if (!target)
                continue;
            target->SetOrientation(page->Orientation());
            target->SetPaperWidth(page->PaperWidth());
            target->SetPaperHeight(page->PaperHeight());
            target->SetPaperSize(page->PaperSize());
            target->SetLeftMargin(page->LeftMargin());
            target->SetRightMargin(page->RightMargin());
            target->SetTopMargin(page->TopMargin());
            target->SetBottomMargin(page->BottomMargin());
        }
        Report->PrepareReport(true);
    } else {
        Lock();
        always([&] { PreviewPages->ModifyPage(m_pageNo - 1, page); }, [&] { Unlock(); });
    }
}

void TfrxPreview::Edit()
{
    // Editing a page needs a designer, which this program does not have: the report
    // answers that nothing was changed, and the page stays as it is.
    try {
        if (!Report || !PreviewPages || !PreviewPages->GetPage(m_pageNo - 1))
            return;
        if (Report->DesignPreviewPage()) {
            Lock();
            always([&] { PreviewPages->ModifyPage(m_pageNo - 1, PreviewPages->GetPage(m_pageNo - 1)); },
                   [&] { Unlock(); });
        }
    } catch (...) {
    }
}

void TfrxPreview::DesignTemplate()
{
    if (Report)
        Report->DesignReport(true, false);
}

void TfrxPreview::Clear()
{
    if (m_running || !PreviewPages)
        return;
    Lock();
    always([&] { PreviewPages->Clear(); }, [&] { Unlock(); });
    m_workspace->ClearPageList();
    m_thumbnail->ClearPageList();
    FillOutlineTree();
    m_pageNo = 1;
    m_workspace->PageNo = m_thumbnail->PageNo = 1;
    m_workspace->SetHorzRange(0);
    m_workspace->SetVertRange(0);
    if (m_thumbnail->isVisible()) {
        m_thumbnail->SetHorzRange(0);
        m_thumbnail->SetVertRange(0);
    }
    Repaint();
}

void TfrxPreview::AddPage()
{
    if (m_running || !PreviewPages)
        return;
    PreviewPages->AddEmptyPage(m_pageNo - 1);
    RebuildPageLayout();
    SetPageNo(m_pageNo);
}

void TfrxPreview::DeletePage()
{
    if (m_running || !PreviewPages)
        return;
    PreviewPages->DeletePage(m_pageNo - 1);
    if (m_pageNo >= PageCount() && m_pageNo > 1) {
        --m_pageNo;
        m_workspace->PageNo = m_thumbnail->PageNo = m_pageNo;
        PreviewPages->CurPreviewPage = m_pageNo;
    }
    RebuildPageLayout();
    pageChanged();
}

void TfrxPreview::RefreshReport()
{
    if (!Report)
        return;
    const QPoint offset = m_workspace->Offset();
    const int remembered = m_pageNo;
    Lock();
    m_refreshing = true;
    always(
        [&] {
            Report->PrepareReport(true);
            m_locked = false;
            m_thumbnail->Locked = false;
            m_pageNo = PageCount() < remembered ? 1 : remembered;
            m_workspace->PageNo = m_thumbnail->PageNo = m_pageNo;
            RebuildPageLayout();
            FillOutlineTree();
        },
        [&] {
            Unlock();
            m_refreshing = false;
            const bool was = m_settingPage;
            m_settingPage = true;
            m_workspace->SetHorzPosition(offset.x());
            m_workspace->SetVertPosition(offset.y());
            m_settingPage = was;
            m_workspace->Locked = false;
            Repaint();
        });
    if (PageCount() < remembered)
        SetPageNo(1);
}

void TfrxPreview::Cancel()
{
    if (m_running && Report)
        Report->SetTerminated(true);
}

void TfrxPreview::ShowMessage(const QString& S)
{
    m_messagePanel->setGeometry((width() - 260) / 2, (height() - 75) / 3, 260, 75);
    m_messageLabel->setText(S);
    m_messagePanel->show();
    m_messagePanel->raise();
    m_messagePanel->repaint();
}

void TfrxPreview::HideMessage()
{
    m_messagePanel->hide();
    m_cancelButton->hide();
}

void TfrxPreview::ShowHint(const QRectF& aRect, const QString& Text)
{
    m_hintPanel->SetCallout(TfrxCalloutPanel::Top, 23, 11);
    m_hintPanel->SetLabelMargins(0, 0);
    const int left = rnd(aRect.center().x() - m_hintPanel->width() / 2.0);
    const QSize text = m_hintPanel->MeasureText(Text, 200, 1000);
    const QPoint at = m_workspace->Content()->mapTo(this, QPoint(left, rnd(aRect.bottom())));
    m_hintPanel->setGeometry(at.x(), at.y(), text.width() + 6, text.height() + m_hintPanel->CalloutLength() + 10);
    m_hintPanel->Label()->setText(Text);
    m_hintPanel->show();
    m_hintPanel->raise();
}

void TfrxPreview::HideHint() { m_hintPanel->hide(); }

// ------------------------------------------------ progress

void TfrxPreview::InternalOnProgressStart(TfrxReport*, TfrxProgressType, int)
{
    if (m_refreshing)
        return;
    Clear();
    if (Report)
        Report->DrillState()->Clear();
    m_running = true;
    if (m_host)
        m_host->UpdateCommandStates();
}

void TfrxPreview::InternalOnProgress(TfrxReport*, TfrxProgressType, int Progress)
{
    if (m_refreshing) {
        pageChanged();
        return;
    }
    const bool final = PreviewPages && PreviewPages->Engine && PreviewPages->Engine->FinalPass;
    if (final && Progress < 50) {
        const QPoint size = PreviewPages->GetPageSize(Progress);
        m_workspace->AddPage(size.x(), size.y());
        m_workspace->CalcPageBounds(rnd(m_workspace->width()) - 26);
    }
    if (Progress == 0 || Progress == 1) {
        SetPageNo(1);
        if (final)
            RebuildPageLayout();
        if (Progress == 0 && m_host)
            m_host->PreparationStarted();
    } else {
        pageChanged();
        if (final)
            m_workspace->UpdateScrollRanges();
    }
    QCoreApplication::processEvents();
}

void TfrxPreview::InternalOnProgressStop(TfrxReport*, TfrxProgressType, int)
{
    if (m_refreshing)
        return;
    m_running = false;
    pageChanged();
    m_workspace->UpdateScrollRanges();
    m_thumbnail->UpdateScrollRanges();
    RebuildPageLayout();
    FillOutlineTree();
    if (m_host)
        m_host->PreparationStopped();
}

// ------------------------------------------------ keys

void TfrxPreview::keyPressEvent(QKeyEvent* e)
{
    if (Report && (e->modifiers() & Qt::ControlModifier)) {
        const TfrxPreviewButtons buttons = Report->PreviewOptions()->Buttons();
        if (e->key() == Qt::Key_P && buttons.contains(pbPrint)) {
            orv::report::guarded([this] { Print(); });
            return;
        }
        if (e->key() == Qt::Key_S && buttons.contains(pbSave)) {
            orv::report::guarded([this] { SaveToFile(); });
            return;
        }
        if (e->key() == Qt::Key_O && buttons.contains(pbLoad)) {
            orv::report::guarded([this] { LoadFromFile(); });
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

} // namespace orv::report
