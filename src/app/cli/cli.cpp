#include "app/cli/cli.h"

#include <charconv>
#include <cstdio>
#include <iomanip>
#include <map>
#include <optional>
#include <set>

#include "app/cli/cli_internal.h"
#include "app/cli/feed.h"
#include "app/cli/json.h"
#include "device/device_source.h"
#include "protocol/commands.h"
#include "settings/settings.h"
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
    "  watch [--interval S] [--cycles N] [--json] [--csv FILE] [--prometheus-textfile FILE]\n"
    "                            a line per cycle, S seconds apart (default 1), until stopped\n"
    "  serve [--listen HOST:PORT] [--interval S]\n"
    "                            the readings as Prometheus metrics on http://HOST:PORT/metrics\n"
    "  tune 3.3V|5V|12V STEP     asks the supply for fine-tune step 1..9 and stores it\n"
    "  rail single|multi         switches the +12V rail mode and stores it\n"
    "\n"
    "While the dashboard runs it owns the supply: status, watch and serve read its\n"
    "readings, and tune and rail go through it.\n"
    "\n"
    "options:\n"
    "  --device SOURCE           auto (default) | hid | sim[:OPTION,...] | script:FILE\n"
    "  --settings FILE           the settings file (default: TALVORN.txt beside the program,\n"
    "                            else $XDG_CONFIG_HOME/kvrns/TALVORN.txt)\n"
    "  --record FILE             writes every exchange with the supply to FILE, in the form\n"
    "                            --device script:FILE replays\n"
    "  --cycles N                stops after N cycles (status: default 1; watch: until stopped)\n"
    "  --interval MS|S           the wait between cycles: milliseconds for status and frames,\n"
    "                            seconds for watch and serve (fractions allowed, such as 0.5)\n"
    "  --json                    JSON, one object per cycle and line\n"
    "  --csv FILE                watch: appends a row per cycle to FILE, a header row first\n"
    "  --prometheus-textfile FILE\n"
    "                            watch: the metrics for node_exporter's textfile collector,\n"
    "                            replaced whole each cycle\n"
    "  --listen HOST:PORT        serve: where to listen (default 127.0.0.1:9877)\n"
    "  -h, --help                this help\n";

int wholeNumber(const std::string& text, const std::string& option, int minimum)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < minimum)
        throw UsageError(option + " takes a whole number of " + std::to_string(minimum) + " or more, not '" + text +
                         "'");
    return value;
}

// The options only some commands take.
void checkOptionsFit(const Options& options)
{
    const auto refuse = [&](const char* option, const char* commands) {
        throw UsageError(std::string(option) + " is for " + commands + ", not " + options.command);
    };
    const std::string& c = options.command;
    if ((options.csv || options.textfile) && c != "watch")
        refuse(options.csv ? "--csv" : "--prometheus-textfile", "watch");
    if (options.listen && c != "serve") refuse("--listen", "serve");
    if (options.record && c == "list") refuse("--record", "the commands that talk to the supply");
    if (options.interval && c != "status" && c != "frames" && c != "watch" && c != "serve")
        refuse("--interval", "status, frames, watch and serve");
}

Options parseArgs(const std::vector<std::string>& args)
{
    Options options;
    const std::set<std::string> valued = {"--device", "--settings", "--cycles", "--interval",
                                          "--record", "--csv",      "--listen", "--prometheus-textfile"};
    const std::map<std::string, std::optional<std::string> Options::*> files = {
        {"--settings", &Options::settings}, {"--record", &Options::record},
        {"--csv", &Options::csv},           {"--listen", &Options::listen},
        {"--interval", &Options::interval}, {"--prometheus-textfile", &Options::textfile}};
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
        if (arg == "--device") {
            options.device = *value;
        } else if (const auto file = files.find(arg); file != files.end()) {
            if (value->empty()) throw UsageError(arg + " needs a value");
            options.*(file->second) = *value;
        } else if (arg == "--cycles") {
            options.cycles = wholeNumber(*value, arg, 1);
            options.cyclesGiven = true;
        } else if (arg == "--json" && !value) {
            options.json = true;
        } else if ((arg == "--help" || arg == "-h") && !value) {
            options.help = true;
        } else if (!arg.starts_with("-") || arg == "-") {
            if (options.command.empty())
                options.command = arg;
            else
                options.operands.push_back(arg);
        } else {
            throw UsageError("unknown argument '" + args[i] + "'");
        }
    }
    if (options.interval && (options.command == "status" || options.command == "frames"))
        wholeNumber(*options.interval, "--interval", 0);
    if (options.interval && (options.command == "watch" || options.command == "serve")) intervalSeconds(options);
    checkOptionsFit(options);
    return options;
}

