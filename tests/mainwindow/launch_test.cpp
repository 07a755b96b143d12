// Clicking bookmarks: browser processes, the running browser's window, local targets, the
// capture of the browser's page into an empty slot, and protected bookmarks.
#include "launch_fakes.h"

#include "mainwindow/Launching.h"
#include "mainwindow/PagePasswords.h"
#include "store/DataFile.h"

#include <gtest/gtest.h>

using lvtest::LaunchHarness;
using lvtest::StartRecord;

namespace {

TEST(Launch, JoinedAddressesStartOneProcessEachWithFreshIdentifiersEvenInSingleMode) {
    LaunchHarness h;
    auto& form = h.Start("[Page1]\r\n01N=Two\r\n01U=http://a.example/x;;http://b.example/\r\n"
                         "02N=One\r\n02U=http://c.example/\r\n",
                         1, "Single");
    form.ButtonClick(1);
    const std::string browser = h.Browser(1);
    EXPECT_EQ(h.launcher.starts, (std::vector<StartRecord>{{browser, "http://a.example/x", 1},
                                                           {browser, "http://b.example/", 2}}));
    EXPECT_TRUE(h.browser.topics.empty()) << "the running browser was asked";
    EXPECT_EQ(form.State().CurrentButtonName, "B01");

    // One address in single mode goes to the running browser's window, no new process.
    form.ButtonClick(2);
    EXPECT_EQ(h.launcher.starts.size(), 2u);
    EXPECT_EQ(h.browser.opened,
              std::vector<std::string>{"\"http://c.example/\",,0xFFFFFFFF,0x0,,,,"});

    // Nobody answers: the link says so, and a new browser process opens the address instead.
    h.browser.answering = false;
    form.ButtonClick(2);
    ASSERT_EQ(h.launcher.starts.size(), 3u);
    EXPECT_EQ(h.launcher.starts.back(), (StartRecord{browser, "http://c.example/", 3}));
    ASSERT_FALSE(h.dialogs.Messages().empty());
    EXPECT_NE(h.dialogs.Messages().back().text.find("does not answer"), std::string::npos);
}

TEST(Launch, LocalTargetsGoToTheShellWithParametersAndWorkingDirectory) {
    struct Case {
        std::string target;
        std::string extra;
        lv::LocalTarget expected;
    };
    const std::vector<Case> cases = {
        {"/opt/tool/run /-q", "", {"/opt/tool/run ", "-q", "/opt/tool"}},
        {"/opt/tool/run /-q", "C:\\work", {"/opt/tool/run ", "-q", "C:\\work"}},
        {"/home/u/notes.txt", "xy", {"/home/u/notes.txt", "", "/home/u"}},
    };
    for (const Case& c : cases) {
        LaunchHarness h;
        auto& form = h.Start("[Page1]\r\n05N=Tool\r\n05U=" + c.target +
                             "\r\n05L=Yes\r\n05S=" + c.extra + "\r\n");
        form.ButtonClick(5);
        ASSERT_EQ(h.shell.opened.size(), 1u) << c.target;
        EXPECT_EQ(h.shell.opened[0].file, c.expected.file);
        EXPECT_EQ(h.shell.opened[0].parameters, c.expected.parameters);
        EXPECT_EQ(h.shell.opened[0].directory, c.expected.directory) << c.extra;
        EXPECT_TRUE(h.launcher.starts.empty());
    }
}

TEST(Launch, EmptySlotCapturesTheBrowsersPageWithoutOpeningAnything) {
    LaunchHarness h;
    h.browser.frontPage = "\"www.example.com\",\"Browser [Example Domain]\",\"\"";
    auto& form = h.Start("[Page1]\r\n01N=Filled\r\n01U=http://a.example/\r\n");
    form.ButtonClick(3);
    EXPECT_EQ(h.Read("Page1", "03N"), "Example Domain");
    EXPECT_EQ(h.Read("Page1", "03U"), "http://www.example.com/");
    EXPECT_EQ(h.Read("Page1", "03C"), "<none>");
    EXPECT_EQ(h.Button(form, 3).caption, "Example Domain");
    EXPECT_TRUE(h.launcher.starts.empty());
    EXPECT_TRUE(h.browser.opened.empty());

    // No browser page: the slot stays empty, nothing is written, and the user is told why.
    h.browser.answering = false;
    const std::string before = lvtest::ReadBytes(h.dir.File("Disk.LVD"));
    form.ButtonClick(4);
    EXPECT_EQ(lvtest::ReadBytes(h.dir.File("Disk.LVD")), before);
    ASSERT_FALSE(h.dialogs.Asked().empty());
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: You need to have a browser open to a web page!");
    EXPECT_EQ(h.Button(form, 4).caption, "");
    EXPECT_TRUE(h.launcher.starts.empty());
}

TEST(Launch, EmptyLocalSlotAsksForAFileAndTakesAShortcutsAddress) {
    LaunchHarness h;
    const std::string shortcut = h.dir.File("News.url");
    lvtest::WriteBytes(shortcut, "[InternetShortcut]\r\nURL=http://news.example/\r\n");
    const std::string program = h.dir.File("tool.exe");
    lvtest::WriteBytes(program, "");
    auto& form = h.Start("[Page1]\r\n06L=Yes\r\n07L=Yes\r\n08L=Yes\r\n");
    h.dialogs.Queue(lv::OpenFileResult{true, shortcut});
    form.ButtonClick(6);
    h.dialogs.Queue(lv::OpenFileResult{true, program});
    form.ButtonClick(7);
    h.dialogs.Queue(lv::OpenFileResult{});
    form.ButtonClick(8);
    EXPECT_EQ(h.dialogs.Asked().front(), "OpenFile: Select a Program or File");
    EXPECT_EQ(h.Read("Page1", "06N"), "News");
    EXPECT_EQ(h.Read("Page1", "06U"), "http://news.example/");
    EXPECT_EQ(h.Read("Page1", "07N"), "tool");
    EXPECT_EQ(h.Read("Page1", "07U"), program);
    EXPECT_EQ(h.Read("Page1", "08U"), "<none>");
    EXPECT_EQ(h.Button(form, 7).caption, "tool");
    EXPECT_TRUE(h.launcher.starts.empty());
    EXPECT_TRUE(h.shell.opened.empty());
}

TEST(Launch, AChosenFileLosesOnlyARealExtensionAndNeverItsWholeName) {
    const struct {
        const char* file;
        const char* title;
    } cases[] = {
        {"a.sh", "a"},
        {"archive.tar.gz", "archive.tar"},
        {".profile", ".profile"},
        {"README", "README"},
    };
    for (const auto& c : cases) {
        LaunchHarness h;
        const std::string path = h.dir.File(c.file);
        lvtest::WriteBytes(path, "");
        auto& form = h.Start("[Page1]\r\n06L=Yes\r\n");
        h.dialogs.Queue(lv::OpenFileResult{true, path});
        form.ButtonClick(6);
        EXPECT_EQ(h.Read("Page1", "06N"), c.title) << c.file;
        EXPECT_EQ(h.Button(form, 6).caption, c.title);
    }
}

TEST(Launch, CaptureOnAProtectedPageStoresTheAddressScrambled) {
    LaunchHarness h;
    h.browser.frontPage = "\"http://example.org/a\",\"A\"";
    // Page password entry "Page1" + "pw", stored shifted with its end marker.
    const std::string passwords = lv::PagePassValue({"Page1pw"});
    auto& form = h.Start(std::string(lv::datafile::kPagePasswordKey) + "=" + passwords + "\r\n");
    form.ButtonClick(1);
    const std::string stored = h.Read("Page1", "01U");
    EXPECT_EQ(stored, lv::Encrypt("http://example.org/a", "pw"));
    // And clicking it opens the plain address.
    form.ButtonClick(1);
    ASSERT_EQ(h.launcher.starts.size(), 1u);
    EXPECT_EQ(h.launcher.starts[0].argument, "http://example.org/a");
}

TEST(Launch, PasswordProtectedBookmarkLaunchesOnlyWithItsPassword) {
    LaunchHarness h;
    const std::string stored = lv::Encrypt("http://secret.example/", "open sesame");
    auto& form = h.Start("[Page1]\r\n01N=Secret\r\n01U=" + stored + "\r\n");
    ASSERT_EQ(h.Button(form, 1).hint, "Password Protected");

    h.dialogs.Queue(lv::PasswordResult{"wrong"});
    form.ButtonClick(1);
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: Invalid Password!");
    EXPECT_TRUE(h.launcher.starts.empty());

    h.dialogs.Queue(lv::PasswordResult{"open sesame"});
    form.ButtonClick(1);
    ASSERT_EQ(h.launcher.starts.size(), 1u);
    EXPECT_EQ(h.launcher.starts[0].argument, "http://secret.example/");
}

TEST(Launch, AddBookmarkPutsTheBrowsersPageIntoTheFirstEmptySlot) {
    LaunchHarness h;
    h.browser.frontPage = "\"http://example.net/\",\"Net\"";
    auto& form = h.Start("[Page1]\r\n01N=A\r\n01U=http://a/\r\n03N=C\r\n03U=http://c/\r\n");
    form.AddBookmarkClick();
    EXPECT_EQ(h.Read("Page1", "02N"), "Net");
    EXPECT_EQ(h.Read("Page1", "02U"), "http://example.net/");
    EXPECT_EQ(h.Button(form, 2).caption, "Net");

    h.browser.answering = false;
    form.AddBookmarkClick();
    EXPECT_EQ(h.Read("Page1", "04U"), "<none>");
    EXPECT_EQ(h.dialogs.Asked(),
              std::vector<std::string>{"Message: You need to have a browser open to a web page!"});
}

TEST(Launch, AddBookmarkOnAFullPageAddsNothingAndSaysNothing) {
    LaunchHarness h;
    h.browser.frontPage = "\"http://example.net/\",\"Net\"";
    std::string page = "[Page1]\r\n";
    for (int slot = 1; slot <= 80; ++slot) {
        page += lv::SlotKey(slot, 'N') + "=n\r\n" + lv::SlotKey(slot, 'U') + "=http://x/\r\n";
    }
    auto& form = h.Start(page);
    const std::string before = lvtest::ReadBytes(h.dir.File("Disk.LVD"));
    form.AddBookmarkClick();
    EXPECT_EQ(lvtest::ReadBytes(h.dir.File("Disk.LVD")), before);
    EXPECT_TRUE(h.dialogs.Asked().empty());
}

TEST(Launch, OptionsAndHiddenCharactersAreRefusedWithAMessageAndNothingStarts) {
    // As stored: U+202E and U+2069 as references, 9D and 1B as bytes.
    const struct {
        std::string target;
        std::string shown;
    } cases[] = {
        {"--remote-debugging-port=9333", "\"--remote-debugging-port=9333\" begins with \"-\""},
        {"http://a.example/;;--remote-debugging-port=9333", "begins with \"-\""},
        {"http://a.example/&#8238;exe.jpg", "\"http://a.example/<U+202E>exe.jpg\""},
        {"http://a.example/&#8297;x", "<U+2069>"},
        {"http://a.example/&#8203;x", "<U+200B>"},
        {"http://a.example/\x9Dx", "<U+009D>"},
        {"http://a.example/\x1B[2J", "<U+001B>"},
    };
    for (const std::string mode : {"Multiple", "Single"}) {
        for (const auto& c : cases) {
            LaunchHarness h;
            auto& form = h.Start("[Page1]\r\n01N=Trap\r\n01U=" + c.target + "\r\n", 1, mode);
            form.ButtonClick(1);
            EXPECT_TRUE(h.launcher.starts.empty()) << mode << " " << c.target;
            EXPECT_TRUE(h.browser.topics.empty()) << mode << " " << c.target;
            ASSERT_EQ(h.dialogs.Messages().size(), 1u) << c.target;
            EXPECT_NE(h.dialogs.Messages()[0].text.find(c.shown), std::string::npos)
                << h.dialogs.Messages()[0].text;
        }
    }
}

TEST(Launch, LocalTargetsWithHiddenCharactersAreRefusedAndDashNamesStillOpen) {
    LaunchHarness h;
    auto& form = h.Start("[Page1]\r\n01N=Notes\r\n01U=/home/u/notes&#8238;txt.sh\r\n01L=Yes\r\n"
                         "02N=Tool\r\n02U=/opt/tool /-q&#8206;\r\n02L=Yes\r\n"
                         "03N=Dash\r\n03U=-x\r\n03L=Yes\r\n");
    form.ButtonClick(1);
    form.ButtonClick(2);
    EXPECT_TRUE(h.shell.opened.empty());
    ASSERT_EQ(h.dialogs.Messages().size(), 2u);
    EXPECT_NE(h.dialogs.Messages()[0].text.find("/home/u/notes<U+202E>txt.sh"), std::string::npos);
    EXPECT_NE(h.dialogs.Messages()[1].text.find("<U+200E>"), std::string::npos);
    // A local name starting with "-" is no option to the shell, which passes it as a path.
    form.ButtonClick(3);
    ASSERT_EQ(h.shell.opened.size(), 1u);
    EXPECT_EQ(h.shell.opened[0].file, "-x");
    EXPECT_TRUE(h.launcher.starts.empty());
}

TEST(Launch, UrlBoxRefusesTheSameAndDoesNotKeepTheEntry) {
    LaunchHarness h;
    auto& form = h.Start("");
    form.URLBoxOpen("--proxy-server=http://evil.example/");
    form.URLBoxOpen("http://a.example/&#8238;x");
    EXPECT_TRUE(h.launcher.starts.empty());
    EXPECT_TRUE(h.shell.opened.empty());
    EXPECT_EQ(h.dialogs.Messages().size(), 2u);
    EXPECT_TRUE(form.State().manualUrls.empty());
    form.URLBoxOpen("http://a.example/");
    ASSERT_EQ(h.launcher.starts.size(), 1u);
    EXPECT_EQ(form.State().manualUrls, std::vector<std::string>{"http://a.example/"});
}

TEST(Launch, SplitTargetsSkipsEmptyPieces) {
    EXPECT_EQ(lv::SplitTargets("a;;b"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(lv::SplitTargets(";;a;;;;"), std::vector<std::string>{"a"});
    EXPECT_TRUE(lv::SplitTargets("").empty());
}

} // namespace
