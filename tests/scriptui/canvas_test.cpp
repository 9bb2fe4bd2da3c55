// The canvas members of scripts drawing on a bitmap, each checked by the pixels it
// leaves: paths, clip rectangles, custom dashes, text outlines, line measuring, loaded
// fonts and the named colours.
#include "fixture.h"

#include "script/bridges/graphics.h"

#include <QDirIterator>
#include <QFontDatabase>

using namespace orv::script;

namespace {

// Runs a drawing on a 40 by 40 white bitmap `b` with canvas `c` inside a scene and
// returns the picture.
QImage draw(const char* body, TfsScript** kept = nullptr)
{
    const QString source = QStringLiteral(
        "var b: TBitmap; c: TCanvas; p: TPathData; r, q: TfsRectF; t, u: TfsPointF; r1, r2: Variant; "
        "function Rect(l, t, r, b: Single): TfsRectF; begin Result := TfsRectF.Create; Result.Left := l; "
        "Result.Top := t; Result.Right := r; Result.Bottom := b end; "
        "function Pt(x, y: Single): TfsPointF; begin Result := TfsPointF.Create; Result.pX := x; Result.pY := y end; "
        "begin b := TBitmap.Create(40, 40); b.Clear(claWhite); c := b.Canvas; c.BeginScene; "
        "c.Fill.Color := claBlack; c.Stroke.Color := claBlack; %1; c.EndScene end.")
                               .arg(QString::fromUtf8(body));
    auto s = std::make_unique<TfsScript>();
    s->AddRTTI();
    s->SetLines(fsTextToLines(source));
    EXPECT_TRUE(s->Compile()) << s->ErrorMsg().toStdString() << " at " << s->ErrorPos().toStdString();
    s->Execute();
    auto* bmp = dynamic_cast<BitmapObject*>(orv::script::valueObject(s->Variables(QStringLiteral("b"))));
    QImage image = bmp ? bmp->image.convertToFormat(QImage::Format_RGB32) : QImage();
    if (kept)
        *kept = s.release();
    return image;
}

bool black(const QImage& i, int x, int y) { return qGray(i.pixel(x, y)) < 64; }
bool white(const QImage& i, int x, int y) { return qGray(i.pixel(x, y)) > 192; }

} // namespace

TEST_F(ScriptWindows, PathsAreFilledDrawnAndHitTested)
{
    TfsScript* s = nullptr;
    const QImage filled = draw("p := TPathData.Create; p.Data := 'M 5 5 L 35 5 L 5 35 Z'; c.FillPath(p, 1); "
                               "r1 := c.PtInPath(Pt(8, 8), p); r2 := c.PtInPath(Pt(30, 30), p)",
                               &s);
    std::unique_ptr<TfsScript> keep(s);
    EXPECT_TRUE(black(filled, 10, 10));  // inside the triangle
    EXPECT_TRUE(white(filled, 30, 30));  // beyond its diagonal
    EXPECT_EQ(s->Variables(QStringLiteral("r1")).toString(), QStringLiteral("True"));
    EXPECT_EQ(s->Variables(QStringLiteral("r2")).toString(), QStringLiteral("False"));
    const QImage outlined = draw("p := TPathData.Create; p.Data := 'm 5 5 h 30 v 30 h -30 z'; c.DrawPath(p, 1)");
    EXPECT_TRUE(black(outlined, 20, 5));
    EXPECT_TRUE(black(outlined, 35, 20));
    EXPECT_TRUE(white(outlined, 20, 20)); // drawn, not filled
}

TEST_F(ScriptWindows, ClipRectanglesLimitTheDrawing)
{
    // Two clip rectangles: only they are filled.
    const QImage two = draw("c.SetClipRects([Rect(0, 0, 10, 10), Rect(30, 30, 40, 40)]); c.FillRect(Rect(0, 0, 40, 40), 0, 0, 0, 1, 0)");
    EXPECT_TRUE(black(two, 5, 5));
    EXPECT_TRUE(black(two, 35, 35));
    EXPECT_TRUE(white(two, 20, 20));
    // An excluded rectangle stays as it was; after a reset the whole bitmap is reachable.
    const QImage excluded = draw("c.ExcludeClipRect(Rect(10, 10, 30, 30)); c.FillRect(Rect(0, 0, 40, 40), 0, 0, 0, 1, 0)");
    EXPECT_TRUE(black(excluded, 5, 5));
    EXPECT_TRUE(white(excluded, 20, 20));
    const QImage reset = draw("c.ExcludeClipRect(Rect(10, 10, 30, 30)); c.ResetClipRect; "
                              "c.FillRect(Rect(0, 0, 40, 40), 0, 0, 0, 1, 0)");
    EXPECT_TRUE(black(reset, 20, 20));
}

