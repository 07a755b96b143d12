#include "platform/LinuxProcessLauncher.h"

#include "platform/LaunchTarget.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace lv {

namespace {

// RAII for the spawn attribute objects, so every early return releases them.
struct SpawnSetup {
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    SpawnSetup() {
        posix_spawnattr_init(&attr);
        posix_spawn_file_actions_init(&actions);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

int WaitFor(int pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return 0;
        }
    }
    return status;
}

} // namespace

int SpawnWatched(const std::vector<std::string>& argv, const std::string& workingDir, int& pid,
                 std::function<void(int pid, int status)> onExit) {
    if (argv.empty() || argv[0].empty()) {
        return ENOENT;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        if (arg.find('\0') != std::string::npos) {
            return EINVAL;
        }
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    if (workingDir.find('\0') != std::string::npos) {
        return EINVAL;
    }

    SpawnSetup setup;
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&setup.attr, &none);
    // Signals the program ignores (a closed pipe) must not stay ignored in the browser.
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int number : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGCHLD}) {
        sigaddset(&defaults, number);
    }
    posix_spawnattr_setsigdefault(&setup.attr, &defaults);
    posix_spawnattr_setflags(&setup.attr,
                             POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (!workingDir.empty()) {
        posix_spawn_file_actions_addchdir_np(&setup.actions, workingDir.c_str());
    }

    pid_t child = 0;
    const int error =
        posix_spawnp(&child, args[0], &setup.actions, &setup.attr, args.data(), environ);
    if (error != 0) {
        return error;
    }
    pid = child;
    try {
        std::thread([child, onExit = std::move(onExit)] {
            const int status = WaitFor(child);
            if (onExit) {
                onExit(child, status);
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to wait with: the child runs on unwatched and is reaped when the program
        // ends. It did start, so the start is not reported as failed.
    }
    return 0;
}

// Shared by the launcher and its watcher threads. The threads only post through it; the
// launcher clears it when it goes, and posts already queued then find no owner.
struct LinuxProcessLauncher::Channel {
    std::mutex mutex;
    EventLoop* loop = nullptr;
    LinuxProcessLauncher* owner = nullptr;
};

LinuxProcessLauncher::LinuxProcessLauncher(EventLoop& loop)
    : channel_(std::make_shared<Channel>()) {
    channel_->loop = &loop;
    channel_->owner = this;
}

LinuxProcessLauncher::~LinuxProcessLauncher() {
    const std::lock_guard<std::mutex> lock(channel_->mutex);
    channel_->loop = nullptr;
    channel_->owner = nullptr;
}

ProcessStart LinuxProcessLauncher::Start(const std::string& program, const std::string& argument,
                                         std::int64_t id) {
    ProcessStart result;
    if (IsWatching(program, id)) {
        result.message = kDuplicateText;
        return result;
    }
    std::vector<std::string> argv{program};
    if (!argument.empty()) {
        // Callers check first and tell the user; this keeps any other caller from handing a
        // browser an option.
        if (std::string refusal = TargetRefusal(argument, TargetKind::WebAddress);
            !refusal.empty()) {
            result.error = EINVAL;
            result.message = std::move(refusal);
            return result;
        }
        if (BrowserTakesEndOfOptions(program)) {
            argv.emplace_back("--");
        }
        argv.push_back(argument);
    }
    std::weak_ptr<Channel> weak = channel_;
    auto onExit = [weak, program, id](int pid, int status) {
        const std::shared_ptr<Channel> channel = weak.lock();
        if (!channel) {
            return;
        }
        ProcessEnd end;
        end.program = program;
        end.id = id;
        end.pid = pid;
        if (WIFSIGNALED(status)) {
            end.normal = false;
            end.exitCode = 128 + WTERMSIG(status);
        } else {
            end.exitCode = WEXITSTATUS(status);
        }
        const std::lock_guard<std::mutex> lock(channel->mutex);
        if (channel->loop) {
            channel->loop->Post([channel, end] {
                if (channel->owner) {
                    channel->owner->Ended(end);
                }
            });
        }
    };
    int pid = 0;
    result.error = SpawnWatched(argv, std::string(), pid, std::move(onExit));
    if (result.error != 0) {
        result.message = std::strerror(result.error);
        return result;
    }
    result.started = true;
    result.pid = pid;
    watched_.emplace(program, id);
    return result;
}

bool LinuxProcessLauncher::IsWatching(const std::string& program, std::int64_t id) const {
    return watched_.count({program, id}) != 0;
}

void LinuxProcessLauncher::Ended(const ProcessEnd& end) {
    watched_.erase({end.program, end.id});
    if (OnProcessEnd) {
        OnProcessEnd(end);
    }
}

} // namespace lv
