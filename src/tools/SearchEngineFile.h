#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lv {

// The file of internet search sites (".ISE"): section "Sites" with "Count", the names under
// "1" .. Count in the list's order, and for each name the query address before the topic
// (name + "1") and after it (name + "2", absent when empty).
namespace searchfile {
inline constexpr std::string_view kSection = "Sites";
inline constexpr std::string_view kCount = "Count";
inline constexpr std::string_view kDefaultName = "Disk.ISE";
} // namespace searchfile

struct SearchSite {
    std::string name;
    std::string before; // up to the topic
    std::string after;  // after the topic
};

// The current file: the SettingsFile's "Search" / "Name"; else the DataFile's name up to the
// first "." of its file name with ".ISE" when that file exists; else "Disk.ISE" in the program
// folder. Names that differ only in letter case are found.
std::string FindSearchEngineFile(const std::string& settingsFile, const std::string& dataFileName,
                                 const std::string& programDir);

// The non-empty names under "1" .. "Count", in key order.
std::vector<std::string> ReadSiteNames(const std::string& file);
SearchSite ReadSite(const std::string& file, const std::string& name);

// The query address of a site for a topic: blanks become "+", nothing else is changed.
std::string PrepareTopic(std::string_view topic);

// The sites a new installation starts with; all over https.
const std::vector<SearchSite>& DefaultSearchSites();
// Writes "Disk.ISE" into the program folder with the default sites unless a file of that name
// is there already (the user's own choice is never replaced).
void WriteDefaultSearchFile(const std::string& programDir);

// The file name without folder and without its last four characters (the caption's name).
std::string SearchFileCaptionName(const std::string& path);

} // namespace lv
