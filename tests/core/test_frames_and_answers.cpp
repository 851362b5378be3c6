// Frame texts going out and answers coming back, byte by byte.
#include <gtest/gtest.h>

#include "device/frame_text.h"
#include "protocol/commands.h"
#include "support/fake_hid.h"

namespace kvrns {
namespace {

using test::answerBytes;
using test::readingAnswer;

TEST(HexTextValue, CountsOnlyUpperCaseHexDigits)
{
    EXPECT_EQ(device::hexTextValue("2C"), 0x2Cu);
    EXPECT_EQ(device::hexTextValue("2c"), 32u);  // the lower-case c adds nothing
    EXPECT_EQ(device::hexTextValue("FF"), 255u);
    EXPECT_EQ(device::hexTextValue("10"), 16u);
    EXPECT_EQ(device::hexTextValue(""), 0u);
    EXPECT_EQ(device::hexTextValue("-01"), 1u);
}

TEST(FrameTextToBytes, FillsTokensThenZerosToTheLength)
{
    Report bytes;
    bytes.fill(0xAA);
    device::frameTextToBytes("00 83 02 40 2C 00 00", bytes, 65);
    const Report expected = answerBytes({0x00, 0x83, 0x02, 0x40, 0x2C, 0x00, 0x00});
    EXPECT_EQ(bytes, expected);
}

TEST(FrameTextToBytes, NeverWritesPastTheBuffer)
{
    Report bytes{};
    std::string text = "01";
    for (int i = 0; i < 80; ++i) text += " 01";
    device::frameTextToBytes(text, bytes, 200);
    EXPECT_EQ(bytes.back(), 0x01);
    device::frameTextToBytes("100", bytes, 65);  // a step of 100 keeps its low byte
    EXPECT_EQ(bytes[0], 0x00);
}

TEST(PollTable, FrameTextsAreReadRequestsForTheirRegisters)
{
    for (int step = 2; step < kPollSteps; ++step) {
        Report bytes{};
        const auto& request = kPollTable[static_cast<std::size_t>(step)];
        device::frameTextToBytes(request.frameText, bytes, 65);
        EXPECT_EQ(bytes[wire::kReqCommand], wire::kCmdRead) << step;
        EXPECT_EQ(bytes[wire::kReqRegister], request.reg) << step;
    }
}

struct AnswerCase {
    const char* name;
    int pollStep;
    Report answer;
    std::string Telemetry::*member;
    const char* expected;  // the value after the answer; "0" means unchanged
};

class PollAnswer : public testing::TestWithParam<AnswerCase> {};

TEST_P(PollAnswer, IsUsedOnlyWhenItPassesItsTests)
{
    const auto& c = GetParam();
    Telemetry telemetry;
    applyPollAnswer(c.pollStep, c.answer, telemetry, NumberLocale{});
    EXPECT_EQ(telemetry.*c.member, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PollAnswer,
    testing::Values(
        AnswerCase{"voltage", 2, readingAnswer(0x28, 0xCE, 0x0D), &Telemetry::voltage12V, "12.1"},
        AnswerCase{"invalidIgnoredOn2C", 3, readingAnswer(0x2C, 0xD3, 0x20, 0xFF), &Telemetry::current12V1, "0"},
        AnswerCase{"invalidDecodedOn27", 10, readingAnswer(0x27, 0xF3, 0x98, 0xFF), &Telemetry::inputVoltage, "230"},
        AnswerCase{"lateEchoOfAnotherRegister", 4, readingAnswer(0x28, 0xCE, 0x0D), &Telemetry::voltage5V, "0"},
        AnswerCase{"wrongCommandByte", 5, answerBytes({0x00, 0x82, 0, 0x40, 0x2D, 0x20, 0xD3}), &Telemetry::current5V,
                   "0"},
        AnswerCase{"ratedPower", 15, answerBytes({0, 0x83, 0, 0x40, 0x32, 'Q', 'L', '0', '6', '5', '0'}),
                   &Telemetry::ratedPower, "0650"},
        AnswerCase{"identity", 0, answerBytes({0, 0x90, 3, 'A', 'B', 'C', 'D'}), &Telemetry::identity1, "ABC"},
        AnswerCase{"identityEmpty", 1, answerBytes({0, 0x91, 3, 0, 'B'}), &Telemetry::identity2, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PollAnswer, IdentityTextEndsWithinTheReport)
{
    Report answer{};
    answer.fill('x');
    answer[wire::kAnsCommand] = wire::kCmdIdentity1;
    answer[wire::kAnsIdentityCount] = 200;
    Telemetry telemetry;
    applyPollAnswer(0, answer, telemetry, NumberLocale{});
    EXPECT_EQ(telemetry.identity1.size(), 62u);
}

TEST(PollAnswer, TimeOutZerosMatchNoTest)
{
    Telemetry telemetry;
    for (int step = 0; step < kPollSteps; ++step)
        EXPECT_FALSE(applyPollAnswer(step, Report{}, telemetry, NumberLocale{}));
    EXPECT_EQ(telemetry, Telemetry{});
}

TEST(AdjustmentFrames, CarryTheStepAsTwoDecimalDigits)
{
    EXPECT_EQ(fineTuneFrame(1, 5), "00 82 03 40 25 05 00");
    EXPECT_EQ(fineTuneFrame(2, 7), "00 82 03 40 24 07 00");
    EXPECT_EQ(fineTuneFrame(3, 10), "00 82 03 40 23 10 00");
    EXPECT_EQ(railModeFrame(1), "00 82 03 40 26 02 00");
    EXPECT_EQ(railModeFrame(2), "00 82 03 40 26 02 00");
    EXPECT_EQ(railModeFrame(0), "00 82 03 40 26 01 00");
    Report bytes{};
    device::frameTextToBytes(fineTuneFrame(3, 10), bytes, 65);
    EXPECT_EQ(bytes[wire::kReqValue], 0x10);
}

}  // namespace
}  // namespace kvrns
