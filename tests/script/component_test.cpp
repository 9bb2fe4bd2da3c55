// The script component: symbol tables, registration, calling, evaluating, terminating, the
// line notifications, the type rules, and the report's expression cache.
#include "engine.h"

#include <QBuffer>

#include "script/core/designators.h"
#include "script/core/statements.h"
#include "script/core/typerules.h"

using namespace orv::script;

using namespace scripttest;

namespace {

void compile(TfsScript& script, const char* source)
{
    script.SetLines(fsTextToLines(q(source)));
    ASSERT_TRUE(script.Compile()) << script.ErrorMsg().toStdString() << " at " << script.ErrorPos().toStdString();
}

Value array(std::initializer_list<Value> items)
{
    Value a = Value::createArray({{0, int(items.size()) - 1}});
    int i = 0;
    for (const Value& v : items)
        a.elementRef({i++}) = v;
    return a;
}

TfsCallMethodNewEvent constant(const Value& v)
{
    return [v](TfsObject, TfsClass, const QString&, TfsMethodHelper*) { return v; };
}

} // namespace

TEST(Component, NamesIgnoreCaseAndTheNewestOfANameWins)
{
    TfsScript s;
    s.AddVariable(QStringLiteral("Value"), QStringLiteral("Variant"), Value(1));
    EXPECT_NE(s.Find(QStringLiteral("value")), nullptr);
    EXPECT_EQ(s.Find(QStringLiteral("VALUE")), s.Find(QStringLiteral("Value")));
    TfsMethodHelper* first = s.AddMethod(QStringLiteral("function M: Integer"), constant(Value(1)));
    TfsMethodHelper* second = s.AddMethod(QStringLiteral("function M: Integer"), constant(Value(2)));
    EXPECT_NE(first, second);
    EXPECT_EQ(s.FindLocal(QStringLiteral("M")), second);
    // Accented letters compare without case too.
    s.AddVariable(QStringLiteral("Quantità"), QStringLiteral("Variant"), Value(3));
    EXPECT_NE(s.Find(QStringLiteral("QUANTITÀ")), nullptr);
    // A name of the parent is found through the child; the child's own hides it.
    TfsScript child;
    child.SetParent(&s);
    EXPECT_EQ(child.Find(QStringLiteral("value")), s.FindLocal(QStringLiteral("Value")));
    EXPECT_EQ(child.FindLocal(QStringLiteral("value")), nullptr);
}

TEST(Component, RegistrationRules)
{
    TfsScript s;
    s.AddRTTI();
    s.AddVariable(QStringLiteral("N"), QStringLiteral("Integer"), Value(5));
    s.AddVariable(QStringLiteral("N"), QStringLiteral("String"), Value(QStringLiteral("x")));
    EXPECT_EQ(s.Find(QStringLiteral("N"))->Typ(), fvtInt);
    EXPECT_EQ(describe(s.Variables(QStringLiteral("N"))), QStringLiteral("5"));

    s.AddConst(QStringLiteral("K"), QStringLiteral("Integer"), Value(QStringLiteral("12")));
    EXPECT_EQ(s.Variables(QStringLiteral("K")).type(), orv::script::varInteger);
    s.SetVariables(QStringLiteral("K"), Value(99));
    EXPECT_EQ(s.Variables(QStringLiteral("K")).toInt(), 12);

    s.AddEnum(QStringLiteral("TAlign"), QStringLiteral("alNone, alTop, alBottom, alLeft, alRight, alClient"));
    s.AddEnumSet(QStringLiteral("TAligns"), QStringLiteral("asNone, asTop, asBottom, asLeft, asRight, \"as Client\""));
    EXPECT_EQ(s.Find(QStringLiteral("TAlign"))->Typ(), fvtEnum);
    EXPECT_EQ(s.Variables(QStringLiteral("alClient")).toInt(), 5);
    EXPECT_EQ(s.Variables(QStringLiteral("asTop")).toInt(), 2);
    EXPECT_EQ(s.Variables(QStringLiteral("as Client")).toInt(), 32);
    EXPECT_TRUE(s.Find(QStringLiteral("alTop"))->IsReadOnly());

    s.SetVariables(QStringLiteral("Fresh"), Value(QStringLiteral("new")));
    EXPECT_EQ(s.Find(QStringLiteral("Fresh"))->TypeName(), QStringLiteral("Variant"));
    EXPECT_EQ(describe(s.Variables(QStringLiteral("Fresh"))), QStringLiteral("new"));
    EXPECT_TRUE(s.Variables(QStringLiteral("Missing")).isNull());

    s.AddType(QStringLiteral("TMoney"), fvtFloat);
    s.AddType(QStringLiteral("TMoney"), fvtInt);
    EXPECT_EQ(s.Find(QStringLiteral("TMoney"))->Typ(), fvtFloat);

    // A value provider answers reads; Null leaves the stored value in effect.
    s.SetOnGetVarValue([](const QString& name, TfsVarType, const Value& old) {
        return name == u"Asked" ? Value(QStringLiteral("from host")) : Value::null();
    });
    s.AddVariable(QStringLiteral("Asked"), QStringLiteral("Variant"), Value(1));
    s.AddVariable(QStringLiteral("Stored"), QStringLiteral("Variant"), Value(2));
    EXPECT_EQ(describe(s.Variables(QStringLiteral("Asked"))), QStringLiteral("from host"));
    EXPECT_EQ(describe(s.Variables(QStringLiteral("Stored"))), QStringLiteral("2"));
}

