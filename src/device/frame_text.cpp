#include "device/frame_text.h"

#include <algorithm>

namespace kvrns::device {

unsigned hexTextValue(std::string_view token)
{
    unsigned value = 0;
    unsigned weight = 1;
    for (auto it = token.rbegin(); it != token.rend(); ++it, weight *= 16) {
        const char c = *it;
        if (c >= '0' && c <= '9')
            value += static_cast<unsigned>(c - '0') * weight;
        else if (c >= 'A' && c <= 'F')
            value += static_cast<unsigned>(c - 'A' + 10) * weight;
    }
    return value;
}

void frameTextToBytes(std::string_view text, Report& bytes, std::size_t length)
{
    length = std::min(length, bytes.size());
    std::size_t j = 0;
    while (j < bytes.size()) {
        const std::size_t blank = text.find(' ');
        bytes[j++] = static_cast<std::uint8_t>(hexTextValue(text.substr(0, blank)) & 0xFF);
        if (blank == std::string_view::npos) break;
        text.remove_prefix(blank + 1);
    }
    for (; j < length; ++j) bytes[j] = 0;
}

}  // namespace kvrns::device
