#pragma once
// What every finder and status list shares: the criteria rule, the fixed-width result
// lines, their sort order, find-in-list, tracing a chosen line back to its record, and
// the list print.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

#include <functional>
#include <optional>
#include <utility>

#include "archive/command.h"
#include "archive/record.h"

namespace orv::archive {

// True when every criterion in use (trimmed text not empty) occurs, as typed and
// ignoring the case of A-Z only, in its own field. criteria[i] searches fields[i].
bool CriteriSoddisfatti(const QStringList& criteria, const QStringList& fields);

} // namespace orv::archive

namespace orv::archive {

// The number of criteria in use.
int criteriaInUse(const QStringList& criteria);

// A fixed-width column: the text trimmed, padded with blanks and cut to `width`.
QString column(const QString& text, int width);

// Builds one result line from fixed-width columns, literal separators and a last field.
class LineBuilder {
public:
    LineBuilder& col(const QString& text, int width)
    {
        line_ += column(text, width);
        return *this;
    }
    LineBuilder& lit(QStringView text)
    {
        line_ += text;
        return *this;
    }
    // The last element: trimmed, neither padded nor cut.
    QString rest(const QString& text);
    QString str() const { return line_; }

private:
    QString line_;
};

class ResultSink;

// The same line built straight from a record's stored fields, decoding only the fields
// it shows: for a search that lists most of a large archive. The line stays one byte a
// character (Latin-1) as long as every character allows, and goes to a list that way.
class StoredLineBuilder {
public:
    StoredLineBuilder(const RecordLayout& layout, const QByteArray& record) : layout_(layout)
    {
        start(record.constData(), record.size());
    }
    explicit StoredLineBuilder(const RecordLayout& layout) : layout_(layout) {}
    // Starts a new line from the `size` bytes of a record (a short record's missing
    // fields are empty).
    void start(const char* record, qsizetype size);
    StoredLineBuilder& col(int field, int width);
    StoredLineBuilder& lit(QStringView text);
    // The last element: trimmed, neither padded nor cut.
    StoredLineBuilder& last(int field);
    // A field's text trimmed, neither padded nor cut, with more to follow.
    StoredLineBuilder& text(int field) { return last(field); }
    QString rest(int field) { return last(field).str(); }
    // The characters of the line so far.
    qsizetype length() const { return wide_ ? wideLine_.size() : line_.size(); }
    // Pads with blanks or cuts what was added since `from` (a length()) to `width`
    // characters: several fields and literals as one fixed-width column.
    StoredLineBuilder& fit(qsizetype from, int width);
    QString str() const;
    // Adds the line to `out`.
    void addTo(ResultSink& out, qint64 record) const;
    // The fields read since the builder was made, in the order first read.
    const QVarLengthArray<int, 16>& fieldsRead() const { return read_; }

private:
    // The field's stored characters, trimmed: a pointer and a length.
    std::pair<const unsigned char*, qsizetype> stored(int field);
    void append(const unsigned char* text, qsizetype length);
    void widen();
    const RecordLayout& layout_;
    const char* record_ = nullptr;
    qsizetype size_ = 0;
    bool wide_ = false; // some character is past Latin-1: the line is in wideLine_
    QVarLengthArray<char, 512> line_;
    QVarLengthArray<char16_t, 512> wideLine_;
    QVarLengthArray<int, 16> read_;
};

// A window's line builder over the stored fields of a record.
using StoredLine = std::function<void(StoredLineBuilder&)>;

// The list boxes' order: character by character with a-z counted as A-Z, every other
// character by its code; a prefix before the longer line.
bool listLineLess(const QString& a, const QString& b);

// One line of a result list and the record it was built from (0-based index).
struct ResultLine {
    QString text;
    qint64 record = -1;
};

// Where a search or a status list puts its lines: the list box of a window, or a plain
// ResultList where no window is involved.
class ResultSink {
public:
    virtual ~ResultSink() = default;
    virtual void clear() = 0;
    virtual void add(const QString& line, qint64 record) = 0;
    // A line of Latin-1 characters.
    virtual void add(QLatin1StringView line, qint64 record) { add(QString(line), record); }
    // Lines added since clear().
    virtual qsizetype size() const = 0;
    // Takes back the lines added after the first `lines` (what was read from a stretch
    // of the archive that turned out not to be the file's).
    virtual void truncate(qsizetype lines) = 0;
};

// The lines of a list in list order. A sorted list keeps them in listLineLess order;
// equal lines stay in the order they were added (archive order).
class ResultList : public ResultSink {
public:
    explicit ResultList(bool sorted = true) : sorted_(sorted) {}
    void clear() override;
    void add(const QString& line, qint64 record) override;
    using ResultSink::add;
    qsizetype size() const override { return lines_.size(); }
    void truncate(qsizetype lines) override;

