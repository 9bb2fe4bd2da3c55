#include "platform/ui/input.h"

#include "platform/ui/form.h"

#include <vector>

namespace orv::platform::ui {

void bindHints(Label& hintLine, std::initializer_list<std::pair<Control*, QString>> hints)
{
    Label* line = &hintLine;
    for (const auto& [control, text] : hints) {
        control->onMouseMove = [line, t = text](ShiftState, double, double) { line->setText(t); };
    }
}

void bindHintClear(Label& hintLine, Form& form, std::initializer_list<Control*> background)
{
    Label* line = &hintLine;
    auto clear = [line](ShiftState, double, double) { line->setText(QString()); };
    form.onMouseMove = clear;
    for (Control* c : background) c->onMouseMove = clear;
}

bool acceptOnly(Word& key, QChar& keyChar, QStringView extra)
{
    if (isEditingKey(key)) return false;
    if (!keyChar.isNull() && ((keyChar >= u'0' && keyChar <= u'9') || extra.contains(keyChar))) return false;
    swallow(key, keyChar);
    return true;
}

void chainEnter(std::initializer_list<Control*> controls, bool wrap)
{
    const std::vector<Control*> list(controls);
    for (size_t i = 0; i < list.size(); ++i) {
        Control* next = i + 1 < list.size() ? list[i + 1] : (wrap ? list.front() : nullptr);
        if (!next) continue;
        KeyHandler previous = list[i]->onKeyDown;
        list[i]->onKeyDown = [next, previous](Word& key, QChar& keyChar, ShiftState shift) {
            if (key == vk::Return) {
                next->setFocus();
                return;
            }
            if (previous) previous(key, keyChar, shift);
        };
    }
}

} // namespace orv::platform::ui
