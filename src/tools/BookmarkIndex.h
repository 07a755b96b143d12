#pragma once

#include "store/TIniFile32.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// One bookmark of the search index: the five columns the result list shows (stored
// Windows-1252 bytes), and what the actions need to find the slot again.
struct IndexRow {
    std::string url;   // as shown: "Password Protected" for a protected target
    std::string title; // N
    std::string page;  // the page (section) holding the slot
    std::string btn;   // "01".."09", "10", ...
    std::string notes; // P with "|" turned into a blank and "~" dropped
    int slot = 0;
    // U as stored when it differs from the URL column (a protected target), else empty.
    std::string protectedUrl;
    // The text fields with A-Z lowered, for searches that ignore case.
    std::string lowUrl;
    std::string lowTitle;
    std::string lowNotes;
    bool Protected() const { return !protectedUrl.empty(); }
    // U as stored, to tell whether the slot still holds this bookmark.
    const std::string& StoredUrl() const { return Protected() ? protectedUrl : url; }
};

// Every bookmark of a DataFile (pages of [Tabs], slots 1 .. 20 x columnCount, those with a
// target), sorted by the URL column: a case-sensitive, locale-aware order (the root collation
// of the Unicode collation algorithm with case as the last level), equal texts side by side.
using BookmarkIndex = std::vector<IndexRow>;
std::shared_ptr<const BookmarkIndex> BuildBookmarkIndex(const TIniFile32& ini, int columnCount);

// "|" becomes a blank, "~" is dropped: the stored line breaks as one line of text.
std::string NotesAsText(std::string_view stored);

// Only A-Z change: accented letters keep their case and compare exactly.
std::string LowerAscii(std::string_view text);

enum class SearchField { Url, Title, Notes, All };

// A row of the result list: a bookmark of the index, or a blank separator (row < 0).
struct ResultRow {
    std::int32_t row = -1;
    std::int32_t group = -1; // duplicate groups: rows of one group share the number
    bool Blank() const { return row < 0; }
};

// The rows whose field holds the text (All: the title, the URL or the notes), in index order.
// Without caseSensitive both sides are lowered (A-Z only). An empty text matches nothing.
std::vector<ResultRow> SearchIndex(const BookmarkIndex& index, std::string_view text,
                                   SearchField field, bool caseSensitive);

// Every URL listed more than once, each group in index order and followed by a blank row;
// protected bookmarks take no part. Without `normalise` only identical texts are duplicates;
// with it, addresses that lead to the same page (see NormalisedAddress) are.
std::vector<ResultRow> ListDuplicates(const BookmarkIndex& index, bool normalise);

// An address with the differences that do not change the page taken out: the scheme and host
// in lower case, the default port of the scheme, a leading "www.", the fragment and a trailing
// "/". Text without "scheme://" stays as it is; ";;" parts are treated one by one.
std::string NormalisedAddress(std::string_view url);

// "01".."09", then "10", "11", ...: the slot number as keys write it.
std::string SlotNumberText(int slot);

} // namespace lv
