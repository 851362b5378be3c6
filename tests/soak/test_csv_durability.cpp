// kvrns-cli watch --csv killed at any moment (kill -9): the log keeps its
// header, every row of a cycle the program had gone past is whole in it,
// and the next run goes on below whatever a kill cut short.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "common/numtext.h"
#include "protocol/telemetry.h"
#include "support/temp_dir.h"

namespace kvrns {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

constexpr std::size_t kColumns = 1 + kTelemetryFields.size() + 1;  // time, readings, warnings

std::string header()
{
    std::string line = "time";
    for (const auto& field : kTelemetryFields) line += "," + std::string(field.name);
    return line + ",warnings";
}

std::vector<std::string> csvFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// A row as the program writes it: a time stamp, then readings with "." as
// the decimal point (the rated power as the supply sent it), then warnings.
bool wholeRow(const std::string& line)
{
    const auto fields = csvFields(line);
    if (fields.size() != kColumns || fields[0].size() < 19 || fields[0][10] != 'T') return false;
    for (std::size_t i = 0; i < kTelemetryFields.size(); ++i) {
        const std::string& value = fields[i + 1];
        if (kTelemetryFields[i].member == &Telemetry::ratedPower || value.empty()) continue;
        if (!parseNumber(value, NumberLocale{})) return false;
    }
    return true;
}

struct LogShape {
    std::string problem;
    long rows = 0;  // whole rows
    long cut = 0;   // rows a kill cut short
};

LogShape shapeOf(const std::string& text)
{
    LogShape shape;
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != header()) return {"the first line is not the header: " + line};
    while (std::getline(in, line)) (wholeRow(line) ? shape.rows : shape.cut)++;
    return shape;
}

TEST(CsvLogDurability, KilledWatchersLoseAtMostTheRowUnderWay)
{
    TempDir dir;
    const fs::path log = dir.path() / "watch.csv";
    const std::vector<std::string> environment{"XDG_CONFIG_HOME=" + dir.path().string(),
                                               "TMPDIR=" + dir.path().string()};
    std::mt19937 random(5);
    long finished = 0;  // rows the killed watchers had certainly written
    for (int round = 0; round < 100; ++round) {
        test::ChildProcess watcher(
            {KVRNS_CLI_PATH, "watch", "--device", "sim", "--interval", "0.002", "--csv", log.string()}, environment);
        ASSERT_TRUE(watcher.started());
        // A cycle's line is printed before its row is written: the row of
        // every line but the last is on the disk.
        const int lines = 2 + static_cast<int>(random() % 4);
        const bool printed = watcher.awaitMarks(lines, '\n');
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        ASSERT_TRUE(watcher.killNow() && printed) << "the watcher ended by itself in round " << round;
        finished += lines - 1;

        const LogShape shape = shapeOf(test::readFile(log));
        ASSERT_EQ(shape.problem, "") << "round " << round;
        ASSERT_GE(shape.rows, finished) << "round " << round;
        ASSERT_LE(shape.cut, round + 1) << "round " << round;
    }
}

}  // namespace
}  // namespace kvrns
