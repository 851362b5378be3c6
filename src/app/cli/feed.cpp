#include "app/cli/feed.h"

namespace kvrns::cli {
namespace {

// The dashboard answers at once once it has a reading. Its first comes a
// second after the dashboard shows, which its intro notice may delay by five.
constexpr int kSnapshotTimeoutMs = 15000;

TickReport failedReport(const std::string& error, const std::string& detail)
{
    TickReport report;
    report.kind = TickKind::Failed;
    report.error = error;
    report.errorDetail = detail;
    return report;
}

}  // namespace

std::optional<int> Feed::start(bool keepSearching)
{
    dashboard_ = findDashboard(s_);
    if (!dashboard_) return openSupply(keepSearching);
    if (s_.options.record)
        s_.env.err << "kvrns-cli: --record: nothing to record, the running dashboard owns the supply "
                      "(start the dashboard with --record FILE instead)\n";
    const auto first = fromDashboard();
    if (!first) return kExitError;
    s_.env.err << "kvrns-cli: reading from the running dashboard" << (first->simulated ? " (simulated supply)" : "")
               << '\n';
    if (!first->report.devicePresent && !keepSearching)
        return s_.fail("no power supply found (the running dashboard has none)", kExitNoSupply);
    return std::nullopt;
}

std::optional<int> Feed::openSupply(bool keepSearching)
{
    if (!openSettings(s_)) return kExitError;
    if (connect(s_)) return std::nullopt;
    if (!keepSearching) return noSupply(s_);
    noSupply(s_);
    s_.env.err << "kvrns-cli: searching for it every cycle\n";
    return std::nullopt;
}

std::optional<owner::Snapshot> Feed::fromDashboard()
{
    std::string problem;
    const auto line = dashboard_->exchange(owner::encodeRequest({}), kSnapshotTimeoutMs, &problem);
    std::optional<owner::Reply> reply;
    if (line) reply = owner::decodeReply(*line, owner::RequestKind::Snapshot, &problem);
    if (reply && !reply->error.empty()) problem = "the dashboard refused the request: " + reply->error;
    if (!reply || !reply->snapshot) {
        s_.env.err << "kvrns-cli: " << problem << '\n';
        return std::nullopt;
    }
    return std::move(*reply->snapshot);
}

TickReport Feed::next()
{
    if (dashboard_) {
        if (auto snapshot = fromDashboard()) return std::move(snapshot->report);
        // The dashboard has ended or stopped answering: the supply may be free.
        dashboard_.reset();
        s_.env.err << "kvrns-cli: opening the supply here instead\n";
        if (!s_.engine) openSupply(true);
    }
    if (!s_.engine) return failedReport("no readings", "the settings could not be read");
    return s_.engine->tick();
}

}  // namespace kvrns::cli
