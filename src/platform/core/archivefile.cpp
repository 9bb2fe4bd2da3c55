#include "platform/core/archivefile.h"

#include "platform/core/filemap.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <thread>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::platform {

ArchiveError::ArchiveError(const QString& what, int error)
    : std::runtime_error(what.toStdString()), error_(error)
{
}

bool ArchiveError::diskFull() const { return error_ == ENOSPC || error_ == EDQUOT; }

bool ArchiveError::inUse() const { return error_ == kInUse; }

namespace {

constexpr ArchiveWriteCalls kSystemCalls{::pwrite, ::write, ::fdatasync, ::fsync};
ArchiveWriteCalls gCalls = kSystemCalls;

std::chrono::milliseconds gLockWait = kArchiveLockWait;

// Holds a POSIX record lock on a byte range for the length of one read or write.
// Open-file-description locks belong to the open file, not to the process, so two
// archive files of one process exclude each other like two workstations do, and closing
// another handle of the same file releases nothing. Where the kernel lacks them the
// process locks do the same between processes; where the file system has no locks at
// all the call goes on unlocked, as it always did there.
//
// A lock another workstation holds is waited for a bounded time only: a workstation that
// stalls while holding one, or a lock left behind on a share, must not freeze every other
// window. Past the wait the caller gets ArchiveError::inUse() and does nothing.
// Interrupts a blocking lock wait of the calling thread every few milliseconds, so that
// the wait can end at its deadline. A waiter of the kernel's own queue gets the lock as soon
// as it is let go, which polling would lose to a workstation that saves over and over.
class WaitTicker {
public:
    WaitTicker()
    {
        static const bool installed = [] {
            struct sigaction action {};
            action.sa_handler = [](int) {};
            sigemptyset(&action.sa_mask);
            action.sa_flags = 0; // no restart: the wait returns EINTR
            return ::sigaction(tickSignal(), &action, nullptr) == 0;
        }();
        if (!installed)
            return;
        struct sigevent event {};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = tickSignal();
        event._sigev_un._tid = ::gettid(); // the thread that waits, not the process
        if (::timer_create(CLOCK_MONOTONIC, &event, &timer_) != 0)
            return;
        // Repeating, so that a tick arriving just before the wait began is not the last.
        struct itimerspec period {};
        period.it_value.tv_nsec = 10'000'000;
        period.it_interval.tv_nsec = 10'000'000;
        if (::timer_settime(timer_, 0, &period, nullptr) != 0) {
            ::timer_delete(timer_);
            return;
        }
        armed_ = true;
    }
    ~WaitTicker()
    {
        if (armed_)
            ::timer_delete(timer_);
    }
    WaitTicker(const WaitTicker&) = delete;
    WaitTicker& operator=(const WaitTicker&) = delete;
    bool armed() const { return armed_; }

private:
    static int tickSignal() { return SIGRTMIN + 5; }
    timer_t timer_ {};
    bool armed_ = false;
};

class RangeLock {
public:
    RangeLock(int fd, short type, qint64 start, qint64 length)
    {
        lock_.l_type = type;
        lock_.l_whence = SEEK_SET;
        lock_.l_start = off_t(start);
        lock_.l_len = off_t(length); // 0: up to any end the file may reach
        lock_.l_pid = 0;
        // The lock is nearly always free: one call, no timer.
        int command = F_OFD_SETLK;
        if (tryLock(fd, command))
            return;
        if (errno != EAGAIN && errno != EACCES)
            return;
        const auto deadline = std::chrono::steady_clock::now() + gLockWait;
        const WaitTicker ticker;
        std::chrono::microseconds pause{500};
        command = command == F_OFD_SETLK ? F_OFD_SETLKW : F_SETLKW;
        for (;;) {
            if (!ticker.armed()) {
                // No timer to interrupt a blocking wait: try again and again instead.
                command = command == F_OFD_SETLKW ? F_OFD_SETLK : command == F_SETLKW ? F_SETLK : command;
            }
            struct flock attempt = lock_;
            if (::fcntl(fd, command, &attempt) == 0) {
                fd_ = fd;
                unlockCommand_ = command == F_OFD_SETLKW || command == F_OFD_SETLK ? F_OFD_SETLK : F_SETLK;
                return;
            }
            const int error = errno;
            const bool busy = error == EINTR || error == EAGAIN || error == EACCES || error == EDEADLK;
            if (!busy)
                return;
            if (std::chrono::steady_clock::now() >= deadline)
                throw ArchiveError(u"record locked by another workstation"_qs, ArchiveError::kInUse);
            if (!ticker.armed()) {
                std::this_thread::sleep_for(pause);
                pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(20));
            }
        }
    }
    ~RangeLock()
    {
        if (fd_ < 0)
            return;
        lock_.l_type = F_UNLCK;
        ::fcntl(fd_, unlockCommand_, &lock_);
    }
    RangeLock(const RangeLock&) = delete;
    RangeLock& operator=(const RangeLock&) = delete;

private:
    // One attempt without waiting; `command` falls back to the process locks where the
    // kernel lacks the open-file ones. True with the lock held.
    bool tryLock(int fd, int& command)
    {
        for (;;) {
            struct flock attempt = lock_;
            if (::fcntl(fd, command, &attempt) == 0) {
                fd_ = fd;
                unlockCommand_ = command;
                return true;
            }
            if (errno == EINTR)
                continue;
            if (errno == EINVAL && command == F_OFD_SETLK) {
                command = F_SETLK;
                continue;
            }
            return false;
        }
    }

