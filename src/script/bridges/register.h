#pragma once
// The RTTI modules that give scripts the host's classes, and their registration. Each
// module is made once per script; its constructor registers the classes, members and
// constants, and its callbacks serve every later call by class and member name.
//
// The module registry keeps its order: built-in functions, class library, graphics,
// forms, the report engine's own module, dialogs, INI files. The program's start-up
// calls fsRegisterHostBridges() before the report engine registers its module and
// fsRegisterFileBridges() after it.
#include "script/bridges/common.h"

namespace orv::script::bridges {

// The members every module has: dispatch of method calls and property reads and writes.
class BridgeModule : public TfsRTTIModule {
public:
    using TfsRTTIModule::TfsRTTIModule;
    virtual Value InvokeMethod(TfsObject Instance, TfsClass ClassType, const QString& MethodName,
                               TfsMethodHelper* Caller) = 0;
    virtual Value ReadProperty(TfsObject Instance, TfsClass ClassType, const QString& PropName)
    {
        return Value(0);
    }
    virtual void WriteProperty(TfsObject Instance, TfsClass ClassType, const QString& PropName, const Value& v) {}

protected:
    TfsCallMethodNewEvent callback()
    {
        return [this](TfsObject i, TfsClass t, const QString& n, TfsMethodHelper* c) {
            return InvokeMethod(i, t, n, c);
        };
    }
    TfsGetValueEvent getter()
    {
        return [this](TfsObject i, TfsClass t, const QString& n) { return ReadProperty(i, t, n); };
    }
    TfsSetValueEvent setter()
    {
        return [this](TfsObject i, TfsClass t, const QString& n, const Value& v) { WriteProperty(i, t, n, v); };
    }
};

#define ORV_BRIDGE_MODULE(ns)                                                                       \
    namespace ns {                                                                                 \
    class TFunctions : public BridgeModule {                                                       \
    public:                                                                                        \
        explicit TFunctions(TfsScript* AScript);                                                   \
        Value InvokeMethod(TfsObject Instance, TfsClass ClassType, const QString& MethodName,      \
                           TfsMethodHelper* Caller) override;                                      \
        Value ReadProperty(TfsObject Instance, TfsClass ClassType, const QString& PropName) override; \
        void WriteProperty(TfsObject Instance, TfsClass ClassType, const QString& PropName,        \
                           const Value& v) override;                                               \
    };                                                                                             \
    }

ORV_BRIDGE_MODULE(classlib)
ORV_BRIDGE_MODULE(graphics)
ORV_BRIDGE_MODULE(forms)
ORV_BRIDGE_MODULE(dialogs)
ORV_BRIDGE_MODULE(inifiles)

#undef ORV_BRIDGE_MODULE

} // namespace orv::script::bridges

namespace orv::script {

// Class library, graphics and forms, in that order.
void fsRegisterHostBridges();
// Dialogs and INI files, in that order; ShowMessage of every script then opens the
// program's message box.
void fsRegisterFileBridges();
// Takes all five out of the registry again.
void fsUnregisterBridges();

} // namespace orv::script
