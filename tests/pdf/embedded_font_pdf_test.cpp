// Subset fonts embedded in a minimal PDF written here, checked by the tools readers use.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <zlib.h>

#include "pdf/pdffont.h"

using namespace orv::pdf;

namespace {

struct EmbeddedToolResult {
    int exitCode = -1;
    QString output;
};

EmbeddedToolResult runFontTool(const QString& program, const QStringList& args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(60000))
        return {-1, program + QStringLiteral(" did not run")};
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

QByteArray deflate(const QByteArray& data)
{
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
              uLong(data.size()), 1);
    out.truncate(qsizetype(size));
    return out;
}

QByteArray hex4(unsigned v) { return QByteArray::number(v, 16).toUpper().rightJustified(4, '0'); }

// Objects numbered in the order they are added; the file is assembled at the end.
class MiniPdf {
public:
    int reserve()
    {
        m_objects.append(QByteArray());
        return int(m_objects.size());
    }
    void set(int number, const QByteArray& body) { m_objects[number - 1] = body; }
    int add(const QByteArray& body)
    {
        const int n = reserve();
        set(n, body);
        return n;
    }
    int addStream(const QByteArray& dictionary, const QByteArray& data)
    {
        return add("<< " + dictionary + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data +
                   "\nendstream");
    }
    QByteArray file(int root) const
    {
        QByteArray out = "%PDF-1.5\n%\xe2\xe3\xcf\xd3\n";
        QList<qsizetype> offsets;
        for (int i = 0; i < m_objects.size(); ++i) {
            offsets << out.size();
            out += QByteArray::number(i + 1) + " 0 obj\n" + m_objects[i] + "\nendobj\n";
        }
        const qsizetype xref = out.size();
        out += "xref\n0 " + QByteArray::number(m_objects.size() + 1) + "\n0000000000 65535 f \n";
        for (qsizetype o : offsets)
            out += QByteArray::number(o).rightJustified(10, '0') + " 00000 n \n";
        out += "trailer\n<< /Size " + QByteArray::number(m_objects.size() + 1) + " /Root " +
               QByteArray::number(root) + " 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
        return out;
    }

private:
    QList<QByteArray> m_objects;
};

// A composite font with its widths, text map and font file, in the font's own metrics
// scaled to thousandths of an em.
int addFont(MiniPdf& pdf, const TfrxPDFFont& font, const QByteArray& fontFile)
{
    const QByteArray name = font.GetFontName();
    const OutlineTextMetric& m = font.TextMetric;
    auto scaled = [&](int v) { return QByteArray::number(v * 1000 / int(m.otmEMSquare)); };
    const int file = pdf.addStream("/Filter /FlateDecode /Length1 " + QByteArray::number(fontFile.size()),
                                   deflate(fontFile));
    const int descriptor = pdf.add(
        "<< /Type /FontDescriptor /FontName /" + name + " /Flags 32 /FontBBox [-1000 -500 2000 1200]" +
        " /ItalicAngle " + QByteArray::number(m.otmItalicAngle / 10) + " /Ascent " + scaled(m.otmAscent) +
        " /Descent " + scaled(m.otmDescent) + " /CapHeight " + scaled(m.otmAscent) + " /StemV 80 /FontFile2 " +
        QByteArray::number(file) + " 0 R >>");
    QByteArray widths, map;
    for (qsizetype i = 0; i < font.UsedAlphabet.size(); ++i) {
        widths += QByteArray::number(font.UsedAlphabet[i]) + " [" + QByteArray::number(font.Widths[i]) + "] ";
        map += "<" + hex4(font.UsedAlphabet[i]) + "> <" + hex4(font.UsedAlphabetUnicode[i]) + ">\n";
    }
    const int cidFont = pdf.add(
        "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
        " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor " +
        QByteArray::number(descriptor) + " 0 R /W [ " + widths + "] /CIDToGIDMap /Identity >>");
    const QByteArray cmap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                            "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                            "/CMapName /" + QByteArray(name).replace(',', '+') + " def\n/CMapType 2 def\n"
                            "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n" +
                            QByteArray::number(font.UsedAlphabet.size()) + " beginbfchar\n" + map +
                            "endbfchar\nendcmap\nCMapName currentdict /CMap defineresource pop\nend\nend";
    const int toUnicode = pdf.addStream("", cmap);
    return pdf.add("<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                   " /Encoding /Identity-H /DescendantFonts [" + QByteArray::number(cidFont) +
                   " 0 R] /ToUnicode " + QByteArray::number(toUnicode) + " 0 R >>");
}

struct Sample {
    QString family;
    std::unique_ptr<TfrxPDFFont> font;
    QList<QList<std::uint16_t>> lines;
    QByteArray wholeFile;
};

const QStringList kLines = {QStringLiteral("Totale à è € 1.234,00"),
                            QStringLiteral("Più però così: perché l'IVA è al 22%")};

QByteArray writePdf(const std::vector<Sample>& samples, bool subset)
{
    MiniPdf pdf;
    const int pages = pdf.reserve();
    QByteArray fonts, content;
    int y = 780;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const Sample& s = samples[i];
        const int ref = addFont(pdf, *s.font, subset ? s.font->FontData : s.wholeFile);
        fonts += "/F" + QByteArray::number(qulonglong(i)) + " " + QByteArray::number(ref) + " 0 R ";
        for (const auto& glyphs : s.lines) {
            QByteArray hex;
            for (std::uint16_t g : glyphs)
                hex += hex4(g);
            content += "BT /F" + QByteArray::number(qulonglong(i)) + " 14 Tf 40 " + QByteArray::number(y) +
                       " Td <" + hex + "> Tj ET\n";
            y -= 30;
        }
    }
    const int contents = pdf.addStream("", content);
    const int page = pdf.add("<< /Type /Page /Parent " + QByteArray::number(pages) +
                             " 0 R /MediaBox [0 0 595 842] /Resources << /Font << " + fonts +
                             ">> >> /Contents " + QByteArray::number(contents) + " 0 R >>");
    pdf.set(pages, "<< /Type /Pages /Kids [" + QByteArray::number(page) + " 0 R] /Count 1 >>");
    return pdf.file(pdf.add("<< /Type /Catalog /Pages " + QByteArray::number(pages) + " 0 R >>"));
}

