#include "platform/core/services.h"

#include <QCoreApplication>
#include <QDir>

namespace orv::platform {

namespace {
class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
const SystemClock systemClock;
const Clock* installedClock = nullptr;
QString folderOverride;
} // namespace

const Clock& clock() { return installedClock ? *installedClock : systemClock; }
void setClock(const Clock* c) { installedClock = c; }

TDateTime nowDateTime()
{
    const QDateTime now = clock().now();
    const QDate d = now.date();
    const QTime t = now.time();
    TDateTime date = 0, time = 0;
    tryEncodeDate(d.year(), d.month(), d.day(), date);
    tryEncodeTime(t.hour(), t.minute(), t.second(), t.msec(), time);
    return date + time;
}

TDateTime today()
{
    const QDate d = clock().now().date();
    TDateTime date = 0;
    tryEncodeDate(d.year(), d.month(), d.day(), date);
    return date;
}

int currentYear() { return clock().now().date().year(); }

QString programFolder()
{
    QString f = folderOverride.isEmpty() ? QCoreApplication::applicationDirPath() : folderOverride;
    if (!f.endsWith(u'/'))
        f += u'/';
    return f;
}

void setProgramFolder(const QString& folder) { folderOverride = folder; }

QString programFile(const QString& name) { return programFolder() + name; }

} // namespace orv::platform
