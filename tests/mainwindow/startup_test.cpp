#include "Harness.h"

#include "mainwindow/StartUp.h"
#include "store/TIniFile32.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace lvtest {
namespace {

TEST(StartUp, EmptyProgramDirGivesTenPagesAndTheFirstStartKeys) {
    MainWindowHarness h;
    lv::TForm1& form = h.Start();
    const auto& state = form.State();

    std::vector<std::string> expected;
    for (int i = 1; i <= 10; ++i) {
        expected.push_back("Page" + std::to_string(i));
    }
    EXPECT_EQ(state.TabSet1.names, expected);
    EXPECT_EQ(state.TabSet1.selected, 0);
    EXPECT_EQ(state.caption, "Linkvane  [ Disk ]     Page 1 of 10   12/10/2026");
    EXPECT_EQ(state.ColumnCount, 4);
    EXPECT_EQ(state.ClientWidth(), 612);
    ASSERT_EQ(state.buttons.size(), 80u);
    EXPECT_EQ(state.buttons[79].name, "B80");
    EXPECT_EQ(state.DataFileName, h.ProgramDir() + "Disk.LVD");
    EXPECT_EQ(state.place.left, 100);
    EXPECT_EQ(state.place.top, 50);
    EXPECT_EQ(state.place.width, 620);
    EXPECT_TRUE(state.place.visible);

    lv::TIniFile32 settings(h.dir.File("LVD.INI"));
    EXPECT_EQ(settings.ReadString("File", "Name", ""), state.DataFileName);
    EXPECT_EQ(settings.ReadString("Window", "State", ""), "Norm");
    EXPECT_EQ(settings.ReadString("Location", "ShowHint", ""), "Yes");
    EXPECT_EQ(settings.ReadString("Location", "Tray", ""), "No");
    EXPECT_EQ(settings.ReadString("Location", "Width", ""), "620");
    // The first page load saves the DataFile, even with nothing to convert.
    EXPECT_TRUE(std::filesystem::exists(state.DataFileName));
    EXPECT_TRUE(h.dialogs.Asked().empty());
}

TEST(StartUp, CommandLineForms) {
    struct Case {
        std::vector<std::string> args;
        std::string stem;
        bool newUser;
        std::vector<std::string> dataFiles;
    };
    const Case cases[] = {
        {{}, "LVD", false, {}},
        {{"/Alt"}, "/Alt", false, {}},
        {{"Alt"}, "Alt", false, {}},
        {{"/Alt", "/home/u/Work.lvd"}, "/Alt", false, {"/home/u/Work.lvd"}},
        {{"/home/u/bm.d/Work.lvd"}, "LVD", false, {"/home/u/bm.d/Work.lvd"}},
        {{"a.lvd", "b.lvd"}, "LVD", false, {"a.lvd", "b.lvd"}},
        {{"/_/opt/linkvane"}, "LVD", true, {}},
        // A directory with a dot does not give the stem an extension.
        {{"/home/u.x/Alt"}, "/home/u.x/Alt", false, {}},
    };
    for (const auto& c : cases) {
        const lv::CommandLine line = lv::ParseCommandLine(c.args);
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
        EXPECT_EQ(line.stem, c.stem);
        EXPECT_EQ(line.newUser, c.newUser);
        EXPECT_EQ(line.dataFiles, c.dataFiles);
    }
}

TEST(StartUp, StemAndDataFileArgumentsAreRememberedInTheirOwnSettings) {
    MainWindowHarness h;
    std::filesystem::create_directory(h.dir.Path() / "bm.d");
    const std::string work = h.dir.File("bm.d/Work.lvd");
    lv::TForm1& form = h.Start({"/Alt", work});
    EXPECT_EQ(form.State().DataFileName, work);
    EXPECT_EQ(form.State().caption.rfind("Linkvane /Alt [ Work ]  ", 0), 0u)
        << form.State().caption;
    EXPECT_EQ(lv::ReadFromIniS(h.dir.File("Alt.INI"), "File", "Name", ""), work);
    EXPECT_FALSE(std::filesystem::exists(h.dir.File("LVD.INI")));

    // The next start without arguments opens that file again; a bare name lands in the
    // program directory.
    EXPECT_EQ(h.Start({"/Alt"}).State().DataFileName, work);
    EXPECT_EQ(h.Start({"Other.lvd"}).State().DataFileName, h.ProgramDir() + "Other.lvd");
    // A file name in UTF-8 stays the name on disk; the caption shows it as text.
    const std::string cafe = h.dir.File("Caf\xc3\xa9.lvd");
    lv::TForm1& opened = h.Start({cafe});
    EXPECT_EQ(opened.State().DataFileName, cafe);
    EXPECT_TRUE(std::filesystem::exists(cafe));
    EXPECT_NE(opened.State().caption.find("[ Caf\xe9 ]"), std::string::npos)
        << opened.State().caption;
}

TEST(StartUp, FirstStartAfterInstallationWelcomesTheUser) {
    MainWindowHarness h;
    h.dialogs.Queue(0);
    h.Start({"/_" + h.dir.Path().string()});
    ASSERT_EQ(h.dialogs.UserDlgs().size(), 1u);
    const auto& welcome = h.dialogs.UserDlgs()[0];
    EXPECT_EQ(welcome.title, "Welcome to Linkvane");
    EXPECT_EQ(welcome.buttons, std::vector<std::string>{"Begin"});
    ASSERT_EQ(welcome.message.size(), 9u);
    EXPECT_EQ(welcome.message[0], "Click on any blank button to add bookmarks to Linkvane.");
    EXPECT_EQ(welcome.message[4],
              "Click your Right mouse button on any Page Tab or Button for Options.");
    // Then how to add a bookmark on Linux, and where import will be.
    EXPECT_EQ(welcome.message[5], "");
    EXPECT_NE(welcome.message[6].find("right-click a button"), std::string::npos);
    EXPECT_NE(welcome.message[6].find("--remote-debugging-port=9222"), std::string::npos);
    EXPECT_NE(welcome.message[8].find("File menu"), std::string::npos);
}

TEST(StartUp, PreviousGenerationSettingsAreCarriedOver) {
    MainWindowHarness h;
    WriteBytes(h.dir.Path() / "ob.ini", "\r\n[Column]\r\nCount=2\r\n");
    EXPECT_EQ(h.Start().State().ColumnCount, 2);
    EXPECT_EQ(h.form->State().buttons.size(), 40u);
}

TEST(StartUp, SmallScreenPutsTheWindowInTheCorner) {
    MainWindowHarness h;
    h.screen = lv::FixedScreen(640, 480);
    const auto& place = h.Start().State().place;
    EXPECT_EQ(place.left, 2);
    EXPECT_EQ(place.top, 2);
}

// Sizes and places from a damaged or hostile SettingsFile: the window always fits the screen.
TEST(StartUp, SettingsThatSizeTheWindowAreFittedToTheScreen) {
    struct Case {
        const char* location;
        const char* fonts;
        int width, left, top, buttonFont, tabFont;
    };
    const Case cases[] = {
        {"Width=2147483647\r\nLeft=2147483647\r\nTop=2147483647", "FontSize=2147483647", 1024, 0,
         299, 72, 72},
        {"Width=-2147483648\r\nLeft=-2147483648\r\nTop=-1", "FontSize=-9", 620, 0, 0, 9, 9},
        {"Width=0\r\nLeft=900\r\nTop=700", "FontSize=0", 620, 404, 299, 9, 9},
        {"Width=3\r\nLeft=5\r\nTop=6", "FontSize=1", 120, 5, 6, 1, 1},
        {"Width=700\r\nLeft=300\r\nTop=40", "FontSize=14", 700, 300, 40, 14, 14},
    };
    for (const Case& c : cases) {
        MainWindowHarness h;
        h.screen = lv::FixedScreen(1024, 768);
        WriteBytes(h.dir.Path() / "LVD.INI", std::string("[File]\r\nName=") +
                                                 h.dir.File("Disk.LVD") + "\r\n[Location]\r\n" +
                                                 c.location + "\r\n[Notebook]\r\n" + c.fonts +
                                                 "\r\n[Tabs]\r\n" + c.fonts + "\r\n");
        const auto& state = h.Start().State();
        SCOPED_TRACE(c.location);
        EXPECT_EQ(state.place.width, c.width);
        EXPECT_EQ(state.place.left, c.left);
        EXPECT_EQ(state.place.top, c.top);
        EXPECT_EQ(state.ButtonFontSize, c.buttonFont);
        EXPECT_EQ(state.TabFontSize, c.tabFont);
        EXPECT_LE(state.place.left + state.place.width, 1024);
        EXPECT_LE(state.place.top + state.place.height, 768);
        for (const lv::BookmarkButton& button : state.buttons) {
            ASSERT_GT(button.width, 0);
            ASSERT_LE(button.left + button.width, 1024);
        }
    }
}

TEST(StartUp, CloseSavesThePlaceOfTheWindow) {
    MainWindowHarness h;
    lv::TForm1& form = h.Start();
    lv::WindowPlace moved = form.State().place;
    moved.left = 300;
    moved.top = 40;
    moved.width = 700;
    moved.minimized = true;
    EXPECT_TRUE(form.FormCloseQuery(moved));
    lv::TIniFile32 settings(h.dir.File("LVD.INI"));
    EXPECT_EQ(settings.ReadInteger("Location", "Left", 0), 300);
    EXPECT_EQ(settings.ReadInteger("Location", "Top", 0), 40);
    EXPECT_EQ(settings.ReadInteger("Location", "Width", 0), 700);
    EXPECT_EQ(settings.ReadString("Window", "State", ""), "Min");
}

TEST(StartUp, RemovesTemporaryFilesThatACrashedSaveLeftBesideOurFiles) {
    MainWindowHarness h;
    std::filesystem::create_directory(h.dir.File("data"));
    const std::string data = h.dir.File("data/work.lvd");
    WriteBytes(data, "[Tabs]\r\nCount=1\r\nTab1=Links\r\n");
    const pid_t dead = fork();
    if (dead == 0) {
        _exit(0);
    }
    waitpid(dead, nullptr, 0);
    const std::string suffix = ".~lv" + std::to_string(dead) + "-4";
    for (const std::string& name : {"LVD.INI" + suffix, "data/work.lvd" + suffix,
                                    "data/work.bak" + suffix, std::string("data/notes.txt")}) {
        WriteBytes(h.dir.File(name), "partial");
    }
    h.Start({data});
    EXPECT_FALSE(std::filesystem::exists(h.dir.File("LVD.INI" + suffix)));
    EXPECT_FALSE(std::filesystem::exists(h.dir.File("data/work.lvd" + suffix)));
    EXPECT_FALSE(std::filesystem::exists(h.dir.File("data/work.bak" + suffix)));
    EXPECT_TRUE(std::filesystem::exists(h.dir.File("data/notes.txt")));
}

} // namespace
} // namespace lvtest
