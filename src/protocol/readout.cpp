#include "protocol/readout.h"

#include <algorithm>
#include <cmath>

namespace kvrns {
namespace {

constexpr std::array<EfficiencyRow, 13> kEfficiencyTable{{
    {0, 0.43, 0.81, 0.45, 0.47},
    {7, 0.60, 0.87, 0.61, 0.58},
    {13, 0.69, 0.89, 0.70, 0.65},
    {19, 0.74, 0.91, 0.75, 0.69},
    {25, 0.78, 0.92, 0.78, 0.73},
    {31, 0.86, 0.95, 0.87, 0.82},
    {61, 0.90, 0.97, 0.92, 0.89},
    {121, 0.92, 0.98, 0.93, 0.92},
    {181, 0.92, 0.98, 0.94, 0.93},
    {241, 0.92, 0.98, 0.94, 0.94},
    {301, 0.92, 0.98, 0.93, 0.96},
    {421, 0.91, 0.98, 0.93, 0.97},
    {481, 0.90, 0.99, 0.92, 0.97},
}};

double number(const std::string& text, NumberLocale locale)
{
    const auto value = parseNumber(text, locale);
    if (!value) throw ReadUsbError("reading '" + text + "' is not a number");
    return *value;
}

std::string fixed2(const std::string& text, NumberLocale locale)
{
    return formatFixed(number(text, locale), 2, locale);
}

long long wholePart(double value)
{
    return static_cast<long long>(std::floor(value));
}

void deriveLine(MainsBand band, Telemetry& t, Readout& r, NumberLocale locale)
{
    const double sum = number(t.current5V, locale) * number(t.voltage5V, locale) +
                       number(t.current3V3, locale) * number(t.voltage3V3, locale) +
                       number(t.current12V1, locale) * number(t.voltage12V, locale) +
                       number(t.current12V2, locale) * number(t.voltage12V2, locale);
    const auto p = static_cast<long long>(roundHalfAway(sum));
    t.outputPower = std::to_string(p);

    // Leading zeros dim, significant digits red.
    const int significant = p > 999 ? 4 : p > 99 ? 3 : p > 9 ? 2 : 1;
    for (int i = 0; i < 4; ++i) r.DLabelColour[i] = i >= 4 - significant ? kRed : kDimGrey;

    // A four-digit readout cannot show more than 9999 W; a garbled reading
    // beyond that shows nines rather than a digit out of range.
    long long rest = p;
    const long long divisors[] = {1000, 100, 10, 1};
    for (int i = 0; i < 4; ++i) {
        const long long digit = std::clamp<long long>(rest / divisors[i], 0, 9);
        r.DLabel[i] = static_cast<int>(digit);
        rest -= divisors[i] * digit;
    }

    const EfficiencyRow& row = efficiencyRowFor(p);
    const double eta = band == MainsBand::Low ? row.efficiencyLow : row.efficiencyHigh;
    const double pf = band == MainsBand::Low ? row.powerFactorLow : row.powerFactorHigh;
    t.inputWatt = formatFixed(static_cast<double>(p) / eta, 2, locale);
    t.inputVoltage = fixed2(t.inputVoltage, locale);
    t.powerFactor = formatFixed(pf, 2, locale);
    const double volts = number(t.inputVoltage, locale);
    t.inputCurrent = volts != 0
                         ? formatFixed(number(t.inputWatt, locale) / (volts * number(t.powerFactor, locale)), 2, locale)
                         : "0";
    t.efficiency = std::to_string(std::lround(eta * 100));
    t.efficiencyGauge = t.efficiency;
    t.temperature = std::to_string(wholePart(number(t.temperature2, locale)));

    const Rgb efficiencyColour = wholePart(number(t.efficiency, locale)) > 9 ? kBlue : kDimGrey;
    r.DLabel2Colour = {efficiencyColour, efficiencyColour};
}

void temperatureDigits(Telemetry& t, Readout& r, NumberLocale locale)
{
    if (wholePart(number(t.temperature, locale)) > 120) t.temperature = "120";
    long long tempWhole = wholePart(number(t.temperature, locale));
    const long long shown = std::max(tempWhole, 0LL);
    r.DLabel3 = {static_cast<int>(shown / 100), static_cast<int>(shown % 100 / 10), static_cast<int>(shown % 10)};
    if (tempWhole <= 40)
        r.DLabel3Colour = {kDimGrey, kBlue, kBlue};
    else if (tempWhole <= 70)
        r.DLabel3Colour = {kDimGrey, kOrange, kOrange};
    else if (tempWhole <= 99)
        r.DLabel3Colour = {kDimGrey, kRed, kRed};
    else
        r.DLabel3Colour = {kRed, kRed, kRed};
}

}  // namespace

MainsBand mainsBandOf(double inputVolts)
{
    const long long v = wholePart(inputVolts);
    if (v >= 90 && v <= 125) return MainsBand::Low;
    if (v >= 200 && v <= 264) return MainsBand::High;
    return MainsBand::None;
}

const EfficiencyRow& efficiencyRowFor(long long watts)
{
    for (std::size_t i = kEfficiencyTable.size(); i-- > 0;)
        if (watts >= kEfficiencyTable[i].fromWatts) return kEfficiencyTable[i];
    return kEfficiencyTable.front();
}

void updateReadout(Telemetry& t, Readout& r, int railMode, NumberLocale locale)
{
    const MainsBand band = mainsBandOf(number(t.inputVoltage, locale));
    r.derived = band != MainsBand::None;
    if (r.derived) deriveLine(band, t, r, locale);

    r.FLabel_txt[0] = fixed2(t.current3V3, locale);
    r.FLabel_txt[1] = fixed2(t.current5V, locale);
    if (railMode == 1) {
        r.FLabel_txt[2] = fixed2(t.current12V1, locale);
        r.FLabel_txt[3] = fixed2(t.current12V2, locale);
    } else {
        r.FLabel_txt[2] = formatFixed(number(t.current12V1, locale) + number(t.current12V2, locale), 2, locale);
        r.FLabel_txt[3].clear();
    }
    r.ILabel_txt = {fixed2(t.voltage3V3, locale), fixed2(t.voltage5V, locale), fixed2(t.voltage12V, locale)};

    r.NLabel_txt[0] = t.inputVoltage;
    r.NLabel_txt[1] = fixed2(t.inputCurrent, locale);
    r.NLabel_txt[2] = fixed2(t.inputWatt, locale);

    // A rated power that is not a positive number counts as 1 W.
    double rated = leadingNumber(t.ratedPower);
    if (!(rated > 0)) rated = 1;
    const double outputWatts = t.outputPower.empty() ? 0 : number(t.outputPower, locale);
    const double load = std::min(roundHalfAway(outputWatts / rated * 100), 120.0);
    t.loadPercent = std::to_string(static_cast<long long>(load));

    const double gauge = t.efficiencyGauge.empty() ? 0 : number(t.efficiencyGauge, locale);
    if (gauge < 75)
        t.efficiencyGauge = "75";
    else if (gauge > 99)
        t.efficiencyGauge = "99";

    const long long efficiencyWhole = wholePart(number(t.efficiency, locale));
    r.DLabel2 = {static_cast<int>(std::clamp<long long>(efficiencyWhole / 10, 0, 9)),
                 static_cast<int>(std::clamp<long long>(efficiencyWhole % 10, 0, 9))};

    r.NLabel_txt[3] = t.powerFactor;
    temperatureDigits(t, r, locale);
}

}  // namespace kvrns
