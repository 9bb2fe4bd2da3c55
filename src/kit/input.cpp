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

void TidyOnLeave::add(ui::Edit& field, Rule rule) { rules_[&field] = std::move(rule); }

void TidyOnLeave::tidy(ui::Control& field) const
{
    const auto rule = rules_.find(&field);
    if (rule == rules_.end()) return;
    auto& edit = static_cast<ui::Edit&>(field);
    const QString tidy = rule->second(edit.text());
    if (tidy != edit.text()) edit.setText(tidy);
}

void TidyOnLeave::tidyFocused(const ui::Form& form) const
{
    if (ui::Control* focused = form.focusedControl()) tidy(*focused);
}

} // namespace orv::forms
