#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace lv {

class THotKeyManager;

// The "Define HotKeys" dialog: one row per hotkey with its modifier boxes, its key and
// "Disable". The view shows the rows and calls the handlers; saving writes [HotKey] and gives
// the manager its new keys at once.
class THotKeyForm {
public:
    struct Row {
        bool ctrl = false;
        bool alt = false;
        bool shift = false;
        std::string key; // Box0..Box5: a name of the list below, or typed text
        bool disable = true;
    };
    static constexpr int kRows = 6;
    static constexpr int kWidth = 452;
    static constexpr int kHeight = 302;
    // Each row is labelled "=  " and the manager's text of its item (THotKeyManager::kItemTexts).
    // What the key boxes list; "Escape" is known but only typed.
    static constexpr std::array<std::string_view, 59> kKeyList{
        "A",    "B",     "C",   "D",      "E",      "F",    "G",   "H",       "I",        "J",
        "K",    "L",     "M",   "N",      "O",      "P",    "Q",   "R",       "S",        "T",
        "U",    "V",     "W",   "X",      "Y",      "Z",    "1",   "2",       "3",        "4",
        "5",    "6",     "7",   "8",      "9",      "0",    "F1",  "F2",      "F3",       "F4",
        "F5",   "F6",    "F7",  "F8",     "F9",     "F10",  "F11", "F12",     "Up",       "Down",
        "Left", "Right", "Tab", "Insert", "Delete", "Home", "End", "Page up", "Page down"};

    std::array<Row, kRows> rows;
    // False on a desktop that offers no global hotkeys; the view then says so (unavailableText)
    // and keeps the rows for editing the settings only.
    bool available = true;
    std::string unavailableText;
    // Said above the rows where the desktop has hotkeys of its own kind (empty: nothing).
    std::string desktopNote;
    int backColor = 0;
    int fontColor = 0;
    std::function<void(int topic)> onHelp;

    // Each showing: the rows from the SettingsFile's [HotKey].
    void FormActivate(const std::string& settingsFile);
    // "Disable" of the show row: the hide row follows it, so hiding cannot outlive showing.
    void DBoxClick(int row, bool checked);
    // "Save and Close": [HotKey] written, the manager re-registered, the dialog closed.
    // onShowOff runs when the show row was saved disabled.
    void SaveClick(const std::string& settingsFile, THotKeyManager& manager,
                   const std::function<void()>& onShowOff);
    // The button: the main window's SaveClick with its SettingsFile and manager (onSave).
    std::function<void()> onSave;
    void SaveAndCloseClick() {
        if (onSave) {
            onSave();
        } else {
            closed_ = true;
        }
    }
    void CloseClick() { closed_ = true; }
    void HelpClick();
    bool Closed() const { return closed_; }

private:
    bool closed_ = true;
};

} // namespace lv
