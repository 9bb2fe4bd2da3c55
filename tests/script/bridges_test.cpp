// Scripts using the host's classes through the bridges: lists, string lists, streams,
// INI files, and drawing on a canvas that records the calls.
#include "engine.h"

#include "platform/core/canvas.h"
#include "script/bridges/classlib.h"
#include "script/bridges/graphics.h"
#include "script/bridges/register.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

using namespace orv::script;

using namespace scripttest;

namespace {

// The bridges join the module registry for these tests only: other tests register
// classes of the same names themselves.
class Bridges : public ::testing::Test {
protected:
    void SetUp() override
    {
        fsRegisterHostBridges();
        fsRegisterFileBridges();
    }
    void TearDown() override { fsUnregisterBridges(); }

    struct Case {
        const char* source;
        const char* result;
    };
    static void expectResults(std::initializer_list<Case> cases, const scripttest::Setup& setup = {})
    {
        for (const Case& c : cases) {
            const Outcome o = run(q(c.source), QStringLiteral("r"), setup);
            EXPECT_TRUE(o.compiled) << c.source << ": " << o.error.toStdString() << " at " << o.pos.toStdString();
            EXPECT_EQ(o.raised, QString()) << c.source;
            EXPECT_EQ(o.result, q(c.result)) << c.source;
        }
    }
    static QString raised(const char* source, const scripttest::Setup& setup = {})
    {
        const Outcome o = run(q(source), QStringLiteral("r"), setup);
        EXPECT_TRUE(o.compiled) << source << ": " << o.error.toStdString();
        return o.raised;
    }
};

} // namespace

TEST_F(Bridges, StringLists)
{
    expectResults({
        // A new string list: not sorted, duplicates ignored.
        {"var r: Variant; l: TStringList; begin l := TStringList.Create; r := (not l.Sorted) and (l.Duplicates = dupIgnore) "
         "and (l.ClassName = 'TStringList'); l.Free end.",
         "True"},
        {"var r: Variant; l: TStringList; begin l := TStringList.Create; l.Add('uno'); l.Add('due'); l.Insert(1, 'x'); "
         "l.Delete(0); r := l.Text + IntToStr(l.Count) + IntToStr(l.IndexOf('DUE')) + l[0]; l.Free end.",
         "x\r\ndue\r\n21x"},
        {"var r: Variant; l: TStringList; begin l := TStringList.Create; l.Add('a=1'); l.Add('b=2'); "
         "r := l.Values['b']; l.Values['c'] := '3'; r := r + '|' + l.CommaText + '|' + l.Names[2]; l.Free end.",
         "2|a=1,b=2,c=3|c"},
        {"var r: Variant; l: TStringList; i: Integer; begin l := TStringList.Create; l.Sorted := True; "
         "l.Add('c'); l.Add('a'); r := l.Find('b', i); r := VarToStr(r) + IntToStr(i) + l.CommaText; "
         "l.Free end.",
         "False1a,c"},
        {"var r: Variant; l: TStringList; begin l := TStringList.Create; l.CommaText := 'uno,\"due tre\", \"a\"\"b\"'; "
         "r := IntToStr(l.Count) + l[1] + l[2] + '|' + l.CommaText; l.Free end.",
         "3due trea\"b|uno,\"due tre\",\"a\"\"b\""},
        {"var r: Variant; l: TStringList; begin l := TStringList.Create; l.Sorted := True; l.Add('b'); l.Add('B'); "
         "l.Add('a'); r := l.CommaText; l.Free end.",
         "a,b"},
        {"var r: Variant; l, m: TStringList; begin l := TStringList.Create; m := TStringList.Create; "
         "l.AddObject('x', m); r := (l.Objects[0] = m) and (l.IndexOfObject(m) = 0); m.Assign(l); "
         "r := VarToStr(r) + m.Text; l.Free; m.Free end.",
         "Truex\r\n"},
    });
    EXPECT_EQ(raised("var r: Variant; l: TStringList; begin l := TStringList.Create; try r := l[5] finally l.Free end "
                     "end."),
              q("List index out of bounds (5)"));
    // Move names the index that is out of bounds, whichever of the two it is.
    EXPECT_EQ(raised("var r: Variant; l: TStringList; begin l := TStringList.Create; l.Add('a'); "
                     "try l.Move(0, 99) finally l.Free end end."),
              q("List index out of bounds (99)"));
    EXPECT_EQ(raised("var r: Variant; l: TStringList; begin l := TStringList.Create; l.Add('a'); "
                     "try l.Move(7, 0) finally l.Free end end."),
              q("List index out of bounds (7)"));
    EXPECT_EQ(raised("var r: Variant; l: TStringList; begin l := TStringList.Create; l.Sorted := True; "
                     "try l.Insert(0, 'x') finally l.Free end end."),
              q("Operation not allowed on sorted list"));
}

