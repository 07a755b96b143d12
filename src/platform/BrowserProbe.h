#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lv {

// Browser programs in the order they are preferred, each with the folders it is looked for in.
const std::vector<std::string>& KnownBrowserPaths();

// The known browsers that exist, at most two: the first becomes browser 1, the second one
// browser 2. Names that lead to the same program file (links) count once, at the first one.
// exists is asked for each candidate path; canonical (when given) resolves links.
std::vector<std::string>
ProbeBrowsers(const std::function<bool(const std::string&)>& exists,
              const std::function<std::string(const std::string&)>& canonical = nullptr);

// ProbeBrowsers on the real file system (executable files, links resolved).
std::vector<std::string> ProbeInstalledBrowsers();

} // namespace lv
