#include "customers/expcontratti.h"

#include "customers/contrattorecord.h"

TfrmExpContratti* frmExpContratti = nullptr;

namespace {

orv::forms::ExportSpec spec()
{
    // Name, heading and width of each grid column; what may be edited in the grid goes
    // into the file only.
    struct Col {
        const char* name;
        const char* heading;
        int width;
        bool readOnly;
    };
    static const Col cols[] = {
        {"colNum", "N.", 60, true},
        {"colNumContratto", "Contratto n.", 150, false},
        {"colData", "Data stipula", 120, false},
        {"colLuogo", "Luogo stipula", 200, true},
        {"colCliente", "Cognome e nome Utente", 250, true},
        {"colComuneCli", "Comune di residenza", 250, true},
        {"colViaCli", "Via e numero civico", 250, true},
        {"colPartitaIvaCli", "Partita IVA", 150, true},
        {"colCodFiscCli", "Codice Fiscale", 150, true},
        {"colTelCli", "Telefono", 200, true},
        {"colQualitaCli", "Qualità", 200, false},
        {"colTipoImpianto", "Tipo impianto", 200, true},
        {"colMarca", "Marca e modello", 250, true},
        {"colMatricola", "Matricola n.", 200, true},
        {"colAlimentazione", "Alimentazione", 200, true},
        {"colAnnoCostruz", "Anno costruzione", 150, true},
        {"colCaratteristiche", "Caratteristiche tecniche", 300, false},
        {"colUbicazione", "Ubicazione", 250, true},
        {"colDurata", "Durata contratto", 200, false},
        {"colTotale", "Totale corrispettivo", 150, false},
        {"colPeriodicita", "Periodicità canone", 200, true},
        {"colImpCanone", "Importo canone", 150, false},
        {"colPagamento", "Modalità di pagamento", 250, false},
        {"colOpInc01", "Operazione 1 inclusa in contratto", 300, false},
        {"colOpInc02", "Operazione 2 inclusa in contratto", 300, false},
        {"colOpInc03", "Operazione 3 inclusa in contratto", 300, false},
    };
    orv::forms::ExportSpec s;
    s.archiveFile = TContratto::kFileName;
    s.recordSize = TContratto::kSize;
    for (const Col& c : cols)
        s.columns.append({QString::fromLatin1(c.name), QString::fromUtf8(c.heading), c.width, c.readOnly});
    s.cells = [](const QByteArray& r) { return orv::customers::contractExportRow(TContratto::decode(r)); };
    s.sheet = orv::customers::contractExportSheet();
    s.helpTitle = u"Esportazione archivio contratti in Microsoft Excel."_qs;
    s.helpWhat = u"tutti i contratti di manutenzione programmata"_qs;
    return s;
}

} // namespace

TfrmExpContratti::TfrmExpContratti(QWidget* owner)
    : ExportWindow(owner, u"frmExpContratti"_qs, u" Esporta archivio contratti in Microsoft Excel"_qs, spec())
{
    created();
}
