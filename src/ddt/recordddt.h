#pragma once
// The delivery note of a year file ("<yyyy>.ddt", 4957 bytes, 247 text fields) and what
// the delivery-note windows build from it without any widget: the list line of the
// finder and the not-delivered list, the not-delivered selection, and the export's
// sheet and cells.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "archive/record.h"
#include "archive/spreadsheet.h"
#include "documents/documento.h"
#include "documents/elenchi.h"

namespace orv::ddt {

struct TDDT : orv::documents::DocumentRecord<TDDT> {
    static constexpr qint64 kSize = 4957;
    // The document's fields with the seven transport values (carrier, destination of the
    // goods, reason for the transport, outward appearance of the goods, start and
    // delivery of the transport, carriage terms) in the hidden labels the transport
    // dialog edits.
    static const orv::archive::RecordLayout& layout();
};

// The list line of a delivery note: "DDT n. ", number and date, customer, VAT number and
// references in fixed columns, then the document total as stored, which starts at
// character 139.
QString RigaDDT(const TDDT& d);

} // namespace orv::ddt

namespace orv::ddt {

inline const QString kExtension = QStringLiteral(".ddt");
// The caller tag of the delivery-note editor.
inline const QString kTag = QStringLiteral("ddt");
// The beginning of a delivery note's list line.
inline const QString kLinePrefix = QStringLiteral("DDT n. ");

// Not delivered: the flag "Consegnato" stored exactly as "No" (trimmed); an empty flag
// or any other value is neither delivered nor listed.
bool notDelivered(const QByteArray& record);

// The export's words: "DDT.xls", sheet "Riepilogo DDT", the number, total and flag
// headings, and the help.
const documents::ExportTexts& exportTexts();

// List-print titles of the finder and the not-delivered list.
inline const QString kTitleFinder = QStringLiteral("Riepilogo Documenti di Trasporto emessi");
inline const QString kTitleNotDelivered = QStringLiteral("Riepilogo DDT relativi a carichi non consegnati");

} // namespace orv::ddt
