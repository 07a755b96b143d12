#pragma once

#include "platform/EventLoop.h"

#include <chrono>
#include <functional>
#include <string>

namespace lv {

// The countdown shown while the program waits for a server. Started, it counts down once per
// Interval; at zero it shows "Timeout", restores its starting number and fires OnTimeout. The
// view (gui/TWaitView) draws Text() and swallows clicks and keys while Running().
class TWait {
public:
    explicit TWait(EventLoop& loop);
    ~TWait();
    TWait(const TWait&) = delete;
    TWait& operator=(const TWait&) = delete;

    // The starting number of seconds; 0 (or less) counts from 15.
    int Number() const { return number_; }
    void SetNumber(int seconds);
    std::chrono::milliseconds Interval = std::chrono::milliseconds(1000);

    // What the control shows: the seconds left, or "Timeout" after the countdown ran out.
    const std::string& Text() const { return text_; }
    bool Visible() const { return visible_; }
    void Show();
    void Hide();
    bool Running() const { return timer_ != 0; }

    void Start();
    // Ends the countdown without a time-out (the awaited event came, or the connection closed).
    void Stop();

    // The blocking wait: sets the number to seconds, shows the control and pumps the loop until
    // arrived() holds, the countdown ends or Stop() is called; then hides the control. Returns
    // arrived().
    bool Run(int seconds, const std::function<bool()>& arrived);

    std::function<void()> OnTimeout;
    // Text, visibility or running state changed; the view repaints.
    std::function<void()> OnChange;

private:
    void Tick();
    void Changed();

    EventLoop& loop_;
    int number_ = 15;
    int left_ = 0;
    std::string text_ = "15";
    bool visible_ = false;
    EventLoop::TimerId timer_ = 0;
};

} // namespace lv
