#pragma once
// The built-in functions: the first RTTI module of every script. It registers the basic
// type names, the constants True, False, nil and Null, the two shared indexing helpers,
// the exception variables, the conversion, format, date, string, mathematical and other
// functions, and the constants naming the value type codes.
#include <QString>
#include <functional>

#include "script/core/script.h"

namespace orv::script {

class TfsSysFunctions : public TfsRTTIModule {
public:
    explicit TfsSysFunctions(TfsScript* AScript);

private:
    QString FCatConv = QStringLiteral("ctConv");
    QString FCatDate = QStringLiteral("ctDate");
    QString FCatFormat = QStringLiteral("ctFormat");
    QString FCatMath = QStringLiteral("ctMath");
    QString FCatOther = QStringLiteral("ctOther");
    QString FCatStr = QStringLiteral("ctString");
};

} // namespace orv::script

namespace orv::script {

// Where ShowMessage shows its text: the program installs its modal message box at start;
// without a handler the call does nothing (no window system).
using MessageHandler = std::function<void(const QString& text)>;
void setShowMessageHandler(MessageHandler handler);

} // namespace orv::script
