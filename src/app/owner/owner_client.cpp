#include "app/owner/owner_client.h"

#include <chrono>

#include "app/owner/owner_protocol.h"

#if defined(_WIN32)

namespace kvrns::owner {

std::unique_ptr<DashboardClient> DashboardClient::connect(const std::string&)
{
    return nullptr;
}
DashboardClient::~DashboardClient() = default;
std::optional<std::string> DashboardClient::exchange(const std::string&, int, std::string* error)
{
    if (error) *error = "not available on this platform";
    return std::nullopt;
}

}  // namespace kvrns::owner

#else

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0  // macOS: SO_NOSIGPIPE below instead
#endif

namespace kvrns::owner {

std::unique_ptr<DashboardClient> DashboardClient::connect(const std::string& socketPath)
{
    sockaddr_un address{};
    if (socketPath.size() >= sizeof address.sun_path) return nullptr;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return nullptr;
#ifdef SO_NOSIGPIPE
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<DashboardClient>(new DashboardClient(fd));
}

DashboardClient::~DashboardClient()
{
    ::close(fd_);
}

std::optional<std::string> DashboardClient::exchange(const std::string& request, int timeoutMs, std::string* error)
{
    auto fail = [&](std::string why) -> std::optional<std::string> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    const std::string line = request + "\n";
    for (std::size_t sent = 0; sent < line.size();) {
        const ssize_t n = ::send(fd_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail("the dashboard has ended");
        sent += static_cast<std::size_t>(n);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        if (const auto end = buffered_.find('\n'); end != std::string::npos) {
            std::string reply = buffered_.substr(0, end);
            buffered_.erase(0, end + 1);
            return reply;
        }
        if (buffered_.size() > kMaxLineBytes) return fail("the dashboard's reply is longer than a line may be");
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) return fail("the dashboard did not answer within " + std::to_string(timeoutMs / 1000) + " s");
        pollfd waiting{fd_, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left));
        if (ready < 0 && errno != EINTR)
            return fail(std::string("cannot wait for the dashboard: ") + std::strerror(errno));
        if (ready <= 0) continue;  // the deadline check above ends it
        char chunk[4096];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail("the dashboard has ended");
        buffered_.append(chunk, static_cast<std::size_t>(n));
    }
}

}  // namespace kvrns::owner

#endif
