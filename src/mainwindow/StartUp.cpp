#include "mainwindow/StartUp.h"

#include "mainwindow/PageGrid.h"
#include "mainwindow/PagePasswords.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/Settings.h"
#include "store/TIniFile32.h"
#include "store/Text.h"
#include "tools/SearchEngineFile.h"

#include <algorithm>
#include <exception>
#include <filesystem>

namespace lv {
namespace {

std::string LastPart(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool HasExtension(const std::string& path) {
    return LastPart(path).find('.') != std::string::npos;
}

int SaneSize(int size, int fallback, int low, int high) {
    return std::clamp(size > 0 ? size : fallback, low, std::max(low, high));
}

} // namespace

void FitToScreen(StartupSettings& values, const Screen& screen) {
    // A port that knows no screen gets the smallest common one.
    const int screenWidth = screen.Width() > 0 ? screen.Width() : 1024;
    const int screenHeight = screen.Height() > 0 ? screen.Height() : 768;
    values.width = SaneSize(values.width, settings::kDefaultWidth, kMinWindowWidth, screenWidth);
    values.left = std::clamp(values.left, 0, std::max(0, screenWidth - values.width));
    values.top = std::clamp(values.top, 0, std::max(0, screenHeight - kWindowHeight));
    const int maxFont = std::min(kMaxFontSize, screenHeight / 10);
    values.buttonFontSize = SaneSize(values.buttonFontSize, settings::kDefaultFontSize, 1, maxFont);
    values.tabFontSize = SaneSize(values.tabFontSize, settings::kDefaultFontSize, 1, maxFont);
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    if (args.empty()) {
        return line;
    }
    const std::string& first = args[0];
    if (first.rfind("/_", 0) == 0) {
        line.newUser = true;
        line.installDir = first.substr(2);
    } else if (!HasExtension(first)) {
        line.stem = first;
    } else {
        line.dataFiles.push_back(first);
    }
    if (args.size() > 1 && HasExtension(args[1]) && args[1].rfind("/_", 0) != 0) {
        line.dataFiles.push_back(args[1]);
    }
    return line;
}

std::string FormCaption(const MainWindowState& state, const Clock& clock) {
    const std::string stem = state.SettingsStem == "LVD" ? "" : state.SettingsStem;
    // File names are in the system's encoding; the caption is program text.
    const std::string name = Utf8ToCp1252(LastPart(FileStem(state.DataFileName)));
    std::string caption = "Linkvane " + stem + " [ " + name + " ]  ";
    caption += "   Page " + std::to_string(state.TabSet1.selected + 1) + " of " +
               std::to_string(state.TabSet1.names.size());
    caption += "   " + Utf8ToCp1252(clock.ShortDateToday());
    return caption;
}

std::string StartUp::InProgramDir(const std::string& name) const {
    std::string dir = state_.ProgramDir;
    if (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    return ResolveCaseInsensitive(dir, name);
}

namespace {

// How bookmarks come in on Linux, where a blank button can only take the browser's page through
// the browser's debugging port.
constexpr const char* kWelcomeAddBookmark =
    "To add a bookmark, right-click a button and type its title and URL. A click on a blank "
    "button takes the page your browser shows, when the browser was started with its debugging "
    "port (for example: chromium --remote-debugging-port=9222).";
constexpr const char* kWelcomeImport =
    "Bookmarks kept in a browser come in from the File menu: Import Bookmarks > Import Netscape "
    "Bookmarks reads the HTML bookmark file the browser exports.";

} // namespace

void StartUp::NewUser(const std::string& installDir) {
    UserDlgRequest welcome;
    welcome.title = "Welcome to Linkvane";
    welcome.buttons = {"Begin"};
    welcome.message = {"Click on any blank button to add bookmarks to Linkvane.",
                       "",
                       "Other Linkvane data files can be opened or created using the File menu.",
                       "",
                       "Click your Right mouse button on any Page Tab or Button for Options.",
                       "",
                       kWelcomeAddBookmark,
                       "",
                       kWelcomeImport};
    ports_.dialogs.UserDlg(welcome);
    // The installer's copy of itself travels with the program onto a diskette.
    const std::string setup = installDir + "/setup.exe";
    if (!installDir.empty() && std::filesystem::is_regular_file(setup)) {
        FileCopy(setup, InProgramDir("setup.exe"));
    }
}

void StartUp::FormCreate(const std::vector<std::string>& args) {
    const int screenHeight = ports_.screen.Height();
    state_.LaunchCount = 0;
    state_.CurrentButtonName.clear();
    state_.BookmarkBox.clear();

    MigratePreviousSettings(state_.ProgramDir);
    const CommandLine line = ParseCommandLine(args);
    if (line.newUser) {
        NewUser(line.installDir);
    }
    state_.SettingsStem = line.stem;

    TIniFile32 settings(state_.SettingsFile());
    StartupSettings values = ReadStartupSettings(settings, screenHeight);
    FitToScreen(values, ports_.screen);
    state_.WindowWidth = values.width;
    // Anything but 2, 3 or 4 would ask for buttons the DataFile has no slots for.
    state_.ColumnCount = std::clamp(values.columnCount, 2, 4);
    state_.DataFileName = values.dataFileName;
    if (IsFirstStart(state_.DataFileName)) {
        state_.DataFileName = InProgramDir(std::string(settings::kDefaultDataFile));
        WriteFirstStartKeys(settings, state_.DataFileName, screenHeight);
        WriteDefaultSearchFile(state_.ProgramDir);
    }
    for (std::string file : line.dataFiles) {
        if (file.find('/') == std::string::npos) {
            file = state_.ProgramDir + file;
        }
        state_.DataFileName = file;
        settings.WriteString(settings::kFileName.section, settings::kFileName.key, file);
    }
    state_.StartDataFileName = state_.DataFileName;
    // Saves cut short by a crash leave their temporary files beside the files they were for.
    const std::string dataDir = std::filesystem::path(state_.DataFileName).parent_path().string();
    RemoveStaleTemporaries(state_.ProgramDir);
    if (!dataDir.empty() && dataDir + "/" != state_.ProgramDir && dataDir != state_.ProgramDir) {
        RemoveStaleTemporaries(dataDir);
    }

    // The banner panel is not built, so the window always has the height without it.
    state_.place.height = kWindowHeight;
    state_.place.top = values.top;
    state_.place.left = values.left;

    MenuChecks& checks = state_.checks;
    checks.confirmDialog = values.confirmDialog;
    checks.confirmWebIcon = values.confirmWebIcon;
    checks.singleWindow = values.showPages == "Single";
    checks.multipleWindows = values.showPages == "Multiple";
    state_.ButtonFontColor = values.buttonFontColor;
    state_.ButtonFontName = values.buttonFontName;
    state_.ButtonFontSize = values.buttonFontSize;
    state_.TabFontColor = values.tabFontColor;
    state_.TabFontName = values.tabFontName;
    state_.TabFontSize = values.tabFontSize;
    state_.TabUnselectedColor = values.tabUnselectedColor;
    state_.TabSelectedColor = values.tabSelectedColor;
    checks.autoRun = values.autoRun;
    checks.icons = values.showIcons;
    checks.notes = values.showNotes;
    checks.url = values.showUrl;
    checks.webIconSearch = values.webIconSearch;
    checks.autoBackup = values.autoBackup;

    state_.BrowserPath = SelectedBrowserPath(values);
    if (state_.BrowserPath.empty() || !std::filesystem::is_regular_file(state_.BrowserPath)) {
        state_.BrowserPath = ports_.probeBrowser ? ports_.probeBrowser() : std::string();
    }

    // A DataFile that cannot be read still gives a window, empty, with the error box.
    std::exception_ptr loadError;
    std::string firstPage;
    try {
        TIniFile32 data(state_.DataFileName);
        firstPage = data.ReadString(datafile::kTabs, "Tab1", "Page1");
        state_.PagePassBox =
            ReadPagePass(data.ReadString(datafile::kTabs, datafile::kPagePasswordKey, ""));
        state_.FileProtection = ReadFileProtection(data);
        state_.DefaultIconG = ReadDefaultIconG(data);
    } catch (const std::exception&) {
        loadError = std::current_exception();
    }

    state_.Tray = values.tray;
    checks.trayTray = values.tray == "Yes";
    checks.trayBar = values.tray == "Bar";
    checks.trayHide = values.tray == "Hide";
    checks.trayMini = values.tray == "Mini";
    state_.place.visible = !checks.trayTray && !checks.trayMini;

    state_.InitialLoad = true;
    state_.place.width = state_.WindowWidth;
    PageGrid grid(state_);
    grid.Buttons(true);
    if (!loadError) {
        try {
            grid.Load(firstPage);
        } catch (const std::exception&) {
            loadError = std::current_exception();
        }
    }
    state_.InitialLoad = false;
    state_.caption = FormCaption(state_, ports_.clock);

    if (checks.trayMini) {
        state_.place.height = kMiniHeight;
        state_.place.stayOnTop = true;
        state_.place.visible = true;
    }
    if (loadError) {
        std::rethrow_exception(loadError);
    }
}

} // namespace lv
