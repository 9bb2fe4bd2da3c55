// Two programs writing settings into one file at once, as two workstations closing their
// editors together do: every key of both is kept.
#include "platform/core/inifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdio>

using orv::platform::IniFile;

namespace {

constexpr int kKeysPerWriter = 300;
const QString kSection = QStringLiteral("Numerazione");

QString keyName(const QString& writer, int i) { return writer + QStringLiteral("_%1").arg(i, 3, 10, QLatin1Char('0')); }

} // namespace

TEST(IniFileHelperProcess, Writer)
{
    const QString path = qEnvironmentVariable("ORV_INI_FILE");
    const QString writer = qEnvironmentVariable("ORV_INI_WRITER");
    if (path.isEmpty())
        GTEST_SKIP() << "runs only as the helper process of IniFileConcurrency.TwoProcessesWritingKeysKeepEveryKey";
    const QString go = path + QStringLiteral(".go");
    for (int i = 0; i < 10000 && !QFile::exists(go); ++i)
        QThread::msleep(1);
    for (int i = 0; i < kKeysPerWriter; ++i)
        IniFile(path).writeString(kSection, keyName(writer, i), QString::number(i));
}

TEST(IniFileConcurrency, TwoProcessesWritingKeysKeepEveryKey)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Orvanta.ini"));
    IniFile(path).writeString(QStringLiteral("Ditta"), QStringLiteral("Nome"), QStringLiteral("Rossi"));
    QList<QProcess*> helpers;
    for (const QString& writer : {QStringLiteral("A"), QStringLiteral("B")}) {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ORV_INI_FILE"), path);
        env.insert(QStringLiteral("ORV_INI_WRITER"), writer);
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=IniFileHelperProcess.Writer")});
        ASSERT_TRUE(p->waitForStarted());
        helpers.append(p);
    }
    QFile go(path + QStringLiteral(".go"));
    ASSERT_TRUE(go.open(QIODevice::WriteOnly));
    go.close();
    for (QProcess* p : helpers) {
        EXPECT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAll().toStdString();
        delete p;
    }
    QFile::remove(go.fileName());

    IniFile ini(path);
    int kept = 0;
    for (const QString& writer : {QStringLiteral("A"), QStringLiteral("B")})
        for (int i = 0; i < kKeysPerWriter; ++i)
            kept += ini.readString(kSection, keyName(writer, i), QString()) == QString::number(i);
    EXPECT_EQ(kept, 2 * kKeysPerWriter);
    EXPECT_EQ(ini.sectionValues(kSection).size(), 2 * kKeysPerWriter);
    EXPECT_EQ(ini.readString(QStringLiteral("Ditta"), QStringLiteral("Nome"), QString()), "Rossi");
    // No temporary file is left beside the settings.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"Orvanta.ini"}));
}

namespace {

constexpr int kRounds = 40;
const QString kEditorSection = QStringLiteral("Ditta Emittente");

QList<std::pair<QString, QString>> editorKeys(const QString& writer, int round)
{
    QList<std::pair<QString, QString>> keys;
    for (int i = 0; i < 13; ++i) keys.append({QStringLiteral("Campo%1").arg(i), QStringLiteral("%1-%2").arg(writer).arg(round)});
    return keys;
}

// The thirteen values of one look at the file: all from one close of one editor, or none.
bool oneEditorsKeys(const QStringList& values)
{
    for (const QString& v : values)
        if (v != values.first()) return false;
    return true;
}

} // namespace

TEST(IniFileHelperProcess, EditorCloser)
{
    const QString path = qEnvironmentVariable("ORV_INI_FILE");
    const QString writer = qEnvironmentVariable("ORV_INI_WRITER");
    if (path.isEmpty())
        GTEST_SKIP() << "runs only as the helper process of IniFileConcurrency.TwoEditorsClosingTogetherNeverMixTheirKeys";
    const QString go = path + QStringLiteral(".go");
    for (int i = 0; i < 10000 && !QFile::exists(go); ++i)
        QThread::msleep(1);
    for (int round = 0; round < kRounds; ++round)
        IniFile(path).writeStrings(kEditorSection, editorKeys(writer, round));
}

