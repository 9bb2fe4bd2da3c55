#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/core/exceptions.h"
#include "print.h"
#include "script/core/script.h"
#include "script/front/ilparser.h"
#include "script/front/languages.h"

using namespace orv::script;

namespace {

struct Parsed {
    bool ok;
    QString il; // written as a stored intermediate program, without the declaration
    QString msg;
    QString pos;
    QString unit;
    int rootItems;
};

Parsed parse(TfsScript& script, const QString& source)
{
    TfsILParser parser(&script);
    parser.SelectLanguage(script.SyntaxType());
    const bool ok = parser.MakeILScript(source);
    QString il = QString::fromUtf8(parser.ILScript()->SaveToBytes());
    il.remove(QStringLiteral("<?xml version=\"1.0\"?>"));
    return {ok, il, script.ErrorMsg(), script.ErrorPos(), script.ErrorUnit(), parser.ILScript()->Root()->Count()};
}

Parsed parse(const QString& source)
{
    TfsScript script;
    return parse(script, source);
}

QString ilText(const char* s) { return QString::fromUtf8(s); }

// Registers a small grammar of a test's own (the registry keeps it for the process).
void registerLanguage(const QString& name, const QString& grammar)
{
    fsSetLanguageGrammar(name, grammar);
}

} // namespace

