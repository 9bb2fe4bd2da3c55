// The component tree: names, lookup, geometry, fonts, copies and difference texts.
#include "platform/core/formats.h"
#include "report/base/errors.h"
#include "report/model/bands.h"
#include "report/model/report.h"

#include <gtest/gtest.h>

using namespace orv::report;

namespace {

struct Layout {
    TfrxReport report;
    TfrxReportPage* page;
    TfrxReportTitle* band;
    TfrxMemoView* memo;
    Layout()
    {
        orv::platform::applyProgramFormats();
        auto* data = new TfrxDataPage(&report);
        data->SetName(QStringLiteral("Data"));
        page = new TfrxReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        band = new TfrxReportTitle(page);
        band->SetName(QStringLiteral("ReportTitle1"));
        band->SetTop(100);
        memo = new TfrxMemoView(band);
        memo->SetName(QStringLiteral("txtTitolo"));
        memo->SetTop(20);
        memo->SetLeft(5);
    }
};

} // namespace

TEST(ComponentTest, FindObjectAcrossTheReport)
{
    Layout l;
    auto* logo = new TfrxPictureView(l.page);
    logo->SetName(QStringLiteral("imgLogo"));
    EXPECT_EQ(l.report.FindObject(QStringLiteral("IMGLOGO")), logo);
    EXPECT_EQ(l.report.FindObject(QStringLiteral("page1")), l.page);
    EXPECT_EQ(l.report.FindObject(QStringLiteral("TXTTITOLO")), l.memo);
    EXPECT_EQ(l.report.FindObject(QStringLiteral("nessuno")), nullptr);
    EXPECT_EQ(l.page->FindObject(QStringLiteral("Data")), nullptr) << "only below the object asked";
    auto* unnamed = new TfrxMemoView(l.band);
    EXPECT_EQ(l.report.FindObject(QString()), unnamed) << "the first object without a name";

    EXPECT_EQ(l.report.FindObjectAs<TfrxPictureView>(QStringLiteral("imgLogo")), logo);
    EXPECT_THROW(l.report.FindObjectAs<TfrxMemoView>(QStringLiteral("imgLogo")), orv::report::Error)
        << "a found object of another class is a broken layout, not a crash";
    EXPECT_THROW(l.report.FindObjectAs<TfrxMemoView>(QStringLiteral("txtMancante")), orv::report::Error);
    EXPECT_EQ(l.report.GetPageAs<TfrxReportPage>(1), l.page);
    EXPECT_THROW(l.report.GetPages(2), orv::report::Error);
    EXPECT_THROW(l.report.GetPageAs<TfrxReportPage>(0), orv::report::Error);
}

TEST(ComponentTest, AllObjectsIsASnapshot)
{
    Layout l;
    const QList<TfrxComponent*> before = l.report.AllObjects();
    EXPECT_EQ(before, (QList<TfrxComponent*>{l.report.Objects()[0], l.page, l.band, l.memo}));
    new TfrxMemoView(l.band);
    l.report.FindObject(QStringLiteral("x"));
    EXPECT_EQ(before.size(), 4) << "a list handed out earlier does not change under its holder";
    EXPECT_EQ(l.report.AllObjects().size(), 5);
}

TEST(ComponentTest, Names)
{
    Layout l;
    l.memo->SetName(QStringLiteral("TXTTITOLO"));
    EXPECT_EQ(l.memo->Name(), QStringLiteral("txtTitolo")) << "same letters: the old case stays";
    auto* other = new TfrxMemoView(new TfrxReportPage(&l.report));
    try {
        other->SetName(QStringLiteral("TxtTitolo"));
        ADD_FAILURE();
    } catch (const EDuplicateName& e) {
        EXPECT_EQ(e.message(), QStringLiteral("prDupl"));
    }
    EXPECT_EQ(other->Name(), QString());

    auto* m1 = new TfrxMemoView(l.band);
    m1->SetName(QStringLiteral("memo1"));
    auto* m2 = new TfrxMemoView(l.band);
    m2->CreateUniqueName();
    auto* m3 = new TfrxMemoView(l.band);
    m3->CreateUniqueName();
    EXPECT_EQ(m2->Name(), QStringLiteral("Memo2"));
    EXPECT_EQ(m3->Name(), QStringLiteral("Memo3"));
    auto* band = new TfrxMasterData(l.page);
    band->CreateUniqueName();
    EXPECT_EQ(band->Name(), QStringLiteral("MasterData1"));
    EXPECT_EQ(l.page->BaseName(), QStringLiteral("Page"));
}

