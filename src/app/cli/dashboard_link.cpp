// Commands while the dashboard runs: it owns the supply, so requests go
// through its engine instead of a second connection that would knock its
// answers out of step.
#include "app/cli/cli_internal.h"

namespace kvrns::cli {
namespace {

// A fine-tune or rail exchange waits for the cycle's exchange under way
// (at most one 1.5 s read) and then its own.
constexpr int kChangeTimeoutMs = 15000;

}  // namespace

std::unique_ptr<owner::DashboardClient> findDashboard(Session& s)
{
    if (s.options.device != "auto" && s.options.device != "hid") return nullptr;
    return owner::DashboardClient::connect(owner::dashboardSocketPath(s.env.getenv));
}

int changeThroughDashboard(Session& s, owner::DashboardClient& dashboard, const owner::Request& request,
                           const std::string& what)
{
    s.env.err << "kvrns-cli: passing the request to the running dashboard\n";
    if (s.options.record) s.env.err << "kvrns-cli: --record: nothing to record, the dashboard makes the exchange\n";
    std::string problem;
    const auto line = dashboard.exchange(owner::encodeRequest(request), kChangeTimeoutMs, &problem);
    std::optional<owner::Reply> reply;
    if (line) reply = owner::decodeReply(*line, request.kind, &problem);
    if (!reply) return s.fail("kvrns-cli: " + problem);
    if (!reply->error.empty()) return s.fail("kvrns-cli: the dashboard refused the request: " + reply->error);
    const owner::ChangeOutcome& change = *reply->change;
    if (!change.sent) return s.fail("no power supply found (the running dashboard has none)", kExitNoSupply);
    if (!change.acknowledged)
        return s.fail(request.kind == owner::RequestKind::Tune
                          ? "the supply did not acknowledge the " + what + " fine-tune step"
                          : std::string("the supply did not acknowledge the rail mode"),
                      kExitNotAcknowledged);
    if (!change.stored) return s.fail("kvrns-cli: " + change.settingsPath + ": " + change.storeError);
    if (request.kind == owner::RequestKind::Tune)
        s.env.out << what << " fine-tune step " << change.valueInForce << " in force\n";
    else
        s.env.out << (request.railMode == 0 ? "single +12V rail" : "multiple +12V rails") << " in force\n";
    s.env.err << "kvrns-cli: stored by the dashboard in " << change.settingsPath << '\n';
    return kExitOk;
}

}  // namespace kvrns::cli
