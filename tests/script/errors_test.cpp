// Compile errors with their texts and positions, and errors while running.
#include "engine.h"

using namespace orv::script;

using namespace scripttest;

TEST(CompileErrors, TextsAndPositions)
{
    const struct {
        const char* source;
        const char* error;
        const char* pos;
    } cases[] = {
        {"var x: Integer; x: String; begin end.", "Identifier redeclared: 'x'", "1:18"},
        {"begin y := 1 end.", "Undeclared identifier: 'y'", "1:8"},
        {"var i: Integer; begin i := 'a' end.", "Incompatible types: 'Integer', 'String'", "1:31"},
        {"var i: Integer; e: Extended; begin e := 1.5; i := e end.", "Incompatible types: 'Integer', 'Extended'", "1:52"},
        {"var s: String; begin s := 'ab' + 1 end.", "Incompatible types", "1:33"},
        {"const N = 2 * 3; begin N := 1 end.", "Left side cannot be assigned to", "1:30"},
        {"procedure P(i: Integer); begin for i := 1 to 3 do ; end; begin end.", "For loop variable must be numeric variable", "1:37"},
        {"var s: String; i: Integer; begin for s := 1 to 3 do ; end.", "For loop variable must be numeric variable", "1:39"},
        {"var x: TNothing; begin end.", "Unknown type: 'TNothing'", "1:16"},
        {"var r: Variant; begin r := Copy('abc', 1) end.", "Not enough actual parameters", "1:32"},
        {"var r: Variant; begin r := Copy('abc', 1, 2, 3) end.", "Too many actual parameters", "1:32"},
        {"var r: Variant; begin r := IntToStr('a') end.", "Incompatible types: 'Integer', 'String'", "1:40"},
        // The engine's own wording; the report engine replaces its messages at start.
        {"var s: String; r: Variant; begin r := s.Length end.", "Strings doesn't have properties or methods", "1:47"},
        {"var n, r: Integer; begin r := n[0] end.", "Array type required", "1:33"},
        {"var r: Variant; begin r := @Undefined.X end.", "Variable required", "1:29"},
        {"function F: Integer; begin end; function F: Integer; begin end; begin end.", "Identifier redeclared: 'F'", "1:43"},
        {"procedure P(a: Integer; a: String); begin end; begin end.", "Identifier redeclared: 'a'", "1:26"},
        {"var r: Variant; begin r := Later(4) end.", "Undeclared identifier: 'Later'", "1:33"},
        {"var b: Boolean; begin b := 1 end.", "Incompatible types: 'Boolean', 'Integer'", "1:29"},
        {"var r: Variant; begin r := True + 1 end.", "Incompatible types", "1:34"},
    };
    for (const auto& c : cases) {
        const Outcome o = run(q(c.source));
        EXPECT_FALSE(o.compiled) << c.source;
        EXPECT_EQ(o.error, q(c.error)) << c.source;
        EXPECT_EQ(o.pos, q(c.pos)) << c.source;
    }
}

TEST(RunErrors, HostErrorsBecomeScriptExceptions)
{
    // Fail(n) stands for host code that fails in the ways C++ code can.
    const scripttest::Setup failing = [](TfsScript& s) {
        s.AddMethod(QStringLiteral("procedure Fail(Kind: Integer)"),
                    TfsCallMethodNewEvent([](TfsObject, TfsClass, const QString&, TfsMethodHelper* c) -> Value {
                        switch (c->GetVParam(0).toInt()) {
                        case 1: throw std::runtime_error("Disk full");
                        case 2: throw std::bad_alloc();
                        case 3: throw 42;
                        default: throw orv::platform::EFileError(QStringLiteral("Cannot create file \"/x\""));
                        }
                    }));
    };
    const struct {
        int kind;
        const char* className;
        const char* message;
    } cases[] = {
        {1, "Exception", "Disk full"},
        {2, "EOutOfMemory", "Out of memory"},
        {3, "Exception", "External exception"},
        {4, "EFileError", "Cannot create file \"/x\""},
    };
    for (const auto& c : cases) {
        const QString kind = QString::number(c.kind);
        const Outcome caught = run(QStringLiteral("var r: String;\r\nbegin\r\n  try\r\n    Fail(") + kind
                                       + QStringLiteral(");\r\n  except\r\n    r := ExceptionClassName + ': ' + "
                                                        "ExceptionMessage;\r\n  end;\r\nend."),
                                   QStringLiteral("r"), failing);
        EXPECT_EQ(caught.raised, QString()) << c.kind;
        EXPECT_EQ(caught.result, QString::fromLatin1(c.className) + QStringLiteral(": ") + q(c.message)) << c.kind;
        // Uncaught, the host gets the engine's error with the same message.
        const Outcome uncaught = run(QStringLiteral("begin Fail(") + kind + QStringLiteral(") end."), QString(), failing);
        EXPECT_EQ(uncaught.raised, q(c.message)) << c.kind;
    }
}

