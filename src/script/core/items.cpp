#include "script/core/items.h"

#include <algorithm>

#include "platform/core/exceptions.h"
#include "platform/core/reflection.h"
#include "script/core/objects.h"
#include "script/core/script.h"
#include "script/core/stack.h"
#include "script/core/statements.h"
#include "script/core/typerules.h"
#include "script/core/vm.h"
#include "script/front/messages.h"

namespace orv::script {

using orv::script::Value;
namespace rtti = orv::platform::rtti;

} // namespace orv::script

namespace orv::script {

QString upperName(const QString& name)
{
    // Most names are empty (expression nodes) or in upper case already: those are shared,
    // not copied.
    const qsizetype n = name.size();
    qsizetype first = 0;
    for (const QChar* q = name.constData(); first < n; ++first) {
        const char16_t c = q[first].unicode();
        if (c < 128 ? (c >= u'a' && c <= u'z') : (!QChar::isSurrogate(c) && QChar::toUpper(char32_t(c)) != c))
            break;
    }
    if (first == n)
        return name;
    QString out = name;
    char16_t* p = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = first; i < n; ++i) {
        const char16_t c = p[i];
        if (c < 128) {
            if (c >= u'a' && c <= u'z')
                p[i] = char16_t(c - 32);
        } else if (!QChar::isSurrogate(c)) {
            p[i] = char16_t(QChar::toUpper(char32_t(c)));
        }
    }
    return out;
}

} // namespace orv::script

// ---------------------------------------------------------------------------------------
// Lists and the base item

namespace orv::script {

TfsItemList::~TfsItemList()
{
    for (orv::script::ScriptObject* item : FItems)
        delete item;
}

void TfsItemList::Clear()
{
    std::vector<orv::script::ScriptObject*> items;
    items.swap(FItems);
    Changed();
    for (orv::script::ScriptObject* item : items)
        delete item;
}

void TfsItemList::Remove(orv::script::ScriptObject* Item)
{
    const auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it != FItems.end()) {
        FItems.erase(it);
        Changed();
    }
}

TfsCustomVariable::TfsCustomVariable(const QString& AName, TfsVarType ATyp, const QString& ATypeName)
    : FTyp(ATyp), FName(AName), FTypeName(ATypeName), FUppercaseName(orv::script::upperName(AName))
{
}

TfsCustomVariable::~TfsCustomVariable()
{
    if (FOnGetVarValue)
        --Providers;
}

Value TfsCustomVariable::GetValue()
{
    return FValue;
}

void TfsCustomVariable::SetValue(const Value& Value)
{
    if (!FIsReadOnly)
        FValue = Value;
}

int TfsCustomVariable::GetNumberOfRequiredParams() const
{
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        if (!Params(i)->IsOptional())
            ++n;
    return n;
}

QString TfsCustomVariable::GetFullTypeName() const
{
    switch (FTyp) {
    case fvtInt: return QStringLiteral("Integer");
    case fvtBool: return QStringLiteral("Boolean");
    case fvtFloat: return QStringLiteral("Extended");
    case fvtChar: return QStringLiteral("Char");
    case fvtString: return QStringLiteral("String");
    case fvtClass:
    case fvtEnum: return FTypeName;
    case fvtArray: return QStringLiteral("Array");
    case fvtInt64: return QStringLiteral("Int64");
    default: return QStringLiteral("Variant");
    }
}

// ---------------------------------------------------------------------------------------
// Variables

namespace {

Value convertToKind(const Value& v, TfsVarType kind)
{
    switch (kind) {
    case fvtInt:
        return v.type() == orv::script::varInteger ? v : Value(v.toInt());
    case fvtBool:
        return v.type() == orv::script::varBoolean ? v : Value(v.toBool());
    case fvtFloat:
        return v.type() == orv::script::varDouble ? v : Value(v.toDouble());
    case fvtString:
        return v.isText() ? v : Value(v.toString());
    case fvtInt64:
        return v.type() == orv::script::varInt64 ? v : Value::fromInt64(v.toInt64());
    default:
        return v;
    }
}

} // namespace

