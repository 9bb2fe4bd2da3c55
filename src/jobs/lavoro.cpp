#include "jobs/lavoro.h"

#include "kit/dialogs/allegacartella.h"
#include "kit/windowtable.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "kit/dialogs/numerazione.h"
#include "kit/dialogs/settings.h"
#include "archive/helpers.h"
#include "kit/input.h"
#include "customers/trovaclienti.h"
#include "jobs/daericonsegnare.h"
#include "jobs/documenti.h"
#include "jobs/explavoro.h"
#include "jobs/scheda.h"
#include "jobs/trovalavoro.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/input.h"
#include "platform/ui/services.h"

namespace orv::jobs {
using namespace orv::archive;
using namespace orv::customers;
} // namespace orv::jobs

namespace orv::jobs {

using namespace orv::platform::ui;
using orv::platform::trimmed;

TfrmLavoro* frmLavoro = nullptr;

namespace {

const QColor kCaption(0x00, 0x00, 0x8B);
const QColor kHintBand(0x6A, 0x5A, 0xCD);
const QColor kCommand(0x2F, 0x5D, 0x8A);
const QColor kFrame(0xB8, 0xC2, 0xCE);
const FontSpec kFieldFont{u"Verdana"_qs, 12, true, false, false, QColor()};
const FontSpec kCaptionFont{u"Verdana"_qs, 11, true, false, false, kCaption};

// The sheet's fields at their places, with the caption above each. An edit takes the
// width of its record field as its maximum length.
struct Field {
    const char* name;
    const char* caption;
    int x, y, w;
    Align align = Align::Left;
    const char* parent = "panContainer";
};

constexpr const char* kNumberPanel = "panNumFattura";

const Field kFields[] = {
    {"txtNumScheda", "Scheda di Lavoro n.", 10, 24, 187, Align::Center, kNumberPanel},
    {"txtData", "Data emissione:", 10, 72, 150, Align::Center, kNumberPanel},
    {"txtPagamento", "Modalità di pagamento:", 10, 120, 187, Align::Left, kNumberPanel},
    {"txtTipoImpianto", "Tipo impianto:", 28, 100, 220},
    {"txtMarca", "Marca e modello:", 256, 100, 300},
    {"txtAnnoCostruz", "Anno costruzione:", 564, 100, 185, Align::Center},
    {"txtMatricola", "Matricola n.", 28, 148, 180},
    {"txtAlimentazione", "Alimentazione:", 216, 148, 160},
    {"txtUbicazione", "Ubicazione:", 384, 148, 250},
    {"txtCaratteristiche", "Caratteristiche tecniche:", 28, 196, 721},
    {"txtCliente", "Cognome e nome Cliente:", 28, 268, 250},
    {"txtCodFiscCli", "Codice fiscale:", 286, 268, 180},
    {"txtTelCli", "Tel.", 500, 268, 160},
    {"txtIndirizzoCli", "Indirizzo e città di residenza:", 668, 268, 299},
    {"txtDataAccetta", "Data inizio lavori:", 28, 340, 130, Align::Center},
    {"txtOraAccetta", "Ora:", 192, 340, 70, Align::Center},
    {"txtLuogo", "Luogo intervento:", 296, 340, 250},
    {"txtTecnico", "Tecnico esecutore:", 554, 340, 413},
    {"txtAnomalie", "Anomalie segnalate dal Cliente:", 28, 388, 465},
    {"txtControlli", "Controlli effettuati:", 502, 388, 465},
    {"txtLavori", "Lavori eseguiti:", 28, 436, 465},
    {"txtRicambi", "Ricambi e materiali utilizzati:", 502, 436, 465},
    {"txtRaccomandazioni", "Raccomandazioni per il Cliente:", 28, 484, 465},
    {"txtStato", "Stato dei lavori:", 502, 484, 465},
    {"txtAnnotazioni", "Annotazioni:", 28, 532, 939},
    {"txtFattura", "Estremi ricevuta o fattura:", 28, 598, 300},
    {"txtTotFattura", "Importo totale:", 336, 598, 120, Align::Right},
    {"txtDataRiconsegna", "Data riconsegna:", 464, 598, 130, Align::Center},
    {"txtOraRiconsegna", "Ora:", 628, 598, 70, Align::Center},
};

const QStringList kPlaces = {u"Laboratorio tecnico"_qs, u"Domicilio Cliente"_qs};
const QStringList kStates = {u"Non pronto"_qs, u"Non riparabile"_qs, u"Riparato"_qs, u"Revisionato"_qs};

// The sections of the sheet behind its fields.
struct Band {
    const char* name;
    int x, y, w, h;
    QColor colour;
};
const Band kBands[] = {
    {"bkgImpianto", 16, 76, 745, 160, QColor(0xFF, 0xF1, 0xE0)},
    {"bkgCliente", 16, 244, 963, 64, QColor(0xE3, 0xEF, 0xE3)},
    {"bkgLavori", 16, 316, 963, 250, QColor(0xE4, 0xE8, 0xEE)},
    {"bkgRiconsegna", 16, 574, 963, 62, QColor(0xF3, 0xE5, 0xF5)},
};

// The command bar, left to right; an empty text marks the position label, an icon an
// arrow.
struct Command {
    const char* name;
    int width;
    const char* words;
    art::Icon icon = art::Icon::Logo;
};
const Command kCommands[] = {
    {"cmdNuovo", 54, "Nuovo"},         {"cmdSalva", 54, "Salva"},
    {"cmdTrova", 54, "Trova"},         {"cmdImporta", 60, "Importa"},
    {"cmdAnteprima", 66, "Anteprima"}, {"cmdStampa", 54, "Stampa"},
    {"cmdPDF", 46, "PDF"},             {"cmdAllega", 54, "Allega"},
    {"cmdRiconsegnati", 80, "Non riconsegnati"},
    {"cmdPrimo", 22, nullptr, art::Icon::ArrowFirst}, {"cmdIndietro", 22, nullptr, art::Icon::ArrowPrev},
    {"lblPosizione", 56, ""},
    {"cmdAvanti", 22, nullptr, art::Icon::ArrowNext}, {"cmdUltimo", 22, nullptr, art::Icon::ArrowLast},
    {"cmdNumerazione", 84, "Numerazione"}, {"cmdEsporta", 58, "Esporta"},
    {"cmdGuida", 50, "Guida"},         {"cmdEsci", 46, "Esci"},
};

// The date and time buttons beside their fields.
struct Stamp {
    const char* name;
    int x, y;
    const char* parent = "panContainer";
};
const Stamp kStamps[] = {
    {"impData", 166, 73, kNumberPanel},
    {"impDataAccetta", 162, 341},
    {"impOraAccetta", 266, 341},
    {"impDataRiconsegna", 598, 599},
    {"impOraRiconsegna", 702, 599},
};

// An edit's record field has the edit's name without "txt".
int widthOf(const QString& control)
{
    const orv::archive::RecordLayout& record = TSchedaLavoro::layout();
    return record.field(record.indexOf(control.mid(3))).width;
}

const Layout& windowLayout()
{
    static const Layout layout = [] {
        const QString in = u"panContainer"_qs;
        Layout l{panel(in, 0, 0, 995, 692).centred()};
        l.push_back(rect(u"shpComandi"_qs, 8, 8, 979, 60, Qt::white).stroke(kFrame).radius(4).in(in));
        // One caption size for the whole bar.
        std::vector<std::pair<QString, QSizeF>> captions;
        for (const Command& c : kCommands)
            if (c.words && *c.words) captions.emplace_back(QString::fromUtf8(c.words), QSizeF(c.width, 48));
        const int captionSize = art::commandTextSize(captions);
        int x = 12;
        for (const Command& c : kCommands) {
            const QString name = QString::fromLatin1(c.name);
            if (c.words && !*c.words)
                l.push_back(label(name, x, 24, c.width, 26, QString()).centre()
                                .font({u"Verdana"_qs, 12, true, false, false, kCaption}).in(in));
            else if (c.words)
                l.push_back(command(name, x, 14, c.width, 48, art::command(QString::fromUtf8(c.words), kCommand, captionSize)).in(in));
            else
                l.push_back(command(name, x, 24, c.width, 26, art::icon(c.icon)).in(in));
            x += c.width + 3;
        }
        for (const Band& b : kBands)
            l.push_back(rect(QString::fromLatin1(b.name), b.x, b.y, b.w, b.h, b.colour).radius(4).in(in));
        l.push_back(panel(QString::fromLatin1(kNumberPanel), 772, 76, 207, 160)
                        .fill(QColor(0xFF, 0xF8, 0xDC)).stroke(kFrame).radius(4).in(in));
        for (const Field& f : kFields) {
            const QString name = QString::fromLatin1(f.name);
            const QString parent = QString::fromLatin1(f.parent);
            l.push_back(label(u"lbl"_qs + name.mid(3), f.x, f.y - 18, f.w, 16, QString::fromUtf8(f.caption))
                            .font(kCaptionFont).in(parent));
            const bool isCombo = name == u"txtLuogo" || name == u"txtStato";
            Item field = isCombo ? combo(name, f.x, f.y, f.w).items(name == u"txtLuogo" ? kPlaces : kStates)
                                 : edit(name, f.x, f.y, f.w);
            field.maxLen(widthOf(name)).align(f.align).font(kFieldFont).highlighted().in(parent);
            if (name == u"txtTotFattura") field.text = u"0,00"_qs;
            l.push_back(field);
        }
        l.push_back(check(u"chkGaranzia"_qs, 644, 148, 110, 24, u"Garanzia"_qs).font(kFieldFont).in(in));
        l.push_back(check(u"chkRiconsegnato"_qs, 740, 598, 160, 24, u"Riconsegnato"_qs).font(kFieldFont).in(in));
        l.push_back(command(u"btnCodFiscCli"_qs, 470, 269, 22, 22,
                            art::words(QString(QChar(0x2714)),
                                       {u"DejaVu Sans"_qs, 17, true, false, false, QColor(0x2E, 0x7D, 0x32)}))
                        .in(in));
        for (const Stamp& s : kStamps)
            l.push_back(command(QString::fromLatin1(s.name), s.x, s.y, 22, 22,
                                art::icon(QByteArray(s.name).startsWith("impOra") ? art::Icon::Clock : art::Icon::Schedule,
                                          QColor(0xC6, 0x28, 0x28)))
                            .in(QString::fromLatin1(s.parent)));
        // The hint line.
        l.push_back(rect(u"bkgInfo"_qs, 16, 644, 963, 32, kHintBand).radius(4).in(in));
        l.push_back(label(u"panInfo"_qs, 26, 650, 943, 20, u"Pronto per archiviare una nuova scheda..."_qs)
                        .font({u"Tahoma"_qs, 12, false, false, false, Qt::white}).in(in));
        // Values the sheet carries without showing them.
        l.push_back(label(u"lblFile"_qs, 0, 0, 10, 10, QString()).hidden().in(in));
        l.push_back(label(u"lblInizio"_qs, 0, 0, 10, 10, u"1"_qs).hidden().in(in));
        for (const char* n : {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"})
            l.push_back(label(QString::fromLatin1(n), 0, 0, 10, 10, QString()).hidden().in(in));
        return l;
    }();
    return layout;
}

} // namespace

} // namespace orv::jobs

namespace orv::jobs {

QStringList helpParagraphs()
{
    return {
        u"L'ambiente Schede di Lavoro è studiato per l'emissione del modulo da rilasciare al Cliente per ogni "
        u"intervento tecnico di riparazione o di assistenza. Nella scheda si annotano l'impianto su cui si "
        u"interviene, i dati del Cliente, la data e l'ora di inizio dei lavori, il luogo dell'intervento, il "
        u"tecnico esecutore, le anomalie segnalate dal Cliente, i controlli effettuati, i lavori eseguiti, i "
        u"ricambi e i materiali utilizzati, le raccomandazioni per il Cliente e la data e l'ora di riconsegna "
        u"dell'impianto."_qs,
        u"Con la funzione Riepilogo Schede di Lavoro Emesse è possibile ottenere il riepilogo degli interventi "
        u"eseguiti in un qualsiasi periodo per ciascun Cliente o per ciascun impianto, con il totale degli importi "
        u"incassati."_qs,
        u"La scheda di lavorazione consente anche di annotare lo stato dei lavori, il numero, la data e l'importo "
        u"della ricevuta o della fattura rilasciata al Cliente. Spuntando la casella Riconsegnato si indica che "
        u"l'impianto è stato restituito al Cliente; con un solo clic sul pulsante Non riconsegnati si ottiene "
        u"l'elenco degli impianti non ancora riconsegnati."_qs,
        u"Per inserire una Scheda di Lavoro in archivio, fare clic sul pulsante Nuovo, compilare i campi e premere "
        u"Salva. Per modificare una scheda già salvata, richiamarla con la funzione Trova o con le frecce di "
        u"scorrimento, apportare le modifiche e premere di nuovo Salva."_qs,
        u"Quando si preme il pulsante Nuovo, il software attribuisce al documento un numero che tiene conto di "
        u"quante Schede di Lavoro sono già presenti in archivio, partendo da 1 se l'archivio è vuoto. Per iniziare "
        u"la numerazione da un numero più alto, utilizzare il pulsante Numerazione."_qs,
        u"La compilazione della scheda può essere velocizzata importando i dati dall'archivio dei Clienti. La "
        u"scheda visualizzata può essere stampata, visualizzata in anteprima di stampa o salvata in formato PDF."_qs,
        u"La funzione Trova permette di creare riepiloghi degli interventi tecnici utilizzando più criteri di "
        u"ricerca contemporaneamente. Ad esempio si possono elencare tutti gli interventi eseguiti da un "
        u"tecnico in un certo giorno o mese, oppure quelli eseguiti per un Cliente o su un impianto. A ogni "
        u"scheda possono essere allegati file di qualsiasi genere."_qs,
        u"La schermata per il riepilogo delle Schede di Lavoro fornisce un vero e proprio estratto conto degli "
        u"importi incassati in un qualsiasi periodo, eventualmente filtrato per nome del Cliente e/o per numero di "
        u"matricola dell'impianto."_qs,
        u"Per ottenere il riepilogo degli interventi effettuati in un certo intervallo di tempo, aprire il riquadro "
        u"Riepilogo Schede di Lavoro emesse del menu delle Schede di Lavoro, indicare il nome del Cliente e/o il "
        u"numero di matricola, la data di inizio e la data di fine dell'intervallo e premere il pulsante "
        u"Visualizza riepilogo."_qs,
        u"L'estratto conto che si ottiene riporta per ogni Scheda di Lavoro la data di emissione, il nome del "
        u"Cliente, il suo recapito telefonico preferenziale, la marca e il modello dell'impianto e il totale della "
        u"ricevuta o della fattura corrispondente."_qs,
        u"Per ottenere il riepilogo di tutte le Schede di Lavoro emesse a tutti i Clienti, lasciare in bianco i "
        u"campi di ricerca. Il riepilogo può essere stampato con l'apposito pulsante."_qs,
    };
}

} // namespace orv::jobs

namespace orv::jobs {

TfrmLavoro::TfrmLavoro(QWidget* owner)
    : Form(owner,
           {u"frmLavoro"_qs, u" Orvanta 4.0 - Archivio Schede di Lavoro"_qs, 1016, 713, Border::Sizeable,
            Placement::Maximized, QColor(0x9F, 0xB1, 0xC8), Qt::white},
           windowLayout()),
      editor_(orv::jobs::editorConfig([this] { return yearFile(); }), view_, orv::kit::boxMessages())
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };

