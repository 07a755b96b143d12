#include "exchange/Favorites.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace lv;
namespace fs = std::filesystem;

void Shortcut(const fs::path& file, const std::string& url) {
    fs::create_directories(file.parent_path());
    lvtest::WriteBytes(file, url.empty() ? "[InternetShortcut]\r\n"
                                         : "[InternetShortcut]\r\nURL=" + url + "\r\n");
}

std::vector<std::string> Slots(const TIniFile32& ini, const std::string& page, char letter) {
    std::vector<std::string> values;
    for (int slot = 1; slot <= 80; ++slot) {
        std::string value = ini.ReadString(page, SlotKey(slot, letter), "");
        if (!value.empty()) {
            values.push_back(value);
        }
    }
    return values;
}

TEST(Favorites, StripCleansEveryForbiddenCharacter) {
    EXPECT_EQ(Strip("A.B: News"), "A_B_ News");
    EXPECT_EQ(Strip("a\\b/c:d*e?f\"g<h>i|j.k,l m-n\xE9"), "a_b_c_d_e_f_g_h_i_j_k_l m-n\xE9");
    EXPECT_EQ(Strip(""), "");
}

TEST(Favorites, FilterMatching) {
    struct Case {
        const char* name;
        const char* filter;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"News", "*.", true},     {"a.url", "*.", false},     {"a.url", "*.url", true},
        {"A.URL", "*.url", true}, {"a.urlx", "*.url", false}, {".url", "*.url", true},
        {"abc", "a?c", true},     {"ac", "a?c", false},       {"x", "*", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesFilter(c.name, c.filter), c.matches) << c.name << " " << c.filter;
    }
}

TEST(Favorites, FindFileRecursesWithoutFollowingLinkLoops) {
    lvtest::TempDir dir;
    const fs::path root = dir.Path() / "root";
    fs::create_directories(root / "A" / "B");
    lvtest::WriteBytes(root / "A" / "x.url", "");
    fs::create_directory_symlink(root, root / "A" / "B" / "loop");
    TFindFile finder;
    finder.path = root.string();
    finder.files = false;
    std::vector<std::string> found = finder.Execute();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found,
              (std::vector<std::string>{(root / "A").string(), (root / "A" / "B").string()}));
    finder.files = true;
    finder.directories = false;
    finder.filter = "*.url";
    EXPECT_EQ(finder.Execute(), (std::vector<std::string>{(root / "A" / "x.url").string()}));
}

TEST(Favorites, ImportMakesAPagePerFolderInPathOrder) {
    lvtest::TempDir dir;
    const fs::path root = dir.Path() / "Favorites";
    Shortcut(root / "Root link.url", "http://root.example/");
    Shortcut(root / "work" / "Tools" / "Hammer.url", "http://hammer.example/");
    Shortcut(root / "News" / "Daily.url", "http://daily.example/");
    Shortcut(root / "News" / "No address.url", "");
    fs::create_directories(root / "Empty");
    // A folder whose name has a full stop, one in UTF-8, and a second "Tools" elsewhere.
    Shortcut(root / "Tools.old" / "Saw.url", "http://saw.example/");
    Shortcut(root / "\xC3\x89t\xC3\xA9" / "\xE4\xB8\xAD.url", "http://zh.example/");
    Shortcut(root / "Zed" / "Tools" / "Drill.url", "http://drill.example/");
    // 85 shortcuts make Links and Links+.
    for (int i = 0; i < 85; ++i) {
        Shortcut(root / "Links" / ("L" + std::to_string(100 + i) + ".url"),
                 "http://l" + std::to_string(i) + ".example/");
    }
    const std::string file = dir.File("IE.lvd");
    const FavoritesImport import = ImportFavorites(root.string(), file);

    EXPECT_EQ(import.pages, (std::vector<std::string>{"Favorites", "\xC9t\xE9", "Links", "Links+",
                                                      "News", "Tools.old", "Tools", "Tools+"}));
    EXPECT_EQ(import.links, 1 + 1 + 85 + 2 + 1 + 1 + 1);
    EXPECT_EQ(import.defaultAddresses, 1);
    const TIniFile32 ini(file);
    EXPECT_EQ(ReadTabs(ini), import.pages);
    EXPECT_EQ(Slots(ini, "News", 'N'), (std::vector<std::string>{"Daily", "No address"}));
    EXPECT_EQ(Slots(ini, "News", 'U'),
              (std::vector<std::string>{"http://daily.example/", std::string(kHomePageAddress)}));
    EXPECT_EQ(Slots(ini, "\xC9t\xE9", 'N'), (std::vector<std::string>{"&#20013;"}));
    EXPECT_EQ(Slots(ini, "Links", 'N').size(), 80u);
    EXPECT_EQ(Slots(ini, "Links+", 'N'),
              (std::vector<std::string>{"L180", "L181", "L182", "L183", "L184"}));
    EXPECT_EQ(Slots(ini, "Tools", 'U'), (std::vector<std::string>{"http://hammer.example/"}));
    EXPECT_EQ(Slots(ini, "Tools+", 'U'), (std::vector<std::string>{"http://drill.example/"}));
    // Only N and U are written.
    EXPECT_EQ(ini.ReadString("Favorites", "01C", "none"), "none");
}

