// A real Prometheus server scrapes `kvrns-cli serve` on loopback and
// answers a query for the supply's output power.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "app/owner/json_value.h"
#include "cli/http_get.h"
#include "cli/process.h"
#include "settings/settings.h"

namespace kvrns {
namespace {

namespace fs = std::filesystem;
using test::readFile;

int servedPort(const fs::path& errFile)
{
    std::smatch m;
    const std::string err = readFile(errFile);
    static const std::regex serving(R"(serving http://127\.0\.0\.1:([0-9]+)/metrics)");
    return std::regex_search(err, m, serving) ? std::stoi(m[1]) : 0;
}

// The first sample of an instant query's vector result, as Prometheus's
// HTTP API gives it.
std::optional<double> queryValue(int port, const std::string& escapedQuery, std::string* job = nullptr)
{
    const auto reply = test::httpGet(port, "/api/v1/query?query=" + escapedQuery);
    if (!reply || reply->status != 200) return std::nullopt;
    const auto json = owner::parseJson(reply->body);
    const owner::JsonValue* data = json ? json->member("data") : nullptr;
    const owner::JsonValue* result = data ? data->member("result") : nullptr;
    if (!result || !result->asArray() || result->asArray()->empty()) return std::nullopt;
    const owner::JsonValue& first = result->asArray()->front();
    const owner::JsonValue* value = first.member("value");
    if (!value || !value->asArray() || value->asArray()->size() != 2) return std::nullopt;
    const std::string* text = value->asArray()->at(1).asString();
    if (job && first.member("metric") && first.member("metric")->member("job"))
        *job = *first.member("metric")->member("job")->asString();
    return text ? std::optional<double>(std::stod(*text)) : std::nullopt;
}

TEST(PrometheusScrape, APrometheusServerReadsTheSupply)
{
    test::TempDir dir;
    const std::string settingsArg =
        "--settings=" + dir.file("TALVORN.txt", std::string(settings::kDefaultLine) + "\r\n").string();
    const fs::path serveErr = dir.path() / "serve.err";
    test::Process serve(
        {KVRNS_CLI_PATH, "serve", "--device", "sim", "--listen", "127.0.0.1:0", "--interval", "0.25", settingsArg}, {},
        dir.path() / "serve.out", serveErr);
    ASSERT_TRUE(test::eventually([&] { return servedPort(serveErr) > 0; })) << readFile(serveErr);

    const int prometheusPort = test::freeLoopbackPort();
    ASSERT_GT(prometheusPort, 0);
    std::ofstream(dir.path() / "prometheus.yml") << "global:\n"
                                                    "  scrape_interval: 1s\n"
                                                    "  evaluation_interval: 1s\n"
                                                    "scrape_configs:\n"
                                                    "  - job_name: kvrns\n"
                                                    "    static_configs:\n"
                                                    "      - targets: ['127.0.0.1:"
                                                 << servedPort(serveErr) << "']\n";
    const fs::path prometheusErr = dir.path() / "prometheus.err";
    test::Process prometheus({KVRNS_PROMETHEUS, "--config.file=" + (dir.path() / "prometheus.yml").string(),
                              "--storage.tsdb.path=" + (dir.path() / "data").string(),
                              "--web.listen-address=127.0.0.1:" + std::to_string(prometheusPort), "--log.level=warn"},
                             {}, dir.path() / "prometheus.out", prometheusErr);

    std::optional<double> watts;
    std::string job;
    ASSERT_TRUE(test::eventually(
        [&] { return (watts = queryValue(prometheusPort, "kvrns_output_power_watts", &job)).has_value(); },
        std::chrono::seconds(90)))
        << readFile(prometheusErr);
    EXPECT_EQ(job, "kvrns");
    EXPECT_GT(*watts, 0);
    EXPECT_LT(*watts, 650);  // the simulated supply's rated power
    const auto volts = queryValue(prometheusPort, "kvrns_rail_voltage_volts%7Brail%3D%22%2B12V1%22%7D");
    ASSERT_TRUE(volts);
    EXPECT_NEAR(*volts, 12, 0.5);
    EXPECT_EQ(queryValue(prometheusPort, "kvrns_device_present"), 1.0);

    prometheus.signal(SIGTERM);
    EXPECT_EQ(prometheus.wait(), 0) << readFile(prometheusErr);
    serve.signal(SIGTERM);
    EXPECT_EQ(serve.wait(), 0) << readFile(serveErr);
}

}  // namespace
}  // namespace kvrns
