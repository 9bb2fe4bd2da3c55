// Floating arithmetic computed in one step (a whole expression into a floating variable,
// operations with a floating operand tried as floating first) gives the very bits the
// statement objects give: operands of every kind, Integers on both sides of an operation,
// division by zero, values at the edges of the range, negative zero, infinities and NaN,
// and every kind of variable as the target.
#include <cstring>

#include "engine.h"

using namespace orv::script;

using namespace scripttest;

namespace {

// The result as its type and the bits of its payload, which texts would round.
struct Bits {
    bool compiled = false;
    QString raised;
    int type = -1;
    quint64 payload = 0;
    QString text;
    bool operator==(const Bits&) const = default;
};

void PrintTo(const Bits& b, std::ostream* os)
{
    *os << "{compiled " << b.compiled << ", raised \"" << b.raised.toStdString() << "\", type " << b.type << ", bits "
        << std::hex << b.payload << std::dec << ", \"" << b.text.toStdString() << "\"}";
}

Bits runBits(const char* language, const char* source, bool compiled)
{
    orv::script::vm::setEnabled(compiled);
    Bits b;
    TfsScript script;
    script.AddRTTI();
    script.SetSyntaxType(QString::fromLatin1(language));
    script.SetLines(fsTextToLines(q(source)));
    b.compiled = script.Compile();
    if (b.compiled) {
        try {
            script.Execute();
        } catch (const orv::platform::Exception& e) {
            b.raised = e.message();
        }
        const Value r = script.Variables(QStringLiteral("r"));
        b.type = r.type();
        if (r.type() == varDouble) {
            const double d = r.asDouble();
            std::memcpy(&b.payload, &d, sizeof d);
        }
        b.text = describe(r);
    }
    orv::script::vm::setEnabled(true);
    return b;
}

// Both ways, bit for bit; the compiled result.
Bits agree(const char* language, const char* source)
{
    const Bits fast = runBits(language, source, true);
    const Bits plain = runBits(language, source, false);
    EXPECT_TRUE(fast.compiled) << language << ": " << source;
    EXPECT_EQ(fast, plain) << "compiled and plain running differ in " << language << ": " << source;
    return fast;
}

bool negativeZero(const Bits& b)
{
    return b.type == varDouble && b.payload == (quint64(1) << 63);
}

} // namespace

