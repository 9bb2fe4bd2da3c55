// The printing system on CUPS: printers and papers through Qt PrintSupport, pages drawn
// through QPrinter, raw bytes through libcups.
#include "report/print/printservice.h"

#include "platform/core/canvas.h"
#include "platform/core/exceptions.h"
#include "report/base/errors.h"
#include "report/print/cupsjob.h"
#include "report/print/printers.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

namespace orv::report {

QPageSize pageSizeOf(const DeviceMode& Mode)
{
    if (Mode.PaperSize == frxCustomPaper && Mode.PaperWidth > 0 && Mode.PaperLength > 0)
        return QPageSize(QSizeF(Mode.PaperWidth / 10, Mode.PaperLength / 10), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    const QPageSize::PageSizeId id = QPageSize::id(Mode.PaperSize);
    return QPageSize(id == QPageSize::Custom ? QPageSize::A4 : id);
}

namespace {

// A paper as the layouts number it: the paper code, or 256 with the size.
void setPaper(DeviceMode& Mode, const QPageSize& Size)
{
    const int code = Size.windowsId();
    if (code > 0 && code != frxCustomPaper) {
        Mode.PaperSize = code;
        Mode.PaperWidth = Mode.PaperLength = 0;
    } else {
        const QSizeF mm = Size.size(QPageSize::Millimeter);
        Mode.PaperSize = frxCustomPaper;
        Mode.PaperWidth = mm.width() * 10;
        Mode.PaperLength = mm.height() * 10;
    }
}

QString fileNotMade(const QString& FileName)
{
    return QStringLiteral("Il documento non è stato stampato: il file \"%1\" non si può scrivere.").arg(FileName);
}

int duplexValue(QPrinter::DuplexMode d)
{
    switch (d) {
    case QPrinter::DuplexLongSide:
        return DeviceMode::Vertical;
    case QPrinter::DuplexShortSide:
        return DeviceMode::Horizontal;
    default:
        return DeviceMode::Simplex;
    }
}

QPrinter::DuplexMode qtDuplex(int Duplex)
{
    switch (Duplex) {
    case DeviceMode::Vertical:
        return QPrinter::DuplexLongSide;
    case DeviceMode::Horizontal:
        return QPrinter::DuplexShortSide;
    default:
        return QPrinter::DuplexNone;
    }
}

class QPrinterDocument final : public PrintDocument {
public:
    explicit QPrinterDocument(std::unique_ptr<QPrinter> Printer) : m_printer(std::move(Printer)) {}
    ~QPrinterDocument() override
    {
        m_canvas.reset();
        if (m_painter.isActive())
            m_painter.end();
    }

    orv::platform::Canvas* BeginPage(const DeviceMode& Mode) override
    {
        if (!m_started) {
            applyDeviceMode(*m_printer, Mode);
            if (!m_painter.begin(m_printer.get())) {
                if (!m_printer->outputFileName().isEmpty())
                    throw orv::platform::EFileError(fileNotMade(m_printer->outputFileName()));
                throw Error(QStringLiteral("Printer selected is not valid"));
            }
            m_started = true;
        } else {
            if (!(Mode == m_mode))
                applyDeviceMode(*m_printer, Mode);
            m_printer->newPage();
        }
        m_mode = Mode;
        m_canvas = std::make_unique<orv::platform::Canvas>(&m_painter, true);
        return m_canvas.get();
    }

    void EndPage() override { m_canvas.reset(); }

    void Abort() override
    {
        m_canvas.reset();
        m_printer->abort();
        if (m_painter.isActive())
            m_painter.end();
    }

    void End() override
    {
        m_canvas.reset();
        // Ending writes the document out: a file that cannot be completed is no print.
        if (m_painter.isActive() && !m_painter.end())
            throw Error(fileNotMade(m_printer->outputFileName()));
    }

private:
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    std::unique_ptr<orv::platform::Canvas> m_canvas;
    DeviceMode m_mode;
    bool m_started = false;
};

// A document drawn for a CUPS queue: written as the printer's PDF into a spool file of
// its own, then sent to the queue as one checked job.
class SpooledDocument final : public PrintDocument {
public:
    SpooledDocument(std::unique_ptr<QPrinter> Printer, const QString& Title, const DeviceMode& Mode)
        : m_name(Printer->printerName()), m_title(Title), m_mode(Mode)
    {
        if (!m_dir.isValid())
            throw Error(QStringLiteral("Il documento non è stato stampato: manca una cartella temporanea."));
        m_file = m_dir.filePath(QStringLiteral("documento"));
        // A name without the PDF suffix keeps the printer's own engine and page layout,
        // which then writes into the file instead of starting a job.
        Printer->setOutputFileName(m_file);
        m_drawn = std::make_unique<QPrinterDocument>(std::move(Printer));
    }
    orv::platform::Canvas* BeginPage(const DeviceMode& Mode) override { return m_drawn->BeginPage(Mode); }
    void EndPage() override { m_drawn->EndPage(); }
    void Abort() override { m_drawn->Abort(); }
    void End() override
    {
        m_drawn->End();
        QFile file(m_file);
        if (!file.open(QIODevice::ReadOnly))
            throw Error(QStringLiteral("Il documento non è stato stampato: il file di stampa non si può leggere."));
        printPdf(m_name, m_title, m_mode, file);
    }

private:
    QTemporaryDir m_dir;
    QString m_name, m_title, m_file;
    DeviceMode m_mode;
    std::unique_ptr<QPrinterDocument> m_drawn;
};

PageWriterMaker& pageWriterMaker()
{
    static PageWriterMaker maker;
    return maker;
}

// A document that takes its pages whole and has the registered writer write them as
// PDF: to a file, or to a spool file that goes to a CUPS queue as one checked job.
class WrittenDocument final : public PrintDocument {
public:
    WrittenDocument(std::unique_ptr<PageWriter> Writer, const QString& Title) : m_writer(std::move(Writer)), m_title(Title)
    {
    }

    void ToFile(const QString& FileName)
    {
        auto file = std::make_unique<QSaveFile>(FileName);
        file->setDirectWriteFallback(true);
        if (!file->open(QIODevice::WriteOnly))
            throw orv::platform::EFileError(fileNotMade(FileName));
        m_output = std::move(file);
    }

    void ToQueue(const QString& Printer, const DeviceMode& Mode)
    {
        checkQueue(Printer);
        auto spool = std::make_unique<QTemporaryFile>();
        if (!spool->open())
            throw Error(QStringLiteral("Il documento non è stato stampato: il file di stampa non si può creare."));
        m_output = std::move(spool);
        m_printer = Printer;
        m_mode = Mode;
    }

    orv::platform::Canvas* BeginPage(const DeviceMode& Mode) override
    {
        m_pageMode = Mode;
        m_placed = false;
        return nullptr;
    }

    bool PlacePage(TfrxPreviewPages* Pages, int Index) override
    {
        if (!m_started) {
            m_writer->Start(Pages, m_title, m_output.get());
            m_started = true;
        }
        m_writer->WritePage(Index);
        m_placed = true;
        return true;
    }

    void EndPage() override
    {
        // A page left empty keeps its sheet, as one that starts the next copy does.
        if (!m_placed && m_started) {
            QSizeF size = pageSizeOf(m_pageMode).size(QPageSize::Millimeter);
            if (m_pageMode.Orientation == DeviceMode::Landscape)
                size.transpose();
            m_writer->WriteBlankPage(size.width(), size.height());
        }
        m_placed = false;
    }

    void Abort() override
    {
        if (auto* file = dynamic_cast<QSaveFile*>(m_output.get()))
            file->cancelWriting();
        m_output.reset();
    }

    void End() override
    {
        if (!m_output)
            return;
        if (m_started)
            m_writer->Finish();
        if (auto* file = dynamic_cast<QSaveFile*>(m_output.get())) {
            if (!file->commit())
                throw orv::platform::EFileError(fileNotMade(file->fileName()));
        } else if (m_started) {
            printPdf(m_printer, m_title, m_mode, *m_output);
        }
        m_output.reset();
    }

private:
    std::unique_ptr<PageWriter> m_writer;
    std::unique_ptr<QIODevice> m_output;
    QString m_title, m_printer;
    DeviceMode m_mode, m_pageMode;
    bool m_started = false, m_placed = false;
};

class CupsRawDocument final : public RawDocument {
public:
    CupsRawDocument(const QString& Printer, const QString& Title) : m_printer(Printer.toUtf8())
    {
        const QByteArray title = Title.toUtf8();
        m_job = cupsCreateJob(CUPS_HTTP_DEFAULT, m_printer.constData(), title.constData(), 0, nullptr);
        if (m_job <= 0 || cupsStartDocument(CUPS_HTTP_DEFAULT, m_printer.constData(), m_job, title.constData(),
                                            CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE)
            throw Error(QString::fromUtf8(cupsLastErrorString()));
    }
    ~CupsRawDocument() override
    {
        if (m_open)
            cupsFinishDocument(CUPS_HTTP_DEFAULT, m_printer.constData());
    }
    void Write(const QByteArray& Data) override
    {
        if (m_open)
            cupsWriteRequestData(CUPS_HTTP_DEFAULT, Data.constData(), size_t(Data.size()));
    }
    void End() override
    {
        if (!m_open)
            return;
        m_open = false;
        cupsFinishDocument(CUPS_HTTP_DEFAULT, m_printer.constData());
    }

private:
    QByteArray m_printer;
    int m_job = 0;
    bool m_open = true;
};

class CupsPrinterService final : public PrinterService {
public:
    QStringList Printers() override { return QPrinterInfo::availablePrinterNames(); }
    QString DefaultPrinter() override { return QPrinterInfo::defaultPrinterName(); }
    QString Location(const QString& Printer) override { return QPrinterInfo::printerInfo(Printer).location(); }

    std::optional<DeviceMode> DefaultMode(const QString& Printer) override
    {
        const QPrinterInfo info = QPrinterInfo::printerInfo(Printer);
        if (info.isNull())
            return std::nullopt;
        DeviceMode mode;
        setPaper(mode, info.defaultPageSize().isValid() ? info.defaultPageSize() : QPageSize(QPageSize::A4));
        mode.Duplex = duplexValue(info.defaultDuplexMode());
        return mode;
    }

    QList<NumberedName> Papers(const QString& Printer) override
    {
        // Papers without a number of their own cannot be stored in a layout; a custom
        // size covers them.
        QList<NumberedName> out;
        for (const QPageSize& size : QPrinterInfo::printerInfo(Printer).supportedPageSizes())
            if (size.windowsId() > 0 && size.windowsId() != frxCustomPaper)
                out.push_back({size.windowsId(), size.name()});
        return out;
    }

    // CUPS does not tell its trays through Qt: every page takes the default tray.
    QList<NumberedName> Bins(const QString&) override { return {}; }

    std::optional<DeviceCaps> Measure(const QString& Printer, const DeviceMode& Mode) override
    {
        const QPrinterInfo info = QPrinterInfo::printerInfo(Printer);
        if (info.isNull())
            return std::nullopt;
        QPrinter printer(info, QPrinter::HighResolution);
        applyDeviceMode(printer, Mode);
        const int dpi = printer.resolution();
        const QRect full = printer.pageLayout().fullRectPixels(dpi);
        const QRect paint = printer.pageLayout().paintRectPixels(dpi);
        DeviceCaps caps;
        caps.DpiX = caps.DpiY = dpi;
        caps.PhysicalWidth = full.width();
        caps.PhysicalHeight = full.height();
        caps.OffsetX = paint.left();
        caps.OffsetY = paint.top();
        caps.HorzRes = paint.width();
        caps.VertRes = paint.height();
        return caps;
    }

    std::unique_ptr<PrintDocument> StartDocument(const QString& Printer, const QString& Title, const QString& FileName,
                                                 const DeviceMode& Mode, bool WholePages) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(Printer), QPrinter::HighResolution);
        if (!printer->isValid())
            throw Error(QStringLiteral("Printer selected is not valid"));
        // Pages printed whole go as the PDF the program writes itself: the same text,
        // fonts and places as its export, in a fraction of the time and room.
        if (WholePages) {
            if (std::unique_ptr<PageWriter> writer = makePageWriter()) {
                auto document = std::make_unique<WrittenDocument>(std::move(writer), Title);
                if (FileName.isEmpty())
                    document->ToQueue(Printer, Mode);
                else
                    document->ToFile(FileName);
                return document;
            }
        }
        printer->setDocName(Title);
        if (!FileName.isEmpty())
            printer->setOutputFileName(FileName);
        printer->setCopyCount(std::max(1, Mode.Copies));
        // More than one copy per page is only asked for when copies are not collated.
        printer->setCollateCopies(Mode.Copies <= 1);
        printer->setDuplex(qtDuplex(Mode.Duplex));
        applyDeviceMode(*printer, Mode);
        if (FileName.isEmpty()) {
            checkQueue(Printer);
            return std::make_unique<SpooledDocument>(std::move(printer), Title, Mode);
        }
        return startQPrinterDocument(std::move(printer));
    }

    bool PropertiesDialog(const QString& Printer, DeviceMode& Mode) override
    {
        QPrinter printer(QPrinterInfo::printerInfo(Printer), QPrinter::HighResolution);
        applyDeviceMode(printer, Mode);
        printer.setDuplex(qtDuplex(Mode.Duplex));
        QPageSetupDialog dialog(&printer);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        setPaper(Mode, printer.pageLayout().pageSize());
        Mode.Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? DeviceMode::Landscape
                                                                                        : DeviceMode::Portrait;
        Mode.Duplex = duplexValue(printer.duplex());
        return true;
    }

    std::unique_ptr<RawDocument> StartRawDocument(const QString& Printer, const QString& Title) override
    {
        return std::make_unique<CupsRawDocument>(Printer, Title);
    }
};

PrinterService* installed = nullptr;

} // namespace

void applyDeviceMode(QPrinter& Printer, const DeviceMode& Mode)
{
    Printer.setPageSize(pageSizeOf(Mode));
    Printer.setPageOrientation(Mode.Orientation == DeviceMode::Landscape ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait);
    // Drawing starts at the printable area's corner, as wide as the printer can print.
    const QPageLayout layout = Printer.pageLayout();
    Printer.setPageMargins(layout.minimumMargins(), layout.units());
}

std::unique_ptr<PrintDocument> startQPrinterDocument(std::unique_ptr<QPrinter> Printer)
{
    return std::make_unique<QPrinterDocument>(std::move(Printer));
}

void setPageWriterMaker(PageWriterMaker Maker) { pageWriterMaker() = std::move(Maker); }

std::unique_ptr<PageWriter> makePageWriter() { return pageWriterMaker() ? pageWriterMaker()() : nullptr; }

std::unique_ptr<PrintDocument> startWrittenDocument(const QString& Title, const QString& FileName)
{
    std::unique_ptr<PageWriter> writer = makePageWriter();
    if (!writer)
        return nullptr;
    auto document = std::make_unique<WrittenDocument>(std::move(writer), Title);
    document->ToFile(FileName);
    return document;
}

PrinterService& printerService()
{
    static CupsPrinterService cups;
    return installed ? *installed : cups;
}

void setPrinterService(PrinterService* Service)
{
    installed = Service;
    frxResetPrinterList();
}

} // namespace orv::report
