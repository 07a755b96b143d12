#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lv {

// Whether this machine is on-line: it is when it has a default route. The connection lamp asks
// once a second.
class NetworkState {
public:
    virtual ~NetworkState() = default;
    // Empty when the state cannot be read (the lamp then stays as it is).
    virtual std::optional<bool> Online() const = 0;
};

// Reads the kernel's routing tables: a default route in /proc/net/route (destination and mask
// 00000000, the route up) or in /proc/net/ipv6_route (destination ::/0, up, and not the
// "unreachable" route the kernel keeps on loopback) means on-line. procNet names the folder, so
// tests can hand in their own tables.
class LinuxNetworkState : public NetworkState {
public:
    explicit LinuxNetworkState(std::string procNet = "/proc/net") : procNet_(std::move(procNet)) {}
    std::optional<bool> Online() const override;

private:
    std::string procNet_;
};

// The two table parsers: true when the text holds a usable default route.
bool HasIpv4DefaultRoute(std::string_view routeTable);
bool HasIpv6DefaultRoute(std::string_view ipv6RouteTable);

// A state set by hand, for tests.
class FixedNetworkState : public NetworkState {
public:
    std::optional<bool> online = false;
    std::optional<bool> Online() const override { return online; }
};

} // namespace lv
