#include "platform/core/inifile.h"

#include "platform/core/cp1252.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

// One line of the file, classified.
struct Line {
    QString raw;
    enum Kind { Other, Section, Key } kind = Other;
    QString name;   // section or key name, trimmed
    QString value;  // key value, trimmed and unquoted
};

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
    throw IniFileError(std::string(what) + ' ' + path.toStdString() + ": " + std::strerror(error));
}

// The head of an open file: all of it within the limit, otherwise the whole lines that
// end within the limit. `truncated` tells whether bytes follow the head.
bool readHead(int fd, const struct stat& st, QByteArray& head, bool& truncated)
{
    const qint64 cap = IniFile::kReadLimit + 1;
    head.resize(std::min<qint64>(st.st_size + 1, cap));
    qint64 got = 0;
    for (;;) {
        if (got == head.size()) {
            if (head.size() >= cap) break;
            head.resize(std::min<qint64>(head.size() * 2, cap));  // the file grew since fstat
        }
        const ssize_t n = ::pread(fd, head.data() + got, size_t(head.size() - got), got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        got += n;
    }
    head.truncate(got);
    truncated = got > IniFile::kReadLimit;
    if (truncated) {
        head.truncate(IniFile::kReadLimit);
        head.truncate(head.lastIndexOf('\n') + 1);  // a line cut by the limit counts as not there
    }
    return true;
}

QStringList splitLines(const QByteArray& bytes)
{
    QString text = cp1252::decode(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
    return lines;
}

Line classify(const QString& raw)
{
    Line l;
    l.raw = raw;
    const QString t = trimmed(raw);
    if (t.startsWith(QLatin1Char('['))) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        l.kind = Line::Section;
        l.name = trimmed(t.mid(1, close < 0 ? -1 : close - 1));
        return l;
    }
    if (t.startsWith(QLatin1Char(';'))) return l;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0) return l;
    l.kind = Line::Key;
    l.name = trimmed(t.left(eq));
    QString v = trimmed(t.mid(eq + 1));
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    l.value = v;
    return l;
}

// Index of the key's line within the first section of that name, -1 when missing.
// sectionStart / sectionEnd tell where the section lies (-1 when it is missing).
struct Where {
    int sectionStart = -1;  // index of the "[section]" line
    int sectionEnd = -1;    // index after the section's last key line
    int keyLine = -1;
};

