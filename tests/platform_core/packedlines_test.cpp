// Lines packed one or two bytes a character must read back, compare, search and sort
// exactly as the QStrings they were made from do under the lists' rules.
#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <numeric>

#include "platform/core/packedlines.h"
#include "platform/core/text.h"

using orv::platform::PackedLines;

namespace {

// Lines from a small alphabet, so that most pairs share long beginnings, differ in case
// only, or are prefixes of each other; some hold characters past Latin-1 (one with the
// top bit of its 16 set).
QString randomLine(quint32& seed, int longest, bool latin1)
{
    static const char16_t alphabet[] = {u'a', u'A', u'b', u'B', u' ', u'_', u'9', u'\u00E8', u'\u00C8',
                                        u'\u20AC', u'\u201C', u'z', u'{', u'`', u'@', u'[', u'\0', u'\u00FF', u'\u0100', u'\uFF21'};
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    const int length = int(next() % quint32(longest + 1));
    const bool narrow = latin1 || next() % 3 != 0;
    QString s;
    for (int i = 0; i < length; ++i) {
        char16_t c = alphabet[next() % std::size(alphabet)];
        if (narrow && c > 0xFF) c = u'b';
        s += QChar(c);
    }
    return s;
}

} // namespace

TEST(PackedLines, ReadCompareSearchAndSortAsTheirTexts)
{
    // Few lines, runs of equal beginnings longer and shorter than the sort's levels, and
    // beginnings shared past the depth where the sort stops going by levels.
    const struct {
        int count;
        QString prefix;
        bool latin1; // no line with a character past Latin-1: the sort takes longer keys
    } cases[] = {{0, {}, false},    {1, {}, false},   {2, {}, false},   {17, {}, false},
                 {500, {}, false},  {4000, {}, false}, {4000, {}, true}, {3000, u"Rossi Mario  "_qs, false},
                 {3000, u"Rossi Mario  "_qs, true}, {700, QString(300, u'x'), false}, {700, QString(300, u'x'), true},
                 {60, QString(7, u'A'), false}, {60, QString(15, u'a'), true}, {60, QString(16, u'a'), true}};
    for (const auto& [count, prefix, latin1] : cases) {
        SCOPED_TRACE(count);
        quint32 seed = quint32(count) + 3;
        QStringList texts;
        PackedLines lines;
        for (int i = 0; i < count; ++i) {
            texts << (i % 3 ? prefix : QString()) + randomLine(seed, 12, latin1);
            lines.append(texts.last(), 1000 + i);
        }
        ASSERT_EQ(lines.size(), count);
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(lines.text(i), texts[i]);
            ASSERT_EQ(lines.tag(i), 1000 + i);
        }
        for (int i = 0; i + 1 < count; ++i) {
            const int j = (i * 7 + 3) % count;
            const auto sign = [](int v) { return (v > 0) - (v < 0); };
            ASSERT_EQ(sign(lines.compare(i, j)), sign(orv::platform::compareTextAZ(texts[i], texts[j])))
                << texts[i].toStdString() << " / " << texts[j].toStdString();
            ASSERT_EQ(sign(lines.compare(i, texts[j])), sign(orv::platform::compareTextAZ(texts[i], texts[j])));
            const QString needle = texts[j].left(2);
            ASSERT_EQ(lines.containsAZ(i, needle), orv::platform::containsAZ(texts[i], needle));
        }
        std::vector<quint32> expected(static_cast<size_t>(count));
        std::iota(expected.begin(), expected.end(), 0u);
        std::stable_sort(expected.begin(), expected.end(),
                         [&](quint32 a, quint32 b) { return orv::platform::compareTextAZ(texts[a], texts[b]) < 0; });
        EXPECT_EQ(lines.sortedOrder(), expected);
    }
}

TEST(PackedLines, LinesAcrossAndLargerThanTheirBlocks)
{
    // Blocks hold a megabyte: lines that end exactly at, straddle and exceed one.
    PackedLines lines;
    QStringList texts;
    for (int size : {1 << 19, (1 << 19) - 1, 3, 1 << 20, (1 << 20) + 5, 7}) {
        for (bool wide : {false, true}) {
            QString s(size, wide ? QChar(u'\u20AC') : QChar(u'x'));
            s[0] = QChar(char16_t(u'a' + texts.size()));
            texts << s;
            lines.append(s);
        }
    }
    for (int i = 0; i < texts.size(); ++i) EXPECT_EQ(lines.text(i), texts[i]) << i;
    EXPECT_EQ(lines.tag(0), -1);
    lines.clear();
    EXPECT_TRUE(lines.isEmpty());
    lines.append(u"dopo");
    EXPECT_EQ(lines.text(0), u"dopo"_qs);
}

