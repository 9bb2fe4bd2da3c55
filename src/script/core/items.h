#pragma once
// Script items: every symbol of a script's table is one of these. Plain variables,
// constants and type names store their value; script procedures produce it by running
// their statements; helpers produce it by calling host code (properties, methods,
// constructors, indexed properties and events of registered classes, and the global
// functions of the RTTI modules) or by indexing texts and arrays. Class descriptions
// hold the members the modules register for a host class.
#include <QString>
#include <QVariant>
#include <functional>
#include <new>
#include <vector>

#include "script/core/value.h"

namespace orv::platform {
class Component;
namespace rtti {
class ClassInfo;
class Object;
class PropInfo;
}
}

namespace orv::script {

class TfsScript;
class TfsParamItem;
class TfsProcVariable;
class TfsMethodHelper;
class TfsPropertyHelper;
class TfsCustomHelper;
class TfsCustomEvent;
struct TfsVarRec;

// The kinds of script items.
enum TfsVarType {
    fvtInt,
    fvtBool,
    fvtFloat,
    fvtChar,
    fvtString,
    fvtClass,
    fvtArray,
    fvtVariant,
    fvtEnum,
    fvtConstructor,
    fvtInt64,
};

// Host objects and classes as scripts reach them. An object crosses into a script as the
// Integer handle of script/core/objects.h; callbacks receive the object itself.
using TfsObject = orv::platform::rtti::Object*;
using TfsClass = const orv::platform::rtti::ClassInfo*;

// Host callbacks. Instance is the object the member is used on (nil for a global
// function), ClassType the class under which the member was registered, MethodName or
// PropName the member's name in upper case.
using TfsCallMethodEvent = std::function<orv::script::Value(
    TfsObject Instance, TfsClass ClassType, const QString& MethodName, orv::script::Value& Params)>;
using TfsCallMethodNewEvent = std::function<orv::script::Value(
    TfsObject Instance, TfsClass ClassType, const QString& MethodName, TfsMethodHelper* Caller)>;
using TfsGetValueEvent =
    std::function<orv::script::Value(TfsObject Instance, TfsClass ClassType, const QString& PropName)>;
using TfsSetValueEvent = std::function<void(TfsObject Instance, TfsClass ClassType, const QString& PropName,
                                            const orv::script::Value& Value)>;
using TfsGetValueNewEvent = std::function<orv::script::Value(TfsObject Instance, TfsClass ClassType,
                                                             const QString& PropName, TfsPropertyHelper* Caler)>;
using TfsSetValueNewEvent = std::function<void(TfsObject Instance, TfsClass ClassType, const QString& PropName,
                                               const orv::script::Value& Value, TfsPropertyHelper* Caller)>;
using TfsGetVariableValueEvent = std::function<orv::script::Value(const QString& VarName, TfsVarType VarTyp,
                                                                  const orv::script::Value& OldValue)>;
using TfsRunLineEvent = std::function<void(TfsScript* Sender, const QString& UnitName, const QString& SourcePos)>;
// The adapter class of an event: makes the adapter that calls Handler for AObject's event.
using TfsEventClass = TfsCustomEvent* (*)(TfsObject AObject, TfsProcVariable* AHandler);

} // namespace orv::script

namespace orv::script {

// The root of everything a script owns: items, statements, modules, event adapters.
class ScriptObject {
public:
    virtual ~ScriptObject() = default;
};

// Upper case, one character to one character, as names are compared.
QString upperName(const QString& name);

} // namespace orv::script

namespace orv::script {

// An owned list of objects.
class TfsItemList : public orv::script::ScriptObject {
public:
    TfsItemList() = default;
    ~TfsItemList() override;
    TfsItemList(const TfsItemList&) = delete;
    TfsItemList& operator=(const TfsItemList&) = delete;

