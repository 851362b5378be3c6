// The engine on its device thread: requests in, reports out, and the
// ordering rules kept across threads.
#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include "device/sim_supply.h"
#include "protocol/engine_thread.h"

namespace kvrns {
namespace {

using namespace std::chrono_literals;

// A simulated supply whose answers wait at a gate the test opens, so a
// request can be placed while a cycle is provably in the middle of its run.
class GatedSupply final : public device::HidBackend {
public:
    std::vector<device::HidInterface> enumerate() override { return sim.enumerate(); }
    std::unique_ptr<device::HidConnection> open(const std::string& path, std::string* error) override
    {
        auto inner = sim.open(path, error);
        return inner ? std::make_unique<Connection>(*this, std::move(inner)) : nullptr;
    }

    void holdReads(bool hold)
    {
        {
            std::lock_guard lock(mutex);
            held = hold;
        }
        changed.notify_all();
    }
    void waitUntilAReadIsHeld()
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return waiting > 0; });
    }
    std::vector<std::string> log()
    {
        std::lock_guard lock(mutex);
        return events;
    }

    device::SimSupply sim{[] { return 5.0; }};
    std::mutex mutex;
    std::condition_variable changed;
    bool held = false;
    int waiting = 0;
    std::vector<std::string> events;  // "W82", "R", ...

private:
    struct Connection final : device::HidConnection {
        Connection(GatedSupply& g, std::unique_ptr<device::HidConnection> inner) : gate(g), inner(std::move(inner)) {}
        device::ReportLengths reportLengths() const override { return inner->reportLengths(); }
        int write(std::span<const std::uint8_t> report) override
        {
            std::lock_guard lock(gate.mutex);
            char tag[8];
            std::snprintf(tag, sizeof tag, "W%02X%02X", report[1], report[4]);
            gate.events.push_back(tag);
            return inner->write(report);
        }
        device::ReadStatus read(std::span<std::uint8_t> report, int timeoutMs) override
        {
            {
                std::unique_lock lock(gate.mutex);
                ++gate.waiting;
                gate.changed.notify_all();
                gate.changed.wait(lock, [this] { return !gate.held; });
                --gate.waiting;
                gate.events.push_back("R");
            }
            return inner->read(report, timeoutMs);
        }
        GatedSupply& gate;
        std::unique_ptr<device::HidConnection> inner;
    };
};

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
