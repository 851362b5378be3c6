// The polling cycle, delivery and acknowledgements, asserted on the exact
// reports written and the state left behind.
#include <gtest/gtest.h>

#include "device/frame_text.h"
#include "protocol/commands.h"
#include "protocol/engine.h"
#include "support/fake_hid.h"

namespace kvrns {
namespace {

using device::ReadStatus;
using test::answerBytes;
using test::FakeHid;

std::vector<std::uint8_t> frame(std::string_view text)
{
    Report bytes{};
    device::frameTextToBytes(text, bytes, 65);
    return {bytes.begin(), bytes.end()};
}

Report ack(std::uint8_t reg, std::uint8_t value, std::uint8_t status = 0)
{
    return answerBytes({0x00, wire::kCmdWrite, status, 0x40, reg, value});
}

// A good answer for each request of one cycle, in order.
void queueCycle(FakeHid& hid, int from = 0)
{
    for (int step = from; step < kPollSteps; ++step) {
        const auto& request = kPollTable[static_cast<std::size_t>(step)];
        if (request.command != wire::kCmdRead)
            hid.queue(answerBytes({0, request.command, 2, 'O', 'K'}));
        else if (request.reg == wire::kRegRatedPower)
            hid.queue(answerBytes({0, 0x83, 0, 0x40, 0x32, 'Q', 'L', '0', '6', '5', '0'}));
        else if (request.reg == wire::kRegInputVoltage)
            hid.queue(test::readingAnswer(request.reg, 0xF3, 0x98));  // 230
        else
            hid.queue(test::readingAnswer(request.reg, 0xCE, 0x0D));  // 12.1
    }
}

void queueDelivery(FakeHid& hid)
{
    hid.queue(ack(0x25, 5));
    hid.queue(ack(0x24, 5));
    hid.queue(ack(0x23, 5));
    hid.queue(ack(0x26, 2));
}

struct EngineFixture : testing::Test {
    FakeHid hid;
    device::DeviceLink link{hid};
    settings::SettingsStore store;
    Engine engine{link, store, NumberLocale{}};

