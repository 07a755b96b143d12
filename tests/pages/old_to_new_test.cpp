#include "PagesFixture.h"
#include "pages/OldToNew.h"
#include "store/DataFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace lv;

TEST(OldToNew, ConvertsPagesOf40ButtonsIntoSections) {
    lvtest::TempDir dir;
    const std::string old = dir.File("Mine.OBK");
    std::filesystem::copy_file(lvtest::Fixture("pages-old-three-pages.obk"), old);
    const std::string oldBytes = lvtest::ReadBytes(old);

    const OldToNewResult result = OldToNew(old);
    EXPECT_EQ(result.newFile, dir.File("Mine.LVD"));
    EXPECT_EQ(result.pages, (std::vector<std::string>{"Page1", "Page1+", "Caf\xe9"}));
    EXPECT_EQ(lvtest::ReadBytes(old), oldBytes);

    const TIniFile32 ini(result.newFile);
    EXPECT_EQ(ReadTabs(ini), result.pages);
    EXPECT_EQ(ReadBookmark(ini, "Page1", 1).target, "http://first/");
    EXPECT_EQ(ReadBookmark(ini, "Page1", 2).title, ""); // SpeedButton keys are not this prefix
    Bookmark button45;
    button45.title = "Forty-five";
    button45.target = "http://45/";
    button45.colour = "255";
    button45.modified = "12/31/99";
    button45.notes = "note|line~two";
    button45.extra = "extra";
    EXPECT_EQ(ReadBookmark(ini, "Page1+", 5), button45);
    EXPECT_EQ(ReadBookmark(ini, "Caf\xe9", 40).local, "Yes");
    EXPECT_EQ(ini.ReadString("Page1+", "05L", "none"), "none"); // empty values are not written
}

TEST(OldToNew, NamesDifferingOnlyInCaseOrTakenByTheProgramGetSectionsOfTheirOwn) {
    lvtest::TempDir dir;
    const std::string old = dir.File("Old.obk");
    lvtest::WriteBytes(
        old, lvtest::Lines({"[Pages]", "Count=3", "[Tabs]", "PageTab1=Work", "PageTab2=WORK",
                            "PageTab3=MRU", "[Names]", "SpeedButton1=first", "SpeedButton41=second",
                            "SpeedButton81=third", "[Parameters]", "SpeedButton1=http://1/",
                            "SpeedButton41=http://41/", "SpeedButton81=http://81/"}));
    const OldToNewResult result = OldToNew(old);
    EXPECT_EQ(result.pages, (std::vector<std::string>{"Work", "WORK+", "MRU+"}));
    const TIniFile32 ini(result.newFile);
    EXPECT_EQ(ReadTabs(ini), result.pages);
    EXPECT_EQ(ReadBookmark(ini, "Work", 1).title, "first");
    EXPECT_EQ(ReadBookmark(ini, "WORK+", 1).title, "second");
    EXPECT_EQ(ReadBookmark(ini, "MRU+", 1).title, "third");
}

TEST(OldToNew, WithoutProgramInfoReadsSpeedButtonKeysOverAnExistingFile) {
    lvtest::TempDir dir;
    const std::string old = dir.File("Old.obk");
    lvtest::WriteBytes(old, lvtest::Lines({"[Pages]", "Count=1", "[Tabs]", "PageTab1=Home",
                                           "[Names]", "SpeedButton12=twelve", "SB12=not read",
                                           "[Parameters]", "SpeedButton12=http://12/"}));
    // An earlier conversion, spelt in lower case: reused, its own keys stay, its recent list goes.
    lvtest::WriteBytes(
        dir.File("Old.lvd"),
        lvtest::Lines({"[Tabs]", "Count=2", "Tab1=Home", "Tab2=Kept", "[Home]", "12N=older",
                       "30N=mine", "30U=http://mine/", "[MRU]", "Count=1", "1=older  |Home::12"}));
    const OldToNewResult result = OldToNew(old);
    EXPECT_EQ(result.newFile, dir.File("Old.lvd"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("Old.LVD")));

    const TIniFile32 ini(result.newFile);
    EXPECT_EQ(ini.ReadString("Tabs", "Count", ""), "1");
    EXPECT_EQ(ini.ReadString("Tabs", "Tab2", ""), "Kept");
    EXPECT_EQ(ReadBookmark(ini, "Home", 12).title, "twelve");
    EXPECT_EQ(ReadBookmark(ini, "Home", 12).target, "http://12/");
    EXPECT_EQ(ReadBookmark(ini, "Home", 30).title, "mine");
    EXPECT_FALSE(ini.FindSection("MRU"));
}

TEST(OldToNew, AnExistingConversionIsOverwrittenOnlyOnYes) {
    lvtest::TempDir dir;
    const std::string old = dir.File("Old.OBK");
    lvtest::WriteBytes(old, lvtest::Lines({"[Pages]", "Count=1", "[Tabs]", "PageTab1=Home"}));
    const std::string converted = dir.File("Old.LVD");
    lvtest::WriteBytes(converted, "[Tabs]\r\nCount=1\r\nTab1=Mine\r\n");

    lvtest::ScriptedDialogs dialogs;
    dialogs.Queue(MsgResult::No);
    EXPECT_EQ(OpenPreviousFormat(dialogs, old), converted);
    EXPECT_EQ(ReadTabs(TIniFile32(converted)), std::vector<std::string>{"Mine"});

    dialogs.Queue(MsgResult::Yes);
    EXPECT_EQ(OpenPreviousFormat(dialogs, old), converted);
    EXPECT_EQ(ReadTabs(TIniFile32(converted)), std::vector<std::string>{"Home"});
    EXPECT_EQ(dialogs.Asked().front(),
              "Message: Converted file already exists, do you want to overwrite it?");
}

} // namespace
