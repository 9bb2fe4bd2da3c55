// The built-in functions under the program's formats (decimal comma, dates dd/mm/yyyy).
#include "engine.h"

#include <QDateTime>

#include "platform/core/editmask.h"
#include "platform/core/formats.h"
#include "platform/core/numberformat.h"
#include "platform/core/services.h"
#include "script/core/sysfunctions.h"

using namespace scripttest;

namespace {

struct Case {
    const char* expression;
    const char* result;
};

void expectValues(const Case* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const QString source = QStringLiteral("var r: Variant; begin r := %1 end.").arg(q(cases[i].expression));
        const Outcome o = run(source);
        EXPECT_TRUE(o.compiled) << cases[i].expression << ": " << o.error.toStdString();
        EXPECT_EQ(o.raised, QString()) << cases[i].expression;
        EXPECT_EQ(o.result, q(cases[i].result)) << cases[i].expression;
    }
}

void expectErrors(const Case* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const QString source = QStringLiteral("var r: Variant; begin r := %1 end.").arg(q(cases[i].expression));
        EXPECT_EQ(run(source).raised, q(cases[i].result)) << cases[i].expression;
    }
}

class BuiltinsClock : public orv::platform::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 2, 29), QTime(14, 30, 15)); }
};

} // namespace

TEST(BuiltIns, ConversionsUnderTheDecimalComma)
{
    const Case cases[] = {
        {"IntToStr(-17)", "-17"},
        {"FloatToStr(0.5)", "0,5"},
        {"FloatToStr(1 / 3)", "0,333333333333333"},
        {"FloatToStr(1e20)", "1E20"},
        {"FloatToStr(-0.00001234)", "-0,00001234"},
        {"FloatToStr(0.000001234)", "1,234E-6"},
        {"BoolToStr(True) + BoolToStr(False)", "-10"},
        {"VarToStr(Null)", ""},
        {"VarToStr(12)", "12"},
        {"StrToInt('-42') + 1", "-41"},
        {"StrToInt('$10')", "16"},
        {"VarType(StrToInt64('9000000000'))", "20"},
        {"StrToFloat('1,25') * 2", "2,5"},
        {"StrToBool('True')", "True"},
        {"StrToBool('0')", "False"},
        {"DateToStr(StrToDate('5/3/2024'))", "05/03/2024"},
        {"TimeToStr(StrToTime('7:05'))", "07:05:00"},
        {"DateTimeToStr(StrToDateTime('31/12/2023 23:59:58'))", "31/12/2023 23:59:58"},
        {"DateTimeToStr(StrToDate('01/02/2024'))", "01/02/2024"},
        {"VarType(StrToDate('01/02/2024'))", "7"},
        {"ValidInt('12') and not ValidInt('1,2')", "True"},
        {"ValidFloat('1,5') and not ValidFloat('1.5')", "True"},
        {"ValidDate('29/02/2024') and not ValidDate('30/02/2024')", "True"},
    };
    expectValues(cases, std::size(cases));
    // Variants reach the conversions as they are.
    EXPECT_EQ(run(q("var r, v: Variant; begin v := 2.5; r := IntToStr(v) end.")).result, QStringLiteral("2"));
    EXPECT_EQ(run(q("var r, v: Variant; begin v := EncodeDate(2024, 1, 31); r := ValidDate(v) end.")).result,
              QStringLiteral("True"));
    const Case errors[] = {
        {"StrToInt('abc')", "'abc' is not a valid integer value"},
        {"StrToFloat('1.5')", "'1.5' is not a valid floating point value"},
        {"StrToDate('31/02/2024')", "'31/02/2024' is not a valid date"},
        {"StrToTime('25:00')", "'25:00' is not a valid time"},
        {"StrToDateTime('ieri')", "'ieri' is not a valid date and time"},
        {"StrToBool('forse')", "Could not convert variant of type (UnicodeString) into type (Boolean)"},
        {"IntToStr(Null)", "Could not convert variant of type (Null) into type (Int64)"},
    };
    expectErrors(errors, std::size(errors));
}

