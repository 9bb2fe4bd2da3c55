#include <gtest/gtest.h>

#include <QFile>

#include <sys/stat.h>

#include "archive/editor.h"
#include "doubles.h"

using namespace orv::archive;
using orv::test::FakeView;
using orv::test::RecordingMessages;

namespace {

const RecordLayout& editorCardLayout()
{
    static const RecordLayout l{{u"Nome"_qs, 10, u"txtNome"_qs},
                                {u"Flag"_qs, 2, u"chkFlag"_qs, FieldKind::Flag},
                                {u"File01"_qs, 20, u"lblFile01"_qs},
                                {u"Giorni"_qs, 3, u"txtGiorni"_qs}};
    return l;
}

class Editor : public ::testing::Test {
protected:
    Editor() : editor(makeConfig(), view, messages) {}

    EditorConfig makeConfig()
    {
        EditorConfig s;
        s.layout = &editorCardLayout();
        s.archivePath = [this] { return path(); };
        s.firstControl = u"txtNome"_qs;
        s.blankDefaults.insert(u"txtGiorni"_qs, u"0"_qs);
        s.duplicateClears = {u"lblFile01"_qs};
        return s;
    }

    QString path() const { return folder.file(u"Schede.pro"_qs); }

    void store(const QList<QStringList>& cards)
    {
        QByteArray all;
        for (const QStringList& c : cards)
            all += editorCardLayout().encode(c);
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(all);
    }
    void storeThree() { store({{u"uno"_qs}, {u"due"_qs}, {u"tre"_qs}}); }

    QByteArray fileBytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QList<std::pair<MessageKind, QString>> takeMessages() { return std::exchange(messages.shown, {}); }

    orv::test::ProgramFolder folder;
    FakeView view;
    RecordingMessages messages;
    ArchiveEditor editor;
};

using Msgs = QList<std::pair<MessageKind, QString>>;
const Msgs kEmptyInfo{{MessageKind::Information, kEmptyArchiveMessage}};

} // namespace

TEST_F(Editor, BlankCardTakesDesignedDefaults)
{
    view.texts = {{u"txtNome"_qs, u"x"_qs}, {u"lblFile01"_qs, u"f"_qs}, {u"lblPosizione"_qs, u"4"_qs}};
    view.checked = {u"chkFlag"_qs};
    editor.blank();
    EXPECT_EQ(view.text(u"txtNome"_qs), QString());
    EXPECT_EQ(view.text(u"lblFile01"_qs), QString());
    EXPECT_EQ(view.text(u"txtGiorni"_qs), u"0"_qs);
    EXPECT_EQ(view.position(), QString());
    EXPECT_TRUE(view.checked.isEmpty());
    EXPECT_EQ(view.focus, u"txtNome"_qs);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Editor, NavigationOnAnEmptyArchive)
{
    // The first command of a fresh installation creates the empty archive.
    editor.first();
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_EQ(QFile(path()).size(), 0);
    EXPECT_EQ(takeMessages(), kEmptyInfo);

    view.setPosition(u"7"_qs);
    editor.last();
    EXPECT_EQ(takeMessages(), kEmptyInfo);
    editor.first();
    EXPECT_EQ(takeMessages(), kEmptyInfo);
    EXPECT_EQ(view.position(), u"7"_qs);

    // At position "1" Previous does nothing, even on an emptied archive.
    view.setPosition(u"1"_qs);
    editor.previous();
    EXPECT_TRUE(takeMessages().isEmpty());
    view.setPosition(QString());
    editor.previous();
    EXPECT_EQ(takeMessages(), kEmptyInfo);

    view.setPosition(u"3"_qs);
    editor.next();
    EXPECT_EQ(view.position(), QString());
    EXPECT_EQ(takeMessages(), kEmptyInfo);
}

