// The small pieces of PDF syntax and the standard security handler's values.
#include "pdf/pdfsecurity.h"
#include "pdf/pdfsyntax.h"

#include "report/base/utils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <random>

using namespace orv::report;

using namespace orv::pdf;

TEST(PdfSyntax, NumbersAndColours)
{
    EXPECT_EQ(fixed(595.2755), QByteArray("595.28"));
    EXPECT_EQ(fixed(-1.5), QByteArray("-1.50"));
    EXPECT_EQ(fixed(0), QByteArray("0.00"));
    EXPECT_EQ(fixed(0.125), QByteArray("0.13"));
    EXPECT_EQ(fontSize(10.0000005), QByteArray("10"));
    EXPECT_EQ(fontSize(8.25), QByteArray("8.25"));

    const struct {
        std::uint32_t argb;
        const char* operands;
    } colours[] = {{0xFF000000, "0 0 0"},          {0xFFFFFFFF, "1 1 1"},          {0xFFE6E6FA, "0.90 0.90 0.98"},
                   {0xFFB0C4DE, "0.69 0.77 0.87"}, {0x00000000, "0.00 0.00 0.00"}, {0x80FF0000, "1.00 0.00 0.00"}};
    for (const auto& c : colours)
        EXPECT_EQ(colorOperands(c.argb), QByteArray(c.operands)) << std::hex << c.argb;
    EXPECT_EQ(pageColorOperands(0xFF0A80FE), QByteArray("0.03 0.50 0.99"));
    EXPECT_EQ(pageColorOperands(0xFFFF0000), QByteArray("1 0 0"));
}

// The writer's own number formatter gives the engine's text for every value: halves
// rounded away from zero as the engine decides them, binary values just below or above a
// half, carries into a new digit, the sign of values that round to zero, and values
// beyond the fast range.
TEST(PdfSyntax, NumbersMatchTheEngineFormatter)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {{0.125, "0.13"},        {-0.125, "-0.13"},      {2.675, "2.68"},          {1.005, "1.01"},
                 {0.285, "0.29"},        {0.004999, "0.00"},     {-0.004, "0.00"},         {-0.005, "-0.01"},
                 {-0.0, "0.00"},         {9.995, "10.00"},       {99.99499999, "99.99"},   {0.0049999999, "0.01"},
                 {841.89, "841.89"},     {1e-320, "0.00"},       {123456789.125, "123456789.13"},
                 {4e15, "4000000000000000.00"}, {-1e13 - 0.5, "-10000000000000.50"}};
    for (const auto& c : cases)
        EXPECT_EQ(fixed(c.value), QByteArray(c.text)) << c.value;

    std::mt19937_64 random(13);
    std::uniform_real_distribution<double> span(-2000, 2000);
    for (int i = 0; i < 200000; ++i) {
        // Plain values, and values on or next to a thousandth where the rounding decides.
        double v = span(random);
        if (i % 2)
            v = std::nextafter(std::round(v * 1000) / 1000, (i % 4 == 1) ? 1e9 : -1e9);
        if (i % 8 == 0)
            v = std::round(v * 1000) / 1000;
        const QByteArray expected = frxFloatToFixed(2, u'.', v).toLatin1();
        ASSERT_EQ(fixed(v), expected) << std::setprecision(17) << v;
    }
}

TEST(PdfSyntax, DashPatterns)
{
    const struct {
        TfrxFrameStyle style;
        double width;
        const char* line;
    } cases[] = {{fsSolid, 1, "[] 0 d"},
                 {fsDash, 1, "[6.00 ] 0 d"},
                 {fsDot, 1, "[2.00 6.00 ] 0 d"},
                 {fsDashDot, 0.5, "[3.00 3.00 1.00 3.00 ] 0 d"},
                 {fsDashDotDot, 1, "[6.00 6.00 2.00 6.00 2.00 6.00 ] 0 d"},
                 {fsDouble, 2, "[] 0 d"},
                 {fsAltDot, 1, "[] 0 d"},
                 {fsSquare, 1, "[] 0 d"}};
    for (const auto& c : cases)
        EXPECT_EQ(dashLine(c.style, c.width), QByteArray(c.line)) << int(c.style);
}

TEST(PdfSyntax, Strings)
{
    EXPECT_EQ(escapeLiteral("a(b)c\\d\r\n\x01"), QByteArray("a\\(b\\)c\\\\d\\r\\n\x01"));
    EXPECT_EQ(hexTextString(QString()), QByteArray("<FEFF>"));
    EXPECT_EQ(hexTextString(QString::fromUtf8("à€")), QByteArray("<FEFF00E020AC>"));
    EXPECT_EQ(utf16beWithMarker(QStringLiteral("A")), QByteArray("\xFE\xFF\x00\x41", 4));
    EXPECT_EQ(hex4(0x37), QByteArray("0037"));
}

// Values computed apart from the program, by the standard's algorithms for revision 3.
TEST(PdfSecurity, EntriesAndKeysOfTheStandardHandler)
{
    const QByteArray id = QByteArray::fromHex("0123456789abcdef0123456789abcdef");
    const StandardSecurity s("padrone", "utente", -4, id);
    EXPECT_EQ(s.ownerEntry().toHex(), QByteArray("06e119b7b5df1c819c9b841decc13b0a781cbf085cffa89f8524bf355b26551e"));
    EXPECT_EQ(s.documentKey().toHex(), QByteArray("56715f4f79105a2c2ebfbcbef30e4225"));
    EXPECT_EQ(s.userEntry().toHex(), QByteArray("c79640bf8e72382f5d88f7b21b28c8ec") + QByteArray(32, '0'));
    EXPECT_EQ(s.objectKey(7).toHex(), QByteArray("0b38563866a8b31fdc001c94fb153565"));
    // The cipher starts afresh for every string.
    EXPECT_EQ(s.encrypt(7, "Totale").toHex(), QByteArray("87f5a12e074c"));
    EXPECT_EQ(s.encrypt(7, "Totale").toHex(), QByteArray("87f5a12e074c"));
    EXPECT_EQ(StandardSecurity::padded(QByteArray(40, 'x')), QByteArray(32, 'x'));
}
