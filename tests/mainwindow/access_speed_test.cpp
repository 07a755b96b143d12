// The access-speed dialog: bars, colours and texts from the echo times, and a bar's click.
#include "mainwindow/TPForm.h"
#include "platform/NetworkState.h"
#include "platform/PollEventLoop.h"
#include "store/DataFile.h"

#include "web_fakes.h"

#include <gtest/gtest.h>

namespace {

using lvtest::FakeIcmpEcho;

struct Bar {
    int percent;
    int foreColor;
    std::string text;
};

std::vector<Bar> Bars(const lv::TPForm& form) {
    std::vector<Bar> bars;
    for (const lv::TEnhancedGauge& g : form.Gauges()) {
        bars.push_back({g.Percent(), g.ForeColor, g.Text()});
    }
    return bars;
}

void ExpectBars(const lv::TPForm& form, const std::vector<Bar>& expected) {
    const std::vector<Bar> bars = Bars(form);
    ASSERT_EQ(bars.size(), expected.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bars[i].percent, expected[i].percent);
        EXPECT_EQ(bars[i].foreColor, expected[i].foreColor);
        EXPECT_EQ(bars[i].text, expected[i].text);
    }
}

lv::TPForm Pinged(FakeIcmpEcho& echo, const std::vector<std::string>& hosts) {
    lv::TPForm form;
    form.icmp = &echo;
    // Dotted addresses only: no test asks a name server.
    form.resolve = [](const std::string& host, std::string& dotted) {
        dotted = host;
        return host.find_first_not_of("0123456789.") == std::string::npos;
    };
    for (std::size_t i = 0; i < hosts.size(); ++i) {
        form.HostEditItems.push_back(hosts[i]);
        form.ListBox3.push_back(lv::ButtonName(static_cast<int>(i) + 1));
    }
    form.FormActivate(0, 0);
    return form;
}

TEST(AccessSpeed, BarsShareTheLargestTimeAndTheFastestIsGreen) {
    FakeIcmpEcho echo;
    echo.times = {{"127.0.1.1", 40}, {"127.0.1.2", 20}, {"127.0.1.3", 80}};
    const lv::TPForm form = Pinged(echo, {"127.0.1.1", "127.0.1.2", "127.0.1.3"});
    ExpectBars(form, {{50, lv::kColorMaroon, "50% : 127.0.1.1 : 127.0.1.1"},
                      {25, lv::kColorGreen, "25% : 127.0.1.2 : 127.0.1.2"},
                      {100, lv::kColorMaroon, "100% : 127.0.1.3 : 127.0.1.3"}});
    EXPECT_EQ(form.Height(), 3 * 20 + 50);
    EXPECT_FALSE(form.LabelVisible());
    EXPECT_EQ(form.Gauges()[2].Top, 20 + 18 * 2);
    EXPECT_EQ(form.Gauges()[1].Name, "SB1");
    EXPECT_EQ(form.Gauges()[1].Hint, "Click to Launch");
    EXPECT_EQ(form.Gauges()[0].BackColor, lv::kColorBtnFace);
}

TEST(AccessSpeed, SilentAndUnresolvableHostsAreUnverified) {
    FakeIcmpEcho echo;
    // A reply under a millisecond is a reply all the same: it is the fastest here.
    echo.times = {{"127.0.0.1", 0}, {"127.0.1.2", 30}};
    const lv::TPForm form =
        Pinged(echo, {"127.0.0.1", "127.0.9.9", "no-such-host.invalid", "127.0.1.2"});
    ExpectBars(form, {{3, lv::kColorGreen, "3% : 127.0.0.1 : 127.0.0.1"},
                      {0, lv::kColorMaroon, "0% : 127.0.9.9 : 127.0.9.9 unverified speed."},
                      {0, lv::kColorMaroon,
                       "0% : no-such-host.invalid : No Ping reply and unverified speed."},
                      {100, lv::kColorMaroon, "100% : 127.0.1.2 : 127.0.1.2"}});
    // The host that has no address is never sent an echo.
    EXPECT_EQ(echo.asked, (std::vector<std::string>{"127.0.0.1", "127.0.9.9", "127.0.1.2"}));
}

TEST(AccessSpeed, NoReplyAtAllLeavesEveryBarEmptyAndNoneGreen) {
    FakeIcmpEcho echo;
    const lv::TPForm form = Pinged(echo, {"127.0.9.8", "127.0.9.9"});
    ExpectBars(form, {{0, lv::kColorMaroon, "0% : 127.0.9.8 : 127.0.9.8 unverified speed."},
                      {0, lv::kColorMaroon, "0% : 127.0.9.9 : 127.0.9.9 unverified speed."}});
}

