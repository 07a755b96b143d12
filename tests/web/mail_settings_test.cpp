// The mail server settings in the UserFile and the address book of the e-mail dialog, without a
// server.
#include "platform/PollEventLoop.h"
#include "store/TIniFile32.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "web/MailSettings.h"
#include "web/TEForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST(MailSettings, PasswordIsStoredOnlyWhenRememberedAndThenScrambled) {
    lvtest::TempDir dir;
    const std::string file = dir.File("LVD.USE");
    lvtest::WriteBytes(file, "[User]\r\nMailS=mail.test\r\n");
    fs::permissions(file, fs::perms(0644));

    lv::MailSettings settings;
    settings.port = "2525";
    settings.security = lv::MailSecurity::StartTls;
    settings.userName = "me";
    settings.password = "p\xe4ss=word;1";
    lv::WriteMailSettings(file, settings);
    EXPECT_EQ(lvtest::ReadBytes(file), "[User]\r\nMailS=mail.test\r\nMailPort=2525\r\n"
                                       "MailSecurity=STARTTLS\r\nMailUser=me\r\n");

    settings.rememberPassword = true;
    lv::WriteMailSettings(file, settings);
    const std::string stored = lv::TIniFile32(file).ReadString("User", "MailPass", "");
    EXPECT_EQ(stored.find("word"), std::string::npos) << stored;
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    const lv::MailSettings read = lv::ReadMailSettings(file);
    EXPECT_EQ(read.port, "2525");
    EXPECT_EQ(read.security, lv::MailSecurity::StartTls);
    EXPECT_EQ(read.userName, "me");
    EXPECT_TRUE(read.rememberPassword);
    EXPECT_EQ(read.password, settings.password);

    // Unticking "Remember password" takes the stored one away.
    settings.rememberPassword = false;
    lv::WriteMailSettings(file, settings);
    EXPECT_EQ(lvtest::ReadBytes(file).find("MailPass"), std::string::npos);
    EXPECT_EQ(lv::UnscramblePassword("not scrambled"), "");
    EXPECT_EQ(lv::UnscramblePassword("x1:zz"), "");
}

TEST(MailSettings, PortFollowsTheSecurityUnlessGiven) {
    const struct {
        lv::MailSecurity security;
        const char* port;
        const char* expected;
        lv::SmtpSecurity client;
    } cases[] = {{lv::MailSecurity::None, "", "25", lv::SmtpSecurity::Plain},
                 {lv::MailSecurity::StartTls, "", "587", lv::SmtpSecurity::StartTlsRequired},
                 {lv::MailSecurity::Tls, " ", "465", lv::SmtpSecurity::ImplicitTls},
                 {lv::MailSecurity::Tls, "4650", "4650", lv::SmtpSecurity::ImplicitTls}};
    for (const auto& c : cases) {
        lv::MailSettings settings;
        settings.security = c.security;
        settings.port = c.port;
        EXPECT_EQ(lv::EffectivePort(settings), c.expected);
        EXPECT_EQ(lv::ClientSecurity(c.security), c.client);
        EXPECT_EQ(lv::SecurityFromName(lv::SecurityName(c.security)), c.security);
    }
}

class AddressBook : public ::testing::Test {
protected:
    void SetUp() override {
        lvtest::WriteBytes(dir.File("LVD.USE"),
                           "[Address]\r\nCount=2\r\n1=zed@z.test\r\n2=amy@a.test\r\n"
                           "[CommentFont]\r\nName=Courier\r\nSize=12\r\n");
        form.programDir = dir.Path().string() + "/";
        form.onBeep = [this] { ++beeps; };
        form.FormShow();
    }
    std::string Address(const std::string& file) const { return lvtest::ReadBytes(dir.File(file)); }

    lvtest::TempDir dir;
    lvtest::ScriptedDialogs dialogs;
    lv::PollEventLoop loop;
    lv::TEForm form{loop, dialogs};
    int beeps = 0;
};

