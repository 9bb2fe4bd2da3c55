#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "../archive/doubles.h"
#include "fixtures.h"
#include "archive/lists.h"
#include "customers/cliente.h"
#include "platform/core/cp1252.h"
#include "platform/core/services.h"

using namespace orv::customers;

using namespace orv::archive;
using orv::test::FakeView;
using orv::test::fixture;
using orv::test::RecordingMessages;

namespace {

void copyFixture(const char* name, const QString& to)
{
    QFile f(to);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(fixture(name));
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

using Msgs = QList<std::pair<MessageKind, QString>>;

} // namespace

TEST(TCliente, FieldTableOffsetsAndWidths)
{
    const struct {
        const char* name;
        int offset, width;
    } table[] = {
        {"Cliente", 0, 50},        {"DataNasc", 51, 30},        {"ComuneNasc", 82, 50},  {"ProvNasc", 133, 2},
        {"Sesso", 136, 1},         {"Recapito", 138, 50},       {"IndirizzoRes", 189, 50}, {"ProvRes", 240, 2},
        {"ComuneRes", 243, 50},    {"CapRes", 294, 5},          {"Estremi", 300, 250},   {"TelCasa", 551, 30},
        {"TelUff", 582, 30},       {"TelCel", 613, 30},         {"Fax", 644, 30},        {"Email", 675, 50},
        {"CodFisc", 726, 16},      {"Carta", 743, 30},          {"ScadeCarta", 774, 30}, {"PartitaIva", 805, 11},
        {"Iban", 817, 27},         {"TipoImpianto", 845, 50},   {"Marca", 896, 50},      {"Matricola", 947, 50},
        {"Alimentazione", 998, 50}, {"AnnoCostruz", 1049, 30},  {"Caratteristiche", 1080, 250},
        {"Ubicazione", 1331, 120}, {"Questioni", 1452, 250},    {"DataScade", 1703, 10}, {"Preavviso", 1714, 3},
        {"Note", 1718, 250},       {"Ricontatta", 1969, 2},     {"File01", 1972, 250},   {"File02", 2223, 250},
        {"File03", 2474, 250},     {"Desc01", 2725, 250},       {"Desc02", 2976, 250},   {"Desc03", 3227, 250},
    };
    const RecordLayout& l = TCliente::layout();
    ASSERT_EQ(l.fieldCount(), 39);
    EXPECT_EQ(l.size(), 3478);
    EXPECT_EQ(TCliente::kSize, 3478);
    for (int i = 0; i < 39; ++i) {
        EXPECT_EQ(l.field(i).name, QString::fromLatin1(table[i].name)) << i;
        EXPECT_EQ(l.offset(i), table[i].offset) << table[i].name;
        EXPECT_EQ(l.field(i).width, table[i].width) << table[i].name;
    }
    // Each member lands in its own field.
    TCliente c;
    c.Matricola = u"M-7"_qs;
    c.Desc03 = u"ultimo"_qs;
    const QByteArray r = c.encode();
    EXPECT_EQ(r.mid(947, 4), QByteArray("\x03M-7"));
    EXPECT_EQ(r.mid(3227, 7), QByteArray("\x06ultimo"));
    EXPECT_EQ(TCliente::decode(r).values(), c.values());
}

class CustomerEditor : public ::testing::Test {
protected:
    CustomerEditor() : clock(QDateTime(QDate(2026, 3, 1), QTime(9, 0))), editor(orv::customers::editorConfig(), view, messages) {}
    QString archive() const { return folder.file(TCliente::kFileName); }
    Msgs takeMessages() { return std::exchange(messages.shown, {}); }

