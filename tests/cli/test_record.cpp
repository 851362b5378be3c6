#include <gtest/gtest.h>

#include <condition_variable>
#include <regex>

#include "cli/cli_runner.h"
#include "cli/process.h"
#include "device/script_supply.h"
#include "device/sim_supply.h"
#include "device/trace_recorder.h"
#include "protocol/engine_thread.h"
#include "settings/settings.h"

namespace kvrns {
namespace {

namespace fs = std::filesystem;
using test::lines;
using test::readFile;
using test::runCli;

struct RecordFixture : testing::Test {
    test::TempDir dir;
    fs::path settingsFile = dir.file("TALVORN.txt", std::string(settings::kDefaultLine) + "\r\n");
    std::string settingsArg = "--settings=" + settingsFile.string();
    fs::path trace = dir.path() / "trace.script";
};

TEST_F(RecordFixture, ATraceReplaysToTheSameReadings)
{
    // The simulated load drifts with its clock: each cycle reads differently.
    const auto recorded = runCli({"status", "--device", "sim:seed=7", "--json", "--cycles", "3", "--interval", "0",
                                  "--record", trace.string(), settingsArg},
                                 1.7);
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    const auto cycles = lines(recorded.out);
    ASSERT_EQ(cycles.size(), 3u);
    EXPECT_NE(cycles[0], cycles[2]);

    const std::regex exchange(R"((?:[0-9A-F]{2} ){6}[0-9A-F]{2} => (?:timeout|[0-9A-F]{2}(?: [0-9A-F]{2})*))");
    const auto traced = lines(readFile(trace));
    ASSERT_EQ(traced.size(), 1 + 4 + 3 * 16u);  // a comment, the delivery, three cycles
    for (std::size_t i = 1; i < traced.size(); ++i) EXPECT_TRUE(std::regex_match(traced[i], exchange)) << traced[i];
    EXPECT_EQ(traced[1], "00 82 03 40 25 05 00 => 00 82 00 40 25 05 00");

    const auto replayed = runCli(
        {"status", "--device", "script:" + trace.string(), "--json", "--cycles", "3", "--interval", "0", settingsArg});
    ASSERT_EQ(replayed.status, 0) << replayed.err;
    EXPECT_EQ(replayed.out, recorded.out);
}

TEST_F(RecordFixture, TheDeviceThreadRecordsTheDashboardsTraffic)
{
    auto recorder = device::TraceRecorder::create(trace, nullptr);
    ASSERT_TRUE(recorder);
    std::vector<Telemetry> seen;
    {
        std::mutex m;
        std::condition_variable cv;
        settings::SettingsStore store;
        double now = 0;
        EngineThread::Callbacks callbacks;
        callbacks.onTick = [&](const TickReport& r) {
            std::lock_guard lock(m);
            seen.push_back(r.telemetry);
            cv.notify_all();
        };
        callbacks.onExchange = recorder->observer();
        EngineThread engine(std::make_unique<device::SimSupply>([&now] { return now += 2.5; }, 3), store,
                            NumberLocale{}, callbacks);
        for (std::size_t n = 1; n <= 2; ++n) {
            engine.tick();
            std::unique_lock lock(m);
            ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(10), [&] { return seen.size() == n; }));
        }
    }
    recorder.reset();
    ASSERT_NE(seen[0], seen[1]);

    auto script = device::ScriptSupply::fromFile(trace.string());
    device::DeviceLink link(*script);
    settings::SettingsStore store;
    Engine engine(link, store, NumberLocale{});
    ASSERT_TRUE(engine.discover());
    EXPECT_EQ(engine.tick().telemetry, seen[0]);
    EXPECT_EQ(engine.tick().telemetry, seen[1]);
}

TEST_F(RecordFixture, ExchangesWithoutAnAnswerStayVisible)
{
    auto recorder = device::TraceRecorder::create(trace, nullptr);
    const std::uint8_t request[7] = {0x00, 0x83, 0x02, 0x40, 0x28, 0x00, 0x00};
    const std::uint8_t rail[7] = {0x00, 0x82, 0x03, 0x40, 0x26, 0x02, 0x00};
    using Kind = device::ExchangeEvent::Kind;
    recorder->record({Kind::Write, request});
    recorder->record({Kind::Read, {}, device::ReadStatus::Timeout});
    recorder->record({Kind::Write, request});
    recorder->record({Kind::Read, {}, device::ReadStatus::Failed});
    recorder->record({Kind::Write, rail});
    recorder->record({Kind::Write, request});
    EXPECT_TRUE(recorder->good());
    recorder.reset();
    const auto traced = lines(readFile(trace));
    ASSERT_EQ(traced.size(), 5u);
    EXPECT_EQ(traced[1], "00 83 02 40 28 00 00 => timeout");
    EXPECT_EQ(traced[2], "00 83 02 40 28 00 00 => timeout    # the read failed");
    EXPECT_EQ(traced[3], "# 00 82 03 40 26 02 00 (no answer was read)");
    EXPECT_EQ(traced[4], "# 00 83 02 40 28 00 00 (no answer was read)");
    EXPECT_NO_THROW(device::ScriptSupply::fromFile(trace.string()));
}

TEST_F(RecordFixture, AnUnwritableTraceIsRefusedBeforeAnyExchange)
{
    const std::string nowhere = (dir.path() / "missing" / "trace.script").string();
    const auto r = runCli({"status", "--device", "sim", "--record", nowhere, settingsArg});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing/trace.script: cannot write the trace: No such file or directory"), std::string::npos)
        << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST_F(RecordFixture, TheDashboardRecordsToo)
{
    // The dashboard's option reaches the same recorder: a trace taken while
    // it runs replays as a script.
    test::TempDir home;
    test::Process dashboard({KVRNS_GUI_PATH, "--device", "sim", "--record", trace.string(), settingsArg},
                            {"QT_QPA_PLATFORM=offscreen", "TMPDIR=" + home.path().string(),
                             "XDG_CONFIG_HOME=" + home.path().string(), "USER=kvrns-record-test"},
                            dir.path() / "out", dir.path() / "err");
    ASSERT_TRUE(test::eventually([&] { return lines(readFile(trace)).size() > 1 + 4 + 16; }))
        << readFile(dir.path() / "err");
    dashboard.signal(SIGTERM);
    dashboard.wait();
    const auto replayed = runCli({"status", "--device", "script:" + trace.string(), "--json", settingsArg});
    EXPECT_EQ(replayed.status, 0) << replayed.err;
    EXPECT_NE(replayed.out.find("\"ratedPower\":\"0650\""), std::string::npos) << replayed.out;
}

}  // namespace
}  // namespace kvrns
