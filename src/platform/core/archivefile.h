#pragma once
// An archive file: fixed-size records without a header, record n at byte n * size.
// Every workstation opens the file for shared reading and writing for the length of one
// command; nothing keeps it open between commands.
//
// Robustness rules that the stored data relies on:
//  - a file that exists is never recreated or truncated, even when it cannot be opened;
//  - a seek past the last record fails instead of extending the file;
//  - a record is written with one write call of the whole record;
//  - an append goes to the real end of the file at the moment of writing, so two
//    workstations appending at once never overwrite each other, and the caller learns
//    the index actually written;
//  - a read holds a shared record lock on the bytes it reads and a write an exclusive one
//    on the bytes it writes, for that one call only, so no reader ever sees a record
//    half overwritten by another workstation; a lock held elsewhere is waited for a
//    bounded time, after which the call fails with nothing written;
//  - a write returns only once its bytes are flushed to the device, and a file just
//    created only once its folder is.
#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <sys/types.h>
#include <unistd.h>

namespace orv::platform {

// Any failure of an archive operation. The commands that use archives catch it at their
// frame and show their access message.
class ArchiveError : public std::runtime_error {
public:
    // `error` is the system error number behind the failure, 0 when there is none.
    explicit ArchiveError(const QString& what, int error = 0);
    int error() const { return error_; }
    // The device (or the user's quota on it) has no room left for the write.
    bool diskFull() const;
    // Another workstation held the record past the bounded wait; nothing was done.
    bool inUse() const;
    // The error number of inUse(): no system call fails with it.
    static constexpr int kInUse = -1;

private:
    int error_;
};

// The system calls through which archive files write and flush. Tests replace them to
// play a full disk or a failing device; the program itself never does.
struct ArchiveWriteCalls {
    ssize_t (*pwrite)(int fd, const void* data, size_t bytes, off_t offset);
    ssize_t (*write)(int fd, const void* data, size_t bytes);
    int (*fdatasync)(int fd);
    // Flushes a folder that gained a new archive file.
    int (*fsync)(int fd) = ::fsync;
};
ArchiveWriteCalls archiveWriteCalls();
// Replaces the calls; the calls of the system when `calls` is null.
void setArchiveWriteCalls(const ArchiveWriteCalls* calls);

// How long a read or write waits for a record that another workstation holds before it
// gives up with ArchiveError::inUse(). Tests shorten it; the program keeps the default.
inline constexpr std::chrono::milliseconds kArchiveLockWait{5000};
void setArchiveLockWait(std::chrono::milliseconds wait);

class FileMap;

// Whole records read at once and held under a shared lock until the block is let go, so
// that no workstation changes them while they are looked at. Hold a block briefly: a
// workstation that saves one of its records waits for it.
class RecordBlock {
public:
    RecordBlock();
    ~RecordBlock();
    RecordBlock(RecordBlock&&) noexcept;
    RecordBlock& operator=(RecordBlock&&) noexcept;

    qint64 count() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    // Record `i` of the block, recordSize() bytes.
    const char* record(qint64 i) const { return data_ + i * size_; }
    // False when the file was cut short under the block by a program that ignored its
    // lock: some bytes looked at may not be the file's, so nothing read from the block
    // can be trusted. A block read into memory is always intact.
    bool intact() const;

private:
    friend class ArchiveFile;
    struct Held;
    std::unique_ptr<Held> held_;
    const char* data_ = nullptr;
    qint64 count_ = 0, size_ = 0;
};

class ArchiveFile {
public:
    ArchiveFile(QString path, qint64 recordSize);
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // Opens for reading and writing; creates the file empty when it does not exist.
    void open();
    void close();
    bool isOpen() const { return fd_ >= 0; }

    const QString& path() const { return path_; }
    qint64 recordSize() const { return size_; }

    // Whole records in the file now; a partial record at the end is not counted.
    qint64 count() const;
    // The next read or write works on record `index`; fails past count(). The index is
    // kept as given: appends of other workstations do not move it.
    void seek(qint64 index);
    // The record the next read or write reaches.
    qint64 position() const { return index_; }

    // Reads the record at the current index and advances.
    QByteArray read();
    // Reads up to `records` whole records from the current index in one call and
    // advances past them; fewer at the end of the file, none past it.
    QByteArray readRecords(qint64 records);
    // The same records held in place: mapped rather than copied where the file system
    // allows, for a reader that looks at a few bytes of each (a search).
    RecordBlock holdRecords(qint64 records);
    // Writes the record at the current index: over the record there, or as a new record
    // when the index is the count at the moment of the write; fails past it. Advances past
    // the record written and returns its index. A new card goes through append().
    qint64 write(const QByteArray& record);
    // Appends at the real end of the file and returns the index actually written.
    // `allowed`, when given, is asked while no other workstation can append (it may read
    // the file through this handle); when it says no, nothing is written and -1 returned.
    qint64 append(const QByteArray& record, const std::function<bool()>& allowed = {});
    // One read-modify-write of record `index` that no other workstation can come between:
    // the record is held exclusively while it is read, `change` decides on the current
    // bytes, and what it returns (nothing: no write) is written and flushed before the
    // record is let go. A write that fails puts the earlier bytes back as far as the
    // device allows and throws. Returns whether a record was written; advances past it.
    bool update(qint64 index, const std::function<std::optional<QByteArray>(const QByteArray&)>& change);

private:
    [[noreturn]] void fail(const QString& what, int error = 0) const;
    [[noreturn]] void failErrno(int error) const;
    qint64 fileSize() const;
    qint64 readAt(char* into, qint64 bytes, qint64 offset) const;
    // readAt() for a caller that holds the lock on the bytes.
    qint64 readHeld(char* into, qint64 bytes, qint64 offset) const;
    // One write call of the whole record at record `index`, then the flush; the caller
    // holds the lock.
    void putAt(const QByteArray& record, qint64 index);
    // putAt() under an exclusive lock on the record's bytes.
    void writeAt(const QByteArray& record, qint64 index);
    // Writes the rest of a record cut short by the device, so that the caller learns why.
    void finishWrite(const char* rest, qint64 bytes, qint64 offset) const;
    void flush() const;
    void moveTo(qint64 index);

    QString path_;
    qint64 size_;
    int fd_ = -1;
    qint64 index_ = 0;
};

} // namespace orv::platform
