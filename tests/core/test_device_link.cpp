#include <gtest/gtest.h>

#include "device/device_link.h"
#include "support/fake_hid.h"

namespace kvrns {
namespace {

using device::DeviceLink;
using device::ReadStatus;
using test::FakeHid;

TEST(FindTheHid, OpensTheFirstMatchInEnumerationOrder)
{
    FakeHid hid;
    hid.devices.push_back({{"/dev/hidraw0", 0x046D, 0xC52B}});
    hid.devices.push_back({{"/dev/hidraw1", wire::kVendorId, 0x000A}});  // the maker's, another product
    hid.addSupply("/dev/hidraw2");
    hid.addSupply("/dev/hidraw3");
    DeviceLink link(hid);
    EXPECT_TRUE(link.FindTheHid());
    EXPECT_EQ(link.devicePath(), "/dev/hidraw2");
    EXPECT_EQ(hid.opened, std::vector<std::string>{"/dev/hidraw2"});
    EXPECT_EQ(link.InputReportByteLength, 65);
}

TEST(FindTheHid, SkipsASupplyThatCannotBeOpened)
{
    FakeHid hid;
    hid.addSupply("/dev/hidraw0");
    hid.devices[0].openable = false;
    hid.addSupply("/dev/hidraw1");
    DeviceLink link(hid);
    EXPECT_TRUE(link.FindTheHid());
    EXPECT_EQ(link.devicePath(), "/dev/hidraw1");
}

TEST(FindTheHid, FalseWithoutOpeningAnythingWhenNothingMatches)
{
    FakeHid hid;
    DeviceLink link(hid);
    EXPECT_FALSE(link.FindTheHid());
    hid.devices.push_back({{"/dev/hidraw0", 0x046D, 0xC52B}});
    EXPECT_FALSE(link.FindTheHid());
    EXPECT_TRUE(hid.opened.empty());
}

TEST(DeviceLink, WritesTheExactReportAndClearsTheStaleAnswerHead)
{
    FakeHid hid;
    hid.addSupply("s");
    DeviceLink link(hid);
    link.devicePresent = link.FindTheHid();
    link.inputReport.fill(0x77);
    link.writeFrame("00 83 02 40 2C 00 00");
    ASSERT_EQ(hid.written.size(), 1u);
    std::vector<std::uint8_t> expected(65, 0);
    expected[1] = 0x83, expected[2] = 0x02, expected[3] = 0x40, expected[4] = 0x2C;
    EXPECT_EQ(hid.written[0], expected);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(link.inputReport[i], 0) << i;
    EXPECT_EQ(link.inputReport[9], 0x77);
}

TEST(DeviceLink, TimeOutClosesTheConnectionAndTheNextDiscoveryReopens)
{
    FakeHid hid;
    hid.addSupply("s");
    DeviceLink link(hid);
    link.devicePresent = link.FindTheHid();
    link.writeFrame("00 83 02 40 28 00 00");
    hid.queue(ReadStatus::Timeout);
    link.readInputReport();
    EXPECT_FALSE(link.devicePresent);
    EXPECT_FALSE(link.connectionOpen());
    EXPECT_EQ(hid.openConnections, 0);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(link.inputReport[i], 0);

    link.devicePresent = link.FindTheHid();
    EXPECT_TRUE(link.devicePresent);
    EXPECT_EQ(hid.opened.size(), 2u);
}

TEST(DeviceLink, OtherReadFailuresOnlyClearDevicePresent)
{
    FakeHid hid;
    hid.addSupply("s");
    DeviceLink link(hid);
    link.devicePresent = link.FindTheHid();
    hid.queue(ReadStatus::Failed);
    link.readInputReport();
    EXPECT_FALSE(link.devicePresent);
    EXPECT_TRUE(link.connectionOpen());
}

TEST(DeviceLink, DeliversTheAnswerIntoInputReport)
{
    FakeHid hid;
    hid.addSupply("s");
    DeviceLink link(hid);
    link.devicePresent = link.FindTheHid();
    hid.queue(test::readingAnswer(0x28, 0xCE, 0x0D));
    link.writeFrame("00 83 02 40 28 00 00");
    link.readInputReport();
    EXPECT_TRUE(link.devicePresent);
    EXPECT_EQ(link.inputReport, test::readingAnswer(0x28, 0xCE, 0x0D));
}

TEST(DeviceLink, ClipsOversizedReportLengthsToTheBuffers)
{
    FakeHid hid;
    hid.addSupply("s", {1024, 513});
    DeviceLink link(hid);
    link.devicePresent = link.FindTheHid();
    EXPECT_EQ(link.InputReportByteLength, 65);
    EXPECT_EQ(link.OutputReportByteLength, 65);
    link.writeFrame("00 90 00 00 00 00 00");
    hid.queue(test::answerBytes({0, 0x90}));
    link.readInputReport();
    EXPECT_EQ(hid.written[0].size(), 65u);
    EXPECT_EQ(hid.lastReadLength, 65);
}

TEST(DeviceLink, ShortReportLengthsAreHonoured)
{
    FakeHid hid;
    hid.addSupply("s", {9, 8});
    DeviceLink link(hid);
    link.devicePresent = link.FindTheHid();
    link.writeFrame("00 83 02 40 2C 00 00");
    EXPECT_EQ(hid.written[0].size(), 8u);
}

}  // namespace
}  // namespace kvrns
