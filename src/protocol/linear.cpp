#include "protocol/linear.h"

#include <algorithm>
#include <cmath>

namespace kvrns {
namespace {

std::string hundredthsText(std::int64_t hundredths, NumberLocale locale)
{
    std::string text = std::to_string(hundredths / 100);
    const int fraction = static_cast<int>(hundredths % 100);
    if (fraction == 0) return text;
    text += locale.decimalSeparator;
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
    return text;
}

}  // namespace

std::uint8_t SHR(std::uint8_t value, int places)
{
    places = std::max(places, 1);
    return places >= 8 ? 0 : static_cast<std::uint8_t>(value >> places);
}

std::uint8_t SHL(std::uint8_t value, int places)
{
    places = std::max(places, 1);
    return places >= 8 ? 0 : static_cast<std::uint8_t>(value << places);
}

std::int64_t decodeLinearHundredths(std::uint8_t high, std::uint8_t low)
{
    const int exponent = SHR(high, 3);
    const std::int64_t mantissa = (high & 0x07) * 256 + low;
    if (exponent < 16) return mantissa * (std::int64_t{1} << exponent) * 100;
    // 16..31 stand for -16..-1: divide by 2^k with k = 32 - e.
    const int k = (256 - exponent) & 31;
    const std::int64_t scaled = mantissa * 100;
    std::int64_t q = scaled >> k;
    const std::int64_t rest = scaled - (q << k);
    if (2 * rest >= (std::int64_t{1} << k)) ++q;  // halves away from zero
    return q;
}

std::string decodeLinear(std::uint8_t high, std::uint8_t low, NumberLocale locale)
{
    return hundredthsText(decodeLinearHundredths(high, low), locale);
}

std::uint16_t encodeLinear(double value, int exponent)
{
    exponent = std::clamp(exponent, -16, 15);
    const double scaled = std::ldexp(std::max(value, 0.0), -exponent);
    const auto mantissa = static_cast<std::uint16_t>(std::clamp(std::lround(scaled), 0L, 2047L));
    const auto e = static_cast<std::uint16_t>(exponent & 0x1F);
    return static_cast<std::uint16_t>((e << 11) | mantissa);
}

}  // namespace kvrns
