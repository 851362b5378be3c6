// The supply's readings as Prometheus metrics: one gauge per reading with
// its unit in the name, the device's presence, and the warnings of the last
// cycle. Served by `serve` and written for node_exporter by `watch`.
#pragma once

#include <prometheus/collectable.h>
#include <prometheus/metric_family.h>

#include <mutex>
#include <string>
#include <vector>

#include "common/numtext.h"
#include "protocol/engine.h"

namespace kvrns::cli {

class SupplyMetrics final : public prometheus::Collectable {
public:
    explicit SupplyMetrics(NumberLocale locale) : locale_(locale) {}

    // Takes the latest reading. Called from the polling loop while the
    // exposer's threads collect.
    void update(const TickReport& report);

    std::vector<prometheus::MetricFamily> Collect() const override;

    // The page in Prometheus's text format.
    std::string text() const;

private:
    NumberLocale locale_;
    mutable std::mutex mutex_;
    bool present_ = false;
    bool haveReading_ = false;  // a whole cycle has read the supply
    Telemetry telemetry_;
    std::vector<warnings::Warning> warnings_;
};

}  // namespace kvrns::cli