TEST_F(Bridges, MembersOfObjectsFoundAtRunTime)
{
    // A list gives TObject; the members of what it holds are found in the object's class
    // when the line runs, for reading, writing and chains of members.
    expectResults({
        {"var r: Variant; l: TList; a: TStringList; begin l := TList.Create; a := TStringList.Create; a.Add('x'); "
         "l.Add(a); r := l[0].Text + IntToStr(l[0].Count); l[0].Text := 'y'; r := r + a[0] + l[0].ClassName; "
         "a.Free; l.Free end.",
         "x\r\n1yTStringList"},
    });
    EXPECT_EQ(raised("var r: Variant; l: TList; a: TStringList; begin l := TList.Create; a := TStringList.Create; "
                     "l.Add(a); try r := l[0].Nothing finally a.Free; l.Free end end."),
              q("Undeclared identifier: 'Nothing'"));
    EXPECT_EQ(raised("var r: Variant; l: TList; begin l := TList.Create; l.Add(nil); "
                     "try r := l[0].Text finally l.Free end end."),
              q("Invalid object reference"));
}

TEST_F(Bridges, ListsOfObjectsKeepHandles)
{
    expectResults({
        {"var r: Variant; l: TList; a, b: TStringList; begin l := TList.Create; a := TStringList.Create; "
         "b := TStringList.Create; r := IntToStr(l.Add(a)) + IntToStr(l.Add(b)) + IntToStr(l.Remove(l)) + "
         "IntToStr(l.Count) + IntToStr(l.IndexOf(b)); TStringList(l[1]).Add('z'); r := r + b.Text; "
         "a.Free; b.Free; l.Free end.",
         "01-121z\r\n"},
        // A list keeps the handle, not the object: a freed object can no longer be used.
        {"var r: Variant; l: TList; a: TStringList; begin l := TList.Create; a := TStringList.Create; l.Add(a); "
         "a.Free; try TStringList(l[0]).Add('x'); r := 'used' except r := ExceptionMessage end; l.Free end.",
         "Invalid object reference"},
    });
}

