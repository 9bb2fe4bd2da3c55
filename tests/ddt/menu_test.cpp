// The delivery-note year menu through its real controls.
#include "ddt_fixture.h"

#include "shell/avvio.h"
#include "kit/dialogs/guida.h"
#include "ddt/menuddt.h"
#include "documents/documento.h"

#include <QFile>

using namespace orv::ddt;
using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::shell;

using namespace orv::platform::ui;
using orv::test::DdtWindowTest;
using orv::test::MessageCall;

namespace {

const QString kYearWarning = u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs;

class DdtMenuTest : public DdtWindowTest {
protected:
    void SetUp() override
    {
        DdtWindowTest::SetUp();
        showAndActivate(*frmAvvio);
        click(frmAvvio->btnDDT);
        showAndActivate(*frmMenuDDT);
    }
    TfrmMenuDDT& menu() { return *frmMenuDDT; }
};

TEST_F(DdtMenuTest, OpensOnTheCurrentYearFromTheMainMenu)
{
    EXPECT_FALSE(frmAvvio->isVisible());
    EXPECT_EQ(menu().caption(), u" Orvanta 4.0 - Emissione DDT"_qs);
    EXPECT_TRUE(menu().windowState() & Qt::WindowMaximized);
    EXPECT_EQ(menu().txtAnnoPreventivi.text(), u"2026"_qs);
    EXPECT_EQ(menu().txtAnnoPreventivi.maxLength(), 4);
    EXPECT_EQ(menu().lblMemory.text(), u"avvio"_qs);
    EXPECT_TRUE(focusIs(menu().txtAnnoPreventivi));
    EXPECT_EQ(menu().intAnnoPreventivi.text().trimmed(), u"Emissione DDT:"_qs);
    EXPECT_EQ(menu().control<Label>(u"lblInfo"_qs).text(),
              u"In questo ambiente è possibile archiviare i documenti di trasporto emessi per consegnare la merce ai "
              u"propri clienti."_qs);
}

TEST_F(DdtMenuTest, OnlyDigitsAreTypedAndEnterGoesToApriWithoutOpening)
{
    menu().txtAnnoPreventivi.setText(QString());
    keys(menu(), u"2a -0x25"_qs);
    EXPECT_EQ(menu().txtAnnoPreventivi.text(), u"2025"_qs);
    press(menu().txtAnnoPreventivi, Qt::Key_Return);
    EXPECT_TRUE(focusIs(menu().btnApriPreventivi));
    EXPECT_TRUE(menu().isVisible());
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(DdtMenuTest, AYearOfOtherThanFourDigitsIsRefused)
{
    for (const QString& year : {QString(), u"26"_qs, u"../a"_qs}) {
        menu().txtAnnoPreventivi.setText(year);
        click(menu().btnApriPreventivi);
        ASSERT_EQ(messages.calls.size(), 1u) << year.toStdString();
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().text, kYearWarning);
        messages.clear();
        EXPECT_TRUE(focusIs(menu().txtAnnoPreventivi));
        EXPECT_TRUE(menu().isVisible());
        EXPECT_EQ(frmDDT->lblFile.text(), QString());
        EXPECT_EQ(frmDDT->caption(), u" Orvanta 4.0 - Archivio Documenti di Trasporto"_qs);
    }
}

TEST_F(DdtMenuTest, AFourDigitYearOpensTheEditorOnItsFile)
{
    for (const QString& year : {u"2026"_qs, u"0000"_qs}) {
        if (!menu().isVisible()) {
            frmDDT->hide();
            frmAvvio->show();
            click(frmAvvio->imgDDT);
        }
        menu().txtAnnoPreventivi.setText(year);
        click(menu().btnApriPreventivi);
        EXPECT_FALSE(menu().isVisible());
        EXPECT_TRUE(frmDDT->isVisible());
        EXPECT_FALSE(frmAvvio->isVisible());
        EXPECT_EQ(frmDDT->caption(), u" Orvanta 4.0 - Emissione DDT anno "_qs + year);
        EXPECT_EQ(frmDDT->lblFile.text(), programFolder() + year + u".ddt"_qs);
        EXPECT_FALSE(QFile::exists(programFolder() + year + u".ddt"_qs)); // the editor's commands create it
        EXPECT_EQ(menu().lblMemory.text(), u"ddt"_qs);
        EXPECT_TRUE(focusIs(frmDDT->txtCliente));
    }
    // Closing the editor leads to the main menu, not back to the year menu.
    frmDDT->close();
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_FALSE(menu().isVisible());
}

TEST_F(DdtMenuTest, ExitAndTheCloseButtonShowTheMainMenuAgainLeavingTheEditorAsItWas)
{
    menu().txtAnnoPreventivi.setText(u"1999"_qs);
    click(menu().imgEsci);
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_FALSE(menu().isVisible());
    EXPECT_FALSE(frmDDT->isVisible());
    click(frmAvvio->imgDDT);
    EXPECT_EQ(menu().txtAnnoPreventivi.text(), u"2026"_qs);
    menu().close();
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_FALSE(frmDDT->isVisible());
    EXPECT_EQ(frmDDT->lblFile.text(), QString());
}

TEST_F(DdtMenuTest, HelpAndTheLogoLink)
{
    QString title, text;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        title = static_cast<TfrmGuida&>(f).lblTitolo.text();
        text = static_cast<TfrmGuida&>(f).txtGuida.text();
    };
    click(menu().imgGuida);
    EXPECT_EQ(title, u"Compilazione, archiviazione e stampa di preventivi e documenti di trasporto."_qs);
    EXPECT_EQ(text.split(u"\r\n\r\n"_qs), orv::documents::helpParagraphs());
    QWidget* link = menu().lnkWeb.widget();
    QTest::mousePress(link, Qt::LeftButton, Qt::NoModifier, link->rect().center());
    EXPECT_EQ(menu().lnkWeb.fontColor(), QColor(255, 165, 0));
    QTest::mouseRelease(link, Qt::LeftButton, Qt::NoModifier, link->rect().center());
    EXPECT_EQ(menu().lnkWeb.fontColor(), QColor(0, 0, 139));
    click(menu().imgEmail);
    EXPECT_EQ(modal.shown, QStringList({u"frmGuida"_qs, u"frmLogo"_qs, u"frmLogo"_qs}));
    EXPECT_EQ(menu().lblMemory.text(), u"avvio"_qs);
}

} // namespace
