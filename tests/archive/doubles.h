#pragma once
// Test doubles of the services the archive logic reports through.
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <ostream>
#include <utility>

#include <sys/fsuid.h>
#include <unistd.h>

#include "archive/command.h"
#include "archive/editor.h"
#include "platform/core/services.h"

// Readable QString values in failure reports.
#include "qstring_printer.h"

namespace orv::test {

// Records every box; answers from a script, then `fallback`. `whileOpen`, when set, is
// called with the box's number while it stands open: another workstation acting then.
class RecordingMessages : public archive::MessageService {
public:
    archive::MessageButton show(archive::MessageKind kind, const QString& text) override
    {
        shown.append({kind, text});
        if (whileOpen)
            whileOpen(int(shown.size()));
        return answers.isEmpty() ? fallback : answers.takeFirst();
    }
    QList<std::pair<archive::MessageKind, QString>> shown;
    QList<archive::MessageButton> answers;
    archive::MessageButton fallback = archive::MessageButton::Ok;
    std::function<void(int box)> whileOpen;
};

// An editor window as a table of control texts and check boxes.
class FakeView : public archive::EditorView {
public:
    QString text(const QString& c) const override { return texts.value(c); }
    void setText(const QString& c, const QString& t) override { texts[c] = t; }
    bool isChecked(const QString& c) const override { return checked.contains(c); }
    void setChecked(const QString& c, bool on) override
    {
        if (on)
            checked.insert(c);
        else
            checked.remove(c);
    }
    void setFocus(const QString& c) override { focus = c; }

    QHash<QString, QString> texts;
    QSet<QString> checked;
    QString focus;
};

class PinnedClock : public platform::Clock {
public:
    explicit PinnedClock(QDateTime t) : t_(std::move(t)) { platform::setClock(this); }
    ~PinnedClock() override { platform::setClock(nullptr); }
    QDateTime now() const override { return t_; }

private:
    QDateTime t_;
};

// A fresh program folder for one test.
class ProgramFolder {
public:
    ProgramFolder() { platform::setProgramFolder(dir.path()); }
    ~ProgramFolder() { platform::setProgramFolder(QString()); }
    QString file(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

// Permission bits bind root too while this lives: the file-system user becomes nobody,
// so tests of read-only folders and files mean the same under CI's root.
class Unprivileged {
public:
    Unprivileged()
    {
        if (geteuid() == 0) {
            setfsgid(65534);
            setfsuid(65534);
        }
    }
    ~Unprivileged()
    {
        if (geteuid() == 0) {
            setfsuid(0);
            setfsgid(0);
        }
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;
};

} // namespace orv::test
