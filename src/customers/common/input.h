#pragma once
// The input conventions of the working windows: the Enter chain, the key filters of
// number fields, codes upper-cased as they are typed, and the hint line.
#include "platform/core/text.h"
#include "platform/ui/controls.h"

namespace orv::forms {

enum class KeyFilter {
    None,
    Digits, // Backspace, Delete, Left, Right and the digits pass; every other key is swallowed
    Money,  // as Digits, and the comma
};

// Whether a key passes the filter.
bool passes(KeyFilter filter, ui::Word key, QChar keyChar);

// The field's key handling: Enter moves the focus to `next` (before any filter), every
// other key goes through the filter and is swallowed when it does not pass.
void enterMovesTo(ui::Control& field, ui::Control& next, KeyFilter filter = KeyFilter::None);

// Texts of codes: after each change the user types, the text becomes its upper-case form
// (A-Z only), trimmed when `trim` is set; with `upper` off, only trimmed.
template <class Field>
void normaliseWhileTyping(Field& f, bool upper, bool trim)
{
    f.onTyping = [&f, upper, trim] {
        QString t = f.text();
        if (trim) t = orv::trimmed(t);
        if (upper) t = orv::upperAZ(t);
        if (t != f.text()) f.setText(t);
    };
}

// On key release the text becomes its upper-case form, not trimmed, the caret kept.
void upperOnKeyUp(ui::Edit& e);

// The hint line: the mouse over `c` writes `text` into `line`.
void hint(ui::Control& c, ui::Label& line, const QString& text);
// The mouse over `c` (a background, panel, band or the position label) empties `line`.
void clearsHint(ui::Control& c, ui::Label& line);
void clearsHint(ui::Form& f, ui::Label& line);

} // namespace orv::forms