    // Frees every object, first to last, and empties the list.
    virtual void Clear();
    void Add(orv::script::ScriptObject* Item)
    {
        FItems.push_back(Item);
        Changed();
    }
    // Counts the changes of the list, so that what was prepared from it can tell.
    quint64 Changes() const { return FChanges; }
    // Changes with every change of any list: when it has not moved, no list has changed.
    static quint64 AnyChanges() { return FAnyChanges; }
    // Takes Item out without freeing it.
    void Remove(orv::script::ScriptObject* Item);
    int Count() const { return int(FItems.size()); }
    orv::script::ScriptObject* Item(int Index) const { return FItems[size_t(Index)]; }

protected:
    void Changed()
    {
        ++FChanges;
        ++FAnyChanges;
    }

    std::vector<orv::script::ScriptObject*> FItems;
    quint64 FChanges = 0;
    static inline quint64 FAnyChanges = 0;
};

class TfsCustomVariable : public TfsItemList {
public:
    TfsCustomVariable(const QString& AName, TfsVarType ATyp, const QString& ATypeName);
    ~TfsCustomVariable() override;

    // The value through the item's own rules: a variable's stored value, a procedure's
    // result, a host property, an element.
    virtual orv::script::Value GetValue();
    virtual void SetValue(const orv::script::Value& Value);
    // The stored value, bypassing the getter.
    orv::script::Value* PValue() { return &FValue; }
    // Where the item keeps a value of its own, for readers that take it directly (array
    // elements, locals saved around a recursive call); nullptr for items that compute it.
    virtual orv::script::Value* Storage() { return &FValue; }

    inline TfsParamItem* Params(int Index) const;
    TfsParamItem* GetParam(int Index) const { return Params(Index); }
    int GetNumberOfRequiredParams() const;
    // "Integer", "Boolean", "Extended", "Char", "String", the class or enumeration name,
    // "Array", "Int64", or "Variant".
    QString GetFullTypeName() const;

    const void* AddedBy() const { return FAddedBy; }
    void SetAddedBy(const void* Value) { FAddedBy = Value; }
    bool IsMacro() const { return FIsMacro; }
    void SetIsMacro(bool Value) { FIsMacro = Value; }
    bool IsReadOnly() const { return FIsReadOnly; }
    void SetIsReadOnly(bool Value) { FIsReadOnly = Value; }
    const QString& Name() const { return FName; }
    const QString& UppercaseName() const { return FUppercaseName; }
    TfsCustomVariable* RefItem() const { return FRefItem; }
    void SetRefItem(TfsCustomVariable* Value) { FRefItem = Value; }
    const QString& SourcePos() const { return FSourcePos; }
    void SetSourcePos(const QString& Value) { FSourcePos = Value; }
    const QString& SourceUnit() const { return FSourceUnit; }
    void SetSourceUnit(const QString& Value) { FSourceUnit = Value; }
    TfsVarType Typ() const { return FTyp; }
    void SetTyp(TfsVarType Value) { FTyp = Value; }
    const QString& TypeName() const { return FTypeName; }
    void SetTypeName(const QString& Value) { FTypeName = Value; }
    const TfsGetVariableValueEvent& OnGetVarValue() const { return FOnGetVarValue; }
    void SetOnGetVarValue(const TfsGetVariableValueEvent& Value)
    {
        Providers += int(bool(Value)) - int(bool(FOnGetVarValue));
        FOnGetVarValue = Value;
    }
    bool HasProvider() const { return Providers > 0 && bool(FOnGetVarValue); }
    // True when some item of the process has a value provider: readers of stored values
    // look no further otherwise.
    static bool AnyProvider() { return Providers > 0; }

