// Settings files no program of ours would write, read from real files: each
// loads by the reading rules or is refused, none crashes or hangs, and
// reading never changes the file.
#include <gtest/gtest.h>

#include "settings/settings.h"
#include "support/temp_dir.h"

namespace kvrns::settings {
namespace {

using test::readFile;
using test::TempDir;

const NumberLocale kDot{'.'};
const NumberLocale kComma{','};
const std::string kDefault(kDefaultLine);

std::string withField(int field, const std::string& text)
{
    SettingValues values = defaultValues();
    values[static_cast<std::size_t>(field)] = text;
    return settingsLine(values);
}

std::string repeated(const std::string& piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

struct Hostile {
    const char* name;
    std::string content;
    NumberLocale locale;
    bool loads;
    std::size_t count = 0;  // values loaded
    int field = 0;          // and one of them, as read
    std::string expected{};
};

std::vector<Hostile> hostileFiles()
{
    const std::string tenMegabytes = repeated("9", 10 << 20);
    std::string nulInside = kDefault;
    nulInside[kDefault.find("3.9")] = '\0';
    return {
        {"empty", "", kDot, false},
        {"onlyLineEnds", "\r\n\n\r\n", kDot, false},
        {"hugeLineNoSeparator", tenMegabytes, kDot, false},
        {"hugeField", withField(Co2Factor, tenMegabytes), kDot, true, 25, ElectricityFare, "0"},
        {"nulBytesInside", nulInside, kDot, true, 24, Ovp3V3, std::string("\0.9", 3)},
        {"onlyNulBytes", std::string(4096, '\0'), kDot, false},
        {"tenThousandFields", kDefault + repeated(";7", 10000 - 24), kDot, true, 10000, 9999, "7"},
        {"nonNumericEverywhere", repeated("x;", 23) + "x", kDot, true, 24, RailMode, "x"},
        {"railMode1e400", withField(RailMode, "1e400"), kDot, false},
        {"railModeBeyond16Bits", withField(RailMode, "40000"), kDot, false},
        {"railModeNegativeExponent", withField(RailMode, "1e-400"), kDot, true, 25, RailMode, "1e-400"},
        {"decimalCommaInDotLocale", withField(WarnVolt3V3, "3,75"), kDot, true, 25, WarnVolt3V3, "3,75"},
        {"decimalPointInCommaLocale", kDefault, kComma, true, 24, WarnVolt3V3, "3,75"},
        {"binaryGarbage", repeated(std::string("\xFF\xFE;\x01\x80", 5), 40), kDot, true, 41, 1, "\x01\x80\xFF\xFE"},
    };
}

TEST(HostileSettings, LoadByTheReadingRulesOrAreRefused)
{
    TempDir dir;
    for (const Hostile& c : hostileFiles()) {
        SCOPED_TRACE(c.name);
        const auto path = dir.file(std::string(c.name) + ".txt", c.content);
        for (const bool create : {false, true}) {
            const ReadOutcome outcome = loadSettings({path, create}, c.locale);
            ASSERT_EQ(outcome.values.has_value(), c.loads) << outcome.detail;
            if (!c.loads) {
                EXPECT_FALSE(outcome.detail.empty());
                continue;
            }
            ASSERT_EQ(outcome.values->size(), c.count);
            EXPECT_EQ((*outcome.values)[static_cast<std::size_t>(c.field)], c.expected);
            EXPECT_TRUE(railModeOf(*outcome.values).has_value());
            viewOf(*outcome.values, *railModeOf(*outcome.values), c.locale);
        }
        EXPECT_EQ(readFile(path), c.content) << "reading changed the file";
    }
}

TEST(HostileSettings, UnreadablePathsAreRefused)
{
    TempDir dir;
    EXPECT_FALSE(readSettingsFile(dir.path() / "missing.txt", kDot).values);
    EXPECT_FALSE(readSettingsFile(dir.path(), kDot).values) << "a folder is not a settings file";
}

}  // namespace
}  // namespace kvrns::settings
