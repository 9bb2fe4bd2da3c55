// Events of script controls and windows raised by real mouse, wheel and window events:
// drag and drop, the wheel, the mouse entering and leaving, painting, activation and a
// combo's list opening and closing.
#include "fixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QListView>
#include <QMimeData>
#include <QUrl>
#include <QSlider>
#include <QWheelEvent>

namespace {

// While its button is held the mouse belongs to the widget it was pressed on, so every
// event of a drag goes there, with points in that widget's coordinates.
QPoint on(QWidget* from, ControlObject& c, QPoint at)
{
    return from->mapFromGlobal(c.control().widget()->mapToGlobal(at));
}

QPoint rowCentre(ListBoxObject& l, int row)
{
    auto* lw = l.list().listWidget();
    return lw->visualItemRect(lw->item(row)).center();
}

void wheel(QWidget* w, int delta)
{
    const QPointF at = QRectF(w->rect()).center();
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST_F(ScriptWindows, DragAListLineIntoAnotherList)
{
    auto s = compile(
        "var f: TForm; a, b: TListBox; log: String; "
        "procedure Entered(Sender: TObject; Data: TfsDragObject; Point: TfsPointF); "
        "begin log := log + TListBox(Sender).Name + '>' end; "
        "procedure Left(Sender: TObject); begin log := log + TListBox(Sender).Name + '<' end; "
        "procedure Over(Sender: TObject; Data: TfsDragObject; Point: TfsPointF; var Accept: Boolean); "
        "begin Accept := (Sender = b) and (Data.Source = a) and (Point.pX >= 0) end; "
        "procedure Dropped(Sender: TObject; Data: TfsDragObject; Point: TfsPointF); "
        "begin TListBox(Sender).Items.Add(Data.Data); log := log + 'drop:' + Data.Data + '@' + FloatToStr(Point.pX) + "
        "',' + FloatToStr(Point.pY) + ';' end; "
        "procedure Ended(Sender: TObject); begin log := log + 'end;' end; "
        "procedure Bind(l: TListBox); begin l.OnDragEnter := @Entered; l.OnDragLeave := @Left; "
        "l.OnDragOver := @Over; l.OnDragDrop := @Dropped end; "
        "procedure Build; begin f := TForm.CreateNew(nil); f.SetBounds(0, 0, 320, 160); "
        "a := TListBox.Create(f); a.Name := 'a'; a.Parent := f; a.SetBounds(10, 10, 120, 120); "
        "a.Items.Add('uno'); a.Items.Add('due'); a.DragMode := dmAutomatic; a.OnDragEnd := @Ended; "
        "b := TListBox.Create(f); b.Name := 'b'; b.Parent := f; b.SetBounds(180, 10, 120, 120); "
        "Bind(a); Bind(b) end; "
        "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* a = object<ListBoxObject>(*s, "a");
    auto* b = object<ListBoxObject>(*s, "b");
    ASSERT_TRUE(form && a && b);
    showAndActivate(form->window());
    QWidget* window = a->list().listWidget()->viewport();

    // Dropped on the other list, which accepts it.
    const QPoint start = rowCentre(*a, 1);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(window, start + QPoint(12, 0));
    QTest::mouseMove(window, on(window, *b, QPoint(40, 40)));
    QTest::mouseMove(window, on(window, *b, QPoint(50, 50)));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, on(window, *b, QPoint(50, 50)));
    EXPECT_EQ(text(*s, "log"), QStringLiteral("a>a<b>drop:due@50,50;end;"));
    EXPECT_EQ(b->list().itemsText(), QStringList({"due"}));

    // Released over the source, which refuses: no drop, the drag still ends.
    s->SetVariables(QStringLiteral("log"), Value(QString()));
    const QPoint first = rowCentre(*a, 0);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, first);
    QTest::mouseMove(window, first + QPoint(0, 12));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, first + QPoint(0, 12));
    EXPECT_EQ(text(*s, "log"), QStringLiteral("a>end;"));
    EXPECT_EQ(b->list().itemsText(), QStringList({"due"}));

    // Without automatic dragging a press and a move only select.
    s->SetVariables(QStringLiteral("log"), Value(QString()));
    a->SetDragMode(0);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, first);
    QTest::mouseMove(window, on(window, *b, QPoint(50, 50)));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, on(window, *b, QPoint(50, 50)));
    EXPECT_EQ(text(*s, "log"), QString());
    delete form;
}

