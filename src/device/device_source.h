// Choosing a backend from the --device value every program takes:
// auto | hid | sim[:OPTION,...] | script:FILE.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "device/hid_transport.h"

namespace kvrns::device {

struct OpenedBackend {
    std::unique_ptr<HidBackend> backend;
    std::string error;  // non-empty when the value or its file is wrong
    bool simulated = false;
};

OpenedBackend makeBackend(std::string_view source, SecondsClock clock = steadySeconds());

inline constexpr std::string_view kDeviceSources =
    "auto | hid | sim[:OPTION,...] | script:FILE\n"
    "  sim options: unplugged, locked, silent=REG, wrong-echo, invalid, late, garbage,\n"
    "               seed=N, NAME=VALUE (a reading, such as temperature=105)";

}  // namespace kvrns::device
