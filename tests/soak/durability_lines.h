// The two settings lists the durability test's writer alternates between:
// every field differs and the lines differ in length, so any mix of the two
// or any cut shows.
#pragma once

#include "settings/settings.h"

namespace kvrns::test {

inline settings::SettingValues firstSettings()
{
    return settings::defaultValues();
}

inline settings::SettingValues secondSettings()
{
    return {"1",    "23",   "24",   "50", "36", "19", "20",   "47",   "32",    "3.95", "6.15", "13.85",
            "3.55", "5.35", "12.6", "7",  "3",  "9",  "3.31", "5.01", "12.01", "0",    "0.47", "0.31415"};
}

}  // namespace kvrns::test
