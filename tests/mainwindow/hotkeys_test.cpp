// The main window's global hotkeys: loading at start-up, the dialog, the hide and show keys.
#include "Harness.h"
#include "support/FakeGlobalHotKeys.h"

#include "store/TIniFile32.h"
#include "tools/THotKeyForm.h"

#include <gtest/gtest.h>

#include <functional>

namespace lvtest {
namespace {

struct HotKeyHarness : MainWindowHarness {
    FakeGlobalHotKeys desktop;
    std::function<void(lv::THotKeyForm&)> dialog;
    // The window releases its keys before the desktop goes.
    ~HotKeyHarness() { form.reset(); }

    lv::TForm1& Open() {
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.hotKeys = &desktop;
        ports.hotKeyForm = [this](lv::THotKeyForm& f) {
            ASSERT_TRUE(dialog);
            dialog(f);
        };
        form = std::make_unique<lv::TForm1>(ports, ProgramDir());
        desktop.SetHandler([this](int id) { form->HotKeyMgr().HotKeyPressed(id); });
        form->FormCreate({});
        return *form;
    }
};

TEST(MainWindowHotKeys, FreshStartRegistersNone) {
    HotKeyHarness h;
    lv::TForm1& form = h.Open();
    EXPECT_TRUE(h.desktop.Registered().empty());
    EXPECT_FALSE(form.HotKeyMgr().Registered(lv::THotKeyManager::ShowLinkvane));
    // Without a show key the hide key does nothing: the window could not come back.
    form.HotKeyHide();
    EXPECT_TRUE(form.State().place.visible);
}

TEST(MainWindowHotKeys, DialogSetsShowKeyThatBringsTheHiddenWindowBack) {
    HotKeyHarness h;
    lv::TForm1& form = h.Open();
    h.dialog = [](lv::THotKeyForm& f) {
        EXPECT_TRUE(f.available);
        f.rows[1] = {true, true, false, "F9", false};
        f.rows[2] = {true, true, false, "F10", false};
        f.SaveAndCloseClick();
    };
    form.MHotkeysClick();
    EXPECT_TRUE(form.HotKeyForm().Closed());
    EXPECT_TRUE(form.HotKeyMgr().Registered(lv::THotKeyManager::ShowLinkvane));
    const int ctrlAlt = lv::kHotKeyCtrl | lv::kHotKeyAlt;
    ASSERT_TRUE(h.desktop.Press(ctrlAlt, 0x78)); // F9 hides
    EXPECT_FALSE(form.State().place.visible);
    ASSERT_TRUE(h.desktop.Press(ctrlAlt, 0x79)); // F10 shows
    EXPECT_TRUE(form.State().place.visible);
    EXPECT_FALSE(form.State().place.minimized);
    EXPECT_EQ(lv::TIniFile32(form.State().SettingsFile()).ReadString("HotKey", "Shift2", ""),
              "Ctrl,Alt");
}

TEST(MainWindowHotKeys, DisablingTheShowKeyLeavesHiddenMode) {
    HotKeyHarness h;
    lv::TForm1& form = h.Open();
    h.dialog = [](lv::THotKeyForm& f) {
        f.rows[2] = {true, false, false, "F10", false};
        f.SaveAndCloseClick();
    };
    form.MHotkeysClick();
    form.State().checks.trayHide = true;
    h.dialog = [](lv::THotKeyForm& f) {
        EXPECT_FALSE(f.rows[2].disable);
        f.DBoxClick(2, true);
        f.SaveAndCloseClick();
    };
    form.MHotkeysClick();
    EXPECT_FALSE(form.State().checks.trayHide);
    EXPECT_TRUE(h.desktop.Registered().empty());
}

// A desktop that asks its user before it grants a key (the Wayland portal): hidden mode is kept
// while the answer is out, the hide key waits for it, and a refusal ends hidden mode.
TEST(MainWindowHotKeys, KeysConfirmedLaterCountOnlyOnceHeld) {
    HotKeyHarness h;
    h.desktop.confirmLater = true;
    h.desktop.note = "The desktop asks first.";
    lv::TIniFile32 settings(h.ProgramDir() + "lvd.ini");
    settings.WriteString("HotKey", "D1", "On");
    settings.WriteString("HotKey", "D2", "On");
    settings.WriteString("HotKey", "Key1", "F9");
    settings.WriteString("HotKey", "Key2", "F10");
    settings.WriteString("HotKey", "Shift1", "Ctrl,Alt");
    settings.WriteString("HotKey", "Shift2", "Ctrl,Alt");
    settings.WriteString("Location", "Tray", "Hide");
    settings.UpdateFile();
    lv::TForm1& form = h.Open();
    const int show = lv::THotKeyManager::kIdBase + lv::THotKeyManager::ShowLinkvane;
    const int hide = lv::THotKeyManager::kIdBase + lv::THotKeyManager::HideLinkvane;
    EXPECT_EQ(h.desktop.descriptions[show], "Show Linkvane");
    EXPECT_TRUE(form.State().checks.trayHide);
    EXPECT_FALSE(form.HotKeyMgr().Registered(lv::THotKeyManager::ShowLinkvane));
    const int ctrlAlt = lv::kHotKeyCtrl | lv::kHotKeyAlt;
    ASSERT_TRUE(h.desktop.Press(ctrlAlt, 0x78));
    EXPECT_TRUE(form.State().place.visible) << "hidden before the way back was granted";

    h.dialog = [](lv::THotKeyForm& f) {
        EXPECT_TRUE(f.available);
        EXPECT_EQ(f.desktopNote, "The desktop asks first.");
        f.CloseClick();
    };
    form.MHotkeysClick();
    h.desktop.Answer(show, true);
    h.desktop.Answer(hide, true);
    EXPECT_TRUE(form.State().checks.trayHide);
    ASSERT_TRUE(h.desktop.Press(ctrlAlt, 0x78));
    EXPECT_FALSE(form.State().place.visible);
    ASSERT_TRUE(h.desktop.Press(ctrlAlt, 0x79));
    EXPECT_TRUE(form.State().place.visible);

    // Taken back while the window is hidden: the window comes back.
    ASSERT_TRUE(h.desktop.Press(ctrlAlt, 0x78));
    EXPECT_FALSE(form.State().place.visible);
    h.desktop.Answer(show, false);
    EXPECT_FALSE(form.State().checks.trayHide);
    EXPECT_FALSE(form.HotKeyMgr().Registered(lv::THotKeyManager::ShowLinkvane));
    EXPECT_TRUE(form.State().place.visible);
}

TEST(MainWindowHotKeys, WithoutDesktopHotKeysTheDialogSaysSo) {
    // The desktop outlives the window, as in the program.
    lv::NoGlobalHotKeys none("This desktop offers no global hotkeys.");
    MainWindowHarness h;
    lv::MainWindowPorts ports{h.dialogs, h.screen, h.clock, {}};
    ports.hotKeys = &none;
    bool shown = false;
    ports.hotKeyForm = [&](lv::THotKeyForm& f) {
        shown = true;
        EXPECT_FALSE(f.available);
        EXPECT_EQ(f.unavailableText, "This desktop offers no global hotkeys.");
        f.CloseClick();
    };
    h.form = std::make_unique<lv::TForm1>(ports, h.ProgramDir());
    h.form->FormCreate({});
    h.form->MHotkeysClick();
    EXPECT_TRUE(shown);
}

} // namespace
} // namespace lvtest
