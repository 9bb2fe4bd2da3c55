// The object serializer: attribute texts of single objects.
#include "platform/core/formats.h"
#include "report/base/serializer.h"
#include "report/model/bands.h"
#include "report/model/report.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace orv::report;

namespace {

class SerializerTest : public ::testing::Test {
protected:
    void SetUp() override { orv::platform::applyProgramFormats(); }
    TfrxXMLSerializer s{nullptr};
};

} // namespace

TEST_F(SerializerTest, DefaultsAndKinds)
{
    TfrxMemoView memo(nullptr);
    EXPECT_EQ(s.ObjToXML(&memo), QStringLiteral(" Left=\"0\" Top=\"0\" Width=\"0\" Height=\"0\" ShowHint=\"False\" Text=\"\""))
        << "floats without ancestor always, Booleans at their default never, the memo text always";
    memo.SetVisible(false);
    memo.SetText(QStringLiteral("uno\r\ndue\r\n\r\n"));
    memo.SetRotation(450);
    const QString text = s.ObjToXML(&memo);
    EXPECT_TRUE(text.contains(u" Visible=\"False\""));
    EXPECT_TRUE(text.contains(u" Rotation=\"90\""));
    EXPECT_TRUE(text.endsWith(u" Text=\"uno&#13;&#10;due&#13;&#10;\"")) << "of two final breaks one stays";
    EXPECT_EQ(s.ObjToXML(nullptr), QString());

    TfrxReport report;
    const QString r = s.ObjToXML(&report);
    EXPECT_TRUE(r.contains(u" ReportOptions.Description.Text=\"\"")) << "an empty list is written";
    EXPECT_FALSE(r.contains(u"DataSet=")) << "a nil reference is not";
    EXPECT_FALSE(r.contains(u"SwapPageSize"));
}

TEST_F(SerializerTest, AncestorsReplaceDefaults)
{
    TfrxMemoView a(nullptr), b(nullptr);
    a.SetBounds(1, 2, 3, 4);
    b.SetBounds(1, 2.0000001, 3, 5);
    a.SetText(QStringLiteral("x"));
    b.SetText(QStringLiteral("x"));
    EXPECT_EQ(s.ObjToXML(&b, QString(), &a), QStringLiteral(" Height=\"5\""));
    s.SerializeDefaultValues = true;
    EXPECT_TRUE(s.ObjToXML(&b, QString(), &a).contains(u" Printable=\"True\""));
}

TEST_F(SerializerTest, ApplyingAttributeTexts)
{
    TfrxMemoView memo(nullptr);
    s.XMLToObj(QStringLiteral(" Font.Size=\"14\" Frame.Typ=\"12\" Nothing.Size=\"3\" Left=\"x\" Top = \"7.5\" "
                              "HAlign=\"2\" VAlign=\"vaBottom\" GapX=\"1 , 5\""),
               &memo);
    EXPECT_FLOAT_EQ(memo.Font()->Size(), 14);
    EXPECT_TRUE(memo.Frame()->Typ().contains(ftTop) && memo.Frame()->Typ().contains(ftBottom));
    EXPECT_EQ(memo.Top(), 7.5);
    EXPECT_EQ(memo.HAlign(), haCenter) << "an enumeration by number";
    EXPECT_EQ(memo.VAlign(), vaBottom);
    EXPECT_EQ(memo.GapX(), 1.5);
    ASSERT_EQ(s.Errors.Count(), 1);
    EXPECT_EQ(s.Errors[0], QStringLiteral("'x' is not a valid floating point value"));

    s.XMLToObj(QStringLiteral("l=\"10,5\" t=\"1\" w=\"2\" h=\"3\" u=\"a&#13;&#10;b\""), &memo);
    EXPECT_EQ(memo.Left(), 10.5);
    EXPECT_EQ(memo.Memo()->Count(), 2);
    s.XMLToObj(QStringLiteral("x=\"[1+2]\""), &memo);
    EXPECT_EQ(memo.Text(), QStringLiteral("[1+2]\r\n"));
    s.XMLToObj(QStringLiteral("=\"1\" Left=\"99\""), &memo);
    EXPECT_EQ(memo.Left(), 10.5) << "an empty name ends the text";
}

