#pragma once

#include "mainwindow/BookmarkButton.h"
#include "mainwindow/PageOpsState.h"
#include "tools/TMruList.h"

#include <string>
#include <vector>

namespace lv {

class THttpCli;

// The page tabs along the bottom edge.
struct TabSet {
    std::vector<std::string> names;
    int selected = 0;
    int firstVisible = 0;

    const std::string& Current() const { return names.at(static_cast<std::size_t>(selected)); }
};

// Check marks of the menu items and pressed tool buttons the main window shows.
struct MenuChecks {
    bool icons = true;          // "&Display Bookmark Icons"
    bool notes = true;          // "Display Bookmark Notes"
    bool url = true;            // "Display Bookmark URL"
    bool autoBackup = true;     // "&Auto Backup prior to Modification"
    bool confirmDialog = true;  // "Confirm before Erasing a Bookmark"
    bool confirmWebIcon = true; // "Confirm before Erasing a Web Icon"
    bool webIconSearch = true;  // "Search for Web Page Icon & Desc."
    bool mruTrack = true;       // "Store last 10 bookmarks in Tray"
    bool autoRun = false;       // "Load Linkvane during Windows Startup"
    bool trayTray = false;      // launch behaviours
    bool trayBar = false;
    bool trayMini = false;
    bool trayHide = false;
    bool pagePass = false;       // "&Password Protect Page"
    bool singleWindow = false;   // SingleButton pressed ([Show] Pages "Single")
    bool multipleWindows = true; // MultButton pressed
};

// The window's place as the model wants it; the view applies it.
struct WindowPlace {
    int left = 100;
    int top = 50;
    int width = 620;
    int height = 469;
    bool visible = true;
    bool minimized = false;
    bool stayOnTop = false;
    // Counts the commands that ask the window to take width and height again ("Reset Form
    // Size"); the view resizes the window when it changes.
    int sizeRequests = 0;
    // Counts the changes of visible, minimized, stayOnTop and the mini strip's height that the
    // view is to apply to the real window (launch behaviour, the tray, the mode items).
    int showRequests = 0;
};

// Sizes of the window frame around the client area, fixed so that window sizes in the settings
// file mean the same on every desktop (620 wide gives the 612-pixel client of the grid).
inline constexpr int kFrameWidth = 8;
inline constexpr int kFrameHeight = 47; // caption, menu bar and borders
inline constexpr int kToolBarHeight = 22;
inline constexpr int kButtonAreaHeight = 380;
inline constexpr int kTabSetHeight = 20;
inline constexpr int kDefaultWindowWidth = 620;
inline constexpr int kWindowHeight = 469;
inline constexpr int kMiniHeight = 88;

// The connection lamp `DialUp`: on-line, off-line, or the yellow "site answers" light.
struct ConnectionLamp {
    enum class Image { LedOff, LedOn, LedYellow };
    Image image = Image::LedOff;
    std::string hint = "Dialup = OffLine";
};

// Everything the main window holds besides its ports. TForm1 owns one; the helpers that carry
// out its handlers work on it.
struct MainWindowState {
    std::string ProgramDir; // with a trailing "/"
    std::string SettingsStem = "LVD";
    std::string DataFileName;
    std::string StartDataFileName;
    std::string BrowserPath;
    int ColumnCount = 4;
    int WindowWidth = kDefaultWindowWidth;
    std::string ButtonFontName = "Arial";
    int ButtonFontSize = 9;
    int ButtonFontColor = 0;
    bool InitialLoad = false;
    std::string FileProtection;
    std::string CurrentButtonName;
    int LaunchCount = 0;
    int DefaultIconG = 120;

    std::string TabFontName = "Arial";
    int TabFontSize = 9;
    int TabFontColor = 0;
    int TabUnselectedColor = 11228244;
    int TabSelectedColor = 16744576;
    std::string Tray = "No";

    TabSet TabSet1;
    std::vector<BookmarkButton> buttons; // ColumnCount * 20 of them
    MenuChecks checks;
    WindowPlace place;
    std::string caption;
    bool locked = false; // a protected DataFile shows only "Access Protected File"

    // The browser pop-up menu: program paths in [Browser] order, the ticked one (-1: none).
    std::vector<std::string> browserMenu;
    int browserTicked = -1;
    // Keyboard selection: slot number, 0 when none.
    int SelectedSlot = 0;
    // The URL box's list of past entries, newest first.
    std::vector<std::string> manualUrls;
    // "Copy Program to Diskette": the checked drive item (0 for A) and the sixteen captions,
    // which name the volume behind each letter when the menu opens.
    int diskDrive = 0;
    std::vector<std::string> driveMenu;

    std::vector<std::string> BookmarkBox;
    std::vector<std::string> BookmarkBox2;
    std::vector<std::string> PagePassBox;
    std::string Memo1;
    // Page commands: carried pages and bookmarks, the page options dialog's request.
    PageOpsState pageOps;
    // Web access: the lamp, and the page fetch under way (a new one aborts it).
    ConnectionLamp DialUp;
    THttpCli* webFetch = nullptr;
    // The tray's recent-bookmark list of the current DataFile, and the entry of the last
    // launch that had a title.
    TMruList MruList1;
    std::string MruCurrent;

    std::string SettingsFile() const;
    int ClientWidth() const { return place.width - kFrameWidth; }
    int ClientHeight() const { return place.height - kFrameHeight; }
};

} // namespace lv