TEST(PackedLines, SortsTrickyKeysAsTheListsComparison)
{
    // Keys that sit next to the letters' codes ('@', '[', '`', '{'), both cases, the
    // lowest and highest codes of a byte, blanks, accented letters (not folded), lines
    // that end where a sort key ends or go one past it, and lines equal but for case.
    // Each appears many times, so that buckets stay large for several bytes and equal
    // lines must keep the order they were added in.
    const QStringList keys = {
        u"a"_qs, u"A"_qs, u"@"_qs, u"["_qs, u"`"_qs, u"{"_qs, u"_"_qs, u"z"_qs, u"Z"_qs, u" "_qs, u""_qs,
        QString(QChar(u'\0')), QString(QChar(u'\u00FF')), u"\u00E8"_qs, u"\u00C8"_qs, u"E"_qs, u"e"_qs,
        u"Rossi Mario"_qs, u"ROSSI MARIO"_qs, u"Rossi Mario "_qs, u"Rossi Mari"_qs, u"Rossi_Mario"_qs,
        QString(15, u'x'), QString(16, u'x'), QString(17, u'X'), QString(16, u'x') + u"a"_qs,
        QString(16, u'x') + u"A"_qs, QString(31, u'y'), QString(32, u'Y'), QString(33, u'y'),
        QString(32, u'y') + QChar(u'\0'), QString(48, u' ') + u"1"_qs, QString(48, u' ') + u"0"_qs,
        QString(63, u'z'), QString(64, u'Z'), QString(65, u'z'), QString(64, u'z') + u"@"_qs,
        u"abc"_qs, u"ABD"_qs, u"9abc"_qs, u" abc"_qs, u"_abc"_qs,
    };
    for (bool wide : {false, true}) {
        for (int copies : {1, 3, 40}) {
            SCOPED_TRACE(copies);
            QStringList texts;
            PackedLines lines;
            quint32 seed = 7;
            for (int c = 0; c < copies; ++c)
                for (qsizetype k = 0; k < keys.size(); ++k) {
                    seed = seed * 1103515245u + 12345u;
                    // Shuffled, with one line in each round past Latin-1 when asked.
                    QString t = keys[qsizetype((seed >> 16) % quint32(keys.size()))];
                    if (wide && k == 0)
                        t += QChar(u'\u20AC');
                    texts << t;
                    lines.append(t, texts.size());
                }
            std::vector<quint32> expected(size_t(texts.size()));
            std::iota(expected.begin(), expected.end(), 0u);
            std::stable_sort(expected.begin(), expected.end(),
                             [&](quint32 a, quint32 b) { return orv::platform::compareTextAZ(texts[a], texts[b]) < 0; });
            EXPECT_EQ(lines.sortedOrder(), expected) << "wide " << wide;
        }
    }
}

TEST(PackedLines, LinesTakenBackAndOneByteLines)
{
    // Lines added one byte a character read, compare and sort as the same added as text;
    // truncate() keeps the first lines, also across blocks.
    PackedLines lines;
    QStringList texts;
    for (int i = 0; i < 30000; ++i) {
        const QString t = u"riga %1 "_qs.arg(i % 977) + QString(i % 90, u'\u00E8');
        texts << t;
        const QByteArray latin1 = t.toLatin1();
        if (i % 2)
            lines.append(QLatin1StringView(latin1), i);
        else
            lines.append(t, i);
    }
    ASSERT_GT(lines.bytes(), 2 << 20); // more than one block
    for (qsizetype keep : {qsizetype(30000), qsizetype(29999), qsizetype(12345), qsizetype(1), qsizetype(0)}) {
        lines.truncate(keep);
        texts = texts.mid(0, keep);
        ASSERT_EQ(lines.size(), keep);
        for (qsizetype i = 0; i < keep; i += 97)
            ASSERT_EQ(lines.text(i), texts[i]);
        std::vector<quint32> expected(static_cast<size_t>(keep));
        std::iota(expected.begin(), expected.end(), 0u);
        std::stable_sort(expected.begin(), expected.end(),
                         [&](quint32 a, quint32 b) { return orv::platform::compareTextAZ(texts[a], texts[b]) < 0; });
        EXPECT_EQ(lines.sortedOrder(), expected);
        lines.append(u"dopo"_qs, -1);
        texts << u"dopo"_qs;
        EXPECT_EQ(lines.text(keep), u"dopo"_qs);
        lines.truncate(keep);
        texts.removeLast();
    }
}
