#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace lv {

// The one event loop of a thread. Everything the program does happens in callbacks run by the
// loop of the user-interface thread; network components never block it. The Windows program
// used posted window messages for the same purpose, and the ordering guarantees are the same:
// a posted call never runs inside the call that posted it, only when the loop next processes
// pending work.
class EventLoop {
public:
    using Callback = std::function<void()>;
    using TimerId = std::uint64_t;
    using WatchId = std::uint64_t;

    // Readiness flags of a socket watch.
    enum : unsigned { Readable = 1u, Writable = 2u, Error = 4u };

    virtual ~EventLoop() = default;

    // Queues fn to run on the loop's thread, after what is already queued. Safe to call from any
    // thread (worker threads hand their results back this way).
    virtual void Post(Callback fn) = 0;

    // Calls fn after interval, once or every interval until stopped. Stopping an unknown or
    // already finished timer does nothing. A timer may be stopped from inside its own callback.
    virtual TimerId StartTimer(std::chrono::milliseconds interval, bool repeat, Callback fn) = 0;
    virtual void StopTimer(TimerId id) = 0;

    // Calls fn(ready) whenever fd is ready for any of the requested events (Readable, Writable);
    // Error is reported whatever was requested. Watches are level-triggered.
    virtual WatchId WatchSocket(int fd, unsigned events,
                                std::function<void(unsigned ready)> fn) = 0;
    virtual void UpdateWatch(WatchId id, unsigned events) = 0;
    virtual void Unwatch(WatchId id) = 0;

    // One pass: waits at most maxWait for something to happen, then runs every posted call,
    // due timer and ready socket callback. Returns whether anything ran. This is the "process
    // messages" pass that blocking helpers (a synchronous GET, the mail client's waits) pump.
    virtual bool
    ProcessPending(std::chrono::milliseconds maxWait = std::chrono::milliseconds(0)) = 0;
};

} // namespace lv
