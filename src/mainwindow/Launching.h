#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

#include <string>
#include <string_view>
#include <vector>

namespace lv {

// How a launch came about; the URL box forces local targets, the bookmark search leaves the
// window as it is (the mini strip aside); noRecord keeps the launch off the recent list (the
// internet search's own launches).
struct LaunchOptions {
    bool forceLocal = false;
    bool fromSearch = false;
    bool noRecord = false;
};

// Told when a command needs the browser's page and the browser gives none.
inline constexpr std::string_view kNoBrowserPageText =
    "You need to have a browser open to a web page!";

// Told when an address is to be launched and no browser has been chosen.
inline constexpr std::string_view kNoBrowserText =
    "No browser is chosen for Linkvane.  Add one with \"Add or Remove Browser from List\" in "
    "the Browsers menu.";

// The addresses of a target joined by ";;", in order, empty pieces left out.
std::vector<std::string> SplitTargets(std::string_view target);

// Clicks on bookmark buttons and the launch of their targets: browser processes, the running
// browser's current window, the desktop's "open"; an empty slot captures the browser's page.
class Launching {
public:
    Launching(MainWindowState& state, MainWindowPorts& ports) : state_(state), ports_(ports) {}

    void ButtonClick(int slot);
    // False when the target is refused or no browser is chosen (the user is told why) and
    // nothing was started. A start that fails is reported and still counts as a launch.
    bool Launch(const std::string& page, const std::string& target, LaunchOptions options = {});

    // "Bookmark current Web Page": the browser's page into the first empty slot.
    void AddBookmarkClick();

    // Records a launch of the current button (CurrentButtonName) of a page in the tray's
    // recent list; Launch does it for every launch while the list is switched on.
    void RecordLaunch(const std::string& page);

private:
    // Tells the user when the target must not be handed on (TargetRefusal).
    bool Refused(const std::string& target, bool local);
    void CaptureBrowserPage(int slot, int colour);
    void ChooseLocalTarget(int slot);
    void LaunchLocal(const std::string& target, const std::string& extra);
    bool BrowserPage(std::string& title, std::string& address);
    void TellNoBrowserPage();
    // After a click on a web bookmark without an icon: the site's icon and description.
    void IconAfterClick(const std::string& page, int slot);
    void ApplyLaunchBehaviour(const std::string& page, bool fromSearch);

    MainWindowState& state_;
    MainWindowPorts& ports_;
};

} // namespace lv
