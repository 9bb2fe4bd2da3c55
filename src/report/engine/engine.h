#pragma once
// The report engine: it walks the report's pages, bands and datasets and lays the bands
// out on the prepared pages, starting new columns and pages when the room runs out,
// repeating headers, placing footers, splitting bands that do not fit and keeping
// blocks of bands together, and it answers the aggregates that text objects ask for.
#include "report/engine/aggregates.h"
#include "report/model/engine.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace orv::report {

class TfrxBand;
class TfrxDataBand;
class TfrxNullBand;
class TfrxReportPage;
class TfrxPreviewPages;
class TfrxGroupHeader;
class TfrxStretcheable;
class TfrxReportComponent;

// The bands shown again at the top of each new page and column.
struct TfrxHeaderListItem {
    TfrxBand* Band = nullptr;
    long double Left = 0;
    bool IsInKeepList = false;
};

class TfrxHeaderList {
public:
    void Clear() { FList.clear(); }
    int Count() const { return int(FList.size()); }
    TfrxHeaderListItem& Items(int Index) { return FList[size_t(Index)]; }
    void AddItem(TfrxBand* ABand, long double ALeft, bool AInKeepList);
    // The first item of that band goes; nothing when none holds it.
    void RemoveItem(TfrxBand* ABand);

private:
    std::vector<TfrxHeaderListItem> FList;
};

class TfrxEngine : public TfrxCustomEngine {
    ORV_RTTI_CLASS(TfrxEngine)
public:
    explicit TfrxEngine(TfrxReport* AReport);
    ~TfrxEngine() override;

    double PageHeight() const override;
    void EndPage() override;
    void BreakAllKeep() override;
    void NewColumn() override;
    void NewPage() override;
    void ShowBand(TfrxBand* Band) override;
    void ShowBand(const orv::platform::rtti::ClassInfo& Band) override;
    double HeaderHeight() override;
    double FooterHeight() override;
    double FreeSpace() override;
    QVariant GetAggregateValue(const QString& Name, const QString& Expression, TfrxBand* Band, int Flags) override;
    // The aggregate as a script value.
    orv::report::Value AggregateValue(const QString& Name, const QString& Expression, TfrxBand* Band, int Flags);
    bool Run() override;

    TfrxAggregateList& Aggregates() { return *FAggregates; }

private:
    TfrxPreviewPages* pages() const;
    // ---- run (pages and bands)
    bool Initialize();
    bool ShowDialogPages();
    void RunPass();
    void RunPagesOnce();
    void ProcessReportPage(TfrxReportPage* Page);
    void BuildPageCopy();
    void BeginPageRun();
    void OutputPageObjects();
    void OutputBand(TfrxBand* Band);
    void RunDataLevel(TfrxComponent* Owner);
    bool HasDetailRows(TfrxComponent* Owner, bool PrintIfEmpty);
    void AdvanceDataColumn(TfrxDataBand* D, int ColumnPosition, long double RowStartY);
    void ClearRepeatMemory(TfrxBand* Band);
    void SendBandNotifications(TfrxBand* Band);
    void OutlinePageItem();
    void OutlineBandItem(TfrxBand* Band);
    void OutlineLeaveBand(TfrxBand* Band);
    void processMessages();
    // Something new reached the pages: the run is moving on.
    void placedSomething() { FPagesWithoutProgress = 0; }
    // Called for every output page opened: a run that keeps adding pages without placing
    // anything new on them would never end; it is stopped with an error.
    void guardPageWithoutProgress();
    QString evaluateOutline(const QString& Text);

    // ---- band tree
    void BuildBandTree(bool Vertical);
    void LinkGroups(QList<TfrxBand*>& List, bool Vertical);
    void LinkHeadersFooters(QList<TfrxBand*>& List);
    void LinkDataBands(QList<TfrxBand*>& List, bool Vertical);
    void addError(const QString& Message);

