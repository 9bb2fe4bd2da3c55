// The script engine against Lua 5.4, both embedded in this program and measured in the
// same run. Each shape is a program in one of the engine's languages and its Lua twin;
// both leave a result that must agree. Each is run for at least a tenth of a second per
// round, ours and Lua's rounds interleaved, and the ratio's median and spread go out as a
// figure (goal: at most 2). Texts built in loops are also run at twice the count: the time
// may at most double (within 30%). Then the compile time per simple statement (goal: at
// most 10 microseconds) and that of the report's expression-cache functions.
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include "common/figures.h"
#include "script/bridges/register.h"
#include "script/core/script.h"

using namespace orv::script;

using orv::script::Value;

namespace {

constexpr int kRuns = 5;
constexpr int kRounds = 5;

const char* const kProgram =
    "var i, s, n: Integer; a: array[0..999] of Integer; t: String; "
    "function Fib(k: Integer): Integer; begin if k < 2 then Result := k else Result := Fib(k - 1) + Fib(k - 2); end; "
    "begin for i := 0 to 999 do a[i] := i; s := 0; for i := 1 to 10000000 do s := (s + a[i mod 1000] * 3) mod 1000003; "
    "n := Fib(27); t := ''; for i := 1 to 50000 do t := t + Chr(65 + i mod 26); end.";

const char* const kLuaProgram =
    "local i, s, n, t local a = {} "
    "local function Fib(k) if k < 2 then return k else return Fib(k - 1) + Fib(k - 2) end end "
    "for i = 0, 999 do a[i] = i end s = 0 for i = 1, 10000000 do s = (s + a[i % 1000] * 3) % 1000003 end "
    "n = Fib(27) t = '' for i = 1, 50000 do t = t .. string.char(65 + i % 26) end "
    "return s, n, t";

struct Part {
    const char* name;
    const char* language;
    const char* script; // leaves its result in r
    const char* lua;    // returns its result
};

const Part kParts[] = {
    {"loop", "VoriroVoreva",
     "var i, s, r: Integer; a: array[0..999] of Integer; "
     "begin for i := 0 to 999 do a[i] := i; s := 0; "
     "for i := 1 to 10000000 do s := (s + a[i mod 1000] * 3) mod 1000003; r := s; end.",
     "local i, s local a = {} for i = 0, 999 do a[i] = i end s = 0 "
     "for i = 1, 10000000 do s = (s + a[i % 1000] * 3) % 1000003 end return s"},
    {"recursion", "VoriroVoreva",
     "var r: Integer; "
     "function Fib(k: Integer): Integer; begin if k < 2 then Result := k else Result := Fib(k - 1) + Fib(k - 2); end; "
     "begin r := Fib(32); end.",
     "local function Fib(k) if k < 2 then return k else return Fib(k - 1) + Fib(k - 2) end end "
     "return Fib(32)"},
    {"text building", "VoriroVoreva",
     "var i: Integer; r: String; begin r := ''; for i := 1 to 50000 do r := r + Chr(65 + i mod 26); end.",
     "local i, t t = '' for i = 1, 50000 do t = t .. string.char(65 + i % 26) end return t"},
    {"extended loop", "VoriroVoreva",
     "var i: Integer; x, r: Extended; begin r := 0; x := 0.5; "
     "for i := 1 to 5000000 do begin x := x * 0.999999 + 0.25; r := r + x / i - 0.5 * x; end; end.",
     "local r, x = 0.0, 0.5 for i = 1, 5000000 do x = x * 0.999999 + 0.25 r = r + x / i - 0.5 * x end return r"},
    {"jscript for", "JScript",
     "var s = 0; for (var i = 0; i < 10000000; i++) { s = s + i % 7; } r = s;",
     "local s = 0 for i = 0, 9999999 do s = s + i % 7 end return s"},
    {"var parameter", "VoriroVoreva",
     "var i, r: Integer; procedure AddTo(var a: Integer; b: Integer); begin a := a + b; end; "
     "begin r := 0; for i := 1 to 2000000 do AddTo(r, i mod 7); end.",
     "local function addTo(a, b) return a + b end local r = 0 for i = 1, 2000000 do r = addTo(r, i % 7) end return r"},
    {"variants", "VoriroVoreva",
     "var i: Integer; s, x, r: Variant; begin s := 0; "
     "for i := 1 to 5000000 do begin x := i mod 10; s := s + x * 2 - 1; end; r := s; end.",
     "local s = 0 for i = 1, 5000000 do local x = i % 10 s = s + x * 2 - 1 end return s"},
    {"while loop", "VoriroVoreva",
     "var i, s, r: Integer; begin i := 0; s := 0; while i < 5000000 do begin s := s + i mod 7; i := i + 1; end; "
     "r := s; end.",
     "local i, s = 0, 0 while i < 5000000 do s = s + i % 7 i = i + 1 end return s"},
    {"string functions", "VoriroVoreva",
     "var i, r: Integer; t, u: String; begin r := 0; for i := 1 to 300000 do begin t := 'abc' + IntToStr(i); "
     "u := UpperCase(Copy(t, 2, 4)); r := r + Pos('C', u) + Length(u); end; end.",
     "local n = 0 for i = 1, 300000 do local t = 'abc' .. tostring(i) local u = string.upper(string.sub(t, 2, 5)) "
     "n = n + (string.find(u, 'C', 1, true) or 0) + #u end return n"},
    {"string list", "VoriroVoreva",
     "var i, r: Integer; l: TStringList; begin l := TStringList.Create; "
     "for i := 1 to 200000 do l.Add(IntToStr((i * 7919) mod 200003)); l.Sort; r := 0; "
     "for i := 1 to 20 do r := r + l.IndexOf(IntToStr(i * 9973)); l.Free; end.",
     "local l = {} for i = 1, 200000 do l[#l + 1] = tostring((i * 7919) % 200003) end table.sort(l) "
     "local function indexOf(t, s) for k = 1, #t do if t[k] == s then return k - 1 end end return -1 end "
     "local n = 0 for i = 1, 20 do n = n + indexOf(l, tostring(i * 9973)) end return n"},
    {"loop zpp", "Z++Ovuvir",
     "int i, s, r; int a[1000]; { for (i = 0; i < 1000; i++) a[i] = i; s = 0; "
     "for (i = 1; i <= 10000000; i++) s = (s + a[i % 1000] * 3) % 1000003; r = s; }",
     "local s local a = {} for i = 0, 999 do a[i] = i end s = 0 "
     "for i = 1, 10000000 do s = (s + a[i % 1000] * 3) % 1000003 end return s"},
    {"recursion zpp", "Z++Ovuvir",
     "int r; int fib(int k) { if (k < 2) return k; else return fib(k - 1) + fib(k - 2); } { r = fib(32); }",
     "local function Fib(k) if k < 2 then return k else return Fib(k - 1) + Fib(k - 2) end end "
     "return Fib(32)"},
    {"loop radiv", "RadivEdurav",
     "Dim i As Integer, s As Integer, a[1000]\nFor i = 0 To 999\na[i] = i\nNext\ns = 0\n"
     "For i = 1 To 10000000\ns = (s + a[i Mod 1000] * 3) Mod 1000003\nNext\nr = s",
     "local s local a = {} for i = 0, 999 do a[i] = i end s = 0 "
     "for i = 1, 10000000 do s = (s + a[i % 1000] * 3) % 1000003 end return s"},
    {"recursion radiv", "RadivEdurav",
     "Function Fib(k As Integer) As Integer\nIf k < 2 Then\nReturn k\nEnd If\nReturn Fib(k - 1) + Fib(k - 2)\n"
     "End Function\nr = Fib(32)",
     "local function Fib(k) if k < 2 then return k else return Fib(k - 1) + Fib(k - 2) end end "
     "return Fib(32)"},
    {"loop jscript", "JScript",
     "var a[1000]; for (var i = 0; i < 1000; i++) a[i] = i; var s = 0; "
     "for (i = 1; i <= 10000000; i++) s = (s + a[i % 1000] * 3) % 1000003; r = s;",
     "local s local a = {} for i = 0, 999 do a[i] = i end s = 0 "
     "for i = 1, 10000000 do s = (s + a[i % 1000] * 3) % 1000003 end return s"},
    {"recursion jscript", "JScript",
     "function fib(k) { if (k < 2) return k; return fib(k - 1) + fib(k - 2); } r = fib(32);",
     "local function Fib(k) if k < 2 then return k else return Fib(k - 1) + Fib(k - 2) end end "
     "return Fib(32)"},
    // Shapes report scripts are written in.
    {"case integer", "VoriroVoreva",
     "var i, r: Integer; begin r := 0; for i := 1 to 3000000 do case i mod 7 of 0: r := r + 1; 1: r := r + 3; "
     "2, 3: r := r - 1; 4..5: r := r + 2; else r := r + 5; end; end.",
     "local r = 0 for i = 1, 3000000 do local k = i % 7 if k == 0 then r = r + 1 elseif k == 1 then r = r + 3 "
     "elseif k == 2 or k == 3 then r = r - 1 elseif k >= 4 and k <= 5 then r = r + 2 else r = r + 5 end end return r"},
    {"case integer", "JScript",
     "var r = 0; for (var i = 1; i <= 3000000; i++) { switch (i % 7) { case 0: r = r + 1; case 1: r = r + 3; "
     "case 2, 3: r = r - 1; case 4..5: r = r + 2; default: r = r + 5; } }",
     "local r = 0 for i = 1, 3000000 do local k = i % 7 if k == 0 then r = r + 1 elseif k == 1 then r = r + 3 "
     "elseif k == 2 or k == 3 then r = r - 1 elseif k >= 4 and k <= 5 then r = r + 2 else r = r + 5 end end return r"},
    {"case integer", "RadivEdurav",
     "Dim i, s\ns = 0\nFor i = 1 To 3000000\nSelect Case i Mod 7\nCase 0: s = s + 1\nCase 1: s = s + 3\n"
     "Case 2, 3: s = s - 1\nCase 4..5: s = s + 2\nCase Else: s = s + 5\nEnd Select\nNext\nr = s",
     "local r = 0 for i = 1, 3000000 do local k = i % 7 if k == 0 then r = r + 1 elseif k == 1 then r = r + 3 "
     "elseif k == 2 or k == 3 then r = r - 1 elseif k >= 4 and k <= 5 then r = r + 2 else r = r + 5 end end return r"},
    {"case string", "VoriroVoreva",
     "var i, r: Integer; t: String; begin r := 0; for i := 1 to 1000000 do begin t := Chr(65 + i mod 5); "
     "case t of 'A': r := r + 1; 'B': r := r + 2; 'C', 'D': r := r + 3; else r := r - 1; end; end; end.",
     "local r = 0 for i = 1, 1000000 do local t = string.char(65 + i % 5) if t == 'A' then r = r + 1 "
     "elseif t == 'B' then r = r + 2 elseif t == 'C' or t == 'D' then r = r + 3 else r = r - 1 end end return r"},
    {"exception raised", "VoriroVoreva",
     "var i, r: Integer; begin r := 0; for i := 1 to 300000 do try if i mod 10 = 0 then RaiseException('x'); "
     "r := r + 1; except r := r + 2; end; end.",
     "local r = 0 local function body(i) if i % 10 == 0 then error('x') end r = r + 1 end "
     "for i = 1, 300000 do if not pcall(body, i) then r = r + 2 end end return r"},
    {"exception none", "VoriroVoreva",
     "var i, r: Integer; begin r := 0; for i := 1 to 2000000 do try r := r + i mod 3; except r := 0; end; end.",
     "local r = 0 local function body(i) r = r + i % 3 end "
     "for i = 1, 2000000 do if not pcall(body, i) then r = 0 end end return r"},
    {"string parameters", "VoriroVoreva",
     "var i, r: Integer; s: String; function F(a, b: String): Integer; begin Result := Length(a) + Length(b); end; "
     "begin r := 0; s := 'abcdef'; for i := 1 to 2000000 do r := r + F(s, 'xy'); end.",
     "local function F(a, b) return #a + #b end local r, s = 0, 'abcdef' "
     "for i = 1, 2000000 do r = r + F(s, 'xy') end return r"},
    {"format", "VoriroVoreva",
     "var i, r: Integer; t, u: String; begin r := 0; for i := 1 to 300000 do begin t := Format('%d-%s', [i, 'ab']); "
     "u := FloatToStr(i / 4 + 0.1); r := r + Length(t) + Length(u); end; end.",
     "local r = 0 for i = 1, 300000 do local t = string.format('%d-%s', i, 'ab') "
     "local u = string.format('%.15g', i / 4 + 0.1) r = r + #t + #u end return r"},
    {"two-dimensional array", "VoriroVoreva",
     "var i, j, k, r: Integer; a: array[0..99, 0..99] of Integer; begin "
     "for i := 0 to 99 do for j := 0 to 99 do a[i, j] := 0; "
     "for k := 1 to 50 do for i := 0 to 99 do for j := 0 to 99 do a[i, j] := (a[i, j] + i * j + k) mod 1000; "
     "r := 0; for i := 0 to 99 do for j := 0 to 99 do r := r + a[i, j]; end.",
     "local a = {} for i = 0, 99 do a[i] = {} for j = 0, 99 do a[i][j] = 0 end end "
     "for k = 1, 50 do for i = 0, 99 do local row = a[i] for j = 0, 99 do row[j] = (row[j] + i * j + k) % 1000 end end end "
     "local r = 0 for i = 0, 99 do for j = 0, 99 do r = r + a[i][j] end end return r"},
    {"nested loops", "VoriroVoreva",
     "var i, j, r: Integer; begin r := 0; i := 0; repeat j := 0; while j < 1000 do begin r := r + j mod 3; "
     "j := j + 1; end; i := i + 1; until i = 3000; end.",
     "local r, i = 0, 0 repeat local j = 0 while j < 1000 do r = r + j % 3 j = j + 1 end i = i + 1 until i == 3000 "
     "return r"},
    {"boolean logic", "VoriroVoreva",
     "var i, r: Integer; b: Boolean; begin r := 0; for i := 1 to 3000000 do begin "
     "b := (i mod 3 = 0) or ((i mod 5 = 0) and not (i mod 7 = 0)); if b then r := r + 1; end; end.",
     "local r = 0 for i = 1, 3000000 do local b = (i % 3 == 0) or ((i % 5 == 0) and not (i % 7 == 0)) "
     "if b then r = r + 1 end end return r"},
    {"many parameters", "VoriroVoreva",
     "var i, r: Integer; function F(a, b, c, d, e, f: Integer): Integer; begin Result := a + b - c + d - e + f; end; "
     "begin r := 0; for i := 1 to 2000000 do r := r + F(i mod 9, 1, 2, 3, 4, i mod 5); end.",
     "local function F(a, b, c, d, e, f) return a + b - c + d - e + f end local r = 0 "
     "for i = 1, 2000000 do r = r + F(i % 9, 1, 2, 3, 4, i % 5) end return r"},
    // The call and exception shapes in the other languages, with their own try forms.
    {"exception raised", "JScript",
     "var t = 0; for (var i = 1; i <= 300000; i++) { try { if (i % 10 == 0) RaiseException(\"x\"); t = t + 1; } "
     "except { t = t + 2; } } r = t;",
     "local r = 0 local function body(i) if i % 10 == 0 then error('x') end r = r + 1 end "
     "for i = 1, 300000 do if not pcall(body, i) then r = r + 2 end end return r"},
    {"exception raised", "RadivEdurav",
     "Dim i As Integer, s As Integer\ns = 0\nFor i = 1 To 300000\nTry\nIf i Mod 10 = 0 Then\nRaiseException(\"x\")\n"
     "End If\ns = s + 1\nCatch\ns = s + 2\nEnd Try\nNext\nr = s",
     "local r = 0 local function body(i) if i % 10 == 0 then error('x') end r = r + 1 end "
     "for i = 1, 300000 do if not pcall(body, i) then r = r + 2 end end return r"},
    {"exception raised", "Z++Ovuvir",
     "int i, r; { r = 0; for (i = 1; i <= 300000; i++) { try { if (i % 10 == 0) RaiseException(\"x\"); r = r + 1; } "
     "except { r = r + 2; } } }",
     "local r = 0 local function body(i) if i % 10 == 0 then error('x') end r = r + 1 end "
     "for i = 1, 300000 do if not pcall(body, i) then r = r + 2 end end return r"},
    {"exception none", "JScript",
     "var t = 0; for (var i = 1; i <= 2000000; i++) { try { t = t + i % 3; } except { t = 0; } } r = t;",
     "local r = 0 local function body(i) r = r + i % 3 end "
     "for i = 1, 2000000 do if not pcall(body, i) then r = 0 end end return r"},
    {"exception none", "RadivEdurav",
     "Dim i As Integer, s As Integer\ns = 0\nFor i = 1 To 2000000\nTry\ns = s + i Mod 3\nCatch\ns = 0\nEnd Try\nNext\n"
     "r = s",
     "local r = 0 local function body(i) r = r + i % 3 end "
     "for i = 1, 2000000 do if not pcall(body, i) then r = 0 end end return r"},
    {"exception none", "Z++Ovuvir",
     "int i, r; { r = 0; for (i = 1; i <= 2000000; i++) { try { r = r + i % 3; } except { r = 0; } } }",
     "local r = 0 local function body(i) r = r + i % 3 end "
     "for i = 1, 2000000 do if not pcall(body, i) then r = 0 end end return r"},
    {"string parameters", "JScript",
     "function F(a, b) { return Length(a) + Length(b); } var t = 0; var s = \"abcdef\"; "
     "for (var i = 1; i <= 2000000; i++) t = t + F(s, \"xy\"); r = t;",
     "local function F(a, b) return #a + #b end local r, s = 0, 'abcdef' "
     "for i = 1, 2000000 do r = r + F(s, 'xy') end return r"},
    {"string parameters", "RadivEdurav",
     "Function F(a As String, b As String) As Integer\nReturn Length(a) + Length(b)\nEnd Function\n"
     "Dim i As Integer, s As Integer, t As String\ns = 0\nt = \"abcdef\"\nFor i = 1 To 2000000\ns = s + F(t, \"xy\")\nNext\n"
     "r = s",
     "local function F(a, b) return #a + #b end local r, s = 0, 'abcdef' "
     "for i = 1, 2000000 do r = r + F(s, 'xy') end return r"},
    {"string parameters", "Z++Ovuvir",
     "int i, r; string s; int F(string a, string b) { return Length(a) + Length(b); } "
     "{ r = 0; s = \"abcdef\"; for (i = 1; i <= 2000000; i++) r = r + F(s, \"xy\"); }",
     "local function F(a, b) return #a + #b end local r, s = 0, 'abcdef' "
     "for i = 1, 2000000 do r = r + F(s, 'xy') end return r"},
    {"var parameter", "JScript",
     "function AddTo(&a, b) { a = a + b; } var t = 0; for (var i = 1; i <= 2000000; i++) AddTo(t, i % 7); r = t;",
     "local function addTo(a, b) return a + b end local r = 0 for i = 1, 2000000 do r = addTo(r, i % 7) end return r"},
    {"var parameter", "RadivEdurav",
     "Sub AddTo(ByRef a As Integer, b As Integer)\na = a + b\nEnd Sub\nDim i As Integer, s As Integer\ns = 0\n"
     "For i = 1 To 2000000\nAddTo(s, i Mod 7)\nNext\nr = s",
     "local function addTo(a, b) return a + b end local r = 0 for i = 1, 2000000 do r = addTo(r, i % 7) end return r"},
    {"var parameter", "Z++Ovuvir",
     "int i, r; void AddTo(int &a, int b) { a = a + b; } { r = 0; for (i = 1; i <= 2000000; i++) AddTo(r, i % 7); }",
     "local function addTo(a, b) return a + b end local r = 0 for i = 1, 2000000 do r = addTo(r, i % 7) end return r"},
    {"many parameters", "JScript",
     "function F(a, b, c, d, e, f) { return a + b - c + d - e + f; } var t = 0; "
     "for (var i = 1; i <= 2000000; i++) t = t + F(i % 9, 1, 2, 3, 4, i % 5); r = t;",
     "local function F(a, b, c, d, e, f) return a + b - c + d - e + f end local r = 0 "
     "for i = 1, 2000000 do r = r + F(i % 9, 1, 2, 3, 4, i % 5) end return r"},
    {"many parameters", "RadivEdurav",
     "Function F(a As Integer, b As Integer, c As Integer, d As Integer, e As Integer, f As Integer) As Integer\n"
     "Return a + b - c + d - e + f\nEnd Function\nDim i As Integer, s As Integer\ns = 0\nFor i = 1 To 2000000\n"
     "s = s + F(i Mod 9, 1, 2, 3, 4, i Mod 5)\nNext\nr = s",
     "local function F(a, b, c, d, e, f) return a + b - c + d - e + f end local r = 0 "
     "for i = 1, 2000000 do r = r + F(i % 9, 1, 2, 3, 4, i % 5) end return r"},
    {"many parameters", "Z++Ovuvir",
     "int i, r; int F(int a, int b, int c, int d, int e, int f) { return a + b - c + d - e + f; } "
     "{ r = 0; for (i = 1; i <= 2000000; i++) r = r + F(i % 9, 1, 2, 3, 4, i % 5); }",
     "local function F(a, b, c, d, e, f) return a + b - c + d - e + f end local r = 0 "
     "for i = 1, 2000000 do r = r + F(i % 9, 1, 2, 3, 4, i % 5) end return r"},
    {"string list with", "VoriroVoreva",
     "var i, r: Integer; l: TStringList; begin l := TStringList.Create; r := 0; "
     "for i := 1 to 300000 do with l do begin Add(IntToStr(i mod 1000)); r := r + Count mod 7; end; l.Free; end.",
     "ListClear() local r = 0 for i = 1, 300000 do ListAdd(tostring(i % 1000)) r = r + ListCount() % 7 end return r"},
    {"string list add indexof", "VoriroVoreva",
     "var i, r: Integer; l: TStringList; begin l := TStringList.Create; "
     "for i := 1 to 300000 do l.Add(IntToStr(i)); r := 0; "
     "for i := 1 to 100 do r := r + l.IndexOf(IntToStr(i * 37)); l.Free; end.",
     "ListClear() for i = 1, 300000 do ListAdd(tostring(i)) end local r = 0 "
     "for i = 1, 100 do r = r + ListIndexOf(tostring(i * 37)) end return r"},
    // Texts built in loops, against Lua's table.concat of the same pieces.
    {"text chain", "VoriroVoreva",
     "var i: Integer; r: String; begin r := ''; for i := 1 to 200000 do r := r + IntToStr(i) + ','; end.",
     "local p = {} for i = 1, 200000 do p[#p + 1] = tostring(i) .. ',' end return table.concat(p)"},
    {"text chain", "JScript",
     "var t = \"\"; for (var i = 1; i <= 200000; i++) { t = t + IntToStr(i) + \",\"; } r = t;",
     "local p = {} for i = 1, 200000 do p[#p + 1] = tostring(i) .. ',' end return table.concat(p)"},
    {"text join", "RadivEdurav",
     "Dim t, i\nt = \"\"\nFor i = 1 To 200000\nt = t & (i Mod 10)\nNext\nr = t",
     "local p = {} for i = 1, 200000 do p[#p + 1] = tostring(i % 10) end return table.concat(p)"},
    {"text append", "VoriroVoreva",
     "var i: Integer; r: String; begin r := ''; for i := 1 to 200000 do r := r + IntToStr(i); end.",
     "local p = {} for i = 1, 200000 do p[#p + 1] = tostring(i) end return table.concat(p)"},    // The same shapes in the other languages.
    {"case integer", "Z++Ovuvir",
     "int i, r; { r = 0; for (i = 1; i <= 3000000; i++) { switch (i % 7) { case 0: r = r + 1; case 1: r = r + 3; "
     "case 2, 3: r = r - 1; case 4..5: r = r + 2; default: r = r + 5; } } }",
     "local r = 0 for i = 1, 3000000 do local k = i % 7 if k == 0 then r = r + 1 elseif k == 1 then r = r + 3 "
     "elseif k == 2 or k == 3 then r = r - 1 elseif k >= 4 and k <= 5 then r = r + 2 else r = r + 5 end end return r"},
    {"case string", "JScript",
     "var r = 0; var t; for (var i = 1; i <= 1000000; i++) { t = Chr(65 + i % 5); switch (t) { case \"A\": r = r + 1; "
     "case \"B\": r = r + 2; case \"C\", \"D\": r = r + 3; default: r = r - 1; } }",
     "local r = 0 for i = 1, 1000000 do local t = string.char(65 + i % 5) if t == 'A' then r = r + 1 "
     "elseif t == 'B' then r = r + 2 elseif t == 'C' or t == 'D' then r = r + 3 else r = r - 1 end end return r"},
    {"case string", "RadivEdurav",
     "Dim i, s, t\ns = 0\nFor i = 1 To 1000000\nt = Chr(65 + i Mod 5)\nSelect Case t\nCase \"A\": s = s + 1\n"
     "Case \"B\": s = s + 2\nCase \"C\", \"D\": s = s + 3\nCase Else: s = s - 1\nEnd Select\nNext\nr = s",
     "local r = 0 for i = 1, 1000000 do local t = string.char(65 + i % 5) if t == 'A' then r = r + 1 "
     "elseif t == 'B' then r = r + 2 elseif t == 'C' or t == 'D' then r = r + 3 else r = r - 1 end end return r"},
    {"case string", "Z++Ovuvir",
     "int i, r; string t; { r = 0; for (i = 1; i <= 1000000; i++) { t = Chr(65 + i % 5); switch (t) { case \"A\": r = r + 1; "
     "case \"B\": r = r + 2; case \"C\", \"D\": r = r + 3; default: r = r - 1; } } }",
     "local r = 0 for i = 1, 1000000 do local t = string.char(65 + i % 5) if t == 'A' then r = r + 1 "
     "elseif t == 'B' then r = r + 2 elseif t == 'C' or t == 'D' then r = r + 3 else r = r - 1 end end return r"},
    {"two-dimensional array", "JScript",
     "var a[100, 100]; for (var i = 0; i < 100; i++) for (var j = 0; j < 100; j++) a[i, j] = 0; "
     "for (var k = 1; k <= 50; k++) for (i = 0; i < 100; i++) for (j = 0; j < 100; j++) a[i, j] = (a[i, j] + i * j + k) % 1000; "
     "var s = 0; for (i = 0; i < 100; i++) for (j = 0; j < 100; j++) s = s + a[i, j]; r = s;",
     "local a = {} for i = 0, 99 do a[i] = {} for j = 0, 99 do a[i][j] = 0 end end "
     "for k = 1, 50 do for i = 0, 99 do local row = a[i] for j = 0, 99 do row[j] = (row[j] + i * j + k) % 1000 end end end "
     "local r = 0 for i = 0, 99 do for j = 0, 99 do r = r + a[i][j] end end return r"},
    {"two-dimensional array", "RadivEdurav",
     "Dim i, j, k, s, a[100, 100]\nFor i = 0 To 99\nFor j = 0 To 99\na[i, j] = 0\nNext\nNext\nFor k = 1 To 50\n"
     "For i = 0 To 99\nFor j = 0 To 99\na[i, j] = (a[i, j] + i * j + k) Mod 1000\nNext\nNext\nNext\ns = 0\n"
     "For i = 0 To 99\nFor j = 0 To 99\ns = s + a[i, j]\nNext\nNext\nr = s",
     "local a = {} for i = 0, 99 do a[i] = {} for j = 0, 99 do a[i][j] = 0 end end "
     "for k = 1, 50 do for i = 0, 99 do local row = a[i] for j = 0, 99 do row[j] = (row[j] + i * j + k) % 1000 end end end "
     "local r = 0 for i = 0, 99 do for j = 0, 99 do r = r + a[i][j] end end return r"},
    {"two-dimensional array", "Z++Ovuvir",
     "int i, j, k, r; int a[100, 100]; { for (i = 0; i < 100; i++) for (j = 0; j < 100; j++) a[i, j] = 0; "
     "for (k = 1; k <= 50; k++) for (i = 0; i < 100; i++) for (j = 0; j < 100; j++) a[i, j] = (a[i, j] + i * j + k) % 1000; "
     "r = 0; for (i = 0; i < 100; i++) for (j = 0; j < 100; j++) r = r + a[i, j]; }",
     "local a = {} for i = 0, 99 do a[i] = {} for j = 0, 99 do a[i][j] = 0 end end "
     "for k = 1, 50 do for i = 0, 99 do local row = a[i] for j = 0, 99 do row[j] = (row[j] + i * j + k) % 1000 end end end "
     "local r = 0 for i = 0, 99 do for j = 0, 99 do r = r + a[i][j] end end return r"},
    {"boolean logic", "JScript",
     "var s = 0; var b; for (var i = 1; i <= 3000000; i++) { b = (i % 3 == 0) || ((i % 5 == 0) && !(i % 7 == 0)); "
     "if (b) s = s + 1; } r = s;",
     "local r = 0 for i = 1, 3000000 do local b = (i % 3 == 0) or ((i % 5 == 0) and not (i % 7 == 0)) "
     "if b then r = r + 1 end end return r"},
    {"boolean logic", "RadivEdurav",
     "Dim i, s, b\ns = 0\nFor i = 1 To 3000000\nb = (i Mod 3 = 0) Or ((i Mod 5 = 0) And Not (i Mod 7 = 0))\n"
     "If b Then s = s + 1\nNext\nr = s",
     "local r = 0 for i = 1, 3000000 do local b = (i % 3 == 0) or ((i % 5 == 0) and not (i % 7 == 0)) "
     "if b then r = r + 1 end end return r"},
    {"boolean logic", "Z++Ovuvir",
     "int i, r; bool b; { r = 0; for (i = 1; i <= 3000000; i++) { b = (i % 3 == 0) || ((i % 5 == 0) && !(i % 7 == 0)); "
     "if (b) r = r + 1; } }",
     "local r = 0 for i = 1, 3000000 do local b = (i % 3 == 0) or ((i % 5 == 0) and not (i % 7 == 0)) "
     "if b then r = r + 1 end end return r"},
    {"nested loops", "JScript",
     "var s = 0; var i = 0; var j = 0; do { j = 0; while (j < 1000) { s = s + j % 3; j = j + 1; } i = i + 1; } "
     "while (i != 3000); r = s;",
     "local r, i = 0, 0 repeat local j = 0 while j < 1000 do r = r + j % 3 j = j + 1 end i = i + 1 until i == 3000 "
     "return r"},
    {"nested loops", "RadivEdurav",
     "Dim i, j, s\ns = 0\ni = 0\nDo\nj = 0\nWhile j < 1000\ns = s + j Mod 3\nj = j + 1\nWend\ni = i + 1\n"
     "Loop While i <> 3000\nr = s",
     "local r, i = 0, 0 repeat local j = 0 while j < 1000 do r = r + j % 3 j = j + 1 end i = i + 1 until i == 3000 "
     "return r"},
    {"nested loops", "Z++Ovuvir",
     "int i, j, r; { r = 0; i = 0; do { j = 0; while (j < 1000) { r = r + j % 3; j = j + 1; } i = i + 1; } "
     "while (i != 3000); }",
     "local r, i = 0, 0 repeat local j = 0 while j < 1000 do r = r + j % 3 j = j + 1 end i = i + 1 until i == 3000 "
     "return r"},
    {"format", "JScript",
     "var s = 0; var t, u; for (var i = 1; i <= 300000; i++) { t = Format(\"%d-%s\", [i, \"ab\"]); "
     "u = FloatToStr(i / 4 + 0.1); s = s + Length(t) + Length(u); } r = s;",
     "local r = 0 for i = 1, 300000 do local t = string.format('%d-%s', i, 'ab') "
     "local u = string.format('%.15g', i / 4 + 0.1) r = r + #t + #u end return r"},
    {"format", "RadivEdurav",
     "Dim i, s, t, u\ns = 0\nFor i = 1 To 300000\nt = Format(\"%d-%s\", [i, \"ab\"])\nu = FloatToStr(i / 4 + 0.1)\n"
     "s = s + Length(t) + Length(u)\nNext\nr = s",
     "local r = 0 for i = 1, 300000 do local t = string.format('%d-%s', i, 'ab') "
     "local u = string.format('%.15g', i / 4 + 0.1) r = r + #t + #u end return r"},
    {"format", "Z++Ovuvir",
     "int i, r; string t, u; { r = 0; for (i = 1; i <= 300000; i++) { t = Format(\"%d-%s\", [i, \"ab\"]); "
     "u = FloatToStr(i / 4 + 0.1); r = r + Length(t) + Length(u); } }",
     "local r = 0 for i = 1, 300000 do local t = string.format('%d-%s', i, 'ab') "
     "local u = string.format('%.15g', i / 4 + 0.1) r = r + #t + #u end return r"},
    {"string list with", "JScript",
     "var l = TStringList.Create(); var s = 0; for (var i = 1; i <= 300000; i++) with (l) { Add(IntToStr(i % 1000)); "
     "s = s + Count % 7; } l.Free(); r = s;",
     "ListClear() local r = 0 for i = 1, 300000 do ListAdd(tostring(i % 1000)) r = r + ListCount() % 7 end return r"},
    {"string list with", "RadivEdurav",
     "Dim l, i, s\nl = TStringList.Create\ns = 0\nFor i = 1 To 300000\nWith l\nAdd(IntToStr(i Mod 1000))\n"
     "s = s + Count Mod 7\nEnd With\nNext\nl.Free\nr = s",
     "ListClear() local r = 0 for i = 1, 300000 do ListAdd(tostring(i % 1000)) r = r + ListCount() % 7 end return r"},
    {"string list members", "VoriroVoreva",
     "var i, r: Integer; l: TStringList; begin l := TStringList.Create; r := 0; "
     "for i := 1 to 300000 do begin l.Add(IntToStr(i mod 1000)); r := r + l.Count mod 7; end; l.Free; end.",
     "ListClear() local r = 0 for i = 1, 300000 do ListAdd(tostring(i % 1000)) r = r + ListCount() % 7 end return r"},
    {"string list members", "JScript",
     "var l = TStringList.Create(); var s = 0; for (var i = 1; i <= 300000; i++) { l.Add(IntToStr(i % 1000)); "
     "s = s + l.Count % 7; } l.Free(); r = s;",
     "ListClear() local r = 0 for i = 1, 300000 do ListAdd(tostring(i % 1000)) r = r + ListCount() % 7 end return r"},
    {"string list members", "RadivEdurav",
     "Dim l, i, s\nl = TStringList.Create\ns = 0\nFor i = 1 To 300000\nl.Add(IntToStr(i Mod 1000))\n"
     "s = s + l.Count Mod 7\nNext\nl.Free\nr = s",
     "ListClear() local r = 0 for i = 1, 300000 do ListAdd(tostring(i % 1000)) r = r + ListCount() % 7 end return r"},
    {"string list members", "Z++Ovuvir",
     "int i, r; TStringList l; { l = TStringList.Create; r = 0; for (i = 1; i <= 300000; i++) { l.Add(IntToStr(i % 1000)); "
     "r = r + l.Count % 7; } l.Free; }",
     "ListClear() local r = 0 for i = 1, 300000 do ListAdd(tostring(i % 1000)) r = r + ListCount() % 7 end return r"},
    {"string list add indexof", "JScript",
     "var l = TStringList.Create(); for (var i = 1; i <= 300000; i++) l.Add(IntToStr(i)); var s = 0; "
     "for (i = 1; i <= 100; i++) s = s + l.IndexOf(IntToStr(i * 37)); l.Free(); r = s;",
     "ListClear() for i = 1, 300000 do ListAdd(tostring(i)) end local r = 0 "
     "for i = 1, 100 do r = r + ListIndexOf(tostring(i * 37)) end return r"},
    {"string list add indexof", "RadivEdurav",
     "Dim l, i, s\nl = TStringList.Create\nFor i = 1 To 300000\nl.Add(IntToStr(i))\nNext\ns = 0\n"
     "For i = 1 To 100\ns = s + l.IndexOf(IntToStr(i * 37))\nNext\nl.Free\nr = s",
     "ListClear() for i = 1, 300000 do ListAdd(tostring(i)) end local r = 0 "
     "for i = 1, 100 do r = r + ListIndexOf(tostring(i * 37)) end return r"},
    {"string list add indexof", "Z++Ovuvir",
     "int i, r; TStringList l; { l = TStringList.Create; for (i = 1; i <= 300000; i++) l.Add(IntToStr(i)); r = 0; "
     "for (i = 1; i <= 100; i++) r = r + l.IndexOf(IntToStr(i * 37)); l.Free; }",
     "ListClear() for i = 1, 300000 do ListAdd(tostring(i)) end local r = 0 "
     "for i = 1, 100 do r = r + ListIndexOf(tostring(i * 37)) end return r"},
    {"text chain", "RadivEdurav",
     "Dim t, i\nt = \"\"\nFor i = 1 To 200000\nt = t + IntToStr(i) + \",\"\nNext\nr = t",
     "local p = {} for i = 1, 200000 do p[#p + 1] = tostring(i) .. ',' end return table.concat(p)"},
    {"text chain", "Z++Ovuvir",
     "string r; int i; { r = \"\"; for (i = 1; i <= 200000; i++) r = r + IntToStr(i) + \",\"; }",
     "local p = {} for i = 1, 200000 do p[#p + 1] = tostring(i) .. ',' end return table.concat(p)"},
    {"text join chain", "RadivEdurav",
     "Dim t, i\nt = \"\"\nFor i = 1 To 200000\nt = t & i & \",\"\nNext\nr = t",
     "local p = {} for i = 1, 200000 do p[#p + 1] = tostring(i) .. ',' end return table.concat(p)"},
    {"text append", "JScript",
     "var t = \"\"; for (var i = 1; i <= 200000; i++) t = t + IntToStr(i); r = t;",
     "local p = {} for i = 1, 200000 do p[#p + 1] = tostring(i) end return table.concat(p)"},
    {"text append", "RadivEdurav",
     "Dim t, i\nt = \"\"\nFor i = 1 To 200000\nt = t + IntToStr(i)\nNext\nr = t",
     "local p = {} for i = 1, 200000 do p[#p + 1] = tostring(i) end return table.concat(p)"},
    {"text append", "Z++Ovuvir",
     "string r; int i; { r = \"\"; for (i = 1; i <= 200000; i++) r = r + IntToStr(i); }",
     "local p = {} for i = 1, 200000 do p[#p + 1] = tostring(i) end return table.concat(p)"},
};

double seconds(const std::function<void()>& f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return double(timer.nsecsElapsed()) / 1e9;
}

void compile(TfsScript& script, const char* source, const char* language = "VoriroVoreva")
{
    script.Clear();
    script.SetSyntaxType(QString::fromLatin1(language));
    script.SetLines(fsTextToLines(QString::fromLatin1(source)));
    if (!script.Compile())
        qFatal("compile error %s at %s", qPrintable(script.ErrorMsg()), qPrintable(script.ErrorPos()));
}

void runLua(lua_State* L, const char* source, int results)
{
    if (luaL_loadstring(L, source) != LUA_OK || lua_pcall(L, 0, results, 0) != LUA_OK)
        qFatal("lua: %s", lua_tostring(L, -1));
}

bool checkResults()
{
    TfsScript script;
    script.AddRTTI();
    compile(script, kProgram);
    script.Execute();
    const QString t = script.Variables(QStringLiteral("t")).toString();
    const bool ok = script.Variables(QStringLiteral("s")).toInt() == 955048
                    && script.Variables(QStringLiteral("n")).toInt() == 196418 && t.size() == 50000
                    && t.startsWith(QStringLiteral("BCDEF")) && t.endsWith(QStringLiteral("ABC"));

    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    runLua(L, kLuaProgram, 3);
    size_t length = 0;
    const char* lt = lua_tolstring(L, -1, &length);
    const bool luaOk = lua_tointeger(L, -3) == 955048 && lua_tointeger(L, -2) == 196418 && length == 50000
                       && QByteArray(lt, int(length)).startsWith("BCDEF") && QByteArray(lt, int(length)).endsWith("ABC");
    lua_close(L);
    std::printf("results: s = %d, n = %d, Length(t) = %lld, t = %s...%s: %s (Lua twin: %s)\n",
                script.Variables(QStringLiteral("s")).toInt(), script.Variables(QStringLiteral("n")).toInt(),
                qint64(t.size()), qPrintable(t.left(5)), qPrintable(t.right(3)), ok ? "right" : "WRONG",
                luaOk ? "right" : "WRONG");
    return ok && luaOk;
}

// The report's expression cache: a script whose parent is the report's script, each new
// expression compiled as a function of its own and looked up.
void cacheCompile()
{
    constexpr int kFunctions = 2000;
    TfsScript report;
    report.AddRTTI();
    report.AddVariable(QStringLiteral("Prezzo"), QStringLiteral("Variant"), Value(12.5));
    report.AddVariable(QStringLiteral("Quantita"), QStringLiteral("Variant"), Value(3));
    report.AddVariable(QStringLiteral("Value"), QStringLiteral("Variant"), Value::null());
    report.AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                     TfsCallMethodNewEvent([](TfsObject, TfsClass, const QString&, TfsMethodHelper* c) {
                         return Value(int(c->GetVParam(0).toString().size()));
                     }));
    report.AddMethod(QStringLiteral("macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant"),
                     TfsCallMethodNewEvent([](TfsObject, TfsClass, const QString&, TfsMethodHelper*) { return Value(0); }));
    report.SetLines({QStringLiteral("begin"), QString(), QStringLiteral("end.")});
    report.SetMainProg(true);
    if (!report.Compile())
        qFatal("report script: %s", qPrintable(report.ErrorMsg()));

