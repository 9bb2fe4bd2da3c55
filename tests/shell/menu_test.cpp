#include "shell_fixture.h"

#include "kit/dialogs/guida.h"
#include "shell/info.h"
#include "kit/dialogs/links.h"
#include "shell/maker.h"
#include "shell/splash.h"

#include <QDir>

using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::shell;

using namespace orv::platform::ui;
using orv::test::AppTest;

namespace {

class MenuTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        showAndActivate(*frmAvvio);
    }
};

TEST_F(MenuTest, OpensMaximisedWithItsCaption)
{
    EXPECT_EQ(frmAvvio->caption(), " Orvanta 4.0");
    EXPECT_TRUE(frmAvvio->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(frmAvvio->panContainer.width(), 995);
    EXPECT_EQ(frmAvvio->panContainer.height(), 692);
}

TEST_F(MenuTest, EachModuleCommandShowsItsWindowAndHidesTheMenu)
{
    struct Case { Image* picture; Image* caption; const char* window; };
    const Case cases[] = {
        {&frmAvvio->imgClienti, &frmAvvio->btnClienti, "frmClienti"},
        {&frmAvvio->imgContratti, &frmAvvio->btnContratti, "frmContratto"},
        {&frmAvvio->imgMagazzino, &frmAvvio->btnMagazzino, "frmMagazzino"},
        {&frmAvvio->imgInventario, &frmAvvio->btnInventario, "frmMenuRiepilogo"},
        {&frmAvvio->imgScadenzario, &frmAvvio->btnScadenzario, "frmScadenzario"},
        {&frmAvvio->imgSchedeLavoro, &frmAvvio->btnSchedeLavoro, "frmMenuLavoro"},
        {&frmAvvio->imgPreventivi, &frmAvvio->btnPreventivi, "frmMenuPreventivi"},
        {&frmAvvio->imgDDT, &frmAvvio->btnDDT, "frmMenuDDT"},
    };
    for (const Case& c : cases) {
        for (Image* command : {c.picture, c.caption}) {
            // Not part of the program yet: nothing happens.
            Form* real = orv::kit::startWindow(c.window);
            if (!real) {
                click(*command);
                EXPECT_TRUE(frmAvvio->isVisible()) << c.window;
            }
            Form module(nullptr, {c.window, "modulo", 100, 100}, {});
            orv::kit::setStartWindow(c.window, &module);
            click(*command);
            EXPECT_TRUE(module.isVisible()) << c.window;
            EXPECT_FALSE(frmAvvio->isVisible()) << c.window;
            orv::kit::setStartWindow(c.window, real);
            frmAvvio->show();
        }
    }
    EXPECT_TRUE(modal.shown.isEmpty());
}

TEST_F(MenuTest, ClosingTheFrameOrTheExitCommandEndsTheProgram)
{
    frmAvvio->close();
    EXPECT_TRUE(terminateRequested());
    clearTerminateRequest();
    frmAvvio->show();
    click(frmAvvio->imgEsci);
    EXPECT_TRUE(terminateRequested());
}

TEST_F(MenuTest, HelpShowsTheMenusTitleAndTextAtAFixedSize)
{
    QString title, text;
    QSize size;
    modal.scripts["frmGuida"] = [&](Form& f) {
        auto& g = static_cast<TfrmGuida&>(f);
        title = g.lblTitolo.text();
        text = g.txtGuida.text();
        size = g.size();
    };
    click(frmAvvio->imgGuida);
    EXPECT_EQ(modal.shown, QStringList({"frmGuida"}));
    EXPECT_EQ(title, "Uno sguardo a Orvanta 4.0.");
    const QStringList paragraphs = text.split("\r\n\r\n");
    EXPECT_EQ(paragraphs.size(), 71);
    EXPECT_TRUE(paragraphs[60].endsWith("Tutti gli importi sono calcolati in euro con supporto fino a quattro cifre dopo la virgola e arrotondamento del totale ai due centesimi."));
    EXPECT_TRUE(paragraphs[67].endsWith("Per il primo accesso al programma e dopo ogni installazione, bisogna utilizzare la parola chiave \"lanternamobile\" (scritta senza le virgolette)."));
    EXPECT_EQ(size, QSize(670, 572));
    orv::kit::showHelp(frmAvvio, "Breve.", "x");
    EXPECT_EQ(size, QSize(670, 572));
    EXPECT_EQ(title, "Breve.");
}

TEST_F(MenuTest, GuideLinkHandsTheQuotedGuideInAFolderWithBlanks)
{
    ASSERT_TRUE(QDir(folder.path()).mkpath("Orvanta 4"));
    orv::platform::setProgramFolder(folder.filePath("Orvanta 4"));
    modal.scripts["frmGuida"] = [&](Form& f) { click(static_cast<TfrmGuida&>(f).lnkWeb); };
    click(frmAvvio->imgGuida);
    modal.scripts["frmGuida"] = [&](Form& f) { click(static_cast<TfrmGuida&>(f).imgPDF); };
    click(frmAvvio->imgGuida);
    const QString guide = "\"" + folder.filePath("Orvanta 4") + "/Guida.pdf\"";
    EXPECT_EQ(shell.opened, QStringList({guide, guide}));
}

TEST_F(MenuTest, InformationMailLinkColoursAndText)
{
    QColor pressed, released;
    modal.scripts["frmInfo"] = [&](Form& f) {
        auto& info = static_cast<TfrmInfo&>(f);
        QTest::mousePress(info.lnkWeb.widget(), Qt::LeftButton);
        pressed = info.lnkWeb.fontColor();
        QTest::mouseRelease(info.lnkWeb.widget(), Qt::LeftButton);
        released = info.lnkWeb.fontColor();
        click(info.imgEmail);
    };
    click(frmAvvio->imgInfo);
    EXPECT_EQ(pressed, orv::kit::kLinkPressed);
    EXPECT_EQ(released, orv::kit::kLinkColour);
    ASSERT_EQ(shell.opened.size(), 2);  // the link's release was a click, then the picture's
    EXPECT_EQ(shell.opened[0], "\"mailto:" + orv::shell::kMakerMail +
                                   "?subject=Software Orvanta 4.0&body=Salve, desidererei avere le seguenti informazioni sul software in oggetto:\"");
    EXPECT_EQ(shell.opened[1], shell.opened[0]);
    EXPECT_EQ(modal.shown, QStringList({"frmInfo"}));
}

TEST_F(MenuTest, SplashAndWebBandOpenTheBareWebAddress)
{
    QString caption;
    modal.scripts["frmSplash"] = [&](Form& f) {
        caption = f.caption();
        click(static_cast<TfrmSplash&>(f).lnkWeb);
        click(static_cast<TfrmSplash&>(f).btnChiudi);
    };
    click(frmAvvio->imgCopyright);
    click(frmAvvio->icoSito);
    EXPECT_TRUE(caption.startsWith(" Orvanta 4.0 - "));
    EXPECT_EQ(shell.opened, QStringList({orv::shell::kMakerWeb, orv::shell::kMakerWeb}));
}

TEST_F(MenuTest, PicturesAreDrawnWithContent)
{
    for (Image* img : {&frmAvvio->imgClienti, &frmAvvio->btnDDT, &frmAvvio->icoTitolo, &frmPassword->imgLogo}) {
        const QImage p = img->picture();
        ASSERT_FALSE(p.isNull()) << img->name().toStdString();
        // Not a blank picture: more than one colour.
        bool drawn = false;
        for (int y = 0; y < p.height() && !drawn; y += 2)
            for (int x = 0; x < p.width() && !drawn; x += 2) drawn = p.pixel(x, y) != p.pixel(0, 0);
        EXPECT_TRUE(drawn) << img->name().toStdString();
    }
}

} // namespace
