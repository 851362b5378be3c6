// kvrns-cli beside a running dashboard, both as real processes in a session
// of their own (temporary folder, configuration folder and user name).
#include <gtest/gtest.h>

#include <random>

#include "app/owner/json_value.h"
#include "cli/process.h"
#include "protocol/telemetry.h"

namespace kvrns {
namespace {

namespace fs = std::filesystem;
using test::lines;
using test::readFile;

struct CliRun {
    int status;
    std::string out, err;
};

class CliSession {
public:
    CliSession()
        : user_("kvrns-test-" + std::to_string(std::random_device{}())),
          env_{"QT_QPA_PLATFORM=offscreen", "TMPDIR=" + home_.path().string(),
               "XDG_CONFIG_HOME=" + (home_.path() / "config").string(), "HOME=" + home_.path().string(),
               "USER=" + user_}
    {
    }
    fs::path socket() const { return home_.path() / ("kvrns-dashboard-" + user_); }
    fs::path settingsFile() const { return home_.path() / "config" / "kvrns" / "TALVORN.txt"; }

    bool startDashboard()
    {
        dashboard_ = std::make_unique<test::Process>(std::vector<std::string>{KVRNS_GUI_PATH, "--device", "sim"}, env_,
                                                     home_.path() / "gui.out", home_.path() / "gui.err");
        return test::eventually([&] { return fs::exists(socket()); });
    }
    test::Process& dashboard() { return *dashboard_; }

    CliRun cli(std::vector<std::string> args)
    {
        args.insert(args.begin(), KVRNS_CLI_PATH);
        const fs::path out = home_.path() / "cli.out", err = home_.path() / "cli.err";
        test::Process cli(args, env_, out, err);
        const int status = cli.wait();
        return {status, readFile(out), readFile(err)};
    }

private:
    test::TempDir home_;
    std::string user_;
    std::vector<std::string> env_;
    std::unique_ptr<test::Process> dashboard_;
};

class WithDashboard : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        session_ = new CliSession;
        ASSERT_TRUE(session_->startDashboard()) << readFile(session_->socket().parent_path() / "gui.err");
    }
    static void TearDownTestSuite()
    {
        delete session_;  // kills the dashboard
        session_ = nullptr;
    }
    static CliSession* session_;
};
CliSession* WithDashboard::session_ = nullptr;

TEST_F(WithDashboard, StatusAndWatchReadFromIt)
{
    const CliRun status = session_->cli({"status", "--json"});
    ASSERT_EQ(status.status, 0) << status.err;
    EXPECT_EQ(status.err, "kvrns-cli: reading from the running dashboard (simulated supply)\n");
    const auto json = owner::parseJson(lines(status.out).at(0));
    ASSERT_TRUE(json) << status.out;
    for (const auto& field : kTelemetryFields) EXPECT_TRUE(json->member(field.name)) << field.name;
    EXPECT_EQ(*json->member("ratedPower")->asString(), "0650");

    const CliRun watch = session_->cli({"watch", "--json", "--cycles", "2", "--interval", "0.1"});
    ASSERT_EQ(watch.status, 0) << watch.err;
    EXPECT_EQ(lines(watch.out).size(), 2u);
    EXPECT_NE(watch.err.find("reading from the running dashboard"), std::string::npos);

    // The simulated supply of the command line's own is its own business.
    const CliRun own = session_->cli({"status", "--device", "sim", "--json"});
    ASSERT_EQ(own.status, 0) << own.err;
    EXPECT_EQ(own.err.find("dashboard"), std::string::npos) << own.err;
}

TEST_F(WithDashboard, ChangesGoThroughItsEngineAndAreStored)
{
    const CliRun rail = session_->cli({"rail", "single"});
    ASSERT_EQ(rail.status, 0) << rail.err;
    EXPECT_EQ(rail.out, "single +12V rail in force\n");
    EXPECT_NE(rail.err.find("stored by the dashboard in " + session_->settingsFile().string()), std::string::npos)
        << rail.err;
    EXPECT_EQ(readFile(session_->settingsFile()),
              "0;22;22;50;35;22;22;50;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;0;0;0;\r\n");

    const CliRun tune = session_->cli({"tune", "12V", "7"});
    ASSERT_EQ(tune.status, 0) << tune.err;
    EXPECT_EQ(tune.out, "+12V fine-tune step 7 in force\n");
    EXPECT_EQ(readFile(session_->settingsFile()),
              "0;22;22;50;35;22;22;50;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;7;3.30;5.00;12.00;0;0;0;\r\n");

    const CliRun back = session_->cli({"rail", "multi"});
    EXPECT_EQ(back.status, 0) << back.err;
}

TEST_F(WithDashboard, FramesNeedTheSupplyToThemselves)
{
    const CliRun frames = session_->cli({"frames"});
    EXPECT_EQ(frames.status, 1);
    EXPECT_NE(frames.err.find("the running dashboard owns the supply"), std::string::npos) << frames.err;
    EXPECT_TRUE(frames.out.empty());
}

TEST(DashboardGone, ASocketLeftBehindIsNoDashboard)
{
    CliSession session;
    ASSERT_TRUE(session.startDashboard());
    session.dashboard().signal(SIGKILL);
    session.dashboard().wait();
    ASSERT_TRUE(fs::exists(session.socket()));
    // Nobody answers there: the command line looks for the supply itself.
    const CliRun status = session.cli({"status", "--device", "hid"});
    EXPECT_EQ(status.err.find("dashboard"), std::string::npos) << status.err;
    EXPECT_NE(status.status, 1) << status.err;
}

}  // namespace
}  // namespace kvrns
