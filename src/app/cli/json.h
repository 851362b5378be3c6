#pragma once

#include <string>
#include <string_view>

namespace kvrns::cli {

// A JSON string literal, quotes included; control characters and bytes
// that are not UTF-8 text are escaped so the output always parses.
std::string jsonString(std::string_view text);

}  // namespace kvrns::cli
