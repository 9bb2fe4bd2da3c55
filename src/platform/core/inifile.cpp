#include "platform/core/inifile.h"

#include "platform/core/cp1252.h"
#include "platform/core/filemap.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::platform {

namespace {

std::atomic<int> lockWait {10000};
std::atomic<const IniWriteCalls*> writeCalls {nullptr};

ssize_t doPwrite(int fd, const void* data, size_t size, off_t offset)
{
    const IniWriteCalls* c = writeCalls.load();
    return c ? c->pwrite(fd, data, size, offset) : ::pwrite(fd, data, size, offset);
}

int doFsync(int fd)
{
    const IniWriteCalls* c = writeCalls.load();
    return c ? c->fsync(fd) : ::fsync(fd);
}

// Closes a descriptor on every way out; closing the settings file also drops its lock.
struct Descriptor {
    int fd = -1;
    explicit Descriptor(int f) : fd(f) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { if (fd >= 0) ::close(fd); }
};

[[noreturn]] void fail(const char* what, const QString& path, int error)
{
    using Cause = IniFileError::Cause;
    const Cause cause = error == ENOSPC || error == EDQUOT ? Cause::DiskFull : Cause::Other;
    throw IniFileError(std::string(what) + ' ' + path.toStdString() + ": " + std::strerror(error), cause);
}

// Opens without waiting: a FIFO or a device standing at the settings file's name would
// otherwise block the open itself. Regular files ignore the flag.
constexpr int kOpenFlags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

// The whole of an open regular file; false on a read failure.
bool readWhole(int fd, const struct stat& st, QByteArray& bytes)
{
    bytes.resize(qsizetype(st.st_size) + 1);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) bytes.resize(bytes.size() * 2);  // the file grew since fstat
        const ssize_t n = ::pread(fd, bytes.data() + got, size_t(bytes.size() - got), got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        got += n;
    }
    bytes.truncate(got);
    return true;
}

// ------------------------------------------------------------------ lines as bytes
//
// Windows-1252 gives every byte one character, blanks (codes up to 32) and the letters A-Z
// and a-z keep their codes, and no other character folds to A-Z: trimming, classifying and
// comparing names ignoring the case of A-Z give the same on the bytes as on the text, so
// the file is parsed without being decoded.

inline bool blank(char c) { return uchar(c) <= 32; }
inline uchar foldAZ(uchar c) { return c >= 'a' && c <= 'z' ? uchar(c - 32) : c; }

struct Span {
    qsizetype at = 0, size = 0;
};

// One line's content, trimmed, and what it is.
struct Classified {
    enum Kind { Blank, Other, Section, Key } kind = Blank;
    Span name, value;  // offsets in the file
};

Classified classify(const char* d, qsizetype b, qsizetype e)
{
    Classified c;
    while (b < e && blank(d[b])) ++b;
    while (e > b && blank(d[e - 1])) --e;
    if (b == e) return c;
    c.kind = Classified::Other;
    const auto trim = [d](qsizetype from, qsizetype to) {
        while (from < to && blank(d[from])) ++from;
        while (to > from && blank(d[to - 1])) --to;
        return Span {from, to - from};
    };
    if (d[b] == '[') {
        const void* close = std::memchr(d + b + 1, ']', size_t(e - b - 1));
        c.kind = Classified::Section;
        c.name = trim(b + 1, close ? static_cast<const char*>(close) - d : e);
        return c;
    }
    if (d[b] == ';') return c;
    const void* eq = std::memchr(d + b, '=', size_t(e - b));
    if (!eq || eq == d + b) return c;
    const qsizetype at = static_cast<const char*>(eq) - d;
    c.kind = Classified::Key;
    c.name = trim(b, at);
    Span v = trim(at + 1, e);
    if (v.size >= 2 && (d[v.at] == '"' || d[v.at] == '\'') && d[v.at + v.size - 1] == d[v.at]) v = {v.at + 1, v.size - 2};
    c.value = v;
    return c;
}

// Calls line(begin, end, next) for every line: end excludes the line feed, next is where
// the following line starts.
template <typename F>
void forEachLine(const QByteArray& bytes, F&& line)
{
    const char* d = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype b = 0;
    while (b < size) {
        const void* nl = std::memchr(d + b, '\n', size_t(size - b));
        const qsizetype e = nl ? static_cast<const char*>(nl) - d : size;
        if (!line(b, e, nl ? e + 1 : size)) return;
        b = nl ? e + 1 : size;
    }
}

// A name as the file would hold it, or nothing when one of its characters has no byte
// (then no name in the file can equal it).
std::optional<QByteArray> nameBytes(const QString& name)
{
    bool lossless = true;
    QByteArray b = platform::cp1252::encode(name, &lossless);
    if (!lossless) return std::nullopt;
    return b;
}

bool sameName(const char* a, qsizetype an, const char* b, qsizetype bn)
{
    if (an != bn) return false;
    for (qsizetype i = 0; i < an; ++i)
        if (foldAZ(uchar(a[i])) != foldAZ(uchar(b[i]))) return false;
    return true;
}

size_t hashName(const char* d, qsizetype n, size_t seed)
{
    size_t h = seed ^ 0xcbf29ce484222325ULL;
    for (qsizetype i = 0; i < n; ++i) h = (h ^ foldAZ(uchar(d[i]))) * 0x100000001b3ULL;
    // Names differing in their last characters only ("S1", "S2", ...) spread over the
    // whole table, not over neighbouring slots.
    h *= 0x9E3779B97F4A7C15ULL;
    return h ^ (h >> 32);
}

// ------------------------------------------------------------------ reading, cached

// What reads need of a file, kept compact: its sections in file order with their keys,
// their names and values as bytes in one block. Comments and blank lines take no room;
// parsing is one pass without an allocation per line and without a table: an editor
// opening reads a dozen keys, and filling a table for a file of a million keys costs a
// cache miss per key, far more than looking along the names a few times. The first
// section of a name and the first key of a name in it count, so looking along the names
// in file order finds the right one; once the looking has cost about what filling the
// tables would, they are filled, keeping the first of each name.
struct Parsed {
    struct SectionEntry {
        Span name;
        size_t hash;
        qsizetype firstKey = 0, endKey = 0;
    };
    struct KeyEntry {
        qsizetype section;
        size_t hash;  // of the name alone
        Span name, value;
    };
    std::string text;
    std::vector<SectionEntry> sections;  // repeats included: only the first of a name is found
    std::vector<KeyEntry> keys;

    // The keys of a section this small are always found by looking through them, side by
    // side in memory; only larger sections have their keys in the table.
    static constexpr qsizetype kScanned = 8;
    // Names looked at, per name a table would hold, before the table is filled: looking
    // along the names runs through memory in order, filling a table jumps at random.
    static constexpr quint64 kScansPerEntry = 16;

    const char* at(const Span& s) const { return text.data() + s.at; }
    QString decoded(const Span& s) const { return platform::cp1252::decode(at(s), s.size); }

