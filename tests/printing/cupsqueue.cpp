#include "cupsqueue.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cups/cups.h>
#include <unistd.h>

namespace orv::test {

namespace {

QString firstExisting(const QStringList& paths)
{
    for (const QString& p : paths)
        if (QFileInfo::exists(p))
            return p;
    return {};
}

QString tool(const QString& name)
{
    return QStandardPaths::findExecutable(name, {u"/usr/sbin"_qs, u"/usr/bin"_qs, u"/sbin"_qs, u"/bin"_qs});
}

bool writeText(const QString& path, const QString& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

CupsPdfQueue::CupsPdfQueue()
{
    const QString pid = QString::number(QCoreApplication::applicationPid());
    name_ = u"OrvantaProva"_qs + pid;
    key_ = u"orvantaprova"_qs + pid;
}

CupsPdfQueue::~CupsPdfQueue() { stop(); }

QStringList CupsPdfQueue::asRoot(const QStringList& command) const { return sudo_ + command; }

bool CupsPdfQueue::run(const QStringList& command, const QByteArray& input)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(command.first(), command.mid(1));
    if (!p.waitForStarted(10000)) {
        problem_ = command.first() + u" does not start"_qs;
        return false;
    }
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        problem_ = command.join(u' ') + u" failed: "_qs + QString::fromLocal8Bit(p.readAll());
        return false;
    }
    return true;
}

CupsPdfQueue::State CupsPdfQueue::start()
{
    const QString cupsd = tool(u"cupsd"_qs), lpadmin = tool(u"lpadmin"_qs), lpstat = tool(u"lpstat"_qs);
    if (cupsd.isEmpty() || lpadmin.isEmpty() || lpstat.isEmpty()) {
        problem_ = u"no CUPS server on this machine (scripts/setup installs cups)"_qs;
        return State::Unavailable;
    }
    if (geteuid() != 0) {
        const QString sudo = tool(u"sudo"_qs);
        QProcess probe;
        if (!sudo.isEmpty()) {
            probe.start(sudo, {u"-n"_qs, u"true"_qs});
            probe.waitForFinished(10000);
        }
        if (sudo.isEmpty() || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
            problem_ = u"the cups-pdf backend needs a CUPS server started as root: run the tests as root or "
                       u"with password-less sudo"_qs;
            return State::Unavailable;
        }
        sudo_ = {sudo, u"-n"_qs};
    }
    const QString serverBin = firstExisting({u"/usr/lib/cups"_qs, u"/usr/libexec/cups"_qs});
    const QString ppd = firstExisting({u"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"_qs,
                                       u"/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"_qs,
                                       u"/usr/share/cups/model/CUPS-PDF_opt.ppd"_qs});
    if (serverBin.isEmpty() || !QFileInfo::exists(serverBin + u"/backend/cups-pdf"_qs) || ppd.isEmpty()) {
        problem_ = u"the cups-pdf printer is not installed (scripts/setup installs printer-driver-cups-pdf)"_qs;
        return State::Failed;
    }
    if (!base_.isValid()) {
        problem_ = u"no temporary folder"_qs;
        return State::Failed;
    }

    // The filters run as the server's own user, who must reach the spool and the
    // temporary files under the folder.
    const QDir dir(base_.path());
    QFile::setPermissions(base_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                            | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::ExeOther);
    for (const char* sub : {"conf", "spool", "cache", "state", "log", "tmp", "out", "backendspool"})
        dir.mkpath(QString::fromLatin1(sub));
    QProcess::execute(u"chmod"_qs, {u"1777"_qs, dir.filePath(u"tmp"_qs)});

    socket_ = dir.filePath(u"cups.sock"_qs);
    const QString conf = dir.filePath(u"conf"_qs);
    const QString log = dir.filePath(u"log"_qs);
    const bool written =
        writeText(conf + u"/cupsd.conf"_qs,
                  u"Listen %1\nLogLevel debug\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                  u"ErrorPolicy abort-job\nMaxJobs 0\nPreserveJobHistory Yes\n"
                  u"<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                  u"<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n  </Limit>\n</Policy>\n"_qs
                      .arg(socket_))
        && writeText(conf + u"/cups-files.conf"_qs,
                     u"ServerRoot %1\nRequestRoot %2\nCacheDir %3\nStateDir %4\nTempDir %5\n"
                     u"ErrorLog %6/error_log\nAccessLog %6/access_log\nPageLog %6/page_log\n"
                     u"ServerBin %7\nDataDir /usr/share/cups\nSandboxing Relaxed\n"_qs
                         .arg(conf, dir.filePath(u"spool"_qs), dir.filePath(u"cache"_qs), dir.filePath(u"state"_qs),
                              dir.filePath(u"tmp"_qs), log, serverBin));
    if (!written) {
        problem_ = u"cannot write the server's settings"_qs;
        return State::Failed;
    }
    // A server started through sudo gets its files as root's own, as confinement rules
    // for cupsd and cups-pdf expect of files under /tmp. The output folder stays the
    // user's: cups-pdf writes there as the user who printed.
    if (!sudo_.isEmpty()) {
        QStringList owned{tool(u"chown"_qs), u"-R"_qs, u"root:root"_qs};
        for (const char* sub : {"conf", "spool", "cache", "state", "log", "tmp", "backendspool"})
            owned << dir.filePath(QString::fromLatin1(sub));
        if (!run(asRoot(owned)))
            return State::Failed;
    }

    // cups-pdf reads its settings only from the system's CUPS folder, by the name its
    // device address gives; the queue's own file sends its output and logs here.
    backendSettings_ = u"/etc/cups/cups-pdf-%1.conf"_qs.arg(key_);
    const QString settings = u"Out %1\nAnonDirName %1\nSpool %2\nLog %3\nLogType 7\n"_qs.arg(
        dir.filePath(u"out"_qs), dir.filePath(u"backendspool"_qs), log);
    if (!run(asRoot({tool(u"tee"_qs), backendSettings_}), settings.toUtf8())) {
        backendSettings_.clear();
        return State::Failed;
    }

    server_.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList command = asRoot({cupsd, u"-f"_qs, u"-c"_qs, conf + u"/cupsd.conf"_qs, u"-s"_qs,
                                        conf + u"/cups-files.conf"_qs});
    server_.start(command.first(), command.mid(1));
    if (!server_.waitForStarted(10000)) {
        problem_ = u"cupsd does not start"_qs;
        return State::Unavailable;
    }
    running_ = true;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (server_.state() == QProcess::NotRunning) {
            problem_ = u"cupsd stopped at once: "_qs + QString::fromLocal8Bit(server_.readAll()) + logTail();
            running_ = false;
            return State::Unavailable;
        }
        QProcess probe;
        probe.start(lpstat, {u"-h"_qs, socket_, u"-r"_qs});
        probe.waitForFinished(10000);
        if (probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0
            && probe.readAllStandardOutput().contains("is running"))
            break;
        if (waited.elapsed() > 60000) {
            problem_ = u"cupsd does not answer on its socket: "_qs + logTail();
            return State::Failed;
        }
        QThread::msleep(100);
    }

