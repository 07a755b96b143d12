#pragma once

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Screen.h"

#include <functional>
#include <string>
#include <vector>

namespace lv {

class TAlphaForm;
class TBConfigForm;
class TNameForm;
class TTabForm;

class BrowserTransport;
class GlobalHotKeys;
class TGlyphForm;
class THotKeyForm;
class ProcessLauncher;
class Shell;

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
    // The desktop's global hotkeys (unset: none), the hotkey dialog and the icon chooser, each
    // shown modally until it closes.
    GlobalHotKeys* hotKeys = nullptr;
    std::function<void(THotKeyForm&)> hotKeyForm{};
    std::function<void(TGlyphForm&)> glyphForm{};
};

} // namespace lv
