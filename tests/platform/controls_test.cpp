// The semantics the windows rely on, each against the Qt behaviour that would break it.
#include "gui/doubles.h"

#include "platform/core/text.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/input.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTableWidget>
#include <QtTest/qtestspontaneevent.h>
#include <QCalendarWidget>
#include <QComboBox>
#include <QListView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QShowEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::GuiTest;
using orv::test::MessageCall;

namespace {

const Layout& testLayout()
{
    static const Layout layout = {
        panel("panContainer", 0, 0, 400, 300).fill(Qt::white),
        edit("txtNome", 10, 10, 150).in("panContainer").highlighted(),
        edit("txtNumero", 10, 40, 150).in("panContainer").maxLen(5).highlighted(),
        combo("txtProv", 10, 70, 60).in("panContainer").items({"MI", "RM", "TO"}),
        button("cmdOK", 10, 100, 80, 30, "OK").in("panContainer"),
        command("cmdSalva", 100, 100, 80, 30).in("panContainer"),
        check("chkFlag", 10, 140, 120, 20, "Flag").in("panContainer"),
        label("panInfo", 10, 270, 380, 20, "Pronto...").in("panContainer"),
        list("lstRecords", 200, 10, 190, 120).in("panContainer").sorted(),
        grid("grdRecords", 200, 140, 190, 120).in("panContainer"),
    };
    return layout;
}

class TestForm : public Form {
public:
    explicit TestForm(QWidget* owner = nullptr)
        : Form(owner, {"frmTest", " Prova", 400, 300}, testLayout())
    {
        created();
    }
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(Edit, txtNome);
    ORV_CONTROL(Edit, txtNumero);
    ORV_CONTROL(ComboEdit, txtProv);
    ORV_CONTROL(Button, cmdOK);
    ORV_CONTROL(Image, cmdSalva);
    ORV_CONTROL(CheckBox, chkFlag);
    ORV_CONTROL(Label, panInfo);
    ORV_CONTROL(ListBox, lstRecords);
    ORV_CONTROL(StringGrid, grdRecords);
};

class FormsTest : public GuiTest {};

class ControlsTest : public GuiTest {
protected:
    std::unique_ptr<TestForm> form;
    QStringList events;
    void SetUp() override
    {
        GuiTest::SetUp();
        form = std::make_unique<TestForm>();
        for (Control* c : std::initializer_list<Control*>{&form->txtNome, &form->txtNumero, &form->txtProv, &form->cmdOK}) {
            c->onEnter = [this, c] { events << c->name() + ".Enter"; };
            c->onExit = [this, c] { events << c->name() + ".Exit"; };
        }
        showAndActivate(*form);
        form->txtNome.setFocus();
        events.clear();
    }
    void TearDown() override
    {
        form.reset();
        GuiTest::TearDown();
    }
};

TEST_F(ControlsTest, ControlsCarryTheirNamesAsRuntimeNames)
{
    EXPECT_EQ(form->findChild<QLineEdit*>("txtNumero"), form->txtNumero.widget());
    EXPECT_EQ(form->txtNome.highlight()->name(), "effNome");
    EXPECT_EQ(form->findControl("effNumero"), form->txtNumero.highlight());
    EXPECT_EQ(numbered("txtCodice", 7), "txtCodice07");
    EXPECT_THROW(form->control<Edit>("cmdOK"), std::logic_error);
}

TEST_F(ControlsTest, ClearingKeyAndCharacterSwallowsTheKeyEntirely)
{
    form->txtNumero.onKeyDown = [](Word& key, QChar& ch, ShiftState) { acceptOnly(key, ch); };
    form->txtNumero.setFocus();
    type(form->txtNumero, "1a2,b3");
    EXPECT_EQ(form->txtNumero.text(), "123");
    form->txtNumero.setCaretPosition(1);
    press(form->txtNumero, Qt::Key_Home);  // no caret move
    press(form->txtNumero, Qt::Key_End);
    EXPECT_EQ(form->txtNumero.caretPosition(), 1);
    events.clear();
    press(form->txtNumero, Qt::Key_Tab);  // Tab too: the focus stays
    EXPECT_EQ(form->focusedControl(), &form->txtNumero);
    EXPECT_TRUE(events.isEmpty());
    press(form->txtNumero, Qt::Key_Backspace);
    press(form->txtNumero, Qt::Key_Right);
    press(form->txtNumero, Qt::Key_Delete);
    EXPECT_EQ(form->txtNumero.text(), "2");
}

TEST_F(ControlsTest, KeyDownRunsOncePerPressWithVirtualKeyAndCharacter)
{
    std::vector<std::pair<Word, QChar>> seen;
    form->txtNome.onKeyDown = [&](Word& key, QChar& ch, ShiftState) { seen.emplace_back(key, ch); };
    type(form->txtNome, "a5,");
    press(form->txtNome, Qt::Key_Return);
    press(form->txtNome, Qt::Key_Left);
    press(form->txtNome, Qt::Key_Tab);
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0], std::make_pair(Word('A'), QChar(u'a')));
    EXPECT_EQ(seen[1], std::make_pair(Word('5'), QChar(u'5')));
    EXPECT_EQ(seen[2], std::make_pair(vk::OemComma, QChar(u',')));
    EXPECT_EQ(seen[3], std::make_pair(vk::Return, QChar()));
    EXPECT_EQ(seen[4], std::make_pair(vk::Left, QChar()));
    EXPECT_EQ(seen[5], std::make_pair(vk::Tab, QChar()));
}

