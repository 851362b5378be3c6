// The real supply through hidapi (hidraw on Linux). The hidapi calls go
// through a table so tests can stand in for the library.
#pragma once

#include <cstddef>
#include <memory>

#include "device/hid_transport.h"

struct hid_device_;
struct hid_device_info;

namespace kvrns::device {

struct HidApiCalls {
    int (*init)();
    hid_device_info* (*enumerate)(unsigned short vendorId, unsigned short productId);
    void (*freeEnumeration)(hid_device_info* devices);
    hid_device_* (*openPath)(const char* path);
    int (*write)(hid_device_* device, const unsigned char* data, std::size_t length);
    int (*readTimeout)(hid_device_* device, unsigned char* data, std::size_t length, int milliseconds);
    void (*close)(hid_device_* device);
    // May be null where the library cannot give the descriptor; the report
    // lengths are then taken as 65 and reports as unnumbered.
    int (*getReportDescriptor)(hid_device_* device, unsigned char* buffer, std::size_t size);
};

// The calls of the hidapi library this program was built with.
HidApiCalls systemHidApi();

class HidapiBackend final : public HidBackend {
public:
    explicit HidapiBackend(HidApiCalls calls = systemHidApi());
    std::vector<HidInterface> enumerate() override;
    std::unique_ptr<HidConnection> open(const std::string& path, std::string* error) override;

private:
    HidApiCalls calls_;
    bool initialised_ = false;
};

}  // namespace kvrns::device
