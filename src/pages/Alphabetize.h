#pragma once

#include "pages/ColorFilter.h"
#include "platform/Dialogs.h"

#include <string>
#include <vector>

namespace lv {

struct AlphabetizeRequest {
    std::string dataFile;
    std::vector<std::string> pages; // the page list in tab order
    int firstPage = 0;              // indexes into pages, as the page range dialog gives them
    int lastPage = 0;
    int columnCount = 4; // only the visible 20 x columns slots take part
    ColorFilter filter;
    bool autoBackup = true;
};

struct AlphabetizeResult {
    int sorted = 0;
    // Recent-list entries ("title  |page::slot") of the bookmarks that moved, for RemoveEntry.
    std::vector<std::string> recentEntriesToRemove;
};

// Sorts the bookmarks of the range together by title (then URL and the other fields), ignoring
// case in Windows-1252 order, and lays them back into the freed slots from the first slot of the
// first page on; bookmarks that fail the colour test keep their slots. Takes the modification
// backup, then changes the DataFile through one engine saved once: the file on disk is either
// the old one or the alphabetized one.
AlphabetizeResult AlphabetizePages(const AlphabetizeRequest& request);

// Steps between the range dialog and the work: the message for no range, and the question for
// more than one page. True when the caller should go on.
bool ConfirmAlphabetizeRange(Dialogs& dialogs, int firstPage, int lastPage);

// The range dialog's texts for the current page.
std::string AlphabetizeCaption(const std::string& pageName);
inline constexpr const char* kAlphabetizeAction = "Alphabetize";

} // namespace lv
