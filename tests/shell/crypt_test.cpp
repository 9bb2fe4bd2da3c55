#include "shell/crypt.h"

#include "platform/core/inifile.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace orv::shell;

namespace {

TEST(Crypt, KnownValues)
{
    struct Case { const char* plain; const char* hex; };
    const Case cases[] = {
        {"", ""},
        {"LANTERNAMOBILE", "50DB2285472C1320B94B3F17EA70"},
        {"A", "5D"},  // 0x41 XOR the high byte of 7316 (0x1C)
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cifra(QString::fromUtf8(c.plain)), c.hex) << c.plain;
        EXPECT_EQ(Decifra(c.hex), QString::fromUtf8(c.plain)) << c.hex;
    }
}

TEST(Crypt, RoundTripsEveryLatin1CharacterUpTo255)
{
    QString all;
    for (int i = 0; i < 255; ++i) all += QChar(char16_t((i * 7 + 3) % 256));
    for (int n : {1, 2, 17, 255}) {
        const QString t = all.left(n);
        const QString hex = Cifra(t);
        EXPECT_EQ(hex.size(), 2 * n);
        EXPECT_EQ(hex, hex.toUpper());
        EXPECT_EQ(Decifra(hex), t);
        EXPECT_EQ(Decifra(hex.toLower()), t);  // a store edited to lower case still reads
    }
}

TEST(Crypt, PrefixAndLastCharacterProperties)
{
    EXPECT_EQ(Cifra("PIPPO"), Cifra("PIPPO"));
    const QString a = Cifra("PASSWORD1"), b = Cifra("PASSWORD2");
    EXPECT_EQ(a.left(16), b.left(16));
    EXPECT_NE(a.right(2), b.right(2));
    EXPECT_EQ(Cifra("Q").left(2), QString::number(('Q' ^ 0x1C), 16).toUpper());
    // Only the low 8 bits take part: U+0141 scrambles as U+0041.
    EXPECT_EQ(Cifra(QString(QChar(0x0141))), Cifra("A"));
}

TEST(Crypt, OddDigitIgnoredNonHexFails)
{
    EXPECT_EQ(Decifra("5D7"), "A");
    EXPECT_THROW(Decifra("5DZZ"), orv::shell::ConversionError);
    EXPECT_THROW(Decifra("G1"), orv::shell::ConversionError);
    EXPECT_THROW(Decifra(" 5"), orv::shell::ConversionError);
}

TEST(Crypt, TheDeliveredStoreHoldsTheFirstAccessKeyword)
{
    const orv::platform::IniFile store(QStringLiteral(ORV_SOURCE_DIR "/assets/install/unins000.dll"));
    EXPECT_EQ(Decifra(store.readString("Accesso", "Valore", "")), "LANTERNAMOBILE");
}

TEST(Delivery, TheUserGuideIsDeliveredNextToTheProgram)
{
    QFile guide(QStringLiteral(ORV_SOURCE_DIR "/assets/install/Guida.pdf"));
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    EXPECT_TRUE(guide.read(5) == "%PDF-");
}

} // namespace
