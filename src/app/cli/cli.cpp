#include "app/cli/cli.h"

#include <cstdio>
#include <iomanip>
#include <map>
#include <optional>
#include <set>

#include "app/cli/json.h"
#include "device/device_link.h"
#include "device/device_spec.h"
#include "protocol/commands.h"
#include "protocol/telemetry.h"

namespace kvrns::cli {
namespace {

constexpr const char* kUsage =
    "usage: kvrns-cli COMMAND [OPTIONS]\n"
    "\n"
    "commands:\n"
    "  list                 the matching supplies found, one per line\n"
    "  status [--json]      one reading of every value\n"
    "\n"
    "options:\n"
    "  --device SPEC        auto (default) | hid | sim[:OPTION,...] | script:FILE\n"
    "  --json               one JSON object instead of a table\n"
    "  -h, --help           this help\n";

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string command;
    std::string device = "auto";
    bool json = false;
    bool help = false;
};

Options parseArgs(const std::vector<std::string>& args)
{
    Options options;
    const std::set<std::string> valued = {"--device"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        }
        if (valued.count(arg) && !value) {
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
            value = args[++i];
        }
        if (arg == "--device") options.device = *value;
        else if (arg == "--json" && !value) options.json = true;
        else if ((arg == "--help" || arg == "-h") && !value) options.help = true;
        else if (!arg.starts_with("-") && options.command.empty()) options.command = arg;
        else throw UsageError("unknown argument '" + args[i] + "'");
    }
    return options;
}

int listSupplies(device::HidBackend& backend, Environment& env)
{
    int found = 0;
    for (const auto& iface : backend.enumerate()) {
        if (iface.vendorId != wire::kVendorId || iface.productId != wire::kProductId) continue;
        char ids[16];
        std::snprintf(ids, sizeof ids, "%04x:%04x", iface.vendorId, iface.productId);
        env.out << iface.path << '\t' << ids << '\n';
        ++found;
    }
    if (found == 0) {
        env.err << "no power supply found\n";
        return kExitNoSupply;
    }
    return kExitOk;
}

void printTable(const Telemetry& telemetry, const std::vector<const TelemetryField*>& fields, Environment& env)
{
    for (const TelemetryField* field : fields) {
        env.out << std::left << std::setw(16) << field->name << telemetry.*(field->member);
        if (!field->unit.empty()) env.out << ' ' << field->unit;
        env.out << '\n';
    }
}

void printJson(const Telemetry& telemetry, const std::vector<const TelemetryField*>& fields, Environment& env)
{
    env.out << '{';
    for (std::size_t i = 0; i < fields.size(); ++i)
        env.out << (i ? "," : "") << jsonString(fields[i]->name) << ':' << jsonString(telemetry.*(fields[i]->member));
    env.out << "}\n";
}

int readStatus(device::HidBackend& backend, const Options& options, Environment& env)
{
    device::DeviceLink link(backend);
    link.devicePresent = link.FindTheHid();
    if (!link.devicePresent) {
        env.err << "no power supply found\n";
        return kExitNoSupply;
    }
    Telemetry telemetry;
    std::vector<const TelemetryField*> filled;
    for (int step = 0; step < kPollSteps && link.devicePresent; ++step) {
        const PollRequest& request = kPollTable[static_cast<std::size_t>(step)];
        link.writeFrame(request.frameText);
        link.readInputReport();
        if (applyPollAnswer(step, link.inputReport, telemetry, env.locale) && request.target)
            filled.push_back(findTelemetryField(request.target));
    }
    if (filled.empty() && !link.devicePresent) {
        env.err << "the power supply did not answer\n";
        return kExitError;
    }
    if (options.json) printJson(telemetry, filled, env);
    else printTable(telemetry, filled, env);
    return kExitOk;
}

}  // namespace

int run(const std::vector<std::string>& args, Environment env)
{
    Options options;
    try {
        options = parseArgs(args);
    } catch (const UsageError& e) {
        env.err << "kvrns-cli: " << e.what() << "\n" << kUsage;
        return kExitError;
    }
    if (options.help || options.command.empty()) {
        (options.help ? env.out : env.err) << kUsage;
        return options.help ? kExitOk : kExitError;
    }
    if (options.command != "list" && options.command != "status") {
        env.err << "kvrns-cli: unknown command '" << options.command << "'\n" << kUsage;
        return kExitError;
    }
    auto opened = device::makeBackend(options.device, env.clock);
    if (!opened.backend) {
        env.err << "kvrns-cli: " << opened.error << '\n';
        return kExitError;
    }
    if (options.command == "list") return listSupplies(*opened.backend, env);
    return readStatus(*opened.backend, options, env);
}

}  // namespace kvrns::cli
