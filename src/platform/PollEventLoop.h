#pragma once

#include "platform/EventLoop.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace lv {

// The EventLoop on poll(): for tests, headless tools and worker threads that need a private
// loop. An eventfd wakes a waiting poll() when another thread posts. Not copyable; all methods
// except Post must be called on the thread that runs ProcessPending.
class PollEventLoop final : public EventLoop {
public:
    PollEventLoop();
    ~PollEventLoop() override;
    PollEventLoop(const PollEventLoop&) = delete;
    PollEventLoop& operator=(const PollEventLoop&) = delete;

    void Post(Callback fn) override;
    TimerId StartTimer(std::chrono::milliseconds interval, bool repeat, Callback fn) override;
    void StopTimer(TimerId id) override;
    WatchId WatchSocket(int fd, unsigned events, std::function<void(unsigned ready)> fn) override;
    void UpdateWatch(WatchId id, unsigned events) override;
    void Unwatch(WatchId id) override;
    bool ProcessPending(std::chrono::milliseconds maxWait = std::chrono::milliseconds(0)) override;

    // Pumps until pred() holds or timeout passes; returns pred(). A convenience for tools and
    // tests that wait on an event with a bound.
    template <class Pred> bool RunUntil(Pred pred, std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (!pred()) {
            const auto now = std::chrono::steady_clock::now();
            if (now >= end) {
                return pred();
            }
            ProcessPending(
                std::min(std::chrono::duration_cast<std::chrono::milliseconds>(end - now),
                         std::chrono::milliseconds(50)));
        }
        return true;
    }

private:
    using Clock = std::chrono::steady_clock;
    struct Timer {
        Clock::time_point due;
        std::chrono::milliseconds interval;
        bool repeat;
        std::shared_ptr<Callback> fn;
    };
    struct Watch {
        int fd;
        unsigned events;
        std::shared_ptr<std::function<void(unsigned)>> fn;
    };

    bool RunPosted();
    bool RunDueTimers();
    void DrainWakeFd();

    int wakeFd_ = -1;
    std::mutex postMutex_;
    std::deque<Callback> posted_;
    std::map<TimerId, Timer> timers_;
    std::map<WatchId, Watch> watches_;
    std::uint64_t nextId_ = 1;
};

} // namespace lv
