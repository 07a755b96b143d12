#include "platform/NetworkState.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace lv {
namespace {

constexpr unsigned long kRouteUp = 0x0001;     // RTF_UP
constexpr unsigned long kRouteReject = 0x0200; // RTF_REJECT: "unreachable", not a way out

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string word;
    while (in >> word) {
        words.push_back(word);
    }
    return words;
}

bool ParseHex(const std::string& text, unsigned long& value) {
    if (text.empty() || text.size() > 16) {
        return false;
    }
    std::size_t used = 0;
    try {
        value = std::stoul(text, &used, 16);
    } catch (const std::exception&) {
        return false;
    }
    return used == text.size();
}

bool AllZero(const std::string& text) {
    return !text.empty() && text.find_first_not_of('0') == std::string::npos;
}

bool ReadAll(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    text = bytes.str();
    return true;
}

} // namespace

bool HasIpv4DefaultRoute(std::string_view routeTable) {
    std::istringstream in{std::string(routeTable)};
    std::string line;
    std::getline(in, line); // the column names
    while (std::getline(in, line)) {
        const std::vector<std::string> w = Words(line);
        // Iface Destination Gateway Flags RefCnt Use Metric Mask ...
        unsigned long flags = 0;
        if (w.size() < 8 || !ParseHex(w[3], flags)) {
            continue;
        }
        if (AllZero(w[1]) && AllZero(w[7]) && (flags & kRouteUp) != 0 &&
            (flags & kRouteReject) == 0) {
            return true;
        }
    }
    return false;
}

bool HasIpv6DefaultRoute(std::string_view ipv6RouteTable) {
    std::istringstream in{std::string(ipv6RouteTable)};
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> w = Words(line);
        // destination, prefix length, source, its length, next hop, metric, refs, use, flags,
        // interface
        unsigned long flags = 0;
        if (w.size() < 10 || !ParseHex(w[8], flags)) {
            continue;
        }
        if (AllZero(w[0]) && w[0].size() == 32 && AllZero(w[1]) && (flags & kRouteUp) != 0 &&
            (flags & kRouteReject) == 0) {
            return true;
        }
    }
    return false;
}

std::optional<bool> LinuxNetworkState::Online() const {
    std::string v4;
    std::string v6;
    const bool haveV4 = ReadAll(procNet_ + "/route", v4);
    const bool haveV6 = ReadAll(procNet_ + "/ipv6_route", v6);
    if (!haveV4 && !haveV6) {
        return std::nullopt;
    }
    return (haveV4 && HasIpv4DefaultRoute(v4)) || (haveV6 && HasIpv6DefaultRoute(v6));
}

} // namespace lv
