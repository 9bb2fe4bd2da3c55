#pragma once
// Running small programs in tests: every program runs twice, through its compiled form
// and through its statement objects, and both must agree.
#include <QString>
#include <functional>
#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "print.h"
#include "script/core/script.h"
#include "script/core/vm.h"

namespace scripttest {

using orv::script::Value;

// A value as the tables write it: Null and Empty by name, anything else as its text.
inline QString describe(const Value& v)
{
    if (v.isNull())
        return QStringLiteral("Null");
    if (v.isEmpty())
        return QStringLiteral("Empty");
    if (v.isArray())
        return QStringLiteral("Array");
    return v.toString();
}

struct Outcome {
    bool compiled = false;
    QString error;    // compile error text
    QString pos;      // its position
    QString raised;   // message of a run-time error that reached the host
    QString raisedAt; // the position the script gave the host for it
    QString result;   // the variable asked for, described
    bool operator==(const Outcome&) const = default;
};

inline void PrintTo(const Outcome& o, std::ostream* os)
{
    *os << "{compiled " << o.compiled << ", error \"" << o.error.toStdString() << "\" at " << o.pos.toStdString()
        << ", raised \"" << o.raised.toStdString() << "\" at " << o.raisedAt.toStdString() << ", result \"" << o.result.toStdString() << "\"}";
}

// Prepares a script before its source is compiled (registrations of a test).
using Setup = std::function<void(orv::script::TfsScript&)>;

inline Outcome runOnce(const QString& source, const QString& resultVar, const Setup& setup, bool compiled)
{
    orv::script::vm::setEnabled(compiled);
    Outcome o;
    orv::script::TfsScript script;
    script.AddRTTI();
    if (setup)
        setup(script);
    script.SetLines(orv::script::fsTextToLines(source));
    o.compiled = script.Compile();
    o.error = script.ErrorMsg();
    o.pos = script.ErrorPos();
    if (o.compiled) {
        try {
            script.Execute();
        } catch (const orv::platform::Exception& e) {
            o.raised = e.message();
            o.raisedAt = script.ErrorPos();
            EXPECT_EQ(script.ErrorMsg(), e.message()) << source.toStdString();
        }
        if (!resultVar.isEmpty())
            o.result = describe(script.Variables(resultVar));
    }
    orv::script::vm::setEnabled(true);
    return o;
}

// Compiles and runs the program; the result is the variable resultVar afterwards.
inline Outcome run(const QString& source, const QString& resultVar = QStringLiteral("r"), const Setup& setup = {})
{
    const Outcome fast = runOnce(source, resultVar, setup, true);
    const Outcome plain = runOnce(source, resultVar, setup, false);
    EXPECT_EQ(fast, plain) << "compiled and plain running differ for: " << source.toStdString();
    return fast;
}

inline QString q(const char* s)
{
    return QString::fromUtf8(s);
}

// Runs a program of the given language; the result is its r.
inline Outcome runIn(const char* language, const char* source)
{
    return run(q(source), QStringLiteral("r"),
               [&](orv::script::TfsScript& s) { s.SetSyntaxType(QString::fromLatin1(language)); });
}

// The same for a program that must compile.
inline Outcome runCompiledIn(const char* language, const char* source)
{
    const Outcome o = runIn(language, source);
    EXPECT_TRUE(o.compiled) << source << ": " << o.error.toStdString() << " at " << o.pos.toStdString();
    return o;
}

// The program leaves `result` in r, and no error reaches the host.
inline void expectResult(const char* language, const char* source, const char* result)
{
    const Outcome o = runCompiledIn(language, source);
    EXPECT_EQ(o.raised, QString()) << source;
    EXPECT_EQ(o.result, q(result)) << language << ": " << source;
}

} // namespace scripttest
