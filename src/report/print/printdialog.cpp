#include "report/print/printdialog.h"

#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "platform/ui/services.h"
#include "report/base/errors.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/model/report.h"
#include "report/print/printers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace orv::report {

using orv::report::connectHandler;

namespace {

QString res(int Id) { return frxResourceText(Id); }
QString res(const char* Name) { return frxStringResources()->Get(QString::fromLatin1(Name)); }

orv::platform::ui::FormSpec windowLayout()
{
    orv::platform::ui::FormSpec s;
    s.name = QStringLiteral("frxPrintDialog");
    s.caption = res(200);
    s.clientWidth = 557;
    s.clientHeight = 333;
    return s;
}

} // namespace

TfrxPrintDialog::TfrxPrintDialog(QWidget* Owner) : EngineWindow(Owner, windowLayout())
{
    Label12 = AddGroup(nullptr, "Label12", 4, 4, 549, 73, QString());
    NameL = AddLabel(Label12, "NameL", 8, 20, 50, 17, QString());
    PrintersCB = AddCombo(Label12, "PrintersCB", 60, 16, 329, 22);
    PropButton = AddButton(Label12, "PropButton", 444, 16, 95, 22, QString());
    WhereL = AddLabel(Label12, "WhereL", 8, 48, 50, 17, QString());
    WhereL1 = AddLabel(Label12, "WhereL1", 60, 48, 340, 17, QString());
    FileCB = AddCheck(Label12, "FileCB", 408, 48, 129, 17, QString());

    Label1 = AddGroup(nullptr, "Label1", 4, 80, 261, 117, QString());
    AllRB = AddRadio(Label1, "AllRB", 8, 20, 120, 17, QString());
    CurPageRB = AddRadio(Label1, "CurPageRB", 8, 40, 120, 17, QString());
    PageNumbersRB = AddRadio(Label1, "PageNumbersRB", 8, 60, 74, 17, QString());
    PageNumbersE = AddEdit(Label1, "PageNumbersE", 84, 58, 165, 21);
    DescrL = AddLabel(Label1, "DescrL", 8, 82, 249, 29, QString());
    DescrL->setWordWrap(true);

    Label2 = AddGroup(nullptr, "Label2", 272, 80, 281, 117, QString());
    CopiesL = AddLabel(Label2, "CopiesL", 12, 20, 126, 17, QString());
    CopiesE = AddEdit(Label2, "CopiesE", 140, 16, 113, 21, QStringLiteral("1"));
    CollateCB = AddCheck(Label2, "CollateCB", 140, 58, 133, 17, QString());
    // The collation pictures of the layout draw nothing.
    AddLabel(Label2, "CopiesPB", 12, 48, 120, 60, QString());
    AddLabel(Label2, "CollateImg", 12, 48, 120, 60, QString())->hide();
    AddLabel(Label2, "NonCollateImg", 12, 48, 120, 60, QString())->hide();

    OtherGB = AddGroup(nullptr, "OtherGB", 4, 200, 261, 97, QString());
    PrintL = AddLabel(OtherGB, "PrintL", 8, 20, 74, 17, QString());
    PrintPagesCB = AddCombo(OtherGB, "PrintPagesCB", 84, 16, 165, 21);
    OrderL = AddLabel(OtherGB, "OrderL", 8, 44, 74, 17, QString());
    OrderCB = AddCombo(OtherGB, "OrderCB", 84, 40, 165, 21);
    DuplexL = AddLabel(OtherGB, "DuplexL", 8, 68, 74, 17, QString());
    DuplexCB = AddCombo(OtherGB, "DuplexCB", 84, 64, 165, 21);

    ScaleGB = AddGroup(nullptr, "ScaleGB", 272, 200, 281, 97, QString());
    PrintModeCB = AddCombo(ScaleGB, "PrintModeCB", 12, 16, 257, 40);
    PrintModeCB->setEnabled(false);
    PagSizeL = AddLabel(ScaleGB, "PagSizeL", 12, 68, 126, 17, QString());
    PagPageSizeCB = AddCombo(ScaleGB, "PagPageSizeCB", 140, 64, 129, 21);
    PagPageSizeCB->setEnabled(false);

    OkB = AddButton(nullptr, "OkB", 398, 304, 75, 25, QString(), orv::platform::ui::mrOk);
    CancelB = AddButton(nullptr, "CancelB", 478, 304, 75, 25, QString(), orv::platform::ui::mrCancel);
    SetDefaultButton(OkB);
    SetCancelButton(CancelB);

    connectHandler(PrintersCB, &QComboBox::activated, this, [this] { PrintersCBClick(); });
    connectHandler(PropButton, &QPushButton::clicked, this, [this] { PropButtonClick(); });
    connectHandler(PrintModeCB, &QComboBox::activated, this, [this] { PrintModeCBClick(); });
    connectHandler(PageNumbersRB, &QRadioButton::clicked, this, [this] { PageNumbersRBClick(); });
    PageNumbersE->installEventFilter(this);
    onClose = [this](orv::platform::ui::CloseAction& action) {
        if (!FormHide())
            action = orv::platform::ui::CloseAction::None;
    };
    FormCreate();
    created();
}

