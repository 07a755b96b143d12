#include "platform/PollEventLoop.h"

#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>

namespace lv {

PollEventLoop::PollEventLoop() {
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) {
        throw std::runtime_error("cannot create the event loop's wake-up descriptor");
    }
}

PollEventLoop::~PollEventLoop() {
    close(wakeFd_);
}

void PollEventLoop::Post(Callback fn) {
    {
        std::lock_guard<std::mutex> lock(postMutex_);
        posted_.push_back(std::move(fn));
    }
    const std::uint64_t one = 1;
    // A full counter still wakes the poll, so a failed write needs no handling.
    [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

PollEventLoop::TimerId PollEventLoop::StartTimer(std::chrono::milliseconds interval, bool repeat,
                                                 Callback fn) {
    const TimerId id = nextId_++;
    if (interval.count() < 0) {
        interval = std::chrono::milliseconds(0);
    }
    timers_[id] =
        Timer{Clock::now() + interval, interval, repeat, std::make_shared<Callback>(std::move(fn))};
    return id;
}

void PollEventLoop::StopTimer(TimerId id) {
    timers_.erase(id);
}

PollEventLoop::WatchId PollEventLoop::WatchSocket(int fd, unsigned events,
                                                  std::function<void(unsigned ready)> fn) {
    const WatchId id = nextId_++;
    watches_[id] =
        Watch{fd, events, std::make_shared<std::function<void(unsigned)>>(std::move(fn))};
    return id;
}

void PollEventLoop::UpdateWatch(WatchId id, unsigned events) {
    auto it = watches_.find(id);
    if (it != watches_.end()) {
        it->second.events = events;
    }
}

void PollEventLoop::Unwatch(WatchId id) {
    watches_.erase(id);
}

void PollEventLoop::DrainWakeFd() {
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t n = read(wakeFd_, &count, sizeof count);
}

bool PollEventLoop::RunPosted() {
    // Only what was queued before this pass runs now; calls posted by these callbacks wait for
    // the next pass, so a callback that re-posts itself cannot starve the sockets.
    std::deque<Callback> batch;
    {
        std::lock_guard<std::mutex> lock(postMutex_);
        batch.swap(posted_);
    }
    for (auto& fn : batch) {
        if (fn) {
            fn();
        }
    }
    return !batch.empty();
}

bool PollEventLoop::RunDueTimers() {
    const auto now = Clock::now();
    std::vector<TimerId> due;
    for (const auto& [id, timer] : timers_) {
        if (timer.due <= now) {
            due.push_back(id);
        }
    }
    for (TimerId id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) {
            continue; // stopped by an earlier callback of this pass
        }
        auto fn = it->second.fn;
        if (it->second.repeat) {
            it->second.due = now + std::max(it->second.interval, std::chrono::milliseconds(1));
        } else {
            timers_.erase(it);
        }
        (*fn)();
    }
    return !due.empty();
}

bool PollEventLoop::ProcessPending(std::chrono::milliseconds maxWait) {
    bool ran = false;
    bool havePosted = false;
    {
        std::lock_guard<std::mutex> lock(postMutex_);
        havePosted = !posted_.empty();
    }
    std::chrono::milliseconds wait = havePosted ? std::chrono::milliseconds(0) : maxWait;
    const auto now = Clock::now();
    for (const auto& [id, timer] : timers_) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(timer.due - now);
        wait = std::min(wait, std::max(left, std::chrono::milliseconds(0)));
    }

    std::vector<pollfd> fds;
    std::vector<WatchId> ids;
    fds.push_back(pollfd{wakeFd_, POLLIN, 0});
    for (const auto& [id, watch] : watches_) {
        short events = 0;
        if (watch.events & Readable) {
            events |= POLLIN;
        }
        if (watch.events & Writable) {
            events |= POLLOUT;
        }
        fds.push_back(pollfd{watch.fd, events, 0});
        ids.push_back(id);
    }
    const int timeout = static_cast<int>(std::max<long long>(wait.count(), 0));
    int count = poll(fds.data(), fds.size(), timeout);
    if (count < 0 && errno != EINTR) {
        throw std::runtime_error("poll failed");
    }
    if (fds[0].revents != 0) {
        DrainWakeFd();
    }
    ran = RunPosted() || ran;
    ran = RunDueTimers() || ran;
    if (count > 0) {
        for (std::size_t i = 1; i < fds.size(); ++i) {
            if (fds[i].revents == 0) {
                continue;
            }
            // A callback may have removed or replaced this watch (or closed its descriptor):
            // look it up again and skip it unless it still watches the same descriptor.
            auto it = watches_.find(ids[i - 1]);
            if (it == watches_.end() || it->second.fd != fds[i].fd) {
                continue;
            }
            unsigned ready = 0;
            if (fds[i].revents & (POLLIN | POLLHUP)) {
                ready |= Readable;
            }
            if (fds[i].revents & POLLOUT) {
                ready |= Writable;
            }
            if (fds[i].revents & (POLLERR | POLLNVAL)) {
                ready |= Error;
            }
            ready &= it->second.events | Error;
            if (fds[i].revents & POLLHUP) {
                ready |= it->second.events & (Readable | Writable);
            }
            if (ready == 0) {
                continue;
            }
            auto fn = it->second.fn; // keeps the callback alive if it unwatches itself
            (*fn)(ready);
            ran = true;
        }
    }
    return ran;
}

} // namespace lv
