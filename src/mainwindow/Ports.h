#pragma once

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Screen.h"
#include "web/EmailMode.h"

#include <functional>
#include <string>
#include <vector>

namespace lv {

class TAlphaForm;
class TBConfigForm;
class TDupe;
class TUserSetup;
class TNameForm;
class TSearchForm;
class TTabForm;
class TPForm;

class BrowserTransport;
class Printer;
class GlobalHotKeys;
class TGlyphForm;
class THotKeyForm;
class ProcessLauncher;
class Shell;
class EventLoop;
class NetworkState;
class IcmpEcho;

class EventLoop;
class THttpAsyForm;
class AutoStart;
class TrayIcon;

// What the main window needs from outside: the dialogs, the screen and the date.
struct MainWindowPorts {
    Dialogs& dialogs;
    const Screen& screen;
    const Clock& clock;
    // Start-up asks this for a browser when the selected one is missing; it returns the path of
    // a browser it found (and recorded), or an empty text. Left empty until launching exists.
    std::function<std::string()> probeBrowser;
    // Shows the bookmark editor modally until one of its buttons closes it.
    std::function<void(TBConfigForm&)> bookmarkEditor{};
    // Show the page name dialog and the page options dialog modally until they close.
    std::function<void(TNameForm&)> nameForm{};
    std::function<void(TTabForm&)> tabForm{};
    // Opens a numbered topic of the help file.
    std::function<void(int topic)> openHelp{};
    // Launching: browser processes, the desktop's "open", the conversation with the running
    // browser. A missing one makes its kind of launch do nothing.
    ProcessLauncher* launcher = nullptr;
    Shell* shell = nullptr;
    BrowserTransport* browser = nullptr;
    // The URL box's file search reports each folder it enters; false cancels the search.
    std::function<bool(const std::string& folder)> searchProgress{};
    // Shows the page range dialog modally until its action button or "Close" closes it.
    std::function<void(TAlphaForm&)> pageRange{};
    // The mounted removable volumes the drive letters stand for, A first; unset: the system's.
    std::function<std::vector<std::string>()> removableVolumes{};
    // Draws the model at once, in the middle of a long handler (a caption that says what runs).
    std::function<void()> showNow{};
    // The desktop clipboard; a missing one makes the clipboard commands do nothing.
    Clipboard* clipboard = nullptr;
    // True while a global hotkey that brings the window back is registered with the desktop:
    // hidden mode needs it (or the tray icon). Unset: none is.
    std::function<bool()> showHotKeyRegistered{};
    // The system's printer for the printed link list; a missing one prints nothing.
    Printer* printer = nullptr;
    // Shows the bookmark search window without blocking (it stays until closed), and "User
    // Setup" modally until it closes.
    std::function<void(TDupe&)> searchWindow{};
    std::function<void(TUserSetup&)> userSetup{};
    // Web access: the loop the page fetches and icon downloads run on (none: the web steps of
    // new bookmarks and the web page import do nothing), the network state behind the
    // connection lamp, the ICMP echo of the access-speed dialog.
    EventLoop* loop = nullptr;
    NetworkState* network = nullptr;
    IcmpEcho* icmp = nullptr;
    // Extra PEM file of trusted CAs for https page and icon fetches (tests); empty: the system's.
    std::string caFile{};
    // Shows the access-speed dialog modally: it pings on showing and closes on a bar's click.
    std::function<void(TPForm&)> pingForm{};
    // Progress of long file work (a large bookmark file read in): what runs, how far of how
    // much; (empty, 0, 0) when it has ended. Unset: none is shown.
    std::function<void(const std::string& what, long long done, long long total)> progress{};
    // The e-mail dialog, shown modally with the bookmark lines its opener collected (the
    // main window's scratch text) and the kind of opener.
    std::function<void(EmailMode mode, const std::vector<std::string>& lines)> emailForm{};
    // The Internet Search window, shown modally until it closes (with or without a result).
    std::function<void(TSearchForm&)> searchForm{};
    // The link checker window, shown modally until it is closed; it runs its requests on the
    // loop above. Without either the checker does not open.
    std::function<void(THttpAsyForm&)> linkChecker{};
    // The tray icon and the log-on autostart entry; a missing one makes its commands do
    // nothing (and a missing tray icon is no way back from a hidden window).
    TrayIcon* trayIcon = nullptr;
    AutoStart* autoStart = nullptr;
    // The desktop's global hotkeys (unset: none), the hotkey dialog and the icon chooser, each
    // shown modally until it closes.
    GlobalHotKeys* hotKeys = nullptr;
    std::function<void(THotKeyForm&)> hotKeyForm{};
    std::function<void(TGlyphForm&)> glyphForm{};
};

} // namespace lv
