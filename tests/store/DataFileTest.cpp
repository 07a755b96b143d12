#include "store/DataFile.h"
#include "store/FileError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace lv;

// A DataFile as the Windows program wrote it: CR LF, Windows-1252 names and titles, the password
// keys with their high bytes, old glyph values "Icon7" and "Image7".
class WindowsDataFile : public ::testing::Test {
protected:
    void SetUp() override {
        original_ = lvtest::ReadBytes(lvtest::Fixture("store-windows.lvd"));
        ASSERT_FALSE(original_.empty());
        lvtest::WriteBytes(path_, original_);
    }
    std::vector<PageSlotView> LoadPage(const std::string& page, int columns,
                                       const DisplayOptions& options = {}) {
        TIniFile32 ini(path_);
        ini.SetDeferSaves(true);
        std::vector<PageSlotView> views;
        for (int slot = 1; slot <= columns * datafile::kRowCount; ++slot) {
            views.push_back(ReadSlotForDisplay(ini, page, slot, options));
        }
        ini.UpdateFile();
        return views;
    }

    lvtest::TempDir dir_;
    std::string path_ = dir_.File("Disk.LVD");
    std::string original_;
};

TEST_F(WindowsDataFile, ComesBackByteForByte) {
    TIniFile32 ini(path_);
    ini.UpdateFile();
    EXPECT_EQ(lvtest::ReadBytes(path_), original_);
    EXPECT_EQ(ini.ReadString("Tabs", datafile::kPagePasswordKey, ""), "\xd5\xe6\xf3\xe1\xa7");
    EXPECT_EQ(ReadFileProtection(ini), "");
    EXPECT_FALSE(ReadTrackRecent(ini));
    EXPECT_EQ(ReadTabs(ini), (std::vector<std::string>{"Caf\xe9", "News",
                                                       "\xdc"
                                                       "bersicht"}));
}

TEST_F(WindowsDataFile, PageLoadShowsSlotsAndRewritesOldGlyphValues) {
    const auto views = LoadPage("CAF\xc9", 4);
    ASSERT_EQ(views.size(), 80u);

    EXPECT_EQ(views[0].caption, "R\xe9sum\xe9 \x96 \x80 prices");
    EXPECT_EQ(views[0].hint, "http://www.example.com/\rline1\r\nline2");
    EXPECT_EQ(views[0].glyph, (GlyphChoice{GlyphKind::SecondList, 7, {}}));
    EXPECT_TRUE(views[0].handCursor);
    EXPECT_EQ(views[1].glyph, (GlyphChoice{GlyphKind::BuiltIn, 7, {}}));
    EXPECT_EQ(views[2].hint, "Password Protected");
    EXPECT_EQ(views[2].fontColor, 255);
    // A title without a target: caption shown, blank glyph, normal cursor.
    EXPECT_EQ(views[3].caption, "Title only");
    EXPECT_EQ(views[3].glyph.kind, GlyphKind::Blank);
    EXPECT_FALSE(views[3].handCursor);

    std::string expected = original_;
    expected.replace(expected.find("01G=Icon7"), 9, "01G=507");
    expected.replace(expected.find("02G=Image7"), 10, "02G=7");
    EXPECT_EQ(lvtest::ReadBytes(path_), expected);
}

TEST_F(WindowsDataFile, TwoColumnsLeaveTheHigherSlotsAlone) {
    const auto two = LoadPage("\xdc"
                              "bersicht",
                              2);
    EXPECT_EQ(two.size(), 40u);
    EXPECT_EQ(lvtest::ReadBytes(path_), original_);
    const auto four = LoadPage("\xdc"
                               "bersicht",
                               4);
    EXPECT_EQ(four[40].caption, "Only with four columns");
}

