#pragma once
// Statements. A statement list is itself a statement whose items are its statements; the
// main program of a script and the body of every script procedure are such lists.
// Control flow (break, continue, exit, termination) travels through flags of the script
// that holds the statement; run-time errors travel as exceptions.
#include <QString>
#include <memory>

#include "script/core/expressions.h"
#include "script/core/items.h"
#include "script/core/vm.h"

namespace orv::script {

class TfsScript;
class TfsDesignator;
class TfsSetExpression;


class TfsStatement : public TfsItemList {
public:
    TfsStatement(TfsScript* AProgram, const QString& UnitName, const QString& SourcePos);
    ~TfsStatement() override;
    // Runs the statements of the list in order, stopping at termination, break, continue
    // or exit.
    virtual void Execute();
    // The compiled form of a list that is a main program or a procedure's body.
    orv::script::vm::CodeHolder& Compiled()
    {
        if (!FCompiled) [[unlikely]]
            FCompiled = std::make_unique<orv::script::vm::CodeHolder>();
        return *FCompiled;
    }

    TfsStatement* Items(int Index) const { return static_cast<TfsStatement*>(FItems[size_t(Index)]); }
    TfsScript* Program() const { return FProgram; }
    const QString& SourcePos() const { return FSourcePos; }
    const QString& UnitName() const { return FUnitName; }

protected:
    void ExecuteList();
    // The line notification; false when the script has been terminated.
    bool Notify();

    TfsScript* FProgram;
    QString FSourcePos;
    QString FUnitName;
    std::unique_ptr<orv::script::vm::CodeHolder> FCompiled;
};

class TfsAssignmentStmt : public TfsStatement {
    friend class orv::script::vm::Compiler;

public:
    using TfsStatement::TfsStatement;
    ~TfsAssignmentStmt() override;
    void Execute() override;
    // Prepares the shortcuts: the target variable itself and the lone operand of the
    // expression.
    void Optimize();

    TfsDesignator* Designator() const { return FDesignator; }
    void SetDesignator(TfsDesignator* Value) { FDesignator = Value; }
    TfsCustomExpression* Expression() const { return FExpression; }
    void SetExpression(TfsCustomExpression* Value) { FExpression = Value; }

    // Writes the value read from the source (tmp when it was computed there and may be
    // moved into the target).
    void Write(const orv::script::Value& Value, orv::script::Value& tmp);
    // The item written: a variable, a parameter, or the path.
    TfsCustomVariable* Target() const { return FVar; }
    // Whether Value goes into the target as it is, or through the target's setter.
    bool Direct(const orv::script::Value& Value) const;

protected:
    // How a value reaches the target: straight into its storage when it has the kind the
    // target's setter would make of it, through the setter otherwise.
    enum class Store : unsigned char { Setter, AsIs, Integer, Boolean, Float, Text, Int64 };

    // The target's own storage, when a compound assignment may change it where it is.
    orv::script::Value* InPlaceTarget() const;

    // A text built by adding to itself, "t := t + a + b" or "t = t & x": the pieces
    // behind the target, each with whether it joins (&) or adds (+). Empty when the
    // statement has another shape, or when a piece might read or change the target.
    struct AppendPiece {
        TfsCustomVariable* item;
        bool join;
    };
    std::vector<AppendPiece> FAppend;
    // Computes the pieces, then grows the target where it is when all of it is text;
    // otherwise computes the whole by the operators' rules and writes it.
    void Append();

    TfsDesignator* FDesignator = nullptr;
    TfsCustomExpression* FExpression = nullptr;
    TfsCustomVariable* FVar = nullptr;
    TfsCustomVariable* FExpr = nullptr;
    TfsVariable* FPlainVar = nullptr; // FVar when it is a variable of the script
    orv::script::Operand FSource;
    orv::script::Value* FTarget = nullptr;
    Store FStore = Store::Setter;
};

class TfsAssignPlusStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    void Execute() override;
};

class TfsAssignMinusStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    void Execute() override;
};

class TfsAssignMulStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    void Execute() override;
};

class TfsAssignDivStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    void Execute() override;
};

class TfsCallStmt : public TfsStatement {
    friend class orv::script::vm::Compiler;

public:
    using TfsStatement::TfsStatement;
    ~TfsCallStmt() override;
    void Execute() override;

    TfsDesignator* Designator() const { return FDesignator; }
    void SetDesignator(TfsDesignator* Value) { FDesignator = Value; }
    const QString& Modificator() const { return FModificator; }
    void SetModificator(const QString& Value) { FModificator = Value; }

private:
    TfsDesignator* FDesignator = nullptr;
    QString FModificator;
};

class TfsIfStmt : public TfsStatement {
    friend class orv::script::vm::Compiler;

public:
    TfsIfStmt(TfsScript* AProgram, const QString& UnitName, const QString& SourcePos);
    ~TfsIfStmt() override;
    void Execute() override;

    TfsCustomExpression* Condition() const { return FCondition; }
    void SetCondition(TfsCustomExpression* Value)
    {
        FCondition = Value;
        FTest = orv::script::operandOf(Value);
    }
    TfsStatement* ElseStmt() const { return FElseStmt.get(); }

private:
    TfsCustomExpression* FCondition = nullptr;
    orv::script::Operand FTest;
    std::unique_ptr<TfsStatement> FElseStmt;
};

class TfsCaseSelector : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsCaseSelector() override;

    TfsSetExpression* SetExpression() const { return FSetExpression; }
    void SetSetExpression(TfsSetExpression* Value) { FSetExpression = Value; }
    // Runs the selector's statements.
    void Run() { ExecuteList(); }

private:
    TfsSetExpression* FSetExpression = nullptr;
};

class TfsCaseStmt : public TfsStatement {
public:
    TfsCaseStmt(TfsScript* AProgram, const QString& UnitName, const QString& SourcePos);
    ~TfsCaseStmt() override;
    void Execute() override;

    TfsCustomExpression* Condition() const { return FCondition; }
    void SetCondition(TfsCustomExpression* Value) { FCondition = Value; }
    TfsStatement* ElseStmt() const { return FElseStmt.get(); }

private:
    TfsCustomExpression* FCondition = nullptr;
    std::unique_ptr<TfsStatement> FElseStmt;
};

class TfsRepeatStmt : public TfsStatement {
    friend class orv::script::vm::Compiler;

public:
    using TfsStatement::TfsStatement;
    ~TfsRepeatStmt() override;
    void Execute() override;

    TfsCustomExpression* Condition() const { return FCondition; }
    void SetCondition(TfsCustomExpression* Value)
    {
        FCondition = Value;
        FTest = orv::script::operandOf(Value);
    }
    bool InverseCondition() const { return FInverseCondition; }
    void SetInverseCondition(bool Value) { FInverseCondition = Value; }

private:
    TfsCustomExpression* FCondition = nullptr;
    orv::script::Operand FTest;
    bool FInverseCondition = false;
};

class TfsWhileStmt : public TfsStatement {
    friend class orv::script::vm::Compiler;

public:
    using TfsStatement::TfsStatement;
    ~TfsWhileStmt() override;
    void Execute() override;

    TfsCustomExpression* Condition() const { return FCondition; }
    void SetCondition(TfsCustomExpression* Value)
    {
        FCondition = Value;
        FTest = orv::script::operandOf(Value);
    }

private:
    TfsCustomExpression* FCondition = nullptr;
    orv::script::Operand FTest;
};

class TfsForStmt : public TfsStatement {
    friend class orv::script::vm::Compiler;

public:
    using TfsStatement::TfsStatement;
    ~TfsForStmt() override;
    void Execute() override;

