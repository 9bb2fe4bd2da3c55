#include "warehouse/articolo.h"

#include <array>

#include "archive/helpers.h"
#include "customers/membertable.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::warehouse {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::warehouse

namespace orv::warehouse {

using orv::archive::FieldDef;
using orv::archive::FieldKind;
using orv::archive::RecordLayout;

namespace {

using Field = orv::customers::MemberField<TArticolo>;

// Record order; each member with its width and the editor control that carries it. The
// prices, the cost, the value, the rate and the stock figures are numbers, which Save
// refuses to cut, named as their captions name them.
const orv::customers::MemberTable<TArticolo, 32>& table()
{
    static const orv::customers::MemberTable<TArticolo, 32> t(std::array<Field, 32>{{
        {&TArticolo::Codice, {u"Codice"_qs, 30, u"txtCodice"_qs}},
        {&TArticolo::Tipologia, {u"Tipologia"_qs, 250, u"txtTipologia"_qs}},
        {&TArticolo::Marca, {u"Marca"_qs, 250, u"txtMarca"_qs}},
        {&TArticolo::Modello, {u"Modello"_qs, 250, u"txtModello"_qs}},
        {&TArticolo::Accessori, {u"Accessori"_qs, 250, u"txtAccessori"_qs}},
        {&TArticolo::Descrizione, {u"Descrizione"_qs, 250, u"txtDescrizione"_qs}},
        {&TArticolo::Fornitore, {u"Fornitore"_qs, 250, u"txtFornitore"_qs}},
        {&TArticolo::Recapiti, {u"Recapiti"_qs, 50, u"txtRecapiti"_qs}},
        {&TArticolo::Data, {u"Data"_qs, 50, u"txtData"_qs}},
        {&TArticolo::Costo, {u"Costo"_qs, 15, u"txtCosto"_qs, FieldKind::Number, u"Costo"_qs}},
        {&TArticolo::Valore, {u"Valore"_qs, 15, u"txtValore"_qs, FieldKind::Number, u"Valore"_qs}},
        {&TArticolo::Documento, {u"Documento"_qs, 250, u"txtDocumento"_qs}},
        {&TArticolo::Ordine, {u"Ordine"_qs, 250, u"txtOrdine"_qs}},
        {&TArticolo::Prezzo, {u"Prezzo"_qs, 15, u"txtPrezzo"_qs, FieldKind::Number, u"Prezzo"_qs}},
        {&TArticolo::PercIva, {u"PercIva"_qs, 2, u"txtPercIva"_qs, FieldKind::Number, u"Perc. IVA"_qs}},
        {&TArticolo::Prezzo_con_Iva, {u"Prezzo_con_Iva"_qs, 15, u"txtPrezzo_con_Iva"_qs, FieldKind::Number, u"Prezzo con IVA"_qs}},
        {&TArticolo::Collocazione, {u"Collocazione"_qs, 250, u"txtCollocazione"_qs}},
        {&TArticolo::Giacenza, {u"Giacenza"_qs, 15, u"txtGiacenza"_qs, FieldKind::Number, u"Giacenza"_qs}},
        {&TArticolo::Sottoscorta, {u"Sottoscorta"_qs, 15, u"txtSottoscorta"_qs, FieldKind::Number, u"Avviso sottoscorta"_qs}},
        {&TArticolo::Altezza, {u"Altezza"_qs, 30, u"memConsumo"_qs}},
        {&TArticolo::Larghezza, {u"Larghezza"_qs, 30, u"memAderenza"_qs}},
        {&TArticolo::Lunghezza, {u"Lunghezza"_qs, 30, u"memRumore"_qs}},
        {&TArticolo::Scadenza, {u"Scadenza"_qs, 30, u"memOnde"_qs}},
        {&TArticolo::Note, {u"Note"_qs, 250, u"txtNote"_qs}},
        {&TArticolo::File01, {u"File01"_qs, 250, u"lblFile01"_qs}},
        {&TArticolo::File02, {u"File02"_qs, 250, u"lblFile02"_qs}},
        {&TArticolo::File03, {u"File03"_qs, 250, u"lblFile03"_qs}},
        {&TArticolo::Desc01, {u"Desc01"_qs, 250, u"lblDesc01"_qs}},
        {&TArticolo::Desc02, {u"Desc02"_qs, 250, u"lblDesc02"_qs}},
        {&TArticolo::Desc03, {u"Desc03"_qs, 250, u"lblDesc03"_qs}},
        {&TArticolo::Cartella, {u"Cartella"_qs, 250, u"lblCartella"_qs}},
        {&TArticolo::CartellaDesc, {u"CartellaDesc"_qs, 250, u"lblCartellaDesc"_qs}},
    }});
    Q_ASSERT(t.layout().size() == TArticolo::kSize);
    return t;
}

} // namespace

const RecordLayout& TArticolo::layout() { return table().layout(); }

QStringList TArticolo::values() const { return table().values(*this); }

TArticolo TArticolo::fromValues(const QStringList& values) { return table().fromValues(values); }

QByteArray TArticolo::encode() const { return layout().encode(values()); }

TArticolo TArticolo::decode(const QByteArray& record) { return fromValues(layout().decode(record)); }

// ---------------------------------------------------------------- result lines

namespace {

using orv::platform::trimmed;

// Brand, one blank and model, padded or cut to 40 together. The blank stays in front of a
// model without brand, so this column is not trimmed as a whole.
QString brandAndModel(const TArticolo& a)
{
    return Sinistra(trimmed(a.Marca) + u' ' + trimmed(a.Modello) + QString(40, u' '), 40);
}

// Code, brand and model, and cost: the columns the finder and the inventory share.
orv::archive::LineBuilder articleColumns(const TArticolo& a, QStringView costLabel)
{
    orv::archive::LineBuilder b;
    b.col(a.Codice, 30).lit(u"  ").lit(brandAndModel(a)).lit(costLabel).col(a.Costo, 12).lit(u"  Giacenza: ")
        .col(a.Giacenza, 12);
    return b;
}

} // namespace

QString RigaTrovaMagazzino(const TArticolo& a) { return articleColumns(a, u"  Costo: ").lit(u"  Note: ").rest(a.Note); }

QString RigaSottoscorta(const TArticolo& a) { return RigaTrovaMagazzino(a); }

namespace {
struct ArticleFields {
    int codice, marca, modello, costo, giacenza, note, descrizione, prezzo;
};
const ArticleFields& articleFields()
{
    static const ArticleFields f = [] {
        const RecordLayout& l = TArticolo::layout();
        return ArticleFields{l.indexOf(u"Codice"_qs), l.indexOf(u"Marca"_qs),    l.indexOf(u"Modello"_qs),
                             l.indexOf(u"Costo"_qs),  l.indexOf(u"Giacenza"_qs), l.indexOf(u"Note"_qs),
                             l.indexOf(u"Descrizione"_qs), l.indexOf(u"Prezzo"_qs)};
    }();
    return f;
}
} // namespace

void RigaTrovaMagazzino(orv::archive::StoredLineBuilder& b)
{
    const ArticleFields& f = articleFields();
    b.col(f.codice, 30).lit(u"  ");
    const qsizetype brand = b.length();
    b.text(f.marca).lit(u" ").text(f.modello).fit(brand, 40);
    b.lit(u"  Costo: ").col(f.costo, 12).lit(u"  Giacenza: ").col(f.giacenza, 12).lit(u"  Note: ").last(f.note);
}

void RigaImportaMagazzino(orv::archive::StoredLineBuilder& b)
{
    const ArticleFields& f = articleFields();
    b.col(f.codice, 30).lit(u"  ").col(f.descrizione, 45).lit(u"  Prezzo: ").col(f.prezzo, 15).lit(u"  Giacenza: ")
        .last(f.giacenza);
}

QString RigaImportaMagazzino(const TArticolo& a)
{
    return orv::archive::LineBuilder()
        .col(a.Codice, 30)
        .lit(u"  ")
        .col(a.Descrizione, 45)
        .lit(u"  Prezzo: ")
        .col(a.Prezzo, 15)
        .lit(u"  Giacenza: ")
        .rest(a.Giacenza);
}

QString RigaInventario(const TArticolo& a)
{
    return articleColumns(a, u"  Costo: \u20ac ").lit(u"  Valore: \u20ac ").rest(a.Valore);
}

bool InEsaurimento(const TArticolo& a)
{
    double stock = 0, minimum = 0;
    if (!orv::warehouse::readNumber(a.Giacenza, stock) || !orv::warehouse::readNumber(a.Sottoscorta, minimum))
        throw orv::platform::ArchiveError(u"article \"%1\": stock or minimum stock is not a number"_qs.arg(a.Codice));
    return stock <= minimum;
}

} // namespace orv::warehouse

