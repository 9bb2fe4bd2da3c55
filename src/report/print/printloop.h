#pragma once
namespace orv::report {

// Printing prepared pages: the print dialog, then the pages on the chosen printer, page
// by page, in the copies, order and print mode the report's print options ask for.
class TfrxPreviewPages;
class TfrxCustomExportFilter;

// The print driver of the prepared pages. False when the system has no printer, the
// dialog was cancelled or the printer could not print; true otherwise (also when the
// user stopped printing).
bool frxPrintPreparedPages(TfrxPreviewPages* Pages);

// The export filter registered for dot-matrix printers, which prints dot-matrix reports
// in their place; none in this program.
TfrxCustomExportFilter*& frxDotMatrixExportFilter();

} // namespace orv::report

namespace orv::report {
// How many sheets of size S a length L needs when a page is tiled over sheets: whole
// sheets, one more when the rest is 11 mm or more, otherwise L / S rounded.
int sheetCount(double L, double S);
} // namespace orv::report
