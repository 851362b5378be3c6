// The requests the program sends to the supply and how each answer is read.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/numtext.h"
#include "protocol/telemetry.h"
#include "protocol/wire.h"

namespace kvrns {

inline constexpr int kPollSteps = 16;

struct PollRequest {
    std::string_view frameText;
    std::uint8_t command;
    std::uint8_t reg;                // 0 for the identity requests
    bool rejectsInvalidStatus;       // answer byte 2 = 0xFF leaves the value alone
    std::string Telemetry::*target;  // null for identity and rated power
};

// The sixteen requests of one polling cycle, indexed by pollStep.
extern const std::array<PollRequest, kPollSteps> kPollTable;

// Applies the answer in `inputReport` to the request of `pollStep`, if it
// passes that request's tests; an answer that fails them changes nothing.
// Returns whether the answer was used.
bool applyPollAnswer(int pollStep, const Report& inputReport, Telemetry& telemetry, NumberLocale locale);

// Rail addressed by a fine-tune exchange (the value of USBAdj).
enum class TuneRail : int { V3V3 = 1, V5 = 2, V12 = 3 };

// "00 82 03 40 rr " + step in two decimal digits + " 00". The two digits are
// read back as a hexadecimal pair, so steps 1 to 9 go out as bytes 1 to 9
// and a hand-edited 10 as 0x10.
std::string fineTuneFrame(int usbAdj, int step);
std::string railModeFrame(int railMode);

std::optional<std::uint8_t> tuneRegister(int usbAdj);

// The register a telemetry value is read from, for tools that set readings
// by name.
std::optional<std::uint8_t> registerOfTelemetry(std::string_view name);

}  // namespace kvrns