TEST_F(Editor, NavigationTable)
{
    storeThree();
    const struct {
        const char* from;
        void (ArchiveEditor::*command)();
        const char* to; // nullptr: nothing happens
    } cases[] = {
        {"", &ArchiveEditor::next, "1"},     {"", &ArchiveEditor::previous, "1"},
        {"", &ArchiveEditor::first, "1"},    {"", &ArchiveEditor::last, "3"},
        {"1", &ArchiveEditor::previous, nullptr}, {"3", &ArchiveEditor::next, nullptr},
        {"2", &ArchiveEditor::previous, "1"}, {"2", &ArchiveEditor::next, "3"},
        {"1", &ArchiveEditor::first, "1"},   {"3", &ArchiveEditor::last, "3"},
        {" 2 ", &ArchiveEditor::next, "3"},
    };
    const char* names[] = {"", "uno", "due", "tre"};
    for (const auto& c : cases) {
        view.texts = {{u"lblPosizione"_qs, QString::fromLatin1(c.from)}, {u"txtNome"_qs, u"edited"_qs}};
        (editor.*c.command)();
        const QString where = QString::fromLatin1(c.from);
        if (c.to) {
            EXPECT_EQ(view.position(), QString::fromLatin1(c.to)) << where.toStdString();
            EXPECT_EQ(view.text(u"txtNome"_qs), QString::fromLatin1(names[atoi(c.to)])) << where.toStdString();
        } else {
            EXPECT_EQ(view.text(u"txtNome"_qs), u"edited"_qs) << where.toStdString();
            EXPECT_EQ(view.position(), where);
        }
        EXPECT_TRUE(takeMessages().isEmpty()) << where.toStdString();
    }
}

TEST_F(Editor, LoadingFollowsTheFlagRule)
{
    store({{u"a"_qs, u"Sì"_qs}, {u"b"_qs, u"No"_qs}, {u"c"_qs, u"si"_qs}, {u"d"_qs, QString()}});
    editor.first();
    EXPECT_TRUE(view.isChecked(u"chkFlag"_qs));
    editor.next(); // "No" clears
    EXPECT_FALSE(view.isChecked(u"chkFlag"_qs));
    view.setChecked(u"chkFlag"_qs, true);
    editor.next(); // neither word: the box stays as it was
    EXPECT_TRUE(view.isChecked(u"chkFlag"_qs));
    editor.next();
    EXPECT_TRUE(view.isChecked(u"chkFlag"_qs));
    view.setChecked(u"chkFlag"_qs, false);
    editor.previous();
    EXPECT_FALSE(view.isChecked(u"chkFlag"_qs));
}

TEST_F(Editor, SaveAppendsANewCardAndOverwritesAStoredOne)
{
    storeThree();
    const QByteArray before = fileBytes();
    view.texts = {{u"txtNome"_qs, u"  quattro  "_qs}, {u"txtGiorni"_qs, u"12345"_qs}};
    view.checked = {u"chkFlag"_qs};
    editor.save();
    EXPECT_EQ(view.position(), u"4"_qs);
    EXPECT_EQ(takeMessages(), (Msgs{{MessageKind::Information, u"La scheda corrente è stata inserita in archivio."_qs}}));
    const qint64 s = editorCardLayout().size();
    EXPECT_EQ(fileBytes().left(3 * s), before);
    EXPECT_EQ(fileBytes().mid(3 * s), editorCardLayout().encode({u"quattro"_qs, u"Sì"_qs, QString(), u"123"_qs}));

    view.setPosition(u"2"_qs);
    view.setText(u"txtNome"_qs, u"DUE"_qs);
    view.checked.clear();
    editor.save();
    EXPECT_EQ(view.position(), u"2"_qs);
    EXPECT_EQ(takeMessages(),
              (Msgs{{MessageKind::Information, u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs}}));
    const QByteArray after = fileBytes();
    EXPECT_EQ(after.size(), 4 * s);
    EXPECT_EQ(after.left(s), before.left(s));
    EXPECT_EQ(after.mid(s, s), editorCardLayout().encode({u"DUE"_qs, u"No"_qs, QString(), u"123"_qs}));
    EXPECT_EQ(after.mid(2 * s, s), before.mid(2 * s, s));
}

TEST_F(Editor, SaveAfterAPartialLastRecordReplacesIt)
{
    storeThree();
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("rotto");
    f.close();
    view.setText(u"txtNome"_qs, u"nuovo"_qs);
    editor.save();
    EXPECT_EQ(view.position(), u"4"_qs);
    EXPECT_EQ(fileBytes().size(), 4 * editorCardLayout().size());
    editor.last();
    EXPECT_EQ(view.text(u"txtNome"_qs), u"nuovo"_qs);
}

TEST_F(Editor, ChecksRunBeforeTheArchiveIsOpened)
{
    EditorConfig s = makeConfig();
    int runs = 0;
    s.checks = [&](ArchiveEditor& e) {
        ++runs;
        e.messages().show(MessageKind::Warning, u"Attenzione: manca il nome."_qs);
        e.view().setFocus(u"txtNome"_qs);
        return false;
    };
    ArchiveEditor checked(s, view, messages);
    view.setFocus(u"txtGiorni"_qs);
    checked.save();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(view.focus, u"txtNome"_qs);
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_EQ(takeMessages(), (Msgs{{MessageKind::Warning, u"Attenzione: manca il nome."_qs}}));
}

