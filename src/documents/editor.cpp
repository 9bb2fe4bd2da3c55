#include "documents/editor.h"

#include "kit/windowtable.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "kit/dialogs/logo.h"
#include "kit/dialogs/numerazione.h"
#include "kit/dialogs/settings.h"
#include "archive/helpers.h"
#include "kit/editorlayout.h"
#include "kit/input.h"
#include "kit/provinces.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/input.h"
#include "platform/ui/services.h"
#include "documents/documenti.h"
#include "documents/numeri.h"

namespace orv::documents {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::documents

namespace orv::documents {

using namespace orv::platform::ui;

namespace {

const QColor kCaption = kit::kEditorCaption;
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kCommand = kit::kEditorCommand;
const QColor kFrame = kit::kEditorFrame;
const QColor kHintBand(0x6A, 0x5A, 0xCD);
const QColor kAmount(0xFF, 0xE8, 0xCC);
const FontSpec kFieldFont{u"Verdana"_qs, 12, true, false, false, QColor()};
const FontSpec kCaptionFont{u"Verdana"_qs, 11, true, false, false, kCaption};
const FontSpec kTotalFont{u"Verdana"_qs, 13, true, false, false, QColor(0x1F, 0x3F, 0x6E)};

constexpr int kFieldHeight = 22;
constexpr int kPageX = 25, kPageY = 330, kPageW = 945, kPageH = 230;

// A header field at its place in its panel; its caption stands above it.
struct Field {
    const char* name;
    const char* caption; // nullptr: the kind's own caption
    int x, y, w;
    Align align = Align::Left;
    bool combo = false;
};
const Field kIssuerFields[] = {
    {"txtDitta", "Ditta emittente:", 10, 26, 250},
    {"txtViaDitta", "Via e numero civico:", 10, 66, 340},
    {"txtCapDitta", "CAP:", 10, 106, 70},
    {"txtCittaDitta", "Città:", 88, 106, 196},
    {"txtProvDitta", "Prov.", 292, 106, 58, Align::Left, true},
    {"txtIvaDitta", "Partita IVA:", 10, 146, 138},
    {"txtCodFiscDitta", "Codice fiscale:", 182, 146, 138},
    {"txtLibero01", "Campo libero 1:", 10, 186, 340},
    {"txtLibero02", "Campo libero 2:", 10, 226, 340},
};
const Field kCustomerFields[] = {
    {"txtCliente", "Cognome e nome o ragione sociale Cliente:", 10, 26, 310},
    {"txtViaCliente", "Via e numero civico:", 10, 66, 340},
    {"txtCapCliente", "CAP:", 10, 106, 70},
    {"txtCittaCliente", "Città:", 88, 106, 196},
    {"txtProvCliente", "Prov.", 292, 106, 58, Align::Left, true},
    {"txtIvaCliente", "Partita IVA:", 10, 146, 138},
    {"txtCodFiscCliente", "Codice fiscale:", 182, 146, 138},
    {"txtRiferimenti", "Riferimenti:", 10, 186, 340},
};
const Field kNumberFields[] = {
    {"txtNumFatt", nullptr, 10, 26, 189, Align::Center},
    {"txtData", "Data emissione:", 10, 66, 150, Align::Center},
    {"txtPagamento", "Pagamento:", 10, 106, 189},
    {"txtBanca", "Banca d'appoggio:", 10, 146, 189},
    {"txtIban", "IBAN:", 10, 186, 189},
};

// The small buttons beside the header fields.
struct Button22 {
    const char* name;
    const char* panel;
    int x, y, w;
    Artwork art;
};

Artwork mark(const QString& sign, const QColor& colour)
{
    return art::words(sign, {u"DejaVu Sans"_qs, 17, true, false, false, colour});
}

// The command bar: groups of commands, left to right; an empty word marks the position
// label between the arrows.
struct Command {
    const char* name;
    int width;
    QString words;
    art::Icon icon = art::Icon::Logo;
};

// The row pages' columns: left edge and width inside the 945 x 230 page.
struct Column {
    const char* name; // the title label's name, followed by the page's letter
    const char* title;
    int x, w;
    Align align;
};
const Column kColumns[] = {
    {"titQuant", "Quant.", 44, 54, Align::Center},
    {"titCodice", "Codice articolo:", 108, 142, Align::Left},
    {"titDesc", "Descrizione:", 260, 300, Align::Left},
    {"titPrezzo", "Prezzo:", 570, 108, Align::Right},
    {"titPercSconto", "% Sc.", 688, 54, Align::Center},
    {"titImporto", "Importo tot.", 752, 108, Align::Right},
    {"titEs", "Es.", 862, 30, Align::Center},
};

QString letterOf(int page) { return QString(QChar(u'A' + page - 1)); }

QString pageName(int page) { return rowControl(u"grpPage", page); }

void addField(Layout& l, const Field& f, const QString& panel, const QString& caption)
{
    const QString name = QString::fromLatin1(f.name);
    l.push_back(label(u"lbl"_qs + name.mid(3), f.x, f.y - 17, f.w + 30, 16, caption).font(kCaptionFont).in(panel));
    Item field = f.combo ? combo(name, f.x, f.y, f.w, kFieldHeight).items(kit::provinceCodes())
                         : edit(name, f.x, f.y, f.w, kFieldHeight);
    l.push_back(field.align(f.align).font(kFieldFont).highlighted().in(panel));
}

void addCommandBar(Layout& l, const EditorSpec& spec)
{
    const QString in = u"panContainer"_qs;
    using art::Icon;
    const std::vector<std::vector<Command>> groups = {
        {{"cmdNuovo", 54, u"Nuovo"_qs}, {"cmdSalva", 54, u"Salva"_qs}, {"cmdTrova", 54, u"Trova"_qs},
         {"cmdSospese", 74, spec.pendingWords}},
        {{"cmdAnteprima", 70, u"Anteprima"_qs}, {"cmdStampa", 56, u"Stampa"_qs}, {"cmdPDF", 46, u"PDF"_qs}},
        {{"cmdPrimo", 24, {}, Icon::ArrowFirst},
         {"cmdIndietro", 24, {}, Icon::ArrowPrev},
         {"lblPosizione", 60, {}},
         {"cmdAvanti", 24, {}, Icon::ArrowNext},
         {"cmdUltimo", 24, {}, Icon::ArrowLast}},
        {{"cmdNumerazione", 86, u"Numerazione"_qs}, {"cmdEsporta", 58, u"Esporta"_qs}},
        {{"cmdGuida", 50, u"Guida"_qs}, {"cmdEsci", 46, u"Esci"_qs}},
    };
    // One caption size for the whole bar.
    std::vector<std::pair<QString, QSizeF>> captions;
    for (const auto& g : groups)
        for (const Command& c : g)
            if (!c.words.isEmpty() && QLatin1StringView(c.name) != "lblPosizione")
                captions.emplace_back(c.words, QSizeF(c.width, 48));
    const int captionSize = art::commandTextSize(captions);
    int x = kPageX;
    int group = 0;
    for (const auto& g : groups) {
        int w = 0;
        for (const Command& c : g) w += c.width + 3;
        l.push_back(rect(u"shpComandi"_qs + QString::number(++group), x, 8, w + 9, 58, Qt::white).stroke(kFrame)
                        .radius(4).in(in));
        int cx = x + 6;
        for (const Command& c : g) {
            const QString name = QString::fromLatin1(c.name);
            if (name == u"lblPosizione")
                l.push_back(label(name, cx, 24, c.width, 26, QString()).centre()
                                .font({u"Verdana"_qs, 12, true, false, false, kCaption}).in(in));
            else if (c.words.isEmpty())
                l.push_back(command(name, cx, 24, c.width, 26, art::icon(c.icon)).in(in));
            else
                l.push_back(command(name, cx, 13, c.width, 48, art::command(c.words, kCommand, captionSize)).in(in));
            cx += c.width + 3;
        }
        x += w + 9 + 10;
    }
}

void addHeader(Layout& l, const EditorSpec& spec)
{
    const QString in = u"panContainer"_qs;
    const struct {
        const char* name;
        int x;
        int w;
        QColor fill;
    } panels[] = {
        {"panDitta", kPageX, 360, QColor(0xE4, 0xEC, 0xF6)},
        {"panCliente", kPageX + 368, 360, QColor(0xE3, 0xEF, 0xE3)},
        {"panNumFattura", kPageX + 736, 209, QColor(0xFF, 0xF8, 0xDC)},
    };
    for (const auto& p : panels)
        l.push_back(panel(QString::fromLatin1(p.name), p.x, 72, p.w, 254).fill(p.fill).stroke(kFrame).radius(4).in(in));
    const auto fields = [&](const auto& table, const QString& panelName) {
        for (const Field& f : table)
            addField(l, f, panelName, f.caption ? QString::fromUtf8(f.caption) : spec.numberCaption);
    };
    fields(kIssuerFields, u"panDitta"_qs);
    fields(kCustomerFields, u"panCliente"_qs);
    fields(kNumberFields, u"panNumFattura"_qs);

    const QColor green(0x2E, 0x7D, 0x32);
    const Button22 buttons[] = {
        {"btnCancDitta", "panDitta", 266, 26, 22, mark(QString(QChar(0x2716)), QColor(0xC6, 0x28, 0x28))},
        {"btnLogo", "panDitta", 294, 26, 46, art::icon(art::Icon::Logo)},
        {"btnIvaDitta", "panDitta", 152, 146, 22, mark(QString(QChar(0x2714)), green)},
        {"btnCodFiscDitta", "panDitta", 326, 146, 22, mark(QString(QChar(0x2714)), green)},
        {"impCliente", "panCliente", 328, 26, 22, art::icon(art::Icon::Customers)},
        {"btnIvaCliente", "panCliente", 152, 146, 22, mark(QString(QChar(0x2714)), green)},
        {"btnCodFiscCliente", "panCliente", 326, 146, 22, mark(QString(QChar(0x2714)), green)},
        {"impOggi", "panNumFattura", 167, 66, 22, art::icon(art::Icon::Schedule, QColor(0xC6, 0x28, 0x28))},
    };
    for (const Button22& b : buttons)
        l.push_back(command(QString::fromLatin1(b.name), b.x, b.y, b.w, 22, b.art).in(QString::fromLatin1(b.panel)));
    l.push_back(button(spec.extraCommand, 180, 218, 170, 28, spec.extraCaption).in(u"panCliente"_qs));
    // The kind's own values, kept by the record without being shown.
    for (const archive::FieldDef& f : spec.record->fields()) {
        if (f.control.startsWith(u"mem"))
            l.push_back(label(f.control, 0, 0, 10, 10, QString()).hidden().in(u"panCliente"_qs));
    }
}

void addPages(Layout& l, const EditorSpec& spec)
{
    const QString in = u"panContainer"_qs;
    for (int p = 1; p <= kPages; ++p) {
        const QString page = pageName(p);
        Item panelItem = panel(page, kPageX, kPageY, kPageW, kPageH).fill(Qt::white).stroke(kFrame).radius(4).in(in);
        // The hidden pages hold most of the window; they wait until it is first needed.
        if (p > 1) panelItem.hidden().deferred();
        l.push_back(panelItem);
        const int first = (p - 1) * kRowsPerPage + 1;
        l.push_back(picture(u"imgPagina_"_qs + letterOf(p), 70, 8, 805, 34,
                            art::captionBand(spec.pageWords + u" da "_qs + QString::number(first) + u" a "_qs
                                                 + QString::number(first + kRowsPerPage - 1),
                                             QColor(0x1F, 0x3F, 0x6E), QColor(0x4A, 0x7D, 0xB5)))
                        .in(page));
        l.push_back(rect(u"shpIndietro_"_qs + letterOf(p), 12, 10, 46, 30, QColor(0xF4, 0xF6, 0xF8)).stroke(kFrame)
                        .radius(3).in(page));
        l.push_back(command(u"imgIndietro_"_qs + letterOf(p), 20, 14, 30, 22, art::icon(art::Icon::ArrowPrev)).in(page));
        l.push_back(rect(u"shpAvanti_"_qs + letterOf(p), 894, 10, 46, 30, QColor(0xF4, 0xF6, 0xF8)).stroke(kFrame)
                        .radius(3).in(page));
        l.push_back(command(u"imgAvanti_"_qs + letterOf(p), 902, 14, 30, 22, art::icon(art::Icon::ArrowNext)).in(page));
        for (const Column& c : kColumns)
            l.push_back(label(QString::fromLatin1(c.name) + letterOf(p), c.x, 48, c.w, 16, QString::fromLatin1(c.title))
                            .align(c.align).font(kCaptionFont).in(page));
        for (int n = first; n < first + kRowsPerPage; ++n) {
            const int y = 66 + (n - first) * 32;
            const auto name = [n](const char16_t* prefix) { return rowControl(prefix, n); };
            l.push_back(label(name(u"lblNum"), 6, y + 2, 30, 18, QString::number(n) + u'.').align(Align::Right)
                            .font({u"Verdana"_qs, 12, true, false, false, kMaroon}).in(page));
            l.push_back(edit(name(u"txtQuant"), 44, y, 54, kFieldHeight).centre().font(kFieldFont).highlighted().in(page));
            l.push_back(edit(name(u"txtCodice"), 108, y, 142, kFieldHeight).font(kFieldFont).highlighted().in(page));
            l.push_back(edit(name(u"txtDesc"), 260, y, 300, kFieldHeight).font(kFieldFont).highlighted().in(page));
            l.push_back(edit(name(u"txtPrezzo"), 570, y, 108, kFieldHeight).align(Align::Right).font(kFieldFont)
                            .highlighted().in(page));
            l.push_back(edit(name(u"txtPercSconto"), 688, y, 54, kFieldHeight).centre().font(kFieldFont)
                            .highlighted().in(page));
            l.push_back(rect(name(u"shpImporto"), 752, y, 108, kFieldHeight, kAmount).stroke(QColor(0xE0, 0xA0, 0x60))
                            .radius(2).in(page));
            l.push_back(label(name(u"txtImporto"), 754, y + 2, 100, 18, u"0,00"_qs).align(Align::Right)
                            .font(kFieldFont).in(page));
            l.push_back(check(name(u"chkEs"), 871, y, 22, kFieldHeight, QString()).in(page));
            l.push_back(command(name(u"impMag"), 910, y, 22, 22, art::icon(art::Icon::Warehouse)).in(page));
        }
    }
}

void addTotals(Layout& l, const EditorSpec& spec)
{
    const QString in = u"panContainer"_qs;
    const struct {
        const char* name;
        const char* caption; // nullptr: the kind's total caption
        int x, w;
    } totals[] = {
        {"txtTotImponibile", "Tot. imponibile:", kPageX, 130},
        {"txtTotImposta", "Tot. imposta:", kPageX + 224, 130},
        {"txtTotIva", "Tot. IVA inclusa:", kPageX + 364, 130},
        {"txtTotEsente", "Tot. esente:", kPageX + 504, 130},
        {"txtTotFattura", nullptr, kPageX + 763, 182},
    };
    for (const auto& t : totals) {
        const QString name = QString::fromLatin1(t.name);
        const bool grand = !t.caption;
        l.push_back(label(u"lbl"_qs + name.mid(3), t.x, 566, t.w, 16,
                          grand ? spec.totalCaption : QString::fromUtf8(t.caption))
                        .font(kCaptionFont).in(in));
        l.push_back(rect(u"shp"_qs + name.mid(3), t.x, 583, t.w, 26, grand ? QColor(0xFF, 0xF3, 0xC4) : kAmount)
                        .stroke(QColor(0xE0, 0xA0, 0x60)).radius(3).in(in));
        l.push_back(label(name, t.x + 4, 586, t.w - 10, 20, u"0,00"_qs).align(Align::Right)
                        .font(grand ? kTotalFont : kFieldFont).in(in));
    }
    l.push_back(label(u"lblPercIva"_qs, kPageX + 140, 566, 80, 16, u"IVA:"_qs).font(kCaptionFont).in(in));
    l.push_back(edit(u"txtPercIva"_qs, kPageX + 140, 585, 56, kFieldHeight).centre().font(kFieldFont).highlighted().in(in));
    l.push_back(label(u"lblPercento"_qs, kPageX + 200, 587, 16, 20, u"%"_qs).font(kFieldFont).in(in));
    l.push_back(button(u"cmdCalcola"_qs, kPageX + 645, 580, 108, 30, u"Calcola"_qs).in(in));

    // The bottom line: the hint line, the notes and the document's flag.
    // The band holds three lines: the longest hints (a command's, a row's check box's) wrap
    // rather than being cut at the band's edge.
    l.push_back(rect(u"bkgInfo"_qs, kPageX, 620, 420, 50, kHintBand).radius(4).in(in));
    l.push_back(label(u"panInfo"_qs, kPageX + 8, 623, 404, 44, u"Pronto per archiviare una nuova scheda..."_qs)
                    .font({u"Tahoma"_qs, 12, false, false, false, Qt::white}).wrap().in(in));
    l.push_back(label(u"lblNote"_qs, kPageX + 432, 628, 56, 20, u"NOTE:"_qs).font(kCaptionFont).in(in));
    l.push_back(edit(u"txtNote"_qs, kPageX + 488, 628, 316, kFieldHeight).font(kFieldFont).highlighted().in(in));
    l.push_back(check(u"chkSaldata"_qs, kPageX + 818, 628, 127, kFieldHeight, spec.flagCaption).font(kFieldFont).in(in));

    // Values the editor carries without showing them.
    l.push_back(label(u"lblFile"_qs, 0, 0, 10, 10, QString()).hidden().in(in));
    l.push_back(label(u"lblInizio"_qs, 0, 0, 10, 10, u"1"_qs).hidden().in(in));
    l.push_back(label(u"lblSolare"_qs, 0, 0, 10, 10, u"ANNO"_qs).hidden().in(in));
}

Layout editorLayout(const EditorSpec& spec)
{
    Layout l{panel(u"panContainer"_qs, 0, 0, 995, 692).centred()};
    addCommandBar(l, spec);
    addHeader(l, spec);
    addPages(l, spec);
    addTotals(l, spec);
    return l;
}

FormSpec formSpec(const EditorSpec& spec)
{
    return {spec.formName, spec.caption, 1016, 713, Border::Sizeable, Placement::Maximized, QColor(0x9F, 0xB1, 0xC8),
            Qt::white};
}

// Digits, and the comma where decimals are allowed, and the editing keys; Tab belongs to
// the window, which moves the focus along its tab order.
void numberKey(Word& key, QChar& keyChar, bool decimals)
{
    if (key == vk::Tab) return;
    acceptOnly(key, keyChar, decimals ? u"," : u"");
}

// The background parts of the window: moving the mouse over them empties the hint line.
bool isBackground(const Control& c)
{
    const QString& n = c.name();
    return (n.startsWith(u"pan") && n != u"panInfo") || n.startsWith(u"grpPage") || n.startsWith(u"shp")
           || n.startsWith(u"bkg") || n.startsWith(u"imgPagina_");
}

// Two fields cut a longer text on every key release, and only these two.
const struct {
    int row;
    const char16_t* field;
    int length;
} kCutOnKeyUp[] = {{2, u"txtPrezzo", 10}, {10, u"txtPercSconto", 6}};

} // namespace

DocumentEditor::DocumentEditor(QWidget* owner, EditorSpec spec)
    : Form(owner, formSpec(spec), editorLayout(spec)), spec_(std::move(spec)),
      editor_(editorConfig(*spec_.record, [this] { return yearFile(); }, spec_.saveTexts), view_,
              kit::boxMessages())
{
    Q_ASSERT(builtControl(spec_.extraCommand));
    rows_.reserve(kRows);
    bindHeader();
    bindHints();
    bindPages(0);

    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };
    using E = DocumentEditor;
    const std::pair<Control*, void (E::*)()> clicks[] = {
        {&cmdNuovo, &E::cmdNuovoClick},         {&cmdSalva, &E::cmdSalvaClick},
        {&cmdTrova, &E::cmdTrovaClick},         {&cmdSospese, &E::cmdSospeseClick},
        {&cmdAnteprima, &E::cmdAnteprimaClick}, {&cmdStampa, &E::cmdStampaClick},
        {&cmdPDF, &E::cmdPDFClick},             {&cmdPrimo, &E::cmdPrimoClick},
        {&cmdIndietro, &E::cmdIndietroClick},   {&cmdAvanti, &E::cmdAvantiClick},
        {&cmdUltimo, &E::cmdUltimoClick},       {&cmdNumerazione, &E::cmdNumerazioneClick},
        {&cmdEsporta, &E::cmdEsportaClick},     {&cmdGuida, &E::cmdGuidaClick},
        {&cmdEsci, &E::cmdEsciClick},           {&cmdCalcola, &E::cmdCalcolaClick},
        {&btnCancDitta, &E::btnCancDittaClick}, {&btnLogo, &E::btnLogoClick},
        {&btnIvaDitta, &E::btnIvaDittaClick},   {&btnIvaCliente, &E::btnIvaClienteClick},
        {&btnCodFiscDitta, &E::btnCodFiscDittaClick}, {&btnCodFiscCliente, &E::btnCodFiscClienteClick},
        {&impCliente, &E::impClienteClick},     {&impOggi, &E::impOggiClick},
        {findControl(spec_.extraCommand), &E::extraClick},
    };
    for (const auto& [c, handler] : clicks) c->onClick = [this, h = handler] { (this->*h)(); };
}

void DocumentEditor::deferredBuilt(size_t first)
{
    bindPages(first);
    fitFieldWidths();
}

// The row pages built so far and not bound yet, and the background among the controls
// built from `first` on.
void DocumentEditor::bindPages(size_t first)
{
    const QString forward = u"Visualizza i prossimi cinque articoli."_qs;
    const QString back = u"Visualizza i cinque articoli precedenti."_qs;
    for (int p = int(rows_.size()) / kRowsPerPage + 1; p <= kPages; ++p) {
        if (!builtControl(rowControl(u"txtQuant", (p - 1) * kRowsPerPage + 1))) break;
        for (int n = (p - 1) * kRowsPerPage + 1; n <= p * kRowsPerPage; ++n) {
            const auto name = [n](const char16_t* prefix) { return rowControl(prefix, n); };
            rows_.push_back(Row{n, control<Label>(name(u"lblNum")), control<Edit>(name(u"txtQuant")),
                                control<Edit>(name(u"txtCodice")), control<Edit>(name(u"txtDesc")),
                                control<Edit>(name(u"txtPrezzo")), control<Edit>(name(u"txtPercSconto")),
                                control<Shape>(name(u"shpImporto")), control<Label>(name(u"txtImporto")),
                                control<CheckBox>(name(u"chkEs")), control<Image>(name(u"impMag"))});
            Row& r = rows_.back();
            bindRow(r);
            showHint(r.impMag, u"Importa i dati dell'articolo dal magazzino."_qs);
            showHint(r.chkEs, u"Contrassegna come articolo esente da IVA."_qs);
        }
        if (p < kPages) {
            forwardArrow(p).onClick = [this, p] { showPage(p + 1); };
            showHint(forwardArrow(p), forward);
        }
        if (p > 1) {
            backArrow(p).onClick = [this, p] { showPage(p - 1); };
            showHint(backArrow(p), back);
        }
    }
    const auto& all = controls();
    for (size_t i = first; i < all.size(); ++i) {
        if (isBackground(*all[i])) all[i]->onMouseMove = [this](ShiftState, double, double) { panInfo.setText(QString()); };
    }
}

void DocumentEditor::showHint(Control& c, const QString& text)
{
    c.onMouseMove = [this, text](ShiftState, double, double) { panInfo.setText(text); };
}

DocumentEditor::Row& DocumentEditor::row(int number)
{
    if (number < 1 || number > kRows) throw std::out_of_range("no row " + std::to_string(number));
    if (size_t(number) > rows_.size()) buildDeferred();
    return rows_.at(size_t(number - 1));
}

Panel& DocumentEditor::page(int number) const { return control<Panel>(pageName(number)); }
Image& DocumentEditor::forwardArrow(int page) const { return control<Image>(u"imgAvanti_"_qs + letterOf(page)); }
Image& DocumentEditor::backArrow(int page) const { return control<Image>(u"imgIndietro_"_qs + letterOf(page)); }

int DocumentEditor::shownPage() const
{
    for (int p = 1; p <= kPages; ++p) {
        if (page(p).visible()) return p;
    }
    return 0;
}

void DocumentEditor::bindRow(Row& r)
{
    numberFields_.add(r.txtQuant, &numberOnExit);
    numberFields_.add(r.txtPercSconto, &numberOnExit);
    numberFields_.add(r.txtPrezzo, &priceOnExit);
    // Quantity, price and discount: every key empties the row's amount and the totals,
    // Enter moves along the row, and only digits and the comma are typed.
    const auto amountKey = [this, amount = &r.txtImporto](Control& next) {
        return [this, amount, &next](Word& key, QChar& keyChar, ShiftState) {
            if (key == vk::Tab) return;
            amount->setText(QString());
            blankTotals();
            if (key == vk::Return) {
                next.setFocus();
                return;
            }
            numberKey(key, keyChar, true);
        };
    };
    r.txtQuant.onKeyDown = amountKey(r.txtCodice);
    r.txtPrezzo.onKeyDown = amountKey(r.txtPercSconto);
    r.txtPercSconto.onKeyDown = amountKey(r.chkEs);
    chainEnter({&r.txtCodice, &r.txtDesc, &r.txtPrezzo}, false);
    for (Edit* e : {&r.txtQuant, &r.txtPrezzo, &r.txtPercSconto}) e->onExit = [this, e] { numberFields_.tidy(*e); };
    for (const auto& cut : kCutOnKeyUp) {
        if (cut.row != r.number) continue;
        Edit& e = control<Edit>(rowControl(cut.field, r.number));
        e.onKeyUp = [&e, length = cut.length](Word&, QChar&, ShiftState) {
            if (e.text().size() > length) e.setText(Sinistra(e.text(), length));
        };
    }
    r.impMag.onClick = [this, n = r.number] { impMagClick(n); };
}

void DocumentEditor::bindHeader()
{
    for (Edit* vat : {&txtIvaDitta, &txtIvaCliente})
        vat->onKeyDown = [](Word& key, QChar& keyChar, ShiftState) { numberKey(key, keyChar, false); };
    chainEnter({&txtDitta,       &txtViaDitta,       &txtCapDitta,    &txtCittaDitta, &txtProvDitta,  &txtIvaDitta,
                &txtCodFiscDitta, &txtLibero01,      &txtLibero02,    &txtCliente,    &txtViaCliente, &txtCapCliente,
                &txtCittaCliente, &txtProvCliente,   &txtIvaCliente,  &txtCodFiscCliente, &txtRiferimenti,
                &txtNumFatt,     &txtData,           &txtPagamento,   &txtBanca,      &txtIban,       &txtNote});
    // The VAT rate lies outside the circle and joins it at the notes.
    numberFields_.add(txtPercIva, &numberOnExit);
    txtPercIva.onKeyDown = [this](Word& key, QChar& keyChar, ShiftState) {
        if (key == vk::Tab) return;
        blankTotals();
        if (key == vk::Return) {
            txtNote.setFocus();
            return;
        }
        numberKey(key, keyChar, true);
    };
    txtPercIva.onExit = [this] { numberFields_.tidy(txtPercIva); };

    kit::tidyWhileTyping(txtIban, true, true);
    kit::tidyWhileTyping(txtCodFiscDitta, true, true);
    kit::tidyWhileTyping(txtCodFiscCliente, true, true);
    kit::tidyWhileTyping(txtProvDitta, true, true);
    kit::tidyWhileTyping(txtProvCliente, true, true);
    // Only the customer's province is tidied again on leaving.
    txtProvCliente.onExit = [this] {
        const QString tidy = upperAZ(trimmed(txtProvCliente.text()));
        if (tidy != txtProvCliente.text()) txtProvCliente.setText(tidy);
    };
    for (ComboEdit* c : {&txtProvDitta, &txtProvCliente}) c->onCanFocus = [c](bool&) { c->setItemIndex(-1); };
}

void DocumentEditor::bindHints()
{
    QList<std::pair<Control*, QString>> hints = {
        {&btnCancDitta, u"Cancella i dati della Ditta emittente."_qs},
        {&btnLogo, u"Carica il logo della Ditta emittente."_qs},
        {&btnIvaDitta, u"Controlla il numero di partita IVA."_qs},
        {&btnIvaCliente, u"Controlla il numero di partita IVA."_qs},
        {&btnCodFiscDitta, u"Controlla il codice fiscale."_qs},
        {&btnCodFiscCliente, u"Controlla il codice fiscale."_qs},
        {&impCliente, u"Importa i dati del Cliente dall'archivio anagrafico."_qs},
        {findControl(spec_.extraCommand), u"Apri la finestra per l'inserimento dei dati del trasporto."_qs},
        {&impOggi, u"Inserisci la data corrente."_qs},
        {&cmdCalcola, u"Effettua il calcolo dei totali."_qs},
        {&cmdGuida, u"Visualizza la pagina della guida sensibile al contesto."_qs},
        {&cmdEsci, u"Esci da questa schermata di lavoro."_qs},
    };
    for (const auto& [name, text] : spec_.hints) hints.append({&control<Control>(name), text});
    for (const auto& [c, text] : hints) showHint(*c, text);
    onMouseMove = [this](ShiftState, double, double) { panInfo.setText(QString()); };
}

void DocumentEditor::blankTotals()
{
    for (Label* total : {&txtTotImponibile, &txtTotImposta, &txtTotIva, &txtTotEsente, &txtTotFattura})
        total->setText(QString());
}

QString DocumentEditor::yearFile() const { return trimmed(lblFile.text()); }

// ---------------------------------------------------------------- life cycle

void DocumentEditor::FormCreate()
{
    applyProgramFormats();
    fitFieldWidths();
}

// Every edit takes the width of its record field; the rows of the later pages when they
// are built.
void DocumentEditor::fitFieldWidths()
{
    for (const archive::FieldDef& f : spec_.record->fields()) {
        Control* c = builtControl(f.control);
        if (auto* e = dynamic_cast<Edit*>(c)) e->setMaxLength(f.width);
        else if (auto* combo = dynamic_cast<ComboEdit*>(c)) combo->setMaxLength(f.width);
    }
}

void DocumentEditor::FormShow()
{
    loadIssuer(view_, kit::settingsFile());
    PulisciScheda();
}

// The issuing company on screen is kept for the next run, whatever document is shown. A
// settings file that cannot be written is reported; the window closes all the same.
void DocumentEditor::FormClose(CloseAction&)
{
    try {
        IniFile settings = kit::settingsFile();
        storeIssuer(view_, settings);
    } catch (const IniFileError& e) {
        errorBox(kit::settingsWriteFailure(u"Attenzione: non è stato possibile salvare i dati della Ditta emittente "
                                           u"nel file delle impostazioni \"Orvanta.ini\"."_qs, e));
    }
    if (orv::platform::ui::Form* menu = orv::kit::startWindow(u"frmAvvio"_qs)) menu->show();
}

void DocumentEditor::PulisciScheda()
{
    for (int p = 1; p <= kPages; ++p) page(p).setVisible(p == 1);
    txtProvDitta.setItemIndex(-1);
    txtProvCliente.setItemIndex(-1);
    editor_.blank();
}

void DocumentEditor::showPage(int number)
{
    page(number).show();
    for (int p = 1; p <= kPages; ++p) {
        if (p != number) page(p).hide();
    }
    row((number - 1) * kRowsPerPage + 1).txtQuant.setFocus();
}

// ---------------------------------------------------------------- archive commands

void DocumentEditor::cmdNuovoClick()
{
    using archive::EditorCommand;
    const kit::StartNumberKind* kind = kit::startNumberKind(spec_.callerTag);
    lblInizio.setText(kit::readStartNumber(spec_.callerTag));
    lblSolare.setText(kind ? kit::settingsFile().readString(kind->section, kYearSwitchKey, QString()) : QString());
    if (trimmed(lblInizio.text()).isEmpty()) lblInizio.setText(u"1"_qs);
    qint64 stored = 0;
    if (!editor_.withArchive(EditorCommand::New, [&](ArchiveFile& file) { stored = file.count(); })) return;
    PulisciScheda();
    const std::optional<QString> number = documentNumber(lblInizio.text(), stored, lblSolare.text(), currentYear());
    if (!number) {
        editor_.messages().show(editor_.config().accessKinds.of(EditorCommand::New), archive::kArchiveAccessMessage);
        return;
    }
    txtNumFatt.setText(*number);
    txtData.setText(dateToStr(today()));
    txtCliente.setFocus();
}

void DocumentEditor::cmdSalvaClick()
{
    // Save is a picture, which never takes the focus: a number typed just before is
    // tidied as leaving its field would, so what is calculated and stored is what the
    // field shows once it is left.
    numberFields_.tidyFocused(*this);
    // Totals of a calculation that stopped would be stored as "0,00" beside amounts that
    // say otherwise: the card is not saved until the value that stopped it is corrected.
    if (const std::optional<QString> stop = Calcola(view_)) {
        editor_.messages().show(archive::MessageKind::Warning,
                                calculationWarning(*spec_.record, *stop, view_.text(*stop)));
        focusField(*stop);
        return;
    }
    editor_.save();
}

void DocumentEditor::focusField(const QString& control)
{
    Control* c = findControl(control);
    if (!c) return;
    if (dynamic_cast<Label*>(c)) {
        if (!control.startsWith(u"txtImporto")) return;
        c = &row(control.right(2).toInt()).txtPrezzo;
    }
    for (const Row& r : rows_) {
        if (c == &r.txtQuant || c == &r.txtCodice || c == &r.txtDesc || c == &r.txtPrezzo || c == &r.txtPercSconto
            || c == &r.chkEs) {
            const int p = (r.number - 1) / kRowsPerPage + 1;
            for (int other = 1; other <= kPages; ++other) page(other).setVisible(other == p);
            break;
        }
    }
    c->setFocus();
}

void DocumentEditor::cmdCalcolaClick() { Calcola(view_); }

void DocumentEditor::cmdPrimoClick() { editor_.first(); }
void DocumentEditor::cmdIndietroClick() { editor_.previous(); }
void DocumentEditor::cmdAvantiClick() { editor_.next(); }
void DocumentEditor::cmdUltimoClick() { editor_.last(); }

void DocumentEditor::CaricaScheda(const QStringList& values) { archive::fillControls(view_, *spec_.record, values); }

void DocumentEditor::loadFound(const archive::FoundRecord& found)
{
    // Through the archive editor, which remembers the record as loaded for Save.
    editor_.show(spec_.record->decode(found.record), found.position);
}

// ---------------------------------------------------------------- other commands

void DocumentEditor::cmdAnteprimaClick() { openDocumentWindow(this, DocumentOutput::Preview); }
void DocumentEditor::cmdStampaClick() { openDocumentWindow(this, DocumentOutput::Print); }
void DocumentEditor::cmdPDFClick() { openDocumentWindow(this, DocumentOutput::Pdf); }
void DocumentEditor::cmdNumerazioneClick() { kit::showStartNumberWindow(this, spec_.callerTag); }
void DocumentEditor::cmdGuidaClick() { kit::showHelp(this, kHelpTitle, kit::helpText(helpParagraphs())); }
void DocumentEditor::cmdEsciClick() { close(); }

void DocumentEditor::btnCancDittaClick()
{
    for (const QString& c : issuerBlock()) view_.setText(c, QString());
    txtDitta.setFocus();
}

void DocumentEditor::btnLogoClick() { kit::showLogoWindow(this); }
void DocumentEditor::btnIvaDittaClick() { kit::openVatChecker(this, txtIvaDitta.text()); }
void DocumentEditor::btnIvaClienteClick() { kit::openVatChecker(this, txtIvaCliente.text()); }
void DocumentEditor::btnCodFiscDittaClick() { kit::openTaxCodeChecker(this, txtCodFiscDitta.text()); }
void DocumentEditor::btnCodFiscClienteClick() { kit::openTaxCodeChecker(this, txtCodFiscCliente.text()); }

void DocumentEditor::impClienteClick()
{
    if (spec_.findCustomer) spec_.findCustomer(this, spec_.callerTag);
}

void DocumentEditor::impOggiClick() { txtData.setText(dateToStr(today())); }

void DocumentEditor::impMagClick(int number)
{
    if (spec_.importArticle) spec_.importArticle(this, rowControl(spec_.rowTagPrefix, number), row(number).txtQuant.text());
}

} // namespace orv::documents
