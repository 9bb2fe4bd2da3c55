#pragma once
// The page-settings window of the preview: paper size, orientation and margins of one
// prepared page, shown in the unit of the engine's settings file (centimetres or
// inches), applied to the current page or to every page of the report.
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
class TfrxReportPage;

enum TfrxDesignerUnits : int { duCM, duInches, duPixels, duChars };

class TfrxPageSettingsForm : public orv::report::EngineWindow {
public:
    explicit TfrxPageSettingsForm(QWidget* Owner = nullptr);

    TfrxReportPage* Page() const { return FPage; }
    void SetPage(TfrxReportPage* Value) { FPage = Value; }
    TfrxReport* Report() const { return FReport; }
    void SetReport(TfrxReport* Value) { FReport = Value; }
    // "Apply to all pages" is chosen.
    bool NeedRebuild() const;
    int Units() const { return FUnits; }

    // Fills the fields from the page and the settings file's unit.
    void FormShow();
    void PortraitRBClick();
    void SizeCBClick();
    void WidthEChange();

    QGroupBox* SizeL;
    QComboBox* SizeCB;
    QLabel* WidthL;
    QLabel* HeightL;
    QLineEdit* WidthE;
    QLineEdit* HeightE;
    QLabel* UnitL1;
    QLabel* UnitL2;
    QGroupBox* OrientationL;
    QRadioButton* PortraitRB;
    QRadioButton* LandscapeRB;
    QLabel* PortraitImg;
    QLabel* LandscapeImg;
    QGroupBox* MarginsL;
    QLabel* LeftL;
    QLabel* TopL;
    QLabel* RightL;
    QLabel* BottomL;
    QLineEdit* MarginLeftE;
    QLineEdit* MarginTopE;
    QLineEdit* MarginRightE;
    QLineEdit* MarginBottomE;
    QLabel* UnitL3;
    QLabel* UnitL4;
    QLabel* UnitL5;
    QLabel* UnitL6;
    QGroupBox* OtherL;
    QRadioButton* ApplyToCurRB;
    QRadioButton* ApplyToAllRB;
    QPushButton* OKB;
    QPushButton* CancelB;

private:
    // Millimetres to the shown unit and back.
    QString toShown(double Millimetres) const;
    double fromShown(const QString& Text) const;
    // With OK: the page takes the fields; false (the window stays) when one does not read.
    bool FormClose();
    TfrxReportPage* FPage = nullptr;
    TfrxReport* FReport = nullptr;
    int FUnits = duCM;
    bool FUpdating = false;
};

} // namespace orv::report
