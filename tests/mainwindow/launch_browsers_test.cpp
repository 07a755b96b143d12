// The browser list: choosing, adding and removing browsers, the window mode, and the browsers
// found at start-up.
#include "launch_fakes.h"

#include "mainwindow/BrowserList.h"

#include <gtest/gtest.h>

using lvtest::LaunchHarness;

namespace {

TEST(BrowserList, MenuFollowsTheSettingsAndAChoiceIsWrittenBack) {
    LaunchHarness h;
    auto& form = h.Start("", 2);
    EXPECT_EQ(form.State().browserMenu, (std::vector<std::string>{h.Browser(1), h.Browser(2)}));
    EXPECT_EQ(form.State().browserTicked, 0);

    form.ChangeBrowser(1);
    EXPECT_EQ(form.State().browserTicked, 1);
    EXPECT_EQ(form.State().BrowserPath, h.Browser(2));
    EXPECT_EQ(h.Setting("Browser", "Selected"), "2");
    form.Launch("", "http://a/");
    ASSERT_EQ(h.launcher.starts.size(), 1u);
    EXPECT_EQ(h.launcher.starts[0].program, h.Browser(2));
}

TEST(BrowserList, RemovingTheSelectedBrowserRenumbersAndMakesBrowserOneCurrent) {
    LaunchHarness h;
    auto& form = h.Start("", 3);
    form.ChangeBrowser(1);
    h.dialogs.Queue(1); // Remove
    h.dialogs.Queue(lv::MsgResult::Yes);
    form.AddBrowserClick();
    EXPECT_EQ(h.dialogs.Asked().at(1), "Message: Are you sure you want to delete [ browser2 ] "
                                       "from the browser list?");
    EXPECT_EQ(h.Setting("Browser", "Count"), "2");
    EXPECT_EQ(h.Setting("Browser", "Selected"), "1");
    EXPECT_EQ(h.Setting("Browser", "1"), h.Browser(1));
    EXPECT_EQ(h.Setting("Browser", "2"), h.Browser(3));
    EXPECT_EQ(h.Setting("Browser", "3"), "<none>");
    EXPECT_EQ(form.State().browserMenu, (std::vector<std::string>{h.Browser(1), h.Browser(3)}));
    EXPECT_EQ(form.State().browserTicked, 0);
    form.Launch("", "http://a/");
    EXPECT_EQ(h.launcher.starts.at(0).program, h.Browser(1));

    // "No" and "Ignore" change nothing.
    h.dialogs.Queue(1);
    h.dialogs.Queue(lv::MsgResult::No);
    form.AddBrowserClick();
    h.dialogs.Queue(2);
    form.AddBrowserClick();
    EXPECT_EQ(h.Setting("Browser", "Count"), "2");
    EXPECT_EQ(form.State().BrowserPath, h.Browser(1));
}

TEST(BrowserList, AddAppendsTheChosenProgramAndSelectsIt) {
    LaunchHarness h;
    auto& form = h.Start("", 1);
    h.dialogs.Queue(0); // Add
    h.dialogs.Queue(lv::OpenFileResult{true, "/usr/bin/other-browser"});
    form.AddBrowserClick();
    EXPECT_EQ(h.dialogs.Asked().at(1), "OpenFile: Select Browser");
    EXPECT_EQ(h.Setting("Browser", "2"), "/usr/bin/other-browser");
    EXPECT_EQ(h.Setting("Browser", "Count"), "2");
    EXPECT_EQ(h.Setting("Browser", "Selected"), "2");
    EXPECT_EQ(form.State().browserTicked, 1);
    EXPECT_EQ(form.State().BrowserPath, "/usr/bin/other-browser");
}

TEST(BrowserList, AFullListRefusesAnotherBrowser) {
    LaunchHarness h;
    auto& form = h.Start("", lv::kMaxBrowsers);
    h.dialogs.Queue(0);
    h.dialogs.Queue(lv::OpenFileResult{true, "/usr/bin/one-too-many"});
    form.AddBrowserClick();
    EXPECT_EQ(h.Setting("Browser", "Count"), std::to_string(lv::kMaxBrowsers));
    EXPECT_EQ(h.Setting("Browser", std::to_string(lv::kMaxBrowsers + 1)), "<none>");
    EXPECT_EQ(form.State().browserMenu.size(), static_cast<std::size_t>(lv::kMaxBrowsers));
}

TEST(BrowserList, NoBrowserOpensTheListBeforeTheLaunch) {
    LaunchHarness h;
    auto& form = h.Start("", 0);
    ASSERT_EQ(form.State().BrowserPath, "");
    h.dialogs.Queue(0);
    h.dialogs.Queue(lv::OpenFileResult{true, "/usr/bin/new-browser"});
    form.Launch("", "http://a/");
    ASSERT_EQ(h.launcher.starts.size(), 1u);
    EXPECT_EQ(h.launcher.starts[0].program, "/usr/bin/new-browser");
}

TEST(BrowserList, WindowModeIsWrittenAndShown) {
    LaunchHarness h;
    auto& form = h.Start("");
    form.SingleButtonClick(true);
    EXPECT_TRUE(form.State().checks.singleWindow);
    EXPECT_FALSE(form.State().checks.multipleWindows);
    EXPECT_EQ(h.Setting("Show", "Pages"), "Single");
    form.SingleButtonClick(false);
    EXPECT_TRUE(form.State().checks.multipleWindows);
    EXPECT_EQ(h.Setting("Show", "Pages"), "Multiple");
}

TEST(BrowserList, BrowsersFoundAtStartBecomeOneAndTwo) {
    lvtest::TempDir dir;
    const std::string ini = dir.File("lvd.ini");
    EXPECT_EQ(lv::RecordProbedBrowsers(ini, {}), "");
    EXPECT_EQ(lvtest::ReadBytes(ini), "");
    EXPECT_EQ(lv::RecordProbedBrowsers(ini, {"/usr/bin/firefox", "/usr/bin/chromium"}),
              "/usr/bin/firefox");
    const lv::TIniFile32 read(ini);
    EXPECT_EQ(read.ReadString("Browser", "1", ""), "/usr/bin/firefox");
    EXPECT_EQ(read.ReadString("Browser", "2", ""), "/usr/bin/chromium");
    EXPECT_EQ(read.ReadString("Browser", "Count", ""), "2");
}

} // namespace
