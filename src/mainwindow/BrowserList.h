#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

#include <string>
#include <vector>

namespace lv {

// Room in the browser menu.
inline constexpr int kMaxBrowsers = 26;

// Start-up found no usable browser: the browsers found (at most two) become [Browser] 1 and 2
// with Count to match. Returns browser 1, or an empty text when none was found.
std::string RecordProbedBrowsers(const std::string& settingsFile,
                                 const std::vector<std::string>& found);

// The browser list of the settings file and its pop-up menu, and the window mode.
class BrowserList {
public:
    BrowserList(MainWindowState& state, MainWindowPorts& ports) : state_(state), ports_(ports) {}

    // The menu from [Browser] Count and Selected.
    void BuildMenu();
    // A browser item chosen (0-based position).
    void ChangeBrowser(int position);
    // "&Add or Remove Browser from List".
    void AddBrowserClick();
    // MultButton / SingleButton and their menu items.
    void SingleButtonClick(bool single);

private:
    void Add();
    void Remove();

    MainWindowState& state_;
    MainWindowPorts& ports_;
};

} // namespace lv
