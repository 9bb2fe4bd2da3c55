#pragma once
// Compiled report expressions: each distinct expression text becomes one generated
// function ("fr3f0", "fr3f1", ...) in a script of its own, whose parent is the script the
// expression is evaluated for, so that the names of the report's script resolve inside it.
// The function is compiled once and only looked up afterwards.
#include "script/core/script.h"
#include "script/core/value.h"

#include <QHash>
#include <QString>

#include <memory>

namespace orv::report {
// Compiles a script; a language that is not registered fails like any compile error, with
// its message in ErrorMsg, instead of raising.
bool compileScript(script::TfsScript& Script);
} // namespace orv::report

namespace orv::report {

class TfrxExpressionCache {
public:
    explicit TfrxExpressionCache(script::TfsScript* AScript);
    ~TfrxExpressionCache();
    TfrxExpressionCache(const TfrxExpressionCache&) = delete;
    TfrxExpressionCache& operator=(const TfrxExpressionCache&) = delete;

    // Forgets every expression and frees the generated functions.
    void Clear();
    // The value of Expression with AScript as the parent of the generated function; a
    // compile or run-time error gives Null and its message in ErrorMsg.
    orv::script::Value Calc(const QString& Expression, QString& ErrorMsg, script::TfsScript* AScript);

    const QString& ScriptLanguage() const { return m_scriptLanguage; }
    void SetScriptLanguage(const QString& v) { m_scriptLanguage = v; }
    // Off (the default), texts that differ only in letters A-Z share one function.
    bool CaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool v);
    int Count() const { return int(m_functions.size()); }
    script::TfsScript* Script() const { return m_script.get(); }

    // The source of generated function N in a language; empty for a language that has
    // no such form.
    static QString functionSource(const QString& Language, int N, const QString& Expression);

private:
    QString key(const QString& Expression) const;

    script::TfsScript* m_mainScript;
    std::unique_ptr<script::TfsScript> m_script;
    QHash<QString, script::TfsCustomVariable*> m_functions;
    QString m_scriptLanguage = QStringLiteral("VoriroVoreva");
    bool m_caseSensitive = false;
};

} // namespace orv::report
