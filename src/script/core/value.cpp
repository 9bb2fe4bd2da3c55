#include "script/core/value.h"

#include <cfenv>
#include <cmath>
#include <limits>
#include <type_traits>

#include "platform/core/exceptions.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::script {
using namespace orv::platform;
} // namespace orv::script

namespace orv::script {

// ---------------------------------------------------------------------------------------
// Shared payloads


namespace {

enum class VClass { Empty, Null, Int, Float, Curr, Text, Bool, Date, I64, U64, Error };

VClass classOf(std::uint16_t type)
{
    switch (type) {
    case varEmpty: return VClass::Empty;
    case varNull: return VClass::Null;
    case varSmallint: case varInteger: case varShortInt: case varByte: return VClass::Int;
    case varSingle: case varDouble: return VClass::Float;
    case varCurrency: return VClass::Curr;
    case varOleStr: case varString: case varUString: return VClass::Text;
    case varBoolean: return VClass::Bool;
    case varDate: return VClass::Date;
    case varWord: case varLongWord: case varInt64: return VClass::I64;
    case varUInt64: return VClass::U64;
    default: return VClass::Error; // arrays, references, interfaces, error codes
    }
}

// The class an operation on two values runs in (the table is symmetric).
VClass resultClass(VClass a, VClass b)
{
    using C = VClass;
    if (a == C::Error || b == C::Error)
        throw EVariantError(invalidVariantOperationText());
    if (a == C::U64 || b == C::U64) {
        // Unsigned 64-bit behaves as 64-bit, wins over 64-bit and Boolean, yields to floating.
        switch (a == C::U64 ? b : a) {
        case C::Null: return C::Null;
        case C::Float: case C::Text: return C::Float;
        case C::Curr: return C::Curr;
        case C::Date: return C::Date;
        default: return C::U64;
        }
    }
    static constexpr C E = C::Empty, N = C::Null, I = C::Int, F = C::Float, Y = C::Curr, T = C::Text,
                       B = C::Bool, D = C::Date, L = C::I64;
    static constexpr C table[9][9] = {
        //        E  N  I  F  Y  T  B  D  L
        /* E */ {E, N, I, F, Y, T, B, D, L},
        /* N */ {N, N, N, N, N, N, N, N, N},
        /* I */ {I, N, I, F, Y, F, I, D, L},
        /* F */ {F, N, F, F, Y, F, F, D, F},
        /* Y */ {Y, N, Y, Y, Y, Y, Y, D, Y},
        /* T */ {T, N, F, F, Y, T, B, D, F},
        /* B */ {B, N, I, F, Y, B, B, D, L},
        /* D */ {D, N, D, D, D, D, D, D, D},
        /* L */ {L, N, L, F, Y, F, L, D, L},
    };
    return table[int(a)][int(b)];
}

[[noreturn]] void conversionError(std::uint16_t from, const char* to)
{
    throw EVariantError(conversionErrorText(from, QString::fromLatin1(to)));
}

// Round half to even, as every conversion of a floating value to an integer does.
long double roundEven(long double v)
{
    return std::nearbyintl(v);
}

std::int64_t roundToInt64(long double v)
{
    const long double r = roundEven(v);
    if (!(r >= -9223372036854775808.0L && r < 9223372036854775808.0L))
        throw ERangeError(rangeErrorText());
    return std::int64_t(r);
}

std::int32_t checkedInt32(std::int64_t v)
{
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw ERangeError(rangeErrorText());
    return std::int32_t(v);
}

bool isTrueText(const QString& s) { return s.compare(u"True", Qt::CaseInsensitive) == 0; }
bool isFalseText(const QString& s) { return s.compare(u"False", Qt::CaseInsensitive) == 0; }

// Optional sign and decimal digits, nothing else.
bool readPlainInteger(const QString& s, std::int64_t& out)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        negative = s[i++] == u'-';
    if (i == s.size())
        return false;
    std::uint64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < u'0' || s[i] > u'9')
            return false;
        if (__builtin_mul_overflow(v, 10u, &v) || __builtin_add_overflow(v, std::uint64_t(s[i].unicode() - u'0'), &v))
            return false;
    }
    if (negative ? v > std::uint64_t(1) << 63 : v > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
        return false;
    out = negative ? std::int64_t(0 - v) : std::int64_t(v);
    return true;
}

