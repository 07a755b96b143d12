#include "pages/MergePage.h"

#include "pages/ColorFilter.h"
#include "pages/PageNames.h"
#include "store/FileIo.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace lv {

namespace {

using datafile::kSlotCount;

struct SlotUrl {
    int slot;
    std::string url;
};

// Opens the file once, or reuses `other` when both names are the same file.
struct EnginePair {
    std::unique_ptr<TIniFile32> own;
    TIniFile32* source = nullptr;
    TIniFile32* target = nullptr;
};

bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

EnginePair OpenPair(const std::string& sourceFile, const std::string& targetFile,
                    std::optional<TIniFile32>& targetEngine) {
    EnginePair pair;
    targetEngine.emplace(targetFile);
    targetEngine->SetDeferSaves(true);
    pair.target = &*targetEngine;
    if (SameFile(sourceFile, targetFile)) {
        pair.source = pair.target;
    } else {
        pair.own = std::make_unique<TIniFile32>(sourceFile);
        pair.own->SetDeferSaves(true);
        pair.source = pair.own.get();
    }
    return pair;
}

bool SlotEmpty(const TIniFile32& ini, std::string_view page, int slot) {
    return ini.ReadString(page, SlotKey(slot, 'U'), "").empty();
}

// All 80 slots of a page from one pass over its section, instead of a walk of the section for
// every key: what ReadString would answer for each slot key, and which keys have a line at all.
struct PageSnapshot {
    std::array<Bookmark, kSlotCount + 1> slots;
    std::array<std::uint16_t, kSlotCount + 1> present{}; // bit i: a line for kFieldLetters[i]
};

std::unique_ptr<PageSnapshot> ReadPage(const TIniFile32& ini, std::string_view page) {
    auto snapshot = std::make_unique<PageSnapshot>();
    const auto header = ini.FindSection(page);
    if (!header) {
        return snapshot;
    }
    for (std::size_t i = *header + 1; i < ini.LineCount(); ++i) {
        const std::string_view line = ini.Line(i);
        if (TIniFile32::IsSection(line)) {
            break;
        }
        const std::string_view key = TIniFile32::ExtractKey(line);
        if (key.size() != 3) {
            continue;
        }
        const int slot = SlotFromPrefix(key.substr(0, 2));
        const std::size_t field = datafile::kFieldLetters.find(key.back());
        if (slot == 0 || field == std::string_view::npos) {
            continue;
        }
        const auto bit = static_cast<std::uint16_t>(1u << field);
        if ((snapshot->present[slot] & bit) != 0) {
            continue; // the first line with a key counts
        }
        snapshot->present[slot] |= bit;
        snapshot->slots[slot].Field(key.back()) = std::string(TIniFile32::ExtractValue(line));
    }
    return snapshot;
}

// LayBookmark for a slot whose lines are known: only keys that exist are deleted.
void LayKnown(TIniFile32& ini, std::string_view page, int slot, std::uint16_t present,
              const Bookmark& bookmark) {
    for (std::size_t field = 0; field < datafile::kFieldLetters.size(); ++field) {
        if ((present & (1u << field)) != 0) {
            ini.DeleteKey(page, SlotKey(slot, datafile::kFieldLetters[field]));
        }
    }
    for (const char letter : datafile::kMoveOrder) {
        const std::string& value = bookmark.Field(letter);
        if (!value.empty()) {
            ini.WriteString(page, SlotKey(slot, letter), value);
        }
    }
}

} // namespace

void LayBookmark(TIniFile32& ini, std::string_view page, int slot, const Bookmark& bookmark) {
    for (const char letter : datafile::kFieldLetters) {
        ini.DeleteKey(page, SlotKey(slot, letter));
    }
    for (const char letter : datafile::kMoveOrder) {
        const std::string& value = bookmark.Field(letter);
        if (!value.empty()) {
            ini.WriteString(page, SlotKey(slot, letter), value);
        }
    }
}