TEST(Floats, ExpressionsAgreeBitForBitInEveryLanguage)
{
    const struct {
        const char* language;
        const char* source;
    } cases[] = {
        // The benchmark's shape, and its twins with Double, Single and Variant operands.
        {"VoriroVoreva", "var i: Integer; x, r: Extended; begin r := 0; x := 0.5; for i := 1 to 2000 do begin "
                         "x := x * 0.999999 + 0.25; r := r + x / i - 0.5 * x; end; end."},
        {"VoriroVoreva", "var i: Integer; x: Double; r: Extended; begin r := 0; x := 0.5; for i := 1 to 2000 do begin "
                         "x := x * 0.999999 + 0.25; r := r + x / i - 0.5 * x; end; end."},
        {"VoriroVoreva", "var i: Integer; x: Single; r: Extended; begin r := 0; x := 0.5; for i := 1 to 200 do begin "
                         "x := x * 0.999999 + 0.25; r := r + x / i - 0.5 * x; end; end."},
        {"VoriroVoreva", "var i: Integer; x: Variant; r: Extended; begin r := 0; x := 0.5; for i := 1 to 200 do begin "
                         "x := x * 0.999999 + 0.25; r := r + x / i - 0.5 * x; end; end."},
        {"VoriroVoreva", "var i: Integer; x, r: Variant; begin r := 0; x := 0.5; for i := 1 to 200 do begin "
                         "x := x * 0.999999 + 0.25; r := r + x / i - 0.5 * x; end; end."},
        // Left and right sides that are operations themselves, deep nesting, Integers mixed in.
        {"VoriroVoreva", "var a, b, c: Extended; i, j: Integer; r: Extended; begin a := 1.5; b := -2.25; c := 3; i := 7; j := -3; "
                         "r := (a + b) * (c - i) / (j + a * (b - (c * (a + (b / (i - j)))))) - i / j + j * a; end."},
        {"VoriroVoreva", "var a: Extended; i, j: Integer; r: Extended; begin a := 0.1; i := 2147483647; j := 2147483647; "
                         "r := i + j + a; r := r + (i - (0 - j)) * a; r := r + i * a * j; end."},
        // An Integer product inside: its zero has no sign.
        {"VoriroVoreva", "var z: Extended; m, n: Integer; r: Extended; begin z := 0.0; z := z * (0 - 1.0); m := -3; n := 0; "
                         "r := z + m * n; end."},
        {"VoriroVoreva", "var z: Extended; m, n: Integer; r: Extended; begin z := -1.0; m := -3; n := 0; r := z * (m * n); end."},
        {"VoriroVoreva", "var z: Extended; m, n: Integer; r: Extended; begin z := -1.0; m := 65536; n := 65536; "
                         "r := z * (m * n) + m * n * 0.5; end."},
        // Edges: overflow to infinity, the smallest values, NaN.
        {"VoriroVoreva", "var a, b: Extended; r: Extended; begin a := 1e308; b := 10; r := a * b - a; end."},
        {"VoriroVoreva", "var a, b: Extended; r: Extended; begin a := 1e-308; b := 1e10; r := a / b * 0.5 + a / b; end."},
        {"VoriroVoreva", "var a, b: Extended; r: Extended; begin a := 1e308; b := 10; a := a * b; r := a - a + 1; end."},
        {"VoriroVoreva", "var a: Extended; r: Extended; begin a := 4.9e-324; r := a * 0.5 + a * 0.25; end."},
        // Operands not of their declared kind yet: a floating variable still holding its first Integer 0.
        {"VoriroVoreva", "var a, b: Extended; r: Extended; begin b := 2.5; r := a * b + 1; end."},
        {"VoriroVoreva", "var a: Currency; b: Extended; r: Extended; begin a := 1.2345; b := 3; r := a * b + b / a; end."},
        {"VoriroVoreva", "var b: Extended; v: Variant; r: Extended; begin b := 3; v := '2'; r := b * v + b; end."},
        // Each kind of target.
        {"VoriroVoreva", "var a, b: Extended; r: Double; begin a := 0.1; b := 0.2; r := a + b * 3 - a / 7; end."},
        {"VoriroVoreva", "var a, b: Extended; r: Single; begin a := 0.1; b := 0.2; r := a + b * 3 - a / 7; end."},
        {"VoriroVoreva", "var a, b: Extended; r: Variant; begin a := 0.1; b := 0.2; r := a + b * 3 - a / 7; end."},
        {"VoriroVoreva", "var a, b: Extended; r: Currency; begin a := 0.1; b := 0.2; r := a + b * 3 - a / 7; end."},
        {"VoriroVoreva", "var a: array[0..3] of Extended; b: Extended; r: Extended; begin b := 0.3; a[1] := b * 3 + 0.1; "
                         "a[2] := a[1] * b - 1; r := a[2]; end."},
        {"VoriroVoreva", "var r: Extended; function F(a, b: Extended; i: Integer): Extended; var t: Extended; begin "
                         "t := a * b + i; Result := t / 3 - a * i; end; begin r := F(0.1, 0.7, 3) + F(-2.5, 1e300, 9); end."},
        {"VoriroVoreva", "var r: Extended; procedure P(var t: Extended; a: Extended); begin t := t * a + a / 3; end; "
                         "begin r := 0.5; P(r, 0.3); P(r, 7); end."},
        {"VoriroVoreva", "var a, r: Extended; begin a := 0.1; r := 2; r := r * a; r := r + a * 3; r := r - a / 7; r := r / 3; end."},
        {"VoriroVoreva", "var a, r: Extended; i: Integer; begin r := r * 3; i := 7; a := 0.1; r := r + i; r := r * i + a; "
                         "r := r - i * a; r := r / (i + a); r := r + 1e308 * a; end."},
        {"Z++Ovuvir", "float r, a; int i; { r = 1; a = 0.3; i = 3; r += a * 2; r -= a / 3; r *= a + i; r /= a - i; r += i; }"},
        {"JScript", "var x = 0.5; var s = 0; for (var i = 1; i <= 2000; i++) { x = x * 0.999999 + 0.25; "
                    "s = s + x / i - 0.5 * x; } r = s;"},
        {"JScript", "var a = 2147483647; var b = 0.5; r = a * 2 + b; r = r + a * b * a + 7 / 2 * b;"},
        {"Z++Ovuvir", "int i; float x, r; { r = 0; x = 0.5; for (i = 1; i <= 2000; i++) { x = x * 0.999999 + 0.25; "
                      "r = r + x / i - 0.5 * x; } }"},
        {"Z++Ovuvir", "float a, b, r; int i; { a = 1.5; b = -0.0001; i = 3; r = (a - b) * (a + b) / (i * a - b) + i / 4; }"},
        {"RadivEdurav", "Dim i As Integer, x As Double, s As Double\nx = 0.5\ns = 0\nFor i = 1 To 2000\n"
                        "x = x * 0.999999 + 0.25\ns = s + x / i - 0.5 * x\nNext\nr = s"},
        {"RadivEdurav", "Dim a As Double, b As Double, i As Integer\na = 1e300\nb = 1e10\ni = 3\nr = a * b - a * b + i / 2"},
    };
    for (const auto& c : cases) {
        const Bits b = agree(c.language, c.source);
        EXPECT_EQ(b.raised, QString()) << c.language << ": " << c.source;
    }
}

