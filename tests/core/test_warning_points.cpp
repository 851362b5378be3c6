#include <gtest/gtest.h>

#include "settings/settings.h"
#include "warnings/warning_points.h"

namespace kvrns::warnings {
namespace {

const NumberLocale kDot{'.'};

struct Press {
    int index;
    bool plus;
};

struct Case {
    const char* name;
    int field;
    const char* start;
    int railMode;
    std::vector<Press> presses;
    std::vector<std::string> shownAfterEach;
    const char* stored;
};

class Arrows : public testing::TestWithParam<Case> {};

TEST_P(Arrows, MoveWithinTheirBounds)
{
    const Case& c = GetParam();
    settings::SettingsStore store;
    store.setRailMode(c.railMode);
    store.setValue(c.field, c.start);
    std::vector<std::string> shown;
    for (const auto& press : c.presses) shown.push_back(pressArrow(press.index, press.plus, store, kDot).shownText);
    EXPECT_EQ(shown, c.shownAfterEach);
    EXPECT_EQ(store.value(c.field), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Arrows,
    testing::Values(
        Case{"plusAtTop", settings::WarnCur3V3, "22", 1, {{0, true}}, {"22A"}, "22"},
        Case{"minusAtBottom", settings::WarnCur3V3, "18", 1, {{0, false}}, {"18A"}, "18"},
        Case{"plusInRange", settings::WarnCur3V3, "20", 1, {{0, true}}, {"21A"}, "21"},
        Case{"twelveMultiTop", settings::WarnCur12V1, "35", 1, {{2, true}}, {"35A"}, "35"},
        Case{"twelveSingleDown",
             settings::WarnCur12V1,
             "50",
             0,
             {{2, false}, {2, false}, {2, false}, {2, false}, {2, false}},
             {"49A", "48A", "47A", "46A", "46A"},
             "46"},
        Case{"handEditedTwoActsSingle", settings::WarnCur12V1, "48", 2, {{2, true}}, {"49A"}, "49"},
        Case{"secondRailInertInSingle", settings::WarnCur12V2, "33", 0, {{3, true}, {3, false}}, {"", ""}, "33"},
        Case{"voltPlusToTop", settings::WarnVolt3V3, "3.70", 1, {{11, true}, {11, true}}, {"3.75V", "3.75V"}, "3.75"},
        Case{"voltMinusAtBottom", settings::WarnVolt3V3, "3.45", 1, {{11, false}}, {"3.45V"}, "3.45"},
        Case{"voltMinusShowsTwoDecimals", settings::WarnVolt3V3, "3.75", 1, {{11, false}}, {"3.70V"}, "3.7"},
        Case{"twelveVoltSteps",
             settings::WarnVolt12V,
             "12.40",
             1,
             {{13, true}, {13, true}, {13, false}, {13, false}, {13, false}},
             {"12.50V", "12.60V", "12.50V", "12.40V", "12.40V"},
             "12.4"},
        Case{"twelveVoltTop", settings::WarnVolt12V, "13.0", 1, {{13, true}, {13, true}}, {"13.10V", "13.10V"}, "13.1"},
        Case{"outsideAbovePlusSnaps", settings::WarnCur3V3, "30", 1, {{0, true}}, {"22A"}, "22"},
        Case{"outsideAboveMinusSteps", settings::WarnCur3V3, "30", 1, {{0, false}}, {"29A"}, "29"},
        Case{"notANumberPlus", settings::WarnCur5V, "lots", 1, {{1, true}}, {"22A"}, "22"},
        Case{"notANumberMinus", settings::WarnVolt5V, "", 1, {{12, false}}, {"5.20V"}, "5.2"},
        Case{"disabledRows", settings::WarnCur3V3, "20", 1, {{4, true}, {7, false}}, {"", ""}, "20"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FineTuneArrows, AskTheSupplyAndStoreNothing)
{
    settings::SettingsStore store;
    auto press = pressArrow(10, true, store, kDot);
    ASSERT_TRUE(press.fineTuneRail);
    EXPECT_EQ(*press.fineTuneRail, 3);
    EXPECT_EQ(press.fineTuneStep, 6);
    EXPECT_EQ(store.value(settings::TuneStep12V), "5");

    store.setValue(settings::TuneStep12V, "9");
    EXPECT_FALSE(pressArrow(10, true, store, kDot).fineTuneRail);
    store.setValue(settings::TuneStep3V3, "1");
    EXPECT_FALSE(pressArrow(8, false, store, kDot).fineTuneRail);
    store.setValue(settings::TuneStep5V, "x");
    press = pressArrow(9, false, store, kDot);
    EXPECT_EQ(*press.fineTuneRail, 2);
    EXPECT_EQ(press.fineTuneStep, 1);
}

TEST(RailLever, SwitchingTwiceShowsThirtyFiveAgain)
{
    settings::SettingsStore store;
    store.setValue(settings::WarnCur12V1, "32");
    store.setValue(settings::WarnCur12V2, "31");
    EXPECT_EQ(switchRail(store), 0);
    EXPECT_EQ(store.value(settings::Ocp12V1), "50");
    EXPECT_EQ(store.value(settings::WarnCur12V1), "50");
    EXPECT_EQ(store.value(settings::RailMode), "0");
    EXPECT_EQ(switchRail(store), 1);
    EXPECT_EQ(store.value(settings::WarnCur12V1), "35");
    EXPECT_EQ(store.value(settings::WarnCur12V2), "35");
    EXPECT_EQ(store.value(settings::Ocp12V1), "35");
    EXPECT_EQ(store.value(settings::RailMode), "1");
}

}  // namespace
}  // namespace kvrns::warnings
