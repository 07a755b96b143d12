#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

#include <functional>

namespace lv {

// The Setup menu's switches and choices that persist in the settings file. Switches that change
// what the buttons show reload the current page through `reload`.
class SettingsSwitches {
public:
    SettingsSwitches(MainWindowState& state, MainWindowPorts& ports, std::function<void()> reload)
        : state_(state), ports_(ports), reload_(std::move(reload)) {}

    void MIconsClick();
    void MNotesClick();
    void MUrlClick();
    // "&2/3/4 Columns of Bookmarks": new buttons, the current page again; slots beyond the new
    // count stay in the DataFile.
    void MColumnsClick(int columns);
    void MFontClick();
    void MBackupClick();
    void MConfirmClick();
    void MConfirmWebIconClick();
    void MWebIconSearchClick();

private:
    void Flip(bool& check, std::string_view section, std::string_view key, bool reload);

    MainWindowState& state_;
    MainWindowPorts& ports_;
    std::function<void()> reload_;
};

} // namespace lv
