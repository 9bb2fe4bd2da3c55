#pragma once
// Pages of a report: the report page with its paper, orientation, margins and columns,
// the data page that holds the data objects, the dialog page, and the subreport view
// that shows one page inside another.
#include "report/base/stringlist.h"
#include "report/model/views.h"

#include <functional>
#include <memory>

namespace orv::report {

class TfrxBand;
class TfrxSubreport;

class TfrxPage : public TfrxComponent {
    ORV_RTTI_CLASS(TfrxPage)
public:
    explicit TfrxPage(orv::platform::Component* AOwner) : TfrxComponent(AOwner) {}
    TfrxPage* asPage() override { return this; }
};

// The default paper of the current printer (the printer layer installs its own).
struct TfrxDefaultPaper {
    int PaperSize = 9;
    double PaperWidth = 210;
    double PaperHeight = 297;
    TPrinterOrientation Orientation = poPortrait;
};
void frxSetDefaultPaperProvider(std::function<TfrxDefaultPaper()> provider);

class TfrxReportPage : public TfrxPage {
    ORV_RTTI_CLASS(TfrxReportPage)
public:
    explicit TfrxReportPage(orv::platform::Component* AOwner);
    ~TfrxReportPage() override;

    TPrinterOrientation Orientation() const { return m_orientation; }
    // A change turns the paper and its margins with it.
    void SetOrientation(TPrinterOrientation Value);
    double PaperWidth() const { return m_paperWidth; }
    double PaperHeight() const { return m_paperHeight; }
    // The size (rounded to 8 decimals) makes the paper custom (256).
    void SetPaperWidth(double Value);
    void SetPaperHeight(double Value);
    int PaperSize() const { return m_paperSize; }
    // A code of the paper table brings its measures (turned for landscape).
    void SetPaperSize(int Value);
    void SetSizeAndDimensions(int ASize, double AWidth, double AHeight);
    double LeftMargin() const { return m_leftMargin; }
    void SetLeftMargin(double v) { m_leftMargin = v; }
    double RightMargin() const { return m_rightMargin; }
    void SetRightMargin(double v) { m_rightMargin = v; }
    double TopMargin() const { return m_topMargin; }
    void SetTopMargin(double v) { m_topMargin = v; }
    double BottomMargin() const { return m_bottomMargin; }
    void SetBottomMargin(double v) { m_bottomMargin = v; }
    bool MirrorMargins() const { return m_mirrorMargins; }
    void SetMirrorMargins(bool v) { m_mirrorMargins = v; }
    int Columns() const { return m_columns; }
    // Recomputes the column width and positions for one or more columns.
    void SetColumns(int Value);
    double ColumnWidth() const { return m_columnWidth; }
    void SetColumnWidth(double v) { m_columnWidth = v; }
    orv::report::StringList* ColumnPositions() const { return m_columnPositions.get(); }
    void SetColumnPositions(orv::report::StringList* v) { m_columnPositions->Assign(v); }
    int Bin() const { return m_bin; }
    void SetBin(int v) { m_bin = v; }
    int BinOtherPages() const { return m_binOtherPages; }
    void SetBinOtherPages(int v) { m_binOtherPages = v; }
    TfrxBitmap* BackPicture() const { return m_background->Picture(); }
    void SetBackPicture(TfrxBitmap* v) { m_background->SetPicture(v); }
    bool BackPictureVisible() const { return m_backPictureVisible; }
    void SetBackPictureVisible(bool v) { m_backPictureVisible = v; }
    bool BackPicturePrintable() const { return m_backPicturePrintable; }
    void SetBackPicturePrintable(bool v) { m_backPicturePrintable = v; }
    int PageCount() const { return m_pageCount; }
    // Values below 1 are ignored.
    void SetPageCount(int Value);
    TAlphaColor Color() const { return m_background->Color(); }
    void SetColor(TAlphaColor v) { m_background->SetColor(v); }
    TfrxDataSet* DataSet() const { return m_dataSet.get(); }
    void SetDataSet(TfrxDataSet* Value) { m_dataSet.set(Value); }
    QString DataSetName() const { return m_dataSet.name(); }
    void SetDataSetName(const QString& Value) { m_dataSet.setName(Value); }
    TfrxDuplexMode Duplex() const { return m_duplex; }
    void SetDuplex(TfrxDuplexMode v) { m_duplex = v; }
    TfrxFrame* Frame() const { return m_background->Frame(); }
    void SetFrame(TfrxFrame* v) { m_background->SetFrame(v); }
    bool EndlessHeight() const { return m_endlessHeight; }
    void SetEndlessHeight(bool v) { m_endlessHeight = v; }
    bool EndlessWidth() const { return m_endlessWidth; }
    void SetEndlessWidth(bool v) { m_endlessWidth = v; }
    bool LargeDesignHeight() const { return m_largeDesignHeight; }
    void SetLargeDesignHeight(bool v) { m_largeDesignHeight = v; }
    const QString& OutlineText() const { return m_outlineText; }
    void SetOutlineText(const QString& v) { m_outlineText = v; }
    bool PrintIfEmpty() const { return m_printIfEmpty; }
    void SetPrintIfEmpty(bool v) { m_printIfEmpty = v; }
    bool PrintOnPreviousPage() const { return m_printOnPreviousPage; }
    void SetPrintOnPreviousPage(bool v) { m_printOnPreviousPage = v; }
    bool ResetPageNumbers() const { return m_resetPageNumbers; }
    void SetResetPageNumbers(bool v) { m_resetPageNumbers = v; }
    bool TitleBeforeHeader() const { return m_titleBeforeHeader; }
    void SetTitleBeforeHeader(bool v) { m_titleBeforeHeader = v; }
    orv::report::StringList* HGuides() const { return m_hGuides.get(); }
    void SetHGuides(orv::report::StringList* v) { m_hGuides->Assign(v); }
    orv::report::StringList* VGuides() const { return m_vGuides.get(); }
    void SetVGuides(orv::report::StringList* v) { m_vGuides->Assign(v); }
    const QString& OnBeforePrint() const { return m_onBeforePrint; }
    void SetOnBeforePrint(const QString& v) { m_onBeforePrint = v; }
    const QString& OnAfterPrint() const { return m_onAfterPrint; }
    void SetOnAfterPrint(const QString& v) { m_onAfterPrint = v; }
    const QString& OnManualBuild() const { return m_onManualBuild; }
    void SetOnManualBuild(const QString& v) { m_onManualBuild = v; }

