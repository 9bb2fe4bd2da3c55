// Functions of the host called straight from compiled code, inside routines whose locals
// live in registers, give what the designators give: arguments in order, their
// conversions, nesting, recursion and errors.
#include "engine.h"

using namespace orv::script;

using namespace scripttest;

TEST(HostCalls, EveryShapeAgreesOnBothPaths)
{
    const struct {
        const char* language;
        const char* source;
        const char* result;
    } cases[] = {
        {"VoriroVoreva",
         "var i, r: Integer; function F(a, b: String): Integer; begin Result := Length(a) + Length(b); end; "
         "begin r := 0; for i := 1 to 5 do r := r + F(IntToStr(i * 37), 'xy'); end.",
         "23"},
        // Recursion: every activation reads its own parameter, never the item's.
        {"VoriroVoreva",
         "var r: String; function Rev(s: String): String; begin if Length(s) <= 1 then Result := s "
         "else Result := Rev(Copy(s, 2, Length(s) - 1)) + Copy(s, 1, 1); end; begin r := Rev('abcdefg'); end.",
         "gfedcba"},
        // A later argument that runs code does not change an earlier one already read.
        {"VoriroVoreva",
         "var t, r: String; function Bump: Integer; begin t := 'zzzz'; Result := 2 end; "
         "begin t := 'abcd'; r := Copy(t, Bump, 2) + t; end.",
         "bczzzz"},
        {"VoriroVoreva",
         "var r: String; function G(k: Integer): String; var u: String; "
         "begin u := UpperCase(Copy('abcdef', k, 3)); Result := Copy(u, 2, 1) + IntToStr(Pos('D', u)) + IntToStr(k * 2); end; "
         "begin r := G(1) + '|' + G(3); end.",
         "B02|D26"},
        // The parameters' own conversions: a number where a text is declared.
        {"VoriroVoreva",
         "var r: String; function H(k: Variant): String; begin Result := UpperCase(k) + Trim(k * 2); end; "
         "begin r := H(21); end.",
         "2142"},
        // An error of the host inside a routine reaches the caller's handler.
        {"VoriroVoreva",
         "var r: String; function P(s: String): Integer; begin Result := StrToInt(s) * 2; end; "
         "begin r := ''; try r := IntToStr(P('21')); r := r + IntToStr(P('x')); except r := r + '!'; end; end.",
         "42!"},
        {"JScript",
         "function F(a, b) { return Length(a) + Length(UpperCase(b)); } var s = 0; "
         "for (var i = 0; i < 4; i++) { s = s + F(IntToStr(i * 11), \"ab\"); } r = s;",
         "15"},
    };
    for (const auto& c : cases)
        expectResult(c.language, c.source, c.result);
}

