// PMBus LINEAR11 readings: a five-bit two's-complement exponent and an
// eleven-bit mantissa, which this supply sends unsigned.
#pragma once

#include <cstdint>
#include <string>

#include "common/numtext.h"

namespace kvrns {

// Shifts a byte right (SHR) or left (SHL) by n places, n at least 1; bits
// shifted out are dropped and zeros shifted in.
std::uint8_t SHR(std::uint8_t value, int places);
std::uint8_t SHL(std::uint8_t value, int places);

// A reading as decimal text: rounded to two places (halves away from zero),
// no trailing zeros, the locale's decimal separator (12.1, 600, 0.13).
std::string decodeLinear(std::uint8_t high, std::uint8_t low, NumberLocale locale);

// The reading in hundredths, exactly (every LINEAR11 value times 100 is a
// dyadic rational that fits in 64 bits).
std::int64_t decodeLinearHundredths(std::uint8_t high, std::uint8_t low);

// Encodes a non-negative value with a fixed exponent (-16 to 15), rounding
// the mantissa to nearest and clamping it to 0..2047. Used by the simulated
// supply, which encodes as real firmware does.
std::uint16_t encodeLinear(double value, int exponent);

}  // namespace kvrns