TEST(Component, ClearKeepsWhatTheModulesAddedAndClearItemsWhatOthersAdded)
{
    TfsScript s;
    s.AddRTTI();
    const int builtIns = s.Count();
    const int owner = 0;
    s.SetAddedBy(&owner);
    s.AddVariable(QStringLiteral("Mine"), QStringLiteral("Variant"), Value(1));
    s.SetAddedBy(nullptr);
    s.AddVariable(QStringLiteral("Other"), QStringLiteral("Variant"), Value(2));
    compile(s, "var X: Integer; begin X := 1 end.");
    s.ClearItems(&owner);
    EXPECT_EQ(s.Find(QStringLiteral("Mine")), nullptr);
    EXPECT_NE(s.Find(QStringLiteral("Other")), nullptr);
    EXPECT_EQ(s.Statement()->Count(), 0);
    s.Clear();
    EXPECT_EQ(s.Count(), builtIns);
    compile(s, "var r: String; begin r := IntToStr(42) end.");
    s.Execute();
    EXPECT_EQ(describe(s.Variables(QStringLiteral("r"))), QStringLiteral("42"));
    s.ClearRTTI();
    EXPECT_EQ(s.Find(QStringLiteral("IntToStr")), nullptr);
}

TEST(Component, CallingScriptRoutines)
{
    TfsScript s;
    s.AddRTTI();
    compile(s, "var g: Integer; function Add(a, b: Integer): Integer; begin Result := a + b end; "
               "procedure Twice(var x: Integer); begin x := x * 2 end; begin end.");
    EXPECT_EQ(s.CallFunction(QStringLiteral("add"), array({Value(2), Value(3)})).toInt(), 5);
    EXPECT_TRUE(s.CallFunction(QStringLiteral("Nothing"), array({})).isNull());
    EXPECT_TRUE(s.CallFunction(QStringLiteral("g"), array({})).isNull());
    // A parameter that gets no element keeps its value from the previous call.
    EXPECT_EQ(s.CallFunction(QStringLiteral("Add"), array({Value(10)})).toInt(), 13);
    Value args = array({Value(21)});
    s.CallFunction1(QStringLiteral("Twice"), args);
    EXPECT_EQ(args.element({0}).toInt(), 42);
    // Looked up in the script alone, a routine of the parent is not called.
    TfsScript child;
    child.SetParent(&s);
    EXPECT_TRUE(child.CallFunction(QStringLiteral("Add"), array({Value(1), Value(1)}), false).isNull());
    EXPECT_EQ(child.CallFunction(QStringLiteral("Add"), array({Value(1), Value(1)}), true).toInt(), 2);
}