// Elements written in compiled code: at and beyond every bound, with indexes of other
// kinds, into an array another variable shares, and values of other kinds, as the path's
// walk writes them (errors at the same place).
TEST(ArrayElements, WritesAgreeOnBothPaths)
{
    const struct {
        const char* source;
        const char* result;
        bool raises;
    } cases[] = {
        {"var i, j: Integer; r: String; a: array[1..3, -2..1] of Integer; begin for i := 1 to 3 do for j := -2 to 1 do "
         "a[i, j] := i * 10 + j; r := ''; for i := 1 to 3 do for j := -2 to 1 do r := r + IntToStr(a[i, j]) + ' '; end.",
         "8 9 10 11 18 19 20 21 28 29 30 31 ", false},
        {"var i: Integer; r: String; a: array[-2..2] of Integer; begin for i := -2 to 2 do a[i] := i * i; r := ''; "
         "for i := -2 to 2 do r := r + IntToStr(a[i]); end.",
         "41014", false},
        {"var r: Variant; x: Variant; a: array[0..2, 0..2] of Variant; begin x := 1.0; a[2, x] := 7; a[x, 2] := 'z'; "
         "r := VarToStr(a[2, 1]) + a[1, 2]; end.",
         "7z", false},
        {"var r: Variant; a, b: array[0..1, 0..1] of Integer; begin a[1, 1] := 5; b := a; a[1, 1] := 6; a[0, 0] := 1; "
         "r := b[1, 1] * 10 + a[1, 1] + b[0, 0]; end.",
         "56", false},
        {"var r: Integer; a: array[0..2] of Integer; c: array[0..2] of Integer; begin a[1] := 4; c := a; c[1] := 9; "
         "r := a[1] * 10 + c[1]; end.",
         "49", false},
        {"var r: Variant; a: array[0..2, 0..2] of Integer; k: Integer; begin r := 1; k := 3; a[1, k] := 5; r := 2; end.",
         "1", true},
        {"var r: Variant; a: array[0..2, 0..2] of Integer; k: Integer; begin r := 1; k := -1; a[k, 0] := 5; r := 2; end.",
         "1", true},
        {"var r: Variant; a: array[1..2] of Integer; k: Integer; begin r := 1; k := 3; a[k] := 5; r := 2; end.", "1", true},
        {"var r: Variant; a: array[1..2] of Integer; begin r := 1; a[0] := 5; r := 2; end.", "1", true},
        {"var r: Integer; a: array[0..9, 0..9] of Integer; procedure Fill(n: Integer); var i, j: Integer; "
         "begin for i := 0 to n do for j := 0 to n do a[i, j] := i * j; end; "
         "begin Fill(9); Fill(3); r := a[9, 9] * 100 + a[3, 2]; end.",
         "8106", false},
    };
    for (const auto& c : cases) {
        const Outcome o = run(q(c.source));
        EXPECT_TRUE(o.compiled) << c.source << ": " << o.error.toStdString() << " at " << o.pos.toStdString();
        EXPECT_EQ(!o.raised.isEmpty(), c.raises) << c.source << ": " << o.raised.toStdString();
        EXPECT_EQ(o.result, q(c.result)) << c.source;
    }
}

// Elements of two-dimensional arrays read in compiled code: bounds, index conversions and
// the errors of indexes outside the array or of the wrong count give what the designator
// gives.
TEST(TwoDimensionalElements, ReadsAgreeOnBothPaths)
{
    const struct {
        const char* source;
        const char* result;
        bool raises;
    } cases[] = {
        {"var i, j, r: Integer; a: array[1..3, -2..4] of Integer; begin for i := 1 to 3 do for j := -2 to 4 do "
         "a[i, j] := i * 10 + j; r := 0; for i := 1 to 3 do for j := -2 to 4 do r := r * 3 mod 1000003 + a[i, j]; end.",
         "", false},
        {"var r: Variant; x: Variant; a: array[0..2, 0..2] of Integer; begin a[2, 1] := 7; x := 1.0; r := a[2, x]; end.",
         "7", false},
        {"var r: Variant; a: array[0..2, 0..2] of Integer; k: Integer; begin k := 3; r := a[1, k]; end.", "", true},
        {"var r: Variant; a: array[0..2, 0..2] of Integer; k: Integer; begin k := -1; r := a[k, 0]; end.", "", true},
        {"var r: Integer; a: array[0..9, 0..9] of Integer; function S(n: Integer): Integer; var i, j: Integer; "
         "begin Result := 0; for i := 0 to n do for j := 0 to n do Result := Result + a[i, j]; end; "
         "var i: Integer; begin for i := 0 to 9 do a[i, 9 - i] := i; r := S(9) * 100 + S(4); end.",
         "4500", false},
    };
    for (const auto& c : cases) {
        const Outcome o = run(q(c.source));
        EXPECT_TRUE(o.compiled) << c.source << ": " << o.error.toStdString() << " at " << o.pos.toStdString();
        EXPECT_EQ(!o.raised.isEmpty(), c.raises) << c.source << ": " << o.raised.toStdString();
        if (!c.raises && *c.result) {
            EXPECT_EQ(o.result, q(c.result)) << c.source;
        }
    }
}

