#pragma once

#include <chrono>
#include <string>

namespace lv {

// One ICMP echo: a request to an IPv4 address and the wait for its reply.
struct EchoResult {
    int replies = 0;     // 1 when the reply came in time, else 0
    int roundTripMs = 0; // of the reply, in whole milliseconds
    std::string error;   // why there was none (for traces)
};

class IcmpEcho {
public:
    virtual ~IcmpEcho() = default;
    // Sends one echo request with `size` bytes of data and waits up to `timeout` for the reply.
    // `address` is a dotted IPv4 address.
    virtual EchoResult Echo(const std::string& address, int size, int ttl,
                            std::chrono::milliseconds timeout) = 0;
    // Why no echo can be sent at all (empty when it can).
    virtual std::string Unavailable() const { return {}; }
};

// The system's ICMP: an unprivileged datagram ICMP socket (the group must be allowed by
// net.ipv4.ping_group_range), else a raw socket (as root).
class LinuxIcmpEcho : public IcmpEcho {
public:
    EchoResult Echo(const std::string& address, int size, int ttl,
                    std::chrono::milliseconds timeout) override;
    std::string Unavailable() const override;
};

// Told when no ICMP socket can be had (the Windows program could not load its ICMP library).
inline constexpr const char* kNoIcmpText =
    "Unable to open an ICMP socket: allow your group in net.ipv4.ping_group_range, or run as "
    "root.";

// The fixed text carried as echo data (cut to the size asked for).
inline constexpr const char* kEchoText = "Linkvane access speed test";

} // namespace lv
