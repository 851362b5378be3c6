#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/numtext.h"

namespace kvrns {
namespace {

const NumberLocale kDot{'.'};
const NumberLocale kComma{','};

struct FixedCase {
    double value;
    int decimals;
    const char* text;
};

class FormatFixed : public testing::TestWithParam<FixedCase> {};

TEST_P(FormatFixed, RoundsHalvesAwayFromZero)
{
    const auto& c = GetParam();
    EXPECT_EQ(formatFixed(c.value, c.decimals, kDot), c.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatFixed,
                         testing::Values(FixedCase{271.27659574, 2, "271.28"}, FixedCase{1.005, 2, "1.01"},
                                         FixedCase{0.125, 2, "0.13"}, FixedCase{3.7, 2, "3.70"},
                                         FixedCase{0, 2, "0.00"}, FixedCase{0.004, 2, "0.00"},
                                         FixedCase{0.005, 2, "0.01"}, FixedCase{-2.5, 0, "-3"},
                                         FixedCase{254.9, 0, "255"}, FixedCase{1.2547, 2, "1.25"},
                                         FixedCase{99999.995, 2, "100000.00"},
                                         FixedCase{1e20, 2, "100000000000000000000.00"}));

TEST(FormatFixedLocale, UsesTheLocaleSeparator)
{
    EXPECT_EQ(formatFixed(3.75, 2, kComma), "3,75");
}

TEST(ShortestText, FifteenDigitsNoTrailingZeros)
{
    EXPECT_EQ(shortestText(3.70 + 0.05, kDot), "3.75");
    EXPECT_EQ(shortestText(3.75 - 0.05, kDot), "3.7");
    EXPECT_EQ(shortestText(22, kDot), "22");
    EXPECT_EQ(shortestText(0.1 + 0.2, kDot), "0.3");
    EXPECT_EQ(shortestText(1200, kDot), "1200");
    EXPECT_EQ(shortestText(0.0001, kDot), "0.0001");
    EXPECT_EQ(shortestText(0.00001, kDot), "1E-05");
    EXPECT_EQ(shortestText(1e15, kDot), "1E+15");
    EXPECT_EQ(shortestText(-12.5, kComma), "-12,5");
}

TEST(ShortestText, LargestDoublesReadBack)
{
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(shortestText(-largest, kDot), "-1.79769313486231E+308");
    EXPECT_TRUE(parseNumber(shortestText(largest, kComma), kComma));
    EXPECT_EQ(shortestText(1.5e308, kDot), "1.5E+308");
}

TEST(ParseNumber, FollowsTheLocale)
{
    EXPECT_EQ(parseNumber("12.5", kDot), 12.5);
    EXPECT_EQ(parseNumber(" 12,5 ", kComma), 12.5);
    EXPECT_EQ(parseNumber("-3", kDot), -3.0);
    EXPECT_EQ(parseNumber("1e3", kDot), 1000.0);
    EXPECT_FALSE(parseNumber("12,5", kDot));
    EXPECT_FALSE(parseNumber("12.5", kComma));
    for (const char* bad : {"", " ", "abc", "1.2.3", "12V", "1e", "1e400", "-", "."})
        EXPECT_FALSE(parseNumber(bad, kDot)) << bad;
}

TEST(LeadingNumber, TakesTheLongestNumericPrefix)
{
    EXPECT_EQ(leadingNumber("22A"), 22.0);
    EXPECT_EQ(leadingNumber("13.10V"), 13.1);
    EXPECT_EQ(leadingNumber("  7"), 7.0);
    EXPECT_EQ(leadingNumber("3,75"), 3.0);  // only "." is a decimal point here
    EXPECT_EQ(leadingNumber(""), 0.0);
    EXPECT_EQ(leadingNumber("A12"), 0.0);
    EXPECT_EQ(leadingNumber("1e2x"), 100.0);
    EXPECT_EQ(leadingNumber("2e"), 2.0);
    EXPECT_EQ(leadingNumber("1e-400"), 0.0);
    EXPECT_TRUE(std::isinf(leadingNumber("1e400")));
}

TEST(ToInt16, HalvesToEvenWithinRange)
{
    EXPECT_EQ(toInt16(0.5), 0);
    EXPECT_EQ(toInt16(1.5), 2);
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(-32768), -32768);
    EXPECT_FALSE(toInt16(32768));
    EXPECT_FALSE(toInt16(INFINITY));
}

}  // namespace
}  // namespace kvrns
