// Records held in place for a search: they read as the file's records, and a file cut
// short under them by a program that ignores the record locks neither stops the process
// nor passes for intact.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/core/archivefile.h"

using orv::platform::ArchiveFile;
using orv::platform::RecordBlock;

namespace {

QByteArray records(qint64 size, qint64 count)
{
    QByteArray bytes(size * count, Qt::Uninitialized);
    for (qint64 i = 0; i < bytes.size(); ++i)
        bytes[i] = char('A' + (i / size) % 26 + (i % size == 0 ? 32 : 0));
    return bytes;
}

// Cuts the file to `length` bytes from another process, as another program would.
void cutFromAnotherProcess(const QString& path, qint64 length)
{
    const QByteArray name = QFile::encodeName(path);
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(::truncate(name.constData(), off_t(length)) == 0 ? 0 : 1);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace

TEST(RecordBlock, HeldRecordsReadAsTheFileAndACutIsToldNotCrashed)
{
    // Records smaller than a page, one a page, across pages; files of one record to many
    // pages; cuts to nothing, inside the first record, inside a page, on a page
    // boundary, and one byte short.
    for (qint64 size : {qint64(22), qint64(4096), qint64(3478), qint64(9001)}) {
        for (qint64 count : {qint64(1), qint64(7), qint64(300)}) {
            const qint64 total = size * count;
            for (qint64 cut : {qint64(0), size / 2, total / 2, total / 4096 * 4096, total - 1, total}) {
                SCOPED_TRACE(QString(u"size %1 count %2 cut %3"_qs).arg(size).arg(count).arg(cut).toStdString());
                QTemporaryDir dir;
                const QString path = dir.filePath(u"a.pro"_qs);
                const QByteArray bytes = records(size, count);
                {
                    QFile f(path);
                    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                    ASSERT_EQ(f.write(bytes), bytes.size());
                }
                ArchiveFile file(path, size);
                file.open();
                // Also a block that starts inside the file.
                const qint64 from = count > 2 ? 1 : 0;
                file.seek(from);
                RecordBlock block = file.holdRecords(count);
                ASSERT_EQ(block.count(), count - from);
                EXPECT_EQ(file.position(), count);
                for (qint64 r = 0; r < block.count(); ++r)
                    ASSERT_EQ(QByteArray(block.record(r), size), bytes.mid((from + r) * size, size)) << r;
                EXPECT_TRUE(block.intact());

                cutFromAnotherProcess(path, cut);
                // Every byte of the block is read after the cut: no bus error ends the test.
                quint64 sum = 0;
                for (qint64 r = 0; r < block.count(); ++r)
                    for (qint64 i = 0; i < size; ++i)
                        sum += static_cast<unsigned char>(block.record(r)[i]);
                EXPECT_GE(sum, 0u);
                EXPECT_EQ(block.intact(), cut >= total);
                block = RecordBlock();
                // Past the cut nothing more is held.
                file.seek(cut / size);
                EXPECT_TRUE(file.holdRecords(5).isEmpty());
            }
        }
    }
}

TEST(RecordBlock, AHeldBlockKeepsWritersOutUntilLetGo)
{
    // A workstation saving a held record waits; past the bounded wait it is told the
    // record is in use and writes nothing. Once the block is let go the save goes through.
    constexpr qint64 kSize = 64;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.pro"_qs);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(records(kSize, 10));
    }
    orv::platform::setArchiveLockWait(std::chrono::milliseconds(50));
    ArchiveFile reader(path, kSize);
    reader.open();
    reader.seek(2);
    RecordBlock block = reader.holdRecords(3);
    ASSERT_EQ(block.count(), 3);
    ArchiveFile writer(path, kSize);
    writer.open();
    writer.seek(3);
    try {
        writer.write(QByteArray(kSize, 'w'));
        ADD_FAILURE() << "wrote into a held record";
    } catch (const orv::platform::ArchiveError& e) {
        EXPECT_TRUE(e.inUse());
    }
    EXPECT_EQ(QByteArray(block.record(1), kSize), records(kSize, 10).mid(3 * kSize, kSize));
    // Records outside the block are free.
    writer.seek(5);
    writer.write(QByteArray(kSize, 'v'));
    block = RecordBlock();
    writer.seek(3);
    writer.write(QByteArray(kSize, 'w'));
    orv::platform::setArchiveLockWait(orv::platform::kArchiveLockWait);
    reader.seek(3);
    EXPECT_EQ(reader.read(), QByteArray(kSize, 'w'));
}
