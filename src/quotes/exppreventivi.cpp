#include "quotes/exppreventivi.h"

#include "quotes/preventivi.h"
#include "quotes/preventivo.h"

TfrmExpPreventivi* frmExpPreventivi = nullptr;

namespace {

orv::forms::ExportSpec spec()
{
    // Name, heading and width of each grid column; the sheet's own headings and widths
    // are the export sheet's. Columns 20 to 25 can be edited in the grid.
    struct Col {
        const char* name;
        const char* heading;
        int width;
    };
    static const Col cols[] = {
        {"colNum", "N.", 60},
        {"colNumFatt", "Preventivo n.", 160},
        {"colData", "Data emissione", 120},
        {"colDitta", "Ditta emittente", 250},
        {"colCittaDitta", "Città", 250},
        {"colIvaDitta", "Partita IVA", 150},
        {"colCodFiscDitta", "Codice fiscale", 150},
        {"colCliente", "Cognome e nome o ragione sociale Cliente", 250},
        {"colViaCliente", "Via e numero civico", 250},
        {"colCapCliente", "CAP", 100},
        {"colCittaCliente", "Città", 250},
        {"colProvCliente", "Prov.", 50},
        {"colIvaCliente", "Partita IVA Cliente", 150},
        {"colCodFiscCliente", "Codice fiscale Cliente", 150},
        {"colRiferimenti", "Riferimenti", 250},
        {"colPagamento", "Pagamento", 250},
        {"colBanca", "Banca d'appoggio", 250},
        {"colIban", "IBAN", 250},
        {"colTotImponibile", "Totale imponibile", 150},
        {"colPercIva", "% IVA", 100},
        {"colTotImposta", "Totale imposta", 150},
        {"colTotIva", "Totale IVA inclusa", 150},
        {"colTotEsente", "Totale esente", 150},
        {"colTotFattura", "TOTALE PREVENTIVO", 150},
        {"colNote", "Note", 350},
        {"colSaldata", "In sospeso", 100},
    };
    constexpr int kFirstEditable = 20;
    orv::forms::ExportSpec s;
    s.recordSize = TPreventivo::kSize;
    s.archivePath = orv::quotes::openYearFile;
    for (int i = 0; i < int(std::size(cols)); ++i)
        s.columns.append({QString::fromLatin1(cols[i].name), QString::fromUtf8(cols[i].heading), cols[i].width,
                          i < kFirstEditable});
    s.cells = [](const QByteArray& r) { return orv::quotes::exportRow(TPreventivo::decode(r)); };
    s.sheet = orv::quotes::exportSheet();
    s.helpTitle = u"Esportazione archivio preventivi in Microsoft Excel."_qs;
    s.helpText = {
        u"Il pulsante Esporta archivio consente di esportare tutti i preventivi emessi in un anno solare in un "
        u"foglio di lavoro di Microsoft Excel, che potrà essere aperto con qualsiasi software in grado di gestire i "
        u"file in formato XLS (ad esempio, con Open Office, Libre Office o Microsoft Office)."_qs,
        u"Dopo aver aperto la finestra contenente la griglia dei dati, bisogna fare clic sull'icona di Excel. "
        u"Questa operazione crea in tempo reale un file in formato XLS contenente le schede in archivio, che potrà "
        u"essere aperto immediatamente rispondendo affermativamente al messaggio di domanda che appare."_qs,
        u"A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli un nome qualsiasi."_qs,
    };
    return s;
}

} // namespace

TfrmExpPreventivi::TfrmExpPreventivi(QWidget* owner)
    : ExportWindow(owner, u"frmExpPreventivi"_qs, u" Esporta archivio preventivi in Microsoft Excel"_qs, spec())
{
    created();
}
