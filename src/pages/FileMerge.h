#pragma once

#include "platform/Dialogs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lv {

// Merging another DataFile: Match merges only pages the current file already has, Add also
// appends the missing ones.
enum class MergeMode { Match, Add };

// The "Merge Files" question. Closing it without a choice merges like Match.
MergeMode AskMergeMode(Dialogs& dialogs);

struct FileMergeResult {
    bool passwordProtected = false; // nothing was merged
    int pagesMerged = 0;
    int bookmarksCopied = 0;
    std::vector<std::string> pagesAdded;
};

// Merges every page of `chosenFile` into the DataFile through one engine saved once. A chosen
// file with a file password is refused before anything is written.
FileMergeResult MergeDataFile(const std::string& chosenFile, const std::string& dataFile,
                              MergeMode mode, std::int32_t filterColor);

// The whole command after the file dialog: backup, the Match/Add question, the merge, and the
// message for a password-protected file.
FileMergeResult MergeFiles(Dialogs& dialogs, const std::string& chosenFile,
                           const std::string& dataFile, bool autoBackup, std::int32_t filterColor);

// The DataFile a derived name stands for: stem + extension, spelt as an existing file of that
// name in any letter case, so "Work.lvd" is found for "Work.LVD" instead of an empty new file
// beside it. Only when none exists is the fixed spelling used.
std::string DataFileForStem(const std::string& stem, const std::string& extension);

} // namespace lv