    QStringList sources;
    for (int n = 0; n < kFunctions; ++n)
        sources << QStringLiteral("function fr3f%1: Variant; begin Result := IntToStr(<Riga.Quantita> * %1) + ' - ' + "
                                  "FormatFloat('#,##0.00', Prezzo * Quantita / %2) end; begin end.")
                       .arg(n)
                       .arg(n + 1);
    // The best of a few passes, each into a cache of its own, as a report fills it.
    double ours = 1e9;
    QString check;
    for (int run = 0; run < kRuns; ++run) {
        TfsScript cache;
        cache.SetExtendedCharset(true);
        cache.SetParent(&report);
        QElapsedTimer timer;
        timer.start();
        for (int n = 0; n < kFunctions; ++n) {
            cache.SetLines({sources[n]});
            if (!cache.Compile())
                qFatal("cache function %d: %s at %s", n, qPrintable(cache.ErrorMsg()), qPrintable(cache.ErrorPos()));
            if (!cache.FindLocal(QStringLiteral("fr3f%1").arg(n)))
                qFatal("cache function %d missing", n);
        }
        ours = std::min(ours, double(timer.nsecsElapsed()) / 1e3 / kFunctions);
        check = cache.FindLocal(QStringLiteral("fr3f7"))->GetValue().toString();
    }

    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    QList<QByteArray> luaSources;
    for (int n = 0; n < kFunctions; ++n)
        luaSources << QStringLiteral("return function() return tostring(Get('Riga.Quantita') * %1) .. ' - ' .. "
                                     "string.format('%.2f', Prezzo * Quantita / %2) end")
                          .arg(n)
                          .arg(n + 1)
                          .toLatin1();
    double lua = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        for (int n = 0; n < kFunctions; ++n) {
            if (luaL_loadstring(L, luaSources[n].constData()) != LUA_OK || lua_pcall(L, 0, 1, 0) != LUA_OK)
                qFatal("lua: %s", lua_tostring(L, -1));
            lua_pop(L, 1);
        }
        lua = std::min(lua, double(timer.nsecsElapsed()) / 1e3 / kFunctions);
    }
    lua_close(L);
    std::printf("cache functions: %d compiled, %.1f us each, Lua's load %.1f us, ratio %.2f; fr3f7 = %s\n",
                kFunctions, ours, lua, ours / lua, qPrintable(check));
    orv::bench::figure("script", "expression-cache function compile (us)", ours, "< 50", ours < 50, "%.1f");
}


