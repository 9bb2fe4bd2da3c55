// Small programs with their results: expressions, statements, declarations.
#include "engine.h"

using namespace orv::script;

using namespace scripttest;

namespace {

struct Case {
    const char* source;
    const char* result;
};

void expectResults(const Case* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const Case& c = cases[i];
        const Outcome o = run(q(c.source));
        EXPECT_TRUE(o.compiled) << c.source << ": " << o.error.toStdString() << " at " << o.pos.toStdString();
        EXPECT_EQ(o.raised, QString()) << c.source;
        EXPECT_EQ(o.result, q(c.result)) << c.source;
    }
}

} // namespace

TEST(Programs, ExpressionsFollowPrioritiesAndValueRules)
{
    const Case cases[] = {
        {"var r: Variant; begin r := 2 + 3 * 4 end.", "14"},
        {"var r: Variant; begin r := (2 + 3) * 4 end.", "20"},
        {"var r: Variant; begin r := 10 - 4 - 3 end.", "3"},
        {"var r: Variant; begin r := 2 * 3 div 4 end.", "1"},
        {"var r: Variant; begin r := not True = False end.", "True"},
        {"var r: Variant; begin r := -2 * 3 end.", "-6"},
        {"var r: Variant; begin r := 6 and 3 end.", "2"},
        {"var r: Variant; begin r := 'ab' + 'cd' end.", "abcd"},
        {"var r: Variant; begin r := 7 / 2 end.", "3,5"},
        {"var r: Variant; begin r := VarType(6 / 3) end.", "5"},
        {"var r: Variant; begin r := -7 div 2 end.", "-3"},
        {"var r: Variant; begin r := -7 mod 2 end.", "-1"},
        {"var r: Variant; begin r := 2147483647 + 1 end.", "2147483648"},
        {"var r: Variant; begin r := 5 in [1, 3..6, 9] end.", "True"},
        {"var r: Variant; begin r := 7 in [1, 3..6, 9] end.", "False"},
        {"var r: Variant; begin r := 3 in [3..6] end.", "True"},
        {"var r: Variant; begin r := 'b' < 'a' end.", "False"},
        {"var r: Variant; begin r := 'B' < 'a' end.", "True"},
        {"var r: Variant; begin r := Null = Null end.", "True"},
        {"var r: Variant; begin r := Null + 1 end.", "Null"},
        {"var r: Variant; begin r := 1 shl 4 or 1 end.", "17"},
        {"var r: Variant; begin r := $FF xor 15 end.", "240"},
        {"var r: Variant; begin r := 1.5e3 end.", "1500"},
        // A Variant holding a text compared with a number reads the text as a number.
        {"var r, v: Variant; begin v := '3'; r := v + 4 end.", "7"},
        // "and", "or" between Booleans stop at the left side when it decides.
        {"var r: Variant; n: Integer; function F: Boolean; begin n := n + 1; Result := True end; "
         "begin n := 0; r := False and F; r := (True or F) and (n = 0) end.",
         "True"},
        // Without brackets, a < b and c groups as a < (b and c): 1 < (6 and 3).
        {"var r: Variant; a, b, c: Integer; begin a := 1; b := 6; c := 3; r := a < b and c end.", "True"},
        // The left operand is read before the right one runs: a call that changes the
        // left variable does not change what was read.
        {"var r: Variant; x: Integer; function G: Integer; begin x := 10; Result := 1 end; "
         "begin x := 1; r := x + G end.", "2"},
        {"var r: Variant; x: Integer; function G: Integer; begin x := 10; Result := 1 end; "
         "begin x := 1; r := (x - G) * 10 + x * G end.", "10"},
        {"var r: Variant; t: String; function G: String; begin t := 'z'; Result := 'b' end; "
         "begin t := 'a'; r := t + G end.", "ab"},
        {"var r: Variant; x: Integer; function G: Integer; begin x := 10; Result := 3 end; "
         "begin x := 1; r := 0; if x < G then r := 1 end.", "1"},
        {"var r: Variant; i, x: Integer; function G: Integer; begin x := 10; Result := 3 end; "
         "begin x := 1; r := 0; for i := x to G do r := r + i end.", "6"},
        {"var r: Variant; x: Integer; function G: Integer; begin x := 10; Result := 1 end; "
         "function P(a, b: Integer): Integer; begin Result := a * 100 + b end; "
         "begin x := 1; r := P(x, G) + P(x, 0) end.", "1101"},
    };
    expectResults(cases, std::size(cases));
}

