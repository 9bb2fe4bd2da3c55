#include "script/core/sysfunctions.h"

#include <chrono>
#include <cmath>
#include <random>

#include "platform/core/editmask.h"
#include "platform/core/exceptions.h"
#include "platform/core/formats.h"
#include "platform/core/numberformat.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "script/core/typerules.h"

namespace orv::script {

using orv::script::Value;

} // namespace orv::script

namespace orv::script {

namespace {

MessageHandler& messageHandler()
{
    static MessageHandler handler;
    return handler;
}

std::mt19937_64& generator()
{
    static std::mt19937_64 g(0x5eed);
    return g;
}

} // namespace

void setShowMessageHandler(MessageHandler handler)
{
    messageHandler() = std::move(handler);
}

} // namespace orv::script

namespace orv::script {

namespace {

using Call = std::function<Value(TfsMethodHelper* c)>;

QString arg(TfsMethodHelper* c, int i)
{
    return c->GetVParam(i).toString();
}

// Length of a text or of an array's first dimension.
Value lengthOf(const Value* args)
{
    const Value& v = args[0];
    if (v.isArray())
        return Value(v.highBound(1) - v.lowBound(1) + 1);
    return Value(int(v.isText() ? v.text().size() : v.toString().size()));
}

// The message RaiseException raises: its argument as text.
QString raiseText(TfsMethodHelper* c)
{
    return arg(c, 0);
}

[[noreturn]] void convertError(const char* text, const QString& value)
{
    throw orv::platform::EConvertError(QString::fromLatin1(text).arg(value));
}

Value integerResult(long double v)
{
    if (!(v >= -9223372036854775808.0L && v < 9223372036854775808.0L))
        throw orv::platform::ERangeError(orv::script::rangeErrorText());
    const qint64 i = qint64(v);
    return i >= INT32_MIN && i <= INT32_MAX ? Value(int(i)) : Value::fromInt64(i);
}

// A floating result; an invalid operation or an overflow is an error, not a value.
Value checkedFloat(long double result)
{
    if (std::isnan(result))
        throw orv::platform::Exception(QStringLiteral("Invalid floating point operation"));
    if (std::isinf(result))
        throw orv::platform::Exception(QStringLiteral("Floating point overflow"));
    return Value(double(result));
}

bool readDateTime(const QString& text, orv::platform::TDateTime& out)
{
    const QString s = orv::platform::trimmed(text);
    orv::platform::TDateTime d = 0, t = 0;
    if (orv::platform::tryStrToDate(s, d, orv::platform::currentYear())) {
        out = d;
        return true;
    }
    const qsizetype blank = s.indexOf(u' ');
    if (blank > 0 && orv::platform::tryStrToDate(s.left(blank), d, orv::platform::currentYear())
        && orv::platform::tryStrToTime(orv::platform::trimmed(s.mid(blank + 1)), t)) {
        out = d < 0 ? d - t : d + t;
        return true;
    }
    if (orv::platform::tryStrToTime(s, t)) {
        out = t;
        return true;
    }
    return false;
}

QString lowerText(const QString& s)
{
    QString out = s;
    for (QChar& c : out)
        if (!c.isSurrogate())
            c = QChar(char16_t(QChar::toLower(char32_t(c.unicode()))));
    return out;
}

// The elements of an array with its last dimension's high bound changed.
Value resizedArray(const Value& array, int length)
{
    const int dims = array.dimCount();
    std::vector<orv::script::ArrayBounds> bounds;
    for (int d = 1; d <= dims; ++d)
        bounds.push_back({array.lowBound(d), array.highBound(d)});
    bounds.back().high = length - 1;
    Value out = Value::createArray(bounds, array.elementType());
    std::vector<int> index(static_cast<size_t>(dims));
    for (int d = 0; d < dims; ++d)
        index[size_t(d)] = bounds[size_t(d)].low;
    if (bounds.back().high < bounds.back().low)
        return out;
    for (;;) {
        if (index.back() <= array.highBound(dims))
            out.elementRef(index) = array.element(index);
        int d = 0;
        for (; d < dims; ++d) {
            if (++index[size_t(d)] <= bounds[size_t(d)].high)
                break;
            index[size_t(d)] = bounds[size_t(d)].low;
        }
        if (d == dims)
            break;
    }
    return out;
}

Value typedDefault(int type)
{
    switch (type) {
    case orv::script::varSmallint: return Value::fromSmallint(0);
    case orv::script::varInteger: return Value(0);
    case orv::script::varSingle: return Value::fromSingle(0);
    case orv::script::varDouble: return Value(0.0);
    case orv::script::varCurrency: return Value::fromCurrencyUnits(0);
    case orv::script::varDate: return Value::fromDate(0);
    case orv::script::varOleStr:
    case orv::script::varString:
    case orv::script::varUString: return Value::fromText(QString(), std::uint16_t(type));
    case orv::script::varBoolean: return Value(false);
    case orv::script::varShortInt: return Value::fromShortInt(0);
    case orv::script::varByte: return Value::fromByte(0);
    case orv::script::varWord: return Value::fromWord(0);
    case orv::script::varLongWord: return Value::fromLongWord(0);
    case orv::script::varInt64: return Value::fromInt64(0);
    default: return Value();
    }
}

orv::platform::FormatArg formatArg(const TfsVarRec& r)
{
    switch (r.VType) {
    case TfsVarRec::vtInteger: return orv::platform::FormatArg::fromInt(qint32(r.VInteger));
    case TfsVarRec::vtInt64: return orv::platform::FormatArg::fromInt64(r.VInteger);
    case TfsVarRec::vtExtended: return orv::platform::FormatArg::fromFloat(r.VExtended);
    case TfsVarRec::vtBoolean: return orv::platform::FormatArg::fromBool(r.VInteger != 0);
    case TfsVarRec::vtVariant:
        // The value inside, as the record its own type code makes.
        if (r.VVariant.type() == orv::script::varVariant)
            return orv::platform::FormatArg::fromInt(0);
        return formatArg(fsValueToVarRec(r.VVariant));
    default: return orv::platform::FormatArg::fromString(r.VString);
    }
}

QString formatValues(const QString& format, const Value& args)
{
    std::vector<TfsVarRec> recs;
    fsValueArrayToVarRecs(args, recs);
    std::vector<orv::platform::FormatArg> list;
    list.reserve(recs.size());
    for (const TfsVarRec& r : recs)
        list.push_back(formatArg(r));
    fsFreeVarRecs(recs);
    return orv::platform::formatString(format, list);
}

} // namespace

TfsSysFunctions::TfsSysFunctions(TfsScript* AScript) : TfsRTTIModule(AScript)
{
    TfsScript* s = AScript;
    auto fn = [s](const char* syntax, const QString& category, Call call) {
        return s->AddMethod(QString::fromLatin1(syntax),
                     TfsCallMethodNewEvent([call = std::move(call)](TfsObject, TfsClass, const QString&,
                                                                    TfsMethodHelper* caller) { return call(caller); }),
                     category);
    };

    // Type names.
    for (const char* name : {"Byte", "Word", "Integer"})
        s->AddType(QString::fromLatin1(name), fvtInt);
    s->AddType(QStringLiteral("Int64"), fvtInt64);
    for (const char* name : {"Longint", "Cardinal", "TColor", "TAlphaColor"})
        s->AddType(QString::fromLatin1(name), fvtInt);
    s->AddType(QStringLiteral("Boolean"), fvtBool);
    for (const char* name : {"Real", "Single", "Double", "Extended", "Currency", "TDate", "TTime", "TDateTime"})
        s->AddType(QString::fromLatin1(name), fvtFloat);
    s->AddType(QStringLiteral("Char"), fvtChar);
    s->AddType(QStringLiteral("String"), fvtString);
    s->AddType(QStringLiteral("Variant"), fvtVariant);
    s->AddType(QStringLiteral("Pointer"), fvtVariant);
    s->AddType(QStringLiteral("Array"), fvtArray);
    s->AddType(QStringLiteral("Constructor"), fvtConstructor);

    // Constants.
    s->AddConst(QStringLiteral("True"), QStringLiteral("Boolean"), Value(true));
    s->AddConst(QStringLiteral("False"), QStringLiteral("Boolean"), Value(false));
    s->AddConst(QStringLiteral("nil"), QStringLiteral("Variant"), Value(0));
    s->AddConst(QStringLiteral("Null"), QStringLiteral("Variant"), Value::null());

    // The helpers that index texts and arrays held in Variants.
    s->Add(QStringLiteral("__StringHelper"), new TfsStringHelper());
    s->Add(QStringLiteral("__ArrayHelper"), new TfsArrayHelper(QStringLiteral("__ArrayHelper"), -1, fvtVariant, QString()));

    s->AddVariable(QStringLiteral("ExceptionClassName"), QStringLiteral("String"), Value(QString()));
    s->AddVariable(QStringLiteral("ExceptionMessage"), QStringLiteral("String"), Value(QString()));

    // ---- conversions
    fn("function IntToStr(i: Integer): String", FCatConv,
       [](TfsMethodHelper* c) { return Value(QString::number(c->GetVParam(0).toInt64())); });
    fn("function FloatToStr(e: Extended): String", FCatConv,
       [](TfsMethodHelper* c) { return Value(orv::platform::floatToStr(c->GetVParam(0).toDouble())); });
    fn("function DateToStr(e: Extended): String", FCatConv,
       [](TfsMethodHelper* c) { return Value(orv::platform::dateToStr(c->GetVParam(0).toDate())); });
    fn("function TimeToStr(e: Extended): String", FCatConv,
       [](TfsMethodHelper* c) { return Value(orv::platform::timeToStr(c->GetVParam(0).toDate())); });
    fn("function DateTimeToStr(e: Extended): String", FCatConv,
       [](TfsMethodHelper* c) { return Value(orv::platform::dateTimeToStr(c->GetVParam(0).toDate())); });
    fn("function BoolToStr(B: Boolean): string;", FCatConv, [](TfsMethodHelper* c) {
        return Value(c->GetVParam(0).toBool() ? QStringLiteral("-1") : QStringLiteral("0"));
    });
    fn("function VarToStr(v: Variant): String", FCatConv, [](TfsMethodHelper* c) {
        const Value v = c->GetVParam(0);
        return Value(v.isNull() ? QString() : v.toString());
    });
    fn("function StrToInt(s: String): Integer", FCatConv, [](TfsMethodHelper* c) {
        const QString s = arg(c, 0);
        int v;
        if (!orv::platform::tryStrToInt(s, v))
            convertError("'%1' is not a valid integer value", s);
        return Value(v);
    });
    fn("function StrToInt64(s: String): Int64", FCatConv, [](TfsMethodHelper* c) {
        const QString s = arg(c, 0);
        qint64 v;
        if (!orv::platform::tryStrToInt64(s, v))
            convertError("'%1' is not a valid integer value", s);
        return Value::fromInt64(v);
    });
    fn("function StrToFloat(s: String): Extended", FCatConv, [](TfsMethodHelper* c) {
        const QString s = arg(c, 0);
        long double v;
        if (!orv::platform::tryStrToFloat(s, v))
            convertError("'%1' is not a valid floating point value", s);
        return Value(double(v));
    });
    fn("function StrToDate(s: String): Extended", FCatConv, [](TfsMethodHelper* c) {
        const QString s = arg(c, 0);
        orv::platform::TDateTime v;
        if (!orv::platform::tryStrToDate(orv::platform::trimmed(s), v, orv::platform::currentYear()))
            convertError("'%1' is not a valid date", s);
        return Value::fromDate(v);
    });
    fn("function StrToTime(s: String): Extended", FCatConv, [](TfsMethodHelper* c) {
        const QString s = arg(c, 0);
        orv::platform::TDateTime v;
        if (!orv::platform::tryStrToTime(orv::platform::trimmed(s), v))
            convertError("'%1' is not a valid time", s);
        return Value::fromDate(v);
    });
    fn("function StrToDateTime(s: String): Extended", FCatConv, [](TfsMethodHelper* c) {
        const QString s = arg(c, 0);
        orv::platform::TDateTime v;
        if (!readDateTime(s, v))
            convertError("'%1' is not a valid date and time", s);
        return Value::fromDate(v);
    });
    fn("function StrToBool(const S: string): Boolean;", FCatConv,
       [](TfsMethodHelper* c) { return Value(Value(arg(c, 0)).toBool()); });

    // ---- formats
    fn("function Format(Fmt: String; Args: array): String", FCatFormat,
       [](TfsMethodHelper* c) { return Value(formatValues(arg(c, 0), c->GetVParam(1))); });
    fn("function FormatFloat(Fmt: String; Value: Extended): String", FCatFormat, [](TfsMethodHelper* c) {
        return Value(orv::platform::formatFloatPicture(arg(c, 0), c->GetVParam(1).toDouble()));
    });
    fn("function FormatDateTime(Fmt: String; DateTime: TDateTime): String", FCatFormat, [](TfsMethodHelper* c) {
        return Value(orv::platform::formatDateTime(arg(c, 0), c->GetVParam(1).toDate()));
    });
    fn("function FormatMaskText(EditMask: string; Value: string): string", FCatFormat,
       [](TfsMethodHelper* c) { return Value(orv::platform::formatMaskText(arg(c, 0), arg(c, 1))); });

    // ---- dates
    fn("function EncodeDate(Year, Month, Day: Word): TDateTime", FCatDate, [](TfsMethodHelper* c) {
        orv::platform::TDateTime v;
        if (!orv::platform::tryEncodeDate(c->GetVParam(0).toInt(), c->GetVParam(1).toInt(), c->GetVParam(2).toInt(), v))
            throw orv::platform::EConvertError(QStringLiteral("Invalid argument to date encode"));
        return Value::fromDate(v);
    });
    fn("procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)", FCatDate, [](TfsMethodHelper* c) {
        int y, m, d;
        orv::platform::decodeDate(c->GetVParam(0).toDate(), y, m, d);
        c->SetVParam(1, Value::fromWord(std::uint16_t(y)));
        c->SetVParam(2, Value::fromWord(std::uint16_t(m)));
        c->SetVParam(3, Value::fromWord(std::uint16_t(d)));
        return Value::null();
    });
    fn("function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime", FCatDate, [](TfsMethodHelper* c) {
        orv::platform::TDateTime v;
        if (!orv::platform::tryEncodeTime(c->GetVParam(0).toInt(), c->GetVParam(1).toInt(), c->GetVParam(2).toInt(),
                                c->GetVParam(3).toInt(), v))
            throw orv::platform::EConvertError(QStringLiteral("Invalid argument to time encode"));
        return Value::fromDate(v);
    });
    fn("procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)", FCatDate, [](TfsMethodHelper* c) {
        int h, m, sec, ms;
        orv::platform::decodeTime(c->GetVParam(0).toDate(), h, m, sec, ms);
        c->SetVParam(1, Value::fromWord(std::uint16_t(h)));
        c->SetVParam(2, Value::fromWord(std::uint16_t(m)));
        c->SetVParam(3, Value::fromWord(std::uint16_t(sec)));
        c->SetVParam(4, Value::fromWord(std::uint16_t(ms)));
        return Value::null();
    });
    fn("function Date: TDateTime", FCatDate, [](TfsMethodHelper*) { return Value::fromDate(orv::platform::today()); });
    fn("function Time: TDateTime", FCatDate, [](TfsMethodHelper*) {
        const orv::platform::TDateTime now = orv::platform::nowDateTime();
        return Value::fromDate(now - std::trunc(now));
    });
    fn("function Now: TDateTime", FCatDate, [](TfsMethodHelper*) { return Value::fromDate(orv::platform::nowDateTime()); });
    fn("function DayOfWeek(aDate: TDateTime): Integer", FCatDate,
       [](TfsMethodHelper* c) { return Value(orv::platform::dayOfWeek(c->GetVParam(0).toDate())); });
    fn("function IsLeapYear(Year: Word): Boolean", FCatDate,
       [](TfsMethodHelper* c) { return Value(orv::platform::isLeapYear(c->GetVParam(0).toInt())); });
    fn("function DaysInMonth(nYear, nMonth: Integer): Integer", FCatDate, [](TfsMethodHelper* c) {
        return Value(orv::platform::daysInMonth(c->GetVParam(0).toInt(), c->GetVParam(1).toInt()));
    });

    // ---- texts
    if (TfsMethodHelper* length = fn("function Length(s: Variant): Integer", FCatStr, [](TfsMethodHelper* c) {
            const Value v = c->GetVParam(0);
            return lengthOf(&v);
        }))
        length->SetDirect(lengthOf, TfsMethodHelper::DirectForm::TextLength);
    fn("function Copy(s: String; from, count: Integer): String", FCatStr, [](TfsMethodHelper* c) {
        const QString s = arg(c, 0);
        qint64 from = c->GetVParam(1).toInt(), count = c->GetVParam(2).toInt();
        if (from < 1)
            from = 1;
        if (from > s.size() || count <= 0)
            return Value(QString());
        return Value(s.mid(from - 1, std::min<qint64>(count, s.size() - from + 1)));
    });
    fn("function Pos(substr, s: String): Integer", FCatStr, [](TfsMethodHelper* c) {
        const QString sub = arg(c, 0);
        if (sub.isEmpty())
            return Value(0);
        return Value(int(arg(c, 1).indexOf(sub) + 1));
    });
    auto deleteText = [](TfsMethodHelper* c) {
        QString s = arg(c, 0);
        const qint64 from = c->GetVParam(1).toInt(), count = c->GetVParam(2).toInt();
        if (from >= 1 && from <= s.size() && count > 0)
            s.remove(from - 1, std::min<qint64>(count, s.size() - from + 1));
        c->SetVParam(0, Value(s));
        return Value::null();
    };
    fn("procedure Delete(var s: String; from, count: Integer)", FCatStr, deleteText);
    fn("procedure DeleteStr(var s: String; from, count: Integer)", FCatStr, deleteText);
    fn("procedure Insert(s: String; var s2: String; pos: Integer)", FCatStr, [](TfsMethodHelper* c) {
        const QString s = arg(c, 0);
        QString s2 = arg(c, 1);
        const qint64 pos = std::clamp<qint64>(c->GetVParam(2).toInt(), 1, s2.size() + 1);
        orv::script::checkTextLength(s.size() + s2.size());
        s2.insert(pos - 1, s);
        c->SetVParam(1, Value(s2));
        return Value::null();
    });
    fn("function Uppercase(s: String): String", FCatStr,
       [](TfsMethodHelper* c) { return Value(orv::script::upperName(arg(c, 0))); });
    fn("function Lowercase(s: String): String", FCatStr, [](TfsMethodHelper* c) { return Value(lowerText(arg(c, 0))); });
    fn("function Trim(s: String): String", FCatStr, [](TfsMethodHelper* c) { return Value(orv::platform::trimmed(arg(c, 0))); });
    fn("function NameCase(s: String): String", FCatStr, [](TfsMethodHelper* c) {
        QString s = lowerText(arg(c, 0));
        for (qsizetype i = 0; i < s.size(); ++i)
            if ((i == 0 || s[i - 1] == u' ') && !s[i].isSurrogate())
                s[i] = QChar(char16_t(QChar::toUpper(char32_t(s[i].unicode()))));
        return Value(s);
    });
    fn("function CompareText(s, s1: String): Integer", FCatStr, [](TfsMethodHelper* c) {
        const int r = QString::localeAwareCompare(lowerText(arg(c, 0)), lowerText(arg(c, 1)));
        return Value(r < 0 ? -1 : (r > 0 ? 1 : 0));
    });
    fn("function Chr(i: Integer): Char", FCatStr,
       [](TfsMethodHelper* c) { return Value(QString(QChar(char16_t(c->GetVParam(0).toInt() & 0xFFFF)))); });
    fn("function Ord(ch: Char): Integer", FCatStr, [](TfsMethodHelper* c) {
        const QString s = arg(c, 0);
        return Value(s.isEmpty() ? 0 : int(s[0].unicode()));
    });
    fn("procedure SetLength(var S: Variant; L: Integer)", FCatStr, [](TfsMethodHelper* c) {
        const Value s = c->GetVParam(0);
        const int length = c->GetVParam(1).toInt();
        if (s.isText()) {
            QString text = s.text();
            if (length < 0)
                throw orv::platform::ERangeError(orv::script::rangeErrorText());
            orv::script::checkTextLength(length);
            if (length < text.size())
                text.truncate(length);
            else
                text += QString(length - text.size(), u' ');
            c->SetVParam(0, Value::fromText(text, s.type()));
        } else if (s.isArray()) {
            c->SetVParam(0, resizedArray(s, length));
        } else {
            throw orv::platform::EVariantError(QStringLiteral("Array type required"));
        }
        return Value::null();
    });

    // ---- mathematics
    fn("function Round(e: Extended): Integer", FCatMath,
       [](TfsMethodHelper* c) { return integerResult(std::nearbyintl(c->GetVParam(0).toDouble())); });
    fn("function Trunc(e: Extended): Integer", FCatMath,
       [](TfsMethodHelper* c) { return integerResult(std::truncl(c->GetVParam(0).toDouble())); });
    fn("function Int(e: Extended): Integer", FCatMath,
       [](TfsMethodHelper* c) { return Value(std::trunc(c->GetVParam(0).toDouble())); });
    fn("function Frac(X: Extended): Extended", FCatMath, [](TfsMethodHelper* c) {
        const double x = c->GetVParam(0).toDouble();
        return Value(x - std::trunc(x));
    });
    auto math = [&fn, this](const char* syntax, long double (*f)(long double)) {
        fn(syntax, FCatMath, [f](TfsMethodHelper* c) { return checkedFloat(f(c->GetVParam(0).toDouble())); });
    };
    math("function Sqrt(e: Extended): Extended", [](long double x) { return std::sqrt(x); });
    math("function Abs(e: Extended): Extended", [](long double x) { return std::fabs(x); });
    math("function Sin(e: Extended): Extended", [](long double x) { return std::sin(x); });
    math("function Cos(e: Extended): Extended", [](long double x) { return std::cos(x); });
    math("function ArcTan(X: Extended): Extended", [](long double x) { return std::atan(x); });
    math("function Tan(X: Extended): Extended", [](long double x) { return std::sin(x) / std::cos(x); });
    math("function Exp(X: Extended): Extended", [](long double x) { return std::exp(x); });
    math("function Ln(X: Extended): Extended", [](long double x) { return std::log(x); });
    fn("function Pi: Extended", FCatMath, [](TfsMethodHelper*) { return Value(double(3.14159265358979323846264338327950288L)); });

    // ---- other
    fn("procedure Inc(var i: Integer; incr: Integer = 1)", FCatOther, [](TfsMethodHelper* c) {
        c->SetVParam(0, orv::script::add(c->GetVParam(0), c->GetVParam(1)));
        return Value::null();
    });
    fn("procedure Dec(var i: Integer; decr: Integer = 1)", FCatOther, [](TfsMethodHelper* c) {
        c->SetVParam(0, orv::script::subtract(c->GetVParam(0), c->GetVParam(1)));
        return Value::null();
    });
    if (TfsMethodHelper* raise = fn("procedure RaiseException(Param: String)", FCatOther,
                                    [](TfsMethodHelper* c) -> Value { throw orv::platform::Exception(raiseText(c)); }))
        raise->SetRaiseText(raiseText);
    fn("procedure ShowMessage(Msg: Variant)", FCatOther, [](TfsMethodHelper* c) {
        const QString text = arg(c, 0);
        if (const orv::script::MessageHandler& show = orv::script::messageHandler(); show)
            show(text);
        return Value::null();
    });
    fn("procedure Randomize", FCatOther, [](TfsMethodHelper*) {
        orv::script::generator().seed(
            std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
        return Value::null();
    });
    fn("function Random: Extended", FCatOther, [](TfsMethodHelper*) {
        return Value(std::uniform_real_distribution<double>(0.0, 1.0)(orv::script::generator()));
    });
    fn("function ValidInt(cInt: String): Boolean", FCatOther, [](TfsMethodHelper* c) {
        int v;
        return Value(orv::platform::tryStrToInt(arg(c, 0), v));
    });
    fn("function ValidFloat(cFlt: String): Boolean", FCatOther, [](TfsMethodHelper* c) {
        long double v;
        return Value(orv::platform::tryStrToFloat(arg(c, 0), v));
    });
    fn("function ValidDate(cDate: String): Boolean", FCatOther, [](TfsMethodHelper* c) {
        const Value v = c->GetVParam(0);
        const QString text = v.type() == orv::script::varDate ? orv::platform::dateToStr(v.asDouble()) : v.toString();
        orv::platform::TDateTime d;
        return Value(orv::platform::tryStrToDate(orv::platform::trimmed(text), d, orv::platform::currentYear()));
    });
    fn("function ExtractFilePath(const FileName: string): string;", FCatOther, [](TfsMethodHelper* c) {
        const QString s = arg(c, 0);
        // "/" as well: the folders of this platform.
        qsizetype at = s.size() - 1;
        while (at >= 0 && s[at] != u'\\' && s[at] != u':' && s[at] != u'/')
            --at;
        return Value(s.left(at + 1));
    });
    fn("function VarArrayCreate(Bounds: Array; Typ: Integer): Variant", FCatOther, [](TfsMethodHelper* c) {
        const Value b = c->GetVParam(0);
        const int type = c->GetVParam(1).toInt();
        if (!b.isArray())
            throw orv::platform::EVariantError(QStringLiteral("Error creating variant or safe array"));
        const auto items = b.elements();
        std::vector<orv::script::ArrayBounds> bounds;
        for (size_t i = 0; i + 1 < items.size(); i += 2)
            bounds.push_back({items[i].toInt(), items[i + 1].toInt()});
        Value array = Value::createArray(bounds, std::uint16_t(type & orv::script::varTypeMask));
        const Value init = typedDefault(type & orv::script::varTypeMask);
        if (!init.isEmpty())
            for (Value& element : array.mutableElements())
                element = init;
        return array;
    });
    fn("function VarType(V: Variant): Integer", FCatOther,
       [](TfsMethodHelper* c) { return Value::fromWord(c->GetVParam(0).type()); });

    // Type codes.
    const struct {
        const char* name;
        int code;
    } codes[] = {
        {"varEmpty", 0},     {"varNull", 1},       {"varSmallint", 2},  {"varInteger", 3},  {"varSingle", 4},
        {"varDouble", 5},    {"varCurrency", 6},   {"varDate", 7},      {"varOleStr", 8},   {"varDispatch", 9},
        {"varError", 10},    {"varBoolean", 11},   {"varVariant", 12},  {"varUnknown", 13}, {"varShortInt", 16},
        {"varByte", 17},     {"varWord", 18},      {"varLongWord", 19}, {"varInt64", 20},   {"varStrArg", 72},
        {"varString", 256},  {"varAny", 257},      {"varTypeMask", 4095}, {"varArray", 8192}, {"varByRef", 16384},
    };
    for (const auto& code : codes)
        s->AddConst(QString::fromLatin1(code.name), QStringLiteral("Integer"), Value(code.code));
}

} // namespace orv::script
