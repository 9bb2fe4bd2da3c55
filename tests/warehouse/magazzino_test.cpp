// The article editor through its real controls: keys and clicks as a user gives them.
#include "window_fixture.h"

#include "kit/dialogs/allegacartella.h"
#include "shell/avvio.h"
#include "kit/dialogs/guida.h"
#include "warehouse/datipneumatici.h"
#include "warehouse/giacenza.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::shell;
using namespace orv::warehouse;

using namespace orv::platform::ui;
using orv::test::article;
using orv::test::MessageCall;
using orv::test::WarehouseWindowTest;

namespace {

const QString kAppended = u"La scheda corrente è stata inserita in archivio."_qs;
const QString kSaved = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs;
const QString kEmpty = u"L'archivio non contiene nessuna scheda."_qs;
const QString kEditorAccess = u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
                        u"i privilegi di scrittura nella cartella di installazione del programma."_qs;

const TArticolo kEditorValvola = article({{&TArticolo::Codice, "V-1"},       {&TArticolo::Tipologia, "Ricambi"},
                                    {&TArticolo::Marca, "ACME"},        {&TArticolo::Modello, "X1"},
                                    {&TArticolo::Costo, "2,50"},        {&TArticolo::Giacenza, "10"},
                                    {&TArticolo::Valore, "25,00"},      {&TArticolo::Prezzo, "10,00"},
                                    {&TArticolo::PercIva, "22"},        {&TArticolo::Prezzo_con_Iva, "12,20"},
                                    {&TArticolo::Sottoscorta, "5"},     {&TArticolo::Altezza, "10 cm"},
                                    {&TArticolo::Scadenza, "2027"},     {&TArticolo::File01, "carichi.ods"},
                                    {&TArticolo::Desc01, "Carichi"},    {&TArticolo::Cartella, "cartella"},
                                    {&TArticolo::CartellaDesc, "desc"}, {&TArticolo::Note, "nota"}});
const TArticolo kEditorTubo = article({{&TArticolo::Codice, "T-2"}, {&TArticolo::Giacenza, "7,5"}});
const TArticolo kEditorServizio = article({{&TArticolo::Codice, "S-3"}, {&TArticolo::Descrizione, "Manutenzione"}});

class EditorTest : public WarehouseWindowTest {
protected:
    void typeInto(Control& c, const QString& text)
    {
        c.setFocus();
        keys(editor(), text);
    }
    // The field emptied, then typed into.
    void retype(Edit& e, const QString& text)
    {
        e.setFocus();
        e.setText(QString());
        keys(editor(), text);
    }
    bool focusIs(const Control& c) const { return editor().focusedControl() == &c; }
    Edit& edit(const char* name) const { return editor().control<Edit>(QString::fromLatin1(name)); }
};

TEST_F(EditorTest, WindowLayoutAsDesigned)
{
    TfrmMagazzino& e = editor();
    EXPECT_EQ(e.caption(), u" Orvanta 4.0 - Magazzino Articoli"_qs);
    EXPECT_TRUE(e.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(e.panInfo.text(), u"Pronto per archiviare una nuova scheda..."_qs);
    // Each edit's maximum length is its record field's width; numbers are centred or right-aligned.
    const struct {
        const char* name;
        int maxLength;
        Qt::Alignment align;
    } fields[] = {
        {"txtCodice", 30, Qt::AlignLeft},        {"txtTipologia", 250, Qt::AlignLeft},
        {"txtMarca", 250, Qt::AlignLeft},        {"txtModello", 250, Qt::AlignLeft},
        {"txtDescrizione", 250, Qt::AlignLeft},  {"txtAccessori", 250, Qt::AlignLeft},
        {"txtFornitore", 250, Qt::AlignLeft},    {"txtRecapiti", 50, Qt::AlignLeft},
        {"txtData", 50, Qt::AlignLeft},          {"txtDocumento", 250, Qt::AlignLeft},
        {"txtOrdine", 250, Qt::AlignLeft},       {"txtGiacenza", 15, Qt::AlignHCenter},
        {"txtSottoscorta", 15, Qt::AlignHCenter}, {"txtCosto", 15, Qt::AlignRight},
        {"txtValore", 15, Qt::AlignRight},       {"txtPrezzo", 15, Qt::AlignRight},
        {"txtPercIva", 2, Qt::AlignHCenter},     {"txtPrezzo_con_Iva", 15, Qt::AlignRight},
        {"txtCollocazione", 250, Qt::AlignLeft}, {"txtNote", 250, Qt::AlignLeft},
    };
    for (const auto& f : fields) {
        Edit& field = edit(f.name);
        EXPECT_EQ(field.maxLength(), f.maxLength) << f.name;
        EXPECT_EQ(field.lineEdit()->alignment() & Qt::AlignHorizontal_Mask, f.align) << f.name;
        ASSERT_TRUE(field.highlight()) << f.name;
        EXPECT_EQ(field.highlight()->name(), u"eff"_qs + field.name().mid(3));
    }
    // The command column top to bottom, then the arrows; no picture command takes the focus.
    const char* const column[] = {"cmdNuovo", "cmdDuplica",     "cmdFile",    "cmdSalva", "cmdTrova", "cmdStampa",
                                  "cmdPDF",   "cmdSottoscorta", "cmdEsporta", "cmdGuida", "cmdEsci"};
    int lastY = 0;
    for (const char* name : column) {
        Control* c = e.findControl(QString::fromLatin1(name));
        EXPECT_EQ(c->left(), 814) << name;
        EXPECT_GT(c->top(), lastY) << name;
        lastY = c->top();
        EXPECT_EQ(c->widget()->focusPolicy(), Qt::NoFocus) << name;
    }
    EXPECT_LT(e.cmdWeb.top(), e.cmdSottoscorta.top());
    EXPECT_GT(e.cmdWeb.top(), e.cmdPDF.top());
    for (Image* arrow : {&e.cmdPrimo, &e.cmdIndietro, &e.cmdAvanti, &e.cmdUltimo})
        EXPECT_EQ(arrow->widget()->focusPolicy(), Qt::NoFocus);
    EXPECT_LT(e.cmdIndietro.left(), e.lblPosizione.left());
    EXPECT_GT(e.cmdAvanti.left(), e.lblPosizione.left());
    const std::pair<Button*, const char*> buttons[] = {
        {&e.btnAggiungi, "+"},     {&e.btnSottrai, "-"},        {&e.btnValore, "Calcola valore"},
        {&e.btnCalcola, "Calcola"}, {&e.btnScorpora, "Scorpora"}, {&e.btnPneumatici, "Altre informazioni"}};
    for (const auto& [b, caption] : buttons) EXPECT_EQ(b->text(), QString::fromUtf8(caption));
    for (Label* hidden : {&e.memConsumo, &e.memAderenza, &e.memRumore, &e.memOnde, &e.lblFile01, &e.lblFile02,
                          &e.lblFile03, &e.lblDesc01, &e.lblDesc02, &e.lblDesc03, &e.lblCartella, &e.lblCartellaDesc})
        EXPECT_FALSE(hidden->visible()) << hidden->name().toStdString();
}

TEST_F(EditorTest, ShowingAndNewGiveAClearedCard)
{
    writeArchive({kEditorValvola});
    click(editor().cmdPrimo);
    ASSERT_EQ(editor().lblPosizione.text(), u"1"_qs);
    EXPECT_EQ(editor().memConsumo.text(), u"10 cm"_qs);
    EXPECT_EQ(editor().lblCartella.text(), u"cartella"_qs);

    click(editor().cmdNuovo);
    const QStringList amounts = {"txtCosto", "txtValore", "txtPrezzo", "txtPrezzo_con_Iva"};
    const QStringList wholes = {"txtGiacenza", "txtSottoscorta", "txtPercIva"};
    for (const auto& c : editor().controls()) {
        const QString n = c->name();
        if (auto* e = dynamic_cast<Edit*>(c.get())) {
            EXPECT_EQ(e->text(), amounts.contains(n) ? u"0,00"_qs : wholes.contains(n) ? u"0"_qs : QString()) << n.toStdString();
        }
        if (auto* l = dynamic_cast<Label*>(c.get()); l && !l->visible()) { EXPECT_EQ(l->text(), QString()) << n.toStdString(); }
    }
    EXPECT_EQ(editor().lblPosizione.text(), QString());
    EXPECT_TRUE(focusIs(editor().txtCodice));
    EXPECT_TRUE(editor().findControl(u"effCodice"_qs)->visible());
    EXPECT_TRUE(messages.calls.empty());

    // Every show of the window clears the card again.
    click(editor().cmdUltimo);
    editor().hide();
    showAndActivate(editor());
    EXPECT_EQ(editor().txtCodice.text(), QString());
    EXPECT_EQ(editor().txtCosto.text(), u"0,00"_qs);
    EXPECT_EQ(editor().lblPosizione.text(), QString());
}

TEST_F(EditorTest, SaveChecksTheCodeThenAppendsAndOverwrites)
{
    click(editor().cmdSalva);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Warning);
    EXPECT_EQ(messages.last().buttons, mbOk | mbCancel);
    EXPECT_EQ(messages.last().text, u"Attenzione: per salvare la scheda è necessario indicare il codice articolo."_qs);
    EXPECT_TRUE(focusIs(editor().txtCodice));
    EXPECT_FALSE(QFile::exists(orv::platform::programFile(TArticolo::kFileName)));
    messages.clear();

    // The cleared card with the code A1.
    typeInto(editor().txtCodice, u" A1 "_qs);
    click(editor().cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kAppended});
    EXPECT_EQ(editor().lblPosizione.text(), u"1"_qs);
    QByteArray expected(4874, '\0');
    const auto put = [&](int offset, const char* text) {
        expected[offset] = char(qstrlen(text));
        expected.replace(offset + 1, int(qstrlen(text)), text);
    };
    put(0, "A1");
    for (int offset : {1639, 1655, 2173, 2192}) put(offset, "0,00");
    for (int offset : {2189, 2459, 2475}) put(offset, "0");
    EXPECT_EQ(archiveBytes(), expected);