TEST(ComponentTest, GeometryAndParents)
{
    Layout l;
    EXPECT_EQ(l.memo->AbsTop(), 120);
    EXPECT_EQ(l.memo->AbsLeft(), 5);
    auto* dialog = new TfrxDialogPage(&l.report);
    dialog->SetTop(300);
    auto* control = new TfrxMemoView(dialog);
    control->SetTop(20);
    EXPECT_EQ(control->AbsTop(), 20) << "on a dialog page an object keeps its own position";

    auto* second = new TfrxMemoView(l.band);
    l.memo->SetParent(l.band);
    EXPECT_EQ(l.band->Objects(), (QList<TfrxComponent*>{l.memo, second})) << "same parent: same place";
    auto* footer = new TfrxFooter(l.page);
    auto* lonely = new TfrxMemoView(footer);
    l.memo->SetParent(footer);
    EXPECT_EQ(footer->Objects(), (QList<TfrxComponent*>{lonely, l.memo}));
    l.page->SetParent(l.memo);
    EXPECT_EQ(l.page->Parent(), &l.report) << "an object cannot move below itself";

    l.memo->SetIsDesigning(true);
    l.memo->SetRestrictions({rfDontMove});
    l.memo->SetBounds(1, 2, 3, 4);
    EXPECT_EQ(l.memo->Left(), 5);
    EXPECT_EQ(l.memo->Width(), 3);
}

