#include "customers/contratto.h"

#include "kit/dialogs/allegacartella.h"
#include "kit/windowtable.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "kit/dialogs/logo.h"
#include "kit/dialogs/numerazione.h"
#include "platform/ui/openurl.h"
#include "kit/dialogs/settings.h"
#include "archive/helpers.h"
#include "customers/contrattorecord.h"
#include "kit/input.h"
#include "customers/expcontratti.h"
#include "kit/provinces.h"
#include "customers/trovaclienti.h"
#include "customers/trovacontratti.h"
#include "platform/core/formats.h"
#include "platform/core/inifile.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/input.h"
#include "platform/ui/services.h"

namespace orv::customers {
using namespace orv::archive;
using namespace orv::platform::ui;
} // namespace orv::customers

namespace orv::customers {

using namespace orv::platform::ui;
using orv::platform::trimmed;

TfrmContratto* frmContratto = nullptr;

} // namespace orv::customers

namespace orv::customers {

namespace {
ContractDocumentOpener& documentOpener()
{
    static ContractDocumentOpener opener;
    return opener;
}
} // namespace

void setContractDocumentOpener(ContractDocumentOpener opener) { documentOpener() = std::move(opener); }

} // namespace orv::customers

namespace orv::customers {

namespace {
void openDocument(QWidget* owner, orv::customers::ContractDocument document)
{
    if (const auto& open = orv::customers::documentOpener()) open(owner, document);
}
} // namespace

namespace {

const QColor kContainer(0xE4, 0xE8, 0xEE);
const QColor kCaption(0x00, 0x00, 0x8B);
const QColor kHintBand(0x1F, 0x4E, 0x9A);
const QColor kCommand(0x2F, 0x5D, 0x8A);
const QColor kFrame(0xB8, 0xC2, 0xCE);
const FontSpec kFieldFont{u"Verdana"_qs, 12, true, false, false, QColor()};
const FontSpec kCaptionFont{u"Verdana"_qs, 11, true, false, false, kCaption};

const QStringList kQualita = {u"Proprietario"_qs, u"Utente non proprietario"_qs, u"Legale rappresentante"_qs};
const QStringList kPeriodicita = {u"Mensile"_qs,    u"Bimestrale"_qs, u"Trimestrale"_qs,
                                  u"Semestrale"_qs, u"Annuale"_qs,    u"Biennale"_qs};

// The value controls in the order of the Enter chain, at their places, with the caption
// above each. Each takes the width of its record field as its maximum length.
struct Field {
    const char* name;
    Kind kind;
    const char* caption; // empty for the operation lines, which share a heading
    int x, y, w;
    Align align = Align::Left;
};

const Field kFields[] = {
    // The maintaining company.
    {"txtDitta", Kind::Edit, "Ditta manutentrice:", 144, 84, 376},
    {"txtPartitaIva", Kind::Edit, "Partita IVA:", 144, 132, 150},
    {"txtCodFisc", Kind::Edit, "Codice fiscale:", 330, 132, 162},
    {"txtSede", Kind::Edit, "Sede legale:", 16, 180, 244},
    {"txtProvRes", Kind::ComboEdit, "Prov.", 266, 180, 56},
    {"txtCapRes", Kind::Edit, "CAP:", 328, 180, 64},
    {"txtVia", Kind::Edit, "Via e numero civico:", 16, 228, 248},
    {"txtTelUff", Kind::Edit, "Tel. ufficio:", 398, 180, 122},
    {"txtTelCel", Kind::Edit, "Tel. cellulare:", 270, 228, 122},
    {"txtFax", Kind::Edit, "Fax:", 398, 228, 122},
    // The contract.
    {"txtNumContratto", Kind::Edit, "CONTRATTO N.", 644, 84, 190, Align::Center},
    {"txtData", Kind::Edit, "Data stipula:", 844, 84, 150, Align::Center},
    {"txtLuogo", Kind::Edit, "Luogo stipula:", 644, 132, 378},
    // The user.
    {"txtCliente", Kind::Edit, "Cognome e nome o ragione sociale Utente:", 104, 294, 310},
    {"txtComuneCli", Kind::Edit, "Comune di residenza:", 420, 294, 230},
    {"txtProvCli", Kind::ComboEdit, "Prov.", 656, 294, 56},
    {"txtCapCli", Kind::Edit, "CAP:", 718, 294, 70},
    {"txtPartitaIvaCli", Kind::Edit, "Partita IVA:", 794, 294, 150},
    {"txtCodFiscCli", Kind::Edit, "Codice fiscale:", 104, 342, 190},
    {"txtViaCli", Kind::Edit, "Via e numero civico:", 328, 342, 330},
    {"txtTelCli", Kind::Edit, "Tel.", 664, 342, 170},
    {"txtQualitaCli", Kind::ComboEdit, "Qualità:", 840, 342, 210},
    // The installation.
    {"txtTipoImpianto", Kind::Edit, "Tipo impianto:", 104, 390, 200},
    {"txtMarca", Kind::Edit, "Marca e modello:", 310, 390, 240},
    {"txtMatricola", Kind::Edit, "Matricola n.", 556, 390, 170},
    {"txtAlimentazione", Kind::Edit, "Alimentazione:", 732, 390, 170},
    {"txtAnnoCostruz", Kind::Edit, "Anno costruzione:", 908, 390, 142, Align::Center},
    {"txtCaratteristiche", Kind::Edit, "Caratteristiche tecniche:", 104, 438, 560},
    {"txtUbicazione", Kind::Edit, "Ubicazione:", 670, 438, 380},
    // The terms.
    {"txtDurata", Kind::Edit, "Durata contratto:", 104, 486, 170},
    {"txtTotale", Kind::Edit, "Totale corrispettivo:", 280, 486, 150, Align::Right},
    {"txtPeriodicita", Kind::ComboEdit, "Periodicità canone:", 436, 486, 190},
    {"txtImpCanone", Kind::Edit, "Importo canone:", 632, 486, 150, Align::Right},
    {"txtPagamento", Kind::Edit, "Modalità di pagamento:", 788, 486, 262},
    // The operations, four in a row under one heading each.
    {"txtOpInc01", Kind::Edit, "", 124, 534, 214},
    {"txtOpInc02", Kind::Edit, "", 360, 534, 214},
    {"txtOpInc03", Kind::Edit, "", 596, 534, 214},
    {"txtOpInc04", Kind::Edit, "", 832, 534, 214},
    {"txtOpEsc01", Kind::Edit, "", 124, 582, 214},
    {"txtOpEsc02", Kind::Edit, "", 360, 582, 214},
    {"txtOpEsc03", Kind::Edit, "", 596, 582, 214},
    {"txtOpEsc04", Kind::Edit, "", 832, 582, 214},
};

QStringList itemsOf(const QString& combo)
{
    if (combo == u"txtQualitaCli") return kQualita;
    if (combo == u"txtPeriodicita") return kPeriodicita;
    return orv::kit::provinceCodes();
}

int widthOf(const QString& control)
{
    for (const orv::archive::FieldDef& f : TContratto::layout().fields())
        if (f.control == control) return f.width;
    throw std::logic_error(("no record field shown in " + control).toStdString());
}

// A command group of the bar: its white background and its pictures, left to right.
struct Command {
    const char* name;
    int w;
    const char* words; // empty for an arrow or an icon
};
struct Group {
    const char* background;
    int x, w;
    std::vector<Command> commands;
    int gap = 4; // between two commands
};

const Group kBar[] = {
    {"shpNuovo", 8, 306,
     {{"cmdNuovo", 50, "Nuovo"}, {"cmdDuplica", 66, "Duplica"}, {"cmdSalva", 50, "Salva"}, {"cmdTrova", 50, "Trova"},
      {"cmdImporta", 66, "Importa"}}},
    {"shpStampa", 320, 218, {{"cmdAnteprima", 82, "Anteprima"}, {"cmdStampa", 84, "Stampa"}, {"cmdPDF", 36, ""}}},
    {"shpAllega", 544, 66, {{"cmdAllega", 58, "Allega"}}},
    {"shpRecord", 616, 152,
     {{"cmdPrimo", 22, ""}, {"cmdIndietro", 22, ""}, {"lblPosizione", 56, ""}, {"cmdAvanti", 22, ""}, {"cmdUltimo", 22, ""}},
     0},
    {"shpNumerazione", 774, 229,
     {{"cmdNumerazione", 97, "Numerazione"}, {"cmdEsporta", 66, "Esporta"}, {"cmdGuida", 50, "Guida"}}},
    {"shpEsci", 1009, 50, {{"cmdEsci", 42, "Esci"}}},
};

Artwork iconFor(const QString& command)
{
    if (command == u"cmdPDF") return art::icon(art::Icon::Pdf);
    if (command == u"cmdPrimo") return art::icon(art::Icon::ArrowFirst);
    if (command == u"cmdIndietro") return art::icon(art::Icon::ArrowPrev);
    if (command == u"cmdAvanti") return art::icon(art::Icon::ArrowNext);
    return art::icon(art::Icon::ArrowLast);
}

Artwork checkMark()
{
    return art::words(QString(QChar(0x2714)), {u"DejaVu Sans"_qs, 17, true, false, false, QColor(0x2E, 0x7D, 0x32)});
}

const Layout& windowLayout()
{
    static const Layout layout = [] {
        const QString in = u"panContainer"_qs;
        Layout l{panel(in, 0, 0, 1066, 662).centred()};
        l.push_back(rect(u"shpContainer"_qs, 0, 0, 1066, 662, kContainer).radius(6).in(in));
        // The command bar.
        for (const Group& g : kBar) {
            l.push_back(rect(QString::fromLatin1(g.background), g.x, 8, g.w, 44, Qt::white).stroke(kFrame).radius(4).in(in));
            int x = g.x + 4;
            for (const Command& c : g.commands) {
                const QString name = QString::fromLatin1(c.name);
                if (name == u"lblPosizione")
                    l.push_back(label(name, x, 17, c.w, 26, QString()).centre()
                                    .font({u"Verdana"_qs, 12, true, false, false, kCaption}).in(in));
                else if (*c.words)
                    l.push_back(command(name, x, 16, c.w, 28, art::command(QString::fromUtf8(c.words), kCommand)).in(in));
                else
                    l.push_back(command(name, x, 17, c.w, 26, iconFor(name)).in(in));
                x += c.w + g.gap;
            }
        }
        // The three sections: maintainer, contract, and user with installation and terms.
        l.push_back(rect(u"shpSezione01"_qs, 8, 58, 520, 204, Qt::white).stroke(kFrame).radius(4).in(in));
        l.push_back(rect(u"shpSezione02"_qs, 534, 58, 524, 204, Qt::white).stroke(kFrame).radius(4).in(in));
        l.push_back(rect(u"shpSezione03"_qs, 8, 268, 1050, 348, Qt::white).stroke(kFrame).radius(4).in(in));
        l.push_back(command(u"cmdLogo"_qs, 16, 66, 120, 92, art::tile(art::Icon::Logo, QColor(0x15, 0x65, 0xC0))).in(in));
        l.push_back(picture(u"icoContratto"_qs, 546, 72, 84, 84, art::tile(art::Icon::Contract, QColor(0x6A, 0x1B, 0x9A))).in(in));
        l.push_back(picture(u"imgTitolo"_qs, 644, 180, 378, 60,
                            art::words(u"CONTRATTO DI MANUTENZIONE PROGRAMMATA"_qs,
                                       {u"Verdana"_qs, 14, true, false, false, QColor(0x6A, 0x1B, 0x9A)}))
                        .in(in));
        l.push_back(picture(u"icoCliente"_qs, 16, 290, 80, 80, art::tile(art::Icon::Customers, QColor(0x2E, 0x7D, 0x32))).in(in));
        l.push_back(picture(u"icoIngegnere"_qs, 16, 386, 80, 80, art::tile(art::Icon::JobSheet, QColor(0xEF, 0x6C, 0x00))).in(in));
        l.push_back(label(u"lblOpInc"_qs, 104, 516, 940, 16, u"OPERAZIONI PREVISTE E COMPRESE NELLA QUOTA DI CONTRATTO:"_qs)
                        .font(kCaptionFont).in(in));
        l.push_back(label(u"lblOpEsc"_qs, 104, 564, 940, 16, u"OPERAZIONI ESCLUSE DALLA QUOTA DI CONTRATTO:"_qs)
                        .font(kCaptionFont).in(in));
        for (const Field& f : kFields) {
            const QString name = QString::fromLatin1(f.name);
            if (*f.caption) {
                l.push_back(label(u"lbl"_qs + name.mid(3), f.x, f.y - 18, f.w + 40, 16, QString::fromUtf8(f.caption))
                                .font(kCaptionFont).in(in));
            } else {
                // "1." to "4." at the left of each operation line.
                l.push_back(label(u"lblNum"_qs + name.mid(5), f.x - 20, f.y + 4, 18, 16, name.right(1) + u'.')
                                .font(kCaptionFont).in(in));
            }
            Item field = f.kind == Kind::ComboEdit ? combo(name, f.x, f.y, f.w).items(itemsOf(name)) : edit(name, f.x, f.y, f.w);
            field.maxLen(widthOf(name)).align(f.align).font(kFieldFont).highlighted().in(in);
            if (name == u"txtTotale" || name == u"txtImpCanone") field.text = u"0,00"_qs;
            l.push_back(field);
        }
        // Checker and date buttons beside their fields.
        l.push_back(command(u"btnPartitaIva"_qs, 298, 133, 22, 22, checkMark()).in(in));
        l.push_back(command(u"btnCodFisc"_qs, 496, 133, 22, 22, checkMark()).in(in));
        l.push_back(command(u"btnPartitaIvaCli"_qs, 948, 295, 22, 22, checkMark()).in(in));
        l.push_back(command(u"btnCodFiscCli"_qs, 298, 343, 22, 22, checkMark()).in(in));
        l.push_back(command(u"btnData"_qs, 1000, 85, 22, 22, art::icon(art::Icon::Schedule)).in(in));
        // The hint line.
        l.push_back(rect(u"bkgInfo"_qs, 8, 624, 1050, 30, kHintBand).radius(4).in(in));
        l.push_back(label(u"panInfo"_qs, 18, 629, 1030, 20, u"Pronto per stampare una nuova tessera..."_qs)
                        .font({u"Tahoma"_qs, 12, false, false, false, Qt::white}).in(in));
        // Values the contract carries without showing them.
        for (const char* n : {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"})
            l.push_back(label(QString::fromLatin1(n), 0, 0, 10, 10, QString()).hidden().in(in));
        l.push_back(label(u"lblInizio"_qs, 0, 0, 10, 10, u"1"_qs).hidden().in(in));
        return l;
    }();
    return layout;
}

const QStringList& helpParagraphs()
{
    static const QStringList p = {
        u"L'ambiente per la gestione dei contratti di manutenzione programmata mette a disposizione un modello di "
        u"contratto completo: i dati della Ditta manutentrice e dell'Utente, il tipo di impianto con marca e modello, "
        u"numero di matricola, alimentazione, anno di costruzione, ubicazione e caratteristiche tecniche, le "
        u"operazioni comprese e quelle escluse dalla quota di contratto, le responsabilità delle parti, le condizioni "
        u"di recesso, la durata, il totale del corrispettivo, la periodicità e l'importo del canone e la modalità di "
        u"pagamento. Il contratto stampato riporta inoltre la dichiarazione di consenso al trattamento dei dati "
        u"personali, da far firmare al Cliente."_qs,
        u"I dati personalizzabili del contratto di manutenzione occupano una sola pagina di un foglio in formato A4. "
        u"Le condizioni generali, uguali per tutti i Clienti, vanno stampate sul retro dello stesso foglio: è "
        u"consigliabile stamparle in anticipo su un certo numero di fogli."_qs,
        u"I dati e il logo della Ditta manutentrice vanno inseriti una sola volta: i dati vengono memorizzati "
        u"automaticamente all'uscita dall'ambiente dei contratti e riproposti alla riapertura. I dati del Cliente e "
        u"dell'impianto possono essere digitati oppure importati dall'archivio anagrafico con il pulsante Importa."_qs,
        u"La numerazione consecutiva dei contratti di manutenzione è gestita direttamente dal software. Premendo il "
        u"pulsante Nuovo, l'applicazione attribuisce al contratto il numero successivo al totale dei contratti già "
        u"archiviati. La funzione Numerazione permette di far partire la numerazione da un numero più alto."_qs,
        u"Per inserire un contratto in archivio, fare clic sul pulsante Nuovo, compilare i campi e premere Salva. Per "
        u"modificare un contratto già archiviato, visualizzarlo con le frecce di scorrimento o con la funzione Trova, "
        u"apportare le modifiche e premere di nuovo Salva."_qs,
        u"Il pulsante Duplica risulta utile quando bisogna rinnovare un contratto relativo ad un Cliente. È "
        u"sufficiente visualizzare il contratto già archiviato, premere Duplica, modificare i dati che cambiano, "
        u"indicare il numero del nuovo contratto e premere Salva."_qs,
        u"Per trovare le schede dei contratti in archivio, fare clic sul pulsante Trova: è possibile combinare uno o "
        u"più filtri di ricerca, ad esempio per trovare tutti i contratti di un Cliente oppure quelli relativi a una "
        u"certa marca o a un certo modello di impianto. La funzione Allega permette di abbinare a ciascun contratto "
        u"fino a tre file di qualsiasi genere, ad esempio la copia scansionata del contratto firmato."_qs,
        u"Ciascun contratto di manutenzione può essere stampato direttamente su carta o visualizzato in anteprima. Le "
        u"condizioni generali da stampare sul retro del foglio si visualizzano con il pulsante recante l'icona PDF. "
        u"L'intero archivio dei contratti può essere esportato in un file di Microsoft Excel."_qs,
    };
    return p;
}

} // namespace

TfrmContratto::TfrmContratto(QWidget* owner)
    : Form(owner,
           {u"frmContratto"_qs, u" Orvanta 4.0 - Gestione contratti di manutenzione programmata"_qs, 1086, 682,
            Border::Sizeable, Placement::Maximized, QColor(0x9F, 0xB1, 0xC8), Qt::white},
           windowLayout()),
      editor_(orv::customers::contractEditorConfig(), view_, orv::kit::boxMessages())
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };

