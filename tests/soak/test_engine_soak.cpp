// The engine over the simulated supply, cycle after cycle with no waiting,
// while the supply's faults switch on and off at random: the cycle state
// stays within its ranges, every value stays a number, and once the faults
// stop the next cycles read the supply's true values again.
//
// KVRNS_SOAK_CYCLES sets the number of cycles (100 000 by default).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "device/device_link.h"
#include "device/sim_supply.h"
#include "protocol/commands.h"
#include "protocol/engine.h"
#include "protocol/linear.h"
#include "support/telemetry_checks.h"

namespace kvrns {
namespace {

using device::SimFaults;

long soakCycles()
{
    const char* text = std::getenv("KVRNS_SOAK_CYCLES");
    const long cycles = text ? std::atol(text) : 0;
    return cycles > 0 ? cycles : 100000;
}

// Registers and identity commands a silent fault can hold back.
std::uint8_t pollRegister(int step)
{
    const PollRequest& request = kPollTable[static_cast<std::size_t>(step)];
    return request.command == wire::kCmdRead ? request.reg : request.command;
}

class Soak {
public:
    Soak(std::uint64_t seed, NumberLocale locale)
        : random_(seed), sim_([this] { return now_; }, seed), engine_(link_, store_, locale), locale_(locale)
    {
        engine_.setBetweenExchanges([this] { betweenExchanges(); });
        engine_.discover();
    }

    // One tick with perhaps a fault switched first; empty when all is sound.
    std::string cycle()
    {
        if (chance(20)) toggleFault();
        if (chance(50)) userRequest();
        const TickReport report = engine_.tick();
        now_ += 1.0;
        ++kinds[static_cast<int>(report.kind)];
        if (!problem_.empty()) return problem_;
        if (report.kind == TickKind::Failed) return "a cycle failed: " + report.errorDetail;
        std::string problem = test::cycleStateProblem(engine_.state());
        if (problem.empty()) problem = test::telemetryProblem(report.telemetry, locale_);
        return problem;
    }

    // Switches every fault off, runs ticks until a whole cycle has run from
    // its first request, and compares what it read with the supply's values.
    std::string recover()
    {
        sim_.faults() = SimFaults{};
        for (int tick = 0; tick < 6; ++tick) {
            const bool wholeCycle = link_.devicePresent && engine_.state().pollStep == 0;
            const TickReport report = engine_.tick();
            if (wholeCycle && report.kind == TickKind::Cycle) return compare(report.telemetry);
        }
        return "no whole cycle ran within six ticks of the faults stopping";
    }

    long kinds[3] = {};  // ticks by TickKind

private:
    bool chance(int oneIn) { return std::uniform_int_distribution<int>(0, oneIn - 1)(random_) == 0; }
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    void toggleFault()
    {
        SimFaults& f = sim_.faults();
        switch (pick(7)) {
            case 0: f.unplugged = !f.unplugged; break;
            case 1: {
                const std::uint8_t reg = pollRegister(pick(kPollSteps));
                if (!f.silent.erase(reg)) f.silent.insert(reg);
                break;
            }
            case 2: f.wrongEcho = !f.wrongEcho; break;
            case 3: f.invalidStatus = !f.invalidStatus; break;
            case 4: f.lateAnswers = !f.lateAnswers; break;
            case 5: f.garbage = !f.garbage; break;
            default: f = SimFaults{};
        }
    }

    void userRequest()
    {
        switch (pick(3)) {
            case 0: engine_.fineTune(1 + pick(3), 1 + pick(9)); break;
            case 1:
                store_.setRailMode(pick(2));
                engine_.switchRailMode();
                break;
            default: engine_.clearSetVolNum();
        }
    }

    void betweenExchanges()
    {
        if (problem_.empty()) problem_ = test::cycleStateProblem(engine_.state());
        if (chance(200)) userRequest();
    }

    std::string compare(const Telemetry& t)
    {
        for (int step = 0; step < kPollSteps; ++step) {
            const PollRequest& request = kPollTable[static_cast<std::size_t>(step)];
            const TelemetryField* field = request.target ? findTelemetryField(request.target) : nullptr;
            // The readout replaces these with values derived from the others.
            if (!field || request.reg == wire::kRegRatedPower || field->name == "inputCurrent" ||
                field->name == "inputWatt" || field->name == "temperature")
                continue;
            const std::string& text = t.*request.target;
            const auto value = parseNumber(text, locale_);
            if (!value) return std::string(field->name) + " '" + text + "' is not a number";

            Report asked{};
            asked[wire::kReqCommand] = request.command;
            asked[wire::kReqRegister] = request.reg;
            const auto answer = sim_.answer(asked);
            const auto sent =
                parseNumber(decodeLinear((*answer)[wire::kAnsHigh], (*answer)[wire::kAnsLow], locale_), locale_);
            if (*value != *sent) return std::string(field->name) + " " + text + " is not what the supply sent";
            // Within half a LINEAR11 step at the supply's exponents and the
            // rounding to two places.
            const double truth = sim_.reading(request.reg);
            if (std::fabs(*value - truth) > 0.01 + 0.005 * truth)
                return std::string(field->name) + " " + text + " is far from " + std::to_string(truth);
        }
        const double hot = *parseNumber(t.temperature2, locale_);
        if (t.temperature != std::to_string(static_cast<long>(std::floor(hot))))
            return "temperature " + t.temperature + " against temperature2 " + t.temperature2;
        if (t.ratedPower != "0650") return "ratedPower " + t.ratedPower;
        if (t.identity1 != "TALVORN QUORLANE") return "identity1 " + t.identity1;
        return {};
    }

    double now_ = 0;
    std::mt19937_64 random_;
    device::SimSupply sim_;
    device::DeviceLink link_{sim_};
    settings::SettingsStore store_;
    Engine engine_;
    NumberLocale locale_;
    std::string problem_;
};

struct SoakCase {
    const char* name;
    NumberLocale locale;
    long share;  // of the cycles, in tenths
};

class EngineSoak : public testing::TestWithParam<SoakCase> {};

TEST_P(EngineSoak, SurvivesFaultsAndReadsTrueValuesAfterThem)
{
    const long cycles = soakCycles() * GetParam().share / 10;
    Soak soak(20240611, GetParam().locale);
    long recoveries = 0;
    for (long i = 1; i <= cycles; ++i) {
        const std::string problem = soak.cycle();
        ASSERT_EQ(problem, "") << "cycle " << i;
        if (i % 2000 == 0 || i == cycles) {
            ASSERT_EQ(soak.recover(), "") << "after cycle " << i;
            ++recoveries;
        }
    }
    EXPECT_GE(recoveries, 1);
    // The faults cost cycles, but most ticks still read the supply.
    const long cycled = soak.kinds[static_cast<int>(TickKind::Cycle)];
    const long rediscovered = soak.kinds[static_cast<int>(TickKind::Rediscovery)];
    EXPECT_GT(cycled, cycles / 4);
    EXPECT_GT(rediscovered, cycles / 100);
    std::printf("%ld ticks: %ld cycles, %ld rediscoveries; %ld recoveries checked\n", cycles, cycled, rediscovered,
                recoveries);
}

INSTANTIATE_TEST_SUITE_P(Locales, EngineSoak,
                         testing::Values(SoakCase{"decimalPoint", {'.'}, 10}, SoakCase{"decimalComma", {','}, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvrns
