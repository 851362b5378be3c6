// The connection to the supply: discovery by vendor and product identifier,
// and the exchange of one output report and one input report at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_transport.h"
#include "protocol/wire.h"

namespace kvrns::device {

// What passes over the link, for tools that show or record the traffic.
struct ExchangeEvent {
    enum class Kind { Write, Read } kind;
    std::span<const std::uint8_t> bytes;  // the report written, or the report read on Ok
    ReadStatus status = ReadStatus::Ok;   // for reads
};
using ExchangeObserver = std::function<void(const ExchangeEvent&)>;

// A matching interface that FindTheHid could not open, and why: on Linux
// usually a hidraw node without a udev rule giving this user access.
struct RefusedInterface {
    std::string path;
    std::string reason;
};

class DeviceLink {
public:
    explicit DeviceLink(HidBackend& backend);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Walks the HID interfaces in enumeration order and opens the first one
    // with the supply's identifiers that can be opened. Returns whether one
    // was; the caller stores the result in devicePresent. A connection held
    // from before is closed first.
    bool FindTheHid();

    // Writes a request: clears the head of inputReport so a stale answer is
    // never taken for this one, converts the text into frameBytes, copies it
    // into outputReport and writes OutputReportByteLength bytes. A failed
    // write goes unnoticed; the read that follows then fails.
    void writeFrame(std::string_view frameText);

    // Reads one answer into inputReport, waiting at most 1500 ms. A time-out
    // closes the connection and clears devicePresent; any other failure only
    // clears devicePresent. On failure inputReport keeps the zeros written
    // by writeFrame.
    void readInputReport();

    bool devicePresent = false;
    Report frameBytes{};
    Report outputReport{};
    Report inputReport{};
    // Clipped to the 65-byte buffers; 0 until a supply has been found.
    std::uint16_t InputReportByteLength = 0;
    std::uint16_t OutputReportByteLength = 0;

    const std::string& devicePath() const { return devicePath_; }
    // The matching interfaces the last FindTheHid found but could not open.
    const std::vector<RefusedInterface>& refusedInterfaces() const { return refused_; }
    bool connectionOpen() const { return connection_ != nullptr; }
    void setObserver(ExchangeObserver observer) { observer_ = std::move(observer); }

private:
    HidBackend& backend_;
    std::unique_ptr<HidConnection> connection_;
    std::string devicePath_;
    std::vector<RefusedInterface> refused_;
    ExchangeObserver observer_;
};

}  // namespace kvrns::device
