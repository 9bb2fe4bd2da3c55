#include "platform/core/inifile.h"

#include "platform/core/cp1252.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"

#include <QFile>
#include <QSaveFile>

#include <optional>

namespace orv {

namespace {

// One line of the file, classified.
struct Line {
    QString raw;
    enum Kind { Other, Section, Key } kind = Other;
    QString name;   // section or key name, trimmed
    QString value;  // key value, trimmed and unquoted
};

std::optional<QStringList> readLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    QString text = cp1252::decode(f.readAll());
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

void writeLines(const QString& path, const QStringList& raw)
{
    QSaveFile f(path);
    f.setDirectWriteFallback(true);
    const QByteArray bytes = cp1252::encode(raw.isEmpty() ? QString() : raw.join(QLatin1String("\r\n")) + QLatin1String("\r\n"));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw IniFileError(("cannot write " + path).toStdString());
}

QList<Line> parse(const QStringList& raw)
{
    QList<Line> out;
    out.reserve(raw.size());
    for (const QString& r : raw) out << classify(r);
    return out;
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const auto raw = readLines(path_);
    if (!raw) return defaultValue;
    const QList<Line> lines = parse(*raw);
    const Where w = locate(lines, section, key);
    return w.keyLine < 0 ? defaultValue : lines[w.keyLine].value;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    int v = 0;
    return tryStrToInt(readString(section, key, QString()), v) ? v : defaultValue;
}

bool IniFile::sectionExists(const QString& section) const
{
    const auto raw = readLines(path_);
    return raw && locate(parse(*raw), section, QString()).sectionStart >= 0;
}

bool IniFile::valueExists(const QString& section, const QString& key) const
{
    const auto raw = readLines(path_);
    return raw && locate(parse(*raw), section, key).keyLine >= 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    QStringList raw;
    if (QFile::exists(path_)) {
        const auto read = readLines(path_);
        if (!read) throw IniFileError(("cannot read " + path_).toStdString());
        raw = *read;
    }
    const QList<Line> lines = parse(raw);
    const Where w = locate(lines, section, key);
    // A line break in a value would start a line of its own and corrupt the file: the
    // value is kept on its one line, each break written as a blank.
    QString oneLine = value;
    for (QChar& c : oneLine)
        if (c == u'\r' || c == u'\n')
            c = u' ';
    const QString entry = key + QLatin1Char('=') + oneLine;
    if (w.keyLine >= 0) {
        raw[w.keyLine] = entry;
    } else if (w.sectionStart >= 0) {
        raw.insert(w.sectionEnd, entry);
    } else {
        raw << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    }
    writeLines(path_, raw);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

QStringList IniFile::sections() const
{
    QStringList names;
    const auto raw = readLines(path_);
    if (!raw) return names;
    for (const Line& l : parse(*raw)) {
        if (l.kind != Line::Section) continue;
        bool seen = false;
        for (const QString& n : names) seen = seen || sameTextAZ(n, l.name);
        if (!seen) names << l.name;
    }
    return names;
}

QStringList IniFile::sectionValues(const QString& section) const
{
    QStringList values;
    const auto raw = readLines(path_);
    if (!raw) return values;
    const QList<Line> lines = parse(*raw);
    const Where w = locate(lines, section, QString());
    if (w.sectionStart < 0) return values;
    for (int i = w.sectionStart + 1; i < w.sectionEnd; ++i)
        if (lines[i].kind == Line::Key) values << lines[i].name + QLatin1Char('=') + lines[i].value;
    return values;
}

void IniFile::deleteKey(const QString& section, const QString& key)
{
    const auto raw = readLines(path_);
    if (!raw) return;
    const Where w = locate(parse(*raw), section, key);
    if (w.keyLine < 0) return;
    QStringList out = *raw;
    out.removeAt(w.keyLine);
    writeLines(path_, out);
}

void IniFile::eraseSection(const QString& section)
{
    const auto raw = readLines(path_);
    if (!raw) return;
    const QList<Line> lines = parse(*raw);
    const Where w = locate(lines, section, QString());
    if (w.sectionStart < 0) return;
    // The section runs to the next section line; blank lines and comments inside go too.
    int end = w.sectionStart + 1;
    while (end < lines.size() && lines[end].kind != Line::Section) ++end;
    QStringList out = *raw;
    out.erase(out.begin() + w.sectionStart, out.begin() + end);
    writeLines(path_, out);
}

} // namespace orv
