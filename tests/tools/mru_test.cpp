// The recent-bookmark list: how entries come, move up and go, and its [MRU] section.
#include "store/TIniFile32.h"
#include "support/TempDir.h"
#include "tools/TMruList.h"

#include <gtest/gtest.h>

using lv::TMruList;

namespace {

std::string Entry(int n) {
    return lv::MruEntryText("Site " + std::to_string(n), "Page1", n);
}

TEST(MruList, HoldsTwentyOneEntriesAndShowsTheNewestTen) {
    TMruList list;
    for (int n = 1; n <= 22; ++n) {
        list.Add(Entry(n));
    }
    ASSERT_EQ(list.Entries().size(), 21u);
    EXPECT_EQ(list.Entries().front().text, Entry(22));
    EXPECT_EQ(list.Entries().back().text, Entry(2)) << "the oldest went, not another";
    const std::vector<std::string> shown = list.Shown();
    ASSERT_EQ(shown.size(), 10u);
    EXPECT_EQ(shown.front(), Entry(22));
    EXPECT_EQ(shown.back(), Entry(13));
}

TEST(MruList, AnEntryUsedAgainMovesToTheTopOnceWhateverItsLetterCase) {
    TMruList list;
    list.Add("News  |Daily::07", "http://news.example/");
    list.Add("Mail  |Daily::08");
    list.Add("NEWS  |daily::07");
    ASSERT_EQ(list.Entries().size(), 2u);
    EXPECT_EQ(list.Entries()[0].text, "News  |Daily::07") << "kept as first written";
    EXPECT_EQ(list.Entries()[0].address, "http://news.example/");
    EXPECT_EQ(list.Entries()[1].text, "Mail  |Daily::08");
}

TEST(MruList, SavesTheSectionWholeAndLoadsItBack) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    lvtest::WriteBytes(file, "[Tabs]\r\nCount=1\r\nTab1=Daily\r\n[MRU]\r\nCount=5\r\n1=Old\r\n"
                             "9=Stray\r\n[Daily]\r\n01N=News\r\n");
    TMruList list;
    list.SetFile(file);
    ASSERT_EQ(list.Entries().size(), 1u);
    list.Add("News  |Daily::01");
    list.Save();
    EXPECT_EQ(lvtest::ReadBytes(file),
              "[Tabs]\r\nCount=1\r\nTab1=Daily\r\n\r\n[Daily]\r\n01N=News\r\n\r\n[MRU]\r\n"
              "Count=2\r\n1=News  |Daily::01\r\n2=Old\r\n");

    TMruList again;
    again.SetFile(file);
    ASSERT_EQ(again.Entries().size(), 2u);
    EXPECT_EQ(again.Entries()[0].text, "News  |Daily::01");
    // Nothing changed since: closing leaves the file alone.
    const std::string before = lvtest::ReadBytes(file);
    again.Save();
    EXPECT_EQ(lvtest::ReadBytes(file), before);
}

TEST(MruList, RemovingAnEntrySavesItAsAnEmptyValueAndDropsIt) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    lvtest::WriteBytes(file, "[MRU]\r\nCount=2\r\n1=A  |P::01\r\n2=B  |P::02\r\n");
    TMruList list;
    list.SetFile(file);
    EXPECT_TRUE(list.RemoveEntry("b  |p::02"));
    EXPECT_EQ(lvtest::ReadBytes(file), "\r\n[MRU]\r\nCount=2\r\n1=\r\n2=A  |P::01\r\n");
    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Entries()[0].text, "A  |P::01");
    EXPECT_FALSE(list.RemoveEntry("B  |P::02"));
}

TEST(MruList, SplitsEntriesIntoTitlePageAndSlot) {
    struct Case {
        std::string text;
        std::vector<std::string> pages;
        bool valid;
        lv::MruEntryParts parts;
    };
    const std::vector<Case> cases = {
        {"News  |Daily::07", {}, true, {"News", "Daily", 7}},
        {"A::B  |Work::Home::12", {}, true, {"A::B", "Work::Home", 12}},
        // A title with "  |" in it: the page the file really has decides.
        {"Odd  |Title  |Daily::03", {"Daily"}, true, {"Odd  |Title", "Daily", 3}},
        {"Odd  |Title  |Daily::03", {}, true, {"Odd", "Title  |Daily", 3}},
        {"  |Daily::40", {}, true, {"", "Daily", 40}},
        {"No bar::07", {}, false, {}},
        {"News  |Daily::7", {}, false, {}},
        {"News  |Daily:07x", {}, false, {}},
    };
    for (const Case& c : cases) {
        const auto parts = lv::SplitMruEntry(c.text, c.pages);
        ASSERT_EQ(parts.has_value(), c.valid) << c.text;
        if (parts) {
            EXPECT_EQ(parts->title, c.parts.title) << c.text;
            EXPECT_EQ(parts->page, c.parts.page) << c.text;
            EXPECT_EQ(parts->slot, c.parts.slot) << c.text;
        }
    }
    EXPECT_EQ(lv::MruEntryText("News", "Daily", 7), "News  |Daily::07");
}

} // namespace
