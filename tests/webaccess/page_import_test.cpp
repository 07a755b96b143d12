// Links of the page the browser shows, fetched again from a real server on loopback.
#include "platform/PollEventLoop.h"
#include "support/Nginx.h"

#include "mainwindow/web_fakes.h"

#include <gtest/gtest.h>

namespace {

TEST(PageImport, LinksOfTheBrowsersPageGoIntoFreeSlots) {
    if (!lvtest::Nginx::Available()) {
        GTEST_SKIP() << "nginx is not installed";
    }
    lvtest::Nginx nginx;
    nginx.Start();
    nginx.WriteDoc("links.html",
                   "<html><body>\n<a href=\"http://127.0.0.1/one\">One &amp; only</a>\n"
                   "<p>no link here</p>\n<a href=\"https://secure.example/two\">Two</a>\n"
                   "<a href='http://www.third.com/'><img src=x.gif></a>\n</body></html>\n");
    lv::PollEventLoop loop;
    lvtest::WebHarness h;
    auto& form = h.Start("Count=1\r\nTab1=Page1\r\n",
                         "[Page1]\r\n02N=Mine\r\n02U=http://mine.example/\r\n", &loop);
    h.browser.frontPage = "\"" + nginx.BaseUrl() + "/links.html\",\"Links\"";
    h.clipboard.SetText("untouched");
    form.MWSImportClick();
    EXPECT_EQ(h.Read("Page1", "01U"), "http://127.0.0.1/one");
    EXPECT_EQ(h.Read("Page1", "01N"), "One & only");
    EXPECT_EQ(h.Read("Page1", "02U"), "http://mine.example/");
    EXPECT_EQ(h.Read("Page1", "03U"), "https://secure.example/two");
    EXPECT_EQ(h.Read("Page1", "04U"), "http://www.third.com/");
    EXPECT_EQ(h.Read("Page1", "04N"), "third");
    EXPECT_EQ(h.Read("Page1", "05U"), "<none>");
    EXPECT_EQ(h.clipboard.Text(), "untouched");
    EXPECT_EQ(form.State().buttons[2].caption, "Two");
}

TEST(PageImport, APageThatCannotBeFetchedImportsNothing) {
    lv::PollEventLoop loop;
    lvtest::WebHarness h;
    auto& form = h.Start("Count=1\r\nTab1=Page1\r\n", "", &loop);
    h.browser.frontPage =
        "\"http://127.0.0.1:" + std::to_string(lvtest::FreeLocalPort()) + "/\",\"Gone\"";
    const std::string before = lvtest::ReadBytes(h.DataFile());
    form.MWSImportClick();
    EXPECT_EQ(form.State().caption, "No Bookmarks Found");
    EXPECT_EQ(lvtest::ReadBytes(h.DataFile()), before);
}

} // namespace
