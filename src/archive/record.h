#pragma once
// The record codec shared by every archive: a record is a row of fixed-width text fields
// with nothing between them; a field of width N takes N + 1 bytes, a length byte and the
// text in Windows-1252. A window's field table names each field, its width, the control
// that shows it and whether it is a yes/no flag.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

namespace orv::archive {

enum class FieldKind {
    Text,   // shown in an edit, a combo edit or a hidden label
    Flag,   // "Sì" / "No", shown in a check box
    Number, // an amount, quantity or rate as text: cut to its width it would read as
            // another value, so an editor refuses to store one that does not fit
};

struct FieldDef {
    QString name;    // the record's field name, e.g. "Cliente"
    int width = 0;   // characters the field holds
    QString control{}; // the control that shows it, empty when no control does
    FieldKind kind = FieldKind::Text;
    QString caption{}; // what messages call the field; its name when empty

    QString title() const { return caption.isEmpty() ? name : caption; }
};

// The stored yes/no texts: bytes 02 53 EC and 02 4E 6F.
inline const QString kYes = QStringLiteral("S\u00ec");
inline const QString kNo = QStringLiteral("No");

class RecordLayout {
public:
    RecordLayout(std::initializer_list<FieldDef> fields);
    explicit RecordLayout(std::vector<FieldDef> fields);

    qint64 size() const { return size_; }
    int fieldCount() const { return int(fields_.size()); }
    const FieldDef& field(int i) const { return fields_[size_t(i)]; }
    int offset(int i) const { return offsets_[size_t(i)]; }
    // Index of the field with this name, or -1.
    int indexOf(const QString& name) const;
    const std::vector<FieldDef>& fields() const { return fields_; }

    // A record from one value per field, each trimmed, converted and cut to its width.
    // Missing values are stored empty; the bytes behind each text are zeros.
    QByteArray encode(const QStringList& values) const;
    // Every field of a record, converted and trimmed.
    QStringList decode(const QByteArray& record) const;
    // One field of a record, converted and trimmed (a finder reads only what it tests).
    QString fieldText(const QByteArray& record, int i) const;
    // The first number field whose value would be cut by encode(), or -1.
    int firstOverlongNumber(const QStringList& values) const;

private:
    std::vector<FieldDef> fields_;
    std::vector<int> offsets_;
    qint64 size_ = 0;
};

// Whether a text is stored whole in a field of `width` characters: trimmed and in
// Windows-1252, as storeText() writes it.
bool fitsWidth(const QString& text, int width);

// One text field: stores `text` into the width + 1 bytes at `dst`.
void storeText(char* dst, int width, const QString& text);
// Loads the text field of the width + 1 bytes at `src`. A length byte larger than the
// width (a damaged record) is taken as the width.
QString loadText(const char* src, int width);

} // namespace orv::archive
