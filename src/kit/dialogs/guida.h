#pragma once
// The help window shared by the whole program. Callers follow one protocol: a new window
// owned by the caller, title into lblTitolo, text into txtGuida (paragraphs separated by
// "\r\n\r\n"), shown modally, destroyed. showHelp() does exactly that.
#include "platform/ui/form.h"

namespace orv::kit {

class TfrmGuida : public orv::platform::ui::Form {
public:
    explicit TfrmGuida(QWidget* owner = nullptr);
    ORV_CONTROL(Image, imgLogo);
    ORV_CONTROL(Label, lblTitolo);
    ORV_CONTROL(Memo, txtGuida);
    ORV_CONTROL(Image, imgPDF);
    ORV_CONTROL(Label, lnkWeb);
    ORV_CONTROL(Button, btnChiudi);

    void lnkWebClick();
    void btnChiudiClick();
};

extern TfrmGuida* frmGuida;

} // namespace orv::kit

namespace orv::kit {

// Paragraphs joined by a blank line ("\r\n\r\n").
QString helpText(const QStringList& paragraphs);
// Opens the help window owned by `owner` with the title and the text.
void showHelp(QWidget* owner, const QString& title, const QString& text);

} // namespace orv::kit