// A text taken as an integer: as a number under the process format (rounded), as a plain
// decimal integer, or as a Boolean text (1 or 0).
std::int64_t textToInt64(const Value& v)
{
    const QString& s = v.text();
    long double d;
    if (tryStrToFloat(s, d))
        return roundToInt64(d);
    std::int64_t i;
    if (readPlainInteger(s, i))
        return i;
    if (isTrueText(s))
        return 1;
    if (isFalseText(s))
        return 0;
    conversionError(v.type(), "Boolean");
}

// The integer payload of the integer and 64-bit codes.
std::int64_t integerPayload(const Value& v)
{
    switch (v.type()) {
    case varLongWord: case varInt64: case varUInt64: return v.asInt64();
    default: return v.asInt();
    }
}

std::uint64_t toUInt64(const Value& v)
{
    if (v.type() == varUInt64)
        return std::uint64_t(v.asInt64());
    const std::int64_t i = v.toInt64();
    if (i < 0)
        throw ERangeError(rangeErrorText());
    return std::uint64_t(i);
}

bool textToDate(const QString& s, double& out)
{
    TDateTime d = 0, t = 0;
    const QString text = trimmed(s);
    if (tryStrToDate(text, d, currentYear())) {
        out = d;
        return true;
    }
    if (tryStrToTime(text, t)) {
        out = t;
        return true;
    }
    const qsizetype blank = text.indexOf(u' ');
    if (blank > 0 && tryStrToDate(text.left(blank), d, currentYear()) && tryStrToTime(text.mid(blank + 1), t)) {
        out = d < 0 ? d - t : d + t;
        return true;
    }
    return tryStrToFloat(text, out);
}

Value floatResult(long double v) { return Value(double(v)); }

[[noreturn]] void divisionByZero() { throw EDivByZero(divisionByZeroText()); }
[[noreturn]] void floatDivisionByZero() { throw EZeroDivide(floatDivisionByZeroText()); }

Value floatDivide(double x, double y)
{
    if (y == 0)
        floatDivisionByZero();
    return Value(x / y);
}

template<typename T>
Value integerValue(T v)
{
    if constexpr (sizeof(T) == 4)
        return Value(std::int32_t(v));
    else
        return Value::fromInt64(v);
}

// The integer and 64-bit classes: a result that leaves the range is computed again as
// a floating value.
template<typename T>
Value integerOp(BinaryOp op, T x, T y)
{
    using U = std::make_unsigned_t<T>;
    constexpr T shiftMask = sizeof(T) * 8 - 1;
    T r;
    switch (op) {
    case BinaryOp::Add:
        return __builtin_add_overflow(x, y, &r) ? floatResult((long double)x + y) : integerValue(r);
    case BinaryOp::Subtract:
        return __builtin_sub_overflow(x, y, &r) ? floatResult((long double)x - y) : integerValue(r);
    case BinaryOp::Multiply:
        return __builtin_mul_overflow(x, y, &r) ? floatResult((long double)x * y) : integerValue(r);
    case BinaryOp::Divide:
        return floatDivide(double(x), double(y));
    case BinaryOp::IntDivide:
        if (y == 0)
            divisionByZero();
        if (y == -1) // the one quotient that can leave the range
            return x == std::numeric_limits<T>::min() ? floatResult(-(long double)x) : integerValue(T(-x));
        return integerValue(T(x / y));
    case BinaryOp::Modulo:
        if (y == 0)
            divisionByZero();
        return integerValue(y == -1 ? T(0) : T(x % y));
    case BinaryOp::Shl: return integerValue(T(U(x) << (y & shiftMask)));
    case BinaryOp::Shr: return integerValue(T(U(x) >> (y & shiftMask)));
    case BinaryOp::And: return integerValue(T(x & y));
    case BinaryOp::Or: return integerValue(T(x | y));
    case BinaryOp::Xor: return integerValue(T(x ^ y));
    }
    return Value();
}

