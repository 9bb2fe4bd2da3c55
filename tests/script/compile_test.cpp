// Compiling the same or many programs in one process: nothing of one compile is left in
// the next, and the memory of the intermediate program goes with each compile.
#include "engine.h"

#include "script/bridges/register.h"
#include "script/core/statements.h"
#include "script/front/xml.h"

using namespace orv::script;
using namespace scripttest;

namespace {

// The bridges join the module registry for these tests only: other tests register
// classes of the same names themselves.
class CompileWithBridges : public ::testing::Test {
protected:
    void SetUp() override { fsRegisterHostBridges(); }
    void TearDown() override { fsUnregisterBridges(); }
};

} // namespace

// A path left to run time keeps a copy of its intermediate code, which must outlive the
// compile that made it (texts with escaped characters included).
TEST_F(CompileWithBridges, LateBoundPathsAreResolvedAfterTheCompile)
{
    expectResult("VoriroVoreva",
                 "var r, v: Variant; begin v := TStringList.Create; v.Add('a&b \"<q>\"'); v.Add('x'); "
                 "r := IntToStr(v.Count) + v.Strings[0]; v.Free end.",
                 "2a&b \"<q>\"");
    expectResult("VoriroVoreva",
                 "var r, v: Variant; l: TStringList; begin l := TStringList.Create; l.Add('uno'); "
                 "with l do v := Count; v := l; r := v.Strings[0] + IntToStr(v.Count); l.Free end.",
                 "uno1");
}

// The expression cache's pattern: one script compiles many small functions, some of
// them wrong. Each compile leaves no memory of its intermediate program, and a failed
// one leaves no stale error for the next.
TEST(Compile, ManyCompilesInOneScriptKeepNoStateAndNoMemory)
{
    TfsScript report;
    report.AddRTTI();
    report.AddVariable(QStringLiteral("Prezzo"), QStringLiteral("Variant"), Value(2));
    TfsScript cache;
    cache.SetExtendedCharset(true);
    cache.SetParent(&report);
    const size_t live = TfsXMLPool::LiveBytes();
    for (int n = 0; n < 400; ++n) {
        SCOPED_TRACE(n);
        // Programs of growing size cross the pool's block sizes.
        QString sum = QStringLiteral("Prezzo");
        for (int k = 0; k < n % 97; ++k)
            sum += QStringLiteral(" + prezzo * %1").arg(k);
        const bool wrong = n % 5 == 3;
        const QString name = QStringLiteral("fr3f%1").arg(n);
        cache.SetLines({QStringLiteral("function %1: Variant; begin Result := %2%3 end; begin end.")
                            .arg(name, sum, wrong ? QStringLiteral(" + Nessuno") : QString())});
        const bool ok = cache.Compile();
        EXPECT_EQ(TfsXMLPool::LiveBytes(), live);
        ASSERT_EQ(ok, !wrong);
        TfsCustomVariable* f = cache.FindLocal(name);
        if (wrong) {
            EXPECT_EQ(cache.ErrorMsg(), QStringLiteral("Undeclared identifier: 'Nessuno'"));
            EXPECT_FALSE(cache.ErrorPos().isEmpty());
            ASSERT_NE(f, nullptr);
            cache.Remove(f);
            delete f;
            continue;
        }
        EXPECT_EQ(cache.ErrorMsg(), QString());
        EXPECT_EQ(cache.ErrorPos(), QString());
        ASSERT_NE(f, nullptr);
        const int k = n % 97;
        EXPECT_EQ(f->GetValue().toInt(), 2 + 2 * (k * (k - 1) / 2));
    }
    cache.Clear();
    EXPECT_EQ(TfsXMLPool::LiveBytes(), live);
}

// A program compiled twice into one script (cleared between) compiles the same way; an
// error is reported the same way each time, and a good program after it compiles clean.
TEST(Compile, RecompilingGivesTheSameProgramAndTheSameErrors)
{
    TfsScript s;
    s.AddRTTI();
    const QStringList good{QStringLiteral("var a, A2: Integer; begin a := 1; A2 := A + 2; a2 := a2 * 10 end.")};
    const QStringList bad{QStringLiteral("var a: Integer;"), QStringLiteral("begin a := 1; b := a end.")};
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        s.Clear();
        s.SetLines(good);
        ASSERT_TRUE(s.Compile());
        EXPECT_EQ(s.Statement()->Count(), 3);
        s.Execute();
        EXPECT_EQ(s.Variables(QStringLiteral("A2")).toInt(), 30);
        s.Clear();
        s.SetLines(bad);
        EXPECT_FALSE(s.Compile());
        EXPECT_EQ(s.ErrorMsg(), QStringLiteral("Undeclared identifier: 'b'"));
        EXPECT_EQ(s.ErrorPos(), QStringLiteral("2:16"));
    }
}

// Statements sharing a line record it once, but a line of the same number in an included
// unit is the unit's own, and every compile after a Clear records its lines again.
TEST(Compile, ExecutableLinesOfUnitsAndOfRecompiles)
{
    TfsScript s;
    s.AddRTTI();
    s.SetOnGetUnit([](TfsScript&, const QString&, QString& text) {
        text = QStringLiteral("var u: Integer;\r\nprocedure P; begin u := 1; u := 2 end;\r\nbegin u := 3; u := 4 end.");
    });
    const QStringList source{QStringLiteral("uses 'lib';"), QStringLiteral("var a: Integer;"),
                             QStringLiteral("begin a := 1; a := 2;"), QStringLiteral("P; a := u end.")};
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        s.Clear();
        s.SetLines(source);
        ASSERT_TRUE(s.Compile()) << s.ErrorMsg().toStdString();
        for (int line = 1; line <= 4; ++line) {
            EXPECT_EQ(s.IsExecutableLine(line), line >= 3) << line;
            EXPECT_EQ(s.IsExecutableLine(line, QStringLiteral("lib")), line == 2 || line == 3) << line;
        }
    }
}

// Names in upper case already share their text as their key; names with letters to
// change get a key of their own; either way every case of the letters finds them, and a
// name in a child scope hides the parent's of any case.
TEST(Compile, NamesInAnyCaseOfLettersAcrossScopes)
{
    TfsScript parent;
    parent.AddRTTI();
    const char* names[] = {"PREZZO", "prezzo2", "Città", "ÄÖÜ", "ñandú", "X1"};
    for (const char* n : names)
        parent.AddVariable(QString::fromUtf8(n), QStringLiteral("Integer"), Value(1));
    for (const char* n : names) {
        const QString name = QString::fromUtf8(n);
        SCOPED_TRACE(n);
        for (const QString& asked : {name, name.toUpper(), name.toLower()}) {
            TfsCustomVariable* item = parent.Find(asked);
            ASSERT_NE(item, nullptr) << asked.toStdString();
            EXPECT_EQ(item->Name(), name);
        }
    }
    TfsScript child;
    child.SetParent(&parent);
    child.SetExtendedCharset(true);
    child.SetLines({QString::fromUtf8("var città: Integer; begin CITTÀ := Prezzo + PREZZO2 + x1 + 5; end.")});
    ASSERT_TRUE(child.Compile()) << child.ErrorMsg().toStdString();
    child.Execute();
    EXPECT_EQ(child.Find(QString::fromUtf8("Città"))->GetValue().toInt(), 8);
    EXPECT_EQ(parent.Find(QString::fromUtf8("CITTÀ"))->GetValue().toInt(), 1);
}
