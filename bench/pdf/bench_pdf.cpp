// The PDF export against three other PDF writers measured in the same run: QPdfWriter,
// libharu and cairo each draw the same 1,000 A4 pages of 50 list rows (the same texts in
// the same font family, the same ruled line under each row). The export runs plain,
// compressed and RC4-encrypted; each writer's best of three runs is printed with its file
// size, both as ratios to the fastest and to the smallest compressed file. Goal: the
// compressed export the fastest and no larger than the smallest file.
#include "pdf/pdfexport.h"
#include "platform/core/cp1252.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/model/views.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <hpdf.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kPages = 1000;
constexpr int kRows = 50;
constexpr int kRuns = 3;

// Row geometry in report pixels (96 per inch): 5 mm rows across the 190 mm between the
// 10 mm margins of an A4 page.
constexpr double kRowHeight = 18.89764;
constexpr double kRowWidth = 718.1107;
constexpr double kGapX = 2, kGapY = 1;
constexpr double kMargin = 10; // mm
constexpr double kFontSize = 10; // points

constexpr double kMarginPx = kMargin * 3.77953; // prepared pages place objects past the margin

// What the other writers need of the same geometry, in points from the top left corner,
// where the export puts it: a pixel is 0.75 points, and the page's margin adds 0.05
// points per millimetre.
constexpr double kPageWidth = 595.28, kPageHeight = 841.89;
constexpr double kShift = kMargin * 0.05;
constexpr double kAscent = 0.905; // of the face's em, the family's own
double points(double pixels) { return pixels * 0.75 + kShift; }
double textX() { return points(kMarginPx + kGapX); }
double baseline(int row) { return points(kMarginPx + row * kRowHeight + kGapY) + kAscent * kFontSize; }
double ruleY(int row) { return points(kMarginPx + (row + 1) * kRowHeight); }
double ruleLeft() { return points(kMarginPx); }
double ruleRight() { return points(kMarginPx + kRowWidth); }

// The texts are made once, before any writer is timed: composing them would cost every
// writer the same, and more than some of them take to write a row.
const QString& rowText(int page, int row)
{
    static const std::vector<QString> texts = [] {
        std::vector<QString> t;
        t.reserve(std::size_t(kPages * kRows));
        for (int n = 1; n <= kPages * kRows; ++n)
            t.push_back(QStringLiteral("%1  ROSSI MARIO %2  VIA ROMA %3  12037 SALUZZO (CN)  Saldo: %4,%5 € città")
                            .arg(n, 5, 10, QChar(u'0'))
                            .arg(n % 97)
                            .arg(n % 211 + 1)
                            .arg(n % 1000 + 100)
                            .arg(n % 100, 2, 10, QChar(u'0')));
        return t;
    }();
    return texts[std::size_t(page * kRows + row)];
}

// ---------------------------------------------------------------- ours

enum class Mode { Plain, Compressed, Encrypted };

struct OurPages {
    std::unique_ptr<TfrxReport> report = std::make_unique<TfrxReport>();
    TfrxReportPage* page = nullptr;
    std::vector<TfrxMemoView*> memos;
    std::vector<TfrxLineView*> lines;

    OurPages()
    {
        report->SetShowProgress(false);
        page = new TfrxReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        page->SetLeftMargin(kMargin);
        page->SetRightMargin(kMargin);
        page->SetTopMargin(kMargin);
        page->SetBottomMargin(kMargin);
        for (int r = 0; r < kRows; ++r) {
            auto* m = new TfrxMemoView(page);
            m->SetName(QStringLiteral("txtRiga%1").arg(r));
            m->SetBounds(kMarginPx, kMarginPx + r * kRowHeight, kRowWidth, kRowHeight);
            m->SetAllowExpressions(false);
            m->SetWordWrap(false);
            m->Font()->SetName(QStringLiteral("Arial"));
            m->Font()->SetSize(float(kFontSize));
            memos.push_back(m);
            auto* l = new TfrxLineView(page);
            l->SetName(QStringLiteral("linRiga%1").arg(r));
            l->SetBounds(kMarginPx, kMarginPx + (r + 1) * kRowHeight, kRowWidth, 0);
            l->Frame()->SetTyp({ftTop});
            lines.push_back(l);
        }
    }

