#include "tools/UserFile.h"

#include "store/TIniFile32.h"
#include "store/Text.h"

namespace lv {

std::string UserFileName(const std::string& programDir, const std::string& settingsStem) {
    return ResolveCaseInsensitive(programDir, settingsStem + ".USE");
}

std::string& TUserSetup::Value(std::string_view key) {
    for (std::size_t i = 0; i < kUserFields.size(); ++i) {
        if (kUserFields[i].key == key) {
            return values.at(i);
        }
    }
    static std::string none;
    none.clear();
    return none;
}

void TUserSetup::FormActivate(int tabColor, int tabFontColor) {
    backColor = tabColor;
    fontColor = tabFontColor;
    const TIniFile32 ini(userFile_);
    values.assign(kUserFields.size(), std::string());
    for (std::size_t i = 0; i < kUserFields.size(); ++i) {
        const std::string_view key = kUserFields[i].key;
        values[i] = ini.ReadString(kUserSection, key, key == "URL" ? "http://" : "");
    }
    closed_ = false;
    saveRequested_ = false;
}

void TUserSetup::FormClose() {
    closed_ = true;
    if (!saveRequested_) {
        return;
    }
    saveRequested_ = false;
    TIniFile32 ini(userFile_);
    // One save for the sixteen keys: a failure leaves the old file whole.
    ini.SetDeferSaves(true);
    for (std::size_t i = 0; i < kUserFields.size(); ++i) {
        ini.WriteString(kUserSection, kUserFields[i].key, values[i]);
    }
    ini.UpdateFile();
}

std::string UserDetailText(const std::string& userFile, std::string_view item) {
    const TIniFile32 ini(userFile);
    if (item == "Full") {
        return ini.ReadString(kUserSection, "First", "") + " " +
               ini.ReadString(kUserSection, "Last", "");
    }
    for (const UserCopyItem& copy : kUserCopyItems) {
        if (copy.name == item) {
            return ini.ReadString(kUserSection, item, "");
        }
    }
    return {};
}

} // namespace lv