    const SectionEntry* section(const QString& name) const
    {
        const auto b = nameBytes(name);
        return b ? section(b->constData(), b->size(), hashName(b->constData(), b->size(), 0)) : nullptr;
    }
    const KeyEntry* key(const QString& sectionName, const QString& name) const
    {
        return key(section(sectionName), name);
    }
    const KeyEntry* key(const SectionEntry* s, const QString& name) const
    {
        const auto b = nameBytes(name);
        if (!s || !b) return nullptr;
        const char* d = b->constData();
        const qsizetype n = b->size();
        const size_t h = hashName(d, n, 0);
        const qsizetype count = s->endKey - s->firstKey;
        if (count > kScanned && tables(false, quint64(count))) {
            const qsizetype k = lookUp(keySlots, keyHash(s - sections.data(), h), [&](qsizetype i) {
                const KeyEntry& e = keys[size_t(i)];
                return e.section == s - sections.data() && sameName(at(e.name), e.name.size, d, n);
            });
            return k < 0 ? nullptr : &keys[size_t(k)];
        }
        for (qsizetype k = s->firstKey; k < s->endKey; ++k) {
            const KeyEntry& e = keys[size_t(k)];
            if (e.hash == h && sameName(at(e.name), e.name.size, d, n)) return &e;
        }
        return nullptr;
    }
    // The first section of each name, in file order.
    std::vector<const SectionEntry*> firstSections() const
    {
        std::vector<const SectionEntry*> out;
        for (const SectionEntry& s : sections)
            if (section(at(s.name), s.name.size, s.hash) == &s) out.push_back(&s);
        return out;
    }

private:
    struct Slot {
        size_t hash = 0;
        qsizetype index = -1;  // -1 free
    };
    static size_t keyHash(qsizetype section, size_t nameHash)
    {
        size_t h = (nameHash ^ (size_t(section) * 0x9E3779B97F4A7C15ULL)) * 0xFF51AFD7ED558CCDULL;
        return h ^ (h >> 32);
    }
    template <class Same>
    static qsizetype lookUp(const std::vector<Slot>& table, size_t h, Same&& same)
    {
        const size_t mask = table.size() - 1;
        for (size_t i = h & mask;; i = (i + 1) & mask) {
            const Slot& slot = table[i];
            if (slot.index < 0) return -1;
            if (slot.hash == h && same(slot.index)) return slot.index;
        }
    }
    // Puts `index` under `h` unless an equal name is there already.
    template <class Same>
    static void insert(std::vector<Slot>& table, size_t h, qsizetype index, Same&& same)
    {
        const size_t mask = table.size() - 1;
        for (size_t i = h & mask;; i = (i + 1) & mask) {
            Slot& slot = table[i];
            if (slot.index < 0) {
                slot = {h, index};
                return;
            }
            if (slot.hash == h && same(slot.index)) return;
        }
    }
    static size_t tableSize(size_t entries)
    {
        size_t size = 16;
        while (size < entries * 2) size *= 2;
        return size;
    }

    const SectionEntry* section(const char* d, qsizetype n, size_t h) const
    {
        if (tables(true, sections.size())) {
            const qsizetype s = lookUp(sectionSlots, h, [&](qsizetype i) {
                return sameName(at(sections[size_t(i)].name), sections[size_t(i)].name.size, d, n);
            });
            return s < 0 ? nullptr : &sections[size_t(s)];
        }
        for (const SectionEntry& s : sections)
            if (s.hash == h && sameName(at(s.name), s.name.size, d, n)) return &s;
        return nullptr;
    }

    // Whether the tables are there to look in, counting `looked` names that would be
    // looked at without them (of sections, or else of keys) and filling them once enough
    // have been.
    bool tables(bool ofSections, quint64 looked) const
    {
        std::atomic<bool>& ready = ofSections ? sectionsTabled : keysTabled;
        if (ready.load(std::memory_order_acquire)) return true;
        std::atomic<quint64>& spent = ofSections ? sectionLooks : keyLooks;
        const quint64 entries = ofSections ? sections.size() : keys.size();
        if (spent.fetch_add(looked, std::memory_order_relaxed) + looked <= kScansPerEntry * entries) return false;
        const std::lock_guard lock(tablesMutex);
        if (ready.load(std::memory_order_relaxed)) return true;
        if (ofSections) {
            sectionSlots.assign(tableSize(sections.size()), {});
            for (size_t i = 0; i < sections.size(); ++i) {
                const SectionEntry& s = sections[i];
                insert(sectionSlots, s.hash, qsizetype(i), [&](qsizetype j) {
                    return sameName(at(sections[size_t(j)].name), sections[size_t(j)].name.size, at(s.name), s.name.size);
                });
            }
        } else {
            size_t tabled = 0;
            for (const SectionEntry& s : sections)
                if (s.endKey - s.firstKey > kScanned) tabled += size_t(s.endKey - s.firstKey);
            keySlots.assign(tableSize(tabled), {});
            for (size_t k = 0; k < keys.size(); ++k) {
                const KeyEntry& e = keys[k];
                const SectionEntry& s = sections[size_t(e.section)];
                if (s.endKey - s.firstKey <= kScanned) continue;
                insert(keySlots, keyHash(e.section, e.hash), qsizetype(k), [&](qsizetype j) {
                    const KeyEntry& o = keys[size_t(j)];
                    return o.section == e.section && sameName(at(o.name), o.name.size, at(e.name), e.name.size);
                });
            }
        }
        ready.store(true, std::memory_order_release);
        return true;
    }

