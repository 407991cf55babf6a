// A small HTTP server for fetch tests. It listens on 127.0.0.1 only, answers
// at most a given number of requests, and stops by itself after a time limit
// or when destroyed, whichever comes first.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>

namespace markup_test {

class HttpTestServer {
  public:
    struct Reply {
        int status;
        std::string body;
    };

    HttpTestServer(std::map<std::string, Reply> routes, int maxRequests, std::chrono::seconds limit)
        : routes_(std::move(routes)),
          maxRequests_(maxRequests),
          deadline_(std::chrono::steady_clock::now() + limit) {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof address;
        if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listen_, 8) != 0 ||
            ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Run(); });
    }

    ~HttpTestServer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (listen_ >= 0) ::close(listen_);
    }

    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int Port() const { return port_; }
    int Requests() const { return requests_; }

    // A port on 127.0.0.1 where nothing listens.
    static int ClosedPort() {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        ::close(fd);
        return ntohs(address.sin_port);
    }

  private:
    bool TimeLeft() const { return !stop_ && std::chrono::steady_clock::now() < deadline_; }

    void Run() {
        while (requests_ < maxRequests_ && TimeLeft()) {
            pollfd waiting{listen_, POLLIN, 0};
            if (::poll(&waiting, 1, 50) <= 0) continue;
            const int client = ::accept(listen_, nullptr, nullptr);
            if (client < 0) continue;
            Serve(client);
            ::close(client);
        }
    }

    void Serve(int client) {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384 && TimeLeft()) {
            pollfd readable{client, POLLIN, 0};
            if (::poll(&readable, 1, 50) <= 0) continue;
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) {
                ++requests_;  // a connection that sent nothing still used up a request
                return;
            }
            request.append(buffer, static_cast<std::size_t>(n));
        }
        // Counted before the answer goes out, so a client that has its answer
        // always sees its request counted.
        ++requests_;
        const std::size_t start = request.find(' ');
        const std::size_t end = start == std::string::npos ? start : request.find(' ', start + 1);
        const std::string path = end == std::string::npos ? "" : request.substr(start + 1, end - start - 1);
        const auto route = routes_.find(path);
        const Reply reply = route != routes_.end() ? route->second : Reply{404, "<html>not here</html>"};
        const std::string response = "HTTP/1.1 " + std::to_string(reply.status) +
                                     " Reply\r\nContent-Length: " + std::to_string(reply.body.size()) +
                                     "\r\nConnection: close\r\n\r\n" + reply.body;
        std::size_t sent = 0;
        while (sent < response.size()) {
            const ssize_t n = ::send(client, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<std::size_t>(n);
        }
    }

    std::map<std::string, Reply> routes_;
    int maxRequests_;
    std::chrono::steady_clock::time_point deadline_;
    int listen_ = -1;
    int port_ = 0;
    std::atomic<int> requests_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace markup_test
