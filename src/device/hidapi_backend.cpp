#include "device/hidapi_backend.h"

#include <hidapi.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "device/report_descriptor.h"
#include "protocol/wire.h"

namespace kvrns::device {
namespace {

#if defined(HID_API_VERSION) && HID_API_VERSION >= HID_API_MAKE_VERSION(0, 14, 0)
int libraryReportDescriptor(hid_device* device, unsigned char* buffer, std::size_t size)
{
    return hid_get_report_descriptor(device, buffer, size);
}
constexpr auto kReportDescriptorCall = &libraryReportDescriptor;
#else
constexpr int (*kReportDescriptorCall)(hid_device*, unsigned char*, std::size_t) = nullptr;
#endif

class HidapiConnection final : public HidConnection {
public:
    HidapiConnection(const HidApiCalls& calls, hid_device* device) : calls_(calls), device_(device)
    {
        learnDescriptor();
    }
    ~HidapiConnection() override { calls_.close(device_); }

    ReportLengths reportLengths() const override { return lengths_; }

    int write(std::span<const std::uint8_t> report) override
    {
        // hidapi takes the report-ID byte first, exactly as the report holds it.
        return calls_.write(device_, report.data(), report.size());
    }

    ReadStatus read(std::span<std::uint8_t> report, int timeoutMs) override
    {
        if (report.empty()) return ReadStatus::Failed;
        std::array<unsigned char, wire::kReportLength> buffer{};
        const std::size_t capacity = std::min(report.size(), buffer.size());
        // For unnumbered reports hidapi delivers the report without its ID
        // byte; put the 0x00 back so the answer starts at index 1.
        const std::size_t offset = numbered_ ? 0 : 1;
        const int got = calls_.readTimeout(device_, buffer.data() + offset, capacity - offset, timeoutMs);
        if (got == 0) return ReadStatus::Timeout;
        if (got < 0) return ReadStatus::Failed;
        if (!numbered_) buffer[0] = wire::kReportId;
        std::copy_n(buffer.begin(), capacity, report.begin());
        return ReadStatus::Ok;
    }

private:
    void learnDescriptor()
    {
        if (!calls_.getReportDescriptor) return;
        std::array<unsigned char, 4096> descriptor{};
        const int size = calls_.getReportDescriptor(device_, descriptor.data(), descriptor.size());
        if (size <= 0) return;
        const auto facts = parseReportDescriptor(std::span(descriptor.data(), static_cast<std::size_t>(size)));
        if (!facts) return;
        lengths_ = facts->lengths;
        if (lengths_.output == 0) lengths_.output = wire::kReportLength;
        numbered_ = facts->numberedReports;
    }

    HidApiCalls calls_;
    hid_device* device_;
    ReportLengths lengths_{};
    bool numbered_ = false;
};

}  // namespace

HidApiCalls systemHidApi()
{
    return HidApiCalls{&hid_init,         &hid_enumerate, &hid_free_enumeration, &hid_open_path, &hid_write,
                       &hid_read_timeout, &hid_close,     kReportDescriptorCall};
}

HidapiBackend::HidapiBackend(HidApiCalls calls) : calls_(calls) {}

std::vector<HidInterface> HidapiBackend::enumerate()
{
    if (!initialised_) initialised_ = calls_.init() == 0;
    std::vector<HidInterface> found;
    if (!initialised_) return found;
    hid_device_info* devices = calls_.enumerate(0, 0);
    for (const hid_device_info* d = devices; d; d = d->next)
        found.push_back({d->path ? d->path : "", d->vendor_id, d->product_id});
    calls_.freeEnumeration(devices);
    return found;
}

std::unique_ptr<HidConnection> HidapiBackend::open(const std::string& path, std::string* error)
{
    errno = 0;
    hid_device* device = calls_.openPath(path.c_str());
    if (!device) {
        if (error) *error = errno ? std::strerror(errno) : "cannot open the HID interface";
        return nullptr;
    }
    return std::make_unique<HidapiConnection>(calls_, device);
}

}  // namespace kvrns::device