    // Filled once, under the mutex, then only read: a parsed file is shared by every
    // reader of the file, on any thread.
    mutable std::mutex tablesMutex;
    mutable std::atomic<bool> sectionsTabled {false}, keysTabled {false};
    mutable std::atomic<quint64> sectionLooks {0}, keyLooks {0};
    mutable std::vector<Slot> sectionSlots, keySlots;
};

Span keep(std::string& text, const char* d, const Span& s)
{
    const Span kept {qsizetype(text.size()), s.size};
    text.append(d + s.at, s.size);
    return kept;
}

std::shared_ptr<const Parsed> parseForReading(const QByteArray& bytes)
{
    auto p = std::make_shared<Parsed>();
    const char* d = bytes.constData();
    qsizetype current = -1;  // the section the lines belong to; -1 before the first
    forEachLine(bytes, [&](qsizetype b, qsizetype e, qsizetype) {
        const Classified c = classify(d, b, e);
        if (c.kind == Classified::Section) {
            current = qsizetype(p->sections.size());
            const qsizetype k = qsizetype(p->keys.size());
            p->sections.push_back({keep(p->text, d, c.name), hashName(d + c.name.at, c.name.size, 0), k, k});
        } else if (c.kind == Classified::Key && current >= 0) {
            p->keys.push_back({current, hashName(d + c.name.at, c.name.size, 0), keep(p->text, d, c.name), keep(p->text, d, c.value)});
            p->sections[size_t(current)].endKey = qsizetype(p->keys.size());
        }
        return true;
    });
    p->text.shrink_to_fit();
    return p;
}

// The state of a file on disk; any change of it means the file may have changed.
struct Stamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    qint64 mtime = 0, ctime = 0;  // nanoseconds
    bool operator==(const Stamp&) const = default;
};

qint64 nanoseconds(const timespec& t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; }

Stamp stampOf(const struct stat& st)
{
    return {st.st_dev, st.st_ino, st.st_size, nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
}

// A file changed shortly before it was read may change again without its size or time
// showing it (file-system clocks tick coarsely; FAT sticks keep two seconds): it is read
// afresh until its change lies this far back.
constexpr qint64 kSettleNs = 3000000000;

struct Digest {
    qsizetype size = -1;
    size_t hash = 0;
    bool operator==(const Digest&) const = default;
};

// A fingerprint of the bytes at the speed of reading them: four independent multiply
// chains over 8-byte words, so a change anywhere, or bytes moved, changes it. It guards
// against a file rewritten in place within the settle time, not against an adversary.
Digest digestOf(const QByteArray& bytes)
{
    constexpr quint64 kMul = 0x9E3779B97F4A7C15ULL;
    quint64 lane[4] = {1, 2, 3, 4};
    const char* d = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 32 <= n; i += 32) {
        for (int l = 0; l < 4; ++l) {
            quint64 w;
            std::memcpy(&w, d + i + 8 * l, 8);
            lane[l] = ((lane[l] ^ w) * kMul);
            lane[l] ^= lane[l] >> 31;
        }
    }
    quint64 h = quint64(n);
    for (quint64 l : lane) h = ((h ^ l) * kMul) ^ (h >> 29);
    for (; i < n; ++i) h = ((h ^ uchar(d[i])) * kMul) ^ (h >> 29);
    return {n, size_t(h)};
}

struct CacheEntry {
    Stamp stamp;
    bool settled = false;
    Digest digest;  // of the bytes parsed: a file read afresh with the same bytes is not parsed again
    std::shared_ptr<const Parsed> parsed;
};

std::mutex cacheMutex;
QHash<QString, CacheEntry>& cache()
{
    static QHash<QString, CacheEntry> c;
    return c;
}

