// The article editor's Save refuses a number its record field cannot hold whole: the
// price including VAT or the stock value it computes itself is named in a warning, with
// the focus on the price or the cost it comes from, and nothing reaches the archive until
// it fits.
#include "window_fixture.h"

#include <QFile>

using namespace orv::platform::ui;
using namespace orv::warehouse;

using namespace orv::platform::ui;
using orv::test::MessageCall;
using orv::test::WarehouseWindowTest;

namespace {

QString tooLong(const QString& value, const QString& field)
{
    return u"Attenzione: il valore \"%1\" del campo \"%2\" è troppo lungo: l'archivio ne può contenere al massimo 15 "
           u"caratteri.\n\r\n\rLa scheda non è stata salvata. Correggere il valore e premere di nuovo Salva."_qs
        .arg(value, field);
}

class ArticleSaveRefusalTest : public WarehouseWindowTest {
protected:
    // The field emptied, then typed into.
    void retype(Edit& e, const QString& text)
    {
        e.setFocus();
        e.setText(QString());
        keys(editor(), text);
    }
    bool focusIs(const Control& c) const { return editor().focusedControl() == &c; }
};

TEST_F(ArticleSaveRefusalTest, AComputedPriceOrValueTooLongForItsFieldIsRefused)
{
    TfrmMagazzino& e = editor();
    click(e.cmdNuovo);
    retype(e.txtCodice, u"A-1"_qs);
    retype(e.txtPrezzo, u"999999999999,99"_qs); // fits; with VAT it does not
    retype(e.txtPercIva, u"22"_qs);
    click(e.cmdSalva);
    const QString withVat = e.txtPrezzo_con_Iva.text();
    EXPECT_GT(withVat.size(), 15);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Warning);
    EXPECT_EQ(takeTexts(), QStringList{tooLong(withVat, u"Prezzo con IVA"_qs)});
    EXPECT_TRUE(focusIs(e.txtPrezzo)); // where the user typed it, not the field Save computes
    EXPECT_EQ(archiveBytes().size(), 0);
    EXPECT_EQ(e.lblPosizione.text(), QString());

    retype(e.txtPrezzo, u"10"_qs);
    retype(e.txtCosto, u"99999999999,99"_qs);
    retype(e.txtGiacenza, u"1000"_qs);
    click(e.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{tooLong(u"99999999999990,00"_qs, u"Valore"_qs)});
    EXPECT_TRUE(focusIs(e.txtCosto));
    EXPECT_EQ(archiveBytes().size(), 0);

    retype(e.txtGiacenza, u"1"_qs);
    click(e.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{u"La scheda corrente è stata inserita in archivio."_qs});
    ASSERT_EQ(stored().size(), 1);
    EXPECT_EQ(stored()[0].Valore, u"99999999999,99"_qs);
    EXPECT_EQ(stored()[0].Prezzo_con_Iva, u"12,20"_qs);
}

} // namespace
