#include "warnings/evaluation.h"

#include "common/numtext.h"

namespace kvrns::warnings {
namespace {

bool fine(const std::string& warningPoint, const std::string& shown)
{
    return leadingNumber(warningPoint) >= leadingNumber(shown);
}

}  // namespace

std::vector<Warning> WarningEvaluator::evaluate(const WarningInputs& in)
{
    std::vector<Warning> raised;

    int firstCurrent = -1;
    for (int i = 0; i < 3 && firstCurrent < 0; ++i)
        if (!fine(in.HLabel_txt[i], in.FLabel_txt[i])) firstCurrent = i;
    if (firstCurrent >= 0)
        raised.push_back({WarningKind::OverCurrent, firstCurrent + 1});
    else if (!fine(in.HLabel_txt[3], in.FLabel_txt[3]) && in.railMode == 1)
        raised.push_back({WarningKind::OverCurrent, 4});

    int firstVoltage = -1;
    for (int i = 0; i < 3 && firstVoltage < 0; ++i)
        if (!fine(in.LLabel_txt[i], in.ILabel_txt[i])) firstVoltage = i;
    if (firstVoltage < 0) {
        ovpWarmflag_ = 0;
    } else {
        ++ovpWarmflag_;
        if (ovpWarmflag_ == kOverVoltageCycles) {
            raised.push_back({WarningKind::OverVoltage, firstVoltage + 1});
            ovpWarmflag_ = 0;
        }
    }

    if (leadingNumber(in.temperature) >= kOverTemperatureCelsius ||
        leadingNumber(in.temperature2) >= kOverTemperatureCelsius)
        raised.push_back({WarningKind::OverTemperature, 0});
    return raised;
}

std::string_view ocpRailName(int rail)
{
    switch (rail) {
        case 1: return "+3.3V";
        case 2: return "+5V";
        case 3: return "+12V1";
        case 4: return "+12V2";
        default: return "+5V";
    }
}

std::string_view ovpRailName(int rail)
{
    return rail >= 1 && rail <= 3 ? ocpRailName(rail) : "+5V";
}

std::string describe(const Warning& warning)
{
    switch (warning.kind) {
        case WarningKind::OverCurrent: return "over-current " + std::string(ocpRailName(warning.rail));
        case WarningKind::OverVoltage: return "over-voltage " + std::string(ovpRailName(warning.rail));
        case WarningKind::OverTemperature: return "over-temperature";
    }
    return {};
}

}  // namespace kvrns::warnings
