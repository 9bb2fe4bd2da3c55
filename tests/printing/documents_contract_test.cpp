// The maintenance contract: the fill of every memo from the contract editor on screen and
// the page the engine prepares from it, on paper and in the preview.
#include "documents_base_fixture.h"

#include "customers/clienti.h"
#include "customers/contratto.h"
#include "printing/contract.h"
#include "platform/core/canvas.h"
#include "report/model/views.h"

#include <QImage>
#include <QPainter>

using namespace orv::customers;
using namespace orv::printing;
using namespace orv::report;

using namespace orv::test;
using orv::printing::Output;

namespace {

QString s(const char16_t* text) { return QString::fromUtf16(text); }

const std::pair<const char16_t*, const char16_t*> kShown[] = {
    {u"txtNumContratto", u" 42 "},
    {u"txtData", u"10/12/2026"},
    {u"txtLuogo", u"Torino "},
    {u"txtDitta", u"Termoidraulica Alfa s.r.l."},
    {u"txtSede", u"Torino"},
    {u"txtProvRes", u"TO"},
    {u"txtCapRes", u"10100"},
    {u"txtVia", u"Via Po 3"},
    {u"txtCodFisc", u"01234567890"},
    {u"txtPartitaIva", u"01234567890"},
    {u"txtTelUff", u"011 111111"},
    {u"txtTelCel", u"333 2222222"},
    {u"txtFax", u"011 333333"},
    {u"txtCliente", u" Verdi Anna"},
    {u"txtComuneCli", u"Moncalieri"},
    {u"txtProvCli", u"TO"},
    {u"txtCapCli", u"10024"},
    {u"txtViaCli", u"Corso Trieste 9"},
    {u"txtCodFiscCli", u"VRDNNA80B41F335Y"},
    {u"txtPartitaIvaCli", u""},
    {u"txtTelCli", u"011 444444"},
    {u"txtQualitaCli", u"Proprietario"},
    {u"txtTipoImpianto", u"Caldaia murale"},
    {u"txtMarca", u"Baxi Luna"},
    {u"txtMatricola", u"X-99"},
    {u"txtAlimentazione", u"Metano"},
    {u"txtAnnoCostruz", u"2012"},
    {u"txtCaratteristiche", u"24 kW"},
    {u"txtUbicazione", u"Balcone"},
    {u"txtOpInc01", u"Pulizia bruciatore"},
    {u"txtOpInc02", u"Analisi fumi"},
    {u"txtOpInc03", u""},
    {u"txtOpInc04", u"  Verifica tenuta  "},
    {u"txtOpEsc01", u"Ricambi"},
    {u"txtOpEsc02", u"Interventi urgenti"},
    {u"txtOpEsc03", u"Opere murarie"},
    {u"txtOpEsc04", u""},
    {u"txtDurata", u"1 anno"},
    {u"txtTotale", u"1.200,00"},
    {u"txtPeriodicita", u"Mensile"},
    {u"txtImpCanone", u"100,00"},
    {u"txtPagamento", u"Bonifico"},
};

const std::pair<const char16_t*, const char16_t*> kPrinted[] = {
    {u"txtTitolo", u"CONTRATTO DI MANUTENZIONE PROGRAMMATA"},
    {u"txtNumContratto", u"42"},
    {u"txtData", u"10/12/2026"},
    {u"txtLuogo", u"Torino"},
    {u"txtDitta",
     u"<b>Termoidraulica Alfa s.r.l.</b>, di seguito denominata Manutentore, con sede legale in <b>Torino</b>, "
     u"prov. <b>TO</b>, CAP: <b>10100</b>, in <b>Via Po 3</b>, Codice Fiscale: <b>01234567890</b>, Partita "
     u"IVA: <b>01234567890</b>, tel. ufficio: <b>011 111111</b>, tel. cellulare: <b>333 2222222</b>, fax: "
     u"<b>011 333333</b>,"},
    {u"txtUtente",
     u"<b>Verdi Anna</b>, residente in <b>Moncalieri</b>, prov. <b>TO</b>, CAP: <b>10024</b>, in <b>Corso "
     u"Trieste 9</b>, Codice Fiscale: <b>VRDNNA80B41F335Y</b>, Partita IVA: <b></b>, tel. <b>011 444444</b>, in "
     u"qualit\u00e0 di <b>Proprietario</b>."},
    {u"txtParti", u"LE PARTI CONVENGONO E STIPULANO QUANTO SEGUE:"},
    {u"titTipoImpianto", u"Tipo:"},
    {u"titAnnoCostruz", u"Anno costruz."},
    {u"txtTipoImpianto", u"Caldaia murale"},
    {u"txtMarca", u"Baxi Luna"},
    {u"txtMatricola", u"X-99"},
    {u"txtAlimentazione", u"Metano"},
    {u"txtAnnoCostruz", u"2012"},
    {u"txtCaratteristiche", u"24 kW"},
    {u"txtUbicazione", u"Balcone"},
    {u"txtOpInc01", u"Pulizia bruciatore"},
    {u"txtOpInc03", u""},
    {u"txtOpInc04", u"Verifica tenuta"},
    {u"txtOpEsc03", u"Opere murarie"},
    {u"txtOpEsc04", u""},
    {u"titPeriodicita", u"Periodicit\u00e0 canone:"},
    {u"txtDurata", u"1 anno"},
    {u"txtTotale", u"\u20ac 1.200,00"},
    {u"txtPeriodicita", u"Mensile"},
    {u"txtImpCanone", u"\u20ac 100,00"},
    {u"txtPagamento", u"Bonifico"},
    {u"txtConfermato", u"Letto, confermato e sottoscritto."},
    {u"txtPagina", u"Pagina 1 di 2"},
};

class ContractDocumentTest : public DocumentsTest {
protected:
    void SetUp() override
    {
        DocumentsTest::SetUp();
        frmClienti->hide();
        showAndActivate(*frmContratto);
    }
    void showValues()
    {
        for (const auto& [name, value] : kShown) {
            orv::platform::ui::Control* c = frmContratto->findControl(s(name));
            if (auto* e = dynamic_cast<orv::platform::ui::Edit*>(c)) e->setText(s(value));
            else frmContratto->control<orv::platform::ui::ComboEdit>(s(name)).setText(s(value));
        }
    }
    void confirmThrough(orv::platform::ui::Image& command, const QString& window)
    {
        whenShown(window, [](orv::platform::ui::Form& f) { click(document(f).btnStampa); });
        click(command);
    }
};

} // namespace

