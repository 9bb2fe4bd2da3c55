#include "support.h"

#include "report/base/paper.h"
#include "report/model/bands.h"
#include "report/preview/startup.h"
#include "report/print/printers.h"

#include <algorithm>
#include <map>

using namespace orv::report;
using namespace orv::script;

namespace orv::report::test {

QStringList PrintedPage::lines() const
{
    std::vector<RecordingCanvas::Text> sorted = texts;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.topLeft.y() < b.topLeft.y() - 0.5; });
    QStringList out;
    for (const auto& t : sorted)
        out << t.text;
    return out;
}

FakePrinter& RecordingPrinterService::add(const QString& name, const QString& location)
{
    FakePrinter p;
    p.name = name;
    p.location = location;
    printers.push_back(p);
    return printers.back();
}

const FakePrinter* RecordingPrinterService::find(const QString& name) const
{
    for (const FakePrinter& p : printers)
        if (p.name == name)
            return &p;
    return nullptr;
}

QStringList RecordingPrinterService::Printers()
{
    QStringList out;
    for (const FakePrinter& p : printers)
        out << p.name;
    return out;
}

QString RecordingPrinterService::Location(const QString& Printer)
{
    const FakePrinter* p = find(Printer);
    return p ? p->location : QString();
}

std::optional<DeviceMode> RecordingPrinterService::DefaultMode(const QString& Printer)
{
    const FakePrinter* p = find(Printer);
    if (!p || !p->opens)
        return std::nullopt;
    return p->defaults;
}

QList<NumberedName> RecordingPrinterService::Papers(const QString& Printer)
{
    const FakePrinter* p = find(Printer);
    return p ? p->papers : QList<NumberedName>();
}

QList<NumberedName> RecordingPrinterService::Bins(const QString& Printer)
{
    const FakePrinter* p = find(Printer);
    return p ? p->bins : QList<NumberedName>();
}

std::optional<DeviceCaps> RecordingPrinterService::Measure(const QString& Printer, const DeviceMode& Mode)
{
    const FakePrinter* p = find(Printer);
    if (!p)
        return std::nullopt;
    ++measures;
    double w = 210, h = 297;
    if (Mode.PaperSize == 256 && Mode.PaperWidth > 0)
        w = Mode.PaperWidth / 10, h = Mode.PaperLength / 10;
    else
        frxPaperDimensions(Mode.PaperSize, w, h);
    if (Mode.Orientation == DeviceMode::Landscape)
        std::swap(w, h);
    const double px = p->dpi / 25.4;
    DeviceCaps caps;
    caps.DpiX = caps.DpiY = p->dpi;
    caps.PhysicalWidth = w * px;
    caps.PhysicalHeight = h * px;
    caps.OffsetX = caps.OffsetY = p->margin * px;
    caps.HorzRes = (w - 2 * p->margin) * px;
    caps.VertRes = (h - 2 * p->margin) * px;
    return caps;
}

namespace {

class RecordingDocument final : public PrintDocument {
public:
    explicit RecordingDocument(PrintedDocument& Doc) : m_doc(Doc) {}
    orv::platform::Canvas* BeginPage(const DeviceMode& Mode) override
    {
        m_mode = Mode;
        m_canvas = std::make_unique<RecordingCanvas>(true);
        return m_canvas.get();
    }
    void EndPage() override
    {
        if (!m_canvas)
            return;
        m_doc.pages.push_back({m_mode, m_canvas->texts, m_canvas->shapes});
        m_canvas.reset();
    }
    void Abort() override { m_doc.aborted = true; }
    void End() override { m_doc.ended = true; }

private:
    PrintedDocument& m_doc;
    DeviceMode m_mode;
    std::unique_ptr<RecordingCanvas> m_canvas;
};

class RecordingRaw final : public RawDocument {
public:
    explicit RecordingRaw(QList<QByteArray>& Out) : m_out(Out) { m_out << QByteArray(); }
    void Write(const QByteArray& Data) override { m_out.back() += Data; }
    void End() override {}

private:
    QList<QByteArray>& m_out;
};

} // namespace

std::unique_ptr<PrintDocument> RecordingPrinterService::StartDocument(const QString& Printer, const QString& Title,
                                                                      const QString& FileName, const DeviceMode& Mode,
                                                                      bool WholePages)
{
    documents.push_back({Printer, Title, FileName, Mode, {}});
    documents.back().wholePages = WholePages;
    return std::make_unique<RecordingDocument>(documents.back());
}

bool RecordingPrinterService::PropertiesDialog(const QString&, DeviceMode& Mode)
{
    if (propertiesAnswers.empty())
        return false;
    const auto answer = propertiesAnswers.front();
    propertiesAnswers.pop_front();
    if (!answer)
        return false;
    Mode = *answer;
    return true;
}

std::unique_ptr<RawDocument> RecordingPrinterService::StartRawDocument(const QString&, const QString&)
{
    return std::make_unique<RecordingRaw>(raw);
}

std::optional<QString> FakeSaveDialog::saveFile(const QString& Title, const QString& Filter)
{
    titles << Title;
    filters << Filter;
    if (answers.empty())
        return std::nullopt;
    const auto a = answers.front();
    answers.pop_front();
    return a;
}

void PrintingTest::SetUp()
{
    GuiTest::SetUp();
    printing.add(QStringLiteral("Ufficio"), QStringLiteral("Segreteria, primo piano"));
    printing.add(QStringLiteral("Laboratorio"), QStringLiteral("Banco prove"));
    printing.defaultPrinter = QStringLiteral("Ufficio");
    setPrinterService(&printing);
    setSaveDialog(&saves);
    frxInitializeReportUserInterface();
}

void PrintingTest::TearDown()
{
    setSaveDialog(nullptr);
    setPrinterService(nullptr);
    GuiTest::TearDown();
}

std::unique_ptr<TfrxReport> PrintingTest::preparedList(int lines)
{
    auto report = listReport(lines);
    EXPECT_TRUE(report->PrepareReport(true)) << report->Errors()->Text().toStdString();
    return report;
}

QStringList PrintingTest::errorBoxes() const
{
    QStringList out;
    for (const auto& c : messages.calls)
        if (c.kind == orv::test::MessageCall::Error)
            out << c.text;
    return out;
}

QString listLine(int n) { return QStringLiteral("RIGA %1 CLIENTE DI PROVA").arg(n, 4, 10, QChar(u'0')); }

std::unique_ptr<TfrxReport> listReport(int lines)
{
    auto report = std::make_unique<TfrxReport>();
    report->LoadFromFile(QStringLiteral(ORV_FIXTURES "/report/riepilogo_dati.xml"), true);
    auto* memo = report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiepilogo"));
    memo->Memo()->Clear();
    for (int i = 1; i <= lines; ++i)
        memo->Memo()->Add(listLine(i));
    memo->SetHeight(lines * 12.822);
    report->FindObjectAs<TfrxMasterData>(QStringLiteral("MasterData"))->SetHeight(memo->Height() + 10);
    return report;
}

} // namespace orv::report::test
