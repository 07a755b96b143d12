#include "editor_harness.h"

#include "mainwindow/PagePasswords.h"
#include "mainwindow/PasswordProtection.h"

#include <gtest/gtest.h>

namespace lvtest {
namespace {

const std::string kMarker = "\xb6";

TEST(PageProtection, ScramblesEveryTargetAndRestoresThemExactly) {
    const std::string urls[] = {"http://a.example/", "file:///home/me/Caf\xe9.txt",
                                "https://b.example/q?x=1&y=2"};
    EditorHarness h("01N=A\r\n01U=" + urls[0] + "\r\n05N=B\r\n05U=" + urls[1] +
                    "\r\n80N=C\r\n80U=" + urls[2] + "\r\n");
    lv::TForm1& form = h.Open();
    const std::string before = ReadBytes(h.path);

    h.dialogs.Queue(lv::PasswordResult{"k"});
    form.MPagePassClick();
    EXPECT_EQ(h.dialogs.Asked().back(), "Password: plain");
    EXPECT_TRUE(form.State().checks.pagePass);
    // With a one-character password the stored password is that character (its offset is 0).
    EXPECT_EQ(h.Key("Links", 1, 'U'), lv::Shift(urls[0]) + kMarker + "k");
    EXPECT_EQ(h.Key("Links", 5, 'U'), lv::Shift(urls[1]) + kMarker + "k");
    EXPECT_EQ(h.Key("Links", 80, 'U'), lv::Shift(urls[2]) + kMarker + "k");

    // Wrong password: nothing changes.
    h.dialogs.Queue(lv::PasswordResult{"x"});
    form.MPagePassClick();
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: Invalid Password!");
    EXPECT_TRUE(form.State().checks.pagePass);

    h.dialogs.Queue(lv::PasswordResult{"k"});
    form.MPagePassClick();
    EXPECT_FALSE(form.State().checks.pagePass);
    EXPECT_TRUE(form.State().PagePassBox.empty());
    EXPECT_EQ(ReadBytes(h.path), before);
}

TEST(PageProtection, ValuesThatWouldNotSurviveTheFileAreRefusedBeforeAnyChange) {
    // From position 200 on a letter moves by 100 or more: some byte of this address becomes
    // the marker or wraps into a control byte.
    std::string longUrl = "http://long.example/";
    while (longUrl.size() < 400) {
        longUrl += "abcdefghijklmnopqrstuvwxyz";
    }
    ASSERT_FALSE(lv::SafeEncrypt(longUrl, "k").has_value());
    EditorHarness h("01N=Short\r\n01U=http://short.example/\r\n02N=Long\r\n02U=" + longUrl +
                    "\r\n");
    lv::TForm1& form = h.Open();
    const std::string before = ReadBytes(h.path);
    h.dialogs.Queue(lv::PasswordResult{"k"});
    form.MPagePassClick();
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: " + lv::CannotProtectText("Long"));
    EXPECT_EQ(ReadBytes(h.path), before);
    EXPECT_TRUE(form.State().PagePassBox.empty());

    // Accented letters late in a password wrap past 255 into control bytes: refused too.
    const std::string accented = "p" + std::string(49, '\xe9');
    ASSERT_FALSE(lv::StorableValue("x" + lv::Shift(accented)));
    h.dialogs.Queue(lv::PasswordResult{accented});
    form.MProgPassClick();
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: " + std::string(lv::kCannotUsePassword));
    EXPECT_EQ(ReadBytes(h.path), before);
}

TEST(PageProtection, SafeValuesKeepTheirStoredForm) {
    // Ordinary addresses and accented passwords that stay clear of the line bytes are stored
    // exactly as before, so files stay interchangeable.
    const std::string target = "http://caf\xe9.example/men\xfc";
    const std::string password = "s\xe9same";
    ASSERT_EQ(lv::SafeEncrypt(target, password), lv::Encrypt(target, password));
    EXPECT_EQ(lv::Decrypt(lv::Encrypt(target, password)), target);
    EXPECT_EQ(lv::StoredPassword(lv::Encrypt(target, password)), password);
    EXPECT_FALSE(lv::StorableValue("ab\r"));
    EXPECT_FALSE(lv::StorableValue(" ab"));
    EXPECT_FALSE(lv::StorableValue(std::string("a\0b", 3)));
    EXPECT_TRUE(lv::StorableValue("a b"));
}

TEST(PageProtection, TheSwitchGateAsksAndTheCheckMarkFollowsThePageOnScreen) {
    EditorHarness h(FilledSlots(1, 1));
    lv::TForm1& form = h.Open();
    form.SelectTab(1);
    h.dialogs.Queue(lv::PasswordResult{"pw"});
    form.MPagePassClick();
    form.SelectTab(0);
    EXPECT_FALSE(form.State().checks.pagePass);

    h.dialogs.Queue(lv::PasswordResult{"nope"});
    form.SelectTab(1);
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: Invalid Password!");
    EXPECT_EQ(form.State().TabSet1.selected, 0);
    EXPECT_FALSE(form.State().checks.pagePass);

    h.dialogs.Queue(lv::PasswordResult{"pw"});
    form.SelectTab(1);
    EXPECT_EQ(form.State().TabSet1.selected, 1);
    EXPECT_TRUE(form.State().checks.pagePass);
}

TEST(PagePasswordList, TwentyLongEntriesSurviveCloseAndRestart) {
    EditorHarness h;
    lv::TForm1& form = h.Open();
    std::vector<std::string> box;
    for (int i = 0; i < 20; ++i) {
        std::string entry = "Page" + std::to_string(i) + "-";
        while (entry.size() < 30) {
            entry += static_cast<char>('a' + (entry.size() + i) % 26);
        }
        box.push_back(entry);
    }
    form.State().PagePassBox = box;
    h.Close();
    EXPECT_EQ(h.Open().State().PagePassBox, box);
}

TEST(PagePasswordList, RenameMovesAndDeleteRemovesTheEntry) {
    std::vector<std::string> box = {"Newsabc", "Workxyz", "Work+q"};
    const std::vector<std::string> pages = {"News", "Work", "Work+"};
    lv::PagePassMove(box, "News", "Daily", pages);
    EXPECT_EQ(box, (std::vector<std::string>{"Workxyz", "Work+q", "Dailyabc"}));
    lv::PagePassMove(box, "Work", "Work", pages);
    EXPECT_EQ(box, (std::vector<std::string>{"Work+q", "Dailyabc"}));
    lv::PagePassMove(box, "Missing", "Other", pages);
    EXPECT_EQ(box.size(), 2u);
}

TEST(FileProtection, ProtectLockOnNextStartAndRefuseTwice) {
    EditorHarness h(FilledSlots(1, 1));
    lv::TForm1& form = h.Open();
    h.dialogs.Queue(lv::PasswordResult{"secret"});
    form.MProgPassClick();
    EXPECT_EQ(h.dialogs.Asked().back(), "Password: plain");
    EXPECT_EQ(lv::ReadFromIniSLVD(h.path, "Tabs", "\xDF\x5F\xB6\x5F\x5F", ""), lv::Shift("secret"));
    EXPECT_EQ(lv::ReadFromIniSLVD(h.path, "Program", "Version", ""), "3.x");
    EXPECT_FALSE(form.State().locked);

    form.MProgPassClick();
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: File already Protected!");

    lv::TForm1& again = h.Open();
    EXPECT_TRUE(again.State().locked);
    h.dialogs.Queue(lv::PasswordResult{"secret"});
    h.dialogs.Queue(lv::MsgResult::No);
    again.ProgPassButtonClick();
    EXPECT_FALSE(again.State().locked);
    EXPECT_EQ(h.Button(1).caption, "Site 1");
}

} // namespace
} // namespace lvtest
