#include "quotes/preventivo.h"

#include "archive/helpers.h"
#include "platform/core/text.h"
#include "quotes/common/documento.h"

using orv::archive::FieldDef;
using orv::archive::RecordLayout;

const RecordLayout& TPreventivo::layout()
{
    static const RecordLayout l = orv::docs::documentLayout({
        {u"Destinazione"_qs, 50, u"memVeicolo"_qs},
        {u"Vettore"_qs, 50, u"memMarca"_qs},
        {u"Aspetto"_qs, 50, u"memColore"_qs},
        {u"Porto"_qs, 30, u"memImmatricolazione"_qs},
        {u"Causale"_qs, 50, u"memAlimentazione"_qs},
        {u"NumeroColli"_qs, 30, u"memTarga"_qs},
    });
    Q_ASSERT(l.fieldCount() == 246 && l.size() == kSize);
    return l;
}

QString TPreventivo::operator[](const QString& field) const { return values.value(layout().indexOf(field)); }

void TPreventivo::set(const QString& field, const QString& value) { values[layout().indexOf(field)] = value; }

QByteArray TPreventivo::encode() const { return layout().encode(values); }

TPreventivo TPreventivo::decode(const QByteArray& record)
{
    TPreventivo p;
    p.values = layout().decode(record);
    return p;
}

QString RigaPreventivo(const TPreventivo& p)
{
    // Number and date share one column, cut as a whole: a long number pushes the date out.
    const QString numberAndDate = Sinistra(p[u"NumFatt"_qs] + u" del "_qs + p[u"Data"_qs] + QString(25, u' '), 25);
    orv::archive::LineBuilder b;
    b.lit(u"Prev. n. ").lit(numberAndDate).lit(u"  ").col(p[u"Cliente"_qs], 35).lit(u"  P.I. ")
        .col(p[u"IvaCliente"_qs], 11).lit(u"  Rif. ").col(p[u"Riferimenti"_qs], 35).lit(u"  Tot. \u20ac ");
    return b.rest(p[u"TotFattura"_qs]);
}

namespace orv::quotes {

const QList<Criterion>& finderCriteria()
{
    static const QList<Criterion> c = {
        {u"txtNumFatt"_qs, u"PREVENTIVO N."_qs, u"NumFatt"_qs},
        {u"txtData"_qs, u"Data emissione (gg/mm/aaaa):"_qs, u"Data"_qs},
        {u"txtCliente"_qs, u"Cognome e nome o ragione sociale Cliente:"_qs, u"Cliente"_qs},
        {u"txtViaCliente"_qs, u"Via e numero civico:"_qs, u"ViaCliente"_qs},
        {u"txtCittaCliente"_qs, u"Città:"_qs, u"CittaCliente"_qs},
        {u"txtPagamento"_qs, u"Pagamento:"_qs, u"Pagamento"_qs},
        {u"txtIvaCliente"_qs, u"Partita IVA:"_qs, u"IvaCliente"_qs},
        {u"txtCodFiscCliente"_qs, u"Codice fiscale:"_qs, u"CodFiscCliente"_qs},
        {u"txtRiferimenti"_qs, u"Riferimenti:"_qs, u"Riferimenti"_qs},
        {u"txtNote"_qs, u"Note:"_qs, u"Note"_qs},
    };
    return c;
}

bool pending(const QByteArray& record)
{
    static const int flag = TPreventivo::layout().indexOf(u"Saldata"_qs);
    return TPreventivo::layout().fieldText(record, flag) == archive::kYes;
}

void fillPending(ArchiveFile& file, archive::ResultSink& out)
{
    archive::fillList(file, out, pending, [](const QByteArray& r) { return RigaPreventivo(TPreventivo::decode(r)); });
}

namespace {

// The grid's columns 1 to 25 and what the sheet makes of each.
struct ExportField {
    const char* field;
    const char* heading;     // heading in the sheet
    int width;               // width in the sheet
    bool right = false;      // right-aligned in the sheet
};
const ExportField kExportFields[] = {
    {"NumFatt", "Preventivo n.", 160},
    {"Data", "Data emissione", 120},
    {"Ditta", "Ditta emittente", 250},
    {"CittaDitta", "Città", 250},
    {"IvaDitta", "Partita IVA", 150},
    {"CodFiscDitta", "Codice fiscale", 150},
    {"Cliente", "Cognome e nome Cliente", 250},
    {"ViaCliente", "Via e numero civico", 250},
    {"CapCliente", "CAP", 70},
    {"CittaCliente", "Città", 250},
    {"ProvCliente", "Prov.", 50},
    {"IvaCliente", "Partita IVA Cliente", 150},
    {"CodFiscCliente", "Codice fiscale Cliente", 150},
    {"Riferimenti", "Riferimenti", 250},
    {"Pagamento", "Pagamento", 250},
    {"Banca", "Banca d'appoggio", 250},
    {"Iban", "IBAN", 250},
    {"TotImponibile", "Totale imponibile", 150, true},
    {"PercIva", "% IVA", 100, true},
    {"TotImposta", "Totale imposta", 150, true},
    {"TotIva", "Totale IVA inclusa", 150, true},
    {"TotEsente", "Totale esente", 150, true},
    {"TotFattura", "TOTALE PREVENTIVO", 150, true},
    {"Note", "Note", 350},
    {"Saldata", "In sospeso", 100},
};

} // namespace

const archive::ExportSheet& exportSheet()
{
    static const archive::ExportSheet sheet = [] {
        archive::ExportSheet s{u"Preventivi.xls"_qs, u"Riepilogo annuale preventivi"_qs, {}};
        for (const ExportField& f : kExportFields)
            s.columns.append({QString::fromUtf8(f.heading), f.width, f.right});
        return s;
    }();
    return sheet;
}

QStringList exportRow(const TPreventivo& p)
{
    QStringList cells;
    for (const ExportField& f : kExportFields) cells.append(p[QString::fromLatin1(f.field)]);
    return cells;
}

QString finderCountText(qsizetype lines)
{
    return u"Il presente elenco contiene "_qs + QString::number(lines) + u" schede."_qs;
}

} // namespace orv::quotes
