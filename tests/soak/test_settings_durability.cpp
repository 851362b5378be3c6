// A writer killed at any moment (kill -9) leaves a settings file that reads,
// holding either the old line or the new one; the temporary files killed
// writers leave behind never disturb a read and are cleared once stale.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "child_process.h"
#include "durability_lines.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace kvrns::settings {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::vector<fs::path> temporariesBeside(const fs::path& path)
{
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(path.parent_path()))
        if (entry.path().filename().string().rfind(path.filename().string() + ".tmp-", 0) == 0)
            found.push_back(entry.path());
    return found;
}

TEST(SettingsDurability, KilledWritersLeaveTheOldOrTheNewLine)
{
    TempDir dir;
    const fs::path path = dir.path() / std::string(kFileName);
    const std::string first = settingsLine(test::firstSettings());
    const std::string second = settingsLine(test::secondSettings());
    ASSERT_EQ(writeSettingsFile(path, test::firstSettings()), WriteStatus::Ok);

    std::mt19937 random(7);
    int seenFirst = 0, seenSecond = 0, leftBehind = 0;
    for (int round = 0; round < 300; ++round) {
        test::ChildProcess writer({KVRNS_SETTINGS_WRITER, path.string()});
        ASSERT_TRUE(writer.started()) << "cannot start " << KVRNS_SETTINGS_WRITER;
        // Kill it somewhere inside one of its next writes.
        const bool wrote = writer.awaitMarks(1 + static_cast<int>(random() % 3), 'w');
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 1500));
        const bool killed = writer.killNow();
        ASSERT_TRUE(wrote && killed) << "the writer ended by itself in round " << round;

        const ReadOutcome outcome = readSettingsFile(path, NumberLocale{});
        ASSERT_TRUE(outcome.values) << "round " << round << ": " << outcome.detail;
        const std::string line = settingsLine(*outcome.values);
        ASSERT_TRUE(line == first || line == second) << "round " << round << ": " << line;
        (line == first ? seenFirst : seenSecond)++;
        leftBehind = static_cast<int>(temporariesBeside(path).size());
    }
    // Both lines turned up, so the kills fell at different points of the loop.
    EXPECT_GT(seenFirst, 0);
    EXPECT_GT(seenSecond, 0);
    std::printf("first line %d times, second %d times; %d temporary files left by killed writers\n", seenFirst,
                seenSecond, leftBehind);
}

TEST(SettingsDurability, StaleTemporariesAreClearedByTheNextWrite)
{
    TempDir dir;
    const fs::path path = dir.path() / std::string(kFileName);
    ASSERT_EQ(writeSettingsFile(path, test::firstSettings()), WriteStatus::Ok);
    const auto stale = dir.file(std::string(kFileName) + ".tmp-999999-3", "0;22;2");
    const auto young = dir.file(std::string(kFileName) + ".tmp-999998-0", "0;22;22;35");
    const auto other = dir.file("other.txt.tmp-999999-3", "not ours");
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(2);
    fs::last_write_time(stale, past);
    fs::last_write_time(other, past);

    ASSERT_TRUE(readSettingsFile(path, NumberLocale{}).values) << "leftovers disturb a read";
    ASSERT_EQ(writeSettingsFile(path, test::secondSettings()), WriteStatus::Ok);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(young)) << "a write may still be under way";
    EXPECT_TRUE(fs::exists(other)) << "another file's temporaries are not ours";
    EXPECT_EQ(settingsLine(*readSettingsFile(path, NumberLocale{}).values), settingsLine(test::secondSettings()));
}

}  // namespace
}  // namespace kvrns::settings
