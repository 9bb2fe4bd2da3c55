// Terminate ends every loop of a running script, whatever its body, whichever way the
// program runs and whichever thread asks: a loop with an empty body reports no line and
// calls nothing, so only the loop's own end can notice.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "print.h"
#include "script/core/script.h"
#include "script/core/vm.h"

using namespace orv::script;

namespace {

using orv::script::Value;

struct EndlessLoop {
    const char* language;
    const char* source; // calls Started once, then loops forever; `after` is set behind the loop
};

// Each endless form, in the main program and inside a procedure of the script.
const EndlessLoop kLoops[] = {
    {"VoriroVoreva", "var after: Integer; begin Started; while True do ; after := 1 end."},
    {"VoriroVoreva", "var after: Integer; begin Started; repeat until False; after := 1 end."},
    {"VoriroVoreva", "var after, n: Integer; begin Started; n := 0; while n + 1 <> 0 do begin end; after := 1 end."},
    {"VoriroVoreva", "var after, i: Integer; begin Started; for i := 0 to 2147483647 do ; after := 1 end."},
    {"VoriroVoreva", "var after: Integer; procedure Spin; begin while True do ; end; begin Started; Spin; after := 1 end."},
    {"VoriroVoreva",
     "var after: Integer; procedure Spin(k: Integer); begin if k > 0 then Spin(k - 1); while True do ; end; "
     "begin Started; Spin(3); after := 1 end."},
    // A routine called from the loop, over and over, with parameters by reference and texts.
    {"VoriroVoreva",
     "var after, n: Integer; procedure Step(var k: Integer; s: String); begin k := k + Length(s) mod 2 end; "
     "begin Started; n := 0; while n >= 0 do Step(n, 'ab'); after := 1 end."},
    {"Z++Ovuvir", "int after, n; void Step(int &k, string s) { k = k + Length(s) % 2; } { Started; n = 0; while (n >= 0) Step(n, \"ab\"); after = 1; }"},
    {"RadivEdurav", "Dim n, after\nStarted\nn = 0\nWhile n + 1\nWend\nafter = 1"},
    {"RadivEdurav", "Dim after\nStarted\nDo\nLoop Until False\nafter = 1"},
    {"RadivEdurav", "Dim after\nSub Spin\nWhile True\nWend\nEnd Sub\nStarted\nSpin\nafter = 1"},
    {"JScript", "var after; Started; while (1) {} after = 1;"},
    {"JScript", "var after, i; Started; for (i = 0; true; i++) {} after = 1;"},
    {"JScript", "var after; Started; do {} while (true); after = 1;"},
    {"JScript", "var after; function spin() { while (1) {} } Started; spin(); after = 1;"},
    {"Z++Ovuvir", "int after; { Started; while (1) {} after = 1; }"},
    {"Z++Ovuvir", "int after, i; { Started; for (i = 0; 1; i++) ; after = 1; }"},
};

// Runs the script in a thread of its own; one that does not end stops the whole test
// program at once (a hang guard, not a speed figure).
void executeBounded(TfsScript& s, const std::function<void()>& whileRunning)
{
    auto run = std::async(std::launch::async, [&s] {
        try {
            s.Execute();
        } catch (...) {
            return false;
        }
        return true;
    });
    whileRunning();
    if (run.wait_for(std::chrono::seconds(90)) != std::future_status::ready) {
        std::fprintf(stderr, "a terminated script did not end: the test program stops here\n");
        std::fflush(stderr);
        std::_Exit(3);
    }
    EXPECT_TRUE(run.get());
}

} // namespace

TEST(Terminate, EndsEveryEndlessLoopFromAnotherThreadOnBothPaths)
{
    for (const EndlessLoop& loop : kLoops) {
        for (bool compiled : {true, false}) {
            // Asked while the loop spins, and asked as the program starts (before the loop
            // is entered at all).
            for (bool early : {false, true}) {
                orv::script::vm::setEnabled(compiled);
                TfsScript s;
                s.AddRTTI();
                s.SetSyntaxType(QString::fromLatin1(loop.language));
                std::atomic<bool> started{false};
                s.AddMethod(QStringLiteral("procedure Started"), [&](TfsObject, TfsClass, const QString&, TfsMethodHelper*) {
                    if (early)
                        s.Terminate();
                    started = true;
                    return Value();
                });
                s.SetLines(fsTextToLines(QString::fromLatin1(loop.source)));
                ASSERT_TRUE(s.Compile()) << loop.source << ": " << s.ErrorMsg().toStdString() << " at "
                                         << s.ErrorPos().toStdString();
                executeBounded(s, [&] {
                    while (!started)
                        std::this_thread::yield();
                    if (!early) {
                        // Give the loop some turns before asking.
                        std::this_thread::sleep_for(std::chrono::milliseconds(20));
                        s.Terminate();
                    }
                });
                // Nothing behind the loop ran.
                const Value after = s.Variables(QStringLiteral("after"));
                EXPECT_TRUE(after.isNull() || after.isEmpty() || after.toInt() == 0)
                    << loop.language << ": " << loop.source << (compiled ? " compiled" : " plain");
            }
        }
    }
    orv::script::vm::setEnabled(true);
}

TEST(Terminate, AScriptThatWasTerminatedRunsWholeTheNextTime)
{
    for (bool compiled : {true, false}) {
        orv::script::vm::setEnabled(compiled);
        TfsScript s;
        s.AddRTTI();
        int calls = 0;
        s.AddMethod(QStringLiteral("procedure Tick"), [&](TfsObject, TfsClass, const QString&, TfsMethodHelper*) {
            if (++calls == 1)
                s.Terminate();
            return Value();
        });
        s.SetLines(fsTextToLines(QStringLiteral(
            "var n: Integer; procedure P; var i: Integer; begin for i := 1 to 5 do n := n + 1 end; "
            "begin n := 0; Tick; P; P end.")));
        ASSERT_TRUE(s.Compile());
        s.Execute();
        EXPECT_EQ(s.Variables(QStringLiteral("n")).toInt(), 0) << compiled;
        s.Execute();
        EXPECT_EQ(s.Variables(QStringLiteral("n")).toInt(), 10) << compiled;
    }
    orv::script::vm::setEnabled(true);
}
