#include "Harness.h"

#include "mainwindow/PagePasswords.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"

#include <gtest/gtest.h>

namespace lvtest {
namespace {

TEST(Scrambling, ShiftsByHalfThePositionAndBack) {
    EXPECT_EQ(lv::Shift("abc"), "acd");
    const std::string high = "Caf\xe9\xff\x01 page";
    EXPECT_EQ(lv::Unshift(lv::Shift(high)), high);
    EXPECT_EQ(lv::Decrypt(lv::Shift("http://a/") + "\xb6" + "x"), "http://a/");
}

TEST(Scrambling, PagePasswordListSurvivesItsStoredForm) {
    std::vector<std::string> box;
    for (int i = 0; i < 20; ++i) {
        box.push_back("Page " + std::to_string(i) + std::string(24, static_cast<char>('a' + i)));
    }
    EXPECT_EQ(lv::ReadPagePass(lv::PagePassValue(box)), box);
    // An entry belongs to the longest page name that begins it; without a page AB, "ABpw2" is
    // a later entry of A and decides its password.
    EXPECT_EQ(lv::FindPagePass({"Apw", "ABpw2"}, "A", {"A", "AB"}), "pw");
    EXPECT_EQ(lv::FindPagePass({"Apw", "ABpw2"}, "AB", {"A", "AB"}), "pw2");
    EXPECT_EQ(lv::FindPagePass({"Apw", "ABpw2"}, "A", {"A"}), "Bpw2");
    EXPECT_EQ(lv::FindPagePass({"ABpw2"}, "A", {"A", "AB"}), std::nullopt);
    EXPECT_EQ(lv::FindPagePass({"Apw"}, "B", {"A", "B"}), std::nullopt);
}

// A file protected with the password "key": the window is locked until it is given.
struct ProtectedFile : MainWindowHarness {
    std::string path = dir.File("locked.lvd");
    ProtectedFile() {
        WriteBytes(path, "\r\n[Tabs]\r\nCount=2\r\n\xDF\x5F\xB6\x5F\x5F=" + lv::Shift("key") +
                             "\r\n\r\n[Program]\r\nVersion=3.x\r\n\r\n[Page1]\r\n01N=Bank\r\n"
                             "01U=http://bank.example/\r\n");
    }
};

TEST(Protection, LockedFileShowsNothingUntilThePasswordIsGiven) {
    ProtectedFile h;
    lv::TForm1& form = h.Start({h.path});
    EXPECT_TRUE(form.State().locked);
    EXPECT_EQ(h.Button(1).caption, "");
    EXPECT_EQ(h.Button(1).hint, "");
    EXPECT_FALSE(h.Button(1).enabled);

    h.dialogs.Queue(lv::PasswordResult{"nope"});
    form.ProgPassButtonClick();
    EXPECT_TRUE(form.State().locked);
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: Invalid Password!");

    h.dialogs.Queue(lv::PasswordResult{"key"});
    h.dialogs.Queue(lv::MsgResult::No);
    form.ProgPassButtonClick();
    EXPECT_FALSE(form.State().locked);
    EXPECT_EQ(h.Button(1).caption, "Bank");
    EXPECT_TRUE(h.Button(1).enabled);
    EXPECT_EQ(lv::ReadFromIniSLVD(h.path, "Program", "Version", ""), "3.x");
    EXPECT_EQ(h.dialogs.Messages().back().helpContext, 48);
}

TEST(Protection, RemovingTheFilePasswordClearsBothMarks) {
    ProtectedFile h;
    lv::TForm1& form = h.Start({h.path});
    h.dialogs.Queue(lv::PasswordResult{"key"});
    h.dialogs.Queue(lv::MsgResult::Yes);
    form.ProgPassButtonClick();
    lv::TIniFile32 ini(h.path);
    EXPECT_EQ(lv::ReadFileProtection(ini), "");
    EXPECT_FALSE(ini.FindSection("Program").has_value());
    // The next start is not locked.
    EXPECT_FALSE(h.Start({h.path}).State().locked);
}

TEST(Undo, RestoresTheBackupAndReloadsThePages) {
    MainWindowHarness h;
    const std::string path = h.dir.File("undo.lvd");
    const std::string before = "\r\n[Tabs]\r\nCount=2\r\nTab1=Old\r\n\r\n[Old]\r\n01N=kept\r\n"
                               "01U=http://kept/\r\n";
    WriteBytes(h.dir.File("undo.bak"), before);
    WriteBytes(path, "\r\n[Tabs]\r\nCount=4\r\nTab1=New\r\n");
    lv::TForm1& form = h.Start({path});
    form.SelectTab(3);
    form.MUndoClick();
    EXPECT_EQ(form.State().TabSet1.names, (std::vector<std::string>{"Old", "Page2"}));
    EXPECT_EQ(form.State().TabSet1.selected, 0);
    EXPECT_EQ(h.Button(1).caption, "kept");
    EXPECT_EQ(ReadBytes(path), before);

    // Undo follows the backup switch.
    form.MBackupClick();
    EXPECT_FALSE(form.UndoEnabled());
    EXPECT_EQ(lv::ReadFromIniS(h.dir.File("LVD.INI"), "Auto", "Backup", ""), "Off");
}

} // namespace
} // namespace lvtest
