// The check routines against tables of real-shaped valid and invalid codes.
#include "kit/dialogs/checks.h"

#include <gtest/gtest.h>

using namespace orv::kit;

namespace {

struct CheckVerdict {
    const char* text;
    bool valid;
};

TEST(ControllaCodFisc, TableOfCodes)
{
    const CheckVerdict cases[] = {
        {"RSSMRA85T10A562S", true},
        {"VRDGPP13R10B293P", true},
        {"BNCLRA90A41H501F", true},   // a woman: day + 40
        {"MRTMTT25D09F205Z", true},
        {"XXXYYY00A00Z000T", true},
        // omocodia: digits of the code replaced by letters from the end
        {"RSSMRA85T10A56NH", true},
        {"RSSMRAURTMLARSNL", true},   // every replaceable digit replaced
        {"RSSMRA85T10A562T", false},  // another control letter
        {"RSSMRA85T10A562A", false},
        {"RSSMRA85T10A56NS", false},  // omocodic code with the plain code's control letter
        {"RSSMRA58T10A562S", false},  // two digits swapped
        {"rssmra85t10a562s", false},  // the routine itself does not upper-case
        {"RSSMRA85T10A56.S", false},  // a character the tables do not know
        {"RSSMRA85T10A562", false},   // 15 characters
        {"RSSMRA85T10A562SS", false}, // 17 characters
        {"", false},
    };
    for (const CheckVerdict& c : cases) EXPECT_EQ(ControllaCodFisc(QString::fromLatin1(c.text)), c.valid) << c.text;
}

TEST(ControllaCodFisc, CharactersBetweenNineAndACountZero)
{
    // ":" to "@" are worth 0 in both positions, as "1" is in an odd one.
    EXPECT_TRUE(ControllaCodFisc("111111111111111H"));
    EXPECT_TRUE(ControllaCodFisc(":1:1:1:1:1:1:1:H"));
    EXPECT_TRUE(ControllaCodFisc("@@@@@@@@@@@@@@@A"));
    EXPECT_FALSE(ControllaCodFisc("@@@@@@@@@@@@@@@B"));
}

TEST(ControllaPartitaIva, TableOfNumbers)
{
    const CheckVerdict cases[] = {
        {"12345670157", true},  {"00000000588", true}, {"00000001206", true}, {"03159540156", true},
        {"00000000000", true},  {"12345679992", true},
        {"12345670158", false}, // last digit off by one
        {"21345670157", false}, // two digits swapped
        {"1234567015", false},  // 10 digits
        {"123456701577", false},
        {"1234567015A", false}, // a letter among 11 characters
        {"1234567 0157", false},
        {"", false},
    };
    for (const CheckVerdict& c : cases) EXPECT_EQ(ControllaPartitaIva(QString::fromLatin1(c.text)), c.valid) << c.text;
}

TEST(UfficioIva, OfficeTable)
{
    EXPECT_EQ(UfficioIva("001"), "Torino");
    EXPECT_EQ(UfficioIva("015"), "Milano 1");
    EXPECT_EQ(UfficioIva("040"), QStringLiteral("Forl\u00ec"));
    EXPECT_EQ(UfficioIva("058"), "Roma 1");
    EXPECT_EQ(UfficioIva("096"), "Monza (Milano 2)");
    EXPECT_EQ(UfficioIva("101"), "Bologna 2");
    EXPECT_EQ(UfficioIva("120"), "Bologna 2");
    EXPECT_EQ(UfficioIva("102"), "Napoli 2");
    EXPECT_EQ(UfficioIva("121"), "Napoli 2");
    EXPECT_EQ(UfficioIva("000"), "");
    EXPECT_EQ(UfficioIva("103"), "");
    EXPECT_EQ(UfficioIva("15"), "");
}

TEST(ControllaCarta, TableOfNumbers)
{
    struct Case {
        const char* text;
        int result;
    };
    const Case cases[] = {
        {"4111111111111111", 2},     // Visa
        {"5555555555554444", 3},     // MasterCard
        {"6011111111111117", 4},     // Discover
        {"378282246310005", 1},      // American Express
        {"30569309025904", 1},       // Diner's Club
        {"3530111333300000", 1},     // JCB
        {"7000000000000005", 5},     // passes, first digit 7
        {"234567890123454", 0},      // passes, first digit 2
        {"18", -1},
        {"91", 7},
        {"0", -2},                   // a single 0 passes
        {"5", 0},                    // any other single digit fails
        {"4111111111111112", 0},
        {"4111 1111 1111 1111", 2},  // only the digits count
        {"4111-1111-1111-1111", 2},
        {"", 0},
        {"abc", 0},
        {"4111 1111 1111 111 1", 2},
        // only the first 20 characters are looked at, leading blanks included
        {"    4111111111111111", 2},
        {"     4111111111111111", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ControllaCarta(QString::fromLatin1(c.text)), c.result) << c.text;
}

TEST(ControllaIban, TableOfIbans)
{
    const CheckVerdict cases[] = {
        {"IT60X0542811101000000123456", true},
        {"it60x0542811101000000123456", true},   // upper-cased before the check
        {"IT60 X054 2811 1010 0000 0123 456", true},
        {"IBAN IT60X0542811101000000123456", true},
        {"GB82WEST12345698765432", true},
        {"DE89370400440532013000", true},
        {"IT60X0542811101000000123457", false},  // one digit changed
        {"IT61X0542811101000000123456", false},
        {"IT60X05428111010000001234-6", false},  // a character outside 0-9 and A-Z
        {"", false},
    };
    for (const CheckVerdict& c : cases) EXPECT_EQ(ControllaIban(QString::fromLatin1(c.text)), c.valid) << c.text;
}

TEST(ControllaIban, ModuloAndLetters)
{
    EXPECT_EQ(NumeriIban("AZ09"), "103509");
    EXPECT_EQ(ModuloIban("IT60X0542811101000000123456"), 1);
    EXPECT_EQ(ModuloIban("IT60X0542811101000000123457"), 28);
    EXPECT_EQ(ModuloIban("IT60X0542811101000000123\u00e856"), 0);
    EXPECT_EQ(ModuloIban(""), 0);
}

TEST(CheckRouting, CardFamiliesAndTaxCodeButton)
{
    EXPECT_EQ(orv::kit::cardFamily(1, "30569309025904"), "Diner's Club / Carte Blanche");
    EXPECT_EQ(orv::kit::cardFamily(1, "36"), "Diner's Club / Carte Blanche");
    EXPECT_EQ(orv::kit::cardFamily(1, "38"), "Diner's Club / Carte Blanche");
    EXPECT_EQ(orv::kit::cardFamily(1, "34"), "American Express");
    EXPECT_EQ(orv::kit::cardFamily(1, "37"), "American Express");
    for (const char* p : {"31", "33", "35"}) EXPECT_EQ(orv::kit::cardFamily(1, p), "JCB");
    for (const char* p : {"32", "39", "3"}) EXPECT_EQ(orv::kit::cardFamily(1, p), "");
    EXPECT_EQ(orv::kit::cardFamily(2, "4"), "Visa");
    EXPECT_EQ(orv::kit::cardFamily(3, "5"), "MasterCard");
    EXPECT_EQ(orv::kit::cardFamily(4, "6"), "Discover");
    for (int r : {0, -2, -1, 5, 6, 7}) EXPECT_EQ(orv::kit::cardFamily(r, "x"), "") << r;

    EXPECT_TRUE(orv::kit::opensVatChecker("12345670157"));
    EXPECT_TRUE(orv::kit::opensVatChecker(" 123 "));
    EXPECT_FALSE(orv::kit::opensVatChecker(""));
    EXPECT_FALSE(orv::kit::opensVatChecker("   "));
    EXPECT_FALSE(orv::kit::opensVatChecker("RSSMRA85T10A562S"));
    EXPECT_FALSE(orv::kit::opensVatChecker("1234 567"));
}

} // namespace
