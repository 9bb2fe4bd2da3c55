// Reads arbitrary bytes as a prepared report and writes it as a PDF file into memory,
// plain and compressed, with and without a password: whatever the pages hold, the export
// either completes or reports its error, and never crashes.
#include "pdf/pdfexport.h"
#include "report/base/utils.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <exception>

using namespace orv::pdf;
using namespace orv::report;

// Fontconfig keeps a few allocations of its own configuration for the life of the
// process; faces are looked up once and kept, so this is no leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so"; }

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    frxSetErrorBoxHandler([](const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the filter's switches; the rest is the prepared report.
    const std::uint8_t switches = data[0];
    TfrxReport report;
    report.SetShowProgress(false);
    auto& pages = *static_cast<TfrxPreviewPages*>(report.PreviewPages());
    QBuffer in;
    in.setData(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    in.open(QIODevice::ReadOnly);
    try {
        pages.LoadFromStream(in, false);
    } catch (const std::exception&) {
        return 0;
    }
    // Large documents only slow the run down; their pages are no different.
    if (pages.Count() > 4)
        return 0;

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    TfrxPDFExport pdf;
    pdf.SetShowDialog(false);
    pdf.Stream = &out;
    pdf.SetCompressed(switches & 1);
    pdf.SetPrintOptimized(switches & 2);
    pdf.SetBackground(switches & 4);
    pdf.SetHTMLTags(switches & 8);
    pdf.SetOutline(switches & 16);
    pdf.SetExportNotPrintable(switches & 32);
    if (switches & 64)
        pdf.SetUserPassword(QStringLiteral("segreta"));
    try {
        report.Export(&pdf);
    } catch (const std::exception&) {
    }
    return 0;
}
