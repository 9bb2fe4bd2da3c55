// The article import, opened as a row's import button of a quote or delivery-note editor
// opens it, driven with real keys and clicks.
#include "window_fixture.h"

#include "kit/windowtable.h"
#include "warehouse/importamagazzino.h"

#include <memory>

#include <cerrno>
#include <unistd.h>

using namespace orv::platform::ui;
using namespace orv::warehouse;

using namespace orv::platform::ui;
using orv::test::article;
using orv::test::clickLine;
using orv::test::MessageCall;
using orv::test::WarehouseWindowTest;

namespace {

const TArticolo kCavo = article({{&TArticolo::Codice, "CV-1"},   {&TArticolo::Descrizione, "Cavo unipolare 1,5 mm"},
                                 {&TArticolo::Costo, "2"},       {&TArticolo::Giacenza, "10"},
                                 {&TArticolo::Valore, "20,00"},  {&TArticolo::Prezzo, "12,5"},
                                 {&TArticolo::Fornitore, "Rossi"}, {&TArticolo::Note, "rotolo"}});
const TArticolo kValvola = article({{&TArticolo::Codice, "V-1"},      {&TArticolo::Descrizione, "Valvola"},
                                    {&TArticolo::Giacenza, "5,50"},   {&TArticolo::Prezzo, "8,00"},
                                    {&TArticolo::Costo, ""},          {&TArticolo::Valore, "3,00"}});
const TArticolo kServizio = article({{&TArticolo::Codice, "S-1"}, {&TArticolo::Descrizione, "Manutenzione"},
                                     {&TArticolo::Prezzo, "60,00"}, {&TArticolo::Giacenza, ""}});

// A document editor as the import sees it: thirty rows of quantity, code, description and
// price edits.
std::unique_ptr<Form> documentEditor(const QString& name)
{
    Layout layout;
    for (int n = 1; n <= 30; ++n)
        for (const char* prefix : {"txtQuant", "txtCodice", "txtDesc", "txtPrezzo"})
            layout.push_back(edit(numbered(QString::fromLatin1(prefix), n), 0, 0, 50));
    return std::make_unique<Form>(nullptr, FormSpec{name, QString(), 200, 200, Border::Single, Placement::Designed, QColor(), QColor()},
                                  layout);
}

class ImportTest : public WarehouseWindowTest {
protected:
    std::unique_ptr<Form> quote = documentEditor(u"frmPreventivi"_qs);
    std::unique_ptr<Form> delivery = documentEditor(u"frmDDT"_qs);

    void SetUp() override
    {
        WarehouseWindowTest::SetUp();
        orv::kit::setStartWindow(quote->objectName(), quote.get());
        orv::kit::setStartWindow(delivery->objectName(), delivery.get());
    }
    void TearDown() override
    {
        orv::kit::setStartWindow(quote->objectName(), nullptr);
        orv::kit::setStartWindow(delivery->objectName(), nullptr);
        WarehouseWindowTest::TearDown();
    }

