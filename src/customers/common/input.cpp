#include "customers/common/input.h"

#include "platform/ui/form.h"

namespace orv::forms {

using namespace orv::ui;

bool passes(KeyFilter filter, Word key, QChar keyChar)
{
    switch (filter) {
    case KeyFilter::None:
        return true;
    case KeyFilter::Money:
        if (keyChar == u',') return true;
        [[fallthrough]];
    case KeyFilter::Digits:
        return key == vk::Back || key == vk::Delete || key == vk::Left || key == vk::Right
               || (keyChar >= u'0' && keyChar <= u'9');
    }
    return true;
}

void enterMovesTo(Control& field, Control& next, KeyFilter filter)
{
    field.onKeyDown = [&next, filter](Word& key, QChar& keyChar, ShiftState) {
        if (key == vk::Return) {
            next.setFocus();
            key = 0;
            keyChar = QChar();
            return;
        }
        if (!passes(filter, key, keyChar)) {
            key = 0;
            keyChar = QChar();
        }
    };
}

void upperOnKeyUp(Edit& e)
{
    e.onKeyUp = [&e](Word&, QChar&, ShiftState) {
        const QString up = orv::upperAZ(e.text());
        if (up == e.text()) return;
        const int caret = e.caretPosition();
        e.setText(up);
        e.setCaretPosition(caret);
    };
}

void hint(Control& c, Label& line, const QString& text)
{
    c.onMouseMove = [&line, text](ShiftState, double, double) { line.setText(text); };
}

void clearsHint(Control& c, Label& line)
{
    c.onMouseMove = [&line](ShiftState, double, double) { line.setText(QString()); };
}

void clearsHint(Form& f, Label& line)
{
    f.onMouseMove = [&line](ShiftState, double, double) { line.setText(QString()); };
}

} // namespace orv::forms
