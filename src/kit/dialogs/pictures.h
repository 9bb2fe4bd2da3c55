#pragma once
// Pictures of the shell's settings dialogs, drawn at run time: the instruction pictures
// (a heading band over a short text telling what the window does), the default company
// logo and the small command pictures of the logo and attach-file windows.
#include "platform/ui/controls.h"

namespace orv::kit {

// A heading band with the title over the wrapped instruction text.
platform::ui::Artwork instructions(const QString& title, const QString& text);
// The default company logo: a euro sign on white.
platform::ui::Artwork euroLogo();
// Small command pictures: an eraser (clear a name or a logo), a euro coin (use the
// default logo) and a pointing hand.
platform::ui::Artwork eraser();
platform::ui::Artwork euroCoin();
platform::ui::Artwork pointingHand();
// Plain white, for the blank logo.
platform::ui::Artwork blank();

} // namespace orv::kit