    // Saved again: the same record is overwritten, the price with VAT and the value recomputed
    // whatever they held.
    edit("txtPrezzo").setText(u"10"_qs);
    edit("txtPercIva").setText(u"22"_qs);
    edit("txtPrezzo_con_Iva").setText(u"99,00"_qs);
    edit("txtCosto").setText(u"2,5"_qs);
    edit("txtGiacenza").setText(u"3"_qs);
    edit("txtValore").setText(u"1,00"_qs);
    click(editor().cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kSaved});
    ASSERT_EQ(archiveBytes().size(), 4874);
    const TArticolo saved = stored()[0];
    EXPECT_EQ(saved.Prezzo_con_Iva, u"12,20"_qs);
    EXPECT_EQ(saved.Valore, u"7,50"_qs);
    EXPECT_EQ(editor().txtPrezzo_con_Iva.text(), u"12,20"_qs);
    EXPECT_EQ(editor().txtValore.text(), u"7,50"_qs);

    // A second card is appended behind the first.
    click(editor().cmdNuovo);
    typeInto(editor().txtCodice, u"B2"_qs);
    click(editor().cmdSalva);
    EXPECT_EQ(editor().lblPosizione.text(), u"2"_qs);
    EXPECT_EQ(archiveBytes().size(), 2 * 4874);
}

