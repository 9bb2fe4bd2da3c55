// The job sheet's record, list line, numbering, export cells and the cost summary's
// logic, without windows.
#include "job_fixture.h"

#include "archive/helpers.h"
#include "jobs/riepilogo.h"

#include <QDir>
#include <QTemporaryDir>

using namespace orv::archive;
using namespace orv::jobs;

using orv::test::sheet;
using S = TSchedaLavoro;

namespace {

TEST(JobSheetRecord, FieldsOffsetsAndWidths)
{
    const struct {
        const char* name;
        int offset, width;
        const char* control;
    } expected[] = {
        {"NumScheda", 0, 30, "txtNumScheda"},           {"Data", 31, 20, "txtData"},
        {"Pagamento", 52, 50, "txtPagamento"},          {"TipoImpianto", 103, 50, "txtTipoImpianto"},
        {"Marca", 154, 50, "txtMarca"},                 {"Matricola", 205, 50, "txtMatricola"},
        {"Alimentazione", 256, 50, "txtAlimentazione"}, {"AnnoCostruz", 307, 30, "txtAnnoCostruz"},
        {"Caratteristiche", 338, 250, "txtCaratteristiche"}, {"Ubicazione", 589, 120, "txtUbicazione"},
        {"Cliente", 710, 50, "txtCliente"},             {"CodFiscCli", 761, 16, "txtCodFiscCli"},
        {"TelCli", 778, 30, "txtTelCli"},               {"IndirizzoCli", 809, 250, "txtIndirizzoCli"},
        {"DataAccetta", 1060, 20, "txtDataAccetta"},    {"OraAccetta", 1081, 5, "txtOraAccetta"},
        {"Luogo", 1087, 50, "txtLuogo"},                {"Tecnico", 1138, 50, "txtTecnico"},
        {"Anomalie", 1189, 250, "txtAnomalie"},         {"Controlli", 1440, 250, "txtControlli"},
        {"Lavori", 1691, 250, "txtLavori"},             {"Ricambi", 1942, 250, "txtRicambi"},
        {"Raccomandazioni", 2193, 250, "txtRaccomandazioni"}, {"Stato", 2444, 50, "txtStato"},
        {"Annotazioni", 2495, 250, "txtAnnotazioni"},   {"Fattura", 2746, 50, "txtFattura"},
        {"TotFattura", 2797, 10, "txtTotFattura"},      {"DataRiconsegna", 2808, 20, "txtDataRiconsegna"},
        {"OraRiconsegna", 2829, 5, "txtOraRiconsegna"}, {"Garanzia", 2835, 2, "chkGaranzia"},
        {"Riconsegnato", 2838, 2, "chkRiconsegnato"},   {"File01", 2841, 250, "lblFile01"},
        {"File02", 3092, 250, "lblFile02"},             {"File03", 3343, 250, "lblFile03"},
        {"Desc01", 3594, 250, "lblDesc01"},             {"Desc02", 3845, 250, "lblDesc02"},
        {"Desc03", 4096, 250, "lblDesc03"},
    };
    const auto& l = S::layout();
    ASSERT_EQ(l.fieldCount(), int(std::size(expected)));
    EXPECT_EQ(l.size(), 4347);
    for (int i = 0; i < l.fieldCount(); ++i) {
        EXPECT_EQ(l.field(i).name, expected[i].name);
        EXPECT_EQ(l.offset(i), expected[i].offset) << expected[i].name;
        EXPECT_EQ(l.field(i).width, expected[i].width) << expected[i].name;
        EXPECT_EQ(l.field(i).control, expected[i].control) << expected[i].name;
    }
    EXPECT_EQ(l.indexOf(u"TotFattura"_qs), S::TotFattura);
    EXPECT_EQ(l.indexOf(u"Desc03"_qs), S::Desc03);
}

TEST(JobSheetRecord, FlagsAndCutsAsStored)
{
    TSchedaLavoro s = sheet({{S::Cliente, "  Rossi  "}, {S::Garanzia, "Sì"}, {S::Riconsegnato, "No"}});
    s[S::Marca] = QString(60, u'M');
    const QByteArray r = s.encode();
    ASSERT_EQ(r.size(), 4347);
    EXPECT_EQ(r.mid(2835, 3), QByteArray("\x02S\xEC", 3));
    EXPECT_EQ(r.mid(2838, 3), QByteArray("\x02No", 3));
    const TSchedaLavoro back = S::decode(r);
    EXPECT_EQ(back[S::Cliente], u"Rossi"_qs);
    EXPECT_EQ(back[S::Marca], QString(50, u'M'));
    EXPECT_EQ(back.encode(), r);
}

TEST(JobSheetLine, FixedColumnsThenTheTotal)
{
    const TSchedaLavoro s = sheet({{S::NumScheda, "7"}, {S::Data, "05/03/2026"}, {S::Cliente, "Rossi Mario"},
                                   {S::TelCli, "011 555"}, {S::Marca, "Caldex K-24"}, {S::TotFattura, "120,50"}});
    const QString line = RigaSchedaLavoro(s);
    EXPECT_EQ(line, u"Scheda n. 7 del 05/03/2026          Rossi Mario                     Tel. 011 555         "
                    u"Caldex K-24                          Tot. € 120,50"_qs);
    EXPECT_EQ(line.indexOf(u"120,50"), 133);

    const struct {
        const char* number;
        const char* piece;
    } cuts[] = {
        {"", " del 05/03/2026         "},                     // the empty number keeps the blank before "del"
        {"ABCDEFGHIJKL", "ABCDEFGHIJKL del 05/03/2"},         // a long number cuts the date's end off
        {"1234567890123456789", "1234567890123456789 del "}, // longer than 18: no character of the date
        {"12345678901234567890123456", "123456789012345678901234"},
    };
    for (const auto& c : cuts) {
        const QString l = RigaSchedaLavoro(sheet({{S::NumScheda, c.number}, {S::Data, "05/03/2026"}}));
        EXPECT_EQ(l.mid(10, 24), QString::fromUtf8(c.piece)) << c.number;
        EXPECT_EQ(l.size(), 133) << c.number;
    }
}

TEST(JobSheetNumbering, StartNumberPlusTheSheetsOfTheYear)
{
    const struct {
        const char* start;
        qint64 sheets;
        std::optional<qint64> number;
    } cases[] = {
        {"", 0, 1}, {"   ", 7, 8}, {"1", 0, 1}, {"100", 7, 107}, {"0", 3, 3}, {"abc", 0, std::nullopt}, {"1,5", 2, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(orv::jobs::nextNumber(QString::fromUtf8(c.start), c.sheets), c.number) << c.start;
}

TEST(JobSheetYearFile, FourDigitsOnly)
{
    orv::platform::setProgramFolder(u"/tmp/orvanta-prog"_qs);
    EXPECT_EQ(orv::jobs::yearFile(u"2026"_qs), orv::platform::programFile(u"2026.lav"_qs));
    for (const char* bad : {"202", "20266", "20a6", " 202", "", "../x", "2026 "})
        EXPECT_FALSE(orv::jobs::yearFile(QString::fromUtf8(bad))) << bad;
    orv::platform::setProgramFolder(QString());
}

TEST(JobSheetExport, CellsInColumnOrderWithTheReceiptJoined)
{
    TSchedaLavoro s;
    for (int f = 0; f < S::kFieldCount; ++f) s.values[f] = u" v"_qs + QString::number(f) + u' ';
    const QStringList row = orv::jobs::exportRow(s);
    ASSERT_EQ(row.size(), 25);
    const S::Field order[] = {S::NumScheda, S::Data, S::Pagamento, S::TipoImpianto, S::Marca, S::AnnoCostruz,
                              S::Matricola, S::Alimentazione, S::Caratteristiche, S::Cliente, S::CodFiscCli,
                              S::TelCli, S::IndirizzoCli, S::DataAccetta, S::Luogo, S::Tecnico, S::Anomalie,
                              S::Controlli, S::Lavori, S::Ricambi, S::Raccomandazioni, S::Stato, S::Annotazioni};
    for (int i = 0; i < int(std::size(order)); ++i) EXPECT_EQ(row[i], u"v"_qs + QString::number(order[i]));
    EXPECT_EQ(row[23], u"v25 € v26"_qs);
    EXPECT_EQ(row[24], u"v27"_qs);
    EXPECT_EQ(orv::jobs::exportRow(TSchedaLavoro())[23], u" € "_qs);
    EXPECT_EQ(orv::jobs::exportSheet().columns.size(), 25);
}

TEST(CostSummaryDates, DayAndMonthFromTheLists)
{
    using orv::jobs::ComponiData;
    EXPECT_EQ(ComponiData(u"05"_qs, u"Marzo"_qs, u"2026"_qs), u"05/03/2026"_qs);
    EXPECT_EQ(ComponiData(u" 31 "_qs, u" DICEMBRE "_qs, u"2026 "_qs), u"31/12/2026"_qs);
    EXPECT_EQ(ComponiData(u"05"_qs, u"Marzolino"_qs, u"2026"_qs), QString());
    EXPECT_FALSE(DataValida(ComponiData(u"31"_qs, u"Aprile"_qs, u"2026"_qs)));
    EXPECT_FALSE(DataValida(ComponiData(u"29"_qs, u"Febbraio"_qs, u"2026"_qs)));
    EXPECT_TRUE(DataValida(ComponiData(u"29"_qs, u"Febbraio"_qs, u"2028"_qs)));
    EXPECT_EQ(orv::jobs::intervalDays().size(), 31);
    EXPECT_TRUE(orv::jobs::isIntervalMonth(u" settembre "_qs));
    EXPECT_FALSE(orv::jobs::isIntervalDay(u"32"_qs));
    EXPECT_FALSE(orv::jobs::isIntervalDay(u"1"_qs));
}

class CostSummary : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(u"2026.lav"_qs); }
    void write(const QList<TSchedaLavoro>& sheets) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (const TSchedaLavoro& s : sheets) f.write(s.encode());
    }
    orv::jobs::SummaryResult run(const orv::jobs::SummaryCriteria& c, orv::archive::ResultList& out) const
    {
        return orv::jobs::CalcolaRiepilogoCosti(path(), c, out);
    }
    static TSchedaLavoro at(const char* number, const char* date, const char* total, const char* cliente = "Rossi",
                            const char* matricola = "")
    {
        return sheet({{S::NumScheda, number}, {S::Data, date}, {S::TotFattura, total}, {S::Cliente, cliente},
                      {S::Matricola, matricola}});
    }
};

