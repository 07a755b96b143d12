#pragma once

#include <string>

namespace lv {

// Today's date as the user writes it. A port so that captions can be tested on a fixed day.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::string ShortDateToday() const = 0;
};

// The system clock, formatted with the locale's date representation.
class SystemClock : public Clock {
public:
    std::string ShortDateToday() const override;
};

} // namespace lv
