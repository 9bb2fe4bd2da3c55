// The schedule entry without any window: record layout, year files, month names, the
// result line, the sort key, the imminence rule and the selections.
#include "window_fixture.h"

#include "platform/core/services.h"

using namespace orv::schedule;

using orv::test::dueEntry;
using orv::test::entry;

namespace {

TEST(Scadenza, FieldsLieAtTheirOffsetsAndARecordIs1828Bytes)
{
    const auto& l = TScadenza::layout();
    struct F {
        const char* name;
        int offset, width;
        const char* control;
    };
    const F table[] = {
        {"Giorno", 0, 2, "txtGiorno"},         {"Mese", 3, 10, "txtMese"},
        {"Anno", 14, 4, "lblAnno"},            {"Data", 19, 10, "lblData"},
        {"OreApp", 30, 2, "txtOreApp"},        {"MinutiApp", 33, 2, "txtMinutiApp"},
        {"Ora", 36, 5, "lblOra"},              {"Avviso", 42, 3, "txtAvviso"},
        {"Pagatore", 46, 50, "txtPagatore"},   {"CodFisc", 97, 16, "txtCodFisc"},
        {"Recapito", 114, 50, "txtRecapito"},  {"Codice", 165, 30, "txtCodice"},
        {"Tipologia", 196, 50, "txtTipologia"}, {"Marca", 247, 50, "txtMarca"},
        {"Descrizione", 298, 250, "txtDescrizione"}, {"Accessori", 549, 250, "txtAccessori"},
        {"Fornitore", 800, 250, "txtFornitore"}, {"Beneficiario", 1051, 50, "txtBeneficiario"},
        {"Dettagli", 1102, 250, "txtDettagli"}, {"Officina", 1353, 150, "txtOfficina"},
        {"Costo", 1504, 15, "txtCosto"},       {"Contatto", 1520, 50, "txtContatto"},
        {"Note", 1571, 250, "txtNote"},        {"DaConfermare", 1822, 2, "chkDaConfermare"},
        {"Effettuata", 1825, 2, "chkEffettuata"},
    };
    ASSERT_EQ(l.fieldCount(), int(std::size(table)));
    for (int i = 0; i < l.fieldCount(); ++i) {
        EXPECT_EQ(l.field(i).name, table[i].name);
        EXPECT_EQ(l.offset(i), table[i].offset) << table[i].name;
        EXPECT_EQ(l.field(i).width, table[i].width) << table[i].name;
        EXPECT_EQ(l.field(i).control, table[i].control);
    }
    EXPECT_EQ(l.size(), 1828);

    TScadenza s = dueEntry(u"05/03/2026"_qs, u"14:30"_qs, u"Rata"_qs);
    s.DaConfermare = u"Sì"_qs;
    s.Descrizione = QString(300, u'x'); // cut to its width
    const QByteArray rec = s.encode();
    ASSERT_EQ(rec.size(), 1828);
    EXPECT_EQ(rec.mid(1822, 3), QByteArray("\x02\x53\xEC"));
    EXPECT_EQ(rec.mid(1825, 3), QByteArray("\x02\x4E\x6F"));
    EXPECT_EQ(TScadenza::decode(rec).Descrizione, QString(250, u'x'));
    EXPECT_EQ(TScadenza::decode(rec).Mese, u"Marzo"_qs);
}

TEST(Scadenza, MonthNumbersIgnoreTheCaseOfTheLettersOnly)
{
    EXPECT_EQ(orv::schedule::monthNumber(u"Gennaio"_qs), u"01"_qs);
    EXPECT_EQ(orv::schedule::monthNumber(u" DICEMBRE "_qs), u"12"_qs);
    EXPECT_EQ(orv::schedule::monthNumber(u"settembre"_qs), u"09"_qs);
    EXPECT_EQ(orv::schedule::monthNumber(u"Sett"_qs), QString());
    EXPECT_EQ(orv::schedule::monthNumber(QString()), QString());
}

TEST(Scadenza, ResultLineHasFixedColumnsAndTheAmountAtItsLength)
{
    TScadenza s = dueEntry(u"05/03/2026"_qs, u"09:05"_qs, u"Bollo auto con un nome molto lungo oltre trenta"_qs);
    s.Costo = u"  120,50 "_qs;
    const QString line = orv::schedule::RigaScadenza(s);
    EXPECT_EQ(line, u"Bollo auto con un nome molto l  Data: 05/03/2026  Ora: 09:05  Da: Rossi Mario                   "
                    u"  A:  Officina Verdi                  € 120,50"_qs);
    EXPECT_EQ(line.size(), 136 + 6);
    // An empty reason begins the line with 30 blanks.
    EXPECT_TRUE(orv::schedule::RigaScadenza(entry({})).startsWith(QString(30, u' ') + u"  Data: "_qs));
}

TEST(Scadenza, SortKeyIsMonthDayHourAndMinutes)
{
    EXPECT_EQ(orv::schedule::CodiceUnivoco(dueEntry(u"05/03/2026"_qs, u"14:30"_qs, u"x"_qs)), u"03051430"_qs);
    EXPECT_EQ(orv::schedule::CodiceUnivoco(dueEntry(u"31/12/2026"_qs, u"00:00"_qs, u"x"_qs)), u"12310000"_qs);
}

TEST(Scadenza, AnEntryIsImminentFromItsNoticeToItsDueDate)
{
    orv::platform::TDateTime today = 0;
    ASSERT_TRUE(orv::platform::tryEncodeDate(2026, 3, 15, today));
    struct Case {
        const char* date;
        const char* notice;
        bool imminent;
        bool ok;
    } cases[] = {
        {"15/03/2026", "0", true, true},   {"14/03/2026", "0", false, true},  {"14/03/2026", "99", false, true},
        {"25/03/2026", "10", true, true},  {"25/03/2026", "9", false, true},  {"16/03/2026", "1", true, true},
        {"31/02/2026", "3", false, false}, {"20/03/2026", "", false, false}, {"20/03/2026", "a", false, false},
    };
    for (const Case& c : cases) {
        TScadenza s = dueEntry(QString::fromLatin1(c.date), u"10:00"_qs, u"x"_qs, QString::fromLatin1(c.notice));
        bool ok = false;
        EXPECT_EQ(orv::schedule::ScadenzaImminente(s, today, ok), c.imminent) << c.date << " " << c.notice;
        EXPECT_EQ(ok, c.ok) << c.date << " " << c.notice;
    }
    // The flags do not matter.
    TScadenza paid = dueEntry(u"15/03/2026"_qs, u"10:00"_qs, u"x"_qs);
    paid.Effettuata = u"Sì"_qs;
    paid.DaConfermare = u"Sì"_qs;
    bool ok = false;
    EXPECT_TRUE(orv::schedule::ScadenzaImminente(paid, today, ok));
}

TEST(Scadenza, SelectionsOfTheGridsAndTheStatusLists)
{
    TScadenza s = dueEntry(u"05/03/2026"_qs, u"10:00"_qs, u"x"_qs);
    EXPECT_TRUE(orv::schedule::dueOn(s, u"05/03/2026"_qs));
    EXPECT_FALSE(orv::schedule::dueOn(s, u"06/03/2026"_qs));
    for (const char* month : {"Marzo", "marzo", "MARZO", " Marzo "}) {
        s.Mese = QString::fromLatin1(month);
        EXPECT_TRUE(orv::schedule::dueInMonthOf(s, u"20/03/2026"_qs)) << month;
    }
    EXPECT_FALSE(orv::schedule::dueInMonthOf(s, u"20/04/2026"_qs));
    EXPECT_FALSE(orv::schedule::dueInMonthOf(s, u"20/03/2025"_qs)); // another year's entry

    struct Flags {
        const char* daConfermare;
        const char* effettuata;
        bool toConfirm, toPay, paid;
    } flags[] = {
        {"Sì", "No", true, true, false}, {"No", "Sì", false, false, true}, {" Sì ", "", true, false, false},
        {"si", "no", false, false, false}, {"SÌ", "Si", false, false, false},
    };
    for (const Flags& f : flags) {
        s.DaConfermare = QString::fromUtf8(f.daConfermare);
        s.Effettuata = QString::fromUtf8(f.effettuata);
        EXPECT_EQ(orv::schedule::toConfirm(s), f.toConfirm) << f.daConfermare;
        EXPECT_EQ(orv::schedule::paymentToMake(s), f.toPay) << f.effettuata;
        EXPECT_EQ(orv::schedule::paymentMade(s), f.paid) << f.effettuata;
    }
}

} // namespace