    const std::pair<Control*, void (TfrmContratto::*)()> clicks[] = {
        {&cmdNuovo, &TfrmContratto::cmdNuovoClick},           {&cmdDuplica, &TfrmContratto::cmdDuplicaClick},
        {&cmdSalva, &TfrmContratto::cmdSalvaClick},           {&cmdTrova, &TfrmContratto::cmdTrovaClick},
        {&cmdImporta, &TfrmContratto::cmdImportaClick},       {&cmdAnteprima, &TfrmContratto::cmdAnteprimaClick},
        {&cmdStampa, &TfrmContratto::cmdStampaClick},         {&cmdPDF, &TfrmContratto::cmdPDFClick},
        {&cmdAllega, &TfrmContratto::cmdAllegaClick},         {&cmdPrimo, &TfrmContratto::cmdPrimoClick},
        {&cmdIndietro, &TfrmContratto::cmdIndietroClick},     {&cmdAvanti, &TfrmContratto::cmdAvantiClick},
        {&cmdUltimo, &TfrmContratto::cmdUltimoClick},         {&cmdNumerazione, &TfrmContratto::cmdNumerazioneClick},
        {&cmdEsporta, &TfrmContratto::cmdEsportaClick},       {&cmdGuida, &TfrmContratto::cmdGuidaClick},
        {&cmdEsci, &TfrmContratto::cmdEsciClick},             {&cmdLogo, &TfrmContratto::cmdLogoClick},
        {&btnPartitaIva, &TfrmContratto::btnPartitaIvaClick}, {&btnCodFisc, &TfrmContratto::btnCodFiscClick},
        {&btnPartitaIvaCli, &TfrmContratto::btnPartitaIvaCliClick},
        {&btnCodFiscCli, &TfrmContratto::btnCodFiscCliClick}, {&btnData, &TfrmContratto::btnDataClick},
    };
    for (const auto& [c, handler] : clicks) c->onClick = [this, h = handler] { (this->*h)(); };