TEST_F(CostSummary, IntervalBothEndsIncludedAndOnlyDatesOfTheInterval)
{
    write({at("1", "04/03/2026", "1"), at("2", "05/03/2026", "2"), at("3", "5/3/2026", "4"), at("4", "06/03/2026", "8"),
           at("5", "05/03/2025", "16")});
    orv::archive::ResultList out;
    auto r = run({{}, {}, u"05/03/2026"_qs, u"05/03/2026"_qs}, out);
    EXPECT_TRUE(r.read);
    EXPECT_EQ(out.size(), 2);
    EXPECT_EQ(r.total, u"6,00"_qs);

    out.clear();
    r = run({{}, {}, u"01/01/2026"_qs, u"31/12/2026"_qs}, out);
    EXPECT_EQ(out.size(), 4); // the sheet dated in 2025 stays out although it is in the file
    EXPECT_EQ(r.total, u"15,00"_qs);
}

TEST_F(CostSummary, FiltersAsTypedIgnoringTheCaseOfAtoZ)
{
    write({at("1", "01/02/2026", "1", "Rossi Mario", "M-1"), at("2", "01/02/2026", "2", "ROSSINI", "X-9"),
           at("3", "01/02/2026", "4", "Bianchi", "M-1"), at("4", "01/02/2026", "8", "Rossi È", "M-1")});
    const struct {
        const char* cliente;
        const char* matricola;
        const char* total;
    } cases[] = {
        {"rossi", "", "11,00"}, {"rossi", "m-1", "9,00"}, {"", "M-1", "13,00"}, {"  ", "  ", "15,00"},
        {"è", "", "0,00"},      {"rossi ", "", "9,00"},
    };
    for (const auto& c : cases) {
        orv::archive::ResultList out;
        const auto r = run({QString::fromUtf8(c.cliente), QString::fromUtf8(c.matricola), u"01/01/2026"_qs,
                            u"31/12/2026"_qs},
                           out);
        EXPECT_EQ(r.total, QString::fromUtf8(c.total)) << c.cliente << "/" << c.matricola;
    }
}

