#include "warehouse/expmagazzino.h"

#include "warehouse/articolo.h"

namespace orv::warehouse {

TfrmExpMagazzino* frmExpMagazzino = nullptr;

namespace {

orv::kit::ExportSpec spec()
{
    // Name, heading and width of each grid column after the row number, in the order of
    // the exported columns.
    struct Col {
        const char* name;
        const char* heading;
        int width;
    };
    static const Col cols[] = {
        {"colNum", "N.", 60},
        {"colCodice", "Codice articolo", 150},
        {"colTipologia", "Tipologia", 150},
        {"colMarca", "Marca", 150},
        {"colModello", "Modello", 150},
        {"colDescrizione", "Descrizione", 350},
        {"colAccessori", "Accessori", 350},
        {"colFornitore", "Fornitore", 200},
        {"colRecapiti", "Recapito preferenziale", 250},
        {"colData", "Data acquisto", 100},
        {"colDocumento", "Estremi documento di acquisto", 350},
        {"colOrdine", "Modalità ordine merce", 250},
        {"colGiacenza", "Giacenza", 100},
        {"colCosto", "Costo", 100},
        {"colValore", "Valore", 100},
        {"colPrezzo", "Prezzo senza IVA", 100},
        {"colPercIva", "Perc. IVA", 100},
        {"colPrezzo_con_Iva", "Prezzo con IVA", 100},
        {"colCollocazione", "Collocazione in magazzino", 300},
        {"colConsumo", "Altezza", 200},
        {"colAderenza", "Larghezza", 200},
        {"colRumore", "Lunghezza", 200},
        {"colOnde", "Scadenza", 200},
        {"colNote", "Note", 350},
    };
    orv::kit::ExportSpec s;
    s.archiveFile = TArticolo::kFileName;
    s.recordSize = TArticolo::kSize;
    for (const Col& c : cols) s.columns.append({QString::fromLatin1(c.name), QString::fromUtf8(c.heading), c.width, true});
    s.cells = [](const QByteArray& r) { return orv::warehouse::exportRow(TArticolo::decode(r)); };
    s.sheet = orv::warehouse::exportSheet();
    s.helpTitle = u"Esportazione archivio beni e servizi in Microsoft Excel."_qs;
    s.helpWhat = u"le schede di tutti i beni e i servizi presenti in magazzino"_qs;
    return s;
}

} // namespace

TfrmExpMagazzino::TfrmExpMagazzino(QWidget* owner)
    : ExportWindow(owner, u"frmExpMagazzino"_qs, u" Esporta archivio prodotti e servizi in Microsoft Excel"_qs, spec())
{
    created();
}

} // namespace orv::warehouse
