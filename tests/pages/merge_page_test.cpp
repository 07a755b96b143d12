#include "PagesFixture.h"
#include "pages/ColorFilter.h"
#include "pages/FileMerge.h"
#include "pages/MergePage.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace lv;
using lvtest::Lines;

const std::string kTwoPages =
    Lines({"[Tabs]",      "Count=2",         "Tab1=Work", "Tab2=News", "[Work]",
           "01N=dup one", "01U=http://dup/", "01C=255",   "02N=plain", "02U=http://plain/",
           "03N=dup two", "03U=http://dup/", "03C=255",   "04N=red",   "04U=http://red/",
           "04C=255",     "04P=note",        "[News]",    "02N=old",   "02U=http://plain/",
           "03N=stale",   "03G=12"});

TEST(MergePage, IntoItselfCopiesNothing) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    lvtest::WriteBytes(file, kTwoPages);
    const MergePageResult result = MergePageFiles(file, "Work", file, "Work", 111, false);
    EXPECT_EQ(result.copied, 0);
    EXPECT_EQ(lvtest::ReadBytes(file), kTwoPages);
}

TEST(MergePage, EachBookmarkArrivesAsItselfInTheFreeSlots) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    lvtest::WriteBytes(file, kTwoPages);

    // http://plain/ is already on News; both bookmarks of http://dup/ come over as themselves,
    // and the stale G of News' empty slot 3 does not stick to the one laid there.
    const MergePageResult result = MergePageFiles(file, "Work", file, "News", 111, false);
    EXPECT_EQ(result.copied, 3);
    EXPECT_EQ(lvtest::Titles(file, "News", 5),
              (std::vector<std::string>{"dup one", "old", "dup two", "red", ""}));
    const TIniFile32 ini(file);
    EXPECT_EQ(ini.ReadString("News", "03G", ""), "");
    EXPECT_EQ(ini.ReadString("News", "04P", ""), "note");
    EXPECT_EQ(ReadBookmark(ini, "Work", 4).title, "red"); // the source stays
}

TEST(MergePage, ColourFilterMergesOnlyThatColour) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    lvtest::WriteBytes(file, kTwoPages);
    MergePageFiles(file, "Work", file, "Mail", 255, false);
    EXPECT_EQ(lvtest::Titles(file, "Mail", 4),
              (std::vector<std::string>{"dup one", "dup two", "red", ""}));
}

TEST(MergePage, AFullTargetSkipsTheRest) {
    TIniFile32 source =
        TIniFile32::FromBytes("s", Lines({"[P]", "01U=http://x/", "02U=http://y/"}));
    std::string full = "[P]\r\n";
    for (int slot = 1; slot <= 79; ++slot) {
        full += SlotKey(slot, 'U') + "=http://t" + std::to_string(slot) + "/\r\n";
    }
    TIniFile32 target = TIniFile32::FromBytes("t", full);
    target.SetDeferSaves(true);
    const MergePageResult result = MergePage(source, "P", target, "P", 111, false);
    EXPECT_EQ(result.copied, 1);
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(target.ReadString("P", "80U", ""), "http://x/");
}

TEST(CarriedBookmarks, TooFewFreeSlotsChangesNothing) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    std::string bytes = kTwoPages + "[Full]\r\n";
    for (int slot = 1; slot <= 78; ++slot) {
        bytes += SlotKey(slot, 'U') + "=http://f/\r\n";
    }
    lvtest::WriteBytes(file, bytes);
    EXPECT_EQ(DropCarriedBookmarks(file, "Work", {1, 2, 4}, file, "Full", true),
              "There are not enough blank buttons to move bookmarks on to, please try again.");
    EXPECT_EQ(lvtest::ReadBytes(file), bytes);
}

TEST(CarriedBookmarks, MoveAcrossFilesLeavesThemOnlyInTheTarget) {
    lvtest::TempDir dir;
    const std::string source = dir.File("Disk.LVD");
    const std::string target = dir.File("Other.LVD");
    lvtest::WriteBytes(source, kTwoPages);
    lvtest::WriteBytes(target,
                       Lines({"[Tabs]", "Count=1", "Tab1=Home", "[Home]", "01U=http://h/"}));
    EXPECT_EQ(DropCarriedBookmarks(source, "Work", {4, 2}, target, "Home", true), "");
    EXPECT_EQ(lvtest::Titles(target, "Home", 3), (std::vector<std::string>{"", "red", "plain"}));
    EXPECT_EQ(lvtest::Titles(source, "Work", 4),
              (std::vector<std::string>{"dup one", "", "dup two", ""}));
}

