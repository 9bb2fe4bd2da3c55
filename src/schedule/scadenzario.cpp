#include "schedule/scadenzario.h"

#include <QFile>

#include "kit/windowtable.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "archive/helpers.h"
#include "archive/lists.h"
#include "kit/input.h"
#include "customers/trovaclienti.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/input.h"
#include "platform/ui/services.h"
#include "schedule/elenchi.h"
#include "schedule/expscadenzario.h"
#include "schedule/griglie.h"
#include "schedule/scadenza.h"
#include "schedule/trovascadenzario.h"
#include "warehouse/trovamagazzino.h"

namespace orv::schedule {
using namespace orv::archive;
using namespace orv::customers;
using namespace orv::warehouse;
} // namespace orv::schedule

namespace orv::schedule {

using namespace orv::platform::ui;
using orv::platform::trimmed;

TfrmScadenzario* frmScadenzario = nullptr;

namespace {

const QColor kRed(0xC6, 0x28, 0x28);
const QColor kBlue(0x15, 0x65, 0xC0);
const QColor kBand(0xE4, 0xE8, 0xEE);
const QColor kCaption(0x00, 0x00, 0x8B);
const QColor kHintBand(0x6A, 0x5A, 0xCD);
const QColor kCommand(0x2F, 0x5D, 0x8A);
const QColor kFrame(0xB8, 0xC2, 0xCE);
const FontSpec kFieldFont{u"Verdana"_qs, 12, true, false, false, QColor()};
const FontSpec kCaptionFont{u"Verdana"_qs, 11, true, false, false, kCaption};
const FontSpec kText{u"Verdana"_qs, 12, false, false, false, kCaption};
const FontSpec kTitle{u"Verdana"_qs, 12, true, false, false, kCaption};

const QString kArchiveWarning = u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs;
const QString kStartCaption = u" Orvanta 4.0 - Scadenze e appuntamenti"_qs;

QStringList numbers(int from, int to)
{
    QStringList l;
    for (int i = from; i <= to; ++i) l << QString::number(i).rightJustified(2, u'0');
    return l;
}

int widthOf(const QString& control)
{
    for (const orv::archive::FieldDef& f : TScadenza::layout().fields())
        if (f.control == control) return f.width;
    throw std::logic_error(("no record field shown in " + control).toStdString());
}

// The edits of the entry with their captions, at their places inside the bands.
struct Field {
    const char* name;
    const char* caption;
    int x, y, w;
};
const Field kFields[] = {
    {"txtPagatore", "Pagatore:", 136, 150, 240},
    {"txtCodFisc", "Codice fiscale:", 410, 150, 170},
    {"txtRecapito", "Recapito preferenziale:", 614, 150, 169},
    {"txtCodice", "Codice articolo:", 136, 244, 180},
    {"txtTipologia", "Tipologia:", 352, 244, 210},
    {"txtMarca", "Marca e modello:", 572, 244, 211},
    {"txtDescrizione", "Descrizione:", 136, 292, 210},
    {"txtAccessori", "Accessori:", 356, 292, 206},
    {"txtFornitore", "Fornitore:", 572, 292, 211},
    {"txtBeneficiario", "Beneficiario:", 136, 386, 290},
    {"txtDettagli", "Causale scadenza:", 436, 386, 347},
    {"txtOfficina", "Modalità di pagamento:", 136, 434, 290},
    {"txtCosto", "Importo in euro:", 436, 434, 130},
    {"txtContatto", "Estremi ricevuta:", 576, 434, 207},
    {"txtNote", "Note:", 136, 550, 420},
};

struct Section {
    int y, h;
    art::Icon icon;
    QColor colour;
};
const Section kSections[] = {
    {10, 104, art::Icon::Schedule, kRed},
    {120, 80, art::Icon::Customers, QColor(0x2E, 0x7D, 0x32)},
    {206, 128, art::Icon::Warehouse, QColor(0xEF, 0x6C, 0x00)},
    {340, 168, art::Icon::Quote, QColor(0x6A, 0x1B, 0x9A)},
    {514, 82, art::Icon::Info, kBlue},
};

struct Command {
    const char* name;
    const char* words;
};
const Command kCommands[] = {
    {"cmdNuovo", "Nuovo"},         {"cmdDuplica", "Duplica"},         {"cmdSalva", "Salva"},
    {"cmdTrova", "Trova"},         {"cmdImporta", "Anteprima"},       {"cmdStampa", "Stampa"},
    {"cmdEsporta", "Esporta archivio"}, {"cmdDaConfermare", "Da confermare"}, {"cmdDaEffettuare", "Da effettuare"},
    {"cmdEffettuate", "Effettuati"}, {"cmdGuida", "Guida"},          {"cmdEsci", "Esci"},
};

Artwork importArrow() { return art::icon(art::Icon::ArrowNext, QColor(0x2E, 0x7D, 0x32)); }

Artwork checkMark()
{
    return art::words(QString(QChar(0x2714)), {u"DejaVu Sans"_qs, 17, true, false, false, QColor(0x2E, 0x7D, 0x32)});
}

void addStartPanel(Layout& l)
{
    const QString in = u"panAvvio"_qs;
    l.push_back(panel(in, 0, 0, 995, 692).centred());
    l.push_back(picture(u"imgTitolo"_qs, 16, 10, 963, 84,
                        art::heading(u"Scadenze e appuntamenti"_qs, u"Scadenze, appuntamenti e pagamenti dell'anno"_qs,
                                     art::Icon::Schedule, QColor(0x8E, 0x1B, 0x1B), kRed)).in(in));
    // The calendar with the buttons to the day's and the month's entries.
    l.push_back(rect(u"shpCalendario"_qs, 16, 110, 360, 340, Qt::white).stroke(kFrame).radius(6).in(in));
    l.push_back(calendar(u"calAppuntamenti"_qs, 30, 124, 332, 250).in(in));
    l.push_back(command(u"btnGiorno"_qs, 30, 390, 160, 44, art::command(u"Scadenze del giorno"_qs, kCommand)).in(in));
    l.push_back(command(u"btnMese"_qs, 202, 390, 160, 44, art::command(u"Scadenze del mese"_qs, kCommand)).in(in));
    // Opening a year.
    l.push_back(rect(u"shpAnno"_qs, 392, 110, 587, 160, Qt::white).stroke(kFrame).radius(6).in(in));
    l.push_back(picture(u"imgArchivio"_qs, 410, 128, 56, 56, art::tile(art::Icon::Schedule, kRed)).in(in));
    l.push_back(label(u"lblInfo01"_qs, 482, 128, 480, 22,
                      u"Accedi all'archivio annuale per inserire o modificare le scadenze."_qs).font(kTitle).in(in));
    l.push_back(label(u"lblInfo02"_qs, 482, 158, 480, 20, u"Indicare l'anno solare e premere Apri."_qs).font(kText).in(in));
    l.push_back(edit(u"txtAnno"_qs, 482, 200, 100, 30).maxLen(4).centre().font(kFieldFont).in(in));
    l.push_back(button(u"btnApri"_qs, 596, 200, 120, 30, u"Apri"_qs).in(in));
    // The imminent entries.
    l.push_back(rect(u"shpImminenti"_qs, 392, 290, 587, 160, Qt::white).stroke(kFrame).radius(6).in(in));
    l.push_back(picture(u"imgImminenti"_qs, 410, 308, 56, 56, art::tile(art::Icon::Info, kBlue)).in(in));
    l.push_back(label(u"lblInfo06"_qs, 482, 308, 480, 22, u"Visualizza le scadenze imminenti."_qs).font(kTitle).in(in));
    l.push_back(label(u"lblOK"_qs, 482, 338, 480, 20, u"Premere OK per ottenere l'elenco delle scadenze."_qs)
                    .font(kText).in(in));
    l.push_back(button(u"btnOK"_qs, 482, 380, 120, 30, u"OK"_qs).in(in));
    // The result of the reminder: one of two banners in a white frame.
    l.push_back(rect(u"shpResponso"_qs, 16, 466, 963, 125, Qt::white).stroke(kFrame).radius(6).in(in));
    l.push_back(picture(u"imgAssenti"_qs, 180, 481, 634, 95,
                        art::words(u"Non ci sono scadenze imminenti."_qs,
                                   {u"Verdana"_qs, 26, true, false, false, kBlue})).in(in));
    l.push_back(picture(u"imgPresenti"_qs, 180, 481, 634, 95,
                        art::words(u"Attenzione: ci sono scadenze imminenti!"_qs,
                                   {u"Verdana"_qs, 26, true, false, false, kRed})).in(in).hidden());
    l.push_back(command(u"imgGuida"_qs, 16, 620, 160, 44, art::command(u"Guida"_qs, kCommand)).in(in));
    l.push_back(command(u"imgEsci"_qs, 819, 620, 160, 44, art::command(u"Esci"_qs, kCommand)).in(in));
    l.push_back(label(u"lblFile"_qs, 0, 0, 10, 10, u"FilePath"_qs).hidden().in(in));
}

void addEditorPanel(Layout& l)
{
    const QString in = u"panContainer"_qs;
    l.push_back(panel(in, 0, 0, 995, 692).centred().hidden());
    for (int i = 0; i < int(std::size(kSections)); ++i) {
        const Section& s = kSections[i];
        l.push_back(rect(numbered(u"bkgSezione"_qs, i + 1), 16, s.y, 777, s.h, kBand).radius(4).in(in));
        l.push_back(rect(numbered(u"shpTessera"_qs, i + 1), 24, s.y + 8, 97, s.h - 16, Qt::white).radius(4).in(in));
        const int side = std::min(64, s.h - 24);
        l.push_back(picture(numbered(u"imgSezione"_qs, i + 1), 72 - side / 2, s.y + s.h / 2 - side / 2, side, side,
                            art::tile(s.icon, s.colour)).in(in));
    }
    // Date and time of the entry, and the days of notice.
    l.push_back(group(u"grpData"_qs, 136, 14, 390, 62, u" Data scadenza: "_qs).font(kCaptionFont).in(in));
    l.push_back(combo(u"txtGiorno"_qs, 10, 26, 64).items(numbers(1, 31)).maxLen(widthOf(u"txtGiorno"_qs))
                    .font(kFieldFont).highlighted().in(u"grpData"_qs));
    l.push_back(combo(u"txtMese"_qs, 84, 26, 150).items(orv::schedule::monthNames()).maxLen(widthOf(u"txtMese"_qs))
                    .font(kFieldFont).highlighted().in(u"grpData"_qs));
    l.push_back(label(u"lblAnno"_qs, 246, 20, 130, 36, u"ANNO"_qs)
                    .font({u"Verdana"_qs, 24, true, false, false, kRed}).in(u"grpData"_qs));
    l.push_back(group(u"grpOra"_qs, 536, 14, 200, 62, u" Ora appuntamento: "_qs).font(kCaptionFont).in(in));
    l.push_back(combo(u"txtOreApp"_qs, 10, 26, 72).items(numbers(0, 23)).maxLen(widthOf(u"txtOreApp"_qs))
                    .font(kFieldFont).highlighted().in(u"grpOra"_qs));
    l.back().text = u"00"_qs;
    l.push_back(label(u"lblDuePunti"_qs, 86, 26, 14, 24, u":"_qs).font(kFieldFont).centre().in(u"grpOra"_qs));
    l.push_back(combo(u"txtMinutiApp"_qs, 104, 26, 72).items(numbers(0, 59)).maxLen(widthOf(u"txtMinutiApp"_qs))
                    .font(kFieldFont).highlighted().in(u"grpOra"_qs));
    l.back().text = u"00"_qs;
    l.push_back(label(u"lblAvvisa"_qs, 136, 86, 80, 20, u"Avvisa n."_qs).font(kCaptionFont).in(in));
    l.push_back(edit(u"txtAvviso"_qs, 212, 84, 50).maxLen(widthOf(u"txtAvviso"_qs)).centre().font(kFieldFont)
                    .highlighted().in(in));
    l.push_back(label(u"lblGiorniPrima"_qs, 272, 86, 300, 20, u"giorni prima della scadenza."_qs)
                    .font(kCaptionFont).in(in));
    // The values the save builds from the date and time fields.
    l.push_back(label(u"lblData"_qs, 0, 0, 10, 10, QString()).hidden().in(in));
    l.push_back(label(u"lblOra"_qs, 0, 0, 10, 10, QString()).hidden().in(in));

    for (const Field& f : kFields) {
        const QString name = QString::fromLatin1(f.name);
        l.push_back(label(u"lbl"_qs + name.mid(3), f.x, f.y - 18, f.w + 40, 16, QString::fromUtf8(f.caption))
                        .font(kCaptionFont).in(in));
        Item field = edit(name, f.x, f.y, f.w).maxLen(widthOf(name));
        field.in(in).font(kFieldFont).highlighted();
        if (name == u"txtCosto") field.text = u"0,00"_qs;
        l.push_back(field);
    }
    l.push_back(command(u"impPag"_qs, 380, 151, 22, 22, importArrow()).in(in));
    l.push_back(command(u"btnCodFisc"_qs, 584, 151, 22, 22, checkMark()).in(in));
    l.push_back(command(u"impMag"_qs, 320, 245, 22, 22, importArrow()).in(in));
    l.push_back(check(u"chkDaConfermare"_qs, 136, 470, 330, 24, u"Appuntamento da confermare"_qs).font(kFieldFont).in(in));
    l.push_back(rect(u"shpEffettuata"_qs, 566, 540, 217, 42, QColor(0xFF, 0xE0, 0x82)).radius(4).in(in));
    l.push_back(check(u"chkEffettuata"_qs, 576, 549, 200, 24, u"Pagamento effettuato"_qs).font(kFieldFont).in(in));

    // The command column.
    l.push_back(rect(u"shpComandi"_qs, 800, 10, 177, 586, Qt::white).stroke(kFrame).radius(4).in(in));
    for (int i = 0; i < int(std::size(kCommands)); ++i) {
        const Command& c = kCommands[i];
        l.push_back(command(QString::fromLatin1(c.name), 814, 20 + i * 48, 148, 36,
                            art::command(QString::fromUtf8(c.words), kCommand)).in(in));
    }
    // Hint line and navigation.
    l.push_back(rect(u"bkgInfo"_qs, 16, 642, 777, 32, kHintBand).radius(4).in(in));
    l.push_back(label(u"panInfo"_qs, 26, 648, 757, 20, u"Pronto per archiviare una nuova scheda..."_qs)
                    .font({u"Tahoma"_qs, 12, false, false, false, Qt::white}).in(in));
    l.push_back(rect(u"shpNavigazione"_qs, 800, 642, 177, 32, Qt::white).stroke(kFrame).radius(4).in(in));
    l.push_back(command(u"cmdPrimo"_qs, 803, 645, 22, 26, art::icon(art::Icon::ArrowFirst)).in(in));
    l.push_back(command(u"cmdIndietro"_qs, 825, 645, 22, 26, art::icon(art::Icon::ArrowPrev)).in(in));
    l.push_back(label(u"lblPosizione"_qs, 847, 645, 82, 26, QString()).centre()
                    .font({u"Verdana"_qs, 12, true, false, false, kCaption}).in(in));
    l.push_back(command(u"cmdAvanti"_qs, 929, 645, 22, 26, art::icon(art::Icon::ArrowNext)).in(in));
    l.push_back(command(u"cmdUltimo"_qs, 951, 645, 22, 26, art::icon(art::Icon::ArrowLast)).in(in));
}

const Layout& windowLayout()
{
    static const Layout layout = [] {
        Layout l;
        addStartPanel(l);
        addEditorPanel(l);
        return l;
    }();
    return layout;
}

} // namespace

} // namespace orv::schedule

