// The customer finder on large archives, measured on the path the user waits for: Cerca
// pressed in a finder window until its list box holds every line and has been laid out
// and drawn. Two searches: one that lists about 80% of the cards (criterion "R" on the
// customer's name) and one that lists about 5% ("ROSSI"), on 100,000 and 1,000,000 cards,
// against `cat` of the same file in the same run. Each search runs in a child process of
// its own, so that its peak memory (getrusage maxrss) is the search's and not what an
// earlier round left behind.
//
//   bench_finder                 both sizes
//   bench_finder 100000          one size
//   bench_finder --make DIR N    writes an archive of N cards into DIR (for a profiler)
//   bench_finder --child DIR C   one search for C in the archive of DIR
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../common/figures.h"
#include "customers/cliente.h"
#include "customers/trovaclienti.h"
#include "platform/core/services.h"
#include "platform/ui/application.h"

using namespace orv::customers;

namespace {

using namespace orv::bench;

void generate(const QString& path, int records)
{
    static const char* surnames[] = {"Rossi", "Bianchi", "Verdi", "Russo", "Ferrari", "Esposito", "Romano",
                                     "Colombo", "Ricci", "Marino", "Greco", "Bruno", "Gallo", "Conti",
                                     "De Luca", "Mancini", "Costa", "Giordano", "Rizzo", "Lombardi"};
    static const char* names[] = {"Mario", "Giulia", "Luca", "Anna", "Marco", "Sara", "Paolo", "Chiara"};
    static const char* towns[] = {"Torino", "Milano", "Roma", "Napoli", "Bologna", "Firenze", "Bari"};
    static const char* brands[] = {"Caldex K-24", "Frescura 9000", "Lavatrice Bianca", "Termo Plus"};
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    quint32 seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    QByteArray block;
    for (int i = 0; i < records; ++i) {
        TCliente c;
        c.Cliente = QString::fromLatin1(surnames[next() % 20]) + u' ' + QString::fromLatin1(names[next() % 8]);
        c.Recapito = u"3%1"_qs.arg(next() * 1000 + next() % 1000, 9, 10, QChar(u'0'));
        c.ComuneRes = QString::fromLatin1(towns[next() % 7]);
        c.IndirizzoRes = u"Via Roma %1"_qs.arg(next() % 200);
        c.Marca = QString::fromLatin1(brands[next() % 4]);
        c.Matricola = u"M-%1"_qs.arg(i);
        c.TipoImpianto = u"Caldaia"_qs;
        c.DataScade = u"%1/%2/2026"_qs.arg(next() % 28 + 1, 2, 10, QChar(u'0')).arg(next() % 12 + 1, 2, 10, QChar(u'0'));
        c.Preavviso = u"30"_qs;
        c.Note = u"Cliente dal %1, manutenzione annuale"_qs.arg(1990 + next() % 35);
        c.Ricontatta = (next() % 2) ? u"Sì"_qs : u"No"_qs;
        block += c.encode();
        if (block.size() > (4 << 20)) {
            f.write(block);
            block.clear();
        }
    }
    f.write(block);
    if (!f.flush())
        qFatal("cannot write %s", qPrintable(path));
}

double timeCat(const QString& cat, const QString& path)
{
    return seconds([&] {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(cat, {path});
        if (!p.waitForFinished(600000) || p.exitCode() != 0)
            qFatal("cat failed");
    });
}

// What one search in a child process reports.
struct Search {
    double seconds = 0;
    qint64 listed = 0;
    double peakMB = 0;
};

// The child: a finder window as the user meets it, the criterion typed, Cerca; the time
// runs until its list box holds every line and the window has been drawn once.
int child(const QString& folder, const QString& criterion)
{
    orv::platform::setProgramFolder(folder);
    TfrmTrovaClienti finder;
    finder.show();
    finder.txtCliente.setText(criterion);
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    finder.btnCercaClick();
    finder.lstRecords.listWidget()->doItemsLayout();
    finder.repaint();
    QApplication::processEvents();
    const double s = double(t.nsecsElapsed()) / 1e9;
    if (!finder.panContainer.visible())
        qFatal("search failed");
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    std::printf("SEARCH %.6f %d %ld\n", s, finder.lstRecords.count(), u.ru_maxrss);
    return 0;
}

Search runChild(const QString& self, const QString& folder, const QString& criterion)
{
    QProcess p;
    p.start(self, {u"--child"_qs, folder, criterion});
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        qFatal("search child failed: %s", p.readAllStandardError().constData());
    const QList<QByteArray> out = p.readAllStandardOutput().trimmed().split('\n').last().split(' ');
    if (out.size() != 4 || out[0] != "SEARCH")
        qFatal("search child said nothing");
    return {out[1].toDouble(), out[2].toLongLong(), out[3].toDouble() / 1024.0};
}

void measure(const QString& self, const QString& cat, int records, int rounds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(TCliente::kFileName);
    generate(path, records);
    timeCat(cat, path); // every measure reads a file in the page cache

    struct Criterion {
        const char* label;
        QString text;
    };
    const Criterion criteria[] = {{"80%", u"R"_qs}, {"5%", u"ROSSI"_qs}};
    std::vector<std::vector<Search>> searches(std::size(criteria));
    std::vector<double> cats;
    for (int r = 0; r < rounds; ++r) {
        cats.push_back(timeCat(cat, path));
        for (size_t c = 0; c < std::size(criteria); ++c)
            searches[c].push_back(runChild(self, dir.path(), criteria[c].text));
    }

    const std::string size = std::to_string(records) + " cards";
    std::printf("finder: %s (%.0f MB), cat median %.3f s\n", size.c_str(), double(records) * TCliente::kSize / 1e6,
                spreadOf(cats).median);
    for (size_t c = 0; c < std::size(criteria); ++c) {
        std::vector<double> times, peaks;
        for (const Search& s : searches[c]) {
            times.push_back(s.seconds);
            peaks.push_back(s.peakMB);
        }
        const qint64 listed = searches[c].front().listed;
        const std::string name = size + ", " + criteria[c].label + " listed";
        std::printf("finder: %s: %lld lines, search median %.3f s\n", name.c_str(), static_cast<long long>(listed),
                    spreadOf(times).median);
        const Spread ratio = ratioOf(times, cats);
        figure("finder", name + ": time / cat", ratio, "<= 3", atMost(ratio, 3.0));
        const Spread peak = spreadOf(peaks);
        figure("finder", name + ": peak MB", peak, "< 300", peak.high < 300, "%.0f");
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    orv::platform::ui::useSoftwareDrawing();
    orv::platform::ui::Application app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == u"--child")
        return child(args[2], args[3]);
    if (args.size() == 4 && args[1] == u"--make") {
        generate(QDir(args[2]).filePath(TCliente::kFileName), args[3].toInt());
        return 0;
    }

    const QString cat = QStandardPaths::findExecutable(u"cat"_qs);
    std::vector<int> sizes = {100000, 1000000};
    if (args.size() > 1)
        sizes = {args[1].toInt()};
    for (int records : sizes)
        measure(QCoreApplication::applicationFilePath(), cat, records, records > 200000 ? 3 : 5);
    return 0;
}
