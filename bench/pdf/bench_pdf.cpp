// The program's PDF path against two other PDF writers in the same run: 1,000 A4 pages of
// 50 list rows (a memo and the ruled line under it) are prepared once, as a data band over
// 50,000 records, and the prepared pages are then exported to a compressed file, as the
// program's export windows do (the pages read back from the prepared report and handed to
// the filter one object at a time). libharu and cairo write the same texts at the same
// places in the same font family. The writer alone (fed the same objects directly,
// without the reading back) runs beside them, as does our RC4-encrypted export; both are
// ours and never count as a peer. Figures, in interleaved rounds: the path against
// libharu with a single-byte font (goal within 1.5x) and against cairo (goal no slower),
// and the writer alone against libharu (goal within 1.5x).
#include "../common/figures.h"
#include "pdf/pdfexport.h"
#include "platform/core/cp1252.h"
#include "report/model/bands.h"
#include "report/model/datasets.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/model/views.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <hpdf.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace orv::pdf;
using namespace orv::report;

namespace {

constexpr int kPages = 1000;
constexpr int kRows = 50;
constexpr int kRounds = 5;

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

// The same rows as the program makes them: a data band over the records, prepared once;
// the export reads every page back from the prepared report.
class RowsDataSet : public TfrxUserDataSet {
public:
    RowsDataSet() : TfrxUserDataSet(nullptr)
    {
        SetRangeEnd(reCount);
        SetRangeEndCount(kPages * kRows);
    }
    QVariant GetValue(const QString& Index) override
    {
        const int n = RecNo();
        return Index == u"Testo" ? QVariant(rowText(n / kRows, n % kRows)) : QVariant();
    }
};

struct PreparedPages {
    RowsDataSet rows;
    std::unique_ptr<TfrxReport> report = std::make_unique<TfrxReport>();

    PreparedPages()
    {
        report->SetShowProgress(false);
        auto* data = new TfrxDataPage(report.get());
        data->SetName(QStringLiteral("Data"));
        auto* page = new TfrxReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        page->SetLeftMargin(kMargin);
        page->SetRightMargin(kMargin);
        page->SetTopMargin(kMargin);
        // 250 mm of page for 50 rows of 5 mm.
        page->SetBottomMargin(297 - kMargin - kRows * 5 - 0.1);
        rows.SetName(QStringLiteral("Righe"));
        rows.SetUserName(QStringLiteral("Righe"));
        report->DataSets()->Add(&rows);
        auto* band = new TfrxMasterData(page);
        band->SetName(QStringLiteral("Riga"));
        band->SetBounds(0, 0, kRowWidth, kRowHeight);
        band->SetDataSet(&rows);
        auto* m = new TfrxMemoView(band);
        m->SetName(QStringLiteral("txtRiga"));
        m->SetBounds(0, 0, kRowWidth, kRowHeight);
        m->SetWordWrap(false);
        m->Font()->SetName(QStringLiteral("Arial"));
        m->Font()->SetSize(float(kFontSize));
        m->SetText(QStringLiteral("[Righe.\"Testo\"]"));
        auto* l = new TfrxLineView(band);
        l->SetName(QStringLiteral("linRiga"));
        l->SetBounds(0, kRowHeight, kRowWidth, 0);
        l->Frame()->SetTyp({ftTop});
        if (!report->PrepareReport(true))
            qFatal("the rows were not prepared: %s", qPrintable(report->Errors()->Text()));
        if (report->PreviewPages()->Count() != kPages)
            qFatal("%d pages prepared, not %d", report->PreviewPages()->Count(), kPages);
    }
    ~PreparedPages() { report.reset(); }