namespace orv::schedule {

const QStringList& scheduleHelp()
{
    static const QStringList p = {
        u"L'applicazione Scadenze e appuntamenti consente di tenere sotto controllo le scadenze giornaliere, "
        u"mensili o annuali relative, ad esempio, ai pagamenti da ricevere o da effettuare e di essere avvertiti "
        u"al sopraggiungere della data. L'utente può registrare un numero illimitato di scadenze per ciascun "
        u"giorno. Le scadenze inserite potranno essere visualizzate in ordine cronologico in base alla data e "
        u"all'ora. Per ogni scadenza è possibile stabilire con quanti giorni di anticipo si desidera essere "
        u"avvisati."_qs,
        u"Una volta entrati nella schermata per la gestione delle scadenze dell'anno, si può provvedere a "
        u"compilare una nuova scheda facendo clic sull'icona Nuovo, compilando i campi di testo e premendo Salva. "
        u"Per salvare una scheda, è necessario indicare almeno la data e l'ora della scadenza o appuntamento, "
        u"quanti giorni prima si desidera essere avvisati, il nome del Pagatore e del Beneficiario e la causale "
        u"della scadenza. I dati del Pagatore e dell'eventuale prodotto o servizio associato possono essere "
        u"importati, rispettivamente, dall'archivio anagrafico dei Clienti e dal Magazzino."_qs,
        u"Se si ha la necessità di inserire in archivio appuntamenti o scadenze che si ripeteranno nel corso "
        u"dell'anno, dopo aver salvato la prima scheda si può sfruttare la funzione Duplica per trasportare tutti "
        u"i dati (ad eccezione della data e dell'ora) in un nuovo record. A questo punto bisognerà soltanto "
        u"esprimere giorno, mese e ora e salvare la nuova scheda."_qs,
        u"Come già accennato, per ogni scadenza o appuntamento è possibile stabilire con quanti giorni di "
        u"anticipo si desidera essere avvisati. La presenza di appuntamenti imminenti viene segnalata sia in "
        u"maniera visiva attraverso un messaggio informativo, sia in maniera sonora mediante un segnale acustico "
        u"che si attiva automaticamente nel momento in cui si apre la finestra di lavoro. Per visualizzare "
        u"l'elenco delle scadenze o appuntamenti imminenti, basta fare clic sulla relativa scritta. Il "
        u"calendario permette, inoltre, di richiamare le scadenze relative al giorno o al mese selezionato."_qs,
        u"La casella Appuntamento da confermare va spuntata per indicare che l'appuntamento preso, ad esempio, "
        u"con un Cliente o con l'Agenzia delle Entrate è in attesa di conferma. Il pulsante Da confermare "
        u"permette di ottenere il riepilogo delle scadenze in sospeso mostrando, per ciascun impegno, la causale, "
        u"la data e l'ora della scadenza o appuntamento, il nome del Pagatore e del Beneficiario e l'eventuale "
        u"importo da pagare."_qs,
        u"E' buona norma aggiornare lo scadenzario ogni volta che viene saldato un pagamento mettendo il segno di "
        u"spunta sulla casella Pagamento effettuato nella scheda dedicata e salvando i cambiamenti. Il pulsante "
        u"Da effettuare visualizza l'elenco di tutti i pagamenti non ancora saldati, sia scaduti che non. Per "
        u"rintracciare nell'elenco la scheda della scadenza da aggiornare, basta usare il nome del Pagatore o del "
        u"Beneficiario come filtro di ricerca, fare clic sul pulsante Trova e, una volta evidenziata la scadenza "
        u"nella lista, selezionarla con un doppio clic per richiamare i dati nella finestra di lavoro principale. "
        u"A questo punto è possibile spuntare la casella Pagamento effettuato e premere Salva per registrare le "
        u"modifiche."_qs,
        u"E' possibile salvare un numero illimitato di scadenze o appuntamenti per ciascun giorno. Le scadenze "
        u"inserite saranno visualizzate in ordine cronologico in base alla data e all'ora indipendentemente "
        u"dall'ordine con cui l'utente le ha registrate in archivio. Il pulsante Effettuati visualizza lo storico "
        u"dei pagamenti saldati in archivio e può essere utile per stampare a fine anno l'elenco di tutti i "
        u"versamenti effettuati dai Clienti."_qs,
        u"Nello scadenzario è disponibile una funzione di ricerca avanzata che consente di creare riepiloghi delle "
        u"scadenze utilizzando più criteri di ricerca contemporaneamente. E' possibile, ad esempio, visualizzare "
        u"l'elenco delle scadenze o appuntamenti relativi ad un mese specifico, con riferimento ad un determinato "
        u"Pagatore o Beneficiario, eccetera. Il pulsante Esporta archivio consente di esportare tutte le scadenze "
        u"in archivio in un foglio di lavoro di Microsoft Excel."_qs,
    };
    return p;
}

} // namespace orv::schedule