void TfrxPrintDialog::FormCreate()
{
    setCaption(res(200));
    Label12->setTitle(res(201));
    NameL->setText(res(212));
    PropButton->setText(res(209));
    WhereL->setText(res(208));
    FileCB->setText(res(210));
    Label1->setTitle(res(202));
    AllRB->setText(res(3));
    AllRB->setChecked(true);
    CurPageRB->setText(res(4));
    PageNumbersRB->setText(res(5));
    DescrL->setText(res(9));
    Label2->setTitle(res(205));
    CopiesL->setText(res(203));
    CollateCB->setText(res(204));
    OtherGB->setTitle(res(207));
    PrintL->setText(res(206));
    OrderL->setText(res(211));
    DuplexL->setText(res(216));
    ScaleGB->setTitle(res(213));
    PagSizeL->setText(res(214));
    OkB->setText(res(1));
    CancelB->setText(res(2));

    OrderCB->addItems({res("poDirect"), res("poReverse")});
    OrderCB->setCurrentIndex(0);
    PrintPagesCB->addItems({res("ppAll"), res("ppOdd"), res("ppEven")});
    PrintPagesCB->setCurrentIndex(0);
    DuplexCB->addItems({res("dupDefault"), res("dupVert"), res("dupHorz"), res("dupSimpl")});
    DuplexCB->setCurrentIndex(0);
    PrintModeCB->addItems({res("pmDefault"), res("pmSplit"), res("pmJoin"), res("pmScale")});
    PrintModeCB->setCurrentIndex(0);

    TfrxCustomPrinters* printers = frxPrinterList();
    PrintersCB->addItems(printers->Printers());
    PrintersCB->setCurrentIndex(printers->PrinterIndex());
    PrintersCBClick();
    OldIndex = printers->PrinterIndex();
}

void TfrxPrintDialog::FormShow()
{
    if (!AReport)
        return;
    const TfrxPrintOptions* options = AReport->PrintOptions();
    CollateCB->setChecked(options->Collate());
    PageNumbersE->setText(options->PageNumbers());
    if (!options->PageNumbers().isEmpty())
        PageNumbersRB->setChecked(true);
    PrintPagesCB->setCurrentIndex(int(options->PrintPages()));
    OrderCB->setCurrentIndex(options->Reverse() ? 1 : 0);
    PrintModeCB->setCurrentIndex(int(options->PrintMode()));
    DuplexCB->setCurrentIndex(ADuplexMode);
    PrintModeCBClick();
    if (options->PrintMode() != pmDefault) {
        if (TfrxCustomPrinter* printer = frxPrinterList()->Printer()) {
            const int at = printer->PaperIndex(options->PrintOnSheet());
            const int custom = printer->PaperIndex(frxCustomPaper);
            if (at >= 0)
                PagPageSizeCB->setCurrentIndex(at + 1 - (custom >= 0 && custom < at ? 1 : 0));
        }
    }
}

