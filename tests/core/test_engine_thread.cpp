// The engine on its device thread: requests in, reports out, and the
// ordering rules kept across threads.
#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include "protocol/engine_thread.h"
#include "support/gated_supply.h"

namespace kvrns {
namespace {

using namespace std::chrono_literals;
using test::GatedSupply;

struct ThreadFixture : testing::Test {
    settings::SettingsStore store;
    GatedSupply* gate = nullptr;
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<TickReport> ticks;
    std::vector<RequestOutcome> requests;
    std::promise<bool> discovered;
    std::unique_ptr<EngineThread> engine;

    void start()
    {
        auto backend = std::make_unique<GatedSupply>();
        gate = backend.get();
        EngineThread::Callbacks callbacks;
        callbacks.onDiscovered = [this](bool present) { discovered.set_value(present); };
        callbacks.onTick = [this](const TickReport& r) {
            std::lock_guard lock(mutex);
            ticks.push_back(r);
            arrived.notify_all();
        };
        callbacks.onRequest = [this](const RequestOutcome& r) {
            std::lock_guard lock(mutex);
            requests.push_back(r);
            arrived.notify_all();
        };
        engine = std::make_unique<EngineThread>(std::move(backend), store, NumberLocale{}, callbacks);
        ASSERT_TRUE(discovered.get_future().get());
    }
    void waitForTicks(std::size_t n)
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(arrived.wait_for(lock, 10s, [&] { return ticks.size() >= n; }));
    }
    void waitForRequests(std::size_t n)
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(arrived.wait_for(lock, 10s, [&] { return requests.size() >= n; }));
    }
};

TEST_F(ThreadFixture, ATickRunsACycleAndReportsIt)
{
    start();
    engine->tick();
    waitForTicks(1);
    EXPECT_EQ(ticks[0].kind, TickKind::Cycle);
    EXPECT_TRUE(ticks[0].delivered);
    EXPECT_EQ(ticks[0].telemetry.ratedPower, "0650");
}

TEST_F(ThreadFixture, TicksDuringACycleStartNothingAndRequestsRunBetweenExchanges)
{
    start();
    gate->holdReads(true);
    engine->tick();
    gate->waitUntilAReadIsHeld();  // the cycle is inside its first exchange
    engine->tick();                // falls due while the cycle runs
    engine->fineTune(3, 7);
    gate->holdReads(false);
    waitForTicks(1);
    waitForRequests(1);
    EXPECT_EQ(engine->skippedTicks(), 1);
    EXPECT_TRUE(requests[0].ack.acknowledged);
    EXPECT_EQ(store.value(settings::TuneStep12V), "7");

    const auto events = gate->log();
    // Every write is followed by its own read: no exchange was interleaved.
    for (std::size_t i = 0; i < events.size(); i += 2) {
        EXPECT_EQ(events[i][0], 'W') << i;
        EXPECT_EQ(events[i + 1], "R") << i;
    }
    // The cycle began with its delivery (which does not yield), then the
    // fine-tune went out between its first and second poll exchanges.
    ASSERT_EQ(events.size(), 2u * (4 + 1 + 16));
    EXPECT_EQ(events[0], "W8225");
    EXPECT_EQ(events[4], "W8223");
    EXPECT_EQ(events[8], "W9000");
    EXPECT_EQ(events[10], "W8223");
    EXPECT_EQ(events[12], "W9100");
}

TEST_F(ThreadFixture, WarningsHoldTheNextCycleUntilClosed)
{
    start();
    ASSERT_FALSE(gate->sim.applyOption("temperature2=105"));
    engine->tick();
    waitForTicks(1);
    ASSERT_EQ(ticks[0].warnings.size(), 1u);
    engine->tick();  // the warning window is still open
    EXPECT_EQ(engine->skippedTicks(), 1);
    engine->warningsClosed();
    engine->tick();
    waitForTicks(2);
    EXPECT_EQ(ticks.size(), 2u);
}

}  // namespace
}  // namespace kvrns
