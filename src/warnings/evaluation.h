// When to warn: the shown currents and voltages against the warning points,
// and the temperatures against 99 °C, once per polling cycle.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kvrns::warnings {

enum class WarningKind { OverCurrent, OverVoltage, OverTemperature };

struct Warning {
    WarningKind kind;
    int rail = 0;  // ocpWarnRail 1..4 or ovpWarnRail 1..3; 0 for over-temperature
    bool operator==(const Warning&) const = default;
};

// The texts on show after the readout, each read by its leading number.
struct WarningInputs {
    std::array<std::string, 4> HLabel_txt;  // current warning points
    std::array<std::string, 4> FLabel_txt;  // shown currents
    std::array<std::string, 3> LLabel_txt;  // voltage warning points
    std::array<std::string, 3> ILabel_txt;  // shown voltages
    std::string temperature;
    std::string temperature2;
    int railMode = 1;
};

inline constexpr double kOverTemperatureCelsius = 99;
inline constexpr int kOverVoltageCycles = 3;

class WarningEvaluator {
public:
    // The windows to open this cycle, in the order they open: over-current
    // (first offending rail), over-voltage (on the third consecutive cycle),
    // over-temperature.
    std::vector<Warning> evaluate(const WarningInputs& inputs);

    int OvpWarmflag() const { return ovpWarmflag_; }

private:
    int ovpWarmflag_ = 0;
};

// The rail names the warning windows show: "+3.3V", "+5V", "+12V1", "+12V2";
// a value outside the table shows "+5V".
std::string_view ocpRailName(int ocpWarnRail);
std::string_view ovpRailName(int ovpWarnRail);

// "over-current +5V", "over-voltage +12V1", "over-temperature".
std::string describe(const Warning& warning);

}  // namespace kvrns::warnings
