#pragma once
// The frame every archive command runs in, and the message service it reports through.
#include <QString>

#include <exception>
#include <functional>
#include <optional>

#include "platform/core/archivefile.h"

namespace orv::archive {

enum class MessageKind {
    Warning,      // OK and Cancel; a failed check, texts begin "Attenzione:"
    Error,        // OK and Cancel; a failed archive command
    Information,  // OK and Cancel; a completed operation, an empty archive
    Confirmation, // Yes and No; No abandons the operation
    Plain,        // OK only
};

enum class MessageButton { Ok, Cancel, Yes, No };

// Modal message boxes. The window layer supplies the real one, tests a recording double.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MessageButton show(MessageKind kind, const QString& text) = 0;
};

// The archive-access message. Its paragraphs are separated by "\n\r\n\r".
inline const QString kArchiveAccessMessage = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
    "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del "
    "programma.");
// In place of the archive-access message when the write failed for want of room.
inline const QString kArchiveDiskFullMessage = QStringLiteral(
    "Attenzione: il sistema non permette di scrivere nell'archivio perch\u00e9 il disco \u00e8 pieno.\n\r\n\r"
    "Liberare spazio sul disco che contiene la cartella di installazione del programma e "
    "ripetere l'operazione.");
// In place of the archive-access message when another workstation held the archive past
// the bounded wait: nothing was read or written.
inline const QString kArchiveInUseMessage = QStringLiteral(
    "Attenzione: l'archivio \u00e8 in uso da un'altra postazione di lavoro.\n\r\n\r"
    "L'operazione non \u00e8 stata eseguita: attendere qualche istante e ripeterla.");
// The message for a failed archive command: the full-disk message when the disk is full,
// the in-use message when another workstation held the archive, the archive-access
// message for every other failure.
QString archiveFailureMessage(const std::exception& failure);
inline const QString kEmptyArchiveMessage = QStringLiteral("L'archivio non contiene nessuna scheda.");

// The editor commands that reach an archive.
enum class EditorCommand { New, Save, Duplicate, First, Previous, Next, Last };

// The kind of box each editor shows its archive-access message in, by command.
struct AccessMessageKinds {
    MessageKind newCard = MessageKind::Error;
    MessageKind save = MessageKind::Error;
    MessageKind duplicate = MessageKind::Error;
    MessageKind first = MessageKind::Error;
    MessageKind previous = MessageKind::Error;
    MessageKind next = MessageKind::Error;
    MessageKind last = MessageKind::Error;

    MessageKind of(EditorCommand c) const;

    // The seven editors of the program.
    static AccessMessageKinds customers();          // every command an error box
    static AccessMessageKinds contracts();          // First and Save warnings
    static AccessMessageKinds jobSheets();          // First and Save warnings
    static AccessMessageKinds warehouse();          // every command a warning box
    static AccessMessageKinds schedule();           // every command an error box
    static AccessMessageKinds quotesAndDeliveries(); // First and Save warnings
};

// Opens the archive at `path` (created empty when missing), runs `body` on it and closes
// it, also when the body fails. Any failure shows archiveFailureMessage() in a box of
// `kind` (no box when `messages` is null) and returns false.
bool runArchiveCommand(const QString& path, qint64 recordSize, MessageService* messages,
                       MessageKind kind, const std::function<void(platform::ArchiveFile&)>& body);
// The same, handing the failure's message to the caller, which shows it in its own box;
// nothing when the command succeeded.
std::optional<QString> runArchiveCommandTold(const QString& path, qint64 recordSize,
                                             const std::function<void(platform::ArchiveFile&)>& body);
// The same without a message: for lists that stay silent when their archive fails.
bool runArchiveCommandSilently(const QString& path, qint64 recordSize,
                               const std::function<void(platform::ArchiveFile&)>& body);

} // namespace orv::archive