bool TfrxPrintDialog::FormHide()
{
    TfrxCustomPrinters* printers = frxPrinterList();
    if (modalResult() == orv::platform::ui::mrOk) {
        // What does not read is told before anything is written, and the dialog stays.
        int copies = 0;
        if (!orv::platform::tryStrToInt(orv::platform::trimmed(CopiesE->text()), copies)) {
            orv::platform::ui::errorBox(QStringLiteral("'%1' is not a valid integer value").arg(CopiesE->text()));
            setModalResult(orv::platform::ui::mrNone);
            return false;
        }
        if (PageNumbersRB->isChecked() && AReport) {
            try {
                QStringList pages;
                frxExpandPageNumbers(PageNumbersE->text(), pages, AReport->PreviewPages()->Count());
            } catch (const orv::platform::Exception& e) {
                orv::platform::ui::errorBox(e.message());
                setModalResult(orv::platform::ui::mrNone);
                return false;
            }
        }
        if (TfrxCustomPrinter* printer = printers->Printer()) {
            printer->SetFileName(QString());
            if (FileCB->isChecked()) {
                const std::optional<QString> file =
                    orv::report::saveDialog().saveFile(res(507), res(510));
                if (file) {
                    const QFileInfo info(*file);
                    printer->SetFileName(info.path() + u'/' + info.completeBaseName() + QStringLiteral(".prn"));
                } else {
                    setModalResult(orv::platform::ui::mrCancel);
                }
            }
        }
        if (modalResult() == orv::platform::ui::mrOk && AReport) {
            TfrxPrintOptions* options = AReport->PrintOptions();
            options->SetCopies(copies);
            options->SetCollate(CollateCB->isChecked());
            if (AllRB->isChecked()) {
                options->SetPageNumbers(QString());
            } else if (CurPageRB->isChecked()) {
                options->SetPageNumbers(QString::number(std::max(1, AReport->PreviewPages()->CurPreviewPage)));
            } else {
                options->SetPageNumbers(PageNumbersE->text());
            }
            options->SetPrintPages(TfrxPrintPages(PrintPagesCB->currentIndex()));
            ADuplexMode = DuplexCB->currentIndex();
            options->SetReverse(OrderCB->currentIndex() == 1);
            options->SetPrintMode(TfrxPrintMode(PrintModeCB->currentIndex()));
            return true;
        }
    }
    printers->SetPrinterIndex(OldIndex);
    return true;
}

void TfrxPrintDialog::PrintersCBClick()
{
    TfrxCustomPrinters* printers = frxPrinterList();
    printers->SetPrinterIndex(PrintersCB->currentIndex());
    TfrxCustomPrinter* printer = printers->Printer();
    WhereL1->setText(printer ? printer->Port() : QString());
    PagPageSizeCB->clear();
    QStringList papers;
    if (printer)
        for (int i = 0; i < printer->Papers().Count(); ++i)
            if (printer->Papers().Numbers[i] != frxCustomPaper)
                papers << printer->Papers().Names[i];
    papers.prepend(res("pgDefault"));
    PagPageSizeCB->addItems(papers);
    PagPageSizeCB->setCurrentIndex(0);
}

void TfrxPrintDialog::PropButtonClick()
{
    TfrxCustomPrinter* printer = frxPrinterList()->Printer();
    if (!printer)
        return;
    printer->PropertiesDlg();
    const int duplex = printer->Duplex() == 1 ? 3 : printer->Duplex() - 1;
    if (duplex > 0) {
        ADuplexMode = duplex;
        DuplexCB->setCurrentIndex(duplex);
    }
}

void TfrxPrintDialog::PrintModeCBClick()
{
    if (PrintModeCB->currentIndex() == 0) {
        PagPageSizeCB->setCurrentIndex(0);
        PagPageSizeCB->setEnabled(false);
        return;
    }
    PagPageSizeCB->setEnabled(true);
    if (PagPageSizeCB->currentIndex() == 0)
        if (TfrxCustomPrinter* printer = frxPrinterList()->Printer())
            PagPageSizeCB->setCurrentIndex(printer->PaperIndex(9));
}

void TfrxPrintDialog::PageNumbersEEnter() { PageNumbersRB->setChecked(true); }

void TfrxPrintDialog::PageNumbersRBClick()
{
    if (isVisible())
        PageNumbersE->setFocus();
}

bool TfrxPrintDialog::eventFilter(QObject* o, QEvent* e)
{
    if (o == PageNumbersE && e->type() == QEvent::FocusIn)
        orv::report::guarded([this] { PageNumbersEEnter(); });
    return EngineWindow::eventFilter(o, e);
}

bool frxExecutePrintDialog(TfrxReport* Report, int& DuplexMode)
{
    auto dialog = std::make_unique<TfrxPrintDialog>();
    dialog->AReport = Report;
    dialog->ADuplexMode = DuplexMode;
    dialog->FormShow();
    if (dialog->showModal() != orv::platform::ui::mrOk)
        return false;
    DuplexMode = dialog->ADuplexMode;
    return true;
}

} // namespace orv::report
