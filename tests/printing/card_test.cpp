// The record cards as the editors print them: the customer, article and schedule cards
// filled from the editor on screen, prepared by the report engine and handed to the
// printer or the preview.
#include "card_fixture.h"
#include "gui/doubles.h"

#include "shell/avvio.h"
#include "shell/startup.h"
#include "customers/clienti.h"
#include "kit/reports.h"
#include "platform/core/formats.h"
#include "printing/card.h"
#include "schedule/scadenzario.h"
#include "warehouse/magazzino.h"

#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>

using namespace orv::customers;
using namespace orv::report;
using namespace orv::schedule;
using namespace orv::script;
using namespace orv::warehouse;

using namespace orv::test;

namespace {

class CardTest : public CardPrintingTest {
protected:

    const PreparedPage& onlyPage(const QString& how) const
    {
        EXPECT_EQ(recorder.outputs.size(), 1u);
        const RecordedOutput& out = recorder.outputs.front();
        EXPECT_EQ(out.how, how);
        EXPECT_EQ(out.pages.size(), 1u);
        return out.pages.front();
    }
    // The text poppler reads from a PDF file of the program folder.
    QString pdfText(const QString& name) const
    {
        QProcess p;
        p.start(u"pdftotext"_qs, {u"-layout"_qs, programFolder() + name, u"-"_qs});
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    QString footerNow() const
    {
        const orv::platform::TDateTime now = orv::platform::nowDateTime();
        return u"Stampa eseguita in data 15/03/2026 alle ore "_qs + orv::platform::timeToStr(now);
    }
};

} // namespace

TEST_F(CardTest, CustomerCardPrintsTheUnsavedValuesOnScreenOnOnePage)
{
    TfrmClienti& ed = *frmClienti;
    showAndActivate(ed);
    type(ed.txtCliente, u"  Rossi Mario "_qs);
    type(ed.txtComuneNasc, u"Torino"_qs);
    type(ed.txtTipoImpianto, u"Caldaia"_qs);
    ed.txtDataScade.setText(u"01/10/2026"_qs);
    type(ed.txtNote, u"[DATE] richiamare <b>subito</b>"_qs);
    const QString longText(250, u'x');
    type(ed.txtCaratteristiche, longText);
    click(ed.cmdStampa);

    const PreparedPage& page = onlyPage(u"print"_qs);
    EXPECT_EQ(recorder.outputs.front().reportName, u"Scheda informativa"_qs);
    EXPECT_EQ(page.text(u"txtTitolo"_qs), u"SCHEDA ANAGRAFICA CLIENTE"_qs);
    EXPECT_EQ(page.text(u"titCampo01"_qs), u"Cognome e nome:"_qs);
    EXPECT_EQ(page.text(u"txtCampo01"_qs), u"Rossi Mario"_qs);
    // Joined values keep their separators also where a part is empty.
    EXPECT_EQ(page.text(u"txtCampo03"_qs), u"Torino "_qs);
    EXPECT_EQ(page.text(u"txtCampo16"_qs), u"N.   -  Scadenza: "_qs);
    EXPECT_EQ(page.text(u"txtCampo18"_qs), u"Caldaia  Scadenza manutenzione:  01/10/2026"_qs);
    EXPECT_EQ(page.text(u"titCampo24"_qs), u"Note:"_qs);
    // Bracketed text and tags print as typed, never evaluated.
    EXPECT_EQ(page.text(u"txtCampo24"_qs), u"[DATE] richiamare <b>subito</b>"_qs);
    // A long value stays one line in its box: the memo neither wraps nor grows.
    const PreparedView* caratteristiche = page.find(u"txtCampo22"_qs);
    ASSERT_NE(caratteristiche, nullptr);
    EXPECT_EQ(caratteristiche->text, longText);
    EXPECT_FALSE(caratteristiche->wrap);
    EXPECT_NEAR(caratteristiche->bounds.height(), 22.67718, 1e-4);
    EXPECT_EQ(page.text(u"txtCalce"_qs), footerNow());
}

TEST_F(CardTest, CardObjectsStandWhereTheLayoutPutsThem)
{
    showAndActivate(*frmClienti);
    click(frmClienti->cmdStampa);
    const PreparedPage& page = onlyPage(u"print"_qs);

    struct Expected {
        const char* name;
        QRectF bounds;
        TAlphaColor fill;
        const char* font;
    };
    const Expected table[] = {
        {"imgLogo", {11.33859, 11.33859, 64.25201, 49.13389}, claWhite, ""},
        {"txtTitolo", {86.92919, 11.33859, 623.62245, 34.01577}, 0xFFFF8C00, "Arial -21.33333"},
        {"linSepara01", {86.92919, 60.47248, 623.62245, 0}, claNull, ""},
        {"titCampo01", {11.33859, 90.70872, 196.53556, 22.67718}, 0xFF008080, "Arial -12"},
        {"txtCampo01", {226.7718, 90.70872, 483.77984, 22.67718}, claNull, "Arial -13.333333"},
        {"titCampo13", {11.33859, 90.70872 + 12 * 37.7953, 196.53556, 22.67718}, 0xFF008080, "Arial -12"},
        {"txtCampo24", {226.7718, 960.00062, 483.77984, 22.67718}, claNull, "Arial -13.333333"},
        {"linSepara02", {11.33859, 1001.57545, 699.21305, 0}, claNull, ""},
        {"txtCalce", {11.33859, 1016.69357, 699.21305, 22.67718}, 0xFFFF8C00, "Arial -13.333333"},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.name);
        const PreparedView* v = page.find(QString::fromLatin1(e.name));
        ASSERT_NE(v, nullptr);
        EXPECT_NEAR(v->bounds.left(), e.bounds.left(), 1e-4);
        EXPECT_NEAR(v->bounds.top(), e.bounds.top(), 1e-4);
        EXPECT_NEAR(v->bounds.width(), e.bounds.width(), 1e-4);
        EXPECT_NEAR(v->bounds.height(), e.bounds.height(), 1e-4);
        EXPECT_EQ(v->fill, e.fill);
        if (*e.font) {
            EXPECT_TRUE(v->font.startsWith(QString::fromLatin1(e.font))) << v->font.toStdString();
            EXPECT_FALSE(v->expressions);
        }
    }
    // 1 picture, 2 lines, the title, the footer and 48 memos of the pairs.
    EXPECT_EQ(page.views.size(), 53u);
}