// Another program's drag arrives as Qt's drag events, with the dragged files as
// addresses; the handlers get them as local paths, in the drag's order.
TEST_F(ScriptWindows, FilesDroppedFromAnotherProgram)
{
    auto s = compile(
        "var f: TForm; p: TPanel; m: TMemo; log: String; accepting: Boolean; "
        "function Names(Data: TfsDragObject): String; var i: Integer; "
        "begin Result := IntToStr(Data.Files.Count) + ':'; "
        "for i := 0 to Data.Files.Count - 1 do Result := Result + Data.Files[i] + '|'; "
        "if Data.Source = nil then Result := Result + 'nil' end; "
        "procedure Entered(Sender: TObject; Data: TfsDragObject; Point: TfsPointF); "
        "begin log := log + 'enter ' + Names(Data) + ';' end; "
        "procedure Left(Sender: TObject); begin log := log + 'leave;' end; "
        "procedure Over(Sender: TObject; Data: TfsDragObject; Point: TfsPointF; var Accept: Boolean); "
        "begin Accept := accepting; log := log + 'over ' + FloatToStr(Point.pX) + ',' + FloatToStr(Point.pY) + ' ' + "
        "Names(Data) + ';' end; "
        "procedure Dropped(Sender: TObject; Data: TfsDragObject; Point: TfsPointF); "
        "var i: Integer; begin for i := 0 to Data.Files.Count - 1 do m.Text := m.Text + Data.Files[i] + #10; "
        "log := log + 'drop ' + FloatToStr(Point.pX) + ',' + FloatToStr(Point.pY) + ' ' + Names(Data) + ';' end; "
        "procedure Build; begin f := TForm.CreateNew(nil); f.SetBounds(0, 0, 320, 200); "
        "p := TPanel.Create(f); p.Parent := f; p.SetBounds(10, 10, 200, 150); "
        "m := TMemo.Create(f); m.Parent := p; m.SetBounds(20, 30, 100, 60); "
        "p.OnDragEnter := @Entered; p.OnDragLeave := @Left; p.OnDragOver := @Over; p.OnDragDrop := @Dropped end; "
        "procedure Unbind; begin p.OnDragEnter := nil; p.OnDragOver := nil; p.OnDragDrop := nil end; "
        "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* panel = object<ControlObject>(*s, "p");
    auto* memo = object<MemoObject>(*s, "m");
    ASSERT_TRUE(form && panel && memo);
    showAndActivate(form->window());
    QWidget* target = panel->control().widget();
    EXPECT_TRUE(target->acceptDrops());

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/b.pdf")), QUrl(QStringLiteral("https://example.org/x.pdf")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/dir one/a.txt")), QUrl(QStringLiteral("mailto:a@b.it")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/c"))});
    const QString names = QStringLiteral("3:/tmp/b.pdf|/tmp/dir one/a.txt|/tmp/c|nil");
    const auto send = [&](QWidget* to, QEvent::Type type, QPoint at) {
        if (type == QEvent::DragEnter) {
            QDragEnterEvent e(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(to, &e);
            return e.isAccepted();
        }
        if (type == QEvent::DragMove) {
            QDragMoveEvent e(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(to, &e);
            return e.isAccepted();
        }
        if (type == QEvent::DragLeave) {
            QDragLeaveEvent e;
            QApplication::sendEvent(to, &e);
            return e.isAccepted();
        }
        QDropEvent e(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(to, &e);
        return e.isAccepted();
    };
    const auto log = [&] {
        const QString l = text(*s, "log");
        s->SetVariables(QStringLiteral("log"), Value(QString()));
        return l;
    };

    // Refused: the moves are told, the drop is not.
    send(target, QEvent::DragEnter, QPoint(5, 6));
    EXPECT_FALSE(send(target, QEvent::DragMove, QPoint(5, 6)));
    EXPECT_FALSE(send(target, QEvent::Drop, QPoint(5, 6)));
    EXPECT_EQ(log(), QStringLiteral("enter %1;over 5,6 %1;").arg(names));
    EXPECT_TRUE(memo->memo().text().isEmpty());

    // Accepted: the point is the panel's and the paths come in the drag's order.
    s->SetVariables(QStringLiteral("accepting"), Value(true));
    send(target, QEvent::DragEnter, QPoint(5, 6));
    EXPECT_TRUE(send(target, QEvent::DragMove, QPoint(40, 50)));
    EXPECT_TRUE(send(target, QEvent::Drop, QPoint(40, 50)));
    EXPECT_EQ(log(), QStringLiteral("enter %1;over 40,50 %1;drop 40,50 %1;").arg(names));
    EXPECT_EQ(memo->memo().text().remove(QLatin1Char('\r')).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList({"/tmp/b.pdf", "/tmp/dir one/a.txt", "/tmp/c"}));

    // Leaving tells the script, and a drop after leaving drops nothing.
    send(target, QEvent::DragEnter, QPoint(1, 1));
    send(target, QEvent::DragMove, QPoint(1, 1));
    send(target, QEvent::DragLeave, QPoint());
    EXPECT_FALSE(send(target, QEvent::Drop, QPoint(1, 1)));
    EXPECT_EQ(log(), QStringLiteral("enter %1;over 1,1 %1;leave;").arg(names));

    // Addresses of other kinds only: the handlers still hear of the drag, with no files.
    mime.setUrls({QUrl(QStringLiteral("https://example.org/"))});
    send(target, QEvent::DragEnter, QPoint(2, 3));
    send(target, QEvent::DragMove, QPoint(2, 3));
    EXPECT_EQ(log(), QStringLiteral("enter 0:nil;over 2,3 0:nil;"));

    // Without handlers the panel takes no drags from outside.
    s->CallFunction(QStringLiteral("Unbind"), Value());
    EXPECT_FALSE(target->acceptDrops());
    delete form;
}

TEST_F(ScriptWindows, WheelOverATrackBar)
{
    auto s = compile("var f: TForm; t: TTrackBar; turns: String; keep: Boolean; "
                     "procedure Wheel(Sender: TObject; Shift: Integer; WheelDelta: Integer; var Handled: Boolean); "
                     "begin turns := turns + IntToStr(WheelDelta) + ';'; Handled := keep end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); t := TTrackBar.Create(f); t.Parent := f; "
                     "t.SetBounds(10, 10, 200, 30); t.Min := 0; t.Max := 10; t.Value := 5; t.OnMouseWheel := @Wheel end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* track = object<TrackBarObject>(*s, "t");
    ASSERT_TRUE(form && track);
    showAndActivate(form->window());
    QWidget* w = track->control().widget();
    wheel(w, 120);
    EXPECT_EQ(text(*s, "turns"), QStringLiteral("120;"));
    EXPECT_NE(track->Value(), 5.0f); // not handled: the track bar moved
    const float moved = track->Value();
    s->SetVariables(QStringLiteral("keep"), Value(true));
    wheel(w, -120);
    EXPECT_EQ(text(*s, "turns"), QStringLiteral("120;-120;"));
    EXPECT_EQ(track->Value(), moved); // handled by the script: the track bar stays
    delete form;
}

TEST_F(ScriptWindows, MouseEnterAndLeave)
{
    auto s = compile("var f: TForm; p: TPanel; log: String; "
                     "procedure Came(Sender: TObject); begin log := log + 'in;' end; "
                     "procedure Went(Sender: TObject); begin log := log + 'out;' end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); f.SetBounds(0, 0, 200, 200); "
                     "p := TPanel.Create(f); p.Parent := f; p.SetBounds(50, 50, 60, 60); "
                     "p.OnMouseEnter := @Came; p.OnMouseLeave := @Went end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* panel = object<PanelObject>(*s, "p");
    ASSERT_TRUE(form && panel);
    showAndActivate(form->window());
    QTest::mouseMove(&form->window(), QPoint(10, 10));
    QTest::mouseMove(&form->window(), QPoint(70, 70));
    QTest::mouseMove(&form->window(), QPoint(80, 75));
    QTest::mouseMove(&form->window(), QPoint(150, 150));
    EXPECT_EQ(text(*s, "log"), QStringLiteral("in;out;"));
    delete form;
}

TEST_F(ScriptWindows, APaintHandlerDrawsOnTheControl)
{
    auto s = compile("var f: TForm; p: TPanel; n: Integer; same: Boolean; "
                     "procedure Paint(Sender: TObject; Canvas: TCanvas; R: TfsRectF); "
                     "begin n := n + 1; same := TPanel(Sender).Canvas = Canvas; Canvas.Fill.Color := claBlue; "
                     "Canvas.Fill.Color := claLime; Canvas.FillEllipse(R, 1) end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); f.SetBounds(0, 0, 200, 200); "
                     "p := TPanel.Create(f); p.Parent := f; p.SetBounds(20, 30, 100, 60); p.OnPaint := @Paint end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    ASSERT_NE(form, nullptr);
    const QImage image = form->window().grab().toImage();
    EXPECT_EQ(image.pixelColor(20 + 50, 30 + 30), QColor(0, 255, 0)); // the ellipse's centre
    EXPECT_EQ(image.pixelColor(20 + 1, 30 + 58), form->window().grab().toImage().pixelColor(20 + 1, 30 + 58));
    EXPECT_NE(image.pixelColor(20 + 1, 30 + 58), QColor(0, 255, 0)); // outside the ellipse
    EXPECT_GE(text(*s, "n").toInt(), 1);
    EXPECT_EQ(text(*s, "same"), QStringLiteral("True"));
    // Outside painting a control has no canvas of its own.
    auto check = compile("var c: TPanel; r: Boolean; procedure Ask; begin r := c.Canvas = nil end; begin end.");
    check->SetVariables(QStringLiteral("c"), orv::script::objectValue(object<PanelObject>(*s, "p")));
    check->CallFunction(QStringLiteral("Ask"), Value());
    EXPECT_EQ(text(*check, "r"), QStringLiteral("True"));
    delete form;
}

TEST_F(ScriptWindows, ActivationMovesBetweenTwoWindows)
{
    auto s = compile("var f, g: TForm; log: String; "
                     "procedure Act(Sender: TObject); begin log := log + TForm(Sender).Name + '+' end; "
                     "procedure Deact(Sender: TObject); begin log := log + TForm(Sender).Name + '-' end; "
                     "procedure Created(Sender: TObject); begin log := log + TForm(Sender).Name + '*' end; "
                     "procedure Bind(w: TForm; n: String); begin w.Name := n; "
                     "w.OnActivate := @Act; w.OnDeactivate := @Deact; w.OnCreate := @Created end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); g := TForm.CreateNew(nil); Bind(f, 'F'); "
                     "Bind(g, 'G') end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* f = object<FormObject>(*s, "f");
    auto* g = object<FormObject>(*s, "g");
    ASSERT_TRUE(f && g);
    showAndActivate(f->window());
    showAndActivate(g->window());
    showAndActivate(f->window());
    EXPECT_EQ(text(*s, "log"), QStringLiteral("F*F+G*F-G+G-F+"));
    // Created once only, however often shown.
    f->window().hide();
    showAndActivate(f->window());
    EXPECT_EQ(text(*s, "log").count(QLatin1Char('*')), 2);
    delete f;
    delete g;
}

TEST_F(ScriptWindows, AComboTellsItsListOpeningAndClosing)
{
    auto s = compile("var f: TForm; c: TComboBox; log: String; "
                     "procedure Opened(Sender: TObject); begin log := log + 'down;' end; "
                     "procedure Closed(Sender: TObject); begin log := log + 'up;' end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); c := TComboBox.Create(f); c.Parent := f; "
                     "c.SetBounds(10, 10, 150, 24); c.Items.Add('uno'); c.Items.Add('due'); "
                     "c.OnDropDown := @Opened; c.OnCloseUp := @Closed end; "
                     "procedure Open; begin c.DropDown end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* combo = object<ComboBoxObject>(*s, "c");
    ASSERT_TRUE(form && combo);
    showAndActivate(form->window());
    QComboBox* cb = combo->combo().comboBox();
    // The arrow opens the list, Escape closes it.
    QTest::mouseClick(cb, Qt::LeftButton, Qt::NoModifier, QPoint(cb->width() - 6, cb->height() / 2));
    ASSERT_TRUE(cb->view()->isVisible());
    QTest::keyClick(cb->view(), Qt::Key_Escape);
    EXPECT_FALSE(cb->view()->isVisible());
    EXPECT_EQ(text(*s, "log"), QStringLiteral("down;up;"));
    // DropDown from the script opens it too; choosing a line closes it.
    s->CallFunction(QStringLiteral("Open"), Value());
    ASSERT_TRUE(cb->view()->isVisible());
    QTest::keyClick(cb->view(), Qt::Key_Down);
    QTest::keyClick(cb->view(), Qt::Key_Return);
    EXPECT_EQ(text(*s, "log"), QStringLiteral("down;up;down;up;"));
    EXPECT_EQ(combo->combo().text(), QStringLiteral("due"));
    delete form;
}
