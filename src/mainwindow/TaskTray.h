#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

class TIniFile32;

// The four launch behaviours of the Setup menu.
enum class LaunchMode { Tray, Bar, Mini, Hide };

inline constexpr std::string_view kTrayTip = "Linkvane";
inline constexpr std::string_view kConfigureHotKeysText = "Please configure HotKeys ";
inline constexpr std::string_view kUnhideHotKeyText = "Your HotKey for unhiding the program is: ";
inline constexpr std::string_view kAlreadyRunningText = "Program Already Running!";
// Told when a recent entry's bookmark is gone from the DataFile.
inline constexpr std::string_view kRecentGoneText =
    "This bookmark is no longer in the file; it was taken off the recent list:";

// Points the recent list at the current DataFile (an initial load) and loads it from `ini`;
// the list of the file before is saved first when it changed.
void PointRecentList(MainWindowState& state, const TIniFile32& ini);
// Saves the recent list when it changed, into its file while that still exists.
void SaveRecentList(MainWindowState& state);

// The tray icon and what the window does after a launch (tray, task bar, mini strip, hidden),
// the recent-bookmark list, auto-run and the screen saver command. It works on the window's
// model; the view applies showRequests to the real window.
class TaskTray {
public:
    // Launches a target of a page the way a bookmark click does (recording and launch behaviour
    // included).
    using LaunchFn = std::function<void(const std::string& page, const std::string& target)>;

    TaskTray(MainWindowState& state, MainWindowPorts& ports) : state_(state), ports_(ports) {}

    // A click on a mode item: MStartSmall, MStartBar, MMini, MHide.
    void ChooseMode(LaunchMode mode);
    // Start-up: the stored mode, the tray icon when the program starts in the tray, the
    // autostart entry when auto-run is on, the recent entries of the menu.
    void StartUp();
    // After every launch from the window (not the bookmark search: fromSearch).
    void AfterLaunch(const std::string& page, int slot, bool fromSearch);
    // The window was minimised by the user.
    void ApplicationMinimize();
    // A click on the tray icon, or the show hotkey.
    void RestoreFromTray();
    // A click on the page tabs leaves the mini strip (the mode stays chosen).
    void LeaveMiniStrip();

    // Records the launch of a page's slot in the recent list; a slot without a title (the URL
    // box) moves the previous entry up again while it is still in the list.
    void RecordLaunch(const std::string& page, int slot);
    // A recent entry chosen in the tray menu.
    void MruClick(const std::string& text, const LaunchFn& launch);
    // The bookmark of a slot is erased: its entry goes at once. `ini` is the engine the erase
    // writes through, so that both changes land in one file.
    void RemoveEntry(const std::string& text, TIniFile32* ini = nullptr);
    void RemoveEntries(const std::vector<std::string>& texts);
    // The DataFile's list: saved when it changed (at close and before another file is opened).
    void SaveRecent();
    // Shows the list's newest entries in the tray menu (none while the file is locked).
    void ShowRecent();

    // "Store last 10 bookmarks in Tray", "Load Linkvane during Windows Startup".
    void MMRUClick();
    void MAutoRunClick();
    // "Activate Screen Saver" of the tray menu.
    void ScreenSaverClick();
    // Another copy was started and handed its arguments to this one.
    void InstanceStarted(const std::vector<std::string>& args);

private:
    bool TrayAvailable() const;
    bool HotKeyWayBack() const;
    void ToTray(const std::string& tip);
    void StripHeight(bool mini);

    MainWindowState& state_;
    MainWindowPorts& ports_;
};

} // namespace lv
