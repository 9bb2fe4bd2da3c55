// The customer finder over archives of many sizes, driven with real keys and clicks: the
// list holds exactly the lines of the cards that meet the criterion, in the lists' order
// (equal lines in archive order), find-in-list walks them, the print gets every line and
// a double click loads the card the chosen line was built from. The sizes cross the
// blocks the archive is read in and the blocks the lines are packed in.
#include "window_fixture.h"

#include "customers/trovaclienti.h"
#include "platform/core/text.h"

#include <QListView>

#include <algorithm>

using namespace orv::customers;
using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::CustomerWindowTest;

namespace {

// Cards whose lines mix what the order must get right: case, accented letters, leading
// blanks, digits and underscores, names longer than their column, notes with characters
// beyond Latin-1 (two bytes each in the list) and cards that give the same line.
QList<TCliente> cardsFor(int count)
{
    static const char* const names[] = {"Rossi Mario", "rossi mario", "ROSSI Anna", "Rossini", "  Rossi Luca",
                                        "_Rossi", "9 Rossi", "Èrossi", "Bianchi", "Verdi Rosa", "",
                                        "Ferraris Costruzioni Meccaniche Nord Ovest", "Zeta"};
    static const char* const notes[] = {"", "nota", "prezzo 10 €", "“citata”", "cliente storico"};
    QList<TCliente> cards;
    quint32 seed = 7u + quint32(count);
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    for (int i = 0; i < count; ++i) {
        TCliente c;
        c.Cliente = QString::fromUtf8(names[next() % std::size(names)]);
        // Few distinct phone numbers: many cards give the same line.
        c.Recapito = QString::number(next() % 3);
        c.Marca = next() % 2 ? u"Caldex"_qs : u"caldex"_qs;
        c.Matricola = next() % 4 ? QString() : u"M-%1"_qs.arg(next() % 5);
        c.Note = QString::fromUtf8(notes[next() % std::size(notes)]);
        cards.append(c);
    }
    return cards;
}

struct Listed {
    QString line;
    int position; // 1-based place of the card in the archive
};

// What the list must show: the lines of the cards whose name holds `criterion` (A-Z
// case folded), sorted by the lists' comparison, equal lines in archive order.
QList<Listed> expectedLines(const QList<TCliente>& cards, const QString& criterion)
{
    QList<Listed> out;
    for (int i = 0; i < cards.size(); ++i)
        if (orv::platform::containsAZ(cards[i].Cliente, criterion)) out.append({RigaTrovaClienti(cards[i]), i + 1});
    std::stable_sort(out.begin(), out.end(),
                     [](const Listed& a, const Listed& b) { return orv::platform::compareTextAZ(a.line, b.line) < 0; });
    return out;
}

// Brings the line into view, selects it with a click and double-clicks it, as a user does.
void doubleClickRow(ListBox& box, int row)
{
    auto* w = box.listWidget();
    w->doItemsLayout();
    w->scrollToItem(w->item(row));
    const QPoint at(20, w->visualItemRect(w->item(row)).center().y());
    QTest::mouseClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

class FinderSizesTest : public CustomerWindowTest {
protected:
    void inFinder(std::function<void(TfrmTrovaClienti&)> script)
    {
        modal.scripts[u"frmTrovaClienti"_qs] = [script](Form& f) { script(static_cast<TfrmTrovaClienti&>(f)); };
        click(editor().cmdTrova);
        ASSERT_EQ(modal.shown.count(u"frmTrovaClienti"_qs), 1);
        modal.shown.clear();
    }
    static void search(TfrmTrovaClienti& f, const QString& criterion)
    {
        keys(f, criterion);
        QTest::mousePress(f.btnCerca.widget(), Qt::LeftButton);
        QTest::mouseRelease(f.btnCerca.widget(), Qt::LeftButton);
    }
};

TEST_F(FinderSizesTest, ListOrderFindPrintAndDoubleClickAtManySizes)
{
    // Around the 64 cards read at a time, and past the first block of packed lines.
    for (int count : {1, 2, 63, 64, 65, 130, 997, 9000}) {
        SCOPED_TRACE(count);
        const QList<TCliente> cards = cardsFor(count);
        writeArchive(cards);
        for (const QString& criterion : {u"ROSS"_qs, QString()}) {
            SCOPED_TRACE(criterion.toStdString());
            const QList<Listed> expected = expectedLines(cards, criterion);
            QStringList lines;
            for (const Listed& l : expected) lines << l.line;
            if (expected.isEmpty()) continue;
            // The row of the last card of the archive among those listed, and rows spread
            // over the list.
            int lastCard = 0;
            for (int r = 0; r < expected.size(); ++r)
                if (expected[r].position > expected[lastCard].position) lastCard = r;
            for (int row : {0, int(expected.size()) / 2, int(expected.size()) - 1, lastCard}) {
                inFinder([&](TfrmTrovaClienti& f) {
                    search(f, criterion);
                    ASSERT_EQ(f.lstRecords.count(), expected.size());
                    EXPECT_EQ(f.lblTrovate.text(), u"Il presente riepilogo contiene %1 schede."_qs.arg(expected.size()));
                    EXPECT_EQ(f.lstRecords.itemsText(), lines);

                    // Find-in-list: "€" is on the wide lines only; each press moves to the
                    // next line holding it and wraps after the last.
                    QList<int> holding;
                    for (int r = 0; r < lines.size(); ++r)
                        if (lines[r].contains(u"€")) holding << r;
                    f.txtTrova.setFocus();
                    keys(f, u"€"_qs);
                    key(f, Qt::Key_Return);
                    ASSERT_EQ(f.focusedControl(), &f.btnTrova);
                    const int presses = int(std::min<qsizetype>(holding.size() + 1, 6));
                    for (int p = 0; p < presses && !holding.isEmpty(); ++p) {
                        click(f.btnTrova);
                        EXPECT_EQ(f.lstRecords.itemIndex(), holding[p % holding.size()]) << p;
                    }

                    click(f.btnStampa);
                    EXPECT_EQ(prints.lines, lines);

                    doubleClickRow(f.lstRecords, row);
                    EXPECT_FALSE(f.isVisible());
                });
                EXPECT_EQ(editor().lblPosizione.text(), QString::number(expected[row].position));
                EXPECT_EQ(editor().txtCliente.text(), orv::platform::trimmed(cards[expected[row].position - 1].Cliente));
                EXPECT_EQ(editor().txtNote.text(), cards[expected[row].position - 1].Note);
                if (count > 100 && row != 0) break; // one double click away from the top is enough
            }
        }
    }
    EXPECT_TRUE(messages.calls.empty());
}

// Lists as long as the rows in sight and around it, and none: every row is shown in the
// lists' order, find-in-list stops on the first line holding the text, and a double click
// on the last row, brought into view, loads its card.
TEST_F(FinderSizesTest, ListsAroundTheRowsInSight)
{
    int page = 0;
    writeArchive(cardsFor(1));
    inFinder([&](TfrmTrovaClienti& f) {
        search(f, QString());
        auto* w = f.lstRecords.listWidget();
        w->doItemsLayout();
        page = w->viewport()->height() / std::max(1, w->sizeHintForRow(0));
        f.close();
    });
    ASSERT_GT(page, 2);
    for (int count : {0, 1, 2, page - 1, page, page + 1, 2 * page + 1}) {
        SCOPED_TRACE(count);
        const QList<TCliente> cards = cardsFor(count);
        writeArchive(cards);
        const QList<Listed> expected = expectedLines(cards, QString());
        QStringList lines;
        for (const Listed& l : expected) lines << l.line;
        editor().lblPosizione.setText(u"-"_qs);
        messages.calls.clear();
        inFinder([&](TfrmTrovaClienti& f) {
            search(f, QString());
            ASSERT_EQ(f.lstRecords.count(), count);
            EXPECT_EQ(f.lblTrovate.text(), u"Il presente riepilogo contiene %1 schede."_qs.arg(count));
            EXPECT_EQ(f.lstRecords.itemsText(), lines);

            // The text of the last line, upper-cased: the first line holding it.
            const QString wanted = count > 0 ? orv::platform::upperAZ(orv::platform::trimmed(lines.last())) : u"x"_qs;
            int first = -1;
            for (int r = 0; r < lines.size() && first < 0; ++r)
                if (orv::platform::containsAZ(lines[r], wanted)) first = r;
            f.txtTrova.setFocus();
            keys(f, wanted);
            click(f.btnTrova);
            if (count == 0) {
                ASSERT_EQ(messages.calls.size(), 1u);
                EXPECT_EQ(messages.last().text, u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs);
                EXPECT_EQ(f.lstRecords.itemIndex(), -1);
            } else {
                EXPECT_TRUE(messages.calls.empty());
                EXPECT_EQ(f.lstRecords.itemIndex(), first);
                doubleClickRow(f.lstRecords, count - 1);
                EXPECT_FALSE(f.isVisible());
            }
        });
        if (count > 0) {
            EXPECT_EQ(editor().lblPosizione.text(), QString::number(expected.last().position));
            EXPECT_EQ(editor().txtNote.text(), cards[expected.last().position - 1].Note);
        } else {
            EXPECT_EQ(editor().lblPosizione.text(), u"-"_qs);
        }
    }
}

} // namespace