    // What an item is, for the readers that decide often and fast how to read it.
    enum class Shape : unsigned char {
        Other,
        Variable,       // TfsVariable
        StringVariable, // TfsStringVariable
        Param,          // TfsParamItem
        Procedure,      // TfsProcVariable
        Method,         // TfsMethodHelper
        Helper,         // the other helpers
        Class,          // TfsClassVariable
        Constant,       // an expression's constant operand
        DesignatorNode, // an expression's name-path operand
        Operator,       // an expression's operator
        Designator,     // TfsDesignator and its shortcuts
        Expression,     // TfsExpression
    };
    // A variable of the script, of any text or other kind.
    bool IsVariable() const { return FShape == Shape::Variable || FShape == Shape::StringVariable; }
    Shape ItemShape() const { return FShape; }

protected:
    Shape FShape = Shape::Other;
    const void* FAddedBy = nullptr;
    bool FIsMacro = false;
    bool FIsReadOnly = false;
    TfsVarType FTyp;
    QString FName;
    TfsCustomVariable* FRefItem = nullptr;
    QString FSourcePos;
    QString FSourceUnit;
    QString FTypeName;
    QString FUppercaseName;
    orv::script::Value FValue = orv::script::Value::null();
    TfsGetVariableValueEvent FOnGetVarValue;
    static inline int Providers = 0;
};

// A variable or constant of a script: the setter converts to the kind.
class TfsVariable : public TfsCustomVariable {
public:
    TfsVariable(const QString& AName, TfsVarType ATyp, const QString& ATypeName)
        : TfsCustomVariable(AName, ATyp, ATypeName)
    {
        FShape = Shape::Variable;
    }
    orv::script::Value GetValue() override;
    void SetValue(const orv::script::Value& Value) override;
    // What SetValue stores for Value, without storing it.
    virtual orv::script::Value Converted(const orv::script::Value& Value) const;
    // The stored value, read the way GetValue reads it, without copying when no value
    // provider is set.
    const orv::script::Value* DirectValue() const { return FOnGetVarValue ? nullptr : &FValue; }
};

// A type name (its kind is what the name stands for).
class TfsTypeVariable : public TfsCustomVariable {
public:
    using TfsCustomVariable::TfsCustomVariable;
};

// A Char or String variable: its value is always a text.
class TfsStringVariable : public TfsVariable {
public:
    TfsStringVariable(const QString& AName, TfsVarType ATyp, const QString& ATypeName);
    orv::script::Value GetValue() override;
    void SetValue(const orv::script::Value& Value) override;
    orv::script::Value Converted(const orv::script::Value& Value) const override;
    orv::script::Value* Storage() override { return &FStr; }
    // The text value, for readers that take it directly.
    orv::script::Value& Str() { return FStr; }

private:
    orv::script::Value FStr;
};

class TfsParamItem : public TfsCustomVariable {
public:
    TfsParamItem(const QString& AName, TfsVarType ATyp, const QString& ATypeName, bool AIsOptional,
                 bool AIsVarParam);
    const orv::script::Value& DefValue() const { return FDefValue; }
    void SetDefValue(const orv::script::Value& Value) { FDefValue = Value; }
    bool IsOptional() const { return FIsOptional; }
    bool IsVarParam() const { return FIsVarParam; }

private:
    orv::script::Value FDefValue = orv::script::Value::null();
    bool FIsOptional;
    bool FIsVarParam;
};

inline TfsParamItem* TfsCustomVariable::Params(int Index) const
{
    return static_cast<TfsParamItem*>(FItems[size_t(Index)]);
}

// A script procedure or function. Its parameters and locals live in its own script
// (Prog), one copy for all activations; a recursive call saves and restores them.
class TfsProcVariable : public TfsCustomVariable {
public:
    TfsProcVariable(const QString& AName, TfsVarType ATyp, const QString& ATypeName, TfsScript* AParent,
                    bool AIsFunc = true);
    ~TfsProcVariable() override;
    // Runs the procedure with the parameter values set before; the function's Result, or
    // Null for a procedure.
    orv::script::Value GetValue() override;
    orv::script::Value* Storage() override { return nullptr; }

