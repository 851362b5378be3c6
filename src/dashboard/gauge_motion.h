// The three dial gauges' needles: after each cycle every gauge moves one
// scale unit per timer tick toward its target, and needs one more tick to
// notice it has arrived.
#pragma once

#include <array>
#include <string>

namespace kvrns::dashboard {

enum class Gauge { Power = 0, Efficiency = 1, Temperature = 2 };

struct GaugeScale {
    int first;  // scale value of the first frame
    int last;   // scale value of the last frame
};

inline constexpr std::array<GaugeScale, 3> kGaugeScales{{{0, 120}, {75, 99}, {0, 120}}};

class GaugeMotion {
public:
    // Targets from the telemetry texts, each cut to its whole part (toward
    // minus infinity) and kept within the dial (a target below the first
    // frame counts as the first, so the needle never leaves the dial).
    void setTargets(const std::string& loadPercent, const std::string& efficiencyGauge, const std::string& temperature);
    // A cycle ended: every gauge travels again.
    void start();

    // One tick of Timer1 (power, then temperature); returns whether Timer1
    // keeps running.
    bool stepPowerAndTemperature();
    // One tick of Timer3 (efficiency); returns whether Timer3 keeps running.
    bool stepEfficiency();

    int position(Gauge g) const { return position_[index(g)]; }
    int target(Gauge g) const { return target_[index(g)]; }
    bool done(Gauge g) const { return done_[index(g)]; }
    // 1-based frame shown for the current position.
    int frame(Gauge g) const { return position(g) - kGaugeScales[index(g)].first + 1; }

private:
    static constexpr std::size_t index(Gauge g) { return static_cast<std::size_t>(g); }
    void step(Gauge g);

    std::array<int, 3> position_{0, 75, 0};  // powerGaugePos, effGaugePos, tempGaugePos
    std::array<int, 3> target_{0, 75, 0};
    std::array<bool, 3> done_{true, true, true};
};

}  // namespace kvrns::dashboard
