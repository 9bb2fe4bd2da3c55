#include "archive/spreadsheet.h"

#include <QFile>

#include "platform/core/cp1252.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::archive {
using namespace orv::platform;
} // namespace orv::archive

namespace orv::archive {

QString escapeCell(const QString& text)
{
    QString r;
    r.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&': r += u"&amp;"; break;
        case u'<': r += u"&lt;"; break;
        case u'>': r += u"&gt;"; break;
        default: r += c;
        }
    }
    return r;
}

QString cellType(const QString& text, bool numberColumn)
{
    static const QString asText = QStringLiteral(" sdnum=\"1040;0;@\"");
    if (!numberColumn) return asText;
    // Plain numbers as the program writes them: a sign, digits, a decimal comma; no more
    // digits than a double holds exactly.
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    const qsizetype digitsFrom = i;
    qsizetype comma = -1;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u',' && comma < 0 && i > digitsFrom) comma = i;
        else if (c < u'0' || c > u'9') return asText;
    }
    const qsizetype digits = text.size() - digitsFrom - (comma >= 0 ? 1 : 0);
    if (digits == 0 || digits > 15 || comma == text.size() - 1) return asText;
    const qsizetype decimals = comma < 0 ? 0 : text.size() - comma - 1;
    QString value = text;
    if (comma >= 0) value[comma] = u'.';
    const QString format = decimals == 0 ? u"0"_qs : u"0."_qs + QString(decimals, u'0');
    return u" sdval=\""_qs + value + u"\" sdnum=\"1033;1033;"_qs + format + u'"';
}

QByteArray spreadsheetText(const ExportSheet& sheet, const QList<QStringList>& rows)
{
    QString t;
    t += u"<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
         u"xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
         u"xmlns=\"http://www.w3.org/TR/REC-html40\">"
         u"<head>"
         u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
         u"<!--[if gte mso 9]><xml>"
         u"<x:ExcelWorkbook>"
         u"<x:ExcelWorksheets>"
         u"<x:ExcelWorksheet>"
         u"<x:Name>";
    t += escapeCell(sheet.sheetName);
    t += u"</x:Name>"
         u"<x:WorksheetOptions>"
         u"<x:Selected/>"
         u"<x:Panes>"
         u"<x:Pane>"
         u"<x:Number>1</x:Number>"
         u"<x:ActiveRow>3</x:ActiveRow>"
         u"</x:Pane>"
         u"</x:Panes>"
         u"<x:ProtectContents>False</x:ProtectContents>"
         u"<x:ProtectObjects>False</x:ProtectObjects>"
         u"<x:ProtectScenarios>False</x:ProtectScenarios>"
         u"</x:WorksheetOptions>"
         u"</x:ExcelWorksheet>"
         u"</x:ExcelWorksheets>"
         u"</x:ExcelWorkbook>"
         u"</xml><![endif]-->"
         u"</head>"
         u"<body>"
         u"<table x:str>";

    t += u"<tr>";
    for (const ExportColumn& c : sheet.columns) {
        t += u"<td style=\"text-align: left; font-weight: bold;\" width=";
        t += QString::number(c.width);
        t += cellType(c.heading, false);
        t += u'>';
        t += escapeCell(c.heading);
        t += u"</td>";
    }
    t += u"</tr>";

    for (const QStringList& row : rows) {
        t += u"<tr>";
        for (qsizetype i = 0; i < sheet.columns.size(); ++i) {
            const QString value = i < row.size() ? trimmed(row[i]) : QString();
            t += sheet.columns[i].rightAligned ? u"<td style=\"text-align: right;\""
                                               : u"<td style=\"text-align: left;\"";
            t += cellType(value, sheet.columns[i].number);
            t += u'>';
            t += escapeCell(value);
            t += u"</td>";
        }
        t += u"</tr>";
    }
    t += u"</table></body></html>";
    return platform::cp1252::encode(t);
}

void writeSpreadsheet(const QString& path, const QByteArray& text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ArchiveError(path + u": "_qs + f.errorString());
    if (f.write(text) != text.size() || !f.flush())
        throw ArchiveError(path + u": "_qs + f.errorString());
    f.close();
    if (f.error() != QFileDevice::NoError)
        throw ArchiveError(path + u": "_qs + f.errorString());
}

bool exportRows(const ExportSheet& sheet, const QList<QStringList>& rows, MessageService& messages,
                const std::function<void(const QString&)>& shellOpen)
{
    bool written = false;
    try {
        if (messages.show(MessageKind::Confirmation, kExportQuestion) == MessageButton::No)
            return false;
        const QString path = programFile(sheet.fileName);
        writeSpreadsheet(path, spreadsheetText(sheet, rows));
        written = true;
        if (messages.show(MessageKind::Confirmation, kExportDoneQuestion) != MessageButton::No)
            shellOpen(u'"' + path + u'"');
    } catch (const std::exception&) {
        messages.show(MessageKind::Plain, kExportFailure);
    }
    return written;
}

QList<QStringList> gridRows(const QString& path, qint64 recordSize,
                            const std::function<QStringList(const QByteArray&)>& row)
{
    QList<QStringList> rows;
    runArchiveCommandSilently(path, recordSize, [&](ArchiveFile& file) {
        const qint64 count = file.count();
        if (count == 0)
            return;
        rows.resize(count);
        for (qint64 i = 0; i < count; ++i)
            rows[i] = row(file.read());
    });
    if (rows.isEmpty())
        rows.resize(kEmptyGridRows);
    return rows;
}

} // namespace orv::archive
