#pragma once
// The script component: one script's symbol table, its source in one of the registered
// languages, the compiled main program and the last compile error. Hosts register
// classes, objects, variables, constants, enumerations and functions, compile the
// source, run the main program, call script procedures and evaluate free expressions.
//
// Scripts form chains through Parent: a name not found in a script is looked up in its
// parent. Every script procedure owns a script of its own (its local scope) whose parent
// is the script that declares it.
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <vector>

#include "platform/core/reflection.h"
#include "script/core/items.h"

class QIODevice;
namespace orv::script {

class TfsScript;
class TfsStatement;
class TfsRTTIModule;

// Asks the host for the text of a unit named in a uses clause (its source for the parser,
// its intermediate program for the builder).
using TfsGetUnitEvent = std::function<void(TfsScript& sender, const QString& unitName, QString& unitText)>;

// The class reference of an RTTI module: makes the module's instance for a script, which
// registers its symbols there.
using TfsRTTIModuleClass = TfsRTTIModule* (*)(TfsScript* AScript);

// Base of the RTTI modules: the built-in functions and the bridges to host classes.
class TfsRTTIModule : public orv::script::ScriptObject {
public:
    explicit TfsRTTIModule(TfsScript* AScript) : FScript(AScript) {}
    TfsScript* Script() const { return FScript; }

protected:
    TfsScript* FScript;
};

// The process-wide module registry, in order; its first entry makes the built-in
// functions. Modules add themselves at start-up, before any script exists. After the
// engine has shut down it gives nullptr.
QList<TfsRTTIModuleClass>* fsRTTIModuleClasses();

template <class M>
TfsRTTIModule* fsCreateRTTIModule(TfsScript* AScript)
{
    return new M(AScript);
}
// Adds a module class at the end of the registry (once) and removes it again.
template <class M>
void fsRegisterRTTIModule()
{
    if (auto* list = fsRTTIModuleClasses(); list && !list->contains(&fsCreateRTTIModule<M>))
        list->append(&fsCreateRTTIModule<M>);
}
template <class M>
void fsUnregisterRTTIModule()
{
    if (auto* list = fsRTTIModuleClasses())
        list->removeAll(&fsCreateRTTIModule<M>);
}

class TfsScript : public orv::platform::Component {
    ORV_RTTI_CLASS(TfsScript)
public:
    explicit TfsScript(orv::platform::Component* AOwner = nullptr);
    ~TfsScript() override;

    // ---- symbol table
    void Add(const QString& Name, orv::script::ScriptObject* Item);
    int Count() const { return int(FItems.size()); }
    // The item of an entry; nullptr for a module instance or an event adapter.
    TfsCustomVariable* Items(int Index) const { return FItems[size_t(Index)].variable; }
    orv::script::ScriptObject* Objects(int Index) const { return FItems[size_t(Index)].object; }
    // Takes the entry of Item out without freeing Item.
    void Remove(orv::script::ScriptObject* Item);
    // Frees every variable item that Owner added, last to first.
    void RemoveItems(const void* Owner);
    // Frees everything but what the RTTI modules added; empties the main program, the
    // executable lines and the error.
    void Clear();
    // RemoveItems, then empties the main program and the executable lines.
    void ClearItems(const void* Owner);
    TfsCustomVariable* Find(const QString& Name) const;
    TfsCustomVariable* FindLocal(const QString& Name) const;
    TfsClassVariable* FindClass(const QString& Name) const;
    // The value of the item of that name, Null when there is none.
    orv::script::Value Variables(const QString& Name) const;
    // Writes the item of that name, or adds a Variant variable holding the value.
    void SetVariables(const QString& Name, const orv::script::Value& Value);
    // Changes each time an entry is added or removed.
    quint64 TableVersion() const { return FTableVersion; }

    // ---- registration
    virtual TfsClassVariable* AddClass(TfsClass AClass, const QString& Ancestor);
    virtual void AddConst(const QString& Name, const QString& Typ, const orv::script::Value& Value);
    virtual void AddEnum(const QString& Typ, const QString& Names);
    virtual void AddEnumSet(const QString& Typ, const QString& Names);
    virtual void AddComponent(orv::platform::Component* Form);
    virtual void AddForm(orv::platform::Component* Form);
    virtual TfsMethodHelper* AddMethod(const QString& Syntax, const TfsCallMethodNewEvent& CallEvent,
                                       const QString& Category = QString(), const QString& Description = QString());
    virtual TfsMethodHelper* AddMethod(const QString& Syntax, const TfsCallMethodEvent& CallEvent,
                                       const QString& Category = QString(), const QString& Description = QString());
    virtual void AddObject(const QString& Name, const orv::platform::rtti::Object* Obj);
    virtual void AddVariable(const QString& Name, const QString& Typ, const orv::script::Value& Value);
    virtual void AddType(const QString& TypeName, TfsVarType ParentType);

