#include "mainwindow/DriveMenu.h"

#include "pages/DiskCopy.h"
#include "store/Settings.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

namespace lv {

std::vector<std::string> DriveCaptions(const std::vector<std::string>& volumes) {
    std::vector<std::string> captions;
    for (int i = 0; i < kDriveCount; ++i) {
        std::string caption = "Copy to " + DriveText(static_cast<char>('A' + i));
        if (static_cast<std::size_t>(i) < volumes.size()) {
            // A stick mounted by the desktop sits at a folder named after its label.
            std::string volume = volumes[static_cast<std::size_t>(i)];
            while (volume.size() > 1 && volume.back() == '/') {
                volume.pop_back();
            }
            const std::size_t slash = volume.rfind('/');
            const std::string name = slash == std::string::npos ? volume : volume.substr(slash + 1);
            caption += "  (" + Utf8ToCp1252(name.empty() ? volume : name) + ")";
        } else {
            caption += "  (no disk mounted)";
        }
        captions.push_back(std::move(caption));
    }
    return captions;
}

std::vector<std::string> DriveMenu::Volumes() const {
    return ports_.removableVolumes ? ports_.removableVolumes() : ReadRemovableVolumes();
}

void DriveMenu::Popup() {
    state_.driveMenu = DriveCaptions(Volumes());
}

void DriveMenu::MADriveClick(int index) {
    if (index < 0 || index >= kDriveCount) {
        return;
    }
    state_.diskDrive = index;
    DiskButtonClick();
}

void DriveMenu::DiskButtonClick() {
    DiskCopyRequest request;
    request.drive = static_cast<char>('A' + state_.diskDrive);
    request.volumes = Volumes();
    request.programDir = state_.ProgramDir;
    request.settingsStem = state_.SettingsStem;
    request.dataFile = state_.DataFileName;
    request.searchEngineFile = ReadFromIniS(state_.SettingsFile(), settings::kSearchName.section,
                                            settings::kSearchName.key, "");
    lv::DiskButtonClick(ports_.dialogs, request);
}

} // namespace lv