    const std::pair<Control*, void (TfrmLavoro::*)()> clicks[] = {
        {&cmdNuovo, &TfrmLavoro::cmdNuovoClick},         {&cmdSalva, &TfrmLavoro::cmdSalvaClick},
        {&cmdTrova, &TfrmLavoro::cmdTrovaClick},         {&cmdImporta, &TfrmLavoro::cmdImportaClick},
        {&cmdAnteprima, &TfrmLavoro::cmdAnteprimaClick}, {&cmdStampa, &TfrmLavoro::cmdStampaClick},
        {&cmdPDF, &TfrmLavoro::cmdPDFClick},             {&cmdAllega, &TfrmLavoro::cmdAllegaClick},
        {&cmdRiconsegnati, &TfrmLavoro::cmdRiconsegnatiClick},
        {&cmdPrimo, &TfrmLavoro::cmdPrimoClick},         {&cmdIndietro, &TfrmLavoro::cmdIndietroClick},
        {&cmdAvanti, &TfrmLavoro::cmdAvantiClick},       {&cmdUltimo, &TfrmLavoro::cmdUltimoClick},
        {&cmdNumerazione, &TfrmLavoro::cmdNumerazioneClick}, {&cmdEsporta, &TfrmLavoro::cmdEsportaClick},
        {&cmdGuida, &TfrmLavoro::cmdGuidaClick},         {&cmdEsci, &TfrmLavoro::cmdEsciClick},
        {&btnCodFiscCli, &TfrmLavoro::btnCodFiscCliClick},
    };
    for (const auto& [c, handler] : clicks) c->onClick = [this, h = handler] { (this->*h)(); };

