#include "mainwindow/SettingsSwitches.h"

#include "mainwindow/PageGrid.h"
#include "store/Settings.h"
#include "store/TIniFile32.h"

namespace lv {

void SettingsSwitches::Flip(bool& check, std::string_view section, std::string_view key,
                            bool reload) {
    check = !check;
    WriteToIniS(state_.SettingsFile(), section, key, SwitchText(check));
    if (reload) {
        reload_();
    }
}

void SettingsSwitches::MIconsClick() {
    Flip(state_.checks.icons, settings::kIcons.section, settings::kIcons.key, true);
}

void SettingsSwitches::MNotesClick() {
    Flip(state_.checks.notes, settings::kNotes.section, settings::kNotes.key, true);
}

void SettingsSwitches::MUrlClick() {
    Flip(state_.checks.url, settings::kUrl.section, settings::kUrl.key, true);
}

void SettingsSwitches::MBackupClick() {
    Flip(state_.checks.autoBackup, settings::kAutoBackup.section, settings::kAutoBackup.key, false);
}

void SettingsSwitches::MConfirmClick() {
    Flip(state_.checks.confirmDialog, settings::kConfirmDialog.section,
         settings::kConfirmDialog.key, false);
}

void SettingsSwitches::MConfirmWebIconClick() {
    Flip(state_.checks.confirmWebIcon, settings::kConfirmWebIcon.section,
         settings::kConfirmWebIcon.key, false);
}

void SettingsSwitches::MWebIconSearchClick() {
    Flip(state_.checks.webIconSearch, settings::kWebIconSearch.section,
         settings::kWebIconSearch.key, false);
}

void SettingsSwitches::MColumnsClick(int columns) {
    state_.ColumnCount = columns;
    WriteToIniI(state_.SettingsFile(), settings::kColumnCount.section, settings::kColumnCount.key,
                columns);
    PageGrid(state_).Buttons(true);
    reload_();
}

void SettingsSwitches::MFontClick() {
    FontRequest request;
    request.name = state_.ButtonFontName;
    request.size = state_.ButtonFontSize;
    request.color = state_.ButtonFontColor;
    const FontResult result = ports_.dialogs.Font(request);
    if (!result.accepted) {
        return;
    }
    state_.ButtonFontName = result.name;
    state_.ButtonFontSize = result.size;
    state_.ButtonFontColor = result.color;
    TIniFile32 ini(state_.SettingsFile());
    ini.WriteString(settings::kButtonFontName.section, settings::kButtonFontName.key, result.name);
    ini.WriteInteger(settings::kButtonFontSize.section, settings::kButtonFontSize.key, result.size);
    ini.WriteInteger(settings::kButtonFontColor.section, settings::kButtonFontColor.key,
                     result.color);
    PageGrid(state_).Buttons(false);
    reload_();
}

} // namespace lv
