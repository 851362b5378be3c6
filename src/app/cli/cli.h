// kvrns-cli: the supply on a terminal.
#pragma once

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
};

// Runs one command line (without the program name); returns the exit status.
int run(const std::vector<std::string>& args, Environment env);

}  // namespace kvrns::cli
