// Several workstations importing from one article at once: every unload they were told of
// is in the stock, none is lost between another's read and write.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "fixtures.h"
#include "warehouse/articolo.h"

using namespace orv::warehouse;

using orv::test::article;
using orv::test::archiveOf;

namespace {

constexpr int kHelpers = 4;
constexpr int kUnloadsEach = 200;

QString importLine(const QByteArray& record) { return RigaImportaMagazzino(TArticolo::decode(record)); }

QList<TArticolo> storedIn(const QString& path)
{
    QFile f(path);
    QList<TArticolo> all;
    if (!f.open(QIODevice::ReadOnly)) return all;
    const QByteArray bytes = f.readAll();
    for (qsizetype at = 0; at + TArticolo::kSize <= bytes.size(); at += TArticolo::kSize)
        all.append(TArticolo::decode(bytes.mid(at, TArticolo::kSize)));
    return all;
}

} // namespace

// One workstation: searches, picks the article's line and unloads one piece, over and
// over, as a user at the import does. A line that another workstation's unload made stale
// finds nothing and is picked again, as the user would.
TEST(StockUnloadHelperProcess, Unloads)
{
    const QString path = qEnvironmentVariable("ORV_UNLOAD_ARCHIVE");
    if (path.isEmpty())
        GTEST_SKIP() << "runs only as a helper process of StockUnloadConcurrency";
    const QString go = path + u".go"_qs;
    for (int i = 0; i < 60000 && !QFile::exists(go); ++i) QThread::msleep(1);
    int done = 0;
    for (long attempt = 0; done < kUnloadsEach && attempt < 1000000; ++attempt) {
        orv::platform::ArchiveFile file(path, TArticolo::kSize);
        file.open();
        file.seek(1);
        const orv::archive::ResultLine chosen{importLine(file.read()), 1};
        const auto r = orv::warehouse::unloadChosen(file, importLine, chosen, u"1"_qs);
        file.close();
        ASSERT_NE(r.outcome, orv::warehouse::ImportUnload::Outcome::AboveStock);
        done += r.outcome == orv::warehouse::ImportUnload::Outcome::Done;
    }
    EXPECT_EQ(done, kUnloadsEach);
}

TEST(StockUnloadConcurrency, FourWorkstationsUnloadingOneArticleLoseNoUnload)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(TArticolo::kFileName);
    const TArticolo others = article({{&TArticolo::Codice, "A-0"}, {&TArticolo::Giacenza, "7"}});
    const TArticolo cavo = article({{&TArticolo::Codice, "CV-1"}, {&TArticolo::Descrizione, "Cavo"},
                                    {&TArticolo::Costo, "0,5"}, {&TArticolo::Giacenza, "1000"},
                                    {&TArticolo::Valore, "500,00"}});
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(archiveOf({others, cavo, others}));
    }
    QList<QProcess*> helpers;
    for (int h = 0; h < kHelpers; ++h) {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"ORV_UNLOAD_ARCHIVE"_qs, path);
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QCoreApplication::applicationFilePath(), {u"--gtest_filter=StockUnloadHelperProcess.Unloads"_qs});
        ASSERT_TRUE(p->waitForStarted());
        helpers.append(p);
    }
    QFile go(path + u".go"_qs);
    ASSERT_TRUE(go.open(QIODevice::WriteOnly));
    go.close();
    for (QProcess* p : helpers) {
        EXPECT_TRUE(p->waitForFinished(300000)); // a hang guard only
        const QByteArray out = p->readAll();
        EXPECT_EQ(p->exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
        delete p;
    }
    const QList<TArticolo> after = storedIn(path);
    ASSERT_EQ(after.size(), 3);
    EXPECT_EQ(after[1].Giacenza, QString::number(1000 - kHelpers * kUnloadsEach));
    EXPECT_EQ(after[1].Valore, u"100,00"_qs);
    EXPECT_EQ(after[0].values(), others.values());
    EXPECT_EQ(after[2].values(), others.values());
}
