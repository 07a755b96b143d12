#include "mainwindow/Launching.h"

#include "mainwindow/AutoIcon.h"
#include "mainwindow/BrowserList.h"
#include "mainwindow/DroppedFiles.h"
#include "mainwindow/PageGrid.h"
#include "mainwindow/PagePasswords.h"
#include "mainwindow/StartUp.h"
#include "mainwindow/TaskTray.h"
#include "mainwindow/UrlHelpers.h"
#include "platform/LaunchTarget.h"
#include "platform/ProcessLauncher.h"
#include "platform/Shell.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/Text.h"
#include "web/TWwwDde.h"

#include <cstdlib>
#include <optional>

namespace lv {
namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::string(home) : std::string("/");
}

bool EndsWithUrlExtension(const std::string& path) {
    return path.size() >= 4 && LowerCase1252(path.substr(path.size() - 4)) == ".url";
}

} // namespace

std::vector<std::string> SplitTargets(std::string_view target) {
    std::vector<std::string> urls;
    std::size_t start = 0;
    while (start <= target.size()) {
        const std::size_t mark = target.find(";;", start);
        const std::size_t end = mark == std::string_view::npos ? target.size() : mark;
        if (end > start) {
            urls.emplace_back(target.substr(start, end - start));
        }
        if (mark == std::string_view::npos) {
            break;
        }
        start = mark + 2;
    }
    return urls;
}

// Scrambled for a protected page; an address whose scrambled form would not read back stays
// plain rather than be lost.
static std::string StoredTarget(const std::string& address,
                                const std::optional<std::string>& password) {
    if (!password || address.empty()) {
        return address;
    }
    return SafeEncrypt(address, *password).value_or(address);
}

void Launching::ButtonClick(int slot) {
    if (state_.TabSet1.names.empty() || slot < 1 ||
        slot > static_cast<int>(state_.buttons.size())) {
        return;
    }
    const std::string page = state_.TabSet1.Current();
    state_.buttons[static_cast<std::size_t>(slot - 1)].margin = 1;
    state_.CurrentButtonName = ButtonName(slot);
    state_.caption = FormCaption(state_, ports_.clock);

    std::string target;
    int colour = state_.ButtonFontColor;
    std::string local;
    {
        TIniFile32 ini(state_.DataFileName);
        target = ini.ReadString(page, SlotKey(slot, 'U'), "");
        colour = ini.ReadInteger(page, SlotKey(slot, 'C'), state_.ButtonFontColor);
        local = ini.ReadString(page, SlotKey(slot, 'L'), "");
    }
    if (target.empty()) {
        TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup,
                               local == "Yes" ? "Choose file" : "Capture page");
        if (local == "Yes") {
            ChooseLocalTarget(slot);
        } else {
            CaptureBrowserPage(slot, colour);
        }
        // The command is over: a later save that was never backed up (erasing a page) must not
        // take the backup this one armed and did not need.
        DisarmBeforeFirstChange();
        IconAfterClick(page, slot);
        return;
    }

    const auto pagePassword = FindPagePass(state_.PagePassBox, page, state_.TabSet1.names);
    const BookmarkButton& button = state_.buttons[static_cast<std::size_t>(slot - 1)];
    if (button.hint == datafile::kPasswordProtectedHint) {
        const PasswordResult typed = ports_.dialogs.Password({true});
        if (!IsScrambled(target) || StoredPassword(target) != typed.password) {
            ports_.dialogs.Message({MsgKind::Information, {}, "Invalid Password!"});
            return;
        }
        target = Decrypt(target);
    } else if (pagePassword && target.find(datafile::kProtectedMarker) != std::string::npos) {
        target = Decrypt(target);
    }
    Launch(page, target);
    IconAfterClick(page, slot);
}

void Launching::IconAfterClick(const std::string& page, int slot) {
    if (ports_.loop == nullptr || !state_.checks.webIconSearch) {
        return;
    }
    TIniFile32 ini(state_.DataFileName);
    const std::string target = ini.ReadString(page, SlotKey(slot, 'U'), "");
    // Only a bookmark without an icon of its own; a scrambled target does not begin so.
    if (target.rfind("http", 0) != 0 || !ini.ReadString(page, SlotKey(slot, 'G'), "").empty()) {
        return;
    }
    AutoIcon(state_, ports_, ini, page, slot, target);
}

