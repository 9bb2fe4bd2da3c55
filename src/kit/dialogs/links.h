#pragma once
// The link texts of the information, splash and help windows: pressing the mouse on the
// link (or on its picture) turns the text orange, releasing it dark blue, and a click
// sets dark blue again and then acts.
#include "platform/ui/controls.h"

#include <functional>
#include <initializer_list>

namespace orv::kit {

inline const QColor kLinkPressed = QColor(0xFF, 0xA5, 0x00);
inline const QColor kLinkColour = QColor(0x00, 0x00, 0x8B);

void wireLink(platform::ui::Label& link, std::initializer_list<platform::ui::Control*> alsoFrom, std::function<void()> act);

} // namespace orv::kit
