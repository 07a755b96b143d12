// The URL box: web entries, local entries found by the file search, and the list of past
// entries in ManualURL.txt.
#include "launch_fakes.h"

#include "mainwindow/UrlBox.h"

#include "store/FileError.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using lvtest::LaunchHarness;

namespace {

TEST(UrlBox, WebEntriesGetTheSlashRuleAndGoToTheBrowser) {
    LaunchHarness h;
    auto& form = h.Start("");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"www.example.com", "http://www.example.com/"},
        {"http://example.org/page.html", "http://example.org/page.html"},
        {"http://example.com", "http://example.com/"},
    };
    for (const auto& [typed, opened] : cases) {
        form.URLBoxOpen(typed);
        ASSERT_FALSE(h.launcher.starts.empty());
        EXPECT_EQ(h.launcher.starts.back().argument, opened);
    }
    EXPECT_TRUE(h.shell.opened.empty());
    EXPECT_EQ(form.State().manualUrls,
              (std::vector<std::string>{"http://example.com/", "http://example.org/page.html",
                                        "http://www.example.com/"}));
}

TEST(UrlBox, ListKeepsTheFifteenNewestAndIsSavedAfterEachChange) {
    LaunchHarness h;
    auto& form = h.Start("");
    for (int i = 1; i <= 16; ++i) {
        form.URLBoxOpen("http://site" + std::to_string(i) + ".example/");
    }
    form.URLBoxOpen("http://site10.example/"); // already there: stays in its place
    const auto& list = form.State().manualUrls;
    ASSERT_EQ(list.size(), 15u);
    EXPECT_EQ(list.front(), "http://site16.example/");
    EXPECT_EQ(list.back(), "http://site2.example/");
    EXPECT_EQ(list[6], "http://site10.example/");
    EXPECT_EQ(lv::ReadUrlList(h.dir.File("ManualURL.txt")), list);
    EXPECT_EQ(lvtest::ReadBytes(h.dir.File("ManualURL.txt")).substr(0, 24),
              "http://site16.example/\r\n");

    form.URLBoxRemove(0);
    EXPECT_EQ(form.State().manualUrls.front(), "http://site15.example/");
    EXPECT_EQ(lv::ReadUrlList(h.dir.File("ManualURL.txt")).size(), 14u);
    form.URLBoxRemove(99); // nothing selected
    EXPECT_EQ(form.State().manualUrls.size(), 14u);

    // Read back at the next start.
    LaunchHarness again;
    lvtest::WriteBytes(again.dir.File("ManualURL.txt"), "one\r\ntwo\n");
    EXPECT_EQ(again.Start("").State().manualUrls, (std::vector<std::string>{"one", "two"}));
}

TEST(UrlBox, ListFileSpeltInAnotherCaseIsReadAndRewritten) {
    LaunchHarness h;
    lvtest::WriteBytes(h.dir.File("manualurl.TXT"), "http://old.example/\r\n");
    auto& form = h.Start("");
    EXPECT_EQ(form.State().manualUrls, std::vector<std::string>{"http://old.example/"});
    form.URLBoxOpen("http://new.example/");
    EXPECT_EQ(lvtest::ReadBytes(h.dir.File("manualurl.TXT")),
              "http://new.example/\r\nhttp://old.example/\r\n");
    EXPECT_FALSE(std::filesystem::exists(h.dir.File("ManualURL.txt")));
}

TEST(UrlBox, ListThatIsNoSmallFileIsRefusedAtStart) {
    LaunchHarness big;
    lvtest::WriteBytes(big.dir.File("ManualURL.txt"), std::string(2 << 20, 'x'));
    EXPECT_THROW(big.Start(""), lv::FileError);
    EXPECT_TRUE(big.form->State().manualUrls.empty());

    // A FIFO would block the start for good.
    LaunchHarness fifo;
    ASSERT_EQ(::mkfifo(fifo.dir.File("ManualURL.txt").c_str(), 0600), 0);
    EXPECT_THROW(fifo.Start(""), lv::FileError);
}

TEST(UrlBox, LocalEntryIsFoundInSubfoldersAndOpenedByTheShell) {
    LaunchHarness h;
    auto& form = h.Start("");
    const auto tools = h.dir.Path() / "tools";
    std::filesystem::create_directories(tools / "deep" / "deeper");
    lvtest::WriteBytes(tools / "deep" / "deeper" / "Report.TXT", "deep");
    lvtest::WriteBytes(tools / "deep" / "report.txt", "shallow");

    form.URLBoxOpen(tools.string() + "/report.txt");
    ASSERT_EQ(h.shell.opened.size(), 1u);
    EXPECT_EQ(h.shell.opened[0].file, (tools / "deep" / "report.txt").string());
    EXPECT_TRUE(h.launcher.starts.empty());
    EXPECT_EQ(form.State().manualUrls.front(), (tools / "deep" / "report.txt").string());

    // Not found: handed to the shell as typed.
    form.URLBoxOpen(tools.string() + "/missing.txt");
    EXPECT_EQ(h.shell.opened.back().file, tools.string() + "/missing.txt");
}

TEST(UrlBox, SearchReportsFoldersAndCanBeCancelled) {
    lvtest::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "a" / "b");
    lvtest::WriteBytes(dir.Path() / "a" / "b" / "target", "");
    std::vector<std::string> seen;
    auto found = lv::FindFileUnder(dir.Path(), "target", [&](const std::string& folder) {
        seen.push_back(folder);
        return true;
    });
    EXPECT_EQ(found, dir.Path() / "a" / "b" / "target");
    EXPECT_EQ(seen.size(), 4u); // three folders, then the end
    EXPECT_EQ(seen.back(), "");

    seen.clear();
    found = lv::FindFileUnder(dir.Path(), "target", [&](const std::string& folder) {
        seen.push_back(folder);
        return seen.size() < 2;
    });
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(seen.back(), "");
}

} // namespace
