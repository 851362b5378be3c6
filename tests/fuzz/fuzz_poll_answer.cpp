// Answers of the supply, any 65 bytes: for every pollStep the answer is used
// or left alone, and the engine that reads them through the fine-tune and
// rail-mode acknowledgements and whole cycles keeps a sound state.
#include <algorithm>

#include "device/device_link.h"
#include "fuzz_support.h"
#include "protocol/commands.h"
#include "protocol/engine.h"
#include "support/telemetry_checks.h"

namespace kvrns::fuzz {
namespace {

using device::ReadStatus;

// Every pollStep on one answer: used means the value it sets is sound; not
// used means nothing changed.
void checkEveryStep(const Report& answer, NumberLocale locale)
{
    for (int step = 0; step < kPollSteps; ++step) {
        Telemetry telemetry;
        const bool used = applyPollAnswer(step, answer, telemetry, locale);
        if (!used) {
            check(telemetry == Telemetry{}, "a refused answer changed step " + std::to_string(step));
            continue;
        }
        const PollRequest& request = kPollTable[static_cast<std::size_t>(step)];
        check(answer[wire::kAnsCommand] == request.command, "an answer with a wrong echo was used");
        const std::string problem = test::telemetryProblem(telemetry, locale);
        check(problem.empty(), "step " + std::to_string(step) + ": " + problem);
        if (request.command == wire::kCmdRead) {
            check(answer[wire::kAnsRegister] == request.reg, "an answer for another register was used");
        } else {
            const std::string& identity =
                request.command == wire::kCmdIdentity1 ? telemetry.identity1 : telemetry.identity2;
            check(identity.size() <= wire::kIdentityMaxChars, "an identity longer than the report");
        }
    }
    Telemetry untouched;
    check(!applyPollAnswer(-1, answer, untouched, locale) && !applyPollAnswer(kPollSteps, answer, untouched, locale),
          "a pollStep out of range was used");
}

// A supply whose every answer comes from the fuzz input, shaped after the
// request just written often enough to reach deep into the decode.
class InputSupply final : public device::HidBackend {
public:
    explicit InputSupply(Input& in) : in_(in) {}

    std::vector<device::HidInterface> enumerate() override { return {{"fuzz", wire::kVendorId, wire::kProductId}}; }
    std::unique_ptr<device::HidConnection> open(const std::string&, std::string*) override
    {
        struct Handle final : device::HidConnection {
            explicit Handle(InputSupply& s) : s(s) {}
            device::ReportLengths reportLengths() const override { return {}; }
            int write(std::span<const std::uint8_t> r) override { return s.write(r); }
            ReadStatus read(std::span<std::uint8_t> r, int t) override { return s.read(r, t); }
            InputSupply& s;
        };
        return std::make_unique<Handle>(*this);
    }

    int write(std::span<const std::uint8_t> report)
    {
        std::fill(request_.begin(), request_.end(), 0);
        std::copy_n(report.begin(), std::min(report.size(), request_.size()), request_.begin());
        return static_cast<int>(report.size());
    }
    ReadStatus read(std::span<std::uint8_t> report, int)
    {
        if (in_.empty()) return ReadStatus::Timeout;
        Report answer{};
        switch (in_.byte() % 8) {
            case 0: return ReadStatus::Timeout;
            case 1: return ReadStatus::Failed;
            case 2:
            case 3:  // a reading for the register asked
                answer[wire::kAnsCommand] = request_[wire::kReqCommand];
                answer[wire::kAnsRegister] = request_[wire::kReqRegister];
                answer[wire::kAnsStatus] = in_.byte();
                answer[wire::kAnsLow] = in_.byte();
                answer[wire::kAnsHigh] = in_.byte();
                break;
            case 4:  // a write answer
                answer[wire::kAnsCommand] = wire::kCmdWrite;
                answer[wire::kAnsRegister] = request_[wire::kReqRegister];
                answer[wire::kAnsValue] = in_.byte();
                answer[wire::kAnsStatus] = in_.byte();
                break;
            default: {  // raw bytes
                const auto head = in_.bytes(in_.byte() % (wire::kReportLength + 1));
                std::copy(head.begin(), head.end(), answer.begin());
            }
        }
        std::copy_n(answer.begin(), std::min(report.size(), answer.size()), report.begin());
        return ReadStatus::Ok;
    }

private:
    Input& in_;
    Report request_{};
};

struct EngineRun {
    explicit EngineRun(Input& in, NumberLocale locale) : in(in), locale(locale), supply(in), link(supply)
    {
        engine.setBetweenExchanges([this] { checkState("between exchanges"); });
    }

    void checkState(const std::string& when)
    {
        const std::string state = test::cycleStateProblem(engine.state());
        check(state.empty(), when + ": " + state);
        const std::string values = test::telemetryProblem(engine.telemetry(), locale);
        check(values.empty(), when + ": " + values);
    }

    void step()
    {
        const std::uint8_t op = in.byte();
        switch (op % 8) {
            case 4: engine.fineTune(in.byte() % 5, static_cast<std::int8_t>(in.byte())); break;
            case 5:
                store.setRailMode(in.byte() % 3);
                engine.switchRailMode();
                break;
            case 6: engine.clearSetVolNum(); break;
            case 7:  // a hand-edited step the delivery must cope with
                store.setValue(settings::TuneStep3V3 + in.byte() % 3, std::string(in.bytes(in.byte() % 5)));
                stepsEdited = true;
                break;
            default: {
                const TickReport report = engine.tick();
                check(report.kind != TickKind::Failed || stepsEdited,
                      "an answer of the supply made the cycle fail: " + report.errorDetail);
                const std::string values = test::telemetryProblem(report.telemetry, locale);
                check(values.empty(), "reported: " + values);
            }
        }
        checkState("after operation " + std::to_string(op % 8));
    }

    Input& in;
    NumberLocale locale;
    InputSupply supply;
    device::DeviceLink link;
    settings::SettingsStore store;
    Engine engine{link, store, locale};
    bool stepsEdited = false;
};

}  // namespace
}  // namespace kvrns::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kvrns;
    fuzz::Input in(data, size);
    const NumberLocale locale = in.locale();

    Report answer{};
    const auto head = in.bytes(wire::kReportLength);
    std::copy(head.begin(), head.end(), answer.begin());
    fuzz::checkEveryStep(answer, locale);

    fuzz::EngineRun run(in, locale);
    run.engine.discover();
    for (int ops = 0; ops < 256 && !in.empty(); ++ops) run.step();
    return 0;
}
