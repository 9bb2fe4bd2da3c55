#include "report/preview/pagesettings.h"

#include "platform/core/inifile.h"
#include "platform/ui/services.h"
#include "report/base/errors.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/model/report.h"
#include "report/print/printers.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace orv::report {

using orv::report::connectHandler;

namespace {

QString res(int Id) { return frxResourceText(Id); }

orv::platform::ui::FormSpec windowLayout()
{
    orv::platform::ui::FormSpec s;
    s.name = QStringLiteral("frxPageSettingsForm");
    s.caption = res(400);
    s.clientWidth = 286;
    s.clientHeight = 359;
    return s;
}

// A sheet seen upright or on its side, with a few lines of text on it.
QPixmap sheetPicture(int W, int H)
{
    QPixmap pm(W, H);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(96, 96, 96));
    p.setBrush(Qt::white);
    p.drawRect(0, 0, W - 1, H - 1);
    p.setPen(QColor(160, 160, 160));
    for (int y = 5; y < H - 4; y += 4)
        p.drawLine(4, y, W - 5, y);
    return pm;
}

} // namespace

TfrxPageSettingsForm::TfrxPageSettingsForm(QWidget* Owner) : EngineWindow(Owner, windowLayout())
{
    SizeL = AddGroup(nullptr, "SizeL", 4, 4, 277, 101, QString());
    SizeCB = AddCombo(SizeL, "SizeCB", 8, 18, 261, 21);
    WidthL = AddLabel(SizeL, "WidthL", 8, 48, 41, 13, QString());
    HeightL = AddLabel(SizeL, "HeightL", 8, 72, 49, 13, QString());
    WidthE = AddEdit(SizeL, "WidthE", 64, 46, 45, 21);
    HeightE = AddEdit(SizeL, "HeightE", 64, 70, 45, 21);
    UnitL1 = AddLabel(SizeL, "UnitL1", 112, 48, 40, 13, QString());
    UnitL2 = AddLabel(SizeL, "UnitL2", 112, 72, 40, 13, QString());

    OrientationL = AddGroup(nullptr, "OrientationL", 4, 108, 277, 65, QString());
    PortraitRB = AddRadio(OrientationL, "PortraitRB", 8, 20, 109, 17, QString());
    LandscapeRB = AddRadio(OrientationL, "LandscapeRB", 8, 40, 109, 17, QString());
    PortraitImg = AddLabel(OrientationL, "PortraitImg", 148, 21, 26, 32, QString());
    PortraitImg->setPixmap(sheetPicture(26, 32));
    LandscapeImg = AddLabel(OrientationL, "LandscapeImg", 145, 25, 32, 26, QString());
    LandscapeImg->setPixmap(sheetPicture(32, 26));

    MarginsL = AddGroup(nullptr, "MarginsL", 4, 176, 277, 73, QString());
    LeftL = AddLabel(MarginsL, "LeftL", 8, 20, 54, 13, QString());
    TopL = AddLabel(MarginsL, "TopL", 8, 44, 54, 13, QString());
    RightL = AddLabel(MarginsL, "RightL", 156, 20, 45, 13, QString());
    BottomL = AddLabel(MarginsL, "BottomL", 156, 44, 45, 13, QString());
    MarginLeftE = AddEdit(MarginsL, "MarginLeftE", 64, 18, 40, 21);
    MarginTopE = AddEdit(MarginsL, "MarginTopE", 64, 42, 40, 21);
    MarginRightE = AddEdit(MarginsL, "MarginRightE", 203, 18, 40, 21);
    MarginBottomE = AddEdit(MarginsL, "MarginBottomE", 203, 42, 40, 21);
    UnitL3 = AddLabel(MarginsL, "UnitL3", 108, 20, 30, 13, QString());
    UnitL4 = AddLabel(MarginsL, "UnitL4", 108, 44, 30, 13, QString());
    UnitL5 = AddLabel(MarginsL, "UnitL5", 248, 20, 25, 13, QString());
    UnitL6 = AddLabel(MarginsL, "UnitL6", 248, 44, 25, 13, QString());

    OtherL = AddGroup(nullptr, "OtherL", 4, 252, 277, 65, QString());
    ApplyToCurRB = AddRadio(OtherL, "ApplyToCurRB", 8, 20, 261, 17, QString());
    ApplyToAllRB = AddRadio(OtherL, "ApplyToAllRB", 8, 40, 261, 17, QString());
    ApplyToAllRB->setChecked(true);

    OKB = AddButton(nullptr, "OKB", 126, 328, 75, 25, QString(), orv::platform::ui::mrOk);
    CancelB = AddButton(nullptr, "CancelB", 206, 328, 75, 25, QString(), orv::platform::ui::mrCancel);
    SetDefaultButton(OKB);
    SetCancelButton(CancelB);

    connectHandler(SizeCB, &QComboBox::activated, this, [this] { SizeCBClick(); });
    connectHandler(WidthE, &QLineEdit::textChanged, this, [this] { WidthEChange(); });
    connectHandler(HeightE, &QLineEdit::textChanged, this, [this] { WidthEChange(); });
    connectHandler(PortraitRB, &QRadioButton::clicked, this, [this] { PortraitRBClick(); });
    connectHandler(LandscapeRB, &QRadioButton::clicked, this, [this] { PortraitRBClick(); });
    onClose = [this](orv::platform::ui::CloseAction& action) {
        if (modalResult() == orv::platform::ui::mrOk && !FormClose())
            action = orv::platform::ui::CloseAction::None;
    };
    created();
}

