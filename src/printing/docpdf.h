#pragma once
// The PDF exporter of the document windows, held with the settings all documents share:
// no options dialog, an existing file replaced without asking, no progress window, file
// cache, print-optimised, tags read, quality 95, title and subject "Fattura", author
// "Orvanta", creator "Dorvane Software", no passwords, fonts not embedded, the file
// opened by the window rather than by the exporter. Only the compression differs (on for
// the job sheet, off for the quote and the delivery note); the window sets only FileName.
#include "report/model/engine.h"

#include <memory>

namespace orv::printing {

enum class PdfStreams { Compressed, Plain };

std::unique_ptr<report::TfrxCustomExportFilter> newDocumentExporter(PdfStreams streams);

} // namespace orv::printing
