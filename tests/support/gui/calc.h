#pragma once
// Spreadsheet files as LibreOffice Calc reads them: each file converted headless to CSV,
// text cells quoted and numbers written as their raw values, so a test tells a text from a
// number cell by cell. Each run has a profile folder of its own.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace orv::platform::ui {
class StringGrid;
}

namespace orv::test {

struct CalcCell {
    QString text;        // the cell's text, or the number's raw value ("12.5")
    bool isText = false; // false for numbers and empty cells
};
using CalcSheet = QList<QList<CalcCell>>;

// The program's path, empty when it is not installed.
QString calcProgram();

// Converts all files in one run of the program; the sheets in the order of the files.
// Empty, with the reason in `why`, when the conversion fails.
std::optional<QList<CalcSheet>> openInCalc(const QStringList& files, QString* why = nullptr);

// The rows of an export grid as they go into the file: columns 1 to the last.
QList<QStringList> exportedRows(const platform::ui::StringGrid& grid);

// Whether some cell reads as exactly this text, as text.
bool hasTextCell(const CalcSheet& sheet, const QString& text);

// The cell at (row, column), an empty cell beyond the sheet's end.
CalcCell cellAt(const CalcSheet& sheet, int row, int column);

// Expects the sheet to hold, cell by cell, row 0 the headings and then the rows as
// written (trimmed): a cell of a number column that is a plain number ("12,50") as that
// number, every other cell as its very text; nothing beyond them.
void expectAsWritten(const CalcSheet& sheet, const QStringList& headings, const QList<QStringList>& rows,
                     const QList<bool>& numberColumns);
// The same with the headings and number columns of an export sheet.
template <class Sheet>
void expectAsWritten(const CalcSheet& read, const Sheet& sheet, const QList<QStringList>& rows)
{
    QStringList headings;
    QList<bool> numbers;
    for (const auto& c : sheet.columns) {
        headings.append(c.heading);
        numbers.append(c.number);
    }
    expectAsWritten(read, headings, rows, numbers);
}

} // namespace orv::test