    // The key filters come before the Enter chain, which hands every other key on to them.
    for (Edit* vat : {&txtPartitaIva, &txtPartitaIvaCli})
        vat->onKeyDown = [](Word& key, QChar& keyChar, ShiftState) { acceptOnly(key, keyChar); };
    for (Edit* amount : {&txtTotale, &txtImpCanone})
        amount->onKeyDown = [](Word& key, QChar& keyChar, ShiftState) { acceptOnly(key, keyChar, u","); };
    txtTotale.onExit = [this] { txtTotaleExit(); };
    txtImpCanone.onExit = [this] { txtImpCanoneExit(); };
    chainEnter({&txtDitta,        &txtPartitaIva,      &txtCodFisc,    &txtSede,          &txtProvRes,
                &txtCapRes,       &txtVia,             &txtTelUff,     &txtTelCel,        &txtFax,
                &txtNumContratto, &txtData,            &txtLuogo,      &txtCliente,       &txtComuneCli,
                &txtProvCli,      &txtCapCli,          &txtPartitaIvaCli, &txtCodFiscCli, &txtViaCli,
                &txtTelCli,       &txtQualitaCli,      &txtTipoImpianto, &txtMarca,       &txtMatricola,
                &txtAlimentazione, &txtAnnoCostruz,    &txtCaratteristiche, &txtUbicazione, &txtDurata,
                &txtTotale,       &txtPeriodicita,     &txtImpCanone,  &txtPagamento,     &txtOpInc01,
                &txtOpInc02,      &txtOpInc03,         &txtOpInc04,    &txtOpEsc01,       &txtOpEsc02,
                &txtOpEsc03,      &txtOpEsc04},
               true);

