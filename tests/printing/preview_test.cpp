// The preview window as the report opens it for its prepared pages: its tool bar by the
// report's preview buttons, the page text, navigation, zoom, wheel, full screen, the
// right-click menu, thumbnails, printing from it and closing, all through real events.
#include "support.h"

#include "pdf/pdfexport.h"
#include "platform/core/canvas.h"
#include "report/model/bands.h"
#include "report/preview/previewform.h"
#include "report/print/printers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QWheelEvent>

#include <cmath>

using namespace orv::pdf;
using namespace orv::script;

using namespace orv::report;
using namespace orv::report::test;

namespace {

void clickOn(QWidget* w, Qt::MouseButton b = Qt::LeftButton, QPoint at = QPoint(-1, -1))
{
    QTest::mouseClick(w, b, Qt::NoModifier, at.x() < 0 ? w->rect().center() : at);
}

void wheel(QWidget* w, int delta, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    const QPointF at = w->rect().center();
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, m, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// Writes the window's picture into the folder ORV_SCREENS names, when it names one.
void screenshot(QWidget& w, const QString& name)
{
    const QString folder = qEnvironmentVariable("ORV_SCREENS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    EXPECT_TRUE(w.grab().save(folder + u'/' + name));
}

} // namespace

class PreviewTest : public PrintingTest {
protected:
    std::unique_ptr<TfrxReport> report;
    void SetUp() override
    {
        PrintingTest::SetUp();
        report = listReport(120);
    }
    // Shows the report in its preview window; the script drives the window while it is
    // open.
    void preview(std::function<void(TfrxPreviewForm&)> script)
    {
        bool ran = false;
        modal.scripts[QStringLiteral("frxPreviewForm")] = [&](orv::platform::ui::Form& f) {
            auto* form = dynamic_cast<TfrxPreviewForm*>(&f);
            ASSERT_NE(form, nullptr);
            ran = true;
            script(*form);
        };
        report->ShowReport(true);
        EXPECT_TRUE(ran) << messages.texts().join(u'|').toStdString();
    }
    // The pages as prepared, without preparing them again.
    void showPrepared(std::function<void(TfrxPreviewForm&)> script)
    {
        modal.scripts[QStringLiteral("frxPreviewForm")] = [&](orv::platform::ui::Form& f) {
            script(dynamic_cast<TfrxPreviewForm&>(f));
        };
        report->ShowPreparedReport();
        EXPECT_EQ(modal.shown.count(QStringLiteral("frxPreviewForm")), 1);
    }
    // A window of a fixed size instead of a maximised one.
    void windowed() { report->PreviewOptions()->SetMaximized(false); }
    static void resize(TfrxPreviewForm& f, int w, int h)
    {
        f.setWindowState(Qt::WindowNoState);
        f.resize(w, h);
        QApplication::processEvents();
    }
    static TfrxPreview& control(TfrxPreviewForm& f) { return *f.PreviewControl(); }
};

TEST_F(PreviewTest, ToolBarShowsTheButtonsOfTheReportCompacted)
{
    struct Case {
        TfrxPreviewButtons buttons;
        std::vector<std::pair<const char*, int>> expected;
    };
    const Case cases[] = {
        {{pbPrint, pbZoom, pbFullScreen, pbClose},
         {{"PrintB", 5}, {"Line1", 33}, {"ZoomCB", 38}, {"PageWidthB", 114}, {"WholePageB", 140},
          {"FullScreenBtn", 166}, {"Line3", 196}, {"CancelB", 226}}},
        {{pbPrint, pbZoom, pbFullScreen, pbClose, pbThumbnails, pbNavigator},
         {{"PrintB", 5}, {"Line1", 33}, {"ZoomCB", 38}, {"PageWidthB", 114}, {"WholePageB", 140},
          {"FullScreenBtn", 166}, {"Line2", 194}, {"ThumbB", 200}, {"Line3", 228}, {"FirstB", 234}, {"PriorB", 260},
          {"PageE", 287}, {"NextB", 338}, {"LastB", 364}, {"CancelB", 412}}},
        {TfrxPreviewOptions::AllButtons,
         {{"PrintB", 5}, {"OpenB", 31}, {"ExportB", 83}, {"ZoomCB", 116}, {"DesignerB", 356}, {"PageE", 443},
          {"CancelB", 568}}},
    };
    for (const Case& c : cases) {
        report->PreviewOptions()->SetButtons(c.buttons);
        preview([&](TfrxPreviewForm& f) {
            QStringList shown;
            for (QWidget* w : f.ToolBarChildren())
                if (!w->isHidden())
                    shown << w->objectName();
            QStringList expected;
            for (const auto& [name, x] : c.expected) {
                QWidget* w = f.ToolBar->findChild<QWidget*>(QString::fromLatin1(name));
                ASSERT_NE(w, nullptr) << name;
                EXPECT_EQ(w->x(), x) << name;
                expected << QString::fromLatin1(name);
            }
            if (c.buttons != TfrxPreviewOptions::AllButtons) {
                shown.sort();
                expected.sort();
                EXPECT_EQ(shown, expected);
            }
        });
    }
}

TEST_F(PreviewTest, OpensMaximisedOnPageOneAtOneHundredPercent)
{
    preview([&](TfrxPreviewForm& f) {
        EXPECT_TRUE(f.isMaximized());
        EXPECT_EQ(f.caption(), QStringLiteral("Riepilogo dati"));
        EXPECT_EQ(f.Panel0->text(), QStringLiteral("Page 1 of 3"));
        EXPECT_EQ(f.PageE->text(), QStringLiteral("1"));
        EXPECT_EQ(f.ZoomCB->currentText(), QStringLiteral("100%"));
        EXPECT_EQ(control(f).Zoom(), 1);
        EXPECT_EQ(f.CancelB->text(), QStringLiteral("Close"));
        EXPECT_TRUE(f.PrintB->isEnabled());
        // The page lies 10 pixels below the view's top, centred in the width less room for
        // a scroll bar.
        TfrxPreviewWorkspace* ws = control(f).Workspace();
        const TfrxPageBounds b = ws->PageList().GetPageBounds(0, ws->width(), 1, false);
        EXPECT_EQ(b.Top, 10);
        EXPECT_EQ(b.Right - b.Left, 1123);
        screenshot(f, QStringLiteral("anteprima_riepilogo.png"));
    });
    // The window is gone and the report no longer has a preview.
    EXPECT_EQ(report->Preview(), nullptr);
    EXPECT_EQ(report->PreviewForm, nullptr);
}

TEST_F(PreviewTest, NavigatesWithTheButtonsAndThePageBox)
{
    report->PreviewOptions()->SetButtons({pbPrint, pbZoom, pbFullScreen, pbClose, pbThumbnails, pbNavigator});
    windowed();
    preview([&](TfrxPreviewForm& f) {
        resize(f, 1000, 700);
        clickOn(f.NextB);
        EXPECT_EQ(f.Panel0->text(), QStringLiteral("Page 2 of 3"));
        EXPECT_EQ(control(f).PageNo(), 2);
        clickOn(f.LastB);
        EXPECT_EQ(f.PageE->text(), QStringLiteral("3"));
        clickOn(f.NextB);
        EXPECT_EQ(control(f).PageNo(), 3);
        clickOn(f.FirstB);
        EXPECT_EQ(control(f).PageNo(), 1);
        clickOn(f.PageE);
        QTest::keyClick(f.PageE, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(f.PageE, QStringLiteral("2"));
        QTest::keyClick(f.PageE, Qt::Key_Return);
        EXPECT_EQ(control(f).PageNo(), 2);
        EXPECT_EQ(f.Panel0->text(), QStringLiteral("Page 2 of 3"));
        // The page's top stands 10 pixels below the view's top.
        TfrxPreviewWorkspace* ws = control(f).Workspace();
        EXPECT_EQ(ws->VertPosition(), ws->PageList().Items(1).OffsetY - 10);
        clickOn(f.PriorB);
        EXPECT_EQ(control(f).PageNo(), 1);
        // Page Down scrolls by the view's height (645: pages at 10, 814 and 1618); the
        // page whose top is in view, or a fifth of its height below, becomes current.
        QTest::keyClick(ws, Qt::Key_PageDown);
        EXPECT_EQ(ws->VertPosition(), 645);
        EXPECT_EQ(control(f).PageNo(), 1);
        QTest::keyClick(ws, Qt::Key_PageDown);
        EXPECT_EQ(control(f).PageNo(), 2);
        QTest::keyClick(ws, Qt::Key_End);
        EXPECT_EQ(control(f).PageNo(), 3);
        QTest::keyClick(ws, Qt::Key_Home);
        EXPECT_EQ(control(f).PageNo(), 1);
    });
}

TEST_F(PreviewTest, PageNumberThatIsNoNumberChangesNothing)
{
    report->PreviewOptions()->SetButtons({pbNavigator, pbClose});
    preview([&](TfrxPreviewForm& f) {
        clickOn(f.PageE);
        QTest::keyClick(f.PageE, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(f.PageE, QStringLiteral("tre"));
        QTest::keyClick(f.PageE, Qt::Key_Return);
        EXPECT_EQ(control(f).PageNo(), 1);
    });
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("'tre' is not a valid integer value"));
}

TEST_F(PreviewTest, ZoomBoxListTypingAndFitting)
{
    windowed();
    preview([&](TfrxPreviewForm& f) {
        resize(f, 1026, 700);
        ASSERT_EQ(control(f).Workspace()->width(), 1026);
        // A choice from the list.
        f.ZoomCB->setFocus();
        f.ZoomCB->showPopup();
        QAbstractItemView* list = f.ZoomCB->view();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_EQ(f.ZoomCB->currentText(), QStringLiteral("150%"));
        EXPECT_DOUBLE_EQ(control(f).Zoom(), 1.5);
        EXPECT_TRUE(control(f).Workspace()->hasFocus());
        // Typed and confirmed with Enter, blank and "%" or not; the box then shows the
        // whole percentage, which is the zoom.
        for (const auto& [typed, zoom, shown] : {std::tuple{"150 %", 1.5, "150%"}, std::tuple{"7", 0.25, "25%"},
                                                std::tuple{"80,5", 0.81, "81%"}}) {
            QLineEdit* edit = f.ZoomCB->lineEdit();
            clickOn(edit);
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, QString::fromLatin1(typed));
            QTest::keyClick(edit, Qt::Key_Return);
            EXPECT_DOUBLE_EQ(control(f).Zoom(), zoom) << typed;
            EXPECT_EQ(f.ZoomCB->currentText(), QString::fromLatin1(shown)) << typed;
        }
        // The landscape page (1123 wide) fitted to the workspace less 26 becomes the shown
        // percentage.
        clickOn(f.PageWidthB);
        EXPECT_EQ(f.ZoomCB->currentText(), QStringLiteral("89%"));
        EXPECT_DOUBLE_EQ(control(f).Zoom(), 0.89);
        EXPECT_EQ(control(f).ZoomMode(), zmDefault);
        resize(f, 900, 700);
        EXPECT_DOUBLE_EQ(control(f).Zoom(), 0.89);
        // Menu commands step by a quarter within 25 % and 500 %.
        f.ZoomInMI->trigger();
        EXPECT_DOUBLE_EQ(control(f).Zoom(), 1.14);
        for (int i = 0; i < 30; ++i)
            f.ZoomInMI->trigger();
        EXPECT_EQ(f.ZoomCB->currentText(), QStringLiteral("500%"));
    });
}

TEST_F(PreviewTest, PageWidthFitsTheSameZoomTwiceWithoutChangingTheBox)
{
    // A4 portrait: 794 pixels wide; 1026 - 26 = 1000 fits 1.2594.
    report->GetPageAs<TfrxReportPage>(1)->SetOrientation(poPortrait);
    windowed();
    preview([&](TfrxPreviewForm& f) {
        resize(f, 1026, 700);
        clickOn(f.PageWidthB);
        EXPECT_EQ(f.ZoomCB->currentText(), QStringLiteral("126%"));
        EXPECT_DOUBLE_EQ(control(f).Zoom(), 1.26);
        EXPECT_EQ(control(f).ZoomMode(), zmDefault);
        clickOn(f.PageWidthB);
        EXPECT_NEAR(control(f).Zoom(), 1000.0 / 794, 1e-9);
        EXPECT_EQ(control(f).ZoomMode(), zmPageWidth);
        EXPECT_EQ(f.ZoomCB->currentText(), QStringLiteral("126%"));
        clickOn(f.WholePageB);
        EXPECT_EQ(control(f).PageNo(), 1);
        EXPECT_EQ(control(f).Workspace()->VertPosition(), 0);
    });
}

TEST_F(PreviewTest, WheelScrollsAndZoomsWithCtrl)
{
    windowed();
    preview([&](TfrxPreviewForm& f) {
        resize(f, 1000, 700);
        TfrxPreviewWorkspace* ws = control(f).Workspace();
        ws->SetVertPosition(1000);
        wheel(ws->Content(), 120);
        EXPECT_EQ(ws->VertPosition(), 1000 - 140);
        wheel(ws->Content(), -120);
        EXPECT_EQ(ws->VertPosition(), 1000);
        // The zoom keeps the same place of page 2 (a quarter of the way down) at the
        // view's top, then the wheel scrolls on from there.
        ASSERT_EQ(control(f).PageNo(), 2);
        const int placeOnPage = 1000 + 10 - ws->PageList().Items(1).OffsetY;
        const double share = placeOnPage / double(ws->PageList().Items(1).Height);
        wheel(ws->Content(), 120, Qt::ControlModifier);
        EXPECT_DOUBLE_EQ(control(f).Zoom(), 1.1);
        EXPECT_EQ(control(f).PageNo(), 2);
        const TfrxPageItem& second = ws->PageList().Items(1);
        EXPECT_EQ(ws->VertPosition(), second.OffsetY - 10 + int(std::lround(share * second.Height)) - 120);
        EXPECT_EQ(f.ZoomCB->currentText(), QStringLiteral("110%"));
    });
}

TEST_F(PreviewTest, FullScreenHidesTheBarsAndComesBack)
{
    preview([&](TfrxPreviewForm& f) {
        const int height = control(f).height();
        QTest::keyClick(control(f).Workspace(), Qt::Key_F11);
        EXPECT_TRUE(f.FullScreen());
        EXPECT_TRUE(f.ToolBar->isHidden());
        EXPECT_TRUE(f.StatusBar->isHidden());
        EXPECT_EQ(control(f).height(), height + 31 + 24);
        EXPECT_FALSE(f.caption().isEmpty());
        QTest::keyClick(control(f).Workspace(), Qt::Key_F11);
        EXPECT_FALSE(f.FullScreen());
        EXPECT_FALSE(f.ToolBar->isHidden());
        EXPECT_EQ(control(f).height(), height);
        EXPECT_TRUE(f.isMaximized());
        // The tool button enters it; a double click on the pages only leaves it.
        clickOn(f.FullScreenBtn);
        EXPECT_TRUE(f.FullScreen());
        QWidget* pages = control(f).Workspace()->Content();
        QTest::mouseDClick(pages, Qt::LeftButton, Qt::NoModifier, QPoint(400, 200));
        EXPECT_FALSE(f.FullScreen());
        QTest::mouseDClick(pages, Qt::LeftButton, Qt::NoModifier, QPoint(400, 200));
        EXPECT_FALSE(f.FullScreen());
    });
}

TEST_F(PreviewTest, RightClickOnThePagesOpensTheMenu)
{
    preview([&](TfrxPreviewForm& f) {
        clickOn(f.ToolBar, Qt::RightButton, QPoint(700, 10));
        clickOn(f.StatusBar, Qt::RightButton);
        EXPECT_FALSE(f.RightMenu->isVisible());
        clickOn(control(f).Workspace()->Content(), Qt::RightButton, QPoint(300, 300));
        ASSERT_TRUE(f.RightMenu->isVisible());
        QStringList items;
        for (QAction* a : f.RightMenu->actions())
            if (a->isVisible() && !a->isSeparator())
                items << a->text();
        EXPECT_EQ(items, QStringList({QStringLiteral("Open"), QStringLiteral("Save"), QStringLiteral("Print"),
                                      QStringLiteral("Export"), QStringLiteral("Export to PDF"),
                                      QStringLiteral("Send by E-mail"), QStringLiteral("Find"),
                                      QStringLiteral("Full Screen"), QStringLiteral("Zoom In"),
                                      QStringLiteral("Zoom Out")}));
        f.RightMenu->close();
    });
}

TEST_F(PreviewTest, ThumbnailsFollowThePagesAndAClickChoosesOne)
{
    report->PreviewOptions()->SetButtons({pbPrint, pbZoom, pbFullScreen, pbClose, pbThumbnails, pbNavigator});
    preview([&](TfrxPreviewForm& f) {
        TfrxPreview& p = control(f);
        clickOn(f.ThumbB);
        ASSERT_TRUE(p.ThumbnailVisible());
        EXPECT_TRUE(f.ThumbB->Down());
        EXPECT_FALSE(p.Splitter()->isHidden());
        TfrxPreviewWorkspace* thumbs = p.Thumbnail();
        EXPECT_EQ(thumbs->width(), 120);
        // A landscape page at a tenth: 112 by 79, each in a row of its own.
        const TfrxPageItem& third = thumbs->PageList().Items(2);
        EXPECT_EQ(third.Width, 112);
        EXPECT_EQ(third.Height, 79);
        EXPECT_EQ(third.OffsetY, 10 + 2 * (79 + 10));
        clickOn(thumbs->Content(), Qt::LeftButton, QPoint(third.OffsetX + 20, third.OffsetY + 20));
        EXPECT_EQ(p.PageNo(), 3);
        EXPECT_EQ(f.Panel0->text(), QStringLiteral("Page 3 of 3"));
        EXPECT_EQ(p.Workspace()->VertPosition(),
                  std::min(p.Workspace()->VertScrollBar()->maximum(), p.Workspace()->PageList().Items(2).OffsetY - 10));
        screenshot(f, QStringLiteral("anteprima_miniature.png"));
        clickOn(f.ThumbB);
        EXPECT_FALSE(p.ThumbnailVisible());
        EXPECT_TRUE(p.Splitter()->isHidden());
    });
}

TEST_F(PreviewTest, PrintButtonPrintsThroughTheDialogAndTheCurrentPage)
{
    report->PreviewOptions()->SetButtons({pbPrint, pbNavigator, pbClose});
    modal.scripts[QStringLiteral("frxPrintDialog")] = [](orv::platform::ui::Form& f) {
        auto* current = f.findChild<QAbstractButton*>(QStringLiteral("CurPageRB"));
        QTest::mouseClick(current, Qt::LeftButton, Qt::NoModifier, QPoint(6, current->height() / 2));
        QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("OkB")), Qt::LeftButton);
    };
    preview([&](TfrxPreviewForm& f) {
        clickOn(f.NextB);
        clickOn(f.PrintB);
        // Ctrl+P on the pages prints too.
        QTest::keyClick(control(f).Workspace(), Qt::Key_P, Qt::ControlModifier);
    });
    EXPECT_EQ(modal.shown, QStringList({QStringLiteral("frxPreviewForm"), QStringLiteral("frxPrintDialog"),
                                        QStringLiteral("frxPrintDialog")}));
    ASSERT_EQ(printing.documents.size(), 2u);
    for (const PrintedDocument& doc : printing.documents) {
        ASSERT_EQ(doc.pages.size(), 1u);
        EXPECT_TRUE(doc.pages[0].lines().contains(listLine(60)));
    }
}