namespace orv::schedule {

namespace {

orv::archive::EditorConfig editorConfig(TfrmScadenzario& w)
{
    using orv::archive::ArchiveEditor;
    using orv::archive::MessageKind;
    orv::archive::EditorConfig config;
    config.layout = &TScadenza::layout();
    config.archivePath = [&w] { return w.lblFile.text(); };
    config.firstControl = u"txtGiorno"_qs;
    config.accessKinds = orv::archive::AccessMessageKinds::schedule();
    config.blankDefaults = {{u"txtOreApp"_qs, u"00"_qs}, {u"txtMinutiApp"_qs, u"00"_qs}, {u"txtCosto"_qs, u"0,00"_qs}};
    // The year, date and time labels keep their values until a load or a save.
    config.keptOnNew = {u"lblAnno"_qs, u"lblData"_qs, u"lblOra"_qs};
    config.appendedInformation = u"La scheda corrente è stata salvata in archivio."_qs;
    config.checks = [&w](ArchiveEditor& e) {
        for (ComboEdit* f : w.listFields()) f->setItemIndex(-1);
        if (trimmed(w.txtCosto.text()).isEmpty()) w.txtCosto.setText(u"0,00"_qs);
        const auto refuse = [&](MessageKind kind, const QString& text, Control& field) {
            e.messages().show(kind, text);
            field.setFocus();
            return false;
        };
        const auto t = [](const Control& c) { return trimmed(orv::kit::controlText(c)); };
        const QString prefix = u"Attenzione: per salvare la scheda è necessario indicare "_qs;
        struct Check {
            bool failed;
            const char* rest;
            Control& field;
        };
        const Check checks[] = {
            {t(w.txtGiorno).isEmpty(), "il giorno della scadenza.", w.txtGiorno},
            {t(w.txtGiorno).size() < 2, "il giorno della scadenza usando due cifre.", w.txtGiorno},
            {t(w.txtMese).isEmpty(), "il mese della scadenza.", w.txtMese},
            {t(w.txtOreApp).isEmpty(), "l'ora dell'appuntamento.", w.txtOreApp},
            {t(w.txtMinutiApp).isEmpty(), "i minuti dell'ora dell'appuntamento.", w.txtMinutiApp},
            {t(w.txtOreApp).size() < 2, "l'ora dell'appuntamento usando due cifre.", w.txtOreApp},
            {t(w.txtMinutiApp).size() < 2, "i minuti dell'ora dell'appuntamento usando due cifre.", w.txtMinutiApp},
            {t(w.txtAvviso).isEmpty(), "i giorni di preavviso.", w.txtAvviso},
            {t(w.txtPagatore).isEmpty(), "il nome del Pagatore.", w.txtPagatore},
            {t(w.txtBeneficiario).isEmpty(), "il nome del Beneficiario.", w.txtBeneficiario},
            {t(w.txtDettagli).isEmpty(), "la causale della scadenza.", w.txtDettagli},
        };
        for (const Check& c : checks) {
            if (c.failed) return refuse(MessageKind::Warning, prefix + QString::fromUtf8(c.rest), c.field);
        }
        w.lblOra.setText(t(w.txtOreApp) + u':' + t(w.txtMinutiApp));
        const QString month = orv::schedule::monthNumber(w.txtMese.text());
        if (month.isEmpty())
            return refuse(MessageKind::Warning,
                          u"Attenzione: selezionare il mese dal menu a cascata.\n\r\n\rPer poter salvare la scheda "
                          u"è necessario indicare una data valida."_qs,
                          w.txtMese);
        w.lblData.setText(t(w.txtGiorno) + u'/' + month + u'/' + t(w.lblAnno));
        if (!DataValida(w.lblData.text()))
            return refuse(MessageKind::Plain,
                          u"Attenzione: la data "_qs + t(w.lblData) + u" non esiste.\n\r\n\rPer poter salvare la "
                          u"scheda è necessario indicare una data valida."_qs,
                          w.txtGiorno);
        return true;
    };
    // The copy keeps everything but its date and time.
    config.onDuplicate = [&w](ArchiveEditor&) {
        w.txtGiorno.setText(QString());
        w.txtMese.setText(QString());
        w.txtOreApp.setText(u"00"_qs);
        w.txtMinutiApp.setText(u"00"_qs);
        for (ComboEdit* f : w.listFields()) f->setItemIndex(-1);
    };
    return config;
}

} // namespace

TfrmScadenzario::TfrmScadenzario(QWidget* owner)
    : Form(owner,
           {u"frmScadenzario"_qs, kStartCaption, 1016, 713, Border::Sizeable, Placement::Maximized,
            QColor(0x9F, 0xB1, 0xC8), Qt::white},
           windowLayout()),
      editor_(editorConfig(*this), view_, orv::kit::boxMessages())
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };

    const std::pair<Control*, void (TfrmScadenzario::*)()> clicks[] = {
        {&btnApri, &TfrmScadenzario::btnApriClick},
        {&cmdNuovo, &TfrmScadenzario::cmdNuovoClick},
        {&cmdDuplica, &TfrmScadenzario::cmdDuplicaClick},
        {&cmdSalva, &TfrmScadenzario::cmdSalvaClick},
        {&cmdTrova, &TfrmScadenzario::cmdTrovaClick},
        {&cmdImporta, &TfrmScadenzario::cmdImportaClick},
        {&cmdStampa, &TfrmScadenzario::cmdStampaClick},
        {&cmdEsporta, &TfrmScadenzario::cmdEsportaClick},
        {&cmdDaConfermare, &TfrmScadenzario::cmdDaConfermareClick},
        {&cmdDaEffettuare, &TfrmScadenzario::cmdDaEffettuareClick},
        {&cmdEffettuate, &TfrmScadenzario::cmdEffettuateClick},
        {&cmdGuida, &TfrmScadenzario::imgGuidaClick},
        {&cmdEsci, &TfrmScadenzario::cmdEsciClick},
        {&cmdPrimo, &TfrmScadenzario::cmdPrimoClick},
        {&cmdIndietro, &TfrmScadenzario::cmdIndietroClick},
        {&cmdAvanti, &TfrmScadenzario::cmdAvantiClick},
        {&cmdUltimo, &TfrmScadenzario::cmdUltimoClick},
        {&btnGiorno, &TfrmScadenzario::btnGiornoClick},
        {&btnMese, &TfrmScadenzario::btnMeseClick},
        {&btnOK, &TfrmScadenzario::btnOKClick},
        {&imgGuida, &TfrmScadenzario::imgGuidaClick},
        {&imgEsci, &TfrmScadenzario::imgEsciClick},
        {&btnCodFisc, &TfrmScadenzario::btnCodFiscClick},
        {&impPag, &TfrmScadenzario::impPagClick},
        {&impMag, &TfrmScadenzario::impMagClick},
    };
    for (const auto& [c, handler] : clicks) c->onClick = [this, h = handler] { (this->*h)(); };

    // The year: digits only; Enter goes to Apri without pressing it.
    txtAnno.onKeyDown = [this](Word& k, QChar& c, ShiftState s) { txtAnnoKeyDown(k, c, s); };

    // Values of the list fields come from their lists only: Backspace and Delete empty the
    // field, the arrows move the caret, every other key does nothing. A text that is no
    // item of the list is emptied when the field is left.
    for (ComboEdit* f : listFields()) {
        f->onKeyDown = [f](Word& key, QChar& keyChar, ShiftState) {
            if (key == vk::Left || key == vk::Right) return;
            if (key == vk::Back || key == vk::Delete) f->setText(QString());
            swallow(key, keyChar);
        };
        f->onExit = [f] { applyListRule(*f); };
        f->onCanFocus = [f](bool&) { f->setItemIndex(-1); };
    }
    txtAvviso.onKeyDown = [](Word& key, QChar& keyChar, ShiftState) { acceptOnly(key, keyChar); };
    txtCosto.onKeyDown = [](Word& key, QChar& keyChar, ShiftState) { acceptOnly(key, keyChar, u","); };
    amounts_.add(txtCosto, [](const QString& t) { return NormalizzaImporto(t, orv::archive::AmountKind::Money, 4); });
    txtCosto.onExit = [this] { txtCostoExit(); };
    orv::kit::tidyWhileTyping(txtCodFisc, true, true);
    chainEnter({&txtGiorno, &txtMese, &txtOreApp, &txtMinutiApp, &txtAvviso, &txtPagatore, &txtCodFisc, &txtRecapito,
                &txtCodice, &txtTipologia, &txtMarca, &txtDescrizione, &txtAccessori, &txtFornitore, &txtBeneficiario,
                &txtDettagli, &txtOfficina, &txtCosto, &txtContatto, &txtNote},
               true);
    chainEnter({&txtAnno, &btnApri}, false);

    bindHints(panInfo, {
                           {&cmdNuovo, u"Prepara la schermata per la registrazione di una nuova scheda."_qs},
                           {&cmdDuplica, u"Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."_qs},
                           {&cmdSalva, u"Salva la scheda corrente in archivio."_qs},
                           {&cmdTrova, u"Trova una scheda in archivio."_qs},
                           {&cmdImporta, u"Visualizza l'anteprima di stampa."_qs},
                           {&cmdStampa, u"Stampa la scheda corrente."_qs},
                           {&cmdEsporta, u"Esporta le schede in archivio in un file di Microsoft Excel."_qs},
                           {&cmdDaConfermare, u"Visualizza l'elenco degli appuntamenti in attesa di conferma."_qs},
                           {&cmdDaEffettuare, u"Visualizza il riepilogo dei pagamenti da effettuare, sia scaduti che non."_qs},
                           {&cmdEffettuate, u"Visualizza il riepilogo storico dei pagamenti effettuati."_qs},
                           {&cmdGuida, u"Visualizza la pagina della guida sensibile al contesto."_qs},
                           {&cmdEsci, u"Esci da questa schermata di lavoro."_qs},
                           {&cmdPrimo, u"Visualizza la prima scheda in archivio."_qs},
                           {&cmdIndietro, u"Visualizza la scheda precedente in archivio."_qs},
                           {&cmdAvanti, u"Visualizza la scheda successiva in archivio."_qs},
                           {&cmdUltimo, u"Visualizza l'ultima scheda in archivio."_qs},
                           {&btnCodFisc, u"Controlla il codice fiscale."_qs},
                           {&impPag, u"Importa i dati del Pagatore dall'archivio anagrafico dei Clienti."_qs},
                           {&impMag, u"Importa i dati dell'articolo dal magazzino."_qs},
                           {&chkDaConfermare, u"Spunta questa casella per annotare che l'appuntamento è in attesa di conferma."_qs},
                           {&chkEffettuata, u"Spunta questa casella per annotare che il pagamento è stata effettuato."_qs},
                       });
    const auto named = [this](const char* n) { return findControl(QString::fromLatin1(n)); };
    bindHintClear(panInfo, *this,
                  {&panContainer, &grpData, &grpOra, &lblPosizione, named("shpComandi"), named("shpNavigazione"),
                   named("bkgInfo"), named("shpEffettuata"), named("bkgSezione01"), named("bkgSezione02"),
                   named("bkgSezione03"), named("bkgSezione04"), named("bkgSezione05"), named("shpTessera01"),
                   named("shpTessera02"), named("shpTessera03"), named("shpTessera04"), named("shpTessera05"),
                   named("imgSezione01"), named("imgSezione02"), named("imgSezione03"), named("imgSezione04"),
                   named("imgSezione05")});
    created();
}

