#include "device/sim_supply.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "common/numtext.h"
#include "protocol/commands.h"
#include "protocol/linear.h"

namespace kvrns::device {

using namespace wire;

class SimSupply::Connection final : public HidConnection {
public:
    explicit Connection(SimSupply& supply) : supply_(supply) {}

    ReportLengths reportLengths() const override { return {}; }

    int write(std::span<const std::uint8_t> report) override
    {
        if (supply_.faults_.unplugged) return -1;
        Report request{};
        std::copy_n(report.begin(), std::min(report.size(), request.size()), request.begin());
        pending_ = supply_.answer(request);
        return static_cast<int>(report.size());
    }

    ReadStatus read(std::span<std::uint8_t> report, int) override
    {
        if (supply_.faults_.unplugged || !pending_) return ReadStatus::Timeout;
        std::copy_n(pending_->begin(), std::min(report.size(), pending_->size()), report.begin());
        pending_.reset();
        return ReadStatus::Ok;
    }

private:
    SimSupply& supply_;
    std::optional<Report> pending_;
};

namespace {

// Exponents real firmware picks so each rail keeps about eleven bits of
// resolution over its range.
int exponentFor(std::uint8_t reg)
{
    switch (reg) {
        case kRegVoltage12V:
        case kRegVoltage12V2: return -7;
        case kRegVoltage5V: return -8;
        case kRegVoltage3V3: return -9;
        case kRegCurrent3V3:
        case kRegCurrent5V: return -6;
        case kRegCurrent12V1:
        case kRegCurrent12V2: return -5;
        case kRegInputVoltage: return -2;
        case kRegInputCurrent: return -8;
        case kRegInputPower: return -1;
        default: return -2;  // temperatures
    }
}

std::uint64_t splitmix(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Smooth noise in [-1, 1] that changes over a few seconds.
double drift(double t, std::uint64_t seed)
{
    const double a = std::sin(2 * std::numbers::pi * t / 97.0 + static_cast<double>(seed % 7));
    const double b = std::sin(2 * std::numbers::pi * t / 23.0 + 1.3);
    const double c = std::sin(2 * std::numbers::pi * t / 5.3 + 0.4);
    return 0.6 * a + 0.3 * b + 0.1 * c;
}

}  // namespace

SimSupply::SimSupply(SecondsClock clock, std::uint64_t seed)
    : clock_(std::move(clock)), seed_(seed), garbageState_(seed)
{
}

SimSupply::~SimSupply() = default;

std::vector<HidInterface> SimSupply::enumerate()
{
    if (faults_.unplugged) return {};
    return {{std::string(kPath), kVendorId, kProductId}};
}

std::unique_ptr<HidConnection> SimSupply::open(const std::string& path, std::string* error)
{
    if (faults_.unplugged || path != kPath) {
        if (error) *error = "no such simulated supply";
        return nullptr;
    }
    if (faults_.locked) {
        if (error) *error = "Permission denied";
        return nullptr;
    }
    return std::make_unique<Connection>(*this);
}

double SimSupply::load() const
{
    return 0.38 + 0.2 * drift(clock_(), seed_);  // share of rated power, 0.18 .. 0.58
}

int SimSupply::tuneStep(int usbAdj) const
{
    return usbAdj >= 1 && usbAdj <= 3 ? tune_[usbAdj - 1] : 5;
}

double SimSupply::reading(std::uint8_t reg) const
{
    if (auto fixed = faults_.fixedReadings.find(reg); fixed != faults_.fixedReadings.end()) return fixed->second;
    const double t = clock_();
    const double l = load();
    const double ripple = 0.004 * std::sin(t * 1.7);
    // Each fine-tune step trims the output by 0.75 %, so 1..9 spans +/- 3 %.
    auto trimmed = [&](double nominal, int usbAdj) {
        return nominal * (1.0 + 0.0075 * (tuneStep(usbAdj) - 5)) * (1.0 + ripple - 0.01 * l);
    };
    const double i3v3 = 3.0 + 6.0 * l, i5 = 2.5 + 7.0 * l;
    const double v3v3 = trimmed(3.33, 1), v5 = trimmed(5.05, 2), v12 = trimmed(12.1, 3);
    const double p12 = std::max(0.0, kRatedWatts * l - i3v3 * v3v3 - i5 * v5);
    const double i12v1 = 0.55 * p12 / v12, i12v2 = 0.45 * p12 / v12;
    const double inputVolts = 230.0 + 1.5 * std::sin(t / 41.0);
    const double inputWatts = kRatedWatts * l / 0.92;
    switch (reg) {
        case kRegVoltage12V: return v12;
        case kRegVoltage12V2: return v12 * 0.998;
        case kRegVoltage5V: return v5;
        case kRegVoltage3V3: return v3v3;
        case kRegCurrent3V3: return i3v3;
        case kRegCurrent5V: return i5;
        case kRegCurrent12V1: return i12v1;
        case kRegCurrent12V2: return i12v2;
        case kRegInputVoltage: return inputVolts;
        case kRegInputCurrent: return inputWatts / (inputVolts * 0.95);
        case kRegInputPower: return inputWatts;
        case kRegTemperature: return 31.0 + 38.0 * l;
        case kRegTemperature2: return 29.0 + 34.0 * l;
        default: return 0.0;
    }
}

Report SimSupply::identityAnswer(std::uint8_t command, std::string_view text)
{
    Report a{};
    a[kAnsCommand] = command;
    a[kAnsIdentityCount] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), a.begin() + kAnsIdentityText);
    return a;
}

