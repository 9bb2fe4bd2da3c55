#include "kit/dialogs/attachments.h"

#include "platform/core/cp1252.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

namespace orv::kit {
using namespace orv::platform;
} // namespace orv::kit

namespace orv::kit {

namespace {

constexpr int kStoredNameLength = 250;  // the record fields File01 to File03

bool bareName(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(QLatin1Char('/')) &&
           !name.contains(QChar(0));
}

std::filesystem::path fsPath(const QString& p) { return std::filesystem::path(QFile::encodeName(p).toStdString()); }

} // namespace

QString attachmentFolder() { return programFile(QStringLiteral("Documenti_Allegati/")); }

QString attachmentName(const QString& chosenPath) { return QFileInfo(chosenPath).fileName(); }

bool storableAttachmentName(const QString& name)
{
    return bareName(name) && name.size() <= kStoredNameLength && trimmed(name) == name && platform::cp1252::canEncode(name);
}

bool attachmentExists(const QString& name) { return bareName(name) && QFileInfo::exists(attachmentFolder() + name); }

bool isStoredCopy(const QString& chosenPath, const QString& name)
{
    std::error_code ec;
    return attachmentExists(name) && std::filesystem::equivalent(fsPath(chosenPath), fsPath(attachmentFolder() + name), ec);
}

CopyResult copyAttachment(const QString& chosenPath, const QString& name)
{
    if (!bareName(name)) return CopyResult::Failed;
    // Copying a file onto itself would empty it: the copy is already where it belongs.
    if (isStoredCopy(chosenPath, name)) return CopyResult::AlreadyThere;
    if (!QDir().mkpath(attachmentFolder())) return CopyResult::Failed;
    QFile source(chosenPath);
    if (!source.open(QIODevice::ReadOnly)) return CopyResult::Failed;
    QSaveFile target(attachmentFolder() + name);
    if (!target.open(QIODevice::WriteOnly)) return CopyResult::Failed;
    QByteArray block;
    while (!(block = source.read(1 << 20)).isEmpty()) {
        if (target.write(block) != block.size()) {
            target.cancelWriting();
            return CopyResult::Failed;
        }
    }
    if (source.error() != QFileDevice::NoError) {
        target.cancelWriting();
        return CopyResult::Failed;
    }
    return target.commit() ? CopyResult::Copied : CopyResult::Failed;
}

QString attachmentOpenCommand(const QString& name)
{
    const QString n = trimmed(name);
    if (!bareName(n)) return {};
    return QLatin1Char('"') + attachmentFolder() + n + QLatin1Char('"');
}

} // namespace orv::kit
