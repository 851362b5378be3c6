// Time as the core sees it: passed in, so tests and benchmarks can run a
// supply's drift and the polling interval without waiting.
#pragma once

#include <chrono>
#include <functional>

namespace kvrns {

// Seconds since an arbitrary fixed origin.
using SecondsClock = std::function<double()>;

inline SecondsClock steadySeconds()
{
    const auto origin = std::chrono::steady_clock::now();
    return [origin] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - origin).count(); };
}

}  // namespace kvrns
