// The quote document: the page its print, preview and PDF windows prepare from the quote
// editor on screen (header, thirty rows, totals, extra information), and the layout the
// three windows share.
#include "documents_quote_fixture.h"

#include "printing/doclayout.h"
#include "printing/quote.h"
#include "printing/quotelayout.h"
#include "quotes/menupreventivi.h"
#include "quotes/preventivi.h"
#include "report/model/views.h"

#include <QProcess>

using namespace orv::quotes;
using namespace orv::report;
using namespace orv::script;
using namespace orv::shell;

using namespace orv::test;
using orv::printing::TradeDocument;

namespace {

class QuoteDocumentTest : public TradeDocumentTest {
protected:
    orv::documents::DocumentEditor& ed() { return *frmPreventivi; }
    void SetUp() override
    {
        TradeDocumentTest::SetUp();
        openEditor(frmAvvio->imgPreventivi, *frmMenuPreventivi, *frmPreventivi);
    }
};

} // namespace

TEST_F(QuoteDocumentTest, PrintsTheQuoteOnScreenWithItsRowsTotalsAndExtraInformation)
{
    show(ed(), {{"txtNumFatt", " 12/2026 "},
                {"txtData", "14/03/2026"},
                {"txtDitta", "Termoidraulica Neri"},
                {"txtViaDitta", "Via Po 3 "},
                {"txtCapDitta", "10100"},
                {"txtCittaDitta", " Torino"},
                {"txtProvDitta", "TO"},
                {"txtIvaDitta", "01234567890"},
                {"txtCodFiscDitta", ""},
                {"txtLibero01", "Tel. 011 000"},
                {"txtLibero02", ""},
                {"txtCliente", "Rossi Mario"},
                {"txtViaCliente", "Corso Dante 9"},
                {"txtCapCliente", ""},
                {"txtCittaCliente", "Cuneo"},
                {"txtProvCliente", "CN"},
                {"txtIvaCliente", "  "},
                {"txtCodFiscCliente", "RSSMRA70A01L219X"},
                {"txtRiferimenti", "Vs. richiesta del 10/03"},
                {"txtPagamento", "Bonifico 30 gg"},
                {"txtBanca", "Banca Alpina"},
                {"txtIban", "IT60X0542811101000000123456"},
                {"txtNote", " [DATE] urgente <b>"},
                {"txtPercIva", "22"},
                {"memVeicolo", "Cantiere di Alba"},
                {"memMarca", " Corriere Rapido "},
                {"memColore", "Scatole"},
                {"memImmatricolazione", "Franco"},
                {"memAlimentazione", "Vendita"},
                {"memTarga", "3"}});
    typeRow(ed(), 1, "2", "ART-1", "Valvola", "10,00", "0");
    typeRow(ed(), 5, "1", "ART-5", "Termostato [x]", "50,00", "10");
    typeRow(ed(), 30, "3", "Z-30", "Ultima riga", "1,00", "");
    ed().row(5).chkEs.setChecked(true);
    click(ed().cmdCalcola);
    ASSERT_EQ(ed().row(1).txtImporto.text(), u"20,00"_qs);
    // Typed after the calculation: the quantity prints as shown, the amount as last computed.
    ed().row(1).txtQuant.setText(u"5"_qs);

    confirmThrough(ed().cmdStampa, u"frmStampaPrev"_qs);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].pages, 1);
    const auto& memos = printed[0].memos;
    const std::pair<const char*, const char*> expected[] = {
        {"txtNumFatt", "Preventivo n. 12/2026"},
        {"txtData", "Data emissione:  14/03/2026"},
        {"txtDitta", "Termoidraulica Neri"},
        {"txtViaDitta", "Via Po 3"},
        {"txtCittaDitta", "10100 Torino TO"},
        {"txtIvaDitta", "P.IVA: 01234567890  C.F. "},
        {"txtLibero01", "Tel. 011 000"},
        {"txtLibero02", ""},
        {"titSpettabile", "Spettabile"},
        {"txtCliente", "Rossi Mario"},
        {"txtViaCliente", "Corso Dante 9"},
        {"txtCittaCliente", " Cuneo CN"},
        {"txtIvaCliente", ""},
        {"txtCodFiscCliente", "C.F. RSSMRA70A01L219X"},
        {"titRiferimenti", "Riferimenti:"},
        {"txtRiferimenti", "Vs. richiesta del 10/03"},
        {"txtPagamento", "Pagamento: Bonifico 30 gg"},
        {"txtBanca", "Banca d'appoggio: Banca Alpina"},
        {"txtIban", "IBAN: IT60X0542811101000000123456"},
        {"txtNote", "Note: [DATE] urgente <b>"},
        {"titQuant", "Quant."},
        {"titCodice", "Codice art."},
        {"titDesc", "Descrizione"},
        {"titPrezzo", "Prezzo"},
        {"titPercSconto", "% Sc."},
        {"titImporto", "Imp. tot."},
        {"txtQuant01", "5"},
        {"txtCodice01", "ART-1"},
        {"txtImporto01", "20,00"},
        {"txtQuant02", ""},
        {"txtImporto02", ""},
        {"txtDesc05", "Termostato [x]"},
        {"txtPrezzo05", "50,00"},
        {"txtPercSconto05", "10"},
        {"txtDesc30", "Ultima riga"},
        {"txtPercSconto30", ""},
        {"titTotImponibile", "TOT. IMPONIBILE"},
        {"titPercIva", "% IVA"},
        {"titTotImposta", "TOT. IMPOSTA"},
        {"titTotIva", "TOT. IVA INCLUSA"},
        {"titTotEsente", "TOT. ESENTE"},
        {"titTotFattura", "TOT. PREVENTIVO"},
        {"txtPercIva", "22"},
        {"txtVeicolo", "Destinazione merce:  Cantiere di Alba"},
        {"txtMarca", "Vettore:  Corriere Rapido"},
        {"txtColore", "Aspetto esteriore dei beni:  Scatole"},
        {"txtImmatricolazione", "Porto:  Franco"},
        {"txtAlimentazione", "Causale del trasporto:  Vendita"},
        {"txtTarga", "Numero colli:  3"},
        {"titConai", "CONTRIBUTI CONAI E SIAE ASSOLTI OVE DOVUTO."},
    };
    for (const auto& [name, text] : expected)
        EXPECT_EQ(memos.value(QString::fromLatin1(name)).text, QString::fromUtf8(text)) << name;
    // Amounts and totals are the editor's, as it shows them.
    for (int n : {5, 30})
        EXPECT_EQ(memos.value(cell("txtImporto", n)).text, ed().row(n).txtImporto.text()) << n;
    for (const char* total : {"txtTotImponibile", "txtTotImposta", "txtTotIva", "txtTotEsente", "txtTotFattura"}) {
        const QString shown = ed().control<orv::platform::ui::Label>(QString::fromLatin1(total)).text();
        EXPECT_FALSE(shown.isEmpty()) << total;
        EXPECT_EQ(memos.value(QString::fromLatin1(total)).text, shown) << total;
    }
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(QuoteDocumentTest, AnEmptyQuotePrintsItsPrefixesAloneAndEmptyRows)
{
    for (const char* name : {"txtNumFatt", "txtDitta", "txtViaDitta", "txtCapDitta", "txtCittaDitta", "txtProvDitta",
                             "txtIvaDitta", "txtCodFiscDitta", "txtCapCliente", "txtCittaCliente", "txtProvCliente",
                             "txtPagamento", "memImmatricolazione", "memTarga"})
        show(ed(), QString::fromLatin1(name), QString());
    confirmThrough(ed().cmdStampa, u"frmStampaPrev"_qs);
    ASSERT_EQ(printed.size(), 1u);
    const auto& memos = printed[0].memos;
    EXPECT_EQ(memos.value(u"txtNumFatt"_qs).text, u"Preventivo n. "_qs);
    EXPECT_EQ(memos.value(u"txtIvaDitta"_qs).text, u"P.IVA:   C.F. "_qs);
    EXPECT_EQ(memos.value(u"txtCittaDitta"_qs).text, u"  "_qs);
    EXPECT_EQ(memos.value(u"txtPagamento"_qs).text, u"Pagamento: "_qs);
    EXPECT_EQ(memos.value(u"txtImmatricolazione"_qs).text, u"Porto:  "_qs);
    EXPECT_EQ(memos.value(u"txtTarga"_qs).text, u"Numero colli:  "_qs);
    for (const char* column : {"txtQuant", "txtCodice", "txtDesc", "txtPrezzo", "txtPercSconto", "txtImporto"})
        for (int n : {1, 17, 30}) EXPECT_EQ(memos.value(cell(column, n)).text, QString()) << column << n;
}

