// The list print "Riepilogo dati" as the list windows print it: the title, every line of
// the list in list order over as many landscape pages as it needs, the date at the end.
#include "card_fixture.h"
#include "gui/doubles.h"

#include "shell/avvio.h"
#include "shell/startup.h"
#include "customers/cliente.h"
#include "customers/clienti.h"
#include "kit/reports.h"
#include "customers/ricontatta.h"
#include "archive/lists.h"
#include "printing/list.h"
#include "report/model/report.h"
#include "report/model/textrenderer.h"
#include "report/model/views.h"
#include "report/pages/previewpages.h"

using namespace orv::archive;
using namespace orv::customers;
using namespace orv::report;

using namespace orv::test;

namespace {

using ListPrintTest = CardPrintingTest;

QStringList linesOf(const std::vector<PreparedPage>& pages)
{
    QStringList all;
    for (const PreparedPage& p : pages)
        if (const PreparedView* v = p.find(u"txtRiepilogo"_qs)) all += v->text.split(u'\n');
    return all;
}

} // namespace

TEST_F(ListPrintTest, RecontactListOfManyCustomersRunsOverSeveralPages)
{
    QByteArray archive;
    for (int i = 1; i <= 120; ++i) {
        TCliente c;
        c.Cliente = QStringLiteral("Cliente %1").arg(i, 3, 10, QChar(u'0'));
        if (i == 7) c.Cliente += u" [DATE] <b>"_qs;
        c.Ricontatta = u"Sì"_qs;
        archive += c.encode();
    }
    writeFile(TCliente::kFileName, archive);
    QStringList shownLines;
    modal.scripts[u"frmRicontatta"_qs] = [&](orv::platform::ui::Form& form) {
        auto& f = static_cast<TfrmRicontatta&>(form);
        shownLines = f.lstRecords.itemsText();
        click(f.btnStampa);
    };
    showAndActivate(*frmClienti);
    click(frmClienti->cmdRicontatta);

    ASSERT_EQ(recorder.outputs.size(), 1u);
    const RecordedOutput& out = recorder.outputs.front();
    EXPECT_EQ(out.how, u"print"_qs);
    EXPECT_EQ(out.reportName, u"Riepilogo dati"_qs);
    // 120 lines of 12.822 pixels: 1538.64 pixels, three landscape pages.
    ASSERT_EQ(out.pages.size(), 3u);
    EXPECT_EQ(out.pages[0].text(u"txtTitolo"_qs), u"Riepilogo Clienti da ricontattare"_qs);
    EXPECT_EQ(out.pages[1].find(u"txtTitolo"_qs), nullptr) << "the title heads the first page only";
    EXPECT_EQ(out.pages[2].text(u"txtPagina"_qs), u"Stampa eseguita in data 15/03/2026"_qs);
    EXPECT_EQ(out.pages[0].find(u"txtPagina"_qs), nullptr) << "the date follows the last line once";
    ASSERT_EQ(shownLines.size(), 120);
    // Every line once, in list order, as the list shows it (brackets and tags as typed).
    EXPECT_EQ(linesOf(out.pages), shownLines);
    EXPECT_TRUE(shownLines[6].startsWith(u"Cliente 007 [DATE] <b>"_qs));
}

TEST_F(ListPrintTest, LayoutIsLandscapeA4WithTheTitleAndLineMemos)
{
    orv::printing::SummaryReport layout;
    TfrxReport& r = layout.report();
    auto* page = r.GetPageAs<TfrxReportPage>(1);
    EXPECT_EQ(page->Orientation(), poLandscape);
    EXPECT_EQ(page->PaperSize(), 9);
    EXPECT_NEAR(page->PaperWidth(), 297, 1e-9);
    EXPECT_NEAR(page->PaperHeight(), 210, 1e-9);

    orv::kit::printList(nullptr, u"Riepilogo contratti di manutenzione"_qs,
                          {u"RIGA UNO"_qs, u"RIGA DUE"_qs});
    ASSERT_EQ(recorder.outputs.size(), 1u);
    const PreparedPage& p = recorder.outputs.front().pages.at(0);
    const PreparedView* title = p.find(u"txtTitolo"_qs);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->fill, 0xFF708090u);
    EXPECT_EQ(title->font, u"Verdana -12 bold"_qs);
    const PreparedView* lines = p.find(u"txtRiepilogo"_qs);
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->text, u"RIGA UNO\nRIGA DUE"_qs);
    EXPECT_TRUE(lines->font.startsWith(u"Courier New -10.66666"_qs)) << lines->font.toStdString();
    EXPECT_NEAR(lines->bounds.left(), 11.33859, 1e-4);
    EXPECT_NEAR(lines->bounds.top(), 30.23624, 1e-4) << "right under the title band";
    EXPECT_NEAR(lines->bounds.height(), 2 * 12.822, 1e-4);
    const PreparedView* date = p.find(u"txtPagina"_qs);
    ASSERT_NE(date, nullptr);
    EXPECT_NEAR(date->bounds.top(), 30.23624 + 2 * 12.822 + 10 + 7.55906, 1e-4);
}

