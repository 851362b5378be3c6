#include <gtest/gtest.h>

#include "settings/settings.h"
#include "support/temp_dir.h"

namespace kvrns {
namespace {

namespace fs = std::filesystem;
using test::readFile;

const std::string kSingleRail = "0;22;22;50;35;22;22;50;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;0;0;0;";

struct SeedFixture : testing::Test {
    test::TempDir dir;
    fs::path bin = dir.path() / "usr" / "bin";
    fs::path seed = dir.path() / "usr" / "share" / "kvrns" / "TALVORN.txt";
    fs::path config = dir.path() / "config";
    std::string configText = config.string();

    SeedFixture()
    {
        fs::create_directories(bin);
        fs::create_directories(seed.parent_path());
    }
    settings::SettingsLocation locate()
    {
        return settings::locateSettings(std::nullopt, bin, [this](const char* name) -> const char* {
            return std::string(name) == "XDG_CONFIG_HOME" ? configText.c_str() : nullptr;
        });
    }
};

TEST_F(SeedFixture, ANewUserStartsFromTheInstalledDefaults)
{
    std::ofstream(seed, std::ios::binary) << kSingleRail << "\r\n";
    const auto location = locate();
    EXPECT_EQ(location.seedFile, bin / ".." / "share" / "kvrns" / "TALVORN.txt");
    const auto loaded = settings::loadSettings(location, NumberLocale{});
    ASSERT_TRUE(loaded.values) << loaded.detail;
    EXPECT_EQ(readFile(config / "kvrns" / "TALVORN.txt"), kSingleRail + "\r\n");
    EXPECT_EQ((*loaded.values)[settings::RailMode], "0");
}

TEST_F(SeedFixture, ABrokenOrMissingSeedFallsBackToTheBuiltInLine)
{
    const std::string builtIn = std::string(settings::kDefaultLine) + "\r\n";
    for (const std::string& seedText : {std::string("0;1;2\r\n"), std::string()}) {
        fs::remove_all(config);
        fs::remove(seed);
        if (!seedText.empty()) std::ofstream(seed, std::ios::binary) << seedText;
        const auto loaded = settings::loadSettings(locate(), NumberLocale{});
        ASSERT_TRUE(loaded.values) << loaded.detail;
        EXPECT_EQ(readFile(config / "kvrns" / "TALVORN.txt"), builtIn);
    }
}

TEST_F(SeedFixture, AnExistingUserFileIsNeverReseeded)
{
    std::ofstream(seed, std::ios::binary) << kSingleRail << "\r\n";
    fs::create_directories(config / "kvrns");
    const std::string mine = std::string(settings::kDefaultLine) + ";\r\n";
    std::ofstream(config / "kvrns" / "TALVORN.txt", std::ios::binary) << mine;
    ASSERT_TRUE(settings::loadSettings(locate(), NumberLocale{}).values);
    EXPECT_EQ(readFile(config / "kvrns" / "TALVORN.txt"), mine);
}

TEST(SeedFile, TheShippedDefaultsAreTheBuiltInLine)
{
    EXPECT_EQ(readFile(KVRNS_SOURCE_DIR "/packaging/TALVORN.txt"), std::string(settings::kDefaultLine) + "\r\n");
}

}  // namespace
}  // namespace kvrns
