#include "device/device_link.h"

#include <algorithm>

#include "device/frame_text.h"

namespace kvrns::device {
namespace {

std::uint16_t clipToBuffer(std::uint16_t length)
{
    return std::min<std::uint16_t>(length, wire::kReportLength);
}

}  // namespace

DeviceLink::DeviceLink(HidBackend& backend) : backend_(backend) {}

DeviceLink::~DeviceLink() = default;

bool DeviceLink::FindTheHid()
{
    connection_.reset();
    refused_.clear();
    for (const HidInterface& candidate : backend_.enumerate()) {
        if (candidate.vendorId != wire::kVendorId || candidate.productId != wire::kProductId) continue;
        std::string reason;
        auto connection = backend_.open(candidate.path, &reason);
        if (!connection) {  // one we may not open counts as no match
            refused_.push_back({candidate.path, reason});
            continue;
        }
        const ReportLengths lengths = connection->reportLengths();
        InputReportByteLength = clipToBuffer(lengths.input);
        OutputReportByteLength = clipToBuffer(lengths.output);
        connection_ = std::move(connection);
        devicePath_ = candidate.path;
        return true;
    }
    return false;
}

void DeviceLink::writeFrame(std::string_view frameText)
{
    std::fill_n(inputReport.begin(), wire::kAnsClearedHead, 0);
    frameTextToBytes(frameText, frameBytes, OutputReportByteLength);
    std::copy_n(frameBytes.begin(), OutputReportByteLength, outputReport.begin());
    const std::span<const std::uint8_t> report(outputReport.data(), OutputReportByteLength);
    if (observer_) observer_({ExchangeEvent::Kind::Write, report});
    if (connection_) connection_->write(report);
}

void DeviceLink::readInputReport()
{
    ReadStatus status = ReadStatus::Failed;
    Report answer{};
    if (connection_)
        status = connection_->read(std::span<std::uint8_t>(answer.data(), InputReportByteLength), wire::kReadTimeoutMs);
    if (status == ReadStatus::Ok) std::copy_n(answer.begin(), InputReportByteLength, inputReport.begin());
    if (observer_)
        observer_(
            {ExchangeEvent::Kind::Read,
             std::span<const std::uint8_t>(inputReport.data(), status == ReadStatus::Ok ? InputReportByteLength : 0),
             status});
    if (status == ReadStatus::Timeout) connection_.reset();
    if (status != ReadStatus::Ok) devicePresent = false;
}

}  // namespace kvrns::device
