// The second half of compiling: the intermediate program becomes the interpreter's
// objects inside a script (symbols, statements, expressions, designators), with every
// semantic check of the compiler.
#include <memory>

#include "platform/core/exceptions.h"
#include "platform/core/reflection.h"
#include "script/core/designators.h"
#include "script/core/expressions.h"
#include "script/core/objects.h"
#include "script/core/script.h"
#include "script/core/stack.h"
#include "script/core/statements.h"
#include "script/core/typerules.h"
#include "script/front/grammar.h"
#include "script/front/ilparser.h"
#include "script/front/messages.h"

namespace orv::script {

using orv::script::Value;

namespace {

// An attribute's value as written (escaped), without making a text: the builder reads
// positions and names of every element, often more than once.
QStringView propView(const TfsXMLItem* item, QLatin1StringView name)
{
    const QString& text = item->Text();
    const char16_t* p = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype t = text.size(), n = name.size();
    const char* want = name.data();
    for (qsizetype i = 0; i + n + 2 <= t; ++i) {
        // An attribute starts the text or follows a blank; values hold no quote.
        if (i > 0 && p[i - 1] != u' ')
            continue;
        qsizetype k = 0;
        while (k < n && p[i + k] == char16_t(want[k]))
            ++k;
        if (k == n && p[i + n] == u'=' && p[i + n + 1] == u'"') {
            const qsizetype start = i + n + 2;
            qsizetype end = start;
            while (end < t && p[end] != u'"')
                ++end;
            return QStringView(p + start, end - start);
        }
        // Skip the rest of this attribute's value.
        while (i < t && p[i] != u'"')
            ++i;
        ++i;
        while (i < t && p[i] != u'"')
            ++i;
    }
    return {};
}

QString textOf(const TfsXMLItem* item)
{
    const QStringView raw = propView(item, QLatin1StringView("text"));
    return raw.contains(u'&') ? fsUnescapeXMLText(raw.toString()) : raw.toString();
}

// The position attribute: first in a construct's element ("pos=... pos1=..."), last in a
// token's ("text=... pos=...").
QStringView posView(const TfsXMLItem* item)
{
    const QString& text = item->Text();
    const qsizetype t = text.size();
    const QChar* c = text.constData();
    if (t >= 5 && c[0] == u'p' && c[1] == u'o' && c[2] == u's' && c[3] == u'=' && c[4] == u'"') {
        const qsizetype end = text.indexOf(u'"', 5);
        return QStringView(text).mid(5, (end < 0 ? t : end) - 5);
    }
    if (t < 8 || text[t - 1] != u'"')
        return propView(item, QLatin1StringView("pos"));
    const qsizetype open = text.lastIndexOf(u'"', t - 2);
    if (open < 6 || QStringView(text).mid(open - 5, 6) != u" pos=\"")
        return propView(item, QLatin1StringView("pos"));
    return QStringView(text).mid(open + 1, t - open - 2);
}

QString posOf(const TfsXMLItem* item)
{
    return posView(item).toString();
}

// "line:col" read without making texts; false for anything else.
bool readPosition(QStringView pos, QPoint& point)
{
    int values[2] = {0, 0};
    int part = 0, digits = 0;
    for (QChar c : pos) {
        if (c == u':' && part == 0 && digits > 0) {
            part = 1;
            digits = 0;
        } else if (c >= u'0' && c <= u'9' && digits < 9) {
            values[part] = values[part] * 10 + (c.unicode() - u'0');
            ++digits;
        } else {
            return false;
        }
    }
    if (part != 1 || digits == 0)
        return false;
    point = QPoint(values[1], values[0]);
    return true;
}

bool named(const TfsXMLItem* item, QLatin1StringView name)
{
    // Asked many times of every element: compared by hand, without the general
    // comparison of texts of two encodings.
    const QString& n = item->Name();
    if (n.size() != name.size())
        return false;
    const QChar* p = n.constData();
    for (qsizetype i = 0; i < n.size(); ++i)
        if (p[i].unicode() != char16_t(static_cast<unsigned char>(name[i].toLatin1())))
            return false;
    return true;
}

QString quoted(const QString& name)
{
    return u'\'' + name + u'\'';
}

} // namespace

void TfsILParser::fail(const QString& message) const
{
    throw orv::platform::Exception(message);
}

void TfsILParser::examine(const TfsXMLItem* item)
{
    if (!posView(item).isEmpty()) {
        FErrorItem = item;
        FErrorPosMade = false;
    }
}

const QString& TfsILParser::errorPos()
{
    if (!FErrorPosMade) {
        FErrorPos = FErrorItem ? posOf(FErrorItem) : QString();
        FErrorPosMade = true;
    }
    return FErrorPos;
}

void TfsILParser::setErrorPos(const QString& pos)
{
    FErrorPos = pos;
    FErrorPosMade = true;
}

void TfsILParser::addCodeLine(const TfsXMLItem* element)
{
    // Statements of one line follow each other: the line is recorded once for them.
    const QStringView pos = posView(element);
    const qsizetype colon = pos.indexOf(u':');
    const QStringView line = colon < 0 ? QStringView() : pos.left(colon);
    if (FCodeLineKnown && line == FLastCodeLine && FUnitName == FLastCodeUnit)
        return;
    FProgram->AddCodeLine(FUnitName, pos.toString());
    FLastCodeLine = line.toString();
    FLastCodeUnit = FUnitName;
    FCodeLineKnown = true;
}

void TfsILParser::checkAssignment(const TfsCustomVariable* target, const TfsCustomVariable* source) const
{
    if (!fsAssignmentCompatible(target, source, FProgram))
        fail(fsMessage(TfsMessage::SIncompatibleTypes) + QStringLiteral(": '") + target->GetFullTypeName()
             + QStringLiteral("', '") + source->GetFullTypeName() + u'\'');
}

void TfsILParser::ParseILScript()
{
    FWithList.clear();
    FCodeLineKnown = false;
    FProgram->SetErrorUnit(QString());
    FUnitName.clear();
    setErrorPos(QString());
    FErrorItem = nullptr;
    try {
        buildProgram(FILScript->Root(), FProgram);
        FProgram->SetErrorPos(QString());
    } catch (const orv::platform::Exception& e) {
        FProgram->SetErrorMsg(e.message());
        FProgram->SetErrorPos(errorPos());
        FProgram->SetErrorUnit(FUnitName);
    }
    FWithList.clear();
}

// ---------------------------------------------------------------------------------------
// Programs and routines

void TfsILParser::buildProgram(TfsXMLItem* element, TfsScript* scope)
{
    TfsXMLItem* keep = FProgRoot;
    FProgRoot = element;
    declareRoutines(element, scope);
    for (int i = 0; i < element->Count(); ++i)
        buildStatement(element->Items(i), scope->Statement(), scope);
    FProgRoot = keep;
}

void TfsILParser::declareRoutines(TfsXMLItem* element, TfsScript* scope)
{
    for (int i = 0; i < element->Count(); ++i) {
        TfsXMLItem* child = element->Items(i);
        if (named(child, QLatin1StringView("compoundstmt")))
            declareRoutines(child, scope);
        else if (named(child, QLatin1StringView("procedure")) || named(child, QLatin1StringView("function")))
            declareRoutine(child, scope);
    }
}

void TfsILParser::declareRoutine(TfsXMLItem* element, TfsScript* scope)
{
    examine(element);
    QString name, typeName;
    TfsVarType kind = fvtInt;
    bool isFunc = false;
    TfsXMLItem* nameItem;
    if (named(element, QLatin1StringView("procedure"))) {
        nameItem = element->Items(0);
    } else {
        const int typeIndex = element->Find(QStringLiteral("type"));
        if (typeIndex >= 0) {
            examine(element->Items(typeIndex));
            typeName = textOf(element->Items(typeIndex));
            kind = resolveType(typeName);
        } else {
            kind = fvtVariant;
        }
        isFunc = typeName.compare(u"void", Qt::CaseInsensitive) != 0;
        nameItem = element->Items(std::max(0, element->Find(QStringLiteral("name"))));
    }
    examine(nameItem);
    name = textOf(nameItem);
    if (scope->FindLocal(name))
        fail(fsMessage(TfsMessage::SIdRedeclared) + quoted(name));
    auto* proc = new TfsProcVariable(name, kind, typeName, scope, isFunc);
    proc->SetSourcePos(posOf(element));
    proc->SetSourceUnit(FUnitName);
    scope->Add(name, proc);

    const int paramsIndex = element->Find(QStringLiteral("parameters"));
    if (paramsIndex < 0)
        return;
    TfsXMLItem* params = element->Items(paramsIndex);
    bool nextByRef = false;
    for (int i = 0; i < params->Count(); ++i) {
        TfsXMLItem* group = params->Items(i);
        examine(group);
        if (named(group, QLatin1StringView("varparams"))) {
            nextByRef = true;
            continue;
        }
        if (!named(group, QLatin1StringView("var")))
            continue;
        const bool groupByRef = nextByRef;
        nextByRef = false;
        bool nameByRef = false;
        for (int k = 0; k < group->Count(); ++k) {
            TfsXMLItem* item = group->Items(k);
            if (named(item, QLatin1StringView("varparam"))) {
                nameByRef = true;
                continue;
            }
            if (!named(item, QLatin1StringView("ident")))
                continue;
            examine(item);
            const QString paramName = textOf(item);
            if (proc->Prog()->FindLocal(paramName))
                fail(fsMessage(TfsMessage::SIdRedeclared) + quoted(paramName));
            auto* param = static_cast<TfsParamItem*>(
                makeVariable(group, paramName, nullptr, proc->Prog(), true, groupByRef || nameByRef));
            nameByRef = false;
            param->SetDefValue(*param->PValue());
            proc->Add(param);
            proc->Prog()->Add(paramName, param);
        }
    }
}

void TfsILParser::buildRoutineBody(TfsXMLItem* element, TfsScript* scope)
{
    TfsXMLItem* nameItem = named(element, QLatin1StringView("procedure"))
                               ? element->Items(0)
                               : element->Items(std::max(0, element->Find(QStringLiteral("name"))));
    auto* proc = dynamic_cast<TfsProcVariable*>(scope->Find(textOf(nameItem)));
    if (!proc) {
        examine(nameItem);
        fail(fsMessage(TfsMessage::SIdUndeclared) + quoted(textOf(nameItem)));
    }
    buildProgram(element, proc->Prog());
}

// ---------------------------------------------------------------------------------------
// Statements

void TfsILParser::buildChildren(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    for (int i = 0; i < element->Count(); ++i)
        buildStatement(element->Items(i), list, scope);
}

void TfsILParser::buildStatement(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    // A stored program may nest deeper than the parser lets source text nest.
    orv::script::checkStack();
    auto is = [&](const char* n) { return named(element, QLatin1StringView(n)); };
    if (is("assignstmt")) {
        buildAssignment(element, list, scope);
    } else if (is("callstmt")) {
        buildCall(element, list, scope);
    } else if (is("ifstmt")) {
        buildIf(element, list, scope);
    } else if (is("casestmt")) {
        buildCase(element, list, scope);
    } else if (is("forstmt")) {
        buildFor(element, list, scope);
    } else if (is("vbforstmt")) {
        buildVbFor(element, list, scope);
    } else if (is("cppforstmt")) {
        buildCppFor(element, list, scope);
    } else if (is("whilestmt")) {
        buildWhile(element, list, scope);
    } else if (is("repeatstmt")) {
        buildRepeat(element, list, scope);
    } else if (is("trystmt")) {
        buildTry(element, list, scope);
    } else if (is("break") || is("continue") || is("exit")) {
        examine(element);
        const QString pos = posOf(element);
        TfsStatement* statement;
        if (is("break"))
            statement = new TfsBreakStmt(scope, FUnitName, pos);
        else if (is("continue"))
            statement = new TfsContinueStmt(scope, FUnitName, pos);
        else
            statement = new TfsExitStmt(scope, FUnitName, pos);
        list->Add(statement);
        addCodeLine(element);
    } else if (is("return")) {
        buildReturn(element, list, scope);
    } else if (is("with")) {
        buildWith(element, list, scope);
    } else if (is("delete")) {
        buildDelete(element, list, scope);
    } else if (is("compoundstmt")) {
        buildChildren(element, list, scope);
    } else if (is("uses")) {
        buildUses(element, scope);
    } else if (is("var")) {
        buildVar(element, list, scope);
    } else if (is("const")) {
        buildConst(element, scope);
    } else if (is("procedure") || is("function")) {
        buildRoutineBody(element, scope);
    }
}

void TfsILParser::buildAssignment(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    examine(element);
    std::unique_ptr<TfsDesignator> target(DoDesignator(element->Items(0), scope));
    QString op = QStringLiteral(" ");
    int valueIndex = 1;
    if (named(element->Items(1), QLatin1StringView("modificator"))) {
        examine(element->Items(1));
        op = textOf(element->Items(1));
        valueIndex = 2;
    }
    std::unique_ptr<TfsExpression> expr(buildExpression(element->Items(valueIndex), scope));
    if (target->IsReadOnly())
        fail(fsMessage(TfsMessage::SLeftCantAssigned));
    checkAssignment(target.get(), expr.get());
    if (op == u" ")
        op = expr->Optimize(target.get());
    const QString pos = posOf(element);
    std::unique_ptr<TfsAssignmentStmt> statement;
    switch (op.isEmpty() ? u' ' : op[0].unicode()) {
    case u'*': statement = std::make_unique<TfsAssignMulStmt>(scope, FUnitName, pos); break;
    case u'+': statement = std::make_unique<TfsAssignPlusStmt>(scope, FUnitName, pos); break;
    case u'-': statement = std::make_unique<TfsAssignMinusStmt>(scope, FUnitName, pos); break;
    case u'/': statement = std::make_unique<TfsAssignDivStmt>(scope, FUnitName, pos); break;
    default: statement = std::make_unique<TfsAssignmentStmt>(scope, FUnitName, pos); break;
    }
    statement->SetDesignator(target.release());
    statement->SetExpression(expr.release());
    statement->Optimize();
    addStatement(std::move(statement), list, element);
}

void TfsILParser::buildCall(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    auto statement = newStatement<TfsCallStmt>(element, scope);
    statement->SetDesignator(DoDesignator(element->Items(0), scope));
    if (element->Count() > 1) {
        examine(element->Items(1));
        statement->SetModificator(textOf(element->Items(1)));
        if (statement->Designator()->IsReadOnly())
            fail(fsMessage(TfsMessage::SLeftCantAssigned));
    }
    addStatement(std::move(statement), list, element);
}

void TfsILParser::buildIf(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    auto statement = newStatement<TfsIfStmt>(element, scope);
    statement->SetCondition(buildExpression(element->Items(0), scope));
    for (int i = 1; i < element->Count(); ++i) {
        TfsXMLItem* child = element->Items(i);
        if (named(child, QLatin1StringView("thenstmt")))
            buildChildren(child, statement.get(), scope);
        else if (named(child, QLatin1StringView("elsestmt")))
            buildChildren(child, statement->ElseStmt(), scope);
    }
    addStatement(std::move(statement), list, element);
}

void TfsILParser::buildCase(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    auto statement = newStatement<TfsCaseStmt>(element, scope);
    statement->SetCondition(buildExpression(element->Items(0), scope));
    const int n = element->Count();
    for (int i = 1; i < n; ++i) {
        TfsXMLItem* child = element->Items(i);
        if (!named(child, QLatin1StringView("caseselector")))
            continue;
        examine(child);
        // A selector whose statement is empty has nothing to run: its values fall
        // through to the else branch.
        if (child->Count() != 2)
            continue;
        auto selector = std::make_unique<TfsCaseSelector>(scope, FUnitName, posOf(child));
        selector->SetSetExpression(buildSet(child->Items(0), scope));
        buildStatement(child->Items(1), selector.get(), scope);
        statement->Add(selector.release());
    }
    if (n > 1 && !named(element->Items(n - 1), QLatin1StringView("caseselector")))
        buildStatement(element->Items(n - 1), statement->ElseStmt(), scope);
    addStatement(std::move(statement), list, element);
}

namespace {

bool numericLoopVariable(TfsCustomVariable* item)
{
    if (!dynamic_cast<TfsVariable*>(item))
        return false;
    const TfsVarType k = item->Typ();
    return k == fvtInt || k == fvtFloat || k == fvtVariant || k == fvtInt64;
}

} // namespace

template <class S>
std::unique_ptr<S> TfsILParser::newStatement(TfsXMLItem* element, TfsScript* scope)
{
    examine(element);
    return std::make_unique<S>(scope, FUnitName, posOf(element));
}

void TfsILParser::addStatement(std::unique_ptr<TfsStatement> statement, TfsStatement* list, TfsXMLItem* element)
{
    list->Add(statement.release());
    addCodeLine(element);
}

TfsCustomVariable* TfsILParser::loopVariable(TfsXMLItem* element, TfsScript* scope)
{
    examine(element);
    TfsXMLItem* ident = element->Items(0);
    examine(ident);
    bool late = false;
    TfsCustomVariable* variable = findFirstName(textOf(ident), scope, nullptr, nullptr, late);
    if (!numericLoopVariable(variable))
        fail(fsMessage(TfsMessage::SForError));
    return variable;
}

void TfsILParser::buildFor(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    TfsCustomVariable* variable = loopVariable(element, scope);
    auto statement = std::make_unique<TfsForStmt>(scope, FUnitName, posOf(element));
    statement->SetVariable(variable);
    statement->SetBeginValue(buildExpression(element->Items(1), scope));
    checkAssignment(variable, statement->BeginValue());
    int endIndex = 2;
    if (named(element->Items(2), QLatin1StringView("downto"))) {
        statement->SetDown(true);
        endIndex = 3;
    }
    statement->SetEndValue(buildExpression(element->Items(endIndex), scope));
    checkAssignment(variable, statement->EndValue());
    if (element->Count() > endIndex + 1)
        buildStatement(element->Items(endIndex + 1), statement.get(), scope);
    addStatement(std::move(statement), list, element);
}

void TfsILParser::buildVbFor(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    TfsCustomVariable* variable = loopVariable(element, scope);
    auto statement = std::make_unique<TfsVbForStmt>(scope, FUnitName, posOf(element));
    statement->SetVariable(variable);
    auto check = [&](TfsXMLItem* item) {
        TfsExpression* e = buildExpression(item, scope);
        std::unique_ptr<TfsExpression> guard(e);
        checkAssignment(variable, e);
        return guard.release();
    };
    statement->SetBeginValue(check(element->Items(1)));
    statement->SetEndValue(check(element->Items(2)));
    int next = 3;
    if (element->Count() >= 4 && named(element->Items(3), QLatin1StringView("expr"))) {
        statement->SetStep(check(element->Items(3)));
        next = 4;
    }
    if (element->Count() > next)
        buildStatement(element->Items(next), statement.get(), scope);
    addStatement(std::move(statement), list, element);
}

void TfsILParser::buildCppFor(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    auto statement = newStatement<TfsCppForStmt>(element, scope);
    buildStatement(element->Items(0), statement->FirstStmt(), scope);
    statement->SetExpression(buildExpression(element->Items(1), scope));
    buildStatement(element->Items(2), statement->SecondStmt(), scope);
    if (element->Count() > 3)
        buildStatement(element->Items(3), statement.get(), scope);
    addStatement(std::move(statement), list, element);
}

void TfsILParser::buildWhile(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    auto statement = newStatement<TfsWhileStmt>(element, scope);
    statement->SetCondition(buildExpression(element->Items(0), scope));
    if (element->Count() > 1)
        buildStatement(element->Items(1), statement.get(), scope);
    addStatement(std::move(statement), list, element);
}

void TfsILParser::buildRepeat(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    auto statement = newStatement<TfsRepeatStmt>(element, scope);
    const int n = element->Count();
    int conditionIndex = n - 1;
    if (n > 0 && named(element->Items(n - 1), QLatin1StringView("inverse"))) {
        statement->SetInverseCondition(true);
        conditionIndex = n - 2;
    }
    statement->SetCondition(buildExpression(element->Items(conditionIndex), scope));
    for (int i = 0; i < conditionIndex; ++i)
        buildStatement(element->Items(i), statement.get(), scope);
    addStatement(std::move(statement), list, element);
}

void TfsILParser::buildTry(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    auto statement = newStatement<TfsTryStmt>(element, scope);
    for (int i = 0; i < element->Count(); ++i) {
        TfsXMLItem* child = element->Items(i);
        if (named(child, QLatin1StringView("exceptstmt"))) {
            statement->SetIsExcept(true);
            buildChildren(child, statement->ExceptStmt(), scope);
        } else if (named(child, QLatin1StringView("finallystmt"))) {
            buildChildren(child, statement->ExceptStmt(), scope);
        } else {
            buildStatement(child, statement.get(), scope);
        }
    }
    addStatement(std::move(statement), list, element);
}

void TfsILParser::buildReturn(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    examine(element);
    if (element->Count() == 1) {
        auto* path = new TfsXMLItem;
        path->SetName(QStringLiteral("dsgn"));
        TfsXMLItem* node = path->Add();
        node->SetName(QStringLiteral("node"));
        node->SetProp(QStringLiteral("text"), QStringLiteral("Result"));
        node->SetProp(QStringLiteral("pos"), posOf(element->Items(0)));
        element->InsertItem(0, path);
        buildAssignment(element, list, scope);
    }
    list->Add(new TfsExitStmt(scope, FUnitName, posOf(element)));
    addCodeLine(element);
}

void TfsILParser::buildWith(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    examine(element);
    const size_t open = FWithList.size();
    struct Close {
        std::vector<WithEntry>& list;
        size_t size;
        ~Close() { list.resize(size); }
    } close{FWithList, open};
    const int n = element->Count();
    // The last child is the body, unless the body is empty: a path is never a statement.
    const int paths = n > 0 && named(element->Items(n - 1), QLatin1StringView("dsgn")) ? n : n - 1;
    for (int i = 0; i < paths; ++i) {
        std::unique_ptr<TfsDesignator> path(DoDesignator(element->Items(i), scope));
        if (path->Typ() != fvtClass && path->Typ() != fvtVariant)
            fail(fsMessage(TfsMessage::SClassRequired));
        QString name;
        for (int k = 0;; ++k) {
            name = QStringLiteral("_WithList_%1").arg(k);
            bool taken = scope->FindLocal(name) != nullptr;
            for (const WithEntry& e : FWithList)
                taken = taken || e.name.compare(name, Qt::CaseInsensitive) == 0;
            if (!taken)
                break;
        }
        auto* variable = new TfsVariable(name, path->Typ(), path->TypeName());
        scope->Add(name, variable);
        auto* statement = new TfsWithStmt(scope, FUnitName, posOf(element));
        statement->SetVariable(variable);
        statement->SetDesignator(path.release());
        list->Add(statement);
        FWithList.push_back({name, statement, variable});
    }
    if (paths < n)
        buildStatement(element->Items(n - 1), list, scope);
    addCodeLine(element);
}

void TfsILParser::buildDelete(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    auto statement = newStatement<TfsCallStmt>(element, scope);
    statement->SetDesignator(DoDesignator(element->Items(0), scope, emFree));
    addStatement(std::move(statement), list, element);
}

void TfsILParser::buildUses(TfsXMLItem* element, TfsScript* scope)
{
    const QString keep = FUnitName;
    FUnitName = element->GetProp(QStringLiteral("unit"));
    QString il;
    if (FProgram->OnGetILUnit())
        FProgram->OnGetILUnit()(*FProgram, FUnitName, il);
    if (!il.isEmpty()) {
        TfsXMLDocument document;
        document.LoadFromBytes(il.toUtf8());
        buildProgram(document.Root(), scope);
    } else {
        for (int i = 0; i < element->Count(); ++i)
            buildProgram(element->Items(i), scope);
    }
    FUnitName = keep;
}

// ---------------------------------------------------------------------------------------
// Declarations

TfsVarType TfsILParser::resolveType(QString& typeName)
{
    const TfsXMLItem* types = nullptr;
    if (FProgRoot) {
        const int i = FProgRoot->Find(QStringLiteral("types"));
        if (i >= 0)
            types = FProgRoot->Items(i);
    }
    if (!types && FGrammar)
        types = &FGrammar->types();
    if (types) {
        const int i = types->Find(typeName);
        if (i >= 0)
            typeName = types->Items(i)->GetProp(QStringLiteral("type"));
    }
    const TfsVarType kind = fsNameToVarType(typeName, FProgram);
    if (kind == fvtClass && !FProgram->FindClass(typeName))
        fail(fsMessage(TfsMessage::SUnknownType) + quoted(typeName));
    return kind;
}

void TfsILParser::buildVar(TfsXMLItem* element, TfsStatement* list, TfsScript* scope)
{
    examine(element);
    for (int i = 0; i < element->Count(); ++i) {
        TfsXMLItem* ident = element->Items(i);
        if (!named(ident, QLatin1StringView("ident")))
            continue;
        examine(ident);
        const QString name = textOf(ident);
        if (scope->FindLocal(name))
            fail(fsMessage(TfsMessage::SIdRedeclared) + quoted(name));
        TfsCustomVariable* variable = makeVariable(element, name, list, scope, false, false);
        scope->Add(name, variable);
    }
}

TfsCustomVariable* TfsILParser::makeVariable(TfsXMLItem* element, const QString& name, TfsStatement* list,
                                             TfsScript* scope, bool isParam, bool byRef)
{
    const QString entryPos = errorPos();
    const int typeIndex = element->Find(QStringLiteral("type"));
    QString typeName = typeIndex >= 0 ? textOf(element->Items(typeIndex)) : QStringLiteral("Variant");
    const bool nameFirst = typeIndex != 0;
    if (typeIndex >= 0)
        examine(element->Items(typeIndex));
    TfsVarType kind = resolveType(typeName);
    Value initial;
    switch (kind) {
    case fvtBool: initial = Value(false); break;
    case fvtChar:
    case fvtString: initial = Value(QString()); break;
    case fvtArray:
    case fvtVariant:
    case fvtEnum:
    case fvtConstructor: initial = Value::null(); break;
    default: initial = Value(0); break;
    }

    int from = -1;
    for (int i = 0; i < element->Count(); ++i) {
        if (textOf(element->Items(i)).compare(name, Qt::CaseInsensitive) == 0) {
            from = i;
            break;
        }
    }
    TfsXMLItem* init = nullptr;
    TfsCustomVariable* helper = nullptr;
    for (int i = from + 1; from >= 0 && i < element->Count(); ++i) {
        TfsXMLItem* child = element->Items(i);
        if (!nameFirst && named(child, QLatin1StringView("ident")))
            break;
        if (named(child, QLatin1StringView("array"))) {
            makeArray(child, nullptr, scope, kind, typeName, initial, helper);
            kind = fvtArray;
        } else if (named(child, QLatin1StringView("init"))) {
            init = child;
        }
    }
    if (init && isParam) {
        // A default is computed now, converted as a variable of the declared type would.
        examine(init);
        std::unique_ptr<TfsExpression> expr(buildExpression(init->Items(0), scope));
        TfsVariable temp(QString(), kind, typeName);
        checkAssignment(&temp, expr.get());
        temp.SetValue(expr->GetValue());
        initial = temp.GetValue();
    }

    std::unique_ptr<TfsCustomVariable> variable;
    if (isParam)
        variable = std::make_unique<TfsParamItem>(name, kind, typeName, init != nullptr, byRef);
    else if (kind == fvtChar || kind == fvtString)
        variable = std::make_unique<TfsStringVariable>(name, kind, typeName);
    else
        variable = std::make_unique<TfsVariable>(name, kind, typeName);
    variable->SetValue(initial);
    variable->SetRefItem(helper);
    variable->SetSourcePos(entryPos);
    variable->SetSourceUnit(FUnitName);
    variable->SetOnGetVarValue(FProgram->OnGetVarValue());

    if (init && list) {
        examine(init);
        auto statement = std::make_unique<TfsAssignmentStmt>(scope, FUnitName, posOf(element));
        auto target = std::make_unique<TfsVariableDesignator>(scope);
        auto* step = new TfsDesignatorItem;
        step->SetRef(variable.get());
        target->Add(step);
        target->Finalize();
        std::unique_ptr<TfsExpression> expr(buildExpression(init->Items(0), scope));
        checkAssignment(variable.get(), expr.get());
        statement->SetDesignator(target.release());
        statement->SetExpression(expr.release());
        statement->Optimize();
        list->Add(statement.release());
    }
    return variable.release();
}

void TfsILParser::makeArray(TfsXMLItem* array, TfsCustomVariable*, TfsScript* scope, TfsVarType elementKind,
                            const QString& elementType, Value& initial, TfsCustomVariable*& helper)
{
    examine(array);
    std::vector<orv::script::ArrayBounds> bounds;
    for (int i = 0; i < array->Count(); ++i) {
        TfsXMLItem* dim = array->Items(i);
        if (!named(dim, QLatin1StringView("dim")))
            continue;
        examine(dim);
        std::vector<TfsXMLItem*> exprs;
        for (int k = 0; k < dim->Count(); ++k)
            if (named(dim->Items(k), QLatin1StringView("expr")))
                exprs.push_back(dim->Items(k));
        // «array[5] of T»: the range the parser tried first leaves the size behind once
        // more at the same place; it is one size, not two bounds.
        if (exprs.size() == 2 && posView(exprs[0]) == posView(exprs[1])
            && exprs[0]->GetProp(QStringLiteral("pos1")) == exprs[1]->GetProp(QStringLiteral("pos1")))
            exprs.pop_back();
        if (exprs.size() == 1) {
            const int size = evaluateNow(exprs[0], scope).toInt();
            bounds.push_back({0, size - 1});
        } else if (exprs.size() >= 2) {
            const int low = evaluateNow(exprs[0], scope).toInt();
            const int high = evaluateNow(exprs[1], scope).toInt();
            bounds.push_back({low, high});
        }
    }
    if (bounds.empty())
        bounds.push_back({0, 0});
    initial = Value::createArray(std::span<const orv::script::ArrayBounds>(bounds));
    auto* arrayHelper = new TfsArrayHelper(QString(), int(bounds.size()), elementKind, elementType);
    scope->Add(QString(), arrayHelper);
    helper = arrayHelper;
}

void TfsILParser::buildConst(TfsXMLItem* element, TfsScript* scope)
{
    examine(element);
    TfsXMLItem* ident = element->Items(0);
    examine(ident);
    const QString name = textOf(ident);
    if (scope->FindLocal(name))
        fail(fsMessage(TfsMessage::SIdRedeclared) + quoted(name));
    std::unique_ptr<TfsExpression> expr(buildExpression(element->Items(1), scope));
    const Value value = expr->GetValue();
    auto* constant = new TfsVariable(name, expr->Typ(), expr->TypeName());
    constant->SetValue(value);
    constant->SetIsReadOnly(true);
    constant->SetSourcePos(posOf(ident));
    constant->SetSourceUnit(FUnitName);
    scope->Add(name, constant);
}

// ---------------------------------------------------------------------------------------
// Expressions and sets

Value TfsILParser::evaluateNow(TfsXMLItem* element, TfsScript* scope)
{
    std::unique_ptr<TfsExpression> expr(buildExpression(element, scope));
    return expr->GetValue();
}

TfsExpression* TfsILParser::buildExpression(TfsXMLItem* element, TfsScript* scope)
{
    auto expr = std::make_unique<TfsExpression>(FProgram);
    addExpressionItems(expr.get(), element, scope);
    // An argument's errors are reported where it ends.
    expr->SetSourcePos(errorPos());
    expr->SetSource(sourceOf(element));
    const QString bad = expr->Finalize();
    if (!bad.isEmpty()) {
        setErrorPos(bad);
        fail(fsMessage(TfsMessage::SIncompatibleTypes));
    }
    return expr.release();
}

void TfsILParser::addExpressionItems(TfsExpression* expr, TfsXMLItem* element, TfsScript* scope)
{
    orv::script::checkStack();
    const int n = element->Count();
    for (int i = 0; i < n; ++i) {
        TfsXMLItem* child = element->Items(i);
        examine(child);
        if (named(child, QLatin1StringView("op"))) {
            const QString op = textOf(child);
            // An operator left over from an alternative the parser gave up.
            if (op != u")" && i == n - 1)
                continue;
            // Operators report type errors: they get their own position.
            expr->SetSourcePos(errorPos());
            expr->AddOperator(op);
        } else if (named(child, QLatin1StringView("number")) || named(child, QLatin1StringView("string"))) {
            expr->AddConst(fsConstantValue(textOf(child)));
        } else if (named(child, QLatin1StringView("dsgn"))) {
            expr->AddDesignator(DoDesignator(child, scope));
        } else if (named(child, QLatin1StringView("set"))) {
            expr->AddSet(buildSet(child, scope));
        } else if (named(child, QLatin1StringView("new"))) {
            expr->AddDesignator(DoDesignator(child->Items(0), scope, emCreate));
        } else if (named(child, QLatin1StringView("expr"))) {
            addExpressionItems(expr, child, scope);
        }
    }
}

TfsSetExpression* TfsILParser::buildSet(TfsXMLItem* element, TfsScript* scope)
{
    examine(element);
    auto set = std::make_unique<TfsSetExpression>();
    for (int i = 0; i < element->Count(); ++i) {
        TfsXMLItem* child = element->Items(i);
        if (named(child, QLatin1StringView("expr")))
            set->Add(buildExpression(child, scope));
        else if (named(child, QLatin1StringView("range")))
            set->Add(nullptr);
    }
    return set.release();
}

QString TfsILParser::sourceOf(const TfsXMLItem* expr)
{
    // Positions of an included unit count in the unit's own text, which is gone by now.
    if (!FUnitName.isEmpty())
        return QString();
    QPoint from, to;
    if (!readPosition(posView(expr), from)
        || !readPosition(propView(expr, QLatin1StringView("pos1")), to))
        return QString();
    const int start = FParser.GetPlainPosition(from);
    const int end = FParser.GetPlainPosition(to);
    if (start < 1 || end < start || end - 1 > FParser.Size())
        return QString();
    return FParser.Text().mid(start - 1, end - start);
}

// ---------------------------------------------------------------------------------------
// Name paths

TfsCustomVariable* TfsILParser::findFirstName(const QString& name, TfsScript* scope, TfsDesignator* designator,
                                              TfsXMLItem* path, bool& lateBound)
{
    lateBound = false;
    for (auto it = FWithList.rbegin(); it != FWithList.rend(); ++it) {
        if (scope->FindLocal(it->name) != it->variable)
            continue;
        if (it->variable->Typ() == fvtVariant) {
            if (scope->Find(name) || !designator)
                break;
            // The object is known only when the with statement runs.
            designator->LastStep()->SetRef(it->variable);
            designator->Finalize();
            auto copy = std::make_unique<TfsXMLItem>();
            copy->Assign(path);
            auto* first = new TfsXMLItem;
            first->SetName(QStringLiteral("node"));
            first->SetProp(QStringLiteral("text"), it->name);
            copy->InsertItem(0, first);
            designator->SetLateBindingXmlSource(std::move(copy), FNeedDeclareVars);
            lateBound = true;
            return it->variable;
        }
        TfsClassVariable* cls = scope->FindClass(it->variable->TypeName());
        if (!cls)
            continue;
        if (TfsCustomHelper* member = cls->Find(name)) {
            if (designator) {
                auto* withStep = new TfsDesignatorItem;
                withStep->SetSourcePos(designator->LastStep()->SourcePos());
                withStep->SetRef(it->variable);
                designator->InsertStep(designator->Count() - 1, withStep);
            }
            return member;
        }
    }
    if (TfsCustomVariable* item = scope->Find(name))
        return item;
    if (!FNeedDeclareVars) {
        auto* variable = new TfsVariable(name, fvtVariant, QStringLiteral("Variant"));
        FProgram->Add(name, variable);
        return variable;
    }
    fail(fsMessage(TfsMessage::SIdUndeclared) + quoted(name));
}

TfsDesignator* TfsILParser::DoDesignator(TfsXMLItem* xi, TfsScript* Prog, TfsEmitOp EmitOp)
{
    auto R = std::make_unique<TfsDesignator>(Prog);
    bool first = true;
    const int n = xi->Count();
    for (int i = 0; i < n; ++i) {
        TfsXMLItem* child = xi->Items(i);
        examine(child);
        if (named(child, QLatin1StringView("expr"))) {
            if (!R->LastStep())
                fail(fsMessage(TfsMessage::SVarRequired));
            R->LastStep()->Add(buildExpression(child, Prog));
            continue;
        }
        if (named(child, QLatin1StringView("addr"))) {
            if (n != 2)
                fail(fsMessage(TfsMessage::SVarRequired));
            TfsXMLItem* target = xi->Items(1);
            examine(target);
            auto* text = new TfsStringVariable(QString(), fvtString, QString());
            text->SetValue(Value(textOf(target)));
            Prog->Add(QString(), text);
            auto* step = new TfsDesignatorItem;
            step->SetSourcePos(errorPos());
            step->SetRef(text);
            R->Add(step);
            break;
        }
        if (!named(child, QLatin1StringView("node")))
            continue;
        const QString member = textOf(child);

        if (first) {
            first = false;
            auto* step = new TfsDesignatorItem;
            step->SetSourcePos(errorPos());
            R->Add(step);
            bool late = false;
            TfsCustomVariable* symbol = findFirstName(member, Prog, R.get(), xi, late);
            if (late)
                return R.release();
            step->SetRef(symbol);
            if (EmitOp == emCreate) {
                auto* cls = dynamic_cast<TfsClassVariable*>(symbol);
                if (!cls)
                    fail(fsMessage(TfsMessage::SClassRequired));
                TfsCustomHelper* create = cls->Find(QStringLiteral("Create"));
                if (!create)
                    fail(fsMessage(TfsMessage::SIdUndeclared) + quoted(QStringLiteral("Create")));
                auto* createStep = new TfsDesignatorItem;
                createStep->SetSourcePos(errorPos());
                createStep->SetRef(create);
                R->Add(createStep);
            }
            continue;
        }

        TfsDesignatorItem* previous = R->LastStep();
        TfsCustomVariable* prevSymbol = previous->Ref();
        auto step = std::make_unique<TfsDesignatorItem>();
        step->SetSourcePos(errorPos());

        auto* method = dynamic_cast<TfsMethodHelper*>(prevSymbol);
        if (method && method->IndexMethod() && !previous->Flag()) {
            // The brackets of an indexed property: its indexes follow.
            previous->SetFlag(true);
            setErrorPos(previous->SourcePos());
            if (member != u"[")
                fail(fsMessage(TfsMessage::SIndexRequired));
            continue;
        }

        TfsVarType kind = prevSymbol->Typ();
        if (dynamic_cast<TfsLateMemberHelper*>(prevSymbol) && member != u"[") {
            // A member of a member found at run time is found at run time too.
            step->SetRef(new TfsLateMemberHelper(member));
            step->SetOwnsRef(true);
            R->Add(step.release());
            continue;
        }
        if (kind == fvtVariant) {
            // What a Variant holds now decides what follows it. Only values a symbol
            // stores are looked at: reading a function or a host member here would run it.
            const Value current = prevSymbol->Storage() ? prevSymbol->GetValue() : Value::null();
            if (current.isNull() || current.isEmpty()) {
                R->Finalize();
                auto copy = std::make_unique<TfsXMLItem>();
                copy->Assign(xi);
                R->SetLateBindingXmlSource(std::move(copy), FNeedDeclareVars);
                return R.release();
            }
            if (current.isText()) {
                kind = fvtString;
            } else if (current.isArray()) {
                if (member != u"[")
                    fail(fsMessage(TfsMessage::SIndexRequired));
                step->SetRef(Prog->Find(QStringLiteral("__ArrayHelper")));
                step->SetFlag(true);
                if (!step->Ref())
                    fail(fsMessage(TfsMessage::SArrayRequired));
                R->Add(step.release());
                continue;
            } else {
                // Anything else must be a live object; a number that is none is no object.
                orv::platform::rtti::Object* object = nullptr;
                if (!orv::script::tryValueObject(current, object))
                    fail(orv::script::invalidObjectReferenceText());
                if (!object)
                    fail(fsMessage(TfsMessage::SIdUndeclared) + quoted(member));
                kind = fvtClass;
                prevSymbol->SetTypeName(object->ClassName());
            }
        }

        switch (kind) {
        case fvtString:
            if (member != u"[")
                fail(fsMessage(TfsMessage::SStringError));
            step->SetRef(Prog->Find(QStringLiteral("__StringHelper")));
            step->SetFlag(true);
            if (!step->Ref())
                fail(fsMessage(TfsMessage::SStringError));
            break;
        case fvtClass: {
            TfsClassVariable* cls = Prog->FindClass(prevSymbol->TypeName());
            if (!cls)
                fail(fsMessage(TfsMessage::SUnknownType) + quoted(prevSymbol->TypeName()));
            if (member == u"[") {
                step->SetFlag(true);
                if (!cls->DefProperty())
                    fail(fsMessageFormat(TfsMessage::SClassError, prevSymbol->TypeName()));
                step->SetRef(cls->DefProperty());
                break;
            }
            if (TfsCustomHelper* m = cls->Find(member)) {
                step->SetRef(m);
                break;
            }
            const Value current = prevSymbol->Storage() ? prevSymbol->GetValue() : Value::null();
            orv::platform::rtti::Object* object = nullptr;
            const bool live = orv::script::tryValueObject(current, object);
            if (live && !object && !Prog->IsRunning() && Prog->UseClassLateBinding()) {
                R->TruncateSteps(1);
                R->Finalize();
                R->SetTyp(fvtVariant);
                auto copy = std::make_unique<TfsXMLItem>();
                copy->Assign(xi);
                R->SetLateBindingXmlSource(std::move(copy), FNeedDeclareVars);
                return R.release();
            }
            if (auto* owner = dynamic_cast<orv::platform::Component*>(object)) {
                if (orv::platform::Component* owned = owner->FindComponent(member)) {
                    auto* holder = new TfsCustomVariable(QString(), fvtClass, owned->ClassName());
                    *holder->PValue() = orv::script::objectValue(owned);
                    step->SetRef(holder);
                    step->SetOwnsRef(true);
                    break;
                }
            }
            if (dynamic_cast<TfsCustomHelper*>(prevSymbol)) {
                // A call or property gives an object of its declared class or of any
                // class below it: the member is looked for in the object's own class
                // when the path runs.
                step->SetRef(new TfsLateMemberHelper(member));
                step->SetOwnsRef(true);
                break;
            }
            fail(fsMessage(TfsMessage::SIdUndeclared) + quoted(member));
        }
        default:
            if (kind != fvtArray || !prevSymbol->RefItem())
                fail(fsMessage(TfsMessage::SArrayRequired));
            step->SetRef(prevSymbol->RefItem());
            step->SetFlag(member == u"[");
            break;
        }
        R->Add(step.release());
    }

    if (EmitOp == emFree) {
        TfsDesignatorItem* last = R->LastStep();
        if (!last || (last->Ref()->Typ() != fvtClass && last->Ref()->Typ() != fvtVariant))
            fail(fsMessage(TfsMessage::SClassRequired));
        TfsClassVariable* root = Prog->FindClass(QStringLiteral("TObject"));
        TfsCustomHelper* free = root ? root->Find(QStringLiteral("Free")) : nullptr;
        if (!free)
            fail(fsMessage(TfsMessage::SIdUndeclared) + quoted(QStringLiteral("Free")));
        auto* step = new TfsDesignatorItem;
        step->SetSourcePos(last->SourcePos());
        step->SetRef(free);
        R->Add(step);
    }
    if (R->Count() == 0)
        fail(fsMessage(TfsMessage::SVarRequired));

    R->Finalize();
    if (R->Kind() != dkOther) {
        std::unique_ptr<TfsDesignator> shortcut;
        switch (R->Kind()) {
        case dkVariable: shortcut = std::make_unique<TfsVariableDesignator>(Prog); break;
        case dkStringArray: shortcut = std::make_unique<TfsStringDesignator>(Prog); break;
        default: shortcut = std::make_unique<TfsArrayDesignator>(Prog); break;
        }
        shortcut->Borrow(R.get());
        R = std::move(shortcut);
    }
    checkArguments(R.get());
    return R.release();
}

void TfsILParser::checkArguments(TfsDesignator* designator)
{
    for (int i = 0; i < designator->Count(); ++i) {
        TfsDesignatorItem* step = designator->Items(i);
        TfsCustomVariable* symbol = step->Ref();
        if (dynamic_cast<TfsDesignator*>(symbol))
            continue;
        setErrorPos(step->SourcePos());
        const int given = step->Count();
        if (given < symbol->GetNumberOfRequiredParams())
            fail(fsMessage(TfsMessage::SNotEnoughParams));
        if (given > symbol->Count())
            fail(fsMessage(TfsMessage::STooManyParams));
        for (int j = given; j < symbol->Count(); ++j) {
            auto expr = std::make_unique<TfsExpression>(FProgram);
            expr->SetSourcePos(step->SourcePos());
            expr->AddConst(symbol->Params(j)->DefValue());
            expr->Finalize();
            step->Add(expr.release());
        }
        for (int j = 0; j < given; ++j) {
            TfsCustomExpression* arg = step->Items(j);
            if (!arg->SourcePos().isEmpty())
                setErrorPos(arg->SourcePos());
            checkAssignment(symbol->Params(j), arg);
        }
    }
}

} // namespace orv::script
