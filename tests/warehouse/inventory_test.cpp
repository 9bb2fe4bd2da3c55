// The goods inventory: its menu shown by the main menu, the list it opens.
#include "window_fixture.h"

#include "shell/avvio.h"
#include "kit/dialogs/guida.h"
#include "warehouse/menuriepilogo.h"
#include "warehouse/riepilogo.h"

using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::shell;
using namespace orv::warehouse;

using namespace orv::platform::ui;
using orv::test::article;
using orv::test::MessageCall;
using orv::test::WarehouseWindowTest;

namespace {

const TArticolo kCaldaia = article({{&TArticolo::Codice, "C-1"}, {&TArticolo::Tipologia, "Caldaie"},
                                    {&TArticolo::Marca, "Caldex"}, {&TArticolo::Costo, "5,25"},
                                    {&TArticolo::Giacenza, "2"}, {&TArticolo::Valore, "10,50"}});
const TArticolo kTubo = article({{&TArticolo::Codice, "T-1"}, {&TArticolo::Tipologia, "Tubi"}, {&TArticolo::Valore, "7"}});
const TArticolo kScaldino = article({{&TArticolo::Codice, "A-9"}, {&TArticolo::Tipologia, "RICAMBI CALDAIE"},
                                     {&TArticolo::Valore, "2,25"}});
const TArticolo kInventoryServizio = article({{&TArticolo::Codice, "S-1"}, {&TArticolo::Valore, "0,00"}});

class InventoryTest : public WarehouseWindowTest {
protected:
    void SetUp() override
    {
        WarehouseWindowTest::SetUp();
        frmMagazzino->hide();
        showAndActivate(*frmMenuRiepilogo);
    }
    TfrmMenuRiepilogo& menu() const { return *frmMenuRiepilogo; }
    // Types the category and presses Visualizza; `script` runs in the list.
    void show(const QString& filter, std::function<void(TfrmRiepilogo&)> script)
    {
        menu().txtTipologia.setFocus();
        menu().txtTipologia.setText(QString());
        keys(menu(), filter);
        modal.scripts[u"frmRiepilogo"_qs] = [script](Form& f) { script(static_cast<TfrmRiepilogo&>(f)); };
        QTest::mousePress(menu().btnVisualizza.widget(), Qt::LeftButton);
        EXPECT_TRUE(menu().lblAttendere.visible());
        QTest::mouseRelease(menu().btnVisualizza.widget(), Qt::LeftButton);
        EXPECT_EQ(modal.shown.count(u"frmRiepilogo"_qs), 1);
        modal.shown.clear();
        EXPECT_FALSE(menu().lblAttendere.visible()); // closing the list hides it
    }
};

TEST_F(InventoryTest, MenuAsAModuleWindow)
{
    EXPECT_EQ(menu().caption(), u" Orvanta 4.0 - Inventario Merce"_qs);
    EXPECT_TRUE(menu().windowState() & Qt::WindowMaximized);
    EXPECT_EQ(menu().focusedControl(), &menu().txtTipologia);
    EXPECT_EQ(menu().lblApri.text(), u"Indicare una tipologia di articoli e premere il pulsante Visualizza."_qs);
    EXPECT_FALSE(menu().lblAttendere.visible());
    keys(menu(), u"cald"_qs);
    menu().hide();
    showAndActivate(menu()); // each showing empties the filter
    EXPECT_EQ(menu().txtTipologia.text(), QString());

    QString title;
    QStringList paragraphs;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        title = static_cast<TfrmGuida&>(f).lblTitolo.text();
        paragraphs = static_cast<TfrmGuida&>(f).txtGuida.text().split(u"\r\n\r\n"_qs);
    };
    click(menu().imgGuida);
    EXPECT_EQ(title, u"Applicazione Inventario Merce."_qs);
    ASSERT_EQ(paragraphs.size(), 4);
    EXPECT_TRUE(paragraphs[0].endsWith(u"Per ottenere l'inventario di tutti gli articoli in magazzino, bisogna premere "
                                       u"il pulsante Visualizza senza indicare alcuna tipologia."_qs));

    click(menu().imgEsci);
    EXPECT_FALSE(menu().isVisible());
    EXPECT_TRUE(frmAvvio->isVisible());
}

