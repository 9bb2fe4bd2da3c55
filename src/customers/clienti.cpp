#include "customers/clienti.h"

#include "kit/dialogs/allegacartella.h"
#include "kit/windowtable.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "platform/ui/openurl.h"
#include "customers/calendario.h"
#include "customers/cliente.h"
#include "kit/editorlayout.h"
#include "kit/input.h"
#include "customers/expclienti.h"
#include "customers/listscadenzario.h"
#include "kit/provinces.h"
#include "customers/ricontatta.h"
#include "customers/trovaclienti.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/input.h"
#include "platform/ui/services.h"

namespace orv::customers {
using namespace orv::platform::ui;
} // namespace orv::customers

namespace orv::customers {

using namespace orv::platform::ui;
using orv::platform::trimmed;

TfrmClienti* frmClienti = nullptr;

namespace {

const QColor kCaption = orv::kit::kEditorCaption;
const QColor kCrimson(0xDC, 0x14, 0x3C);
const QColor kFrame = orv::kit::kEditorFrame;
const FontSpec kFieldFont{u"Verdana"_qs, 12, true, false, false, QColor()};

// The card's fields at their designed places, with the caption above each. An edit takes
// the width of its record field as its maximum length; the combo edits take none.
struct Field {
    const char* name;
    Kind kind;
    const char* caption;
    int x, y, w;
    bool centred = false;
    bool crimson = false; // the two maintenance captions
};

const Field kFields[] = {
    {"txtCliente", Kind::Edit, "Cognome e nome o ragione sociale:", 136, 42, 281},
    {"txtDataNasc", Kind::Edit, "Data di nascita:", 424, 42, 113, true},
    {"txtComuneNasc", Kind::Edit, "Comune di nascita:", 544, 42, 177},
    {"txtProvNasc", Kind::ComboEdit, "Prov.", 728, 42, 54},
    {"txtSesso", Kind::Edit, "Sesso:", 136, 90, 57, true},
    {"txtRecapito", Kind::Edit, "Recapito preferenziale:", 200, 90, 217},
    {"txtIndirizzoRes", Kind::Edit, "Residente in Via / Piazza e numero civico:", 424, 90, 297},
    {"txtProvRes", Kind::ComboEdit, "Prov.", 728, 90, 54},
    {"txtComuneRes", Kind::Edit, "Comune di residenza:", 136, 138, 209},
    {"txtCapRes", Kind::Edit, "CAP:", 352, 138, 65},
    {"txtEstremi", Kind::Edit, "Modalità di pagamento:", 424, 138, 358},
    {"txtTelCasa", Kind::Edit, "Tel. casa:", 136, 202, 212},
    {"txtTelUff", Kind::Edit, "Tel. ufficio:", 354, 202, 212},
    {"txtTelCel", Kind::Edit, "Tel. cellulare:", 572, 202, 212},
    {"txtFax", Kind::Edit, "Fax:", 136, 250, 212},
    {"txtEmail", Kind::Edit, "E-mail:", 404, 250, 351},
    {"txtCodFisc", Kind::Edit, "Codice fiscale:", 136, 314, 212},
    {"txtCarta", Kind::Edit, "Carta di credito n.", 392, 314, 249},
    {"txtScadeCarta", Kind::Edit, "Scadenza:", 678, 314, 105},
    {"txtPartitaIva", Kind::Edit, "Partita IVA:", 136, 362, 212},
    {"txtIban", Kind::Edit, "IBAN:", 392, 362, 361},
    {"txtTipoImpianto", Kind::Edit, "Tipo impianto:", 136, 426, 150},
    {"txtMarca", Kind::Edit, "Marca e modello:", 295, 426, 212},
    {"txtAnnoCostruz", Kind::Edit, "Anno costruzione:", 516, 426, 120},
    {"txtMatricola", Kind::Edit, "Matricola n.", 645, 426, 138},
    {"txtAlimentazione", Kind::Edit, "Alimentazione:", 136, 474, 150},
    {"txtUbicazione", Kind::Edit, "Ubicazione:", 295, 474, 212},
    {"txtCaratteristiche", Kind::Edit, "Caratteristiche tecniche:", 516, 474, 267},
    {"txtQuestioni", Kind::Edit, "Questioni in sospeso:", 136, 538, 294},
    {"txtDataScade", Kind::Edit, "Data scadenza:", 514, 538, 120, true, true},
    {"txtPreavviso", Kind::Edit, "Giorni di preavviso:", 643, 538, 140, true, true},
    {"txtNote", Kind::Edit, "Note:", 136, 602, 488},
};

const orv::kit::EditorSection kSections[] = {
    {16, 154, art::Icon::Customers, QColor(0x2E, 0x7D, 0x32)},
    {176, 105, art::Icon::Mail, QColor(0x15, 0x65, 0xC0)},
    {288, 105, art::Icon::Key, QColor(0x6A, 0x1B, 0x9A)},
    {400, 105, art::Icon::JobSheet, QColor(0xEF, 0x6C, 0x00)},
    {512, 121, art::Icon::Schedule, QColor(0xC6, 0x28, 0x28)},
};

const orv::kit::EditorCommand kCommands[] = {
    {"cmdNuovo", 30, "Nuovo"},           {"cmdDuplica", 69, "Duplica"},
    {"cmdFile", 108, "Allega file"},     {"cmdSalva", 147, "Salva"},
    {"cmdTrova", 186, "Trova"},          {"cmdAnteprima", 225, "Anteprima"},
    {"cmdStampa", 264, "Stampa"},        {"cmdPDF", 303, "Crea PDF"},
    {"cmdRicontatta", 342, "Da ricontattare"}, {"cmdEsporta", 381, "Esporta archivio"},
    {"cmdGuida", 420, "Guida"},          {"cmdEsci", 459, "Esci"},
};

Artwork checkMark()
{
    return art::words(QString(QChar(0x2714)), {u"DejaVu Sans"_qs, 17, true, false, false, QColor(0x2E, 0x7D, 0x32)});
}

int widthOf(const QString& control)
{
    for (const orv::archive::FieldDef& f : TCliente::layout().fields())
        if (f.control == control) return f.width;
    throw std::logic_error(("no record field shown in " + control).toStdString());
}

const Layout& windowLayout()
{
    static const Layout layout = [] {
        const QString in = u"panContainer"_qs;
        Layout l{panel(in, 0, 0, 995, 692).centred()};
        orv::kit::addEditorSections(l, in, kSections);
        for (const Field& f : kFields) {
            const QString name = QString::fromLatin1(f.name);
            l.push_back(label(u"lbl"_qs + name.mid(3), f.x, f.y - 18, f.w + 40, 16, QString::fromUtf8(f.caption))
                            .font({u"Verdana"_qs, 11, true, false, false, f.crimson ? kCrimson : kCaption}).in(in));
            Item field = f.kind == Kind::ComboEdit ? combo(name, f.x, f.y, f.w).items(orv::kit::provinceCodes())
                                                   : edit(name, f.x, f.y, f.w).maxLen(widthOf(name));
            field.in(in).font(kFieldFont).highlighted();
            if (f.centred) field.centre();
            if (name == u"txtDataScade") field.readOnly();
            if (name == u"txtPreavviso") field.text = u"0"_qs;
            l.push_back(field);
        }
        l.push_back(check(u"chkRicontatta"_qs, 640, 600, 137, 24, u"Da ricontattare"_qs)
                        .font(kFieldFont).in(in));
        // Decoration of the contact and maintenance sections.
        l.push_back(picture(u"imgBusta"_qs, 362, 244, 34, 30, art::icon(art::Icon::Mail)).in(in));
        l.push_back(picture(u"imgAttrezzi"_qs, 452, 530, 40, 36, art::icon(art::Icon::JobSheet)).in(in));
        // Picture buttons beside their fields.
        l.push_back(command(u"btnEmail"_qs, 760, 251, 22, 22, art::icon(art::Icon::Mail)).in(in));
        l.push_back(command(u"btnCodFisc"_qs, 354, 315, 22, 22, checkMark()).in(in));
        l.push_back(command(u"btnCarta"_qs, 647, 315, 22, 22, checkMark()).in(in));
        l.push_back(command(u"btnPartitaIva"_qs, 354, 363, 22, 22, checkMark()).in(in));
        l.push_back(command(u"btnIban"_qs, 758, 363, 22, 22, checkMark()).in(in));
        // The command column.
        orv::kit::addCommandColumn(l, in, kCommands);
        // The maintenance box.
        l.push_back(rect(u"shpScadenze"_qs, 800, 510, 177, 123, Qt::white).stroke(kFrame).radius(4).in(in));
        l.push_back(button(u"btnScadenzario"_qs, 808, 518, 161, 30, u"Visualizza scadenzario"_qs).in(in));
        l.push_back(picture(u"imgOrologio"_qs, 868, 553, 40, 36, art::icon(art::Icon::Schedule, kCrimson)).in(in));
        l.push_back(button(u"btnInviaAvviso"_qs, 808, 594, 161, 30, u"Invia avviso scadenza"_qs).in(in));
        orv::kit::addNavigationAndHint(l, in, u"Pronto per archiviare una nuova scheda..."_qs);
        // Values the card carries without showing them.
        for (const char* n : {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"})
            l.push_back(label(QString::fromLatin1(n), 0, 0, 10, 10, QString()).hidden().in(in));
        return l;
    }();
    return layout;
}

const QStringList& helpParagraphs()
{
    static const QStringList p = {
        u"L'archivio dei Clienti e degli impianti è utile per velocizzare la compilazione dei documenti di "
        u"trasporto, dei preventivi, dei contratti di manutenzione e delle schede di lavoro, perché i dati "
        u"anagrafici del Cliente possono essere importati direttamente da questo archivio. L'archivio funziona "
        u"inoltre come una vera e propria rubrica: consente di inviare per e-mail l'avviso di scadenza della "
        u"manutenzione e di controllare il codice fiscale, la partita IVA, il numero di carta di credito e l'IBAN."_qs,
        u"Nell'archivio anagrafico è possibile annotare cognome e nome o ragione sociale, data, comune e "
        u"provincia di nascita, sesso, recapito preferenziale, indirizzo e comune di residenza, modalità di "
        u"pagamento, numeri di telefono e di fax, indirizzo e-mail, codice fiscale, partita IVA, numero e "
        u"scadenza della carta di credito e IBAN. Ogni altra informazione può essere annotata nel campo Note."_qs,
        u"La scheda del Cliente consente, inoltre, di registrare i dati tecnici dell'impianto (tipo, marca e "
        u"modello, anno di costruzione, matricola, alimentazione, ubicazione e caratteristiche tecniche) e le "
        u"eventuali questioni in sospeso. Spuntando la casella Da ricontattare, la scheda viene inserita "
        u"nell'elenco dei Clienti da ricontattare, visualizzato dal pulsante omonimo."_qs,
        u"Per inserire una scheda in archivio, fare clic sul pulsante Nuovo, compilare i campi e premere Salva. "
        u"Per modificare una scheda già presente in archivio, visualizzarla con le frecce di scorrimento o con "
        u"la funzione Trova, apportare le modifiche e premere di nuovo Salva."_qs,
        u"Quando si compila la scheda di un Cliente bisogna indicare la data di scadenza della prossima "
        u"manutenzione e i giorni di preavviso con cui si desidera esserne avvisati. Il pulsante Visualizza "
        u"scadenzario mostra l'elenco delle manutenzioni in scadenza, che può anche essere stampato."_qs,
        u"Al Cliente può essere inviata una e-mail con l'avviso della manutenzione in scadenza, premendo il "
        u"pulsante Invia avviso scadenza. Il programma di posta elettronica si apre con il testo seguente: "
        u"Gentilissimo Sig. XYZ, con la presente le ricordiamo che il suo impianto XYZ, con matricola n. XYZ, "
        u"deve essere sottoposto a manutenzione entro la data del GG/MM/AAAA. Pertanto, la preghiamo di "
        u"contattarci il prima possibile per definire tempi e modalità di intervento da parte del nostro "
        u"personale tecnico. In attesa di un suo riscontro, porgiamo cordiali saluti. Prima dell'invio il testo "
        u"può essere modificato a piacere nel programma di posta elettronica."_qs,
        u"Il pulsante Duplica è utile quando un Cliente possiede più impianti, perché per ciascun impianto "
        u"occorre una scheda distinta: visualizzare la scheda già salvata, premere Duplica, inserire i dati del "
        u"nuovo impianto e premere Salva."_qs,
        u"Per trovare le schede dei Clienti in archivio, fare clic sul pulsante Trova: è possibile utilizzare "
        u"uno o più filtri di ricerca contemporaneamente."_qs,
        u"Appositi pulsanti consentono di controllare la correttezza del codice fiscale, della partita IVA (con "
        u"l'indicazione dell'ufficio che l'ha rilasciata), del numero di carta di credito e dell'IBAN. Il "
        u"pulsante accanto al campo E-mail apre il programma di posta elettronica con l'indirizzo del "
        u"destinatario già compilato."_qs,
        u"La funzione Allega file è usata per abbinare alla scheda di ciascun Cliente fino a tre file di "
        u"qualsiasi genere, ciascuno con una propria descrizione. I file allegati si aprono con il pulsante Apri."_qs,
        u"La scheda di ogni singolo Cliente può essere stampata su carta o salvata in formato PDF, e l'intero "
        u"archivio può essere esportato in un file di Microsoft Excel."_qs,
    };
    return p;
}

} // namespace

TfrmClienti::TfrmClienti(QWidget* owner)
    : Form(owner,
           {u"frmClienti"_qs, u" Orvanta 4.0 - Archivio Clienti e impianti"_qs, 1016, 713, Border::Sizeable,
            Placement::Maximized, QColor(0x9F, 0xB1, 0xC8), Qt::white},
           windowLayout()),
      editor_(orv::customers::editorConfig(), view_, orv::kit::boxMessages())
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };

    const std::pair<Control*, void (TfrmClienti::*)()> clicks[] = {
        {&cmdNuovo, &TfrmClienti::cmdNuovoClick},         {&cmdDuplica, &TfrmClienti::cmdDuplicaClick},
        {&cmdFile, &TfrmClienti::cmdFileClick},           {&cmdSalva, &TfrmClienti::cmdSalvaClick},
        {&cmdTrova, &TfrmClienti::cmdTrovaClick},         {&cmdAnteprima, &TfrmClienti::cmdAnteprimaClick},
        {&cmdStampa, &TfrmClienti::cmdStampaClick},       {&cmdPDF, &TfrmClienti::cmdPDFClick},
        {&cmdRicontatta, &TfrmClienti::cmdRicontattaClick}, {&cmdEsporta, &TfrmClienti::cmdEsportaClick},
        {&cmdGuida, &TfrmClienti::cmdGuidaClick},         {&cmdEsci, &TfrmClienti::cmdEsciClick},
        {&cmdPrimo, &TfrmClienti::cmdPrimoClick},         {&cmdIndietro, &TfrmClienti::cmdIndietroClick},
        {&cmdAvanti, &TfrmClienti::cmdAvantiClick},       {&cmdUltimo, &TfrmClienti::cmdUltimoClick},
        {&btnScadenzario, &TfrmClienti::btnScadenzarioClick}, {&btnInviaAvviso, &TfrmClienti::btnInviaAvvisoClick},
        {&btnEmail, &TfrmClienti::btnEmailClick},         {&btnCodFisc, &TfrmClienti::btnCodFiscClick},
        {&btnPartitaIva, &TfrmClienti::btnPartitaIvaClick}, {&btnCarta, &TfrmClienti::btnCartaClick},
        {&btnIban, &TfrmClienti::btnIbanClick},
    };
    for (const auto& [c, handler] : clicks) c->onClick = [this, h = handler] { (this->*h)(); };

