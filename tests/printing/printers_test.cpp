// The printer list and its printers: the system's printers through the printing service,
// the virtual printer without them, papers and trays, measuring in whole millimetres,
// and the set-up handed to each printed page.
#include "support.h"

#include "report/print/printers.h"
#include "report/print/systemprinters.h"

using namespace orv::report;
using namespace orv::report::test;

using PrintersTest = PrintingTest;

TEST_F(PrintersTest, ListsTheSystemsPrintersAndSelectsTheDefaultOne)
{
    printing.defaultPrinter = QStringLiteral("Laboratorio");
    frxResetPrinterList();
    TfrxCustomPrinters* list = frxPrinterList();
    EXPECT_TRUE(list->HasPhysicalPrinters());
    EXPECT_EQ(list->Printers(), QStringList({QStringLiteral("Ufficio"), QStringLiteral("Laboratorio")}));
    EXPECT_EQ(list->PrinterIndex(), 1);
    EXPECT_EQ(list->IndexOf(QStringLiteral("laboratorio")), 1);
    EXPECT_EQ(list->IndexOf(QStringLiteral("Cantina")), -1);
    TfrxCustomPrinter* p = list->Printer();
    ASSERT_TRUE(p->Initialized());
    EXPECT_EQ(p->Port(), QStringLiteral("Banco prove"));
    EXPECT_EQ(p->DefPaper(), 9);
    EXPECT_EQ(p->DefPaperWidth(), 210);
    EXPECT_EQ(p->DefPaperHeight(), 297);
    EXPECT_EQ(p->DefOrientation(), poPortrait);
    EXPECT_EQ(p->DPI(), QPoint(300, 300));
    // "Custom" heads the papers, "Default" the trays.
    EXPECT_EQ(p->Papers().Names, QStringList({QStringLiteral("Custom"), QStringLiteral("A4"), QStringLiteral("A3"),
                                              QStringLiteral("A5")}));
    EXPECT_EQ(p->PaperIndex(256), 0);
    EXPECT_EQ(p->PaperNameToNumber(QStringLiteral("a3")), 8);
    EXPECT_EQ(p->PaperNameToNumber(QStringLiteral("Busta")), 256);
    EXPECT_EQ(p->BinNameToNumber(QStringLiteral("Cassetto 9")), 7);
    EXPECT_EQ(list->Items(-1), nullptr);
    EXPECT_THROW(list->Items(2), ListError);
}

TEST_F(PrintersTest, DefaultNameNotListedFallsBackToTheFirstPrinter)
{
    printing.defaultPrinter = QStringLiteral("Rete");
    frxResetPrinterList();
    EXPECT_EQ(frxPrinterList()->PrinterIndex(), 0);
    // Asking for the default printer again finds none.
    frxPrinterList()->SetPrinterIndex(-1);
    EXPECT_EQ(frxPrinterList()->Printer(), nullptr);
}

TEST_F(PrintersTest, WithoutPrintersTheVirtualPrinterMeasuresPages)
{
    printing.printers.clear();
    frxResetPrinterList();
    TfrxCustomPrinters* list = frxPrinterList();
    EXPECT_FALSE(list->HasPhysicalPrinters());
    EXPECT_TRUE(list->Printers().isEmpty());
    TfrxCustomPrinter* p = list->Printer();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Name(), QStringLiteral("Virtual"));
    EXPECT_EQ(p->DPI(), QPoint(600, 600));
    EXPECT_EQ(p->Papers().Count(), 67);
    p->SetViewParams(9, 0, 0, poLandscape);
    EXPECT_EQ(p->PaperWidth(), 297);
    EXPECT_EQ(p->PaperHeight(), 210);
    EXPECT_EQ(p->LeftMargin(), 5);
    EXPECT_EQ(p->BottomMargin(), 5);
    p->SetViewParams(256, 123.4, 56.7, poPortrait);
    EXPECT_EQ(p->Paper(), 256);
    EXPECT_DOUBLE_EQ(p->PaperWidth(), 123.4);
    EXPECT_DOUBLE_EQ(p->PaperHeight(), 56.7);
}

