// The HID access layer every backend provides: enumeration, opening, and the
// exchange of whole reports. Modelled on hidapi's small C API, with each
// contract stated once here.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kvrns::device {

struct HidInterface {
    std::string path;  // opaque to callers; passed back to open()
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// Report lengths in bytes, the report-ID byte included.
struct ReportLengths {
    std::uint16_t input = 65;
    std::uint16_t output = 65;
};

enum class ReadStatus {
    Ok,       // a whole report arrived
    Timeout,  // nothing arrived within the wait limit
    Failed,   // the wait ended some other way (device gone, I/O error)
};

// One opened HID interface. Not thread-safe: one exchange at a time.
class HidConnection {
public:
    virtual ~HidConnection() = default;

    // As the device declares them; callers clip them to their buffers.
    virtual ReportLengths reportLengths() const = 0;

    // Writes one whole output report. report[0] is the report-ID byte.
    // Returns the number of bytes written, or -1 on failure.
    virtual int write(std::span<const std::uint8_t> report) = 0;

    // Reads one whole input report into `report`: the report-ID byte at
    // index 0 and the answer from index 1, whatever the platform delivers.
    // Waits at most `timeoutMs`. On anything but Ok the buffer is untouched.
    virtual ReadStatus read(std::span<std::uint8_t> report, int timeoutMs) = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Every HID interface present, in the platform's enumeration order.
    virtual std::vector<HidInterface> enumerate() = 0;

    // Opens the interface at `path` for reading and writing. Returns null
    // when it cannot be opened and, if `error` is given, says why.
    virtual std::unique_ptr<HidConnection> open(const std::string& path, std::string* error = nullptr) = 0;
};

}  // namespace kvrns::device