TEST_F(SerializerTest, ReferencesResolveAfterTheDocument)
{
    TfrxReport report;
    auto* page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto* band = new TfrxReportTitle(page);
    band->SetName(QStringLiteral("Title"));
    auto* child = new TfrxChild(page);
    child->SetName(QStringLiteral("Child1"));
    band->SetChild(child);
    auto* memo = new TfrxMemoView(band);
    memo->SetName(QStringLiteral("A"));
    auto* next = new TfrxMemoView(band);
    next->SetName(QStringLiteral("B"));
    memo->SetFlowTo(next);

    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    report.SaveToStream(buffer);
    EXPECT_TRUE(buffer.data().contains("Child=\"Child1\""));
    EXPECT_TRUE(buffer.data().contains("FlowTo=\"B\""));
    buffer.seek(0);
    report.LoadFromStream(buffer);
    auto* title = report.FindObjectAs<TfrxReportTitle>(QStringLiteral("Title"));
    EXPECT_EQ(title->Child(), report.FindObject(QStringLiteral("child1")));
    EXPECT_EQ(report.FindObjectAs<TfrxMemoView>(QStringLiteral("A"))->FlowTo(), report.FindObject(QStringLiteral("B")));

    // A name found nowhere, or an object of the wrong class, leaves the property alone.
    s.Owner = &report;
    s.ReadPersistentStr(&report, title, QStringLiteral("Child=\"Nessuno\""));
    EXPECT_NE(title->Child(), nullptr);
    s.ReadPersistentStr(&report, title, QStringLiteral("Child=\"A\""));
    EXPECT_EQ(title->Child(), report.FindObject(QStringLiteral("child1")));
}

TEST_F(SerializerTest, SingleComponents)
{
    TfrxReport report;
    auto* page = new TfrxReportPage(&report);
    s.Owner = &report;
    TfrxComponent* c = s.ReadComponentStr(page, QStringLiteral("TfrxMemoView Left=\"3\" Text=\"ok\""));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Parent(), page);
    EXPECT_EQ(c->Left(), 3);
    EXPECT_EQ(s.WriteComponentStr(c), QStringLiteral("TfrxMemoView Left=\"3\" Top=\"0\" Width=\"0\" Height=\"0\" "
                                                      "ShowHint=\"False\" Text=\"ok\""));
    EXPECT_EQ(s.ReadComponentStr(page, QStringLiteral("   ")), nullptr);
    EXPECT_EQ(s.ReadComponentStr(page, QStringLiteral("TfrxNothing Left=\"3\"")), nullptr);
    EXPECT_EQ(s.ReadComponentStr(page, QStringLiteral("TfrxFrame Width=\"3\"")), nullptr)
        << "only report objects become components";
}

TEST_F(SerializerTest, ADescriptionReadManyTimesReadsAsItsWholeText)
{
    // Each object read from a description and a difference is the object read from the
    // two texts joined, errors included, on the first object and on every later one.
    const QString descriptions[] = {
        QStringLiteral("TfrxMemoView Name=\"txtRiga\" Left=\"2\" Width=\"300,5\" Font.Name=\"Arial\" Font.Size=\"12\" "
                       "Frame.Typ=\"15\" HAlign=\"haRight\" VAlign=\"1\" Text=\"uno&#13;&#10;due\" Tag=\"abc\" "
                       "Nessuna=\"1\" Font.Nessuna.Size=\"3\" Memo.Text=\"x\" DataSetName=\"Dati\""),
        QStringLiteral("TfrxMemoView Left=\"1\" Font.Color=\"-16777216\"   "),
        QStringLiteral("TfrxMemoView"),
        // Not closed: what follows is read as part of it.
        QStringLiteral("TfrxMemoView Left=\"1\" Text=\"aperto"),
        QStringLiteral("TfrxMemoView Left=\"1\" Top"),
        QStringLiteral("TfrxLineView Left=\"4\" Frame.Width=\"2\" Diagonal=\"True\""),
        QStringLiteral("TfrxNothing Left=\"3\""),
    };
    const QString differences[] = {QString(), QStringLiteral("l=\"7\" t=\"8,5\" u=\"tre\""),
                                   QStringLiteral("w=\"x\" HAlign=\"haNessuno\""), QStringLiteral("  ")};
    for (const QString& d : descriptions) {
        TfrxObjectDescription description(d);
        for (int round = 0; round < 2; ++round)
            for (const QString& diff : differences) {
                TfrxReportPage page(nullptr);
                TfrxXMLSerializer joined(nullptr), compiled(nullptr);
                TfrxComponent* a = joined.ReadComponentStr(&page, d + u' ' + diff, true);
                TfrxComponent* b = compiled.ReadComponentStr(&page, description, diff, true);
                ASSERT_EQ(a == nullptr, b == nullptr) << d.toStdString();
                EXPECT_EQ(joined.Errors.Text(), compiled.Errors.Text()) << d.toStdString() << ' ' << diff.toStdString();
                if (!a)
                    continue;
                TfrxXMLSerializer writer(nullptr);
                EXPECT_EQ(writer.WriteComponentStr(a), writer.WriteComponentStr(b))
                    << d.toStdString() << ' ' << diff.toStdString();
                EXPECT_EQ(a->Name(), b->Name());
            }
    }
}
