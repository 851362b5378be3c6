#include <gtest/gtest.h>

#include "warnings/evaluation.h"

namespace kvrns::warnings {
namespace {

WarningInputs calm()
{
    WarningInputs in;
    in.HLabel_txt = {"18A", "18A", "35A", "35A"};
    in.FLabel_txt = {"5.00", "18.00", "10.00", "8.00"};
    in.LLabel_txt = {"3.75V", "5.70V", "13.10V"};
    in.ILabel_txt = {"3.30", "5.00", "12.00"};
    in.temperature = "45";
    in.temperature2 = "45";
    return in;
}

struct Case {
    const char* name;
    void (*change)(WarningInputs&);
    std::vector<Warning> expected;
};

class OneCycle : public testing::TestWithParam<Case> {};

TEST_P(OneCycle, RaisesTheWindowsInOrder)
{
    WarningInputs in = calm();
    GetParam().change(in);
    WarningEvaluator evaluator;
    EXPECT_EQ(evaluator.evaluate(in), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, OneCycle,
                         testing::Values(Case{"equalIsFine", [](WarningInputs&) {}, {}},
                                         Case{"over5V",
                                              [](WarningInputs& in) { in.FLabel_txt[1] = "18.01"; },
                                              {{WarningKind::OverCurrent, 2}}},
                                         Case{"firstRailWins",
                                              [](WarningInputs& in) {
                                                  in.FLabel_txt[0] = "19.00";
                                                  in.FLabel_txt[2] = "36.00";
                                              },
                                              {{WarningKind::OverCurrent, 1}}},
                                         Case{"secondRailOfTwelve",
                                              [](WarningInputs& in) { in.FLabel_txt[3] = "35.50"; },
                                              {{WarningKind::OverCurrent, 4}}},
                                         Case{"secondRailSilentInSingleMode",
                                              [](WarningInputs& in) {
                                                  in.railMode = 0;
                                                  in.FLabel_txt[3] = "35.50";
                                              },
                                              {}},
                                         Case{"emptyWarningPointCountsAsZero",
                                              [](WarningInputs& in) {
                                                  in.railMode = 0;
                                                  in.HLabel_txt[3] = "";
                                                  in.FLabel_txt[3] = "";
                                              },
                                              {}},
                                         Case{"secondTemperature",
                                              [](WarningInputs& in) { in.temperature2 = "99.0"; },
                                              {{WarningKind::OverTemperature, 0}}},
                                         Case{"firstTemperature",
                                              [](WarningInputs& in) { in.temperature = "120"; },
                                              {{WarningKind::OverTemperature, 0}}},
                                         Case{"justBelow", [](WarningInputs& in) { in.temperature = "98.99"; }, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OverVoltage, OpensOnEveryThirdConsecutiveCycle)
{
    WarningEvaluator evaluator;
    WarningInputs in = calm();
    in.ILabel_txt[2] = "13.20";
    std::vector<int> opened;
    for (int cycle = 1; cycle <= 9; ++cycle)
        if (!evaluator.evaluate(in).empty()) opened.push_back(cycle);
    EXPECT_EQ(opened, (std::vector<int>{3, 6, 9}));
}

TEST(OverVoltage, AGoodCycleRestartsTheCount)
{
    WarningEvaluator evaluator;
    WarningInputs over = calm(), good = calm();
    over.ILabel_txt[0] = "3.80";
    EXPECT_TRUE(evaluator.evaluate(over).empty());
    EXPECT_TRUE(evaluator.evaluate(over).empty());
    EXPECT_EQ(evaluator.OvpWarmflag(), 2);
    EXPECT_TRUE(evaluator.evaluate(good).empty());
    EXPECT_EQ(evaluator.OvpWarmflag(), 0);
    EXPECT_TRUE(evaluator.evaluate(over).empty());
    EXPECT_TRUE(evaluator.evaluate(over).empty());
    over.ILabel_txt[0] = "3.30";
    over.ILabel_txt[1] = "5.80";  // any rail counts; the third cycle's rail is named
    EXPECT_EQ(evaluator.evaluate(over), (std::vector<Warning>{{WarningKind::OverVoltage, 2}}));
}

TEST(ThreeWindows, OneCycleRaisesAllThreeInOrder)
{
    WarningEvaluator evaluator;
    WarningInputs in = calm();
    in.ILabel_txt[2] = "13.20";
    evaluator.evaluate(in);
    evaluator.evaluate(in);
    in.FLabel_txt[1] = "19.00";
    in.temperature = "100";
    const auto raised = evaluator.evaluate(in);
    EXPECT_EQ(raised,
              (std::vector<Warning>{
                  {WarningKind::OverCurrent, 2}, {WarningKind::OverVoltage, 3}, {WarningKind::OverTemperature, 0}}));
    std::vector<std::string> texts;
    for (const auto& w : raised) texts.push_back(describe(w));
    EXPECT_EQ(texts, (std::vector<std::string>{"over-current +5V", "over-voltage +12V1", "over-temperature"}));
}

TEST(RailNames, OutsideTheTableShowPlusFiveVolts)
{
    EXPECT_EQ(ocpRailName(4), "+12V2");
    EXPECT_EQ(ovpRailName(3), "+12V1");
    EXPECT_EQ(ocpRailName(0), "+5V");
    EXPECT_EQ(ocpRailName(5), "+5V");
    EXPECT_EQ(ovpRailName(4), "+5V");
}

}  // namespace
}  // namespace kvrns::warnings
