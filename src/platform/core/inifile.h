#pragma once
// Settings files (INI text) read and written key by key, straight to disk: the settings
// file, the password store and the script engine's INI bridge use them.
//  - A read looks up one key of one section and yields the caller's default when the
//    file, the section or the key is missing; a key present with nothing after "=" reads
//    as the empty text.
//  - A write changes one key, or a few keys of one section, at once: the file is created
//    when missing, a key's line is replaced in place or added at the end of its section, a
//    missing section is added at the end of the file, and every other section, key,
//    comment and blank line stays as it was, byte for byte.
//  - Section and key names compare ignoring the case of A-Z; blanks around names and
//    values are ignored; a value wrapped in a pair of matching quotes loses them.
//  - Text is Windows-1252, lines end in CR LF (LF alone is read too).
//  - Reads and writes both see the whole file, whatever its size: what a write puts in is
//    what the next read finds. A file is parsed once and kept in memory, in a compact
//    form, until its size, times or identity on disk change.
//  - Only regular files are read or written; anything else reads as a missing file.
//  - A write locks the file, reads it afresh, changes its keys and replaces the file at
//    once (a temporary file beside it, flushed to the device, then renamed), so two
//    programs writing together both keep theirs, a reader never sees half a file and the
//    keys of one write are never mixed with another's. A write waits for another
//    program's lock a few seconds at most, then gives up without writing anything; it
//    also removes the temporary files an interrupted write of ours left beside the file.
#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <utility>

#include <sys/types.h>

namespace orv::platform {

// A write that could not reach the disk.
class IniFileError : public std::runtime_error {
public:
    enum class Cause {
        Other,     // no access, no such folder, an input/output error
        DiskFull,  // no space left on the device, or the user's quota spent
        InUse,     // another program held the file's lock longer than a write waits
    };
    explicit IniFileError(const std::string& what, Cause cause = Cause::Other)
        : std::runtime_error(what), cause_(cause) {}
    Cause cause() const { return cause_; }

private:
    Cause cause_;
};

class IniFile {
public:
    explicit IniFile(QString path);
    const QString& fileName() const { return path_; }

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Several keys of one section from one look at the file, in the order asked.
    QStringList readStrings(const QString& section, const QStringList& keys, const QString& defaultValue) const;
    // The value read as a whole number; the default when missing or not a number.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    // Throws IniFileError when the file cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    // Writes the keys of one section, in order, as one replacement of the file: another
    // program sees all of them or none. Throws IniFileError when the file cannot be
    // written; then none of them is.
    void writeStrings(const QString& section, const QList<std::pair<QString, QString>>& values);
    // Replaces the whole file by the lines, locked and replaced at once as a key's write is.
    // Throws IniFileError when the file cannot be written.
    void setLines(const QStringList& lines);

    // The names of the sections, in file order (a name repeated later counts once).
    QStringList sections() const;
    // The key lines of a section as "name=value", in file order.
    QStringList sectionValues(const QString& section) const;
    // Remove one key, or a whole section with its keys; nothing happens when it is missing.
    // Throw IniFileError when the file cannot be written.
    void deleteKey(const QString& section, const QString& key);
    void eraseSection(const QString& section);

    // How long a write waits for another program's lock before it gives up (ten seconds;
    // tests shorten it).
    static void setLockWaitMs(int ms);
    static int lockWaitMs();

private:
    QString path_;
};

// The calls a write makes to put bytes on the device; tests replace them to make the disk
// full. nullptr puts the system's calls back.
struct IniWriteCalls {
    ssize_t (*pwrite)(int fd, const void* data, size_t size, off_t offset);
    int (*fsync)(int fd);
};
void setIniWriteCalls(const IniWriteCalls* calls);

} // namespace orv::platform