TEST_F(ScriptWindows, ACustomDashLeavesItsGaps)
{
    const QImage dashed = draw("c.StrokeThickness := 1; c.SetCustomDash([4, 4], 0); "
                               "c.DrawLine(Pt(0, 20.5), Pt(40, 20.5), 1)");
    QString pattern;
    for (int x = 0; x < 16; ++x)
        pattern += black(dashed, x, 20) ? u'#' : u'.';
    EXPECT_EQ(pattern, QStringLiteral("####....####...."));
    // Back to solid: the whole line.
    const QImage solid = draw("c.SetCustomDash([4, 4], 0); c.StrokeDash := sdSolid; "
                              "c.DrawLine(Pt(0, 20.5), Pt(40, 20.5), 1)");
    EXPECT_TRUE(black(solid, 5, 20));
}

TEST_F(ScriptWindows, TextBecomesAPathAndLinesAreMeasured)
{
    TfsScript* s = nullptr;
    const QImage text = draw("p := TPathData.Create; c.Font.Size := 30; "
                             "r1 := c.TextToPath(p, Rect(0, 0, 40, 40), 'W', False, 0, 0); "
                             "r2 := c.TextToPath(p, Rect(0, 0, 40, 40), '', False, 0, 0); c.FillPath(p, 1)",
                             &s);
    std::unique_ptr<TfsScript> keep(s);
    EXPECT_EQ(s->Variables(QStringLiteral("r1")).toString(), QStringLiteral("True"));
    EXPECT_EQ(s->Variables(QStringLiteral("r2")).toString(), QStringLiteral("False"));
    int inked = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            inked += black(text, x, y) ? 1 : 0;
    EXPECT_GT(inked, 40); // a filled letter, not a stray pixel
    EXPECT_LT(inked, 40 * 40 / 2);

    draw("q := Rect(0, 0, 60, 100); r1 := TLineMetricInfo.Create; "
         "c.MeasureLines(r1, q, 'uno due tre quattro cinque', True, 0, 1, 1); "
         "r2 := IntToStr(TLineMetricInfo(r1).Count) + ':' + TLineMetricInfo(r1).Lines[0]",
         &s);
    keep.reset(s);
    const QString measured = s->Variables(QStringLiteral("r2")).toString();
    EXPECT_GT(measured.section(u':', 0, 0).toInt(), 1);
    EXPECT_TRUE(measured.section(u':', 1).startsWith(QStringLiteral("uno")));
}

TEST_F(ScriptWindows, AFontLoadsFromAStream)
{
    QString fontFile;
    for (QDirIterator it(QStringLiteral("/usr/share/fonts"), {QStringLiteral("*.ttf")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        fontFile = it.next();
        break;
    }
    if (fontFile.isEmpty())
        GTEST_SKIP() << "no TrueType font on this machine";
    writeFile(QStringLiteral("carattere.ttf"), [&] {
        QFile f(fontFile);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }());
    writeFile(QStringLiteral("rotto.ttf"), QByteArray("not a font"));
    auto s = compile("var c: TCanvas; b: TBitmap; m: TMemoryStream; r, n: String; "
                     "procedure Load; begin m := TMemoryStream.Create; m.LoadFromFile(n); "
                     "r := r + VarToStr(c.LoadFontFromStream(m)) + ' '; m.Free end; "
                     "begin end.");
    auto* bmp = new BitmapObject;
    bmp->SetSize(10, 10);
    std::unique_ptr<BitmapObject> own(bmp);
    s->SetVariables(QStringLiteral("c"), orv::script::objectValue(&bmp->canvasObject()));
    for (const char* name : {"rotto.ttf", "carattere.ttf"}) {
        s->SetVariables(QStringLiteral("n"), Value(programFolder() + QString::fromLatin1(name)));
        s->CallFunction(QStringLiteral("Load"), Value());
    }
    EXPECT_EQ(text(*s, "r"), QStringLiteral("False True "));
    EXPECT_TRUE(QFontDatabase::families().contains(bmp->canvasObject().font().Family()));
}

TEST_F(ScriptWindows, NamedColoursComeFromTheProgramsOwnTable)
{
    const QImage blue = draw("c.Fill.Color := claCornflowerblue; c.FillRect(Rect(0, 0, 40, 40), 0, 0, 0, 1, 0)");
    EXPECT_EQ(QColor(blue.pixel(20, 20)), QColor(0x64, 0x95, 0xED));
    auto s = compile("var r: String; begin r := IntToStr(claBlack) + ' ' + VarToStr(claGray = claGrey) + ' ' + "
                     "IntToStr(claNull) + ' ' + IntToStr(claYellowgreen) end.");
    s->Execute();
    EXPECT_EQ(text(*s, "r"), QStringLiteral("-16777216 True 0 -6632142"));
    // A keyword newer than the table is no colour name.
    auto later = std::make_unique<TfsScript>();
    later->AddRTTI();
    later->SetLines(fsTextToLines(QStringLiteral("var r: Integer; begin r := claRebeccapurple end.")));
    EXPECT_FALSE(later->Compile());
}
