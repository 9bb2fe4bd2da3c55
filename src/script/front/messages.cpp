#include "script/front/messages.h"

#include <array>

namespace orv::script {

namespace {

std::array<QString, fsMessageCount> defaultMessages()
{
    return {
        QStringLiteral("Language '%s' not found"),
        QStringLiteral("Invalid language definition"),
        QStringLiteral("Identifier redeclared: "),
        QStringLiteral("Unknown type: "),
        QStringLiteral("Incompatible types"),
        QStringLiteral("Undeclared identifier: "),
        QStringLiteral("Class type required"),
        QStringLiteral("Index required"),
        // The engine's own wording; the report engine's resources replace it at start.
        QStringLiteral("Strings doesn't have properties or methods"),
        QStringLiteral("Class %s does not have a default property"),
        QStringLiteral("Array type required"),
        QStringLiteral("Variable required"),
        QStringLiteral("Not enough actual parameters"),
        QStringLiteral("Too many actual parameters"),
        QStringLiteral("Left side cannot be assigned to"),
        QStringLiteral("For loop variable must be numeric variable"),
        QStringLiteral("Event handler must be a procedure"),
    };
}

std::array<QString, fsMessageCount>& messages()
{
    static std::array<QString, fsMessageCount> texts = defaultMessages();
    return texts;
}

} // namespace

const QString& fsMessage(TfsMessage id)
{
    return messages()[size_t(id)];
}

void fsSetMessage(TfsMessage id, const QString& text)
{
    messages()[size_t(id)] = text;
}

QString fsMessageFormat(TfsMessage id, const QString& arg)
{
    QString text = fsMessage(id);
    return text.replace(QStringLiteral("%s"), arg);
}

void fsResetMessages()
{
    messages() = defaultMessages();
}

} // namespace orv::script