TEST_F(InventoryTest, ACategoryListsItsArticlesWithTheirTotal)
{
    writeArchive({kCaldaia, kTubo, kScaldino, kInventoryServizio});
    show(u"cald"_qs, [&](TfrmRiepilogo& f) {
        EXPECT_EQ(f.caption(), u" Orvanta 4.0 - Inventario Merce"_qs);
        EXPECT_EQ(f.titTipologia.text(), u"cald"_qs);
        EXPECT_EQ(f.lstRecords.itemsText(), QStringList({RigaInventario(kScaldino), RigaInventario(kCaldaia)}));
        EXPECT_EQ(f.lblTotale.text(), u"€ 12,75"_qs);
        EXPECT_EQ(f.panInfo.text(), u"Il presente inventario contiene 2 articoli."_qs);
        EXPECT_EQ(f.focusedControl(), &f.txtTrova);

        f.txtTrova.setText(u"c-1"_qs);
        key(f, Qt::Key_Return); // nothing special
        EXPECT_EQ(f.focusedControl(), &f.txtTrova);
        click(f.btnTrova);
        EXPECT_EQ(f.lstRecords.itemIndex(), 1);

        click(f.btnStampa);
        EXPECT_EQ(prints.listPrints, 1);
        EXPECT_EQ(prints.title, u"Inventario merce - Tipologia: cald"_qs);
        EXPECT_EQ(prints.lines, f.lstRecords.itemsText() + QStringList({u"--------------------------"_qs,
                                                                         u"VALORE TOTALE: € 12,75"_qs}));
        EXPECT_DOUBLE_EQ(prints.heights[u"txtRiepilogo"_qs], 4 * 12.822);
        click(f.btnEsci);
    });
    EXPECT_TRUE(messages.calls.empty());

    // No category (blanks only) lists everything, those without a category included.
    show(u"   "_qs, [&](TfrmRiepilogo& f) {
        EXPECT_EQ(f.titTipologia.text(), u"Tutti gli articoli in magazzino."_qs);
        EXPECT_EQ(f.lstRecords.count(), 4);
        EXPECT_EQ(f.lblTotale.text(), u"€ 19,75"_qs);
        click(f.btnStampa);
        EXPECT_EQ(prints.title, u"Inventario merce - Tipologia: Tutti gli articoli in magazzino."_qs);
    });
    // A leading blank takes part in the match; the caption shows the filter trimmed.
    show(u" cald"_qs, [&](TfrmRiepilogo& f) {
        EXPECT_EQ(f.titTipologia.text(), u"cald"_qs);
        EXPECT_EQ(f.lstRecords.itemsText(), QStringList{RigaInventario(kScaldino)});
        EXPECT_EQ(f.lblTotale.text(), u"€ 2,25"_qs);
    });
}

TEST_F(InventoryTest, NothingListedAndAValueThatIsNotANumberIsSkipped)
{
    writeArchive({kCaldaia, kTubo});
    show(u"pompe"_qs, [&](TfrmRiepilogo& f) {
        EXPECT_EQ(f.lstRecords.count(), 0);
        EXPECT_EQ(f.titTipologia.text(), u"pompe"_qs);
        EXPECT_EQ(f.lblTotale.text(), u"€ 0,00"_qs);
        EXPECT_EQ(f.panInfo.text(), u"Il presente inventario contiene 0 articoli."_qs);
        click(f.btnTrova);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Information);
        EXPECT_EQ(messages.last().buttons, mbOk | mbCancel);
        EXPECT_EQ(messages.last().text, u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs);
        click(f.btnStampa);
        EXPECT_EQ(prints.lines, QStringList({u"--------------------------"_qs, u"VALORE TOTALE: € 0,00"_qs}));
    });

    // An article whose value cannot be read (empty, or a text) is skipped and the filling
    // goes on: the articles after it are listed and summed, the total keeps its euro sign.
    TArticolo empty = kTubo, text = kTubo;
    empty.Tipologia = text.Tipologia = u"Caldaie"_qs;
    empty.Codice = u"B-0"_qs;
    empty.Valore = QString();
    text.Codice = u"B-1"_qs;
    text.Valore = u"dieci"_qs;
    writeArchive({kCaldaia, empty, text, kScaldino});
    messages.clear();
    show(u"cald"_qs, [&](TfrmRiepilogo& f) {
        EXPECT_EQ(f.lstRecords.itemsText(), QStringList({RigaInventario(kScaldino), RigaInventario(kCaldaia)}));
        EXPECT_EQ(f.lblTotale.text(), u"€ 12,75"_qs);
        EXPECT_EQ(f.titTipologia.text(), u"cald"_qs);
        EXPECT_EQ(f.panInfo.text(), u"Il presente inventario contiene 2 articoli."_qs);
    });
    EXPECT_TRUE(messages.calls.empty());
}

} // namespace