Value TfsVariable::GetValue()
{
    if (!FOnGetVarValue)
        return FValue;
    Value v = FOnGetVarValue(FName, FTyp, FValue);
    return v.isNull() ? FValue : v;
}

void TfsVariable::SetValue(const Value& Value)
{
    if (FIsReadOnly)
        return;
    if (FTyp == fvtVariant || FTyp == fvtClass || FTyp == fvtArray || FTyp == fvtEnum)
        FValue = Value;
    else
        FValue = convertToKind(Value, FTyp);
}

Value TfsVariable::Converted(const Value& Value) const
{
    if (FTyp == fvtVariant || FTyp == fvtClass || FTyp == fvtArray || FTyp == fvtEnum)
        return Value;
    return convertToKind(Value, FTyp);
}

TfsStringVariable::TfsStringVariable(const QString& AName, TfsVarType ATyp, const QString& ATypeName)
    : TfsVariable(AName, ATyp, ATypeName), FStr(QString())
{
    FShape = Shape::StringVariable;
}

Value TfsStringVariable::GetValue()
{
    if (!FOnGetVarValue)
        return FStr;
    Value v = FOnGetVarValue(FName, FTyp, FStr);
    if (v.isNull())
        return FStr;
    return v.isText() ? v : Value(v.toString());
}

void TfsStringVariable::SetValue(const Value& Value)
{
    FStr = Converted(Value);
}

Value TfsStringVariable::Converted(const Value& Value) const
{
    return Value.type() == orv::script::varUString ? Value : orv::script::Value(Value.toString());
}

TfsParamItem::TfsParamItem(const QString& AName, TfsVarType ATyp, const QString& ATypeName, bool AIsOptional,
                           bool AIsVarParam)
    : TfsCustomVariable(AName, ATyp, ATypeName), FIsOptional(AIsOptional), FIsVarParam(AIsVarParam)
{
    FShape = Shape::Param;
}

// ---------------------------------------------------------------------------------------
// Script procedures

TfsProcVariable::TfsProcVariable(const QString& AName, TfsVarType ATyp, const QString& ATypeName,
                                 TfsScript* AParent, bool AIsFunc)
    : TfsCustomVariable(AName, ATyp, ATypeName), FIsFunc(AIsFunc), FProgram(new TfsScript())
{
    FShape = Shape::Procedure;
    FIsReadOnly = true;
    FProgram->SetParent(AParent);
    if (AParent)
        FProgram->SetUseClassLateBinding(AParent->UseClassLateBinding());
    if (FIsFunc) {
        auto* result = new TfsVariable(QStringLiteral("Result"), ATyp, ATypeName);
        FRefItem = result;
        FProgram->Add(QStringLiteral("Result"), result);
        // Unassigned through the setter: the empty value of the function's kind.
        result->SetValue(Value());
        FResultStart = *result->PValue();
    }
}

TfsProcVariable::~TfsProcVariable()
{
    // The parameters belong to this item; the local script must not free them.
    for (int i = 0; i < Count(); ++i)
        FProgram->Remove(Params(i));
    delete FProgram;
}

quint64 TfsProcVariable::LocalsVersion() const
{
    return FProgram->TableVersion();
}

void TfsProcVariable::CollectLocals()
{
    FLocals.clear();
    for (int i = 0; i < FProgram->Count(); ++i) {
        TfsCustomVariable* item = FProgram->Items(i);
        if (dynamic_cast<TfsVariable*>(item) || dynamic_cast<TfsParamItem*>(item))
            FLocals.push_back(item->Storage());
    }
    FLocalsVersion = FProgram->TableVersion();
}

