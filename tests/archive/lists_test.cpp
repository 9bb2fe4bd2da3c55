#include <gtest/gtest.h>

#include <QFile>
#include <QHash>

#include <algorithm>

#include "archive/lists.h"
#include "doubles.h"

using namespace orv::archive;

TEST(FinderRule, CriteriaAreSubstringsOfTheirOwnFieldFoldingAZOnly)
{
    const struct {
        QStringList criteria, fields;
        bool listed;
    } cases[] = {
        {{u"ROSSI"_qs}, {u"Rossi Mario"_qs}, true},
        {{u"mario r"_qs}, {u"Rossi Mario"_qs}, false},
        {{u"È"_qs}, {u"caffè"_qs}, false},        // accented letters compare as they are
        {{u"è"_qs}, {u"CAFFè"_qs}, true},
        {{u" rossi"_qs}, {u"Rossi"_qs}, false},   // a leading blank is part of the criterion
        {{u" rossi"_qs}, {u"Mario Rossi"_qs}, true},
        {{u"   "_qs}, {u"Rossi"_qs}, true},       // blanks only: not in use
        {{}, {u"Rossi"_qs}, true},
        {{QString(), QString(), QString()}, {u"a"_qs, u"b"_qs, u"c"_qs}, true},
        {{u"ross"_qs, u"roma"_qs}, {u"Rossi"_qs, u"Roma"_qs}, true},
        {{u"ross"_qs, u"milano"_qs}, {u"Rossi"_qs, u"Roma"_qs}, false},
        {{QString(), u"rossi"_qs}, {u"Rossi"_qs, u"Roma"_qs}, false}, // never across fields
    };
    for (const auto& c : cases)
        EXPECT_EQ(CriteriSoddisfatti(c.criteria, c.fields), c.listed) << c.criteria.join(u'|').toStdString();
    EXPECT_EQ(criteriaInUse({u"a"_qs, u"  "_qs, QString(), u" b"_qs}), 2);
    EXPECT_EQ(countText(0), u"Il presente riepilogo contiene 0 schede."_qs);
    EXPECT_EQ(countText(1), u"Il presente riepilogo contiene 1 schede."_qs);
}

TEST(ResultLines, FixedColumnsSeparatorsAndTheLastField)
{
    EXPECT_EQ(column(u"  ab "_qs, 4), u"ab  "_qs);
    EXPECT_EQ(column(u"abcdef"_qs, 4), u"abcd"_qs);
    EXPECT_EQ(column(QString(), 3), u"   "_qs);
    EXPECT_EQ(LineBuilder().col(u"Rossi"_qs, 6).lit(u"  Tel. ").col(u"0612345678901"_qs, 5).lit(u"  ").rest(u"  note lunghe "_qs),
              u"Rossi   Tel. 06123  note lunghe"_qs);
}

TEST(ResultLines, SortedListOrder)
{
    ResultList list;
    for (const QString& l : {u"_under"_qs, u"ABD"_qs, u"abc"_qs, u"9 nove"_qs, u" blank"_qs, u"ab"_qs, u"Zeta"_qs, u"é"_qs})
        list.add(l, 0);
    EXPECT_EQ(list.texts(), (QStringList{u" blank"_qs, u"9 nove"_qs, u"ab"_qs, u"abc"_qs, u"ABD"_qs, u"Zeta"_qs,
                                         u"_under"_qs, u"é"_qs}));
    // Equal lines keep archive order, so each still knows its own record.
    ResultList equal;
    equal.add(u"same"_qs, 4);
    equal.add(u"SAME"_qs, 1);
    equal.add(u"a"_qs, 9);
    EXPECT_EQ(equal.at(0).record, 9);
    EXPECT_EQ(equal.at(1).record, 4);
    EXPECT_EQ(equal.at(2).record, 1);

    ResultList unsorted(false);
    unsorted.add(u"b"_qs, 0);
    unsorted.add(u"a"_qs, 1);
    EXPECT_EQ(unsorted.texts(), (QStringList{u"b"_qs, u"a"_qs}));
}

TEST(FindInList, NewTextFromTheTopSameTextAfterTheSelectionWrappingOnce)
{
    const QStringList lines{u"Rossi Mario"_qs, u"Bianchi"_qs, u"rossini"_qs, u"Verdi"_qs};
    QString last;
    // A new text tests line 0 first, whatever is selected.
    EXPECT_EQ(TrovaInLista(lines, 2, u"ROSS"_qs, last), 0);
    EXPECT_EQ(last, u"ross"_qs);
    // The same text again moves on after the selection, then wraps to the first match.
    EXPECT_EQ(TrovaInLista(lines, 0, u"ross"_qs, last), 2);
    EXPECT_EQ(TrovaInLista(lines, 2, u"Ross"_qs, last), 0);
    // A new text that only a later line holds.
    EXPECT_EQ(TrovaInLista(lines, 0, u"verd"_qs, last), 3);
    // The only match stays selected on repeated presses.
    EXPECT_EQ(TrovaInLista(lines, 3, u"verd"_qs, last), 3);
    // No match: the selection stays; none selected means line 0.
    EXPECT_EQ(TrovaInLista(lines, 1, u"neri"_qs, last), 1);
    EXPECT_EQ(TrovaInLista(lines, -1, u"gialli"_qs, last), 0);
    // An empty text never matches.
    EXPECT_EQ(TrovaInLista(lines, 2, QString(), last), 2);
    EXPECT_EQ(last, QString());
    // An empty list: nothing to select, the last text unchanged.
    last = u"x"_qs;
    EXPECT_EQ(TrovaInLista({}, -1, u"ross"_qs, last), std::nullopt);
    EXPECT_EQ(last, u"x"_qs);
}

