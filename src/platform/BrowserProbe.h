#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace lv {

// Browser programs in the order they are preferred, each with the folders it is looked for in.
const std::vector<std::string>& KnownBrowserPaths();

// The known browsers that exist, at most two: the first becomes browser 1, the second one
// browser 2. Each browser counts once, at its first name: names that lead to the same program
// file (links, also through /etc/alternatives), and a start script with the program it is
// known to start (/usr/bin/chromium and /usr/lib/chromium/chromium).
// exists is asked for each candidate path; canonical (when given) resolves links.
std::vector<std::string>
ProbeBrowsers(const std::function<bool(const std::string&)>& exists,
              const std::function<std::string(const std::string&)>& canonical = nullptr);

// ProbeBrowsers on the file tree below root as if root were "/" (executable files, links
// resolved within it); the paths returned are those of the system, without root.
std::vector<std::string> ProbeBrowsersBelow(const std::filesystem::path& root);

// ProbeBrowsersBelow("/").
std::vector<std::string> ProbeInstalledBrowsers();

} // namespace lv