MergePageResult MergePage(const TIniFile32& source, std::string_view sourcePage, TIniFile32& target,
                          std::string_view targetPage, std::int32_t filterColor,
                          bool addMissingPage) {
    MergePageResult result;
    if (addMissingPage) {
        std::vector<std::string> pages = ReadTabs(target);
        if (std::find(pages.begin(), pages.end(), sourcePage) == pages.end()) {
            pages.emplace_back(sourcePage);
            SaveTabs(target, pages);
            result.pageAdded = true;
        }
    }

    // Read everything first: within one DataFile both pages live in the same engine, and the
    // writes below must not change what is being copied.
    const std::unique_ptr<PageSnapshot> from = ReadPage(source, sourcePage);
    const std::unique_ptr<PageSnapshot> into = ReadPage(target, targetPage);

    // Each candidate keeps its own slot, so two bookmarks with one URL both arrive as themselves.
    std::vector<int> candidates;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const Bookmark& bookmark = from->slots[slot];
        if (bookmark.target.empty()) {
            continue;
        }
        if (filterColor != kNoColorFilter &&
            ParseInteger(bookmark.colour).value_or(kNoColorFilter) != filterColor) {
            continue;
        }
        candidates.push_back(slot);
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::string& url = into->slots[slot].target;
        if (url.empty()) {
            continue;
        }
        const auto hit = std::find_if(candidates.begin(), candidates.end(),
                                      [&](int c) { return from->slots[c].target == url; });
        if (hit != candidates.end()) {
            candidates.erase(hit);
        }
    }

    int destination = 1;
    for (const int slot : candidates) {
        while (destination <= kSlotCount && !into->slots[destination].target.empty()) {
            ++destination;
        }
        if (destination > kSlotCount) {
            ++result.skipped;
            continue;
        }
        LayKnown(target, targetPage, destination, into->present[destination], from->slots[slot]);
        ++result.copied;
        ++destination;
    }
    return result;
}

MergePageResult MergePageFiles(const std::string& sourceFile, std::string_view sourcePage,
                               const std::string& targetFile, std::string_view targetPage,
                               std::int32_t filterColor, bool addMissingPage) {
    std::optional<TIniFile32> targetEngine;
    EnginePair pair = OpenPair(sourceFile, targetFile, targetEngine);
    const MergePageResult result =
        MergePage(*pair.source, sourcePage, *pair.target, targetPage, filterColor, addMissingPage);
    if (pair.target->Modified()) {
        pair.target->UpdateFile();
    }
    return result;
}

std::string DropCarriedBookmarks(const std::string& sourceFile, std::string_view sourcePage,
                                 const std::vector<int>& slots, const std::string& targetFile,
                                 std::string_view targetPage, bool move) {
    std::optional<TIniFile32> targetEngine;
    EnginePair pair = OpenPair(sourceFile, targetFile, targetEngine);
    std::vector<int> free;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (SlotEmpty(*pair.target, targetPage, slot)) {
            free.push_back(slot);
        }
    }
    if (free.size() < slots.size()) {
        return "There are not enough blank buttons to move bookmarks on to, please try again.";
    }
    std::vector<Bookmark> carried;
    for (const int slot : slots) {
        carried.push_back(ReadBookmark(*pair.source, sourcePage, slot));
    }
    for (std::size_t i = 0; i < carried.size(); ++i) {
        LayBookmark(*pair.target, targetPage, free[i], carried[i]);
    }
    if (move) {
        for (const int slot : slots) {
            EraseBookmark(*pair.source, sourcePage, slot);
        }
    }
    // The target first: a failure in between leaves the bookmarks in both files, never in none.
    if (pair.target->Modified()) {
        pair.target->UpdateFile();
    }
    if (pair.own && pair.own->Modified()) {
        pair.own->UpdateFile();
    }
    return {};
}

std::string DropCarriedPage(const std::string& sourceFile, std::string_view sourcePage,
                            const std::string& targetFile, std::vector<std::string>& pages,
                            std::size_t at, PageDrop /*drop*/, std::int32_t filterColor) {
    std::optional<TIniFile32> targetEngine;
    EnginePair pair = OpenPair(sourceFile, targetFile, targetEngine);
    // Either way the page arrives under a name no page has in any letter case: a second tab
    // over one section would let erasing either page erase both. Within one DataFile a moved
    // page's tab is already gone, so it keeps its name there.
    const std::string name = ArrivingPageName(sourcePage, pages);
    at = std::min(at, pages.size());
    pages.insert(pages.begin() + static_cast<long>(at), name);
    SaveTabs(*pair.target, pages);
    MergePage(*pair.source, sourcePage, *pair.target, name, filterColor, false);
    pair.target->UpdateFile();
    return name;
}

} // namespace lv