    // Each date and time button puts today's date or the time now into its field.
    const auto date = [](Edit& field) { return [&field] { field.setText(orv::platform::dateToStr(orv::platform::today())); }; };
    const auto time = [](Edit& field) {
        return [&field] { field.setText(orv::platform::formatDateTime(u"hh:nn"_qs, orv::platform::nowDateTime())); };
    };
    impData.onClick = date(txtData);
    impDataAccetta.onClick = date(txtDataAccetta);
    impDataRiconsegna.onClick = date(txtDataRiconsegna);
    impOraAccetta.onClick = time(txtOraAccetta);
    impOraRiconsegna.onClick = time(txtOraRiconsegna);

    // The amount takes digits and the comma; Enter walks the whole sheet and back.
    txtTotFattura.onKeyDown = [](Word& key, QChar& keyChar, ShiftState) { acceptOnly(key, keyChar, u","); };
    txtTotFattura.onExit = [this] { txtTotFatturaExit(); };
    chainEnter({&txtTipoImpianto, &txtMarca, &txtAnnoCostruz, &txtMatricola, &txtAlimentazione, &txtUbicazione,
                &txtCaratteristiche, &txtNumScheda, &txtData, &txtPagamento, &txtCliente, &txtCodFiscCli, &txtTelCli,
                &txtIndirizzoCli, &txtDataAccetta, &txtOraAccetta, &txtLuogo, &txtTecnico, &txtAnomalie,
                &txtControlli, &txtLavori, &txtRicambi, &txtRaccomandazioni, &txtStato, &txtAnnotazioni, &txtFattura,
                &txtTotFattura, &txtDataRiconsegna, &txtOraRiconsegna});
    orv::kit::tidyWhileTyping(txtCodFiscCli, true, true);
    for (ComboEdit* c : {&txtLuogo, &txtStato}) c->onCanFocus = [c](bool&) { c->setItemIndex(-1); };

