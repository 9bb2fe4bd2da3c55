// Archive files shared between workstations: locked reads and writes, flushed writes,
// appends through a write at the end, and a full disk told apart from other failures.
#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/core/archivefile.h"

using orv::platform::ArchiveError;
using orv::platform::ArchiveFile;

namespace {

// Counters the helper processes share with the test.
struct Shared {
    std::atomic<int> stop{0};
    std::atomic<long> loads{0};
    std::atomic<long> mixed{0};
    std::atomic<long> writes{0};
    std::atomic<long> failures{0};
};

class SharedBlock {
public:
    SharedBlock()
    {
        void* p = ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        shared = p == MAP_FAILED ? nullptr : new (p) Shared;
    }
    ~SharedBlock()
    {
        if (shared)
            ::munmap(shared, sizeof(Shared));
    }
    Shared* shared;
};

// Runs `body` in a child process; the child never returns into the test.
pid_t helper(const std::function<void()>& body)
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
    return pid;
}

int waitFor(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Guards the helpers against a hang, not a speed figure.
bool pastGuard(std::chrono::steady_clock::time_point start)
{
    return std::chrono::steady_clock::now() - start > std::chrono::seconds(60);
}

void putFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

} // namespace

// One workstation re-saves a card over and over, alternating two contents, while two
// others load it: every load is wholly one content or the other. The record is longer
// than a page and starts inside one, so it crosses page boundaries.
TEST(ArchiveLock, ReadersNeverSeeARecordHalfOverwritten)
{
    constexpr qint64 kSize = 9001;
    constexpr long kLoadsPerReader = 50000;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Clienti.pro"_qs);
    putFile(path, QByteArray(3 * kSize, 'A'));
    SharedBlock block;
    Shared* s = block.shared;
    ASSERT_NE(s, nullptr);

    const pid_t writer = helper([&] {
        const auto start = std::chrono::steady_clock::now();
        for (long n = 0; !s->stop.load() && !pastGuard(start); ++n) {
            ArchiveFile f(path, kSize);
            f.open();
            f.seek(1);
            f.write(QByteArray(kSize, n % 2 ? 'A' : 'B'));
            f.close();
            ++s->writes;
        }
    });
    QList<pid_t> readers;
    for (int r = 0; r < 2; ++r)
        readers.append(helper([&] {
            const auto start = std::chrono::steady_clock::now();
            for (long n = 0; n < kLoadsPerReader && !pastGuard(start); ++n) {
                ArchiveFile f(path, kSize);
                f.open();
                f.seek(1);
                const QByteArray rec = f.read();
                f.close();
                ++s->loads;
                if (rec.count(rec.at(0)) != rec.size())
                    ++s->mixed;
            }
        }));
    for (pid_t r : readers)
        EXPECT_EQ(waitFor(r), 0);
    s->stop = 1;
    EXPECT_EQ(waitFor(writer), 0);

    EXPECT_EQ(s->mixed.load(), 0) << "of " << s->loads.load() << " loads, " << s->writes.load() << " saves";
    EXPECT_GT(s->loads.load(), 0);
    EXPECT_GT(s->writes.load(), 1);
}

// Four workstations save new cards the way a window does: the record buffer filled
// after the card was counted, then appended. Each lands at the real end, whatever another
// workstation appended in between.
TEST(ArchiveLock, WritesAtTheEndFromFourProcessesKeepEveryRecord)
{
    constexpr qint64 kSize = 64;
    constexpr int kWriters = 4;
    constexpr int kPerWriter = 250;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Clienti.pro"_qs);
    auto recordOf = [](int writer, int seq) {
        QByteArray r = QByteArray::number(writer) + '/' + QByteArray::number(seq) + ';';
        return r.leftJustified(kSize, '.');
    };

    QList<pid_t> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.append(helper([&, w] {
            for (int seq = 0; seq < kPerWriter; ++seq) {
                ArchiveFile f(path, kSize);
                f.open();
                f.seek(f.count());
                ::usleep(100); // the window fills its record buffer meanwhile
                f.append(recordOf(w, seq));
                f.close();
            }
        }));
    for (pid_t w : writers)
        EXPECT_EQ(waitFor(w), 0);

    ArchiveFile f(path, kSize);
    f.open();
    QSet<QByteArray> seen;
    for (qint64 i = 0; i < f.count(); ++i)
        seen.insert(f.read());
    EXPECT_EQ(f.count(), kWriters * kPerWriter);
    for (int w = 0; w < kWriters; ++w)
        for (int seq = 0; seq < kPerWriter; ++seq)
            ASSERT_TRUE(seen.contains(recordOf(w, seq))) << "writer " << w << " record " << seq << " lost";
}

// A write goes by its index: after reading the last record, another workstation's
// append is overwritten only by a write that means that record; append() never is.
TEST(ArchiveLock, WriteGoesByIndexAndAppendToTheRealEnd)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.pro"_qs);
    putFile(path, QByteArray(8, 'a'));
    ArchiveFile mine(path, 8);
    mine.open();
    mine.read(); // now at index 1, the count
    ArchiveFile other(path, 8);
    other.open();
    EXPECT_EQ(other.append(QByteArray(8, 'b')), 1);
    EXPECT_EQ(mine.append(QByteArray(8, 'c')), 2); // not over the other's record
    mine.seek(1);
    EXPECT_EQ(mine.read(), QByteArray(8, 'b'));
    EXPECT_EQ(mine.write(QByteArray(8, 'd')), 2); // a record there: overwritten in place
    EXPECT_EQ(mine.count(), 3);
}

