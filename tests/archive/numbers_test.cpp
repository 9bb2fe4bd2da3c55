// A new document never takes a number already in its archive (saved meanwhile by another
// workstation, or typed) without asking.
#include <gtest/gtest.h>

#include <functional>

#include "archive/editor.h"
#include "doubles.h"

using namespace orv::archive;
using orv::test::FakeView;
using orv::test::RecordingMessages;

namespace {

using Msgs = QList<std::pair<MessageKind, QString>>;

class DocumentNumbers : public orv::test::TwoFieldArchive {
protected:
    EditorConfig config(bool numbered = false)
    {
        EditorConfig c = baseConfig();
        if (numbered) c.numberControl = u"txtNum"_qs;
        return c;
    }
};

} // namespace

// A new document whose number the archive already holds at Save: asked, with the number;
// No writes nothing and keeps the card new; Yes stores it. Archives of several sizes,
// the number in their last record.
TEST_F(DocumentNumbers, ANewDocumentWithANumberAlreadyStoredAsksFirst)
{
    for (const int count : {1, 2, 255, 256, 257, 513}) {
        QList<QStringList> records;
        for (int i = 1; i <= count; ++i) records.append({QString::number(i), u"doc"_qs});
        putRecords(records);
        const QByteArray before = fileBytes();
        ArchiveEditor a(config(true), view, messages);
        a.blank();
        view.setText(u"txtNum"_qs, u" %1 "_qs.arg(count));
        view.setText(u"txtNome"_qs, u"nuovo"_qs);
        messages.shown.clear();
        messages.answers = {MessageButton::No};
        a.save();
        const QString question = a.config().numberTakenQuestion.arg(count);
        EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Confirmation, question}})) << count;
        EXPECT_EQ(fileBytes(), before);
        EXPECT_EQ(view.position(), QString());
        EXPECT_EQ(view.text(u"txtNome"_qs), u"nuovo"_qs);

        messages.shown.clear();
        messages.answers = {MessageButton::Yes};
        a.save();
        EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Confirmation, question},
                                        {MessageKind::Information, a.config().appendedInformation}}));
        EXPECT_EQ(view.position(), QString::number(count + 1));
        EXPECT_EQ(storedAt(count), QStringList({QString::number(count), "nuovo"}));
    }
}

// The number taken by another workstation between New and Save is seen at Save; a number
// nobody holds, a saved card, and archives without numbers ask nothing.
TEST_F(DocumentNumbers, OnlyANewCardsTakenNumberIsAskedAbout)
{
    putRecords({{u"1"_qs, u"a"_qs}});
    ArchiveEditor a(config(true), view, messages);
    a.blank();
    view.setText(u"txtNum"_qs, u"2"_qs); // proposed at New: 1 + count
    {
        FakeView otherView;
        RecordingMessages otherMessages;
        ArchiveEditor b(config(true), otherView, otherMessages);
        otherView.setText(u"txtNum"_qs, u"2"_qs);
        b.save();
        ASSERT_EQ(otherView.position(), u"2"_qs);
    }
    messages.answers = {MessageButton::No};
    a.save();
    EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Confirmation, a.config().numberTakenQuestion.arg(u"2"_qs)}}));
    view.setText(u"txtNum"_qs, u"3"_qs);
    messages.shown.clear();
    a.save();
    a.save(); // over its own record, number unchanged
    EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Information, a.config().appendedInformation},
                                    {MessageKind::Information, a.config().savedInformation}}));

    ArchiveEditor plain(config(false), view, messages);
    plain.blank();
    view.setText(u"txtNum"_qs, u"1"_qs);
    messages.shown.clear();
    plain.save();
    EXPECT_EQ(messages.shown, (Msgs{{MessageKind::Information, plain.config().appendedInformation}}));
    EXPECT_EQ(fileBytes().size(), 4 * layout().size());
}
