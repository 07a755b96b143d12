#include "exchange/NetscapeImport.h"

#include "pages/PageNames.h"
#include "store/DataFile.h"
#include "store/FileError.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <unordered_map>

namespace lv {
namespace {

std::string Plural(long long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Stored text must come back from the DataFile as written: the engine trims blanks at both ends
// of a value, and a line break would end it.
std::string Storable(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\0') {
            c = ' ';
        }
    }
    const std::string_view trimmed = TIniFile32::Trim(text);
    return std::string(trimmed);
}

} // namespace

std::vector<ImportPage> PlanImportPages(const NetscapeBookmarks& bookmarks) {
    struct Source {
        std::string name;
        const std::vector<NetscapeLink>* links;
    };
    std::vector<Source> sources;
    if (!bookmarks.loose.empty()) {
        sources.push_back(
            {bookmarks.heading.empty() ? kLoosePageName : bookmarks.heading, &bookmarks.loose});
    }
    for (const NetscapeFolder& folder : bookmarks.folders) {
        sources.push_back({folder.name, &folder.links});
    }

    std::vector<ImportPage> pages;
    std::vector<std::string> names;
    for (const Source& source : sources) {
        std::string name = ArrivingPageName(Storable(Utf8ToCp1252(source.name)), names);
        std::size_t next = 0;
        do {
            ImportPage page;
            page.name = name;
            names.push_back(name);
            const std::size_t end = std::min(source.links->size(),
                                             next + static_cast<std::size_t>(datafile::kSlotCount));
            for (; next < end; ++next) {
                const NetscapeLink& link = (*source.links)[next];
                std::string title = Storable(Utf8ToCp1252(link.title));
                std::string url = Storable(link.url);
                if (title.empty()) {
                    title = url;
                }
                page.links.push_back({std::move(title), std::move(url)});
            }
            pages.push_back(std::move(page));
            name = ArrivingPageName(name + "+", names);
        } while (next < source.links->size());
    }
    return pages;
}

NetscapeImportResult ImportNetscapeFile(const std::string& bookmarkFile,
                                        const std::string& dataFile, const ReadProgress& progress) {
    const std::optional<std::string> bytes = ReadFileBytes(bookmarkFile);
    if (!bytes) {
        throw FileError::CannotOpen(bookmarkFile);
    }
    const NetscapeBookmarks bookmarks = ReadNetscape(*bytes, progress);
    const std::vector<ImportPage> pages = PlanImportPages(bookmarks);

    NetscapeImportResult result;
    result.encoding = bookmarks.encoding;
    result.notTaken = bookmarks.notTaken;

    // A fresh file: nothing of an earlier one survives, and it is saved once at the end. The
    // page list goes through the engine; the page sections, which are new and unique, are laid
    // out as the engine lays out a new section (a blank line, the header, the keys), since
    // inserting 100,000 keys one by one costs the engine a walk over its sections each time.
    TIniFile32 tabs = TIniFile32::FromBytes(dataFile, {});
    tabs.SetDeferSaves(true);
    if (pages.empty()) {
        WriteNewDataFile(tabs);
    } else {
        for (const ImportPage& page : pages) {
            result.pages.push_back(page.name);
        }
        SaveTabs(tabs, result.pages);
    }
    std::string data = tabs.Bytes();
    for (const ImportPage& page : pages) {
        data.append("\r\n[").append(page.name).append("]\r\n");
        int slot = 1;
        for (const NetscapeLink& link : page.links) {
            data.append(SlotKey(slot, 'N')).append("=").append(link.title).append("\r\n");
            data.append(SlotKey(slot, 'U')).append("=").append(link.url).append("\r\n");
            ++slot;
            ++result.links;
        }
    }
    TIniFile32::FromBytes(dataFile, std::move(data)).UpdateFile();
    return result;
}

std::vector<std::string> ImportSummaryLines(const NetscapeImportResult& result) {
    std::vector<std::string> lines;
    lines.push_back("Imported " + Plural(result.links, "link", "links") + " onto " +
                    Plural(static_cast<long long>(result.pages.size()), "page", "pages") + ".");
    for (const auto& [reason, count] : result.notTaken) {
        lines.push_back("Not taken: " + Plural(count, "link", "links") + " with " + reason + ".");
    }
    return lines;
}

} // namespace lv
