#include "pages/FileMerge.h"

#include "pages/MergePage.h"
#include "pages/SectionEditor.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/Text.h"

#include <algorithm>

namespace lv {

MergeMode AskMergeMode(Dialogs& dialogs) {
    UserDlgRequest request;
    request.title = "Merge Files";
    request.message = {"Match = Merge all matching Page Tabs.",
                       "Add  = Merge all Page Tabs including new ones."};
    request.buttons = {"Match", "Add"};
    return dialogs.UserDlg(request) == 1 ? MergeMode::Add : MergeMode::Match;
}

FileMergeResult MergeDataFile(const std::string& chosenFile, const std::string& dataFile,
                              MergeMode mode, std::int32_t filterColor) {
    FileMergeResult result;
    const TIniFile32 source(chosenFile);
    if (!ReadFileProtection(source).empty()) {
        result.passwordProtected = true;
        return result;
    }
    const TIniFile32 whole(dataFile);
    // Merging inserts keys all over a large file; editing section by section keeps that linear.
    SectionEditor target(whole);
    // Reading through the section index as well spares a search of the whole file per page.
    SectionEditor sourceSections(source);
    std::vector<std::string> known = ReadTabs(whole);
    const std::vector<std::string> pages = ReadTabs(source);
    // The tab list grows once for all new pages rather than being rewritten for each of them.
    if (mode == MergeMode::Add) {
        for (const std::string& page : pages) {
            if (std::find(known.begin(), known.end(), page) == known.end()) {
                known.push_back(page);
                result.pagesAdded.push_back(page);
            }
        }
        if (!result.pagesAdded.empty()) {
            SaveTabs(target.Section(datafile::kTabs), known);
        }
    }
    for (const std::string& page : pages) {
        if (std::find(known.begin(), known.end(), page) == known.end()) {
            continue;
        }
        const MergePageResult merged = MergePage(sourceSections.Section(page), page,
                                                 target.Section(page), page, filterColor, false);
        ++result.pagesMerged;
        result.bookmarksCopied += merged.copied;
    }
    if (target.Modified()) {
        target.Save(dataFile);
    }
    return result;
}

FileMergeResult MergeFiles(Dialogs& dialogs, const std::string& chosenFile,
                           const std::string& dataFile, bool autoBackup, std::int32_t filterColor) {
    TakeModificationBackup(dataFile, autoBackup);
    const MergeMode mode = AskMergeMode(dialogs);
    FileMergeResult result = MergeDataFile(chosenFile, dataFile, mode, filterColor);
    if (result.passwordProtected) {
        dialogs.Message({MsgKind::Information, "", "The file you selected is Password Protected!",
                         MsgButtons::Ok, 0});
    }
    return result;
}

std::string DataFileForStem(const std::string& stem, const std::string& extension) {
    const std::size_t slash = stem.rfind('/');
    if (slash == std::string::npos) {
        return ResolveCaseInsensitive(".", stem + extension).substr(2);
    }
    return ResolveCaseInsensitive(stem.substr(0, slash), stem.substr(slash + 1) + extension);
}

} // namespace lv