TEST(Component, EvaluatingFreeExpressions)
{
    TfsScript s;
    s.AddRTTI();
    s.AddVariable(QStringLiteral("Price"), QStringLiteral("Variant"), Value(2.5));
    const Value sum = s.Evaluate(QStringLiteral("2 + 3"));
    EXPECT_FALSE(s.EvaluteRiseError());
    EXPECT_EQ(sum.type(), orv::script::varInteger);
    EXPECT_EQ(sum.toInt(), 5);
    EXPECT_EQ(describe(s.Evaluate(QStringLiteral("Price * 4"))), QStringLiteral("10"));
    const Value bad = s.Evaluate(QStringLiteral("2 +"));
    EXPECT_TRUE(s.EvaluteRiseError());
    EXPECT_EQ(describe(bad), QStringLiteral("';' expected"));
}

TEST(Component, EvaluateSeesTheRoutineThatRuns)
{
    TfsScript s;
    s.AddRTTI();
    Value seen;
    s.AddMethod(QStringLiteral("procedure Peek"), [&](TfsObject, TfsClass, const QString&, TfsMethodHelper*) {
        seen = s.Evaluate(QStringLiteral("Local * 2 + Global"));
        return Value();
    });
    compile(s, "var Global: Integer; procedure P; var Local: Integer; begin Local := 20; Peek end; "
               "begin Global := 1; P end.");
    s.Execute();
    EXPECT_FALSE(s.EvaluteRiseError());
    EXPECT_EQ(describe(seen), QStringLiteral("41"));
    EXPECT_EQ(s.ProgRunning(), nullptr);
}

TEST(Component, RoutinesReenteredByTheHostKeepTheirValues)
{
    // Tot calls Back, Back calls the host, the host calls Tot again while the outer
    // activations of Tot wait for their results.
    for (bool compiled : {true, false}) {
        orv::script::vm::setEnabled(compiled);
        TfsScript s;
        s.AddRTTI();
        s.AddMethod(QStringLiteral("function Host(n: Integer): Integer"),
                    [&](TfsObject, TfsClass, const QString&, TfsMethodHelper* caller) {
                        return s.CallFunction(QStringLiteral("Tot"), array({caller->GetVParam(0)}));
                    });
        compile(s, "var r: Integer; function Tot(n: Integer): Integer; var k: Integer; begin k := n; "
                   "if n <= 0 then Result := 0 else Result := Back(n - 1) + k end; "
                   "function Back(n: Integer): Integer; begin Result := Host(n) end; begin r := Tot(10) end.");
        s.Execute();
        EXPECT_EQ(s.Variables(QStringLiteral("r")).toInt(), 55) << compiled;
        // A host call with fewer arguments finds the parameter of the last call.
        EXPECT_EQ(s.CallFunction(QStringLiteral("Tot"), array({Value(4)})).toInt(), 10) << compiled;
        EXPECT_EQ(s.CallFunction(QStringLiteral("Tot"), array({})).toInt(), 10) << compiled;
    }
    orv::script::vm::setEnabled(true);
}

TEST(Component, LineHandlersSeeTheValuesOfTheRunningRoutine)
{
    // A handler reading the parameter and a local of the routine at each of its lines,
    // and an error raised deep in recursion: the script runs again as before.
    QStringList seen[2];
    for (bool compiled : {true, false}) {
        orv::script::vm::setEnabled(compiled);
        TfsScript s;
        s.AddRTTI();
        compile(s, "var r: Integer;\n"
                   "function Fib(k: Integer): Integer; var h: Integer;\n"
                   "begin\n"
                   "  h := k * 10;\n"
                   "  if k < 2 then Result := k else Result := Fib(k - 1) + Fib(k - 2);\n"
                   "end;\n"
                   "function Boom(n: Integer): Integer; begin if n = 0 then Result := 1 div n else Result := Boom(n - 1) end;\n"
                   "begin r := Fib(4) end.");
        QStringList& lines = seen[compiled ? 0 : 1];
        s.SetOnRunLine([&](TfsScript*, const QString&, const QString& pos) {
            if (s.ProgRunning())
                lines << pos + u'=' + describe(s.Evaluate(QStringLiteral("k"))) + u'/'
                             + describe(s.Evaluate(QStringLiteral("h")));
        });
        s.Execute();
        EXPECT_EQ(s.Variables(QStringLiteral("r")).toInt(), 3) << compiled;
        s.SetOnRunLine(nullptr);
        EXPECT_THROW(s.CallFunction(QStringLiteral("Boom"), array({Value(40)})), orv::platform::Exception);
        s.Execute();
        EXPECT_EQ(s.Variables(QStringLiteral("r")).toInt(), 3) << compiled;
        EXPECT_EQ(s.CallFunction(QStringLiteral("Fib"), array({Value(10)})).toInt(), 55) << compiled;
    }
    orv::script::vm::setEnabled(true);
    EXPECT_EQ(seen[0], seen[1]);
    ASSERT_GE(seen[0].size(), 4);
    EXPECT_EQ(seen[0].mid(0, 4), QStringList({"4:3=4/0", "5:3=4/40", "5:34=4/40", "4:3=3/40"}));
}

