// kvrns-cli watch: a line per cycle until stopped, and the same readings
// appended to a CSV file or written for node_exporter.
#include <charconv>
#include <cmath>
#include <ctime>

#include "app/cli/cli_internal.h"
#include "app/cli/csv_log.h"
#include "app/cli/feed.h"
#include "app/cli/metrics.h"
#include "common/atomic_file.h"
#include "warnings/evaluation.h"

namespace kvrns::cli {
namespace {

constexpr double kLongestInterval = 24 * 3600;

std::string withUnit(const std::string& value, const char* unit)
{
    return value.empty() ? "-" : value + unit;
}

// The readings a person watches, on one line.
void printCycleLine(const TickReport& report, const std::string& time, Environment& env)
{
    const Telemetry& t = report.telemetry;
    env.out << time << "  " << withUnit(t.outputPower, " W") << "  load " << withUnit(t.loadPercent, " %")
            << "  efficiency " << withUnit(t.efficiency, " %") << "  input " << withUnit(t.inputVoltage, " V") << ' '
            << withUnit(t.inputWatt, " W") << "  +3.3V " << withUnit(t.voltage3V3, " V") << ' '
            << withUnit(t.current3V3, " A") << "  +5V " << withUnit(t.voltage5V, " V") << ' '
            << withUnit(t.current5V, " A") << "  +12V " << withUnit(t.voltage12V, " V") << ' '
            << withUnit(t.current12V1, " A") << '/' << withUnit(t.current12V2, " A") << "  "
            << withUnit(t.temperature, " °C") << '/' << withUnit(t.temperature2, " °C");
    for (std::size_t i = 0; i < report.warnings.size(); ++i)
        env.out << (i ? ", " : "  warnings: ") << warnings::describe(report.warnings[i]);
    env.out << '\n';
}

struct Outputs {
    std::unique_ptr<CsvLog> csv;
    std::unique_ptr<SupplyMetrics> metrics;  // for --prometheus-textfile
};

// False after saying why a file could not be written: watching on without
// the log the user asked for would lose what it was meant to keep.
bool writeOutputs(Session& s, Outputs& outputs, const TickReport& report, const std::string& time)
{
    std::string error;
    if (outputs.csv && report.kind == TickKind::Cycle && !outputs.csv->append(time, report, s.env.locale, &error)) {
        s.env.err << "kvrns-cli: " << error << '\n';
        return false;
    }
    if (outputs.metrics) {
        outputs.metrics->update(report);
        if (writeFileAtomically(*s.options.textfile, outputs.metrics->text(), &error) != WriteStatus::Ok) {
            s.env.err << "kvrns-cli: " << *s.options.textfile << ": " << error << '\n';
            return false;
        }
    }
    return true;
}

}  // namespace

double intervalSeconds(const Options& options)
{
    if (!options.interval) return 1;
    const std::string& text = *options.interval;
    double seconds = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (ec != std::errc() || end != text.data() + text.size() || !(seconds > 0) || seconds > kLongestInterval)
        throw UsageError("--interval takes seconds above 0 and at most 86400, such as 1 or 0.5, not '" + text + "'");
    return seconds;
}

std::string isoTime(std::chrono::system_clock::time_point when)
{
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(std::floor(millis / 1000.0));
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char stamp[32];
    char zone[8];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    std::strftime(zone, sizeof zone, "%z", &local);  // +0200
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03d", static_cast<int>(((millis % 1000) + 1000) % 1000));
    const std::string offset(zone);
    return std::string(stamp) + fraction + (offset.size() == 5 ? offset.substr(0, 3) + ":" + offset.substr(3) : "Z");
}

int watch(Session& s)
{
    const double interval = intervalSeconds(s.options);
    Outputs outputs;
    std::string error;
    if (s.options.csv && !(outputs.csv = CsvLog::open(*s.options.csv, &error))) return s.fail("kvrns-cli: " + error);
    if (s.options.textfile) outputs.metrics = std::make_unique<SupplyMetrics>(s.env.locale);

    s.env.catchStopRequests();
    Feed feed(s);
    if (const auto status = feed.start(false)) return *status;

    bool anyFailed = false;
    for (int cycle = 1; !s.options.cyclesGiven || cycle <= s.options.cycles; ++cycle) {
        if (cycle > 1 && !pauseBetweenCycles(s.env, interval)) break;
        const std::string time = isoTime(s.env.wallClock());
        const TickReport report = feed.next();
        if (!reportTick(report, s.env, anyFailed)) continue;
        if (s.options.json)
            printCycleJson(report, s.env, time);
        else
            printCycleLine(report, time, s.env);
        s.env.out.flush();  // a pipe reader sees each cycle as it comes
        if (!writeOutputs(s, outputs, report, time)) return finish(s, kExitError);
    }
    return finish(s, anyFailed ? kExitError : kExitOk);
}

}  // namespace kvrns::cli