Value intOp(BinaryOp op, std::int32_t x, std::int32_t y)
{
    return integerOp(op, x, y);
}

Value int64Op(BinaryOp op, std::int64_t x, std::int64_t y)
{
    return integerOp(op, x, y);
}

Value uint64Op(BinaryOp op, std::uint64_t x, std::uint64_t y)
{
    std::uint64_t r;
    switch (op) {
    case BinaryOp::Add:
        return __builtin_add_overflow(x, y, &r) ? floatResult((long double)x + y) : Value::fromUInt64(r);
    case BinaryOp::Subtract:
        return __builtin_sub_overflow(x, y, &r) ? floatResult((long double)x - (long double)y) : Value::fromUInt64(r);
    case BinaryOp::Multiply:
        return __builtin_mul_overflow(x, y, &r) ? floatResult((long double)x * y) : Value::fromUInt64(r);
    case BinaryOp::Divide:
        return floatDivide(double(x), double(y));
    case BinaryOp::IntDivide:
        if (y == 0)
            divisionByZero();
        return Value::fromUInt64(x / y);
    case BinaryOp::Modulo:
        if (y == 0)
            divisionByZero();
        return Value::fromUInt64(x % y);
    case BinaryOp::Shl: return Value::fromUInt64(x << (y & 63));
    case BinaryOp::Shr: return Value::fromUInt64(x >> (y & 63));
    case BinaryOp::And: return Value::fromUInt64(x & y);
    case BinaryOp::Or: return Value::fromUInt64(x | y);
    case BinaryOp::Xor: return Value::fromUInt64(x ^ y);
    }
    return Value();
}

bool isIntegerOp(BinaryOp op)
{
    return op == BinaryOp::IntDivide || op == BinaryOp::Modulo || op == BinaryOp::Shl || op == BinaryOp::Shr
           || op == BinaryOp::And || op == BinaryOp::Or || op == BinaryOp::Xor;
}

Value floatOp(BinaryOp op, const Value& a, const Value& b)
{
    if (isIntegerOp(op))
        return intOp(op, a.toInt(), b.toInt());
    const double x = a.toDouble(), y = b.toDouble();
    switch (op) {
    case BinaryOp::Add: return Value(x + y);
    case BinaryOp::Subtract: return Value(x - y);
    case BinaryOp::Multiply: return Value(x * y);
    default: return floatDivide(x, y);
    }
}

Value currencyOp(BinaryOp op, const Value& a, const Value& b)
{
    if (isIntegerOp(op))
        return int64Op(op, a.toInt64(), b.toInt64());
    const std::int64_t x = a.toCurrencyUnits(), y = b.toCurrencyUnits();
    std::int64_t r = 0;
    bool overflow = false;
    switch (op) {
    case BinaryOp::Add: overflow = __builtin_add_overflow(x, y, &r); break;
    case BinaryOp::Subtract: overflow = __builtin_sub_overflow(x, y, &r); break;
    case BinaryOp::Multiply:
    case BinaryOp::Divide: {
        if (op == BinaryOp::Divide && y == 0)
            floatDivisionByZero();
        const long double v = op == BinaryOp::Multiply ? (long double)x * y / 10000 : (long double)x * 10000 / y;
        const long double rounded = roundEven(v);
        overflow = !(rounded >= -9223372036854775808.0L && rounded < 9223372036854775808.0L);
        if (!overflow)
            r = std::int64_t(rounded);
        break;
    }
    default: break;
    }
    if (overflow)
        throw EVariantError(variantOverflowText());
    return Value::fromCurrencyUnits(r);
}

