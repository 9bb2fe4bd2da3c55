// The report's script side: bracketed expressions of memos prepared into pages, the
// expression cache, display formats, script events, compile errors in the errors
// message, and scripts reaching the report's objects through the report classes.
#include "layouts.h"

#include "platform/core/services.h"
#include "report/model/bands.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/script/expressioncache.h"
#include "report/script/scriptclasses.h"
#include "script/core/objects.h"
#include "script/core/script.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orv::report;
using namespace orv::script;

using orv::report::Value;

namespace {

class ScriptClock : public orv::platform::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 7), QTime(10, 30)); }
};

struct ScriptTest : orv::report::test::LayoutFixture {
    ScriptClock clock;

    void SetUp() override
    {
        LayoutFixture::SetUp();
        orv::platform::setClock(&clock);
    }
    void TearDown() override { orv::platform::setClock(nullptr); }
    void script(const QString& text) { report->ScriptText()->SetText(text); }
    QString errors() const { return report->Errors()->Text(); }
};

} // namespace

TEST_F(ScriptTest, BracketedExpressionsArePreparedIntoTheirTexts)
{
    auto* voci = rows(QStringLiteral("Voci"), {{{"Nome", "Caldaia"}, {"Importo", 1234.5}},
                                               {{"Nome", "Antenna"}, {"Importo", 80}}});
    report->Variables()->SetVariable(QStringLiteral("Sconto"), QStringLiteral("10 * 2"));
    report->Variables()->SetVariable(QStringLiteral("Nota"), QStringLiteral("prima\r\nseconda"));
    auto* title = band<TfrxReportTitle>(QStringLiteral("Titolo"), 0);
    memo(title, QStringLiteral("Conto"), QStringLiteral("Somma [1 + 2 * 3], testo [UpperCase('abc') + IntToStr(Length('xyz'))]"));
    memo(title, QStringLiteral("Variabili"), QStringLiteral("[Sconto] / [Nota]"), 20);
    memo(title, QStringLiteral("Sistema"), QStringLiteral("Pagina [Page#] del [Date]"), 40);
    auto* master = band<TfrxMasterData>(QStringLiteral("Riga"), 100);
    master->SetDataSet(voci);
    memo(master, QStringLiteral("Nome"),
         QStringLiteral("[Line#]. [Voci.\"Nome\"] [<Voci.\"Importo\"> * 2 #n%2,2n] "
                        "[IIF(<Line#> > 1, 'altre', 'prima')] [ [non è un'espressione"));
    ASSERT_TRUE(report->PrepareReport(true)) << errors().toStdString();
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("Somma 7, testo ABC3"),
                                    QStringLiteral("20 / prima\r\nseconda"),
                                    QStringLiteral("Pagina 1 del 07/03/2024"),
                                    QStringLiteral("1. Caldaia 2.469,00 prima [ [non è un'espressione"),
                                    QStringLiteral("2. Antenna 160,00 altre [ [non è un'espressione")}));
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(ScriptTest, ExpressionErrorsEndThePreparationWithTheirLine)
{
    auto* title = band<TfrxReportTitle>(QStringLiteral("Titolo"), 0);
    auto* m = memo(title, QStringLiteral("Conto"), QStringLiteral("[Nessuno + 1]"));
    EXPECT_FALSE(report->PrepareReport(true));
    EXPECT_EQ(report->Errors()->lines(),
              QStringList{QStringLiteral("Conto: Error in expression 'Nessuno + 1': Undeclared identifier: 'Nessuno'")});
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], QStringLiteral("The following error(s) have occured:\r\n"
                                       "Conto: Error in expression 'Nessuno + 1': Undeclared identifier: 'Nessuno'\r\n"));

    // A division by zero is an error unless the report ignores it.
    m = report->FindObjectAs<TfrxMemoView>(QStringLiteral("Conto"));
    m->SetText(QStringLiteral("[1 / 0]"));
    EXPECT_FALSE(report->PrepareReport(true));
    EXPECT_TRUE(errors().contains(QStringLiteral("division by zero"))) << errors().toStdString();
    report->EngineOptions()->SetIgnoreDevByZero(true);
    EXPECT_TRUE(report->PrepareReport(true)) << errors().toStdString();

    // A name that Get cannot resolve only adds its line.
    report->FindObjectAs<TfrxMemoView>(QStringLiteral("Conto"))->SetText(QStringLiteral("[<Sconosciuto> + 'x']"));
    EXPECT_FALSE(report->PrepareReport(true));
    EXPECT_EQ(report->Errors()->lines(), QStringList{QStringLiteral("Unknown variable or datafield: Sconosciuto")});
    EXPECT_EQ(pages().Count(), 1);
}

