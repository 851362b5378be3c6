#include <gtest/gtest.h>

#include "protocol/linear.h"

namespace kvrns {
namespace {

struct DecodeCase {
    std::uint8_t high, low;
    const char* text;
};

class DecodeLinear : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeLinear, GivesTheRoundedShortestText)
{
    const auto& c = GetParam();
    EXPECT_EQ(decodeLinear(c.high, c.low, NumberLocale{}), c.text);
}

INSTANTIATE_TEST_SUITE_P(Readings, DecodeLinear,
                         testing::Values(DecodeCase{0xCE, 0x0D, "12.1"}, DecodeCase{0xD3, 0x20, "12.5"},
                                         DecodeCase{0xF0, 0xA5, "41.25"}, DecodeCase{0xE8, 0x01, "0.13"},
                                         DecodeCase{0x00, 0x2D, "45"}, DecodeCase{0x09, 0x2C, "600"},
                                         DecodeCase{0x00, 0x00, "0"},
                                         // mantissa bit 10 set reads as 1024..2047, never negative
                                         DecodeCase{0x07, 0xFF, "2047"},
                                         // largest and smallest exponents
                                         DecodeCase{0x7F, 0xFF, "67076096"}, DecodeCase{0x80, 0x01, "0"},
                                         DecodeCase{0x87, 0xFF, "0.03"}));

TEST(DecodeLinear, UsesTheLocaleSeparator)
{
    EXPECT_EQ(decodeLinear(0xCE, 0x0D, NumberLocale{','}), "12,1");
    EXPECT_EQ(decodeLinear(0xE8, 0x01, NumberLocale{','}), "0,13");
}

TEST(Shifts, DropBitsAndShiftInZeros)
{
    EXPECT_EQ(SHR(0xCE, 3), 0x19);
    EXPECT_EQ(SHL(0xCE, 3), 0x70);
    EXPECT_EQ(SHR(0x80, 0), 0x40);  // at least one place
    EXPECT_EQ(SHL(0xFF, 9), 0x00);
}

TEST(EncodeLinear, RoundTripsThroughDecode)
{
    const std::uint16_t word = encodeLinear(12.1, -7);
    EXPECT_EQ(word, 0xCE0D);
    EXPECT_EQ(decodeLinear(static_cast<std::uint8_t>(word >> 8), word & 0xFF, NumberLocale{}), "12.1");
    EXPECT_EQ(encodeLinear(1e6, -7) & 0x7FF, 2047);  // clamped, not wrapped
    EXPECT_EQ(encodeLinear(-5, -2) & 0x7FF, 0);
}

}  // namespace
}  // namespace kvrns
