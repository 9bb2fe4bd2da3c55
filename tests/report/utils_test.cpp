// Report utilities.
#include "platform/core/formats.h"
#include "report/base/errors.h"
#include "report/base/utils.h"
#include "report/model/report.h"

#include <QBuffer>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orv::report;

using orv::report::ConvertError;

TEST(UtilsTest, ExpandPageNumbers)
{
    struct Case {
        const char* text;
        int total;
        QStringList pages;
    } cases[] = {
        {"1,3,5-7", 9, {"1", "3", "5", "6", "7"}},
        {"2 - 4", 9, {"2", "3", "4"}},
        {"3-", 5, {"3", "4", "5"}},
        {"5-3", 9, {}},
        {"", 9, {}},
        {"007,2,2", 9, {"7", "2", "2"}},
    };
    for (const Case& c : cases) {
        QStringList list{"stale"};
        frxExpandPageNumbers(QString::fromLatin1(c.text), list, c.total);
        EXPECT_EQ(list, c.pages) << c.text;
    }
    QStringList list;
    EXPECT_THROW(frxExpandPageNumbers(QStringLiteral("1,,2"), list, 9), ConvertError);
    EXPECT_EQ(list, QStringList{"1"}) << "pages before the bad piece stay";
    for (const char* bad : {"-3", "a", "1-b"})
        EXPECT_THROW(frxExpandPageNumbers(QString::fromLatin1(bad), list, 9), ConvertError) << bad;
}

TEST(UtilsTest, FindBracketedExpression)
{
    struct Case {
        const char* text;
        qsizetype i;
        const char* expr;
        qsizetype iAfter, j;
    } cases[] = {
        {"a[b]c", 1, "b", 1, 3},
        {"[a[b]c]", 0, "a[b]c", 0, 6},
        {"[a']'b]", 0, "a']'b", 0, 6},
        {"[a\"]\"b]x", 0, "a\"]\"b", 0, 6},
        {"x[abc", 1, "ab", 1, 4},
        {"abc", 1, "", 1, 1},
        {"", 0, "", 0, 0},
    };
    for (const Case& c : cases) {
        qsizetype i = c.i, j = -1;
        EXPECT_EQ(frxFindBracketedExpression(QString::fromLatin1(c.text), QStringLiteral("["), QStringLiteral("]"), i, j),
                  QString::fromLatin1(c.expr))
            << c.text;
        EXPECT_EQ(i, c.iAfter) << c.text;
        EXPECT_EQ(j, c.j) << c.text;
    }
    qsizetype i = 0, j = 0;
    EXPECT_EQ(frxFindBracketedExpression(QStringLiteral("<<a>>!"), QStringLiteral("<<"), QStringLiteral(">>"), i, j),
              QStringLiteral("a"));
    EXPECT_EQ(j, 4) << "the last character of the closing bracket";
}

TEST(UtilsTest, NumbersAndTexts)
{
    orv::platform::applyProgramFormats();
    for (const char* t : {"1.5", "1,5", "1 , 5"})
        EXPECT_DOUBLE_EQ(frxTextToFloat(QString::fromLatin1(t)), 1.5) << t;
    EXPECT_THROW(frxTextToFloat(QStringLiteral("x")), ConvertError);
    EXPECT_EQ(frxFloatToDisplayText(297), QStringLiteral("297"));
    EXPECT_EQ(frxFloatToDisplayText(297.25), QStringLiteral("297,25"));
    EXPECT_EQ(frxFloatToDisplayText(297.5), QStringLiteral("297,50"));
    EXPECT_EQ(frxFloatToFixed(2, u'.', 3.14159), QStringLiteral("3.14"));
    EXPECT_EQ(frxFloatToFixed(2, u'.', 1234567.5), QStringLiteral("1234567.50"));
    EXPECT_EQ(frxFloatToFixed(0, u',', 2.5), QStringLiteral("3")) << "halves away from zero";
    EXPECT_EQ(frxFloatToFixed(2, u'.', 0.125), QStringLiteral("0.13"));
    EXPECT_EQ(frxFloatToFixed(2, u'.', -0.999), QStringLiteral("-1.00"));
    EXPECT_EQ(frxFloatToFixed(2, u'.', -0.001), QStringLiteral("0.00"));
    EXPECT_EQ(frxSlashesToBackslashes(QStringLiteral("a/b/c")), QStringLiteral("a\\b\\c"));

    QStringList parts;
    frxSplitAtSeparator(QStringLiteral("a,b,"), parts, u',');
    EXPECT_EQ(parts, (QStringList{"a", "b"}));
    frxSplitAtSeparator(QStringLiteral(",a"), parts, u',');
    EXPECT_EQ(parts, (QStringList{"", "a"}));
    frxSplitAtSeparator(QString(), parts, u',');
    EXPECT_TRUE(parts.isEmpty());
}

