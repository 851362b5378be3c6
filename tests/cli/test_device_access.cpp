#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "device/device_link.h"
#include "settings/settings.h"
#include "support/fake_hid.h"
#include "support/temp_dir.h"

namespace kvrns {
namespace {

TEST(DeviceAccess, DiscoveryNotesTheSuppliesItMayNotOpen)
{
    test::FakeHid hid;
    hid.addSupply("/dev/hidraw1");
    hid.devices.back().openable = false;
    hid.devices.push_back({{"/dev/hidraw2", 0x046D, 0xC52B}, false, {}});  // someone else's device
    device::DeviceLink link(hid);
    EXPECT_FALSE(link.FindTheHid());
    ASSERT_EQ(link.refusedInterfaces().size(), 1u);
    EXPECT_EQ(link.refusedInterfaces()[0].path, "/dev/hidraw1");
    EXPECT_EQ(link.refusedInterfaces()[0].reason, "permission denied");

    hid.addSupply("/dev/hidraw3");
    EXPECT_TRUE(link.FindTheHid());  // the one it may open is taken, as before
    EXPECT_EQ(link.devicePath(), "/dev/hidraw3");
    EXPECT_EQ(link.refusedInterfaces().size(), 1u);

    hid.devices.erase(hid.devices.begin());
    EXPECT_TRUE(link.FindTheHid());
    EXPECT_TRUE(link.refusedInterfaces().empty());
}

TEST(DeviceAccess, TheCliExplainsTheMissingUdevRule)
{
    test::TempDir dir;
    const std::string settingsArg =
        "--settings=" + dir.file("TALVORN.txt", std::string(settings::kDefaultLine) + "\r\n").string();
    for (const char* command : {"status", "watch", "tune"}) {
        std::vector<std::string> args = {command, "--device", "sim:locked", settingsArg};
        if (std::string(command) == "tune") args.insert(args.begin() + 1, {"12V", "5"});
        const auto r = test::runCli(args);
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_TRUE(r.err.starts_with("no power supply found\n")) << r.err;
        EXPECT_NE(r.err.find("a supply was found at sim:0, but this user may not open it (Permission denied)"),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("70-kvrns.rules"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("udevadm control --reload && sudo udevadm trigger"), std::string::npos) << r.err;
    }
    const auto absent = test::runCli({"status", "--device", "sim:unplugged", settingsArg});
    EXPECT_EQ(absent.status, 2);
    EXPECT_EQ(absent.err, "no power supply found\n");
}

}  // namespace
}  // namespace kvrns
