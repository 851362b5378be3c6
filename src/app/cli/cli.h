// kvrns-cli: the supply on a terminal.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/numtext.h"

namespace kvrns::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitError = 1,
    kExitNoSupply = 2,
    kExitNotAcknowledged = 3,
};

struct Environment {
    std::ostream& out;
    std::ostream& err;
    NumberLocale locale;
    SecondsClock clock = steadySeconds();
    std::filesystem::path executableFolder{};  // where a portable TALVORN.txt may sit
    std::function<const char*(const char*)> getenv = [](const char*) -> const char* { return nullptr; };
    std::function<void(int milliseconds)> sleep = [](int) {};
    // The time stamps of watch's rows.
    std::function<std::chrono::system_clock::time_point()> wallClock = [] { return std::chrono::system_clock::now(); };
    // Commands that run until stopped call this first, so an interrupt or
    // a termination request ends them between two cycles instead of in the
    // middle of one. Then `pause` waits between cycles and returns false
    // once such a request came. Without `pause`, `sleep` waits and nothing stops.
    std::function<void()> catchStopRequests = [] {};
    std::function<bool(double seconds)> pause{};
};

// Runs one command line (without the program name); returns the exit status.
int run(const std::vector<std::string>& args, Environment env);

}  // namespace kvrns::cli
