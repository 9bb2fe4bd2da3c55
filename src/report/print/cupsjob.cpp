#include "report/print/cupsjob.h"

#include "report/base/errors.h"

#include <QPageSize>

#include <cups/cups.h>

namespace orv::report {

namespace {

QString notPrinted(const QString& Reason)
{
    return QStringLiteral("Il documento non è stato stampato: %1.").arg(Reason);
}

QString systemReason() { return QString::fromUtf8(cupsLastErrorString()); }

// The queue's own name: a printer named with an instance prints on its queue.
QByteArray queueOf(const QString& Printer) { return Printer.section(u'/', 0, 0).toUtf8(); }

// The job's state as the server tells it; 0 when the server does not know the job.
int jobState(int Job)
{
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, "ipp://localhost/");
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", Job);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "job-state");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    int state = 0;
    if (response && ippGetStatusCode(response) <= IPP_STATUS_OK_CONFLICTING)
        if (ipp_attribute_t* a = ippFindAttribute(response, "job-state", IPP_TAG_ENUM))
            state = ippGetInteger(a, 0);
    ippDelete(response);
    return state;
}

const char* sidesOf(int Duplex)
{
    switch (Duplex) {
    case DeviceMode::Vertical:
        return "two-sided-long-edge";
    case DeviceMode::Horizontal:
        return "two-sided-short-edge";
    default:
        return "one-sided";
    }
}

// A job being sent; withdrawn unless it was handed over whole.
class Job {
public:
    Job(const QString& Printer, const QByteArray& Queue) : m_name(Printer), m_queue(Queue) {}
    ~Job()
    {
        if (m_id > 0)
            cupsCancelJob2(CUPS_HTTP_DEFAULT, m_queue.constData(), m_id, 0);
    }
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    void create(const QByteArray& Title, const DeviceMode& Mode)
    {
        // The options a driver would be given for the document: paper, orientation,
        // sides, and the copies the printer makes itself.
        int count = 0;
        cups_option_t* options = nullptr;
        const QByteArray media = pageSizeOf(Mode).key().toUtf8();
        const QByteArray copies = QByteArray::number(Mode.Copies);
        count = cupsAddOption("media", media.constData(), count, &options);
        if (Mode.Orientation == DeviceMode::Landscape)
            count = cupsAddOption("landscape", "true", count, &options);
        count = cupsAddOption("sides", sidesOf(Mode.Duplex), count, &options);
        if (Mode.Copies > 1)
            count = cupsAddOption("copies", copies.constData(), count, &options);
        m_id = cupsCreateJob(CUPS_HTTP_DEFAULT, m_queue.constData(), Title.constData(), count, options);
        cupsFreeOptions(count, options);
        if (m_id <= 0)
            throw Error(notPrinted(QStringLiteral("la stampante \"%1\" ha rifiutato il lavoro (%2)").arg(m_name, systemReason())));
    }

    void send(const QByteArray& Title, QIODevice& Document)
    {
        if (cupsStartDocument(CUPS_HTTP_DEFAULT, m_queue.constData(), m_id, Title.constData(), CUPS_FORMAT_PDF, 1) !=
            HTTP_STATUS_CONTINUE)
            throw Error(notPrinted(QStringLiteral("la stampante \"%1\" non riceve il documento (%2)").arg(m_name, systemReason())));
        QString broken;
        if (!Document.seek(0))
            broken = Document.errorString();
        QByteArray chunk(1 << 16, Qt::Uninitialized);
        while (broken.isEmpty()) {
            const qint64 n = Document.read(chunk.data(), chunk.size());
            if (n < 0)
                broken = Document.errorString();
            if (n <= 0)
                break;
            if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, chunk.constData(), size_t(n)) != HTTP_STATUS_CONTINUE)
                broken = systemReason();
        }
        // The request is closed in any case; a job whose document broke off is withdrawn.
        const ipp_status_t status = cupsFinishDocument(CUPS_HTTP_DEFAULT, m_queue.constData());
        if (!broken.isEmpty())
            throw Error(notPrinted(QStringLiteral("l'invio a \"%1\" si è interrotto (%2)").arg(m_name, broken)));
        if (status > IPP_STATUS_OK_CONFLICTING)
            throw Error(notPrinted(QStringLiteral("la stampante \"%1\" ha rifiutato il lavoro (%2)").arg(m_name, systemReason())));
    }

    // The server has the job: it must still hold it, going to the printer or waiting its
    // turn on a queue that runs.
    void check()
    {
        const int state = jobState(m_id);
        if (state == 0)
            throw Error(notPrinted(QStringLiteral("il sistema di stampa ha perso il lavoro su \"%1\"").arg(m_name)));
        if (state == IPP_JSTATE_CANCELED || state == IPP_JSTATE_ABORTED)
            throw Error(notPrinted(QStringLiteral("il sistema di stampa ha annullato il lavoro su \"%1\"").arg(m_name)));
        if (state == IPP_JSTATE_STOPPED)
            throw Error(notPrinted(QStringLiteral("il lavoro su \"%1\" si è fermato").arg(m_name)));
        if (state == IPP_JSTATE_PENDING)
            checkQueue(m_name);
        m_id = 0;
    }

private:
    QString m_name;
    QByteArray m_queue;
    int m_id = 0;
};

} // namespace

void checkQueue(const QString& Printer)
{
    const QByteArray queue = queueOf(Printer);
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
    if (!dest)
        throw Error(notPrinted(QStringLiteral("la stampante \"%1\" non si trova nel sistema di stampa").arg(Printer)));
    const char* accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
    const bool refuses = accepting && qstricmp(accepting, "false") == 0;
    const bool stopped = state && QByteArray(state).toInt() == IPP_PSTATE_STOPPED;
    cupsFreeDests(1, dest);
    if (refuses)
        throw Error(notPrinted(QStringLiteral("la stampante \"%1\" non accetta lavori").arg(Printer)));
    if (stopped)
        throw Error(notPrinted(QStringLiteral("la stampante \"%1\" è ferma").arg(Printer)));
}

void printPdf(const QString& Printer, const QString& Title, const DeviceMode& Mode, QIODevice& Document)
{
    checkQueue(Printer);
    const QByteArray title = Title.toUtf8();
    Job job(Printer, queueOf(Printer));
    job.create(title, Mode);
    job.send(title, Document);
    job.check();
}

} // namespace orv::report
