#include "script/core/designators.h"

#include <algorithm>
#include <optional>

#include "platform/core/reflection.h"
#include "script/core/expressions.h"
#include "script/core/objects.h"
#include "script/core/scratch.h"
#include "script/core/script.h"
#include "script/front/ilparser.h"
#include "script/front/messages.h"
#include "script/front/xml.h"

namespace orv::script {

using orv::script::Value;
using orv::script::ValueScratch;

using orv::script::LocalsKeeper;

TfsDesignatorItem::~TfsDesignatorItem()
{
    if (FOwnsRef)
        delete FRef;
}

void TfsDesignatorItem::PrepareArguments()
{
    {
        FArguments.clear();
        for (int i = 0; i < Count(); ++i)
            FArguments.push_back(orv::script::operandOf(Items(i)));
        FArgumentsFor = Count();
    }
}

TfsDesignator::TfsDesignator(TfsScript* AProgram)
    : TfsCustomVariable(QString(), fvtInt, QString()), FProgram(AProgram)
{
    FShape = Shape::Designator;
    FMainProg = AProgram;
    for (TfsScript* s = AProgram; s; s = s->Parent()) {
        if (s->MainProg()) {
            FMainProg = s;
            break;
        }
    }
    if (AProgram && FMainProg != AProgram)
        AProgram->SetUseClassLateBinding(FMainProg->UseClassLateBinding());
}

TfsDesignator::~TfsDesignator() = default;

void TfsDesignator::SetLateBindingXmlSource(std::unique_ptr<TfsXMLItem> Source, bool NeedDeclareVars)
{
    FLateBindingXmlSource = std::move(Source);
    FLateNeedDeclareVars = NeedDeclareVars;
}

void TfsDesignator::Finalize()
{
    FKind = dkOther;
    const int n = Count();
    if (n == 0)
        return;
    TfsCustomVariable* last = Items(n - 1)->Ref();
    FTyp = last->Typ();
    FTypeName = last->TypeName();
    if (FTyp == fvtConstructor) {
        FTyp = fvtClass;
        FTypeName = n > 1 ? Items(n - 2)->Ref()->TypeName() : QString();
    }
    FIsReadOnly = last->IsReadOnly();

    // What each step is, decided once instead of at every walk.
    for (int i = 0; i < n; ++i) {
        TfsDesignatorItem* step = Items(i);
        TfsCustomVariable* s = step->Ref();
        using Role = TfsDesignatorItem::Role;
        using Shape = TfsCustomVariable::Shape;
        switch (s->ItemShape()) {
        case Shape::Designator:
            step->FRole = Role::Designator;
            break;
        case Shape::Procedure:
            step->FRole = Role::Procedure;
            break;
        case Shape::Method:
            step->FRole = s->Typ() == fvtConstructor && i > 0 && Items(i - 1)->Ref()->ItemShape() == Shape::Class
                              ? Role::Constructor
                              : Role::Helper;
            break;
        case Shape::Helper:
            step->FRole = Role::Helper;
            break;
        default:
            step->FRole = Role::Plain;
            break;
        }
    }

    TfsCustomVariable* first = Items(0)->Ref();
    if (n == 1 && first->IsVariable()) {
        FKind = dkVariable;
        FRefItem = first;
    } else if (n == 2 && first->ItemShape() == Shape::StringVariable && Items(1)->Count() > 0) {
        FKind = dkStringArray;
        FRefItem = first;
        FRef1 = Items(1)->Items(0);
    } else if (n == 2 && first->IsVariable() && first->Typ() == fvtArray
               && Items(1)->Ref() == first->RefItem()) {
        FKind = dkArray;
        FRefItem = first;
        FRef1 = first->RefItem();
        FRef2 = Items(1);
    }
}

TfsDesignatorItem* TfsDesignator::ProcedureCall() const
{
    if (FLateBindingXmlSource || FItems.size() != 1 || Items(0)->FRole != TfsDesignatorItem::Role::Procedure)
        return nullptr;
    return Items(0);
}

TfsDesignatorItem* TfsDesignator::PlainCall() const
{
    if (FLateBindingXmlSource || FItems.size() != 1 || Items(0)->FRole != TfsDesignatorItem::Role::Helper
        || Items(0)->Ref()->ItemShape() != TfsCustomVariable::Shape::Method)
        return nullptr;
    return Items(0);
}

TfsCustomVariable* TfsDesignator::PlainItem() const
{
    if (FLateBindingXmlSource || FItems.size() != 1 || Items(0)->Count() != 0
        || Items(0)->FRole != TfsDesignatorItem::Role::Plain)
        return nullptr;
    return Items(0)->Ref();
}

void TfsDesignator::TruncateSteps(int Count)
{
    while (int(FItems.size()) > Count) {
        delete FItems.back();
        FItems.pop_back();
    }
}

void TfsDesignator::Borrow(TfsDesignator* ADesignator)
{
    FItems.swap(ADesignator->FItems);
    FKind = ADesignator->FKind;
    FRef1 = ADesignator->FRef1;
    FRef2 = ADesignator->FRef2;
    FTyp = ADesignator->FTyp;
    FTypeName = ADesignator->FTypeName;
    FIsReadOnly = ADesignator->FIsReadOnly;
    FRefItem = ADesignator->FRefItem;
}

void TfsDesignator::ResolveLateBinding()
{
    std::unique_ptr<TfsXMLItem> source = std::move(FLateBindingXmlSource);
    TfsILParser parser(FProgram);
    parser.SetNeedDeclareVars(FLateNeedDeclareVars);
    std::unique_ptr<TfsDesignator> resolved(parser.DoDesignator(source.get(), FProgram, emNone));
    // Steps that this designator held so far go with the resolved designator.
    Borrow(resolved.get());
}

Value TfsDesignator::GetValue()
{
    return Walk(nullptr);
}

void TfsDesignator::SetValue(const Value& Value)
{
    Walk(&Value);
}

Value TfsDesignator::CallProcedure(TfsDesignatorItem* step)
{
    const std::vector<orv::script::Operand>& arguments = step->Arguments();
    const size_t argc = arguments.size();
    ValueScratch<4> args(argc);
    for (size_t j = 0; j < argc; ++j)
        args[j] = arguments[j].value();
    return CallWith(step, args.data(), argc);
}

Value TfsDesignator::CallWith(TfsDesignatorItem* step, Value* args, size_t argc)
{
    auto* proc = static_cast<TfsProcVariable*>(step->FRef);
    Value result;
    if (proc->Executing()) {
        LocalsKeeper keeper(proc);
        result = Enter(step, args, argc);
    } else {
        result = Enter(step, args, argc);
    }
    // Written back once the caller's own locals are in place again: an argument may be
    // a parameter or local of the same procedure, called from itself.
    const size_t count = std::min(argc, size_t(proc->Count()));
    for (size_t j = 0; j < count; ++j)
        if (proc->Params(int(j))->IsVarParam()) [[unlikely]]
            step->Items(int(j))->SetValue(args[j]);
    return result;
}

// The arguments were all read before: an argument may read a parameter of the same
// procedure. The parameters passed by reference leave their last values in args.
Value TfsDesignator::Enter(TfsDesignatorItem* step, Value* args, size_t argc)
{
    auto* proc = static_cast<TfsProcVariable*>(step->FRef);
    const size_t count = std::min(argc, size_t(proc->Count()));
    for (size_t j = 0; j < count; ++j) {
        TfsParamItem* param = proc->Params(int(j));
        if (param->IsReadOnly())
            param->SetValue(args[j]);
        else
            *param->PValue() = std::move(args[j]);
    }
    Value result = proc->TfsProcVariable::GetValue();
    for (size_t j = 0; j < count; ++j) {
        TfsParamItem* param = proc->Params(int(j));
        if (param->IsVarParam()) [[unlikely]]
            args[j] = *param->PValue();
    }
    return result;
}

Value TfsDesignator::Walk(const Value* Write)
{
    if (FLateBindingXmlSource)
        ResolveLateBinding();
    using Role = TfsDesignatorItem::Role;
    if (!Write && FItems.size() == 1 && Items(0)->FRole == Role::Procedure)
        return CallProcedure(Items(0));
    return WalkSteps(Write);
}

Value TfsDesignator::WalkSteps(const Value* Write)
{
    using Role = TfsDesignatorItem::Role;
    Value v = Value::null();
    TfsCustomVariable* prev = nullptr;
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        TfsDesignatorItem* step = Items(i);
        TfsCustomVariable* s = step->FRef;
        if (step->FRole == Role::Designator) {
            v = s->GetValue();
            prev = s;
            continue;
        }
        std::optional<LocalsKeeper> keeper;
        if (step->FRole == Role::Procedure && static_cast<TfsProcVariable*>(s)->Executing())
            keeper.emplace(static_cast<TfsProcVariable*>(s));

        const int argc = step->Count();
        if (argc > 0) {
            ValueScratch<6> args{size_t(argc)};
            for (int j = 0; j < argc; ++j) {
                TfsCustomExpression* arg = step->Items(j);
                if (s->IsMacro())
                    args[size_t(j)] = Value(static_cast<TfsExpression*>(arg)->Source());
                else
                    args[size_t(j)] = arg->GetValue();
            }
            const int count = std::min(argc, s->Count());
            for (int j = 0; j < count; ++j)
                s->Params(j)->SetValue(args[size_t(j)]);
        }

        if (step->FRole == Role::Helper || step->FRole == Role::Constructor) {
            auto* helper = static_cast<TfsCustomHelper*>(s);
            helper->SetParentRef(prev);
            helper->SetParentValue(v);
            helper->SetProg(FProgram);
        }
        prev = s;
        if (Write && i == n - 1) {
            s->SetValue(*Write);
        } else if (step->FRole == Role::Constructor) {
            // The object comes from the class's registered factory, fully made; the
            // constructor member then sets it up with its arguments.
            auto* cls = static_cast<TfsClassVariable*>(Items(i - 1)->Ref());
            auto* method = static_cast<TfsMethodHelper*>(s);
            if (!cls->ClassRef())
                throw orv::platform::Exception(fsMessage(TfsMessage::SClassRequired));
            orv::platform::rtti::Object* object = cls->ClassRef()->create(nullptr);
            method->SetConstructed(object);
            try {
                Value result = method->GetValue();
                method->SetConstructed(nullptr);
                orv::platform::rtti::Object* made = nullptr;
                v = orv::script::tryValueObject(result, made) && made ? result : orv::script::objectValue(object);
            } catch (...) {
                method->SetConstructed(nullptr);
                delete object;
                throw;
            }
        } else {
            v = s->GetValue();
        }

        // Written back once the caller's own locals are in place again.
        const int count = std::min(argc, s->Count());
        bool anyReference = false;
        for (int j = 0; j < count; ++j)
            anyReference = anyReference || s->Params(j)->IsVarParam();
        if (anyReference) [[unlikely]] {
            ValueScratch<6> finals{size_t(count)};
            for (int j = 0; j < count; ++j)
                if (s->Params(j)->IsVarParam())
                    finals[size_t(j)] = *s->Params(j)->PValue();
            keeper.reset();
            for (int j = 0; j < count; ++j)
                if (s->Params(j)->IsVarParam())
                    step->Items(j)->SetValue(finals[size_t(j)]);
        }
    }
    return v;
}