// Two workstations closing the same editor again and again: whoever reads the file in
// between, and the file at the end, hold the thirteen keys of one close.
TEST(IniFileConcurrency, TwoEditorsClosingTogetherNeverMixTheirKeys)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Orvanta.ini"));
    IniFile(path).writeStrings(kEditorSection, editorKeys(QStringLiteral("start"), 0));
    QStringList keys;
    for (const auto& kv : editorKeys(QString(), 0)) keys << kv.first;
    QList<QProcess*> helpers;
    for (const QString& writer : {QStringLiteral("A"), QStringLiteral("B")}) {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ORV_INI_FILE"), path);
        env.insert(QStringLiteral("ORV_INI_WRITER"), writer);
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=IniFileHelperProcess.EditorCloser")});
        ASSERT_TRUE(p->waitForStarted());
        helpers.append(p);
    }
    QFile go(path + QStringLiteral(".go"));
    ASSERT_TRUE(go.open(QIODevice::WriteOnly));
    go.close();
    int looks = 0, mixed = 0;
    QList<bool> finished(helpers.size(), false);
    const auto running = [&] {
        for (qsizetype i = 0; i < helpers.size(); ++i)
            finished[i] = finished[i] || helpers[i]->state() == QProcess::NotRunning || helpers[i]->waitForFinished(0);
        return finished.contains(false);
    };
    while (running()) {
        const QStringList values = IniFile(path).readStrings(kEditorSection, keys, QString());
        ++looks;
        if (!oneEditorsKeys(values) && ++mixed == 1) ADD_FAILURE() << "mixed: " << values.join(u' ').toStdString();
        if (looks > 2000000) break;  // a hang guard; the helpers end long before
    }
    for (QProcess* p : helpers) {
        if (p->state() != QProcess::NotRunning) {
            EXPECT_TRUE(p->waitForFinished(120000));
        }
        EXPECT_EQ(p->exitCode(), 0) << p->readAll().toStdString();
        delete p;
    }
    QFile::remove(go.fileName());
    EXPECT_EQ(mixed, 0);
    EXPECT_GT(looks, 0);
    const QStringList last = IniFile(path).readStrings(kEditorSection, keys, QString());
    EXPECT_TRUE(oneEditorsKeys(last)) << last.join(u' ').toStdString();
    EXPECT_TRUE(last.first() == QStringLiteral("A-%1").arg(kRounds - 1) || last.first() == QStringLiteral("B-%1").arg(kRounds - 1));
    EXPECT_EQ(IniFile(path).sectionValues(kEditorSection).size(), 13);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"Orvanta.ini"}));
}

TEST(IniFileHelperProcess, KilledWriter)
{
    const QString path = qEnvironmentVariable("ORV_INI_KILLED");
    if (path.isEmpty())
        GTEST_SKIP() << "runs only as the helper process of IniFileConcurrency.AWriteKilledHalfWayLeavesNothingAfterTheNextWrite";
    for (int i = 0; i < 100000; ++i) {
        IniFile(path).writeString(kEditorSection, QStringLiteral("Nome"), QString::number(i));
        std::fputs("w\n", stdout);
        std::fflush(stdout);
    }
}

// A workstation switched off while writing leaves at most its temporary file; the next
// write of anyone removes it, and the file holds the last complete write.
TEST(IniFileConcurrency, AWriteKilledHalfWayLeavesNothingAfterTheNextWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Orvanta.ini"));
    {
        // Large enough that most kills land while a temporary file is being written.
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 40000; ++i) f.write("; " + QByteArray(46, 'x') + "\r\n");
    }
    int leftovers = 0;
    for (int kill = 0; kill < 12; ++kill) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ORV_INI_KILLED"), path);
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=IniFileHelperProcess.KilledWriter")});
        ASSERT_TRUE(p.waitForStarted());
        // The first write done (a hang guard of a minute; it comes at once).
        QByteArray said;
        while (!said.contains("\nw\n") && p.waitForReadyRead(60000)) said += p.readAllStandardOutput();
        ASSERT_TRUE(said.contains("\nw\n"));
        p.kill();
        ASSERT_TRUE(p.waitForFinished(60000));
        leftovers = std::max<int>(leftovers, QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() - 1);
        // Every kill leaves a file that reads whole.
        EXPECT_TRUE(IniFile(path).valueExists(kEditorSection, QStringLiteral("Nome")));
    }
    IniFile(path).writeString(kEditorSection, QStringLiteral("Nome"), QStringLiteral("ultimo"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"Orvanta.ini"}));
    EXPECT_EQ(IniFile(path).readString(kEditorSection, QStringLiteral("Nome"), QString()), "ultimo");
    std::printf("temporary files left by a kill before the next write: at most %d\n", leftovers);
}
