#include "script/core/vm.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <iterator>
#include <typeinfo>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/exceptions.h"
#include "script/core/designators.h"
#include "script/core/expressions.h"
#include "script/core/scratch.h"
#include "script/core/stack.h"
#include "script/core/script.h"
#include "script/core/statements.h"




namespace orv::script::vm {

namespace {

bool compiledRunning = true;

// The order is the order of the dispatch table in execute().
enum class Op : unsigned char {
    // registers and values
    Move,       // R[dst] = A
    Add,        // R[dst] = A + B, and so on: Integers stay in place when they can
    Subtract,
    Multiply,
    IntDivide,
    Modulo,
    Divide,     // R[dst] = A / B, floating
    Equal,      // R[dst] = Boolean of A = B, and so on
    NotEqual,
    Less,
    LessOrEqual,
    Greater,
    GreaterOrEqual,
    Not,        // R[dst] = not A
    Negate,     // R[dst] = -A
    Eval,       // R[dst] = item's value
    Call,       // R[dst] = the call of the procedure step `step` of the designator `item`
    CallArgs,   // the same with the arguments read from sources[target .. target + target2)
    Element,    // R[dst] = element A of the array kept at ptr
    Jump,       // goto target
    JumpIfNot,  // unless A is true: goto target
    JumpIf,     // if A is true: goto target
    // statements
    Terminated, // the list's test before a statement: a statement before it ended the list
                // (break, continue, exit) or the script is terminated: goto target (the list's end)
    Enter,      // Terminated and Line of one statement: goto target, or target2 behind it
    JumpCompare, // the comparison <sub & 15> of A and B is (sub & 16 ? true : false): goto target
    Line,       // the statement's line notification; terminated then: goto target (behind it)
    Store,      // the assignment `item` writes A
    Exec,       // the statement `item` runs by itself
    LoopEnd,    // after a loop body: break or exit: goto target; continue is consumed
    ClearBreak,
    SetBreak,
    SetContinue,
    Exit,       // line notification of `item`, then exit
    ForInit,    // R[dst] = A and R[dst + 1] = B, both as Integers counted in 64 bits
    ForCheck,   // nothing to count (direction sub): goto target
    ForSet,     // the loop variable kept at ptr = R[dst]
    ForNext,    // last count: goto target; otherwise step R[dst] and goto target2
    CallScript, // R[dst] = the call of the script procedure `item` (step `step`), arguments
                // from sources[target .. target + target2)
    StoreSlot,  // the assignment `statement` writes A into the local kept in R[dst]
    ForSetSlot, // the loop variable kept in R[target] = R[dst]
    AddAssign,  // the plus-assignment `statement` of A to the variable kept at ptr, or in
                // R[dst] when dst >= 0, with the rules of texts growing in place
    StepVariable, // the variable `item` kept at ptr, or in R[dst] when dst >= 0, = A + 1 (sub
                  // bit 1: A - 1) by its setter's rules (sub bit 2: it takes Integers as they are)
    IfTerminated, // the script is terminated: goto target
    VbForInit,  // R[dst], R[dst + 1], R[dst + 2] = A, B, the step (a Byte 1 without one, else
                // in R[dst + 2] already); R[dst + 3] = whether it counts down
    VbForCheck, // the running value R[dst] is past the end: goto target
    VbForSet,   // the loop variable kept at ptr, or in R[target] when target >= 0, = R[dst]
    VbForNext,  // break or exit: goto target2; otherwise R[dst] = R[dst] + the step; goto target
    AddInto,    // the same six operations writing their result straight into the variable
    SubtractInto, // kept at ptr, which takes every value as it is
    MultiplyInto,
    IntDivideInto,
    ModuloInto,
    DivideInto,
    AddFloat,   // four of them into a floating variable kept at ptr, the assignment
    SubtractFloat, // `statement` writing results that are not floating (in R[dst] first)
    MultiplyFloat,
    DivideFloat,
    ForLoop,    // LoopEnd to target, then ForNext: last count: goto target; otherwise step
                // R[dst], set the loop variable (kept at ptr, or in R[a.reg] when >= 0) and
                // goto target2
    LoopJump,   // LoopEnd to target, then goto target2
    Element2,   // R[dst] = element A, B of the two-dimensional array kept at ptr
    HostCall,   // R[dst] = the call of the host function `item` with the arguments read from
                // sources[target .. target + target2)
    CaseJump,   // A of the kind of case table target2: goto its entry for A
    AddInt,     // five operations into an Integer variable kept at ptr, the assignment
    SubtractInt, // `statement` writing results that are not Integers (in R[dst] first)
    MultiplyInt,
    IntDivideInt,
    ModuloInt,
    StoreElement, // the value sources[target] into element A (and B, sub 2) of the array kept at ptr
    ForStep,    // the turn of a C loop whose step counts an Integer kept at ptr (sub bit 1: down) and
                // whose condition is the comparison at target: all in one while nothing is
                // set, no line handler or value provider is there and the values are
                // Integers; otherwise on
    Raise,      // the host procedure `item` that only raises an error, called as HostCall; inside
                // a try ... except of this code (sub 2) or of a caller further up that runs
                // compiled, its error goes to the handler without leaving as a C++ exception
    AddPrepare, // before a plus-assignment's expression runs code: R[dst + 1] = whether the
                // target (kept at ptr, or in R[target] when target >= 0) is a text; if not,
                // R[dst] = its value
    AddFinish,  // the plus-assignment `statement` of A, by the statement's rules, after
                // AddPrepare into R[dst]
    DirectCall, // R[dst] = the direct function of the host function `item` of the arguments
                // read from sources[target .. target + target2)
    TerminatedFirst, // Terminated and Enter for the first statement of a list, which runs
    EnterFirst,      // unless the script is terminated, as the statement lists do it
    FloatAdd,   // Add, Subtract, Multiply and Divide where an operand is floating by its
    FloatSubtract, // declaration: the same results, floating operands tried first
    FloatMultiply,
    FloatDivide,
    FloatExpression, // the floating expression target2 of `code.floats` into the floating
                     // variable kept at ptr, then goto target; when an operand is not of its
                     // usual kind, a divisor is zero or a value provider is there: on, into the
                     // instructions of the same assignment
    CompareJump, // R[dst] = the Boolean of the comparison <sub & 15> of A and B; it is
                 // (sub & 16 ? true : false): goto target
    End,
};


struct Source {
    const Value* ptr = nullptr;                // where the value is kept; nullptr: register
    const TfsCustomVariable* provided = nullptr; // a variable whose value provider must answer when set
    TfsCustomVariable* item = nullptr;
    int reg = -1;
    bool local = false; // the register holds a parameter or local: read, never moved from
};

struct Instr {
    Op op;
    unsigned char sub = 0;
    // How many loops of this code the instruction is inside: an error leaving a loop clears
    // its break, as the loop statements do.
    unsigned char loops = 0;
    int dst = 0;
    int target = 0;
    int target2 = 0;
    Source a, b;
    TfsCustomVariable* item = nullptr;
    TfsStatement* statement = nullptr;
    Value* ptr = nullptr;
    TfsDesignatorItem* step = nullptr;
    // CallScript: the frame code of the procedure found at the last call.
    mutable Code* frame = nullptr;
    // HostCall: the script the function runs for.
    TfsScript* prog = nullptr;
};

} // namespace

// The selectors of a case statement whose values are all constants of one kind: where
// each value goes, found at once instead of comparing it with every value in turn.
struct CaseTable {
    bool texts = false;
    int low = 0;               // Integers: targets[value - low]
    std::vector<int> targets;  // texts: targets[i] for keys[i], the first one that is equal
    std::vector<QString> keys;
    int otherwise = 0;         // the else branch
};

// The protected statements of a try ... except: an error arising in [start, end) runs the
// handler at `handler`; the innermost region comes first.
struct Region {
    int start;
    int end;
    int handler;
    unsigned char loops;
};

// A floating expression of operands read where they are kept, computed in doubles in one
// instruction. The steps work on one running value: an operation with an operand takes it
// as its right side, a load saves the running value for a later operation that takes the
// saved value as its left side. Each operand must hold the kind its declaration gives (a
// floating or an Integer variable), and no product has two Integer sides, whose zero the
// general rules keep without a sign.
struct FloatStep {
    // The operand kinds; with an operation: kind = operation * 3 + operand kind.
    enum Operand : unsigned char { Floating, Integer, Constant };
    enum Operation : unsigned char { Load, Add, Subtract, Multiply, Divide };
    enum Kind : unsigned char { SavedAdd = 15, SavedSubtract, SavedMultiply, SavedDivide, Done };
    unsigned char kind = Done;
    double constant = 0;
    Source source;
};

struct FloatProgram {
    std::vector<FloatStep> steps;
};

// The deepest a floating expression may reach.
constexpr int kFloatDepth = 8;

struct Code {
    std::vector<Instr> instrs;
    std::vector<FloatProgram> floats;
    std::vector<CaseTable> cases;
    std::vector<Region> regions;
    std::vector<Source> sources; // the arguments of calls
    // Beside each argument passed by reference to a plain variable of the script: that
    // variable, which gets the value back straight.
    std::vector<TfsVariable*> backs;
    // The innermost statement each instruction belongs to, for the place of an error.
    std::vector<const TfsStatement*> owners;
    // A procedure's frame: its parameters, Result and locals, then the temporaries, then
    // two for values that a value provider gives. Other code has no locals.
    int registers = 0;
    int locals = 0;
    int resultSlot = -1;
    // The parameters passed by reference, one bit each (a frame has at most 64 locals).
    quint64 varParams = 0;
    // Where the items of the locals keep their values, and the items.
    std::vector<Value*> storages;
    std::vector<TfsCustomVariable*> slotItems;
    // A frame runs only code of the script that never looks at the items of the locals.
    bool frameable = false;
    // It also writes every local before reading it: a call may start it with empty locals.
    bool fastEntry = false;
    // Every list the code was made from, with its change count at that moment, and the
    // table of the procedure's locals with its version.
    std::vector<std::pair<const TfsItemList*, quint64>> lists;
    const TfsScript* table = nullptr;
    quint64 tableVersion = 0;
    // The count of all changes when the lists were found unchanged the last time.
    quint64 checked = 0;

    bool current()
    {
        if (TfsItemList::AnyChanges() == checked) [[likely]]
            return true;
        for (const auto& [list, changes] : lists)
            if (list->Changes() != changes)
                return false;
        if (table && table->TableVersion() != tableVersion)
            return false;
        checked = TfsItemList::AnyChanges();
        return true;
    }
};

CodeHolder::CodeHolder() = default;
CodeHolder::~CodeHolder() = default;

// ---------------------------------------------------------------------------------------
// Compiling

class Compiler {
public:
    explicit Compiler(Code& code) : FCode(code) {}

    void compileTop(TfsStatement* list)
    {
        compileList(list);
        put(Op::End);
    }

    // The body of a procedure with its parameters, Result and locals in the first
    // registers: parameters in their order, then Result, then the variables.
    void compileRoutine(TfsProcVariable* proc)
    {
        TfsScript* prog = proc->Prog();
        FCode.table = prog;
        FCode.tableVersion = prog->TableVersion();
        FCode.lists.emplace_back(prog->Statement(), prog->Statement()->Changes());
        FFrame = true;
        try {
            compileFrame(proc);
        } catch (const NotFrameable&) {
            FCode.frameable = FCode.fastEntry = false;
        }
    }

private:
    void compileFrame(TfsProcVariable* proc)
    {
        TfsScript* prog = proc->Prog();
        auto addSlot = [&](TfsCustomVariable* item) {
            if (FSlots.contains(item->Storage()))
                return;
            FSlots.emplace(item->Storage(), int(FCode.storages.size()));
            FCode.storages.push_back(item->Storage());
            FCode.slotItems.push_back(item);
        };
        for (int i = 0; i < proc->Count(); ++i) {
            TfsParamItem* param = proc->Params(i);
            if (param->IsReadOnly())
                unknown();
            addSlot(param);
            if (param->IsVarParam()) {
                if (i >= 64)
                    unknown();
                FCode.varParams |= quint64(1) << i;
            }
        }
        if (proc->IsFunc()) {
            TfsCustomVariable* result = proc->RefItem();
            if (!result->IsVariable() || result->IsReadOnly())
                unknown();
            FCode.resultSlot = int(FCode.storages.size());
            addSlot(result);
        }
        FFirstVariable = int(FCode.storages.size());
        for (int i = 0; i < prog->Count(); ++i) {
            TfsCustomVariable* item = prog->Items(i);
            if (!item)
                continue;
            // A routine declared inside reads and writes these locals where they are kept.
            if (item->ItemShape() == TfsCustomVariable::Shape::Procedure)
                unknown();
            else if ((item->IsVariable() && !item->IsReadOnly()) || item->ItemShape() == TfsCustomVariable::Shape::Param)
                addSlot(item);
        }
        FCode.locals = int(FCode.storages.size());
        FNextReg = FCode.registers = FCode.locals;
        compileList(prog->Statement());
        const int end = put(Op::End);
        // In a frame nothing but this code looks at the routine's exit, which its end
        // clears: an exit goes to the end straight.
        for (Instr& in : FCode.instrs)
            if (in.op == Op::Exit) {
                in.sub = 1;
                in.target = end;
            }
        // The list's test before an exit joins it: a stop already set goes to the list's
        // end, anything else leaves the routine, in one step.
        for (int i = 1; i < end; ++i)
            if (at(i).op == Op::Exit && at(i - 1).op == Op::Terminated) {
                Instr& test = at(i - 1);
                test.target2 = test.target;
                test.target = end;
                test.statement = at(i).statement;
                test.op = Op::Exit;
                test.sub = 3;
            }
        FCode.frameable = true;
        FCode.fastEntry = writtenBeforeRead();
    }

    int put(Op op)
    {
        Instr in;
        in.op = op;
        in.loops = (unsigned char)std::min(FLoops, 255);
        FCode.instrs.push_back(in);
        return int(FCode.instrs.size()) - 1;
    }
    Instr& at(int index) { return FCode.instrs[size_t(index)]; }
    int here() const { return int(FCode.instrs.size()); }
    // The registers of an instruction's operands are free again once it has read them:
    // its result takes the first of them.
    void freeFrom(int base) { FNextReg = base; }
    int reg()
    {
        const int r = FNextReg++;
        FCode.registers = std::max(FCode.registers, FNextReg);
        return r;
    }
    static Source inRegister(int r)
    {
        Source s;
        s.reg = r;
        return s;
    }
    // The register of a local of the procedure being compiled into a frame, or -1.
    int slotOf(const Value* storage) const
    {
        if (!FFrame || !storage)
            return -1;
        const auto it = FSlots.find(storage);
        return it == FSlots.end() ? -1 : it->second;
    }
    // Code that may look at the items of the locals: the procedure runs without a frame,
    // and compiling it into one stops here.
    struct NotFrameable {};
    void unknown()
    {
        if (FFrame)
            throw NotFrameable();
    }

    // Registers hold temporaries of one statement; a loop's counter stays below the
    // registers of the statements inside it.
    void compileList(TfsStatement* list)
    {
        checkStack();
        FCode.lists.emplace_back(list, list->Changes());
        const int base = FNextReg;
        std::vector<int> toEnd;
        for (int i = 0; i < list->Count(); ++i) {
            TfsStatement* s = list->Items(i);
            FNextReg = base;
            // The test before each statement also ends the list after a statement that
            // set break, continue or exit; the first statement runs unless the script is
            // terminated (a list entered with a flag set, as a handler can be, runs it).
            FTerminatedTest = put(i == 0 ? Op::TerminatedFirst : Op::Terminated);
            toEnd.push_back(FTerminatedTest);
            const int first = here();
            compileStatement(s, list);
            // The instructions of inner lists already have their own statements.
            FCode.owners.resize(FCode.instrs.size(), nullptr);
            for (int j = first; j < here(); ++j)
                if (!FCode.owners[size_t(j)])
                    FCode.owners[size_t(j)] = s;
        }
        FNextReg = base;
        for (int j : toEnd)
            at(j).target = here();
    }

