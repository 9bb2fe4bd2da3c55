#pragma once
// A CUPS server of the test's own with one cups-pdf queue: configuration, spool, logs and
// socket in a temporary folder, so the machine's printing system is neither used nor
// changed. While it runs, this process's CUPS calls (Qt's printers included) go to it and
// its queue is the default printer.
//
// The cups-pdf backend refuses to run without root, so the server is started as root: the
// test runs as root, or the server is started through password-less sudo.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace orv::test {

class CupsPdfQueue {
public:
    enum class State { Running, Unavailable, Failed };

    CupsPdfQueue();
    // Stops the server and removes what the queue left outside its folder.
    ~CupsPdfQueue();
    CupsPdfQueue(const CupsPdfQueue&) = delete;
    CupsPdfQueue& operator=(const CupsPdfQueue&) = delete;

    // Starts the server and adds the queue. Unavailable: no CUPS server can be started on
    // this machine (not installed, or neither root nor sudo); Failed: it should have
    // started and did not. `problem()` says why.
    State start();
    const QString& problem() const { return problem_; }
    const QString& name() const { return name_; }

    // Waits until `jobs` jobs have left the queue and returns the PDF files it wrote;
    // nothing, with `problem()` set, when a job failed or the queue took too long.
    std::optional<QStringList> waitForPdfs(int jobs);

    // The queue refuses new jobs (as cupsreject leaves it), or is stopped (cupsdisable);
    // false, with `problem()` set, when the server did not do it.
    bool refuseJobs();
    bool stopQueue();
    // Takes jobs and runs again.
    bool resume();
    // Jobs the server has had on the queue, in any state, and the PDF files written so far.
    int jobCount() const;
    QStringList pdfs() const;

private:
    QStringList asRoot(const QStringList& command) const;
    bool run(const QStringList& command, const QByteArray& input = {});
    void stop();
    QString logTail() const;

    QTemporaryDir base_;
    QString name_, key_, socket_, backendSettings_;
    QStringList sudo_;
    QProcess server_;
    QByteArray oldDestination_;
    bool hadDestination_ = false, redirected_ = false, running_ = false;
    QString problem_;
};

} // namespace orv::test
