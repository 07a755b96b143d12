#pragma once

// A real headless Chromium for the browser link tests, started with its debugging port on
// loopback and ended with the test.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <net/if.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace lvtest::chromium {

// True when this process sees no network interface but loopback, as inside netns-run.
inline bool OnlyLoopback() {
    struct if_nameindex* names = if_nameindex();
    if (names == nullptr) {
        return false;
    }
    bool only = true;
    for (const struct if_nameindex* n = names; n->if_index != 0; ++n) {
        only = only && std::string(n->if_name) == "lo";
    }
    if_freenameindex(names);
    return only;
}

// A headless Chromium in a process group of its own, with its debugging port read from what
// it prints when it listens.
class Chromium {
public:
    bool Start(const std::string& program, const std::string& profile, const std::string& url) {
        int pipeFds[2];
        if (pipe2(pipeFds, O_CLOEXEC) != 0) {
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attr, 0);
        const std::string userData = "--user-data-dir=" + profile;
        // Nothing but the pages we serve: no update, sync, metrics, safe-browsing or first-run
        // traffic of the browser's own, and no proxy in between.
        std::vector<std::string> args = {program,
                                         "--headless",
                                         "--no-sandbox",
                                         "--disable-gpu",
                                         "--remote-debugging-port=0",
                                         userData,
                                         "--no-first-run",
                                         "--no-default-browser-check",
                                         "--disable-background-networking",
                                         "--disable-component-update",
                                         "--disable-sync",
                                         "--disable-domain-reliability",
                                         "--metrics-recording-only",
                                         "--disable-breakpad",
                                         "--disable-client-side-phishing-detection",
                                         "--disable-default-apps",
                                         "--disable-extensions",
                                         "--safebrowsing-disable-auto-update",
                                         "--no-pings",
                                         "--no-proxy-server",
                                         "--disable-quic",
                                         url};
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        const int error =
            posix_spawn(&pid_, program.c_str(), &actions, &attr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
        close(pipeFds[1]);
        if (error != 0) {
            close(pipeFds[0]);
            pid_ = 0;
            return false;
        }
        port_ = ReadPort(pipeFds[0]);
        close(pipeFds[0]);
        return port_ > 0;
    }
    ~Chromium() {
        if (pid_ > 0) {
            kill(-pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    int Port() const { return port_; }
    const std::string& Output() const { return output_; }

private:
    int ReadPort(int fd) {
        const std::string marker = "DevTools listening on ws://127.0.0.1:";
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < end) {
            pollfd p{fd, POLLIN, 0};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (poll(&p, 1, static_cast<int>(std::max<long long>(left.count(), 0))) <= 0) {
                break;
            }
            char buffer[4096];
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            output_.append(buffer, static_cast<std::size_t>(n));
            const std::size_t at = output_.find(marker);
            if (at != std::string::npos &&
                output_.find('/', at + marker.size()) != std::string::npos) {
                return std::atoi(output_.c_str() + at + marker.size());
            }
        }
        return 0;
    }

    pid_t pid_ = 0;
    int port_ = 0;
    std::string output_;
};

} // namespace lvtest::chromium