    void write(const QString& file)
    {
        TfrxPDFExport pdf;
        pdf.SetShowDialog(false);
        pdf.SetFileName(file);
        if (!report->Export(&pdf))
            qFatal("the prepared pages were not exported");
    }
};

// ---------------------------------------------------------------- peers

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
                              (unicode ? rowText(p, r).toUtf8() : orv::platform::cp1252::encode(rowText(p, r))).constData());
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
    std::function<void(const QString&)> write;
    qint64 size = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("no temporary folder");
    const QByteArray ttf = fontFile("Arial");
    if (ttf.isEmpty())
        qFatal("no font file for Arial");

    rowText(0, 0);
    OurPages ours;
    QElapsedTimer preparing;
    preparing.start();
    PreparedPages prepared;
    std::printf("pdf: %d pages x %d rows prepared in %.2f s (once, not timed below)\n", kPages, kRows,
                double(preparing.nsecsElapsed()) / 1e9);
    std::vector<Writer> writers = {
        {"ours, prepared pages to file", [&](const QString& f) { prepared.write(f); }},
        {"ours, writer alone", [&](const QString& f) { ours.write(f, Mode::Compressed); }},
        {"ours, writer alone, RC4", [&](const QString& f) { ours.write(f, Mode::Encrypted); }},
        {"libharu, WinAnsi", [&](const QString& f) { writeHaru(f, ttf, false); }},
        {"libharu, UTF-8", [&](const QString& f) { writeHaru(f, ttf, true); }},
        {"cairo", writeCairo},
    };
    enum { Path, Alone, Rc4, Haru, HaruUtf8, Cairo };
    // "bench_pdf <n>" runs writer n once alone, for a profiler.
    if (argc > 1) {
        const std::size_t only = std::size_t(QByteArray(argv[1]).toUInt());
        if (only >= writers.size())
            qFatal("no writer %zu", only);
        writers[only].write(dir.filePath(QStringLiteral("only.pdf")));
        return 0;
    }
    const int rounds = qEnvironmentVariableIsSet("BENCH_PDF_ROUNDS") ? std::max(1, qEnvironmentVariableIntValue("BENCH_PDF_ROUNDS")) : kRounds;
    std::vector<std::function<double()>> contenders;
    for (std::size_t i = 0; i < writers.size(); ++i)
        contenders.push_back([&, i] {
            const QString file = dir.filePath(QStringLiteral("w%1.pdf").arg(i));
            QFile::remove(file);
            const double t = orv::bench::seconds([&] { writers[i].write(file); });
            writers[i].size = QFileInfo(file).size();
            return t;
        });
    const auto samples = orv::bench::interleave(rounds, contenders);

    std::printf("pdf: %d pages x %d rows, medians of %d interleaved rounds\n", kPages, kRows, rounds);
    std::printf("%-30s %9s %10s\n", "writer", "time (s)", "size (MB)");
    for (std::size_t i = 0; i < writers.size(); ++i)
        std::printf("%-30s %9.3f %10.3f\n", writers[i].name, orv::bench::spreadOf(samples[i]).median,
                    double(writers[i].size) / 1e6);
    const orv::bench::Spread toHaru = orv::bench::ratioOf(samples[Path], samples[Haru]);
    orv::bench::figure("pdf", "prepared pages to file / libharu WinAnsi", toHaru, "<= 1.50",
                       orv::bench::atMost(toHaru, 1.5));
    const orv::bench::Spread toCairo = orv::bench::ratioOf(samples[Path], samples[Cairo]);
    orv::bench::figure("pdf", "prepared pages to file / cairo", toCairo, "<= 1.00", orv::bench::atMost(toCairo, 1.0));
    const orv::bench::Spread alone = orv::bench::ratioOf(samples[Alone], samples[Haru]);
    orv::bench::figure("pdf", "writer alone / libharu WinAnsi", alone, "<= 1.50", orv::bench::atMost(alone, 1.5));
    if (qEnvironmentVariableIsSet("BENCH_PDF_KEEP")) {
        // For a look at the files: copied into the folder named.
        const QDir keep(qEnvironmentVariable("BENCH_PDF_KEEP"));
        for (std::size_t i = 0; i < writers.size(); ++i) {
            const QString kept = keep.filePath(QStringLiteral("w%1.pdf").arg(i));
            QFile::remove(kept);
            QFile::copy(dir.filePath(QStringLiteral("w%1.pdf").arg(i)), kept);
        }
    }
    return 0;
}
