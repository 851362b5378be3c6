// A simulated supply whose answers wait at a gate the test opens, so a
// request can be placed while an exchange is provably under way.
#pragma once

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "device/sim_supply.h"

namespace kvrns::test {

class GatedSupply final : public device::HidBackend {
public:
    std::vector<device::HidInterface> enumerate() override { return sim.enumerate(); }
    std::unique_ptr<device::HidConnection> open(const std::string& path, std::string* error) override
    {
        auto inner = sim.open(path, error);
        return inner ? std::make_unique<Connection>(*this, std::move(inner)) : nullptr;
    }

    void holdReads(bool hold)
    {
        {
            std::lock_guard lock(mutex);
            held = hold;
        }
        changed.notify_all();
    }
    void waitUntilAReadIsHeld()
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return waiting > 0; });
    }
    std::vector<std::string> log()
    {
        std::lock_guard lock(mutex);
        return events;
    }

    device::SimSupply sim{[] { return 5.0; }};
    std::mutex mutex;
    std::condition_variable changed;
    bool held = false;
    int waiting = 0;
    std::vector<std::string> events;  // "W82", "R", ...

private:
    struct Connection final : device::HidConnection {
        Connection(GatedSupply& g, std::unique_ptr<device::HidConnection> inner) : gate(g), inner(std::move(inner)) {}
        device::ReportLengths reportLengths() const override { return inner->reportLengths(); }
        int write(std::span<const std::uint8_t> report) override
        {
            std::lock_guard lock(gate.mutex);
            char tag[8];
            std::snprintf(tag, sizeof tag, "W%02X%02X", report[1], report[4]);
            gate.events.push_back(tag);
            return inner->write(report);
        }
        device::ReadStatus read(std::span<std::uint8_t> report, int timeoutMs) override
        {
            {
                std::unique_lock lock(gate.mutex);
                ++gate.waiting;
                gate.changed.notify_all();
                gate.changed.wait(lock, [this] { return !gate.held; });
                --gate.waiting;
                gate.events.push_back("R");
            }
            return inner->read(report, timeoutMs);
        }
        GatedSupply& gate;
        std::unique_ptr<device::HidConnection> inner;
    };
};

}  // namespace kvrns::test