TEST(Component, CompoundAssignmentsAreRecognised)
{
    TfsScript s;
    s.AddRTTI();
    compile(s, "var x: Integer; t: String; begin x := x + 1; x := 2 * x; x := x - 3; t := 'a' + t; t := t + 'b' end.");
    const TfsStatement* main = s.Statement();
    ASSERT_EQ(main->Count(), 5);
    EXPECT_TRUE(dynamic_cast<TfsAssignPlusStmt*>(main->Items(0)));
    EXPECT_TRUE(dynamic_cast<TfsAssignMulStmt*>(main->Items(1)));
    EXPECT_TRUE(dynamic_cast<TfsAssignMinusStmt*>(main->Items(2)));
    EXPECT_EQ(typeid(*main->Items(3)), typeid(TfsAssignmentStmt));
    EXPECT_TRUE(dynamic_cast<TfsAssignPlusStmt*>(main->Items(4)));
    s.Execute();
    EXPECT_EQ(s.Variables(QStringLiteral("x")).toInt(), -1);
    EXPECT_EQ(s.Variables(QStringLiteral("t")).toString(), QStringLiteral("ab"));
}

TEST(Component, ExecutableLinesAndLineNotifications)
{
    TfsScript s;
    s.AddRTTI();
    compile(s, "var i, n: Integer;\n"
               "// a comment\n"
               "begin\n"
               "  n := 0;\n"
               "  for i := 1 to 2 do\n"
               "    if i = 2 then break;\n"
               "  n := 1;\n"
               "end.");
    EXPECT_FALSE(s.IsExecutableLine(1));
    EXPECT_FALSE(s.IsExecutableLine(2));
    EXPECT_TRUE(s.IsExecutableLine(4));
    EXPECT_TRUE(s.IsExecutableLine(6));
    QStringList lines;
    s.SetOnRunLine([&](TfsScript*, const QString&, const QString& pos) { lines << pos; });
    for (bool compiled : {true, false}) {
        lines.clear();
        orv::script::vm::setEnabled(compiled);
        s.Execute();
        // The break reports nothing.
        EXPECT_EQ(lines, QStringList({"4:3", "5:3", "6:5", "6:5", "7:3"})) << compiled;
    }
    orv::script::vm::setEnabled(true);
}

TEST(Component, TerminateStopsTheRoutineAndTheMainProgram)
{
    for (bool compiled : {true, false}) {
        orv::script::vm::setEnabled(compiled);
        TfsScript s;
        s.AddRTTI();
        int calls = 0;
        s.AddMethod(QStringLiteral("procedure Tick"), [&](TfsObject, TfsClass, const QString&, TfsMethodHelper*) {
            if (++calls == 3)
                s.Terminate();
            return Value();
        });
        compile(s, "var n, after: Integer; procedure Loop; var i: Integer; begin for i := 1 to 100 do begin Tick; n := n + 1 end end; "
                   "begin Loop; after := 1 end.");
        s.Execute();
        EXPECT_EQ(calls, 3) << compiled;
        EXPECT_EQ(s.Variables(QStringLiteral("n")).toInt(), 2) << compiled;
        EXPECT_EQ(s.Variables(QStringLiteral("after")).toInt(), 0) << compiled;
        // The next run starts afresh.
        calls = 10;
        s.Execute();
        EXPECT_EQ(s.Variables(QStringLiteral("after")).toInt(), 1) << compiled;
    }
    orv::script::vm::setEnabled(true);
}

