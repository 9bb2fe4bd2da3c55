#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "print.h"
#include "script/core/script.h"
#include "script/front/ilparser.h"
#include "script/front/languages.h"
#include "script/front/messages.h"

using namespace orv::script;

namespace {

QString langText(const char* s) { return QString::fromUtf8(s); }

QString lookupError(const QString& name)
{
    try {
        fsLanguageGrammar(name);
    } catch (const orv::platform::Exception& e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(Languages, LookupIgnoresCaseAndUnknownNamesRaise)
{
    EXPECT_EQ(fsLanguageNames().value(0), langText("VoriroVoreva"));
    EXPECT_TRUE(fsLanguageGrammar(langText("vorirovoreva")).startsWith(u"<?xml"));
    EXPECT_EQ(lookupError(langText("Klingon")), langText("Language 'Klingon' not found"));

    TfsScript script;
    TfsILParser parser(&script);
    EXPECT_THROW(parser.SelectLanguage(langText("Klingon")), orv::platform::Exception);
}

TEST(Languages, RegisteringAnExistingNameReplacesItInPlace)
{
    const QString voriro = fsLanguageGrammar(langText("VoriroVoreva"));
    fsSetLanguageGrammar(langText("Replaced"), langText("<?xml version=\"1.0\"?><language/>"));
    const int count = int(fsLanguageNames().size());
    fsSetLanguageGrammar(langText("REPLACED"), langText("<?xml version=\"1.0\"?><language><program><keyword text=\"x\"/></program></language>"));
    EXPECT_EQ(fsLanguageNames().size(), count);
    EXPECT_EQ(fsLanguageNames().indexOf(langText("REPLACED")), count - 1);
    EXPECT_TRUE(fsLanguageGrammar(langText("replaced")).contains(u"keyword"));

    // The compiled grammar follows the new text.
    TfsScript script;
    TfsILParser parser(&script);
    parser.SelectLanguage(langText("Replaced"));
    EXPECT_TRUE(parser.MakeILScript(langText("x")));
    EXPECT_FALSE(parser.MakeILScript(langText("y")));
    EXPECT_EQ(fsLanguageGrammar(langText("VoriroVoreva")), voriro);
}

TEST(Languages, VoriroVorevaSettingsReachTheTokenizer)
{
    TfsScript script;
    TfsILParser parser(&script);
    parser.SelectLanguage(langText("VoriroVoreva"));
    TfsParser& t = *parser.Parser();
    EXPECT_EQ(t.Keywords().size(), 40u);
    EXPECT_TRUE(t.IsKeyWord(u"GOTO"));
    EXPECT_FALSE(t.CaseSensitive());
    EXPECT_EQ(t.CommentLine1(), langText("//"));
    EXPECT_EQ(t.CommentBlock1(), langText("{,}"));
    EXPECT_EQ(t.CommentBlock2(), langText("(*,*)"));
    EXPECT_EQ(t.StringQuotes(), langText("'"));
    EXPECT_EQ(t.HexSequence(), langText("$"));
    EXPECT_TRUE(parser.NeedDeclareVars());
    EXPECT_EQ(parser.Root()->GetProp(langText("text")), langText("VoriroVoreva"));
    // Every error text of the grammar, '>' included.
    const TfsXMLItem* errors = parser.Root()->Items(0)->Items(parser.Root()->Items(0)->Find(langText("errors")));
    EXPECT_EQ(errors->Count(), 20);
    EXPECT_EQ(errors->Items(19)->GetProp(langText("text")), langText("'>' expected"));

    // The extended character set makes the codes 128 to 255 identifier characters.
    script.SetExtendedCharset(true);
    parser.SelectLanguage(langText("VoriroVoreva"));
    EXPECT_TRUE(t.IsIdentifierChar(0xE0));
}

TEST(Languages, EachSelectionStartsFromTheTokenizerDefaults)
{
    fsSetLanguageGrammar(langText("Strict"), langText(R"(<?xml version="1.0"?><language><parser><casesensitive text="1"/>)"
                                        R"(<commentline2 text="rem"/><declarevars text="0"/></parser></language>)"));
    TfsScript script;
    TfsILParser parser(&script);
    parser.SelectLanguage(langText("Strict"));
    EXPECT_TRUE(parser.Parser()->CaseSensitive());
    EXPECT_FALSE(parser.NeedDeclareVars());
    parser.SelectLanguage(langText("VoriroVoreva"));
    EXPECT_FALSE(parser.Parser()->CaseSensitive());
    EXPECT_TRUE(parser.Parser()->CommentLine2().isEmpty());
    EXPECT_TRUE(parser.NeedDeclareVars());
}

TEST(Messages, SeventeenReplaceableTexts)
{
    fsResetMessages();
    EXPECT_EQ(fsMessage(TfsMessage::SIdUndeclared), langText("Undeclared identifier: "));
    EXPECT_EQ(fsMessage(TfsMessage::SEventError), langText("Event handler must be a procedure"));
    // The engine's own wording until the report engine's resources replace it.
    EXPECT_EQ(fsMessage(TfsMessage::SStringError), langText("Strings doesn't have properties or methods"));
    fsSetMessage(TfsMessage::SStringError, langText("Strings do not have properties or methods"));
    EXPECT_EQ(fsMessage(TfsMessage::SStringError), langText("Strings do not have properties or methods"));
    EXPECT_EQ(fsMessageFormat(TfsMessage::SClassError, langText("TFoo")), langText("Class TFoo does not have a default property"));

    // A replaced text is the one raised.
    fsSetMessage(TfsMessage::SLangNotFound, langText("Lingua '%s' sconosciuta"));
    try {
        fsLanguageGrammar(langText("X"));
        ADD_FAILURE();
    } catch (const orv::platform::Exception& e) {
        EXPECT_EQ(e.message(), langText("Lingua 'X' sconosciuta"));
    }
    fsResetMessages();
    EXPECT_EQ(fsMessage(TfsMessage::SStringError), langText("Strings doesn't have properties or methods"));
}

TEST(ScriptSource, LinesAreJoinedWithCrLfAfterEveryLine)
{
    EXPECT_EQ(fsLinesToText({langText("begin"), langText(""), langText("end.")}), langText("begin\r\n\r\nend.\r\n"));
    EXPECT_EQ(fsLinesToText({}), QString());
    EXPECT_EQ(fsTextToLines(langText("a\r\nb\nc\rd\r\n")), QStringList({langText("a"), langText("b"), langText("c"), langText("d")}));
    EXPECT_EQ(fsTextToLines(langText("a\r\n\r\n")), QStringList({langText("a"), langText("")}));
    EXPECT_TRUE(fsTextToLines(QString()).isEmpty());
    TfsScript script;
    script.SetLines({langText("begin"), langText("end.")});
    EXPECT_EQ(script.LinesText(), langText("begin\r\nend.\r\n"));
}
