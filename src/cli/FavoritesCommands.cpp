// linkvane-cli import-favorites and export-favorites: a folder tree of Internet shortcut files
// to and from a DataFile.

#include "cli/Command.h"
#include "cli/DataFileArg.h"
#include "exchange/Favorites.h"
#include "store/DataFile.h"
#include "store/Text.h"

#include <filesystem>
#include <system_error>

namespace lv::cli {

namespace {

namespace fs = std::filesystem;

void RequireFolder(const std::string& path) {
    std::error_code error;
    if (!fs::is_directory(path, error)) {
        throw CliError(path + " is not a folder");
    }
}

int RunImportFavorites(const Args& args, Context& context) {
    args.AtMost(1);
    const std::string root = args.Required(0, "DIR");
    RequireFolder(root);
    std::string target;
    if (auto into = args.Value("into")) {
        target = *into;
    } else {
        std::string dir = context.programDir;
        while (dir.size() > 1 && dir.back() == '/') {
            dir.pop_back();
        }
        target = ResolveCaseInsensitive(dir, std::string(kFavoritesDataFile));
    }
    RefuseExistingUnlessForced(target, args.Has("force"));
    const FavoritesImport import = ImportFavorites(root, target);
    if (import.pages.empty()) {
        throw CliError("no Internet shortcuts (.url files) in " + root + "; nothing written");
    }
    for (const std::string& line : ImportSummary(import)) {
        std::fprintf(context.err, "%s\n", line.c_str());
    }
    std::fprintf(context.err, "written to %s\n", target.c_str());
    return kExitDone;
}

int RunExportFavorites(const Args& args, Context& context) {
    args.AtMost(2);
    const std::string dataFile = args.Required(0, "DATAFILE");
    const std::string folder = args.Required(1, "DIR");
    const TIniFile32 ini = OpenExistingDataFile(dataFile);
    FavoritesExportRequest request;
    request.dataFile = dataFile;
    request.pages = ReadTabs(ini);
    request.firstPage = 0;
    request.lastPage = static_cast<int>(request.pages.size()) - 1;
    if (auto only = args.Value("page")) {
        request.pages = {FindPageOrFail(request.pages, *only)};
        request.lastPage = 0;
    }
    // Every slot of a page, whatever the window's column count.
    request.columnCount = 4;
    request.folder = folder;
    std::error_code error;
    fs::create_directories(folder, error);
    RequireFolder(folder);
    const FavoritesExport result = ExportFavorites(request);
    for (const std::string& line : result.notTaken) {
        std::fprintf(context.err, "not exported: %s\n", Cp1252ToUtf8(line).c_str());
    }
    std::fprintf(context.err, "%d shortcuts in %d folders below %s\n", result.shortcuts,
                 result.pages, folder.c_str());
    return kExitDone;
}

const bool importRegistered = Register({
    .name = "import-favorites",
    .usage = "DIR [--into DATAFILE] [--force]",
    .summary = "import a folder tree of Internet shortcuts (.url), a page per folder",
    .help = "Without --into the DataFile is IE.lvd in the program directory. An existing\n"
            "DataFile is replaced only with --force.",
    .valueOptions = {"into"},
    .switchOptions = {"force"},
    .run = RunImportFavorites,
});

const bool exportRegistered = Register({
    .name = "export-favorites",
    .usage = "DATAFILE DIR [--page NAME]",
    .summary = "export pages as folders of Internet shortcuts (.url) below DIR",
    .help = "Existing shortcuts of the same name get their address replaced; bookmarks whose\n"
            "cleaned names collide become \"Name (2).url\". Password protected addresses are\n"
            "not exported.",
    .valueOptions = {"page"},
    .switchOptions = {},
    .run = RunExportFavorites,
});

} // namespace

} // namespace lv::cli
