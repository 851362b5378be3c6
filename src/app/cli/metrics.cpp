#include "app/cli/metrics.h"

#include <prometheus/text_serializer.h>

#include <algorithm>
#include <sstream>

namespace kvrns::cli {
namespace {

using prometheus::ClientMetric;
using prometheus::MetricFamily;

struct Reading {
    const char* family;
    const char* help;
    std::string Telemetry::*member;
    const char* labelName;  // null: no label
    const char* labelValue;
    double divisor;  // percentages become ratios
};

// Families appear in this order; a family's members follow one another.
const Reading kReadings[] = {
    {"kvrns_input_voltage_volts", "AC input voltage.", &Telemetry::inputVoltage, nullptr, nullptr, 1},
    {"kvrns_input_current_amperes", "AC input current (estimated in the bands the supply does not measure).",
     &Telemetry::inputCurrent, nullptr, nullptr, 1},
    {"kvrns_input_power_watts", "AC input power (estimated in the bands the supply does not measure).",
     &Telemetry::inputWatt, nullptr, nullptr, 1},
    {"kvrns_power_factor_ratio", "Power factor.", &Telemetry::powerFactor, nullptr, nullptr, 1},
    {"kvrns_rail_current_amperes", "Output current per rail.", &Telemetry::current3V3, "rail", "+3.3V", 1},
    {"kvrns_rail_current_amperes", "", &Telemetry::current5V, "rail", "+5V", 1},
    {"kvrns_rail_current_amperes", "", &Telemetry::current12V1, "rail", "+12V1", 1},
    {"kvrns_rail_current_amperes", "", &Telemetry::current12V2, "rail", "+12V2", 1},
    {"kvrns_rail_voltage_volts", "Output voltage per rail.", &Telemetry::voltage3V3, "rail", "+3.3V", 1},
    {"kvrns_rail_voltage_volts", "", &Telemetry::voltage5V, "rail", "+5V", 1},
    {"kvrns_rail_voltage_volts", "", &Telemetry::voltage12V, "rail", "+12V1", 1},
    {"kvrns_rail_voltage_volts", "", &Telemetry::voltage12V2, "rail", "+12V2", 1},
    {"kvrns_temperature_celsius", "Temperature per sensor.", &Telemetry::temperature, "sensor", "1", 1},
    {"kvrns_temperature_celsius", "", &Telemetry::temperature2, "sensor", "2", 1},
    {"kvrns_rated_power_watts", "Rated output power of the supply.", &Telemetry::ratedPower, nullptr, nullptr, 1},
    {"kvrns_output_power_watts", "Total DC output power.", &Telemetry::outputPower, nullptr, nullptr, 1},
    {"kvrns_efficiency_ratio", "Efficiency, output power against input power.", &Telemetry::efficiency, nullptr,
     nullptr, 100},
    {"kvrns_load_ratio", "Output power against rated power.", &Telemetry::loadPercent, nullptr, nullptr, 100},
};

ClientMetric gauge(double value, std::vector<ClientMetric::Label> labels = {})
{
    ClientMetric metric;
    metric.label = std::move(labels);
    metric.gauge.value = value;
    return metric;
}

MetricFamily& familyFor(std::vector<MetricFamily>& families, const char* name, const char* help)
{
    if (families.empty() || families.back().name != name)
        families.push_back({name, help, prometheus::MetricType::Gauge, {}});
    return families.back();
}

MetricFamily warningFamily(const std::vector<warnings::Warning>& raised)
{
    MetricFamily family{"kvrns_warning_active",
                        "1 while the last cycle raised this warning, else 0.",
                        prometheus::MetricType::Gauge,
                        {}};
    auto add = [&](warnings::WarningKind kind, const char* kindName, int rail, std::string_view railName) {
        const bool active = std::find(raised.begin(), raised.end(), warnings::Warning{kind, rail}) != raised.end();
        std::vector<ClientMetric::Label> labels = {{"kind", kindName}};
        if (!railName.empty()) labels.push_back({"rail", std::string(railName)});
        family.metric.push_back(gauge(active ? 1 : 0, std::move(labels)));
    };
    for (int rail = 1; rail <= 4; ++rail)
        add(warnings::WarningKind::OverCurrent, "over-current", rail, warnings::ocpRailName(rail));
    for (int rail = 1; rail <= 3; ++rail)
        add(warnings::WarningKind::OverVoltage, "over-voltage", rail, warnings::ovpRailName(rail));
    add(warnings::WarningKind::OverTemperature, "over-temperature", 0, {});
    return family;
}

}  // namespace

void SupplyMetrics::update(const TickReport& report)
{
    std::lock_guard lock(mutex_);
    present_ = report.devicePresent;
    if (report.kind == TickKind::Failed) return;
    if (report.kind == TickKind::Cycle && report.devicePresent) {
        haveReading_ = true;
        telemetry_ = report.telemetry;
    }
    // Readings of a supply that has gone would be stale: they go with it.
    if (!report.devicePresent) haveReading_ = false;
    warnings_ = report.warnings;
}

std::vector<MetricFamily> SupplyMetrics::Collect() const
{
    std::lock_guard lock(mutex_);
    std::vector<MetricFamily> families;
    families.push_back({"kvrns_device_present",
                        "1 while the supply is connected and answering, else 0.",
                        prometheus::MetricType::Gauge,
                        {gauge(present_ ? 1 : 0)}});
    if (haveReading_) {
        for (const Reading& r : kReadings) {
            MetricFamily& family = familyFor(families, r.family, r.help);
            const auto value = parseNumber(telemetry_.*(r.member), locale_);
            if (!value) continue;  // a value not read yet
            std::vector<ClientMetric::Label> labels;
            if (r.labelName) labels.push_back({r.labelName, r.labelValue});
            family.metric.push_back(gauge(*value / r.divisor, std::move(labels)));
        }
        std::erase_if(families, [](const MetricFamily& f) { return f.metric.empty(); });
    }
    families.push_back(warningFamily(warnings_));
    return families;
}

std::string SupplyMetrics::text() const
{
    std::ostringstream out;
    prometheus::TextSerializer().Serialize(out, Collect());
    return out.str();
}

}  // namespace kvrns::cli