TEST_F(QuoteDocumentTest, PreviewShowsTheSamePageAndTheWindowCloses)
{
    show(ed(), {{"txtCliente", "Bianchi Anna"}});
    typeRow(ed(), 2, "1", "K", "Kit", "5,00", "");
    orv::platform::ui::Form* shownWindow = nullptr;
    whenShown(u"frmAnteprimaPrev"_qs, [&](orv::platform::ui::Form& f) {
        shownWindow = &f;
        EXPECT_EQ(f.caption(), u" Anteprima di stampa"_qs);
        EXPECT_EQ(document(f).btnStampa.text(), u"Mostra anteprima"_qs);
        click(document(f).btnStampa);
        EXPECT_FALSE(f.isVisible()) << "the window closes after the preview";
    });
    click(ed().cmdAnteprima);
    ASSERT_NE(shownWindow, nullptr);
    ASSERT_EQ(previewed.size(), 1u);
    EXPECT_TRUE(printed.empty());
    EXPECT_EQ(previewed[0].memos.value(u"txtCliente"_qs).text, u"Bianchi Anna"_qs);
    EXPECT_EQ(previewed[0].memos.value(u"txtDesc02"_qs).text, u"Kit"_qs);
}

TEST_F(QuoteDocumentTest, PdfIsWrittenUncompressedAndOpenedAfterYes)
{
    show(ed(), {{"txtNumFatt", "12/2026"}, {"txtCliente", "Rossi Mario"}, {"memTarga", "4"}});
    typeRow(ed(), 1, "2", "ART-1", "Valvola [A]", "10,00", "");
    click(ed().cmdCalcola);
    messages.answers = {orv::platform::ui::mrNo, orv::platform::ui::mrYes};
    int confirmations = 0;
    whenShown(u"frmCrea_PDF_Prev"_qs, [&](orv::platform::ui::Form& f) {
        EXPECT_EQ(f.caption(), u" Esporta in PDF"_qs);
        click(document(f).btnStampa);
        EXPECT_TRUE(f.isVisible()) << "No keeps the window open";
        click(document(f).btnStampa);
        confirmations = int(messages.calls.size());
    });
    click(ed().cmdPDF);
    EXPECT_EQ(confirmations, 2);
    const QString path = programFolder() + u"Preventivo.pdf"_qs;
    EXPECT_EQ(shell.opened, QStringList({u'"' + path + u'"'}));
    QProcess p;
    p.start(u"pdftotext"_qs, {u"-layout"_qs, path, u"-"_qs});
    p.waitForFinished(60000);
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* piece : {"Preventivo n. 12/2026", "Rossi Mario", "Valvola [A]", "20,00", "TOT. PREVENTIVO",
                              "Numero colli: 4", "CONTRIBUTI CONAI E SIAE ASSOLTI OVE DOVUTO."})
        EXPECT_TRUE(text.contains(QString::fromLatin1(piece))) << piece << "\n" << text.toStdString();
    // The quote's streams are written without compression.
    EXPECT_FALSE(readFile(u"Preventivo.pdf"_qs).contains("/FlateDecode"));
}

