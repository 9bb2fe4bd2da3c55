#include "warehouse/magazzino.h"

#include "kit/dialogs/allegacartella.h"
#include "kit/windowtable.h"
#include "kit/dialogs/guida.h"
#include "archive/helpers.h"
#include "kit/editorlayout.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/input.h"
#include "platform/ui/services.h"
#include "warehouse/articolo.h"
#include "warehouse/datipneumatici.h"
#include "warehouse/expmagazzino.h"
#include "warehouse/giacenza.h"
#include "warehouse/sottoscorta.h"
#include "warehouse/trovamagazzino.h"

#include <stdexcept>

namespace orv::warehouse {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::warehouse

namespace orv::warehouse {

using namespace orv::platform::ui;
using orv::platform::trimmed;

TfrmMagazzino* frmMagazzino = nullptr;

} // namespace orv::warehouse

namespace orv::warehouse {

QString webSearchCommand(const QString& marca, const QString& modello)
{
    QString query = trimmed(marca) + u' ' + trimmed(modello);
    QString encoded;
    for (QChar c : query) {
        if (c == u'%' || c == u'&' || c == u'#' || c == u'+')
            encoded += u'%' + QString::number(c.unicode(), 16).toUpper();
        else
            encoded += c;
    }
    return u'"' + TfrmMagazzino::kWebSearch + encoded + u'"';
}

} // namespace orv::warehouse

namespace orv::warehouse {

namespace {

const QColor kOrange(0xEF, 0x6C, 0x00);
const FontSpec kFieldFont{u"Verdana"_qs, 12, true, false, false, QColor()};
const FontSpec kCaptionFont{u"Verdana"_qs, 11, true, false, false, orv::kit::kEditorCaption};

// The card's edits at their places, with the caption above each; each takes the width of
// its record field as its maximum length.
struct Field {
    const char* name;
    const char* caption;
    int x, y, w;
    Align align = Align::Left;
};

const Field kFields[] = {
    // Identification.
    {"txtCodice", "Codice articolo:", 136, 42, 200},
    {"txtTipologia", "Tipologia:", 344, 42, 210},
    {"txtMarca", "Marca:", 562, 42, 221},
    {"txtModello", "Modello:", 136, 90, 200},
    {"txtDescrizione", "Descrizione:", 344, 90, 439},
    {"txtAccessori", "Accessori:", 136, 138, 470},
    // Supplier and purchase.
    {"txtFornitore", "Fornitore:", 136, 202, 400},
    {"txtRecapiti", "Recapito preferenziale:", 544, 202, 239},
    {"txtData", "Data di acquisto:", 136, 250, 160},
    {"txtDocumento", "Estremi documento di acquisto:", 304, 250, 479},
    {"txtOrdine", "Modalità di ordine merce:", 136, 298, 647},
    // Stock and prices: whole numbers centred, amounts to the right.
    {"txtGiacenza", "Giacenza:", 136, 362, 110, Align::Center},
    {"txtSottoscorta", "Avviso sottoscorta n.", 330, 362, 90, Align::Center},
    {"txtCosto", "Costo:", 136, 410, 130, Align::Right},
    {"txtValore", "Valore (costo x giacenza):", 274, 410, 180, Align::Right},
    {"txtPrezzo", "Prezzo:", 136, 458, 130, Align::Right},
    {"txtPercIva", "Perc. IVA:", 274, 458, 46, Align::Center},
    {"txtPrezzo_con_Iva", "Prezzo con IVA:", 348, 458, 140, Align::Right},
    // Location and notes.
    {"txtCollocazione", "Collocazione in magazzino:", 136, 522, 647},
    {"txtNote", "Note:", 136, 570, 647},
};

const orv::kit::EditorSection kSections[] = {
    {16, 154, art::Icon::Warehouse, kOrange},
    {176, 154, art::Icon::Truck, QColor(0x79, 0x55, 0x48)},
    {336, 154, art::Icon::Inventory, QColor(0x00, 0x83, 0x8F)},
    {496, 137, art::Icon::Key, QColor(0x15, 0x65, 0xC0)},
};

const orv::kit::EditorCommand kCommands[] = {
    {"cmdNuovo", 30, "Nuovo"},         {"cmdDuplica", 69, "Duplica"},
    {"cmdFile", 108, "Allega file"},   {"cmdSalva", 147, "Salva"},
    {"cmdTrova", 186, "Trova"},        {"cmdStampa", 225, "Stampa"},
    {"cmdPDF", 264, "Crea PDF"},       {"cmdWeb", 303, "Cerca sul Web"},
    {"cmdSottoscorta", 342, "Sottoscorta"}, {"cmdEsporta", 381, "Esporta archivio"},
    {"cmdGuida", 420, "Guida"},        {"cmdEsci", 459, "Esci"},
};

struct PushButton {
    const char* name;
    int x, y, w;
    const char* caption;
};
const PushButton kButtons[] = {
    {"btnPneumatici", 614, 135, 169, "Altre informazioni"},
    {"btnAggiungi", 252, 360, 30, "+"},
    {"btnSottrai", 288, 360, 30, "-"},
    {"btnValore", 462, 408, 140, "Calcola valore"},
    {"btnCalcola", 496, 456, 110, "Calcola"},
    {"btnScorpora", 614, 456, 110, "Scorpora"},
};

// Values the card carries without showing them: extra data, attachments, folder.
const char* const kHidden[] = {"memConsumo", "memAderenza", "memRumore", "memOnde",  "lblFile01",   "lblFile02",
                               "lblFile03",  "lblDesc01",   "lblDesc02", "lblDesc03", "lblCartella", "lblCartellaDesc"};

int widthOf(const QString& control)
{
    for (const orv::archive::FieldDef& f : TArticolo::layout().fields())
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
            l.push_back(label(u"lbl"_qs + name.mid(3), f.x, f.y - 18, std::max(f.w + 8, 190), 16,
                              QString::fromUtf8(f.caption)).font(kCaptionFont).in(in));
            l.push_back(edit(name, f.x, f.y, f.w).maxLen(widthOf(name)).align(f.align).font(kFieldFont).highlighted().in(in));
        }
        l.push_back(label(u"lblPezzi"_qs, 426, 366, 120, 18, u"pezzi rimasti."_qs).font(kCaptionFont).in(in));
        l.push_back(label(u"lblPercento"_qs, 323, 462, 20, 18, u"%"_qs).font(kCaptionFont).in(in));
        for (const PushButton& b : kButtons)
            l.push_back(button(QString::fromLatin1(b.name), b.x, b.y, b.w, 28, QString::fromUtf8(b.caption)).in(in));
        orv::kit::addCommandColumn(l, in, kCommands);
        // The picture at the bottom right.
        l.push_back(rect(u"shpImmagine"_qs, 800, 510, 177, 123, Qt::white).stroke(orv::kit::kEditorFrame).radius(4).in(in));
        l.push_back(picture(u"imgMagazzino"_qs, 846, 529, 85, 85, art::tile(art::Icon::Warehouse, kOrange)).in(in));
        orv::kit::addNavigationAndHint(l, in, u"Pronto per archiviare una nuova scheda..."_qs);
        for (const char* n : kHidden) l.push_back(label(QString::fromLatin1(n), 0, 0, 10, 10, QString()).hidden().in(in));
        return l;
    }();
    return layout;
}

const QStringList& helpParagraphs()
{
    static const QStringList p = {
        u"L'applicazione Magazzino Articoli permette di gestire tutti gli articoli presenti nel magazzino del "
        u"laboratorio (ricambi, apparecchi, materiali di consumo) e anche i servizi offerti ai Clienti, come le "
        u"manutenzioni programmate o le uscite per riparazione, in modo da poterli importare nei preventivi e nei "
        u"documenti di trasporto. Il programma mostra l'elenco dei materiali in esaurimento e calcola l'inventario "
        u"totale o parziale della merce con il suo valore complessivo."_qs,
        u"Per inserire una nuova scheda in archivio, fare clic sul pulsante Nuovo, compilare i campi e premere "
        u"Salva: il codice articolo deve essere sempre indicato. Per aggiornare una scheda già registrata, "
        u"richiamarla con la funzione Trova oppure con le frecce di scorrimento, apportare le modifiche e premere "
        u"di nuovo Salva."_qs,
        u"Il pulsante Duplica consente di creare una nuova scheda partendo dai dati di una scheda già registrata: "
        u"è utile per inserire rapidamente un prodotto o un servizio simile a uno già presente in archivio."_qs,
        u"La catalogazione della merce è tanto più utile quanto più è accurata: in ogni scheda conviene annotare "
        u"il codice, la tipologia, la marca e il modello, le caratteristiche e gli accessori, la collocazione in "
        u"magazzino, il fornitore con i suoi recapiti, la data e gli estremi del documento di acquisto."_qs,
        u"Il campo Giacenza indica la quantità di merce presente in magazzino. Può essere aggiornato con i "
        u"pulsanti più e meno, che aggiungono o sottraggono una certa quantità, e si aggiorna automaticamente "
        u"quando l'articolo viene importato in un preventivo o in un documento di trasporto scegliendo di "
        u"aggiornare la giacenza."_qs,
        u"Il pulsante Calcola determina il prezzo IVA inclusa in base al prezzo e all'aliquota IVA indicati; il "
        u"pulsante Scorpora ricava il prezzo senza IVA dal prezzo IVA inclusa e dall'aliquota; il pulsante Calcola "
        u"valore moltiplica il costo per la giacenza e restituisce il valore della merce in magazzino. Il salvataggio "
        u"della scheda ricalcola sempre il prezzo IVA inclusa e il valore."_qs,
        u"Il campo Avviso sottoscorta indica il numero di pezzi rimasti al di sotto del quale l'articolo è da "
        u"considerarsi in esaurimento. Il pulsante Sottoscorta visualizza l'elenco dei materiali in esaurimento, "
        u"che può anche essere stampato."_qs,
        u"Il campo Tipologia serve per ottenere inventari parziali: la stessa tipologia deve essere scritta nello "
        u"stesso modo nella scheda di ogni articolo che deve far parte di un medesimo inventario parziale."_qs,
        u"Il campo Note consente di registrare qualsiasi informazione aggiuntiva sull'articolo, che potrà poi "
        u"essere ritrovata con la funzione di ricerca: ad esempio che l'articolo è stato prenotato da un Cliente, "
        u"che è difettoso o che può essere sostituito da un altro."_qs,
        u"Le ricerche funzionano anche con chiave parziale, cioè indicando soltanto una o più parole consecutive "
        u"contenute nel campo, e possono essere effettuate su uno o più campi contemporaneamente. L'elenco delle "
        u"schede trovate può essere stampato."_qs,
        u"Il pulsante Cerca sul Web avvia una ricerca su Internet con le parole della marca e del modello "
        u"dell'articolo corrente, utile per reperire schede tecniche, manuali e ricambi."_qs,
        u"L'utente del software ha la possibilità di allegare fino a tre file a ogni scheda, ciascuno con una "
        u"propria descrizione: ad esempio un documento in cui annotare i carichi e gli scarichi della merce."_qs,
        u"La scheda di ogni singolo prodotto può essere stampata su carta o salvata in formato PDF, e l'intero "
        u"magazzino può essere esportato in un file di Microsoft Excel in formato XLS."_qs,
    };
    return p;
}

} // namespace

