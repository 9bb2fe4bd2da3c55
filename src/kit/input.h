#pragma once
// Texts that fields tidy while the user types: codes upper-cased (A-Z only) as they are
// typed or when a key is released, addresses without blanks.
#include "platform/core/text.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <functional>
#include <map>

namespace orv::kit {

// After each change the user types, the text becomes its upper-case form when `upper`
// is set, and trimmed when `trim` is set. Works on edits and combo edits.
template <class Field>
void tidyWhileTyping(Field& f, bool upper, bool trim)
{
    f.onTyping = [&f, upper, trim] {
        QString t = f.text();
        if (trim) t = orv::platform::trimmed(t);
        if (upper) t = orv::platform::upperAZ(t);
        if (t != f.text()) f.setText(t);
    };
}

// On key release the text becomes its upper-case form, not trimmed, the caret kept.
void upperOnKeyUp(platform::ui::Edit& e);

// The rules that leaving a field applies to its text (amounts, quantities, rates). The
// commands that read such a field are pictures, which never take the focus, so the field
// being typed is not left before they read it: they first tidy the focused field as
// leaving it would, and what they calculate and store is what the field shows.
class TidyOnLeave {
public:
    using Rule = std::function<QString(const QString&)>;
    // Registers the rule; the field's OnExit is the caller's, which calls tidy().
    void add(platform::ui::Edit& field, Rule rule);
    // Applies the field's rule, when it has one; a text already tidy is not set again.
    void tidy(platform::ui::Control& field) const;
    // The same for the control holding the window's focus.
    void tidyFocused(const platform::ui::Form& form) const;

private:
    std::map<const platform::ui::Control*, Rule> rules_;
};

} // namespace orv::kit
