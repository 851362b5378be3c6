// The plus and minus arrows beside the warning points and the +12V
// fine-tune, and the rail lever: what a press does to the settings.
#pragma once

#include <optional>
#include <string>

#include "common/numtext.h"
#include "settings/settings_store.h"

namespace kvrns::warnings {

// Arrow indexes: 0..3 current warning points (+3.3V, +5V, +12V1, +12V2),
// 4..7 rails this supply does not have, 8..10 fine-tune (+3.3V, +5V,
// +12V), 11..13 voltage warning points (+3.3V, +5V, +12V).
inline constexpr int kArrowCount = 14;

bool isCurrentWarningArrow(int index);
bool isFineTuneArrow(int index);
bool isVoltageWarningArrow(int index);

struct ArrowPress {
    bool changed = false;   // a warning point was stored
    std::string shownText;  // the text beside it: "22A", "3.75V"
    // A fine-tune arrow asks the supply for a step; the setting changes only
    // when the supply confirms it.
    std::optional<int> fineTuneRail;  // USBAdj 1..3
    int fineTuneStep = 0;             // VolNum
};

// A release of the left button on plus (`plus` true) or minus arrow
// `index`. Each arrow checks only its own bound. A field that is not a
// number counts as the bound the arrow moves toward, so a press always
// leaves a valid value.
ArrowPress pressArrow(int index, bool plus, settings::SettingsStore& settings, NumberLocale locale);

// The rail lever: single rail from multiple rails and back, resetting the
// +12V1 protection level and warning point (and, to multiple rails, the
// +12V2 warning point) to the top of the new mode's range. Returns the new
// railMode.
int switchRail(settings::SettingsStore& settings);

// The same settings for a chosen mode (1 multiple rails, 0 single rail).
void applyRailMode(settings::SettingsStore& settings, int railMode);

}  // namespace kvrns::warnings