TfrmMagazzino::TfrmMagazzino(QWidget* owner)
    : Form(owner,
           {u"frmMagazzino"_qs, u" Orvanta 4.0 - Magazzino Articoli"_qs, 1016, 713, Border::Sizeable,
            Placement::Maximized, QColor(0x9F, 0xB1, 0xC8), Qt::white},
           windowLayout()),
      editor_(orv::warehouse::editorConfig(), view_, orv::kit::boxMessages())
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };

    const std::pair<Control*, void (TfrmMagazzino::*)()> clicks[] = {
        {&cmdNuovo, &TfrmMagazzino::cmdNuovoClick},       {&cmdDuplica, &TfrmMagazzino::cmdDuplicaClick},
        {&cmdFile, &TfrmMagazzino::cmdFileClick},         {&cmdSalva, &TfrmMagazzino::cmdSalvaClick},
        {&cmdTrova, &TfrmMagazzino::cmdTrovaClick},       {&cmdStampa, &TfrmMagazzino::cmdStampaClick},
        {&cmdPDF, &TfrmMagazzino::cmdPDFClick},           {&cmdWeb, &TfrmMagazzino::cmdWebClick},
        {&cmdSottoscorta, &TfrmMagazzino::cmdSottoscortaClick}, {&cmdEsporta, &TfrmMagazzino::cmdEsportaClick},
        {&cmdGuida, &TfrmMagazzino::cmdGuidaClick},       {&cmdEsci, &TfrmMagazzino::cmdEsciClick},
        {&cmdPrimo, &TfrmMagazzino::cmdPrimoClick},       {&cmdIndietro, &TfrmMagazzino::cmdIndietroClick},
        {&cmdAvanti, &TfrmMagazzino::cmdAvantiClick},     {&cmdUltimo, &TfrmMagazzino::cmdUltimoClick},
        {&btnAggiungi, &TfrmMagazzino::btnAggiungiClick}, {&btnSottrai, &TfrmMagazzino::btnSottraiClick},
        {&btnValore, &TfrmMagazzino::btnValoreClick},     {&btnCalcola, &TfrmMagazzino::btnCalcolaClick},
        {&btnScorpora, &TfrmMagazzino::btnScorporaClick}, {&btnPneumatici, &TfrmMagazzino::btnPneumaticiClick},
    };
    for (const auto& [c, handler] : clicks) c->onClick = [this, h = handler] { (this->*h)(); };

    // Number fields take digits only, amounts a comma too; only Enter moves on from them.
    // Leaving one writes its value back in its normal form.
    for (Edit* whole : {&txtGiacenza, &txtSottoscorta, &txtPercIva}) {
        whole->onKeyDown = [](Word& key, QChar& keyChar, ShiftState) { acceptOnly(key, keyChar); };
        whole->onExit = [whole] { whole->setText(NormalizzaImporto(whole->text(), orv::archive::AmountKind::Whole, 0)); };
    }
    for (Edit* money : {&txtCosto, &txtValore, &txtPrezzo, &txtPrezzo_con_Iva}) {
        money->onKeyDown = [](Word& key, QChar& keyChar, ShiftState) { acceptOnly(key, keyChar, u","); };
        money->onExit = [money] { money->setText(NormalizzaImporto(money->text(), orv::archive::AmountKind::Money, 4)); };
    }
    chainEnter({&txtCodice, &txtTipologia, &txtMarca, &txtModello, &txtDescrizione, &txtAccessori, &txtFornitore,
                &txtRecapiti, &txtData, &txtDocumento, &txtOrdine, &txtGiacenza, &txtSottoscorta, &txtCosto,
                &txtValore, &txtPrezzo, &txtPercIva, &txtPrezzo_con_Iva, &txtCollocazione, &txtNote});

    bindHints(panInfo, {
        {&cmdNuovo, u"Prepara la schermata per la registrazione di una nuova scheda."_qs},
        {&cmdDuplica, u"Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."_qs},
        {&cmdFile, u"Allega file alla scheda corrente."_qs},
        {&cmdSalva, u"Salva la scheda corrente in archivio."_qs},
        {&cmdTrova, u"Trova una scheda in archivio."_qs},
        {&cmdStampa, u"Stampa la scheda corrente."_qs},
        {&cmdPDF, u"Esporta la scheda in formato PDF."_qs},
        {&cmdWeb, u"Cerca sul Web, tramite Google, informazioni relative all'articolo corrente."_qs},
        {&cmdSottoscorta, u"Visualizza l'elenco dei materiali in esaurimento."_qs},
        {&cmdEsporta, u"Esporta le schede in archivio in un file di Microsoft Excel."_qs},
        {&cmdGuida, u"Visualizza la pagina della guida sensibile al contesto."_qs},
        {&cmdEsci, u"Esci da questa schermata di lavoro."_qs},
        {&cmdPrimo, u"Visualizza la prima scheda in archivio."_qs},
        {&cmdIndietro, u"Visualizza la scheda precedente in archivio."_qs},
        {&cmdAvanti, u"Visualizza la scheda successiva in archivio."_qs},
        {&cmdUltimo, u"Visualizza l'ultima scheda in archivio."_qs},
        {&btnAggiungi, u"Aggiorna la giacenza aggiungendo una certa quantità."_qs},
        {&btnSottrai, u"Aggiorna la giacenza sottraendo una certa quantità."_qs},
        {&btnValore, u"Calcola il valore totale della merce in magazzino moltiplicando il costo per la giacenza."_qs},
        {&btnCalcola, u"Calcola il prezzo IVA inclusa dell'articolo corrente in base all'aliquota indicata."_qs},
        {&btnScorpora, u"Scorpora il prezzo lordo dell'articolo corrente calcolando l'imponibile in base all'aliquota IVA indicata."_qs},
        {&btnPneumatici, u"Registra ulteriori informazioni sul prodotto corrente."_qs},
    });
    const auto named = [this](const char* n) { return findControl(QString::fromLatin1(n)); };
    orv::kit::bindEditorHintClear(panInfo, *this, int(std::size(kSections)),
                                    {&panContainer, named("shpImmagine"), named("imgMagazzino")});
    created();
}

