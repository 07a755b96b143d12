#include "pages_harness.h"

#include "pages/ColorFilter.h"
#include "store/Backup.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lvtest {
namespace {

using Names = std::vector<std::string>;

// The file without its [Tabs] section: what a pure reordering of pages must leave alone.
std::string WithoutTabs(const std::string& bytes) {
    const auto begin = bytes.find("[Tabs]");
    const auto end = bytes.find("\r\n[", begin);
    return bytes.substr(0, begin) + (end == std::string::npos ? "" : bytes.substr(end));
}

TEST(TabDrag, MoveOnlyReordersThePageList) {
    const struct {
        int from, to;
        Names order;
    } cases[] = {{0, 3, {"P2", "P3", "P4", "P1", "P5"}}, {3, 0, {"P4", "P1", "P2", "P3", "P5"}}};
    for (const auto& c : cases) {
        PagesHarness h(PagesFile({{"P1", Mark(1, "a")},
                                  {"P2", Mark(2, "b")},
                                  {"P3", ""},
                                  {"P4", Mark(80, "d")},
                                  {"P5", ""}}));
        lv::TForm1& form = h.Open();
        form.SelectTab(c.from);
        const std::string before = ReadBytes(h.path);
        EXPECT_FALSE(form.TabSet1DragOver(c.from));
        EXPECT_TRUE(form.TabSet1DragOver(c.to));

        h.dialogs.Queue(2); // "Leave"
        form.TabSet1DragDrop(c.to);
        EXPECT_EQ(ReadBytes(h.path), before);

        h.dialogs.Queue(0); // "Move"
        form.TabSet1DragDrop(c.to);
        EXPECT_EQ(h.Tabs(), c.order);
        EXPECT_EQ(form.State().TabSet1.selected, c.to);
        EXPECT_EQ(form.State().TabSet1.Current(), c.order[static_cast<std::size_t>(c.to)]);
        EXPECT_EQ(WithoutTabs(ReadBytes(h.path)), WithoutTabs(before));
        form.MUndoClick();
        EXPECT_EQ(ReadBytes(h.path), before);
    }
}

// Slot 7 holds a title without an address: not a bookmark, so a merge leaves it out.
const std::string kSource = Mark(2, "two") + Mark(5, "five", "05C=255\r\n") + "07N=loose\r\n";

TEST(PageCopy, ByMenuInsertCompactsBookmarksAndHonoursTheColourFilter) {
    for (const bool filter : {false, true}) {
        SCOPED_TRACE(filter);
        PagesHarness h(PagesFile({{"A", kSource}, {"B", ""}}));
        lv::TForm1& form = h.Open();
        if (filter) {
            lv::WriteFilterColor(form.State().SettingsFile(), 255);
        }
        form.MCopyPageTabClick();
        EXPECT_EQ(form.State().pageOps.cursor, lv::ScreenCursor::MultiDrag);
        h.dialogs.Queue(0); // "Insert"
        form.TabSet1MouseDown(lv::TabButton::Right, 1);

        EXPECT_EQ(h.dialogs.UserDlgs().back().title, "Insert / Merge");
        EXPECT_EQ(h.Tabs(), (Names{"A", "A+", "B"}));
        EXPECT_EQ(form.State().TabSet1.Current(), "A+");
        EXPECT_EQ(form.State().pageOps.cursor, lv::ScreenCursor::Normal);
        if (filter) {
            EXPECT_EQ(h.Key("A+", 1, 'N'), "five");
            EXPECT_EQ(h.Key("A+", 2, 'U'), "");
        } else {
            EXPECT_EQ(h.Key("A+", 1, 'N'), "two");
            EXPECT_EQ(h.Key("A+", 2, 'N'), "five");
            EXPECT_EQ(h.Key("A+", 2, 'C'), "255");
        }
        EXPECT_EQ(h.Key("A+", 7, 'N'), "");
    }
}

TEST(PageCopy, ByDragInsertKeepsEverySlotAndHelpAsksAgain) {
    PagesHarness h(PagesFile({{"A", kSource}, {"B", ""}}));
    lv::TForm1& form = h.Open();
    h.dialogs.Queue(1); // "Copy"
    h.dialogs.Queue(2); // "Help"
    h.dialogs.Queue(0); // "Insert"
    form.TabSet1DragDrop(1);

    EXPECT_EQ(h.helpTopics, (std::vector<int>{60}));
    EXPECT_EQ(h.dialogs.UserDlgs().back().buttons, (Names{"Insert", "Merge"}));
    EXPECT_EQ(h.Tabs(), (Names{"A", "A+", "B"}));
    EXPECT_EQ(form.State().TabSet1.selected, 1);
    EXPECT_EQ(h.Key("A+", 2, 'N'), "two");
    EXPECT_EQ(h.Key("A+", 5, 'C'), "255");
    EXPECT_EQ(h.Key("A+", 7, 'N'), "loose");
    EXPECT_EQ(h.Button(5).caption, "five");
}

TEST(PageCopy, MergeAsksForTheColourFilterAndFillsTheTargetsEmptySlots) {
    PagesHarness h(PagesFile({{"A", kSource}, {"B", Mark(1, "five") + Mark(2, "bee")}}));
    lv::TForm1& form = h.Open();
    lv::WriteFilterColor(form.State().SettingsFile(), 255);
    h.dialogs.Queue(1); // "Copy"
    h.dialogs.Queue(1); // "Merge"
    h.dialogs.Queue(1); // "No": no colour filter
    form.TabSet1DragDrop(1);

    EXPECT_EQ(h.dialogs.UserDlgs().back().title, "Select Merge Bookmark Color");
    EXPECT_EQ(lv::ReadFilterColor(form.State().SettingsFile()), lv::kNoColorFilter);
    EXPECT_EQ(h.Tabs(), (Names{"A", "B"}));
    // "five" is there already (same address); "two" takes the first empty slot.
    EXPECT_EQ(h.Key("B", 3, 'N'), "two");
    EXPECT_EQ(h.Key("B", 4, 'U'), "");
    EXPECT_EQ(form.State().TabSet1.Current(), "B");
    EXPECT_EQ(h.Button(3).caption, "two");
}

TEST(PageMove, ByMenuWithinOneFileIsAPureReordering) {
    PagesHarness h(PagesFile({{"A", Mark(1, "a")}, {"B", Mark(1, "b")}, {"C", ""}}));
    lv::TForm1& form = h.Open();
    const std::string before = ReadBytes(h.path);
    form.MMovePageTab1Click();
    EXPECT_EQ(h.Tabs(), (Names{"B", "C"}));
    EXPECT_EQ(form.State().pageOps.cursor, lv::ScreenCursor::MultiDrag);
    // Saving the tabs again on the way ends no carry: the page would have no tab.
    form.SaveTabs();
    EXPECT_EQ(form.State().pageOps.cursor, lv::ScreenCursor::MultiDrag);

    form.TabSet1MouseDown(lv::TabButton::Right, 1);
    EXPECT_EQ(h.Tabs(), (Names{"B", "A", "C"}));
    EXPECT_EQ(form.State().TabSet1.Current(), "A");
    EXPECT_EQ(h.Button(1).caption, "a");
    EXPECT_EQ(form.State().pageOps.cursor, lv::ScreenCursor::Normal);
    EXPECT_EQ(WithoutTabs(ReadBytes(h.path)), WithoutTabs(before));
}

TEST(PageMove, ACarriedPageSurvivesOpeningOtherFilesAndArrivesWhole) {
    PagesHarness h(
        PagesFile({{"Travel", Mark(3, "air") + Mark(9, "sea", "09C=255\r\n") + Mark(80, "rail")},
                   {"Home", ""}}));
    const std::string second = h.dir.File("second.lvd");
    const std::string third = h.dir.File("third.lvd");
    WriteBytes(second, PagesFile({{"Work", Mark(1, "desk")}, {"Travel", Mark(1, "old")}}));
    WriteBytes(third, PagesFile({{"Other", ""}}));
    lv::TForm1& form = h.Open();
    lv::WriteFilterColor(form.State().SettingsFile(), 255);

    form.MMovePageTab1Click();
    for (const std::string& next : {third, second}) {
        h.dialogs.Queue(lv::OpenFileResult{true, next});
        form.MFOpenClick();
    }
    ASSERT_EQ(form.State().DataFileName, second);
    form.TabSet1MouseDown(lv::TabButton::Right, 1);

    // "Travel" is taken in the second file: the carried page gets a tab of its own.
    const Names tabs = lv::ReadTabs(lv::TIniFile32(second));
    EXPECT_EQ(tabs, (Names{"Work", "Travel+", "Travel"}));
    EXPECT_EQ(form.State().TabSet1.Current(), "Travel+");
    for (const auto& [slot, title] : {std::pair{1, "air"}, {2, "sea"}, {3, "rail"}}) {
        EXPECT_EQ(lv::ReadFromIniSLVD(second, "Travel+", lv::SlotKey(slot, 'N'), ""), title);
    }
    EXPECT_EQ(lv::ReadFromIniSLVD(second, "Travel", "01N", ""), "old");
    EXPECT_EQ(form.State().pageOps.PendingSourceFile, second);
    // Moved, not copied: a later page "Travel" in the first file starts empty.
    EXPECT_FALSE(h.HasSection("Travel"));
    EXPECT_EQ(h.Tabs(), (Names{"Home"}));
}

TEST(PageMove, APageDifferingOnlyInCaseArrivesBesideItAndErasingOneKeepsTheOther) {
    PagesHarness h(PagesFile({{"Travel", Mark(3, "air")}, {"Home", ""}}));
    const std::string second = h.dir.File("second.lvd");
    WriteBytes(second, PagesFile({{"Work", ""}, {"TRAVEL", Mark(1, "old")}}));
    lv::TForm1& form = h.Open();
    form.MMovePageTab1Click();
    h.dialogs.Queue(lv::OpenFileResult{true, second});
    form.MFOpenClick();
    form.TabSet1MouseDown(lv::TabButton::Right, 1);

    EXPECT_EQ(lv::ReadTabs(lv::TIniFile32(second)), (Names{"Work", "Travel+", "TRAVEL"}));
    ASSERT_EQ(form.State().TabSet1.Current(), "Travel+");
    EXPECT_EQ(lv::ReadFromIniSLVD(second, "Travel+", "01N", ""), "air");
    h.dialogs.Queue(lv::MsgResult::Yes);
    form.MEraseBClick();
    EXPECT_EQ(lv::ReadFromIniSLVD(second, "Travel+", "01N", ""), "");
    EXPECT_EQ(lv::ReadFromIniSLVD(second, "TRAVEL", "01N", ""), "old");
}

// A moved page has no tab while it is carried: giving the carry up must not strand it.
TEST(PageMove, AGivenUpCarryReturnsThePageToItsOwnFile) {
    PagesHarness h(PagesFile({{"A", Mark(1, "a")}, {"B", Mark(1, "b")}, {"C", ""}}));
    const std::string other = h.dir.File("other.lvd");
    WriteBytes(other, PagesFile({{"Work", ""}}));
    lv::TForm1& form = h.Open();

    form.MMovePageTab1Click(); // A
    form.MMovePageTab1Click(); // B, now under the pointer: A goes back to the end
    EXPECT_EQ(h.Tabs(), (Names{"C", "A"}));
    EXPECT_EQ(form.State().pageOps.PendingPageName, "B");

    h.dialogs.Queue(lv::OpenFileResult{true, other});
    form.MFOpenClick();
    form.FormClose();
    EXPECT_EQ(h.Tabs(), (Names{"C", "A", "B"}));
    EXPECT_EQ(h.Key("B", 1, 'N'), "b");
    EXPECT_EQ(lv::ReadTabs(lv::TIniFile32(other)), (Names{"Work"}));
}

TEST(PageMove, RenamingTheFileWhileAPageIsCarriedKeepsTheDropWhole) {
    PagesHarness h(PagesFile({{"A", Mark(1, "a")}, {"B", Mark(1, "b")}}));
    const std::string renamed = h.dir.File("renamed.lvd");
    lv::TForm1& form = h.Open();

    form.MMovePageTab1Click();
    h.dialogs.Queue(lv::OpenFileResult{true, renamed});
    form.MFSaveAsClick(true);
    form.TabSet1MouseDown(lv::TabButton::Right, 0);

    EXPECT_EQ(lv::ReadTabs(lv::TIniFile32(renamed)), (Names{"A", "B"}));
    EXPECT_EQ(lv::ReadFromIniSLVD(renamed, "A", "01N", ""), "a");
    EXPECT_FALSE(std::filesystem::exists(h.path));
}

TEST(CarriedBookmarks, TooFewBlankButtonsChangesNothingElseTheyMove) {
    std::string full;
    for (int slot = 1; slot <= 78; ++slot) {
        full += Mark(slot, "f" + std::to_string(slot));
    }
    for (const bool room : {false, true}) {
        SCOPED_TRACE(room);
        PagesHarness h(PagesFile({{"A", Mark(4, "x") + Mark(6, "y") + Mark(9, "z")},
                                  {"B", room ? full.substr(0, full.find("78N")) : full}}));
        lv::TForm1& form = h.Open();
        h.optionSteps.push_back([](lv::TTabForm& f) {
            for (int row = 0; row < 3; ++row) {
                f.SelectRow(row, true);
            }
            f.BookmarkActionClick(lv::TTabForm::MoveBookmarks);
        });
        form.TabSet1MouseDown(lv::TabButton::Right, 0);
        EXPECT_EQ(form.State().pageOps.cursor, lv::ScreenCursor::MultiDrag);
        form.SelectTab(1);
        // A press on a button takes a bookmark in hand; the carried list stays.
        form.ButtonMouseDown(1);
        const std::string before = ReadBytes(h.path);
        // The tab clicked first and then right-clicked.
        form.TabSet1MouseDown(lv::TabButton::Right, 1);

        EXPECT_EQ(form.State().pageOps.cursor, lv::ScreenCursor::Normal);
        EXPECT_EQ(form.State().pageOps.PendingBookmarkOperation, "No");
        if (!room) {
            EXPECT_EQ(h.dialogs.Asked().back(),
                      "Message: There are not enough blank buttons to move bookmarks on to, "
                      "please try again.");
            EXPECT_EQ(ReadBytes(h.path), before);
            continue;
        }
        EXPECT_EQ(h.Key("B", 78, 'N'), "x");
        EXPECT_EQ(h.Key("B", 79, 'N'), "y");
        EXPECT_EQ(h.Key("B", 80, 'N'), "z");
        EXPECT_EQ(h.Key("A", 4, 'U'), "");
        EXPECT_EQ(h.Button(80).caption, "z");
    }
}

TEST(CarriedBookmarks, LandOnTheRightClickedTabNotOnTheShowingPage) {
    PagesHarness h(PagesFile({{"A", Mark(1, "a") + Mark(2, "b")}, {"B", ""}, {"C", Mark(1, "c")}}));
    lv::TForm1& form = h.Open();
    const auto carry = [&](lv::TTabForm::BookmarkAction action) {
        h.optionSteps.push_back([action](lv::TTabForm& f) {
            f.SelectRow(0, true);
            f.SelectRow(1, true);
            f.BookmarkActionClick(action);
        });
        form.TabSet1MouseDown(lv::TabButton::Right, form.State().TabSet1.selected);
        ASSERT_EQ(form.State().pageOps.cursor, lv::ScreenCursor::MultiDrag);
    };
    // Page A shows while the copy is dropped on C: C is selected and takes them.
    carry(lv::TTabForm::CopyBookmarks);
    form.TabSet1MouseDown(lv::TabButton::Right, 2);
    EXPECT_EQ(form.State().TabSet1.selected, 2);
    EXPECT_EQ(form.State().pageOps.cursor, lv::ScreenCursor::Normal);
    EXPECT_EQ(h.Key("C", 2, 'N'), "a");
    EXPECT_EQ(h.Key("C", 3, 'N'), "b");
    EXPECT_EQ(h.Button(3).caption, "b");
    EXPECT_EQ(h.Key("B", 1, 'N'), "");

    // A page whose password is refused takes nothing; the bookmarks stay in hand for the
    // next right-click.
    form.SelectTab(1);
    h.dialogs.Queue(lv::PasswordResult{"pw"});
    form.MPagePassClick();
    form.SelectTab(0);
    carry(lv::TTabForm::MoveBookmarks);
    const std::string before = ReadBytes(h.path);
    h.dialogs.Queue(lv::PasswordResult{"nope"});
    form.TabSet1MouseDown(lv::TabButton::Right, 1);
    EXPECT_EQ(form.State().TabSet1.selected, 0);
    EXPECT_EQ(ReadBytes(h.path), before);
    EXPECT_EQ(form.State().pageOps.cursor, lv::ScreenCursor::MultiDrag);
    h.dialogs.Queue(lv::PasswordResult{"pw"});
    form.TabSet1MouseDown(lv::TabButton::Right, 1);
    EXPECT_EQ(form.State().TabSet1.selected, 1);
    EXPECT_EQ(form.State().pageOps.PendingBookmarkOperation, "No");
    EXPECT_EQ(h.Button(1).caption, "a");
    EXPECT_EQ(h.Button(2).caption, "b");
    EXPECT_EQ(h.Key("A", 1, 'U'), "");
}

TEST(PageOptions, ColourSelectedBookmarksKeepsThePaletteOnCancel) {
    PagesHarness h(PagesFile({{"A", Mark(1, "a") + Mark(2, "b")}}));
    lv::TForm1& form = h.Open();
    const auto choose = [&](bool accepted) {
        h.optionSteps.push_back([](lv::TTabForm& f) {
            f.SelectRow(1, true);
            f.BookmarkActionClick(lv::TTabForm::ColorBookmarks);
        });
        lv::ColorResult result{accepted, 255, {}};
        result.customColors[0] = 0x00ff00;
        h.dialogs.Queue(result);
        form.TabSet1MouseDown(lv::TabButton::Right, 0);
    };
    choose(false);
    EXPECT_EQ(h.Key("A", 2, 'C'), "");
    EXPECT_EQ(lv::ReadFromIniS(form.State().SettingsFile(), "Colors", "ColorA", ""), "00FF00");
    choose(true);
    EXPECT_EQ(h.Key("A", 1, 'C'), "");
    EXPECT_EQ(h.Key("A", 2, 'C'), "255");
    EXPECT_EQ(h.Button(2).fontColor, 255);
}

} // namespace
} // namespace lvtest