    // Enter walks the card to the due date, where it opens the date picker; the notice
    // days lead on to the notes and back to the name. The number fields filter first.
    for (Edit* digits : {&txtCarta, &txtPartitaIva, &txtPreavviso})
        digits->onKeyDown = [](Word& key, QChar& keyChar, ShiftState) { acceptOnly(key, keyChar); };
    chainEnter({&txtCliente, &txtDataNasc, &txtComuneNasc, &txtProvNasc, &txtSesso, &txtRecapito, &txtIndirizzoRes,
                &txtProvRes, &txtComuneRes, &txtCapRes, &txtEstremi, &txtTelCasa, &txtTelUff, &txtTelCel, &txtFax,
                &txtEmail, &txtCodFisc, &txtCarta, &txtScadeCarta, &txtPartitaIva, &txtIban, &txtTipoImpianto,
                &txtMarca, &txtAnnoCostruz, &txtMatricola, &txtAlimentazione, &txtUbicazione, &txtCaratteristiche,
                &txtQuestioni, &txtDataScade},
               false);
    chainEnter({&txtPreavviso, &txtNote, &txtCliente}, false);
    txtDataScade.onKeyDown = [this](Word& k, QChar& c, ShiftState s) { txtDataScadeKeyDown(k, c, s); };

    // Codes are upper-cased as they are typed; the e-mail address loses its blanks.
    orv::kit::tidyWhileTyping(txtCodFisc, true, true);
    orv::kit::tidyWhileTyping(txtIban, true, true);
    orv::kit::tidyWhileTyping(txtProvNasc, true, true);
    orv::kit::tidyWhileTyping(txtProvRes, true, true);
    orv::kit::tidyWhileTyping(txtEmail, false, true);
    orv::kit::upperOnKeyUp(txtCapRes);
    orv::kit::upperOnKeyUp(txtSesso);
    txtEmail.onExit = [this] { txtEmail.setText(trimmed(txtEmail.text())); };
    for (ComboEdit* province : {&txtProvNasc, &txtProvRes}) {
        province->onExit = [province] { province->setText(orv::platform::upperAZ(trimmed(province->text()))); };
        province->onCanFocus = [province](bool&) { province->setItemIndex(-1); };
    }

