#include "archive/lists.h"

#include <algorithm>
#include <array>

#include "archive/helpers.h"
#include "platform/core/cp1252.h"
#include "platform/core/text.h"

bool CriteriSoddisfatti(const QStringList& criteria, const QStringList& fields)
{
    for (qsizetype i = 0; i < criteria.size(); ++i) {
        const QString& c = criteria[i];
        if (orv::trimmed(c).isEmpty())
            continue;
        // As typed: a leading blank is part of what is looked for.
        if (!orv::containsAZ(i < fields.size() ? fields[i] : QString(), c))
            return false;
    }
    return true;
}

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

std::pair<const unsigned char*, qsizetype> StoredLineBuilder::stored(int field) const
{
    // As fieldText(): a length byte past the width is the width, a short record's missing
    // fields are empty, blanks (codes up to 32) are trimmed from both ends.
    const int at = layout_.offset(field);
    if (record_.size() <= at)
        return {nullptr, 0};
    const auto* f = reinterpret_cast<const unsigned char*>(record_.constData()) + at;
    qsizetype length = qMin<qsizetype>(f[0], qMin<qsizetype>(layout_.field(field).width, record_.size() - at - 1));
    const unsigned char* text = f + 1;
    while (length > 0 && text[0] <= 32) {
        ++text;
        --length;
    }
    while (length > 0 && text[length - 1] <= 32)
        --length;
    return {text, length};
}

void StoredLineBuilder::append(const unsigned char* text, qsizetype length)
{
    static const std::array<char16_t, 256> unicode = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = cp1252::toUnicode(static_cast<unsigned char>(b));
        return t;
    }();
    const qsizetype at = line_.size();
    line_.resize(at + length);
    for (qsizetype i = 0; i < length; ++i)
        line_[at + i] = unicode[text[i]];
}

StoredLineBuilder& StoredLineBuilder::col(int field, int width)
{
    const auto [text, length] = stored(field);
    const qsizetype shown = qMin<qsizetype>(length, qMax(width, 0));
    const qsizetype at = line_.size();
    append(text, shown);
    // The padding in one step rather than a blank at a time.
    const qsizetype end = at + qMax<qsizetype>(width, shown);
    line_.resize(end);
    std::fill(line_.begin() + at + shown, line_.begin() + end, u' ');
    return *this;
}

StoredLineBuilder& StoredLineBuilder::lit(QStringView text)
{
    line_.append(text.utf16(), text.size());
    return *this;
}

QString StoredLineBuilder::rest(int field)
{
    const auto [text, length] = stored(field);
    append(text, length);
    return QString(reinterpret_cast<const QChar*>(line_.constData()), line_.size());
}

bool listLineLess(const QString& a, const QString& b) { return compareTextAZ(a, b) < 0; }

void ResultList::clear()
{
    lines_.clear();
    pending_ = false;
}

void ResultList::add(const QString& line, qint64 record)
{
    lines_.append(ResultLine{line, record});
    pending_ = sorted_;
}

const QList<ResultLine>& ResultList::lines() const
{
    // Sorted once when read rather than on every insertion: a search may add many lines.
    if (pending_) {
        std::stable_sort(lines_.begin(), lines_.end(),
                         [](const ResultLine& x, const ResultLine& y) { return listLineLess(x.text, y.text); });
        pending_ = false;
    }
    return lines_;
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
    // Record by record in archive order, fetched a block at a time; the records are
    // those counted when the list starts filling.
    constexpr qint64 kBlock = 64;
    out.clear();
    const qint64 count = file.count();
    const qint64 size = file.recordSize();
    file.seek(0);
    for (qint64 i = 0; i < count;) {
        const QByteArray block = file.readRecords(qMin(kBlock, count - i));
        if (block.isEmpty())
            throw ArchiveError(file.path() + u": the archive shrank while being read"_qs);
        for (qsizetype at = 0; at < block.size(); at += size, ++i) {
            const QByteArray rec = QByteArray::fromRawData(block.constData() + at, size);
            if (accept(rec))
                out.add(line(rec), i);
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

void search(ArchiveFile& file, const RecordLayout& layout, const QStringList& criteria,
            const QList<int>& criterionFields, ResultSink& out,
            const std::function<QString(const QByteArray&)>& line)
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
        c.needle = cp1252::encode(upperAZ(criteria[i]), &c.possible);
        used.push_back(std::move(c));
    }
    fillList(file, out, [&](const QByteArray& rec) {
        for (const StoredCriterion& c : used)
            if (!c.holds(rec))
                return false;
        return true;
    }, line);
}

} // namespace orv::archive

std::optional<qsizetype> TrovaInLista(qsizetype count, const std::function<QString(qsizetype)>& line,
                                      qsizetype selected, const QString& typed, QString& ultimaRicerca)
{
    if (count <= 0)
        return std::nullopt;
    if (selected < 0 || selected >= count)
        selected = 0;
    const QString t = orv::lowerAZ(typed);
    const auto matches = [&](qsizetype i) { return !t.isEmpty() && orv::containsAZ(line(i), t); };

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

std::optional<orv::archive::FoundRecord> CercaPerRiga(orv::ArchiveFile& file,
                                                      const std::function<QString(const QByteArray&)>& line,
                                                      const orv::archive::ResultLine& chosen)
{
    const QString wanted = orv::trimmed(chosen.text);
    const qint64 count = file.count();
    if (chosen.record >= 0 && chosen.record < count) {
        file.seek(chosen.record);
        QByteArray rec = file.read();
        if (orv::trimmed(line(rec)) == wanted)
            return orv::archive::FoundRecord{std::move(rec), chosen.record + 1};
    }
    std::optional<orv::archive::FoundRecord> found;
    file.seek(0);
    for (qint64 i = 0; i < count; ++i) {
        QByteArray rec = file.read();
        if (orv::trimmed(line(rec)) == wanted)
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
