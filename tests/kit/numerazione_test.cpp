// The start-number window, opened as the editors open it, and its settings file.
#include "gui/doubles.h"

#include "kit/dialogs/numerazione.h"
#include "kit/dialogs/settings.h"

#include <QDir>

#include <functional>

using namespace orv::kit;
using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::GuiTest;
using orv::test::MessageCall;

namespace {

class NumerazioneTest : public GuiTest {
protected:
    void open(const QString& tag, const std::function<void(TfrmNumerazione&)>& script)
    {
        modal.scripts["frmNumerazione"] = [&](Form& f) { script(static_cast<TfrmNumerazione&>(f)); };
        orv::kit::showStartNumberWindow(nullptr, tag);
    }
    QString stored(const QString& section) const
    {
        return orv::kit::settingsFile().readString(section, "Inizio", "<missing>");
    }
    // Empties the entry with real keys, wherever the caret is.
    static void clearEntry(TfrmNumerazione& f)
    {
        for (int i = 0; i < 6; ++i) {
            key(f, Qt::Key_Backspace);
            key(f, Qt::Key_Delete);
        }
    }
};

TEST_F(NumerazioneTest, FirstUseShowsOneAndApplicaCreatesTheSettingsFile)
{
    open("contratti", [&](TfrmNumerazione& f) {
        EXPECT_EQ(f.caption(), " Impostazione inizio numerazione contratti");
        EXPECT_EQ(f.txtInizio.text(), "1");
        EXPECT_EQ(f.focusedControl(), &f.txtInizio);
        EXPECT_TRUE(f.control<Shape>("effInizio").visible());
        EXPECT_EQ(f.grpNumerazione.text(), " Inizia numerazione da: ");
        click(f.btnApplica);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(stored("Numerazione Contratti"), "1");
    EXPECT_EQ(readFile("Orvanta.ini"), "[Numerazione Contratti]\r\nInizio=1\r\n");
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(NumerazioneTest, TypedValuesAreNormalisedOnLeavingTheEntry)
{
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {{"", "1"}, {"00012", "12"}, {"0", "0"}, {"007", "7"}, {"99999", "99999"}, {"123456", "12345"}};
    for (const auto& c : cases) {
        open("lavoro", [&](TfrmNumerazione& f) {
            clearEntry(f);
            keys(f, c.typed);
            key(f, Qt::Key_Return);
            EXPECT_EQ(f.focusedControl(), &f.btnApplica) << c.typed;
            EXPECT_FALSE(f.control<Shape>("effInizio").visible());
            EXPECT_EQ(f.txtInizio.text(), c.shown) << c.typed;
            key(f, Qt::Key_Return);  // Applica
        });
        EXPECT_EQ(stored("Numerazione Schede Lavoro"), c.shown) << c.typed;
    }
}

TEST_F(NumerazioneTest, ClickingApplicaNormalisesBeforeWriting)
{
    open("ddt", [&](TfrmNumerazione& f) {
        clearEntry(f);
        keys(f, "0040");
        click(f.btnApplica);
    });
    EXPECT_EQ(stored("Numerazione Documenti di Trasporto"), "40");
}

TEST_F(NumerazioneTest, EntryTakesDigitsAndEditingKeysOnly)
{
    open("preventivi", [&](TfrmNumerazione& f) {
        clearEntry(f);
        keys(f, "1a2,3 -");
        EXPECT_EQ(f.txtInizio.text(), "123");
        key(f, Qt::Key_Left);
        key(f, Qt::Key_Backspace);
        EXPECT_EQ(f.txtInizio.text(), "13");
        key(f, Qt::Key_Tab);
        key(f, Qt::Key_Home);
        EXPECT_EQ(f.focusedControl(), &f.txtInizio);
        keys(f, "5");
        EXPECT_EQ(f.txtInizio.text(), "153");
        click(f.btnAnnulla);
    });
    EXPECT_FALSE(QFile::exists(programFolder() + "Orvanta.ini"));
}

TEST_F(NumerazioneTest, EachTagKeepsItsOwnSectionAndLeavesTheRestAlone)
{
    const QByteArray before = "; impostazioni\r\n[Ditta]\r\nNome=Rossi & Figli\r\n\r\n[Numerazione Preventivi]\r\n"
                              "Inizio=250\r\nAnno=S\xec\r\n";
    writeFile("Orvanta.ini", before);
    const struct {
        const char* tag;
        const char* section;
        const char* caption;
        const char* value;
    } cases[] = {
        {"contratti", "Numerazione Contratti", " Impostazione inizio numerazione contratti", "11"},
        {"lavoro", "Numerazione Schede Lavoro", " Impostazione inizio numerazione Schede di Lavoro", "22"},
        {"preventivi", "Numerazione Preventivi", "Impostazione inizio numerazione preventivi", "33"},
        {"ddt", "Numerazione Documenti di Trasporto", "Impostazione inizio numerazione Documenti di Trasporto", "44"},
    };
    for (const auto& c : cases) {
        open(c.tag, [&](TfrmNumerazione& f) {
            EXPECT_EQ(f.caption(), c.caption);
            EXPECT_EQ(f.txtInizio.text(), QString(c.tag) == "preventivi" ? "250" : "1");
            clearEntry(f);
            keys(f, c.value);
            click(f.btnApplica);
        });
    }
    for (const auto& c : cases) EXPECT_EQ(stored(c.section), c.value);
    const orv::platform::IniFile ini = orv::kit::settingsFile();
    EXPECT_EQ(ini.readString("Ditta", "Nome", ""), "Rossi & Figli");
    EXPECT_EQ(ini.readString("Numerazione Preventivi", "Anno", ""), QStringLiteral("S\u00ec"));
    EXPECT_TRUE(readFile("Orvanta.ini").startsWith("; impostazioni\r\n[Ditta]\r\nNome=Rossi & Figli\r\n"));
}

TEST_F(NumerazioneTest, StoredValuesAreShownAsTheyAre)
{
    orv::platform::IniFile ini = orv::kit::settingsFile();
    ini.writeString("Numerazione Schede Lavoro", "Inizio", "");
    ini.writeString("Numerazione Contratti", "Inizio", "12,6");
    open("lavoro", [&](TfrmNumerazione& f) { EXPECT_EQ(f.txtInizio.text(), "1"); });
    open("contratti", [&](TfrmNumerazione& f) {
        EXPECT_EQ(f.txtInizio.text(), "12,6");
        key(f, Qt::Key_Return);
        EXPECT_EQ(f.txtInizio.text(), "13");
        // Leaving by Annulla normalises too, but nothing is written.
        click(f.btnAnnulla);
    });
    EXPECT_EQ(stored("Numerazione Contratti"), "12,6");
}

TEST_F(NumerazioneTest, AnUnknownTagShowsOneAndWritesNothing)
{
    open("Contratti", [&](TfrmNumerazione& f) {
        EXPECT_EQ(f.caption(), " Impostazione inizio numerazione");
        EXPECT_EQ(f.txtInizio.text(), "1");
        click(f.btnApplica);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_FALSE(QFile::exists(programFolder() + "Orvanta.ini"));
}

TEST_F(NumerazioneTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheWindowStaysOpen)
{
    // A folder in place of the settings file: it can be neither read nor written.
    ASSERT_TRUE(QDir(programFolder()).mkdir("Orvanta.ini"));
    open("lavoro", [&](TfrmNumerazione& f) {
        EXPECT_EQ(f.txtInizio.text(), "1");
        clearEntry(f);
        keys(f, "300");
        click(f.btnApplica);
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(f.txtInizio.text(), "300");
        ASSERT_TRUE(QDir(programFolder()).rmdir("Orvanta.ini"));
        click(f.btnApplica);
        EXPECT_FALSE(f.isVisible());
    });
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_TRUE(messages.last().text.contains("Orvanta.ini"));
    EXPECT_EQ(stored("Numerazione Schede Lavoro"), "300");
}

} // namespace