TEST_F(ContractDocumentTest, PrintsTheContractAsTheEditorShowsIt)
{
    showValues();
    // Typed and not saved: the place of signing, by keys.
    frmContratto->txtLuogo.setText(QString());
    type(frmContratto->txtLuogo, u"Torino"_qs);
    confirmThrough(frmContratto->cmdStampa, u"frmStampaCon"_qs);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].pages, 1);
    for (const auto& [name, text] : kPrinted)
        EXPECT_EQ(printed[0].memos.value(s(name)).text, s(text)) << s(name).toStdString();
    EXPECT_TRUE(engineErrors().isEmpty());
}

TEST_F(ContractDocumentTest, AnEmptyEditorPrintsTheConnectingWordsAlone)
{
    for (const auto& [name, value] : kShown) {
        orv::platform::ui::Control* c = frmContratto->findControl(s(name));
        if (auto* e = dynamic_cast<orv::platform::ui::Edit*>(c)) e->setText(QString());
        else frmContratto->control<orv::platform::ui::ComboEdit>(s(name)).setText(QString());
    }
    confirmThrough(frmContratto->cmdAnteprima, u"frmAnteprimaCon"_qs);
    ASSERT_EQ(previewed.size(), 1u);
    const auto& m = previewed[0].memos;
    EXPECT_EQ(m.value(u"txtUtente"_qs).text,
              u"<b></b>, residente in <b></b>, prov. <b></b>, CAP: <b></b>, in <b></b>, Codice Fiscale: <b></b>, "
              u"Partita IVA: <b></b>, tel. <b></b>, in qualit\u00e0 di <b></b>."_qs);
    EXPECT_TRUE(m.value(u"txtDitta"_qs).text.startsWith(u"<b></b>, di seguito denominata Manutentore"_qs));
    EXPECT_EQ(m.value(u"txtTotale"_qs).text, u"\u20ac "_qs);
    EXPECT_EQ(m.value(u"txtImpCanone"_qs).text, u"\u20ac "_qs);
    EXPECT_EQ(m.value(u"txtNumContratto"_qs).text, QString());
    EXPECT_EQ(m.value(u"txtPagina"_qs).text, u"Pagina 1 di 2"_qs);
}

