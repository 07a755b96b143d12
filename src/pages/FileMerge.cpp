#include "pages/FileMerge.h"

#include "pages/MergePage.h"
#include "pages/PageNames.h"
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
    // Each source page with the page it merges into. A page whose name differs from one of ours
    // only in letter case is that page: a second tab of that name would share its section. A new
    // page gets a name that can stand beside ours.
    std::vector<std::pair<std::string, std::string>> merges;
    for (const std::string& page : pages) {
        if (const std::size_t at = FindPage(page, known); at != std::string::npos) {
            merges.emplace_back(page, known[at]);
        } else if (mode == MergeMode::Add) {
            std::string name = ArrivingPageName(page, known);
            known.push_back(name);
            result.pagesAdded.push_back(name);
            merges.emplace_back(page, std::move(name));
        }
    }
    // The tab list grows once for all new pages rather than being rewritten for each of them.
    if (!result.pagesAdded.empty()) {
        SaveTabs(target.Section(datafile::kTabs), known);
    }
    for (const auto& [page, into] : merges) {
        const MergePageResult merged = MergePage(sourceSections.Section(page), page,
                                                 target.Section(into), into, filterColor, false);
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
    TakeModificationBackup(dataFile, autoBackup, "Merge file");
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
