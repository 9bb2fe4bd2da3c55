#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include "platform/core/exceptions.h"
#include "print.h"
#include "script/front/xml.h"

using namespace orv::script;

namespace {

QString xmlText(const char* s) { return QString::fromUtf8(s); }

TfsXMLDocument* load(TfsXMLDocument& doc, const char* bytes)
{
    doc.LoadFromBytes(QByteArray(bytes));
    return &doc;
}

QString loadError(const char* bytes)
{
    TfsXMLDocument doc;
    try {
        doc.LoadFromBytes(QByteArray(bytes));
    } catch (const orv::platform::Exception& e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(XmlText, Escaping)
{
    const struct {
        const char* text;
        const char* escaped;
    } cases[] = {
        {"a<b & \"c\"", "a&#60;b & &#34;c&#34;"},
        {"&quot;", "&#34;"},
        {"x&quot;y&quo", "x&#34;y&quo"},
        {"\r\n", "&#13;&#10;"},
        {"a>b", "a&#62;b"},
        {"it's\t\xC3\xA8", "it's\t\xC3\xA8"}, // apostrophe, tab and letters stay
        {"&amp;", "&amp;"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fsEscapeXMLText(xmlText(c.text)), xmlText(c.escaped)) << c.text;
}

TEST(XmlText, Unescaping)
{
    const struct {
        const char* text;
        const char* plain;
    } cases[] = {
        {"&#60;&#62;", "<>"},
        {"x&quot;y", "x\"y"},
        {"&amp;", "&amp;"},      // only the two reference kinds are decoded
        {"&#6", "&#6"},          // too short to be a reference
        {"a&", "a&"},            // an '&' in the last position stays
        {"&#65 and more", "&#65 and more"}, // no ';' anywhere: stays as text
        {"&quot", "&quot"},
        {"&#$41;", "A"},         // the platform's integer reading
        {"&#128512;", "\xF0\x9F\x98\x80"},
        {"&#1114112;", "\xEF\xBF\xBD"},            // beyond Unicode
        {"&#55296;", "\xEF\xBF\xBD"},              // a lone surrogate
        {"&#-1;", "\xEF\xBF\xBD"},
        {"a&#0;b", "a\xEF\xBF\xBD" "b"},          // no character zero inside a text
        {"&#99999999999999999999999;", "\xEF\xBF\xBD"},
        {"&#38;#60;", "&#60;"},  // a produced character is not examined again
        {"a&#13;&#10;b", "a\r\nb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fsUnescapeXMLText(xmlText(c.text)), xmlText(c.plain)) << c.text;
    EXPECT_THROW(fsUnescapeXMLText(xmlText("&#abc;")), orv::platform::EConvertError);
    try {
        fsUnescapeXMLText(xmlText("x&#1a;"));
    } catch (const orv::platform::EConvertError& e) {
        EXPECT_EQ(e.message(), xmlText("'1a' is not a valid integer value"));
    }
    // Every text without references comes back from escaping unchanged.
    const QString sample = xmlText("<a \"b\">\r\n&c' \xC3\xA8");
    EXPECT_EQ(fsUnescapeXMLText(fsEscapeXMLText(sample)), sample);
}

TEST(XmlItem, AttributesKeepTheirPlaceAndMatchWholeNames)
{
    TfsXMLItem item;
    item.SetText(xmlText(R"(a="1" context="c" text="x&#60;y")"));
    EXPECT_EQ(item.GetProp(xmlText("TEXT")), xmlText("x<y"));
    EXPECT_EQ(item.Prop(xmlText("Context")), xmlText("c"));
    EXPECT_EQ(item.GetProp(xmlText("b")), QString());
    EXPECT_TRUE(item.PropExists(xmlText("a")));

    item.SetProp(xmlText("A"), xmlText("2\""));
    EXPECT_EQ(item.Text(), xmlText(R"(A="2&#34;" context="c" text="x&#60;y")"));
    item.SetProp(xmlText("new"), xmlText("n"));
    EXPECT_EQ(item.Text(), xmlText(R"(A="2&#34;" context="c" text="x&#60;y" new="n")"));

    TfsXMLItem other;
    other.SetText(xmlText(R"(context="1")"));
    EXPECT_FALSE(other.PropExists(xmlText("text")));
    other.SetText(xmlText(R"(name="my text=5")"));
    EXPECT_FALSE(other.PropExists(xmlText("text")));
    other.SetText(QString());
    other.SetProp(xmlText("k"), xmlText("v"));
    EXPECT_EQ(other.Text(), xmlText(R"(k="v")"));
}

TEST(XmlItem, TreeOperations)
{
    TfsXMLItem root;
    TfsXMLItem* a = root.Add();
    a->SetName(xmlText("a"));
    TfsXMLItem* b = root.FindItem(xmlText("B"));
    EXPECT_EQ(root.Count(), 2); // FindItem of a missing name creates it
    EXPECT_EQ(b->Name(), xmlText("B"));
    EXPECT_EQ(root.FindItem(xmlText("A")), a);
    EXPECT_EQ(root.Find(xmlText("missing")), -1);
    EXPECT_THROW(root.Items(2), orv::platform::ERangeError);
    EXPECT_THROW(root[-1], orv::platform::ERangeError);
    EXPECT_EQ(b->Parent(), &root);
    EXPECT_EQ(b->Root(), &root);

    root.AddItem(a); // into its own parent: moves to the end
    EXPECT_EQ(root.IndexOf(a), 1);
    EXPECT_EQ(root.IndexOf(b), 0);
    root.InsertItem(0, a);
    EXPECT_EQ(root.IndexOf(a), 0);

    TfsXMLItem* c = b->Add();
    c->SetName(xmlText("c"));
    c->SetData(&root);
    a->AddItem(c); // from another parent
    EXPECT_EQ(b->Count(), 0);
    EXPECT_EQ(c->Parent(), a);

    TfsXMLItem copy;
    copy.Assign(&root);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy[0]->Items(0)->Name(), xmlText("c"));
    EXPECT_EQ(copy[0]->Items(0)->Data(), &root);
    EXPECT_EQ(copy[0]->Items(0)->Parent(), copy[0]);

    // Assigning an element one of its own descendants copies before clearing.
    root.Assign(a);
    EXPECT_EQ(root.Name(), xmlText("a"));
    ASSERT_EQ(root.Count(), 1);
    EXPECT_EQ(root[0]->Name(), xmlText("c"));

    // Destroying a child takes it out of its parent's list.
    delete root[0];
    EXPECT_EQ(root.Count(), 0);

    TfsXMLItem* d = copy.Add();
    d->SetParent(nullptr);
    EXPECT_EQ(copy.IndexOf(d), -1);
    delete d;
    copy.Assign(nullptr);
    EXPECT_EQ(copy.Count(), 0);
}

TEST(XmlDocument, ReadingAndItsFailures)
{
    EXPECT_EQ(loadError("<a/>"), xmlText("Invalid file format"));                           // no declaration
    EXPECT_EQ(loadError("<?xml version=\"1.0\"?><a><b></a>"), xmlText("Invalid file format")); // b unclosed
    EXPECT_EQ(loadError("<?xml version=\"1.0\"?><a x=\"<\"/>"), xmlText("Invalid file format"));
    EXPECT_EQ(loadError("<?xml version=\"1.0\"?><a x=\"1"), xmlText("Invalid file format")); // end inside a tag
    EXPECT_EQ(loadError("<?xml version=\"1.0\"?><a></b>"), xmlText("Invalid file format"));

    TfsXMLDocument doc;
    // A document that ends where a closing tag is due keeps what was read.
    load(doc, "<?xml version=\"1.0\"?><a><b/>");
    EXPECT_EQ(doc.Root()->Name(), xmlText("a"));
    EXPECT_EQ(doc.Root()->Count(), 1);

    // Comments between elements are skipped; "--->" does not close one.
    load(doc, "<?xml version=\"1.0\"?><r><!-- x ---><b/> --><c k=\"v\" /><!----><D/></r>");
    ASSERT_EQ(doc.Root()->Count(), 2);
    EXPECT_EQ(doc.Root()->Items(0)->Name(), xmlText("c"));
    EXPECT_EQ(doc.Root()->Items(0)->GetProp(xmlText("k")), xmlText("v"));
    EXPECT_EQ(doc.Root()->Items(1)->Name(), xmlText("D"));

    // Names are in the ANSI code page, attribute texts in UTF-8; closing names ignore case.
    load(doc, "<?xml version=\"1.0\"?><caf\xE9 t=\"\xC3\xA8\"><X></x></CAF\xC9>");
    EXPECT_EQ(doc.Root()->Name(), xmlText("caf\xC3\xA9"));
    EXPECT_EQ(doc.Root()->GetProp(xmlText("t")), xmlText("\xC3\xA8"));
    EXPECT_EQ(doc.SaveToBytes(), QByteArray("<?xml version=\"1.0\"?><caf\xE9 t=\"\xC3\xA8\"><X/></caf\xE9>"));
}

TEST(XmlDocument, WritingWithAndWithoutIndent)
{
    TfsXMLDocument doc;
    doc.Root()->SetName(xmlText("root"));
    doc.Root()->SetText(xmlText(R"(a="1")"));
    doc.Root()->Add()->SetName(xmlText("child"));
    EXPECT_EQ(doc.SaveToBytes(), QByteArray("<?xml version=\"1.0\"?><root a=\"1\"><child/></root>"));
    doc.SetAutoIndent(true);
    EXPECT_EQ(doc.SaveToBytes(),
              QByteArray("<?xml version=\"1.0\"?>\r\n<root a=\"1\">\r\n  <child/>\r\n</root>\r\n"));

    // An attribute text that begins with a blank gets no second one.
    doc.Root()->SetText(xmlText(" b=\"2\""));
    doc.SetAutoIndent(false);
    EXPECT_EQ(doc.SaveToBytes(), QByteArray("<?xml version=\"1.0\"?><root b=\"2\"><child/></root>"));

    // Large documents go to the stream in pieces and read back the same.
    for (int i = 0; i < 3000; ++i) {
        TfsXMLItem* item = doc.Root()->Add();
        item->SetName(xmlText("i"));
        item->SetText(QStringLiteral("n=\"%1\"").arg(i));
    }
    const QByteArray bytes = doc.SaveToBytes();
    TfsXMLDocument back;
    back.LoadFromBytes(bytes);
    EXPECT_EQ(back.Root()->Count(), 3001);
    EXPECT_EQ(back.SaveToBytes(), bytes);
}

TEST(XmlDocument, ReaderLeavesTheStreamBehindWhatItRead)
{
    QByteArray data("<?xml version=\"1.0\"?><a/>TAIL");
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TfsXMLDocument doc;
    doc.LoadFromStream(buffer);
    EXPECT_EQ(buffer.pos(), data.indexOf("TAIL"));
}

TEST(XmlDocument, FilesRoundTripAndFailures)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(xmlText("doc.xml"));
    TfsXMLDocument doc;
    doc.Root()->SetName(xmlText("r"));
    doc.Root()->Add()->SetName(xmlText("x"));
    doc.SaveToFile(path);
    TfsXMLDocument back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.Root()->Items(0)->Name(), xmlText("x"));
    EXPECT_THROW(back.LoadFromFile(dir.filePath(xmlText("missing.xml"))), orv::platform::EFileError);
}

TEST(XmlDocument, DeepTreesNeverExhaustTheStack)
{
    // A very deep tree built in memory can be written, copied and destroyed.
    const int deep = 100000;
    TfsXMLDocument doc;
    doc.Root()->SetName(xmlText("e"));
    TfsXMLItem* item = doc.Root();
    for (int i = 0; i < deep; ++i) {
        item = item->Add();
        item->SetName(xmlText("e"));
    }
    const QByteArray bytes = doc.SaveToBytes();
    TfsXMLItem copy;
    copy.Assign(doc.Root());

    // The reader refuses nesting deeper than its limit, and accepts the limit itself.
    auto nested = [](int depth) {
        QByteArray b("<?xml version=\"1.0\"?>");
        for (int i = 0; i <= depth; ++i)
            b += "<e>";
        for (int i = 0; i <= depth; ++i)
            b += "</e>";
        return b;
    };
    TfsXMLDocument back;
    EXPECT_NO_THROW(back.LoadFromBytes(nested(fsXMLMaxDepth)));
    EXPECT_THROW(back.LoadFromBytes(nested(fsXMLMaxDepth + 1)), orv::platform::Exception);
    EXPECT_THROW(back.LoadFromBytes(bytes), orv::platform::Exception);
}

// A pooled document (the intermediate program's) reads, writes and copies as any other;
// copies of its elements own their texts, and emptying it gives its memory back.
TEST(XmlDocument, PooledDocumentsBehaveAsOthersAndGiveTheirMemoryBack)
{
    const size_t before = TfsXMLPool::LiveBytes();
    // Attribute texts of growing length cross the pool's block sizes.
    auto program = [](int elements) {
        QByteArray b("<?xml version=\"1.0\"?><program>");
        for (int i = 0; i < elements; ++i)
            b += "<e text=\"" + QByteArray(i % 300, 'x') + "&#34;\" pos=\"" + QByteArray::number(i) + ":1\"><c/></e>";
        b += "<open><x/>"; // truncated: the stream ends where closing tags are due
        return b;
    };
    size_t reservedAfterFirst = 0;
    for (int elements : {0, 1, 7, 64, 500, 3000, 64, 1}) {
        SCOPED_TRACE(elements);
        const QByteArray bytes = program(elements);
        TfsXMLDocument plain, pooled;
        pooled.UsePool();
        plain.LoadFromBytes(bytes);
        pooled.LoadFromBytes(bytes);
        EXPECT_EQ(pooled.SaveToBytes(), plain.SaveToBytes());
        ASSERT_EQ(pooled.Root()->Count(), elements + 1);
        if (elements > 0) {
            EXPECT_TRUE(pooled.Root()->Items(0)->InPool());
            EXPECT_EQ(pooled.Root()->Items(elements - 1)->GetProp(xmlText("text")),
                      QString(qsizetype((elements - 1) % 300), u'x') + u'"');
        }

        // The copy outlives the document: its texts are its own.
        TfsXMLItem copy;
        copy.Assign(pooled.Root());
        EXPECT_FALSE(copy.InPool());
        for (int i = 0; i < copy.Count(); ++i) {
            if (!copy[i]->Text().isEmpty()) {
                ASSERT_NE(copy[i]->Text().constData(), pooled.Root()->Items(i)->Text().constData());
            }
        }
        pooled.Clear();
        EXPECT_EQ(pooled.Root()->Count(), 0);
        EXPECT_EQ(pooled.SaveToBytes(), QByteArray("<?xml version=\"1.0\"?><program/>"));
        TfsXMLDocument again;
        again.Root()->Assign(&copy);
        EXPECT_EQ(again.SaveToBytes(), plain.SaveToBytes());

        // Loading into the same pooled document over and over keeps one block at most.
        for (int round = 0; round < 3; ++round) {
            pooled.LoadFromBytes(bytes);
            pooled.Clear();
            if (elements == 3000 && round == 0)
                reservedAfterFirst = pooled.Pool()->Reserved();
        }
        if (elements == 3000) {
            EXPECT_EQ(pooled.Pool()->Reserved(), reservedAfterFirst);
        }
        EXPECT_LE(pooled.Pool()->Reserved(), size_t(256 * 1024));
    }
    EXPECT_EQ(TfsXMLPool::LiveBytes(), before);
}

// Changing an element made in a pool leaves the pool's copy of its text alone.
TEST(XmlItem, PooledElementsChangeLikeOthers)
{
    TfsXMLDocument doc;
    doc.UsePool();
    TfsXMLItem* e = doc.Root()->Add();
    e->SetText(xmlText("text=\"a\" pos=\"1:2\""));
    TfsXMLItem* f = doc.Root()->Add();
    f->Assign(e);
    e->SetProp(xmlText("text"), xmlText("bb"));
    e->SetProp(xmlText("new"), xmlText("<"));
    EXPECT_EQ(e->Text(), xmlText("text=\"bb\" pos=\"1:2\" new=\"&#60;\""));
    EXPECT_EQ(f->Text(), xmlText("text=\"a\" pos=\"1:2\""));
    TfsXMLItem::Destroy(f);
    EXPECT_EQ(doc.Root()->Count(), 1);
    auto* heap = new TfsXMLItem;
    doc.Root()->AddItem(heap); // an element from the heap is destroyed as such
    EXPECT_FALSE(heap->InPool());
    doc.Clear();
    EXPECT_EQ(doc.Root()->Count(), 0);
}