TEST(Programs, DeclarationsAndInitialValues)
{
    const Case cases[] = {
        {"var r: Variant; a, b: Integer = 1; begin r := a + b end.", "2"},
        {"const N = 2 * 3; var r: Variant; begin r := N end.", "6"},
        {"var r: Variant; a: array[1..3] of Integer; begin a[1] := 5; a[3] := 7; r := a[1] + a[3] end.", "12"},
        {"var r: Variant; a: array[1..3] of Integer; begin r := Length(a) end.", "3"},
        // One size gives the bounds 0 and size - 1.
        {"var r: Variant; a: array[5] of Integer; begin a[0] := 1; a[4] := 2; r := Length(a) end.", "5"},
        {"var r: Variant; a: array of Integer; begin r := Length(a) end.", "1"},
        {"var r: Variant; m: array[0..2, 0..3] of Integer; begin m[2, 3] := 9; m[1, 0] := 4; r := m[2, 3] + m[1, 0] end.",
         "13"},
        {"var r: Variant; s: String; begin s := 'abc'; s[2] := 'X'; r := s + s[1] end.", "aXca"},
        {"var r: Variant; c: Char; begin c := 'q'; r := c end.", "q"},
        {"var r: Variant; i: Integer; v: Variant; begin v := '12'; i := v; r := VarType(i) + i end.", "15"},
        {"var r: Variant; i: Integer; v: Variant; begin v := 2.5; i := v; r := i end.", "2"},
        {"var r: Variant; e: Extended; begin e := 3; r := e / 2 end.", "1,5"},
        {"var r: Variant; b: Boolean; begin r := b end.", "False"},
        {"var r: Variant; s: String; begin r := Length(s) end.", "0"},
        {"var r: Variant; v: Variant; begin r := VarType(v) end.", "1"},
        // A text held in a Variant is indexed by character.
        {"var r, v: Variant; begin v := 'hello'; r := v[2] end.", "e"},
        {"var r, v: Variant; begin v := VarArrayCreate([0, 2], varVariant); v[1] := 'x'; r := v[1] end.", "x"},
        // Initial values are assigned when the list runs, in the order of the text.
        {"var r: Integer = 1; begin r := r + 1 end.", "2"},
    };
    expectResults(cases, std::size(cases));
}

TEST(Programs, StatementsAndControlFlow)
{
    const Case cases[] = {
        {"var r, i: Integer; begin r := 0; for i := 1 to 3 do r := r + i end.", "6"},
        {"var r, i: Integer; begin i := 7; for i := 1 to 3 do ; r := i end.", "3"},
        // Counting up from 3 to 1 runs nothing and leaves the variable as it was.
        {"var r, i: Integer; begin i := 7; r := 0; for i := 3 to 1 do r := 1; r := r * 100 + i end.", "7"},
        {"var r: String; i: Integer; begin r := ''; for i := 3 downto 1 do r := r + IntToStr(i) end.", "321"},
        // The end bound is fixed when the loop starts.
        {"var r, i, n: Integer; begin n := 3; r := 0; for i := 1 to n do begin n := 10; r := r + 1 end end.", "3"},
        // Counting runs to the end of the Integer range and stops there.
        {"var r, i: Integer; begin r := 0; for i := 2147483646 to 2147483647 do r := r + 1 end.", "2"},
        {"var r, i, j: Integer; begin r := 0; for i := 1 to 3 do for j := 1 to 10 do begin if j > 2 then break; r := r + 1 end end.",
         "6"},
        {"var r, i: Integer; begin r := 0; for i := 1 to 5 do begin if i mod 2 = 0 then continue; r := r + i end end.", "9"},
        {"var r, i: Integer; begin r := 0; i := 0; while i < 5 do begin i := i + 1; if i = 4 then break; r := r + i end end.",
         "6"},
        {"var r: Integer; begin r := 0; repeat r := r + 1 until True end.", "1"},
        {"var r: Integer; begin r := 0; repeat r := r + 1; if r > 100 then break until r >= 5 end.", "5"},
        {"var r: String; begin case 3 of 1: r := 'one'; 2..4: r := 'few'; 3: r := 'three' else r := 'many' end end.",
         "few"},
        {"var r: String; begin case 9 of 1: r := 'one' else r := 'many' end end.", "many"},
        {"var r: String; begin r := 'x'; case 'b' of 'a', 'b': r := 'ab'; end end.", "ab"},
        // A selector with an empty statement is dropped: its values reach the else branch.
        {"var r: String; begin r := 'x'; case 1 of 1: ; else r := 'else' end end.", "else"},
        {"var r: Integer; begin r := 1; if r > 0 then r := 2 else r := 3 end.", "2"},
        {"var r: Integer; begin r := 0; if r > 0 then r := 2 else if r = 0 then r := 4 end.", "4"},
        {"var r: Variant; o: Variant; begin with o do r := 1 end.", "1"},
    };
    expectResults(cases, std::size(cases));
}

