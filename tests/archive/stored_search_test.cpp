// The search and the line builder that read the stored bytes of a record must give what
// the criteria rule and LineBuilder give on the decoded fields, for any record: damaged
// length bytes, blanks and control bytes around the text, every Windows-1252 byte, and
// criteria with characters no field can hold.
#include <gtest/gtest.h>

#include <QFile>

#include <sys/wait.h>
#include <unistd.h>

#include "archive/helpers.h"
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

void storedLineInto(StoredLineBuilder& b)
{
    b.col(0, 4).lit(u" | ").col(1, 3).lit(u"€").col(2, 12).lit(u" ").last(0);
}

QString storedLine(const QByteArray& r)
{
    StoredLineBuilder b(layout(), r);
    storedLineInto(b);
    return b.str();
}

// The same line through the one-byte path: no character past Latin-1 in the literals.
QString storedLatin1Line(const QByteArray& r)
{
    return StoredLineBuilder(layout(), r).col(0, 4).lit(u" | ").col(1, 3).lit(u"\u00e8").col(2, 12).rest(0);
}

QString decodedLatin1Line(const QByteArray& r)
{
    const QStringList v = layout().decode(r);
    return LineBuilder().col(v[0], 4).lit(u" | ").col(v[1], 3).lit(u"\u00e8").col(v[2], 12).rest(v[0]);
}

// Two fields and a literal as one column, cut or padded as a whole, before and after a
// character past Latin-1.
QString decodedJoinedLine(const QByteArray& r, int width, bool wide)
{
    const QStringList v = layout().decode(r);
    LineBuilder b;
    b.lit(wide ? u"€ "_qs : u"n. "_qs).lit(Sinistra(v[0] + u" del "_qs + v[2] + QString(width, u' '), width));
    return b.col(v[1], 2).rest(v[2]);
}

QString storedJoinedLine(const QByteArray& r, int width, bool wide)
{
    StoredLineBuilder b(layout(), r);
    b.lit(wide ? u"€ "_qs : u"n. "_qs);
    const qsizetype at = b.length();
    b.text(0).lit(u" del ").text(2).fit(at, width);
    return b.col(1, 2).rest(2);
}

} // namespace

TEST(StoredRecords, FieldsJoinedInOneColumnAsOnTheDecodedFields)
{
    quint32 seed = 5;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray r = randomRecord(seed);
        // Widths from none to past the longest join (6 + 5 + 12).
        for (int width : {0, 1, 5, 6, 11, 12, 23, 24, 30})
            for (bool wide : {false, true})
                ASSERT_EQ(storedJoinedLine(r, width, wide), decodedJoinedLine(r, width, wide)) << i << " " << width;
    }
}

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
        ASSERT_EQ(storedLatin1Line(records.last()), decodedLatin1Line(records.last())) << i;
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
    orv::platform::ArchiveFile f(folder.file(u"s.pro"_qs), layout().size());
    f.open();
    for (const QStringList& c : criteria) {
        ResultList out(false);
        search(f, layout(), c, {0, 1, 2}, out, storedLine);
        ResultList built(false);
        search(f, layout(), c, {0, 1, 2}, built, StoredLine(storedLineInto));
        ASSERT_EQ(built.size(), out.size());
        for (qsizetype i = 0; i < out.size(); ++i)
            ASSERT_EQ(built.at(i).text, out.at(i).text);
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

namespace {

// Runs `body` in another process and waits for it: another workstation acting while
// the search is under way.
void inAnotherProcess(const std::function<void()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            body();
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace

TEST(StoredRecords, ASearchWhileAnotherProcessAppendsOrCutsTheArchive)
{
    // The search lists the records counted when it starts: records appended meanwhile
    // are not read. A file cut short under the search by a program that ignores the
    // record locks fails the search, never the process, and no line is of a record read
    // after the cut. Cuts at many records, inside records and pages, over archives of
    // several sizes.
    orv::test::ProgramFolder folder;
    const QString path = folder.file(u"s.pro"_qs);
    const qint64 size = layout().size();
    for (int count : {1, 2, 190, 3000}) {
        for (int at : {0, 1, count / 2, count - 1}) {
            if (at >= count)
                continue;
            for (int event = 0; event < 3; ++event) { // 0 append, 1 cut on a record, 2 cut inside one
                SCOPED_TRACE(QString(u"count %1 at %2 event %3"_qs).arg(count).arg(at).arg(event).toStdString());
                quint32 seed = quint32(count * 31 + at);
                QList<QByteArray> records;
                QByteArray bytes;
                for (int i = 0; i < count; ++i) {
                    records.append(randomRecord(seed));
                    bytes += records.last();
                }
                {
                    QFile f(path);
                    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
                    f.write(bytes);
                }
                const qint64 cut = event == 1 ? qint64(at / 2) * size : qint64(at / 2) * size + size / 2 + 1;
                orv::platform::ArchiveFile f(path, size);
                f.open();
                ResultList out(false);
                bool failed = false;
                qint64 built = 0;
                try {
                    search(f, layout(), {QString(), QString(), QString()}, {0, 1, 2}, out,
                           StoredLine([&](StoredLineBuilder& b) {
                               storedLineInto(b);
                               if (built++ != at)
                                   return;
                               if (event == 0) {
                                   inAnotherProcess([&] {
                                       orv::platform::ArchiveFile other(path, size);
                                       other.open();
                                       for (int i = 0; i < 5; ++i)
                                           other.append(records[i % records.size()]);
                                   });
                               } else {
                                   inAnotherProcess([&] {
                                       if (::truncate(QFile::encodeName(path).constData(), off_t(cut)) != 0)
                                           throw std::runtime_error("truncate");
                                   });
                               }
                           }));
                } catch (const orv::platform::ArchiveError&) {
                    failed = true;
                }
                if (event == 0) {
                    EXPECT_FALSE(failed);
                    ASSERT_EQ(out.size(), count);
                } else {
                    // Lines of records wholly before the cut only, each as its record gives it.
                    EXPECT_EQ(failed, cut < qint64(count) * size);
                    EXPECT_LE(out.size(), cut / size);
                }
                for (const ResultLine& l : out.lines())
                    ASSERT_EQ(l.text, storedLine(records[l.record])) << l.record;
            }
        }
    }
}
