#pragma once
// Texts that fields tidy while the user types: codes upper-cased (A-Z only) as they are
// typed or when a key is released, addresses without blanks.
#include "platform/core/text.h"
#include "platform/ui/controls.h"

namespace orv::forms {

// After each change the user types, the text becomes its upper-case form when `upper`
// is set, and trimmed when `trim` is set. Works on edits and combo edits.
template <class Field>
void tidyWhileTyping(Field& f, bool upper, bool trim)
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

} // namespace orv::forms