void Launching::CaptureBrowserPage(int slot, int colour) {
    const std::string page = state_.TabSet1.Current();
    std::string title;
    std::string address;
    // Without a page there is nothing to store: empty keys would only replace the backup of the
    // user's last real edit.
    if (!BrowserPage(title, address)) {
        TellNoBrowserPage();
        return;
    }
    address = EndSlash(address);
    const std::string stored =
        StoredTarget(address, FindPagePass(state_.PagePassBox, page, state_.TabSet1.names));
    {
        TIniFile32 ini(state_.DataFileName);
        ini.WriteString(page, SlotKey(slot, 'U'), stored);
        ini.WriteString(page, SlotKey(slot, 'N'), title);
        if (colour != state_.ButtonFontColor) {
            ini.WriteInteger(page, SlotKey(slot, 'C'), colour);
        }
    }
    BookmarkButton& button = state_.buttons[static_cast<std::size_t>(slot - 1)];
    button.caption = title;
    button.hint = address;
    PageGrid(state_).Load(page);
}

void Launching::TellNoBrowserPage() {
    ports_.dialogs.Message({MsgKind::Warning, {}, std::string(kNoBrowserPageText)});
}

void Launching::ChooseLocalTarget(int slot) {
    const OpenFileResult choice = ports_.dialogs.OpenFile(
        {"Select a Program or File", "All Files|*.*|Programs|*", HomeFolder()});
    if (!choice.accepted || choice.path.empty()) {
        return;
    }
    const std::string path = Utf8ToCp1252(choice.path);
    std::string target = path;
    if (EndsWithUrlExtension(path)) {
        target = TIniFile32(path).ReadString("InternetShortcut", "URL", path);
    }
    const std::string name = TitleFromFileName(path);
    const std::string page = state_.TabSet1.Current();
    {
        TIniFile32 ini(state_.DataFileName);
        ini.WriteString(page, SlotKey(slot, 'N'), name);
        ini.WriteString(page, SlotKey(slot, 'U'), target);
        AutoIcon(state_, ports_, ini, page, slot, target);
    }
    PageGrid(state_).Load(page);
}

bool Launching::BrowserPage(std::string& title, std::string& address) {
    title.clear();
    address.clear();
    if (ports_.browser == nullptr) {
        return false;
    }
    TWwwDde link(*ports_.browser, ports_.dialogs);
    link.ProgramPath = state_.BrowserPath;
    return link.GetWindowInfo(title, address) && !address.empty();
}

bool Launching::Refused(const std::string& target, bool local) {
    std::string refusal;
    if (local) {
        refusal = TargetRefusal(Cp1252ToUtf8(target), TargetKind::LocalFile);
    } else {
        // Every address is checked before the first one starts.
        for (const std::string& url : SplitTargets(target)) {
            refusal = TargetRefusal(Cp1252ToUtf8(url), TargetKind::WebAddress);
            if (!refusal.empty()) {
                break;
            }
        }
    }
    if (refusal.empty()) {
        return false;
    }
    ports_.dialogs.Message({MsgKind::Warning, {}, Utf8ToCp1252(refusal)});
    return true;
}