// Our result and the Lua twin's agree: numbers within rounding, texts exactly.
bool sameResult(const Value& ours, lua_State* L, QString& shown)
{
    if (lua_type(L, -1) == LUA_TNUMBER) {
        const double lua = lua_tonumber(L, -1);
        const double mine = ours.toDouble();
        shown = QString::number(mine, 'g', 12);
        return std::fabs(mine - lua) <= 1e-9 * std::max(1.0, std::fabs(lua));
    }
    size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    const QString mine = ours.toString();
    shown = mine.size() > 12 ? mine.left(5) + QStringLiteral("...") + mine.right(3) : mine;
    return text && mine == QString::fromLatin1(text, qsizetype(length));
}

// The "same kind of list" for Lua's twins: a list of texts in C, reached through C
// functions, as a script reaches TStringList through the host.
QStringList luaList;

int luaListClear(lua_State*)
{
    luaList.clear();
    return 0;
}

int luaListAdd(lua_State* L)
{
    size_t length = 0;
    const char* text = luaL_checklstring(L, 1, &length);
    luaList.append(QString::fromUtf8(text, qsizetype(length)));
    lua_pushinteger(L, luaList.size() - 1);
    return 1;
}

int luaListCount(lua_State* L)
{
    lua_pushinteger(L, luaList.size());
    return 1;
}