TEST_F(WindowsDataFile, IconFileGlyphAndDisplaySwitches) {
    DisplayOptions options;
    options.showNotes = false;
    options.showUrl = false;
    options.buttonFontColor = 0x123456;
    const auto views = LoadPage("News", 2, options);
    EXPECT_EQ(views[0].glyph, (GlyphChoice{GlyphKind::IconFile, 12, "C:\\Icons\\news.ico"}));
    EXPECT_EQ(views[0].hint, "");
    EXPECT_EQ(views[0].fontColor, 0x123456);

    options.showIcons = false;
    options.fileProtected = true;
    const auto locked = LoadPage("News", 2, options);
    EXPECT_EQ(locked[0].glyph.kind, GlyphKind::NoIcon);
    EXPECT_EQ(locked[0].caption, "");
    EXPECT_FALSE(locked[0].enabled);
}

TEST_F(WindowsDataFile, ProtectedPageShowsTheUnscrambledTarget) {
    DisplayOptions options;
    options.unscramble = [](std::string_view stored) {
        return "plain:" + std::string(stored.substr(0, stored.find('\xb6')));
    };
    const auto views = LoadPage("Caf\xe9", 2, options);
    EXPECT_EQ(views[2].hint, "plain:\x8b\x9f\xa3");
    // Targets without the marker are not scrambled and stay as they are.
    EXPECT_EQ(views[0].hint, "http://www.example.com/\rline1\r\nline2");
}

TEST(DataFile, InvalidGlyphValueStopsTheLoadAtThatSlot) {
    auto ini = TIniFile32::FromBytes("unused", "[P]\r\n01U=x\r\n01G=12abc\r\n02G=Iconxyz\r\n");
    ini.SetDeferSaves(true);
    try {
        ReadSlotForDisplay(ini, "P", 1, {});
        FAIL() << "no error";
    } catch (const InvalidIntegerError& e) {
        EXPECT_STREQ(e.what(), "'12abc' is not a valid integer value");
    }
    EXPECT_THROW(ReadSlotForDisplay(ini, "P", 2, {}), InvalidIntegerError);
}

TEST(DataFile, GlyphValuesAndRanges) {
    struct Case {
        const char* text;
        std::int32_t value;
        bool converted;
    };
    for (const Case& c :
         {Case{"Icon7", 507, true}, Case{"Icon507", 507, true}, Case{"Image7", 7, true},
          Case{"Image120x", 120, true}, Case{"612", 612, false}, Case{"", 0, false}}) {
        const GlyphValue g = ParseGlyphValue(c.text);
        EXPECT_EQ(g.value, c.value) << c.text;
        EXPECT_EQ(g.converted, c.converted) << c.text;
    }
    const std::string u = "http://x/";
    EXPECT_EQ(ChooseGlyph(0, u, u, true, 33), (GlyphChoice{GlyphKind::Default, 33, {}}));
    EXPECT_EQ(ChooseGlyph(-4, u, u, true, 33).kind, GlyphKind::Default);
    EXPECT_EQ(ChooseGlyph(120, u, u, true, 33), (GlyphChoice{GlyphKind::BuiltIn, 120, {}}));
    EXPECT_EQ(ChooseGlyph(121, u, u, true, 33).kind, GlyphKind::Default);
    EXPECT_EQ(ChooseGlyph(599, u, u, true, 33), (GlyphChoice{GlyphKind::SecondList, 99, {}}));
    EXPECT_EQ(ChooseGlyph(600, u, "f.ico", true, 33),
              (GlyphChoice{GlyphKind::IconFile, 0, "f.ico"}));
    EXPECT_EQ(ChooseGlyph(7, "", "", true, 33).kind, GlyphKind::Blank);
}

