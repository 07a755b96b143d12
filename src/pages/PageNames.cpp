#include "pages/PageNames.h"

#include "store/DataFile.h"
#include "store/Text.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace lv {

std::string DupePageName(std::string name, const std::vector<std::string>& pages) {
    while (std::find(pages.begin(), pages.end(), name) != pages.end()) {
        name += '+';
    }
    return name;
}

std::string PageNameProblem(std::string_view name, const std::vector<std::string>& pages) {
    if (name.empty()) {
        return "Please enter a page name.";
    }
    if (TIniFile32::Trim(name).size() != name.size()) {
        return "A page name cannot begin or end with a blank.";
    }
    if (name.find(']') != std::string_view::npos) {
        return "A page name cannot contain \"]\".";
    }
    static constexpr std::array<std::string_view, 5> kReserved = {
        datafile::kTabs, datafile::kProgram, datafile::kDefault, datafile::kMru, datafile::kMrux};
    for (const std::string_view reserved : kReserved) {
        if (SameText1252(name, reserved)) {
            return "\"" + std::string(name) + "\" is used by Linkvane itself, please choose " +
                   "another page name.";
        }
    }
    for (const std::string& page : pages) {
        if (page != name && SameText1252(page, name)) {
            return "The page \"" + page + "\" differs from \"" + std::string(name) +
                   "\" only in upper and lower case, please choose another page name.";
        }
    }
    return {};
}

std::size_t FindPage(std::string_view name, const std::vector<std::string>& pages) {
    const auto exact = std::find(pages.begin(), pages.end(), name);
    if (exact != pages.end()) {
        return static_cast<std::size_t>(exact - pages.begin());
    }
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (SameText1252(pages[i], name)) {
            return i;
        }
    }
    return std::string::npos;
}

std::string ArrivingPageName(std::string_view name, const std::vector<std::string>& pages) {
    std::string mended(TIniFile32::Trim(name));
    std::replace(mended.begin(), mended.end(), ']', ')');
    if (mended.empty()) {
        mended = "Page";
    }
    while (!PageNameProblem(mended, pages).empty() ||
           std::find(pages.begin(), pages.end(), mended) != pages.end()) {
        mended += '+';
    }
    return mended;
}

RenameResult RenamePage(TIniFile32& ini, std::vector<std::string>& pages, std::size_t index,
                        std::string_view newName) {
    if (index >= pages.size()) {
        throw std::out_of_range("RenamePage: no page at that index");
    }
    const std::string oldName = pages[index];
    RenameResult result;
    if (newName == oldName) {
        result.name = oldName;
        return result;
    }
    result.problem = PageNameProblem(newName, pages);
    std::string name = result.problem.empty() ? DupePageName(std::string(newName), pages) : "";
    if (result.problem.empty()) {
        // "a" taken gives "a+", which may still clash with a page "A+".
        result.problem = PageNameProblem(name, pages);
    }
    if (!result.problem.empty()) {
        return result;
    }

    const bool deferred = ini.DeferSaves();
    ini.SetDeferSaves(true);
    try {
        for (int slot = 1; slot <= datafile::kSlotCount; ++slot) {
            const std::string prefix = SlotPrefix(slot);
            MoveButtons(ini, oldName, name, prefix, prefix);
        }
        pages[index] = name;
        SaveTabs(ini, pages);
        ini.EraseSection(oldName);
        ini.UpdateFile();
    } catch (...) {
        pages[index] = oldName;
        ini.SetDeferSaves(deferred);
        throw;
    }
    ini.SetDeferSaves(deferred);
    result.name = std::move(name);
    return result;
}

} // namespace lv