TEST(Favorites, ImportReportsWhatItDidNotTakeAndKeepsTheOldFileWhenNothingWasFound) {
    lvtest::TempDir dir;
    const fs::path root = dir.Path() / "Favorites";
    Shortcut(root / "ok.url", "http://ok.example/");
    fs::create_directories(root / "dir.url"); // a folder, not a shortcut
    lvtest::WriteBytes(root / "big.url", std::string(2u << 20, 'x'));
    const std::string file = dir.File("IE.lvd");
    const FavoritesImport import = ImportFavorites(root.string(), file);
    EXPECT_EQ(import.links, 1);
    ASSERT_EQ(import.notTaken.size(), 1u);
    EXPECT_NE(import.notTaken[0].find("big.url"), std::string::npos);
    const std::vector<std::string> summary = ImportSummary(import);
    EXPECT_EQ(summary.front(), "Imported 1 links into 1 pages.");
    EXPECT_EQ(summary.size(), 3u);
    // A root given with a trailing slash still names its page.
    EXPECT_EQ(ImportFavorites(root.string() + "/", dir.File("slash.lvd")).pages,
              (std::vector<std::string>{"Favorites"}));

    fs::create_directories(dir.Path() / "none");
    lvtest::WriteBytes(file, "old");
    EXPECT_TRUE(ImportFavorites((dir.Path() / "none").string(), file).pages.empty());
    EXPECT_EQ(lvtest::ReadBytes(file), "old");
}

TEST(Favorites, ExportCleansNamesKeepsOtherLinesAndNumbersCollisions) {
    lvtest::TempDir dir;
    const std::string file = dir.File("x.lvd");
    lvtest::WriteBytes(file, "[Tabs]\r\nCount=2\r\nTab1=Daily\r\nTab2=../Up\r\n"
                             "[Daily]\r\n01N=A.B: News\r\n01U=http://news.example/\r\n"
                             "02N=A,B: News\r\n02U=http://other.example/\r\n"
                             "03N=Locked\r\n03U=ab\xB6"
                             "cd\r\n"
                             "04N=\xE9t\xE9 &#20013;\r\n04U=http://zh.example/\r\n"
                             "05N=NoAddress\r\n"
                             "45N=Far\r\n45U=http://far.example/\r\n"
                             "[../Up]\r\n01N=Up\r\n01U=http://up.example/\r\n");
    const fs::path out = dir.Path() / "out";
    fs::create_directories(out / "Daily");
    lvtest::WriteBytes(
        out / "Daily" / "A_B_ News.url",
        "[DEFAULT]\r\nBASEURL=x\r\n[InternetShortcut]\r\nURL=old\r\nIconIndex=1\r\n");
    FavoritesExportRequest request;
    request.dataFile = file;
    request.pages = {"Daily", "../Up"};
    request.firstPage = 0;
    request.lastPage = 1;
    request.columnCount = 2;
    request.folder = out.string();
    const FavoritesExport result = ExportFavorites(request);
    EXPECT_EQ(result.pages, 2);
    EXPECT_EQ(result.shortcuts, 4);
    EXPECT_EQ(result.notTaken.size(), 1u);
    EXPECT_EQ(lvtest::ReadBytes(out / "Daily" / "A_B_ News.url"),
              "[DEFAULT]\r\nBASEURL=x\r\n[InternetShortcut]\r\nURL=http://news.example/\r\n"
              "IconIndex=1\r\n");
    EXPECT_EQ(lvtest::ReadBytes(out / "Daily" / "A_B_ News (2).url"),
              "\r\n[InternetShortcut]\r\nURL=http://other.example/\r\n");
    EXPECT_TRUE(fs::exists(out / "Daily" / "\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD.url"));
    EXPECT_FALSE(fs::exists(out / "Daily" / "Far.url")); // slot 45 is off a 2-column grid
    EXPECT_FALSE(fs::exists(out / "Daily" / "Locked.url"));
    EXPECT_TRUE(fs::exists(out / ".._Up" / "Up.url"));
    EXPECT_FALSE(fs::exists(dir.Path() / "Up"));

    // A second export replaces the same files rather than numbering them again.
    ExportFavorites(request);
    EXPECT_FALSE(fs::exists(out / "Daily" / "A_B_ News (3).url"));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(out / "Daily")) {
        ++files;
    }
    EXPECT_EQ(files, 3);

    // Round trip: the exported folder imports with the same titles, cleaned.
    const FavoritesImport back = ImportFavorites((out / "Daily").string(), dir.File("IE.lvd"));
    EXPECT_EQ(Slots(TIniFile32(dir.File("IE.lvd")), "Daily", 'N'),
              (std::vector<std::string>{"A_B_ News", "A_B_ News (2)", "\xE9t\xE9 &#20013;"}));
    EXPECT_EQ(back.links, 3);
}

} // namespace