// The parsed file, nullptr when it cannot be read or is not a regular file.
std::shared_ptr<const Parsed> load(const QString& path)
{
    const Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | kOpenFlags));
    struct stat st {};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const std::lock_guard lock(cacheMutex);
        cache().remove(path);
        return nullptr;
    }
    const Stamp stamp = stampOf(st);
    CacheEntry known;
    {
        const std::lock_guard lock(cacheMutex);
        const auto it = cache().constFind(path);
        if (it != cache().cend()) {
            if (it->settled && it->stamp == stamp) return it->parsed;
            known = *it;
        }
    }
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    // The bytes are looked at where the system keeps them, through a map: a large file is
    // then neither copied nor given fresh memory to be read into. A file cut or grown
    // while it was being looked at is read again the ordinary way.
    Digest digest;
    std::shared_ptr<const Parsed> parsed;
    // Reading the bytes again costs little; parsing them is what is worth keeping.
    const auto take = [&](const QByteArray& bytes) {
        digest = digestOf(bytes);
        parsed = known.parsed && known.digest == digest ? known.parsed : parseForReading(bytes);
    };
    bool looked = false;
    if (st.st_size > 0) {
        const FileMap map(file.fd, 0, st.st_size);
        if (map.ok()) {
            take(QByteArray::fromRawData(map.data(), qsizetype(map.length())));
            struct stat after {};
            looked = map.intact() && ::fstat(file.fd, &after) == 0 && after.st_size == st.st_size;
        }
    }
    if (!looked) {
        QByteArray bytes;
        if (!readWhole(file.fd, st, bytes)) return nullptr;
        take(bytes);
    }
    const qint64 settledBefore = nanoseconds(now) - kSettleNs;
    const std::lock_guard lock(cacheMutex);
    if (cache().size() > 32) cache().clear();  // a handful of settings files in a run
    cache().insert(path, {stamp, stamp.mtime < settledBefore && stamp.ctime < settledBefore, digest, parsed});
    return parsed;
}

// ------------------------------------------------------------------ writing

// Waits for the write lock on the whole file, a few seconds at most; then the file is in
// use by another program. Returns false on a file system without record locks, which is
// written unlocked, as it would be anyway.
bool lockForWriting(int fd, const QString& path)
{
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return true;
        const int error = errno;
        if (error == EINTR) continue;
        if (error == ENOLCK || error == EINVAL || error == EOPNOTSUPP) return false;
        if (error != EAGAIN && error != EACCES) fail("cannot lock", path, error);
        if (waited.elapsed() > lockWait.load())
            throw IniFileError("cannot lock " + path.toStdString() + ": in use by another program", IniFileError::Cause::InUse);
        QThread::usleep(500);
    }
}

bool writeAll(int fd, const char* data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t n = doPwrite(fd, data, size_t(size), offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

// What a write puts in the file's place: the old bytes before `keepHead`, then `middle`,
// then the old bytes from `keepTail` on (none when keepTail is the old size).
struct Replacement {
    qsizetype keepHead = 0;
    QByteArray middle;
    qsizetype keepTail = 0;
};

// Our temporary files beside `target`: its name, ".~" and six letters or digits.
constexpr const char* kTempMark = ".~";
constexpr int kTempRandom = 6;

bool isOurTemporary(const QByteArray& base, const char* name)
{
    const size_t n = std::strlen(name), b = size_t(base.size()), mark = std::strlen(kTempMark);
    if (n != b + mark + kTempRandom || std::memcmp(name, base.constData(), b) != 0 || std::memcmp(name + b, kTempMark, mark) != 0)
        return false;
    for (size_t i = b + mark; i < n; ++i)
        if (!std::isalnum(uchar(name[i]))) return false;
    return true;
}

// Removes the temporary files an interrupted write left beside `target`. Called only
// under the lock on the file the name stands for: every write of ours that is still
// running holds that lock, so what is found belongs to a write that is gone.
void removeLeftovers(const QString& target)
{
    const QFileInfo info(target);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray base = QFile::encodeName(info.fileName());
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return;
    const int dfd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        if (!isOurTemporary(base, e->d_name)) continue;
        struct stat st {};
        if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) ::unlinkat(dfd, e->d_name, 0);
    }
    ::closedir(dir);
}

