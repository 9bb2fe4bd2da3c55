#include <gtest/gtest.h>

#include "platform/core/cp1252.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"

using namespace orv::platform;

using namespace orv;

TEST(FloatToStr, GeneralFormatWithDecimalComma)
{
    const struct {
        long double v;
        const char* text;
    } cases[] = {
        {0, "0"},           {1, "1"},          {-2.5L, "-2,5"},         {0.1L, "0,1"},
        {1234.5L, "1234,5"}, {100, "100"},     {1e15L, "1E15"},        {999999999999999.0L, "999999999999999"},
        {0.00001L, "0,00001"}, {0.000001L, "1E-6"}, {1.5e-7L, "1,5E-7"}, {1e20L, "1E20"},
        {2.0L / 3, "0,666666666666667"}, {123456.789L, "123456,789"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(floatToStr(c.v), QString::fromUtf8(c.text)) << double(c.v);
    // A double keeps its own binary value: 0.1 as a double prints as 0,1 too.
    EXPECT_EQ(floatToStr(0.1), u"0,1"_qs);
}

TEST(StrToFloat, AcceptsOnlyPlainNumbersUnderTheDecimalComma)
{
    const struct {
        const char* text;
        bool ok;
        double v;
    } cases[] = {
        {"12,5", true, 12.5}, {" -3 ", true, -3}, {",5", true, 0.5},  {"5,", true, 5},
        {"1E3", true, 1000},  {"+2", true, 2},    {"12.5", false, 0}, {"1.000,5", false, 0},
        {"", false, 0},       {",", false, 0},    {"abc", false, 0},  {"1e", false, 0},
    };
    for (const auto& c : cases) {
        double v = -999;
        EXPECT_EQ(tryStrToFloat(QString::fromUtf8(c.text), v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.v) << c.text;
        }
    }
}

TEST(Dates, EncodeDecodeAndWeekday)
{
    TDateTime d;
    ASSERT_TRUE(tryEncodeDate(1899, 12, 30, d));
    EXPECT_EQ(d, 0);
    ASSERT_TRUE(tryEncodeDate(2024, 2, 29, d));
    EXPECT_EQ(d, 45351);
    int y, m, dd;
    decodeDate(d, y, m, dd);
    EXPECT_EQ(y * 10000 + m * 100 + dd, 20240229);
    EXPECT_EQ(dayOfWeek(d), 5); // Thursday
    EXPECT_FALSE(tryEncodeDate(2023, 2, 29, d));
    EXPECT_FALSE(tryEncodeDate(0, 1, 1, d));
}

TEST(Dates, ParseDayMonthYearWithCenturyWindow)
{
    const struct {
        const char* text;
        bool ok;
        int ymd;
    } cases[] = {
        {"31/02/2024", false, 0},     {"29/02/2024", true, 20240229}, {"29/02/2023", false, 0},
        {"1/2/24", true, 20240201},   {"15/08", true, 20260815},       {"15 / 08 / 2024", true, 20240815},
        {"15-08-2024", false, 0},     {"15/08/", false, 0},            {"", false, 0},
        {"1/1/30", true, 20300101},   {"1/1/76", true, 19760101},      {"1/1/75", true, 20750101},
        {"1/1/80", true, 19800101},   {"10/10/2024/", true, 20241010}, {"1/1/12345", false, 0},
        {"1/1/0024", true, 240101},
    };
    for (const auto& c : cases) {
        TDateTime d = -1;
        EXPECT_EQ(tryStrToDate(QString::fromUtf8(c.text), d, 2026), c.ok) << c.text;
        if (c.ok) {
            int y, m, dd;
            decodeDate(d, y, m, dd);
            EXPECT_EQ(y * 10000 + m * 100 + dd, c.ymd) << c.text;
        }
    }
}

TEST(Dates, FormatPictures)
{
    TDateTime d, t;
    ASSERT_TRUE(tryEncodeDate(2024, 3, 5, d));
    ASSERT_TRUE(tryEncodeTime(14, 7, 9, 45, t));
    EXPECT_EQ(dateToStr(d), u"05/03/2024"_qs);
    EXPECT_EQ(dateTimeToStr(d), u"05/03/2024"_qs);
    EXPECT_EQ(dateTimeToStr(d + t), u"05/03/2024 14:07:09"_qs);
    EXPECT_EQ(formatDateTime(u"hh:mm"_qs, d + t), u"14:07"_qs);
    EXPECT_EQ(formatDateTime(u"d mmmm yy"_qs, d + t), u"5 marzo 24"_qs);
    EXPECT_EQ(formatDateTime(u"dddd, h:nn am/pm"_qs, d + t), u"martedì, 2:07 pm"_qs);
    EXPECT_EQ(formatDateTime(u"'anno' yyyy z zzz"_qs, d + t), u"anno 2024 45 045"_qs);
    EXPECT_EQ(formatDateTime(u"ddddd t"_qs, d + t), u"05/03/2024 14:07"_qs);
}

TEST(Text, TrimAndFoldOnlyWhatTheProgramFolds)
{
    EXPECT_EQ(trimmed(QString::fromUtf8("\t  abc \x01")), u"abc"_qs);
    EXPECT_EQ(trimmed(QString::fromUtf8("\u00a0abc")), QString::fromUtf8("\u00a0abc"));
    EXPECT_EQ(upperAZ(QString::fromUtf8("città è")), QString::fromUtf8("CITTà è"));
    EXPECT_TRUE(containsAZ(u"Mario ROSSI"_qs, u"rossi"_qs));
    EXPECT_FALSE(containsAZ(QString::fromUtf8("CITTÀ"), QString::fromUtf8("città")));
    EXPECT_LT(compareTextAZ(u"abc"_qs, u"ABD"_qs), 0);
}

TEST(Text, IndexOfFoldsOnlyAToZ)
{
    struct Case {
        QString hay, needle;
        qsizetype at;
    } cases[] = {
        {u"Pagina [totalpages#]"_qs, u"[TOTALPAGES#]"_qs, 7},
        {u"[[TotalPages#]"_qs, u"[TOTALPAGES#]"_qs, 1},
        {u"[TOTALPAGES#"_qs, u"[TOTALPAGES#]"_qs, -1},
        {u"x [TOTALPAGES] [TOTALPAGES#]"_qs, u"[TOTALPAGES#]"_qs, 15},
        {u"abcABC"_qs, u"cab"_qs, 2},
        {u"abc"_qs, u""_qs, 0},
        {u""_qs, u"["_qs, -1},
        {u"ab["_qs, u"["_qs, 2},
        {QString::fromUtf8("CITTÀ"), QString::fromUtf8("città"), -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(indexOfAZ(c.hay, c.needle), c.at) << qPrintable(c.hay) << " / " << qPrintable(c.needle);
}

TEST(Cp1252, RoundTripAndUnmappable)
{
    const QString euro = QString::fromUtf8("€ àèìòù Sì");
    const QByteArray bytes = platform::cp1252::encode(euro);
    EXPECT_EQ(bytes, QByteArray("\x80 \xe0\xe8\xec\xf2\xf9 S\xec"));
    EXPECT_EQ(platform::cp1252::decode(bytes), euro);
    bool lossless = true;
    EXPECT_EQ(platform::cp1252::encode(QString::fromUtf8("a☃b"), &lossless), QByteArray("a?b"));
    EXPECT_FALSE(lossless);
    EXPECT_EQ(platform::cp1252::decode(QByteArray("\x81")), QString(QChar(0x81)));
}