    // The row's import button: the dialog with the row's tag and quantity, shown modally.
    void importInto(Form& document, const char* prefix, int row, std::function<void(TfrmImportaMagazzino&)> script)
    {
        modal.scripts[u"frmImportaMagazzino"_qs] = [script](Form& f) { script(static_cast<TfrmImportaMagazzino&>(f)); };
        orv::warehouse::importArticle(&document, numbered(QString::fromLatin1(prefix), row),
                                      document.control<Edit>(numbered(u"txtQuant"_qs, row)).text());
        modal.scripts.erase(u"frmImportaMagazzino"_qs);
    }
    static QStringList row(Form& document, int n)
    {
        QStringList v;
        for (const char* prefix : {"txtQuant", "txtCodice", "txtDesc", "txtPrezzo"})
            v << document.control<Edit>(numbered(QString::fromLatin1(prefix), n)).text();
        return v;
    }
    // Rows that hold anything.
    static QList<int> filledRows(Form& document)
    {
        QList<int> rows;
        for (int n = 1; n <= 30; ++n)
            if (!row(document, n).join(QString()).isEmpty()) rows << n;
        return rows;
    }
    static void search(TfrmImportaMagazzino& f)
    {
        QTest::mousePress(f.btnCerca.widget(), Qt::LeftButton);
        QTest::mouseRelease(f.btnCerca.widget(), Qt::LeftButton);
    }
};

TEST_F(ImportTest, UpdateUnloadsTheStockAndFillsTheRow)
{
    writeArchive({kCavo, kValvola});
    quote->control<Edit>(u"txtQuant07"_qs).setText(u" 2,5 "_qs);
    importInto(*quote, "pre_art_", 7, [&](TfrmImportaMagazzino& f) {
        EXPECT_EQ(f.caption(), u" Importa articoli da magazzino"_qs);
        EXPECT_EQ(f.txtQuant.text(), u"2,5"_qs);
        EXPECT_EQ(f.focusedControl(), &f.txtCodice);
        EXPECT_EQ(f.lblCodice.text(), QString());
        EXPECT_EQ(f.lblPosizione.text(), u"0"_qs);
        search(f);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 2 schede."_qs);
        EXPECT_EQ(f.lstRecords.itemsText(), QStringList({RigaImportaMagazzino(kCavo), RigaImportaMagazzino(kValvola)}));
        EXPECT_EQ(f.control<Label>(u"lblRigo03"_qs).text(), u"Richiamare i dati di una scheda selezionandola con un clic."_qs);
        EXPECT_TRUE(f.lstRecords.listWidget()->selectedItems().isEmpty());

        clickLine(f.lstRecords, 0); // one click shows the details
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(f.lblCodice.text(), u"CV-1"_qs);
        EXPECT_EQ(f.lblDescrizione.text(), u"Cavo unipolare 1,5 mm"_qs);
        EXPECT_EQ(f.lblGiacenza.text(), u"10"_qs);
        EXPECT_EQ(f.lblCosto.text(), u"2"_qs);
        EXPECT_EQ(f.lblValore.text(), u"20,00"_qs);
        EXPECT_EQ(f.lblPosizione.text(), u"1"_qs);
        EXPECT_EQ(f.txtQuant.text(), u"2,5"_qs);
        click(f.btnAggiorna);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_TRUE(messages.calls.empty());
    const QList<TArticolo> all = stored();
    EXPECT_EQ(all[0].Giacenza, u"7,5"_qs);
    EXPECT_EQ(all[0].Valore, u"15,00"_qs);
    EXPECT_EQ(all[0].Note, u"rotolo"_qs);
    EXPECT_EQ(all[1].values(), kValvola.values());
    // Code, description and price as stored; the row's quantity stays as it was.
    EXPECT_EQ(row(*quote, 7), QStringList({" 2,5 ", "CV-1", "Cavo unipolare 1,5 mm", "12,5"}));
    EXPECT_EQ(filledRows(*quote), QList<int>{7});
    EXPECT_EQ(filledRows(*delivery), QList<int>{});
}

TEST_F(ImportTest, StockBoundariesAndTheRowOfTheDeliveryNote)
{
    writeArchive({kCavo, kValvola});
    // The whole stock: it becomes "0" and the value "0,00".
    delivery->control<Edit>(u"txtQuant30"_qs).setText(u"10"_qs);
    importInto(*delivery, "ddt_art_", 30, [&](TfrmImportaMagazzino& f) {
        search(f);
        clickLine(f.lstRecords, 0);
        click(f.btnAggiorna);
    });
    EXPECT_EQ(stored()[0].Giacenza, u"0"_qs);
    EXPECT_EQ(stored()[0].Valore, u"0,00"_qs);
    EXPECT_EQ(row(*delivery, 30), QStringList({"10", "CV-1", "Cavo unipolare 1,5 mm", "12,5"}));
    EXPECT_EQ(filledRows(*quote), QList<int>{});

    // An empty row quantity leaves the dialog's "0": nothing is unloaded, the stock is written
    // back in its shortest form and an empty cost gives a value of "0,00".
    importInto(*quote, "pre_art_", 1, [&](TfrmImportaMagazzino& f) {
        EXPECT_EQ(f.txtQuant.text(), u"0"_qs);
        search(f);
        clickLine(f.lstRecords, 1);
        click(f.btnAggiorna);
    });
    EXPECT_EQ(stored()[1].Giacenza, u"5,5"_qs);
    EXPECT_EQ(stored()[1].Valore, u"0,00"_qs);
    EXPECT_EQ(row(*quote, 1), QStringList({"", "V-1", "Valvola", "8,00"}));
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(ImportTest, AQuantityAboveTheStockIsRefusedAndTheOtherCommandStillImports)
{
    writeArchive({kCavo});
    const QByteArray before = archiveBytes();
    importInto(*quote, "pre_art_", 3, [&](TfrmImportaMagazzino& f) {
        search(f);
        // No article chosen yet: both commands ask for one.
        for (Button* b : {&f.btnAggiorna, &f.btnNonAggiornare}) {
            click(*b);
            EXPECT_TRUE(f.isVisible());
            ASSERT_EQ(messages.calls.size(), 1u);
            EXPECT_EQ(messages.last().kind, MessageCall::Warning);
            EXPECT_EQ(messages.last().buttons, mbOk | mbCancel);
            EXPECT_EQ(messages.last().text, TfrmImportaMagazzino::kNoArticle);
            messages.clear();
        }
        clickLine(f.lstRecords, 0);
        f.txtQuant.setFocus();
        f.txtQuant.setText(QString());
        keys(f, u"10,5"_qs);
        click(f.btnAggiorna);
        EXPECT_TRUE(f.isVisible());
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().text, TfrmImportaMagazzino::kAboveStock);
        EXPECT_EQ(f.lstRecords.itemIndex(), 0);
        EXPECT_EQ(f.txtQuant.text(), u"10,5"_qs);
        EXPECT_EQ(f.lblGiacenza.text(), u"10"_qs);
        EXPECT_EQ(row(*quote, 3), QStringList({"", "", "", ""}));
        click(f.btnNonAggiornare);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(archiveBytes(), before);
    EXPECT_EQ(row(*quote, 3), QStringList({"", "CV-1", "Cavo unipolare 1,5 mm", "12,5"}));
}

TEST_F(ImportTest, FailuresCloseWithoutAMessageAndWriteNothing)
{
    writeArchive({kCavo, kServizio});
    const QByteArray before = archiveBytes();
    // An empty quantity, and an article whose stock is not a number.
    const std::pair<int, const char*> cases[] = {{0, ""}, {1, "1"}};
    for (const auto& [line, quantity] : cases) {
        importInto(*quote, "pre_art_", 2, [&](TfrmImportaMagazzino& f) {
            search(f);
            clickLine(f.lstRecords, line);
            f.txtQuant.setText(QString::fromLatin1(quantity));
            click(f.btnAggiorna);
            EXPECT_FALSE(f.isVisible());
        });
    }
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(archiveBytes(), before);
    EXPECT_EQ(filledRows(*quote), QList<int>{});
    // The service without stock is still imported without the update.
    importInto(*quote, "pre_art_", 2, [&](TfrmImportaMagazzino& f) {
        search(f);
        clickLine(f.lstRecords, 1);
        click(f.btnNonAggiornare);
    });
    EXPECT_EQ(row(*quote, 2), QStringList({"", "S-1", "Manutenzione", "60,00"}));

    // A tag no row answers to, or an editor that is not there: nothing is unloaded.
    orv::kit::setStartWindow(delivery->objectName(), nullptr);
    for (const char* prefix : {"ddt_art_", "pre_art_x"}) {
        importInto(*quote, prefix, 4, [&](TfrmImportaMagazzino& f) {
            search(f);
            clickLine(f.lstRecords, 0);
            click(f.btnAggiorna);
            EXPECT_FALSE(f.isVisible());
        });
    }
    EXPECT_EQ(archiveBytes(), before);
    EXPECT_EQ(filledRows(*quote), QList<int>{2});
    // Chiudi after a click writes nothing either.
    importInto(*quote, "pre_art_", 5, [&](TfrmImportaMagazzino& f) {
        search(f);
        clickLine(f.lstRecords, 0);
        f.txtQuant.setText(u"1"_qs);
        click(f.btnChiudi);
    });
    EXPECT_EQ(archiveBytes(), before);
    EXPECT_EQ(filledRows(*quote), QList<int>{2});
}

namespace {

// The errno the archive's write or flush fails with while a test runs; 0 lets it through.
int gFailWrite = 0;
int gFailFlush = 0;

ssize_t failingPwrite(int fd, const void* data, size_t bytes, off_t offset)
{
    if (gFailWrite) {
        errno = gFailWrite;
        return -1;
    }
    return ::pwrite(fd, data, bytes, offset);
}

int failingFlush(int fd)
{
    if (gFailFlush) {
        errno = gFailFlush;
        return -1;
    }
    return ::fdatasync(fd);
}

} // namespace

// The unload's write failing (a full disk, a failing device, a write that reaches the file
// but not the disk) is told with the full-disk or the access message; the stock stays as
// it was and the row stays empty.
TEST_F(ImportTest, AFailedStockWriteIsToldAndChangesNothing)
{
    static const orv::platform::ArchiveWriteCalls calls{failingPwrite, ::write, failingFlush};
    orv::platform::setArchiveWriteCalls(&calls);
    writeArchive({kCavo, kValvola});
    const QByteArray before = archiveBytes();
    const struct {
        int write, flush;
        const QString& message;
    } cases[] = {{ENOSPC, 0, orv::archive::kArchiveDiskFullMessage},
                 {EDQUOT, 0, orv::archive::kArchiveDiskFullMessage},
                 {0, ENOSPC, orv::archive::kArchiveDiskFullMessage},
                 {EIO, 0, orv::archive::kArchiveAccessMessage},
                 {0, EIO, orv::archive::kArchiveAccessMessage}};
    for (const auto& c : cases) {
        gFailWrite = c.write;
        gFailFlush = c.flush;
        messages.clear();
        importInto(*quote, "pre_art_", 3, [&](TfrmImportaMagazzino& f) {
            search(f);
            clickLine(f.lstRecords, 0);
            f.txtQuant.setText(u"2"_qs);
            click(f.btnAggiorna);
            EXPECT_FALSE(f.isVisible());
        });
        ASSERT_EQ(messages.calls.size(), 1u) << c.write << " " << c.flush;
        EXPECT_EQ(messages.last().kind, MessageCall::Plain);
        EXPECT_EQ(messages.last().text, c.message);
        gFailWrite = gFailFlush = 0;
        EXPECT_EQ(archiveBytes(), before);
        EXPECT_EQ(filledRows(*quote), QList<int>{});
    }
    orv::platform::setArchiveWriteCalls(nullptr);
    // Room made: the same unload goes through.
    importInto(*quote, "pre_art_", 3, [&](TfrmImportaMagazzino& f) {
        search(f);
        clickLine(f.lstRecords, 0);
        f.txtQuant.setText(u"2"_qs);
        click(f.btnAggiorna);
    });
    EXPECT_EQ(stored()[0].Giacenza, u"8"_qs);
    EXPECT_EQ(filledRows(*quote), QList<int>{3});
}

// A new stock or value that its 15-character field cannot hold whole is refused, naming
// the field; nothing is unloaded and the dialog stays for the import without update.
TEST_F(ImportTest, AStockOrValueTheArchiveCannotHoldWholeIsRefused)
{
    const TArticolo huge = article({{&TArticolo::Codice, "H-1"}, {&TArticolo::Giacenza, "99999999999999"},
                                    {&TArticolo::Costo, "0"}, {&TArticolo::Prezzo, "1,00"}});
    const TArticolo dear = article({{&TArticolo::Codice, "D-1"}, {&TArticolo::Giacenza, "99999999999"},
                                    {&TArticolo::Costo, "1000"}, {&TArticolo::Prezzo, "2,00"}});
    writeArchive({huge, dear});
    const QByteArray before = archiveBytes();
    const struct {
        int line;
        const char* quantity;
        const char* field;
        const char* value;
    } cases[] = {{1, "0,5", "Giacenza", "99999999999998,5"}, {0, "0", "Valore", "99999999999000,00"}}; // D-1 sorts first
    for (const auto& c : cases) {
        messages.clear();
        importInto(*quote, "pre_art_", 4, [&](TfrmImportaMagazzino& f) {
            search(f);
            clickLine(f.lstRecords, c.line);
            f.txtQuant.setText(QString::fromLatin1(c.quantity));
            click(f.btnAggiorna);
            EXPECT_TRUE(f.isVisible());
            ASSERT_EQ(messages.calls.size(), 1u);
            EXPECT_EQ(messages.last().kind, MessageCall::Warning);
            EXPECT_EQ(messages.last().text, TfrmImportaMagazzino::overlongAmount(QString::fromLatin1(c.field),
                                                                                 QString::fromLatin1(c.value), 15));
            EXPECT_TRUE(messages.last().text.contains(u"\"%1\""_qs.arg(QString::fromLatin1(c.field))));
            click(f.btnNonAggiornare);
        });
        EXPECT_EQ(archiveBytes(), before);
        EXPECT_EQ(row(*quote, 4)[1], QString::fromLatin1(c.line ? "H-1" : "D-1"));
    }
    // A quantity that leaves a stock the field holds goes through.
    importInto(*quote, "pre_art_", 5, [&](TfrmImportaMagazzino& f) {
        search(f);
        clickLine(f.lstRecords, 1);
        f.txtQuant.setText(u"1"_qs);
        click(f.btnAggiorna);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(stored()[0].Giacenza, u"99999999999998"_qs);
    EXPECT_EQ(stored()[0].Valore, u"0,00"_qs);
}

TEST_F(ImportTest, TheClickedLinesOwnRecordIsTheOneUnloaded)
{
    // Two articles with the same line: the one clicked is updated, the other stays.
    TArticolo twin = kCavo;
    twin.Note = u"altro magazzino"_qs;
    twin.Costo = u"3"_qs;
    writeArchive({kCavo, kValvola, twin});
    importInto(*quote, "pre_art_", 9, [&](TfrmImportaMagazzino& f) {
        f.txtCodice.setFocus();
        keys(f, u"cv"_qs);
        search(f);
        ASSERT_EQ(f.lstRecords.count(), 2);
        EXPECT_EQ(f.lstRecords.item(0), f.lstRecords.item(1));
        clickLine(f.lstRecords, 0);
        EXPECT_EQ(f.lblPosizione.text(), u"1"_qs);
        clickLine(f.lstRecords, 1);
        EXPECT_EQ(f.lblPosizione.text(), u"3"_qs);
        EXPECT_EQ(f.lblCosto.text(), u"3"_qs);
        f.txtQuant.setText(u"1"_qs);
        click(f.btnAggiorna);
    });
    const QList<TArticolo> all = stored();
    EXPECT_EQ(all[0].values(), kCavo.values());
    EXPECT_EQ(all[2].Giacenza, u"9"_qs);
    EXPECT_EQ(all[2].Valore, u"27,00"_qs);
}

TEST_F(ImportTest, QuantityKeysAndItsNormalForm)
{
    writeArchive({kCavo});
    importInto(*quote, "pre_art_", 1, [&](TfrmImportaMagazzino& f) {
        EXPECT_EQ(f.txtQuant.maxLength(), 6);
        search(f);
        const struct {
            const char *typed, *shown;
        } cases[] = {{"2,50", "2,5"}, {"1,23456", "1,2345"}, {",", "0"}, {"", ""}, {"a-3 b", "3"}, {",5", "0,5"}};
        for (const auto& c : cases) {
            f.txtQuant.setFocus();
            f.txtQuant.setText(QString());
            keys(f, QString::fromLatin1(c.typed)); // six characters at most
            f.txtTrova.setFocus();
            EXPECT_EQ(f.txtQuant.text(), QString::fromLatin1(c.shown)) << c.typed;
        }
        // Pasted beyond the maximum length, the quantity is rounded to four decimals.
        f.txtQuant.setFocus();
        f.txtQuant.setText(u"1,23456"_qs);
        f.txtTrova.setFocus();
        EXPECT_EQ(f.txtQuant.text(), u"1,2346"_qs);
        f.txtQuant.setFocus();
        EXPECT_TRUE(f.findControl(u"effQuant"_qs)->visible());
        key(f, Qt::Key_Return);
        EXPECT_EQ(f.focusedControl(), &f.btnAggiorna);
        click(f.btnChiudi);
    });
}

TEST_F(ImportTest, EmptyArchiveFindInListAndPrint)
{
    importInto(*quote, "pre_art_", 1, [&](TfrmImportaMagazzino& f) {
        search(f);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 0 schede."_qs);
        click(f.btnNonAggiornare);
        EXPECT_EQ(messages.last().text, TfrmImportaMagazzino::kNoArticle);
        click(f.btnTrova);
        EXPECT_EQ(messages.last().kind, MessageCall::Plain);
        click(f.btnStampa);
        EXPECT_EQ(prints.title, u"Riepilogo articoli in magazzino"_qs);
        EXPECT_EQ(prints.lines, QStringList());
        click(f.btnChiudi);
    });
    EXPECT_EQ(QFile(orv::platform::programFile(TArticolo::kFileName)).size(), 0); // created by the search
}

TEST_F(ImportTest, WindowLayoutAsDesigned)
{
    // 862 x 560 like every finder: the results list leaves room below it, inside the same
    // panel, for the article's details and the two import commands, none overlapping.
    importInto(*quote, "pre_art_", 1, [&](TfrmImportaMagazzino& f) {
        search(f);
        EXPECT_EQ(f.size(), QSize(862, 560));
        const QRect panel(QPoint(0, 0), f.panContainer.widget()->size());
        const QRect list = f.lstRecords.widget()->geometry();
        for (const auto& c : f.controls()) {
            if (c->widget()->parentWidget() != f.panContainer.widget() || !c->visible()) continue;
            const QRect at = c->widget()->geometry();
            EXPECT_TRUE(panel.contains(at)) << c->name().toStdString();
            if (c.get() != &f.lstRecords) { EXPECT_FALSE(at.intersects(list)) << c->name().toStdString(); }
        }
        for (const char* name : {"titQuant", "txtQuant", "lblGiacenza", "btnNonAggiornare", "btnAggiorna"})
            EXPECT_GT(f.findControl(QString::fromLatin1(name))->top(), f.btnTrova.top()) << name;
        EXPECT_EQ(f.btnChiudi.top(), f.btnStampa.top());
        EXPECT_LT(f.btnChiudi.left(), f.btnStampa.left());
        click(f.btnChiudi);
    });
}

} // namespace
