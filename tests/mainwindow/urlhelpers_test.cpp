// The slash rule, the site-part offset and the domain-suffix position, as tables.
#include "mainwindow/UrlHelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SlashCase {
    const char* input;
    const char* expected;
};

TEST(UrlHelpers, EndSlash) {
    const SlashCase cases[] = {
        {"www.example.com", "http://www.example.com/"},
        {"http://www.example.org", "http://www.example.org/"},
        {"http://host.co.uk", "http://host.co.uk/"},
        {"www.example.com/page.html", "http://www.example.com/page.html"},
        {"http://www.example.com/", "http://www.example.com/"},
        {"mailto:someone@example.com", "mailto:someone@example.com"},
        {"WWW.example.com", "WWW.example.com/"}, // only the lower-case prefix gets a scheme
        {"http://example.COM", "http://example.COM"},
        {"C:\\dir.com\\file", "C:\\dir.com\\file"},
        {"http://example.com:8080", "http://example.com:8080"},
        {"http://example.community", "http://example.community"},
        {"no dots here", "no dots here"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lv::EndSlash(c.input), c.expected) << c.input;
    }
}

struct PositionCase {
    const char* input;
    int expected;
};

TEST(UrlHelpers, TrimHTTP) {
    const PositionCase cases[] = {
        {"https://www.example.com/", 13},
        {"http://www.example.com/", 12},
        {"https://example.com/", 9},
        {"http://example.com/", 8},
        {"example.com", 8},
        {"see http://www.x.org", 12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lv::TrimHTTP(c.input), c.expected) << c.input;
    }
}

TEST(UrlHelpers, DNSExt) {
    // Suffixes are tried in their fixed order (.com, .edu, .net, .org, ... .uk), not by place,
    // and ".com" counts even where it only begins a longer label.
    const PositionCase cases[] = {
        {"http://www.example.com/a/b", 23},
        {"http://www.example.org.uk/", 23},
        {"http://a.uk.com/", 16},
        {"http://x.company.net/", 13},
        {"http://example.de", 18},
        {"http://localhost/", 0},
        {"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lv::DNSExt(c.input), c.expected) << c.input;
    }
    // Callers cut the site root with the answer.
    const std::string url = "http://www.example.com/deep/page.html";
    EXPECT_EQ(url.substr(0, lv::DNSExt(url) - 1), "http://www.example.com");
}

} // namespace
