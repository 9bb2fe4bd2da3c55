#include "report/engine/aggregates.h"

#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/utils.h"
#include "report/model/bands.h"
#include "report/model/pages.h"
#include "report/model/report.h"

#include <set>

namespace orv::report {

using RValue = orv::report::Value;
namespace script = orv::script;

namespace {

constexpr int columnCount = 1001; // vertical columns 0 to 1000

bool inSkipSet(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 1 && u <= 32) || QStringView(u"!#$%&*+,-./0123456789=[]^|").contains(c);
}

bool inWordEndSet(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 1 && u <= 32) || QStringView(u"!#$%&(*+,-./=[]^|").contains(c);
}

// The position of the character that closes the one at `open`, nesting counted; the
// text's last position when there is none.
qsizetype matching(const QString& text, qsizetype open, QChar opening, QChar closing)
{
    int depth = 0;
    for (qsizetype i = open; i < text.size(); ++i) {
        if (text[i] == opening)
            ++depth;
        else if (text[i] == closing && --depth == 0)
            return i;
    }
    return text.size() - 1;
}

TfrxAggregateFunction functionOf(const QString& name)
{
    const QString n = orv::platform::upperAZ(orv::platform::trimmed(name));
    if (n == u"SUM")
        return agSum;
    if (n == u"AVG")
        return agAvg;
    if (n == u"MIN")
        return agMin;
    if (n == u"MAX")
        return agMax;
    return agCount;
}

bool isAggregateName(const QString& upper)
{
    return upper == u"SUM" || upper == u"MIN" || upper == u"MAX" || upper == u"AVG" || upper == u"COUNT";
}

int toFlags(const QString& s)
{
    if (s.isEmpty())
        return 0;
    int v = 0;
    if (!orv::platform::tryStrToInt(s, v))
        throw orv::report::ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
    return v;
}

} // namespace

// ---------------------------------------------------------------- item

void TfrxAggregateItem::collect(int& count, RValue& value, const RValue& v) const
{
    if (!(FAggregateFunction == agAvg && v.isNull()))
        ++count;
    if (value.isNull()) {
        value = v;
        return;
    }
    if (v.isNull())
        return;
    switch (FAggregateFunction) {
    case agSum:
    case agAvg:
        value = script::add(value, v);
        break;
    case agMin:
        if (script::lessThan(v, value))
            value = v;
        break;
    case agMax:
        if (script::lessThan(value, v))
            value = v;
        break;
    case agCount:
        break;
    }
}

void TfrxAggregateItem::Calc()
{
    if (!FBand->Visible() && !FCountInvisibleBands)
        return;
    FReport->CurObject = FMemoName;
    RValue v = RValue::null();
    if (FAggregateFunction != agCount) {
        v = FReport->Calc(FExpression);
        if (v.type() == script::varBoolean && v.asBool())
            v = RValue(1);
    }
    if (FVColumn >= 1) {
        if (FItemsArray.empty()) {
            FItemsArray.assign(columnCount, RValue::null());
            FItemsCountArray.assign(columnCount, 0);
        }
        if (FVColumn < columnCount)
            collect(FItemsCountArray[size_t(FVColumn)], FItemsArray[size_t(FVColumn)], v);
    } else if (FKeeping) {
        collect(FTempItemsCount, FTempItemsValue, v);
    } else {
        FLastCount = FItemsCount;
        FLastValue = FItemsValue;
        collect(FItemsCount, FItemsValue, v);
    }
}

void TfrxAggregateItem::DeleteValue()
{
    FItemsCount = FLastCount;
    FItemsValue = FLastValue;
}

void TfrxAggregateItem::Reset()
{
    if (FDontReset && FItemsCount != 0)
        return;
    FItemsCount = 0;
    FItemsValue = RValue::null();
    FItemsArray.clear();
    FItemsCountArray.clear();
}

void TfrxAggregateItem::StartKeep()
{
    if (!FIsPageFooter || FKeeping)
        return;
    FKeeping = true;
    FTempItemsCount = 0;
    FTempItemsValue = RValue::null();
}

void TfrxAggregateItem::EndKeep()
{
    if (!FIsPageFooter || !FKeeping)
        return;
    FKeeping = false;
    FItemsCount += FTempItemsCount;
    if (FItemsValue.isNull()) {
        FItemsValue = FTempItemsValue;
    } else if (!FTempItemsValue.isNull()) {
        if (FAggregateFunction == agMin) {
            if (script::lessThan(FTempItemsValue, FItemsValue))
                FItemsValue = FTempItemsValue;
        } else if (FAggregateFunction == agMax) {
            if (script::lessThan(FItemsValue, FTempItemsValue))
                FItemsValue = FTempItemsValue;
        } else {
            FItemsValue = script::add(FItemsValue, FTempItemsValue);
        }
    }
}

