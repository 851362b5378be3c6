#include <chrono>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <thread>

#include "app/cli/cli.h"

#if defined(__linux__)
#include <signal.h>

#include <cerrno>
#include <cmath>
#endif

namespace {

#if defined(__linux__)
sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

// Held back while a cycle runs and taken while waiting between cycles, so
// a stop never cuts a row or an exchange in half. No handler and no flag
// shared with one.
void holdStopSignals()
{
    const sigset_t set = stopSignals();
    sigprocmask(SIG_BLOCK, &set, nullptr);
}

bool waitUnlessStopped(double seconds)
{
    const sigset_t set = stopSignals();
    const auto whole = static_cast<time_t>(seconds);
    timespec left{whole, static_cast<long>(std::lround((seconds - static_cast<double>(whole)) * 1e9))};
    if (left.tv_nsec >= 1000000000L) left = {whole + 1, 0};
    while (true) {
        const auto before = std::chrono::steady_clock::now();
        const int taken = sigtimedwait(&set, nullptr, &left);
        if (taken == SIGINT || taken == SIGTERM) return false;
        if (taken < 0 && errno == EAGAIN) return true;  // the wait ran out
        // Interrupted by another signal: wait out the rest.
        const auto spent = std::chrono::steady_clock::now() - before;
        const auto rest = std::chrono::nanoseconds(left.tv_sec * 1000000000LL + left.tv_nsec) - spent;
        if (rest <= std::chrono::nanoseconds::zero()) return true;
        left = {static_cast<time_t>(rest.count() / 1000000000LL), static_cast<long>(rest.count() % 1000000000LL)};
    }
}
#endif

std::filesystem::path executableFolder(const char* argv0)
{
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path();
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    const char* point = std::localeconv()->decimal_point;
    const kvrns::NumberLocale locale{point && *point ? *point : '.'};
    std::setlocale(LC_NUMERIC, "C");  // our own formatting decides the separator

    kvrns::cli::Environment env{.out = std::cout, .err = std::cerr, .locale = locale};
    env.executableFolder = executableFolder(argv[0]);
    env.getenv = [](const char* name) { return std::getenv(name); };
    env.sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
#if defined(__linux__)
    env.catchStopRequests = holdStopSignals;
    env.pause = waitUnlessStopped;
#endif
    return kvrns::cli::run(std::vector<std::string>(argv + 1, argv + argc), env);
}
