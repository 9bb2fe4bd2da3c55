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
//    the index actually written.
#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace orv {

// Any failure of an archive operation. The commands that use archives catch it at their
// frame and show their access message.
class ArchiveError : public std::runtime_error {
public:
    explicit ArchiveError(const QString& what);
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
    // The next read or write works on record `index`; fails past count().
    void seek(qint64 index);
    // The record the next read or write reaches.
    qint64 position() const { return index_; }

    // Reads the record at the current index and advances.
    QByteArray read();
    // Reads up to `records` whole records from the current index in one call and
    // advances past them; fewer at the end of the file, none past it.
    QByteArray readRecords(qint64 records);
    // Writes over the record at the current index, or appends when the index is the
    // count; advances past the record written. Returns the index actually written.
    qint64 write(const QByteArray& record);
    // Appends at the real end of the file and returns the index actually written.
    qint64 append(const QByteArray& record);

private:
    [[noreturn]] void fail(const QString& what) const;
    qint64 fileSize() const;
    qint64 readAt(char* into, qint64 bytes, qint64 offset) const;
    // One write call of the whole record at record `index`.
    void writeAt(const QByteArray& record, qint64 index);

    QString path_;
    qint64 size_;
    int fd_ = -1;
    qint64 index_ = 0;
};

} // namespace orv
