#pragma once

#include "platform/EventLoop.h"

#include <functional>

namespace lv {

class NetworkState;

// Watches whether the machine is on-line, once per DispatchInterval on the loop; OnChanged
// fires when Online changes. A state that cannot be read changes nothing.
class TINetDetector {
public:
    TINetDetector(EventLoop& loop, const NetworkState& network);
    ~TINetDetector();
    TINetDetector(const TINetDetector&) = delete;
    TINetDetector& operator=(const TINetDetector&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int DispatchInterval() const { return interval_; }
    void SetDispatchInterval(int milliseconds);
    bool Online() const { return online_; }

    std::function<void(TINetDetector& sender)> OnChanged;

    // One poll, as the timer does it.
    void Tick();

private:
    void Restart();

    EventLoop& loop_;
    const NetworkState& network_;
    bool enabled_ = true;
    int interval_ = 1000;
    bool online_ = false;
    EventLoop::TimerId timer_ = 0;
};

} // namespace lv
