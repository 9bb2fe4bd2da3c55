// Errors raised and handled inside compiled code: a raise goes straight to the handler of
// its own code or of a compiled caller, and everything the statements do on the way
// (exception variables, finally parts, flags of loops left, arguments not written back,
// errors that reach the host and their place) comes out the same on both paths.
#include "engine.h"

using namespace orv::script;

using namespace scripttest;

namespace {

struct RaiseCase {
    const char* language;
    const char* source;
    const char* result;
    const char* raised = ""; // the message that reaches the host, if any
};

void expectRaiseCases(const RaiseCase* cases, size_t n)
{
    for (size_t k = 0; k < n; ++k) {
        const RaiseCase& c = cases[k];
        const Outcome o = runCompiledIn(c.language, c.source);
        EXPECT_EQ(o.raised, q(c.raised)) << c.source;
        EXPECT_EQ(o.result, q(c.result)) << c.language << ": " << c.source;
    }
}

} // namespace

TEST(CompiledExceptions, RaisesReachTheirHandlers)
{
    const RaiseCase cases[] = {
        // One raise in ten turns, in every language.
        {"VoriroVoreva",
         "var i, r: Integer; begin r := 0; for i := 1 to 95 do try if i mod 10 = 0 then RaiseException('x'); "
         "r := r + 1; except r := r + 100; end; end.",
         "986"},
        {"JScript",
         "r = 0; for (var i = 1; i <= 95; i++) { try { if (i % 10 == 0) RaiseException(\"x\"); r = r + 1; } "
         "except { r = r + 100; } }",
         "986"},
        {"RadivEdurav",
         "Dim i\nr = 0\nFor i = 1 To 95\nTry\nIf i Mod 10 = 0 Then\nRaiseException(\"x\")\nEnd If\nr = r + 1\n"
         "Catch\nr = r + 100\nEnd Try\nNext",
         "986"},
        {"Z++Ovuvir",
         "int i, r; { r = 0; for (i = 1; i <= 95; i++) { try { if (i % 10 == 0) RaiseException(\"x\"); r = r + 1; } "
         "except { r = r + 100; } } }",
         "986"},
        // The variables of the handler, also after an error of another class.
        {"VoriroVoreva",
         "var r: String; i: Integer; v: Variant; begin try i := 0; i := 1 div i except r := ExceptionClassName end; v := 42; "
         "try RaiseException(v) except r := r + ' ' + ExceptionClassName + ' ' + ExceptionMessage end end.",
         "EDivByZero Exception 42"},
        // Nested handlers; a raise in a handler (re-raise) goes to the one outside.
        {"VoriroVoreva",
         "var r: String; begin r := ''; try try RaiseException('a') except r := r + '1' + ExceptionMessage; "
         "RaiseException(ExceptionMessage + 'b'); r := 'no' end except r := r + '2' + ExceptionMessage end end.",
         "1a2ab"},
        // A finally part between the raise and the handler runs first.
        {"VoriroVoreva",
         "var r: String; begin r := ''; try try RaiseException('x') finally r := r + 'f' end; r := 'no' "
         "except r := r + ExceptionMessage end end.",
         "fx"},
        // Raised from called routines two frames down, with locals, and from a handler
        // inside a called routine.
        {"VoriroVoreva",
         "var i, r: Integer; function F(k: Integer): Integer; var t: Integer; begin t := k * 2; "
         "if k mod 3 = 0 then RaiseException('f'); Result := t; end; "
         "function G(k: Integer): Integer; begin Result := F(k) + 1; end; "
         "begin r := 0; for i := 1 to 10 do try r := r + G(i) except r := r + 1000 end; end.",
         "3081"},
        {"VoriroVoreva",
         "var r: String; procedure P(k: Integer); begin try RaiseException('in' + IntToStr(k)) except "
         "r := r + ExceptionMessage; if k > 1 then RaiseException('again') end; r := r + '.' end; "
         "begin r := ''; try P(1); P(2); r := r + 'no' except r := r + '/' + ExceptionMessage end end.",
         "in1.in2/again"},
        // A routine that handles its own errors goes on; its caller sees nothing.
        {"VoriroVoreva",
         "var i, r: Integer; function F(k: Integer): Integer; begin try if k mod 2 = 0 then RaiseException('e'); "
         "Result := k except Result := -k end end; begin r := 0; for i := 1 to 6 do r := r + F(i) end.",
         "-3"},
        // A parameter passed by reference is not written back when the call ends in an error.
        {"VoriroVoreva",
         "var i, r: Integer; procedure AddTo(var a: Integer; b: Integer); begin a := a + b; "
         "if b = 3 then RaiseException('v'); end; begin r := 0; for i := 1 to 5 do try AddTo(r, i) except "
         "r := r + 100 end end.",
         "112"},
        // A local of the routine named like the variable receives the message.
        {"VoriroVoreva",
         "var r: String; function F: String; var ExceptionMessage: String; begin try RaiseException('m') except "
         "Result := ExceptionMessage end end; begin r := F + '|' + ExceptionMessage end.",
         "m|"},
        // Host errors inside a routine's handler region.
        {"VoriroVoreva",
         "var r: Integer; function P(s: String): Integer; begin try Result := StrToInt(s) except Result := -1 end end; "
         "begin r := P('12') + P('x') end.",
         "11"},
        // Leaving loops by an error clears their break: the handler runs whole.
        {"VoriroVoreva",
         "var i: Integer; r: String; begin r := ''; try for i := 1 to 3 do try break finally RaiseException('x') end "
         "except r := r + 'a'; r := r + 'b' end; r := r + 'c' end.",
         "abc"},
        // A handler entered with break set runs its first statement only, as the lists do.
        {"VoriroVoreva",
         "var r: String; begin r := ''; try try break finally RaiseException('x') end except r := r + 'a'; "
         "r := r + 'b' end; r := r + 'c' end.",
         "a"},
        // Exit in the protected part.
        {"VoriroVoreva",
         "var r: String; procedure P; begin try r := r + '1'; exit; r := 'no' except r := 'no' end; r := 'no' end; "
         "begin r := ''; P; r := r + '2' end.",
         "12"},
        // Errors nobody handles reach the host from any depth, at the place of the raise.
        {"VoriroVoreva",
         "var r: Integer; procedure P(k: Integer); begin if k = 0 then RaiseException('deep') else P(k - 1) end; "
         "begin r := 1; P(3); r := 2 end.",
         "1", "deep"},
        {"VoriroVoreva",
         "var r: Integer; procedure P; begin try RaiseException('a') except RaiseException('b') end end; "
         "begin r := 1; P; r := 2 end.",
         "1", "b"},
    };
    expectRaiseCases(cases, std::size(cases));
}