// Replaces the locked file `held` (named `target`, its bytes `old`) as `r` says: a
// temporary file in the same folder, flushed, then renamed over it. A folder where no file
// can be made gets the file rewritten in place.
void replace(const QString& target, int held, const struct stat& st, const QByteArray& old, const Replacement& r)
{
    const auto writePieces = [&](int fd) {
        qint64 at = 0;
        const auto piece = [&](const char* data, qint64 size) {
            if (!writeAll(fd, data, size, at)) return false;
            at += size;
            return true;
        };
        return piece(old.constData(), r.keepHead) && piece(r.middle.constData(), r.middle.size())
            && piece(old.constData() + r.keepTail, old.size() - r.keepTail);
    };
    QByteArray temp = QFile::encodeName(target) + kTempMark + QByteArray(kTempRandom, 'X');
    const Descriptor out(::mkostemp(temp.data(), O_CLOEXEC));
    if (out.fd < 0) {
        const int error = errno;
        if (error != EACCES && error != EPERM) fail("cannot write", target, error);
        const qint64 size = r.keepHead + r.middle.size() + (old.size() - r.keepTail);
        if (!writePieces(held) || ::ftruncate(held, size) != 0 || doFsync(held) != 0) fail("cannot write", target, errno);
        return;
    }
    const auto discard = [&](int error) {
        ::unlink(temp.constData());
        fail("cannot write", target, error);
    };
    if (::fchmod(out.fd, st.st_mode & 07777) != 0) discard(errno);
    if (!writePieces(out.fd)) discard(errno);
    if (doFsync(out.fd) != 0) discard(errno);
    if (::rename(temp.constData(), QFile::encodeName(target).constData()) != 0) discard(errno);
    // The rename itself reaches the device with the folder.
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0) ::fsync(dir.fd);
}

// Reads the whole file under its write lock, lets `edit` say what replaces it and
// replaces the file when edit returns true. A missing file is created first when
// `create`, otherwise left alone.
void modify(const QString& path, bool create, const std::function<bool(const QByteArray&, Replacement&)>& edit)
{
    // A link keeps pointing at the file it names: the target is replaced, not the link.
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    const QByteArray name = QFile::encodeName(target);
    for (int attempt = 0;; ++attempt) {
        const Descriptor file(::open(name.constData(), O_RDWR | kOpenFlags | (create ? O_CREAT : 0), 0666));
        if (file.fd < 0) {
            if (!create && errno == ENOENT) return;
            fail("cannot write", path, errno);
        }
        struct stat held {}, named {};
        if (::fstat(file.fd, &held) != 0) fail("cannot read", path, errno);
        if (!S_ISREG(held.st_mode)) fail("cannot write", path, EISDIR);
        const bool locked = lockForWriting(file.fd, path);
        // Another program may have replaced the file while this one waited: the lock
        // counts only on the file the name still stands for.
        if (::fstat(file.fd, &held) != 0) fail("cannot read", path, errno);
        if (::stat(name.constData(), &named) != 0 || held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
            if (attempt > 1000) throw IniFileError("cannot lock " + path.toStdString(), IniFileError::Cause::InUse);
            continue;
        }
        QByteArray old;
        if (!readWhole(file.fd, held, old)) fail("cannot read", path, errno);
        Replacement r;
        r.keepTail = old.size();
        if (!edit(old, r)) return;
        if (locked) removeLeftovers(target);
        replace(target, file.fd, held, old, r);
        return;
    }
}

// An edit of the file as a list of decoded lines: the whole file is rewritten from them.
std::function<bool(const QByteArray&, Replacement&)> byLines(const std::function<bool(QStringList&)>& edit)
{
    return [edit](const QByteArray& old, Replacement& r) {
        QString text = platform::cp1252::decode(old);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        QStringList raw = text.split(QLatin1Char('\n'));
        if (!raw.isEmpty() && raw.back().isEmpty()) raw.pop_back();
        if (!edit(raw)) return false;
        r.keepHead = 0;
        r.keepTail = old.size();
        r.middle = platform::cp1252::encode(raw.isEmpty() ? QString() : raw.join(QLatin1String("\r\n")) + QLatin1String("\r\n"));
        return true;
    };
}

// Where a section lies among the lines: the index of its "[section]" line, and the index
// after its last non-blank line; -1 when it is missing.
struct Where {
    int sectionStart = -1;
    int sectionEnd = -1;
    int keyLine = -1;  // the first line of the key within the section
};