    // The filter's operations in the export driver's order.
    void write(const QString& file, Mode mode)
    {
        TfrxPDFExport pdf;
        pdf.SetShowDialog(false);
        pdf.SetFileName(file);
        pdf.SetCompressed(mode != Mode::Plain);
        if (mode == Mode::Encrypted)
            pdf.SetUserPassword(QStringLiteral("segreto"));
        if (!pdf.Start())
            qFatal("export did not start");
        for (int p = 0; p < kPages; ++p) {
            for (int r = 0; r < kRows; ++r)
                memos[std::size_t(r)]->SetText(rowText(p, r));
            pdf.StartPage(page, p);
            for (int r = 0; r < kRows; ++r) {
                pdf.ExportObject(memos[std::size_t(r)]);
                pdf.ExportObject(lines[std::size_t(r)]);
            }
            pdf.FinishPage(page, p);
        }
        pdf.Finish();
    }
};

// ---------------------------------------------------------------- peers

void writeQt(const QString& file)
{
    QPdfWriter writer(file);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(72); // one device pixel is one point
    QPainter painter(&writer);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(kFontSize);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 0.75));
    for (int p = 0; p < kPages; ++p) {
        if (p > 0)
            writer.newPage();
        for (int r = 0; r < kRows; ++r) {
            painter.drawText(QPointF(textX(), baseline(r)), rowText(p, r));
            painter.drawLine(QPointF(ruleLeft(), ruleY(r)), QPointF(ruleRight(), ruleY(r)));
        }
    }
    painter.end();
}

QByteArray fontFile(const char* family)
{
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    QByteArray path;
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = reinterpret_cast<const char*>(file);
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return path;
}

void haruError(HPDF_STATUS error, HPDF_STATUS detail, void*) { qFatal("libharu: error %04X (%u)", unsigned(error), unsigned(detail)); }

// With unicode on, libharu writes a composite font with two-byte codes, as the export
// does; otherwise a simple font in the single-byte Windows encoding.
void writeHaru(const QString& file, const QByteArray& ttf, bool unicode)
{
    HPDF_Doc pdf = HPDF_New(haruError, nullptr);
    HPDF_SetCompressionMode(pdf, HPDF_COMP_ALL);
    if (unicode)
        HPDF_UseUTFEncodings(pdf);
    const char* name = HPDF_LoadTTFontFromFile(pdf, ttf.constData(), HPDF_TRUE);
    HPDF_Font font = HPDF_GetFont(pdf, name, unicode ? "UTF-8" : "WinAnsiEncoding");
    for (int p = 0; p < kPages; ++p) {
        HPDF_Page page = HPDF_AddPage(pdf);
        HPDF_Page_SetWidth(page, HPDF_REAL(kPageWidth));
        HPDF_Page_SetHeight(page, HPDF_REAL(kPageHeight));
        HPDF_Page_SetLineWidth(page, 0.75f);
        for (int r = 0; r < kRows; ++r) {
            HPDF_Page_BeginText(page);
            HPDF_Page_SetFontAndSize(page, font, HPDF_REAL(kFontSize));
            HPDF_Page_TextOut(page, HPDF_REAL(textX()), HPDF_REAL(kPageHeight - baseline(r)),
                              (unicode ? rowText(p, r).toUtf8() : orv::cp1252::encode(rowText(p, r))).constData());
            HPDF_Page_EndText(page);
            HPDF_Page_MoveTo(page, HPDF_REAL(ruleLeft()), HPDF_REAL(kPageHeight - ruleY(r)));
            HPDF_Page_LineTo(page, HPDF_REAL(ruleRight()), HPDF_REAL(kPageHeight - ruleY(r)));
            HPDF_Page_Stroke(page);
        }
    }
    HPDF_SaveToFile(pdf, QFile::encodeName(file).constData());
    HPDF_Free(pdf);
}

