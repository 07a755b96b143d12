#include "support/SlowHttpServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lvtest {

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kAnswer[] = "HTTP/1.0 200 OK\r\n"
                           "Content-Type: text/html\r\n"
                           "Content-Length: 2\r\n"
                           "Last-Modified: Mon, 01 Jan 2024 00:00:00 GMT\r\n"
                           "\r\n"
                           "ok";

int Listen(const std::string& address, int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, address.c_str(), &addr.sin_addr);
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(fd, 512) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        throw std::runtime_error("cannot listen on " + address);
    }
    return fd;
}

int BoundPort(int fd) {
    sockaddr_in addr{};
    socklen_t length = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
    return ntohs(addr.sin_port);
}

} // namespace

SlowHttpServer::SlowHttpServer(int addresses, std::chrono::milliseconds delay) : delay_(delay) {
    addresses = std::clamp(addresses, 1, 254);
    for (int i = 1; i <= addresses; ++i) {
        listenFds_.push_back(Listen("127.0.0." + std::to_string(i), port_));
        if (i == 1) {
            port_ = BoundPort(listenFds_.front());
        }
    }
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    thread_ = std::thread([this] { Run(); });
}

SlowHttpServer::~SlowHttpServer() {
    const std::uint64_t one = 1;
    (void)!write(stopFd_, &one, sizeof one);
    thread_.join();
    for (const int fd : listenFds_) {
        close(fd);
    }
    close(stopFd_);
}

std::string SlowHttpServer::Url(int address, const std::string& path) const {
    return "http://127.0.0." + std::to_string(address) + ":" + std::to_string(port_) + "/" + path;
}

std::map<std::string, int> SlowHttpServer::PeakPerAddress() const {
    std::lock_guard lock(mutex_);
    return peak_;
}

int SlowHttpServer::PeakTotal() const {
    std::lock_guard lock(mutex_);
    return peakTotal_;
}

std::vector<std::string> SlowHttpServer::Paths() const {
    std::lock_guard lock(mutex_);
    return paths_;
}

void SlowHttpServer::Run() {
    struct Connection {
        int fd;
        std::string address;
        std::string request;
        bool waiting = false; // the request is complete; answered at `due`
        Clock::time_point due;
    };
    std::vector<Connection> open;
    std::map<std::string, int> current;
    for (;;) {
        std::vector<pollfd> fds;
        fds.push_back({stopFd_, POLLIN, 0});
        for (const int fd : listenFds_) {
            fds.push_back({fd, POLLIN, 0});
        }
        const std::size_t firstConnection = fds.size();
        int timeout = -1;
        const auto now = Clock::now();
        for (const Connection& c : open) {
            fds.push_back({c.fd, static_cast<short>(c.waiting ? 0 : POLLIN), 0});
            if (c.waiting) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(c.due - now).count();
                const int ms = static_cast<int>(std::max<long long>(left, 0));
                timeout = timeout < 0 ? ms : std::min(timeout, ms);
            }
        }
        if (poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) {
            return;
        }
        if (fds[0].revents != 0) {
            for (const Connection& c : open) {
                close(c.fd);
            }
            return;
        }
        auto finish = [&](Connection& c) {
            close(c.fd);
            --current[c.address];
            c.fd = -1;
        };
        for (std::size_t i = firstConnection; i < fds.size(); ++i) {
            Connection& c = open[i - firstConnection];
            if (fds[i].revents == 0 || c.waiting) {
                continue;
            }
            char buffer[4096];
            const ssize_t got = read(c.fd, buffer, sizeof buffer);
            if (got <= 0) {
                finish(c);
                continue;
            }
            c.request.append(buffer, static_cast<std::size_t>(got));
            if (c.request.find("\r\n\r\n") != std::string::npos) {
                c.waiting = true;
                c.due = Clock::now() + delay_;
                const auto space = c.request.find(' ');
                const auto end = c.request.find(' ', space + 1);
                std::lock_guard lock(mutex_);
                paths_.push_back(c.request.substr(space + 1, end - space - 1));
            }
        }
        const auto later = Clock::now();
        for (Connection& c : open) {
            if (c.fd >= 0 && c.waiting && c.due <= later) {
                (void)!write(c.fd, kAnswer, sizeof kAnswer - 1);
                shutdown(c.fd, SHUT_WR);
                finish(c);
            }
        }
        open.erase(
            std::remove_if(open.begin(), open.end(), [](const Connection& c) { return c.fd < 0; }),
            open.end());
        for (std::size_t i = 1; i < firstConnection; ++i) {
            if (fds[i].revents == 0) {
                continue;
            }
            for (;;) {
                sockaddr_in local{};
                const int fd = accept4(fds[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd < 0) {
                    break;
                }
                socklen_t length = sizeof local;
                getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
                char text[INET_ADDRSTRLEN] = {};
                inet_ntop(AF_INET, &local.sin_addr, text, sizeof text);
                open.push_back({fd, text, {}, false, {}});
                const int now_open = ++current[text];
                std::lock_guard lock(mutex_);
                peak_[text] = std::max(peak_[text], now_open);
                peakTotal_ = std::max(peakTotal_, static_cast<int>(open.size()));
            }
        }
    }
}

} // namespace lvtest
