#include "app/cli/cli.h"

#include <charconv>
#include <cstdio>
#include <iomanip>
#include <map>
#include <optional>
#include <set>

#include "app/cli/json.h"
#include "device/device_link.h"
#include "device/device_spec.h"
#include "protocol/commands.h"
#include "protocol/engine.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "warnings/warning_points.h"

namespace kvrns::cli {
namespace {

constexpr const char* kUsage =
    "usage: kvrns-cli COMMAND [OPTIONS]\n"
    "\n"
    "commands:\n"
    "  list                      the matching supplies found, one per line\n"
    "  status [--cycles N] [--interval MS] [--json]\n"
    "                            N polling cycles (default 1), MS between them (default 1000)\n"
    "  frames [same as status]   status, with every frame sent and every answer received\n"
    "  tune 3.3V|5V|12V STEP     asks the supply for fine-tune step 1..9 and stores it\n"
    "  rail single|multi         switches the +12V rail mode and stores it\n"
    "\n"
    "options:\n"
    "  --device SPEC             auto (default) | hid | sim[:OPTION,...] | script:FILE\n"
    "  --settings FILE           the settings file (default: TALVORN.txt beside the program,\n"
    "                            else $XDG_CONFIG_HOME/kvrns/TALVORN.txt)\n"
    "  --json                    JSON, one object per cycle and line\n"
    "  -h, --help                this help\n";

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string command;
    std::vector<std::string> operands;
    std::string device = "auto";
    std::optional<std::string> settings;
    int cycles = 1;
    int intervalMs = 1000;
    bool json = false;
    bool help = false;
};

int wholeNumber(const std::string& text, const std::string& option, int minimum)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < minimum)
        throw UsageError(option + " takes a whole number of " + std::to_string(minimum) + " or more, not '" + text +
                         "'");
    return value;
}

Options parseArgs(const std::vector<std::string>& args)
{
    Options options;
    const std::set<std::string> valued = {"--device", "--settings", "--cycles", "--interval"};
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
        if (arg == "--device")
            options.device = *value;
        else if (arg == "--settings")
            options.settings = *value;
        else if (arg == "--cycles")
            options.cycles = wholeNumber(*value, arg, 1);
        else if (arg == "--interval")
            options.intervalMs = wholeNumber(*value, arg, 0);
        else if (arg == "--json" && !value)
            options.json = true;
        else if ((arg == "--help" || arg == "-h") && !value)
            options.help = true;
        else if (!arg.starts_with("-") || arg == "-") {
            if (options.command.empty())
                options.command = arg;
            else
                options.operands.push_back(arg);
        } else {
            throw UsageError("unknown argument '" + args[i] + "'");
        }
    }
    return options;
}

// Everything a command needs once its arguments are good.
struct Session {
    Environment& env;
    const Options& options;
    std::unique_ptr<device::HidBackend> backend;
    std::filesystem::path settingsPath;
    std::unique_ptr<settings::SettingsStore> store;
    std::unique_ptr<device::DeviceLink> link;
    std::unique_ptr<Engine> engine;

    int fail(const std::string& message, int status = kExitError)
    {
        env.err << message << '\n';
        return status;
    }
};

// Opens the settings; false after telling the user why not.
bool openSettings(Session& s)
{
    const auto location = settings::locateSettings(
        s.options.settings ? std::optional<std::filesystem::path>(*s.options.settings) : std::nullopt,
        s.env.executableFolder, s.env.getenv);
    s.settingsPath = location.path;
    auto outcome = settings::loadSettings(location, s.env.locale);
    if (!outcome.values) {
        s.env.err << "kvrns-cli: " << location.path.string() << ": " << settings::kFailureMessage << " ("
                  << outcome.detail << ")\n";
        return false;
    }
    s.store = std::make_unique<settings::SettingsStore>(std::move(*outcome.values));
    return true;
}

bool saveSettings(Session& s)
{
    std::string error;
    const auto status = settings::writeSettingsFile(s.settingsPath, s.store->values(), &error);
    if (status == WriteStatus::Ok) return true;
    s.env.err << "kvrns-cli: " << s.settingsPath.string() << ": "
              << (status == WriteStatus::AccessDenied ? std::string(settings::kFailureMessage) : error) << '\n';
    return false;
}

std::string hexBytes(std::span<const std::uint8_t> bytes)
{
    std::size_t shown = bytes.size();
    while (shown > wire::kRequestLength && bytes[shown - 1] == 0) --shown;
    std::string text;
    char buf[4];
    for (std::size_t i = 0; i < shown; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
        text += (i ? " " : "") + std::string(buf);
    }
    return text;
}

void showExchanges(Session& s)
{
    s.link->setObserver([&out = s.env.out](const device::ExchangeEvent& e) {
        if (e.kind == device::ExchangeEvent::Kind::Write) {
            out << "> " << hexBytes(e.bytes) << '\n';
        } else if (e.status == device::ReadStatus::Ok) {
            out << "< " << hexBytes(e.bytes) << '\n';
        } else {
            out << "< " << (e.status == device::ReadStatus::Timeout ? "timeout" : "failed") << '\n';
        }
    });
}

void printCycleJson(const TickReport& report, Environment& env)
{
    env.out << '{';
    for (const auto& field : kTelemetryFields)
        env.out << jsonString(field.name) << ':' << jsonString(report.telemetry.*(field.member)) << ',';
    env.out << "\"warnings\":[";
    for (std::size_t i = 0; i < report.warnings.size(); ++i)
        env.out << (i ? "," : "") << jsonString(warnings::describe(report.warnings[i]));
    env.out << "]}\n";
}

