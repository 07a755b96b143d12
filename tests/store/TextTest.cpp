#include "store/Text.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace lv;

TEST(Text, ConvertsBetweenWindows1252AndUtf8) {
    struct Case {
        std::string cp1252;
        std::string utf8;
    };
    const Case cases[] = {
        {"Caf\xe9", "Caf\xc3\xa9"},
        {"\x80 \x96 \x99 \x9f", "\xe2\x82\xac \xe2\x80\x93 \xe2\x84\xa2 \xc5\xb8"},
        {"&#20013;&#25991;", "\xe4\xb8\xad\xe6\x96\x87"},
        {"&#128512;", "\xf0\x9f\x98\x80"},
        {"\x81\x8d\x8f\x90\x9d", "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d"},
        {"&#65; &#233; &amp; &#;", "&#65; &#233; &amp; &#;"}, // references of storable characters
        {"&#38;#20013;", "&#20013;"},                         // typed text that looks encoded
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8) << c.cp1252;
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.cp1252;
    }
    EXPECT_EQ(Utf8ToCp1252("a\xff"
                           "b\xe4\xb8"),
              "a&#65533;b&#65533;&#65533;");
}

TEST(Text, EveryTextSurvivesARoundTrip) {
    const std::vector<std::string> utf8 = {
        "&",        "&#",           "&#38;",         "&#38;#",    "&#38;#38;#20013;",
        "&#20013;", "&#38;#20013;", "a&#12345678;b", "&&#20013;", "&#0;",
        "&#55296;", "&#1114112;",   "x&#8364;y",
    };
    for (const std::string& text : utf8) {
        EXPECT_EQ(Cp1252ToUtf8(Utf8ToCp1252(text)), text) << text;
    }
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        allBytes += static_cast<char>(b);
    }
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(allBytes)), allBytes);
    for (const std::string& bytes : utf8) { // the same patterns as stored bytes
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes) << bytes;
    }
}

TEST(Text, CaseFoldingCoversAccentedLetters) {
    EXPECT_TRUE(SameText1252("\xc0\xc9\xce\xd5\xdc\xde Z", "\xe0\xe9\xee\xf5\xfc\xfe z"));
    EXPECT_TRUE(SameText1252("\x8a\x8c\x8e\x9f", "\x9a\x9c\x9e\xff"));
    EXPECT_FALSE(SameText1252("\xd7", "\xf7")); // multiplication and division signs
    EXPECT_FALSE(SameText1252("\xdf", "SS"));
    EXPECT_FALSE(SameText1252("abc", "abcd"));
    EXPECT_EQ(UpperCase1252("stra\xdf"
                            "e \xe9t\xe9 \xff"),
              "STRA\xdf"
              "E \xc9T\xc9 \x9f");
    EXPECT_EQ(LowerCase1252("\xc9T\xc9"), "\xe9t\xe9");
}

TEST(Text, AlphabeticalOrderIgnoresCaseAndKeepsAccentsBesideTheirLetter) {
    std::vector<std::string> names = {"zebra",
                                      "\xc9"
                                      "cole",
                                      "apple",
                                      "Ecole",
                                      "banana",
                                      "1st",
                                      "_under",
                                      "Apple"};
    std::stable_sort(names.begin(), names.end(), LessText1252);
    const std::vector<std::string> expected = {"_under",
                                               "1st",
                                               "apple",
                                               "Apple",
                                               "banana",
                                               "Ecole",
                                               "\xc9"
                                               "cole",
                                               "zebra"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(CompareText1252("ABC", "abc"), 0);
    EXPECT_LT(CompareText1252("abc", "abd"), 0);
    EXPECT_GT(CompareText1252("b", "A"), 0);
}

TEST(Text, ResolvesNamesThatDifferOnlyInCase) {
    lvtest::TempDir dir;
    const std::string d = dir.Path().string();
    EXPECT_EQ(ResolveCaseInsensitive(d, "LVD.INI"), d + "/LVD.INI");

    lvtest::WriteBytes(dir.File("lvd.ini"), "");
    EXPECT_EQ(ResolveCaseInsensitive(d, "LVD.INI"), d + "/lvd.ini");
    EXPECT_EQ(ResolveCaseInsensitive(d + "/", "Lvd.Ini"), d + "/lvd.ini");
    EXPECT_EQ(ResolveCaseInsensitive("", d + "/LVD.ini"), d + "/lvd.ini");

    lvtest::WriteBytes(dir.File("LVD.INI"), "");
    EXPECT_EQ(ResolveCaseInsensitive(d, "LVD.INI"), d + "/LVD.INI");

    lvtest::WriteBytes(dir.File("Caf\xc3\xa9.lvd"), "");
    EXPECT_EQ(ResolveCaseInsensitive(d, "CAF\xc3\x89.LVD"), d + "/Caf\xc3\xa9.lvd");
}

} // namespace
