// The four checker windows driven through real keys and clicks, as an editor opens them.
#include "gui/doubles.h"

#include "kit/dialogs/checkers.h"

#include <functional>

using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::kit::CheckerForm;
using orv::test::GuiTest;
using orv::test::MessageCall;

namespace {

using Opener = void (*)(QWidget*, const QString&);

class CheckerTest : public GuiTest {
protected:
    // Opens a checker through `open` with the field value and runs `script` in it.
    void run(Opener open, const QString& value, const std::function<void(CheckerForm&)>& script)
    {
        for (const char* name : {"frmCodFisc", "frmPartitaIva", "frmCarta", "frmIban"})
            modal.scripts[name] = [&script](Form& f) { script(static_cast<CheckerForm&>(f)); };
        open(nullptr, value);
    }
};

TEST_F(CheckerTest, EachWindowShowsItsCaptionPromptAndEntry)
{
    struct Case {
        Opener open;
        const char* window;
        const char* caption;
        const char* prompt;
        const char* entry;
        int maxLength;
    };
    const Case cases[] = {
        {orv::kit::openTaxCodeChecker, "frmCodFisc", " Verifica codice fiscale",
         "Immettere il codice fiscale e premere il pulsante di controllo.", "txtCodFisc", 16},
        {orv::kit::openVatChecker, "frmPartitaIva", " Controllo partita IVA",
         "Immettere il numero di partita IVA e premere il pulsante di controllo.", "txtPartitaIva", 11},
        {orv::kit::openCardChecker, "frmCarta", " Controllo carta di credito",
         "Immettere il numero di carta di credito e premere il pulsante di controllo.", "txtNumero", 30},
        {orv::kit::openIbanChecker, "frmIban", " Controllo IBAN", "Immettere l'IBAN e premere il pulsante di controllo.",
         "txtIban", 27},
    };
    for (const Case& c : cases) {
        modal.shown.clear();
        run(c.open, "  ", [&](CheckerForm& f) {
            EXPECT_EQ(f.caption(), c.caption);
            EXPECT_EQ(f.lblTitolo.text(), c.prompt);
            EXPECT_EQ(f.entry().name(), c.entry);
            EXPECT_EQ(f.entry().maxLength(), c.maxLength);
            EXPECT_EQ(f.focusedControl(), &f.entry());
            EXPECT_EQ(f.entry().text(), "");
            EXPECT_EQ(f.btnControlla.text(), "Controlla");
            EXPECT_EQ(f.btnChiudi.text(), "Chiudi");
            click(f.btnChiudi);
            EXPECT_FALSE(f.isVisible());
        });
        EXPECT_EQ(modal.shown, QStringList({c.window}));
        EXPECT_TRUE(messages.calls.empty());
    }
}

TEST_F(CheckerTest, TaxCodeButtonRoutesByTheFieldsContent)
{
    const struct {
        const char* value;
        const char* window;
        const char* entry;
    } cases[] = {
        {"", "frmCodFisc", ""},
        {" rssmra85t10a562s ", "frmCodFisc", "rssmra85t10a562s"},
        {"1234567 0157", "frmCodFisc", "1234567 0157"},
        {" 12345670157 ", "frmPartitaIva", "12345670157"},
        {"123", "frmPartitaIva", "123"},
    };
    for (const auto& c : cases) {
        modal.shown.clear();
        QString entry;
        run(orv::kit::openTaxCodeChecker, c.value, [&](CheckerForm& f) { entry = f.entry().text(); });
        EXPECT_EQ(modal.shown, QStringList({c.window})) << c.value;
        EXPECT_EQ(entry, c.entry) << c.value;
    }
}

// Enter in the entry moves to Controlla, whose Enter gives the verdict.
struct Verdict {
    Opener open;
    const char* value;
    MessageCall::Kind kind;
    QString text;
    bool staysOpen;
};

const QString kCodFiscLength = "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.";
const QString kCodFiscValid = QStringLiteral("Il codice fiscale digitato \u00e8 VALIDO.");
const QString kCodFiscWrong = QStringLiteral("Attenzione: il codice fiscale digitato \u00e8 ERRATO.");
const QString kVatLength = "Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.";
const QString kVatValid = "Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                          "E' stato rilasciato dall'Ufficio IVA del Comune di ";
const QString kVatWrong = QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\nNon \u00e8 "
                                         "quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha "
                                         "rilasciato.");
const QString kCardEmpty = "Attenzione: immettere il numero di carta di credito prima di premere il pulsante di controllo.";
const QString kCardWrong = QStringLiteral("Attenzione: il numero digitato risulta ERRATO!\r\n\r\nNon \u00e8 quindi "
                                          "possibile fornire informazioni relative al tipo di carta di credito.");
QString cardValid(const QString& number, const QString& family)
{
    return "Il numero di carta di credito " + number + QStringLiteral(" risulta valido.\r\n\r\nLa carta di credito \u00e8 del tipo ") +
           family + ".";
}
const QString kIbanLength = "Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.";
const QString kIbanValid = QStringLiteral("L'IBAN digitato \u00e8 VALIDO.");
const QString kIbanWrong = QStringLiteral("Attenzione: l'IBAN digitato \u00e8 ERRATO!");