TEST(BuiltIns, TextFunctions)
{
    const Case cases[] = {
        {"Length('àbc')", "3"},
        {"Length(VarArrayCreate([0, 9], varVariant))", "10"},
        {"Copy('abcdef', 2, 3)", "bcd"},
        {"Copy('abcdef', 0, 2)", "ab"},
        {"Copy('abcdef', 5, 100)", "ef"},
        {"Copy('abc', 4, 1) + '|' + Copy('abc', 1, 0)", "|"},
        {"Pos('cd', 'abcdcd')", "3"},
        {"Pos('', 'abc')", "0"},
        {"Pos('x', 'abc')", "0"},
        {"Uppercase('àbc') + Lowercase('ÀBC')", "ÀBCàbc"},
        {"Uppercase('straße')", "STRAßE"},
        {"Trim(#9'  a b '#13#10)", "a b"},
        {"NameCase('MARIO ROSSI')", "Mario Rossi"},
        {"CompareText('abc', 'ABC')", "0"},
        {"CompareText('abc', 'abd') < 0", "True"},
        {"Chr(65) + Chr(8364)", "A€"},
        {"Ord('a')", "97"},
    };
    expectValues(cases, std::size(cases));

    const struct {
        const char* program;
        const char* result;
    } procedures[] = {
        {"var r: String; begin r := 'abcdef'; Delete(r, 2, 3) end.", "aef"},
        {"var r: String; begin r := 'abc'; Delete(r, 10, 1) end.", "abc"},
        {"var r: String; begin r := 'abc'; DeleteStr(r, 2, 100) end.", "a"},
        {"var r: String; begin r := 'ac'; Insert('b', r, 2) end.", "abc"},
        {"var r: String; begin r := 'ab'; Insert('c', r, 100) end.", "abc"},
        {"var r: String; begin r := 'bc'; Insert('a', r, 0) end.", "abc"},
        {"var r: Variant; begin r := 'abcdef'; SetLength(r, 3) end.", "abc"},
        {"var r: Variant; a: Variant; begin a := VarArrayCreate([0, 2], varVariant); a[1] := 'x'; SetLength(a, 5); "
         "r := IntToStr(Length(a)) + a[1] end.",
         "5x"},
        {"var r: Integer; begin r := 1; Inc(r); Inc(r, 5); Dec(r, 2) end.", "5"},
    };
    for (const auto& c : procedures) {
        const Outcome o = run(q(c.program));
        EXPECT_EQ(o.error, QString()) << c.program;
        EXPECT_EQ(o.raised, QString()) << c.program;
        EXPECT_EQ(o.result, q(c.result)) << c.program;
    }
}

TEST(BuiltIns, Mathematics)
{
    const Case cases[] = {
        {"Round(2.5)", "2"},
        {"Round(3.5)", "4"},
        {"Round(-2.5)", "-2"},
        {"VarType(Round(1.2))", "3"},
        {"Round(1e10)", "10000000000"},
        {"Trunc(-2.7)", "-2"},
        {"Int(-2.7)", "-2"},
        {"VarType(Int(-2.7))", "5"},
        {"Frac(-2.75)", "-0,75"},
        {"Sqrt(16)", "4"},
        {"Abs(-3.5)", "3,5"},
        {"Round(Sin(Pi / 2) * 1000)", "1000"},
        {"Round(Cos(0))", "1"},
        {"Round(ArcTan(1) * 4 * 1000)", "3142"},
        {"Round(Tan(Pi / 4) * 100)", "100"},
        {"Round(Exp(1) * 1000)", "2718"},
        {"Ln(1)", "0"},
        {"FloatToStr(Pi)", "3,14159265358979"},
        {"(Random >= 0) and (Random < 1)", "True"},
    };
    expectValues(cases, std::size(cases));
    const Case errors[] = {
        {"Sqrt(-1)", "Invalid floating point operation"},
        {"Exp(100000)", "Floating point overflow"},
        {"Round(1e30)", "Range check error"},
    };
    expectErrors(errors, std::size(errors));
}

