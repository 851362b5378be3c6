#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>

#include "app/cli/cli.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace kvrns {
namespace {

namespace fs = std::filesystem;
using test::readFile;

struct CliResult {
    int status;
    std::string out, err;
};

CliResult runCli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int status = cli::run(args, {.out = out, .err = err, .locale = NumberLocale{}, .clock = [] { return 0.0; }});
    return {status, out.str(), err.str()};
}

const std::string kStatusScript = std::string("script:") + KVRNS_TEST_DATA "/status.script";
const std::string kDefault(settings::kDefaultLine);

struct CliFixture : testing::Test {
    test::TempDir dir;
    fs::path settingsFile = dir.file("TALVORN.txt", kDefault + "\r\n");
    std::string settingsArg = "--settings=" + settingsFile.string();

    std::string script(const std::string& text) { return "script:" + dir.file("s.script", text).string(); }
};

TEST_F(CliFixture, StatusJsonIsTheWholeDerivedPicture)
{
    const auto r = runCli({"status", "--device", kStatusScript, "--json", settingsArg});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(
        r.out,
        "{\"inputVoltage\":\"230.00\",\"inputCurrent\":\"1.25\",\"inputWatt\":\"271.28\",\"powerFactor\":\"0.94\","
        "\"current3V3\":\"5\",\"current5V\":\"4\",\"current12V1\":\"10\",\"current12V2\":\"8.2\","
        "\"voltage3V3\":\"3.3\",\"voltage5V\":\"5\",\"voltage12V\":\"12\",\"voltage12V2\":\"12\","
        "\"temperature\":\"45\",\"temperature2\":\"45\",\"ratedPower\":\"0650\",\"outputPower\":\"255\","
        "\"efficiency\":\"94\",\"efficiencyGauge\":\"94\",\"loadPercent\":\"39\",\"warnings\":[]}\n");
}

TEST_F(CliFixture, StatusReportsWarningsPerCycle)
{
    const auto r = runCli({"status", "--device", "sim:current5V=23,temperature2=101", "--json", "--cycles", "2",
                           "--interval", "0", settingsArg});
    EXPECT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_NE(line.find("\"warnings\":[\"over-current +5V\",\"over-temperature\"]"), std::string::npos) << line;
    }
    EXPECT_EQ(count, 2);
}

TEST_F(CliFixture, StatusTableIsAlignedWithUnits)
{
    const auto r = runCli({"status", "--device=" + kStatusScript, settingsArg});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("  inputVoltage     230.00 V\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  powerFactor      0.94\n"), std::string::npos);
    EXPECT_NE(r.out.find("  warnings         none\n"), std::string::npos);
}

TEST_F(CliFixture, FramesShowEveryExchange)
{
    const auto r = runCli({"frames", "--device", kStatusScript, settingsArg});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("> 00 82 03 40 25 05 00\n< 00 82 00 40 25 05 00\n"), 0u) << r.out;
    EXPECT_NE(r.out.find("> 00 83 02 40 28 00 00\n< 00 83 00 40 28 00 CE\n"), std::string::npos);
}

TEST_F(CliFixture, TuneStoresTheAcknowledgedStep)
{
    const auto r =
        runCli({"tune", "12V", "6", "--device", script("00 82 03 40 23 06 00 => 00 82 00 40 23 06\n"), settingsArg});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "+12V fine-tune step 6 in force\n");
    EXPECT_EQ(readFile(settingsFile),
              "0;22;22;35;35;22;22;35;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;6;3.30;5.00;12.00;1;0;0;\r\n");
}

TEST_F(CliFixture, UnacknowledgedChangesStoreNothing)
{
    for (const auto& args :
         {std::vector<std::string>{"tune", "3.3V", "4"}, std::vector<std::string>{"rail", "single"}}) {
        auto full = args;
        full.insert(full.end(), {"--device", script("# silent\n"), settingsArg});
        const auto r = runCli(full);
        EXPECT_EQ(r.status, 3) << args[0];
        EXPECT_NE(r.err.find("did not acknowledge"), std::string::npos) << r.err;
        EXPECT_EQ(readFile(settingsFile), kDefault + "\r\n");
    }
}

