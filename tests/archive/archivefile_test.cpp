#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "archive/record.h"
#include "doubles.h"
#include "platform/core/archivefile.h"

using orv::platform::ArchiveError;
using orv::platform::ArchiveFile;

namespace {

QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void putBytes(const QString& path, const QByteArray& b)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(b);
}

QByteArray rec(char c, int size = 8) { return QByteArray(size, c); }

} // namespace

TEST(ArchiveFile, MissingFileIsCreatedEmpty)
{
    orv::test::ProgramFolder folder;
    const QString path = folder.file(u"Clienti.pro"_qs);
    ArchiveFile f(path, 8);
    f.open();
    EXPECT_EQ(f.count(), 0);
    f.close();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile(path).size(), 0);
}

TEST(ArchiveFile, ReadWriteSeekAndCount)
{
    orv::test::ProgramFolder folder;
    const QString path = folder.file(u"a.pro"_qs);
    ArchiveFile f(path, 8);
    f.open();
    EXPECT_EQ(f.write(rec('a')), 0); // at the count: appended
    EXPECT_EQ(f.append(rec('b')), 1);
    EXPECT_EQ(f.position(), 2);
    f.seek(0);
    EXPECT_EQ(f.write(rec('c')), 0); // over record 0 only
    EXPECT_EQ(f.position(), 1);
    EXPECT_EQ(f.read(), rec('b'));
    EXPECT_EQ(f.position(), 2);
    EXPECT_THROW(f.read(), ArchiveError);
    f.seek(2); // the end itself is a valid place to write
    EXPECT_THROW(f.seek(3), ArchiveError);
    EXPECT_THROW(f.seek(-1), ArchiveError);
    EXPECT_THROW(f.write(rec('x', 7)), ArchiveError);
    f.close();
    EXPECT_EQ(bytes(path), rec('c') + rec('b')); // nothing extended by the failed seeks
}

// seek and write go by the index given, whatever the file held when it was counted: after
// an append to record k, seek(k) and write() overwrite record k, for every count.
TEST(ArchiveFile, SeekAndWriteAddressTheRecordOfTheIndex)
{
    orv::test::ProgramFolder folder;
    for (int k = 0; k <= 9; ++k) {
        const QString path = folder.file(u"a%1.pro"_qs.arg(k));
        QByteArray expected;
        for (int i = 0; i < k; ++i) expected += rec(char('a' + i));
        putBytes(path, expected);
        ArchiveFile f(path, 8);
        f.open();
        ASSERT_EQ(f.count(), k);
        EXPECT_EQ(f.append(rec('X')), k);
        f.seek(k);
        EXPECT_EQ(f.write(rec('Y')), k); // record k overwritten, not a copy appended
        EXPECT_EQ(f.position(), k + 1);
        EXPECT_EQ(f.count(), k + 1);
        // An index read up to the count, then another handle appends: the write still
        // reaches the record of its index.
        f.seek(k);
        f.read();
        ArchiveFile other(path, 8);
        other.open();
        EXPECT_EQ(other.append(rec('Z')), k + 1);
        f.seek(k + 1);
        EXPECT_EQ(f.write(rec('W')), k + 1);
        EXPECT_EQ(f.count(), k + 2);
        f.close();
        EXPECT_EQ(bytes(path), expected + rec('Y') + rec('W'));
    }
}

namespace {

QStringList gFlushedFolders;

int recordingFsync(int fd)
{
    gFlushedFolders.append(QFile::symLinkTarget(u"/proc/self/fd/%1"_qs.arg(fd)));
    return ::fsync(fd);
}

} // namespace

