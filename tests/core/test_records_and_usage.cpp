#include <gtest/gtest.h>

#include "settings/record.h"
#include "settings/usage.h"
#include "support/temp_dir.h"

namespace kvrns::settings {
namespace {

const NumberLocale kDot{'.'};

Telemetry readings()
{
    Telemetry t;
    t.inputVoltage = "230.00", t.inputCurrent = "1.25", t.inputWatt = "271.28", t.powerFactor = "0.94";
    t.outputPower = "255", t.efficiency = "94";
    t.current3V3 = "5", t.current5V = "4", t.current12V1 = "10.25", t.current12V2 = "0.5";
    t.voltage3V3 = "3.3", t.voltage5V = "5", t.voltage12V = "12";
    return t;
}

TEST(Record, MultipleRailForm)
{
    EXPECT_EQ(recordText(readings(), 1, defaultValues(), kDot),
              "Input Voltage:230.00V\r\n"
              "Input Current:1.25A\r\n"
              "Input Watt:271.28W\r\n"
              "Power Factor:0.94\r\n"
              "Total Ouput Power:255W\r\n"
              "Efficiency: 94%\r\n"
              "Output Actual Current (A): +3.3V:5, +5V:4, +12V1:10.25, +12V2:0.5, +12V3:0, +12V4:0, +12V5:0, +12V6:0\r\n"
              "Output Current Warning Point: +3.3V:22, +5V:22, +12V1:35,+12V2:35, +12V3:0, +12V4:0, +12V5:0, +12V6:0\r\n"
              "Output Actual Voltage (V): +3.3V:3.3, +5V:5, +12V:12\r\n"
              "Output Voltage Warning Point: +3.3V:3.75, +5V:5.70, +12V:13.10\r\n");
}

TEST(Record, SingleRailFormAddsTheTwelveVoltCurrents)
{
    struct Case {
        const char *first, *second, *combined;
    };
    for (const auto& c : {Case{"10.25", "0.50", "10.75"}, Case{"10.00", "2.00", "12"}, Case{"0", "0", "0"},
                          Case{"0.005", "0", "0.01"}}) {
        Telemetry t = readings();
        t.current12V1 = c.first;
        t.current12V2 = c.second;
        const std::string record = recordText(t, 0, defaultValues(), kDot);
        EXPECT_NE(record.find(std::string(", +12V1:") + c.combined + ", +12V2:0, +12V3:0"), std::string::npos) << record;
        EXPECT_NE(record.find(", +12V1:35,+12V2:0, +12V3:0"), std::string::npos);
    }
}

TEST(Record, BeforeTheFirstReadingHoldsZeros)
{
    const std::string record = recordText(Telemetry{}, 0, defaultValues(), kDot);
    EXPECT_EQ(record.substr(0, 16), "Input Voltage:0V");
    EXPECT_NE(record.find("+12V1:0, +12V2:0"), std::string::npos);
}

TEST(Record, WrittenWithATrailingEmptyLineAndNamedByDate)
{
    test::TempDir dir;
    const auto path = dir.path() / "Save240303";
    ASSERT_EQ(writeRecord(path, "a\r\n"), WriteStatus::Ok);
    EXPECT_EQ(test::readFile(path), "a\r\n\r\n");
    ASSERT_EQ(writeRecord(path, "b\r\n"), WriteStatus::Ok);  // the same name again replaces it
    EXPECT_EQ(test::readFile(path), "b\r\n\r\n");
    EXPECT_EQ(suggestedRecordName(2024, 3, 3), "Save240303");
    EXPECT_EQ(suggestedRecordName(2031, 12, 25), "Save311225");
}

TEST(OperationTime, WholeMinutesHalvesToEven)
{
    struct Case {
        std::uint64_t ms;
        const char *hours, *minutes;
        double inHours;
    };
    for (const auto& c : {Case{89'999, "00", "01", 1 / 60.0}, Case{90'000, "00", "02", 2 / 60.0},
                          Case{150'000, "00", "02", 2 / 60.0}, Case{3'600'000, "01", "00", 1.0},
                          Case{123ull * 3'600'000, "123", "00", 123.0},
                          // beyond the 49.7 days a 32-bit count would wrap at
                          Case{60ull * 86'400'000 + 7 * 60'000, "1440", "07", 1440 + 7 / 60.0}}) {
        const OperationTime time = operationTimeOf(c.ms);
        EXPECT_EQ(time.hoursText(), c.hours) << c.ms;
        EXPECT_EQ(time.minutesText(), c.minutes) << c.ms;
        EXPECT_DOUBLE_EQ(time.inHours(), c.inHours) << c.ms;
    }
}

TEST(UsageEstimates, RoundedAndShortest)
{
    Telemetry t;
    t.inputVoltage = "230", t.inputCurrent = "1.0730434782608696", t.inputWatt = "500";
    const OperationTime fiveHours{5, 0};
    EXPECT_EQ(energyEstimate(t, fiveHours, kDot), "1.23");  // 1.234 kWh
    EXPECT_EQ(costEstimate("1.23", "2", kDot), "2.46");
    EXPECT_EQ(co2Estimate(t, fiveHours, "0.5", kDot), "1.25");
    EXPECT_EQ(co2Estimate(t, fiveHours, "-1", kDot), "-2.5");
    EXPECT_EQ(co2Estimate(t, fiveHours, "abc", kDot), "0");
    EXPECT_EQ(co2Estimate(t, fiveHours, "", kDot), "0");
    EXPECT_EQ(costEstimate("1.23", " 2 ", kDot), "2.46");
    EXPECT_EQ(energyEstimate(Telemetry{}, fiveHours, kDot), "0");
    EXPECT_EQ(estimateText(12.5, kDot), "12.5");
    EXPECT_EQ(estimateText(3.004, kDot), "3");
    EXPECT_EQ(estimateText(0.004, kDot), "0");
    EXPECT_EQ(estimateText(1.005, NumberLocale{','}), "1,01");
}

TEST(UsageEstimates, FactorBoxesRefuseTheSeparator)
{
    EXPECT_TRUE(acceptableFactorText("0.45"));
    EXPECT_TRUE(acceptableFactorText("abc"));
    EXPECT_FALSE(acceptableFactorText("1;2"));
}

TEST(IntroFlag, HalvesToEvenAndTheOffLine)
{
    auto values = defaultValues();
    for (const auto& [text, flag] : std::vector<std::pair<std::string, int>>{
             {"1", 1}, {"1.4", 1}, {"0.5", 0}, {"1.5", 2}, {"", 0}, {"yes", 0}, {"2", 2}}) {
        values[NoIntroNotice] = text;
        EXPECT_EQ(introFlagOf(values), flag) << text;
    }
    EXPECT_EQ(introOffLine(defaultValues()),
              "1;22;22;35;35;22;22;35;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;1;0;0;");
}

}  // namespace
}  // namespace kvrns::settings
