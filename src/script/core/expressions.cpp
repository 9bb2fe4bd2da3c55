#include "script/core/expressions.h"

#include <QVarLengthArray>
#include <cstring>
#include <typeinfo>
#include <vector>

#include "platform/core/reflection.h"
#include "script/core/designators.h"
#include "script/core/objects.h"
#include "script/core/script.h"
#include "script/core/typerules.h"
#include "script/front/messages.h"

namespace orv::script {

using orv::script::CompareOp;
using orv::script::Value;

// ---------------------------------------------------------------------------------------
// Nodes

TfsExpressionNode::~TfsExpressionNode()
{
    delete FLeft;
    delete FRight;
}

void TfsExpressionNode::AddNode(TfsExpressionNode* Node)
{
    if (!FLeft)
        FLeft = Node;
    else if (!FRight)
        FRight = Node;
    Node->FParent = this;
}

void TfsExpressionNode::RemoveNode(TfsExpressionNode* Node)
{
    if (FLeft == Node)
        FLeft = nullptr;
    else if (FRight == Node)
        FRight = nullptr;
}

namespace {

TfsVarType kindOfValue(const Value& v)
{
    switch (v.type()) {
    case orv::script::varBoolean:
        return fvtBool;
    case orv::script::varSingle:
    case orv::script::varDouble:
    case orv::script::varCurrency:
        return fvtFloat;
    case orv::script::varInt64:
        return fvtInt64;
    case orv::script::varOleStr:
    case orv::script::varString:
    case orv::script::varUString:
        return fvtString;
    default:
        return fvtInt;
    }
}

} // namespace

TfsOperandNode::TfsOperandNode(const Value& AValue)
{
    FShape = Shape::Constant;
    FValue = AValue;
    FTyp = kindOfValue(AValue);
}

TfsDesignatorNode::TfsDesignatorNode(TfsDesignator* ADesignator) : TfsOperandNode(Value()), FDesignator(ADesignator)
{
    FShape = Shape::DesignatorNode;
    FTyp = ADesignator->Typ();
    FTypeName = ADesignator->TypeName();
    FVar = ADesignator->IsVariableShortcut() ? ADesignator->RefItem() : ADesignator;
    if (FVar->IsVariable()) {
        FDirect = FVar->Storage();
        FProvided = FVar;
    } else if (FVar->ItemShape() == Shape::Param) {
        FDirect = FVar->Storage();
    }
}

TfsDesignatorNode::~TfsDesignatorNode()
{
    delete FDesignator;
}

Value TfsDesignatorNode::GetValue()
{
    if (FDirect && (!FProvided || !FProvided->OnGetVarValue()))
        return *FDirect;
    return FVar->GetValue();
}

TfsSetNode::TfsSetNode(TfsSetExpression* ASetExpression) : TfsOperandNode(Value()), FSetExpression(ASetExpression)
{
    FShape = Shape::Other;
    FTyp = fvtVariant;
}

TfsSetNode::~TfsSetNode()
{
    delete FSetExpression;
}

Value TfsSetNode::GetValue()
{
    return FSetExpression->GetValue();
}

} // namespace orv::script

namespace orv::script {

Operand Operand::of(TfsCustomVariable* item)
{
    Operand o;
    o.item = item;
    if (!item)
        return o;
    switch (item->ItemShape()) {
    case TfsCustomVariable::Shape::Constant:
        o.direct = item->PValue();
        return o;
    case TfsCustomVariable::Shape::DesignatorNode:
        return of(static_cast<TfsDesignatorNode*>(item)->Var());
    case TfsCustomVariable::Shape::Designator: {
        auto* designator = static_cast<TfsDesignator*>(item);
        if (designator->IsVariableShortcut())
            return of(item->RefItem());
        // A parameter read by name is read where it is kept.
        TfsCustomVariable* plain = designator->PlainItem();
        if (plain && plain->ItemShape() == TfsCustomVariable::Shape::Param)
            return of(plain);
        return o;
    }
    case TfsCustomVariable::Shape::Variable:
    case TfsCustomVariable::Shape::StringVariable:
        o.direct = item->Storage();
        o.provided = item;
        return o;
    case TfsCustomVariable::Shape::Param:
        o.direct = item->PValue();
        return o;
    default:
        return o;
    }
}

Operand operandOf(TfsCustomExpression* expression)
{
    if (auto* e = dynamic_cast<TfsExpression*>(expression))
        return e->RootOperand();
    return Operand::of(expression);
}

} // namespace orv::script

