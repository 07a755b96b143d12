// linkvane-cli list: every bookmark of a DataFile as a table.

#include "cli/Command.h"
#include "cli/DataFileArg.h"
#include "store/DataFile.h"
#include "store/Text.h"

namespace lv::cli {

namespace {

int RunList(const Args& args, Context& context) {
    args.AtMost(1);
    TIniFile32 ini = OpenExistingDataFile(args.Required(0, "DATAFILE"));
    std::vector<std::string> pages = ReadTabs(ini);
    if (auto only = args.Value("page"))
        pages = {FindPageOrFail(pages, *only)};

    long long count = 0;
    for (const std::string& page : pages) {
        for (int slot = 1; slot <= datafile::kSlotCount; ++slot) {
            Bookmark bookmark = ReadBookmark(ini, page, slot);
            if (bookmark.Empty())
                continue;
            std::string address =
                bookmark.target.find(datafile::kProtectedMarker) == std::string::npos
                    ? bookmark.target
                    : std::string(datafile::kPasswordProtectedHint);
            std::fprintf(context.out, "%s\t%s\t%s\t%s\n", TableField(Cp1252ToUtf8(page)).c_str(),
                         SlotPrefix(slot).c_str(), TableField(Cp1252ToUtf8(bookmark.title)).c_str(),
                         TableField(Cp1252ToUtf8(address)).c_str());
            ++count;
        }
    }
    std::fprintf(context.err, "%lld bookmark%s on %zu page%s\n", count, count == 1 ? "" : "s",
                 pages.size(), pages.size() == 1 ? "" : "s");
    return kExitDone;
}

const bool registered = Register({
    .name = "list",
    .usage = "DATAFILE [--page NAME]",
    .summary = "list the bookmarks: page, slot, title, address (tab-separated)",
    .help = "Protected addresses are shown as \"Password Protected\".",
    .valueOptions = {"page"},
    .switchOptions = {},
    .run = RunList,
});

} // namespace

} // namespace lv::cli
