#include "store/FileIo.h"

#include "platform/Fd.h"
#include "store/FileError.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lv {
namespace {

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

FileError TooLarge(const std::string& path, std::size_t limit) {
    const std::string size = limit % (std::size_t{1} << 20) == 0
                                 ? std::to_string(limit >> 20) + " MB"
                                 : std::to_string(limit) + " bytes";
    return FileError("Cannot open file " + path + ": larger than " + size);
}

// True when the file holds exactly the bytes of `content`, read along with its pieces so that no
// second copy of a large file is made; stops at the first difference.
bool SameBytes(const std::string& target, const struct stat& st, std::size_t size,
               const ContentSource& content) {
    if (!S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) != size) {
        return false;
    }
    Fd fd(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        return false;
    }
    std::vector<char> buffer(std::size_t{1} << 16);
    std::size_t have = 0;
    std::size_t used = 0;
    auto fill = [&] {
        ssize_t n = 0;
        do {
            n = ::read(fd.Get(), buffer.data(), buffer.size());
        } while (n < 0 && errno == EINTR);
        have = n > 0 ? static_cast<std::size_t>(n) : 0;
        used = 0;
        return n > 0;
    };
    const bool same = content([&](std::string_view piece) {
        while (!piece.empty()) {
            if (used == have && !fill()) {
                return false;
            }
            const std::size_t take = std::min(piece.size(), have - used);
            if (std::memcmp(piece.data(), buffer.data() + used, take) != 0) {
                return false;
            }
            used += take;
            piece.remove_prefix(take);
        }
        return true;
    });
    // The file may have grown since the stat.
    return same && used == have && !fill();
}

bool WritePieces(int fd, const ContentSource& content) {
    constexpr std::size_t kPieces = 512;
    std::array<iovec, kPieces> pieces{};
    std::size_t used = 0;
    const bool ok = content([&](std::string_view piece) {
        if (piece.empty()) {
            return true;
        }
        if (used == kPieces) {
            if (!WriteAllVectors(fd, pieces.data(), used)) {
                return false;
            }
            used = 0;
        }
        pieces[used++] = iovec{const_cast<char*>(piece.data()), piece.size()};
        return true;
    });
    return ok && WriteAllVectors(fd, pieces.data(), used);
}

// After the rename the new name lives in the directory, which has its own blocks to flush. A
// failure here is not reported: the file is already replaced, and "Cannot create file" would
// wrongly say the old one was kept.
void SyncDirectoryOf(const std::string& target) {
    const auto slash = target.rfind('/');
    const std::string directory = slash == std::string::npos ? std::string(".")
                                  : slash == 0               ? std::string("/")
                                                             : target.substr(0, slash);
    Fd fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0) {
        (void)::fsync(fd.Get());
    }
}

struct ArmedAction {
    std::string target;
    std::function<void()> before;
    std::function<void()> after;
};
std::mutex armedMutex;
std::optional<ArmedAction> armed;