TEST_F(PrintersTest, PrinterThatCannotBeReadStaysUninitialised)
{
    printing.printers[0].opens = false;
    frxResetPrinterList();
    EXPECT_FALSE(frxPrinterList()->Printer()->Initialized());
    EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(PrintersTest, MeasuresInWholeMillimetres)
{
    FakePrinter& fine = printing.add(QStringLiteral("Plotter"));
    fine.dpi = 600;
    fine.margin = 3.3;
    frxResetPrinterList();
    TfrxCustomPrinters* list = frxPrinterList();
    list->SetPrinterIndex(list->IndexOf(QStringLiteral("Plotter")));
    TfrxCustomPrinter* p = list->Printer();
    // 4960 dots at 600 per inch are 210 mm.
    EXPECT_EQ(p->PaperWidth(), 210);
    EXPECT_EQ(p->LeftMargin(), 3);
    EXPECT_EQ(p->RightMargin(), 210 - 203 - 3);
    p->SetViewParams(8, 0, 0, poLandscape);
    EXPECT_EQ(p->Paper(), 8);
    EXPECT_EQ(p->PaperWidth(), 420);
    EXPECT_EQ(p->PaperHeight(), 297);
    // A custom size is measured as A4 and keeps the size asked for.
    p->SetViewParams(256, 100, 150, poPortrait);
    EXPECT_EQ(p->Paper(), 256);
    EXPECT_EQ(p->PaperWidth(), 100);
    EXPECT_EQ(p->LeftMargin(), 3);
}

TEST_F(PrintersTest, PrintSetUpMapsPaperTrayDuplexAndCopies)
{
    auto* p = dynamic_cast<TfrxPrinter*>(frxPrinterList()->Printer());
    ASSERT_NE(p, nullptr);
    struct Case {
        int paper;
        double w, h;
        TPrinterOrientation orientation;
        int duplex;
        int expectedLength, expectedWidth, expectedDuplex, expectedOrientation;
    };
    const Case cases[] = {
        {256, 150, 100, poLandscape, 3, 1500, 1000, DeviceMode::Simplex, DeviceMode::Landscape},
        {256, 150, 100, poPortrait, 1, 1000, 1500, DeviceMode::Vertical, DeviceMode::Portrait},
        {9, 210, 297, poPortrait, 2, 0, 0, DeviceMode::Horizontal, DeviceMode::Portrait},
        {9, 210, 297, poPortrait, 0, 0, 0, DeviceMode::Simplex, DeviceMode::Portrait},
    };
    for (const Case& c : cases) {
        p->SetPrintParams(c.paper, c.w, c.h, c.orientation, 7, c.duplex, 2);
        EXPECT_EQ(p->Mode().PaperSize, c.paper);
        EXPECT_EQ(p->Mode().PaperLength, c.expectedLength);
        EXPECT_EQ(p->Mode().PaperWidth, c.expectedWidth);
        EXPECT_EQ(p->Mode().Duplex, c.expectedDuplex);
        EXPECT_EQ(p->Mode().Orientation, c.expectedOrientation);
        EXPECT_EQ(p->Mode().Copies, 2);
        EXPECT_EQ(p->Orientation(), c.orientation);
    }
}

TEST_F(PrintersTest, TrayChosenInThePropertiesDialogHoldsForOneDocument)
{
    printing.printers[0].defaults.DefaultSource = 4;
    frxResetPrinterList();
    auto* p = dynamic_cast<TfrxPrinter*>(frxPrinterList()->Printer());
    DeviceMode chosen = p->Mode();
    chosen.DefaultSource = 15;
    chosen.Duplex = DeviceMode::Vertical;
    printing.propertiesAnswers.push_back(chosen);
    p->PropertiesDlg();
    EXPECT_EQ(p->Bin(), 15);
    EXPECT_EQ(p->Duplex(), DeviceMode::Vertical);
    p->SetPrintParams(9, 210, 297, poPortrait, 7, 0, 1);
    EXPECT_EQ(p->Mode().DefaultSource, 15);
    EXPECT_EQ(p->Mode().Duplex, DeviceMode::Vertical);
    p->BeginDoc();
    p->EndDoc();
    EXPECT_EQ(p->Bin(), -1);
    p->SetPrintParams(9, 210, 297, poPortrait, 7, 0, 1);
    EXPECT_EQ(p->Mode().DefaultSource, 4);
    // A tray named by the page is used as it is.
    p->SetPrintParams(9, 210, 297, poPortrait, 2, 0, 1);
    EXPECT_EQ(p->Mode().DefaultSource, 2);
}

TEST_F(PrintersTest, DocumentsCarryTheirTitleAndFile)
{
    TfrxCustomPrinter* p = frxPrinterList()->Printer();
    p->BeginDoc();
    p->BeginPage();
    ASSERT_NE(p->Canvas(), nullptr);
    EXPECT_TRUE(p->Canvas()->isPrinter());
    p->EndPage();
    EXPECT_EQ(p->Canvas(), nullptr);
    p->EndDoc();
    p->SetTitle(QStringLiteral("Preventivo"));
    p->SetFileName(QStringLiteral("/tmp/uscita.prn"));
    p->BeginDoc();
    p->Abort();
    ASSERT_EQ(printing.documents.size(), 2u);
    EXPECT_EQ(printing.documents[0].title, QStringLiteral("Ziza Viziva Document"));
    EXPECT_TRUE(printing.documents[0].ended);
    EXPECT_EQ(printing.documents[0].pages.size(), 1u);
    EXPECT_EQ(printing.documents[1].title, QStringLiteral("Preventivo"));
    EXPECT_EQ(printing.documents[1].fileName, QStringLiteral("/tmp/uscita.prn"));
    EXPECT_TRUE(printing.documents[1].aborted);
    EXPECT_FALSE(p->Printing());

    p->BeginRAWDoc();
    p->WriteRAWDoc(QByteArray("\x1b@", 2));
    p->WriteRAWDoc("ciao");
    p->EndRAWDoc();
    EXPECT_EQ(printing.raw, QList<QByteArray>({QByteArray("\x1b@ciao", 6)}));
}

TEST_F(PrintersTest, NewReportPagesTakeTheDefaultPrintersPaper)
{
    printing.printers[0].defaults.PaperSize = 11;
    printing.printers[0].defaults.Orientation = DeviceMode::Landscape;
    frxResetPrinterList();
    TfrxReport report;
    TfrxReportPage page(&report);
    page.SetDefaults();
    EXPECT_EQ(page.PaperSize(), 11);
    EXPECT_EQ(page.PaperWidth(), 210);
    EXPECT_EQ(page.PaperHeight(), 148);
    EXPECT_EQ(page.Orientation(), poLandscape);
    EXPECT_EQ(page.LeftMargin(), 10);
}
