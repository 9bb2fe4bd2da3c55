#include "script/core/stack.h"

#include <algorithm>
#include <pthread.h>

namespace orv::script {

QString stackOverflowText()
{
    return QStringLiteral("Stack overflow");
}

namespace detail {

thread_local std::uintptr_t stackLimit = ~std::uintptr_t(0);

namespace {

thread_local bool stackLimitSet = false;

void initStackLimit()
{
    // The stack grows downwards; what is left below the limit stays free for the host
    // code that runs between two checks (callbacks, message boxes, error handling).
    char here;
    std::size_t size = 8u << 20;
    const char* low = nullptr;
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        void* addr = nullptr;
        std::size_t s = 0;
        if (pthread_attr_getstack(&attr, &addr, &s) == 0 && addr && s) {
            low = static_cast<const char*>(addr);
            size = s;
        }
        pthread_attr_destroy(&attr);
    }
    // Without the thread's bounds, assume half the usual size is left below this frame.
    if (!low) {
        size = 4u << 20;
        low = &here - size;
    }
    const std::size_t reserve = std::clamp<std::size_t>(size / 4, 64 * 1024, 2u << 20);
    stackLimit = reinterpret_cast<std::uintptr_t>(low + reserve);
    stackLimitSet = true;
}

} // namespace

void stackCheckFailed(std::uintptr_t here)
{
    if (!stackLimitSet) {
        initStackLimit();
        if (here >= stackLimit)
            return;
    }
    throw EStackOverflow(stackOverflowText());
}

} // namespace detail
} // namespace orv::script
