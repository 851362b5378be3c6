// The polling engine's device thread seen from the user-interface thread:
// calls post requests and return at once; reports arrive as signals on the
// thread this object lives in.
#pragma once

#include <QObject>
#include <memory>

#include "device/hid_transport.h"
#include "protocol/engine_thread.h"

namespace kvrns::dashboard {

class EngineBridge : public QObject {
    Q_OBJECT
public:
    // `onExchange`, when given, sees every write and read on the device
    // thread (a trace recorder, say).
    EngineBridge(std::unique_ptr<device::HidBackend> backend, settings::SettingsStore& settings, NumberLocale locale,
                 QObject* parent = nullptr, device::ExchangeObserver onExchange = {});
    ~EngineBridge() override;

    void tick() { engine_->tick(); }
    void fineTune(int usbAdj, int step) { engine_->fineTune(usbAdj, step); }
    void switchRailMode() { engine_->switchRailMode(); }
    void clearSetVolNum() { engine_->clearSetVolNum(); }
    void warningsClosed() { engine_->warningsClosed(); }
    int skippedTicks() const { return engine_->skippedTicks(); }

signals:
    void discovered(bool devicePresent);
    void tickReported(const kvrns::TickReport& report);
    void requestDone(const kvrns::RequestOutcome& outcome);

private:
    std::unique_ptr<EngineThread> engine_;
};

}  // namespace kvrns::dashboard
