#include "mainwindow/NetscapeCommands.h"

#include "exchange/NetscapeImport.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/PagePasswords.h"
#include "mainwindow/PasswordProtection.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace lv {
namespace {

std::string Plural(long long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The start folder of the bookmark file dialogs: the user's home, where the desktop's browsers
// keep their profiles.
std::string StartFolder() {
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::string(home) : std::string("/");
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) {
            text += '\n';
        }
        text += line;
    }
    return text;
}

} // namespace

NetscapeExportPlan
CollectNetscapeExport(const TIniFile32& ini, const std::vector<std::string>& pages, int slotCount,
                      const std::vector<std::string>& pagePassBox,
                      const std::vector<std::string>& allPages,
                      const std::function<std::string(const std::string&)>& askPassword) {
    NetscapeExportPlan plan;
    long long locked = 0;
    for (const std::string& page : pages) {
        const std::optional<std::string> password = FindPagePass(pagePassBox, page, allPages);
        if (password && (!askPassword || askPassword(page) != *password)) {
            plan.notes.push_back("The page \"" + page +
                                 "\" was not exported: its password was not given.");
            continue;
        }
        ExportFolder folder{page, {}};
        for (int slot = 1; slot <= slotCount; ++slot) {
            Bookmark bookmark = ReadBookmark(ini, page, slot);
            if (bookmark.target.empty()) {
                continue;
            }
            if (IsScrambled(bookmark.target)) {
                if (!password || StoredPassword(bookmark.target) != *password) {
                    ++locked;
                    continue;
                }
                bookmark.target = Decrypt(bookmark.target);
            }
            folder.links.push_back({std::move(bookmark.title), std::move(bookmark.target)});
            ++plan.links;
        }
        plan.folders.push_back(std::move(folder));
    }
    if (locked > 0) {
        plan.notes.push_back("Not exported: " +
                             Plural(locked, "bookmark protected by its own password",
                                    "bookmarks protected by their own passwords") +
                             ".");
    }
    return plan;
}

std::vector<std::string> ExportSummaryLines(const NetscapeExportPlan& plan, bool created,
                                            const std::string& file) {
    std::vector<std::string> lines;
    lines.push_back("Exported " + Plural(plan.links, "link", "links") + " in " +
                    Plural(static_cast<long long>(plan.folders.size()), "folder", "folders") +
                    (created ? " to the new file " : " to the end of ") + Utf8ToCp1252(file) + ".");
    lines.insert(lines.end(), plan.notes.begin(), plan.notes.end());
    return lines;
}

void NetscapeCommands::Tell(const std::vector<std::string>& lines) {
    ports_.dialogs.Message({MsgKind::Information, {}, Joined(lines)});
}

void NetscapeCommands::MImportNSClick() {
    const OpenFileResult chosen =
        ports_.dialogs.OpenFile({kNetscapeDialogTitle, kNetscapeFilter, StartFolder()});
    if (!chosen.accepted || chosen.path.empty()) {
        return;
    }
    const std::string target = ResolveCaseInsensitive(
        state_.ProgramDir.empty() ? std::string(".")
                                  : state_.ProgramDir.substr(0, state_.ProgramDir.size() - 1),
        kNetscapeDataFile);
    if (PathExists(target)) {
        const MessageRequest overwrite{
            MsgKind::Confirmation, {}, kNetscapeOverwrite, MsgButtons::YesNoHelp, 67};
        if (ports_.dialogs.Message(overwrite) != MsgResult::Yes) {
            return;
        }
    }
    // The file the import replaces can be had back with Undo.
    TakeModificationBackup(target, state_.checks.autoBackup, "Import Netscape bookmarks");
    const auto progress = [this](std::size_t done, std::size_t total) {
        if (ports_.progress) {
            ports_.progress("Importing bookmarks", static_cast<long long>(done),
                            static_cast<long long>(total));
        }
    };
    NetscapeImportResult result;
    try {
        result = ImportNetscapeFile(chosen.path, target, progress);
    } catch (...) {
        // Nothing was replaced: the next save of that file is no import.
        DisarmBeforeFirstChange();
        if (ports_.progress) {
            ports_.progress({}, 0, 0);
        }
        throw;
    }
    // When the import wrote the same bytes the file held, nothing changed and no backup is due.
    DisarmBeforeFirstChange();
    if (ports_.progress) {
        ports_.progress({}, 0, 0);
    }
    // The page passwords in hand belong to the file that is current now; when that file was
    // the one replaced, they belong to nothing any more and must not go into the fresh file.
    std::error_code error;
    if (state_.DataFileName == target ||
        std::filesystem::equivalent(state_.DataFileName, target, error)) {
        state_.PagePassBox.clear();
    }
    FileCommands(state_, ports_)
        .ChangeDataFile(target, result.pages.empty() ? std::string("Page1") : result.pages.front());
    Tell(ImportSummaryLines(result));
}

void NetscapeCommands::MExportNSClick(bool currentPageOnly) {
    if (state_.TabSet1.names.empty()) {
        return;
    }
    SaveFileRequest request;
    request.title = kNetscapeDialogTitle;
    request.filter = kNetscapeFilter;
    request.directory = StartFolder();
    request.defaultExtension = "html";
    // An existing file is added to, never replaced.
    request.overwritePrompt = false;
    request.helpContext = 29;
    const OpenFileResult chosen = ports_.dialogs.SaveFile(request);
    if (!chosen.accepted || chosen.path.empty()) {
        return;
    }
    const std::vector<std::string>& all = state_.TabSet1.names;
    const std::vector<std::string> pages =
        currentPageOnly ? std::vector<std::string>{state_.TabSet1.Current()} : all;
    NetscapeExportPlan plan;
    {
        const TIniFile32 ini(state_.DataFileName);
        plan = CollectNetscapeExport(
            ini, pages, state_.ColumnCount * datafile::kRowCount, state_.PagePassBox, all,
            [this](const std::string&) { return ports_.dialogs.Password({true}).password; });
    }
    const bool created =
        ExportNetscapeFile(chosen.path, plan.folders, ports_.clock.ShortDateToday());
    Tell(ExportSummaryLines(plan, created, chosen.path));
}

} // namespace lv