TEST_F(ScriptTest, TheExpressionCacheCompilesEachDistinctTextOnce)
{
    ASSERT_TRUE(report->PrepareScript());
    TfrxExpressionCache* cache = report->ExpressionCache();
    for (int i = 0; i < 1500; ++i)
        ASSERT_EQ(report->Calc(QStringLiteral("%1 * 2 + Length('x')").arg(i)).toInt(), i * 2 + 1);
    EXPECT_EQ(cache->Count(), 1500);
    EXPECT_NE(cache->Script()->FindLocal(QStringLiteral("fr3f1499")), nullptr);
    // Texts differing only in letter case share a function, unless told otherwise.
    EXPECT_EQ(report->Calc(QStringLiteral("LENGTH('X')")).toInt(), 1);
    EXPECT_EQ(report->Calc(QStringLiteral("length('X')")).toInt(), 1);
    EXPECT_EQ(cache->Count(), 1501);
    report->SetCaseSensitiveExpressions(true);
    EXPECT_EQ(report->Calc(QStringLiteral("length('x')")).toInt(), 1);
    EXPECT_EQ(cache->Count(), 1502);
    // A failed compile leaves no function, and the next text takes its number.
    EXPECT_THROW(report->Calc(QStringLiteral("1 +")), orv::report::Error);
    EXPECT_EQ(cache->Count(), 1502);
    EXPECT_EQ(report->Calc(QStringLiteral("40 + 2")).toInt(), 42);
    EXPECT_NE(cache->Script()->FindLocal(QStringLiteral("fr3f1502")), nullptr);
    // Plain names are answered without compiling anything.
    report->Variables()->SetVariable(QStringLiteral("Cento"), 100);
    EXPECT_EQ(report->Calc(QStringLiteral("cento")).toInt(), 100);
    EXPECT_EQ(cache->Count(), 1503);
    // Each preparation starts afresh.
    ASSERT_TRUE(report->PrepareScript());
    EXPECT_EQ(cache->Count(), 0);
    EXPECT_EQ(report->Calc(QStringLiteral("2 + 2")).toInt(), 4);
    EXPECT_NE(cache->Script()->FindLocal(QStringLiteral("fr3f0")), nullptr);
}

