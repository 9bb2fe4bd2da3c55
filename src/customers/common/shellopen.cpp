#include "customers/common/shellopen.h"

#include "platform/ui/services.h"

namespace orv::forms {

// SEAM(foundation): becomes TMisc::Open once the shell routine is part of the program.
void shellOpen(const QString& command)
{
    try {
        ui::shell().open(command);
    } catch (...) {
        // The shell's result is never reported.
    }
}

void openQuoted(const QString& path) { shellOpen(u'"' + path + u'"'); }

} // namespace orv::forms
