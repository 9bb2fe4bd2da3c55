#include "platform/ui/openurl.h"

#include "platform/ui/services.h"

void TMisc::Open(const QString& command)
{
    try {
        orv::ui::shell().open(command);
    } catch (...) {
        // The shell's result is never reported.
    }
}

bool orv::ui::offerToOpenPdf(const QString& path)
{
    if (!confirmBox(kPdfExportedQuestion)) return false;
    TMisc::Open(QLatin1Char('"') + path + QLatin1Char('"'));
    return true;
}