    // The line notification of a statement; the statement is skipped when it terminates
    // the script. The caller patches the target behind the statement.
    int line(TfsStatement* s)
    {
        // Right behind the list's test, both become one instruction.
        if (FTerminatedTest == here() - 1) {
            at(FTerminatedTest).op = at(FTerminatedTest).op == Op::TerminatedFirst ? Op::EnterFirst : Op::Enter;
            at(FTerminatedTest).statement = s;
            return FTerminatedTest;
        }
        const int l = put(Op::Line);
        at(l).statement = s;
        return l;
    }
    // Patches the line notification's jump behind the statement.
    void behind(int l)
    {
        (at(l).op == Op::Enter || at(l).op == Op::EnterFirst ? at(l).target2 : at(l).target) = here();
    }

    // A jump taken when the condition is true (whenTrue) or not; comparisons test their
    // operands without making a Boolean first.
    int conditionJump(TfsCustomVariable* condition, bool whenTrue)
    {
        TfsCustomVariable* root = condition;
        if (auto* e = dynamic_cast<TfsExpression*>(condition))
            root = e->Root();
        if (auto* op = dynamic_cast<TfsOperatorNode*>(root)) {
            int kind = -1;
            switch (op->Op()) {
            case opEq: kind = int(CompareOp::Equal); break;
            case opNonEq: kind = int(CompareOp::NotEqual); break;
            case opLess: kind = int(CompareOp::Less); break;
            case opLessEq: kind = int(CompareOp::LessOrEqual); break;
            case opGreat: kind = int(CompareOp::Greater); break;
            case opGreatEq: kind = int(CompareOp::GreaterOrEqual); break;
            default: break;
            }
            if (kind >= 0) {
                const auto [a, b] = operands(op->Left(), op->Right());
                const int j = put(Op::JumpCompare);
                at(j).sub = (unsigned char)(kind | (whenTrue ? 16 : 0));
                at(j).a = a;
                at(j).b = b;
                return j;
            }
        }
        const Source c = expression(condition);
        const int j = put(whenTrue ? Op::JumpIf : Op::JumpIfNot);
        at(j).a = c;
        return j;
    }

    void exec(TfsStatement* s)
    {
        unknown();
        const int x = put(Op::Exec);
        at(x).statement = s;
    }

    void compileStatement(TfsStatement* s, TfsStatement* list)
    {
        if (s->Program() != list->Program()) {
            exec(s);
            return;
        }
        const std::type_info& type = typeid(*s);
        if (type == typeid(TfsAssignmentStmt) && !static_cast<TfsAssignmentStmt*>(s)->FAppend.empty()) {
            // A text built onto itself grows where it is kept, by the statement.
            exec(s);
        } else if (type == typeid(TfsAssignmentStmt)) {
            auto* a = static_cast<TfsAssignmentStmt*>(s);
            const int e = line(s);
            TfsCustomVariable* source = a->FExpr != a->FExpression ? a->FExpr : a->FExpression;
            const int slot = a->FVar ? slotOf(a->FVar->Storage()) : -1;
            // Into a floating variable: the whole expression at once when it can, the
            // instructions below when not.
            const int whole = storeKind(a) == 2 && slot < 0 && a->FTarget ? floatExpression(source, a->FTarget) : -1;
            const auto behindAll = [&] {
                if (whole >= 0)
                    at(whole).target = here();
                behind(e);
            };
            const Source v = expression(source);
            // A target that takes every value as it is gets the last operation's result
            // straight.
            const int last = here() - 1;
            const unsigned char kind = storeKind(a);
            if ((kind == 3 || kind == 2 || (kind == 1 && slot < 0)) && !v.ptr && !v.local && v.reg >= 0 && last >= 0
                && FJoin != here() && at(last).dst == v.reg && !at(last).ptr && (slot >= 0 || a->FTarget)) {
                Op into = Op::End;
                if (kind == 1) {
                    // An Integer variable: results of other kinds go through the assignment.
                    switch (generic(at(last).op)) {
                    case Op::Add: into = Op::AddInt; break;
                    case Op::Subtract: into = Op::SubtractInt; break;
                    case Op::Multiply: into = Op::MultiplyInt; break;
                    case Op::IntDivide: into = Op::IntDivideInt; break;
                    case Op::Modulo: into = Op::ModuloInt; break;
                    default: break;
                    }
                } else if (kind == 3) {
                    switch (generic(at(last).op)) {
                    case Op::Add: into = Op::AddInto; break;
                    case Op::Subtract: into = Op::SubtractInto; break;
                    case Op::Multiply: into = Op::MultiplyInto; break;
                    case Op::IntDivide: into = Op::IntDivideInto; break;
                    case Op::Modulo: into = Op::ModuloInto; break;
                    case Op::Divide: into = Op::DivideInto; break;
                    default: break;
                    }
                } else if (slot < 0) {
                    // A floating variable: results of other kinds go through the assignment.
                    switch (generic(at(last).op)) {
                    case Op::Add: into = Op::AddFloat; break;
                    case Op::Subtract: into = Op::SubtractFloat; break;
                    case Op::Multiply: into = Op::MultiplyFloat; break;
                    case Op::Divide: into = Op::DivideFloat; break;
                    default: break;
                    }
                }
                if (into != Op::End) {
                    // A local in a frame is a register: the operation's own.
                    if (slot >= 0) {
                        at(last).dst = slot;
                    } else {
                        at(last).op = into;
                        at(last).ptr = a->FTarget;
                        // Integer and floating targets hand results of other kinds to the
                        // assignment.
                        if (kind != 3)
                            at(last).statement = a;
                    }
                    behindAll();
                    return;
                }
            }
            if (slot < 0 && storeElement(a, v)) {
                behindAll();
                return;
            }
            const int st = put(slot >= 0 ? Op::StoreSlot : Op::Store);
            at(st).statement = s;
            at(st).a = v;
            at(st).ptr = a->FTarget;
            at(st).dst = slot;
            at(st).sub = storeKind(a);
            // A path (an element, a property) is written by walking it, which reads the
            // locals in its indexes where they are kept.
            if (slot < 0 && !(a->FVar && (a->FVar->IsVariable() || a->FVar->ItemShape() == TfsCustomVariable::Shape::Param)))
                unknown();
            behindAll();
        } else if (type == typeid(TfsAssignPlusStmt) || type == typeid(TfsAssignMinusStmt)
                   || type == typeid(TfsAssignMulStmt) || type == typeid(TfsAssignDivStmt)) {
            const Op op = type == typeid(TfsAssignPlusStmt)    ? Op::Add
                          : type == typeid(TfsAssignMinusStmt) ? Op::Subtract
                          : type == typeid(TfsAssignMulStmt)   ? Op::Multiply
                                                               : Op::Divide;
            if (!compound(static_cast<TfsAssignmentStmt*>(s), op))
                exec(s);
        } else if (type == typeid(TfsCallStmt) && static_cast<TfsCallStmt*>(s)->FModificator.isEmpty()) {
            auto* c = static_cast<TfsCallStmt*>(s);
            const int e = line(s);
            eval(c->FDesignator);
            behind(e);
        } else if (type == typeid(TfsCallStmt)) {
            if (!step(static_cast<TfsCallStmt*>(s)))
                exec(s);
        } else if (type == typeid(TfsCppForStmt)) {
            auto* f = static_cast<TfsCppForStmt*>(s);
            const int e = line(s);
            const Loop loop(FLoops);
            compileList(f->FFirstStmt.get());
            const int stop = put(Op::IfTerminated);
            // The condition stands behind the body, entered first: one jump less a turn.
            const int first = put(Op::Jump);
            const int top = here();
            compileList(f);
            const int fused = put(Op::Jump);
            at(fused).target = fused + 1;
            const int le = put(Op::LoopEnd);
            compileList(f->FSecondStmt.get());
            at(first).target = here();
            const int jt = conditionJump(f->FExpression, true);
            at(jt).target = top;
            at(le).target = here();
            // A step of one statement that counts a variable kept in place, then a
            // comparison: the turn in one instruction. The step is the first statement of
            // its list; the fused turn only runs with no flag set and no line handler, where
            // its entry would do nothing either way.
            if (jt == le + 3 && at(jt).op == Op::JumpCompare
                && (at(le + 1).op == Op::Enter || at(le + 1).op == Op::EnterFirst)
                && at(le + 2).op == Op::StepVariable) {
                const Instr& step = at(le + 2);
                if (step.dst < 0 && (step.sub & 2) && step.ptr && step.a.ptr == step.ptr) {
                    at(fused).op = Op::ForStep;
                    at(fused).ptr = step.ptr;
                    at(fused).sub = step.sub;
                    at(fused).target = jt;
                }
            }
            put(Op::ClearBreak);
            at(stop).target = here();
            behind(e);
        } else if (type == typeid(TfsVbForStmt)) {
            auto* f = static_cast<TfsVbForStmt*>(s);
            // Begin, end and step come before the line notification, in that order.
            const int counter = reg();
            reg();
            reg();
            reg();
            const bool stepRuns = f->FStep && runsCode(f->FStep);
            const Source from = kept(f->FBeginValue, stepRuns || runsCode(f->FEndValue));
            const Source to = kept(f->FEndValue, stepRuns);
            if (f->FStep) {
                const Source b = expression(f->FStep);
                const int mv = put(Op::Move);
                at(mv).dst = counter + 2;
                at(mv).a = b;
            }
            const int init = put(Op::VbForInit);
            at(init).dst = counter;
            at(init).a = from;
            at(init).b = to;
            at(init).sub = f->FStep != nullptr;
            const int e = line(s);
            const Loop loop(FLoops);
            FNextReg = counter + 4;
            const int top = put(Op::VbForCheck);
            at(top).dst = counter;
            const int slot = slotOf(f->FVariable->Storage());
            const int set = put(Op::VbForSet);
            at(set).dst = counter;
            at(set).ptr = f->FVariable->PValue();
            at(set).target = slot;
            if (FFrame && f->FVariable->PValue() != f->FVariable->Storage())
                unknown();
            compileList(f);
            const int next = put(Op::VbForNext);
            at(next).dst = counter;
            at(next).target = top;
            at(top).target = here();
            at(next).target2 = here();
            put(Op::ClearBreak);
            behind(e);
        } else if (type == typeid(TfsIfStmt)) {
            auto* f = static_cast<TfsIfStmt*>(s);
            const int e = line(s);
            const int jf = conditionJump(f->FCondition, false);
            compileList(f);
            // Without an else branch the then branch just goes on.
            const int j = f->FElseStmt->Count() > 0 ? put(Op::Jump) : -1;
            at(jf).target = here();
            compileList(f->FElseStmt.get());
            if (j >= 0)
                at(j).target = here();
            behind(e);
        } else if (type == typeid(TfsCaseStmt)) {
            compileCase(static_cast<TfsCaseStmt*>(s));
        } else if (type == typeid(TfsWhileStmt)) {
            auto* w = static_cast<TfsWhileStmt*>(s);
            const int e = line(s);
            const Loop loop(FLoops);
            const int top = here();
            const int jf = conditionJump(w->FCondition, false);
            compileList(w);
            const int j = put(Op::LoopJump);
            at(j).target2 = top;
            at(jf).target = here();
            at(j).target = here();
            put(Op::ClearBreak);
            behind(e);
        } else if (type == typeid(TfsRepeatStmt)) {
            auto* r = static_cast<TfsRepeatStmt*>(s);
            const int e = line(s);
            const Loop loop(FLoops);
            const int top = here();
            compileList(r);
            const int le = put(Op::LoopEnd);
            // The loop ends when the condition is True, or False for the inverse form.
            const int j = conditionJump(r->FCondition, r->FInverseCondition);
            at(j).target = top;
            at(le).target = here();
            put(Op::ClearBreak);
            behind(e);
        } else if (type == typeid(TfsForStmt)) {
            auto* f = static_cast<TfsForStmt*>(s);
            // The bounds come before the line notification.
            const int counter = reg();
            reg();
            const auto [from, to] = operands(f->FBeginValue, f->FEndValue);
            const int init = put(Op::ForInit);
            at(init).dst = counter;
            at(init).a = from;
            at(init).b = to;
            const int e = line(s);
            const Loop loop(FLoops);
            FNextReg = counter + 2;
            const int check = put(Op::ForCheck);
            at(check).dst = counter;
            at(check).sub = f->FDown;
            const int slot = slotOf(f->FVariable->Storage());
            const int top = put(slot >= 0 ? Op::ForSetSlot : Op::ForSet);
            at(top).dst = counter;
            at(top).ptr = f->FVariable->PValue();
            at(top).target = slot;
            if (FFrame && f->FVariable->PValue() != f->FVariable->Storage())
                unknown();
            compileList(f);
            // The loop's end, its count and the next value of the variable in one.
            const int next = put(Op::ForLoop);
            at(next).dst = counter;
            at(next).sub = f->FDown;
            at(next).target2 = top + 1;
            at(next).ptr = at(top).ptr;
            at(next).a.reg = slot;
            at(check).target = here();
            at(next).target = here();
            put(Op::ClearBreak);
            behind(e);
        } else if (type == typeid(TfsTryStmt) && static_cast<TfsTryStmt*>(s)->IsExcept()) {
            compileTry(static_cast<TfsTryStmt*>(s));
        } else if (type == typeid(TfsBreakStmt)) {
            put(Op::SetBreak);
        } else if (type == typeid(TfsContinueStmt)) {
            put(Op::SetContinue);
        } else if (type == typeid(TfsExitStmt)) {
            const int x = put(Op::Exit);
            at(x).statement = s;
        } else {
            exec(s);
        }
    }

    // The instructions of a loop statement after its line notification are inside it.
    struct Loop {
        int& depth;
        explicit Loop(int& d) : depth(d) { ++depth; }
        ~Loop() { --depth; }
    };

    // A try ... except: the protected statements, a jump over the handler, the handler.
    // An error in the protected statements (raised by this code, or coming from a call)
    // sets the two exception variables and runs the handler, as the statement does.
    void compileTry(TfsTryStmt* t)
    {
        // The variables are set by name: a local of a frame of that name would miss them.
        if (FFrame)
            for (const QString& name : {QStringLiteral("ExceptionClassName"), QStringLiteral("ExceptionMessage")})
                if (TfsCustomVariable* v = t->Program()->Find(name); v && slotOf(v->Storage()) >= 0)
                    unknown();
        const int e = line(t);
        Region r;
        r.start = here();
        r.loops = (unsigned char)std::min(FLoops, 255);
        ++FExcepts;
        compileList(t);
        --FExcepts;
        r.end = here();
        const int over = put(Op::Jump);
        r.handler = here();
        compileList(t->ExceptStmt());
        at(over).target = here();
        behind(e);
        FCode.regions.push_back(r);
    }