TEST(Component, IntermediateCodeCanBeStoredAndBuilt)
{
    TfsScript source;
    source.AddRTTI();
    source.SetLines({QStringLiteral("var r: Integer; begin r := 6 * 7 end.")});
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    ASSERT_TRUE(source.GetILCode(buffer));
    EXPECT_EQ(source.Statement()->Count(), 0);
    buffer.seek(0);
    TfsScript target;
    target.AddRTTI();
    ASSERT_TRUE(target.SetILCode(buffer)) << target.ErrorMsg().toStdString();
    target.Execute();
    EXPECT_EQ(target.Variables(QStringLiteral("r")).toInt(), 42);
}

TEST(Component, UnitsJoinTheProgram)
{
    TfsScript s;
    s.AddRTTI();
    s.SetOnGetUnit([](TfsScript&, const QString& name, QString& text) {
        if (name.compare(u"Tools", Qt::CaseInsensitive) == 0)
            text = QStringLiteral("var Calls: Integer; function Half(x: Integer): Integer; begin Result := x div 2 end; "
                                  "begin Calls := 10 end.");
    });
    compile(s, "uses 'Tools'; var r: Integer; begin r := Half(8) + Calls end.");
    s.Execute();
    EXPECT_EQ(s.Variables(QStringLiteral("r")).toInt(), 14);
    // An error inside a unit names the unit.
    TfsScript t;
    t.AddRTTI();
    t.SetOnGetUnit([](TfsScript&, const QString&, QString& text) { text = QStringLiteral("begin Nothing := 1 end."); });
    t.SetLines({QStringLiteral("uses 'Broken'; begin end.")});
    EXPECT_FALSE(t.Compile());
    EXPECT_EQ(t.ErrorMsg(), QStringLiteral("Undeclared identifier: 'Nothing'"));
    EXPECT_EQ(t.ErrorUnit(), QStringLiteral("Broken"));
    EXPECT_EQ(t.ErrorPos(), QStringLiteral("1:14"));
}

TEST(Component, DeeplyNestedStoredProgramsBuildOrFailCleanly)
{
    // As deep as the program reader accepts: the builder follows it or reports an error.
    QByteArray il = "<?xml version=\"1.0\"?><program>";
    const int depth = 4000;
    for (int i = 0; i < depth; ++i)
        il += "<compoundstmt pos=\"1:1\">";
    il += "<assignstmt pos=\"1:1\"><dsgn pos=\"1:1\"><node text=\"r\" pos=\"1:2\"/></dsgn>"
          "<expr pos=\"1:3\"><number text=\"7\" pos=\"1:4\"/></expr></assignstmt>";
    for (int i = 0; i < depth; ++i)
        il += "</compoundstmt>";
    il += "<types/></program>";
    QBuffer buffer(&il);
    buffer.open(QIODevice::ReadOnly);
    TfsScript s;
    s.AddRTTI();
    s.AddVariable(QStringLiteral("r"), QStringLiteral("Integer"), Value(0));
    if (s.SetILCode(buffer)) {
        s.Execute();
        EXPECT_EQ(s.Variables(QStringLiteral("r")).toInt(), 7);
    } else {
        EXPECT_EQ(s.ErrorMsg(), QStringLiteral("Stack overflow"));
    }
}