// ---------------------------------------------------------------------------------------
// Shortcuts

Value TfsStringDesignator::GetValue()
{
    const qint64 position = FRef1->GetValue().toInt64();
    const Value& text = *FRefItem->Storage();
    return TfsStringHelper::CharAt(text.text(), position);
}

void TfsStringDesignator::SetValue(const Value& Value)
{
    const qint64 position = FRef1->GetValue().toInt64();
    orv::script::Value& text = *FRefItem->Storage();
    TfsStringHelper::SetCharAt(text.mutableText(), position, Value);
}

int TfsArrayDesignator::Indexes(int* Out)
{
    const std::vector<orv::script::Operand>& indexes = FRef2->Arguments();
    const int n = int(indexes.size());
    for (int i = 0; i < n && i < 3; ++i) {
        Value tmp;
        const Value& v = indexes[size_t(i)].get(tmp);
        Out[i] = v.type() == orv::script::varInteger ? v.asInt() : v.toInt();
    }
    return n;
}

Value TfsArrayDesignator::GetValue()
{
    if (FRef2->Count() == 1) {
        Value tmp;
        const Value& v = FRef2->Arguments()[0].get(tmp);
        const int index = v.type() == orv::script::varInteger ? v.asInt() : v.toInt();
        const Value& array = *FRefItem->Storage();
        if (const Value* element = array.at1(index))
            return *element;
        return TfsArrayHelper::ReadElement(array, &index, 1);
    }
    int indexes[3];
    const int n = Indexes(indexes);
    return TfsArrayHelper::ReadElement(*FRefItem->Storage(), indexes, std::min(n, 4));
}

