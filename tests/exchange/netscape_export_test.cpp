#include "exchange/NetscapeExport.h"
#include "exchange/NetscapeReader.h"

#include "store/FileError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using lvtest::ReadBytes;
using lvtest::TempDir;
using lvtest::WriteBytes;

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

const std::vector<lv::ExportFolder> kFolders = {
    {"Work", {{"Alpha", "http://a/"}, {"Beta", "http://b/?x=1&y=2"}}},
    {"Caf\xE9 &#20013;",
     {{"<script>alert(1)</script>", "http://s/"}, {"\"quotes\" & ampersands", "http://q/"}}},
};

TEST(NetscapeExport, WritesTheFolderLinesAsTheWindowsProgramDid) {
    EXPECT_EQ(lv::NetscapeFolderLines({{"Work", {{"Alpha", "http://a/"}}}}, "12/31/1999", false),
              "    <DT><H3 FOLDED ADD_DATE=\"12/31/1999\">Work</H3>\r\n"
              "\r    <DL><p>\r\r\n"
              "      <DT><A HREF=\"http://a/\" ADD_DATE=\"12/31/1999\" LAST_VISIT=\"12/31/1999\" "
              "LAST MODIFIED=\"12/31/1999\">Alpha</A>\r\n"
              "\r    </DL><p>\r\r\n");
}

TEST(NetscapeExport, EscapesTextInTheFilesEncoding) {
    const std::string utf8 = lv::NetscapeFolderLines(kFolders, "1/1/2000", true);
    EXPECT_NE(utf8.find(">Caf\xC3\xA9 \xE4\xB8\xAD</H3>"), std::string::npos);
    EXPECT_NE(utf8.find(">&lt;script&gt;alert(1)&lt;/script&gt;</A>"), std::string::npos);
    EXPECT_NE(utf8.find(">&quot;quotes&quot; &amp; ampersands</A>"), std::string::npos);
    EXPECT_NE(utf8.find("HREF=\"http://b/?x=1&amp;y=2\""), std::string::npos);
    const std::string cp1252 = lv::NetscapeFolderLines(kFolders, "1/1/2000", false);
    EXPECT_NE(cp1252.find(">Caf\xE9 &#20013;</H3>"), std::string::npos);
}

TEST(NetscapeExport, ANewFileIsAWholeDocumentThatReadsBack) {
    TempDir dir;
    const std::string path = dir.File("new.html");
    EXPECT_TRUE(lv::ExportNetscapeFile(path, kFolders, "1/1/2000"));
    const std::string bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.starts_with("<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"));
    EXPECT_NE(bytes.find("charset=UTF-8"), std::string::npos);
    EXPECT_NE(bytes.find("<TITLE>"), std::string::npos);
    EXPECT_NE(bytes.find("<H1>"), std::string::npos);
    const lv::NetscapeBookmarks back = lv::ReadNetscape(bytes);
    ASSERT_EQ(back.folders.size(), 2u);
    EXPECT_EQ(back.folders[1].name, "Caf\xC3\xA9 \xE4\xB8\xAD");
    ASSERT_EQ(back.folders[1].links.size(), 2u);
    EXPECT_EQ(back.folders[1].links[0].title, "<script>alert(1)</script>");
    EXPECT_EQ(back.folders[0].links[1].url, "http://b/?x=1&y=2");
    EXPECT_TRUE(back.loose.empty());
}

TEST(NetscapeExport, AnExistingFileIsOnlyAddedTo) {
    const struct {
        const char* what;
        std::string before;
        bool utf8;
    } cases[] = {
        {"declares UTF-8", "<META CONTENT=\"text/html; charset=UTF-8\">\n<DL><p>\n</DL><p>\n",
         true},
        {"UTF-8 by its byte order mark", "\xEF\xBB\xBF<DL><p>\n</DL><p>\n", true},
        {"declares nothing", "<DL><p>\n</DL><p>\n", false},
        {"has no line end at its end", "<DL><p>\n</DL><p>", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = dir.File("old.html");
        WriteBytes(path, c.before);
        EXPECT_FALSE(lv::ExportNetscapeFile(path, kFolders, "1/1/2000"));
        EXPECT_FALSE(lv::ExportNetscapeFile(path, kFolders, "1/1/2000"));
        const std::string after = ReadBytes(path);
        ASSERT_TRUE(after.starts_with(c.before));
        std::string added = after.substr(c.before.size());
        if (c.before.back() != '\n') {
            ASSERT_TRUE(added.starts_with("\r\n"));
            added = added.substr(2);
        }
        EXPECT_EQ(added, lv::NetscapeFolderLines(kFolders, "1/1/2000", c.utf8) +
                             lv::NetscapeFolderLines(kFolders, "1/1/2000", c.utf8));
        // Both exports read back: each folder twice, merged by name.
        const lv::NetscapeBookmarks back = lv::ReadNetscape(after);
        ASSERT_EQ(back.folders.size(), 2u);
        EXPECT_EQ(back.folders[0].links.size(), 4u);
        EXPECT_EQ(Count(after, "<H3 FOLDED"), 4u);
    }
}

TEST(NetscapeExport, AFileThatCannotBeWrittenIsAnError) {
    TempDir dir;
    EXPECT_THROW(lv::ExportNetscapeFile(dir.File("no/such/dir/x.html"), kFolders, "d"),
                 lv::FileError);
    EXPECT_THROW(lv::ExportNetscapeFile(dir.Path().string(), kFolders, "d"), lv::FileError);
}

} // namespace
