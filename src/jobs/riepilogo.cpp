#include "jobs/riepilogo.h"

#include "archive/command.h"
#include "archive/helpers.h"
#include "jobs/scheda.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::jobs {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::jobs

namespace orv::jobs {

const QStringList& intervalDays()
{
    static const QStringList days = [] {
        QStringList d;
        for (int i = 1; i <= 31; ++i) d.append(QString::number(i).rightJustified(2, u'0'));
        return d;
    }();
    return days;
}

const QStringList& intervalMonths()
{
    static const QStringList months = {u"Gennaio"_qs, u"Febbraio"_qs, u"Marzo"_qs,     u"Aprile"_qs,
                                       u"Maggio"_qs,  u"Giugno"_qs,   u"Luglio"_qs,    u"Agosto"_qs,
                                       u"Settembre"_qs, u"Ottobre"_qs, u"Novembre"_qs, u"Dicembre"_qs};
    return months;
}

namespace {
// The month's number from 1, or 0 for a text that names no month.
int monthNumber(const QString& month)
{
    const QString m = lowerAZ(trimmed(month));
    for (int i = 0; i < intervalMonths().size(); ++i)
        if (lowerAZ(intervalMonths()[i]) == m) return i + 1;
    return 0;
}
} // namespace

bool isIntervalDay(const QString& day) { return intervalDays().contains(trimmed(day)); }

bool isIntervalMonth(const QString& month) { return monthNumber(month) > 0; }

QString ComponiData(const QString& day, const QString& month, const QString& year)
{
    const int m = monthNumber(month);
    if (m == 0) return QString();
    return trimmed(day) + u'/' + QString::number(m).rightJustified(2, u'0') + u'/' + trimmed(year);
}

SummaryResult CalcolaRiepilogoCosti(const QString& path, const SummaryCriteria& criteria,
                                    orv::archive::ResultSink& out)
{
    using S = TSchedaLavoro;
    const int year = currentYear();
    TDateTime from = 0, to = 0;
    // The criteria window has checked both dates; unreadable ones list nothing.
    const bool interval = tryStrToDate(criteria.dataInizio, from, year) && tryStrToDate(criteria.dataFine, to, year);
    const QStringList filters = {criteria.cliente, criteria.matricola};

    double total = 0; // summed as the amounts come, in file order
    const bool read = archive::runArchiveCommandSilently(path, S::kSize, [&](ArchiveFile& file) {
        archive::fillList(
            file, out,
            [&](const QByteArray& rec) {
                const archive::RecordLayout& l = S::layout();
                if (!CriteriSoddisfatti(filters, {l.fieldText(rec, S::Cliente), l.fieldText(rec, S::Matricola)}))
                    return false;
                TDateTime issued = 0;
                if (!interval || !tryStrToDate(l.fieldText(rec, S::Data), issued, year) || issued < from || issued > to)
                    return false;
                double amount = 0;
                if (!tryStrToFloat(l.fieldText(rec, S::TotFattura), amount)) amount = 0;
                total += amount;
                return true;
            },
            [](const QByteArray& rec) { return RigaSchedaLavoro(S::decode(rec)); });
    });
    if (!read) return {false, u"0,00"_qs};
    // Written with 15 significant digits first, so a sum such as 10,10 + 20,20 shows 30,30.
    return {true, NormalizzaImporto(floatToStr(total), AmountKind::Money, 4)};
}

QString intervalText(const QString& start, const QString& end)
{
    return u"Dal   "_qs + trimmed(start) + u"   al   "_qs + trimmed(end);
}

} // namespace orv::jobs
