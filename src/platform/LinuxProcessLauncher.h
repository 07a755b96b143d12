#pragma once

#include "platform/EventLoop.h"
#include "platform/ProcessLauncher.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace lv {

// Starts argv[0] with exactly the words of argv (searched on PATH only when it holds no "/"),
// through posix_spawn, never a shell. The child starts in workingDir (unless empty) with
// stdin on /dev/null, a clear signal mask and a session of its own, so it neither inherits
// what the program blocks nor dies with the program's terminal. A watcher thread reaps it and
// calls onExit(pid, wait status) on that thread. Returns 0 or the errno of the failure; pid is set
// on success. Arguments holding a NUL byte are refused (EINVAL) rather than cut short.
int SpawnWatched(const std::vector<std::string>& argv, const std::string& workingDir, int& pid,
                 std::function<void(int pid, int status)> onExit);

// The launcher on POSIX processes. Ends of watched processes come back through the loop, so
// OnProcessEnd and the watched list are touched on the loop's thread only. The launcher must
// go before the loop does; processes still running then are left alone (and still reaped).
class LinuxProcessLauncher final : public ProcessLauncher {
public:
    explicit LinuxProcessLauncher(EventLoop& loop);
    ~LinuxProcessLauncher() override;
    LinuxProcessLauncher(const LinuxProcessLauncher&) = delete;
    LinuxProcessLauncher& operator=(const LinuxProcessLauncher&) = delete;

    ProcessStart Start(const std::string& program, const std::string& argument,
                       std::int64_t id) override;
    bool IsWatching(const std::string& program, std::int64_t id) const override;

private:
    struct Channel;
    void Ended(const ProcessEnd& end);

    std::shared_ptr<Channel> channel_;
    std::set<std::pair<std::string, std::int64_t>> watched_;
};

} // namespace lv
