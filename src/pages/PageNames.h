#pragma once

#include "store/TIniFile32.h"

#include <string>
#include <string_view>
#include <vector>

namespace lv {

// Appends "+" until no entry of the page list equals the name (exact comparison).
std::string DupePageName(std::string name, const std::vector<std::string>& pages);

// Why a name cannot be a page name, or empty when it can. Sections are found without regard to
// letter case, so a name that differs from another page only in case would share its section;
// the program's own sections, "]" and blanks at the ends cannot be stored as a page at all.
// A page exactly equal to the name is not a problem: DupePageName makes it unique.
std::string PageNameProblem(std::string_view name, const std::vector<std::string>& pages);

// The page of `pages` a name stands for in the DataFile: the one spelt exactly so, else one that
// differs from it only in letter case (both would be one section). npos when there is none.
std::size_t FindPage(std::string_view name, const std::vector<std::string>& pages);

// The name a page arriving from outside the page list (a page of a merged or carried file, a
// converted page) gets beside `pages`, so that it never shares a section with another page or
// the program: the name itself when PageNameProblem has nothing against it and no page is spelt
// so, else with "+" appended until that holds. A name that no "+" can mend is mended first: the
// blanks at its ends go, "]" becomes ")", and an empty name becomes "Page".
std::string ArrivingPageName(std::string_view name, const std::vector<std::string>& pages);

struct RenameResult {
    std::string name;    // the name the page got (after DupePageName); empty when refused
    std::string problem; // the refusal text of PageNameProblem
};

// Renames page `index` of `pages` in the DataFile: copies its 80 slots to the new section, puts
// the new name at the same index of the tab list, saves the tabs and erases the old section.
// The page list is updated. The engine is saved once at the end whatever its save mode, so a
// failed save leaves the file as it was. Moving the page password is left to the caller.
RenameResult RenamePage(TIniFile32& ini, std::vector<std::string>& pages, std::size_t index,
                        std::string_view newName);

} // namespace lv
