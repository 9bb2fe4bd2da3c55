#include <gtest/gtest.h>

#include "archive/helpers.h"
#include "doubles.h"

using namespace orv::archive;

using orv::archive::AmountKind;

TEST(TextHelpers, LeftRightAndDigits)
{
    EXPECT_EQ(Sinistra(u"abcdef"_qs, 3), u"abc"_qs);
    EXPECT_EQ(Sinistra(u"abc"_qs, 0), QString());
    EXPECT_EQ(Sinistra(u"abc"_qs, 65535), u"abc"_qs);
    EXPECT_EQ(Destra(u"abc"_qs, 5), u"abc"_qs);
    EXPECT_EQ(Destra(u"abcdef"_qs, 2), u"ef"_qs);
    EXPECT_EQ(Destra(u"abc"_qs, 0), QString());
    EXPECT_TRUE(SoloCifre(QString()));
    EXPECT_TRUE(SoloCifre(u"0123456789"_qs));
    EXPECT_FALSE(SoloCifre(u"12 34"_qs));
    EXPECT_FALSE(SoloCifre(u"12a"_qs));
    EXPECT_FALSE(SoloCifre(u"\u0663"_qs)); // an Arabic-Indic three is not a digit here
}

TEST(TextHelpers, DataValidaUnderTheProgramFormat)
{
    const orv::test::PinnedClock clock(QDateTime(QDate(2026, 3, 1), QTime(10, 0)));
    const struct {
        const char* text;
        bool ok;
    } cases[] = {
        {"31/02/2024", false}, {"29/02/2024", true},   {"29/02/2023", false}, {"1/2/24", true},
        {"15/08", true},       {"15 / 08 / 2024", true}, {"15-08-2024", false}, {"15/08/", false},
        {"", false},           {"15/08/2024/", true},  {"00/01/2024", false}, {"01/13/2024", false},
        {"31/12/9999", true},  {"12/12/10000", false}, {"1/1/2024x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DataValida(QString::fromUtf8(c.text)), c.ok) << c.text;
}

TEST(TextHelpers, ArrotondaRoundsHalfUpInExtendedPrecision)
{
    const struct {
        double x;
        int n;
        double r;
    } cases[] = {
        {2.5, 0, 3},     {-2.5, 0, -2},       {-2.7, 0, -3},   {-3, 0, -3},     {-7.5, 2, -7.5},
        {1.005, 2, 1},   {1.23456, 4, 1.2346}, {81.967, 2, 81.97}, {0.00006, 4, 0.0001},
        {0.00004, 4, 0}, {12.5, -1, 13},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(Arrotonda(c.x, c.n), c.r) << c.x << " at " << c.n;
}

TEST(TextHelpers, NormalizzaImportoVariants)
{
    const struct {
        const char* text;
        AmountKind kind;
        int n;
        const char* fallback;
        const char* result;
    } cases[] = {
        {"5", AmountKind::Money, 4, "", "5,00"},
        {"5,5", AmountKind::Money, 4, "", "5,50"},
        {"1,23456", AmountKind::Money, 4, "", "1,2346"},
        {"12,30", AmountKind::Money, 4, "", "12,30"},
        {" 12,3456 ", AmountKind::Money, 4, "", "12,3456"},
        {",5", AmountKind::Money, 4, "", "0,50"},
        {"5,", AmountKind::Money, 4, "", "5,00"},
        {",", AmountKind::Money, 4, "", "0,00"},
        {"abc", AmountKind::Money, 4, "", "0,00"},
        {"", AmountKind::Money, 4, "", "0,00"},
        {"0,00006", AmountKind::Money, 4, "", "0,0001"},
        {"0,00004", AmountKind::Money, 4, "", "0,00"},
        {"-3,5", AmountKind::Money, 2, "", "-3,50"},
        {"", AmountKind::Short, 4, "", ""},
        {"12,5", AmountKind::Short, 4, "", "12,5"},
        {"3", AmountKind::Short, 4, "", "3"},
        {"1,23456", AmountKind::Short, 4, "", "1,2346"},
        {"x", AmountKind::Short, 4, "", ""},
        {"x", AmountKind::Short, 4, "0", "0"},
        {",", AmountKind::Short, 4, "0", "0"},
        {"3,7", AmountKind::Whole, 0, "", "4"},
        {"007", AmountKind::Whole, 0, "", "7"},
        {"", AmountKind::Whole, 0, "", "0"},
        {"due", AmountKind::Whole, 0, "", "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormalizzaImporto(QString::fromUtf8(c.text), c.kind, c.n, QString::fromUtf8(c.fallback)),
                  QString::fromUtf8(c.result))
            << c.text << " kind " << int(c.kind);
}
