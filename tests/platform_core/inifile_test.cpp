#include "platform/core/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using orv::platform::IniFile;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Orvanta.ini")); }
    void put(const QByteArray& bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(IniFileTest, MissingFileSectionOrKeyYieldsTheDefault)
{
    IniFile ini(path());
    EXPECT_EQ(ini.readString("Accesso", "Valore", "dflt"), "dflt");
    put("[Accesso]\r\nAltro=1\r\n");
    EXPECT_EQ(ini.readString("Accesso", "Valore", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("Altra", "Altro", "dflt"), "dflt");
    EXPECT_FALSE(QFile::exists(dir.filePath("nothing.ini")));
}

TEST_F(IniFileTest, ReadsIgnoringCaseBlanksAndQuotes)
{
    put("; comment\r\n[accesso]\r\n  valore =  ABC12  \r\nVuoto=\r\nQ=\"  spaced \"\r\n[Other]\r\nValore=X\r\n");
    IniFile ini(path());
    EXPECT_EQ(ini.readString("ACCESSO", "VALORE", "d"), "ABC12");
    EXPECT_EQ(ini.readString("Accesso", "Vuoto", "d"), "");
    EXPECT_EQ(ini.readString("Accesso", "Q", "d"), "  spaced ");
    EXPECT_EQ(ini.readString("other", "valore", "d"), "X");
}

TEST_F(IniFileTest, LineFeedsAloneAndWindows1252AreRead)
{
    put("[Ditta Emittente]\nNome=Societ\xE0 \x80 1\n");
    EXPECT_EQ(IniFile(path()).readString("Ditta Emittente", "Nome", ""), QString::fromUtf8("Società € 1"));
}

TEST_F(IniFileTest, WriteCreatesTheFileWithCrLfAndWindows1252)
{
    IniFile ini(path());
    ini.writeString("Accesso", "Valore", QString::fromUtf8("Più€"));
    EXPECT_EQ(bytes(), QByteArray("[Accesso]\r\nValore=Pi\xF9\x80\r\n"));
    EXPECT_EQ(ini.readString("Accesso", "Valore", ""), QString::fromUtf8("Più€"));
}

TEST_F(IniFileTest, WriteKeepsEverythingElse)
{
    put("; head\r\n[A]\r\nk1=1\r\nk2=2\r\n\r\n[B]\r\nx=9\r\n");
    IniFile ini(path());
    ini.writeString("a", "K2", "22");     // replaced in place, other keys kept
    ini.writeString("A", "k3", "3");      // added at the end of its section
    ini.writeString("C", "y", "new");     // new section at the end
    EXPECT_EQ(bytes(), QByteArray("; head\r\n[A]\r\nk1=1\r\nK2=22\r\nk3=3\r\n\r\n[B]\r\nx=9\r\n[C]\r\ny=new\r\n"));
    EXPECT_EQ(ini.readString("B", "x", ""), "9");
}

TEST_F(IniFileTest, AValueWithLineBreaksStaysOnItsLine)
{
    IniFile ini(path());
    ini.writeString("Ditta", "Sede", "Via Roma 1\r\n[Altro]\nk=v");
    ini.writeString("Ditta", "Cap", "00100");
    EXPECT_EQ(bytes(), QByteArray("[Ditta]\r\nSede=Via Roma 1  [Altro] k=v\r\nCap=00100\r\n"));
    EXPECT_FALSE(ini.sectionExists("Altro"));
}

TEST_F(IniFileTest, IntegersFallBackToTheDefault)
{
    put("[Numerazione Preventivi]\r\nInizio=25\r\nBad=xx\r\n");
    IniFile ini(path());
    EXPECT_EQ(ini.readInteger("Numerazione Preventivi", "Inizio", 1), 25);
    EXPECT_EQ(ini.readInteger("Numerazione Preventivi", "Bad", 1), 1);
    EXPECT_EQ(ini.readInteger("Numerazione Preventivi", "Missing", 1), 1);
}

TEST_F(IniFileTest, AWriteThatCannotReachTheDiskThrows)
{
    // A folder standing where the file should be cannot be written, not even by root.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Orvanta.ini"));
    EXPECT_THROW(IniFile(path()).writeString("A", "k", "v"), orv::platform::IniFileError);
    EXPECT_THROW(IniFile(dir.filePath("missing/dir.ini")).writeString("A", "k", "v"), orv::platform::IniFileError);
}

TEST_F(IniFileTest, SetLinesReplacesTheWholeFileAtOnce)
{
    // A large file goes whole.
    put("[Vecchia]\r\nChiave=1\r\n" + QByteArray((1 << 20) + 100, 'x') + "\r\n");
    QFile before(path());
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    IniFile(path()).setLines({"[Nuova]", "Citt\u00e0=Forl\u00ec"});
    EXPECT_EQ(bytes(), QByteArray("[Nuova]\r\nCitt\xe0=Forl\xec\r\n"));
    EXPECT_EQ(IniFile(path()).readString("Nuova", "Citt\u00e0", ""), "Forl\u00ec");
    // The old file was replaced, not rewritten in place: who still reads it reads it whole.
    EXPECT_TRUE(before.readAll().startsWith("[Vecchia]\r\nChiave=1\r\nxxx"));
    IniFile(path()).setLines({});
    EXPECT_EQ(bytes(), QByteArray());
    ASSERT_TRUE(QDir(dir.path()).mkdir("Cartella.ini"));
    EXPECT_THROW(IniFile(dir.filePath("Cartella.ini")).setLines({"a"}), orv::platform::IniFileError);
}

} // namespace
