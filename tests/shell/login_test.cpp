#include "shell_fixture.h"

#include "shell/crypt.h"
#include "shell/passwordstore.h"
#include "customers/contratto.h"
#include "platform/core/formats.h"
#include "printing/contract.h"
#include "platform/core/inifile.h"

using namespace orv::customers;
using namespace orv::platform::ui;
using namespace orv::printing;
using namespace orv::shell;

using namespace orv::platform::ui;
using orv::test::AppTest;
using orv::test::MessageCall;

namespace {

const QString kWrong = QStringLiteral("Attenzione: password errata.");
const QString kReadError = QStringLiteral("Attenzione: si \u00e8 verificato un errore durante la procedura di lettura della password. Si consiglia di reinstallare il software.");

QString storedValue() { return orv::platform::IniFile(orv::shell::passwordStorePath()).readString("Accesso", "Valore", "<none>"); }

class LoginTest : public AppTest {};

TEST_F(LoginTest, StartCreatesTheWindowsInOrderWithTheLoginAsMainWindow)
{
    EXPECT_EQ(orv::shell::createdStartWindows(),
              QStringList({"TfrmPassword", "TfrmAvvio", "TfrmCambiaPassword", "TfrmCarta", "TfrmCodFisc", "TfrmGuida",
                           "TfrmIban", "TfrmInfo", "TfrmLogo", "TfrmPartitaIva", "TfrmSplash", "TfrmClienti",
                           "TfrmAllegaCartella", "TfrmRicontatta", "TfrmTrovaClienti", "TfrmExpClienti",
                           "TfrmListScadenzario", "TfrmContratto", "TfrmNumerazione", "TfrmExpContratti",
                           "TfrmTrovaContratti", "TfrmStampaCon", "TfrmAnteprimaCon", "TfrmMagazzino", "TfrmGiacenza", "TfrmSottoscorta",
                           "TfrmExpMagazzino", "TfrmTrovaMagazzino", "TfrmDatiPneumatici", "TfrmMenuRiepilogo",
                           "TfrmRiepilogo", "TfrmScadenzario", "TfrmTrovaScadenzario", "TfrmExpScadenzario",
                           "TfrmDaConfermare", "TfrmConfermati", "TfrmNonConfermati", "TfrmExpImminenti",
                           "TfrmExpGiornaliere", "TfrmExpMensili", "TfrmMenuLavoro", "TfrmLavoro",
                           "TfrmMenuRiepCosti", "TfrmDaRiconsegnare", "TfrmTrovaLavoro", "TfrmExpLavoro",
                           "TfrmStampaLav", "TfrmAnteprimaLav", "TfrmCrea_PDF_Lav", "TfrmRiepCosti", "TfrmMenuPreventivi", "TfrmPreventivi", "TfrmImportaMagazzino",
                           "TfrmDatiVeicolo", "TfrmExpPreventivi", "TfrmTrovaPreventivi", "TfrmSospesi",
                           "TfrmStampaPrev", "TfrmAnteprimaPrev", "TfrmCrea_PDF_Prev",
                           "TfrmMenuDDT", "TfrmDDT", "TfrmDatiTrasporto", "TfrmSospesiDDT", "TfrmTrovaDDT",
                           "TfrmExpDDT", "TfrmStampaDDT", "TfrmAnteprimaDDT", "TfrmCrea_PDF_DDT", "TfrmCalendario"}));
    EXPECT_EQ(Form::mainForm(), frmPassword);
    EXPECT_EQ(orv::kit::startWindow("frmAvvio"), frmAvvio);
    EXPECT_EQ(orv::kit::startWindow("frmContratto"), frmContratto);
    EXPECT_EQ(orv::kit::startWindow("frmStampaCon"), frmStampaCon);
    EXPECT_FALSE(frmStampaCon->isVisible());
    EXPECT_EQ(frmPassword->size(), QSize(388, 405));
    EXPECT_EQ(frmPassword->caption(), " Orvanta 4.0 - Accesso");
    EXPECT_FALSE(frmPassword->cmdOK.enabled());
}

TEST_F(LoginTest, TheMainMenuSetsTheProcessFormatsWhenCreated)
{
    orv::shell::destroyStartWindows();
    orv::platform::formats().decimalSeparator = u'.';
    orv::platform::formats().shortDateFormat = "yyyy-mm-dd";
    orv::shell::createStartWindows();
    EXPECT_EQ(orv::platform::formats().decimalSeparator, u',');
    EXPECT_EQ(orv::platform::formats().shortDateFormat, "dd/mm/yyyy");
}

TEST_F(LoginTest, RightPasswordAndEnterOpensTheMainMenu)
{
    startAtLogin();
    EXPECT_EQ(frmPassword->focusedControl(), &frmPassword->txtPassword);
    EXPECT_TRUE(frmPassword->txtPassword.highlight()->visible());
    keys(*frmPassword, "lanternamobile");
    EXPECT_TRUE(frmPassword->cmdOK.enabled());
    key(*frmPassword, Qt::Key_Return);
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_FALSE(frmPassword->isVisible());
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(LoginTest, SurroundingBlanksAndLetterCaseDoNotMatter)
{
    startAtLogin();
    keys(*frmPassword, "  LanternaMobile  ");
    click(frmPassword->cmdOK);
    EXPECT_TRUE(frmAvvio->isVisible());
}

TEST_F(LoginTest, WrongPasswordClearsTheEntryAndKeepsTheFocus)
{
    startAtLogin();
    keys(*frmPassword, "lanterna");
    click(frmPassword->cmdOK);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Plain);
    EXPECT_EQ(messages.last().text, kWrong);
    EXPECT_EQ(frmPassword->txtPassword.text(), "");
    EXPECT_FALSE(frmPassword->cmdOK.enabled());
    EXPECT_EQ(frmPassword->focusedControl(), &frmPassword->txtPassword);
    EXPECT_TRUE(frmPassword->isVisible());
    EXPECT_FALSE(frmAvvio->isVisible());
}

TEST_F(LoginTest, BlankEntryKeepsOkDisabledAndEnterDoesNothing)
{
    startAtLogin();
    keys(*frmPassword, "   ");
    EXPECT_FALSE(frmPassword->cmdOK.enabled());
    key(*frmPassword, Qt::Key_Return);
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_FALSE(frmAvvio->isVisible());
}

TEST_F(LoginTest, AccentedLettersAreNotUpperCased)
{
    orv::shell::storePassword(QString::fromUtf8("PÈ"));
    startAtLogin();
    type(frmPassword->txtPassword, QString::fromUtf8("pè"));
    key(*frmPassword, Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList({kWrong}));
    type(frmPassword->txtPassword, QString::fromUtf8("pÈ"));
    key(*frmPassword, Qt::Key_Return);
    EXPECT_TRUE(frmAvvio->isVisible());
}

TEST_F(LoginTest, MissingStoreRefusesEveryPasswordWithoutCallingItWrong)
{
    QFile::remove(orv::shell::passwordStorePath());
    startAtLogin();
    keys(*frmPassword, "lanternamobile");
    key(*frmPassword, Qt::Key_Return);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().first().contains("unins000.dll"));
    EXPECT_FALSE(frmAvvio->isVisible());
}

