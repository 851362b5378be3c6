// Runs the engine on a device thread of its own, so a 1500 ms read wait
// never freezes a window. Requests go in from any thread; reports come out
// through callbacks called on the device thread (the receiver hands them to
// its own thread). Exchanges never interleave: user requests run between two
// exchanges of a cycle, or at once when no cycle runs; a tick that comes
// while a cycle runs, or while its warnings are still open, starts nothing.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <variant>

#include "device/hid_transport.h"
#include "protocol/engine.h"

namespace kvrns {

struct FineTuneRequest {
    int usbAdj;
    int step;
};
struct RailModeRequest {};

struct RequestOutcome {
    std::variant<FineTuneRequest, RailModeRequest> request;
    AckOutcome ack;
    CycleState state;  // after the exchange
};

class EngineThread {
public:
    struct Callbacks {
        std::function<void(const TickReport&)> onTick;
        std::function<void(const RequestOutcome&)> onRequest;
        std::function<void(bool devicePresent)> onDiscovered;  // the load's discovery
        // Every write and read on the link, to show or record the traffic;
        // called on the device thread before the exchange's result is used.
        device::ExchangeObserver onExchange;
    };

    // Takes the backend; discovery runs on the device thread at once.
    EngineThread(std::unique_ptr<device::HidBackend> backend, settings::SettingsStore& settings, NumberLocale locale,
                 Callbacks callbacks);
    ~EngineThread();  // finishes the exchange under way, then stops

    void tick();
    void fineTune(int usbAdj, int step);
    void switchRailMode();
    void clearSetVolNum();
    // The warning windows of the last cycle are closed: ticks start cycles again.
    void warningsClosed();

    // Ticks dropped because a cycle or its warnings were still open.
    int skippedTicks() const;

private:
    enum class Kind { Tick, FineTune, RailMode, ClearSetVolNum, WarningsClosed };
    struct Request {
        Kind kind;
        FineTuneRequest tune{};
    };

    void post(Request request);
    void run();
    void runUserRequests();  // between exchanges
    void handle(const Request& request);

    std::unique_ptr<device::HidBackend> backend_;
    settings::SettingsStore& settings_;
    NumberLocale locale_;
    Callbacks callbacks_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Request> queue_;
    bool stopping_ = false;
    bool cycleRunning_ = false;
    bool awaitingWarnings_ = false;
    int skippedTicks_ = 0;
    Engine* engine_ = nullptr;  // the device thread's own

    std::thread thread_;  // last: starts after everything above exists
};

}  // namespace kvrns
