// The job sheet: the fill of every memo from the job-sheet editor on screen, the page the
// engine prepares from it, and the three windows' last steps.
#include "documents_base_fixture.h"

#include "jobs/lavoro.h"
#include "printing/doclayout.h"
#include "printing/jobsheet.h"

using namespace orv::jobs;
using namespace orv::report;

using namespace orv::test;
using orv::printing::Output;

namespace {

// Every edit and combo edit the job sheet reads, with the value the editor shows (with
// blanks around it, which the sheet drops).
const std::pair<const char16_t*, const char16_t*> kShown[] = {
    {u"txtNumScheda", u" 17 "},
    {u"txtData", u"02/03/2026 "},
    {u"txtPagamento", u"  Contanti"},
    {u"txtFattura", u"Ricevuta n. 5"},
    {u"txtTotFattura", u"120,50"},
    {u"txtCliente", u"Rossi Mario "},
    {u"txtCodFiscCli", u"RSSMRA70A01L219X"},
    {u"txtTelCli", u"011 555 1234"},
    {u"txtIndirizzoCli", u"Via Roma 1, Torino"},
    {u"txtTipoImpianto", u"Caldaia"},
    {u"txtMarca", u"Vaillant ecoTEC"},
    {u"txtAnnoCostruz", u"2015"},
    {u"txtMatricola", u"AB-778"},
    {u"txtAlimentazione", u"Metano"},
    {u"txtCaratteristiche", u"24 kW a condensazione"},
    {u"txtUbicazione", u"Cucina"},
    {u"txtDataAccetta", u"01/03/2026"},
    {u"txtOraAccetta", u"09:15"},
    {u"txtLuogo", u"Domicilio Cliente"},
    {u"txtDataRiconsegna", u"03/03/2026"},
    {u"txtOraRiconsegna", u"17:40"},
    {u"txtTecnico", u"Bianchi"},
    {u"txtAnomalie", u"\tPerde acqua "},
    {u"txtControlli", u"Pressione e tenuta"},
    {u"txtLavori", u"Sostituita guarnizione"},
    {u"txtRicambi", u"Guarnizione 3/4"},
    {u"txtRaccomandazioni", u"Controllo annuale"},
    {u"txtAnnotazioni", u"Nessuna"},
    {u"txtStato", u"Riparato"},
};

// What the sheet prints from those values on 15/03/2026 at 10:30.
const std::pair<const char16_t*, const char16_t*> kPrinted[] = {
    {u"txtNumScheda", u"Scheda di Lavoro n. 17"},
    {u"txtData", u"Data emissione:  02/03/2026"},
    {u"txtPagamento", u"Contanti"},
    {u"txtFattura", u"Ricevuta n. 5 - Importo totale: \u20ac 120,50"},
    {u"txtCliente", u"Cognome e nome:  Rossi Mario"},
    {u"txtCodFiscCli", u"Codice Fiscale:  RSSMRA70A01L219X"},
    {u"txtTelCli", u"Tel.  011 555 1234"},
    {u"txtIndirizzoCli", u"Indirizzo:  Via Roma 1, Torino"},
    {u"txtTipoImpianto", u"Tipo:  Caldaia"},
    {u"txtMarca", u"Marca e modello:  Vaillant ecoTEC"},
    {u"txtAnnoCostruz", u"Anno costruzione:  2015"},
    {u"txtMatricola", u"Matricola n.  AB-778"},
    {u"txtAlimentazione", u"Alimentazione:  Metano"},
    {u"txtCaratteristiche", u"Caratteristiche tecniche:  24 kW a condensazione"},
    {u"txtGaranzia", u"Garanzia:  S\u00ec"},
    {u"txtUbicazione", u"Ubicazione:  Cucina"},
    {u"txtDataAccetta", u"Data inizio:  01/03/2026"},
    {u"txtOraAccetta", u"Ora inizio:  09:15"},
    {u"txtLuogo", u"Luogo intervento:  Domicilio Cliente"},
    {u"txtDataRiconsegna", u"Data riconsegna:  03/03/2026"},
    {u"txtOraRiconsegna", u"Ora riconsegna:  17:40"},
    {u"txtTecnico", u"Tecnico esecutore:  Bianchi"},
    {u"TXTaNOMALIE", u"Perde acqua"},
    {u"txtControlli", u"Pressione e tenuta"},
    {u"txtLavori", u"Sostituita guarnizione"},
    {u"txtRicambi", u"Guarnizione 3/4"},
    {u"txtRaccomandazioni", u"Controllo annuale"},
    {u"txtAnnotazioni", u"Nessuna"},
    {u"txtStato", u"Riparato"},
    {u"txtRiconsegnato", u"No"},
    {u"txtCalce", u"Stampa eseguita in data 15/03/2026 alle ore 10:30:00"},
};

QString s(const char16_t* text) { return QString::fromUtf16(text); }

class JobSheetDocumentTest : public DocumentsTest {
protected:
    void SetUp() override
    {
        DocumentsTest::SetUp();
        showAndActivate(*frmLavoro);
    }
    void showValues()
    {
        for (const auto& [name, value] : kShown) {
            orv::platform::ui::Control* c = frmLavoro->findControl(s(name));
            if (auto* e = dynamic_cast<orv::platform::ui::Edit*>(c)) e->setText(s(value));
            else frmLavoro->control<orv::platform::ui::ComboEdit>(s(name)).setText(s(value));
        }
    }
    // Opens the window through the editor's command and confirms it.
    void confirmThrough(orv::platform::ui::Image& command, const QString& window)
    {
        whenShown(window, [](orv::platform::ui::Form& f) { click(document(f).btnStampa); });
        click(command);
    }
};

} // namespace

