#include "protocol/telemetry.h"

namespace kvrns {

const std::array<TelemetryField, 19> kTelemetryFields{{
    {"inputVoltage", &Telemetry::inputVoltage, "V"}, {"inputCurrent", &Telemetry::inputCurrent, "A"},
    {"inputWatt", &Telemetry::inputWatt, "W"},       {"powerFactor", &Telemetry::powerFactor, ""},
    {"current3V3", &Telemetry::current3V3, "A"},     {"current5V", &Telemetry::current5V, "A"},
    {"current12V1", &Telemetry::current12V1, "A"},   {"current12V2", &Telemetry::current12V2, "A"},
    {"voltage3V3", &Telemetry::voltage3V3, "V"},     {"voltage5V", &Telemetry::voltage5V, "V"},
    {"voltage12V", &Telemetry::voltage12V, "V"},     {"voltage12V2", &Telemetry::voltage12V2, "V"},
    {"temperature", &Telemetry::temperature, "°C"},  {"temperature2", &Telemetry::temperature2, "°C"},
    {"ratedPower", &Telemetry::ratedPower, "W"},     {"outputPower", &Telemetry::outputPower, "W"},
    {"efficiency", &Telemetry::efficiency, "%"},     {"efficiencyGauge", &Telemetry::efficiencyGauge, "%"},
    {"loadPercent", &Telemetry::loadPercent, "%"},
}};

const TelemetryField* findTelemetryField(std::string_view name)
{
    for (const auto& field : kTelemetryFields)
        if (field.name == name) return &field;
    return nullptr;
}

const TelemetryField* findTelemetryField(std::string Telemetry::*member)
{
    for (const auto& field : kTelemetryFields)
        if (field.member == member) return &field;
    return nullptr;
}

}  // namespace kvrns
