// The customer finder on a large archive: 100,000 generated cards, a search with one
// criterion until the finder window's list box is filled, against `cat` of the same file
// in the same run. Prints the ratio of the medians; the goal is at most 3. The search
// alone (lines built and sorted, no window) is printed beside it.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "archive/command.h"
#include "archive/lists.h"
#include "customers/cliente.h"
#include "customers/trovaclienti.h"
#include "platform/core/services.h"
#include "platform/ui/application.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kRuns = 5;

void generate(const QString& path)
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
    for (int i = 0; i < kRecords; ++i) {
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
        if (block.size() > (1 << 20)) {
            f.write(block);
            block.clear();
        }
    }
    f.write(block);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timeCat(const QString& cat, const QString& path)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(cat, {path});
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        qFatal("cat failed");
    return double(t.nsecsElapsed()) / 1e6;
}

// The search alone: open, read every card, test the one criterion, build the lines of the
// cards listed, close; then the lines are sorted.
double timeSearch(const QString& path, qsizetype& listed)
{
    QStringList typed(orv::customers::finderCriteria().size());
    typed[0] = u"ROSSI"_qs;
    orv::archive::ResultList list;
    QElapsedTimer t;
    t.start();
    const bool ok = orv::archive::runArchiveCommandSilently(path, TCliente::kSize, [&](orv::ArchiveFile& f) {
        orv::customers::search(f, typed, list);
    });
    listed = list.lines().size(); // sorted here
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (!ok)
        qFatal("search failed");
    return ms;
}

// The finder window as the user meets it: a new window, the criterion typed, Cerca; the
// time runs until its list box holds every line.
double timeFinder(qsizetype& listed)
{
    TfrmTrovaClienti finder;
    finder.show();
    finder.txtCliente.setText(u"ROSSI"_qs);
    QElapsedTimer t;
    t.start();
    finder.btnCercaClick();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    listed = finder.lstRecords.count();
    if (!finder.panContainer.visible())
        qFatal("search failed");
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    orv::ui::useSoftwareDrawing();
    orv::ui::Application app(argc, argv);
    QTemporaryDir dir;
    orv::setProgramFolder(dir.path());
    const QString path = orv::programFile(TCliente::kFileName);
    generate(path);
    const QString cat = QStandardPaths::findExecutable(u"cat"_qs);
    timeCat(cat, path); // every measure reads a file in the page cache

    std::vector<double> cats, searches, finders;
    qsizetype listed = 0, shown = 0;
    for (int run = 0; run < kRuns; ++run) {
        cats.push_back(timeCat(cat, path));
        searches.push_back(timeSearch(path, listed));
        finders.push_back(timeFinder(shown));
    }
    if (shown != listed)
        qFatal("the list box holds %lld lines, the search found %lld", static_cast<long long>(shown),
               static_cast<long long>(listed));
    const double c = median(cats), s = median(searches), w = median(finders);
    std::printf("finder: %d cards (%.0f MB), %lld listed\n", kRecords, double(kRecords) * TCliente::kSize / 1e6,
                static_cast<long long>(listed));
    std::printf("finder: window until the list is filled %.1f ms, search alone %.1f ms, cat %.1f ms (medians of %d)\n",
                w, s, c, kRuns);
    std::printf("finder: search alone ratio %.2f\n", s / c);
    std::printf("finder: ratio %.2f (goal <= 3.00): %s\n", w / c, w / c <= 3.0 ? "met" : "missed");
    return 0;
}
