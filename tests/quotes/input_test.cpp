// How the quote editor's fields take input: the row fields' keys and tidying, the header's
// Enter circle, filters and upper-casing, the row pages and the hint line.
#include "quote_fixture.h"

using namespace orv::platform::ui;
using namespace orv::quotes;

using namespace orv::platform::ui;
using orv::test::QuoteWindowTest;

namespace {

class QuoteInputTest : public QuoteWindowTest {
protected:
    TfrmPreventivi& e() { return *frmPreventivi; }
    void SetUp() override
    {
        QuoteWindowTest::SetUp();
        openEditor();
    }
    // Fills every amount and total label, so a test can see which ones a key empties.
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
};

TEST_F(QuoteInputTest, RowNumberFieldsTakeDigitsAndTheCommaAndEveryKeyEmptiesTheAmounts)
{
    TfrmPreventivi::Row& r = e().row(7);
    e().showPage(2);
    for (Edit* field : {&r.txtQuant, &r.txtPrezzo, &r.txtPercSconto}) {
        fillAmounts();
        field->setText(u"12"_qs);
        field->setFocus();
        press(*field, Qt::Key_Left); // the text does not change, the amounts go all the same
        EXPECT_EQ(r.txtImporto.text(), QString()) << field->name().toStdString();
        EXPECT_TRUE(totalsEmpty());
        EXPECT_EQ(e().row(6).txtImporto.text(), u"1,00"_qs); // other rows keep theirs
        EXPECT_EQ(typedInto(*field, u"1a -.2,5"_qs), u"12,5"_qs);
        field->setText(QString());
        type(*field, u"1234567890123"_qs);
        EXPECT_EQ(field->text().size(), field == &r.txtPrezzo ? 10 : 6); // the record field's width
    }
    // A key in the code or the description empties nothing.
    fillAmounts();
    type(r.txtCodice, u"a.b-c"_qs);
    type(r.txtDesc, u"Valvola 3/4\""_qs);
    EXPECT_EQ(r.txtDesc.text(), u"Valvola 3/4\""_qs);
    EXPECT_EQ(r.txtImporto.text(), u"1,00"_qs);
    EXPECT_FALSE(totalsEmpty());
    // The code and description take every width of their record fields, no more.
    type(r.txtCodice, QString(30, u'c'));
    EXPECT_EQ(r.txtCodice.text().size(), 20);
    type(r.txtDesc, QString(70, u'd'));
    EXPECT_EQ(r.txtDesc.text().size(), 55);
    // Every row alike, and the header fields their record widths.
    for (int n = 1; n <= 30; ++n) {
        const TfrmPreventivi::Row& row = e().row(n);
        EXPECT_EQ(std::vector<int>({row.txtQuant.maxLength(), row.txtCodice.maxLength(), row.txtDesc.maxLength(),
                                    row.txtPrezzo.maxLength(), row.txtPercSconto.maxLength()}),
                  std::vector<int>({6, 20, 55, 10, 6}))
            << n;
    }
    EXPECT_EQ(e().txtNumFatt.maxLength(), 30);
    EXPECT_EQ(e().txtData.maxLength(), 20);
    EXPECT_EQ(e().txtCapDitta.maxLength(), 12);
    EXPECT_EQ(e().txtProvCliente.maxLength(), 2);
    EXPECT_EQ(e().txtPercIva.maxLength(), 10);
    EXPECT_EQ(e().txtNote.maxLength(), 250);
}

TEST_F(QuoteInputTest, EnterWalksTheRowAndLeavingTidiesTheNumbers)
{
    TfrmPreventivi::Row& r = e().row(5);
    r.txtQuant.setFocus();
    EXPECT_TRUE(r.txtQuant.highlight()->visible());
    type(r.txtQuant, u"2,50"_qs);
    press(r.txtQuant, Qt::Key_Return);
    EXPECT_TRUE(focusIs(r.txtCodice));
    EXPECT_EQ(r.txtQuant.text(), u"2,5"_qs);
    EXPECT_FALSE(r.txtQuant.highlight()->visible());
    EXPECT_TRUE(r.txtCodice.highlight()->visible());
    press(r.txtCodice, Qt::Key_Return);
    EXPECT_TRUE(focusIs(r.txtDesc));
    press(r.txtDesc, Qt::Key_Return);
    EXPECT_TRUE(focusIs(r.txtPrezzo));
    type(r.txtPrezzo, u"5"_qs);
    press(r.txtPrezzo, Qt::Key_Return);
    EXPECT_TRUE(focusIs(r.txtPercSconto));
    EXPECT_EQ(r.txtPrezzo.text(), u"5,00"_qs);
    type(r.txtPercSconto, u",,"_qs);
    press(r.txtPercSconto, Qt::Key_Return);
    EXPECT_TRUE(focusIs(r.chkEs));
    EXPECT_EQ(r.txtPercSconto.text(), QString()); // not a number: emptied
    press(r.chkEs, Qt::Key_Return);
    EXPECT_TRUE(focusIs(r.chkEs)); // the row's chain ends at its exempt box
    EXPECT_EQ(e().shownPage(), 1);
    // A price that is not a number becomes 0,00, a blank one empty.
    r.txtPrezzo.setText(u"1,2,3"_qs);
    r.txtPrezzo.setFocus();
    r.txtQuant.setFocus();
    EXPECT_EQ(r.txtPrezzo.text(), u"0,00"_qs);
}

TEST_F(QuoteInputTest, TabMovesOnWithoutEmptyingTheAmounts)
{
    TfrmPreventivi::Row& r = e().row(5);
    fillAmounts();
    r.txtPrezzo.setText(u"7"_qs);
    r.txtPrezzo.setFocus();
    press(r.txtPrezzo, Qt::Key_Tab);
    EXPECT_TRUE(focusIs(r.txtPercSconto));
    EXPECT_EQ(r.txtPrezzo.text(), u"7,00"_qs);
    EXPECT_EQ(r.txtImporto.text(), u"1,00"_qs);
    EXPECT_FALSE(totalsEmpty());
}

TEST_F(QuoteInputTest, OnlyRowTwosPriceAndRowTensDiscountCutTheirTextOnAKeyRelease)
{
    for (int n : {2, 3}) {
        Edit& price = e().row(n).txtPrezzo;
        price.setText(u"12345678,5"_qs);
        price.setFocus();
        e().row(n).txtQuant.setFocus(); // left: a "0" appended, 11 characters
        EXPECT_EQ(price.text(), u"12345678,50"_qs);
        price.setFocus();
        press(price, Qt::Key_Right);
        EXPECT_EQ(price.text(), n == 2 ? u"12345678,5"_qs : u"12345678,50"_qs) << n;
    }
    e().showPage(2);
    for (int n : {10, 9}) {
        Edit& discount = e().row(n).txtPercSconto;
        discount.setText(u"1234567"_qs); // put there by a program step
        discount.setFocus();
        press(discount, Qt::Key_Left);
        EXPECT_EQ(discount.text(), n == 10 ? u"123456"_qs : u"1234567"_qs) << n;
    }
}

TEST_F(QuoteInputTest, TheVatRateEmptiesOnlyTheTotalsAndIsTidiedOnLeaving)
{
    fillAmounts();
    e().txtPercIva.setText(u"22"_qs);
    e().txtPercIva.setFocus();
    press(e().txtPercIva, Qt::Key_Left);
    EXPECT_TRUE(totalsEmpty());
    EXPECT_EQ(e().row(1).txtImporto.text(), u"1,00"_qs);
    EXPECT_EQ(typedInto(e().txtPercIva, u"2a2.,50"_qs), u"22,50"_qs);
    press(e().txtPercIva, Qt::Key_Return);
    EXPECT_TRUE(focusIs(e().txtNote));
    EXPECT_EQ(e().txtPercIva.text(), u"22,5"_qs);
    const std::pair<const char*, const char*> cases[] = {{",", "0"}, {"4,00005", "4"}, {"2,2,0", ""}, {"", ""}};
    for (const auto& [in, out] : cases) {
        e().txtPercIva.setText(QString::fromLatin1(in));
        e().txtPercIva.setFocus();
        e().txtNote.setFocus();
        EXPECT_EQ(e().txtPercIva.text(), QString::fromLatin1(out)) << in;
    }
}

TEST_F(QuoteInputTest, TheHeaderEnterCircleAndItsFilters)
{
    TfrmPreventivi& f = e();
    const std::vector<Control*> circle = {
        &f.txtDitta,   &f.txtViaDitta,    &f.txtCapDitta,    &f.txtCittaDitta,    &f.txtProvDitta,
        &f.txtIvaDitta, &f.txtCodFiscDitta, &f.txtLibero01,   &f.txtLibero02,      &f.txtCliente,
        &f.txtViaCliente, &f.txtCapCliente, &f.txtCittaCliente, &f.txtProvCliente, &f.txtIvaCliente,
        &f.txtCodFiscCliente, &f.txtRiferimenti, &f.txtNumFatt, &f.txtData,        &f.txtPagamento,
        &f.txtBanca,   &f.txtIban,        &f.txtNote,        &f.txtDitta};
    f.txtDitta.setFocus();
    for (size_t i = 0; i + 1 < circle.size(); ++i) {
        key(f, Qt::Key_Return);
        EXPECT_TRUE(focusIs(*circle[i + 1])) << circle[i]->name().toStdString();
    }
    // VAT numbers take digits only.
    EXPECT_EQ(typedInto(f.txtIvaDitta, u"IT 0123,4.5-6"_qs), u"0123456"_qs);
    EXPECT_EQ(typedInto(f.txtIvaCliente, u"a9"_qs), u"9"_qs);
    // IBAN, tax codes and provinces: trimmed and upper-cased as they are typed.
    EXPECT_EQ(typedInto(f.txtIban, u"it60x"_qs), u"IT60X"_qs);
    f.txtIban.setText(u"IT60"_qs);
    type(f.txtIban, u" "_qs);
    EXPECT_EQ(f.txtIban.text(), u"IT60"_qs);
    EXPECT_EQ(typedInto(f.txtIban, u"èa"_qs), u"èA"_qs);
    EXPECT_EQ(typedInto(f.txtCodFiscCliente, u"rss mra"_qs), u"RSSMRA"_qs); // a blank at the end goes at once
    EXPECT_EQ(typedInto(f.txtCodFiscDitta, u"abc "_qs), u"ABC"_qs);
    // The postal codes and the article codes keep what is typed.
    EXPECT_EQ(typedInto(f.txtCapCliente, u"ab 1"_qs), u"ab 1"_qs);
    for (ComboEdit* province : {&f.txtProvDitta, &f.txtProvCliente}) {
        province->setText(QString());
        province->setFocus();
        type(*province, u"mix"_qs);
        EXPECT_EQ(province->text(), u"MI"_qs);
    }
}

TEST_F(QuoteInputTest, ProvinceListsLoseTheirSelectionAndOnlyTheCustomersIsTidiedOnLeaving)
{
    TfrmPreventivi& f = e();
    EXPECT_EQ(f.txtProvCliente.items().size(), 112);
    EXPECT_EQ(f.txtProvCliente.items().front(), u"AG"_qs);
    for (ComboEdit* province : {&f.txtProvDitta, &f.txtProvCliente}) {
        province->setItemIndex(3);
        province->setText(u"mi"_qs); // as a loaded record or the settings may give it
        f.txtNote.setFocus();
        province->setFocus();
        EXPECT_EQ(province->itemIndex(), -1);
        f.txtNote.setFocus();
    }
    EXPECT_EQ(f.txtProvCliente.text(), u"MI"_qs);
    EXPECT_EQ(f.txtProvDitta.text(), u"mi"_qs);
}

TEST_F(QuoteInputTest, PageArrowsShowOnePageAndFocusItsFirstQuantity)
{
    TfrmPreventivi& f = e();
    click(f.forwardArrow(1));
    EXPECT_EQ(f.shownPage(), 2);
    EXPECT_TRUE(focusIs(f.row(6).txtQuant));
    for (int p = 2; p < 6; ++p) click(f.forwardArrow(p));
    EXPECT_EQ(f.shownPage(), 6);
    EXPECT_TRUE(focusIs(f.row(26).txtQuant));
    click(f.forwardArrow(6)); // drawn, but does nothing
    EXPECT_EQ(f.shownPage(), 6);
    click(f.backArrow(6));
    EXPECT_EQ(f.shownPage(), 5);
    EXPECT_TRUE(focusIs(f.row(21).txtQuant));
    for (int p = 5; p > 1; --p) click(f.backArrow(p));
    EXPECT_EQ(f.shownPage(), 1);
    EXPECT_TRUE(focusIs(f.row(1).txtQuant));
    click(f.backArrow(1));
    EXPECT_EQ(f.shownPage(), 1);
    int visible = 0;
    for (int p = 1; p <= 6; ++p) visible += f.page(p).visible() ? 1 : 0;
    EXPECT_EQ(visible, 1);
    EXPECT_EQ(f.row(30).lblNum.text(), u"30."_qs);
}

// Tab runs along a later page's row and from its last row to the VAT rate, and Shift+Tab
// back, as on the first page.
TEST_F(QuoteInputTest, TabOnALaterPageRunsAlongTheRowsToTheTotals)
{
    TfrmPreventivi& f = e();
    for (const int page : {1, 4}) {
        if (page > 1) click(f.forwardArrow(page - 1));
        const int last = page * 5;
        TfrmPreventivi::Row& r = f.row(last);
        r.txtQuant.setFocus();
        for (Control* next : std::initializer_list<Control*>{&r.txtCodice, &r.txtDesc, &r.txtPrezzo, &r.txtPercSconto,
                                                              &r.chkEs, &f.txtPercIva}) {
            press(*f.focusedControl(), Qt::Key_Tab);
            EXPECT_TRUE(focusIs(*next)) << "page " << page << ", " << next->name().toStdString();
        }
        press(f.txtPercIva, Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_TRUE(focusIs(r.chkEs)) << "page " << page;
    }
}

TEST_F(QuoteInputTest, HintsStayOverEditsAndTheBackgroundEmptiesThem)
{
    TfrmPreventivi& f = e();
    const std::pair<Control*, const char*> hints[] = {
        {&f.cmdNuovo, "Predispone la schermata per l'emissione di un nuovo preventivo."},
        {&f.cmdSalva, "Salva o aggiorna il preventivo corrente."},
        {&f.cmdUltimo, "Visualizza l'ultimo preventivo in archivio."},
        {&f.cmdSospese, "Visualizza il riepilogo dei preventivi in sospeso."},
        {&f.cmdDatiComputer, "Apri la finestra per l'inserimento dei dati del trasporto."},
        {&f.row(17).impMag, "Importa i dati dell'articolo dal magazzino."},
        {&f.row(30).chkEs, "Contrassegna come articolo esente da IVA."},
        {&f.chkSaldata, "Contrassegna come preventivo in sospeso."},
        {&f.forwardArrow(5), "Visualizza i prossimi cinque articoli."},
        {&f.backArrow(2), "Visualizza i cinque articoli precedenti."},
        {&f.btnLogo, "Carica il logo della Ditta emittente."},
        {&f.impOggi, "Inserisci la data corrente."},
    };
    for (const auto& [c, text] : hints) {
        hover(*c);
        EXPECT_EQ(f.panInfo.text(), QString::fromUtf8(text)) << c->name().toStdString();
    }
    hover(f.txtCliente);
    EXPECT_EQ(f.panInfo.text(), u"Inserisci la data corrente."_qs); // edits leave it
    hover(f.row(1).shpImporto);
    EXPECT_EQ(f.panInfo.text(), QString());
    for (Control* background : {static_cast<Control*>(&f.panCliente), static_cast<Control*>(&f.page(1))}) {
        hover(f.cmdGuida);
        EXPECT_EQ(f.panInfo.text(), u"Visualizza la pagina della guida sensibile al contesto."_qs);
        hover(*background);
        EXPECT_EQ(f.panInfo.text(), QString());
    }
    hover(f.backArrow(1)); // no hint of its own
    EXPECT_EQ(f.panInfo.text(), QString());
}

} // namespace
