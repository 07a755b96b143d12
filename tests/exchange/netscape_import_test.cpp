#include "exchange/NetscapeImport.h"

#include "store/DataFile.h"
#include "store/FileError.h"
#include "store/TIniFile32.h"
#include "store/Text.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using lvtest::ReadBytes;
using lvtest::TempDir;
using lvtest::WriteBytes;

std::string Links(const std::string& prefix, int count) {
    std::string html;
    for (int i = 1; i <= count; ++i) {
        html += "<DT><A HREF=\"http://" + prefix + std::to_string(i) + "/\">" + prefix +
                std::to_string(i) + "</A>\n";
    }
    return html;
}

std::string Folder(const std::string& name, const std::string& body) {
    return "<DT><H3>" + name + "</H3>\n<DL><p>\n" + body + "</DL><p>\n";
}

// Page name and number of filled slots, per page of the DataFile.
std::vector<std::pair<std::string, int>> Pages(const std::string& dataFile) {
    const lv::TIniFile32 ini(dataFile);
    std::vector<std::pair<std::string, int>> pages;
    for (const std::string& page : lv::ReadTabs(ini)) {
        int filled = 0;
        for (int slot = 1; slot <= lv::datafile::kSlotCount; ++slot) {
            filled += lv::ReadBookmark(ini, page, slot).Empty() ? 0 : 1;
        }
        pages.emplace_back(page, filled);
    }
    return pages;
}

using PageList = std::vector<std::pair<std::string, int>>;

TEST(NetscapeImport, FoldersBecomePagesOfEightyContinuedWithPlus) {
    TempDir dir;
    const std::string html = "<H1>Menu</H1><DL><p>\n" + Links("top", 2) +
                             Folder("F", Links("f", 170)) + Folder("Small", Links("s", 3)) +
                             "</DL>\n";
    WriteBytes(dir.File("b.html"), html);
    const lv::NetscapeImportResult result =
        lv::ImportNetscapeFile(dir.File("b.html"), dir.File("Netscape.lvd"));
    EXPECT_EQ(result.links, 175);
    EXPECT_EQ(Pages(dir.File("Netscape.lvd")),
              (PageList{{"Menu", 2}, {"F", 80}, {"F+", 80}, {"F++", 10}, {"Small", 3}}));
    const lv::TIniFile32 ini(dir.File("Netscape.lvd"));
    EXPECT_EQ(ini.ReadString("F+", "01N", ""), "f81");
    EXPECT_EQ(ini.ReadString("F++", "10U", ""), "http://f170/");
    EXPECT_EQ(ini.ReadString("F", "80U", ""), "http://f80/");
    // Only N and U are written.
    EXPECT_EQ(ini.ReadString("Small", "01G", "none"), "none");

    // Byte for byte what the engine writes key by key.
    lv::TIniFile32 engine = lv::TIniFile32::FromBytes(dir.File("E.lvd"), {});
    engine.SetDeferSaves(true);
    lv::SaveTabs(engine, result.pages);
    for (const std::string& page : result.pages) {
        for (int slot = 1; slot <= lv::datafile::kSlotCount; ++slot) {
            for (const char letter : {'N', 'U'}) {
                const std::string value = ini.ReadString(page, lv::SlotKey(slot, letter), "");
                if (!value.empty()) {
                    engine.WriteString(page, lv::SlotKey(slot, letter), value);
                }
            }
        }
    }
    EXPECT_EQ(ReadBytes(dir.File("Netscape.lvd")), engine.Bytes());
}

TEST(NetscapeImport, PageNamesNeverShareASection) {
    TempDir dir;
    const std::string html = "<DL>" + Folder("F", Links("a", 81)) + Folder("F+", Links("b", 1)) +
                             Folder("f", Links("c", 1)) + Folder("Tabs", Links("d", 1)) +
                             Folder("", Links("e", 1)) + Folder("x]y", Links("g", 1)) + "</DL>";
    WriteBytes(dir.File("b.html"), html);
    lv::ImportNetscapeFile(dir.File("b.html"), dir.File("N.lvd"));
    EXPECT_EQ(
        Pages(dir.File("N.lvd")),
        (PageList{
            {"F", 80}, {"F+", 1}, {"F++", 1}, {"f+++", 1}, {"Tabs+", 1}, {"Page", 1}, {"x)y", 1}}));
}

TEST(NetscapeImport, TextIsStoredInTheDataFilesEncoding) {
    TempDir dir;
    WriteBytes(dir.File("b.html"),
               "<META CONTENT=\"text/html; charset=UTF-8\"><DL>"
               "<DT><H3>Caf\xC3\xA9 \xE4\xB8\xAD</H3><DL>"
               "<DT><A HREF=\"http://a/\">&#65; &amp;#65; \xE2\x80\x94</A></DL></DL>");
    const lv::NetscapeImportResult result =
        lv::ImportNetscapeFile(dir.File("b.html"), dir.File("N.lvd"));
    ASSERT_EQ(result.pages.size(), 1u);
    EXPECT_EQ(result.pages[0], "Caf\xE9 &#20013;");
    const lv::TIniFile32 ini(dir.File("N.lvd"));
    const std::string title = ini.ReadString(result.pages[0], "01N", "");
    // What the user reads: the decoded text, the literal "&#65;" kept as typed.
    EXPECT_EQ(lv::Cp1252ToUtf8(title), "A &#65; \xE2\x80\x94");
}