TEST(Programs, RoutinesRecursionAndExit)
{
    const Case cases[] = {
        // The caller's parameter survives the inner call.
        {"var r: Integer; function Fact(n: Integer): Integer; begin if n <= 1 then Result := 1 "
         "else Result := n * Fact(n - 1) end; begin r := Fact(10) end.",
         "3628800"},
        {"var r: Integer; function Fib(k: Integer): Integer; begin if k < 2 then Result := k "
         "else Result := Fib(k - 1) + Fib(k - 2) end; begin r := Fib(20) end.",
         "6765"},
        // Locals are kept across recursion too.
        {"var r: String; procedure P(n: Integer); var s: String; begin s := IntToStr(n); if n > 0 then P(n - 1); "
         "r := r + s end; begin r := ''; P(3) end.",
         "0123"},
        {"var r: Integer; procedure Add(var x: Integer; d: Integer); begin x := x + d end; begin r := 1; Add(r, 5) end.",
         "6"},
        // An expression passed for a by-reference parameter is left as it is.
        {"var r: Integer; procedure Zero(var x: Integer); begin x := 0 end; begin r := 5; Zero(r + 1) end.", "5"},
        {"var r: Integer; function F: Integer; begin Result := 1; exit; Result := 2 end; begin r := F end.", "1"},
        // exit inside try ... finally runs the finally part, then leaves the routine.
        {"var r: String; procedure P; begin try r := r + 'a'; exit; r := r + 'b' finally r := r + 'f' end; "
         "r := r + 'c' end; begin r := ''; P; r := r + 'd' end.",
         "afd"},
        {"var r: Integer; function Twice(x: Integer = 21): Integer; begin Result := x * 2 end; begin r := Twice end.",
         "42"},
        // A typed function's Result starts as its kind's empty value.
        {"var r: Variant; function F: Integer; begin end; begin r := VarType(F) end.", "3"},
        {"var r: Variant; function F: Variant; begin end; begin r := VarType(F) end.", "0"},
        // Routines may be called before the text declares them.
        {"var r: Integer; function A(x: Integer): Integer; begin Result := B(x) + 1 end; "
         "function B(x: Integer): Integer; begin Result := x * 10 end; begin r := A(4) end.",
         "41"},
    };
    expectResults(cases, std::size(cases));
}

