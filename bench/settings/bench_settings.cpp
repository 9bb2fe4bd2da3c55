// The thirteen settings reads an editor makes when it opens, on settings files far
// larger than the program writes: 10 MB and 100 MB of comments and 1,000,000 keys.
// Measured for the first opening (the file parsed) and for the openings after it (the
// parsed file kept; the file is just written, so each read still checks its bytes). The
// peer is reading the file's first megabyte thirteen times in the same run; the medians
// and their ratios are printed.
#include "platform/core/inifile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>


namespace {

constexpr int kRuns = 7;

// Lines until the file holds `bytes` bytes, or `lines` lines when bytes is 0.
void generate(const QString& path, const std::function<QByteArray(qint64)>& line, qint64 bytes, qint64 lines)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
    QByteArray block = "[Numerazione Preventivi]\r\nInizio=42\r\n";
    qint64 written = 0;
    for (qint64 i = 0; bytes > 0 ? written + block.size() < bytes : i < lines; ++i) {
        block += line(i);
        if (block.size() >= (1 << 20)) {
            written += f.write(block);
            block.clear();
        }
    }
    f.write(block);
}

double medianMs(const std::function<void()>& run)
{
    std::vector<double> samples;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        samples.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void editorOpens(const QString& path)
{
    const orv::IniFile ini(path);
    for (int i = 0; i < 12; ++i) ini.readString(QStringLiteral("Ditta Emittente"), QStringLiteral("Campo%1").arg(i), QString());
    if (ini.readString(QStringLiteral("Numerazione Preventivi"), QStringLiteral("Inizio"), QString()) != QLatin1String("42"))
        qFatal("wrong value read");
}

void peer(const QString& path)
{
    for (int i = 0; i < 13; ++i) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly) || f.read(orv::IniFile::kReadLimit).isEmpty()) qFatal("cannot read");
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Orvanta.ini"));
    const auto comment = [](qint64) { return QByteArray("; ").append(QByteArray(94, 'x')).append("\r\n"); };
    struct Case {
        const char* name;
        std::function<QByteArray(qint64)> line;
        qint64 bytes, lines;
    };
    const Case cases[] = {
        {"10 MB of comments", comment, 10LL << 20, 0},
        {"100 MB of comments", comment, 100LL << 20, 0},
        {"1,000,000 keys", [](qint64 i) { return "K" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n"; }, 0, 1000000},
    };
    std::printf("%-20s %12s %12s %12s %8s %8s\n", "file", "first ms", "next ms", "peer ms", "first/p", "next/p");
    for (const Case& c : cases) {
        generate(path, c.line, c.bytes, c.lines);
        QElapsedTimer t;
        t.start();
        editorOpens(path);
        const double first = t.nsecsElapsed() / 1e6;
        const double next = medianMs([&] { editorOpens(path); });
        const double base = medianMs([&] { peer(path); });
        std::printf("%-20s %12.2f %12.2f %12.2f %8.2f %8.2f\n", c.name, first, next, base, first / base, next / base);
    }
    return 0;
}