TEST(Floats, SignsOfZeroAndDivisionByZeroAsTheStatementsGiveThem)
{
    // A negative zero keeps its sign through floating operations; an Integer product of zero
    // has none.
    EXPECT_TRUE(negativeZero(agree("VoriroVoreva", "var z, r: Extended; begin z := 0.0; z := z * (0 - 1.0); r := z * 1 + z; end.")));
    EXPECT_FALSE(negativeZero(agree("VoriroVoreva",
                                    "var z, r: Extended; m, n: Integer; begin z := 0.0; z := z * (0 - 1.0); m := -3; n := 0; "
                                    "r := z + m * n; end.")));
    EXPECT_TRUE(negativeZero(agree("VoriroVoreva",
                                   "var z, r: Extended; m: Integer; begin z := -1.0; m := 0; r := z * m + z * m; end.")));

    // Division by zero: the same error however the divisor is zero, and the target keeps its value.
    const char* const divisions[][2] = {
        {"VoriroVoreva", "var a, b, r: Extended; i: Integer; begin r := 7; a := 1.5; i := 0; r := a / i + 1; end."},
        {"VoriroVoreva", "var a, b, r: Extended; begin r := 7; a := 1.5; b := 0.0; r := a * 2 / b; end."},
        {"VoriroVoreva", "var a, b, r: Extended; begin r := 7; a := 1.5; b := 0.0; b := b * (0 - 1.0); r := 1 + a / (b * 2); end."},
        {"VoriroVoreva", "var a, r: Extended; begin r := 7; a := 1.5; r := a / 0 - 1; end."},
        {"VoriroVoreva", "var a, b, r: Extended; begin r := 7; a := 0.0; b := 0.0; r := a / b; end."},
        {"VoriroVoreva", "var a, r: Extended; begin r := 7; a := 0.0; r := r / a; end."},
        {"VoriroVoreva", "var a, r: Extended; i: Integer; begin r := 7; a := 2.5; i := 5; r := r / (a * 2 - i); end."},
        {"Z++Ovuvir", "float a, r; { r = 7; a = 0.0; r /= a * 3; }"},
        {"Z++Ovuvir", "float a, r; int i; { r = 7; a = 1.5; i = 0; r = a * 3 / i; }"},
        {"RadivEdurav", "Dim a As Double, b As Double\nr = 7\na = 1.5\nb = 0\nr = a / b + 1"},
        {"JScript", "var a = 1.5; var b = 0; r = 7; r = a / b;"},
    };
    for (const auto& d : divisions) {
        const Bits b = agree(d[0], d[1]);
        EXPECT_NE(b.raised, QString()) << d[1];
        EXPECT_EQ(b.text, q("7")) << d[1];
    }
}

// A comparison that decides a short circuit jumps by itself and still leaves its Boolean:
// each comparison, Integer, floating, text, Null and NaN operands, in all four languages.
TEST(Floats, ComparisonsDecidingShortCircuitsAgreeWithTheStatements)
{
    const struct {
        const char* language;
        const char* source;
        const char* result;
    } cases[] = {
        {"VoriroVoreva", "var i, n: Integer; b: Boolean; r: String; begin r := ''; n := 0; for i := 0 to 11 do begin "
                         "b := (i mod 3 = 0) or ((i mod 4 <> 1) and (i < 9)) or (i >= 10) and not (i > 10) or (i <= -1); "
                         "if b then r := r + '1' else r := r + '0'; end; end.",
         "101110111110"},
        {"VoriroVoreva", "var x, y: Extended; b: Boolean; r: String; begin x := 1e308; x := x * 10; y := x - x; r := ''; "
                         "b := (y = y) or (y <> y); r := r + VarToStr(b); b := (y < 1) or (y >= 1) or (x > 0.5) and (x <= x); "
                         "r := r + VarToStr(b); b := (x > 1e300) and (0.5 < 1) and (y <> 0); r := r + VarToStr(b); end.",
         "TrueTrueTrue"},
        {"VoriroVoreva", "var s: String; v: Variant; b: Boolean; r: String; begin s := 'abc'; v := Null; r := ''; "
                         "b := (s = 'abd') or (s < 'abd') and (v = Null); r := r + VarToStr(b); "
                         "b := (v = 1) or (v <> 1) or (s >= 'b'); r := r + VarToStr(b); end.",
         "TrueTrue"},
        {"JScript", "var s = \"\"; for (var i = 0; i < 12; i++) { var b = (i % 3 == 0) || ((i % 4 != 1) && (i < 9.5)); "
                    "if (b) s = s + \"1\"; else s = s + \"0\"; } r = s;",
         "101110111100"},
        {"Z++Ovuvir", "int i; bool b; string r; { r = \"\"; for (i = 0; i < 12; i++) { b = (i % 3 == 0) || ((i % 4 != 1) && (i < 9)); "
                      "if (b) r = r + \"1\"; else r = r + \"0\"; } }",
         "101110111100"},
        {"RadivEdurav", "s = \"\"\nFor i = 0 To 11\nb = (i Mod 3 = 0) Or ((i Mod 4 <> 1) And (i < 9))\n"
                        "If b Then\ns = s & \"1\"\nElse\ns = s & \"0\"\nEnd If\nNext\nr = s",
         "101110111100"},
    };
    for (const auto& c : cases)
        expectResult(c.language, c.source, c.result);
}
