// The delivery note: the page its windows prepare from the delivery-note editor on screen,
// with the transport data the transport window wrote, and how its layout differs from the
// quote's.
#include "documents_quote_fixture.h"

#include "ddt/datitrasporto.h"
#include "ddt/ddt.h"
#include "ddt/menuddt.h"
#include "printing/ddt.h"
#include "printing/doclayout.h"
#include "printing/quotelayout.h"
#include "report/model/views.h"

#include <QProcess>

using namespace orv::ddt;
using namespace orv::report;
using namespace orv::shell;

using namespace orv::test;
using orv::printing::TradeDocument;

namespace {

class DeliveryNoteDocumentTest : public TradeDocumentTest {
protected:
    TfrmDDT& ed() { return *frmDDT; }
    void SetUp() override
    {
        TradeDocumentTest::SetUp();
        openEditor(frmAvvio->imgDDT, *frmMenuDDT, *frmDDT);
    }
};

} // namespace

TEST_F(DeliveryNoteDocumentTest, PrintsTheNoteWithTheTransportDataOfTheTransportWindow)
{
    show(ed(), {{"txtNumFatt", "7"},
                {"txtData", "15/03/2026"},
                {"txtCliente", "Verdi Luca"},
                {"txtIvaCliente", "09876543210"},
                {"txtCodFiscCliente", ""},
                {"txtNote", "Consegna al piano [2]"}});
    typeRow(ed(), 3, "4", "TUBO-16", "Tubo multistrato 16 mm", "2,50", "5");
    click(ed().cmdCalcola);
    clock.at = QDateTime(QDate(2026, 3, 15), QTime(8, 5));
    whenShown(u"frmDatiTrasporto"_qs, [](orv::platform::ui::Form& f) {
        auto& w = static_cast<TfrmDatiTrasporto&>(f);
        w.txtVettore.setText(u"  Mittente "_qs);
        w.txtDestinazione.setText(u"Cantiere Via Roma 5"_qs);
        w.txtCausale.setText(u"Vendita"_qs);
        w.txtAspetto.setText(u"Colli"_qs);
        click(w.impOraPartenza);
        w.txtPorto.setText(u"Franco"_qs);
        click(w.btnApplica);
    });
    click(ed().cmdDatiTrasporto);

    confirmThrough(ed().cmdStampa, u"frmStampaDDT"_qs);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].pages, 1);
    const auto& memos = printed[0].memos;
    const std::pair<const char*, const char*> expected[] = {
        {"txtNumFatt", "Documento di Trasporto n. 7"},
        {"txtData", "Data emissione:  15/03/2026"},
        {"txtCliente", "Verdi Luca"},
        {"txtIvaCliente", "P.IVA: 09876543210"},
        {"txtCodFiscCliente", ""},
        {"txtNote", "Note: Consegna al piano [2]"},
        {"txtQuant03", "4"},
        {"txtDesc03", "Tubo multistrato 16 mm"},
        {"txtQuant01", ""},
        {"titTotFattura", "TOT. DDT"},
        {"txtVettore", "Vettore:  Mittente"},
        {"txtDestinazione", "Destinazione merce:  Cantiere Via Roma 5"},
        {"txtCausale", "Causale del trasporto:  Vendita"},
        {"txtAspetto", "Aspetto esteriore dei beni:  Colli"},
        {"txtOraPartenza", "Inizio trasporto:  Ore 08:05 del 15/03/2026"},
        {"txtOraConsegna", "Consegna:  "},
        {"txtPorto", "Porto:  Franco"},
        {"Memo1", "CONTRIBUTI CONAI E SIAE ASSOLTI OVE DOVUTO."},
        {"titFirmaVettore", "FIRMA VETTORE O CONDUCENTE:"},
        {"titFirmaCliente", "FIRMA DI CHI RITIRA LA MERCE:"},
    };
    for (const auto& [name, text] : expected)
        EXPECT_EQ(memos.value(QString::fromLatin1(name)).text, QString::fromUtf8(text)) << name;
    EXPECT_FALSE(memos.contains(u"titConai"_qs));
    EXPECT_EQ(memos.value(u"txtImporto03"_qs).text, ed().row(3).txtImporto.text());
    EXPECT_FALSE(ed().row(3).txtImporto.text().isEmpty());
    EXPECT_EQ(memos.value(u"txtTotFattura"_qs).text, ed().txtTotFattura.text());
    // The page as the note is drawn: the transport memos in their boxes.
    EXPECT_NEAR(memos.value(u"txtPorto"_qs).top, 267.4, 1e-6);
    EXPECT_NEAR(memos.value(u"txtOraConsegna"_qs).left, 50, 1e-6);
    EXPECT_NEAR(memos.value(u"txtImporto30"_qs).top, 233, 1e-6);
}

TEST_F(DeliveryNoteDocumentTest, PreviewAndPrintShowTheSamePage)
{
    show(ed(), {{"txtCliente", "Neri"}, {"memPorto", "Assegnato"}});
    whenShown(u"frmAnteprimaDDT"_qs, [](orv::platform::ui::Form& f) { click(document(f).btnStampa); });
    click(ed().cmdAnteprima);
    confirmThrough(ed().cmdStampa, u"frmStampaDDT"_qs);
    ASSERT_EQ(previewed.size(), 1u);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(previewed[0].memos.value(u"txtPorto"_qs).text, u"Porto:  Assegnato"_qs);
    EXPECT_EQ(previewed[0].memos.keys(), printed[0].memos.keys());
    for (const QString& name : printed[0].memos.keys())
        EXPECT_EQ(previewed[0].memos.value(name).text, printed[0].memos.value(name).text) << name.toStdString();
}

