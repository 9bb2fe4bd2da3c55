// Calls of script routines in every language: parameters passed by reference and by
// value, texts, recursion, errors leaving calls and the depth limit. Every program runs
// compiled and through its statement objects, and both must agree.
#include "engine.h"

using namespace scripttest;

namespace {

struct CallCase {
    const char* language;
    const char* source;
    const char* result;
};

void expectCalls(const CallCase* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        expectResult(cases[i].language, cases[i].source, cases[i].result);
}

} // namespace

TEST(Calls, ParametersByReferenceGetTheirLastValuesBack)
{
    const CallCase cases[] = {
        // A variable of the main program, many times from a loop.
        {"VoriroVoreva",
         "var i, r: Integer; procedure AddTo(var a: Integer; b: Integer); begin a := a + b end; "
         "begin r := 0; for i := 1 to 1000 do AddTo(r, i mod 7) end.",
         "3003"},
        {"JScript", "function AddTo(&a, b) { a = a + b; } r = 0; for (var i = 1; i <= 1000; i++) AddTo(r, i % 7);",
         "3003"},
        {"RadivEdurav",
         "Sub AddTo(ByRef a As Integer, b As Integer)\na = a + b\nEnd Sub\nDim i As Integer\nr = 0\n"
         "For i = 1 To 1000\nAddTo(r, i Mod 7)\nNext",
         "3003"},
        {"Z++Ovuvir",
         "int i, r; void AddTo(int &a, int b) { a = a + b; } { r = 0; for (i = 1; i <= 1000; i++) AddTo(r, i % 7); }",
         "3003"},
        // The same variable passed twice: each parameter has its own value inside, the
        // variable gets the last parameter's value back.
        {"VoriroVoreva",
         "var r: Integer; procedure Both(var a, b: Integer); begin a := a + 1; b := b * 10 end; begin r := 2; Both(r, r) end.",
         "20"},
        {"JScript", "function Both(&a, &b) { a = a + 1; b = b * 10; } r = 2; Both(r, r);", "20"},
        {"RadivEdurav", "Sub Both(ByRef a, ByRef b)\na = a + 1\nb = b * 10\nEnd Sub\nr = 2\nBoth(r, r)", "20"},
        {"Z++Ovuvir", "int r; void Both(int &a, int &b) { a = a + 1; b = b * 10; } { r = 2; Both(r, r); }", "20"},
        // The callee does not see the caller's variable change while it runs: it works on
        // its parameter, and the variable gets the value when the call is over.
        {"VoriroVoreva",
         "var g, r: Integer; procedure P(var a: Integer); begin a := 5; r := g end; begin g := 1; P(g); r := r * 10 + g end.",
         "15"},
        {"Z++Ovuvir", "int g, r; void P(int &a) { a = 5; r = g; } { g = 1; P(g); r = r * 10 + g; }", "15"},
        // An array element and a Variant passed by reference.
        {"VoriroVoreva",
         "var r: Integer; a: array[0..2] of Integer; procedure Inc2(var x: Integer); begin x := x + 2 end; "
         "begin a[1] := 40; Inc2(a[1]); Inc2(a[1]); r := a[1] end.",
         "44"},
        {"JScript", "var a[3]; function Inc2(&x) { x = x + 2; } a[2] = 40; Inc2(a[2]); r = a[2];", "42"},
        {"RadivEdurav", "Dim a[3]\nSub Inc2(ByRef x)\nx = x + 2\nEnd Sub\na[0] = 40\nInc2(a[0])\nr = a[0]", "42"},
        {"Z++Ovuvir", "int r; int a[3]; void Inc2(int &x) { x = x + 2; } { a[2] = 40; Inc2(a[2]); r = a[2]; }", "42"},
        {"VoriroVoreva",
         "var v: Variant; r: String; procedure Put(var x: Variant); begin x := 'testo' end; begin v := 1; Put(v); r := v end.",
         "testo"},
        // A value of another kind goes back through the variable's own assignment rules.
        {"VoriroVoreva",
         "var n: Integer; r: String; procedure Put(var x: Variant); begin x := '12' end; begin n := 1; Put(n); "
         "r := IntToStr(n + 1) end.",
         "13"},
        {"VoriroVoreva",
         "var n: Integer; v: Variant; r: String; procedure Two(var x, y: Variant); begin x := 7; y := '8' end; "
         "begin Two(v, n); r := IntToStr(v + n) end.",
         "15"},
        // Recursion: each activation passes its own parameter on by reference.
        {"VoriroVoreva",
         "var r: Integer; procedure Count(var total: Integer; n: Integer); begin if n > 0 then begin "
         "total := total + n; Count(total, n - 1) end end; begin r := 0; Count(r, 100) end.",
         "5050"},
        {"JScript",
         "function Count(&total, n) { if (n > 0) { total = total + n; Count(total, n - 1); } } r = 0; Count(r, 100);",
         "5050"},
        {"RadivEdurav",
         "Sub Count(ByRef total, n)\nIf n > 0 Then\ntotal = total + n\nCount(total, n - 1)\nEnd If\nEnd Sub\n"
         "r = 0\nCount(r, 100)",
         "5050"},
        {"Z++Ovuvir",
         "int r; void Count(int &total, int n) { if (n > 0) { total = total + n; Count(total, n - 1); } } "
         "{ r = 0; Count(r, 100); }",
         "5050"},
        // A local of the caller passed by reference, the caller recursing itself.
        {"VoriroVoreva",
         "var r: Integer; procedure Twice(var x: Integer); begin x := x * 2 end; "
         "function Deep(n: Integer): Integer; var k: Integer; begin k := n; Twice(k); "
         "if n > 0 then Result := k + Deep(n - 1) else Result := k end; begin r := Deep(10) end.",
         "110"},
    };
    expectCalls(cases, std::size(cases));
}