    // Creates one instance of every registered module class (once per script).
    void AddRTTI();
    void ClearRTTI();

    // ---- compiling
    bool Compile();
    // Writes the intermediate program instead of building it.
    bool GetILCode(QIODevice& Stream);
    // Builds a stored intermediate program.
    bool SetILCode(QIODevice& Stream);
    void AddCodeLine(const QString& UnitName, const QString& APos);
    bool IsExecutableLine(int LineN, const QString& UnitName = QString()) const;

    // ---- running
    void Execute();
    bool Run();
    // Stops this script and every procedure it holds at their next statement or loop turn,
    // empty loops included. Any thread may call it while the script runs.
    void Terminate();
    void NotifyRunLine(const QString& UnitName, const QString& SourcePos);

    // Calls a script procedure or function with the elements of an array as arguments.
    orv::script::Value CallFunction(const QString& Name, const orv::script::Value& Params, bool sGlobal = true);
    // The same, then copies the parameters back into the array (by-reference arguments).
    orv::script::Value CallFunction1(const QString& Name, orv::script::Value& Params, bool sGlobal = true);
    orv::script::Value CallFunction2(TfsProcVariable* Func, const orv::script::Value& Params);
    // Evaluates an expression in the context of the procedure running at the moment;
    // a compile error becomes the result and sets EvaluteRiseError.
    orv::script::Value Evaluate(const QString& Expression);

    // ---- source and language
    const QStringList& Lines() const { return FLines; }
    void SetLines(const QStringList& lines) { FLines = lines; }
    // The source as the compiler reads it: every line ended by CR LF, the last one too.
    QString LinesText() const;
    const QString& SyntaxType() const { return FSyntaxType; }
    void SetSyntaxType(const QString& value) { FSyntaxType = value; }
    bool ExtendedCharset() const { return FExtendedCharset; }
    void SetExtendedCharset(bool value) { FExtendedCharset = value; }
    const QStringList& IncludePath() const { return FIncludePath; }
    void SetIncludePath(const QStringList& value) { FIncludePath = value; }
    const TfsGetUnitEvent& OnGetUnit() const { return FOnGetUnit; }
    void SetOnGetUnit(TfsGetUnitEvent event) { FOnGetUnit = std::move(event); }
    const TfsGetUnitEvent& OnGetILUnit() const { return FOnGetILUnit; }
    void SetOnGetILUnit(TfsGetUnitEvent event) { FOnGetILUnit = std::move(event); }
    const TfsGetVariableValueEvent& OnGetVarValue() const { return FOnGetVarValue; }
    void SetOnGetVarValue(TfsGetVariableValueEvent event) { FOnGetVarValue = std::move(event); }
    const TfsRunLineEvent& OnRunLine() const { return FOnRunLine; }
    void SetOnRunLine(TfsRunLineEvent event);
    bool UseClassLateBinding() const { return FUseClassLateBinding; }
    void SetUseClassLateBinding(bool value) { FUseClassLateBinding = value; }

    // ---- the last compile error
    const QString& ErrorMsg() const { return FErrorMsg; }
    void SetErrorMsg(const QString& value) { FErrorMsg = value; }
    const QString& ErrorPos() const { return FErrorPos; }
    void SetErrorPos(const QString& value) { FErrorPos = value; }
    const QString& ErrorUnit() const { return FErrorUnit; }
    void SetErrorUnit(const QString& value) { FErrorUnit = value; }
    bool EvaluteRiseError() const { return FEvaluteRiseError; }

