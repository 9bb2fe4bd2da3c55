#pragma once
// The password store "unins000.dll" of the program folder: an INI text whose section
// "Accesso", key "Valore" holds the scrambled upper-case password. Read at every login
// attempt and every change, so a store replaced by another workstation counts at once.
#include <QString>

namespace orv::app {

QString passwordStorePath();
// The stored password, unscrambled and trimmed; empty when the store or the key is
// missing. Throws orv::ConversionError when the stored value is not hexadecimal.
QString storedPassword();
// Stores Cifra(password). Throws orv::IniFileError when the store cannot be written.
void storePassword(const QString& password);
// The form a typed password is compared and stored in: trimmed, a-z upper-cased.
QString normalisedPassword(const QString& typed);

} // namespace orv::app
