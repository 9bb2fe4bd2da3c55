#include "kit/dialogs/links.h"

namespace orv::app {

void wireLink(ui::Label& link, std::initializer_list<ui::Control*> alsoFrom, std::function<void()> act)
{
    ui::Label* l = &link;
    auto down = [l](ui::MouseButton, ui::ShiftState, double, double) { l->setFontColor(kLinkPressed); };
    auto up = [l](ui::MouseButton, ui::ShiftState, double, double) { l->setFontColor(kLinkColour); };
    auto click = [l, act] {
        l->setFontColor(kLinkColour);
        act();
    };
    link.setFontColor(kLinkColour);
    link.setHandCursor(true);
    for (ui::Control* c : alsoFrom) {
        c->onMouseDown = down;
        c->onMouseUp = up;
        c->onClick = click;
    }
    link.onMouseDown = down;
    link.onMouseUp = up;
    link.onClick = click;
}

} // namespace orv::app
