#include "archive/lists.h"

#include <algorithm>
#include <array>
#include <vector>

#include "archive/helpers.h"
#include "platform/core/cp1252.h"
#include "platform/core/text.h"

namespace orv::archive {
using namespace orv::platform;
} // namespace orv::archive

namespace orv::archive {

bool CriteriSoddisfatti(const QStringList& criteria, const QStringList& fields)
{
    for (qsizetype i = 0; i < criteria.size(); ++i) {
        const QString& c = criteria[i];
        if (orv::platform::trimmed(c).isEmpty())
            continue;
        // As typed: a leading blank is part of what is looked for.
        if (!orv::platform::containsAZ(i < fields.size() ? fields[i] : QString(), c))
            return false;
    }
    return true;
}

} // namespace orv::archive

namespace orv::archive {

int criteriaInUse(const QStringList& criteria)
{
    return int(std::count_if(criteria.begin(), criteria.end(),
                             [](const QString& c) { return !trimmed(c).isEmpty(); }));
}

QString column(const QString& text, int width)
{
    QString t = trimmed(text);
    if (t.size() >= width)
        return Sinistra(t, width);
    return t + QString(width - t.size(), u' ');
}

QString LineBuilder::rest(const QString& text)
{
    line_ += trimmed(text);
    return line_;
}

namespace {

// Windows-1252 to Unicode, byte by byte.
const std::array<char16_t, 256>& unicodeOf()
{
    static const std::array<char16_t, 256> t = [] {
        std::array<char16_t, 256> u{};
        for (int b = 0; b < 256; ++b)
            u[size_t(b)] = platform::cp1252::toUnicode(static_cast<unsigned char>(b));
        return u;
    }();
    return t;
}

} // namespace

void StoredLineBuilder::start(const char* record, qsizetype size)
{
    record_ = record;
    size_ = size;
    wide_ = false;
    line_.clear();
    wideLine_.clear();
}

std::pair<const unsigned char*, qsizetype> StoredLineBuilder::stored(int field)
{
    if (!read_.contains(field))
        read_.append(field);
    // As fieldText(): a length byte past the width is the width, a short record's missing
    // fields are empty, blanks (codes up to 32) are trimmed from both ends.
    const int at = layout_.offset(field);
    if (size_ <= at)
        return {nullptr, 0};
    const auto* f = reinterpret_cast<const unsigned char*>(record_) + at;
    qsizetype length = qMin<qsizetype>(f[0], qMin<qsizetype>(layout_.field(field).width, size_ - at - 1));
    const unsigned char* text = f + 1;
    while (length > 0 && text[0] <= 32) {
        ++text;
        --length;
    }
    while (length > 0 && text[length - 1] <= 32)
        --length;
    return {text, length};
}

void StoredLineBuilder::widen()
{
    wide_ = true;
    wideLine_.resize(line_.size());
    for (qsizetype i = 0; i < line_.size(); ++i)
        wideLine_[i] = static_cast<unsigned char>(line_[i]);
}

void StoredLineBuilder::append(const unsigned char* text, qsizetype length)
{
    const auto& unicode = unicodeOf();
    if (!wide_) {
        const qsizetype at = line_.size();
        char16_t all = 0;
        // Through a buffer of the stack: appending a stretch costs the array less than
        // resizing it.
        char part[256];
        for (qsizetype from = 0; from < length; from += qsizetype(sizeof part)) {
            const qsizetype n = qMin<qsizetype>(length - from, qsizetype(sizeof part));
            for (qsizetype i = 0; i < n; ++i) {
                const char16_t c = unicode[text[from + i]];
                all |= c;
                part[i] = char(c);
            }
            line_.append(part, n);
        }
        if (all <= 0xFF)
            return;
        // A character past Latin-1 (the euro sign, typographic quotes): the line goes on
        // two bytes a character.
        line_.resize(at);
        widen();
    }
    const qsizetype at = wideLine_.size();
    wideLine_.resize(at + length);
    for (qsizetype i = 0; i < length; ++i)
        wideLine_[at + i] = unicode[text[i]];
}

StoredLineBuilder& StoredLineBuilder::col(int field, int width)
{
    const auto [text, length] = stored(field);
    const qsizetype shown = qMin<qsizetype>(length, qMax(width, 0));
    append(text, shown);
    // The padding in one step rather than a blank at a time.
    const qsizetype pad = qMax<qsizetype>(width, shown) - shown;
    if (wide_) {
        const qsizetype at = wideLine_.size();
        wideLine_.resize(at + pad);
        std::fill(wideLine_.begin() + at, wideLine_.end(), u' ');
    } else {
        static const QByteArray blanks(256, ' ');
        for (qsizetype left = pad; left > 0; left -= blanks.size())
            line_.append(blanks.constData(), qMin<qsizetype>(left, blanks.size()));
    }
    return *this;
}

StoredLineBuilder& StoredLineBuilder::lit(QStringView text)
{
    if (!wide_) {
        char16_t all = 0;
        for (QChar c : text)
            all |= c.unicode();
        if (all > 0xFF) {
            widen();
        } else {
            char part[64];
            for (qsizetype from = 0; from < text.size(); from += qsizetype(sizeof part)) {
                const qsizetype n = qMin<qsizetype>(text.size() - from, qsizetype(sizeof part));
                for (qsizetype i = 0; i < n; ++i)
                    part[i] = char(text[from + i].unicode());
                line_.append(part, n);
            }
            return *this;
        }
    }
    wideLine_.append(text.utf16(), text.size());
    return *this;
}

StoredLineBuilder& StoredLineBuilder::last(int field)
{
    const auto [text, length] = stored(field);
    append(text, length);
    return *this;
}

StoredLineBuilder& StoredLineBuilder::fit(qsizetype from, int width)
{
    const qsizetype end = from + qMax(width, 0);
    if (wide_) {
        const qsizetype at = wideLine_.size();
        wideLine_.resize(end);
        if (end > at)
            std::fill(wideLine_.begin() + at, wideLine_.end(), u' ');
    } else {
        const qsizetype at = line_.size();
        line_.resize(end);
        if (end > at)
            std::fill(line_.begin() + at, line_.end(), ' ');
    }
    return *this;
}

QString StoredLineBuilder::str() const
{
    if (wide_)
        return QString(reinterpret_cast<const QChar*>(wideLine_.constData()), wideLine_.size());
    return QString::fromLatin1(line_.constData(), line_.size());
}

void StoredLineBuilder::addTo(ResultSink& out, qint64 record) const
{
    if (wide_)
        out.add(str(), record);
    else
        out.add(QLatin1StringView(line_.constData(), line_.size()), record);
}

bool listLineLess(const QString& a, const QString& b) { return compareTextAZ(a, b) < 0; }

void ResultList::clear()
{
    lines_.clear();
    shown_.clear();
    pending_ = false;
}

void ResultList::add(const QString& line, qint64 record)
{
    lines_.append(ResultLine{line, record});
    pending_ = true;
}

void ResultList::truncate(qsizetype lines)
{
    if (lines < lines_.size()) {
        lines_.resize(lines);
        pending_ = true;
    }
}

const QList<ResultLine>& ResultList::lines() const
{
    // Sorted once when read rather than on every insertion: a search may add many lines.
    if (!sorted_)
        return lines_;
    if (pending_) {
        shown_ = lines_;
        std::stable_sort(shown_.begin(), shown_.end(),
                         [](const ResultLine& x, const ResultLine& y) { return listLineLess(x.text, y.text); });
        pending_ = false;
    }
    return shown_;
}

QStringList ResultList::texts() const
{
    QStringList t;
    t.reserve(lines_.size());
    for (const ResultLine& l : lines())
        t.append(l.text);
    return t;
}

QString countText(qsizetype lines)
{
    return u"Il presente riepilogo contiene "_qs + QString::number(lines) + u" schede."_qs;
}

void fillList(ArchiveFile& file, ResultSink& out, const std::function<bool(const QByteArray&)>& accept,
              const std::function<QString(const QByteArray&)>& line)
{
    // Record by record in archive order, a few megabytes at a time held in place; the
    // records are those counted when the list starts filling.
    constexpr qint64 kBlockBytes = 32 << 20;
    out.clear();
    const qint64 count = file.count();
    const qint64 size = file.recordSize();
    const qint64 block = qMax<qint64>(1, kBlockBytes / size);
    file.seek(0);
    for (qint64 i = 0; i < count;) {
        const RecordBlock records = file.holdRecords(qMin(block, count - i));
        if (records.isEmpty())
            throw ArchiveError(file.path() + u": the archive shrank while being read"_qs);
        const qsizetype before = out.size();
        for (qint64 r = 0; r < records.count(); ++r, ++i) {
            const QByteArray rec = QByteArray::fromRawData(records.record(r), size);
            if (accept(rec))
                out.add(line(rec), i);
        }
        if (!records.intact()) {
            out.truncate(before);
            throw ArchiveError(file.path() + u": the archive shrank while being read"_qs);
        }
    }
}

namespace {

inline unsigned char upperByte(unsigned char b) { return (b >= 'a' && b <= 'z') ? b - 32 : b; }

// One criterion in use, tested on the stored bytes of its field: the same answer as
// CriteriSoddisfatti on the decoded, trimmed text, because Windows-1252 gives every byte
// one character of its own and only the ASCII letters change case.
struct StoredCriterion {
    int offset = 0, width = 0;
    QByteArray needle; // the text as typed, in Windows-1252, A-Z upper-cased
    bool possible = true; // false when the text holds a character no field can hold

