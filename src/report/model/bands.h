#pragma once
// Bands: horizontal strips of a report page that the engine prints once, per record, or
// at page and group boundaries, each holding views.
#include "report/base/values.h"
#include "report/model/component.h"

#include <memory>

namespace orv::report {

class TfrxChild;
class TfrxDataSet;
class TfrxUserDataSet;

class TfrxBand : public TfrxReportComponent {
    ORV_RTTI_CLASS(TfrxBand)
public:
    explicit TfrxBand(orv::platform::Component* AOwner);
    ~TfrxBand() override;
    TfrxBand* asBand() override { return this; }

    // On a dot-matrix page the geometry snaps to character cells.
    void SetLeft(double Value) override;
    void SetTop(double Value) override;
    void SetHeight(double Value) override;

    bool Vertical() const { return m_vertical; }
    void SetVertical(bool v) { m_vertical = v; }
    bool AllowSplit() const { return m_allowSplit; }
    void SetAllowSplit(bool v) { m_allowSplit = v; }
    bool Stretched() const { return m_stretched; }
    void SetStretched(bool v) { m_stretched = v; }
    bool StartNewPage() const { return m_startNewPage; }
    void SetStartNewPage(bool v) { m_startNewPage = v; }
    TfrxChild* Child() const { return m_child; }
    // Raises "clCirRefNotAllow" when the chain of children leads back to this band.
    void SetChild(TfrxChild* Value);
    bool KeepChild() const { return m_keepChild; }
    void SetKeepChild(bool v) { m_keepChild = v; }
    bool PrintChildIfInvisible() const { return m_printChildIfInvisible; }
    void SetPrintChildIfInvisible(bool v) { m_printChildIfInvisible = v; }
    const QString& OutlineText() const { return m_outlineText; }
    void SetOutlineText(const QString& v) { m_outlineText = v; }
    bool Overflow() const { return m_overflow; }
    void SetOverflow(bool v) { m_overflow = v; }
    const QString& OnAfterCalcHeight() const { return m_onAfterCalcHeight; }
    void SetOnAfterCalcHeight(const QString& v) { m_onAfterCalcHeight = v; }
    // The class name without "Tfrx" and "Band".
    QString BandName() const;
    // The band's kind: its index in the engine's table of band classes, 0 for none.
    int BandNumber() const;
    QString GetDescription() const override;

