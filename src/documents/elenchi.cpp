#include "documents/elenchi.h"

#include "archive/helpers.h"
#include "platform/core/text.h"

#include <iterator>

namespace orv::documents {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::documents

namespace orv::documents {

namespace {

QString value(const archive::RecordLayout& record, const QStringList& values, const char16_t* field)
{
    return values.value(record.indexOf(QString::fromUtf16(field)));
}

} // namespace

QString documentLine(const QString& prefix, const archive::RecordLayout& record, const QStringList& values)
{
    const auto v = [&](const char16_t* field) { return value(record, values, field); };
    // Number and date share one column, cut as a whole: a long number pushes the date out.
    const QString numberAndDate = Sinistra(v(u"NumFatt") + u" del "_qs + v(u"Data") + QString(25, u' '), 25);
    archive::LineBuilder b;
    b.lit(prefix).lit(numberAndDate).lit(u"  ").col(v(u"Cliente"), 35).lit(u"  P.I. ").col(v(u"IvaCliente"), 11)
        .lit(u"  Rif. ").col(v(u"Riferimenti"), 35).lit(u"  Tot. \u20ac ");
    return b.rest(v(u"TotFattura"));
}

QList<kit::FinderCriterion> finderCriteria(const archive::RecordLayout& record, const QString& numberCaption)
{
    const struct {
        const char16_t* field;
        const char* caption; // nullptr: the kind's number caption
    } criteria[] = {
        {u"NumFatt", nullptr},
        {u"Data", "Data emissione (gg/mm/aaaa):"},
        {u"Cliente", "Cognome e nome o ragione sociale Cliente:"},
        {u"ViaCliente", "Via e numero civico:"},
        {u"CittaCliente", "Città:"},
        {u"Pagamento", "Pagamento:"},
        {u"IvaCliente", "Partita IVA:"},
        {u"CodFiscCliente", "Codice fiscale:"},
        {u"Riferimenti", "Riferimenti:"},
        {u"Note", "Note:"},
    };
    QList<kit::FinderCriterion> list;
    for (const auto& c : criteria) {
        const QString field = QString::fromUtf16(c.field);
        list.append({u"txt"_qs + field, c.caption ? QString::fromUtf8(c.caption) : numberCaption,
                     record.indexOf(field)});
    }
    return list;
}

QString finderCountText(qsizetype lines)
{
    return u"Il presente elenco contiene "_qs + QString::number(lines) + u" schede."_qs;
}

kit::ListSpec documentList(const archive::RecordLayout& record, std::function<QString()> yearFile,
                             const QString& linePrefix, const QString& printTitle)
{
    kit::ListSpec spec;
    spec.recordSize = record.size();
    spec.archivePath = std::move(yearFile);
    spec.line = [&record, linePrefix](const QByteArray& r) { return documentLine(linePrefix, record, record.decode(r)); };
    // The field numbers once, not for every line.
    struct Fields {
        int number, date, customer, vat, references, total;
    };
    const Fields f{record.indexOf(u"NumFatt"_qs), record.indexOf(u"Data"_qs), record.indexOf(u"Cliente"_qs),
                   record.indexOf(u"IvaCliente"_qs), record.indexOf(u"Riferimenti"_qs), record.indexOf(u"TotFattura"_qs)};
    spec.storedLine = [f, linePrefix](archive::StoredLineBuilder& b) {
        b.lit(linePrefix);
        const qsizetype number = b.length();
        b.text(f.number).lit(u" del ").text(f.date).fit(number, 25);
        b.lit(u"  ").col(f.customer, 35).lit(u"  P.I. ").col(f.vat, 11).lit(u"  Rif. ").col(f.references, 35)
            .lit(u"  Tot. \u20ac ").last(f.total);
    };
    spec.printTitle = printTitle;
    return spec;
}

bool flagIs(const archive::RecordLayout& record, const QByteArray& document, const QString& value)
{
    return record.fieldText(document, record.indexOf(u"Saldata"_qs)) == value;
}

std::function<void(ArchiveFile&, archive::ResultSink&)> flagSelection(const archive::RecordLayout& record,
                                                                       const QString& value,
                                                                       const QString& linePrefix)
{
    return [&record, value, linePrefix](ArchiveFile& file, archive::ResultSink& out) {
        archive::fillList(
            file, out, [&](const QByteArray& r) { return flagIs(record, r, value); },
            [&](const QByteArray& r) { return documentLine(linePrefix, record, record.decode(r)); });
    };
}

// ---------------------------------------------------------------- export

namespace {

// The grid's columns 1 to 25: the field, the grid's heading and width, the sheet's where
// they differ, and the right-aligned amounts of the sheet. nullptr headings are the
// kind's own.
struct ExportField {
    const char16_t* field;
    const char* gridHeading;
    int gridWidth;
    const char* sheetHeading = nullptr; // nullptr: as in the grid
    int sheetWidth = 0;                 // 0: as in the grid
    bool right = false;
};
const ExportField kExportFields[] = {
    {u"NumFatt", nullptr, 160},
    {u"Data", "Data emissione", 120},
    {u"Ditta", "Ditta emittente", 250},
    {u"CittaDitta", "Città", 250},
    {u"IvaDitta", "Partita IVA", 150},
    {u"CodFiscDitta", "Codice fiscale", 150},
    {u"Cliente", "Cognome e nome o ragione sociale Cliente", 250, "Cognome e nome Cliente"},
    {u"ViaCliente", "Via e numero civico", 250},
    {u"CapCliente", "CAP", 100, nullptr, 70},
    {u"CittaCliente", "Città", 250},
    {u"ProvCliente", "Prov.", 50},
    {u"IvaCliente", "Partita IVA Cliente", 150},
    {u"CodFiscCliente", "Codice fiscale Cliente", 150},
    {u"Riferimenti", "Riferimenti", 250},
    {u"Pagamento", "Pagamento", 250},
    {u"Banca", "Banca d'appoggio", 250},
    {u"Iban", "IBAN", 250},
    {u"TotImponibile", "Totale imponibile", 150, nullptr, 0, true},
    {u"PercIva", "% IVA", 100, nullptr, 0, true},
    {u"TotImposta", "Totale imposta", 150, nullptr, 0, true},
    {u"TotIva", "Totale IVA inclusa", 150, nullptr, 0, true},
    {u"TotEsente", "Totale esente", 150, nullptr, 0, true},
    {u"TotFattura", nullptr, 150, nullptr, 0, true},
    {u"Note", "Note", 350},
    {u"Saldata", nullptr, 100},
};
// Columns from this one on (counting the row number as 0) can be edited in the grid.
constexpr int kFirstEditable = 20;

// The kind's own headings: the number, the total (grid or sheet) and the flag.
QString headingOf(const ExportField& f, const ExportTexts& t, bool sheet)
{
    const QString field = QString::fromUtf16(f.field);
    if (field == u"NumFatt") return t.numberHeading;
    if (field == u"TotFattura") return sheet ? t.sheetTotalHeading : t.gridTotalHeading;
    if (field == u"Saldata") return t.flagHeading;
    return QString::fromUtf8(sheet && f.sheetHeading ? f.sheetHeading : f.gridHeading);
}

} // namespace

archive::ExportSheet exportSheet(const ExportTexts& texts)
{
    archive::ExportSheet s{texts.fileName, texts.sheetName, {}};
    for (const ExportField& f : kExportFields)
        s.columns.append({headingOf(f, texts, true), f.sheetWidth ? f.sheetWidth : f.gridWidth, f.right, f.right});
    return s;
}

QStringList exportRow(const archive::RecordLayout& record, const QStringList& values)
{
    QStringList cells;
    for (const ExportField& f : kExportFields) cells.append(value(record, values, f.field));
    return cells;
}

kit::ExportSpec exportSpec(const ExportTexts& texts, const archive::RecordLayout& record,
                             std::function<QString()> yearFile)
{
    kit::ExportSpec s;
    s.recordSize = record.size();
    s.archivePath = std::move(yearFile);
    s.columns.append({u"colNum"_qs, u"N."_qs, 60, true});
    int column = 1;
    for (const ExportField& f : kExportFields) {
        s.columns.append({u"col"_qs + QString::fromUtf16(f.field), headingOf(f, texts, false), f.gridWidth,
                          column++ < kFirstEditable});
    }
    s.cells = [&record](const QByteArray& r) { return exportRow(record, record.decode(r)); };
    s.sheet = exportSheet(texts);
    s.helpTitle = texts.helpTitle;
    s.helpText = {
        u"Il pulsante Esporta archivio consente di esportare "_qs + texts.helpWhat
            + u" in un anno solare in un foglio di lavoro di Microsoft Excel, che potrà essere aperto con qualsiasi "
              u"software in grado di gestire i file in formato XLS (ad esempio, con Open Office, Libre Office o "
              u"Microsoft Office)."_qs,
        u"Dopo aver aperto la finestra contenente la griglia dei dati, bisogna fare clic sull'icona di Excel. "
        u"Questa operazione crea in tempo reale un file in formato XLS contenente le schede in archivio, che potrà "
        u"essere aperto immediatamente rispondendo affermativamente al messaggio di domanda che appare."_qs,
        u"A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli un nome qualsiasi."_qs,
    };
    return s;
}

} // namespace orv::documents