// The write calls of archive files, replaced for one test.
namespace {

struct Calls {
    static inline int writes = 0;   // pwrite and write calls
    static inline int syncs = 0;    // fdatasync calls
    static inline int syncedAfter = 0; // write calls seen by the last fdatasync
    static inline int failSync = 0;    // errno for fdatasync, 0 to pass
    static inline QList<int> writeFaults; // one per write call: 0 passes, -1 writes half, else errno

    static ssize_t fault(int fd, const void* data, size_t bytes, off_t offset, bool append)
    {
        ++writes;
        const int f = writeFaults.isEmpty() ? 0 : writeFaults.takeFirst();
        if (f > 0) {
            errno = f;
            return -1;
        }
        const size_t n = f < 0 ? bytes / 2 : bytes;
        return append ? ::write(fd, data, n) : ::pwrite(fd, data, n, offset);
    }
    static ssize_t pwrite(int fd, const void* data, size_t bytes, off_t offset)
    {
        return fault(fd, data, bytes, offset, false);
    }
    static ssize_t write(int fd, const void* data, size_t bytes) { return fault(fd, data, bytes, 0, true); }
    static int fdatasync(int fd)
    {
        ++syncs;
        syncedAfter = writes;
        if (failSync) {
            errno = failSync;
            return -1;
        }
        return ::fdatasync(fd);
    }
};

class ArchiveWrites : public ::testing::Test {
protected:
    ArchiveWrites()
    {
        Calls::writes = Calls::syncs = Calls::syncedAfter = Calls::failSync = 0;
        Calls::writeFaults.clear();
        static const orv::platform::ArchiveWriteCalls calls{Calls::pwrite, Calls::write, Calls::fdatasync};
        orv::platform::setArchiveWriteCalls(&calls);
        putFile(path, QByteArray(16, 'a'));
        file.open();
    }
    ~ArchiveWrites() override { orv::platform::setArchiveWriteCalls(nullptr); }

    QByteArray bytes() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString path = dir.filePath(u"a.pro"_qs);
    ArchiveFile file{path, 8};
};

// How a failing write is reported, for a write in place and for an append.
int failureOf(ArchiveFile& file, bool append)
{
    try {
        if (append) {
            file.append(QByteArray(8, 'z'));
        } else {
            file.seek(0);
            file.write(QByteArray(8, 'z'));
        }
    } catch (const ArchiveError& e) {
        return e.diskFull() ? -e.error() : e.error();
    }
    return 0;
}

} // namespace

TEST_F(ArchiveWrites, EveryWriteIsFlushedBeforeItReturns)
{
    file.seek(1);
    file.write(QByteArray(8, 'b'));
    EXPECT_EQ(Calls::syncs, 1);
    EXPECT_EQ(Calls::syncedAfter, Calls::writes);
    file.append(QByteArray(8, 'c'));
    EXPECT_EQ(Calls::syncs, 2);
    EXPECT_EQ(Calls::syncedAfter, Calls::writes);
    file.seek(3);
    file.write(QByteArray(8, 'd')); // at the end
    EXPECT_EQ(Calls::syncs, 3);
    EXPECT_EQ(Calls::syncedAfter, Calls::writes);
    EXPECT_EQ(bytes(), QByteArray(8, 'a') + QByteArray(8, 'b') + QByteArray(8, 'c') + QByteArray(8, 'd'));
}

TEST_F(ArchiveWrites, AFailedFlushFailsTheWrite)
{
    Calls::failSync = EIO;
    EXPECT_EQ(failureOf(file, false), EIO);
    EXPECT_EQ(failureOf(file, true), EIO);
    Calls::failSync = ENOSPC; // space reserved late, as network file systems do
    EXPECT_EQ(failureOf(file, false), -ENOSPC);
    EXPECT_EQ(failureOf(file, true), -ENOSPC);
    // An append reported failed leaves no record behind to be saved a second time.
    EXPECT_EQ(bytes().size(), 16);
    EXPECT_EQ(file.count(), 2);
}

// A full disk reports itself as such, whether the write fails at once or is cut short
// and its rest fails; every other failure keeps its own cause.
TEST_F(ArchiveWrites, AFullDiskIsToldApart)
{
    struct Case {
        QList<int> faults;
        bool append;
        int expected; // negative: a full disk with that errno
    };
    const Case cases[] = {
        {{ENOSPC}, false, -ENOSPC},     {{ENOSPC}, true, -ENOSPC},   {{-1, ENOSPC}, false, -ENOSPC},
        {{-1, ENOSPC}, true, -ENOSPC},  {{EDQUOT}, false, -EDQUOT},  {{EIO}, false, EIO},
        {{EFBIG}, true, EFBIG},         {{-1, EIO}, true, EIO},      {{-1, 0}, false, 0},
        {{-1, 0}, true, 0},
    };
    for (const Case& c : cases) {
        Calls::writeFaults = c.faults;
        EXPECT_EQ(failureOf(file, c.append), c.expected) << "faults " << c.faults.value(0) << ", "
                                                         << c.faults.value(1) << (c.append ? " append" : "");
    }
    // A write cut short and then completed leaves whole records behind.
    EXPECT_EQ(bytes().size() % 8, 0);
    EXPECT_TRUE(bytes().endsWith(QByteArray(8, 'z')));
}