void TfrmMagazzino::FormCreate() { orv::platform::applyProgramFormats(); }

void TfrmMagazzino::FormShow() { editor_.blank(); }

void TfrmMagazzino::FormClose(CloseAction&)
{
    if (orv::platform::ui::Form* menu = orv::kit::startWindow(u"frmAvvio"_qs)) menu->show();
}

void TfrmMagazzino::cmdNuovoClick() { editor_.blank(); }
void TfrmMagazzino::cmdDuplicaClick() { editor_.duplicate(); }
void TfrmMagazzino::cmdSalvaClick() { editor_.save(); }
void TfrmMagazzino::cmdPrimoClick() { editor_.first(); }
void TfrmMagazzino::cmdIndietroClick() { editor_.previous(); }
void TfrmMagazzino::cmdAvantiClick() { editor_.next(); }
void TfrmMagazzino::cmdUltimoClick() { editor_.last(); }
void TfrmMagazzino::cmdEsciClick() { close(); }

void TfrmMagazzino::btnCalcolaClick() { orv::warehouse::calcolaPrezzoConIva(view_, orv::kit::boxMessages()); }
void TfrmMagazzino::btnScorporaClick() { orv::warehouse::scorporaIva(view_, orv::kit::boxMessages()); }
void TfrmMagazzino::btnValoreClick() { orv::warehouse::calcolaValore(view_); }

