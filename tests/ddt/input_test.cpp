// How the delivery-note editor's fields take input, through real keys: the header's
// Enter ring, filters and upper-casing, the VAT rate, the row fields' keys and tidying,
// the page arrows.
#include "ddt_fixture.h"

using namespace orv::ddt;
using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::DdtWindowTest;

namespace {

class DdtInputTest : public DdtWindowTest {
protected:
    void SetUp() override
    {
        DdtWindowTest::SetUp();
        openEditor();
    }
    void fillAmounts()
    {
        for (int n = 1; n <= 30; ++n) e().row(n).txtImporto.setText(u"1,00"_qs);
        for (Label* t : totals()) t->setText(u"9,99"_qs);
    }
    std::vector<Label*> totals()
    {
        return {&e().txtTotImponibile, &e().txtTotImposta, &e().txtTotIva, &e().txtTotEsente, &e().txtTotFattura};
    }
    bool totalsEmpty()
    {
        for (Label* t : totals())
            if (!t->text().isEmpty()) return false;
        return true;
    }
    QString typedInto(Edit& field, const QString& text)
    {
        field.setText(QString());
        field.setFocus();
        type(field, text);
        return field.text();
    }
    // The text a field shows after the focus has left it.
    QString left(Edit& field, const QString& text)
    {
        field.setText(text);
        field.setFocus();
        e().txtNote.setFocus();
        return field.text();
    }
};

TEST_F(DdtInputTest, TheHeaderEnterRingFiltersAndUpperCasing)
{
    TfrmDDT& f = e();
    const std::vector<Control*> ring = {
        &f.txtDitta,      &f.txtViaDitta,   &f.txtCapDitta,     &f.txtCittaDitta,  &f.txtProvDitta,
        &f.txtIvaDitta,   &f.txtCodFiscDitta, &f.txtLibero01,   &f.txtLibero02,    &f.txtCliente,
        &f.txtViaCliente, &f.txtCapCliente, &f.txtCittaCliente, &f.txtProvCliente, &f.txtIvaCliente,
        &f.txtCodFiscCliente, &f.txtRiferimenti, &f.txtNumFatt, &f.txtData,      &f.txtPagamento,
        &f.txtBanca,      &f.txtIban,       &f.txtNote,         &f.txtDitta};
    f.txtDitta.setFocus();
    for (size_t i = 0; i + 1 < ring.size(); ++i) {
        key(f, Qt::Key_Return);
        EXPECT_TRUE(focusIs(*ring[i + 1])) << ring[i]->name().toStdString();
        EXPECT_TRUE(ring[i + 1]->highlight()->visible()) << ring[i + 1]->name().toStdString();
    }
    EXPECT_EQ(typedInto(f.txtIvaCliente, u"a1,2 3"_qs), u"123"_qs);
    EXPECT_EQ(typedInto(f.txtIvaDitta, u"01234567890123456789012345678901"_qs).size(), 30);
    EXPECT_EQ(typedInto(f.txtCodFiscCliente, u"rssmra"_qs), u"RSSMRA"_qs);
    EXPECT_EQ(typedInto(f.txtIban, u"it60 "_qs), u"IT60"_qs);
    EXPECT_EQ(typedInto(f.txtCapDitta, u"ab10"_qs), u"ab10"_qs); // postal codes as typed
    f.txtProvCliente.setText(QString());
    f.txtProvCliente.setFocus();
    type(f.txtProvCliente, u"mi"_qs);
    EXPECT_EQ(f.txtProvCliente.text(), u"MI"_qs);
    EXPECT_EQ(f.txtProvCliente.items().size(), 112);
    EXPECT_EQ(f.txtProvDitta.items().back(), u"VV"_qs);
}

TEST_F(DdtInputTest, TheVatRateEmptiesTheTotalsOnEveryKeyAndIsTidiedOnLeaving)
{
    fillAmounts();
    e().txtPercIva.setText(u"22"_qs);
    e().txtPercIva.setFocus();
    press(e().txtPercIva, Qt::Key_Left);
    EXPECT_TRUE(totalsEmpty());
    EXPECT_EQ(e().row(1).txtImporto.text(), u"1,00"_qs); // row amounts stay
    EXPECT_EQ(typedInto(e().txtPercIva, u"2a2.,50"_qs), u"22,50"_qs);
    press(e().txtPercIva, Qt::Key_Return);
    EXPECT_TRUE(focusIs(e().txtNote));
    EXPECT_EQ(e().txtPercIva.text(), u"22,5"_qs);
    for (const auto& [in, out] : {std::pair{"10", "10"}, {"4,12346", "4,1235"}, {"", ""}, {"1,2,3", ""}})
        EXPECT_EQ(left(e().txtPercIva, QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
    EXPECT_TRUE(totalsEmpty()); // leaving does not calculate
}

TEST_F(DdtInputTest, RowFieldsFilterEmptyTheAmountsAndAreTidiedOnLeaving)
{
    TfrmDDT::Row& r = e().row(12);
    e().showPage(3);
    for (Edit* field : {&r.txtQuant, &r.txtPrezzo, &r.txtPercSconto}) {
        fillAmounts();
        field->setText(u"5"_qs);
        field->setFocus();
        type(*field, u"a"_qs); // refused, but the amounts go all the same
        EXPECT_EQ(field->text(), u"5"_qs);
        EXPECT_EQ(r.txtImporto.text(), QString()) << field->name().toStdString();
        EXPECT_TRUE(totalsEmpty());
        EXPECT_EQ(e().row(11).txtImporto.text(), u"1,00"_qs);
        EXPECT_EQ(typedInto(*field, u"1.2,x5"_qs), u"12,5"_qs);
    }
    fillAmounts();
    type(r.txtCodice, u"AB.1"_qs);
    type(r.txtDesc, u"Tubo 3/4\""_qs);
    EXPECT_EQ(r.txtImporto.text(), u"1,00"_qs);
    EXPECT_FALSE(totalsEmpty());

    const struct {
        Edit* field;
        const char* in;
        const char* out;
    } cases[] = {
        {&r.txtPrezzo, "12", "12,00"},   {&r.txtPrezzo, "12,5", "12,50"}, {&r.txtPrezzo, "3,10", "3,10"},
        {&r.txtPrezzo, "7,12346", "7,1235"}, {&r.txtPrezzo, "0", "0,00"}, {&r.txtPrezzo, "", ""},
        {&r.txtPrezzo, "1,2,3", "0,00"}, {&r.txtPrezzo, "12.50", "0,00"}, {&r.txtQuant, "2,50", "2,5"},
        {&r.txtQuant, "3", "3"},         {&r.txtQuant, "1,2,3", ""},      {&r.txtPercSconto, "10,00", "10"},
        {&r.txtPercSconto, ",5", "0,5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(left(*c.field, QString::fromLatin1(c.in)), QString::fromLatin1(c.out))
            << c.field->name().toStdString() << " " << c.in;
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(DdtInputTest, EnterWalksTheRowToItsExemptBoxAndTheArrowsTurnThePages)
{
    TfrmDDT::Row& r = e().row(5);
    r.txtQuant.setFocus();
    for (Control* next : std::initializer_list<Control*>{&r.txtCodice, &r.txtDesc, &r.txtPrezzo, &r.txtPercSconto,
                                                         &r.chkEs}) {
        key(e(), Qt::Key_Return);
        EXPECT_TRUE(focusIs(*next)) << next->name().toStdString();
    }
    key(e(), Qt::Key_Return);
    EXPECT_TRUE(focusIs(r.chkEs)); // never on to the next row
    EXPECT_EQ(e().shownPage(), 1);

    e().showPage(3);
    click(e().forwardArrow(3));
    EXPECT_EQ(e().shownPage(), 4);
    EXPECT_TRUE(focusIs(e().row(16).txtQuant));
    click(e().backArrow(4));
    click(e().backArrow(3));
    EXPECT_EQ(e().shownPage(), 2);
    EXPECT_TRUE(focusIs(e().row(6).txtQuant));
    // Every row refuses a 7th quantity, a 21st code and an 11th price character.
    for (int n : {1, 7, 30}) {
        e().showPage((n - 1) / 5 + 1);
        EXPECT_EQ(typedInto(e().row(n).txtQuant, u"12345678"_qs), u"123456"_qs) << n;
        EXPECT_EQ(typedInto(e().row(n).txtCodice, QString(25, u'c')).size(), 20) << n;
        EXPECT_EQ(typedInto(e().row(n).txtPrezzo, u"123456789012"_qs), u"1234567890"_qs) << n;
    }
}

} // namespace
