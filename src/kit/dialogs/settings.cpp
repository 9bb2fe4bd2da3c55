#include "kit/dialogs/settings.h"

#include "archive/helpers.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::kit {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::kit

namespace orv::kit {

namespace {

const QString kStartKey = QStringLiteral("Inizio");

const StartNumberKind kKinds[] = {
    {QStringLiteral("contratti"), QStringLiteral("Numerazione Contratti"),
     QStringLiteral(" Impostazione inizio numerazione contratti")},
    {QStringLiteral("lavoro"), QStringLiteral("Numerazione Schede Lavoro"),
     QStringLiteral(" Impostazione inizio numerazione Schede di Lavoro")},
    {QStringLiteral("preventivi"), QStringLiteral("Numerazione Preventivi"),
     QStringLiteral("Impostazione inizio numerazione preventivi")},
    {QStringLiteral("ddt"), QStringLiteral("Numerazione Documenti di Trasporto"),
     QStringLiteral("Impostazione inizio numerazione Documenti di Trasporto")},
};

} // namespace

IniFile settingsFile() { return IniFile(programFile(QStringLiteral("Orvanta.ini"))); }

const StartNumberKind* startNumberKind(const QString& tag)
{
    const QString t = trimmed(tag);
    for (const StartNumberKind& k : kKinds) {
        if (k.tag == t) return &k;
    }
    return nullptr;
}

QString readStartNumber(const QString& tag)
{
    const StartNumberKind* kind = startNumberKind(tag);
    return kind ? settingsFile().readString(kind->section, kStartKey, QString()) : QString();
}

void writeStartNumber(const QString& tag, const QString& value)
{
    if (const StartNumberKind* kind = startNumberKind(tag)) settingsFile().writeString(kind->section, kStartKey, value);
}

QString settingsWriteFailure(const QString& what, const IniFileError& error)
{
    QString cause;
    switch (error.cause()) {
    case IniFileError::Cause::DiskFull:
        cause = u"Il disco che contiene la cartella di installazione del programma \u00e8 pieno: liberare spazio sul "
                u"disco e riprovare."_qs;
        break;
    case IniFileError::Cause::InUse:
        cause = u"Il file delle impostazioni \u00e8 in uso da un'altra postazione e non \u00e8 stato modificato. "
                u"Riprovare tra qualche istante."_qs;
        break;
    case IniFileError::Cause::Other:
        cause = u"Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma."_qs;
        break;
    }
    return what + u"\r\n\r\n"_qs + cause;
}

QString normalisedStartNumber(const QString& text)
{
    const QString t = trimmed(text);
    long double v = 0;
    if (t.isEmpty() || !tryStrToFloat(t, v)) return QStringLiteral("1");
    return floatToStr(Arrotonda(double(v), 0));
}

} // namespace orv::kit
