#include "shell/passwordstore.h"

#include "shell/crypt.h"
#include "platform/core/inifile.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orv::shell {
using namespace orv::platform;
} // namespace orv::shell

namespace orv::shell {

namespace {
const QString kSection = QStringLiteral("Accesso");
const QString kKey = QStringLiteral("Valore");
} // namespace

PasswordStoreUnavailable::PasswordStoreUnavailable(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message)
{
}

QString passwordStorePath() { return programFile(QStringLiteral("unins000.dll")); }

QString storedPassword()
{
    const QString path = passwordStorePath();
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        throw PasswordStoreUnavailable(QStringLiteral("Attenzione: il file delle password \"%1\" non \u00e8 stato trovato. "
                                                      "Si consiglia di reinstallare il software.").arg(shown));
    QFile readable(path);
    if (!info.isFile() || !readable.open(QIODevice::ReadOnly))
        throw PasswordStoreUnavailable(QStringLiteral("Attenzione: il file delle password \"%1\" non pu\u00f2 essere letto. "
                                                      "Verificare che il file sia accessibile in lettura; se il problema "
                                                      "persiste, si consiglia di reinstallare il software.").arg(shown));
    readable.close();
    const QString value = IniFile(path).readString(kSection, kKey, QString());
    if (trimmed(value).isEmpty())
        throw PasswordStoreUnavailable(QStringLiteral("Attenzione: il file delle password \"%1\" non contiene alcuna password. "
                                                      "Si consiglia di reinstallare il software.").arg(shown));
    return trimmed(Decifra(value));
}

void storePassword(const QString& password)
{
    IniFile(passwordStorePath()).writeString(kSection, kKey, Cifra(password));
}

QString normalisedPassword(const QString& typed) { return trimmed(upperAZ(typed)); }

} // namespace orv::shell
