#include "settings/record.h"

#include <cstdio>

namespace kvrns::settings {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kAbsentRails = ", +12V3:0, +12V4:0, +12V5:0, +12V6:0";

std::string combinedCurrent(const Telemetry& t, NumberLocale locale)
{
    const double sum = parseNumber(t.current12V1, locale).value_or(0) + parseNumber(t.current12V2, locale).value_or(0);
    return shortestText(roundHalfAway(sum, 2), locale);
}

}  // namespace

std::string recordText(const Telemetry& t, int railMode, const SettingValues& v, NumberLocale locale)
{
    const bool multiple = railMode == 1;
    std::string r;
    r += "Input Voltage:" + t.inputVoltage + "V" + kCrLf;
    r += "Input Current:" + t.inputCurrent + "A" + kCrLf;
    r += "Input Watt:" + t.inputWatt + "W" + kCrLf;
    r += "Power Factor:" + t.powerFactor + kCrLf;
    r += "Total Ouput Power:" + t.outputPower + "W" + kCrLf;
    r += "Efficiency: " + t.efficiency + "%" + kCrLf;
    r += "Output Actual Current (A): +3.3V:" + t.current3V3 + ", +5V:" + t.current5V + ", +12V1:" +
         (multiple ? t.current12V1 + ", +12V2:" + t.current12V2 : combinedCurrent(t, locale) + ", +12V2:0") +
         kAbsentRails + kCrLf;
    r += "Output Current Warning Point: +3.3V:" + v[WarnCur3V3] + ", +5V:" + v[WarnCur5V] + ", +12V1:" +
         v[WarnCur12V1] + ",+12V2:" + (multiple ? v[WarnCur12V2] : std::string("0")) + kAbsentRails + kCrLf;
    r += "Output Actual Voltage (V): +3.3V:" + t.voltage3V3 + ", +5V:" + t.voltage5V + ", +12V:" + t.voltage12V + kCrLf;
    r += "Output Voltage Warning Point: +3.3V:" + v[WarnVolt3V3] + ", +5V:" + v[WarnVolt5V] + ", +12V:" +
         v[WarnVolt12V] + kCrLf;
    return r;
}

WriteStatus writeRecord(const std::filesystem::path& path, const std::string& record, std::string* error)
{
    return writeFileAtomically(path, record + kCrLf, error);
}

std::string suggestedRecordName(int year, int month, int day)
{
    char name[16];
    std::snprintf(name, sizeof name, "Save%02d%02d%02d", year % 100, month % 100, day % 100);
    return name;
}

}  // namespace kvrns::settings
