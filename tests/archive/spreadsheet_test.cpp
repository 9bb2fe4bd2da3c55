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
    static const ExportSheet s{u"Prova.xls"_qs, u"Prova & C."_qs, {{u"Nome"_qs, 250}, {u"Importo"_qs, 100, true}}};
    return s;
}
} // namespace

TEST(Spreadsheet, CellsAreEscapedAndTrimmedOnOneLine)
{
    EXPECT_EQ(escapeCell(u"Rossi & Figli <srl> \"x\" 'y'"_qs), u"Rossi &amp; Figli &lt;srl&gt; \"x\" 'y'"_qs);
    const QByteArray text = spreadsheetText(sheet(), {{u"  Caffè Rossi & Figli "_qs, u"12,50"_qs}, {u"solo"_qs}});
    const QString t = orv::cp1252::decode(text);
    EXPECT_FALSE(text.contains('\n'));
    EXPECT_FALSE(text.contains('\r'));
    EXPECT_TRUE(text.contains("Caff\xE8 Rossi &amp; Figli</td>")); // Windows-1252 bytes
    EXPECT_TRUE(t.contains(u"<x:Name>Prova &amp; C.</x:Name>"_qs));
    EXPECT_TRUE(t.contains(u"<td style=\"text-align: left; font-weight: bold;\" width=100>Importo</td>"_qs));
    EXPECT_TRUE(t.contains(u"<td style=\"text-align: right;\">12,50</td>"_qs));
    // A short row still gets every cell.
    EXPECT_TRUE(t.endsWith(u"<tr><td style=\"text-align: left;\">solo</td><td style=\"text-align: right;\"></td></tr>"
                           u"</table></body></html>"_qs));
    EXPECT_EQ(t.count(u"<tr>"_qs), 3);
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