TEST_F(Bridges, ComponentsCollectionsAndUnservedNames)
{
    expectResults({
        {"var r: Variant; c: TCollection; o, p: TComponent; begin c := TCollection.Create; o := TComponent.Create(nil); "
         "p := TComponent.Create(o); r := IntToStr(c.Count) + VarToStr(o.Owner = nil) + VarToStr(p.Owner = o); "
         "c.Free; o.Free end.",
         "0TrueTrue"},
    });
    // A class or a member the module does not serve gives 0 and does nothing.
    TfsScript script;
    orv::script::bridges::classlib::TFunctions module(&script);
    orv::script::bridges::List list;
    EXPECT_EQ(module.InvokeMethod(&list, &orv::script::bridges::BitmapObject::staticClassInfo(), q("ADD"), nullptr).toInt(), 0);
    EXPECT_EQ(module.InvokeMethod(&list, &orv::script::bridges::List::staticClassInfo(), q("NOTHING"), nullptr).toInt(), 0);
    EXPECT_EQ(module.ReadProperty(&list, &orv::script::bridges::List::staticClassInfo(), q("NOTHING")).toInt(), 0);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(Bridges, XmlDocuments)
{
    expectResults({
        {"var r: Variant; d, e: TfsXMLDocument; i: TfsXMLItem; m: TMemoryStream; begin d := TfsXMLDocument.Create; "
         "d.Root.Name := 'report'; i := d.Root.Add; i.Name := 'page'; i.Prop['width'] := '210'; "
         "d.Root.FindItem('band').Prop['h'] := '5'; d.Root.Root.Free; "
         "m := TMemoryStream.Create; d.SaveToStream(m); m.Position := 0; e := TfsXMLDocument.Create; "
         "e.LoadFromStream(m); r := e.Root.Name + IntToStr(e.Root.Count) + e.Root[0].Prop['width'] + "
         "IntToStr(e.Root.Find('BAND')) + e.Root.Items[1].Prop['h'] + VarToStr(e.Root[1].Parent = e.Root); "
         "d.Free; e.Free; m.Free end.",
         "report22101" "5True"},
        // An element goes with its document: a handle to it no longer works.
        {"var r: Variant; d: TfsXMLDocument; i: TfsXMLItem; begin d := TfsXMLDocument.Create; i := d.Root.Add; "
         "d.Free; try i.Name := 'x' except r := ExceptionMessage end end.",
         "Invalid object reference"},
        // A tree never closes into a ring.
        {"var r: Variant; a, b: TfsXMLItem; begin a := TfsXMLItem.Create; b := a.Add; "
         "try b.AddItem(a) except r := ExceptionMessage end; a.Free end.",
         "An element cannot contain itself"},
        {"var r: Variant; a, b: TfsXMLItem; begin a := TfsXMLItem.Create; b := TfsXMLItem.Create; b.Data := 42; "
         "a.InsertItem(0, b); r := IntToStr(a.Count) + IntToStr(a[0].Data); b.Free; r := r + IntToStr(a.Count); "
         "a.Free end.",
         "1420"},
    });
}

TEST_F(Bridges, Streams)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dati.bin"));
    const auto setup = [&](TfsScript& s) { s.AddVariable(QStringLiteral("Path"), QStringLiteral("String"), Value(path)); };
    expectResults(
        {
            // Two bytes make one character; a read past the end gets what is left.
            {"var r: Variant; m: TMemoryStream; b: String; begin m := TMemoryStream.Create; "
             "r := IntToStr(m.Write('abcd', 8)); m.Position := 4; r := r + IntToStr(m.Read(b, 10)) + "
             "IntToStr(Length(b)) + Copy(b, 1, 2) + IntToStr(m.Seek(0, soFromEnd)) + IntToStr(m.Size); m.Free end.",
             "844cd88"},
            // Never more than the text holds.
            {"var r: Variant; m: TMemoryStream; begin m := TMemoryStream.Create; r := m.Write('ab', 100); "
             "m.Free end.",
             "4"},
            {"var r: Variant; f: TFileStream; l: TStringList; begin f := TFileStream.Create(Path, fmCreate); "
             "l := TStringList.Create; l.Add('riga €'); l.SaveToStream(f); f.Free; l.Clear; "
             "f := TFileStream.Create(Path, fmOpenRead); l.LoadFromStream(f); r := l[0] + IntToStr(f.Size); "
             "f.Free; l.Free end.",
             "riga €8"},
        },
        setup);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("riga \x80\r\n"));
    EXPECT_EQ(raised("var r: Variant; f: TFileStream; begin f := TFileStream.Create(Path + 'x', fmOpenRead) end.",
                     setup)
                  .left(18),
              q("Cannot open file \""));
}

