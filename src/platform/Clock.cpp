#include "platform/Clock.h"

#include <ctime>

namespace lv {

std::string SystemClock::ShortDateToday() const {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64];
    std::size_t n = std::strftime(buffer, sizeof buffer, "%x", &local);
    return std::string(buffer, n);
}

} // namespace lv
