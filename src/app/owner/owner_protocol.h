// How kvrns-cli talks to a running dashboard, which owns the supply while it
// runs: one JSON request per line, one JSON reply per line, over the local
// socket its single-instance check listens on.
//
//   {"request":"snapshot"}                  -> the latest polling cycle
//   {"request":"tune","rail":3,"step":6}    -> a fine-tune step (rail: USBAdj 1..3)
//   {"request":"rail","mode":"single"}      -> the +12V rail mode (single | multi)
//
// A reply always carries "ok"; a refused request says why in "error".
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "protocol/engine.h"

namespace kvrns::owner {

// A line longer than this is refused: requests are tiny, snapshots a few
// hundred bytes.
inline constexpr std::size_t kMaxLineBytes = 16 * 1024;

// The dashboard's single-instance name, "kvrns-dashboard-" and the user
// name, and the Unix socket it becomes in the temporary folder ($TMPDIR, else
// /tmp), as Qt's local server places it.
std::string dashboardKey(const std::function<const char*(const char*)>& env);
std::string dashboardSocketPath(const std::function<const char*(const char*)>& env);

enum class RequestKind { Snapshot, Tune, Rail };

struct Request {
    RequestKind kind = RequestKind::Snapshot;
    int usbAdj = 0;    // tune: 1 +3.3V, 2 +5V, 3 +12V
    int step = 0;      // tune: 1..9
    int railMode = 1;  // rail: 0 single, 1 multiple
    bool operator==(const Request&) const = default;
};

struct Snapshot {
    std::uint64_t cycle = 0;  // reports the dashboard has had since it started
    bool simulated = false;
    TickReport report;  // kind, devicePresent, telemetry, warnings and error texts
};

// What came of a tune or rail request passed to the dashboard's engine.
struct ChangeOutcome {
    bool sent = false;  // a frame went out: the dashboard has a supply
    bool acknowledged = false;
    int valueInForce = -1;
    bool stored = false;       // the dashboard wrote its settings file
    std::string settingsPath;  // which file
    std::string storeError;    // why it could not
};

std::string encodeRequest(const Request& request);
// The request on a line, or why it is refused.
std::variant<Request, std::string> decodeRequest(std::string_view line);

std::string encodeSnapshot(const Snapshot& snapshot);
std::string encodeChange(const ChangeOutcome& outcome);
std::string encodeError(std::string_view message);

struct Reply {
    std::string error;  // the dashboard refused the request
    std::optional<Snapshot> snapshot;
    std::optional<ChangeOutcome> change;
};
// The reply to a request of `kind`, or nothing with `problem` set when the
// line is not one.
std::optional<Reply> decodeReply(std::string_view line, RequestKind kind, std::string* problem);

}  // namespace kvrns::owner
