#pragma once
// What the quote editor and the delivery-note editor share without any widget: the
// record of a document (issuing company, customer, the kind's own extra values, thirty
// article rows stored column by column, totals, notes and a flag), the names of the row
// controls, the calculation of row amounts and totals, the numbering of a new document,
// the issuing company kept in the settings file, the editor's Save checks, the year
// files and the help both editors and both year menus show.
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "archive/editor.h"
#include "archive/record.h"
#include "platform/core/inifile.h"

namespace orv::documents {

inline constexpr int kRows = 30;
inline constexpr int kRowsPerPage = 5;
inline constexpr int kPages = kRows / kRowsPerPage;

// The name of a row's control: rowControl(u"txtQuant", 7) is "txtQuant07".
QString rowControl(QStringView prefix, int row);

// The five total labels, in the order they are written and emptied.
const QStringList& totalLabels();

// The record of a document: the header (number, date, issuing company, customer,
// references, payment, bank, IBAN), then `extra` (the kind's hidden values), the thirty
// rows column by column (quantity, code, description, price, discount, amount, exempt
// flag), the five totals with the VAT rate, the notes and the flag. Every text field is
// shown by the control "txt" + its name; the row flags by "chkEs01".."chkEs30", the
// document's flag by "chkSaldata". Quantities, prices, discounts, amounts, the totals and
// the rate are number fields with their screen captions, the document total's given.
archive::RecordLayout documentLayout(const QList<archive::FieldDef>& extra, const QString& totalCaption);

// A document of a kind (TPreventivo, TDDT): one value per field of the kind's layout(),
// in record order, reached by field name.
template <class Kind>
struct DocumentRecord {
    QStringList values = QStringList(Kind::layout().fieldCount());

    // A field's value by its record name ("Cliente", "Quant07").
    QString operator[](const QString& field) const { return values.value(Kind::layout().indexOf(field)); }
    void set(const QString& field, const QString& value) { values[Kind::layout().indexOf(field)] = value; }

    QByteArray encode() const { return Kind::layout().encode(values); }
    static Kind decode(const QByteArray& record)
    {
        Kind k;
        k.values = Kind::layout().decode(record);
        return k;
    }
};

// Calcola: the amount of every row that holds a quantity or a price (an empty quantity
// becomes "1", an empty price "0,00", an empty discount counts 0), then the taxable,
// VAT, VAT-inclusive, exempt and document totals from the amounts as shown and the VAT
// rate (an empty rate becomes "0"). A text that is not a number ends it there: the five
// totals show "0,00", what was written before stays, and the control whose text stopped
// it is returned (nothing when the calculation ran to the end). Calculate itself shows no
// message; Save refuses to store such totals with calculationWarning().
std::optional<QString> Calcola(archive::EditorView& view);
// The warning of a calculation stopped by the value of `control`, named by its caption.
QString calculationWarning(const archive::RecordLayout& layout, const QString& control, const QString& value);

// The issuing company as the settings file keeps it (section "Ditta Emittente"), shared
// by both editors: each key and the control that shows it, in the order they are read
// and written.
struct IssuerKey {
    QString key;
    QString control;
};
const QList<IssuerKey>& issuerKeys();
inline const QString kIssuerSection = QStringLiteral("Ditta Emittente");
// Every key into its control, as read; a missing key empties it.
void loadIssuer(archive::EditorView& view, const platform::IniFile& settings);
// Every control's text, trimmed, into its key. Throws IniFileError when the file cannot
// be written.
void storeIssuer(const archive::EditorView& view, platform::IniFile& settings);
// The issuing company's block that its clear button empties (payment, bank, IBAN and VAT
// rate stay).
const QStringList& issuerBlock();
// What clearing the editor keeps: the issuing company, payment, bank, IBAN and VAT rate.
const QStringList& keptOnClear();

// The number New proposes: the start number plus the documents already in the year
// file, followed by "/" and the year when the calendar-year switch is exactly "Sì"
// (trimmed). Nothing when the start number is not a whole number.
std::optional<QString> documentNumber(const QString& startNumber, qint64 stored, const QString& yearSwitch,
                                      int currentYear);
// The settings key of the calendar-year switch, next to "Inizio" in the kind's section.
inline const QString kYearSwitchKey = QStringLiteral("Indicazione Anno Solare");

// The editor over a document's record: the year file at the moment of use, the focus on
// the customer, First and Save reporting in warnings and New, Previous, Next and Last in
// errors, and the Save checks: customer, number, date and a date that exists, with the
// kind's texts for the missing number and date.
struct SaveTexts {
    QString numberMissing;
    QString dateMissing;
};
archive::EditorConfig editorConfig(const archive::RecordLayout& layout, std::function<QString()> archivePath,
                                   const SaveTexts& texts);

// The year file of a year typed as four digits: the program folder, the year and the
// extension (".pre", ".ddt"). Nothing for any other text, which never becomes a path.
std::optional<QString> yearFile(const QString& year, const QString& extension);
inline const QString kYearWarning =
    QStringLiteral("Attenzione: indicare l'anno solare utilizzando quattro cifre.");

// The help of both editors and both year menus.
inline const QString kHelpTitle =
    QStringLiteral("Compilazione, archiviazione e stampa di preventivi e documenti di trasporto.");
QStringList helpParagraphs();

} // namespace orv::documents
