#include "jobs/explavoro.h"

#include "jobs/listelavoro.h"
#include "jobs/scheda.h"

namespace orv::jobs {

TfrmExpLavoro* frmExpLavoro = nullptr;

namespace {

orv::kit::ExportSpec spec()
{
    // Name, heading and width of each grid column; the last six can be edited in the grid.
    struct Col {
        const char* name;
        const char* heading;
        int width;
    };
    static const Col cols[] = {
        {"colNum", "N.", 60},
        {"colNumScheda", "Scheda di Lavoro n.", 160},
        {"colData", "Data emissione", 120},
        {"colPagamento", "Modalità di pagamento", 250},
        {"colTipoImpianto", "Tipo impianto", 250},
        {"colMarca", "Marca e modello impianto", 250},
        {"colAnnoCostruz", "Anno costruzione", 180},
        {"colMatricola", "Matricola n.", 250},
        {"colAlimentazione", "Alimentazione", 250},
        {"colCaratteristiche", "Caratteristiche tecniche", 300},
        {"colCliente", "Cognome e nome Cliente", 250},
        {"colCodFiscCli", "Codice Fiscale", 200},
        {"colTelCli", "Tel.", 150},
        {"colIndirizzoCli", "Indirizzo e città", 300},
        {"colDataAccetta", "Data inizio lavori", 200},
        {"colLuogo", "Luogo intervento", 250},
        {"colTecnico", "Tecnico esecutore", 250},
        {"colAnomalie", "Anomalie segnalate dal Cliente", 350},
        {"colControlli", "Controlli effettuati", 350},
        {"colLavori", "Lavori eseguiti", 350},
        {"colRicambi", "Ricambi e materiali utilizzati", 350},
        {"colRaccomandazioni", "Raccomandazioni per il Cliente", 350},
        {"colStato", "Stato dei lavori", 250},
        {"colAnnotazioni", "Annotazioni", 350},
        {"colFattura", "Estremi ricevuta o fattura", 250},
        {"colDataRiconsegna", "Data riconsegna impianto", 200},
    };
    constexpr int kFirstEditable = 20;
    orv::kit::ExportSpec s;
    s.recordSize = TSchedaLavoro::kSize;
    s.archivePath = orv::jobs::openYearFile;
    for (int i = 0; i < int(std::size(cols)); ++i)
        s.columns.append({QString::fromLatin1(cols[i].name), QString::fromUtf8(cols[i].heading), cols[i].width,
                          i < kFirstEditable});
    s.cells = [](const QByteArray& r) { return orv::jobs::exportRow(TSchedaLavoro::decode(r)); };
    s.sheet = orv::jobs::exportSheet();
    s.helpTitle = u"Esportazione archivio Schede di Lavoro in Microsoft Excel."_qs;
    s.helpWhat = u"tutte le Schede di Lavoro emesse in un anno solare"_qs;
    return s;
}

} // namespace

TfrmExpLavoro::TfrmExpLavoro(QWidget* owner)
    : ExportWindow(owner, u"frmExpLavoro"_qs, u" Esporta archivio Schede di Lavoro in Microsoft Excel"_qs, spec())
{
    created();
}

} // namespace orv::jobs
