#include "pages/Alphabetize.h"

#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <algorithm>

namespace lv {

namespace {

// Each field is preceded by byte 95 hex and its two-digit number, so records order by title
// first, then by URL and the rest.
constexpr char kMarker = '\x95';

std::string SortRecord(const Bookmark& bookmark) {
    std::string record;
    int number = 1;
    for (const char letter : datafile::kFieldLetters) {
        record += kMarker;
        record += SlotPrefix(number++);
        record += bookmark.Field(letter);
    }
    record += kMarker;
    record += "10";
    return record;
}

// The bookmark is kept beside its record rather than split back out of it at the markers, so a
// title that happens to contain a marker byte comes back whole. Stale keys of the empty slot go
// first so that none of them mix into the bookmark.
void Refill(TIniFile32& ini, const std::string& page, int slot, const Bookmark& bookmark) {
    for (const char letter : datafile::kFieldLetters) {
        ini.DeleteKey(page, SlotKey(slot, letter));
    }
    for (const char letter : datafile::kFieldLetters) {
        if (!bookmark.Field(letter).empty()) {
            ini.WriteString(page, SlotKey(slot, letter), bookmark.Field(letter));
        }
    }
}

} // namespace

AlphabetizeResult AlphabetizePages(const AlphabetizeRequest& request) {
    AlphabetizeResult result;
    const int pageCount = static_cast<int>(request.pages.size());
    const int first = std::max(request.firstPage, 0);
    const int last = std::min(request.lastPage, pageCount - 1);
    if (first > last) {
        return result;
    }
    const int visible = datafile::kRowCount * std::clamp(request.columnCount, 1, 4);

    TakeModificationBackup(request.dataFile, request.autoBackup, "Alphabetize");
    TIniFile32 ini(request.dataFile);
    ini.SetDeferSaves(true);

    struct Entry {
        std::string record;
        Bookmark bookmark;
    };
    std::vector<Entry> entries;
    for (int page = first; page <= last; ++page) {
        const std::string& name = request.pages[static_cast<std::size_t>(page)];
        for (int slot = 1; slot <= visible; ++slot) {
            if (!request.filter.Passes(ini.ReadString(name, SlotKey(slot, 'C'), ""))) {
                continue;
            }
            Bookmark bookmark = ReadBookmark(ini, name, slot);
            if (bookmark.target.empty()) {
                continue;
            }
            result.recentEntriesToRemove.push_back(bookmark.title + "  |" + name +
                                                   "::" + SlotPrefix(slot));
            for (const char letter : datafile::kFieldLetters) {
                ini.DeleteKey(name, SlotKey(slot, letter));
            }
            std::string record = SortRecord(bookmark);
            entries.push_back({std::move(record), std::move(bookmark)});
        }
    }
    // A stable sort keeps records that compare equal in the order they were collected, as a
    // sorted list that inserts behind its equals does.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return LessText1252(a.record, b.record);
    });

    std::size_t next = 0;
    for (int page = first; page <= last && next < entries.size(); ++page) {
        const std::string& name = request.pages[static_cast<std::size_t>(page)];
        for (int slot = 1; slot <= visible && next < entries.size(); ++slot) {
            if (ini.ReadString(name, SlotKey(slot, 'U'), "").empty()) {
                Refill(ini, name, slot, entries[next++].bookmark);
            }
        }
    }
    result.sorted = static_cast<int>(entries.size());
    if (ini.Modified()) {
        ini.UpdateFile();
    }
    return result;
}

bool ConfirmAlphabetizeRange(Dialogs& dialogs, int firstPage, int lastPage) {
    if (firstPage < 0 || lastPage < 0) {
        dialogs.Message({MsgKind::Information, "",
                         "You did not select a page, or pages, to Alphabetize.", MsgButtons::Ok,
                         0});
        return false;
    }
    if (lastPage > firstPage) {
        const std::string text = "Are you sure you want to alphabetize Page " +
                                 std::to_string(firstPage + 1) + " through Page " +
                                 std::to_string(lastPage + 1) +
                                 "\rThis will alphabetize all bookmarks within this range "
                                 "together.";
        return dialogs.Message({MsgKind::Confirmation, "", text, MsgButtons::YesNoHelp, 48}) ==
               MsgResult::Yes;
    }
    return true;
}

std::string AlphabetizeCaption(const std::string& pageName) {
    return "Alphabetize the \"" + pageName + "\" Page";
}

} // namespace lv