TEST(ComponentTest, FontFollowsTheParentUntilSetItself)
{
    Layout l;
    EXPECT_TRUE(l.memo->ParentFont());
    l.band->Font()->SetName(QStringLiteral("Verdana"));
    EXPECT_FALSE(l.band->ParentFont());
    EXPECT_EQ(l.memo->Font()->Name(), QStringLiteral("Verdana"));
    EXPECT_TRUE(l.memo->ParentFont());
    l.memo->Font()->SetSize(14);
    EXPECT_FALSE(l.memo->ParentFont());
    l.band->Font()->SetName(QStringLiteral("Tahoma"));
    EXPECT_EQ(l.memo->Font()->Name(), QStringLiteral("Verdana"));
    l.memo->SetParentFont(true);
    EXPECT_EQ(l.memo->Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_FLOAT_EQ(l.memo->Font()->Size(), 10);

    TfrxFont f;
    f.SetSize(10);
    EXPECT_NEAR(f.Height(), -13.3333333, 1e-6);
    f.SetHeight(-16);
    EXPECT_FLOAT_EQ(f.Size(), 12);
    int changes = 0;
    f.OnChange = [&] { ++changes; };
    f.SetName(QStringLiteral("Arial"));
    EXPECT_EQ(changes, 0) << "the same name changes nothing";
}

TEST(ComponentTest, AssignCopiesPropertiesAndDropsChildren)
{
    Layout l;
    l.memo->SetText(QStringLiteral("Totale [IVA]"));
    l.memo->SetHAlign(haRight);
    auto* target = new TfrxMemoView(l.band);
    new TfrxMemoView(target); // a child that the copy drops
    target->Assign(l.memo);
    EXPECT_EQ(target->Text(), QStringLiteral("Totale [IVA]\r\n"));
    EXPECT_EQ(target->HAlign(), haRight);
    EXPECT_TRUE(target->Objects().isEmpty());
    TfrxFont font;
    target->Assign(&font);
    EXPECT_EQ(target->HAlign(), haRight) << "from another class nothing happens";

    auto copy = std::make_unique<TfrxReportTitle>(nullptr);
    copy->AssignAll(l.band);
    ASSERT_EQ(copy->Objects().size(), 2);
    EXPECT_EQ(copy->Objects()[0]->Name(), QStringLiteral("txtTitolo"));
}

TEST(ComponentTest, DifferenceTexts)
{
    Layout l;
    auto copy = std::make_unique<TfrxMemoView>(nullptr);
    copy->AssignAll(l.memo);
    EXPECT_EQ(copy->BaseDiff(l.memo), QString());
    copy->SetLeft(5.00005);
    EXPECT_EQ(copy->BaseDiff(l.memo), QString()) << "within the tolerance";
    copy->SetLeft(7.5);
    copy->SetVisible(false);
    copy->SetTag(3);
    EXPECT_EQ(copy->BaseDiff(l.memo), QStringLiteral(" l=\"7,5\" Visible=\"0\" Tag=\"3\""));
    copy->Font()->SetStyle({fsBold, fsItalic});
    copy->Font()->SetColor(claRed);
    EXPECT_EQ(copy->BaseDiff(l.memo),
              QStringLiteral(" l=\"7,5\" Visible=\"0\" Font.Color=\"-65536\" Font.Style=\"3\" ParentFont=\"0\" Tag=\"3\""));

    auto band = std::make_unique<TfrxReportTitle>(nullptr);
    band->AssignAll(l.band);
    EXPECT_EQ(band->BaseDiff(l.band), QStringLiteral(" t=\"100\"")) << "bands always state their top";

    EXPECT_EQ(l.memo->Diff(l.memo), QStringLiteral(" u=\"\""));
    l.memo->SetText(QStringLiteral("uno\r\ndue\r\n"));
    copy->AssignAll(l.memo);
    EXPECT_EQ(copy->Diff(l.memo), QStringLiteral(" u=\"uno&#13;&#10;due\""));

    auto page = std::make_unique<TfrxDataPage>(nullptr);
    EXPECT_EQ(page->AllDiff(nullptr), QStringLiteral("Height=\"1000\" Left=\"0\" Top=\"0\" Width=\"1000\""));
    auto nullBand = std::make_unique<TfrxNullBand>(nullptr);
    nullBand->SetTop(4);
    EXPECT_EQ(nullBand->AllDiff(nullptr).right(12), QStringLiteral(" l=\"0\" t=\"4\""));
}

TEST(ComponentTest, AlignChildren)
{
    Layout l;
    l.band->SetWidth(200);
    l.band->SetHeight(50);
    auto view = [&](double left, double width, TfrxAlign align, double top = 10) {
        auto* v = new TfrxMemoView(l.band);
        v->SetBounds(left, top, width, 20);
        v->SetAlign(align);
        return v;
    };
    l.memo->SetParent(nullptr);
    auto* a = view(40, 30, baLeft);
    auto* b = view(100, 30, baLeft);
    auto* c = view(150, 20, baRight);
    auto* d = view(0, 40, baCenter, 31); // below the row of a, b and c
    auto* e = view(0, 10, baBottom, 31);
    l.band->AlignChildren();
    EXPECT_EQ(a->Left(), 0);
    EXPECT_EQ(b->Left(), 30) << "after its left neighbour";
    EXPECT_EQ(c->Left(), 180) << "to the right edge";
    EXPECT_EQ(d->Left(), 80);
    EXPECT_EQ(e->Top(), 30);
    auto* f = view(0, 0, baClient);
    l.band->AlignChildren();
    EXPECT_EQ(f->Width(), 200);
    EXPECT_EQ(f->Height(), 50);
    delete l.memo;
}