TEST_F(CardTest, CustomerPreviewShowsThePreparedCardWithItsFourButtons)
{
    showAndActivate(*frmClienti);
    type(frmClienti->txtCliente, u"Bianchi Anna"_qs);
    click(frmClienti->cmdAnteprima);
    const PreparedPage& page = onlyPage(u"preview"_qs);
    EXPECT_EQ(page.text(u"txtCampo01"_qs), u"Bianchi Anna"_qs);
    EXPECT_EQ(recorder.outputs.front().buttons, (TfrxPreviewButtons{pbPrint, pbZoom, pbFullScreen, pbClose}));
}

TEST_F(CardTest, ArticleCardHasItsTitleAndTheMinimumStockLine)
{
    TfrmMagazzino& ed = *frmMagazzino;
    showAndActivate(ed);
    type(ed.txtCodice, u"ART-01"_qs);
    ed.txtSottoscorta.setText(u"5"_qs);
    click(ed.cmdStampa);
    const PreparedPage& page = onlyPage(u"print"_qs);
    EXPECT_EQ(page.text(u"txtTitolo"_qs), u"SCHEDA ARTICOLO"_qs);
    EXPECT_EQ(page.text(u"txtCampo01"_qs), u"ART-01"_qs);
    EXPECT_EQ(page.text(u"titCampo15"_qs), u"Preavviso sottoscorta:"_qs);
    EXPECT_EQ(page.text(u"txtCampo15"_qs), u"5 pezzi rimasti"_qs);
}

TEST_F(CardTest, ScheduleCardPreviewsWithItsOwnButtonsAndBlankLastPairs)
{
    TfrmScadenzario& w = *frmScadenzario;
    showAndActivate(w);
    w.txtAnno.setFocus();
    w.txtAnno.lineEdit()->selectAll();
    keys(w, u"2024"_qs);
    click(w.btnApri);
    type(w.txtNote, u"rata [1+1]"_qs);
    click(w.cmdImporta);

    const PreparedPage& page = onlyPage(u"preview"_qs);
    EXPECT_EQ(recorder.outputs.front().buttons,
              (TfrxPreviewButtons{pbPrint, pbZoom, pbFullScreen, pbThumbnails, pbNavigator, pbClose}));
    EXPECT_EQ(page.text(u"txtTitolo"_qs), u"SCHEDA SCADENZA / APPUNTAMENTO"_qs);
    EXPECT_TRUE(page.find(u"txtTitolo"_qs)->wrap);
    EXPECT_TRUE(page.find(u"txtCalce"_qs)->wrap);
    EXPECT_EQ(page.text(u"titCampo18"_qs), u"Note:"_qs);
    // A user's bracketed text is never evaluated: it prints as typed.
    EXPECT_EQ(page.text(u"txtCampo18"_qs), u"rata [1+1]"_qs);
    for (const char* name : {"titCampo21", "txtCampo21", "titCampo24", "txtCampo24"})
        EXPECT_EQ(page.text(QString::fromLatin1(name)), u" "_qs) << name;
    EXPECT_EQ(page.text(u"txtCalce"_qs), footerNow());
}

