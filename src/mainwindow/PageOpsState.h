#pragma once

#include <string>
#include <vector>

namespace lv {

// The cursor the main window shows. MultiDrag marks carry mode: a page or a set of bookmarks
// waits to be dropped by a right click on a tab.
enum class ScreenCursor { Normal, Busy, MultiDrag };

// What the page commands keep between handlers, for the life of the program.
struct PageOpsState {
    std::string PendingPageName;
    std::string PendingPageOperation;            // "Move", "Copy" (a carried page), or empty
    std::string PendingSourceFile;               // DataFile in which the carried page lives
    std::string PageActionCode;                  // what the page options dialog asked for
    std::string PendingBookmarkOperation = "No"; // "Move", "Copy" or "No"
    std::string BookmarkSourceFile;
    // Carried bookmarks by slot number. Kept apart from BookmarkBox: a left press on a button
    // refills that with the bookmark in hand, which must not replace what is being carried.
    std::vector<int> CarriedSlots;
    // Launching selected files: button names and their targets; selected links joined by ";;".
    std::vector<std::string> LaunchButtons;
    std::vector<std::string> LaunchTargets;
    std::string LaunchLinks;
    ScreenCursor cursor = ScreenCursor::Normal;

    bool Carrying() const { return cursor == ScreenCursor::MultiDrag; }
};

} // namespace lv
