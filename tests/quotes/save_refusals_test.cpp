// What Save refuses to store in the quote editor: totals of a calculation that a text
// which is not a number stopped, and a number too long for its record field. Each
// refusal names the field in a warning, moves the focus to what the user can correct,
// and leaves the archive as it was; once corrected, the same Save stores the quote.
#include "quote_fixture.h"

#include "archive/editor.h"
#include "platform/core/inifile.h"

#include <QFile>

using namespace orv::platform::ui;
using namespace orv::quotes;

using namespace orv::platform::ui;
using orv::test::MessageCall;
using orv::test::quote;
using orv::test::QuoteWindowTest;

namespace {

const QString kAppended = u"La scheda corrente è stata inserita in archivio."_qs;
const QString kSaved = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs;

QString notANumber(const QString& value, const QString& field)
{
    return u"Attenzione: il valore \"%1\" del campo \"%2\" non è un numero valido, per cui non è stato possibile "
           u"calcolare i totali.\n\r\n\rLa scheda non è stata salvata. Correggere il valore e premere di nuovo Salva."_qs
        .arg(value, field);
}

QString tooLong(const QString& value, const QString& field, int width)
{
    return u"Attenzione: il valore \"%1\" del campo \"%2\" è troppo lungo: l'archivio ne può contenere al massimo %3 "
           u"caratteri.\n\r\n\rLa scheda non è stata salvata. Correggere il valore e premere di nuovo Salva."_qs
        .arg(value, field)
        .arg(width);
}

class QuoteSaveRefusalTest : public QuoteWindowTest {
protected:
    // New, then the customer typed: a quote that passes every check of Save.
    TfrmPreventivi& newQuote()
    {
        TfrmPreventivi& e = frmPreventivi->isVisible() ? *frmPreventivi : openEditor();
        click(e.cmdNuovo);
        type(e.txtCliente, u"Rossi"_qs);
        return e;
    }
    // A row's quantity and price typed, the price left with Tab as a user leaves it.
    void typeRow(TfrmPreventivi& e, int row, const QString& quantity, const QString& price)
    {
        e.row(row).txtQuant.setFocus();
        type(e.row(row).txtQuant, quantity);
        e.row(row).txtPrezzo.setFocus();
        type(e.row(row).txtPrezzo, price);
        key(e, Qt::Key_Tab);
    }
    // The one box shown since the last look, which must be a warning; forgets it.
    QString warning()
    {
        EXPECT_EQ(messages.calls.size(), 1u);
        if (messages.calls.empty()) return {};
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        return takeTexts().value(0);
    }
};

TEST_F(QuoteSaveRefusalTest, AVatRateFromTheSettingsThatIsNotANumberStopsSaveUntilCorrected)
{
    orv::platform::IniFile(programFolder() + u"Orvanta.ini"_qs).writeString(u"Ditta Emittente"_qs, u"Aliquota Iva"_qs, u"22%"_qs);
    TfrmPreventivi& e = newQuote();
    ASSERT_EQ(e.txtPercIva.text(), u"22%"_qs);
    typeRow(e, 1, u"2"_qs, u"50"_qs);
    click(e.cmdSalva);
    EXPECT_EQ(warning(), notANumber(u"22%"_qs, u"IVA"_qs));
    EXPECT_TRUE(focusIs(e.txtPercIva));
    EXPECT_EQ(readFile(u"2026.pre"_qs).size(), 0); // New created it; nothing stored
    EXPECT_EQ(e.lblPosizione.text(), QString());
    EXPECT_EQ(e.row(1).txtImporto.text(), u"100,00"_qs); // what the calculation reached stays shown
    EXPECT_EQ(e.txtTotFattura.text(), u"0,00"_qs);

    // The rate corrected where the focus was put: the same Save stores the quote.
    key(e, Qt::Key_End);
    key(e, Qt::Key_Backspace);
    click(e.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kAppended});
    ASSERT_EQ(readYear().size(), 1);
    EXPECT_EQ(readYear()[0][u"PercIva"_qs], u"22"_qs);
    EXPECT_EQ(readYear()[0][u"TotImposta"_qs], u"22,00"_qs);
    EXPECT_EQ(readYear()[0][u"TotFattura"_qs], u"122,00"_qs);
}

