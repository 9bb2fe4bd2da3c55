// The document the PDF writer makes of prepared pages: its object structure, the page
// content of text and lines, the document information, catalog and trailer, the
// switches that change them, and the failures it reports.
#include "pdftools.h"
#include "reports.h"

#include "pdf/pdfsyntax.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace orv::pdf::test;

namespace {

QByteArray lines(std::initializer_list<const char*> items)
{
    QByteArray out;
    for (const char* i : items)
        out += QByteArray(i) + "\r\n";
    return out;
}

// The dictionary lines of the objects of one type, in number order.
QList<QByteArray> objectsOfType(const PdfFile& file, const QByteArray& type)
{
    QList<QByteArray> out;
    for (int n : file.objectsWith("/Type " + type + "\r\n"))
        out.append(file.dictionary(n));
    return out;
}

} // namespace

using PdfExportTest = ReportTest;

TEST_F(PdfExportTest, WorkedExampleGivesItsObjectsAndPageContent)
{
    auto report = makeExampleReport();
    const QByteArray bytes = exportToMemory(*report, [](TfrxPDFExport& pdf) {
        pdf.SetCompressed(false);
        pdf.SetTitle(QStringLiteral("Fattura"));
        pdf.SetSubject(QStringLiteral("Fattura"));
        pdf.SetAuthor(QStringLiteral("Orvanta"));
        pdf.SetCreator(QStringLiteral("Dorvane Software"));
    });
    const PdfFile file(bytes);
    ASSERT_EQ(file.check(), QString());
    ASSERT_EQ(file.pages().size(), 1);

    // Object 1 is the page tree; the content stream comes first, then the page.
    EXPECT_EQ(file.object(1), lines({"1 0 obj", "<<", "/Type /Pages", "/Kids [4 0 R ]", "/Count 1", ">>", "endobj"}));
    EXPECT_EQ(file.object(2).left(23), QByteArray("2 0 obj\r\n<< /Length 181"));
    // The text stands where the memo lays it out: the text rectangle's left edge and the
    // face's baseline below its top (44 and 43 pixels from the paper's corner).
    EXPECT_EQ(file.pageContent(0), lines({"q", "30.93 795.29 284.96 15.67 re", "W", "n", "/F0 10 Tf", "0 0 0 rg", "BT",
                                          "33.50 800.09 Td", "<0037005200570044004F0048> Tj", "ET", "Q", "[] 0 d",
                                          "0 0 0 RG", "0.75 w", "31.68 787.53 m", "315.15 787.53 l", "S"}));
    EXPECT_EQ(file.object(4), lines({"4 0 obj", "<<", "/Type /Page", "/Parent 1 0 R", "/MediaBox [0 0 595.28 841.89 ]",
                                     "/Resources <<", "/Font << /F0 3 0 R >>", "/ProcSet [/PDF /Text /ImageC ]", ">>",
                                     "/Contents 2 0 R", ">>", "endobj"}));

    // The font: composite, Identity-H, with its descendant, descriptor and text map.
    const QByteArray font = file.dictionary(3);
    EXPECT_TRUE(font.contains("/Subtype /Type0\r\n")) << font.toStdString();
    EXPECT_TRUE(font.contains("/Encoding /Identity-H\r\n"));
    const int descendant = PdfFile::reference(font, "/DescendantFonts [");
    const int toUnicode = PdfFile::reference(font, "/ToUnicode");
    const QByteArray cid = file.dictionary(descendant);
    EXPECT_TRUE(cid.contains("/Subtype /CIDFontType2\r\n"));
    EXPECT_TRUE(cid.contains("/W [ 55 [611] 82 [556] 87 [278] 68 [556] 79 [222] 72 [556] ]\r\n")) << cid.toStdString();
    const QByteArray map = file.stream(toUnicode);
    EXPECT_EQ(map.size(), 442);
    EXPECT_TRUE(map.contains("6 beginbfchar\r\n<0037> <0054>\r\n<0052> <006F>\r\n<0057> <0074>\r\n<0044> <0061>\r\n"
                             "<004F> <006C>\r\n<0048> <0065>\r\nendbfchar\r\n"));
    EXPECT_TRUE(map.contains("/CMapName /Arial def\r\n"));
    const QByteArray descriptor = file.dictionary(PdfFile::reference(cid, "/FontDescriptor"));
    EXPECT_TRUE(descriptor.contains("/Flags 32\r\n"));
    EXPECT_TRUE(descriptor.contains("/FontFamily (Arial)\r\n"));
    // Metrics in thousandths of an em (Liberation Sans: 1854 and -434 of 2048).
    EXPECT_TRUE(descriptor.contains("/Ascent 905\r\n")) << descriptor.toStdString();
    EXPECT_TRUE(descriptor.contains("/Descent -212\r\n"));
    EXPECT_TRUE(descriptor.contains("/StemV 50\r\n"));
    EXPECT_TRUE(descriptor.contains("/ItalicAngle 0\r\n"));

    const QByteArray info = file.object(PdfFile::reference(file.trailer(), "/Info"));
    EXPECT_TRUE(info.endsWith(lines({"<<", "/Title <FEFF0046006100740074007500720061>",
                                     "/Author <FEFF004F007200760061006E00740061>",
                                     "/Subject <FEFF0046006100740074007500720061>", "/Keywords <FEFF>",
                                     "/Creator <FEFF0044006F007200760061006E006500200053006F0066007400770061007200"
                                     "65>",
                                     "/Producer <FEFF>", "/CreationDate (D:20211205143000)",
                                     "/ModDate (D:20211205143000)", ">>", "endobj"})))
        << info.toStdString();
    const int catalog = PdfFile::reference(file.trailer(), "/Root");
    EXPECT_EQ(catalog, file.objectCount());
    EXPECT_TRUE(file.object(catalog).endsWith(lines({"<<", "/Type /Catalog", "/Pages 1 0 R", "/PageMode /UseNone",
                                                     "/ViewerPreferences <<", "/DisplayDocTitle true",
                                                     "/PrintScaling /None", ">>", ">>", "endobj"})));
    const QRegularExpression id(QStringLiteral("/ID \\[<([0-9a-f]{32})><\\1>\\]\r\n"));
    EXPECT_TRUE(id.match(QString::fromLatin1(file.trailer())).hasMatch()) << file.trailer().toStdString();
}