QList<ComboEdit*> TfrmScadenzario::listFields() const
{
    return {&txtGiorno, &txtMese, &txtOreApp, &txtMinutiApp};
}

void TfrmScadenzario::applyListRule(ComboEdit& field)
{
    if (!field.items().contains(trimmed(field.text()))) field.setText(QString());
}

void TfrmScadenzario::FormCreate()
{
    orv::platform::applyProgramFormats();
    calAppuntamenti.setDate(orv::platform::today());
}

void TfrmScadenzario::FormShow()
{
    setCaption(kStartCaption);
    panAvvio.show();
    panContainer.hide();
    txtAnno.setText(QString::number(orv::platform::currentYear()).rightJustified(4, u'0'));
    txtAnno.setFocus();
    runReminder();
}

void TfrmScadenzario::runReminder()
{
    bool some = false;
    const orv::platform::TDateTime today = orv::platform::today();
    const auto count = [&](orv::platform::ArchiveFile& file) {
        orv::archive::ResultList none;
        orv::archive::fillList(
            file, none,
            [&](const QByteArray& r) {
                bool ok = false;
                // An entry whose date or notice cannot be read is no reminder; the
                // entries after it still are.
                some = orv::schedule::ScadenzaImminente(TScadenza::decode(r), today, ok) || some;
                return false;
            },
            {});
    };
    const bool read = orv::archive::runArchiveCommandSilently(orv::schedule::currentYearFile(), TScadenza::kSize, count);
    // An archive that cannot be read leaves the banners as they were.
    if (!read) return;
    // Near the year's end the notice of an entry of next year already runs.
    const QString next = orv::schedule::nextYearFile();
    if (!some && QFile::exists(next)) orv::archive::runArchiveCommandSilently(next, TScadenza::kSize, count);
    imgAssenti.setVisible(!some);
    imgPresenti.setVisible(some);
    btnOK.setEnabled(some);
    if (some) sound().play(orv::platform::programFile(u"Avviso.mp3"_qs));
}

