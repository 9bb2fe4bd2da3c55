#include "documents/documento.h"

#include "archive/helpers.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "documents/numeri.h"

#include <array>
#include <cmath>

namespace orv::documents {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::documents

namespace orv::documents {

using orv::archive::FieldDef;
using orv::archive::FieldKind;
using orv::archive::RecordLayout;

} // namespace orv::documents

namespace orv::documents {

QString rowControl(QStringView prefix, int row)
{
    return prefix.toString() + QString::number(row).rightJustified(2, u'0');
}

const QStringList& totalLabels()
{
    static const QStringList labels = {u"txtTotImponibile"_qs, u"txtTotImposta"_qs, u"txtTotIva"_qs,
                                       u"txtTotEsente"_qs, u"txtTotFattura"_qs};
    return labels;
}

RecordLayout documentLayout(const QList<FieldDef>& extra, const QString& totalCaption)
{
    const auto text = [](const char16_t* name, int width) {
        const QString n = QString::fromUtf16(name);
        return FieldDef{n, width, u"txt"_qs + n};
    };
    const auto number = [](const QString& name, int width, const QString& caption) {
        return FieldDef{name, width, u"txt"_qs + name, FieldKind::Number, caption};
    };
    std::vector<FieldDef> fields = {
        text(u"NumFatt", 30),      text(u"Data", 20),          text(u"Ditta", 50),       text(u"ViaDitta", 50),
        text(u"CapDitta", 12),     text(u"CittaDitta", 50),    text(u"ProvDitta", 2),    text(u"IvaDitta", 30),
        text(u"CodFiscDitta", 30), text(u"Libero01", 50),      text(u"Libero02", 50),    text(u"Cliente", 50),
        text(u"ViaCliente", 50),   text(u"CapCliente", 12),    text(u"CittaCliente", 50), text(u"ProvCliente", 2),
        text(u"IvaCliente", 30),   text(u"CodFiscCliente", 30), text(u"Riferimenti", 50), text(u"Pagamento", 50),
        text(u"Banca", 50),        text(u"Iban", 50),
    };
    fields.insert(fields.end(), extra.begin(), extra.end());
    // The rows column by column: all thirty quantities, then all thirty codes, and so on.
    // Quantities, prices, discounts and amounts are numbers, named by their column's title
    // and the row.
    const struct {
        const char16_t* name;
        int width;
        const char16_t* title; // nullptr: a text column
    } columns[] = {{u"Quant", 6, u"Quant."},      {u"Codice", 20, nullptr},       {u"Desc", 55, nullptr},
                   {u"Prezzo", 10, u"Prezzo"},    {u"PercSconto", 6, u"% Sc."},   {u"Importo", 10, u"Importo tot."}};
    for (const auto& c : columns) {
        for (int row = 1; row <= kRows; ++row) {
            const QString name = rowControl(c.name, row);
            if (c.title)
                fields.push_back(number(name, c.width, u"%1 (riga %2)"_qs.arg(QString::fromUtf16(c.title)).arg(row)));
            else
                fields.push_back({name, c.width, u"txt"_qs + name});
        }
    }
    for (int row = 1; row <= kRows; ++row)
        fields.push_back({rowControl(u"Es", row), 2, rowControl(u"chkEs", row), FieldKind::Flag});
    const std::pair<const char16_t*, QString> totals[] = {
        {u"TotImponibile", u"Tot. imponibile"_qs}, {u"PercIva", u"IVA"_qs},         {u"TotImposta", u"Tot. imposta"_qs},
        {u"TotIva", u"Tot. IVA inclusa"_qs},       {u"TotEsente", u"Tot. esente"_qs}, {u"TotFattura", totalCaption},
    };
    for (const auto& [name, caption] : totals) fields.push_back(number(QString::fromUtf16(name), 10, caption));
    fields.push_back(text(u"Note", 250));
    fields.push_back({u"Saldata"_qs, 2, u"chkSaldata"_qs, FieldKind::Flag});
    return RecordLayout(std::move(fields));
}

// ---------------------------------------------------------------- calculation

namespace {

// A text that is not a number, or a value no double can hold, ends the calculation; it
// names the control whose text did it (empty while the step that overflowed is unknown).
struct NotANumber {
    QString control;
};

long double number(const QString& text, const QString& control = {})
{
    long double v = 0;
    if (!readNumber(text, v)) throw NotANumber{control};
    return v;
}

// A value kept between two steps: rounded to a double.
double stored(long double v)
{
    const double d = double(v);
    if (!std::isfinite(d)) throw NotANumber{};
    return d;
}

// An amount shown with its long form.
QString amountText(double v) { return NormalizzaImporto(numberText(v)); }

// A sum as a total: written, read back, rounded to two decimals, shown.
QString sumText(double sum) { return amountText(Arrotonda(stored(number(numberText(sum))), 2)); }

void calculateRow(archive::EditorView& v, int row)
{
    const QString discountField = rowControl(u"txtPercSconto", row);
    const QString quantity = rowControl(u"txtQuant", row);
    const QString price = rowControl(u"txtPrezzo", row);
    if (trimmed(v.text(quantity)).isEmpty() && trimmed(v.text(price)).isEmpty()) return;
    if (trimmed(v.text(quantity)).isEmpty()) v.setText(quantity, u"1"_qs);
    if (trimmed(v.text(price)).isEmpty()) v.setText(price, u"0,00"_qs);
    const QString discountText = trimmed(v.text(discountField));
    const double discount = discountText.isEmpty() ? 0 : stored(number(discountText, discountField));
    const long double p = number(trimmed(v.text(price)), price);
    const long double q = number(trimmed(v.text(quantity)), quantity);
    const double gross = stored(q * p);
    const double cut = stored(static_cast<long double>(gross) * discount / 100);
    const double net = stored(static_cast<long double>(gross) - cut);
    // The net amount goes through its 15-digit text before it is rounded.
    const double shown = stored(number(numberText(net)));
    v.setText(rowControl(u"txtImporto", row), amountText(Arrotonda(shown, 4)));
}

void calculateTotals(archive::EditorView& v)
{
    std::array<double, kRows> amounts{};
    for (int row = 1; row <= kRows; ++row) {
        const QString amount = rowControl(u"txtImporto", row);
        const QString t = trimmed(v.text(amount));
        amounts[size_t(row - 1)] = t.isEmpty() ? 0 : stored(number(t, amount));
    }
    const auto sum = [&](bool exempt) {
        double s = 0;
        for (int row = 1; row <= kRows; ++row) {
            if (v.isChecked(rowControl(u"chkEs", row)) == exempt)
                s = stored(static_cast<long double>(s) + amounts[size_t(row - 1)]);
        }
        return s;
    };
    const double taxable = sum(false);
    v.setText(u"txtTotImponibile"_qs, sumText(taxable));
    if (trimmed(v.text(u"txtPercIva"_qs)).isEmpty()) v.setText(u"txtPercIva"_qs, u"0"_qs);
    const long double rate = number(v.text(u"txtPercIva"_qs), u"txtPercIva"_qs);
    const double vat = stored(rate * taxable / 100);
    const double withVat = stored(static_cast<long double>(taxable) + vat);
    v.setText(u"txtTotImposta"_qs, amountText(Arrotonda(vat, 2)));
    v.setText(u"txtTotIva"_qs, amountText(Arrotonda(withVat, 2)));
    const double exempt = sum(true);
    v.setText(u"txtTotEsente"_qs, sumText(exempt));
    v.setText(u"txtTotFattura"_qs, amountText(Arrotonda(stored(static_cast<long double>(withVat) + exempt), 2)));
}

} // namespace

std::optional<QString> Calcola(archive::EditorView& view)
{
    QString stop;
    try {
        for (int row = 1; row <= kRows; ++row) {
            try {
                calculateRow(view, row);
            } catch (const NotANumber& e) {
                // A row's numbers overflow only through its price times its quantity.
                throw NotANumber{e.control.isEmpty() ? rowControl(u"txtPrezzo", row) : e.control};
            }
        }
        calculateTotals(view);
        return std::nullopt;
    } catch (const NotANumber& e) {
        stop = e.control.isEmpty() ? u"txtPercIva"_qs : e.control;
    }
    for (const QString& total : totalLabels()) view.setText(total, u"0,00"_qs);
    return stop;
}

QString calculationWarning(const RecordLayout& layout, const QString& control, const QString& value)
{
    QString caption = control;
    for (const FieldDef& f : layout.fields())
        if (f.control == control) caption = f.title();
    return u"Attenzione: il valore \"%1\" del campo \"%2\" non \u00e8 un numero valido, per cui non \u00e8 stato "
           u"possibile calcolare i totali.\n\r\n\rLa scheda non \u00e8 stata salvata. Correggere il valore e premere "
           u"di nuovo Salva."_qs.arg(trimmed(value), caption);
}

// ---------------------------------------------------------------- issuing company

const QList<IssuerKey>& issuerKeys()
{
    static const QList<IssuerKey> keys = {
        {u"Nome"_qs, u"txtDitta"_qs},
        {u"Indirizzo"_qs, u"txtViaDitta"_qs},
        {u"CAP"_qs, u"txtCapDitta"_qs},
        {u"Comune"_qs, u"txtCittaDitta"_qs},
        {u"Provincia"_qs, u"txtProvDitta"_qs},
        {u"Partita IVA"_qs, u"txtIvaDitta"_qs},
        {u"Codice Fiscale"_qs, u"txtCodFiscDitta"_qs},
        {u"Campo Libero 1"_qs, u"txtLibero01"_qs},
        {u"Campo Libero 2"_qs, u"txtLibero02"_qs},
        {u"Pagamento"_qs, u"txtPagamento"_qs},
        {u"Banca Appoggio"_qs, u"txtBanca"_qs},
        {u"Iban"_qs, u"txtIban"_qs},
        {u"Aliquota Iva"_qs, u"txtPercIva"_qs},
    };
    return keys;
}

void loadIssuer(archive::EditorView& view, const IniFile& settings)
{
    QStringList keys;
    for (const IssuerKey& k : issuerKeys()) keys << k.key;
    const QStringList values = settings.readStrings(kIssuerSection, keys, QString());
    for (qsizetype i = 0; i < issuerKeys().size(); ++i) view.setText(issuerKeys()[i].control, values[i]);
}

// All keys in one write: another workstation closing its editor meanwhile never leaves
// the file with half of one issuer and half of the other.
void storeIssuer(const archive::EditorView& view, IniFile& settings)
{
    QList<std::pair<QString, QString>> values;
    for (const IssuerKey& k : issuerKeys()) values.append({k.key, trimmed(view.text(k.control))});
    settings.writeStrings(kIssuerSection, values);
}

const QStringList& issuerBlock()
{
    static const QStringList block = [] {
        QStringList b;
        for (const IssuerKey& k : issuerKeys().mid(0, 9)) b.append(k.control);
        return b;
    }();
    return block;
}

const QStringList& keptOnClear()
{
    static const QStringList kept = [] {
        QStringList b;
        for (const IssuerKey& k : issuerKeys()) b.append(k.control);
        return b;
    }();
    return kept;
}

// ---------------------------------------------------------------- numbering and saving

std::optional<QString> documentNumber(const QString& startNumber, qint64 stored, const QString& yearSwitch,
                                      int currentYear)
{
    int start = 0;
    if (!tryStrToInt(startNumber, start)) return std::nullopt;
    QString number = QString::number(qint64(start) + stored);
    if (trimmed(yearSwitch) == archive::kYes) number += u'/' + QString::number(currentYear).rightJustified(4, u'0');
    return number;
}

archive::EditorConfig editorConfig(const RecordLayout& layout, std::function<QString()> archivePath,
                                   const SaveTexts& texts)
{
    using archive::MessageKind;
    archive::EditorConfig config;
    config.layout = &layout;
    config.archivePath = std::move(archivePath);
    config.firstControl = u"txtCliente"_qs;
    config.accessKinds = archive::AccessMessageKinds::quotesAndDeliveries();
    config.numberControl = u"txtNumFatt"_qs;
    config.keptOnNew = keptOnClear();
    config.checks = [texts](archive::ArchiveEditor& e) {
        archive::EditorView& v = e.view();
        const auto refuse = [&](const QString& text, const QString& control) {
            e.messages().show(MessageKind::Warning, text);
            v.setFocus(control);
            return false;
        };
        if (trimmed(v.text(u"txtCliente"_qs)).isEmpty())
            return refuse(u"Attenzione: per salvare la scheda è necessario indicare il nome o la ragione sociale "
                          u"del cliente."_qs,
                          u"txtCliente"_qs);
        if (trimmed(v.text(u"txtNumFatt"_qs)).isEmpty()) return refuse(texts.numberMissing, u"txtNumFatt"_qs);
        if (trimmed(v.text(u"txtData"_qs)).isEmpty()) return refuse(texts.dateMissing, u"txtData"_qs);
        if (!DataValida(v.text(u"txtData"_qs)))
            return refuse(u"Attenzione: la data indicata non esiste.\n\r\n\rPer poter salvare la scheda è necessario "
                          u"indicare una data valida nel formato gg/mm/anno."_qs,
                          u"txtData"_qs);
        return true;
    };
    return config;
}

std::optional<QString> yearFile(const QString& year, const QString& extension)
{
    if (year.size() != 4 || !SoloCifre(year)) return std::nullopt;
    return programFile(year + extension);
}

QStringList helpParagraphs()
{
    return {
        u"Orvanta 4.0 dispone di due applicazioni, Emissione Preventivi e Emissione DDT, per la compilazione e "
        u"la stampa (su carta o su file PDF) di preventivi e di documenti di trasporto (DDT). La compilazione "
        u"dei documenti è facilitata dalla possibilità di importare i prodotti e servizi presenti nel "
        u"Magazzino nonché i dati anagrafici del Cliente."_qs,
        u"L'applicazione Preventivi risulta utile per accontentare il Cliente che vuole sapere i costi prima "
        u"di richiedere un servizio o effettuare un acquisto."_qs,
        u"L'applicazione Documenti di Trasporto fornisce tutto l'occorrente per gestire la documentazione dei "
        u"beni viaggianti, permettendo l'archiviazione e la stampa di documenti di trasporto che, come è noto, "
        u"ormai da anni hanno sostituito le bolle di accompagnamento. I DDT hanno una loro numerazione "
        u"progressiva, gestita direttamente dal programma. La compilazione del DDT è facilitata dalla "
        u"possibilità di importare dal Magazzino le voci da riportare nel documento, mentre i dati del Cliente "
        u"possono essere importati dal relativo archivio anagrafico. E' anche possibile visualizzare l'elenco "
        u"dei DDT relativi ai carichi non ancora consegnati. Oltre ai dati relativi alla Ditta emittente, al "
        u"Cliente e ai prodotti venduti, nel DDT è possibile indicare le generalità del vettore, la "
        u"destinazione della merce, la causale del trasporto, la tipologia di porto (franco o assegnato), "
        u"l'aspetto esteriore dei beni, la data e l'ora di inizio trasporto e quelle di consegna. In calce al "
        u"DDT sono anche presenti appositi spazi per la firma del vettore e di chi ritira la merce."_qs,
        u"E' possibile utilizzare un logo personalizzato da far apparire in stampa nei documenti e si può "
        u"stabilire da che numero far partire la numerazione automatica. Il calcolo del totale e "
        u"dell'ammontare dell'IVA in base all'aliquota specificata è un'operazione effettuata automaticamente "
        u"dal programma. Se l'articolo o servizio è esente da IVA, bisogna spuntare la relativa casella. E' "
        u"anche possibile applicare una percentuale di sconto ad ogni articolo riportato nel documento. Tutti "
        u"gli importi sono calcolati in euro con supporto fino a quattro cifre dopo la virgola e "
        u"arrotondamento del totale ai due centesimi."_qs,
        u"Le informazioni riguardanti la propria ditta sono salvate in automatico alla chiusura della "
        u"schermata di lavoro."_qs,
        u"Per inserire un nuovo documento in archivio bisogna fare clic sul pulsante Nuovo, compilare i campi "
        u"che interessano e premere Salva. Quando si preme il pulsante Nuovo, il software attribuisce al "
        u"documento un numero che tiene conto di quanti preventivi o documenti di trasporto sono già presenti "
        u"in archivio, partendo da 1 se l'archivio è vuoto. Se si vuole far partire la numerazione automatica "
        u"dei documenti da un numero superiore, è necessario utilizzare l'apposita funzione accessibile "
        u"tramite il pulsante dedicato. Per modificare un documento in archivio, bisogna visualizzarlo nella "
        u"finestra di lavoro, apportare le modifiche e premere Salva."_qs,
        u"La casella In sospeso presente nel preventivo va spuntata se il Cliente non ha confermato l'acquisto "
        u"degli articoli o la richiesta dei servizi a cui il documento si riferisce. Un apposito pulsante "
        u"permette di visualizzare l'elenco di tutti i preventivi in sospeso. La casella Consegnato presente "
        u"nel DDT va invece spuntata quando il carico è stato portato a destinazione. Un apposito pulsante "
        u"consente di ottenere l'elenco di tutti i carichi non ancora consegnati."_qs,
        u"La funzione Trova permette di ottenere riepiloghi dei preventivi e dei DDT utilizzando più criteri "
        u"di ricerca contemporaneamente. Ad esempio, è possibile ottenere il riepilogo dei preventivi emessi "
        u"in un preciso giorno dell'anno, intestate a un determinato Cliente o a più Clienti che vivono in una "
        u"stessa città, eccetera."_qs,
        u"Il pulsante con l'icona di Excel consente di esportare l'intero archivio dei documenti in un foglio "
        u"di lavoro di Microsoft Excel."_qs,
    };
}

} // namespace orv::documents