TEST_F(ControlsTest, AChangedCharacterIsTypedInstead)
{
    form->txtNome.onKeyDown = [](Word&, QChar& ch, ShiftState) {
        if (ch == u'x') ch = QChar();           // typed nothing
        else if (ch == u'a') ch = QChar(u'A');  // typed another character
    };
    type(form->txtNome, "xaxb");
    EXPECT_EQ(form->txtNome.text(), "Ab");
}

TEST_F(ControlsTest, TabNotSwallowedMovesTheFocusWithExitAndEnter)
{
    press(form->txtNome, Qt::Key_Tab);
    EXPECT_EQ(form->focusedControl(), &form->txtNumero);
    EXPECT_EQ(events, QStringList({"txtNome.Exit", "txtNumero.Enter"}));
    EXPECT_FALSE(form->txtNome.highlight()->visible());
    EXPECT_TRUE(form->txtNumero.highlight()->visible());
}

TEST_F(ControlsTest, EnterChainMovesFocusThroughHandlers)
{
    form->txtNumero.onKeyDown = [](Word& key, QChar& ch, ShiftState) { acceptOnly(key, ch, u","); };
    chainEnter({&form->txtNome, &form->txtNumero});
    key(*form, Qt::Key_Return);
    EXPECT_EQ(form->focusedControl(), &form->txtNumero);
    key(*form, Qt::Key_Return);
    EXPECT_EQ(form->focusedControl(), &form->txtNome);
    EXPECT_EQ(events, QStringList({"txtNome.Exit", "txtNumero.Enter", "txtNumero.Exit", "txtNome.Enter"}));
    form->txtNumero.setFocus();
    type(form->txtNumero, "1,5x");  // the filter bound before the chain still runs
    EXPECT_EQ(form->txtNumero.text(), "1,5");
}

TEST_F(ControlsTest, ReadOnlyEditsTakeTheFocusAndTheirKeys)
{
    form->txtNome.setReadOnly(true);
    int keysSeen = 0;
    form->txtNome.onKeyDown = [&](Word&, QChar&, ShiftState) { ++keysSeen; };
    form->txtNumero.setFocus();
    press(form->txtNumero, Qt::Key_Backtab);
    EXPECT_EQ(form->focusedControl(), &form->txtNome);
    type(form->txtNome, "ab");
    press(form->txtNome, Qt::Key_Delete);
    EXPECT_EQ(keysSeen, 3);
    EXPECT_EQ(form->txtNome.text(), "");
}

TEST_F(ControlsTest, MaximumLengthLimitsTypingOnly)
{
    form->txtNumero.setFocus();
    type(form->txtNumero, "1234567");
    EXPECT_EQ(form->txtNumero.text(), "12345");
    form->txtNumero.setText("123456789");  // by code: kept whole
    EXPECT_EQ(form->txtNumero.text(), "123456789");
    form->txtNumero.setCaretPosition(9);
    type(form->txtNumero, "0");
    EXPECT_EQ(form->txtNumero.text(), "123456789");
    press(form->txtNumero, Qt::Key_Backspace);  // shortening an over-long text works
    EXPECT_EQ(form->txtNumero.text(), "12345678");
}

TEST_F(ControlsTest, ChangeOnEveryChangeTypingOnlyOnTypingAndReentrancySafe)
{
    int changes = 0, typings = 0;
    form->txtNome.onChange = [&] { ++changes; };
    form->txtNome.onTyping = [&] {
        ++typings;
        form->txtNome.setText(orv::platform::upperAZ(orv::platform::trimmed(form->txtNome.text())));
    };
    form->txtNome.setText("abc");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(typings, 0);
    form->txtNome.setText("");
    changes = 0;
    type(form->txtNome, "rm ");
    EXPECT_EQ(form->txtNome.text(), "RM");
    EXPECT_EQ(typings, 3);
    EXPECT_GE(changes, 3);
    form->txtNome.setText("RM");  // the same text: no change
    const int before = changes;
    form->txtNome.setText("RM");
    EXPECT_EQ(changes, before);
}

