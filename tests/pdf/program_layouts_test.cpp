// The program's own reports written as PDF files the way its windows write them: the
// record card ("Scheda informativa") and the finders' list ("Riepilogo dati"), checked by
// qpdf and poppler's tools and drawn by poppler next to the engine's own drawing of the
// same prepared page. With ORV_SCREENS set to a folder the drawings are written there.
#include "pdftools.h"
#include "reports.h"

#include "platform/core/canvas.h"
#include "report/pages/previewpages.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace orv::pdf;
using namespace orv::report;

using namespace orv::pdf::test;

namespace {

// The exporter of the customer and article cards as the windows hold it.
void cardExporter(TfrxPDFExport& pdf)
{
    pdf.SetShowDialog(false);
    pdf.SetShowProgress(false);
    pdf.SetCompressed(false);
    pdf.SetEmbedFontsIfProtected(false);
    pdf.SetPrintOptimized(true);
    pdf.SetTitle(QStringLiteral("Scheda informativa"));
    pdf.SetSubject(QStringLiteral("Scheda informativa"));
    pdf.SetAuthor(QStringLiteral("Dorvane Software"));
    pdf.SetCreator(QStringLiteral("Dorvane Software"));
}

// The job-sheet exporter differs in its compressed streams.
void compressedExporter(TfrxPDFExport& pdf)
{
    cardExporter(pdf);
    pdf.SetCompressed(true);
}

class ProgramLayoutTest : public ReportTest {
protected:
    QTemporaryDir folder;

    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }

    // Prepares and exports into a file as the windows do; true when the export succeeded.
    bool exportFile(TfrxReport& report, const QString& file, void (*setup)(TfrxPDFExport&))
    {
        EXPECT_TRUE(report.PrepareReport(true)) << report.Errors()->Text().toStdString();
        TfrxPDFExport pdf;
        setup(pdf);
        pdf.SetFileName(file);
        return report.Export(&pdf);
    }

    // The engine's drawing of a prepared page at 96 pixels per inch.
    static QImage engineDrawing(TfrxReport& report, int index)
    {
        auto& pages = static_cast<TfrxPreviewPages&>(*report.PreviewPages());
        const QPoint size = pages.GetPageSize(index);
        QImage image(size.x(), size.y(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        orv::platform::Canvas canvas(&painter);
        pages.DrawPage(index, &canvas, 1, 1, 0, 0);
        return image;
    }

    // Whether a tool's output holds the text, blanks compared as one.
    static bool holds(const ToolResult& r, const QString& text) { return r.output.simplified().contains(text.simplified()); }

    static void keep(const QImage& image, const QString& name)
    {
        const QString screens = qEnvironmentVariable("ORV_SCREENS");
        if (!screens.isEmpty())
            image.save(QDir(screens).filePath(name));
    }

    // The PDF page as poppler draws it matches the engine's drawing of the page: every
    // text, line, fill and picture in the same place.
    void expectSameDrawing(TfrxReport& report, const QString& file, int index, const QString& name)
    {
        const QImage pdf = renderPage(file, index + 1, 96);
        const QImage engine = engineDrawing(report, index);
        ASSERT_FALSE(pdf.isNull());
        ASSERT_EQ(pdf.size(), engine.size());
        keep(pdf, name + QStringLiteral("_pdf.png"));
        keep(engine, name + QStringLiteral("_engine.png"));
        const double differs = mismatch(pdf, engine);
        if (differs > 0.001)
            keep(mismatchPicture(pdf, engine), name + QStringLiteral("_differences.png"));
        EXPECT_LT(differs, 0.001) << name.toStdString();
    }
};

} // namespace

TEST_F(ProgramLayoutTest, CardPassesTheCheckersAndMatchesTheEngineDrawing)
{
    if (!haveTools())
        GTEST_SKIP() << "qpdf and poppler-utils are not installed";
    auto report = makeCardReport();
    const QString file = path(QStringLiteral("Cliente.pdf"));
    ASSERT_TRUE(exportFile(*report, file, cardExporter)) << errorBoxes.join(u'\n').toStdString();

    const ToolResult check = runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), file});
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();

    // Arial is served by a stand-in face here, so it travels with the file as a subset.
    const ToolResult fonts = runTool(QStringLiteral("pdffonts"), {file});
    EXPECT_TRUE(fonts.output.contains(QRegularExpression(QStringLiteral("[A-Z]{6}\\+Arial +CID TrueType +"
                                                                        "Identity-H +yes yes yes"))))
        << fonts.output.toStdString();

    const ToolResult text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    for (const char* expected :
         {"SCHEDA ANAGRAFICA CLIENTE", "Modalità pagamento:", "Bonifico bancario", "Saldo: à è € 1.234,00",
          "Chiamare prima [DATE] (città)", "Scadenza:", "Stampa eseguita in data 05/12/2021 alle ore 14:30:00"})
        EXPECT_TRUE(holds(text, QString::fromUtf8(expected))) << expected << "\n" << text.output.toStdString();

    const ToolResult info = runTool(QStringLiteral("pdfinfo"), {file});
    EXPECT_TRUE(holds(info, QStringLiteral("Title: Scheda informativa"))) << info.output.toStdString();
    EXPECT_TRUE(holds(info, QStringLiteral("Author: Dorvane Software")));
    EXPECT_TRUE(holds(info, QStringLiteral("Page size: 595.28 x 841.89 pts (A4)")));

    expectSameDrawing(*report, file, 0, QStringLiteral("scheda_informativa"));
}

TEST_F(ProgramLayoutTest, ListPassesTheCheckersOnEveryPageCompressedOrNot)
{
    if (!haveTools())
        GTEST_SKIP() << "qpdf and poppler-utils are not installed";
    auto report = makeListReport(60);
    for (auto setup : {cardExporter, compressedExporter}) {
        const QString file = path(setup == cardExporter ? QStringLiteral("plain.pdf") : QStringLiteral("packed.pdf"));
        ASSERT_TRUE(exportFile(*report, file, setup)) << errorBoxes.join(u'\n').toStdString();
        const ToolResult check = runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), file});
        EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
        const ToolResult text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        EXPECT_TRUE(holds(text, QStringLiteral("Elenco clienti")));
        for (int line : {1, 37, 60})
            EXPECT_TRUE(holds(text, QStringLiteral("%1 ROSSI MARIO %2 VIA ROMA %2 SALUZZO (CN) à è € 1.234,00")
                                        .arg(line, 4, 10, QChar(u'0'))
                                        .arg(line)))
                << line;
        EXPECT_TRUE(holds(text, QStringLiteral("Stampa eseguita in data 05/12/2021")));
    }
    QFile plain(path(QStringLiteral("plain.pdf"))), packed(path(QStringLiteral("packed.pdf")));
    EXPECT_LT(packed.size(), plain.size() / 2);

    const int pages = report->PreviewPages()->Count();
    ASSERT_EQ(pages, 2);
    for (int i = 0; i < pages; ++i)
        expectSameDrawing(*report, path(QStringLiteral("packed.pdf")), i, QStringLiteral("riepilogo_dati_%1").arg(i + 1));
}
