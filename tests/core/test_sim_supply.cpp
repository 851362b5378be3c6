#include <gtest/gtest.h>

#include <cmath>

#include "device/device_link.h"
#include "device/sim_supply.h"
#include "protocol/commands.h"

namespace kvrns {
namespace {

using device::SimSupply;

struct SimFixture : testing::Test {
    double now = 10.0;
    SimSupply sim{[this] { return now; }};
    device::DeviceLink link{sim};
    Telemetry telemetry;

    void SetUp() override { link.devicePresent = link.FindTheHid(); }

    int pollAll()
    {
        int used = 0;
        for (int step = 0; step < kPollSteps; ++step) {
            link.writeFrame(kPollTable[static_cast<std::size_t>(step)].frameText);
            link.readInputReport();
            used += applyPollAnswer(step, link.inputReport, telemetry, NumberLocale{});
        }
        return used;
    }
};

TEST_F(SimFixture, AnswersEveryRequestWithTheModelsReadings)
{
    ASSERT_TRUE(link.devicePresent);
    EXPECT_EQ(pollAll(), kPollSteps);
    EXPECT_EQ(telemetry.ratedPower, "0650");
    EXPECT_NEAR(std::stod(telemetry.voltage12V), sim.reading(wire::kRegVoltage12V), 0.01);
    EXPECT_NEAR(std::stod(telemetry.current12V1), sim.reading(wire::kRegCurrent12V1), 0.02);
    EXPECT_NEAR(std::stod(telemetry.inputVoltage), sim.reading(wire::kRegInputVoltage), 0.13);
    EXPECT_EQ(telemetry.identity1, "TALVORN QUORLANE");
}

TEST_F(SimFixture, LoadDriftsOverTime)
{
    const double before = sim.reading(wire::kRegCurrent12V1);
    now += 30;
    EXPECT_GT(std::fabs(sim.reading(wire::kRegCurrent12V1) - before), 0.1);
}

TEST_F(SimFixture, AcknowledgesFineTuneWithTheStepInForce)
{
    link.writeFrame(fineTuneFrame(3, 7));
    link.readInputReport();
    EXPECT_EQ(link.inputReport[wire::kAnsCommand], wire::kCmdWrite);
    EXPECT_EQ(link.inputReport[wire::kAnsRegister], wire::kRegTune12V);
    EXPECT_EQ(link.inputReport[wire::kAnsValue], 7);
    link.writeFrame(fineTuneFrame(1, 10));  // 0x10: beyond what the supply allows
    link.readInputReport();
    EXPECT_EQ(link.inputReport[wire::kAnsValue], 9);
    link.writeFrame(railModeFrame(0));
    link.readInputReport();
    EXPECT_EQ(link.inputReport[wire::kAnsValue], wire::kRailSingle);
    EXPECT_EQ(sim.railMode(), 1);
}

TEST_F(SimFixture, FixedReadingsAndFaultSwitches)
{
    ASSERT_FALSE(sim.applyOption("temperature=105"));
    pollAll();
    EXPECT_EQ(telemetry.temperature, "105");
    ASSERT_FALSE(sim.applyOption("silent=2C"));
    link.writeFrame(kPollTable[3].frameText);
    link.readInputReport();
    EXPECT_FALSE(link.devicePresent);  // the silent register timed out
}

TEST_F(SimFixture, WrongEchoAndInvalidStatusChangeNothing)
{
    sim.faults().wrongEcho = true;
    EXPECT_EQ(pollAll(), 0);
    sim.faults().wrongEcho = false;
    sim.faults().invalidStatus = true;
    pollAll();
    EXPECT_EQ(telemetry.voltage12V, "0");    // 0xFF refused on the output rails
    EXPECT_NE(telemetry.inputVoltage, "0");  // but not on the AC input
}

TEST_F(SimFixture, LateAnswersEchoThePreviousRegister)
{
    sim.faults().lateAnswers = true;
    link.writeFrame(kPollTable[2].frameText);
    link.readInputReport();
    EXPECT_FALSE(link.devicePresent);  // nothing was pending yet
    link.devicePresent = link.FindTheHid();
    link.writeFrame(kPollTable[3].frameText);
    link.readInputReport();
    EXPECT_EQ(link.inputReport[wire::kAnsRegister], wire::kRegVoltage12V);
    EXPECT_FALSE(applyPollAnswer(3, link.inputReport, telemetry, NumberLocale{}));
}

TEST_F(SimFixture, UnpluggedIsNotEnumeratedAndReadsTimeOut)
{
    sim.faults().unplugged = true;
    link.writeFrame(kPollTable[2].frameText);
    link.readInputReport();
    EXPECT_FALSE(link.devicePresent);
    EXPECT_FALSE(link.connectionOpen());
    EXPECT_FALSE(link.FindTheHid());
    sim.faults().unplugged = false;
    EXPECT_TRUE(link.FindTheHid());
}

TEST(SimOptions, UnknownOrMalformedOptionsAreExplained)
{
    SimSupply sim;
    EXPECT_TRUE(sim.applyOption("smoke"));
    EXPECT_TRUE(sim.applyOption("silent=XYZ"));
    EXPECT_TRUE(sim.applyOption("temperature=hot"));
    EXPECT_TRUE(sim.applyOption("ratedPower=700"));
    EXPECT_FALSE(sim.applyOption("current5V=18.01"));
}

}  // namespace
}  // namespace kvrns