TEST_F(CheckerTest, VerdictsAsTheEditorsHandThemOver)
{
    using orv::kit::openCardChecker;
    using orv::kit::openIbanChecker;
    using orv::kit::openTaxCodeChecker;
    using orv::kit::openVatChecker;
    const auto W = MessageCall::Warning;
    const auto I = MessageCall::Information;
    const Verdict cases[] = {
        {openTaxCodeChecker, "RSSMRA85T10A562S", I, kCodFiscValid, false},
        {openTaxCodeChecker, "rssmra85t10a562s", I, kCodFiscValid, false},  // upper-cased at the check
        {openTaxCodeChecker, "RSSMRA85T10A56NH", I, kCodFiscValid, false},  // omocodia
        {openTaxCodeChecker, "RSSMRA85T10A562T", W, kCodFiscWrong, false},
        {openTaxCodeChecker, "RSSMRA85T10A562", W, kCodFiscLength, true},
        {openTaxCodeChecker, "", W, kCodFiscLength, true},
        {openVatChecker, "12345670157", I, kVatValid + "Milano 1.", false},
        {openVatChecker, "00000000588", I, kVatValid + "Roma 1.", false},
        {openVatChecker, "00000001206", I, kVatValid + "Bologna 2.", false},
        {openVatChecker, "00000000000", I, kVatValid + ".", false},  // office 000 is not in the table
        {openVatChecker, "12345670158", W, kVatWrong, false},
        {openVatChecker, "1234567015A", W, kVatWrong, false},  // a letter from the caller: wrong, not short
        {openVatChecker, "1234567015", W, kVatLength, true},
        {openCardChecker, "4111 1111 1111 1111", I, cardValid("4111 1111 1111 1111", "Visa"), false},
        {openCardChecker, "5555-5555-5555-4444", I, cardValid("5555-5555-5555-4444", "MasterCard"), false},
        {openCardChecker, "6011111111111117", I, cardValid("6011111111111117", "Discover"), false},
        {openCardChecker, "378282246310005", I, cardValid("378282246310005", "American Express"), false},
        {openCardChecker, "30569309025904", I, cardValid("30569309025904", "Diner's Club / Carte Blanche"), false},
        {openCardChecker, "3530111333300000", I, cardValid("3530111333300000", "JCB"), false},
        {openCardChecker, "7000000000000005", W, kCardWrong, false},
        {openCardChecker, "4111111111111112", W, kCardWrong, false},
        {openCardChecker, "0", W, kCardWrong, false},
        {openCardChecker, "", W, kCardEmpty, true},
        {openIbanChecker, "IT60X0542811101000000123456", I, kIbanValid, false},
        {openIbanChecker, "it60x0542811101000000123456", I, kIbanValid, false},
        {openIbanChecker, "IT60X0542811101000000123457", W, kIbanWrong, false},
        {openIbanChecker, "IT60X054281110100000012345", W, kIbanLength, true},
    };
    for (const Verdict& c : cases) {
        messages.clear();
        run(c.open, c.value, [&](CheckerForm& f) {
            key(f, Qt::Key_Return);
            EXPECT_EQ(f.focusedControl(), &f.btnControlla) << c.value;
            key(f, Qt::Key_Return);
            EXPECT_EQ(f.isVisible(), c.staysOpen) << c.value;
            if (c.staysOpen) {
                EXPECT_EQ(f.focusedControl(), &f.entry()) << c.value;
            }
        });
        ASSERT_EQ(messages.calls.size(), 1u) << c.value;
        EXPECT_EQ(messages.last().kind, c.kind) << c.value;
        EXPECT_EQ(messages.last().text, c.text) << c.value;
        EXPECT_EQ(messages.last().buttons, unsigned(mbOk | mbCancel)) << c.value;
    }
}

TEST_F(CheckerTest, ValidCardOfAnUnknownFamilyClosesWithoutAWord)
{
    run(orv::kit::openCardChecker, "3200000000000002", [&](CheckerForm& f) {
        click(f.btnControlla);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(CheckerTest, TypingIsTidiedInTheTaxCodeCardAndIbanWindows)
{
    run(orv::kit::openTaxCodeChecker, "", [&](CheckerForm& f) {
        keys(f, " rssmra85t10a562s");
        EXPECT_EQ(f.entry().text(), "RSSMRA85T10A562S");
        // The maximum length stops typing at 16 characters.
        keys(f, "x");
        EXPECT_EQ(f.entry().text(), "RSSMRA85T10A562S");
        click(f.btnControlla);
    });
    EXPECT_EQ(messages.texts(), QStringList({kCodFiscValid}));

    run(orv::kit::openIbanChecker, "", [&](CheckerForm& f) {
        keys(f, "it60 x0542811101000000123456");
        EXPECT_EQ(f.entry().text(), "IT60X0542811101000000123456");
        f.btnChiudi.click();
    });
}

TEST_F(CheckerTest, VatAndCardEntriesTakeDigitsAndEditingKeysOnly)
{
    for (Opener open : {Opener(orv::kit::openVatChecker), Opener(orv::kit::openCardChecker)}) {
        run(open, "", [&](CheckerForm& f) {
            keys(f, "1a2 3-4");
            EXPECT_EQ(f.entry().text(), "1234");
            key(f, Qt::Key_Backspace);
            key(f, Qt::Key_Left);
            key(f, Qt::Key_Delete);
            EXPECT_EQ(f.entry().text(), "12");
            key(f, Qt::Key_Home);
            keys(f, "9");
            EXPECT_EQ(f.entry().text(), "129");  // Home did nothing
            key(f, Qt::Key_Tab);
            EXPECT_EQ(f.focusedControl(), &f.entry());
            f.btnChiudi.click();
        });
    }
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(CheckerTest, CorrectingAfterALengthWarning)
{
    run(orv::kit::openVatChecker, "1234567015", [&](CheckerForm& f) {
        click(f.btnControlla);
        ASSERT_TRUE(f.isVisible());
        keys(f, "7");
        click(f.btnControlla);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(messages.texts(), QStringList({kVatLength, kVatValid + "Milano 1."}));
}

} // namespace