void TfsArrayDesignator::SetValue(const Value& Value)
{
    if (FRef2->Count() == 1) {
        orv::script::Value tmp;
        const orv::script::Value& v = FRef2->Arguments()[0].get(tmp);
        const int index = v.type() == orv::script::varInteger ? v.asInt() : v.toInt();
        orv::script::Value& array = *FRefItem->Storage();
        if (orv::script::Value* element = array.mutableAt1(index)) {
            *element = Value;
            return;
        }
        TfsArrayHelper::WriteElement(array, &index, 1, Value);
        return;
    }
    int indexes[3];
    const int n = Indexes(indexes);
    TfsArrayHelper::WriteElement(*FRefItem->Storage(), indexes, std::min(n, 4), Value);
}

// ---------------------------------------------------------------------------------------
// Sets

bool TfsSetExpression::Check(const Value& Value)
{
    using orv::script::CompareOp;
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        TfsCustomExpression* item = Items(i);
        if (!item)
            continue;
        if (i + 2 < n && !Items(i + 1) && Items(i + 2)) {
            if (!orv::script::compare(CompareOp::Less, Value, item->GetValue())
                && !orv::script::compare(CompareOp::Greater, Value, Items(i + 2)->GetValue()))
                return true;
            i += 2;
            continue;
        }
        if (orv::script::compare(CompareOp::Equal, Value, item->GetValue()))
            return true;
    }
    return false;
}

Value TfsSetExpression::GetValue()
{
    if (Count() == 0)
        return Value::createArray({{0, -1}});
    Value array = Value::createArray({{0, Count() - 1}});
    for (int i = 0; i < Count(); ++i)
        array.elementRef({i}) = Items(i) ? Items(i)->GetValue() : Value::null();
    return array;
}

} // namespace orv::script