    bool Executing() const { return FExecuting; }
    // Marks an activation that keeps its values elsewhere; the previous mark.
    bool SetExecuting(bool Value)
    {
        const bool was = FExecuting;
        FExecuting = Value;
        return was;
    }
    bool IsFunc() const { return FIsFunc; }
    const orv::script::Value& ResultStart() const { return FResultStart; }
    TfsScript* Prog() const { return FProgram; }

    // Where the parameters and local variables keep the values that a recursive
    // activation must keep.
    const std::vector<orv::script::Value*>& Locals()
    {
        if (FLocalsVersion != LocalsVersion()) [[unlikely]]
            CollectLocals();
        return FLocals;
    }

private:
    bool FExecuting = false;
    bool FIsFunc;
    TfsScript* FProgram;
    orv::script::Value FResultStart; // what Result holds when a call starts
    quint64 LocalsVersion() const;
    void CollectLocals();

    std::vector<orv::script::Value*> FLocals;
    quint64 FLocalsVersion = ~quint64(0);
};

} // namespace orv::script

namespace orv::script {

// Keeps the parameters and locals of a procedure that is running already, and puts them
// back when the inner activation is over, also when it ends by an error. The places are
// kept too: the inner activation may add a local to the procedure's script.
class LocalsKeeper {
public:
    explicit LocalsKeeper(TfsProcVariable* proc)
    {
        const std::vector<Value*>& locals = proc->Locals();
        FCount = locals.size();
        FKept = FCount <= kInline ? reinterpret_cast<Kept*>(FInline)
                                  : static_cast<Kept*>(::operator new(FCount * sizeof(Kept)));
        for (size_t i = 0; i < FCount; ++i)
            new (FKept + i) Kept{locals[i], *locals[i]};
    }
    ~LocalsKeeper()
    {
        for (size_t i = 0; i < FCount; ++i) {
            *FKept[i].place = std::move(FKept[i].value);
            FKept[i].~Kept();
        }
        if (FCount > kInline)
            ::operator delete(FKept);
    }
    LocalsKeeper(const LocalsKeeper&) = delete;
    LocalsKeeper& operator=(const LocalsKeeper&) = delete;

private:
    struct Kept {
        Value* place;
        Value value;
    };
    static constexpr size_t kInline = 4;
    alignas(Kept) unsigned char FInline[kInline * sizeof(Kept)];
    Kept* FKept;
    size_t FCount;
};

} // namespace orv::script

namespace orv::script {

// Base of the expression family (script/core/expressions.h).
class TfsCustomExpression : public TfsCustomVariable {
public:
    using TfsCustomVariable::TfsCustomVariable;
    orv::script::Value* Storage() override { return nullptr; }
};

// A member or helper that acts on the value before it in a designator: the designator
// sets ParentRef, ParentValue and Prog before each use.
class TfsCustomHelper : public TfsCustomVariable {
public:
    TfsCustomHelper(const QString& AName, TfsVarType ATyp, const QString& ATypeName)
        : TfsCustomVariable(AName, ATyp, ATypeName)
    {
        FShape = Shape::Helper;
    }
    orv::script::Value* Storage() override { return nullptr; }

    TfsCustomVariable* ParentRef() const { return FParentRef; }
    void SetParentRef(TfsCustomVariable* Value) { FParentRef = Value; }
    const orv::script::Value& ParentValue() const { return FParentValue; }
    void SetParentValue(const orv::script::Value& Value) { FParentValue = Value; }
    TfsScript* Prog() const { return FProgram; }
    void SetProg(TfsScript* Value) { FProgram = Value; }

protected:
    // The object of ParentValue (nil for Null).
    TfsObject ParentObject() const;

    TfsCustomVariable* FParentRef = nullptr;
    orv::script::Value FParentValue;
    TfsScript* FProgram = nullptr;
};

// An element of the array stored in the parent item (or held by the parent value).
class TfsArrayHelper : public TfsCustomHelper {
public:
    // DimCount index parameters; -1 makes three, the last two optional.
    TfsArrayHelper(const QString& AName, int DimCount, TfsVarType Typ, const QString& TypeName);
    orv::script::Value GetValue() override;
    void SetValue(const orv::script::Value& Value) override;

