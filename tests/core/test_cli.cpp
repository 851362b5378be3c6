#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/cli/cli.h"

namespace kvrns {
namespace {

struct CliResult {
    int status;
    std::string out, err;
};

CliResult runCli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int status = cli::run(args, {out, err, NumberLocale{}, [] { return 0.0; }});
    return {status, out.str(), err.str()};
}

const std::string kScript = std::string("script:") + KVRNS_TEST_DATA "/status.script";

TEST(CliStatus, JsonHoldsEveryValueAsTheSupplySentIt)
{
    const auto r = runCli({"status", "--device", kScript, "--json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"voltage12V\":\"12\",\"current12V1\":\"10\",\"voltage5V\":\"5\",\"current5V\":\"4\","
              "\"voltage3V3\":\"3.3\",\"current3V3\":\"5\",\"voltage12V2\":\"12\",\"current12V2\":\"8.2\","
              "\"inputVoltage\":\"230\",\"inputCurrent\":\"1.25\",\"inputWatt\":\"271\",\"temperature\":\"45.5\","
              "\"temperature2\":\"45\",\"ratedPower\":\"0650\"}\n");
}

TEST(CliStatus, TableHasUnits)
{
    const auto r = runCli({"status", "--device=" + kScript});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("voltage12V      12 V\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("ratedPower      0650 W\n"), std::string::npos);
}

TEST(CliErrors, ExitStatusAndMessageSayWhatIsWrong)
{
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"status", "--device", "sim:unplugged"}, 2, "no power supply found\n"},
        {{"list", "--device", "sim:unplugged"}, 2, "no power supply found\n"},
        {{"status", "--device", "usb"}, 1, "kvrns-cli: --device 'usb' is not one of auto | hid"},
        {{"status", "--device", "script:/nonexistent.script"}, 1, "/nonexistent.script: cannot read the script file"},
        {{"status", "--device", "sim:smoke"}, 1, "unknown simulated fault 'smoke'"},
        {{"status", "--device"}, 1, "--device needs a value"},
        {{"frobnicate"}, 1, "unknown command 'frobnicate'"},
        {{"status", "--colour"}, 1, "unknown argument '--colour'"},
    };
    for (const auto& c : cases) {
        const auto r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << ' ' << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(CliList, ShowsPathAndIdentifiers)
{
    const auto r = runCli({"list", "--device", "sim"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "sim:0\t04d8:f590\n");
}

// The real program, as a script would call it.
CliResult runProcess(const std::string& args)
{
    const std::string command = std::string(KVRNS_CLI_PATH) + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buf[512];
    while (std::fgets(buf, sizeof buf, pipe)) output += buf;
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output, {}};
}

TEST(CliProcess, StatusJsonAndExitStatus)
{
    const auto ok = runProcess("status --json --device " + kScript);
    EXPECT_EQ(ok.status, 0) << ok.out;
    EXPECT_NE(ok.out.find("\"ratedPower\":\"0650\""), std::string::npos);
    const auto none = runProcess("status --device sim:unplugged");
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.out, "no power supply found\n");
}

}  // namespace
}  // namespace kvrns