    void SetUp() override { hid.addSupply("/dev/hidraw0"); }
    std::vector<std::uint8_t> written(std::size_t i) const { return hid.written.at(i); }
};

TEST_F(EngineFixture, FirstCycleDeliversTheStoredStepsAndRailModeThenPolls)
{
    ASSERT_TRUE(engine.discover());
    queueDelivery(hid);
    queueCycle(hid);
    const TickReport first = engine.tick();
    EXPECT_EQ(first.kind, TickKind::Cycle);
    EXPECT_TRUE(first.delivered);
    ASSERT_EQ(hid.written.size(), 20u);
    EXPECT_EQ(written(0), frame("00 82 03 40 25 05 00"));
    EXPECT_EQ(written(1), frame("00 82 03 40 24 05 00"));
    EXPECT_EQ(written(2), frame("00 82 03 40 23 05 00"));
    EXPECT_EQ(written(3), frame("00 82 03 40 26 02 00"));
    for (int step = 0; step < kPollSteps; ++step)
        EXPECT_EQ(written(4 + step), frame(kPollTable[static_cast<std::size_t>(step)].frameText)) << step;
    EXPECT_EQ(engine.state().SetVolNum, 1);
    EXPECT_EQ(engine.state().pollStep, 0);
    EXPECT_EQ(first.telemetry.ratedPower, "0650");

    queueCycle(hid);
    const TickReport second = engine.tick();
    EXPECT_FALSE(second.delivered);
    EXPECT_EQ(hid.written.size(), 36u);
    EXPECT_EQ(written(20), frame("00 90 00 00 00 00 00"));
}

TEST_F(EngineFixture, NoSupplyMeansOneDiscoveryPerTickAndNothingElse)
{
    hid.devices.clear();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(engine.tick().kind, TickKind::Rediscovery);
    EXPECT_TRUE(hid.written.empty());
    EXPECT_EQ(engine.telemetry(), Telemetry{});
}

TEST_F(EngineFixture, WrongCommandBytesStillWalkAllSixteenStepsAndChangeNoReading)
{
    engine.discover();
    queueDelivery(hid);
    for (int step = 0; step < kPollSteps; ++step) hid.queue(answerBytes({0, 0x84, 0, 0x40, 0x28, 0x0D, 0xCE}));
    const TickReport report = engine.tick();
    EXPECT_EQ(report.kind, TickKind::Cycle);
    EXPECT_TRUE(report.devicePresent);
    EXPECT_EQ(engine.state().pollStep, 0);
    EXPECT_EQ(hid.written.size(), 20u);
    for (const auto& field : kTelemetryFields) {
        if (field.name == "efficiencyGauge" || field.name == "loadPercent") continue;  // limited by the readout
        EXPECT_EQ(report.telemetry.*field.member, "0") << field.name;
    }
}

TEST_F(EngineFixture, UnplugAtStepSixThenTheNextCycleStartsAtSeven)
{
    engine.discover();
    queueDelivery(hid);
    queueCycle(hid);
    hid.answers.erase(hid.answers.begin() + 4 + 6, hid.answers.end());  // answers for steps 0..5 only
    hid.queue(ReadStatus::Timeout);
    const TickReport lost = engine.tick();
    EXPECT_EQ(lost.kind, TickKind::Cycle);
    EXPECT_FALSE(lost.devicePresent);
    EXPECT_EQ(engine.state().pollStep, 7);
    EXPECT_EQ(engine.state().UsbCount, 3);
    EXPECT_FALSE(link.connectionOpen());
    EXPECT_EQ(hid.written.size(), 4u + 7u);  // the three stalled passes write to no supply

    EXPECT_EQ(engine.tick().kind, TickKind::Rediscovery);
    EXPECT_TRUE(link.devicePresent);

    hid.written.clear();
    queueCycle(hid, 7);
    const TickReport resumed = engine.tick();
    EXPECT_FALSE(resumed.delivered);  // the +12V step was acknowledged before the loss
    ASSERT_EQ(hid.written.size(), 9u);
    EXPECT_EQ(written(0), frame(kPollTable[7].frameText));
    EXPECT_EQ(written(8), frame(kPollTable[15].frameText));
    EXPECT_EQ(engine.state().pollStep, 0);
}

TEST_F(EngineFixture, AcknowledgementRules)
{
    engine.discover();
    struct Case {
        const char* name;
        int usbAdj, step;
        Report answer;
        int field;               // settings field expected to change, or -1
        std::string fieldValue;  // its text afterwards
        bool acknowledged;
    };
    const Case cases[] = {
        {"supplyKeepsItsOwnStep", 1, 7, ack(0x25, 6), settings::TuneStep3V3, "6", true},
        {"fivePlusRail", 2, 4, ack(0x24, 4), settings::TuneStep5V, "4", true},
        {"twelve", 3, 6, ack(0x23, 6), settings::TuneStep12V, "6", true},
        {"invalidStatus", 3, 7, ack(0x23, 7, 0xFF), settings::TuneStep12V, "6", false},
        {"otherRegister", 1, 3, ack(0x24, 3), settings::TuneStep3V3, "6", false},
        {"readForm", 3, 8, answerBytes({0, 0x83, 0, 0x40, 0x28, 0x40, 0xCE}), settings::TuneStep12V, "6", false},
    };
    for (const auto& c : cases) {
        hid.queue(c.answer);
        const AckOutcome outcome = engine.fineTune(c.usbAdj, c.step);
        EXPECT_EQ(outcome.acknowledged, c.acknowledged) << c.name;
        EXPECT_EQ(store.value(c.field), c.fieldValue) << c.name;
    }
    EXPECT_EQ(engine.telemetry().voltage12V, "12.50");  // 0xCE40 read back in read form
    EXPECT_EQ(engine.readout().ILabel_txt[2], "12.50");
}

TEST_F(EngineFixture, RefusedTwelveVoltAckButRailAckStillCompletesDelivery)
{
    engine.discover();
    hid.queue(ack(0x25, 5));
    hid.queue(ack(0x24, 5));
    hid.queue(ack(0x23, 5, 0xFF));  // the +12V step is not confirmed
    hid.queue(ack(0x26, 2));
    queueCycle(hid);
    engine.tick();
    EXPECT_EQ(engine.state().SetVolNum, 1);
    queueCycle(hid);
    engine.tick();
    EXPECT_EQ(hid.written.size(), 4u + 16u + 16u);  // not sent again
}

TEST_F(EngineFixture, NonNumericTuneStepAbandonsTheCycle)
{
    engine.discover();
    store.setValue(settings::TuneStep5V, "five");
    hid.queue(ack(0x25, 5));
    const TickReport report = engine.tick();
    EXPECT_EQ(report.kind, TickKind::Failed);
    EXPECT_EQ(report.error, "The error occurred while Read USB !");
    EXPECT_EQ(engine.state().pollStep, 0);
    EXPECT_EQ(hid.written.size(), 1u);
}

TEST_F(EngineFixture, HandEditedStepOfTenGoesOutAsByteSixteen)
{
    engine.discover();
    store.setValue(settings::TuneStep12V, "10");
    queueDelivery(hid);
    queueCycle(hid);
    engine.tick();
    EXPECT_EQ(written(2)[wire::kReqValue], 0x10);
}

TEST_F(EngineFixture, UserRequestsRunAsWholeExchangesBetweenTwoExchanges)
{
    engine.discover();
    engine.clearSetVolNum();
    queueDelivery(hid);
    queueCycle(hid);
    int passes = 0;
    engine.setBetweenExchanges([&] {
        if (++passes == 3) {
            hid.answers.insert(hid.answers.begin(), ack(0x23, 6));
            engine.fineTune(3, 6);
        }
    });
    engine.tick();
    ASSERT_EQ(hid.written.size(), 21u);
    EXPECT_EQ(written(4 + 2), frame(kPollTable[2].frameText));
    EXPECT_EQ(written(4 + 3), frame("00 82 03 40 23 06 00"));
    EXPECT_EQ(written(4 + 4), frame(kPollTable[3].frameText));
    EXPECT_EQ(store.value(settings::TuneStep12V), "6");
    EXPECT_EQ(engine.telemetry().voltage12V, "12.1");  // the poll answers stayed in step
}

TEST_F(EngineFixture, ReadoutAndWarningsFollowEachCycle)
{
    engine.discover();
    store.setValue(settings::WarnCur3V3, "10");  // 12.1 A shown on every rail
    queueDelivery(hid);
    queueCycle(hid);
    const TickReport report = engine.tick();
    EXPECT_EQ(report.readout.FLabel_txt[0], "12.10");
    EXPECT_EQ(report.telemetry.inputVoltage, "230.00");
    ASSERT_FALSE(report.warnings.empty());
    EXPECT_EQ(report.warnings[0], (warnings::Warning{warnings::WarningKind::OverCurrent, 1}));
}

TEST_F(EngineFixture, RailSwitchWithoutSupplyStillWritesNothingAndSendsNothing)
{
    store.setRailMode(0);
    const AckOutcome outcome = engine.switchRailMode();
    EXPECT_FALSE(outcome.sent);
    EXPECT_FALSE(outcome.acknowledged);
    EXPECT_TRUE(hid.written.empty());
    EXPECT_EQ(store.value(settings::RailMode), "0");
}

}  // namespace
}  // namespace kvrns
