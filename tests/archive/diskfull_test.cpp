// A save that fails for want of room on the disk says so; every other failure keeps the
// archive-access message.
#include <gtest/gtest.h>

#include <QFile>

#include <cerrno>
#include <unistd.h>

#include "archive/editor.h"
#include "doubles.h"

using namespace orv::archive;
using orv::test::FakeView;
using orv::test::RecordingMessages;

namespace {

// The errno every archive write fails with while a test runs; 0 lets writes through.
int gWriteError = 0;

ssize_t failingPwrite(int fd, const void* data, size_t bytes, off_t offset)
{
    if (gWriteError) {
        errno = gWriteError;
        return -1;
    }
    return ::pwrite(fd, data, bytes, offset);
}

ssize_t failingWrite(int fd, const void* data, size_t bytes)
{
    if (gWriteError) {
        errno = gWriteError;
        return -1;
    }
    return ::write(fd, data, bytes);
}

const RecordLayout& cardLayout()
{
    static const RecordLayout l{{u"Nome"_qs, 10, u"txtNome"_qs}};
    return l;
}

class FullDisk : public ::testing::Test {
protected:
    FullDisk() : editor(makeConfig(), view, messages)
    {
        static const orv::platform::ArchiveWriteCalls calls{failingPwrite, failingWrite, ::fdatasync};
        orv::platform::setArchiveWriteCalls(&calls);
        gWriteError = 0;
    }
    ~FullDisk() override { orv::platform::setArchiveWriteCalls(nullptr); }

    EditorConfig makeConfig()
    {
        EditorConfig s;
        s.layout = &cardLayout();
        s.archivePath = [this] { return folder.file(u"Schede.pro"_qs); };
        s.accessKinds = AccessMessageKinds::contracts(); // Save reports in a warning box
        return s;
    }

    QByteArray fileBytes() const
    {
        QFile f(folder.file(u"Schede.pro"_qs));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    orv::test::ProgramFolder folder;
    FakeView view;
    RecordingMessages messages;
    ArchiveEditor editor;
};

using Msgs = QList<std::pair<MessageKind, QString>>;

} // namespace

TEST_F(FullDisk, SavingANewCardOrAChangedOneSaysTheDiskIsFull)
{
    view.setText(u"txtNome"_qs, u"uno"_qs);
    editor.save();
    ASSERT_EQ(view.position(), u"1"_qs);
    messages.shown.clear();

    gWriteError = ENOSPC;
    view.setText(u"txtNome"_qs, u"due"_qs);
    editor.save(); // over record 1
    EXPECT_EQ(view.position(), u"1"_qs);
    view.setPosition(QString());
    editor.save(); // a new card
    EXPECT_EQ(view.position(), QString()); // stays new, to be saved again
    EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Warning, kArchiveDiskFullMessage},
                                    {MessageKind::Warning, kArchiveDiskFullMessage}}));
    EXPECT_EQ(fileBytes(), cardLayout().encode({u"uno"_qs}));

    gWriteError = 0; // room made: the same card goes in
    messages.shown.clear();
    editor.save();
    EXPECT_EQ(view.position(), u"2"_qs);
}

TEST_F(FullDisk, OtherWriteFailuresKeepTheAccessMessage)
{
    for (int error : {EIO, EFBIG, EROFS}) {
        gWriteError = error;
        view.setText(u"txtNome"_qs, u"uno"_qs);
        editor.save();
        EXPECT_EQ(view.position(), QString());
    }
    const std::pair access{MessageKind::Warning, kArchiveAccessMessage};
    EXPECT_EQ(messages.shown, (Msgs{access, access, access}));
}

TEST(ArchiveFailureMessage, OnlyAFullDiskChangesTheMessage)
{
    EXPECT_EQ(archiveFailureMessage(orv::platform::ArchiveError(u"x"_qs, ENOSPC)), kArchiveDiskFullMessage);
    EXPECT_EQ(archiveFailureMessage(orv::platform::ArchiveError(u"x"_qs, EDQUOT)), kArchiveDiskFullMessage);
    EXPECT_EQ(archiveFailureMessage(orv::platform::ArchiveError(u"x"_qs, EACCES)), kArchiveAccessMessage);
    EXPECT_EQ(archiveFailureMessage(orv::platform::ArchiveError(u"x"_qs)), kArchiveAccessMessage);
    EXPECT_EQ(archiveFailureMessage(std::runtime_error("ENOSPC")), kArchiveAccessMessage);
}
