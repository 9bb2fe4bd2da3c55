#include "printing/quotelayout.h"

#include "printing/doclayout.h"

#include <functional>
#include <map>
#include <vector>

namespace orv::printing {
using namespace orv::report;
} // namespace orv::printing

namespace orv::printing {

using namespace Qt::StringLiterals;

} // namespace orv::printing

namespace orv::printing {

namespace {

constexpr TAlphaColor kOrange = 0xFFFFA500;

QString row(const QString& prefix, int n) { return prefix + QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

// The six columns of the article table: title, cell prefix, left, width, alignment.
struct Column {
    const char16_t *title, *titleText, *cell;
    double left, width;
    TfrxHAlign align;
};
constexpr Column kColumns[] = {
    {u"titQuant", u"Quant.", u"txtQuant", 4, 13, haCenter},
    {u"titCodice", u"Codice art.", u"txtCodice", 19, 39, haLeft},
    {u"titDesc", u"Descrizione", u"txtDesc", 60, 75, haLeft},
    {u"titPrezzo", u"Prezzo", u"txtPrezzo", 137, 17, haRight},
    {u"titPercSconto", u"% Sc.", u"txtPercSconto", 156, 11, haCenter},
    {u"titImporto", u"Imp. tot.", u"txtImporto", 169, 17.2, haRight},
};
// The lines at the right edges of the first five columns, by name.
constexpr std::pair<const char16_t*, double> kColumnLines[] = {
    {u"linSepara05", 59}, {u"linSepara06", 18}, {u"linSepara07", 136}, {u"linSepara08", 168}, {u"linSepara09", 155},
};

// The totals box: title memo and text, value memo, their lefts and widths, value alignment.
struct Total {
    const char16_t *title, *titleText, *value;
    double titleLeft, titleWidth, valueLeft, valueWidth;
    TfrxHAlign align;
};
constexpr Total kTotals[] = {
    {u"titTotImponibile", u"TOT. IMPONIBILE", u"txtTotImponibile", 3, 31.8, 4, 29.6, haRight},
    {u"titPercIva", u"% IVA", u"txtPercIva", 35, 22, 35.8, 20.5, haCenter},
    {u"titTotImposta", u"TOT. IMPOSTA", u"txtTotImposta", 57.2, 32.4, 58.2, 29.6, haRight},
    {u"titTotIva", u"TOT. IVA INCLUSA", u"txtTotIva", 89.6, 32.8, 91, 29.6, haRight},
    {u"titTotEsente", u"TOT. ESENTE", u"txtTotEsente", 122.6, 32.2, 123.8, 29.6, haRight},
    {u"titTotFattura", u"", u"txtTotFattura", 155, 32, 156, 29.6, haRight},
};
constexpr std::pair<const char16_t*, double> kTotalLines[] = {
    {u"linSepara10", 35}, {u"linSepara11", 57.2}, {u"linSepara12", 89.6}, {u"linSepara13", 122.6},
    {u"linSepara14", 155},
};

// A memo, a prefix and the editor's hidden label it prints.
struct Labelled {
    const char16_t *memo, *prefix, *label;
};
// The quote's extra information, in the order the fill writes it.
constexpr Labelled kExtraInformation[] = {
    {u"txtVeicolo", u"Destinazione merce:  ", u"memVeicolo"},
    {u"txtMarca", u"Vettore:  ", u"memMarca"},
    {u"txtColore", u"Aspetto esteriore dei beni:  ", u"memColore"},
    {u"txtImmatricolazione", u"Porto:  ", u"memImmatricolazione"},
    {u"txtAlimentazione", u"Causale del trasporto:  ", u"memAlimentazione"},
    {u"txtTarga", u"Numero colli:  ", u"memTarga"},
};
// The delivery note's transport data.
constexpr Labelled kTransport[] = {
    {u"txtVettore", u"Vettore:  ", u"memVettore"},
    {u"txtDestinazione", u"Destinazione merce:  ", u"memDestinazione"},
    {u"txtCausale", u"Causale del trasporto:  ", u"memCausale"},
    {u"txtAspetto", u"Aspetto esteriore dei beni:  ", u"memAspetto"},
    {u"txtOraPartenza", u"Inizio trasporto:  ", u"memOraPartenza"},
    {u"txtOraConsegna", u"Consegna:  ", u"memOraConsegna"},
    {u"txtPorto", u"Porto:  ", u"memPorto"},
};

const QString kPrivacy = u"I dati personali del Cliente saranno trattati nel rispetto della normativa sulla privacy "
                         u"esclusivamente per l'erogazione del servizio e non saranno forniti a terzi."_s;
const QString kConai = u"CONTRIBUTI CONAI E SIAE ASSOLTI OVE DOVUTO."_s;

QString s(const char16_t* text) { return QString::fromUtf16(text); }

// Every object of the page, made by name; the page is then built in its drawing order.
class Pieces {
public:
    explicit Pieces(TradeDocument kind) : kind_(kind) { define(); }

    void build(LayoutBuilder& b, const QStringList& order) const
    {
        for (const QString& name : order) pieces_.at(name)(b);
    }

private:
    using Make = std::function<void(LayoutBuilder&)>;
    TradeDocument kind_;
    std::map<QString, Make> pieces_;

    void add(const QString& name, Make make) { pieces_.emplace(name, std::move(make)); }
    void memo(const QString& name, double l, double t, double w, double h, double pt, MemoFlags flags = Plain,
              const QString& text = {}, TfrxHAlign align = haLeft, TAlphaColor fill = claNull)
    {
        add(name, [=](LayoutBuilder& b) {
            TfrxMemoView& m = b.memo(name, l, t, w, h, pt, flags, text);
            if (align == haRight) m.SetHAlign(haRight);
            if (fill != claNull) m.SetColor(fill);
        });
    }
    void shape(const QString& name, double l, double t, double w, double h, TAlphaColor fill = claNull)
    {
        add(name, [=](LayoutBuilder& b) { b.shape(name, l, t, w, h, fill); });
    }
    void hline(const QString& name, double l, double t, double len)
    {
        add(name, [=](LayoutBuilder& b) { b.hline(name, l, t, len); });
    }
    void vline(const QString& name, double l, double t, double len)
    {
        add(name, [=](LayoutBuilder& b) { b.vline(name, l, t, len); });
    }

    void define()
    {
        const bool quote = kind_ == TradeDocument::Quote;
        shape(u"shpGabbia"_s, 1, 1, 188, 275);
        add(u"imgLogo"_s, [](LayoutBuilder& b) { b.logo(3, 3, 77, 38); });
        shape(u"shpNumFatt"_s, 84, 3, 103, 12, kLavender);
        const double numberWidth = quote ? 97 : 99;
        memo(u"txtNumFatt"_s, 87, 4.5, numberWidth, 4, 9, Bold);
        memo(u"txtData"_s, 87, 9.5, numberWidth, 4, 9);

        memo(u"titSpettabile"_s, 84, 17, 77, 5, 8, Plain, u"Spettabile"_s);
        memo(u"txtCliente"_s, 84, 23, 103, 5, 9);
        memo(u"txtViaCliente"_s, 84, 27.5, 103, 5, 9);
        memo(u"txtCittaCliente"_s, 84, 32, 103, 5, 9);
        memo(u"txtIvaCliente"_s, 84, 38, 103, 5, 8);
        memo(u"txtCodFiscCliente"_s, 84, 42.5, 103, 5, 8);
        memo(u"titRiferimenti"_s, 84, 48, 100, 5, 8, Plain, u"Riferimenti:"_s);
        memo(u"txtRiferimenti"_s, 84, 52.5, 103, 5, 8);

        shape(u"shpBanca"_s, 84, 58, 103, 17, kLavender);
        memo(u"txtPagamento"_s, 86, 60, 98, 5, 8);
        memo(u"txtBanca"_s, 86, 65, 98, 5, 8);
        memo(u"txtIban"_s, 86, 70, 98, 5, 8);

        memo(u"txtDitta"_s, 3, 46, 77, 5, 9);
        memo(u"txtViaDitta"_s, 3, 50.5, 77, 5, 9);
        memo(u"txtCittaDitta"_s, 3, 55, 77, 5, 9);
        memo(u"txtIvaDitta"_s, 3, 59.5, 77, 5, 8);
        memo(u"txtLibero01"_s, 3, 65, 77, 4, 8);
        memo(u"txtLibero02"_s, 3, 69.5, 77, 4, 8);

        hline(u"linNote"_s, 3, 75, 81);
        memo(u"txtNote"_s, 3, 76, 184, 4, 8, Middle);

        shape(u"shpArticoli"_s, 3, 81.5, 184, 157);
        hline(u"linSepara01"_s, 3, 87, 184);
        for (const auto& [name, left] : kColumnLines) vline(s(name), left, 81.5, 157);
        for (const Column& c : kColumns) {
            const MemoFlags centred = c.align == haCenter ? Centre : Plain;
            memo(s(c.title), c.left, 82.5, c.width, 4, 8, Centre, s(c.titleText));
            for (int n = 1; n <= 30; ++n)
                memo(row(s(c.cell), n), c.left, 88 + 5 * (n - 1), c.width, 4.5, 8, centred, {}, c.align);
        }

        shape(u"shpRiepilogo"_s, 3, 240, 184, 9.5);
        for (const Total& t : kTotals) {
            const bool last = QStringView(t.title) == u"titTotFattura";
            const QString titleText = last ? (quote ? u"TOT. PREVENTIVO"_s : u"TOT. DDT"_s) : s(t.titleText);
            memo(s(t.title), t.titleLeft, 240.1, t.titleWidth, 4.4, 8, Centre | (last ? Bold : Plain), titleText,
                 haCenter, last ? kOrange : kLavender);
            const MemoFlags flags = (t.align == haCenter ? Centre : Plain) | (last ? Bold : Plain);
            const double top = QStringView(t.value) == u"txtPercIva" ? 245 : 245.4;
            memo(s(t.value), t.valueLeft, top, t.valueWidth, 3.8, 8, flags, {}, t.align);
        }
        hline(u"linSepara02"_s, 3, 244.5, 184);
        for (const auto& [name, left] : kTotalLines) vline(s(name), left, 240, 9.6);

        if (quote) {
            shape(u"shpDatiVeicolo"_s, 3, 251, 184, 17);
            hline(u"linSepara03"_s, 3, 257, 184);
            hline(u"linSepara04"_s, 3, 262.5, 184);
            vline(u"Line1"_s, 122.6, 251, 6);
            vline(u"Line2"_s, 144, 257, 11);
            memo(u"txtVeicolo"_s, 4, 252, 117.4, 4, 8);
            memo(u"txtMarca"_s, 123.8, 252, 62.2, 4, 8);
            memo(u"txtColore"_s, 4, 258, 139, 4, 8);
            memo(u"txtImmatricolazione"_s, 145, 258, 41, 4, 8);
            memo(u"txtAlimentazione"_s, 4, 263.4, 139, 4, 8);
            memo(u"txtTarga"_s, 145, 263.4, 41, 4, 8);
            memo(u"titPrivacy"_s, 3, 269, 194, 3.5, 6, Plain, kPrivacy);
            memo(u"titConai"_s, 3, 272.5, 184, 3.2, 6, Plain, kConai);
        } else {
            shape(u"shpDatiVeicolo"_s, 3, 251, 184, 20.4);
            hline(u"linSepara03"_s, 3, 256, 184);
            hline(u"linSepara04"_s, 3, 261.2, 184);
            vline(u"linSepara15"_s, 95, 251, 20.5);
            hline(u"Line1"_s, 3, 266.2, 92);
            vline(u"Line2"_s, 39, 266.2, 5.2);
            vline(u"Line3"_s, 140.5, 261.2, 10.2);
            memo(u"txtVettore"_s, 5, 251.7, 89, 3.4, 7);
            memo(u"txtDestinazione"_s, 97, 251.7, 89, 3.4, 7);
            memo(u"txtCausale"_s, 5, 256.8, 89, 3.4, 7);
            memo(u"txtAspetto"_s, 97, 256.8, 89, 3.4, 7);
            memo(u"txtOraPartenza"_s, 5, 262, 44, 3.2, 6);
            memo(u"txtOraConsegna"_s, 50, 262, 44, 3.2, 6);
            memo(u"txtPorto"_s, 5, 267.4, 32, 3.2, 6);
            memo(u"Memo1"_s, 40, 267.6, 54, 3.2, 5, Plain, kConai);
            memo(u"titFirmaVettore"_s, 97, 261.5, 28, 2.4, 4, Plain, u"FIRMA VETTORE O CONDUCENTE:"_s);
            memo(u"titFirmaCliente"_s, 143, 261.5, 28, 2.4, 4, Plain, u"FIRMA DI CHI RITIRA LA MERCE:"_s);
            memo(u"titPrivacy"_s, 2, 272.4, 195, 3, 6, Plain, kPrivacy);
        }
    }
};

QStringList names(std::initializer_list<const char16_t*> list)
{
    QStringList out;
    for (const char16_t* n : list) out << s(n);
    return out;
}

QStringList cells(const char16_t* prefix)
{
    QStringList out;
    for (int n = 1; n <= 30; ++n) out << row(s(prefix), n);
    return out;
}

// The drawing order of the page, later objects over earlier ones.
QStringList drawingOrder(TradeDocument kind)
{
    const bool quote = kind == TradeDocument::Quote;
    QStringList order;
    order << u"shpRiepilogo"_s;
    if (!quote) order << u"shpDatiVeicolo"_s;
    order << names({u"shpGabbia", u"imgLogo", u"shpNumFatt", u"txtNumFatt", u"txtData", u"txtDitta", u"txtViaDitta",
                    u"txtCittaDitta", u"txtIvaDitta", u"txtLibero01", u"txtLibero02", u"titSpettabile",
                    u"txtViaCliente", u"txtCittaCliente", u"txtIvaCliente", u"txtCodFiscCliente", u"titRiferimenti",
                    u"txtRiferimenti", u"shpBanca", u"txtPagamento", u"txtBanca", u"txtIban", u"linNote", u"txtNote",
                    u"shpArticoli"});
    order << (quote ? names({u"titConai", u"titPrivacy"}) : names({u"titFirmaVettore", u"titPrivacy"}));
    order << u"titQuant"_s << u"linSepara01"_s << cells(u"txtQuant");
    order << (quote ? u"shpDatiVeicolo"_s : u"linSepara02"_s);
    order << u"titTotImponibile"_s << u"txtTotImponibile"_s;
    order << (quote ? names({u"txtVeicolo", u"txtColore", u"txtAlimentazione"})
                    : names({u"txtVettore", u"txtCausale", u"txtOraPartenza"}));
    order << names({u"linSepara03", u"linSepara04", u"txtCliente", u"linSepara05", u"linSepara06", u"linSepara07",
                    u"linSepara08", u"linSepara09", u"titCodice", u"titDesc", u"titPrezzo", u"titPercSconto",
                    u"titImporto"});
    for (const char16_t* column : {u"txtCodice", u"txtDesc", u"txtPrezzo", u"txtPercSconto", u"txtImporto"})
        order << cells(column);
    order << names({u"titTotFattura", u"txtTotFattura", u"titTotEsente", u"txtTotEsente", u"titTotIva", u"txtTotIva",
                    u"titTotImposta", u"txtTotImposta", u"titPercIva", u"txtPercIva"});
    if (quote)
        order << names({u"txtMarca", u"txtImmatricolazione", u"txtTarga", u"Line1", u"Line2"});
    else
        order << names({u"linSepara15", u"txtDestinazione", u"txtAspetto", u"txtOraConsegna", u"txtPorto", u"Line1",
                        u"Line2", u"titFirmaCliente", u"Line3", u"Memo1"});
    order << names({u"linSepara10", u"linSepara11", u"linSepara12", u"linSepara13", u"linSepara14"});
    if (quote) order << u"linSepara02"_s;
    return order;
}

// "a b c" of the parts, each trimmed alone; the joined text is left as it is.
QString joined(const DocumentFill& f, std::initializer_list<const char16_t*> controls)
{
    QStringList parts;
    for (const char16_t* c : controls) parts << f.value(s(c));
    return parts.join(u' ');
}

QString unlessEmpty(const QString& prefix, const QString& value) { return value.isEmpty() ? QString() : prefix + value; }

} // namespace

std::unique_ptr<TfrxReport> tradeDocumentLayout(TradeDocument kind)
{
    auto report = newDocumentReport(kind == TradeDocument::Quote ? u"Preventivo"_s : u"Documento di Trasporto"_s);
    LayoutBuilder b(*report);
    Pieces(kind).build(b, drawingOrder(kind));
    return report;
}

void fillTradeDocument(DocumentFill& f, TradeDocument kind)
{
    const bool quote = kind == TradeDocument::Quote;
    const auto same = [&f](const QString& name) { f.set(name, f.value(name)); };
    f.set(u"txtNumFatt"_s,
          (quote ? u"Preventivo n. "_s : u"Documento di Trasporto n. "_s) + f.value(u"txtNumFatt"_s));
    f.set(u"txtData"_s, u"Data emissione:  "_s + f.value(u"txtData"_s));
    same(u"txtDitta"_s);
    same(u"txtViaDitta"_s);
    f.set(u"txtCittaDitta"_s, joined(f, {u"txtCapDitta", u"txtCittaDitta", u"txtProvDitta"}));
    f.set(u"txtIvaDitta"_s, u"P.IVA: "_s + f.value(u"txtIvaDitta"_s) + u"  C.F. "_s + f.value(u"txtCodFiscDitta"_s));
    same(u"txtLibero01"_s);
    same(u"txtLibero02"_s);
    same(u"txtCliente"_s);
    same(u"txtViaCliente"_s);
    f.set(u"txtCittaCliente"_s, joined(f, {u"txtCapCliente", u"txtCittaCliente", u"txtProvCliente"}));
    f.set(u"txtCodFiscCliente"_s, unlessEmpty(u"C.F. "_s, f.value(u"txtCodFiscCliente"_s)));
    f.set(u"txtIvaCliente"_s, unlessEmpty(u"P.IVA: "_s, f.value(u"txtIvaCliente"_s)));
    same(u"txtRiferimenti"_s);
    f.set(u"txtPagamento"_s, u"Pagamento: "_s + f.value(u"txtPagamento"_s));
    f.set(u"txtBanca"_s, u"Banca d'appoggio: "_s + f.value(u"txtBanca"_s));
    f.set(u"txtIban"_s, u"IBAN: "_s + f.value(u"txtIban"_s));
    f.set(u"txtNote"_s, u"Note: "_s + f.value(u"txtNote"_s));
    for (const Column& c : kColumns) f.set(s(c.title), s(c.titleText));
    for (const Column& c : kColumns)
        for (int n = 1; n <= 30; ++n) same(row(s(c.cell), n));
    for (const Total& t : kTotals) {
        const bool last = QStringView(t.title) == u"titTotFattura";
        f.set(s(t.title), last ? (quote ? u"TOT. PREVENTIVO"_s : u"TOT. DDT"_s) : s(t.titleText));
    }
    for (const Total& t : kTotals) same(s(t.value));
    if (quote)
        for (const Labelled& l : kExtraInformation) f.set(s(l.memo), s(l.prefix) + f.value(s(l.label)));
    else
        for (const Labelled& l : kTransport) f.set(s(l.memo), s(l.prefix) + f.value(s(l.label)));
}

TradeDocumentWindow::TradeDocumentWindow(QWidget* owner, TradeDocument kind, const QString& name, Output output,
                                         Buttons buttons)
    : DocumentWindow(owner,
                     {.name = name,
                      .output = output,
                      .buttons = buttons,
                      .editor = kind == TradeDocument::Quote ? u"frmPreventivi"_s : u"frmDDT"_s,
                      .pdfFile = output != Output::Pdf                ? QString()
                                 : kind == TradeDocument::Quote ? u"Preventivo.pdf"_s
                                                                : u"DDT.pdf"_s,
                      .pictureTop = 0},
                     [kind] { return tradeDocumentLayout(kind); },
                     // Both documents write their PDF streams uncompressed.
                     false),
      kind_(kind)
{
}

void TradeDocumentWindow::fill(DocumentFill& f) { fillTradeDocument(f, kind_); }

} // namespace orv::printing
