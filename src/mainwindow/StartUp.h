#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"
#include "store/Settings.h"

#include <string>
#include <vector>

namespace lv {

// What the command line asks for.
struct CommandLine {
    std::string stem = "LVD";
    bool newUser = false; // "/_" followed by the installation directory
    std::string installDir;
    std::vector<std::string> dataFiles; // in order; the last one wins
};

// The first argument names the settings stem when its last part has no extension ("/Alt" and
// "Alt" both select Alt.INI in the program directory); "/_<dir>" marks the first start after
// installation. An argument with an extension names the DataFile; a second one wins.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// "Linkvane <stem> [ <name> ]  " + "   Page <n> of <count>" + "   <date>".
std::string FormCaption(const MainWindowState& state, const Clock& clock);

// The narrowest window the settings may ask for: four columns of buttons still show a few letters.
inline constexpr int kMinWindowWidth = 120;
inline constexpr int kMaxFontSize = 72;
// Brings the settings that size and place the window into what the screen can show: a width of
// at most the screen's, a window that lies on the screen, fonts no taller than a tenth of it.
// Zero or negative sizes take their defaults. A damaged or hostile SettingsFile
// (Width=2147483647) otherwise asks for a window image of many gigabytes.
void FitToScreen(StartupSettings& values, const Screen& screen);

// The start-up sequence of the main window.
class StartUp {
public:
    StartUp(MainWindowState& state, MainWindowPorts& ports) : state_(state), ports_(ports) {}

    // Reads the command line and the settings, settles the DataFile, builds the buttons and
    // loads the first page. A file error of the first page load is raised only after the
    // window is complete, so the user still gets a working window with the error box.
    void FormCreate(const std::vector<std::string>& args);

private:
    void NewUser(const std::string& installDir);
    std::string InProgramDir(const std::string& name) const;

    MainWindowState& state_;
    MainWindowPorts& ports_;
};

} // namespace lv