// The elements of the C-like languages, read and written inside their counted loops (the
// turn done in one step): at every bound, one past it on either side, indexes held in
// Variants, and an array another variable shares.
TEST(TwoDimensionalElements, CLikeLanguagesAgreeOnBothPaths)
{
    const struct {
        const char* language;
        const char* source;
        const char* result;
        bool raises;
    } cases[] = {
        {"JScript",
         "var a[3, 4]; for (var i = 0; i < 3; i++) for (var j = 0; j < 4; j++) a[i, j] = i * 10 + j; "
         "var s = \"\"; for (i = 2; i >= 0; i--) for (j = 0; j <= 3; j++) s = s + IntToStr(a[i, j]) + \" \"; r = s;",
         "20 21 22 23 10 11 12 13 0 1 2 3 ", false},
        {"Z++Ovuvir",
         "int i, j; string r; int a[3, 4]; { for (i = 0; i < 3; i++) for (j = 0; j < 4; j++) a[i, j] = i * 10 + j; "
         "r = \"\"; for (i = 2; i >= 0; i--) for (j = 0; j <= 3; j++) r = r + IntToStr(a[i, j]) + \" \"; }",
         "20 21 22 23 10 11 12 13 0 1 2 3 ", false},
        {"JScript",
         "var a[3, 3]; var x = 1.0; var y = \"2\"; a[2, x] = 7; a[x, y] = 8; a[y, x] = a[y, x] + 1; r = a[2, 1] * 10 + a[1, 2];",
         "88", false},
        {"Z++Ovuvir",
         "int r; variant x, y; int a[3, 3]; { x = 1.0; y = \"2\"; a[2, x] = 7; a[x, y] = 8; a[y, x] = a[y, x] + 1; "
         "r = a[2, 1] * 10 + a[1, 2]; }",
         "88", false},
        {"JScript", "var a[2, 2]; var b; a[1, 1] = 5; b = a; a[1, 1] = 6; a[0, 0] = 1; r = b[1, 1] * 10 + a[1, 1] + b[0, 0];",
         "", false},
        {"Z++Ovuvir", "int r; int a[2, 2], b[2, 2]; { a[1, 1] = 5; b = a; a[1, 1] = 6; a[0, 0] = 1; "
                      "r = b[1, 1] * 10 + a[1, 1] + b[0, 0]; }",
         "", false},
        // One past each bound, read and written, in the loop that reaches it.
        {"JScript", "var a[3, 3]; r = 1; for (var k = 0; k <= 3; k++) a[1, k] = k; r = 2;", "1", true},
        {"JScript", "var a[3, 3]; r = 1; for (var k = 2; k >= -1; k--) a[k, 0] = k; r = 2;", "1", true},
        {"JScript", "var a[3, 3]; var s = 0; r = 1; for (var k = 0; k <= 3; k++) s = s + a[k, 2]; r = 2;", "1", true},
        {"JScript", "var a[3, 3]; var s = 0; r = 1; for (var k = 2; k >= -1; k--) s = s + a[0, k]; r = 2;", "1", true},
        {"Z++Ovuvir", "int r, k; int a[3, 3]; { r = 1; for (k = 0; k <= 3; k++) a[1, k] = k; r = 2; }", "1", true},
        {"Z++Ovuvir", "int r, k; int a[3, 3]; { r = 1; for (k = 2; k >= -1; k--) a[k, 0] = k; r = 2; }", "1", true},
        {"Z++Ovuvir", "int r, k, s; int a[3, 3]; { r = 1; s = 0; for (k = 0; k <= 3; k++) s = s + a[k, 2]; r = 2; }", "1",
         true},
        {"Z++Ovuvir", "int r, k, s; int a[3, 3]; { r = 1; s = 0; for (k = 2; k >= -1; k--) s = s + a[0, k]; r = 2; }", "1",
         true},
    };
    for (const auto& c : cases) {
        const Outcome o = runCompiledIn(c.language, c.source);
        EXPECT_EQ(!o.raised.isEmpty(), c.raises) << c.language << ": " << c.source << ": " << o.raised.toStdString();
        if (*c.result) {
            EXPECT_EQ(o.result, q(c.result)) << c.language << ": " << c.source;
        }
    }
}
