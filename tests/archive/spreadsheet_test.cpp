#include <gtest/gtest.h>

#include <QFile>

#include <sys/stat.h>

#include "archive/spreadsheet.h"
#include "doubles.h"
#include "platform/core/cp1252.h"

using namespace orv::archive;
using orv::test::RecordingMessages;

namespace {
const ExportSheet& sheet()
{
    static const ExportSheet s{u"Prova.xls"_qs, u"Prova & C."_qs, {{u"Nome"_qs, 250}, {u"Importo"_qs, 100, true, true}}};
    return s;
}
} // namespace

TEST(Spreadsheet, CellsAreEscapedAndTrimmedOnOneLine)
{
    EXPECT_EQ(escapeCell(u"Rossi & Figli <srl> \"x\" 'y'"_qs), u"Rossi &amp; Figli &lt;srl&gt; \"x\" 'y'"_qs);
    const QByteArray text = spreadsheetText(sheet(), {{u"  Caffè Rossi & Figli "_qs, u"12,50"_qs}, {u"solo"_qs}});
    const QString t = orv::platform::cp1252::decode(text);
    EXPECT_FALSE(text.contains('\n'));
    EXPECT_FALSE(text.contains('\r'));
    EXPECT_TRUE(text.contains("Caff\xE8 Rossi &amp; Figli</td>")); // Windows-1252 bytes
    EXPECT_TRUE(t.contains(u"<x:Name>Prova &amp; C.</x:Name>"_qs));
    EXPECT_TRUE(t.contains(
        u"<td style=\"text-align: left; font-weight: bold;\" width=100 sdnum=\"1040;0;@\">Importo</td>"_qs));
    EXPECT_TRUE(t.contains(u"<td style=\"text-align: right;\" sdval=\"12.50\" sdnum=\"1033;1033;0.00\">12,50</td>"_qs));
    // A short row still gets every cell.
    EXPECT_TRUE(t.endsWith(u"<tr><td style=\"text-align: left;\" sdnum=\"1040;0;@\">solo</td>"
                           u"<td style=\"text-align: right;\" sdnum=\"1040;0;@\"></td></tr></table></body></html>"_qs));
    EXPECT_EQ(t.count(u"<tr>"_qs), 3);
}

// Every cell says what it is for the programs that ignore the workbook's text marking:
// text, or in a number column a number with its value and decimals.
TEST(Spreadsheet, CellsCarryTheirTypeForEverySpreadsheetProgram)
{
    const QString text = u" sdnum=\"1040;0;@\""_qs;
    const struct {
        const char* cell;
        bool numberColumn;
        const char* attributes; // nullptr: text
    } cases[] = {
        {"01234567890", false, nullptr}, {"00184", false, nullptr},     {"12,50", false, nullptr},
        {"12,50", true, " sdval=\"12.50\" sdnum=\"1033;1033;0.00\""},
        {"-3", true, " sdval=\"-3\" sdnum=\"1033;1033;0\""},
        {"0,125", true, " sdval=\"0.125\" sdnum=\"1033;1033;0.000\""},
        {"007", true, " sdval=\"007\" sdnum=\"1033;1033;0\""},
        {"999999999999999", true, " sdval=\"999999999999999\" sdnum=\"1033;1033;0\""},
        {"1234567890123456", true, nullptr}, // more digits than a number keeps
        {"", true, nullptr},  {",", true, nullptr},   {"12,", true, nullptr}, {",5", true, nullptr},
        {"1,2,3", true, nullptr}, {"1.234,5", true, nullptr}, {"€ 12,50", true, nullptr}, {"-", true, nullptr},
        {"1e5", true, nullptr}, {"+5", true, nullptr}, {"05/01/2027", true, nullptr},
    };
    for (const auto& c : cases) {
        const QString cell = QString::fromUtf8(c.cell);
        EXPECT_EQ(cellType(cell, c.numberColumn), c.attributes ? QString::fromLatin1(c.attributes) : text) << c.cell;
    }
}

TEST(Spreadsheet, ExportAsksWritesAndOffersToOpen)
{
    orv::test::ProgramFolder folder;
    const QString path = folder.file(u"Prova.xls"_qs);
    RecordingMessages messages;
    QStringList opened;
    const auto open = [&](const QString& s) { opened.append(s); };

    messages.answers = {MessageButton::No};
    EXPECT_FALSE(exportRows(sheet(), {{u"a"_qs}}, messages, open));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0], std::pair(MessageKind::Confirmation, kExportQuestion));

    messages.shown.clear();
    messages.answers = {MessageButton::Yes, MessageButton::No};
    EXPECT_TRUE(exportRows(sheet(), {{u"a"_qs}}, messages, open));
    EXPECT_EQ(messages.shown.value(1), std::pair(MessageKind::Confirmation, kExportDoneQuestion));
    EXPECT_TRUE(opened.isEmpty());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), spreadsheetText(sheet(), {{u"a"_qs}}));

    messages.answers = {MessageButton::Yes, MessageButton::Yes};
    EXPECT_TRUE(exportRows(sheet(), {{u"b"_qs}}, messages, open));
    EXPECT_EQ(opened, QStringList{u'"' + path + u'"'});
}

TEST(Spreadsheet, FileThatCannotBeReplacedShowsThePlainFailure)
{
    orv::test::ProgramFolder folder;
    const QString path = folder.file(u"Prova.xls"_qs);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("aperto altrove");
    }
    chmod(QFile::encodeName(folder.dir.path()).constData(), 0755);
    chmod(QFile::encodeName(path).constData(), 0444);
    RecordingMessages messages;
    messages.answers = {MessageButton::Yes};
    bool ok;
    {
        const orv::test::Unprivileged nobody;
        ok = exportRows(sheet(), {{u"a"_qs}}, messages, [](const QString&) {});
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(messages.shown.value(1), std::pair(MessageKind::Plain, kExportFailure));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("aperto altrove"));
}

TEST(Spreadsheet, GridRowsOfAnArchive)
{
    orv::test::ProgramFolder folder;
    const QString path = folder.file(u"g.pro"_qs);
    const auto row = [](const QByteArray& r) { return QStringList{QString::fromLatin1(r.left(2))}; };
    // A missing or empty archive shows the grid's ten designed empty rows.
    EXPECT_EQ(gridRows(path, 2, row), QList<QStringList>(kEmptyGridRows));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("aabbc");
    f.close();
    EXPECT_EQ(gridRows(path, 2, row), (QList<QStringList>{{u"aa"_qs}, {u"bb"_qs}}));
}
