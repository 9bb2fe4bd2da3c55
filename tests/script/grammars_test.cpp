// Small programs in the three other languages: results, run compiled and through the
// statement objects, and compile errors with their positions.
#include "engine.h"

#include "script/front/ilparser.h"
#include "script/front/xml.h"

#include <QFile>

using namespace orv::script;

using namespace scripttest;

TEST(OtherLanguages, ProgramsGiveTheirResults)
{
    const struct {
        const char* language;
        const char* source;
        const char* result;
    } cases[] = {
        // Z++Ovuvir: typed declarations, #define, functions, C operators and statements.
        {"Z++Ovuvir", "int r; { int i = 0; i += 2; r = i * 10; }", "20"},
        {"Z++Ovuvir", "#define MAX 10\nint r; { r = MAX + 1; }", "11"},
        {"Z++Ovuvir", "int r;\nint twice(int a) { return a * 2; }\n{ r = twice(21); }", "42"},
        {"Z++Ovuvir", "int r;\nvoid bump(int &a) { a++; }\n{ r = 1; bump(r); bump(r); }", "3"},
        {"Z++Ovuvir", "int r; { r = 0; for (int i = 1; i <= 4; i++) r += i; }", "10"},
        {"Z++Ovuvir", "int r; { r = 7 % 3 + (1 << 4) + (64 >> 2); }", "33"},
        {"Z++Ovuvir", "bool r; { r = (1 == 1) && !(2 != 2) || false; }", "True"},
        {"Z++Ovuvir", "int r; { r = 0; do { r++; } while (r < 5); }", "5"},
        {"Z++Ovuvir", "int r; { r = 0; while (r < 100) { r += 7; if (r > 20) break; } }", "21"},
        {"Z++Ovuvir", "string r; { switch (2) { case 1: r = \"uno\"; case 2: { r = \"due\"; } default: r = \"altro\"; } }",
         "due"},
        {"Z++Ovuvir", "string r; { r = \"a\\tb\"; r = IntToStr(Length(r)); }", "3"},
        {"Z++Ovuvir", "float r; { try { r = 1 / 0; } except { r = -1; } }", "-1"},
        {"Z++Ovuvir", "int r; { r = 0x1F; ; ; }", "31"},
        {"Z++Ovuvir", "/* block */ int r; // line\n{ r = 1; }", "1"},
        // RadivEdurav: line ends end statements, names need no declaration.
        {"RadivEdurav", "Dim a As Integer : a = 1\nr = a + 1", "2"},
        {"RadivEdurav", "a = 1\nIf a = 1 Then r = 2", "2"},
        {"RadivEdurav", "a = 3\nIf a = 1 Then\nr = 1\nElseIf a = 3 Then\nr = 3\nElse\nr = 9\nEnd If", "3"},
        {"RadivEdurav", "r = 0\nFor i = 1 To 10 Step 3\nr = r + i\nNext", "22"},
        {"RadivEdurav", "Function F(ByRef a)\nReturn a * 2\nEnd Function\nr = F(4)", "8"},
        {"RadivEdurav", "Sub Bump(ByRef a)\na = a + 1\nEnd Sub\nr = 1\nBump(r)", "2"},
        {"RadivEdurav", "r = \"ab\" & \"cd\" & IntToStr(7 \\ 2)", "abcd3"},
        {"RadivEdurav", "r = 0\nDo\nr = r + 1\nLoop While r < 4", "4"},
        {"RadivEdurav", "r = 0\nWhile r < 3\nr = r + 1\nWend", "3"},
        {"RadivEdurav", "Select Case 2\nCase 1: r = \"uno\"\nCase 2: r = \"due\"\nCase Else: r = \"x\"\nEnd Select", "due"},
        {"RadivEdurav", "' note\nrem another note\nr = 1 + _\n2 /\\ block /\\", "3"},
        {"RadivEdurav", "Try\nr = 1 / 0\nCatch\nr = -1\nEnd Try", "-1"},
        // JScript: untyped variables, functions as statements, optional semicolons.
        {"JScript", "var x = 1; x++; r = x;", "2"},
        {"JScript", "function f(a) { return a * 2; }\nr = f(5)", "10"},
        {"JScript", "r = 0; for (var i = 0; i < 5; i++) r += i;", "10"},
        {"JScript", "r = \"\"; var k = 3; while (k > 0) { r = r + IntToStr(k); k--; }", "321"},
        {"JScript", "r = 0; do r++; while (r < 3);", "3"},
        {"JScript", "switch (3) { case 1, 2: r = \"low\"; case 3: r = \"three\"; default: r = \"x\" }", "three"},
        {"JScript", "try { r = 1 / 0 } except { r = \"caught\" }", "caught"},
        {"JScript", "if (1 > 2) r = 1; else r = 2", "2"},
        // Joining texts with & converts both sides, also in an assignment to the variable
        // joined: never an addition.
        {"RadivEdurav", "s = \"3\" : s = s & 5\nr = s", "35"},
        {"RadivEdurav", "s = \"\"\nFor i = 1 To 3\ns = s & i\nNext\nr = s", "123"},
        {"RadivEdurav", "Dim n As Integer\nn = 4\nn = 1 & n\nr = n", "14"},
        {"RadivEdurav", "r = 5 & 3 & \"x\"", "53x"},
        // Comments and blank lines after the last statement are no unread text.
        {"JScript", "r = 1; // end\n/* note */\n\n", "1"},
        {"RadivEdurav", "r = 1\n' end\n\n", "1"},
    };
    for (const auto& c : cases) {
        const Outcome o = runIn(c.language, c.source);
        EXPECT_TRUE(o.compiled) << c.language << ": " << c.source << ": " << o.error.toStdString() << " at "
                                << o.pos.toStdString();
        EXPECT_EQ(o.raised, QString()) << c.source;
        EXPECT_EQ(o.result, q(c.result)) << c.language << ": " << c.source;
    }
}