TEST_F(Bridges, StringListFilesKeepEveryCharacter)
{
    QTemporaryDir dir;
    const auto setup = [&](TfsScript& s) {
        s.AddVariable(QStringLiteral("Dir"), QStringLiteral("String"), Value(dir.path() + u'/'));
    };
    expectResults({{"var r: Variant; l: TStringList; begin l := TStringList.Create; l.Add('Perché'); l.Add('Łódź'); "
                    "l.SaveToFile(Dir + 'a.txt'); l.Clear; l.LoadFromFile(Dir + 'a.txt'); r := l.Text; l.Free end.",
                    "Perché\r\nŁódź\r\n"}},
                  setup);
    QFile f(dir.filePath(QStringLiteral("a.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("\xEF\xBB\xBF"));
}

TEST_F(Bridges, IniFilesRoundTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("prova.ini"));
    const auto setup = [&](TfsScript& s) { s.AddVariable(QStringLiteral("Path"), QStringLiteral("String"), Value(path)); };
    expectResults(
        {
            {"var r: Variant; i: TIniFile; l: TStringList; begin i := TIniFile.Create(Path); l := TStringList.Create; "
             "i.WriteString('Ditta', 'Nome', 'Rossi'); i.WriteInteger('Ditta', 'Numero', 7); "
             "i.WriteBool('Ditta', 'Attiva', True); i.WriteFloat('Ditta', 'Aliquota', 22.5); "
             "l.Add('uno'); l.Add('due'); i.WriteTStrings('Lista', l, True); "
             "r := i.ReadString('Ditta', 'Nome', '') + IntToStr(i.ReadInteger('Ditta', 'Numero', 0)) + "
             "VarToStr(i.ReadBool('Ditta', 'Attiva', False)) + FloatToStr(i.ReadFloat('Ditta', 'Aliquota', 0)) + "
             "i.ReadString('Ditta', 'Manca', 'def') + IntToStr(i.ReadInteger('Ditta', 'Nome', -1)) + '|' + "
             "VarToStr(i.FileName = Path); l.Free; i.Free end.",
             "Rossi7True22,5def-1|True"},
            {"var r: Variant; i: TIniFile; l: TStringList; begin i := TIniFile.Create(Path); l := TStringList.Create; "
             "r := i.ReadTStrings('Lista', l, True); r := l.CommaText; i.ReadSections(l); r := r + '|' + l.CommaText; "
             "i.ReadSection('Ditta', l); r := r + '|' + l.CommaText; i.ReadTStrings('Nessuna', l, True); "
             "r := r + '|' + IntToStr(l.Count); l.Free; i.Free end.",
             "uno,due|Ditta,Lista|Nome,Numero,Attiva,Aliquota|0"},
            // The in-memory file changes only its copy.
            {"var r: Variant; i: TMemIniFile; l: TStringList; begin i := TMemIniFile.Create(Path); "
             "l := TStringList.Create; i.WriteString('Nuova', 'a', '1'); i.WriteString('Nuova', 'b', '2'); "
             "i.WriteString('Nuova', 'a', '3'); i.ReadSectionValuesEx('Nuova', l); r := l.CommaText; "
             "i.EraseSection('Ditta'); i.DeleteKey('Nuova', 'b'); i.ReadSections(l); r := r + '|' + l.CommaText; "
             "i.ReadSectionValues('Nuova', l); r := r + '|' + l.CommaText; l.Free; i.Free end.",
             "3,2|Lista,Nuova|a=3"},
        },
        setup);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Ditta]\r\nNome=Rossi\r\nNumero=7\r\nAttiva=1\r\nAliquota=22,5\r\n"
                                      "[Lista]\r\nItems0=uno\r\nItems1=due\r\nCount=2\r\n"));
}