RValue TfrxAggregateItem::Value() const
{
    RValue value = FItemsValue;
    int count = FItemsCount;
    if (FVColumn >= 1) {
        const bool has = FVColumn < columnCount && !FItemsArray.empty();
        value = has ? FItemsArray[size_t(FVColumn)] : RValue::null();
        count = has ? FItemsCountArray[size_t(FVColumn)] : 0;
    }
    RValue result;
    switch (FAggregateFunction) {
    case agAvg:
        result = value.isNull() || count == 0 ? RValue::null()
                                              : script::binaryOp(script::BinaryOp::Divide, value,
                                                                 RValue(count));
        break;
    case agCount:
        result = RValue(count);
        break;
    default:
        result = value;
        break;
    }
    return result.isNull() ? RValue(0) : result;
}

// ---------------------------------------------------------------- list

void TfrxAggregateList::Clear() { FList.clear(); }

void TfrxAggregateList::addItem(const QString& CallText, TfrxCustomMemoView* Memo, TfrxDataBand* DataBand)
{
    const qsizetype open = CallText.indexOf(u'(');
    auto item = std::make_unique<TfrxAggregateItem>(FReport);
    item->FAggregateFunction = functionOf(CallText.left(open));
    // The arguments: commas at depth 1 outside quotes separate them.
    QStringList args;
    QString current;
    int depth = 1;
    QChar quote;
    for (qsizetype i = open + 1; i < CallText.size(); ++i) {
        const QChar c = CallText[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            current += c;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            if (--depth == 0)
                break;
        } else if (c == u',' && depth == 1) {
            args << current;
            current.clear();
            continue;
        }
        current += c;
    }
    args << current;
    while (args.size() < 3)
        args << QString();
    for (QString& a : args)
        a = orv::platform::trimmed(a);
    QString bandName;
    int flags = 0;
    if (item->FAggregateFunction == agCount) {
        bandName = args[0];
        flags = toFlags(args[1]);
    } else {
        item->FExpression = args[0];
        bandName = args[1];
        flags = toFlags(args[2]);
    }
    TfrxBand* band = bandName.isEmpty() ? nullptr : dynamic_cast<TfrxBand*>(FReport->FindObject(bandName));
    item->FCountInvisibleBands = (flags & 1) != 0;
    item->FDontReset = (flags & 2) != 0;
    item->FBand = band ? band : DataBand;
    auto* parent = dynamic_cast<TfrxBand*>(Memo->Parent());
    if (parent && parent->Vertical()) {
        auto* original = dynamic_cast<TfrxBand*>(Memo->FOriginalBand);
        if (original && (dynamic_cast<TfrxReportSummary*>(original) || dynamic_cast<TfrxPageFooter*>(original) ||
                         dynamic_cast<TfrxFooter*>(original) || dynamic_cast<TfrxGroupFooter*>(original)))
            parent = original;
    }
    item->FParentBand = parent;
    item->FIsPageFooter = dynamic_cast<TfrxPageFooter*>(parent) != nullptr;
    item->FOriginalName = orv::platform::trimmed(CallText);
    item->FMemoName = Memo->Name();
    item->Reset();
    FList.push_back(std::move(item));
}

void TfrxAggregateList::scanExpression(const QString& Text, TfrxCustomMemoView* Memo, TfrxDataBand* DataBand,
                                       int Depth)
{
    // A variable whose value leads back to itself would be scanned without end.
    if (Depth > 32)
        return;
    auto lookUp = [&](const QString& name) -> bool {
        const int index = FReport->Variables()->IndexOf(name);
        if (index >= 0) {
            const QVariant v = FReport->Variables()->Items(index)->Value();
            scanExpression(v.isNull() ? QString() : v.toString(), Memo, DataBand, Depth + 1);
            return true;
        }
        TfrxDataSet* ds = nullptr;
        QString field;
        FReport->GetDatasetAndField(name, ds, field);
        return ds != nullptr;
    };
    if (lookUp(Text))
        return;
    qsizetype i = 0;
    const qsizetype n = Text.size();
    while (i < n) {
        const QChar c = Text[i];
        if (inSkipSet(c)) {
            ++i;
        } else if (c == u'"' || c == u'\'') {
            const qsizetype close = Text.indexOf(c, i + 1);
            i = close < 0 ? n : close + 1;
        } else if (c == u'(' || c == u'<') {
            const qsizetype close = matching(Text, i, c, c == u'(' ? u')' : u'>');
            scanExpression(Text.mid(i + 1, close - i - 1), Memo, DataBand, Depth);
            i = close > i ? close : i + 1;
        } else {
            qsizetype end = i;
            while (end < n && !inWordEndSet(Text[end]))
                ++end;
            const QString word = Text.mid(i, end - i);
            if (isAggregateName(orv::platform::upperAZ(word)) && end < n - 1 && Text[end] == u'(') {
                const qsizetype close = matching(Text, end, u'(', u')');
                addItem(Text.mid(i, close - i + 1), Memo, DataBand);
                i = close + 1;
                continue;
            }
            lookUp(word);
            i = end > i ? end : i + 1;
        }
    }
}