TEST(BuiltIns, Dates)
{
    BuiltinsClock clock;
    orv::platform::setClock(&clock);
    const Case cases[] = {
        {"DateToStr(Date)", "29/02/2024"},
        {"DateTimeToStr(Now)", "29/02/2024 14:30:15"},
        {"TimeToStr(Time)", "14:30:15"},
        {"VarType(Now)", "7"},
        {"DateToStr(EncodeDate(2023, 12, 31) + 1)", "01/01/2024"},
        {"TimeToStr(EncodeTime(9, 5, 3, 0))", "09:05:03"},
        {"DayOfWeek(EncodeDate(2024, 2, 25))", "1"},
        {"DayOfWeek(EncodeDate(2024, 3, 2))", "7"},
        {"IsLeapYear(2000) and IsLeapYear(2024) and not IsLeapYear(1900)", "True"},
        {"DaysInMonth(2000, 2) * 100 + DaysInMonth(1900, 2)", "2928"},
        {"FormatDateTime('dddd d mmmm yyyy, hh:nn', Now)", "giovedì 29 febbraio 2024, 14:30"},
        {"FormatDateTime('ddd dd/mm/yy', EncodeDate(2024, 3, 1))", "ven 01/03/24"},
        {"FormatDateTime('h:n am/pm', EncodeTime(15, 7, 0, 0))", "3:7 pm"},
        {"FormatDateTime('\"giorno\" d', EncodeDate(2024, 3, 9))", "giorno 9"},
    };
    expectValues(cases, std::size(cases));
    const struct {
        const char* program;
        const char* result;
    } procedures[] = {
        {"var r: String; y, m, d: Variant; begin DecodeDate(EncodeDate(2024, 7, 14), y, m, d); "
         "r := IntToStr(d) + '-' + IntToStr(m) + '-' + IntToStr(y) + ':' + IntToStr(VarType(y)) end.",
         "14-7-2024:18"},
        {"var r: String; h, m, s, z: Word; begin DecodeTime(EncodeTime(23, 4, 5, 600), h, m, s, z); "
         "r := IntToStr(h) + IntToStr(m) + IntToStr(s) + IntToStr(z) end.",
         "2345600"},
    };
    for (const auto& c : procedures)
        EXPECT_EQ(run(q(c.program)).result, q(c.result)) << c.program;
    const Case errors[] = {
        {"EncodeDate(2023, 2, 29)", "Invalid argument to date encode"},
        {"EncodeTime(24, 0, 0, 0)", "Invalid argument to time encode"},
    };
    expectErrors(errors, std::size(errors));
    orv::platform::setClock(nullptr);
}

TEST(BuiltIns, FormatStrings)
{
    const Case cases[] = {
        {"Format('%d pezzi', [12])", "12 pezzi"},
        {"Format('%5d|%-5d|%.3d', [1, 2, 3])", "    1|2    |003"},
        {"Format('%s e %s', ['Rossi', 'Bianchi'])", "Rossi e Bianchi"},
        {"Format('%1:s %0:s', ['a', 'b'])", "b a"},
        {"Format('%.2f', [1234.567])", "1234,57"},
        {"Format('%n', [1234567.891])", "1.234.567,89"},
        {"Format('%m', [-1234.5])", "-1.234,50 €"},
        {"Format('%e', [1234.5])", "1,23450000000000E+003"},
        {"Format('%.3e', [0.00012])", "1,20E-004"},
        {"Format('%g', [0.5])", "0,5"},
        {"Format('%x', [255])", "FF"},
        {"Format('%.4x', [255])", "00FF"},
        {"Format('%u', [-1])", "4294967295"},
        {"Format('%*d', [4, 7])", "   7"},
        {"Format('%.*f', [1, 2.25])", "2,3"},
        {"Format('100%%', [0])", "100%"},
        {"Format('%.3s', ['abcdef'])", "abc"},
        {"Length(Format('%s', [StringOfLength]))", "300"},
    };
    for (const Case& c : cases) {
        QString long300(300, u'x');
        const QString source = QStringLiteral("var r: Variant; StringOfLength: String; begin StringOfLength := '%1'; r := %2 end.")
                                   .arg(long300, q(c.expression));
        const Outcome o = run(source);
        EXPECT_EQ(o.error, QString()) << c.expression;
        EXPECT_EQ(o.raised, QString()) << c.expression;
        EXPECT_EQ(o.result, q(c.result)) << c.expression;
    }
    const Case errors[] = {
        {"Format('%d %d', [1])", "No argument for format '%d %d'"},
        {"Format('%d', ['x'])", "Format '%d' invalid or incompatible with argument"},
        {"Format('%f', [1])", "Format '%f' invalid or incompatible with argument"},
        {"Format('%q', [1])", "Format '%q' invalid or incompatible with argument"},
        {"Format('50%', [1])", "Format '50%' invalid or incompatible with argument"},
    };
    expectErrors(errors, std::size(errors));
}