    // A case statement as comparisons and jumps: the value first, then the line; the
    // selectors' values in order, each computed only when the ones before did not match,
    // as the statement compares them.
    void compileCase(TfsCaseStmt* c)
    {
        bool itemsRun = false;
        for (int k = 0; k < c->Count(); ++k) {
            TfsSetExpression* set = static_cast<TfsCaseSelector*>(c->Items(k))->SetExpression();
            for (int i = 0; i < set->Count(); ++i)
                itemsRun = itemsRun || (set->Items(i) && runsCode(set->Items(i)));
        }
        Source v = expression(c->Condition());
        // The statement compares a copy: code of the selectors cannot change it.
        if ((v.ptr && itemsRun) || v.provided) {
            const int mv = put(Op::Move);
            at(mv).dst = reg();
            at(mv).a = v;
            v = inRegister(at(mv).dst);
        }
        const int e = line(c);
        // Values of the kind of the table go straight to their branch; any other kind is
        // compared with each selector's values in turn.
        const int table = caseTable(c);
        if (table >= 0) {
            const int j = put(Op::CaseJump);
            at(j).a = v;
            at(j).target2 = table;
        }
        std::vector<int> bodies;
        const auto compareJump = [&](CompareOp kind, const Source& b) {
            const int j = put(Op::JumpCompare);
            at(j).sub = (unsigned char)(int(kind) | 16);
            at(j).a = v;
            at(j).b = b;
            return j;
        };
        std::vector<int> toEnd;
        for (int k = 0; k < c->Count(); ++k) {
            auto* selector = static_cast<TfsCaseSelector*>(c->Items(k));
            TfsSetExpression* set = selector->SetExpression();
            FCode.lists.emplace_back(set, set->Changes());
            std::vector<int> toBody;
            const int n = set->Count();
            for (int i = 0; i < n; ++i) {
                TfsCustomExpression* item = set->Items(i);
                if (!item)
                    continue;
                const int mark = FNextReg;
                if (i + 2 < n && !set->Items(i + 1) && set->Items(i + 2)) {
                    // Inside the range: neither below its low bound nor above its high one.
                    const int below = compareJump(CompareOp::Less, expression(item));
                    freeFrom(mark);
                    const int above = compareJump(CompareOp::Greater, expression(set->Items(i + 2)));
                    freeFrom(mark);
                    toBody.push_back(put(Op::Jump));
                    at(below).target = at(above).target = here();
                    i += 2;
                    continue;
                }
                toBody.push_back(compareJump(CompareOp::Equal, expression(item)));
                freeFrom(mark);
            }
            const int next = put(Op::Jump);
            for (int j : toBody)
                at(j).target = here();
            bodies.push_back(here());
            compileList(selector);
            toEnd.push_back(put(Op::Jump));
            at(next).target = here();
        }
        const int otherwise = here();
        compileList(c->ElseStmt());
        for (int j : toEnd)
            at(j).target = here();
        if (table >= 0) {
            CaseTable& t = FCode.cases[size_t(table)];
            for (int& target : t.targets)
                target = target < 0 ? otherwise : bodies[size_t(target)];
            t.otherwise = otherwise;
        }
        behind(e);
    }

    // The table of a case statement whose selectors hold only constants, all Integers or
    // all texts (no ranges of texts); its targets are the selectors' numbers for now, -1
    // for the else branch. -1 when there is none.
    int caseTable(TfsCaseStmt* c)
    {
        struct Entry {
            int low, high, selector;
        };
        std::vector<Entry> numbers;
        CaseTable t;
        const auto constant = [](TfsCustomVariable* item, Value& out) {
            if (auto* e = dynamic_cast<TfsExpression*>(item))
                item = e->Root();
            if (!item || typeid(*item) != typeid(TfsOperandNode))
                return false;
            out = item->GetValue();
            return true;
        };
        const auto integer = [](const Value& v) {
            const auto type = v.type();
            return type == varInteger || type == varSmallint || type == varShortInt || type == varByte;
        };
        for (int k = 0; k < c->Count(); ++k) {
            TfsSetExpression* set = static_cast<TfsCaseSelector*>(c->Items(k))->SetExpression();
            const int n = set->Count();
            // The same walk as the set's own check.
            for (int i = 0; i < n; ++i) {
                if (!set->Items(i))
                    continue;
                Value first;
                if (!constant(set->Items(i), first))
                    return -1;
                if (i + 2 < n && !set->Items(i + 1) && set->Items(i + 2)) {
                    Value last;
                    if (!constant(set->Items(i + 2), last) || !integer(first) || !integer(last))
                        return -1;
                    numbers.push_back({first.toInt(), last.toInt(), k});
                    i += 2;
                } else if (integer(first)) {
                    numbers.push_back({first.toInt(), first.toInt(), k});
                } else if (first.isText()) {
                    t.keys.push_back(first.text());
                    t.targets.push_back(k);
                } else {
                    return -1;
                }
            }
        }
        if (!numbers.empty() && !t.keys.empty())
            return -1;
        if (t.keys.empty()) {
            qint64 low = 0, high = -1;
            bool any = false;
            for (const Entry& entry : numbers) {
                if (entry.low > entry.high)
                    continue;
                low = any ? std::min<qint64>(low, entry.low) : entry.low;
                high = any ? std::max<qint64>(high, entry.high) : entry.high;
                any = true;
            }
            // A table for values spread far apart would be mostly empty.
            if (high - low + 1 > 1024)
                return -1;
            t.low = int(low);
            t.targets.assign(size_t(std::max<qint64>(high - low + 1, 0)), -2);
            for (const Entry& entry : numbers)
                for (qint64 value = entry.low; value <= entry.high; ++value)
                    if (int& target = t.targets[size_t(value - low)]; target == -2)
                        target = entry.selector;
            for (int& target : t.targets)
                if (target == -2)
                    target = -1;
        } else {
            t.texts = true;
        }
        FCode.cases.push_back(std::move(t));
        return int(FCode.cases.size()) - 1;
    }

    // An element of an array of one or two dimensions kept in a variable of the script,
    // written straight: the value first, then the indexes, as the path's walk reads them.
    // False when the assignment writes through its path.
    bool storeElement(TfsAssignmentStmt* a, const Source& v)
    {
        auto* array = dynamic_cast<TfsArrayDesignator*>(a->FVar);
        if (!array || typeid(*array) != typeid(TfsArrayDesignator) || !array->RefItem())
            return false;
        TfsDesignatorItem* indexes = array->Ref2();
        const int dims = indexes->Count();
        if (dims < 1 || dims > 2 || !array->RefItem()->Storage() || slotOf(array->RefItem()->Storage()) >= 0)
            return false;
        for (int i = 0; i < dims; ++i)
            if (runsCode(indexes->Items(i)))
                return false;
        FCode.lists.emplace_back(indexes, indexes->Changes());
        const int source = int(FCode.sources.size());
        FCode.sources.push_back(v);
        FCode.backs.push_back(nullptr);
        const Source first = expression(indexes->Items(0));
        const Source second = dims == 2 ? expression(indexes->Items(1)) : Source();
        const int st = put(Op::StoreElement);
        at(st).target = source;
        at(st).a = first;
        at(st).b = second;
        at(st).sub = (unsigned char)dims;
        at(st).ptr = array->RefItem()->Storage();
        return true;
    }

    // A compound assignment to a variable of the script or a parameter; false when it
    // runs through its statement.
    bool compound(TfsAssignmentStmt* a, Op op)
    {
        TfsCustomVariable* var = a->FVar;
        if (!var || var->IsReadOnly())
            return false;
        const bool param = var->ItemShape() == TfsCustomVariable::Shape::Param;
        const int slot = slotOf(var->Storage());
        if (!param && !a->InPlaceTarget() && slot < 0)
            return false;
        TfsCustomVariable* source = a->FExpr != a->FExpression ? a->FExpr : a->FExpression;
        const TfsVarType kind = var->Typ();
        const bool numeric = kind == fvtInt || kind == fvtFloat || kind == fvtInt64;
        // A text may grow where it is: the statement's own rules, which read the
        // expression after looking at the target.
        const bool grows = op == Op::Add && !param && !numeric;
        if (grows && kind != fvtVariant && kind != fvtString)
            return false;
        const int e = line(a);
        const int base = FNextReg;
        if (grows && runsCode(source)) {
            // The statement looks at the target before the expression's code runs: a text
            // then grows where it is, any other value is taken as it was.
            const int k = reg();
            reg();
            const int prepare = put(Op::AddPrepare);
            at(prepare).dst = k;
            at(prepare).target = slot;
            at(prepare).ptr = var->Storage();
            const Source b = expression(source);
            const int i = put(Op::AddFinish);
            at(i).statement = a;
            at(i).a = b;
            at(i).dst = k;
            at(i).target = slot;
            at(i).ptr = var->Storage();
            at(i).sub = storeKind(a) == 3;
            freeFrom(base);
            behind(e);
            return true;
        }
        if (grows) {
            const Source b = expression(source);
            freeFrom(base);
            const int i = put(Op::AddAssign);
            at(i).statement = a;
            at(i).a = b;
            at(i).ptr = var->Storage();
            at(i).dst = slot;
            behind(e);
            return true;
        }
        // Into a floating variable: the whole of the variable op the expression at once
        // when it can, the instructions below when not.
        const int whole = slot < 0 && a->FTarget && storeKind(a) == 2 ? floatCompound(var, source, op, a->FTarget) : -1;
        const auto behindAll = [&] {
            if (whole >= 0)
                at(whole).target = here();
            behind(e);
        };
        // Read the target, then the expression, as the statement does.
        const auto [v, x] = operands(var, source);
        freeFrom(base);
        // Into an Integer or floating variable straight, when the result is of its kind.
        Op into = Op::End;
        if (slot < 0 && a->FTarget && storeKind(a) == 1)
            into = op == Op::Add ? Op::AddInt : op == Op::Subtract ? Op::SubtractInt : op == Op::Multiply ? Op::MultiplyInt : Op::End;
        else if (slot < 0 && a->FTarget && storeKind(a) == 2)
            into = op == Op::Add ? Op::AddFloat : op == Op::Subtract ? Op::SubtractFloat : op == Op::Multiply ? Op::MultiplyFloat : Op::DivideFloat;
        if (into != Op::End) {
            const int i = put(into);
            at(i).a = v;
            at(i).b = x;
            at(i).dst = reg();
            at(i).ptr = a->FTarget;
            at(i).statement = a;
            behindAll();
            return true;
        }
        const int i = put(op);
        at(i).a = v;
        at(i).b = x;
        at(i).dst = reg();
        const int st = put(slot >= 0 ? Op::StoreSlot : Op::Store);
        at(st).statement = a;
        at(st).a = inRegister(at(i).dst);
        at(st).ptr = a->FTarget;
        at(st).dst = slot;
        at(st).sub = storeKind(a);
        if (slot < 0 && !a->FTarget)
            unknown();
        behindAll();
        return true;
    }

    // An increment or decrement of a variable of the script; false when it runs through
    // its statement.
    bool step(TfsCallStmt* c)
    {
        if (c->FModificator != u"+" && c->FModificator != u"-")
            return false;
        if (!dynamic_cast<TfsVariableDesignator*>(c->FDesignator))
            return false;
        TfsCustomVariable* var = c->FDesignator->RefItem();
        if (!var || var->IsReadOnly())
            return false;
        const int slot = slotOf(var->Storage());
        auto* plain = dynamic_cast<TfsVariable*>(var);
        if (slot < 0 && (!plain || !plain->DirectValue() || dynamic_cast<TfsStringVariable*>(var)))
            return false;
        const int e = line(c);
        const int base = FNextReg;
        const Source v = expression(var);
        freeFrom(base);
        const int st = put(Op::StepVariable);
        at(st).a = v;
        at(st).item = var;
        at(st).ptr = var->Storage();
        at(st).dst = slot;
        at(st).sub = (c->FModificator == u"-" ? 1 : 0) | (var->Typ() == fvtInt || var->Typ() == fvtVariant ? 2 : 0);
        behind(e);
        return true;
    }

    // The value of an item that stays where it is until a later item runs code: copied
    // into a register when that code could change it.
    Source kept(TfsCustomVariable* item, bool laterRunsCode)
    {
        Source v = expression(item);
        if (v.ptr && laterRunsCode) {
            const int mv = put(Op::Move);
            at(mv).dst = reg();
            at(mv).a = v;
            v = inRegister(at(mv).dst);
        }
        return v;
    }

    // How a store may write a value of the usual kind of its target without the
    // assignment's rules: 1 Integers, 2 floating values, 3 values not shared (a target that
    // takes every value as it is), 4 Booleans.
    static unsigned char storeKind(const TfsAssignmentStmt* a)
    {
        switch (a->FStore) {
        case TfsAssignmentStmt::Store::Integer: return 1;
        case TfsAssignmentStmt::Store::Float: return 2;
        case TfsAssignmentStmt::Store::AsIs: return 3;
        case TfsAssignmentStmt::Store::Boolean: return 4;
        default: return 0;
        }
    }

    // Where the value of an expression item will be: kept in place, or in a register.
    Source expression(TfsCustomVariable* item)
    {
        if (auto* e = dynamic_cast<TfsExpression*>(item))
            item = e->Root();
        const Operand o = Operand::of(item);
        if (const int slot = slotOf(o.direct); slot >= 0) {
            Source s = inRegister(slot);
            s.local = true;
            return s;
        }
        if (o.direct) {
            Source s;
            s.ptr = o.direct;
            s.provided = o.provided;
            s.item = o.item;
            return s;
        }
        if (auto* op = dynamic_cast<TfsOperatorNode*>(item))
            return operation(op);
        if (auto* node = dynamic_cast<TfsDesignatorNode*>(item))
            item = node->Var();
        if (auto* array = dynamic_cast<TfsArrayDesignator*>(item); array && array->Ref2()->Count() == 1) {
            const int base = FNextReg;
            const Source index = expression(array->Ref2()->Items(0));
            if (slotOf(array->RefItem()->Storage()) >= 0)
                unknown();
            freeFrom(base);
            const int el = put(Op::Element);
            at(el).dst = reg();
            at(el).a = index;
            at(el).ptr = array->RefItem()->Storage();
            return inRegister(at(el).dst);
        }
        // The first index is converted before the second is computed: a second one that
        // is only read keeps that order unseen.
        if (auto* array = dynamic_cast<TfsArrayDesignator*>(item);
            array && array->Ref2()->Count() == 2 && keptInPlace(array->Ref2()->Items(1))) {
            const int base = FNextReg;
            const auto [first, second] = operands(array->Ref2()->Items(0), array->Ref2()->Items(1));
            if (slotOf(array->RefItem()->Storage()) >= 0)
                unknown();
            freeFrom(base);
            const int el = put(Op::Element2);
            at(el).dst = reg();
            at(el).a = first;
            at(el).b = second;
            at(el).ptr = array->RefItem()->Storage();
            return inRegister(at(el).dst);
        }
        return eval(item);
    }

    // A value read where it is kept, computing nothing.
    static bool keptInPlace(TfsCustomVariable* item)
    {
        if (auto* e = dynamic_cast<TfsExpression*>(item))
            item = e->Root();
        return item && Operand::of(item).direct;
    }

    // Two operands read left first: when computing the right one runs code of the script,
    // which may change where the left one is kept, the left one is copied before.
    std::pair<Source, Source> operands(TfsCustomVariable* left, TfsCustomVariable* right)
    {
        Source a = expression(left);
        if (a.ptr && runsCode(right)) {
            const int mv = put(Op::Move);
            at(mv).dst = reg();
            at(mv).a = a;
            a = inRegister(at(mv).dst);
        }
        return {a, expression(right)};
    }

    // Whether computing the item may run code of the script (a call, a host's getter):
    // values kept in place, operators and array elements of them run none.
    static bool runsCode(TfsCustomVariable* item)
    {
        if (auto* e = dynamic_cast<TfsExpression*>(item))
            item = e->Root();
        if (!item || Operand::of(item).direct)
            return false;
        if (auto* op = dynamic_cast<TfsOperatorNode*>(item))
            return op->Op() == opIn || op->Op() == opIs || runsCode(op->Left()) || runsCode(op->Right());
        if (auto* node = dynamic_cast<TfsDesignatorNode*>(item))
            item = node->Var();
        if (auto* array = dynamic_cast<TfsArrayDesignator*>(item); array && array->Ref2()->Count() == 1)
            return runsCode(array->Ref2()->Items(0));
        if (auto* array = dynamic_cast<TfsArrayDesignator*>(item); array && array->Ref2()->Count() == 2)
            return runsCode(array->Ref2()->Items(0)) || runsCode(array->Ref2()->Items(1));
        return true;
    }