TEST_F(Bridges, IniFilesThroughStreams)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    const auto setup = [&](TfsScript& s) { s.AddVariable(QStringLiteral("Path"), QStringLiteral("String"), Value(path)); };
    expectResults({{"var r: Variant; m: TMemoryStream; a: TIniFile; b: TMemIniFile; begin m := TMemoryStream.Create; "
                    "a := TIniFile.Create(Path); a.WriteString('S', 'k', 'v'); a.SaveIniFileToStream(m); "
                    "m.Position := 0; b := TMemIniFile.Create(''); b.LoadIniFileFromStream(m); "
                    "r := b.ReadString('S', 'k', '?') + IntToStr(m.Size); a.Free; b.Free; m.Free end.",
                    "v10"}},
                  setup);
}

TEST_F(Bridges, LoadingAnIniFileFromAStreamReplacesTheFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Vecchia]\r\nk=1\r\n");
    }
    QFile before(path);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const auto setup = [&](TfsScript& s) { s.AddVariable(QStringLiteral("Path"), QStringLiteral("String"), Value(path)); };
    const char* load = "var r: Variant; m: TMemoryStream; l: TStringList; a: TIniFile; begin m := TMemoryStream.Create; "
                       "l := TStringList.Create; l.Add('[Nuova]'); l.Add('k=2'); l.SaveToStream(m); m.Position := 0; "
                       "a := TIniFile.Create(Path); a.LoadIniFileFromStream(m); r := a.ReadString('Nuova', 'k', '?'); "
                       "a.Free; l.Free; m.Free end.";
    expectResults({{load, "2"}}, setup);
    // A program reading the old file meanwhile reads it whole: it was replaced, not rewritten.
    EXPECT_EQ(before.readAll(), QByteArray("[Vecchia]\r\nk=1\r\n"));
    // A file that cannot be written is the script's error, with the file's name.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("c.ini")));
    const auto inFolder = [&](TfsScript& s) {
        s.AddVariable(QStringLiteral("Path"), QStringLiteral("String"), Value(dir.filePath(QStringLiteral("c.ini"))));
    };
    EXPECT_EQ(raised(load, inFolder).left(18), q("Cannot create file"));
}

