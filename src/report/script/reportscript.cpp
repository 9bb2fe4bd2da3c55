// The report's script: what PrepareScript gives every script and expression of the
// report, the evaluation of expressions through the expression cache, the script
// functions Get, Set and the aggregates, and the script events of objects.
#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/resources.h"
#include "report/base/variables.h"
#include "report/model/bands.h"
#include "report/model/report.h"
#include "report/model/views.h"
#include "report/script/expressioncache.h"
#include "script/core/objects.h"
#include "script/core/script.h"

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

using orv::report::Value;

namespace {

// The report's functions, declared on every preparation. The aggregates are macro
// functions: they receive the texts of their arguments and evaluate them themselves.
constexpr const char16_t* AggregateDeclarations[] = {
    u"macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant",
    u"macrofunction SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
    u"macrofunction AVG(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
    u"macrofunction MIN(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
    u"macrofunction MAX(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
    u"macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant",
};

// Resets the script's added-by mark however PrepareScript ends.
struct AddedByMark {
    TfsScript* script;
    explicit AddedByMark(TfsScript* s, const void* owner) : script(s) { script->SetAddedBy(owner); }
    ~AddedByMark() { script->SetAddedBy(nullptr); }
};

Value oneElementArray(const Value& v)
{
    Value params = Value::createArray({{0, 0}});
    params.elementRef({0}) = v;
    return params;
}

// Fills the "%s" places of a resource text in order.
QString formatTexts(QString format, std::initializer_list<QString> texts)
{
    qsizetype from = 0;
    for (const QString& t : texts) {
        const qsizetype at = format.indexOf(QStringLiteral("%s"), from);
        if (at < 0)
            break;
        format.replace(at, 2, t);
        from = at + t.size();
    }
    return format;
}

} // namespace

bool TfrxReport::PrepareScript()
{
    m_expressionCache->Clear();
    m_expressionCache->SetScriptLanguage(m_scriptLanguage);
    m_engine->NotifyList.clear();
    m_script->ClearItems(this);
    // Everything added from here on, the compiled routines and variables too, is the
    // report's: the next preparation removes it.
    AddedByMark mark(m_script.get(), this);
    {
        m_script->SetMainProg(true);
        for (TfrxComponent* c : AllObjects()) {
            c->SetIsDesigning(false);
            c->BeforeStartReport();
            if (auto* picture = dynamic_cast<TfrxPictureView*>(c))
                picture->PictureChanged = true;
            m_script->AddObject(c->Name(), c);
        }
        m_script->AddObject(QStringLiteral("Report"), this);
        m_script->AddObject(QStringLiteral("Engine"), m_engine.get());
        m_script->AddObject(QStringLiteral("Outline"), m_previewPages->Outline());
        m_script->AddVariable(QStringLiteral("Value"), QStringLiteral("Variant"), Value::null());
        m_script->AddVariable(QStringLiteral("Self"), QStringLiteral("TfrxView"), Value::null());
        m_script->AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                            [this](TfsObject, TfsClass, const QString&, TfsMethodHelper* Caller) {
                                return scriptGet(Caller->GetVParam(0).toString());
                            });
        m_script->AddMethod(QStringLiteral("procedure Set(Name: String; Value: Variant)"),
                            [this](TfsObject, TfsClass, const QString&, TfsMethodHelper* Caller) {
                                m_variables->SetVariable(Caller->GetVParam(0).toString(),
                                                         orv::report::toVariant(Caller->GetVParam(1)));
                                return Value::null();
                            });
        for (const char16_t* declaration : AggregateDeclarations)
            m_script->AddMethod(QString::fromUtf16(declaration),
                                [this](TfsObject, TfsClass, const QString& Name, TfsMethodHelper* Caller) {
                                    return aggregate(Name, Caller);
                                });
    }
    // "Value" and "Self" live in the script: the report reads and writes them there.
    m_localValueItem = m_script->Find(QStringLiteral("Value"));
    m_selfValueItem = m_script->Find(QStringLiteral("Self"));
    m_script->SetLines(m_scriptText->lines());
    m_script->SetSyntaxType(m_scriptLanguage);
    const bool compiled = orv::report::compileScript(*m_script);
    if (!compiled)
        m_errors->Add(formatTexts(frxStringResources()->Get(QStringLiteral("clScrError")),
                                  {m_script->ErrorPos(), m_script->ErrorMsg()}));
    return compiled;
}

Value TfrxReport::Calc(const QString& Expr, TfsScript* AScript, bool FromScript)
{
    if (!AScript)
        AScript = m_script.get();
    Value result;
    if (LookupValue(Expr, result))
        return result;
    QString error;
    result = m_expressionCache->Calc(Expr, error, AScript);
    if (error.isEmpty())
        return result;
    if (error == orv::script::floatDivisionByZeroText() && m_engineOptions->IgnoreDevByZero())
        return result;
    if (FromScript)
        throw orv::report::Error(frxStringResources()->Get(QStringLiteral("clErrorInExp")) + error);
    const QString message = CurObject.isEmpty() ? error : CurObject + QStringLiteral(": ") + error;
    m_errors->Add(message);
    throw orv::report::Error(message);
}

