#include "archive/lists.h"

#include <algorithm>

#include "archive/helpers.h"
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

void search(ArchiveFile& file, const RecordLayout& layout, const QStringList& criteria,
            const QList<int>& criterionFields, ResultSink& out,
            const std::function<QString(const QByteArray&)>& line)
{
    Q_ASSERT(criteria.size() == criterionFields.size());
    // Only the criteria in use are tested, and only their fields are decoded.
    QStringList used;
    QList<int> usedFields;
    for (qsizetype i = 0; i < criteria.size(); ++i) {
        if (!trimmed(criteria[i]).isEmpty()) {
            used.append(criteria[i]);
            usedFields.append(criterionFields[i]);
        }
    }
    QStringList fields(used.size());
    fillList(file, out, [&](const QByteArray& rec) {
        for (qsizetype i = 0; i < used.size(); ++i)
            fields[i] = layout.fieldText(rec, usedFields[i]);
        return CriteriSoddisfatti(used, fields);
    }, line);
}

} // namespace orv::archive

std::optional<qsizetype> TrovaInLista(const QStringList& lines, qsizetype selected, const QString& typed,
                                      QString& ultimaRicerca)
{
    if (lines.isEmpty())
        return std::nullopt;
    if (selected < 0 || selected >= lines.size())
        selected = 0;
    const QString t = orv::lowerAZ(typed);
    const auto matches = [&](qsizetype i) { return !t.isEmpty() && orv::containsAZ(lines[i], t); };

    const bool newText = t != ultimaRicerca;
    ultimaRicerca = t;
    qsizetype index = newText ? 0 : selected;
    if (newText && matches(0))
        return 0;
    const qsizetype start = index;
    do {
        index = (index + 1) % lines.size();
        if (matches(index))
            return index;
    } while (index != start);
    return selected;
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
