#include "shell/cambiapassword.h"

#include "shell/password.h"
#include "shell/passwordstore.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"

#include <algorithm>

namespace orv::shell {

using namespace orv::platform::ui;

TfrmCambiaPassword* frmCambiaPassword = nullptr;

namespace {

const FontSpec kCaption{QStringLiteral("Verdana"), 12, true, false, false, QColor(0x1F, 0x3F, 0x6E)};
const FontSpec kEntry{QStringLiteral("Verdana"), 14, true};

const Layout& windowLayout()
{
    static const Layout l = {
        picture("imgLogo", 0, 0, 411, 96, art::heading(QStringLiteral("Cambia password"), QStringLiteral("Orvanta 4.0"), art::Icon::Key)),
        label("lblPasswordOld", 44, 112, 323, 22, QStringLiteral("Vecchia password:")).font(kCaption),
        edit("txtPasswordOld", 44, 136, 323, 34).masked().highlighted().font(kEntry),
        label("lblPasswordNew", 44, 184, 323, 22, QStringLiteral("Nuova password:")).font(kCaption),
        edit("txtPasswordNew", 44, 208, 323, 34).masked().highlighted().font(kEntry),
        label("lblConferma", 44, 256, 323, 22, QStringLiteral("Conferma nuova password:")).font(kCaption),
        edit("txtConferma", 44, 280, 323, 34).masked().highlighted().font(kEntry),
        button("cmdOK", 44, 348, 155, 36, QStringLiteral("OK")).disabled(),
        button("cmdEsci", 212, 348, 155, 36, QStringLiteral("Chiudi")),
    };
    return l;
}

bool blank(const Edit& e) { return orv::platform::trimmed(e.text()).isEmpty(); }

} // namespace

TfrmCambiaPassword::TfrmCambiaPassword(QWidget* owner)
    : Form(owner, {QStringLiteral("frmCambiaPassword"), QStringLiteral(" Cambia password"), 411, 418, Border::Single,
                   Placement::ScreenCenter, Qt::white},
           windowLayout())
{
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };
    cmdOK.onClick = [this] { cmdOKClick(); };
    cmdEsci.onClick = [this] { cmdEsciClick(); };
    for (Edit* e : {&txtPasswordOld, &txtPasswordNew, &txtConferma}) {
        e->onChange = [this] { txtPasswordOldChange(); };
        e->onKeyUp = [this](Word&, QChar&, ShiftState) { txtPasswordOldChange(); };
    }
    txtPasswordOld.onKeyDown = [this](Word& k, QChar& c, ShiftState s) { txtPasswordOldKeyDown(k, c, s); };
    txtPasswordNew.onKeyDown = [this](Word& k, QChar& c, ShiftState s) { txtPasswordNewKeyDown(k, c, s); };
    txtConferma.onKeyDown = [this](Word& k, QChar& c, ShiftState s) { txtConfermaKeyDown(k, c, s); };
    created();
}

void TfrmCambiaPassword::FormShow()
{
    txtPasswordOld.setText(QString());
    txtPasswordNew.setText(QString());
    txtConferma.setText(QString());
    txtPasswordOld.setFocus();
}

void TfrmCambiaPassword::FormClose(CloseAction&)
{
    frmPassword->txtPassword.setText(QString());
    frmPassword->show();
    frmPassword->txtPassword.setFocus();
}

void TfrmCambiaPassword::txtPasswordOldChange()
{
    cmdOK.setEnabled(!blank(txtPasswordOld) && !blank(txtPasswordNew) && !blank(txtConferma));
}

void TfrmCambiaPassword::txtPasswordOldKeyDown(Word& key, QChar&, ShiftState) { if (key == vk::Return) txtPasswordNew.setFocus(); }
void TfrmCambiaPassword::txtPasswordNewKeyDown(Word& key, QChar&, ShiftState) { if (key == vk::Return) txtConferma.setFocus(); }
void TfrmCambiaPassword::txtConfermaKeyDown(Word& key, QChar&, ShiftState) { if (key == vk::Return) txtPasswordOld.setFocus(); }

void TfrmCambiaPassword::cmdOKClick()
{
    const QString failure = QStringLiteral("Attenzione: si \u00e8 verificato un errore durante la procedura di modifica della password. "
                                           "Si consiglia di reinstallare il software.");
    QString stored;
    try {
        stored = orv::shell::storedPassword();
    } catch (const orv::shell::PasswordStoreUnavailable& e) {
        showMessage(e.message());
        return;
    } catch (...) {
        showMessage(failure);
        return;
    }
    if (stored != orv::shell::normalisedPassword(txtPasswordOld.text())) {
        showMessage(QStringLiteral("Attenzione: vecchia password errata."));
        txtPasswordOld.setText(QString());
        txtPasswordOld.setFocus();
        return;
    }
    auto refuseNew = [this](const QString& message) {
        showMessage(message);
        txtPasswordNew.setText(QString());
        txtConferma.setText(QString());
        txtPasswordNew.setFocus();
    };
    if (orv::platform::trimmed(txtPasswordNew.text()) != orv::platform::trimmed(txtConferma.text())) {
        refuseNew(QStringLiteral("Attenzione: la nuova password non \u00e8 stata confermata correttamente. "
                                 "E' necessario reinserire entrambi i valori."));
        return;
    }
    // The store keeps one byte per character: a longer password, or a character beyond
    // Latin-1, could never be typed again at the login.
    const QString fresh = orv::shell::normalisedPassword(txtPasswordNew.text());
    if (fresh.size() > orv::shell::kMaxPasswordLength) {
        refuseNew(QStringLiteral("Attenzione: la nuova password non pu\u00f2 superare i 255 caratteri."));
        return;
    }
    if (std::any_of(fresh.begin(), fresh.end(), [](QChar c) { return c.unicode() > 0xFF; })) {
        refuseNew(QStringLiteral("Attenzione: la nuova password contiene caratteri non ammessi. "
                                 "Utilizzare soltanto lettere, anche accentate, cifre e simboli dell'alfabeto latino."));
        return;
    }
    try {
        orv::shell::storePassword(fresh);
    } catch (...) {
        showMessage(failure);
        return;
    }
    showMessage(QStringLiteral("Modifica della password completata con successo."));
    close();
}

void TfrmCambiaPassword::cmdEsciClick() { close(); }

} // namespace orv::shell