    bool holds(const QByteArray& rec) const
    {
        if (!possible || rec.size() <= offset)
            return false;
        const auto* f = reinterpret_cast<const unsigned char*>(rec.constData()) + offset;
        qsizetype length = qMin<qsizetype>(f[0], qMin<qsizetype>(width, rec.size() - offset - 1));
        const unsigned char* text = f + 1;
        while (length > 0 && text[0] <= 32) {
            ++text;
            --length;
        }
        while (length > 0 && text[length - 1] <= 32)
            --length;
        const qsizetype n = needle.size();
        const auto* want = reinterpret_cast<const unsigned char*>(needle.constData());
        for (qsizetype i = 0; i + n <= length; ++i) {
            if (upperByte(text[i]) != want[0])
                continue;
            qsizetype k = 1;
            while (k < n && upperByte(text[i + k]) == want[k])
                ++k;
            if (k == n)
                return true;
        }
        return false;
    }
};

} // namespace

namespace {

std::vector<StoredCriterion> storedCriteria(const RecordLayout& layout, const QStringList& criteria,
                                            const QList<int>& criterionFields)
{
    Q_ASSERT(criteria.size() == criterionFields.size());
    // Only the criteria in use are tested, on their fields' bytes.
    std::vector<StoredCriterion> used;
    for (qsizetype i = 0; i < criteria.size(); ++i) {
        if (trimmed(criteria[i]).isEmpty())
            continue;
        StoredCriterion c;
        c.offset = layout.offset(criterionFields[i]);
        c.width = layout.field(criterionFields[i]).width;
        c.needle = platform::cp1252::encode(upperAZ(criteria[i]), &c.possible);
        used.push_back(std::move(c));
    }
    return used;
}

// The search's walk over the archive: every record that meets the criteria goes to
// `take`(record, index), in archive order. The records are held in place a block at a
// time; a search looks at a few bytes of each record, so the fields it is about to
// read (the criteria's, and the line's `lineFields` while most records are listed) are
// asked of the memory some records ahead.
template <class Take>
void walk(ArchiveFile& file, const RecordLayout& layout, ResultSink& out, const std::vector<StoredCriterion>& used,
          const QVarLengthArray<int, 16>& lineFields, Take take)
{
    constexpr qint64 kBlockBytes = 32 << 20;
    constexpr qint64 kAhead = 16;
    out.clear();
    const qint64 count = file.count();
    const qint64 size = file.recordSize();
    const qint64 block = qMax<qint64>(1, kBlockBytes / size);
    qint64 listed = 0;
    file.seek(0);
    for (qint64 i = 0; i < count;) {
        const RecordBlock records = file.holdRecords(qMin(block, count - i));
        if (records.isEmpty())
            throw ArchiveError(file.path() + u": the archive shrank while being read"_qs);
        const qsizetype before = out.size();
        for (qint64 r = 0; r < records.count(); ++r, ++i) {
            if (r + kAhead < records.count()) {
                const bool lines = listed * 4 > i; // most records listed so far
                const char* ahead = records.record(r + kAhead);
                for (const StoredCriterion& c : used)
                    __builtin_prefetch(ahead + c.offset);
                if (lines)
                    for (int f : lineFields) {
                        // The length byte and the text's start, often in the next line.
                        // (A prefetch never faults, also past the record.)
                        __builtin_prefetch(ahead + layout.offset(f));
                        __builtin_prefetch(ahead + layout.offset(f) + 63);
                    }
            }
            const QByteArray rec = QByteArray::fromRawData(records.record(r), size);
            bool holds = true;
            for (const StoredCriterion& c : used)
                if (!c.holds(rec)) {
                    holds = false;
                    break;
                }
            if (holds) {
                take(rec, i);
                ++listed;
            }
        }
        if (!records.intact()) {
            out.truncate(before);
            throw ArchiveError(file.path() + u": the archive shrank while being read"_qs);
        }
    }
}

} // namespace

void search(ArchiveFile& file, const RecordLayout& layout, const QStringList& criteria,
            const QList<int>& criterionFields, ResultSink& out,
            const std::function<QString(const QByteArray&)>& line)
{
    walk(file, layout, out, storedCriteria(layout, criteria, criterionFields), {},
         [&](const QByteArray& rec, qint64 i) { out.add(line(rec), i); });
}

void search(ArchiveFile& file, const RecordLayout& layout, const QStringList& criteria,
            const QList<int>& criterionFields, ResultSink& out, const StoredLine& line)
{
    StoredLineBuilder b(layout);
    walk(file, layout, out, storedCriteria(layout, criteria, criterionFields), b.fieldsRead(),
         [&](const QByteArray& rec, qint64 i) {
             b.start(rec.constData(), rec.size());
             line(b);
             b.addTo(out, i);
         });
}

} // namespace orv::archive