    // cups-pdf takes PostScript. CUPS's default conversion (Ghostscript at the level 2 that
    // cups-pdf's description asks for) turns each composite TrueType font, which is all Qt's
    // PDF output holds, into a Type 3 font without its text; the cairo conversion keeps the
    // fonts as TrueType and the text readable.
    if (!run({lpadmin, u"-h"_qs, socket_, u"-p"_qs, name_, u"-E"_qs, u"-v"_qs, u"cups-pdf:/"_qs + key_, u"-P"_qs, ppd,
              u"-o"_qs, u"pdftops-renderer-default=pdftocairo"_qs})
        || !run({lpadmin, u"-h"_qs, socket_, u"-d"_qs, name_}))
        return State::Failed;

    cupsSetServer(socket_.toLocal8Bit().constData());
    // A destination named in the environment would win over the server's default.
    hadDestination_ = qEnvironmentVariableIsSet("LPDEST");
    oldDestination_ = qgetenv("LPDEST");
    qputenv("LPDEST", name_.toLocal8Bit());
    redirected_ = true;
    return State::Running;
}

bool CupsPdfQueue::refuseJobs() { return run(asRoot({tool(u"cupsreject"_qs), u"-h"_qs, socket_, name_})); }

bool CupsPdfQueue::stopQueue() { return run(asRoot({tool(u"cupsdisable"_qs), u"-h"_qs, socket_, name_})); }