TEST_F(EditorTest, SaveRoundsTheStockAndGoesOnAfterACalculationWarning)
{
    writeArchive({kEditorTubo});
    click(editor().cmdPrimo);
    EXPECT_EQ(editor().txtGiacenza.text(), u"7,5"_qs); // an import left decimals
    edit("txtSottoscorta").setText(u" "_qs);
    edit("txtPrezzo").setText(u"1,2,3"_qs); // not a number: Calcola warns and resets its three fields
    click(editor().cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({orv::warehouse::kCalcolaWarning, kSaved}));
    const TArticolo saved = stored()[0];
    EXPECT_EQ(saved.Giacenza, u"8"_qs);
    EXPECT_EQ(saved.Sottoscorta, u"0"_qs);
    EXPECT_EQ(saved.Prezzo, u"0,00"_qs);
    EXPECT_EQ(saved.PercIva, u"0"_qs);
    EXPECT_EQ(saved.Prezzo_con_Iva, u"0,00"_qs);
    EXPECT_EQ(editor().txtGiacenza.text(), u"8"_qs);

    // A stock that is not a number ends Save with the archive message in a warning box.
    const QByteArray before = archiveBytes();
    edit("txtGiacenza").setText(u"dieci"_qs);
    click(editor().cmdSalva);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Warning);
    EXPECT_EQ(messages.last().text, kEditorAccess);
    EXPECT_EQ(archiveBytes(), before);
}

