// What Save refuses to store in the delivery-note editor, which shares the quote editor's
// frame: totals of a calculation that a text which is not a number stopped, and numbers
// too long for their record field, each named in a warning before the archive is opened.
#include "ddt_fixture.h"

#include "platform/core/inifile.h"

using namespace orv::ddt;

using namespace orv::platform::ui;
using orv::test::DdtWindowTest;
using orv::test::MessageCall;

namespace {

const QString kRefusalAppended = u"La scheda corrente è stata inserita in archivio."_qs;

QString notANumber(const QString& value, const QString& field)
{
    return u"Attenzione: il valore \"%1\" del campo \"%2\" non è un numero valido, per cui non è stato possibile "
           u"calcolare i totali.\n\r\n\rLa scheda non è stata salvata. Correggere il valore e premere di nuovo Salva."_qs
        .arg(value, field);
}

QString tooLong(const QString& value, const QString& field)
{
    return u"Attenzione: il valore \"%1\" del campo \"%2\" è troppo lungo: l'archivio ne può contenere al massimo 10 "
           u"caratteri.\n\r\n\rLa scheda non è stata salvata. Correggere il valore e premere di nuovo Salva."_qs
        .arg(value, field);
}

class DdtSaveRefusalTest : public DdtWindowTest {
protected:
    void typeRow(int row, const QString& quantity, const QString& price)
    {
        e().showPage((row - 1) / 5 + 1);
        e().row(row).txtQuant.setFocus();
        type(e().row(row).txtQuant, quantity);
        e().row(row).txtPrezzo.setFocus();
        type(e().row(row).txtPrezzo, price);
        key(e(), Qt::Key_Tab);
    }
    // The one box shown since the last look, a warning; forgets it.
    QString warning()
    {
        EXPECT_EQ(messages.calls.size(), 1u);
        if (messages.calls.empty()) return {};
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        return takeTexts().value(0);
    }
};

TEST_F(DdtSaveRefusalTest, ARefusedSaveStoresNothingAndTheCorrectedNoteIsStored)
{
    orv::platform::IniFile(programFolder() + u"Orvanta.ini"_qs).writeString(u"Ditta Emittente"_qs, u"Aliquota Iva"_qs, u"22%"_qs);
    TfrmDDT& d = openEditor();
    click(d.cmdNuovo);
    type(d.txtCliente, u"Rossi"_qs);
    typeRow(1, u"2"_qs, u"50"_qs);
    click(d.cmdSalva);
    EXPECT_EQ(warning(), notANumber(u"22%"_qs, u"IVA"_qs));
    EXPECT_TRUE(focusIs(d.txtPercIva));
    EXPECT_EQ(d.txtTotFattura.text(), u"0,00"_qs);

    key(d, Qt::Key_End);
    key(d, Qt::Key_Backspace);
    typeRow(6, u"1"_qs, u"1234567890"_qs); // "1234567890,00" once left
    d.showPage(1);
    click(d.cmdSalva);
    EXPECT_EQ(warning(), tooLong(u"1234567890,00"_qs, u"Prezzo (riga 6)"_qs));
    EXPECT_EQ(d.shownPage(), 2);
    EXPECT_TRUE(focusIs(d.row(6).txtPrezzo));

    // A price that fits, but a total that does not: named as the screen names it.
    d.row(6).txtPrezzo.setText(u"9999999,99"_qs);
    d.row(6).txtQuant.setText(u"10"_qs);
    d.row(6).chkEs.setChecked(true);
    d.txtPercIva.setText(u"0"_qs);
    click(d.cmdSalva);
    EXPECT_EQ(warning(), tooLong(u"99999999,90"_qs, u"Importo tot. (riga 6)"_qs));
    d.row(6).txtQuant.setText(u"1"_qs);
    d.row(1).txtQuant.setText(u"1"_qs);
    d.row(1).txtPrezzo.setText(u"9999999,99"_qs);
    click(d.cmdSalva);
    EXPECT_EQ(warning(), tooLong(u"19999999,98"_qs, u"TOTALE DDT"_qs));
    EXPECT_EQ(readFile(u"2026.ddt"_qs).size(), 0); // New created it; nothing stored

    d.row(1).txtPrezzo.setText(u"50"_qs);
    d.row(6).txtPrezzo.setText(u"12,50"_qs);
    click(d.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kRefusalAppended});
    ASSERT_EQ(readYear().size(), 1);
    EXPECT_EQ(readYear()[0][u"PercIva"_qs], u"0"_qs);
    EXPECT_EQ(readYear()[0][u"Prezzo06"_qs], u"12,50"_qs);
    EXPECT_EQ(readYear()[0][u"TotFattura"_qs], u"62,50"_qs);
}

} // namespace
