// The settings file TALVORN.txt: one line of 24 values separated by ";",
// held at run time as the list of texts settingValues.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/atomic_file.h"
#include "common/numtext.h"

namespace kvrns::settings {

enum Field : int {
    NoIntroNotice = 0,
    Ocp3V3,
    Ocp5V,
    Ocp12V1,
    Ocp12V2,
    WarnCur3V3,
    WarnCur5V,
    WarnCur12V1,
    WarnCur12V2,
    Ovp3V3,
    Ovp5V,
    Ovp12V,
    WarnVolt3V3,
    WarnVolt5V,
    WarnVolt12V,
    TuneStep3V3,
    TuneStep5V,
    TuneStep12V,
    InitVolt3V3,
    InitVolt5V,
    InitVolt12V,
    RailMode,
    Co2Factor,
    ElectricityFare,
};

inline constexpr int kFieldCount = 24;
inline constexpr std::string_view kFileName = "TALVORN.txt";
inline constexpr std::string_view kDefaultLine =
    "0;22;22;35;35;22;22;35;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;1;0;0";
inline constexpr std::string_view kFailureMessage = "The File permission denied or read only";

// At least 24 texts after a successful read; a final ";" leaves an extra
// empty item, which is never written back.
using SettingValues = std::vector<std::string>;

struct ReadOutcome {
    std::optional<SettingValues> values;  // nothing: refuse with kFailureMessage
    std::string detail;                   // why, for logs and the command line
};

// The reading rules on a file's whole text: lines joined with nothing
// between them; in a decimal-comma locale every "." becomes ","; split at
// every ";"; fewer than 24 values refused.
ReadOutcome parseSettingsText(std::string_view text, NumberLocale locale);
ReadOutcome readSettingsFile(const std::filesystem::path& path, NumberLocale locale);

// The line as the program writes it: fields 0 to 23 each followed by ";",
// then CR LF.
std::string settingsLine(const SettingValues& values);

// Replaces the file atomically. AccessDenied is the case the user is told
// about with kFailureMessage; the file then keeps its old content.
WriteStatus writeSettingsFile(const std::filesystem::path& path, const SettingValues& values,
                              std::string* error = nullptr);
WriteStatus writeSettingsLine(const std::filesystem::path& path, std::string_view line, std::string* error = nullptr);

// The default list, as the reset writes it.
SettingValues defaultValues();

// railMode from field 21 by the leading-number rule: non-zero is multiple
// rails. Nothing when the value does not fit a 16-bit whole number (the
// file is then refused).
std::optional<int> railModeOf(const SettingValues& values);

// The intro notice's switch: field 0 by the leading-number rule, halves to
// even (1.4 skips the notice, 0.5 and 1.5 show it). Non-numeric text is 0.
int introFlagOf(const SettingValues& values);
// "Do not remind me again": "1;" then fields 1 to 23, each followed by ";".
std::string introOffLine(const SettingValues& values);

// A run-time value written back into the list: whole numbers as their
// digits, others with at most 15 significant digits and the locale's
// separator (3.70 + 0.05 gives 3.75).
std::string valueText(double value, NumberLocale locale);

// What the dashboard shows from the settings: protection levels and
// warning points with their units, and the initial output voltages.
struct SettingsView {
    std::array<std::string, 4> GLabel_txt;  // over-current protection, "22A"
    std::array<std::string, 4> HLabel_txt;  // current warning points, "22A"
    std::array<std::string, 3> KLabel_txt;  // over-voltage protection, "3.90V"
    std::array<std::string, 3> LLabel_txt;  // voltage warning points, "13.10V"
    std::array<std::string, 3> ILabel_txt;  // initial voltages, "3.30"
    int railMode = 1;
    bool secondRailShown = true;  // the +12V2 row, multiple rails only
};
// Values that are not numbers are shown as they stand.
SettingsView viewOf(const SettingValues& values, int railMode, NumberLocale locale);

// Where TALVORN.txt lives: the --settings value when given; otherwise beside
// the executable when a file is there (portable use); otherwise the per-user
// configuration folder. `env` reads an environment variable (null when unset).
struct SettingsLocation {
    std::filesystem::path path;
    bool createIfMissing = false;  // only the per-user file is created with the default line
    // An installed default the per-user file starts from when it holds a
    // valid line: ../share/kvrns/TALVORN.txt from the executable's folder.
    std::filesystem::path seedFile{};
};
SettingsLocation locateSettings(const std::optional<std::filesystem::path>& override,
                                const std::filesystem::path& executableFolder,
                                const std::function<const char*(const char*)>& env);

// Creates the file when the location allows it and the file is missing,
// from the seed file when that reads as valid settings, else with the
// default line; then reads it.
ReadOutcome loadSettings(const SettingsLocation& location, NumberLocale locale);

}  // namespace kvrns::settings
