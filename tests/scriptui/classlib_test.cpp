// The framework object's members for scripts: plain objects, copies, streams, tab order,
// painting into a bitmap, locking, vector conversions, animations, and the answers for
// styles and effects, which this platform does not have.
#include "fixture.h"

#include "script/bridges/graphics.h"

TEST_F(ScriptWindows, APlainObjectCanBeMade)
{
    auto s = compile("var o: TObject; r: String; begin o := TObject.Create; r := o.ClassName; o.Free end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("TObject"));
}

TEST_F(ScriptWindows, CopiesAndStreamsKeepValuesAndChildren)
{
    auto s = compile(
        "var f: TForm; p, q, k: TPanel; b: TButton; m: TMemoryStream; r: String; "
        "begin f := TForm.CreateNew(nil); p := TPanel.Create(f); p.Name := 'pan'; p.Parent := f; "
        "p.SetBounds(10, 20, 150, 60); p.Hint := 'l''uno'; "
        "b := TButton.Create(f); b.Name := 'btn'; b.Parent := p; b.SetBounds(5, 5, 70, 24); b.Text := 'Salva'; "
        "q := TPanel(p.Clone(f)); q.Parent := f; "
        "r := FloatToStr(q.Width) + ' ' + q.Hint + ' ' + VarToStr(q.Name = '') + ' '; "
        "m := TMemoryStream.Create; p.SaveToBinStream(m); m.Position := 0; "
        "k := TPanel.Create(f); k.Parent := f; k.LoadFromBinStream(m); "
        "r := r + FloatToStr(k.Height) + ' ' + k.Hint + ' ' + IntToStr(m.Position - m.Size) + ' '; "
        "m.Clear; p.SaveToStream(m); m.Position := 0; "
        "with TPanel.Create(f) do begin Parent := f; LoadFromStream(m); r := r + FloatToStr(Position.Y) + Hint end; "
        "m.Free end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("150 l'uno True 60 l'uno 0 20l'uno"));
    auto* form = object<FormObject>(*s, "f");
    auto* copy = object<PanelObject>(*s, "q");
    auto* loaded = object<PanelObject>(*s, "k");
    ASSERT_TRUE(form && copy && loaded);
    // The button came along, as a button with its caption, in each copy.
    for (PanelObject* panel : {copy, loaded}) {
        ASSERT_EQ(panel->children().size(), 1u);
        auto* button = dynamic_cast<ButtonObject*>(panel->children()[0]);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Text(), QStringLiteral("Salva"));
        EXPECT_EQ(button->control().widget()->geometry(), QRect(5, 5, 70, 24));
    }
    delete form;
}

TEST_F(ScriptWindows, AStreamThatHoldsNoObjectIsAnError)
{
    auto s = compile("var p: TPanel; m: TMemoryStream; r: String; begin p := TPanel.Create(nil); "
                     "m := TMemoryStream.Create; m.Write('rotto', 10); m.Position := 0; "
                     "try p.LoadFromBinStream(m) except r := ExceptionMessage end; "
                     "m.Position := 0; try p.LoadFromStream(m) except r := r + '/' + ExceptionMessage end; "
                     "m.Free; p.Free end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("Invalid stream format/Invalid stream format"));
}

TEST_F(ScriptWindows, TabOrderListsFollowTheChildren)
{
    auto s = compile("var f: TForm; a, b: TPanel; c: TButton; l: TList; r: String; i: Integer; "
                     "begin f := TForm.CreateNew(nil); a := TPanel.Create(f); a.Name := 'a'; a.Parent := f; "
                     "b := TPanel.Create(f); b.Name := 'b'; b.Parent := f; c := TButton.Create(f); c.Name := 'c'; "
                     "c.Parent := a; b.TabOrder := 0; l := TList.Create; f.GetTabOrderList(l, False); "
                     "for i := 0 to l.Count - 1 do r := r + TComponent(l[i]).Name; r := r + ' '; l.Clear; "
                     "f.GetTabOrderList(l, True); for i := 0 to l.Count - 1 do r := r + TComponent(l[i]).Name; "
                     "l.Free; f.Free end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("ba bac"));
}

TEST_F(ScriptWindows, PaintToDrawsTheControlIntoABitmap)
{
    auto s = compile("var f: TForm; p: TPathLabel; b: TBitmap; r: TfsRectF; "
                     "begin f := TForm.CreateNew(nil); p := TPathLabel.Create(f); p.Parent := f; "
                     "p.SetBounds(0, 0, 20, 20); p.Fill := claBlue; p.Data := 'M 0 0 L 1 0 L 1 1 L 0 1 Z'; "
                     "b := TBitmap.Create(40, 40); b.Clear(claWhite); r := TfsRectF.Create; r.Left := 20; r.Top := 20; "
                     "r.Right := 40; r.Bottom := 40; b.Canvas.BeginScene; p.PaintTo(b.Canvas, r, nil); "
                     "b.Canvas.EndScene; r.Free end.");
    s->Execute();
    auto* bmp = object<BitmapObject>(*s, "b");
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(QColor(bmp->image.pixel(30, 30)), QColor(Qt::blue));
    EXPECT_EQ(QColor(bmp->image.pixel(10, 10)), QColor(Qt::white));
    delete object<FormObject>(*s, "f");
    delete bmp;
}

TEST_F(ScriptWindows, InvalidateRectRepaintsAndLockReachesTheChildren)
{
    auto s = compile("var f: TForm; p: TPanel; b: TButton; n: Integer; r: TfsRectF; "
                     "procedure Paint(Sender: TObject; Canvas: TCanvas; R: TfsRectF); begin n := n + 1 end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); p := TPanel.Create(f); p.Parent := f; "
                     "p.SetBounds(0, 0, 50, 50); b := TButton.Create(f); b.Parent := p; p.OnPaint := @Paint end; "
                     "procedure Touch; begin r := TfsRectF.Create; r.Right := 5; r.Bottom := 5; p.InvalidateRect(r); "
                     "r.Free; p.Lock end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* button = object<ButtonObject>(*s, "b");
    ASSERT_TRUE(form && button);
    showAndActivate(form->window());
    QApplication::processEvents();
    const int before = text(*s, "n").toInt();
    EXPECT_FALSE(button->Locked());
    s->CallFunction(QStringLiteral("Touch"), Value());
    QTRY_VERIFY_WITH_TIMEOUT(text(*s, "n").toInt() > before, 5000);
    EXPECT_TRUE(button->Locked());
    delete form;
}

TEST_F(ScriptWindows, VectorsConvertWithTheirWeight)
{
    auto s = compile("var f: TForm; p: TPanel; v, a, d: TfsVector; r: String; "
                     "begin f := TForm.CreateNew(nil); p := TPanel.Create(f); p.Parent := f; p.SetBounds(10, 20, 50, 50); "
                     "v := TfsVector.Create; v.pX := 1; v.pY := 2; v.pW := 1; a := p.LocalToAbsoluteVector(v); "
                     "r := FloatToStr(a.pX) + ',' + FloatToStr(a.pY) + ' '; "
                     "v.pW := 0; d := p.LocalToAbsoluteVector(v); r := r + FloatToStr(d.pX) + ',' + FloatToStr(d.pY) + ' '; "
                     "d.Free; d := p.AbsoluteToLocalVector(a); r := r + FloatToStr(d.pX) + ',' + FloatToStr(d.pY); "
                     "v.Free; a.Free; d.Free; f.Free end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("11,22 1,2 1,2"));
}

TEST_F(ScriptWindows, AnimationsMoveValuesAndNoStylesOrEffectsExist)
{
    auto s = compile("var f: TForm; p: TPanel; l: TPathLabel; r: String; "
                     "procedure Build; begin f := TForm.CreateNew(nil); p := TPanel.Create(f); p.Parent := f; "
                     "l := TPathLabel.Create(f); l.Parent := f; l.Fill := claBlack end; "
                     "procedure Wait; begin p.AnimateFloatWait('Opacity', 0.25, 0.05, atIn, itLinear) end; "
                     "procedure Start; begin p.AnimateFloat('Position.X', 100, 60, atInOut, itBounce); "
                     "l.AnimateColor('Fill', claRed, 60, atIn, itLinear); "
                     "p.AnimateFloatDelay('Width', 80, 1, 60, atOut, itQuadratic); "
                     "p.AnimateFloat('NonEsiste', 3, 1, atIn, itLinear) end; "
                     "procedure Stop; begin p.StopPropertyAnimation('Position.X'); l.StopPropertyAnimation('Fill'); "
                     "p.StopPropertyAnimation('Width') end; "
                     "procedure NoStyles; begin r := VarToStr(p.FindStyleResource('background') = nil) + ' ' + "
                     "VarToStr(p.HasEffect) + ' '; p.StartAnimation('Fade'); p.ApplyTriggerEffect(p, 'IsMouseOver=true'); "
                     "p.StartTriggerAnimation(p, 'IsMouseOver=true'); r := r + FloatToStr(p.Opacity) end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* panel = object<PanelObject>(*s, "p");
    auto* label = object<PathLabelObject>(*s, "l");
    ASSERT_TRUE(panel && label);
    s->CallFunction(QStringLiteral("Wait"), Value());
    EXPECT_FLOAT_EQ(panel->Opacity(), 0.25f);
    const float width = panel->Width();
    s->CallFunction(QStringLiteral("Start"), Value());
    s->CallFunction(QStringLiteral("Stop"), Value());
    EXPECT_EQ(panel->X(), 100.0f);
    EXPECT_EQ(quint32(label->Fill()), 0xFFFF0000u);
    EXPECT_EQ(panel->Width(), 80.0f);
    EXPECT_NE(width, 80.0f);
    s->CallFunction(QStringLiteral("NoStyles"), Value());
    EXPECT_EQ(text(*s, "r"), QStringLiteral("True False 0,25"));
    delete object<FormObject>(*s, "f");
}
