// What the checker window does besides listing: the time limit, "Stop Checking", the row and
// list actions on the DataFile, the second pass, and several links at once.
#include "CheckerFixture.h"

#include "support/SlowHttpServer.h"

#include "store/Backup.h"

#include <filesystem>

using lv::CheckList;
using lv::CheckRow;
using lvtest::Status;

namespace {

using CheckerActions = lvtest::CheckerFixture;

TEST_F(CheckerActions, NoPageChosenIsToldAndNothingRuns) {
    WritePages({{"Sites", {{1, "One", Web("/p1.html")}}}});
    auto form = Window(-1, -1);
    form->SearchButtonClick();
    ASSERT_EQ(dialogs_.Asked().size(), 1u);
    EXPECT_EQ(dialogs_.Asked()[0],
              std::string("Message: ") + std::string(lv::kNoPagesToVerifyText));
    EXPECT_FALSE(form->Checking());
    EXPECT_TRUE(form->View1().empty());
}

TEST_F(CheckerActions, HungServerIsReportedAfterTheTimeLimit) {
    WritePages({{"Sites", {{1, "Hung", bad_->hung.Url("/")}}}});
    auto form = Window(0, 0);
    form->SetTimeLimitForTesting(std::chrono::milliseconds(800));
    const auto started = std::chrono::steady_clock::now();
    form->SearchButtonClick();
    // Not before its time: the window keeps running its loop meanwhile.
    loop_.RunUntil([] { return false; }, std::chrono::milliseconds(600));
    EXPECT_TRUE(form->View1().empty());
    ASSERT_TRUE(loop_.RunUntil([&] { return !form->Checking(); }, std::chrono::seconds(10)));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(800));
    EXPECT_EQ(form->View1(), (std::vector<CheckRow>{{"Sites", "Hung", bad_->hung.Url("/"), "01",
                                                     std::string(lv::kNotReplyingText)},
                                                    Status("Completed")}));
    EXPECT_EQ(form->BCountL(), "1");
}

TEST_F(CheckerActions, StopCheckingEndsTheRunWithoutBlamingTheLinkUnderWay) {
    WritePages({{"Sites",
                 {{1, "Page one", Web("/p1.html")},
                  {2, "Hung", bad_->hung.Url("/")},
                  {3, "Missing", Web("/missing.html")}}}});
    auto form = Window(0, 0);
    form->SetTimeLimitForTesting(std::chrono::seconds(20));
    form->SearchButtonClick();
    ASSERT_TRUE(
        loop_.RunUntil([&] { return bad_->hung.Connections() == 1; }, std::chrono::seconds(10)));
    form->AbortButtonClick();
    ASSERT_TRUE(loop_.RunUntil([&] { return !form->Checking(); }, std::chrono::seconds(5)));
    EXPECT_EQ(form->View1(), std::vector<CheckRow>{Status("Stopped!")});
    ASSERT_EQ(form->View2().size(), 2u);
    EXPECT_EQ(form->View2()[0].btn, "01");
    EXPECT_EQ(form->View2()[1], Status("Stopped!"));
    EXPECT_EQ(form->TCountL(), "1 of 3");
    EXPECT_EQ(beeps_, 0);
    // The stamp found before the stop is kept.
    EXPECT_EQ(Read("Sites", 1, 'D'), lvtest::kStamp1Text);
}

// Three bad links on two pages, then a whole-list action.
struct ListCase {
    const char* name;
    int choice; // Move, Copy, Erase, Ignore
    bool sourceKept;
    bool newPage;
};

class CheckerListActions : public lvtest::CheckerFixture,
                           public ::testing::WithParamInterface<ListCase> {};

