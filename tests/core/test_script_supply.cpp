#include <gtest/gtest.h>

#include "device/device_link.h"
#include "device/script_supply.h"

namespace kvrns {
namespace {

using device::ScriptError;
using device::ScriptSupply;

Report requestBytes(std::initializer_list<std::uint8_t> head)
{
    Report r{};
    std::copy(head.begin(), head.end(), r.begin());
    return r;
}

TEST(ScriptSupply, AnswersInTurnAndRepeatsTheLast)
{
    auto script = ScriptSupply::fromText(
        "# two answers for +12V, then silence for the identity\n"
        "00 83 02 40 28 00 00 => 00 83 00 40 28 0D CE   # 12.1 V\n"
        "00 83 02 40 28 00 00 => 00 83 00 40 28 20 D3\n"
        "\n"
        "00 90 00 00 00 00 00 => timeout\n");
    const Report v12 = requestBytes({0x00, 0x83, 0x02, 0x40, 0x28});
    EXPECT_EQ(script->answer(v12)->at(5), 0x0D);
    EXPECT_EQ(script->answer(v12)->at(5), 0x20);
    EXPECT_EQ(script->answer(v12)->at(5), 0x20);
    EXPECT_FALSE(script->answer(requestBytes({0x00, 0x90})));
    EXPECT_FALSE(script->answer(requestBytes({0x00, 0x83, 0x02, 0x40, 0x2C})));  // no line: no answer
}

TEST(ScriptSupply, ServesTheLinkLikeASupply)
{
    auto script = ScriptSupply::fromText("00 83 02 40 28 00 00 => 00 83 00 40 28 0D CE\n");
    device::DeviceLink link(*script);
    link.devicePresent = link.FindTheHid();
    ASSERT_TRUE(link.devicePresent);
    link.writeFrame("00 83 02 40 28 00 00");
    link.readInputReport();
    EXPECT_EQ(link.inputReport[6], 0xCE);
    link.writeFrame("00 83 02 40 2C 00 00");
    link.readInputReport();
    EXPECT_FALSE(link.devicePresent);
}

struct BadLine {
    const char* text;
    const char* message;
};

class ScriptParse : public testing::TestWithParam<BadLine> {};

TEST_P(ScriptParse, RefusesAMalformedLineWithItsNumber)
{
    try {
        ScriptSupply::fromText(std::string("# fine\n00 90 00 00 00 00 00 => 00 90\n") + GetParam().text, "t.script");
        FAIL() << "accepted " << GetParam().text;
    } catch (const ScriptError& e) {
        EXPECT_EQ(std::string(e.what()), std::string("t.script:3: ") + GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ScriptParse,
    testing::Values(BadLine{"00 83 02 40 28 00 00", "expected 'REQUEST => ANSWER'"},
                    BadLine{"00 83 02 40 28 00 00 =>", "answer is empty"}, BadLine{" => 00 83", "request is empty"},
                    BadLine{"00 83 2 => 00", "request byte '2' is not two hexadecimal digits"},
                    BadLine{"00 83 => 00 GG", "answer byte 'GG' is not two hexadecimal digits"},
                    BadLine{"00 83 => timeout please", "answer byte 'timeout' is not two hexadecimal digits"},
                    BadLine{"00 => 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                            "00 00 00 00 00 00 00 00",
                            "answer has more than 65 bytes"}));

TEST(ScriptSupply, MissingFileIsNamed)
{
    EXPECT_THROW(ScriptSupply::fromFile("/nonexistent/trace.script"), ScriptError);
}

}  // namespace
}  // namespace kvrns