namespace orv::script {

void TfsOperatorNode::Prepare()
{
    if (FLeft)
        FLeft->Prepare();
    if (FRight)
        FRight->Prepare();
    FL = orv::script::Operand::of(FLeft);
    FR = orv::script::Operand::of(FRight);
}

int TfsOperatorNode::Priority() const
{
    switch (FOp) {
    case opNone: return 7;
    case opLeftBracket: return 6;
    case opRightBracket: return 5;
    case opGreat: case opLess: case opLessEq: case opGreatEq: case opNonEq: case opEq: case opIn: case opIs:
        return 4;
    case opPlus: case opMinus: case opOr: case opXor:
        return 3;
    case opMul: case opDivFloat: case opDivInt: case opMod: case opAnd: case opShl: case opShr:
        return 2;
    case opNot: case opUnMinus:
        return 1;
    }
    return 7;
}

namespace {

inline bool compareValues(CompareOp op, const Value& a, const Value& b)
{
    if (a.type() == orv::script::varInteger && b.type() == orv::script::varInteger) {
        const int x = a.asInt(), y = b.asInt();
        switch (op) {
        case CompareOp::Equal: return x == y;
        case CompareOp::NotEqual: return x != y;
        case CompareOp::Less: return x < y;
        case CompareOp::LessOrEqual: return x <= y;
        case CompareOp::Greater: return x > y;
        case CompareOp::GreaterOrEqual: return x >= y;
        }
    }
    return orv::script::compare(op, a, b);
}

class TNoneNode : public TfsOperatorNode {
public:
    TNoneNode() : TfsOperatorNode(opNone) {}
    Value GetValue() override { return FLeft->GetValue(); }
};

// Binary nodes read both operands (left first) and apply one operation.
#define ORV_BINARY_NODE(Name, Code, Expr)                                                   \
    class Name : public TfsOperatorNode {                                                  \
    public:                                                                                \
        Name() : TfsOperatorNode(Code) {}                                                  \
        Value GetValue() override                                                          \
        {                                                                                  \
            Value ta, tb;                                                                  \
            const Value& a = FL.getBefore(FR, ta);                                         \
            const Value& b = FR.get(tb);                                                   \
            return Expr;                                                                   \
        }                                                                                  \
    };

ORV_BINARY_NODE(TGreatNode, opGreat, Value(compareValues(CompareOp::Greater, a, b)))
ORV_BINARY_NODE(TLessNode, opLess, Value(compareValues(CompareOp::Less, a, b)))
ORV_BINARY_NODE(TLessEqNode, opLessEq, Value(compareValues(CompareOp::LessOrEqual, a, b)))
ORV_BINARY_NODE(TGreatEqNode, opGreatEq, Value(compareValues(CompareOp::GreaterOrEqual, a, b)))
ORV_BINARY_NODE(TNonEqNode, opNonEq, Value(compareValues(CompareOp::NotEqual, a, b)))
ORV_BINARY_NODE(TEqNode, opEq, Value(compareValues(CompareOp::Equal, a, b)))
ORV_BINARY_NODE(TMinusNode, opMinus, orv::script::subtract(a, b))
ORV_BINARY_NODE(TMulNode, opMul, orv::script::multiply(a, b))
ORV_BINARY_NODE(TDivIntNode, opDivInt, orv::script::intDivide(a, b))
ORV_BINARY_NODE(TModNode, opMod, orv::script::modulo(a, b))
ORV_BINARY_NODE(TDivFloatNode, opDivFloat, orv::script::binaryOp(orv::script::BinaryOp::Divide, a, b))
ORV_BINARY_NODE(TXorNode, opXor, orv::script::binaryOp(orv::script::BinaryOp::Xor, a, b))
ORV_BINARY_NODE(TShlNode, opShl, orv::script::binaryOp(orv::script::BinaryOp::Shl, a, b))
ORV_BINARY_NODE(TShrNode, opShr, orv::script::binaryOp(orv::script::BinaryOp::Shr, a, b))
#undef ORV_BINARY_NODE

class TPlusNode : public TfsOperatorNode {
public:
    TPlusNode() : TfsOperatorNode(opPlus) {}
    Value GetValue() override
    {
        Value ta, tb;
        const Value& a = FL.getBefore(FR, ta);
        const Value& b = FR.get(tb);
        if (a.isText() && b.isText()) {
            // A text computed here grows in place: a chain of pieces is not copied anew
            // for each of them.
            Value r = &a == &ta ? std::move(ta) : a;
            orv::script::addInPlace(r, b);
            return r;
        }
        return orv::script::add(a, b);
    }
};

class TStrCatNode : public TfsOperatorNode {
public:
    TStrCatNode() : TfsOperatorNode(opPlus) { FStrCat = true; }
    Value GetValue() override
    {
        Value ta, tb;
        const Value& a = FL.getBefore(FR, ta);
        const Value& b = FR.get(tb);
        return orv::script::joinTexts(a, b, ta);
    }
};

class TAndNode : public TfsOperatorNode {
public:
    TAndNode() : TfsOperatorNode(opAnd) {}
    Value GetValue() override
    {
        Value a = FL.value();
        if (FOptimizeBool)
            return orv::script::isTrue(a) ? FR.value() : a;
        Value tb;
        return orv::script::binaryOp(orv::script::BinaryOp::And, a, FR.get(tb));
    }
};

class TOrNode : public TfsOperatorNode {
public:
    TOrNode() : TfsOperatorNode(opOr) {}
    Value GetValue() override
    {
        Value a = FL.value();
        if (FOptimizeBool)
            return orv::script::isTrue(a) ? a : FR.value();
        Value tb;
        return orv::script::binaryOp(orv::script::BinaryOp::Or, a, FR.get(tb));
    }
};

class TNotNode : public TfsOperatorNode {
public:
    TNotNode() : TfsOperatorNode(opNot) {}
    Value GetValue() override
    {
        Value ta;
        return orv::script::logicalNot(FL.get(ta));
    }
};

class TUnMinusNode : public TfsOperatorNode {
public:
    TUnMinusNode() : TfsOperatorNode(opUnMinus) {}
    Value GetValue() override
    {
        Value ta;
        return orv::script::negate(FL.get(ta));
    }
};

class TLeftBracketNode : public TfsOperatorNode {
public:
    TLeftBracketNode() : TfsOperatorNode(opLeftBracket) {}
};

class TRightBracketNode : public TfsOperatorNode {
public:
    TRightBracketNode() : TfsOperatorNode(opRightBracket) {}
};

class TInNode : public TfsOperatorNode {
public:
    TInNode() : TfsOperatorNode(opIn) {}
    Value GetValue() override
    {
        if (auto* set = dynamic_cast<TfsSetNode*>(FRight))
            return Value(set->SetExpression()->Check(FL.value()));
        const Value v = FL.value();
        const Value array = FR.value();
        if (!array.isArray())
            return Value(false);
        const auto items = array.elements();
        const size_t n = array.dimCount() == 1 ? items.size() : 0;
        for (size_t i = 0; i < n; ++i) {
            if (i + 2 < n && items[i + 1].isNull()) {
                if (!orv::script::compare(CompareOp::Less, v, items[i])
                    && !orv::script::compare(CompareOp::Greater, v, items[i + 2]))
                    return Value(true);
                i += 2;
                continue;
            }
            if (orv::script::compare(CompareOp::Equal, v, items[i]))
                return Value(true);
        }
        return Value(false);
    }
};

class TIsNode : public TfsOperatorNode {
public:
    TIsNode() : TfsOperatorNode(opIs) {}
    Value GetValue() override
    {
        const orv::platform::rtti::Object* object = orv::script::valueObject(FL.value());
        if (!object)
            return Value(false);
        auto* node = dynamic_cast<TfsDesignatorNode*>(FRight);
        TfsClassVariable* cls = nullptr;
        if (node && node->Designator()->Count() > 0)
            cls = dynamic_cast<TfsClassVariable*>(node->Designator()->Items(0)->Ref());
        if (!cls || !cls->ClassRef())
            return Value(false);
        return Value(object->classInfo().inheritsFrom(*cls->ClassRef()));
    }
};

bool sameName(const QString& op, const char* name)
{
    const qsizetype n = qsizetype(std::strlen(name));
    if (op.size() != n)
        return false;
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = op[i].unicode();
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - 32);
        if (c != char16_t(name[i]))
            return false;
    }
    return true;
}

