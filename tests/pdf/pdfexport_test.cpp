// The document the PDF writer makes of prepared pages: its object structure, the page
// content of text and lines, the document information, catalog and trailer, the
// switches that change them, and the failures it reports.
#include "fontbuilder.h"
#include "pdftools.h"
#include "reports.h"

#include "pdf/pdfsyntax.h"
#include "report/base/resources.h"
#include "platform/core/fontlookup.h"
#include "platform/ui/services.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace orv::pdf;
using namespace orv::report;

using namespace orv::pdf::test;

namespace {

QByteArray lines(std::initializer_list<const char*> items)
{
    QByteArray out;
    for (const char* i : items)
        out += QByteArray(i) + "\r\n";
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

TEST_F(PdfExportTest, SettingsOfANewFilter)
{
    TfrxPDFExport pdf;
    EXPECT_TRUE(pdf.Compressed());
    EXPECT_FALSE(pdf.EmbeddedFonts());
    EXPECT_TRUE(pdf.EmbedFontsIfProtected());
    EXPECT_TRUE(pdf.HTMLTags());
    EXPECT_EQ(pdf.Quality(), 95);
    EXPECT_EQ(pdf.Author(), QStringLiteral("Orvanta"));
    EXPECT_EQ(pdf.Subject(), QStringLiteral("Orvanta PDF export"));
    EXPECT_TRUE(pdf.ShowDialog());
    EXPECT_EQ(pdf.GetDescription(), QStringLiteral("PDF file"));
    EXPECT_EQ(pdf.FilterDesc, QStringLiteral("Adobe PDF file (*.pdf)|*.pdf"));
    EXPECT_EQ(pdf.DefaultExt, QStringLiteral(".pdf"));
    // The permission value follows the flags.
    EXPECT_EQ(pdf.EncBits(), -4);
    pdf.SetProtectionFlags({});
    EXPECT_EQ(pdf.EncBits(), -64);
    pdf.SetProtectionFlags({ePrint, eCopy});
    EXPECT_EQ(pdf.EncBits(), -64 + 4 + 16);
    // The properties are published for the window's stored settings.
    const auto* prop = pdf.classInfo().findProperty(QStringLiteral("EmbedFontsIfProtected"));
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(prop->defaultValue, 1);
}

TEST(PdfExportTexts, AreThereFromTheStartWithoutAnyFilter)
{
    // No filter is made here: the texts come with the program's start.
    const std::pair<const char*, const char*> texts[] = {
        {"PDFexport", "PDF file"},
        {"8700", "Export to PDF"},
        {"8707", "Adobe PDF file (*.pdf)|*.pdf"},
        {"8708", ".pdf"},
        {"8979", "Authentification"},
        {"8988", "Print scaling"},
    };
    for (const auto& [name, text] : texts)
        EXPECT_EQ(frxStringResources()->Get(QString::fromLatin1(name)), QString::fromLatin1(text)) << name;
}

TEST_F(PdfExportTest, NoPagesAreAnErrorAndLeaveNoFile)
{
    // A page tree without pages is a file readers reject: the export fails instead, and
    // neither a new file nor a half-written one is left; a file already there stays.
    QTemporaryDir dir;
    auto report = makeExampleReport();
    ASSERT_TRUE(report->PrepareReport(true));
    TfrxPDFExport pdf;
    pdf.SetShowDialog(false);
    pdf.PageNumbers = QStringLiteral("9"); // selects no prepared page
    const QString fresh = QDir(dir.path()).filePath(QStringLiteral("Vuoto.pdf"));
    pdf.SetFileName(fresh);
    EXPECT_FALSE(report->Export(&pdf));
    ASSERT_EQ(errorBoxes.size(), 1);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("Il report non ha pagine da esportare"))) << errorBoxes[0].toStdString();
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());

    const QString kept = QDir(dir.path()).filePath(QStringLiteral("Vecchio.pdf"));
    QFile old(kept);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    pdf.SetFileName(kept);
    EXPECT_FALSE(report->Export(&pdf));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Vecchio.pdf")});
}