void writeCairo(const QString& file)
{
    cairo_surface_t* surface = cairo_pdf_surface_create(QFile::encodeName(file).constData(), kPageWidth, kPageHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_select_font_face(cr, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kFontSize);
    cairo_set_line_width(cr, 0.75);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (int p = 0; p < kPages; ++p) {
        for (int r = 0; r < kRows; ++r) {
            cairo_move_to(cr, textX(), baseline(r));
            cairo_show_text(cr, rowText(p, r).toUtf8().constData());
            cairo_move_to(cr, ruleLeft(), ruleY(r));
            cairo_line_to(cr, ruleRight(), ruleY(r));
            cairo_stroke(cr);
        }
        cairo_show_page(cr);
    }
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        qFatal("cairo: %s", cairo_status_to_string(cairo_surface_status(surface)));
    cairo_surface_destroy(surface);
}

// ---------------------------------------------------------------- measuring

struct Writer {
    const char* name;
    bool compressed; // takes part in the comparison of the compressed files
    std::function<void(const QString&)> write;
    double best = 1e9;
    qint64 size = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("no temporary folder");
    const QByteArray ttf = fontFile("Arial");
    if (ttf.isEmpty())
        qFatal("no font file for Arial");

    rowText(0, 0);
    OurPages ours;
    std::vector<Writer> writers = {
        {"ours, plain", false, [&](const QString& f) { ours.write(f, Mode::Plain); }},
        {"ours, compressed", true, [&](const QString& f) { ours.write(f, Mode::Compressed); }},
        {"ours, RC4", true, [&](const QString& f) { ours.write(f, Mode::Encrypted); }},
        {"QPdfWriter", true, writeQt},
        {"libharu, WinAnsi", true, [&](const QString& f) { writeHaru(f, ttf, false); }},
        {"libharu, UTF-8", true, [&](const QString& f) { writeHaru(f, ttf, true); }},
        {"cairo", true, writeCairo},
    };
    // "bench_pdf <n>" runs writer n once alone, for a profiler.
    if (argc > 1) {
        const std::size_t only = std::size_t(QByteArray(argv[1]).toUInt());
        if (only >= writers.size())
            qFatal("no writer %zu", only);
        writers[only].write(dir.filePath(QStringLiteral("only.pdf")));
        return 0;
    }
    // The runs alternate between the writers, so that each sees the same machine.
    for (int run = 0; run < kRuns; ++run) {
        for (std::size_t i = 0; i < writers.size(); ++i) {
            const QString file = dir.filePath(QStringLiteral("w%1.pdf").arg(i));
            QFile::remove(file);
            QElapsedTimer timer;
            timer.start();
            writers[i].write(file);
            writers[i].best = std::min(writers[i].best, double(timer.nsecsElapsed()) / 1e9);
            writers[i].size = QFileInfo(file).size();
        }
    }
    double fastest = 1e9, smallest = 1e18;
    for (const Writer& w : writers)
        if (w.compressed) {
            fastest = std::min(fastest, w.best);
            smallest = std::min(smallest, double(w.size));
        }
    std::printf("%d pages x %d rows, best of %d; ratios to the fastest and to the smallest compressed file\n",
                kPages, kRows, kRuns);
    std::printf("%-18s %9s %7s %10s %7s\n", "writer", "time (s)", "ratio", "size (MB)", "ratio");
    for (const Writer& w : writers)
        std::printf("%-18s %9.3f %7.2f %10.3f %7.2f\n", w.name, w.best, w.best / fastest, double(w.size) / 1e6,
                    double(w.size) / smallest);
    const Writer& compressed = writers[1];
    std::printf("goal: compressed export the fastest (%s) and no larger than the smallest file (%s)\n",
                compressed.best <= fastest ? "met" : "not met", double(compressed.size) <= smallest ? "met" : "not met");
    if (qEnvironmentVariableIsSet("BENCH_PDF_KEEP")) {
        // For a look at the files: copied next to the working folder.
        const QDir keep(qEnvironmentVariable("BENCH_PDF_KEEP"));
        for (std::size_t i = 0; i < writers.size(); ++i) {
            const QString kept = keep.filePath(QStringLiteral("w%1.pdf").arg(i));
            QFile::remove(kept);
            QFile::copy(dir.filePath(QStringLiteral("w%1.pdf").arg(i)), kept);
        }
    }
    return 0;
}