TEST(UtilsTest, RectangleOverlap)
{
    const TfrxRectArea a(0, 0, 10, 10);
    EXPECT_FALSE(a.InterceptsX(TfrxRectArea(10, 0, 20, 10))) << "touching edges";
    EXPECT_FALSE(a.InterceptsX(TfrxRectArea(9.99995L, 0, 20, 10))) << "overlap below the tolerance";
    EXPECT_TRUE(a.InterceptsX(TfrxRectArea(9.5L, 0, 20, 10)));
    auto common = a.InterceptX(TfrxRectArea(4, 50, 20, 60));
    ASSERT_TRUE(common);
    EXPECT_EQ(common->X, 4);
    EXPECT_EQ(common->X1, 10);
    EXPECT_FALSE(a.InterceptY(TfrxRectArea(0, 10, 5, 20)));
}

TEST(UtilsTest, StreamsAndHex)
{
    QByteArray bytes("123456789");
    QBuffer b(&bytes);
    b.open(QIODevice::ReadWrite);
    b.seek(3);
    EXPECT_EQ(frxStreamChecksum(b), 0xCBF43926u) << "the CRC-32 check value";
    EXPECT_EQ(b.pos(), 3);
    EXPECT_EQ(frxBytesToHex(QByteArray("\x00\xAB\xff", 3)), QStringLiteral("00ABFF"));
    EXPECT_EQ(frxHexToBytes(QStringLiteral("00abFF7")), QByteArray("\x00\xAB\xff", 3)) << "an odd digit is ignored";
    EXPECT_EQ(frxHexToBytes(QStringLiteral("41zz42")), QByteArray("A")) << "decoding stops at a bad pair";
    EXPECT_EQ(frxRecodeText(QStringLiteral("a") + QChar(1) + QChar(0x41) + QChar(1)),
              QStringLiteral("a") + QChar(0xC1) + QChar(1));
}

TEST(UtilsTest, ErrorsFollowTheSilentMode)
{
    QStringList shown;
    frxSetErrorBoxHandler([&](const QString& m) { shown << m; });
    TfrxReport report;
    frxReportError(&report, QStringLiteral("uno"));
    report.EngineOptions()->SetSilentMode(true);
    frxReportError(&report, QStringLiteral("due"));
    report.EngineOptions()->SetNewSilentMode(simReThrow);
    EXPECT_THROW(frxReportError(&report, QStringLiteral("tre")), orv::report::Error);
    EXPECT_EQ(shown, QStringList{"uno"});
    frxSetErrorBoxHandler(nullptr);
}

TEST(UtilsTest, TemporaryFilesHaveNames)
{
    const QString name = frxTempFileName();
    ASSERT_FALSE(name.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(name)) << "the name is reserved by an empty file";
    EXPECT_NE(frxTempFileName(), name);
    QFile::remove(name);
    EXPECT_FALSE(frxTempFolder().isEmpty());
}

TEST(UtilsTest, ComponentLookupByName)
{
    orv::platform::Component window;
    window.SetName(QStringLiteral("frmClienti"));
    auto* label = new orv::platform::Component(&window);
    label->SetName(QStringLiteral("lblNome"));
    frxRegisterGlobalComponent(&window);
    TfrxReport report(&window);
    EXPECT_EQ(frxLookupComponent(&report, QStringLiteral("frmClienti.lblNome")), label);
    EXPECT_EQ(frxLookupComponent(&report, QStringLiteral("lblNome")), label) << "through the report's owner";
    EXPECT_EQ(frxLookupComponent(&report, QStringLiteral("frmAltro.lblNome")), nullptr);
    EXPECT_EQ(frxQualifiedComponentName(&report, label), QStringLiteral("lblNome"));
    orv::platform::Component other;
    other.SetName(QStringLiteral("dmDati"));
    frxRegisterGlobalComponent(&other);
    auto* table = new orv::platform::Component(&other);
    table->SetName(QStringLiteral("tabClienti"));
    EXPECT_EQ(frxQualifiedComponentName(&report, table), QStringLiteral("dmDati.tabClienti"));
    frxUnregisterGlobalComponent(&other);
    frxUnregisterGlobalComponent(&window);
}
