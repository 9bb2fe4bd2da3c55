#include "kit/dialogs/settings.h"

#include "archive/helpers.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::app {

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

QString normalisedStartNumber(const QString& text)
{
    const QString t = trimmed(text);
    long double v = 0;
    if (t.isEmpty() || !tryStrToFloat(t, v)) return QStringLiteral("1");
    return floatToStr(Arrotonda(double(v), 0));
}

} // namespace orv::app
