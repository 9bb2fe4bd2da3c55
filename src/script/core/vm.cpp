#include "script/core/vm.h"

#include <iterator>
#include <typeinfo>
#include <utility>
#include <vector>

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
    End,
};


struct Source {
    const Value* ptr = nullptr;                // where the value is kept; nullptr: register
    const TfsCustomVariable* provided = nullptr; // a variable whose value provider must answer when set
    TfsCustomVariable* item = nullptr;
    int reg = -1;
};

struct Instr {
    Op op;
    unsigned char sub = 0;
    int dst = 0;
    int target = 0;
    int target2 = 0;
    Source a, b;
    TfsCustomVariable* item = nullptr;
    TfsStatement* statement = nullptr;
    Value* ptr = nullptr;
    TfsDesignatorItem* step = nullptr;
};

} // namespace

struct Code {
    std::vector<Instr> instrs;
    std::vector<Source> sources; // the arguments of calls
    int registers = 0; // temporaries, then two for values that a value provider gives
    // Every list the code was made from, with its change count at that moment.
    std::vector<std::pair<const TfsItemList*, quint64>> lists;
    // The count of all changes when the lists were found unchanged the last time.
    quint64 checked = 0;

    bool current()
    {
        if (TfsItemList::AnyChanges() == checked) [[likely]]
            return true;
        for (const auto& [list, changes] : lists)
            if (list->Changes() != changes)
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

private:
    int put(Op op)
    {
        Instr in;
        in.op = op;
        FCode.instrs.push_back(in);
        return int(FCode.instrs.size()) - 1;
    }
    Instr& at(int index) { return FCode.instrs[size_t(index)]; }
    int here() const { return int(FCode.instrs.size()); }
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
            // set break, continue or exit: at the start of a list none of them is set.
            FTerminatedTest = put(Op::Terminated);
            toEnd.push_back(FTerminatedTest);
            compileStatement(s, list);
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
            at(FTerminatedTest).op = Op::Enter;
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
        (at(l).op == Op::Enter ? at(l).target2 : at(l).target) = here();
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
        if (type == typeid(TfsAssignmentStmt)) {
            auto* a = static_cast<TfsAssignmentStmt*>(s);
            const int e = line(s);
            const Source v = expression(a->FExpr != a->FExpression ? a->FExpr : a->FExpression);
            const int st = put(Op::Store);
            at(st).statement = s;
            at(st).a = v;
            at(st).ptr = a->FTarget;
            at(st).sub = a->FStore == TfsAssignmentStmt::Store::Integer ? 1 : 0;
            behind(e);
        } else if (type == typeid(TfsCallStmt) && static_cast<TfsCallStmt*>(s)->FModificator.isEmpty()) {
            auto* c = static_cast<TfsCallStmt*>(s);
            const int e = line(s);
            eval(c->FDesignator);
            behind(e);
        } else if (type == typeid(TfsIfStmt)) {
            auto* f = static_cast<TfsIfStmt*>(s);
            const int e = line(s);
            const int jf = conditionJump(f->FCondition, false);
            compileList(f);
            const int j = put(Op::Jump);
            at(jf).target = here();
            compileList(f->FElseStmt.get());
            at(j).target = here();
            behind(e);
        } else if (type == typeid(TfsWhileStmt)) {
            auto* w = static_cast<TfsWhileStmt*>(s);
            const int e = line(s);
            const int top = here();
            const int jf = conditionJump(w->FCondition, false);
            compileList(w);
            const int le = put(Op::LoopEnd);
            const int j = put(Op::Jump);
            at(j).target = top;
            at(jf).target = here();
            at(le).target = here();
            put(Op::ClearBreak);
            behind(e);
        } else if (type == typeid(TfsRepeatStmt)) {
            auto* r = static_cast<TfsRepeatStmt*>(s);
            const int e = line(s);
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
            FNextReg = counter + 2;
            const int check = put(Op::ForCheck);
            at(check).dst = counter;
            at(check).sub = f->FDown;
            const int top = put(Op::ForSet);
            at(top).dst = counter;
            at(top).ptr = f->FVariable->PValue();
            compileList(f);
            const int le = put(Op::LoopEnd);
            const int next = put(Op::ForNext);
            at(next).dst = counter;
            at(next).sub = f->FDown;
            at(next).target2 = top;
            at(check).target = here();
            at(le).target = here();
            at(next).target = here();
            put(Op::ClearBreak);
            behind(e);
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

    // Where the value of an expression item will be: kept in place, or in a register.
    Source expression(TfsCustomVariable* item)
    {
        if (auto* e = dynamic_cast<TfsExpression*>(item))
            item = e->Root();
        const Operand o = Operand::of(item);
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
            const Source index = expression(array->Ref2()->Items(0));
            const int el = put(Op::Element);
            at(el).dst = reg();
            at(el).a = index;
            at(el).ptr = array->RefItem()->Storage();
            return inRegister(at(el).dst);
        }
        return eval(item);
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
        return true;
    }

    Source eval(TfsCustomVariable* item)
    {
        if (auto* designator = dynamic_cast<TfsDesignator*>(item)) {
            if (TfsDesignatorItem* step = designator->ProcedureCall()) {
                if (step->Count() > 0)
                    return call(step);
                const int c = put(Op::Call);
                at(c).dst = reg();
                at(c).item = designator;
                at(c).step = step;
                return inRegister(at(c).dst);
            }
        }
        const int ev = put(Op::Eval);
        at(ev).dst = reg();
        at(ev).item = item;
        return inRegister(at(ev).dst);
    }

    // A call whose arguments are computed here, read left to right like operands.
    Source call(TfsDesignatorItem* step)
    {
        FCode.lists.emplace_back(step, step->Changes());
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
        const int c = put(Op::CallArgs);
        at(c).dst = reg();
        at(c).step = step;
        at(c).target = int(FCode.sources.size());
        at(c).target2 = n;
        FCode.sources.insert(FCode.sources.end(), args.begin(), args.end());
        return inRegister(at(c).dst);
    }

    Source operation(TfsOperatorNode* op)
    {
        const TfsOperatorType code = op->Op();
        auto binary = [&](Op kind, unsigned char sub) {
            const auto [a, b] = operands(op->Left(), op->Right());
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
        case opAnd:
        case opOr: {
            if (!op->OptimizeBool())
                return eval(op);
            // Short circuit: the left value, unless it lets the right one decide.
            const int r = reg();
            const Source a = expression(op->Left());
            const int mv = put(Op::Move);
            at(mv).dst = r;
            at(mv).a = a;
            const int j = put(code == opAnd ? Op::JumpIfNot : Op::JumpIf);
            at(j).a = inRegister(r);
            const Source b = expression(op->Right());
            const int mv2 = put(Op::Move);
            at(mv2).dst = r;
            at(mv2).a = b;
            at(j).target = here();
            return inRegister(r);
        }
        case opNot:
        case opUnMinus: {
            const Source a = expression(op->Left());
            const int i = put(code == opNot ? Op::Not : Op::Negate);
            at(i).a = a;
            at(i).dst = reg();
            return inRegister(at(i).dst);
        }
        default:
            return eval(op);
        }
    }

    Code& FCode;
    int FNextReg = 0;
    int FTerminatedTest = -1;
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
    if (s.provided && TfsCustomVariable::AnyProvider() && s.provided->HasProvider()) [[unlikely]]
        return provided(s, scratch);
    return *s.ptr;
}

// A register holds a temporary: its value moves into the parameter.
inline Value argument(const Source& s, Value* R, Value& scratch)
{
    if (s.ptr)
        return read(s, R, scratch);
    return std::move(R[s.reg]);
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

[[gnu::noinline]] void notifyLine(TfsScript* p, const TfsStatement* s)
{
    p->NotifyRunLine(s->UnitName(), s->SourcePos());
}

void execute(const Code& code, TfsScript* p)
{
    // Threaded dispatch: each instruction jumps to the next one's handler by itself.
    static void* const handlers[] = {
        &&Move, &&Add, &&Subtract, &&Multiply, &&IntDivide, &&Modulo, &&Equal, &&NotEqual, &&Less,
        &&LessOrEqual, &&Greater, &&GreaterOrEqual, &&Not, &&Negate, &&Eval, &&Call, &&CallArgs, &&Element, &&Jump, &&JumpIfNot,
        &&JumpIf, &&Terminated, &&Enter, &&JumpCompare, &&Line, &&Store, &&Exec, &&LoopEnd, &&ClearBreak, &&SetBreak,
        &&SetContinue, &&Exit, &&ForInit, &&ForCheck, &&ForSet, &&ForNext, &&End,
    };
    static_assert(std::size(handlers) == size_t(Op::End) + 1);

    ValueScratch<16> registers(size_t(code.registers));
    Value* R = registers.data();
    Value& sa = R[code.registers - 2];
    Value& sb = R[code.registers - 1];
    const Instr* const base = code.instrs.data();
    const Instr* in = base;

#define ORV_NEXT goto* handlers[size_t((++in)->op)]
#define ORV_JUMP(to)                                                                       \
    do {                                                                                   \
        in = base + (to);                                                                  \
        goto* handlers[size_t(in->op)];                                                    \
    } while (false)
// Two operands; Integers computed in place while the result stays an Integer.
#define ORV_ARITHMETIC(Label, Test, Fallback)                                              \
    Label : {                                                                              \
        const Value& a = read(in->a, R, sa);                                               \
        const Value& b = read(in->b, R, sb);                                               \
        int r;                                                                             \
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
#define ORV_COMPARE(Label, Operator, Kind)                                                 \
    Label : {                                                                              \
        const Value& a = read(in->a, R, sa);                                               \
        const Value& b = read(in->b, R, sb);                                               \
        if (a.type() == varInteger && b.type() == varInteger)                              \
            R[in->dst].setBoolean(a.asInt() Operator b.asInt());                           \
        else                                                                               \
            R[in->dst].setBoolean(compare(CompareOp::Kind, a, b));                         \
        ORV_NEXT;                                                                          \
    }

    goto* handlers[size_t(in->op)];

Move:
    R[in->dst] = read(in->a, R, sa);
    ORV_NEXT;
    ORV_ARITHMETIC(Add, !__builtin_add_overflow(x, y, &r), add)
    ORV_ARITHMETIC(Subtract, !__builtin_sub_overflow(x, y, &r), subtract)
    ORV_ARITHMETIC(Multiply, !__builtin_mul_overflow(x, y, &r), multiply)
    ORV_ARITHMETIC(IntDivide, y > 0 && ((r = x / y), true), intDivide)
    ORV_ARITHMETIC(Modulo, y > 0 && ((r = x % y), true), modulo)
    ORV_COMPARE(Equal, ==, Equal)
    ORV_COMPARE(NotEqual, !=, NotEqual)
    ORV_COMPARE(Less, <, Less)
    ORV_COMPARE(LessOrEqual, <=, LessOrEqual)
    ORV_COMPARE(Greater, >, Greater)
    ORV_COMPARE(GreaterOrEqual, >=, GreaterOrEqual)
Not:
    computeInto<logicalNot>(R[in->dst], read(in->a, R, sa));
    ORV_NEXT;
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
Enter:
    if (p->AnyStop())
        ORV_JUMP(in->target);
    if (TfsScript::AnyRunLineHandler()) {
        notifyLine(p, in->statement);
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
    } else {
        result = compare(kind, a, b);
    }
    if (result == bool(in->sub & 16))
        ORV_JUMP(in->target);
    ORV_NEXT;
}
Line:
    if (TfsScript::AnyRunLineHandler()) {
        notifyLine(p, in->statement);
        if (p->Terminated())
            ORV_JUMP(in->target);
    }
    ORV_NEXT;
Store: {
    const Value& v = read(in->a, R, sa);
    if (in->sub == 1 && v.type() == varInteger) {
        in->ptr->setInteger(v.asInt());
        ORV_NEXT;
    }
    // A register is a temporary: its value may move into the target.
    static_cast<TfsAssignmentStmt*>(in->statement)->Write(v, in->a.ptr ? sa : R[in->a.reg]);
    ORV_NEXT;
}
Exec:
    in->statement->Execute();
    ORV_NEXT;
LoopEnd:
    if (p->BreakCalled() || p->ExitCalled())
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
    if (TfsScript::AnyRunLineHandler())
        notifyLine(p, in->statement);
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
End:
    return;
#undef ORV_NEXT
#undef ORV_JUMP
#undef ORV_ARITHMETIC
#undef ORV_COMPARE
}

} // namespace

namespace {

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
    execute(*holder.current, list->Program());
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