    bool isEmpty() const { return lines_.isEmpty(); }
    const ResultLine& at(qsizetype i) const { return lines()[i]; }
    const QList<ResultLine>& lines() const;
    QStringList texts() const;

private:
    bool sorted_;
    QList<ResultLine> lines_;                 // in the order added
    mutable bool pending_ = false;            // lines added or taken back since the last sort
    mutable QList<ResultLine> shown_;         // a sorted list's lines in list order
};

// The finder's count text: "Il presente riepilogo contiene N schede.".
QString countText(qsizetype lines);

// The message find-in-list shows on an empty list (a plain box in most windows).
inline const QString kEmptyListMessage =
    QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");

// Reads the archive from the first record to the last and adds the line of every record
// that `accept` takes. Throws on a read failure, keeping the lines added so far.
void fillList(platform::ArchiveFile& file, ResultSink& out, const std::function<bool(const QByteArray&)>& accept,
              const std::function<QString(const QByteArray&)>& line);

// A finder's search: criteria[i] is looked for in field criterionFields[i].
void search(platform::ArchiveFile& file, const RecordLayout& layout, const QStringList& criteria,
            const QList<int>& criterionFields, ResultSink& out,
            const std::function<QString(const QByteArray&)>& line);
// The same with the window's line built from the stored fields.
void search(platform::ArchiveFile& file, const RecordLayout& layout, const QStringList& criteria,
            const QList<int>& criterionFields, ResultSink& out, const StoredLine& line);

// The record a chosen line was built from, with its 1-based position.
struct FoundRecord {
    QByteArray record;
    qint64 position = 0;
};

// The list print "Riepilogo dati" as the list windows need it of the report engine.
class SummaryLayout {
public:
    virtual ~SummaryLayout() = default;
    // Objects are found by name, ignoring case; each returns false for a missing object.
    virtual bool setMemoText(const QString& memo, const QString& text) = 0;
    virtual bool setMemoLines(const QString& memo, const QStringList& lines) = 0;
    virtual bool setHeight(const QString& object, double height) = 0;
    // Prepares the report afresh and prints it through the print dialog.
    virtual void prepareAndPrint() = 0;
};

// Titles of the list prints of the customer and contract lists.
inline const QString kTitleCustomerFinder = QStringLiteral("Riepilogo Clienti e impianti");
inline const QString kTitleRecontact = QStringLiteral("Riepilogo Clienti da ricontattare");
inline const QString kTitleMaintenanceDue = QStringLiteral("Scadenzario manutenzioni");
inline const QString kTitleContractFinder = QStringLiteral("Riepilogo contratti di manutenzione");

// Height of one memo line of the list print, in report units.
inline constexpr double kSummaryLineHeight = 12.822;

} // namespace orv::archive

namespace orv::archive {

// Find-in-list over the lines in list order. Returns the index to select, or nothing for
// an empty list (the caller shows kEmptyListMessage; ultimaRicerca is left as it was).
// A new text searches from line 0, the same text again after the selected line; the
// search wraps around once. An empty text never matches and the selection stays.
std::optional<qsizetype> TrovaInLista(const QStringList& lines, qsizetype selected, const QString& typed,
                                      QString& ultimaRicerca);
// The same over `count` lines read one at a time, for a list too long to copy whole.
std::optional<qsizetype> TrovaInLista(qsizetype count, const std::function<QString(qsizetype)>& line,
                                      qsizetype selected, const QString& typed, QString& ultimaRicerca);

// The record a double-clicked line was built from. The line remembers its record; when
// that record still gives the same line it is the one. Otherwise (the archive changed
// since the list was filled) the last record whose line equals the chosen one, trimmed
// and case-sensitive, as every record is compared; nothing when none does.
std::optional<orv::archive::FoundRecord> CercaPerRiga(orv::platform::ArchiveFile& file,
                                                      const std::function<QString(const QByteArray&)>& line,
                                                      const orv::archive::ResultLine& chosen);

// Fills the list print with the title and the lines, sizes the memo and its band, and
// prints it. Returns false when the layout lacks one of its objects.
bool StampaRiepilogo(orv::archive::SummaryLayout& layout, const QString& title, const QStringList& lines);

} // namespace orv::archive