    orv::test::PinnedClock clock;
    orv::test::ProgramFolder folder;
    FakeView view;
    RecordingMessages messages;
    ArchiveEditor editor;
};

TEST_F(CustomerEditor, SaveChecksInOrderWithFocus)
{
    editor.blank();
    EXPECT_EQ(view.text(u"txtPreavviso"_qs), u"0"_qs);
    EXPECT_EQ(view.focus, u"txtCliente"_qs);
    const struct {
        const char* control;
        const char* value; // typed before the save
        MessageKind kind;
        QString message;
        const char* focus;
    } steps[] = {
        {"txtPreavviso", "", MessageKind::Warning,
         u"Attenzione: per salvare la scheda è necessario indicare il nome del Cliente."_qs, "txtCliente"},
        {"txtCliente", " Rossi ", MessageKind::Warning,
         u"Attenzione: per salvare la scheda è necessario indicare la data di scadenza della manutenzione nel formato gg/mm/aaaa."_qs,
         "txtDataScade"},
        {"txtDataScade", "31/02/2025", MessageKind::Warning,
         u"Attenzione: per salvare la scheda è necessario indicare i giorni di preavviso."_qs, "txtPreavviso"},
        {"txtPreavviso", "0", MessageKind::Plain,
         u"Attenzione: la data di scadenza della manutenzione 31/02/2025 non esiste.\n\r\n\rPer poter salvare la "
         u"scheda è necessario indicare una data valida nel formato gg/mm/aaaa."_qs,
         "txtDataScade"},
    };
    for (const auto& s : steps) {
        view.setText(QString::fromLatin1(s.control), QString::fromLatin1(s.value));
        view.setFocus(u"cmdSalva"_qs);
        editor.save();
        EXPECT_EQ(takeMessages(), (Msgs{{s.kind, s.message}})) << s.control;
        EXPECT_EQ(view.focus, QString::fromLatin1(s.focus));
        EXPECT_FALSE(QFile::exists(archive()));
    }
    view.setText(u"txtDataScade"_qs, u"28/02/2025"_qs);
    editor.save();
    EXPECT_EQ(view.position(), u"1"_qs);
    EXPECT_EQ(QFile(archive()).size(), 3478);
}

TEST_F(CustomerEditor, FlagsAndASaveReloadSaveRoundTrip)
{
    editor.blank();
    const QList<std::pair<const char*, const char*>> card{
        {"txtCliente", "Caffè Rossi & Figli"}, {"txtDataNasc", "1/1/70"}, {"txtProvNasc", "to"},
        {"txtEstremi", "  Rimessa diretta  "}, {"txtDataScade", "15/06/2026"}, {"txtPreavviso", "30"},
        {"txtNote", "Prezzo € 120"},           {"lblFile01", "foto.jpg"},   {"lblDesc01", "Foto"}};
    for (const auto& [control, value] : card)
        view.setText(QString::fromLatin1(control), QString::fromUtf8(value));
    view.setChecked(u"chkRicontatta"_qs, true);
    editor.save();
    const QByteArray first = fileBytes(archive());
    ASSERT_EQ(first.size(), 3478);
    EXPECT_EQ(first.mid(1969, 3), QByteArray("\x02S\xEC"));
    EXPECT_EQ(first.mid(300, 16), QByteArray("\x0FRimessa diretta"));

    editor.blank();
    editor.first();
    EXPECT_EQ(view.text(u"txtEstremi"_qs), u"Rimessa diretta"_qs);
    EXPECT_TRUE(view.isChecked(u"chkRicontatta"_qs));
    editor.save();
    EXPECT_EQ(fileBytes(archive()), first);

    view.setChecked(u"chkRicontatta"_qs, false);
    editor.save();
    EXPECT_EQ(fileBytes(archive()).mid(1969, 3), QByteArray("\x02No"));
}

TEST_F(CustomerEditor, DamagedArchiveLoadsWhatItCanAndLosesNothing)
{
    copyFixture("Clienti-danneggiato.pro", archive());
    const QByteArray before = fileBytes(archive());
    editor.last(); // two whole cards; the partial third is not one
    EXPECT_EQ(view.position(), u"2"_qs);
    // The over-long length byte reads the field's 50 bytes and no more.
    EXPECT_EQ(view.text(u"txtCliente"_qs), u"Neri"_qs + QString(46, u'x'));
    EXPECT_EQ(view.text(u"txtComuneNasc"_qs), u"Caffè Alto"_qs);
    editor.next();
    EXPECT_TRUE(takeMessages().isEmpty());
    EXPECT_EQ(view.position(), u"2"_qs);

    // Saving the damaged card stores it clamped; the other card and the tail stay.
    editor.save();
    QByteArray after = fileBytes(archive());
    EXPECT_EQ(after.left(3478), before.left(3478));
    EXPECT_EQ(after.mid(3478, 1), QByteArray("\x32"));
    EXPECT_EQ(after.mid(2 * 3478), before.mid(2 * 3478));

    // A new card takes the place of the partial one, on the record boundary.
    editor.blank();
    view.setText(u"txtCliente"_qs, u"Gialli"_qs);
    view.setText(u"txtDataScade"_qs, u"01/01/2027"_qs);
    editor.save();
    EXPECT_EQ(view.position(), u"3"_qs);
    after = fileBytes(archive());
    EXPECT_EQ(after.size(), 3 * 3478);
    EXPECT_EQ(TCliente::decode(after.mid(2 * 3478)).Cliente, u"Gialli"_qs);
}

TEST_F(CustomerEditor, ReadOnlyProgramFolderShowsTheErrorAndCreatesNothing)
{
    editor.blank();
    chmod(QFile::encodeName(folder.dir.path()).constData(), 0555);
    {
        const orv::test::Unprivileged nobody;
        editor.first();
        view.setText(u"txtCliente"_qs, u"Rossi"_qs);
        view.setText(u"txtDataScade"_qs, u"01/01/2027"_qs);
        editor.save();
    }
    chmod(QFile::encodeName(folder.dir.path()).constData(), 0755);
    EXPECT_EQ(takeMessages(), (Msgs{{MessageKind::Error, kArchiveAccessMessage}, {MessageKind::Error, kArchiveAccessMessage}}));
    EXPECT_EQ(view.position(), QString());
    EXPECT_FALSE(QFile::exists(archive()));
}

TEST(CustomerLists, ResultLines)
{
    TCliente c;
    c.Cliente = u"Rossi Mario"_qs;
    c.Recapito = u"011 123456"_qs;
    c.Marca = u"Caldex K-24 modello speciale"_qs;
    c.Matricola = u"A-001"_qs;
    c.Note = u" citofonare "_qs;
    c.Questioni = u"perdita"_qs;
    c.DataScade = u"15/06/2026"_qs;
    const QString fixed = u"Rossi Mario                   "_qs + u"  Tel. "_qs + u"011 123456          "_qs + u"  "_qs
        + u"Caldex K-24 modello "_qs + u"  Matr. n. "_qs + u"A-001               "_qs;
    EXPECT_EQ(fixed.size(), 30 + 7 + 20 + 2 + 20 + 11 + 20);
    EXPECT_EQ(RigaTrovaClienti(c), fixed + u"  citofonare"_qs);
    EXPECT_EQ(RigaTrovaClienti(c).size(), 112 + 10);
    EXPECT_EQ(RigaRicontatta(c), fixed + u"  perdita"_qs);
    EXPECT_EQ(RigaScadenzario(c), fixed + u"  Scadenza: 15/06/2026"_qs);
}

TEST(CustomerLists, SelectionTests)
{
    const orv::test::PinnedClock clock(QDateTime(QDate(2024, 5, 10), QTime(18, 30)));
    orv::platform::TDateTime today = orv::platform::today();
    const struct {
        const char* due;
        const char* notice;
        bool listed, ok;
    } cases[] = {
        {"10/05/2024", "0", true, true},  {"09/05/2024", "0", false, true}, {"20/05/2024", "10", true, true},
        {"20/05/2024", "9", false, true}, {"10/06/2024", "31", true, true}, {"10/06/2024", " 31 ", true, true},
        {"10/05/2024", "", false, false}, {"31/02/2024", "3", false, false}, {"", "3", false, false},
    };
    for (const auto& c : cases) {
        TCliente card;
        card.DataScade = QString::fromLatin1(c.due);
        card.Preavviso = QString::fromLatin1(c.notice);
        bool ok = !c.ok;
        EXPECT_EQ(ScadenzaImminente(card, today, ok), c.listed) << c.due << " " << c.notice;
        EXPECT_EQ(ok, c.ok) << c.due << " " << c.notice;
    }
    for (const auto& [flag, listed] : {std::pair{u"Sì"_qs, true}, {u"No"_qs, false}, {u"sì"_qs, false}, {QString(), false}}) {
        TCliente card;
        card.Ricontatta = flag;
        EXPECT_EQ(orv::customers::toRecontact(card), listed) << flag.toStdString();
    }
}

TEST(CustomerLists, StatusListsFillInArchiveOrderAndTheDueListSkipsABadCard)
{
    const orv::test::PinnedClock clock(QDateTime(QDate(2024, 5, 10), QTime(8, 0)));
    orv::test::ProgramFolder folder;
    const auto card = [](const char* name, const char* due, const char* notice, const QString& flag) {
        TCliente c;
        c.Cliente = QString::fromLatin1(name);
        c.DataScade = QString::fromLatin1(due);
        c.Preavviso = QString::fromLatin1(notice);
        c.Ricontatta = flag;
        return c.encode();
    };
    {
        QFile f(folder.file(TCliente::kFileName));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(card("Zeta", "12/05/2024", "5", u"Sì"_qs) + card("Alfa", "20/05/2024", "10", u"No"_qs)
                + card("Beta", "01/06/2024", "3", u"Sì"_qs) + card("Vuoto", "10/05/2024", "", u"Sì"_qs)
                + card("Gamma", "10/05/2024", "0", u"Sì"_qs));
    }
    const QString path = folder.file(TCliente::kFileName);
    ResultList recontact(false), due(false);
    EXPECT_TRUE(runArchiveCommandSilently(path, TCliente::kSize, [&](orv::platform::ArchiveFile& f) {
        orv::customers::fillRecontact(f, recontact);
    }));
    QStringList names;
    for (const ResultLine& l : recontact.lines())
        names.append(l.text.left(5).trimmed());
    EXPECT_EQ(names, (QStringList{u"Zeta"_qs, u"Beta"_qs, u"Vuoto"_qs, u"Gamma"_qs}));
    EXPECT_EQ(recontact.at(3).record, 4);

    EXPECT_TRUE(runArchiveCommandSilently(path, TCliente::kSize, [&](orv::platform::ArchiveFile& f) {
        orv::customers::fillMaintenanceDue(f, due, orv::platform::today());
    }));
    ASSERT_EQ(due.size(), 3); // Gamma, due today, lies behind the card without notice days
    EXPECT_TRUE(due.at(0).text.startsWith(u"Zeta "_qs));
    EXPECT_TRUE(due.at(1).text.endsWith(u"  Scadenza: 20/05/2024"_qs));
    EXPECT_TRUE(due.at(2).text.startsWith(u"Gamma "_qs));
    EXPECT_EQ(due.at(2).record, 4);
}

TEST(CustomerLists, FinderLoadsTheChosenOfTwoCardsWithEqualLines)
{
    orv::test::ProgramFolder folder;
    // The names differ only after the 30th character, so both cards give one line.
    TCliente a, b, other;
    a.Cliente = u"Rossi Mario Giuseppe Alberto da Torino"_qs;
    b.Cliente = u"Rossi Mario Giuseppe Alberto da Milano"_qs;
    a.Marca = b.Marca = u"Caldex"_qs;
    a.DataScade = u"01/01/2026"_qs;
    b.DataScade = u"02/02/2026"_qs;
    other.Cliente = u"Bianchi"_qs;
    {
        QFile f(folder.file(TCliente::kFileName));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(a.encode() + other.encode() + b.encode());
    }
    orv::platform::ArchiveFile file(folder.file(TCliente::kFileName), TCliente::kSize);
    file.open();
    ResultList list;
    QStringList criteria(orv::customers::finderCriteria().size());
    criteria[0] = u"ROSSI"_qs;
    orv::customers::search(file, criteria, list);
    const auto line = [](const QByteArray& r) { return RigaTrovaClienti(TCliente::decode(r)); };
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list.at(0).text, list.at(1).text);

