#include "customers/expcontratti.h"

#include "customers/contrattorecord.h"

namespace orv::customers {

TfrmExpContratti* frmExpContratti = nullptr;

namespace {

orv::kit::ExportSpec spec()
{
    orv::kit::ExportSpec s;
    s.archiveFile = TContratto::kFileName;
    s.recordSize = TContratto::kSize;
    // Name, heading, width and read-only switch of each grid column; what is typed into an
    // editable column goes into the file only.
    s.columns = {
        {u"colNum"_qs, u"N."_qs, 60, true},
        {u"colNumContratto"_qs, u"Contratto n."_qs, 150, false},
        {u"colData"_qs, u"Data stipula"_qs, 120, false},
        {u"colLuogo"_qs, u"Luogo stipula"_qs, 200, true},
        {u"colCliente"_qs, u"Cognome e nome Utente"_qs, 250, true},
        {u"colComuneCli"_qs, u"Comune di residenza"_qs, 250, true},
        {u"colViaCli"_qs, u"Via e numero civico"_qs, 250, true},
        {u"colPartitaIvaCli"_qs, u"Partita IVA"_qs, 150, true},
        {u"colCodFiscCli"_qs, u"Codice Fiscale"_qs, 150, true},
        {u"colTelCli"_qs, u"Telefono"_qs, 200, true},
        {u"colQualitaCli"_qs, u"Qualità"_qs, 200, false},
        {u"colTipoImpianto"_qs, u"Tipo impianto"_qs, 200, true},
        {u"colMarca"_qs, u"Marca e modello"_qs, 250, true},
        {u"colMatricola"_qs, u"Matricola n."_qs, 200, true},
        {u"colAlimentazione"_qs, u"Alimentazione"_qs, 200, true},
        {u"colAnnoCostruz"_qs, u"Anno costruzione"_qs, 150, true},
        {u"colCaratteristiche"_qs, u"Caratteristiche tecniche"_qs, 300, false},
        {u"colUbicazione"_qs, u"Ubicazione"_qs, 250, true},
        {u"colDurata"_qs, u"Durata contratto"_qs, 200, false},
        {u"colTotale"_qs, u"Totale corrispettivo"_qs, 150, false},
        {u"colPeriodicita"_qs, u"Periodicità canone"_qs, 200, true},
        {u"colImpCanone"_qs, u"Importo canone"_qs, 150, false},
        {u"colPagamento"_qs, u"Modalità di pagamento"_qs, 250, false},
        {u"colOpInc01"_qs, u"Operazione 1 inclusa in contratto"_qs, 300, false},
        {u"colOpInc02"_qs, u"Operazione 2 inclusa in contratto"_qs, 300, false},
        {u"colOpInc03"_qs, u"Operazione 3 inclusa in contratto"_qs, 300, false},
    };
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

} // namespace orv::customers