    struct flock lock_ {};
    int fd_ = -1;
    int unlockCommand_ = F_OFD_SETLK;
};

int openExisting(const QByteArray& name) { return ::open(name.constData(), O_RDWR | O_CLOEXEC); }

// Flushes the folder that holds `file` to the device; 0 or the error number. A file system
// that cannot flush a folder has nothing more to do.
int flushFolder(const QByteArray& file)
{
    const qsizetype slash = file.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : file.left(slash);
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return errno;
    int r;
    do
        r = gCalls.fsync(dir);
    while (r != 0 && errno == EINTR);
    const int error = r != 0 && errno != EINVAL && errno != ENOSYS ? errno : 0;
    ::close(dir);
    return error;
}

} // namespace

ArchiveWriteCalls archiveWriteCalls() { return gCalls; }

void setArchiveWriteCalls(const ArchiveWriteCalls* calls) { gCalls = calls ? *calls : kSystemCalls; }

void setArchiveLockWait(std::chrono::milliseconds wait) { gLockWait = wait; }

ArchiveFile::ArchiveFile(QString path, qint64 recordSize) : path_(std::move(path)), size_(recordSize) {}

ArchiveFile::~ArchiveFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void ArchiveFile::fail(const QString& what, int error) const
{
    throw ArchiveError(path_ + u": "_qs + what, error);
}

void ArchiveFile::failErrno(int error) const { fail(QString::fromLocal8Bit(std::strerror(error)), error); }

void ArchiveFile::open()
{
    if (fd_ >= 0)
        return;
    if (size_ <= 0)
        fail(u"record size not positive"_qs);
    const QByteArray name = QFile::encodeName(path_);
    bool created = false;
    int fd = openExisting(name);
    if (fd < 0 && errno == ENOENT) {
        // Only a file that is really missing is created; O_EXCL keeps a file that another
        // workstation created a moment ago, and nothing here ever truncates.
        fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            created = true;
        } else if (errno == EEXIST) {
            fd = openExisting(name);
        }
    }
    if (fd < 0)
        failErrno(errno);
    if (created) {
        // The new name lives in the folder: until the folder is flushed a power cut can
        // take the file, and the first card saved into it, away.
        const int error = flushFolder(name);
        if (error != 0) {
            ::close(fd);
            failErrno(error);
        }
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fail(u"not a regular file"_qs);
    }
    fd_ = fd;
    moveTo(0);
}

void ArchiveFile::close()
{
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
        failErrno(errno);
}

qint64 ArchiveFile::fileSize() const
{
    if (fd_ < 0)
        fail(u"not open"_qs);
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        failErrno(errno);
    return st.st_size;
}

qint64 ArchiveFile::count() const { return fileSize() / size_; }

void ArchiveFile::moveTo(qint64 index) { index_ = index; }

void ArchiveFile::seek(qint64 index)
{
    if (index < 0 || index > fileSize() / size_)
        fail(u"seek to record %1 past the end"_qs.arg(index));
    moveTo(index);
}

