// A fake HID backend that queues answers and logs every report written, so
// tests can assert the exact bytes that go to the supply.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "device/hid_transport.h"
#include "protocol/wire.h"

namespace kvrns::test {

struct FakeHid final : device::HidBackend {
    struct Device {
        device::HidInterface iface;
        bool openable = true;
        device::ReportLengths lengths{};
    };
    using Answer = std::variant<Report, device::ReadStatus>;  // a report, or Timeout / Failed

    std::vector<Device> devices;
    std::deque<Answer> answers;  // served in order to whichever connection reads
    std::vector<std::vector<std::uint8_t>> written;
    std::vector<std::string> opened;  // paths, in order
    int openConnections = 0;
    int readCalls = 0;
    int lastReadLength = -1;

    void addSupply(const std::string& path, device::ReportLengths lengths = {})
    {
        devices.push_back({{path, wire::kVendorId, wire::kProductId}, true, lengths});
    }
    void queue(const Report& report) { answers.emplace_back(report); }
    void queue(device::ReadStatus status) { answers.emplace_back(status); }

    std::vector<device::HidInterface> enumerate() override
    {
        std::vector<device::HidInterface> list;
        for (const auto& d : devices) list.push_back(d.iface);
        return list;
    }

    std::unique_ptr<device::HidConnection> open(const std::string& path, std::string* error) override;
};

struct FakeConnection final : device::HidConnection {
    FakeConnection(FakeHid& hid, device::ReportLengths lengths) : hid(hid), lengths(lengths) { ++hid.openConnections; }
    ~FakeConnection() override { --hid.openConnections; }
    device::ReportLengths reportLengths() const override { return lengths; }
    int write(std::span<const std::uint8_t> report) override
    {
        hid.written.emplace_back(report.begin(), report.end());
        return static_cast<int>(report.size());
    }
    device::ReadStatus read(std::span<std::uint8_t> report, int) override
    {
        ++hid.readCalls;
        hid.lastReadLength = static_cast<int>(report.size());
        if (hid.answers.empty()) return device::ReadStatus::Timeout;
        FakeHid::Answer next = hid.answers.front();
        hid.answers.pop_front();
        if (auto* status = std::get_if<device::ReadStatus>(&next)) return *status;
        const auto& bytes = std::get<Report>(next);
        std::copy_n(bytes.begin(), report.size(), report.begin());
        return device::ReadStatus::Ok;
    }
    FakeHid& hid;
    device::ReportLengths lengths;
};

inline std::unique_ptr<device::HidConnection> FakeHid::open(const std::string& path, std::string* error)
{
    for (const auto& d : devices) {
        if (d.iface.path != path) continue;
        if (!d.openable) {
            if (error) *error = "permission denied";
            return nullptr;
        }
        opened.push_back(path);
        return std::make_unique<FakeConnection>(*this, d.lengths);
    }
    return nullptr;
}

// An answer report built from its leading bytes, the rest zero.
inline Report answerBytes(std::initializer_list<std::uint8_t> head)
{
    Report r{};
    std::copy(head.begin(), head.end(), r.begin());
    return r;
}

// The answer of a read request for `reg` carrying a LINEAR11 word.
inline Report readingAnswer(std::uint8_t reg, std::uint8_t high, std::uint8_t low, std::uint8_t status = 0)
{
    return answerBytes({0x00, wire::kCmdRead, status, 0x40, reg, low, high});
}

}  // namespace kvrns::test