class EmbeddedFontPdf : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const QString& family : {QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")}) {
            Sample s{family, std::make_unique<TfrxPDFFont>(PdfSourceFont{family, {}}), {}, {}};
            s.font->FillOutlineTextMetrix();
            for (const QString& line : kLines)
                s.lines << s.font->RemapString(line);
            s.wholeFile = s.font->FontData;
            s.font->PackFontFile();
            samples.push_back(std::move(s));
        }
    }

    QString save(const QString& name, const QByteArray& data)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return path;
    }

    QTemporaryDir dir;
    std::vector<Sample> samples;
};

} // namespace

TEST_F(EmbeddedFontPdf, ReadersAcceptTheSubsetsAndGetTheTextBack)
{
    const QString path = save(QStringLiteral("subset.pdf"), writePdf(samples, true));

    const EmbeddedToolResult check = runFontTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();

    const EmbeddedToolResult fonts = runFontTool(QStringLiteral("pdffonts"), {path});
    ASSERT_EQ(fonts.exitCode, 0) << fonts.output.toStdString();
    const QStringList rows = fonts.output.split(u'\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_EQ(rows.size(), 2) << fonts.output.toStdString();
    for (const QString& row : rows) {
        const QStringList cells = row.simplified().split(u' ');
        // name, type "CID TrueType", encoding, emb, sub, uni, object, generation
        EXPECT_TRUE(row.contains(QStringLiteral("CID TrueType"))) << row.toStdString();
        EXPECT_TRUE(row.contains(QStringLiteral("Identity-H"))) << row.toStdString();
        ASSERT_GE(cells.size(), 8);
        EXPECT_EQ(cells[cells.size() - 5], u"yes") << "embedded: " << row.toStdString();
        EXPECT_EQ(cells[cells.size() - 3], u"yes") << "text map: " << row.toStdString();
    }
    EXPECT_TRUE(rows[0].startsWith(u"Arial ")) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].startsWith(u"DejaVu Sans ")) << rows[1].toStdString();

    const EmbeddedToolResult text =
        runFontTool(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    ASSERT_EQ(text.exitCode, 0) << text.output.toStdString();
    for (const QString& line : kLines)
        EXPECT_EQ(text.output.count(line), 2) << line.toStdString() << "\n" << text.output.toStdString();
}

TEST_F(EmbeddedFontPdf, SubsetsDrawExactlyLikeTheWholeFonts)
{
    // Same page, once with the whole font files and once with the subsets: the rendered
    // pixels are the same, so every outline the text needs survived the subsetting.
    const QString whole = save(QStringLiteral("whole.pdf"), writePdf(samples, false));
    const QString subset = save(QStringLiteral("subset.pdf"), writePdf(samples, true));
    QByteArray pixels[2];
    int i = 0;
    for (const QString& path : {whole, subset}) {
        const QString out = dir.filePath(QStringLiteral("page%1").arg(i));
        const EmbeddedToolResult r = runFontTool(QStringLiteral("pdftoppm"),
                                     {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"),
                                      QStringLiteral("-singlefile"), path, out});
        ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
        QFile f(out + QStringLiteral(".pgm"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        pixels[i++] = f.readAll();
    }
    EXPECT_EQ(pixels[0], pixels[1]);
    // A binary grey map: three header lines, then one byte per pixel.
    qsizetype at = 0;
    for (int line = 0; line < 3; ++line)
        at = pixels[1].indexOf('\n', at) + 1;
    const QByteArray page = pixels[1].mid(at);
    const auto dark = std::count_if(page.begin(), page.end(), [](char p) { return std::uint8_t(p) < 128; });
    EXPECT_GT(dark, 500) << "the text was not drawn";
}
