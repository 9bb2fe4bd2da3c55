#pragma once
// The preview window: a tool bar whose commands the report's preview buttons choose, the
// preview control filling the window, a status bar with the page text, messages and
// hints, a right-click menu and an export menu. Opened modally by the report for its
// prepared pages and freed when it closes.
#include "report/model/report.h"
#include "report/preview/preview.h"

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QSizeGrip;

namespace orv::report {

class TfrxPreviewForm : public orv::report::EngineWindow, public TfrxPreviewWindow, public TfrxPreviewHost {
public:
    explicit TfrxPreviewForm(QWidget* Owner = nullptr);
    ~TfrxPreviewForm() override;

    // ------------------------------------------------ the report's window
    TfrxCustomPreview* Preview() override { return FPreview; }
    TfrxPreview* PreviewControl() const { return FPreview; }
    TfrxReport* Report() const { return FPreview->Report; }
    void Init() override;
    void SetMessageText(const QString& Value, bool IsHint) override;
    void KeepDesignedPosition() override {}
    void ShowModal() override;
    void Show() override;
    void Close() override { close(); }
    bool FreeOnClose = false;

    // ------------------------------------------------ what the preview asks
    void ShowZoomText() override;
    void UpdateCommandStates() override;
    void SetOutlineDown(bool Down) override;
    void SetThumbnailsDown(bool Down) override;
    void PreparationStarted() override;
    void PreparationStopped() override;
    void MouseWheel(int Delta, Qt::KeyboardModifiers Modifiers) override;

    // ------------------------------------------------ commands
    void SwitchToFullScreen();
    bool FullScreen() const { return FFullScreen; }
    void ShowPageNumber();
    void PrintBClick();
    void OpenBClick();
    void SaveBClick();
    void ExportBClick();
    void PdfBClick();
    void EmailBClick();
    void PageSettingsBClick();
    void DesignerBClick();
    void FirstBClick();
    void PriorBClick();
    void NextBClick();
    void LastBClick();
    void PageEClick();
    void CancelBClick();
    void FullScreenBtnClick() { SwitchToFullScreen(); }
    void ZoomPlusBClick();
    void ZoomMinusBClick();
    void OutlineBClick();
    void ThumbBClick();
    void PageWidthBClick();
    void WholePageBClick();
    void CollapseAllClick() { setDrillDown(false); }
    void ExpandAllClick() { setDrillDown(true); }
    void Showtemplate1Click();
    // The right-click menu at the pointer, for a right-button release.
    void FormMouseUp(Qt::MouseButton Button, QPoint GlobalPos);
    void FormMouseWheel(int Delta, Qt::KeyboardModifiers Modifiers);
    // The hint of a tool button in the callout panel, and away again.
    void PrintBMouseEnter(TfrxToolButton* Button);
    void PrintBMouseLeave();

    // ------------------------------------------------ components
    QWidget* ToolBar;
    TfrxToolButton* PrintB;
    TfrxToolButton* OpenB;
    TfrxToolButton* SaveB;
    TfrxToolButton* ExportB;
    TfrxToolSeparator* Line1;
    QComboBox* ZoomCB;
    TfrxToolButton* PageWidthB;
    TfrxToolButton* WholePageB;
    TfrxToolButton* FullScreenBtn;
    TfrxToolSeparator* Line2;
    TfrxToolButton* OutlineB;
    TfrxToolButton* ThumbB;
    TfrxToolButton* PageSettingsB;
    TfrxToolButton* DesignerB;
    TfrxToolSeparator* Line3;
    TfrxToolButton* FirstB;
    TfrxToolButton* PriorB;
    QLineEdit* PageE;
    TfrxToolButton* NextB;
    TfrxToolButton* LastB;
    QPushButton* CancelB;
    QWidget* StatusBar;
    QLabel* Panel0;
    QLabel* Panel1;
    QLabel* Panel2;
    QMenu* RightMenu;
    QAction* CollapseMI;
    QAction* ExpandMI;
    QAction* N1;
    QAction* OpenMI;
    QAction* SaveMI;
    QAction* PrintMI;
    QMenu* ExportMI;
    QAction* ExportPDFMI;
    QAction* ExportMailMI;
    QAction* FindMI;
    QAction* FullScrMI;
    QAction* ZoomInMI;
    QAction* ZoomOutMI;
    QMenu* ExportPopup;
    QMenu* HiddenMenu;
    TfrxCalloutPanel* HintPanel;
    // The tool-bar children in the order the compaction takes them.
    const std::vector<QWidget*>& ToolBarChildren() const { return m_toolBarChildren; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void FormCreate();
    void CompactToolBar();
    void placeChildren();
    void applyZoomText(bool MoveFocus);
    void writeZoomText(const QString& Text);
    void setDrillDown(bool Expand);
    void ExportItemClick(int Index);
    TfrxToolButton* toolButton(const char* Name, int X, const QString& Hint, int Row, int Column);
    TfrxToolSeparator* separator(const char* Name, int X);

    TfrxPreview* FPreview;
    bool FFullScreen = false;
    Qt::WindowStates FOldState;
    TfrxCustomExportFilter* FPDFExport = nullptr;
    TfrxCustomExportFilter* FEmailExport = nullptr;
    int FPopUpMItemsCount = 0;
    int FPopUpExporttemsCount = 0;
    bool m_writingZoom = false;
    std::vector<QWidget*> m_toolBarChildren;
};

// Makes the preview windows the report shows its prepared pages in.
TfrxPreviewWindow* frxMakePreviewWindow(TfrxReport* Report);

} // namespace orv::report
