#pragma once
// The print dialog: which printer, which pages, how many copies, collation, odd or even
// pages, page order, duplex and printing to a file. It works on the report's print
// options and the printer list, and writes the user's choices into both on OK.
#include "report/preview/controls.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
namespace orv::report {

class TfrxReport;

class TfrxPrintDialog : public orv::report::EngineWindow {
public:
    explicit TfrxPrintDialog(QWidget* Owner = nullptr);

    // Set by the caller before showing.
    TfrxReport* AReport = nullptr;
    // The duplex mode as an index: 0 default, 1 vertical, 2 horizontal, 3 simplex.
    int ADuplexMode = 0;
    // The printer current when the dialog was made; current again after a cancel.
    int OldIndex = -1;

    // Sets the controls from the report's print options.
    void FormShow();

    QGroupBox* Label12;
    QLabel* NameL;
    QComboBox* PrintersCB;
    QPushButton* PropButton;
    QLabel* WhereL;
    QLabel* WhereL1;
    QCheckBox* FileCB;
    QGroupBox* Label1;
    QRadioButton* AllRB;
    QRadioButton* CurPageRB;
    QRadioButton* PageNumbersRB;
    QLineEdit* PageNumbersE;
    QLabel* DescrL;
    QGroupBox* Label2;
    QLabel* CopiesL;
    QLineEdit* CopiesE;
    QCheckBox* CollateCB;
    QGroupBox* OtherGB;
    QLabel* PrintL;
    QComboBox* PrintPagesCB;
    QLabel* OrderL;
    QComboBox* OrderCB;
    QLabel* DuplexL;
    QComboBox* DuplexCB;
    QGroupBox* ScaleGB;
    QComboBox* PrintModeCB;
    QLabel* PagSizeL;
    QComboBox* PagPageSizeCB;
    QPushButton* OkB;
    QPushButton* CancelB;

    void PrintersCBClick();
    void PropButtonClick();
    void PrintModeCBClick();
    void PageNumbersEEnter();
    void PageNumbersRBClick();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void FormCreate();
    // Closing: with OK, the file to print to and the print options; otherwise the
    // printer current before. False keeps the window open (a copy count or page list
    // that does not read).
    bool FormHide();
};

// Shows the print dialog for the report with the duplex mode; true after OK, and the
// duplex mode is then the one chosen.
bool frxExecutePrintDialog(TfrxReport* Report, int& DuplexMode);

} // namespace orv::report
