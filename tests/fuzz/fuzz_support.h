// What every fuzz target shares: the libFuzzer entry point's signature, a
// check that stops the run with a message, and a reader that takes typed
// values from the front of the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace kvrns::fuzz {

// Fails the input: libFuzzer saves it as a crash, the corpus replay fails.
[[noreturn]] inline void fail(const std::string& why)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", why.c_str());
    std::abort();
}

inline void check(bool condition, const std::string& why)
{
    if (!condition) fail(why);
}

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    std::size_t remaining() const { return size_ - pos_; }

    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // Up to `count` bytes; fewer at the end of the input.
    std::string_view bytes(std::size_t count)
    {
        if (count > remaining()) count = remaining();
        const std::string_view out(reinterpret_cast<const char*>(data_ + pos_), count);
        pos_ += count;
        return out;
    }
    std::string_view rest() { return bytes(remaining()); }
    NumberLocale locale() { return NumberLocale{(byte() & 1) ? ',' : '.'}; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

inline std::string printable(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F) {
            out += c;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            out += buf;
        }
    }
    return out;
}

}  // namespace kvrns::fuzz