TEST_F(ContractDocumentTest, BracketsInTheEditorsValuesPrintAsTyped)
{
    showValues();
    frmContratto->txtDitta.setText(u"Alfa [Gruppo Beta]"_qs);
    frmContratto->txtPagamento.setText(u"[1+1] rate"_qs);
    frmContratto->txtTotale.setText(u"[Date]"_qs);
    confirmThrough(frmContratto->cmdStampa, u"frmStampaCon"_qs);
    ASSERT_EQ(printed.size(), 1u);
    const auto& m = printed[0].memos;
    EXPECT_TRUE(m.value(u"txtDitta"_qs).text.startsWith(u"<b>Alfa [Gruppo Beta]</b>, di seguito"_qs));
    EXPECT_EQ(m.value(u"txtPagamento"_qs).text, u"[1+1] rate"_qs);
    EXPECT_EQ(m.value(u"txtTotale"_qs).text, u"\u20ac [Date]"_qs);
    EXPECT_TRUE(engineErrors().isEmpty());
}

TEST_F(ContractDocumentTest, ThePreparedPageLiesWhereTheContractIsDrawn)
{
    struct Placed {
        const char16_t* name;
        double left, top, width, height;
    };
    const Placed expected[] = {
        {u"txtTitolo", 84, 2.5, 103.8, 4.2},     {u"txtNumContratto", 117, 12.5, 71, 4},
        {u"txtLuogo", 117, 33, 71, 4},           {u"txtDitta", 2, 49, 185, 10},
        {u"txtUtente", 2, 70, 185, 10},          {u"titTesto03", 1, 84, 188, 8},
        {u"titAlimentazione", 123, 113, 23, 4},  {u"txtUbicazione", 23, 124.5, 165, 4},
        {u"txtOpInc03", 2, 152, 186, 4},         {u"txtOpEsc04", 2, 188, 186, 4},
        {u"txtImpCanone", 161, 197, 27, 4},      {u"txtPagamento", 104, 203, 84, 4},
        {u"titTesto13", 2, 228, 186, 12.5},      {u"titTesto15", 2, 255, 188, 6.2},
        {u"txtPagina", 146, 268, 42.8, 4},
    };
    showValues();
    confirmThrough(frmContratto->cmdStampa, u"frmStampaCon"_qs);
    confirmThrough(frmContratto->cmdAnteprima, u"frmAnteprimaCon"_qs);
    ASSERT_EQ(printed.size(), 1u);
    ASSERT_EQ(previewed.size(), 1u);
    for (const auto* memos : {&printed[0].memos, &previewed[0].memos}) {
        for (const Placed& p : expected) {
            SCOPED_TRACE(s(p.name).toStdString());
            ASSERT_TRUE(memos->contains(s(p.name)));
            const PlacedMemo& m = (*memos)[s(p.name)];
            EXPECT_NEAR(m.left, p.left, 1e-3);
            EXPECT_NEAR(m.top, p.top, 1e-3);
            EXPECT_NEAR(m.width, p.width, 1e-3);
            EXPECT_NEAR(m.height, p.height, 1e-3);
        }
        EXPECT_TRUE(memos->value(u"titTesto13"_qs).text.startsWith(u"TUTELA DEI DATI PERSONALI:  I dati"_qs));
        EXPECT_EQ(memos->value(u"titTesto14"_qs).text, u"FIRMA DELL'UTENTE"_qs);
    }
    // The last signature label lies 1 mm lower on paper than in the preview.
    EXPECT_NEAR(printed[0].memos.value(u"titTesto16"_qs).top, 272, 1e-3);
    EXPECT_NEAR(previewed[0].memos.value(u"titTesto16"_qs).top, 271, 1e-3);
}

