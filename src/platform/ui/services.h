#pragma once
// The services that tests replace: message and input boxes, the file-open dialog, handing
// a file, mail text or web address to the desktop, the modal show of a window and the
// sound player. Each
// is a small interface with the real implementation installed by default; tests install
// recording doubles (tests/support/gui). The clock and the program folder live in
// platform/core/services.h.
#include <QString>

#include <optional>

class QFileDialog;

namespace orv::platform::ui {

class Form;

// Results of a modal window or a message box.
enum ModalResult : int {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
    mrNo = 7,
};

enum class MsgType { Warning, Error, Information, Confirmation };

// Buttons of a message box, as a set.
enum MsgButton : unsigned { mbYes = 1, mbNo = 2, mbOk = 4, mbCancel = 8 };
using MsgButtons = unsigned;

class MessageService {
public:
    virtual ~MessageService() = default;
    // A modal box of the given kind; the text is shown exactly as given (line breaks of
    // any style included). Returns the ModalResult of the button that closed it.
    virtual int messageDlg(const QString& text, MsgType type, MsgButtons buttons) = 0;
    // The plain box with an OK button.
    virtual void showMessage(const QString& text) = 0;
    // Input box: caption, prompt and default text; the text typed, or the default when
    // cancelled.
    virtual QString inputBox(const QString& caption, const QString& prompt,
                             const QString& defaultText) = 0;
    // Input query: true when confirmed, and then `value` holds the text typed.
    virtual bool inputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
};

struct OpenFileRequest {
    QString title;
    // Filter in the "Description|*.bmp;*.jpg|All files|*.*" form of the windows.
    QString filter;
    QString initialDir;
    QString fileName;
};

struct SaveFileRequest {
    QString title;
    // Filter in the "Description|*.pdf" form of the windows.
    QString filter;
    // Added to a name typed without an extension (".pdf").
    QString defaultExt;
    QString initialDir;
    QString fileName;
    // Ask before replacing an existing file.
    bool overwritePrompt = false;
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen file's full path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> openFile(const OpenFileRequest& request) = 0;
    // The file to write, or nothing when the dialog was cancelled. A service that offers
    // no save dialog answers as if it had been cancelled.
    virtual std::optional<QString> saveFile(const SaveFileRequest& request) { return std::nullopt; }
};

class ShellService {
public:
    virtual ~ShellService() = default;
    // Hands the command text, as the program built it (a quoted file path, a quoted
    // "mailto:" text or a web address), to the desktop to open. Returns at once and
    // reports nothing.
    virtual void open(const QString& command) = 0;
};

class ModalService {
public:
    virtual ~ModalService() = default;
    // Shows the form modally and returns its modal result when it has closed.
    virtual int showModal(Form& form) = 0;
};

// Plays a sound file (the schedule's reminder "Avviso.mp3") once, without waiting for it.
class SoundService {
public:
    virtual ~SoundService() = default;
    // Loads the file and starts playing it once from its beginning, replacing a sound
    // still playing. False, and nothing plays, when the file is missing or unreadable.
    virtual bool play(const QString& path) = 0;
    // True while a sound is loaded: from a successful play() until stop().
    virtual bool loaded() const = 0;
    // Stops the sound and unloads it; nothing happens when none is loaded.
    virtual void stop() = 0;
};

// The services in use; the setters install a replacement (not owned), nullptr restores
// the real one.
MessageService& messages();
void setMessages(MessageService* s);
FileDialogService& fileDialog();
void setFileDialog(FileDialogService* s);
// A window's filter ("Immagini|*.bmp;*.jpg|Tutti i file (*.*)|*.*") as Qt's name filters:
// "Immagini (*.bmp *.jpg);;Tutti i file (*.*) (*)". "*.*" matches every file, names
// without a dot included, as it does in the windows.
QString qtFileFilter(const QString& filter);
// The filter on a Qt file dialog, each description shown exactly as the window wrote it.
void applyFileFilter(QFileDialog& dialog, const QString& filter);
ShellService& shell();
void setShell(ShellService* s);
ModalService& modal();
void setModal(ModalService* s);
SoundService& sound();
void setSound(SoundService* s);

// The message-box kinds of the windows.
// Warning, error and information: buttons OK and Cancel; the answer is not used.
void warningBox(const QString& text);
void errorBox(const QString& text);
void informationBox(const QString& text);
// Confirmation with Yes and No: true unless the answer is No.
bool confirmBox(const QString& text);
// The plain box with OK.
void showMessage(const QString& text);

// A file-open dialog as the windows hold one (`dlgApri`): filter, title and initial
// folder set at design time, the chosen file in fileName after execute() returned true.
class OpenDialog {
public:
    QString title;
    QString filter;
    QString initialDir;
    QString fileName;
    bool execute();
};

// The real desktop shell's rule for a command text: one pair of wrapping double quotes
// is removed; "mailto:" texts and addresses with a scheme or starting with "www." are web
// addresses, anything else a local file. Exposed for tests.
QString shellTarget(const QString& command, bool* isUrl = nullptr);

// A "mailto:" text as the program builds it (address, then "?subject=" and "&body=" with
// the values as they are) turned into a well-formed address: the address and each value
// percent-encoded as UTF-8, so "&", "#", "%" or "?" inside a value stay part of it. A
// field starts only at "&" followed by a known header name and "="; the body runs to the
// end of the text. Exposed for tests.
QString mailtoAddress(const QString& mailto);

} // namespace orv::platform::ui