    bindHints(panInfo, {
                          {&cmdNuovo, u"Prepara la schermata per la registrazione di una nuova scheda."_qs},
                          {&cmdDuplica, u"Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."_qs},
                          {&cmdFile, u"Allega file alla scheda corrente."_qs},
                          {&cmdSalva, u"Salva la scheda corrente in archivio."_qs},
                          {&cmdTrova, u"Trova una scheda in archivio."_qs},
                          {&cmdAnteprima, u"Visualizza l'anteprima di stampa."_qs},
                          {&cmdStampa, u"Stampa la scheda corrente."_qs},
                          {&cmdPDF, u"Esporta la scheda in formato PDF."_qs},
                          {&cmdRicontatta, u"Visualizza l'elenco dei Clienti da ricontattare."_qs},
                          {&cmdEsporta, u"Esporta le schede in archivio in un file di Microsoft Excel."_qs},
                          {&cmdGuida, u"Visualizza la pagina della guida sensibile al contesto."_qs},
                          {&cmdEsci, u"Esci da questa schermata di lavoro."_qs},
                          {&cmdPrimo, u"Visualizza la prima scheda in archivio."_qs},
                          {&cmdIndietro, u"Visualizza la scheda precedente in archivio."_qs},
                          {&cmdAvanti, u"Visualizza la scheda successiva in archivio."_qs},
                          {&cmdUltimo, u"Visualizza l'ultima scheda in archivio."_qs},
                          {&btnScadenzario, u"Visualizza il riepilogo delle manutenzioni in scadenza."_qs},
                          {&btnInviaAvviso, u"Invia e-mail con avviso di scadenza."_qs},
                          {&btnEmail, u"Invia una e-mail all'indirizzo indicato."_qs},
                          {&btnCodFisc, u"Controlla il codice fiscale."_qs},
                          {&btnPartitaIva, u"Controlla il numero di partita IVA."_qs},
                          {&btnCarta, u"Controlla il numero di carta di credito."_qs},
                          {&btnIban, u"Controlla l'IBAN."_qs},
                          {&chkRicontatta, u"Annota che il Cliente è da ricontattare per questioni in sospeso."_qs},
                      });
    const auto named = [this](const char* n) { return findControl(QString::fromLatin1(n)); };
    orv::kit::bindEditorHintClear(panInfo, *this, int(std::size(kSections)), {&panContainer, named("shpScadenze")});
    created();
}

void TfrmClienti::FormCreate() { orv::platform::applyProgramFormats(); }

void TfrmClienti::FormShow() { editor_.blank(); }

void TfrmClienti::FormClose(CloseAction&)
{
    if (orv::platform::ui::Form* menu = orv::kit::startWindow(u"frmAvvio"_qs)) menu->show();
}

void TfrmClienti::cmdNuovoClick() { editor_.blank(); }
void TfrmClienti::cmdDuplicaClick() { editor_.duplicate(); }
void TfrmClienti::cmdSalvaClick() { editor_.save(); }
void TfrmClienti::cmdPrimoClick() { editor_.first(); }
void TfrmClienti::cmdIndietroClick() { editor_.previous(); }
void TfrmClienti::cmdAvantiClick() { editor_.next(); }
void TfrmClienti::cmdUltimoClick() { editor_.last(); }
void TfrmClienti::cmdEsciClick() { close(); }

void TfrmClienti::showCard(const QStringList& values, qint64 position) { editor_.show(values, position); }

void TfrmClienti::cmdTrovaClick()
{
    runDialog<TfrmTrovaClienti>(this, [](TfrmTrovaClienti& f) { f.lblMemory.setText(u"clienti"_qs); });
}

void TfrmClienti::cmdRicontattaClick() { runDialog<TfrmRicontatta>(this); }
void TfrmClienti::btnScadenzarioClick() { runDialog<TfrmListScadenzario>(this); }
void TfrmClienti::cmdEsportaClick() { runDialog<TfrmExpClienti>(this); }

void TfrmClienti::cmdGuidaClick()
{
    orv::kit::showHelp(this, u"Archivio Clienti e impianti."_qs, orv::kit::helpText(helpParagraphs()));
}

orv::kit::CardContent TfrmClienti::cardContent() const
{
    const auto t = [](const Control& c) { return trimmed(orv::kit::controlText(c)); };
    return {u"SCHEDA ANAGRAFICA CLIENTE"_qs,
            {{
                {u"Cognome e nome:"_qs, t(txtCliente)},
                {u"Data di nascita:"_qs, t(txtDataNasc)},
                {u"Comune di nascita:"_qs, t(txtComuneNasc) + u' ' + t(txtProvNasc)},
                {u"Sesso:"_qs, t(txtSesso)},
                {u"Recapito preferenziale:"_qs, t(txtRecapito)},
                {u"Indirizzo di residenza:"_qs, t(txtIndirizzoRes)},
                {u"Comune di residenza:"_qs, t(txtComuneRes) + u' ' + t(txtProvRes)},
                {u"Modalità pagamento:"_qs, t(txtEstremi)},
                {u"Tel. casa:"_qs, t(txtTelCasa)},
                {u"Tel. ufficio:"_qs, t(txtTelUff)},
                {u"Tel. cellulare:"_qs, t(txtTelCel)},
                {u"Fax:"_qs, t(txtFax)},
                {u"E-mail:"_qs, t(txtEmail)},
                {u"Codice fiscale:"_qs, t(txtCodFisc)},
                {u"Partita IVA:"_qs, t(txtPartitaIva)},
                {u"Carta di credito:"_qs, u"N. "_qs + t(txtCarta) + u"  -  Scadenza: "_qs + t(txtScadeCarta)},
                {u"IBAN:"_qs, t(txtIban)},
                {u"Tipo impianto:"_qs, t(txtTipoImpianto) + u"  Scadenza manutenzione:  "_qs + t(txtDataScade)},
                {u"Marca e modello:"_qs, t(txtMarca)},
                {u"N. matricola:"_qs, t(txtMatricola) + u"  Anno costruzione:  "_qs + t(txtAnnoCostruz)},
                {u"Alimentazione:"_qs, t(txtAlimentazione)},
                {u"Caratteristiche tecniche:"_qs, t(txtCaratteristiche)},
                {u"Questioni in sospeso:"_qs, t(txtQuestioni)},
                {u"Note:"_qs, t(txtNote)},
            }}};
}

void TfrmClienti::cmdAnteprimaClick() { orv::kit::outputCard(this, cardContent(), orv::kit::CardOutput::Preview); }
void TfrmClienti::cmdStampaClick() { orv::kit::outputCard(this, cardContent(), orv::kit::CardOutput::Print); }
void TfrmClienti::cmdPDFClick()
{
    orv::kit::outputCard(this, cardContent(), orv::kit::CardOutput::Pdf, u"Cliente.pdf"_qs);
}

void TfrmClienti::btnEmailClick() { TMisc::Open(orv::customers::mailCommand(txtEmail.text())); }

void TfrmClienti::btnInviaAvvisoClick()
{
    const std::pair<Edit*, const char*> required[] = {
        {&txtCliente, "Attenzione: per inviare l'avviso è necessario indicare cognome e nome del Cliente."},
        {&txtMarca, "Attenzione: per inviare l'avviso è necessario indicare la marca e il modello dell'impianto."},
        {&txtDataScade, "Attenzione: per inviare l'avviso è necessario indicare la data di scadenza della manutenzione."},
        {&txtEmail, "Attenzione: per inviare l'avviso è necessario indicare l'indirizzo e-mail del Cliente."},
    };
    for (const auto& [field, message] : required) {
        if (trimmed(field->text()).isEmpty()) {
            warningBox(QString::fromUtf8(message));
            field->setFocus();
            return;
        }
    }
    TMisc::Open(orv::customers::noticeCommand(txtCliente.text(), txtMarca.text(), txtMatricola.text(),
                                                        txtDataScade.text(), txtEmail.text()));
}

void TfrmClienti::txtDataScadeKeyDown(Word& key, QChar&, ShiftState)
{
    if (key == vk::Back || key == vk::Delete) {
        txtDataScade.setText(QString());
        return;
    }
    runDialog<TfrmCalendario>(this, [](TfrmCalendario& c) { c.lblMemory.setText(u"clienti_datascade"_qs); });
}

void TfrmClienti::cmdFileClick() { orv::kit::showAttachmentWindow(*this, u"clienti"_qs); }
void TfrmClienti::btnCodFiscClick() { orv::kit::openTaxCodeChecker(this, txtCodFisc.text()); }
void TfrmClienti::btnPartitaIvaClick() { orv::kit::openVatChecker(this, txtPartitaIva.text()); }
void TfrmClienti::btnCartaClick() { orv::kit::openCardChecker(this, txtCarta.text()); }
void TfrmClienti::btnIbanClick() { orv::kit::openIbanChecker(this, txtIban.text()); }

} // namespace orv::customers
