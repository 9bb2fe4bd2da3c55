// The settings file on the paths a user waits for:
//  - closing a document editor, which writes the issuing company's thirteen keys, on a
//    small settings file and on one of 100 MB; the peer writes the same bytes once to a
//    new file beside it, flushes it, renames it and flushes the folder (what any whole
//    replacement of the file that survives a power cut costs);
//  - opening an editor, which reads thirteen keys, the first time (the file parsed) and
//    the times after (the parsed file kept); the peer is grep counting the file's lines
//    that hold a key.
// Rounds interleave ours and the peer; ratios are medians over the rounds.
#include "common/figures.h"
#include "platform/core/inifile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

#include <fcntl.h>
#include <unistd.h>

namespace {

using orv::bench::figure;
using orv::bench::interleave;
using orv::bench::ratioOf;
using orv::bench::seconds;

const QString kIssuer = QStringLiteral("Ditta Emittente");
const char* const kBench = "settings";

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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

QList<std::pair<QString, QString>> issuer(int round)
{
    QList<std::pair<QString, QString>> v;
    for (int i = 0; i < 13; ++i) v.append({QStringLiteral("Campo%1").arg(i), QStringLiteral("Valore %1 %2").arg(i).arg(round)});
    return v;
}

// What an editor's close writes: its keys in one replacement where the file offers it,
// key by key otherwise.
template <typename Ini>
void closeEditor(Ini& ini, const QList<std::pair<QString, QString>>& values)
{
    if constexpr (requires { ini.writeStrings(kIssuer, values); }) {
        ini.writeStrings(kIssuer, values);
    } else {
        for (const auto& [k, v] : values) ini.writeString(kIssuer, k, v);
    }
}

// The peer: the file's bytes written once to a new file, flushed, renamed over a copy, and
// the folder flushed: the least a replacement that survives a power cut costs.
void peerReplace(const QByteArray& bytes, const QString& path)
{
    const QByteArray temp = QFile::encodeName(path + QStringLiteral(".peer"));
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) qFatal("cannot write the peer's file");
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + at, size_t(bytes.size() - at));
        if (n <= 0) qFatal("cannot write the peer's file");
        at += n;
    }
    if (::fsync(fd) != 0) qFatal("cannot flush the peer's file");
    ::close(fd);
    if (::rename(temp.constData(), QFile::encodeName(path + QStringLiteral(".copy")).constData()) != 0) qFatal("rename");
    const int dirFd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0 || ::fsync(dirFd) != 0) qFatal("cannot flush the peer's folder");
    ::close(dirFd);
}

void closing(const QString& path, const char* name, int rounds, double goal)
{
    int round = 0;
    const auto samples = interleave(rounds, {
        [&] {
            orv::platform::IniFile ini(path);
            const auto values = issuer(++round);
            return seconds([&] { closeEditor(ini, values); });
        },
        [&] {
            const QByteArray bytes = fileBytes(path);
            return seconds([&] { peerReplace(bytes, path); });
        },
    });
    const bool readBack = orv::platform::IniFile(path).readString(kIssuer, QStringLiteral("Campo12"), QString()) == QStringLiteral("Valore 12 %1").arg(round);
    figure(kBench, std::string("editor close, ") + name + ", keys read back (1 yes, 0 no)", readBack ? 1 : 0, "1", readBack, "%.0f");
    QFile::remove(path + QStringLiteral(".copy"));
    char goalText[64];
    std::snprintf(goalText, sizeof goalText, "<= %.1f x one durable replacement", goal);
    const auto r = ratioOf(samples[0], samples[1]);
    figure(kBench, std::string("editor close, ") + name + " (x peer)", r, goalText, r.median <= goal);
}

// What an editor's opening reads: its thirteen keys, from one look at the file where the
// file offers it.
template <typename Ini>
void readIssuer(const Ini& ini)
{
    QStringList keys;
    for (int i = 0; i < 13; ++i) keys << QStringLiteral("Campo%1").arg(i);
    if constexpr (requires { ini.readStrings(kIssuer, keys, QString()); }) {
        ini.readStrings(kIssuer, keys, QString());
    } else {
        for (const QString& k : keys) ini.readString(kIssuer, k, QString());
    }
}

void grepLines(const QString& path)
{
    QProcess grep;
    grep.start(QStringLiteral("grep"), {QStringLiteral("-c"), QStringLiteral("="), path});
    if (!grep.waitForFinished(-1) || grep.exitStatus() != QProcess::NormalExit) qFatal("grep failed");
}

void editorOpens(const QString& path) { readIssuer(orv::platform::IniFile(path)); }

void opening(const QString& path, const char* name, int rounds)
{
    int changes = 0;
    const auto samples = interleave(rounds, {
        [&] {
            // A file with other bytes and a new identity: the first read parses it anew.
            QByteArray bytes = fileBytes(path);
            bytes[bytes.size() - 3] = char('0' + ++changes % 10);
            QFile::remove(path);
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write");
            f.close();
            return seconds([&] { editorOpens(path); });
        },
        [&] { return seconds([&] { editorOpens(path); }); },
        // The peer: a program of the system reading and scanning every line of the file.
        [&] { return seconds([&] { grepLines(path); }); },
    });
    const auto first = ratioOf(samples[0], samples[2]);
    const auto next = ratioOf(samples[1], samples[2]);
    if (orv::platform::IniFile(path).readString(QStringLiteral("Numerazione Preventivi"), QStringLiteral("Inizio"), QString()) != "42")
        qFatal("wrong value read");
    figure(kBench, std::string("editor open, first, ") + name + " (x grep of the file)", first, "<= 4", first.median <= 4);
    figure(kBench, std::string("editor open, next, ") + name + " (x grep of the file)", next, "<= 1.5", next.median <= 1.5);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QStringLiteral("bench-settings"));  // in the current folder: a real disk, not a tmpfs
    const QString path = dir.filePath(QStringLiteral("Orvanta.ini"));
    const auto comment = [](qint64) { return QByteArray("; ").append(QByteArray(94, 'x')).append("\r\n"); };

    // A settings file as the program keeps it: a few sections of a few keys.
    generate(path, [](qint64 i) { return "[Sezione " + QByteArray::number(i) + "]\r\nChiave=" + QByteArray::number(i) + "\r\n"; }, 0, 20);
    closing(path, "small file", 15, 1.5);
    opening(path, "small file", 15);

    generate(path, comment, 100LL << 20, 0);
    closing(path, "100 MB file", 5, 1.5);
    opening(path, "100 MB of comments", 5);

    generate(path, [](qint64 i) { return "K" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n"; }, 0, 1000000);
    opening(path, "1,000,000 keys", 5);
    generate(path, [](qint64 i) { return "[S" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n"; }, 0, 300000);
    opening(path, "300,000 sections", 5);
    return 0;
}