TEST(RunErrors, TextsAndArraysStopAtTheirSizeLimit)
{
    // Each program asks for far more than the limit; the script catches "Out of memory"
    // and the machine's memory is never asked for it.
    const char* programs[] = {
        "var s: String; r: String;\r\nbegin\r\n  try\r\n    SetLength(s, 2000000000);\r\n  except\r\n"
        "    r := ExceptionClassName + ': ' + ExceptionMessage;\r\n  end;\r\nend.",
        "var s: String; i: Integer; r: String;\r\nbegin\r\n  s := 'ab';\r\n  try\r\n"
        "    for i := 1 to 40 do s := s + s;\r\n  except\r\n    r := ExceptionClassName + ': ' + ExceptionMessage;\r\n"
        "  end;\r\nend.",
        "var a: Variant; r: String;\r\nbegin\r\n  try\r\n    a := VarArrayCreate([0, 2000000000], varInteger);\r\n"
        "  except\r\n    r := ExceptionClassName + ': ' + ExceptionMessage;\r\n  end;\r\nend.",
        "var a: array of Integer; r: String;\r\nbegin\r\n  try\r\n    SetLength(a, 2000000000);\r\n"
        "  except\r\n    r := ExceptionClassName + ': ' + ExceptionMessage;\r\n  end;\r\nend.",
    };
    for (const char* program : programs) {
        const Outcome o = run(q(program));
        EXPECT_EQ(o.raised, QString()) << program;
        EXPECT_EQ(o.result, q("EOutOfMemory: Out of memory")) << program;
    }
    // Texts that grow in place stop as well.
    const Outcome doubled = run(q("#language JScript\r\nvar s = \"ab\";\r\n"
                                  "try { for (var i = 0; i < 40; i++) s += s; } except { r = ExceptionMessage; }"));
    EXPECT_EQ(doubled.result, q("Out of memory"));
    // Below the limit texts are made as before.
    const Outcome o = run(q("var s: String; r: Integer;\r\nbegin\r\n  SetLength(s, 1000);\r\n  r := Length(s);\r\nend."));
    EXPECT_EQ(o.result, q("1000"));
}

TEST(RunErrors, TheHostLearnsWhereTheErrorArose)
{
    // The position of the innermost statement running when the error arose, the same
    // compiled and through the statement objects.
    const struct {
        const char* language;
        const char* source;
        const char* pos;
    } cases[] = {
        {"VoriroVoreva", "var r, s: Variant; begin s := 'ab';\n  r := s + 1 end.", "2:3"},
        // Inside a procedure called from a loop, and inside a loop's body.
        {"VoriroVoreva",
         "var i: Integer; r: Variant;\nprocedure P(v: Variant); var t: Variant; begin\nt := v * 2 end;\n"
         "begin for i := 1 to 3 do\n P('x') end.",
         "3:1"},
        {"VoriroVoreva", "var i, r: Integer; begin i := 3;\nwhile i >= 0 do begin\n  r := 6 div i;\n  i := i - 1 end end.",
         "3:3"},
        // Deep in recursion, in a routine that runs in registers.
        {"VoriroVoreva",
         "var r: Integer;\nfunction F(k: Integer): Integer; begin if k = 0 then\n Result := 1 div k else Result := F(k - 1) end;\n"
         "begin r := F(20) end.",
         "3:2"},
        // An error a script caught earlier leaves no trace.
        {"VoriroVoreva", "var r, s: Variant; begin s := 'x'; try r := 1 div 0 except end;\nr := s - 1 end.", "2:1"},
        // The condition of a loop belongs to the loop.
        {"VoriroVoreva", "var r, s: Variant; begin s := 'x';\n while s > 1 do r := 1 end.", "2:2"},
        {"Z++Ovuvir", "int r; { r = 0;\nr = 7 % r; }", "2:1"},
        {"JScript", "var a = 1;\nvar b = \"x\";\nr = a - b;", "3:1"},
        {"JScript", "function f(x) {\n  return x * 2;\n}\nr = f(\"y\");", "2:3"},
        {"RadivEdurav", "a = 1\nb = \"x\"\nr = a - b", "3:1"},
        {"RadivEdurav", "Sub P(v)\nr = v \\ 0\nEnd Sub\nP(4)", "2:1"},
    };
    for (const auto& c : cases) {
        const Outcome o = runCompiledIn(c.language, c.source);
        EXPECT_NE(o.raised, QString()) << c.source;
        EXPECT_EQ(o.raisedAt, q(c.pos)) << c.language << ": " << c.source;
    }
}
