#pragma once
// Two layouts as the program's windows hold them: the list report of the finders and the
// record card, built in code.
#include "report/model/report.h"

#include <memory>
#include <ostream>

// Readable texts in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace orv::report::test {

// "Riepilogo dati": A4 landscape, a title band, a master-data band printed once with the
// list memo, a footer with the print date.
std::unique_ptr<TfrxReport> makeListLayout();
// "Scheda informativa": A4 portrait, a logo, a title, a frame of shapes and lines and
// twenty-four caption and value pairs lying directly on the page.
std::unique_ptr<TfrxReport> makeCardLayout();
// The template text of a report.
QByteArray templateText(TfrxReport& report);
// What the list windows do before preparing: every line ("RIGA 0001 CLIENTE DI PROVA"
// and so on) into the list memo, the memo as high as its lines at 12.822 pixels each and
// its band 10 pixels higher.
void fillList(TfrxReport& report, int lines);

// Collects the texts of the engine's error boxes while it lives.
class ErrorBoxRecorder {
public:
    explicit ErrorBoxRecorder(QStringList& shown);
    ~ErrorBoxRecorder();
};

} // namespace orv::report::test
