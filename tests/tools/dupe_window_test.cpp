// The search window's handlers over real DataFiles, with scripted dialogs and main-window hooks
// that do what the main window does to the file.
#include "pages/PageNames.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "tools/TDupe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lv::MsgResult;

struct DupeWindow : ::testing::Test {
    lvtest::TempDir dir;
    std::string file = dir.File("search.lvd");
    lvtest::ScriptedDialogs dialogs;
    int columns = 4;
    std::vector<std::string> erased;   // "page slot question"
    std::vector<std::string> launched; // "page slot target"
    bool flagDuringLaunch = false;
    std::string nameAnswer;
    int shown = 0;
    lv::TDupe dupe{dialogs, Hooks()};

    void SetUp() override {
        lvtest::WriteBytes(file, lvtest::ReadBytes(lvtest::Fixture("tools-search.lvd")));
        dupe.FormActivate();
    }

    lv::DupeHooks Hooks() {
        lv::DupeHooks hooks;
        hooks.dataFile = [this] { return file; };
        hooks.columnCount = [this] { return columns; };
        hooks.launch = [this](const std::string& page, int slot, const std::string& target) {
            flagDuringLaunch = dupe.LaunchFromSearch;
            launched.push_back(page + " " + std::to_string(slot) + " " + target);
        };
        hooks.eraseButton = [this](const std::string& page, int slot, bool question) {
            erased.push_back(page + " " + std::to_string(slot) + (question ? " ask" : " keep"));
            lv::TIniFile32 ini(file);
            lv::EraseBookmark(ini, page, slot);
        };
        hooks.askPageName = [this](const std::string&) { return nameAnswer; };
        hooks.appendPage = [this](const std::string& name) {
            lv::TIniFile32 ini(file);
            std::vector<std::string> tabs = lv::ReadTabs(ini);
            tabs.push_back(lv::ArrivingPageName(name, tabs));
            lv::SaveTabs(ini, tabs);
            return tabs.back();
        };
        hooks.showLastPage = [this] { ++shown; };
        return hooks;
    }

    std::string Url(const std::string& page, int slot) const {
        return lv::TIniFile32(file).ReadString(page, lv::SlotKey(slot, 'U'), "");
    }
    std::string Key(const std::string& page, int slot, char letter) const {
        return lv::TIniFile32(file).ReadString(page, lv::SlotKey(slot, letter), "");
    }
    std::vector<std::string> Tabs() const { return lv::ReadTabs(lv::TIniFile32(file)); }

    void Search(int mode, const std::string& text, bool caseSensitive = false) {
        dupe.SearchGroupClick(mode);
        dupe.Edit1 = text;
        dupe.CaseBox = caseSensitive;
        dupe.SearchButtonClick();
    }
    // The whole-list action: 0 Move, 1 Copy, 2 Erase (confirmed).
    void ListAction(int choice) {
        dialogs.Queue(choice);
        if (choice == 2) {
            dialogs.Queue(MsgResult::Yes);
        }
        dupe.MoveBtnClick();
    }
};

TEST_F(DupeWindow, DuplicateEraseKeepsTheLastOfEachGroup) {
    Search(lv::kDupeDuplicates, "");
    ASSERT_EQ(dupe.RowCount(), 4U);
    EXPECT_EQ(dupe.Cell(3, 0), "");
    ListAction(2);
    EXPECT_EQ(dialogs.Messages().back().text,
              "This will Erase all duplicate bookmarks, except the last entry of each type.  Do "
              "you want to continue?");
    EXPECT_EQ(erased, (std::vector<std::string>{"Home 1 keep", "Home 3 keep"}));
    EXPECT_EQ(Url("Caf\xE9", 2), "http://news.example.com/");
    EXPECT_FALSE(dupe.listVisible);
    EXPECT_FALSE(dupe.IndexBuilt());
}

TEST_F(DupeWindow, DecliningOrIgnoringChangesNothingAndKeepsTheIndex) {
    Search(lv::kDupeUrl, "news");
    dialogs.Queue(2);
    dialogs.Queue(MsgResult::No);
    dupe.MoveBtnClick();
    EXPECT_EQ(dialogs.Messages().back().text,
              "Are you sure you want to delete these bookmarks from Linkvane?");
    Search(lv::kDupeUrl, "news");
    dialogs.Queue(3);
    dupe.MoveBtnClick();
    EXPECT_TRUE(erased.empty());
    EXPECT_TRUE(dupe.IndexBuilt());
    EXPECT_EQ(Tabs().size(), 3U);
}