Where locate(const QStringList& raw, const QString& section, const QString& key)
{
    Where w;
    bool inside = false;
    for (int i = 0; i < raw.size(); ++i) {
        const QByteArray line = platform::cp1252::encode(raw[i]);
        const Classified c = classify(line.constData(), 0, line.size());
        const auto is = [&](const Span& s, const QString& name) {
            return sameTextAZ(platform::cp1252::decode(line.constData() + s.at, s.size), name);
        };
        if (c.kind == Classified::Section) {
            if (inside) break;  // the section ended
            if (is(c.name, section)) {
                inside = true;
                w.sectionStart = i;
                w.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inside) continue;
        if (c.kind != Classified::Blank) w.sectionEnd = i + 1;
        if (c.kind == Classified::Key && w.keyLine < 0 && is(c.name, key)) w.keyLine = i;
    }
    return w;
}

// The keys written into one section of the file's bytes, in order: a key's first line in
// the section is replaced, a new key goes after the section's last non-blank line, a
// missing section is added at the end. Only the section's own lines are rebuilt; the
// bytes before and after it are kept as they are.
bool writeKeys(const QByteArray& old, Replacement& r, const QString& section, const QList<std::pair<QString, QByteArray>>& entries)
{
    const char* d = old.constData();
    const std::optional<QByteArray> wanted = nameBytes(section);
    // The section's header line and the lines after it up to the next section.
    qsizetype headerEnd = -1, bodyEnd = old.size();
    struct BodyLine {
        qsizetype begin = 0, end = 0, next = 0;  // end excludes the line feed
        Classified kind;
        QByteArray replaced;  // the line's new text, when it was written or is new
        bool isNew = false, changed = false;
    };
    std::vector<BodyLine> body;
    forEachLine(old, [&](qsizetype b, qsizetype e, qsizetype next) {
        const Classified c = classify(d, b, e);
        if (headerEnd < 0) {
            if (c.kind == Classified::Section && wanted && sameName(d + c.name.at, c.name.size, wanted->constData(), wanted->size()))
                headerEnd = next;
            return true;
        }
        if (c.kind == Classified::Section) {
            bodyEnd = b;
            return false;
        }
        body.push_back({b, e, next, c, {}, false, false});
        return true;
    });
    const auto lineOf = [](const std::pair<QString, QByteArray>& kv) { return platform::cp1252::encode(kv.first) + '=' + kv.second; };
    if (headerEnd < 0) {
        // A new section at the end of the file; a key given twice keeps its last value.
        QList<std::pair<QString, QByteArray>> unique;
        for (const auto& kv : entries) {
            auto it = std::find_if(unique.begin(), unique.end(), [&](const auto& u) { return sameTextAZ(u.first, kv.first); });
            if (it != unique.end()) it->second = kv.second;
            else unique.append(kv);
        }
        r.keepHead = old.size();
        r.keepTail = old.size();
        if (!old.isEmpty() && !old.endsWith('\n')) r.middle += "\r\n";
        r.middle += '[' + platform::cp1252::encode(section) + "]\r\n";
        for (const auto& kv : unique) {
            // The name as first given, as a key written on its own would keep it.
            const auto first = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return sameTextAZ(e.first, kv.first); });
            r.middle += lineOf({first->first, kv.second}) + "\r\n";
        }
        return true;
    }
    for (const auto& kv : entries) {
        const std::optional<QByteArray> key = nameBytes(kv.first);
        qsizetype found = -1, lastFilled = -1;
        for (size_t i = 0; i < body.size(); ++i) {
            const BodyLine& l = body[i];
            if (l.kind.kind != Classified::Blank) lastFilled = qsizetype(i);
            if (found >= 0 || l.kind.kind != Classified::Key || !key) continue;
            const bool same = l.isNew ? sameTextAZ(platform::cp1252::decode(l.replaced.left(l.replaced.indexOf('='))), kv.first)
                                      : sameName(d + l.kind.name.at, l.kind.name.size, key->constData(), key->size());
            if (same) found = qsizetype(i);
        }
        if (found >= 0) {
            BodyLine& l = body[size_t(found)];
            l.changed = true;
            // The line is written as the caller names the key.
            l.replaced = lineOf(kv);
        } else {
            BodyLine l;
            l.kind.kind = Classified::Key;
            l.isNew = l.changed = true;
            l.replaced = lineOf(kv);
            body.insert(body.begin() + (lastFilled + 1), l);
        }
    }
    r.keepHead = headerEnd;
    if (headerEnd == old.size() && !old.endsWith('\n')) r.middle += "\r\n";  // the header was the file's last line
    for (const BodyLine& l : body) {
        if (l.changed) {
            r.middle += l.replaced;
            r.middle += "\r\n";
        } else {
            r.middle.append(d + l.begin, l.next - l.begin);
            if (l.next == l.end) r.middle += "\r\n";  // the file's last line had no line feed
        }
    }
    r.keepTail = bodyEnd;
    return true;
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