TEST(CarriedPage, InsertAcrossFilesGetsAUniqueNameAndPacksTheSlots) {
    lvtest::TempDir dir;
    const std::string source = dir.File("Disk.LVD");
    const std::string target = dir.File("Other.LVD");
    lvtest::WriteBytes(source, kTwoPages);
    lvtest::WriteBytes(target, Lines({"[Tabs]", "Count=2", "Tab1=Home", "Tab2=Work"}));
    std::vector<std::string> pages = {"Home", "Work"};
    const std::string name =
        DropCarriedPage(source, "News", target, pages, 1, PageDrop::Insert, 111);
    EXPECT_EQ(name, "News");
    EXPECT_EQ(pages, (std::vector<std::string>{"Home", "News", "Work"}));
    EXPECT_EQ(ReadTabs(TIniFile32(target)), pages);
    EXPECT_EQ(lvtest::Titles(target, "News", 2), (std::vector<std::string>{"old", ""}));

    EXPECT_EQ(DropCarriedPage(source, "News", target, pages, 0, PageDrop::Insert, 111), "News+");
}

TEST(CarriedPage, ANameDifferingOnlyInCaseArrivesAsAPageOfItsOwn) {
    // Copy-Insert and Move alike: "Work" beside "WORK" would be a second tab over WORK's
    // section, and erasing either would erase both.
    for (const PageDrop drop : {PageDrop::Insert, PageDrop::Move}) {
        lvtest::TempDir dir;
        const std::string source = dir.File("Disk.LVD");
        const std::string target = dir.File("Other.LVD");
        lvtest::WriteBytes(source, Lines({"[Tabs]", "Count=1", "Tab1=Work", "[Work]", "01N=theirs",
                                          "01U=http://theirs/"}));
        lvtest::WriteBytes(target, Lines({"[Tabs]", "Count=1", "Tab1=WORK", "[WORK]", "01N=mine",
                                          "01U=http://mine/"}));
        std::vector<std::string> pages = {"WORK"};
        EXPECT_EQ(DropCarriedPage(source, "Work", target, pages, 1, drop, kNoColorFilter), "Work+");
        EXPECT_EQ(ReadTabs(TIniFile32(target)), (std::vector<std::string>{"WORK", "Work+"}));
        EXPECT_EQ(lvtest::Titles(target, "WORK", 2), (std::vector<std::string>{"mine", ""}));
        EXPECT_EQ(lvtest::Titles(target, "Work+", 2), (std::vector<std::string>{"theirs", ""}));
    }
}

class FileMerge : public ::testing::TestWithParam<MergeMode> {};

TEST_P(FileMerge, APageDifferingOnlyInCaseMergesIntoOursAndNoneTakesOurSections) {
    lvtest::TempDir dir;
    const std::string current = dir.File("Disk.LVD");
    const std::string chosen = dir.File("Chosen.lvd");
    lvtest::WriteBytes(current, Lines({"[Tabs]", "Count=1", "Tab1=WORK", "[WORK]", "01N=mine",
                                       "01U=http://mine/", "[MRU]", "Count=0"}));
    lvtest::WriteBytes(chosen,
                       Lines({"[Tabs]", "Count=2", "Tab1=Work", "Tab2=MRU", "[Work]", "04N=theirs",
                              "04U=http://theirs/", "[MRU]", "02N=recent", "02U=http://recent/"}));
    const MergeMode mode = GetParam();
    const FileMergeResult result = MergeDataFile(chosen, current, mode, kNoColorFilter);
    EXPECT_EQ(lvtest::Titles(current, "WORK", 2), (std::vector<std::string>{"mine", "theirs"}));
    const TIniFile32 ini(current);
    EXPECT_EQ(ini.ReadString("MRU", "01N", "none"), "none");
    if (mode == MergeMode::Add) {
        EXPECT_EQ(ReadTabs(ini), (std::vector<std::string>{"WORK", "MRU+"}));
        EXPECT_EQ(result.pagesAdded, std::vector<std::string>{"MRU+"});
        EXPECT_EQ(lvtest::Titles(current, "MRU+", 1), std::vector<std::string>{"recent"});
    } else {
        EXPECT_EQ(ReadTabs(ini), std::vector<std::string>{"WORK"});
    }
}