    // Tax codes and provinces become upper case, without blanks, as they are typed.
    orv::kit::tidyWhileTyping(txtCodFisc, true, true);
    orv::kit::tidyWhileTyping(txtCodFiscCli, true, true);
    orv::kit::tidyWhileTyping(txtProvRes, true, true);
    orv::kit::tidyWhileTyping(txtProvCli, true, true);
    for (ComboEdit* combo : {&txtProvRes, &txtProvCli, &txtQualitaCli, &txtPeriodicita})
        combo->onCanFocus = [combo](bool&) { combo->setItemIndex(-1); };

    bindHints(panInfo, {
                           {&cmdNuovo, u"Predispone la schermata per l'emissione di un nuovo contratto."_qs},
                           {&cmdDuplica, u"Prepara la schermata per la registrazione di un nuovo contratto duplicando i "
                                         u"dati correnti."_qs},
                           {&cmdSalva, u"Salva o aggiorna il contratto corrente."_qs},
                           {&cmdTrova, u"Trova un contratto in archivio."_qs},
                           {&cmdImporta, u"Importa i dati del Cliente e dell'impianto dall'archivio anagrafico."_qs},
                           {&cmdAnteprima, u"Visualizza l'anteprima di stampa del contratto corrente."_qs},
                           {&cmdStampa, u"Stampa il contratto corrente."_qs},
                           {&cmdPDF, u"Visualizza le clausole da stampare a tergo del contratto."_qs},
                           {&cmdAllega, u"Allega file al contratto corrente."_qs},
                           {&cmdPrimo, u"Visualizza il primo contratto in archivio."_qs},
                           {&cmdIndietro, u"Visualizza il contratto precedente in archivio."_qs},
                           {&cmdAvanti, u"Visualizza il contratto successivo in archivio."_qs},
                           {&cmdUltimo, u"Visualizza l'ultimo contratto in archivio."_qs},
                           {&cmdNumerazione, u"Imposta il numero iniziale per la numerazione dei contratti."_qs},
                           {&cmdEsporta, u"Esporta le schede in archivio in un file di Microsoft Excel."_qs},
                           {&cmdGuida, u"Visualizza la pagina della guida in linea sensibile al contesto."_qs},
                           {&cmdEsci, u"Esci dalla schermata di lavoro corrente."_qs},
                           {&cmdLogo, u"Carica il logo della Ditta manutentrice."_qs},
                           {&btnPartitaIva, u"Controlla il numero di partita IVA."_qs},
                           {&btnPartitaIvaCli, u"Controlla il numero di partita IVA."_qs},
                           {&btnCodFisc, u"Controlla il codice fiscale."_qs},
                           {&btnCodFiscCli, u"Controlla il codice fiscale."_qs},
                           {&btnData, u"Inserisci la data corrente."_qs},
                       });
    const auto named = [this](const char* n) { return findControl(QString::fromLatin1(n)); };
    bindHintClear(panInfo, *this,
                  {&panContainer, named("shpContainer"), named("shpSezione01"), named("shpSezione02"),
                   named("shpSezione03"), named("shpStampa"), named("shpNuovo"), named("shpAllega"), named("shpRecord"),
                   named("shpNumerazione"), named("shpEsci")});
    created();
}

void TfrmContratto::FormCreate() { orv::platform::applyProgramFormats(); }

void TfrmContratto::PulisciScheda()
{
    editor_.blank();
    txtData.setText(orv::platform::dateToStr(orv::platform::today()));
}

void TfrmContratto::FormShow()
{
    orv::customers::loadMaintainer(view_);
    txtNumContratto.setText(QString());
    PulisciScheda();
}

// The maintainer data on screen are kept for the next run, whatever contract is shown.
// A settings file that cannot be written is reported; the window closes all the same.
void TfrmContratto::FormClose(CloseAction&)
{
    try {
        orv::customers::storeMaintainer(view_);
    } catch (const orv::platform::IniFileError& e) {
        errorBox(orv::kit::settingsWriteFailure(u"Attenzione: non è stato possibile salvare i dati della Ditta "
                                                u"manutentrice nel file delle impostazioni \"Orvanta.ini\"."_qs, e));
    }
    if (orv::platform::ui::Form* menu = orv::kit::startWindow(u"frmAvvio"_qs)) menu->show();
}

void TfrmContratto::cmdNuovoClick()
{
    lblInizio.setText(orv::kit::readStartNumber(u"contratti"_qs));
    if (trimmed(lblInizio.text()).isEmpty()) lblInizio.setText(u"1"_qs);
    editor_.withArchive(orv::archive::EditorCommand::New, [this](orv::platform::ArchiveFile& file) {
        const qint64 stored = file.count();
        PulisciScheda();
        // A start number that is not a whole number fails the command with the card blank
        // and the number as it was.
        const std::optional<QString> number = orv::customers::proposedContractNumber(lblInizio.text(), stored);
        if (!number) throw orv::platform::ArchiveError("the start number is not a whole number");
        txtNumContratto.setText(*number);
        txtData.setText(orv::platform::dateToStr(orv::platform::today()));
        txtCliente.setFocus();
    });
}

void TfrmContratto::cmdDuplicaClick() { editor_.duplicate(); }
void TfrmContratto::cmdSalvaClick() { editor_.save(); }
void TfrmContratto::cmdPrimoClick() { editor_.first(); }
void TfrmContratto::cmdIndietroClick() { editor_.previous(); }
void TfrmContratto::cmdAvantiClick() { editor_.next(); }
void TfrmContratto::cmdUltimoClick() { editor_.last(); }
void TfrmContratto::cmdEsciClick() { close(); }

void TfrmContratto::showContract(const QStringList& values, qint64 position) { editor_.show(values, position); }

void TfrmContratto::cmdTrovaClick()
{
    runDialog<TfrmTrovaContratti>(this, [](TfrmTrovaContratti& f) { f.lblMemory.setText(u"contratti"_qs); });
}

void TfrmContratto::cmdImportaClick()
{
    runDialog<TfrmTrovaClienti>(this, [](TfrmTrovaClienti& f) { f.lblMemory.setText(u"contratto"_qs); });
}

void TfrmContratto::cmdEsportaClick() { runDialog<TfrmExpContratti>(this); }
void TfrmContratto::cmdAllegaClick() { orv::kit::showAttachmentWindow(*this, u"contratti"_qs); }
void TfrmContratto::cmdNumerazioneClick() { orv::kit::showStartNumberWindow(this, u"contratti"_qs); }
void TfrmContratto::cmdLogoClick() { orv::kit::showLogoWindow(this); }

void TfrmContratto::cmdStampaClick() { openDocument(this, orv::customers::ContractDocument::Print); }
void TfrmContratto::cmdAnteprimaClick() { openDocument(this, orv::customers::ContractDocument::Preview); }

// The clauses sheet delivered next to the program; the shell reports a missing file.
void TfrmContratto::cmdPDFClick() { TMisc::Open(u'"' + orv::platform::programFile(u"Clausole.pdf"_qs) + u'"'); }

void TfrmContratto::cmdGuidaClick()
{
    orv::kit::showHelp(this, u"Gestione contratti di manutenzione programmata."_qs, orv::kit::helpText(helpParagraphs()));
}

void TfrmContratto::btnPartitaIvaClick() { orv::kit::openVatChecker(this, txtPartitaIva.text()); }
void TfrmContratto::btnPartitaIvaCliClick() { orv::kit::openVatChecker(this, txtPartitaIvaCli.text()); }
void TfrmContratto::btnCodFiscClick() { orv::kit::openTaxCodeChecker(this, txtCodFisc.text()); }
void TfrmContratto::btnCodFiscCliClick() { orv::kit::openTaxCodeChecker(this, txtCodFiscCli.text()); }
void TfrmContratto::btnDataClick() { txtData.setText(orv::platform::dateToStr(orv::platform::today())); }

void TfrmContratto::txtTotaleExit() { txtTotale.setText(NormalizzaImporto(txtTotale.text(), orv::archive::AmountKind::Money, 4)); }

void TfrmContratto::txtImpCanoneExit()
{
    txtImpCanone.setText(NormalizzaImporto(txtImpCanone.text(), orv::archive::AmountKind::Money, 4));
}

} // namespace orv::customers