    TfsCustomExpression* BeginValue() const { return FBeginValue; }
    void SetBeginValue(TfsCustomExpression* Value) { FBeginValue = Value; }
    bool Down() const { return FDown; }
    void SetDown(bool Value) { FDown = Value; }
    TfsCustomExpression* EndValue() const { return FEndValue; }
    void SetEndValue(TfsCustomExpression* Value) { FEndValue = Value; }
    TfsCustomVariable* Variable() const { return FVariable; }
    void SetVariable(TfsCustomVariable* Value) { FVariable = Value; }

private:
    TfsCustomExpression* FBeginValue = nullptr;
    bool FDown = false;
    TfsCustomExpression* FEndValue = nullptr;
    TfsCustomVariable* FVariable = nullptr;
};

class TfsVbForStmt : public TfsStatement {
    friend class orv::script::vm::Compiler;

public:
    using TfsStatement::TfsStatement;
    ~TfsVbForStmt() override;
    void Execute() override;

    void SetBeginValue(TfsCustomExpression* Value) { FBeginValue = Value; }
    void SetEndValue(TfsCustomExpression* Value) { FEndValue = Value; }
    void SetStep(TfsCustomExpression* Value) { FStep = Value; }
    void SetVariable(TfsCustomVariable* Value) { FVariable = Value; }

private:
    TfsCustomExpression* FBeginValue = nullptr;
    TfsCustomExpression* FEndValue = nullptr;
    TfsCustomExpression* FStep = nullptr;
    TfsCustomVariable* FVariable = nullptr;
};

class TfsCppForStmt : public TfsStatement {
    friend class orv::script::vm::Compiler;

public:
    TfsCppForStmt(TfsScript* AProgram, const QString& UnitName, const QString& SourcePos);
    ~TfsCppForStmt() override;
    void Execute() override;

    TfsStatement* FirstStmt() const { return FFirstStmt.get(); }
    TfsStatement* SecondStmt() const { return FSecondStmt.get(); }
    void SetExpression(TfsCustomExpression* Value) { FExpression = Value; }

private:
    std::unique_ptr<TfsStatement> FFirstStmt;
    TfsCustomExpression* FExpression = nullptr;
    std::unique_ptr<TfsStatement> FSecondStmt;
};

class TfsTryStmt : public TfsStatement {
public:
    TfsTryStmt(TfsScript* AProgram, const QString& UnitName, const QString& SourcePos);
    void Execute() override;

    bool IsExcept() const { return FIsExcept; }
    void SetIsExcept(bool Value) { FIsExcept = Value; }
    TfsStatement* ExceptStmt() const { return FExceptStmt.get(); }

private:
    void RunFinally();

    bool FIsExcept = false;
    std::unique_ptr<TfsStatement> FExceptStmt;
};

class TfsBreakStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    void Execute() override;
};

class TfsContinueStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    void Execute() override;
};

class TfsExitStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    void Execute() override;
};

class TfsWithStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsWithStmt() override;
    void Execute() override;

    TfsDesignator* Designator() const { return FDesignator; }
    void SetDesignator(TfsDesignator* Value) { FDesignator = Value; }
    TfsCustomVariable* Variable() const { return FVariable; }
    void SetVariable(TfsCustomVariable* Value) { FVariable = Value; }

private:
    TfsDesignator* FDesignator = nullptr;
    TfsCustomVariable* FVariable = nullptr;
};

} // namespace orv::script

namespace orv::script {
// The class name of a platform error as scripts see it ("EConvertError", "Exception").
// The statement a run-time error passed first: the innermost one running when it arose.
// Called while the error is being handled; a later call for the same error keeps the place.
void noteErrorPlace(const TfsStatement* statement);
// The place noted for the error being handled, taken (false when none was noted for it).
bool takeErrorPlace(QString& unit, QString& pos);
QString exceptionClassName(const std::exception& e);
// Inside a catch block: throws the error being handled as one of the engine's errors, so
// that scripts can catch it and hosts see nothing else. Memory that ran out becomes
// EOutOfMemory "Out of memory", a standard exception an Exception with its text, anything
// else "External exception".
[[noreturn]] void rethrowAsScriptError();
}
