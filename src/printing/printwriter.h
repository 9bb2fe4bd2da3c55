#pragma once
// The writer that printing hands its pages to: the program's own PDF export, with the
// fonts embedded, so that the printer gets the pages as the export writes them (text as
// text in its fonts, at the preview's places) in a fraction of the time and room that
// drawing them through the printer's engine takes.
namespace orv::printing {

// Registers the writer with the printers; once per process is enough.
void installPrintWriter();

} // namespace orv::printing