TEST_F(ScriptTest, DisplayFormats)
{
    auto* m = memo(band<TfrxReportTitle>(QStringLiteral("Titolo"), 0), QStringLiteral("Cifra"), QString());
    struct Case {
        TfrxFormatKind kind;
        const char* format;
        const char* decimal;
        const char* thousand;
        Value value;
        const char* expected;
    };
    const double day = 45358.75; // 07/03/2024 18:00
    const Case cases[] = {
        {fkNumeric, "#,##0.00", "", "", Value(1234.5), "1.234,50"},
        {fkNumeric, "0.000", "", "", Value(-0.5), "-0,500"},
        {fkNumeric, "%2.2n", "", "", Value(1234567.891), "1.234.567,89"},
        {fkNumeric, "%.2f", ".", "", Value(1234.5), "1234.50"},
        {fkNumeric, "#,##0.00", ",", "'", Value(1234.5), "1'234,50"},
        {fkNumeric, "%d", "", "", Value(12.7), "13"},
        {fkNumeric, "#,##0.00", "", "", Value(QStringLiteral("non un numero")), "non un numero"},
        {fkDateTime, "dd/mm/yy hh:nn", "", "", Value::fromDate(day), "07/03/24 18:00"},
        {fkDateTime, "d/m/yyyy", "", "", Value::fromDate(day), "7/3/2024"},
        {fkText, "", "", "", Value::fromDate(day), "07/03/2024 18:00:00"},
        {fkBoolean, "No,Sì", "", "", Value(true), "Sì"},
        {fkBoolean, "No,Sì", "", "", Value(0), "No"},
        {fkNumeric, "#,##0.00", "", "", Value::null(), ""},
    };
    for (const Case& c : cases) {
        TfrxFormat f;
        f.SetKind(c.kind);
        f.SetFormatStr(QString::fromUtf8(c.format));
        f.SetDecimalSeparator(QString::fromUtf8(c.decimal));
        f.SetThousandSeparator(QString::fromUtf8(c.thousand));
        EXPECT_EQ(m->FormatData(c.value, &f), QString::fromUtf8(c.expected)) << c.format;
    }

    // The memo's own display format serves its expressions; one given after " #" wins.
    m->DisplayFormat()->SetKind(fkNumeric);
    m->DisplayFormat()->SetFormatStr(QStringLiteral("#,##0.00"));
    // After " #" the first letter chooses the kind; ",", "." or "-" set the decimal separator.
    m->SetText(QStringLiteral("[1000 + 0.5] [3 / 4 #n%,1f] [3 / 4 #n%.1f] [Date #Ddd-mm-yyyy] [1 = 1 #bno,sì]"));
    ASSERT_TRUE(report->PrepareReport(true)) << errors().toStdString();
    EXPECT_EQ(texts(), QStringList{QStringLiteral("1.000,50 0,8 0.8 07-03-2024 sì")});
}

TEST_F(ScriptTest, ScriptEventsChangeWhatIsPrinted)
{
    auto* voci = rows(QStringLiteral("Voci"), {{{"Nome", "Caldaia"}}, {{"Nome", "Antenna"}}, {{"Nome", "Lavatrice"}}});
    auto* title = band<TfrxReportTitle>(QStringLiteral("Titolo"), 0);
    auto* intestazione = memo(title, QStringLiteral("Intestazione"), QStringLiteral("da cambiare"));
    intestazione->SetOnBeforePrint(QStringLiteral("IntestazioneOnBeforePrint"));
    auto* master = band<TfrxMasterData>(QStringLiteral("Riga"), 100);
    master->SetDataSet(voci);
    auto* nome = memo(master, QStringLiteral("Nome"), QStringLiteral("[Voci.\"Nome\"]"));
    nome->SetOnAfterData(QStringLiteral("NomeOnAfterData"));
    report->SetOnStartReport(QStringLiteral("Inizio"));
    script(QStringLiteral("var Conta: Integer;\r\n"
                          "procedure Inizio(Sender: TfrxComponent);\r\n"
                          "begin\r\n"
                          "  Conta := 100;\r\n"
                          "end;\r\n"
                          "procedure IntestazioneOnBeforePrint(Sender: TfrxComponent);\r\n"
                          "begin\r\n"
                          "  TfrxMemoView(Sender).Text := 'Elenco da ' + IntToStr(Conta);\r\n"
                          "end;\r\n"
                          "procedure NomeOnAfterData(Sender: TfrxComponent);\r\n"
                          "begin\r\n"
                          "  Conta := Conta + 1;\r\n"
                          "  Nome.Text := IntToStr(Conta) + ' ' + UpperCase(VarToStr(Value)) + ' ' + Trim(Nome.Text);\r\n"
                          "  if Conta = 102 then Nome.Font.Size := 14;\r\n"
                          "end;\r\n"
                          "begin\r\n"
                          "  Conta := 1;\r\n"
                          "end."));
    ASSERT_TRUE(report->PrepareReport(true)) << errors().toStdString();
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("Elenco da 100"), QStringLiteral("101 CALDAIA Caldaia"),
                                    QStringLiteral("102 ANTENNA Antenna"), QStringLiteral("103 LAVATRICE Lavatrice")}));
    auto* second = dynamic_cast<TfrxMemoView*>(pages().GetPage(0)->FindObject(QStringLiteral("Nome")));
    ASSERT_NE(second, nullptr);
    // The layout itself is back as it was.
    EXPECT_EQ(report->FindObjectAs<TfrxMemoView>(QStringLiteral("Intestazione"))->Text().trimmed(),
              QStringLiteral("da cambiare"));
    EXPECT_EQ(report->FindObjectAs<TfrxMemoView>(QStringLiteral("Nome"))->Font()->Size(), 10);

    // An event that stops the report ends the run where it is, without an error.
    script(report->ScriptText()->Text().replace(QStringLiteral("Conta := Conta + 1;"),
                                                QStringLiteral("Conta := Conta + 1; if Conta = 102 then Engine.StopReport;")));
    report->PrepareReport(true);
    EXPECT_TRUE(report->Errors()->isEmpty()) << errors().toStdString();
    EXPECT_EQ(texts().size(), 3);
    EXPECT_TRUE(shown.isEmpty());
    // The next preparation runs whole again.
    script(report->ScriptText()->Text().replace(QStringLiteral("if Conta = 102 then Engine.StopReport;"), QString()));
    ASSERT_TRUE(report->PrepareReport(true)) << errors().toStdString();
    EXPECT_EQ(texts().size(), 4);
}

