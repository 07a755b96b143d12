// linkvane-cli search and dupes: the search window's text search and duplicate listing, with
// the window's columns as a table.
#include "cli/Command.h"
#include "cli/DataFileArg.h"
#include "store/Text.h"
#include "tools/BookmarkIndex.h"

namespace lv::cli {
namespace {

// URL, title, page, slot and notes, as the window's result list shows them; a blank row
// between duplicate groups is an empty line.
void PrintRows(Context& context, const BookmarkIndex& index, const std::vector<ResultRow>& rows) {
    for (const ResultRow& row : rows) {
        if (row.Blank()) {
            std::fputs("\n", context.out);
            continue;
        }
        const IndexRow& r = index[static_cast<std::size_t>(row.row)];
        std::fprintf(context.out, "%s\t%s\t%s\t%s\t%s\n", TableField(Cp1252ToUtf8(r.url)).c_str(),
                     TableField(Cp1252ToUtf8(r.title)).c_str(),
                     TableField(Cp1252ToUtf8(r.page)).c_str(), r.btn.c_str(),
                     TableField(Cp1252ToUtf8(r.notes)).c_str());
    }
}

std::shared_ptr<const BookmarkIndex> IndexOf(const Args& args) {
    const TIniFile32 ini = OpenExistingDataFile(args.Required(0, "DATAFILE"));
    return BuildBookmarkIndex(ini, args.IntValue("columns", 4, 2, 4));
}

SearchField FieldOf(const Args& args) {
    const std::string field = args.Value("field").value_or("all");
    if (field == "url")
        return SearchField::Url;
    if (field == "title")
        return SearchField::Title;
    if (field == "notes")
        return SearchField::Notes;
    if (field == "all")
        return SearchField::All;
    throw CliError("--field must be url, title, notes or all, not \"" + field + "\"");
}

int RunSearch(const Args& args, Context& context) {
    args.AtMost(2);
    const std::string text = Utf8ToCp1252(args.Required(1, "TEXT"));
    const SearchField field = FieldOf(args);
    const auto index = IndexOf(args);
    const std::vector<ResultRow> rows = SearchIndex(*index, text, field, args.Has("case"));
    PrintRows(context, *index, rows);
    std::fprintf(context.err, "%zu of %zu bookmark%s found\n", rows.size(), index->size(),
                 index->size() == 1 ? "" : "s");
    return kExitDone;
}

int RunDupes(const Args& args, Context& context) {
    args.AtMost(1);
    const auto index = IndexOf(args);
    const std::vector<ResultRow> rows = ListDuplicates(*index, args.Has("normalise"));
    PrintRows(context, *index, rows);
    std::size_t groups = 0;
    for (const ResultRow& row : rows) {
        groups += row.Blank() ? 1 : 0;
    }
    const std::size_t listed = rows.size() - groups;
    if (groups == 0) {
        std::fputs("** No Duplicate Bookmarks Found **\n", context.err);
        return kExitDone;
    }
    std::fprintf(context.err, "%zu bookmarks in %zu group%s of duplicates\n", listed, groups,
                 groups == 1 ? "" : "s");
    return kExitFindings;
}

const bool searchRegistered = Register({
    .name = "search",
    .usage = "DATAFILE TEXT [--field url|title|notes|all] [--case] [--columns 2|3|4]",
    .summary = "find bookmarks by a piece of their address, title or notes (tab-separated)",
    .help = "Rows: address, title, page, slot, notes. --field chooses what is searched (all "
            "three by default); without --case only the letters A-Z ignore case. Protected "
            "addresses read \"Password Protected\". --columns: the slots a page shows (20 per "
            "column; 4 by default).",
    .valueOptions = {"field", "columns"},
    .switchOptions = {"case"},
    .run = RunSearch,
});

const bool dupesRegistered = Register({
    .name = "dupes",
    .usage = "DATAFILE [--normalise] [--columns 2|3|4]",
    .summary = "list addresses bookmarked more than once, groups separated by an empty line",
    .help = "Rows as for search. Protected bookmarks take no part. Only identical addresses are "
            "duplicates; with --normalise also those that differ in the letter case of scheme "
            "or host, a default port, a leading www., a fragment or a trailing /. Exit status 1 "
            "when duplicates were found.",
    .valueOptions = {"columns"},
    .switchOptions = {"normalise"},
    .run = RunDupes,
});

} // namespace
} // namespace lv::cli