    Source eval(TfsCustomVariable* item)
    {
        if (auto* designator = dynamic_cast<TfsDesignator*>(item)) {
            if (TfsDesignatorItem* step = designator->ProcedureCall()) {
                if (plainCall(step))
                    return call(step, Op::CallScript);
                // Outside a frame the arguments passed by reference are written back where
                // the statements' call writes them.
                if (!FFrame && referenceCall(step)) {
                    const Source r = call(step, Op::CallScript);
                    at(here() - 1).sub |= 1;
                    return r;
                }
                unknown();
                if (step->Count() > 0)
                    return call(step, Op::CallArgs);
                const int c = put(Op::Call);
                at(c).dst = reg();
                at(c).item = designator;
                at(c).step = step;
                return inRegister(at(c).dst);
            }
            if (TfsMethodHelper* method = raisingProcedure(designator)) {
                const Source r = hostCall(designator->Items(0), method, designator->Prog());
                at(here() - 1).op = Op::Raise;
                at(here() - 1).sub = FExcepts > 0 ? 2 : 0;
                return r;
            }
            if (TfsMethodHelper* method = hostFunction(designator))
                return hostCall(designator->Items(0), method, designator->Prog());
        }
        unknown();
        const int ev = put(Op::Eval);
        at(ev).dst = reg();
        at(ev).item = item;
        return inRegister(at(ev).dst);
    }

    // A function of the host that only computes a value from its arguments (texts,
    // conversions, numbers, formats, dates), none of them passed by reference: called
    // straight, it looks at nothing of the script, so the locals may stay in registers.
    static TfsMethodHelper* hostFunction(TfsDesignator* designator)
    {
        if (typeid(*designator) != typeid(TfsDesignator))
            return nullptr;
        TfsDesignatorItem* step = designator->PlainCall();
        if (!step)
            return nullptr;
        auto* method = dynamic_cast<TfsMethodHelper*>(step->Ref());
        if (!method || typeid(*method) != typeid(TfsMethodHelper) || method->IsMacro() || method->IndexMethod()
            || method->ClassRef() || !method->OnCallNew() || method->OnCall())
            return nullptr;
        static const QString pure[] = {QStringLiteral("ctString"), QStringLiteral("ctConv"), QStringLiteral("ctMath"),
                                       QStringLiteral("ctFormat"), QStringLiteral("ctDate")};
        if (std::find(std::begin(pure), std::end(pure), method->Category()) == std::end(pure))
            return nullptr;
        for (int i = 0; i < method->Count(); ++i)
            if (method->Params(i)->IsVarParam())
                return nullptr;
        return method;
    }

    // A procedure of the host that only raises an error (RaiseException), called straight.
    static TfsMethodHelper* raisingProcedure(TfsDesignator* designator)
    {
        if (typeid(*designator) != typeid(TfsDesignator))
            return nullptr;
        TfsDesignatorItem* step = designator->PlainCall();
        if (!step)
            return nullptr;
        auto* method = dynamic_cast<TfsMethodHelper*>(step->Ref());
        if (!method || typeid(*method) != typeid(TfsMethodHelper) || !method->RaiseText() || method->IsMacro()
            || method->IndexMethod() || method->ClassRef() || !method->OnCallNew() || method->OnCall())
            return nullptr;
        for (int i = 0; i < method->Count(); ++i)
            if (method->Params(i)->IsVarParam())
                return nullptr;
        return method;
    }

    // Its arguments are computed here, read left to right like operands, then given to
    // the parameters in order, as the designator gives them.
    Source hostCall(TfsDesignatorItem* step, TfsMethodHelper* method, TfsScript* prog)
    {
        FCode.lists.emplace_back(step, step->Changes());
        const int base = FNextReg;
        const int n = step->Count();
        std::vector<Source> args;
        for (int j = 0; j < n; ++j) {
            Source a = expression(step->Items(j));
            // A later argument may run code that changes where this one is kept.
            bool later = false;
            for (int k = j + 1; k < n && !later; ++k)
                later = runsCode(step->Items(k));
            if (a.ptr && later) {
                const int mv = put(Op::Move);
                at(mv).dst = reg();
                at(mv).a = a;
                a = inRegister(at(mv).dst);
            }
            args.push_back(a);
        }
        freeFrom(base);
        // A function that computes from its arguments alone takes them as they are.
        bool direct = method->Direct() && n == method->Count();
        for (int i = 0; direct && i < n; ++i)
            direct = !method->Params(i)->IsReadOnly();
        const int c = put(direct ? Op::DirectCall : Op::HostCall);
        at(c).sub = direct && method->GetDirectForm() == TfsMethodHelper::DirectForm::TextLength;
        at(c).dst = reg();
        at(c).step = step;
        at(c).item = method;
        at(c).prog = prog;
        at(c).target = int(FCode.sources.size());
        at(c).target2 = n;
        FCode.sources.insert(FCode.sources.end(), args.begin(), args.end());
        FCode.backs.resize(FCode.sources.size(), nullptr);
        return inRegister(at(c).dst);
    }

    // A call that passes every parameter by value: nothing is written back into the
    // arguments' paths.
    static bool plainCall(TfsDesignatorItem* step)
    {
        auto* proc = static_cast<TfsProcVariable*>(step->Ref());
        if (step->Count() != proc->Count())
            return false;
        for (int i = 0; i < proc->Count(); ++i)
            if (proc->Params(i)->IsVarParam() || proc->Params(i)->IsReadOnly())
                return false;
        return true;
    }

    // The variable of the script an argument names alone, written through its expression
    // by the same setter.
    static TfsVariable* plainVariable(TfsCustomVariable* argument)
    {
        auto* e = dynamic_cast<TfsExpression*>(argument);
        if (!e || e->IsReadOnly())
            return nullptr;
        auto* node = dynamic_cast<TfsDesignatorNode*>(e->Root());
        if (!node || !dynamic_cast<TfsVariableDesignator*>(node->Designator()))
            return nullptr;
        return dynamic_cast<TfsVariable*>(node->Designator()->RefItem());
    }

    // A call with every argument given, none of them read-only.
    static bool referenceCall(TfsDesignatorItem* step)
    {
        auto* proc = static_cast<TfsProcVariable*>(step->Ref());
        if (step->Count() != proc->Count())
            return false;
        for (int i = 0; i < proc->Count(); ++i)
            if (proc->Params(i)->IsReadOnly())
                return false;
        return true;
    }

    // A call whose arguments are computed here, read left to right like operands.
    Source call(TfsDesignatorItem* step, Op op)
    {
        FCode.lists.emplace_back(step, step->Changes());
        const int base = FNextReg;
        const int n = step->Count();
        std::vector<bool> runsLater(size_t(n), false);
        for (int j = n - 2; j >= 0; --j)
            runsLater[size_t(j)] = runsLater[size_t(j) + 1] || runsCode(step->Items(j + 1));
        std::vector<Source> args;
        for (int j = 0; j < n; ++j) {
            Source a = expression(step->Items(j));
            if (a.ptr && runsLater[size_t(j)]) {
                const int mv = put(Op::Move);
                at(mv).dst = reg();
                at(mv).a = a;
                a = inRegister(at(mv).dst);
            }
            args.push_back(a);
        }
        freeFrom(base);
        const int c = put(op);
        at(c).dst = reg();
        at(c).step = step;
        at(c).item = step->Ref();
        at(c).target = int(FCode.sources.size());
        at(c).target2 = n;
        // Inside a try ... except here, an error of a frame called goes to its handler.
        at(c).sub = FExcepts > 0 ? 2 : 0;
        FCode.sources.insert(FCode.sources.end(), args.begin(), args.end());
        auto* proc = static_cast<TfsProcVariable*>(step->Ref());
        for (int j = 0; j < n; ++j)
            FCode.backs.push_back(j < proc->Count() && proc->Params(j)->IsVarParam() ? plainVariable(step->Items(j))
                                                                                     : nullptr);
        return inRegister(at(c).dst);
    }

    Source operation(TfsOperatorNode* op)
    {
        const TfsOperatorType code = op->Op();
        auto binary = [&](Op kind, unsigned char sub) {
            // Either operand floating by its declaration: the result mostly is too.
            if (op->Left()->Typ() == fvtFloat || op->Right()->Typ() == fvtFloat)
                kind = floating(kind);
            const int base = FNextReg;
            const auto [a, b] = operands(op->Left(), op->Right());
            freeFrom(base);
            const int i = put(kind);
            at(i).sub = sub;
            at(i).a = a;
            at(i).b = b;
            at(i).dst = reg();
            return inRegister(at(i).dst);
        };
        switch (code) {
        case opGreat: return binary(Op::Greater, 0);
        case opLess: return binary(Op::Less, 0);
        case opLessEq: return binary(Op::LessOrEqual, 0);
        case opGreatEq: return binary(Op::GreaterOrEqual, 0);
        case opNonEq: return binary(Op::NotEqual, 0);
        case opEq: return binary(Op::Equal, 0);
        case opPlus:
            // Text additions keep their own rules (concatenation in place, Null texts).
            if (op->IsStrCat() || op->Left()->Typ() == fvtString || op->Left()->Typ() == fvtChar)
                return eval(op);
            return binary(Op::Add, 0);
        case opMinus: return binary(Op::Subtract, 0);
        case opMul: return binary(Op::Multiply, 0);
        case opDivInt: return binary(Op::IntDivide, 0);
        case opMod: return binary(Op::Modulo, 0);
        case opDivFloat: return binary(Op::Divide, 0);
        case opAnd:
        case opOr: {
            if (!op->OptimizeBool())
                return eval(op);
            const int r = reg();
            shortCircuit(op, r);
            return inRegister(r);
        }
        case opNot:
        case opUnMinus: {
            const int base = FNextReg;
            const Source a = expression(op->Left());
            // Not of an equality just computed is the inequality, and the other way round.
            if (code == opNot && !a.ptr && !a.local && a.reg >= 0 && here() > 0 && FJoin != here()
                && at(here() - 1).dst == a.reg && (at(here() - 1).op == Op::Equal || at(here() - 1).op == Op::NotEqual)) {
                Instr& last = at(here() - 1);
                last.op = last.op == Op::Equal ? Op::NotEqual : Op::Equal;
                return a;
            }
            freeFrom(base);
            const int i = put(code == opNot ? Op::Not : Op::Negate);
            at(i).a = a;
            at(i).dst = reg();
            return inRegister(at(i).dst);
        }
        default:
            return eval(op);
        }
    }

    // The instruction computing a floating expression into the variable kept at target in
    // one, or -1 when the expression is not made only of +, -, * and / over floating and
    // Integer variables and constants kept in place.
    int floatExpression(TfsCustomVariable* item, Value* target)
    {
        FloatProgram program;
        int depth = 0;
        int most = 0;
        bool integer = false;
        if (!floatSteps(item, program, depth, most, integer))
            return -1;
        return floatInstruction(std::move(program), integer, target);
    }

    // The same for a compound assignment: the variable op the expression.
    int floatCompound(TfsCustomVariable* var, TfsCustomVariable* item, Op op, Value* target)
    {
        FloatProgram program;
        int depth = 0;
        int most = 0;
        bool integer = false;
        const int operation = op == Op::Add        ? FloatStep::Add
                              : op == Op::Subtract ? FloatStep::Subtract
                              : op == Op::Multiply ? FloatStep::Multiply
                                                   : FloatStep::Divide;
        if (!floatOperation(var, item, operation, program, depth, most, integer))
            return -1;
        return floatInstruction(std::move(program), integer, target);
    }

    int floatInstruction(FloatProgram&& program, bool integer, Value* target)
    {
        if (integer || program.steps.size() < 2)
            return -1;
        program.steps.emplace_back();
        const int i = put(Op::FloatExpression);
        at(i).ptr = target;
        at(i).target2 = int(FCode.floats.size());
        FCode.floats.push_back(std::move(program));
        return i;
    }

    // An operand of a floating expression: its kind (FloatStep::Operand) and where it is, -1
    // for an operation, -2 for anything else; integer tells whether it is an Integer by its
    // declaration.
    int floatOperand(TfsCustomVariable* item, FloatStep& step, bool& integer)
    {
        if (auto* e = dynamic_cast<TfsExpression*>(item))
            item = e->Root();
        if (!item)
            return -2;
        if (dynamic_cast<TfsOperatorNode*>(item))
            return -1;
        if (typeid(*item) == typeid(TfsOperandNode)) {
            const Value value = item->GetValue();
            if (value.type() == varDouble)
                step.constant = value.asDouble();
            else if (value.type() == varInteger)
                step.constant = double(value.asInt());
            else
                return -2;
            integer = value.type() == varInteger;
            return FloatStep::Constant;
        }
        if (!keptInPlace(item))
            return -2;
        const TfsVarType kind = item->Typ();
        if (kind != fvtFloat && kind != fvtInt)
            return -2;
        step.source = expression(item);
        integer = kind == fvtInt;
        return kind == fvtFloat ? FloatStep::Floating : FloatStep::Integer;
    }

    // The steps leaving the value of item as the running value; depth counts the values
    // saved.
    bool floatSteps(TfsCustomVariable* item, FloatProgram& program, int& depth, int& most, bool& integer)
    {
        if (auto* e = dynamic_cast<TfsExpression*>(item))
            item = e->Root();
        FloatStep step;
        const int operand = floatOperand(item, step, integer);
        if (operand == -2)
            return false;
        if (operand >= 0) {
            step.kind = (unsigned char)(FloatStep::Load * 3 + operand);
            program.steps.push_back(step);
            most = std::max(most, ++depth);
            return most <= kFloatDepth;
        }
        auto* op = static_cast<TfsOperatorNode*>(item);
        int operation;
        switch (op->Op()) {
        case opPlus:
            if (op->IsStrCat())
                return false;
            operation = FloatStep::Add;
            break;
        case opMinus: operation = FloatStep::Subtract; break;
        case opMul: operation = FloatStep::Multiply; break;
        case opDivFloat: operation = FloatStep::Divide; break;
        default: return false;
        }
        return floatOperation(op->Left(), op->Right(), operation, program, depth, most, integer);
    }

    // The steps of left operation right.
    bool floatOperation(TfsCustomVariable* leftItem, TfsCustomVariable* rightItem, int operation, FloatProgram& program,
                        int& depth, int& most, bool& integer)
    {
        bool left = false, right = false;
        if (!floatSteps(leftItem, program, depth, most, left))
            return false;
        FloatStep last;
        const int rightOperand = floatOperand(rightItem, last, right);
        if (rightOperand == -2)
            return false;
        if (rightOperand >= 0) {
            last.kind = (unsigned char)(operation * 3 + rightOperand);
        } else {
            if (!floatSteps(rightItem, program, depth, most, right))
                return false;
            last.kind = (unsigned char)(FloatStep::SavedAdd + operation - FloatStep::Add);
            --depth;
        }
        if (operation == FloatStep::Multiply && left && right)
            return false;
        integer = left && right && operation != FloatStep::Divide;
        program.steps.push_back(last);
        return true;
    }

    // The form of an arithmetic operation that tries floating operands first, and back.
    static Op floating(Op op)
    {
        switch (op) {
        case Op::Add: return Op::FloatAdd;
        case Op::Subtract: return Op::FloatSubtract;
        case Op::Multiply: return Op::FloatMultiply;
        case Op::Divide: return Op::FloatDivide;
        default: return op;
        }
    }
    static Op generic(Op op)
    {
        switch (op) {
        case Op::FloatAdd: return Op::Add;
        case Op::FloatSubtract: return Op::Subtract;
        case Op::FloatMultiply: return Op::Multiply;
        case Op::FloatDivide: return Op::Divide;
        default: return op;
        }
    }

