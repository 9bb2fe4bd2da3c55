#include "calc.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "platform/ui/controls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace orv::test {

namespace {

// RFC 4180 as the program writes it: fields split by commas, quoted fields with doubled
// quotes inside; a quoted field is a text cell.
CalcSheet parseCsv(const QString& csv)
{
    CalcSheet sheet;
    QList<CalcCell> row;
    CalcCell cell;
    bool quoted = false;
    bool lineHasContent = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (quoted) {
            if (c == u'"' && i + 1 < csv.size() && csv[i + 1] == u'"') {
                cell.text += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell.text += c;
            }
        } else if (c == u'"') {
            quoted = true;
            cell.isText = true;
            lineHasContent = true;
        } else if (c == u',') {
            row.append(cell);
            cell = CalcCell();
            lineHasContent = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < csv.size() && csv[i + 1] == u'\n') ++i;
            row.append(cell);
            sheet.append(row);
            row.clear();
            cell = CalcCell();
            lineHasContent = false;
        } else {
            cell.text += c;
            lineHasContent = true;
        }
    }
    if (lineHasContent || !cell.text.isEmpty()) {
        row.append(cell);
        sheet.append(row);
    }
    return sheet;
}

} // namespace

QString calcProgram() { return QStandardPaths::findExecutable(QStringLiteral("soffice")); }

std::optional<QList<CalcSheet>> openInCalc(const QStringList& files, QString* why)
{
    const auto fail = [why](const QString& reason) -> std::optional<QList<CalcSheet>> {
        if (why) *why = reason;
        return std::nullopt;
    };
    const QString program = calcProgram();
    if (program.isEmpty()) return fail(QStringLiteral("soffice is not installed"));
    QTemporaryDir work;
    if (!work.isValid()) return fail(QStringLiteral("no temporary folder"));
    const QString out = work.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    // Separator ",", quote '"', UTF-8, text cells always quoted, numbers as stored.
    const QString filter = QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,true,false");
    QStringList args{QStringLiteral("-env:UserInstallation=")
                         + QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toString(),
                     QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
                     filter, QStringLiteral("--outdir"), out};
    args += files;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    // A hang guard only: a conversion takes seconds.
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished();
        return fail(QStringLiteral("soffice did not finish"));
    }
    const QString log = QString::fromLocal8Bit(p.readAll());
    QList<CalcSheet> sheets;
    for (const QString& f : files) {
        QFile csv(QDir(out).filePath(QFileInfo(f).completeBaseName() + QStringLiteral(".csv")));
        if (!csv.open(QIODevice::ReadOnly)) return fail(QStringLiteral("no CSV for ") + f + QStringLiteral(": ") + log);
        sheets.append(parseCsv(QString::fromUtf8(csv.readAll())));
    }
    return sheets;
}

QList<QStringList> exportedRows(const platform::ui::StringGrid& grid)
{
    QList<QStringList> rows;
    for (int r = 0; r < grid.rowCount(); ++r) {
        QStringList row;
        for (int c = 1; c < grid.columnCount(); ++c) row.append(grid.cell(c, r));
        rows.append(row);
    }
    return rows;
}

bool hasTextCell(const CalcSheet& sheet, const QString& text)
{
    for (const auto& row : sheet)
        for (const CalcCell& c : row)
            if (c.isText && c.text == text) return true;
    return false;
}

CalcCell cellAt(const CalcSheet& sheet, int row, int column)
{
    if (row < 0 || row >= sheet.size() || column < 0 || column >= sheet[row].size()) return {};
    return sheet[row][column];
}

void expectAsWritten(const CalcSheet& sheet, const QStringList& headings, const QList<QStringList>& rows,
                     const QList<bool>& numberColumns)
{
    static const QRegularExpression plainNumber(QStringLiteral("^-?[0-9]{1,15}(,[0-9]+)?$"));
    EXPECT_EQ(sheet.size(), rows.size() + 1);
    const auto expectCell = [&](int r, int c, const QString& written, bool numberColumn) {
        const CalcCell cell = cellAt(sheet, r, c);
        const QString where = QStringLiteral("row %1 column %2 \"%3\"").arg(r).arg(c).arg(written);
        if (written.isEmpty()) {
            EXPECT_TRUE(cell.text.isEmpty()) << where.toStdString();
        } else if (numberColumn && plainNumber.match(written).hasMatch()) {
            EXPECT_FALSE(cell.isText) << where.toStdString();
            bool ok = false;
            EXPECT_DOUBLE_EQ(cell.text.toDouble(&ok), QString(written).replace(u',', u'.').toDouble()) << where.toStdString();
            EXPECT_TRUE(ok) << where.toStdString() << " read " << cell.text.toStdString();
        } else {
            EXPECT_TRUE(cell.isText) << where.toStdString() << " read " << cell.text.toStdString();
            EXPECT_EQ(cell.text, written) << where.toStdString();
        }
    };
    for (int c = 0; c < headings.size(); ++c) expectCell(0, c, headings[c].trimmed(), false);
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < headings.size(); ++c)
            expectCell(r + 1, c, rows[r].value(c).trimmed(), numberColumns.value(c));
        for (int c = int(headings.size()); c < sheet.value(r + 1).size(); ++c)
            EXPECT_TRUE(cellAt(sheet, r + 1, c).text.isEmpty());
    }
}

} // namespace orv::test
