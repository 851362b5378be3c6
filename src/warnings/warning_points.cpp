#include "warnings/warning_points.h"

#include <array>

#include "settings/settings.h"

namespace kvrns::warnings {
namespace {

struct Row {
    int field;
    double step;
    double minimum, maximum;              // multiple rails, and every row but +12V1
    double singleMinimum, singleMaximum;  // +12V1 in single-rail mode
    bool volts;
};

// Indexed by arrow; rows 4..10 are not warning points.
constexpr std::array<Row, kArrowCount> kRows{{
    {settings::WarnCur3V3, 1, 18, 22, 18, 22, false},
    {settings::WarnCur5V, 1, 18, 22, 18, 22, false},
    {settings::WarnCur12V1, 1, 31, 35, 46, 50, false},
    {settings::WarnCur12V2, 1, 31, 35, 31, 35, false},
    {},
    {},
    {},
    {},
    {settings::TuneStep3V3, 1, 1, 9, 1, 9, false},
    {settings::TuneStep5V, 1, 1, 9, 1, 9, false},
    {settings::TuneStep12V, 1, 1, 9, 1, 9, false},
    {settings::WarnVolt3V3, 0.05, 3.45, 3.75, 3.45, 3.75, true},
    {settings::WarnVolt5V, 0.05, 5.2, 5.7, 5.2, 5.7, true},
    {settings::WarnVolt12V, 0.1, 12.4, 13.1, 12.4, 13.1, true},
}};

std::string shown(const Row& row, const std::string& text, NumberLocale locale)
{
    if (!row.volts) return text + "A";
    const auto value = parseNumber(text, locale);
    return (value ? formatFixed(*value, 2, locale) : text) + "V";
}

ArrowPress fineTune(int index, bool plus, settings::SettingsStore& settings, NumberLocale locale)
{
    const Row& row = kRows[static_cast<std::size_t>(index)];
    const auto value = parseNumber(settings.value(row.field), locale);
    const auto step = value ? toInt16(*value) : std::nullopt;
    ArrowPress press;
    if (!step) {
        // Not a step at all: ask for the end the arrow points to.
        press.fineTuneRail = index - 7;
        press.fineTuneStep = plus ? 9 : 1;
        return press;
    }
    if (plus ? *step >= 9 : *step <= 1) return press;
    press.fineTuneRail = index - 7;
    press.fineTuneStep = *step + (plus ? 1 : -1);
    return press;
}

}  // namespace

bool isCurrentWarningArrow(int index)
{
    return index >= 0 && index <= 3;
}
bool isFineTuneArrow(int index)
{
    return index >= 8 && index <= 10;
}
bool isVoltageWarningArrow(int index)
{
    return index >= 11 && index <= 13;
}

ArrowPress pressArrow(int index, bool plus, settings::SettingsStore& settings, NumberLocale locale)
{
    if (isFineTuneArrow(index)) return fineTune(index, plus, settings, locale);
    if (!isCurrentWarningArrow(index) && !isVoltageWarningArrow(index)) return {};
    const int railMode = settings.railMode();
    if (index == 3 && railMode != 1) return {};

    const Row& row = kRows[static_cast<std::size_t>(index)];
    const bool singleBounds = index == 2 && railMode != 1;
    const double minimum = singleBounds ? row.singleMinimum : row.minimum;
    const double maximum = singleBounds ? row.singleMaximum : row.maximum;
    const double bound = plus ? maximum : minimum;

    const auto value = parseNumber(settings.value(row.field), locale);
    double next = value ? *value + (plus ? row.step : -row.step) : bound;
    if (plus ? next >= maximum : next <= minimum) next = bound;

    const std::string text = settings::valueText(next, locale);
    settings.setValue(row.field, text);
    return {true, shown(row, text, locale), std::nullopt, 0};
}

void applyRailMode(settings::SettingsStore& settings, int railMode)
{
    const std::string top = railMode == 0 ? "50" : "35";
    if (railMode != 0) settings.setValue(settings::WarnCur12V2, "35");
    settings.setValue(settings::Ocp12V1, top);
    settings.setValue(settings::WarnCur12V1, top);
    settings.setRailMode(railMode == 0 ? 0 : 1);
}

int switchRail(settings::SettingsStore& settings)
{
    const int next = settings.railMode() != 0 ? 0 : 1;
    applyRailMode(settings, next);
    return next;
}

}  // namespace kvrns::warnings