Value TfsProcVariable::GetValue()
{
    orv::script::checkStack();
    TfsScript* head = nullptr;
    for (TfsScript* s = FProgram; s; s = s->Parent()) {
        if (s->MainProg()) {
            head = s;
            break;
        }
    }
    struct Restore {
        TfsProcVariable* proc;
        bool executing;
        TfsScript* head;
        TfsScript* running;
        ~Restore()
        {
            TfsScript* p = proc->FProgram;
            p->SetActivation(false);
            if (head)
                head->SetProgRunning(running);
            proc->FExecuting = executing;
        }
    } restore{this, FExecuting, head, head ? head->ProgRunning() : nullptr};

    FExecuting = true;
    if (FIsFunc) {
        if (FRefItem->IsReadOnly()) [[unlikely]]
            FRefItem->SetValue(Value());
        else
            *FRefItem->PValue() = FResultStart;
    }
    if (head)
        head->SetProgRunning(FProgram);
    FProgram->SetActivation(true);
    try {
        orv::script::vm::runRoutine(this);
    } catch (...) {
        // Hosts call routines through here too (events, report expressions).
        orv::script::rethrowAsScriptError();
    }
    if (!FIsFunc)
        return Value::null();
    return FRefItem->HasProvider() ? FRefItem->GetValue() : *FRefItem->PValue();
}

// ---------------------------------------------------------------------------------------
// Helpers

TfsObject TfsCustomHelper::ParentObject() const
{
    return FParentValue.isNull() ? nullptr : orv::script::valueObject(FParentValue);
}

TfsCustomHelper* TfsLateMemberHelper::Member()
{
    const TfsObject object = ParentObject();
    if (!object)
        throw orv::platform::Exception(orv::script::invalidObjectReferenceText());
    if (FProgram)
        for (const orv::platform::rtti::ClassInfo* info = &object->classInfo(); info; info = info->parent())
            if (TfsClassVariable* cls = FProgram->FindClass(info->name()))
                if (TfsCustomHelper* member = cls->Find(FName)) {
                    member->SetParentRef(FParentRef);
                    member->SetParentValue(FParentValue);
                    member->SetProg(FProgram);
                    return member;
                }
    throw orv::platform::Exception(fsMessage(TfsMessage::SIdUndeclared) + u'\'' + FName + u'\'');
}

Value TfsLateMemberHelper::GetValue() { return Member()->GetValue(); }

void TfsLateMemberHelper::SetValue(const Value& Value) { Member()->SetValue(Value); }

TfsArrayHelper::TfsArrayHelper(const QString& AName, int DimCount, TfsVarType Typ, const QString& TypeName)
    : TfsCustomHelper(AName, Typ, TypeName)
{
    if (DimCount < 0) {
        Add(new TfsParamItem(QString(), fvtVariant, QString(), false, false));
        Add(new TfsParamItem(QString(), fvtVariant, QString(), true, false));
        Add(new TfsParamItem(QString(), fvtVariant, QString(), true, false));
    } else {
        for (int i = 0; i < DimCount; ++i)
            Add(new TfsParamItem(QString(), fvtVariant, QString(), false, false));
    }
}

Value* TfsArrayHelper::ParentArray()
{
    if (FParentRef)
        if (Value* storage = FParentRef->Storage())
            return storage;
    return &FParentValue;
}

int TfsArrayHelper::Indexes(int* Out, const Value& Array)
{
    // Only as many indexes as the array has dimensions are read: an optional index the
    // script left out holds no number.
    const int n = std::min(Count(), std::max(Array.dimCount(), 1));
    for (int i = 0; i < n; ++i)
        Out[i] = Params(i)->PValue()->toInt();
    return n;
}

Value TfsArrayHelper::ReadElement(const Value& Array, const int* Indexes, int Count)
{
    const int dims = Array.dimCount();
    if (dims < 1 || dims > 3)
        return Value::null();
    if (Count != dims)
        throw orv::platform::ERangeError(orv::script::rangeErrorText());
    return Array.element(std::span<const int>(Indexes, size_t(Count)));
}

