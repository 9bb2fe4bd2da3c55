#pragma once
// A guard against endless or very deep recursion of scripts: every call of a script
// procedure and every nested statement list checks how much of the thread's stack is
// left, and raises a catchable run-time error long before the process would crash.
#include <QString>

#include "platform/core/exceptions.h"

namespace orv::script {

class EStackOverflow : public Exception {
public:
    using Exception::Exception;
};

// "Stack overflow"
QString stackOverflowText();

namespace detail {
extern thread_local const char* stackLimit;
void initStackLimit();
[[noreturn]] void raiseStackOverflow();
} // namespace detail

// Raises EStackOverflow when less than the reserve is left below the current frame.
inline void checkStack()
{
    char here;
    if (!detail::stackLimit) [[unlikely]]
        detail::initStackLimit();
    if (&here < detail::stackLimit) [[unlikely]]
        detail::raiseStackOverflow();
}

} // namespace orv::script
