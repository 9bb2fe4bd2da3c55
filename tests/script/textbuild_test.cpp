// Texts built by adding pieces to themselves grow where they are kept; whatever the
// pieces, the result is the one the operators give, the same compiled and through the
// statement objects.
#include "engine.h"

using namespace orv::script;

using namespace scripttest;

namespace {

struct BuildCase {
    const char* language;
    const char* source;
    const char* result;
};

void expectBuilt(std::initializer_list<BuildCase> cases)
{
    for (const BuildCase& c : cases)
        expectResult(c.language, c.source, c.result);
}

} // namespace

TEST(TextBuilding, ChainsOntoTheTargetGiveTheOperatorsResult)
{
    expectBuilt({
        {"VoriroVoreva", "var i: Integer; r: String; begin r := ''; for i := 1 to 4 do r := r + IntToStr(i) + ','; end.",
         "1,2,3,4,"},
        {"VoriroVoreva", "var i: Integer; r: Variant; begin r := 'x'; for i := 1 to 3 do r := r + Chr(64 + i) + '-' + 'y'; end.",
         "xA-yB-yC-y"},
        // A Variant target that starts Null, or holds a number as text: the operators' rules.
        {"VoriroVoreva", "var r: Variant; begin r := r + 'a' + 'b'; end.", "Null"},
        {"VoriroVoreva", "var r: Variant; begin r := '5'; r := r + 1 + 2; end.", "8"},
        // A piece that reads the target keeps the plain order of operations.
        {"VoriroVoreva", "var r: String; begin r := 'ab'; r := r + '-' + r; end.", "ab-ab"},
        {"VoriroVoreva",
         "var r: String; i: Integer; function Twice(s: String): String; begin Result := s + s end; "
         "begin r := 'a'; for i := 1 to 2 do r := r + Twice(r) + '.'; end.",
         "aaa.aaa.aaa.."},
        {"RadivEdurav", "Dim t, i\nFor i = 1 To 5\nt = t & i\nNext\nr = t", "12345"},
        {"RadivEdurav", "Dim t, i\nt = \"\"\nFor i = 1 To 3\nt = t & i & \";\"\nNext\nr = t", "1;2;3;"},
        // Joining Null adds nothing; joining a number adds its text.
        {"RadivEdurav", "Dim t\nt = \"a\"\nt = t & Null & 2.5\nr = t", "a2,5"},
        {"JScript", "var t = \"\"; for (var i = 0; i < 4; i++) { t = t + IntToStr(i) + \",\"; } r = t;", "0,1,2,3,"},
        {"Z++Ovuvir", "string t, r; int i; { t = \"\"; for (i = 0; i < 3; i++) t = t + IntToStr(i) + \"|\"; r = t; }", "0|1|2|"},
        // In a procedure, with the text a local of its own.
        {"VoriroVoreva",
         "var r: String; function Build(n: Integer): String; var i: Integer; t: String; begin t := ''; "
         "for i := 1 to n do t := t + IntToStr(i) + ' '; Result := t end; begin r := Build(3); end.",
         "1 2 3 "},
    });
}

TEST(TextBuilding, AChainTooLongLeavesTheTargetAsItWas)
{
    // The pieces are measured with the target before it grows: past the limit the script
    // catches "Out of memory" and the target keeps its old length, swept across the limit.
    for (const char* extra : {"'x' + 'y'", "'' + ''"}) {
        const QString source = QStringLiteral("var t: String; r: String; begin SetLength(t, 268435455); "
                                              "try t := t + %1 + 'z'; r := IntToStr(Length(t)) "
                                              "except r := ExceptionMessage + ' ' + IntToStr(Length(t)) end; t := '' end.")
                                   .arg(q(extra));
        const Outcome o = run(source);
        EXPECT_EQ(o.result, QString::fromLatin1(extra)[1] == u'x' ? q("Out of memory 268435455") : q("268435456"))
            << extra;
    }
}
