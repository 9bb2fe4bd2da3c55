#include "archive/command.h"

namespace orv::archive {
using namespace orv::platform;
} // namespace orv::archive

namespace orv::archive {

MessageKind AccessMessageKinds::of(EditorCommand c) const
{
    switch (c) {
    case EditorCommand::New: return newCard;
    case EditorCommand::Save: return save;
    case EditorCommand::Duplicate: return duplicate;
    case EditorCommand::First: return first;
    case EditorCommand::Previous: return previous;
    case EditorCommand::Next: return next;
    case EditorCommand::Last: return last;
    }
    return MessageKind::Error;
}

AccessMessageKinds AccessMessageKinds::customers() { return {}; }

AccessMessageKinds AccessMessageKinds::contracts()
{
    AccessMessageKinds k;
    k.first = k.save = MessageKind::Warning;
    return k;
}

AccessMessageKinds AccessMessageKinds::jobSheets() { return contracts(); }

AccessMessageKinds AccessMessageKinds::warehouse()
{
    const MessageKind w = MessageKind::Warning;
    return {w, w, w, w, w, w, w};
}

AccessMessageKinds AccessMessageKinds::schedule() { return {}; }

AccessMessageKinds AccessMessageKinds::quotesAndDeliveries() { return contracts(); }

QString archiveFailureMessage(const std::exception& failure)
{
    const auto* archive = dynamic_cast<const ArchiveError*>(&failure);
    if (archive && archive->inUse())
        return kArchiveInUseMessage;
    return archive && archive->diskFull() ? kArchiveDiskFullMessage : kArchiveAccessMessage;
}

bool runArchiveCommand(const QString& path, qint64 recordSize, MessageService* messages,
                       MessageKind kind, const std::function<void(ArchiveFile&)>& body)
{
    try {
        ArchiveFile file(path, recordSize);
        file.open();
        body(file); // the destructor closes the file when the body fails
        file.close();
        return true;
    } catch (const std::exception& e) {
        if (messages)
            messages->show(kind, archiveFailureMessage(e));
        return false;
    }
}

std::optional<QString> runArchiveCommandTold(const QString& path, qint64 recordSize,
                                             const std::function<void(ArchiveFile&)>& body)
{
    try {
        ArchiveFile file(path, recordSize);
        file.open();
        body(file);
        file.close();
        return std::nullopt;
    } catch (const std::exception& e) {
        return archiveFailureMessage(e);
    }
}

bool runArchiveCommandSilently(const QString& path, qint64 recordSize,
                               const std::function<void(ArchiveFile&)>& body)
{
    return runArchiveCommand(path, recordSize, nullptr, MessageKind::Error, body);
}

} // namespace orv::archive