TEST_F(QuoteSaveRefusalTest, ALoadedQuoteWithAnAmountThatIsNotANumberIsNotOverwritten)
{
    writeYear({quote({{"NumFatt", "1"},
                      {"Data", "02/03/2026"},
                      {"Cliente", "Alfa"},
                      {"Quant01", "1"},
                      {"Prezzo01", "10,00"},
                      {"Importo01", "10,00"},
                      {"Importo08", "abc"},
                      {"PercIva", "22"},
                      {"TotFattura", "5,00"}})});
    const QByteArray before = readFile(u"2026.pre"_qs);
    TfrmPreventivi& e = openEditor();
    click(e.cmdPrimo);
    ASSERT_EQ(e.lblPosizione.text(), u"1"_qs);
    type(e.txtNote, u"modificato"_qs);
    click(e.cmdSalva);
    // The amount label takes no key: the focus goes to the row's price, on its page.
    EXPECT_EQ(warning(), notANumber(u"abc"_qs, u"Importo tot. (riga 8)"_qs));
    EXPECT_EQ(e.shownPage(), 2);
    EXPECT_TRUE(focusIs(e.row(8).txtPrezzo));
    EXPECT_EQ(readFile(u"2026.pre"_qs), before);

    // A price typed in the row makes it take part: its amount is calculated anew.
    type(e.row(8).txtPrezzo, u"3"_qs);
    click(e.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kSaved});
    EXPECT_EQ(readYear()[0][u"Importo08"_qs], u"3,00"_qs);
    EXPECT_EQ(readYear()[0][u"TotFattura"_qs], u"15,86"_qs);
    EXPECT_EQ(readYear()[0][u"Note"_qs], u"modificato"_qs);
}

TEST_F(QuoteSaveRefusalTest, ANumberLongerThanItsFieldIsRefusedNotCut)
{
    const struct {
        int row;
        const char* quantity;
        const char* price; // typed, then tidied on leaving
        QString field;     // what the warning names
        QString value;
        int width;
        Control* (*focus)(TfrmPreventivi&);
    } cases[] = {
        // "1234567890" becomes "1234567890,00" on leaving: stored it would read 1234567890.
        {3, "1", "1234567890", u"Prezzo (riga 3)"_qs, u"1234567890,00"_qs, 10,
         [](TfrmPreventivi& e) -> Control* { return &e.row(3).txtPrezzo; }},
        // 100 x 9999999,99: the amount "999999999,00" would be stored as "999999999,".
        {12, "100", "9999999,99", u"Importo tot. (riga 12)"_qs, u"999999999,00"_qs, 10,
         [](TfrmPreventivi& e) -> Control* { return &e.row(12).txtPrezzo; }},
    };
    for (const auto& c : cases) {
        TfrmPreventivi& e = newQuote();
        e.showPage((c.row - 1) / 5 + 1);
        typeRow(e, c.row, QString::fromLatin1(c.quantity), QString::fromLatin1(c.price));
        e.showPage(1); // the field lies on another page when Save is clicked
        click(e.cmdSalva);
        EXPECT_EQ(warning(), tooLong(c.value, c.field, c.width)) << c.field.toStdString();
        EXPECT_TRUE(focusIs(*c.focus(e))) << c.field.toStdString();
        EXPECT_EQ(e.shownPage(), (c.row - 1) / 5 + 1);
        EXPECT_EQ(readFile(u"2026.pre"_qs).size(), 0);
        EXPECT_EQ(e.lblPosizione.text(), QString());
    }
}

TEST_F(QuoteSaveRefusalTest, ATotalLongerThanItsFieldIsRefusedAndTheFocusStays)
{
    TfrmPreventivi& e = newQuote();
    // Two amounts of "9999999,00" fit; their sum "19999998,00" does not.
    typeRow(e, 1, u"100"_qs, u"99999,99"_qs);
    typeRow(e, 2, u"100"_qs, u"99999,99"_qs);
    e.txtNote.setFocus();
    click(e.cmdSalva);
    EXPECT_EQ(warning(), tooLong(u"19999998,00"_qs, u"Tot. imponibile"_qs, 10));
    EXPECT_TRUE(focusIs(e.txtNote));
    EXPECT_EQ(readFile(u"2026.pre"_qs).size(), 0);

    // With the second row exempt, the document total is the first that overflows.
    e.row(2).chkEs.setChecked(true);
    click(e.cmdSalva);
    EXPECT_EQ(warning(), tooLong(u"19999998,00"_qs, u"TOTALE PREVENTIVO"_qs, 10));

    // Amounts that fit are stored as shown.
    e.row(1).txtQuant.setText(u"10"_qs);
    e.row(2).txtQuant.setText(u"1"_qs);
    click(e.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kAppended});
    EXPECT_EQ(readYear()[0][u"TotFattura"_qs], u"1099999,89"_qs);
}

} // namespace