TEST_F(CostSummary, TotalsAsTheSummaryWritesThem)
{
    const struct {
        QList<const char*> amounts;
        const char* total;
    } cases[] = {
        {{"100,00", "0,5", "20,125"}, "120,625"},
        {{"10,10", "20,20"}, "30,30"}, // the double sum falls just below 30,3
        {{"1234,5"}, "1234,50"},
        {{}, "0,00"},
        {{"12,3456", "0,0001"}, "12,3457"},
    };
    for (const auto& c : cases) {
        QList<TSchedaLavoro> sheets;
        for (const char* a : c.amounts) sheets.append(at("1", "10/10/2026", a));
        write(sheets);
        orv::archive::ResultList out;
        EXPECT_EQ(run({{}, {}, u"01/01/2026"_qs, u"31/12/2026"_qs}, out).total, QString::fromUtf8(c.total))
            << c.total;
    }
}

TEST_F(CostSummary, AnAmountOrADateThatCannotBeReadDoesNotEndTheSummary)
{
    write({at("1", "10/10/2026", "5"), at("2", "10/10/2026", ""), at("3", "10/10/2026", "1,2,3"),
           at("4", "non so", "100"), at("5", "11/10/2026", "7")});
    orv::archive::ResultList out;
    const auto r = run({{}, {}, u"01/01/2026"_qs, u"31/12/2026"_qs}, out);
    EXPECT_TRUE(r.read);
    EXPECT_EQ(r.total, u"12,00"_qs);
    EXPECT_EQ(out.size(), 4); // the sheet without a date is in no interval
}