TEST(Component, TheReportsExpressionCache)
{
    // The report's script: objects, Get, the macro functions, an empty program.
    TfsScript report;
    report.SetExtendedCharset(true);
    report.AddRTTI();
    QStringList asked, macroTexts;
    const int reportStamp = 0;
    report.SetAddedBy(&reportStamp);
    report.AddVariable(QStringLiteral("Value"), QStringLiteral("Variant"), Value::null());
    report.AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                     [&](TfsObject, TfsClass, const QString& name, TfsMethodHelper* c) {
                         asked << name + u':' + c->GetVParam(0).toString();
                         return Value(10);
                     });
    report.AddMethod(QStringLiteral("macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant"),
                     [&](TfsObject, TfsClass, const QString&, TfsMethodHelper* c) {
                         macroTexts << c->GetVParam(0).toString() << c->GetVParam(1).toString()
                                    << c->GetVParam(2).toString();
                         return Value(QStringLiteral("iif"));
                     });
    report.AddMethod(QStringLiteral("macrofunction SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant"),
                     [&](TfsObject, TfsClass, const QString&, TfsMethodHelper* c) {
                         macroTexts << c->GetVParam(0).toString() << describe(c->GetVParam(1))
                                    << describe(c->GetVParam(2));
                         return Value(7);
                     });
    report.SetAddedBy(nullptr);
    report.SetLines({QStringLiteral("begin"), QString(), QStringLiteral("end.")});
    ASSERT_TRUE(report.Compile());
    EXPECT_EQ(report.Statement()->Count(), 0);
    report.SetMainProg(true);

    TfsScript cache;
    cache.SetExtendedCharset(true);
    cache.SetParent(&report);
    auto evaluate = [&](int n, const QString& expression, QString& error) -> Value {
        cache.SetLines({QStringLiteral("function fr3f%1: Variant; begin Result := %2 end; begin end.").arg(n).arg(expression)});
        const bool ok = cache.Compile();
        TfsCustomVariable* item = cache.Find(QStringLiteral("fr3f%1").arg(n));
        if (!ok) {
            if (item) {
                cache.Remove(item);
                delete item;
            }
            error = cache.ErrorMsg();
            return Value::null();
        }
        return item->GetValue();
    };
    QString error;
    EXPECT_EQ(describe(evaluate(0, QStringLiteral("1 + 2"), error)), QStringLiteral("3"));
    EXPECT_EQ(describe(evaluate(1, QStringLiteral("<Cliente.Nome> * 2"), error)), QStringLiteral("20"));
    EXPECT_EQ(asked, QStringList({"GET:Cliente.Nome"}));
    EXPECT_EQ(describe(evaluate(2, QStringLiteral("IIF(Value > 0, 'sì', <Città>)"), error)), QStringLiteral("iif"));
    EXPECT_EQ(macroTexts, QStringList({"Value > 0", "'sì'", "<Città>"}));
    macroTexts.clear();
    EXPECT_EQ(describe(evaluate(3, QStringLiteral("SUM(<Riga.Importo>)"), error)), QStringLiteral("7"));
    // Omitted arguments have no text: the report counts them as 0.
    EXPECT_EQ(macroTexts, QStringList({"<Riga.Importo>", "", ""}));
    // A failed compile leaves no function behind.
    EXPECT_TRUE(evaluate(4, QStringLiteral("Nessuno + 1"), error).isNull());
    EXPECT_EQ(error, QStringLiteral("Undeclared identifier: 'Nessuno'"));
    EXPECT_EQ(cache.FindLocal(QStringLiteral("fr3f4")), nullptr);
    // Functions already compiled keep their value; they read the parent at each call.
    report.SetVariables(QStringLiteral("Value"), Value(-1));
    EXPECT_EQ(describe(cache.FindLocal(QStringLiteral("fr3f0"))->GetValue()), QStringLiteral("3"));
    cache.Clear();
    EXPECT_EQ(cache.FindLocal(QStringLiteral("fr3f0")), nullptr);
    EXPECT_EQ(describe(evaluate(0, QStringLiteral("Value"), error)), QStringLiteral("-1"));
}

