#include <gtest/gtest.h>

#include "settings/settings.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace kvrns::settings {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;

const NumberLocale kDot{'.'};
const NumberLocale kComma{','};
const std::string kDefault(kDefaultLine);

TEST(ReadSettings, AcceptedShapes)
{
    struct Case {
        const char* name;
        std::string text;
        std::size_t count;
    };
    const Case cases[] = {
        {"default", kDefault, 24},
        {"finalSemicolon", kDefault + ";\r\n", 25},
        {"brokenOverLines", "0;22;22;35;35;22;22;35;35;3.9;6.1;13.8;\r\n3.75;5.70;13.10;5;5;5;\n3.30;5.00;12.00;1;0;0",
         24},
        {"thirtyValues", kDefault + ";1;2;3;4;5;6", 30},
    };
    for (const auto& c : cases) {
        const auto outcome = parseSettingsText(c.text, kDot);
        ASSERT_TRUE(outcome.values) << c.name << ": " << outcome.detail;
        EXPECT_EQ(outcome.values->size(), c.count) << c.name;
        EXPECT_EQ((*outcome.values)[Ovp3V3], "3.9") << c.name;
        EXPECT_EQ(settingsLine(*outcome.values), kDefault + ";") << c.name;
    }
}

TEST(ReadSettings, RefusedShapes)
{
    EXPECT_FALSE(
        parseSettingsText("0;22;22;35;35;22;22;35;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;1;0", kDot)
            .values);
    EXPECT_FALSE(parseSettingsText("", kDot).values);
    std::string huge = kDefault;
    huge.replace(huge.find(";1;0;0"), 6, ";1e400;0;0");
    EXPECT_FALSE(parseSettingsText(huge, kDot).values);
}

TEST(ReadSettings, DecimalCommaLocaleReadsBothForms)
{
    auto values = *parseSettingsText(kDefault, kComma).values;
    EXPECT_EQ(values[WarnVolt3V3], "3,75");
    EXPECT_EQ(parseNumber(values[WarnVolt3V3], kComma), 3.75);
    values =
        *parseSettingsText("0;22;22;35;35;22;22;35;35;3,9;6,1;13,8;3,7;5,70;13,10;5;5;5;3,30;5,00;12,00;1;0;0", kComma)
             .values;
    EXPECT_EQ(parseNumber(values[WarnVolt3V3], kComma), 3.7);
    EXPECT_EQ(valueText(*parseNumber(values[WarnVolt3V3], kComma) + 0.05, kComma), "3,75");
}

TEST(RailMode, LeadingNumberOfFieldTwentyOne)
{
    auto values = defaultValues();
    for (const auto& [text, mode] : std::vector<std::pair<std::string, int>>{
             {"1", 1}, {"0", 0}, {"2", 2}, {"x", 0}, {"", 0}, {"1.5", 2}, {"0.5", 0}, {"1abc", 1}}) {
        values[RailMode] = text;
        EXPECT_EQ(railModeOf(values), mode) << text;
    }
}

TEST(SettingsView, ShowsUnitsAndHidesTheSecondRailInSingleMode)
{
    auto values = defaultValues();
    values[WarnVolt3V3] = "3.7";
    values[Ovp5V] = "six";
    auto view = viewOf(values, 1, kDot);
    EXPECT_EQ(view.GLabel_txt, (std::array<std::string, 4>{"22A", "22A", "35A", "35A"}));
    EXPECT_EQ(view.KLabel_txt, (std::array<std::string, 3>{"3.90V", "sixV", "13.80V"}));
    EXPECT_EQ(view.LLabel_txt, (std::array<std::string, 3>{"3.70V", "5.70V", "13.10V"}));
    EXPECT_EQ(view.ILabel_txt, (std::array<std::string, 3>{"3.30", "5.00", "12.00"}));
    view = viewOf(values, 0, kDot);
    EXPECT_FALSE(view.secondRailShown);
    EXPECT_EQ(view.HLabel_txt[3], "");
    EXPECT_EQ(view.GLabel_txt[3], "");
}

TEST(ValueText, RunTimeFormsOfChangedValues)
{
    EXPECT_EQ(valueText(3.70 + 0.05, kDot), "3.75");
    EXPECT_EQ(valueText(3.75 - 0.05, kDot), "3.7");
    EXPECT_EQ(valueText(22, kDot), "22");
    EXPECT_EQ(valueText(13.1 - 0.1, kDot), "13");
}

