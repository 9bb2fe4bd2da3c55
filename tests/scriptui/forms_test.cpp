// Scripts that build windows and controls, bind their events to script procedures, and
// use the common dialogs; the controls are driven with real key and mouse events.
#include "fixture.h"

#include "platform/core/exceptions.h"
#include "script/bridges/forms.h"
#include "script/bridges/register.h"
#include "script/core/objects.h"
#include "script/core/script.h"

#include <QListView>
#include <QPushButton>

using namespace orv::script;

using orv::script::Value;
using namespace orv::script::bridges;


TEST_F(ScriptWindows, AButtonClickSetsTheModalResult)
{
    auto s = compile("var f: TForm; b: TButton; r: Integer; who: String; "
                     "procedure Pressed(Sender: TObject); begin if Sender = b then who := 'b'; f.ModalResult := mrOk end; "
                     "begin f := TForm.CreateNew(nil); f.Name := 'frmProva'; f.Caption := 'Prova'; "
                     "b := TButton.Create(f); b.Name := 'btnOk'; b.Parent := f; b.Text := 'OK'; "
                     "b.SetBounds(10, 10, 80, 30); b.OnClick := @Pressed; r := f.ShowModal; f.Free end.");
    QString caption;
    modal.scripts[QStringLiteral("frmProva")] = [&](orv::platform::ui::Form& form) {
        caption = form.caption();
        auto* button = form.findChild<QPushButton*>(QStringLiteral("btnOk"));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QStringLiteral("OK"));
        QTest::mouseClick(button, Qt::LeftButton);
    };
    s->Execute();
    EXPECT_EQ(modal.shown, QStringList({"frmProva"}));
    EXPECT_EQ(caption, QStringLiteral("Prova"));
    EXPECT_EQ(text(*s, "r"), QStringLiteral("1"));
    EXPECT_EQ(text(*s, "who"), QStringLiteral("b"));
}

TEST_F(ScriptWindows, KeyAndMouseEventsReachTheProcedures)
{
    auto s = compile(
        "var f: TForm; e: TEdit; keys, mouse, changes: String; "
        "procedure KeyDown(Sender: TObject; var Key: Word; var KeyChar: Char; Shift: Integer); "
        "begin keys := keys + IntToStr(Key) + KeyChar + ';'; if KeyChar = 'x' then begin Key := 0; KeyChar := #0 end; "
        "if KeyChar = 'q' then KeyChar := 'Q' end; "
        "procedure MouseDown(Sender: TObject; Button: Integer; Shift: Integer; X, Y: Single); "
        "begin mouse := IntToStr(Button) + '/' + IntToStr(Shift) end; "
        "procedure Changed(Sender: TObject); begin changes := changes + '*' end; "
        "procedure Released(Sender: TObject); begin changes := changes + '^' end; "
        "procedure Build; begin f := TForm.CreateNew(nil); f.Name := 'frmTasti'; e := TEdit.Create(f); "
        "e.Name := 'txtProva'; e.Parent := f; e.SetBounds(5, 5, 100, 24); e.OnKeyDown := @KeyDown; "
        "e.OnMouseDown := @MouseDown; e.OnChange := @Changed; e.OnKeyUp := @Released end; "
        "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* edit = object<EditObject>(*s, "e");
    ASSERT_TRUE(form && edit);
    showAndActivate(form->window());
    edit->control().setFocus();
    type(edit->control(), QStringLiteral("axqb"));
    // The key the procedure swallowed types nothing, the one it changed types its change.
    EXPECT_EQ(edit->Text(), QStringLiteral("aQb"));
    EXPECT_EQ(text(*s, "keys"), QStringLiteral("65a;88x;81q;66b;"));
    // A procedure that takes fewer values than the event passes gets the leading ones.
    EXPECT_EQ(text(*s, "changes"), QStringLiteral("*^^*^*^"));
    QTest::mousePress(edit->control().widget(), Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 3));
    QTest::mouseRelease(edit->control().widget(), Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 3));
    EXPECT_EQ(text(*s, "mouse"), QStringLiteral("0/9"));
    delete form;
}