void TfsArrayHelper::WriteElement(Value& Array, const int* Indexes, int Count, const Value& Value)
{
    const int dims = Array.dimCount();
    if (dims < 1 || dims > 3)
        return;
    if (Count != dims)
        throw orv::platform::ERangeError(orv::script::rangeErrorText());
    Array.elementRef(std::span<const int>(Indexes, size_t(Count))) = Value;
}

Value TfsArrayHelper::GetValue()
{
    const Value& array = *ParentArray();
    int indexes[3];
    const int n = Indexes(indexes, array);
    return ReadElement(array, indexes, n);
}

void TfsArrayHelper::SetValue(const Value& Value)
{
    orv::script::Value& array = *ParentArray();
    int indexes[3];
    const int n = Indexes(indexes, array);
    WriteElement(array, indexes, n, Value);
}

TfsStringHelper::TfsStringHelper() : TfsCustomHelper(QStringLiteral("__StringHelper"), fvtChar, QString())
{
    Add(new TfsParamItem(QString(), fvtVariant, QString(), false, false));
}

Value TfsStringHelper::CharAt(const QString& Text, qint64 Position)
{
    if (Position < 1 || Position > Text.size())
        throw orv::platform::ERangeError(orv::script::rangeErrorText());
    return Value(QString(Text[qsizetype(Position - 1)]));
}

void TfsStringHelper::SetCharAt(QString& Text, qint64 Position, const Value& Value)
{
    const QString value = Value.toString();
    if (Position < 1 || Position > Text.size() || value.isEmpty())
        throw orv::platform::ERangeError(orv::script::rangeErrorText());
    Text[qsizetype(Position - 1)] = value[0];
}

Value TfsStringHelper::GetValue()
{
    const Value& parent = FParentValue;
    const qint64 position = Params(0)->PValue()->toInt64();
    return CharAt(parent.isText() ? parent.text() : parent.toString(), position);
}

void TfsStringHelper::SetValue(const Value& Value)
{
    QString text = FParentValue.toString();
    SetCharAt(text, Params(0)->PValue()->toInt64(), Value);
    if (FParentRef)
        FParentRef->SetValue(orv::script::Value(text));
}

// ---------------------------------------------------------------------------------------
// Properties

Value TfsPropertyHelper::ReadPublished(TfsObject Instance)
{
    const platform::rtti::PropInfo* prop = Instance->classInfo().findProperty(FName);
    if (!prop || !prop->isReadable())
        return Value::null();
    const QVariant v = prop->read(*Instance);
    switch (prop->kind) {
    case platform::rtti::Kind::Integer:
    case platform::rtti::Kind::Enumeration:
    case platform::rtti::Kind::Set:
        return Value(int(v.toLongLong()));
    case platform::rtti::Kind::Class:
        return orv::script::objectValue(v.value<platform::rtti::Object*>());
    case platform::rtti::Kind::Char:
    case platform::rtti::Kind::WChar:
        return Value(QString(QChar(char16_t(v.toLongLong()))));
    case platform::rtti::Kind::Float:
        return Value(v.toDouble());
    case platform::rtti::Kind::String:
        return Value(v.toString());
    case platform::rtti::Kind::Variant:
        return orv::script::variantToValue(v);
    default:
        return Value::null();
    }
}

void TfsPropertyHelper::WritePublished(TfsObject Instance, const Value& Value)
{
    const platform::rtti::PropInfo* prop = Instance->classInfo().findProperty(FName);
    if (!prop)
        return;
    QVariant v;
    switch (prop->kind) {
    case platform::rtti::Kind::Integer:
    case platform::rtti::Kind::Enumeration:
    case platform::rtti::Kind::Set:
    case platform::rtti::Kind::Int64:
        if (FTyp == fvtBool)
            v = qint64(orv::script::equals(Value, orv::script::Value(true)) ? 1 : 0);
        else
            v = qint64(Value.toInt());
        break;
    case platform::rtti::Kind::Class:
        v = QVariant::fromValue(orv::script::valueObject(Value));
        break;
    case platform::rtti::Kind::Char:
    case platform::rtti::Kind::WChar: {
        const QString text = Value.toString();
        v = qint64(text.isEmpty() ? 0 : text[0].unicode());
        break;
    }
    case platform::rtti::Kind::Float:
        v = Value.toDouble();
        break;
    case platform::rtti::Kind::String:
        v = Value.toString();
        break;
    case platform::rtti::Kind::Variant:
        v = orv::script::valueToVariant(Value);
        break;
    default:
        return;
    }
    prop->write(*Instance, v);
}

