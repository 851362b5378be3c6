// The record: a snapshot of the latest readings and the warning points as
// ten lines of text, written where the user chooses.
#pragma once

#include <filesystem>
#include <string>

#include "common/atomic_file.h"
#include "common/numtext.h"
#include "protocol/telemetry.h"
#include "settings/settings.h"

namespace kvrns::settings {

// Ten lines, each ending in CR LF. railMode 1 reports the +12V2 rail on its
// own; any other value adds it to +12V1 (rounded to two decimals, shortest
// form).
std::string recordText(const Telemetry& telemetry, int railMode, const SettingValues& values, NumberLocale locale);

// The record followed by one more CR LF, replacing the file whole.
WriteStatus writeRecord(const std::filesystem::path& path, const std::string& record, std::string* error = nullptr);

// "Save" and the date as yymmdd: Save240303 on 3 March 2024.
std::string suggestedRecordName(int year, int month, int day);

}  // namespace kvrns::settings