namespace {

const RecordLayout& personLayout()
{
    static const RecordLayout l{{u"Nome"_qs, 10}, {u"Citta"_qs, 10}, {u"Note"_qs, 20}};
    return l;
}

QString personLine(const QByteArray& r)
{
    const QStringList v = personLayout().decode(r);
    return LineBuilder().col(v[0], 4).lit(u" ").rest(v[1]);
}

class ListArchive : public ::testing::Test {
protected:
    void store(const QList<QStringList>& records)
    {
        QFile f(folder.file(u"p.pro"_qs));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const QStringList& r : records)
            f.write(personLayout().encode(r));
    }
    orv::test::ProgramFolder folder;
};

} // namespace

TEST_F(ListArchive, SearchListsTheRecordsThatMeetEveryCriterion)
{
    store({{u"Rossi"_qs, u"Roma"_qs}, {u"Verdi"_qs, u"Milano"_qs}, {u"Rossetti"_qs, u"Milano"_qs}, {u"Bianchi"_qs}});
    orv::platform::ArchiveFile f(folder.file(u"p.pro"_qs), personLayout().size());
    f.open();
    ResultList out;
    search(f, personLayout(), {u"ross"_qs, u"MIL"_qs}, {0, 1}, out, personLine);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out.at(0).text, u"Ross Milano"_qs);
    EXPECT_EQ(out.at(0).record, 2);
    search(f, personLayout(), {u" "_qs, QString()}, {0, 1}, out, personLine); // no criterion: every record
    EXPECT_EQ(out.texts(), (QStringList{u"Bian "_qs, u"Ross Milano"_qs, u"Ross Roma"_qs, u"Verd Milano"_qs}));
}

TEST_F(ListArchive, ChosenLineLoadsItsOwnRecord)
{
    // Records 1 and 3 give the same line; record 2 is outside the list.
    store({{u"Rossi"_qs, u"Roma"_qs, u"primo"_qs}, {u"Rossini"_qs, u"Roma"_qs, u"fuori"_qs},
           {u"Rossi"_qs, u"Roma"_qs, u"terzo"_qs}});
    orv::platform::ArchiveFile f(folder.file(u"p.pro"_qs), personLayout().size());
    f.open();
    auto found = CercaPerRiga(f, personLine, {u"Ross Roma"_qs, 0});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->position, 1);
    EXPECT_EQ(personLayout().decode(found->record)[2], u"primo"_qs);
    found = CercaPerRiga(f, personLine, {u"  Ross Roma "_qs, 2}); // compared trimmed
    ASSERT_TRUE(found);
    EXPECT_EQ(found->position, 3);

    // A line whose record no longer gives it (changed by another workstation, or a line
    // without a record): the last record that gives the line now, as every record is compared.
    found = CercaPerRiga(f, personLine, {u"Ross Roma"_qs, -1});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->position, 3);
    found = CercaPerRiga(f, personLine, {u"Ross Roma"_qs, 7});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->position, 3);
    EXPECT_FALSE(CercaPerRiga(f, personLine, {u"ross roma"_qs, 0})); // case-sensitive
}

namespace {
class RecordingSummary : public SummaryLayout {
public:
    bool setMemoText(const QString& memo, const QString& text) override { return has(memo) && (texts[memo] = text, true); }
    bool setMemoLines(const QString& memo, const QStringList& l) override { return has(memo) && (lines[memo] = l, true); }
    bool setHeight(const QString& object, double h) override { return has(object) && (heights[object] = h, true); }
    void prepareAndPrint() override { ++prints; }
    bool has(const QString& name) const
    {
        return std::any_of(objects.begin(), objects.end(), [&](const QString& o) { return o.compare(name, Qt::CaseInsensitive) == 0; });
    }
    QStringList objects{u"txtTitolo"_qs, u"txtRiepilogo"_qs, u"MasterData"_qs};
    QHash<QString, QString> texts;
    QHash<QString, QStringList> lines;
    QHash<QString, double> heights;
    int prints = 0;
};
} // namespace

TEST(ListPrint, FillsTitleAndLinesAndSizesMemoAndBand)
{
    RecordingSummary empty;
    EXPECT_TRUE(StampaRiepilogo(empty, kTitleRecontact, {}));
    EXPECT_EQ(empty.texts.value(u"txtTitolo"_qs), u"Riepilogo Clienti da ricontattare"_qs);
    EXPECT_DOUBLE_EQ(empty.heights.value(u"txtRiepilogo"_qs), 0);
    EXPECT_DOUBLE_EQ(empty.heights.value(u"MasterData"_qs), 10);
    EXPECT_EQ(empty.prints, 1);

    RecordingSummary hundred;
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines.append(u"riga %1"_qs.arg(i));
    EXPECT_TRUE(StampaRiepilogo(hundred, kTitleCustomerFinder, lines));
    EXPECT_EQ(hundred.lines.value(u"txtRiepilogo"_qs), lines);
    EXPECT_DOUBLE_EQ(hundred.heights.value(u"txtRiepilogo"_qs), 1282.2);
    EXPECT_DOUBLE_EQ(hundred.heights.value(u"MasterData"_qs), 1292.2);

    RecordingSummary broken;
    broken.objects.removeAll(u"MasterData"_qs);
    EXPECT_FALSE(StampaRiepilogo(broken, kTitleCustomerFinder, lines));
    EXPECT_EQ(broken.prints, 0);
}
