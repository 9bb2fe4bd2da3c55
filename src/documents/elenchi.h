#pragma once
// What the lists and the export of quotes and delivery notes share: the list line of the
// finder and the status list, the finder's ten criteria and count text, the status
// list's selection by the document's flag, and the export's grid, sheet and help. A kind
// gives only its words (the line's prefix, its number's caption, its total and flag
// headings, its file and sheet names).
#include "archive/lists.h"
#include "archive/record.h"
#include "archive/spreadsheet.h"
#include "kit/exportwindow.h"
#include "kit/listwindow.h"
#include "platform/core/archivefile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace orv::documents {

// The list line of a document: `prefix` ("Prev. n. ", "DDT n. "), number, " del " and
// date sharing 25 characters (a long number pushes the date out), two blanks, the
// customer (35), "  P.I. " and the customer's VAT number (11), "  Rif. " and the
// references (35), "  Tot. € " and the document total as stored. `values` are a
// document's fields in the order of `record`.
QString documentLine(const QString& prefix, const archive::RecordLayout& record, const QStringList& values);

// The finder's ten criteria in Enter order; the first is the number, under the kind's
// caption ("PREVENTIVO N.", "DOCUMENTO DI TRASPORTO N.").
QList<kit::FinderCriterion> finderCriteria(const archive::RecordLayout& record, const QString& numberCaption);

// The finder's count text: "Il presente elenco contiene N schede.".
QString finderCountText(qsizetype lines);

// A result list over the year file the editor has open, with the document line.
kit::ListSpec documentList(const archive::RecordLayout& record, std::function<QString()> yearFile,
                             const QString& linePrefix, const QString& printTitle);

// True when the document's flag ("In sospeso", "Consegnato"), trimmed, is exactly `value`.
bool flagIs(const archive::RecordLayout& record, const QByteArray& document, const QString& value);

// A status list's filling: the lines of the documents whose flag is exactly `value`, in
// file order.
std::function<void(platform::ArchiveFile&, archive::ResultSink&)> flagSelection(const archive::RecordLayout& record,
                                                                       const QString& value,
                                                                       const QString& linePrefix);

// The export of a kind: its grid of 26 columns (the row number, then 25 fields, the last
// six editable) and the sheet written from it.
struct ExportTexts {
    QString fileName;          // "Preventivi.xls"
    QString sheetName;         // "Riepilogo annuale preventivi"
    QString numberHeading;     // "Preventivo n."
    QString gridTotalHeading;  // the document total's heading in the grid
    QString sheetTotalHeading; // and in the sheet
    QString flagHeading;       // "In sospeso"
    QString helpTitle;
    QString helpWhat;          // what is exported: "tutti i preventivi emessi"
};
archive::ExportSheet exportSheet(const ExportTexts& texts);
// A document's 25 cells, as the grid shows them and the sheet takes them.
QStringList exportRow(const archive::RecordLayout& record, const QStringList& values);
kit::ExportSpec exportSpec(const ExportTexts& texts, const archive::RecordLayout& record,
                             std::function<QString()> yearFile);

} // namespace orv::documents
