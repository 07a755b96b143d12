#include "store/Settings.h"

#include "store/Backup.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <algorithm>
#include <cstdio>

namespace lv {

using namespace settings;

int settings::DefaultTop(int screenHeight) {
    return screenHeight < kSmallScreenHeight ? kSmallScreenPosition : kDefaultTop;
}

int settings::DefaultLeft(int screenHeight) {
    return screenHeight < kSmallScreenHeight ? kSmallScreenPosition : kDefaultLeft;
}

std::string_view settings::DefaultHotKey(int index) {
    return index == kRestoreHotKey ? "F10" : "";
}

std::string_view settings::DefaultHotKeyShift(int index) {
    return index == kRestoreHotKey ? "Ctrl" : "";
}

bool IsSwitchOn(const TIniFile32& ini, Key key) {
    return ini.ReadString(key.section, key.key, kOn) != kOff;
}

std::string_view SwitchText(bool on) {
    return on ? kOn : kOff;
}

StartupSettings ReadStartupSettings(const TIniFile32& ini, int screenHeight) {
    auto text = [&ini](Key key, std::string_view def) {
        return ini.ReadString(key.section, key.key, def);
    };
    auto number = [&ini](Key key, std::int32_t def) {
        return ini.ReadInteger(key.section, key.key, def);
    };
    StartupSettings s;
    s.width = number(kWidth, kDefaultWidth);
    s.top = number(kTop, DefaultTop(screenHeight));
    s.left = number(kLeft, DefaultLeft(screenHeight));
    s.tray = text(kTray, "No");
    // The grid has room for 80 slots; any other column count would run past them.
    s.columnCount = std::clamp(number(kColumnCount, kDefaultColumnCount), 2, 4);
    s.dataFileName = text(kFileName, "");
    s.confirmDialog = IsSwitchOn(ini, kConfirmDialog);
    s.confirmWebIcon = IsSwitchOn(ini, kConfirmWebIcon);
    s.showPages = text(kShowPages, "Multiple");
    s.buttonFontColor = number(kButtonFontColor, 0);
    s.buttonFontName = text(kButtonFontName, kDefaultFontName);
    s.buttonFontSize = number(kButtonFontSize, kDefaultFontSize);
    s.tabFontColor = number(kTabFontColor, 0);
    s.tabFontName = text(kTabFontName, kDefaultFontName);
    s.tabFontSize = number(kTabFontSize, kDefaultFontSize);
    s.tabUnselectedColor = number(kTabUnselectedColor, kDefaultUnselectedColor);
    s.tabSelectedColor = number(kTabSelectedColor, kDefaultSelectedColor);
    s.browserSelected = number(kBrowserSelected, 1);
    const int browserCount = std::clamp(number(kBrowserCount, 0), 0, 1000);
    for (int i = 1; i <= browserCount; ++i) {
        s.browsers.push_back(ini.ReadString(kBrowserSection, std::to_string(i), ""));
    }
    s.autoRun = text(kAutoRun, "No") == "Yes";
    s.showIcons = IsSwitchOn(ini, kIcons);
    s.showNotes = IsSwitchOn(ini, kNotes);
    s.showUrl = IsSwitchOn(ini, kUrl);
    s.webIconSearch = IsSwitchOn(ini, kWebIconSearch);
    s.autoBackup = IsSwitchOn(ini, kAutoBackup);
    s.bannerAds = IsSwitchOn(ini, kBannerAds);
    return s;
}

std::string SelectedBrowserPath(const StartupSettings& values) {
    const int selected = values.browserSelected;
    if (selected < 1 || selected > static_cast<int>(values.browsers.size())) {
        return {};
    }
    return values.browsers[static_cast<std::size_t>(selected - 1)];
}

std::string SettingsFilePath(const std::string& programDir, const std::string& stem) {
    return ResolveCaseInsensitive(programDir, stem + ".INI");
}

std::string DefaultDataFilePath(const std::string& programDir) {
    return ResolveCaseInsensitive(programDir, std::string(kDefaultDataFile));
}

bool IsFirstStart(std::string_view dataFileName) {
    return dataFileName.empty() || dataFileName.find('.') == std::string_view::npos;
}

void WriteFirstStartKeys(TIniFile32& ini, const std::string& dataFileName, int screenHeight) {
    ini.WriteString(kFileName.section, kFileName.key, dataFileName);
    ini.WriteString(kWindowState.section, kWindowState.key, "Norm");
    ini.WriteString(kShowHint.section, kShowHint.key, "Yes");
    ini.WriteString(kTray.section, kTray.key, "No");
    ini.WriteInteger(kTop.section, kTop.key, DefaultTop(screenHeight));
    ini.WriteInteger(kLeft.section, kLeft.key, DefaultLeft(screenHeight));
    ini.WriteInteger(kWidth.section, kWidth.key, kDefaultWidth);
}

void MigratePreviousSettings(const std::string& programDir) {
    static constexpr std::pair<const char*, const char*> kRenamed[] = {{"ob.ini", "lvd.ini"},
                                                                       {"ob.use", "lvd.use"}};
    for (const auto& [oldName, newName] : kRenamed) {
        if (PathExists(ResolveCaseInsensitive(programDir, newName))) {
            continue;
        }
        const std::string source = ResolveCaseInsensitive(programDir, oldName);
        if (PathExists(source)) {
            FileCopy(source, ResolveCaseInsensitive(programDir, newName));
        }
    }
}

std::array<std::string, 16> ReadCustomColors(const TIniFile32& ini) {
    std::array<std::string, 16> entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string key = std::string("Color") + static_cast<char>('A' + i);
        entries[i] = key + "=" + ini.ReadString(kColorsSection, key, kDefaultCustomColor);
    }
    return entries;
}

void WriteCustomColors(TIniFile32& ini, const std::array<std::string, 16>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string key = std::string("Color") + static_cast<char>('A' + i);
        const std::string& entry = entries[i];
        ini.WriteString(kColorsSection, key, entry.size() > 7 ? entry.substr(7, 6) : "");
    }
}

std::int32_t CustomColorValue(std::string_view entry) {
    const auto eq = entry.find('=');
    const std::string_view digits = eq == std::string_view::npos ? entry : entry.substr(eq + 1);
    std::string hex(1, '$');
    hex.append(digits);
    const auto value = digits.empty() ? std::nullopt : ParseInteger(hex);
    if (!value || digits.front() == '-' || digits.front() == '+') {
        return 0xFFFFFF;
    }
    return *value & 0xFFFFFF;
}

std::string CustomColorEntry(char letter, std::int32_t colorValue) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%06X", static_cast<unsigned>(colorValue) & 0xFFFFFFu);
    return std::string("Color") + letter + "=" + digits;
}

} // namespace lv
