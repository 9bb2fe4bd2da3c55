// Every operation that makes a text keeps to the length scripts may build: one that would
// pass it gives the script "Out of memory", which it can catch, and below it the text is
// made whole. Sizes are swept across the limit, where an off-by-one or a sum of parts
// would show.
#include "engine.h"

#include "script/bridges/register.h"

using namespace orv::script;

using namespace scripttest;

namespace {

constexpr qint64 kLimit = qint64(1) << 28;

class TextLimit : public ::testing::Test {
protected:
    void SetUp() override { fsRegisterHostBridges(); }
    void TearDown() override { fsUnregisterBridges(); }

    // Runs `prepare`, then `make` (which sets t) under try; the result is the length made
    // or the error caught.
    static QString outcome(const QString& prepare, const QString& make)
    {
        const QString source = QStringLiteral(
                                   "var s, t, p: String; i: Integer; l: TStringList; r: String;\r\n"
                                   "begin\r\n  %1;\r\n  try\r\n    %2;\r\n    r := 'made ' + IntToStr(Length(t));\r\n"
                                   "  except\r\n    r := ExceptionClassName + ': ' + ExceptionMessage;\r\n  end;\r\n"
                                   "  s := ''; t := ''; p := '';\r\nend.")
                                   .arg(prepare, make);
        const Outcome o = run(source);
        EXPECT_TRUE(o.compiled) << source.toStdString() << ": " << o.error.toStdString();
        EXPECT_EQ(o.raised, QString()) << source.toStdString();
        return o.result;
    }
    static QString made(qint64 length) { return QStringLiteral("made %1").arg(length); }
    static QString tooLong() { return QStringLiteral("EOutOfMemory: Out of memory"); }
};

} // namespace

TEST_F(TextLimit, FormatWidthsAndPrecisionsStayWithinTheLimit)
{
    EXPECT_EQ(outcome("s := ''", "t := Format('%*d', [1000000000, 1])"), tooLong());
    EXPECT_EQ(outcome("s := ''", "t := Format('%.*d', [1000000000, 1])"), tooLong());
    EXPECT_EQ(outcome("s := ''", "t := Format('%-*s|', [1000000000, 'x'])"), tooLong());
    // Two padded parts: the sum counts, at the limit and one past it.
    const qint64 half = kLimit / 2;
    EXPECT_EQ(outcome("s := ''", QStringLiteral("t := Format('%*d%*d', [%1, 1, %1, 2])").arg(half)), made(kLimit));
    EXPECT_EQ(outcome("s := ''", QStringLiteral("t := Format('%*d%.*d', [%1, 1, %2, 2])").arg(half).arg(half + 1)),
              tooLong());
    // A long text given as an argument counts with the text around it.
    EXPECT_EQ(outcome("SetLength(s, 268435455)", "t := Format('ab%s', [s])"), tooLong());
    // A precision on a text cuts it and asks for nothing.
    EXPECT_EQ(outcome("s := ''", "t := Format('%.*s', [1000000000, 'abc'])"), made(3));
}

TEST_F(TextLimit, InsertCountsBothTexts)
{
    for (qint64 n : {kLimit / 2, kLimit / 2 + 1, kLimit}) {
        const QString expected = 2 * n <= kLimit ? made(2 * n) : tooLong();
        EXPECT_EQ(outcome(QStringLiteral("SetLength(s, %1)").arg(n), "t := s; Insert(s, t, 2)"), expected) << n;
    }
}

TEST_F(TextLimit, DatePicturesThatRepeatLongPartsStop)
{
    // Each "c" writes a whole date and time, longer than itself: behind blanks copied up
    // to just below the limit, it passes it.
    EXPECT_EQ(outcome("SetLength(p, 268435440); p := p + 'c'", "t := FormatDateTime(p, Now)"), tooLong());
    EXPECT_EQ(outcome("p := 'c '; for i := 1 to 4 do p := p + p", "t := FormatDateTime(p, 0)"), made(16 * 11));
}

TEST_F(TextLimit, StringListTextsOfSharedLinesStop)
{
    // The lines share one text: only the joined whole would be long.
    const QString fill = QStringLiteral("SetLength(s, 89478484); l := TStringList.Create; l.Add(s); l.Add(s)");
    EXPECT_EQ(outcome(fill, "t := l.Text"), made(2 * (89478484 + 2)));
    EXPECT_EQ(outcome(fill + QStringLiteral("; l.Add(s)"), "t := l.Text"), tooLong());
    EXPECT_EQ(outcome(fill + QStringLiteral("; l.Add(s)"), "t := l.CommaText"), tooLong());
    EXPECT_EQ(outcome("l := TStringList.Create; l.Add('a b'); l.Add('c')", "t := l.CommaText"), made(7));
}
