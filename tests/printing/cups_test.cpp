// Printing through a real CUPS queue: a delivery note and a list, printed the way a user
// prints them (the document window or the list's print command, then the print dialog's
// OK), reach a cups-pdf printer as a PDF whose texts can be found, whose fonts travel
// with it and whose words stand where the PDF export of the same pages puts them; a
// queue that refuses jobs or is stopped gets nothing, and the user is told.
#include "cupsqueue.h"
#include "documents_quote_fixture.h"

#include "archive/lists.h"
#include "ddt/ddt.h"
#include "ddt/menuddt.h"
#include "printing/docpdf.h"
#include "printing/list.h"
#include "printing/printwriter.h"
#include "report/pages/previewpages.h"
#include "report/print/printloop.h"
#include "report/print/printservice.h"

#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QLineF>
#include <QRectF>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace orv::archive;
using namespace orv::ddt;
using namespace orv::report;
using namespace orv::script;
using namespace orv::shell;

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

struct Word {
    QString text;
    QRectF box; // points from the page's top-left corner
};

struct WordPage {
    double width = 0, height = 0;
    std::vector<Word> words;
};

// The words of every page with their boxes, as pdftotext finds them.
std::vector<WordPage> wordsOf(const QString& file)
{
    std::vector<WordPage> pages;
    const QString html = toolOutput(u"pdftotext"_qs, {u"-bbox"_qs, file, u"-"_qs});
    const QRegularExpression page(u"<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"_qs);
    const QRegularExpression word(
        u"<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"_qs);
    for (const QString& part : html.split(u"</page>"_qs)) {
        const QRegularExpressionMatch p = page.match(part);
        if (!p.hasMatch())
            continue;
        WordPage out{p.captured(1).toDouble(), p.captured(2).toDouble(), {}};
        for (auto it = word.globalMatch(part); it.hasNext();) {
            const QRegularExpressionMatch w = it.next();
            out.words.push_back({w.captured(5), QRectF(QPointF(w.captured(1).toDouble(), w.captured(2).toDouble()),
                                                       QPointF(w.captured(3).toDouble(), w.captured(4).toDouble()))});
        }
        pages.push_back(out);
    }
    return pages;
}

// The words of the export that the printed pages lack at their place, told as "page:
// word at x, y"; the pages must match in number and size. A landscape page reaches the
// portrait paper of the queue turned a quarter to the left, as a printer feeds it. A
// word's box follows the ascender and descender of the font as each file describes it,
// which CUPS's conversion describes anew: boxes may differ by a point or two, a word
// out of its line or its column by far more.
QStringList misplacedWords(const QString& exported, const QString& printed)
{
    constexpr double tolerance = 2.5;
    const std::vector<WordPage> want = wordsOf(exported), got = wordsOf(printed);
    if (want.size() != got.size())
        return {u"%1 pages exported, %2 printed"_qs.arg(want.size()).arg(got.size())};
    QStringList out;
    for (size_t p = 0; p < want.size(); ++p) {
        const bool turned = want[p].width > want[p].height && got[p].width < got[p].height;
        const double w = turned ? want[p].height : want[p].width, h = turned ? want[p].width : want[p].height;
        if (std::abs(w - got[p].width) > 1 || std::abs(h - got[p].height) > 1)
            out << u"page %1 is %2 x %3 printed, %4 x %5 exported"_qs.arg(p + 1)
                       .arg(got[p].width).arg(got[p].height).arg(want[p].width).arg(want[p].height);
        for (const Word& word : want[p].words) {
            const QRectF& b = word.box;
            const QPointF at = turned ? QPointF(b.top(), want[p].width - b.right()) : b.topLeft();
            QString nearest;
            double best = 1e9;
            for (const Word& g : got[p].words)
                if (g.text == word.text && QLineF(g.box.topLeft(), at).length() < best) {
                    best = QLineF(g.box.topLeft(), at).length();
                    nearest = u" (printed at %1, %2)"_qs.arg(g.box.left()).arg(g.box.top());
                }
            if (best > tolerance)
                out << u"%1: %2 at %3, %4%5"_qs.arg(p + 1).arg(word.text).arg(at.x()).arg(at.y()).arg(nearest);
        }
    }
    return out;
}

class CupsPrintTest : public TradeDocumentTest {
protected:
    std::unique_ptr<CupsPdfQueue> queue;
    int dialogs = 0;
    QTemporaryDir exports;
    // The PDF export of the pages last printed, made just before they were printed.
    QString exported() const { return exports.filePath(u"export.pdf"_qs); }
    bool printed = false;

    void SetUp() override
    {
        TradeDocumentTest::SetUp();
        // The engine's own print driver, which prints on the system's printers, with the
        // program's page writer; each print leaves the export of its pages beside it.
        orv::printing::installPrintWriter();
        frxSetPrintDriver([this](TfrxPreviewPages* pages) {
            auto pdf = orv::printing::newDocumentExporter(orv::printing::PdfStreams::Compressed);
            pdf->SetFileName(exported());
            EXPECT_TRUE(pages->Report()->Export(pdf.get()));
            return printed = frxPrintPreparedPages(pages);
        });
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
        whenShown(u"frxPrintDialog"_qs, [this](orv::platform::ui::Form& f) {
            ++dialogs;
            auto* ok = f.findChild<QPushButton*>(u"OkB"_qs);
            ASSERT_NE(ok, nullptr);
            QTest::mouseClick(ok, Qt::LeftButton, Qt::NoModifier, ok->rect().center());
        });
    }