void IniFile::setLockWaitMs(int ms) { lockWait = ms; }
int IniFile::lockWaitMs() { return lockWait; }

void setIniWriteCalls(const IniWriteCalls* calls) { writeCalls = calls; }

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const auto parsed = load(path_);
    const Parsed::KeyEntry* k = parsed ? parsed->key(section, key) : nullptr;
    return k ? parsed->decoded(k->value) : defaultValue;
}

QStringList IniFile::readStrings(const QString& section, const QStringList& keys, const QString& defaultValue) const
{
    const auto parsed = load(path_);
    const Parsed::SectionEntry* s = parsed ? parsed->section(section) : nullptr;
    QStringList values;
    for (const QString& key : keys) {
        const Parsed::KeyEntry* k = s ? parsed->key(s, key) : nullptr;
        values << (k ? parsed->decoded(k->value) : defaultValue);
    }
    return values;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    int v = 0;
    return tryStrToInt(readString(section, key, QString()), v) ? v : defaultValue;
}

bool IniFile::sectionExists(const QString& section) const
{
    const auto parsed = load(path_);
    return parsed && parsed->section(section);
}

bool IniFile::valueExists(const QString& section, const QString& key) const
{
    const auto parsed = load(path_);
    return parsed && parsed->key(section, key);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    writeStrings(section, {{key, value}});
}

void IniFile::writeStrings(const QString& section, const QList<std::pair<QString, QString>>& values)
{
    if (values.isEmpty()) return;
    // A line break in a value would start a line of its own and corrupt the file: the
    // value is kept on its one line, each break written as a blank.
    QList<std::pair<QString, QByteArray>> entries;
    for (const auto& [key, value] : values) {
        QString oneLine = value;
        for (QChar& c : oneLine)
            if (c == u'\r' || c == u'\n') c = u' ';
        entries.append({key, platform::cp1252::encode(oneLine)});
    }
    modify(path_, true, [&](const QByteArray& old, Replacement& r) { return writeKeys(old, r, section, entries); });
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::setLines(const QStringList& lines)
{
    modify(path_, true, byLines([&](QStringList& raw) {
        raw = lines;
        return true;
    }));
}

QStringList IniFile::sections() const
{
    QStringList names;
    if (const auto parsed = load(path_))
        for (const Parsed::SectionEntry* s : parsed->firstSections()) names << parsed->decoded(s->name);
    return names;
}

QStringList IniFile::sectionValues(const QString& section) const
{
    QStringList values;
    const auto parsed = load(path_);
    if (const Parsed::SectionEntry* s = parsed ? parsed->section(section) : nullptr)
        for (qsizetype k = s->firstKey; k < s->endKey; ++k) {
            const Parsed::KeyEntry& e = parsed->keys[size_t(k)];
            values << parsed->decoded(e.name) + QLatin1Char('=') + parsed->decoded(e.value);
        }
    return values;
}

void IniFile::deleteKey(const QString& section, const QString& key)
{
    if (!valueExists(section, key)) return;
    modify(path_, false, byLines([&](QStringList& raw) {
        const Where w = locate(raw, section, key);
        if (w.keyLine < 0) return false;
        raw.removeAt(w.keyLine);
        return true;
    }));
}

void IniFile::eraseSection(const QString& section)
{
    if (!sectionExists(section)) return;
    modify(path_, false, byLines([&](QStringList& raw) {
        const Where w = locate(raw, section, QString());
        if (w.sectionStart < 0) return false;
        // The section runs to the next section line; blank lines and comments inside go too.
        int end = w.sectionStart + 1;
        while (end < raw.size()) {
            const QByteArray line = platform::cp1252::encode(raw[end]);
            if (classify(line.constData(), 0, line.size()).kind == Classified::Section) break;
            ++end;
        }
        raw.erase(raw.begin() + w.sectionStart, raw.begin() + end);
        return true;
    }));
}

} // namespace orv::platform
