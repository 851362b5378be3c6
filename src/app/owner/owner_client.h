// kvrns-cli's end of the line to a running dashboard: a Unix socket in the
// user's temporary folder (on Windows, where the dashboard listens on a named
// pipe, there is no client yet and the CLI always opens the supply itself).
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace kvrns::owner {

class DashboardClient {
public:
    // Nothing when no dashboard listens there: no socket, or one left behind
    // by a dashboard that has ended.
    static std::unique_ptr<DashboardClient> connect(const std::string& socketPath);
    ~DashboardClient();
    DashboardClient(const DashboardClient&) = delete;
    DashboardClient& operator=(const DashboardClient&) = delete;

    // Sends one request line and waits at most `timeoutMs` for the reply
    // line; nothing, with `error` set, when the dashboard has ended, does
    // not answer in time or sends more than a line may hold.
    std::optional<std::string> exchange(const std::string& request, int timeoutMs, std::string* error);

private:
    explicit DashboardClient(int fd) : fd_(fd) {}
    int fd_;
    std::string buffered_;  // bytes after the last reply line
};

}  // namespace kvrns::owner
