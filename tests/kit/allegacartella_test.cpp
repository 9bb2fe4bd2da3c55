// The attach-file window between a calling editor and the attachment folder.
#include "gui/doubles.h"

#include "kit/dialogs/allegacartella.h"
#include "kit/dialogs/attachments.h"
#include "kit/windowtable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>

using namespace orv::kit;
using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::GuiTest;
using orv::test::MessageCall;

namespace {

const QString kOverwrite = QStringLiteral("Attenzione: nella cartella dei documenti allegati \u00e8 presente un file "
                                          "con lo stesso nome.\r\n\r\nSi vuole sovrascrivere il file esistente?");

// An editor as the attach-file window sees it: a global instance with the six hidden
// attachment labels.
class Editor : public Form {
public:
    explicit Editor(const QString& name) : Form(nullptr, spec(name), layout()) { created(); }
    Label& label(const char* prefix, int row) const { return control<Label>(numbered(prefix, row)); }
    QStringList values() const
    {
        QStringList out;
        for (int r = 1; r <= 3; ++r) out << label("lblFile", r).text() << label("lblDesc", r).text();
        return out;
    }
    void fill(const QStringList& v)
    {
        for (int r = 1; r <= 3; ++r) {
            label("lblFile", r).setText(v[2 * (r - 1)]);
            label("lblDesc", r).setText(v[2 * (r - 1) + 1]);
        }
    }

private:
    static FormSpec spec(const QString& name)
    {
        FormSpec s;
        s.name = name;
        s.caption = "editor";
        s.clientWidth = 200;
        s.clientHeight = 100;
        return s;
    }
    static Layout layout()
    {
        Layout l;
        for (const char* p : {"lblFile", "lblDesc"})
            for (int r = 1; r <= 3; ++r) l.push_back(orv::platform::ui::label(numbered(p, r), 0, 0, 10, 10, QString()).hidden());
        return l;
    }
};

class AllegaTest : public GuiTest {
protected:
    QTemporaryDir elsewhere;
    std::unique_ptr<Editor> clienti;

    void SetUp() override
    {
        GuiTest::SetUp();
        clienti = std::make_unique<Editor>("frmClienti");
        orv::kit::setStartWindow("frmClienti", clienti.get());
    }
    void TearDown() override
    {
        orv::kit::setStartWindow("frmClienti", nullptr);
        clienti.reset();
        GuiTest::TearDown();
    }

    void open(Editor& editor, const QString& tag, const std::function<void(TfrmAllegaCartella&)>& script)
    {
        modal.scripts["frmAllegaCartella"] = [&](Form& f) { script(static_cast<TfrmAllegaCartella&>(f)); };
        orv::kit::showAttachmentWindow(editor, tag);
    }
    void open(const std::function<void(TfrmAllegaCartella&)>& script) { open(*clienti, "clienti", script); }