TEST_F(JobSheetDocumentTest, PrintsEveryValueTheEditorShowsTrimmedAndPrefixed)
{
    showValues();
    // Unsaved: the warranty ticked with the mouse and the technician retyped by keys.
    click(frmLavoro->chkGaranzia);
    ASSERT_TRUE(frmLavoro->chkGaranzia.isChecked());
    frmLavoro->txtTecnico.setText(QString());
    type(frmLavoro->txtTecnico, u"Bianchi"_qs);
    ASSERT_EQ(frmLavoro->txtTecnico.text(), u"Bianchi"_qs);

    confirmThrough(frmLavoro->cmdStampa, u"frmStampaLav"_qs);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].pages, 1);
    for (const auto& [name, text] : kPrinted)
        EXPECT_EQ(printed[0].memos.value(s(name)).text, s(text)) << s(name).toStdString();
    EXPECT_TRUE(engineErrors().isEmpty());
}

TEST_F(JobSheetDocumentTest, AnEmptyEditorPrintsThePrefixesAlone)
{
    for (const auto& [name, value] : kShown) {
        orv::platform::ui::Control* c = frmLavoro->findControl(s(name));
        if (auto* e = dynamic_cast<orv::platform::ui::Edit*>(c)) e->setText(QString());
        else frmLavoro->control<orv::platform::ui::ComboEdit>(s(name)).setText(QString());
    }
    frmLavoro->chkRiconsegnato.setChecked(false);
    frmLavoro->chkGaranzia.setChecked(false);
    confirmThrough(frmLavoro->cmdAnteprima, u"frmAnteprimaLav"_qs);
    ASSERT_EQ(previewed.size(), 1u);
    const auto& m = previewed[0].memos;
    EXPECT_EQ(m.value(u"txtCliente"_qs).text, u"Cognome e nome:  "_qs);
    EXPECT_EQ(m.value(u"txtNumScheda"_qs).text, u"Scheda di Lavoro n. "_qs);
    EXPECT_EQ(m.value(u"txtPagamento"_qs).text, QString());
    EXPECT_EQ(m.value(u"txtFattura"_qs).text, u" - Importo totale: \u20ac "_qs);
    EXPECT_EQ(m.value(u"txtGaranzia"_qs).text, u"Garanzia:  No"_qs);
    EXPECT_EQ(m.value(u"txtRiconsegnato"_qs).text, u"No"_qs);
    EXPECT_EQ(m.value(u"TXTaNOMALIE"_qs).text, QString());
    EXPECT_EQ(m.value(u"txtCalce"_qs).text, u"Stampa eseguita in data 15/03/2026 alle ore 10:30:00"_qs);
}

TEST_F(JobSheetDocumentTest, ATickedReturnedFlagPrintsYes)
{
    showValues();
    click(frmLavoro->chkRiconsegnato);
    ASSERT_TRUE(frmLavoro->chkRiconsegnato.isChecked());
    confirmThrough(frmLavoro->cmdAnteprima, u"frmAnteprimaLav"_qs);
    ASSERT_EQ(previewed.size(), 1u);
    EXPECT_EQ(previewed[0].memos.value(u"txtRiconsegnato"_qs).text, u"S\u00ec"_qs);
    EXPECT_EQ(previewed[0].memos.value(u"txtGaranzia"_qs).text, u"Garanzia:  No"_qs);
}

