// linkvane-cli export-html: the HTML link list of a range of pages.

#include "cli/Command.h"
#include "cli/DataFileArg.h"
#include "exchange/LinkList.h"
#include "store/DataFile.h"
#include "store/FileIo.h"

#include <tuple>

namespace lv::cli {

namespace {

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
        std::tie(request.firstPage, request.lastPage) = PageRangeOption(*range, pageCount);
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