TEST_F(ListPrintTest, AListWhosePreparationFailsIsNotPrinted)
{
    orv::printing::SummaryReport layout;
    layout.report().ScriptText()->SetText(u"begin\r\n  Sconosciuto := 1;\r\nend."_qs);
    EXPECT_TRUE(StampaRiepilogo(layout, u"Riepilogo"_qs, {u"RIGA UNO"_qs}));
    EXPECT_TRUE(recorder.outputs.empty());
    EXPECT_FALSE(layout.report().Errors()->isEmpty());
}

TEST_F(ListPrintTest, ALongListIsLaidOutOnceWhateverItsPages)
{
    // Each page part used to lay out all the text still left: the work grew with the
    // square of the lines (56,000 lines never finished). Counted, not timed.
    QStringList lines;
    for (int i = 1; i <= 3000; ++i)
        lines << QStringLiteral("%1 Cliente con una riga di elenco lunga quanto basta").arg(i, 5, 10, QChar(u'0'));
    orv::printing::SummaryReport layout;
    const qint64 before = TAdvancedTextRenderer::ParagraphsLaidOut;
    ASSERT_TRUE(StampaRiepilogo(layout, u"Riepilogo"_qs, lines));
    const qint64 work = TAdvancedTextRenderer::ParagraphsLaidOut - before;

    ASSERT_EQ(recorder.outputs.size(), 1u);
    const std::vector<PreparedPage>& pages = recorder.outputs.front().pages;
    EXPECT_GT(pages.size(), 50u);
    EXPECT_EQ(linesOf(pages), lines) << "every line once, in order";
    // Once for the split, once more for drawing each part; a layout per part of what
    // is left would be some 28 times the lines.
    EXPECT_LE(work, 3 * lines.size()) << work;
}

TEST_F(ListPrintTest, EveryLineOfALongListReachesThePagesOnceWhateverItsCount)
{
    // Counts around those where the parts, counted by height, once ran a line short of
    // the text: 56 lines of 12.822 fill a page but for 0.08 pixels, and that shortfall
    // added up page after page until the last lines were cut.
    for (const int count : {12430, 12431, 12487, 55999, 56000, 56001, 56003}) {
        SCOPED_TRACE(count);
        QStringList lines;
        lines.reserve(count);
        for (int i = 1; i <= count; ++i) lines << QStringLiteral("RIGA %1").arg(i, 6, 10, QChar(u'0'));
        orv::printing::SummaryReport layout;
        ASSERT_TRUE(layout.setMemoLines(u"txtRiepilogo"_qs, lines));
        layout.setHeight(u"txtRiepilogo"_qs, count * orv::archive::kSummaryLineHeight);
        layout.setHeight(u"MasterData"_qs, count * orv::archive::kSummaryLineHeight + 10);
        TfrxReport& r = layout.report();
        ASSERT_TRUE(r.PrepareReport(true)) << r.Errors()->Text().toStdString();
        QStringList seen;
        bool footer = false;
        for (int p = 0; p < r.PreviewPages()->Count(); ++p)
            for (TfrxComponent* c : r.PreviewPages()->GetPage(p)->AllObjects()) {
                auto* m = dynamic_cast<TfrxCustomMemoView*>(c);
                if (m && m->Name() == u"txtPagina"_qs) footer = true;
                if (!m || m->Name() != u"txtRiepilogo"_qs) continue;
                QString text = m->Text();
                if (text.endsWith(u"\r\n"_qs)) text.chop(2);
                if (text.isEmpty()) continue;
                const QStringList part = text.split(u"\r\n"_qs);
                // The letters of the part's last line stand inside its text room.
                const double pitch = m->Font()->GetHeight() + 2;
                EXPECT_LE(double(part.size() - 1) * pitch + m->Font()->GetHeight(),
                          m->Height() - 2 * m->GapY() + 1e-6)
                    << "page " << p + 1 << " cuts its last lines";
                seen += part;
            }
        ASSERT_EQ(seen.size(), count);
        EXPECT_EQ(seen, lines) << "every line once, in order";
        EXPECT_TRUE(footer);
    }
}
