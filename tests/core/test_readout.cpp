#include <gtest/gtest.h>

#include "protocol/readout.h"

namespace kvrns {
namespace {

const NumberLocale kDot{'.'};

Telemetry rails(std::string volts, std::string i3v3, std::string i5, std::string i12v1, std::string i12v2)
{
    Telemetry t;
    t.inputVoltage = std::move(volts);
    t.voltage3V3 = "3.3", t.voltage5V = "5", t.voltage12V = "12", t.voltage12V2 = "12";
    t.current3V3 = std::move(i3v3), t.current5V = std::move(i5);
    t.current12V1 = std::move(i12v1), t.current12V2 = std::move(i12v2);
    t.temperature2 = "45";
    t.ratedPower = "0650";
    return t;
}

TEST(Readout, HighLineExampleFieldByField)
{
    Telemetry t = rails("230", "5", "4", "10", "8.2");
    t.inputCurrent = "7.77", t.inputWatt = "777";  // the supply's own, replaced by estimates
    Readout r;
    updateReadout(t, r, 1, kDot);
    EXPECT_TRUE(r.derived);
    EXPECT_EQ(t.outputPower, "255");
    EXPECT_EQ(t.efficiency, "94");
    EXPECT_EQ(t.efficiencyGauge, "94");
    EXPECT_EQ(t.powerFactor, "0.94");
    EXPECT_EQ(t.inputWatt, "271.28");
    EXPECT_EQ(t.inputVoltage, "230.00");
    EXPECT_EQ(t.inputCurrent, "1.25");
    EXPECT_EQ(t.temperature, "45");
    EXPECT_EQ(t.loadPercent, "39");
    EXPECT_EQ(r.DLabel, (std::array<int, 4>{0, 2, 5, 5}));
    EXPECT_EQ(r.DLabelColour, (std::array<Rgb, 4>{kDimGrey, kRed, kRed, kRed}));
    EXPECT_EQ(r.DLabel2, (std::array<int, 2>{9, 4}));
    EXPECT_EQ(r.DLabel2Colour, (std::array<Rgb, 2>{kBlue, kBlue}));
    EXPECT_EQ(r.FLabel_txt, (std::array<std::string, 4>{"5.00", "4.00", "10.00", "8.20"}));
    EXPECT_EQ(r.ILabel_txt, (std::array<std::string, 3>{"3.30", "5.00", "12.00"}));
    EXPECT_EQ(r.NLabel_txt, (std::array<std::string, 4>{"230.00", "1.25", "271.28", "0.94"}));
}

TEST(Readout, LowLineSmallLoadLimitsTheGauge)
{
    Telemetry t = rails("115", "0", "1", "0", "0");  // 5 W
    Readout r;
    updateReadout(t, r, 1, kDot);
    EXPECT_EQ(t.outputPower, "5");
    EXPECT_EQ(t.efficiency, "43");
    EXPECT_EQ(t.efficiencyGauge, "75");
    EXPECT_EQ(r.DLabel2, (std::array<int, 2>{4, 3}));
    EXPECT_EQ(r.DLabel2Colour, (std::array<Rgb, 2>{kBlue, kBlue}));
    EXPECT_EQ(r.DLabelColour, (std::array<Rgb, 4>{kDimGrey, kDimGrey, kDimGrey, kRed}));
}

TEST(Readout, OutsideBothBandsDerivesNothingAndKeepsTheLastDerivation)
{
    Telemetry t = rails("230", "5", "4", "10", "8.2");
    Readout r;
    updateReadout(t, r, 1, kDot);
    const auto digits = r.DLabel;

    t.inputVoltage = "150";
    t.inputCurrent = "1.5";
    t.inputWatt = "200.125";
    t.temperature = "52.75";
    t.current12V1 = "20";
    updateReadout(t, r, 1, kDot);
    EXPECT_FALSE(r.derived);
    EXPECT_EQ(t.outputPower, "255");
    EXPECT_EQ(t.efficiency, "94");
    EXPECT_EQ(r.DLabel, digits);
    EXPECT_EQ(r.NLabel_txt, (std::array<std::string, 4>{"150", "1.50", "200.13", "0.94"}));
    EXPECT_EQ(t.temperature, "52.75");  // the supply's own first temperature
    EXPECT_EQ(r.FLabel_txt[2], "20.00");
}

TEST(Readout, LoadAgainstRatedPower)
{
    struct Case {
        std::string rated, output, load;
    };
    for (const auto& c : {Case{"0650", "325", "50"}, Case{"0", "5", "120"}, Case{"0QL", "1", "100"},
                          Case{"0650", "0", "0"}, Case{"0650", "1000", "120"}, Case{"01000", "5", "1"}}) {
        Telemetry t;
        t.inputVoltage = "0";  // no derivation: outputPower stands as given
        t.ratedPower = c.rated;
        t.outputPower = c.output;
        Readout r;
        updateReadout(t, r, 1, kDot);
        EXPECT_EQ(t.loadPercent, c.load) << c.rated << " " << c.output;
    }
}

struct TemperatureCase {
    const char* reading;
    const char* stored;
    std::array<int, 3> digits;
    std::array<Rgb, 3> colours;
};

class TemperatureDigits : public testing::TestWithParam<TemperatureCase> {};

TEST_P(TemperatureDigits, SplitAndColouredByRange)
{
    const auto& c = GetParam();
    Telemetry t;
    t.temperature = c.reading;
    Readout r;
    updateReadout(t, r, 1, kDot);
    EXPECT_EQ(t.temperature, c.stored);
    EXPECT_EQ(r.DLabel3, c.digits);
    EXPECT_EQ(r.DLabel3Colour, c.colours);
}

INSTANTIATE_TEST_SUITE_P(Ranges, TemperatureDigits,
                         testing::Values(TemperatureCase{"45.5", "45.5", {0, 4, 5}, {kDimGrey, kOrange, kOrange}},
                                         TemperatureCase{"40.9", "40.9", {0, 4, 0}, {kDimGrey, kBlue, kBlue}},
                                         TemperatureCase{"41", "41", {0, 4, 1}, {kDimGrey, kOrange, kOrange}},
                                         TemperatureCase{"71", "71", {0, 7, 1}, {kDimGrey, kRed, kRed}},
                                         TemperatureCase{"99.9", "99.9", {0, 9, 9}, {kDimGrey, kRed, kRed}},
                                         TemperatureCase{"100", "100", {1, 0, 0}, {kRed, kRed, kRed}},
                                         TemperatureCase{"130", "120", {1, 2, 0}, {kRed, kRed, kRed}}));

TEST(Readout, SingleRailAddsTheTwelveVoltCurrents)
{
    Telemetry t = rails("0", "1", "1", "10.5", "7.25");
    Readout r;
    updateReadout(t, r, 0, kDot);
    EXPECT_EQ(r.FLabel_txt[2], "17.75");
    EXPECT_EQ(r.FLabel_txt[3], "");
    updateReadout(t, r, 2, kDot);  // a hand-edited 2 is not exactly 1
    EXPECT_EQ(r.FLabel_txt[3], "");
}

TEST(Readout, PowerBeyondFourDigitsShowsNines)
{
    Telemetry t = rails("230", "0", "0", "2047", "0");
    Readout r;
    updateReadout(t, r, 1, kDot);
    EXPECT_EQ(t.outputPower, "24564");
    EXPECT_EQ(r.DLabel, (std::array<int, 4>{9, 9, 9, 9}));
}

TEST(Readout, DecimalCommaLocale)
{
    Telemetry t = rails("230", "5", "4", "10", "8,2");
    t.voltage3V3 = "3,3";
    Readout r;
    updateReadout(t, r, 1, NumberLocale{','});
    EXPECT_EQ(t.inputWatt, "271,28");
    EXPECT_EQ(r.FLabel_txt[3], "8,20");
}

TEST(Readout, AReadingThatIsNotANumberIsAnError)
{
    Telemetry t = rails("230", "5", "four", "10", "8.2");
    Readout r;
    EXPECT_THROW(updateReadout(t, r, 1, kDot), ReadUsbError);
}

TEST(EfficiencyTable, BandsIncludeBothEnds)
{
    EXPECT_EQ(efficiencyRowFor(6).efficiencyLow, 0.43);
    EXPECT_EQ(efficiencyRowFor(7).efficiencyLow, 0.60);
    EXPECT_EQ(efficiencyRowFor(300).powerFactorHigh, 0.94);
    EXPECT_EQ(efficiencyRowFor(301).powerFactorHigh, 0.96);
    EXPECT_EQ(efficiencyRowFor(5000).efficiencyHigh, 0.92);
    EXPECT_EQ(mainsBandOf(89.99), MainsBand::None);
    EXPECT_EQ(mainsBandOf(125.9), MainsBand::Low);
    EXPECT_EQ(mainsBandOf(264.5), MainsBand::High);
    EXPECT_EQ(mainsBandOf(265), MainsBand::None);
}

}  // namespace
}  // namespace kvrns