    FakeView view;
    RecordingMessages messages;
    ArchiveEditor editor(orv::customers::editorConfig(), view, messages);
    for (qsizetype chosen = 0; chosen < 2; ++chosen) {
        const auto found = CercaPerRiga(file, line, list.at(chosen));
        ASSERT_TRUE(found);
        editor.show(TCliente::layout().decode(found->record), found->position);
        EXPECT_EQ(view.position(), chosen == 0 ? u"1"_qs : u"3"_qs);
        EXPECT_EQ(view.text(u"txtDataScade"_qs), chosen == 0 ? u"01/01/2026"_qs : u"02/02/2026"_qs);
    }
}

namespace {

QList<QStringList> fixtureRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Clienti.pro"_qs);
    copyFixture("Clienti.pro", path);
    return gridRows(path, TCliente::kSize, [](const QByteArray& r) { return orv::customers::exportRow(TCliente::decode(r)); });
}

// A small reader of the CSV text LibreOffice writes: commas, double quotes, one row a line.
QList<QStringList> parseCsv(const QString& text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                cell += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                cell += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row.append(std::exchange(cell, {}));
        } else if (c == u'\n') {
            row.append(std::exchange(cell, {}));
            rows.append(std::exchange(row, {}));
        } else if (c != u'\r') {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !row.isEmpty()) {
        row.append(cell);
        rows.append(row);
    }
    return rows;
}

} // namespace

