#include "exchange/LinkList.h"
#include "store/TIniFile32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace lv;

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string bytes;
    for (const std::string_view line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

// Two pages: Work with a bookmark in a visible and in a hidden slot (with 2 columns), a local
// program, a coloured one and a scrambled one; Empty without listed bookmarks.
TIniFile32 Sample() {
    return TIniFile32::FromBytes("/nonexistent/Sample.lvd", Lines({"[Tabs]",
                                                                   "Count=3",
                                                                   "Tab1=Work",
                                                                   "Tab2=Empty",
                                                                   "Tab3=Other",
                                                                   "[Work]",
                                                                   "01N=Alpha",
                                                                   "01U=http://a.example/",
                                                                   "02N=Program",
                                                                   "02U=/usr/bin/xterm",
                                                                   "02L=Yes",
                                                                   "03N=Red",
                                                                   "03U=http://red.example/",
                                                                   "03C=255",
                                                                   "04N=NoAddress",
                                                                   "04C=255",
                                                                   "05N=Locked",
                                                                   "05U=ab\xB6"
                                                                   "cd",
                                                                   "41N=Far",
                                                                   "41U=http://far.example/",
                                                                   "[Empty]",
                                                                   "01N=NoAddress",
                                                                   "[Other]",
                                                                   "01N=O",
                                                                   "01U=http://o.example/"}));
}

LinkListRequest Request(LinkListMode mode, int columns = 4, int first = 0, int last = 1) {
    LinkListRequest request;
    request.mode = mode;
    request.pages = {"Work", "Empty", "Other"};
    request.firstPage = first;
    request.lastPage = last;
    request.columnCount = columns;
    return request;
}

TEST(LinkList, EachFormHasItsLinesWithHeadingsAndWithoutLocalPrograms) {
    const TIniFile32 ini = Sample();
    // Slot 41 is past the grid of two columns; the local program and the scrambled address are
    // never listed; Empty keeps its heading.
    EXPECT_EQ(BuildLinkList(ini, Request(LinkListMode::Print, 2)).lines,
              (std::vector<std::string>{"Work", "        Alpha    http://a.example/",
                                        "        Red    http://red.example/", "Empty"}));
    EXPECT_EQ(
        BuildLinkList(ini, Request(LinkListMode::Email, 2)).lines,
        (std::vector<std::string>{"http://a.example/ > Alpha <", "http://red.example/ > Red <"}));
    const LinkList html = BuildLinkList(ini, Request(LinkListMode::Html, 3));
    EXPECT_EQ(html.lines, (std::vector<std::string>{
                              "<A Name=\"Links\"></A>|",
                              "| <A HREF=\"#Work\">Work</A> || <A HREF=\"#Empty\">Empty</A> |",
                              "<BR><BR><A HREF=\"#Links\">\x95 </A><A Name=\"Work\">Work</A><A "
                              "HREF=\"#Links\"> \x95</A><BR><BR>",
                              "<A HREF=\"http://a.example/\">Alpha</A><BR>",
                              "<A HREF=\"http://red.example/\">Red</A><BR>",
                              "<A HREF=\"http://far.example/\">Far</A><BR>",
                              "<BR><BR><A HREF=\"#Links\">\x95 </A><A Name=\"Empty\">Empty</A><A "
                              "HREF=\"#Links\"> \x95</A><BR><BR>"}));
    EXPECT_EQ(html.listed, 3);
    EXPECT_EQ(html.protectedLeftOut, 1);
}

TEST(LinkList, ColourModesAndTheRange) {
    const TIniFile32 ini = Sample();
    struct Case {
        const char* mode;
        int filterColor;
        int defaultColor;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        // "Select" never passes an uncoloured bookmark, "Default" passes it.
        {"Select", 255, 0, {"http://red.example/ > Red <"}},
        {"Default", 0, 0, {"http://a.example/ > Alpha <", "http://far.example/ > Far <"}},
        {"Default",
         255,
         255,
         {"http://a.example/ > Alpha <", "http://red.example/ > Red <",
          "http://far.example/ > Far <"}},
        {"All",
         12345,
         0,
         {"http://a.example/ > Alpha <", "http://red.example/ > Red <",
          "http://far.example/ > Far <"}},
    };
    for (const Case& c : cases) {
        LinkListRequest request = Request(LinkListMode::Email, 4, 0, 0);
        request.filter = {c.mode, c.filterColor, c.defaultColor};
        EXPECT_EQ(BuildLinkList(ini, request).lines, c.lines) << c.mode << " " << c.filterColor;
    }
    // A range past the list is cut to the pages there are; an empty one lists nothing.
    EXPECT_EQ(BuildLinkList(ini, Request(LinkListMode::Print, 4, 2, 9)).lines,
              (std::vector<std::string>{"Other", "        O    http://o.example/"}));
    EXPECT_TRUE(BuildLinkList(ini, Request(LinkListMode::Print, 4, -1, -1)).lines.empty());
}

TEST(LinkList, HtmlEscapesTitlesAddressesAndPageNamesAndShowsEveryCharacter) {
    // "&#20013;" is a character Windows-1252 cannot hold; "&#38;#20013;" is a user's own
    // "&#20013;".
    const TIniFile32 ini = TIniFile32::FromBytes(
        "/nonexistent/x.lvd",
        Lines({"[A<b>]", "01N=<script>alert(1)</script>", "01U=http://x.example/?a=1&b=\"2\"",
               "02N=\"quotes\" & ampersands", "02U=http://y.example/", "03N=\xE9t\xE9 &#20013;",
               "03U=http://z.example/", "04N=&#38;#20013;", "04U=http://w.example/"}));
    LinkListRequest request;
    request.mode = LinkListMode::Html;
    request.pages = {"A<b>"};
    const LinkList list = BuildLinkList(ini, request);
    ASSERT_EQ(list.lines.size(), 7u);
    EXPECT_EQ(list.lines[1], "| <A HREF=\"#A&lt;b&gt;\">A&lt;b&gt;</A> |");
    EXPECT_EQ(list.lines[3], "<A HREF=\"http://x.example/?a=1&amp;b=&quot;2&quot;\">&lt;script&gt;"
                             "alert(1)&lt;/script&gt;</A><BR>");
    EXPECT_EQ(list.lines[4],
              "<A HREF=\"http://y.example/\">&quot;quotes&quot; &amp; ampersands</A><BR>");

    const std::string document = HtmlListDocument(list.lines);
    EXPECT_EQ(document.rfind("<!DOCTYPE html>\r\n", 0), 0u);
    EXPECT_NE(document.find("<META charset=\"utf-8\">"), std::string::npos);
    // UTF-8 throughout: the accents, the Chinese character, the bullet; a reference typed by the
    // user stays visible text.
    EXPECT_NE(document.find("\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD</A>"), std::string::npos);
    EXPECT_NE(document.find(">&amp;#20013;</A>"), std::string::npos);
    EXPECT_NE(document.find("\xE2\x80\xA2 </A>"), std::string::npos);
    EXPECT_EQ(document.find('\x95'), std::string::npos);
    EXPECT_EQ(document.find("<script>"), std::string::npos);
    EXPECT_EQ(document.substr(document.size() - 9), "</HTML>\r\n");
}

TEST(LinkList, CaptionsActionsAndMemo) {
    EXPECT_EQ(LinkListCaption(LinkListMode::Print, "Work"), "Print the \"Work\" Page");
    EXPECT_EQ(LinkListCaption(LinkListMode::Html, "Work"), "Create HTML from the \"Work\" Page");
    EXPECT_EQ(LinkListCaption(LinkListMode::Email, "Work"), "EMail the \"Work\" Page");
    EXPECT_STREQ(LinkListAction(LinkListMode::Print), "Print");
    EXPECT_STREQ(LinkListAction(LinkListMode::Html), "Create HTML");
    EXPECT_STREQ(LinkListAction(LinkListMode::Email), "EMail");
    EXPECT_EQ(MemoText({"a", "b"}), "a\r\nb\r\n");
}

} // namespace
