#pragma once
// Two layouts as the program's windows hold them: the list report of the finders and the
// record card, built in code.
#include "report/model/report.h"

#include <memory>

namespace orv::report::test {

// "Riepilogo dati": A4 landscape, a title band, a master-data band printed once with the
// list memo, a footer with the print date.
std::unique_ptr<TfrxReport> makeListLayout();
// "Scheda informativa": A4 portrait, a logo, a title, a frame of shapes and lines and
// twenty-four caption and value pairs lying directly on the page.
std::unique_ptr<TfrxReport> makeCardLayout();
// The template text of a report.
QByteArray templateText(TfrxReport& report);

} // namespace orv::report::test