namespace orv::warehouse {

bool readNumber(const QString& text, double& value) { return tryStrToFloat(trimmed(text), value); }

namespace {

// A computed amount written, then read back and rounded to two decimals, with the
// amount-text rule.
QString amount(double v) { return NormalizzaImporto(floatToStr(v), AmountKind::Money, 2); }

QString orDefault(const QString& text, const QString& empty) { return trimmed(text).isEmpty() ? empty : text; }

const QString kZero = u"0"_qs;
const QString kZeroAmount = u"0,00"_qs;

} // namespace

std::optional<QString> prezzoConIva(const QString& prezzo, const QString& percIva, const QString& prezzoConIva)
{
    double p = 0, r = 0, current = 0;
    if (!readNumber(prezzo, p) || !readNumber(percIva, r) || !readNumber(prezzoConIva, current))
        return std::nullopt;
    const double tax = p * r / 100;
    return amount(p + tax);
}

std::optional<QString> prezzoSenzaIva(const QString& prezzoConIva, const QString& percIva)
{
    double c = 0, r = 0;
    if (!readNumber(prezzoConIva, c) || !readNumber(percIva, r)) return std::nullopt;
    return amount(c * 100 / (r + 100));
}

std::optional<QString> valoreGiacenza(const QString& costo, const QString& giacenza)
{
    double c = 0, g = 0;
    if (!readNumber(orDefault(costo, kZeroAmount), c) || !readNumber(orDefault(giacenza, kZero), g))
        return std::nullopt;
    return amount(c * g);
}

namespace {

const QString kPrezzo = u"txtPrezzo"_qs;
const QString kPercIva = u"txtPercIva"_qs;
const QString kPrezzoConIva = u"txtPrezzo_con_Iva"_qs;
const QString kCosto = u"txtCosto"_qs;
const QString kGiacenza = u"txtGiacenza"_qs;
const QString kValore = u"txtValore"_qs;
const QString kSottoscorta = u"txtSottoscorta"_qs;

void fillEmpty(archive::EditorView& card, std::initializer_list<std::pair<const QString&, const QString&>> fields)
{
    for (const auto& [control, empty] : fields)
        if (trimmed(card.text(control)).isEmpty()) card.setText(control, empty);
}

// After a warning of "Calcola" or "Scorpora": price, rate and price including VAT start
// again from nothing.
void resetPrices(archive::EditorView& card, archive::MessageService& messages, const QString& warning)
{
    messages.show(archive::MessageKind::Warning, warning);
    card.setText(kPrezzo, kZeroAmount);
    card.setText(kPercIva, kZero);
    card.setText(kPrezzoConIva, kZeroAmount);
    card.setFocus(kPrezzoConIva);
}

} // namespace

void calcolaPrezzoConIva(archive::EditorView& card, archive::MessageService& messages)
{
    fillEmpty(card, {{kPrezzo, kZeroAmount}, {kPercIva, kZero}, {kPrezzoConIva, kZeroAmount}});
    if (const auto v = prezzoConIva(card.text(kPrezzo), card.text(kPercIva), card.text(kPrezzoConIva)))
        card.setText(kPrezzoConIva, *v);
    else
        resetPrices(card, messages, kCalcolaWarning);
}

void scorporaIva(archive::EditorView& card, archive::MessageService& messages)
{
    fillEmpty(card, {{kPercIva, kZero}, {kPrezzoConIva, kZeroAmount}});
    double rate = 0;
    const auto v = prezzoSenzaIva(card.text(kPrezzoConIva), card.text(kPercIva));
    if (v && readNumber(card.text(kPercIva), rate)) {
        card.setText(kPrezzo, *v);
        card.setText(kPercIva, floatToStr(rate)); // a rate typed 07 becomes 7
    } else {
        resetPrices(card, messages, kScorporaWarning);
    }
}

void calcolaValore(archive::EditorView& card)
{
    fillEmpty(card, {{kCosto, kZeroAmount}, {kGiacenza, kZero}, {kValore, kZeroAmount}});
    if (const auto v = valoreGiacenza(card.text(kCosto), card.text(kGiacenza))) {
        card.setText(kValore, *v);
    } else {
        card.setText(kCosto, kZeroAmount);
        card.setText(kGiacenza, kZero);
        card.setText(kValore, kZeroAmount);
    }
}

namespace {

// Save's steps before the archive is opened. The stock and the minimum stock are whole
// numbers once saved; one that cannot be read ends Save with the archive message.
bool saveSteps(archive::ArchiveEditor& editor)
{
    archive::EditorView& card = editor.view();
    if (trimmed(card.text(u"txtCodice"_qs)).isEmpty()) {
        editor.messages().show(archive::MessageKind::Warning, kCodeWarning);
        card.setFocus(u"txtCodice"_qs);
        return false;
    }
    fillEmpty(card, {{kGiacenza, kZero}, {kSottoscorta, kZero}, {kPercIva, kZero}, {kCosto, kZeroAmount},
                     {kValore, kZeroAmount}, {kPrezzo, kZeroAmount}, {kPrezzoConIva, kZeroAmount}});
    for (const QString& control : {kGiacenza, kSottoscorta}) {
        double v = 0;
        if (!readNumber(card.text(control), v)) {
            editor.messages().show(editor.config().accessKinds.save, archive::kArchiveAccessMessage);
            return false;
        }
        card.setText(control, floatToStr(Arrotonda(v, 0)));
    }
    calcolaPrezzoConIva(card, editor.messages());
    calcolaValore(card);
    // A computed amount too long for its field is corrected where it comes from, the price
    // or the cost the user typed: Save fills the computed field in again anyway.
    const struct {
        const QString& computed;
        const QString& source;
    } derived[] = {{kValore, kCosto}, {kPrezzoConIva, kPrezzo}};
    for (const auto& d : derived) {
        for (const archive::FieldDef& f : TArticolo::layout().fields()) {
            if (f.control != d.computed || archive::fitsWidth(card.text(f.control), f.width)) continue;
            editor.messages().show(archive::MessageKind::Warning, archive::overlongNumberMessage(f, card.text(f.control)));
            card.setFocus(d.source);
            return false;
        }
    }
    return true;
}

} // namespace

archive::EditorConfig editorConfig()
{
    archive::EditorConfig c;
    c.layout = &TArticolo::layout();
    c.archivePath = [] { return programFile(TArticolo::kFileName); };
    c.firstControl = u"txtCodice"_qs;
    c.accessKinds = archive::AccessMessageKinds::warehouse();
    for (const QString& control : {kCosto, kValore, kPrezzo, kPrezzoConIva}) c.blankDefaults.insert(control, kZeroAmount);
    for (const QString& control : {kGiacenza, kSottoscorta, kPercIva}) c.blankDefaults.insert(control, kZero);
    c.duplicateClears = {u"lblFile01"_qs, u"lblFile02"_qs, u"lblFile03"_qs, u"lblDesc01"_qs, u"lblDesc02"_qs,
                         u"lblDesc03"_qs, u"lblCartella"_qs, u"lblCartellaDesc"_qs};
    c.checks = saveSteps;
    return c;
}

void calcolaTotale(const QString& direction, QString& giacenza, QString& quantita, QString& totale)
{
    for (QString* t : {&giacenza, &quantita, &totale})
        if (trimmed(*t).isEmpty()) *t = kZero;
    double a = 0, b = 0;
    if (!readNumber(giacenza, a) || !readNumber(quantita, b)) {
        giacenza = quantita = totale = kZero;
        return;
    }
    const QString d = trimmed(direction);
    if (d == kAdd)
        totale = floatToStr(a + b);
    else if (d == kSubtract)
        totale = floatToStr(a - b);
}

StockUnload unloadStock(const QByteArray& record, const QString& quantity)
{
    const TArticolo a = TArticolo::decode(record);
    long double q = 0, s = 0;
    if (!tryStrToFloat(trimmed(quantity), q) || !tryStrToFloat(a.Giacenza, s))
        throw ArchiveError(u"article \"%1\": quantity or stock is not a number"_qs.arg(a.Codice));
    StockUnload out;
    if (q > s) {
        out.aboveStock = true;
        return out;
    }
    out.giacenza = floatToStr(s - q);
    out.valore = valoreGiacenza(a.Costo, out.giacenza).value_or(kZeroAmount);
    const RecordLayout& l = TArticolo::layout();
    // Cut to its field a stock or a value would be stored as another number.
    for (const auto& [field, text] : {std::pair{u"Giacenza"_qs, out.giacenza}, std::pair{u"Valore"_qs, out.valore}}) {
        const int i = l.indexOf(field);
        if (!archive::fitsWidth(text, l.field(i).width)) {
            out.overlongField = i;
            return out;
        }
    }
    out.record = record;
    const auto store = [&](const QString& field, const QString& text) {
        const int i = l.indexOf(field);
        archive::storeText(out.record.data() + l.offset(i), l.field(i).width, text);
    };
    store(u"Giacenza"_qs, out.giacenza);
    store(u"Valore"_qs, out.valore);
    return out;
}

ImportUnload unloadChosen(ArchiveFile& file, const std::function<QString(const QByteArray&)>& line,
                          const archive::ResultLine& chosen, const QString& quantity)
{
    const QString wanted = trimmed(chosen.text);
    // Each round that finds the article changed by another workstation is a round in
    // which that workstation made progress; the bound only keeps a pathological archive
    // from holding the window.
    for (int round = 0; round < 64; ++round) {
        const auto found = CercaPerRiga(file, line, chosen);
        if (!found) break;
        ImportUnload out;
        bool changed = false;
        file.update(found->position - 1, [&](const QByteArray& current) -> std::optional<QByteArray> {
            if (trimmed(line(current)) != wanted) {
                changed = true;
                return std::nullopt;
            }
            out.before = current;
            out.unload = unloadStock(current, quantity);
            if (out.unload.aboveStock || out.unload.overlongField >= 0) {
                out.outcome = out.unload.aboveStock ? ImportUnload::Outcome::AboveStock
                                                    : ImportUnload::Outcome::Overlong;
                return std::nullopt;
            }
            out.outcome = ImportUnload::Outcome::Done;
            return out.unload.record;
        });
        if (!changed) return out;
    }
    return {};
}

bool inInventory(const TArticolo& a, const QString& filter)
{
    if (trimmed(filter).isEmpty()) return true;
    return !trimmed(a.Tipologia).isEmpty() && containsAZ(a.Tipologia, filter);
}

void fillInventory(ArchiveFile& file, const QString& filter, archive::ResultSink& out,
                   const std::function<void(double total)>& runningTotal)
{
    out.clear();
    double total = 0;
    const qint64 count = file.count();
    file.seek(0);
    for (qint64 i = 0; i < count; ++i) {
        const TArticolo a = TArticolo::decode(file.read());
        if (!inInventory(a, filter)) continue;
        double value = 0;
        if (!readNumber(a.Valore, value)) continue; // a damaged article hides none after it
        out.add(RigaInventario(a), i);
        total += value;
        runningTotal(total);
    }
}

QString inventoryTotal(double total)
{
    return u"\u20ac "_qs + NormalizzaImporto(floatToStr(total), AmountKind::Money, 4);
}

namespace {
struct ExportField {
    QString TArticolo::*member;
    const char* heading;
    int width;
    bool number = false;
};
// The exported columns in grid order, with the file's heading and width.
const ExportField kExportFields[] = {
    {&TArticolo::Codice, "Codice articolo", 250},
    {&TArticolo::Tipologia, "Tipologia", 250},
    {&TArticolo::Marca, "Marca", 250},
    {&TArticolo::Modello, "Modello", 250},
    {&TArticolo::Descrizione, "Descrizione", 400},
    {&TArticolo::Accessori, "Accessori", 400},
    {&TArticolo::Fornitore, "Fornitore", 250},
    {&TArticolo::Recapiti, "Recapito preferenziale", 250},
    {&TArticolo::Data, "Data acquisto", 200},
    {&TArticolo::Documento, "Estremi documento acquisto", 350},
    {&TArticolo::Ordine, "Modalità ordine merce", 350},
    {&TArticolo::Giacenza, "Giacenza", 200, true},
    {&TArticolo::Costo, "Costo", 200, true},
    {&TArticolo::Valore, "Valore", 200, true},
    {&TArticolo::Prezzo, "Prezzo senza IVA", 200, true},
    {&TArticolo::PercIva, "Perc. IVA", 150, true},
    {&TArticolo::Prezzo_con_Iva, "Prezzo con IVA", 200, true},
    {&TArticolo::Collocazione, "Collocazione in magazzino", 350},
    {&TArticolo::Altezza, "Altezza", 200},
    {&TArticolo::Larghezza, "Larghezza", 200},
    {&TArticolo::Lunghezza, "Lunghezza", 200},
    {&TArticolo::Scadenza, "Scadenza", 200},
    {&TArticolo::Note, "Note", 400},
};
} // namespace

const archive::ExportSheet& exportSheet()
{
    static const archive::ExportSheet sheet = [] {
        archive::ExportSheet s{u"Magazzino.xls"_qs, u"Magazzino"_qs, {}};
        for (const ExportField& f : kExportFields)
            s.columns.append({QString::fromUtf8(f.heading), f.width, false, f.number});
        return s;
    }();
    return sheet;
}

QStringList exportRow(const TArticolo& a)
{
    QStringList cells;
    for (const ExportField& f : kExportFields) cells.append(trimmed(a.*f.member));
    return cells;
}

} // namespace orv::warehouse
