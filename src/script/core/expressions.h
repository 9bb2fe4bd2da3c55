#pragma once
// Expressions: the builder feeds operands and operators in source order; the expression
// arranges them into a tree by operator priority, resolves and checks the types of all
// nodes once (Finalize), and evaluating it evaluates the tree.
#include <QString>

#include "script/core/items.h"

namespace orv::script {

class TfsScript;
class TfsDesignator;
class TfsSetExpression;

} // namespace orv::script

namespace orv::script {

// How an evaluator reads one of its operands: constants and variables in place, without
// a call and without copying; anything else through its getter.
struct Operand {
    TfsCustomVariable* item = nullptr;
    const Value* direct = nullptr;
    const TfsCustomVariable* provided = nullptr; // the variable whose value provider decides

    static Operand of(TfsCustomVariable* item);
    // The value; tmp holds it when it had to be computed.
    const Value& get(Value& tmp) const
    {
        if (direct && !(provided && provided->HasProvider())) [[likely]]
            return *direct;
        tmp = item->GetValue();
        return tmp;
    }
    Value value() const
    {
        if (direct && !(provided && provided->HasProvider()))
            return *direct;
        return item->GetValue();
    }
    // Read where it is kept: reading runs nothing that could change a variable.
    bool plain() const { return direct && !(provided && provided->HasProvider()); }
    // The left one of two operands: copied into tmp when the right one runs code, which
    // may change where the left one is kept.
    const Value& getBefore(const Operand& right, Value& tmp) const
    {
        const Value& v = get(tmp);
        if (&v == &tmp || right.plain()) [[likely]]
            return v;
        tmp = v;
        return tmp;
    }
};

// How to read an expression: through its root when it is a tree of ours.
Operand operandOf(TfsCustomExpression* expression);

// A value as a condition: Booleans without a call.
inline bool isTrue(const Value& v)
{
    return v.type() == varBoolean ? v.asBool() : v.toBool();
}

} // namespace orv::script

namespace orv::script {

enum TfsOperatorType {
    opNone,
    opGreat,
    opLess,
    opLessEq,
    opGreatEq,
    opNonEq,
    opEq,
    opPlus,
    opMinus,
    opOr,
    opXor,
    opMul,
    opDivFloat,
    opDivInt,
    opMod,
    opAnd,
    opShl,
    opShr,
    opLeftBracket,
    opRightBracket,
    opNot,
    opUnMinus,
    opIn,
    opIs,
};

class TfsExpressionNode : public TfsCustomVariable {
public:
    TfsExpressionNode() : TfsCustomVariable(QString(), fvtInt, QString()) {}
    ~TfsExpressionNode() override;
    orv::script::Value* Storage() override { return nullptr; }
    virtual int Priority() const = 0;
    // Prepares the fast reading of the children, once the tree is final.
    virtual void Prepare() {}

    // Fills the left slot when it is empty, else the right one.
    void AddNode(TfsExpressionNode* Node);
    void RemoveNode(TfsExpressionNode* Node);
    TfsExpressionNode* Left() const { return FLeft; }
    TfsExpressionNode* Right() const { return FRight; }
    TfsExpressionNode* Parent() const { return FParent; }

protected:
    friend class TfsExpression;
    TfsExpressionNode* FLeft = nullptr;
    TfsExpressionNode* FRight = nullptr;
    TfsExpressionNode* FParent = nullptr;
};

// A constant.
class TfsOperandNode : public TfsExpressionNode {
public:
    explicit TfsOperandNode(const orv::script::Value& AValue);
    int Priority() const override { return 0; }
    orv::script::Value GetValue() override { return FValue; }
};

// A name path (variable, call, member, element).
class TfsDesignatorNode : public TfsOperandNode {
public:
    explicit TfsDesignatorNode(TfsDesignator* ADesignator);
    ~TfsDesignatorNode() override;
    orv::script::Value GetValue() override;

    TfsDesignator* Designator() const { return FDesignator; }
    TfsCustomVariable* Var() const { return FVar; }

private:
    TfsDesignator* FDesignator;
    TfsCustomVariable* FVar;
    // A variable or parameter read straight from its storage while no value provider
    // is set (FProvided is the variable whose provider decides, nullptr for parameters).
    const orv::script::Value* FDirect = nullptr;
    const TfsCustomVariable* FProvided = nullptr;
};

// A set constructor: its value is an array.
class TfsSetNode : public TfsOperandNode {
public:
    explicit TfsSetNode(TfsSetExpression* ASetExpression);
    ~TfsSetNode() override;
    orv::script::Value GetValue() override;
    TfsSetExpression* SetExpression() const { return FSetExpression; }

private:
    TfsSetExpression* FSetExpression;
};

class TfsOperatorNode : public TfsExpressionNode {
public:
    explicit TfsOperatorNode(TfsOperatorType Op) : FOp(Op) { FShape = Shape::Operator; }
    int Priority() const override;
    void Prepare() override;
    TfsOperatorType Op() const { return FOp; }
    bool OptimizeBool() const { return FOptimizeBool; }
    // "STRCAT": an addition whose text operand takes the other one as text.
    bool IsStrCat() const { return FStrCat; }

protected:
    friend class TfsExpression;
    TfsOperatorType FOp;
    bool FOptimizeBool = false;
    bool FStrCat = false;
    orv::script::Operand FL, FR;
};

class TfsExpression : public TfsCustomExpression {
public:
    // Deepest operator tree an expression may build; deeper ones fail to compile.
    static constexpr int MaxDepth = 1024;

    explicit TfsExpression(TfsScript* Script);
    ~TfsExpression() override;
    orv::script::Value GetValue() override { return FNode->GetValue(); }
    // Writes through the designator at the root (a by-reference argument reaching its
    // variable); ignored when the expression is read-only.
    void SetValue(const orv::script::Value& Value) override;

    void AddConst(const orv::script::Value& AValue);
    void AddDesignator(TfsDesignator* ADesignator);
    void AddSet(TfsSetExpression* ASet);
    void AddOperator(const QString& Op);
    // Moves to the real root and resolves the types; the source position of the first
    // incompatible operation, or empty.
    QString Finalize();
    // For an assignment to Designator: " " when nothing was found, otherwise "+", "-",
    // "*" or "/" with the expression reduced to the other operand.
    QString Optimize(TfsDesignator* Designator);
    // The lone operand the expression consists of, or nullptr.
    TfsCustomVariable* SingleItem() const;

    const QString& Source() const { return FSource; }
    void SetSource(const QString& Value) { FSource = Value; }
    TfsExpressionNode* Root() const { return FNode; }
    // How to read the whole expression fastest.
    orv::script::Operand RootOperand() const { return orv::script::Operand::of(FNode); }

private:
    void AddOperand(TfsExpressionNode* Node);
    void ResolveTypes(TfsExpressionNode* Node, QString& ErrorPos);
    int Depth() const;

    TfsExpressionNode* FCurNode;
    TfsExpressionNode* FNode;
    TfsScript* FScript;
    QString FSource;
};

} // namespace orv::script