    // ---- page and column changes
    void OpenOutputPage();
    void PlaceBottomBand(TfrxBand* Band);
    void PlaceColumnFooter();
    void OpenNextColumn();
    void PlaceBandWithChildren(TfrxBand* Band);
    void PlaceBandAtCursor(TfrxBand* Band);
    void RememberHeader(TfrxBand* Band);
    void ForgetHeader(TfrxBand* Band);

    // ---- stretching, splitting, keeping
    void PrepareBand(TfrxBand* Band);
    void FinishBand(TfrxBand* Band);
    // Prepares the band, runs the output and finishes the band, also when the output fails.
    template <class Output>
    void outputPrepared(TfrxBand* Band, Output&& output)
    {
        PrepareBand(Band);
        try {
            output();
        } catch (...) {
            FinishBand(Band);
            throw;
        }
        FinishBand(Band);
    }
    void BuildShiftLists(TfrxBand* Band);
    void ShiftDependents(TfrxComponent* Parent, double Amount);
    void SplitBand(TfrxBand* Band);
    void PushDownBelow(TfrxComponent* O, double Amount, QList<TfrxComponent*>& ToPlace,
                       QList<TfrxComponent*>& Moved, double Bottom = -1);
    void FitPartHeight(TfrxBand* Band, bool Last);
    void RefreshSuppressed(TfrxBand* Band);
    void BeginKeep(TfrxBand* Band, int Position = 0);
    void FinishKeep(TfrxBand* Band);
    void doBeforePrint(TfrxReportComponent* Obj);
    void doAfterPrint(TfrxReportComponent* Obj);

    // ---- groups, subreports, vertical bands
    void OpenGroupHeaders(TfrxDataBand* D, TfrxBand* Group, bool First, int From);
    void CloseGroupFooters(TfrxBand* Group, int To, TfrxDataBand* D);
    void DetectGroupChange(TfrxDataBand* D, TfrxBand* Group, long double RowStartY, int ColumnPosition);
    void ApplyDrillDown(TfrxDataBand* D, TfrxBand* Group);
    void RunBandSubreports(TfrxBand* Band);
    void InlineSubreports(TfrxBand* Band);
    void RunVerticalBands(TfrxBand* Band);
    void RunVerticalLevel(const QList<TfrxBand*>& Bands);
    void OutputVerticalBand(TfrxBand* V);
    void EmitVerticalPages(TfrxBand* Band);
    void RememberVerticalHeader(TfrxBand* Band);
    void ForgetVerticalHeader(TfrxBand* Band);
    orv::report::Value evaluateCondition(TfrxGroupHeader* Header);

    std::unique_ptr<TfrxAggregateList> FAggregates;
    bool FCallFromAddPage = false;
    bool FCallFromEndPage = false;
    TfrxBand* FCurBand = nullptr;
    TfrxBand* FLastBandOnPage = nullptr;
    bool FDontShowHeaders = false;
    TfrxHeaderList FHeaderList;
    bool FFirstReportPage = false;
    long double FFirstColumnY = 0;
    bool FIsFirstBand = false;
    bool FIsFirstPage = false;
    bool FIsLastPage = false;
    bool FTitlePrinted = false;
    // Name and row number of every data band being nested (drill-down names).
    QList<QPair<QString, int>> FHBandNamesTree;
    TfrxBand* FKeepBand = nullptr;
    bool FKeepFooter = false;
    bool FKeeping = false;
    bool FKeepHeader = false;
    long double FKeepCurY = 0;
    TfrxXMLItem* FKeepOutline = nullptr;
    int FKeepPosition = 0;
    int FKeepAnchor = 0;
    long double FPrevFooterHeight = 0;
    bool FCallFromPHeader = false;
    TfrxNullBand* FOutputTo = nullptr;
    TfrxReportPage* FPage = nullptr;
    long double FPageCurX = 0;
    TfrxBand* FStartNewPageBand = nullptr;
    TfrxHeaderList FVHeaderList;
    TfrxBand* FVMasterBand = nullptr;
    QList<int> FVPageList;
    // Output pages opened since something new was last placed.
    int FPagesWithoutProgress = 0;
    // CurX before the vertical bands of a band ran.
    long double FVSavedX = 0;
};

} // namespace orv::report