    // The element at up to three indexes of an array value; other dimension counts give
    // Null, indexes outside the bounds raise the range error.
    static orv::script::Value ReadElement(const orv::script::Value& Array, const int* Indexes, int Count);
    static void WriteElement(orv::script::Value& Array, const int* Indexes, int Count,
                             const orv::script::Value& Value);

private:
    orv::script::Value* ParentArray();
    int Indexes(int* Out, const orv::script::Value& Array);
};

// A character of the parent text, counted from 1.
class TfsStringHelper : public TfsCustomHelper {
public:
    TfsStringHelper();
    orv::script::Value GetValue() override;
    void SetValue(const orv::script::Value& Value) override;

    // The one-character text at a position; a position outside the text raises the range
    // error.
    static orv::script::Value CharAt(const QString& Text, qint64 Position);
    // Replaces the character at a position with the first character of Value's text.
    static void SetCharAt(QString& Text, qint64 Position, const orv::script::Value& Value);
};

// A property of a host class: a published one read and written through the reflection
// table, or one served by the module's callbacks.
class TfsPropertyHelper : public TfsCustomHelper {
public:
    using TfsCustomHelper::TfsCustomHelper;
    orv::script::Value GetValue() override;
    void SetValue(const orv::script::Value& Value) override;

    TfsClass ClassRef() const { return FClassRef; }
    void SetClassRef(TfsClass Value) { FClassRef = Value; }
    bool IsPublished() const { return FIsPublished; }
    void SetIsPublished(bool Value) { FIsPublished = Value; }
    const TfsGetValueEvent& OnGetValue() const { return FOnGetValue; }
    void SetOnGetValue(const TfsGetValueEvent& Value) { FOnGetValue = Value; }
    const TfsSetValueEvent& OnSetValue() const { return FOnSetValue; }
    void SetOnSetValue(const TfsSetValueEvent& Value) { FOnSetValue = Value; }
    const TfsGetValueNewEvent& OnGetValueNew() const { return FOnGetValueNew; }
    void SetOnGetValueNew(const TfsGetValueNewEvent& Value) { FOnGetValueNew = Value; }
    const TfsSetValueNewEvent& OnSetValueNew() const { return FOnSetValueNew; }
    void SetOnSetValueNew(const TfsSetValueNewEvent& Value) { FOnSetValueNew = Value; }

private:
    orv::script::Value ReadPublished(TfsObject Instance);
    void WritePublished(TfsObject Instance, const orv::script::Value& Value);

    TfsClass FClassRef = nullptr;
    bool FIsPublished = false;
    TfsGetValueEvent FOnGetValue;
    TfsSetValueEvent FOnSetValue;
    TfsGetValueNewEvent FOnGetValueNew;
    TfsSetValueNewEvent FOnSetValueNew;
};

// A host method, constructor, indexed property or global function, made from its
// declaration text.
class TfsMethodHelper : public TfsCustomHelper {
public:
    TfsMethodHelper(const QString& Syntax, TfsScript* Script);
    orv::script::Value GetValue() override;
    void SetValue(const orv::script::Value& Value) override;

    // Argument Index of the call; with the parameter count as Index, the value being
    // assigned to an indexed property.
    orv::script::Value GetVParam(int Index);
    // Gives a by-reference argument back.
    void SetVParam(int Index, const orv::script::Value& Value);

