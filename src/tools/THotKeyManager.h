#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace lv {

class GlobalHotKeys;

// The key-name table: index 0 is the empty name, 1..60 real keys, 61 "OFF".
inline constexpr int kHotKeyNameCount = 62;
inline constexpr int kHotKeyOffIndex = 61;
// The index of a key name, matched without regard to letter case; anything else is "OFF".
int HotKeyIndex(std::string_view name);
std::string_view HotKeyName(int index);
// The virtual-key code of a table index, 0 for the empty name and "OFF".
int HotKeyVirtualKey(int index);
// Modifier values (Shift 1, Alt 2, Ctrl 4) and their texts: "Ctrl,Alt,Shift" and so on. A text
// that is not exactly one of the eight gives 0.
std::string_view HotKeyModifierText(int value);
int HotKeyModifierValue(std::string_view text);

// The six hotkeys of the program, registered with the desktop. Each item holds a key of the
// table, its modifiers and its action; it is registered whenever either changes.
class THotKeyManager {
public:
    enum Item { AddBookmark, HideLinkvane, ShowLinkvane, SearchNet, WebImport, OpenFile };
    static constexpr int kCount = 6;
    static constexpr int kIdBase = 0xA000;
    static constexpr std::array<std::string_view, kCount> kItemNames{
        "AddBookmark", "HideLinkvane", "ShowLinkvane", "SearchNet", "WebImport", "OpenFile"};

    // A null port registers nothing (every key stays unregistered).
    explicit THotKeyManager(GlobalHotKeys* desktop);
    ~THotKeyManager();
    THotKeyManager(const THotKeyManager&) = delete;
    THotKeyManager& operator=(const THotKeyManager&) = delete;

    void SetAction(int item, std::function<void()> action);
    // Key text (matched in the table) and modifier value; registers the item again.
    void SetHotKey(int item, std::string_view key, int modifiers);
    int KeyIndex(int item) const { return items_.at(static_cast<std::size_t>(item)).key; }
    int Modifiers(int item) const { return items_.at(static_cast<std::size_t>(item)).modifiers; }
    // The registration identifier, 0 while the item is not registered.
    int Id(int item) const { return items_.at(static_cast<std::size_t>(item)).id; }
    // The desktop took the item's key, though it may still be asking the user to confirm it.
    bool Requested(int item) const { return Id(item) != 0; }
    // True only while the desktop really holds the item's key for us.
    bool Registered(int item) const;

    // What each item does, as the desktop may show it beside the key.
    static constexpr std::array<std::string_view, kCount> kItemTexts{
        "Add Bookmark", "Hide Linkvane",   "Show Linkvane",
        "Show Search",  "Import Web Page", "Open Linkvane File"};

    // SetHotKeys: all six from the SettingsFile's [HotKey]; a hotkey not switched "On" gets no
    // key. onShowOff runs when the show hotkey ends up without a key (hidden mode cannot stay),
    // also later, when a desktop that confirms keys afterwards does not hold it.
    void SetHotKeys(const std::string& settingsFile);
    std::function<void()> onShowOff;
    // Runs after onShowOff when the desktop turned the show key down after the fact.
    std::function<void()> onShowLost;

    // A key press reported by the desktop: runs the item's action. False for an unknown id.
    bool HotKeyPressed(int id);
    // The desktop changed what it holds (it answered a registration later): a show key it
    // turned down ends hidden mode through onShowOff. The manager hands this to the desktop
    // itself; a front end that must see the change through its own dispatch may hand it on.
    void HoldingsChanged();

    GlobalHotKeys* Desktop() const { return desktop_; }

private:
    struct HotKeyItem {
        int key = kHotKeyOffIndex;
        int modifiers = 0;
        int id = 0;
        std::function<void()> action;
    };
    void RegisterItem(int item);

    GlobalHotKeys* desktop_;
    std::array<HotKeyItem, kCount> items_;
};

} // namespace lv