TEST_F(CostSummary, LinesSortedTotalInFileOrderAndAMissingFileCreatedEmpty)
{
    orv::archive::ResultList out;
    auto r = run({{}, {}, u"01/01/2026"_qs, u"31/12/2026"_qs}, out);
    EXPECT_TRUE(r.read);
    EXPECT_EQ(r.total, u"0,00"_qs);
    EXPECT_EQ(QFileInfo(path()).size(), 0);
    ASSERT_TRUE(QFileInfo::exists(path()));

    write({at("2", "10/10/2026", "1"), at("10", "10/10/2026", "2")});
    out.clear();
    run({{}, {}, u"01/01/2026"_qs, u"31/12/2026"_qs}, out);
    ASSERT_EQ(out.size(), 2);
    EXPECT_TRUE(out.at(0).text.startsWith(u"Scheda n. 10 del"));
    EXPECT_EQ(out.at(0).record, 1);
}

TEST_F(CostSummary, AYearFileThatCannotBeReadIsSaid)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"2026.lav"_qs));
    orv::archive::ResultList out;
    const auto r = run({{}, {}, u"01/01/2026"_qs, u"31/12/2026"_qs}, out);
    EXPECT_FALSE(r.read);
    EXPECT_EQ(r.total, u"0,00"_qs);
}

} // namespace
