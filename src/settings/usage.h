// The usage estimate: how long the computer has run since the operating
// system started, and the energy, CO2 and cost of that time at the latest
// readings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/numtext.h"
#include "protocol/telemetry.h"

namespace kvrns::settings {

struct OperationTime {
    int hours = 0;
    int minutes = 0;
    double inHours() const { return hours + minutes / 60.0; }
    std::string hoursText() const;    // at least two digits: 07, 123
    std::string minutesText() const;  // two digits
};

// Whole minutes, halves to even: 89 999 ms is 1 minute, 90 000 ms is 2,
// 150 000 ms is 2.
OperationTime operationTimeOf(std::uint64_t millisecondsSinceBoot);

// Rounded to two decimals (halves away from zero), shortest form: 12.5, 3, 0.
std::string estimateText(double value, NumberLocale locale);

// What a factor box holds counts as a number when it is one, blanks aside.
std::optional<double> factorValue(const std::string& boxText, NumberLocale locale);

// CO2 in kg from the input power; "0" when the factor is not a number.
std::string co2Estimate(const Telemetry& telemetry, OperationTime time, const std::string& factor,
                        NumberLocale locale);
// Energy in kWh from the input voltage and current.
std::string energyEstimate(const Telemetry& telemetry, OperationTime time, NumberLocale locale);
// The cost of the energy as shown; "0" when the fare is not a number.
std::string costEstimate(const std::string& energyShown, const std::string& fare, NumberLocale locale);

// A factor box refuses the settings separator, so a typed ";" can never add
// a field to the settings line.
bool acceptableFactorText(const std::string& text);

}  // namespace kvrns::settings
