// The settings reader on arbitrary bytes, in both decimal-point and
// decimal-comma locales: it loads or refuses, and what it loads survives a
// write and a second read unchanged.
#include "fuzz_support.h"
#include "protocol/engine.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace kvrns::fuzz {
namespace {

void checkLoaded(const settings::SettingValues& values, NumberLocale locale)
{
    check(values.size() >= settings::kFieldCount, "fewer than 24 values loaded");
    const auto railMode = settings::railModeOf(values);
    check(railMode.has_value(), "a loaded file without a rail mode");
    for (const std::string& value : values)
        check(value.find_first_of(";\r\n") == std::string::npos, "a value holds a separator or a line end");

    const settings::SettingsView view = settings::viewOf(values, *railMode, locale);
    check(view.secondRailShown == (*railMode != 0), "the +12V2 row disagrees with the rail mode");
    warningInputs(Readout{}, Telemetry{}, values, *railMode, locale);
    settings::SettingsStore store(values);
    check(store.railMode() == *railMode, "the store's rail mode differs from field 21");

    // What the program writes, it reads back as it was.
    const std::string line = settings::settingsLine(values);
    const auto again = settings::parseSettingsText(line + "\r\n", locale);
    check(again.values.has_value(), "a written line is refused: " + again.detail);
    for (int i = 0; i < settings::kFieldCount; ++i)
        check((*again.values)[static_cast<std::size_t>(i)] == values[static_cast<std::size_t>(i)],
              "field " + std::to_string(i) + " changed on a write and read");
}

}  // namespace
}  // namespace kvrns::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kvrns;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const NumberLocale locale : {NumberLocale{'.'}, NumberLocale{','}}) {
        const settings::ReadOutcome outcome = settings::parseSettingsText(text, locale);
        if (outcome.values)
            fuzz::checkLoaded(*outcome.values, locale);
        else
            fuzz::check(!outcome.detail.empty(), "a refusal without a reason");
    }
    return 0;
}