void TfrmScadenzario::FormClose(CloseAction&)
{
    setCaption(kStartCaption);
    panAvvio.show();
    panContainer.hide();
    if (sound().loaded()) sound().stop();
    if (orv::platform::ui::Form* menu = orv::kit::startWindow(u"frmAvvio"_qs)) menu->show();
}

void TfrmScadenzario::txtAnnoKeyDown(Word& key, QChar& keyChar, ShiftState)
{
    acceptOnly(key, keyChar);
}

void TfrmScadenzario::btnApriClick()
{
    // The key filter is not the only way in (pasting goes around it): four digits here,
    // before the text becomes a file name.
    const QString year = txtAnno.text();
    if (year.size() != 4 || !SoloCifre(year)) {
        warningBox(kArchiveWarning);
        txtAnno.setFocus();
        return;
    }
    lblFile.setText(orv::schedule::yearFile(year));
    lblAnno.setText(year);
    setCaption(kStartCaption + u" anno "_qs + year);
    panAvvio.hide();
    panContainer.show();
    PulisciScheda();
}

void TfrmScadenzario::PulisciScheda()
{
    for (ComboEdit* f : listFields()) f->setItemIndex(-1);
    editor_.blank();
}

void TfrmScadenzario::cmdNuovoClick() { PulisciScheda(); }
void TfrmScadenzario::cmdDuplicaClick() { editor_.duplicate(); }
void TfrmScadenzario::cmdSalvaClick()
{
    // Save is a picture and never takes the focus: the amount still being typed is tidied
    // as leaving it would, so what is checked and stored is what the field then shows.
    amounts_.tidyFocused(*this);
    editor_.save();
}
void TfrmScadenzario::cmdPrimoClick() { editor_.first(); }
void TfrmScadenzario::cmdIndietroClick() { editor_.previous(); }
void TfrmScadenzario::cmdAvantiClick() { editor_.next(); }
void TfrmScadenzario::cmdUltimoClick() { editor_.last(); }
void TfrmScadenzario::cmdEsciClick() { close(); }
void TfrmScadenzario::imgEsciClick() { close(); }

