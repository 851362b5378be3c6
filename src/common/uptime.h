#pragma once

#include <cstdint>

namespace kvrns {

// Milliseconds since the operating system started, in 64 bits so it never
// wraps (a 32-bit count wraps after 49.7 days); on Linux the boot-time
// clock, which keeps counting through suspend.
std::uint64_t millisecondsSinceBoot();

}  // namespace kvrns