TEST_F(EditorTest, DuplicateTurnsTheSavedCardIntoANewOneWithoutAttachments)
{
    click(editor().cmdDuplica);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Warning);
    EXPECT_EQ(messages.last().text, u"Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è "
                                    u"stata inserita in archivio."_qs);
    messages.clear();

    writeArchive({kEditorTubo, kEditorServizio, kEditorTubo, kEditorValvola});
    click(editor().cmdUltimo);
    ASSERT_EQ(editor().lblPosizione.text(), u"4"_qs);
    editor().txtNote.setFocus();
    click(editor().cmdDuplica);
    EXPECT_EQ(takeTexts(), QStringList{u"E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                                       u"Al termine premere Salva per inserire la scheda in archivio."_qs});
    EXPECT_EQ(editor().lblPosizione.text(), QString());
    EXPECT_TRUE(focusIs(editor().txtCodice));
    EXPECT_EQ(editor().memConsumo.text(), u"10 cm"_qs); // the extra data stay
    click(editor().cmdSalva);
    EXPECT_EQ(editor().lblPosizione.text(), u"5"_qs);
    const QList<TArticolo> all = stored();
    ASSERT_EQ(all.size(), 5);
    TArticolo copy = kEditorValvola;
    copy.File01 = copy.Desc01 = copy.Cartella = copy.CartellaDesc = QString();
    EXPECT_EQ(all[4].values(), copy.values());
    EXPECT_EQ(all[3].values(), kEditorValvola.values());
}

TEST_F(EditorTest, NavigationInEachCase)
{
    enum Start { NewCard, First, Last };
    const struct {
        int records;
        Start start;
        const char* command;
        const char* position;
        bool emptyMessage;
    } cases[] = {
        {0, NewCard, "cmdPrimo", "", true},    {0, NewCard, "cmdUltimo", "", true},
        {0, NewCard, "cmdAvanti", "", true},   {0, NewCard, "cmdIndietro", "", true},
        {3, NewCard, "cmdAvanti", "1", false}, {3, NewCard, "cmdIndietro", "1", false},
        {3, First, "cmdIndietro", "1", false}, {3, First, "cmdAvanti", "2", false},
        {3, Last, "cmdAvanti", "3", false},    {3, Last, "cmdIndietro", "2", false},
    };
    const TArticolo articles[] = {kEditorValvola, kEditorTubo, kEditorServizio};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " from " + std::to_string(c.start) + " of " + std::to_string(c.records));
        QFile::remove(orv::platform::programFile(TArticolo::kFileName));
        writeArchive(QList<TArticolo>(articles, articles + c.records));
        click(editor().cmdNuovo);
        if (c.start == First) click(editor().cmdPrimo);
        if (c.start == Last) click(editor().cmdUltimo);
        messages.clear();
        click(*editor().findControl(QString::fromLatin1(c.command)));
        EXPECT_EQ(editor().lblPosizione.text(), QString::fromLatin1(c.position));
        if (c.emptyMessage) {
            ASSERT_EQ(messages.calls.size(), 1u);
            EXPECT_EQ(messages.last().kind, MessageCall::Information);
            EXPECT_EQ(messages.last().text, kEmpty);
        } else {
            EXPECT_TRUE(messages.calls.empty());
        }
        const QString pos = editor().lblPosizione.text();
        if (!pos.isEmpty()) { EXPECT_EQ(editor().txtCodice.text(), articles[pos.toInt() - 1].Codice); }
    }
    // A loaded card shows all 32 fields.
    click(editor().cmdPrimo);
    EXPECT_EQ(orv::archive::readControls(orv::kit::FormView(editor()), TArticolo::layout()), kEditorValvola.values());
}

TEST_F(EditorTest, ArchiveFailuresShowTheAccessMessageInAWarningBox)
{
    blockArchive();
    for (Control* c : std::initializer_list<Control*>{&editor().cmdPrimo, &editor().cmdIndietro, &editor().cmdAvanti,
                                                      &editor().cmdUltimo, &editor().cmdSalva}) {
        if (c == &editor().cmdSalva) typeInto(editor().txtCodice, u"A1"_qs);
        click(*c);
        ASSERT_EQ(messages.calls.size(), 1u) << c->name().toStdString();
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().text, kEditorAccess);
        messages.clear();
    }
    EXPECT_EQ(editor().lblPosizione.text(), QString()); // still a new card
    // Duplicate of a card that claims a position: the same warning box; the card is new now.
    editor().lblPosizione.setText(u"1"_qs);
    editor().lblFile01.setText(u"a.txt"_qs);
    click(editor().cmdDuplica);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Warning);
    EXPECT_EQ(messages.last().text, kEditorAccess);
    EXPECT_EQ(editor().lblPosizione.text(), QString());
    EXPECT_EQ(editor().lblFile01.text(), QString());
}