TEST_F(JobSheetDocumentTest, BracketsInTheAnnotationsPrintAsTyped)
{
    showValues();
    frmLavoro->txtAnnotazioni.setText(u"Richiamare [urgente] entro il 20"_qs);
    frmLavoro->txtLavori.setText(u"[1+1]"_qs);
    confirmThrough(frmLavoro->cmdStampa, u"frmStampaLav"_qs);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].memos.value(u"txtAnnotazioni"_qs).text, u"Richiamare [urgente] entro il 20"_qs);
    EXPECT_EQ(printed[0].memos.value(u"txtLavori"_qs).text, u"[1+1]"_qs);
    EXPECT_TRUE(engineErrors().isEmpty());
}

TEST_F(JobSheetDocumentTest, ThePreparedPageLiesWhereTheSheetIsDrawn)
{
    struct Placed {
        const char16_t* name;
        double left, top, width, height;
        const char16_t* text;  // nullptr: filled
    };
    const Placed expected[] = {
        {u"txtNumScheda", 86, 3.5, 101, 4, nullptr},
        {u"titPagamento", 86, 20.5, 101, 3.5, u"Modalit\u00e0 di pagamento:"},
        {u"txtFattura", 91, 34.5, 96, 4, nullptr},
        {u"titCliente", 2, 44, 185.8, 4.2, u"DATI CLIENTE"},
        {u"txtTelCli", 118.5, 56, 69, 4, nullptr},
        {u"titVeicolo", 2, 65, 185.8, 4.2, u"DATI IMPIANTO"},
        {u"txtMatricola", 2, 82.4, 89, 4, nullptr},
        {u"txtGaranzia", 158.5, 77, 29, 4, nullptr},
        {u"titAccettazione", 2, 105, 185.8, 4.2, u"INIZIO LAVORI E RICONSEGNA"},
        {u"txtTecnico", 110, 117.4, 77.5, 4, nullptr},
        {u"titAnomalie", 2, 126, 185.8, 4.2, u"ANOMALIE SEGNALATE DAL CLIENTE"},
        {u"TXTaNOMALIE", 2, 132, 185.9, 4, nullptr},
        {u"titRaccomandazioni", 2, 186, 185.8, 4.2, u"RACCOMANDAZIONI PER IL CLIENTE"},
        {u"txtRaccomandazioni", 2, 192, 185.9, 4, nullptr},
        {u"txtStato", 2, 210, 87.9, 4, nullptr},
        {u"titRiconsegnato", 100, 204, 88, 4.2, u"IMPIANTO RICONSEGNATO AL CLIENTE"},
        {u"titFirmaCliente", 100, 227, 89, 5, u"FIRMA DEL CLIENTE PER ACCETTAZIONE"},
        {u"txtAnnotazioni", 2, 257, 185.9, 4, nullptr},
        {u"txtCalce", 2, 271, 185.8, 4.2, nullptr},
    };
    showValues();
    confirmThrough(frmLavoro->cmdStampa, u"frmStampaLav"_qs);
    ASSERT_EQ(printed.size(), 1u);
    const auto& memos = printed[0].memos;
    for (const Placed& p : expected) {
        SCOPED_TRACE(s(p.name).toStdString());
        ASSERT_TRUE(memos.contains(s(p.name)));
        const PlacedMemo& m = memos[s(p.name)];
        EXPECT_NEAR(m.left, p.left, 1e-3);
        EXPECT_NEAR(m.top, p.top, 1e-3);
        EXPECT_NEAR(m.width, p.width, 1e-3);
        EXPECT_NEAR(m.height, p.height, 1e-3);
        if (p.text) {
            EXPECT_EQ(m.text, s(p.text));
        }
    }
    EXPECT_EQ(memos.value(u"titPrivacy"_qs).text.left(40), u"I dati personali del Cliente saranno tra"_qs);
}

TEST_F(JobSheetDocumentTest, TheThreeLayoutsDifferOnlyInTheDataProtectionLineAndAnnotations)
{
    struct Variant {
        Output output;
        double privacyWidth;
        bool privacyExpressions, lockedPreviewEditing;
    };
    for (const Variant v : {Variant{Output::Print, 196, false, false}, Variant{Output::Preview, 194, false, true},
                            Variant{Output::Pdf, 195, true, false}}) {
        auto report = orv::printing::jobSheetLayout(v.output);
        auto* privacy = report->FindObjectAs<TfrxMemoView>(u"titPrivacy"_qs);
        EXPECT_NEAR(privacy->Width() / orv::printing::kPixelsPerMm, v.privacyWidth, 1e-6);
        EXPECT_EQ(privacy->AllowExpressions(), v.privacyExpressions);
        EXPECT_FALSE(report->FindObjectAs<TfrxMemoView>(u"txtAnnotazioni"_qs)->AllowExpressions());
        EXPECT_EQ(report->PreviewOptions()->AllowEdit(), !v.lockedPreviewEditing);
        EXPECT_EQ(report->ReportOptions()->Name(), u"Scheda di Lavoro"_qs);
    }
}
