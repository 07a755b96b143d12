#include "platform/BrowserProbe.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace lv {

namespace {

// A start script (or link) in a bin folder and the program it starts. Scripts hide the program's
// path in variables, so the pairs are known rather than read from the script.
struct WrapperPair {
    const char* wrapper;
    const char* program;
};

constexpr WrapperPair kWrapperPairs[] = {
    {"/usr/bin/firefox", "/usr/lib/firefox/firefox"},
    {"/usr/bin/firefox", "/opt/firefox/firefox"},
    {"/usr/bin/firefox", "/snap/bin/firefox"},
    {"/usr/bin/firefox-esr", "/usr/lib/firefox-esr/firefox-esr"},
    {"/usr/bin/chromium", "/usr/lib/chromium/chromium"},
    {"/usr/bin/chromium-browser", "/usr/lib/chromium-browser/chromium-browser"},
    {"/usr/bin/chromium-browser", "/snap/bin/chromium"},
    {"/usr/bin/google-chrome", "/opt/google/chrome/google-chrome"},
    {"/usr/bin/brave-browser", "/opt/brave.com/brave/brave-browser"},
    {"/usr/bin/microsoft-edge", "/opt/microsoft/msedge/microsoft-edge"},
    {"/usr/bin/vivaldi", "/opt/vivaldi/vivaldi"},
    {"/usr/bin/opera", "/opt/opera/opera"},
    {"/usr/bin/seamonkey", "/usr/lib/seamonkey/seamonkey"},
};

constexpr int kMaxLinks = 40;

// path resolved as if root were "/": links are followed component by component, and absolute
// link targets (such as those through /etc/alternatives) stay below root. The answer is the
// path as the system sees it; empty when a link cannot be read or loops.
std::string ResolveBelow(const std::filesystem::path& root, const std::string& path) {
    namespace fs = std::filesystem;
    std::vector<std::string> pending; // components still to walk, last one first
    const auto push = [&pending](const fs::path& part) {
        std::vector<std::string> names;
        for (const fs::path& name : part.relative_path()) {
            names.push_back(name.string());
        }
        pending.insert(pending.end(), names.rbegin(), names.rend());
    };
    push(path);
    fs::path done = "/";
    int links = 0;
    while (!pending.empty()) {
        const std::string name = pending.back();
        pending.pop_back();
        if (name.empty() || name == ".") {
            continue;
        }
        if (name == "..") {
            done = done.parent_path();
            continue;
        }
        const fs::path next = done / name;
        const fs::path onDisk = root / next.relative_path();
        std::error_code ec;
        if (!fs::is_symlink(onDisk, ec)) {
            done = next;
            continue;
        }
        const fs::path target = fs::read_symlink(onDisk, ec);
        if (ec || ++links > kMaxLinks) {
            return {};
        }
        if (target.is_absolute()) {
            done = "/";
        }
        push(target);
    }
    return done.string();
}

} // namespace

const std::vector<std::string>& KnownBrowserPaths() {
    static const std::vector<std::string> paths = [] {
        const char* const names[] = {
            "firefox",       "firefox-esr",    "chromium", "google-chrome", "chromium-browser",
            "brave-browser", "microsoft-edge", "vivaldi",  "opera",         "epiphany",
            "konqueror",     "falkon",         "midori",   "seamonkey"};
        const char* const dirs[] = {"/usr/bin/", "/usr/local/bin/", "/snap/bin/"};
        std::vector<std::string> list;
        for (const char* name : names) {
            for (const char* dir : dirs) {
                list.push_back(std::string(dir) + name);
            }
        }
        // Vendor packages that install below /opt only.
        for (const char* path :
             {"/opt/firefox/firefox", "/opt/google/chrome/google-chrome",
              "/opt/brave.com/brave/brave-browser", "/opt/microsoft/msedge/microsoft-edge",
              "/opt/vivaldi/vivaldi", "/opt/opera/opera"}) {
            list.emplace_back(path);
        }
        // The programs that wrappers start, and the system's default browser: found when
        // nothing else is, and otherwise counted as the browser already found.
        for (const WrapperPair& pair : kWrapperPairs) {
            if (std::find(list.begin(), list.end(), pair.program) == list.end()) {
                list.emplace_back(pair.program);
            }
        }
        list.emplace_back("/usr/bin/x-www-browser");
        return list;
    }();
    return paths;
}

std::vector<std::string>
ProbeBrowsers(const std::function<bool(const std::string&)>& exists,
              const std::function<std::string(const std::string&)>& canonical) {
    const auto resolve = [&canonical](const std::string& path) {
        return canonical ? canonical(path) : path;
    };
    // Which browser a path is: the program file it leads to, where a program that an existing
    // wrapper starts counts as that wrapper.
    const auto identity = [&](const std::string& path) {
        const std::string target = resolve(path);
        for (const WrapperPair& pair : kWrapperPairs) {
            if (resolve(pair.program) == target && exists(pair.wrapper)) {
                return resolve(pair.wrapper);
            }
        }
        return target;
    };
    std::vector<std::string> found;
    std::vector<std::string> targets;
    for (const std::string& path : KnownBrowserPaths()) {
        if (!exists(path)) {
            continue;
        }
        const std::string target = identity(path);
        if (std::find(targets.begin(), targets.end(), target) != targets.end()) {
            continue;
        }
        targets.push_back(target);
        found.push_back(path);
        if (found.size() == 2) {
            break;
        }
    }
    return found;
}

std::vector<std::string> ProbeBrowsersBelow(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    const auto onDisk = [&root](const std::string& path) {
        return (root / fs::path(path).relative_path()).string();
    };
    return ProbeBrowsers(
        [&](const std::string& path) {
            const std::string resolved = ResolveBelow(root, path);
            if (resolved.empty()) {
                return false;
            }
            const std::string file = onDisk(resolved);
            std::error_code ec;
            return fs::is_regular_file(file, ec) && access(file.c_str(), X_OK) == 0;
        },
        [&](const std::string& path) {
            const std::string resolved = ResolveBelow(root, path);
            return resolved.empty() ? path : resolved;
        });
}

std::vector<std::string> ProbeInstalledBrowsers() {
    return ProbeBrowsersBelow("/");
}

} // namespace lv
