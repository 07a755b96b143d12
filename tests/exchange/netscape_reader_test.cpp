#include "exchange/NetscapeReader.h"

#include <gtest/gtest.h>

namespace {

using lv::ReadNetscape;

// "loose: t>u | Folder: t>u, t>u | ..." for comparing whole files at a glance.
std::string Outline(const lv::NetscapeBookmarks& b) {
    auto links = [](const std::vector<lv::NetscapeLink>& list) {
        std::string text;
        for (const lv::NetscapeLink& link : list) {
            text += (text.empty() ? "" : ", ") + link.title + ">" + link.url;
        }
        return text;
    };
    std::string out = "loose: " + links(b.loose);
    for (const lv::NetscapeFolder& folder : b.folders) {
        out += " | " + folder.name + ": " + links(folder.links);
    }
    return out;
}

// Each file shows one way real exporters break a line-by-line reader.
TEST(NetscapeReader, TakesEveryLinkOnceWhateverTheMarkup) {
    const struct {
        const char* what;
        const char* html;
        const char* outline;
    } cases[] = {
        {"attributes in any order and case",
         "<DL><p><DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\" add_date=\"1\">Bar</H3><DL><p>"
         "<DT><A ICON=\"data:x\" TAGS=\"a,b\" LAST_MODIFIED=\"2\" href=\"http://a/\">A</A>"
         "<dt><a HREF='http://b/' >B</a></DL></DL>",
         "loose:  | Bar: A>http://a/, B>http://b/"},
        {"IE11: a space before >",
         "<DL><p><DT><H3 FOLDED ADD_DATE=\"1\" >F</H3>\n<DL><p>\n"
         "<DT><A HREF=\"http://a/\" ADD_DATE=\"1\" >A</A>\n</DL><p>\n</DL>",
         "loose:  | F: A>http://a/"},
        {"IE for Mac: the folder line ends with a bare word",
         "<DL><p>\n\t<DT><H3  OBJECT_TYPE=\"LINK\" FOLDED>Mac</H3>\n\t<DL><p>\n"
         "\t\t<DT><A HREF=\"ftp://f/\" SUBSCRIBE OBJECT_TYPE=\"X\">F</A>\n\t</DL><p>\n</DL>",
         "loose:  | Mac: F>ftp://f/"},
        {"markup and entities in titles",
         "<DL><DT><H3>R&amp;D <i>x</i></H3><DL>"
         "<DT><A HREF=\"http://a/?x=1&amp;y=2\"><b>Bold</b> &lt;script&gt;</A>"
         "<DT><A HREF=\"http://s/\"><script>alert(1)</script>Hi</A></DL></DL>",
         "loose:  | R&D x: Bold <script>>http://a/?x=1&y=2, alert(1)Hi>http://s/"},
        {"a tag and a title wrapped over lines",
         "<DL><DT><A\n HREF=\"http://w/\"\n ADD_DATE=\"1\">Two\n   lines</A>\n</DL>",
         "loose: Two lines>http://w/"},
        {"a nested folder in the middle keeps the outer folder's later links",
         "<DL><DT><H3>Dev</H3><DL><DT><A HREF=\"http://1/\">1</A>"
         "<DT><H3>PHP</H3><DL><DT><A HREF=\"http://p/\">p</A></DL>"
         "<DT><A HREF=\"http://2/\">2</A></DL></DL>",
         "loose:  | Dev: 1>http://1/, 2>http://2/ | PHP: p>http://p/"},
        {"a folder starting with a nested folder does not take its links",
         "<DL><DT><H3>Out</H3><DL><DT><H3>In</H3><DL><DT><A HREF=\"http://i/\">i</A></DL>"
         "<DT><A HREF=\"http://o/\">o</A></DL></DL>",
         "loose:  | Out: o>http://o/ | In: i>http://i/"},
        {"a second folder of the same name continues the first",
         "<DL><DT><H3>Same</H3><DL><DT><A HREF=\"http://1/\">1</A></DL>"
         "<DT><H3>Same</H3><DL><DT><A HREF=\"http://2/\">2</A></DL></DL>",
         "loose:  | Same: 1>http://1/, 2>http://2/"},
        {"links outside every folder, empty folders, separators and descriptions",
         "<H1>Mine</H1><DD>about<DL><p><DT><A HREF=\"http://top/\">Top</A><HR>"
         "<DT><H3>Empty</H3><DD>nothing here<DL><p></DL><p>"
         "<DT><A HREF=\"http://end/\">End</A><DD>said</DL><p>",
         "loose: Top>http://top/, End>http://end/ | Empty: "},
        {"an empty title takes the address; a long address is whole",
         "<DL><DT><A HREF=\"http://example.com/a/very/long/path/that/goes/on/and/on?q=1\"></A>"
         "<DT><A HREF=\"http://x/\">   </A></DL>",
         "loose: http://example.com/a/very/long/path/that/goes/on/and/on?q=1>"
         "http://example.com/a/very/long/path/that/goes/on/and/on?q=1, http://x/>http://x/"},
        {"a missing </A> ends at the next entry; a missing </DL> at the end of the file",
         "<DL><DT><H3>F</H3><DL><DT><A HREF=\"http://1/\">One\n<DT><A HREF=\"http://2/\">Two",
         "loose:  | F: One>http://1/, Two>http://2/"},
        {"comments, DOCTYPE and a stray < are not markup of the list",
         "<!DOCTYPE NETSCAPE-Bookmark-file-1><!-- <A HREF=\"http://no/\">no</A> -->"
         "<!Created by IE 4.0 ><DL><DT><A HREF=\"http://y/\">a < b</A></DL>",
         "loose: a < b>http://y/"},
        {"non-ASCII in an address is percent-encoded",
         "<DL><DT><A HREF=\" http://x/caf\xC3\xA9 \">c</A></DL>", "loose: c>http://x/caf%C3%A9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Outline(ReadNetscape(c.html)), c.outline) << c.what;
    }
}

TEST(NetscapeReader, CountsTheLinksItDoesNotTake) {
    const lv::NetscapeBookmarks b = ReadNetscape(
        "<DL><DT><A HREF=\"javascript:alert(1)\">js</A><DT><A HREF=\"JavaScript:x\">js2</A>"
        "<DT><A HREF=\"place:sort=8\">smart</A><DT><A NAME=\"x\">no href</A>"
        "<DT><A HREF=\"http://ok/\">ok</A></DL>");
    EXPECT_EQ(b.LinkCount(), 1);
    ASSERT_EQ(b.notTaken.size(), 3u);
    long long total = 0;
    for (const auto& [reason, count] : b.notTaken) {
        total += count;
        EXPECT_FALSE(reason.empty());
    }
    EXPECT_EQ(total, 4);
}

TEST(NetscapeReader, ReadsTheFilesEncoding) {
    const struct {
        std::string bytes;
        const char* encoding;
        const char* title; // UTF-8
    } cases[] = {
        {"\xEF\xBB\xBF<DL><DT><A HREF=\"http://a/\">\xC3\xA9</A></DL>", "UTF-8", "\xC3\xA9"},
        {"<DL><DT><A HREF=\"http://a/\">\xC3\xA9</A></DL>", "UTF-8", "\xC3\xA9"},
        {"<DL><DT><A HREF=\"http://a/\">\xE9\x80</A></DL>", "Windows-1252", "\xC3\xA9\xE2\x82\xAC"},
        {"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=x-mac-roman\">"
         "<DL><DT><A HREF=\"http://a/\">M\x8A</A></DL>",
         "Mac Roman", "M\xC3\xA4"},
        {"<meta charset=\"ISO-8859-1\"><DL><DT><A HREF=\"http://a/\">\x93q\x94</A></DL>",
         "Windows-1252", "\xE2\x80\x9Cq\xE2\x80\x9D"},
        // Declared UTF-8 but written in Windows-1252: the bytes win.
        {"<META CONTENT=\"text/html; charset=UTF-8\"><DL><DT><A HREF=\"http://a/\">\xE9</A></DL>",
         "Windows-1252", "\xC3\xA9"},
        {"<META CONTENT=\"text/html; charset=koi8-r\"><DL><DT><A HREF=\"http://a/\">\xC1</A></DL>",
         "koi8-r", "\xD0\xB0"},
    };
    for (const auto& c : cases) {
        const lv::NetscapeBookmarks b = ReadNetscape(c.bytes);
        EXPECT_EQ(b.encoding, c.encoding) << c.bytes;
        ASSERT_EQ(b.loose.size(), 1u) << c.bytes;
        EXPECT_EQ(b.loose[0].title, c.title) << c.bytes;
    }
}

TEST(NetscapeReader, SurvivesHostileInput) {
    // Unclosed quotes, tags and comments, and a title that never ends, are taken in stride.
    const std::string cases[] = {
        "<DL><DT><A HREF=\"http://a/>A</A>\n<DT><A HREF=\"http://b/\">B</A></DL>",
        "<DL><DT><A HREF=\"http://a/\">" + std::string(100000, 'x'),
        "<!-- never closed <DL><DT><A HREF=\"http://a/\">A</A>",
        "<DL><DT><A HREF=",
        "</DL></DL></DL><DL><DL><DT><H3>",
    };
    for (const std::string& html : cases) {
        const lv::NetscapeBookmarks b = ReadNetscape(html);
        for (const lv::NetscapeLink& link : b.loose) {
            EXPECT_LE(link.title.size(), 4096u);
        }
    }
    EXPECT_EQ(Outline(ReadNetscape(cases[0])), "loose: A>http://a/, B>http://b/");
}

} // namespace
