#pragma once
// Script values: a 16-byte tagged value. Numbers, dates and Booleans live in the value
// itself; texts and arrays are shared, reference-counted and copied on write, so copying
// a value never copies characters or elements. Reference counts are not atomic: a value
// and its copies belong to one thread, like the script that holds them.
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace orv::script {

// Type codes, as scripts see them through VarType.
enum VarTypeCode : std::uint16_t {
    varEmpty = 0,
    varNull = 1,
    varSmallint = 2,
    varInteger = 3,
    varSingle = 4,
    varDouble = 5,
    varCurrency = 6,
    varDate = 7,
    varOleStr = 8,
    varDispatch = 9,
    varError = 10,
    varBoolean = 11,
    varVariant = 12,
    varUnknown = 13,
    varShortInt = 16,
    varByte = 17,
    varWord = 18,
    varLongWord = 19,
    varInt64 = 20,
    varUInt64 = 21,
    varStrArg = 72,
    varString = 256,   // 8-bit text
    varAny = 257,
    varUString = 258,  // the engine's own text
    varTypeMask = 0x0FFF,
    varArray = 0x2000,
    varByRef = 0x4000,
};

// Name of a type code in conversion messages ("Integer", "UnicodeString", "Array Variant").
QString varTypeName(std::uint16_t type);

struct ArrayBounds {
    int low;
    int high;
};

class Value {
public:
    Value() noexcept : m_type(varEmpty), m_heap(false) { m_u.i64 = 0; }
    Value(int v) noexcept : m_type(varInteger), m_heap(false) { m_u.u64 = low32(v); }
    Value(double v) noexcept : m_type(varDouble), m_heap(false) { m_u.f64 = v; }
    Value(bool v) noexcept : m_type(varBoolean), m_heap(false) { m_u.u64 = v ? 0xFFFFFFFFu : 0u; }
    Value(const QString& text) : Value(text, varUString) {}
    Value(QString&& text) : Value(std::move(text), varUString) {}
    Value(const char*) = delete; // say which text is meant: a QString

    Value(const Value& o) noexcept : m_type(o.m_type), m_heap(o.m_heap), m_u(o.m_u)
    {
        if (m_heap)
            ++*refCount();
    }
    Value(Value&& o) noexcept : m_type(o.m_type), m_heap(o.m_heap), m_u(o.m_u)
    {
        o.m_type = varEmpty;
        o.m_heap = false;
    }
    Value& operator=(const Value& o) noexcept
    {
        if (o.m_heap)
            ++*o.refCount();
        release();
        m_type = o.m_type;
        m_heap = o.m_heap;
        m_u = o.m_u;
        return *this;
    }
    Value& operator=(Value&& o) noexcept
    {
        if (this != &o) {
            release();
            m_type = o.m_type;
            m_heap = o.m_heap;
            m_u = o.m_u;
            o.m_type = varEmpty;
            o.m_heap = false;
        }
        return *this;
    }
    ~Value() { release(); }

    // Whether the value holds a shared text or array; clear() makes it empty.
    bool shared() const { return m_heap; }
    void clear() noexcept
    {
        release();
        m_type = varEmpty;
        m_heap = false;
    }
    // Exchanges two values as they are, without touching what they share.
    void swap(Value& o) noexcept
    {
        std::swap(m_type, o.m_type);
        std::swap(m_heap, o.m_heap);
        std::swap(m_u, o.m_u);
    }
    // Empties the values of a block that hold shared texts or arrays; the others keep
    // their bits.
    static void clearShared(Value* values, std::size_t n) noexcept
    {
        bool any = false;
        for (std::size_t i = 0; i < n; ++i)
            any |= values[i].m_heap;
        if (any) [[unlikely]]
            for (std::size_t i = 0; i < n; ++i)
                if (values[i].m_heap)
                    values[i].clear();
    }

    static Value null() { Value v; v.m_type = varNull; return v; }
    static Value fromInt64(std::int64_t v) { Value r; r.m_type = varInt64; r.m_u.i64 = v; return r; }
    static Value fromUInt64(std::uint64_t v) { Value r; r.m_type = varUInt64; r.m_u.u64 = v; return r; }
    static Value fromSmallint(std::int16_t v) { return small(varSmallint, v); }
    static Value fromShortInt(std::int8_t v) { return small(varShortInt, v); }
    static Value fromByte(std::uint8_t v) { return small(varByte, v); }
    static Value fromWord(std::uint16_t v) { return small(varWord, v); }
    static Value fromLongWord(std::uint32_t v) { Value r; r.m_type = varLongWord; r.m_u.u64 = v; return r; }
    static Value fromSingle(float v) { Value r; r.m_type = varSingle; r.m_u.f32 = v; return r; }
    static Value fromDate(double v) { Value r(v); r.m_type = varDate; return r; }
    // Currency in ten-thousandths.
    static Value fromCurrencyUnits(std::int64_t units) { Value r; r.m_type = varCurrency; r.m_u.i64 = units; return r; }
    static Value fromError(std::int32_t code) { Value r = Value(int(code)); r.m_type = varError; return r; }
    // Text with an explicit text code (varOleStr, varString or varUString).
    static Value fromText(const QString& text, std::uint16_t type) { return Value(text, type); }
    // An array of varVariant elements with one pair of bounds per dimension.
    static Value createArray(std::span<const ArrayBounds> bounds, std::uint16_t elementType = varVariant);
    static Value createArray(std::initializer_list<ArrayBounds> bounds, std::uint16_t elementType = varVariant)
    {
        return createArray(std::span<const ArrayBounds>(bounds.begin(), bounds.size()), elementType);
    }

    std::uint16_t type() const { return m_type; }
    bool isEmpty() const { return m_type == varEmpty; }
    bool isNull() const { return m_type == varNull; }
    bool isText() const { return m_type == varUString || m_type == varString || m_type == varOleStr; }
    bool isArray() const { return (m_type & varArray) != 0; }

    // Replaces the value by a number without making a temporary value.
    void setInteger(std::int32_t v) noexcept
    {
        release();
        m_type = varInteger;
        m_heap = false;
        m_u.u64 = low32(v);
    }
    void setInt64(std::int64_t v) noexcept
    {
        release();
        m_type = varInt64;
        m_heap = false;
        m_u.i64 = v;
    }
    void setDouble(double v) noexcept
    {
        release();
        m_type = varDouble;
        m_heap = false;
        m_u.f64 = v;
    }
    void setBoolean(bool v) noexcept
    {
        release();
        m_type = varBoolean;
        m_heap = false;
        m_u.u64 = v ? 0xFFFFFFFFu : 0u;
    }

    // Payloads read without conversion; only valid for the matching type.
    std::int32_t asInt() const { return m_u.i32; }
    std::int64_t asInt64() const { return m_u.i64; }
    double asDouble() const { return m_u.f64; }
    bool asBool() const { return m_u.i32 != 0; }
    inline const QString& text() const;

    // Conversions by the value rules; failures raise the platform's errors.
    std::int32_t toInt() const;
    std::int64_t toInt64() const;
    double toDouble() const;
    bool toBool() const;
    QString toString() const;
    std::int64_t toCurrencyUnits() const;
    double toDate() const;

    // Texts: the text to change in place (unshared first).
    QString& mutableText();
    // Appends to a text value in place when no other value shares it.
    void appendText(const QString& tail);

    // Arrays.
    int dimCount() const;
    int lowBound(int dim) const;   // dim counted from 1
    int highBound(int dim) const;
    std::uint16_t elementType() const;
    // Reads an element; an index outside the bounds raises the range error.
    const Value& element(std::span<const int> indexes) const;
    const Value& element(std::initializer_list<int> indexes) const
    {
        return element(std::span<const int>(indexes.begin(), indexes.size()));
    }
    // The element to change in place (the array is unshared first).
    Value& elementRef(std::span<const int> indexes);
    Value& elementRef(std::initializer_list<int> indexes)
    {
        return elementRef(std::span<const int>(indexes.begin(), indexes.size()));
    }
    // Every element in storage order (first index fastest).
    std::span<const Value> elements() const;
    // The same, to change in place (the array is unshared first).
    std::span<Value> mutableElements();
    // The element of a one-dimensional array at an index, nullptr when the value is no
    // such array or the index lies outside it (the general readers raise the error).
    inline const Value* at1(int index) const;
    // The same for a two-dimensional array.
    inline const Value* at2(int first, int second) const;
    inline Value* mutableAt1(int index);
    inline Value* mutableAt2(int first, int second);

private:
    struct StrRep;
    struct ArrRep;
    static const QString& emptyText();

    Value(const QString& text, std::uint16_t type);
    Value(QString&& text, std::uint16_t type);
    // A 32-bit payload in the low half, the high half clear, written as one 64-bit store:
    // a reader of the whole payload right after then gets it forwarded from that store.
    static constexpr std::uint64_t low32(std::int32_t v) { return std::uint64_t(std::uint32_t(v)); }
    static Value small(std::uint16_t type, int v) { Value r(v); r.m_type = type; return r; }
    int* refCount() const { return reinterpret_cast<int*>(m_u.ptr); }
    void release() noexcept
    {
        if (m_heap && --*refCount() == 0)
            destroy();
    }
    void destroy() noexcept;
    std::size_t elementIndex(std::span<const int> indexes) const;
    struct ArrRep* unsharedArray();

    std::uint16_t m_type;
    bool m_heap; // payload is a shared text or array
    union {
        std::int32_t i32;
        std::int64_t i64;
        std::uint64_t u64;
        float f32;
        double f64;
        void* ptr;
    } m_u;
};

static_assert(sizeof(Value) == 16);
static_assert(varEmpty == 0, "a value whose bits are all clear is empty");

struct Value::StrRep {
    int refs;
    QString text;
};

inline const QString& Value::text() const
{
    return isText() ? static_cast<const StrRep*>(m_u.ptr)->text : emptyText();
}

struct Value::ArrRep {
    int refs;
    std::uint16_t elementType;
    std::vector<ArrayBounds> bounds;
    std::vector<Value> items;
};

inline const Value* Value::at1(int index) const
{
    if (!isArray())
        return nullptr;
    const auto* rep = static_cast<const ArrRep*>(m_u.ptr);
    if (rep->bounds.size() != 1)
        return nullptr;
    const std::size_t offset = std::size_t(unsigned(index - rep->bounds[0].low));
    return offset < rep->items.size() && index >= rep->bounds[0].low ? &rep->items[offset] : nullptr;
}

inline const Value* Value::at2(int first, int second) const
{
    if (!isArray())
        return nullptr;
    const auto* rep = static_cast<const ArrRep*>(m_u.ptr);
    if (rep->bounds.size() != 2)
        return nullptr;
    const ArrayBounds& a = rep->bounds[0];
    const ArrayBounds& b = rep->bounds[1];
    if (first < a.low || first > a.high || second < b.low || second > b.high)
        return nullptr;
    const std::size_t offset = std::size_t(first - a.low)
                               + std::size_t(second - b.low) * std::size_t(std::int64_t(a.high) - a.low + 1);
    return offset < rep->items.size() ? &rep->items[offset] : nullptr;
}

inline Value* Value::mutableAt1(int index)
{
    if (!isArray() || static_cast<const ArrRep*>(m_u.ptr)->refs > 1)
        return nullptr;
    return const_cast<Value*>(at1(index));
}

inline Value* Value::mutableAt2(int first, int second)
{
    if (!isArray() || static_cast<const ArrRep*>(m_u.ptr)->refs > 1)
        return nullptr;
    return const_cast<Value*>(at2(first, second));
}

// Binary operations with their value classes, overflow to floating values and errors.
enum class BinaryOp { Add, Subtract, Multiply, Divide, IntDivide, Modulo, Shl, Shr, And, Or, Xor };
enum class CompareOp { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

Value binaryOp(BinaryOp op, const Value& a, const Value& b);
Value negate(const Value& v);
Value logicalNot(const Value& v);
bool compare(CompareOp op, const Value& a, const Value& b);

// The usual cases on Integers without leaving the caller.
inline Value add(const Value& a, const Value& b)
{
    std::int32_t r;
    if (a.type() == varInteger && b.type() == varInteger && !__builtin_add_overflow(a.asInt(), b.asInt(), &r))
        return Value(r);
    return binaryOp(BinaryOp::Add, a, b);
}
inline Value subtract(const Value& a, const Value& b)
{
    std::int32_t r;
    if (a.type() == varInteger && b.type() == varInteger && !__builtin_sub_overflow(a.asInt(), b.asInt(), &r))
        return Value(r);
    return binaryOp(BinaryOp::Subtract, a, b);
}
inline Value multiply(const Value& a, const Value& b)
{
    std::int32_t r;
    if (a.type() == varInteger && b.type() == varInteger && !__builtin_mul_overflow(a.asInt(), b.asInt(), &r))
        return Value(r);
    return binaryOp(BinaryOp::Multiply, a, b);
}
inline Value intDivide(const Value& a, const Value& b)
{
    if (a.type() == varInteger && b.type() == varInteger && b.asInt() > 0)
        return Value(a.asInt() / b.asInt());
    return binaryOp(BinaryOp::IntDivide, a, b);
}
inline Value modulo(const Value& a, const Value& b)
{
    if (a.type() == varInteger && b.type() == varInteger && b.asInt() > 0)
        return Value(a.asInt() % b.asInt());
    return binaryOp(BinaryOp::Modulo, a, b);
}
inline bool lessThan(const Value& a, const Value& b)
{
    if (a.type() == varInteger && b.type() == varInteger)
        return a.asInt() < b.asInt();
    return compare(CompareOp::Less, a, b);
}
inline bool equals(const Value& a, const Value& b)
{
    if (a.type() == varInteger && b.type() == varInteger)
        return a.asInt() == b.asInt();
    return compare(CompareOp::Equal, a, b);
}

// Two numbers of which at least one is floating and the other an Integer or floating:
// the operation runs on doubles, as the general rules would run it.
inline bool floatPair(const Value& a, const Value& b, double& x, double& y)
{
    const std::uint16_t ta = a.type(), tb = b.type();
    if (ta == varDouble) {
        if (tb == varDouble)
            y = b.asDouble();
        else if (tb == varInteger)
            y = double(b.asInt());
        else
            return false;
        x = a.asDouble();
        return true;
    }
    if (ta == varInteger && tb == varDouble) {
        x = double(a.asInt());
        y = b.asDouble();
        return true;
    }
    return false;
}

// Adds `b` to `target` in place: a text target that no other value shares grows where
// it is, so building a text piece by piece does not copy it each time.
void addInPlace(Value& target, const Value& b);

// Joins two values as texts, each converted by the value rules and Null giving no text
// (the text operator of Basic). A text on the left held in `scratch` grows where it is.
Value joinTexts(const Value& a, const Value& b, Value& scratch);

// The platform's error texts for values.
QString invalidVariantOperationText();   // "Invalid variant operation"
QString variantOverflowText();           // "Variant overflow"
QString divisionByZeroText();            // "Division by zero"
QString floatDivisionByZeroText();       // "Floating point division by zero"
QString rangeErrorText();                // "Range check error"
// Texts and arrays scripts build stay within these sizes: asking for more gives the
// script EOutOfMemory "Out of memory", which it can catch, before any memory is taken.
constexpr qint64 kMaxTextLength = qint64(1) << 28;
constexpr qint64 kMaxArrayElements = qint64(1) << 27;
[[noreturn]] void outOfMemory();
inline void checkTextLength(qint64 length)
{
    if (length > kMaxTextLength) [[unlikely]]
        outOfMemory();
}
QString conversionErrorText(std::uint16_t from, const QString& toName);

} // namespace orv::script