TEST_F(PreviewTest, EscAndTheCloseButtonCloseTheWindow)
{
    bool closedByEsc = false, closedByButton = false;
    preview([&](TfrxPreviewForm& f) {
        QTest::keyClick(control(f).Workspace(), Qt::Key_Escape);
        closedByEsc = !f.isVisible();
    });
    preview([&](TfrxPreviewForm& f) {
        clickOn(f.CancelB);
        closedByButton = !f.isVisible();
    });
    EXPECT_TRUE(closedByEsc);
    EXPECT_TRUE(closedByButton);
}

TEST_F(PreviewTest, ToolButtonHintShowsBelowTheButton)
{
    preview([&](TfrxPreviewForm& f) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), f.PrintB->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(f.PageWidthB, &enter);
        ASSERT_TRUE(f.HintPanel->isVisible());
        EXPECT_EQ(f.HintPanel->Label()->text(), QStringLiteral("Page width"));
        EXPECT_EQ(f.HintPanel->y(), f.PageWidthB->y() + f.PageWidthB->height());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(f.PageWidthB, &leave);
        EXPECT_FALSE(f.HintPanel->isVisible());
    });
}

TEST_F(PreviewTest, SavedWithCtrlSAsFp3AndLoadedBackWithCtrlO)
{
    const QString typed = programFolder() + QStringLiteral("riepilogo.txt");
    const QString saved = programFolder() + QStringLiteral("riepilogo.fp3");
    saves.answers.push_back(typed);
    files.answers.push_back(saved);
    preview([&](TfrxPreviewForm& f) {
        TfrxPreview& p = control(f);
        QTest::keyClick(p.Workspace(), Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(QFile::exists(saved));
        EXPECT_FALSE(QFile::exists(typed));
        EXPECT_EQ(saves.filters, QStringList{QStringLiteral("Prepared Report (*.fp3)|*.fp3")});
        EXPECT_TRUE(p.MessagePanel()->isHidden());
        // Emptied, then read back from the file.
        p.Clear();
        EXPECT_EQ(p.PageCount(), 0);
        QTest::keyClick(p.Workspace(), Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(p.PageCount(), 3);
        EXPECT_EQ(p.PageNo(), 1);
        EXPECT_EQ(f.Panel0->text(), QStringLiteral("Page 1 of 3"));
        EXPECT_TRUE(p.MessagePanel()->isHidden());
        EXPECT_FALSE(p.Locked());
    });
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].filter, QStringLiteral("Prepared Report (*.fp3)|*.fp3"));
    // The shortcuts follow the report's buttons.
    report->PreviewOptions()->SetButtons({pbPrint, pbClose});
    preview([&](TfrxPreviewForm& f) {
        QTest::keyClick(control(f).Workspace(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(control(f).Workspace(), Qt::Key_O, Qt::ControlModifier);
    });
    EXPECT_EQ(saves.titles.size(), 1);
    EXPECT_EQ(files.requests.size(), 1u);
}

TEST_F(PreviewTest, DeletingAPageStepsBackFromTheEnd)
{
    for (const auto& [current, after] : {std::pair{1, 1}, std::pair{2, 1}, std::pair{3, 2}}) {
        preview([&](TfrxPreviewForm& f) {
            TfrxPreview& p = control(f);
            p.SetPageNo(current);
            p.DeletePage();
            EXPECT_EQ(p.PageCount(), 2) << current;
            EXPECT_EQ(p.PageNo(), after) << current;
            EXPECT_EQ(f.Panel0->text(), QStringLiteral("Page %1 of 2").arg(after)) << current;
            EXPECT_EQ(p.Workspace()->PageList().Count(), 2) << current;
        });
    }
}

TEST_F(PreviewTest, RefreshKeepsThePageUnlessTheReportGrewShorter)
{
    windowed();
    preview([&](TfrxPreviewForm& f) {
        resize(f, 1000, 700);
        TfrxPreview& p = control(f);
        p.SetPageNo(2);
        p.Workspace()->SetVertPosition(p.Workspace()->VertPosition() + 50);
        const double offset = p.Workspace()->VertPosition();
        p.RefreshReport();
        EXPECT_EQ(p.PageCount(), 3);
        EXPECT_EQ(p.PageNo(), 2);
        EXPECT_EQ(p.Workspace()->VertPosition(), offset);
        EXPECT_FALSE(p.Locked());
        // The layout now makes a single page.
        auto* memo = report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiepilogo"));
        memo->Memo()->Clear();
        memo->Memo()->Add(listLine(1));
        memo->SetHeight(13);
        report->FindObjectAs<TfrxMasterData>(QStringLiteral("MasterData"))->SetHeight(23);
        p.RefreshReport();
        EXPECT_EQ(p.PageCount(), 1);
        EXPECT_EQ(p.PageNo(), 1);
        EXPECT_EQ(f.Panel0->text(), QStringLiteral("Page 1 of 1"));
    });
}

namespace {

// An export filter of the registry that records the pages it is given.
class PageRecorder : public TfrxCustomExportFilter {
public:
    PageRecorder() : TfrxCustomExportFilter(nullptr) { SetShowDialog(false); }
    QList<int> pages;
    QString GetDescription() const override { return QStringLiteral("Pagine registrate"); }
    void StartPage(TfrxReportPage*, int Index) override { pages << Index + 1; }
    void ExportObject(TfrxComponent*) override {}
};

void chooseFromMenu(QMenu* menu, const QString& text)
{
    ASSERT_TRUE(menu->isVisible());
    for (QAction* a : menu->actions())
        if (a->text() == text) {
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(a).center());
            return;
        }
    FAIL() << "no item " << text.toStdString();
}

} // namespace

TEST_F(PreviewTest, ExportButtonListsTheRegisteredFiltersAndExportsTheCurrentPage)
{
    report->PreviewOptions()->SetButtons({pbExport, pbNavigator, pbClose});
    preview([&](TfrxPreviewForm& f) { EXPECT_TRUE(f.ExportB->isHidden()); });

    PageRecorder recorder;
    recorder.CurPage = true;
    preview([&](TfrxPreviewForm& f) {
        ASSERT_FALSE(f.ExportB->isHidden());
        clickOn(f.LastB);
        clickOn(f.ExportB);
        chooseFromMenu(f.ExportPopup, QStringLiteral("Pagine registrate..."));
        EXPECT_EQ(recorder.pages, QList<int>{3});
        EXPECT_FALSE(control(f).Locked());
        // All pages through the right-click menu's export submenu.
        recorder.CurPage = false;
        recorder.PageNumbers.clear();
        clickOn(control(f).Workspace()->Content(), Qt::RightButton, QPoint(300, 300));
        // The submenu opens from its item with the arrow key.
        QTest::mouseMove(f.RightMenu, f.RightMenu->actionGeometry(f.ExportMI->menuAction()).center());
        QTest::keyClick(f.RightMenu, Qt::Key_Right);
        chooseFromMenu(f.ExportMI, QStringLiteral("Pagine registrate..."));
        EXPECT_EQ(recorder.pages, QList<int>({3, 1, 2, 3}));
    });
}

TEST_F(PreviewTest, ExportToPdfFromTheRightClickMenuUsesTheLastPdfExporter)
{
    TfrxPDFExport first, last;
    first.SetFileName(programFolder() + QStringLiteral("primo.pdf"));
    last.SetFileName(programFolder() + QStringLiteral("riepilogo.pdf"));
    for (TfrxPDFExport* pdf : {&first, &last})
        pdf->SetShowDialog(false);
    preview([&](TfrxPreviewForm& f) {
        // The submenu offers each exporter under its description.
        QStringList items;
        for (QAction* a : f.ExportMI->actions())
            items << a->text();
        EXPECT_EQ(items.count(QStringLiteral("PDF file...")), 2);
        clickOn(control(f).Workspace()->Content(), Qt::RightButton, QPoint(300, 300));
        chooseFromMenu(f.RightMenu, QStringLiteral("Export to PDF"));
    });
    EXPECT_FALSE(QFile::exists(first.FileName()));
    ASSERT_TRUE(QFile::exists(last.FileName()));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {last.FileName()});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString meta = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(meta.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n")))) << meta.toStdString();
}

TEST_F(PreviewTest, OutlineTakesTheViewToItsPlace)
{
    report->PreviewOptions()->SetButtons({pbOutline, pbNavigator, pbClose});
    ASSERT_TRUE(report->PrepareReport(true));
    // The outline of the prepared pages: the report on page 1, its list below it.
    TfrxCustomOutline* outline = pagesOf(*report).Outline();
    pagesOf(*report).CurPage = 0;
    outline->LevelRoot();
    outline->AddItem(QStringLiteral("Riepilogo dati"), 0);
    pagesOf(*report).CurPage = 1;
    outline->AddItem(QStringLiteral("Elenco"), 40);
    showPrepared([&](TfrxPreviewForm& f) {
        TfrxPreview& p = control(f);
        clickOn(f.OutlineB);
        ASSERT_TRUE(p.OutlineVisible());
        EXPECT_TRUE(f.OutlineB->Down());
        QTreeWidget* tree = p.OutlineTree();
        EXPECT_EQ(tree->width(), 120);
        ASSERT_EQ(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* top = tree->topLevelItem(0);
        EXPECT_EQ(top->text(0), QStringLiteral("Riepilogo dati"));
        ASSERT_EQ(top->childCount(), 1);
        EXPECT_EQ(top->child(0)->text(0), QStringLiteral("Elenco"));
        EXPECT_TRUE(top->isExpanded());

        clickOn(f.LastB);
        ASSERT_EQ(p.PageNo(), 3);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(top).center());
        EXPECT_EQ(p.PageNo(), 1);
        EXPECT_EQ(p.Workspace()->VertPosition(), 0);
        EXPECT_TRUE(p.Workspace()->hasFocus());
        // A place inside a page: its top margin and the place, 10 pixels below the view's top.
        QTreeWidgetItem* list = top->child(0);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(list).center());
        EXPECT_EQ(p.PageNo(), 2);
        EXPECT_EQ(p.Workspace()->VertPosition(),
                  std::min(p.Workspace()->VertScrollBar()->maximum(),
                           p.Workspace()->PageList().Items(1).OffsetY + int(std::lround(10 * fr01cm + 40)) - 10));

        // Its own menu collapses and expands every node.
        const QPoint at = tree->visualItemRect(top).center();
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &menu);
        ASSERT_TRUE(p.OutlinePopup()->isVisible());
        chooseFromMenu(p.OutlinePopup(), QStringLiteral("Collapse all"));
        EXPECT_FALSE(top->isExpanded());
        clickOn(f.OutlineB);
        EXPECT_FALSE(p.OutlineVisible());
        EXPECT_TRUE(p.Splitter()->isHidden());
    });
}