    // Short circuit into r: the left value, unless it lets the right one decide. Either
    // side that is a short circuit itself goes into r as well.
    void shortCircuit(TfsOperatorNode* op, int r)
    {
        const auto side = [&](TfsCustomVariable* item) {
            if (auto* e = dynamic_cast<TfsExpression*>(item))
                item = e->Root();
            if (auto* inner = dynamic_cast<TfsOperatorNode*>(item);
                inner && (inner->Op() == opAnd || inner->Op() == opOr) && inner->OptimizeBool()) {
                shortCircuit(inner, r);
                return;
            }
            const Source v = expression(item);
            if (!computedInto(v, r)) {
                const int mv = put(Op::Move);
                at(mv).dst = r;
                at(mv).a = v;
            }
        };
        const int base = FNextReg;
        side(op->Left());
        freeFrom(base);
        // A comparison just computed into r jumps by itself.
        const bool whenTrue = op->Op() != opAnd;
        int j = here() - 1;
        if (j >= 0 && FJoin != here() && at(j).dst == r && !at(j).ptr && at(j).op >= Op::Equal
            && at(j).op <= Op::GreaterOrEqual) {
            at(j).sub = (unsigned char)(int(at(j).op) - int(Op::Equal) + (whenTrue ? 16 : 0));
            at(j).op = Op::CompareJump;
        } else {
            j = put(whenTrue ? Op::JumpIf : Op::JumpIfNot);
            at(j).a = inRegister(r);
        }
        side(op->Right());
        freeFrom(base);
        at(j).target = here();
        FJoin = here();
    }

    // A value just computed into a temporary by the last instruction, which is made to
    // compute it into r instead; false when it is elsewhere, or reaches here by a jump too.
    bool computedInto(const Source& s, int r)
    {
        if (s.ptr || s.local || s.reg < 0 || here() == 0 || FJoin == here())
            return false;
        Instr& last = at(here() - 1);
        if (last.dst != s.reg || last.ptr)
            return false;
        switch (generic(last.op)) {
        case Op::Add: case Op::Subtract: case Op::Multiply: case Op::IntDivide: case Op::Modulo: case Op::Divide:
        case Op::Equal: case Op::NotEqual: case Op::Less: case Op::LessOrEqual: case Op::Greater:
        case Op::GreaterOrEqual: case Op::Not: case Op::Negate:
            last.dst = r;
            return true;
        default: return false;
        }
    }

    // Whether every local other than the parameters and Result is written before it is
    // read on every path through the code.
    bool writtenBeforeRead() const
    {
        const std::vector<Instr>& code = FCode.instrs;
        const int n = int(code.size());
        if (FCode.locals > 64)
            return false;
        const auto bit = [](int r) { return quint64(1) << r; };
        const auto readsOf = [&](const Instr& in) {
            quint64 m = 0;
            const auto use = [&](const Source& s) {
                if (s.local)
                    m |= bit(s.reg);
            };
            use(in.a);
            use(in.b);
            if (in.op == Op::AddAssign && in.dst >= 0)
                m |= bit(in.dst);
            if (in.op == Op::StoreElement)
                use(FCode.sources[size_t(in.target)]);
            if (in.op == Op::AddPrepare && in.target >= 0)
                m |= bit(in.target);
            if (in.op == Op::CallArgs || in.op == Op::CallScript || in.op == Op::HostCall
                || in.op == Op::DirectCall || in.op == Op::Raise)
                for (int j = 0; j < in.target2; ++j)
                    use(FCode.sources[size_t(in.target + j)]);
            return m;
        };
        const auto writesOf = [&](const Instr& in) {
            if (in.op == Op::StoreSlot)
                return bit(in.dst);
            if (in.op == Op::ForSetSlot || (in.op == Op::VbForSet && in.target >= 0))
                return bit(in.target);
            if ((in.op == Op::AddAssign || in.op == Op::StepVariable) && in.dst >= 0)
                return bit(in.dst);
            if (in.op == Op::AddFinish && in.target >= 0)
                return bit(in.target);
            if (in.op == Op::ForLoop && in.a.reg >= 0)
                return bit(in.a.reg);
            if (generic(in.op) >= Op::Add && generic(in.op) <= Op::Divide && in.dst < FCode.locals)
                return bit(in.dst);
            return quint64(0);
        };
        // The parameters and Result have their values when the code starts.
        quint64 start = 0;
        for (int r = 0; r < FFirstVariable; ++r)
            start |= bit(r);
        // Locals surely written when an instruction starts: the meet over every path.
        std::vector<quint64> in(size_t(n), ~quint64(0));
        std::vector<bool> queued(size_t(n), false), seen(size_t(n), false);
        std::vector<int> work{0};
        in[0] = start;
        queued[0] = seen[0] = true;
        while (!work.empty()) {
            const int i = work.back();
            work.pop_back();
            queued[size_t(i)] = false;
            const Instr& ins = code[size_t(i)];
            const quint64 out = in[size_t(i)] | writesOf(ins);
            int next[3];
            int count = 0;
            switch (ins.op) {
            case Op::End: break;
            case Op::Jump: next[count++] = ins.target; break;
            case Op::Exit:
                next[count++] = ins.sub ? ins.target : i + 1;
                if (ins.sub & 2)
                    next[count++] = ins.target2;
                break;
            case Op::VbForNext:
            case Op::ForLoop:
            case Op::LoopJump:
                next[count++] = ins.target;
                next[count++] = ins.target2;
                break;
            case Op::ForNext:
                next[count++] = ins.target;
                next[count++] = ins.target2;
                break;
            // A line handler that terminates the script leaves a statement without
            // running it; a frame entered without filling its locals runs only while no
            // handler is there.
            case Op::Enter:
            case Op::EnterFirst:
                next[count++] = i + 1;
                next[count++] = ins.target;
                break;
            case Op::JumpIf:
            case Op::JumpIfNot:
            case Op::JumpCompare:
            case Op::CompareJump:
            case Op::FloatExpression:
            case Op::Terminated:
            case Op::TerminatedFirst:
            case Op::LoopEnd:
            case Op::ForCheck:
            case Op::VbForCheck:
            case Op::IfTerminated:
                next[count++] = i + 1;
                next[count++] = ins.target;
                break;
            default: next[count++] = i + 1; break;
            }
            const auto reach = [&](int t, quint64 state) {
                if (t < 0 || t >= n)
                    return;
                const quint64 meet = in[size_t(t)] & state;
                if (meet == in[size_t(t)] && seen[size_t(t)])
                    return;
                in[size_t(t)] = meet;
                seen[size_t(t)] = true;
                if (!queued[size_t(t)]) {
                    queued[size_t(t)] = true;
                    work.push_back(t);
                }
            };
            for (int k = 0; k < count; ++k)
                reach(next[k], out);
            // An error in a protected instruction reaches the innermost handler before the
            // instruction's own write.
            for (const Region& r : FCode.regions)
                if (r.start <= i && i < r.end) {
                    reach(r.handler, in[size_t(i)]);
                    break;
                }
        }
        for (int i = 0; i < n; ++i)
            if (readsOf(code[size_t(i)]) & ~in[size_t(i)])
                return false;
        return true;
    }

