// The engine's string resources.
#include "report/base/errors.h"
#include "report/base/resources.h"
#include "script/front/messages.h"

#include <gtest/gtest.h>

using namespace orv::report;
using namespace orv::script;

TEST(ResourcesTest, EngineTexts)
{
    TfrxResources* r = frxStringResources();
    EXPECT_EQ(r->Get(QStringLiteral("clErrors")), QStringLiteral("The following error(s) have occured:"));
    EXPECT_EQ(r->Get(QStringLiteral("CLERRORS")), QStringLiteral("The following error(s) have occured:"));
    EXPECT_EQ(r->Get(QStringLiteral("207")), QStringLiteral("Other"));
    EXPECT_EQ(r->Get(QStringLiteral("poDirect")), QStringLiteral("Direct (1-9)"));
    EXPECT_EQ(r->Get(QStringLiteral("prDefault")), QStringLiteral("Default"));
    EXPECT_EQ(r->Get(QStringLiteral("clFirstPass")), QStringLiteral("First pass: page "));
    EXPECT_EQ(r->Get(QStringLiteral("SIdUndeclared")), QStringLiteral("Undeclared identifier: "));
    EXPECT_EQ(r->Get(QStringLiteral("clDSNotExist")), QStringLiteral("Dataset \"%s\" does not exist"));
    EXPECT_EQ(r->Get(QStringLiteral("obReport")), QStringLiteral("obReport"));
    EXPECT_EQ(r->Get(QStringLiteral("Invalid password")), QStringLiteral("Invalid password"));
    EXPECT_EQ(frxResourceText(2), QStringLiteral("Cancel"));
    EXPECT_EQ(frxResourceText(510), QStringLiteral("Printer file (*.prn)|*.prn"));
    EXPECT_EQ(frxResourceText(215), QStringLiteral("215"));
    EXPECT_EQ(r->Count(), 178);
    EXPECT_EQ(r->CodePage(), 1252);
}

TEST(ResourcesTest, AddingAndReplacing)
{
    TfrxResources r;
    r.AddXML(frxEngineStringResources());
    const int count = r.Count();
    r.AddXML("<?xml version=\"1.1\" encoding=\"utf-8\"?><Resources CodePage=\"1252\">"
             "<StrRes Name=\"1\" Text=\"Va bene\"/><Other Name=\"2\" Text=\"x\"/></Resources>");
    EXPECT_EQ(r.Get(QStringLiteral("1")), QStringLiteral("Va bene"));
    EXPECT_EQ(r.Get(QStringLiteral("2")), QStringLiteral("Cancel"));
    EXPECT_EQ(r.Count(), count);

    r.Add(QStringLiteral("amp"), QStringLiteral("&&Salva"));
    EXPECT_EQ(r.Get(QStringLiteral("amp")), QStringLiteral("&Salva")) << "only the first ampersand goes";
    r.Add(QStringLiteral("lead"), QStringLiteral("&Apri"));
    EXPECT_EQ(r.Get(QStringLiteral("lead")), QStringLiteral("Apri"));

    r.AddStrings(QStringLiteral("uno=Uno\r\n=senza nome\r\nvuoto=\r\nparola"));
    EXPECT_EQ(r.Get(QStringLiteral("uno")), QStringLiteral("Uno"));
    EXPECT_EQ(r.Count(), count + 3);
}

TEST(ResourcesTest, MalformedDocumentsAddNothing)
{
    TfrxResources r;
    EXPECT_THROW(r.AddXML("<Resources CodePage=\"1252\"><StrRes Name=\"a\" Text=\"b\"/></Resources>"),
                 TfrxInvalidXMLException);
    EXPECT_THROW(r.AddXML("<?xml version=\"1.1\"?><Resources><StrRes Name=\"a\" Text=\"b\"/></Resources>"),
                 orv::report::ConvertError);
    EXPECT_EQ(r.Count(), 0);
}

TEST(ResourcesTest, CompilerMessagesGoToTheScriptEngine)
{
    frxStringResources()->UpdateFSResources();
    EXPECT_EQ(fsMessage(TfsMessage::SIdUndeclared), QStringLiteral("Undeclared identifier: "));
    EXPECT_EQ(fsMessage(TfsMessage::SStringError), QStringLiteral("Strings do not have properties or methods"));
    EXPECT_EQ(fsMessage(TfsMessage::SEventError), QStringLiteral("Event handler must be a procedure"));
    TfrxResources empty;
    empty.AddXML("<?xml version=\"1.1\"?><Other/>");
    EXPECT_EQ(fsMessage(TfsMessage::SLangNotFound), QStringLiteral("SLangNotFound"))
        << "a document without Resources still refreshes them, with what the table holds";
    frxStringResources()->UpdateFSResources();
    EXPECT_EQ(fsMessage(TfsMessage::SLangNotFound), QStringLiteral("Language '%s' not found"));
}