TEST(Programs, ExceptionsInsideScripts)
{
    const Case cases[] = {
        {"var r: String; begin try RaiseException('boom'); r := 'no' except r := ExceptionClassName + ': ' + ExceptionMessage end end.",
         "Exception: boom"},
        {"var r: String; i: Integer; begin try i := StrToInt('x1') except r := ExceptionMessage end end.",
         "'x1' is not a valid integer value"},
        {"var r: String; i: Integer; begin try i := 0; i := 5 div i except r := ExceptionClassName end end.", "EDivByZero"},
        {"var r: String; s: String; begin s := 'ab'; try r := s[3] except r := ExceptionMessage end end.",
         "Range check error"},
        {"var r: String; a: array[0..2] of Integer; begin try a[3] := 1 except r := ExceptionMessage end end.",
         "Range check error"},
        // An error inside a called routine passes its finally parts on the way out.
        {"var r: String; procedure P; begin try RaiseException('x') finally r := r + 'f' end end; "
         "begin r := ''; try P except r := r + 'e' end end.",
         "fe"},
    };
    expectResults(cases, std::size(cases));
    // Errors nobody catches reach the host with their message.
    const Outcome o = run(q("var r: Integer; begin r := 1; RaiseException('to the host'); r := 2 end."));
    EXPECT_EQ(o.raised, QStringLiteral("to the host"));
    EXPECT_EQ(o.result, QStringLiteral("1"));
}

TEST(Programs, EndlessRecursionIsAnErrorNotACrash)
{
    const Outcome caught = run(q("var r: String; procedure P; begin P end; begin try P except r := ExceptionMessage end end."));
    EXPECT_EQ(caught.result, QStringLiteral("Stack overflow"));
    const Outcome host = run(q("var r: Integer; function F(n: Integer): Integer; begin Result := F(n + 1) end; "
                               "begin r := F(0) end."));
    EXPECT_EQ(host.raised, QStringLiteral("Stack overflow"));
}

TEST(Programs, VeryLongExpressionsFailToCompileInsteadOfOverflowing)
{
    QString sum = QStringLiteral("1");
    for (int i = 0; i < 5000; ++i)
        sum += QStringLiteral(" + 1");
    const Outcome o = run(QStringLiteral("var r: Variant; begin r := %1 end.").arg(sum));
    EXPECT_FALSE(o.compiled);
    EXPECT_EQ(o.error, QStringLiteral("Expression too complex"));
    // A long one that stays within the bound still works.
    QString shorter = QStringLiteral("0");
    for (int i = 0; i < 500; ++i)
        shorter += QStringLiteral(" + 2");
    EXPECT_EQ(run(QStringLiteral("var r: Variant; begin r := %1 end.").arg(shorter)).result, QStringLiteral("1000"));
}

TEST(Programs, RoutinesKeepParametersAndLocalsAcrossActivations)
{
    const Case cases[] = {
        // Locals written before they are read, across recursion.
        {"var r: Integer; function Sum(n: Integer): Integer; var a, b: Integer; begin if n = 0 then Result := 0 "
         "else begin a := n; b := Sum(n - 1); Result := a + b end end; begin r := Sum(100) end.",
         "5050"},
        // A loop variable and a total of each activation survive the inner calls.
        {"var r: Integer; function Tri(n: Integer): Integer; var i, t, u: Integer; begin t := 0; for i := 1 to n do "
         "begin u := t; t := u + i end; "
         "if n > 1 then Result := t + Tri(n - 1) + i - n else Result := t end; begin r := Tri(10) end.",
         "220"},
        // A local read before it is written starts with what the caller's activation holds,
        // and keeps the last value of the outermost one afterwards.
        {"var r: Integer; function F(n: Integer): Integer; var x, y: Integer; begin y := x; x := n; Result := y; "
         "if n > 0 then Result := y + F(n - 1) end; begin r := F(3) + F(3) end.",
         "15"},
        // Texts passed along and swapped between parameters.
        {"var r: String; function Pick(s, t: String; n: Integer): String; begin if n = 0 then Result := s "
         "else Result := Pick(t, s, n - 1) end; begin r := Pick('a', 'b', 5) + Pick('c', 'd', 4) end.",
         "bc"},
        // Mutual recursion, exit keeping the Result set before it.
        {"var r: Integer; function IsOdd(n: Integer): Boolean; begin if n = 0 then Result := False else Result := IsEven(n - 1) end; "
         "function IsEven(n: Integer): Boolean; begin Result := True; if n = 0 then exit; Result := IsOdd(n - 1) end; "
         "begin r := 0; if IsOdd(7) then r := 10; if IsEven(7) then r := 1 end.",
         "10"},
        // Assignments to locals convert by the local's kind.
        {"var r: Variant; function H(n: Integer): Variant; var x: Extended; b: Boolean; begin x := n; b := n > 2; "
         "if b then Result := x * 0.5 else Result := H(n + 1) end; begin r := FloatToStr(H(1)) + '/' + IntToStr(VarType(H(3))) end.",
         "1,5/5"},
        // A procedure that is no function, called as a statement.
        {"var r: Integer; procedure P(n: Integer); begin if n > 0 then begin r := n * 2; P(n - 1) end end; "
         "begin r := 7; P(4) end.",
         "2"},
    };
    expectResults(cases, std::size(cases));
}