TEST_F(DupeWindow, MovingADuplicateListKeepsTheBlankRowsPlaces) {
    dupe.ignoreTrivialDifferences = true;
    Search(lv::kDupeDuplicates, "");
    ASSERT_EQ(dupe.RowCount(), 10U);
    ListAction(0);
    // The hidden text box was empty: " Search" cannot be a section name and is mended.
    ASSERT_EQ(Tabs().back(), "Search");
    const std::vector<std::string> expected = {"http://news.example.com/",
                                               "http://news.example.com/",
                                               "http://news.example.com/",
                                               "",
                                               "http://shop.example.com/",
                                               "http://SHOP.example.com/",
                                               "",
                                               "http://wiki.example.com/",
                                               "http://www.Wiki.example.com:80/#top",
                                               ""};
    for (int slot = 1; slot <= 10; ++slot) {
        EXPECT_EQ(Url("Search", slot), expected[static_cast<std::size_t>(slot - 1)]) << slot;
    }
    EXPECT_EQ(Key("Search", 1, 'P'), "Daily|~headlines Home");
    EXPECT_EQ(Key("Search", 3, 'P'), "Caf\xE9"); // " Café": the file's reader trims the blank
    EXPECT_EQ(Key("Search", 1, 'N'), "News");
    EXPECT_EQ(Url("Home", 1), "");
    EXPECT_EQ(erased.size(), 7U);
    EXPECT_EQ(erased.front(), "Home 1 keep");
    EXPECT_EQ(shown, 1);
}

TEST_F(DupeWindow, CopyLeavesTheOldSlotsAndNamesTheNewPageAfterTheText) {
    Search(lv::kDupeTitle, "wiki");
    nameAnswer = "Home"; // taken: made unique
    ListAction(1);
    EXPECT_EQ(Tabs().back(), "Home+");
    EXPECT_EQ(Key("Home+", 1, 'N'), "Wiki");
    EXPECT_EQ(Key("Home+", 2, 'N'), "Wiki lower");
    EXPECT_EQ(Url("Work", 1), "http://wiki.example.com/");
    EXPECT_TRUE(erased.empty());
}

// Rows numbered past what a page shows go on to further pages; every one placed, every one
// moved.
TEST(DupeWindowMany, RowsFillSlotsInOrderAndContinueOnFurtherPages) {
    struct Case {
        int bookmarks;
        int columns;
        int onFirst;
        int onSecond;
    };
    for (const Case c : {Case{12, 4, 12, 0}, Case{45, 2, 40, 5}}) {
        SCOPED_TRACE(c.bookmarks);
        lvtest::TempDir dir;
        const std::string file = dir.File("many.lvd");
        {
            lv::TIniFile32 ini(file);
            ini.SetDeferSaves(true);
            lv::SaveTabs(ini, {"A", "B"});
            for (int i = 0; i < c.bookmarks; ++i) {
                const std::string page = i < 30 ? "A" : "B";
                const int slot = i < 30 ? i + 1 : i - 29;
                char url[40];
                std::snprintf(url, sizeof url, "http://item%02d.example/", i);
                ini.WriteString(page, lv::SlotKey(slot, 'N'), "item " + std::to_string(i));
                ini.WriteString(page, lv::SlotKey(slot, 'U'), url);
            }
            ini.UpdateFile();
        }
        lvtest::ScriptedDialogs dialogs;
        lv::DupeHooks hooks;
        hooks.dataFile = [&] { return file; };
        hooks.columnCount = [&] { return c.columns; };
        hooks.eraseButton = [&](const std::string& page, int slot, bool) {
            lv::TIniFile32 ini(file);
            lv::EraseBookmark(ini, page, slot);
        };
        hooks.askPageName = [](const std::string&) { return std::string(); };
        hooks.appendPage = [&](const std::string& name) {
            lv::TIniFile32 ini(file);
            std::vector<std::string> tabs = lv::ReadTabs(ini);
            tabs.push_back(lv::DupePageName(name, tabs));
            lv::SaveTabs(ini, tabs);
            return tabs.back();
        };
        lv::TDupe dupe(dialogs, hooks);
        dupe.FormActivate();
        dupe.Edit1 = "item";
        dupe.SearchButtonClick();
        ASSERT_EQ(dupe.RowCount(), static_cast<std::size_t>(c.bookmarks));
        dialogs.Queue(0);
        dupe.MoveBtnClick();

        const lv::TIniFile32 ini(file);
        const std::vector<std::string> tabs = lv::ReadTabs(ini);
        ASSERT_EQ(tabs.size(), c.onSecond > 0 ? 4U : 3U);
        EXPECT_EQ(tabs[2], "item Search");
        for (int slot = 1; slot <= 80; ++slot) {
            const bool filled = slot <= c.onFirst;
            EXPECT_EQ(!ini.ReadString("item Search", lv::SlotKey(slot, 'U'), "").empty(), filled)
                << slot;
        }
        EXPECT_EQ(ini.ReadString("item Search", "12N", ""), "item 11");
        if (c.onSecond > 0) {
            EXPECT_EQ(tabs[3], "item Search+");
            EXPECT_EQ(ini.ReadString("item Search+", "05N", ""), "item 44");
            EXPECT_EQ(ini.ReadString("item Search+", "06N", ""), "");
        }
        EXPECT_EQ(ini.ReadString("A", "01U", ""), "");
        EXPECT_EQ(ini.ReadString("B", "01U", ""), "");
    }
}

