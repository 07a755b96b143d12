#include "tools/THotKeyManager.h"

#include "platform/GlobalHotKeys.h"
#include "store/Settings.h"
#include "store/TIniFile32.h"

#include <algorithm>
#include <cctype>

namespace lv {

namespace {

struct KeyName {
    std::string_view name;
    int virtualKey;
};

constexpr std::array<KeyName, 26> kNamedKeys{
    {{"F1", 0x70},    {"F2", 0x71},     {"F3", 0x72},      {"F4", 0x73},        {"F5", 0x74},
     {"F6", 0x75},    {"F7", 0x76},     {"F8", 0x77},      {"F9", 0x78},        {"F10", 0x79},
     {"F11", 0x7A},   {"F12", 0x7B},    {"Up", 0x26},      {"Down", 0x28},      {"Left", 0x25},
     {"Right", 0x27}, {"Escape", 0x1B}, {"Tab", 0x09},     {"Insert", 0x2D},    {"Delete", 0x2E},
     {"Home", 0x24},  {"End", 0x23},    {"Page up", 0x21}, {"Page down", 0x22}, {"OFF", 0},
     {"", 0}}};

constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kDigits = "1234567890";

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::toupper(x) == std::toupper(y);
           });
}

constexpr std::array<std::string_view, 8> kModifierTexts{
    "", "Shift", "Alt", "Alt,Shift", "Ctrl", "Ctrl,Shift", "Ctrl,Alt", "Ctrl,Alt,Shift"};

} // namespace

std::string_view HotKeyName(int index) {
    if (index >= 1 && index <= 26) {
        return kLetters.substr(static_cast<std::size_t>(index - 1), 1);
    }
    if (index >= 27 && index <= 36) {
        return kDigits.substr(static_cast<std::size_t>(index - 27), 1);
    }
    if (index >= 37 && index <= kHotKeyOffIndex) {
        return kNamedKeys[static_cast<std::size_t>(index - 37)].name;
    }
    return {};
}

int HotKeyIndex(std::string_view name) {
    // Index 0, the empty name, is never the result: an empty text is "OFF" too.
    for (int i = 1; i < kHotKeyOffIndex; ++i) {
        if (SameText(HotKeyName(i), name)) {
            return i;
        }
    }
    return kHotKeyOffIndex;
}

int HotKeyVirtualKey(int index) {
    if (index >= 1 && index <= 26) {
        return 'A' + index - 1;
    }
    if (index >= 27 && index <= 35) {
        return '1' + index - 27;
    }
    if (index == 36) {
        return '0';
    }
    if (index >= 37 && index < kHotKeyOffIndex) {
        return kNamedKeys[static_cast<std::size_t>(index - 37)].virtualKey;
    }
    return 0;
}

std::string_view HotKeyModifierText(int value) {
    return value >= 0 && value < 8 ? kModifierTexts[static_cast<std::size_t>(value)] : "";
}

int HotKeyModifierValue(std::string_view text) {
    for (std::size_t i = 0; i < kModifierTexts.size(); ++i) {
        if (kModifierTexts[i] == text) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

THotKeyManager::THotKeyManager(GlobalHotKeys* desktop) : desktop_(desktop) {
    if (desktop_ != nullptr) {
        desktop_->SetHoldingsHandler([this] { HoldingsChanged(); });
    }
}

THotKeyManager::~THotKeyManager() {
    if (desktop_ == nullptr) {
        return;
    }
    desktop_->SetHoldingsHandler(nullptr);
    for (const HotKeyItem& item : items_) {
        if (item.id != 0) {
            desktop_->Unregister(item.id);
        }
    }
}

void THotKeyManager::HoldingsChanged() {
    if (!Requested(ShowLinkvane) || Registered(ShowLinkvane)) {
        return;
    }
    if (onShowOff) {
        onShowOff();
    }
    if (onShowLost) {
        onShowLost();
    }
}

bool THotKeyManager::Registered(int item) const {
    const int id = Id(item);
    return id != 0 && desktop_ != nullptr && desktop_->Holds(id);
}

void THotKeyManager::SetAction(int item, std::function<void()> action) {
    items_.at(static_cast<std::size_t>(item)).action = std::move(action);
}

void THotKeyManager::SetHotKey(int item, std::string_view key, int modifiers) {
    HotKeyItem& entry = items_.at(static_cast<std::size_t>(item));
    entry.key = HotKeyIndex(key);
    entry.modifiers = modifiers & 7;
    RegisterItem(item);
}

void THotKeyManager::RegisterItem(int item) {
    HotKeyItem& entry = items_[static_cast<std::size_t>(item)];
    if (entry.id != 0) {
        if (desktop_ != nullptr) {
            desktop_->Unregister(entry.id);
        }
        entry.id = 0;
    }
    const int virtualKey = HotKeyVirtualKey(entry.key);
    if (virtualKey == 0 || desktop_ == nullptr) {
        return;
    }
    const int id = kIdBase + item;
    desktop_->Describe(id, std::string(kItemTexts[static_cast<std::size_t>(item)]));
    // A combination another program holds is refused by the desktop; the item then stays
    // unregistered, so that nothing counts on a key that never arrives.
    if (desktop_->Register(id, entry.modifiers, virtualKey)) {
        entry.id = id;
    }
}

void THotKeyManager::SetHotKeys(const std::string& settingsFile) {
    const TIniFile32 ini(settingsFile);
    for (int i = 0; i < kCount; ++i) {
        const std::string n = std::to_string(i);
        std::string key = ini.ReadString(settings::kHotKeySection, "Key" + n,
                                         std::string(settings::DefaultHotKey(i)));
        int modifiers = HotKeyModifierValue(ini.ReadString(
            settings::kHotKeySection, "Shift" + n, std::string(settings::DefaultHotKeyShift(i))));
        if (ini.ReadString(settings::kHotKeySection, "D" + n, "Off") == "Off") {
            key.clear();
            modifiers = 0;
        }
        SetHotKey(i, key, modifiers);
    }
    // A key the desktop still has to confirm counts for now; its answer comes through the
    // holdings handler.
    if (!Requested(ShowLinkvane) && onShowOff) {
        onShowOff();
    }
}

bool THotKeyManager::HotKeyPressed(int id) {
    for (HotKeyItem& item : items_) {
        if (item.id != 0 && item.id == id) {
            if (item.action) {
                const std::function<void()> action = item.action; // it may replace itself
                action();
            }
            return true;
        }
    }
    return false;
}

} // namespace lv