TEST_F(PdfExportTest, FontDescriptorsCarryTheFacesOwnMetrics)
{
    // Box, cap height, ascent, descent and pitch as the face's own tables state them, in
    // thousandths of an em: a reader that draws a stand-in font sizes it from these.
    auto report = makeReport();
    addMemo(firstPage(*report), QStringLiteral("Memo1"), 0, 0, 300, 20, QStringLiteral("Totale"));
    TfrxMemoView* mono = addMemo(firstPage(*report), QStringLiteral("Memo2"), 0, 40, 300, 20, QStringLiteral("Totale"));
    mono->Font()->SetName(QStringLiteral("Courier New"));
    const PdfFile file(exportToMemory(*report));
    ASSERT_EQ(file.check(), QString());
    const QList<int> descriptors = file.objectsWith("/Type /FontDescriptor\r\n");
    ASSERT_EQ(descriptors.size(), 2);
    const char* families[] = {"Arial", "Courier New"};
    for (int i = 0; i < 2; ++i) {
        using testfont::be16;
        // The face the system serves for the family, stand-in or not.
        const auto served = orv::platform::findTrueTypeFace(orv::platform::FontRequest::of(QString::fromLatin1(families[i]), false, false));
        ASSERT_TRUE(served);
        ASSERT_EQ(served->faceIndex, 0);
        const QByteArray face = served->data;
        const auto tables = testfont::tableDirectory(face);
        const std::uint32_t head = tables.at("head").offset, hhea = tables.at("hhea").offset;
        const std::uint32_t os2 = tables.at("OS/2").offset, post = tables.at("post").offset;
        const double em = be16(face, head + 18);
        const auto units = [em](std::uint16_t v) { return QByteArray::number(std::lround(std::int16_t(v) * 1000 / em)); };
        const bool fixed = testfont::be32(face, post + 12) != 0;
        EXPECT_EQ(fixed, i == 1);
        const QByteArray d = file.dictionary(descriptors[i]);
        EXPECT_TRUE(d.contains(QByteArray("/FontFamily (") + families[i] + ")\r\n")) << d.toStdString();
        EXPECT_TRUE(d.contains(fixed ? "/Flags 33\r\n" : "/Flags 32\r\n")) << d.toStdString();
        EXPECT_TRUE(d.contains("/FontBBox [" + units(be16(face, head + 36)) + ' ' + units(be16(face, head + 38)) + ' ' +
                               units(be16(face, head + 40)) + ' ' + units(be16(face, head + 42)) + " ]\r\n"))
            << d.toStdString();
        EXPECT_TRUE(d.contains("/Ascent " + units(be16(face, hhea + 4)) + "\r\n")) << d.toStdString();
        EXPECT_TRUE(d.contains("/Descent " + units(be16(face, hhea + 6)) + "\r\n")) << d.toStdString();
        EXPECT_TRUE(d.contains("/CapHeight " + units(be16(face, os2 + 88)) + "\r\n")) << d.toStdString();
        EXPECT_LT(be16(face, os2 + 88), be16(face, hhea + 4));
    }
}

