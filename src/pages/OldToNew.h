#pragma once

#include "platform/Dialogs.h"

#include <string>
#include <vector>

namespace lv {

struct OldToNewResult {
    std::string newFile;            // the DataFile written
    std::vector<std::string> pages; // the converted page names, for the tab row
};

// The DataFile name of a previous-format file: its name up to and including the dot of the
// extension, followed by "LVD" (an existing file spelt in another case is used).
std::string ConvertedFileName(const std::string& oldFile);

// Converts a previous-format bookmark file (pages of 40 buttons, one section per field) into a
// DataFile with the same stem. The old file is left unchanged; keys of an existing DataFile that
// the conversion does not write stay, its recent-bookmark list is dropped. Saved once.
OldToNewResult OldToNew(const std::string& oldFile);

// The main window's caption while converting.
inline constexpr const char* kConvertingCaption = "Copying and Converting old bookmarks...";

// Opening a previous-format file: converts it, unless its DataFile already exists and the user
// declines to overwrite it. Returns the DataFile to open either way.
std::string OpenPreviousFormat(Dialogs& dialogs, const std::string& oldFile);

} // namespace lv