TEST(TypeRules, DeclarationsAsHostsRegisterThem)
{
    TfsScript s;
    s.AddRTTI();
    s.AddConst(QStringLiteral("Answer"), QStringLiteral("Integer"), Value(42));
    std::unique_ptr<TfsCustomVariable> sum(fsParseDeclaration(
        QStringLiteral("macrofunction SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant"), &s));
    EXPECT_EQ(sum->Name(), QStringLiteral("SUM"));
    EXPECT_TRUE(sum->IsMacro());
    EXPECT_EQ(sum->Typ(), fvtVariant);
    ASSERT_EQ(sum->Count(), 3);
    EXPECT_FALSE(sum->Params(0)->IsOptional());
    EXPECT_TRUE(sum->Params(1)->IsOptional());
    EXPECT_EQ(sum->Params(1)->DefValue().toInt(), 0);
    EXPECT_EQ(sum->GetNumberOfRequiredParams(), 1);

    std::unique_ptr<TfsCustomVariable> iif(
        fsParseDeclaration(QStringLiteral("function IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant"), &s));
    EXPECT_EQ(iif->GetNumberOfRequiredParams(), 3);
    EXPECT_EQ(iif->Params(2)->Typ(), fvtVariant);
    EXPECT_EQ(iif->Params(0)->Typ(), fvtBool);

    std::unique_ptr<TfsCustomVariable> setLength(
        fsParseDeclaration(QStringLiteral("procedure SetLength(var S: Variant; L: Integer)"), &s));
    EXPECT_TRUE(setLength->Params(0)->IsVarParam());
    EXPECT_FALSE(setLength->Params(1)->IsVarParam());
    EXPECT_TRUE(setLength->TypeName().isEmpty());

    std::unique_ptr<TfsCustomVariable> pos(
        fsParseDeclaration(QStringLiteral("function Pos(const substr, s: String): Integer"), &s));
    EXPECT_FALSE(pos->Params(0)->IsVarParam());
    EXPECT_EQ(pos->Params(1)->Typ(), fvtString);
    EXPECT_EQ(pos->Typ(), fvtInt);

    std::unique_ptr<TfsCustomVariable> defaults(
        fsParseDeclaration(QStringLiteral("procedure P(a: Integer = -1; b: Integer = Answer; c: String = 'x')"), &s));
    EXPECT_EQ(defaults->Params(0)->DefValue().toInt(), -1);
    EXPECT_EQ(defaults->Params(1)->DefValue().toInt(), 42);
    EXPECT_EQ(defaults->Params(2)->DefValue().toString(), QStringLiteral("x"));

    std::unique_ptr<TfsCustomVariable> bare(fsParseDeclaration(QStringLiteral("function Pi: Extended"), &s));
    EXPECT_EQ(bare->Count(), 0);
    EXPECT_EQ(bare->Typ(), fvtFloat);
}

TEST(TypeRules, ConstantsAndCompatibility)
{
    EXPECT_EQ(fsConstantValue(QStringLiteral("$FF")).toInt(), 255);
    EXPECT_EQ(fsConstantValue(QStringLiteral("3000000000")).type(), orv::script::varInt64);
    EXPECT_EQ(fsConstantValue(QStringLiteral("1.5")).toString(), QStringLiteral("1,5"));
    EXPECT_EQ(fsConstantValue(QStringLiteral("'It''s'")).toString(), QStringLiteral("It''s"));
    EXPECT_EQ(fsConstantValue(QStringLiteral("'It's'")).toString(), QStringLiteral("It's"));
    EXPECT_TRUE(fsConstantValue(QString()).isNull());
    EXPECT_THROW(fsConstantValue(QStringLiteral("abc")), orv::platform::EConvertError);

    TfsScript s;
    EXPECT_TRUE(fsKindsCompatible(fvtFloat, {}, fvtInt, {}, &s));
    EXPECT_TRUE(fsKindsCompatible(fvtInt, {}, fvtFloat, {}, &s));
    EXPECT_FALSE(fsKindsCompatible(fvtString, {}, fvtFloat, {}, &s));
    EXPECT_TRUE(fsKindsCompatible(fvtInt64, {}, fvtFloat, {}, &s));
    EXPECT_FALSE(fsKindsCompatible(fvtEnum, QStringLiteral("TA"), fvtEnum, QStringLiteral("TB"), &s));
    EXPECT_TRUE(fsKindsCompatible(fvtEnum, QStringLiteral("TA"), fvtEnum, QStringLiteral("ta"), &s));
    TfsVariable i(QStringLiteral("i"), fvtInt, QString()), e(QStringLiteral("e"), fvtFloat, QString());
    EXPECT_FALSE(fsAssignmentCompatible(&i, &e, &s));
    EXPECT_TRUE(fsAssignmentCompatible(&e, &i, &s));
    EXPECT_EQ(fsPositionToPoint(QStringLiteral("12:7")), QPoint(7, 12));
    EXPECT_EQ(fsPositionToPoint(QString()), QPoint(0, 0));
}
