#include "store/Settings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace lv;

TEST(Settings, MissingFileGivesTheDefaults) {
    lvtest::TempDir dir;
    const TIniFile32 ini(dir.File("LVD.INI"));
    const StartupSettings s = ReadStartupSettings(ini, 768);
    EXPECT_EQ(s.width, 620);
    EXPECT_EQ(s.top, 50);
    EXPECT_EQ(s.left, 100);
    EXPECT_EQ(s.tray, "No");
    EXPECT_EQ(s.columnCount, 4);
    EXPECT_EQ(s.dataFileName, "");
    EXPECT_EQ(s.showPages, "Multiple");
    EXPECT_EQ(s.buttonFontName, "Arial");
    EXPECT_EQ(s.buttonFontSize, 9);
    EXPECT_EQ(s.tabUnselectedColor, 0xAB5454);
    EXPECT_EQ(s.tabSelectedColor, 0xFF8080);
    EXPECT_EQ(s.browserSelected, 1);
    EXPECT_TRUE(s.browsers.empty());
    EXPECT_FALSE(s.autoRun);
    EXPECT_TRUE(s.confirmDialog && s.confirmWebIcon && s.showIcons && s.showNotes && s.showUrl &&
                s.webIconSearch && s.autoBackup && s.bannerAds);
    EXPECT_EQ(ReadStartupSettings(ini, 480).top, 2);
    EXPECT_EQ(ReadStartupSettings(ini, 480).left, 2);
    EXPECT_EQ(settings::DefaultHotKey(2), "F10");
    EXPECT_EQ(settings::DefaultHotKeyShift(2), "Ctrl");
    EXPECT_EQ(settings::DefaultHotKey(0), "");
    EXPECT_FALSE(std::filesystem::exists(dir.File("LVD.INI")));
}

TEST(Settings, StoredValuesAndTheSelectedBrowser) {
    auto ini = TIniFile32::FromBytes(
        "unused",
        "[Button]\r\nUrl=Off\r\nNotes=On\r\n[Column]\r\nCount=9\r\n[AutoRun]\r\n"
        "Load=Yes\r\n[Browser]\r\nSelected=2\r\nCount=2\r\n1=/usr/bin/a\r\n2=/usr/bin/b\r\n");
    StartupSettings s = ReadStartupSettings(ini, 1080);
    EXPECT_FALSE(s.showUrl);
    EXPECT_TRUE(s.showNotes);
    EXPECT_TRUE(s.autoRun);
    EXPECT_EQ(s.columnCount, 4);
    EXPECT_EQ(SelectedBrowserPath(s), "/usr/bin/b");
    s.browserSelected = 3;
    EXPECT_EQ(SelectedBrowserPath(s), "");
}

TEST(Settings, FirstStartKeys) {
    EXPECT_TRUE(IsFirstStart(""));
    EXPECT_TRUE(IsFirstStart("/home/u/Disk"));
    EXPECT_FALSE(IsFirstStart("/home/u/Disk.LVD"));

    lvtest::TempDir dir;
    TIniFile32 ini(dir.File("LVD.INI"));
    WriteFirstStartKeys(ini, "/p/Disk.LVD", 400);
    EXPECT_EQ(lvtest::ReadBytes(dir.File("LVD.INI")),
              "\r\n[File]\r\nName=/p/Disk.LVD\r\n\r\n[Window]\r\nState=Norm\r\n\r\n[Location]\r\n"
              "ShowHint=Yes\r\nTray=No\r\nTop=2\r\nLeft=2\r\nWidth=620\r\n");
}

TEST(Settings, PreviousGenerationFilesAreCopiedOnlyWhenTheNewOnesAreMissing) {
    lvtest::TempDir dir;
    const std::string d = dir.Path().string() + "/";
    lvtest::WriteBytes(dir.File("OB.INI"), "old settings");
    lvtest::WriteBytes(dir.File("ob.use"), "old user");
    lvtest::WriteBytes(dir.File("LVD.USE"), "new user");
    MigratePreviousSettings(d);
    EXPECT_EQ(lvtest::ReadBytes(dir.File("lvd.ini")), "old settings");
    EXPECT_EQ(lvtest::ReadBytes(dir.File("LVD.USE")), "new user");
    EXPECT_FALSE(std::filesystem::exists(dir.File("lvd.use")));
    EXPECT_EQ(SettingsFilePath(d, "LVD"), d + "lvd.ini");
    EXPECT_EQ(SettingsFilePath(d, "Alt"), d + "Alt.INI");
    EXPECT_EQ(DefaultDataFilePath(d), d + "Disk.LVD");
    lvtest::WriteBytes(dir.File("disk.lvd"), "");
    EXPECT_EQ(DefaultDataFilePath(d), d + "disk.lvd");
}

TEST(Settings, CustomColoursGoToTheDialogAndBack) {
    auto ini = TIniFile32::FromBytes("unused", "[Colors]\r\nColorB=0000FF\r\n");
    ini.SetDeferSaves(true);
    auto entries = ReadCustomColors(ini);
    EXPECT_EQ(entries[0], "ColorA=FFFFFF");
    EXPECT_EQ(entries[1], "ColorB=0000FF");
    EXPECT_EQ(entries[15], "ColorP=FFFFFF");
    EXPECT_EQ(CustomColorValue(entries[1]), 0x0000FF);
    EXPECT_EQ(CustomColorValue("ColorC=xyz"), 0xFFFFFF);

    entries[2] = CustomColorEntry('C', 0xAB5454);
    EXPECT_EQ(entries[2], "ColorC=AB5454");
    WriteCustomColors(ini, entries);
    EXPECT_EQ(ini.ReadString("Colors", "ColorC", ""), "AB5454");
    EXPECT_EQ(ini.ReadString("Colors", "ColorP", ""), "FFFFFF");
}

} // namespace
