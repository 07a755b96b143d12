// Links from the clipboard and from the browser's page into free slots of the current page.
#include "mainwindow/LinkImport.h"
#include "store/DataFile.h"

#include "web_fakes.h"

#include <gtest/gtest.h>

namespace {

using lvtest::WebHarness;

TEST(LinkInLine, FindsTheFirstAddressAndTheAnchorText) {
    struct Case {
        const char* line;
        bool found;
        const char* address;
        const char* title;
    } cases[] = {
        {"<a href=\"http://example.com/a\">Alpha</a>", true, "http://example.com/a", "Alpha"},
        // https counts like http, whichever comes first wins.
        {"<A HREF='https://secure.example/x?a=1&amp;b=2'>S&amp;P &#8211; &eacute;x</A>", true,
         "https://secure.example/x?a=1&b=2", "S&P \x96 \xe9x"},
        {"see https://b.example/ and http://a.example/", true, "https://b.example/", ""},
        // A plain address in text ends at the blank and keeps its last character.
        {"http://example.com/page more text", true, "http://example.com/page", ""},
        {"<a href=\"http://example.com/\"><img src=\"x.gif\"></a>", true, "http://example.com/",
         ""},
        {"ftp://example.com/ only", false, "", ""},
        {"http:// nothing", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        lv::FoundLink link;
        ASSERT_EQ(lv::FindLinkInLine(c.line, true, link), c.found);
        if (c.found) {
            EXPECT_EQ(link.address, c.address);
            EXPECT_EQ(link.title, c.title);
        }
    }
}

TEST(ClipboardImport, FillsFreeSlotsOnlyAndEmptiesTheClipboard) {
    WebHarness h;
    auto& form = h.Start("Count=2\r\nTab1=Page1\r\nTab2=Page2\r\n",
                         "[Page1]\r\n01N=Kept\r\n01U=http://kept.example/\r\n03N=Heading\r\n");
    h.clipboard.SetText("first http://www.alpha.com/ here\n"
                        "no link on this line\r\n"
                        "<a href=\"https://beta.example/b\">Beta</a>\n"
                        "http://gamma.example/g\n");
    form.MCBImportClick();
    EXPECT_EQ(h.Read("Page1", "01U"), "http://kept.example/");
    EXPECT_EQ(h.Read("Page1", "01N"), "Kept");
    EXPECT_EQ(h.Read("Page1", "02U"), "http://www.alpha.com/");
    EXPECT_EQ(h.Read("Page1", "02N"), "alpha");
    EXPECT_EQ(h.Read("Page1", "03N"), "Heading"); // a slot with a title is not free
    EXPECT_EQ(h.Read("Page1", "03U"), "<none>");
    EXPECT_EQ(h.Read("Page1", "04U"), "https://beta.example/b");
    EXPECT_EQ(h.Read("Page1", "04N"), "Beta");
    EXPECT_EQ(h.Read("Page1", "05U"), "http://gamma.example/g");
    EXPECT_EQ(h.Read("Page1", "06U"), "<none>");
    EXPECT_EQ(h.clipboard.Text(), "");
    EXPECT_EQ(form.State().buttons[1].caption, "alpha");
}

TEST(ClipboardImport, ContinuesOnPlusPagesPastEighty) {
    WebHarness h;
    // Page1 keeps slot 5 occupied; "Page1+" exists already, so the new page is "Page1++".
    auto& form = h.Start("Count=3\r\nTab1=Page1\r\nTab2=Page1+\r\nTab3=Other\r\n",
                         "[Page1]\r\n05N=Mine\r\n05U=http://mine.example/\r\n");
    std::string text;
    for (int i = 1; i <= 170; ++i) {
        text += "http://site" + std::to_string(i) + ".example/\n";
    }
    h.clipboard.SetText(text);
    form.MCBImportClick();
    EXPECT_EQ(h.Read("Page1", "05U"), "http://mine.example/");
    EXPECT_EQ(h.Read("Page1", "04U"), "http://site4.example/");
    EXPECT_EQ(h.Read("Page1", "06U"), "http://site5.example/");
    EXPECT_EQ(h.Read("Page1", "80U"), "http://site79.example/");
    // 79 links fit on Page1, 80 on the first new page, the rest on the next.
    EXPECT_EQ(h.Read("Page1++", "01U"), "http://site80.example/");
    EXPECT_EQ(h.Read("Page1++", "80U"), "http://site159.example/");
    EXPECT_EQ(h.Read("Page1+++", "01U"), "http://site160.example/");
    EXPECT_EQ(h.Read("Page1+++", "11U"), "http://site170.example/");
    EXPECT_EQ(h.Read("Page1+", "01U"), "<none>");
    const std::vector<std::string> tabs{"Page1", "Page1++", "Page1+++", "Page1+", "Other"};
    EXPECT_EQ(form.State().TabSet1.names, tabs);
    EXPECT_EQ(h.Read("Tabs", "Count"), "5");
    EXPECT_EQ(h.Read("Tabs", "Tab3"), "Page1+++");
    EXPECT_EQ(form.State().TabSet1.Current(), "Page1");
}

TEST(WebPageImport, WithoutABrowserPageWarnsAndWritesNothing) {
    WebHarness h;
    auto& form = h.Start("Count=1\r\nTab1=Page1\r\n", "");
    h.browser.answering = false;
    h.clipboard.SetText("keep me");
    h.dialogs.Queue(lv::MsgResult::Ok);
    const std::string before = lvtest::ReadBytes(h.DataFile());
    form.MWSImportClick();
    ASSERT_EQ(h.dialogs.Messages().size(), 1u);
    EXPECT_EQ(h.dialogs.Messages()[0].text, "You need to have a browser open to a web page!");
    EXPECT_EQ(lvtest::ReadBytes(h.DataFile()), before);
    EXPECT_EQ(h.clipboard.Text(), "keep me");
}

} // namespace