qint64 ArchiveFile::readAt(char* into, qint64 bytes, qint64 offset) const
{
    if (fd_ < 0)
        fail(u"not open"_qs);
    const RangeLock lock(fd_, F_RDLCK, offset, bytes);
    return readHeld(into, bytes, offset);
}

qint64 ArchiveFile::readHeld(char* into, qint64 bytes, qint64 offset) const
{
    qint64 done = 0;
    while (done < bytes) {
        const ssize_t n = ::pread(fd_, into + done, size_t(bytes - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failErrno(errno);
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

QByteArray ArchiveFile::read()
{
    QByteArray record(size_, Qt::Uninitialized);
    // A record cut short (the end of the file, or a partial last record) is no record.
    if (readAt(record.data(), size_, index_ * size_) != size_)
        fail(u"record %1 incomplete or past the end"_qs.arg(index_));
    moveTo(index_ + 1);
    return record;
}

QByteArray ArchiveFile::readRecords(qint64 records)
{
    // Never past the last whole record: the read's lock then stays clear of the append
    // lock this process may hold from there on (a lock of our own over it would weaken it).
    records = std::clamp<qint64>(count() - index_, 0, records);
    if (records == 0)
        return {}; // and no lock: one of no length would reach to any end
    QByteArray block(records * size_, Qt::Uninitialized);
    const qint64 whole = readAt(block.data(), block.size(), index_ * size_) / size_;
    block.truncate(whole * size_);
    moveTo(index_ + whole);
    return block;
}

struct RecordBlock::Held {
    Held(int fd, qint64 offset, qint64 bytes) : lock(fd, F_RDLCK, offset, bytes), fd(fd) {}
    RangeLock lock;
    int fd;
    std::optional<FileMap> map;
    QByteArray copy;
    qint64 end = 0; // the byte after the block in the file
};

RecordBlock::RecordBlock() = default;
RecordBlock::~RecordBlock() = default;
RecordBlock::RecordBlock(RecordBlock&&) noexcept = default;
RecordBlock& RecordBlock::operator=(RecordBlock&&) noexcept = default;

bool RecordBlock::intact() const
{
    if (!held_ || !held_->map)
        return true;
    if (!held_->map->intact())
        return false;
    // A cut inside a page leaves no trace in the map (the rest of the page reads as
    // zeros): the file's length tells.
    struct stat st {};
    return ::fstat(held_->fd, &st) == 0 && st.st_size >= held_->end;
}

RecordBlock ArchiveFile::holdRecords(qint64 records)
{
    // Never past the last whole record, as readRecords().
    records = std::clamp<qint64>(count() - index_, 0, records);
    if (records == 0)
        return {};
    const qint64 offset = index_ * size_;
    auto held = std::make_unique<RecordBlock::Held>(fd_, offset, records * size_);
    // The file may have lost records while the lock was waited for.
    records = std::min(records, fileSize() / size_ - index_);
    if (records <= 0)
        return {};
    RecordBlock block;
    block.size_ = size_;
    held->end = offset + records * size_;
    held->map.emplace(fd_, offset, records * size_);
    if (held->map->ok()) {
        block.data_ = held->map->data();
    } else {
        held->map.reset();
        held->copy.resize(records * size_);
        records = readHeld(held->copy.data(), held->copy.size(), offset) / size_;
        if (records == 0)
            return {};
        block.data_ = held->copy.constData();
    }
    block.count_ = records;
    block.held_ = std::move(held);
    moveTo(index_ + records);
    return block;
}

void ArchiveFile::finishWrite(const char* rest, qint64 bytes, qint64 offset) const
{
    // A write cut short is usually the device running out of room; going on with the
    // rest either completes the record or tells why it cannot be completed.
    while (bytes > 0) {
        const ssize_t n = gCalls.pwrite(fd_, rest, size_t(bytes), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failErrno(errno);
        if (n == 0)
            fail(u"short write"_qs);
        rest += n;
        bytes -= n;
        offset += n;
    }
}

void ArchiveFile::flush() const
{
    int r;
    do
        r = gCalls.fdatasync(fd_);
    while (r != 0 && errno == EINTR);
    // A file that cannot be synchronised at all has nothing more to flush.
    if (r != 0 && errno != EINVAL && errno != ENOSYS)
        failErrno(errno);
}

void ArchiveFile::putAt(const QByteArray& record, qint64 index)
{
    const qint64 offset = index * size_;
    ssize_t n;
    do
        n = gCalls.pwrite(fd_, record.constData(), size_t(size_), off_t(offset));
    while (n < 0 && errno == EINTR);
    if (n < 0)
        failErrno(errno);
    if (n < size_)
        finishWrite(record.constData() + n, size_ - n, offset + n);
    flush();
}

void ArchiveFile::writeAt(const QByteArray& record, qint64 index)
{
    const RangeLock lock(fd_, F_WRLCK, index * size_, size_);
    putAt(record, index);
}

bool ArchiveFile::update(qint64 index, const std::function<std::optional<QByteArray>(const QByteArray&)>& change)
{
    if (fd_ < 0)
        fail(u"not open"_qs);
    if (index < 0 || index >= fileSize() / size_)
        fail(u"update of record %1 past the end"_qs.arg(index));
    const RangeLock lock(fd_, F_WRLCK, index * size_, size_);
    QByteArray before(size_, Qt::Uninitialized);
    if (readHeld(before.data(), size_, index * size_) != size_)
        fail(u"record %1 incomplete or past the end"_qs.arg(index));
    const std::optional<QByteArray> after = change(before);
    if (!after) {
        moveTo(index + 1);
        return false;
    }
    if (after->size() != size_)
        fail(u"record of %1 bytes, expected %2"_qs.arg(after->size()).arg(size_));
    try {
        putAt(*after, index);
    } catch (...) {
        // A write cut short, or written but not flushed, would leave the record changed
        // while the caller reports nothing done.
        try {
            putAt(before, index);
        } catch (...) {
        }
        throw;
    }
    moveTo(index + 1);
    return true;
}

qint64 ArchiveFile::write(const QByteArray& record)
{
    if (record.size() != size_)
        fail(u"record of %1 bytes, expected %2"_qs.arg(record.size()).arg(size_));
    // The index is the record written, whatever was appended since it was set: a caller
    // that means a new record at the real end calls append().
    const qint64 at = index_;
    if (at < fileSize() / size_) {
        writeAt(record, at);
    } else {
        // At the end: held from there on up, so that no append of another workstation
        // lands half over it.
        const RangeLock lock(fd_, F_WRLCK, at * size_, 0);
        if (at > fileSize() / size_)
            fail(u"write to record %1 past the end"_qs.arg(at));
        putAt(record, at);
    }
    moveTo(at + 1);
    return at;
}

qint64 ArchiveFile::append(const QByteArray& record, const std::function<bool()>& allowed)
{
    if (record.size() != size_)
        fail(u"record of %1 bytes, expected %2"_qs.arg(record.size()).arg(size_));
    // Everything from the last whole record on, up to any end: appends of our own
    // processes take turns, so repairing a partial last record cannot race another
    // append, and no reader sees the new record before it is whole.
    const RangeLock lock(fd_, F_WRLCK, fileSize() / size_ * size_, 0);
    if (allowed && !allowed())
        return -1;
    const qint64 bytes = fileSize();
    if (bytes % size_ != 0) {
        // A partial record left by an interrupted write: the new record takes its place,
        // so every record after it stays on its boundary.
        const qint64 at = bytes / size_;
        putAt(record, at);
        moveTo(at + 1);
        return at;
    }

    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags | O_APPEND) != 0)
        failErrno(errno);
    ssize_t n;
    do
        n = gCalls.write(fd_, record.constData(), size_t(size_));
    while (n < 0 && errno == EINTR);
    const int writeErrno = errno;
    const off_t end = ::lseek(fd_, 0, SEEK_CUR);
    ::fcntl(fd_, F_SETFL, flags);
    if (n < 0)
        failErrno(writeErrno);
    if (end < 0)
        failErrno(errno);
    const qint64 start = qint64(end) - n;
    try {
        if (n < size_)
            finishWrite(record.constData() + n, size_ - n, qint64(end));
        flush();
    } catch (...) {
        // Reported as not saved, the record must not stay either: the user saves the card
        // again, and a record left behind would be a second copy of it. The append lock
        // is still held, so nothing of another workstation lies past the start.
        if (start % size_ == 0)
            static_cast<void>(::ftruncate(fd_, off_t(start)));
        throw;
    }
    if (start % size_ != 0)
        fail(u"appended record is not on a record boundary"_qs);
    moveTo(start / size_ + 1);
    return start / size_;
}

} // namespace orv::platform
