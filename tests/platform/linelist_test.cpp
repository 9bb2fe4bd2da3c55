// The list box over many lines put in at once: the rows it shows come straight from the
// packed lines, so what a user reaches (the rows in sight, the keys that move through
// them, a click and a double click on a row, typing a line's start) must be the line and
// the tag of that row in the list's order, whatever the number of lines; and whoever
// reads the lines back gets them all, also after lines added one by one or a new fill.
#include "gui/doubles.h"

#include "platform/core/text.h"
#include "platform/ui/form.h"

#include <QListView>
#include <QScrollBar>

#include <algorithm>

using namespace orv::platform::ui;
using orv::platform::PackedLines;
using orv::test::GuiTest;

namespace {

const Layout& boxLayout()
{
    static const Layout layout = {
        panel("panContainer", 0, 0, 400, 300).fill(Qt::white),
        edit("txtTrova", 10, 10, 150).in("panContainer"),
        list("lstRecords", 10, 40, 300, 120).in("panContainer").sorted(),
    };
    return layout;
}

class BoxForm : public Form {
public:
    BoxForm() : Form(nullptr, {"frmBox", " Prova", 400, 300}, boxLayout()) { created(); }
    ORV_CONTROL(Edit, txtTrova);
    ORV_CONTROL(ListBox, lstRecords);
};

struct Line {
    QString text;
    qint64 tag;
};

// Lines that test the order (case, prefixes, blanks, digits, underscores, characters past
// Latin-1, empty and equal lines), tagged with their place.
QList<Line> linesFor(int count, int seed)
{
    static const char* const words[] = {"Rossi", "rossi", "ROSSINI", "Ross", "  Rossi", "_Rossi", "9 Rossi",
                                        "Èrossi", "Bianchi", "", "Verdi €", "verdi", "Zeta “z”"};
    quint32 s = quint32(seed * 7919 + count);
    const auto next = [&s] { return s = s * 1103515245u + 12345u, (s >> 16) & 0x7fff; };
    QList<Line> out;
    for (int i = 0; i < count; ++i)
        out.append({QString::fromUtf8(words[next() % std::size(words)]) + QString::number(next() % 3), qint64(i)});
    return out;
}

QList<Line> sortedLines(QList<Line> lines)
{
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& a, const Line& b) { return orv::platform::compareTextAZ(a.text, b.text) < 0; });
    return lines;
}

PackedLines packed(const QList<Line>& lines)
{
    PackedLines p;
    for (const Line& l : lines) p.append(l.text, l.tag);
    return p;
}

QStringList texts(const QList<Line>& lines)
{
    QStringList out;
    for (const Line& l : lines) out << l.text;
    return out;
}

class LineListTest : public GuiTest {
protected:
    std::unique_ptr<BoxForm> form;
    ListBox* box = nullptr;
    LineListView* view = nullptr;
    int doubleClicks = 0, doubleClickedRow = -2;

    void SetUp() override
    {
        GuiTest::SetUp();
        form = std::make_unique<BoxForm>();
        showAndActivate(*form);
        box = &form->lstRecords;
        view = box->listWidget();
        view->setUniformItemSizes(true);
        box->onDblClick = [this] {
            ++doubleClicks;
            doubleClickedRow = box->itemIndex();
        };
    }
    void TearDown() override
    {
        form.reset();
        GuiTest::TearDown();
    }

