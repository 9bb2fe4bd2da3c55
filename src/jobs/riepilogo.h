#pragma once
// The cost summary without any widget: the interval dates built from a day and a month
// picked from the lists, and the summary itself, which lists the job sheets of a year
// file issued within the interval (optionally only a customer's and an installation's)
// and adds up their invoiced totals.
#include <QString>
#include <QStringList>

#include "archive/lists.h"

namespace orv::jobs {

// The lists of the interval's day and month fields: "01" to "31", "Gennaio" to "Dicembre".
const QStringList& intervalDays();
const QStringList& intervalMonths();
// Whether a day or month text, trimmed (a month also lower-cased), is one of the list's.
bool isIntervalDay(const QString& day);
bool isIntervalMonth(const QString& month);

// "05", "Marzo" and "2026" give "05/03/2026": the day trimmed, the month's number and the
// year trimmed. A month that names no month gives the empty text.
QString ComponiData(const QString& day, const QString& month, const QString& year);

struct SummaryCriteria {
    QString cliente;    // customer filter, as typed
    QString matricola;  // serial-number filter, as typed
    QString dataInizio; // first day of the interval
    QString dataFine;   // last day of the interval
};

struct SummaryResult {
    bool read = false; // the year file was read to its end
    QString total;     // the invoiced total as the summary shows it ("0,00" when not read)
};

// Reads the year file at `path` (created empty when missing) and adds the line of every
// sheet that meets the filters and whose issue date lies within the interval, both ends
// included, to `out`. The total is summed in file order. An amount that is not a number
// counts as nothing, as the editor makes "0,00" of it; a sheet whose issue date is not a
// date lies in no interval.
SummaryResult CalcolaRiepilogoCosti(const QString& path, const SummaryCriteria& criteria,
                                    orv::archive::ResultSink& out);

// The summary's interval text: "Dal   <start>   al   <end>".
QString intervalText(const QString& start, const QString& end);

} // namespace orv::jobs
