#pragma once

namespace lv {

// Turns termination signals into readable bytes on a pipe, so that the event loop can end
// the program through its normal close path (which saves the window's place) instead of dying
// inside a signal handler. One instance per process.
class SignalWatcher {
public:
    // Watches SIGTERM, SIGINT and SIGHUP.
    SignalWatcher();
    ~SignalWatcher();
    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

    // Becomes readable when a signal arrived.
    int Fd() const { return readFd_; }
    // The next signal number that arrived, or 0 when none is pending.
    int TakeSignal();

private:
    int readFd_ = -1;
};

} // namespace lv