Value TfsPropertyHelper::GetValue()
{
    const TfsObject instance = ParentObject();
    Value result = Value::null();
    if (FIsPublished) {
        if (instance)
            result = ReadPublished(instance);
    } else if (FOnGetValue) {
        result = FOnGetValue(instance, FClassRef, FUppercaseName);
    } else if (FOnGetValueNew) {
        result = FOnGetValueNew(instance, FClassRef, FUppercaseName, this);
    }
    if (FTyp == fvtBool && result.type() != orv::script::varBoolean)
        result = Value(!result.isNull() && !result.isEmpty() && !orv::script::equals(result, Value(0)));
    return result;
}

void TfsPropertyHelper::SetValue(const Value& Value)
{
    if (FIsReadOnly)
        return;
    const TfsObject instance = ParentObject();
    if (FIsPublished) {
        // A published property of nil has nowhere to go.
        if (instance)
            WritePublished(instance, Value);
    } else if (FOnSetValue) {
        FOnSetValue(instance, FClassRef, FUppercaseName, Value);
    } else if (FOnSetValueNew) {
        FOnSetValueNew(instance, FClassRef, FUppercaseName, Value, this);
    }
}

// ---------------------------------------------------------------------------------------
// Methods

TfsMethodHelper::TfsMethodHelper(const QString& Syntax, TfsScript* Script)
    : TfsCustomHelper(QString(), fvtVariant, QString()), FSyntax(Syntax)
{
    FShape = Shape::Method;
    std::unique_ptr<TfsCustomVariable> declared(fsParseDeclaration(Syntax, Script));
    FName = declared->Name();
    FUppercaseName = orv::script::upperName(FName);
    FTyp = declared->Typ();
    FTypeName = declared->TypeName();
    FIsMacro = declared->IsMacro();
    while (declared->Count() > 0) {
        TfsParamItem* p = declared->Params(0);
        declared->Remove(p);
        Add(p);
    }
    FIsReadOnly = true;
    if (Count() > 0)
        FVarArray = Value::createArray({{0, Count() - 1}});
}

TfsObject TfsMethodHelper::Instance() const
{
    if (FConstructed)
        return FConstructed;
    return ParentObject();
}

const QString& TfsMethodHelper::MemberName(const char* Suffix)
{
    QString& name = Suffix[1] == 'G' ? FGetName : FSetName;
    if (name.isEmpty())
        name = FUppercaseName + QLatin1String(Suffix);
    return name;
}

Value TfsMethodHelper::GetValue()
{
    const TfsObject instance = Instance();
    const QString& name = FIndexMethod ? MemberName(".GET") : FUppercaseName;
    if (FOnCall) {
        for (int i = 0; i < Count(); ++i)
            FVarArray.elementRef({i}) = *Params(i)->PValue();
        Value result = FOnCall(instance, FClassRef, name, FVarArray);
        for (int i = 0; i < Count(); ++i)
            if (Params(i)->IsVarParam() && FVarArray.isArray() && i <= FVarArray.highBound(1))
                Params(i)->SetValue(FVarArray.element({i}));
        return result;
    }
    if (FOnCallNew)
        return FOnCallNew(instance, FClassRef, name, this);
    return Value::fromByte(0);
}

