#include "protocol/commands.h"

#include <algorithm>
#include <cstdio>

#include "protocol/linear.h"

namespace kvrns {

using namespace wire;

const std::array<PollRequest, kPollSteps> kPollTable{{
    {"00 90 00 00 00 00 00", kCmdIdentity1, 0, false, nullptr},
    {"00 91 00 00 00 00 00", kCmdIdentity2, 0, false, nullptr},
    {"00 83 02 40 28 00 00", kCmdRead, kRegVoltage12V, true, &Telemetry::voltage12V},
    {"00 83 02 40 2C 00 00", kCmdRead, kRegCurrent12V1, true, &Telemetry::current12V1},
    {"00 83 02 40 29 00 00", kCmdRead, kRegVoltage5V, true, &Telemetry::voltage5V},
    {"00 83 02 40 2D 00 00", kCmdRead, kRegCurrent5V, true, &Telemetry::current5V},
    {"00 83 02 40 2A 00 00", kCmdRead, kRegVoltage3V3, true, &Telemetry::voltage3V3},
    {"00 83 02 40 2E 00 00", kCmdRead, kRegCurrent3V3, true, &Telemetry::current3V3},
    {"00 83 02 40 2B 00 00", kCmdRead, kRegVoltage12V2, true, &Telemetry::voltage12V2},
    {"00 83 02 40 2F 00 00", kCmdRead, kRegCurrent12V2, true, &Telemetry::current12V2},
    {"00 83 02 40 27 00 00", kCmdRead, kRegInputVoltage, false, &Telemetry::inputVoltage},
    {"00 83 02 40 89 00 00", kCmdRead, kRegInputCurrent, false, &Telemetry::inputCurrent},
    {"00 83 02 40 97 00 00", kCmdRead, kRegInputPower, false, &Telemetry::inputWatt},
    {"00 83 02 40 8D 00 00", kCmdRead, kRegTemperature, false, &Telemetry::temperature},
    {"00 83 02 40 30 00 00", kCmdRead, kRegTemperature2, false, &Telemetry::temperature2},
    {"00 83 02 40 32 00 00", kCmdRead, kRegRatedPower, false, &Telemetry::ratedPower},
}};

namespace {

std::string identityText(const Report& answer)
{
    if (answer[kAnsIdentityText] == 0) return {};
    const std::size_t count = std::min<std::size_t>(answer[kAnsIdentityCount], kIdentityMaxChars);
    return std::string(answer.begin() + kAnsIdentityText, answer.begin() + kAnsIdentityText + count);
}

std::string ratedPowerText(const Report& answer)
{
    std::string text = "0";
    for (std::size_t i = 0; i < kAnsRatedDigitCount; ++i) text += static_cast<char>(answer[kAnsRatedDigits + i]);
    return text;
}

}  // namespace

bool applyPollAnswer(int pollStep, const Report& answer, Telemetry& telemetry, NumberLocale locale)
{
    if (pollStep < 0 || pollStep >= kPollSteps) return false;
    const PollRequest& request = kPollTable[static_cast<std::size_t>(pollStep)];
    if (answer[kAnsCommand] != request.command) return false;

    if (request.command != kCmdRead) {
        std::string& identity = request.command == kCmdIdentity1 ? telemetry.identity1 : telemetry.identity2;
        identity = identityText(answer);
        return true;
    }
    if (answer[kAnsRegister] != request.reg) return false;
    if (request.rejectsInvalidStatus && answer[kAnsStatus] == kStatusInvalid) return false;

    if (request.reg == kRegRatedPower)
        telemetry.ratedPower = ratedPowerText(answer);
    else
        telemetry.*request.target = decodeLinear(answer[kAnsHigh], answer[kAnsLow], locale);
    return true;
}

std::optional<std::uint8_t> tuneRegister(int usbAdj)
{
    switch (usbAdj) {
        case 1: return kRegTune3V3;
        case 2: return kRegTune5V;
        case 3: return kRegTune12V;
        default: return std::nullopt;
    }
}

std::string fineTuneFrame(int usbAdj, int step)
{
    const auto reg = tuneRegister(usbAdj).value_or(kRegTune12V);
    char buf[64];
    std::snprintf(buf, sizeof buf, "00 82 03 40 %02X %02d 00", reg, step);
    return buf;
}

std::string railModeFrame(int railMode)
{
    return railMode != 0 ? "00 82 03 40 26 02 00" : "00 82 03 40 26 01 00";
}

std::optional<std::uint8_t> registerOfTelemetry(std::string_view name)
{
    const TelemetryField* field = findTelemetryField(name);
    if (!field) return std::nullopt;
    for (const auto& request : kPollTable)
        if (request.target == field->member) return request.reg;
    return std::nullopt;
}

}  // namespace kvrns