    void TearDown() override
    {
        orv::report::setPageWriterMaker({});
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
        arrivedFile = files->first();
        return readArrived(arrivedFile);
    }
    QString arrivedFile;

    // What the export of the same pages holds is what arrived, at the same places and in
    // as many fonts (which CUPS's conversion names by the faces they carry).
    void expectAsExported(const ArrivedPdf& pdf)
    {
        EXPECT_EQ(misplacedWords(exported(), arrivedFile), QStringList());
        const ArrivedPdf want = readArrived(exported());
        EXPECT_EQ(pdf.fonts.size(), want.fonts.size())
            << pdf.fonts.join(u' ').toStdString() << " / " << want.fonts.join(u' ').toStdString();
    }

    void printDeliveryNote()
    {
        openEditor(frmAvvio->imgDDT, *frmMenuDDT, *frmDDT);
        show(*frmDDT, {{"txtNumFatt", "7"},
                       {"txtData", "15/03/2026"},
                       {"txtCliente", "Verdi Luca"},
                       {"txtNote", "Consegna al piano"}});
        typeRow(*frmDDT, 3, "4", "TUBO-16", "Tubo multistrato 16 mm", "2,50", "5");
        click(frmDDT->cmdCalcola);
        confirmThrough(frmDDT->cmdStampa, u"frmStampaDDT"_qs);
    }

    QStringList listLines() const
    {
        QStringList lines;
        for (int i = 1; i <= 120; ++i)
            lines << u"RIGA %1 CLIENTE DI PROVA"_qs.arg(i, 4, 10, QChar(u'0'));
        return lines;
    }
};

} // namespace

TEST_F(CupsPrintTest, DeliveryNoteArrivesWithItsTextsAndEmbeddedFonts)
{
    printDeliveryNote();
    EXPECT_TRUE(printed);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(engineErrors(), QStringList());

    const ArrivedPdf pdf = arrived();
    EXPECT_EQ(pdf.pages, 1);
    for (const char* piece : {"Documento di Trasporto n. 7", "Verdi Luca", "Tubo multistrato 16 mm", "TOT. DDT",
                              "FIRMA DI CHI RITIRA LA MERCE:"})
        EXPECT_TRUE(pdf.text.contains(QString::fromUtf8(piece))) << piece << "\n" << pdf.text.toStdString();
    EXPECT_TRUE(hasFont(pdf, u"LiberationSans"_qs)) << pdf.fonts.join(u' ').toStdString();
    EXPECT_EQ(pdf.notEmbedded, QStringList());
    expectAsExported(pdf);
}

TEST_F(CupsPrintTest, ListOf120LinesArrivesOnThreePagesWithItsTextsAndEmbeddedFonts)
{
    const QStringList lines = listLines();
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
    expectAsExported(pdf);
}

// Pages scaled to the sheet are drawn through the printer's engine, not written whole;
// they reach the queue through the same checked job.
TEST_F(CupsPrintTest, ScaledListArrivesWithItsTexts)
{
    const QStringList lines = listLines();
    orv::printing::SummaryReport layout;
    layout.report().PrintOptions()->SetPrintMode(pmScale);
    ASSERT_TRUE(StampaRiepilogo(layout, u"Riepilogo Clienti da ricontattare"_qs, lines));
    EXPECT_TRUE(printed);
    EXPECT_EQ(engineErrors(), QStringList());

    const ArrivedPdf pdf = arrived();
    EXPECT_EQ(pdf.pages, 3);
    for (const QString& piece : {lines[0], lines[59], lines[119]})
        EXPECT_TRUE(pdf.text.contains(piece)) << piece.toStdString() << "\n" << pdf.text.toStdString();
    EXPECT_EQ(pdf.notEmbedded, QStringList());
}

// A queue that takes no jobs, and one that is stopped and would keep the job until
// someone starts it: the print says why nothing was printed and leaves nothing queued.
TEST_F(CupsPrintTest, QueueThatRefusesOrIsStoppedPrintsNothingAndSaysSo)
{
    struct Case {
        const char* state;
        bool (CupsPdfQueue::*set)();
        const char* told;
    };
    const Case cases[] = {{"refusing", &CupsPdfQueue::refuseJobs, "non accetta lavori"},
                          {"stopped", &CupsPdfQueue::stopQueue, "è ferma"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        ASSERT_TRUE(((*queue).*c.set)()) << queue->problem().toStdString();
        const QString message = u"Il documento non è stato stampato: la stampante \"%1\" %2."_qs.arg(
            queue->name(), QString::fromUtf8(c.told));

        messages.calls.clear();
        printDeliveryNote();
        EXPECT_FALSE(printed);
        EXPECT_EQ(engineErrors(), QStringList{message});

        messages.calls.clear();
        orv::printing::SummaryReport layout;
        ASSERT_TRUE(StampaRiepilogo(layout, u"Riepilogo Clienti da ricontattare"_qs, listLines()));
        EXPECT_FALSE(printed);
        EXPECT_EQ(engineErrors(), QStringList{message});

        EXPECT_EQ(queue->jobCount(), 0);
        EXPECT_EQ(queue->pdfs(), QStringList());
        ASSERT_TRUE(queue->resume()) << queue->problem().toStdString();
    }
}