void TfsMethodHelper::SetValue(const Value& Value)
{
    if (!FIndexMethod)
        return;
    const TfsObject instance = Instance();
    const QString& name = MemberName(".SET");
    if (FOnCall) {
        orv::script::Value args = orv::script::Value::createArray({{0, Count()}});
        for (int i = 0; i < Count(); ++i)
            args.elementRef({i}) = *Params(i)->PValue();
        args.elementRef({Count()}) = Value;
        FOnCall(instance, FClassRef, name, args);
    } else if (FOnCallNew) {
        struct Reset {
            orv::script::Value& v;
            ~Reset() { v = orv::script::Value::null(); }
        } reset{FSetValue};
        FSetValue = Value;
        FOnCallNew(instance, FClassRef, name, this);
    }
}

Value TfsMethodHelper::GetVParam(int Index)
{
    if (Index == Count())
        return FSetValue;
    if (Index < 0 || Index > Count())
        return Value::null();
    return *Params(Index)->PValue();
}

void TfsMethodHelper::SetVParam(int Index, const Value& Value)
{
    if (Index >= 0 && Index < Count())
        Params(Index)->SetValue(Value);
}

// ---------------------------------------------------------------------------------------
// Components and events

TfsComponentHelper::TfsComponentHelper(orv::platform::Component* Component)
    : TfsCustomHelper(Component->Name(), fvtClass, Component->ClassName()), FComponent(Component)
{
}

Value TfsComponentHelper::GetValue()
{
    return orv::script::objectValue(FComponent);
}

TfsEventHelper::TfsEventHelper(const QString& AName, TfsEventClass AEvent)
    : TfsCustomHelper(AName, fvtString, QString()), FEvent(AEvent)
{
}

Value TfsEventHelper::GetValue()
{
    return Value(QString());
}

void TfsEventHelper::SetValue(const Value& Value)
{
    const TfsObject instance = ParentObject();
    const QString text = Value.toString();
    QVariant handler;
    if (text != u"0") {
        TfsCustomVariable* item = FProgram ? FProgram->Find(text) : nullptr;
        auto* proc = dynamic_cast<TfsProcVariable*>(item);
        if (!proc)
            throw orv::platform::Exception(fsMessage(TfsMessage::SEventError));
        TfsCustomEvent* adapter = FEvent(instance, proc);
        FProgram->Add(QString(), adapter);
        handler = adapter->GetMethod();
    }
    if (!instance)
        return;
    if (const platform::rtti::PropInfo* prop = instance->classInfo().findProperty(FName))
        prop->write(*instance, handler);
}

void TfsCustomEvent::CallHandler(const std::vector<TfsVarRec>& Params)
{
    if (FHandler->Executing())
        return;
    const int n = std::min(FHandler->Count(), int(Params.size()));
    for (int i = 0; i < n; ++i)
        FHandler->Params(i)->SetValue(fsVarRecToValue(Params[size_t(i)]));
    FHandler->GetValue();
}

// ---------------------------------------------------------------------------------------
// Class descriptions

namespace {

void publishedKind(const platform::rtti::PropInfo& p, TfsVarType& kind, QString& typeName)
{
    typeName = p.typeName;
    switch (p.kind) {
    case platform::rtti::Kind::Char:
    case platform::rtti::Kind::WChar:
        kind = fvtChar;
        break;
    case platform::rtti::Kind::Enumeration:
        if (p.typeName.compare(u"Boolean", Qt::CaseInsensitive) == 0
            || p.typeName.compare(u"bool", Qt::CaseInsensitive) == 0)
            kind = fvtBool;
        else
            kind = fvtEnum;
        break;
    case platform::rtti::Kind::Float:
        kind = fvtFloat;
        break;
    case platform::rtti::Kind::String:
        kind = fvtString;
        break;
    case platform::rtti::Kind::Set:
        kind = fvtEnum;
        break;
    case platform::rtti::Kind::Class:
        kind = fvtClass;
        if (const platform::rtti::ClassInfo* c = p.propertyClass())
            typeName = c->name();
        break;
    case platform::rtti::Kind::Variant:
        kind = fvtVariant;
        break;
    case platform::rtti::Kind::Int64:
        kind = fvtInt64;
        break;
    default:
        kind = fvtInt;
        break;
    }
}

} // namespace