Value dateOp(BinaryOp op, const Value& a, const Value& b)
{
    if (isIntegerOp(op))
        return intOp(op, a.toInt(), b.toInt());
    const double x = a.toDate(), y = b.toDate();
    switch (op) {
    case BinaryOp::Add: return Value::fromDate(x + y);
    case BinaryOp::Subtract: return Value::fromDate(x - y);
    case BinaryOp::Multiply: return Value::fromDate(x * y);
    default:
        if (y == 0)
            floatDivisionByZero();
        return Value::fromDate(x / y);
    }
}

Value concatenate(const Value& a, const Value& b)
{
    const std::uint16_t type = a.type() == b.type() && a.isText() ? a.type() : std::uint16_t(varUString);
    QString left = a.toString();
    const QString right = b.toString();
    checkTextLength(left.size() + right.size());
    return Value::fromText(std::move(left) + right, type);
}

template<typename T>
int order(T x, T y)
{
    return x < y ? -1 : (y < x ? 1 : 0);
}

} // namespace

// ---------------------------------------------------------------------------------------
// Texts of the errors

QString invalidVariantOperationText() { return QStringLiteral("Invalid variant operation"); }
QString variantOverflowText() { return QStringLiteral("Variant overflow"); }
QString divisionByZeroText() { return QStringLiteral("Division by zero"); }
QString floatDivisionByZeroText() { return QStringLiteral("Floating point division by zero"); }
QString rangeErrorText() { return QStringLiteral("Range check error"); }

void outOfMemory() { throw EOutOfMemory(QStringLiteral("Out of memory")); }

QString conversionErrorText(std::uint16_t from, const QString& toName)
{
    return QStringLiteral("Could not convert variant of type (%1) into type (%2)").arg(varTypeName(from), toName);
}

QString varTypeName(std::uint16_t type)
{
    QString name;
    switch (type & varTypeMask) {
    case varEmpty: name = QStringLiteral("Empty"); break;
    case varNull: name = QStringLiteral("Null"); break;
    case varSmallint: name = QStringLiteral("Smallint"); break;
    case varInteger: name = QStringLiteral("Integer"); break;
    case varSingle: name = QStringLiteral("Single"); break;
    case varDouble: name = QStringLiteral("Double"); break;
    case varCurrency: name = QStringLiteral("Currency"); break;
    case varDate: name = QStringLiteral("Date"); break;
    case varOleStr: name = QStringLiteral("OleStr"); break;
    case varDispatch: name = QStringLiteral("Dispatch"); break;
    case varError: name = QStringLiteral("Error"); break;
    case varBoolean: name = QStringLiteral("Boolean"); break;
    case varVariant: name = QStringLiteral("Variant"); break;
    case varUnknown: name = QStringLiteral("Unknown"); break;
    case varShortInt: name = QStringLiteral("ShortInt"); break;
    case varByte: name = QStringLiteral("Byte"); break;
    case varWord: name = QStringLiteral("Word"); break;
    case varLongWord: name = QStringLiteral("LongWord"); break;
    case varInt64: name = QStringLiteral("Int64"); break;
    case varUInt64: name = QStringLiteral("UInt64"); break;
    case varString: name = QStringLiteral("String"); break;
    case varUString: name = QStringLiteral("UnicodeString"); break;
    default: name = QStringLiteral("$%1").arg(type & varTypeMask, 4, 16, QChar(u'0')).toUpper();
    }
    if (type & varArray)
        name = QStringLiteral("Array ") + name;
    if (type & varByRef)
        name = QStringLiteral("ByRef ") + name;
    return name;
}

// ---------------------------------------------------------------------------------------
// Value

Value::Value(const QString& text, std::uint16_t type) : m_type(type), m_heap(true)
{
    m_u.ptr = new StrRep{1, text};
}

