#pragma once
// Jobs on CUPS queues, each a PDF document sent whole. Every step is checked: a queue
// that is stopped or refuses jobs gets no job, and a job that the system refuses,
// cancels or loses raises orv::report::Error with the reason in the program's words, so
// that a print never counts as done when it was not.
#include "report/print/printservice.h"

#include <QIODevice>
#include <QString>

namespace orv::report {

// Raises Error when the queue would not print a job now: it is unknown, takes no jobs,
// or is stopped and would keep the job until someone starts it again.
void checkQueue(const QString& Printer);

// Sends Document (PDF, read from its start to its end) to the queue as one job with the
// paper, orientation, sides and printer-made copies of Mode; returns once the server
// holds the job for the printer. Raises Error, with the job withdrawn, otherwise.
void printPdf(const QString& Printer, const QString& Title, const DeviceMode& Mode, QIODevice& Document);

} // namespace orv::report
