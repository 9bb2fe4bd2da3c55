// The report XML dialect.
#include "report/base/errors.h"
#include "report/base/xml.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orv::report;

namespace {

QByteArray save(TfrxXMLDocument& doc)
{
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    doc.SaveToStream(b);
    return b.data();
}

void load(TfrxXMLDocument& doc, const QByteArray& text)
{
    QBuffer b;
    b.setData(text);
    b.open(QIODevice::ReadOnly);
    doc.LoadFromStream(b);
}

} // namespace

TEST(XmlTest, EscapingAndUnescaping)
{
    EXPECT_EQ(frxEscapeXMLText(QStringLiteral("a<b & \"c\"")), QStringLiteral("a&#60;b &#38; &#34;c&#34;"));
    EXPECT_EQ(frxEscapeXMLText(QStringLiteral("x&quot;y\r\n'\t>")), QStringLiteral("x&#34;y&#13;&#10;'\t&#62;"));
    EXPECT_EQ(frxUnescapeXMLText(QStringLiteral("&amp;lt;")), QStringLiteral("&lt;")) << "one pass";
    EXPECT_EQ(frxUnescapeXMLText(QStringLiteral("&apos;")), QStringLiteral("&apos;"));
    EXPECT_EQ(frxUnescapeXMLText(QStringLiteral("&#65;&quot;&gt;&")), QStringLiteral("A\">&"));
    EXPECT_EQ(frxUnescapeXMLText(QStringLiteral("a&#12")), QStringLiteral("a&#12")) << "no ';' behind it";
    EXPECT_EQ(frxUnescapeXMLText(QStringLiteral("&#128512;")), QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_THROW(frxUnescapeXMLText(QStringLiteral("&#zz;")), orv::report::ConvertError);
    EXPECT_EQ(frxVariantToXMLText(QVariant(true)), QStringLiteral("1"));
    EXPECT_EQ(frxVariantToXMLText(QVariant(10.5)), QStringLiteral("10,5"));
    EXPECT_EQ(frxVariantToXMLText(QVariant(QStringLiteral("<"))), QStringLiteral("&#60;"));
}

TEST(XmlTest, AttributeAccess)
{
    TfrxXMLItem item;
    item.Text = QStringLiteral("Name=\"x\" MyName=\"y\" Other=\"Name=z\"");
    EXPECT_EQ(item.Prop(QStringLiteral("NAME")), QStringLiteral("x"));
    EXPECT_EQ(item.Prop(QStringLiteral("yName")), QString()) << "names match only at an attribute's start";
    item.SetProp(QStringLiteral("Name"), QStringLiteral("a\"b"));
    EXPECT_EQ(item.Text, QStringLiteral("Name=\"a&#34;b\" MyName=\"y\" Other=\"Name=z\"")) << "keeps its place";
    item.SetProp(QStringLiteral("New"), QStringLiteral("1"));
    EXPECT_EQ(item.Text, QStringLiteral("Name=\"a&#34;b\" MyName=\"y\" Other=\"Name=z\" New=\"1\""));
    EXPECT_EQ(item.Prop(QStringLiteral("Name")), QStringLiteral("a\"b"));
    item.DeleteProp(QStringLiteral("MyName"));
    item.DeleteProp(QStringLiteral("Missing"));
    EXPECT_EQ(item.Text, QStringLiteral("Name=\"a&#34;b\" Other=\"Name=z\" New=\"1\""));
    EXPECT_FALSE(item.PropExists(QStringLiteral("MyName")));
    TfrxXMLItem empty;
    empty.SetProp(QStringLiteral("a"), QStringLiteral("1"));
    EXPECT_EQ(empty.Text, QStringLiteral("a=\"1\""));
}

TEST(XmlTest, WritingWithAndWithoutIndentation)
{
    TfrxXMLDocument doc;
    doc.Root()->Name = QStringLiteral("root");
    doc.Root()->Add(QStringLiteral("child"))->Text = QStringLiteral("a=\"1\"");
    doc.AutoIndent = true;
    EXPECT_EQ(save(doc), QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
                                     "<root>\r\n  <child a=\"1\"/>\r\n</root>\r\n"));
    doc.AutoIndent = false;
    EXPECT_EQ(save(doc), QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"
                                     "<root><child a=\"1\"/></root>"));
    doc.Root()->Items(0)->Value = QStringLiteral("è");
    doc.Root()->Items(0)->Unloadable = true;
    EXPECT_TRUE(save(doc).endsWith("<root><child a=\"1\" ld=\"0\">\xC3\xA8</child></root>"));
}