TfsClassVariable::TfsClassVariable(TfsClass AClass, const QString& Ancestor)
    : TfsCustomVariable(AClass ? AClass->name() : QString(), fvtClass, AClass ? AClass->name() : QString()),
      FAncestor(Ancestor), FClassRef(AClass)
{
    FShape = Shape::Class;
    Add(new TfsParamItem(QString(), fvtVariant, QString(), true, false));
    if (!AClass)
        return;
    for (const platform::rtti::PropInfo* p : AClass->properties()) {
        // Event properties are bound through the members the modules add for them.
        if (p->kind == platform::rtti::Kind::Method)
            continue;
        TfsVarType kind;
        QString typeName;
        publishedKind(*p, kind, typeName);
        auto* helper = new TfsPropertyHelper(p->name, kind, typeName);
        helper->SetIsPublished(true);
        helper->SetClassRef(AClass);
        helper->SetIsReadOnly(!p->isWritable());
        FMembers.Add(helper);
    }
}

TfsClassVariable::~TfsClassVariable() = default;

Value TfsClassVariable::GetValue()
{
    // A type cast changes nothing at run time; without one the class names no object.
    Value* cast = Params(0)->PValue();
    Value result = cast->isNull() ? Value(0) : *cast;
    *cast = Value::null();
    return result;
}

TfsCustomHelper* TfsClassVariable::Members(int Index) const
{
    return static_cast<TfsCustomHelper*>(FMembers.Item(Index));
}

TfsMethodHelper* TfsClassVariable::AddMember(TfsMethodHelper* Helper)
{
    Helper->SetClassRef(FClassRef);
    FMembers.Add(Helper);
    return Helper;
}

TfsMethodHelper* TfsClassVariable::AddMethod(const QString& Syntax, const TfsCallMethodEvent& CallEvent)
{
    auto* m = new TfsMethodHelper(Syntax, FProgram);
    m->SetOnCall(CallEvent);
    return AddMember(m);
}

TfsMethodHelper* TfsClassVariable::AddMethod(const QString& Syntax, const TfsCallMethodNewEvent& CallEvent)
{
    auto* m = new TfsMethodHelper(Syntax, FProgram);
    m->SetOnCallNew(CallEvent);
    return AddMember(m);
}

QString TfsClassVariable::ConstructorSyntax(const QString& Syntax)
{
    const qsizetype blank = Syntax.indexOf(u' ');
    return QStringLiteral("function") + (blank < 0 ? QString() : Syntax.mid(blank)) + QStringLiteral(": Constructor");
}

TfsMethodHelper* TfsClassVariable::AddConstructor(const QString& Syntax, const TfsCallMethodEvent& CallEvent)
{
    return AddMethod(ConstructorSyntax(Syntax), CallEvent);
}

TfsMethodHelper* TfsClassVariable::AddConstructor(const QString& Syntax, const TfsCallMethodNewEvent& CallEvent)
{
    return AddMethod(ConstructorSyntax(Syntax), CallEvent);
}

TfsPropertyHelper* TfsClassVariable::AddProperty(const QString& Name, const QString& Typ,
                                                 const TfsGetValueEvent& GetEvent, const TfsSetValueEvent& SetEvent)
{
    auto* p = new TfsPropertyHelper(Name, fsNameToVarType(Typ, FProgram), Typ);
    p->SetClassRef(FClassRef);
    p->SetOnGetValue(GetEvent);
    p->SetOnSetValue(SetEvent);
    p->SetIsReadOnly(!SetEvent);
    FMembers.Add(p);
    return p;
}

