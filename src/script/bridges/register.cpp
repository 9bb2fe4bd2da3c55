#include "script/bridges/register.h"

#include "platform/ui/services.h"
#include "script/core/sysfunctions.h"

namespace orv::script {

using namespace orv::script::bridges;

void fsRegisterHostBridges()
{
    fsRegisterRTTIModule<classlib::TFunctions>();
    fsRegisterRTTIModule<graphics::TFunctions>();
    fsRegisterRTTIModule<forms::TFunctions>();
}

void fsRegisterFileBridges()
{
    fsRegisterRTTIModule<dialogs::TFunctions>();
    fsRegisterRTTIModule<inifiles::TFunctions>();
    // Scripts' ShowMessage, the reports' included, opens the program's box from now on.
    orv::script::setShowMessageHandler([](const QString& text) { orv::platform::ui::messages().showMessage(text); });
}

void fsUnregisterBridges()
{
    fsUnregisterRTTIModule<classlib::TFunctions>();
    fsUnregisterRTTIModule<graphics::TFunctions>();
    fsUnregisterRTTIModule<forms::TFunctions>();
    fsUnregisterRTTIModule<dialogs::TFunctions>();
    fsUnregisterRTTIModule<inifiles::TFunctions>();
    orv::script::setShowMessageHandler(nullptr);
}

} // namespace orv::script