TEST(CustomerExport, FileOfTheFixtureArchiveMatchesTheGoldenFile)
{
    const QList<QStringList> rows = fixtureRows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][2], u"Torino "_qs); // the grid keeps the joining blank; the file trims it
    const QByteArray text = spreadsheetText(orv::customers::exportSheet(), rows);
    EXPECT_EQ(text, fixture("Clienti.xls"));
    EXPECT_EQ(orv::platform::cp1252::decode(text).count(u"<tr>"_qs), 4);
    EXPECT_FALSE(text.contains('\n'));

    // An empty archive: the heading row and ten rows of 25 empty cells.
    QTemporaryDir dir;
    const QList<QStringList> empty =
        gridRows(dir.filePath(u"Clienti.pro"_qs), TCliente::kSize, [](const QByteArray& r) { return orv::customers::exportRow(TCliente::decode(r)); });
    const QString emptyText = orv::platform::cp1252::decode(spreadsheetText(orv::customers::exportSheet(), empty));
    EXPECT_EQ(emptyText.count(u"<tr>"_qs), 11);
    EXPECT_EQ(emptyText.count(u"<td style=\"text-align: left;\" sdnum=\"1040;0;@\"></td>"_qs), 250);
}

TEST(CustomerExport, LibreOfficeReadsTheCells)
{
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_qs);
    if (soffice.isEmpty()) {
        if (qEnvironmentVariableIsSet("CI"))
            FAIL() << "soffice is missing: scripts/setup installs libreoffice-calc-nogui";
        GTEST_SKIP() << "soffice is not installed";
    }
    QTemporaryDir dir;
    orv::platform::setProgramFolder(dir.path());
    RecordingMessages messages;
    messages.answers = {MessageButton::Yes, MessageButton::No};
    ASSERT_TRUE(exportRows(orv::customers::exportSheet(), fixtureRows(), messages, [](const QString&) {}));
    orv::platform::setProgramFolder(QString());

    QProcess lo;
    lo.setWorkingDirectory(dir.path());
    lo.start(soffice, {u"-env:UserInstallation=file://"_qs + dir.filePath(u"profile"_qs), u"--headless"_qs,
                       u"--norestore"_qs, u"--convert-to"_qs, u"csv:Text - txt - csv (StarCalc):44,34,76"_qs,
                       u"--outdir"_qs, dir.filePath(u"csv"_qs), dir.filePath(u"Clienti.xls"_qs)});
    ASSERT_TRUE(lo.waitForFinished(300000)) << "LibreOffice did not finish";
    QFile csv(dir.filePath(u"csv/Clienti.csv"_qs));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << lo.readAllStandardError().toStdString();
    const QList<QStringList> cells = parseCsv(QString::fromUtf8(csv.readAll()));
    ASSERT_EQ(cells.size(), 4);
    for (const QStringList& r : cells)
        EXPECT_EQ(r.size(), 25);
    EXPECT_EQ(cells[0][0], u"Cognome e nome Cliente"_qs);
    EXPECT_EQ(cells[0][6], u"Modalità di pagamento"_qs);
    EXPECT_EQ(cells[1][0], u"Rossi & Figli <srl>"_qs);
    EXPECT_EQ(cells[1][2], u"Torino"_qs);
    EXPECT_EQ(cells[1][5], u"Torino TO"_qs);
    EXPECT_EQ(cells[1][17], u"Caldex K-24 > 2020"_qs);
    EXPECT_EQ(cells[1][24], u"Citofonare \"Rossi\""_qs);
    EXPECT_EQ(cells[2][2], u"Caffè Alto BZ"_qs);
    EXPECT_EQ(cells[2][24], u"Prezzo € 120"_qs);
    EXPECT_EQ(cells[3][0], u"Verdi Giuseppe"_qs);
    EXPECT_EQ(cells[3][23], u"31/12/2026"_qs);
}
