// The supply's USB HID wire layout: identifiers, report length, command
// bytes, register codes and answer offsets. Every index into a report is
// named here and nowhere else.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvrns::wire {

inline constexpr std::uint16_t kVendorId = 0x04D8;
inline constexpr std::uint16_t kProductId = 0xF590;

// Report buffers hold the report-ID byte and 64 data bytes. Longer reports
// declared by a device are clipped to this.
inline constexpr std::size_t kReportLength = 65;
inline constexpr std::uint8_t kReportId = 0x00;

// How long a read waits for the answer to a request.
inline constexpr int kReadTimeoutMs = 1500;

// Command bytes (request byte 1, echoed in answer byte 1).
inline constexpr std::uint8_t kCmdWrite = 0x82;
inline constexpr std::uint8_t kCmdRead = 0x83;
inline constexpr std::uint8_t kCmdIdentity1 = 0x90;
inline constexpr std::uint8_t kCmdIdentity2 = 0x91;

// Request constants (bytes 2 and 3).
inline constexpr std::uint8_t kReadRequestTag = 0x02;
inline constexpr std::uint8_t kWriteRequestTag = 0x03;
inline constexpr std::uint8_t kRequestConstant = 0x40;

// Register codes (request byte 4, echoed in answer byte 4).
inline constexpr std::uint8_t kRegVoltage12V = 0x28;
inline constexpr std::uint8_t kRegCurrent12V1 = 0x2C;
inline constexpr std::uint8_t kRegVoltage5V = 0x29;
inline constexpr std::uint8_t kRegCurrent5V = 0x2D;
inline constexpr std::uint8_t kRegVoltage3V3 = 0x2A;
inline constexpr std::uint8_t kRegCurrent3V3 = 0x2E;
inline constexpr std::uint8_t kRegVoltage12V2 = 0x2B;
inline constexpr std::uint8_t kRegCurrent12V2 = 0x2F;
inline constexpr std::uint8_t kRegInputVoltage = 0x27;
inline constexpr std::uint8_t kRegInputCurrent = 0x89;  // PMBus READ_IIN
inline constexpr std::uint8_t kRegInputPower = 0x97;    // PMBus READ_PIN
inline constexpr std::uint8_t kRegTemperature = 0x8D;   // PMBus READ_TEMPERATURE_1
inline constexpr std::uint8_t kRegTemperature2 = 0x30;
inline constexpr std::uint8_t kRegRatedPower = 0x32;
inline constexpr std::uint8_t kRegTune3V3 = 0x25;
inline constexpr std::uint8_t kRegTune5V = 0x24;
inline constexpr std::uint8_t kRegTune12V = 0x23;
inline constexpr std::uint8_t kRegRailMode = 0x26;

// Rail-mode values written to kRegRailMode.
inline constexpr std::uint8_t kRailSingle = 0x01;
inline constexpr std::uint8_t kRailMultiple = 0x02;

// Request byte offsets.
inline constexpr std::size_t kReqCommand = 1;
inline constexpr std::size_t kReqTag = 2;
inline constexpr std::size_t kReqConstant = 3;
inline constexpr std::size_t kReqRegister = 4;
inline constexpr std::size_t kReqValue = 5;
inline constexpr std::size_t kRequestLength = 7;  // significant bytes; the rest is zero

// Answer byte offsets.
inline constexpr std::size_t kAnsReportId = 0;
inline constexpr std::size_t kAnsCommand = 1;
inline constexpr std::size_t kAnsStatus = 2;  // 0xFF: no valid reading
inline constexpr std::size_t kAnsRegister = 4;
inline constexpr std::size_t kAnsLow = 5;          // reading, low byte
inline constexpr std::size_t kAnsHigh = 6;         // reading, high byte
inline constexpr std::size_t kAnsValue = 5;        // write answer: value now in force
inline constexpr std::size_t kAnsRatedText = 5;    // 0x32: six characters, 5..10
inline constexpr std::size_t kAnsRatedDigits = 8;  // 0x32: the three digits used, 8..10
inline constexpr std::size_t kAnsRatedDigitCount = 3;
inline constexpr std::size_t kAnsIdentityCount = 2;
inline constexpr std::size_t kAnsIdentityText = 3;
// Bytes that writing a request clears, so a stale answer is never taken for
// a fresh one.
inline constexpr std::size_t kAnsClearedHead = 9;

inline constexpr std::uint8_t kStatusInvalid = 0xFF;
// Identity texts must end within the report.
inline constexpr std::size_t kIdentityMaxChars = kReportLength - kAnsIdentityText;
// A write answered with a read echo and this marker carries a voltage reading.
inline constexpr std::uint8_t kAckVoltageMarker = 0x40;

}  // namespace kvrns::wire

namespace kvrns {
using Report = std::array<std::uint8_t, wire::kReportLength>;
}
