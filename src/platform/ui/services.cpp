#include "platform/ui/services.h"

#include "platform/ui/dispatch.h"
#include "platform/ui/form.h"

#include <QApplication>
#include <QAudioOutput>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

namespace orv::platform::ui {

namespace {

// Line breaks come as "\r\n", "\n\r" or alone; a label wants "\n".
QString displayText(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

// A Yes/No question has no way out but its two buttons: Escape and the frame's close do
// nothing, as on the original platform.
class QuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool yesNoOnly = false;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (yesNoOnly && e->key() == Qt::Key_Escape) return;
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (yesNoOnly && !clickedButton()) { e->ignore(); return; }
        QMessageBox::closeEvent(e);
    }
};

class RealMessages final : public MessageService {
public:
    int messageDlg(const QString& text, MsgType type, MsgButtons buttons) override
    {
        QuestionBox box(QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText);
        box.setText(displayText(text));
        switch (type) {
        case MsgType::Warning: box.setIcon(QMessageBox::Warning); box.setWindowTitle(QStringLiteral("Attenzione")); break;
        case MsgType::Error: box.setIcon(QMessageBox::Critical); box.setWindowTitle(QStringLiteral("Errore")); break;
        case MsgType::Information: box.setIcon(QMessageBox::Information); box.setWindowTitle(QStringLiteral("Informazione")); break;
        case MsgType::Confirmation: box.setIcon(QMessageBox::Question); box.setWindowTitle(QStringLiteral("Conferma")); break;
        }
        struct B { MsgButton flag; QMessageBox::StandardButton std; const char* caption; int result; };
        static const B kButtons[] = {
            {mbYes, QMessageBox::Yes, "S\u00ec", mrYes},
            {mbNo, QMessageBox::No, "No", mrNo},
            {mbOk, QMessageBox::Ok, "OK", mrOk},
            {mbCancel, QMessageBox::Cancel, "Annulla", mrCancel},
        };
        for (const B& b : kButtons) {
            if (buttons & b.flag) box.addButton(b.std)->setText(QString::fromUtf8(b.caption));
        }
        box.yesNoOnly = (buttons & (mbYes | mbNo)) == (mbYes | mbNo) && !(buttons & mbCancel);
        box.exec();
        const auto clicked = box.standardButton(box.clickedButton());
        for (const B& b : kButtons) {
            if (b.std == clicked) return b.result;
        }
        return mrCancel;
    }

    void showMessage(const QString& text) override
    {
        QMessageBox box(QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText);
        box.setWindowTitle(QStringLiteral("Orvanta 4.0"));
        box.setText(displayText(text));
        box.addButton(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
    }

    QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText) override
    {
        QString value = defaultText;
        return inputQuery(caption, prompt, value) ? value : defaultText;
    }