TEST_F(ScriptTest, ScriptErrorsAreReportedInTheOneErrorMessage)
{
    memo(band<TfrxReportTitle>(QStringLiteral("Titolo"), 0), QStringLiteral("Testo"), QStringLiteral("x"));
    script(QStringLiteral("begin\r\n  Testo.Text := Sconosciuto;\r\nend."));
    EXPECT_FALSE(report->PrepareReport(true));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].toStdString(), QStringLiteral("The following error(s) have occured:\r\n"
                                       "Script error at 2:28: Undeclared identifier: 'Sconosciuto'\r\n").toStdString());
    EXPECT_EQ(pages().Count(), 0) << "the engine does not run";

    // A run-time error of the main program or of an event ends the preparation too.
    shown.clear();
    script(QStringLiteral("begin\r\n  Testo.Text := IntToStr(1 div 0);\r\nend."));
    EXPECT_FALSE(report->PrepareReport(true));
    EXPECT_EQ(report->Errors()->lines(), QStringList{QStringLiteral("Division by zero")});
    EXPECT_EQ(shown.size(), 1);

    // A language nobody registered is a script error like any other.
    report->SetScriptLanguage(QStringLiteral("Esperanto"));
    EXPECT_FALSE(report->PrepareReport(true));
    EXPECT_EQ(report->Errors()->lines(), QStringList{QStringLiteral("Script error at : Language 'Esperanto' not found")});
    report->SetScriptLanguage(QStringLiteral("VoriroVoreva"));

    // The compiler speaks with the report's texts.
    script(QStringLiteral("var s: String;\r\nbegin\r\n  s.Length := 1;\r\nend."));
    EXPECT_FALSE(report->PrepareReport(true));
    EXPECT_TRUE(errors().contains(QStringLiteral("Strings do not have properties or methods"))) << errors().toStdString();
}

TEST_F(ScriptTest, ScriptsReachTheReportObjectsByName)
{
    auto* title = band<TfrxReportTitle>(QStringLiteral("Titolo"), 0, 60);
    memo(title, QStringLiteral("Primo"), QStringLiteral("[Totale]"));
    memo(title, QStringLiteral("Secondo"), QString(), 20);
    memo(title, QStringLiteral("Terzo"), QStringLiteral("[Report.Calc('<Totale> * 2')]"), 40);
    frxGlobalVariables().SetVariable(QStringLiteral("Ditta"), QStringLiteral("Dorvane"));
    script(QStringLiteral(
        "var m: TfrxMemoView;\r\n"
        "begin\r\n"
        "  Set('Totale', 21);\r\n"
        "  m := TfrxMemoView(Report.FindObject('Secondo'));\r\n"
        "  m.Text := IntToStr(YearOf(EncodeDate(2021, 3, 1))) + '/' + IntToStr(MonthOf(EncodeDate(2021, 3, 1)))\r\n"
        "    + ' ' + IntToStr(baBottom) + ' ' + frxGlobalVariables['Ditta'] + ' ' + FloatToStr(TfrxView(Report.FindObject('Terzo')).Top)\r\n"
        "    + ' ' + Primo.Parent.Name + ' ' + Primo.Page.Name;\r\n"
        "  if Report.FindObject('Nessuno') = nil then m.Text := Trim(m.Text) + ' nil';\r\n"
        "  Primo.Left := 50;\r\n"
        "  m.TagStr := 'etichetta';\r\n"
        "end."));
    ASSERT_TRUE(report->PrepareReport(true)) << errors().toStdString();
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("21"), QStringLiteral("2021/3 5 Dorvane 40 Titolo Page1 nil"),
                                    QStringLiteral("42")}));
    auto* primo = dynamic_cast<TfrxMemoView*>(pages().GetPage(0)->FindObject(QStringLiteral("Primo")));
    ASSERT_NE(primo, nullptr);
    EXPECT_EQ(primo->Left(), 50);
    frxGlobalVariables().Clear();
}

