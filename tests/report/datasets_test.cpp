// Datasets, the report's dataset lists, the global list and styles.
#include "report/base/errors.h"
#include "report/model/bands.h"
#include "report/model/report.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace orv::report;

TEST(DataSetTest, CountedRangesWalkExactlyTheirRecords)
{
    TfrxUserDataSet ds(nullptr);
    ds.SetRangeEnd(reCount);
    ds.SetRangeEndCount(1);
    ds.First();
    EXPECT_FALSE(ds.Eof());
    EXPECT_EQ(ds.RecNo(), 0);
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.RecNo(), 0);

    ds.SetRangeEndCount(3);
    QList<int> visited;
    for (ds.First(); !ds.Eof(); ds.Next())
        visited << ds.RecNo();
    EXPECT_EQ(visited, (QList<int>{0, 1, 2}));
    EXPECT_EQ(ds.RecordCount(), 3);
    ds.SetRangeBegin(rbCurrent);
    EXPECT_EQ(ds.RecordCount(), 0);

    ds.SetRangeEndCount(0);
    ds.First();
    EXPECT_TRUE(ds.Eof());

    TfrxUserDataSet endless(nullptr);
    endless.First();
    EXPECT_FALSE(endless.Eof()) << "without a counted range only a handler ends the walk";
    endless.OnCheckEOF = [](TfrxDataSet*, bool& eof) { eof = true; };
    EXPECT_TRUE(endless.Eof());
}

TEST(DataSetTest, NamesAndValues)
{
    TfrxUserDataSet ds(nullptr);
    ds.SetName(QStringLiteral("Clienti"));
    EXPECT_EQ(ds.UserName(), QStringLiteral("Clienti"));
    ds.SetName(QStringLiteral("Altro"));
    EXPECT_EQ(ds.UserName(), QStringLiteral("Clienti"));
    EXPECT_THROW(ds.SetUserName(QStringLiteral("   ")), orv::report::Error);
    EXPECT_EQ(ds.UserName(), QStringLiteral("Clienti"));

    ds.Fields()->SetText(QStringLiteral("Nome\r\nCitta"));
    EXPECT_TRUE(ds.HasField(QStringLiteral("CITTA")));
    EXPECT_EQ(ds.FieldsCount(), 2);
    EXPECT_TRUE(ds.GetValue(QStringLiteral("Nome")).isNull());
    ds.OnGetValue = [](const QString& name, QVariant& v) { v = name + QStringLiteral("!"); };
    EXPECT_EQ(ds.GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Nome!"));
    EXPECT_EQ(ds.GetDisplayText(QStringLiteral("Citta")), QStringLiteral("Citta!"));
}

TEST(DataSetTest, FieldAliases)
{
    class TDbSet : public TfrxCustomDBDataSet {
    public:
        using TfrxCustomDBDataSet::TfrxCustomDBDataSet;
    } ds(nullptr);
    ds.FieldAliases()->SetText(QStringLiteral("Name=Ragione sociale"));
    EXPECT_EQ(ds.GetAlias(QStringLiteral("NAME")), QStringLiteral("Ragione sociale"));
    EXPECT_EQ(ds.ConvertAlias(QStringLiteral("ragione sociale")), QStringLiteral("Name"));
    EXPECT_EQ(ds.GetAlias(QStringLiteral("Citta")), QStringLiteral("Citta"));
}

TEST(DataSetTest, EachReportFindsItsOwnDataset)
{
    TfrxReport a, b;
    auto* da = new TfrxUserDataSet(&a);
    da->SetUserName(QStringLiteral("Righe"));
    auto* db = new TfrxUserDataSet(&b);
    db->SetUserName(QStringLiteral("Righe"));
    EXPECT_EQ(FindGlobalDataSet(nullptr, QStringLiteral("righe"), &a), da);
    EXPECT_EQ(FindGlobalDataSet(nullptr, QStringLiteral("righe"), &b), db);
    EXPECT_EQ(FindGlobalDataSet(da, QString(), &a), nullptr);
    EXPECT_EQ(FindGlobalDataSet(da, QStringLiteral("x"), nullptr), da);

    auto* page = new TfrxReportPage(&a);
    auto* band = new TfrxMasterData(page);
    band->SetDataSetName(QStringLiteral("RIGHE"));
    EXPECT_EQ(band->DataSet(), da);
    EXPECT_EQ(band->DataSetName(), QStringLiteral("Righe"));

    a.DataSets()->Add(da);
    EXPECT_EQ(a.GetDataset(QStringLiteral("righe")), da);
    EXPECT_EQ(a.GetAlias(da), QStringLiteral("Righe"));
    EXPECT_EQ(a.GetAlias(db), QStringLiteral("(dataset is not included in Report.DataSets)"));
    TfrxDataSet* ds = nullptr;
    QString field;
    a.GetDatasetAndField(QStringLiteral("Righe.\"Importo\""), ds, field);
    EXPECT_EQ(ds, da);
    EXPECT_EQ(field, QStringLiteral("Importo"));
    a.GetDatasetAndField(QStringLiteral("Righe.Importo"), ds, field);
    EXPECT_EQ(ds, nullptr);
    EXPECT_EQ(field, QString());
}

TEST(StylesTest, NamesApplyAndFiles)
{
    TfrxReport report;
    auto* page = new TfrxReportPage(&report);
    auto* memo = new TfrxMemoView(page);
    TfrxStyleItem* s = report.Styles()->Add();
    s->SetName(QStringLiteral("Titolo"));
    s->SetColor(claRed);
    s->Font()->SetName(QStringLiteral("Verdana"));
    TfrxStyleItem* t = report.Styles()->Add();
    EXPECT_THROW(t->SetName(QStringLiteral("TITOLO")), orv::report::Error);
    t->CreateUniqueName();
    EXPECT_EQ(t->Name(), QStringLiteral("Style1"));

    memo->SetStyle(QStringLiteral("titolo"));
    EXPECT_EQ(memo->Color(), claRed);
    EXPECT_EQ(memo->Font()->Name(), QStringLiteral("Verdana"));
    EXPECT_FALSE(memo->ParentFont());

    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    report.Styles()->SetName(QStringLiteral("Stili"));
    report.Styles()->SaveToStream(buffer);
    EXPECT_TRUE(buffer.data().contains("<style Name=\"Stili\">"));
    buffer.seek(0);
    TfrxStyles loaded(&report);
    loaded.LoadFromStream(buffer);
    EXPECT_EQ(loaded.Name(), QStringLiteral("Stili"));
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.Find(QStringLiteral("Titolo"))->Font()->Name(), QStringLiteral("Verdana"));

    report.Styles()->Clear();
    report.Styles()->Apply();
    EXPECT_EQ(memo->Style(), QString()) << "a style not in the collection is forgotten";

    QBuffer other;
    other.setData("<?xml version=\"1.0\"?><nostyle><item Name=\"x\"/></nostyle>");
    other.open(QIODevice::ReadOnly);
    loaded.LoadFromStream(other);
    EXPECT_EQ(loaded.Count(), 0);
}
