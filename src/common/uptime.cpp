#include "common/uptime.h"

#include <chrono>
#include <ctime>

namespace kvrns {

std::uint64_t millisecondsSinceBoot()
{
#if defined(__linux__)
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) == 0)
        return static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
#endif
    // Elsewhere the steady clock counts from the system's start.
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

}  // namespace kvrns