Value::Value(QString&& text, std::uint16_t type) : m_type(type), m_heap(true)
{
    m_u.ptr = new StrRep{1, std::move(text)};
}

void Value::destroy() noexcept
{
    if (isArray())
        delete static_cast<ArrRep*>(m_u.ptr);
    else
        delete static_cast<StrRep*>(m_u.ptr);
}

const QString& Value::emptyText()
{
    static const QString empty;
    return empty;
}

QString& Value::mutableText()
{
    if (!isText())
        *this = Value(toString());
    auto* rep = static_cast<StrRep*>(m_u.ptr);
    if (rep->refs > 1) {
        --rep->refs;
        rep = new StrRep{1, rep->text};
        m_u.ptr = rep;
    }
    return rep->text;
}

void Value::appendText(const QString& tail)
{
    QString& text = mutableText();
    checkTextLength(text.size() + tail.size());
    text.append(tail);
}

std::int32_t Value::toInt() const
{
    switch (classOf(m_type)) {
    case VClass::Empty: return 0;
    case VClass::Int: return m_u.i32;
    case VClass::I64: return checkedInt32(integerPayload(*this));
    case VClass::U64:
        if (m_u.u64 > std::uint64_t(std::numeric_limits<std::int32_t>::max()))
            throw ERangeError(rangeErrorText());
        return std::int32_t(m_u.u64);
    case VClass::Float: return checkedInt32(roundToInt64(m_type == varSingle ? m_u.f32 : m_u.f64));
    case VClass::Date: return checkedInt32(roundToInt64(m_u.f64));
    case VClass::Curr: return checkedInt32(roundToInt64((long double)m_u.i64 / 10000));
    case VClass::Bool: return m_u.i32 ? -1 : 0;
    case VClass::Text: return checkedInt32(textToInt64(*this));
    default: conversionError(m_type, "Integer");
    }
}