void TfrmMagazzino::showCard(const QStringList& values, qint64 position) { editor_.show(values, position); }

void TfrmMagazzino::openStockWindow(const QString& direction)
{
    if (trimmed(txtGiacenza.text()).isEmpty()) txtGiacenza.setText(u"0"_qs);
    const QString stock = trimmed(txtGiacenza.text());
    runDialog<TfrmGiacenza>(this, [&](TfrmGiacenza& g) {
        g.lblAggiunta.setText(direction);
        g.txtGiacenza.setText(stock);
        g.txtTotale.setText(stock);
        g.txtAggiunta.setText(u"0"_qs);
    });
}

void TfrmMagazzino::btnAggiungiClick() { openStockWindow(orv::warehouse::kAdd); }
void TfrmMagazzino::btnSottraiClick() { openStockWindow(orv::warehouse::kSubtract); }

void TfrmMagazzino::btnPneumaticiClick()
{
    runDialog<TfrmDatiPneumatici>(this, [this](TfrmDatiPneumatici& d) {
        d.txtConsumo.setText(trimmed(memConsumo.text()));
        d.txtAderenza.setText(trimmed(memAderenza.text()));
        d.txtRumore.setText(trimmed(memRumore.text()));
        d.txtOnde.setText(trimmed(memOnde.text()));
    });
}

