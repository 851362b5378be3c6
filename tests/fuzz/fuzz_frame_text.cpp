// Frame texts: any text converts into a report without writing outside it,
// each byte is its token's value, and a frame written from bytes reads back
// as those bytes.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "device/frame_text.h"
#include "fuzz_support.h"

namespace kvrns::fuzz {
namespace {

bool counted(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

void checkToken(std::string_view token)
{
    std::string plain(token);
    std::replace_if(
        plain.begin(), plain.end(), [](char c) { return !counted(c); }, '0');
    const unsigned value = device::hexTextValue(token);
    check(value == device::hexTextValue(plain), "'" + printable(token) + "' counts a character outside 0-9 A-F");
    if (!plain.empty() && plain.size() <= 8)
        check(value == std::strtoul(plain.c_str(), nullptr, 16), "'" + printable(token) + "' is not its hex value");
}

std::vector<std::string_view> tokens(std::string_view text)
{
    std::vector<std::string_view> out;
    while (true) {
        const std::size_t blank = text.find(' ');
        out.push_back(text.substr(0, blank));
        if (blank == std::string_view::npos) return out;
        text.remove_prefix(blank + 1);
    }
}

void checkFrame(std::string_view text, std::size_t length)
{
    constexpr std::uint8_t kUntouched = 0xA5;
    Report bytes;
    bytes.fill(kUntouched);
    device::frameTextToBytes(text, bytes, length);
    const auto parts = tokens(text);
    const std::size_t filled = std::min(parts.size(), bytes.size());
    const std::size_t zeroedTo = std::max(filled, std::min(length, bytes.size()));
    for (std::size_t j = 0; j < bytes.size(); ++j) {
        if (j < filled) {
            checkToken(parts[j]);
            check(bytes[j] == (device::hexTextValue(parts[j]) & 0xFF), "byte " + std::to_string(j) + " of the frame");
        } else {
            check(bytes[j] == (j < zeroedTo ? 0 : kUntouched), "byte " + std::to_string(j) + " past the tokens");
        }
    }
}

void checkRoundTrip(std::string_view raw)
{
    const std::size_t count = std::min(raw.size(), wire::kReportLength);
    if (count == 0) return;
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, i ? " %02X" : "%02X", static_cast<unsigned char>(raw[i]));
        text += pair;
    }
    Report bytes{};
    device::frameTextToBytes(text, bytes, wire::kReportLength);
    for (std::size_t i = 0; i < count; ++i)
        check(bytes[i] == static_cast<unsigned char>(raw[i]), "frame '" + text + "' does not read back");
}

}  // namespace
}  // namespace kvrns::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kvrns::fuzz::Input in(data, size);
    const std::size_t length = in.byte();
    const std::string_view text = in.rest();
    kvrns::fuzz::checkFrame(text, length);
    kvrns::fuzz::checkRoundTrip(text);
    return 0;
}
