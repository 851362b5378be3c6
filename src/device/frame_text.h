// Frame texts: requests written as two-digit upper-case hexadecimal tokens
// separated by single blanks, "00 83 02 40 2C 00 00".
#pragma once

#include <string_view>

#include "protocol/wire.h"

namespace kvrns::device {

// The token's value, counting only the characters 0-9 and A-F (so "2c"
// counts as 2 * 16 = 32, as the supply's own tools read it).
unsigned hexTextValue(std::string_view token);

// Converts a frame text into `bytes`: one byte per blank-separated token,
// then zeros up to `length` (clipped to the buffer). Tokens beyond the
// buffer are dropped; a value above 0xFF keeps its low byte.
void frameTextToBytes(std::string_view text, Report& bytes, std::size_t length);

}  // namespace kvrns::device
