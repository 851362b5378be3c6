#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <regex>

#include "app/cli/csv_log.h"
#include "cli/cli_runner.h"
#include "cli/process.h"
#include "settings/settings.h"

namespace kvrns {
namespace {

namespace fs = std::filesystem;
using test::lines;
using test::readFile;
using test::runCli;

const std::regex kIsoTime(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d)");
const std::string kHeader = cli::CsvLog::header();

struct WatchFixture : testing::Test {
    test::TempDir dir;
    fs::path settingsFile = dir.file("TALVORN.txt", std::string(settings::kDefaultLine) + "\r\n");
    std::string settingsArg = "--settings=" + settingsFile.string();
    fs::path csv = dir.path() / "log.csv";
};

// A complete row: a time stamp, 19 readings that are numbers, the warnings.
void expectCompleteRow(const std::string& row)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = row.find(',', start)) != std::string::npos; start = comma + 1)
        fields.push_back(row.substr(start, comma - start));
    fields.push_back(row.substr(start));
    ASSERT_EQ(fields.size(), 21u) << row;
    EXPECT_TRUE(std::regex_match(fields[0], kIsoTime)) << fields[0];
    for (std::size_t i = 1; i <= 19; ++i) {
        char* end = nullptr;
        std::strtod(fields[i].c_str(), &end);
        EXPECT_TRUE(!fields[i].empty() && *end == '\0') << "field " << i << " of " << row;
    }
}

TEST_F(WatchFixture, KilledMidRunTheLogLosesAtMostItsLastRow)
{
    test::Process watch(
        {KVRNS_CLI_PATH, "watch", "--device", "sim", "--interval", "0.02", "--csv", csv.string(), settingsArg}, {},
        dir.path() / "out", dir.path() / "err");
    ASSERT_TRUE(test::eventually([&] { return lines(readFile(csv)).size() >= 8; })) << readFile(dir.path() / "err");
    watch.signal(SIGKILL);
    EXPECT_EQ(watch.wait(), 128 + SIGKILL);

    const std::string text = readFile(csv);
    auto rows = lines(text);
    ASSERT_GE(rows.size(), 8u);
    EXPECT_EQ(rows.front(), kHeader);
    if (text.back() != '\n') rows.pop_back();  // the row under way when it died
    for (std::size_t i = 1; i < rows.size(); ++i) expectCompleteRow(rows[i]);
}

TEST_F(WatchFixture, TerminationEndsItBetweenCycles)
{
    for (const int sig : {SIGTERM, SIGINT}) {
        const fs::path outFile = dir.path() / ("out" + std::to_string(sig));
        const fs::path errFile = dir.path() / ("err" + std::to_string(sig));
        test::Process watch({KVRNS_CLI_PATH, "watch", "--json", "--device", "sim", "--interval", "0.05", settingsArg},
                            {}, outFile, errFile);
        ASSERT_TRUE(test::eventually([&] { return lines(readFile(outFile)).size() >= 3; }));
        watch.signal(sig);
        EXPECT_EQ(watch.wait(), 0) << readFile(errFile);
        const std::string out = readFile(outFile);
        EXPECT_EQ(out.back(), '\n');
        for (const auto& line : lines(out)) EXPECT_TRUE(line.starts_with("{\"time\":") && line.ends_with("]}")) << line;
    }
}

TEST_F(WatchFixture, RowsAppendUnderOneHeader)
{
    for (int run = 0; run < 2; ++run) {
        const auto r = runCli(
            {"watch", "--device", "sim", "--cycles", "2", "--interval", "0.01", "--csv", csv.string(), settingsArg});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(lines(r.out).size(), 2u);
    }
    const auto rows = lines(readFile(csv));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], kHeader);
    for (std::size_t i = 1; i < rows.size(); ++i) expectCompleteRow(rows[i]);
}

TEST_F(WatchFixture, ARowCutShortStaysOnItsOwnLine)
{
    const std::string cut = kHeader + "\n2024-05-01T12:00:00.000+00:00,230.0";
    test::TempDir other;
    const fs::path file = other.file("cut.csv", cut);
    const auto r = runCli({"watch", "--device", "sim", "--cycles", "1", "--csv", file.string(), settingsArg});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(readFile(file));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], "2024-05-01T12:00:00.000+00:00,230.0");
    expectCompleteRow(rows[2]);
}

TEST_F(WatchFixture, AFileWithOtherColumnsIsLeftAlone)
{
    const fs::path file = dir.file("other.csv", "date,kWh\n2024-05-01,3\n");
    const auto r = runCli({"watch", "--device", "sim", "--cycles", "1", "--csv", file.string(), settingsArg});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("holds other columns"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(readFile(file), "date,kWh\n2024-05-01,3\n");
}

TEST_F(WatchFixture, EachLineCarriesItsTime)
{
    ASSERT_EQ(setenv("TZ", "UTC", 1), 0);
    tzset();
    const auto when = std::chrono::system_clock::time_point(std::chrono::milliseconds(86400250));
    const auto json = runCli({"watch", "--json", "--device", "sim", "--cycles", "1", settingsArg}, 0, when);
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_TRUE(json.out.starts_with("{\"time\":\"1970-01-02T00:00:00.250+00:00\",\"inputVoltage\":")) << json.out;
    const auto text = runCli({"watch", "--device", "sim:current5V=23", "--cycles", "1", settingsArg}, 0, when);
    EXPECT_TRUE(text.out.starts_with("1970-01-02T00:00:00.250+00:00  ")) << text.out;
    EXPECT_NE(text.out.find("warnings: over-current +5V\n"), std::string::npos) << text.out;
}

TEST(CsvFields, QuotedOnlyWhenTheyMustBe)
{
    const std::pair<std::string, std::string> cases[] = {
        {"230.00", "230.00"}, {"a,b", "\"a,b\""}, {"say \"hi\"", "\"say \"\"hi\"\"\""}, {"", ""}};
    for (const auto& [in, out] : cases) EXPECT_EQ(cli::csvField(in), out);
    EXPECT_EQ(cli::machineNumber("230,50", NumberLocale{','}), "230.50");
}

TEST(WatchOptions, BadValuesSayWhatIsWrong)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"watch", "--interval", "0"}, "--interval takes seconds above 0"},
        {{"watch", "--interval", "-1"}, "--interval takes seconds above 0"},
        {{"watch", "--interval", "0,5"}, "not '0,5'"},
        {{"serve", "--interval", "soon"}, "not 'soon'"},
        {{"status", "--interval", "0.5"}, "--interval takes a whole number of 0 or more"},
        {{"status", "--csv", "x.csv"}, "--csv is for watch, not status"},
        {{"serve", "--prometheus-textfile", "x.prom"}, "--prometheus-textfile is for watch, not serve"},
        {{"watch", "--listen", "127.0.0.1:1"}, "--listen is for serve, not watch"},
        {{"list", "--record", "t.script"}, "--record is for the commands that talk to the supply"},
        {{"watch", "--csv="}, "--csv needs a value"},
        {{"serve", "--device", "sim", "--listen", "9877"}, "--listen takes HOST:PORT"},
        {{"serve", "--device", "sim", "--listen", "::1:9877"}, "--listen takes HOST:PORT"},
        {{"serve", "--device", "sim", "--listen", "127.0.0.1:70000"}, "--listen takes HOST:PORT"},
    };
    for (const auto& [args, message] : cases) {
        const auto r = runCli(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
}

}  // namespace
}  // namespace kvrns
