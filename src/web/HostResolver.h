#pragma once

#include "platform/EventLoop.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace lv {

// Name look-ups on a small pool of worker threads that stay alive a while between look-ups, so
// a run of requests does not start a thread each. The result is posted back to the loop of the
// caller. A numeric address is answered without a worker, and so is a name under ".invalid",
// which never exists (RFC 6761 section 6.4): it is reported as not found without asking the
// system's name service.
class HostResolver {
public:
    // Called on the loop's thread with a Winsock error (0 on success) and the first address in
    // numeric form (IPv4 preferred).
    using Done = std::function<void(int error, const std::string& address)>;

    class Lookup;
    // Starts a look-up; throws std::system_error when no worker can be started. Cancel the
    // returned handle (on the loop's thread) to drop the result: afterwards done is never
    // called and the worker no longer touches the loop.
    static std::shared_ptr<Lookup> Start(EventLoop& loop, const std::string& host, Done done);
    static void Cancel(const std::shared_ptr<Lookup>& lookup);

    // Numeric form of host when it already is an IPv4 or IPv6 address, else empty.
    static std::string NumericAddress(const std::string& host);
    // True for "invalid" and every name under it, in any case, with or without a final dot.
    static bool IsInvalidName(const std::string& host);
    // How many names have been handed to the system's resolver so far (for traces and tests).
    static std::uint64_t SystemLookups();
};

} // namespace lv
