// linkvane-cli export-html: the HTML link list of a range of pages.

#include "cli/Command.h"
#include "cli/DataFileArg.h"
#include "exchange/LinkList.h"
#include "store/DataFile.h"
#include "store/FileIo.h"

#include <charconv>

namespace lv::cli {

namespace {

int PageNumber(std::string_view text, int pageCount) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < 1 ||
        number > pageCount) {
        throw CliError("--pages: \"" + std::string(text) + "\" is not a page number from 1 to " +
                       std::to_string(pageCount));
    }
    return number;
}

int RunExportHtml(const Args& args, Context& context) {
    args.AtMost(2);
    const std::string dataFile = args.Required(0, "DATAFILE");
    const std::string out = args.Required(1, "OUT");
    const TIniFile32 ini = OpenExistingDataFile(dataFile);
    LinkListRequest request;
    request.mode = LinkListMode::Html;
    request.pages = ReadTabs(ini);
    const int pageCount = static_cast<int>(request.pages.size());
    request.firstPage = 0;
    request.lastPage = pageCount - 1;
    if (auto range = args.Value("pages")) {
        const std::size_t dash = range->find('-');
        const std::string_view whole(*range);
        request.firstPage = PageNumber(whole.substr(0, dash), pageCount) - 1;
        request.lastPage = dash == std::string::npos
                               ? request.firstPage
                               : PageNumber(whole.substr(dash + 1), pageCount) - 1;
        if (request.lastPage < request.firstPage) {
            throw CliError("--pages: the last page comes before the first");
        }
    }
    request.columnCount = 4;
    RefuseExistingUnlessForced(out, args.Has("force"));
    const LinkList list = BuildLinkList(ini, request);
    WriteFileAtomic(out, HtmlListDocument(list.lines));
    if (list.protectedLeftOut > 0) {
        std::fprintf(context.err, "%d password protected bookmarks left out\n",
                     list.protectedLeftOut);
    }
    std::fprintf(context.err, "%d links from %d pages written to %s\n", list.listed,
                 request.lastPage - request.firstPage + 1, out.c_str());
    return kExitDone;
}

const bool registered = Register({
    .name = "export-html",
    .usage = "DATAFILE OUT [--pages FIRST-LAST] [--force]",
    .summary = "write an HTML list of the links of a range of pages, with an index",
    .help = "Pages are numbered from 1 in tab order; the default is every page. Local files\n"
            "and programs are not listed. An existing OUT is replaced only with --force.",
    .valueOptions = {"pages"},
    .switchOptions = {"force"},
    .run = RunExportHtml,
});

} // namespace

} // namespace lv::cli