    // Working links of the engine.
    QList<TfrxBand*> SubBands;
    TfrxBand* Header = nullptr;
    TfrxBand* Footer = nullptr;
    TfrxBand* Group = nullptr;
    int LineN = 0;
    int LineThrough = 0;
    int FOriginalObjectsCount = -1;
    bool FHasVBands = false;
    double FStretchedHeight = 0;

protected:
    void Notification(orv::platform::Component* AComponent, orv::platform::Operation op) override;

private:
    bool onDotMatrixPage() const;
    bool m_vertical = false, m_allowSplit = false, m_stretched = false, m_startNewPage = false;
    TfrxChild* m_child = nullptr;
    bool m_keepChild = false, m_printChildIfInvisible = false, m_overflow = false;
    QString m_outlineText, m_onAfterCalcHeight;
};

#define ORV_BAND_CLASS(Cls, Base)                                                          \
    class Cls : public Base {                                                              \
        ORV_RTTI_CLASS(Cls)                                                                \
    public:                                                                                \
        explicit Cls(orv::platform::Component* AOwner) : Base(AOwner) {}                             \
    };

ORV_BAND_CLASS(TfrxReportTitle, TfrxBand)
ORV_BAND_CLASS(TfrxReportSummary, TfrxBand)
ORV_BAND_CLASS(TfrxFooter, TfrxBand)
ORV_BAND_CLASS(TfrxChild, TfrxBand)
ORV_BAND_CLASS(TfrxColumnHeader, TfrxBand)
ORV_BAND_CLASS(TfrxColumnFooter, TfrxBand)
ORV_BAND_CLASS(TfrxNullBand, TfrxBand)

class TfrxPageHeader : public TfrxBand {
    ORV_RTTI_CLASS(TfrxPageHeader)
public:
    explicit TfrxPageHeader(orv::platform::Component* AOwner) : TfrxBand(AOwner) {}
    bool PrintOnFirstPage() const { return m_printOnFirstPage; }
    void SetPrintOnFirstPage(bool v) { m_printOnFirstPage = v; }

private:
    bool m_printOnFirstPage = true;
};

class TfrxPageFooter : public TfrxBand {
    ORV_RTTI_CLASS(TfrxPageFooter)
public:
    explicit TfrxPageFooter(orv::platform::Component* AOwner) : TfrxBand(AOwner) {}
    bool PrintOnFirstPage() const { return m_printOnFirstPage; }
    void SetPrintOnFirstPage(bool v) { m_printOnFirstPage = v; }
    bool PrintOnLastPage() const { return m_printOnLastPage; }
    void SetPrintOnLastPage(bool v) { m_printOnLastPage = v; }

private:
    bool m_printOnFirstPage = true, m_printOnLastPage = true;
};

class TfrxHeader : public TfrxBand {
    ORV_RTTI_CLASS(TfrxHeader)
public:
    explicit TfrxHeader(orv::platform::Component* AOwner) : TfrxBand(AOwner) {}
    bool ReprintOnNewPage() const { return m_reprintOnNewPage; }
    void SetReprintOnNewPage(bool v) { m_reprintOnNewPage = v; }

private:
    bool m_reprintOnNewPage = false;
};

class TfrxOverlay : public TfrxBand {
    ORV_RTTI_CLASS(TfrxOverlay)
public:
    explicit TfrxOverlay(orv::platform::Component* AOwner) : TfrxBand(AOwner) {}
    bool PrintOnTop() const { return m_printOnTop; }
    void SetPrintOnTop(bool v) { m_printOnTop = v; }

private:
    bool m_printOnTop = false;
};

class TfrxGroupHeader : public TfrxBand {
    ORV_RTTI_CLASS(TfrxGroupHeader)
public:
    explicit TfrxGroupHeader(orv::platform::Component* AOwner) : TfrxBand(AOwner) {}
    const QString& Condition() const { return m_condition; }
    void SetCondition(const QString& v) { m_condition = v; }
    bool DrillDown() const { return m_drillDown; }
    void SetDrillDown(bool v) { m_drillDown = v; }
    bool ExpandDrillDown() const { return m_expandDrillDown; }
    void SetExpandDrillDown(bool v) { m_expandDrillDown = v; }
    bool KeepTogether() const { return m_keepTogether; }
    void SetKeepTogether(bool v) { m_keepTogether = v; }
    bool ReprintOnNewPage() const { return m_reprintOnNewPage; }
    void SetReprintOnNewPage(bool v) { m_reprintOnNewPage = v; }
    bool ResetPageNumbers() const { return m_resetPageNumbers; }
    void SetResetPageNumbers(bool v) { m_resetPageNumbers = v; }
    bool ShowFooterIfDrillDown() const { return m_showFooterIfDrillDown; }
    void SetShowFooterIfDrillDown(bool v) { m_showFooterIfDrillDown = v; }
    bool ShowChildIfDrillDown() const { return m_showChildIfDrillDown; }
    void SetShowChildIfDrillDown(bool v) { m_showChildIfDrillDown = v; }
    const QString& DrillName() const { return m_drillName; }
    void SetDrillName(const QString& v) { m_drillName = v; }
    // The engine's last value of the condition.
    orv::report::Value FLastValue;
    // Adds "DrillName" when the group drills down.
    QString Diff(TfrxComponent* AComponent) override;

private:
    QString m_condition, m_drillName;
    bool m_drillDown = false, m_expandDrillDown = false, m_keepTogether = false, m_reprintOnNewPage = false;
    bool m_resetPageNumbers = false, m_showFooterIfDrillDown = false, m_showChildIfDrillDown = false;
};

class TfrxGroupFooter : public TfrxBand {
    ORV_RTTI_CLASS(TfrxGroupFooter)
public:
    explicit TfrxGroupFooter(orv::platform::Component* AOwner) : TfrxBand(AOwner) {}
    bool HideIfSingleDataRecord() const { return m_hideIfSingleDataRecord; }
    void SetHideIfSingleDataRecord(bool v) { m_hideIfSingleDataRecord = v; }

private:
    bool m_hideIfSingleDataRecord = false;
};

class TfrxDataBand : public TfrxBand {
    ORV_RTTI_CLASS(TfrxDataBand)
public:
    explicit TfrxDataBand(orv::platform::Component* AOwner);
    ~TfrxDataBand() override;