TEST_F(ControlsTest, ComboKeepsItsTextWithoutSelectionAndNeverInsertsOrCompletes)
{
    int changes = 0;
    form->txtProv.onChange = [&] { ++changes; };
    form->txtProv.setItemIndex(1);
    EXPECT_EQ(form->txtProv.text(), "RM");
    changes = 0;
    form->txtProv.setItemIndex(-1);
    EXPECT_EQ(form->txtProv.itemIndex(), -1);
    EXPECT_EQ(form->txtProv.text(), "RM");
    EXPECT_EQ(changes, 0);
    form->txtProv.setText("");
    form->txtProv.setFocus();
    type(form->txtProv, "T");  // no completion to "TO"
    EXPECT_EQ(form->txtProv.text(), "T");
    type(form->txtProv, "X");
    press(form->txtProv, Qt::Key_Return);
    EXPECT_EQ(form->txtProv.items(), QStringList({"MI", "RM", "TO"}));
    EXPECT_EQ(form->txtProv.text(), "TX");
}

// The drop-down list is built only when it first opens. It must then look as the list of
// a combo made editable the usual way, in the combo's own font.
TEST_F(FormsTest, ComboListOpensInTheCombosFontAsAStockEditableCombosList)
{
    const FontSpec font{"Verdana", 13, true, false, false, QColor()};
    QStringList items;  // more than the list shows at once, so that it scrolls
    for (int i = 1; i <= 15; ++i) items << QStringLiteral("PROVINCIA %1").arg(i);
    QWidget host;
    host.resize(300, 200);
    ComboEdit ours(&host);
    ours.setItems(items);
    ours.setBounds(10, 10, 160, 26);
    // Closing a list that never opened builds it, still in the old font.
    static_cast<QComboBox*>(ours.widget())->hidePopup();
    ours.setFont(font);
    QComboBox stock(&host);
    stock.setEditable(true);
    stock.addItems(items);
    stock.setCurrentIndex(-1);
    stock.setMaxVisibleItems(12);
    stock.setGeometry(10, 60, 160, 26);
    stock.setFont(font.apply(stock.font()));
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));

    auto listPicture = [](QComboBox* combo, auto open) {
        open();
        QAbstractItemView* view = combo->view();
        EXPECT_TRUE(view->isVisible());
        EXPECT_EQ(view->font(), combo->font());
        const QImage picture = view->window()->grab().toImage();
        combo->hidePopup();
        return picture;
    };
    auto* ourCombo = static_cast<QComboBox*>(ours.widget());
    const QImage mine = listPicture(ourCombo, [&] { ours.dropDown(); });
    const QImage theirs = listPicture(&stock, [&] { stock.showPopup(); });
    ASSERT_FALSE(mine.isNull());
    EXPECT_EQ(mine.size(), theirs.size());
    EXPECT_TRUE(mine == theirs);
    // A later change of font reaches the list that now exists.
    ours.setFont({"Verdana", 16, false, false, false, QColor()});
    EXPECT_EQ(ourCombo->view()->font(), ourCombo->font());
}

TEST_F(ControlsTest, CanFocusRunsBeforeTheComboTakesTheFocus)
{
    form->txtProv.onCanFocus = [this](bool&) { form->txtProv.setItemIndex(-1); };
    form->txtProv.setItemIndex(2);
    press(form->txtNumero, Qt::Key_Tab);
    form->txtProv.setFocus();
    EXPECT_EQ(form->txtProv.itemIndex(), -1);
    EXPECT_EQ(form->txtProv.text(), "TO");
    EXPECT_EQ(form->focusedControl(), &form->txtProv);
}

