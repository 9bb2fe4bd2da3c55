#include <gtest/gtest.h>

#include "print.h"
#include "script/front/tokenizer.h"

using namespace orv::script;

namespace {

QString tokenText(const char* s) { return QString::fromUtf8(s); }

// Tokenizer settings of the four languages' grammars.
enum class Lang { VoriroVoreva, ZppOvuvir, RadivEdurav };

void configure(TfsParser& p, Lang lang)
{
    p.Clear();
    if (lang == Lang::VoriroVoreva)
        return;
    p.SetStringQuotes(tokenText("\""));
    p.SetHexSequence(tokenText("0x"));
    if (lang == Lang::ZppOvuvir) {
        p.SetCommentBlock1(tokenText("/*,*/"));
        p.SetCommentBlock2(tokenText("/*,*/"));
        p.SetSpecStrChar(true);
        p.SetCaseSensitive(true);
    } else {
        p.SetCommentLine1(tokenText("'"));
        p.SetCommentLine2(tokenText("rem"));
        p.SetCommentBlock1(tokenText("/\\,/\\"));
        p.SetCommentBlock2(tokenText("/\\,/\\"));
        p.SetSkipEOL(false);
        p.SetSkipChar(tokenText("_"));
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
        p.SetText(tokenText(c.source));
        EXPECT_EQ(p.GetString(), tokenText(c.value)) << c.source;
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
        p.SetText(tokenText(c.source));
        EXPECT_EQ(p.GetNumber(), tokenText(c.number)) << c.source;
    }
}

TEST(Tokenizer, WordsIdentifiersKeywordsAndCharacters)
{
    TfsParser p;
    p.AddKeyword(tokenText("begin"));
    p.AddKeyword(tokenText("end"));
    p.SetText(tokenText("Begin città_1 2x end.{"));
    EXPECT_EQ(p.GetIdent(), QString()); // a keyword: rejected, but read
    EXPECT_EQ(p.Position(), 6);
    EXPECT_EQ(p.GetWord(), tokenText("città_1"));
    EXPECT_EQ(p.GetWord(), QString()); // a word does not start with a digit
    EXPECT_EQ(p.GetNumber(), tokenText("2"));
    EXPECT_EQ(p.GetIdent(), tokenText("x"));
    EXPECT_EQ(p.GetWord(), tokenText("end"));
    EXPECT_EQ(p.GetChar(), tokenText("."));
    // '{' as the very last character is no comment opener.
    EXPECT_EQ(p.GetChar(), tokenText("{"));
    EXPECT_EQ(p.GetChar(), QString());

    EXPECT_TRUE(p.IsKeyWord(u"END"));
    p.SetCaseSensitive(true);
    EXPECT_FALSE(p.IsKeyWord(u"END"));
    EXPECT_TRUE(p.IsKeyWord(u"end"));

    p.SetText(tokenText(" ."));
    EXPECT_EQ(p.GetChar(), QString()); // no space skipping before a character
    p.ConstructCharset(tokenText("abc"));
    p.SetText(tokenText("abcd"));
    EXPECT_EQ(p.GetWord(), tokenText("abc"));
}

TEST(Tokenizer, CommentsAndLineEnds)
{
    TfsParser p;
    p.SetText(tokenText("{ a } (* b *) // c\r\n x"));
    EXPECT_EQ(p.GetWord(), tokenText("x"));
    p.SetText(tokenText("{ unterminated"));
    EXPECT_EQ(p.GetWord(), QString());
    EXPECT_EQ(p.Position(), 15);

    // Line-oriented languages.
    configure(p, Lang::RadivEdurav);
    p.SetText(tokenText("x ' note\r\ny"));
    EXPECT_EQ(p.GetWord(), tokenText("x"));
    EXPECT_TRUE(p.GetEOL()); // a comment behind a statement keeps the line end
    EXPECT_EQ(p.GetWord(), tokenText("y"));

    p.SetText(tokenText("' note\r\nx"));
    EXPECT_FALSE(p.GetEOL()); // a line holding only a comment disappears with its end
    EXPECT_EQ(p.GetWord(), tokenText("x"));

    p.SetText(tokenText("a _\r\n b _c"));
    EXPECT_EQ(p.GetWord(), tokenText("a"));
    EXPECT_FALSE(p.GetEOL()); // the continuation joins the two lines
    EXPECT_EQ(p.GetWord(), tokenText("b"));
    EXPECT_EQ(p.GetWord(), tokenText("c")); // a leading '_' is taken as a continuation

    p.SetText(tokenText("a\nb"));
    EXPECT_EQ(p.GetWord(), tokenText("a"));
    EXPECT_FALSE(p.GetEOL()); // a line feed alone is a space
    EXPECT_EQ(p.GetWord(), tokenText("b"));

    p.SetText(tokenText("a remark\r\n\r\nb REM"));
    EXPECT_EQ(p.GetWord(), tokenText("a"));
    EXPECT_TRUE(p.GetEOL()); // "rem" opens a comment wherever a token is expected
    EXPECT_EQ(p.Position(), 13);
    EXPECT_EQ(p.GetWord(), tokenText("b"));
    EXPECT_EQ(p.GetWord(), tokenText("REM")); // only in lower case

    // A long run of continuation characters.
    p.SetText(QString(100000, u'_') + tokenText("z"));
    EXPECT_EQ(p.GetWord(), tokenText("z"));
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
        p.SetText(tokenText(c.source));
        EXPECT_EQ(p.GetFRString(), tokenText(c.text)) << c.source;
        const int pos = p.Position();
        EXPECT_EQ(pos <= p.Size() ? p.Text()[pos - 1].toLatin1() : 0, c.stop) << c.source;
    }
}

TEST(Tokenizer, Positions)
{
    TfsParser p;
    p.SetText(tokenText("a\nb"));
    const char* expected[] = {"1:1", "1:2", "2:1", "2:2"};
    for (int pos = 1; pos <= 4; ++pos) {
        p.SetPosition(pos);
        EXPECT_EQ(p.GetXYPosition(), tokenText(expected[pos - 1])) << pos;
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
    p.SetCommentBlock1(tokenText("/*,*/,x"));
    EXPECT_EQ(p.CommentBlock1(), tokenText("/*,*/"));
    p.SetCommentBlock2(tokenText("<<"));
    EXPECT_EQ(p.CommentBlock2(), tokenText("<<,"));
    p.SetCaseSensitive(true);
    p.SetCommentLine2(tokenText("rem"));
    p.Clear(); // keeps case sensitivity and the second line-comment opener
    EXPECT_TRUE(p.CaseSensitive());
    EXPECT_EQ(p.CommentLine2(), tokenText("rem"));
    EXPECT_EQ(p.CommentBlock1(), tokenText("{,}"));
    EXPECT_EQ(p.CommentBlock2(), tokenText("(*,*)"));
    EXPECT_EQ(p.HexSequence(), tokenText("$"));
    EXPECT_TRUE(p.SkipEOL());
}