TEST(AccessSpeed, HostOfATarget) {
    EXPECT_EQ(lv::PingHost("http://www.example.com/a/b"), "example.com");
    EXPECT_EQ(lv::PingHost("https://127.0.0.1:8080/x"), "127.0.0.1:8080");
    EXPECT_EQ(lv::PingHost("127.0.0.2"), "127.0.0.2");
    EXPECT_EQ(lv::PingHost("ftp://files.example"), "files.example");
}

// From the page options through the dialog to the launch of the clicked bar's bookmark.
TEST(AccessSpeed, PingSelectedBookmarksLaunchesTheClickedBar) {
    lvtest::WebHarness h;
    auto& form =
        h.Start("Count=1\r\nTab1=Page1\r\n",
                "[Page1]\r\n01N=One\r\n01U=http://127.0.1.1/one\r\n"
                "02N=Two\r\n02U=http://www.127.0.1.2/two\r\n03N=Three\r\n03U=http://x/\r\n");
    h.icmp.times = {{"127.0.1.1", 12}, {"127.0.1.2", 6}};
    h.onTabForm = [](lv::TTabForm& f) {
        f.SelectRow(0, true);
        f.SelectRow(1, true);
        f.BookmarkActionClick(lv::TTabForm::PingBookmarks);
    };
    std::vector<Bar> seen;
    h.onPingForm = [&seen](lv::TPForm& f) {
        f.FormActivate(0, 0);
        seen = Bars(f);
        f.Launch("SB1");
    };
    form.TabSet1MouseDown(lv::TabButton::Right, 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "100% : 127.0.1.1 : 127.0.1.1");
    EXPECT_EQ(seen[1].foreColor, lv::kColorGreen);
    ASSERT_EQ(h.launcher.starts.size(), 1u);
    EXPECT_EQ(h.launcher.starts[0].argument, "http://www.127.0.1.2/two");
    // The lists are empty again for the next time.
    EXPECT_TRUE(form.PForm().HostEditItems.empty());
    EXPECT_TRUE(form.PForm().ListBox3.empty());
}

TEST(AccessSpeed, WithoutAnIcmpSocketTheUserIsToldAndNothingIsShown) {
    lvtest::WebHarness h;
    auto& form =
        h.Start("Count=1\r\nTab1=Page1\r\n", "[Page1]\r\n01N=One\r\n01U=http://127.0.1.1/\r\n");
    h.icmp.unavailable = lv::kNoIcmpText;
    h.onTabForm = [](lv::TTabForm& f) {
        f.SelectRow(0, true);
        f.BookmarkActionClick(lv::TTabForm::PingBookmarks);
    };
    bool shown = false;
    h.onPingForm = [&shown](lv::TPForm&) { shown = true; };
    h.dialogs.Queue(lv::MsgResult::Ok);
    form.TabSet1MouseDown(lv::TabButton::Right, 0);
    EXPECT_FALSE(shown);
    ASSERT_EQ(h.dialogs.Messages().size(), 1u);
    EXPECT_EQ(h.dialogs.Messages()[0].text, lv::kNoIcmpText);
    EXPECT_TRUE(form.PForm().HostEditItems.empty());
    EXPECT_TRUE(h.icmp.asked.empty());
}

TEST(ConnectionLamp, FollowsTheNetworkStateFromTheStart) {
    lv::PollEventLoop loop; // outlives the window's lamp timer
    lvtest::WebHarness h;
    h.network.online = true;
    auto& form = h.Start("Count=1\r\nTab1=Page1\r\n", "", &loop);
    EXPECT_EQ(form.State().DialUp.image, lv::ConnectionLamp::Image::LedOn);
    EXPECT_EQ(form.State().DialUp.hint, "Dialup = OnLine");
    h.network.online = std::nullopt; // unreadable: nothing changes
    loop.ProcessPending(std::chrono::milliseconds(1100));
    EXPECT_EQ(form.State().DialUp.image, lv::ConnectionLamp::Image::LedOn);
    h.network.online = false;
    for (int i = 0; i < 30 && form.State().DialUp.image != lv::ConnectionLamp::Image::LedOff; ++i) {
        loop.ProcessPending(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(form.State().DialUp.image, lv::ConnectionLamp::Image::LedOff);
    EXPECT_EQ(form.State().DialUp.hint, "Dialup = OffLine");
}

} // namespace