void printCycleTable(const TickReport& report, int cycle, bool numbered, Environment& env)
{
    if (numbered) env.out << "cycle " << cycle << '\n';
    for (const auto& field : kTelemetryFields) {
        std::string value = report.telemetry.*(field.member);
        if (!field.unit.empty() && !value.empty()) value += ' ' + std::string(field.unit);
        env.out << "  " << std::left << std::setw(17) << field.name << value << '\n';
    }
    env.out << "  " << std::left << std::setw(17) << "warnings";
    if (report.warnings.empty()) env.out << "none";
    for (std::size_t i = 0; i < report.warnings.size(); ++i)
        env.out << (i ? ", " : "") << warnings::describe(report.warnings[i]);
    env.out << '\n';
}

bool connect(Session& s)
{
    s.link = std::make_unique<device::DeviceLink>(*s.backend);
    s.engine = std::make_unique<Engine>(*s.link, *s.store, s.env.locale);
    return s.engine->discover();
}

int runCycles(Session& s, bool withFrames)
{
    if (!openSettings(s)) return kExitError;
    if (!connect(s)) return s.fail("no power supply found", kExitNoSupply);
    if (withFrames) showExchanges(s);

    bool anyFailed = false;
    for (int cycle = 1; cycle <= s.options.cycles; ++cycle) {
        if (cycle > 1 && s.options.intervalMs > 0) s.env.sleep(s.options.intervalMs);
        const TickReport report = s.engine->tick();
        if (report.kind == TickKind::Failed) {
            anyFailed = true;
            s.env.err << report.error << " (" << report.errorDetail << ")\n";
            continue;
        }
        if (report.kind == TickKind::Rediscovery)
            s.env.err << (report.devicePresent ? "supply found again\n" : "supply lost; searching\n");
        if (s.options.json)
            printCycleJson(report, s.env);
        else
            printCycleTable(report, cycle, s.options.cycles > 1 || withFrames, s.env);
    }
    return anyFailed ? kExitError : kExitOk;
}

int tune(Session& s)
{
    static const std::map<std::string, std::pair<int, const char*>> rails = {
        {"3.3V", {1, "+3.3V"}}, {"5V", {2, "+5V"}}, {"12V", {3, "+12V"}}};
    if (s.options.operands.size() != 2) return s.fail("kvrns-cli: tune takes a rail and a step: tune 12V 6");
    const auto rail = rails.find(s.options.operands[0]);
    if (rail == rails.end())
        return s.fail("kvrns-cli: unknown rail '" + s.options.operands[0] + "' (use 3.3V, 5V or 12V)");
    const std::string& stepText = s.options.operands[1];
    if (stepText.size() != 1 || stepText[0] < '1' || stepText[0] > '9')
        return s.fail("kvrns-cli: fine-tune step '" + stepText + "' is outside 1 to 9");

    if (!openSettings(s)) return kExitError;
    if (!connect(s)) return s.fail("no power supply found", kExitNoSupply);
    const auto [usbAdj, name] = rail->second;
    const AckOutcome ack = s.engine->fineTune(usbAdj, stepText[0] - '0');
    if (!ack.acknowledged)
        return s.fail(std::string("the supply did not acknowledge the ") + name + " fine-tune step",
                      kExitNotAcknowledged);
    if (!saveSettings(s)) return kExitError;
    s.env.out << name << " fine-tune step " << ack.valueInForce << " in force\n";
    return kExitOk;
}

int rail(Session& s)
{
    if (s.options.operands.size() != 1 || (s.options.operands[0] != "single" && s.options.operands[0] != "multi"))
        return s.fail("kvrns-cli: rail takes single or multi");
    if (!openSettings(s)) return kExitError;
    if (!connect(s)) return s.fail("no power supply found", kExitNoSupply);

    // As the dashboard's lever does: a switch resets the +12V protection
    // level and warning points to the top of the new mode's range.
    const bool single = s.options.operands[0] == "single";
    warnings::applyRailMode(*s.store, single ? 0 : 1);

    const AckOutcome ack = s.engine->switchRailMode();
    if (!ack.acknowledged) return s.fail("the supply did not acknowledge the rail mode", kExitNotAcknowledged);
    if (!saveSettings(s)) return kExitError;
    s.env.out << (single ? "single +12V rail" : "multiple +12V rails") << " in force\n";
    return kExitOk;
}

int listSupplies(Session& s)
{
    int found = 0;
    for (const auto& iface : s.backend->enumerate()) {
        if (iface.vendorId != wire::kVendorId || iface.productId != wire::kProductId) continue;
        char ids[16];
        std::snprintf(ids, sizeof ids, "%04x:%04x", iface.vendorId, iface.productId);
        s.env.out << iface.path << '\t' << ids << '\n';
        ++found;
    }
    return found ? kExitOk : s.fail("no power supply found", kExitNoSupply);
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
    static const std::set<std::string> commands = {"list", "status", "frames", "tune", "rail"};
    if (!commands.count(options.command)) {
        env.err << "kvrns-cli: unknown command '" << options.command << "'\n" << kUsage;
        return kExitError;
    }
    if ((options.command == "list" || options.command == "status" || options.command == "frames") &&
        !options.operands.empty()) {
        env.err << "kvrns-cli: unexpected argument '" << options.operands[0] << "'\n";
        return kExitError;
    }
    auto opened = device::makeBackend(options.device, env.clock);
    if (!opened.backend) {
        env.err << "kvrns-cli: " << opened.error << '\n';
        return kExitError;
    }
    Session session{env, options, std::move(opened.backend), {}, {}, {}, {}};
    if (options.command == "list") return listSupplies(session);
    if (options.command == "tune") return tune(session);
    if (options.command == "rail") return rail(session);
    return runCycles(session, options.command == "frames");
}

}  // namespace kvrns::cli
