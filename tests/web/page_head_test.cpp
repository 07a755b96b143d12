// The icon and description a page's head names, the addresses they resolve to, and what a
// downloaded icon file holds.
#include "web/PageHead.h"

#include <gtest/gtest.h>

namespace {

TEST(PageHead, FindsIconAndDescriptionHoweverTheTagsAreWritten) {
    struct Case {
        const char* name;
        const char* html;
        const char* icon; // nullptr: none found
        const char* description;
    } cases[] = {
        {"plain",
         "<head><link rel=\"icon\" href=\"/img/Logo.PNG\">"
         "<meta name=\"description\" content=\"A site\"></head>",
         "/img/Logo.PNG", "A site"},
        {"order, case and quotes",
         "<HEAD><LINK HREF='Icons/Fav.ico' TYPE='image/x-icon' REL='Shortcut Icon'/>"
         "<META CONTENT='Tom&#39;s &amp; Jerry&apos;s' NAME='Description'></HEAD>",
         "Icons/Fav.ico", "Tom's & Jerry's"},
        {"tags across lines",
         "<head>\r\n<link\r\n  rel=icon\r\n  href=https://cdn.example/I.gif\r\n>\n"
         "<meta name=\"description\"\n content=\"first line\n   second line\">\n</head>",
         "https://cdn.example/I.gif", "first line second line"},
        {"the last icon counts, the first description",
         "<link rel=\"icon\" href=\"/a.ico\"><link rel=\"apple-touch-icon\" href=\"/t.png\">"
         "<link rel=\"icon\" sizes=\"32x32\" href=\"/b.png\">"
         "<meta name=description content=one><meta name=description content=two>",
         "/b.png", "one"},
        {"meta icon before link", "<link rel=icon href=/l.ico><meta name=icon content=/m.gif>",
         "/m.gif", nullptr},
        {"comments and scripts hide tags",
         "<!-- <link rel=icon href=/c.ico> --><script>document.write('<link rel=icon "
         "href=/s.ico>')</script><title><link rel=icon href=/t.ico></title>"
         "<link rel=stylesheet href=/x.css></head><body><link rel=icon href=/b.ico>",
         nullptr, nullptr},
        {"characters of a UTF-8 page",
         "<meta charset=utf-8><meta name=\"description\" content=\"Caf\xc3\xa9 &#x4E2D; &euro;\">",
         nullptr, "Caf\xe9 &#20013; \x80"},
        {"an unclosed tag at the end", "<link rel=icon href=\"/x.ico", "/x.ico", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const lv::PageHeadInfo info = lv::ReadPageHead(c.html);
        EXPECT_EQ(info.iconFound, c.icon != nullptr);
        EXPECT_EQ(info.iconAddress, c.icon != nullptr ? c.icon : "");
        EXPECT_EQ(info.descriptionFound, c.description != nullptr);
        EXPECT_EQ(info.description, c.description != nullptr ? c.description : "");
    }
}

TEST(PageHead, ResolvesAgainstTheFinalPageAddress) {
    struct Case {
        const char* page;
        const char* reference;
        const char* resolved;
    } cases[] = {
        {"http://127.0.0.1:8080/dir/page.html", "/img/Logo.PNG",
         "http://127.0.0.1:8080/img/Logo.PNG"},
        {"http://127.0.0.1:8080/dir/page.html", "Icons/A.ico",
         "http://127.0.0.1:8080/dir/Icons/A.ico"},
        {"https://example.com/a/b/", "../I.png?v=2", "https://example.com/a/I.png?v=2"},
        {"https://example.com/", "//cdn.example/i.ico", "https://cdn.example/i.ico"},
        {"http://example.com/", "HTTP://Other.Example/Fav.ICO", "HTTP://Other.Example/Fav.ICO"},
        {"http://example.com:80/x", "/favicon.ico", "http://example.com/favicon.ico"},
        {"http://example.com/", "data:image/png;base64,AAAA", ""},
        {"file:///home/x.html", "/favicon.ico", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.page) + " + " + c.reference);
        EXPECT_EQ(lv::ResolvePageAddress(c.page, c.reference), c.resolved);
    }
}

TEST(PageHead, IconFilesAreJudgedByTheirFirstBytes) {
    using lv::IconContent;
    struct Case {
        std::string bytes;
        IconContent content;
    } cases[] = {
        {std::string("\0\0\1\0\1\0\x10\x10", 8), IconContent::Ico},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), IconContent::Png},
        {"GIF89a\x10\0\x10\0", IconContent::Gif},
        {"GIF87a", IconContent::Gif},
        {"\xff\xd8\xff\xe0\0\x10JFIF", IconContent::Jpeg},
        {std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0", 14), IconContent::Bmp},
        // An icon whose pixels spell "404" or "error" is still an icon; a page is not.
        {std::string("\0\0\1\0\1\0", 6) + "404 error not found", IconContent::Ico},
        {"<html><head><title>404 Not Found</title>", IconContent::Unknown},
        {"<!DOCTYPE html>", IconContent::Unknown},
        {std::string("\0\0\1\0\0\0", 6), IconContent::Unknown}, // no images
        {"", IconContent::Unknown},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lv::SniffIconContent(c.bytes), c.content) << c.bytes;
    }
}

} // namespace