Where locate(const QList<Line>& lines, const QString& section, const QString& key)
{
    Where w;
    bool inside = false;
    for (int i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        if (l.kind == Line::Section) {
            if (inside) break;  // the section ended
            if (w.sectionStart < 0 && sameTextAZ(l.name, section)) {
                inside = true;
                w.sectionStart = i;
                w.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inside) continue;
        if (l.kind == Line::Key || l.kind == Line::Other) {
            if (!trimmed(l.raw).isEmpty()) w.sectionEnd = i + 1;
        }
        if (l.kind == Line::Key && w.keyLine < 0 && sameTextAZ(l.name, key)) w.keyLine = i;
    }
    return w;
}

QList<Line> parse(const QStringList& raw)
{
    QList<Line> out;
    out.reserve(raw.size());
    for (const QString& r : raw) out << classify(r);
    return out;
}

// ------------------------------------------------------------------ reading, cached

// What reads need of a file: the first section of each name with its keys in file order,
// found through the names folded to upper-case A-Z. Built in one pass.
struct Section {
    QString name;
    QList<std::pair<QString, QString>> keys;  // name, value
    QHash<QString, qsizetype> keyIndex;       // folded name -> first position in keys
};

struct Parsed {
    QList<Section> sections;
    QHash<QString, qsizetype> index;  // folded name -> position in sections

    const Section* section(const QString& name) const
    {
        const auto it = index.constFind(upperAZ(name));
        return it == index.cend() ? nullptr : &sections[*it];
    }
    const QString* value(const QString& sectionName, const QString& key) const
    {
        const Section* s = section(sectionName);
        if (!s) return nullptr;
        const auto it = s->keyIndex.constFind(upperAZ(key));
        return it == s->keyIndex.cend() ? nullptr : &s->keys[*it].second;
    }
};

Parsed parseForReading(const QStringList& raw)
{
    Parsed p;
    qsizetype current = -1;  // the section the lines belong to; -1 outside or in a repeat
    for (const QString& r : raw) {
        const Line l = classify(r);
        if (l.kind == Line::Section) {
            const QString folded = upperAZ(l.name);
            if (p.index.contains(folded)) {
                current = -1;
            } else {
                current = p.sections.size();
                p.index.insert(folded, current);
                p.sections.append(Section{l.name, {}, {}});
            }
        } else if (l.kind == Line::Key && current >= 0) {
            Section& s = p.sections[current];
            const QString folded = upperAZ(l.name);
            if (!s.keyIndex.contains(folded)) s.keyIndex.insert(folded, s.keys.size());  // the first counts
            s.keys.append({l.name, l.value});
        }
    }
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

struct CacheEntry {
    Stamp stamp;
    bool settled = false;
    QByteArray head;  // the bytes parsed: a file read afresh with the same bytes is not parsed again
    std::shared_ptr<const Parsed> parsed;
};

std::mutex cacheMutex;
QHash<QString, CacheEntry>& cache()
{
    static QHash<QString, CacheEntry> c;
    return c;
}

// The parsed file, nullptr when it cannot be read.
std::shared_ptr<const Parsed> load(const QString& path)
{
    const Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
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
    QByteArray head;
    bool truncated = false;
    if (!readHead(file.fd, st, head, truncated)) return nullptr;
    // Reading the bytes again costs little; parsing them is what is worth keeping.
    const auto parsed = known.parsed && known.head == head ? known.parsed
                                                           : std::make_shared<const Parsed>(parseForReading(splitLines(head)));
    const qint64 settledBefore = nanoseconds(now) - kSettleNs;
    const std::lock_guard lock(cacheMutex);
    if (cache().size() > 32) cache().clear();  // a handful of settings files in a run
    cache().insert(path, {stamp, stamp.mtime < settledBefore && stamp.ctime < settledBefore, head, parsed});
    return parsed;
}

// ------------------------------------------------------------------ writing

// Waits for the write lock on the whole file, a few seconds at most. A file system
// without record locks is written unlocked, as it would be anyway.
void lockForWriting(int fd, const QString& path)
{
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return;
        const int error = errno;
        if (error == EINTR) continue;
        if (error == ENOLCK || error == EINVAL || error == EOPNOTSUPP) return;
        if (error != EAGAIN && error != EACCES) fail("cannot lock", path, error);
        if (waited.elapsed() > 10000) fail("cannot lock", path, error);
        QThread::usleep(500);
    }
}

bool writeAll(int fd, const char* data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(size), offset);
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

// Appends the bytes of `from` after `offset` to `to` at `at`; false on a failure.
bool copyRest(int from, qint64 offset, int to, qint64 at)
{
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::pread(from, chunk.data(), size_t(chunk.size()), offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        if (!writeAll(to, chunk.constData(), n, at)) return false;
        offset += n;
        at += n;
    }
}

// Replaces the locked file `held` (named `target`) by `head` followed by its bytes from
// `tailFrom` on (none when tailFrom < 0): a temporary file in the same folder, flushed,
// then renamed over it. A folder where no file can be made gets the file rewritten in place.
void replace(const QString& target, int held, const struct stat& st, const QByteArray& head, qint64 tailFrom)
{
    QByteArray temp = QFile::encodeName(target) + ".XXXXXX";
    const Descriptor out(::mkostemp(temp.data(), O_CLOEXEC));
    if (out.fd < 0) {
        const int error = errno;
        if (error != EACCES && error != EPERM) fail("cannot write", target, error);
        QByteArray all = head;
        if (tailFrom >= 0) {
            QByteArray rest(qsizetype(std::max<qint64>(st.st_size - tailFrom, 0)), Qt::Uninitialized);
            const ssize_t n = ::pread(held, rest.data(), size_t(rest.size()), tailFrom);
            if (n < 0) fail("cannot read", target, errno);
            all += rest.left(n);
        }
        if (!writeAll(held, all.constData(), all.size(), 0) || ::ftruncate(held, all.size()) != 0 || ::fsync(held) != 0)
            fail("cannot write", target, errno);
        return;
    }
    const auto discard = [&](int error) {
        ::unlink(temp.constData());
        fail("cannot write", target, error);
    };
    if (::fchmod(out.fd, st.st_mode & 07777) != 0) discard(errno);
    if (!writeAll(out.fd, head.constData(), head.size(), 0)) discard(errno);
    if (tailFrom >= 0 && !copyRest(held, tailFrom, out.fd, head.size())) discard(errno);
    if (::fsync(out.fd) != 0) discard(errno);
    if (::rename(temp.constData(), QFile::encodeName(target).constData()) != 0) discard(errno);
    // The rename itself reaches the device with the folder.
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0) ::fsync(dir.fd);
}

