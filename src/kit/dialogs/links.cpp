#include "kit/dialogs/links.h"

namespace orv::kit {

void wireLink(platform::ui::Label& link, std::initializer_list<platform::ui::Control*> alsoFrom, std::function<void()> act)
{
    platform::ui::Label* l = &link;
    auto down = [l](platform::ui::MouseButton, platform::ui::ShiftState, double, double) { l->setFontColor(kLinkPressed); };
    auto up = [l](platform::ui::MouseButton, platform::ui::ShiftState, double, double) { l->setFontColor(kLinkColour); };
    auto click = [l, act] {
        l->setFontColor(kLinkColour);
        act();
    };
    link.setFontColor(kLinkColour);
    link.setHandCursor(true);
    for (platform::ui::Control* c : alsoFrom) {
        c->onMouseDown = down;
        c->onMouseUp = up;
        c->onClick = click;
    }
    link.onMouseDown = down;
    link.onMouseUp = up;
    link.onClick = click;
}

} // namespace orv::kit
