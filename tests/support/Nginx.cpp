#include "support/Nginx.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace lvtest {

namespace {

const char* NginxBinary() {
    for (const char* path : {"/usr/sbin/nginx", "/usr/bin/nginx", "/usr/local/sbin/nginx"}) {
        if (access(path, X_OK) == 0) {
            return path;
        }
    }
    return nullptr;
}

bool CanConnect(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(fd);
    return ok;
}

} // namespace

int FreeLocalPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        throw std::runtime_error("no free local port");
    }
    close(fd);
    return ntohs(addr.sin_port);
}

Nginx::Nginx() : docroot_(dir_.Path() / "htdocs") {
    std::filesystem::create_directories(docroot_);
    std::filesystem::create_directories(dir_.Path() / "temp");
}

Nginx::~Nginx() {
    Stop();
}

bool Nginx::Available() {
    return NginxBinary() != nullptr;
}

std::string Nginx::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

void Nginx::WriteDoc(const std::string& relativePath, const std::string& bytes) const {
    const auto file = docroot_ / relativePath;
    std::filesystem::create_directories(file.parent_path());
    WriteBytes(file, bytes);
}

std::string Nginx::ErrorLog() const {
    return ReadBytes(dir_.Path() / "error.log");
}

int Nginx::Start(const std::string& serverSnippet, const Tls* tls) {
    Stop();
    const char* binary = NginxBinary();
    if (binary == nullptr) {
        throw std::runtime_error("nginx is not installed");
    }
    const std::string root = dir_.Path().string();
    const std::string temp = root + "/temp";
    for (int attempt = 0; attempt < 5; ++attempt) {
        port_ = FreeLocalPort();
        tlsPort_ = tls != nullptr ? FreeLocalPort() : 0;
        std::string conf;
        conf += "daemon off;\nmaster_process off;\nworker_processes 1;\n";
        if (geteuid() == 0) {
            conf += "user root;\n";
        }
        conf += "error_log " + root + "/error.log warn;\npid " + root + "/nginx.pid;\n";
        conf += "events { worker_connections 1024; }\n";
        conf += "http {\n  access_log off;\n  sendfile on;\n";
        for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"}) {
            conf += std::string("  ") + kind + "_temp_path " + temp + "/" + kind + ";\n";
        }
        conf += "  types { text/html html htm; text/plain txt; image/gif gif; image/png png;\n"
                "          image/x-icon ico; image/jpeg jpg; application/octet-stream exe; }\n"
                "  default_type application/octet-stream;\n";
        std::string snippet = serverSnippet;
        for (const auto& [mark, value] : {std::pair<std::string, int>{"{port}", port_},
                                          std::pair<std::string, int>{"{tlsport}", tlsPort_}}) {
            for (auto at = snippet.find(mark); at != std::string::npos; at = snippet.find(mark)) {
                snippet.replace(at, mark.size(), std::to_string(value));
            }
        }
        const std::string body = "    root " + docroot_.string() + ";\n" + snippet + "\n";
        conf += "  server {\n    listen 127.0.0.1:" + std::to_string(port_) +
                ";\n    server_name localhost;\n" + body + "  }\n";
        if (tls != nullptr) {
            conf += "  server {\n    listen 127.0.0.1:" + std::to_string(tlsPort_) +
                    " ssl;\n    server_name localhost;\n    ssl_certificate " + tls->certFile +
                    ";\n    ssl_certificate_key " + tls->keyFile + ";\n" + body + "  }\n";
        }
        conf += "}\n";
        WriteBytes(dir_.Path() / "nginx.conf", conf);

        const std::string confFile = root + "/nginx.conf";
        const std::string errorLog = root + "/error.log";
        std::vector<std::string> args = {binary, "-p", root + "/", "-c", confFile, "-e", errorLog};
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, errorLog.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int rc = posix_spawn(&pid_, binary, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            pid_ = -1;
            throw std::runtime_error("cannot start nginx");
        }
        // Wait, with a bound, until it accepts connections or exits (port taken meanwhile).
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            if (CanConnect(port_) && (tls == nullptr || CanConnect(tlsPort_))) {
                return port_;
            }
            poll(nullptr, 0, 10);
        }
        Stop();
    }
    throw std::runtime_error("nginx did not start: " + ErrorLog());
}

void Nginx::Stop() {
    if (pid_ <= 0) {
        return;
    }
    kill(pid_, SIGTERM);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

} // namespace lvtest