bool Launching::Launch(const std::string& page, const std::string& target, LaunchOptions options) {
    std::string local;
    std::string extra;
    const int slot = SlotFromPrefix(state_.CurrentButtonName);
    if (!page.empty() && slot > 0) {
        TIniFile32 ini(state_.DataFileName);
        local = ini.ReadString(page, SlotKey(slot, 'L'), "");
        extra = ini.ReadString(page, SlotKey(slot, 'S'), "");
    }
    const bool openLocally = local == "Yes" || options.forceLocal;
    if (Refused(target, openLocally)) {
        return false;
    }
    if (state_.BrowserPath.empty()) {
        BrowserList(state_, ports_).AddBrowserClick();
    }
    // Without a browser nothing could start the address; the user hears why.
    if (!openLocally && state_.BrowserPath.empty()) {
        ports_.dialogs.Message({MsgKind::Warning, {}, std::string(kNoBrowserText)});
        return false;
    }
    if (!options.noRecord && state_.checks.mruTrack) {
        RecordLaunch(page);
    }

    if (!openLocally) {
        bool done = false;
        if (state_.checks.singleWindow && target.find(";;") == std::string::npos &&
            ports_.browser != nullptr) {
            TWwwDde link(*ports_.browser, ports_.dialogs);
            link.ProgramPath = state_.BrowserPath;
            link.DebugPort = TIniFile32(state_.SettingsFile())
                                 .ReadInteger("Browser", "DebugPort", link.DebugPort);
            done = link.OpenURL(target);
        }
        if (!done && ports_.launcher != nullptr) {
            const std::string program = Cp1252ToUtf8(state_.BrowserPath);
            std::optional<std::string> failure;
            for (const std::string& url : SplitTargets(target)) {
                ++state_.LaunchCount;
                const ProcessStart start =
                    ports_.launcher->Start(program, Cp1252ToUtf8(url), state_.LaunchCount);
                if (!start.started && !failure) {
                    failure = start.message.empty() ? "it did not start" : start.message;
                }
            }
            // The Windows program kept quiet here; a click that does nothing helps nobody. One
            // box for all the addresses of the bookmark: the browser is the same.
            if (failure) {
                ports_.dialogs.Message({MsgKind::Error,
                                        {},
                                        "Cannot start the browser " + state_.BrowserPath + ": " +
                                            Utf8ToCp1252(*failure) + "."});
            }
        }
    } else {
        LaunchLocal(target, extra);
    }
    ApplyLaunchBehaviour(page, options.fromSearch);
    return true;
}

void Launching::LaunchLocal(const std::string& target, const std::string& extra) {
    if (ports_.shell == nullptr) {
        return;
    }
    const LocalTarget parts = SplitLocalTarget(target, extra);
    const std::string file = Cp1252ToUtf8(parts.file);
    // Named without the blank a program path keeps before its arguments.
    const std::string named = parts.file.substr(0, parts.file.find_last_not_of(' ') + 1);
    // The desktop's opener would fail on a missing file after it has started, where nobody
    // sees it; the user is told here instead.
    if (!ports_.shell->Exists(file)) {
        ports_.dialogs.Message(
            {MsgKind::Error, {}, "Cannot open " + named + ": there is no such file."});
        return;
    }
    const ShellResult result =
        ports_.shell->Open(file, Cp1252ToUtf8(parts.parameters), Cp1252ToUtf8(parts.directory));
    if (!result.ok) {
        const std::string why = Utf8ToCp1252(result.message);
        ports_.dialogs.Message({MsgKind::Error, {}, "Cannot open " + named + ": " + why + "."});
    }
}

void Launching::ApplyLaunchBehaviour(const std::string& page, bool fromSearch) {
    TaskTray(state_, ports_)
        .AfterLaunch(page, SlotFromPrefix(state_.CurrentButtonName), fromSearch);
}

void Launching::RecordLaunch(const std::string& page) {
    TaskTray(state_, ports_).RecordLaunch(page, SlotFromPrefix(state_.CurrentButtonName));
}

void Launching::AddBookmarkClick() {
    if (state_.TabSet1.names.empty()) {
        return;
    }
    TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup, "Add bookmark");
    std::string title;
    std::string address;
    if (!BrowserPage(title, address)) {
        TellNoBrowserPage();
        DisarmBeforeFirstChange();
        return;
    }
    state_.BookmarkBox = {title, address, "", "", "", "", "", "", ""};
    const int visible = state_.ColumnCount * datafile::kRowCount;
    int slot = 0;
    for (int i = 1; i <= visible && i <= static_cast<int>(state_.buttons.size()); ++i) {
        if (state_.buttons[static_cast<std::size_t>(i - 1)].caption.empty()) {
            slot = i;
            break;
        }
    }
    if (slot == 0) {
        DisarmBeforeFirstChange();
        return;
    }
    const std::string page = state_.TabSet1.Current();
    Bookmark bookmark = Bookmark::FromBoxLines(state_.BookmarkBox);
    bookmark.target =
        StoredTarget(bookmark.target, FindPagePass(state_.PagePassBox, page, state_.TabSet1.names));
    {
        TIniFile32 ini(state_.DataFileName);
        WriteBookmark(ini, page, slot, bookmark);
        AutoIcon(state_, ports_, ini, page, slot, address);
    }
    PageGrid(state_).Load(page);
}

} // namespace lv
