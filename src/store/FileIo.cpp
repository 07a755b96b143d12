#include "store/FileIo.h"

#include "store/FileError.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace lv {
namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// Saving through a symbolic link must replace the file it points at, not the link itself.
std::string FinalTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        return path;
    }
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        return path; // a dangling link: the rename below replaces it
    }
    std::string result(real);
    std::free(real);
    return result;
}

} // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::nullopt;
        }
        throw FileError::CannotOpen(path);
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || S_ISDIR(st.st_mode)) {
        throw FileError::CannotOpen(path);
    }
    // Read straight into a string of the file's size plus one byte, so that the read which sees
    // the end of the file needs no second buffer and no copy of a large file; keep going if the
    // file grew meanwhile.
    std::string bytes(S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) + 1 : 0, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            bytes.resize(bytes.size() + 65536);
        }
        const ssize_t n = ::read(fd.Get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileError::CannotOpen(path);
        }
        if (n == 0) {
            break;
        }
        filled += static_cast<std::size_t>(n);
    }
    bytes.resize(filled);
    return bytes;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool WriteAllVectors(int fd, iovec* pieces, std::size_t count) {
    while (count > 0) {
        const int batch = static_cast<int>(std::min<std::size_t>(count, IOV_MAX));
        ssize_t n = ::writev(fd, pieces, batch);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        // Skip what was written, including a piece written in part.
        while (count > 0 && static_cast<std::size_t>(n) >= pieces->iov_len) {
            n -= static_cast<ssize_t>(pieces->iov_len);
            ++pieces;
            --count;
        }
        if (count > 0 && n > 0) {
            pieces->iov_base = static_cast<char*>(pieces->iov_base) + n;
            pieces->iov_len -= static_cast<std::size_t>(n);
        }
    }
    return true;
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
    WriteFileAtomic(path, [bytes](int fd) { return WriteAll(fd, bytes); });
}

void WriteFileAtomic(const std::string& path, const std::function<bool(int fd)>& writeContent,
                     Flush flush) {
    const std::string target = FinalTarget(path);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        // A read-only file stays as it is, also for root (who could otherwise rename over it),
        // the way the read-only attribute protected it on Windows.
        const mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;
        if (!S_ISREG(st.st_mode) || (st.st_mode & writeBits) == 0 ||
            ::access(target.c_str(), W_OK) != 0) {
            throw FileError::CannotCreate(path);
        }
    }

    static std::atomic<unsigned> counter{0};
    std::string temp;
    int rawFd = -1;
    for (int attempt = 0; attempt < 100 && rawFd < 0; ++attempt) {
        temp = target + ".~lv" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        // Mode 0666 so a new file gets the permissions the umask allows.
        rawFd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (rawFd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (rawFd < 0) {
        throw FileError::CannotCreate(path);
    }
    Fd fd(rawFd);
    bool ok = writeContent(fd.Get());
    if (ok && exists) {
        // Keep the owner too where we may (root saving a user's file); failing that is harmless.
        if (::fchown(fd.Get(), st.st_uid, st.st_gid) != 0) {
            errno = 0;
        }
        ok = ::fchmod(fd.Get(), st.st_mode & 07777) == 0;
    }
    ok = ok && (flush == Flush::No || ::fsync(fd.Get()) == 0);
    ok = ::close(fd.Release()) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        throw FileError::CannotCreate(path);
    }
    // No fsync of the directory: a crash before the rename reaches the disk leaves the previous
    // version, which is whole, and every page switch saves, so that flush would double its cost.
}

} // namespace lv
