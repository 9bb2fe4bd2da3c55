#include <gtest/gtest.h>

#include "print.h"
#include "script/front/tokenizer.h"

namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

// Tokenizer settings of the four languages' grammars.
enum class Lang { VoriroVoreva, ZppOvuvir, RadivEdurav };

void configure(TfsParser& p, Lang lang)
{
    p.Clear();
    if (lang == Lang::VoriroVoreva)
        return;
    p.SetStringQuotes(q("\""));
    p.SetHexSequence(q("0x"));
    if (lang == Lang::ZppOvuvir) {
        p.SetCommentBlock1(q("/*,*/"));
        p.SetCommentBlock2(q("/*,*/"));
        p.SetSpecStrChar(true);
        p.SetCaseSensitive(true);
    } else {
        p.SetCommentLine1(q("'"));
        p.SetCommentLine2(q("rem"));
        p.SetCommentBlock1(q("/\\,/\\"));
        p.SetCommentBlock2(q("/\\,/\\"));
        p.SetSkipEOL(false);
        p.SetSkipChar(q("_"));
    }
}

} // namespace

TEST(Tokenizer, StringLiterals)
{
    const struct {
        Lang lang;
        const char* source;
        const char* value; // the returned text: the value between apostrophes, or empty
        int position;      // where the tokenizer stands afterwards
    } cases[] = {
        {Lang::VoriroVoreva, "'It''s'", "'It's'", 8},
        {Lang::VoriroVoreva, "'a'#13#10'b' x", "'a\r\nb'", 13},
        {Lang::VoriroVoreva, "#$41", "'A'", 5},
        {Lang::VoriroVoreva, "''", "''", 3},
        {Lang::VoriroVoreva, "  'ab\ncd'", "", 3},  // a line end breaks the literal
        {Lang::VoriroVoreva, "'ab", "", 1},         // unterminated
        {Lang::VoriroVoreva, "'a'#", "'a'", 4},      // '#' without a number is no part
        {Lang::VoriroVoreva, "'a'#x", "'a'", 4},
        {Lang::VoriroVoreva, "'tab\there'", "'tab\there'", 11},
        {Lang::VoriroVoreva, "\"x\"", "", 1},
        {Lang::ZppOvuvir, "\"a\\nb\"", "'a\nb'", 7},
        {Lang::ZppOvuvir, "\"\\x41\"", "'A'", 7},
        {Lang::ZppOvuvir, "\"\\q\"", "'q'", 5},
        {Lang::ZppOvuvir, "\"\\\"say hi\\\"\"", "'\"say hi\"'", 13},
        {Lang::ZppOvuvir, "\"\\R\\x\"", "'\r'", 7},   // \x without digits gives nothing
        {Lang::ZppOvuvir, "\"a\"\"b\"", "'ab'", 7},    // a quote always ends a part
        {Lang::ZppOvuvir, "\"a\\", "", 1},
        {Lang::ZppOvuvir, "#0x42", "'B'", 6},
    };
    for (const auto& c : cases) {
        TfsParser p;
        configure(p, c.lang);
        p.SetText(q(c.source));
        EXPECT_EQ(p.GetString(), q(c.value)) << c.source;
        EXPECT_EQ(p.Position(), c.position) << c.source;
    }
}

TEST(Tokenizer, Numbers)
{
    const struct {
        Lang lang;
        const char* source;
        const char* number;
    } cases[] = {
        {Lang::VoriroVoreva, "$1F", "$1F"},   {Lang::ZppOvuvir, "0x1F", "$1F"},
        {Lang::VoriroVoreva, "1.5e-3", "1.5e-3"}, {Lang::VoriroVoreva, "2.x", "2"},
        {Lang::VoriroVoreva, "1..5", "1"},    {Lang::VoriroVoreva, "1e", "1"},
        {Lang::VoriroVoreva, "1E+", "1"},     {Lang::VoriroVoreva, "  42;", "42"},
        {Lang::VoriroVoreva, "-1", ""},       {Lang::VoriroVoreva, "x1", ""},
        {Lang::VoriroVoreva, "$", ""},        {Lang::ZppOvuvir, "0xg", "0"},
        {Lang::VoriroVoreva, "12.25E2", "12.25E2"},
    };
    for (const auto& c : cases) {
        TfsParser p;
        configure(p, c.lang);
        p.SetText(q(c.source));
        EXPECT_EQ(p.GetNumber(), q(c.number)) << c.source;
    }
}

TEST(Tokenizer, WordsIdentifiersKeywordsAndCharacters)
{
    TfsParser p;
    p.AddKeyword(q("begin"));
    p.AddKeyword(q("end"));
    p.SetText(q("Begin città_1 2x end.{"));
    EXPECT_EQ(p.GetIdent(), QString()); // a keyword: rejected, but read
    EXPECT_EQ(p.Position(), 6);
    EXPECT_EQ(p.GetWord(), q("città_1"));
    EXPECT_EQ(p.GetWord(), QString()); // a word does not start with a digit
    EXPECT_EQ(p.GetNumber(), q("2"));
    EXPECT_EQ(p.GetIdent(), q("x"));
    EXPECT_EQ(p.GetWord(), q("end"));
    EXPECT_EQ(p.GetChar(), q("."));
    // '{' as the very last character is no comment opener.
    EXPECT_EQ(p.GetChar(), q("{"));
    EXPECT_EQ(p.GetChar(), QString());

    EXPECT_TRUE(p.IsKeyWord(u"END"));
    p.SetCaseSensitive(true);
    EXPECT_FALSE(p.IsKeyWord(u"END"));
    EXPECT_TRUE(p.IsKeyWord(u"end"));

    p.SetText(q(" ."));
    EXPECT_EQ(p.GetChar(), QString()); // no space skipping before a character
    p.ConstructCharset(q("abc"));
    p.SetText(q("abcd"));
    EXPECT_EQ(p.GetWord(), q("abc"));
}