TEST_F(DupeWindow, ARowActsOnItsSlotAndAProtectedOneOnNothing) {
    Search(lv::kDupeUrl, "protected");
    ASSERT_EQ(dupe.RowCount(), 3U);
    for (const int answer : {0, 1, 2}) {
        dialogs.Queue(answer);
        dupe.ListView2Click(0);
    }
    EXPECT_TRUE(launched.empty());
    EXPECT_TRUE(erased.empty());
    EXPECT_EQ(dialogs.UserDlgs().back().title, "Launch, Delete or Edit bookmark");
    EXPECT_EQ(dialogs.UserDlgs().back().message,
              (std::vector<std::string>{"Select an Option for Locked one"}));
    EXPECT_EQ(dupe.listHint, lv::kDupeHintLaunchDeleteEdit);

    Search(lv::kDupeTitle, "shop");
    dialogs.Queue(0);
    dupe.ListView2Click(0);
    EXPECT_EQ(launched, (std::vector<std::string>{"Home 2 http://shop.example.com/"}));
    EXPECT_TRUE(flagDuringLaunch);
    EXPECT_FALSE(dupe.LaunchFromSearch);
    EXPECT_TRUE(dupe.IndexBuilt());

    dialogs.Queue(1);
    dupe.ListView2Click(1);
    EXPECT_EQ(erased, (std::vector<std::string>{"Home 4 ask"}));
    EXPECT_EQ(dupe.RowCount(), 1U);
    EXPECT_FALSE(dupe.IndexBuilt());
}

TEST_F(DupeWindow, LaterChangesShowOnlyAfterTheIndexIsEmptied) {
    Search(lv::kDupeTitle, "fresh");
    EXPECT_EQ(dupe.RowCount(), 0U);
    EXPECT_TRUE(dupe.listVisible);
    lv::WriteToIniSLVD(file, "Home", "10N", "Fresh");
    lv::WriteToIniSLVD(file, "Home", "10U", "http://fresh.example/");
    Search(lv::kDupeTitle, "fresh");
    EXPECT_EQ(dupe.RowCount(), 0U);
    dupe.FormClose();
    Search(lv::kDupeTitle, "fresh");
    EXPECT_EQ(dupe.RowCount(), 1U);
}

// A slot that changed in the main window since the search holds a bookmark the list does not
// show: the list's actions leave it alone and say so.
TEST_F(DupeWindow, SlotsChangedSinceTheSearchAreLeftAlone) {
    Search(lv::kDupeDuplicates, "");
    lv::WriteToIniSLVD(file, "Caf\xE9", "02N", "Someone else");
    lv::WriteToIniSLVD(file, "Caf\xE9", "02U", "http://other.example/");
    ListAction(2);
    // The last entry still in place survives.
    EXPECT_EQ(erased, (std::vector<std::string>{"Home 1 keep"}));
    EXPECT_EQ(Url("Caf\xE9", 2), "http://other.example/");
    EXPECT_EQ(dialogs.Messages().back().text, "1" + std::string(lv::kDupeChangedRows));

    Search(lv::kDupeTitle, "news");
    lv::WriteToIniSLVD(file, "Home", "03U", "http://replaced.example/");
    dialogs.Queue(1);
    dupe.ListView2Click(0);
    EXPECT_EQ(dialogs.Messages().back().text, lv::kDupeChangedSince);
    EXPECT_EQ(Url("Home", 3), "http://replaced.example/");
}

TEST_F(DupeWindow, ModesAndActivationResetTheWindow) {
    Search(lv::kDupeDuplicates, "");
    EXPECT_FALSE(dupe.searchTextVisible);
    EXPECT_EQ(dupe.listHint, lv::kDupeHintLaunchDelete);
    lv::TIniFile32 ini(file);
    ini.DeleteKey("Home", "03U");
    ini.DeleteKey("Caf\xE9", "02U");
    dupe.EmptyIndex();
    dupe.SearchButtonClick();
    EXPECT_EQ(dupe.listHint, lv::kDupeHintNoDuplicates);
    EXPECT_TRUE(dupe.listVisible);
    dupe.SearchGroupClick(lv::kDupeUrl);
    EXPECT_TRUE(dupe.searchTextVisible);
    EXPECT_FALSE(dupe.listVisible);
    dupe.FormActivate();
    EXPECT_EQ(dupe.SearchGroup, lv::kDupeTitle);

    // Typing refreshes the list over title, address and notes when asked to.
    dupe.Edit1Change("daily");
    EXPECT_EQ(dupe.RowCount(), 0U);
    dupe.searchAsYouType = true;
    dupe.Edit1Change("daily");
    ASSERT_EQ(dupe.RowCount(), 1U);
    EXPECT_EQ(dupe.Cell(0, 1), "News");
    dupe.Edit1Change("daily x");
    EXPECT_EQ(dupe.RowCount(), 0U);
}

} // namespace
