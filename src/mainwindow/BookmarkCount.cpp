#include "mainwindow/BookmarkCount.h"

#include "store/DataFile.h"
#include "store/TIniFile32.h"

namespace lv {

int CountBookmarks(const std::string& dataFile, const std::vector<std::string>& pages,
                   int columnCount, const std::function<void(int)>& progress) {
    // One engine for the whole count: a file of a thousand pages must not be read per slot.
    const TIniFile32 ini(dataFile);
    int total = 0;
    for (const auto& page : pages) {
        for (int slot = 1; slot <= columnCount * datafile::kRowCount; ++slot) {
            if (!ini.ReadString(page, SlotKey(slot, 'U'), "").empty()) {
                ++total;
            }
            if (progress) {
                progress(total);
            }
        }
    }
    return total;
}

} // namespace lv
