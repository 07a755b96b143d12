// linkvane-cli import-netscape: a browser's bookmark file into a new DataFile.

#include "cli/Command.h"
#include "cli/DataFileArg.h"
#include "exchange/NetscapeImport.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace lv::cli {

namespace {

void PrintLines(Context& context, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::fprintf(context.err, "%s\n", Cp1252ToUtf8(line).c_str());
    }
}

void RequireRegularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw CliError("cannot open " + path + ": " + std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        throw CliError(path + " is not a bookmark file (not a regular file)");
    }
}

int RunImport(const Args& args, Context& context) {
    args.AtMost(1);
    const std::string& file = args.Required(0, "FILE");
    RequireRegularFile(file);
    std::string target;
    if (auto into = args.Value("into")) {
        target = *into;
    } else {
        std::string dir = context.programDir;
        if (dir.size() > 1 && dir.back() == '/') {
            dir.pop_back();
        }
        target = ResolveCaseInsensitive(dir, kNetscapeDataFile);
    }
    RefuseExistingUnlessForced(target, args.Has("force"));
    Progress progress(context, "Importing");
    const NetscapeImportResult result =
        ImportNetscapeFile(file, target, [&](std::size_t done, std::size_t total) {
            progress.Update(static_cast<long long>(done), static_cast<long long>(total));
        });
    progress.Done();
    std::vector<std::string> lines = ImportSummaryLines(result);
    lines.front().pop_back();
    lines.front() += " of " + Utf8ToCp1252(target) + ".";
    PrintLines(context, lines);
    return kExitDone;
}

const bool registered = Register({
    .name = "import-netscape",
    .usage = "FILE [--into DATAFILE] [--force]",
    .summary = "import a browser's bookmark file (HTML) into a new DataFile",
    .help = "Every folder becomes a page (continued on pages named with \"+\" past 80 links);\n"
            "links outside every folder go to a first page. Without --into the DataFile is\n"
            "Netscape.lvd in the program directory. An existing DataFile is replaced only\n"
            "with --force.",
    .valueOptions = {"into"},
    .switchOptions = {"force"},
    .run = RunImport,
});

} // namespace

} // namespace lv::cli