std::int64_t Value::toInt64() const
{
    switch (classOf(m_type)) {
    case VClass::Empty: return 0;
    case VClass::Int: return m_u.i32;
    case VClass::I64: return integerPayload(*this);
    case VClass::U64:
        if (m_u.u64 > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
            throw ERangeError(rangeErrorText());
        return std::int64_t(m_u.u64);
    case VClass::Float: return roundToInt64(m_type == varSingle ? m_u.f32 : m_u.f64);
    case VClass::Date: return roundToInt64(m_u.f64);
    case VClass::Curr: return roundToInt64((long double)m_u.i64 / 10000);
    case VClass::Bool: return m_u.i32 ? -1 : 0;
    case VClass::Text: return textToInt64(*this);
    default: conversionError(m_type, "Int64");
    }
}

double Value::toDouble() const
{
    switch (classOf(m_type)) {
    case VClass::Empty: return 0;
    case VClass::Int: return m_u.i32;
    case VClass::I64: return double(integerPayload(*this));
    case VClass::U64: return double(m_u.u64);
    case VClass::Float: return m_type == varSingle ? m_u.f32 : m_u.f64;
    case VClass::Date: return m_u.f64;
    case VClass::Curr: return double((long double)m_u.i64 / 10000);
    case VClass::Bool: return m_u.i32 ? -1 : 0;
    case VClass::Text: {
        double d;
        if (tryStrToFloat(text(), d))
            return d;
        conversionError(m_type, "Double");
    }
    default: conversionError(m_type, "Double");
    }
}

bool Value::toBool() const
{
    switch (classOf(m_type)) {
    case VClass::Empty: return false;
    case VClass::Int: case VClass::Bool: return m_u.i32 != 0;
    case VClass::I64: return integerPayload(*this) != 0;
    case VClass::U64: return m_u.u64 != 0;
    case VClass::Float: return (m_type == varSingle ? m_u.f32 : m_u.f64) != 0;
    case VClass::Date: return m_u.f64 != 0;
    case VClass::Curr: return m_u.i64 != 0;
    case VClass::Text: {
        const QString& s = text();
        if (isTrueText(s))
            return true;
        if (isFalseText(s))
            return false;
        double d;
        if (tryStrToFloat(s, d))
            return d != 0;
        conversionError(m_type, "Boolean");
    }
    default: conversionError(m_type, "Boolean");
    }
}

QString Value::toString() const
{
    switch (classOf(m_type)) {
    case VClass::Empty: return QString();
    case VClass::Int: return QString::number(m_u.i32);
    case VClass::I64: return QString::number(integerPayload(*this));
    case VClass::U64: return QString::number(m_u.u64);
    case VClass::Float: return floatToStr(m_type == varSingle ? (long double)m_u.f32 : (long double)m_u.f64);
    case VClass::Date: return dateTimeToStr(m_u.f64);
    case VClass::Curr: return floatToStr((long double)m_u.i64 / 10000);
    case VClass::Bool: return m_u.i32 ? QStringLiteral("True") : QStringLiteral("False");
    case VClass::Text: return text();
    default: conversionError(m_type, "UnicodeString");
    }
}

std::int64_t Value::toCurrencyUnits() const
{
    auto units = [](long double v) {
        const long double r = roundEven(v * 10000);
        if (!(r >= -9223372036854775808.0L && r < 9223372036854775808.0L))
            throw EVariantError(variantOverflowText());
        return std::int64_t(r);
    };
    switch (classOf(m_type)) {
    case VClass::Empty: return 0;
    case VClass::Curr: return m_u.i64;
    case VClass::Int: case VClass::Bool: return std::int64_t(m_u.i32) * 10000;
    case VClass::I64: return units(integerPayload(*this));
    case VClass::U64: return units(m_u.u64);
    case VClass::Float: case VClass::Date: return units(toDouble());
    case VClass::Text: {
        long double d;
        if (tryStrToFloat(text(), d))
            return units(d);
        conversionError(m_type, "Currency");
    }
    default: conversionError(m_type, "Currency");
    }
}

double Value::toDate() const
{
    switch (classOf(m_type)) {
    case VClass::Null: case VClass::Error: conversionError(m_type, "Date");
    case VClass::Text: {
        double d;
        if (textToDate(text(), d))
            return d;
        conversionError(m_type, "Date");
    }
    default: return toDouble();
    }
}

// ---------------------------------------------------------------------------------------
// Arrays

Value Value::createArray(std::span<const ArrayBounds> bounds, std::uint16_t elementType)
{
    std::size_t count = bounds.empty() ? 0 : 1;
    for (const ArrayBounds& b : bounds) {
        const std::int64_t length = std::int64_t(b.high) - b.low + 1;
        if (length < 0)
            throw EVariantError(QStringLiteral("Error creating variant or safe array"));
        if (length > 0 && count > std::size_t(kMaxArrayElements) / std::size_t(length))
            outOfMemory();
        count *= std::size_t(length);
    }
    if (bounds.empty())
        throw EVariantError(QStringLiteral("Error creating variant or safe array"));
    Value v;
    v.m_type = std::uint16_t(varArray | (elementType & varTypeMask));
    v.m_heap = true;
    v.m_u.ptr = new ArrRep{1, elementType, std::vector<ArrayBounds>(bounds.begin(), bounds.end()),
                           std::vector<Value>(count)};
    return v;
}

int Value::dimCount() const
{
    return isArray() ? int(static_cast<const ArrRep*>(m_u.ptr)->bounds.size()) : 0;
}

int Value::lowBound(int dim) const
{
    if (dim < 1 || dim > dimCount())
        throw ERangeError(rangeErrorText());
    return static_cast<const ArrRep*>(m_u.ptr)->bounds[size_t(dim - 1)].low;
}

int Value::highBound(int dim) const
{
    if (dim < 1 || dim > dimCount())
        throw ERangeError(rangeErrorText());
    return static_cast<const ArrRep*>(m_u.ptr)->bounds[size_t(dim - 1)].high;
}

std::uint16_t Value::elementType() const
{
    return isArray() ? static_cast<const ArrRep*>(m_u.ptr)->elementType : std::uint16_t(varEmpty);
}

std::size_t Value::elementIndex(std::span<const int> indexes) const
{
    if (!isArray())
        throw EVariantError(QStringLiteral("Array type required"));
    const auto* rep = static_cast<const ArrRep*>(m_u.ptr);
    if (indexes.size() != rep->bounds.size())
        throw ERangeError(rangeErrorText());
    std::size_t index = 0, stride = 1;
    for (std::size_t d = 0; d < indexes.size(); ++d) {
        const ArrayBounds& b = rep->bounds[d];
        if (indexes[d] < b.low || indexes[d] > b.high)
            throw ERangeError(rangeErrorText());
        index += std::size_t(indexes[d] - b.low) * stride;
        stride *= std::size_t(b.high - b.low + 1);
    }
    return index;
}

const Value& Value::element(std::span<const int> indexes) const
{
    const std::size_t index = elementIndex(indexes);
    return static_cast<const ArrRep*>(m_u.ptr)->items[index];
}

Value::ArrRep* Value::unsharedArray()
{
    auto* rep = static_cast<ArrRep*>(m_u.ptr);
    if (rep->refs > 1) {
        --rep->refs;
        rep = new ArrRep{1, rep->elementType, rep->bounds, rep->items};
        m_u.ptr = rep;
    }
    return rep;
}

Value& Value::elementRef(std::span<const int> indexes)
{
    const std::size_t index = elementIndex(indexes);
    return unsharedArray()->items[index];
}

std::span<Value> Value::mutableElements()
{
    if (!isArray())
        return {};
    auto& items = unsharedArray()->items;
    return {items.data(), items.size()};
}

std::span<const Value> Value::elements() const
{
    if (!isArray())
        return {};
    const auto& items = static_cast<const ArrRep*>(m_u.ptr)->items;
    return {items.data(), items.size()};
}

// ---------------------------------------------------------------------------------------
// Operations

Value binaryOp(BinaryOp op, const Value& a, const Value& b)
{
    switch (resultClass(classOf(a.type()), classOf(b.type()))) {
    case VClass::Null:
        return Value::null();
    case VClass::Empty:
        if (op == BinaryOp::Divide)
            floatDivisionByZero();
        if (op == BinaryOp::IntDivide || op == BinaryOp::Modulo)
            divisionByZero();
        return Value();
    case VClass::Int:
        return intOp(op, a.toInt(), b.toInt());
    case VClass::Float:
        return floatOp(op, a, b);
    case VClass::Text:
        if (op == BinaryOp::Add)
            return concatenate(a, b);
        return floatOp(op, a, b);
    case VClass::Bool:
        switch (op) {
        case BinaryOp::And: return Value(a.toBool() && b.toBool());
        case BinaryOp::Or: return Value(a.toBool() || b.toBool());
        case BinaryOp::Xor: return Value(a.toBool() != b.toBool());
        default: return floatOp(op, a, b);
        }
    case VClass::Curr:
        return currencyOp(op, a, b);
    case VClass::Date:
        return dateOp(op, a, b);
    case VClass::I64:
        return int64Op(op, a.toInt64(), b.toInt64());
    case VClass::U64:
        return uint64Op(op, toUInt64(a), toUInt64(b));
    case VClass::Error:
        break;
    }
    throw EVariantError(invalidVariantOperationText());
}

void addInPlace(Value& target, const Value& b)
{
    if (target.isText() && (b.isText() || b.isEmpty())) {
        if (b.isText() && b.type() != target.type()) {
            checkTextLength(target.text().size() + b.text().size());
            target = Value(target.text() + b.text());
            return;
        }
        if (!b.isEmpty())
            target.appendText(b.text());
        return;
    }
    target = add(target, b);
}

Value joinTexts(const Value& a, const Value& b, Value& scratch)
{
    Value r;
    if (a.isText())
        r = &a == &scratch ? std::move(scratch) : a;
    else
        r = Value(a.isNull() ? QString() : a.toString());
    if (!b.isNull())
        r.appendText(b.isText() ? b.text() : b.toString());
    return r;
}

Value negate(const Value& v)
{
    switch (classOf(v.type())) {
    case VClass::Empty: return Value();
    case VClass::Null: return Value::null();
    case VClass::Int:
    case VClass::Bool: {
        const std::int32_t x = v.toInt();
        return x == std::numeric_limits<std::int32_t>::min() ? Value::fromInt64(-std::int64_t(x)) : Value(-x);
    }
    case VClass::Float: case VClass::Text: return Value(-v.toDouble());
    case VClass::Date: return Value::fromDate(-v.asDouble());
    case VClass::Curr:
        if (v.asInt64() == std::numeric_limits<std::int64_t>::min())
            throw EVariantError(variantOverflowText());
        return Value::fromCurrencyUnits(-v.asInt64());
    case VClass::I64: {
        const std::int64_t x = v.toInt64();
        return x == std::numeric_limits<std::int64_t>::min() ? floatResult(-(long double)x) : Value::fromInt64(-x);
    }
    case VClass::U64: {
        const std::uint64_t x = std::uint64_t(v.asInt64());
        return x <= std::uint64_t(std::numeric_limits<std::int64_t>::max()) ? Value::fromInt64(-std::int64_t(x))
                                                                             : floatResult(-(long double)x);
    }
    case VClass::Error: break;
    }
    throw EVariantError(invalidVariantOperationText());
}

Value logicalNot(const Value& v)
{
    switch (classOf(v.type())) {
    case VClass::Null: return Value::null();
    case VClass::Bool: return Value(!v.asBool());
    case VClass::I64: return Value::fromInt64(~v.toInt64());
    case VClass::U64: return Value::fromUInt64(~std::uint64_t(v.asInt64()));
    case VClass::Error: throw EVariantError(invalidVariantOperationText());
    default: return Value(~v.toInt());
    }
}

bool compare(CompareOp op, const Value& a, const Value& b)
{
    const VClass ca = classOf(a.type()), cb = classOf(b.type());
    int rel = 0;
    if (ca == VClass::Null || cb == VClass::Null) {
        // Null equals Null and orders before every other value.
        rel = ca == cb ? 0 : (ca == VClass::Null ? -1 : 1);
    } else {
        switch (resultClass(ca, cb)) {
        case VClass::Int: rel = order(a.toInt(), b.toInt()); break;
        case VClass::Float: {
            const double x = a.toDouble(), y = b.toDouble();
            if (std::isnan(x) || std::isnan(y))
                return op == CompareOp::NotEqual;
            rel = order(x, y);
            break;
        }
        case VClass::Curr: rel = order(a.toCurrencyUnits(), b.toCurrencyUnits()); break;
        case VClass::Text: {
            const int c = QStringView(a.toString()).compare(QStringView(b.toString()));
            rel = c < 0 ? -1 : (c > 0 ? 1 : 0);
            break;
        }
        case VClass::Bool: rel = order(int(a.toBool()), int(b.toBool())); break;
        case VClass::Date: rel = order(a.toDate(), b.toDate()); break;
        case VClass::I64: rel = order(a.toInt64(), b.toInt64()); break;
        case VClass::U64: rel = order(toUInt64(a), toUInt64(b)); break;
        default: rel = 0; // both Empty
        }
    }
    switch (op) {
    case CompareOp::Equal: return rel == 0;
    case CompareOp::NotEqual: return rel != 0;
    case CompareOp::Less: return rel < 0;
    case CompareOp::LessOrEqual: return rel <= 0;
    case CompareOp::Greater: return rel > 0;
    case CompareOp::GreaterOrEqual: return rel >= 0;
    }
    return false;
}

} // namespace orv::script