bool CupsPdfQueue::resume()
{
    return run(asRoot({tool(u"cupsaccept"_qs), u"-h"_qs, socket_, name_}))
        && run(asRoot({tool(u"cupsenable"_qs), u"-h"_qs, socket_, name_}));
}

int CupsPdfQueue::jobCount() const
{
    cups_job_t* list = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, name_.toLocal8Bit().constData(), 0, CUPS_WHICHJOBS_ALL);
    cupsFreeJobs(n, list);
    return std::max(n, 0);
}

QStringList CupsPdfQueue::pdfs() const
{
    QStringList files;
    QDirIterator it(QDir(base_.path()).filePath(u"out"_qs), {u"*.pdf"_qs}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

std::optional<QStringList> CupsPdfQueue::waitForPdfs(int jobs)
{
    const QByteArray queue = name_.toLocal8Bit();
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        cups_job_t* list = nullptr;
        const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, queue.constData(), 0, CUPS_WHICHJOBS_ALL);
        int done = 0;
        QString failed;
        for (int i = 0; i < n; ++i) {
            if (list[i].state == IPP_JSTATE_COMPLETED)
                ++done;
            else if (list[i].state >= IPP_JSTATE_STOPPED)
                failed = u"job %1 of the queue did not complete (state %2)"_qs.arg(list[i].id).arg(int(list[i].state));
        }
        cupsFreeJobs(n, list);
        if (!failed.isEmpty()) {
            problem_ = failed + logTail();
            return std::nullopt;
        }
        if (n >= jobs && done == n)
            break;
        if (waited.elapsed() > 180000) {
            problem_ = u"the queue has done %1 of %2 jobs after three minutes"_qs.arg(done).arg(jobs) + logTail();
            return std::nullopt;
        }
        QThread::msleep(200);
    }
    return pdfs();
}

QString CupsPdfQueue::logTail() const
{
    QStringList tail;
    for (const QString& name : {u"error_log"_qs, u"cups-pdf-"_qs + name_ + u"_log"_qs}) {
        QFile f(QDir(base_.path()).filePath(u"log/"_qs + name));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        QStringList lines;
        for (const QString& line : QString::fromLocal8Bit(f.readAll()).split(u'\n'))
            if (line.startsWith(u"E "_qs) || line.contains(u"[ERROR]"_qs) || line.contains(u"Job "_qs))
                lines << line;
        tail += lines.mid(std::max<qsizetype>(0, lines.size() - 15));
    }
    return tail.isEmpty() ? QString() : u"\n"_qs + tail.join(u'\n');
}

void CupsPdfQueue::stop()
{
    if (redirected_) {
        cupsSetServer(nullptr);
        if (hadDestination_)
            qputenv("LPDEST", oldDestination_);
        else
            qunsetenv("LPDEST");
        redirected_ = false;
    }
    if (running_) {
        server_.terminate();
        if (!server_.waitForFinished(15000)) {
            server_.kill();
            server_.waitForFinished(5000);
        }
        running_ = false;
    }
    if (!backendSettings_.isEmpty()) {
        run(asRoot({tool(u"rm"_qs), u"-f"_qs, backendSettings_}));
        backendSettings_.clear();
    }
    // A server started through sudo leaves files of root's in the folder.
    if (!sudo_.isEmpty() && base_.isValid())
        run(asRoot({tool(u"rm"_qs), u"-rf"_qs, base_.path()}));
}

} // namespace orv::test