void TfrxAggregateList::scanMemo(TfrxCustomMemoView* Memo, TfrxDataBand* DataBand)
{
    if (!Memo->AllowExpressions())
        return;
    QString text = Memo->Text();
    QString open, close;
    Memo->ExpressionBrackets(open, close);
    frxExpandBracketedExpressions(text, open, close, [&](const QString& expr) {
        scanExpression(expr, Memo, DataBand, 0);
        return QString(); // the scan only reads
    });
}

void TfrxAggregateList::scanBand(TfrxBand* Band, TfrxDataBand* DataBand)
{
    for (TfrxBand* b = Band; b; b = b->Child()) {
        for (TfrxComponent* c : b->Objects())
            if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(c))
                scanMemo(memo, DataBand);
        if (b->Child() == Band)
            break;
    }
}

void TfrxAggregateList::walkDataBands(const QList<TfrxBand*>& Bands)
{
    for (TfrxBand* b : Bands) {
        auto* d = dynamic_cast<TfrxDataBand*>(b);
        if (!d)
            continue;
        if (d->Footer)
            scanBand(d->Footer, d);
        if (d->Group)
            for (TfrxBand* header : d->Group->SubBands)
                if (header->Footer)
                    scanBand(header->Footer, d);
        walkDataBands(d->SubBands);
        if (d->Vertical())
            scanBand(d, d);
    }
}

void TfrxAggregateList::AddItems(TfrxReportPage* Page)
{
    walkDataBands(Page->SubBands);
    walkDataBands(Page->VSubBands);
    if (Page->SubBands.isEmpty())
        return;
    auto* first = dynamic_cast<TfrxDataBand*>(Page->SubBands.first());
    if (!first)
        return;
    for (const orv::platform::rtti::ClassInfo* cls : {&TfrxPageFooter::staticClassInfo(), &TfrxColumnFooter::staticClassInfo(),
                                            &TfrxReportSummary::staticClassInfo()})
        if (TfrxBand* band = Page->FindBand(*cls))
            scanBand(band, first);
}

void TfrxAggregateList::AddValue(TfrxBand* Band, int VColumn)
{
    for (auto& item : FList)
        if (item->FBand == Band) {
            item->FVColumn = VColumn;
            item->Calc();
        }
}

void TfrxAggregateList::DeleteValue(TfrxBand* Band)
{
    for (auto& item : FList)
        if (item->FBand == Band)
            item->DeleteValue();
}

void TfrxAggregateList::Reset(TfrxBand* ParentBand)
{
    for (auto& item : FList)
        if (item->FParentBand == ParentBand)
            item->Reset();
}

void TfrxAggregateList::StartKeep()
{
    for (auto& item : FList)
        item->StartKeep();
}

void TfrxAggregateList::EndKeep()
{
    for (auto& item : FList)
        item->EndKeep();
}

void TfrxAggregateList::ClearValues()
{
    for (auto& item : FList) {
        const bool dontReset = item->FDontReset;
        item->FDontReset = false;
        item->Reset();
        item->FDontReset = dontReset;
    }
}

RValue TfrxAggregateList::GetValue(TfrxBand* ParentBand, int VColumn, const QString& Name, const QString& Expression,
                                  TfrxBand* Band, int Flags) const
{
    const TfrxAggregateFunction function = functionOf(Name);
    const QString expression = orv::platform::trimmed(Expression);
    for (const auto& item : FList) {
        if (item->FParentBand != ParentBand || item->FAggregateFunction != function ||
            !orv::platform::sameTextAZ(item->FExpression, expression) || (Band && item->FBand != Band) ||
            item->FCountInvisibleBands != ((Flags & 1) != 0) || item->FDontReset != ((Flags & 2) != 0))
            continue;
        item->FVColumn = VColumn;
        return item->Value();
    }
    return RValue::null();
}

RValue TfrxAggregateList::GetValue(TfrxBand* ParentBand, const QString& ComplexName, int VColumn) const
{
    const QString name = orv::platform::trimmed(ComplexName);
    for (const auto& item : FList)
        if (item->FParentBand == ParentBand && orv::platform::sameTextAZ(item->FOriginalName, name)) {
            item->FVColumn = VColumn;
            return item->Value();
        }
    return RValue::null();
}

} // namespace orv::report
