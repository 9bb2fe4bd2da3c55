#pragma once
// The script compiler's seventeen message texts. They are process-wide and replaceable:
// the report engine copies its string resources over them at start, and every message
// is read at the moment it is raised.
#include <QString>

namespace orv::script {

enum class TfsMessage {
    SLangNotFound,      // "%s" is the language name
    SInvalidLanguage,
    SIdRedeclared,
    SUnknownType,
    SIncompatibleTypes,
    SIdUndeclared,
    SClassRequired,
    SIndexRequired,
    SStringError,
    SClassError,        // "%s" is the class name
    SArrayRequired,
    SVarRequired,
    SNotEnoughParams,
    STooManyParams,
    SLeftCantAssigned,
    SForError,
    SEventError,
};
inline constexpr int fsMessageCount = 17;

// The current text of a message.
const QString& fsMessage(TfsMessage id);
// Replaces a message text for the rest of the process.
void fsSetMessage(TfsMessage id, const QString& text);
// The message with its "%s" replaced by `arg`.
QString fsMessageFormat(TfsMessage id, const QString& arg);
// Restores the engine's own defaults (start-up state; tests).
void fsResetMessages();

} // namespace orv::script

namespace orv::script {

// Texts the parser itself reports besides the grammar's own error texts: a parse that
// fails without naming an error, and source nested deeper than the parser follows.
inline QString statementExpectedText() { return QStringLiteral("Statement expected"); }
inline QString nestingTooDeepText() { return QStringLiteral("Nesting too deep"); }
// An expression whose operator tree grows deeper than the engine evaluates.
inline QString expressionTooComplexText() { return QStringLiteral("Expression too complex"); }

} // namespace orv::script