bool TfrxPageSettingsForm::NeedRebuild() const { return ApplyToAllRB->isChecked(); }

QString TfrxPageSettingsForm::toShown(double Millimetres) const
{
    switch (FUnits) {
    case duCM:
    case duPixels:
    case duChars:
        return frxFloatToDisplayText(Millimetres / 10);
    case duInches:
        return frxFloatToDisplayText(Millimetres / 25.4);
    default:
        return frxFloatToDisplayText(0);
    }
}

double TfrxPageSettingsForm::fromShown(const QString& Text) const
{
    const double v = frxTextToFloat(Text);
    switch (FUnits) {
    case duCM:
    case duPixels:
    case duChars:
        return v * 10;
    case duInches:
        return v * 25.4;
    default:
        return 0;
    }
}

void TfrxPageSettingsForm::FormShow()
{
    FUpdating = true;
    setCaption(res(400));
    SizeL->setTitle(res(403));
    WidthL->setText(res(401));
    HeightL->setText(res(402));
    OrientationL->setTitle(res(404));
    PortraitRB->setText(res(410));
    LandscapeRB->setText(res(411));
    MarginsL->setTitle(res(409));
    LeftL->setText(res(405));
    TopL->setText(res(406));
    RightL->setText(res(407));
    BottomL->setText(res(408));
    OtherL->setTitle(res(412));
    ApplyToCurRB->setText(res(413));
    ApplyToAllRB->setText(res(414));
    OKB->setText(res(1));
    CancelB->setText(res(2));

    FUnits = duCM;
    if (FReport)
        FUnits = FReport->GetIniFile()->readInteger(QStringLiteral("Form.TfrxDesignerForm"), QStringLiteral("Units"), 0);
    QString unit;
    if (FUnits == duCM || FUnits == duPixels || FUnits == duChars)
        unit = frxStringResources()->Get(QStringLiteral("uCm"));
    else if (FUnits == duInches)
        unit = frxStringResources()->Get(QStringLiteral("uInch"));
    for (QLabel* l : {UnitL1, UnitL2, UnitL3, UnitL4, UnitL5, UnitL6})
        l->setText(unit);

    SizeCB->clear();
    if (TfrxCustomPrinter* printer = frxPrinterList()->Printer()) {
        SizeCB->addItems(printer->Papers().Names);
        if (FPage) {
            int at = printer->PaperIndex(FPage->PaperSize());
            if (at < 0)
                at = printer->PaperIndex(frxCustomPaper);
            SizeCB->setCurrentIndex(at);
        }
    }
    if (FPage) {
        WidthE->setText(toShown(FPage->PaperWidth()));
        HeightE->setText(toShown(FPage->PaperHeight()));
        MarginLeftE->setText(toShown(FPage->LeftMargin()));
        MarginRightE->setText(toShown(FPage->RightMargin()));
        MarginTopE->setText(toShown(FPage->TopMargin()));
        MarginBottomE->setText(toShown(FPage->BottomMargin()));
        PortraitRB->setChecked(FPage->Orientation() == poPortrait);
        LandscapeRB->setChecked(FPage->Orientation() == poLandscape);
    }
    PortraitRBClick();
    FUpdating = false;
}

void TfrxPageSettingsForm::PortraitRBClick()
{
    PortraitImg->setVisible(PortraitRB->isChecked());
    LandscapeImg->setVisible(LandscapeRB->isChecked());
    SizeCBClick();
}

void TfrxPageSettingsForm::SizeCBClick()
{
    TfrxCustomPrinter* printer = frxPrinterList()->Printer();
    if (FUpdating || !printer || SizeCB->count() == 0)
        return;
    FUpdating = true;
    try {
        const int number = printer->PaperNameToNumber(SizeCB->currentText());
        const double w = fromShown(WidthE->text()), h = fromShown(HeightE->text());
        const TPrinterOrientation orientation = PortraitRB->isChecked() ? poPortrait : poLandscape;
        if (number == frxCustomPaper)
            printer->SetViewParams(frxCustomPaper, h, w, orientation);
        else
            printer->SetViewParams(number, w, h, orientation);
        WidthE->setText(toShown(printer->PaperWidth()));
        HeightE->setText(toShown(printer->PaperHeight()));
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TfrxPageSettingsForm::WidthEChange()
{
    if (FUpdating)
        return;
    SizeCB->setCurrentIndex(0);
}

bool TfrxPageSettingsForm::FormClose()
{
    if (!FPage)
        return true;
    // Every field is read before the page changes, so that a text that is no number
    // leaves the page as it was and the window open.
    double width = 0, height = 0, left = 0, right = 0, top = 0, bottom = 0;
    try {
        width = fromShown(WidthE->text());
        height = fromShown(HeightE->text());
        left = fromShown(MarginLeftE->text());
        right = fromShown(MarginRightE->text());
        top = fromShown(MarginTopE->text());
        bottom = fromShown(MarginBottomE->text());
    } catch (const orv::platform::Exception& e) {
        orv::platform::ui::errorBox(e.message());
        setModalResult(orv::platform::ui::mrNone);
        return false;
    }
    FPage->SetOrientation(PortraitRB->isChecked() ? poPortrait : poLandscape);
    FPage->SetPaperWidth(width);
    FPage->SetPaperHeight(height);
    FPage->SetLeftMargin(left);
    FPage->SetRightMargin(right);
    FPage->SetTopMargin(top);
    FPage->SetBottomMargin(bottom);
    FPage->AlignChildren();
    return true;
}

} // namespace orv::report
