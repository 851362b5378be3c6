// A simulated supply in the process, answering every request as a real one
// does: readings in LINEAR11 with the exponents real firmware uses, a load
// that drifts slowly so a dashboard on it looks alive, and switches for the
// faults a real supply and its cable show.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "device/hid_transport.h"
#include "protocol/wire.h"

namespace kvrns::device {

struct SimFaults {
    bool unplugged = false;                        // not enumerated; reads time out
    bool locked = false;                           // enumerated, but this user may not open it
    std::set<std::uint8_t> silent;                 // registers (or 0x90/0x91) left unanswered
    bool wrongEcho = false;                        // answers carry a wrong command byte
    bool invalidStatus = false;                    // read answers carry 0xFF in byte 2
    bool lateAnswers = false;                      // each answer is the one to the previous request
    bool garbage = false;                          // answers are random bytes
    std::map<std::uint8_t, double> fixedReadings;  // register -> value, instead of the model's
};

class SimSupply final : public HidBackend {
public:
    static constexpr std::string_view kPath = "sim:0";
    static constexpr int kRatedWatts = 650;

    explicit SimSupply(SecondsClock clock = steadySeconds(), std::uint64_t seed = 1);
    ~SimSupply() override;

    std::vector<HidInterface> enumerate() override;
    std::unique_ptr<HidConnection> open(const std::string& path, std::string* error) override;

    SimFaults& faults() { return faults_; }
    const SimFaults& faults() const { return faults_; }

    // The value the supply reads for a register now, before encoding.
    double reading(std::uint8_t reg) const;
    // Steps in force (1..9) by USBAdj 1..3, and the rail mode (1 single, 2 multiple).
    int tuneStep(int usbAdj) const;
    int railMode() const { return railMode_; }

    // The answer to one request, or nothing when the supply stays silent.
    std::optional<Report> answer(const Report& request);

    // Applies a device option such as "unplugged", "silent=2C", "late" or
    // "temperature=105"; returns an explanation when the option is unknown
    // or malformed.
    std::optional<std::string> applyOption(std::string_view option);

private:
    class Connection;
    Report readAnswer(std::uint8_t reg) const;
    Report writeAnswer(std::uint8_t reg, std::uint8_t value);
    static Report identityAnswer(std::uint8_t command, std::string_view text);
    double load() const;

    SecondsClock clock_;
    std::uint64_t seed_;
    std::uint64_t garbageState_;
    SimFaults faults_;
    int tune_[3] = {5, 5, 5};
    int railMode_ = 2;
    std::optional<Report> previousAnswer_;
};

}  // namespace kvrns::device