    void fill(const QList<Line>& lines)
    {
        box->clear();
        box->addLines(packed(lines));
        view->doItemsLayout();
    }
    // Rows whole in sight in the list.
    int rowsInSight() const
    {
        box->listWidget()->doItemsLayout();
        const int h = view->sizeHintForRow(0);
        return h > 0 ? view->viewport()->height() / h : 0;
    }
    bool inSight(int row) const { return view->viewport()->rect().intersects(view->visualItemRect(view->item(row))); }
    void clickRow(int row, bool twice)
    {
        view->scrollToItem(view->item(row));
        const QPoint at(20, view->visualItemRect(view->item(row)).center().y());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        if (twice) QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
};

TEST_F(LineListTest, FillAtManyCountsShowsReachesAndOpensEveryRowInOrder)
{
    fill(linesFor(1, 0));
    const int page = rowsInSight();
    ASSERT_GT(page, 2);
    // Around one list of rows in sight and two, and past them.
    for (int count : {0, 1, 2, 3, page - 1, page, page + 1, 2 * page, 2 * page + 1, 997, 6000}) {
        SCOPED_TRACE(count);
        const QList<Line> lines = linesFor(count, 1);
        const QList<Line> expected = sortedLines(lines);
        fill(lines);
        ASSERT_EQ(box->count(), count);
        EXPECT_EQ(box->itemsText(), texts(expected));
        for (int r = 0; r < count; ++r)
            if (box->tag(r) != expected[r].tag) {
                ADD_FAILURE() << "row " << r << " tag " << box->tag(r) << " for " << expected[r].tag;
                break;
            }
        EXPECT_EQ(box->tag(count), -1);
        EXPECT_EQ(box->item(count), QString());
        EXPECT_EQ(box->item(-1), QString());

        // The keys walk the rows and keep the current one in sight; the first key of a
        // list with no current row goes to the first row.
        box->setFocus();
        press(*box, Qt::Key_End);
        EXPECT_EQ(box->itemIndex(), count > 0 ? 0 : -1);
        press(*box, Qt::Key_End);
        EXPECT_EQ(box->itemIndex(), count - 1);
        EXPECT_TRUE(count == 0 || inSight(count - 1));
        press(*box, Qt::Key_Home);
        EXPECT_EQ(box->itemIndex(), count > 0 ? 0 : -1);
        press(*box, Qt::Key_Down);
        EXPECT_EQ(box->itemIndex(), std::min(1, count - 1));
        press(*box, Qt::Key_PageDown);
        if (count > 0) {
            EXPECT_GT(box->itemIndex(), std::min(1, count - 1) - (count > 2 ? 0 : 1));
            EXPECT_TRUE(inSight(box->itemIndex()));
        }

        // A click and a double click on rows at the top, the middle and the end.
        for (int row : {0, count / 2, count - 1}) {
            if (row < 0 || row >= count) continue;
            doubleClicks = 0;
            clickRow(row, true);
            EXPECT_EQ(box->itemIndex(), row);
            EXPECT_EQ(doubleClicks, 1);
            EXPECT_EQ(doubleClickedRow, row);
            EXPECT_EQ(box->item(doubleClickedRow), expected[row].text);
            EXPECT_EQ(box->tag(doubleClickedRow), expected[row].tag);
        }
    }
}

TEST_F(LineListTest, TypingALinesStartMovesToIt)
{
    QList<Line> lines;
    for (int i = 0; i < 3000; ++i) lines.append({u"Cliente %1"_qs.arg(i, 5, 10, QChar(u'0')), i});
    lines.append({u"Zeta"_qs, 3000});
    lines.append({u"mario"_qs, 3001});
    fill(lines);
    box->setFocus();
    press(*box, Qt::Key_Home);
    // Past thousands of lines, and the case of a-z aside.
    type(*box, "M");
    EXPECT_EQ(box->item(box->itemIndex()), u"mario"_qs);
}

TEST_F(LineListTest, ReadingLinesAfterAFillAndAddingMore)
{
    const QList<Line> lines = linesFor(700, 2);
    fill(lines);
    // Lines added one by one go to their sorted places among the ones put in at once,
    // after the lines equal to them.
    QList<Line> all = lines;
    const QList<Line> more = {{u"rossi1"_qs, 900}, {u"Aaa"_qs, 901}, {u"zzz"_qs, 902}, {u"Verdi € 1"_qs, 903}};
    for (const Line& l : more) {
        const int at = box->add(l.text, l.tag);
        all.append(l);
        EXPECT_EQ(box->item(at), l.text);
        EXPECT_EQ(box->tag(at), l.tag);
    }
    const QList<Line> expected = sortedLines(all);
    EXPECT_EQ(box->itemsText(), texts(expected));
    for (int r = 0; r < expected.size(); ++r) ASSERT_EQ(box->tag(r), expected[r].tag) << r;

    // Unsorted, the lines stay in the order given.
    box->setSorted(false);
    fill(lines);
    EXPECT_EQ(box->itemsText(), texts(lines));
    box->add(u"Aaa"_qs, 5);
    EXPECT_EQ(box->item(box->count() - 1), u"Aaa"_qs);
}

TEST_F(LineListTest, ANewFillReplacesALongerOne)
{
    fill(linesFor(3000, 3));
    box->setFocus();
    press(*box, Qt::Key_End);
    ASSERT_EQ(box->itemIndex(), 2999);
    ASSERT_GT(view->verticalScrollBar()->value(), 0);

    for (int count : {5, 1, 0, 40}) {
        SCOPED_TRACE(count);
        const QList<Line> expected = sortedLines(linesFor(count, 4));
        fill(linesFor(count, 4));
        form->repaint();
        EXPECT_EQ(box->count(), count);
        EXPECT_EQ(box->itemsText(), texts(expected));
        // Nothing left chosen from the longer list, and the rows in sight are the new ones.
        EXPECT_EQ(box->itemIndex(), -1);
        EXPECT_TRUE(view->selectionModel()->selectedIndexes().isEmpty());
        EXPECT_TRUE(count == 0 || inSight(0));
        // A double click where no row is opens nothing.
        doubleClicks = 0;
        doubleClickedRow = -2;
        if (count < rowsInSight()) {
            const QPoint below(20, view->viewport()->height() - 2);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, below);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, below);
            EXPECT_EQ(box->itemIndex(), -1);
            EXPECT_TRUE(doubleClicks == 0 || doubleClickedRow == -1);
        }
        if (count > 0) {
            clickRow(count - 1, true);
            EXPECT_EQ(doubleClickedRow, count - 1);
            EXPECT_EQ(box->tag(count - 1), expected[count - 1].tag);
        }
    }
}

} // namespace