namespace {

// A canvas that records what it is asked to draw, with the colours in use.
class RecordingCanvas : public orv::platform::Canvas {
public:
    QStringList calls;
    void drawLine(const QPointF& a, const QPointF& b, double) override
    {
        calls << QStringLiteral("line %1,%2-%3,%4 %5").arg(a.x()).arg(a.y()).arg(b.x()).arg(b.y()).arg(strokeColor, 0, 16);
    }
    void fillRect(const QRectF& r, double rx, double, double) override
    {
        calls << QStringLiteral("fillrect %1,%2,%3,%4 r%5 %6")
                     .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).arg(rx).arg(fillColor, 0, 16);
    }
    void fillPolygon(const QPolygonF& p, double) override
    {
        QStringList pts;
        for (const QPointF& pt : p)
            pts << QStringLiteral("%1,%2").arg(pt.x()).arg(pt.y());
        calls << QStringLiteral("polygon ") + pts.join(u' ') + QStringLiteral(" %1").arg(fillColor, 0, 16);
    }
    void fillEllipse(const QRectF& r, double) override
    {
        calls << QStringLiteral("ellipse %1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
};

} // namespace

TEST_F(Bridges, DrawingOnACanvas)
{
    RecordingCanvas recording;
    orv::script::bridges::CanvasObject canvas(&recording);
    const auto setup = [&](TfsScript& s) { s.AddObject(QStringLiteral("Canvas"), &canvas); };
    expectResults(
        {
            {"var r: Variant; p: array[0..2] of Variant; i: Integer; begin "
             "Canvas.Fill.Color := claRed; Canvas.Stroke.Color := claBlue; "
             "Canvas.FillRect(TfsRectF.Create, 0, 0, 0, 1, ctRound); "
             "for i := 0 to 2 do begin p[i] := TfsPointF.Create; TfsPointF(p[i]).pX := i * 10; "
             "TfsPointF(p[i]).pY := 5 * (i mod 2) end; Canvas.FillPolygon(p, 1); "
             "Canvas.DrawLine(p[0], p[2], 1); for i := 0 to 2 do TfsPointF(p[i]).Free; r := 0 end.",
             "0"},
        },
        setup);
    // Once compiled, once through the statement objects.
    const QStringList once = {"fillrect 0,0,0,0 r0 ffff0000", "polygon 0,0 10,5 20,0 ffff0000", "line 0,0-20,0 ff0000ff"};
    EXPECT_EQ(recording.calls, once + once);
    expectResults(
        {
            {"var r: Variant; begin r := claBlack end.", "-16777216"},
            {"var r: Variant; begin r := IntToStr(claWhite) + ' ' + IntToStr(claNull) end.", "-1 0"},
            {"var r: Variant; begin r := IntToStr(fsBold) + IntToStr(fsItalic) + IntToStr(fsUnderline) + "
             "IntToStr(fsStrikeout) end.",
             "1248"},
            {"var r: Variant; b: TBitmap; begin b := TBitmap.Create(10, 20); r := IntToStr(b.Width) + 'x' + "
             "IntToStr(b.Height) + VarToStr(b.IsEmpty); b.Free end.",
             "10x20False"},
            // No bitmap names a style resource, so none is found behind it.
            {"var r: Variant; b, c: TBitmap; begin b := TBitmap.Create(3, 3); c := b.ResourceBitmap; "
             "r := VarToStr(c = nil) + VarToStr(b.ResourceBitmap <> nil); b.Free end.",
             "TrueFalse"},
            // The drawing classes without members are still types a script can name.
            {"var r: Variant; a: TGradientPoint; b: TGradientPoints; c: TGradient; d: TBrushBitmap; "
             "e: TBrushResource; f: TSpline; g: TBounds; h: TTransform; l: TLineMetricInfo; "
             "begin a := nil; c := nil; r := VarToStr(TObject(a) is TCollectionItem) + VarToStr(c = nil) end.",
             "FalseTrue"},
            {"var r: Variant; b: TBrush; begin b := TBrush.Create(bkSolid, claRed); r := IntToStr(b.Kind) + ' ' + "
             "IntToStr(b.Color) + ' ' + IntToStr(b.DefaultColor); b.Free end.",
             "1 -65536 -65536"},
            // The rectangle given is the one that receives the measure.
            {"var r: Variant; m: TfsRectF; begin m := TfsRectF.Create; m.Right := 1000; m.Bottom := 1000; "
             "Canvas.MeasureText(m, 'Orvanta', False, 0, 1, 1); r := (m.Right > 10) and (m.Right < 1000) and "
             "(m.Bottom > 5) and (m.Bottom < 100); m.Free end.",
             "True"},
        },
        setup);
    // Drawing on a bitmap between BeginScene and EndScene reaches its pixels; the
    // bitmap's canvas is its own, which a script's Free leaves alone.
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("b.png"));
    expectResults({{"var r: Variant; b: TBitmap; c: TCanvas; e: TfsRectF; begin b := TBitmap.Create(4, 4); "
                    "c := b.Canvas; e := TfsRectF.Create; e.Left := 2; e.Right := 4; e.Bottom := 4; c.Free; "
                    "if c.BeginScene then begin c.Fill.Color := claLime; c.FillRect(e, 0, 0, 0, 1, 0); "
                    "c.EndScene end; r := IntToStr(b.Canvas.Width) + VarToStr(b.Canvas = c); b.SaveToFile(Png); "
                    "e.Free; b.Free end.",
                    "4True"}},
                  [&](TfsScript& s) { s.AddVariable(QStringLiteral("Png"), QStringLiteral("String"), Value(png)); });
    const QImage image(png);
    EXPECT_EQ(image.pixel(3, 1), 0xFF00FF00u);
    EXPECT_EQ(qAlpha(image.pixel(0, 1)), 0);
}
