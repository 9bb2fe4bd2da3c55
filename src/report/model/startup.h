#pragma once
// The report engine's start-up: the classes layouts may name, the engine's registries,
// string resources and process-wide objects. Runs once; every report runs it on
// creation, and the program runs it before its first window.
#include <QIODevice>
#include <QRecursiveMutex>

#include <functional>

namespace orv::report {

class TfrxReport;

// Hooks a conversion package may set around template loads (none in this program).
struct ConverterEvents {
    // True when it has loaded the report itself, so the normal read is skipped.
    std::function<bool(TfrxReport* Report, QIODevice& Stream)> OnLoad;
    std::function<void(TfrxReport* Report)> OnAfterLoad;
    QString Filter;
};

void frxInitializeReportEngine();
// Held around template loads of reports that ask for thread safety.
QRecursiveMutex& frxEngineLock();
ConverterEvents& frxConverterEvents();

} // namespace orv::report
