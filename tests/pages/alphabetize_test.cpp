#include "PagesFixture.h"
#include "pages/Alphabetize.h"
#include "store/FileError.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace lv;
using lvtest::Lines;

AlphabetizeRequest OnePage(const std::string& file, int columns = 4) {
    AlphabetizeRequest request;
    request.dataFile = file;
    request.pages = {"Work", "News"};
    request.columnCount = columns;
    return request;
}

TEST(Alphabetize, OnePageSortsIntoTheFirstSlotsIgnoringCase) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    lvtest::WriteBytes(file, Lines({"[Tabs]", "Count=2", "Tab1=Work", "Tab2=News", "[Work]",
                                    "03N=zeta", "03U=http://z/", "03I=z.ico", "07N=Alpha",
                                    "07U=http://a/", "09N=beta", "09U=http://b2/", "09P=two",
                                    "10N=Beta", "10U=http://b1/", "61N=hidden", "61U=http://h/"}));
    // With 3 columns slot 61 is off the grid: neither collected nor filled.
    const AlphabetizeResult result = AlphabetizePages(OnePage(file, 3));
    EXPECT_EQ(lvtest::Titles(file, "Work", 10),
              (std::vector<std::string>{"Alpha", "Beta", "beta", "zeta", "", "", "", "", "", ""}));
    const TIniFile32 ini(file);
    EXPECT_EQ(ini.ReadString("Work", "03P", ""), "two"); // same name: ordered by URL
    EXPECT_EQ(ini.ReadString("Work", "04I", ""), "z.ico");
    EXPECT_EQ(ini.ReadString("Work", "61N", ""), "hidden");
    EXPECT_EQ(result.recentEntriesToRemove,
              (std::vector<std::string>{"zeta  |Work::03", "Alpha  |Work::07", "beta  |Work::09",
                                        "Beta  |Work::10"}));
    EXPECT_TRUE(std::filesystem::exists(dir.File("Disk.bak")));
}

TEST(Alphabetize, ARangeOfPagesIsSortedTogetherFromTheFirstPage) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    std::string bytes = Lines({"[Tabs]", "Count=2", "Tab1=Work", "Tab2=News"});
    std::vector<std::string> expected;
    for (int page = 0; page < 2; ++page) {
        bytes += page == 0 ? "[Work]\r\n" : "[News]\r\n";
        const int count = page == 0 ? 30 : 10;
        for (int i = 0; i < count; ++i) {
            // Scattered slots, titles out of order.
            const int slot = page == 0 ? 80 - 2 * i : 5 + i;
            const std::string title = "T" + std::to_string(100 + (i * 7 + page * 3) % 100) + "-" +
                                      std::to_string(page) + std::to_string(i);
            bytes += SlotKey(slot, 'N') + "=" + title + "\r\n";
            bytes += SlotKey(slot, 'U') + "=http://" + title + "/\r\n";
            expected.push_back(title);
        }
    }
    lvtest::WriteBytes(file, bytes);
    std::sort(expected.begin(), expected.end());
    expected.resize(80, "");

    AlphabetizeRequest request = OnePage(file);
    request.lastPage = 1;
    EXPECT_EQ(AlphabetizePages(request).sorted, 40);
    EXPECT_EQ(lvtest::Titles(file, "Work", 80), expected);
    EXPECT_EQ(lvtest::Titles(file, "News", 80), std::vector<std::string>(80, ""));
}

TEST(Alphabetize, OnlyBookmarksOfTheFilterColourMove) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    lvtest::WriteBytes(file, Lines({"[Work]", "02N=blue", "02U=http://blue/", "02C=16711680",
                                    "05N=red b", "05U=http://rb/", "05C=255", "06N=plain",
                                    "06U=http://p/", "08N=red a", "08U=http://ra/", "08C=255"}));
    AlphabetizeRequest request = OnePage(file);
    request.filter = {"Select", 255, 0};
    AlphabetizePages(request);
    EXPECT_EQ(lvtest::Titles(file, "Work", 8),
              (std::vector<std::string>{"red a", "blue", "red b", "", "", "plain", "", ""}));
}

TEST(Alphabetize, MarkerBytesInsideATitleSurvive) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    const std::string title = "A \x95"
                              "05 B";
    lvtest::WriteBytes(file, Lines({"[Work]", "04N=" + title, "04U=http://x/"}));
    AlphabetizePages(OnePage(file));
    const Bookmark moved = ReadBookmark(TIniFile32(file), "Work", 1);
    EXPECT_EQ(moved.title, title);
    EXPECT_EQ(moved.notes, "");
}

TEST(Alphabetize, AFailedSaveLeavesTheFileAsItWas) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    std::string bytes = "[Work]\r\n";
    for (int slot = 80; slot >= 1; --slot) {
        bytes += SlotKey(slot, 'N') + "=title " + std::to_string(slot) + "\r\n" +
                 SlotKey(slot, 'U') + "=http://example.com/" + std::to_string(slot) + "\r\n";
    }
    lvtest::WriteBytes(file, bytes);

    // A child whose files may not grow past half the DataFile stands in for a full disk or a
    // crash during the save.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes.size() / 2, bytes.size() / 2};
        setrlimit(RLIMIT_FSIZE, &limit);
        AlphabetizeRequest request = OnePage(file);
        request.autoBackup = false;
        try {
            AlphabetizePages(request);
        } catch (const FileError&) {
            _exit(0);
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(lvtest::ReadBytes(file), bytes);

    AlphabetizePages(OnePage(file));
    EXPECT_EQ(lvtest::Titles(file, "Work", 2), (std::vector<std::string>{"title 1", "title 10"}));
}

TEST(Alphabetize, RangeQuestions) {
    lvtest::ScriptedDialogs dialogs;
    EXPECT_FALSE(ConfirmAlphabetizeRange(dialogs, -1, -1));
    EXPECT_TRUE(ConfirmAlphabetizeRange(dialogs, 2, 2));
    dialogs.Queue(MsgResult::No);
    EXPECT_FALSE(ConfirmAlphabetizeRange(dialogs, 1, 4));
    EXPECT_EQ(dialogs.Asked(),
              (std::vector<std::string>{
                  "Message: You did not select a page, or pages, to Alphabetize.",
                  "Message: Are you sure you want to alphabetize Page 2 through Page 5\rThis will "
                  "alphabetize all bookmarks within this range together."}));
    EXPECT_EQ(AlphabetizeCaption("Work"), "Alphabetize the \"Work\" Page");
}

} // namespace