TEST(ILParser, IntermediateProgramsOfSmallPrograms)
{
    const struct {
        const char* source;
        const char* il;
    } cases[] = {
        // The report script: an empty main block, lines joined with CR LF.
        {"begin\r\n\r\nend.\r\n", R"(<program><compoundstmt pos="1:1"/><types/></program>)"},
        {"begin x := a + 1; end.",
         R"(<program><compoundstmt pos="1:1"><assignstmt pos="1:7"><dsgn pos="1:7"><node text="x" pos="1:8"/></dsgn>)"
         R"(<expr pos="1:12" pos1="1:17"><dsgn pos="1:12"><node text="a" pos="1:13"/></dsgn><op text="+" pos="1:15"/>)"
         R"(<number text="1" pos="1:17"/></expr></assignstmt></compoundstmt><types/></program>)"},
        // The report expression cache's generated function.
        {"function fr3f1: Variant; begin Result := 1 end; begin end.",
         R"(<program><function pos="1:1"><name text="fr3f1" pos="1:15"/><type text="Variant" pos="1:24"/>)"
         R"(<compoundstmt pos="1:26"><assignstmt pos="1:32"><dsgn pos="1:32"><node text="Result" pos="1:38"/></dsgn>)"
         R"(<expr pos="1:42" pos1="1:43"><number text="1" pos="1:43"/></expr></assignstmt></compoundstmt></function>)"
         R"(<compoundstmt pos="1:49"/><types/></program>)"},
        // A report text becomes the call Get('...'), every element at the closing '>'.
        {"begin x := <Customer.Name> end.",
         R"(<program><compoundstmt pos="1:1"><assignstmt pos="1:7"><dsgn pos="1:7"><node text="x" pos="1:8"/></dsgn>)"
         R"(<expr pos="1:12" pos1="1:27"><dsgn pos="1:26"><node text="Get" pos="1:26"/><expr pos="1:26">)"
         R"(<string text="'Customer.Name'" pos="1:26"/></expr></dsgn></expr></assignstmt></compoundstmt><types/></program>)"},
        // The loop of arguments ends after the separator: one argument, comma consumed.
        {"begin f(a, ) end.",
         R"(<program><compoundstmt pos="1:1"><callstmt pos="1:7"><dsgn pos="1:7"><node text="f" pos="1:8"/>)"
         R"(<expr pos="1:9" pos1="1:10"><dsgn pos="1:9"><node text="a" pos="1:10"/></dsgn></expr></dsgn></callstmt>)"
         R"(</compoundstmt><types/></program>)"},
        // Declarations; a dimension of one expression keeps the expression its failed
        // range alternative left behind.
        {"var a, b: Integer = 1; c: array[1..3, 5] of String; begin end.",
         R"(<program><var pos="1:5"><ident text="a" pos="1:6"/><ident text="b" pos="1:9"/><type text="Integer" pos="1:18"/>)"
         R"(<init pos="1:19"><expr pos="1:21" pos1="1:22"><number text="1" pos="1:22"/></expr></init></var>)"
         R"(<var pos="1:24"><ident text="c" pos="1:25"/><array pos="1:27"><dim pos="1:33"><expr pos="1:33" pos1="1:34">)"
         R"(<number text="1" pos="1:34"/></expr><expr pos="1:36" pos1="1:37"><number text="3" pos="1:37"/></expr></dim>)"
         R"(<dim pos="1:39"><expr pos="1:39" pos1="1:40"><number text="5" pos="1:40"/></expr><expr pos="1:39" pos1="1:40">)"
         R"(<number text="5" pos="1:40"/></expr></dim></array><type text="String" pos="1:51"/></var><compoundstmt pos="1:53"/>)"
         R"(<types/></program>)"},
        // Constants, routines with parameter groups, strings escaped in the attributes.
        {"const N = -2; procedure P(var x, y: Integer; const z: String); begin end; begin P(1, 'a''\"<>'); end.",
         R"(<program><const pos="1:7"><ident text="N" pos="1:8"/><expr pos="1:11" pos1="1:13"><op text="unminus" pos="1:12"/>)"
         R"(<number text="2" pos="1:13"/></expr></const><procedure pos="1:15"><name text="P" pos="1:26"/><parameters pos="1:26">)"
         R"(<varparams pos="1:27"/><var pos="1:31"><ident text="x" pos="1:32"/><ident text="y" pos="1:35"/>)"
         R"(<type text="Integer" pos="1:44"/></var><var pos="1:52"><ident text="z" pos="1:53"/><type text="String" pos="1:61"/>)"
         R"(</var></parameters><compoundstmt pos="1:64"/></procedure><compoundstmt pos="1:75"><callstmt pos="1:81">)"
         R"(<dsgn pos="1:81"><node text="P" pos="1:82"/><expr pos="1:83" pos1="1:84"><number text="1" pos="1:84"/></expr>)"
         R"(<expr pos="1:86" pos1="1:94"><string text="'a'&#34;&#60;&#62;'" pos="1:94"/></expr></dsgn></callstmt>)"
         R"(</compoundstmt><types/></program>)"},
        // if/else, relational operators, not, sets with ranges.
        {"begin if a >= b then x := not c else y := [1, 2..3]; end.",
         R"(<program><compoundstmt pos="1:1"><ifstmt pos="1:7"><expr pos="1:10" pos1="1:16"><dsgn pos="1:10">)"
         R"(<node text="a" pos="1:11"/></dsgn><op text="&#62;=" pos="1:14"/><dsgn pos="1:15"><node text="b" pos="1:16"/>)"
         R"(</dsgn></expr><thenstmt pos="1:22"><assignstmt pos="1:22"><dsgn pos="1:22"><node text="x" pos="1:23"/></dsgn>)"
         R"(<expr pos="1:27" pos1="1:32"><op text="not" pos="1:30"/><dsgn pos="1:31"><node text="c" pos="1:32"/></dsgn>)"
         R"(</expr></assignstmt></thenstmt><elsestmt pos="1:38"><assignstmt pos="1:38"><dsgn pos="1:38">)"
         R"(<node text="y" pos="1:39"/></dsgn><expr pos="1:43" pos1="1:52"><set pos="1:44"><expr pos="1:44" pos1="1:45">)"
         R"(<number text="1" pos="1:45"/></expr><expr pos="1:47" pos1="1:48"><number text="2" pos="1:48"/></expr>)"
         R"(<range text="." pos="1:49"/><expr pos="1:50" pos1="1:51"><number text="3" pos="1:51"/></expr></set></expr>)"
         R"(</assignstmt></elsestmt></ifstmt></compoundstmt><types/></program>)"},
        // Loops: downto, an empty body, repeat with a hexadecimal number.
        {"begin for i := 10 downto 1 do begin end; while a <> b do ; repeat x := x shl 1 until x > $1F; end.",
         R"(<program><compoundstmt pos="1:1"><forstmt pos="1:7"><ident text="i" pos="1:12"/><expr pos="1:16" pos1="1:18">)"
         R"(<number text="10" pos="1:18"/></expr><downto text="downto" pos="1:25"/><expr pos="1:26" pos1="1:27">)"
         R"(<number text="1" pos="1:27"/></expr><compoundstmt pos="1:31"/></forstmt><whilestmt pos="1:42">)"
         R"(<expr pos="1:48" pos1="1:54"><dsgn pos="1:48"><node text="a" pos="1:49"/></dsgn><op text="&#60;&#62;" pos="1:52"/>)"
         R"(<dsgn pos="1:53"><node text="b" pos="1:54"/></dsgn></expr></whilestmt><repeatstmt pos="1:60">)"
         R"(<assignstmt pos="1:67"><dsgn pos="1:67"><node text="x" pos="1:68"/></dsgn><expr pos="1:72" pos1="1:79">)"
         R"(<dsgn pos="1:72"><node text="x" pos="1:73"/></dsgn><op text="shl" pos="1:77"/><number text="1" pos="1:79"/>)"
         R"(</expr></assignstmt><expr pos="1:86" pos1="1:93"><dsgn pos="1:86"><node text="x" pos="1:87"/></dsgn>)"
         R"(<op text="&#62;" pos="1:89"/><number text="$1F" pos="1:93"/></expr></repeatstmt></compoundstmt><types/></program>)"},
        // case with else (the attempt after the last ';' is dropped), try/except, with,
        // index and call suffixes.
        {"begin case x of 1: a; 3..4: b; else c; end; try a except c end; with a, b.c do d[1](3); end.",
         R"(<program><compoundstmt pos="1:1"><casestmt pos="1:7"><expr pos="1:12" pos1="1:13"><dsgn pos="1:12">)"
         R"(<node text="x" pos="1:13"/></dsgn></expr><caseselector pos="1:17"><set pos="1:17"><expr pos="1:17" pos1="1:18">)"
         R"(<number text="1" pos="1:18"/></expr></set><callstmt pos="1:20"><dsgn pos="1:20"><node text="a" pos="1:21"/></dsgn>)"
         R"(</callstmt></caseselector><caseselector pos="1:23"><set pos="1:23"><expr pos="1:23" pos1="1:24">)"
         R"(<number text="3" pos="1:24"/></expr><range text="." pos="1:25"/><expr pos="1:26" pos1="1:27">)"
         R"(<number text="4" pos="1:27"/></expr></set><callstmt pos="1:29"><dsgn pos="1:29"><node text="b" pos="1:30"/></dsgn>)"
         R"(</callstmt></caseselector><callstmt pos="1:37"><dsgn pos="1:37"><node text="c" pos="1:38"/></dsgn></callstmt>)"
         R"(</casestmt><trystmt pos="1:45"><callstmt pos="1:49"><dsgn pos="1:49"><node text="a" pos="1:50"/></dsgn></callstmt>)"
         R"(<exceptstmt pos="1:58"><callstmt pos="1:58"><dsgn pos="1:58"><node text="c" pos="1:59"/></dsgn></callstmt>)"
         R"(</exceptstmt></trystmt><with pos="1:65"><dsgn pos="1:70"><node text="a" pos="1:71"/></dsgn><dsgn pos="1:73">)"
         R"(<node text="b" pos="1:74"/><node text="c" pos="1:76"/></dsgn><callstmt pos="1:80"><dsgn pos="1:80">)"
         R"(<node text="d" pos="1:81"/><node text="[" pos="1:82"/><expr pos="1:82" pos1="1:83"><number text="1" pos="1:83"/>)"
         R"(</expr><expr pos="1:85" pos1="1:86"><number text="3" pos="1:86"/></expr></dsgn></callstmt></with></compoundstmt>)"
         R"(<types/></program>)"},
        // Operators in source order, the address operator, control-character strings.
        {"begin x := -a * (b + c) div 2; y := @z; s := 'a'#13#10'b'; end.",
         R"(<program><compoundstmt pos="1:1"><assignstmt pos="1:7"><dsgn pos="1:7"><node text="x" pos="1:8"/></dsgn>)"
         R"(<expr pos="1:12" pos1="1:30"><op text="unminus" pos="1:13"/><dsgn pos="1:13"><node text="a" pos="1:14"/></dsgn>)"
         R"(<op text="*" pos="1:16"/><op text="(" pos="1:18"/><expr pos="1:18" pos1="1:23"><dsgn pos="1:18">)"
         R"(<node text="b" pos="1:19"/></dsgn><op text="+" pos="1:21"/><dsgn pos="1:22"><node text="c" pos="1:23"/></dsgn>)"
         R"x(</expr><op text=")" pos="1:24"/><op text="div" pos="1:28"/><number text="2" pos="1:30"/></expr></assignstmt>)x"
         R"(<assignstmt pos="1:32"><dsgn pos="1:32"><node text="y" pos="1:33"/></dsgn><expr pos="1:37" pos1="1:39">)"
         R"(<dsgn pos="1:37"><addr text="@" pos="1:38"/><node text="z" pos="1:39"/></dsgn></expr></assignstmt>)"
         R"(<assignstmt pos="1:41"><dsgn pos="1:41"><node text="s" pos="1:42"/></dsgn><expr pos="1:46" pos1="1:58">)"
         R"(<string text="'a&#13;&#10;b'" pos="1:58"/></expr></assignstmt></compoundstmt><types/></program>)"},
        // Comments are skipped; positions count lines; text behind "end." is not read.
        {"{c} begin // x\r\n (* y *) x := 1.5e3 end. trailing (",
         R"(<program><compoundstmt pos="1:5"><assignstmt pos="2:10"><dsgn pos="2:10"><node text="x" pos="2:11"/></dsgn>)"
         R"(<expr pos="2:15" pos1="2:20"><number text="1.5e3" pos="2:20"/></expr></assignstmt></compoundstmt><types/></program>)"},
    };
    for (const auto& c : cases) {
        const Parsed p = parse(ilText(c.source));
        EXPECT_TRUE(p.ok) << c.source << ": " << p.msg.toStdString() << " at " << p.pos.toStdString();
        EXPECT_EQ(p.il, ilText(c.il)) << c.source;
        EXPECT_TRUE(p.msg.isEmpty() && p.pos.isEmpty()) << c.source;
    }
}

TEST(ILParser, SyntaxErrorsWithTheirTextsAndPositions)
{
    const struct {
        const char* source;
        const char* msg;
        const char* pos;
    } cases[] = {
        // Without the final '.', at the first position behind the spaces that follow end.
        {"begin\r\n\r\nend\r\n", "'.' expected", "4:1"},
        // The first recorded error stays, although x is then taken as a call statement.
        {"begin x := ; end.", "Expression expected", "1:12"},
        {"begin x := 1 y := 2 end.", "';' expected", "1:14"},
        {"x := 1; begin end.", "'BEGIN' expected", "1:1"},
        // goto and label are keywords without a rule.
        {"begin goto 5; end.", "';' expected", "1:7"},
        {"begin if x do y; end.", "'THEN' expected", "1:12"},
        {"begin for i = 1 to 2 do ; end.", "':' expected", "1:13"},
        {"begin for i := 1 of 2 do; end.", "'TO' or 'DOWNTO' expected", "1:18"},
        {"begin try x; y end.", "'FINALLY' or 'EXCEPT' expected", "1:16"},
        {"begin x := (1; end.", "')' expected", "1:14"},
        {"begin x := a[1; end.", "']' expected", "1:15"},
        // An unterminated report text runs to the end of the source.
        {"begin x := <abc; end.", "'>' expected", "1:22"},
        // An unterminated string is no string.
        {"begin x := 'abc; end.", "Expression expected", "1:12"},
        {"var a: Integer begin end.", "';' expected", "1:16"},
        {"var : Integer; begin end.", "Identifier expected", "1:5"},
        {"program; begin end.", "Identifier expected", "1:8"},
        {"begin while x y; end.", "'DO' expected", "1:15"},
        {"begin repeat x := 1; end.", "'UNTIL' expected", "1:22"},
        {"procedure P; begin end begin end.", "';' expected", "1:24"},
        {"begin x.1 end.", "Identifier expected", "1:9"},
        {"begin\r\n  x := 1\r\n  y := 2\r\nend.\r\n", "';' expected", "3:3"},
    };
    for (const auto& c : cases) {
        const Parsed p = parse(ilText(c.source));
        EXPECT_FALSE(p.ok) << c.source;
        EXPECT_EQ(p.msg, ilText(c.msg)) << c.source;
        EXPECT_EQ(p.pos, ilText(c.pos)) << c.source;
        EXPECT_EQ(p.rootItems, 0) << c.source; // nothing is left after a failure
    }
}

TEST(ILParser, ValidFormsThatNeedNoSeparatorOrEndAtTheirStop)
{
    for (const char* source : {
             "begin x := 1 end.",
             "begin x := 1; y := 2 end.",
             "begin end. whatever follows (",
             "var a, b: Integer;\r\nbegin end.",
             "begin case x of 1: a end end.",
             "program Demo; begin end.",
         }) {
        const Parsed p = parse(ilText(source));
        EXPECT_TRUE(p.ok) << source << ": " << p.msg.toStdString();
    }
}

TEST(ILParser, LanguageLineSelectsTheGrammarForTheRestOfTheText)
{
    // Ends of the language line: CR LF, LF alone and CR alone; positions keep counting
    // in the whole text (only line feeds start lines).
    const struct {
        const char* source;
        const char* pos;
    } lines[] = {
        {"#language VoriroVoreva\r\nbegin end.", "2:1"},
        {"#LANGUAGE  vorirovoreva \nbegin end.", "2:1"},
        {"#language VoriroVoreva\rbegin end.", "1:24"},
    };
    for (const auto& c : lines) {
        const Parsed p = parse(ilText(c.source));
        EXPECT_TRUE(p.ok) << c.source << ": " << p.msg.toStdString();
        EXPECT_EQ(p.il, QStringLiteral("<program><compoundstmt pos=\"%1\"/><types/></program>").arg(ilText(c.pos)));
    }

    registerLanguage(QStringLiteral("Mini"),
                        ilText(R"(<?xml version="1.0"?><language><parser><commentline1 text="#"/></parser><types><int type="integer"/></types>)"
                          R"(<program><loop><keyword text="GO" node="go"/></loop></program></language>)"));
    const Parsed p = parse(ilText("#language Mini\r\ngo # note\r\ngo"));
    EXPECT_TRUE(p.ok) << p.msg.toStdString();
    EXPECT_EQ(p.il, ilText(R"(<program><go pos="2:1"/><go pos="3:1"/><types><int type="integer"/></types></program>)"));

    TfsScript script;
    EXPECT_THROW(parse(script, ilText("#language Nowhere\r\nbegin end.")), orv::platform::Exception);
    try {
        parse(script, ilText("#language Nowhere\r\nbegin end."));
    } catch (const orv::platform::Exception& e) {
        EXPECT_EQ(e.message(), ilText("Language 'Nowhere' not found"));
    }
}

TEST(ILParser, FailureWithoutANamedErrorIsAStatementExpectedError)
{
    registerLanguage(QStringLiteral("Bare"),
                        ilText(R"(<?xml version="1.0"?><language><program><keyword text="GO"/></program></language>)"));
    TfsScript script;
    script.SetSyntaxType(QStringLiteral("Bare"));
    const Parsed p = parse(script, ilText("\r\n  stop"));
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.msg, ilText("Statement expected"));
    EXPECT_EQ(p.pos, ilText("2:3"));

    // A grammar naming a rule it does not define fails as an exception.
    registerLanguage(QStringLiteral("Broken"),
                          ilText(R"(<?xml version="1.0"?><language><program><missing/></program></language>)"));
    script.SetSyntaxType(QStringLiteral("Broken"));
    try {
        parse(script, ilText("x"));
        ADD_FAILURE() << "no exception";
    } catch (const orv::platform::Exception& e) {
        EXPECT_EQ(e.message(), ilText("Invalid language definition"));
    }

    // A grammar without a start rule matches nothing and succeeds.
    registerLanguage(QStringLiteral("NoStart"), ilText(R"(<?xml version="1.0"?><language/>)"));
    script.SetSyntaxType(QStringLiteral("NoStart"));
    const Parsed e = parse(script, ilText("anything"));
    EXPECT_TRUE(e.ok);
    EXPECT_EQ(e.il, ilText("<program><types/></program>"));
}

TEST(ILParser, DeepNestingFailsAtItsPositionInsteadOfExhaustingTheStack)
{
    for (const QString& open : {QStringLiteral("("), QStringLiteral("begin "), QStringLiteral("not ")}) {
        const int depth = 20000;
        QString source = QStringLiteral("begin x := ");
        if (open == u"begin ")
            source = QStringLiteral("begin ");
        for (int i = 0; i < depth; ++i)
            source += open;
        source += QStringLiteral("1");
        const Parsed p = parse(source);
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(p.msg, ilText("Nesting too deep")) << open.toStdString();
        EXPECT_TRUE(p.pos.startsWith(u"1:")) << p.pos.toStdString();
    }
    // Nesting well inside the limit parses.
    QString source = QStringLiteral("begin x := ");
    for (int i = 0; i < 100; ++i)
        source += u'(';
    source += u'1';
    for (int i = 0; i < 100; ++i)
        source += u')';
    source += QStringLiteral(" end.");
    const Parsed p = parse(source);
    EXPECT_TRUE(p.ok) << p.msg.toStdString();
}

TEST(ILParser, UsesIncludesEachUnitOnceInReverseOrder)
{
    TfsScript script;
    QStringList asked;
    script.SetOnGetUnit([&](TfsScript&, const QString& name, QString& text) {
        asked << name;
        if (name == u"u1")
            text = QStringLiteral("procedure P1; begin end;\r\nbegin end.");
        else if (name == u"u2")
            text = QStringLiteral("uses 'u1';\r\nbegin end.");
        else if (name == u"bad")
            text = QStringLiteral("begin\r\n  x := ;\r\nend.");
        else if (name == u"empty")
            text = QString();
    });

    Parsed p = parse(script, ilText("uses 'u1', 'U1', 'u2';\r\nbegin end."));
    EXPECT_TRUE(p.ok) << p.msg.toStdString();
    EXPECT_EQ(asked, QStringList({QStringLiteral("u2"), QStringLiteral("u1")}));
    // u2 (last in the clause) comes first; it included u1 itself, which counts as included.
    EXPECT_EQ(p.il, ilText(R"(<program><uses unit="u2"><program><uses unit="u1"><program><procedure pos="1:1">)"
                      R"(<name text="P1" pos="1:13"/><compoundstmt pos="1:15"/></procedure><compoundstmt pos="2:1"/>)"
                      R"(<types/></program></uses><compoundstmt pos="2:1"/><types/></program></uses>)"
                      R"(<compoundstmt pos="2:1"/><types/></program>)"));

    // A unit with a syntax error fails the main compilation with its message and name.
    p = parse(script, ilText("uses 'bad';\r\nbegin end."));
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.msg, ilText("Expression expected"));
    EXPECT_EQ(p.pos, ilText("2:8"));
    EXPECT_EQ(p.unit, ilText("bad"));

    // An empty unit leaves an empty uses element.
    p = parse(script, ilText("uses 'empty'; begin end."));
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.il, ilText(R"(<program><uses unit="empty"/><compoundstmt pos="1:15"/><types/></program>)"));
}

