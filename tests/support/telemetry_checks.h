// What must hold of the telemetry model whatever the supply answered: the
// fuzz targets and the soak tests check it after every step.
#pragma once

#include <string>

#include "common/numtext.h"
#include "protocol/engine.h"
#include "protocol/telemetry.h"

namespace kvrns::test {

// Empty when every value is a number text by the locale's rules, except the
// rated power ("0" and three characters of the answer) and the load, which
// is empty until the first readout. Otherwise names the first bad value.
// Before the first answer the rated power is the start value "0".
inline std::string telemetryProblem(const Telemetry& t, NumberLocale locale)
{
    for (const TelemetryField& field : kTelemetryFields) {
        const std::string& text = t.*field.member;
        if (field.member == &Telemetry::ratedPower) {
            if (text != "0" && (text.size() != 4 || text[0] != '0')) return "ratedPower '" + text + "'";
        } else if (field.member == &Telemetry::loadPercent && text.empty()) {
            continue;
        } else if (!parseNumber(text, locale)) {
            return std::string(field.name) + " '" + text + "' is not a number";
        }
    }
    return {};
}

// Empty when the cycle state is within its ranges.
inline std::string cycleStateProblem(const CycleState& s)
{
    if (s.pollStep < 0 || s.pollStep > 15) return "pollStep " + std::to_string(s.pollStep);
    if (s.UsbNum < 0 || s.UsbNum > 15) return "UsbNum " + std::to_string(s.UsbNum);
    // UsbCount has no upper bound: a delivery that loses the supply adds a
    // pass to the count the last stall left.
    if (s.UsbCount < 0) return "UsbCount " + std::to_string(s.UsbCount);
    return {};
}

}  // namespace kvrns::test
