// kvrns-cli serve: the readings on /metrics for Prometheus, through
// prometheus-cpp's own exposer.
#include <prometheus/exposer.h>

#include <charconv>

#include "app/cli/cli_internal.h"
#include "app/cli/feed.h"
#include "app/cli/metrics.h"

namespace kvrns::cli {
namespace {

constexpr const char* kDefaultListen = "127.0.0.1:9877";

// HOST:PORT with a numeric port; an IPv6 host in brackets, [::1]:9877.
bool validListen(const std::string& listen)
{
    const auto colon = listen.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == listen.size()) return false;
    const std::string host = listen.substr(0, colon);
    if (host.find(':') != std::string::npos && (host.front() != '[' || host.back() != ']')) return false;
    unsigned port = 0;
    const char* first = listen.data() + colon + 1;
    const char* last = listen.data() + listen.size();
    const auto [end, ec] = std::from_chars(first, last, port);
    return ec == std::errc() && end == last && port <= 65535;
}

}  // namespace

int serve(Session& s)
{
    const double interval = intervalSeconds(s.options);
    const std::string listen = s.options.listen.value_or(kDefaultListen);
    if (!validListen(listen))
        return s.fail("kvrns-cli: --listen takes HOST:PORT, such as 127.0.0.1:9877 or [::1]:9877, not '" + listen +
                      "'");

    s.env.catchStopRequests();
    Feed feed(s);
    if (const auto status = feed.start(true)) return *status;

    auto metrics = std::make_shared<SupplyMetrics>(s.env.locale);
    std::unique_ptr<prometheus::Exposer> exposer;
    try {
        exposer = std::make_unique<prometheus::Exposer>(listen, 2);
    } catch (const std::exception& e) {
        return s.fail("kvrns-cli: cannot listen on " + listen + ": " + e.what());
    }
    exposer->RegisterCollectable(metrics);
    const auto ports = exposer->GetListeningPorts();
    const std::string host = listen.substr(0, listen.rfind(':'));
    s.env.err << "kvrns-cli: serving http://" << host << ':' << (ports.empty() ? 0 : ports.front()) << "/metrics\n";

    for (int cycle = 1; !s.options.cyclesGiven || cycle <= s.options.cycles; ++cycle) {
        if (cycle > 1 && !pauseBetweenCycles(s.env, interval)) break;
        const TickReport report = feed.next();
        if (report.kind == TickKind::Failed) s.env.err << report.error << " (" << report.errorDetail << ")\n";
        if (report.kind == TickKind::Rediscovery)
            s.env.err << (report.devicePresent ? "supply found again\n" : "supply lost; searching\n");
        metrics->update(report);
    }
    return finish(s, kExitOk);
}

}  // namespace kvrns::cli