TEST(ILParser, UnitFilesAreReadFromTheIncludePath)
{
    QTemporaryDir first, second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    QFile file(QDir(second.path()).filePath(QStringLiteral("lib.pas")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF" "const Citt\xC3\xA0 = 1;\nbegin end.");
    file.close();

    TfsScript script;
    script.SetExtendedCharset(true);
    script.SetIncludePath({first.path(), second.path() + u'/'});
    const Parsed p = parse(script, ilText("uses 'lib.pas'; begin end."));
    EXPECT_TRUE(p.ok) << p.msg.toStdString();
    EXPECT_TRUE(p.il.contains(ilText(R"(<ident text="Città" pos="1:12"/>)"))) << p.il.toStdString();

    script.SetIncludePath({first.path()});
    EXPECT_THROW(parse(script, ilText("uses 'lib.pas'; begin end.")), orv::platform::EFileError);
}

TEST(ILParser, DecidingItemsEarlyChangesNoResult)
{
    // Every prefix and every one-character deletion of these programs parses to the same
    // program, or fails with the same error, whether items are decided from the next
    // character or run in full.
    const char* programs[] = {
        "const N = -2; var a, b: Integer = 1; c: array[1..3, 5] of String;\r\n"
        "procedure P(var x: Integer; const s: String); begin x := x shl 1 end;\r\n"
        "function F: Variant; begin Result := <Cliente.Nome> + ' ' + IntToStr(N * 2) end;\r\n"
        "begin if a >= b then P(a, 'it''s'#13) else c[1] := [1, 2..3]; for a := 10 downto 1 do ;\r\n"
        "case a of 1: b := not b; 2..3: ; else end; try x.y[2](3) except end; try finally end;\r\n"
        "repeat until $1F <> 1.5e3; with a, b do while a < b do a := a + 1; x := @y; exit; break end.",
        "program Demo; uses 'u'; { c } (* d *) // e\r\nbegin f(a, ); g(); h[1, 2] := -(a - b) / c end.",
    };
    TfsScript script;
    script.SetOnGetUnit([](TfsScript&, const QString&, QString& text) { text = QStringLiteral("begin end."); });
    auto both = [&](const QString& source) {
        TfsILParser::SetLookahead(true);
        const Parsed fast = parse(script, source);
        TfsILParser::SetLookahead(false);
        const Parsed full = parse(script, source);
        TfsILParser::SetLookahead(true);
        EXPECT_EQ(fast.ok, full.ok) << source.toStdString();
        EXPECT_EQ(fast.il, full.il) << source.toStdString();
        EXPECT_EQ(fast.msg, full.msg) << source.toStdString();
        EXPECT_EQ(fast.pos, full.pos) << source.toStdString();
    };
    for (const char* program : programs) {
        const QString text = ilText(program);
        for (qsizetype n = 0; n <= text.size(); ++n) {
            both(text.left(n));
            if (n < text.size())
                both(text.left(n) + text.mid(n + 1));
        }
    }
}
