// How the documents read, write, round and tidy their numbers.
#include "documents/numeri.h"

#include "platform/core/formats.h"

#include <gtest/gtest.h>

#include <ostream>

#include "qstring_printer.h"

using namespace orv::documents;

using namespace orv::documents;

namespace {

struct TextCase {
    const char* in;
    const char* out;
};

TEST(DocumentNumbers, ReaderTakesTheCommaAloneAndRefusesPointsAndSecondCommas)
{
    const struct {
        const char* text;
        bool ok;
        long double value;
    } cases[] = {
        {"12,5", true, 12.5L}, {",", true, 0}, {"12,", true, 12}, {",5", true, 0.5L}, {" 7 ", true, 7},
        {"-,", true, 0},       {"+5", true, 5}, {"1E3", true, 1000}, {"2E", true, 2},  {"1,5e-1", true, 0.15L},
        {"1.000", false, 0},   {"1,2,3", false, 0}, {"", false, 0},  {"1 000", false, 0}, {"E5", false, 0},
        {"12a", false, 0},     {"1E9999", false, 0},
    };
    for (const auto& c : cases) {
        long double v = -1;
        EXPECT_EQ(readNumber(QString::fromLatin1(c.text), v), c.ok) << c.text;
        if (c.ok) { EXPECT_EQ(v, c.value) << c.text; }
    }
}

TEST(DocumentNumbers, GeneralFormatWithFifteenDigitsAndItsExponentLimits)
{
    const struct {
        long double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {1.2, "1,2"},
        {-2.25, "-2,25"},
        {0.1 + 0.2, "0,3"},
        {1.0L / 3, "0,333333333333333"},
        {2.0L / 3, "0,666666666666667"},
        {123456789.125, "123456789,125"},
        {0.0001, "0,0001"},
        {0.00005, "5E-5"},
        {0.00001, "1E-5"},
        {999999999999999.0L, "999999999999999"},
        {1e15L, "1E15"},
        {123456789012345678.0L, "1,23456789012346E17"},
        {9999999999999999.0L, "1E16"},
        {716.93125, "716,93125"},
    };
    for (const auto& c : cases) EXPECT_EQ(numberText(c.value), QString::fromLatin1(c.text)) << double(c.value);
}

TEST(DocumentNumbers, ArrotondaTruncatesTowardZeroAfterAddingAHalf)
{
    EXPECT_EQ(Arrotonda(2.5, 0), 3);
    EXPECT_EQ(Arrotonda(1.23456, 4), 1.2346);
    EXPECT_EQ(Arrotonda(-2.344, 2), -2.33);
    EXPECT_EQ(Arrotonda(-5, 4), -4.9999);
    EXPECT_EQ(Arrotonda(-2.25, 4), -2.2499);
    // The doubles of these decimals lie just below the half.
    EXPECT_EQ(Arrotonda(1.005, 2), 1);
    EXPECT_EQ(Arrotonda(2.675, 2), 2.67);
    EXPECT_EQ(Arrotonda(0.33335, 4), 0.3333);
    EXPECT_EQ(Arrotonda(10.0049, 2), 10);
}

TEST(DocumentNumbers, APriceLeavingItsField)
{
    const TextCase cases[] = {
        {"", ""},         {"   ", ""},         {"5", "5,00"},       {"007", "7,00"},   {"0", "0,00"},
        {"2,5", "2,50"},  {"2,50", "2,50"},    {"2,125", "2,125"},  {"1,23456", "1,2346"},
        {"1,19999", "1,20"}, {"0,00004", "0,00"}, {"0,00006", "0,0001"}, {",5", "0,50"}, {"5,", "5,00"},
        {",", "0,00"},    {",,", "0,00"},      {"1,2,3", "0,00"},   {"12.50", "0,00"}, {"1.234,50", "0,00"},
        {"12345678,5", "12345678,50"},         {"1234567890", "1234567890,00"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(priceOnExit(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

TEST(DocumentNumbers, AQuantityDiscountOrRateLeavingItsField)
{
    const TextCase cases[] = {
        {"", ""},          {"2,50", "2,5"},    {"007", "7"},        {"5,", "5"},       {",5", "0,5"},
        {",", "0"},        {",12345", "0,1235"}, {",00005", "0,0001"}, {"9,9999", "9,9999"}, {"1,2,3", ""},
        {",,", ""},        {"22", "22"},       {"022", "22"},       {"22,", "22"},     {"22,50", "22,5"},
        {"4,12345", "4,1235"}, {"4,00005", "4"}, {"10,0", "10"},     {"2,2,0", ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(numberOnExit(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

TEST(DocumentNumbers, TheTwoFormsOfTheAmountRule)
{
    const TextCase longForm[] = {{"5", "5,00"}, {",", "0,00"}, {",5", "0,50"}, {"5,", "5,00"},
                                 {"5,1", "5,10"}, {"5,125", "5,125"}, {"-4,9999", "-4,9999"}};
    for (const TextCase& c : longForm)
        EXPECT_EQ(NormalizzaImporto(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
    const TextCase shortForm_[] = {{",", ""}, {",5", "0,5"}, {"5,", "5,00"}, {"22", "22"}};
    for (const TextCase& c : shortForm_)
        EXPECT_EQ(shortForm(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

} // namespace