TEST(OtherLanguages, CompileErrorsWithPositions)
{
    const struct {
        const char* language;
        const char* source;
        const char* error;
        const char* pos;
    } cases[] = {
        // Keywords compare with case in Z++Ovuvir: "If" is an undeclared name.
        {"Z++Ovuvir", "int r; { If (1) r = 1; }", "';' expected", "1:17"},
        {"Z++Ovuvir", "int r; { r = 1 }", "';' expected", "1:16"},
        {"Z++Ovuvir", "int r; { r = (1 + 2; }", "')' expected", "1:20"},
        {"Z++Ovuvir", "int r; r = 1;", "'{' expected", "1:8"},
        {"Z++Ovuvir", "{ x = 1; }", "Undeclared identifier: 'x'", "1:4"},
        // A line end must follow the parameter list: no statement matches the line.
        {"RadivEdurav", "Function F(ByRef a) : F = a : End Function", "Statement expected", "1:1"},
        {"RadivEdurav", "If 1 = 1 Then\nr = 1\n", "'END' expected", "3:1"},
        {"RadivEdurav", "For i = 1 2\nNext", "'TO' expected", "1:11"},
        {"RadivEdurav", "While 1 = 2\nr = 1\n", "'WEND' expected", "3:1"},
        {"JScript", "x =", "Expression expected", "2:1"},
        {"JScript", "if (1 r = 2", "')' expected", "1:7"},
        {"JScript", "function f(a) { return a; ", "'}' expected", "2:1"},
        // Text the program's statements leave unread is an error where it starts, not
        // silently dropped.
        {"JScript", "var x = 1; x = 2; } x = 3;", "Statement expected", "1:19"},
        {"JScript", "r = 5; ) r = 6;", "Statement expected", "1:8"},
        {"JScript", "@@@\nr = 1", "Statement expected", "1:1"},
        {"RadivEdurav", "r = 5\n)\nr = 6", "Statement expected", "2:1"},
        {"RadivEdurav", "@@@\nr = 1", "Statement expected", "1:1"},
    };
    for (const auto& c : cases) {
        const Outcome o = runIn(c.language, c.source);
        EXPECT_FALSE(o.compiled) << c.language << ": " << c.source;
        EXPECT_EQ(o.error, q(c.error)) << c.language << ": " << c.source;
        EXPECT_EQ(o.pos, q(c.pos)) << c.language << ": " << c.source;
    }
}

