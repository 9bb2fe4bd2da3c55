#pragma once
// Designators: the compiled form of a name path (a variable, a call, a chain of object,
// members, indexes and calls), one step per name or index, each naming the item it
// reaches and holding the argument expressions written after it. The common shapes (a
// plain variable, a character of a text variable, an element of an array variable) have
// shortcut classes that skip the general walk. Set expressions serve "in" and the
// selectors of case statements.
#include <QString>
#include <memory>

#include "script/core/expressions.h"
#include "script/core/items.h"

namespace orv::script {

class TfsScript;
class TfsXMLItem;

enum TfsDesignatorKind { dkOther, dkVariable, dkStringArray, dkArray };

class TfsDesignatorItem : public TfsItemList {
public:
    TfsDesignatorItem() = default;
    ~TfsDesignatorItem() override;

    // The argument expressions of the step.
    TfsCustomExpression* Items(int Index) const { return static_cast<TfsCustomExpression*>(FItems[size_t(Index)]); }
    bool Flag() const { return FFlag; }
    void SetFlag(bool Value) { FFlag = Value; }
    TfsCustomVariable* Ref() const { return FRef; }
    void SetRef(TfsCustomVariable* Value) { FRef = Value; }
    const QString& SourcePos() const { return FSourcePos; }
    void SetSourcePos(const QString& Value) { FSourcePos = Value; }
    // The step owns its item (a component reached by name that no table holds).
    void SetOwnsRef(bool Value) { FOwnsRef = Value; }
    // How to read the arguments, made at the first call.
    const std::vector<orv::script::Operand>& Arguments()
    {
        if (FArgumentsFor != int(FItems.size())) [[unlikely]]
            PrepareArguments();
        return FArguments;
    }

private:
    friend class TfsDesignator;
    enum class Role : unsigned char { Plain, Designator, Procedure, Helper, Constructor };
    void PrepareArguments();

    bool FFlag = false;
    TfsCustomVariable* FRef = nullptr;
    QString FSourcePos;
    bool FOwnsRef = false;
    Role FRole = Role::Plain;
    std::vector<orv::script::Operand> FArguments;
    int FArgumentsFor = -1; // the argument count FArguments was made for
};

class TfsDesignator : public TfsCustomVariable {
public:
    explicit TfsDesignator(TfsScript* AProgram);
    ~TfsDesignator() override;
    orv::script::Value GetValue() override;
    void SetValue(const orv::script::Value& Value) override;
    orv::script::Value* Storage() override { return nullptr; }

    TfsDesignatorItem* Items(int Index) const { return static_cast<TfsDesignatorItem*>(FItems[size_t(Index)]); }
    // A TfsVariableDesignator: reading and writing it is reading and writing its variable.
    virtual bool IsVariableShortcut() const { return false; }
    TfsDesignatorItem* LastStep() const { return FItems.empty() ? nullptr : Items(Count() - 1); }
    void InsertStep(int Index, TfsDesignatorItem* Step) { FItems.insert(FItems.begin() + Index, Step); }
    // Frees the steps from Count on.
    void TruncateSteps(int Count);
    // The item of a path that is one name without arguments (a parameter, a constant),
    // which reading the path reads as it is; nullptr for any other path.
    TfsCustomVariable* PlainItem() const;
    // The one step of a call of a host function, arguments or none; nullptr otherwise.
    TfsDesignatorItem* PlainCall() const;
    // The step of a path that is one call of a script procedure, or nullptr.
    TfsDesignatorItem* ProcedureCall() const;
    // Calls the procedure of such a step; what reading the path does.
    static orv::script::Value CallProcedure(TfsDesignatorItem* Step);
    // The same with the arguments read already; their values move into the parameters.
    static orv::script::Value CallWith(TfsDesignatorItem* Step, orv::script::Value* Args, size_t Count);
    // Fixes kind, type name, read-only flag and shape once the steps are built.
    void Finalize();
    // Takes over the steps and the shape of another designator.
    void Borrow(TfsDesignator* ADesignator);

    TfsDesignatorKind Kind() const { return FKind; }
    TfsScript* MainProg() const { return FMainProg; }
    TfsScript* Prog() const { return FProgram; }
    TfsCustomVariable* Ref1() const { return FRef1; }
    TfsDesignatorItem* Ref2() const { return FRef2; }
    TfsXMLItem* LateBindingXmlSource() const { return FLateBindingXmlSource.get(); }
    // The path to resolve at the first use, with the declaration rule of its language.
    void SetLateBindingXmlSource(std::unique_ptr<TfsXMLItem> Source, bool NeedDeclareVars);

protected:
    orv::script::Value Walk(const orv::script::Value* Write);
    static orv::script::Value Enter(TfsDesignatorItem* Step, orv::script::Value* Args, size_t Count);
    orv::script::Value WalkSteps(const orv::script::Value* Write);
    void ResolveLateBinding();

    TfsDesignatorKind FKind = dkOther;
    TfsScript* FMainProg;
    TfsScript* FProgram;
    TfsCustomVariable* FRef1 = nullptr;
    TfsDesignatorItem* FRef2 = nullptr;
    std::unique_ptr<TfsXMLItem> FLateBindingXmlSource;
    bool FLateNeedDeclareVars = true;
};

class TfsVariableDesignator : public TfsDesignator {
public:
    using TfsDesignator::TfsDesignator;
    bool IsVariableShortcut() const override { return true; }
    orv::script::Value GetValue() override { return FRefItem->GetValue(); }
    void SetValue(const orv::script::Value& Value) override { FRefItem->SetValue(Value); }
};

class TfsStringDesignator : public TfsDesignator {
public:
    using TfsDesignator::TfsDesignator;
    orv::script::Value GetValue() override;
    void SetValue(const orv::script::Value& Value) override;
};

class TfsArrayDesignator : public TfsDesignator {
public:
    using TfsDesignator::TfsDesignator;
    orv::script::Value GetValue() override;
    void SetValue(const orv::script::Value& Value) override;

private:
    int Indexes(int* Out);
};

// Elements in source order; a nullptr entry between two expressions makes them the low
// and high bound of a range.
class TfsSetExpression : public TfsCustomVariable {
public:
    TfsSetExpression() : TfsCustomVariable(QString(), fvtVariant, QString()) {}
    orv::script::Value GetValue() override;
    orv::script::Value* Storage() override { return nullptr; }
    bool Check(const orv::script::Value& Value);
    TfsCustomExpression* Items(int Index) const { return static_cast<TfsCustomExpression*>(FItems[size_t(Index)]); }
};

} // namespace orv::script
