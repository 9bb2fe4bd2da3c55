#include "kit/dialogs/logo.h"

#include "kit/dialogs/pictures.h"
#include "platform/core/services.h"

#include <QPainter>
#include <QSaveFile>

namespace orv::kit {
using namespace orv::platform;
} // namespace orv::kit

namespace orv::kit {

using namespace orv::platform::ui;

TfrmLogo* frmLogo = nullptr;

namespace {

constexpr int kLogoX = 32, kLogoY = 112, kLogoW = 297, kLogoH = 184;

const Layout& windowLayout()
{
    static const Layout l = {
        picture("imgTitolo", 0, 0, 362, 104,
                orv::kit::instructions(QStringLiteral("Logo della Ditta"),
                                       QStringLiteral("Caricare il logo della Ditta come immagine JPEG o Bitmap di "
                                                      "297 x 184 pixel."))),
        rect("shpLogo", kLogoX - 1, kLogoY - 1, kLogoW + 2, kLogoH + 2, Qt::white).stroke(QColor(0xA0, 0xA0, 0xA0)),
        picture("imgLogo", kLogoX, kLogoY, kLogoW, kLogoH),
        picture("imgTemp", kLogoX, kLogoY, kLogoW, kLogoH, orv::kit::euroLogo()).hidden(),
        picture("imgBianco", 0, 0, 2, 2, orv::kit::blank()).hidden(),
        command("btnCancLogo", kLogoX + kLogoW - 26, kLogoY + kLogoH - 26, 24, 24, orv::kit::eraser()),
        command("imgEuro", kLogoX + 2, kLogoY + kLogoH - 26, 24, 24, orv::kit::euroCoin()),
        button("btnAnnulla", 12, 318, 100, 36, QStringLiteral("Annulla")),
        button("btnSfoglia", 120, 318, 100, 36, QStringLiteral("Sfoglia...")),
        button("btnApplica", 228, 318, 122, 36, QStringLiteral("Applica e chiudi")),
    };
    return l;
}

} // namespace

TfrmLogo::TfrmLogo(QWidget* owner)
    : Form(owner, {.name = QStringLiteral("frmLogo"), .caption = QStringLiteral(" Impostazione logo Ditta"), .clientWidth = 362,
                   .clientHeight = 371, .placement = Placement::OwnerCenter, .background = Qt::white, .gradientTo = QColor()},
           windowLayout())
{
    // The default and the blank logo are fixed bitmaps, drawn once.
    imgTemp.setPicture(imgTemp.picture());
    imgBianco.setPicture(imgBianco.picture());
    dlgFile.title = QStringLiteral("Selezionare il logo della Ditta in formato Jpeg o Bitmap.");
    dlgFile.filter = QStringLiteral("Immagine JPEG (*.jpg; *.jpeg)|*.jpg;*.jpeg|Immagine Bitmap (*.bmp)|*.bmp");
    onShow = [this] { FormShow(); };
    btnSfoglia.onClick = [this] { btnSfogliaClick(); };
    btnCancLogo.onClick = [this] { btnCancLogoClick(); };
    imgEuro.onClick = [this] { imgEuroClick(); };
    btnApplica.onClick = [this] { btnApplicaClick(); };
    btnAnnulla.onClick = [this] { btnAnnullaClick(); };
    created();
}

void TfrmLogo::showLogo(const QString& path)
{
    if (!imgLogo.loadFromFile(path)) imgLogo.setPicture(imgTemp.picture());
}

void TfrmLogo::FormShow() { showLogo(orv::kit::logoFile()); }

void TfrmLogo::btnSfogliaClick()
{
    if (dlgFile.execute()) showLogo(dlgFile.fileName);
}

void TfrmLogo::btnCancLogoClick() { imgLogo.setPicture(imgBianco.picture()); }

void TfrmLogo::imgEuroClick() { imgLogo.setPicture(imgTemp.picture()); }

// A logo that could not be written must not look saved: the user is told, and the old
// "Logo.bmp" stays as it was.
void TfrmLogo::btnApplicaClick()
{
    if (!orv::kit::saveBitmap(imgLogo.picture(), orv::kit::logoFile())) {
        imgLogo.setPicture(imgTemp.picture());
        errorBox(QStringLiteral("Attenzione: non \u00e8 stato possibile salvare il logo della ditta \"Logo.bmp\"."
                                "\r\n\r\nAccertarsi di possedere i privilegi di scrittura nella cartella di "
                                "installazione del programma."));
    }
    close();
}

void TfrmLogo::btnAnnullaClick() { close(); }

} // namespace orv::kit

namespace orv::kit {

QString logoFile() { return programFile(QStringLiteral("Logo.bmp")); }

bool saveBitmap(const QImage& picture, const QString& path)
{
    if (picture.isNull()) return false;
    QImage bitmap(picture.size(), QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    {
        QPainter p(&bitmap);
        p.drawImage(0, 0, picture);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!bitmap.save(&file, "BMP")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void showLogoWindow(QWidget* owner) { runDialog<TfrmLogo>(owner); }

} // namespace orv::kit
