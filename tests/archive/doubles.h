#pragma once
// Test doubles of the services the archive logic reports through.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
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
#include "platform/core/archivefile.h"
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

// An archive of two-field cards (number, name) in a fresh program folder, with an editor's
// view and message boxes, read and written behind the editor's back.
class TwoFieldArchive : public ::testing::Test {
protected:
    static const archive::RecordLayout& layout()
    {
        static const archive::RecordLayout l{{u"Numero"_qs, 30, u"txtNum"_qs}, {u"Nome"_qs, 20, u"txtNome"_qs}};
        return l;
    }
    archive::EditorConfig baseConfig()
    {
        archive::EditorConfig c;
        c.layout = &layout();
        c.archivePath = [this] { return path(); };
        c.accessKinds = archive::AccessMessageKinds::customers();
        return c;
    }
    QString path() const { return folder.file(u"Schede.pro"_qs); }
    QByteArray fileBytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void putRecords(const QList<QStringList>& records) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const QStringList& r : records) f.write(layout().encode(r));
    }
    // Another workstation overwrites record `index` (0-based).
    void otherSaves(qint64 index, const QStringList& values) const
    {
        platform::ArchiveFile f(path(), layout().size());
        f.open();
        f.seek(index);
        f.write(layout().encode(values));
    }
    QStringList storedAt(qint64 index) const
    {
        return layout().decode(fileBytes().mid(index * layout().size(), layout().size()));
    }

    ProgramFolder folder;
    FakeView view;
    RecordingMessages messages;
};

} // namespace orv::test
