#include "jobs/documenti.h"

namespace orv::jobs {

namespace {
DocumentWindows& installed()
{
    static DocumentWindows open;
    return open;
}
} // namespace

void setDocumentWindows(DocumentWindows open) { installed() = std::move(open); }

void openDocumentWindow(QWidget* editor, JobSheetDocument document)
{
    if (installed()) installed()(editor, document);
}

} // namespace orv::jobs
