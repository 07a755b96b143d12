#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lv {

// The "Bookmark Count" window: counts the filled visible slots of every page. `progress` sees
// the running total after every slot (the window's caption follows it).
int CountBookmarks(const std::string& dataFile, const std::vector<std::string>& pages,
                   int columnCount, const std::function<void(int)>& progress = {});

} // namespace lv
