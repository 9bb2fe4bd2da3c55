#include "script/core/script.h"

#include <QIODevice>
#include <QVarLengthArray>
#include <algorithm>
#include <optional>

#include "platform/core/exceptions.h"
#include "platform/core/text.h"
#include "script/core/objects.h"
#include "script/core/statements.h"
#include "script/core/sysfunctions.h"
#include "script/core/typerules.h"
#include "script/front/ilparser.h"
#include "script/core/vm.h"

namespace orv::script {

using orv::script::Value;

ORV_RTTI_DEFINE(TfsScript, orv::platform::Component) {}

int TfsScript::RunLineHandlers = 0;

// ---------------------------------------------------------------------------------------
// The module registry

namespace {

struct ModuleRegistry {
    QList<TfsRTTIModuleClass> classes{&fsCreateRTTIModule<TfsSysFunctions>};
    bool alive = true;
    ~ModuleRegistry() { alive = false; }
};

ModuleRegistry& moduleRegistry()
{
    static ModuleRegistry registry;
    return registry;
}

} // namespace

QList<TfsRTTIModuleClass>* fsRTTIModuleClasses()
{
    ModuleRegistry& r = moduleRegistry();
    return r.alive ? &r.classes : nullptr;
}

// ---------------------------------------------------------------------------------------
// Construction

TfsScript::TfsScript(orv::platform::Component* AOwner)
    : orv::platform::Component(AOwner), FStatement(new TfsStatement(this, QString(), QString()))
{
}

TfsScript::~TfsScript()
{
    Clear();
    ClearRTTI();
    // Whatever is left (adapters a module added, entries of an RTTI run that failed).
    for (size_t i = FItems.size(); i-- > 0;)
        eraseEntry(i, true);
    delete FStatement;
    if (FOnRunLine)
        --RunLineHandlers;
}

void TfsScript::SetOnRunLine(TfsRunLineEvent event)
{
    const bool had = bool(FOnRunLine);
    FOnRunLine = std::move(event);
    RunLineHandlers += int(bool(FOnRunLine)) - int(had);
}

QString TfsScript::LinesText() const
{
    return fsLinesToText(FLines);
}

// ---------------------------------------------------------------------------------------
// Symbol table

namespace {

inline char16_t foldName(char16_t c)
{
    if (c < 128)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    return QChar::isSurrogate(c) ? c : char16_t(QChar::toUpper(char32_t(c)));
}

// A name in upper case, made once for a whole lookup.
class FoldedName {
public:
    explicit FoldedName(QStringView name) : FBuffer(name.size())
    {
        for (qsizetype i = 0; i < name.size(); ++i)
            FBuffer[i] = foldName(name[i].unicode());
    }
    QStringView view() const { return QStringView(FBuffer.constData(), FBuffer.size()); }

private:
    QVarLengthArray<char16_t, 64> FBuffer;
};

inline int compareKey(QStringView key, QStringView folded)
{
    const qsizetype n = std::min(key.size(), folded.size());
    const char16_t* a = key.utf16();
    const char16_t* b = folded.utf16();
    for (qsizetype i = 0; i < n; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return key.size() < folded.size() ? -1 : (key.size() > folded.size() ? 1 : 0);
}

} // namespace

size_t TfsScript::lowerBound(QStringView folded) const
{
    size_t low = 0, high = FItems.size();
    while (low < high) {
        const size_t mid = (low + high) / 2;
        if (compareKey(*FItems[mid].key, folded) < 0)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

TfsCustomVariable* TfsScript::findFolded(QStringView folded) const
{
    const size_t at = lowerBound(folded);
    if (at < FItems.size() && compareKey(*FItems[at].key, folded) == 0)
        return FItems[at].variable;
    return nullptr;
}

void TfsScript::Add(const QString& Name, orv::script::ScriptObject* Item)
{
    auto* variable = dynamic_cast<TfsCustomVariable*>(Item);
    if (variable)
        variable->SetAddedBy(FAddedBy);
    Entry e{nullptr, Item, variable, nullptr,
            variable ? FAddedBy == RTTIMarker() : dynamic_cast<TfsRTTIModule*>(Item) != nullptr};
    if (variable && variable->Name() == Name)
        e.key = &variable->UppercaseName();
    else
        e.key = e.ownedKey = new QString(orv::script::upperName(Name));
    const size_t at = lowerBound(*e.key);
    FItems.insert(FItems.begin() + std::ptrdiff_t(at), e);
    ++FTableVersion;
}

void TfsScript::eraseEntry(size_t index, bool free)
{
    Entry e = FItems[index];
    FItems.erase(FItems.begin() + std::ptrdiff_t(index));
    ++FTableVersion;
    releaseKey(e);
    if (free)
        delete e.object;
}

void TfsScript::Remove(orv::script::ScriptObject* Item)
{
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].object == Item) {
            eraseEntry(i, false);
            return;
        }
    }
}

void TfsScript::RemoveItems(const void* Owner)
{
    for (size_t i = FItems.size(); i-- > 0;) {
        if (i >= FItems.size())
            continue;
        TfsCustomVariable* v = FItems[i].variable;
        if (v && v->AddedBy() == Owner)
            eraseEntry(i, true);
    }
}

void TfsScript::clearProgram()
{
    FStatement->Clear();
    FUnitLines.clear();
}

void TfsScript::Clear()
{
    std::vector<orv::script::ScriptObject*> doomed;
    std::vector<Entry> kept;
    kept.reserve(FItems.size());
    for (Entry& e : FItems) {
        if (e.rtti) {
            kept.push_back(e);
        } else {
            releaseKey(e);
            doomed.push_back(e.object);
        }
    }
    FItems.swap(kept);
    ++FTableVersion;
    // The table is consistent before anything is freed: destructors may look names up.
    for (orv::script::ScriptObject* object : doomed)
        delete object;
    clearProgram();
    FErrorPos.clear();
    FErrorMsg.clear();
    FErrorUnit.clear();
}

void TfsScript::ClearItems(const void* Owner)
{
    RemoveItems(Owner);
    clearProgram();
}

TfsCustomVariable* TfsScript::FindLocal(const QString& Name) const
{
    const FoldedName folded(Name);
    return findFolded(folded.view());
}

TfsCustomVariable* TfsScript::Find(const QString& Name) const
{
    const FoldedName folded(Name);
    for (const TfsScript* s = this; s; s = s->FParent)
        if (TfsCustomVariable* item = s->findFolded(folded.view()))
            return item;
    return nullptr;
}

TfsClassVariable* TfsScript::FindClass(const QString& Name) const
{
    TfsCustomVariable* item = Find(Name);
    return item && item->ItemShape() == TfsCustomVariable::Shape::Class ? static_cast<TfsClassVariable*>(item)
                                                                       : nullptr;
}

Value TfsScript::Variables(const QString& Name) const
{
    TfsCustomVariable* item = Find(Name);
    return item ? item->GetValue() : Value::null();
}

void TfsScript::SetVariables(const QString& Name, const Value& Value)
{
    if (TfsCustomVariable* item = Find(Name))
        item->SetValue(Value);
    else
        AddVariable(Name, QStringLiteral("Variant"), Value);
}

// ---------------------------------------------------------------------------------------
// Registration

TfsClassVariable* TfsScript::AddClass(TfsClass AClass, const QString& Ancestor)
{
    if (!AClass || Find(AClass->name()))
        return nullptr;
    auto* cls = new TfsClassVariable(AClass, Ancestor);
    cls->SetProg(this);
    Add(AClass->name(), cls);
    if (TfsClassVariable* ancestor = FindClass(Ancestor); ancestor && ancestor != cls)
        cls->SetDefProperty(ancestor->DefProperty());
    return cls;
}

TfsCustomVariable* TfsScript::makeVariable(const QString& Name, const QString& Typ, const Value& Value)
{
    auto variable = std::make_unique<TfsVariable>(Name, fsNameToVarType(Typ, this), Typ);
    variable->SetValue(Value);
    return variable.release();
}

void TfsScript::AddConst(const QString& Name, const QString& Typ, const Value& Value)
{
    if (Find(Name))
        return;
    TfsCustomVariable* v = makeVariable(Name, Typ, Value);
    v->SetIsReadOnly(true);
    Add(Name, v);
}

void TfsScript::addEnumValues(const QString& Typ, const QString& Names, bool asSet)
{
    Add(Typ, new TfsVariable(Typ, fvtEnum, Typ));
    // A comma text: commas and blanks separate the items, double quotes group one.
    QStringList items;
    const qsizetype n = Names.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && (Names[i] == u',' || Names[i].unicode() <= 32))
            ++i;
        if (i >= n)
            break;
        QString item;
        if (Names[i] == u'"') {
            ++i;
            while (i < n) {
                if (Names[i] == u'"') {
                    if (i + 1 < n && Names[i + 1] == u'"') {
                        item += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += Names[i++];
            }
        } else {
            while (i < n && Names[i] != u',' && Names[i].unicode() > 32)
                item += Names[i++];
        }
        items << item;
    }
    for (qsizetype k = 0; k < items.size(); ++k) {
        const QString name = orv::platform::trimmed(items[k]);
        auto* v = new TfsVariable(name, fvtEnum, Typ);
        v->SetValue(asSet ? Value(int(quint32(1) << (k & 31))) : Value(int(k)));
        v->SetIsReadOnly(true);
        Add(name, v);
    }
}

void TfsScript::AddEnum(const QString& Typ, const QString& Names)
{
    addEnumValues(Typ, Names, false);
}

void TfsScript::AddEnumSet(const QString& Typ, const QString& Names)
{
    addEnumValues(Typ, Names, true);
}

void TfsScript::AddComponent(orv::platform::Component* Form)
{
    if (!Form)
        return;
    TfsClassVariable* cls = FindClass(Form->ClassName());
    if (!cls) {
        const orv::platform::rtti::ClassInfo& info = Form->classInfo();
        if (info.inheritsFrom(QStringLiteral("TForm")))
            cls = AddClass(&info, QStringLiteral("TForm"));
        else if (info.inheritsFrom(QStringLiteral("TDataModule")))
            cls = AddClass(&info, QStringLiteral("TDataModule"));
        else
            return;
    }
    if (cls)
        for (orv::platform::Component* c : Form->Components())
            cls->AddComponent(c);
    AddObject(Form->Name(), Form);
}

void TfsScript::AddForm(orv::platform::Component* Form)
{
    AddComponent(Form);
}

TfsMethodHelper* TfsScript::addMethod(TfsMethodHelper* Method, const QString& Category, const QString& Description)
{
    Method->SetDescription(Description.isEmpty() ? Method->Name() : Description);
    Method->SetCategory(Category);
    Add(Method->Name(), Method);
    return Method;
}

TfsMethodHelper* TfsScript::AddMethod(const QString& Syntax, const TfsCallMethodNewEvent& CallEvent,
                                      const QString& Category, const QString& Description)
{
    auto* m = new TfsMethodHelper(Syntax, this);
    m->SetOnCallNew(CallEvent);
    return addMethod(m, Category, Description);
}

TfsMethodHelper* TfsScript::AddMethod(const QString& Syntax, const TfsCallMethodEvent& CallEvent,
                                      const QString& Category, const QString& Description)
{
    auto* m = new TfsMethodHelper(Syntax, this);
    m->SetOnCall(CallEvent);
    return addMethod(m, Category, Description);
}

void TfsScript::AddObject(const QString& Name, const orv::platform::rtti::Object* Obj)
{
    AddVariable(Name, Obj ? Obj->ClassName() : QStringLiteral("TObject"), orv::script::objectValue(Obj));
}

void TfsScript::AddVariable(const QString& Name, const QString& Typ, const Value& Value)
{
    if (Find(Name))
        return;
    TfsCustomVariable* v = makeVariable(Name, Typ, Value);
    v->SetOnGetVarValue(FOnGetVarValue);
    Add(Name, v);
}

void TfsScript::AddType(const QString& TypeName, TfsVarType ParentType)
{
    if (Find(TypeName))
        return;
    Add(TypeName, new TfsTypeVariable(TypeName, ParentType, QString()));
}

void TfsScript::AddRTTI()
{
    if (FRTTIAdded)
        return;
    struct Stamp {
        TfsScript* s;
        ~Stamp() { s->FAddedBy = nullptr; }
    } stamp{this};
    FAddedBy = RTTIMarker();
    if (const QList<TfsRTTIModuleClass>* classes = fsRTTIModuleClasses()) {
        for (TfsRTTIModuleClass create : *classes) {
            TfsRTTIModule* module = create(this);
            Add(QString(), module);
        }
    }
    FRTTIAdded = true;
}

void TfsScript::ClearRTTI()
{
    if (!FRTTIAdded)
        return;
    std::vector<orv::script::ScriptObject*> doomed;
    std::vector<Entry> kept;
    for (Entry& e : FItems) {
        if (e.rtti) {
            releaseKey(e);
            doomed.push_back(e.object);
        } else {
            kept.push_back(e);
        }
    }
    FItems.swap(kept);
    ++FTableVersion;
    for (orv::script::ScriptObject* object : doomed)
        delete object;
    FRTTIAdded = false;
}

// ---------------------------------------------------------------------------------------
// Compiling

bool TfsScript::build(TfsILParser& parser)
{
    parser.ParseILScript();
    const bool ok = FErrorMsg.isEmpty();
    if (ok)
        FErrorPos.clear();
    return ok;
}

bool TfsScript::Compile()
{
    FErrorMsg.clear();
    TfsILParser parser(this);
    parser.SelectLanguage(FSyntaxType);
    if (!parser.MakeILScript(LinesText()))
        return false;
    return build(parser);
}

bool TfsScript::GetILCode(QIODevice& Stream)
{
    FErrorMsg.clear();
    TfsILParser parser(this);
    parser.SelectLanguage(FSyntaxType);
    if (!parser.MakeILScript(LinesText()))
        return false;
    parser.ILScript()->SaveToStream(Stream);
    FErrorPos.clear();
    return true;
}

bool TfsScript::SetILCode(QIODevice& Stream)
{
    FErrorMsg.clear();
    TfsILParser parser(this);
    parser.SelectLanguage(FSyntaxType);
    parser.ILScript()->LoadFromStream(Stream);
    return build(parser);
}

void TfsScript::AddCodeLine(const QString& UnitName, const QString& APos)
{
    const qsizetype colon = APos.indexOf(u':');
    FUnitLines[UnitName].insert(colon < 0 ? QString() : APos.left(colon));
}

bool TfsScript::IsExecutableLine(int LineN, const QString& UnitName) const
{
    const auto it = FUnitLines.constFind(UnitName);
    return it != FUnitLines.constEnd() && it->contains(QString::number(LineN));
}

// ---------------------------------------------------------------------------------------
// Running

void TfsScript::Execute()
{
    SetExitCalled(false);
    SetTerminated(false);
    FIsRunning = true;
    FMainProg = true;
    struct Reset {
        TfsScript* s;
        ~Reset()
        {
            s->SetExitCalled(false);
            s->SetTerminated(false);
            s->FIsRunning = false;
        }
    } reset{this};
    FErrorMsg.clear();
    FErrorPos.clear();
    FErrorUnit.clear();
    try {
        orv::script::vm::run(FStatement);
    } catch (...) {
        // The host learns where the error arose, as it does for a compile error.
        QString unit, pos;
        if (orv::script::takeErrorPlace(unit, pos)) {
            FErrorPos = pos;
            FErrorUnit = unit;
        }
        try {
            orv::script::rethrowAsScriptError();
        } catch (const orv::platform::Exception& e) {
            FErrorMsg = e.message();
            throw;
        }
    }
}

bool TfsScript::Run()
{
    const bool ok = Compile();
    if (ok)
        Execute();
    return ok;
}

void TfsScript::Terminate()
{
    // Ours before those of the routines: one starting meanwhile finds this one set.
    FStops.fetch_or(StopExit | StopTerminated);
    for (const Entry& e : FItems)
        if (auto* proc = dynamic_cast<TfsProcVariable*>(e.variable))
            proc->Prog()->Terminate();
}

void TfsScript::NotifyRunLine(const QString& UnitName, const QString& SourcePos)
{
    for (TfsScript* s = this; s; s = s->FParent) {
        if (s->FOnRunLine) {
            s->FOnRunLine(this, UnitName, SourcePos);
            return;
        }
    }
}

Value TfsScript::CallFunction(const QString& Name, const Value& Params, bool sGlobal)
{
    TfsCustomVariable* item = sGlobal ? Find(Name) : FindLocal(Name);
    return CallFunction2(dynamic_cast<TfsProcVariable*>(item), Params);
}

namespace {

// Argument i of a host call: element i of the array's first dimension.
void passArguments(TfsProcVariable* func, const Value& params)
{
    if (!params.isArray() || params.dimCount() != 1)
        return;
    const int high = params.highBound(1);
    for (int i = std::max(0, params.lowBound(1)); i <= high && i < func->Count(); ++i)
        func->Params(i)->SetValue(params.element({i}));
}

} // namespace

Value TfsScript::CallFunction1(const QString& Name, Value& Params, bool sGlobal)
{
    TfsCustomVariable* item = sGlobal ? Find(Name) : FindLocal(Name);
    auto* func = dynamic_cast<TfsProcVariable*>(item);
    if (!func)
        return Value::null();
    // A host callback calling a routine that is running: the running activation gets its
    // parameters and locals back afterwards.
    std::optional<orv::script::LocalsKeeper> keeper;
    if (func->Executing())
        keeper.emplace(func);
    passArguments(func, Params);
    Value result = func->GetValue();
    if (Params.isArray() && Params.dimCount() == 1) {
        const int high = Params.highBound(1);
        for (int i = std::max(0, Params.lowBound(1)); i <= high && i < func->Count(); ++i)
            Params.elementRef({i}) = func->Params(i)->GetValue();
    }
    return result;
}

Value TfsScript::CallFunction2(TfsProcVariable* Func, const Value& Params)
{
    if (!Func)
        return Value::null();
    std::optional<orv::script::LocalsKeeper> keeper;
    if (Func->Executing())
        keeper.emplace(Func);
    passArguments(Func, Params);
    return Func->GetValue();
}

Value TfsScript::Evaluate(const QString& Expression)
{
    FEvaluteRiseError = false;
    Value result = Value::null();
    TfsScript* context = FProgRunning ? FProgRunning : this;
    TfsScript temp;
    if (!context->FRTTIAdded)
        temp.AddRTTI();
    temp.FParent = context;
    temp.FOnGetVarValue = context->FOnGetVarValue;

    struct RunLine {
        TfsScript* s;
        TfsRunLineEvent saved;
        ~RunLine() { s->SetOnRunLine(std::move(saved)); }
    } runLine{this, FOnRunLine};
    SetOnRunLine(nullptr);

    temp.FSyntaxType = FSyntaxType;
    QString source;
    if (FSyntaxType.compare(u"VoriroVoreva", Qt::CaseInsensitive) == 0)
        source = QStringLiteral("function fsEvaluateFUNC: Variant; begin Result := ") + Expression
                 + QStringLiteral(" end; begin end.");
    else if (FSyntaxType.compare(u"Z++Ovuvir", Qt::CaseInsensitive) == 0)
        source = QStringLiteral("Variant fsEvaluateFUNC() { return ") + Expression + QStringLiteral("; } {}");
    else if (FSyntaxType.compare(u"RadivEdurav", Qt::CaseInsensitive) == 0)
        source = QStringLiteral("function fsEvaluateFUNC\r\nreturn ") + Expression + QStringLiteral("\r\nend function");
    else if (FSyntaxType.compare(u"JScript", Qt::CaseInsensitive) == 0)
        source = QStringLiteral("function fsEvaluateFUNC() { return (") + Expression + QStringLiteral("); }");
    temp.SetLines(fsTextToLines(source));

    if (temp.Compile()) {
        if (TfsCustomVariable* func = temp.FindLocal(QStringLiteral("fsEvaluateFUNC")))
            result = func->GetValue();
    } else {
        result = Value(temp.ErrorMsg());
        FEvaluteRiseError = true;
    }
    return result;
}

// ---------------------------------------------------------------------------------------
// Source lines

QStringList fsTextToLines(const QString& text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

QString fsLinesToText(const QStringList& lines)
{
    QString text;
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QString& line : lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

} // namespace orv::script
