#include "platform/core/filemap.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace orv::platform {

namespace {

// The maps alive at one time, each watched by one guard; a map beyond them is refused
// and the caller reads instead.
constexpr int kGuards = 32;

struct Guard {
    std::atomic<bool> taken{false};
    std::atomic<std::uintptr_t> start{0}, end{0}; // start 0: watching nothing
    std::atomic<bool> cut{false};
};

Guard gGuards[kGuards];
struct sigaction gPrevious {};
std::uintptr_t gPageSize = 4096;

// A bus error on a page of a watched map: the file ends before it. The pages from there
// to the end of the map become zeros and the guard remembers the cut; the access that
// failed then reads zeros. Any other bus error goes where it went before.
void onBusError(int signal, siginfo_t* info, void* context)
{
    if (info && info->si_code > 0) { // raised by the memory system, not sent by a process
        const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
        for (Guard& g : gGuards) {
            const std::uintptr_t start = g.start.load(std::memory_order_acquire);
            const std::uintptr_t end = g.end.load(std::memory_order_acquire);
            if (start == 0 || at < start || at >= end)
                continue;
            const std::uintptr_t page = at & ~(gPageSize - 1);
            if (::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED,
                       -1, 0)
                != MAP_FAILED) {
                g.cut.store(true, std::memory_order_release);
                return;
            }
            break;
        }
    }
    if (gPrevious.sa_flags & SA_SIGINFO) {
        gPrevious.sa_sigaction(signal, info, context);
    } else if (gPrevious.sa_handler != SIG_DFL && gPrevious.sa_handler != SIG_IGN) {
        gPrevious.sa_handler(signal);
    } else {
        // The system's own action: the access runs again, faults again and ends the
        // process as it would have without this handler.
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        ::sigaction(SIGBUS, &fallback, nullptr);
    }
}

bool watching()
{
    static const bool installed = [] {
        const long page = ::sysconf(_SC_PAGESIZE);
        if (page > 0)
            gPageSize = std::uintptr_t(page);
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        return ::sigaction(SIGBUS, &action, &gPrevious) == 0;
    }();
    return installed;
}

int takeGuard()
{
    for (int i = 0; i < kGuards; ++i) {
        bool free = false;
        if (gGuards[i].taken.compare_exchange_strong(free, true))
            return i;
    }
    return -1;
}

} // namespace

FileMap::FileMap(int fd, qint64 offset, qint64 length)
{
    if (fd < 0 || offset < 0 || length <= 0 || !watching())
        return;
    const int slot = takeGuard();
    if (slot < 0)
        return;
    const qint64 first = offset & ~qint64(gPageSize - 1);
    const qint64 mapped = offset + length - first;
    // The whole map is read, record after record: its pages are entered in one go rather
    // than a fault at a time.
    void* base = ::mmap(nullptr, size_t(mapped), PROT_READ, MAP_SHARED | MAP_POPULATE, fd, off_t(first));
    if (base == MAP_FAILED) {
        gGuards[slot].taken.store(false);
        return;
    }
    Guard& g = gGuards[slot];
    g.cut.store(false);
    g.end.store(reinterpret_cast<std::uintptr_t>(base) + std::uintptr_t(mapped), std::memory_order_release);
    g.start.store(reinterpret_cast<std::uintptr_t>(base), std::memory_order_release);
    base_ = base;
    mapped_ = mapped;
    data_ = static_cast<const char*>(base) + (offset - first);
    length_ = length;
    slot_ = slot;
}

FileMap::~FileMap()
{
    if (slot_ < 0)
        return;
    Guard& g = gGuards[slot_];
    g.start.store(0, std::memory_order_release);
    ::munmap(base_, size_t(mapped_));
    g.end.store(0);
    g.taken.store(false);
}

bool FileMap::intact() const { return slot_ < 0 || !gGuards[slot_].cut.load(std::memory_order_acquire); }

} // namespace orv::platform