TEST_F(DeliveryNoteDocumentTest, PdfIsDdtPdfWithTheTransportBox)
{
    show(ed(), {{"txtNumFatt", "9"}, {"memVettore", "Destinatario"}, {"memPorto", "Assegnato"}});
    whenShown(u"frmCrea_PDF_DDT"_qs, [](orv::platform::ui::Form& f) { click(document(f).btnStampa); });
    click(ed().cmdPDF);
    const QString path = programFolder() + u"DDT.pdf"_qs;
    EXPECT_EQ(shell.opened, QStringList({u'"' + path + u'"'}));
    QProcess p;
    p.start(u"pdftotext"_qs, {u"-layout"_qs, path, u"-"_qs});
    p.waitForFinished(60000);
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* piece : {"Documento di Trasporto n. 9", "TOT. DDT", "Vettore: Destinatario", "Porto: Assegnato",
                              "FIRMA VETTORE O CONDUCENTE:"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(piece))) << piece << "\n" << text.toStdString();
    EXPECT_FALSE(readFile(u"DDT.pdf"_qs).contains("/FlateDecode"));
}

// Everything but the listed differences is the quote's object for object.
TEST(DeliveryNoteLayout, DiffersFromTheQuoteOnlyWhereTheNoteIsDrawnOtherwise)
{
    auto ddt = orv::printing::tradeDocumentLayout(TradeDocument::DeliveryNote);
    auto quote = orv::printing::tradeDocumentLayout(TradeDocument::Quote);
    EXPECT_EQ(ddt->ReportOptions()->Name(), u"Documento di Trasporto"_qs);
    const double mm = orv::printing::kPixelsPerMm;
    EXPECT_NEAR(ddt->FindObject(u"txtNumFatt"_qs)->Width(), 99 * mm, 1e-6);
    EXPECT_NEAR(ddt->FindObject(u"txtData"_qs)->Width(), 99 * mm, 1e-6);

    const QSet<QString> differing = {u"txtNumFatt"_qs, u"txtData"_qs, u"shpDatiVeicolo"_qs, u"linSepara03"_qs,
                                     u"linSepara04"_qs, u"Line1"_qs, u"Line2"_qs, u"titPrivacy"_qs};
    auto* ddtPage = ddt->GetPageAs<TfrxReportPage>(1);
    int memos = 0, shared = 0;
    for (TfrxComponent* c : ddtPage->Objects()) {
        if (dynamic_cast<TfrxMemoView*>(c)) ++memos;
        TfrxComponent* twin = quote->FindObject(c->Name());
        if (!twin || differing.contains(c->Name())) continue;
        ++shared;
        EXPECT_EQ(c->ClassName(), twin->ClassName()) << c->Name().toStdString();
        EXPECT_EQ(QRectF(c->Left(), c->Top(), c->Width(), c->Height()),
                  QRectF(twin->Left(), twin->Top(), twin->Width(), twin->Height()))
            << c->Name().toStdString();
        if (auto* m = dynamic_cast<TfrxMemoView*>(c)) {
            auto* t = static_cast<TfrxMemoView*>(twin);
            EXPECT_EQ(m->Font()->Size(), t->Font()->Size()) << c->Name().toStdString();
            EXPECT_EQ(m->HAlign(), t->HAlign()) << c->Name().toStdString();
            EXPECT_EQ(m->Color(), t->Color()) << c->Name().toStdString();
        }
    }
    EXPECT_EQ(memos, 229);
    // 216 memos and 19 shapes, lines and the logo are the same on both pages.
    EXPECT_EQ(shared, 216 + 19);

    struct Expected {
        const char* name;
        double left, top, width, height, points;
    };
    const Expected table[] = {
        {"shpDatiVeicolo", 3, 251, 184, 20.4, 0},
        {"linSepara15", 95, 251, 0, 20.5, 0},
        {"Line1", 3, 266.2, 92, 0, 0},
        {"Line3", 140.5, 261.2, 0, 10.2, 0},
        {"txtVettore", 5, 251.7, 89, 3.4, 7},
        {"txtOraPartenza", 5, 262, 44, 3.2, 6},
        {"Memo1", 40, 267.6, 54, 3.2, 5},
        {"titFirmaCliente", 143, 261.5, 28, 2.4, 4},
        {"titPrivacy", 2, 272.4, 195, 3, 6},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.name);
        auto* c = ddt->FindObject(QString::fromLatin1(e.name));
        ASSERT_NE(c, nullptr);
        EXPECT_NEAR(c->Left(), e.left * mm, 1e-6);
        EXPECT_NEAR(c->Top(), e.top * mm, 1e-6);
        EXPECT_NEAR(c->Width(), e.width * mm, 1e-6);
        EXPECT_NEAR(c->Height(), e.height * mm, 1e-6);
        if (auto* m = dynamic_cast<TfrxMemoView*>(c)) {
            EXPECT_NEAR(m->Font()->Size(), e.points, 1e-4);
        }
    }
    EXPECT_NEAR(ddt->FindObjectAs<TfrxMemoView>(u"Memo1"_qs)->Font()->Height(), -6.666667, 1e-5);
    // Drawing order: both frames first, the five lines of the totals box last.
    const auto& objects = ddtPage->Objects();
    EXPECT_EQ(objects[0]->Name(), u"shpRiepilogo"_qs);
    EXPECT_EQ(objects[1]->Name(), u"shpDatiVeicolo"_qs);
    EXPECT_EQ(objects.back()->Name(), u"linSepara14"_qs);
}
