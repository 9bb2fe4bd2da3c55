#pragma once
// What the quote finder and the pending-quotes list share: the editor's year file, the
// quote line and the quote a double click loads into the editor.
#include "kit/listwindow.h"

namespace orv::quotes {

// The result list over the editor's year file, with the quote line and a print title.
kit::ListSpec quoteList(const QString& printTitle);

} // namespace orv::quotes
