#include "platform/UnixSingleInstance.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace lv {
namespace {

// FNV-1a: a key that stays the same across builds and copies of the program.
std::string KeyOf(const std::string& text) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(hash));
    return buffer;
}

// A directory only this user can enter: the runtime directory, or one of our own under /tmp.
std::string PrivateDir(const std::string& runtimeDir) {
    struct stat info {};
    if (!runtimeDir.empty() && ::stat(runtimeDir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::getuid()) {
        return runtimeDir;
    }
    const std::string dir = "/tmp/linkvane-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    // Someone else's directory, or one others may write to, is not used.
    if (::lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
        (info.st_mode & 0077) != 0) {
        return {};
    }
    return dir;
}

sockaddr_un AddressOf(const std::string& path, bool& fits) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    fits = path.size() < sizeof address.sun_path;
    if (fits) {
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    }
    return address;
}

bool WriteAllBytes(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Reads exactly `size` bytes, waiting until `end` at most.
bool ReadExactly(int fd, char* out, std::size_t size, std::chrono::steady_clock::time_point end) {
    std::size_t done = 0;
    while (done < size) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd watch{fd, POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        const ssize_t n = ::recv(fd, out + done, size - done, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void PutNumber(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

std::uint32_t GetNumber(const char* in) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(in[i]);
    }
    return value;
}

// Cut to the longest allowed length, without splitting a UTF-8 character.
std::string CutArgument(const std::string& arg) {
    if (arg.size() <= SingleInstance::kMaxArgument) {
        return arg;
    }
    std::size_t size = SingleInstance::kMaxArgument;
    while (size > 0 && (static_cast<unsigned char>(arg[size]) & 0xC0) == 0x80) {
        --size;
    }
    return arg.substr(0, size);
}

constexpr char kAck = 'K';

} // namespace

UnixSingleInstance::UnixSingleInstance(const std::string& programDir, std::string runtimeDir,
                                       std::chrono::milliseconds wait)
    : wait_(wait) {
    const std::string dir = PrivateDir(runtimeDir);
    if (dir.empty()) {
        return;
    }
    std::error_code ignored;
    std::string canonical = std::filesystem::weakly_canonical(programDir, ignored).string();
    if (canonical.empty()) {
        canonical = programDir;
    }
    while (canonical.size() > 1 && canonical.back() == '/') {
        canonical.pop_back();
    }
    const std::string base = dir + "/linkvane-" + KeyOf(canonical);
    lockPath_ = base + ".lock";
    socketPath_ = base + ".sock";
}

UnixSingleInstance::~UnixSingleInstance() {
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(socketPath_.c_str());
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
    }
}

std::string UnixSingleInstance::RuntimeDirFromEnvironment() {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    return dir != nullptr ? std::string(dir) : std::string();
}

bool UnixSingleInstance::Claim(const std::vector<std::string>& args) {
    if (lockPath_.empty()) {
        return true; // no private place for the block: every copy runs on its own
    }
    lockFd_ = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0) {
        return true;
    }
    const auto end = std::chrono::steady_clock::now() + wait_;
    while (true) {
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            Listen();
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return true;
        }
        if (HandOver(args, end)) {
            ::close(lockFd_);
            lockFd_ = -1;
            return false;
        }
        if (std::chrono::steady_clock::now() >= end) {
            // The running copy does not answer: this one runs without the block.
            ::close(lockFd_);
            lockFd_ = -1;
            return true;
        }
        // The running copy is between taking the lock and listening.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool UnixSingleInstance::Listen() {
    bool fits = false;
    const sockaddr_un address = AddressOf(socketPath_, fits);
    if (!fits) {
        return false;
    }
    // A socket file left by a copy that died has no listener; the lock says it is ours now.
    ::unlink(socketPath_.c_str());
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0) {
        return false;
    }
    if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 8) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    return true;
}

bool UnixSingleInstance::HandOver(const std::vector<std::string>& args,
                                  std::chrono::steady_clock::time_point end) {
    bool fits = false;
    const sockaddr_un address = AddressOf(socketPath_, fits);
    if (!fits) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    bool handed = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        std::string message;
        const std::size_t count = std::min(args.size(), kMaxArguments);
        PutNumber(message, static_cast<std::uint32_t>(count));
        for (std::size_t i = 0; i < count; ++i) {
            const std::string arg = CutArgument(args[i]);
            PutNumber(message, static_cast<std::uint32_t>(arg.size()));
            message += arg;
        }
        char ack = 0;
        handed = WriteAllBytes(fd, message) && ReadExactly(fd, &ack, 1, end) && ack == kAck;
    }
    ::close(fd);
    return handed;
}

bool UnixSingleInstance::Take(std::vector<std::string>& args) {
    args.clear();
    if (listenFd_ < 0) {
        return false;
    }
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // Only this user's copies may hand over arguments.
    ucred peer{};
    socklen_t size = sizeof peer;
    bool ok =
        ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
    // A starting copy writes everything at once; one that stalls is not waited for long.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    char number[4];
    ok = ok && ReadExactly(fd, number, 4, end);
    const std::uint32_t count = ok ? GetNumber(number) : 0;
    ok = ok && count <= kMaxArguments;
    for (std::uint32_t i = 0; ok && i < count; ++i) {
        ok = ReadExactly(fd, number, 4, end);
        const std::uint32_t length = ok ? GetNumber(number) : 0;
        ok = ok && length <= kMaxArgument;
        std::string arg(length, '\0');
        ok = ok && (length == 0 || ReadExactly(fd, arg.data(), length, end));
        if (ok) {
            args.push_back(std::move(arg));
        }
    }
    if (ok) {
        const char ack = kAck;
        ok = ::send(fd, &ack, 1, MSG_NOSIGNAL) == 1;
    }
    ::close(fd);
    if (!ok) {
        args.clear();
    }
    return ok;
}

} // namespace lv