    TfrxDataSet* DataSet() const { return m_dataSet.get(); }
    // Also remembers the dataset's user name.
    void SetDataSet(TfrxDataSet* Value) { m_dataSet.set(Value); }
    QString DataSetName() const { return m_dataSet.name(); }
    void SetDataSetName(const QString& Value) { m_dataSet.setName(Value); }
    int RowCount() const { return m_rowCount; }
    // Also the number of records of the virtual dataset.
    void SetRowCount(int Value);
    int Columns() const { return m_columns; }
    void SetColumns(int v) { m_columns = v; }
    double ColumnWidth() const { return m_columnWidth; }
    void SetColumnWidth(double v) { m_columnWidth = v; }
    double ColumnGap() const { return m_columnGap; }
    void SetColumnGap(double v) { m_columnGap = v; }
    int CurColumn() const { return m_curColumn; }
    // Beyond Columns it becomes 1; moves the band to its column.
    void SetCurColumn(int Value);
    bool FooterAfterEach() const { return m_footerAfterEach; }
    void SetFooterAfterEach(bool v) { m_footerAfterEach = v; }
    bool KeepFooter() const { return m_keepFooter; }
    void SetKeepFooter(bool v) { m_keepFooter = v; }
    bool KeepHeader() const { return m_keepHeader; }
    void SetKeepHeader(bool v) { m_keepHeader = v; }
    bool KeepTogether() const { return m_keepTogether; }
    void SetKeepTogether(bool v) { m_keepTogether = v; }
    bool PrintIfDetailEmpty() const { return m_printIfDetailEmpty; }
    void SetPrintIfDetailEmpty(bool v) { m_printIfDetailEmpty = v; }
    const QString& OnMasterDetail() const { return m_onMasterDetail; }
    void SetOnMasterDetail(const QString& v) { m_onMasterDetail = v; }
    // Yields RowCount records for a band without a dataset. Made on first use: every
    // data band read back from prepared pages would otherwise make one for nothing.
    TfrxUserDataSet* VirtualDataSet();
    // The engine's lowest column bottom.
    double FMaxY = 0;

protected:
    void Notification(orv::platform::Component* AComponent, orv::platform::Operation op) override;

private:
    TfrxDataSetLink m_dataSet{this};
    int m_rowCount = 0, m_columns = 0, m_curColumn = 0;
    double m_columnWidth = 0, m_columnGap = 0;
    bool m_footerAfterEach = false, m_keepFooter = false, m_keepHeader = false, m_keepTogether = false;
    bool m_printIfDetailEmpty = false;
    QString m_onMasterDetail;
    std::unique_ptr<TfrxUserDataSet> m_virtualDataSet;
};

ORV_BAND_CLASS(TfrxMasterData, TfrxDataBand)
ORV_BAND_CLASS(TfrxDetailData, TfrxDataBand)
ORV_BAND_CLASS(TfrxSubdetailData, TfrxDataBand)
ORV_BAND_CLASS(TfrxDataBand4, TfrxDataBand)
ORV_BAND_CLASS(TfrxDataBand5, TfrxDataBand)
ORV_BAND_CLASS(TfrxDataBand6, TfrxDataBand)

} // namespace orv::report

#undef ORV_BAND_CLASS