namespace orv::archive {

std::optional<qsizetype> TrovaInLista(qsizetype count, const std::function<QString(qsizetype)>& line,
                                      qsizetype selected, const QString& typed, QString& ultimaRicerca)
{
    if (count <= 0)
        return std::nullopt;
    if (selected < 0 || selected >= count)
        selected = 0;
    const QString t = orv::platform::lowerAZ(typed);
    const auto matches = [&](qsizetype i) { return !t.isEmpty() && orv::platform::containsAZ(line(i), t); };

    const bool newText = t != ultimaRicerca;
    ultimaRicerca = t;
    qsizetype index = newText ? 0 : selected;
    if (newText && matches(0))
        return 0;
    const qsizetype start = index;
    do {
        index = (index + 1) % count;
        if (matches(index))
            return index;
    } while (index != start);
    return selected;
}

std::optional<qsizetype> TrovaInLista(const QStringList& lines, qsizetype selected, const QString& typed,
                                      QString& ultimaRicerca)
{
    return TrovaInLista(lines.size(), [&](qsizetype i) { return lines[i]; }, selected, typed, ultimaRicerca);
}

std::optional<orv::archive::FoundRecord> CercaPerRiga(orv::platform::ArchiveFile& file,
                                                      const std::function<QString(const QByteArray&)>& line,
                                                      const orv::archive::ResultLine& chosen)
{
    const QString wanted = orv::platform::trimmed(chosen.text);
    const qint64 count = file.count();
    if (chosen.record >= 0 && chosen.record < count) {
        file.seek(chosen.record);
        QByteArray rec = file.read();
        if (orv::platform::trimmed(line(rec)) == wanted)
            return orv::archive::FoundRecord{std::move(rec), chosen.record + 1};
    }
    std::optional<orv::archive::FoundRecord> found;
    file.seek(0);
    for (qint64 i = 0; i < count; ++i) {
        QByteArray rec = file.read();
        if (orv::platform::trimmed(line(rec)) == wanted)
            found = orv::archive::FoundRecord{std::move(rec), i + 1};
    }
    return found;
}

bool StampaRiepilogo(orv::archive::SummaryLayout& layout, const QString& title, const QStringList& lines)
{
    const double memoHeight = double(lines.size()) * orv::archive::kSummaryLineHeight;
    if (!layout.setMemoText(u"txtTitolo"_qs, title) || !layout.setMemoLines(u"txtRiepilogo"_qs, lines)
        || !layout.setHeight(u"txtRiepilogo"_qs, memoHeight) || !layout.setHeight(u"MasterData"_qs, memoHeight + 10))
        return false;
    layout.prepareAndPrint();
    return true;
}

} // namespace orv::archive