    const QString today = u"Inserisci la data corrente."_qs;
    const QString now = u"Indica l'ora corrente."_qs;
    bindHints(panInfo, {
                           {&cmdNuovo, u"Predispone la schermata per l'emissione di una nuova Scheda di Lavoro."_qs},
                           {&cmdSalva, u"Salva o aggiorna la Scheda di Lavoro corrente."_qs},
                           {&cmdTrova, u"Trova una Scheda di Lavoro in archivio."_qs},
                           {&cmdImporta, u"Importa i dati del Cliente e dell'impianto dall'archivio anagrafico."_qs},
                           {&cmdAnteprima, u"Visualizza l'anteprima di stampa della Scheda di Lavoro corrente."_qs},
                           {&cmdStampa, u"Stampa la Scheda di Lavoro corrente."_qs},
                           {&cmdPDF, u"Esporta la Scheda di Lavoro corrente in formato PDF."_qs},
                           {&cmdAllega, u"Allega file alla Scheda di Lavoro corrente."_qs},
                           {&cmdRiconsegnati, u"Visualizza il riepilogo degli impianti non riconsegnati ai Clienti."_qs},
                           {&cmdPrimo, u"Visualizza la prima Scheda di Lavoro in archivio."_qs},
                           {&cmdIndietro, u"Visualizza la Scheda di Lavoro precedente in archivio."_qs},
                           {&cmdAvanti, u"Visualizza la Scheda di Lavoro successiva in archivio."_qs},
                           {&cmdUltimo, u"Visualizza l'ultima Scheda di Lavoro in archivio."_qs},
                           {&cmdNumerazione, u"Imposta il numero iniziale per la numerazione delle Schede di Lavoro."_qs},
                           {&cmdEsporta, u"Esporta le Schede di Lavoro in archivio in un file di Microsoft Excel."_qs},
                           {&cmdGuida, u"Visualizza la pagina della guida sensibile al contesto."_qs},
                           {&cmdEsci, u"Esci da questa schermata di lavoro."_qs},
                           {&btnCodFiscCli, u"Controlla il codice fiscale."_qs},
                           {&chkGaranzia, u"Indica che l'impianto è in garanzia."_qs},
                           {&chkRiconsegnato, u"Indica che l'impianto è stato riconsegnato al Cliente."_qs},
                           {&impData, today},
                           {&impDataAccetta, today},
                           {&impDataRiconsegna, today},
                           {&impOraAccetta, now},
                           {&impOraRiconsegna, now},
                       });
    const auto named = [this](const char* n) { return findControl(QString::fromLatin1(n)); };
    bindHintClear(panInfo, *this,
                  {&panContainer, &panNumFattura, named("shpComandi"), named("bkgImpianto"), named("bkgCliente"),
                   named("bkgLavori"), named("bkgRiconsegna"), named("bkgInfo")});
    created();
}

void TfrmLavoro::FormCreate() { orv::platform::applyProgramFormats(); }

// Every showing starts on a cleared, unsaved sheet.
void TfrmLavoro::FormShow() { PulisciScheda(); }

void TfrmLavoro::FormClose(CloseAction&)
{
    if (orv::platform::ui::Form* menu = orv::kit::startWindow(u"frmAvvio"_qs)) menu->show();
}

void TfrmLavoro::PulisciScheda() { editor_.blank(); }

QString TfrmLavoro::yearFile() const { return trimmed(lblFile.text()); }

void TfrmLavoro::showSheet(const QStringList& values, qint64 position) { editor_.show(values, position); }

void TfrmLavoro::cmdNuovoClick()
{
    using orv::archive::EditorCommand;
    // Read at every New, so a start number just changed applies to this sheet.
    const QString start = orv::kit::readStartNumber(u"lavoro"_qs);
    lblInizio.setText(trimmed(start).isEmpty() ? u"1"_qs : start);
    qint64 sheets = 0;
    if (!editor_.withArchive(EditorCommand::New, [&](orv::platform::ArchiveFile& file) { sheets = file.count(); })) return;
    PulisciScheda();
    const std::optional<qint64> number = orv::jobs::nextNumber(lblInizio.text(), sheets);
    if (!number) {
        editor_.messages().show(editor_.config().accessKinds.of(EditorCommand::New),
                                orv::archive::kArchiveAccessMessage);
        return;
    }
    txtNumScheda.setText(QString::number(*number));
    txtData.setText(orv::platform::dateToStr(orv::platform::today()));
    txtTipoImpianto.setFocus();
}

void TfrmLavoro::cmdSalvaClick()
{
    // The commands are pictures that never take the focus, so an amount typed just before
    // Save has not been normalised by leaving its field: it is, before it is stored.
    txtTotFatturaExit();
    editor_.save();
}

void TfrmLavoro::cmdPrimoClick() { editor_.first(); }
void TfrmLavoro::cmdIndietroClick() { editor_.previous(); }
void TfrmLavoro::cmdAvantiClick() { editor_.next(); }
void TfrmLavoro::cmdUltimoClick() { editor_.last(); }
void TfrmLavoro::cmdEsciClick() { close(); }

void TfrmLavoro::txtTotFatturaExit()
{
    txtTotFattura.setText(NormalizzaImporto(txtTotFattura.text(), orv::archive::AmountKind::Money, 4));
}

void TfrmLavoro::cmdTrovaClick()
{
    runDialog<TfrmTrovaLavoro>(this, [](TfrmTrovaLavoro& f) { f.lblMemory.setText(u"lavoro"_qs); });
}

void TfrmLavoro::cmdImportaClick()
{
    runDialog<TfrmTrovaClienti>(this, [](TfrmTrovaClienti& f) { f.lblMemory.setText(u"lavoro"_qs); });
}

void TfrmLavoro::cmdRiconsegnatiClick() { runDialog<TfrmDaRiconsegnare>(this); }
void TfrmLavoro::cmdEsportaClick() { runDialog<TfrmExpLavoro>(this); }
void TfrmLavoro::cmdAllegaClick() { orv::kit::showAttachmentWindow(*this, u"lavoro"_qs); }
void TfrmLavoro::cmdNumerazioneClick() { orv::kit::showStartNumberWindow(this, u"lavoro"_qs); }
void TfrmLavoro::btnCodFiscCliClick() { orv::kit::openTaxCodeChecker(this, txtCodFiscCli.text()); }

void TfrmLavoro::cmdStampaClick() { orv::jobs::openDocumentWindow(this, orv::jobs::JobSheetDocument::Print); }
void TfrmLavoro::cmdAnteprimaClick() { orv::jobs::openDocumentWindow(this, orv::jobs::JobSheetDocument::Preview); }
void TfrmLavoro::cmdPDFClick() { orv::jobs::openDocumentWindow(this, orv::jobs::JobSheetDocument::Pdf); }

void TfrmLavoro::cmdGuidaClick()
{
    orv::kit::showHelp(this, orv::jobs::kHelpTitle, orv::kit::helpText(orv::jobs::helpParagraphs()));
}

} // namespace orv::jobs