TfsOperatorNode* makeOperator(const QString& op)
{
    struct Same {
        const QString& op;
        bool operator==(const char* name) const { return sameName(op, name); }
    } name{op};
    if (name == " ") return new TNoneNode;
    if (name == ">") return new TGreatNode;
    if (name == "<") return new TLessNode;
    if (name == "<=") return new TLessEqNode;
    if (name == ">=") return new TGreatEqNode;
    if (name == "<>") return new TNonEqNode;
    if (name == "=") return new TEqNode;
    if (name == "+") return new TPlusNode;
    if (name == "STRCAT") return new TStrCatNode;
    if (name == "-") return new TMinusNode;
    if (name == "OR") return new TOrNode;
    if (name == "XOR") return new TXorNode;
    if (name == "*") return new TMulNode;
    if (name == "/") return new TDivFloatNode;
    if (name == "DIV") return new TDivIntNode;
    if (name == "MOD") return new TModNode;
    if (name == "AND") return new TAndNode;
    if (name == "SHL") return new TShlNode;
    if (name == "SHR") return new TShrNode;
    if (name == "(") return new TLeftBracketNode;
    if (name == ")") return new TRightBracketNode;
    if (name == "NOT") return new TNotNode;
    if (name == "UNMINUS") return new TUnMinusNode;
    if (name == "IN") return new TInNode;
    if (name == "IS") return new TIsNode;
    // The builder passes no other names; an unknown one acts as a blank.
    return new TNoneNode;
}

