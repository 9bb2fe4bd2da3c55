#include "kit/dialogs/checkers.h"

#include "kit/dialogs/checks.h"
#include "platform/ui/input.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"

namespace orv::kit {
using namespace orv::platform;
} // namespace orv::kit

namespace orv::kit {

using namespace orv::platform::ui;

TfrmCodFisc* frmCodFisc = nullptr;
TfrmPartitaIva* frmPartitaIva = nullptr;
TfrmCarta* frmCarta = nullptr;
TfrmIban* frmIban = nullptr;

} // namespace orv::kit

namespace orv::kit {

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 310;

const FontSpec kPrompt{.family = QStringLiteral("Verdana"), .size = 12, .bold = true, .color = QColor(0x1F, 0x3F, 0x6E)};
const FontSpec kEntry{.family = QStringLiteral("Courier New"), .size = 20, .bold = true, .color = QColor()};

Layout checkerLayout(const CheckerSpec& spec)
{
    return {
        picture(QStringLiteral("imgLogo"), 0, 0, kWidth, 110,
                art::heading(spec.heading, QStringLiteral("Orvanta 4.0"), art::Icon::Key)),
        label(QStringLiteral("lblTitolo"), 24, 124, kWidth - 48, 44, spec.prompt).wrap().font(kPrompt),
        edit(spec.editName, 24, 182, 356, 44).maxLen(spec.maxLength).font(kEntry).highlighted(),
        button(QStringLiteral("btnControlla"), 394, 182, 142, 44, QStringLiteral("Controlla")),
        button(QStringLiteral("btnChiudi"), (kWidth - 160) / 2, 252, 160, 36, QStringLiteral("Chiudi")),
    };
}

} // namespace

CheckerForm::CheckerForm(QWidget* owner, const CheckerSpec& spec)
    : Form(owner, {.name = spec.name, .caption = spec.caption, .clientWidth = kWidth, .clientHeight = kHeight, .background = Qt::white, .gradientTo = QColor()},
           checkerLayout(spec)),
      spec_(spec),
      entry_(control<Edit>(spec.editName))
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    entry_.onKeyDown = [this](Word& k, QChar& c, ShiftState s) { entryKeyDown(k, c, s); };
    entry_.onTyping = [this] { entryTyping(); };
    btnControlla.onClick = [this] { btnControllaClick(); };
    btnChiudi.onClick = [this] { btnChiudiClick(); };
    created();
}

void CheckerForm::FormCreate()
{
    applyProgramFormats();
    entry_.setMaxLength(spec_.maxLength);
}

void CheckerForm::FormShow() { entry_.setFocus(); }

void CheckerForm::entryKeyDown(Word& key, QChar& keyChar, ShiftState)
{
    if (key == vk::Return) {
        btnControlla.setFocus();
        return;
    }
    if (spec_.digitsOnly) acceptOnly(key, keyChar);
}

void CheckerForm::entryTyping()
{
    if (!spec_.tidyTyping) return;
    const QString tidy = upperAZ(trimmed(entry_.text()));
    if (tidy != entry_.text()) entry_.setText(tidy);
}

void CheckerForm::btnChiudiClick() { close(); }

void CheckerForm::askAgain(const QString& warning)
{
    warningBox(warning);
    entry_.setFocus();
}

void CheckerForm::verdict(bool valid, const QString& information, const QString& warning)
{
    if (valid) informationBox(information);
    else warningBox(warning);
    close();
}

void openTaxCodeChecker(QWidget* owner, const QString& fieldValue)
{
    if (opensVatChecker(fieldValue)) openVatChecker(owner, fieldValue);
    else runDialog<TfrmCodFisc>(owner, [&](TfrmCodFisc& f) { f.txtCodFisc.setText(trimmed(fieldValue)); });
}

void openVatChecker(QWidget* owner, const QString& fieldValue)
{
    runDialog<TfrmPartitaIva>(owner, [&](TfrmPartitaIva& f) { f.txtPartitaIva.setText(trimmed(fieldValue)); });
}

void openCardChecker(QWidget* owner, const QString& fieldValue)
{
    runDialog<TfrmCarta>(owner, [&](TfrmCarta& f) { f.txtNumero.setText(trimmed(fieldValue)); });
}

void openIbanChecker(QWidget* owner, const QString& fieldValue)
{
    runDialog<TfrmIban>(owner, [&](TfrmIban& f) { f.txtIban.setText(trimmed(fieldValue)); });
}

} // namespace orv::kit

