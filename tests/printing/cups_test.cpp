// Printing through a real CUPS queue: a delivery note and a list, printed the way a user
// prints them (the document window or the list's print command, then the print dialog's
// OK), reach a cups-pdf printer as a PDF whose texts can be found and whose fonts travel
// with it.
#include "cupsqueue.h"
#include "documents_quote_fixture.h"

#include "archive/lists.h"
#include "ddt/ddt.h"
#include "ddt/menuddt.h"
#include "printing/list.h"
#include "report/pages/previewpages.h"
#include "report/print/printloop.h"
#include "report/print/printservice.h"

#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <memory>

using namespace orv::test;

namespace {

QString toolOutput(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// What arrived at the printer.
struct ArrivedPdf {
    int pages = 0;
    QString text;
    QStringList fonts;        // font names as the file gives them
    QStringList notEmbedded;  // pdffonts' lines of fonts the file does not carry
};

ArrivedPdf readArrived(const QString& file)
{
    ArrivedPdf out;
    const QRegularExpressionMatch pages =
        QRegularExpression(u"Pages:\\s+(\\d+)"_qs).match(toolOutput(u"pdfinfo"_qs, {file}));
    out.pages = pages.hasMatch() ? pages.captured(1).toInt() : 0;
    out.text = toolOutput(u"pdftotext"_qs, {file, u"-"_qs});
    // name, type, encoding, then emb, sub and uni as yes or no, then the object number.
    const QRegularExpression row(u"^(\\S+)\\s.*\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"_qs);
    for (const QString& line : toolOutput(u"pdffonts"_qs, {file}).split(u'\n').mid(2)) {
        const QRegularExpressionMatch m = row.match(line);
        if (!m.hasMatch())
            continue;
        out.fonts << m.captured(1);
        if (m.captured(2) != u"yes"_qs)
            out.notEmbedded << line;
    }
    return out;
}

bool hasFont(const ArrivedPdf& pdf, const QString& family)
{
    return std::any_of(pdf.fonts.begin(), pdf.fonts.end(), [&](const QString& f) { return f.contains(family); });
}

class CupsPrintTest : public TradeDocumentTest {
protected:
    std::unique_ptr<CupsPdfQueue> queue;
    int dialogs = 0;

    void SetUp() override
    {
        TradeDocumentTest::SetUp();
        // The engine's own print driver, which prints on the system's printers.
        frxSetPrintDriver(frxPrintPreparedPages);
        queue = std::make_unique<CupsPdfQueue>();
        switch (queue->start()) {
        case CupsPdfQueue::State::Unavailable:
            GTEST_SKIP() << "no CUPS server can run here: " << queue->problem().toStdString();
        case CupsPdfQueue::State::Failed:
            FAIL() << queue->problem().toStdString();
        case CupsPdfQueue::State::Running:
            break;
        }
        // The printer list is read again, now from the test's server.
        orv::report::setPrinterService(nullptr);
        whenShown(u"frxPrintDialog"_qs, [this](orv::ui::Form& f) {
            ++dialogs;
            auto* ok = f.findChild<QPushButton*>(u"OkB"_qs);
            ASSERT_NE(ok, nullptr);
            QTest::mouseClick(ok, Qt::LeftButton, Qt::NoModifier, ok->rect().center());
        });
    }

    void TearDown() override
    {
        queue.reset();
        // Nothing read from the test's server stays in the printer list.
        orv::report::setPrinterService(nullptr);
        TradeDocumentTest::TearDown();
    }

    // The one PDF the queue wrote for the one print sent.
    ArrivedPdf arrived()
    {
        const std::optional<QStringList> files = queue->waitForPdfs(1);
        if (!files) {
            ADD_FAILURE() << queue->problem().toStdString();
            return {};
        }
        if (files->size() != 1) {
            ADD_FAILURE() << "files written by the queue: " << files->join(u", "_qs).toStdString();
            return {};
        }
        return readArrived(files->first());
    }
};

} // namespace

TEST_F(CupsPrintTest, DeliveryNoteArrivesWithItsTextsAndEmbeddedFonts)
{
    openEditor(frmAvvio->imgDDT, *frmMenuDDT, *frmDDT);
    show(*frmDDT, {{"txtNumFatt", "7"},
                   {"txtData", "15/03/2026"},
                   {"txtCliente", "Verdi Luca"},
                   {"txtNote", "Consegna al piano"}});
    typeRow(*frmDDT, 3, "4", "TUBO-16", "Tubo multistrato 16 mm", "2,50", "5");
    click(frmDDT->cmdCalcola);
    confirmThrough(frmDDT->cmdStampa, u"frmStampaDDT"_qs);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(engineErrors(), QStringList());

    const ArrivedPdf pdf = arrived();
    EXPECT_EQ(pdf.pages, 1);
    for (const char* piece : {"Documento di Trasporto n. 7", "Verdi Luca", "Tubo multistrato 16 mm", "TOT. DDT",
                              "FIRMA DI CHI RITIRA LA MERCE:"})
        EXPECT_TRUE(pdf.text.contains(QString::fromUtf8(piece))) << piece << "\n" << pdf.text.toStdString();
    EXPECT_TRUE(hasFont(pdf, u"LiberationSans"_qs)) << pdf.fonts.join(u' ').toStdString();
    EXPECT_EQ(pdf.notEmbedded, QStringList());
}

TEST_F(CupsPrintTest, ListOf120LinesArrivesOnThreePagesWithItsTextsAndEmbeddedFonts)
{
    QStringList lines;
    for (int i = 1; i <= 120; ++i)
        lines << u"RIGA %1 CLIENTE DI PROVA"_qs.arg(i, 4, 10, QChar(u'0'));
    orv::printing::SummaryReport layout;
    ASSERT_TRUE(StampaRiepilogo(layout, u"Riepilogo Clienti da ricontattare"_qs, lines));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(engineErrors(), QStringList());

    const ArrivedPdf pdf = arrived();
    EXPECT_EQ(pdf.pages, 3);
    for (const QString& piece : {u"Riepilogo Clienti da ricontattare"_qs, lines[0], lines[59], lines[119],
                                 u"Stampa eseguita in data"_qs})
        EXPECT_TRUE(pdf.text.contains(piece)) << piece.toStdString() << "\n" << pdf.text.toStdString();
    EXPECT_TRUE(hasFont(pdf, u"LiberationMono"_qs)) << pdf.fonts.join(u' ').toStdString();
    EXPECT_EQ(pdf.notEmbedded, QStringList());
}
