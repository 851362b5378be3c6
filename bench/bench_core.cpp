// The cost of the program's own work per reading, against the ~2 ms a
// full-speed USB HID exchange takes.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "device/device_link.h"
#include "device/sim_supply.h"
#include "protocol/commands.h"
#include "protocol/engine.h"
#include "protocol/linear.h"
#include "protocol/readout.h"
#include "settings/settings.h"

namespace kvrns {
namespace {

void BM_decodeLinear(benchmark::State& state)
{
    std::uint8_t low = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(decodeLinear(0xCE, low++, NumberLocale{}));
    }
}
BENCHMARK(BM_decodeLinear);

// Sixteen requests against the simulated supply, which answers at once.
void BM_sixteenRequestSequence(benchmark::State& state)
{
    double now = 0;
    device::SimSupply sim([&now] { return now; });
    device::DeviceLink link(sim);
    link.devicePresent = link.FindTheHid();
    Telemetry telemetry;
    for (auto _ : state) {
        for (int step = 0; step < kPollSteps; ++step) {
            link.writeFrame(kPollTable[static_cast<std::size_t>(step)].frameText);
            link.readInputReport();
            applyPollAnswer(step, link.inputReport, telemetry, NumberLocale{});
        }
        now += 1.0;
    }
    benchmark::DoNotOptimize(telemetry);
}
BENCHMARK(BM_sixteenRequestSequence)->Unit(benchmark::kMicrosecond);

// One whole polling cycle: sixteen exchanges, the readout and the warning
// evaluation, against the ~32 ms the link itself needs.
void BM_pollingCycle(benchmark::State& state)
{
    double now = 0;
    device::SimSupply sim([&now] { return now; });
    device::DeviceLink link(sim);
    settings::SettingsStore store;
    Engine engine(link, store, NumberLocale{});
    engine.discover();
    engine.tick();  // delivers the stored steps once
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.tick());
        now += 1.0;
    }
}
BENCHMARK(BM_pollingCycle)->Unit(benchmark::kMicrosecond);

// The readout alone: output power, efficiency, power factor and every field
// text, digit and colour from the telemetry texts of one cycle.
void BM_readout(benchmark::State& state)
{
    device::SimSupply sim([] { return 40.0; });
    device::DeviceLink link(sim);
    link.devicePresent = link.FindTheHid();
    Telemetry telemetry;
    for (int step = 0; step < kPollSteps; ++step) {
        link.writeFrame(kPollTable[static_cast<std::size_t>(step)].frameText);
        link.readInputReport();
        applyPollAnswer(step, link.inputReport, telemetry, NumberLocale{});
    }
    Readout readout;
    for (auto _ : state) {
        updateReadout(telemetry, readout, 1, NumberLocale{});
        benchmark::DoNotOptimize(readout);
    }
}
BENCHMARK(BM_readout)->Unit(benchmark::kMicrosecond);

void BM_settingsReadAndWrite(benchmark::State& state)
{
    const auto path = std::filesystem::temp_directory_path() / "kvrns-bench-TALVORN.txt";
    settings::writeSettingsLine(path, settings::kDefaultLine);
    for (auto _ : state) {
        auto values = settings::readSettingsFile(path, NumberLocale{}).values;
        settings::writeSettingsFile(path, *values);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_settingsReadAndWrite)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kvrns

BENCHMARK_MAIN();
