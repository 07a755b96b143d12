#include "mainwindow/MainState.h"

#include "store/Settings.h"

namespace lv {

std::string MainWindowState::SettingsFile() const {
    return SettingsFilePath(ProgramDir, SettingsStem);
}

} // namespace lv