namespace orv::kit {

using orv::kit::CheckerSpec;

// ---------------------------------------------------------------- tax code

TfrmCodFisc::TfrmCodFisc(QWidget* owner)
    : CheckerForm(owner, CheckerSpec{QStringLiteral("frmCodFisc"), QStringLiteral(" Verifica codice fiscale"),
                                     QStringLiteral("Verifica codice fiscale"),
                                     QStringLiteral("Immettere il codice fiscale e premere il pulsante di controllo."),
                                     QStringLiteral("txtCodFisc"), 16, false, true})
{
}

void TfrmCodFisc::btnControllaClick()
{
    const QString code = orv::platform::upperAZ(txtCodFisc.text());
    if (code.size() != 16) {
        askAgain(QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici."));
        return;
    }
    verdict(ControllaCodFisc(code), QStringLiteral("Il codice fiscale digitato \u00e8 VALIDO."),
            QStringLiteral("Attenzione: il codice fiscale digitato \u00e8 ERRATO."));
}

// ---------------------------------------------------------------- VAT number

TfrmPartitaIva::TfrmPartitaIva(QWidget* owner)
    : CheckerForm(owner, CheckerSpec{QStringLiteral("frmPartitaIva"), QStringLiteral(" Controllo partita IVA"),
                                     QStringLiteral("Controllo partita IVA"),
                                     QStringLiteral("Immettere il numero di partita IVA e premere il pulsante di controllo."),
                                     QStringLiteral("txtPartitaIva"), 11, true, false})
{
}

void TfrmPartitaIva::btnControllaClick()
{
    const QString number = orv::platform::upperAZ(txtPartitaIva.text());
    if (number.size() != 11) {
        askAgain(QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici."));
        return;
    }
    const bool valid = ControllaPartitaIva(number);
    verdict(valid,
            QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                           "E' stato rilasciato dall'Ufficio IVA del Comune di ") +
                (valid ? UfficioIva(number.mid(7, 3)) : QString()) + QLatin1Char('.'),
            QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
                           "Non \u00e8 quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha "
                           "rilasciato."));
}

// ---------------------------------------------------------------- credit card

TfrmCarta::TfrmCarta(QWidget* owner)
    : CheckerForm(owner, CheckerSpec{QStringLiteral("frmCarta"), QStringLiteral(" Controllo carta di credito"),
                                     QStringLiteral("Controllo carta di credito"),
                                     QStringLiteral("Immettere il numero di carta di credito e premere il pulsante di "
                                                    "controllo."),
                                     QStringLiteral("txtNumero"), 30, true, true})
{
}

void TfrmCarta::btnControllaClick()
{
    const QString number = orv::platform::trimmed(txtNumero.text());
    if (number.isEmpty()) {
        askAgain(QStringLiteral("Attenzione: immettere il numero di carta di credito prima di premere il pulsante di "
                                "controllo."));
        return;
    }
    const int result = ControllaCarta(txtNumero.text());
    const QString family = orv::kit::cardFamily(result, number);
    if (!family.isEmpty()) {
        orv::platform::ui::informationBox(QStringLiteral("Il numero di carta di credito ") + number +
                                QStringLiteral(" risulta valido.\r\n\r\nLa carta di credito \u00e8 del tipo ") + family +
                                QLatin1Char('.'));
    } else if (result != 1) {
        orv::platform::ui::warningBox(QStringLiteral("Attenzione: il numero digitato risulta ERRATO!\r\n\r\n"
                                           "Non \u00e8 quindi possibile fornire informazioni relative al tipo di carta "
                                           "di credito."));
    }
    // A valid number beginning with 3 of no known family closes without a word.
    close();
}

// ---------------------------------------------------------------- IBAN

TfrmIban::TfrmIban(QWidget* owner)
    : CheckerForm(owner, CheckerSpec{QStringLiteral("frmIban"), QStringLiteral(" Controllo IBAN"),
                                     QStringLiteral("Controllo IBAN"),
                                     QStringLiteral("Immettere l'IBAN e premere il pulsante di controllo."),
                                     QStringLiteral("txtIban"), 27, false, true})
{
}

void TfrmIban::btnControllaClick()
{
    const QString iban = orv::platform::trimmed(txtIban.text());
    if (iban.size() != 27) {
        askAgain(QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici."));
        return;
    }
    verdict(ControllaIban(iban), QStringLiteral("L'IBAN digitato \u00e8 VALIDO."),
            QStringLiteral("Attenzione: l'IBAN digitato \u00e8 ERRATO!"));
}

} // namespace orv::kit
