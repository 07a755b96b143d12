#pragma once

#include "platform/EventLoop.h"

#include <cstdint>
#include <map>
#include <memory>

class QObject;
class QSocketNotifier;

namespace lv {

// The EventLoop of the user-interface thread, run by Qt's own event dispatcher so that network
// callbacks, timers and posted calls interleave with painting and input in one loop. Create it
// on the thread that owns the QApplication; Post may be called from any thread.
class QtEventLoop final : public EventLoop {
public:
    QtEventLoop();
    ~QtEventLoop() override;
    QtEventLoop(const QtEventLoop&) = delete;
    QtEventLoop& operator=(const QtEventLoop&) = delete;

    void Post(Callback fn) override;
    TimerId StartTimer(std::chrono::milliseconds interval, bool repeat, Callback fn) override;
    void StopTimer(TimerId id) override;
    WatchId WatchSocket(int fd, unsigned events, std::function<void(unsigned ready)> fn) override;
    void UpdateWatch(WatchId id, unsigned events) override;
    void Unwatch(WatchId id) override;
    bool ProcessPending(std::chrono::milliseconds maxWait = std::chrono::milliseconds(0)) override;

private:
    class Receiver;
    struct Timer {
        int qtId = 0;
        bool repeat = false;
        Callback fn;
    };
    struct Watch {
        int fd = -1;
        unsigned events = 0;
        std::function<void(unsigned)> fn;
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
    };

    void FireTimer(int qtId);
    void FireWatch(WatchId id);
    void ApplyEvents(WatchId id, Watch& watch);
    static void DropNotifier(QSocketNotifier*& notifier);

    // Posted calls are events addressed to receiver_; Qt discards those still queued when it is
    // destroyed, so a call never runs against a dead loop.
    std::unique_ptr<Receiver> receiver_;
    std::uint64_t ranCount_ = 0;
    std::map<TimerId, std::shared_ptr<Timer>> timers_;
    std::map<int, TimerId> timerByQtId_;
    std::map<WatchId, std::shared_ptr<Watch>> watches_;
    std::uint64_t nextId_ = 1;
};

} // namespace lv
