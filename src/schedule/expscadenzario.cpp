#include "schedule/expscadenzario.h"

#include "schedule/scadenza.h"
#include "schedule/scadenzario.h"

namespace orv::schedule {

TfrmExpScadenzario* frmExpScadenzario = nullptr;

} // namespace orv::schedule

namespace orv::schedule {

QList<orv::kit::GridColumn> entryGridColumns(const QString& paymentColumn)
{
    // Name, heading and width of each grid column; the last five of the entry's values
    // but the notes can be typed over before exporting.
    struct Col {
        const char* name;
        const char* heading;
        int width;
        bool readOnly;
    };
    static const Col cols[] = {
        {"colNum", "N.", 60, true},
        {"colData", "Data scadenza", 150, true},
        {"colOraApp", "Ora appuntamento", 150, true},
        {"colPagatore", "Pagatore", 250, true},
        {"colCodFisc", "Codice fiscale", 180, true},
        {"colRecapito", "Recapito preferenziale", 250, true},
        {"colCodice", "Codice articolo", 200, true},
        {"colTipologia", "Tipologia", 250, true},
        {"colMarca", "Marca e modello", 250, true},
        {"colDescrizione", "Descrizione", 250, true},
        {"colAccessori", "Accessori", 250, true},
        {"colFornitore", "Fornitore", 250, true},
        {"colBeneficiario", "Beneficiario", 250, true},
        {"colDettagli", "Causale scadenza", 300, true},
        {"colOfficina", "Modalità di pagamento", 300, false},
        {"colCosto", "Importo in euro", 180, false},
        {"colContatto", "Estremi ricevuta", 250, false},
        {"colDaConfermare", "Appuntamento da confermare", 200, false},
        {"colEffettuata", "Pagamento effettuato", 200, false},
        {"colNote", "Note", 300, true},
    };
    QList<orv::kit::GridColumn> out;
    for (const Col& c : cols)
        out.append({QString::fromLatin1(c.name), QString::fromUtf8(c.heading), c.width, c.readOnly});
    out[14].name = paymentColumn;
    return out;
}

} // namespace orv::schedule

namespace orv::schedule {

namespace {

orv::kit::ExportSpec spec()
{
    orv::kit::ExportSpec s;
    s.recordSize = TScadenza::kSize;
    s.archivePath = [] { return frmScadenzario ? frmScadenzario->lblFile.text() : QString(); };
    s.columns = orv::schedule::entryGridColumns(u"colOfficina"_qs);
    s.cells = [](const QByteArray& r) { return orv::schedule::exportCells(TScadenza::decode(r)); };
    s.sheet = orv::schedule::exportSheet();
    s.helpTitle = u"Esportazione archivio scadenze e appuntamenti in Microsoft Excel."_qs;
    s.helpText = {
        u"Il pulsante Esporta archivio consente di esportare tutte le schede dello scadenzario registrate in un "
        u"anno solare in un foglio di lavoro di Microsoft Excel, che potrà essere aperto con qualsiasi software in "
        u"grado di gestire i file in formato XLS (ad esempio, con Open Office, Libre Office o Microsoft Office)."_qs,
        u"Dopo aver aperto la finestra contenente la griglia dei dati, bisogna fare clic sull'icona di Excel. Questa "
        u"operazione crea in tempo reale un file in formato XLS contenente le schede in archivio, che potrà essere "
        u"aperto immediatamente rispondendo affermativamente al messaggio di domanda che appare."_qs,
        u"A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli un nome qualsiasi."_qs,
    };
    return s;
}

} // namespace

TfrmExpScadenzario::TfrmExpScadenzario(QWidget* owner)
    : ExportWindow(owner, u"frmExpScadenzario"_qs, u" Esporta archivio scadenze e appuntamenti"_qs, spec())
{
    created();
}

} // namespace orv::schedule