TEST_F(PdfExportTest, FontsFoundUnderTheirOwnNameTravelWithTheFileToo)
{
    // Text is written as glyph ids of the face found here, which only this face's own
    // file draws right: so it is embedded as a subset whatever the embedding switch says.
    auto report = makeReport();
    addMemo(firstPage(*report), QStringLiteral("Memo1"), 0, 0, 300, 20, QStringLiteral("Totale"))
        ->Font()
        ->SetName(QStringLiteral("DejaVu Sans"));
    const QByteArray bytes = exportToMemory(*report, [](TfrxPDFExport& pdf) { pdf.SetEmbeddedFonts(false); });
    const PdfFile file(bytes);
    ASSERT_EQ(file.check(), QString());
    const QList<int> descriptors = file.objectsWith("/Type /FontDescriptor\r\n");
    ASSERT_EQ(descriptors.size(), 1);
    const QByteArray d = file.dictionary(descriptors[0]);
    EXPECT_TRUE(QString::fromLatin1(d).contains(QRegularExpression(QStringLiteral("/FontName /[A-Z]{6}\\+DejaVu#20Sans\r\n"))))
        << d.toStdString();
    const int fontFile = PdfFile::reference(d, "/FontFile2");
    ASSERT_GT(fontFile, 0) << d.toStdString();
    EXPECT_FALSE(file.stream(fontFile).isEmpty());
    if (!haveTools())
        return;
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("dejavu.pdf"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    const ToolResult fonts = runTool(QStringLiteral("pdffonts"), {path});
    EXPECT_TRUE(fonts.output.contains(QRegularExpression(QStringLiteral("\\+DejaVu Sans +CID TrueType +Identity-H +yes yes yes"))))
        << fonts.output.toStdString();
    EXPECT_FALSE(fonts.output.contains(QStringLiteral("Error"))) << fonts.output.toStdString();
}

TEST_F(PdfExportTest, CompressedStreamsKeepTheirPlainLength)
{
    auto report = makeExampleReport();
    const PdfFile plain(exportToMemory(*report, [](TfrxPDFExport& pdf) { pdf.SetCompressed(false); }));
    const PdfFile packed(exportToMemory(*report, [](TfrxPDFExport& pdf) { pdf.SetCompressed(true); }));
    ASSERT_EQ(packed.check(), QString());
    const QByteArray content = packed.dictionary(2);
    const QByteArray raw = packed.rawStream(2);
    EXPECT_EQ(content, "2 0 obj\r\n<< /Filter /FlateDecode /Length " + QByteArray::number(raw.size()) +
                           " /Length1 181 >>\r\n");
    EXPECT_EQ(packed.pageContent(0), plain.pageContent(0));
    EXPECT_TRUE(packed.object(2).contains(raw + "\r\nendstream\r\n"));
    // The text map and the font file are deflated as well.
    const QList<int> maps = packed.objectsWith("  /Filter /FlateDecode /Length1 ");
    ASSERT_EQ(maps.size(), 2) << packed.bytes().left(2000).toStdString();
    for (int n : maps)
        EXPECT_EQ(packed.stream(n).size(), PdfFile::integer(packed.dictionary(n), "/Length1"));
}

TEST_F(PdfExportTest, ViewerPreferencesAndEmptyInformation)
{
    auto report = makeExampleReport();
    const PdfFile file(exportToMemory(*report, [](TfrxPDFExport& pdf) {
        pdf.SetTitle(QString());
        pdf.SetAuthor(QString());
        pdf.SetPrintScaling(true);
        pdf.SetHideToolbar(true);
        pdf.SetHideMenubar(true);
        pdf.SetHideWindowUI(true);
        pdf.SetFitWindow(true);
        pdf.SetCenterWindow(true);
    }));
    const int catalog = PdfFile::reference(file.trailer(), "/Root");
    EXPECT_TRUE(file.object(catalog).endsWith(lines({"/ViewerPreferences <<", "/HideToolbar true", "/HideMenubar true",
                                                     "/HideWindowUI true", "/FitWindow true", "/CenterWindow true",
                                                     ">>", ">>", "endobj"})))
        << file.object(catalog).toStdString();
    const QByteArray info = file.object(PdfFile::reference(file.trailer(), "/Info"));
    EXPECT_TRUE(info.contains("/Title <FEFF>\r\n/Author <FEFF>\r\n"));
}

TEST_F(PdfExportTest, FontsAreListedOnEveryPageFromTheirFirstUse)
{
    auto report = makeReport();
    addMemo(firstPage(*report), QStringLiteral("txtUno"), 0, 0, 200, 20, QStringLiteral("Uno"));
    auto* second = new TfrxReportPage(report.get());
    second->SetName(QStringLiteral("Page2"));
    addMemo(second, QStringLiteral("txtDue"), 0, 0, 200, 20, QStringLiteral("Due"));
    addMemo(second, QStringLiteral("txtTre"), 0, 30, 200, 20, QStringLiteral("Tre"))
        ->Font()->SetName(QStringLiteral("Courier New"));
    const PdfFile file(exportToMemory(*report));
    ASSERT_EQ(file.check(), QString());
    ASSERT_EQ(file.pages().size(), 2);
    const QByteArray page1 = file.dictionary(file.pages()[0]), page2 = file.dictionary(file.pages()[1]);
    const int arial = PdfFile::reference(page1, "/F0");
    EXPECT_FALSE(page1.contains("/F1 "));
    EXPECT_EQ(PdfFile::reference(page2, "/F0"), arial);
    EXPECT_GT(PdfFile::reference(page2, "/F1"), arial);
    EXPECT_EQ(file.objectsWith("/Subtype /Type0").size(), 2);
}

TEST_F(PdfExportTest, TextMapsHoldAtMostAHundredPairsABlock)
{
    QString text;
    for (char16_t c = 0x21; c < 0x21 + 94; ++c)
        text += QChar(c);
    for (char16_t c = 0xC0; c < 0xC0 + 30; ++c)
        text += QChar(c);
    auto report = makeReport();
    addMemo(firstPage(*report), QStringLiteral("txtAll"), 0, 0, 700, 200, text)->SetWordWrap(true);
    const PdfFile file(exportToMemory(*report));
    const QList<int> fonts = file.objectsWith("/Subtype /Type0");
    ASSERT_EQ(fonts.size(), 1);
    const QByteArray map = file.stream(PdfFile::reference(file.dictionary(fonts[0]), "/ToUnicode"));
    EXPECT_TRUE(map.contains("\r\n100 beginbfchar\r\n")) << map.left(600).toStdString();
    EXPECT_TRUE(map.contains("\r\n24 beginbfchar\r\n"));
    EXPECT_EQ(map.count("endbfchar"), 2);
}

TEST_F(PdfExportTest, OutputToACallersStreamStaysOpenAndIsNeverOpened)
{
    struct Shell : orv::platform::ui::ShellService {
        QStringList opened;
        void open(const QString& command) override { opened << command; }
    } shell;
    orv::platform::ui::setShell(&shell);
    auto report = makeExampleReport();
    ASSERT_TRUE(report->PrepareReport(true));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        TfrxPDFExport pdf;
        pdf.SetShowDialog(false);
        pdf.SetOpenAfterExport(true);
        pdf.Stream = &buffer;
        EXPECT_TRUE(report->Export(&pdf));
        EXPECT_TRUE(buffer.isOpen());
        EXPECT_TRUE(shell.opened.isEmpty());

        // To a file, the file is handed to the desktop once written.
        QTemporaryDir dir;
        pdf.Stream = nullptr;
        pdf.SetFileName(QStringLiteral("Preventivo.pdf"));
        pdf.SetDefaultPath(dir.path());
        EXPECT_TRUE(report->Export(&pdf));
        const QString written = QDir(dir.path()).filePath(QStringLiteral("Preventivo.pdf"));
        EXPECT_TRUE(QFile::exists(written));
        EXPECT_EQ(shell.opened, QStringList{u'"' + written + u'"'});
    }
    orv::platform::ui::setShell(nullptr);
}