TEST(WriteSettings, WritesTwentyFourFieldsAndCrLf)
{
    TempDir dir;
    const auto path = dir.file("TALVORN.txt", kDefault + ";1;2;3;4;5;6");
    auto values = *readSettingsFile(path, kDot).values;
    values[WarnCur3V3] = "21";
    ASSERT_EQ(writeSettingsFile(path, values), WriteStatus::Ok);
    EXPECT_EQ(readFile(path),
              "0;22;22;35;35;21;22;35;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;1;0;0;\r\n");
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename(), "TALVORN.txt") << "left behind: " << entry.path();
}

TEST(WriteSettings, ReadOnlyFileIsRefusedAndLeftUntouched)
{
    TempDir dir;
    const auto path = dir.file("TALVORN.txt", kDefault);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    auto values = defaultValues();
    values[WarnCur3V3] = "19";
    std::string error;
    EXPECT_EQ(writeSettingsFile(path, values, &error), WriteStatus::AccessDenied);
    EXPECT_EQ(readFile(path), kDefault);
    EXPECT_TRUE(readSettingsFile(path, kDot).values);  // and it still loads
}

TEST(WriteSettings, AFailedWriteLeavesTheOldContentAndNoTemporary)
{
    TempDir dir;
    const auto path = dir.path() / "missing-folder" / "TALVORN.txt";
    EXPECT_NE(writeSettingsFile(path, defaultValues()), WriteStatus::Ok);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(WriteSettings, KeepsTheFilesPermissions)
{
    TempDir dir;
    const auto path = dir.file("TALVORN.txt", kDefault);
    const auto perms = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(path, perms);
    ASSERT_EQ(writeSettingsFile(path, defaultValues()), WriteStatus::Ok);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, perms);
}

TEST(LocateSettings, OverrideThenPortableThenPerUser)
{
    TempDir dir;
    auto env = [&](const char* name) -> const char* {
        static std::string home, xdg;
        home = (dir.path() / "home").string();
        xdg = (dir.path() / "xdg").string();
        if (std::string(name) == "HOME") return home.c_str();
        if (std::string(name) == "XDG_CONFIG_HOME") return xdg.c_str();
        return nullptr;
    };
    const auto exeDir = dir.path() / "bin";
    fs::create_directories(exeDir);

    auto where = locateSettings(fs::path("/elsewhere/s.txt"), exeDir, env);
    EXPECT_EQ(where.path, "/elsewhere/s.txt");
    EXPECT_FALSE(where.createIfMissing);

    where = locateSettings(std::nullopt, exeDir, env);
    EXPECT_EQ(where.path, dir.path() / "xdg" / "kvrns" / "TALVORN.txt");
    EXPECT_TRUE(where.createIfMissing);
    const auto loaded = loadSettings(where, kDot);
    ASSERT_TRUE(loaded.values) << loaded.detail;
    EXPECT_EQ(readFile(where.path), kDefault + "\r\n");

    dir.file("bin/TALVORN.txt", kDefault);
    EXPECT_EQ(locateSettings(std::nullopt, exeDir, env).path, exeDir / "TALVORN.txt");

    auto noXdg = [&](const char* name) -> const char* {
        return std::string(name) == "XDG_CONFIG_HOME" ? nullptr : env(name);
    };
    EXPECT_EQ(locateSettings(std::nullopt, dir.path(), noXdg).path,
              dir.path() / "home" / ".config" / "kvrns" / "TALVORN.txt");
}

TEST(LoadSettings, AnExplicitFileThatIsMissingIsRefusedNotCreated)
{
    TempDir dir;
    const auto outcome = loadSettings({dir.path() / "nope.txt", false}, kDot);
    EXPECT_FALSE(outcome.values);
    EXPECT_FALSE(fs::exists(dir.path() / "nope.txt"));
}

TEST(SettingsStore, RailModeFollowsFieldTwentyOne)
{
    SettingsStore store;
    EXPECT_EQ(store.railMode(), 1);
    store.setRailMode(0);
    EXPECT_EQ(store.value(RailMode), "0");
    auto values = defaultValues();
    values[RailMode] = "2";
    store.replace(values);
    EXPECT_EQ(store.railMode(), 2);
}

}  // namespace
}  // namespace kvrns::settings
