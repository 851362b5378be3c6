#include "settings/settings.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <system_error>

namespace kvrns::settings {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kLineEnd = "\r\n";

ReadOutcome refuse(std::string detail)
{
    return {std::nullopt, std::move(detail)};
}

std::string withUnit(const std::string& text, std::string_view unit)
{
    return text + std::string(unit);
}

std::string asFixed2(const std::string& text, NumberLocale locale)
{
    const auto number = parseNumber(text, locale);
    return number ? formatFixed(*number, 2, locale) : text;
}

}  // namespace

ReadOutcome parseSettingsText(std::string_view text, NumberLocale locale)
{
    std::string joined;
    joined.reserve(text.size());
    for (const char c : text)
        if (c != '\r' && c != '\n') joined += c;
    if (locale.decimalSeparator == ',') std::replace(joined.begin(), joined.end(), '.', ',');

    SettingValues values;
    std::size_t start = 0;
    while (true) {
        const std::size_t semicolon = joined.find(';', start);
        values.push_back(joined.substr(start, semicolon - start));
        if (semicolon == std::string::npos) break;
        start = semicolon + 1;
    }
    if (values.size() < kFieldCount)
        return refuse("the settings hold " + std::to_string(values.size()) + " values where " +
                      std::to_string(kFieldCount) + " are needed");
    if (!railModeOf(values)) return refuse("the rail mode (field 21) is not a number the program can hold");
    return {std::move(values), {}};
}

ReadOutcome readSettingsFile(const fs::path& path, NumberLocale locale)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return refuse("cannot open " + path.string() + " for reading");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return refuse("cannot read " + path.string());
    return parseSettingsText(text.str(), locale);
}

std::string settingsLine(const SettingValues& values)
{
    std::string line;
    for (int i = 0; i < kFieldCount; ++i) {
        if (static_cast<std::size_t>(i) < values.size()) line += values[static_cast<std::size_t>(i)];
        line += ';';
    }
    return line;
}

WriteStatus writeSettingsLine(const fs::path& path, std::string_view line, std::string* error)
{
    std::string content(line);
    content += kLineEnd;
    return writeFileAtomically(path, content, error);
}

WriteStatus writeSettingsFile(const fs::path& path, const SettingValues& values, std::string* error)
{
    return writeSettingsLine(path, settingsLine(values), error);
}

SettingValues defaultValues()
{
    return *parseSettingsText(kDefaultLine, NumberLocale{}).values;
}

std::optional<int> railModeOf(const SettingValues& values)
{
    if (values.size() <= RailMode) return std::nullopt;
    return toInt16(leadingNumber(values[RailMode]));
}

int introFlagOf(const SettingValues& values)
{
    if (values.empty()) return 0;
    return toInt16(leadingNumber(values[NoIntroNotice])).value_or(0);
}

std::string introOffLine(const SettingValues& values)
{
    SettingValues off = values;
    if (!off.empty()) off[NoIntroNotice] = "1";
    return settingsLine(off);
}

std::string valueText(double value, NumberLocale locale)
{
    return shortestText(value, locale);
}

SettingsView viewOf(const SettingValues& v, int railMode, NumberLocale locale)
{
    SettingsView view;
    view.railMode = railMode;
    view.secondRailShown = railMode != 0;
    for (int i = 0; i < 3; ++i) {
        view.GLabel_txt[i] = withUnit(v[Ocp3V3 + i], "A");
        view.HLabel_txt[i] = withUnit(v[WarnCur3V3 + i], "A");
        view.KLabel_txt[i] = withUnit(asFixed2(v[Ovp3V3 + i], locale), "V");
        view.LLabel_txt[i] = withUnit(asFixed2(v[WarnVolt3V3 + i], locale), "V");
        view.ILabel_txt[i] = asFixed2(v[InitVolt3V3 + i], locale);
    }
    if (view.secondRailShown) {
        view.GLabel_txt[3] = withUnit(v[Ocp12V2], "A");
        view.HLabel_txt[3] = withUnit(v[WarnCur12V2], "A");
    }
    return view;
}

SettingsLocation locateSettings(const std::optional<fs::path>& override, const fs::path& executableFolder,
                                const std::function<const char*(const char*)>& env)
{
    if (override) return {*override, false};
    std::error_code ec;
    const fs::path portable = executableFolder / kFileName;
    if (!executableFolder.empty() && fs::exists(portable, ec)) return {portable, false};

    auto var = [&](const char* name) -> std::string {
        const char* value = env(name);
        return value ? value : "";
    };
    fs::path base;
#if defined(_WIN32)
    base = var("APPDATA");
#elif defined(__APPLE__)
    if (!var("HOME").empty()) base = fs::path(var("HOME")) / "Library" / "Application Support";
#else
    base = var("XDG_CONFIG_HOME");
    if (base.empty() || base.is_relative()) base = var("HOME").empty() ? fs::path{} : fs::path(var("HOME")) / ".config";
#endif
    if (base.empty()) return {portable, false};  // nowhere else to look
    const fs::path seed =
        executableFolder.empty() ? fs::path{} : executableFolder / ".." / "share" / "kvrns" / kFileName;
    return {base / "kvrns" / kFileName, true, seed};
}

namespace {

// The line a new per-user file starts with. A seed that is missing or
// broken must not keep the program from starting: the built-in line stands in.
std::string firstLine(const fs::path& seedFile)
{
    std::error_code ec;
    if (seedFile.empty() || !fs::is_regular_file(seedFile, ec)) return std::string(kDefaultLine);
    const ReadOutcome seed = readSettingsFile(seedFile, NumberLocale{});
    return seed.values ? settingsLine(*seed.values) : std::string(kDefaultLine);
}

}  // namespace

ReadOutcome loadSettings(const SettingsLocation& location, NumberLocale locale)
{
    std::error_code ec;
    if (location.createIfMissing && !fs::exists(location.path, ec)) {
        fs::create_directories(location.path.parent_path(), ec);
        std::string error;
        if (writeSettingsLine(location.path, firstLine(location.seedFile), &error) != WriteStatus::Ok)
            return refuse("cannot create " + location.path.string() + ": " + error);
    }
    return readSettingsFile(location.path, locale);
}

}  // namespace kvrns::settings
