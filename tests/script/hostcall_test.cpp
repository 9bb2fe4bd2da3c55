// Functions of the host called straight from compiled code, inside routines whose locals
// live in registers, give what the designators give: arguments in order, their
// conversions, nesting, recursion and errors.
#include "engine.h"

using namespace scripttest;

TEST(HostCalls, EveryShapeAgreesOnBothPaths)
{
    const struct {
        const char* language;
        const char* source;
        const char* result;
    } cases[] = {
        {"VoriroVoreva",
         "var i, r: Integer; function F(a, b: String): Integer; begin Result := Length(a) + Length(b); end; "
         "begin r := 0; for i := 1 to 5 do r := r + F(IntToStr(i * 37), 'xy'); end.",
         "23"},
        // Recursion: every activation reads its own parameter, never the item's.
        {"VoriroVoreva",
         "var r: String; function Rev(s: String): String; begin if Length(s) <= 1 then Result := s "
         "else Result := Rev(Copy(s, 2, Length(s) - 1)) + Copy(s, 1, 1); end; begin r := Rev('abcdefg'); end.",
         "gfedcba"},
        // A later argument that runs code does not change an earlier one already read.
        {"VoriroVoreva",
         "var t, r: String; function Bump: Integer; begin t := 'zzzz'; Result := 2 end; "
         "begin t := 'abcd'; r := Copy(t, Bump, 2) + t; end.",
         "bczzzz"},
        {"VoriroVoreva",
         "var r: String; function G(k: Integer): String; var u: String; "
         "begin u := UpperCase(Copy('abcdef', k, 3)); Result := Copy(u, 2, 1) + IntToStr(Pos('D', u)) + IntToStr(k * 2); end; "
         "begin r := G(1) + '|' + G(3); end.",
         "B02|D26"},
        // The parameters' own conversions: a number where a text is declared.
        {"VoriroVoreva",
         "var r: String; function H(k: Variant): String; begin Result := UpperCase(k) + Trim(k * 2); end; "
         "begin r := H(21); end.",
         "2142"},
        // An error of the host inside a routine reaches the caller's handler.
        {"VoriroVoreva",
         "var r: String; function P(s: String): Integer; begin Result := StrToInt(s) * 2; end; "
         "begin r := ''; try r := IntToStr(P('21')); r := r + IntToStr(P('x')); except r := r + '!'; end; end.",
         "42!"},
        {"JScript",
         "function F(a, b) { return Length(a) + Length(UpperCase(b)); } var s = 0; "
         "for (var i = 0; i < 4; i++) { s = s + F(IntToStr(i * 11), \"ab\"); } r = s;",
         "15"},
    };
    for (const auto& c : cases) {
        const Outcome o = run(q(c.source), QStringLiteral("r"),
                              [&](TfsScript& s) { s.SetSyntaxType(QString::fromLatin1(c.language)); });
        EXPECT_TRUE(o.compiled) << c.source << ": " << o.error.toStdString() << " at " << o.pos.toStdString();
        EXPECT_EQ(o.raised, QString()) << c.source;
        EXPECT_EQ(o.result, q(c.result)) << c.language << ": " << c.source;
    }
}