TEST(Calls, TextParametersAreTheCallersOwnCopies)
{
    const CallCase cases[] = {
        // Changing a text parameter inside leaves the caller's text as it was.
        {"VoriroVoreva",
         "var s, r: String; function F(a: String): Integer; begin a := a + 'xyz'; a[1] := 'Q'; Result := Length(a) end; "
         "begin s := 'abc'; r := IntToStr(F(s)) + s + IntToStr(F(s)) + s end.",
         "6abc6abc"},
        {"JScript", "function F(a) { a = a + \"xyz\"; return Length(a); } var s = \"abc\"; r = IntToStr(F(s)) + s + IntToStr(F(s)) + s;",
         "6abc6abc"},
        {"RadivEdurav",
         "Function F(a As String) As Integer\na = a & \"xyz\"\nReturn Length(a)\nEnd Function\n"
         "Dim s As String\ns = \"abc\"\nr = IntToStr(F(s)) & s & IntToStr(F(s)) & s",
         "6abc6abc"},
        {"Z++Ovuvir",
         "string s, r; int F(string a) { a = a + \"xyz\"; return Length(a); } "
         "{ s = \"abc\"; r = IntToStr(F(s)) + s + IntToStr(F(s)) + s; }",
         "6abc6abc"},
        // Texts and a text passed by reference through recursion.
        {"VoriroVoreva",
         "var r: String; procedure Join(var acc: String; part: String; n: Integer); begin if n > 0 then begin "
         "acc := acc + part; Join(acc, part + IntToStr(n), n - 1) end end; begin r := '>'; Join(r, 'a', 3) end.",
         ">aa3a32"},
        {"JScript",
         "function Join(&acc, part, n) { if (n > 0) { acc = acc + part; Join(acc, part + IntToStr(n), n - 1); } } "
         "r = \">\"; Join(r, \"a\", 3);",
         ">aa3a32"},
        {"RadivEdurav",
         "Sub Join(ByRef acc, part, n)\nIf n > 0 Then\nacc = acc & part\nJoin(acc, part & IntToStr(n), n - 1)\nEnd If\n"
         "End Sub\nr = \">\"\nJoin(r, \"a\", 3)",
         ">aa3a32"},
        {"Z++Ovuvir",
         "string r; void Join(string &acc, string part, int n) { if (n > 0) { acc = acc + part; "
         "Join(acc, part + IntToStr(n), n - 1); } } { r = \">\"; Join(r, \"a\", 3); }",
         ">aa3a32"},
        // Many calls with the same texts: nothing of them is lost or kept too long.
        {"VoriroVoreva",
         "var i, r: Integer; s: String; function F(a, b: String): Integer; begin Result := Length(a) + Length(b) end; "
         "begin r := 0; s := 'abcdef'; for i := 1 to 1000 do r := r + F(s, 'xy') end.",
         "8000"},
        {"RadivEdurav",
         "Function F(a As String, b As String) As Integer\nReturn Length(a) + Length(b)\nEnd Function\n"
         "Dim i As Integer, t As String\nr = 0\nt = \"abcdef\"\nFor i = 1 To 1000\nr = r + F(t, \"xy\")\nNext",
         "8000"},
    };
    expectCalls(cases, std::size(cases));
}

