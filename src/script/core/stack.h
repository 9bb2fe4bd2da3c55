#pragma once
// A guard against endless or very deep recursion of scripts: every call of a script
// procedure and every nested statement list checks how much of the thread's stack is
// left, and raises a catchable run-time error long before the process would crash.
#include <QString>
#include <cstdint>

#include "platform/core/exceptions.h"

namespace orv::script {

class EStackOverflow : public platform::Exception {
public:
    using platform::Exception::Exception;
};

// "Stack overflow"
QString stackOverflowText();

namespace detail {
// The lowest address a check may pass; above everything until the thread's first check.
extern thread_local std::uintptr_t stackLimit;
// Sets the limit on the first check; raises EStackOverflow below it.
void stackCheckFailed(std::uintptr_t here);
} // namespace detail

// Raises EStackOverflow when less than the reserve is left below the current frame.
inline void checkStack()
{
    char here;
    if (reinterpret_cast<std::uintptr_t>(&here) < detail::stackLimit) [[unlikely]]
        detail::stackCheckFailed(reinterpret_cast<std::uintptr_t>(&here));
}

} // namespace orv::script
