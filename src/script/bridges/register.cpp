#include "script/bridges/register.h"

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
}

void fsUnregisterBridges()
{
    fsUnregisterRTTIModule<classlib::TFunctions>();
    fsUnregisterRTTIModule<graphics::TFunctions>();
    fsUnregisterRTTIModule<forms::TFunctions>();
    fsUnregisterRTTIModule<dialogs::TFunctions>();
    fsUnregisterRTTIModule<inifiles::TFunctions>();
}
