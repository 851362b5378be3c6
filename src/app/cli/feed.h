// Where status, watch and serve take their readings from: the running
// dashboard when it owns the supply, otherwise polling cycles run here.
#pragma once

#include <memory>
#include <optional>

#include "app/cli/cli_internal.h"

namespace kvrns::cli {

class Feed {
public:
    explicit Feed(Session& session) : s_(session) {}

    // Finds the dashboard or opens the supply. An exit status when there is
    // nothing to read from; `keepSearching` starts without a supply all the
    // same, to find one later (serve).
    std::optional<int> start(bool keepSearching);

    // The next reading: a polling cycle, or the dashboard's latest. Should
    // the dashboard end, the supply is opened here from then on.
    TickReport next();

    bool viaDashboard() const { return dashboard_ != nullptr; }

private:
    std::optional<int> openSupply(bool keepSearching);
    std::optional<owner::Snapshot> fromDashboard();

    Session& s_;
    std::unique_ptr<owner::DashboardClient> dashboard_;
};

}  // namespace kvrns::cli