TEST_F(EditorTest, EnterWalksTheChainAndNumberFieldsFilterTheirKeys)
{
    const char* const chain[] = {"txtCodice",     "txtTipologia", "txtMarca",    "txtModello",       "txtDescrizione",
                                 "txtAccessori",  "txtFornitore", "txtRecapiti", "txtData",          "txtDocumento",
                                 "txtOrdine",     "txtGiacenza",  "txtSottoscorta", "txtCosto",      "txtValore",
                                 "txtPrezzo",     "txtPercIva",   "txtPrezzo_con_Iva", "txtCollocazione", "txtNote",
                                 "txtCodice"};
    editor().txtCodice.setFocus();
    for (const char* name : chain) {
        ASSERT_EQ(editor().focusedControl()->name(), QString::fromLatin1(name));
        EXPECT_TRUE(editor().focusedControl()->highlight()->visible()) << name;
        key(editor(), Qt::Key_Return);
    }

    // Whole numbers take digits only, amounts a comma too; only Enter moves on.
    const std::pair<const char*, const char*> typed[] = {
        {"txtGiacenza", "12"}, {"txtSottoscorta", "12"}, {"txtPercIva", "12"},
        {"txtCosto", "1,2"},   {"txtValore", "1,2"},     {"txtPrezzo", "1,2"}, {"txtPrezzo_con_Iva", "1,2"}};
    for (const auto& [name, result] : typed) {
        Edit& e = edit(name);
        e.setText(QString());
        typeInto(e, u"1a ,-2"_qs);
        const QString r = QString::fromLatin1(result);
        EXPECT_EQ(e.text(), r) << name;
        press(e, Qt::Key_Backspace);
        press(e, Qt::Key_Home); // swallowed: the caret stays at the end
        keys(editor(), u"9"_qs);
        EXPECT_EQ(e.text(), r.chopped(1) + u'9') << name;
        press(e, Qt::Key_Left);
        press(e, Qt::Key_Delete);
        press(e, Qt::Key_Right);
        EXPECT_EQ(e.text(), r.chopped(1)) << name;
        press(e, Qt::Key_Tab);
        EXPECT_EQ(editor().focusedControl(), &e) << name;
    }
    // A text field takes every key; Tab moves the focus as usual.
    typeInto(editor().txtNote, u"a,b-1"_qs);
    EXPECT_EQ(editor().txtNote.text(), u"a,b-1"_qs);
    press(editor().txtNote, Qt::Key_Tab);
    EXPECT_NE(editor().focusedControl(), &editor().txtNote);
}