TfsPropertyHelper* TfsClassVariable::AddPropertyEx(const QString& Name, const QString& Typ,
                                                   const TfsGetValueNewEvent& GetEvent,
                                                   const TfsSetValueNewEvent& SetEvent)
{
    auto* p = new TfsPropertyHelper(Name, fsNameToVarType(Typ, FProgram), Typ);
    p->SetClassRef(FClassRef);
    p->SetOnGetValueNew(GetEvent);
    p->SetOnSetValueNew(SetEvent);
    p->SetIsReadOnly(!SetEvent);
    FMembers.Add(p);
    return p;
}

QString TfsClassVariable::IndexPropertySyntax(const QString& Name, const QString& Params, const QString& Typ)
{
    QStringList params;
    int i = 0;
    for (const QString& type : Params.split(u',', Qt::SkipEmptyParts))
        params << QStringLiteral("p%1: %2").arg(i++).arg(type.trimmed());
    return QStringLiteral("function ") + Name + u'(' + params.join(QStringLiteral("; ")) + QStringLiteral("): ") + Typ;
}

TfsMethodHelper* TfsClassVariable::AddIndexProperty(const QString& Name, const QString& Params, const QString& Typ,
                                                    const TfsCallMethodEvent& CallEvent, bool AReadOnly)
{
    TfsMethodHelper* m = AddMethod(IndexPropertySyntax(Name, Params, Typ), CallEvent);
    m->SetIsReadOnly(AReadOnly);
    m->SetIndexMethod(true);
    return m;
}

TfsMethodHelper* TfsClassVariable::AddIndexProperty(const QString& Name, const QString& Params, const QString& Typ,
                                                    const TfsCallMethodNewEvent& CallEvent, bool AReadOnly)
{
    TfsMethodHelper* m = AddMethod(IndexPropertySyntax(Name, Params, Typ), CallEvent);
    m->SetIsReadOnly(AReadOnly);
    m->SetIndexMethod(true);
    return m;
}

TfsMethodHelper* TfsClassVariable::AddDefaultProperty(const QString& Name, const QString& Params, const QString& Typ,
                                                      const TfsCallMethodEvent& CallEvent, bool AReadOnly)
{
    TfsMethodHelper* m = AddIndexProperty(Name, Params, Typ, CallEvent, AReadOnly);
    FDefProperty = m;
    return m;
}

TfsMethodHelper* TfsClassVariable::AddDefaultProperty(const QString& Name, const QString& Params, const QString& Typ,
                                                      const TfsCallMethodNewEvent& CallEvent, bool AReadOnly)
{
    TfsMethodHelper* m = AddIndexProperty(Name, Params, Typ, CallEvent, AReadOnly);
    FDefProperty = m;
    return m;
}

TfsEventHelper* TfsClassVariable::AddEvent(const QString& Name, TfsEventClass AEvent)
{
    auto* e = new TfsEventHelper(Name, AEvent);
    e->SetClassRef(FClassRef);
    FMembers.Add(e);
    return e;
}

TfsComponentHelper* TfsClassVariable::AddComponent(orv::platform::Component* Component)
{
    auto* c = new TfsComponentHelper(Component);
    FMembers.Add(c);
    return c;
}

TfsCustomHelper* TfsClassVariable::Find(const QString& Name)
{
    // The ancestor chain is followed by name; a chain that names itself again stops.
    TfsClassVariable* cls = this;
    for (int guard = 0; cls && guard < 256; ++guard) {
        for (int i = 0; i < cls->FMembers.Count(); ++i) {
            auto* m = static_cast<TfsCustomHelper*>(cls->FMembers.Item(i));
            if (m->Name().compare(Name, Qt::CaseInsensitive) == 0)
                return m;
        }
        if (cls->FAncestor.isEmpty() || !cls->FProgram)
            break;
        TfsClassVariable* next = cls->FProgram->FindClass(cls->FAncestor);
        if (next == cls)
            break;
        cls = next;
    }
    return nullptr;
}

} // namespace orv::script
