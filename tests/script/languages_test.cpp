#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "print.h"
#include "script/core/script.h"
#include "script/front/ilparser.h"
#include "script/front/languages.h"
#include "script/front/messages.h"

namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

QString lookupError(const QString& name)
{
    try {
        fsLanguageGrammar(name);
    } catch (const orv::Exception& e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(Languages, LookupIgnoresCaseAndUnknownNamesRaise)
{
    EXPECT_EQ(fsLanguageNames().value(0), q("VoriroVoreva"));
    EXPECT_TRUE(fsLanguageGrammar(q("vorirovoreva")).startsWith(u"<?xml"));
    EXPECT_EQ(lookupError(q("Klingon")), q("Language 'Klingon' not found"));

    TfsScript script;
    TfsILParser parser(&script);
    EXPECT_THROW(parser.SelectLanguage(q("Klingon")), orv::Exception);
}

TEST(Languages, RegisteringAnExistingNameReplacesItInPlace)
{
    const QString voriro = fsLanguageGrammar(q("VoriroVoreva"));
    fsSetLanguageGrammar(q("Replaced"), q("<?xml version=\"1.0\"?><language/>"));
    const int count = int(fsLanguageNames().size());
    fsSetLanguageGrammar(q("REPLACED"), q("<?xml version=\"1.0\"?><language><program><keyword text=\"x\"/></program></language>"));
    EXPECT_EQ(fsLanguageNames().size(), count);
    EXPECT_EQ(fsLanguageNames().indexOf(q("REPLACED")), count - 1);
    EXPECT_TRUE(fsLanguageGrammar(q("replaced")).contains(u"keyword"));

    // The compiled grammar follows the new text.
    TfsScript script;
    TfsILParser parser(&script);
    parser.SelectLanguage(q("Replaced"));
    EXPECT_TRUE(parser.MakeILScript(q("x")));
    EXPECT_FALSE(parser.MakeILScript(q("y")));
    EXPECT_EQ(fsLanguageGrammar(q("VoriroVoreva")), voriro);
}

TEST(Languages, VoriroVorevaSettingsReachTheTokenizer)
{
    TfsScript script;
    TfsILParser parser(&script);
    parser.SelectLanguage(q("VoriroVoreva"));
    TfsParser& t = *parser.Parser();
    EXPECT_EQ(t.Keywords().size(), 40u);
    EXPECT_TRUE(t.IsKeyWord(u"GOTO"));
    EXPECT_FALSE(t.CaseSensitive());
    EXPECT_EQ(t.CommentLine1(), q("//"));
    EXPECT_EQ(t.CommentBlock1(), q("{,}"));
    EXPECT_EQ(t.CommentBlock2(), q("(*,*)"));
    EXPECT_EQ(t.StringQuotes(), q("'"));
    EXPECT_EQ(t.HexSequence(), q("$"));
    EXPECT_TRUE(parser.NeedDeclareVars());
    EXPECT_EQ(parser.Root()->GetProp(q("text")), q("VoriroVoreva"));
    // Every error text of the grammar, '>' included.
    const TfsXMLItem* errors = parser.Root()->Items(0)->Items(parser.Root()->Items(0)->Find(q("errors")));
    EXPECT_EQ(errors->Count(), 20);
    EXPECT_EQ(errors->Items(19)->GetProp(q("text")), q("'>' expected"));

    // The extended character set makes the codes 128 to 255 identifier characters.
    script.SetExtendedCharset(true);
    parser.SelectLanguage(q("VoriroVoreva"));
    EXPECT_TRUE(t.IsIdentifierChar(0xE0));
}

TEST(Languages, EachSelectionStartsFromTheTokenizerDefaults)
{
    fsSetLanguageGrammar(q("Strict"), q(R"(<?xml version="1.0"?><language><parser><casesensitive text="1"/>)"
                                        R"(<commentline2 text="rem"/><declarevars text="0"/></parser></language>)"));
    TfsScript script;
    TfsILParser parser(&script);
    parser.SelectLanguage(q("Strict"));
    EXPECT_TRUE(parser.Parser()->CaseSensitive());
    EXPECT_FALSE(parser.NeedDeclareVars());
    parser.SelectLanguage(q("VoriroVoreva"));
    EXPECT_FALSE(parser.Parser()->CaseSensitive());
    EXPECT_TRUE(parser.Parser()->CommentLine2().isEmpty());
    EXPECT_TRUE(parser.NeedDeclareVars());
}

TEST(Messages, SeventeenReplaceableTexts)
{
    fsResetMessages();
    EXPECT_EQ(fsMessage(TfsMessage::SIdUndeclared), q("Undeclared identifier: "));
    EXPECT_EQ(fsMessage(TfsMessage::SEventError), q("Event handler must be a procedure"));
    // The engine's own wording until the report engine's resources replace it.
    EXPECT_EQ(fsMessage(TfsMessage::SStringError), q("Strings doesn't have properties or methods"));
    fsSetMessage(TfsMessage::SStringError, q("Strings do not have properties or methods"));
    EXPECT_EQ(fsMessage(TfsMessage::SStringError), q("Strings do not have properties or methods"));
    EXPECT_EQ(fsMessageFormat(TfsMessage::SClassError, q("TFoo")), q("Class TFoo does not have a default property"));

    // A replaced text is the one raised.
    fsSetMessage(TfsMessage::SLangNotFound, q("Lingua '%s' sconosciuta"));
    try {
        fsLanguageGrammar(q("X"));
        ADD_FAILURE();
    } catch (const orv::Exception& e) {
        EXPECT_EQ(e.message(), q("Lingua 'X' sconosciuta"));
    }
    fsResetMessages();
    EXPECT_EQ(fsMessage(TfsMessage::SStringError), q("Strings doesn't have properties or methods"));
}

TEST(ScriptSource, LinesAreJoinedWithCrLfAfterEveryLine)
{
    EXPECT_EQ(fsLinesToText({q("begin"), q(""), q("end.")}), q("begin\r\n\r\nend.\r\n"));
    EXPECT_EQ(fsLinesToText({}), QString());
    EXPECT_EQ(fsTextToLines(q("a\r\nb\nc\rd\r\n")), QStringList({q("a"), q("b"), q("c"), q("d")}));
    EXPECT_EQ(fsTextToLines(q("a\r\n\r\n")), QStringList({q("a"), q("")}));
    EXPECT_TRUE(fsTextToLines(QString()).isEmpty());
    TfsScript script;
    script.SetLines({q("begin"), q("end.")});
    EXPECT_EQ(script.LinesText(), q("begin\r\nend.\r\n"));
}
