#pragma once

#include "store/TIniFile32.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// The SettingsFile: names and defaults of every key, and typed reads.
namespace settings {

struct Key {
    std::string_view section;
    std::string_view key;
};

inline constexpr Key kWidth{"Location", "Width"};
inline constexpr Key kTop{"Location", "Top"};
inline constexpr Key kLeft{"Location", "Left"};
inline constexpr Key kShowHint{"Location", "ShowHint"};
inline constexpr Key kTray{"Location", "Tray"};
inline constexpr Key kWindowState{"Window", "State"};
inline constexpr Key kColumnCount{"Column", "Count"};
inline constexpr Key kFileName{"File", "Name"};
inline constexpr Key kConfirmDialog{"Confirm", "Dialog"};
inline constexpr Key kConfirmWebIcon{"Confirm", "WebIcon"};
inline constexpr Key kShowPages{"Show", "Pages"};
inline constexpr Key kButtonFontColor{"Notebook", "FontColor"};
inline constexpr Key kButtonFontName{"Notebook", "FontName"};
inline constexpr Key kButtonFontSize{"Notebook", "FontSize"};
inline constexpr Key kTabFontColor{"Tabs", "FontColor"};
inline constexpr Key kTabFontName{"Tabs", "FontName"};
inline constexpr Key kTabFontSize{"Tabs", "FontSize"};
inline constexpr Key kTabUnselectedColor{"Tabs", "UnselectedColor"};
inline constexpr Key kTabSelectedColor{"Tabs", "SelectedColor"};
inline constexpr Key kBrowserSelected{"Browser", "Selected"};
inline constexpr Key kBrowserCount{"Browser", "Count"};
inline constexpr std::string_view kBrowserSection = "Browser"; // keys "1".."N"
inline constexpr Key kAutoRun{"AutoRun", "Load"};
inline constexpr Key kIcons{"Button", "Icons"};
inline constexpr Key kNotes{"Button", "Notes"};
inline constexpr Key kUrl{"Button", "Url"};
inline constexpr Key kWebIconSearch{"WebIcon", "Search"};
inline constexpr Key kAutoBackup{"Auto", "Backup"};
inline constexpr Key kMergeColor{"Merge", "Color"};
inline constexpr std::string_view kColorsSection = "Colors"; // ColorA..ColorP
inline constexpr std::string_view kHotKeySection = "HotKey"; // Key0..5, Shift0..5, D0..5
inline constexpr Key kSearchName{"Search", "Name"};
inline constexpr Key kBannerAds{"Banner", "Ads"};

inline constexpr std::string_view kOn = "On";
inline constexpr std::string_view kOff = "Off";

inline constexpr int kDefaultWidth = 620;
inline constexpr int kDefaultTop = 50;
inline constexpr int kDefaultLeft = 100;
inline constexpr int kSmallScreenPosition = 2;
inline constexpr int kSmallScreenHeight = 500; // screens lower than this are small
inline constexpr int kDefaultColumnCount = 4;
inline constexpr std::string_view kDefaultFontName = "Arial";
inline constexpr int kDefaultFontSize = 9;
inline constexpr std::int32_t kDefaultUnselectedColor = 11228244; // AB5454 hex
inline constexpr std::int32_t kDefaultSelectedColor = 16744576;   // FF8080 hex
inline constexpr std::int32_t kDefaultMergeColor = 111;
inline constexpr std::string_view kDefaultCustomColor = "FFFFFF";
inline constexpr std::string_view kDefaultDataFile = "Disk.LVD";
inline constexpr std::string_view kDefaultStem = "LVD";

// [HotKey] Key0..Key5, Shift0..Shift5 and D0..D5 ("Off"): all empty except hotkey 2, which
// brings the hidden program back.
inline constexpr int kHotKeyCount = 6;
inline constexpr int kRestoreHotKey = 2;
std::string_view DefaultHotKey(int index);
std::string_view DefaultHotKeyShift(int index);

// Top and Left: 50 and 100, or 2 and 2 on a screen under 500 pixels high.
int DefaultTop(int screenHeight);
int DefaultLeft(int screenHeight);

} // namespace settings

// A switch reads as on unless it says "Off" (missing keys take their default "On").
bool IsSwitchOn(const TIniFile32& ini, settings::Key key);
std::string_view SwitchText(bool on);

// The preferences read at start-up, with their defaults.
struct StartupSettings {
    int width = settings::kDefaultWidth;
    int top = settings::kDefaultTop;
    int left = settings::kDefaultLeft;
    std::string tray = "No";
    int columnCount = settings::kDefaultColumnCount;
    std::string dataFileName;
    bool confirmDialog = true;
    bool confirmWebIcon = true;
    std::string showPages = "Multiple";
    std::int32_t buttonFontColor = 0;
    std::string buttonFontName{settings::kDefaultFontName};
    int buttonFontSize = settings::kDefaultFontSize;
    std::int32_t tabFontColor = 0;
    std::string tabFontName{settings::kDefaultFontName};
    int tabFontSize = settings::kDefaultFontSize;
    std::int32_t tabUnselectedColor = settings::kDefaultUnselectedColor;
    std::int32_t tabSelectedColor = settings::kDefaultSelectedColor;
    int browserSelected = 1;
    std::vector<std::string> browsers; // [Browser] 1..Count
    bool autoRun = false;
    bool showIcons = true;
    bool showNotes = true;
    bool showUrl = true;
    bool webIconSearch = true;
    bool autoBackup = true;
    bool bannerAds = true;
};
StartupSettings ReadStartupSettings(const TIniFile32& ini, int screenHeight);

// The path of the selected browser: entry [Browser] Selected of 1..Count, else empty.
std::string SelectedBrowserPath(const StartupSettings& values);

// The SettingsFile of a stem: programDir + stem + ".INI", matching an existing file in any case.
std::string SettingsFilePath(const std::string& programDir, const std::string& stem);

// The DataFile of a first start: "Disk.LVD" in the program directory, in whatever case it exists.
std::string DefaultDataFilePath(const std::string& programDir);

// A first start: [File] Name is empty or has no ".".
bool IsFirstStart(std::string_view dataFileName);
// [File] Name, [Window] State, [Location] ShowHint, Tray, Top, Left and Width.
void WriteFirstStartKeys(TIniFile32& ini, const std::string& dataFileName, int screenHeight);

// Files of the previous generation: "ob.ini" -> "lvd.ini" and "ob.use" -> "lvd.use" in the
// program directory, each only when the new name does not exist yet (in any letter case).
void MigratePreviousSettings(const std::string& programDir);

// Custom colours of the colour dialogs: the 16 entries "ColorA=FFFFFF" .. "ColorP=...".
std::array<std::string, 16> ReadCustomColors(const TIniFile32& ini);
// Writes the six characters after "ColorX=" of each entry back to its key.
void WriteCustomColors(TIniFile32& ini, const std::array<std::string, 16>& entries);
// The six hex digits of an entry as a colour value (low three bytes blue, green, red from high to
// low), and back; text that is not hexadecimal gives white.
std::int32_t CustomColorValue(std::string_view entry);
std::string CustomColorEntry(char letter, std::int32_t colorValue);

} // namespace lv