void TfrxReport::AddFunction(const QString& FuncName, const QString& Category, const QString& Description)
{
    // Not marked as the report's: PrepareScript keeps it.
    m_script->SetAddedBy(nullptr);
    m_script->AddMethod(
        FuncName,
        [this](TfsObject, TfsClass, const QString& Name, TfsMethodHelper* Caller) -> Value {
            if (!OnUserFunction)
                return Value();
            QVariantList params;
            for (int i = 0; i < Caller->Count(); ++i)
                params << orv::report::toVariant(Caller->GetVParam(i));
            const QVariant result = OnUserFunction(Name, params);
            for (int i = 0; i < Caller->Count() && i < params.size(); ++i)
                if (Caller->GetParam(i)->IsVarParam())
                    Caller->SetVParam(i, orv::report::toValue(params[i]));
            return orv::script::variantToValue(result);
        },
        Category, Description);
}

bool TfrxReport::CaseSensitiveExpressions() const { return m_expressionCache->CaseSensitive(); }

void TfrxReport::SetCaseSensitiveExpressions(bool Value) { m_expressionCache->SetCaseSensitive(Value); }

const Value& TfrxReport::LocalValue() const
{
    static const Value none = Value::null();
    return m_localValueItem ? *m_localValueItem->PValue() : none;
}

void TfrxReport::SetLocalValue(const Value& Value)
{
    if (m_localValueItem)
        m_localValueItem->SetValue(Value);
}

TfrxView* TfrxReport::SelfValue() const
{
    if (!m_selfValueItem)
        return nullptr;
    orv::platform::rtti::Object* obj = nullptr;
    if (!orv::script::tryValueObject(m_selfValueItem->GetValue(), obj))
        return nullptr;
    return dynamic_cast<TfrxView*>(obj);
}

void TfrxReport::SetSelfValue(TfrxView* Value)
{
    if (m_selfValueItem)
        m_selfValueItem->SetValue(orv::script::objectValue(Value));
}

Value TfrxReport::scriptGet(const QString& Name)
{
    Value result;
    if (LookupValue(Name, result))
        return result;
    const qsizetype paren = Name.indexOf(u'(');
    if (paren >= 0) {
        const QString function = orv::platform::upperAZ(orv::platform::trimmed(Name.left(paren)));
        static const QStringList aggregates{QStringLiteral("SUM"), QStringLiteral("MIN"), QStringLiteral("MAX"),
                                            QStringLiteral("AVG"), QStringLiteral("COUNT")};
        if (aggregates.contains(function))
            return Calc(Name);
    }
    m_errors->Add(frxStringResources()->Get(QStringLiteral("clUnknownVar")) + u' ' + Name);
    return Value::null();
}

Value TfrxReport::aggregate(const QString& Function, TfsMethodHelper* Caller)
{
    TfsScript* running = m_script->ProgRunning() ? m_script->ProgRunning() : m_script.get();
    auto text = [Caller](int i) { return i < Caller->Count() ? Caller->GetVParam(i).toString() : QString(); };
    if (Function == QLatin1String("IIF")) {
        try {
            const Value condition = Calc(text(0), running);
            bool isTrue = false;
            try {
                isTrue = orv::script::equals(condition, Value(true));
            } catch (const orv::platform::Exception&) {
            }
            return Calc(text(isTrue ? 1 : 2), running);
        } catch (const orv::platform::Exception&) {
        }
        return Value::null();
    }
    const bool count = Function == QLatin1String("COUNT");
    const int first = count ? 0 : 1;
    auto argument = [&](int i) {
        const QString t = orv::platform::trimmed(text(i));
        return t.isEmpty() ? Value(0) : Calc(t, running);
    };
    const Value band = argument(first);
    const Value flags = argument(first + 1);
    orv::platform::rtti::Object* bandObject = nullptr;
    orv::script::tryValueObject(band, bandObject);
    return orv::report::toValue(m_engine->GetAggregateValue(Function, count ? QString() : text(0),
                                                            dynamic_cast<TfrxBand*>(bandObject), flags.toInt()));
}

// ---------------------------------------------------------------- events

void TfrxReport::SetTerminated(bool Value)
{
    m_terminated = Value;
    // Stops a running script; cleared, the next run must not stop at once.
    if (Value)
        m_script->Terminate();
    else
        m_script->SetTerminated(false);
}

void TfrxReport::DoNotifyEvent(orv::platform::rtti::Object* Obj, const QString& EventName, bool RunAlways)
{
    if (EventName.isEmpty() || !(RunAlways || m_engine->Running))
        return;
    m_script->CallFunction(EventName, oneElementArray(orv::script::objectValue(Obj)), false);
}

void TfrxReport::DoParamEvent(const QString& EventName, QVariantList& Params, bool RunAlways)
{
    if (EventName.isEmpty() || !(RunAlways || m_engine->Running))
        return;
    Value params = Value::createArray({{0, int(Params.size()) - 1}});
    for (int i = 0; i < Params.size(); ++i)
        params.elementRef({i}) = orv::script::variantToValue(Params[i]);
    m_script->CallFunction1(EventName, params, false);
    for (int i = 0; i < Params.size(); ++i)
        Params[i] = orv::script::valueToVariant(params.element({i}));
}

} // namespace orv::report
