#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

#include <string>
#include <vector>

namespace lv {

// The sixteen items of "Copy &Program to Diskette": "Copy to A:\" .. "Copy to P:\", each followed
// by the name of the mounted volume its letter stands for, when there is one.
std::vector<std::string> DriveCaptions(const std::vector<std::string>& volumes);

// Copying the working set to a removable volume: the drive items and the tool button.
class DriveMenu {
public:
    DriveMenu(MainWindowState& state, MainWindowPorts& ports) : state_(state), ports_(ports) {}

    // The menu opens: its captions show the volumes mounted now.
    void Popup();
    // A drive item: it alone is checked, then the copy runs.
    void MADriveClick(int index);
    // Copies to the checked drive. A full or read-only volume ends it as lv::FileError.
    void DiskButtonClick();

private:
    std::vector<std::string> Volumes() const;

    MainWindowState& state_;
    MainWindowPorts& ports_;
};

} // namespace lv
