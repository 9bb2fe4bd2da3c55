#include "script/core/statements.h"

#include <algorithm>
#include <exception>
#include <typeinfo>

#include "platform/core/exceptions.h"
#include "script/core/designators.h"
#include "script/core/expressions.h"
#include "script/core/scratch.h"
#include "script/core/script.h"
#include "script/core/stack.h"
#include "script/core/vm.h"

#include <new>
#include <stdexcept>

namespace orv::script {
using namespace orv::platform;
} // namespace orv::script

namespace orv::script {

using orv::script::Value;

} // namespace orv::script

namespace orv::script {

namespace {

struct ErrorPlace {
    std::exception_ptr error;
    QString unit, pos;
};

ErrorPlace& errorPlace()
{
    thread_local ErrorPlace place;
    return place;
}

} // namespace

void noteErrorPlace(const TfsStatement* statement)
{
    ErrorPlace& place = errorPlace();
    std::exception_ptr error = std::current_exception();
    // The same error passing outer statements keeps the place where it arose.
    if (place.error == error)
        return;
    place.error = std::move(error);
    place.unit = statement->UnitName();
    place.pos = statement->SourcePos();
}

bool takeErrorPlace(QString& unit, QString& pos)
{
    ErrorPlace& place = errorPlace();
    const bool noted = place.error && place.error == std::current_exception();
    if (noted) {
        unit = place.unit;
        pos = place.pos;
    }
    place = ErrorPlace();
    return noted;
}

QString exceptionClassName(const std::exception& e)
{
    if (dynamic_cast<const EConvertError*>(&e))
        return QStringLiteral("EConvertError");
    if (dynamic_cast<const ERangeError*>(&e))
        return QStringLiteral("ERangeError");
    if (dynamic_cast<const EVariantError*>(&e))
        return QStringLiteral("EVariantError");
    if (dynamic_cast<const EDivByZero*>(&e))
        return QStringLiteral("EDivByZero");
    if (dynamic_cast<const EZeroDivide*>(&e))
        return QStringLiteral("EZeroDivide");
    if (dynamic_cast<const EFileError*>(&e))
        return QStringLiteral("EFileError");
    if (dynamic_cast<const EStackOverflow*>(&e))
        return QStringLiteral("EStackOverflow");
    if (dynamic_cast<const EOutOfMemory*>(&e))
        return QStringLiteral("EOutOfMemory");
    return QStringLiteral("Exception");
}

void rethrowAsScriptError()
{
    try {
        throw;
    } catch (const orv::platform::Exception&) {
        throw;
    } catch (const std::bad_alloc&) {
        outOfMemory();
    } catch (const std::length_error&) {
        outOfMemory();
    } catch (const std::exception& e) {
        throw orv::platform::Exception(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        throw orv::platform::Exception(QStringLiteral("External exception"));
    }
}

} // namespace orv::script

namespace orv::script {

namespace {

// Clears a loop's break flag however the loop ends.
struct BreakReset {
    TfsScript* p;
    ~BreakReset() { p->SetBreakCalled(false); }
};

// After one iteration: true when the loop ends; a continue is consumed.
inline bool loopEnds(TfsScript* p)
{
    if (p->LoopEnds())
        return true;
    p->SetContinueCalled(false);
    return false;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Lists

TfsStatement::TfsStatement(TfsScript* AProgram, const QString& UnitName, const QString& SourcePos)
    : FProgram(AProgram), FSourcePos(SourcePos), FUnitName(UnitName)
{
}

TfsStatement::~TfsStatement() = default;

bool TfsStatement::Notify()
{
    if (TfsScript::AnyRunLineHandler())
        FProgram->NotifyRunLine(FUnitName, FSourcePos);
    return !FProgram->Terminated();
}

void TfsStatement::ExecuteList()
{
    TfsScript* p = FProgram;
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (p->Terminated())
            break;
        auto* statement = static_cast<TfsStatement*>(FItems[i]);
        try {
            statement->Execute();
        } catch (...) {
            orv::script::noteErrorPlace(statement);
            throw;
        }
        if (p->BreakCalled() || p->ContinueCalled() || p->ExitCalled())
            break;
    }
}

void TfsStatement::Execute()
{
    ExecuteList();
}

// ---------------------------------------------------------------------------------------
// Assignments

TfsAssignmentStmt::~TfsAssignmentStmt()
{
    delete FDesignator;
    delete FExpression;
}

namespace {

// Whether computing a piece of a text built onto `target` leaves the target alone and
// reads nothing the growing changes: constants, other variables, operators and calls of
// host functions on such pieces. Calls of the script's own routines may read the target.
bool leavesAlone(TfsCustomVariable* item, const TfsCustomVariable* target, int depth = 0)
{
    if (!item || depth > 64)
        return false;
    if (auto* e = dynamic_cast<TfsExpression*>(item))
        return leavesAlone(e->Root(), target, depth + 1);
    if (auto* op = dynamic_cast<TfsOperatorNode*>(item)) {
        if (op->Op() == opIn || op->Op() == opIs)
            return false;
        return leavesAlone(op->Left(), target, depth + 1)
               && (!op->Right() || leavesAlone(op->Right(), target, depth + 1));
    }
    if (auto* node = dynamic_cast<TfsDesignatorNode*>(item)) {
        TfsDesignator* d = node->Designator();
        if (dynamic_cast<TfsVariableDesignator*>(d))
            return d->RefItem() != target && dynamic_cast<TfsVariable*>(d->RefItem());
        if (typeid(*d) != typeid(TfsDesignator) || d->Count() != 1 || d->LateBindingXmlSource())
            return false;
        TfsDesignatorItem* step = d->Items(0);
        auto* method = dynamic_cast<TfsMethodHelper*>(step->Ref());
        if (!method)
            return false;
        for (int i = 0; i < step->Count(); ++i)
            if (!leavesAlone(step->Items(i), target, depth + 1))
                return false;
        return true;
    }
    if (dynamic_cast<TfsSetNode*>(item))
        return false;
    return dynamic_cast<TfsOperandNode*>(item) != nullptr;
}

} // namespace

void TfsAssignmentStmt::Optimize()
{
    FVar = FDesignator;
    if (dynamic_cast<TfsVariableDesignator*>(FDesignator))
        FVar = FDesignator->RefItem();
    else if (auto* param = dynamic_cast<TfsParamItem*>(FDesignator->PlainItem()))
        FVar = param; // written where it is kept, as the path's walk would
    FExpr = FExpression;
    if (auto* e = dynamic_cast<TfsExpression*>(FExpression))
        if (TfsCustomVariable* single = e->SingleItem())
            FExpr = single;
    FPlainVar = dynamic_cast<TfsVariable*>(FVar);
    FSource = orv::script::operandOf(FExpression);
    if (FExpr != FExpression)
        FSource = orv::script::Operand::of(FExpr);

    // A text built onto itself: the pieces of a chain of + and & whose first operand is
    // the target.
    FAppend.clear();
    if (typeid(*this) == typeid(TfsAssignmentStmt) && FPlainVar && !FPlainVar->IsReadOnly()
        && (FPlainVar->Typ() == fvtString || FPlainVar->Typ() == fvtVariant)) {
        TfsCustomVariable* node = FExpression;
        if (auto* e = dynamic_cast<TfsExpression*>(node))
            node = e->Root();
        std::vector<AppendPiece> pieces;
        while (auto* op = dynamic_cast<TfsOperatorNode*>(node)) {
            if (op->Op() != opPlus || !op->Right())
                break;
            pieces.push_back({op->Right(), op->IsStrCat()});
            node = op->Left();
        }
        auto* first = dynamic_cast<TfsDesignatorNode*>(node);
        // Whether the pieces leave the target alone is asked only of a chain that starts
        // with the target: most assignments are no such chain.
        auto safe = [&] {
            return std::all_of(pieces.begin(), pieces.end(),
                               [&](const AppendPiece& p) { return leavesAlone(p.item, FPlainVar); });
        };
        if (!pieces.empty() && first && dynamic_cast<TfsVariableDesignator*>(first->Designator())
            && first->Designator()->RefItem() == FPlainVar && safe()) {
            std::reverse(pieces.begin(), pieces.end());
            FAppend = std::move(pieces);
        }
    }

    FTarget = nullptr;
    FStore = Store::Setter;
    if (dynamic_cast<TfsStringVariable*>(FVar)) {
        FTarget = FVar->Storage();
        FStore = Store::Text;
    } else if (FPlainVar && !FPlainVar->IsReadOnly()) {
        FTarget = FVar->Storage();
        switch (FVar->Typ()) {
        case fvtInt: FStore = Store::Integer; break;
        case fvtBool: FStore = Store::Boolean; break;
        case fvtFloat: FStore = Store::Float; break;
        case fvtString: FStore = Store::Text; break;
        case fvtInt64: FStore = Store::Int64; break;
        case fvtChar: FStore = Store::Setter; break;
        default: FStore = Store::AsIs; break;
        }
    } else if (dynamic_cast<TfsParamItem*>(FVar) && !FVar->IsReadOnly()) {
        FTarget = FVar->Storage();
        FStore = Store::AsIs;
    }
}

bool TfsAssignmentStmt::Direct(const Value& v) const
{
    switch (FStore) {
    case Store::AsIs: return true;
    case Store::Integer: return v.type() == orv::script::varInteger;
    case Store::Boolean: return v.type() == orv::script::varBoolean;
    case Store::Float: return v.type() == orv::script::varDouble;
    case Store::Text: return v.type() == orv::script::varUString;
    case Store::Int64: return v.type() == orv::script::varInt64;
    default: return false;
    }
}

void TfsAssignmentStmt::Write(const Value& v, Value& tmp)
{
    if (!Direct(v)) {
        FVar->SetValue(v);
        return;
    }
    if (&v == &tmp)
        *FTarget = std::move(tmp);
    else
        *FTarget = v;
}

Value* TfsAssignmentStmt::InPlaceTarget() const
{
    if (!FPlainVar || FPlainVar->IsReadOnly() || FPlainVar->OnGetVarValue())
        return nullptr;
    return FPlainVar->Storage();
}

void TfsAssignmentStmt::Append()
{
    // The pieces first, left to right, as the operators would read them.
    const size_t n = FAppend.size();
    orv::script::ValueScratch<8> parts(n);
    bool texts = true;
    for (size_t i = 0; i < n; ++i) {
        Value v = FAppend[i].item->GetValue();
        // Joining takes the text of any value but Null.
        if (FAppend[i].join && !v.isText())
            v = Value(v.isNull() ? QString() : v.toString());
        texts = texts && v.isText();
        parts[i] = std::move(v);
    }
    Value* target = InPlaceTarget();
    if (target && target->isText() && texts) {
        // The whole is measured before the target grows: a text too long leaves it as it was.
        qint64 length = target->text().size();
        for (size_t i = 0; i < n; ++i)
            length += parts[i].text().size();
        orv::script::checkTextLength(length);
        for (size_t i = 0; i < n; ++i)
            orv::script::addInPlace(*target, parts[i]);
        return;
    }
    Value whole = target ? *target : FVar->GetValue();
    for (size_t i = 0; i < n; ++i) {
        if (FAppend[i].join) {
            Value scratch = std::move(whole);
            whole = orv::script::joinTexts(scratch, parts[i], scratch);
        } else if (whole.isText() && parts[i].isText()) {
            orv::script::addInPlace(whole, parts[i]);
        } else {
            whole = orv::script::add(whole, parts[i]);
        }
    }
    Write(whole, whole);
}

void TfsAssignmentStmt::Execute()
{
    if (!Notify())
        return;
    if (!FAppend.empty()) {
        Append();
        return;
    }
    Value tmp;
    const Value& v = FSource.get(tmp);
    Write(v, tmp);
}

void TfsAssignPlusStmt::Execute()
{
    if (!Notify())
        return;
    if (Value* target = InPlaceTarget(); target && target->isText()) {
        // A text grows where it is instead of being copied for every piece.
        const Value e = FSource.value();
        if (e.isText()) {
            orv::script::addInPlace(*target, e);
            if (FPlainVar->Typ() == fvtString || FPlainVar->Typ() == fvtChar || FPlainVar->Typ() == fvtVariant)
                return;
            FVar->SetValue(Value(*target));
            return;
        }
        FVar->SetValue(orv::script::add(*target, e));
        return;
    }
    const Value v = FVar->GetValue();
    Value tmp = orv::script::add(v, FSource.value());
    Write(tmp, tmp);
}

void TfsAssignMinusStmt::Execute()
{
    if (!Notify())
        return;
    const Value v = FVar->GetValue();
    Value tmp = orv::script::subtract(v, FSource.value());
    Write(tmp, tmp);
}

void TfsAssignMulStmt::Execute()
{
    if (!Notify())
        return;
    const Value v = FVar->GetValue();
    Value tmp = orv::script::multiply(v, FSource.value());
    Write(tmp, tmp);
}

void TfsAssignDivStmt::Execute()
{
    if (!Notify())
        return;
    const Value v = FVar->GetValue();
    Value tmp = orv::script::binaryOp(orv::script::BinaryOp::Divide, v, FSource.value());
    Write(tmp, tmp);
}

// ---------------------------------------------------------------------------------------
// Calls

TfsCallStmt::~TfsCallStmt()
{
    delete FDesignator;
}

void TfsCallStmt::Execute()
{
    if (!Notify())
        return;
    if (FModificator.isEmpty()) {
        FDesignator->GetValue();
    } else if (FModificator == u"+") {
        const Value v = FDesignator->GetValue();
        FDesignator->SetValue(orv::script::add(v, Value(1)));
    } else if (FModificator == u"-") {
        const Value v = FDesignator->GetValue();
        FDesignator->SetValue(orv::script::subtract(v, Value(1)));
    }
}

// ---------------------------------------------------------------------------------------
// Conditions

TfsIfStmt::TfsIfStmt(TfsScript* AProgram, const QString& UnitName, const QString& SourcePos)
    : TfsStatement(AProgram, UnitName, SourcePos), FElseStmt(std::make_unique<TfsStatement>(AProgram, UnitName, SourcePos))
{
}

TfsIfStmt::~TfsIfStmt()
{
    delete FCondition;
}

void TfsIfStmt::Execute()
{
    if (!Notify())
        return;
    Value tmp;
    if (orv::script::isTrue(FTest.get(tmp)))
        ExecuteList();
    else
        FElseStmt->Execute();
}

TfsCaseSelector::~TfsCaseSelector()
{
    delete FSetExpression;
}

TfsCaseStmt::TfsCaseStmt(TfsScript* AProgram, const QString& UnitName, const QString& SourcePos)
    : TfsStatement(AProgram, UnitName, SourcePos),
      FElseStmt(std::make_unique<TfsStatement>(AProgram, UnitName, SourcePos))
{
}

TfsCaseStmt::~TfsCaseStmt()
{
    delete FCondition;
}

void TfsCaseStmt::Execute()
{
    const Value value = FCondition->GetValue();
    if (!Notify())
        return;
    for (orv::script::ScriptObject* item : FItems) {
        auto* selector = static_cast<TfsCaseSelector*>(item);
        if (selector->SetExpression()->Check(value)) {
            selector->Run();
            return;
        }
    }
    FElseStmt->Execute();
}

// ---------------------------------------------------------------------------------------
// Loops

TfsRepeatStmt::~TfsRepeatStmt()
{
    delete FCondition;
}

void TfsRepeatStmt::Execute()
{
    if (!Notify())
        return;
    BreakReset reset{FProgram};
    for (;;) {
        ExecuteList();
        if (loopEnds(FProgram))
            break;
        Value tmp;
        const bool condition = orv::script::isTrue(FTest.get(tmp));
        if (condition != FInverseCondition)
            break;
    }
}

TfsWhileStmt::~TfsWhileStmt()
{
    delete FCondition;
}

void TfsWhileStmt::Execute()
{
    if (!Notify())
        return;
    BreakReset reset{FProgram};
    for (;;) {
        Value tmp;
        if (!orv::script::isTrue(FTest.get(tmp)))
            break;
        ExecuteList();
        if (loopEnds(FProgram))
            break;
    }
}

TfsForStmt::~TfsForStmt()
{
    delete FBeginValue;
    delete FEndValue;
}

void TfsForStmt::Execute()
{
    // Bounds are fixed before the loop starts, and counted in 64 bits so that a bound
    // at the end of the Integer range still ends the loop.
    const qint64 from = FBeginValue->GetValue().toInt();
    const qint64 to = FEndValue->GetValue().toInt();
    if (!Notify())
        return;
    BreakReset reset{FProgram};
    Value& counter = *FVariable->PValue();
    const qint64 step = FDown ? -1 : 1;
    if (FDown ? from < to : to < from)
        return;
    for (qint64 i = from;; i += step) {
        counter = Value(int(i));
        ExecuteList();
        if (loopEnds(FProgram) || i == to)
            break;
    }
}

TfsVbForStmt::~TfsVbForStmt()
{
    delete FBeginValue;
    delete FEndValue;
    delete FStep;
}

void TfsVbForStmt::Execute()
{
    using orv::script::CompareOp;
    Value running = FBeginValue->GetValue();
    const Value end = FEndValue->GetValue();
    const Value step = FStep ? FStep->GetValue() : Value::fromByte(1);
    if (!Notify())
        return;
    BreakReset reset{FProgram};
    const bool down = orv::script::compare(CompareOp::Less, step, Value(0));
    Value& variable = *FVariable->PValue();
    while (down ? orv::script::compare(CompareOp::GreaterOrEqual, running, end)
                : orv::script::compare(CompareOp::LessOrEqual, running, end)) {
        variable = running;
        ExecuteList();
        if (loopEnds(FProgram))
            break;
        running = orv::script::add(running, step);
    }
}

TfsCppForStmt::TfsCppForStmt(TfsScript* AProgram, const QString& UnitName, const QString& SourcePos)
    : TfsStatement(AProgram, UnitName, SourcePos),
      FFirstStmt(std::make_unique<TfsStatement>(AProgram, UnitName, SourcePos)),
      FSecondStmt(std::make_unique<TfsStatement>(AProgram, UnitName, SourcePos))
{
}

TfsCppForStmt::~TfsCppForStmt()
{
    delete FExpression;
}

void TfsCppForStmt::Execute()
{
    if (!Notify())
        return;
    BreakReset reset{FProgram};
    FFirstStmt->Execute();
    if (FProgram->Terminated())
        return;
    while (FExpression->GetValue().toBool()) {
        ExecuteList();
        if (loopEnds(FProgram))
            break;
        FSecondStmt->Execute();
    }
}

// ---------------------------------------------------------------------------------------
// Exceptions and jumps

TfsTryStmt::TfsTryStmt(TfsScript* AProgram, const QString& UnitName, const QString& SourcePos)
    : TfsStatement(AProgram, UnitName, SourcePos),
      FExceptStmt(std::make_unique<TfsStatement>(AProgram, UnitName, SourcePos))
{
}

void TfsTryStmt::RunFinally()
{
    // An exit in the protected part still takes effect after the finally part.
    const bool exitCalled = FProgram->ExitCalled();
    FProgram->SetExitCalled(false);
    FExceptStmt->Execute();
    FProgram->SetExitCalled(exitCalled);
}

void TfsTryStmt::Execute()
{
    if (!Notify())
        return;
    if (FIsExcept) {
        QString className, message;
        try {
            try {
                ExecuteList();
                return;
            } catch (...) {
                orv::script::rethrowAsScriptError();
            }
        } catch (const orv::platform::Exception& e) {
            className = orv::script::exceptionClassName(e);
            message = e.message();
        }
        FProgram->SetVariables(QStringLiteral("ExceptionClassName"), Value(className));
        FProgram->SetVariables(QStringLiteral("ExceptionMessage"), Value(message));
        FExceptStmt->Execute();
        return;
    }
    try {
        ExecuteList();
    } catch (...) {
        RunFinally();
        throw;
    }
    RunFinally();
}

void TfsBreakStmt::Execute()
{
    FProgram->SetBreakCalled(true);
}

void TfsContinueStmt::Execute()
{
    FProgram->SetContinueCalled(true);
}

void TfsExitStmt::Execute()
{
    if (TfsScript::AnyRunLineHandler())
        FProgram->NotifyRunLine(FUnitName, FSourcePos);
    FProgram->SetExitCalled(true);
}

TfsWithStmt::~TfsWithStmt()
{
    delete FDesignator;
}

void TfsWithStmt::Execute()
{
    if (!Notify())
        return;
    ExecuteList();
    FVariable->SetValue(FDesignator->GetValue());
}

} // namespace orv::script