void TfrmMagazzino::cmdFileClick() { orv::kit::showAttachmentWindow(*this, u"magazzino"_qs); }

void TfrmMagazzino::cmdTrovaClick()
{
    runDialog<TfrmTrovaMagazzino>(this, [](TfrmTrovaMagazzino& f) { f.lblMemory.setText(u"magazzino"_qs); });
}

void TfrmMagazzino::cmdSottoscortaClick() { runDialog<TfrmSottoscorta>(this); }
void TfrmMagazzino::cmdEsportaClick() { runDialog<TfrmExpMagazzino>(this); }

void TfrmMagazzino::cmdWebClick()
{
    if (trimmed(txtMarca.text()).isEmpty()) {
        warningBox(u"Attenzione: per poter effettuare una ricerca sul Web è necessario compilare il campo relativo alla "
                   u"marca dell'articolo."_qs);
        txtMarca.setFocus();
        return;
    }
    try {
        shell().open(orv::warehouse::webSearchCommand(txtMarca.text(), txtModello.text()));
    } catch (const std::exception&) {
        warningBox(u"Attenzione: il sistema non permette di collegarsi al motore di ricerca di Google.\n\r\n\r"
                   u"Accertarsi che la propria connessione a Internet funzioni correttamente."_qs);
    }
}