TEST_F(QuoteDocumentTest, AnnullaPrintsNothing)
{
    whenShown(u"frmStampaPrev"_qs, [](orv::platform::ui::Form& f) { click(document(f).btnAnnulla); });
    click(ed().cmdStampa);
    EXPECT_EQ(modal.shown, QStringList({u"frmStampaPrev"_qs}));
    EXPECT_TRUE(printed.empty());
    EXPECT_TRUE(previewed.empty());
}

// The layout as the quote is drawn: bounds in millimetres, fonts, fills and alignment.
TEST(QuoteLayout, ObjectsStandWhereTheQuoteIsDrawn)
{
    auto report = orv::printing::tradeDocumentLayout(TradeDocument::Quote);
    EXPECT_EQ(report->ReportOptions()->Name(), u"Preventivo"_qs);
    struct Expected {
        const char* name;
        double left, top, width, height;
        double points; // 0 for objects that are no memo
        TfrxHAlign align;
        TAlphaColor fill;
        bool bold;
    };
    using orv::printing::kLavender;
    const Expected table[] = {
        {"shpGabbia", 1, 1, 188, 275, 0, haLeft, claNull, false},
        {"imgLogo", 3, 3, 77, 38, 0, haLeft, claWhite, false},
        {"shpNumFatt", 84, 3, 103, 12, 0, haLeft, kLavender, false},
        {"txtNumFatt", 87, 4.5, 97, 4, 9, haLeft, claNull, true},
        {"txtData", 87, 9.5, 97, 4, 9, haLeft, claNull, false},
        {"txtIvaCliente", 84, 38, 103, 5, 8, haLeft, claNull, false},
        {"txtLibero02", 3, 69.5, 77, 4, 8, haLeft, claNull, false},
        {"linNote", 3, 75, 81, 0, 0, haLeft, claNull, false},
        {"txtNote", 3, 76, 184, 4, 8, haLeft, claNull, false},
        {"shpArticoli", 3, 81.5, 184, 157, 0, haLeft, claNull, false},
        {"titDesc", 60, 82.5, 75, 4, 8, haCenter, claNull, false},
        {"linSepara06", 18, 81.5, 0, 157, 0, haLeft, claNull, false},
        {"txtQuant01", 4, 88, 13, 4.5, 8, haCenter, claNull, false},
        {"txtCodice12", 19, 143, 39, 4.5, 8, haLeft, claNull, false},
        {"txtPrezzo30", 137, 233, 17, 4.5, 8, haRight, claNull, false},
        {"txtPercSconto30", 156, 233, 11, 4.5, 8, haCenter, claNull, false},
        {"txtImporto30", 169, 233, 17.2, 4.5, 8, haRight, claNull, false},
        {"titTotIva", 89.6, 240.1, 32.8, 4.4, 8, haCenter, kLavender, false},
        {"titTotFattura", 155, 240.1, 32, 4.4, 8, haCenter, 0xFFFFA500, true},
        {"txtPercIva", 35.8, 245, 20.5, 3.8, 8, haCenter, claNull, false},
        {"txtTotFattura", 156, 245.4, 29.6, 3.8, 8, haRight, claNull, true},
        {"linSepara12", 89.6, 240, 0, 9.6, 0, haLeft, claNull, false},
        {"shpDatiVeicolo", 3, 251, 184, 17, 0, haLeft, claNull, false},
        {"Line2", 144, 257, 0, 11, 0, haLeft, claNull, false},
        {"txtMarca", 123.8, 252, 62.2, 4, 8, haLeft, claNull, false},
        {"txtTarga", 145, 263.4, 41, 4, 8, haLeft, claNull, false},
        {"titPrivacy", 3, 269, 194, 3.5, 6, haLeft, claNull, false},
        {"titConai", 3, 272.5, 184, 3.2, 6, haLeft, claNull, false},
    };
    const double mm = orv::printing::kPixelsPerMm;
    for (const Expected& e : table) {
        SCOPED_TRACE(e.name);
        auto* c = report->FindObject(QString::fromLatin1(e.name));
        ASSERT_NE(c, nullptr);
        EXPECT_NEAR(c->Left(), e.left * mm, 1e-6);
        EXPECT_NEAR(c->Top(), e.top * mm, 1e-6);
        EXPECT_NEAR(c->Width(), e.width * mm, 1e-6);
        EXPECT_NEAR(c->Height(), e.height * mm, 1e-6);
        if (auto* view = dynamic_cast<TfrxView*>(c)) {
            EXPECT_EQ(view->Color(), e.fill);
        }
        if (auto* m = dynamic_cast<TfrxMemoView*>(c)) {
            EXPECT_NEAR(m->Font()->Size(), e.points, 1e-4);
            EXPECT_EQ(m->HAlign(), e.align);
            EXPECT_EQ(m->Font()->Style().contains(fsBold), e.bold);
        }
    }
    EXPECT_EQ(report->FindObjectAs<TfrxMemoView>(u"txtNote"_qs)->VAlign(), vaCenter);

    // 226 memos, none of which evaluates, wraps or reads tags; every object on the page.
    auto* page = report->GetPageAs<TfrxReportPage>(1);
    int memos = 0;
    for (TfrxComponent* c : page->Objects())
        if (auto* m = dynamic_cast<TfrxMemoView*>(c)) {
            ++memos;
            EXPECT_FALSE(m->AllowExpressions() || m->WordWrap() || m->AllowHTMLTags()) << m->Name().toStdString();
        }
    EXPECT_EQ(memos, 226);
    // Drawing order: the totals frame first, the rule under the total titles last, so
    // the lines of the totals box lie over the filled titles.
    const auto& objects = page->Objects();
    EXPECT_EQ(objects.front()->Name(), u"shpRiepilogo"_qs);
    EXPECT_EQ(objects.back()->Name(), u"linSepara02"_qs);
    const auto at = [&](const char* name) {
        for (qsizetype i = 0; i < objects.size(); ++i)
            if (objects[i]->Name() == QLatin1String(name)) return i;
        return qsizetype(-1);
    };
    EXPECT_LT(at("txtQuant30"), at("shpDatiVeicolo"));
    EXPECT_LT(at("titTotFattura"), at("linSepara10"));
    EXPECT_LT(at("txtImporto30"), at("titTotFattura"));
}