TEST(OtherLanguages, ReportTextsAndLanguageLines)
{
    // «<text>» is a call of Get with the text in every language.
    for (const char* language : {"Z++Ovuvir", "RadivEdurav", "JScript"}) {
        const char* source = QByteArray(language) == "Z++Ovuvir" ? "string r; { r = <Cliente.Nome>; }"
                                                                 : "r = <Cliente.Nome>";
        const Outcome o = run(q(source), QStringLiteral("r"), [&](TfsScript& s) {
            s.SetSyntaxType(QString::fromLatin1(language));
            s.AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                        TfsCallMethodNewEvent([](TfsObject, TfsClass, const QString&, TfsMethodHelper* c) {
                            return Value(QStringLiteral("got ") + c->GetVParam(0).toString());
                        }));
        });
        EXPECT_EQ(o.error, QString()) << language;
        EXPECT_EQ(o.result, q("got Cliente.Nome")) << language;
    }
    // A first line names the language whatever SyntaxType says.
    const Outcome o = run(q("#language JScript\r\nvar a = 2; r = a * a;"));
    EXPECT_EQ(o.error, QString());
    EXPECT_EQ(o.result, q("4"));
}

TEST(OtherLanguages, DecidingItemsEarlyChangesNoResult)
{
    // Every prefix and one-character deletion of a program in each language parses the
    // same whether grammar items are decided from the next character or run in full.
    struct Parsed {
        bool ok = false;
        QByteArray il;
        QString msg, pos;
        bool operator==(const Parsed&) const = default;
    };
    auto parse = [](const QString& source, bool lookahead) {
        TfsILParser::SetLookahead(lookahead);
        TfsScript script;
        script.SetOnGetUnit([](TfsScript&, const QString&, QString& text) { text = QString(); });
        TfsILParser parser(&script);
        parser.SelectLanguage(QStringLiteral("VoriroVoreva"));
        Parsed p;
        p.ok = parser.MakeILScript(source);
        p.il = parser.ILScript()->SaveToBytes();
        p.msg = script.ErrorMsg();
        p.pos = script.ErrorPos();
        TfsILParser::SetLookahead(true);
        return p;
    };
    for (const char* seed : {"zppovuvir.txt", "radivedurav.txt", "jscript.txt"}) {
        QFile f(QStringLiteral(ORV_SOURCE_DIR "/fuzz/corpus/script_parser/") + QString::fromLatin1(seed));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << seed;
        const QString text = QString::fromUtf8(f.readAll());
        const Parsed whole = parse(text, true);
        EXPECT_TRUE(whole.ok) << seed << ": " << whole.msg.toStdString() << " at " << whole.pos.toStdString();
        // The language line stays whole: without it the text is another language's.
        const qsizetype start = text.indexOf(u'\n') + 1;
        for (qsizetype n = start; n <= text.size(); ++n) {
            for (const QString& variant : {text.left(n), n < text.size() ? text.left(n) + text.mid(n + 1) : QString()}) {
                if (variant.isEmpty())
                    continue;
                EXPECT_EQ(parse(variant, true), parse(variant, false)) << seed << " at " << n;
            }
        }
    }
}

TEST(OtherLanguages, LongerProgramsRunAlikeBothWays)
{
    // The run fuzzer's seeds in the three languages: each compiles, and runs to the same
    // end compiled and through the tree (run() compares the two).
    const struct {
        const char* seed;
        const char* result;
    } cases[] = {
        {"zppovuvir.txt", "5"},
        {"radivedurav.txt", "0120110!"},
        {"jscript.txt", "012310e"},
        {"errors_zppovuvir.txt", "ERangeError:Range check errorab7erangeerror:range check error"},
        {"errors_radivedurav.txt", "ERangeError:Range check errorab72"},
        {"errors_jscript.txt", "ERangeError:Range check errorba7X"},
    };
    for (const auto& c : cases) {
        QFile f(QStringLiteral(ORV_SOURCE_DIR "/fuzz/corpus/script_run/") + QString::fromLatin1(c.seed));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.seed;
        const Outcome o = run(QString::fromUtf8(f.readAll()));
        EXPECT_TRUE(o.compiled) << c.seed << ": " << o.error.toStdString() << " at " << o.pos.toStdString();
        EXPECT_EQ(o.raised, QString()) << c.seed;
        EXPECT_EQ(o.result, q(c.result)) << c.seed;
    }
}
