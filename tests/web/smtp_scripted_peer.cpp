#include "smtp_scripted_peer.h"

#include <arpa/inet.h>
#include <cctype>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace lvtest {

namespace {

constexpr int kPeerTimeoutMs = 10000;

int ListenLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd, 4) != 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port = ntohs(addr.sin_port);
    return fd;
}

bool WaitReadable(int fd) {
    pollfd pfd{fd, POLLIN, 0};
    return ::poll(&pfd, 1, kPeerTimeoutMs) > 0;
}

void SendAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

ScriptedSmtpPeer::ScriptedSmtpPeer() {
    listenFd_ = ListenLoopback(port_);
}

ScriptedSmtpPeer::~ScriptedSmtpPeer() {
    ::shutdown(listenFd_, SHUT_RDWR);
    if (thread_.joinable()) {
        thread_.join();
    }
    ::close(listenFd_);
}

void ScriptedSmtpPeer::Start() {
    thread_ = std::thread([this] { Serve(); });
}

void ScriptedSmtpPeer::Serve() {
    if (!WaitReadable(listenFd_)) {
        return;
    }
    const int fd = ::accept(listenFd_, nullptr, nullptr);
    if (fd < 0) {
        return;
    }
    SendAll(fd, greeting);
    if (closeAfterGreeting) {
        ::close(fd);
        return;
    }
    std::string pending;
    bool inData = false;
    for (;;) {
        if (!WaitReadable(fd)) {
            break; // the client went quiet for too long
        }
        char buffer[4096];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            std::lock_guard<std::mutex> lock(mutex_);
            sawClose_ = true;
            break;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            received_.append(buffer, static_cast<std::size_t>(n));
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        std::size_t eol;
        bool quit = false;
        while ((eol = pending.find("\r\n")) != std::string::npos) {
            const std::string line = pending.substr(0, eol);
            pending.erase(0, eol + 2);
            std::string verb;
            if (inData) {
                if (line != ".") {
                    continue;
                }
                inData = false;
                verb = ".";
            } else {
                verb = line.substr(0, line.find(' '));
                for (char& c : verb) {
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                }
            }
            if (silent.count(verb) != 0) {
                continue;
            }
            const auto it = replies.find(verb);
            const std::string reply = it != replies.end() ? it->second : "500 what\r\n";
            SendAll(fd, reply);
            inData = verb == "DATA" && reply.rfind("354", 0) == 0;
            quit = verb == "QUIT";
        }
        if (quit) {
            std::lock_guard<std::mutex> lock(mutex_);
            sawClose_ = WaitReadable(fd) && ::recv(fd, buffer, sizeof buffer, 0) == 0;
            break;
        }
    }
    ::close(fd);
}

std::string ScriptedSmtpPeer::Received() {
    if (thread_.joinable()) {
        thread_.join();
    }
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

bool ScriptedSmtpPeer::SawClose() {
    Received();
    std::lock_guard<std::mutex> lock(mutex_);
    return sawClose_;
}

std::string RefusingPort() {
    int port = 0;
    const int fd = ListenLoopback(port);
    ::close(fd);
    return std::to_string(port);
}

} // namespace lvtest
