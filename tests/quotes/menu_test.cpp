// The quote year menu through its real controls.
#include "quote_fixture.h"

#include "shell/avvio.h"
#include "kit/dialogs/guida.h"
#include "documents/documento.h"
#include "quotes/menupreventivi.h"

#include <QFile>

using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::quotes;
using namespace orv::shell;

using namespace orv::platform::ui;
using orv::test::MessageCall;
using orv::test::QuoteWindowTest;

namespace {

class QuoteMenuTest : public QuoteWindowTest {
protected:
    void SetUp() override
    {
        QuoteWindowTest::SetUp();
        showAndActivate(*frmAvvio);
        click(frmAvvio->btnPreventivi);
        showAndActivate(*frmMenuPreventivi);
    }
    TfrmMenuPreventivi& menu() { return *frmMenuPreventivi; }
};

TEST_F(QuoteMenuTest, OpensOnTheCurrentYearFromTheMainMenu)
{
    EXPECT_FALSE(frmAvvio->isVisible());
    EXPECT_EQ(menu().caption(), u" Orvanta 4.0 - Emissione preventivi"_qs);
    EXPECT_TRUE(menu().windowState() & Qt::WindowMaximized);
    EXPECT_EQ(menu().txtAnnoPreventivi.text(), u"2026"_qs);
    EXPECT_EQ(menu().txtAnnoPreventivi.maxLength(), 4);
    EXPECT_EQ(menu().lblMemory.text(), u"avvio"_qs);
    EXPECT_TRUE(focusIs(menu().txtAnnoPreventivi));
    EXPECT_EQ(menu().intAnnoPreventivi.text().trimmed(), u"Emissione preventivi:"_qs);
}

TEST_F(QuoteMenuTest, OnlyDigitsAreTypedAndEnterGoesToApri)
{
    menu().txtAnnoPreventivi.setText(QString());
    keys(menu(), u"2a -.0246"_qs);
    EXPECT_EQ(menu().txtAnnoPreventivi.text(), u"2024"_qs); // no fifth digit
    press(menu().txtAnnoPreventivi, Qt::Key_Tab);
    EXPECT_TRUE(focusIs(menu().btnApriPreventivi));
    EXPECT_EQ(menu().txtAnnoPreventivi.text(), u"2024"_qs);
    menu().txtAnnoPreventivi.setFocus();
    press(menu().txtAnnoPreventivi, Qt::Key_Return);
    EXPECT_TRUE(focusIs(menu().btnApriPreventivi));
    EXPECT_TRUE(menu().isVisible()); // Enter opens nothing
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(QuoteMenuTest, AYearOfOtherThanFourCharactersIsRefused)
{
    for (const QString& year : {QString(), u"202"_qs}) {
        menu().txtAnnoPreventivi.setText(year);
        click(menu().btnApriPreventivi);
        ASSERT_EQ(messages.calls.size(), 1u) << year.toStdString();
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().buttons, mbOk | mbCancel);
        EXPECT_EQ(messages.last().text, u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs);
        messages.clear();
        EXPECT_TRUE(focusIs(menu().txtAnnoPreventivi));
        EXPECT_TRUE(menu().isVisible());
        EXPECT_EQ(frmPreventivi->lblFile.text(), QString());
    }
}

TEST_F(QuoteMenuTest, AFourDigitYearOpensTheEditorOnItsFile)
{
    for (const QString& year : {u"2024"_qs, u"0000"_qs}) {
        if (!menu().isVisible()) {
            frmPreventivi->hide();
            frmAvvio->show();
            click(frmAvvio->imgPreventivi);
        }
        menu().txtAnnoPreventivi.setText(year);
        click(menu().btnApriPreventivi);
        EXPECT_FALSE(menu().isVisible());
        EXPECT_TRUE(frmPreventivi->isVisible());
        EXPECT_FALSE(frmAvvio->isVisible());
        EXPECT_EQ(frmPreventivi->caption(), u" Orvanta 4.0 - Emissione preventivi anno "_qs + year);
        EXPECT_EQ(frmPreventivi->lblFile.text(), programFolder() + year + u".pre"_qs);
        EXPECT_FALSE(QFile::exists(programFolder() + year + u".pre"_qs)); // the editor's commands create it
        EXPECT_EQ(menu().lblMemory.text(), u"preventivi"_qs);
    }
}

TEST_F(QuoteMenuTest, APastedYearThatIsNotDigitsNeverBecomesAPath)
{
    menu().txtAnnoPreventivi.setText(u"../a"_qs);
    click(menu().btnApriPreventivi);
    EXPECT_EQ(takeTexts(), QStringList({u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs}));
    EXPECT_EQ(frmPreventivi->lblFile.text(), QString());
    EXPECT_TRUE(menu().isVisible());
}

TEST_F(QuoteMenuTest, ExitAndTheCloseButtonShowTheMainMenuAgain)
{
    menu().txtAnnoPreventivi.setText(u"1999"_qs);
    click(menu().imgEsci);
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_FALSE(menu().isVisible());
    EXPECT_FALSE(frmPreventivi->isVisible());
    // Shown again: the current year and "avvio" once more; the frame's close does the same.
    click(frmAvvio->imgPreventivi);
    EXPECT_EQ(menu().txtAnnoPreventivi.text(), u"2026"_qs);
    EXPECT_EQ(menu().lblMemory.text(), u"avvio"_qs);
    menu().close();
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_FALSE(frmPreventivi->isVisible());
}

TEST_F(QuoteMenuTest, HelpAndTheLogoLink)
{
    QString title, text;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        title = static_cast<TfrmGuida&>(f).lblTitolo.text();
        text = static_cast<TfrmGuida&>(f).txtGuida.text();
    };
    click(menu().imgGuida);
    EXPECT_EQ(title, u"Compilazione, archiviazione e stampa di preventivi e documenti di trasporto."_qs);
    const QStringList paragraphs = text.split(u"\r\n\r\n"_qs);
    ASSERT_EQ(paragraphs.size(), 9);
    EXPECT_EQ(paragraphs, orv::documents::helpParagraphs());
    EXPECT_TRUE(paragraphs[0].startsWith(u"Orvanta 4.0 dispone di due applicazioni, Emissione Preventivi e "));
    EXPECT_EQ(paragraphs[8], u"Il pulsante con l'icona di Excel consente di esportare l'intero archivio dei documenti "
                             u"in un foglio di lavoro di Microsoft Excel."_qs);

    QWidget* link = menu().lnkWeb.widget();
    QTest::mousePress(link, Qt::LeftButton, Qt::NoModifier, link->rect().center());
    EXPECT_EQ(menu().lnkWeb.fontColor(), QColor(255, 165, 0));
    QTest::mouseRelease(link, Qt::LeftButton, Qt::NoModifier, link->rect().center());
    EXPECT_EQ(menu().lnkWeb.fontColor(), QColor(0, 0, 139));
    EXPECT_EQ(modal.shown, QStringList({u"frmGuida"_qs, u"frmLogo"_qs}));
    click(menu().imgEmail);
    EXPECT_EQ(modal.shown.back(), u"frmLogo"_qs);
    EXPECT_EQ(menu().lblMemory.text(), u"avvio"_qs);
    EXPECT_EQ(menu().txtAnnoPreventivi.text(), u"2026"_qs);
}

} // namespace
