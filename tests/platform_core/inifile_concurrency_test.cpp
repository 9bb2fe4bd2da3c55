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

using orv::IniFile;

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
