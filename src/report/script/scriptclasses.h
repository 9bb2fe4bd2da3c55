#pragma once
// What scripts may use of the report engine beyond published properties: its constants,
// enumerations and classes with their methods and further properties, the global
// variables and a few global functions. Every script made after start-up gets one
// instance of the module, which declares all of it and carries out the calls.
#include "script/core/script.h"

#include <map>
#include <memory>
#include <utility>

namespace orv::script::bridges {
class List;
}

namespace orv::report {

class TFunctions : public script::TfsRTTIModule {
public:
    explicit TFunctions(script::TfsScript* AScript);

    orv::script::Value InvokeMethod(script::TfsObject Instance, script::TfsClass ClassType, const QString& MethodName,
                                    script::TfsMethodHelper* Caller);
    orv::script::Value ReadProperty(script::TfsObject Instance, script::TfsClass ClassType, const QString& PropName);
    void WriteProperty(script::TfsObject Instance, script::TfsClass ClassType, const QString& PropName,
                       const orv::script::Value& Value);
    ~TFunctions() override;

private:
    // The script lists handed out for a component's Objects (false) and AllObjects (true):
    // one each, refilled on every read, kept while the script lives.
    orv::script::bridges::List* objectList(const orv::platform::rtti::Object* Component, bool All);
    std::map<std::pair<const orv::platform::rtti::Object*, bool>, std::unique_ptr<orv::script::bridges::List>> m_lists;
};

// The class scripts know as "TWideStrings": the engine's wide string list.
const orv::platform::rtti::ClassInfo& wideStringsScriptClass();

} // namespace orv::report
