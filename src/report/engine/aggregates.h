#pragma once
// Totals of a report: SUM, AVG, MIN, MAX and COUNT calls found in the text objects of
// footers, each bound to the data band whose rows it collects and the band that prints it.
#include "report/base/values.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace orv::report {

class TfrxBand;
class TfrxDataBand;
class TfrxReport;
class TfrxReportPage;
class TfrxCustomMemoView;

enum TfrxAggregateFunction : int { agSum, agAvg, agMin, agMax, agCount };

class TfrxAggregateItem {
public:
    explicit TfrxAggregateItem(TfrxReport* report) : FReport(report) {}

    TfrxAggregateFunction FAggregateFunction = agCount;
    TfrxBand* FBand = nullptr;
    bool FCountInvisibleBands = false;
    bool FDontReset = false;
    QString FExpression;
    bool FIsPageFooter = false;
    // Per vertical column (0 to 1000), made on the first row of a column.
    std::vector<orv::report::Value> FItemsArray;
    std::vector<int> FItemsCountArray;
    int FItemsCount = 0;
    orv::report::Value FItemsValue = orv::report::Value::null();
    bool FKeeping = false;
    int FLastCount = 0;
    orv::report::Value FLastValue = orv::report::Value::null();
    QString FMemoName;
    QString FOriginalName;
    TfrxBand* FParentBand = nullptr;
    TfrxReport* FReport;
    int FTempItemsCount = 0;
    orv::report::Value FTempItemsValue = orv::report::Value::null();
    int FVColumn = 0;

    // Collects the current row.
    void Calc();
    void DeleteValue();
    void Reset();
    void StartKeep();
    void EndKeep();
    orv::report::Value Value() const;

private:
    void collect(int& count, orv::report::Value& value, const orv::report::Value& v) const;
};

class TfrxAggregateList {
public:
    explicit TfrxAggregateList(TfrxReport* AReport) : FReport(AReport) {}

    int Count() const { return int(FList.size()); }
    TfrxAggregateItem* Items(int Index) const { return FList[size_t(Index)].get(); }

    void Clear();
    // Finds the calls in the text objects of the page's footers.
    void AddItems(TfrxReportPage* Page);
    void AddValue(TfrxBand* Band, int VColumn = 0);
    void DeleteValue(TfrxBand* Band);
    void Reset(TfrxBand* ParentBand);
    void StartKeep();
    void EndKeep();
    void ClearValues();
    // The value for the band being prepared; Null when no item matches.
    orv::report::Value GetValue(TfrxBand* ParentBand, int VColumn, const QString& Name, const QString& Expression,
                                TfrxBand* Band, int Flags) const;
    orv::report::Value GetValue(TfrxBand* ParentBand, const QString& ComplexName, int VColumn) const;

private:
    void scanBand(TfrxBand* Band, TfrxDataBand* DataBand);
    void scanMemo(TfrxCustomMemoView* Memo, TfrxDataBand* DataBand);
    void scanExpression(const QString& Text, TfrxCustomMemoView* Memo, TfrxDataBand* DataBand, int Depth);
    void addItem(const QString& CallText, TfrxCustomMemoView* Memo, TfrxDataBand* DataBand);
    void walkDataBands(const QList<TfrxBand*>& Bands);

    std::vector<std::unique_ptr<TfrxAggregateItem>> FList;
    TfrxReport* FReport;
};

} // namespace orv::report