TEST(NetscapeImport, ReplacesTheDataFileWholeAndSaysWhatWasNotTaken) {
    TempDir dir;
    WriteBytes(dir.File("N.lvd"), "[Tabs]\r\nCount=1\r\nTab1=Old\r\n[Old]\r\n01N=x\r\n01U=y\r\n");
    WriteBytes(dir.File("b.html"), "<DL><DT><A HREF=\"javascript:void(0)\">js</A>"
                                   "<DT><A HREF=\"place:x\">p</A><DT><A HREF=\"place:y\">p</A>"
                                   "<DT><A HREF=\"http://a/\">a</A></DL>");
    const lv::NetscapeImportResult result =
        lv::ImportNetscapeFile(dir.File("b.html"), dir.File("N.lvd"));
    EXPECT_EQ(Pages(dir.File("N.lvd")), (PageList{{"Bookmarks", 1}}));
    EXPECT_EQ(ReadBytes(dir.File("N.lvd")).find("Old"), std::string::npos);
    const std::vector<std::string> summary = lv::ImportSummaryLines(result);
    ASSERT_EQ(summary.size(), 3u);
    EXPECT_EQ(summary[0], "Imported 1 link onto 1 page.");
    EXPECT_NE(summary[1].find("1 link with javascript:"), std::string::npos) << summary[1];
    EXPECT_NE(summary[2].find("2 links with place:"), std::string::npos) << summary[2];
}

TEST(NetscapeImport, AFileWithoutLinksGivesTheDefaultPagesAndAMissingFileAnError) {
    TempDir dir;
    WriteBytes(dir.File("b.html"), "<TITLE>Bookmarks</TITLE><H1>Bookmarks</H1><DL><p></DL>");
    lv::ImportNetscapeFile(dir.File("b.html"), dir.File("N.lvd"));
    EXPECT_EQ(Pages(dir.File("N.lvd")).size(), 10u);
    EXPECT_THROW(lv::ImportNetscapeFile(dir.File("missing.html"), dir.File("M.lvd")),
                 lv::FileError);
    EXPECT_FALSE(std::filesystem::exists(dir.File("M.lvd")));
}

// Real exporters' files: every link arrives, titles readable, non-ASCII intact. A folder name
// that comes twice ("Locations") makes one page.
TEST(NetscapeImport, EveryRealExportersFileArrivesWhole) {
    const std::filesystem::path folder = lvtest::SharedTestData("netscape");
    if (folder.empty() || !std::filesystem::exists(folder)) {
        GTEST_SKIP() << "the shared test files (../shared/testdata/netscape) are not here";
    }
    const struct {
        const char* file;
        int pages;
        long long links;
        long long notTaken;
        const char* somePage;  // UTF-8
        const char* someTitle; // UTF-8, on that page
    } cases[] = {
        {"netscape-4.7-default-bookmarks.html", 14, 110, 0, "Personal Toolbar Folder", "WebMail"},
        {"netscape-4-aliases-separators-multiline-dd.html", 5, 10, 0, "", "O'Reilly & Associates"},
        {"mac-ie-favorites-x-mac-roman.html", 32, 149, 0, "Personal Services", "Checking,\xC3\xA4"},
        {"mozilla-1.x-deep-nesting.html", 33, 219, 0, "Locations", "\xE2\x80\xA6"},
        {"firefox-nested-tags-descriptions.htm", 7, 21, 3, "PHP", "Tolkien\xE2\x80\x99s"},
        {"chromium-nested-data-uri-icons.htm", 8, 18, 0, "Python", "r\xC3\xA9seau"},
        {"ie11-utf8-bom-empty-folder.htm", 10, 27, 0, "Links", ""},
        {"firefox-esr-153-reexport.html", 33, 219, 0, "Bookmarks Menu", "\xE2\x80\xA6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir dir;
        const lv::NetscapeImportResult result =
            lv::ImportNetscapeFile((folder / c.file).string(), dir.File("N.lvd"));
        long long notTaken = 0;
        for (const auto& [reason, count] : result.notTaken) {
            notTaken += count;
        }
        EXPECT_EQ(static_cast<int>(result.pages.size()), c.pages);
        EXPECT_EQ(result.links, c.links);
        EXPECT_EQ(notTaken, c.notTaken);
        const lv::TIniFile32 ini(dir.File("N.lvd"));
        bool pageFound = *c.somePage == '\0';
        bool titleFound = *c.someTitle == '\0';
        long long stored = 0;
        for (const std::string& page : lv::ReadTabs(ini)) {
            pageFound = pageFound || lv::Cp1252ToUtf8(page) == c.somePage;
            for (int slot = 1; slot <= lv::datafile::kSlotCount; ++slot) {
                const lv::Bookmark b = lv::ReadBookmark(ini, page, slot);
                if (b.Empty()) {
                    continue;
                }
                ++stored;
                const std::string title = lv::Cp1252ToUtf8(b.title);
                EXPECT_FALSE(title.empty());
                // Readable: no markup, entity or broken character left in a title.
                EXPECT_EQ(title.find("&amp;"), std::string::npos) << title;
                EXPECT_EQ(title.find("<"), std::string::npos) << title;
                EXPECT_EQ(title.find("\xEF\xBF\xBD"), std::string::npos) << title;
                titleFound = titleFound || title.find(c.someTitle) != std::string::npos;
            }
        }
        EXPECT_EQ(stored, c.links);
        EXPECT_TRUE(pageFound) << c.somePage;
        EXPECT_TRUE(titleFound) << c.someTitle;
    }
}

} // namespace
