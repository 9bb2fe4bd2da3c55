#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>
#include <set>
#include <string>

#include "platform/core/exceptions.h"
#include "print.h"
#include "script/core/value.h"

using namespace orv::script;

namespace {

QString valueText(const char* s) { return QString::fromUtf8(s); }
Value S(const char* s) { return Value(valueText(s)); }
Value I64(std::int64_t v) { return Value::fromInt64(v); }
Value Cur(double v) { return Value::fromCurrencyUnits(std::int64_t(v * 10000)); }
const Value N = Value::null();
const Value E;
constexpr int MaxInt = std::numeric_limits<std::int32_t>::max();
constexpr int MinInt = std::numeric_limits<std::int32_t>::min();

const char* convError(const char* from, const char* to)
{
    static std::set<std::string> texts; // keeps every text alive for the tables
    return texts.insert("Could not convert variant of type (" + std::string(from) + ") into type (" + to + ")")
        .first->c_str();
}

// What an operation gave: its type and text, or the message of its error.
struct ValueOutcome {
    std::optional<std::uint16_t> type;
    QString text;
};

ValueOutcome run(const std::function<Value()>& f)
{
    try {
        const Value v = f();
        return {v.type(), v.isNull() ? valueText("Null") : v.toString()};
    } catch (const orv::platform::Exception& e) {
        return {std::nullopt, e.message()};
    }
}

QString errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const orv::platform::Exception& e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(Values, AreSixteenBytesAndCopyTextsAndArraysOnWrite)
{
    static_assert(sizeof(Value) == 16);
    Value a = S("abc");
    Value b = a;
    b.mutableText() += u'd';
    EXPECT_EQ(a.text(), valueText("abc"));
    EXPECT_EQ(b.text(), valueText("abcd"));

    Value arr = Value::createArray({{0, 2}});
    arr.elementRef({1}) = S("x");
    Value copy = arr;
    copy.elementRef({1}) = Value(5);
    EXPECT_EQ(arr.element({1}).text(), valueText("x"));
    EXPECT_EQ(copy.element({1}).asInt(), 5);

    Value moved = std::move(copy);
    EXPECT_TRUE(copy.isEmpty());
    EXPECT_EQ(moved.element({1}).asInt(), 5);
}

TEST(Values, BinaryOperations)
{
    const struct {
        BinaryOp op;
        Value a, b;
        std::optional<std::uint16_t> type; // nullopt: the operation fails with `text`
        const char* text;
    } cases[] = {
        {BinaryOp::IntDivide, Value(7), Value(2), varInteger, "3"},
        {BinaryOp::IntDivide, Value(-7), Value(2), varInteger, "-3"},
        {BinaryOp::Modulo, Value(-7), Value(2), varInteger, "-1"},
        {BinaryOp::Modulo, Value(7), Value(-2), varInteger, "1"},
        {BinaryOp::Divide, Value(7), Value(2), varDouble, "3,5"},
        {BinaryOp::Divide, Value(6), Value(3), varDouble, "2"},
        // Integer results that leave 32 bits are exact floating values.
        {BinaryOp::Add, Value(MaxInt), Value(1), varDouble, "2147483648"},
        {BinaryOp::Subtract, Value(MinInt), Value(1), varDouble, "-2147483649"},
        {BinaryOp::Multiply, Value(65536), Value(65536), varDouble, "4294967296"},
        {BinaryOp::IntDivide, Value(MinInt), Value(-1), varDouble, "2147483648"},
        {BinaryOp::Modulo, Value(MinInt), Value(-1), varInteger, "0"},
        // Texts: read as numbers next to numbers, joined next to texts.
        {BinaryOp::Add, S("3"), Value(4), varDouble, "7"},
        {BinaryOp::Add, S("abc"), Value(4), std::nullopt, convError("UnicodeString", "Double")},
        {BinaryOp::Add, S("a"), S("b"), varUString, "ab"},
        {BinaryOp::Add, S("a"), E, varUString, "a"},
        {BinaryOp::Multiply, S("2,5"), S("2"), varDouble, "5"},
        {BinaryOp::Modulo, S("x"), Value(2), std::nullopt, convError("UnicodeString", "Boolean")},
        {BinaryOp::And, S("True"), S("3"), varInteger, "1"},
        // Null and Empty.
        {BinaryOp::Add, N, Value(1), varNull, "Null"},
        {BinaryOp::Divide, N, Value(0), varNull, "Null"},
        {BinaryOp::Add, S("x"), N, varNull, "Null"},
        {BinaryOp::Add, E, E, varEmpty, ""},
        {BinaryOp::Add, E, Value(2), varInteger, "2"},
        {BinaryOp::Divide, E, E, std::nullopt, "Floating point division by zero"},
        {BinaryOp::IntDivide, E, E, std::nullopt, "Division by zero"},
        // Division by zero.
        {BinaryOp::IntDivide, Value(1), Value(0), std::nullopt, "Division by zero"},
        {BinaryOp::Modulo, Value(1), Value(0), std::nullopt, "Division by zero"},
        {BinaryOp::Divide, Value(1), Value(0), std::nullopt, "Floating point division by zero"},
        {BinaryOp::Divide, Value(0), Value(0), std::nullopt, "Floating point division by zero"},
        {BinaryOp::Divide, Value(1.5), Value(0.0), std::nullopt, "Floating point division by zero"},
        {BinaryOp::IntDivide, I64(5), Value(0), std::nullopt, "Division by zero"},
        // Shifts are logical on 32 bits; and, or, xor bitwise on integers.
        {BinaryOp::Shl, Value(1), Value(31), varInteger, "-2147483648"},
        {BinaryOp::Shr, Value(-1), Value(28), varInteger, "15"},
        {BinaryOp::Shl, Value(1), Value(33), varInteger, "2"},
        {BinaryOp::And, Value(12), Value(10), varInteger, "8"},
        {BinaryOp::Or, Value(12), Value(3), varInteger, "15"},
        {BinaryOp::Xor, Value(12), Value(10), varInteger, "6"},
        // Booleans: logical among themselves, -1 as numbers.
        {BinaryOp::And, Value(true), Value(false), varBoolean, "False"},
        {BinaryOp::Xor, Value(true), Value(true), varBoolean, "False"},
        {BinaryOp::Or, Value(true), Value(0), varInteger, "-1"},
        {BinaryOp::And, S("true"), Value(true), varBoolean, "True"},
        {BinaryOp::Add, Value(true), Value(true), varDouble, "-2"},
        {BinaryOp::IntDivide, Value(true), Value(true), varInteger, "1"},
        // Floating operands of integer operations are rounded, halves to even.
        {BinaryOp::IntDivide, Value(7.6), Value(2), varInteger, "4"},
        {BinaryOp::Modulo, Value(2.5), Value(3), varInteger, "2"},
        // 64-bit integers.
        {BinaryOp::Add, I64(std::int64_t(1) << 40), Value(1), varInt64, "1099511627777"},
        {BinaryOp::Add, I64(std::numeric_limits<std::int64_t>::max()), Value(1), varDouble, "9,22337203685478E18"},
        {BinaryOp::Multiply, I64(std::int64_t(1) << 40), Value(0.5), varDouble, "549755813888"},
        {BinaryOp::Add, Value::fromWord(1), Value::fromWord(2), varInt64, "3"},
        {BinaryOp::Add, Value::fromByte(200), Value::fromByte(100), varInteger, "300"},
        {BinaryOp::Add, Value::fromUInt64(std::numeric_limits<std::uint64_t>::max()), Value(1), varDouble,
         "1,84467440737096E19"},
        {BinaryOp::Subtract, Value::fromUInt64(5), Value(2), varUInt64, "3"},
        {BinaryOp::Subtract, Value::fromUInt64(1), Value(2), varDouble, "-1"},
        // Currency and dates keep their codes.
        {BinaryOp::Multiply, Cur(1.5), Value(2), varCurrency, "3"},
        {BinaryOp::Divide, Cur(1), Value(3), varCurrency, "0,3333"},
        {BinaryOp::Add, Cur(1.25), S("0,5"), varCurrency, "1,75"},
        {BinaryOp::Divide, Cur(1), Value(0), std::nullopt, "Floating point division by zero"},
        {BinaryOp::Add, Value::fromCurrencyUnits(std::numeric_limits<std::int64_t>::max()), Cur(1), std::nullopt,
         "Variant overflow"},
        {BinaryOp::Add, Value::fromDate(43831), Value(1), varDate, "02/01/2020"},
        {BinaryOp::Add, Value::fromDate(43831), Value(0.5), varDate, "01/01/2020 12:00:00"},
        // Values outside every class.
        {BinaryOp::Add, Value::createArray({{0, 1}}), Value(1), std::nullopt, "Invalid variant operation"},
        {BinaryOp::Add, Value::fromError(0), N, std::nullopt, "Invalid variant operation"},
    };
    for (const auto& c : cases) {
        const ValueOutcome o = run([&] { return binaryOp(c.op, c.a, c.b); });
        EXPECT_EQ(o.type, c.type) << c.text;
        EXPECT_EQ(o.text, valueText(c.text));
    }
    // The inline paths agree with the general one.
    EXPECT_EQ(add(Value(MaxInt), Value(1)).type(), varDouble);
    EXPECT_EQ(subtract(Value(3), Value(5)).asInt(), -2);
    EXPECT_EQ(multiply(Value(MinInt), Value(2)).type(), varDouble);
    EXPECT_EQ(intDivide(Value(-7), Value(2)).asInt(), -3);
    EXPECT_EQ(modulo(Value(-7), Value(2)).asInt(), -1);
    EXPECT_EQ(errorOf([] { modulo(Value(1), Value(0)); }), valueText("Division by zero"));
}

TEST(Values, Comparisons)
{
    using C = CompareOp;
    const struct {
        C op;
        Value a, b;
        bool result;
        const char* error;
    } cases[] = {
        {C::Equal, N, N, true, ""},
        {C::Less, N, Value(0), true, ""},
        {C::Greater, Value(0), N, true, ""},
        {C::Equal, N, Value(0), false, ""},
        {C::NotEqual, N, E, true, ""},
        {C::LessOrEqual, N, N, true, ""},
        {C::Less, N, N, false, ""},
        {C::Less, S("B"), S("a"), true, ""},     // code-unit order
        {C::Equal, S("a"), S("A"), false, ""},
        {C::Equal, Value(1), S("1"), true, ""},  // a text next to a number reads as a number
        {C::Equal, S("1,0"), Value(1), true, ""},
        {C::Equal, Value(1.5), S("1,5"), true, ""},
        {C::Less, Value(1), S("x"), false, convError("UnicodeString", "Double")},
        {C::Greater, Value(true), Value(false), true, ""},
        {C::Greater, Value(1), Value(true), true, ""}, // as integers True is -1
        {C::Equal, S("True"), Value(true), true, ""},
        {C::Equal, E, E, true, ""},
        {C::Equal, E, Value(0), true, ""},
        {C::Equal, E, S(""), true, ""},
        {C::Less, E, Value(1), true, ""},
        {C::Less, Value::fromDate(1), Value(2), true, ""},
        {C::GreaterOrEqual, Cur(2.5), Value(2.5), true, ""},
        {C::Less, I64(std::int64_t(1) << 40), Value(1.0e13), true, ""},
        {C::Less, Value(MaxInt), I64(std::int64_t(MaxInt) + 1), true, ""},
        {C::Equal, Value::createArray({{0, 0}}), Value(1), false, "Invalid variant operation"},
    };
    for (const auto& c : cases) {
        bool result = !c.result;
        const QString error = errorOf([&] { result = compare(c.op, c.a, c.b); });
        EXPECT_EQ(error, valueText(c.error));
        if (error.isEmpty()) {
            EXPECT_EQ(result, c.result) << int(c.op) << " " << c.a.type() << " " << c.b.type();
        }
    }
    EXPECT_TRUE(lessThan(Value(1), Value(2)));
    EXPECT_TRUE(equals(Value(2), Value(2.0)));
}

TEST(Values, ConversionsToNumbers)
{
    const struct {
        Value v;
        std::int32_t expected;
        const char* error;
    } toInt[] = {
        {Value(2.5), 2, ""},    {Value(3.5), 4, ""},    {Value(-2.5), -2, ""},   {Value(-3.5), -4, ""},
        {Value(true), -1, ""},  {Value(false), 0, ""},  {S("12"), 12, ""},       {S(" 7 "), 7, ""},
        {S("2,5"), 2, ""},      {S("3,5"), 4, ""},      {S("True"), 1, ""},      {S("false"), 0, ""},
        {E, 0, ""},             {Cur(2.5), 2, ""},      {Value::fromDate(1.5), 2, ""},
        {Value::fromWord(65535), 65535, ""},
        {I64(std::int64_t(1) << 40), 0, "Range check error"},
        {Value(3e9), 0, "Range check error"},
        {S("abc"), 0, convError("UnicodeString", "Boolean")},
        {S("1.5"), 0, convError("UnicodeString", "Boolean")},
        {N, 0, convError("Null", "Integer")},
    };
    for (const auto& c : toInt) {
        std::int32_t v = -12345;
        EXPECT_EQ(errorOf([&] { v = c.v.toInt(); }), valueText(c.error)) << c.v.type();
        if (!*c.error) {
            EXPECT_EQ(v, c.expected) << c.v.type();
        }
    }
    EXPECT_EQ(S("9007199254740993").toInt64(), 9007199254740993LL);
    EXPECT_EQ(Value(2.5e12).toInt64(), 2500000000000LL);

    const struct {
        Value v;
        double expected;
        const char* error;
    } toDouble[] = {
        {S("1,5"), 1.5, ""}, {Cur(1.5), 1.5, ""}, {Value(true), -1, ""}, {E, 0, ""},
        {Value::fromSingle(0.5f), 0.5, ""},
        {S("1.5"), 0, convError("UnicodeString", "Double")},
        {N, 0, convError("Null", "Double")},
    };
    for (const auto& c : toDouble) {
        double v = -1;
        EXPECT_EQ(errorOf([&] { v = c.v.toDouble(); }), valueText(c.error));
        if (!*c.error) {
            EXPECT_EQ(v, c.expected);
        }
    }
}

TEST(Values, ConversionsToTextAndBoolean)
{
    const struct {
        Value v;
        const char* text;
    } toText[] = {
        {Value(1.5), "1,5"},
        {Value(1e20), "1E20"},
        {Value(1.0 / 3), "0,333333333333333"},
        {Value(true), "True"},
        {Value(-7), "-7"},
        {I64(-9000000000LL), "-9000000000"},
        {Value::fromDate(43831), "01/01/2020"},
        {Value::fromDate(43831.5), "01/01/2020 12:00:00"},
        {Cur(1.5), "1,5"},
        {Value::fromSingle(0.5f), "0,5"},
        {E, ""},
        {Value::fromWord(65535), "65535"},
        {N, convError("Null", "UnicodeString")},
        {Value::createArray({{0, 0}}), convError("Array Variant", "UnicodeString")},
    };
    for (const auto& c : toText) {
        QString text;
        const QString error = errorOf([&] { text = c.v.toString(); });
        EXPECT_EQ(error.isEmpty() ? text : error, valueText(c.text));
    }

    const struct {
        Value v;
        bool expected;
        const char* error;
    } toBool[] = {
        {S("TRUE"), true, ""}, {S("false"), false, ""}, {S("0"), false, ""}, {S("2,5"), true, ""},
        {E, false, ""},        {Value(0.0), false, ""}, {Value(-1), true, ""},
        {S("x"), false, convError("UnicodeString", "Boolean")},
        {N, false, convError("Null", "Boolean")},
    };
    for (const auto& c : toBool) {
        bool v = !c.expected;
        EXPECT_EQ(errorOf([&] { v = c.v.toBool(); }), valueText(c.error));
        if (!*c.error) {
            EXPECT_EQ(v, c.expected);
        }
    }
}

TEST(Values, UnaryOperations)
{
    const struct {
        std::function<Value()> f;
        std::optional<std::uint16_t> type;
        const char* text;
    } cases[] = {
        {[] { return negate(Value(5)); }, varInteger, "-5"},
        {[] { return negate(Value(MinInt)); }, varInt64, "2147483648"},
        {[] { return negate(N); }, varNull, "Null"},
        {[] { return negate(S("2")); }, varDouble, "-2"},
        {[] { return negate(Cur(1.5)); }, varCurrency, "-1,5"},
        {[] { return negate(I64(std::numeric_limits<std::int64_t>::min())); }, varDouble, "9,22337203685478E18"},
        {[] { return logicalNot(Value(true)); }, varBoolean, "False"},
        {[] { return logicalNot(Value(5)); }, varInteger, "-6"},
        {[] { return logicalNot(N); }, varNull, "Null"},
        {[] { return logicalNot(S("1")); }, varInteger, "-2"},
        {[] { return negate(Value::createArray({{0, 0}})); }, std::nullopt, "Invalid variant operation"},
    };
    for (const auto& c : cases) {
        const ValueOutcome o = run(c.f);
        EXPECT_EQ(o.type, c.type) << c.text;
        EXPECT_EQ(o.text, valueText(c.text));
    }
}

TEST(Values, Arrays)
{
    Value a = Value::createArray({{1, 2}, {0, 1}});
    EXPECT_EQ(a.type(), varArray | varVariant);
    EXPECT_EQ(a.dimCount(), 2);
    EXPECT_EQ(a.lowBound(1), 1);
    EXPECT_EQ(a.highBound(2), 1);
    int n = 0;
    for (int j = 0; j <= 1; ++j)
        for (int i = 1; i <= 2; ++i)
            a.elementRef({i, j}) = Value(n++);
    // Storage order: the first index runs fastest.
    std::vector<int> order;
    for (const Value& v : a.elements())
        order.push_back(v.asInt());
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(a.element({2, 1}).asInt(), 3);

    EXPECT_EQ(errorOf([&] { a.element({3, 0}); }), valueText("Range check error"));
    EXPECT_EQ(errorOf([&] { a.element({1}); }), valueText("Range check error"));
    EXPECT_EQ(errorOf([&] { a.lowBound(3); }), valueText("Range check error"));
    EXPECT_EQ(Value::createArray({{0, -1}}).elements().size(), 0u);
    EXPECT_FALSE(errorOf([] { Value::createArray({{0, -2}}); }).isEmpty());
    EXPECT_FALSE(errorOf([] { Value::createArray({{0, 1 << 30}, {0, 1 << 30}}); }).isEmpty());
}

TEST(Values, TextsGrowInPlace)
{
    Value t = S("");
    for (int i = 0; i < 1000; ++i)
        addInPlace(t, Value(QString(QChar(u'A' + i % 26))));
    EXPECT_EQ(t.text().size(), 1000);
    EXPECT_TRUE(t.text().startsWith(u"ABC"));

    const Value keep = t;
    addInPlace(t, S("!"));
    EXPECT_EQ(keep.text().size(), 1000); // a shared text is copied first
    EXPECT_EQ(t.text().size(), 1001);

    Value mixed = Value::fromText(valueText("a"), varString);
    addInPlace(mixed, S("b"));
    EXPECT_EQ(mixed.type(), varUString);
    EXPECT_EQ(mixed.text(), valueText("ab"));

    Value number = S("3");
    addInPlace(number, Value(4)); // the class rules still hold
    EXPECT_EQ(number.type(), varDouble);
    EXPECT_EQ(number.toString(), valueText("7"));
}

TEST(Values, TypeNames)
{
    EXPECT_EQ(varTypeName(varInteger), valueText("Integer"));
    EXPECT_EQ(varTypeName(varUString), valueText("UnicodeString"));
    EXPECT_EQ(varTypeName(varArray | varVariant), valueText("Array Variant"));
    EXPECT_EQ(varTypeName(varByRef | varInteger), valueText("ByRef Integer"));
    EXPECT_EQ(varTypeName(99), valueText("$0063"));
}
