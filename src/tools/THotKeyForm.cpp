#include "tools/THotKeyForm.h"

#include "store/Settings.h"
#include "store/TIniFile32.h"
#include "tools/THotKeyManager.h"

namespace lv {

namespace {

constexpr int kHotKeyHelpTopic = 76;

bool Has(const std::string& text, std::string_view word) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::size_t end = comma == std::string::npos ? text.size() : comma;
        if (std::string_view(text).substr(start, end - start) == word) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

} // namespace

void THotKeyForm::FormActivate(const std::string& settingsFile) {
    closed_ = false;
    const TIniFile32 ini(settingsFile);
    for (int i = 0; i < kRows; ++i) {
        const std::string n = std::to_string(i);
        Row& row = rows[static_cast<std::size_t>(i)];
        const std::string shift = ini.ReadString(settings::kHotKeySection, "Shift" + n, "");
        // Every box shows what is stored, also a box the user changed before closing the
        // dialog without saving: otherwise a later save would store that forgotten change.
        row.key = ini.ReadString(settings::kHotKeySection, "Key" + n, "");
        row.ctrl = Has(shift, "Ctrl");
        row.alt = Has(shift, "Alt");
        row.shift = Has(shift, "Shift");
        row.disable = ini.ReadString(settings::kHotKeySection, "D" + n, "Off") == "Off";
    }
}

void THotKeyForm::DBoxClick(int row, bool checked) {
    if (row < 0 || row >= kRows) {
        return;
    }
    rows[static_cast<std::size_t>(row)].disable = checked;
    if (row == THotKeyManager::ShowLinkvane) {
        rows[THotKeyManager::HideLinkvane].disable = checked;
    }
}

void THotKeyForm::SaveClick(const std::string& settingsFile, THotKeyManager& manager,
                            const std::function<void()>& onShowOff) {
    TIniFile32 ini(settingsFile);
    ini.SetDeferSaves(true);
    bool showOff = false;
    for (int i = 0; i < kRows; ++i) {
        const Row& row = rows[static_cast<std::size_t>(i)];
        const std::string n = std::to_string(i);
        const int value = (row.ctrl ? 4 : 0) | (row.alt ? 2 : 0) | (row.shift ? 1 : 0);
        const std::string_view text = HotKeyModifierText(value);
        ini.WriteString(settings::kHotKeySection, "Key" + n, row.key);
        ini.WriteString(settings::kHotKeySection, "Shift" + n, text);
        if (row.disable) {
            ini.WriteString(settings::kHotKeySection, "D" + n, "Off");
            manager.SetHotKey(i, "", 0);
            showOff = showOff || i == THotKeyManager::ShowLinkvane;
        } else {
            ini.WriteString(settings::kHotKeySection, "D" + n, "On");
            manager.SetHotKey(i, row.key, value);
        }
    }
    ini.UpdateFile();
    // A show key the desktop refused cannot bring a hidden window back either.
    if ((showOff || !manager.Requested(THotKeyManager::ShowLinkvane)) && onShowOff) {
        onShowOff();
    }
    closed_ = true;
}

void THotKeyForm::HelpClick() {
    if (onHelp) {
        onHelp(kHotKeyHelpTopic);
    }
}

} // namespace lv
