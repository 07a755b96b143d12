// The bookmark index, the text search and the duplicate listing over real DataFiles.
#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "support/TempDir.h"
#include "tools/BookmarkIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lv::SearchField;

struct IndexFixture : ::testing::Test {
    lvtest::TempDir dir;
    std::string file = dir.File("search.lvd");
    void SetUp() override {
        lvtest::WriteBytes(file, lvtest::ReadBytes(lvtest::Fixture("tools-search.lvd")));
    }
    std::shared_ptr<const lv::BookmarkIndex> Index(int columns = 4) const {
        return lv::BuildBookmarkIndex(lv::TIniFile32(file), columns);
    }
};

std::vector<std::string> Titles(const lv::BookmarkIndex& index,
                                const std::vector<lv::ResultRow>& rows) {
    std::vector<std::string> titles;
    for (const lv::ResultRow& row : rows) {
        titles.push_back(row.Blank() ? "-" : index[static_cast<std::size_t>(row.row)].title);
    }
    return titles;
}

TEST_F(IndexFixture, RowsHoldTheFiveColumnsSortedByUrl) {
    const auto index = Index();
    std::vector<std::string> urls;
    for (const lv::IndexRow& row : *index) {
        urls.push_back(row.url);
    }
    // Case orders after the letters themselves (lower case first); equal texts stay together
    // in page order; protected targets sort as the text they show.
    const std::vector<std::string> expected = {"http://cafe.example.com/",
                                               "http://far.example.com/",
                                               "http://news.example.com/",
                                               "http://news.example.com/",
                                               "http://news.example.com/",
                                               "http://shop.example.com/",
                                               "http://SHOP.example.com/",
                                               "http://wiki.example.com/",
                                               "http://www.Wiki.example.com:80/#top",
                                               "Password Protected",
                                               "Password Protected",
                                               "Password Protected"};
    EXPECT_EQ(urls, expected);

    const lv::IndexRow& news = (*index)[2];
    EXPECT_EQ(news.title, "News");
    EXPECT_EQ(news.page, "Home");
    EXPECT_EQ(news.btn, "01");
    EXPECT_EQ(news.notes, "Daily headlines");
    EXPECT_EQ((*index)[3].title, "News again");
    EXPECT_EQ((*index)[4].page, "Caf\xE9");
    EXPECT_EQ((*index)[1].btn, "45");
    // Two columns show slots 1 to 40 only.
    EXPECT_EQ(Index(2)->size(), index->size() - 1);
}

TEST_F(IndexFixture, TextSearchInEveryMode) {
    const auto index = Index();
    struct Case {
        SearchField field;
        std::string text;
        bool caseSensitive;
        std::vector<std::string> titles;
    };
    const std::vector<Case> cases = {
        {SearchField::Url, "", false, {}},
        {SearchField::Title, "", false, {}},
        {SearchField::Notes, "", true, {}},
        {SearchField::All, "", false, {}},
        // Protected bookmarks show "Password Protected" and are found by any part of it.
        {SearchField::Url, "WORD prot", false, {"Locked one", "Locked two", "Locked three"}},
        {SearchField::Url, "Protected", true, {"Locked one", "Locked two", "Locked three"}},
        {SearchField::Url, "protected", true, {}},
        {SearchField::Url, "shop", false, {"Shop", "Shop upper"}},
        {SearchField::Url, "shop", true, {"Shop"}},
        {SearchField::Title, "NEWS", false, {"News", "News again", "News third"}},
        // Only A-Z change case: the euro sign and accented letters compare exactly.
        {SearchField::Title, "\x80 2", false, {"Espresso \x80 2"}},
        {SearchField::Notes, "daily headlines", false, {"News"}},
        {SearchField::Notes, "coffee", false, {"Espresso \x80 2"}},
        {SearchField::Notes, "|", false, {}},
        {SearchField::All, "coffee", false, {"Espresso \x80 2"}},
        {SearchField::All, "wiki", false, {"Wiki", "Wiki lower"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Titles(*index, lv::SearchIndex(*index, c.text, c.field, c.caseSensitive)),
                  c.titles);
    }
}

TEST_F(IndexFixture, DuplicatesAreExactTextsUnlessNormalised) {
    const auto index = Index();
    // Protected ones never count; "SHOP" and the "www." form of the wiki differ in their text.
    EXPECT_EQ(Titles(*index, lv::ListDuplicates(*index, false)),
              (std::vector<std::string>{"News", "News again", "News third", "-"}));
    EXPECT_EQ(Titles(*index, lv::ListDuplicates(*index, true)),
              (std::vector<std::string>{"News", "News again", "News third", "-", "Shop",
                                        "Shop upper", "-", "Wiki", "Wiki lower", "-"}));
}

TEST_F(IndexFixture, NoDuplicatesGiveAnEmptyList) {
    lv::TIniFile32 ini(file);
    ini.DeleteKey("Home", "03U");
    ini.DeleteKey("Caf\xE9", "02U");
    const auto index = lv::BuildBookmarkIndex(lv::TIniFile32(file), 4);
    EXPECT_TRUE(lv::ListDuplicates(*index, false).empty());
}

TEST(SearchIndex, MissingPageCountReadsTenPagesAndTwinTabsOneSection) {
    lvtest::TempDir dir;
    const std::string file = dir.File("ten.lvd");
    // No Count: Page1..Page10. A second tab naming a section already read (another spelling)
    // must not list its bookmarks as their own duplicates.
    lvtest::WriteBytes(file, "[Tabs]\r\nTab2=page1\r\n[Page1]\r\n01N=A\r\n01U=http://a/\r\n"
                             "[Page10]\r\n01N=B\r\n01U=http://b/\r\n");
    const auto index = lv::BuildBookmarkIndex(lv::TIniFile32(file), 4);
    ASSERT_EQ(index->size(), 2U);
    EXPECT_EQ((*index)[0].page, "Page1");
    EXPECT_EQ((*index)[1].page, "Page10");
    EXPECT_TRUE(lv::ListDuplicates(*index, false).empty());
}

TEST(SearchIndex, NormalisedAddresses) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"HTTP://Example.COM/Path", "http://example.com/Path"},
        {"http://example.com:80/", "http://example.com"},
        {"https://example.com:443/a/", "https://example.com/a"},
        {"https://example.com:80/", "https://example.com:80"},
        {"http://www.example.com/x#frag", "http://example.com/x"},
        {"http://User@WWW.Example.com/", "http://User@example.com"},
        {"http://example.com/?q=a/", "http://example.com/?q=a/"},
        {"http://example.com/Path/File", "http://example.com/Path/File"},
        {"C:\\Files\\Doc.TXT", "C:\\Files\\Doc.TXT"},
        {"http://A.com/;;http://www.B.com/", "http://a.com;;http://b.com"},
    };
    for (const auto& [url, normal] : cases) {
        EXPECT_EQ(lv::NormalisedAddress(url), normal) << url;
    }
}

} // namespace
