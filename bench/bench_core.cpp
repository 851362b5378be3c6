// The cost of the program's own work per reading, against the ~2 ms a
// full-speed USB HID exchange takes.
#include <benchmark/benchmark.h>

#include "device/device_link.h"
#include "device/sim_supply.h"
#include "protocol/commands.h"
#include "protocol/linear.h"

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

}  // namespace
}  // namespace kvrns

BENCHMARK_MAIN();