TEST_F(ControlsTest, ButtonTakesTheFocusSoTheEditExitsFirstImageDoesNot)
{
    form->cmdOK.onClick = [this] { events << "cmdOK.Click"; };
    form->cmdSalva.onClick = [this] { events << "cmdSalva.Click"; };
    click(form->cmdSalva);
    EXPECT_EQ(events, QStringList({"cmdSalva.Click"}));
    EXPECT_EQ(form->focusedControl(), &form->txtNome);
    events.clear();
    click(form->cmdOK);
    EXPECT_EQ(events, QStringList({"txtNome.Exit", "cmdOK.Enter", "cmdOK.Click"}));
    EXPECT_EQ(form->cmdSalva.widget()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ControlsTest, EnterOnAFocusedButtonPressesItAndEscapeNeverCloses)
{
    int clicks = 0;
    form->cmdOK.onClick = [&] { ++clicks; };
    form->cmdOK.setFocus();
    key(*form, Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
    form->txtNome.setFocus();
    key(*form, Qt::Key_Return);  // no default button
    key(*form, Qt::Key_Escape);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(ControlsTest, ExitDoesNotRunWhenAnotherWindowTakesTheActivation)
{
    form->cmdOK.onClick = [this] {
        // A real box of another window takes the activation while the edit keeps its
        // window's focus.
        QMessageBox box(QMessageBox::Warning, "t", "Attenzione: prova.", QMessageBox::Ok, form.get());
        box.setWindowModality(Qt::NonModal);
        box.show();
        box.activateWindow();
        QApplication::setActiveWindow(&box);
        (void)QTest::qWaitForWindowActive(&box, 1000);
        box.button(QMessageBox::Ok)->setFocus();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), box.button(QMessageBox::Ok));  // the focus really moved
        box.close();
    };
    form->cmdOK.setFocus();
    events.clear();
    form->cmdOK.click();
    QApplication::setActiveWindow(form.get());
    QCoreApplication::processEvents();
    EXPECT_TRUE(events.isEmpty()) << events.join(",").toStdString();
    EXPECT_EQ(form->focusedControl(), &form->cmdOK);
}

TEST_F(ControlsTest, HintLineWrittenByControlsClearedByBackgroundKeptOverOthers)
{
    bindHints(form->panInfo, {{&form->cmdSalva, "Salva la scheda."}, {&form->chkFlag, "Spunta."}});
    bindHintClear(form->panInfo, *form, {&form->panContainer});
    EXPECT_EQ(form->panInfo.text(), "Pronto...");
    hover(form->cmdSalva);
    EXPECT_EQ(form->panInfo.text(), "Salva la scheda.");
    hover(form->txtNome);  // no handler: leaves it, the move does not reach the panel
    hover(form->lstRecords);
    EXPECT_EQ(form->panInfo.text(), "Salva la scheda.");
    hover(form->chkFlag);
    EXPECT_EQ(form->panInfo.text(), "Spunta.");
    hover(form->panContainer);
    EXPECT_EQ(form->panInfo.text(), "");
    form->panInfo.setText("x");
    hover(*form);
    EXPECT_EQ(form->panInfo.text(), "");
}

TEST(Memo, KeepsItsParagraphBreaksAndCalendarCountsDaysFrom1899)
{
    Form f(nullptr, {"frmTest", "t", 300, 300}, {memo("txtGuida", 0, 0, 200, 100), calendar("calData", 0, 100, 250, 180)});
    auto& memoCtl = f.control<Memo>("txtGuida");
    memoCtl.setText("Uno.\r\n\r\nDue.");
    EXPECT_EQ(memoCtl.text(), "Uno.\r\n\r\nDue.");
    EXPECT_EQ(memoCtl.lines(), QStringList({"Uno.", "", "Due."}));
    auto& cal = f.control<Calendar>("calData");
    cal.setDate(46096);  // 15/03/2026
    EXPECT_EQ(cal.calendarWidget()->selectedDate(), QDate(2026, 3, 15));
    EXPECT_EQ(cal.date(), 46096);
    EXPECT_EQ(cal.calendarWidget()->locale().standaloneMonthName(3), "marzo");
}

TEST_F(ControlsTest, AnExceptionInAHandlerShowsTheGeneralErrorBoxAndGoesOn)
{
    form->cmdSalva.onClick = [] { throw std::runtime_error("Disco pieno"); };
    click(form->cmdSalva);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_EQ(messages.last().text, "Disco pieno");
    type(form->txtNome, "ok");
    EXPECT_EQ(form->txtNome.text(), "ok");
}

TEST_F(FormsTest, AnExceptionOutOfAnyEventIsShownAfterwards)
{
    struct Throwing : QObject {
        bool event(QEvent* e) override
        {
            if (e->type() == QEvent::User) throw std::runtime_error("Errore nel disegno");
            return QObject::event(e);
        }
    } target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::processEvents();  // caught in the application object
    QCoreApplication::processEvents();  // the box follows once the loop is back
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_EQ(messages.last().text, "Errore nel disegno");
}

TEST_F(ControlsTest, SortedListUsesTheProgramsComparison)
{
    for (const char* s : {"b", "10", "2", "ABD", "abc", "ab", "\xc3\xa0"}) form->lstRecords.add(QString::fromUtf8(s));
    EXPECT_EQ(form->lstRecords.itemsText(), QStringList({"10", "2", "ab", "abc", "ABD", "b", QString::fromUtf8("\xc3\xa0")}));
    form->lstRecords.setSorted(false);
    form->lstRecords.clear();
    form->lstRecords.add("z");
    form->lstRecords.add("a");
    EXPECT_EQ(form->lstRecords.itemsText(), QStringList({"z", "a"}));
    int dbl = 0;
    form->lstRecords.onDblClick = [&] { ++dbl; };
    doubleClick(form->lstRecords);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(form->lstRecords.itemIndex(), 0);
}

TEST_F(ControlsTest, GridReadOnlyColumnsAndCells)
{
    form->grdRecords.setColumns({{"Codice", 60, true}, {"Note", 100, false}});
    form->grdRecords.setRowCount(2);
    form->grdRecords.setCell(0, 1, "A1");
    form->grdRecords.setCell(1, 1, "n");
    EXPECT_EQ(form->grdRecords.cell(0, 1), "A1");
    EXPECT_EQ(form->grdRecords.cell(1, 0), "");
    auto* t = form->grdRecords.tableWidget();
    EXPECT_FALSE(t->item(1, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(t->item(1, 1)->flags() & Qt::ItemIsEditable);
}

TEST_F(ControlsTest, ImagesLoadAndSaveBitmaps)
{
    QImage img(8, 6, QImage::Format_RGB32);
    img.fill(Qt::red);
    const QString jpg = folder.filePath("a.jpg");
    ASSERT_TRUE(img.save(jpg, "JPEG"));
    EXPECT_TRUE(form->cmdSalva.loadFromFile(jpg));
    const QString bmp = folder.filePath("Logo.bmp");
    EXPECT_TRUE(form->cmdSalva.saveToFile(bmp));
    EXPECT_EQ(QImage(bmp).size(), QSize(8, 6));
    EXPECT_FALSE(form->cmdSalva.loadFromFile(folder.filePath("missing.bmp")));
    writeFile("broken.bmp", "not a picture");
    EXPECT_FALSE(form->cmdSalva.loadFromFile(programFolder() + "broken.bmp"));
    EXPECT_EQ(form->cmdSalva.picture().size(), QSize(8, 6));  // unchanged
}

// ---------------------------------------------------------------- forms

// A window whose middle panel is built late, and the same window built at once.
class DeferringForm : public Form {
public:
    explicit DeferringForm(bool defer)
        : Form(nullptr, {defer ? "frmLate" : "frmAtOnce", " Prova", 400, 300}, layout(defer))
    {
    }
    static Layout layout(bool defer)
    {
        Item later = panel("panLater", 0, 60, 400, 100);
        if (defer) later.deferred();
        return {
            edit("txtPrima", 10, 10, 100),
            panel("panPrima", 0, 30, 400, 30),
            combo("txtProv", 10, 2, 60).in("panPrima").items({"MI", "RM"}),
            later,
            edit("txtDentro", 10, 10, 100).in("panLater").highlighted(),
            label("lblDentro", 120, 10, 100, 20, "Dentro").in("panLater"),
            panel("panInterno", 0, 40, 400, 50).in("panLater"),
            check("chkInterno", 10, 10, 100, 20, "Interno").in("panInterno"),
            list("lstInterno", 120, 0, 200, 50).in("panInterno"),
            edit("txtDopo", 10, 170, 100),
            button("cmdOK", 10, 200, 80, 30, "OK"),
        };
    }
    std::vector<size_t> built;

protected:
    void deferredBuilt(size_t first) override { built.push_back(first); }
};

TEST_F(FormsTest, DeferredContentsAreBuiltOnFirstNeedAndStandWhereTheLayoutPutsThem)
{
    // The focused control's name after each Tab, starting from the first edit.
    const auto tabWalk = [](Form& f) {
        showAndActivate(f);
        f.control<Edit>("txtPrima").setFocus();
        QStringList names;
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            names << (f.focusedControl() ? f.focusedControl()->name() : QString());
        }
        return names.join(u' ').toStdString();
    };
    DeferringForm atOnce(false);
    DeferringForm late(true);
    EXPECT_FALSE(atOnce.hasDeferred());
    ASSERT_TRUE(late.hasDeferred());
    EXPECT_NE(late.builtControl("panLater"), nullptr);  // the container itself is there
    EXPECT_EQ(late.builtControl("txtDentro"), nullptr);
    EXPECT_EQ(late.builtControl("effDentro"), nullptr);

    // Asked for by name, everything waiting is built once, and the window is told which.
    Control* inner = late.findControl("chkInterno");
    ASSERT_NE(inner, nullptr);
    EXPECT_FALSE(late.hasDeferred());
    ASSERT_EQ(late.built.size(), 1u);
    EXPECT_EQ(late.controls()[late.built[0]]->name(), QStringLiteral("effDentro"));
    EXPECT_EQ(late.controls().size(), atOnce.controls().size());
    EXPECT_EQ(late.findControl("nessuno"), nullptr);
    EXPECT_EQ(late.built.size(), 1u);
    EXPECT_EQ(inner->widget()->parentWidget(), late.findControl("panInterno")->widget());

    // Stacking inside the late panel is the layout's.
    const auto childNames = [](Form& f) {
        QStringList names;
        for (QObject* o : f.findControl("panLater")->widget()->children()) names << o->objectName();
        return names.join(u' ').toStdString();
    };
    EXPECT_EQ(childNames(late), childNames(atOnce));

    // Showing builds what still waits before anything is on screen; Tab then runs through
    // the late controls in the layout's order, not after the ones built at once.
    DeferringForm shown(true);
    const std::string expected = "txtProv txtDentro chkInterno lstInterno txtDopo cmdOK txtPrima";
    EXPECT_EQ(tabWalk(atOnce), expected);
    EXPECT_EQ(tabWalk(shown), expected);
    EXPECT_EQ(shown.built.size(), 1u);
    EXPECT_EQ(tabWalk(late), expected);
}

// Edits, labels, lists, grids, calendars and combos wait to be built until their window
// is shown; what the window set on them before stays, and they stand where the layout
// put them.
TEST_F(FormsTest, WidgetsBuiltOnShowKeepWhatWasSetBefore)
{
    const QColor red(0xC0, 0x10, 0x10);
    Form f(nullptr, {"frmAttese", " Prova", 500, 400},
           {
               edit("txtPrima", 10, 10, 100),
               list("lstVoci", 10, 40, 150, 100).font({"", 0, true, false, false, red}),
               calendar("calGiorno", 170, 40, 250, 180),
               label("lblSopra", 20, 60, 100, 20, "Sopra").align(Align::Right).wrap().fill(Qt::yellow)
                   .font({"", 0, false, false, false, red}),
               edit("txtDopo", 10, 230, 100),
               combo("txtProv", 120, 230, 60).items({"MI", "RM", "TO"}).centre(),
               grid("grdRighe", 10, 260, 300, 100),
               grid("grdNascosta", 320, 260, 100, 100).hidden(),
               list("lstSpenta", 430, 40, 60, 60).disabled(),
           });
    auto& voci = f.control<ListBox>("lstVoci");
    auto& giorno = f.control<Calendar>("calGiorno");
    auto& righe = f.control<StringGrid>("grdRighe");
    auto& prov = f.control<ComboEdit>("txtProv");
    int changes = 0, provChanges = 0;
    giorno.onChange = [&] { ++changes; };
    prov.onChange = [&] { ++provChanges; };

    prov.setText(u"mi"_qs);
    prov.setText(u"mi"_qs);
    prov.setItemIndex(-1);
    EXPECT_EQ(provChanges, 1);
    EXPECT_EQ(prov.text(), u"mi"_qs);
    EXPECT_EQ(prov.items(), QStringList({"MI", "RM", "TO"}));
    EXPECT_EQ(prov.itemIndex(), -1);

    righe.setColumns({{"Codice", 50, false}, {"Descrizione", 70, true}});
    righe.setRowHeight(25);
    righe.setRowCount(3);
    EXPECT_EQ(righe.columnCount(), 2);
    EXPECT_EQ(righe.rowCount(), 3);
    giorno.setDate(double(QDate(1899, 12, 30).daysTo(QDate::currentDate())));  // the day it shows
    EXPECT_EQ(changes, 0);
    giorno.setDate(45000);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(giorno.date(), 45000.0);
    EXPECT_EQ(f.findChild<QListView*>(), nullptr);
    EXPECT_EQ(f.findChild<QTableWidget*>(), nullptr);
    EXPECT_EQ(f.findChild<QCalendarWidget*>(), nullptr);
    EXPECT_EQ(f.findChild<QComboBox*>(), nullptr);
    auto& dopo = f.control<Edit>("txtDopo");
    int editChanges = 0;
    dopo.onChange = [&] { ++editChanges; };
    dopo.setText(u"abc"_qs);
    dopo.setText(u"abc"_qs);
    dopo.setMaxLength(4);
    dopo.setAlign(Align::Right);
    dopo.setReadOnly(true);
    dopo.setReadOnly(false);
    EXPECT_EQ(editChanges, 1);
    EXPECT_EQ(dopo.text(), u"abc"_qs);
    EXPECT_EQ(dopo.caretPosition(), 3);
    EXPECT_FALSE(dopo.readOnly());
    auto& prima = f.control<Edit>("txtPrima");
    prima.setMasked(true);
    prima.setReadOnly(true);
    auto& sopra = f.control<Label>("lblSopra");
    EXPECT_EQ(sopra.text(), u"Sopra"_qs);
    sopra.setText(u"Sopra tutti"_qs);
    sopra.setVerticalCenter(false);
    EXPECT_EQ(sopra.fontColor(), red);
    EXPECT_EQ(f.findChild<QLabel*>(), nullptr);
    EXPECT_EQ(f.findChild<QLineEdit*>(), nullptr);

    showAndActivate(f);
    QLineEdit* le = dopo.lineEdit();
    EXPECT_EQ(le->text(), u"abc"_qs);
    EXPECT_EQ(le->cursorPosition(), 3);
    EXPECT_EQ(le->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_FALSE(le->isReadOnly());
    EXPECT_EQ(prima.lineEdit()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(prima.lineEdit()->isReadOnly());
    EXPECT_EQ(editChanges, 1);
    type(dopo, u"de"_qs);  // the length limit holds for typing
    EXPECT_EQ(dopo.text(), u"abcd"_qs);
    EXPECT_EQ(editChanges, 2);
    auto* l = static_cast<QLabel*>(sopra.widget());
    EXPECT_EQ(l->text(), u"Sopra tutti"_qs);
    EXPECT_EQ(l->textFormat(), Qt::PlainText);
    EXPECT_EQ(l->alignment(), Qt::AlignRight | Qt::AlignTop);
    EXPECT_TRUE(l->wordWrap());
    EXPECT_EQ(l->palette().color(QPalette::WindowText), red);
    EXPECT_TRUE(l->autoFillBackground());
    EXPECT_EQ(l->palette().color(QPalette::Window), QColor(Qt::yellow));
    QComboBox* cb = prov.comboBox();
    EXPECT_EQ(cb->lineEdit()->text(), u"mi"_qs);
    EXPECT_EQ(cb->count(), 3);
    EXPECT_EQ(cb->currentIndex(), -1);
    EXPECT_EQ(cb->lineEdit()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(provChanges, 1);
    prov.setItemIndex(1);
    EXPECT_EQ(prov.text(), u"RM"_qs);
    EXPECT_EQ(provChanges, 2);
    ASSERT_NE(f.findChild<QListView*>("lstVoci"), nullptr);
    EXPECT_EQ(voci.widget(), f.findChild<QListView*>("lstVoci"));
    EXPECT_EQ(f.findChildren<QWidget*>("lstVoci").size(), 1);  // the stand-in is gone
    EXPECT_EQ(voci.widget()->geometry(), QRect(10, 40, 150, 100));
    EXPECT_EQ(voci.widget()->font().family(), u"Courier New"_qs);
    EXPECT_TRUE(voci.widget()->font().bold());
    EXPECT_EQ(voci.widget()->palette().color(QPalette::Text), red);
    EXPECT_FALSE(f.control<ListBox>("lstSpenta").widget()->isEnabled());
    EXPECT_FALSE(f.control<StringGrid>("grdNascosta").widget()->isVisible());
    EXPECT_TRUE(righe.widget()->isVisible());

    QTableWidget* t = righe.tableWidget();
    EXPECT_EQ(t->columnCount(), 2);
    EXPECT_EQ(t->rowCount(), 3);
    EXPECT_EQ(t->horizontalHeaderItem(1)->text(), u"Descrizione"_qs);
    EXPECT_EQ(t->columnWidth(1), 70);
    EXPECT_EQ(t->rowHeight(0), 25);
    righe.setCell(1, 0, u"sola lettura"_qs);
    EXPECT_FALSE(t->item(0, 1)->flags() & Qt::ItemIsEditable);

    EXPECT_EQ(giorno.calendarWidget()->selectedDate(), QDate(1899, 12, 30).addDays(45000));
    EXPECT_EQ(changes, 1);  // building tells no one again
    giorno.setDate(45001);
    EXPECT_EQ(changes, 2);

    // The stacking and the Tab order are the layout's.
    QStringList stacking;
    for (QObject* o : f.children())
        if (o->isWidgetType() && !o->objectName().isEmpty()) stacking << o->objectName();
    EXPECT_EQ(stacking.join(u' ').toStdString(),
              "txtPrima lstVoci calGiorno lblSopra txtDopo txtProv grdRighe grdNascosta lstSpenta");
    f.control<Edit>("txtPrima").setFocus();
    QStringList walk;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walk << (f.focusedControl() ? f.focusedControl()->name() : QString());
    }
    EXPECT_EQ(walk.join(u' ').toStdString(), "lstVoci calGiorno txtDopo txtProv");
}

TEST_F(FormsTest, ShowRunsOnEveryProgrammaticShowButNotOnRestore)
{
    TestForm f;
    int shows = 0;
    f.onShow = [&] { ++shows; };
    f.show();
    f.hide();
    f.show();
    EXPECT_EQ(shows, 2);
    // A restore from minimised arrives from the window system as a spontaneous show.
    const int programmatic = shows;
    f.showMinimized();
    f.showNormal();

    QShowEvent fromSystem;
    QSpontaneKeyEvent::setSpontaneous(&fromSystem);
    QCoreApplication::instance()->notify(&f, &fromSystem);  // sendEvent would clear the flag
    EXPECT_EQ(shows, programmatic);
}

TEST_F(FormsTest, CloseHidesByDefaultKeepsOnNoneAndEndsTheApplicationForTheMainWindow)
{
    TestForm main, other;
    Form::setMainForm(&main);
    other.show();
    other.close();
    EXPECT_FALSE(other.isVisible());
    EXPECT_FALSE(terminateRequested());
    other.show();
    other.onClose = [](CloseAction& a) { a = CloseAction::None; };
    other.close();
    EXPECT_TRUE(other.isVisible());
    main.show();
    main.close();
    EXPECT_TRUE(terminateRequested());
    Form::setMainForm(nullptr);
}

TEST_F(FormsTest, ModalResultClosesTheModalWindow)
{
    TestForm dlg;
    dlg.cmdOK.onClick = [&] { dlg.setModalResult(mrOk); };
    modal.scripts["frmTest"] = [](Form& f) { static_cast<TestForm&>(f).cmdOK.click(); };
    EXPECT_EQ(dlg.showModal(), mrOk);
    EXPECT_FALSE(dlg.isVisible());
    modal.scripts.clear();
    EXPECT_EQ(dlg.showModal(), mrCancel);  // closed without a result
    EXPECT_EQ(modal.shown, QStringList({"frmTest", "frmTest"}));
}

TEST_F(FormsTest, TheRealModalLoopEndsWhenTheWindowCloses)
{
    setModal(nullptr);
    TestForm dlg;
    QTimer::singleShot(0, &dlg, [&] { dlg.setModalResult(mrYes); });
    EXPECT_EQ(dlg.showModal(), mrYes);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(FormsTest, RunDialogCreatesShowsAndDestroys)
{
    TestForm owner;
    QPointer<TestForm> seen;
    modal.scripts["frmTest"] = [&](Form& f) { seen = static_cast<TestForm*>(&f); };
    runDialog<TestForm>(&owner, [](TestForm& d) { d.panInfo.setText("clienti"); });
    EXPECT_TRUE(seen.isNull());  // destroyed after it closed
    EXPECT_EQ(modal.shown, QStringList({"frmTest"}));
}

TEST(ShellTarget, StripsWrappingQuotesAndTellsAddressesFromFiles)
{
    bool url = false;
    EXPECT_EQ(shellTarget("\"/opt/Orvanta 4/Guida.pdf\"", &url), "/opt/Orvanta 4/Guida.pdf");
    EXPECT_FALSE(url);
    EXPECT_EQ(shellTarget("\"mailto:a@b.it?subject=S O&body=Salve, x\"", &url), "mailto:a@b.it?subject=S O&body=Salve, x");
    EXPECT_TRUE(url);
    EXPECT_EQ(shellTarget("www.example.it", &url), "www.example.it");
    EXPECT_TRUE(url);
    EXPECT_EQ(shellTarget("\"https://www.google.it/search?q=a b\"", &url), "https://www.google.it/search?q=a b");
    EXPECT_TRUE(url);
    EXPECT_EQ(shellTarget("relative name.xls", &url), "relative name.xls");
    EXPECT_FALSE(url);
}

TEST(ShellTarget, MailTextsBecomeWellFormedAddresses)
{
    // The program's texts go unencoded; values holding "&", "#", "%", "?" or "=" stay whole.
    EXPECT_EQ(mailtoAddress("mailto:a@b.it"), "mailto:a@b.it");
    EXPECT_EQ(mailtoAddress("mailto:"), "mailto:");
    EXPECT_EQ(mailtoAddress("mailto:a@b.it?subject=Avviso di scadenza&body=Sig. Rossi & Figli #3, 100% ok? a=b."),
              "mailto:a@b.it?subject=Avviso%20di%20scadenza&body=Sig.%20Rossi%20%26%20Figli%20%233%2C%20100%25%20ok%3F%20a%3Db.");
    // Accented letters as UTF-8; the body runs to the end, so "&cc=" inside it adds no recipient.
    EXPECT_EQ(mailtoAddress("mailto:x@y.it?subject=Modalit\u00e0&body=a&cc=z@w.it"),
              "mailto:x@y.it?subject=Modalit%C3%A0&body=a%26cc%3Dz%40w.it");
    EXPECT_EQ(mailtoAddress("mailto:x@y.it?body=b&subject=s"), "mailto:x@y.it?body=b%26subject%3Ds");
    EXPECT_EQ(mailtoAddress("mailto:x@y.it?subject=s&cc=c@d.it&body=b"), "mailto:x@y.it?subject=s&cc=c%40d.it&body=b");
    const QUrl url = QUrl::fromEncoded(mailtoAddress("mailto:a@b.it?subject=S&body=Rossi & Figli #1").toLatin1(),
                                       QUrl::StrictMode);
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.path(), "a@b.it");
    EXPECT_EQ(QUrlQuery(url).queryItemValue("body", QUrl::FullyDecoded), "Rossi & Figli #1");
    EXPECT_TRUE(url.fragment().isEmpty());
}

TEST_F(FormsTest, MessageBoxKindsAndAnswers)
{
    warningBox("Attenzione: a.");
    errorBox("b");
    informationBox("c");
    showMessage("d");
    messages.answers = {mrNo, mrCancel};
    EXPECT_FALSE(confirmBox("e?"));
    EXPECT_TRUE(confirmBox("f?"));  // anything but No goes on
    ASSERT_EQ(messages.calls.size(), 6u);
    EXPECT_EQ(messages.calls[0].kind, MessageCall::Warning);
    EXPECT_EQ(messages.calls[0].buttons, unsigned(mbOk | mbCancel));
    EXPECT_EQ(messages.calls[3].kind, MessageCall::Plain);
    EXPECT_EQ(messages.calls[4].buttons, unsigned(mbYes | mbNo));
}

TEST_F(FormsTest, OpenDialogGoesThroughTheFileDialogService)
{
    OpenDialog dlg;
    dlg.filter = "Immagini|*.bmp;*.jpg";
    EXPECT_FALSE(dlg.execute());
    files.answers.push_back(QString("/tmp/x.bmp"));
    EXPECT_TRUE(dlg.execute());
    EXPECT_EQ(dlg.fileName, "/tmp/x.bmp");
    EXPECT_EQ(files.requests.size(), 2u);
}

} // namespace
