// Settings files far larger than any the program writes: reads and writes see the whole
// file, reads parse it once and still see every change made on disk.
#include "platform/core/inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>

using orv::platform::IniFile;

namespace {

const QString kQuoteNumbering = QStringLiteral("Numerazione Preventivi");

class LargeIniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Orvanta.ini")); }
    // The head, then lines from `line(i)` until the file holds at least `bytes` bytes.
    void generate(const QByteArray& head, const std::function<QByteArray(qint64)>& line, qint64 bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QByteArray block = head;
        qint64 written = 0;
        for (qint64 i = 0; written + block.size() < bytes; ++i) {
            block += line(i);
            if (block.size() >= (1 << 20)) {
                written += f.write(block);
                block.clear();
            }
        }
        f.write(block);
    }
    void put(const QByteArray& bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray bytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// An editor opening reads thirteen keys; each read used to parse the whole file.
void readAsAnEditorOpens(const IniFile& ini)
{
    for (int i = 0; i < 12; ++i) ini.readString(QStringLiteral("Ditta Emittente"), QStringLiteral("Campo%1").arg(i), QString());
    ini.readString(kQuoteNumbering, QStringLiteral("Inizio"), QString());
}

TEST_F(LargeIniFileTest, HugeFilesAreReadWhole)
{
    const QByteArray head = "[Numerazione Preventivi]\r\nInizio=42\r\n";
    struct Case {
        const char* name;
        std::function<QByteArray(qint64)> line;
        qint64 bytes;
        QString lastSection, lastKey, lastValue;  // a key far beyond the first megabyte
    };
    const Case cases[] = {
        {"100 MB of comments", [](qint64) { return QByteArray("; ").append(QByteArray(94, 'x')).append("\r\n"); }, 100LL << 20, {}, {}, {}},
        {"1,000,000 keys", [](qint64 i) { return "K" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n"; }, 0, kQuoteNumbering, "K999999", "999999"},
        {"300,000 sections", [](qint64 i) { return "[S" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n"; }, 0, "S299999", "k", "299999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bytes > 0) {
            generate(head, c.line, c.bytes);
        } else {
            QFile f(path());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QByteArray all = head;
            const qint64 n = QString::fromLatin1(c.name).startsWith(u'1') ? 1000000 : 300000;
            for (qint64 i = 0; i < n; ++i) all += c.line(i);
            f.write(all);
        }
        ASSERT_GT(QFile(path()).size(), 1 << 20);

        const IniFile ini(path());
        readAsAnEditorOpens(ini);
        readAsAnEditorOpens(IniFile(path()));
        EXPECT_EQ(ini.readString(kQuoteNumbering, QStringLiteral("Inizio"), QString()), "42");
        EXPECT_EQ(ini.sections().first(), kQuoteNumbering);
        EXPECT_GT(ini.sectionValues(kQuoteNumbering).size(), 0);
        if (!c.lastKey.isEmpty()) {
            EXPECT_EQ(ini.readString(c.lastSection, c.lastKey, "dflt"), c.lastValue);
        }
    }
}

TEST_F(LargeIniFileTest, AWriteIntoAHugeFileKeepsEverythingElseByteForByte)
{
    const QByteArray head = "[Numerazione Preventivi]\r\nInizio=42\r\n";
    generate(head, [](qint64 i) { return "[S" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n"; }, 3LL << 20);
    const QByteArray before = bytes();
    IniFile ini(path());
    ini.writeString(kQuoteNumbering, QStringLiteral("Inizio"), QStringLiteral("1043"));
    const QByteArray after = bytes();
    ASSERT_EQ(after.size(), before.size() + 2);
    EXPECT_TRUE(after.startsWith("[Numerazione Preventivi]\r\nInizio=1043\r\n"));
    const qsizetype headSize = QByteArray("[Numerazione Preventivi]\r\nInizio=42\r\n").size();
    EXPECT_EQ(after.mid(headSize + 2), before.mid(headSize));
    EXPECT_EQ(ini.readString(kQuoteNumbering, QStringLiteral("Inizio"), QString()), "1043");
}

TEST_F(LargeIniFileTest, AKeyReadsRightAfterTheFileChangesOnDisk)
{
    IniFile ini(path());
    put("[A]\r\nk=1\r\n");
    EXPECT_EQ(ini.readString("A", "k", ""), "1");
    put("[A]\r\nk=2\r\n");  // same size, at once
    EXPECT_EQ(ini.readString("A", "k", ""), "2");
    put("[A]\r\nk=345\r\n");
    EXPECT_EQ(ini.readString("A", "k", ""), "345");

    // A file last changed long ago is kept parsed; rewriting it in place with the same
    // size and putting its old time back still shows.
    const auto backdate = [this] {
        const timespec times[2] = {{1000000000, 5}, {1000000000, 5}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path()).constData(), times, 0), 0);
    };
    backdate();
    EXPECT_EQ(ini.readString("A", "k", ""), "345");
    EXPECT_EQ(ini.readString("A", "k", ""), "345");
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.write("[A]\r\nk=678\r\n");
    }
    backdate();
    EXPECT_EQ(ini.readString("A", "k", ""), "678");
    QFile::remove(path());
    EXPECT_EQ(ini.readString("A", "k", "gone"), "gone");
}

} // namespace