TEST_F(ScriptTest, ScriptsInEveryLanguageWalkTheReportsObjects)
{
    // Each program lists the title band's objects by name, counts the page's descendants,
    // reads a found object's Left, and writes members of found objects that only their
    // own class has.
    const struct {
        const char* language;
        const char* source;
    } cases[] = {
        {"VoriroVoreva",
         "var i: Integer; s: String;\r\n"
         "begin\r\n"
         "  s := '';\r\n"
         "  for i := 0 to Titolo.Objects.Count - 1 do\r\n"
         "    s := s + TfrxComponent(Titolo.Objects[i]).Name + ',';\r\n"
         "  s := s + IntToStr(Page1.AllObjects.Count) + ' ' + FloatToStr(Report.FindObject('Terzo').Left);\r\n"
         "  Report.FindObject('Secondo').Text := s;\r\n"
         "  Report.FindObject('Primo').Left := Report.FindObject('Terzo').Left + 5;\r\n"
         "end."},
        {"Z++Ovuvir",
         "int i; string s;\r\n"
         "{\r\n"
         "  s = \"\";\r\n"
         "  for (i = 0; i < Titolo.Objects.Count; i++)\r\n"
         "    s = s + TfrxComponent(Titolo.Objects[i]).Name + \",\";\r\n"
         "  s = s + IntToStr(Page1.AllObjects.Count) + \" \" + FloatToStr(Report.FindObject(\"Terzo\").Left);\r\n"
         "  Report.FindObject(\"Secondo\").Text = s;\r\n"
         "  Report.FindObject(\"Primo\").Left = Report.FindObject(\"Terzo\").Left + 5;\r\n"
         "}"},
        {"RadivEdurav",
         "s = \"\"\r\n"
         "For i = 0 To Titolo.Objects.Count - 1\r\n"
         "s = s & Titolo.Objects[i].Name & \",\"\r\n"
         "Next\r\n"
         "s = s & IntToStr(Page1.AllObjects.Count) & \" \" & FloatToStr(Report.FindObject(\"Terzo\").Left)\r\n"
         "Report.FindObject(\"Secondo\").Text = s\r\n"
         "Report.FindObject(\"Primo\").Left = Report.FindObject(\"Terzo\").Left + 5\r\n"},
        {"JScript",
         "var s = \"\";\r\n"
         "for (var i = 0; i < Titolo.Objects.Count; i++) s = s + Titolo.Objects[i].Name + \",\";\r\n"
         "s = s + IntToStr(Page1.AllObjects.Count) + \" \" + FloatToStr(Report.FindObject(\"Terzo\").Left);\r\n"
         "Report.FindObject(\"Secondo\").Text = s;\r\n"
         "Report.FindObject(\"Primo\").Left = Report.FindObject(\"Terzo\").Left + 5;\r\n"},
    };
    // Every preparation reads the layout back as it was, so one layout serves every language.
    auto* title = band<TfrxReportTitle>(QStringLiteral("Titolo"), 0, 60);
    memo(title, QStringLiteral("Primo"), QStringLiteral("uno"));
    memo(title, QStringLiteral("Secondo"), QString(), 20);
    memo(title, QStringLiteral("Terzo"), QStringLiteral("tre"), 40)->SetLeft(30);
    for (const auto& c : cases) {
        report->SetScriptLanguage(QString::fromLatin1(c.language));
        script(QString::fromLatin1(c.source));
        ASSERT_TRUE(report->PrepareReport(true)) << c.language << ": " << errors().toStdString();
        EXPECT_EQ(texts(), (QStringList{QStringLiteral("uno"), QStringLiteral("Primo,Secondo,Terzo,4 30"),
                                        QStringLiteral("tre")}))
            << c.language;
        auto* primo = dynamic_cast<TfrxMemoView*>(pages().GetPage(0)->FindObject(QStringLiteral("Primo")));
        ASSERT_NE(primo, nullptr);
        EXPECT_EQ(primo->Left(), 35) << c.language;
    }
}

