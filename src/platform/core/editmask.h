#pragma once
// Edit masks ("!99/99/0000;1;_"): a mask, whether the literals are part of the value, and
// the character that stands for a blank. formatMaskText lays a value out through a mask.
#include <QString>

#include "platform/core/formats.h"

namespace orv::platform {

// Mask characters: L l (letter), A a (letter or digit), C c (any character), 0 9 (digit),
// # (digit or sign) take input; > and < switch the case of what follows, <> switches it
// off; \ makes the next character literal; : and / are the time and date separators;
// _ is a blank; ! is accepted and changes nothing here; anything else is literal.
// Input positions the value does not fill are blanks.
QString formatMaskText(const QString& editMask, const QString& value, const FormatSettings& fs = formats());

} // namespace orv::platform
