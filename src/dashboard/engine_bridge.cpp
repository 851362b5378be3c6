#include "dashboard/engine_bridge.h"

#include <QMetaObject>

namespace kvrns::dashboard {

EngineBridge::EngineBridge(std::unique_ptr<device::HidBackend> backend, settings::SettingsStore& settings,
                           NumberLocale locale, QObject* parent, device::ExchangeObserver onExchange)
    : QObject(parent)
{
    qRegisterMetaType<TickReport>();
    qRegisterMetaType<RequestOutcome>();
    EngineThread::Callbacks callbacks;
    // Called on the device thread: hand each report to this object's thread.
    callbacks.onDiscovered = [this](bool present) {
        QMetaObject::invokeMethod(
            this, [this, present] { emit discovered(present); }, Qt::QueuedConnection);
    };
    callbacks.onTick = [this](const TickReport& report) {
        QMetaObject::invokeMethod(
            this, [this, report] { emit tickReported(report); }, Qt::QueuedConnection);
    };
    callbacks.onRequest = [this](const RequestOutcome& outcome) {
        QMetaObject::invokeMethod(
            this, [this, outcome] { emit requestDone(outcome); }, Qt::QueuedConnection);
    };
    callbacks.onExchange = std::move(onExchange);
    engine_ = std::make_unique<EngineThread>(std::move(backend), settings, locale, std::move(callbacks));
}

EngineBridge::~EngineBridge()
{
    engine_.reset();  // joins the device thread before the signals' target goes
}

}  // namespace kvrns::dashboard