TEST_F(ScriptTest, ReportObjectsTakeTheScriptsStreams)
{
    auto* title = band<TfrxReportTitle>(QStringLiteral("Titolo"), 0, 60);
    memo(title, QStringLiteral("Primo"), QStringLiteral("uno"));
    memo(title, QStringLiteral("Secondo"), QString(), 20);
    script(QStringLiteral(
        "var st, righe: TMemoryStream; l, copia: TWideStrings; sl: TStringList;\r\n"
        "begin\r\n"
        "  st := TMemoryStream.Create;\r\n"
        "  Primo.SaveToStream(st);\r\n"
        "  Primo.Text := 'cambiato';\r\n"
        "  st.Position := 0;\r\n"
        "  Primo.LoadFromStream(st);\r\n"
        // Wide strings write UTF-16 without a mark and read single bytes unless one is there.
        "  l := TWideStrings.Create; copia := TWideStrings.Create; righe := TMemoryStream.Create;\r\n"
        "  l.Add('a'); l.Add('b');\r\n"
        "  l.SaveToStream(righe);\r\n"
        "  Secondo.Text := IntToStr(righe.Size);\r\n"
        "  righe.Clear;\r\n"
        "  sl := TStringList.Create; sl.Add('x'); sl.Add('y'); sl.SaveToStream(righe);\r\n"
        "  righe.Position := 0;\r\n"
        "  copia.LoadFromStream(righe);\r\n"
        "  Secondo.Text := Trim(Secondo.Text) + ' ' + IntToStr(copia.Count) + copia[1];\r\n"
        "  st.Free; righe.Free; l.Free; copia.Free; sl.Free;\r\n"
        "end."));
    ASSERT_TRUE(report->PrepareReport(true)) << errors().toStdString();
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("uno"), QStringLiteral("12 2y")}));

    // A name nobody bears gives nil, and a member of nil is an error of the script.
    script(QStringLiteral("begin\r\n  Secondo.Text := FloatToStr(Report.FindObject('Nessuno').Left);\r\nend."));
    EXPECT_FALSE(report->PrepareReport(true));
    EXPECT_EQ(report->Errors()->lines(), QStringList{QStringLiteral("Invalid object reference")});
}

TEST(ScriptClasses, DeclarationsAndWideStrings)
{
    // A script that knows no "TPersistent" gets no "TWideStrings".
    TfsScript bare;
    orv::report::TFunctions bareModule(&bare);
    EXPECT_EQ(bare.FindClass(QStringLiteral("TWideStrings")), nullptr);
    EXPECT_NE(bare.FindClass(QStringLiteral("TfrxMemoView")), nullptr);
    EXPECT_EQ(bare.Find(QStringLiteral("baBottom"))->GetValue().toInt(), 5);
    EXPECT_EQ(bare.Find(QStringLiteral("baClient")), nullptr);
    EXPECT_EQ(bare.Find(QStringLiteral("ftBottom"))->GetValue().toInt(), 8);

    TfsScript s;
    s.AddRTTI();
    s.AddClass(&orv::platform::Persistent::staticClassInfo(), QStringLiteral("TObject"));
    orv::report::TFunctions module(&s);
    TfrxReport report;
    auto* page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto* memo = new TfrxMemoView(page);
    memo->SetName(QStringLiteral("Memo1"));
    s.AddObject(QStringLiteral("Memo1"), memo);
    s.SetLines(fsTextToLines(QStringLiteral(
        "var l: TWideStrings;\r\n"
        "begin\r\n"
        "  l := TWideStrings.Create;\r\n"
        "  l.Add('uno'); l.Add('due'); l.Add('tre');\r\n"
        "  l[2] := l[2] + '!' + l.Strings[0];\r\n"
        "  Memo1.Lines := l;\r\n"
        "  Memo1.Lines.Add(IntToStr(l.Count) + ' ' + IntToStr(l.IndexOf('due')));\r\n"
        "end.")));
    ASSERT_TRUE(s.Compile()) << s.ErrorPos().toStdString() << ' ' << s.ErrorMsg().toStdString();
    s.Execute();
    EXPECT_EQ(memo->Memo()->Text(), QStringLiteral("uno\r\ndue\r\ntre!uno\r\n3 1\r\n"));
    delete orv::script::valueObject(s.Find(QStringLiteral("l"))->GetValue());
}

