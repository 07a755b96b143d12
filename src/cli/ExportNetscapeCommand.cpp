// linkvane-cli export-netscape: pages of a DataFile out to a browser's bookmark file.

#include "cli/Command.h"
#include "cli/DataFileArg.h"
#include "mainwindow/NetscapeCommands.h"
#include "mainwindow/PagePasswords.h"
#include "platform/Clock.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/Text.h"

namespace lv::cli {

namespace {

void PrintLines(Context& context, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::fprintf(context.err, "%s\n", Cp1252ToUtf8(line).c_str());
    }
}

int RunExport(const Args& args, Context& context) {
    args.AtMost(2);
    const TIniFile32 ini = OpenExistingDataFile(args.Required(0, "DATAFILE"));
    const std::string& out = args.Required(1, "OUT");
    // Export adds to an existing file; that is only done when asked for.
    if (PathExists(out)) {
        RefuseExistingUnlessForced(out, args.Has("force"));
    }
    const std::vector<std::string> all = ReadTabs(ini);
    std::vector<std::string> pages = all;
    if (auto only = args.Value("page")) {
        pages = {FindPageOrFail(all, *only)};
    }
    const std::vector<std::string> box =
        ReadPagePass(ini.ReadString(datafile::kTabs, datafile::kPagePasswordKey, ""));
    const std::optional<std::string> password = args.Value("password");
    const NetscapeExportPlan plan =
        CollectNetscapeExport(ini, pages, datafile::kSlotCount, box, all, [&](const std::string&) {
            return password ? Utf8ToCp1252(*password) : std::string();
        });
    const bool created = ExportNetscapeFile(out, plan.folders, SystemClock().ShortDateToday());
    PrintLines(context, ExportSummaryLines(plan, created, out));
    return plan.notes.empty() ? kExitDone : kExitFindings;
}

const bool registered = Register({
    .name = "export-netscape",
    .usage = "DATAFILE OUT [--page NAME] [--force] [--password TEXT]",
    .summary = "export the pages (or one page) as folders of a browser's bookmark file",
    .help = "A new OUT is a whole bookmark file (UTF-8). An existing OUT is added to (the\n"
            "folders go after its last line) only with --force. A page with a page password\n"
            "goes out with its plain addresses when --password gives that password, and is\n"
            "left out otherwise; then the exit status is 1.",
    .valueOptions = {"page", "password"},
    .switchOptions = {"force"},
    .run = RunExport,
});

} // namespace

} // namespace lv::cli
