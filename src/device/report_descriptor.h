// Just enough of a HID report descriptor to learn the report lengths and
// whether reports are numbered.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "device/hid_transport.h"

namespace kvrns::device {

struct DescriptorFacts {
    ReportLengths lengths;  // largest report of each kind, report-ID byte included
    bool numberedReports = false;
};

// Nothing when the descriptor is malformed or declares no input report.
std::optional<DescriptorFacts> parseReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace kvrns::device
