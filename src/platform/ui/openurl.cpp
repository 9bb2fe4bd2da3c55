#include "platform/ui/openurl.h"

#include "platform/ui/services.h"

namespace orv::platform::ui {

void TMisc::Open(const QString& command)
{
    try {
        orv::platform::ui::shell().open(command);
    } catch (...) {
        // The shell's result is never reported.
    }
}

bool offerToOpenPdf(const QString& path)
{
    if (!confirmBox(kPdfExportedQuestion)) return false;
    TMisc::Open(QLatin1Char('"') + path + QLatin1Char('"'));
    return true;
}

} // namespace orv::platform::ui
