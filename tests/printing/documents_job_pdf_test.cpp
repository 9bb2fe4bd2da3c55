// The job sheet as "Scheda_di_Lavoro.pdf": the open question after a good export, No
// keeping the window for another try, an export that cannot write its file, and the text
// of the file as a PDF reader extracts it.
#include "documents_base_fixture.h"

#include "jobs/lavoro.h"
#include "printing/jobsheet.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

using namespace orv::jobs;
using namespace orv::script;

using namespace orv::test;

namespace {

const QString kQuestion =
    u"L'esportazione della scheda in PDF \u00e8 terminata con successo.\r\n\r\nSi vuole aprire il file?"_qs;

// The text of a PDF file as poppler's pdftotext reads it; empty when the tool is missing.
QString pdfText(const QString& path)
{
    if (QStandardPaths::findExecutable(u"pdftotext"_qs).isEmpty()) return {};
    QProcess p;
    p.start(u"pdftotext"_qs, {u"-enc"_qs, u"UTF-8"_qs, u"-layout"_qs, path, u"-"_qs});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class JobSheetPdfTest : public DocumentsTest {
protected:
    QString pdfPath() const { return programFolder() + u"Scheda_di_Lavoro.pdf"_qs; }
    void SetUp() override
    {
        DocumentsTest::SetUp();
        showAndActivate(*frmLavoro);
        frmLavoro->txtNumScheda.setText(u"17"_qs);
        frmLavoro->txtCliente.setText(u"  Rossi Mario "_qs);
        frmLavoro->txtLavori.setText(u"Sostituita guarnizione [rif. 12]"_qs);
        frmLavoro->txtTotFattura.setText(u"120,50"_qs);
    }
};

} // namespace

TEST_F(JobSheetPdfTest, NoKeepsTheWindowAndTheFileAndASecondCreaPdfReplacesIt)
{
    messages.answers = {orv::platform::ui::mrNo, orv::platform::ui::mrYes};
    QByteArray first, second;
    bool openAfterNo = false, openAfterYes = true;
    whenShown(u"frmCrea_PDF_Lav"_qs, [&](orv::platform::ui::Form& f) {
        auto& w = document(f);
        click(w.btnStampa);
        first = readFile(u"Scheda_di_Lavoro.pdf"_qs);
        openAfterNo = f.isVisible();
        clock.at = clock.at.addSecs(90);
        click(w.btnStampa);
        second = readFile(u"Scheda_di_Lavoro.pdf"_qs);
        openAfterYes = f.isVisible();
    });
    click(frmLavoro->cmdPDF);

    ASSERT_EQ(messages.calls.size(), 2u);
    for (const MessageCall& call : messages.calls) {
        EXPECT_EQ(call.kind, MessageCall::Confirmation);
        EXPECT_EQ(call.text, kQuestion);
    }
    EXPECT_TRUE(first.startsWith("%PDF-"));
    EXPECT_TRUE(openAfterNo);
    EXPECT_NE(first, second);
    EXPECT_FALSE(openAfterYes);
    EXPECT_EQ(shell.opened, QStringList{u"\""_qs + pdfPath() + u"\""_qs});
    EXPECT_TRUE(engineErrors().isEmpty());
    // The job sheet's streams are compressed.
    EXPECT_TRUE(second.contains("/FlateDecode"));
}

TEST_F(JobSheetPdfTest, TheFileHoldsTheSheetAsTheEditorShowsIt)
{
    whenShown(u"frmCrea_PDF_Lav"_qs, [](orv::platform::ui::Form& f) { click(document(f).btnStampa); });
    click(frmLavoro->cmdPDF);
    ASSERT_TRUE(QFile::exists(pdfPath()));
    const QString text = pdfText(pdfPath());
    if (text.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    for (const QString& expected :
         {u"Scheda di Lavoro n. 17"_qs, u"Cognome e nome:  Rossi Mario"_qs, u"DATI IMPIANTO"_qs,
          u"Sostituita guarnizione [rif. 12]"_qs, u"Importo totale: \u20ac 120,50"_qs, u"Garanzia:  No"_qs,
          u"Stampa eseguita in data 15/03/2026 alle ore 10:30:00"_qs}) {
        // pdftotext keeps runs of spaces as the layout places them; compare words only.
        const QString words = expected.simplified();
        EXPECT_TRUE(text.simplified().contains(words)) << words.toStdString() << "\n" << text.toStdString();
    }
}

TEST_F(JobSheetPdfTest, AnExportThatCannotWriteShowsTheEnginesErrorAndNoQuestion)
{
    // A folder in the file's place: the file cannot be written.
    ASSERT_TRUE(QDir(programFolder()).mkdir(u"Scheda_di_Lavoro.pdf"_qs));
    bool open = false;
    whenShown(u"frmCrea_PDF_Lav"_qs, [&](orv::platform::ui::Form& f) {
        click(document(f).btnStampa);
        open = f.isVisible();
    });
    click(frmLavoro->cmdPDF);
    EXPECT_TRUE(open);
    ASSERT_EQ(messages.calls.size(), 1u) << "the engine's error and no question";
    EXPECT_EQ(messages.calls[0].kind, MessageCall::Error);
    EXPECT_TRUE(shell.opened.isEmpty());
}
