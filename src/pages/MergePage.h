#pragma once

#include "store/DataFile.h"
#include "store/TIniFile32.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

struct MergePageResult {
    int copied = 0;         // bookmarks laid into the target page
    int skipped = 0;        // left out because the target page had no empty slot
    bool pageAdded = false; // the source page name was appended to the target's tab list
};

// Merges one page into another: every bookmark of the source page whose URL the target page
// does not already hold (and, with a filter colour other than 111, only bookmarks of that
// colour) goes into the first empty slots of the target page; when the target page is full the
// rest are skipped. With addMissingPage a page name missing from the target's tab list is
// appended to it first. Pass the same engine twice to merge within one DataFile.
//
// Writes go through the engines as they are set up; callers that merge many pages defer saves
// and save once.
MergePageResult MergePage(const TIniFile32& source, std::string_view sourcePage, TIniFile32& target,
                          std::string_view targetPage, std::int32_t filterColor,
                          bool addMissingPage);

// The same on files: one engine per file (one when both name the same file), saved once.
MergePageResult MergePageFiles(const std::string& sourceFile, std::string_view sourcePage,
                               const std::string& targetFile, std::string_view targetPage,
                               std::int32_t filterColor, bool addMissingPage);

// Lays a bookmark into an empty slot: its non-empty fields in U N C D P S L G I order, after
// removing whatever stale keys the empty slot still had, so none of them mix into the bookmark.
void LayBookmark(TIniFile32& ini, std::string_view page, int slot, const Bookmark& bookmark);

// Dropping carried bookmarks: the slots of sourcePage in sourceFile go, in list order, into the
// empty slots of targetPage in targetFile; with move they are then deleted from the source.
// Returns the message to show when the target has too few empty slots (nothing is written then),
// else empty.
std::string DropCarriedBookmarks(const std::string& sourceFile, std::string_view sourcePage,
                                 const std::vector<int>& slots, const std::string& targetFile,
                                 std::string_view targetPage, bool move);

// Dropping a carried page at tab index `at` of the target DataFile's page list: a new page is
// put there and the carried page merged into it. Its name is the carried one made to stand beside
// the others (ArrivingPageName: "Work" beside "WORK" arrives as "Work+"); a moved page within
// one DataFile keeps its name, and merging finds every bookmark present and copies nothing.
// Insert and Move differ only in what the caller does with the source afterwards. `pages` is
// the target's page list, updated and saved. Returns the name of the page that received the
// bookmarks.
enum class PageDrop { Insert, Move };
std::string DropCarriedPage(const std::string& sourceFile, std::string_view sourcePage,
                            const std::string& targetFile, std::vector<std::string>& pages,
                            std::size_t at, PageDrop drop, std::int32_t filterColor);

} // namespace lv
