#pragma once
// The dispatch boundary: every event handler of a window runs through fire(), which
// catches whatever the handler throws and shows it in the general error box, so the
// program goes on. No exception ever reaches Qt.
#include <exception>
#include <utility>

namespace orv::platform::ui {

// Shows the general error box for the exception being handled (call inside a catch).
void reportCurrentException() noexcept;

template <class F, class... A>
void fire(const F& handler, A&&... args) noexcept
{
    if (!handler) return;
    try {
        handler(std::forward<A>(args)...);
    } catch (...) {
        reportCurrentException();
    }
}

} // namespace orv::platform::ui
