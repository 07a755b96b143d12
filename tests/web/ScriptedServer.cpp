#include "ScriptedServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lvtest {

ScriptedServer::ScriptedServer(std::vector<Script> scripts) : scripts_(std::move(scripts)) {
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(listenFd_, 16) != 0 ||
        getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
        throw std::runtime_error("scripted server: cannot listen");
    }
    port_ = ntohs(addr.sin_port);
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    thread_ = std::thread([this] { Run(); });
}

ScriptedServer::~ScriptedServer() {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(stopFd_, &one, sizeof one);
    thread_.join();
    close(listenFd_);
    close(stopFd_);
}

std::string ScriptedServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> ScriptedServer::Received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

int ScriptedServer::Connections() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(received_.size());
}

void ScriptedServer::Record(int index, std::string_view bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    received_[static_cast<std::size_t>(index)].append(bytes);
}

ScriptedServer::Script ScriptedServer::Reply(std::string bytes) {
    return [bytes](Peer& peer) {
        peer.ReadRequest();
        peer.Send(bytes);
    };
}

void ScriptedServer::Run() {
    for (int index = 0;; ++index) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if (fds[0].revents == 0) {
            --index;
            continue;
        }
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            --index;
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            received_.emplace_back();
        }
        Peer peer(*this, fd, index);
        if (!scripts_.empty()) {
            scripts_[std::min<std::size_t>(static_cast<std::size_t>(index), scripts_.size() - 1)](
                peer);
        }
        if (peer.ssl_ != nullptr) {
            if (!peer.closed_) {
                SSL_shutdown(peer.ssl_);
            }
            SSL_free(peer.ssl_);
        }
        close(fd);
    }
}

int ScriptedServer::Peer::ReadChunk(char* buffer, std::size_t size,
                                    std::chrono::milliseconds bound) {
    if (closed_) {
        return 0;
    }
    if (ssl_ != nullptr && SSL_pending(ssl_) > 0) {
        return SSL_read(ssl_, buffer, static_cast<int>(size));
    }
    pollfd fds[2] = {{fd_, POLLIN, 0}, {server_.stopFd_, POLLIN, 0}};
    if (poll(fds, 2, static_cast<int>(bound.count())) <= 0) {
        return -1;
    }
    if (fds[1].revents != 0) {
        closed_ = true; // the server is stopping: the script ends here
        return -1;
    }
    const int n = ssl_ != nullptr ? SSL_read(ssl_, buffer, static_cast<int>(size))
                                  : static_cast<int>(recv(fd_, buffer, size, 0));
    if (n <= 0) {
        closed_ = true;
        return 0;
    }
    server_.Record(index_, std::string_view(buffer, static_cast<std::size_t>(n)));
    return n;
}

bool ScriptedServer::Peer::ReadUntil(std::string_view text, std::chrono::milliseconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    char buffer[16384];
    while (pending_.find(text) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        const int n = ReadChunk(buffer, sizeof buffer, left);
        if (n <= 0) {
            return false;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

std::string ScriptedServer::Peer::ReadRequest(std::chrono::milliseconds bound) {
    ReadUntil("\r\n\r\n", bound);
    std::string request;
    request.swap(pending_);
    return request;
}

void ScriptedServer::Peer::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        const int n = ssl_ != nullptr
                          ? SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()))
                          : static_cast<int>(send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL));
        if (n <= 0) {
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void ScriptedServer::Peer::Reset() {
    const linger hard{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    shutdown(fd_, SHUT_RD);
    closed_ = true;
}

bool ScriptedServer::Peer::WaitClosed(std::chrono::milliseconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    char buffer[4096];
    while (!closed_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || ReadChunk(buffer, sizeof buffer, left) < 0) {
            return closed_;
        }
    }
    return true;
}

bool ScriptedServer::Peer::AcceptTls(const std::string& certFile, const std::string& keyFile) {
    SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
    if (SSL_CTX_use_certificate_file(ctx, certFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_use_PrivateKey_file(ctx, keyFile.c_str(), SSL_FILETYPE_PEM) != 1) {
        SSL_CTX_free(ctx);
        return false;
    }
    ssl_ = SSL_new(ctx);
    SSL_CTX_free(ctx); // the session keeps its own reference
    SSL_set_fd(ssl_, fd_);
    timeval bound{5, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
    const bool ok = SSL_accept(ssl_) == 1;
    if (!ok) {
        closed_ = true;
    }
    return ok;
}

} // namespace lvtest
