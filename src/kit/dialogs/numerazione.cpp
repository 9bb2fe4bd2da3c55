#include "kit/dialogs/numerazione.h"

#include "platform/ui/input.h"
#include "kit/dialogs/pictures.h"
#include "kit/dialogs/settings.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"

namespace orv::kit {

using namespace orv::platform::ui;

TfrmNumerazione* frmNumerazione = nullptr;

namespace {

const Layout& windowLayout()
{
    static const Layout l = {
        picture("imgLogo", 0, 0, 420, 150,
                orv::kit::instructions(QStringLiteral("Inizio numerazione"),
                                       QStringLiteral("Questa funzione permette di far partire la numerazione automatica "
                                                      "da un numero superiore a 1. Per utilizzare la numerazione "
                                                      "automatica premere il pulsante Nuovo prima di compilare il "
                                                      "documento."))),
        picture("icoMano", 44, 184, 44, 32, orv::kit::pointingHand()),
        group("grpNumerazione", 104, 160, 240, 74, QStringLiteral(" Inizia numerazione da: ")),
        edit("txtInizio", 30, 30, 180, 30).in("grpNumerazione").maxLen(5).centre().highlighted()
            .font({.family = QStringLiteral("Verdana"), .size = 12, .bold = true, .color = QColor()}),
        button("btnAnnulla", 40, 252, 160, 36, QStringLiteral("Annulla")),
        button("btnApplica", 220, 252, 160, 36, QStringLiteral("Applica e chiudi")),
        label("lblMemory", 0, 0, 10, 10, QString()).hidden(),
    };
    return l;
}

} // namespace

TfrmNumerazione::TfrmNumerazione(QWidget* owner)
    : Form(owner, {.name = QStringLiteral("frmNumerazione"), .caption = QStringLiteral(" Impostazione inizio numerazione"),
                   .clientWidth = 420, .clientHeight = 306, .placement = Placement::OwnerCenter, .background = Qt::white, .gradientTo = QColor()},
           windowLayout())
{
    txtInizio.setText(QStringLiteral("1"));
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    txtInizio.onKeyDown = [this](Word& k, QChar& c, ShiftState s) { txtInizioKeyDown(k, c, s); };
    txtInizio.onExit = [this] { txtInizioExit(); };
    btnApplica.onClick = [this] { btnApplicaClick(); };
    btnAnnulla.onClick = [this] { btnAnnullaClick(); };
    created();
}

void TfrmNumerazione::FormCreate()
{
    orv::platform::applyProgramFormats();
    txtInizio.setMaxLength(5);
}

// Missing or unreadable settings show "1".
void TfrmNumerazione::FormShow()
{
    QString value = orv::kit::readStartNumber(lblMemory.text());
    if (orv::platform::trimmed(value).isEmpty()) value = QStringLiteral("1");
    txtInizio.setText(value);
    txtInizio.setFocus();
}

void TfrmNumerazione::txtInizioKeyDown(Word& key, QChar& keyChar, ShiftState)
{
    if (key == vk::Return) {
        btnApplica.setFocus();
        return;
    }
    acceptOnly(key, keyChar);
}

void TfrmNumerazione::txtInizioExit() { txtInizio.setText(orv::kit::normalisedStartNumber(txtInizio.text())); }

// Pressing Applica has already taken the focus from txtInizio, so the value written is
// the normalised one. A settings file that cannot be written keeps the window open with
// the value, so the user can retry once the folder is writable.
void TfrmNumerazione::btnApplicaClick()
{
    try {
        orv::kit::writeStartNumber(lblMemory.text(), orv::platform::trimmed(txtInizio.text()));
    } catch (const orv::platform::IniFileError& e) {
        errorBox(orv::kit::settingsWriteFailure(QStringLiteral("Attenzione: non \u00e8 stato possibile salvare l'inizio "
                                                               "della numerazione nel file delle impostazioni \"Orvanta.ini\"."),
                                                e));
        return;
    }
    close();
}

void TfrmNumerazione::btnAnnullaClick() { close(); }

} // namespace orv::kit

namespace orv::kit {

void showStartNumberWindow(QWidget* owner, const QString& tag)
{
    runDialog<TfrmNumerazione>(owner, [&](TfrmNumerazione& f) {
        f.lblMemory.setText(tag);
        if (const StartNumberKind* kind = startNumberKind(tag)) f.setCaption(kind->caption);
    });
}

} // namespace orv::kit
