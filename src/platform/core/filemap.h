#pragma once
// A read-only memory map of a byte range of an open file, for reads that look at a few
// bytes of much data (a search over a large archive): the bytes are not copied.
//
// A file that another program cuts short under the map would stop the process (the
// system sends a bus error for a page past the new end). While a FileMap lives, such a
// page is taken over by zeros instead and the map remembers it: a reader that checks
// intact() after looking at a stretch of bytes learns that they may not be the file's.
#include <QtGlobal>

namespace orv::platform {

class FileMap {
public:
    // Maps `length` bytes of `fd` from `offset`. ok() is false when the file cannot be
    // mapped (a file system without maps, no address space left, too many maps at once):
    // the caller reads the bytes in the ordinary way.
    FileMap(int fd, qint64 offset, qint64 length);
    ~FileMap();
    FileMap(const FileMap&) = delete;
    FileMap& operator=(const FileMap&) = delete;

    bool ok() const { return data_ != nullptr; }
    const char* data() const { return data_; }
    qint64 length() const { return length_; }
    // False once a page of the map was found cut from the file.
    bool intact() const;

private:
    void* base_ = nullptr; // the page-aligned start of the map
    qint64 mapped_ = 0;
    const char* data_ = nullptr;
    qint64 length_ = 0;
    int slot_ = -1; // the guard that watches the map
};

} // namespace orv::platform