    // The page's background (colour, frame, picture), outside the tree.
    TfrxPictureView* BackgroundView() const { return m_background.get(); }
    // The subreport that shows this page inside another one, or nullptr.
    TfrxSubreport* SubReport() const { return m_subReport; }
    bool IsSubReport() const { return m_subReport != nullptr; }
    // Band lists the engine fills while it runs the page.
    QList<TfrxBand*> SubBands;
    QList<TfrxBand*> VSubBands;

    // The first child of that class or a descendant of it, or nullptr.
    TfrxBand* FindBand(const orv::platform::rtti::ClassInfo& Band) const;
    // Margins 10 mm and the current printer's default paper.
    void SetDefaults();
    void ClearGuides();
    // The page takes its printable size, aligns its views and bands, then gets its
    // pixel size back.
    void AlignChildren() override;
    // The background: colour, picture and frame over the printable area, unless the
    // picture is hidden (or not for printing, on a printer).
    void Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override;
    // The dot-matrix page answers true; its bands snap to character cells.
    virtual bool IsDotMatrixPage() const { return false; }
    QString GetDescription() const override;

private:
    friend class TfrxSubreport;
    void updateDimensions();
    TPrinterOrientation m_orientation = poPortrait;
    double m_paperWidth = 0, m_paperHeight = 0;
    int m_paperSize = 0;
    double m_leftMargin = 0, m_rightMargin = 0, m_topMargin = 0, m_bottomMargin = 0;
    bool m_mirrorMargins = false;
    int m_columns = 0;
    double m_columnWidth = 0;
    std::unique_ptr<orv::report::StringList> m_columnPositions, m_hGuides, m_vGuides;
    int m_bin = 7, m_binOtherPages = 7;
    bool m_backPictureVisible = true, m_backPicturePrintable = true;
    int m_pageCount = 1;
    TfrxDataSetLink m_dataSet{this};
    TfrxDuplexMode m_duplex = dmNone;
    bool m_endlessHeight = false, m_endlessWidth = false, m_largeDesignHeight = false;
    QString m_outlineText;
    bool m_printIfEmpty = true, m_printOnPreviousPage = false, m_resetPageNumbers = false;
    bool m_titleBeforeHeader = true;
    QString m_onBeforePrint, m_onAfterPrint, m_onManualBuild;
    std::unique_ptr<TfrxPictureView> m_background;
    TfrxSubreport* m_subReport = nullptr;

protected:
    void Notification(orv::platform::Component* AComponent, orv::platform::Operation op) override;
};

class TfrxDataPage : public TfrxPage {
    ORV_RTTI_CLASS(TfrxDataPage)
public:
    explicit TfrxDataPage(orv::platform::Component* AOwner);
    QString GetDescription() const override;
};

// A dialog shown before the report runs. Its window belongs to the user interface;
// this object holds what the layout stores of it.
class TfrxDialogPage : public TfrxPage {
    ORV_RTTI_CLASS(TfrxDialogPage)
public:
    explicit TfrxDialogPage(orv::platform::Component* AOwner);

    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle v) { m_borderStyle = v; }
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& v) { m_caption = v; }
    TAlphaColor Color() const { return m_color; }
    void SetColor(TAlphaColor v) { m_color = v; }
    double ClientWidth() const { return m_clientWidth; }
    void SetClientWidth(double v) { m_clientWidth = v; }
    double ClientHeight() const { return m_clientHeight; }
    void SetClientHeight(double v) { m_clientHeight = v; }
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition v) { m_position = v; }
    TWindowState WindowState() const { return m_windowState; }
    void SetWindowState(TWindowState v) { m_windowState = v; }
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int v) { m_modalResult = v; }
    QString GetDescription() const override;

    // Names of script procedures of the dialog's window.
    QString OnActivate, OnClick, OnCloseQuery, OnDeactivate, OnHide, OnKeyDown, OnKeyPress, OnKeyUp, OnShow,
        OnResize;

private:
    TFormBorderStyle m_borderStyle = bsSizeable;
    QString m_caption;
    TAlphaColor m_color = claWhiteSmoke;
    double m_clientWidth = 0, m_clientHeight = 0;
    TPosition m_position = poScreenCenter;
    TWindowState m_windowState = wsNormal;
    int m_modalResult = 0;
};

class TfrxSubreport : public TfrxView {
    ORV_RTTI_CLASS(TfrxSubreport)
public:
    explicit TfrxSubreport(orv::platform::Component* AOwner);
    ~TfrxSubreport() override;
    TfrxReportPage* Page() const { return m_page; }
    // Links both ways; the page's previous subreport loses its page.
    void SetPage(TfrxReportPage* Value);
    bool PrintOnParent() const { return m_printOnParent; }
    void SetPrintOnParent(bool v) { m_printOnParent = v; }
    QString GetDescription() const override;

private:
    TfrxReportPage* m_page = nullptr;
    bool m_printOnParent = false;
    friend class TfrxReportPage;
};

} // namespace orv::report