TEST(Programs, ErrorsLeaveRecursionCleanly)
{
    // A run-time error deep inside recursion reaches the handler; the routines run again
    // afterwards with their own values.
    const Case cases[] = {
        {"var r: String; function D(n: Integer): Integer; begin if n = 0 then Result := 1 div n "
         "else Result := D(n - 1) + 1 end; "
         "function Pick(s, t: String; n: Integer): String; begin if n = 0 then Result := s else Result := Pick(t, s, n - 1) end; "
         "begin r := ''; try r := IntToStr(D(50)) except r := ExceptionMessage end; "
         "r := r + '/' + Pick('x', 'y', 3) end.",
         "Division by zero/y"},
    };
    expectResults(cases, std::size(cases));
}

TEST(Programs, CompoundAssignmentsStepsAndLoopsAgreeInEveryLanguage)
{
    const struct {
        const char* language;
        const char* source;
        const char* result;
    } cases[] = {
        // A Variant holding a text grows; with a number it adds as numbers.
        {"VoriroVoreva", "var r: Variant; i: Integer; begin r := ''; for i := 1 to 3 do r := r + IntToStr(i) end.", "123"},
        {"VoriroVoreva", "var r: Variant; begin r := '3'; r := r + 5 end.", "8"},
        {"VoriroVoreva", "var r: Variant; begin r := 'ab'; r := r + r end.", "abab"},
        {"VoriroVoreva", "var r: Variant; begin r := r + 1 end.", "Null"},
        {"VoriroVoreva", "var r: Variant; begin r := 2147483647; r := r + 1 end.", "2147483648"},
        {"VoriroVoreva", "var r: Extended; begin r := 1; r := r / 4; r := r * 32; r := r - 0.5; r := r + 1 end.", "8,5"},
        {"VoriroVoreva", "var r: Integer; x: Extended; begin x := 7; r := 2; if x / r > 3 then r := r * 10 end.", "20"},
        // A Variant takes the result of the last operation as it is, also when an operand
        // is the target itself, and keeps its value when the operation fails.
        {"VoriroVoreva", "var r: Variant; begin r := 5; r := r * 3 - r end.", "10"},
        {"VoriroVoreva", "var r: Variant; begin r := '7'; r := 2 * r end.", "14"},
        {"VoriroVoreva", "var r: Variant; begin r := 2147483647; r := 1 + r end.", "2147483648"},
        {"VoriroVoreva", "var r: Variant; begin r := 1; try r := 5 / (r - 1) except end end.", "1"},
        // A floating variable takes Integer results and texts by its own rules.
        {"VoriroVoreva", "var r: Extended; i: Integer; begin i := 3; r := i * 2; r := i / 2 + r end.", "7,5"},
        {"VoriroVoreva", "var r: Extended; v: Variant; begin v := '2'; r := v * 3 end.", "6"},
        {"VoriroVoreva", "var r: Extended; i: Integer; begin r := 1; i := 0; try r := r / i except end end.", "1"},
        {"VoriroVoreva",
         "var r: Variant; function F(n: Integer): Variant; var t: Variant; begin t := n; t := 10 - t; Result := t * t end; "
         "begin r := F(3) end.",
         "49"},
        // The target is read before the expression runs code that changes it.
        {"VoriroVoreva", "var r: Integer; function F: Integer; begin r := 100; Result := 1 end; begin r := 5; r := r + F end.",
         "6"},
        {"VoriroVoreva", "var r: Variant; function F: String; begin r := 'z'; Result := 'b' end; begin r := 'a'; r := r + F end.",
         "zb"},
        // The same inside routines whose locals live in registers.
        {"VoriroVoreva",
         "var r: Variant; function G(n: Integer): Variant; var t: Variant; i: Integer; begin t := ''; "
         "for i := 1 to n do t := t + IntToStr(i); Result := t end; begin r := G(4) end.",
         "1234"},
        {"VoriroVoreva",
         "var r: Integer; function S(n: Integer): Integer; var i: Integer; x: Extended; begin Result := 0; x := 0; "
         "for i := 1 to n do begin Result := Result + i; x := x + i / 2 end; Result := Result * 10 + Round(x) end; "
         "begin r := S(4) end.",
         "105"},
        // Parameters passed by reference take the argument's value in and give it back.
        {"VoriroVoreva",
         "var r, i: Integer; procedure AddTo(var a: Integer; b: Integer); begin a := a + b end; "
         "begin r := 0; for i := 1 to 5 do AddTo(r, i) end.",
         "15"},
        {"VoriroVoreva",
         "var r: Variant; a: array[0..3] of Integer; procedure AddTo(var a: Integer; b: Integer); begin a := a + b end; "
         "begin a[2] := 1; AddTo(a[2], 5); r := a[2] end.",
         "6"},
        {"VoriroVoreva",
         "var r, s: Variant; procedure Swap(var x, y: Variant); var t: Variant; begin t := x; x := y; y := t end; "
         "begin r := 'a'; s := 'b'; Swap(r, s); r := r + s end.",
         "ba"},
        // The argument gets the parameter's last value, also when the routine wrote the
        // variable directly meanwhile.
        {"VoriroVoreva",
         "var r, g: Integer; procedure P(var a: Integer); begin g := 100; a := a + 1 end; begin g := 1; P(g); r := g end.",
         "2"},
        {"VoriroVoreva",
         "var r: Integer; procedure Count(n: Integer; var c: Integer); begin if n > 0 then begin c := c + 1; "
         "Count(n - 1, c) end end; begin r := 0; Count(5, r) end.",
         "5"},
        {"VoriroVoreva",
         "var r: Integer; procedure Inc2(var c: Integer); begin c := c + 2 end; "
         "function Twice(n: Integer): Integer; var k: Integer; begin k := n; Inc2(k); Result := k end; "
         "begin r := Twice(3) end.",
         "5"},
        {"JScript", "var s = 0; for (var i = 0; i < 5; i++) { if (i == 3) continue; s += i; } r = s;", "7"},
        {"JScript", "for (i = 0; i < 10; i++) { if (i == 4) break; } r = i;", "4"},
        {"JScript", "r = \"a\"; for (var k = 0; k < 3; k++) r += \"x\";", "axxx"},
        {"JScript", "var i = 2147483647; i++; r = i;", "2147483648"},
        {"JScript", "var x = 1.5; x++; r = x * 2;", "5"},
        {"JScript", "var n = 3; n--; n--; r = n;", "1"},
        {"JScript", "function f(n) { var t = 0; for (var j = 1; j <= n; j++) t += j; return t; } r = f(4);", "10"},
        {"RadivEdurav", "r = 0\nFor i = 10 To 1 Step -2\nr = r * 100 + i\nNext", "1008060402"},
        {"RadivEdurav", "r = 0\nFor x = 0 To 1 Step 0.25\nr = r + 1\nNext", "5"},
        {"RadivEdurav", "For i = 1 To 3\nNext\nr = i", "3"},
        {"RadivEdurav", "r = 7\nFor i = 5 To 1\nr = 1\nNext", "7"},
        {"RadivEdurav", "r = 0\nFor i = 1 To 9\nIf i = 4 Then Exit\nr = i\nNext", "3"},
        {"RadivEdurav", "r = \"a\"\nr += \"b\"", "ab"},
        {"Z++Ovuvir", "int r; { r = 0; for (int i = 0; i < 10; i++) { if (i % 2) continue; r += i; } }", "20"},
        {"Z++Ovuvir", "float r; { r = 1; for (int i = 0; i < 3; i++) r *= 2.5; }", "15,625"},
    };
    for (const auto& c : cases)
        expectResult(c.language, c.source, c.result);
}