int luaListIndexOf(lua_State* L)
{
    size_t length = 0;
    const char* text = luaL_checklstring(L, 1, &length);
    lua_pushinteger(L, luaList.indexOf(QString::fromUtf8(text, qsizetype(length))));
    return 1;
}

lua_State* newLua()
{
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    lua_register(L, "ListClear", luaListClear);
    lua_register(L, "ListAdd", luaListAdd);
    lua_register(L, "ListCount", luaListCount);
    lua_register(L, "ListIndexOf", luaListIndexOf);
    return L;
}

QByteArray doubledCount(const char* source)
{
    return QByteArray(source).replace("200000", "400000");
}

// One shape: ours and Lua's twin in interleaved rounds; the ratio's median and spread.
// Texts are also run at twice the count, for the growth of their time.
bool measure(const Part& part)
{
    TfsScript script;
    script.AddRTTI();
    compile(script, part.script, part.language);
    lua_State* L = newLua();
    const bool text = QByteArray(part.name).startsWith("text") && QByteArray(part.script).contains("200000");
    TfsScript twice;
    twice.AddRTTI();
    const QByteArray twiceSource = doubledCount(part.script);
    if (text)
        compile(twice, twiceSource.constData(), part.language);
    std::vector<std::function<double()>> contenders{
        [&] { return orv::bench::secondsPerCall([&] { script.Execute(); }); },
        [&] {
            return orv::bench::secondsPerCall([&] {
                runLua(L, part.lua, 1);
                lua_pop(L, 1);
            });
        },
    };
    if (text)
        contenders.push_back([&] { return orv::bench::secondsPerCall([&] { twice.Execute(); }); });
    const auto samples = orv::bench::interleave(kRounds, contenders);
    QString shown;
    runLua(L, part.lua, 1);
    script.Execute();
    const bool right = sameResult(script.Variables(QStringLiteral("r")), L, shown);
    lua_close(L);
    const std::string name = std::string(part.name) + " " + part.language;
    std::printf("%-40s ours %.3f s, Lua %.3f s; r = %s (%s)\n", name.c_str(), orv::bench::spreadOf(samples[0]).median,
                orv::bench::spreadOf(samples[1]).median, qPrintable(shown), right ? "agrees with Lua" : "DIFFERS from Lua");
    const orv::bench::Spread ratio = orv::bench::ratioOf(samples[0], samples[1]);
    orv::bench::figure("script", name + " / Lua", ratio, "<= 2", orv::bench::atMost(ratio, 2));
    if (text) {
        const orv::bench::Spread growth = orv::bench::ratioOf(samples[2], samples[0]);
        orv::bench::figure("script", name + " doubled count / count", growth, "<= 2.6", orv::bench::atMost(growth, 2.6));
    }
    return right;
}

