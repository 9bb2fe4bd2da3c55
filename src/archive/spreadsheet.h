#pragma once
// The spreadsheet export of every archive: an HTML table behind the spreadsheet
// program's XML workbook header, one line of Windows-1252 text, written to a fixed file
// of the program folder.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

#include "archive/command.h"

namespace orv::archive {

struct ExportColumn {
    QString heading;
    int width = 0;
    bool rightAligned = false;
    // An amount, quantity or rate: a cell that reads as a number ("12,50", "-3", "22")
    // stays a number in every spreadsheet program; any other cell is text.
    bool number = false;
};

struct ExportSheet {
    QString fileName;  // e.g. "Clienti.xls", in the program folder
    QString sheetName; // e.g. "Clienti e Impianti"
    QList<ExportColumn> columns;
};

// &, < and > as entities, so a customer "Rossi & Figli <srl>" survives; any other text
// stays as it is.
QString escapeCell(const QString& text);

// The attributes a cell carries for the spreadsheet programs that do not read the
// workbook's text marking (see spreadsheetText), with their leading blank.
QString cellType(const QString& text, bool numberColumn);

// The whole file text of the rows (one value per column, trimmed when written), as
// Windows-1252 bytes; characters the code page lacks become '?'.
//
// The workbook header tells one spreadsheet program that every cell is text; the others
// ignore it and read "01234567890" as the number 1234567890, "00184" as 184 and a date as
// a date of their own locale. So each cell also says it for them: a text cell carries the
// text number format, and a number cell of a number column carries its value and a format
// with its decimals. The first program ignores both attributes.
QByteArray spreadsheetText(const ExportSheet& sheet, const QList<QStringList>& rows);

// Creates (or replaces) the file and writes the text; throws ArchiveError on failure.
void writeSpreadsheet(const QString& path, const QByteArray& text);

inline const QString kExportQuestion = QStringLiteral(
    "L'esportazione dei dati in Excel pu\u00f2 richiedere diversi minuti a seconda del numero di "
    "schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
inline const QString kExportDoneQuestion = QStringLiteral(
    "Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?");
inline const QString kExportFailure = QStringLiteral(
    "Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
    "Accertarsi che il file di Excel non sia gi\u00e0 aperto.");

// The export command of every export window: asks, writes the grid rows to the sheet's
// file in the program folder, offers to open it and hands the quoted path to
// `shellOpen`. A failure shows the plain export failure box. Returns true when the file
// was written.
bool exportRows(const ExportSheet& sheet, const QList<QStringList>& rows, MessageService& messages,
                const std::function<void(const QString&)>& shellOpen);

// The rows of an export window's grid, one per record in file order (without the row
// number column); an empty archive gives the grid's designed empty rows. A failure ends
// the filling silently: the rows keep what was read so far, the others stay empty.
inline constexpr int kEmptyGridRows = 10;
QList<QStringList> gridRows(const QString& path, qint64 recordSize,
                            const std::function<QStringList(const QByteArray&)>& row);

} // namespace orv::archive
