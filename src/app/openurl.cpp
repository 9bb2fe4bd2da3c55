#include "app/openurl.h"

#include "platform/ui/services.h"

void TMisc::Open(const QString& command)
{
    try {
        orv::ui::shell().open(command);
    } catch (...) {
        // The shell's result is never reported.
    }
}