TEST_F(LoginTest, AStoreThatIsNotHexadecimalGivesTheReadingError)
{
    writeFile("unins000.dll", "[Accesso]\r\nValore=50DBXX\r\n");
    startAtLogin();
    keys(*frmPassword, "lanternamobile");
    key(*frmPassword, Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList({kReadError}));
    EXPECT_EQ(frmPassword->txtPassword.text(), "lanternamobile");  // unchanged
    EXPECT_TRUE(frmPassword->isVisible());
}

TEST_F(LoginTest, ExitClosesTheMainWindowAndEndsTheApplication)
{
    startAtLogin();
    click(frmPassword->cmdEsci);
    EXPECT_TRUE(terminateRequested());
}

// ---------------------------------------------------------------- password change

class ChangeTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        startAtLogin();
        click(frmPassword->btnCambiaPassword);
        showAndActivate(*frmCambiaPassword);
    }
    void fill(const QString& old, const QString& fresh, const QString& confirm)
    {
        type(frmCambiaPassword->txtPasswordOld, old);
        type(frmCambiaPassword->txtPasswordNew, fresh);
        type(frmCambiaPassword->txtConferma, confirm);
    }
};

TEST_F(ChangeTest, OpensInPlaceOfTheLoginWithEmptyEntries)
{
    EXPECT_FALSE(frmPassword->isVisible());
    EXPECT_TRUE(frmCambiaPassword->isVisible());
    EXPECT_EQ(frmCambiaPassword->focusedControl(), &frmCambiaPassword->txtPasswordOld);
    EXPECT_FALSE(frmCambiaPassword->cmdOK.enabled());
    fill("a", "b", " ");
    EXPECT_FALSE(frmCambiaPassword->cmdOK.enabled());
    type(frmCambiaPassword->txtConferma, "b");
    EXPECT_TRUE(frmCambiaPassword->cmdOK.enabled());
}

