#pragma once
// The password store "unins000.dll" of the program folder: an INI text whose section
// "Accesso", key "Valore" holds the scrambled upper-case password. Read at every login
// attempt and every change, so a store replaced by another workstation counts at once.
#include <QString>

#include <stdexcept>

namespace orv::shell {

// A store that gives no password to compare with: missing, unreadable, or holding no
// password. Nobody could ever log in, so this is not a wrong password: message() tells
// the user which file it is and what to do.
class PasswordStoreUnavailable : public std::runtime_error {
public:
    explicit PasswordStoreUnavailable(const QString& message);
    const QString& message() const { return message_; }

private:
    QString message_;
};

QString passwordStorePath();
// The stored password, unscrambled and trimmed. Throws PasswordStoreUnavailable when the
// store is missing, cannot be read or holds no password, orv::shell::ConversionError when the
// stored value is not hexadecimal.
QString storedPassword();
// Stores Cifra(password). Throws orv::platform::IniFileError when the store cannot be written.
void storePassword(const QString& password);
// The form a typed password is compared and stored in: trimmed, a-z upper-cased.
QString normalisedPassword(const QString& typed);

} // namespace orv::shell
