// The report engine's own controls: the scroll window under keys and the wheel, tool-bar
// pictures and separators as painted, the tree's in-place editing through keys, the edit
// with its button, and the small routines beside them.
#include "support.h"

#include "report/preview/controls.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

using namespace orv::report;

using namespace orv::report::test;

class ControlsTest : public PrintingTest {};

namespace {

QImage rendered(QWidget& w)
{
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

TEST_F(ControlsTest, ScrollWindowShowsBarsOnlyForWhatExceedsItAndScrollsByKeys)
{
    TfrxScrollWin w;
    w.resize(200, 100);
    w.show();
    const int extent = w.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    w.SetVertRange(100);
    w.SetHorzRange(200);
    EXPECT_TRUE(w.VertScrollBar()->isHidden());
    EXPECT_TRUE(w.HorzScrollBar()->isHidden());
    EXPECT_EQ(w.GetClientRect(), QRect(0, 0, 200, 100));
    w.SetVertRange(500);
    EXPECT_FALSE(w.VertScrollBar()->isHidden());
    EXPECT_TRUE(w.HorzScrollBar()->isHidden());
    w.SetHorzRange(300);
    // With both bars the horizontal one stops short of the vertical one.
    EXPECT_EQ(w.HorzScrollBar()->width(), 200 - extent);
    EXPECT_EQ(w.GetClientRect(), QRect(0, 0, 200 - extent, 100 - extent));

    struct Step {
        Qt::Key key;
        double vert, horz;
    };
    const Step steps[] = {
        {Qt::Key_End, 400, 0},    {Qt::Key_PageUp, 300, 0}, {Qt::Key_Home, 0, 0},   {Qt::Key_PageDown, 100, 0},
        {Qt::Key_Down, 120, 0},   {Qt::Key_Up, 100, 0},     {Qt::Key_Right, 100, 40}, {Qt::Key_Left, 100, 0},
        {Qt::Key_Left, 100, 0},   {Qt::Key_PageDown, 200, 0}, {Qt::Key_PageDown, 300, 0},
        {Qt::Key_PageDown, 400, 0}, {Qt::Key_PageDown, 400, 0},
    };
    for (const Step& s : steps) {
        QTest::keyClick(&w, s.key);
        EXPECT_EQ(w.VertPosition(), s.vert) << s.key;
        EXPECT_EQ(w.HorzPosition(), s.horz) << s.key;
    }
    // The wheel moves the view by its delta.
    QWheelEvent wheel(QPointF(50, 50), w.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.Content(), &wheel);
    EXPECT_EQ(w.VertPosition(), 280);
}

TEST_F(ControlsTest, ToolButtonPictureFadesWhenDisabledAndSeparatorDrawsTwoLines)
{
    TfrxToolButton button;
    button.resize(25, 25);
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    button.SetBitmap(red);
    // The picture stands centred: rnd((25 - 16) / 2) = 4 (halves to even).
    QImage shown = rendered(button);
    EXPECT_EQ(shown.pixelColor(4, 4), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(3, 3).alpha(), 0);
    button.setEnabled(false);
    shown = rendered(button);
    EXPECT_NEAR(shown.pixelColor(10, 10).alpha(), 51, 2);
    // Down is remembered, not drawn.
    button.setEnabled(true);
    button.SetDown(true);
    EXPECT_EQ(rendered(button).pixelColor(10, 10), QColor(Qt::red));

    TfrxToolSeparator separator;
    separator.resize(5, 16);
    const QImage lines = rendered(separator);
    EXPECT_EQ(lines.pixelColor(0, 8), QColor(128, 128, 128));
    EXPECT_EQ(lines.pixelColor(1, 8), QColor(Qt::white));
    EXPECT_EQ(lines.pixelColor(2, 8).alpha(), 0);
}

TEST_F(ControlsTest, TreeEditsANodeInPlaceThroughKeys)
{
    TfrxTreeView tree;
    tree.resize(200, 200);
    tree.show();
    TfrxTreeViewItem* root = tree.AddItem(nullptr, QStringLiteral("Pagina 1"));
    TfrxTreeViewItem* child = tree.AddItem(root, QStringLiteral("Intestazione"));
    EXPECT_EQ(root->childCount(), 1);
    tree.setCurrentItem(child);
    tree.expandAll();

    // Not editable: Enter starts nothing.
    QTest::keyClick(&tree, Qt::Key_Return);
    EXPECT_FALSE(tree.IsEditing());

    tree.Editable = true;
    QStringList edited;
    tree.OnEdited = [&](TfrxTreeView*, TfrxTreeViewItem* node, QString& text) {
        edited << text;
        text = text.toUpper();
        EXPECT_EQ(node, child);
    };
    QTest::keyClick(&tree, Qt::Key_Return);
    ASSERT_TRUE(tree.IsEditing());
    EXPECT_EQ(tree.EditBox()->text(), QStringLiteral("Intestazione"));
    QTest::keyClick(tree.EditBox(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(tree.EditBox(), QStringLiteral("Corpo"));
    QTest::keyClick(tree.EditBox(), Qt::Key_Return);
    EXPECT_FALSE(tree.IsEditing());
    EXPECT_TRUE(tree.EditBox()->isHidden());
    EXPECT_EQ(edited, QStringList{QStringLiteral("Corpo")});
    EXPECT_EQ(child->text(0), QStringLiteral("CORPO"));

    // Esc leaves the text as it was.
    QTest::keyClick(&tree, Qt::Key_Return);
    ASSERT_TRUE(tree.IsEditing());
    QTest::keyClicks(tree.EditBox(), QStringLiteral("xyz"));
    QTest::keyClick(tree.EditBox(), Qt::Key_Escape);
    EXPECT_FALSE(tree.IsEditing());
    EXPECT_EQ(child->text(0), QStringLiteral("CORPO"));
    EXPECT_EQ(edited.size(), 1);
}

TEST_F(ControlsTest, EditButtonAndIconCells)
{
    TfrxEditWithButton edit;
    edit.resize(120, 22);
    edit.show();
    int clicks = 0;
    edit.OnButtonClick = [&](TfrxEditWithButton* sender) {
        EXPECT_EQ(sender, &edit);
        ++clicks;
    };
    EXPECT_EQ(edit.Button()->geometry(), QRect(98, 0, 22, 22));
    QTest::mouseClick(edit.Button(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);

    TfrxTreeView tree;
    EXPECT_EQ(tree.GetBitmapRect(5), QRect());
    QImage strip(64, 32, QImage::Format_ARGB32);
    tree.SetImages(&strip);
    EXPECT_EQ(tree.GetBitmapRect(5), QRect(QPoint(16, 16), QSize(16, 16)));
    EXPECT_EQ(tree.GetBitmapRect(0), QRect(0, 0, 16, 16));
    tree.SetImages(nullptr);
}

TEST(ControlRoutines, TextAroundTheFirstBar)
{
    for (const auto& [text, before, after] :
         {std::tuple{"breve|lunga|altro", "breve", "lunga|altro"}, std::tuple{"senza barra", "senza barra", "senza barra"},
          std::tuple{"|solo dopo", "", "solo dopo"}, std::tuple{"", "", ""}}) {
        EXPECT_EQ(TextBeforeBar(QString::fromUtf8(text)), QString::fromUtf8(before)) << text;
        EXPECT_EQ(TextAfterBar(QString::fromUtf8(text)), QString::fromUtf8(after)) << text;
    }
    const QTransform r = RotationMatrix(M_PI / 2);
    EXPECT_NEAR(r.map(QPointF(1, 0)).y(), 1, 1e-12);
    EXPECT_EQ(TranslationMatrix(3, 4).map(QPointF(1, 1)), QPointF(4, 5));
}
