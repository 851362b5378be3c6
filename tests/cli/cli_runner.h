// kvrns-cli in the test's own process, with its clocks fixed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "app/cli/cli.h"

namespace kvrns::test {

struct CliResult {
    int status;
    std::string out, err;
};

// `clockStep`: how far the supply's clock moves each time it is read, so a
// simulated supply drifts from cycle to cycle yet the same way every run.
inline CliResult runCli(const std::vector<std::string>& args, double clockStep = 0,
                        std::chrono::system_clock::time_point wallTime = {})
{
    std::ostringstream out, err;
    double now = 0;
    cli::Environment env{.out = out, .err = err, .locale = NumberLocale{}, .clock = [&now, clockStep] {
                             now += clockStep;
                             return now;
                         }};
    env.wallClock = [wallTime] { return wallTime; };
    const int status = cli::run(args, env);
    return {status, out.str(), err.str()};
}

}  // namespace kvrns::test