// Compiling a program of simple statements (assignments of small expressions), per
// statement, against Lua's load of its twin.
void compileSpeed()
{
    constexpr int kLines = 1000; // three statements each
    QString ours = QStringLiteral("var a, b, c: Integer;\nbegin\n");
    QByteArray lua = "local a, b, c = 0, 0, 0\n";
    for (int n = 0; n < kLines; ++n) {
        ours += QStringLiteral("a := b + %1; b := a * 2 - c; c := a;\n").arg(n);
        lua += QStringLiteral("a = b + %1 b = a * 2 - c c = a\n").arg(n).toLatin1();
    }
    ours += QStringLiteral("end.");
    const QStringList lines = fsTextToLines(ours);
    double oursBest = 1e9, luaBest = 1e9;
    lua_State* L = luaL_newstate();
    for (int run = 0; run < kRuns; ++run) {
        TfsScript script;
        script.AddRTTI();
        oursBest = std::min(oursBest, seconds([&] {
            script.SetLines(lines);
            if (!script.Compile())
                qFatal("compile error %s at %s", qPrintable(script.ErrorMsg()), qPrintable(script.ErrorPos()));
        }));
        luaBest = std::min(luaBest, seconds([&] {
            if (luaL_loadstring(L, lua.constData()) != LUA_OK)
                qFatal("lua: %s", lua_tostring(L, -1));
            lua_pop(L, 1);
        }));
    }
    lua_close(L);
    const double perStatement = oursBest * 1e6 / (3 * kLines), luaPer = luaBest * 1e6 / (3 * kLines);
    std::printf("%-18s ours %6.2f us per statement, Lua %5.2f us, ratio %5.2f\n", "compile", perStatement, luaPer,
                perStatement / luaPer);
    orv::bench::figure("script", "compile per statement (us)", perStatement, "<= 10", perStatement <= 10);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    fsRegisterHostBridges();
    // "bench_script <part> [runs] [lua | language]" runs only the parts whose names start
    // so, of our engine (of one language) or of the Lua twin, for a profiler; "cache" and "compile" the compile parts.
    // "bench_script figures <part>" measures only the parts whose names start so.
    if (argc > 2 && QByteArray(argv[1]) == "figures") {
        bool right = true;
        for (const Part& part : kParts)
            if (QByteArray(part.name).startsWith(argv[2]))
                right = measure(part) && right;
        return right ? 0 : 1;
    }
    if (argc > 1) {
        const int runs = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : kRuns;
        const bool peer = argc > 3 && QByteArray(argv[3]) == "lua";
        // Any other third word names the language of the parts to run.
        const QByteArray language = argc > 3 && !peer ? QByteArray(argv[3]) : QByteArray();
        for (const Part& part : kParts) {
            if (!QByteArray(part.name).startsWith(argv[1]) || (!language.isEmpty() && language != part.language))
                continue;
            if (peer) {
                lua_State* L = newLua();
                for (int run = 0; run < runs; ++run) {
                    runLua(L, part.lua, 1);
                    lua_pop(L, 1);
                }
                lua_close(L);
                continue;
            }
            TfsScript script;
            script.AddRTTI();
            compile(script, part.script, part.language);
            for (int run = 0; run < runs; ++run)
                script.Execute();
        }
        if (QByteArray("cache").startsWith(argv[1]))
            cacheCompile();
        if (QByteArray("compile").startsWith(argv[1]))
            compileSpeed();
        return 0;
    }
    if (!checkResults())
        return 1;

    bool allRight = true;
    for (const Part& part : kParts)
        allRight = measure(part) && allRight;
    compileSpeed();
    cacheCompile();
    return allRight ? 0 : 1;
}
