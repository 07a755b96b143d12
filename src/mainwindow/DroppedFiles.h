#pragma once

#include "mainwindow/BookmarkEdit.h"
#include "mainwindow/MainState.h"
#include "platform/Dialogs.h"

#include <string>
#include <string_view>
#include <vector>

namespace lv {

// The slot under a point of the client area: rows of 19 pixels from 22 below the top, columns of
// client width / column count. 0 above the first row, below the last or beyond the columns.
int SlotAt(int x, int y, int clientWidth, int columns);

// A bookmark made from a dropped file, shortcut or internet shortcut. Paths are UTF-8 (as the
// file system names them); the texts returned are stored bytes.
struct DroppedBookmark {
    std::string title;
    std::string target;
    std::string workingDir;
    std::string iconFile; // the program of a shortcut with arguments, whose icon is shown
};
DroppedBookmark BookmarkFromFile(const std::string& path);

// The title a file gets as a bookmark: its name without a real extension (a dot followed by one
// to eight letters or digits), so "a.sh" gives "a" and "report.pdf" "report". A name without one,
// or one that removing it would leave empty (".profile"), stays whole: an empty title would make
// the slot count as free.
std::string TitleFromFileName(std::string_view path);

// Files dropped from the desktop onto the window: the first one becomes a bookmark in the slot
// under the mouse.
class DroppedFiles {
public:
    DroppedFiles(MainWindowState& state, Dialogs& dialogs, BookmarkEdit& edit)
        : state_(state), dialogs_(dialogs), edit_(edit) {}

    void Drop(const std::vector<std::string>& files, int x, int y);

private:
    MainWindowState& state_;
    Dialogs& dialogs_;
    BookmarkEdit& edit_;
};

} // namespace lv
