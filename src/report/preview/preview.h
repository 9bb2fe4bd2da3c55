#pragma once
// The preview control: the prepared pages laid out in rows on a grey workspace at a zoom
// factor, a current page, a strip of page thumbnails or an outline tree at the left
// edge, scrolling, zooming, mouse over and clicks handed to the prepared pages, the
// commands that act on the pages (print, export, save, load, page settings) and the
// progress notifications through which a preparation feeds pages into it.
#include "report/model/engine.h"
#include "report/preview/controls.h"

#include <QColor>
#include <QLabel>
#include <QPointF>

#include <vector>

namespace orv::report {

class TfrxPreview;
class TfrxReportPage;

} // namespace orv::report
class QTreeWidget;
class QTreeWidgetItem;
class QMenu;
class QPushButton;

namespace orv::report {

// A page's place in a workspace, in pixels at the zoom it was added with.
struct TfrxPageItem {
    int Width = 0, Height = 0;
    int OffsetX = 0, OffsetY = 0;
};

// Left, top, right and bottom edges of a page on screen.
struct TfrxPageBounds {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TfrxPageBounds&) const = default;
};

class TfrxPageList {
public:
    static constexpr int Gap = 10;
    void AddPage(int AWidth, int AHeight, double Zoom);
    void Clear();
    int Count() const { return int(m_items.size()); }
    const TfrxPageItem& Items(int Index) const { return m_items[size_t(Index)]; }
    // Rows of pages, each row as many as fit the width (at least one), centred.
    void CalcBounds(int ClientWidth);
    // The last page whose top lies at or above OffsetY (with a fifth of its height of
    // slack when OffsetX is 0); with OffsetX the page that contains the point, when one
    // near it does. -1 when none.
    int FindPage(int OffsetY, int OffsetX = 0) const;
    // An index outside the list gives an A4 page centred in the width.
    TfrxPageBounds GetPageBounds(int Index, double ClientWidth, double Scale, bool RTL) const;
    // The widest row and the bottom of the last page.
    QPoint GetMaxBounds() const;
    int MaxWidth() const { return m_maxWidth; }

private:
    std::vector<TfrxPageItem> m_items;
    int m_maxWidth = 0;
};

class TfrxPreviewWorkspace : public TfrxScrollWin {
public:
    TfrxPreviewWorkspace(TfrxPreview* Preview, QWidget* Parent);

    void AddPage(int AWidth, int AHeight) { m_pageList.AddPage(AWidth, AHeight, Zoom); }
    void CalcPageBounds(int ClientWidth) { m_pageList.CalcBounds(ClientWidth); }
    void ClearPageList() { m_pageList.Clear(); }
    const TfrxPageList& PageList() const { return m_pageList; }
    // Scrolls so that the page's place Top pixels below its top margin is 10 pixels
    // below the view's top (Top 0: the page's top edge).
    void SetPosition(int PageN, int Top);
    int GetTopPosition() const;
    void ScrollToPage(int PageNo);
    void UpdateScrollRanges();
    // The page's on-screen rectangle (scrolling taken off).
    TfrxPageBounds PageRect(int Index) const;

    TfrxPreview* Preview() const { return m_preview; }
    TfrxCustomPreviewPages* PreviewPages = nullptr;
    double Zoom = 1;
    int PageNo = 1;
    bool IsThumbnail = false;
    bool Locked = false;
    bool DisableUpdate = false;
    bool RTLLanguage = false;
    QColor BackColor = QColor(128, 128, 128);
    QColor FrameColor = QColor(0, 0, 0);
    // Opaque, so that the current page stands out.
    QColor ActiveFrameColor = QColor(128, 64, 32);
    QPoint Offset() const { return m_offset; }

    std::function<void(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, QPointF At)> OnMouseDown, OnMouseUp;
    std::function<void()> OnDblClick;

protected:
    void HScrollChange() override;
    void VScrollChange() override;
    void DoContentPaint(QPainter& Painter, const QRect& ARect) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    void PaintPages(QPainter& Painter);
    void PaintPage(QPainter& Painter, orv::platform::Canvas& Canvas, const TfrxPageBounds& R, int Index);
    void mouseDown(QMouseEvent* e);
    void mouseMove(QMouseEvent* e);
    void mouseUp(QMouseEvent* e);
    bool hasPages() const;
    TfrxPreview* m_preview;
    TfrxPageList m_pageList;
    QPoint m_offset;
    bool m_down = false;
    bool m_doubleClicked = false;
    QPointF m_lastPoint;
};

// A panel with a pointer towards what it talks about, and a label.
class TfrxCalloutPanel : public QWidget {
public:
    enum Side { Top, Left };
    explicit TfrxCalloutPanel(QWidget* Parent);
    QLabel* Label() const { return m_label; }
    void SetCallout(Side S, int Width, int Length);
    void SetLabelMargins(int LeftMargin, int TopMargin);
    int CalloutLength() const { return m_length; }
    // The size of a text wrapped in a box of that width and height, with the label's font.
    QSize MeasureText(const QString& Text, int BoxWidth, int BoxHeight) const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void placeLabel();
    QLabel* m_label;
    Side m_side = Top;
    int m_width = 23, m_length = 11;
    int m_labelLeft = 0, m_labelTop = 0;
};

