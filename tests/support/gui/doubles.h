#pragma once
// Test doubles of the replaceable services and the base fixture of every window test.
// GuiTest installs recording doubles for message boxes, the file dialog, the shell, the
// modal show, the sound player and the clock, points the program folder at a fresh temporary folder and
// restores everything afterwards. Helpers send real key and mouse events.
#include "platform/core/services.h"
#include "platform/ui/form.h"
#include "platform/ui/services.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace orv::test {

struct MessageCall {
    enum Kind { Warning, Error, Information, Confirmation, Plain } kind;
    QString text;
    platform::ui::MsgButtons buttons = 0;
};

// Records every box; answers from a queue (default: the first button offered, so a
// confirmation is answered Yes).
class FakeMessages : public platform::ui::MessageService {
public:
    std::vector<MessageCall> calls;
    std::deque<int> answers;
    std::deque<std::optional<QString>> inputs;  // nullopt: cancelled
    // Runs when a box opens (after it is recorded), e.g. to look at the window under it.
    std::function<void(const MessageCall&)> onBox;

    int messageDlg(const QString& text, platform::ui::MsgType type, platform::ui::MsgButtons buttons) override;
    void showMessage(const QString& text) override;
    QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText) override;
    bool inputQuery(const QString& caption, const QString& prompt, QString& value) override;

    // Texts of the boxes shown so far.
    QStringList texts() const;
    const MessageCall& last() const { return calls.back(); }
    void clear() { calls.clear(); }
};

class FakeFileDialog : public platform::ui::FileDialogService {
public:
    std::vector<platform::ui::OpenFileRequest> requests;
    std::deque<std::optional<QString>> answers;  // default: cancelled
    std::optional<QString> openFile(const platform::ui::OpenFileRequest& r) override;
};

class FakeShell : public platform::ui::ShellService {
public:
    QStringList opened;  // exactly the command texts the program handed over
    void open(const QString& command) override { opened << command; }
};

// Shows a modal window without a nested loop: the window is shown, the script registered
// for its name (objectName, e.g. "frmGuida") runs and may drive it with real events; a
// window still open afterwards is closed. The names of the windows shown are recorded.
class FakeModal : public platform::ui::ModalService {
public:
    QStringList shown;  // names of the windows shown modally, in order
    std::map<QString, std::function<void(platform::ui::Form&)>> scripts;
    int showModal(platform::ui::Form& form) override;
};

// Records the sounds played and stopped. A path listed in `unloadable` fails to load, as
// does a file that does not exist.
class FakeSound : public platform::ui::SoundService {
public:
    QStringList played; // paths of the sounds started, in order
    int stops = 0;      // stops of a loaded sound
    QStringList unloadable;
    bool play(const QString& path) override;
    bool loaded() const override { return loaded_; }
    void stop() override;

private:
    bool loaded_ = false;
};

class FixedClock : public platform::Clock {
public:
    QDateTime at = QDateTime(QDate(2026, 3, 15), QTime(10, 30));
    QDateTime now() const override { return at; }
};

class GuiTest : public ::testing::Test {
protected:
    FakeMessages messages;
    FakeFileDialog files;
    FakeShell shell;
    FakeModal modal;
    FakeSound sound;
    FixedClock clock;
    QTemporaryDir folder;

    void SetUp() override;
    void TearDown() override;

    // The program folder of the test, with its trailing separator.
    QString programFolder() const;
    // Writes a file of the program folder.
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;

    // Real events. Keys go to the control holding its window's focus.
    static void keys(platform::ui::Form& form, const QString& text);
    static void key(platform::ui::Form& form, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier);
    static void type(platform::ui::Control& c, const QString& text);
    static void press(platform::ui::Control& c, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier);
    static void click(platform::ui::Control& c);
    static void doubleClick(platform::ui::Control& c);
    static void hover(platform::ui::Control& c);
    static void hover(platform::ui::Form& f, QPoint at = QPoint(1, 1));
    // Shows a window as the program does and waits until it can take keys.
    static void showAndActivate(platform::ui::Form& f);
};

// The height in pixels of the first letter drawn in white on a command picture: captions
// drawn at one size give one height for capitals without descenders.
int firstLetterHeight(const QImage& picture);

} // namespace orv::test
