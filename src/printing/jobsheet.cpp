#include "printing/jobsheet.h"

#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "printing/doclayout.h"

namespace orv::printing {
using namespace orv::platform;
using namespace orv::report;
} // namespace orv::printing

namespace orv::printing {

using namespace Qt::StringLiterals;

TfrmStampaLav* frmStampaLav = nullptr;
TfrmAnteprimaLav* frmAnteprimaLav = nullptr;
TfrmCrea_PDF_Lav* frmCrea_PDF_Lav = nullptr;

} // namespace orv::printing

namespace orv::printing {

namespace {

// A section of free text: a title bar, then a box holding one line of text.
struct Section {
    const char16_t *bar, *title, *caption, *box, *text;
    double top;
    TAlphaColor fill;
};
constexpr Section kSections[] = {
    {u"Shape7", u"titAnomalie", u"ANOMALIE SEGNALATE DAL CLIENTE", u"Shape8", u"TXTaNOMALIE", 125, kLavender},
    {u"Shape9", u"titControlli", u"CONTROLLI EFFETTUATI", u"Shape10", u"txtControlli", 140, kLightSteelBlue},
    {u"Shape11", u"titLavori", u"LAVORI ESEGUITI", u"Shape12", u"txtLavori", 155, kLavender},
    {u"Shape13", u"titRicambi", u"RICAMBI E MATERIALI UTILIZZATI", u"Shape14", u"txtRicambi", 170, kLightSteelBlue},
    {u"Shape15", u"titRaccomandazioni", u"RACCOMANDAZIONI PER IL CLIENTE", u"Shape16", u"txtRaccomandazioni", 185,
     kLavender},
};

QString s(const char16_t* text) { return QString::fromUtf16(text); }

// Labelled values: the memo and the editor control share the name.
struct Labelled {
    const char16_t *name, *prefix;
};
constexpr Labelled kCustomerAndInstallation[] = {
    {u"txtCliente", u"Cognome e nome:  "},
    {u"txtCodFiscCli", u"Codice Fiscale:  "},
    {u"txtTelCli", u"Tel.  "},
    {u"txtIndirizzoCli", u"Indirizzo:  "},
    {u"txtTipoImpianto", u"Tipo:  "},
    {u"txtMarca", u"Marca e modello:  "},
    {u"txtAnnoCostruz", u"Anno costruzione:  "},
    {u"txtMatricola", u"Matricola n.  "},
    {u"txtAlimentazione", u"Alimentazione:  "},
    {u"txtCaratteristiche", u"Caratteristiche tecniche:  "},
};
constexpr Labelled kStartAndReturn[] = {
    {u"txtUbicazione", u"Ubicazione:  "},
    {u"txtDataAccetta", u"Data inizio:  "},
    {u"txtOraAccetta", u"Ora inizio:  "},
    {u"txtLuogo", u"Luogo intervento:  "},
    {u"txtDataRiconsegna", u"Data riconsegna:  "},
    {u"txtOraRiconsegna", u"Ora riconsegna:  "},
    {u"txtTecnico", u"Tecnico esecutore:  "},
};

} // namespace

std::unique_ptr<TfrxReport> jobSheetLayout(Output output)
{
    // Only the print and PDF windows never show a preview, so only the preview window
    // locks the preview's editing.
    auto report = newDocumentReport(u"Scheda di Lavoro"_s, output == Output::Preview);
    LayoutBuilder b(*report);

    // Heading
    b.logo(1, 1, 79, 39);
    b.shape(u"shpNumFatt"_s, 83, 1, 106, 14, kLightSteelBlue);
    b.memo(u"txtNumScheda"_s, 86, 3.5, 101, 4, 9, Bold);
    b.memo(u"txtData"_s, 86, 9, 101, 4, 9);
    b.shape(u"shpBanca"_s, 83, 18, 106, 22, kLavender);
    b.memo(u"titPagamento"_s, 86, 20.5, 101, 3.5, 8, Plain, u"Modalit\u00e0 di pagamento:"_s);
    b.memo(u"txtPagamento"_s, 91, 25, 96, 4, 9);
    b.memo(u"titFattura"_s, 86, 30, 101, 3.5, 8, Plain, u"Documento fiscale:"_s);
    b.memo(u"txtFattura"_s, 91, 34.5, 96, 4, 9);

    // Customer
    b.shape(u"Shape1"_s, 1, 43, 188, 5.8, kLightSteelBlue);
    b.memo(u"titCliente"_s, 2, 44, 185.8, 4.2, 9, Centre, u"DATI CLIENTE"_s);
    b.shape(u"Shape2"_s, 1, 49, 188, 12);
    b.vline(u"Line2"_s, 116.5, 49, 12);
    b.memo(u"txtCliente"_s, 2, 50, 113, 4, 8);
    b.memo(u"txtCodFiscCli"_s, 118.5, 50, 69, 4, 8);
    b.hline(u"Line1"_s, 1, 55, 188);
    b.memo(u"txtIndirizzoCli"_s, 2, 56, 113, 4, 8);
    b.memo(u"txtTelCli"_s, 118.5, 56, 69, 4, 8);

    // Installation
    b.shape(u"Shape3"_s, 1, 64, 188, 5.8, kLavender);
    b.memo(u"titVeicolo"_s, 2, 65, 185.8, 4.2, 9, Centre, u"DATI IMPIANTO"_s);
    b.shape(u"shpDatiVeicolo"_s, 1, 70, 188, 17);
    b.vline(u"linSepara15"_s, 92.5, 70, 6);
    b.memo(u"txtTipoImpianto"_s, 2, 71, 89, 4, 8);
    b.memo(u"txtAnnoCostruz"_s, 94.5, 71, 93, 4, 8);
    b.hline(u"linSepara03"_s, 1, 76, 188);
    b.vline(u"linSepara17"_s, 157, 76, 5.5);
    b.memo(u"txtMarca"_s, 2, 77, 154, 4, 8);
    b.memo(u"txtGaranzia"_s, 158.5, 77, 29, 4, 8);
    b.hline(u"linSepara04"_s, 1, 81.5, 188);
    b.vline(u"linSepara16"_s, 92.5, 81.8, 5.5);
    b.memo(u"txtMatricola"_s, 2, 82.4, 89, 4, 8);
    b.memo(u"txtAlimentazione"_s, 94.5, 82.4, 93, 4, 8);
    b.shape(u"Shape4"_s, 1, 89, 188, 12);
    b.memo(u"txtUbicazione"_s, 2, 90, 185.4, 4, 8);
    b.hline(u"Line4"_s, 1, 95, 188);
    b.memo(u"txtCaratteristiche"_s, 2, 96, 185.4, 4, 8);

    // Start of work and return
    b.shape(u"Shape5"_s, 1, 104, 188, 5.8, kLightSteelBlue);
    b.memo(u"titAccettazione"_s, 2, 105, 185.8, 4.2, 9, Centre, u"INIZIO LAVORI E RICONSEGNA"_s);
    b.shape(u"Shape6"_s, 1, 110, 188, 12);
    b.vline(u"Line7"_s, 64, 110, 12);
    b.vline(u"Line8"_s, 108, 110, 12);
    b.memo(u"txtDataAccetta"_s, 2, 111, 61, 4, 8);
    b.memo(u"txtOraAccetta"_s, 66, 111, 41, 4, 8);
    b.memo(u"txtLuogo"_s, 110, 111, 77.5, 4, 8);
    b.hline(u"Line9"_s, 1, 116.4, 188);
    b.memo(u"txtDataRiconsegna"_s, 2, 117.4, 61, 4, 8);
    b.memo(u"txtOraRiconsegna"_s, 66, 117.4, 41, 4, 8);
    b.memo(u"txtTecnico"_s, 110, 117.4, 77.5, 4, 8);

    // Free-text sections
    for (const Section& sec : kSections) {
        b.shape(s(sec.bar), 1, sec.top, 188, 5.8, sec.fill);
        b.memo(s(sec.title), 2, sec.top + 1, 185.8, 4.2, 9, Centre, s(sec.caption));
        b.shape(s(sec.box), 1, sec.top + 6, 188, 6);
        b.memo(s(sec.text), 2, sec.top + 7, 185.9, 4, 8);
    }

    // State, signatures, annotations, data protection, footer
    b.shape(u"Shape17"_s, 1, 203, 90, 5.8, kGold);
    b.memo(u"titStato"_s, 2, 204, 88, 4.2, 9, Centre, u"STATO DEI LAVORI"_s);
    b.shape(u"Shape18"_s, 1, 209, 90, 6);
    b.memo(u"txtStato"_s, 2, 210, 87.9, 4, 8, Centre);
    b.shape(u"Shape19"_s, 99, 203, 90, 5.8, kGold);
    b.memo(u"titRiconsegnato"_s, 100, 204, 88, 4.2, 9, Centre, u"IMPIANTO RICONSEGNATO AL CLIENTE"_s);
    b.shape(u"Shape20"_s, 99, 209, 90, 6);
    b.memo(u"txtRiconsegnato"_s, 100, 210, 87.9, 4, 8, Centre);
    b.memo(u"titFirmaMeccanico"_s, 2, 227, 89, 5, 9, Plain, u"FIRMA DEL TECNICO ESECUTORE"_s);
    b.memo(u"titFirmaCliente"_s, 100, 227, 89, 5, 9, Plain, u"FIRMA DEL CLIENTE PER ACCETTAZIONE"_s);
    b.hline(u"Line10"_s, 2, 241, 78);
    b.hline(u"Line11"_s, 100, 241, 78);
    b.shape(u"Shape21"_s, 1, 250, 188, 5.8, kLightSteelBlue);
    b.memo(u"titAnnotazioni"_s, 2, 251, 185.8, 4.2, 9, Centre, u"ANNOTAZIONI"_s);
    b.shape(u"Shape22"_s, 1, 256, 188, 6);
    // The annotations are the user's text: printed as typed, never evaluated.
    b.memo(u"txtAnnotazioni"_s, 2, 257, 185.9, 4, 8);
    const double privacyWidth = output == Output::Print ? 196 : output == Output::Preview ? 194 : 195;
    b.memo(u"titPrivacy"_s, 2, 264, privacyWidth, 3.5, 6, output == Output::Pdf ? Expressions : Plain,
           u"I dati personali del Cliente saranno trattati nel rispetto della normativa sulla privacy "
           u"esclusivamente per l'erogazione del servizio e non saranno forniti a terzi o utilizzati per "
           u"l'invio di pubblicit\u00e0."_s);
    b.shape(u"Shape23"_s, 1, 270, 188, 5.8, kGold);
    b.memo(u"txtCalce"_s, 2, 271, 185.8, 4.2, 8, Centre);
    return report;
}

void fillJobSheet(DocumentFill& f)
{
    f.set(u"txtNumScheda"_s, u"Scheda di Lavoro n. "_s + f.value(u"txtNumScheda"_s));
    f.set(u"txtData"_s, u"Data emissione:  "_s + f.value(u"txtData"_s));
    f.set(u"txtPagamento"_s, f.value(u"txtPagamento"_s));
    f.set(u"txtFattura"_s,
          f.value(u"txtFattura"_s) + u" - Importo totale: \u20ac "_s + f.value(u"txtTotFattura"_s));
    for (const Labelled& l : kCustomerAndInstallation) f.set(s(l.name), s(l.prefix) + f.value(s(l.name)));
    f.set(u"txtGaranzia"_s, f.ticked(u"chkGaranzia"_s) ? u"Garanzia:  S\u00ec"_s : u"Garanzia:  No"_s);
    for (const Labelled& l : kStartAndReturn) f.set(s(l.name), s(l.prefix) + f.value(s(l.name)));
    // The faults memo is spelled otherwise in the layout; names are matched ignoring case.
    for (const char16_t* name : {u"txtAnomalie", u"txtControlli", u"txtLavori", u"txtRicambi",
                                 u"txtRaccomandazioni", u"txtAnnotazioni", u"txtStato"})
        f.set(s(name), f.value(s(name)));
    f.set(u"txtRiconsegnato"_s, f.ticked(u"chkRiconsegnato"_s) ? u"S\u00ec"_s : u"No"_s);
    const TDateTime now = orv::platform::nowDateTime();
    f.set(u"txtCalce"_s, u"Stampa eseguita in data "_s + orv::platform::dateToStr(now) + u" alle ore "_s + orv::platform::timeToStr(now));
}

JobSheetWindow::JobSheetWindow(QWidget* owner, const QString& name, Output output, Buttons buttons,
                               const QString& pdfFile)
    : DocumentWindow(owner,
                     {.name = name, .output = output, .buttons = buttons, .editor = u"frmLavoro"_s,
                      .pdfFile = pdfFile, .pictureTop = 0},
                     [output] { return jobSheetLayout(output); }, true)
{
}

void JobSheetWindow::fill(DocumentFill& f) { fillJobSheet(f); }

} // namespace orv::printing

namespace orv::printing {

using namespace orv::printing;

TfrmStampaLav::TfrmStampaLav(QWidget* owner) : JobSheetWindow(owner, u"frmStampaLav"_s, Output::Print, Buttons::Narrow) {}

TfrmAnteprimaLav::TfrmAnteprimaLav(QWidget* owner)
    : JobSheetWindow(owner, u"frmAnteprimaLav"_s, Output::Preview, Buttons::Wide)
{
}

TfrmCrea_PDF_Lav::TfrmCrea_PDF_Lav(QWidget* owner)
    : JobSheetWindow(owner, u"frmCrea_PDF_Lav"_s, Output::Pdf, Buttons::Narrow, u"Scheda_di_Lavoro.pdf"_s)
{
}

} // namespace orv::printing
