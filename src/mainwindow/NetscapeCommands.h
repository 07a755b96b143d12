#pragma once

#include "exchange/NetscapeExport.h"
#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"
#include "store/TIniFile32.h"

#include <functional>
#include <string>
#include <vector>

namespace lv {

// The pages of a DataFile as they go out to a Netscape bookmark file. A page with a page
// password goes out only when askPassword(page) gives that password, and then with its plain
// addresses; a scrambled address (a page left locked, a bookmark protected on its own) never
// goes out. notes says what was left out, as the user reads it (Windows-1252).
struct NetscapeExportPlan {
    std::vector<ExportFolder> folders;
    long long links = 0;
    std::vector<std::string> notes;
};
// pagePassBox holds the plain page-password entries (PagePassBox); allPages is the page list
// they belong to; pages are the pages to export, in order; slots 1..slotCount of each.
NetscapeExportPlan
CollectNetscapeExport(const TIniFile32& ini, const std::vector<std::string>& pages, int slotCount,
                      const std::vector<std::string>& pagePassBox,
                      const std::vector<std::string>& allPages,
                      const std::function<std::string(const std::string&)>& askPassword);
// The summary lines of an export (Windows-1252).
std::vector<std::string> ExportSummaryLines(const NetscapeExportPlan& plan, bool created,
                                            const std::string& file);

inline constexpr const char* kNetscapeDialogTitle = "Select Netscape bookmark file";
inline constexpr const char* kNetscapeFilter =
    "Bookmark File|*.htm *.html *.HTM *.HTML|All Files|*.*";
inline constexpr const char* kNetscapeOverwrite =
    "File already exists.  Do you want to overwrite it?";

// "Import Netscape Bookmarks" and "Export Bookmarks to Netscape" of the File menu.
class NetscapeCommands {
public:
    NetscapeCommands(MainWindowState& state, MainWindowPorts& ports)
        : state_(state), ports_(ports) {}

    void MImportNSClick();
    // "Export entire File" (MENSFile) or "Export current Page" (MENSPage).
    void MExportNSClick(bool currentPageOnly);

private:
    void Tell(const std::vector<std::string>& lines);

    MainWindowState& state_;
    MainWindowPorts& ports_;
};

} // namespace lv