TEST_P(FileMerge, AddAppendsMissingPagesAndMatchSkipsThem) {
    lvtest::TempDir dir;
    const std::string current = dir.File("Disk.LVD");
    const std::string chosen = dir.File("Chosen.lvd");
    lvtest::WriteBytes(current, Lines({"[Tabs]", "Count=1", "Tab1=Work", "[Work]", "01N=mine",
                                       "01U=http://mine/"}));
    lvtest::WriteBytes(chosen, Lines({"[Tabs]", "Count=2", "Tab1=Work", "Tab2=News", "[Work]",
                                      "05N=mine", "05U=http://mine/", "07N=w", "07U=http://w/",
                                      "[News]", "03N=n", "03U=http://n/"}));
    lvtest::ScriptedDialogs dialogs;
    dialogs.Queue(GetParam() == MergeMode::Add ? 1 : -1); // closing the question is Match

    const FileMergeResult result = MergeFiles(dialogs, chosen, current, true, 111);
    EXPECT_TRUE(std::filesystem::exists(dir.File("Disk.bak")));
    const TIniFile32 ini(current);
    EXPECT_EQ(lvtest::Titles(current, "Work", 2), (std::vector<std::string>{"mine", "w"}));
    if (GetParam() == MergeMode::Add) {
        EXPECT_EQ(ReadTabs(ini), (std::vector<std::string>{"Work", "News"}));
        EXPECT_EQ(lvtest::Titles(current, "News", 1), std::vector<std::string>{"n"});
        EXPECT_EQ(result.pagesAdded, std::vector<std::string>{"News"});
    } else {
        EXPECT_EQ(ReadTabs(ini), std::vector<std::string>{"Work"});
        EXPECT_FALSE(ini.FindSection("News"));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, FileMerge, ::testing::Values(MergeMode::Add, MergeMode::Match));

TEST(FileMerge, APasswordProtectedFileIsRefusedAndTheBackupKept) {
    lvtest::TempDir dir;
    const std::string current = dir.File("Disk.LVD");
    const std::string chosen = dir.File("Locked.LVD");
    const std::string before = Lines({"[Tabs]", "Count=1", "Tab1=Work"});
    lvtest::WriteBytes(current, before);
    lvtest::WriteBytes(chosen, Lines({"[Tabs]", "Count=1", "Tab1=Work",
                                      std::string("\xDF_\xB6__=abc"), "[Work]", "01U=http://x/"}));
    lvtest::WriteBytes(dir.File("Disk.bak"), "last edit");
    lvtest::ScriptedDialogs dialogs;
    dialogs.Queue(1);
    EXPECT_TRUE(MergeFiles(dialogs, chosen, current, true, 111).passwordProtected);
    EXPECT_EQ(dialogs.Asked().back(), "Message: The file you selected is Password Protected!");
    EXPECT_EQ(lvtest::ReadBytes(current), before);
    // Nothing changed, so the backup of the last real edit is still there.
    EXPECT_EQ(lvtest::ReadBytes(dir.File("Disk.bak")), "last edit");
}

TEST(FileMerge, DerivedNamesFindTheFileInAnyLetterCase) {
    lvtest::TempDir dir;
    lvtest::WriteBytes(dir.File("Work.lvd"), "[Tabs]\r\n");
    EXPECT_EQ(DataFileForStem(dir.File("Work"), ".LVD"), dir.File("Work.lvd"));
    EXPECT_EQ(DataFileForStem(dir.File("New"), ".LVD"), dir.File("New.LVD"));
}

} // namespace

namespace {

using namespace lv;

// Whole-file merges edit section by section; the keys must come out as one engine writes them.
TEST(FileMerge, SectionBySectionGivesWhatOneEngineGives) {
    const std::string current =
        lvtest::Lines({"; hand-edited", "[Tabs]", "Count=3", "Tab1=Work", "Tab2=work2",
                       "Tab3=Empty", "", "[Work]", "01U=http://a/", "02N=gap", "", "[Other]", "x=1",
                       "[WORK]", "05U=http://dup/", "[work2]", "01U=http://b/"});
    const std::string chosen = lvtest::Lines(
        {"[Tabs]", "Count=4", "Tab1=Work", "Tab2=work2", "Tab3=Empty", "Tab4=New", "[Work]",
         "03N=three", "03U=http://c/", "04U=http://a/", "[work2]", "07N=b2", "07U=http://b2/",
         "[Empty]", "01N=e", "01U=http://e/", "[New]", "02U=http://new/"});
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    lvtest::WriteBytes(file, current);
    lvtest::WriteBytes(dir.File("Chosen.LVD"), chosen);
    MergeDataFile(dir.File("Chosen.LVD"), file, MergeMode::Add, 111);

    TIniFile32 expected = TIniFile32::FromBytes("x", current);
    expected.SetDeferSaves(true);
    const TIniFile32 source = TIniFile32::FromBytes("y", chosen);
    std::vector<std::string> pages = ReadTabs(expected);
    pages.push_back("New");
    SaveTabs(expected, pages);
    for (const std::string& page : pages) {
        MergePage(source, page, expected, page, 111, false);
    }
    const TIniFile32 merged(file);
    ASSERT_EQ(merged.LineCount(), expected.LineCount());
    for (std::size_t i = 0; i < merged.LineCount(); ++i) {
        if (!TIniFile32::Trim(expected.Line(i)).empty()) {
            EXPECT_EQ(merged.Line(i), expected.Line(i)) << "line " << i;
        }
    }
}

} // namespace