TEST_F(PdfExportTest, AFileThatCannotBeCreatedIsReportedAndNothingElseHappens)
{
    QTemporaryDir dir;
    auto report = makeExampleReport();
    ASSERT_TRUE(report->PrepareReport(true));
    TfrxPDFExport pdf;
    pdf.SetShowDialog(false);
    const QString missing = QDir(dir.path()).filePath(QStringLiteral("manca/Cliente.pdf"));
    pdf.SetFileName(missing);
    EXPECT_FALSE(report->Export(&pdf));
    ASSERT_EQ(errorBoxes.size(), 1);
    EXPECT_TRUE(errorBoxes[0].startsWith(QStringLiteral("The following error(s) have occured:\r\nCannot create file \"") +
                                         missing + u'"'))
        << errorBoxes[0].toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    // Without a file name and a stream nothing is written and nothing is told.
    errorBoxes.clear();
    pdf.SetFileName(QString());
    EXPECT_FALSE(report->Export(&pdf));
    EXPECT_TRUE(errorBoxes.isEmpty());

    // A later export to a good name works with the same filter and replaces the file.
    const QString good = QDir(dir.path()).filePath(QStringLiteral("Cliente.pdf"));
    QFile old(good);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    pdf.SetFileName(good);
    EXPECT_TRUE(report->Export(&pdf));
    QFile written(good);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(PdfFile(written.readAll()).check(), QString());
}

