#include "platform/ProgramDir.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace lv {
namespace {

namespace fs = std::filesystem;

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') {
        dir += '/';
    }
    return dir;
}

bool IsSettingsName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == "lvd.ini";
}

// A settings file written on Windows may carry any letter case ("LVD.INI").
bool HoldsSettingsFile(const std::string& dir) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (IsSettingsName(it->path().filename().string()) && it->is_regular_file(ec)) {
            return true;
        }
    }
    return false;
}

std::string Ensure(const std::string& dir, bool* created) {
    std::error_code ec;
    const bool made = fs::create_directories(dir, ec);
    if (created != nullptr) {
        *created = made && !ec;
    }
    if (!fs::is_directory(dir)) {
        throw std::runtime_error("Cannot create directory " + dir);
    }
    return WithSlash(dir);
}

} // namespace

std::string FindProgramDir(const ProgramDirSources& sources, bool* created) {
    if (created != nullptr) {
        *created = false;
    }
    if (!sources.linkvaneHome.empty()) {
        return Ensure(sources.linkvaneHome, created);
    }
    if (!sources.executableDir.empty() && access(sources.executableDir.c_str(), W_OK) == 0 &&
        HoldsSettingsFile(sources.executableDir)) {
        return WithSlash(sources.executableDir);
    }
    std::string data = sources.xdgDataHome;
    if (data.empty() || data.front() != '/') {
        // Relative values are invalid by the XDG rules and are ignored.
        data = WithSlash(sources.home) + ".local/share";
    }
    return Ensure(WithSlash(data) + "linkvane", created);
}

ProgramDirSources ProgramDirSourcesFromEnvironment() {
    auto env = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value != nullptr ? value : "");
    };
    ProgramDirSources sources;
    sources.linkvaneHome = env("LINKVANE_HOME");
    sources.xdgDataHome = env("XDG_DATA_HOME");
    sources.home = env("HOME");
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        sources.executableDir = exe.parent_path().string();
    }
    return sources;
}

} // namespace lv
