#include "platform/Shortcuts.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unistd.h>

namespace lv {

namespace {

// Shortcuts are small; anything much larger is not one and is not read into memory.
constexpr std::streamsize kMaxShortcutBytes = 4 * 1024 * 1024;

std::optional<std::string> ReadSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(kMaxShortcutBytes) + 1, '\0');
    in.read(bytes.data(), kMaxShortcutBytes + 1);
    const std::streamsize got = in.gcount();
    if (got > kMaxShortcutBytes) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(got));
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