// Functions of the host that compiled code calls straight with the argument values give
// what their callbacks give, inside routines and out.
TEST(CompiledCalls, DirectHostFunctionsAgreeOnBothPaths)
{
    const RaiseCase cases[] = {
        {"VoriroVoreva",
         "var r: String; a: array[2..6] of Integer; v: Variant; function L(x: Variant): Integer; "
         "begin Result := Length(x) end; begin v := 12345; r := IntToStr(L('abc')) + IntToStr(L(a)) + IntToStr(L(v)) "
         "+ IntToStr(Length('')) + IntToStr(L(3.5)) end.",
         "35503"},
        {"VoriroVoreva", "var r: Integer; v: Variant; begin v := Null; r := 7; r := Length(v) end.", "7",
         "Could not convert variant of type (Null) into type (UnicodeString)"},
        {"JScript", "function L(s) { return Length(s); } r = L(\"abcd\") + L(12);", "6"},
    };
    expectRaiseCases(cases, std::size(cases));
}

// A plus-assignment whose expression calls code: the target is looked at before the call
// (a text grows where it is, any other value is the one from before), also when the call
// changes it, in routines whose locals are registers and outside.
TEST(CompiledCalls, PlusAssignmentsAroundCallsAgreeOnBothPaths)
{
    const RaiseCase cases[] = {
        {"JScript", "var t = 1; function F(a) { t = t * 10; return a; } t = t + F(5); r = t;", "6"},
        {"JScript", "var t = \"ab\"; function F(a) { t = \"zz\"; return a; } t = t + F(\"c\"); r = t;", "zzc"},
        {"JScript", "var t = \"ab\"; function F(a) { t = 7; return a; } t = t + F(1); r = t;", "8"},
        {"JScript", "var t = 2; function F(a) { t = \"q\"; return a; } t = t + F(1); r = t;", "3"},
        {"JScript", "function F(a) { return a * 2; } function G(n) { var s = 0; for (var i = 0; i < n; i++) s = s + F(i); "
                    "return s; } r = G(5);", "20"},
        {"JScript", "function F(a) { return a; } function G() { var s = \"x\"; s = s + F(\"y\"); s = s + F(3); return s; } "
                    "r = G();", "Null", "Could not convert variant of type (UnicodeString) into type (Double)"},
        {"VoriroVoreva", "var r: String; v: Variant; function F(k: Integer): Variant; begin v := 'w'; Result := k end; "
                         "begin v := 10; v := v + F(2); r := v end.", "12"},
        {"JScript", "function F(a) { return a; } var t = 2147483647; t = t + F(1); r = t;", "2147483648"},
    };
    expectRaiseCases(cases, std::size(cases));
}

// An exit inside a routine whose locals are registers leaves it at once, from loops and
// handlers, and the next call starts afresh.
TEST(CompiledCalls, ExitsLeaveRoutinesOnBothPaths)
{
    const RaiseCase cases[] = {
        {"Z++Ovuvir",
         "int r; int F(int k) { int i; for (i = 0; i < 10; i++) { if (i == k) return i * 2; } return -1; } "
         "{ r = F(3) + F(20) + F(4); }",
         "13"},
        {"VoriroVoreva",
         "var r, i: Integer; function F(k: Integer): Integer; var j: Integer; begin Result := 0; j := 0; "
         "while true do begin j := j + 1; try if j = k then exit; Result := Result + j; if j > 50 then "
         "RaiseException('far') except Result := -1; exit end end end; begin r := 0; for i := 1 to 5 do r := r + F(i) end.",
         "20"},
        {"JScript", "function F(k) { try { if (k > 1) return k; RaiseException(\"one\"); } except { return 100; } return 0; } "
                    "r = F(1) + F(2) + F(3);",
         "105"},
    };
    expectRaiseCases(cases, std::size(cases));
}
