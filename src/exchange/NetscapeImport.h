#pragma once

#include "exchange/NetscapeReader.h"

#include <string>
#include <vector>

namespace lv {

// The DataFile an import makes, in the program directory.
inline constexpr const char* kNetscapeDataFile = "Netscape.lvd";
// The page of the links outside every folder when the file has no <H1>.
inline constexpr const char* kLoosePageName = "Bookmarks";

struct NetscapeImportResult {
    std::vector<std::string> pages; // as stored (Windows-1252), in tab order
    long long links = 0;
    std::string encoding;
    // Links not taken, by reason, as in NetscapeBookmarks.
    std::map<std::string, long long> notTaken;
};

// The pages the bookmarks make: the links outside every folder first (on a page named after the
// heading, else "Bookmarks"), then each folder in file order, each on pages of at most 80 links
// continued on pages named with "+" appended. Page names are mended so that no two pages (or a
// page and the program) share a section. Returns the pages with their links, as stored.
struct ImportPage {
    std::string name;                // Windows-1252
    std::vector<NetscapeLink> links; // title Windows-1252, URL ASCII
};
std::vector<ImportPage> PlanImportPages(const NetscapeBookmarks& bookmarks);

// Reads the bookmark file and replaces the DataFile with its pages, written once, atomically.
// A bookmark file that cannot be read raises FileError "Cannot open file ..."; a failed save
// leaves the old DataFile as it was. Progress goes from 0 to the bookmark file's size.
NetscapeImportResult ImportNetscapeFile(const std::string& bookmarkFile,
                                        const std::string& dataFile,
                                        const ReadProgress& progress = {});

// The lines of the summary, as the user reads them (Windows-1252): pages made, links imported,
// and each reason a link was not taken, with how many.
std::vector<std::string> ImportSummaryLines(const NetscapeImportResult& result);

} // namespace lv
