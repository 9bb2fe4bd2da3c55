// A workstation that stalls while it holds a record lock (or a lock left behind on a
// share) never freezes another: after a bounded wait the command says the archive is in
// use by another workstation, and nothing is written.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

#include "archive/editor.h"
#include "doubles.h"

using namespace orv::archive;
using orv::test::FakeView;
using orv::test::RecordingMessages;

namespace {

const RecordLayout& lockLayout()
{
    static const RecordLayout l{{u"Nome"_qs, 10, u"txtNome"_qs}};
    return l;
}

QByteArray lockedBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Waits for a file another process makes; false after the hang guard.
bool waitForFile(const QString& path)
{
    for (int i = 0; i < 90000 && !QFile::exists(path); ++i) QThread::msleep(1);
    return QFile::exists(path);
}

// The other workstation: holds a lock on the archive until told to let go.
class LockHolder {
public:
    LockHolder(const QString& archive, const char* kind) : archive_(archive)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"ORV_LOCK_ARCHIVE"_qs, archive);
        env.insert(u"ORV_LOCK_KIND"_qs, QString::fromLatin1(kind));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(QCoreApplication::applicationFilePath(), {u"--gtest_filter=LockHolderProcess.Holds"_qs});
        started_ = process_.waitForStarted() && waitForFile(archive + u".held"_qs);
    }
    ~LockHolder()
    {
        QFile release(archive_ + u".release"_qs);
        if (release.open(QIODevice::WriteOnly)) release.close();
        process_.waitForFinished(120000);
        QFile::remove(archive_ + u".held"_qs);
        QFile::remove(archive_ + u".release"_qs);
    }
    bool started() const { return started_; }

private:
    QString archive_;
    QProcess process_;
    bool started_ = false;
};

class LockWait : public ::testing::Test {
protected:
    LockWait() : editor(makeConfig(), view, messages) {}
    ~LockWait() override { orv::platform::setArchiveLockWait(orv::platform::kArchiveLockWait); }
    // The program's own wait runs once; the further commands of a test wait less, to keep
    // the suite short.
    static void shortWaits() { orv::platform::setArchiveLockWait(std::chrono::milliseconds(200)); }

    EditorConfig makeConfig()
    {
        EditorConfig s;
        s.layout = &lockLayout();
        s.archivePath = [this] { return path(); };
        s.accessKinds = AccessMessageKinds::contracts(); // First and Save warnings, Next an error
        return s;
    }
    QString path() const { return folder.file(u"Schede.pro"_qs); }

    orv::test::ProgramFolder folder;
    FakeView view;
    RecordingMessages messages;
    ArchiveEditor editor;
};

using Msgs = QList<std::pair<MessageKind, QString>>;

} // namespace

TEST(LockHolderProcess, Holds)
{
    const QString archive = qEnvironmentVariable("ORV_LOCK_ARCHIVE");
    if (archive.isEmpty())
        GTEST_SKIP() << "runs only as the helper process of LockWait";
    const int fd = ::open(QFile::encodeName(archive).constData(), O_RDWR);
    ASSERT_GE(fd, 0);
    struct flock lock {};
    lock.l_type = qEnvironmentVariable("ORV_LOCK_KIND") == u"read" ? F_RDLCK : F_WRLCK;
    lock.l_whence = SEEK_SET; // the whole file, up to any end
    ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &lock), 0);
    QFile held(archive + u".held"_qs);
    ASSERT_TRUE(held.open(QIODevice::WriteOnly));
    held.close();
    // Stalled: holds the lock until released, or past the hang guard.
    waitForFile(archive + u".release"_qs);
    ::close(fd);
}

TEST_F(LockWait, AStalledWriterStopsEveryCommandWithTheInUseMessageAndNothingWritten)
{
    view.setText(u"txtNome"_qs, u"uno"_qs);
    editor.save();
    ASSERT_EQ(view.position(), u"1"_qs);
    const QByteArray before = lockedBytes(path());
    messages.shown.clear();

    LockHolder other(path(), "write");
    ASSERT_TRUE(other.started());
    view.setText(u"txtNome"_qs, u"due"_qs);
    editor.save(); // over record 1, with the program's wait
    EXPECT_EQ(view.position(), u"1"_qs);
    shortWaits();
    view.setPosition(QString());
    editor.save(); // a new card
    EXPECT_EQ(view.position(), QString());
    editor.first();
    editor.next();
    EXPECT_EQ(view.text(u"txtNome"_qs), u"due"_qs); // nothing loaded over the card
    const std::pair inUseWarning{MessageKind::Warning, kArchiveInUseMessage};
    const std::pair inUseError{MessageKind::Error, kArchiveInUseMessage};
    EXPECT_EQ(messages.shown, (Msgs{inUseWarning, inUseWarning, inUseWarning, inUseError}));
    EXPECT_EQ(lockedBytes(path()), before);
}

TEST_F(LockWait, AStalledReaderStopsSavesButNotLoads)
{
    view.setText(u"txtNome"_qs, u"uno"_qs);
    editor.save();
    const QByteArray before = lockedBytes(path());
    messages.shown.clear();
    shortWaits();
    {
        LockHolder other(path(), "read");
        ASSERT_TRUE(other.started());
        editor.first();
        EXPECT_EQ(view.text(u"txtNome"_qs), u"uno"_qs);
        EXPECT_TRUE(messages.shown.isEmpty());
        view.setText(u"txtNome"_qs, u"due"_qs);
        editor.save();
        EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Warning, kArchiveInUseMessage}}));
        EXPECT_EQ(lockedBytes(path()), before);
    }
    // The other workstation gone: the same save goes in.
    messages.shown.clear();
    editor.save();
    EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Information, editor.config().savedInformation}}));
    EXPECT_EQ(lockedBytes(path()), lockLayout().encode({u"due"_qs}));
}
