// Two workstations on one archive: a Save never overwrites another workstation's change to
// the record without asking.
#include <gtest/gtest.h>

#include <functional>

#include "archive/editor.h"
#include "doubles.h"

using namespace orv::archive;

namespace {

using Msgs = QList<std::pair<MessageKind, QString>>;

class Workstations : public orv::test::TwoFieldArchive {
protected:
    EditorConfig config() { return baseConfig(); }
};

const QString& changedQuestion()
{
    static const QString q = EditorConfig{}.changedElsewhereQuestion;
    return q;
}

} // namespace

// A loads record 2 (stock 13), B saves its change to it, A edits and saves: A is asked;
// No keeps both the archive (B's change) and A's card; Yes overwrites.
TEST_F(Workstations, SaveOverAnotherWorkstationsChangeAsksFirst)
{
    for (const MessageButton answer : {MessageButton::No, MessageButton::Yes}) {
        putRecords({{u"1"_qs, u"uno"_qs}, {u"RIC-002"_qs, u"13"_qs}});
        ArchiveEditor a(config(), view, messages);
        a.last();
        ASSERT_EQ(view.position(), u"2"_qs);
        otherSaves(1, {u"RIC-002"_qs, u"10"_qs});
        view.setText(u"txtNome"_qs, u"13 nota"_qs);
        messages.shown.clear();
        messages.answers = {answer};
        a.save();
        if (answer == MessageButton::No) {
            EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Confirmation, changedQuestion()}}));
            EXPECT_EQ(storedAt(1), QStringList({"RIC-002", "10"}));
            EXPECT_EQ(view.text(u"txtNome"_qs), u"13 nota"_qs);
            EXPECT_EQ(view.position(), u"2"_qs);
        } else {
            EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Confirmation, changedQuestion()},
                                            {MessageKind::Information, a.config().savedInformation}}));
            EXPECT_EQ(storedAt(1), QStringList({"RIC-002", "13 nota"}));
            EXPECT_EQ(view.position(), u"2"_qs);
        }
        EXPECT_EQ(storedAt(0), QStringList({"1", "uno"}));
        EXPECT_EQ(fileBytes().size(), 2 * layout().size());
    }
}

// Without a change by anyone else no question is asked: after a load, after the card's own
// save (new or over), and after an answer that let the save through.
TEST_F(Workstations, SavesOfUnchangedRecordsAskNothing)
{
    ArchiveEditor a(config(), view, messages);
    view.setText(u"txtNome"_qs, u"uno"_qs);
    a.save(); // new card: record 1
    view.setText(u"txtNome"_qs, u"due"_qs);
    a.save();
    a.first();
    view.setText(u"txtNome"_qs, u" tre "_qs); // stored trimmed: the next save compares as stored
    a.save();
    a.save();
    const QString saved = a.config().savedInformation;
    EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Information, a.config().appendedInformation},
                                    {MessageKind::Information, saved},
                                    {MessageKind::Information, saved},
                                    {MessageKind::Information, saved}}));
    // A change after the card's own save is asked about; after Yes the card is the
    // record's state again.
    otherSaves(0, {QString(), u"altro"_qs});
    messages.shown.clear();
    messages.answers = {MessageButton::Yes};
    a.save();
    a.save();
    EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Confirmation, changedQuestion()},
                                    {MessageKind::Information, saved},
                                    {MessageKind::Information, saved}}));
    EXPECT_EQ(storedAt(0), QStringList({"", "tre"}));
}

// Another workstation saving again while the question is open is asked about again.
TEST_F(Workstations, AChangeMadeWhileTheQuestionIsOpenIsAskedAgain)
{
    putRecords({{u"1"_qs, u"uno"_qs}});
    ArchiveEditor a(config(), view, messages);
    a.first();
    otherSaves(0, {u"1"_qs, u"B1"_qs});
    messages.whileOpen = [&](int box) {
        if (box == 1) otherSaves(0, {u"1"_qs, u"B2"_qs});
    };
    messages.answers = {MessageButton::Yes, MessageButton::No};
    view.setText(u"txtNome"_qs, u"A"_qs);
    a.save();
    EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Confirmation, changedQuestion()},
                                    {MessageKind::Confirmation, changedQuestion()}}));
    EXPECT_EQ(storedAt(0), QStringList({"1", "B2"}));
}