// ---------------------------------------------------------------- same lines on screen and paper

namespace {

// What a prepared page draws on a canvas: the page, then its views, as drawing a page
// does.
void drawViews(TfrxReportPage* page, orv::platform::Canvas& canvas, double scale)
{
    const double ox = page->LeftMargin() * fr01cm * scale, oy = page->TopMargin() * fr01cm * scale;
    for (TfrxComponent* c : page->AllObjects())
        if (auto* v = dynamic_cast<TfrxView*>(c))
            v->Draw(&canvas, scale, scale, ox, oy);
}

QStringList textsOf(const RecordingCanvas& canvas)
{
    QStringList out;
    for (const auto& t : canvas.texts)
        out << t.text;
    return out;
}

} // namespace

TEST_F(PreviewTest, ScreenAndPrinterBreakAWrappedTextAtTheSameWords)
{
    auto card = std::make_unique<TfrxReport>();
    new TfrxDataPage(card.get());
    auto* page = new TfrxReportPage(card.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetLeftMargin(10);
    page->SetTopMargin(10);
    auto* memo = new TfrxMemoView(page);
    memo->SetName(QStringLiteral("txtNote"));
    memo->SetBounds(20, 40, 260, 200);
    memo->SetText(QStringLiteral(
        "Caldaia a condensazione revisionata: sostituiti il termostato ambiente, la valvola a tre vie e la "
        "guarnizione del bruciatore; verificata la tenuta del circuito e la combustione, il cliente è stato "
        "informato che la prossima manutenzione ordinaria è prevista entro dodici mesi."));
    ASSERT_TRUE(card->PrepareReport(true));
    card->PrintOptions()->SetShowDialog(false);
    ASSERT_TRUE(card->Print());
    const QStringList printed = printing.documents[0].pages[0].lines();
    ASSERT_GE(printed.size(), 6);

    TfrxReportPage* prepared = pagesOf(*card).GetPage(0);
    for (double zoom : {1.0, 1.37, 0.5, 2.0}) {
        RecordingCanvas screen(false);
        drawViews(prepared, screen, zoom);
        EXPECT_EQ(textsOf(screen), printed) << zoom;
        ASSERT_EQ(screen.texts.size(), printing.documents[0].pages[0].texts.size());
        // Positions scale with the zoom as they do with the printer's resolution.
        const auto& s1 = screen.texts[1].topLeft;
        const auto& s0 = screen.texts[0].topLeft;
        const auto& p1 = printing.documents[0].pages[0].texts[1].topLeft;
        const auto& p0 = printing.documents[0].pages[0].texts[0].topLeft;
        EXPECT_NEAR((s1.y() - s0.y()) / zoom, (p1.y() - p0.y()) * 96 / 300, 0.05) << zoom;
    }
}

// ---------------------------------------------------------------- the page shown is the page named

namespace {

// Whether the page's rectangle holds the line 10 pixels below the view's top, where the
// preview puts the top of a page it goes to.
bool pageInView(TfrxPreview& p, int PageNo)
{
    TfrxPreviewWorkspace* ws = p.Workspace();
    if (PageNo < 1 || PageNo > ws->PageList().Count())
        return false;
    const TfrxPageItem& item = ws->PageList().Items(PageNo - 1);
    const int y = ws->VertPosition() + 10;
    return y >= item.OffsetY && y < item.OffsetY + item.Height;
}

} // namespace

TEST_F(PreviewTest, EveryZoomAndJumpKeepsThePageItNamesInView)
{
    report = listReport(1600);
    report->PreviewOptions()->SetButtons({pbOutline, pbThumbnails, pbZoom, pbNavigator, pbClose});
    windowed();
    ASSERT_TRUE(report->PrepareReport(true));
    ASSERT_GE(pagesOf(*report).Count(), 25);
    TfrxCustomOutline* outline = pagesOf(*report).Outline();
    outline->LevelRoot();
    pagesOf(*report).CurPage = 16;
    outline->AddItem(QStringLiteral("Pagina diciassette"), 300);
    showPrepared([&](TfrxPreviewForm& f) {
        resize(f, 1000, 700);
        TfrxPreview& p = control(f);
        const QString total = QString::number(p.PageCount());
        auto expectShown = [&](int page, const char* after) {
            EXPECT_EQ(p.PageNo(), page) << after;
            EXPECT_TRUE(pageInView(p, page)) << after << ": top at " << p.Workspace()->VertPosition();
            EXPECT_EQ(f.PageE->text(), QString::number(page)) << after;
            EXPECT_EQ(f.Panel0->text(), QStringLiteral("Page %1 of %2").arg(page).arg(total)) << after;
        };
        clickOn(f.OutlineB);
        QTreeWidget* tree = p.OutlineTree();
        ASSERT_EQ(tree->topLevelItemCount(), 1);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                          tree->visualItemRect(tree->topLevelItem(0)).center());
        expectShown(17, "outline jump");
        clickOn(f.WholePageB);
        expectShown(17, "whole page");
        QLineEdit* edit = f.ZoomCB->lineEdit();
        clickOn(edit);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QStringLiteral("150"));
        QTest::keyClick(edit, Qt::Key_Return);
        ASSERT_DOUBLE_EQ(p.Zoom(), 1.5);
        expectShown(17, "150 %");
        clickOn(f.PageWidthB);
        expectShown(17, "page width");
        clickOn(f.ThumbB);
        ASSERT_TRUE(p.ThumbnailVisible());
        expectShown(17, "thumbnails shown");
        TfrxPreviewWorkspace* thumbs = p.Thumbnail();
        thumbs->SetVertPosition(thumbs->PageList().Items(8).OffsetY - 10);
        const TfrxPageBounds ninth = thumbs->PageRect(8);
        clickOn(thumbs->Content(), Qt::LeftButton, QPoint(ninth.Left + 20, ninth.Top + 20));
        expectShown(9, "thumbnail click");
        clickOn(f.WholePageB);
        expectShown(9, "whole page after the thumbnail");
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QStringLiteral("75"));
        QTest::keyClick(edit, Qt::Key_Return);
        expectShown(9, "75 %");
    });
}

TEST_F(PreviewTest, ADamagedFileLeavesTheReportShownAtItsPage)
{
    const QString good = programFolder() + QStringLiteral("buono.fp3");
    const QString damaged = programFolder() + QStringLiteral("rovinato.fp3");
    ASSERT_TRUE(report->PrepareReport(true));
    pagesOf(*report).SaveToFile(good);
    QFile in(good);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray document = in.readAll();
    QFile out(damaged);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(document.left(document.size() / 2));
    out.close();
    files.answers.push_back(damaged);
    showPrepared([&](TfrxPreviewForm& f) {
        TfrxPreview& p = control(f);
        clickOn(f.NextB);
        ASSERT_EQ(p.PageNo(), 2);
        QTest::keyClick(p.Workspace(), Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(errorBoxes(), QStringList{QStringLiteral("Invalid file format")});
        EXPECT_EQ(p.PageCount(), 3);
        EXPECT_EQ(p.PageNo(), 2);
        EXPECT_EQ(f.Panel0->text(), QStringLiteral("Page 2 of 3"));
        EXPECT_NE(pagesOf(*report).GetPage(1), nullptr);
        EXPECT_TRUE(p.MessagePanel()->isHidden());
        EXPECT_FALSE(p.Locked());
    });
}