    bool inputQuery(const QString& caption, const QString& prompt, QString& value) override
    {
        QInputDialog dlg(QApplication::activeWindow());
        dlg.setWindowTitle(caption);
        dlg.setLabelText(displayText(prompt));
        dlg.setTextValue(value);
        dlg.setOkButtonText(QStringLiteral("OK"));
        dlg.setCancelButtonText(QStringLiteral("Annulla"));
        if (dlg.exec() != QDialog::Accepted) return false;
        value = dlg.textValue();
        return true;
    }
};

class RealFileDialog final : public FileDialogService {
public:
    std::optional<QString> openFile(const OpenFileRequest& r) override
    {
        QString dir = r.initialDir;
        if (!r.fileName.isEmpty()) dir = r.fileName;
        QFileDialog dialog(QApplication::activeWindow(), r.title, dir);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        applyFileFilter(dialog, r.filter);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }
    std::optional<QString> saveFile(const SaveFileRequest& r) override
    {
        QFileDialog dialog(QApplication::activeWindow(), r.title, r.initialDir);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        applyFileFilter(dialog, r.filter);
        QString suffix = r.defaultExt;
        if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
        if (!r.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!r.fileName.isEmpty()) dialog.selectFile(r.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }
};

class DesktopShell final : public ShellService {
public:
    void open(const QString& command) override
    {
        bool isUrl = false;
        const QString target = shellTarget(command, &isUrl);
        if (target.isEmpty()) return;
        // Qt hands the URL to xdg-open as a program argument, never to a shell.
        if (isUrl && target.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) {
            QDesktopServices::openUrl(QUrl::fromEncoded(mailtoAddress(target).toLatin1(), QUrl::StrictMode));
            return;
        }
        const QUrl url = isUrl ? QUrl(target.startsWith(QLatin1String("www."), Qt::CaseInsensitive)
                                          ? QStringLiteral("http://") + target : target,
                                      QUrl::TolerantMode)
                               : QUrl::fromLocalFile(target);
        QDesktopServices::openUrl(url);
    }
};

class RealModal final : public ModalService {
public:
    int showModal(Form& form) override { return form.execModal(); }
};

// The media player is made on the first sound and belongs to the application object, so
// it never outlives the multimedia back end; nothing of it exists before a sound plays.
class RealSound final : public SoundService {
public:
    bool play(const QString& path) override
    {
        stop();
        const QFileInfo file(path);
        if (!file.isFile() || !file.isReadable() || !QCoreApplication::instance()) return false;
        if (!player_) {
            player_ = new QMediaPlayer(QCoreApplication::instance());
            auto* output = new QAudioOutput(player_);
            player_->setAudioOutput(output);
            // A file the back end cannot decode plays nothing and says nothing.
            QObject::connect(player_, &QMediaPlayer::errorOccurred, player_, [this] { loaded_ = false; });
        }
        player_->setLoops(1);
        player_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
        loaded_ = true;
        player_->play();
        return true;
    }
    bool loaded() const override { return loaded_ && player_; }
    void stop() override
    {
        if (!loaded()) return;
        player_->stop();
        player_->setSource(QUrl());
        loaded_ = false;
    }

private:
    QPointer<QMediaPlayer> player_;
    bool loaded_ = false;
};

RealMessages realMessages;
RealFileDialog realFileDialog;
DesktopShell realShell;
RealModal realModal;
RealSound realSound;
MessageService* currentMessages = &realMessages;
FileDialogService* currentFileDialog = &realFileDialog;
ShellService* currentShell = &realShell;
ModalService* currentModal = &realModal;
SoundService* currentSound = &realSound;

} // namespace

MessageService& messages() { return *currentMessages; }
void setMessages(MessageService* s) { currentMessages = s ? s : &realMessages; }
FileDialogService& fileDialog() { return *currentFileDialog; }
void setFileDialog(FileDialogService* s) { currentFileDialog = s ? s : &realFileDialog; }
ShellService& shell() { return *currentShell; }
void setShell(ShellService* s) { currentShell = s ? s : &realShell; }
ModalService& modal() { return *currentModal; }
void setModal(ModalService* s) { currentModal = s ? s : &realModal; }
SoundService& sound() { return *currentSound; }
void setSound(SoundService* s) { currentSound = s ? s : &realSound; }

void warningBox(const QString& text) { messages().messageDlg(text, MsgType::Warning, mbOk | mbCancel); }
void errorBox(const QString& text) { messages().messageDlg(text, MsgType::Error, mbOk | mbCancel); }
void informationBox(const QString& text) { messages().messageDlg(text, MsgType::Information, mbOk | mbCancel); }
bool confirmBox(const QString& text)
{
    return messages().messageDlg(text, MsgType::Confirmation, mbYes | mbNo) != mrNo;
}
void showMessage(const QString& text) { messages().showMessage(text); }

bool OpenDialog::execute()
{
    const auto chosen = fileDialog().openFile({title, filter, initialDir, fileName});
    if (!chosen) return false;
    fileName = *chosen;
    return true;
}

QString shellTarget(const QString& command, bool* isUrl)
{
    QString t = command;
    if (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"')))
        t = t.mid(1, t.size() - 2);
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const bool url = scheme.match(t).hasMatch() && !t.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)
                     ? true
                     : t.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
    if (t.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        if (isUrl) *isUrl = false;
        return QUrl(t).toLocalFile();
    }
    if (isUrl) *isUrl = url;
    return t;
}

QString mailtoAddress(const QString& mailto)
{
    static const QStringList kHeaders = {QStringLiteral("subject"), QStringLiteral("body"), QStringLiteral("cc"),
                                         QStringLiteral("bcc"), QStringLiteral("to"), QStringLiteral("in-reply-to")};
    const QString text = mailto.mid(7);  // after "mailto:"
    const qsizetype question = text.indexOf(QLatin1Char('?'));
    const QString address = question < 0 ? text : text.left(question);
    QString out = QStringLiteral("mailto:") + QString::fromLatin1(address.toUtf8().toPercentEncoding("@,+!$'()*;:"));
    if (question < 0) return out;

    // Where the field that starts at `from` ends: at the next "&name=" of a known header.
    const QString query = text.mid(question + 1);
    const auto fieldEnd = [&](qsizetype from) {
        for (qsizetype at = query.indexOf(QLatin1Char('&'), from); at >= 0; at = query.indexOf(QLatin1Char('&'), at + 1)) {
            for (const QString& h : kHeaders) {
                if (query.mid(at + 1, h.size() + 1).compare(h + QLatin1Char('='), Qt::CaseInsensitive) == 0) return at;
            }
        }
        return query.size();
    };
    QStringList fields;
    for (qsizetype from = 0; from <= query.size();) {
        const qsizetype eq = query.indexOf(QLatin1Char('='), from);
        const QString name = eq < 0 ? QString() : query.mid(from, eq - from);
        const bool isBody = name.compare(QLatin1String("body"), Qt::CaseInsensitive) == 0;
        const qsizetype end = isBody ? query.size() : fieldEnd(from);
        if (eq < 0 || eq > end) {
            fields << QString::fromLatin1(query.mid(from, end - from).toUtf8().toPercentEncoding());
        } else {
            fields << QString::fromLatin1(name.toUtf8().toPercentEncoding()) + QLatin1Char('=')
                          + QString::fromLatin1(query.mid(eq + 1, end - eq - 1).toUtf8().toPercentEncoding());
        }
        from = end + 1;
    }
    return out + QLatin1Char('?') + fields.join(QLatin1Char('&'));
}

QString qtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            // The windows' "*.*" means every file; as a Qt wildcard it would want a dot.
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        patterns.removeDuplicates();
        out << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

void applyFileFilter(QFileDialog& dialog, const QString& filter)
{
    // The list shows each description as the window wrote it, the patterns Qt appends
    // stay hidden (a description often names its patterns itself).
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QString qt = qtFileFilter(filter);
    if (!qt.isEmpty()) dialog.setNameFilters(qt.split(QStringLiteral(";;")));
}

} // namespace orv::platform::ui
