// The search and the line builder that read the stored bytes of a record must give what
// the criteria rule and LineBuilder give on the decoded fields, for any record: damaged
// length bytes, blanks and control bytes around the text, every Windows-1252 byte, and
// criteria with characters no field can hold.
#include <gtest/gtest.h>

#include <QFile>

#include "archive/lists.h"
#include "doubles.h"
#include "platform/core/cp1252.h"

using namespace orv::archive;

namespace {

const RecordLayout& layout()
{
    static const RecordLayout l{{u"A"_qs, 6}, {u"B"_qs, 1}, {u"C"_qs, 12}};
    return l;
}

// Random records from few byte values, so that criteria often match: letters of both
// cases, blanks, a control byte, accented and high Windows-1252 bytes; length bytes past
// the width now and then.
QByteArray randomRecord(quint32& seed)
{
    static const unsigned char alphabet[] = {'a', 'A', 'b', 'B', ' ', 0x01, 0xE8, 0xC8, 0x80, 0x93, 0x81, 'z', 'Z'};
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    QByteArray rec(layout().size(), '\0');
    for (int f = 0; f < layout().fieldCount(); ++f) {
        char* at = rec.data() + layout().offset(f);
        const int width = layout().field(f).width;
        at[0] = char(next() % 8 == 0 ? 200 + next() % 56 : next() % (width + 1));
        for (int i = 1; i <= width; ++i) at[i] = char(alphabet[next() % std::size(alphabet)]);
    }
    return rec;
}

QString decodedLine(const QByteArray& r)
{
    const QStringList v = layout().decode(r);
    return LineBuilder().col(v[0], 4).lit(u" | ").col(v[1], 3).lit(u"€").col(v[2], 12).lit(u" ").rest(v[0]);
}

QString storedLine(const QByteArray& r)
{
    return StoredLineBuilder(layout(), r).col(0, 4).lit(u" | ").col(1, 3).lit(u"€").col(2, 12).lit(u" ").rest(0);
}

} // namespace

TEST(StoredRecords, LinesAndCriteriaAsOnTheDecodedFields)
{
    orv::test::ProgramFolder folder;
    quint32 seed = 99;
    QList<QByteArray> records;
    QByteArray file;
    for (int i = 0; i < 3000; ++i) {
        records.append(randomRecord(seed));
        file += records.last();
        ASSERT_EQ(storedLine(records.last()), decodedLine(records.last())) << i;
    }
    {
        QFile f(folder.file(u"s.pro"_qs));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file);
    }
    const QStringList criteria[] = {
        {u"a"_qs, QString(), QString()}, {u"AB"_qs, QString(), u"b"_qs}, {u" a"_qs, QString(), QString()},
        {u"è"_qs, QString(), QString()}, {u"È"_qs, u"a"_qs, QString()}, {QString(), QString(), u"€"_qs},
        {QString(), QString(), u"\u201C"_qs}, {u"\u0081"_qs, QString(), QString()},
        {u"ą"_qs, QString(), QString()},      // no Windows-1252 byte: no field holds it
        {u"  "_qs, QString(), u"zZ"_qs},      // blanks only: not in use
        {u"a a"_qs, QString(), u"\u0001"_qs}, {QString(), QString(), QString()},
    };
    orv::ArchiveFile f(folder.file(u"s.pro"_qs), layout().size());
    f.open();
    for (const QStringList& c : criteria) {
        ResultList out(false);
        search(f, layout(), c, {0, 1, 2}, out, storedLine);
        QList<qint64> expected;
        for (int i = 0; i < records.size(); ++i) {
            const QStringList v = layout().decode(records[i]);
            if (CriteriSoddisfatti(c, v)) expected.append(i);
        }
        QList<qint64> listed;
        for (const ResultLine& l : out.lines()) listed.append(l.record);
        EXPECT_EQ(listed, expected) << c.join(u'|').toStdString();
    }
}