void TfrmScadenzario::loadEntry(const QStringList& values, qint64 position) { editor_.show(values, position); }

void TfrmScadenzario::cmdTrovaClick()
{
    runDialog<TfrmTrovaScadenzario>(this, [](TfrmTrovaScadenzario& f) { f.lblMemory.setText(u"Scadenzario"_qs); });
}

void TfrmScadenzario::cmdEsportaClick() { runDialog<TfrmExpScadenzario>(this); }
void TfrmScadenzario::cmdDaConfermareClick() { runDialog<TfrmDaConfermare>(this); }
void TfrmScadenzario::cmdDaEffettuareClick() { runDialog<TfrmConfermati>(this); }
void TfrmScadenzario::cmdEffettuateClick() { runDialog<TfrmNonConfermati>(this); }
void TfrmScadenzario::btnGiornoClick() { runDialog<TfrmExpGiornaliere>(this); }
void TfrmScadenzario::btnMeseClick() { runDialog<TfrmExpMensili>(this); }
void TfrmScadenzario::btnOKClick() { runDialog<TfrmExpImminenti>(this); }

void TfrmScadenzario::imgGuidaClick()
{
    orv::kit::showHelp(this, u"Scadenze e Appuntamenti."_qs, orv::kit::helpText(orv::schedule::scheduleHelp()));
}