TEST_F(ScriptWindows, CloseQueryAndCloseAction)
{
    auto s = compile("var f: TForm; allow: Boolean; closed: Integer; "
                     "procedure Asked(Sender: TObject; var CanClose: Boolean); begin CanClose := allow end; "
                     "procedure Closing(Sender: TObject; var Action: TCloseAction); begin closed := closed + 1; "
                     "Action := caHide end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); f.OnCloseQuery := @Asked; f.OnClose := @Closing; "
                     "f.Show end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    ASSERT_NE(form, nullptr);
    form->window().close();
    EXPECT_TRUE(form->window().isVisible());
    EXPECT_EQ(text(*s, "closed"), QStringLiteral("0"));
    s->SetVariables(QStringLiteral("allow"), Value(true));
    form->window().close();
    EXPECT_FALSE(form->window().isVisible());
    EXPECT_EQ(text(*s, "closed"), QStringLiteral("1"));
    delete form;
}

TEST_F(ScriptWindows, ListBoxItemsAndSelection)
{
    auto s = compile("var f: TForm; l: TListBox; t: TStringList; r: String; "
                     "procedure Build; begin f := TForm.CreateNew(nil); l := TListBox.Create(f); l.Parent := f; "
                     "t := TStringList.Create; t.Add('uno'); t.Add('due'); t.Add('tre'); l.Items := t; t.Free; "
                     "r := IntToStr(l.Count); l.ItemIndex := 1; r := r + l.Selected.Text; l.Items.Add('quattro'); "
                     "l.ItemIndex := -1; r := r + IntToStr(l.Count) + VarToStr(l.Selected = nil) end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    EXPECT_EQ(text(*s, "r"), QStringLiteral("3due4True"));
    auto* list = object<ListBoxObject>(*s, "l");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->list().listWidget()->count(), 4);
    EXPECT_EQ(list->list().item(3), QStringLiteral("quattro"));
    delete object<FormObject>(*s, "f");
}

TEST_F(ScriptWindows, PaintHandlersDrawOnTheWindow)
{
    auto s = compile("var f: TForm; w: Single; kept: Variant; "
                     "procedure Paint(Sender: TObject; Canvas: TCanvas; R: TfsRectF); "
                     "begin w := R.Right; kept := R; Canvas.Fill.Color := claRed; Canvas.FillRect(R, 0, 0, 0, 1, 0) end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); f.SetBounds(0, 0, 60, 40); f.OnPaint := @Paint end; "
                     "procedure UseKept; begin w := TfsRectF(kept).Right end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    ASSERT_NE(form, nullptr);
    const QImage image = form->window().grab().toImage();
    EXPECT_EQ(image.pixel(30, 20), 0xFFFF0000u);
    EXPECT_EQ(text(*s, "w"), QStringLiteral("60"));
    // The rectangle lived for the call only.
    EXPECT_THROW(s->CallFunction(QStringLiteral("UseKept"), Value()), orv::platform::Exception);
    delete form;
}

TEST_F(ScriptWindows, ControlsOutliveTheScriptThatBoundThem)
{
    // A procedure with more parameters than the event passes gets them cleared.
    auto s = compile("var f: TForm; b: TButton; n: Integer; "
                     "procedure Pressed(Sender: TObject; Extra: Integer); begin n := n + Extra + 1; Extra := 5 end; "
                     "procedure Build; begin f := TForm.CreateNew(nil); b := TButton.Create(f); b.Parent := f; "
                     "b.OnClick := @Pressed end; "
                     "begin end.");
    s->CallFunction(QStringLiteral("Build"), Value());
    auto* form = object<FormObject>(*s, "f");
    auto* button = object<ButtonObject>(*s, "b");
    ASSERT_TRUE(form && button);
    form->window().show();
    button->control().click();
    button->control().click();
    EXPECT_EQ(text(*s, "n"), QStringLiteral("2"));
    s.reset();
    button->control().click(); // no procedure any more: nothing happens
    delete form;
}

TEST_F(ScriptWindows, DialogsAnswerThroughTheServices)
{
    messages.answers = {orv::platform::ui::mrNo};
    messages.inputs = {QStringLiteral("nuovo"), std::nullopt};
    files.answers = {std::nullopt, QStringLiteral("/tmp/scelto.txt")};
    auto s = compile("var r, v, w: String; d: TOpenDialog; begin "
                     "r := IntToStr(MessageDlg('Salvare?', mtConfirmation, mbYes + mbNo, 0)); "
                     "v := 'vecchio'; r := r + VarToStr(InputQuery('Titolo', 'Nome:', v)) + v; "
                     "w := 'resta'; r := r + VarToStr(InputQuery('Titolo', 'Nome:', w)) + w; "
                     "r := r + InputBox('T', 'P', 'predefinito'); "
                     "d := TOpenDialog.Create(nil); d.Filter := 'Testi|*.txt'; "
                     "r := r + VarToStr(d.Execute) + VarToStr(d.Execute) + d.FileName; d.Free end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("7TruenuovoFalserestapredefinitoFalseTrue/tmp/scelto.txt"));
    // The message box, then the three input boxes.
    ASSERT_EQ(messages.calls.size(), 4u);
    EXPECT_EQ(messages.calls[0].text, QStringLiteral("Salvare?"));
    EXPECT_EQ(messages.calls[0].kind, orv::test::MessageCall::Confirmation);
    EXPECT_EQ(messages.calls[0].buttons, orv::platform::ui::MsgButtons(orv::platform::ui::mbYes | orv::platform::ui::mbNo));
    ASSERT_EQ(files.requests.size(), 2u);
    EXPECT_EQ(files.requests[0].filter, QStringLiteral("Testi|*.txt"));
}

TEST_F(ScriptWindows, ControlPropertiesAndConstants)
{
    auto s = compile("var f: TForm; b: TButton; p: TPanel; r: String; x, y: TfsRectF; begin "
                     "f := TForm.CreateNew(nil); p := TPanel.Create(f); p.Parent := f; p.SetBounds(10, 20, 200, 100); "
                     "b := TButton.Create(f); b.Parent := p; b.SetBounds(5, 6, 70, 30); "
                     "x := b.BoundsRect; y := b.BoundsRect; "
                     "r := VarToStr(x = y) + ' ' + FloatToStr(x.Left) + ',' + FloatToStr(y.Top) + ',' + FloatToStr(x.Right) + "
                     "',' + FloatToStr(y.Bottom) + ' ' + FloatToStr(b.AbsoluteRect.Left) + ' ' + IntToStr(crSize) + "
                     "IntToStr(crSizeAll) + ' ' + IntToStr(p.Index) + IntToStr(b.Index) + VarToStr(b.Parent = p); "
                     "x.Free; y.Free; f.Free end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("False 5,6,75,36 15 -22-22 00True"));
}