TEST_F(EditorTest, LeavingANumberFieldWritesItsNormalForm)
{
    const struct {
        const char *field, *text, *result;
    } cases[] = {
        {"txtCosto", "0,00006", "0,0001"}, {"txtCosto", "0,00004", "0,00"},  {"txtValore", "", "0,00"},
        {"txtPrezzo", "5", "5,00"},        {"txtPrezzo_con_Iva", "1,5", "1,50"}, {"txtCosto", "12,3456", "12,3456"},
        {"txtCosto", ",", "0,00"},         {"txtGiacenza", "3,6", "4"},      {"txtSottoscorta", "007", "7"},
        {"txtPercIva", "", "0"},           {"txtGiacenza", "abc", "0"},
    };
    for (const auto& c : cases) {
        Edit& e = edit(c.field);
        e.setFocus();
        e.setText(QString::fromUtf8(c.text)); // pasted
        editor().txtNote.setFocus();
        EXPECT_EQ(e.text(), QString::fromUtf8(c.result)) << c.field << " " << c.text;
        EXPECT_FALSE(e.highlight()->visible());
    }
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(EditorTest, PriceAndValueButtons)
{
    retype(edit("txtPrezzo"), u"100"_qs);
    retype(edit("txtPercIva"), u"22"_qs);
    click(editor().btnCalcola);
    EXPECT_EQ(editor().txtPrezzo.text(), u"100,00"_qs); // normalised on leaving
    EXPECT_EQ(editor().txtPrezzo_con_Iva.text(), u"122,00"_qs);
    edit("txtPrezzo_con_Iva").setText(u"100,00"_qs);
    click(editor().btnScorpora);
    EXPECT_EQ(editor().txtPrezzo.text(), u"81,97"_qs);
    retype(edit("txtCosto"), u"1,2345"_qs);
    retype(edit("txtGiacenza"), u"3"_qs);
    click(editor().btnValore);
    EXPECT_EQ(editor().txtValore.text(), u"3,70"_qs);
    EXPECT_TRUE(messages.calls.empty());

    edit("txtPercIva").setText(u"x"_qs);
    click(editor().btnCalcola);
    EXPECT_EQ(takeTexts(), QStringList{orv::warehouse::kCalcolaWarning});
    EXPECT_EQ(editor().txtPrezzo.text(), u"0,00"_qs);
    EXPECT_TRUE(focusIs(editor().txtPrezzo_con_Iva));
}

TEST_F(EditorTest, StockWindowAddsOrSubtractsIntoTheEditorOnly)
{
    writeArchive({kEditorValvola});
    click(editor().cmdPrimo);
    // "+" with 5: the editor's stock becomes 15; the archive still holds 10 until Save.
    modal.scripts[u"frmGiacenza"_qs] = [](Form& f) {
        auto& g = static_cast<TfrmGiacenza&>(f);
        EXPECT_EQ(g.caption(), u" Aggiornamento giacenza"_qs);
        EXPECT_EQ(g.lblAggiunta.text(), u"Quantità da aggiungere:"_qs);
        EXPECT_EQ(g.txtGiacenza.text(), u"10"_qs);
        EXPECT_EQ(g.txtTotale.text(), u"10"_qs);
        EXPECT_EQ(g.txtAggiunta.text(), u"0"_qs);
        g.txtAggiunta.setFocus();
        g.txtAggiunta.setText(QString());
        keys(g, u"5"_qs);
        click(g.btnAggiorna); // computes the total itself
    };
    click(editor().btnAggiungi);
    EXPECT_EQ(modal.shown, QStringList{u"frmGiacenza"_qs});
    EXPECT_EQ(editor().txtGiacenza.text(), u"15"_qs);
    EXPECT_EQ(stored()[0].Giacenza, u"10"_qs);

    // "-" below zero; an empty stock starts from "0".
    edit("txtGiacenza").setText(u" "_qs);
    modal.scripts[u"frmGiacenza"_qs] = [](Form& f) {
        auto& g = static_cast<TfrmGiacenza&>(f);
        EXPECT_EQ(g.lblAggiunta.text(), u"Quantità da sottrarre:"_qs);
        EXPECT_EQ(g.txtGiacenza.text(), u"0"_qs);
        g.txtGiacenza.setFocus();
        keys(g, u"2"_qs);
        key(g, Qt::Key_Return);
        EXPECT_EQ(g.focusedControl(), &g.txtAggiunta);
        EXPECT_EQ(g.txtGiacenza.text(), u"2"_qs); // "02" on leaving
        g.txtAggiunta.setText(QString());
        keys(g, u"5"_qs);
        key(g, Qt::Key_Return);
        EXPECT_EQ(g.focusedControl(), &g.btnTotale);
        click(g.btnTotale);
        EXPECT_EQ(g.txtTotale.text(), u"-3"_qs);
        click(g.btnAggiorna);
    };
    click(editor().btnSottrai);
    EXPECT_EQ(editor().txtGiacenza.text(), u"-3"_qs);

    // Annulla writes nothing; a seventeenth digit starts the field again; an empty quantity
    // becomes "0" on leaving.
    modal.scripts[u"frmGiacenza"_qs] = [](Form& f) {
        auto& g = static_cast<TfrmGiacenza&>(f);
        g.txtAggiunta.setFocus();
        g.txtAggiunta.setText(QString());
        keys(g, u"1234567890123456"_qs);
        EXPECT_EQ(g.txtAggiunta.text(), u"1234567890123456"_qs);
        keys(g, u"7"_qs);
        EXPECT_EQ(g.txtAggiunta.text(), u"7"_qs);
        keys(g, u"x,"_qs);
        EXPECT_EQ(g.txtAggiunta.text(), u"7"_qs);
        press(g.txtAggiunta, Qt::Key_Backspace);
        g.txtGiacenza.setFocus();
        EXPECT_EQ(g.txtAggiunta.text(), u"0"_qs);
        click(g.btnTotale);
        EXPECT_EQ(g.txtTotale.text(), u"-3"_qs);
        click(g.btnChiudi);
    };
    click(editor().btnSottrai);
    EXPECT_EQ(editor().txtGiacenza.text(), u"-3"_qs);
}

TEST_F(EditorTest, ExtraDataGoThroughTheirWindowAndReachTheArchiveWithSave)
{
    writeArchive({kEditorValvola});
    click(editor().cmdPrimo);
    editor().memRumore.setText(u"  2 m "_qs);
    modal.scripts[u"frmDatiPneumatici"_qs] = [](Form& f) {
        auto& d = static_cast<TfrmDatiPneumatici&>(f);
        EXPECT_EQ(d.caption(), u" Altre informazioni"_qs);
        EXPECT_EQ(QStringList({d.txtConsumo.text(), d.txtAderenza.text(), d.txtRumore.text(), d.txtOnde.text()}),
                  QStringList({"10 cm", "", "2 m", "2027"}));
        EXPECT_EQ(d.focusedControl(), &d.txtConsumo);
        EXPECT_EQ(d.txtOnde.maxLength(), 30);
        for (Edit* next : {&d.txtAderenza, &d.txtRumore, &d.txtOnde}) {
            key(d, Qt::Key_Return);
            EXPECT_EQ(d.focusedControl(), next);
        }
        keys(d, u" fine 2028"_qs);
        key(d, Qt::Key_Return);
        EXPECT_EQ(d.focusedControl(), &d.btnApplica);
        d.txtAderenza.setText(u" 5 cm "_qs);
        click(d.btnApplica);
    };
    click(editor().btnPneumatici);
    EXPECT_EQ(editor().memAderenza.text(), u"5 cm"_qs);
    EXPECT_EQ(editor().memOnde.text(), u"2027 fine 2028"_qs);
    EXPECT_EQ(stored()[0].Larghezza, QString()); // stored only by Save
    click(editor().cmdSalva);
    EXPECT_EQ(stored()[0].Larghezza, u"5 cm"_qs);
    EXPECT_EQ(stored()[0].Lunghezza, u"2 m"_qs);
    EXPECT_EQ(stored()[0].Scadenza, u"2027 fine 2028"_qs);

    modal.scripts[u"frmDatiPneumatici"_qs] = [](Form& f) {
        auto& d = static_cast<TfrmDatiPneumatici&>(f);
        d.txtConsumo.setText(u"altro"_qs);
        click(d.btnAnnulla);
    };
    click(editor().btnPneumatici);
    EXPECT_EQ(editor().memConsumo.text(), u"10 cm"_qs);
}

TEST_F(EditorTest, AttachmentsGoThroughTheAttachWindow)
{
    writeArchive({kEditorValvola});
    click(editor().cmdPrimo);
    modal.scripts[u"frmAllegaCartella"_qs] = [](Form& f) {
        auto& a = static_cast<TfrmAllegaCartella&>(f);
        EXPECT_EQ(a.lblMemory.text(), u"magazzino"_qs);
        EXPECT_EQ(a.rows[0].txtFile.text(), u"carichi.ods"_qs);
        EXPECT_EQ(a.rows[0].txtDesc.text(), u"Carichi"_qs);
        a.rows[2].txtDesc.setText(u"Terzo"_qs);
        click(a.btnApplica);
    };
    click(editor().cmdFile);
    EXPECT_EQ(editor().lblDesc03.text(), u"Terzo"_qs);
    click(editor().cmdSalva);
    EXPECT_EQ(stored()[0].Desc03, u"Terzo"_qs);
    EXPECT_EQ(stored()[0].File01, u"carichi.ods"_qs);
}

TEST_F(EditorTest, WebSearchWithBrandAndModel)
{
    click(editor().cmdWeb);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Warning);
    EXPECT_EQ(messages.last().text, u"Attenzione: per poter effettuare una ricerca sul Web è necessario compilare il "
                                    u"campo relativo alla marca dell'articolo."_qs);
    EXPECT_TRUE(focusIs(editor().txtMarca));
    EXPECT_TRUE(shell.opened.isEmpty());
    keys(editor(), u"ACME"_qs);
    click(editor().cmdWeb);
    typeInto(editor().txtModello, u"X1"_qs);
    click(editor().cmdWeb);
    EXPECT_EQ(shell.opened, QStringList({u"\"https://www.google.com/search?q=ACME \""_qs,
                                         u"\"https://www.google.com/search?q=ACME X1\""_qs}));
}

