#pragma once

#include "platform/SingleInstance.h"

#include <chrono>
#include <string>

namespace lv {

// The single instance over a Unix socket. The running copy holds an advisory lock on
// "<dir>/linkvane-<key>.lock" and listens on "<dir>/linkvane-<key>.sock"; the key is made from
// the program directory, and dir is $XDG_RUNTIME_DIR (the user's own), else /tmp/linkvane-<uid>
// (created for this user only). A copy that dies releases the lock with its last descriptor, so
// the next start takes over at once; one that holds the lock and does not answer is waited for
// at most `wait`, after which the starting copy carries on as a running copy of its own.
class UnixSingleInstance : public SingleInstance {
public:
    UnixSingleInstance(const std::string& programDir, std::string runtimeDir,
                       std::chrono::milliseconds wait = std::chrono::seconds(10));
    ~UnixSingleInstance() override;
    UnixSingleInstance(const UnixSingleInstance&) = delete;
    UnixSingleInstance& operator=(const UnixSingleInstance&) = delete;

    // $XDG_RUNTIME_DIR, empty when unset.
    static std::string RuntimeDirFromEnvironment();

    bool Claim(const std::vector<std::string>& args) override;
    int WatchFd() const override { return listenFd_; }
    bool Take(std::vector<std::string>& args) override;

    const std::string& SocketPath() const { return socketPath_; }

private:
    bool Listen();
    // A second copy: hands the arguments over; false when nobody took them.
    bool HandOver(const std::vector<std::string>& args, std::chrono::steady_clock::time_point end);

    std::string lockPath_;
    std::string socketPath_;
    std::chrono::milliseconds wait_;
    int lockFd_ = -1;
    int listenFd_ = -1;
};

} // namespace lv
