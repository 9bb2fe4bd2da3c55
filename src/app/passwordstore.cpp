#include "app/passwordstore.h"

#include "app/crypt.h"
#include "platform/core/inifile.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::app {

namespace {
const QString kSection = QStringLiteral("Accesso");
const QString kKey = QStringLiteral("Valore");
} // namespace

QString passwordStorePath() { return programFile(QStringLiteral("unins000.dll")); }

QString storedPassword()
{
    return trimmed(Decifra(IniFile(passwordStorePath()).readString(kSection, kKey, QString())));
}

void storePassword(const QString& password)
{
    IniFile(passwordStorePath()).writeString(kSection, kKey, Cifra(password));
}

QString normalisedPassword(const QString& typed) { return trimmed(upperAZ(typed)); }

} // namespace orv::app