void TfrmScadenzario::btnCodFiscClick() { orv::kit::openTaxCodeChecker(this, txtCodFisc.text()); }

void TfrmScadenzario::impPagClick()
{
    runDialog<TfrmTrovaClienti>(this, [](TfrmTrovaClienti& f) { f.lblMemory.setText(u"scadenzario"_qs); });
}

void TfrmScadenzario::impMagClick()
{
    runDialog<TfrmTrovaMagazzino>(this, [](TfrmTrovaMagazzino& f) { f.lblMemory.setText(u"scadenzario"_qs); });
}

void TfrmScadenzario::txtCostoExit() { amounts_.tidy(txtCosto); }

orv::kit::CardContent TfrmScadenzario::cardContent() const
{
    const auto t = [](const Control& c) { return trimmed(orv::kit::controlText(c)); };
    const auto flag = [](const CheckBox& c) { return c.isChecked() ? orv::archive::kYes : orv::archive::kNo; };
    const std::pair<QString, QString> blank{u" "_qs, u" "_qs};
    return {u"SCHEDA SCADENZA / APPUNTAMENTO"_qs,
            {{
                {u"Data scadenza:"_qs, t(txtGiorno) + u' ' + t(txtMese) + u' ' + t(lblAnno)},
                {u"Ora appuntamento:"_qs, t(txtOreApp) + u':' + t(txtMinutiApp)},
                {u"Giorni preavviso:"_qs, t(txtAvviso)},
                {u"Pagatore:"_qs, t(txtPagatore)},
                {u"Codice fiscale:"_qs, t(txtCodFisc)},
                {u"Recapito preferenziale:"_qs, t(txtRecapito)},
                {u"Codice articolo:"_qs, t(txtCodice)},
                {u"Tipologia:"_qs, t(txtTipologia)},
                {u"Marca e modello:"_qs, t(txtMarca)},
                {u"Descrizione:"_qs, t(txtDescrizione)},
                {u"Accessori:"_qs, t(txtAccessori)},
                {u"Fornitore:"_qs, t(txtFornitore)},
                {u"Beneficiario:"_qs, t(txtBeneficiario)},
                {u"Causale scadenza:"_qs, t(txtDettagli)},
                {u"Modalità di pagamento:"_qs, t(txtOfficina)},
                {u"Importo in euro:"_qs, t(txtCosto)},
                {u"Estremi ricevuta:"_qs, t(txtContatto)},
                {u"Note:"_qs, t(txtNote)},
                {u"Appuntamento da confermare:"_qs, flag(chkDaConfermare)},
                {u"Pagamento effettuato:"_qs, flag(chkEffettuata)},
                blank,
                blank,
                blank,
                blank,
            }}};
}

void TfrmScadenzario::cmdImportaClick() { orv::kit::outputCard(this, cardContent(), orv::kit::CardOutput::Preview); }
void TfrmScadenzario::cmdStampaClick() { orv::kit::outputCard(this, cardContent(), orv::kit::CardOutput::Print); }

} // namespace orv::schedule
