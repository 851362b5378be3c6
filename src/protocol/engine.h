// The polling engine: once a tick, rediscovery or one polling cycle (pending
// fine-tune delivery, the sixteen requests, the stall check), then the
// readout and the warning evaluation; and the fine-tune and rail-mode
// exchanges the user asks for. Single-threaded and synchronous: EngineThread
// runs it off the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/numtext.h"
#include "device/device_link.h"
#include "protocol/readout.h"
#include "protocol/telemetry.h"
#include "settings/settings_store.h"
#include "warnings/evaluation.h"

namespace kvrns {

// The cycle state, named as the dashboard's public variables are.
struct CycleState {
    int pollStep = 0;  // next request, 0..15; continues where a cut-short cycle stopped
    bool cycleDone = false;
    int UsbNum = 0;     // pollStep after the previous pass
    int UsbCount = 0;   // passes without progress
    int SetVolNum = 0;  // 0: fine-tune steps and rail mode still to deliver
    int USBAdj = 0;     // rail of the last fine-tune exchange: 1 +3.3V, 2 +5V, 3 +12V
    int VolNum = 0;     // step sent, then the step acknowledged
};

enum class TickKind {
    Rediscovery,  // no supply was open: discovery ran instead of a cycle
    Cycle,        // a cycle ran (perhaps cut short by a lost supply)
    Failed,       // a reading could not be read as a number; the cycle was abandoned
};

struct TickReport {
    TickKind kind = TickKind::Rediscovery;
    bool devicePresent = false;
    bool delivered = false;  // the stored steps and rail mode went out first
    Telemetry telemetry;
    Readout readout;
    std::vector<warnings::Warning> warnings;
    std::string error;  // kReadUsbMessage when Failed
    std::string errorDetail;
};

// What the supply said to a fine-tune or rail-mode frame.
struct AckOutcome {
    bool sent = false;          // a frame went out to an open supply
    bool acknowledged = false;  // a write answer for the register asked
    int valueInForce = -1;      // answer byte 5 when acknowledged
    // The rail voltage an answer in read form carried, "0.00", for
    // ILabel_txt(USBAdj - 1).
    std::optional<std::string> voltageShown;
};

class Engine {
public:
    Engine(device::DeviceLink& link, settings::SettingsStore& settings, NumberLocale locale);

    // FindTheHid at load; stores the result in devicePresent.
    bool discover();

    // One tmrDelay tick.
    TickReport tick();

    // The fine-tune arrows: USBAdj = usbAdj, VolNum = step, applyFineTune.
    // Without a supply this runs discovery and sends nothing.
    AckOutcome fineTune(int usbAdj, int step);
    // The rail lever, after it has set railMode: sendRailMode and
    // readAcknowledgement.
    AckOutcome switchRailMode();
    // A settings read after start-up: the next cycle delivers again.
    void clearSetVolNum() { state_.SetVolNum = 0; }

    // Runs after every exchange of the read loop; requests queued by the
    // user run here as whole exchanges of their own.
    void setBetweenExchanges(std::function<void()> hook) { betweenExchanges_ = std::move(hook); }

    const CycleState& state() const { return state_; }
    const Telemetry& telemetry() const { return telemetry_; }
    const Readout& readout() const { return readout_; }
    device::DeviceLink& link() { return link_; }
    int ovpWarmflag() const { return evaluator_.OvpWarmflag(); }

private:
    void deliverSettings();
    AckOutcome applyFineTune();
    AckOutcome readAcknowledgement();
    void readPollAnswer();
    TickReport publish(TickKind kind);

    device::DeviceLink& link_;
    settings::SettingsStore& settings_;
    NumberLocale locale_;
    CycleState state_;
    Telemetry telemetry_;
    Readout readout_;
    warnings::WarningEvaluator evaluator_;
    std::function<void()> betweenExchanges_;
};

// The texts on show that the warning evaluation compares.
warnings::WarningInputs warningInputs(const Readout& readout, const Telemetry& telemetry,
                                      const settings::SettingValues& values, int railMode, NumberLocale locale);

}  // namespace kvrns
