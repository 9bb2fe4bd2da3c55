#pragma once
// The four checker dialogs (tax code, VAT number, credit card, IBAN). They share one
// layout and one behaviour: the editor puts its field's value into the edit, the user
// may correct it and presses Controlla; the dialog reports its verdict and closes. It
// never writes anything back. The editors open them through the open...Checker routines.
#include "platform/ui/form.h"

namespace orv::kit {

// What sets one checker apart from the others.
struct CheckerSpec {
    QString name;      // the global instance's name
    QString caption;
    QString heading;   // words of the heading picture
    QString prompt;
    QString editName;
    int maxLength = 0;
    bool digitsOnly = false;  // the edit takes digits and the editing keys only
    bool tidyTyping = false;  // what the user types is trimmed and upper-cased at once
};

class CheckerForm : public platform::ui::Form {
public:
    ORV_CONTROL(Image, imgLogo);
    ORV_CONTROL(Label, lblTitolo);
    ORV_CONTROL(Button, btnControlla);
    ORV_CONTROL(Button, btnChiudi);

    // The edit that holds the value to check.
    platform::ui::Edit& entry() const { return entry_; }

    void FormCreate();
    void FormShow();
    void entryKeyDown(platform::ui::Word& key, QChar& keyChar, platform::ui::ShiftState shift);
    void entryTyping();
    virtual void btnControllaClick() = 0;
    void btnChiudiClick();

protected:
    CheckerForm(QWidget* owner, const CheckerSpec& spec);
    // A warning about the entry itself: the dialog stays open for a correction.
    void askAgain(const QString& warning);
    // The verdict: information when valid, the warning otherwise; then the dialog closes.
    void verdict(bool valid, const QString& information, const QString& warning);

private:
    CheckerSpec spec_;
    platform::ui::Edit& entry_;
};

// Opens a checker owned by the editor `owner` with the trimmed field value in its edit,
// modally, and destroys it afterwards.
// The tax-code buttons: digits only open the VAT checker, anything else (empty included)
// the tax-code checker.
void openTaxCodeChecker(QWidget* owner, const QString& fieldValue);
void openVatChecker(QWidget* owner, const QString& fieldValue);
void openCardChecker(QWidget* owner, const QString& fieldValue);
void openIbanChecker(QWidget* owner, const QString& fieldValue);

} // namespace orv::kit

namespace orv::kit {

class TfrmCodFisc : public orv::kit::CheckerForm {
public:
    explicit TfrmCodFisc(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtCodFisc);
    void btnControllaClick() override;
};

class TfrmPartitaIva : public orv::kit::CheckerForm {
public:
    explicit TfrmPartitaIva(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtPartitaIva);
    void btnControllaClick() override;
};

class TfrmCarta : public orv::kit::CheckerForm {
public:
    explicit TfrmCarta(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtNumero);
    void btnControllaClick() override;
};

class TfrmIban : public orv::kit::CheckerForm {
public:
    explicit TfrmIban(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtIban);
    void btnControllaClick() override;
};

extern TfrmCodFisc* frmCodFisc;
extern TfrmPartitaIva* frmPartitaIva;
extern TfrmCarta* frmCarta;
extern TfrmIban* frmIban;

} // namespace orv::kit