// Two workstations checking a new document's number must not both find it free: the
// check an append is given runs while no other process can append, even after it has
// read the whole archive through the same handle.
TEST(ArchiveFile, AnAppendsCheckRunsWhileNoOtherWorkstationCanAppend)
{
    orv::test::ProgramFolder folder;
    const QString path = folder.file(u"n.pro"_qs);
    for (const int records : {0, 1, 3, 300}) {
        putBytes(path, QByteArray(records * 8, 'x'));
        ArchiveFile f(path, 8);
        f.open();
        bool blocked = false;
        const qint64 written = f.append(rec('n'), [&] {
            f.seek(0);
            while (!f.readRecords(256).isEmpty()) {
            }
            const pid_t child = ::fork();
            if (child == 0) {
                const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR);
                struct flock l {};
                l.l_type = F_WRLCK;
                l.l_whence = SEEK_SET;
                l.l_start = off_t(records) * 8;
                l.l_len = 0;
                if (fd < 0 || ::fcntl(fd, F_GETLK, &l) != 0) _exit(99);
                _exit(l.l_type);
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            blocked = WIFEXITED(status) && WEXITSTATUS(status) == F_WRLCK;
            if (!blocked) ADD_FAILURE() << "child status " << status;
            return records != 3;
        });
        EXPECT_TRUE(blocked) << records;
        EXPECT_EQ(written, records == 3 ? -1 : records) << records;
        EXPECT_EQ(f.count(), records == 3 ? 3 : records + 1) << records;
    }
}

// A new archive's folder is flushed, so the new name survives a power cut with its first
// card; opening an existing archive flushes no folder.
TEST(ArchiveFile, CreatingAnArchiveFlushesItsFolder)
{
    orv::test::ProgramFolder folder;
    static const orv::platform::ArchiveWriteCalls calls{::pwrite, ::write, ::fdatasync, recordingFsync};
    orv::platform::setArchiveWriteCalls(&calls);
    gFlushedFolders.clear();
    const QString path = folder.file(u"Clienti.pro"_qs);
    {
        ArchiveFile f(path, 8);
        f.open();
        f.append(rec('a'));
    }
    {
        ArchiveFile f(path, 8);
        f.open();
    }
    orv::platform::setArchiveWriteCalls(nullptr);
    EXPECT_EQ(gFlushedFolders, QStringList{QFileInfo(folder.dir.path()).canonicalFilePath()});
}

TEST(ArchiveFile, PartialLastRecordIsNotCountedAndTheNextAppendTakesItsPlace)
{
    orv::test::ProgramFolder folder;
    const QString path = folder.file(u"a.pro"_qs);
    putBytes(path, rec('a') + rec('b') + QByteArray("xyz"));
    ArchiveFile f(path, 8);
    f.open();
    EXPECT_EQ(f.count(), 2);
    f.seek(2);
    EXPECT_THROW(f.read(), ArchiveError); // the partial record is never read as a record
    EXPECT_EQ(f.append(rec('c')), 2);
    EXPECT_EQ(f.append(rec('d')), 3);
    f.close();
    EXPECT_EQ(bytes(path), rec('a') + rec('b') + rec('c') + rec('d'));
}

