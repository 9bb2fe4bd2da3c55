#include "customers/expclienti.h"

#include "customers/cliente.h"

namespace orv::customers {

TfrmExpClienti* frmExpClienti = nullptr;

namespace {

orv::kit::ExportSpec spec()
{
    // Name, heading and width of each grid column; the read-only ones are marked.
    struct Col {
        const char* name;
        const char* heading;
        int width;
        bool readOnly;
    };
    static const Col cols[] = {
        {"colNum", "N.", 60, true},
        {"colCliente", "Cognome e nome Cliente", 250, true},
        {"colDataNasc", "Data di nascita", 120, true},
        {"colComuneNasc", "Comune / Stato estero di nascita", 250, true},
        {"colRecapito", "Recapito preferenziale", 200, true},
        {"colIndirizzoRes", "Indirizzo di residenza", 250, true},
        {"colComuneRes", "Comune di residenza", 250, false},
        {"colEstremi", "Modalità di pagamento", 250, true},
        {"colTelCasa", "Tel. casa", 200, true},
        {"colTelUff", "Tel. ufficio", 200, true},
        {"colTelCel", "Tel. cellulare", 200, true},
        {"colFax", "Fax", 200, true},
        {"colEmail", "E-mail", 250, true},
        {"colCodFisc", "Codice fiscale", 150, true},
        {"colPartitaIva", "Partita IVA", 150, false},
        {"colCarta", "Carta di credito n.", 250, true},
        {"colIban", "IBAN", 250, false},
        {"colTipoImpianto", "Tipo impianto", 250, false},
        {"colMarca", "Marca e modello", 250, false},
        {"colMatricola", "Matricola n.", 250, true},
        {"colAlimentazione", "Alimentazione", 250, true},
        {"colUbicazione", "Ubicazione", 300, true},
        {"colCaratteristiche", "Caratteristiche tecniche", 300, false},
        {"colQuestioni", "Questioni in sospeso", 300, false},
        {"colDataScade", "Scadenza manutenzione", 200, false},
        {"colNote", "Note", 350, false},
    };
    orv::kit::ExportSpec s;
    s.archiveFile = TCliente::kFileName;
    s.recordSize = TCliente::kSize;
    for (const Col& c : cols)
        s.columns.append({QString::fromLatin1(c.name), QString::fromUtf8(c.heading), c.width, c.readOnly});
    s.cells = [](const QByteArray& r) { return orv::customers::exportRow(TCliente::decode(r)); };
    s.sheet = orv::customers::exportSheet();
    s.helpTitle = u"Esportazione archivio Clienti e impianti in Microsoft Excel."_qs;
    s.helpWhat = u"i dati anagrafici di tutti i Clienti e dei loro impianti"_qs;
    return s;
}

} // namespace

TfrmExpClienti::TfrmExpClienti(QWidget* owner)
    : ExportWindow(owner, u"frmExpClienti"_qs, u" Esporta archivio Clienti e impianti in Microsoft Excel"_qs, spec())
{
    created();
}

} // namespace orv::customers