TEST(BuiltIns, FormatFloatPictures)
{
    const Case cases[] = {
        {"FormatFloat('#,##0.00', 1234.5)", "1.234,50"},
        {"FormatFloat('#,##0.00', -1234567.125)", "-1.234.567,13"},
        {"FormatFloat('0.00', 2.675)", "2,67"},
        {"FormatFloat('0.##', 1.5)", "1,5"},
        {"FormatFloat('0.##', 1)", "1"},
        {"FormatFloat('#.##', 0.5)", ",5"},
        {"FormatFloat('000', 7)", "007"},
        {"FormatFloat('0', 2.5)", "3"},
        {"FormatFloat('0', -0.4)", "0"},
        {"FormatFloat('0.00;(0.00);zero', -3.5)", "(3,50)"},
        {"FormatFloat('0.00;(0.00);zero', 0)", "zero"},
        {"FormatFloat('0.00;;zero', -2)", "-2,00"},
        {"FormatFloat('\"€ \"#,##0.00', 1500)", "€ 1.500,00"},
        {"FormatFloat('0.00E+00', 1234.5)", "1,23E+03"},
        {"FormatFloat('0.0E-0', 0.00012)", "1,2E-4"},
        // As many integer digits as the picture has places before the point.
        {"FormatFloat('##0.0E+0', 12345)", "123,5E+2"},
        {"FormatFloat('(###) ###-####', 5551234567.0)", "(555) 123-4567"},
        {"FormatFloat('', 1.5)", "1,5"},
    };
    expectValues(cases, std::size(cases));
}

TEST(BuiltIns, EditMasks)
{
    const Case cases[] = {
        {"FormatMaskText('!99/99/0000;0;_', '01022024')", "01/02/2024"},
        {"FormatMaskText('!99/99/0000;1;_', '01/02/2024')", "01/02/2024"},
        {"FormatMaskText('>LL-000;0;_', 'ab123')", "AB-123"},
        {"FormatMaskText('000-000;0;_', '12')", "12 -   "},
        {"FormatMaskText('\\(000\\);0;_', '555')", "(555)"},
    };
    expectValues(cases, std::size(cases));
}

TEST(BuiltIns, OtherFunctions)
{
    const Case cases[] = {
        {"ExtractFilePath('C:\\dati\\Clienti.pro')", "C:\\dati\\"},
        {"ExtractFilePath('/home/lab/Clienti.pro')", "/home/lab/"},
        {"ExtractFilePath('Clienti.pro')", ""},
        {"VarType('a')", "258"},
        {"VarType(1)", "3"},
        {"VarType(True)", "11"},
        {"VarType(Null)", "1"},
        {"VarType(VarArrayCreate([0, 1, 0, 2], varInteger))", "8195"},
        {"varTypeMask + varArray + varByRef", "28671"},
    };
    expectValues(cases, std::size(cases));
    QStringList shown;
    orv::script::setShowMessageHandler([&](const QString& text) { shown << text; });
    run(q("begin ShowMessage('Ciao'); ShowMessage(12) end."), {});
    orv::script::setShowMessageHandler(nullptr);
    EXPECT_EQ(shown, QStringList({"Ciao", "12", "Ciao", "12"}));
}