TEST_P(CheckerListActions, LeaveTheDataFileAsTheChoiceSays) {
    const ListCase& c = GetParam();
    WritePages({{"Sites",
                 {{1, "Fine", Web("/p1.html")},
                  {2, "Missing", Web("/missing.html"), {{'P', "note"}, {'C', "255"}}},
                  {5, "Gone", Web("/gone")}}},
                {"More", {{7, "Also missing", Web("/nothing.html")}}}});
    auto form = Window(0, 1);
    Check(*form);
    ASSERT_EQ(form->View1().size(), 4u); // three links and "Completed"

    dialogs_.Queue(c.choice);
    if (c.choice == 2) {
        dialogs_.Queue(lv::MsgResult::Yes);
    }
    form->MoveBClick(CheckList::Bad);
    EXPECT_EQ(dialogs_.UserDlgs().back().title, "Move, Copy or Erase Bookmarks.");
    const lv::TIniFile32 ini(dataFile_);
    const auto tabs = lv::ReadTabs(ini);
    EXPECT_EQ(tabs.size(), c.newPage ? 3u : 2u);
    EXPECT_EQ(Read("Sites", 2, 'U').empty(), !c.sourceKept);
    EXPECT_EQ(Read("Sites", 5, 'U').empty(), !c.sourceKept);
    EXPECT_EQ(Read("More", 7, 'U').empty(), !c.sourceKept);
    EXPECT_EQ(Read("Sites", 1, 'U'), Web("/p1.html")); // not in the list
    EXPECT_EQ(form->View1().empty(), c.choice != 3);
    if (c.newPage) {
        EXPECT_EQ(tabs[2], "Bad Links");
        EXPECT_EQ(addedTab_, 2);
        EXPECT_EQ(Read("Bad Links", 1, 'U'), Web("/missing.html"));
        EXPECT_EQ(Read("Bad Links", 1, 'N'), "Missing");
        EXPECT_EQ(Read("Bad Links", 1, 'C'), "255");
        EXPECT_EQ(Read("Bad Links", 1, 'P'), "note Sites");
        EXPECT_EQ(Read("Bad Links", 2, 'U'), Web("/gone"));
        // Written as " Sites"; the engine trims values when reading.
        EXPECT_EQ(Read("Bad Links", 2, 'P'), "Sites");
        EXPECT_EQ(Read("Bad Links", 3, 'U'), Web("/nothing.html"));
        EXPECT_EQ(Read("Bad Links", 3, 'P'), "More");
        EXPECT_EQ(Read("Bad Links", 4, 'U'), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Choices, CheckerListActions,
                         ::testing::Values(ListCase{"Move", 0, false, true},
                                           ListCase{"Copy", 1, true, true},
                                           ListCase{"Erase", 2, false, false},
                                           ListCase{"Ignore", 3, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckerActions, EraseAskedNoAndEmptyListMoveStillMakeThePage) {
    WritePages({{"Sites", {{1, "Missing", Web("/missing.html")}}}});
    auto form = Window(0, 0);
    Check(*form);
    dialogs_.Queue(2);
    dialogs_.Queue(lv::MsgResult::No);
    form->MoveBClick(CheckList::Bad);
    EXPECT_EQ(Read("Sites", 1, 'U'), Web("/missing.html"));
    EXPECT_EQ(form->View1().size(), 2u);
    // The updated list holds only "Completed": moving it makes an empty page all the same.
    dialogs_.Queue(0);
    form->MoveBClick(CheckList::Updated);
    EXPECT_EQ(lv::ReadTabs(lv::TIniFile32(dataFile_)).back(), "Updated Links");
    EXPECT_TRUE(form->View2().empty());
}

TEST_F(CheckerActions, ABookmarkInBothListsIsCarriedOnce) {
    // A 301 is a bad row, and the page it leads to an updated one: the same bookmark twice.
    WritePages({{"Sites", {{1, "Old place", Web("/old"), {{'P', "n"}}}}}});
    auto form = Window(0, 0);
    Check(*form);
    ASSERT_EQ(form->View1().size(), 2u);
    ASSERT_EQ(form->View2().size(), 2u);
    dialogs_.Queue(0);
    form->MoveBClick(CheckList::Bad);
    dialogs_.Queue(0);
    form->MoveBClick(CheckList::Updated);
    EXPECT_EQ(Read("Bad Links", 1, 'U'), Web("/old"));
    EXPECT_EQ(Read("Bad Links", 1, 'P'), "n Sites");
    // The slot was already gone: nothing is made of it, not even a slot with notes alone.
    const lv::TIniFile32 ini(dataFile_);
    for (const char letter : std::string_view("NUPD")) {
        EXPECT_EQ(Read("Updated Links", 1, letter), "") << letter;
    }
    EXPECT_EQ(lv::ReadTabs(ini).back(), "Updated Links");
}

TEST_F(CheckerActions, RowActionsLaunchDeleteAndEdit) {
    WritePages({{"Sites",
                 {{1, "Missing", Web("/missing.html")},
                  {2, "Gone", Web("/gone")},
                  {3, "Also", Web("/also-missing")}}}});
    auto form = Window(0, 0);
    Check(*form);
    ASSERT_EQ(form->View1().size(), 4u);
    dialogs_.Queue(0); // Launch
    form->View1MouseDown(0);
    EXPECT_EQ(launched_, std::vector<std::string>{"Sites 01 " + Web("/missing.html")});
    EXPECT_EQ(dialogs_.UserDlgs().back().title, "Launch, Delete or Edit bookmark");
    dialogs_.Queue(1); // Delete
    form->View1MouseDown(1);
    EXPECT_EQ(Read("Sites", 2, 'U'), "");
    EXPECT_EQ(form->View1().size(), 3u);
    dialogs_.Queue(2); // Edit
    form->View1MouseDown(1);
    EXPECT_EQ(edited_, std::vector<std::string>{"Sites 03 " + Web("/also-missing")});
    EXPECT_EQ(form->View1().size(), 2u);
    dialogs_.Queue(3); // Ignore
    form->View1MouseDown(0);
    EXPECT_EQ(form->View1().size(), 2u);
    // The status row names no bookmark: nothing is asked.
    const auto asked = dialogs_.Asked().size();
    form->View1MouseDown(1);
    EXPECT_EQ(dialogs_.Asked().size(), asked);
}

TEST_F(CheckerActions, StoringStampsKeepsTheFileAsItWasBefore) {
    WritePages({{"Sites", {{1, "Page one", Web("/p1.html")}}}});
    const std::string before = lvtest::ReadBytes(dataFile_);
    autoBackup_ = true;
    auto form = Window(0, 0);
    Check(*form);
    const std::string backup = lv::BackupFileName(dataFile_);
    ASSERT_TRUE(std::filesystem::exists(backup));
    EXPECT_EQ(lvtest::ReadBytes(backup), before);
    // Nothing new to store: the next run takes no backup, and leaves none armed.
    std::filesystem::remove(backup);
    Check(*form);
    lv::TIniFile32 ini(dataFile_);
    ini.WriteString("Sites", "01N", "Renamed");
    EXPECT_FALSE(std::filesystem::exists(backup));
}

TEST_F(CheckerActions, SecondPassReportsOnlyLinksThatFailTwice) {
    // The first answer fails, the second succeeds: a flaky server.
    lvtest::ScriptedServer flaky(
        {lvtest::ScriptedServer::Reply("HTTP/1.0 503 Busy\r\n\r\n"),
         lvtest::ScriptedServer::Reply("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n")});
    WritePages({{"Sites",
                 {{1, "Flaky", flaky.Url("/")},
                  {2, "Missing", Web("/missing.html")},
                  {3, "Fine", Web("/p1.html")}}}});
    auto form = Window(0, 0, 1, true);
    Check(*form);
    EXPECT_EQ(form->View1(), (std::vector<CheckRow>{{"Sites", "Missing", Web("/missing.html"), "02",
                                                     "HTTP/1.1 404 Not Found"},
                                                    Status("Completed")}));
    EXPECT_EQ(form->BCountL(), "1");
    EXPECT_EQ(flaky.Connections(), 2);
    EXPECT_EQ(form->View2().size(), 2u);
    // Remembered for the next window.
    EXPECT_TRUE(lv::CheckerOptions::Read(settingsFile_).secondPass);
}

TEST(CheckerSeveral, NeverMoreThanTwoAtOnceToOneHostAndRowsInQueueOrder) {
    lvtest::SlowHttpServer server(3, std::chrono::milliseconds(60));
    lv::PollEventLoop loop;
    std::vector<lv::CheckEntry> entries;
    // Mostly one host, then two others: the others must not wait behind the first one's queue.
    for (int i = 0; i < 12; ++i) {
        const int host = i < 8 ? 1 : 2 + i % 2;
        entries.push_back({server.Url(host, "n" + std::to_string(i)), "T" + std::to_string(i),
                           "Page", lv::SlotPrefix(i + 1)});
    }
    lvtest::TempDir dir;
    std::vector<std::string> order;
    bool done = false;
    lv::LinkChecker::Events events;
    events.row = [&](CheckList list, const CheckRow& row) {
        if (list == CheckList::Updated && !row.IsStatus()) {
            order.push_back(row.title);
        }
    };
    events.finished = [&](bool) { done = true; };
    lv::LinkChecker checker(loop, dir.File("x.lvd"), events);
    checker.SetJobs(8);
    ASSERT_TRUE(checker.Start(entries));
    EXPECT_FALSE(checker.Start(entries)); // a second run while one goes is refused
    ASSERT_TRUE(loop.RunUntil([&] { return done; }, std::chrono::seconds(30)));
    EXPECT_EQ(checker.PeakPerHost(), 2);
    EXPECT_EQ(checker.PeakRunning(), 6);
    for (const auto& [address, peak] : server.PeakPerAddress()) {
        EXPECT_LE(peak, 2) << address;
    }
    // Hosts 2 and 3 were asked before host 1's queue was through.
    const auto paths = server.Paths();
    ASSERT_EQ(paths.size(), 12u);
    EXPECT_LT(std::find(paths.begin(), paths.end(), "/n8") - paths.begin(), 6);
    std::vector<std::string> queued;
    for (int i = 0; i < 12; ++i) {
        queued.push_back("T" + std::to_string(i));
    }
    EXPECT_EQ(order, queued);
    EXPECT_EQ(checker.Checked(), 12);
}

TEST(CheckerStamps, StampComparedWithoutSpacingOrZone) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {" Tue, 02 Jan 2024 03:04:05 GMT", "Tue, 02 Jan 2024 03:04:05"},
        {"Tue, 02 Jan 2024 03:04:05 GMT  ", "Tue, 02 Jan 2024 03:04:05"},
        {"Tue, 02 Jan 2024 03:04:05", "Tue, 02 Jan 2024 03:04:05"},
        {"\tTue, 02 Jan 2024 03:04:05 gmt", "Tue, 02 Jan 2024 03:04:05"},
        {"", ""},
    };
    for (const auto& [value, stamp] : cases) {
        EXPECT_EQ(lv::LastModifiedStamp(value), stamp) << value;
    }
    for (const int code : {301, 400, 404, 410, 451, 500, 503, 599}) {
        EXPECT_TRUE(lv::IsBadStatus(code)) << code;
    }
    for (const int code : {200, 204, 302, 303, 304, 307, 308}) {
        EXPECT_FALSE(lv::IsBadStatus(code)) << code;
    }
}

} // namespace