TEST_F(ChangeTest, EnterWalksTheThreeEntriesAndNeverConfirms)
{
    fill("lanternamobile", "x", "x");
    frmCambiaPassword->txtPasswordOld.setFocus();
    key(*frmCambiaPassword, Qt::Key_Return);
    EXPECT_EQ(frmCambiaPassword->focusedControl(), &frmCambiaPassword->txtPasswordNew);
    key(*frmCambiaPassword, Qt::Key_Return);
    EXPECT_EQ(frmCambiaPassword->focusedControl(), &frmCambiaPassword->txtConferma);
    EXPECT_TRUE(frmCambiaPassword->txtConferma.highlight()->visible());
    EXPECT_FALSE(frmCambiaPassword->txtPasswordNew.highlight()->visible());
    key(*frmCambiaPassword, Qt::Key_Return);
    EXPECT_EQ(frmCambiaPassword->focusedControl(), &frmCambiaPassword->txtPasswordOld);
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(ChangeTest, WrongOldPasswordLeavesTheStoreUnchanged)
{
    const QString before = storedValue();
    fill("sbagliata", "nuova", "nuova");
    click(frmCambiaPassword->cmdOK);
    EXPECT_EQ(messages.texts(), QStringList({"Attenzione: vecchia password errata."}));
    EXPECT_EQ(frmCambiaPassword->txtPasswordOld.text(), "");
    EXPECT_EQ(frmCambiaPassword->txtPasswordNew.text(), "nuova");
    EXPECT_EQ(frmCambiaPassword->focusedControl(), &frmCambiaPassword->txtPasswordOld);
    EXPECT_EQ(storedValue(), before);
}

TEST_F(ChangeTest, ConfirmationDifferingInLetterCaseIsRefused)
{
    const QString before = storedValue();
    fill("lanternamobile", "Nuova", "nuova");
    click(frmCambiaPassword->cmdOK);
    EXPECT_EQ(messages.texts(), QStringList({"Attenzione: la nuova password non \u00e8 stata confermata correttamente. "
                                             "E' necessario reinserire entrambi i valori."}));
    EXPECT_EQ(frmCambiaPassword->txtPasswordNew.text(), "");
    EXPECT_EQ(frmCambiaPassword->txtConferma.text(), "");
    EXPECT_EQ(frmCambiaPassword->focusedControl(), &frmCambiaPassword->txtPasswordNew);
    EXPECT_EQ(storedValue(), before);
}

TEST_F(ChangeTest, AcceptedChangeStoresTheUpperCaseFormAndTheLoginUsesIt)
{
    fill("lanternamobile", "  Nuova1 ", "Nuova1");
    click(frmCambiaPassword->cmdOK);
    EXPECT_EQ(messages.texts(), QStringList({"Modifica della password completata con successo."}));
    EXPECT_EQ(storedValue(), Cifra("NUOVA1"));
    EXPECT_EQ(readFile("unins000.dll"), QByteArray("[Accesso]\r\nValore=") + Cifra("NUOVA1").toLatin1() + "\r\n");
    EXPECT_FALSE(frmCambiaPassword->isVisible());
    EXPECT_TRUE(frmPassword->isVisible());
    EXPECT_EQ(frmPassword->txtPassword.text(), "");
    EXPECT_EQ(frmPassword->focusedControl(), &frmPassword->txtPassword);

    messages.clear();
    keys(*frmPassword, "lanternamobile");
    key(*frmPassword, Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList({kWrong}));
    keys(*frmPassword, "nuova1");
    key(*frmPassword, Qt::Key_Return);
    EXPECT_TRUE(frmAvvio->isVisible());
}

TEST_F(ChangeTest, OverLongOrNonLatin1NewPasswordsAreRefused)
{
    const QString before = storedValue();
    const QString longest(255, u'k');
    const QString tooLong(256, u'k');
    fill("lanternamobile", tooLong, tooLong);
    click(frmCambiaPassword->cmdOK);
    EXPECT_EQ(messages.texts().last(), "Attenzione: la nuova password non pu\u00f2 superare i 255 caratteri.");
    EXPECT_EQ(frmCambiaPassword->txtPasswordNew.text(), "");
    type(frmCambiaPassword->txtPasswordNew, QString::fromUtf8("caf\u0127"));
    type(frmCambiaPassword->txtConferma, QString::fromUtf8("caf\u0127"));
    click(frmCambiaPassword->cmdOK);
    EXPECT_TRUE(messages.texts().last().startsWith("Attenzione: la nuova password contiene caratteri non ammessi."));
    EXPECT_EQ(storedValue(), before);
    // 255 characters are kept, and read back whole by the login.
    type(frmCambiaPassword->txtPasswordNew, longest);
    type(frmCambiaPassword->txtConferma, longest);
    click(frmCambiaPassword->cmdOK);
    EXPECT_EQ(orv::shell::storedPassword(), QString(255, u'K'));
}

TEST_F(ChangeTest, AnUnreadableStoreGivesTheChangeErrorAndKeepsTheEntries)
{
    writeFile("unins000.dll", "[Accesso]\r\nValore=ZZ\r\n");
    fill("lanternamobile", "nuova", "nuova");
    click(frmCambiaPassword->cmdOK);
    EXPECT_EQ(messages.texts(), QStringList({"Attenzione: si \u00e8 verificato un errore durante la procedura di modifica della password. "
                                             "Si consiglia di reinstallare il software."}));
    EXPECT_TRUE(frmCambiaPassword->isVisible());
    EXPECT_EQ(frmCambiaPassword->txtPasswordNew.text(), "nuova");
}

TEST_F(ChangeTest, CloseShowsTheLoginAgainWithAnEmptyEntry)
{
    frmPassword->txtPassword.setText("resto");
    click(frmCambiaPassword->cmdEsci);
    EXPECT_FALSE(frmCambiaPassword->isVisible());
    EXPECT_TRUE(frmPassword->isVisible());
    EXPECT_EQ(frmPassword->txtPassword.text(), "");
    EXPECT_FALSE(terminateRequested());
}

} // namespace
