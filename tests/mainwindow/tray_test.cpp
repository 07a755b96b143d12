// The tray: the launch behaviours on the window's model, the recent list as launches, erasing
// and restarts change it, entries whose bookmark went elsewhere, auto-run.
#include "launch_fakes.h"

#include "mainwindow/Launching.h"
#include "mainwindow/TaskTray.h"
#include "store/DataFile.h"
#include "support/DesktopFakes.h"

#include <gtest/gtest.h>

#include <algorithm>

using lvtest::FakeAutoStart;
using lvtest::FakeTrayIcon;
using lvtest::LaunchHarness;

namespace {

// A page of `count` bookmarks "Site n" at http://n.example/.
std::string Sites(int count, const std::string& page = "Page1") {
    std::string body = "[" + page + "]\r\n";
    for (int n = 1; n <= count; ++n) {
        const std::string slot = lv::SlotPrefix(n);
        body += slot + "N=Site " + std::to_string(n) + "\r\n" + slot + "U=http://" +
                std::to_string(n) + ".example/\r\n";
    }
    return body;
}

struct TrayHarness : LaunchHarness {
    FakeTrayIcon tray;
    FakeAutoStart autoStart;
    TrayHarness() {
        trayIcon = &tray;
        LaunchHarness::autoStart = &autoStart;
    }
    // Closing as the window does it.
    void Close() {
        form->FormCloseQuery(form->State().place);
        form->FormClose();
    }
    std::string LastLaunched() const {
        return launcher.starts.empty() ? std::string() : launcher.starts.back().argument;
    }
};

TEST(TrayRecent, LaunchesFillTheListTheMenuShowsTheNewestTen) {
    TrayHarness h;
    auto& form = h.Start(Sites(22));
    for (int n = 1; n <= 22; ++n) {
        form.ButtonClick(n);
    }
    const auto& entries = form.State().MruList1.Entries();
    ASSERT_EQ(entries.size(), 21u);
    EXPECT_EQ(entries.front().text, "Site 22  |Page1::22");
    ASSERT_EQ(h.tray.recent.size(), 10u);
    EXPECT_EQ(h.tray.recent.front(), "Site 22  |Page1::22");
    EXPECT_EQ(h.tray.recent.back(), "Site 13  |Page1::13");

    // The same bookmark again: one entry, at the top.
    form.ButtonClick(15);
    form.ButtonClick(15);
    EXPECT_EQ(form.State().MruList1.Entries().size(), 21u);
    EXPECT_EQ(h.tray.recent.front(), "Site 15  |Page1::15");
    EXPECT_EQ(h.tray.recent[1], "Site 22  |Page1::22");

    // A launch from the tray menu opens it and moves it up.
    form.MruList1Click("Site 20  |Page1::20");
    EXPECT_EQ(h.LastLaunched(), "http://20.example/");
    EXPECT_EQ(h.tray.recent.front(), "Site 20  |Page1::20");
}

TEST(TrayRecent, SurvivesARestartInItsSectionByteForByte) {
    TrayHarness h;
    auto& form = h.Start(Sites(2));
    form.ButtonClick(1);
    form.ButtonClick(2);
    h.Close();
    const std::string bytes = lvtest::ReadBytes(h.dir.File("Disk.LVD"));
    EXPECT_NE(
        bytes.find("\r\n[MRU]\r\nCount=2\r\n1=Site 2  |Page1::02\r\n2=Site 1  |Page1::01\r\n"),
        std::string::npos)
        << bytes;

    // Started again over the same files: the list, and nothing rewritten.
    lv::MainWindowPorts ports{h.dialogs, h.screen, h.clock, {}};
    ports.launcher = &h.launcher;
    ports.trayIcon = &h.tray;
    h.form = std::make_unique<lv::TForm1>(ports, h.ProgramDir());
    h.form->FormCreate({});
    EXPECT_EQ(h.tray.recent,
              (std::vector<std::string>{"Site 2  |Page1::02", "Site 1  |Page1::01"}));
    h.Close();
    EXPECT_EQ(lvtest::ReadBytes(h.dir.File("Disk.LVD")), bytes);
}

TEST(TrayRecent, ErasingABookmarkTakesItsEntryOffAtOnce) {
    TrayHarness h;
    auto& form = h.Start(Sites(3));
    form.ButtonClick(1);
    form.ButtonClick(2);
    h.editor = [](lv::TBConfigForm& editor) { editor.EraseClick(); };
    h.dialogs.Queue(lv::MsgResult::Yes);
    form.SetButtonParams(2);
    EXPECT_EQ(h.tray.recent, std::vector<std::string>{"Site 1  |Page1::01"});
    EXPECT_EQ(h.Read("MRU", "2"), "Site 1  |Page1::01") << "saved with the erase";
    // A launch without a title (the URL box) does not bring the erased entry back.
    form.URLBoxOpen("http://other.example/");
    EXPECT_EQ(h.tray.recent, std::vector<std::string>{"Site 1  |Page1::01"});
}

TEST(TrayRecent, AnEntryNeverLaunchesWhatItsSlotHoldsNow) {
    TrayHarness h;
    auto& form = h.Start(Sites(2));
    form.ButtonClick(1);
    form.ButtonClick(2);
    // Behind the list's back (another program, an older copy): Site 1 moves to slot 05, slot 01
    // gets another bookmark, and Site 2 is erased from the file.
    {
        lv::TIniFile32 ini(h.dir.File("Disk.LVD"));
        ini.WriteString("Page1", "01N", "Stranger");
        ini.WriteString("Page1", "01U", "http://stranger.example/");
        ini.WriteString("Page1", "05N", "Site 1");
        ini.WriteString("Page1", "05U", "http://1.example/");
        ini.DeleteKey("Page1", "02N");
        ini.DeleteKey("Page1", "02U");
    }
    form.MruList1Click("Site 1  |Page1::01");
    EXPECT_EQ(h.LastLaunched(), "http://1.example/");
    EXPECT_EQ(h.tray.recent.front(), "Site 1  |Page1::05") << "recorded where it is now";
    EXPECT_EQ(std::count(h.tray.recent.begin(), h.tray.recent.end(), "Site 1  |Page1::01"), 0);

    const std::size_t starts = h.launcher.starts.size();
    form.MruList1Click("Site 2  |Page1::02");
    EXPECT_EQ(h.launcher.starts.size(), starts) << "nothing launched for a bookmark that is gone";
    ASSERT_FALSE(h.dialogs.Messages().empty());
    EXPECT_NE(h.dialogs.Messages().back().text.find(lv::kRecentGoneText), std::string::npos);
    EXPECT_EQ(h.tray.recent, std::vector<std::string>{"Site 1  |Page1::05"});
}

TEST(TrayModes, ModeItemsExcludeEachOtherAndAreStored) {
    TrayHarness h;
    auto& form = h.Start(Sites(1));
    form.MStartSmallClick();
    form.MStartBarClick();
    EXPECT_FALSE(form.State().checks.trayTray);
    EXPECT_TRUE(form.State().checks.trayBar);
    EXPECT_EQ(h.Setting("Location", "Tray"), "Bar");
    form.MStartBarClick();
    EXPECT_FALSE(form.State().checks.trayBar);
    EXPECT_EQ(h.Setting("Location", "Tray"), "No");

    form.MMiniClick();
    EXPECT_EQ(form.State().place.height, lv::kMiniHeight);
    EXPECT_TRUE(form.State().place.stayOnTop);
    form.MStartSmallClick();
    EXPECT_EQ(form.State().place.height, lv::kWindowHeight);
    EXPECT_FALSE(form.State().place.stayOnTop);
    EXPECT_EQ(h.Setting("Location", "Tray"), "Yes");
}

TEST(TrayModes, HiddenModeNeedsAWayBack) {
    struct Case {
        bool hotKey;
        bool tray;
        bool checked;
        std::string told; // empty: nothing
    };
    const std::vector<Case> cases = {
        {true, false, true, "Your HotKey for unhiding the program is: Ctrl F12"},
        {false, true, true, ""},
        {false, false, false, "Please configure HotKeys "},
    };
    for (const Case& c : cases) {
        TrayHarness h;
        h.tray.available = c.tray;
        h.showHotKeyRegistered = [&c] { return c.hotKey; };
        auto& form = h.Start(Sites(1));
        lv::TIniFile32(h.dir.File("lvd.ini")).WriteString("HotKey", "Key2", "F12");
        form.MHideClick();
        EXPECT_EQ(form.State().checks.trayHide, c.checked) << c.told;
        if (c.told.empty()) {
            EXPECT_TRUE(h.dialogs.Messages().empty());
        } else {
            ASSERT_EQ(h.dialogs.Messages().size(), 1u);
            EXPECT_EQ(h.dialogs.Messages()[0].text, c.told);
        }
        if (!c.checked) {
            continue;
        }
        // A launch hides the window; without a working hotkey the tray icon stays to bring it
        // back.
        form.ButtonClick(1);
        EXPECT_FALSE(form.State().place.visible);
        EXPECT_EQ(h.tray.shown, !c.hotKey);
        form.RestoreFromTray();
        EXPECT_TRUE(form.State().place.visible);
        EXPECT_FALSE(h.tray.shown);
    }
}

TEST(TrayModes, TrayModeHidesTheWindowBehindTheIconWithTheNotesAsTip) {
    TrayHarness h;
    const std::string notes(70, 'n');
    auto& form = h.Start("[Page1]\r\n01N=A\r\n01U=http://a.example/\r\n01P=" + notes +
                         "\r\n02N=B\r\n02U=http://b.example/\r\n");
    form.MStartSmallClick();
    form.ButtonClick(1);
    EXPECT_FALSE(form.State().place.visible);
    EXPECT_TRUE(h.tray.shown);
    EXPECT_EQ(h.tray.tip, notes.substr(0, 63));
    form.RestoreFromTray();
    EXPECT_EQ(h.tray.tip, "Linkvane");
    form.ButtonClick(2);
    EXPECT_EQ(h.tray.tip, "Linkvane") << "a bookmark without notes";

    // No notification area: the tray mode minimises instead of hiding the window for good.
    form.RestoreFromTray();
    h.tray.available = false;
    form.ButtonClick(1);
    EXPECT_TRUE(form.State().place.visible);
    EXPECT_TRUE(form.State().place.minimized);
}

TEST(TrayModes, ASearchLaunchLeavesTheWindowButTheMiniStripShrinks) {
    TrayHarness h;
    auto& form = h.Start(Sites(1));
    lv::MainWindowPorts ports{h.dialogs, h.screen, h.clock, {}};
    ports.launcher = &h.launcher;
    ports.trayIcon = &h.tray;
    const auto searchLaunch = [&] {
        form.State().CurrentButtonName = "B01";
        lv::Launching(form.State(), ports).Launch("Page1", "http://1.example/", {false, true});
    };
    form.MStartSmallClick();
    searchLaunch();
    EXPECT_TRUE(form.State().place.visible);
    EXPECT_FALSE(h.tray.shown);
    EXPECT_EQ(h.tray.recent.front(), "Site 1  |Page1::01") << "recorded all the same";

    form.MMiniClick();
    form.TabSet1MouseDown(lv::TabButton::Left, 0); // leaves the strip
    EXPECT_EQ(form.State().place.height, lv::kWindowHeight);
    searchLaunch();
    EXPECT_EQ(form.State().place.height, lv::kMiniHeight);
    EXPECT_TRUE(form.State().place.stayOnTop);
}

TEST(TrayAutoRun, TheItemSwitchesTheEntryAndTheSetting) {
    TrayHarness h;
    auto& form = h.Start(Sites(1));
    EXPECT_TRUE(h.autoStart.applied.empty()) << "off: start-up leaves the desktop alone";
    form.MAutoRunClick();
    EXPECT_TRUE(h.autoStart.on);
    EXPECT_EQ(h.Setting("AutoRun", "Load"), "Yes");
    form.MAutoRunClick();
    EXPECT_FALSE(h.autoStart.on);
    EXPECT_EQ(h.Setting("AutoRun", "Load"), "No");
    EXPECT_EQ(h.autoStart.applied, (std::vector<bool>{true, false}));
}

} // namespace