TEST(ArchiveFile, AFileThatCannotBeOpenedIsLeftUntouched)
{
    orv::test::ProgramFolder folder;
    const QString path = folder.file(u"a.pro"_qs);
    putBytes(path, rec('a') + rec('b'));
    ASSERT_EQ(chmod(QFile::encodeName(folder.dir.path()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0444), 0);
    {
        const orv::test::Unprivileged nobody;
        ArchiveFile f(path, 8);
        EXPECT_THROW(f.open(), ArchiveError);
        EXPECT_FALSE(f.isOpen());
    }
    EXPECT_EQ(bytes(path), rec('a') + rec('b'));
}

TEST(ArchiveFile, ReadOnlyFolderCreatesNothingAndKeepsItsArchives)
{
    orv::test::ProgramFolder folder;
    const QString dir = folder.file(u"prog"_qs);
    ASSERT_EQ(mkdir(QFile::encodeName(dir).constData(), 0755), 0);
    const QString existing = dir + u"/Clienti.pro"_qs;
    putBytes(existing, rec('a'));
    ASSERT_EQ(chmod(QFile::encodeName(existing).constData(), 0666), 0);
    ASSERT_EQ(chmod(QFile::encodeName(folder.dir.path()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(dir).constData(), 0555), 0);
    {
        const orv::test::Unprivileged nobody;
        ArchiveFile missing(dir + u"/Contratti.pro"_qs, 8);
        EXPECT_THROW(missing.open(), ArchiveError);
        // A writable archive in a read-only folder still works: the folder is not needed.
        ArchiveFile f(existing, 8);
        f.open();
        EXPECT_EQ(f.append(rec('b')), 1);
        f.close();
    }
    EXPECT_FALSE(QFile::exists(dir + u"/Contratti.pro"_qs));
    EXPECT_EQ(bytes(existing), rec('a') + rec('b'));
    chmod(QFile::encodeName(dir).constData(), 0755);
}

TEST(ArchiveFile, FolderInPlaceOfTheFileFails)
{
    orv::test::ProgramFolder folder;
    ASSERT_EQ(mkdir(QFile::encodeName(folder.file(u"a.pro"_qs)).constData(), 0755), 0);
    ArchiveFile f(folder.file(u"a.pro"_qs), 8);
    EXPECT_THROW(f.open(), ArchiveError);
}

// Two workstations saving new cards at once: each process opens, appends one record and
// closes, as a Save does, many times over, while the other does the same.
namespace {

const orv::archive::RecordLayout& appendLayout()
{
    static const orv::archive::RecordLayout l{{u"Writer"_qs, 5}, {u"Seq"_qs, 10}, {u"Body1"_qs, 250},
                                              {u"Body2"_qs, 250}, {u"Body3"_qs, 250}};
    return l;
}

QStringList appendValues(const QString& writer, int seq)
{
    const QString body = (writer + u'-' + QString::number(seq) + u';').repeated(30).left(250);
    return {writer, QString::number(seq), body, body, body};
}

constexpr int kAppendsPerWriter = 400;

} // namespace

TEST(AppendHelperProcess, Writer)
{
    const QString path = qEnvironmentVariable("ORV_APPEND_FILE");
    const QString writer = qEnvironmentVariable("ORV_APPEND_WRITER");
    if (path.isEmpty())
        GTEST_SKIP() << "runs only as the helper process of ArchiveFile.TwoProcessesAppendingAtOnce";
    const QString go = path + u".go"_qs;
    for (int i = 0; i < 10000 && !QFile::exists(go); ++i)
        QThread::msleep(1);
    for (int seq = 0; seq < kAppendsPerWriter; ++seq) {
        ArchiveFile f(path, appendLayout().size());
        f.open();
        f.append(appendLayout().encode(appendValues(writer, seq)));
        f.close();
    }
}

TEST(ArchiveFile, TwoProcessesAppendingAtOnce)
{
    orv::test::ProgramFolder folder;
    const QString path = folder.file(u"Clienti.pro"_qs);
    QList<QProcess*> helpers;
    for (const QString& writer : {u"A"_qs, u"B"_qs}) {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"ORV_APPEND_FILE"_qs, path);
        env.insert(u"ORV_APPEND_WRITER"_qs, writer);
        p->setProcessEnvironment(env);
        p->start(QCoreApplication::applicationFilePath(), {u"--gtest_filter=AppendHelperProcess.Writer"_qs});
        ASSERT_TRUE(p->waitForStarted());
        helpers.append(p);
    }
    putBytes(path + u".go"_qs, "go");
    for (QProcess* p : helpers) {
        EXPECT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAll().toStdString();
        delete p;
    }

    ArchiveFile f(path, appendLayout().size());
    f.open();
    ASSERT_EQ(f.count(), 2 * kAppendsPerWriter);
    EXPECT_EQ(QFile(path).size(), 2 * kAppendsPerWriter * appendLayout().size());
    QSet<QString> seen;
    for (qint64 i = 0; i < f.count(); ++i) {
        const QStringList v = appendLayout().decode(f.read());
        ASSERT_EQ(v, appendValues(v[0], v[1].toInt())) << "record " << i << " damaged";
        seen.insert(v[0] + u'/' + v[1]);
    }
    EXPECT_EQ(seen.size(), 2 * kAppendsPerWriter);
}