    Code& FCode;
    int FLoops = 0;
    int FExcepts = 0;
    int FNextReg = 0;
    int FTerminatedTest = -1;
    // Where the last short circuit joins its two ways.
    int FJoin = -1;
    bool FFrame = false;
    int FFirstVariable = 0;
    std::unordered_map<const Value*, int> FSlots;
};

// ---------------------------------------------------------------------------------------
// Running

namespace {

// An operand: in a register, or where it is kept; a value provider's answer goes into the
// scratch register given.
[[gnu::noinline]] const Value& provided(const Source& s, Value& scratch)
{
    scratch = s.item->GetValue();
    return scratch;
}

[[gnu::always_inline]] inline const Value& read(const Source& s, Value* R, Value& scratch)
{
    if (!s.ptr)
        return R[s.reg];
    // The program-wide count first: one load that every read shares and that is almost
    // always zero, so the operand's own provider field is not fetched on the common path.
    if (TfsCustomVariable::AnyProvider() && s.provided && s.provided->HasProvider()) [[unlikely]]
        return provided(s, scratch);
    return *s.ptr;
}

// A register holds a temporary: its value moves into the parameter.
inline Value argument(const Source& s, Value* R, Value& scratch)
{
    if (s.ptr || s.local)
        return read(s, R, scratch);
    return std::move(R[s.reg]);
}

// A running procedure whose locals are in registers. Entered from outside (its items
// holding the parameters), it keeps the items up to date wherever code of the host may
// look at them: line notifications and calls of other routines.
struct Activation {
    const Code* code;
    Value* R;
    bool sync;
};

void spill(const Activation& a)
{
    for (int i = 0; i < a.code->locals; ++i)
        *a.code->storages[size_t(i)] = a.R[i];
}

void reload(const Activation& a)
{
    for (int i = 0; i < a.code->locals; ++i)
        a.R[i] = *a.code->storages[size_t(i)];
}

// Runs the code; true when an error raised in it (or in a frame it called) goes to a
// handler of a caller further up, which catchAbove says there is: its message waits in
// raisedMessage.
bool execute(const Code& code, TfsScript* p, Value* R, const Activation* act, bool catchAbove);
Code* compileFrame(TfsProcVariable* proc, CodeHolder& holder);

// The frame code of a procedure, current; whether it may run is its own flag.
inline Code* frameOf(TfsProcVariable* proc)
{
    CodeHolder& holder = proc->Prog()->Statement()->Compiled();
    Code* code = holder.frame.get();
    if (!code || !code->current()) [[unlikely]]
        code = compileFrame(proc, holder);
    return code;
}

// The registers of frames, one block per thread used as a stack. A value above the top
// never holds a shared text or array: a new frame starts on it without clearing, as its
// code writes every register before reading it.
struct FrameStack {
    Value* top = nullptr;
    Value* end = nullptr;
};
thread_local FrameStack frameStack;

struct FrameStackBlock {
    Value* base = nullptr;
    ~FrameStackBlock() { std::free(base); }
};

[[gnu::noinline]] bool allocateFrameStack()
{
    thread_local FrameStackBlock block;
    if (block.base)
        return false;
    constexpr size_t kValues = size_t(1) << 16;
    block.base = static_cast<Value*>(std::calloc(kValues, sizeof(Value)));
    if (!block.base)
        return false;
    frameStack.top = block.base;
    frameStack.end = block.base + kValues;
    return true;
}

// The same number, or the same shared text or array.
inline bool sameBits(const Value& a, const Value& b)
{
    return a.type() == b.type() && a.shared() == b.shared() && a.asInt64() == b.asInt64();
}

// Arguments passed by reference to plain variables of the script: when every one of them
// takes its parameter's last value as it is (an Integer into an Integer variable, anything
// into a Variant), the values are stored straight from the frame; otherwise they wait in
// `later` for the variables' setters, which run once the activation is over.
struct WriteBack {
    TfsVariable* const* backs;
    std::vector<Value> later;
};

inline bool storesAsItIs(const TfsVariable* var, const Value& v)
{
    return var && var->ItemShape() == TfsCustomVariable::Shape::Variable && !var->IsReadOnly()
           && ((v.type() == varInteger && var->Typ() == fvtInt) || var->Typ() == fvtVariant);
}

[[gnu::noinline]] void keepForWriteBack(WriteBack& wb, const Value* F, quint64 varParams, size_t n)
{
    wb.later.assign(n, Value());
    for (quint64 m = varParams; m; m &= m - 1)
        wb.later[size_t(std::countr_zero(m))] = F[std::countr_zero(m)];
}

// varParams: those of the parameters given.
inline void writeBackFromFrame(WriteBack& wb, const Value* F, quint64 varParams, size_t n)
{
    for (quint64 m = varParams; m; m &= m - 1)
        if (!storesAsItIs(wb.backs[std::countr_zero(m)], F[std::countr_zero(m)])) [[unlikely]] {
            keepForWriteBack(wb, F, varParams, n);
            return;
        }
    for (quint64 m = varParams; m; m &= m - 1)
        *wb.backs[std::countr_zero(m)]->PValue() = F[std::countr_zero(m)];
}

// A call from compiled code into a new frame: the arguments go straight into the
// registers of the parameters. Nothing of the items is touched, so a procedure that
// calls itself saves nothing.
[[gnu::always_inline]] inline bool runInFrame(Value* F, Value& dst, const Code& code, TfsProcVariable* proc, const Instr& in,
                       const Source* src, Value* R, Value& scratch, WriteBack* wb, bool catchAbove)
{
    // The registers hold nothing shared (a fresh frame): the values are built over them.
    const size_t n = size_t(in.target2);
    // No value provider is there (the caller looked): arguments are read where they are.
    for (size_t j = 0; j < n; ++j) {
        const Source& s = src[j];
        if (s.ptr)
            new (F + j) Value(*s.ptr);
        else if (s.local)
            new (F + j) Value(R[s.reg]);
        else
            new (F + j) Value(std::move(R[s.reg]));
    }
    if (code.resultSlot >= 0)
        new (F + code.resultSlot) Value(proc->ResultStart());
    TfsScript* p = proc->Prog();
    // The outermost activation leaves its parameters where they are kept, as after a call
    // that ran there: a later call from the host that passes fewer arguments finds them.
    // An activation further up keeps its own there.
    struct Leave {
        TfsProcVariable* proc;
        Value* F;
        Value* const* storages;
        size_t n;
        bool inner;
        // Every call ends here: kept in the caller's code.
        [[gnu::always_inline]] ~Leave()
        {
            // The item's old value goes into the frame, which drops it; an item that
            // holds the parameter's value already keeps it (a text passed again and
            // again), and the frame drops its own reference now.
            if (!inner)
                for (size_t j = 0; j < n; ++j) {
                    if (sameBits(*storages[j], F[j]))
                        F[j].clear();
                    else
                        storages[j]->swap(F[j]);
                }
            proc->SetExecuting(inner);
            proc->Prog()->SetActivation(false);
        }
    } leave{proc, F, code.storages.data(), n, proc->SetExecuting(true)};
    p->SetActivation(true);
    // An error leaves without results, as it does from the statements' call.
    if (execute(code, p, F, nullptr, catchAbove)) [[unlikely]]
        return true;
    // The values of parameters passed by reference go back to the arguments.
    if (wb) [[unlikely]]
        writeBackFromFrame(*wb, F, code.varParams & (n >= 64 ? ~quint64(0) : (quint64(1) << n) - 1), n);
    if (code.resultSlot >= 0)
        dst = std::move(F[code.resultSlot]);
    else
        dst = Value::null();
    return false;
}

// The same with the registers on the thread's stack, when its block is full or missing.
[[gnu::noinline]] bool enterFrameOnStack(Value& dst, const Code& code, TfsProcVariable* proc, const Instr& in,
                                         const Source* src, Value* R, Value& scratch, WriteBack* wb, bool catchAbove)
{
    ValueScratch<16> registers(size_t(code.registers));
    return runInFrame(registers.data(), dst, code, proc, in, src, R, scratch, wb, catchAbove);
}

// Empties the registers of a frame that hold texts or arrays.
[[gnu::noinline]] void dropShared(Value* F, size_t n)
{
    for (Value *v = F, *end = F + n; v != end; ++v)
        if (v->shared())
            v->clear();
}

[[gnu::always_inline]] inline bool enterFrame(Value& dst, const Code& code, TfsProcVariable* proc, const Instr& in,
                                              const Source* src, Value* R, Value& scratch, bool catchAbove,
                                              WriteBack* wb = nullptr)
{
    checkStack();
    FrameStack& stack = frameStack;
    Value* F = stack.top;
    const size_t n = size_t(code.registers);
    if (size_t(stack.end - F) < n) [[unlikely]] {
        if (!allocateFrameStack())
            return enterFrameOnStack(dst, code, proc, in, src, R, scratch, wb, catchAbove);
        F = stack.top;
    }
    stack.top = F + n;
    struct Pop {
        Value* F;
        size_t n;
        ~Pop()
        {
            bool shared = false;
            for (size_t i = 0; i < n; ++i)
                shared |= F[i].shared();
            if (shared) [[unlikely]]
                dropShared(F, n);
            frameStack.top = F;
        }
    } pop{F, n};
    return runInFrame(F, dst, code, proc, in, src, R, scratch, wb, catchAbove);
}

// The arguments passed by reference that are not plain variables taking the values as
// they are: written through their setters, as the statements' call writes them back.
[[gnu::noinline]] void writeBackLater(const WriteBack& wb, const Code& code, const Instr& in)
{
    const size_t n = wb.later.size();
    for (quint64 m = code.varParams; m; m &= m - 1) {
        const size_t j = size_t(std::countr_zero(m));
        if (j >= n)
            break;
        const Value& v = wb.later[j];
        if (TfsVariable* var = wb.backs[j]) {
            if (storesAsItIs(var, v))
                *var->PValue() = v;
            else
                var->SetValue(v);
        } else {
            in.step->Items(int(j))->SetValue(v);
        }
    }
}

// Slow paths and calls leave the dispatch loop: its frame, which every activation of a
// script routine pays for, stays small, and so does the stack that recursion uses.
[[gnu::noinline]] void callWithArguments(Value& dst, const Instr& in, const Source* src, Value* R, Value& scratch)
{
    const size_t n = size_t(in.target2);
    if (n == 1) {
        Value arg = argument(src[0], R, scratch);
        dst = TfsDesignator::CallWith(in.step, &arg, 1);
        return;
    }
    ValueScratch<4> args(n);
    for (size_t j = 0; j < n; ++j)
        args[j] = argument(src[j], R, scratch);
    dst = TfsDesignator::CallWith(in.step, args.data(), n);
}

// A function of the host: the parameters take the arguments by their own rules, as
// when the designator calls it.
[[gnu::noinline]] void callHost(Value& dst, const Instr& in, const Source* src, Value* R, Value& scratch)
{
    auto* method = static_cast<TfsMethodHelper*>(in.item);
    const int count = std::min(in.target2, method->Count());
    for (int j = 0; j < count; ++j)
        method->Params(j)->SetValue(read(src[j], R, scratch));
    method->SetParentRef(nullptr);
    method->SetParentValue(Value::null());
    method->SetProg(in.prog);
    dst = method->GetValue();
}

[[gnu::noinline]] void callDirect(Value& dst, const Instr& in, const Source* src, Value* R, Value& scratch)
{
    const auto direct = static_cast<TfsMethodHelper*>(in.item)->Direct();
    const size_t n = size_t(in.target2);
    if (n == 1) {
        dst = direct(&read(src[0], R, scratch));
        return;
    }
    ValueScratch<4> args(n);
    for (size_t j = 0; j < n; ++j)
        args[j] = read(src[j], R, scratch);
    dst = direct(args.data());
}

Value divide(const Value& a, const Value& b)
{
    return binaryOp(BinaryOp::Divide, a, b);
}

// An operation of a floating-store instruction whose operands are not both numbers of
// the usual kinds: computed by the general rules, then written by the assignment.
[[gnu::noinline]] void storeComputed(const Instr& in, const Value& a, const Value& b, Value& tmp)
{
    switch (in.op) {
    case Op::AddFloat: tmp = add(a, b); break;
    case Op::SubtractFloat: tmp = subtract(a, b); break;
    case Op::MultiplyFloat: tmp = multiply(a, b); break;
    default: tmp = divide(a, b); break;
    }
    static_cast<TfsAssignmentStmt*>(in.statement)->Write(tmp, tmp);
}

template <Value (*F)(const Value&, const Value&)>
[[gnu::noinline]] void computeInto(Value& dst, const Value& a, const Value& b)
{
    dst = F(a, b);
}

template <Value (*F)(const Value&)>
[[gnu::noinline]] void computeInto(Value& dst, const Value& a)
{
    dst = F(a);
}

[[gnu::noinline]] void storeSlot(Value& target, const Value& v, Value& tmp, TfsAssignmentStmt* statement);

// A plus-assignment by its statement's rules: a text grows where it is.
[[gnu::noinline]] void addAssign(Value& target, const Value& value, TfsAssignmentStmt* statement, bool slot)
{
    Value copy;
    const Value* e = &value;
    if (&value == &target) {
        copy = value;
        e = &copy;
    }
    if (target.isText() && e->isText()) {
        addInPlace(target, *e);
        return;
    }
    Value r = add(target, *e);
    if (slot) {
        storeSlot(target, r, r, statement);
    } else {
        statement->Write(r, r);
    }
}

[[gnu::noinline]] void addPrepare(Value* k, const Value& target)
{
    const bool text = target.isText();
    k[1].setBoolean(text);
    if (!text)
        k[0] = target;
}

// The plus-assignment's statement after its expression ran: a target that was a text grows
// where it is, any other value adds to the one taken before.
[[gnu::noinline]] void addFinish(Value& target, Value* k, const Value& value, TfsAssignmentStmt* statement, bool slot)
{
    if (k[1].asBool()) {
        if (value.isText()) {
            addInPlace(target, value);
            return;
        }
        Value r = add(target, value);
        if (slot)
            storeSlot(target, r, r, statement);
        else
            statement->Target()->SetValue(r);
        return;
    }
    Value r = add(k[0], value);
    if (slot)
        storeSlot(target, r, r, statement);
    else
        statement->Write(r, r);
}

[[gnu::noinline]] void stepVariable(Value& target, const Value& value, const Instr& in)
{
    const Value one(1);
    const Value v = (in.sub & 1) ? subtract(value, one) : add(value, one);
    if (in.dst < 0)
        in.item->SetValue(v);
    else if (in.item->IsVariable())
        target = static_cast<TfsVariable*>(in.item)->Converted(v);
    else
        target = v;
}

[[gnu::noinline]] void vbForInit(Value* R, const Value& from, const Value& to, bool hasStep)
{
    R[0] = from;
    R[1] = to;
    if (!hasStep)
        R[2] = Value::fromByte(1);
    R[3].setBoolean(compare(CompareOp::Less, R[2], Value(0)));
}

[[gnu::noinline]] bool vbForGoesOn(const Value* R)
{
    return R[3].asBool() ? compare(CompareOp::GreaterOrEqual, R[0], R[1]) : compare(CompareOp::LessOrEqual, R[0], R[1]);
}

// A store of a value its target takes as it is (kind from storeKind); false when the
// assignment's own rules must write it.
[[gnu::always_inline]] inline bool storedAsIs(Value& target, const Value& v, unsigned char kind)
{
    switch (kind) {
    case 1:
        if (v.type() != varInteger)
            return false;
        target.setInteger(v.asInt());
        return true;
    case 2:
        if (v.type() != varDouble)
            return false;
        target.setDouble(v.asDouble());
        return true;
    case 3:
        if (v.shared() || &target == &v)
            return false;
        target = v;
        return true;
    case 4:
        if (v.type() != varBoolean)
            return false;
        target.setBoolean(v.asBool());
        return true;
    default: return false;
    }
}

// An operation of an Integer-store instruction whose result is not an Integer computed
// in place: computed by the general rules, then written by the assignment.
template <Value (*F)(const Value&, const Value&)>
[[gnu::noinline]] void storeIntComputed(const Instr& in, const Value& a, const Value& b, Value& tmp)
{
    tmp = F(a, b);
    static_cast<TfsAssignmentStmt*>(in.statement)->Write(tmp, tmp);
}

// An element outside the bounds, of an array shared with another variable, or of a value
// that is no such array: the path's own rules.
[[gnu::noinline]] void storeElementSlow(Value& array, int dims, int first, int second, const Value& v)
{
    const int indexes[2] = {first, second};
    TfsArrayHelper::WriteElement(array, indexes, dims, v);
}

[[gnu::noinline]] int caseTextTarget(const CaseTable& t, const QString& text)
{
    for (size_t i = 0; i < t.keys.size(); ++i)
        if (t.keys[i] == text)
            return t.targets[i];
    return t.otherwise;
}

[[gnu::noinline]] void evaluateInto(Value& dst, TfsCustomVariable* item)
{
    dst = item->GetValue();
}

[[gnu::noinline]] void callInto(Value& dst, TfsDesignatorItem* step)
{
    dst = TfsDesignator::CallProcedure(step);
}

[[gnu::noinline]] void elementInto(Value& dst, const Value& array, int index)
{
    dst = TfsArrayHelper::ReadElement(array, &index, 1);
}

[[gnu::noinline]] void element2Into(Value& dst, const Value& array, int first, int second)
{
    const int indexes[2] = {first, second};
    dst = TfsArrayHelper::ReadElement(array, indexes, 2);
}

[[gnu::noinline]] void notifyLine(TfsScript* p, const TfsStatement* s, const Activation* act)
{
    if (act && act->sync)
        spill(*act);
    p->NotifyRunLine(s->UnitName(), s->SourcePos());
    if (act && act->sync)
        reload(*act);
}

// An assignment to a local in a register, by the rules of its item.
[[gnu::noinline]] void storeSlot(Value& target, const Value& v, Value& tmp, TfsAssignmentStmt* statement)
{
    TfsCustomVariable* var = statement->Target();
    if (statement->Direct(v) || !var->IsVariable())
        target = &v == &tmp ? std::move(tmp) : v;
    else
        target = static_cast<TfsVariable*>(var)->Converted(v);
}

// A call of a script procedure: into a frame when the procedure allows it and no host
// code watches values where they are kept; otherwise the way the statements call it.
[[gnu::noinline]] bool callScript(Value& dst, const Instr& in, const Source* src, TfsVariable* const* backs, Value* R,
                                  Value& scratch, const Activation* act, bool catchAbove)
{
    auto* proc = static_cast<TfsProcVariable*>(in.item);
    if (!TfsScript::AnyRunLineHandler() && !TfsCustomVariable::AnyProvider()) [[likely]] {
        Code* code = in.frame;
        if (!code || !code->current()) [[unlikely]]
            code = in.frame = frameOf(proc);
        if (code->fastEntry) [[likely]] {
            WriteBack wb{backs, {}};
            if (enterFrame(dst, *code, proc, in, src, R, scratch, catchAbove, (in.sub & 1) ? &wb : nullptr))
                return true;
            if (!wb.later.empty()) [[unlikely]]
                writeBackLater(wb, *code, in);
            return false;
        }
    }
    if (act && act->sync)
        spill(*act);
    callWithArguments(dst, in, src, R, scratch);
    if (act && act->sync)
        reload(*act);
    return false;
}

// The message of an error raised by compiled code on its way to a handler.
thread_local QString raisedMessage;

// A raising procedure of the host takes its arguments as when it is called; its message
// waits for the handler.
[[gnu::noinline]] void raiseMessage(const Instr& in, const Source* src, Value* R, Value& scratch)
{
    auto* method = static_cast<TfsMethodHelper*>(in.item);
    const int count = std::min(in.target2, method->Count());
    for (int j = 0; j < count; ++j)
        method->Params(j)->SetValue(read(src[j], R, scratch));
    method->SetParentRef(nullptr);
    method->SetParentValue(Value::null());
    method->SetProg(in.prog);
    raisedMessage = method->RaiseText()(method);
}

// The variables the handler reads, as the try statement sets them.
[[gnu::noinline]] void setCaught(TfsScript* p, const QString& className, const QString& message)
{
    p->SetVariables(QStringLiteral("ExceptionClassName"), Value(className));
    p->SetVariables(QStringLiteral("ExceptionMessage"), Value(message));
}

[[gnu::noinline]] void setRaisedCaught(TfsScript* p)
{
    const QString message = std::exchange(raisedMessage, QString());
    setCaught(p, QStringLiteral("Exception"), message);
}

inline const Region* regionAt(const Code& code, std::ptrdiff_t index)
{
    for (const Region& r : code.regions)
        if (r.start <= index && index < r.end)
            return &r;
    return nullptr;
}

// An error caught by a handler of this code, described as the try statement describes it.
struct Caught {
    QString className;
    QString message;
};
thread_local Caught caughtError;

[[gnu::noinline, gnu::cold]] void describeCaught()
{
    try {
        orv::script::rethrowAsScriptError();
    } catch (const orv::platform::Exception& e) {
        caughtError.className = orv::script::exceptionClassName(e);
        caughtError.message = e.message();
    }
}

[[gnu::noinline]] void setDescribedCaught(TfsScript* p)
{
    Caught c = std::move(caughtError);
    caughtError = Caught();
    setCaught(p, c.className, c.message);
}

[[gnu::noinline, gnu::cold]] void noteErrorAt(const Code& code, std::ptrdiff_t index)
{
    if (size_t(index) < code.owners.size() && code.owners[size_t(index)])
        noteErrorPlace(code.owners[size_t(index)]);
}

// A floating expression in doubles; false when an operand is not of its declared kind or
// a divisor is zero, which the general rules decide.
[[gnu::noinline]] bool computeFloats(const FloatProgram& program, const Value* R, double& out)
{
    // Each step goes to the next by a jump of its own, which predicts far better than one
    // shared switch; the running value stays in a register.
    static void* const steps[] = {
        &&LoadFloating, &&LoadInteger, &&LoadConstant, &&AddFloating, &&AddInteger, &&AddConstant,
        &&SubtractFloating, &&SubtractInteger, &&SubtractConstant, &&MultiplyFloating, &&MultiplyInteger,
        &&MultiplyConstant, &&DivideFloating, &&DivideInteger, &&DivideConstant, &&SavedAdd, &&SavedSubtract,
        &&SavedMultiply, &&SavedDivide, &&Done,
    };
    static_assert(std::size(steps) == FloatStep::Done + 1);
    double saved[kFloatDepth + 1];
    double* top = saved;
    double x = 0;
    const FloatStep* step = program.steps.data();
#define ORV_STEP goto* steps[(++step)->kind]
#define ORV_FLOATING(y)                                                                    \
    const Value& v = step->source.ptr ? *step->source.ptr : R[step->source.reg];           \
    if (v.type() != varDouble)                                                             \
        return false;                                                                      \
    const double y = v.asDouble()
#define ORV_INTEGER(y)                                                                     \
    const Value& v = step->source.ptr ? *step->source.ptr : R[step->source.reg];           \
    if (v.type() != varInteger)                                                            \
        return false;                                                                      \
    const double y = double(v.asInt())
#define ORV_CONSTANT(y) const double y = step->constant
#define ORV_WITH(Label, Read, Compute)                                                     \
    Label : {                                                                              \
        Read(y);                                                                           \
        Compute;                                                                           \
        ORV_STEP;                                                                          \
    }
    goto* steps[step->kind];
    ORV_WITH(LoadFloating, ORV_FLOATING, (*top++ = x, x = y))
    ORV_WITH(LoadInteger, ORV_INTEGER, (*top++ = x, x = y))
    ORV_WITH(LoadConstant, ORV_CONSTANT, (*top++ = x, x = y))
    ORV_WITH(AddFloating, ORV_FLOATING, x += y)
    ORV_WITH(AddInteger, ORV_INTEGER, x += y)
    ORV_WITH(AddConstant, ORV_CONSTANT, x += y)
    ORV_WITH(SubtractFloating, ORV_FLOATING, x -= y)
    ORV_WITH(SubtractInteger, ORV_INTEGER, x -= y)
    ORV_WITH(SubtractConstant, ORV_CONSTANT, x -= y)
    ORV_WITH(MultiplyFloating, ORV_FLOATING, x *= y)
    ORV_WITH(MultiplyInteger, ORV_INTEGER, x *= y)
    ORV_WITH(MultiplyConstant, ORV_CONSTANT, x *= y)
    ORV_WITH(DivideFloating, ORV_FLOATING, if (y == 0) return false; x /= y)
    ORV_WITH(DivideInteger, ORV_INTEGER, if (y == 0) return false; x /= y)
    ORV_WITH(DivideConstant, ORV_CONSTANT, if (y == 0) return false; x /= y)
SavedAdd:
    x = *--top + x;
    ORV_STEP;
SavedSubtract:
    x = *--top - x;
    ORV_STEP;
SavedMultiply:
    x = *--top * x;
    ORV_STEP;
SavedDivide:
    if (x == 0)
        return false;
    x = *--top / x;
    ORV_STEP;
Done:
#undef ORV_STEP
#undef ORV_FLOATING
#undef ORV_INTEGER
#undef ORV_CONSTANT
#undef ORV_WITH
    out = x;
    return true;
}

bool execute(const Code& code, TfsScript* p, Value* R, const Activation* act, bool catchAbove)
{
    // Threaded dispatch: each instruction jumps to the next one's handler by itself.
    static void* const handlers[] = {
        &&Move, &&Add, &&Subtract, &&Multiply, &&IntDivide, &&Modulo, &&Divide, &&Equal, &&NotEqual, &&Less,
        &&LessOrEqual, &&Greater, &&GreaterOrEqual, &&Not, &&Negate, &&Eval, &&Call, &&CallArgs, &&Element, &&Jump, &&JumpIfNot,
        &&JumpIf, &&Terminated, &&Enter, &&JumpCompare, &&Line, &&Store, &&Exec, &&LoopEnd, &&ClearBreak, &&SetBreak,
        &&SetContinue, &&Exit, &&ForInit, &&ForCheck, &&ForSet, &&ForNext, &&CallScript, &&StoreSlot, &&ForSetSlot,
        &&AddAssign, &&StepVariable, &&IfTerminated, &&VbForInit, &&VbForCheck, &&VbForSet, &&VbForNext,
        &&AddInto, &&SubtractInto, &&MultiplyInto, &&IntDivideInto, &&ModuloInto, &&DivideInto,
        &&AddFloat, &&SubtractFloat, &&MultiplyFloat, &&DivideFloat, &&ForLoop, &&LoopJump, &&Element2, &&HostCall,
        &&CaseJump, &&AddInt, &&SubtractInt, &&MultiplyInt, &&IntDivideInt, &&ModuloInt, &&StoreElement, &&ForStep,
        &&Raise, &&AddPrepare, &&AddFinish, &&DirectCall, &&TerminatedFirst, &&EnterFirst,
        &&FloatAdd, &&FloatSubtract, &&FloatMultiply, &&FloatDivide, &&FloatExpression, &&JumpCompare, &&End,
    };
    static_assert(std::size(handlers) == size_t(Op::End) + 1);

    Value& sa = R[code.registers - 2];
    Value& sb = R[code.registers - 1];
    const Instr* const base = code.instrs.data();
    const Instr* in = base;
    // An error a handler of this code caught as a C++ exception: its variables are set
    // once the exception is gone.
    std::ptrdiff_t resume = -1;
    for (;;) {
    try {
    if (resume >= 0) [[unlikely]] {
        in = base + resume;
        resume = -1;
        setDescribedCaught(p);
    }

#define ORV_NEXT goto* handlers[size_t((++in)->op)]
#define ORV_JUMP(to)                                                                       \
    do {                                                                                   \
        in = base + (to);                                                                  \
        goto* handlers[size_t(in->op)];                                                    \
    } while (false)
// Into a loop's body for its next turn: the test before its first statement does nothing
// when the script is not terminated and no line handler is there, and is passed over.
#define ORV_TURN(to)                                                                       \
    do {                                                                                   \
        in = base + (to);                                                                  \
        if ((in->op == Op::EnterFirst || in->op == Op::TerminatedFirst) && !p->Terminated() \
            && !TfsScript::AnyRunLineHandler())                                            \
            ++in;                                                                          \
        goto* handlers[size_t(in->op)];                                                    \
    } while (false)
// Two operands; Integers computed in place while the result stays an Integer.
#define ORV_ARITHMETIC(Label, Test, Fallback, ORV_OUT)                                            \
    Label : {                                                                              \
        const Value& a = read(in->a, R, sa);                                               \
        const Value& b = read(in->b, R, sb);                                               \
        int r;                                                                             \
        if (a.type() == varInteger && b.type() == varInteger) {                            \
            const int x = a.asInt(), y = b.asInt();                                        \
            if (Test) {                                                                    \
                ORV_OUT.setInteger(r);                                                    \
                ORV_NEXT;                                                                  \
            }                                                                              \
        }                                                                                  \
        computeInto<Fallback>(ORV_OUT, a, b);                                             \
        ORV_NEXT;                                                                          \
    }
// The same where floating operands compute in place too.
#define ORV_FLOAT_ARITHMETIC(Label, Test, Operator, Fallback, ORV_OUT)                            \
    Label : {                                                                              \
        const Value& a = read(in->a, R, sa);                                               \
        const Value& b = read(in->b, R, sb);                                               \
        int r;                                                                             \
        double fx, fy;                                                                     \
        if (a.type() == varInteger && b.type() == varInteger) {                            \
            const int x = a.asInt(), y = b.asInt();                                        \
            if (Test) {                                                                    \
                ORV_OUT.setInteger(r);                                                    \
                ORV_NEXT;                                                                  \
            }                                                                              \
        } else if (floatPair(a, b, fx, fy)) {                                              \
            ORV_OUT.setDouble(fx Operator fy);                                            \
            ORV_NEXT;                                                                      \
        }                                                                                  \
        computeInto<Fallback>(ORV_OUT, a, b);                                             \
        ORV_NEXT;                                                                          \
    }
// The same with floating operands tried first.
#define ORV_FLOAT_FIRST(Label, Test, Operator, Fallback)                                   \
    Label : {                                                                              \
        const Value& a = read(in->a, R, sa);                                               \
        const Value& b = read(in->b, R, sb);                                               \
        int r;                                                                             \
        double fx, fy;                                                                     \
        if (floatPair(a, b, fx, fy)) {                                                     \
            R[in->dst].setDouble(fx Operator fy);                                          \
            ORV_NEXT;                                                                      \
        }                                                                                  \
        if (a.type() == varInteger && b.type() == varInteger) {                            \
            const int x = a.asInt(), y = b.asInt();                                        \
            if (Test) {                                                                    \
                R[in->dst].setInteger(r);                                                  \
                ORV_NEXT;                                                                  \
            }                                                                              \
        }                                                                                  \
        computeInto<Fallback>(R[in->dst], a, b);                                           \
        ORV_NEXT;                                                                          \
    }
#define ORV_DIVIDE(Label, ORV_OUT)                                                         \
    Label : {                                                                              \
        const Value& a = read(in->a, R, sa);                                               \
        const Value& b = read(in->b, R, sb);                                               \
        double fx, fy;                                                                     \
        if (a.type() == varInteger && b.type() == varInteger && b.asInt() != 0) {          \
            ORV_OUT.setDouble(double(a.asInt()) / double(b.asInt()));                      \
            ORV_NEXT;                                                                      \
        }                                                                                  \
        if (floatPair(a, b, fx, fy) && fy != 0) {                                          \
            ORV_OUT.setDouble(fx / fy);                                                    \
            ORV_NEXT;                                                                      \
        }                                                                                  \
        computeInto<divide>(ORV_OUT, a, b);                                                \
        ORV_NEXT;                                                                          \
    }
// The same into a floating variable kept at ptr: a floating result goes there straight,
// any other through the assignment `statement`'s rules.
#define ORV_FLOAT_STORE(Label, Test, Compute)                                              \
    Label : {                                                                              \
        const Value& a = read(in->a, R, sa);                                               \
        const Value& b = read(in->b, R, sb);                                               \
        double fx, fy;                                                                     \
        if (floatPair(a, b, fx, fy) && (Test)) {                                           \
            in->ptr->setDouble(Compute);                                                   \
            ORV_NEXT;                                                                      \
        }                                                                                  \
        storeComputed(*in, a, b, R[in->dst]);                                              \
        ORV_NEXT;                                                                          \
    }
// The same into an Integer variable kept at ptr.
#define ORV_INT_STORE(Label, Test, Fallback)                                               \
    Label : {                                                                              \
        const Value& a = read(in->a, R, sa);                                               \
        const Value& b = read(in->b, R, sb);                                               \
        int r;                                                                             \
        if (a.type() == varInteger && b.type() == varInteger) {                            \
            const int x = a.asInt(), y = b.asInt();                                        \
            if (Test) {                                                                    \
                in->ptr->setInteger(r);                                                    \
                ORV_NEXT;                                                                  \
            }                                                                              \
        }                                                                                  \
        storeIntComputed<Fallback>(*in, a, b, R[in->dst]);                                 \
        ORV_NEXT;                                                                          \
    }
#define ORV_COMPARE(Label, Operator, Kind)                                                 \
    Label : {                                                                              \
        const Value& a = read(in->a, R, sa);                                               \
        const Value& b = read(in->b, R, sb);                                               \
        double fx, fy;                                                                     \
        if (a.type() == varInteger && b.type() == varInteger)                              \
            R[in->dst].setBoolean(a.asInt() Operator b.asInt());                           \
        else if (floatPair(a, b, fx, fy))                                                  \
            R[in->dst].setBoolean(fx Operator fy);                                         \
        else                                                                               \
            R[in->dst].setBoolean(compare(CompareOp::Kind, a, b));                         \
        ORV_NEXT;                                                                          \
    }

    goto* handlers[size_t(in->op)];

Move:
    R[in->dst] = read(in->a, R, sa);
    ORV_NEXT;
    ORV_FLOAT_ARITHMETIC(Add, !__builtin_add_overflow(x, y, &r), +, add, R[in->dst])
    ORV_FLOAT_ARITHMETIC(Subtract, !__builtin_sub_overflow(x, y, &r), -, subtract, R[in->dst])
    ORV_FLOAT_ARITHMETIC(Multiply, !__builtin_mul_overflow(x, y, &r), *, multiply, R[in->dst])
    ORV_ARITHMETIC(IntDivide, y > 0 && ((r = x / y), true), intDivide, R[in->dst])
    ORV_ARITHMETIC(Modulo, y > 0 && ((r = x % y), true), modulo, R[in->dst])
    ORV_DIVIDE(Divide, R[in->dst])
    ORV_FLOAT_FIRST(FloatAdd, !__builtin_add_overflow(x, y, &r), +, add)
    ORV_FLOAT_FIRST(FloatSubtract, !__builtin_sub_overflow(x, y, &r), -, subtract)
    ORV_FLOAT_FIRST(FloatMultiply, !__builtin_mul_overflow(x, y, &r), *, multiply)
FloatExpression: {
    double v;
    if (!TfsCustomVariable::AnyProvider() && computeFloats(code.floats[size_t(in->target2)], R, v)) [[likely]] {
        in->ptr->setDouble(v);
        ORV_JUMP(in->target);
    }
    ORV_NEXT;
}
FloatDivide: {
    const Value& a = read(in->a, R, sa);
    const Value& b = read(in->b, R, sb);
    double fx, fy;
    if (floatPair(a, b, fx, fy) && fy != 0) {
        R[in->dst].setDouble(fx / fy);
        ORV_NEXT;
    }
    if (a.type() == varInteger && b.type() == varInteger && b.asInt() != 0) {
        R[in->dst].setDouble(double(a.asInt()) / double(b.asInt()));
        ORV_NEXT;
    }
    computeInto<divide>(R[in->dst], a, b);
    ORV_NEXT;
}
    ORV_FLOAT_ARITHMETIC(AddInto, !__builtin_add_overflow(x, y, &r), +, add, (*in->ptr))
    ORV_FLOAT_ARITHMETIC(SubtractInto, !__builtin_sub_overflow(x, y, &r), -, subtract, (*in->ptr))
    ORV_FLOAT_ARITHMETIC(MultiplyInto, !__builtin_mul_overflow(x, y, &r), *, multiply, (*in->ptr))
    ORV_ARITHMETIC(IntDivideInto, y > 0 && ((r = x / y), true), intDivide, (*in->ptr))
    ORV_ARITHMETIC(ModuloInto, y > 0 && ((r = x % y), true), modulo, (*in->ptr))
    ORV_DIVIDE(DivideInto, (*in->ptr))
    ORV_FLOAT_STORE(AddFloat, true, fx + fy)
    ORV_FLOAT_STORE(SubtractFloat, true, fx - fy)
    ORV_FLOAT_STORE(MultiplyFloat, true, fx * fy)
    ORV_FLOAT_STORE(DivideFloat, fy != 0, fx / fy)
    ORV_INT_STORE(AddInt, !__builtin_add_overflow(x, y, &r), add)
    ORV_INT_STORE(SubtractInt, !__builtin_sub_overflow(x, y, &r), subtract)
    ORV_INT_STORE(MultiplyInt, !__builtin_mul_overflow(x, y, &r), multiply)
    ORV_INT_STORE(IntDivideInt, y > 0 && ((r = x / y), true), intDivide)
    ORV_INT_STORE(ModuloInt, y > 0 && ((r = x % y), true), modulo)
    ORV_COMPARE(Equal, ==, Equal)
    ORV_COMPARE(NotEqual, !=, NotEqual)
    ORV_COMPARE(Less, <, Less)
    ORV_COMPARE(LessOrEqual, <=, LessOrEqual)
    ORV_COMPARE(Greater, >, Greater)
    ORV_COMPARE(GreaterOrEqual, >=, GreaterOrEqual)
Not: {
    const Value& a = read(in->a, R, sa);
    if (a.type() == varBoolean)
        R[in->dst].setBoolean(!a.asBool());
    else
        computeInto<logicalNot>(R[in->dst], a);
    ORV_NEXT;
}
CaseJump: {
    const Value& v = read(in->a, R, sa);
    const CaseTable& t = code.cases[size_t(in->target2)];
    if (!t.texts) {
        if (v.type() == varInteger) {
            const qint64 offset = qint64(v.asInt()) - t.low;
            ORV_JUMP(offset >= 0 && offset < qint64(t.targets.size()) ? t.targets[size_t(offset)] : t.otherwise);
        }
    } else if (v.isText()) {
        ORV_JUMP(caseTextTarget(t, v.text()));
    }
    ORV_NEXT;
}
ForStep: {
    // A value provider may answer for the variable: the steps one by one.
    if (p->AnyStop() || TfsScript::AnyRunLineHandler() || TfsCustomVariable::AnyProvider()) [[unlikely]]
        ORV_NEXT;
    Value& v = *in->ptr;
    int r;
    if (v.type() != varInteger
        || ((in->sub & 1) ? __builtin_sub_overflow(v.asInt(), 1, &r) : __builtin_add_overflow(v.asInt(), 1, &r)))
        [[unlikely]]
        ORV_NEXT;
    v.setInteger(r);
    const Instr* compare = base + in->target;
    const Value& a = read(compare->a, R, sa);
    const Value& b = read(compare->b, R, sb);
    if (a.type() != varInteger || b.type() != varInteger) [[unlikely]]
        ORV_JUMP(in->target);
    const int x = a.asInt(), y = b.asInt();
    bool result;
    switch (CompareOp(compare->sub & 15)) {
    case CompareOp::Equal: result = x == y; break;
    case CompareOp::NotEqual: result = x != y; break;
    case CompareOp::Less: result = x < y; break;
    case CompareOp::LessOrEqual: result = x <= y; break;
    case CompareOp::Greater: result = x > y; break;
    default: result = x >= y; break;
    }
    if (result == bool(compare->sub & 16))
        ORV_TURN(compare->target);
    ORV_JUMP(in->target + 1);
}
StoreElement: {
    const Value& v = read(code.sources[size_t(in->target)], R, sa);
    const Value& x = read(in->a, R, sb);
    const int first = x.type() == varInteger ? x.asInt() : x.toInt();
    int second = 0;
    Value* element;
    if (in->sub == 2) {
        const Value& y = read(in->b, R, sb);
        second = y.type() == varInteger ? y.asInt() : y.toInt();
        element = in->ptr->mutableAt2(first, second);
    } else {
        element = in->ptr->mutableAt1(first);
    }
    if (element)
        *element = v;
    else
        storeElementSlow(*in->ptr, in->sub, first, second, v);
    ORV_NEXT;
}
Negate:
    computeInto<negate>(R[in->dst], read(in->a, R, sa));
    ORV_NEXT;
Eval:
    evaluateInto(R[in->dst], in->item);
    ORV_NEXT;
Call:
    callInto(R[in->dst], in->step);
    ORV_NEXT;
CallArgs:
    callWithArguments(R[in->dst], *in, code.sources.data() + in->target, R, sa);
    ORV_NEXT;
Element2: {
    const Value& x = read(in->a, R, sa);
    const int first = x.type() == varInteger ? x.asInt() : x.toInt();
    const Value& y = read(in->b, R, sb);
    const int second = y.type() == varInteger ? y.asInt() : y.toInt();
    if (const Value* element = in->ptr->at2(first, second))
        R[in->dst] = *element;
    else
        element2Into(R[in->dst], *in->ptr, first, second);
    ORV_NEXT;
}
HostCall:
    callHost(R[in->dst], *in, code.sources.data() + in->target, R, sa);
    ORV_NEXT;
AddPrepare: {
    const Value& t = in->target >= 0 ? R[in->target] : *in->ptr;
    if (t.type() == varInteger) {
        R[in->dst + 1].setBoolean(false);
        R[in->dst].setInteger(t.asInt());
        ORV_NEXT;
    }
    addPrepare(R + in->dst, t);
    ORV_NEXT;
}
AddFinish: {
    const Value& e = read(in->a, R, sa);
    Value& t = in->target >= 0 ? R[in->target] : *in->ptr;
    const Value& v = R[in->dst];
    int r;
    // An Integer plus an Integer that stays one: the target takes it as it is.
    if (in->sub && !R[in->dst + 1].asBool() && v.type() == varInteger && e.type() == varInteger
        && !__builtin_add_overflow(v.asInt(), e.asInt(), &r)) {
        t.setInteger(r);
        ORV_NEXT;
    }
    addFinish(t, R + in->dst, e, static_cast<TfsAssignmentStmt*>(in->statement), in->target >= 0);
    ORV_NEXT;
}
DirectCall:
    if (in->sub) {
        const Value& v = read(code.sources[size_t(in->target)], R, sa);
        if (v.isText()) {
            R[in->dst].setInteger(int(v.text().size()));
            ORV_NEXT;
        }
    }
    callDirect(R[in->dst], *in, code.sources.data() + in->target, R, sa);
    ORV_NEXT;
Element: {
    const Value& v = read(in->a, R, sa);
    const int index = v.type() == varInteger ? v.asInt() : v.toInt();
    if (const Value* element = in->ptr->at1(index))
        R[in->dst] = *element;
    else
        elementInto(R[in->dst], *in->ptr, index);
    ORV_NEXT;
}
Jump:
    ORV_JUMP(in->target);
JumpIfNot:
    if (!isTrue(read(in->a, R, sa)))
        ORV_JUMP(in->target);
    ORV_NEXT;
JumpIf:
    if (isTrue(read(in->a, R, sa)))
        ORV_JUMP(in->target);
    ORV_NEXT;
Terminated:
    if (p->AnyStop())
        ORV_JUMP(in->target);
    ORV_NEXT;
TerminatedFirst:
    if (p->Terminated())
        ORV_JUMP(in->target);
    ORV_NEXT;
EnterFirst:
    if (p->Terminated())
        ORV_JUMP(in->target);
    if (TfsScript::AnyRunLineHandler()) {
        notifyLine(p, in->statement, act);
        if (p->Terminated())
            ORV_JUMP(in->target2);
    }
    ORV_NEXT;
Enter:
    if (p->AnyStop())
        ORV_JUMP(in->target);
    if (TfsScript::AnyRunLineHandler()) {
        notifyLine(p, in->statement, act);
        if (p->Terminated())
            ORV_JUMP(in->target2);
    }
    ORV_NEXT;
JumpCompare: {
    const Value& a = read(in->a, R, sa);
    const Value& b = read(in->b, R, sb);
    const CompareOp kind = CompareOp(in->sub & 15);
    bool result;
    if (a.type() == varInteger && b.type() == varInteger) {
        const int x = a.asInt(), y = b.asInt();
        switch (kind) {
        case CompareOp::Equal: result = x == y; break;
        case CompareOp::NotEqual: result = x != y; break;
        case CompareOp::Less: result = x < y; break;
        case CompareOp::LessOrEqual: result = x <= y; break;
        case CompareOp::Greater: result = x > y; break;
        default: result = x >= y; break;
        }
    } else if (double x, y; floatPair(a, b, x, y)) {
        switch (kind) {
        case CompareOp::Equal: result = x == y; break;
        case CompareOp::NotEqual: result = x != y; break;
        case CompareOp::Less: result = x < y; break;
        case CompareOp::LessOrEqual: result = x <= y; break;
        case CompareOp::Greater: result = x > y; break;
        default: result = x >= y; break;
        }
    } else {
        result = compare(kind, a, b);
    }
    // CompareJump runs here too: it keeps the Boolean.
    if (in->op == Op::CompareJump)
        R[in->dst].setBoolean(result);
    if (result == bool(in->sub & 16))
        ORV_JUMP(in->target);
    ORV_NEXT;
}
Line:
    if (TfsScript::AnyRunLineHandler()) {
        notifyLine(p, in->statement, act);
        if (p->Terminated())
            ORV_JUMP(in->target);
    }
    ORV_NEXT;
Store: {
    const Value& v = read(in->a, R, sa);
    // A target reached through a path (an element, a property) has no storage of its own.
    if (in->ptr && storedAsIs(*in->ptr, v, in->sub))
        ORV_NEXT;
    // A register is a temporary: its value may move into the target.
    static_cast<TfsAssignmentStmt*>(in->statement)->Write(v, in->a.ptr || in->a.local ? sa : R[in->a.reg]);
    ORV_NEXT;
}
StoreSlot: {
    const Value& v = read(in->a, R, sa);
    if (storedAsIs(R[in->dst], v, in->sub))
        ORV_NEXT;
    storeSlot(R[in->dst], v, in->a.ptr || in->a.local ? sa : R[in->a.reg],
              static_cast<TfsAssignmentStmt*>(in->statement));
    ORV_NEXT;
}
CallScript:
    if (callScript(R[in->dst], *in, code.sources.data() + in->target, code.backs.data() + in->target, R, sa, act,
                   (in->sub & 2) || catchAbove)) [[unlikely]]
        goto Raised;
    ORV_NEXT;
ForSetSlot:
    R[in->target].setInteger(int(R[in->dst].asInt64()));
    ORV_NEXT;
Exec:
    in->statement->Execute();
    ORV_NEXT;
LoopEnd:
    if (p->LoopEnds())
        ORV_JUMP(in->target);
    p->SetContinueCalled(false);
    ORV_NEXT;
ClearBreak:
    p->SetBreakCalled(false);
    ORV_NEXT;
SetBreak:
    p->SetBreakCalled(true);
    ORV_NEXT;
SetContinue:
    p->SetContinueCalled(true);
    ORV_NEXT;
Exit:
    // In a frame (sub 1) an exit ends the code at once; with the list's test joined to it
    // (sub 2), a stop set before goes to the list's end instead.
    if ((in->sub & 2) && p->AnyStop()) [[unlikely]]
        ORV_JUMP(in->target2);
    if (TfsScript::AnyRunLineHandler())
        notifyLine(p, in->statement, act);
    if (in->sub)
        return false;
    p->SetExitCalled(true);
    ORV_NEXT;
ForInit: {
    const qint64 from = read(in->a, R, sa).toInt();
    const qint64 to = read(in->b, R, sb).toInt();
    R[in->dst].setInt64(from);
    R[in->dst + 1].setInt64(to);
    ORV_NEXT;
}
ForCheck: {
    const qint64 from = R[in->dst].asInt64(), to = R[in->dst + 1].asInt64();
    if (in->sub ? from < to : to < from)
        ORV_JUMP(in->target);
    ORV_NEXT;
}
ForSet:
    in->ptr->setInteger(int(R[in->dst].asInt64()));
    ORV_NEXT;
ForNext: {
    const qint64 count = R[in->dst].asInt64();
    if (count == R[in->dst + 1].asInt64())
        ORV_JUMP(in->target);
    R[in->dst].setInt64(in->sub ? count - 1 : count + 1);
    ORV_JUMP(in->target2);
}
AddAssign: {
    const Value& e = read(in->a, R, sa);
    Value& t = in->dst >= 0 ? R[in->dst] : *in->ptr;
    int r;
    if (t.type() == varInteger && e.type() == varInteger && !__builtin_add_overflow(t.asInt(), e.asInt(), &r)) {
        t.setInteger(r);
        ORV_NEXT;
    }
    addAssign(t, e, static_cast<TfsAssignmentStmt*>(in->statement), in->dst >= 0);
    ORV_NEXT;
}
StepVariable: {
    const Value& v = read(in->a, R, sa);
    Value& t = in->dst >= 0 ? R[in->dst] : *in->ptr;
    int r;
    if ((in->sub & 2) && v.type() == varInteger
        && !((in->sub & 1) ? __builtin_sub_overflow(v.asInt(), 1, &r) : __builtin_add_overflow(v.asInt(), 1, &r))) {
        t.setInteger(r);
        ORV_NEXT;
    }
    stepVariable(t, v, *in);
    ORV_NEXT;
}
IfTerminated:
    if (p->Terminated())
        ORV_JUMP(in->target);
    ORV_NEXT;
VbForInit:
    vbForInit(R + in->dst, read(in->a, R, sa), read(in->b, R, sb), in->sub);
    ORV_NEXT;
VbForCheck: {
    const Value* c = R + in->dst;
    bool goesOn;
    if (c[0].type() == varInteger && c[1].type() == varInteger)
        goesOn = c[3].asBool() ? c[0].asInt() >= c[1].asInt() : c[0].asInt() <= c[1].asInt();
    else
        goesOn = vbForGoesOn(c);
    if (!goesOn)
        ORV_JUMP(in->target);
    ORV_NEXT;
}
VbForSet:
    (in->target >= 0 ? R[in->target] : *in->ptr) = R[in->dst];
    ORV_NEXT;
ForLoop: {
    if (p->LoopEnds()) [[unlikely]]
        ORV_JUMP(in->target);
    p->SetContinueCalled(false);
    const qint64 count = R[in->dst].asInt64();
    if (count == R[in->dst + 1].asInt64())
        ORV_JUMP(in->target);
    const qint64 next = in->sub ? count - 1 : count + 1;
    R[in->dst].setInt64(next);
    (in->a.reg >= 0 ? R[in->a.reg] : *in->ptr).setInteger(int(next));
    ORV_TURN(in->target2);
}
LoopJump:
    if (p->LoopEnds()) [[unlikely]]
        ORV_JUMP(in->target);
    p->SetContinueCalled(false);
    ORV_JUMP(in->target2);
VbForNext: {
    if (p->LoopEnds()) [[unlikely]]
        ORV_JUMP(in->target2);
    p->SetContinueCalled(false);
    Value* c = R + in->dst;
    int r;
    // The step without an expression is a Byte: it adds as an Integer.
    if (c[0].type() == varInteger && (c[2].type() == varInteger || c[2].type() == varByte)
        && !__builtin_add_overflow(c[0].asInt(), c[2].asInt(), &r)) {
        c[0].setInteger(r);
        // The check and the setting of the variable that follow, done here.
        if (c[1].type() == varInteger) {
            if (!(c[3].asBool() ? r >= c[1].asInt() : r <= c[1].asInt()))
                ORV_JUMP(base[in->target].target);
            const Instr* set = base + in->target + 1;
            (set->target >= 0 ? R[set->target] : *set->ptr) = c[0];
            ORV_TURN(in->target + 2);
        }
    } else {
        computeInto<add>(c[0], c[0], c[2]);
    }
    ORV_JUMP(in->target);
}
Raise:
    // Nobody here handles the error: the procedure raises it as ever.
    if (!(in->sub & 2) && !catchAbove) {
        callHost(R[in->dst], *in, code.sources.data() + in->target, R, sa);
        ORV_NEXT;
    }
    raiseMessage(*in, code.sources.data() + in->target, R, sa);
    goto Raised;
Raised:
    // An error raised here or by a frame called: the innermost handler of this code runs,
    // or the error goes up to the caller that handles it.
    if (const Region* r = regionAt(code, in - base)) {
        if (in->loops > r->loops)
            p->SetBreakCalled(false);
        in = base + r->handler;
        setRaisedCaught(p);
        goto* handlers[size_t(in->op)];
    }
    if (in->loops)
        p->SetBreakCalled(false);
    if (catchAbove)
        return true;
    throw orv::platform::Exception(std::exchange(raisedMessage, QString()));
End:
    return false;
    } catch (...) {
        const std::ptrdiff_t at = in - base;
        const Region* r = code.regions.empty() ? nullptr : regionAt(code, at);
        // Leaving loops clears their break, as the loop statements do.
        if (in->loops > (r ? r->loops : 0))
            p->SetBreakCalled(false);
        if (!r) {
            noteErrorAt(code, at);
            throw;
        }
        describeCaught();
        resume = r->handler;
    }
    }
#undef ORV_NEXT
#undef ORV_JUMP
#undef ORV_TURN
#undef ORV_FLOAT_FIRST
#undef ORV_ARITHMETIC
#undef ORV_FLOAT_ARITHMETIC
#undef ORV_DIVIDE
#undef ORV_FLOAT_STORE
#undef ORV_COMPARE
#undef ORV_INT_STORE
}

} // namespace

namespace {

Code* compileFrame(TfsProcVariable* proc, CodeHolder& holder)
{
    auto code = std::make_unique<Code>();
    Compiler(*code).compileRoutine(proc);
    code->registers += 2;
    code->checked = TfsItemList::AnyChanges();
    // A form being replaced may still be running further up.
    if (holder.frame)
        holder.retired.push_back(std::move(holder.frame));
    holder.frame = std::move(code);
    return holder.frame.get();
}

// A procedure entered from outside: its items hold the parameters, and get every value
// back when it ends, as if it had run where they are kept.
[[gnu::noinline]] void runFrame(const Code& code, TfsProcVariable* proc)
{
    ValueScratch<16> registers(size_t(code.registers));
    Value* F = registers.data();
    const Activation act{&code, F, true};
    reload(act);
    struct WriteBack {
        const Activation& a;
        ~WriteBack()
        {
            for (int i = 0; i < a.code->locals; ++i)
                *a.code->storages[size_t(i)] = std::move(a.R[i]);
        }
    } back{act};
    execute(code, proc->Prog(), F, &act, false);
}

[[gnu::noinline]] void compile(TfsStatement* list, CodeHolder& holder)
{
    auto code = std::make_unique<Code>();
    Compiler(*code).compileTop(list);
    code->registers += 2;
    code->checked = TfsItemList::AnyChanges();
    // A form being replaced may still be running further up.
    if (holder.current)
        holder.retired.push_back(std::move(holder.current));
    holder.current = std::move(code);
}

} // namespace

void run(TfsStatement* list)
{
    if (!compiledRunning) {
        list->Execute();
        return;
    }
    CodeHolder& holder = list->Compiled();
    if (!holder.current || !holder.current->current()) [[unlikely]]
        compile(list, holder);
    const Code& code = *holder.current;
    ValueScratch<16> registers(size_t(code.registers));
    execute(code, list->Program(), registers.data(), nullptr, false);
}

void runRoutine(TfsProcVariable* proc)
{
    TfsStatement* body = proc->Prog()->Statement();
    if (compiledRunning && !TfsCustomVariable::AnyProvider()) {
        if (const Code* code = frameOf(proc); code->frameable) {
            runFrame(*code, proc);
            return;
        }
    }
    run(body);
}

void setEnabled(bool on)
{
    compiledRunning = on;
}

bool enabled()
{
    return compiledRunning;
}

} // namespace orv::script::vm