    // A file to attach, outside the program folder.
    QString source(const QString& name, const QByteArray& bytes) const
    {
        const QString path = elsewhere.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QString copyPath(const QString& name) const { return programFolder() + "Documenti_Allegati/" + name; }
    QByteArray copy(const QString& name) const
    {
        QFile f(copyPath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void choose(const QString& path) { files.answers.push_back(path); }
};

TEST_F(AllegaTest, ShowsTheEditorsValuesTrimmed)
{
    clienti->fill({" preventivo.pdf ", " firmato ", "", "senza file", "foto.jpg", ""});
    open([&](TfrmAllegaCartella& f) {
        EXPECT_EQ(f.caption(), " Allega file");
        EXPECT_EQ(f.size(), QSize(634, 534));
        EXPECT_EQ(f.lblMemory.text(), "clienti");
        EXPECT_EQ(f.control<Edit>("txtFile01").text(), "preventivo.pdf");
        EXPECT_EQ(f.control<Edit>("txtDesc01").text(), "firmato");
        EXPECT_EQ(f.control<Edit>("txtFile02").text(), "");
        EXPECT_EQ(f.control<Edit>("txtDesc02").text(), "senza file");
        EXPECT_EQ(f.control<Edit>("txtFile03").text(), "foto.jpg");
        EXPECT_TRUE(f.control<Button>("btnApri01").enabled());
        EXPECT_FALSE(f.control<Button>("btnApri02").enabled());
        EXPECT_TRUE(f.control<Button>("btnApri03").enabled());
        EXPECT_TRUE(f.control<Edit>("txtFile01").readOnly());
        EXPECT_EQ(f.control<Label>("lblNome02").text(), QStringLiteral("Nome 2\u00b0 file allegato:"));
        EXPECT_EQ(f.control<Label>("lblDescrizione03").text(), QStringLiteral("Descrizione 3\u00b0 file allegato:"));
        click(f.btnAnnulla);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(modal.shown, QStringList({"frmAllegaCartella"}));
}

TEST_F(AllegaTest, FirstAttachmentCreatesTheFolderAndApplicaWritesBackTrimmed)
{
    choose(source("Fattura 12.pdf", "%PDF fattura"));
    open([&](TfrmAllegaCartella& f) {
        click(f.control<Button>("btnSfoglia02"));
        EXPECT_EQ(f.control<Edit>("txtFile02").text(), "Fattura 12.pdf");
        EXPECT_TRUE(f.control<Button>("btnApri02").enabled());
        click(f.control<Edit>("txtDesc02"));
        keys(f, "  fattura di marzo  ");
        click(f.btnApplica);
        EXPECT_FALSE(f.isVisible());
    });
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].title, "Selezionare il file da allegare:");
    EXPECT_TRUE(files.requests[0].filter.startsWith("Tutti i file (*.*)|"));
    EXPECT_EQ(copy("Fattura 12.pdf"), "%PDF fattura");
    EXPECT_EQ(clienti->values(), QStringList({"", "", "Fattura 12.pdf", "fattura di marzo", "", ""}));
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(AllegaTest, AnExistingCopyIsReplacedOnlyAfterAYes)
{
    ASSERT_TRUE(QDir().mkpath(copyPath("")));
    QFile old(copyPath("schema.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("vecchio");
    old.close();
    const QString newer = source("schema.png", "nuovo");
    choose(newer);
    choose(newer);
    messages.answers = {mrNo, mrYes};
    open([&](TfrmAllegaCartella& f) {
        click(f.control<Button>("btnSfoglia01"));
        // No: the record will refer to the copy already there.
        EXPECT_EQ(f.control<Edit>("txtFile01").text(), "schema.png");
        EXPECT_EQ(copy("schema.png"), "vecchio");
        click(f.control<Button>("btnSfoglia03"));
        EXPECT_EQ(f.control<Edit>("txtFile03").text(), "schema.png");
        click(f.btnApplica);
    });
    EXPECT_EQ(copy("schema.png"), "nuovo");
    ASSERT_EQ(messages.calls.size(), 2u);
    for (const MessageCall& c : messages.calls) {
        EXPECT_EQ(c.kind, MessageCall::Confirmation);
        EXPECT_EQ(c.text, kOverwrite);
        EXPECT_EQ(c.buttons, unsigned(mbYes | mbNo));
    }
}

TEST_F(AllegaTest, CancelledDialogClearedNamesAndAnnulla)
{
    clienti->fill({"a.txt", "prima", "b.txt", "seconda", "", ""});
    files.answers = {std::nullopt, source("c.txt", "c")};
    open([&](TfrmAllegaCartella& f) {
        click(f.control<Button>("btnSfoglia01"));  // cancelled: the row stays as it was
        EXPECT_EQ(f.control<Edit>("txtFile01").text(), "a.txt");
        click(f.control<Button>("btnSfoglia03"));
        click(f.control<Image>("imgCancella02"));
        EXPECT_EQ(f.control<Edit>("txtFile02").text(), "");
        EXPECT_EQ(f.control<Edit>("txtDesc02").text(), "seconda");
        EXPECT_FALSE(f.control<Button>("btnApri02").enabled());
        click(f.btnAnnulla);
    });
    // Annulla: the record keeps its names; the new copy stays in the folder.
    EXPECT_EQ(clienti->values(), QStringList({"a.txt", "prima", "b.txt", "seconda", "", ""}));
    EXPECT_EQ(copy("c.txt"), "c");
    EXPECT_TRUE(messages.calls.empty());

    open([&](TfrmAllegaCartella& f) {
        click(f.control<Image>("imgCancella02"));
        click(f.btnApplica);
    });
    EXPECT_EQ(clienti->values(), QStringList({"a.txt", "prima", "", "seconda", "", ""}));
}

TEST_F(AllegaTest, ApriHandsTheQuotedCopyToTheShell)
{
    clienti->fill({"manca.pdf", "", "", "", "../Clienti.pro", ""});
    choose(source("Libretto d'uso.pdf", "x"));
    open([&](TfrmAllegaCartella& f) {
        click(f.control<Button>("btnSfoglia02"));
        click(f.control<Button>("btnApri02"));
        click(f.control<Button>("btnApri01"));  // no copy: the shell finds nothing, nobody is told
        click(f.control<Button>("btnApri03"));  // not a bare name: nothing is opened
        click(f.btnAnnulla);
    });
    EXPECT_EQ(shell.opened, QStringList({"\"" + copyPath("Libretto d'uso.pdf") + "\"", "\"" + copyPath("manca.pdf") + "\""}));
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(AllegaTest, ChoosingTheStoredCopyItselfLeavesItAlone)
{
    ASSERT_TRUE(QDir().mkpath(copyPath("")));
    QFile stored(copyPath("contratto.pdf"));
    ASSERT_TRUE(stored.open(QIODevice::WriteOnly));
    stored.write("contratto firmato");
    stored.close();
    ASSERT_TRUE(QFile::link(copyPath("contratto.pdf"), elsewhere.filePath("contratto.pdf")));
    choose(copyPath("contratto.pdf"));
    choose(elsewhere.filePath("contratto.pdf"));  // a link to it
    open([&](TfrmAllegaCartella& f) {
        click(f.control<Button>("btnSfoglia01"));
        click(f.control<Button>("btnSfoglia02"));
        EXPECT_EQ(f.control<Edit>("txtFile01").text(), "contratto.pdf");
        EXPECT_EQ(f.control<Edit>("txtFile02").text(), "contratto.pdf");
        click(f.btnApplica);
    });
    EXPECT_EQ(copy("contratto.pdf"), "contratto firmato");
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(orv::kit::copyAttachment(copyPath("contratto.pdf"), "contratto.pdf"), orv::kit::CopyResult::AlreadyThere);
    EXPECT_EQ(copy("contratto.pdf"), "contratto firmato");
}

TEST_F(AllegaTest, AFailedCopyIsReportedAndKeepsThePreviousAttachment)
{
    clienti->fill({"vecchio.pdf", "", "", "", "", ""});
    // The folder cannot be created: a file holds its name.
    writeFile("Documenti_Allegati", "");
    choose(source("nuovo.pdf", "n"));
    choose(elsewhere.filePath("sparito.pdf"));  // unreadable: it is not there
    open([&](TfrmAllegaCartella& f) {
        click(f.control<Button>("btnSfoglia01"));
        EXPECT_EQ(f.control<Edit>("txtFile01").text(), "vecchio.pdf");
        ASSERT_TRUE(QFile::remove(programFolder() + "Documenti_Allegati"));
        // A copy of that name is there: Yes to the question, then the copy fails.
        ASSERT_TRUE(QDir().mkpath(copyPath("")));
        writeFile("Documenti_Allegati/sparito.pdf", "copia di un altro cliente");
        click(f.control<Button>("btnSfoglia01"));
        EXPECT_EQ(f.control<Edit>("txtFile01").text(), "vecchio.pdf");
        click(f.btnApplica);
    });
    EXPECT_EQ(clienti->values()[0], "vecchio.pdf");
    EXPECT_EQ(copy("sparito.pdf"), "copia di un altro cliente");
    ASSERT_EQ(messages.calls.size(), 3u);
    EXPECT_EQ(messages.calls[1].kind, MessageCall::Confirmation);
    for (const MessageCall& c : {messages.calls[0], messages.calls[2]}) {
        EXPECT_EQ(c.kind, MessageCall::Error);
        EXPECT_TRUE(c.text.startsWith(QStringLiteral("Attenzione: non \u00e8 stato possibile copiare il file")));
    }
}

TEST_F(AllegaTest, NamesARecordCannotKeepAreRefused)
{
    const QString cases[] = {
        QStringLiteral("\u6587\u4ef6.pdf"),         // not in Windows-1252
        QStringLiteral("\u03a9-schema.txt"),
        " spazio.txt",                              // would be trimmed away
        QString(251 - 4, QLatin1Char('x')) + ".pdf", // longer than the record keeps
    };
    for (const QString& name : cases) {
        messages.clear();
        choose(source(name, "x"));
        open([&](TfrmAllegaCartella& f) {
            click(f.control<Button>("btnSfoglia01"));
            EXPECT_EQ(f.control<Edit>("txtFile01").text(), "") << name.toStdString();
            click(f.btnAnnulla);
        });
        ASSERT_EQ(messages.calls.size(), 1u) << name.toStdString();
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_TRUE(messages.last().text.contains(name));
        EXPECT_FALSE(QFile::exists(copyPath(name))) << name.toStdString();
    }
    EXPECT_TRUE(orv::kit::storableAttachmentName(QStringLiteral("Caff\u00e8 \u20ac.pdf")));
    EXPECT_TRUE(orv::kit::storableAttachmentName(QString(246, QLatin1Char('x')) + ".pdf"));
}

TEST_F(AllegaTest, EachTagWritesIntoItsOwnEditor)
{
    const char* const tags[][2] = {
        {"clienti", "frmClienti"}, {"contratti", "frmContratto"}, {"lavoro", "frmLavoro"}, {"magazzino", "frmMagazzino"}};
    std::vector<std::unique_ptr<Editor>> editors;
    for (const auto& t : tags) {
        if (QString(t[1]) == "frmClienti") continue;
        editors.push_back(std::make_unique<Editor>(t[1]));
        orv::kit::setStartWindow(t[1], editors.back().get());
    }
    for (const auto& t : tags) {
        Editor& editor = static_cast<Editor&>(*orv::kit::startWindow(t[1]));
        open(editor, QString(" ") + t[0] + " ", [&](TfrmAllegaCartella& f) {
            f.control<Edit>("txtDesc03").setText(t[0]);
            click(f.btnApplica);
            EXPECT_FALSE(f.isVisible());
        });
    }
    for (const auto& t : tags) {
        EXPECT_EQ(static_cast<Editor&>(*orv::kit::startWindow(t[1])).values(), QStringList({"", "", "", "", "", t[0]}));
        if (QString(t[1]) != "frmClienti") orv::kit::setStartWindow(t[1], nullptr);
    }
}

TEST_F(AllegaTest, AnUnknownTagWritesNothingAndStaysOpen)
{
    clienti->fill({"a.txt", "", "", "", "", ""});
    open(*clienti, "Clienti", [&](TfrmAllegaCartella& f) {
        click(f.control<Image>("imgCancella01"));
        click(f.btnApplica);
        EXPECT_TRUE(f.isVisible());
        click(f.btnAnnulla);
    });
    EXPECT_EQ(clienti->values()[0], "a.txt");
}

} // namespace
