#include "kit/input.h"

namespace orv::kit {

void upperOnKeyUp(platform::ui::Edit& e)
{
    e.onKeyUp = [&e](platform::ui::Word&, QChar&, platform::ui::ShiftState) {
        const QString up = orv::platform::upperAZ(e.text());
        if (up == e.text()) return;
        const int caret = e.caretPosition();
        e.setText(up);
        e.setCaretPosition(caret);
    };
}

void TidyOnLeave::add(platform::ui::Edit& field, Rule rule) { rules_[&field] = std::move(rule); }

void TidyOnLeave::tidy(platform::ui::Control& field) const
{
    const auto rule = rules_.find(&field);
    if (rule == rules_.end()) return;
    auto& edit = static_cast<platform::ui::Edit&>(field);
    const QString tidy = rule->second(edit.text());
    if (tidy != edit.text()) edit.setText(tidy);
}

void TidyOnLeave::tidyFocused(const platform::ui::Form& form) const
{
    if (platform::ui::Control* focused = form.focusedControl()) tidy(*focused);
}

} // namespace orv::kit
