#include "PagesFixture.h"
#include "pages/PageNames.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using namespace lv;

TEST(PageNames, DupePageNameRestartsTheScanAfterEveryPlus) {
    EXPECT_EQ(DupePageName("A", {"A", "A+"}), "A++");
    EXPECT_EQ(DupePageName("A", {"A++", "A+", "B"}), "A");
    EXPECT_EQ(DupePageName("a", {"A"}), "a"); // exact comparison
}

TEST(PageNames, NamesTheFileCannotHoldAreRefused) {
    const std::vector<std::string> pages = {"Work", "News"};
    for (const std::string name : {"", " Work2", "Work2 ", "a]b", "tabs", "Program", "DEFAULT",
                                   "MRU", "mrux", "work", "NEWS"}) {
        EXPECT_FALSE(PageNameProblem(name, pages).empty()) << '"' << name << '"';
    }
    for (const std::string name : {"Work", "Mail", "Tabs+", "a[b", "x y"}) {
        EXPECT_EQ(PageNameProblem(name, pages), "") << name;
    }
    EXPECT_NE(PageNameProblem("work", pages).find("\"Work\""), std::string::npos);
}

TEST(PageNames, ArrivingPagesNeverShareASection) {
    const struct {
        const char* name;
        std::vector<std::string> pages;
        const char* arrives;
    } cases[] = {
        {"News", {"Work"}, "News"},
        {"Work", {"Work"}, "Work+"},
        {"Work", {"WORK"}, "Work+"},
        {"Work", {"WORK", "work+"}, "Work++"},
        {"caf\xe9", {"CAF\xc9"}, "caf\xe9+"},
        {"mru", {}, "mru+"},
        {"Tabs", {}, "Tabs+"},
        {" a]b ", {}, "a)b"},
        {"", {"Page"}, "Page+"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArrivingPageName(c.name, c.pages), c.arrives) << c.name;
    }
    const std::vector<std::string> pages = {"Home", "WORK", "Work"};
    EXPECT_EQ(FindPage("Work", pages), 2u);
    EXPECT_EQ(FindPage("work", pages), 1u);
    EXPECT_EQ(FindPage("News", pages), std::string::npos);
}

TEST(PageNames, RenameToATakenNameMovesEverySlotUnderTheUniqueName) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    lvtest::WriteBytes(file,
                       lvtest::Lines({"[Tabs]", "Count=2", "Tab1=Work", "Tab2=News", "[Work]",
                                      "01N=a", "01U=http://a/", "01G=7", "75N=far",
                                      "75U=http://far/", "[News]", "01N=n", "01U=http://n/"}));
    TIniFile32 ini(file);
    std::vector<std::string> pages = ReadTabs(ini);

    const RenameResult result = RenamePage(ini, pages, 0, "News");
    EXPECT_EQ(result.problem, "");
    EXPECT_EQ(result.name, "News+");
    EXPECT_EQ(pages, (std::vector<std::string>{"News+", "News"}));

    const TIniFile32 saved(file);
    EXPECT_EQ(ReadTabs(saved), pages);
    EXPECT_FALSE(saved.FindSection("Work"));
    EXPECT_EQ(ReadBookmark(saved, "News+", 1).glyph, "7");
    EXPECT_EQ(ReadBookmark(saved, "News+", 75).target, "http://far/");
    EXPECT_EQ(ReadBookmark(saved, "News", 1).title, "n");
}

TEST(PageNames, RenameOnlyInLetterCaseIsRefusedAndKeepsThePage) {
    // Old and new name share one section: copying then erasing would empty the page.
    lvtest::TempDir dir;
    const std::string file = dir.File("Disk.LVD");
    const std::string before =
        lvtest::Lines({"[Tabs]", "Count=1", "Tab1=work", "[work]", "01N=a", "01U=http://a/"});
    lvtest::WriteBytes(file, before);
    TIniFile32 ini(file);
    std::vector<std::string> pages = {"work"};

    const RenameResult result = RenamePage(ini, pages, 0, "Work");
    EXPECT_EQ(result.name, "");
    EXPECT_NE(result.problem, "");
    EXPECT_EQ(pages, std::vector<std::string>{"work"});
    EXPECT_EQ(lvtest::ReadBytes(file), before);
}

} // namespace