TEST(DataFile, NotesDecodeWrapAndBuildTheHint) {
    EXPECT_EQ(DecodeNotes("line1|~line2"), "line1\r\nline2");
    EXPECT_EQ(EncodeNotes("a\r\nb"), "a|~b");

    const std::string words(54, 'w');
    // Column 56 is reached at the 55th character; the first blank from there on breaks.
    EXPECT_EQ(WrapNotesForDisplay(words + " a b"), words + " a\rb");
    EXPECT_EQ(WrapNotesForDisplay("short one"), "short one");
    EXPECT_EQ(WrapNotesForDisplay("x\r" + words + "ab c"), "x\r" + words + "ab\rc");

    EXPECT_EQ(BuildHint("u", "n", true, true), "u\rn");
    EXPECT_EQ(BuildHint("u", "n", false, true), "n");
    EXPECT_EQ(BuildHint("u", "n", true, false), "u");
    EXPECT_EQ(BuildHint("", "n", true, true), "n");
    EXPECT_EQ(BuildHint("a\xb6"
                        "b",
                        "n", false, false),
              "Password Protected");
}

TEST(DataFile, TabsReadWithDefaultsAndSave) {
    auto ini = TIniFile32::FromBytes("unused", "[Tabs]\r\nCount=3\r\nTab1=Work\r\n");
    ini.SetDeferSaves(true);
    EXPECT_EQ(ReadTabs(ini), (std::vector<std::string>{"Work", "Page2", "Page3"}));

    auto empty = TIniFile32::FromBytes("unused", "");
    EXPECT_EQ(ReadTabs(empty).size(), 10u);
    EXPECT_EQ(ReadTabs(empty).back(), "Page10");
    auto damaged = TIniFile32::FromBytes("unused", "[Tabs]\r\nCount=2000000000\r\n");
    EXPECT_EQ(ReadTabs(damaged).size(), 65536u);

    SaveTabs(ini, {"A", "B"});
    EXPECT_EQ(ini.Bytes(), "[Tabs]\r\nCount=2\r\nTab1=A\r\nTab2=B\r\n");

    lvtest::TempDir dir;
    TIniFile32 fresh(dir.File("New.lvd"));
    WriteNewDataFile(fresh);
    EXPECT_EQ(ReadTabs(TIniFile32(dir.File("New.lvd"))).at(9), "Page10");
}

TEST(DataFile, SlotWritesMovesAndErases) {
    lvtest::TempDir dir;
    const std::string path = dir.File("Disk.LVD");
    TIniFile32 ini(path);
    Bookmark b;
    b.title = "T";
    b.target = "http://t/";
    b.glyph = "507";
    WriteBookmark(ini, "P", 5, b);
    EXPECT_EQ(lvtest::ReadBytes(path), "\r\n[P]\r\n05N=T\r\n05U=http://t/\r\n05G=507\r\n");
    EXPECT_EQ(StoreButton(path, "p", "05"), b);
    EXPECT_EQ(b.ToBoxLines(),
              (std::vector<std::string>{"T", "http://t/", "", "", "", "", "", "507", ""}));
    EXPECT_EQ(Bookmark::FromBoxLines(b.ToBoxLines()), b);

    MoveButtons(ini, "P", "Q", "07", "05");
    EXPECT_EQ(ReadBookmark(ini, "Q", 7), b);
    EXPECT_NE(lvtest::ReadBytes(path).find("[Q]\r\n07U=http://t/\r\n07N=T\r\n07G=507\r\n"),
              std::string::npos);

    const Bookmark erased = EraseBookmark(ini, "P", 5);
    EXPECT_EQ(erased.title, "T");
    EXPECT_EQ(erased.target, "http://t/");
    EXPECT_TRUE(ReadBookmark(TIniFile32(path), "P", 5).Empty());
    EXPECT_EQ(SlotFromPrefix("B80"), 80);
    EXPECT_EQ(SlotFromPrefix("81"), 0);
    EXPECT_EQ(ButtonName(3), "B03");
}

TEST(DataFile, DefaultIconGConvertsAnOldImageValue) {
    auto ini = TIniFile32::FromBytes("unused", "[Default]\r\nIconG=Image44\r\n");
    ini.SetDeferSaves(true);
    EXPECT_EQ(ReadDefaultIconG(ini), 44);
    EXPECT_EQ(ini.ReadString("Default", "IconG", ""), "44");
    auto none = TIniFile32::FromBytes("unused", "");
    EXPECT_EQ(ReadDefaultIconG(none), 120);
}

} // namespace