TEST_F(EditorTest, CardPrintAndPdfShowTheValuesOnScreen)
{
    typeInto(editor().txtCodice, u" A1 "_qs);
    retype(edit("txtSottoscorta"), u"5"_qs);
    editor().memOnde.setText(u"12/2027"_qs);
    click(editor().cmdStampa);
    EXPECT_EQ(prints.cardCalls, QStringList({"portrait", "print"}));
    EXPECT_EQ(prints.card[u"txtTitolo"_qs], u"SCHEDA ARTICOLO"_qs);
    EXPECT_EQ(prints.card[u"titCampo01"_qs], u"Codice articolo:"_qs);
    EXPECT_EQ(prints.card[u"txtCampo01"_qs], u"A1"_qs);
    EXPECT_EQ(prints.card[u"titCampo15"_qs], u"Preavviso sottoscorta:"_qs);
    EXPECT_EQ(prints.card[u"txtCampo15"_qs], u"5 pezzi rimasti"_qs);
    EXPECT_EQ(prints.card[u"titCampo17"_qs], u"Aliquota IVA:"_qs);
    EXPECT_EQ(prints.card[u"txtCampo16"_qs], u"0,00"_qs);
    EXPECT_EQ(prints.card[u"titCampo23"_qs], u"Scadenza:"_qs);
    EXPECT_EQ(prints.card[u"txtCampo23"_qs], u"12/2027"_qs);
    EXPECT_EQ(prints.card[u"titCampo24"_qs], u"Note:"_qs);
    EXPECT_EQ(prints.card[u"txtCalce"_qs], u"Stampa eseguita in data 15/03/2026 alle ore 10:30:00"_qs);
    EXPECT_EQ(prints.card.size(), 50);
    EXPECT_TRUE(messages.calls.empty());

    // PDF: written to "Articolo.pdf", then offered for opening; No leaves it unopened.
    prints.cardCalls.clear();
    messages.answers = {mrNo, mrYes};
    click(editor().cmdPDF);
    click(editor().cmdPDF);
    const QString pdf = orv::platform::programFile(u"Articolo.pdf"_qs);
    EXPECT_EQ(prints.cardCalls, QStringList({"portrait", "pdf " + pdf, "portrait", "pdf " + pdf}));
    ASSERT_EQ(messages.calls.size(), 2u);
    EXPECT_EQ(messages.last().kind, MessageCall::Confirmation);
    EXPECT_EQ(messages.last().text, u"L'esportazione della scheda in PDF è terminata con successo.\r\n\r\n"
                                    u"Si vuole aprire il file?"_qs);
    EXPECT_EQ(shell.opened, QStringList{u'"' + pdf + u'"'});
    // A failed export has been reported by the report engine: no question.
    messages.clear();
    prints.pdfSucceeds = false;
    click(editor().cmdPDF);
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(EditorTest, HelpHintsAndClosing)
{
    QString title;
    QStringList paragraphs;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        auto& g = static_cast<TfrmGuida&>(f);
        title = g.lblTitolo.text();
        paragraphs = g.txtGuida.text().split(u"\r\n\r\n"_qs);
    };
    click(editor().cmdGuida);
    EXPECT_EQ(title, u"Magazzino Articoli."_qs);
    const char* const starts[] = {"L'applicazione Magazzino Articoli permette di gestire",
                                  "Per inserire una nuova scheda", "Il pulsante Duplica",
                                  "La catalogazione della merce", "Il campo Giacenza", "Il pulsante Calcola",
                                  "Il campo Avviso sottoscorta", "Il campo Tipologia", "Il campo Note",
                                  "Le ricerche funzionano anche con chiave parziale", "Il pulsante Cerca sul Web",
                                  "L'utente del software ha la possibilità di allegare fino a tre file",
                                  "La scheda di ogni singolo prodotto"};
    ASSERT_EQ(paragraphs.size(), 13);
    for (int i = 0; i < 13; ++i) EXPECT_TRUE(paragraphs[i].startsWith(QString::fromUtf8(starts[i]))) << i;

    hover(editor().cmdWeb);
    EXPECT_EQ(editor().panInfo.text(), u"Cerca sul Web, tramite Google, informazioni relative all'articolo corrente."_qs);
    hover(editor().txtCodice); // fields leave it as it is
    EXPECT_FALSE(editor().panInfo.text().isEmpty());
    hover(editor(), QPoint(2, 2));
    EXPECT_EQ(editor().panInfo.text(), QString());
    const std::pair<Control*, const char*> hints[] = {
        {&editor().btnScorpora, "Scorpora il prezzo lordo dell'articolo corrente calcolando l'imponibile in base "
                                "all'aliquota IVA indicata."},
        {&editor().btnPneumatici, "Registra ulteriori informazioni sul prodotto corrente."},
        {&editor().cmdSottoscorta, "Visualizza l'elenco dei materiali in esaurimento."},
        {&editor().cmdIndietro, "Visualizza la scheda precedente in archivio."},
    };
    for (const auto& [c, text] : hints) {
        hover(*c);
        EXPECT_EQ(editor().panInfo.text(), QString::fromUtf8(text));
        hover(*editor().findControl(u"imgMagazzino"_qs));
        EXPECT_EQ(editor().panInfo.text(), QString());
    }

    click(editor().cmdEsci);
    EXPECT_FALSE(editor().isVisible());
    EXPECT_TRUE(frmAvvio->isVisible());
}

} // namespace
