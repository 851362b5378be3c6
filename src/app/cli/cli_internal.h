// What kvrns-cli's commands share once the command line is read: the
// options, the session (settings, supply, engine), and the helpers every
// command uses. Private to src/app/cli.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/cli/cli.h"
#include "app/owner/owner_client.h"
#include "app/owner/owner_protocol.h"
#include "device/device_link.h"
#include "device/trace_recorder.h"
#include "protocol/engine.h"
#include "settings/settings_store.h"

namespace kvrns::cli {

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
    bool cyclesGiven = false;
    std::optional<std::string> interval;  // milliseconds for status and frames, seconds for watch and serve
    bool json = false;
    bool help = false;
    std::optional<std::string> record;
    std::optional<std::string> csv;
    std::optional<std::string> textfile;  // --prometheus-textfile
    std::optional<std::string> listen;
};

// Everything a command needs once its arguments are good.
struct Session {
    Environment& env;
    const Options& options;
    std::unique_ptr<device::HidBackend> backend;
    std::filesystem::path settingsPath;
    std::unique_ptr<settings::SettingsStore> store;
    std::unique_ptr<device::DeviceLink> link;
    std::unique_ptr<Engine> engine;
    std::unique_ptr<device::TraceRecorder> recorder;
    bool showFrames = false;

    int fail(const std::string& message, int status = kExitError)
    {
        env.err << message << '\n';
        return status;
    }
};

// Opens the settings; false after telling the user why not.
bool openSettings(Session& s);
bool saveSettings(Session& s);
// The link, the engine and discovery; the link's traffic goes to --record
// and, for frames, to the terminal.
bool connect(Session& s);
// "no power supply found", and for a supply this user may not open, why
// and how to fix it.
int noSupply(Session& s);
// The exit status once a command's work is done: a trace that could not be
// written completely turns success into an error.
int finish(Session& s, int status);

// A running dashboard owns the real supply; the in-process sim and script
// supplies belong to this program alone.
std::unique_ptr<owner::DashboardClient> findDashboard(Session& s);
int changeThroughDashboard(Session& s, owner::DashboardClient& dashboard, const owner::Request& request,
                           const std::string& what);

// Waits between cycles; false when the user asked the program to stop.
bool pauseBetweenCycles(Environment& env, double seconds);

// Says on standard error what a tick did instead of a reading. False when
// it has nothing to print (its cycle failed); `anyFailed` is set then.
bool reportTick(const TickReport& report, Environment& env, bool& anyFailed);
// --interval in seconds, fractions allowed (watch, serve).
double intervalSeconds(const Options& options);

// "2024-05-01T12:00:00.250+02:00", local time.
std::string isoTime(std::chrono::system_clock::time_point when);

void printCycleJson(const TickReport& report, Environment& env, const std::string& time = {});

int watch(Session& s);
int serve(Session& s);

}  // namespace kvrns::cli