TEST_F(CliFixture, RailSetsTheFieldsTheLeverSets)
{
    const auto ackSingle =
        script("00 82 03 40 26 01 00 => 00 82 00 40 26 01\n00 82 03 40 26 02 00 => 00 82 00 40 26 02\n");
    auto r = runCli({"rail", "single", "--device", ackSingle, settingsArg});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(settingsFile),
              "0;22;22;50;35;22;22;50;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;0;0;0;\r\n");
    r = runCli({"rail", "multi", "--device", ackSingle, settingsArg});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(settingsFile), kDefault + ";\r\n");
}

TEST_F(CliFixture, ErrorsSayWhatIsWrong)
{
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const fs::path shortFile = dir.file("short.txt", "0;1;2");
    const Case cases[] = {
        {{"status", "--device", "sim:unplugged", settingsArg}, 2, "no power supply found\n"},
        {{"list", "--device", "sim:unplugged"}, 2, "no power supply found\n"},
        {{"tune", "12V", "5", "--device", "sim:unplugged", settingsArg}, 2, "no power supply found\n"},
        {{"status", "--device", "usb"}, 1, "kvrns-cli: --device 'usb' is not one of auto | hid"},
        {{"status", "--device", "script:/nonexistent.script"}, 1, "/nonexistent.script: cannot read the script file"},
        {{"status", "--device", "sim:smoke"}, 1, "unknown simulated fault 'smoke'"},
        {{"status", "--device"}, 1, "--device needs a value"},
        {{"status", "--cycles", "0"}, 1, "--cycles takes a whole number of 1 or more, not '0'"},
        {{"status", "--interval", "soon"}, 1, "--interval takes a whole number of 0 or more"},
        {{"frobnicate"}, 1, "unknown command 'frobnicate'"},
        {{"status", "--colour"}, 1, "unknown argument '--colour'"},
        {{"tune", "12V", "0", "--device", "sim", settingsArg}, 1, "fine-tune step '0' is outside 1 to 9"},
        {{"tune", "12V", "10", "--device", "sim", settingsArg}, 1, "fine-tune step '10' is outside 1 to 9"},
        {{"tune", "7V", "5", "--device", "sim", settingsArg}, 1, "unknown rail '7V'"},
        {{"rail", "double", "--device", "sim", settingsArg}, 1, "rail takes single or multi"},
        {{"status", "--device", "sim", "--settings", shortFile.string()},
         1,
         "short.txt: The File permission denied or read only (the settings hold 3 values"},
        {{"status", "--device", "sim", "--settings", (dir.path() / "none.txt").string()},
         1,
         "The File permission denied or read only"},
    };
    for (const auto& c : cases) {
        const auto r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << ' ' << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
}

TEST_F(CliFixture, ReadOnlySettingsAreNeverHalfWritten)
{
    fs::permissions(settingsFile, fs::perms::owner_read);
    const auto r =
        runCli({"tune", "12V", "6", "--device", script("00 82 03 40 23 06 00 => 00 82 00 40 23 06\n"), settingsArg});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The File permission denied or read only"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(settingsFile), kDefault + "\r\n");
}

TEST(CliList, ShowsPathAndIdentifiers)
{
    const auto r = runCli({"list", "--device", "sim"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "sim:0\t04d8:f590\n");
}

// The real program, as a script would call it.
CliResult runProcess(const std::string& commandLine)
{
    const std::string command = commandLine + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buf[512];
    while (std::fgets(buf, sizeof buf, pipe)) output += buf;
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output, {}};
}

TEST(CliProcess, StatusCreatesPerUserSettingsAndExitsByOutcome)
{
    test::TempDir dir;
    const std::string env = "env -u HOME XDG_CONFIG_HOME=" + dir.path().string() + " ";
    const auto ok = runProcess(env + KVRNS_CLI_PATH " status --json --device " + kStatusScript);
    EXPECT_EQ(ok.status, 0) << ok.out;
    EXPECT_NE(ok.out.find("\"outputPower\":\"255\""), std::string::npos) << ok.out;
    EXPECT_EQ(readFile(dir.path() / "kvrns" / "TALVORN.txt"), kDefault + "\r\n");

    const auto none = runProcess(env + KVRNS_CLI_PATH " status --device sim:unplugged");
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.out, "no power supply found\n");
}

}  // namespace
}  // namespace kvrns
