// Working the main window from the key sink: slot selection, page keys, jumping by letter and
// the page navigator.
#include "launch_fakes.h"

#include "mainwindow/PagePasswords.h"
#include "mainwindow/TNavPage.h"
#include "store/DataFile.h"

#include <gtest/gtest.h>

using lv::NavKey;
using lvtest::LaunchHarness;

namespace {

void TenPages(LaunchHarness& h) {
    h.tabs = "Count=10\r\n";
    for (int i = 1; i <= 10; ++i) {
        h.tabs += "Tab" + std::to_string(i) + "=Page" + std::to_string(i) + "\r\n";
    }
}

TEST(Keyboard, DownStopsAtTheLastVisibleSlotUpAtTheFirst) {
    for (const auto& [columns, last] : {std::pair{4, 80}, std::pair{2, 40}}) {
        LaunchHarness h;
        auto& form = h.Start("[Page1]\r\n02N=Two\r\n02U=http://two/\r\n");
        if (columns == 2) {
            form.MColumn2Click();
        }
        form.KeysKeyDown(NavKey::Down);
        form.KeysKeyDown(NavKey::Down);
        EXPECT_EQ(form.State().SelectedSlot, 2);
        EXPECT_EQ(h.Button(form, 2).margin, 30);
        EXPECT_EQ(h.Button(form, 1).margin, 1);
        EXPECT_EQ(form.State().CurrentButtonName, "B02");
        EXPECT_EQ(form.State().caption, "2 : http://two/");
        for (int i = 0; i < 100; ++i) {
            form.KeysKeyDown(NavKey::Down);
        }
        EXPECT_EQ(form.State().SelectedSlot, last) << columns << " columns";
        for (int i = 0; i < 100; ++i) {
            form.KeysKeyDown(NavKey::Up);
        }
        EXPECT_EQ(form.State().SelectedSlot, 1);
    }
}

TEST(Keyboard, EnterLaunchesTheSelectionAndAPageSwitchClearsIt) {
    LaunchHarness h;
    auto& form = h.Start("[Page1]\r\n01N=One\r\n01U=http://one/\r\n");
    form.KeysKeyDown(NavKey::Enter);
    EXPECT_TRUE(h.launcher.starts.empty());
    form.KeysKeyDown(NavKey::Down);
    form.KeysKeyDown(NavKey::Enter);
    ASSERT_EQ(h.launcher.starts.size(), 1u);
    EXPECT_EQ(h.launcher.starts[0].argument, "http://one/");

    form.KeysKeyDown(NavKey::Right);
    EXPECT_EQ(form.State().TabSet1.selected, 1);
    EXPECT_EQ(form.State().SelectedSlot, 0);
    EXPECT_EQ(h.Button(form, 1).margin, 1);
}

TEST(Keyboard, PageKeysWrapAround) {
    LaunchHarness h;
    auto& form = h.Start("");
    const std::vector<std::pair<NavKey, int>> steps = {
        {NavKey::Left, 1}, {NavKey::Right, 0},    {NavKey::Right, 1}, {NavKey::PageUp, 0},
        {NavKey::End, 1},  {NavKey::PageDown, 0}, {NavKey::End, 1},   {NavKey::Home, 0},
    };
    for (const auto& [key, tab] : steps) {
        form.KeysKeyDown(key);
        EXPECT_EQ(form.State().TabSet1.selected, tab);
    }
}

TEST(Keyboard, ALetterJumpsToTheNextPageStartingWithIt) {
    LaunchHarness h;
    TenPages(h);
    auto& form = h.Start("");
    form.KeysKeyDown(NavKey::End);
    form.KeysKeyPress('p');
    EXPECT_EQ(form.State().TabSet1.selected, 0);
    form.KeysKeyPress('P');
    EXPECT_EQ(form.State().TabSet1.selected, 1);
    form.KeysKeyPress('x');
    EXPECT_EQ(form.State().TabSet1.selected, 1);
}

TEST(Keyboard, AProtectedPageStillAsksForItsPassword) {
    LaunchHarness h;
    auto& form = h.Start(std::string(lv::datafile::kPagePasswordKey) + "=" +
                         lv::PagePassValue({"Page2pw"}) + "\r\n");
    h.dialogs.Queue(lv::PasswordResult{"wrong"});
    form.KeysKeyDown(NavKey::Right);
    EXPECT_EQ(form.State().TabSet1.selected, 0);
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: Invalid Password!");
}

TEST(NavPage, RowsInTabOrderOrByName) {
    const std::vector<std::string> pages = {"beta", "Alpha", "gamma", "alpha"};
    using Row = lv::NavPageRow;
    EXPECT_EQ(lv::NavPageRows(pages, false),
              (std::vector<Row>{{"beta", 1}, {"Alpha", 2}, {"gamma", 3}, {"alpha", 4}}));
    EXPECT_EQ(lv::NavPageRows(pages, true),
              (std::vector<Row>{{"Alpha", 2}, {"alpha", 4}, {"beta", 1}, {"gamma", 3}}));
}

TEST(NavPage, ChosenPageBecomesCurrentClosingKeepsThePage) {
    LaunchHarness h;
    TenPages(h);
    auto& form = h.Start("");
    h.dialogs.Queue(7);
    form.GoPageBtnClick();
    EXPECT_EQ(form.State().TabSet1.selected, 6);
    EXPECT_EQ(h.dialogs.Asked().back().substr(0, 20), "NavPage: Page1|Page2");
    h.dialogs.Queue(0);
    form.GoPageBtnClick();
    EXPECT_EQ(form.State().TabSet1.selected, 6);
}

} // namespace