TEST_F(CardTest, EveryPrintFillsTheCardAfresh)
{
    showAndActivate(*frmClienti);
    type(frmClienti->txtCliente, u"Primo"_qs);
    type(frmClienti->txtNote, u"solo il primo"_qs);
    click(frmClienti->cmdStampa);
    frmClienti->txtNote.setText(QString());
    frmClienti->txtCliente.setText(u"Secondo"_qs);
    click(frmClienti->cmdStampa);
    ASSERT_EQ(recorder.outputs.size(), 2u);
    EXPECT_EQ(recorder.outputs[1].pages.front().text(u"txtCampo01"_qs), u"Secondo"_qs);
    EXPECT_EQ(recorder.outputs[1].pages.front().text(u"txtCampo24"_qs), QString());
}

TEST_F(CardTest, CustomerCardPdfIsWrittenAndOpenedUnlessTheAnswerIsNo)
{
    showAndActivate(*frmClienti);
    type(frmClienti->txtCliente, u"Rossi Mario"_qs);
    type(frmClienti->txtNote, u"[DATE] da richiamare"_qs);
    messages.answers = {orv::platform::ui::mrNo};
    click(frmClienti->cmdPDF);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().text, orv::kit::kCardPdfQuestion);
    EXPECT_TRUE(shell.opened.isEmpty()) << "No leaves the file unopened";
    const QString first = pdfText(u"Cliente.pdf"_qs);
    EXPECT_TRUE(first.contains(u"SCHEDA ANAGRAFICA CLIENTE"_qs)) << first.toStdString();
    EXPECT_TRUE(first.contains(u"Rossi Mario"_qs));
    EXPECT_TRUE(first.contains(u"[DATE] da richiamare"_qs));
    EXPECT_TRUE(first.contains(u"Stampa eseguita in data 15/03/2026"_qs));

    // A second card replaces the file without asking, and Yes opens it.
    frmClienti->txtCliente.setText(u"Bianchi Anna"_qs);
    click(frmClienti->cmdPDF);
    EXPECT_EQ(shell.opened, QStringList({u'"' + programFolder() + u"Cliente.pdf\""_qs}));
    const QString second = pdfText(u"Cliente.pdf"_qs);
    EXPECT_TRUE(second.contains(u"Bianchi Anna"_qs));
    EXPECT_FALSE(second.contains(u"Rossi Mario"_qs));
    EXPECT_TRUE(recorder.outputs.empty()) << "nothing printed or previewed";
}

TEST_F(CardTest, ArticleCardPdfCarriesItsTitle)
{
    showAndActivate(*frmMagazzino);
    frmMagazzino->txtCodice.setText(u"ART-77"_qs);
    click(frmMagazzino->cmdPDF);
    const QString text = pdfText(u"Articolo.pdf"_qs);
    EXPECT_TRUE(text.contains(u"SCHEDA ARTICOLO"_qs)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"ART-77"_qs));
    QProcess info;
    info.start(u"pdfinfo"_qs, {programFolder() + u"Articolo.pdf"_qs});
    info.waitForFinished(60000);
    const QString meta = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(meta.contains(u"Scheda informativa"_qs)) << meta.toStdString();
    EXPECT_TRUE(meta.contains(QRegularExpression(u"Pages:\\s+1\\n"_qs))) << meta.toStdString();
}

TEST_F(CardTest, ACardWhosePreparationFailsIsNeitherPrintedNorShownNorExported)
{
    orv::printing::CardReport card(orv::printing::CardKind::Record);
    // The script stops the report while the card's page is being laid out: a page is
    // there, but the preparation failed.
    card.report().ScriptText()->SetText(
        u"procedure Ferma(Sender: TfrxComponent);\r\nbegin\r\n  Engine.StopReport;\r\nend;\r\n\r\nbegin\r\nend."_qs);
    card.report().FindObjectAs<TfrxMemoView>(u"txtCalce"_qs)->SetOnBeforePrint(u"Ferma"_qs);
    card.print();
    card.preview();
    EXPECT_FALSE(card.exportPdf(programFolder() + u"scheda.pdf"_qs));
    EXPECT_TRUE(recorder.outputs.empty());
    EXPECT_FALSE(QFile::exists(programFolder() + u"scheda.pdf"_qs));

    // A script that does not compile fails the same way.
    card.report().ScriptText()->SetText(u"begin\r\n  Sconosciuto := 1;\r\nend."_qs);
    card.print();
    EXPECT_FALSE(card.report().Errors()->isEmpty());
    EXPECT_TRUE(recorder.outputs.empty());

    // Prepared, the card is shown once, with the pages of that one preparation.
    card.report().ScriptText()->SetText(u"procedure Ferma(Sender: TfrxComponent);\r\nbegin\r\nend;\r\n\r\nbegin\r\nend."_qs);
    card.preview();
    ASSERT_EQ(recorder.outputs.size(), 1u);
    EXPECT_EQ(recorder.outputs.front().how, u"preview"_qs);
    EXPECT_EQ(recorder.outputs.front().pages.size(), 1u);
}
