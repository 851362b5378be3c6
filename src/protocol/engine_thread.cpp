#include "protocol/engine_thread.h"

namespace kvrns {

EngineThread::EngineThread(std::unique_ptr<device::HidBackend> backend, settings::SettingsStore& settings,
                           NumberLocale locale, Callbacks callbacks)
    : backend_(std::move(backend)),
      settings_(settings),
      locale_(locale),
      callbacks_(std::move(callbacks)),
      thread_([this] { run(); })
{
}

EngineThread::~EngineThread()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void EngineThread::tick()
{
    post({Kind::Tick});
}
void EngineThread::fineTune(int usbAdj, int step)
{
    post({Kind::FineTune, {usbAdj, step}});
}
void EngineThread::switchRailMode()
{
    post({Kind::RailMode});
}
void EngineThread::clearSetVolNum()
{
    post({Kind::ClearSetVolNum});
}
void EngineThread::warningsClosed()
{
    post({Kind::WarningsClosed});
}

int EngineThread::skippedTicks() const
{
    std::lock_guard lock(mutex_);
    return skippedTicks_;
}

void EngineThread::post(Request request)
{
    {
        std::lock_guard lock(mutex_);
        if (request.kind == Kind::Tick && (cycleRunning_ || awaitingWarnings_)) {
            ++skippedTicks_;
            return;
        }
        if (request.kind == Kind::WarningsClosed) awaitingWarnings_ = false;
        if (request.kind == Kind::Tick) cycleRunning_ = true;  // one cycle at a time, from now
        queue_.push_back(request);
    }
    wake_.notify_one();
}

void EngineThread::run()
{
    // The link and the engine live on the device thread alone.
    device::DeviceLink link(*backend_);
    if (callbacks_.onExchange) link.setObserver(callbacks_.onExchange);
    Engine engine(link, settings_, locale_);
    engine_ = &engine;
    engine.setBetweenExchanges([this] { runUserRequests(); });
    const bool present = engine.discover();
    if (callbacks_.onDiscovered) callbacks_.onDiscovered(present);

    while (true) {
        Request request;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) break;
            request = queue_.front();
            queue_.pop_front();
        }
        handle(request);
    }
    engine_ = nullptr;
}

void EngineThread::runUserRequests()
{
    while (true) {
        Request request;
        {
            std::lock_guard lock(mutex_);
            // Ticks stay queued behind the running cycle's requests; the
            // cycle flag keeps new ones out.
            auto it = queue_.begin();
            while (it != queue_.end() && it->kind == Kind::Tick) ++it;
            if (it == queue_.end() || stopping_) return;
            request = *it;
            queue_.erase(it);
        }
        handle(request);
    }
}

void EngineThread::handle(const Request& request)
{
    Engine& engine = *engine_;
    switch (request.kind) {
        case Kind::Tick: {
            TickReport report = engine.tick();
            {
                std::lock_guard lock(mutex_);
                cycleRunning_ = false;
                awaitingWarnings_ = !report.warnings.empty();
            }
            if (callbacks_.onTick) callbacks_.onTick(report);
            break;
        }
        case Kind::FineTune: {
            RequestOutcome outcome{request.tune, engine.fineTune(request.tune.usbAdj, request.tune.step), {}};
            outcome.state = engine.state();
            if (callbacks_.onRequest) callbacks_.onRequest(outcome);
            break;
        }
        case Kind::RailMode: {
            RequestOutcome outcome{RailModeRequest{}, engine.switchRailMode(), {}};
            outcome.state = engine.state();
            if (callbacks_.onRequest) callbacks_.onRequest(outcome);
            break;
        }
        case Kind::ClearSetVolNum: engine.clearSetVolNum(); break;
        case Kind::WarningsClosed: break;
    }
}

}  // namespace kvrns