TEST(Tokenizer, CommentsAndLineEnds)
{
    TfsParser p;
    p.SetText(q("{ a } (* b *) // c\r\n x"));
    EXPECT_EQ(p.GetWord(), q("x"));
    p.SetText(q("{ unterminated"));
    EXPECT_EQ(p.GetWord(), QString());
    EXPECT_EQ(p.Position(), 15);

    // Line-oriented languages.
    configure(p, Lang::RadivEdurav);
    p.SetText(q("x ' note\r\ny"));
    EXPECT_EQ(p.GetWord(), q("x"));
    EXPECT_TRUE(p.GetEOL()); // a comment behind a statement keeps the line end
    EXPECT_EQ(p.GetWord(), q("y"));

    p.SetText(q("' note\r\nx"));
    EXPECT_FALSE(p.GetEOL()); // a line holding only a comment disappears with its end
    EXPECT_EQ(p.GetWord(), q("x"));

    p.SetText(q("a _\r\n b _c"));
    EXPECT_EQ(p.GetWord(), q("a"));
    EXPECT_FALSE(p.GetEOL()); // the continuation joins the two lines
    EXPECT_EQ(p.GetWord(), q("b"));
    EXPECT_EQ(p.GetWord(), q("c")); // a leading '_' is taken as a continuation

    p.SetText(q("a\nb"));
    EXPECT_EQ(p.GetWord(), q("a"));
    EXPECT_FALSE(p.GetEOL()); // a line feed alone is a space
    EXPECT_EQ(p.GetWord(), q("b"));

    p.SetText(q("a remark\r\n\r\nb REM"));
    EXPECT_EQ(p.GetWord(), q("a"));
    EXPECT_TRUE(p.GetEOL()); // "rem" opens a comment wherever a token is expected
    EXPECT_EQ(p.Position(), 13);
    EXPECT_EQ(p.GetWord(), q("b"));
    EXPECT_EQ(p.GetWord(), q("REM")); // only in lower case

    // A long run of continuation characters.
    p.SetText(QString(100000, u'_') + q("z"));
    EXPECT_EQ(p.GetWord(), q("z"));
}

TEST(Tokenizer, ReportTexts)
{
    const struct {
        const char* source;
        const char* text;
        char stop; // the character the position stays on
    } cases[] = {
        {"Total>", "Total", '>'},
        {"a[1]>", "a[1]", '>'},
        {"\"x>y\" + 'a]'>", "\"x>y\" + 'a]'", '>'},
        {"b > 2>", "b ", '>'},
        {"<x>>", "<x>", '>'},
        {"a]", "a", ']'},
        {"open", "open", 0},
    };
    for (const auto& c : cases) {
        TfsParser p;
        p.SetText(q(c.source));
        EXPECT_EQ(p.GetFRString(), q(c.text)) << c.source;
        const int pos = p.Position();
        EXPECT_EQ(pos <= p.Size() ? p.Text()[pos - 1].toLatin1() : 0, c.stop) << c.source;
    }
}

TEST(Tokenizer, Positions)
{
    TfsParser p;
    p.SetText(q("a\nb"));
    const char* expected[] = {"1:1", "1:2", "2:1", "2:2"};
    for (int pos = 1; pos <= 4; ++pos) {
        p.SetPosition(pos);
        EXPECT_EQ(p.GetXYPosition(), q(expected[pos - 1])) << pos;
    }
    EXPECT_EQ(p.GetPlainPosition(QPoint(1, 2)), 3);
    EXPECT_EQ(p.GetPlainPosition(QPoint(1, 3)), -1);
    EXPECT_EQ(p.GetPlainPosition(QPoint(1, 0)), -1);
    p.SetPosition(99); // moves stop at the end
    EXPECT_EQ(p.Position(), 4);
}

TEST(Tokenizer, SettingsAndTheirDefaults)
{
    TfsParser p;
    p.SetCommentBlock1(q("/*,*/,x"));
    EXPECT_EQ(p.CommentBlock1(), q("/*,*/"));
    p.SetCommentBlock2(q("<<"));
    EXPECT_EQ(p.CommentBlock2(), q("<<,"));
    p.SetCaseSensitive(true);
    p.SetCommentLine2(q("rem"));
    p.Clear(); // keeps case sensitivity and the second line-comment opener
    EXPECT_TRUE(p.CaseSensitive());
    EXPECT_EQ(p.CommentLine2(), q("rem"));
    EXPECT_EQ(p.CommentBlock1(), q("{,}"));
    EXPECT_EQ(p.CommentBlock2(), q("(*,*)"));
    EXPECT_EQ(p.HexSequence(), q("$"));
    EXPECT_TRUE(p.SkipEOL());
}
