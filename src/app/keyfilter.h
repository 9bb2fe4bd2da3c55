#pragma once
// The key filter of the number edits of the shell's dialogs: digits, Backspace, Delete,
// Left and Right pass, every other key is swallowed (Tab, Home and End included).
#include "platform/ui/keys.h"

namespace orv::app {

inline void digitsOnly(ui::Word& key, QChar& keyChar)
{
    if (keyChar >= u'0' && keyChar <= u'9') return;
    if (keyChar.isNull() && (key == ui::vk::Back || key == ui::vk::Delete || key == ui::vk::Left || key == ui::vk::Right))
        return;
    key = 0;
    keyChar = QChar();
}

} // namespace orv::app
