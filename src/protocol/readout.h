// What the dashboard shows after a polling cycle: derived output power,
// efficiency and power factor, every field text, the digit readouts with
// their colours and the gauge targets, all as data.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "common/numtext.h"
#include "protocol/telemetry.h"

namespace kvrns {

// A reading text that is not a number: the cycle is abandoned and the user
// told "The error occurred while Read USB !".
class ReadUsbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
inline constexpr const char* kReadUsbMessage = "The error occurred while Read USB !";

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};
inline constexpr Rgb kDimGrey{128, 128, 128};
inline constexpr Rgb kBlue{0, 133, 219};
inline constexpr Rgb kOrange{255, 134, 56};
inline constexpr Rgb kRed{255, 0, 0};

// Kept between cycles: outside both mains bands nothing is derived and the
// output-power digits and efficiency colours keep their last values.
struct Readout {
    std::array<std::string, 4> FLabel_txt;  // output currents
    std::array<std::string, 3> ILabel_txt;  // output voltages
    std::array<std::string, 4> NLabel_txt;  // AC voltage, current, power, power factor
    std::array<int, 4> DLabel{};            // output power digits
    std::array<Rgb, 4> DLabelColour{kDimGrey, kDimGrey, kDimGrey, kDimGrey};
    std::array<int, 2> DLabel2{};  // efficiency digits
    std::array<Rgb, 2> DLabel2Colour{kDimGrey, kDimGrey};
    std::array<int, 3> DLabel3{};  // temperature digits
    std::array<Rgb, 3> DLabel3Colour{kDimGrey, kDimGrey, kDimGrey};
    bool derived = false;  // whether this cycle's mains voltage was in a band

    bool operator==(const Readout&) const = default;
};

enum class MainsBand { None, Low, High };
MainsBand mainsBandOf(double inputVolts);

struct EfficiencyRow {
    int fromWatts;
    double efficiencyLow, powerFactorLow, efficiencyHigh, powerFactorHigh;
};
// Looked up by output power in whole watts; bands include both ends.
const EfficiencyRow& efficiencyRowFor(long long watts);

// Derives and formats from the telemetry texts (rewriting those the
// derivation replaces), railMode (1 multiple rails; otherwise the +12V
// currents are added) and the locale. Throws ReadUsbError when a reading
// text is not a number.
void updateReadout(Telemetry& telemetry, Readout& readout, int railMode, NumberLocale locale);

}  // namespace kvrns
