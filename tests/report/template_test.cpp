// The template format: layouts built in code, written as template text and read back.
#include "layouts.h"

#include "platform/core/formats.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/model/bands.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace orv::report;

using namespace orv::report::test;

namespace {

QByteArray fixture(const char* name)
{
    QFile f(QStringLiteral(ORV_FIXTURES "/report/") + QString::fromLatin1(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

std::unique_ptr<TfrxReport> readTemplate(const QByteArray& text)
{
    auto r = std::make_unique<TfrxReport>();
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    r->LoadFromStream(buffer);
    return r;
}

class TemplateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        orv::platform::applyProgramFormats();
        frxSetErrorBoxHandler([this](const QString& m) { shown << m; });
    }
    void TearDown() override { frxSetErrorBoxHandler(nullptr); }
    QStringList shown;
};

} // namespace

// The first line where two texts differ, for a readable failure.
std::string firstDifference(const QByteArray& a, const QByteArray& b)
{
    const QList<QByteArray> la = a.split('\n'), lb = b.split('\n');
    for (qsizetype i = 0; i < std::max(la.size(), lb.size()); ++i) {
        const QByteArray x = la.value(i), y = lb.value(i);
        if (x != y)
            return "line " + std::to_string(i + 1) + ":\n  " + x.toStdString() + "\n  " + y.toStdString();
    }
    return {};
}

// As every preparation does: the layout is written into memory and read back into the
// same report, then written again.
TEST_F(TemplateTest, LayoutsRoundTripToIdenticalText)
{
    for (auto make : {&makeListLayout, &makeCardLayout}) {
        auto layout = make();
        const QByteArray first = templateText(*layout);
        QBuffer buffer;
        buffer.setData(first);
        buffer.open(QIODevice::ReadOnly);
        layout->LoadFromStream(buffer);
        EXPECT_TRUE(layout->Errors()->isEmpty()) << layout->Errors()->Text().toStdString();
        EXPECT_EQ(firstDifference(templateText(*layout), first), "");
    }
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(TemplateTest, AFreshReportReadsTheSameLayout)
{
    auto layout = makeCardLayout();
    const QByteArray text = templateText(*layout);
    auto copy = std::make_unique<TfrxReport>();
    copy->SetShowProgress(false);
    copy->PreviewOptions()->Assign(layout->PreviewOptions());
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    copy->LoadFromStream(buffer);
    EXPECT_EQ(firstDifference(templateText(*copy), text), "");
}

TEST_F(TemplateTest, ListLayoutIsWrittenAsTheStoredText)
{
    auto layout = makeListLayout();
    EXPECT_EQ(firstDifference(templateText(*layout), fixture("riepilogo_dati.xml")), "");
}

TEST_F(TemplateTest, TextShape)
{
    const QByteArray text = templateText(*makeCardLayout());
    ASSERT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n<TfrxReport "));
    EXPECT_TRUE(text.endsWith("</TfrxReport>\r\n"));
    EXPECT_FALSE(text.contains("\xEF\xBB\xBF"));
    EXPECT_EQ(text.count("\n"), text.count("\r\n")) << "every line ends with CR LF";
    // Depth d is indented by 2 x d blanks: report 0, pages 1, views on the page 2.
    const QList<QByteArray> lines = text.split('\n');
    EXPECT_TRUE(lines[2].startsWith("  <TfrxDataPage Name=\"Data\""));
    EXPECT_TRUE(lines[3].startsWith("  <TfrxReportPage Name=\"Page1\""));
    EXPECT_TRUE(lines[4].startsWith("    <TfrxPictureView Name=\"imgLogo\""));
    EXPECT_TRUE(text.contains("\r\n  </TfrxReportPage>\r\n</TfrxReport>\r\n"));

    const QString s = QString::fromUtf8(text);
    EXPECT_TRUE(s.contains(u"Color=\"-1644806\"")) << "lavender as a signed 32-bit number";
    EXPECT_TRUE(s.contains(u"Top=\"121,5\"")) << "floats with the decimal comma";
    EXPECT_TRUE(s.contains(u"AllowExpressions=\"False\""));
    EXPECT_TRUE(s.contains(u"PreviewOptions.AllowEdit=\"False\" PreviewOptions.Buttons=\"2097\""));
    EXPECT_TRUE(s.contains(u"Font.Style=\"5\"")) << "bold and underline as a bit mask";
    EXPECT_TRUE(s.contains(u"Frame.Style=\"fsDash\" Frame.Typ=\"1\""));
    EXPECT_TRUE(s.contains(u"Text=\"Città:\"")) << "accented letters as themselves";
    EXPECT_TRUE(s.contains(u"Text=\"Caldaia a condensazione&#13;&#10;revisione annuale: 'ottobre'&#13;&#10;chiamare prima\""));
    EXPECT_TRUE(s.contains(u"Picture.PropData=\"03504E470A"));
}

TEST_F(TemplateTest, ReadingRestoresTheObjects)
{
    auto r = readTemplate(fixture("riepilogo_dati.xml"));
    ASSERT_EQ(r->PagesCount(), 2);
    EXPECT_EQ(r->GetPages(0)->Name(), QStringLiteral("Data"));
    auto* page = r->GetPageAs<TfrxReportPage>(1);
    EXPECT_EQ(page->Orientation(), poLandscape);
    EXPECT_EQ(page->PaperWidth(), 297);
    EXPECT_EQ(page->PaperHeight(), 210);
    EXPECT_EQ(page->PaperSize(), 9);
    EXPECT_EQ(page->Width(), 1123);
    EXPECT_EQ(page->Height(), 794);
    EXPECT_EQ(page->LeftMargin(), 10);

    auto* master = r->FindObjectAs<TfrxMasterData>(QStringLiteral("MasterData"));
    EXPECT_TRUE(master->AllowSplit());
    EXPECT_EQ(master->RowCount(), 1);
    EXPECT_EQ(master->VirtualDataSet()->RangeEndCount(), 1);
    EXPECT_DOUBLE_EQ(master->Height(), 105.82684);

    auto* list = r->FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiepilogo"));
    ASSERT_EQ(list->Memo()->Count(), 3);
    EXPECT_EQ(list->Memo()->Get(1), QStringLiteral("BIANCHI & FIGLI      \"LA BOTTEGA\" <2>     MILANO"));
    EXPECT_EQ(list->Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_FLOAT_EQ(list->Font()->Size(), 8);
    EXPECT_FALSE(list->WordWrap());
    EXPECT_FALSE(list->ParentFont());

    auto* title = r->FindObjectAs<TfrxMemoView>(QStringLiteral("txtTitolo"));
    EXPECT_EQ(title->Color(), 0xFF708090u);
    EXPECT_EQ(title->Font()->Color(), claWhite);
    EXPECT_TRUE(title->Font()->Style().contains(fsBold));
    EXPECT_EQ(title->HAlign(), haCenter);

    EXPECT_EQ(r->ReportOptions()->Name(), QStringLiteral("Riepilogo dati"));
    EXPECT_EQ(r->ReportOptions()->Author(), QStringLiteral("Dorvane Software"));
    EXPECT_EQ(r->ScriptText()->Count(), 3);
}

TEST_F(TemplateTest, CardPictureAndSharedFontsSurvive)
{
    auto layout = makeCardLayout();
    auto copy = readTemplate(templateText(*layout));
    auto* logo = copy->FindObjectAs<TfrxPictureView>(QStringLiteral("imgLogo"));
    ASSERT_FALSE(logo->Picture()->IsEmpty());
    EXPECT_EQ(logo->Picture()->Image().size(), QSize(8, 4));
    EXPECT_EQ(logo->Picture()->Image().pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(logo->Picture()->Image().pixel(1, 0), 0xFF336699u);
    auto* value = copy->FindObjectAs<TfrxMemoView>(QStringLiteral("txtCampo23"));
    EXPECT_EQ(value->Memo()->Count(), 3);
    EXPECT_EQ(value->VAlign(), vaCenter);
    auto* shape = copy->FindObjectAs<TfrxShapeView>(QStringLiteral("shpNote"));
    EXPECT_EQ(shape->Shape(), skRoundRectangle);
    EXPECT_EQ(shape->Curve(), 2);
    EXPECT_EQ(copy->PreviewOptions()->Buttons(), TfrxPreviewOptions::AllButtons)
        << "preview options other than outline and thumbnails come from the component, not the text";
}

TEST_F(TemplateTest, FloatsReadWithEitherSeparator)
{
    QByteArray text = templateText(*makeListLayout());
    text.replace("Top=\"18,89765\"", "Top=\"18.89765\"");
    orv::platform::formats().decimalSeparator = u'.';
    auto r = readTemplate(text);
    orv::platform::applyProgramFormats();
    EXPECT_DOUBLE_EQ(r->FindObject(QStringLiteral("ReportTitle"))->Top(), 18.89765);
    EXPECT_DOUBLE_EQ(r->FindObject(QStringLiteral("txtTitolo"))->Left(), 7.55906);
}

TEST_F(TemplateTest, BrokenDocumentsAreReportedNotApplied)
{
    struct Case {
        const char* name;
        QByteArray text;
        QString line;
    } cases[] = {
        {"no declaration", "<TfrxReport/>", QStringLiteral("Invalid file format")},
        {"unclosed element",
         "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><TfrxReport><TfrxReportPage Name=\"P\"></TfrxReport>",
         QStringLiteral("Invalid file format")},
    };
    for (const Case& c : cases) {
        shown.clear();
        auto r = readTemplate(c.text);
        EXPECT_EQ(r->Errors()->lines(), QStringList{c.line}) << c.name;
        ASSERT_EQ(r->PagesCount(), 1) << c.name << ": only the data page the load adds";
        EXPECT_EQ(r->GetPages(0)->Name(), QStringLiteral("Data"));
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0], QStringLiteral("The following error(s) have occured:\r\n") + c.line + QStringLiteral("\r\n"));
    }
}

TEST_F(TemplateTest, UnknownClassesAndBadValuesAreCollected)
{
    const QByteArray text = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
                            "<TfrxReport>\r\n"
                            "  <TfrxReportPage Name=\"Page1\">\r\n"
                            "    <TfrxChartView Name=\"Chart1\"><TfrxMemoView Name=\"Inner\"/></TfrxChartView>\r\n"
                            "    <TfrxMemoView Name=\"Memo1\" Left=\"abc\" Top=\"12,5\" Nonsense=\"1\" Font.Nonsense=\"2\" "
                            "HAlign=\"haNowhere\" Text=\"ok\"/>\r\n"
                            "  </TfrxReportPage>\r\n"
                            "</TfrxReport>\r\n";
    auto r = readTemplate(text);
    const QStringList errors = r->Errors()->lines();
    ASSERT_EQ(errors.size(), 3) << r->Errors()->Text().toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("Cannot find class TfrxChartView")));
    EXPECT_EQ(r->FindObject(QStringLiteral("Inner")), nullptr);
    auto* memo = r->FindObjectAs<TfrxMemoView>(QStringLiteral("Memo1"));
    EXPECT_EQ(memo->Left(), 0);
    EXPECT_EQ(memo->Top(), 12.5);
    EXPECT_EQ(memo->Text(), QStringLiteral("ok\r\n"));
    EXPECT_EQ(memo->HAlign(), haLeft);
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(TemplateTest, PasswordIsKeptShiftedAndOptionsComeFromTheComponent)
{
    auto layout = makeListLayout();
    layout->ReportOptions()->SetPassword(QStringLiteral("kl"));
    const QString text = QString::fromUtf8(templateText(*layout));
    EXPECT_TRUE(text.contains(u"ReportOptions.Password=\"ab\""));
    EXPECT_EQ(layout->ReportOptions()->Password(), QStringLiteral("kl"));

    auto r = std::make_unique<TfrxReport>();
    r->SetShowProgress(true);
    r->ReportOptions()->HiddenPassword = QStringLiteral("kl");
    QBuffer buffer;
    buffer.setData(text.toUtf8());
    buffer.open(QIODevice::ReadOnly);
    r->LoadFromStream(buffer);
    EXPECT_EQ(r->ReportOptions()->Password(), QStringLiteral("kl"));
    EXPECT_TRUE(r->ShowProgress()) << "ShowProgress is the component's own";
    EXPECT_TRUE(r->Errors()->isEmpty());
}

TEST_F(TemplateTest, TemplateVersionIsAlwaysTheEngines)
{
    QByteArray text = templateText(*makeListLayout());
    text.replace("Version=\"2.1\"", "Version=\"9.9\"");
    EXPECT_EQ(readTemplate(text)->Version(), QStringLiteral("2.1"));
}

TEST_F(TemplateTest, StoredVariablesAndStylesComeBack)
{
    auto layout = makeListLayout();
    layout->Variables()->SetVariable(QStringLiteral("Totale"), QStringLiteral("1+2"));
    TfrxStyleItem* style = layout->Styles()->Add();
    style->SetName(QStringLiteral("Titolo"));
    style->SetColor(claRed);
    const QByteArray text = templateText(*layout);
    EXPECT_FALSE(text.contains("PropData=\"0844617461736574730100095661726961626C65730100055374796C650100\""));
    auto r = readTemplate(text);
    EXPECT_EQ(r->Variables()->GetVariable(QStringLiteral("totale")).toString(), QStringLiteral("1+2"));
    ASSERT_NE(r->Styles()->Find(QStringLiteral("TITOLO")), nullptr);
    EXPECT_EQ(r->Styles()->Find(QStringLiteral("Titolo"))->Color(), claRed);
    r->SetShowProgress(false);
    EXPECT_EQ(firstDifference(templateText(*r), text), "");
}
