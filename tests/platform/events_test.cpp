// Window and control events the platform layer adds on top of Qt's: the order of
// activation between windows, painting around a control's own painting, and a drag
// that ends on a control that does not accept it.
#include "gui/doubles.h"

#include "platform/ui/form.h"

#include <QListView>
#include <QPainter>

using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::GuiTest;

namespace {

const Layout& pair()
{
    static const Layout layout = {
        panel("panA", 10, 10, 60, 60).fill(Qt::white),
        list("lstA", 100, 10, 80, 80),
        list("lstB", 200, 10, 80, 80),
    };
    return layout;
}

class PairForm : public Form {
public:
    explicit PairForm(const char* name) : Form(nullptr, {name, name, 300, 120}, pair()) { created(); }
    ORV_CONTROL(Panel, panA);
    ORV_CONTROL(ListBox, lstA);
    ORV_CONTROL(ListBox, lstB);
};

class PlatformEvents : public GuiTest {};

} // namespace

TEST_F(PlatformEvents, TheWindowLosingTheActivationHearsFirst)
{
    PairForm f("frmUno"), g("frmDue");
    QStringList log;
    f.onActivate = [&] { log << "F+"; };
    f.onDeactivate = [&] { log << "F-"; };
    g.onActivate = [&] { log << "G+"; };
    g.onDeactivate = [&] { log << "G-"; };
    showAndActivate(f);
    showAndActivate(g);
    showAndActivate(f);
    EXPECT_EQ(log, QStringList({"F+", "F-", "G+", "G-", "F+"}));
}

TEST_F(PlatformEvents, PaintHandlersRunAroundTheControlsOwnPainting)
{
    PairForm f("frmPittura");
    QStringList order;
    // Painting before the control is covered by the panel's white fill; after, it stays.
    f.panA.onPainting = [&](QPainter& p, const QRectF& r) {
        order << "before";
        p.fillRect(r, Qt::red);
    };
    f.panA.onPaint = [&](QPainter& p, const QRectF& r) {
        order << "after";
        p.fillRect(QRectF(r.topLeft(), QSizeF(10, 10)), Qt::blue);
    };
    const QImage image = f.panA.widget()->grab().toImage();
    EXPECT_EQ(order.mid(0, 2), QStringList({"before", "after"}));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(40, 40), QColor(Qt::white));
}

TEST_F(PlatformEvents, ADragRefusedEverywhereDropsNothing)
{
    PairForm f("frmTrascina");
    f.lstA.add(QStringLiteral("uno"));
    f.lstA.setDragAutomatic(true);
    QStringList log;
    f.lstB.onDragEnter = [&](const DragObject& d, const QPointF&) {
        log << (d.source == &f.lstA ? "enter:" : "enter from elsewhere:") + d.data.toString();
    };
    f.lstB.onDragOver = [&](const DragObject&, const QPointF&, bool& accept) { accept = false; };
    f.lstB.onDragDrop = [&](const DragObject&, const QPointF&) { log << "drop"; };
    f.lstB.onDragLeave = [&] { log << "leave"; };
    f.lstA.onDragEnd = [&] { log << "end"; };
    showAndActivate(f);
    QWidget* from = f.lstA.listWidget()->viewport();
    const QPoint start = f.lstA.listWidget()->visualItemRect(f.lstA.listWidget()->item(0)).center();
    const QPoint over = from->mapFromGlobal(f.lstB.widget()->mapToGlobal(QPoint(40, 40)));
    QTest::mousePress(from, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(from, start + QPoint(15, 0));
    EXPECT_TRUE(f.lstA.dragging());
    QTest::mouseMove(from, over);
    QTest::mouseRelease(from, Qt::LeftButton, Qt::NoModifier, over);
    EXPECT_EQ(log, QStringList({"enter:uno", "end"}));
    EXPECT_FALSE(f.lstA.dragging());
}
