#include "platform/BrowserProbe.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace lv {

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
        return list;
    }();
    return paths;
}

std::vector<std::string>
ProbeBrowsers(const std::function<bool(const std::string&)>& exists,
              const std::function<std::string(const std::string&)>& canonical) {
    std::vector<std::string> found;
    std::vector<std::string> targets;
    for (const std::string& path : KnownBrowserPaths()) {
        if (!exists(path)) {
            continue;
        }
        const std::string target = canonical ? canonical(path) : path;
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

std::vector<std::string> ProbeInstalledBrowsers() {
    return ProbeBrowsers(
        [](const std::string& path) {
            std::error_code ec;
            return std::filesystem::is_regular_file(path, ec) && access(path.c_str(), X_OK) == 0;
        },
        [](const std::string& path) {
            std::error_code ec;
            const auto resolved = std::filesystem::canonical(path, ec);
            return ec ? path : resolved.string();
        });
}

} // namespace lv
