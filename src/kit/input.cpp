#include "kit/input.h"

namespace orv::forms {

void upperOnKeyUp(ui::Edit& e)
{
    e.onKeyUp = [&e](ui::Word&, QChar&, ui::ShiftState) {
        const QString up = orv::upperAZ(e.text());
        if (up == e.text()) return;
        const int caret = e.caretPosition();
        e.setText(up);
        e.setCaretPosition(caret);
    };
}

} // namespace orv::forms