    const QString& Category() const { return FCategory; }
    void SetCategory(const QString& Value) { FCategory = Value; }
    TfsClass ClassRef() const { return FClassRef; }
    void SetClassRef(TfsClass Value) { FClassRef = Value; }
    const QString& Description() const { return FDescription; }
    void SetDescription(const QString& Value) { FDescription = Value; }
    bool IndexMethod() const { return FIndexMethod; }
    void SetIndexMethod(bool Value) { FIndexMethod = Value; }
    const QString& Syntax() const { return FSyntax; }
    const TfsCallMethodEvent& OnCall() const { return FOnCall; }
    void SetOnCall(const TfsCallMethodEvent& Value) { FOnCall = Value; }
    const TfsCallMethodNewEvent& OnCallNew() const { return FOnCallNew; }
    void SetOnCallNew(const TfsCallMethodNewEvent& Value) { FOnCallNew = Value; }
    // For a procedure whose call only raises an error of the base class: the message it
    // raises, from the arguments already given to the parameters. Compiled code that
    // handles the error itself takes the message without the call throwing.
    using RaiseTextFunction = QString (*)(TfsMethodHelper* Caller);
    // For a function that computes its value from its arguments alone, as the callback
    // does from the parameters (which take every value as it is): compiled code calls it
    // straight with the argument values, one per parameter.
    using DirectFunction = orv::script::Value (*)(const orv::script::Value* Args);
    DirectFunction Direct() const { return FDirect; }
    // TextLength: of one text argument the direct function gives the text's length.
    enum class DirectForm : unsigned char { Other, TextLength };
    DirectForm GetDirectForm() const { return FDirectForm; }
    void SetDirect(DirectFunction Value, DirectForm Form = DirectForm::Other)
    {
        FDirect = Value;
        FDirectForm = Form;
    }
    RaiseTextFunction RaiseText() const { return FRaiseText; }
    void SetRaiseText(RaiseTextFunction Value) { FRaiseText = Value; }

    // The object the next call acts on, set by a designator that constructs it; when set,
    // it replaces ParentValue as the instance.
    void SetConstructed(TfsObject Instance) { FConstructed = Instance; }

private:
    TfsObject Instance() const;
    const QString& MemberName(const char* Suffix);

    QString FCategory;
    TfsClass FClassRef = nullptr;
    QString FDescription;
    bool FIndexMethod = false;
    TfsCallMethodEvent FOnCall;
    TfsCallMethodNewEvent FOnCallNew;
    RaiseTextFunction FRaiseText = nullptr;
    DirectFunction FDirect = nullptr;
    DirectForm FDirectForm = DirectForm::Other;
    orv::script::Value FSetValue = orv::script::Value::null();
    QString FSyntax;
    orv::script::Value FVarArray;
    TfsObject FConstructed = nullptr;
    QString FGetName, FSetName;
};

// A component owned by a form or data module, reached by name as a member.
class TfsComponentHelper : public TfsCustomHelper {
public:
    explicit TfsComponentHelper(orv::platform::Component* Component);
    orv::script::Value GetValue() override;

private:
    orv::platform::Component* FComponent;
};

// A member named after a call or property whose object is known only when it runs: the
// member is looked up in the class of the object met then (a memo found by name has its
// Text), and read or written like the member itself.
class TfsLateMemberHelper : public TfsCustomHelper {
public:
    explicit TfsLateMemberHelper(const QString& AName) : TfsCustomHelper(AName, fvtVariant, QString()) {}
    orv::script::Value GetValue() override;
    void SetValue(const orv::script::Value& Value) override;

private:
    TfsCustomHelper* Member();
};

// An event property of a host class: assigning a script procedure binds it.
class TfsEventHelper : public TfsCustomHelper {
public:
    TfsEventHelper(const QString& AName, TfsEventClass AEvent);
    orv::script::Value GetValue() override;
    void SetValue(const orv::script::Value& Value) override;

    TfsClass ClassRef() const { return FClassRef; }
    void SetClassRef(TfsClass Value) { FClassRef = Value; }

private:
    TfsClass FClassRef = nullptr;
    TfsEventClass FEvent;
};

// A host class as scripts see it: its published properties and the members the modules
// register. Its value is a type cast of its argument, or nil.
class TfsClassVariable : public TfsCustomVariable {
public:
    TfsClassVariable(TfsClass AClass, const QString& Ancestor);
    ~TfsClassVariable() override;
    orv::script::Value GetValue() override;
    orv::script::Value* Storage() override { return nullptr; }