namespace {

// A parent template on disk: page "Page1" with the title band "Titolo" holding "Ditta".
struct InheritanceTest : ScriptTest {
    QTemporaryDir dir;
    QString parentFile;

    void SetUp() override
    {
        ScriptTest::SetUp();
        TfrxReport parent;
        (new TfrxDataPage(&parent))->SetName(QStringLiteral("Data"));
        auto* p = new TfrxReportPage(&parent);
        p->SetName(QStringLiteral("Page1"));
        auto* title = new TfrxReportTitle(p);
        title->SetName(QStringLiteral("Titolo"));
        title->SetBounds(0, 0, 718, 40);
        auto* ditta = new TfrxMemoView(title);
        ditta->SetName(QStringLiteral("Ditta"));
        ditta->SetBounds(0, 0, 300, 18);
        ditta->SetText(QStringLiteral("Dorvane [1 + 1]"));
        parent.ScriptText()->SetText(QStringLiteral("begin\r\n  Ditta.Left := 5;\r\nend."));
        parentFile = dir.filePath(QStringLiteral("genitore.fr3"));
        parent.SaveToFile(parentFile);
    }
    QStringList names(TfrxReport& r)
    {
        QStringList out;
        for (TfrxComponent* c : r.AllObjects())
            out << (c->IsAncestor() ? QStringLiteral("^") : QString()) + c->Name();
        return out;
    }
};

} // namespace

TEST_F(InheritanceTest, AChildTemplateReadsItsParentFirst)
{
    TfrxReport child;
    child.FileName = dir.filePath(QStringLiteral("figlio.fr3"));
    child.SetParentReport(QStringLiteral("genitore.fr3"));
    ASSERT_EQ(names(child), (QStringList{"^Data", "^Page1", "^Titolo", "^Ditta"}));
    ASSERT_NE(child.ParentReportObject(), nullptr);
    auto* cliente = new TfrxMemoView(child.FindObject(QStringLiteral("Titolo")));
    cliente->SetName(QStringLiteral("Cliente"));
    cliente->SetBounds(0, 20, 300, 18);
    cliente->SetText(QStringLiteral("Rossi"));
    child.SaveToFile(child.FileName);

    TfrxReport read;
    ASSERT_TRUE(read.LoadFromFile(dir.filePath(QStringLiteral("figlio.fr3"))));
    EXPECT_TRUE(read.Errors()->isEmpty()) << read.Errors()->Text().toStdString();
    EXPECT_EQ(read.ParentReport(), QStringLiteral("genitore.fr3"));
    EXPECT_EQ(names(read), (QStringList{"^Data", "^Page1", "^Titolo", "^Ditta", "Cliente"}));
    read.SetShowProgress(false);
    ASSERT_TRUE(read.PrepareReport(true)) << read.Errors()->Text().toStdString();
    QStringList printed;
    auto* pagesOf = static_cast<TfrxPreviewPages*>(read.PreviewPages());
    for (TfrxComponent* c : pagesOf->GetPage(0)->AllObjects())
        if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c))
            printed << m->Text().trimmed() + u'@' + QString::number(m->Left());
    EXPECT_EQ(printed, (QStringList{"Dorvane 2@5", "Rossi@0"}));
    EXPECT_EQ(names(read).size(), 5) << "the reload keeps the child as it was";

    // Leaving the parent makes every object the report's own; clearing frees them all.
    read.SetParentReport(QString());
    EXPECT_EQ(names(read), (QStringList{"Data", "Page1", "Titolo", "Ditta", "Cliente"}));
    read.SetParentReport(QStringLiteral("genitore.fr3"));
    read.Clear();
    EXPECT_EQ(read.PagesCount(), 0);
}