bool isComparison(TfsOperatorType op)
{
    return op == opGreat || op == opLess || op == opLessEq || op == opGreatEq || op == opNonEq || op == opEq;
}

// Frees a tree without recursing, so that a tree too deep to evaluate can still go.
void freeTree(TfsExpressionNode* root)
{
    std::vector<TfsExpressionNode*> pending{root};
    while (!pending.empty()) {
        TfsExpressionNode* node = pending.back();
        pending.pop_back();
        if (!node)
            continue;
        pending.push_back(node->Left());
        pending.push_back(node->Right());
        if (node->Left())
            node->RemoveNode(node->Left());
        if (node->Right())
            node->RemoveNode(node->Right());
        delete node;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------
// The expression

TfsExpression::TfsExpression(TfsScript* Script) : TfsCustomExpression(QString(), fvtInt, QString()), FScript(Script)
{
    FShape = Shape::Expression;
    FNode = new TNoneNode;
    FCurNode = FNode;
}

TfsExpression::~TfsExpression()
{
    freeTree(FNode);
}

void TfsExpression::SetValue(const Value& Value)
{
    if (FIsReadOnly)
        return;
    if (auto* node = dynamic_cast<TfsDesignatorNode*>(FNode))
        node->Designator()->SetValue(Value);
}

void TfsExpression::AddOperand(TfsExpressionNode* Node)
{
    Node->SetSourcePos(FSourcePos);
    if (FCurNode->Left() && FCurNode->Right()) {
        // Two operands in a row: only a hand-made program has them.
        delete Node;
        throw orv::platform::Exception(fsMessage(TfsMessage::SIncompatibleTypes));
    }
    FCurNode->AddNode(Node);
    FCurNode = Node;
}

void TfsExpression::AddConst(const Value& AValue)
{
    AddOperand(new TfsOperandNode(AValue));
}

void TfsExpression::AddDesignator(TfsDesignator* ADesignator)
{
    AddOperand(new TfsDesignatorNode(ADesignator));
}

void TfsExpression::AddSet(TfsSetExpression* ASet)
{
    AddOperand(new TfsSetNode(ASet));
}

void TfsExpression::AddOperator(const QString& Op)
{
    TfsOperatorNode* node = makeOperator(Op);
    node->SetSourcePos(FSourcePos);
    if (node->FOp == opLeftBracket || node->FOp == opUnMinus || node->FOp == opNot) {
        FCurNode->AddNode(node);
        FCurNode = node;
        return;
    }
    if (node->FOp == opRightBracket) {
        TfsExpressionNode* n = FCurNode;
        while (n->Priority() <= 5 && n->Parent())
            n = n->Parent();
        if (n->Priority() == 6 && n->Parent()) {
            // The bracketed subtree takes the place of its "(".
            TfsExpressionNode* parent = n->Parent();
            TfsExpressionNode* inner = n->Left();
            const bool wasLeft = parent->Left() == n;
            if (inner)
                n->RemoveNode(inner);
            if (wasLeft)
                parent->FLeft = inner;
            else
                parent->FRight = inner;
            if (inner)
                inner->FParent = parent;
            delete n;
            FCurNode = inner ? inner : parent;
        }
        delete node;
        return;
    }
    TfsExpressionNode* reached;
    TfsExpressionNode* passed;
    if (FCurNode == FNode) {
        FNode->AddNode(node);
        FCurNode = node;
        return;
    }
    if (FCurNode->Priority() == 6) {
        reached = FCurNode;
        passed = nullptr;
    } else {
        reached = FCurNode->Parent();
        passed = FCurNode;
    }
    const int priority = node->Priority();
    while (reached->Priority() <= priority && reached->Parent()) {
        passed = reached;
        reached = reached->Parent();
    }
    if (passed) {
        reached->RemoveNode(passed);
        // Keep the slot: the operator takes the place of the node it passed.
        if (!reached->FLeft)
            reached->FLeft = node;
        else
            reached->FRight = node;
        node->FParent = reached;
        node->AddNode(passed);
    } else {
        reached->AddNode(node);
    }
    FCurNode = node;
}

int TfsExpression::Depth() const
{
    int deepest = 0;
    QVarLengthArray<std::pair<const TfsExpressionNode*, int>, 32> pending{{FNode, 1}};
    while (!pending.empty()) {
        auto [node, depth] = pending.back();
        pending.pop_back();
        if (!node)
            continue;
        deepest = std::max(deepest, depth);
        if (deepest > MaxDepth)
            break;
        pending.push_back({node->Left(), depth + 1});
        pending.push_back({node->Right(), depth + 1});
    }
    return deepest;
}

void TfsExpression::ResolveTypes(TfsExpressionNode* Node, QString& ErrorPos)
{
    if (Node->ItemShape() != Shape::Operator)
        return; // operands carry their own types
    auto* op = static_cast<TfsOperatorNode*>(Node);
    // Only a hand-made program can leave an operator without its operands.
    const bool prefix = op->FOp == opNot || op->FOp == opUnMinus;
    if (!op->FLeft || (!prefix && !op->FRight) || op->FOp == opLeftBracket || op->FOp == opRightBracket)
        throw orv::platform::Exception(fsMessage(TfsMessage::SIncompatibleTypes));
    TfsVarType leftKind = fvtVariant, rightKind = fvtVariant;
    QString leftName, rightName;
    if (op->FLeft) {
        ResolveTypes(op->FLeft, ErrorPos);
        leftKind = op->FLeft->Typ();
        leftName = op->FLeft->TypeName();
    }
    if (op->FRight) {
        ResolveTypes(op->FRight, ErrorPos);
        rightKind = op->FRight->Typ();
        rightName = op->FRight->TypeName();
    }
    if (leftKind == fvtBool && rightKind == fvtBool)
        op->FOptimizeBool = true;

    const TfsOperatorType code = op->FOp;
    bool accepted;
    if (code == opIs && leftKind == fvtClass && rightKind == fvtClass) {
        accepted = true;
    } else {
        accepted = fsKindsCompatible(leftKind, leftName, rightKind, rightName, FScript);
        if (accepted) {
            switch (leftKind) {
            case fvtBool:
                accepted = code == opNonEq || code == opEq || code == opOr || code == opXor || code == opAnd
                           || code == opNot || op->IsStrCat();
                break;
            case fvtChar:
            case fvtString:
                accepted = isComparison(code) || code == opPlus || code == opIn;
                break;
            case fvtClass:
            case fvtArray:
                accepted = code == opEq || code == opNonEq;
                break;
            default:
                break;
            }
        }
    }
    TfsVarType kind = leftKind;
    if (accepted) {
        const bool leftInt = leftKind == fvtInt, rightInt = rightKind == fvtInt;
        if ((leftInt && rightKind == fvtFloat) || (leftKind == fvtFloat && rightInt))
            kind = fvtFloat;
        if ((leftKind == fvtFloat && rightKind == fvtInt64) || (leftKind == fvtInt64 && rightKind == fvtFloat))
            kind = fvtFloat;
        if (code == opDivFloat && (leftInt || leftKind == fvtInt64) && (rightInt || rightKind == fvtInt64))
            kind = fvtFloat;
        if (isComparison(code) || code == opIn || code == opIs)
            kind = fvtBool;
        // Joining gives a text whatever the operands; the kind of a non-text left side
        // would claim a number.
        if (op->IsStrCat())
            kind = leftKind == fvtString || leftKind == fvtChar ? fvtString : fvtVariant;
    } else if (ErrorPos.isEmpty()) {
        ErrorPos = op->SourcePos();
        if (ErrorPos.isEmpty())
            ErrorPos = QStringLiteral(" ");
    }
    op->SetTyp(kind);
    op->SetTypeName(kind == leftKind ? leftName : QString());
}

QString TfsExpression::Finalize()
{
    if (Depth() > MaxDepth)
        throw orv::platform::Exception(orv::script::expressionTooComplexText());
    // The blank root gives way to the real one.
    TfsExpressionNode* root = FNode->Left();
    if (!root)
        throw orv::platform::Exception(fsMessage(TfsMessage::SIncompatibleTypes));
    FNode->RemoveNode(root);
    root->FParent = nullptr;
    delete FNode;
    FNode = root;
    FCurNode = FNode;
    QString errorPos;
    ResolveTypes(FNode, errorPos);
    FTyp = FNode->Typ();
    FTypeName = FNode->TypeName();
    auto* designatorNode = dynamic_cast<TfsDesignatorNode*>(FNode);
    FIsReadOnly = !designatorNode || designatorNode->Designator()->IsReadOnly();
    if (errorPos.isEmpty())
        FNode->Prepare();
    return errorPos;
}

namespace {

// The variable a designator node refers to, when it is a variable designator.
TfsCustomVariable* variableOf(TfsExpressionNode* node)
{
    auto* d = dynamic_cast<TfsDesignatorNode*>(node);
    if (!d || !dynamic_cast<TfsVariableDesignator*>(d->Designator()))
        return nullptr;
    return d->Designator()->RefItem();
}

} // namespace

QString TfsExpression::Optimize(TfsDesignator* Designator)
{
    if (!dynamic_cast<TfsVariableDesignator*>(Designator))
        return QStringLiteral(" ");
    auto* root = dynamic_cast<TfsOperatorNode*>(FNode);
    if (!root || !root->FLeft || !root->FRight)
        return QStringLiteral(" ");
    const TfsOperatorType code = root->FOp;
    if (code != opPlus && code != opMinus && code != opMul && code != opDivFloat)
        return QStringLiteral(" ");
    // A plus-assignment adds; joining texts is no addition ("3" & 5 is "35", not 8).
    if (root->IsStrCat())
        return QStringLiteral(" ");
    TfsCustomVariable* target = Designator->RefItem();
    auto take = [&](TfsExpressionNode* keep) {
        root->RemoveNode(keep);
        keep->FParent = nullptr;
        delete root;
        FNode = keep;
        FCurNode = keep;
        FTyp = keep->Typ();
        FTypeName = keep->TypeName();
        auto* d = dynamic_cast<TfsDesignatorNode*>(keep);
        FIsReadOnly = !d || d->Designator()->IsReadOnly();
    };
    if (variableOf(root->FLeft) == target) {
        take(root->FRight);
        switch (code) {
        case opPlus: return QStringLiteral("+");
        case opMinus: return QStringLiteral("-");
        case opMul: return QStringLiteral("*");
        default: return QStringLiteral("/");
        }
    }
    if ((code == opPlus || code == opMul) && variableOf(root->FRight) == target && target->Typ() != fvtString
        && target->Typ() != fvtVariant) {
        take(root->FLeft);
        return code == opPlus ? QStringLiteral("+") : QStringLiteral("*");
    }
    return QStringLiteral(" ");
}

TfsCustomVariable* TfsExpression::SingleItem() const
{
    if (auto* d = dynamic_cast<TfsDesignatorNode*>(FNode)) {
        if (dynamic_cast<TfsVariableDesignator*>(d->Designator()))
            return d->Designator()->RefItem();
        return d->Designator();
    }
    if (dynamic_cast<TfsOperandNode*>(FNode))
        return FNode;
    return nullptr;
}

} // namespace orv::script