// Reads the file under its write lock, lets `edit` change its lines and replaces the file
// when edit returns true. A missing file is created first when `create`, otherwise left
// alone. Lines beyond the read limit are carried over untouched unless `wholeFile`, where
// the lines edit leaves are all the file keeps.
void modify(const QString& path, bool create, const std::function<bool(QStringList&)>& edit, bool wholeFile = false)
{
    // A link keeps pointing at the file it names: the target is replaced, not the link.
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    const QByteArray name = QFile::encodeName(target);
    for (int attempt = 0;; ++attempt) {
        const Descriptor file(::open(name.constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0666));
        if (file.fd < 0) {
            if (!create && errno == ENOENT) return;
            fail("cannot write", path, errno);
        }
        lockForWriting(file.fd, path);
        // Another program may have replaced the file while this one waited: the lock
        // counts only on the file the name still stands for.
        struct stat held {}, named {};
        if (::fstat(file.fd, &held) != 0) fail("cannot read", path, errno);
        if (::stat(name.constData(), &named) != 0 || held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
            if (attempt > 1000) fail("cannot lock", path, EAGAIN);
            continue;
        }
        if (!S_ISREG(held.st_mode)) fail("cannot write", path, EISDIR);
        QByteArray head;
        bool truncated = false;
        if (!readHead(file.fd, held, head, truncated)) fail("cannot read", path, errno);
        QStringList raw = splitLines(head);
        if (!edit(raw)) return;
        const QByteArray bytes = cp1252::encode(raw.isEmpty() ? QString() : raw.join(QLatin1String("\r\n")) + QLatin1String("\r\n"));
        replace(target, file.fd, held, bytes, truncated && !wholeFile ? head.size() : -1);
        return;
    }
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const auto parsed = load(path_);
    const QString* v = parsed ? parsed->value(section, key) : nullptr;
    return v ? *v : defaultValue;
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
    return parsed && parsed->value(section, key);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    // A line break in a value would start a line of its own and corrupt the file: the
    // value is kept on its one line, each break written as a blank.
    QString oneLine = value;
    for (QChar& c : oneLine)
        if (c == u'\r' || c == u'\n')
            c = u' ';
    const QString entry = key + QLatin1Char('=') + oneLine;
    modify(path_, true, [&](QStringList& raw) {
        const Where w = locate(parse(raw), section, key);
        if (w.keyLine >= 0) {
            raw[w.keyLine] = entry;
        } else if (w.sectionStart >= 0) {
            raw.insert(w.sectionEnd, entry);
        } else {
            raw << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        }
        return true;
    });
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::setLines(const QStringList& lines)
{
    modify(path_, true, [&](QStringList& raw) {
        raw = lines;
        return true;
    }, true);
}

QStringList IniFile::sections() const
{
    QStringList names;
    if (const auto parsed = load(path_))
        for (const Section& s : parsed->sections) names << s.name;
    return names;
}

QStringList IniFile::sectionValues(const QString& section) const
{
    QStringList values;
    const auto parsed = load(path_);
    if (const Section* s = parsed ? parsed->section(section) : nullptr)
        for (const auto& [name, value] : s->keys) values << name + QLatin1Char('=') + value;
    return values;
}

void IniFile::deleteKey(const QString& section, const QString& key)
{
    if (!valueExists(section, key)) return;
    modify(path_, false, [&](QStringList& raw) {
        const Where w = locate(parse(raw), section, key);
        if (w.keyLine < 0) return false;
        raw.removeAt(w.keyLine);
        return true;
    });
}

void IniFile::eraseSection(const QString& section)
{
    if (!sectionExists(section)) return;
    modify(path_, false, [&](QStringList& raw) {
        const QList<Line> lines = parse(raw);
        const Where w = locate(lines, section, QString());
        if (w.sectionStart < 0) return false;
        // The section runs to the next section line; blank lines and comments inside go too.
        int end = w.sectionStart + 1;
        while (end < lines.size() && lines[end].kind != Line::Section) ++end;
        raw.erase(raw.begin() + w.sectionStart, raw.begin() + end);
        return true;
    });
}

} // namespace orv
