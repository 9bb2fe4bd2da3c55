#pragma once
// The company-logo window: chooses the picture that printed documents carry and keeps it
// as "Logo.bmp" in the program folder. Nothing is passed in or out.
#include "platform/ui/form.h"

namespace orv::kit {

class TfrmLogo : public orv::platform::ui::Form {
public:
    explicit TfrmLogo(QWidget* owner = nullptr);
    ORV_CONTROL(Image, imgTitolo);
    ORV_CONTROL(Image, imgLogo);
    ORV_CONTROL(Image, imgTemp);
    ORV_CONTROL(Image, imgBianco);
    ORV_CONTROL(Image, btnCancLogo);
    ORV_CONTROL(Image, imgEuro);
    ORV_CONTROL(Button, btnAnnulla);
    ORV_CONTROL(Button, btnSfoglia);
    ORV_CONTROL(Button, btnApplica);
    orv::platform::ui::OpenDialog dlgFile;

    void FormShow();
    void btnSfogliaClick();
    void btnCancLogoClick();
    void imgEuroClick();
    void btnApplicaClick();
    void btnAnnullaClick();

private:
    // Shows the picture file in imgLogo, or the default logo when it cannot be read.
    void showLogo(const QString& path);
};

extern TfrmLogo* frmLogo;

} // namespace orv::kit

namespace orv::kit {

// The logo file of the program folder.
QString logoFile();
// Writes the picture as a Windows bitmap at its own pixel size, transparent parts on
// white, replacing the file in one step: a failed save leaves an existing file as it was.
bool saveBitmap(const QImage& picture, const QString& path);
// The contract, quote and delivery-note windows' logo command: a new logo window owned by
// `owner`, shown modally and destroyed.
void showLogoWindow(QWidget* owner);

} // namespace orv::kit