TEST_F(InheritanceTest, InheritingMergesTheReportsObjects)
{
    auto makeOwn = [this](TfrxReport& r) {
        r.FileName = dir.filePath(QStringLiteral("proprio.fr3"));
        (new TfrxDataPage(&r))->SetName(QStringLiteral("Data"));
        auto* p = new TfrxReportPage(&r);
        p->SetName(QStringLiteral("Page1"));
        auto* title = new TfrxReportTitle(p);
        title->SetName(QStringLiteral("Titolo"));
        title->SetBounds(0, 0, 718, 30);
        auto* nota = new TfrxMemoView(title);
        nota->SetName(QStringLiteral("Nota"));
        nota->SetText(QStringLiteral("mia"));
        auto* ditta = new TfrxMemoView(title);
        ditta->SetName(QStringLiteral("Ditta"));
        nota->SetFlowTo(ditta);
        auto* footer = new TfrxPageFooter(p);
        footer->SetName(QStringLiteral("Piede"));
        r.ScriptText()->SetText(QStringLiteral("begin\r\n  Nota.Text := 'x';\r\nend."));
    };
    {
        TfrxReport r;
        makeOwn(r);
        EXPECT_TRUE(r.InheritFromTemplate(parentFile, imRename));
        EXPECT_EQ(names(r), (QStringList{"^Data", "^Page1", "^Titolo", "^Ditta", "ReportTitle1", "Nota", "Memo1",
                                         "Piede"}));
        // The reference to the renamed object follows it.
        EXPECT_EQ(r.FindObjectAs<TfrxMemoView>(QStringLiteral("Nota"))->FlowTo(), r.FindObject(QStringLiteral("Memo1")));
        EXPECT_EQ(r.ParentReport(), QStringLiteral("genitore.fr3"));
        EXPECT_EQ(r.ScriptText()->lines(),
                  (QStringList{"begin", "  Ditta.Left := 5;", "end.", "{", "**********Script from parent report**********",
                               "begin", "  Nota.Text := 'x';", "end.", "}"}));
        EXPECT_TRUE(r.PrepareScript()) << r.Errors()->Text().toStdString();
        EXPECT_FALSE(r.InheritFromTemplate(r.FileName));
    }
    {
        TfrxReport r;
        makeOwn(r);
        EXPECT_TRUE(r.InheritFromTemplate(parentFile, imDelete));
        EXPECT_EQ(names(r), (QStringList{"^Data", "^Page1", "^Titolo", "^Ditta", "Piede"}));
    }
    {
        // Asked and cancelled: nothing changes.
        frxSetInheritErrorPrompt([](const QString&) { return imDefault; });
        TfrxReport r;
        makeOwn(r);
        EXPECT_FALSE(r.InheritFromTemplate(parentFile));
        frxSetInheritErrorPrompt(nullptr);
        EXPECT_EQ(names(r), (QStringList{"Data", "Page1", "Titolo", "Nota", "Ditta", "Piede"}));
        EXPECT_TRUE(r.ParentReport().isEmpty());
    }
}

TEST_F(InheritanceTest, AParentThatDescendsFromItselfIsAnError)
{
    TfrxReport loop;
    new TfrxDataPage(&loop);
    loop.FileName = dir.filePath(QStringLiteral("anello.fr3"));
    loop.SaveToFile(loop.FileName);
    QFile file(loop.FileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    text.replace("<TfrxReport Version=\"2.1\"", "<TfrxReport Version=\"2.1\" ParentReport=\"anello.fr3\"");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();

    TfrxReport r;
    r.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(r.LoadFromFile(loop.FileName));
    EXPECT_TRUE(r.Errors()->Text().contains(QStringLiteral("descends from itself"))) << r.Errors()->Text().toStdString();
}