TEST(XmlTest, ReadingTolerancesAndFailures)
{
    TfrxXMLDocument doc;
    load(doc, "<?xml version=\"1.0\"?><a><!-- c > d --><b x=\"1\"/><c/></a>");
    EXPECT_TRUE(doc.OldVersion());
    ASSERT_EQ(doc.Root()->Count(), 2);
    EXPECT_EQ(doc.Root()->Items(0)->Prop(QStringLiteral("x")), QStringLiteral("1"));

    load(doc, "<?xml version=\"1.0\" standalone=\"no\"?><a><!-- x ---><b/> --><b/></a>");
    EXPECT_FALSE(doc.OldVersion());
    EXPECT_EQ(doc.Root()->Count(), 1) << "three dashes and > do not close a comment";

    load(doc, "<?xml version=\"1.0\"?><a><b/>");
    EXPECT_EQ(doc.Root()->Count(), 1) << "a text that ends early is taken as far as it goes";

    for (const char* bad : {"<a/>", "<?xml?><a><b></a>", "<?xml?><a <b/></a>", "<?xml?><a", "<?xml?><!-- x"})
        EXPECT_THROW(load(doc, bad), TfrxInvalidXMLException) << bad;
}

TEST(XmlTest, DeepNestingIsRefused)
{
    QByteArray text = "<?xml version=\"1.0\"?>";
    for (int i = 0; i < 100000; ++i)
        text += "<a>";
    TfrxXMLDocument doc;
    EXPECT_THROW(load(doc, text), TfrxInvalidXMLException);
}

TEST(XmlTest, PartialLoadingAndUnloading)
{
    TfrxXMLDocument source;
    source.Root()->Name = QStringLiteral("pages");
    for (int p = 0; p < 3; ++p) {
        TfrxXMLItem* page = source.Root()->Add(QStringLiteral("page"));
        page->Unloadable = true;
        page->Text = QStringLiteral("n=\"%1\"").arg(p);
        for (int o = 0; o < 2; ++o)
            page->Add(QStringLiteral("obj"))->Text = QStringLiteral("v=\"%1.%2\"").arg(p).arg(o);
    }
    const QByteArray text = save(source);

    auto stream = std::make_unique<QBuffer>();
    stream->setData(text);
    stream->open(QIODevice::ReadOnly);
    TfrxXMLDocument doc;
    doc.LoadFromStream(std::move(stream), true);
    TfrxXMLItem* page1 = doc.Root()->Items(1);
    EXPECT_FALSE(page1->Loaded);
    EXPECT_EQ(page1->Count(), 0);
    EXPECT_EQ(page1->Text, QStringLiteral("n=\"1\""));
    doc.LoadItem(page1);
    ASSERT_EQ(page1->Count(), 2);
    EXPECT_EQ(page1->Items(1)->Prop(QStringLiteral("v")), QStringLiteral("1.1"));
    EXPECT_EQ(save(doc), text) << "saving writes unloaded elements whole";

    page1->Unloadable = true;
    page1->Text = QStringLiteral("n=\"uno\"");
    doc.UnloadItem(page1);
    EXPECT_EQ(page1->Count(), 0);
    doc.LoadItem(page1);
    EXPECT_EQ(page1->Count(), 2);
    EXPECT_EQ(page1->Text, QStringLiteral("n=\"uno\"")) << "the element keeps its current attributes";
}

TEST(XmlTest, SaveToFileReplacesTheOldFileOnlyWhenComplete)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.xml"));
    TfrxXMLDocument doc;
    doc.Root()->Name = QStringLiteral("a");
    doc.SaveToFile(path);
    doc.Root()->Add(QStringLiteral("b"));
    doc.SaveToFile(path);
    TfrxXMLDocument back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.Root()->Count(), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.xml"}) << "no leftovers";

    EXPECT_THROW(doc.SaveToFile(dir.filePath(QStringLiteral("missing/doc.xml"))), orv::platform::EFileError);
    EXPECT_EQ(back.Root()->Count(), 1);
}
