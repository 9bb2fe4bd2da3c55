// Short circuits, negated comparisons and arithmetic written straight into Integer and
// floating variables give what the statement objects give: every combination of the
// operands, Null and non-Boolean values, results that leave the Integer range.
#include "engine.h"

using namespace orv::script;

using namespace scripttest;

TEST(Logic, ShortCircuitsAgreeOnBothPaths)
{
    const struct {
        const char* source;
        const char* result;
    } cases[] = {
        {"var i, n: Integer; b: Boolean; r: String; begin r := ''; for i := 0 to 15 do begin "
         "b := (i mod 2 = 0) or ((i mod 4 = 1) and not (i mod 8 = 5)); if b then r := r + '1' else r := r + '0'; "
         "b := not (i = 3) and ((i < 5) or (i > 12)) and not not (i <> 4); if b then r := r + 'y'; end; end.",
         "1y1y1y01010111010y1y0y"},
        {"var i: Integer; a, b: Boolean; r: String; begin r := ''; for i := 0 to 3 do begin a := i mod 2 = 1; "
         "b := i div 2 = 1; if (a and b) or (not a and not b) then r := r + '='; if a or b and a then r := r + 'o'; end; end.",
         "=o=o"},
        // Not of a value that is no Boolean, comparisons with Null.
        {"var v: Variant; r: Variant; begin v := 6; r := not (v = 6); r := VarToStr(r) + VarToStr(not v); v := Null; "
         "r := r + VarToStr(v = 1) + VarToStr(not (v = 1)); end.",
         "False-7FalseTrue"},
    };
    for (const auto& c : cases) {
        const Outcome o = run(q(c.source));
        EXPECT_TRUE(o.compiled) << c.source << ": " << o.error.toStdString() << " at " << o.pos.toStdString();
        EXPECT_EQ(o.raised, QString()) << c.source;
        EXPECT_EQ(o.result, q(c.result)) << c.source;
    }
}

TEST(Logic, StoresIntoNumbersAgreeOnBothPaths)
{
    const char* const sources[] = {
        // Around the Integer range: the result leaves it and is written by the variable's rules.
        "var n: Integer; r: Variant; begin n := 2147483646; n := n + 1; r := n; n := n + 1; r := VarToStr(r) + ' ' + VarToStr(n); end.",
        "var n: Integer; r: Variant; begin n := -2147483647; n := n - 1; r := n; n := n - 1; r := VarToStr(r) + ' ' + VarToStr(n); end.",
        "var n: Integer; r: Variant; begin n := 65536; n := n * 65536; r := n; end.",
        "var n: Integer; r: Variant; begin n := 7; n := n mod (0 - 3); r := n; n := -7; n := n div 2; r := VarToStr(r) + ' ' + VarToStr(n); end.",
        "var n: Integer; r: Variant; begin n := 7; n := n mod 0; r := n; end.",
        "var n: Integer; x: Extended; r: Variant; v: Variant; begin n := 3; v := 0.5; n := n + v; r := n; v := '4'; n := n * v; r := VarToStr(r) + ' ' + VarToStr(n); end.",
        "var x: Extended; v, r: Variant; begin v := '2'; x := 1; x := x + 1; x := x * v; r := x; end.",
        "var x: Extended; r: Variant; begin x := 3; x := x / 0; r := x; end.",
        "var x: Double; r: Variant; begin x := 3; x := x + 2; x := x - 0.5; x := x * 4; r := x; end.",
    };
    for (const char* source : sources) {
        const Outcome o = run(q(source));
        EXPECT_TRUE(o.compiled) << source << ": " << o.error.toStdString() << " at " << o.pos.toStdString();
    }
}

// The turn of a C loop and of a Basic loop done in one step gives what the statements
// give: continue and break, counting down, bounds and variables changed in the body,
// values that are no Integers, the end of the Integer range.
TEST(Logic, LoopTurnsAgreeOnBothPaths)
{
    const struct {
        const char* language;
        const char* source;
    } cases[] = {
        {"JScript", "var s = \"\"; for (var i = 0; i < 10; i++) { if (i == 3) continue; if (i == 7) break; s = s + i; } r = s + \"/\" + i;"},
        {"JScript", "var s = 0; var n = 10; for (var i = 0; i < n; i++) { n = n - 1; s = s + i; } r = s * 100 + i;"},
        {"JScript", "var s = 0; for (var i = 10; i > 0; i--) { s = s * 2 + i % 3; if (i == 5) i = 2; } r = s;"},
        {"JScript", "var s = 0; for (var i = 0.5; i < 4; i++) s = s + i; r = s;"},
        {"JScript", "var s = 0; for (var i = 2147483645; i != 2147483647; i++) s = s + 1; r = s + i;"},
        {"Z++Ovuvir", "int r; int i; { r = 0; for (i = 0; i <= 5; i++) { if (i % 2 == 0) continue; r = r * 10 + i; } r = r * 10 + i; }"},
        {"Z++Ovuvir", "int r; int i; { r = 0; for (i = 5; i >= 0; i--) r = r * 10 + i; }"},
        {"RadivEdurav", "s = \"\"\nFor i = 1 To 10 Step 3\ns = s & i\nNext\nr = s & \"/\" & i"},
        {"RadivEdurav", "s = \"\"\nFor i = 5 To 1 Step -2\ns = s & i\nNext\nr = s & \"/\" & i"},
        {"RadivEdurav", "s = \"\"\nFor i = 1 To 3.5\ns = s & i\nNext\nr = s & \"/\" & i"},
        {"RadivEdurav", "s = \"\"\nFor i = 0.5 To 3\ns = s & i & \" \"\nNext\nr = s & \"/\" & i"},
        {"RadivEdurav", "s = 0\nFor i = 1 To 10\nIf i = 4 Then i = 8\ns = s + i\nNext\nr = s"},
        {"RadivEdurav", "s = 0\nFor i = 2147483645 To 2147483647\ns = s + 1\nNext\nr = s"},
        // Loops over the locals of routines, which may run in registers.
        {"Z++Ovuvir", "int r; int f(int n) { int i, s; s = 0; for (i = 0; i < n; i++) { if (i == 6) break; s = s * 3 + i; } "
                      "return s * 100 + i; } { r = f(4) + f(9) * 10000; }"},
        {"RadivEdurav", "Function F(n)\nDim i, s\ns = 0\nFor i = n To 1 Step -1\ns = s * 2 + i\nNext\nReturn s * 100 + i\n"
                        "End Function\nr = F(5) + F(0) * 7"},
        {"VoriroVoreva", "var r: Integer; function F(n: Integer): Integer; var i: Integer; a: array[0..3, 0..3] of Integer; "
                         "begin for i := 0 to 3 do a[i, 3 - i] := i + n; Result := a[0, 3] * 1000 + a[3, 0]; "
                         "case n of 1..2: Result := -Result; 5: Result := 0; end; end; begin r := F(1) + F(5) + F(7) * 3; end."},
    };
    for (const auto& c : cases) {
        const Outcome o = runCompiledIn(c.language, c.source);
        EXPECT_FALSE(o.result.isEmpty() && o.raised.isEmpty()) << c.source;
    }
}