    TfsMethodHelper* AddMethod(const QString& Syntax, const TfsCallMethodEvent& CallEvent);
    TfsMethodHelper* AddMethod(const QString& Syntax, const TfsCallMethodNewEvent& CallEvent);
    TfsMethodHelper* AddConstructor(const QString& Syntax, const TfsCallMethodEvent& CallEvent);
    TfsMethodHelper* AddConstructor(const QString& Syntax, const TfsCallMethodNewEvent& CallEvent);
    TfsPropertyHelper* AddProperty(const QString& Name, const QString& Typ, const TfsGetValueEvent& GetEvent,
                                   const TfsSetValueEvent& SetEvent = nullptr);
    TfsPropertyHelper* AddPropertyEx(const QString& Name, const QString& Typ, const TfsGetValueNewEvent& GetEvent,
                                     const TfsSetValueNewEvent& SetEvent = nullptr);
    TfsMethodHelper* AddIndexProperty(const QString& Name, const QString& Params, const QString& Typ,
                                      const TfsCallMethodEvent& CallEvent, bool AReadOnly = false);
    TfsMethodHelper* AddIndexProperty(const QString& Name, const QString& Params, const QString& Typ,
                                      const TfsCallMethodNewEvent& CallEvent, bool AReadOnly = false);
    TfsMethodHelper* AddDefaultProperty(const QString& Name, const QString& Params, const QString& Typ,
                                        const TfsCallMethodEvent& CallEvent, bool AReadOnly = false);
    TfsMethodHelper* AddDefaultProperty(const QString& Name, const QString& Params, const QString& Typ,
                                        const TfsCallMethodNewEvent& CallEvent, bool AReadOnly = false);
    TfsEventHelper* AddEvent(const QString& Name, TfsEventClass AEvent);
    TfsComponentHelper* AddComponent(orv::platform::Component* Component);

    // The member of that name (ignoring case), here or up the ancestor chain; nullptr
    // when there is none.
    TfsCustomHelper* Find(const QString& Name);

    const QString& Ancestor() const { return FAncestor; }
    TfsClass ClassRef() const { return FClassRef; }
    TfsCustomHelper* DefProperty() const { return FDefProperty; }
    void SetDefProperty(TfsCustomHelper* Value) { FDefProperty = Value; }
    int MembersCount() const { return FMembers.Count(); }
    TfsCustomHelper* Members(int Index) const;
    TfsScript* Prog() const { return FProgram; }
    void SetProg(TfsScript* Value) { FProgram = Value; }

private:
    TfsMethodHelper* AddMember(TfsMethodHelper* Helper);
    static QString ConstructorSyntax(const QString& Syntax);
    static QString IndexPropertySyntax(const QString& Name, const QString& Params, const QString& Typ);

    QString FAncestor;
    TfsClass FClassRef;
    TfsCustomHelper* FDefProperty = nullptr;
    TfsItemList FMembers;
    TfsScript* FProgram = nullptr;
};

// The adapter through which a host event calls a script procedure; the event adapters
// of the bridges derive from it.
class TfsCustomEvent : public orv::script::ScriptObject {
public:
    TfsCustomEvent(TfsObject AObject, TfsProcVariable* AHandler) : FHandler(AHandler), FInstance(AObject) {}
    // The adapter's own handler, as the host's event property takes it.
    virtual QVariant GetMethod() = 0;

    TfsProcVariable* Handler() const { return FHandler; }
    TfsObject Instance() const { return FInstance; }
    // Calls the handler with the event's arguments; a re-entrant call does nothing.
    void CallHandler(const std::vector<TfsVarRec>& Params);

protected:
    TfsProcVariable* FHandler;
    TfsObject FInstance;
};

} // namespace orv::script
