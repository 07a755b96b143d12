// Launches that come to nothing tell the user so: a browser that does not start, a local file
// that is not there or does not open, no browser at all, a browser that does not answer.
#include "launch_fakes.h"

#include "mainwindow/Launching.h"
#include "store/TIniFile32.h"

#include <gtest/gtest.h>

using lvtest::LaunchHarness;

namespace {

std::string LastMessage(const LaunchHarness& h) {
    return h.dialogs.Messages().empty() ? std::string() : h.dialogs.Messages().back().text;
}

TEST(LaunchFailure, ABrowserThatDoesNotStartIsToldOnceForAllItsAddresses) {
    LaunchHarness h;
    auto& form = h.Start("[Page1]\r\n01N=Two\r\n01U=http://a.example/;;http://b.example/\r\n");
    h.launcher.failure = "No such file or directory";
    form.ButtonClick(1);
    EXPECT_EQ(h.launcher.starts.size(), 2u);
    ASSERT_EQ(h.dialogs.Messages().size(), 1u);
    EXPECT_EQ(LastMessage(h),
              "Cannot start the browser " + h.Browser(1) + ": No such file or directory.");
    EXPECT_EQ(h.dialogs.Messages()[0].kind, lv::MsgKind::Error);
}

TEST(LaunchFailure, LocalTargetsThatAreNotThereOrDoNotOpenAreTold) {
    const std::string missing = "/nowhere/notes.txt";
    const struct {
        std::string shellFailure;
        bool there;
        std::string message;
    } cases[] = {
        {"", false, "Cannot open " + missing + ": there is no such file."},
        {"Permission denied", true, "Cannot open " + missing + ": Permission denied."},
    };
    for (const auto& c : cases) {
        LaunchHarness h;
        auto& form = h.Start("[Page1]\r\n05N=Notes\r\n05U=" + missing + "\r\n05L=Yes\r\n");
        if (!c.there) {
            h.shell.missing.insert(missing);
        }
        h.shell.failure = c.shellFailure;
        form.ButtonClick(5);
        EXPECT_EQ(h.shell.opened.size(), c.there ? 1u : 0u);
        EXPECT_EQ(LastMessage(h), c.message);
    }
}

TEST(LaunchFailure, AMissingProgramIsNamedWithoutItsArguments) {
    LaunchHarness h;
    auto& form = h.Start("[Page1]\r\n05N=Tool\r\n05U=/opt/tool/run /-q\r\n05L=Yes\r\n");
    h.shell.missing.insert("/opt/tool/run ");
    form.ButtonClick(5);
    EXPECT_TRUE(h.shell.opened.empty());
    EXPECT_EQ(LastMessage(h), "Cannot open /opt/tool/run: there is no such file.");
}

TEST(LaunchFailure, AUrlBoxEntryThatIsFoundNowhereIsTold) {
    LaunchHarness h;
    auto& form = h.Start("");
    const std::string entry = h.dir.File("music/song.au");
    h.shell.missing.insert(entry);
    form.URLBoxOpen(entry);
    EXPECT_TRUE(h.shell.opened.empty());
    EXPECT_EQ(LastMessage(h), "Cannot open " + entry + ": there is no such file.");
}

TEST(LaunchFailure, NoBrowserChosenIsToldForALaunchAndForAnEmptySlot) {
    LaunchHarness h;
    auto& form = h.Start("[Page1]\r\n01N=One\r\n01U=http://a.example/\r\n", 0);
    ASSERT_EQ(form.State().BrowserPath, "");
    h.dialogs.Queue(2); // "Ignore" in "Add or Remove Browser"
    form.ButtonClick(1);
    EXPECT_TRUE(h.launcher.starts.empty());
    EXPECT_EQ(LastMessage(h), std::string(lv::kNoBrowserText));

    // An empty slot wants the page of a browser: with none chosen there is none to ask.
    form.ButtonClick(2);
    EXPECT_EQ(LastMessage(h), std::string(lv::kNoBrowserPageText));
    EXPECT_EQ(h.Read("Page1", "02U"), "<none>");
}

TEST(LaunchFailure, ABrowserThatDoesNotAnswerIsToldHowToStartIt) {
    LaunchHarness h;
    auto& form = h.Start("[Page1]\r\n01N=One\r\n01U=http://a.example/\r\n", 1, "Single");
    lv::TIniFile32(form.State().SettingsFile()).WriteInteger("Browser", "DebugPort", 9333);
    h.browser.answering = false;
    form.ButtonClick(1);
    ASSERT_FALSE(h.dialogs.Messages().empty());
    const std::string told = h.dialogs.Messages().front().text;
    EXPECT_NE(told.find("--remote-debugging-port=9333"), std::string::npos) << told;
    EXPECT_EQ(told.find("Options"), std::string::npos) << told;
    // The address still opens, in a new browser window.
    EXPECT_EQ(h.launcher.starts.size(), 1u);
}

} // namespace
