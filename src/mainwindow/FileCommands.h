#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

#include <string>

namespace lv {

// The File menu's DataFile commands (create, open, save as, rename, delete, merge) and
// alphabetizing, on the main window's state. A file error ends the command as lv::FileError.
class FileCommands {
public:
    FileCommands(MainWindowState& state, MainWindowPorts& ports) : state_(state), ports_(ports) {}

    void MFNewClick();
    void MFOpenClick();
    // "&Save File As" keeps the old file; "&Rename File As" removes it.
    void MFSaveAsClick(bool rename);
    void MFDeleteClick();
    void MFMergeClick();
    void AlphaButtonClick();

    // Makes another DataFile current: the page passwords go into the old file, the new file's
    // list is read, [File] Name is written and the file is loaded from the page named.
    void ChangeDataFile(const std::string& dataFile, const std::string& firstPage);

private:
    // The file picked in an open dialog, spelt as it is on disk; empty when none was chosen.
    std::string PickFile(const char* title, const char* filter);
    std::string PickNewFile(int helpContext);
    // The copy of a file from elsewhere in the program directory, when the user wants one.
    std::string OfferCopyToProgramDir(const std::string& chosen);
    void ReloadCurrent();

    MainWindowState& state_;
    MainWindowPorts& ports_;
};

// Filters of the file dialogs, each pattern in both letter cases (file names on Linux are
// case-sensitive, and DataFiles come from Windows in either spelling).
inline constexpr const char* kDataFileFilter = "Linkvane Files|*.lvd *.LVD";
inline constexpr const char* kOpenFileFilter = "Linkvane Files|*.lvd *.LVD *.obk *.OBK";
inline constexpr const char* kDeleteFileFilter =
    "Linkvane Files|*.lvd *.LVD *.obk *.OBK|All Files|*.*|Backup Files|*.bak *.BAK"
    "|Temp Files|*.~??";

// Whether a path lies directly in a directory. Names are compared exactly, as the file system
// does; two spellings of the same directory (a symbolic link, "..") count as the same.
bool InDirectory(const std::string& path, const std::string& directory);

} // namespace lv
