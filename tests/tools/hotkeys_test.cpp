#include "support/FakeGlobalHotKeys.h"
#include "support/TempDir.h"

#include "platform/GlobalHotKeys.h"
#include "store/TIniFile32.h"
#include "tools/THotKeyForm.h"
#include "tools/THotKeyManager.h"

#include <gtest/gtest.h>

namespace {

using lv::THotKeyForm;
using lv::THotKeyManager;
using lvtest::FakeGlobalHotKeys;

TEST(HotKeyTable, NamesIndexesAndVirtualKeys) {
    struct Case {
        const char* name;
        int index;
        int virtualKey;
    };
    const Case cases[] = {
        {"A", 1, 0x41},     {"z", 26, 0x5A},       {"1", 27, 0x31},         {"9", 35, 0x39},
        {"0", 36, 0x30},    {"F1", 37, 0x70},      {"f12", 48, 0x7B},       {"Up", 49, 0x26},
        {"Down", 50, 0x28}, {"LEFT", 51, 0x25},    {"Right", 52, 0x27},     {"escape", 53, 0x1B},
        {"Tab", 54, 0x09},  {"Insert", 55, 0x2D},  {"Delete", 56, 0x2E},    {"Home", 57, 0x24},
        {"End", 58, 0x23},  {"page UP", 59, 0x21}, {"Page down", 60, 0x22}, {"OFF", 61, 0},
        {"", 61, 0},        {"F13", 61, 0},        {"PageUp", 61, 0},       {" A", 61, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lv::HotKeyIndex(c.name), c.index);
        EXPECT_EQ(lv::HotKeyVirtualKey(c.index), c.virtualKey);
    }
    EXPECT_EQ(lv::HotKeyVirtualKey(0), 0);
    EXPECT_EQ(lv::HotKeyName(59), "Page up");
    // The dialog's list: every real key but Escape, which is only typed.
    for (std::string_view name : THotKeyForm::kKeyList) {
        EXPECT_NE(lv::HotKeyVirtualKey(lv::HotKeyIndex(name)), 0) << name;
        EXPECT_NE(name, "Escape");
    }
}

// What a desktop portal is asked for: every key of the table has a keysym name.
TEST(HotKeyTable, ShortcutTriggers) {
    const int ctrlAlt = lv::kHotKeyCtrl | lv::kHotKeyAlt;
    EXPECT_EQ(lv::ShortcutTriggerOf(ctrlAlt, 0x79), "CTRL+ALT+F10");
    EXPECT_EQ(lv::ShortcutTriggerOf(lv::kHotKeyShift, 0x41), "SHIFT+a");
    EXPECT_EQ(lv::ShortcutTriggerOf(7, 0x30), "CTRL+ALT+SHIFT+0");
    EXPECT_EQ(lv::ShortcutTriggerOf(lv::kHotKeyCtrl, 0x21), "CTRL+Page_Up");
    EXPECT_EQ(lv::ShortcutTriggerOf(0, 0x1B), "Escape");
    EXPECT_EQ(lv::ShortcutTriggerOf(ctrlAlt, 0), "");
    for (int index = 1; index < lv::kHotKeyOffIndex; ++index) {
        const std::string trigger = lv::ShortcutTriggerOf(0, lv::HotKeyVirtualKey(index));
        EXPECT_FALSE(trigger.empty()) << lv::HotKeyName(index);
        EXPECT_EQ(trigger.find('+'), std::string::npos) << trigger;
    }
}

TEST(HotKeyTable, ModifierTextsAreExact) {
    const char* texts[] = {"",     "Shift",      "Alt",      "Alt,Shift",
                           "Ctrl", "Ctrl,Shift", "Ctrl,Alt", "Ctrl,Alt,Shift"};
    for (int value = 0; value < 8; ++value) {
        EXPECT_EQ(lv::HotKeyModifierText(value), texts[value]);
        EXPECT_EQ(lv::HotKeyModifierValue(texts[value]), value);
    }
    for (const char* other : {"Shift,Ctrl", "ctrl", "Ctrl, Alt", "Alt,Ctrl"}) {
        EXPECT_EQ(lv::HotKeyModifierValue(other), 0) << other;
    }
}

struct HotKeys : ::testing::Test {
    lvtest::TempDir dir;
    std::string settings = dir.File("lvd.ini");
    FakeGlobalHotKeys desktop;