// What the preview asks of the window it fills.
class TfrxPreviewHost {
public:
    virtual ~TfrxPreviewHost() = default;
    virtual void ShowZoomText() = 0;
    virtual void UpdateCommandStates() = 0;
    virtual void SetOutlineDown(bool Down) = 0;
    virtual void SetThumbnailsDown(bool Down) = 0;
    // A preparation starts (the close button cancels) or ends.
    virtual void PreparationStarted() = 0;
    virtual void PreparationStopped() = 0;
    // The wheel turned over the pages, before they scroll by it.
    virtual void MouseWheel(int Delta, Qt::KeyboardModifiers Modifiers) = 0;
};

class TfrxPreview : public QWidget, public TfrxCustomPreview {
public:
    explicit TfrxPreview(QWidget* Parent = nullptr, TfrxPreviewHost* Host = nullptr);
    ~TfrxPreview() override;

    // ------------------------------------------------ report-facing
    void Init() override;
    void ShowHint(const QRectF& aRect, const QString& Text) override;
    void HideHint() override;
    void Lock() override;
    void Unlock() override;
    void RefreshReport() override;
    void InternalOnProgressStart(TfrxReport* Sender, TfrxProgressType ProgressType, int Progress) override;
    void InternalOnProgress(TfrxReport* Sender, TfrxProgressType ProgressType, int Progress) override;
    void InternalOnProgressStop(TfrxReport* Sender, TfrxProgressType ProgressType, int Progress) override;
    void SetPageNo(int Value) override;
    void SetPosition(int PageN, int Top) override;
    void Repaint() override;

    // ------------------------------------------------ navigation and zoom
    int PageNo() const { return m_pageNo; }
    int PageCount() const;
    void First() { SetPageNo(1); }
    void Next() { SetPageNo(m_pageNo + 1); }
    void Prior() { SetPageNo(m_pageNo - 1); }
    void Last() { SetPageNo(PageCount()); }
    int GetTopPosition() const;
    double Zoom() const { return m_zoom; }
    // Kept within 0.25 ... 5; ends a fitting zoom mode.
    void SetZoom(double Value);
    TfrxZoomMode ZoomMode() const { return m_zoomMode; }
    void SetZoomMode(TfrxZoomMode Value);
    void MouseWheelScroll(int Delta, bool Horz, bool Zoom);
    void RebuildPageLayout();

    // ------------------------------------------------ panels
    bool OutlineVisible() const { return m_outlineVisible; }
    void SetOutlineVisible(bool Value);
    bool ThumbnailVisible() const { return m_thumbnailVisible; }
    void SetThumbnailVisible(bool Value);
    int OutlineWidth() const { return m_outlineWidth; }
    void SetOutlineWidth(int Value);
    void FillOutlineTree();

    // ------------------------------------------------ commands
    void Print();
    void Export(TfrxCustomExportFilter* Filter);
    void SaveToFile();
    void SaveToFile(const QString& FileName);
    void LoadFromFile();
    void LoadFromFile(const QString& FileName);
    void PageSetupDlg();
    void Edit();
    void DesignTemplate();
    void Clear();
    void AddPage();
    void DeletePage();
    void Cancel();
    void ShowMessage(const QString& S);
    void HideMessage();

    bool Locked() const { return m_locked; }
    bool Running() const { return m_running; }
    bool Refreshing() const { return m_refreshing; }
    TfrxPreviewWorkspace* Workspace() const { return m_workspace; }
    TfrxPreviewWorkspace* Thumbnail() const { return m_thumbnail; }
    QTreeWidget* OutlineTree() const { return m_outline; }
    TfrxSplitter* Splitter() const { return m_splitter; }
    QWidget* MessagePanel() const { return m_messagePanel; }
    QLabel* MessageLabel() const { return m_messageLabel; }
    TfrxCalloutPanel* HintPanel() const { return m_hintPanel; }
    QMenu* OutlinePopup() const { return m_outlinePopup; }
    void SetHost(TfrxPreviewHost* Host) { m_host = Host; }

    QColor OutlineColor = QColor(255, 255, 255);
    std::function<void(TfrxPreview* Sender, int PageNo)> OnPageChanged;
    std::function<void()> OnClick, OnDblClick;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    friend class TfrxPreviewWorkspace;
    void placeChildren();
    void showSidePanels(bool Outline, bool Thumbnails);
    void pageChanged();
    // Pages set by the program (not by scrolling) stay current even where the view
    // cannot scroll that far.
    bool m_settingPage = false;
    void OutlineItemClick(QTreeWidgetItem* Item);
    TfrxPreviewHost* m_host;
    TfrxPreviewWorkspace* m_workspace;
    TfrxPreviewWorkspace* m_thumbnail;
    QTreeWidget* m_outline;
    TfrxSplitter* m_splitter;
    QMenu* m_outlinePopup;
    QWidget* m_messagePanel;
    QLabel* m_messageLabel;
    QPushButton* m_cancelButton;
    TfrxCalloutPanel* m_hintPanel;
    int m_pageNo = 1;
    double m_zoom = 1;
    TfrxZoomMode m_zoomMode = zmDefault;
    bool m_locked = false, m_running = false, m_refreshing = false;
    bool m_outlineVisible = false, m_thumbnailVisible = false;
    int m_outlineWidth = 120;
};

} // namespace orv::report
