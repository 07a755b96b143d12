// linkvane-cli check: the link checker over a run of pages, without a window.

#include "cli/Command.h"
#include "cli/DataFileArg.h"
#include "platform/PollEventLoop.h"
#include "store/DataFile.h"
#include "store/Text.h"
#include "tools/LinkChecker.h"
#include "tools/THttpAsyForm.h"

#include "pages/ColorFilter.h"

#include <chrono>
#include <limits>
#include <tuple>

namespace lv::cli {

namespace {

int RunCheck(const Args& args, Context& context) {
    args.AtMost(1);
    const std::string& dataFile = args.Required(0, "DATAFILE");
    std::vector<std::string> pages = ReadTabs(OpenExistingDataFile(dataFile));
    if (pages.empty()) {
        throw CliError(dataFile + " has no pages");
    }
    ScanRequest scan;
    scan.dataFile = dataFile;
    scan.pages = pages;
    scan.firstPage = 0;
    scan.lastPage = static_cast<int>(pages.size()) - 1;
    // Every slot a page can hold, whatever the window's column setting hides.
    scan.columns = datafile::kSlotCount / datafile::kRowCount;
    if (auto range = args.Value("pages")) {
        std::tie(scan.firstPage, scan.lastPage) =
            PageRangeOption(*range, static_cast<int>(pages.size()));
    }
    const int timeout = args.IntValue("timeout", 30, 1, THttpAsyForm::kMaxWait);
    const int jobs = args.IntValue("jobs", 8, 1, LinkChecker::kMaxJobs);

    std::vector<CheckEntry> entries = ScanBookmarks(scan, ColorFilter{});
    const auto queued = static_cast<long long>(entries.size());

    PollEventLoop loop;
    Progress progress(context, "checking");
    bool done = false;
    std::string saveFailure;
    LinkChecker* running = nullptr;
    LinkChecker::Events events;
    events.row = [&](CheckList, const CheckRow& row) {
        if (row.IsStatus()) {
            return;
        }
        std::fprintf(context.out, "%s\t%s\t%s\t%s\t%s\n",
                     TableField(Cp1252ToUtf8(row.page)).c_str(), row.btn.c_str(),
                     TableField(Cp1252ToUtf8(row.title)).c_str(),
                     TableField(Cp1252ToUtf8(row.link)).c_str(),
                     TableField(Cp1252ToUtf8(row.response)).c_str());
        std::fflush(context.out);
    };
    events.progress = [&] { progress.Update(running->Checked(), running->Total()); };
    events.finished = [&](bool) { done = true; };
    events.saveFailed = [&](const std::string& text) { saveFailure = text; };
    LinkChecker checker(loop, dataFile, std::move(events));
    running = &checker;
    checker.SetJobs(jobs);
    checker.SetTimeLimit(std::chrono::seconds(timeout));
    checker.SetSecondPass(args.Has("recheck"));
    checker.Start(std::move(entries));
    while (!done) {
        loop.ProcessPending(std::chrono::milliseconds(200));
    }
    progress.Done();
    std::fprintf(context.err, "%lld link%s checked: %d bad, %d updated\n", queued,
                 queued == 1 ? "" : "s", checker.BadCount(), checker.UpdatedCount());
    if (!saveFailure.empty()) {
        throw CliError(saveFailure);
    }
    return checker.BadCount() > 0 ? kExitFindings : kExitDone;
}

const bool registered = Register({
    .name = "check",
    .usage = "DATAFILE [--pages FIRST-LAST] [--timeout S] [--jobs N] [--recheck]",
    .summary = "check the bookmarks' links: bad and updated links (tab-separated)",
    .help = "Prints page, slot, title, address and response for each bad or updated link and\n"
            "stores the new Last-Modified stamps in the DataFile, as the window's link checker\n"
            "does. Pages are numbered from 1; --timeout is the wait per link in seconds (1-300,\n"
            "default 30); --jobs the links checked at once (1-16, default 8, never more than\n"
            "two to one host); --recheck checks bad links once more and reports only those\n"
            "that fail again. Exit status 1 when some link is bad.",
    .valueOptions = {"pages", "timeout", "jobs"},
    .switchOptions = {"recheck"},
    .run = RunCheck,
});

} // namespace

} // namespace lv::cli
