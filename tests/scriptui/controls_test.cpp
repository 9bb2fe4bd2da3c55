// The controls scripts create beyond edits, labels and lists, each driven through real
// mouse and key events, and the placement every control shares: bounds, position,
// alignment in its parent, opacity and hint.
#include "fixture.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QGraphicsOpacityEffect>
#include <QListView>
#include <QPlainTextEdit>

TEST_F(ScriptWindows, ASwitchToggledByAClick)
{
    auto s = compile("var f: TForm; w: TSwitch; log: String; "
                     "procedure Switched(Sender: TObject); begin log := log + VarToStr(TSwitch(Sender).IsChecked) + ';' end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); w := TSwitch.Create(f); w.Parent := f; "
                     "w.Position.X := 10; w.Position.Y := 20; w.OnSwitch := @Switched end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* sw = object<SwitchObject>(*s, "w");
    ASSERT_TRUE(form && sw);
    showAndActivate(form->window());
    EXPECT_EQ(sw->control().left(), 10);
    EXPECT_EQ(sw->control().top(), 20);
    click(sw->control());
    EXPECT_TRUE(sw->IsChecked());
    click(sw->control());
    EXPECT_EQ(text(*s, "log"), QStringLiteral("True;False;"));
    // The knob is drawn at the side of the state.
    sw->SetIsChecked(true);
    const QImage on = sw->control().widget()->grab().toImage();
    EXPECT_EQ(on.pixelColor(on.width() - 5, on.height() / 2), QColor(Qt::white));
    EXPECT_NE(on.pixelColor(8, on.height() / 2), QColor(Qt::white));
    delete form;
}

TEST_F(ScriptWindows, RadioAndSpeedButtonGroups)
{
    auto s = compile("var f: TForm; r1, r2, r3: TRadioButton; s1, s2: TSpeedButton; changes: Integer; "
                     "procedure Changed(Sender: TObject); begin changes := changes + 1 end; "
                     "function Radio(g: String; y: Integer): TRadioButton; begin Result := TRadioButton.Create(f); "
                     "Result.Parent := f; Result.GroupName := g; Result.Text := g; Result.SetBounds(10, y, 100, 20); "
                     "Result.OnChange := @Changed end; "
                     "function Speed(x: Integer): TSpeedButton; begin Result := TSpeedButton.Create(f); "
                     "Result.Parent := f; Result.GroupName := 'g'; Result.StaysPressed := True; Result.Text := 'S'; "
                     "Result.SetBounds(x, 100, 40, 24) end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); r1 := Radio('a', 10); r2 := Radio('a', 35); "
                     "r3 := Radio('b', 60); s1 := Speed(10); s2 := Speed(60) end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* r1 = object<RadioButtonObject>(*s, "r1");
    auto* r2 = object<RadioButtonObject>(*s, "r2");
    auto* r3 = object<RadioButtonObject>(*s, "r3");
    auto* s1 = object<SpeedButtonObject>(*s, "s1");
    auto* s2 = object<SpeedButtonObject>(*s, "s2");
    ASSERT_TRUE(form && r1 && r2 && r3 && s1 && s2);
    showAndActivate(form->window());
    // On the round mark: the rest of a wide radio button is not its button.
    const auto mark = [](RadioButtonObject* r) {
        QTest::mouseClick(r->control().widget(), Qt::LeftButton, Qt::NoModifier, QPoint(6, 10));
    };
    mark(r1);
    mark(r3);
    mark(r2);
    // Another group keeps its choice; the same group has one.
    EXPECT_FALSE(r1->IsChecked());
    EXPECT_TRUE(r2->IsChecked());
    EXPECT_TRUE(r3->IsChecked());
    EXPECT_EQ(text(*s, "changes"), QStringLiteral("4"));
    click(s1->control());
    EXPECT_TRUE(s1->IsPressed());
    click(s2->control());
    EXPECT_FALSE(s1->IsPressed());
    EXPECT_TRUE(s2->IsPressed());
    EXPECT_FALSE(s2->control().widget()->hasFocus()); // a speed button never takes the focus
    delete form;
}

TEST_F(ScriptWindows, AButtonsModalResultClosesTheModalWindow)
{
    auto s = compile("var f: TForm; b: TButton; r: Integer; "
                     "begin f := TForm.CreateNew(nil); f.Name := 'frmScelta'; b := TButton.Create(f); b.Name := 'btnNo'; "
                     "b.Parent := f; b.ModalResult := mrNo; r := f.ShowModal; f.Free end.");
    modal.scripts[QStringLiteral("frmScelta")] = [&](orv::platform::ui::Form& form) {
        auto* button = form.findChild<QAbstractButton*>(QStringLiteral("btnNo"));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    };
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("7"));
}

TEST_F(ScriptWindows, AlignedControlsFollowTheirWindow)
{
    auto s = compile("var f: TForm; bar: TStatusBar; top: TPanel; rest: TMemo; side: TListBox; "
                     "procedure Build; begin f := TForm.CreateNew(nil); f.SetBounds(0, 0, 300, 200); "
                     "bar := TStatusBar.Create(f); bar.Parent := f; "
                     "top := TPanel.Create(f); top.Parent := f; top.Height := 30; top.Align := alTop; "
                     "side := TListBox.Create(f); side.Parent := f; side.Width := 50; side.Align := alLeft; "
                     "rest := TMemo.Create(f); rest.Parent := f; rest.Align := alClient end; "
                     "procedure Grow; begin f.SetBounds(0, 0, 400, 300) end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    ASSERT_NE(form, nullptr);
    const auto bounds = [&](const char* name) {
        return object<ControlObject>(*s, name)->control().widget()->geometry();
    };
    const int w = form->window().width(), h = form->window().height();
    EXPECT_EQ(bounds("bar"), QRect(0, h - 22, w, 22));
    EXPECT_EQ(bounds("top"), QRect(0, 0, w, 30));
    EXPECT_EQ(bounds("side"), QRect(0, 30, 50, h - 52));
    EXPECT_EQ(bounds("rest"), QRect(50, 30, w - 50, h - 52));
    showAndActivate(form->window());
    s->CallFunction(QStringLiteral("Grow"), Value());
    const int w2 = form->window().width(), h2 = form->window().height();
    ASSERT_NE(w2, w);
    EXPECT_EQ(bounds("bar"), QRect(0, h2 - 22, w2, 22));
    EXPECT_EQ(bounds("rest"), QRect(50, 30, w2 - 50, h2 - 52));
    delete form;
}

// A window off screen gets no resize events, yet what is aligned in it must follow its
// size at once, nested panels included, whatever the size it is given.
TEST_F(ScriptWindows, AlignedControlsFollowAHiddenWindow)
{
    auto s = compile("var f: TForm; top: TPanel; side: TListBox; box: TPanel; head: TPanel; rest: TMemo; "
                     "w, h: Integer; "
                     "procedure Build; begin f := TForm.CreateNew(nil); f.SetBounds(0, 0, 300, 200); "
                     "top := TPanel.Create(f); top.Parent := f; top.Height := 30; top.Align := alTop; "
                     "side := TListBox.Create(f); side.Parent := f; side.Width := 50; side.Align := alLeft; "
                     "box := TPanel.Create(f); box.Parent := f; box.Align := alClient; "
                     "head := TPanel.Create(f); head.Parent := box; head.Height := 20; head.Align := alTop; "
                     "rest := TMemo.Create(f); rest.Parent := box; rest.Align := alClient end; "
                     "procedure Bounds; begin f.SetBounds(10, 20, w, h) end; "
                     "procedure Size; begin f.Width := w; f.Height := h end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    ASSERT_NE(form, nullptr);
    ASSERT_FALSE(form->window().isVisible());
    const auto bounds = [&](const char* name) {
        return object<ControlObject>(*s, name)->control().widget()->geometry();
    };
    const auto expectLaidOut = [&](int w, int h, const QString& how) {
        SCOPED_TRACE(how.toStdString());
        ASSERT_EQ(form->window().size(), QSize(w, h));
        EXPECT_EQ(bounds("top"), QRect(0, 0, w, 30));
        EXPECT_EQ(bounds("side"), QRect(0, 30, 50, h - 30));
        EXPECT_EQ(bounds("box"), QRect(50, 30, w - 50, h - 30));
        EXPECT_EQ(bounds("head"), QRect(0, 0, w - 50, 20));
        EXPECT_EQ(bounds("rest"), QRect(0, 20, w - 50, h - 50));
    };
    const auto resize = [&](const char* how, int w, int h) {
        s->SetVariables(QStringLiteral("w"), Value(w));
        s->SetVariables(QStringLiteral("h"), Value(h));
        s->CallFunction(QString::fromLatin1(how), Value());
        expectLaidOut(w, h, QStringLiteral("%1 %2x%3").arg(QString::fromLatin1(how)).arg(w).arg(h));
    };
    for (const auto& [w, h] : {std::pair{300, 200}, {301, 99}, {640, 480}, {120, 77}, {333, 251}}) {
        resize("Bounds", w, h);
        resize("Size", w + 17, h + 9);
    }
    // Shown, the window keeps the same layout; hidden again, it follows again.
    showAndActivate(form->window());
    expectLaidOut(form->window().width(), form->window().height(), QStringLiteral("shown"));
    form->window().hide();
    resize("Bounds", 222, 111);
    delete form;
}

// The room an edge control takes is its own size when it is visible, and none when it is
// not: changing either lays its neighbours out again.
TEST_F(ScriptWindows, AnEdgeControlsSizeAndVisibilityMoveItsNeighbours)
{
    auto s = compile("var f: TForm; top: TPanel; rest: TMemo; h: Integer; "
                     "procedure Build; begin f := TForm.CreateNew(nil); f.SetBounds(0, 0, 300, 200); "
                     "top := TPanel.Create(f); top.Parent := f; top.Height := 30; top.Align := alTop; "
                     "rest := TMemo.Create(f); rest.Parent := f; rest.Align := alClient end; "
                     "procedure Taller; begin top.Height := h end; "
                     "procedure Hide; begin top.Visible := False end; "
                     "procedure Show; begin top.Visible := True end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    ASSERT_NE(form, nullptr);
    const auto bounds = [&](const char* name) {
        return object<ControlObject>(*s, name)->control().widget()->geometry();
    };
    for (bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "shown" : "hidden");
        if (shown)
            showAndActivate(form->window());
        const int w = form->window().width(), h = form->window().height();
        for (int height : {45, 1, 30}) {
            s->SetVariables(QStringLiteral("h"), Value(height));
            s->CallFunction(QStringLiteral("Taller"), Value());
            EXPECT_EQ(bounds("top"), QRect(0, 0, w, height));
            EXPECT_EQ(bounds("rest"), QRect(0, height, w, h - height));
        }
        s->CallFunction(QStringLiteral("Hide"), Value());
        EXPECT_EQ(bounds("rest"), QRect(0, 0, w, h));
        s->CallFunction(QStringLiteral("Show"), Value());
        EXPECT_EQ(bounds("rest"), QRect(0, 30, w, h - 30));
    }
    delete form;
}

TEST_F(ScriptWindows, ListsAndMemosArePlacedAsEveryControl)
{
    auto s = compile("var f: TForm; l: TListBox; m: TMemo; r: String; "
                     "begin f := TForm.CreateNew(nil); l := TListBox.Create(f); l.Parent := f; "
                     "l.SetBounds(5, 6, 70, 80); l.Opacity := 0.5; l.Hint := 'Elenco'; "
                     "m := TMemo.Create(f); m.Parent := f; m.Position.X := 100; m.Position.Y := 7; "
                     "m.BoundsRect := l.BoundsRect; "
                     "r := FloatToStr(l.Position.X) + ',' + FloatToStr(l.Position.Y) + ' ' + FloatToStr(l.Opacity) + ' ' + "
                     "l.Hint + ' ' + FloatToStr(m.Width) end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("5,6 0,5 Elenco 70"));
    auto* list = object<ListBoxObject>(*s, "l");
    ASSERT_NE(list, nullptr);
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(list->control().widget()->graphicsEffect());
    ASSERT_NE(effect, nullptr);
    EXPECT_DOUBLE_EQ(effect->opacity(), 0.5);
    EXPECT_EQ(list->control().widget()->toolTip(), QStringLiteral("Elenco"));
    delete object<FormObject>(*s, "f");
}

TEST_F(ScriptWindows, ScrollBarsDialsAndTracksMoveByKeys)
{
    auto s = compile("var f: TForm; b: TScrollBar; sb: TSmallScrollBar; d: TArcDial; t: TTrack; bt: TBitmapTrackBar; "
                     "log: String; "
                     "procedure Changed(Sender: TObject); begin log := log + Sender.ClassName + '=' + "
                     "FloatToStr(TScrollBar(Sender).Value) + ';' end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); "
                     "b := TScrollBar.Create(f); b.Parent := f; b.SetBounds(0, 0, 200, 16); b.SmallChange := 5; b.OnChange := @Changed; "
                     "sb := TSmallScrollBar.Create(f); sb.Parent := f; sb.Position.Y := 20; "
                     "d := TArcDial.Create(f); d.Parent := f; d.SetBounds(0, 40, 60, 60); d.OnChange := @Changed; "
                     "t := TTrack.Create(f); t.Parent := f; t.SetBounds(0, 110, 100, 20); "
                     "bt := TBitmapTrackBar.Create(f); bt.Parent := f; bt.SetBounds(0, 140, 100, 20); bt.Max := 4 end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* bar = object<ScrollBarObject>(*s, "b");
    auto* dial = object<ArcDialObject>(*s, "d");
    auto* small = object<SmallScrollBarObject>(*s, "sb");
    auto* track = object<TrackBarObject>(*s, "bt");
    ASSERT_TRUE(form && bar && dial && small && track);
    showAndActivate(form->window());
    QWidget* b = bar->control().widget();
    for (int i = 0; i < 2; ++i) // the arrow at the right end
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(b->width() - 4, b->height() / 2));
    dial->control().setFocus();
    press(dial->control(), Qt::Key_Up);
    EXPECT_EQ(text(*s, "log"), QStringLiteral("TScrollBar=5;TScrollBar=10;TArcDial=1;"));
    EXPECT_LT(small->control().height(), 10);
    track->control().setFocus();
    for (int i = 0; i < 6; ++i)
        press(track->control(), Qt::Key_Right);
    EXPECT_EQ(track->Value(), 4.0f); // kept within Max
    delete form;
}

TEST_F(ScriptWindows, AnExpanderFoldsAndTellsItsCheck)
{
    auto s = compile("var f: TForm; e: TExpander; b: TButton; eb: TExpanderButton; checks: Integer; "
                     "procedure Checked(Sender: TObject); begin checks := checks + 1 end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); e := TExpander.Create(f); e.Parent := f; "
                     "e.SetBounds(0, 0, 200, 150); e.Text := 'Dettagli'; e.ShowCheck := True; e.OnCheckChange := @Checked; "
                     "b := TButton.Create(f); b.Parent := e; b.SetBounds(5, 5, 60, 24); "
                     "eb := TExpanderButton.Create(f); eb.Parent := f; eb.SetBounds(0, 160, 30, 24) end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* expander = object<ExpanderObject>(*s, "e");
    auto* button = object<ButtonObject>(*s, "b");
    auto* eb = object<ExpanderButtonObject>(*s, "eb");
    ASSERT_TRUE(form && expander && button && eb);
    showAndActivate(form->window());
    EXPECT_EQ(button->control().widget()->parentWidget(), expander->expander().content());
    EXPECT_TRUE(button->control().widget()->isVisible());
    auto* check = expander->control().widget()->findChild<QCheckBox*>(QStringLiteral("check"));
    ASSERT_NE(check, nullptr);
    QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, QPoint(5, check->height() / 2));
    EXPECT_TRUE(expander->IsChecked());
    EXPECT_EQ(text(*s, "checks"), QStringLiteral("1"));
    QTest::mouseClick(expander->expander().toggle(), Qt::LeftButton);
    EXPECT_FALSE(expander->IsExpanded());
    EXPECT_FALSE(button->control().widget()->isVisible());
    EXPECT_LT(expander->control().height(), 30);
    QTest::mouseClick(expander->expander().toggle(), Qt::LeftButton);
    EXPECT_EQ(expander->control().height(), 150);
    click(eb->control());
    EXPECT_TRUE(eb->IsPressed());
    delete form;
}

TEST_F(ScriptWindows, PicturesAndShapesShowWhatTheScriptGives)
{
    auto s = compile("var f: TForm; i: TImageControl; p: TPathLabel; bmp: TBitmap; changes: Integer; "
                     "procedure Changed(Sender: TObject); begin changes := changes + 1 end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); f.SetBounds(0, 0, 200, 100); "
                     "i := TImageControl.Create(f); i.Parent := f; i.SetBounds(0, 0, 40, 40); i.OnChange := @Changed; "
                     "bmp := TBitmap.Create(40, 40); bmp.Clear(claRed); i.Bitmap := bmp; bmp.Free; "
                     "p := TPathLabel.Create(f); p.Parent := f; p.SetBounds(100, 0, 50, 50); p.Fill := claBlue; "
                     "p.Data := 'M 0 0 L 10 0 L 10 10 L 0 10 Z' end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    ASSERT_NE(form, nullptr);
    const QImage image = form->window().grab().toImage();
    EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(125, 25), QColor(Qt::blue));
    EXPECT_EQ(text(*s, "changes"), QStringLiteral("1"));
    delete form;
}

TEST_F(ScriptWindows, ACalloutPanelPointsOutOfItsSide)
{
    auto s = compile("var f: TForm; c: TCalloutPanel; "
                     "procedure Build; begin f := TForm.CreateNew(nil); c := TCalloutPanel.Create(f); c.Parent := f; "
                     "c.SetBounds(0, 0, 100, 60); c.Fill := claRed; c.CalloutPosition := 2; c.CalloutWidth := 20; "
                     "c.CalloutLength := 15 end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* panel = object<CalloutPanelObject>(*s, "c");
    ASSERT_NE(panel, nullptr);
    const QImage image = panel->control().widget()->grab().toImage();
    EXPECT_EQ(image.pixelColor(50, 20), QColor(Qt::red));  // the box
    EXPECT_EQ(image.pixelColor(50, 50), QColor(Qt::red));  // the pointer under its middle
    EXPECT_NE(image.pixelColor(5, 55), QColor(Qt::red));   // beside the pointer: nothing
    EXPECT_NE(image.pixelColor(50, 5), image.pixelColor(5, 55)); // no pointer on top
    delete object<FormObject>(*s, "f");
}

TEST_F(ScriptWindows, EveryRegisteredControlClassCanBeMade)
{
    auto s = compile(
        "var f: TForm; r: String; "
        "procedure Make(c: TControl); begin c.Parent := f; r := r + c.ClassName + ' ' end; "
        "begin f := TForm.CreateNew(nil); "
        "Make(TCalloutPanel.Create(f)); Make(TStatusBar.Create(f)); Make(TAniIndicator.Create(f)); "
        "Make(TCustomEdit.Create(f)); Make(TCustomComboBox.Create(f)); Make(TTrackBar.Create(f)); "
        "with TCalloutPanel.Create(f) do begin CalloutPosition := 2; CalloutLength := 15; "
        "r := r + IntToStr(CalloutPosition) + FloatToStr(CalloutLength) end; "
        "with TAniIndicator.Create(f) do begin Enabled := True; r := r + ' ' + VarToStr(Enabled) end; "
        "with TDataModule.Create(nil) do begin r := r + ' ' + ClassName; Free end; "
        "f.Free end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("TCalloutPanel TStatusBar TAniIndicator TCustomEdit TCustomComboBox "
                                            "TTrackBar 215 True TDataModule"));
}

TEST_F(ScriptWindows, ListItemsAreReachedAsObjects)
{
    auto s = compile("var f: TForm; l, o: TListBox; r: String; "
                     "function Lines(x: TListBox): String; var i: Integer; begin Result := ''; "
                     "for i := 0 to x.Count - 1 do Result := Result + x.Items[i]; end; "
                     "begin f := TForm.CreateNew(nil); l := TListBox.Create(f); l.Parent := f; l.SetBounds(0, 0, 100, 100); "
                     "l.Items.CommaText := 'a,b,c,d'; o := TListBox.Create(f); o.Items.Add('z'); "
                     "l.Exchange(l.ItemByIndex(0), l.ItemByIndex(3)); r := Lines(l) + ' '; "
                     "r := r + VarToStr(l.DragChange(l.ItemByIndex(0), l.ItemByIndex(2))) + Lines(l) + ' '; "
                     "r := r + VarToStr(l.DragChange(l.ItemByIndex(1), l.ItemByIndex(1))) + ' '; "
                     "l.ItemByIndex(0).Index := 3; r := r + Lines(l) + ' '; "
                     "l.AddObject(o.ItemByIndex(0)); l.RemoveObject(l.ItemByIndex(0)); "
                     "l.InsertObject(1, o.ItemByIndex(0)); r := r + Lines(l) + ' '; "
                     "l.SelectAll; r := r + IntToStr(l.ItemIndex); l.ClearSelection; r := r + IntToStr(l.ItemIndex) + ' '; "
                     "l.ItemByIndex(2).Data := o; r := r + VarToStr(l.ItemByIndex(2).Data = o) + ' ' + "
                     "l.ItemByPoint(10, 8).Text; f.Free end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("dbca Truebcda False cdab dzabz 4-1 True d"));
}

TEST_F(ScriptWindows, MemoSelectionAndEditing)
{
    auto s = compile("var f: TForm; m: TMemo; r: String; "
                     "begin f := TForm.CreateNew(nil); m := TMemo.Create(f); m.Parent := f; m.Text := 'uno due tre'; "
                     "m.SelStart := 4; m.SelLength := 3; r := m.SelText + IntToStr(m.SelStart) + IntToStr(m.SelLength); "
                     "m.ClearSelection; r := r + ' ' + m.Text; m.UnDo; r := r + ' ' + m.Text; "
                     "m.GoToTextBegin; m.GotoLineEnd; r := r + ' ' + IntToStr(m.SelStart); f.Free end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("due43 uno  tre uno due tre 11"));
}

TEST_F(ScriptWindows, BarsGripsAndStyleLookups)
{
    auto s = compile("var f: TForm; t: TToolBar; p: TProgressBar; n: Integer; r: String; "
                     "procedure Applied(Sender: TObject); begin n := n + 1 end; "
                     "begin f := TForm.CreateNew(nil); f.SetBounds(0, 0, 300, 200); t := TToolBar.Create(f); t.Parent := f; "
                     "with TSizeGrip.Create(f) do Parent := f; with TSplitter.Create(f) do Parent := f; "
                     "with TThumb.Create(f) do Parent := f; "
                     "p := TProgressBar.Create(f); p.Parent := f; p.Max := 4; p.Value := 3; p.Value := p.Value + 5; "
                     "t.OnApplyStyleLookup := @Applied; t.ApplyStyleLookup; t.UpdateStyle; "
                     "r := FloatToStr(p.Value) + ' ' + VarToStr(t.FindStyleResource('background') = nil) + ' ' + "
                     "IntToStr(n) + ' ' + FloatToStr(t.Position.Y) + ' ' + FloatToStr(t.Width); f.Free end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r").section(u' ', 0, 3), QStringLiteral("4 True 1 0"));
}
