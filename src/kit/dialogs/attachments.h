#pragma once
// The attachment folder "Documenti_Allegati" of the program folder: one flat folder of
// copies shared by every record of the customer, contract, job-sheet and warehouse
// archives, each record naming its copies by their bare file names. These operations work
// without the window; the attach-file window asks its questions between them.
#include <QString>

namespace orv::kit {

// The folder, with its trailing separator.
QString attachmentFolder();
// The bare name (name and extension) of a chosen file's path.
QString attachmentName(const QString& chosenPath);
// Whether a record can keep the name and find its copy again: Windows-1252 text of at
// most 250 characters without leading or trailing blanks or control characters, and a
// bare file name (not "." or "..", no path separator).
bool storableAttachmentName(const QString& name);
// The copy of that name exists in the folder.
bool attachmentExists(const QString& name);
// The chosen file is itself the copy of that name (picked from inside the folder, or a
// link to it).
bool isStoredCopy(const QString& chosenPath, const QString& name);

enum class CopyResult { Copied, AlreadyThere, Failed };
// Creates the folder when missing and copies the chosen file as `name`, replacing an
// existing copy in one step (a failed copy leaves the old copy as it was). A file that
// already is the copy is left alone.
CopyResult copyAttachment(const QString& chosenPath, const QString& name);

// What "Apri" hands to the shell: the quoted path of the copy, or the empty text when
// the name is empty or not a bare file name.
QString attachmentOpenCommand(const QString& name);

} // namespace orv::kit
