#include "report/script/expressioncache.h"

#include "platform/core/text.h"
#include "report/base/resources.h"

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

using orv::script::Value;

bool compileScript(TfsScript& Script)
{
    try {
        return Script.Compile();
    } catch (const orv::platform::Exception& e) {
        Script.SetErrorMsg(e.message());
        Script.SetErrorPos(QString());
        return false;
    }
}

TfrxExpressionCache::TfrxExpressionCache(TfsScript* AScript)
    : m_mainScript(AScript), m_script(std::make_unique<TfsScript>())
{
    m_script->SetExtendedCharset(true);
}

TfrxExpressionCache::~TfrxExpressionCache() = default;

void TfrxExpressionCache::Clear()
{
    m_functions.clear();
    m_script->Clear();
}

void TfrxExpressionCache::SetCaseSensitive(bool v)
{
    if (v == m_caseSensitive)
        return;
    m_caseSensitive = v;
    // The keys change their form: rebuild them, keeping the first function of texts that
    // now fall together.
    QHash<QString, TfsCustomVariable*> rekeyed;
    for (auto it = m_functions.cbegin(); it != m_functions.cend(); ++it)
        rekeyed.insert(key(it.key()), it.value());
    m_functions = std::move(rekeyed);
}

QString TfrxExpressionCache::key(const QString& Expression) const
{
    return m_caseSensitive ? Expression : orv::platform::upperAZ(Expression);
}

QString TfrxExpressionCache::functionSource(const QString& Language, int N, const QString& Expression)
{
    const QString name = QStringLiteral("fr3f") + QString::number(N);
    if (orv::platform::sameTextAZ(Language, QStringLiteral("VoriroVoreva")))
        return QStringLiteral("function ") + name + QStringLiteral(": Variant; begin Result := ") + Expression +
               QStringLiteral(" end; begin end.");
    if (orv::platform::sameTextAZ(Language, QStringLiteral("Z++Ovuvir")))
        return QStringLiteral("Variant ") + name + QStringLiteral("() { return ") + Expression +
               QStringLiteral("; } {}");
    if (orv::platform::sameTextAZ(Language, QStringLiteral("RadivEdurav")))
        return QStringLiteral("function ") + name + QStringLiteral("\r\nreturn ") + Expression +
               QStringLiteral("\r\nend function");
    if (orv::platform::sameTextAZ(Language, QStringLiteral("JScript")))
        return QStringLiteral("function ") + name + QStringLiteral("() { return ") + Expression + QStringLiteral("; }");
    return QString();
}

Value TfrxExpressionCache::Calc(const QString& Expression, QString& ErrorMsg, TfsScript* AScript)
{
    ErrorMsg.clear();
    m_script->SetParent(AScript);
    const QString k = key(Expression);
    TfsCustomVariable* function = m_functions.value(k);
    if (!function) {
        const int n = int(m_functions.size());
        m_script->SetSyntaxType(m_scriptLanguage);
        const QString source = functionSource(m_scriptLanguage, n, Expression);
        // A language without a function form keeps the last source; its compile fails on
        // the unknown language.
        if (!source.isEmpty())
            m_script->SetLines(fsTextToLines(source));
        const QString name = QStringLiteral("fr3f") + QString::number(n);
        const bool compiled = orv::report::compileScript(*m_script);
        TfsCustomVariable* item = m_script->FindLocal(name);
        if (!compiled || !item) {
            if (item) {
                m_script->Remove(item);
                delete item;
            }
            ErrorMsg = frxStringResources()->Get(QStringLiteral("clExprError")) + QStringLiteral(" '") + Expression +
                       QStringLiteral("': ") + m_script->ErrorMsg();
            return Value::null();
        }
        m_functions.insert(k, item);
        function = item;
    }

    // The generated function runs as a routine, not as the main program of the report's
    // script, whatever it calls back into.
    struct MainProgFlag {
        TfsScript* s;
        bool was;
        ~MainProgFlag()
        {
            if (s)
                s->SetMainProg(was);
        }
    } flag{m_mainScript, m_mainScript && m_mainScript->MainProg()};
    if (m_mainScript)
        m_mainScript->SetMainProg(false);
    try {
        return function->GetValue();
    } catch (const orv::platform::Exception& e) {
        ErrorMsg = e.message();
    }
    return Value::null();
}

} // namespace orv::report
