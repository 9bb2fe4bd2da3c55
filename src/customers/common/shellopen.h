#pragma once
// Handing texts to the desktop from the working windows.
#include <QString>

namespace orv::forms {

// The command text exactly as built (a quoted path, a quoted "mailto:" text, an address).
void shellOpen(const QString& command);
// A file of the program, handed over in double quotes so blanks in its path do no harm.
void openQuoted(const QString& path);

} // namespace orv::forms
