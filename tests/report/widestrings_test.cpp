// The line list of report texts.
#include "report/base/errors.h"
#include "report/base/widestrings.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace orv::report;

namespace {

QStringList lines(const TfrxWideStrings& w)
{
    QStringList out;
    for (int i = 0; i < w.Count(); ++i)
        out << w.Get(i);
    return out;
}

} // namespace

TEST(WideStringsTest, TextSplitsAtEveryKindOfBreak)
{
    struct Case {
        const char16_t* text;
        QStringList expected;
    } cases[] = {
        {u"a\r\nb", {"a", "b"}},
        {u"a\r\nb\r\n", {"a", "b"}},
        {u"a\n\rb", {"a", "", "b"}},
        {u"a\u2028b", {"a", "b"}},
        {u"a\r\u2028b", {"a", "b"}},
        {u"a\r\n\u2028b", {"a", "b"}},
        {u"a\rb\nc", {"a", "b", "c"}},
        {u"\r\n", {""}},
        {u"", {}},
    };
    for (const Case& c : cases) {
        TfrxWideStrings w;
        w.SetText(QString::fromUtf16(c.text));
        EXPECT_EQ(lines(w), c.expected) << QString::fromUtf16(c.text).toStdString();
    }
    TfrxWideStrings nul;
    nul.SetText(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    EXPECT_EQ(lines(nul), QStringList{"a"}) << "a NUL ends the text";
}

TEST(WideStringsTest, TextEndsEveryLineWithCrLf)
{
    TfrxWideStrings w;
    EXPECT_EQ(w.Text(), QString());
    w.Add(QStringLiteral("a"));
    w.Add(QStringLiteral("b"));
    EXPECT_EQ(w.Text(), QStringLiteral("a\r\nb\r\n"));
}

TEST(WideStringsTest, InsertReplacesInsideAndAppendsAtTheEnd)
{
    orv::platform::Persistent tag;
    TfrxWideStrings w;
    w.Add(QStringLiteral("a"));
    w.AddObject(QStringLiteral("b"), &tag);
    w.Insert(1, QStringLiteral("x"));
    EXPECT_EQ(lines(w), (QStringList{"a", "x"}));
    EXPECT_EQ(w.GetObject(1), &tag) << "the line keeps its object";
    w.Insert(2, QStringLiteral("y"));
    EXPECT_EQ(lines(w), (QStringList{"a", "x", "y"}));
    for (int bad : {4, -1}) {
        try {
            w.Insert(bad, QStringLiteral("z"));
            ADD_FAILURE() << bad;
        } catch (const orv::report::Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Wide String Out of Bounds"));
        }
    }
    EXPECT_EQ(w.Count(), 3);
}

TEST(WideStringsTest, BadIndexes)
{
    TfrxWideStrings w;
    w.SetText(QStringLiteral("a\r\nA"));
    EXPECT_EQ(w.Get(5), QString());
    EXPECT_EQ(w.GetObject(5), nullptr);
    w.PutObject(5, nullptr);
    try {
        w.Delete(5);
        ADD_FAILURE();
    } catch (const orv::report::ListError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("List index out of bounds (5)"));
    }
    EXPECT_EQ(w.IndexOf(QStringLiteral("A")), 1) << "case-sensitive";
    EXPECT_EQ(w.IndexOf(QStringLiteral("b")), -1);
}

TEST(WideStringsTest, Streams)
{
    auto load = [](const QByteArray& bytes, bool wide) {
        QBuffer b;
        b.setData(bytes);
        b.open(QIODevice::ReadOnly);
        TfrxWideStrings w;
        if (wide)
            w.LoadFromWStream(b);
        else
            w.LoadFromStream(b);
        return lines(w);
    };
    EXPECT_EQ(load(QByteArray("\xFF\xFEh\0i\0", 6), false), QStringList{"hi"});
    EXPECT_EQ(load("hij", false), QStringList{"hij"});
    EXPECT_EQ(load("\xE0", false), QStringList{QStringLiteral("à")}) << "8-bit text in Windows-1252";
    EXPECT_EQ(load(QByteArray("\xFF\xFE", 2), false), QStringList{QStringLiteral("ÿþ")}) << "two bytes: 8-bit text";
    EXPECT_EQ(load(QByteArray("o\0k\0!", 5), true), QStringList{"ok"}) << "an odd last byte is dropped";

    TfrxWideStrings w;
    w.SetText(QStringLiteral("a\r\nb"));
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    w.SaveToStream(out);
    EXPECT_EQ(out.data(), QByteArray("a\0\r\0\n\0b\0\r\0\n\0", 12));
}

TEST(WideStringsTest, StoredLineListsInExtraData)
{
    // A "UTF8W" list with the one item "Riepilogo".
    QByteArray data;
    orv::report::PropertyWriter writer(data);
    writer.writeName(QStringLiteral("UTF8W"));
    writer.writeListBegin();
    writer.writeString(QStringLiteral("Riepilogo"));
    writer.writeListEnd();
    TfrxWideStrings w;
    w.SetText(QStringLiteral("old"));
    EXPECT_TRUE(orv::report::readExtraData(w, data));
    EXPECT_EQ(lines(w), QStringList{"Riepilogo"});
    EXPECT_EQ(orv::report::writeExtraData(w), data);

    TfrxWideStrings empty;
    EXPECT_TRUE(orv::report::writeExtraData(empty).isEmpty()) << "an empty list stores nothing";
}