TEST_F(Editor, FailuresShowTheAccessMessageAndKeepTheCard)
{
    storeThree();
    // A position that is not a number fails the command like an unreadable archive.
    for (auto command : {&ArchiveEditor::next, &ArchiveEditor::previous, &ArchiveEditor::save}) {
        view.texts = {{u"lblPosizione"_qs, u"x"_qs}, {u"txtNome"_qs, u"mio"_qs}};
        (editor.*command)();
        EXPECT_EQ(takeMessages(), (Msgs{{MessageKind::Error, kArchiveAccessMessage}}));
        EXPECT_EQ(view.text(u"txtNome"_qs), u"mio"_qs);
        EXPECT_EQ(view.position(), u"x"_qs);
    }
    // A position past the end does not extend the archive.
    const QByteArray before = fileBytes();
    view.setPosition(u"9"_qs);
    editor.save();
    EXPECT_EQ(takeMessages(), (Msgs{{MessageKind::Error, kArchiveAccessMessage}}));
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(Editor, ReadOnlyArchiveKeepsANewCardNew)
{
    storeThree();
    const QByteArray before = fileBytes();
    chmod(QFile::encodeName(folder.dir.path()).constData(), 0755);
    chmod(QFile::encodeName(path()).constData(), 0444);
    EditorConfig s = makeConfig();
    s.accessKinds = AccessMessageKinds::warehouse();
    ArchiveEditor warehouse(s, view, messages);
    view.setText(u"txtNome"_qs, u"nuovo"_qs);
    {
        const orv::test::Unprivileged nobody;
        warehouse.save();
        warehouse.first();
    }
    EXPECT_EQ(view.position(), QString());
    EXPECT_EQ(takeMessages(), (Msgs{{MessageKind::Warning, kArchiveAccessMessage},
                                    {MessageKind::Warning, kArchiveAccessMessage}}));
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(Editor, DuplicateTurnsAStoredCardIntoANewOne)
{
    editor.duplicate();
    EXPECT_EQ(takeMessages(),
              (Msgs{{MessageKind::Warning, u"Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che "
                                            u"questa è stata inserita in archivio."_qs}}));

    store({{u"a"_qs}, {u"b"_qs}, {u"c"_qs}, {u"quarta"_qs, u"Sì"_qs, u"allegato.pdf"_qs, u"5"_qs}});
    editor.last();
    view.setFocus(u"txtGiorni"_qs);
    editor.duplicate();
    EXPECT_EQ(view.position(), QString());
    EXPECT_EQ(view.text(u"lblFile01"_qs), QString());
    EXPECT_EQ(view.text(u"txtNome"_qs), u"quarta"_qs);
    EXPECT_EQ(view.focus, u"txtNome"_qs);
    EXPECT_EQ(takeMessages(), (Msgs{{MessageKind::Information,
                                     u"E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                                     u"Al termine premere Salva per inserire la scheda in archivio."_qs}}));
    const QByteArray fourth = fileBytes().mid(3 * editorCardLayout().size());
    editor.save();
    EXPECT_EQ(view.position(), u"5"_qs);
    EXPECT_EQ(fileBytes().mid(3 * editorCardLayout().size(), editorCardLayout().size()), fourth);
    EXPECT_EQ(fileBytes().mid(4 * editorCardLayout().size()), editorCardLayout().encode({u"quarta"_qs, u"Sì"_qs, QString(), u"5"_qs}));
}

TEST(AccessMessageKinds, TableByWindowAndCommand)
{
    using K = MessageKind;
    using C = EditorCommand;
    const C all[] = {C::New, C::Save, C::Duplicate, C::First, C::Previous, C::Next, C::Last};
    const auto kinds = [&](const AccessMessageKinds& k) {
        QList<K> r;
        for (C c : all)
            r.append(k.of(c));
        return r;
    };
    const QList<K> allErrors(7, K::Error);
    EXPECT_EQ(kinds(AccessMessageKinds::customers()), allErrors);
    EXPECT_EQ(kinds(AccessMessageKinds::schedule()), allErrors);
    EXPECT_EQ(kinds(AccessMessageKinds::warehouse()), QList<K>(7, K::Warning));
    const QList<K> firstAndSaveWarn{K::Error, K::Warning, K::Error, K::Warning, K::Error, K::Error, K::Error};
    EXPECT_EQ(kinds(AccessMessageKinds::contracts()), firstAndSaveWarn);
    EXPECT_EQ(kinds(AccessMessageKinds::jobSheets()), firstAndSaveWarn);
    EXPECT_EQ(kinds(AccessMessageKinds::quotesAndDeliveries()), firstAndSaveWarn);
}
