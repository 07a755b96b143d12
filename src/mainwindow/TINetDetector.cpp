#include "mainwindow/TINetDetector.h"

#include "platform/NetworkState.h"

#include <chrono>

namespace lv {

TINetDetector::TINetDetector(EventLoop& loop, const NetworkState& network)
    : loop_(loop), network_(network) {
    Restart();
}

TINetDetector::~TINetDetector() {
    if (timer_ != 0) {
        loop_.StopTimer(timer_);
    }
}

void TINetDetector::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Restart();
}

void TINetDetector::SetDispatchInterval(int milliseconds) {
    interval_ = milliseconds;
    Restart();
}

void TINetDetector::Restart() {
    if (timer_ != 0) {
        loop_.StopTimer(timer_);
        timer_ = 0;
    }
    if (enabled_ && interval_ > 0) {
        timer_ = loop_.StartTimer(std::chrono::milliseconds(interval_), true, [this] { Tick(); });
    }
}

void TINetDetector::Tick() {
    const std::optional<bool> online = network_.Online();
    if (!online || *online == online_) {
        return;
    }
    online_ = *online;
    if (OnChanged) {
        OnChanged(*this);
    }
}

} // namespace lv
