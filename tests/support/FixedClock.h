#pragma once

#include "platform/Clock.h"

#include <string>

namespace lvtest {

// Today is always the same day, so captions can be compared.
class FixedClock : public lv::Clock {
public:
    std::string ShortDateToday() const override { return "12/10/2026"; }
};

} // namespace lvtest
