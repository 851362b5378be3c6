#include "protocol/engine.h"

#include "protocol/commands.h"
#include "protocol/linear.h"

namespace kvrns {

using namespace wire;

Engine::Engine(device::DeviceLink& link, settings::SettingsStore& settings, NumberLocale locale)
    : link_(link), settings_(settings), locale_(locale)
{
}

bool Engine::discover()
{
    link_.devicePresent = link_.FindTheHid();
    return link_.devicePresent;
}

TickReport Engine::tick()
{
    if (!link_.devicePresent) {
        discover();
        return publish(TickKind::Rediscovery);
    }
    try {
        const bool delivering = state_.SetVolNum == 0;
        if (delivering) deliverSettings();

        state_.cycleDone = false;
        while (!state_.cycleDone) {
            link_.writeFrame(kPollTable[static_cast<std::size_t>(state_.pollStep)].frameText);
            readPollAnswer();
            if (betweenExchanges_) betweenExchanges_();
            state_.UsbCount = state_.pollStep == state_.UsbNum ? state_.UsbCount + 1 : 0;
            state_.UsbNum = state_.pollStep;
            if (state_.UsbCount > 2) {  // stalled: give up this cycle, rediscover next tick
                state_.cycleDone = true;
                link_.devicePresent = false;
            }
        }
        state_.cycleDone = false;

        const int railMode = settings_.railMode();
        updateReadout(telemetry_, readout_, railMode, locale_);
        TickReport report = publish(TickKind::Cycle);
        report.delivered = delivering;
        report.warnings =
            evaluator_.evaluate(warningInputs(readout_, telemetry_, settings_.values(), railMode, locale_));
        return report;
    } catch (const ReadUsbError& e) {
        state_.cycleDone = false;
        TickReport report = publish(TickKind::Failed);
        report.error = kReadUsbMessage;
        report.errorDetail = e.what();
        return report;
    }
}

void Engine::readPollAnswer()
{
    if (!link_.devicePresent) return;
    link_.readInputReport();
    const int step = state_.pollStep;
    if (step == kPollSteps - 1) {
        state_.pollStep = 0;
        state_.cycleDone = true;
    } else {
        state_.pollStep = step + 1;
    }
    applyPollAnswer(step, link_.inputReport, telemetry_, locale_);
}

void Engine::deliverSettings()
{
    for (int rail = 1; rail <= 3; ++rail) {
        state_.USBAdj = rail;
        const std::string text = settings_.value(settings::WarnVolt12V + rail);
        const auto step = parseNumber(text, locale_);
        const auto whole = step ? toInt16(*step) : std::nullopt;
        if (!whole) throw ReadUsbError("fine-tune step '" + text + "' is not a whole number");
        state_.VolNum = *whole;
        applyFineTune();
    }
    link_.writeFrame(railModeFrame(settings_.railMode()));
    readAcknowledgement();
}

AckOutcome Engine::fineTune(int usbAdj, int step)
{
    state_.USBAdj = usbAdj;
    state_.VolNum = step;
    return applyFineTune();
}

AckOutcome Engine::applyFineTune()
{
    if (!link_.devicePresent) {
        discover();
        return {};
    }
    link_.writeFrame(fineTuneFrame(state_.USBAdj, state_.VolNum));
    AckOutcome outcome = readAcknowledgement();
    outcome.acknowledged = outcome.acknowledged && link_.inputReport[kAnsRegister] == tuneRegister(state_.USBAdj);
    return outcome;
}

AckOutcome Engine::switchRailMode()
{
    // Written whether or not a supply is open; without one it goes nowhere.
    link_.writeFrame(railModeFrame(settings_.railMode()));
    AckOutcome outcome = readAcknowledgement();
    outcome.acknowledged = outcome.acknowledged && link_.inputReport[kAnsRegister] == kRegRailMode;
    return outcome;
}

AckOutcome Engine::readAcknowledgement()
{
    AckOutcome outcome;
    if (!link_.devicePresent) return outcome;
    outcome.sent = true;
    link_.readInputReport();
    const Report& answer = link_.inputReport;
    if (answer[kAnsStatus] == kStatusInvalid) return outcome;

    if (answer[kAnsCommand] == kCmdWrite) {
        state_.VolNum = answer[kAnsValue];
        outcome.acknowledged = true;
        outcome.valueInForce = state_.VolNum;
        const std::uint8_t reg = answer[kAnsRegister];
        const std::string step = std::to_string(state_.VolNum);
        if (reg == kRegTune3V3 && state_.USBAdj == 1) {
            settings_.setValue(settings::TuneStep3V3, step);
        } else if (reg == kRegTune5V && state_.USBAdj == 2) {
            settings_.setValue(settings::TuneStep5V, step);
        } else if (reg == kRegTune12V && state_.USBAdj == 3) {
            settings_.setValue(settings::TuneStep12V, step);
            state_.SetVolNum = 1;
        } else if (reg == kRegRailMode && state_.USBAdj == 3) {
            state_.SetVolNum = 1;
        }
        return outcome;
    }
    // A write answered in read form carries the rail's voltage.
    if (answer[kAnsCommand] == kCmdRead && answer[kAnsLow] == kAckVoltageMarker && state_.USBAdj >= 1 &&
        state_.USBAdj <= 3) {
        const std::string volts = decodeLinear(answer[kAnsHigh], answer[kAnsLow], locale_);
        const std::string shown = formatFixed(*parseNumber(volts, locale_), 2, locale_);
        std::string Telemetry::*const targets[] = {&Telemetry::voltage3V3, &Telemetry::voltage5V,
                                                   &Telemetry::voltage12V};
        telemetry_.*targets[state_.USBAdj - 1] = shown;
        readout_.ILabel_txt[static_cast<std::size_t>(state_.USBAdj - 1)] = shown;
        outcome.voltageShown = shown;
    }
    return outcome;
}

TickReport Engine::publish(TickKind kind)
{
    TickReport report;
    report.kind = kind;
    report.devicePresent = link_.devicePresent;
    report.telemetry = telemetry_;
    report.readout = readout_;
    return report;
}

warnings::WarningInputs warningInputs(const Readout& readout, const Telemetry& telemetry,
                                      const settings::SettingValues& values, int railMode, NumberLocale locale)
{
    const settings::SettingsView view = settings::viewOf(values, railMode, locale);
    warnings::WarningInputs in;
    in.HLabel_txt = view.HLabel_txt;
    in.LLabel_txt = view.LLabel_txt;
    in.FLabel_txt = readout.FLabel_txt;
    in.ILabel_txt = readout.ILabel_txt;
    in.temperature = telemetry.temperature;
    in.temperature2 = telemetry.temperature2;
    in.railMode = railMode;
    return in;
}

}  // namespace kvrns
