#include "platform/Shortcuts.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace lv {

namespace {

// Shortcuts are small; anything much larger is not one and is not read into memory.
constexpr off_t kMaxShortcutBytes = 4 * 1024 * 1024;

std::optional<std::string> ReadSmallFile(const std::string& path) {
    // Only a regular file is opened: a dropped FIFO would block the open, a device the read.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxShortcutBytes) {
        return std::nullopt;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(kMaxShortcutBytes) + 1, '\0');
    std::size_t got = 0;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    while (ok && got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (!ok || got > static_cast<std::size_t>(kMaxShortcutBytes)) {
        return std::nullopt;
    }
    bytes.resize(got);
    return bytes;
}

std::string Extension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string extension = path.substr(dot);
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return extension;
}

} // namespace

Shortcut ReadShortcut(const std::string& path) {
    const std::string extension = Extension(path);
    std::optional<Shortcut> parsed;
    if (extension == ".lnk" || extension == ".desktop") {
        if (const std::optional<std::string> bytes = ReadSmallFile(path)) {
            parsed = extension == ".lnk" ? ParseShellLink(*bytes)
                                         : ParseDesktopEntry(*bytes, FindOnPath);
        }
    }
    if (!parsed || parsed->target.empty()) {
        Shortcut plain;
        plain.target = path;
        return plain;
    }
    return *parsed;
}

std::string StoredTarget(const Shortcut& shortcut) {
    if (shortcut.arguments.empty()) {
        return shortcut.target;
    }
    return shortcut.target + " /" + shortcut.arguments;
}

std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (name.empty() || name.find('/') != std::string::npos || !path) {
        return {};
    }
    std::string_view rest(path);
    while (true) {
        const std::size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        if (!dir.empty()) {
            const std::string candidate = std::string(dir) + "/" + name;
            std::error_code ec;
            if (std::filesystem::is_regular_file(candidate, ec) &&
                access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
        if (colon == std::string_view::npos) {
            return {};
        }
        rest.remove_prefix(colon + 1);
    }
}

} // namespace lv
