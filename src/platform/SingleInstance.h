#pragma once

#include <string>
#include <vector>

namespace lv {

// Keeps one running copy per user and program directory. The first copy to start becomes the
// running copy and listens; a later copy hands its arguments to it and ends.
class SingleInstance {
public:
    // Arguments handed on: at most this many, each cut to kMaxArgument bytes.
    static constexpr std::size_t kMaxArguments = 10;
    static constexpr std::size_t kMaxArgument = 300;

    virtual ~SingleInstance() = default;
    // True when this copy is the running copy (also when no running copy answered within the
    // time allowed); false when the arguments were handed to the running copy.
    virtual bool Claim(const std::vector<std::string>& args) = 0;
    // The running copy: a descriptor that becomes readable when another copy starts, -1 when
    // there is none to watch.
    virtual int WatchFd() const = 0;
    // The running copy, once WatchFd is readable: the arguments of the copy that started, or
    // nothing when the connection carried none (a probe, a copy that died).
    virtual bool Take(std::vector<std::string>& args) = 0;
};

} // namespace lv
