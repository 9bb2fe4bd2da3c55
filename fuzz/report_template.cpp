// Reads arbitrary bytes as a report template, writes the result and reads it again.
#include "report/base/utils.h"
#include "report/model/report.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

using namespace orv::report;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    frxSetErrorBoxHandler([](const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TfrxReport report;
    QBuffer in;
    in.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    in.open(QIODevice::ReadOnly);
    report.LoadFromStream(in);

    QBuffer out;
    out.open(QIODevice::ReadWrite);
    report.SaveToStream(out);
    out.seek(0);
    TfrxReport copy;
    copy.LoadFromStream(out);
    return 0;
}
