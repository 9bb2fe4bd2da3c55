#pragma once
// What scripts may use of the report engine beyond published properties: its constants,
// enumerations and classes with their methods and further properties, the global
// variables and a few global functions. Every script made after start-up gets one
// instance of the module, which declares all of it and carries out the calls.
#include "script/core/script.h"

namespace orv::report {

class TFunctions : public TfsRTTIModule {
public:
    explicit TFunctions(TfsScript* AScript);

    orv::script::Value InvokeMethod(TfsObject Instance, TfsClass ClassType, const QString& MethodName,
                                    TfsMethodHelper* Caller);
    orv::script::Value ReadProperty(TfsObject Instance, TfsClass ClassType, const QString& PropName);
    void WriteProperty(TfsObject Instance, TfsClass ClassType, const QString& PropName,
                       const orv::script::Value& Value);
};

// The class scripts know as "TWideStrings": the engine's wide string list.
const orv::rtti::ClassInfo& wideStringsScriptClass();

} // namespace orv::report
