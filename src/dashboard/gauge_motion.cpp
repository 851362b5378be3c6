#include "dashboard/gauge_motion.h"

#include <algorithm>
#include <cmath>

#include "common/numtext.h"

namespace kvrns::dashboard {
namespace {

int wholeTarget(const std::string& text, GaugeScale scale)
{
    // The texts use the locale's separator; only the whole part counts, and
    // it reads the same either way.
    const double value = leadingNumber(text);
    if (!std::isfinite(value)) return value > 0 ? scale.last : scale.first;
    const double whole = std::floor(value);
    return static_cast<int>(std::clamp(whole, static_cast<double>(scale.first), static_cast<double>(scale.last)));
}

}  // namespace

void GaugeMotion::setTargets(const std::string& loadPercent, const std::string& efficiencyGauge,
                             const std::string& temperature)
{
    target_[index(Gauge::Power)] = wholeTarget(loadPercent, kGaugeScales[0]);
    target_[index(Gauge::Efficiency)] = wholeTarget(efficiencyGauge, kGaugeScales[1]);
    target_[index(Gauge::Temperature)] = wholeTarget(temperature, kGaugeScales[2]);
}

void GaugeMotion::start()
{
    done_ = {false, false, false};
}

void GaugeMotion::step(Gauge g)
{
    const std::size_t i = index(g);
    if (done_[i]) return;
    if (target_[i] > position_[i])
        ++position_[i];
    else if (target_[i] < position_[i])
        --position_[i];
    else
        done_[i] = true;
}

bool GaugeMotion::stepPowerAndTemperature()
{
    step(Gauge::Power);
    step(Gauge::Temperature);
    return !(done(Gauge::Power) && done(Gauge::Temperature));
}

bool GaugeMotion::stepEfficiency()
{
    step(Gauge::Efficiency);
    return !done(Gauge::Efficiency);
}

}  // namespace kvrns::dashboard
