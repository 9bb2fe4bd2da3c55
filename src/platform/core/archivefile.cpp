#include "platform/core/archivefile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

ArchiveError::ArchiveError(const QString& what) : std::runtime_error(what.toStdString()) {}

namespace {

// Holds an exclusive advisory lock for the length of one append. Our own processes take
// it so that repairing a partial last record cannot race another append; where the file
// system has no locks the append still goes through append mode.
class AppendLock {
public:
    explicit AppendLock(int fd) : fd_(fd)
    {
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                fd_ = -1;
                break;
            }
        }
    }
    ~AppendLock()
    {
        if (fd_ >= 0)
            ::flock(fd_, LOCK_UN);
    }
    AppendLock(const AppendLock&) = delete;
    AppendLock& operator=(const AppendLock&) = delete;

private:
    int fd_;
};

int openExisting(const QByteArray& name) { return ::open(name.constData(), O_RDWR | O_CLOEXEC); }

} // namespace

ArchiveFile::ArchiveFile(QString path, qint64 recordSize) : path_(std::move(path)), size_(recordSize) {}

ArchiveFile::~ArchiveFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void ArchiveFile::fail(const QString& what) const
{
    throw ArchiveError(path_ + u": "_qs + what);
}

void ArchiveFile::open()
{
    if (fd_ >= 0)
        return;
    if (size_ <= 0)
        fail(u"record size not positive"_qs);
    const QByteArray name = QFile::encodeName(path_);
    int fd = openExisting(name);
    if (fd < 0 && errno == ENOENT) {
        // Only a file that is really missing is created; O_EXCL keeps a file that another
        // workstation created a moment ago, and nothing here ever truncates.
        fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            fd = openExisting(name);
    }
    if (fd < 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fail(u"not a regular file"_qs);
    }
    fd_ = fd;
    index_ = 0;
}

void ArchiveFile::close()
{
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
}

qint64 ArchiveFile::fileSize() const
{
    if (fd_ < 0)
        fail(u"not open"_qs);
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    return st.st_size;
}

qint64 ArchiveFile::count() const { return fileSize() / size_; }

void ArchiveFile::seek(qint64 index)
{
    if (index < 0 || index > count())
        fail(u"seek to record %1 past the end"_qs.arg(index));
    index_ = index;
}

qint64 ArchiveFile::readAt(char* into, qint64 bytes, qint64 offset) const
{
    if (fd_ < 0)
        fail(u"not open"_qs);
    qint64 done = 0;
    while (done < bytes) {
        const ssize_t n = ::pread(fd_, into + done, size_t(bytes - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(QString::fromLocal8Bit(std::strerror(errno)));
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
    ++index_;
    return record;
}

QByteArray ArchiveFile::readRecords(qint64 records)
{
    QByteArray block(records * size_, Qt::Uninitialized);
    const qint64 whole = readAt(block.data(), block.size(), index_ * size_) / size_;
    block.truncate(whole * size_);
    index_ += whole;
    return block;
}

void ArchiveFile::writeAt(const QByteArray& record, qint64 index)
{
    ssize_t n;
    do
        n = ::pwrite(fd_, record.constData(), size_t(size_), index * size_);
    while (n < 0 && errno == EINTR);
    if (n != size_)
        fail(n < 0 ? QString::fromLocal8Bit(std::strerror(errno)) : u"short write"_qs);
}

qint64 ArchiveFile::write(const QByteArray& record)
{
    if (record.size() != size_)
        fail(u"record of %1 bytes, expected %2"_qs.arg(record.size()).arg(size_));
    if (index_ >= count())
        return append(record);
    writeAt(record, index_);
    return index_++;
}

qint64 ArchiveFile::append(const QByteArray& record)
{
    if (record.size() != size_)
        fail(u"record of %1 bytes, expected %2"_qs.arg(record.size()).arg(size_));
    const AppendLock lock(fd_);
    const qint64 bytes = fileSize();
    if (bytes % size_ != 0) {
        // A partial record left by an interrupted write: the new record takes its place,
        // so every record after it stays on its boundary.
        const qint64 at = bytes / size_;
        writeAt(record, at);
        index_ = at + 1;
        return at;
    }

    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags | O_APPEND) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    ssize_t n;
    do
        n = ::write(fd_, record.constData(), size_t(size_));
    while (n < 0 && errno == EINTR);
    const int writeErrno = errno;
    const off_t end = ::lseek(fd_, 0, SEEK_CUR);
    ::fcntl(fd_, F_SETFL, flags);
    if (n != size_)
        fail(n < 0 ? QString::fromLocal8Bit(std::strerror(writeErrno)) : u"short write"_qs);
    const qint64 start = qint64(end) - size_;
    if (end < 0 || start % size_ != 0)
        fail(u"appended record is not on a record boundary"_qs);
    index_ = start / size_ + 1;
    return start / size_;
}

} // namespace orv