TEST(Calls, ErrorsLeaveNestedCallsWithoutWritingBack)
{
    const CallCase cases[] = {
        // The error passes two calls; the parameter passed by reference keeps the caller's
        // value, and the routines run normally afterwards.
        {"VoriroVoreva",
         "var n: Integer; r: String; procedure Inner(var x: Integer); begin x := 99; RaiseException('giu') end; "
         "procedure Outer(var y: Integer; t: String); begin y := 50; Inner(y) end; "
         "begin n := 1; try Outer(n, 'q') except r := ExceptionMessage end; r := r + IntToStr(n) end.",
         "giu1"},
        {"JScript",
         "function Inner(&x) { x = 99; RaiseException(\"giu\"); } function Outer(&y, t) { y = 50; Inner(y); } "
         "var n = 1; try { Outer(n, \"q\"); } except { r = ExceptionMessage; } r = r + IntToStr(n);",
         "giu1"},
        {"RadivEdurav",
         "Sub Inner(ByRef x)\nx = 99\nRaiseException(\"giu\")\nEnd Sub\nSub Outer(ByRef y, t)\ny = 50\nInner(y)\nEnd Sub\n"
         "n = 1\nTry\nOuter(n, \"q\")\nCatch\nr = ExceptionMessage\nEnd Try\nr = r & IntToStr(n)",
         "giu1"},
        {"Z++Ovuvir",
         "int n; string r; void Inner(int &x) { x = 99; RaiseException(\"giu\"); } "
         "void Outer(int &y, string t) { y = 50; Inner(y); } "
         "{ n = 1; try { Outer(n, \"q\"); } except { r = ExceptionMessage; } r = r + IntToStr(n); }",
         "giu1"},
        // A run-time error (division by zero) deep in a recursion that passes texts.
        {"Z++Ovuvir",
         "string r; int D(string s, int n) { if (n == 0) return 1 % n; return D(s + \"x\", n - 1) + 1; } "
         "{ try { r = IntToStr(D(\"a\", 40)); } except { r = ExceptionMessage; } }",
         "Division by zero"},
    };
    expectCalls(cases, std::size(cases));
}

TEST(Calls, AnExitAfterABreakInTheSameListDoesNotLeaveTheRoutine)
{
    // The break ends the list before the exit is reached; the routine goes on behind the loop.
    const CallCase cases[] = {
        {"VoriroVoreva",
         "var r: Integer; function F: Integer; var i: Integer; begin Result := 0; for i := 1 to 5 do begin "
         "Result := Result + 1; if i = 2 then begin break; exit end end; Result := Result * 10 end; begin r := F end.",
         "20"},
        {"JScript",
         "function F() { var t = 0; for (var i = 1; i <= 5; i++) { t = t + 1; if (i == 2) { break; return t; } } "
         "return t * 10; } r = F();",
         "20"},
        {"Z++Ovuvir",
         "int r; int F() { int t = 0; for (int i = 1; i <= 5; i++) { t++; if (i == 2) { break; return t; } } "
         "return t * 10; } { r = F(); }",
         "20"},
    };
    expectCalls(cases, std::size(cases));
}

TEST(Calls, TooDeepRecursionIsACatchableError)
{
    const CallCase cases[] = {
        {"VoriroVoreva",
         "var r: String; procedure P(var n: Integer; s: String); begin n := n + 1; P(n, s) end; "
         "var k: Integer; begin k := 0; try P(k, 'abc') except r := ExceptionMessage end end.",
         "Stack overflow"},
        {"JScript", "function P(&n, s) { n = n + 1; P(n, s); } var k = 0; try { P(k, \"abc\"); } except { r = ExceptionMessage; }",
         "Stack overflow"},
        {"RadivEdurav",
         "Sub P(ByRef n, s As String)\nn = n + 1\nP(n, s)\nEnd Sub\nk = 0\nTry\nP(k, \"abc\")\nCatch\nr = ExceptionMessage\nEnd Try",
         "Stack overflow"},
        {"Z++Ovuvir",
         "string r; int k; void P(int &n, string s) { n = n + 1; P(n, s); } { k = 0; try { P(k, \"abc\"); } except { r = ExceptionMessage; } }",
         "Stack overflow"},
        {"Z++Ovuvir",
         "string r; int F(int n) { return F(n + 1) + 1; } { try { r = IntToStr(F(0)); } except { r = ExceptionMessage; } }",
         "Stack overflow"},
    };
    expectCalls(cases, std::size(cases));
}
