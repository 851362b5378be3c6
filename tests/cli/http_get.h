// A plain HTTP/1.0 GET on loopback, enough to read a metrics page or ask
// Prometheus's HTTP API; bounded by a time limit.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>

namespace kvrns::test {

struct HttpReply {
    int status = 0;
    std::string body;
};

inline std::optional<HttpReply> httpGet(int port, const std::string& target, int timeoutMs = 5000)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return std::nullopt;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string response;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
        if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
            while (std::chrono::steady_clock::now() < deadline) {
                pollfd p{fd, POLLIN, 0};
                if (poll(&p, 1, 100) <= 0) continue;
                char buf[4096];
                const ssize_t n = recv(fd, buf, sizeof buf, 0);
                if (n <= 0) break;
                response.append(buf, static_cast<std::size_t>(n));
            }
        }
    }
    close(fd);
    const auto space = response.find(' ');
    const auto bodyStart = response.find("\r\n\r\n");
    if (space == std::string::npos || bodyStart == std::string::npos) return std::nullopt;
    return HttpReply{std::atoi(response.c_str() + space + 1), response.substr(bodyStart + 4)};
}

// A loopback port free at the moment of asking.
inline int freeLoopbackPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

}  // namespace kvrns::test
