#include "settings/usage.h"

#include <cmath>
#include <cstdio>

namespace kvrns::settings {
namespace {

double reading(const std::string& text, NumberLocale locale)
{
    return parseNumber(text, locale).value_or(0);
}

std::string twoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

std::string OperationTime::hoursText() const { return twoDigits(hours); }
std::string OperationTime::minutesText() const { return twoDigits(minutes); }

OperationTime operationTimeOf(std::uint64_t ms)
{
    const auto whole = static_cast<std::uint64_t>(std::nearbyint(static_cast<double>(ms) / 60000.0));
    return {static_cast<int>(whole / 60), static_cast<int>(whole % 60)};
}

std::string estimateText(double value, NumberLocale locale)
{
    return shortestText(roundHalfAway(value, 2), locale);
}

std::optional<double> factorValue(const std::string& boxText, NumberLocale locale)
{
    return parseNumber(boxText, locale);
}

std::string co2Estimate(const Telemetry& t, OperationTime time, const std::string& factor, NumberLocale locale)
{
    const auto value = factorValue(factor, locale);
    if (!value) return "0";
    return estimateText(reading(t.inputWatt, locale) / 1000 * time.inHours() * *value, locale);
}

std::string energyEstimate(const Telemetry& t, OperationTime time, NumberLocale locale)
{
    return estimateText(reading(t.inputVoltage, locale) * reading(t.inputCurrent, locale) * time.inHours() / 1000,
                        locale);
}

std::string costEstimate(const std::string& energyShown, const std::string& fare, NumberLocale locale)
{
    const auto value = factorValue(fare, locale);
    if (!value) return "0";
    return estimateText(reading(energyShown, locale) * *value, locale);
}

bool acceptableFactorText(const std::string& text)
{
    return text.find(';') == std::string::npos;
}

}  // namespace kvrns::settings