void TfrmMagazzino::cmdGuidaClick()
{
    orv::kit::showHelp(this, u"Magazzino Articoli."_qs, orv::kit::helpText(helpParagraphs()));
}

orv::kit::CardContent TfrmMagazzino::cardContent() const
{
    const auto t = [](const Control& c) { return trimmed(orv::kit::controlText(c)); };
    return {u"SCHEDA ARTICOLO"_qs,
            {{
                {u"Codice articolo:"_qs, t(txtCodice)},
                {u"Tipologia:"_qs, t(txtTipologia)},
                {u"Marca:"_qs, t(txtMarca)},
                {u"Modello:"_qs, t(txtModello)},
                {u"Descrizione:"_qs, t(txtDescrizione)},
                {u"Accessori:"_qs, t(txtAccessori)},
                {u"Fornitore:"_qs, t(txtFornitore)},
                {u"Recapito preferenziale:"_qs, t(txtRecapiti)},
                {u"Data acquisto:"_qs, t(txtData)},
                {u"Documento acquisto:"_qs, t(txtDocumento)},
                {u"Modalità ordine merce:"_qs, t(txtOrdine)},
                {u"Giacenza:"_qs, t(txtGiacenza)},
                {u"Costo:"_qs, t(txtCosto)},
                {u"Valore (costo x giacenza):"_qs, t(txtValore)},
                {u"Preavviso sottoscorta:"_qs, t(txtSottoscorta) + u" pezzi rimasti"_qs},
                {u"Prezzo:"_qs, t(txtPrezzo)},
                {u"Aliquota IVA:"_qs, t(txtPercIva)},
                {u"Prezzo con IVA:"_qs, t(txtPrezzo_con_Iva)},
                {u"Collocazione in magazzino:"_qs, t(txtCollocazione)},
                {u"Altezza:"_qs, t(memConsumo)},
                {u"Larghezza:"_qs, t(memAderenza)},
                {u"Lunghezza:"_qs, t(memRumore)},
                {u"Scadenza:"_qs, t(memOnde)},
                {u"Note:"_qs, t(txtNote)},
            }}};
}

void TfrmMagazzino::cmdStampaClick() { orv::kit::outputCard(this, cardContent(), orv::kit::CardOutput::Print); }

void TfrmMagazzino::cmdPDFClick()
{
    orv::kit::outputCard(this, cardContent(), orv::kit::CardOutput::Pdf, u"Articolo.pdf"_qs);
}

} // namespace orv::warehouse
