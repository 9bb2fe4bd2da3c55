#pragma once
// Conveniences for the input conventions the windows share, so each window states only
// its own tables:
//  - hint lines: bindHints() makes each listed control write its text into the hint line
//    when the mouse moves over it; bindHintClear() makes the window and its background
//    controls empty it; controls in neither list leave it as it is;
//  - key filters for OnKeyDown: swallow(), and acceptOnly() which lets the editing keys
//    Backspace, Delete, Left and Right pass and swallows every other key whose character
//    is not among the accepted ones (keys without a character included, Tab too);
//  - Enter chains: chainEnter() makes Enter in each control move the focus to the next.
#include "platform/ui/controls.h"

#include <QString>

#include <initializer_list>
#include <utility>

namespace orv::platform::ui {

class Form;

void bindHints(Label& hintLine, std::initializer_list<std::pair<Control*, QString>> hints);
void bindHintClear(Label& hintLine, Form& form, std::initializer_list<Control*> background);

// Clears both: the key does nothing at all.
inline void swallow(Word& key, QChar& keyChar)
{
    key = 0;
    keyChar = QChar();
}
inline bool isEditingKey(Word key) { return key == vk::Back || key == vk::Delete || key == vk::Left || key == vk::Right; }
// Digits, plus the extra characters given (a comma for amounts). Returns true when the key
// was swallowed.
bool acceptOnly(Word& key, QChar& keyChar, QStringView extra = {});

// Enter (key code 13) in controls[i] moves the focus to controls[i + 1]; with `wrap` the
// last leads back to the first. Enter does nothing else there; every other key still
// reaches the handler the control had when the chain was bound, so bind filters first.
void chainEnter(std::initializer_list<Control*> controls, bool wrap = true);

} // namespace orv::platform::ui
