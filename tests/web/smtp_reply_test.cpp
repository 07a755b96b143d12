// Reply codes, the end of multi-line replies and what an EHLO answer offers.
#include "web/HttpUrl.h"
#include "web/SmtpMessage.h"
#include "web/SmtpReply.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>

namespace {

TEST(SmtpReply, CodeIsTheLeadingDigitsAfterWhiteSpace) {
    const struct {
        const char* line;
        int code;
    } cases[] = {
        {"250 ok", 250},
        {"250-more", 250},
        {" \t\r\n354 go", 354},
        {"", 0},
        {"ok", 0},
        {"-250", 0},
        {"25", 25},
        {"2500000", 2500000},
        {"99999999999999999999 x", INT_MAX}, // no overflow on a hostile line
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lv::SmtpReplyCode(c.line), c.code) << c.line;
    }
}

TEST(SmtpReply, LastLineIsShortOrHasNoDashFourth) {
    EXPECT_FALSE(lv::SmtpIsLastReplyLine("250-first"));
    EXPECT_FALSE(lv::SmtpIsLastReplyLine("abc-"));
    EXPECT_TRUE(lv::SmtpIsLastReplyLine("250 last"));
    EXPECT_TRUE(lv::SmtpIsLastReplyLine("250"));
    EXPECT_TRUE(lv::SmtpIsLastReplyLine("25-"));
    EXPECT_TRUE(lv::SmtpIsLastReplyLine(""));
}

TEST(SmtpReply, EhloOffersAreReadWithoutRegardToCase) {
    auto offers = lv::SmtpParseEhlo(
        {"250-starttls auth plain", "250-8BITMIME", "250-StartTLS", "250 auth=login  plain"});
    EXPECT_TRUE(offers.startTls);
    EXPECT_TRUE(offers.authPlain);
    EXPECT_TRUE(offers.authLogin);
    // The greeting line itself never counts, nor do words after other keywords.
    offers = lv::SmtpParseEhlo({"250-STARTTLS AUTH PLAIN", "250-X-LOGIN", "250 SIZE LOGIN"});
    EXPECT_FALSE(offers.startTls);
    EXPECT_FALSE(offers.authPlain);
    EXPECT_FALSE(offers.authLogin);
}

TEST(SmtpMessage, BoundaryStampIsMonthDayYearHourMinute) {
    std::tm t{};
    t.tm_year = 2003 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 9;
    t.tm_min = 7;
    EXPECT_EQ(lv::SmtpBoundary(t), "= Multipart Boundary Jan05030907");
}

TEST(SmtpMessage, Base64PadsTheTail) {
    EXPECT_EQ(lv::Base64Encode(""), "");
    EXPECT_EQ(lv::Base64Encode("f"), "Zg==");
    EXPECT_EQ(lv::Base64Encode("fo"), "Zm8=");
    EXPECT_EQ(lv::Base64Encode("foo"), "Zm9v");
    EXPECT_EQ(lv::Base64Encode(std::string("\xff\xfe\x00", 3)), "//4A");
}

} // namespace
