#include <gtest/gtest.h>

#include <regex>

#include "app/cli/metrics.h"
#include "app/owner/json_value.h"
#include "cli/cli_runner.h"
#include "cli/http_get.h"
#include "cli/metrics_page.h"
#include "device/script_supply.h"
#include "device/sim_supply.h"
#include "settings/settings.h"

namespace kvrns {
namespace {

namespace fs = std::filesystem;
using test::parseMetricsPage;
using test::readFile;

TickReport cycleOf(device::HidBackend& backend)
{
    device::DeviceLink link(backend);
    settings::SettingsStore store;
    Engine engine(link, store, NumberLocale{});
    engine.discover();
    return engine.tick();
}

TEST(Metrics, EveryReadingWithItsUnitInTheName)
{
    auto script = device::ScriptSupply::fromFile(KVRNS_TEST_DATA "/status.script");
    cli::SupplyMetrics metrics(NumberLocale{});
    metrics.update(cycleOf(*script));
    const auto page = parseMetricsPage(metrics.text());
    const std::map<std::string, double> expected = {
        {"kvrns_device_present", 1},
        {"kvrns_input_voltage_volts", 230},
        {"kvrns_input_current_amperes", 1.25},
        {"kvrns_input_power_watts", 271.28},
        {"kvrns_power_factor_ratio", 0.94},
        {"kvrns_rail_current_amperes{rail=\"+3.3V\"}", 5},
        {"kvrns_rail_current_amperes{rail=\"+5V\"}", 4},
        {"kvrns_rail_current_amperes{rail=\"+12V1\"}", 10},
        {"kvrns_rail_current_amperes{rail=\"+12V2\"}", 8.2},
        {"kvrns_rail_voltage_volts{rail=\"+3.3V\"}", 3.3},
        {"kvrns_rail_voltage_volts{rail=\"+5V\"}", 5},
        {"kvrns_rail_voltage_volts{rail=\"+12V1\"}", 12},
        {"kvrns_rail_voltage_volts{rail=\"+12V2\"}", 12},
        {"kvrns_temperature_celsius{sensor=\"1\"}", 45},
        {"kvrns_temperature_celsius{sensor=\"2\"}", 45},
        {"kvrns_rated_power_watts", 650},
        {"kvrns_output_power_watts", 255},
        {"kvrns_efficiency_ratio", 0.94},
        {"kvrns_load_ratio", 0.39},
        {"kvrns_warning_active{kind=\"over-current\",rail=\"+3.3V\"}", 0},
        {"kvrns_warning_active{kind=\"over-current\",rail=\"+5V\"}", 0},
        {"kvrns_warning_active{kind=\"over-current\",rail=\"+12V1\"}", 0},
        {"kvrns_warning_active{kind=\"over-current\",rail=\"+12V2\"}", 0},
        {"kvrns_warning_active{kind=\"over-voltage\",rail=\"+3.3V\"}", 0},
        {"kvrns_warning_active{kind=\"over-voltage\",rail=\"+5V\"}", 0},
        {"kvrns_warning_active{kind=\"over-voltage\",rail=\"+12V1\"}", 0},
        {"kvrns_warning_active{kind=\"over-temperature\"}", 0},
    };
    EXPECT_EQ(page.samples, expected);
}

TEST(Metrics, RaisedWarningsAreOne)
{
    device::SimSupply sim([] { return 0.0; });
    ASSERT_FALSE(sim.applyOption("current5V=23"));
    ASSERT_FALSE(sim.applyOption("temperature2=101"));
    cli::SupplyMetrics metrics(NumberLocale{});
    metrics.update(cycleOf(sim));
    const auto page = parseMetricsPage(metrics.text());
    EXPECT_EQ(page.samples.at("kvrns_warning_active{kind=\"over-current\",rail=\"+5V\"}"), 1);
    EXPECT_EQ(page.samples.at("kvrns_warning_active{kind=\"over-temperature\"}"), 1);
    EXPECT_EQ(page.samples.at("kvrns_warning_active{kind=\"over-current\",rail=\"+3.3V\"}"), 0);
}

TEST(Metrics, ReadingsGoWithTheSupply)
{
    auto script = device::ScriptSupply::fromFile(KVRNS_TEST_DATA "/status.script");
    cli::SupplyMetrics metrics(NumberLocale{});
    metrics.update(cycleOf(*script));
    TickReport lost;
    lost.kind = TickKind::Rediscovery;
    metrics.update(lost);
    const auto page = parseMetricsPage(metrics.text());
    EXPECT_EQ(page.names, (std::set<std::string>{"kvrns_device_present", "kvrns_warning_active"}));
    EXPECT_EQ(page.samples.at("kvrns_device_present"), 0);
}

TEST(Metrics, ADecimalCommaLocaleStillGivesNumbers)
{
    TickReport report;
    report.kind = TickKind::Cycle;
    report.devicePresent = true;
    report.telemetry.inputVoltage = "230,50";
    report.telemetry.efficiency = "91";
    cli::SupplyMetrics metrics(NumberLocale{','});
    metrics.update(report);
    const auto page = parseMetricsPage(metrics.text());
    EXPECT_EQ(page.samples.at("kvrns_input_voltage_volts"), 230.5);
    EXPECT_EQ(page.samples.at("kvrns_efficiency_ratio"), 0.91);
    EXPECT_EQ(page.samples.count("kvrns_load_ratio"), 0u);  // empty until the first readout
}

struct MetricsFiles : testing::Test {
    test::TempDir dir;
    std::string settingsArg =
        "--settings=" + dir.file("TALVORN.txt", std::string(settings::kDefaultLine) + "\r\n").string();
};

TEST_F(MetricsFiles, WatchWritesTheTextfileWhole)
{
    const fs::path prom = dir.path() / "kvrns.prom";
    const auto r = test::runCli({"watch", "--device", "script:" KVRNS_TEST_DATA "/status.script", "--cycles", "2",
                                 "--interval", "0.01", "--prometheus-textfile", prom.string(), settingsArg});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto page = parseMetricsPage(readFile(prom));
    EXPECT_EQ(page.samples.at("kvrns_output_power_watts"), 255);
    for (const auto& entry : fs::directory_iterator(dir.path()))  // no temporary file left beside it
        EXPECT_TRUE(entry.path().filename() == "kvrns.prom" || entry.path().filename() == "TALVORN.txt")
            << entry.path();

    const auto nowhere = test::runCli({"watch", "--device", "sim", "--cycles", "1", "--prometheus-textfile",
                                       (dir.path() / "none" / "kvrns.prom").string(), settingsArg});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_NE(nowhere.err.find("none/kvrns.prom"), std::string::npos) << nowhere.err;
}

int servedPort(const fs::path& errFile)
{
    std::smatch m;
    const std::string err = readFile(errFile);
    static const std::regex serving(R"(serving http://127\.0\.0\.1:([0-9]+)/metrics)");
    return std::regex_search(err, m, serving) ? std::stoi(m[1]) : 0;
}

TEST_F(MetricsFiles, ServeExposesThePageAndEndsOnTermination)
{
    const fs::path err = dir.path() / "err";
    test::Process serve(
        {KVRNS_CLI_PATH, "serve", "--device", "sim", "--listen", "127.0.0.1:0", "--interval", "0.1", settingsArg}, {},
        dir.path() / "out", err);
    ASSERT_TRUE(test::eventually([&] { return servedPort(err) > 0; })) << readFile(err);
    std::optional<test::HttpReply> reply;
    ASSERT_TRUE(test::eventually([&] {
        reply = test::httpGet(servedPort(err), "/metrics");
        return reply && reply->body.find("kvrns_output_power_watts") != std::string::npos;
    }));
    EXPECT_EQ(reply->status, 200);
    const auto page = parseMetricsPage(reply->body);
    EXPECT_EQ(page.samples.at("kvrns_device_present"), 1);
    EXPECT_EQ(page.samples.at("kvrns_rated_power_watts"), 650);

    // A second server on the same port says why it cannot start.
    const auto taken = test::runCli({"serve", "--device", "sim", "--listen",
                                     "127.0.0.1:" + std::to_string(servedPort(err)), "--cycles", "1", settingsArg});
    EXPECT_EQ(taken.status, 1);
    EXPECT_NE(taken.err.find("cannot listen on 127.0.0.1:"), std::string::npos) << taken.err;

    serve.signal(SIGTERM);
    EXPECT_EQ(serve.wait(), 0) << readFile(err);
}

TEST(GrafanaDashboard, PlotsOnlyWhatIsServed)
{
    const std::string json = readFile(KVRNS_SOURCE_DIR "/packaging/grafana/kvrns-dashboard.json");
    std::string problem;
    ASSERT_TRUE(owner::parseJson(json, &problem)) << problem;

    device::SimSupply sim([] { return 0.0; });
    cli::SupplyMetrics metrics(NumberLocale{});
    metrics.update(cycleOf(sim));
    const auto served = parseMetricsPage(metrics.text()).names;
    std::set<std::string> plotted;
    const std::regex name(R"(kvrns_[a-z_]+)");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), name); it != std::sregex_iterator(); ++it)
        plotted.insert(it->str());
    EXPECT_GE(plotted.size(), 10u);
    for (const auto& n : plotted) EXPECT_TRUE(served.count(n)) << n << " is plotted but never served";
}

}  // namespace
}  // namespace kvrns
