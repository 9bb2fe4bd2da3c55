#pragma once
// The quote of a year file ("<yyyy>.pre", 4886 bytes, 246 text fields) and what the quote
// windows build from it without any widget: the list line of the finder and the pending
// list, the pending selection, and the export's sheet and cells.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "archive/lists.h"
#include "archive/record.h"
#include "archive/spreadsheet.h"
#include "platform/core/archivefile.h"
#include "documents/documento.h"
#include "documents/elenchi.h"

namespace orv::quotes {

struct TPreventivo : orv::documents::DocumentRecord<TPreventivo> {
    static constexpr qint64 kSize = 4886;
    // The document's fields with the quote's six extra values (goods destination,
    // carrier, appearance, carriage terms, reason for transport, packages) in the hidden
    // labels the extra-information window edits.
    static const orv::archive::RecordLayout& layout();
};

// The list line of a quote: number and date, customer, VAT number and references in
// fixed columns, then the quote total as stored, which starts at character 141.
QString RigaPreventivo(const TPreventivo& p);

} // namespace orv::quotes

namespace orv::quotes {

inline const QString kExtension = QStringLiteral(".pre");
// The caller tag of the quote editor.
inline const QString kTag = QStringLiteral("preventivi");
// The beginning of a quote's list line.
inline const QString kLinePrefix = QStringLiteral("Prev. n. ");

// Pending: the flag "In sospeso" stored exactly as "Sì" (trimmed).
bool pending(const QByteArray& record);

// The export's words: "Preventivi.xls", sheet "Riepilogo annuale preventivi"; the sheet's
// 25 columns, and a quote's 25 cells as the grid shows them.
const documents::ExportTexts& exportTexts();
const archive::ExportSheet& exportSheet();
QStringList exportRow(const TPreventivo& p);

// List-print titles of the finder and the pending list.
inline const QString kTitleFinder = QStringLiteral("Riepilogo preventivi emessi");
inline const QString kTitlePending = QStringLiteral("Riepilogo preventivi in sospeso");

} // namespace orv::quotes