std::optional<ArmedAction> TakeArmedAction(const std::string& target) {
    const std::lock_guard<std::mutex> lock(armedMutex);
    std::optional<ArmedAction> action;
    if (armed && armed->target == target) {
        action = std::move(armed);
        armed.reset();
    }
    return action;
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t limit) {
    // Nothing but a regular file is opened: opening a FIFO waits for a writer that may never
    // come, and opening a device can have effects of its own.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::nullopt;
        }
        throw FileError::CannotOpen(path);
    }
    if (!S_ISREG(st.st_mode)) {
        throw FileError::CannotOpen(path);
    }
    // Non-blocking all the same, for a FIFO swapped in after the check.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::nullopt;
        }
        throw FileError::CannotOpen(path);
    }
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        throw FileError::CannotOpen(path);
    }
    if (static_cast<std::uintmax_t>(st.st_size) > limit) {
        throw TooLarge(path, limit);
    }
    // Read straight into a string of the file's size plus one byte, so that the read which sees
    // the end of the file needs no second buffer and no copy of a large file; keep going if the
    // file grew meanwhile (and files of /proc, which report no size), up to the limit.
    std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > limit) {
                throw TooLarge(path, limit);
            }
            bytes.resize(std::min(bytes.size() + 65536, limit + 1));
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
    if (filled > limit) {
        throw TooLarge(path, limit);
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

void WriteFileAtomic(const std::string& path, std::string_view bytes, std::optional<mode_t> mode) {
    WriteFileAtomic(
        path, bytes.size(), [bytes](const PieceSink& emit) { return emit(bytes); }, mode);
}

void WriteFileAtomic(const std::string& path, std::size_t size, const ContentSource& content,
                     std::optional<mode_t> mode) {
    const std::string target = FinalTarget(path);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        // A read-only file stays as it is, also for root (who could otherwise rename over it),
        // the way the read-only attribute protected it on Windows. Its save fails as it always
        // did, also when it would not have changed a byte.
        const mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;
        if (!S_ISREG(st.st_mode) || (st.st_mode & writeBits) == 0 ||
            ::access(target.c_str(), W_OK) != 0) {
            throw FileError::CannotCreate(path);
        }
    }
    // Saving what the file already holds writes nothing: no new inode, no flush, no backup. A
    // copy that must narrow the target's permissions is still written.
    if (exists && (!mode || (st.st_mode & 07777) == (*mode & 07777)) &&
        SameBytes(target, st, size, content)) {
        return;
    }
    const std::optional<ArmedAction> armedAction = TakeArmedAction(target);
    if (armedAction && armedAction->before) {
        armedAction->before();
    }

    // The temporary file is born with the permissions it will keep (the umask can only narrow
    // them): created wide and narrowed afterwards, a private file would be readable by everyone
    // for as long as the write takes.
    const mode_t createMode = mode ? (*mode & 0777) : exists ? (st.st_mode & 0777) : 0666;
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int rawFd = -1;
    for (int attempt = 0; attempt < 100 && rawFd < 0; ++attempt) {
        temp = target + ".~lv" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        rawFd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
        if (rawFd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (rawFd < 0) {
        throw FileError::CannotCreate(path);
    }
    Fd fd(rawFd);
    bool ok = WritePieces(fd.Get(), content);
    if (ok && exists) {
        // Keep the owner too where we may (root saving a user's file); failing that is harmless.
        if (::fchown(fd.Get(), st.st_uid, st.st_gid) != 0) {
            errno = 0;
        }
    }
    if (ok && (exists || mode)) {
        // Also the bits the umask took away and the set-id bits that fchown clears.
        ok = ::fchmod(fd.Get(), mode ? (*mode & 07777) : (st.st_mode & 07777)) == 0;
    }
    ok = ok && ::fsync(fd.Get()) == 0;
    ok = ::close(fd.Release()) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        throw FileError::CannotCreate(path);
    }
    SyncDirectoryOf(target);
    if (armedAction && armedAction->after) {
        armedAction->after();
    }
}

void ArmBeforeFirstChange(const std::string& path, std::function<void()> before,
                          std::function<void()> after) {
    std::string target = FinalTarget(path);
    const std::lock_guard<std::mutex> lock(armedMutex);
    armed = ArmedAction{std::move(target), std::move(before), std::move(after)};
}

void DisarmBeforeFirstChange() {
    const std::lock_guard<std::mutex> lock(armedMutex);
    armed.reset();
}

int RemoveStaleTemporaries(const std::string& directory) {
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) {
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        const auto mark = name.rfind(".~lv");
        if (mark == std::string_view::npos || mark == 0) {
            continue;
        }
        const std::string_view rest = name.substr(mark + 4);
        const auto dash = rest.find('-');
        if (dash == std::string_view::npos || dash > 9 || !AllDigits(rest.substr(0, dash)) ||
            !AllDigits(rest.substr(dash + 1))) {
            continue;
        }
        const pid_t pid = static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
        // A live process may be in the middle of that save (EPERM: alive, another user's).
        if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) {
            continue;
        }
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
            continue;
        }
        if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) {
            ++removed;
        }
    }
    ::closedir(dir);
    return removed;
}

} // namespace lv