void showExchange(std::ostream& out, const device::ExchangeEvent& e)
{
    if (e.kind == device::ExchangeEvent::Kind::Write) {
        out << "> " << device::reportText(e.bytes, wire::kRequestLength) << '\n';
    } else if (e.status == device::ReadStatus::Ok) {
        out << "< " << device::reportText(e.bytes, wire::kRequestLength) << '\n';
    } else {
        out << "< " << (e.status == device::ReadStatus::Timeout ? "timeout" : "failed") << '\n';
    }
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

int runCycles(Session& s, bool withFrames)
{
    if (withFrames && findDashboard(s))
        return s.fail(
            "kvrns-cli: the running dashboard owns the supply; close it to see the frames, or start it with "
            "--record FILE");
    s.showFrames = withFrames;
    s.env.catchStopRequests();
    Feed feed(s);
    if (const auto status = feed.start(false)) return *status;

    bool anyFailed = false;
    const int intervalMs = s.options.interval ? std::stoi(*s.options.interval) : 1000;
    for (int cycle = 1; cycle <= s.options.cycles; ++cycle) {
        if (cycle > 1 && intervalMs > 0 && !pauseBetweenCycles(s.env, intervalMs / 1000.0)) break;
        const TickReport report = feed.next();
        if (!reportTick(report, s.env, anyFailed)) continue;
        if (s.options.json)
            printCycleJson(report, s.env);
        else
            printCycleTable(report, cycle, s.options.cycles > 1 || withFrames, s.env);
    }
    return finish(s, anyFailed ? kExitError : kExitOk);
}

struct TuneRail {
    int usbAdj;
    const char* name;
};

int tune(Session& s)
{
    static const std::map<std::string, TuneRail> rails = {
        {"3.3V", {1, "+3.3V"}}, {"5V", {2, "+5V"}}, {"12V", {3, "+12V"}}};
    if (s.options.operands.size() != 2) return s.fail("kvrns-cli: tune takes a rail and a step: tune 12V 6");
    const auto rail = rails.find(s.options.operands[0]);
    if (rail == rails.end())
        return s.fail("kvrns-cli: unknown rail '" + s.options.operands[0] + "' (use 3.3V, 5V or 12V)");
    const std::string& stepText = s.options.operands[1];
    if (stepText.size() != 1 || stepText[0] < '1' || stepText[0] > '9')
        return s.fail("kvrns-cli: fine-tune step '" + stepText + "' is outside 1 to 9");
    const auto [usbAdj, name] = rail->second;
    const int step = stepText[0] - '0';

    if (auto dashboard = findDashboard(s))
        return changeThroughDashboard(s, *dashboard, {owner::RequestKind::Tune, usbAdj, step, 1}, name);
    if (!openSettings(s)) return kExitError;
    if (!connect(s)) return noSupply(s);
    const AckOutcome ack = s.engine->fineTune(usbAdj, step);
    if (!ack.acknowledged)
        return finish(s, s.fail(std::string("the supply did not acknowledge the ") + name + " fine-tune step",
                                kExitNotAcknowledged));
    if (!saveSettings(s)) return kExitError;
    s.env.out << name << " fine-tune step " << ack.valueInForce << " in force\n";
    return finish(s, kExitOk);
}

int rail(Session& s)
{
    if (s.options.operands.size() != 1 || (s.options.operands[0] != "single" && s.options.operands[0] != "multi"))
        return s.fail("kvrns-cli: rail takes single or multi");
    const bool single = s.options.operands[0] == "single";
    if (auto dashboard = findDashboard(s))
        return changeThroughDashboard(s, *dashboard, {owner::RequestKind::Rail, 0, 0, single ? 0 : 1}, "rail mode");
    if (!openSettings(s)) return kExitError;
    if (!connect(s)) return noSupply(s);

    // As the dashboard's lever does: a switch resets the +12V protection
    // level and warning points to the top of the new mode's range.
    warnings::applyRailMode(*s.store, single ? 0 : 1);

    const AckOutcome ack = s.engine->switchRailMode();
    if (!ack.acknowledged)
        return finish(s, s.fail("the supply did not acknowledge the rail mode", kExitNotAcknowledged));
    if (!saveSettings(s)) return kExitError;
    s.env.out << (single ? "single +12V rail" : "multiple +12V rails") << " in force\n";
    return finish(s, kExitOk);
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

// Opens --record before anything is exchanged; false after saying why not.
bool openRecording(Session& s)
{
    if (!s.options.record) return true;
    std::string error;
    s.recorder = device::TraceRecorder::create(*s.options.record, &error);
    if (!s.recorder) s.env.err << "kvrns-cli: " << error << '\n';
    return s.recorder != nullptr;
}

}  // namespace

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

bool connect(Session& s)
{
    s.link = std::make_unique<device::DeviceLink>(*s.backend);
    if (s.recorder || s.showFrames)
        s.link->setObserver([&s](const device::ExchangeEvent& e) {
            if (s.recorder) s.recorder->record(e);
            if (s.showFrames) showExchange(s.env.out, e);
        });
    s.engine = std::make_unique<Engine>(*s.link, *s.store, s.env.locale);
    return s.engine->discover();
}

int noSupply(Session& s)
{
    s.env.err << "no power supply found\n";
    for (const auto& refused : s.link ? s.link->refusedInterfaces() : std::vector<device::RefusedInterface>{}) {
        s.env.err << "kvrns-cli: a supply was found at " << refused.path << ", but this user may not open it ("
                  << refused.reason << ").\n";
#if defined(__linux__)
        s.env.err << "  The udev rule that gives the user at the seat access to it is missing or not loaded.\n"
                     "  Install it (the package puts it in /usr/lib/udev/rules.d/70-kvrns.rules; from the\n"
                     "  source tree: sudo cp packaging/udev/70-kvrns.rules /etc/udev/rules.d/), then load it:\n"
                     "    sudo udevadm control --reload && sudo udevadm trigger\n";
#endif
    }
    return finish(s, kExitNoSupply);
}

int finish(Session& s, int status)
{
    if (s.recorder && !s.recorder->good()) {
        s.env.err << "kvrns-cli: " << s.recorder->path().string() << ": the trace could not be written completely\n";
        if (status == kExitOk) return kExitError;
    }
    return status;
}

void printCycleJson(const TickReport& report, Environment& env, const std::string& time)
{
    env.out << '{';
    if (!time.empty()) env.out << "\"time\":" << jsonString(time) << ',';
    for (const auto& field : kTelemetryFields)
        env.out << jsonString(field.name) << ':' << jsonString(report.telemetry.*(field.member)) << ',';
    env.out << "\"warnings\":[";
    for (std::size_t i = 0; i < report.warnings.size(); ++i)
        env.out << (i ? "," : "") << jsonString(warnings::describe(report.warnings[i]));
    env.out << "]}\n";
}

bool reportTick(const TickReport& report, Environment& env, bool& anyFailed)
{
    if (report.kind == TickKind::Failed) {
        anyFailed = true;
        env.err << report.error << " (" << report.errorDetail << ")\n";
        return false;
    }
    if (report.kind == TickKind::Rediscovery)
        env.err << (report.devicePresent ? "supply found again\n" : "supply lost; searching\n");
    return true;
}

bool pauseBetweenCycles(Environment& env, double seconds)
{
    if (env.pause) return env.pause(seconds);
    env.sleep(static_cast<int>(seconds * 1000 + 0.5));
    return true;
}

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
    static const std::set<std::string> commands = {"list", "status", "frames", "watch", "serve", "tune", "rail"};
    if (!commands.count(options.command)) {
        env.err << "kvrns-cli: unknown command '" << options.command << "'\n" << kUsage;
        return kExitError;
    }
    if (options.command != "tune" && options.command != "rail" && !options.operands.empty()) {
        env.err << "kvrns-cli: unexpected argument '" << options.operands[0] << "'\n";
        return kExitError;
    }
    auto opened = device::makeBackend(options.device, env.clock);
    if (!opened.backend) {
        env.err << "kvrns-cli: " << opened.error << '\n';
        return kExitError;
    }
    Session session{env, options, std::move(opened.backend), {}, {}, {}, {}, {}, false};
    if (options.command == "list") return listSupplies(session);
    if (!openRecording(session)) return kExitError;
    if (options.command == "tune") return tune(session);
    if (options.command == "rail") return rail(session);
    if (options.command == "watch") return watch(session);
    if (options.command == "serve") return serve(session);
    return runCycles(session, options.command == "frames");
}

}  // namespace kvrns::cli
