// Reads arbitrary bytes as a prepared report (the ".fp3" files a preview opens), builds
// and measures every page as drawing does, and writes the result again.
#include "platform/core/canvas.h"
#include "report/base/utils.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <exception>

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
    TfrxReport report;
    auto& pages = *static_cast<TfrxPreviewPages*>(report.PreviewPages());
    QBuffer in;
    in.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    in.open(QIODevice::ReadOnly);
    try {
        pages.LoadFromStream(in, size % 2 == 1);
    } catch (const std::exception&) {
        return 0;
    }
    // A printer canvas without a device: every view lays itself out, nothing is painted.
    orv::platform::Canvas canvas(nullptr, true);
    for (int i = 0; i < pages.Count() && i < 8; ++i) {
        try {
            pages.GetPageSize(i);
            pages.DrawPage(i, &canvas, 1, 1, 0, 0);
        } catch (const std::exception&) {
        }
    }
    try {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        pages.SaveToStream(out);
    } catch (const std::exception&) {
    }
    return 0;
}
