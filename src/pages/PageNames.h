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
