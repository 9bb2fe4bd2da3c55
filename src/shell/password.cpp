#include "shell/password.h"

#include "shell/avvio.h"
#include "shell/cambiapassword.h"
#include "shell/passwordstore.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"

namespace orv::shell {

using namespace orv::platform::ui;

TfrmPassword* frmPassword = nullptr;

namespace {

const FontSpec kPrompt{QStringLiteral("Verdana"), 12, true, false, false, QColor(0x1F, 0x3F, 0x6E)};

const Layout& windowLayout()
{
    static const Layout l = {
        picture("imgLogo", 0, 0, 388, 150, art::heading(QStringLiteral("Orvanta 4.0"), QStringLiteral("Accesso al programma"), art::Icon::Key)),
        label("lblRigo05", 20, 172, 348, 24, QStringLiteral("Immetti la password e premi OK.")).centre().font(kPrompt),
        edit("txtPassword", 44, 210, 300, 34).masked().centre().highlighted().font({QStringLiteral("Verdana"), 14, true}),
        button("cmdOK", 44, 276, 145, 36, QStringLiteral("OK")).disabled(),
        button("cmdEsci", 199, 276, 145, 36, QStringLiteral("Esci")),
        button("btnCambiaPassword", 44, 334, 300, 36, QStringLiteral("Cambia password")),
    };
    return l;
}

} // namespace

TfrmPassword::TfrmPassword(QWidget* owner)
    : Form(owner, {QStringLiteral("frmPassword"), QStringLiteral(" Orvanta 4.0 - Accesso"), 388, 405, Border::Single,
                   Placement::ScreenCenter, Qt::white},
           windowLayout())
{
    onShow = [this] { FormShow(); };
    txtPassword.onChange = [this] { txtPasswordChange(); };
    txtPassword.onKeyUp = [this](Word& k, QChar& c, ShiftState s) { txtPasswordKeyUp(k, c, s); };
    txtPassword.onKeyDown = [this](Word& k, QChar& c, ShiftState s) { txtPasswordKeyDown(k, c, s); };
    cmdOK.onClick = [this] { cmdOKClick(); };
    btnCambiaPassword.onClick = [this] { btnCambiaPasswordClick(); };
    cmdEsci.onClick = [this] { cmdEsciClick(); };
    created();
}

void TfrmPassword::FormShow() { txtPassword.setFocus(); }

void TfrmPassword::txtPasswordChange() { cmdOK.setEnabled(!orv::platform::trimmed(txtPassword.text()).isEmpty()); }

void TfrmPassword::txtPasswordKeyUp(Word&, QChar&, ShiftState) { txtPasswordChange(); }

void TfrmPassword::txtPasswordKeyDown(Word& key, QChar&, ShiftState)
{
    if (key == vk::Return && !orv::platform::trimmed(txtPassword.text()).isEmpty()) cmdOKClick();
}

void TfrmPassword::cmdOKClick()
{
    bool match = false;
    try {
        match = orv::shell::storedPassword() == orv::shell::normalisedPassword(txtPassword.text());
    } catch (const orv::shell::PasswordStoreUnavailable& e) {
        showMessage(e.message());
        return;
    } catch (...) {
        showMessage(QStringLiteral("Attenzione: si \u00e8 verificato un errore durante la procedura di lettura della password. "
                                   "Si consiglia di reinstallare il software."));
        return;
    }
    if (match) {
        frmAvvio->show();
        hide();
        return;
    }
    showMessage(QStringLiteral("Attenzione: password errata."));
    txtPassword.setText(QString());
    txtPassword.setFocus();
}

void TfrmPassword::btnCambiaPasswordClick()
{
    frmCambiaPassword->show();
    hide();
}

void TfrmPassword::cmdEsciClick() { close(); }

} // namespace orv::shell
