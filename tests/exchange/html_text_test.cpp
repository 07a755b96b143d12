#include "exchange/HtmlText.h"

#include <gtest/gtest.h>

namespace {

using lv::DecodeHtmlEntities;
using lv::EscapeHtml;

TEST(HtmlText, DecodesReferencesOnceAndLeavesOtherAmpersands) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"Market &amp; Sell", "Market & Sell"},
        {"&lt;script&gt;", "<script>"},
        {"What&#39;s &quot;new&quot;", "What's \"new\""},
        {"&#x27;&#X41;&#65", "'AA"}, // hexadecimal, and ";" left out
        {"caf&eacute; &euro;5 &hellip;", "caf\xC3\xA9 \xE2\x82\xAC"
                                         "5 \xE2\x80\xA6"},
        {"&#150;", "\xE2\x80\x93"}, // 80..9F read as Windows-1252
        {"&#0;&#xD800;&#99999999;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"AT&T & co; &nosuch; &#; &", "AT&T & co; &nosuch; &#; &"},
        {"&amp;#8230;", "&#8230;"}, // a double-escaped reference stays text
        {"&amp", "&amp"},           // names need their ";"
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeHtmlEntities(c.in), c.out) << c.in;
    }
}

TEST(HtmlText, EscapedTextDecodesBackToItself) {
    const std::string text = "<b>\"quotes\" & ampersands</b> &amp; \xE4\xB8\xAD";
    EXPECT_EQ(EscapeHtml(text),
              "&lt;b&gt;&quot;quotes&quot; &amp; ampersands&lt;/b&gt; &amp;amp; \xE4\xB8\xAD");
    EXPECT_EQ(DecodeHtmlEntities(EscapeHtml(text)), text);
}

} // namespace