Report SimSupply::readAnswer(std::uint8_t reg) const
{
    Report a{};
    a[kAnsCommand] = kCmdRead;
    a[kAnsRegister] = reg;
    a[3] = kRequestConstant;
    if (reg == kRegRatedPower) {
        const char text[] = "QL0650";
        std::copy_n(text, 6, a.begin() + kAnsRatedText);
        return a;
    }
    const bool known = std::any_of(kPollTable.begin(), kPollTable.end(), [reg](const PollRequest& request) {
        return request.command == kCmdRead && request.reg == reg;
    });
    if (!known) {
        a[kAnsStatus] = kStatusInvalid;
        return a;
    }
    const std::uint16_t word = encodeLinear(reading(reg), exponentFor(reg));
    a[kAnsLow] = static_cast<std::uint8_t>(word & 0xFF);
    a[kAnsHigh] = static_cast<std::uint8_t>(word >> 8);
    return a;
}

Report SimSupply::writeAnswer(std::uint8_t reg, std::uint8_t value)
{
    Report a{};
    a[kAnsCommand] = kCmdWrite;
    a[kAnsRegister] = reg;
    a[3] = kRequestConstant;
    if (reg == kRegRailMode) {
        if (value == kRailSingle || value == kRailMultiple) railMode_ = value;
        a[kAnsValue] = static_cast<std::uint8_t>(railMode_);
        return a;
    }
    const int index = reg == kRegTune3V3 ? 0 : reg == kRegTune5V ? 1 : reg == kRegTune12V ? 2 : -1;
    if (index < 0) {
        a[kAnsStatus] = kStatusInvalid;
        return a;
    }
    // The supply keeps its steps within 1..9 whatever it is asked for.
    tune_[index] = std::clamp<int>(value, 1, 9);
    a[kAnsValue] = static_cast<std::uint8_t>(tune_[index]);
    return a;
}

std::optional<Report> SimSupply::answer(const Report& request)
{
    const std::uint8_t command = request[kReqCommand];
    const std::uint8_t reg = request[kReqRegister];
    std::optional<Report> fresh;
    if (command == kCmdIdentity1 || command == kCmdIdentity2) {
        if (!faults_.silent.count(command))
            fresh = identityAnswer(command, command == kCmdIdentity1 ? "TALVORN QUORLANE" : "QL-650 SIM FW 1.04");
    } else if (command == kCmdRead) {
        if (!faults_.silent.count(reg)) fresh = readAnswer(reg);
    } else if (command == kCmdWrite) {
        if (!faults_.silent.count(reg)) fresh = writeAnswer(reg, request[kReqValue]);
    }
    if (fresh) {
        if (faults_.wrongEcho) (*fresh)[kAnsCommand] ^= 0x40;
        if (faults_.invalidStatus && command == kCmdRead) (*fresh)[kAnsStatus] = kStatusInvalid;
        if (faults_.garbage)
            for (auto& byte : *fresh) byte = static_cast<std::uint8_t>(splitmix(garbageState_));
    }
    if (!faults_.lateAnswers) return fresh;
    std::optional<Report> late = previousAnswer_;
    previousAnswer_ = fresh;
    return late;
}

std::optional<std::string> SimSupply::applyOption(std::string_view option)
{
    const auto eq = option.find('=');
    const std::string_view key = option.substr(0, eq);
    const std::string_view value = eq == std::string_view::npos ? std::string_view{} : option.substr(eq + 1);
    auto hexByte = [](std::string_view text) -> std::optional<std::uint8_t> {
        unsigned v = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
        if (ec != std::errc() || end != text.data() + text.size() || text.empty() || v > 0xFF) return std::nullopt;
        return static_cast<std::uint8_t>(v);
    };

    if (eq == std::string_view::npos) {
        if (key == "unplugged")
            faults_.unplugged = true;
        else if (key == "locked")
            faults_.locked = true;
        else if (key == "wrong-echo")
            faults_.wrongEcho = true;
        else if (key == "invalid")
            faults_.invalidStatus = true;
        else if (key == "late")
            faults_.lateAnswers = true;
        else if (key == "garbage")
            faults_.garbage = true;
        else
            return "unknown simulated fault '" + std::string(key) + "'";
        return std::nullopt;
    }
    if (key == "silent") {
        const auto reg = hexByte(value);
        if (!reg) return "silent= takes a register in hexadecimal, such as silent=2C";
        faults_.silent.insert(*reg);
        return std::nullopt;
    }
    if (key == "seed") {
        std::uint64_t seed = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seed);
        if (ec != std::errc() || end != value.data() + value.size()) return "seed= takes a whole number";
        seed_ = garbageState_ = seed;
        return std::nullopt;
    }
    const auto reg = registerOfTelemetry(key);
    if (!reg || *reg == kRegRatedPower)
        return "unknown simulated reading '" + std::string(key) +
               "' (use a reading name such as temperature, voltage12V or current5V)";
    const auto number = parseNumber(value, NumberLocale{});
    if (!number || *number < 0)
        return "'" + std::string(key) + "' takes a number of 0 or more, such as " + std::string(key) + "=12.5";
    faults_.fixedReadings[*reg] = *number;
    return std::nullopt;
}

}  // namespace kvrns::device