    void Store(const std::vector<std::pair<std::string, std::string>>& keys) {
        lv::TIniFile32 ini(settings);
        for (const auto& [key, value] : keys) {
            ini.WriteString("HotKey", key, value);
        }
    }
    std::string Stored(const std::string& key) {
        return lv::TIniFile32(settings).ReadString("HotKey", key, "<missing>");
    }
};

TEST_F(HotKeys, FreshInstallationRegistersNoneAndShowsEveryRowDisabled) {
    THotKeyManager manager(&desktop);
    int showOff = 0;
    manager.onShowOff = [&] { ++showOff; };
    manager.SetHotKeys(settings);
    EXPECT_TRUE(desktop.Registered().empty());
    EXPECT_FALSE(manager.Registered(THotKeyManager::ShowLinkvane));
    EXPECT_EQ(showOff, 1);

    THotKeyForm form;
    form.FormActivate(settings);
    for (const THotKeyForm::Row& row : form.rows) {
        EXPECT_TRUE(row.disable);
        EXPECT_EQ(row.key, "");
        EXPECT_FALSE(row.ctrl || row.alt || row.shift);
    }
}

TEST_F(HotKeys, SavedShowKeyIsStoredRegisteredAndRestores) {
    THotKeyManager manager(&desktop);
    manager.SetHotKeys(settings);
    int shown = 0;
    manager.SetAction(THotKeyManager::ShowLinkvane, [&] { ++shown; });
    desktop.SetHandler([&](int id) { manager.HotKeyPressed(id); });

    THotKeyForm form;
    form.FormActivate(settings);
    form.rows[2] = {true, true, false, "F10", false};
    form.SaveClick(settings, manager, nullptr);

    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(Stored("Key2"), "F10");
    EXPECT_EQ(Stored("Shift2"), "Ctrl,Alt");
    EXPECT_EQ(Stored("D2"), "On");
    EXPECT_EQ(Stored("D0"), "Off");
    EXPECT_TRUE(manager.Registered(THotKeyManager::ShowLinkvane));
    ASSERT_EQ(desktop.Registered().size(), 1u);
    EXPECT_EQ(desktop.Registered().begin()->first, 0xA002);
    EXPECT_TRUE(desktop.Press(lv::kHotKeyCtrl | lv::kHotKeyAlt, 0x79));
    EXPECT_EQ(shown, 1);

    // The next start loads the same key.
    FakeGlobalHotKeys again;
    THotKeyManager restarted(&again);
    restarted.SetHotKeys(settings);
    EXPECT_EQ(again.Registered().at(0xA002), (FakeGlobalHotKeys::Key{6, 0x79}));
}

TEST_F(HotKeys, DisablingShowAlsoDisablesHideAndUnregisters) {
    Store({{"Key1", "H"},
           {"Shift1", "Ctrl"},
           {"D1", "On"},
           {"Key2", "S"},
           {"Shift2", "Ctrl"},
           {"D2", "On"}});
    THotKeyManager manager(&desktop);
    manager.SetHotKeys(settings);
    ASSERT_EQ(desktop.Registered().size(), 2u);

    THotKeyForm form;
    form.FormActivate(settings);
    EXPECT_FALSE(form.rows[1].disable);
    form.DBoxClick(2, true);
    EXPECT_TRUE(form.rows[1].disable);
    int showOff = 0;
    form.SaveClick(settings, manager, [&] { ++showOff; });
    EXPECT_EQ(Stored("D1"), "Off");
    EXPECT_EQ(Stored("D2"), "Off");
    EXPECT_EQ(Stored("Key2"), "S"); // the key stays stored for later
    EXPECT_EQ(showOff, 1);
    EXPECT_TRUE(desktop.Registered().empty());
}

TEST_F(HotKeys, LoadingTakesStoredKeysAsTheyAre) {
    // A modifier text in another order means no modifiers; a typed name in any case is found.
    Store({{"Key0", "a"},
           {"Shift0", "Shift,Ctrl"},
           {"D0", "On"},
           {"Key5", "escape"},
           {"Shift5", "Ctrl,Shift"},
           {"D5", "On"},
           {"Key3", "Q"},
           {"Shift3", "Alt"}});
    THotKeyManager manager(&desktop);
    manager.SetHotKeys(settings);
    const std::map<int, FakeGlobalHotKeys::Key> expected{{0xA000, {0, 0x41}}, {0xA005, {5, 0x1B}}};
    EXPECT_EQ(desktop.Registered(), expected); // row 3 has no "D3" = "On"
}

TEST_F(HotKeys, MissingKeyForEnabledShowRowIsCtrlF10) {
    Store({{"D2", "On"}});
    THotKeyManager manager(&desktop);
    manager.SetHotKeys(settings);
    EXPECT_EQ(desktop.Registered().at(0xA002), (FakeGlobalHotKeys::Key{4, 0x79}));
}

TEST_F(HotKeys, RefusedCombinationCountsAsNotRegistered) {
    desktop.TakenElsewhere(lv::kHotKeyCtrl, 0x79);
    Store({{"Key2", "F10"}, {"Shift2", "Ctrl"}, {"D2", "On"}});
    THotKeyManager manager(&desktop);
    int showOff = 0;
    manager.onShowOff = [&] { ++showOff; };
    manager.SetHotKeys(settings);
    EXPECT_FALSE(manager.Registered(THotKeyManager::ShowLinkvane));
    EXPECT_EQ(manager.Id(THotKeyManager::ShowLinkvane), 0);
    EXPECT_EQ(showOff, 1);
    EXPECT_FALSE(manager.HotKeyPressed(0xA002));
}

TEST_F(HotKeys, ManagerReleasesItsKeysAndIgnoresUnknownIds) {
    Store({{"Key4", "F5"}, {"D4", "On"}});
    {
        THotKeyManager manager(&desktop);
        manager.SetHotKeys(settings);
        EXPECT_EQ(desktop.Registered().size(), 1u);
        EXPECT_FALSE(manager.HotKeyPressed(0xA003));
        EXPECT_TRUE(manager.HotKeyPressed(0xA004)); // no action: handled all the same
    }
    EXPECT_TRUE(desktop.Registered().empty());
}

TEST_F(HotKeys, ShowingAgainForgetsUnsavedChanges) {
    Store({{"Key0", "B"}, {"Shift0", "Ctrl"}, {"D0", "On"}});
    THotKeyForm form;
    form.FormActivate(settings);
    EXPECT_TRUE(form.rows[0].ctrl);
    form.rows[0].ctrl = false;
    form.rows[1].alt = true;
    form.rows[1].disable = false;
    form.CloseClick();
    form.FormActivate(settings);
    EXPECT_TRUE(form.rows[0].ctrl);
    EXPECT_FALSE(form.rows[1].alt);
    EXPECT_TRUE(form.rows[1].disable);
}

TEST_F(HotKeys, NoDesktopRegistersNothing) {
    Store({{"Key2", "F10"}, {"Shift2", "Ctrl"}, {"D2", "On"}});
    THotKeyManager manager(nullptr);
    manager.SetHotKeys(settings);
    EXPECT_FALSE(manager.Registered(THotKeyManager::ShowLinkvane));
    lv::NoGlobalHotKeys none("none here");
    THotKeyManager refused(&none);
    refused.SetHotKeys(settings);
    EXPECT_FALSE(refused.Registered(THotKeyManager::ShowLinkvane));
}

} // namespace
