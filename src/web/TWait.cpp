#include "web/TWait.h"

#include <algorithm>

namespace lv {

namespace {
constexpr int kDefaultSeconds = 15;
// Longest single pass of the loop inside Run: keeps the wait responsive to Stop() called by a
// callback that ran outside the loop's knowledge.
constexpr std::chrono::milliseconds kPumpSlice(100);
} // namespace

TWait::TWait(EventLoop& loop) : loop_(loop) {}

TWait::~TWait() {
    if (timer_ != 0) {
        loop_.StopTimer(timer_);
    }
}

void TWait::SetNumber(int seconds) {
    number_ = seconds;
    text_ = std::to_string(seconds);
    Changed();
}

void TWait::Show() {
    visible_ = true;
    Changed();
}

void TWait::Hide() {
    visible_ = false;
    Changed();
}

void TWait::Start() {
    if (timer_ != 0) {
        loop_.StopTimer(timer_);
    }
    // A count that never reaches zero would wait forever; anything below one second is the
    // default wait.
    if (number_ <= 0) {
        number_ = kDefaultSeconds;
    }
    left_ = number_;
    text_ = std::to_string(left_);
    timer_ = loop_.StartTimer(Interval, true, [this] { Tick(); });
    Changed();
}

void TWait::Stop() {
    if (timer_ == 0) {
        return;
    }
    loop_.StopTimer(timer_);
    timer_ = 0;
    Changed();
}

void TWait::Tick() {
    --left_;
    if (left_ > 0) {
        text_ = std::to_string(left_);
        Changed();
        return;
    }
    loop_.StopTimer(timer_);
    timer_ = 0;
    text_ = "Timeout";
    left_ = number_;
    Changed();
    if (OnTimeout) {
        OnTimeout();
    }
}

bool TWait::Run(int seconds, const std::function<bool()>& arrived) {
    SetNumber(seconds);
    Show();
    Start();
    while (!arrived() && Running()) {
        loop_.ProcessPending(std::min<std::chrono::milliseconds>(Interval, kPumpSlice));
    }
    Stop();
    Hide();
    return arrived();
}

void TWait::Changed() {
    if (OnChange) {
        OnChange();
    }
}

} // namespace lv