TEST_F(ContractDocumentTest, TheLayoutsSwitches)
{
    auto report = orv::printing::contractLayout(Output::Print);
    struct Switches {
        const char16_t* name;
        bool expressions, tags, wrap;
        TfrxHAlign h;
        TfrxVAlign v;
    };
    // Filled memos never evaluate what the user typed; fixed texts keep their switches.
    const Switches table[] = {
        {u"txtDitta", false, true, false, haLeft, vaTop},
        {u"txtUtente", false, true, false, haLeft, vaTop},
        {u"txtTotale", false, false, false, haLeft, vaTop},
        {u"titTesto02", true, false, false, haLeft, vaTop},
        {u"titTesto03", false, false, true, haLeft, vaTop},
        {u"txtParti", true, true, false, haCenter, vaTop},
        {u"titTesto15", false, false, true, haLeft, vaCenter},
        {u"txtConfermato", false, false, false, haLeft, vaCenter},
        {u"txtPagina", false, false, false, haCenter, vaTop},
    };
    for (const Switches& sw : table) {
        SCOPED_TRACE(s(sw.name).toStdString());
        auto* m = report->FindObjectAs<TfrxMemoView>(s(sw.name));
        EXPECT_EQ(m->AllowExpressions(), sw.expressions);
        EXPECT_EQ(m->AllowHTMLTags(), sw.tags);
        EXPECT_EQ(m->WordWrap(), sw.wrap);
        EXPECT_EQ(m->HAlign(), sw.h);
        EXPECT_EQ(m->VAlign(), sw.v);
    }
    EXPECT_TRUE(report->FindObjectAs<TfrxMemoView>(u"txtPagina"_qs)->Font()->Style().contains(fsItalic));
    EXPECT_EQ(report->ReportOptions()->Name(), u"Contratto di Manutenzione"_qs);
    EXPECT_FALSE(report->PreviewOptions()->AllowEdit());
}

// The parties' paragraphs read their tags: drawn as on paper, the bold values and the
// connecting words run on over more than one line inside the memo.
TEST_F(ContractDocumentTest, TheParagraphsWrapInsideTheirMemo)
{
    showValues();
    TfrmStampaCon w(frmContratto);
    orv::printing::DocumentFill f(w.repDocumento(), *frmContratto);
    orv::printing::fillContract(f);
    ASSERT_TRUE(w.repDocumento().PrepareReport(true));
    auto* pages = w.repDocumento().PreviewPages();
    auto* memo = dynamic_cast<TfrxCustomMemoView*>(pages->GetPage(0)->FindObject(u"txtUtente"_qs));
    ASSERT_NE(memo, nullptr);

    QImage image(int(memo->Width()) + 20, int(memo->Height()) + 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        orv::platform::Canvas canvas(&painter);
        memo->Draw(&canvas, 1, 1, 10 - memo->AbsLeft(), 10 - memo->AbsTop());
    }
    // Rows of pixels with ink, inside and outside the memo's box.
    auto inkRows = [&](int from, int to) {
        int rows = 0;
        for (int y = from; y < to; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128) {
                    ++rows;
                    break;
                }
            }
        }
        return rows;
    };
    const int top = 10, bottom = 10 + int(memo->Height());
    const int firstLine = inkRows(top, top + 13), secondLine = inkRows(top + 13, bottom);
    EXPECT_GT(firstLine, 0);
    EXPECT_GT(secondLine, 0) << "the paragraph runs on to a second line";
    EXPECT_EQ(inkRows(0, top), 0);
}
