// The telemetry model: every reading and derived value as decimal text, the
// form the readout, the record and the mini window consume.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kvrns {

struct Telemetry {
    std::string inputVoltage = "0";
    std::string inputCurrent = "0";
    std::string inputWatt = "0";
    std::string powerFactor = "0";
    std::string current3V3 = "0";
    std::string current5V = "0";
    std::string current12V1 = "0";
    std::string current12V2 = "0";
    std::string voltage3V3 = "0";
    std::string voltage5V = "0";
    std::string voltage12V = "0";
    std::string voltage12V2 = "0";
    std::string temperature = "0";
    std::string temperature2 = "0";
    std::string ratedPower = "0";
    std::string outputPower = "0";
    std::string efficiency = "0";
    std::string efficiencyGauge = "0";
    std::string loadPercent;  // empty until the first readout; counts as 0

    // Answers to the two identity requests; read every cycle, shown nowhere.
    std::string identity1;
    std::string identity2;

    bool operator==(const Telemetry&) const = default;
};

struct TelemetryField {
    std::string_view name;
    std::string Telemetry::*member;
    std::string_view unit;  // shown after the value in tables; empty for ratios
};

// The 19 telemetry values in their documented order.
extern const std::array<TelemetryField, 19> kTelemetryFields;

const TelemetryField* findTelemetryField(std::string_view name);
const TelemetryField* findTelemetryField(std::string Telemetry::*member);

}  // namespace kvrns