TEST_F(AddressBook, ShowingReadsTheListSortedAndTheCommentFont) {
    EXPECT_EQ(form.caption, " E-Mail Options - [ LVD ]");
    EXPECT_EQ(form.addresses, (std::vector<std::string>{"amy@a.test", "zed@z.test"}));
    EXPECT_EQ(form.fontName, "Courier");
    EXPECT_EQ(form.fontSize, 12);
    EXPECT_EQ(form.Edit2, "Bookmarks");
}

TEST_F(AddressBook, InsertAndDeleteKeysRewriteTheWholeList) {
    form.Edit1 = "bob@b.test";
    form.Edit1KeyDown(lv::TEForm::EditKey::Insert);
    form.Edit1KeyDown(lv::TEForm::EditKey::Insert); // already there: not twice
    EXPECT_EQ(lv::TIniFile32(dir.File("LVD.USE")).ReadInteger("Address", "Count", 0), 3);
    EXPECT_EQ(lv::TIniFile32(dir.File("LVD.USE")).ReadString("Address", "2", ""), "bob@b.test");

    form.Edit1 = "amy@a.test";
    form.Edit1KeyDown(lv::TEForm::EditKey::Delete);
    EXPECT_EQ(beeps, 3);
    const std::string bytes = Address("LVD.USE");
    EXPECT_NE(bytes.find("[Address]\r\nCount=2\r\n1=bob@b.test\r\n2=zed@z.test\r\n"),
              std::string::npos)
        << bytes;
    EXPECT_EQ(bytes.find("amy"), std::string::npos);
    EXPECT_NE(bytes.find("Name=Courier"), std::string::npos); // the rest of the file stays
}

TEST_F(AddressBook, LoadedGroupFileBecomesTheAddressFileForListAndFont) {
    lvtest::WriteBytes(dir.File("Friends.use"), "[Address]\r\nCount=1\r\n1=pal@p.test\r\n");
    dialogs.Queue(lv::OpenFileResult{true, dir.File("Friends.use")});
    form.EGroupClick();
    EXPECT_EQ(dialogs.Asked().back(), "OpenFile: Select an E-Mail Group");
    EXPECT_EQ(form.caption, " E-Mail Options - [ Friends ]");
    EXPECT_EQ(form.addresses, (std::vector<std::string>{"pal@p.test"}));

    dialogs.Queue(lv::FontResult{true, "Times", 14, 0});
    form.Memo1MouseDown(true);
    EXPECT_EQ(lv::TIniFile32(dir.File("Friends.use")).ReadString("CommentFont", "Name", ""),
              "Times");
    EXPECT_EQ(lv::TIniFile32(dir.File("LVD.USE")).ReadString("CommentFont", "Name", ""), "Courier");

    // Showing again goes back to the UserFile.
    form.FormShow();
    EXPECT_EQ(form.AddressFile(), dir.File("LVD.USE"));
    EXPECT_EQ(form.addresses.size(), 2u);
}

TEST_F(AddressBook, BookmarkChoiceCannotLeaveTheOpenersMode) {
    form.sendMode = lv::EmailMode::Page;
    form.FormActivate();
    EXPECT_EQ(form.BMGroup, 3);
    form.BMGroupClick(1); // "Send a single bookmark."
    EXPECT_EQ(form.BMGroup, 3);
    form.BMGroupClick(0);
    EXPECT_EQ(form.BMGroup, 0);
}

TEST_F(AddressBook, MessageLinesAreCutToTheClientsBuffer) {
    form.Memo1 = std::string(1100, 'x') + "\nshort";
    // No server in the user information: the message is made all the same.
    dialogs.Queue(lv::MsgResult::Ok);
    dialogs.Queue(lv::MsgResult::Ok);
    dialogs.Queue(lv::MsgResult::Ok);
    form.Button1Click();
    std::string line;
    bool more = true;
    form.SmtpClientGetData(1, line, 1023, more);
    EXPECT_EQ(line, std::string(1022, 'x'));
    form.SmtpClientGetData(2, line, 1023, more);
    EXPECT_EQ(line, "short");
    form.SmtpClientGetData(3, line, 1023, more);
    EXPECT_EQ(line, " ");
    EXPECT_TRUE(more);
    form.SmtpClientGetData(4, line, 1023, more);
    EXPECT_FALSE(more);
}

} // namespace
