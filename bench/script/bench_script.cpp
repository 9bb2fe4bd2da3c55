// The script engine against Lua 5.4, both embedded in this program and measured in the
// same run: a VoriroVoreva program and its Lua twin (a counting loop over an array,
// recursion, building a text piece by piece), each part timed on its own, plus the
// compile time of the report's expression-cache functions. Prints the ratios to Lua;
// the goals: at most 2 on the loop and on recursion, below 1 on the text, and under
// 50 microseconds per cache-function compile.
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include "script/core/script.h"

using orv::script::Value;

namespace {

constexpr int kRuns = 5;

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
    const char* script;
    const char* lua;
};

const Part kParts[] = {
    {"loop",
     "var i, s: Integer; a: array[0..999] of Integer; "
     "begin for i := 0 to 999 do a[i] := i; s := 0; "
     "for i := 1 to 10000000 do s := (s + a[i mod 1000] * 3) mod 1000003; end.",
     "local i, s local a = {} for i = 0, 999 do a[i] = i end s = 0 "
     "for i = 1, 10000000 do s = (s + a[i % 1000] * 3) % 1000003 end return s"},
    {"recursion",
     "var n: Integer; "
     "function Fib(k: Integer): Integer; begin if k < 2 then Result := k else Result := Fib(k - 1) + Fib(k - 2); end; "
     "begin n := Fib(27); end.",
     "local n local function Fib(k) if k < 2 then return k else return Fib(k - 1) + Fib(k - 2) end end "
     "n = Fib(27) return n"},
    {"text building",
     "var i: Integer; t: String; begin t := ''; for i := 1 to 50000 do t := t + Chr(65 + i mod 26); end.",
     "local i, t t = '' for i = 1, 50000 do t = t .. string.char(65 + i % 26) end return t"},
};

double seconds(const std::function<void()>& f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return double(timer.nsecsElapsed()) / 1e9;
}

// The best of a few runs of each, alternating, so that both see the same machine.
void best(const std::function<void()>& ours, const std::function<void()>& peer, double& oursBest, double& peerBest)
{
    oursBest = peerBest = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        oursBest = std::min(oursBest, seconds(ours));
        peerBest = std::min(peerBest, seconds(peer));
    }
}

void compile(TfsScript& script, const char* source)
{
    script.Clear();
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
    std::printf("cache functions: %d compiled, %.1f us each (goal < 50), Lua's load %.1f us, ratio %.2f; fr3f7 = %s\n",
                kFunctions, ours, lua, ours / lua, qPrintable(check));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // "bench_script <part> [runs] [lua]" runs only that part of our engine, or of the Lua
    // twin, for a profiler.
    if (argc > 1) {
        const int runs = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : kRuns;
        const bool peer = argc > 3 && QByteArray(argv[3]) == "lua";
        for (const Part& part : kParts) {
            if (!QByteArray(part.name).startsWith(argv[1]))
                continue;
            if (peer) {
                lua_State* L = luaL_newstate();
                luaL_openlibs(L);
                for (int run = 0; run < runs; ++run) {
                    runLua(L, part.lua, 1);
                    lua_pop(L, 1);
                }
                lua_close(L);
                continue;
            }
            TfsScript script;
            script.AddRTTI();
            compile(script, part.script);
            for (int run = 0; run < runs; ++run)
                script.Execute();
        }
        if (QByteArray("cache").startsWith(argv[1]))
            cacheCompile();
        return 0;
    }
    if (!checkResults())
        return 1;

    for (const Part& part : kParts) {
        TfsScript script;
        script.AddRTTI();
        compile(script, part.script);
        lua_State* L = luaL_newstate();
        luaL_openlibs(L);
        double ours, lua;
        best([&] { script.Execute(); }, [&] {
            runLua(L, part.lua, 1);
            lua_pop(L, 1);
        }, ours, lua);
        lua_close(L);
        std::printf("%-14s ours %.3f s, Lua %.3f s, ratio %.2f\n", part.name, ours, lua, ours / lua);
    }

    TfsScript whole;
    whole.AddRTTI();
    compile(whole, kProgram);
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    double ours, lua;
    best([&] { whole.Execute(); }, [&] {
        runLua(L, kLuaProgram, 3);
        lua_pop(L, 3);
    }, ours, lua);
    lua_close(L);
    std::printf("%-14s ours %.3f s, Lua %.3f s, ratio %.2f\n", "whole program", ours, lua, ours / lua);

    cacheCompile();
    return 0;
}
