#pragma once
// Settings files (INI text) read and written key by key, straight to disk: the settings
// file, the password store and the script engine's INI bridge use them.
//  - A read looks up one key of one section and yields the caller's default when the
//    file, the section or the key is missing; a key present with nothing after "=" reads
//    as the empty text.
//  - A write changes one key at once: the file is created when missing, the key's line is
//    replaced in place or added at the end of its section, a missing section is added at
//    the end of the file, and every other section, key, comment and blank line stays.
//  - Section and key names compare ignoring the case of A-Z; blanks around names and
//    values are ignored; a value wrapped in a pair of matching quotes loses them.
//  - Text is Windows-1252, lines end in CR LF (LF alone is read too).
//  - A file is parsed once and kept in memory until its size, times or identity on disk
//    change; only its first kReadLimit bytes (whole lines) count, the rest is ignored by
//    reads and carried over unchanged by writes.
//  - A write locks the file, reads it afresh, changes its one key and replaces the file
//    at once (a temporary file beside it, flushed to the device, then renamed), so two
//    programs writing keys together both keep theirs and a reader never sees half a file.
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace orv {

// A write that could not reach the disk.
class IniFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IniFile {
public:
    // The part of a file that reads look at; settings files are a few kilobytes.
    static constexpr qint64 kReadLimit = 1 << 20;

    explicit IniFile(QString path);
    const QString& fileName() const { return path_; }

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // The value read as a whole number; the default when missing or not a number.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    // Throws IniFileError when the file cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
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

private:
    QString path_;
};

} // namespace orv