    // ---- state
    const void* AddedBy() const { return FAddedBy; }
    void SetAddedBy(const void* value) { FAddedBy = value; }
    TfsScript* Parent() const { return FParent; }
    void SetParent(TfsScript* value) { FParent = value; }
    TfsScript* ProgRunning() const { return FProgRunning; }
    void SetProgRunning(TfsScript* value) { FProgRunning = value; }
    bool MainProg() const { return FMainProg; }
    void SetMainProg(bool value) { FMainProg = value; }
    bool IsRunning() const { return FIsRunning; }
    void SetIsRunning(bool value) { FIsRunning = value; }
    // The stops may be set from another thread (Terminate): each is one bit of an atomic
    // word, read afresh at every test, and changed only by atomic operations so that the
    // running thread clearing its continue never wipes a termination set meanwhile.
    bool BreakCalled() const { return stops() & StopBreak; }
    void SetBreakCalled(bool value) { setStop(StopBreak, value); }
    bool ContinueCalled() const { return stops() & StopContinue; }
    void SetContinueCalled(bool value) { setStop(StopContinue, value); }
    bool ExitCalled() const { return stops() & StopExit; }
    void SetExitCalled(bool value) { setStop(StopExit, value); }
    bool Terminated() const { return stops() & StopTerminated; }
    void SetTerminated(bool value) { setStop(StopTerminated, value); }
    // Any of break, continue, exit and termination: what ends a statement list.
    bool AnyStop() const { return stops() != 0; }
    // What ends a loop after a turn: break, exit or termination.
    bool LoopEnds() const { return stops() & (StopBreak | StopExit | StopTerminated); }
    // What a procedure's script does when one of its activations starts or ends: exit
    // and termination cleared, running or not; a termination of the scope it was declared
    // in holds for it too, also when it comes while the activation starts.
    void SetActivation(bool running)
    {
        constexpr unsigned ended = StopExit | StopTerminated;
        if (stops() & ended)
            FStops.fetch_and(~ended);
        // After the clearing: a termination that set the scope's bit before this read set
        // ours after the clearing too, or is seen here.
        if (FParent && (FParent->FStops.load() & StopTerminated))
            FStops.fetch_or(ended);
        FIsRunning = running;
    }
    bool RTTIAdded() const { return FRTTIAdded; }
    // The main program, owned by the script.
    TfsStatement* Statement() const { return FStatement; }

    // The owner stamp of the items that RTTI modules add.
    static const void* RTTIMarker() { return reinterpret_cast<const void*>(1); }

    // True when some script of the process has a line handler: statements skip the line
    // notification altogether otherwise.
    static bool AnyRunLineHandler() { return RunLineHandlers > 0; }

private:
    // Plain pointers only, so that inserting into the sorted table moves memory and
    // nothing else.
    struct Entry {
        const QString* key; // the name in upper case: the item's own, or ownedKey
        orv::script::ScriptObject* object;
        TfsCustomVariable* variable; // the object as an item, nullptr for anything else
        QString* ownedKey;           // when the entry's name is not its item's name
        bool rtti;                   // an RTTI module, or an item an RTTI module added
    };
    static void releaseKey(Entry& e)
    {
        delete e.ownedKey;
        e.ownedKey = nullptr;
    }

    // Index of the first entry of the name (in upper case), or of where it would go.
    size_t lowerBound(QStringView folded) const;
    TfsCustomVariable* findFolded(QStringView folded) const;
    TfsCustomVariable* makeVariable(const QString& Name, const QString& Typ, const orv::script::Value& Value);
    TfsMethodHelper* addMethod(TfsMethodHelper* Method, const QString& Category, const QString& Description);
    void addEnumValues(const QString& Typ, const QString& Names, bool asSet);
    void eraseEntry(size_t index, bool free);
    void clearProgram();
    bool build(class TfsILParser& parser);

    const void* FAddedBy = nullptr;
    // BreakCalled, ContinueCalled, ExitCalled and Terminated, one bit each.
    enum : unsigned { StopBreak = 1, StopContinue = 2, StopExit = 4, StopTerminated = 8 };
    unsigned stops() const { return FStops.load(std::memory_order_relaxed); }
    void setStop(unsigned bit, bool on)
    {
        // Tested first: loops clear continue after every turn, mostly clear already.
        if (bool(stops() & bit) == on)
            return;
        if (on)
            FStops.fetch_or(bit);
        else
            FStops.fetch_and(~bit);
    }
    std::atomic<unsigned> FStops{0};
    QString FErrorMsg;
    QString FErrorPos;
    QString FErrorUnit;
    bool FExtendedCharset = false;
    std::vector<Entry> FItems;
    bool FIsRunning = false;
    QStringList FLines;
    bool FMainProg = false;
    TfsGetUnitEvent FOnGetILUnit;
    TfsGetUnitEvent FOnGetUnit;
    TfsRunLineEvent FOnRunLine;
    TfsGetVariableValueEvent FOnGetVarValue;
    TfsScript* FParent = nullptr;
    TfsScript* FProgRunning = nullptr;
    bool FRTTIAdded = false;
    TfsStatement* FStatement;
    QString FSyntaxType = QStringLiteral("VoriroVoreva");
    QHash<QString, QSet<QString>> FUnitLines;
    QStringList FIncludePath{QString()};
    bool FUseClassLateBinding = false;
    bool FEvaluteRiseError = false;
    quint64 FTableVersion = 0;

    static int RunLineHandlers;
};

// A source text cut into lines at CR LF, CR or LF; a final line end adds no empty line.
QStringList fsTextToLines(const QString& text);
// Lines joined into a source text, each ended by CR LF.
QString fsLinesToText(const QStringList& lines);

} // namespace orv::script
