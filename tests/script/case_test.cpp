// Case statements compiled into comparisons give what the statement objects give: ranges,
// lists, texts, selectors that call code, break and exit inside them, in routines too.
#include "engine.h"

using namespace orv::script;

using namespace scripttest;

TEST(CaseStatements, EveryShapeAgreesOnBothPaths)
{
    const struct {
        const char* language;
        const char* source;
        const char* result;
    } cases[] = {
        {"VoriroVoreva",
         "var i: Integer; r: String; begin r := ''; for i := -1 to 9 do case i of 0: r := r + 'a'; 1, 2: r := r + 'b'; "
         "3..5: r := r + 'c'; 7, 8..8: r := r + 'd'; else r := r + '.'; end; end.",
         ".abbccc.dd."},
        {"VoriroVoreva",
         "var i: Integer; t, r: String; begin r := ''; for i := 0 to 5 do begin t := Chr(65 + i); "
         "case t of 'A': r := r + '1'; 'B'..'C': r := r + '2'; 'E', 'x': r := r + '3'; end; end; end.",
         "1223"},
        // Selector values computed in order, only until one matches.
        {"VoriroVoreva",
         "var n, r: Integer; function V(k: Integer): Integer; begin n := n + 1; Result := k end; "
         "begin n := 0; case 2 of V(1): r := 10; V(2): r := 20; V(3): r := 30; end; r := r + n; end.",
         "22"},
        // The value is taken once, before the selectors change it.
        {"VoriroVoreva",
         "var x, r: Integer; function Bump: Integer; begin x := x + 5; Result := 6 end; "
         "begin x := 1; case x of Bump: r := 1; 1: r := 2; 6: r := 3; end; end.",
         "2"},
        {"VoriroVoreva",
         "var i, r: Integer; begin r := 0; for i := 1 to 10 do case i mod 3 of 0: begin r := r + 100; break end; "
         "1: continue; else r := r + i; end; end.",
         "102"},
        {"VoriroVoreva",
         "var r: Integer; function F(k: Integer): Integer; begin case k of 1: begin Result := 5; exit end; "
         "2..4: Result := k * 2; else Result := -1; end; Result := Result + 1; end; "
         "begin r := F(1) * 10000 + F(3) * 100 + F(9); end.",
         "50700"},
        {"VoriroVoreva", "var r: Variant; begin r := Null; case r of 1: r := 'one'; else r := 'other'; end; end.", "other"},
        {"VoriroVoreva", "var r: Variant; begin r := 2.0; case r of 1: r := 'one'; 2: r := 'two'; end; end.", "two"},
        {"JScript",
         "var s = 0; for (var i = 0; i < 8; i++) { switch (i % 4) { case 0: s = s + 1; case 1, 2: s = s + 10; "
         "default: s = s + 100; } } r = s;",
         "242"},
        {"RadivEdurav",
         "Dim i, s\ns = \"\"\nFor i = 1 To 6\nSelect Case i\nCase 1: s = s & \"a\"\nCase 2..4: s = s & \"b\"\n"
         "Case Else: s = s & \"z\"\nEnd Select\nNext\nr = s",
         "abbbzz"},
    };
    for (const auto& c : cases)
        expectResult(c.language, c.source, c.result);
}

// Selectors of constants only go straight to their branch when the value is of their
// kind: the first selector that holds a value wins over later duplicates and overlapping
// ranges, an empty range holds nothing, values of other kinds are compared one by one.
TEST(CaseStatements, ConstantSelectorsAgreeOnBothPaths)
{
    const struct {
        const char* language;
        const char* source;
        const char* result;
    } cases[] = {
        {"VoriroVoreva",
         "var i: Integer; r: String; begin r := ''; for i := -5 to 7 do case i of 1: r := r + 'a'; 1..3: r := r + 'b'; "
         "2, 2: r := r + 'c'; 6..4: r := r + 'x'; -3..-1, 0: r := r + 'n'; 6: r := r + 'f'; else r := r + '.'; end; end.",
         "..nnnnabb..f."},
        // Values far apart.
        {"VoriroVoreva",
         "var i: Integer; r: String; begin r := ''; for i := -1 to 1 do case i * 100000 of 0: r := r + 'z'; "
         "100000: r := r + 'p'; -100000: r := r + 'm'; end; end.",
         "mzp"},
        // Values of other kinds: floating, Byte, Variant texts and numbers, Null, Int64.
        {"VoriroVoreva",
         "var b: Byte; v: Variant; r: String; procedure T(x: Variant); begin case x of 1: r := r + 'a'; 2..3: r := r + 'b'; "
         "else r := r + '.'; end; end; begin r := ''; b := 2; T(b); T(2.0); T(2.5); T('3'); T(Null); v := 1; T(v); "
         "T(3000000000); T(True); end.",
         "bbbb.a.."},
        {"VoriroVoreva",
         "var r: String; begin r := ''; case 3000000000 of 1: r := 'a'; 3000000000: r := 'big'; end; end.", "big"},
        // Texts: exact, case and accents count, duplicates, the empty text; numbers go one by one.
        {"VoriroVoreva",
         "var r: String; procedure T(x: Variant); begin case x of 'e': r := r + '1'; '\xc3\xa8', 'e': r := r + '2'; "
         "'\xc3\x88': r := r + '3'; '': r := r + '4'; else r := r + '.'; end; end; "
         "begin r := ''; T('e'); T('\xc3\xa8'); T('\xc3\x88'); T('E'); T(''); T('e '); T(Null); end.",
         "123.4.."},
        {"JScript",
         "var s = \"\"; for (var i = 0; i < 6; i++) { switch (Chr(97 + i)) { case \"a\", \"c\": s = s + \"1\"; "
         "case \"b\": s = s + \"2\"; case \"c\": s = s + \"x\"; default: s = s + \".\"; } } r = s;",
         "121..."},
        {"RadivEdurav",
         "Dim i, s\ns = \"\"\nFor i = -2 To 12\nSelect Case i Mod 10\nCase 0: s = s & \"z\"\nCase 1, 3..5: s = s & \"o\"\n"
         "Case 5..9: s = s & \"h\"\nCase Else: s = s & \".\"\nEnd Select\nNext\nr = s",
         "..zo.ooohhhhzo."},
    };
    for (const auto& c : cases) {
        const Outcome o = runCompiledIn(c.language, c.source);
        EXPECT_EQ(o.result, q(c.result)) << c.language << ": " << c.source << " raised " << o.raised.toStdString();
    }
}