TEST_F(PdfExportTest, ProtectedDocumentsOpenWithTheirPasswords)
{
    if (!haveTools())
        GTEST_SKIP() << "qpdf and poppler-utils are not installed";
    QTemporaryDir dir;
    auto report = makeCardReport();
    ASSERT_TRUE(report->PrepareReport(true));
    struct Case {
        QString user, owner;
        TfrxPDFEncBits flags;
        int permission;
    };
    const Case cases[] = {
        {QStringLiteral("utente"), QStringLiteral("padrone"), {ePrint, eModify, eCopy, eAnnot}, -4},
        {QStringLiteral("utente"), QString(), {}, -64},
        {QString(), QStringLiteral("padrone"), {ePrint}, -60},
    };
    for (const Case& k : cases) {
        const QString file = QDir(dir.path()).filePath(QStringLiteral("protetto.pdf"));
        TfrxPDFExport pdf;
        pdf.SetShowDialog(false);
        pdf.SetCompressed(false);
        pdf.SetUserPassword(k.user);
        pdf.SetOwnerPassword(k.owner);
        pdf.SetProtectionFlags(k.flags);
        pdf.SetEmbedFontsIfProtected(false);
        pdf.SetEmbeddedFonts(true);
        pdf.SetTitle(QString::fromUtf8("Scheda è informativa"));
        pdf.SetFileName(file);
        ASSERT_TRUE(report->Export(&pdf));
        // An empty owner password takes the user password; the embedding follows the
        // setting for protected documents.
        EXPECT_EQ(pdf.OwnerPassword(), k.owner.isEmpty() ? k.user : k.owner);
        EXPECT_FALSE(pdf.EmbeddedFonts());

        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const PdfFile parsed(f.readAll());
        ASSERT_EQ(parsed.check(), QString());
        EXPECT_EQ(PdfFile::integer(parsed.trailer(), "/P"), k.permission);
        EXPECT_TRUE(parsed.trailer().contains("/Filter /Standard\r\n/V 2\r\n/R 3\r\n/Length 128\r\n"));
        EXPECT_FALSE(parsed.bytes().contains("/Title <FEFF"));

        const std::pair<QString, QString> openings[] = {{QStringLiteral("-upw"), k.user},
                                                        {QStringLiteral("-opw"), pdf.OwnerPassword()}};
        for (const auto& [option, password] : openings) {
            const ToolResult check =
                runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), QStringLiteral("--password=") + password, file});
            EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
            EXPECT_TRUE(check.output.contains(QStringLiteral("R = 3"))) << check.output.toStdString();
            const ToolResult text = runTool(QStringLiteral("pdftotext"),
                                            {QStringLiteral("-layout"), option, password, file, QStringLiteral("-")});
            EXPECT_TRUE(text.output.contains(QString::fromUtf8("Saldo: à è € 1.234,00"))) << text.output.toStdString();
            const ToolResult info = runTool(QStringLiteral("pdfinfo"), {option, password, file});
            EXPECT_TRUE(info.output.simplified().contains(QString::fromUtf8("Title: Scheda è informativa")))
                << info.output.toStdString();
            EXPECT_TRUE(info.output.contains(QStringLiteral("CreationDate:    Sun Dec  5 14:30:00 2021")))
                << info.output.toStdString();
        }
        if (!k.user.isEmpty()) {
            const ToolResult locked = runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), file});
            EXPECT_NE(locked.exitCode, 0);
        }
    }
}
