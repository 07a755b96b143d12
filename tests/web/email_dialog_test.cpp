// The e-mail dialog through a real mail server on 127.0.0.1: what arrives, one message per
// address of the address book, and a refused send told to the user with the server's answer.
#include "MailServer.h"
#include "exchange/LinkList.h"
#include "platform/PollEventLoop.h"
#include "store/TIniFile32.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "web/MailSettings.h"
#include "web/TEForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using lvtest::mail::MailServer;

std::string Lf(std::string text) {
    return std::regex_replace(text, std::regex("\r\n"), "\n");
}

class EmailDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        certs_ = std::make_unique<lvtest::TempDir>();
        certsMade_ = lvtest::mail::MakeCertificates(certs_->Path());
    }
    static void TearDownTestSuite() { certs_.reset(); }

    void SetUp() override {
        if (!certsMade_ ||
            !lvtest::mail::RunShell(lvtest::mail::Python() + " -c 'import aiosmtpd' 2>/dev/null")) {
            GTEST_SKIP() << "openssl or python3-aiosmtpd missing (scripts/install-deps)";
        }
        lv::TIniFile32 user(UserFile());
        user.SetDeferSaves(true);
        user.WriteString("User", "Email", "me@here.test");
        user.WriteString("User", "MailS", "localhost");
        user.UpdateFile();
        form.programDir = dir.Path().string() + "/";
        form.caFile = (certs_->Path() / "ca.pem").string();
    }

    std::string UserFile() const { return dir.File("LVD.USE"); }
    std::string Received(const std::string& name) const {
        return Lf(lvtest::ReadBytes(maildir.Path() / name));
    }

    // Shows the dialog as the page options open it, with the page's anchor lines.
    void Open(lv::EmailMode mode, std::vector<std::string> lines) {
        form.sendMode = mode;
        form.bookmarks = std::move(lines);
        form.FormShow();
        form.FormActivate();
    }

    void UseServer(const MailServer& server, lv::MailSecurity security) {
        form.mail.port = server.Port();
        form.mail.security = security;
        if (security != lv::MailSecurity::None) {
            form.mail.userName = "tester";
            form.mail.password = "secret";
        }
    }

    static inline std::unique_ptr<lvtest::TempDir> certs_;
    static inline bool certsMade_ = false;
    lvtest::TempDir dir;
    lvtest::TempDir maildir;
    lvtest::ScriptedDialogs dialogs;
    lv::PollEventLoop loop;
    lv::TEForm form{loop, dialogs};
};

// Each kind of server gets the same message, byte for byte apart from line ends.
TEST_F(EmailDialog, PageOfBookmarksArrivesWithExactBodyLines) {
    struct Case {
        const char* name;
        bool implicitTls;
        bool plain;
        lv::MailSecurity security;
    };
    const Case cases[] = {{"plain", false, true, lv::MailSecurity::None},
                          {"STARTTLS with AUTH", false, false, lv::MailSecurity::StartTls},
                          {"implicit TLS", true, false, lv::MailSecurity::Tls}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lvtest::TempDir box;
        MailServer server(certs_->Path(), box.Path(), c.implicitTls, c.plain);
        ASSERT_FALSE(server.Port().empty());
        Open(lv::EmailMode::Page, {"<A HREF=\"http://a.test/\">Alpha</A><BR>",
                                   "<A HREF=\"https://b.test/x?y=1\">Caf\xe9</A><BR>"});
        EXPECT_EQ(form.BMGroup, 3); // "Send bookmarks from current page."
        UseServer(server, c.security);
        form.Edit1 = "you@there.test";
        form.Memo1 = "Hello,\n.hidden dot\nsee below";
        form.Button1Click();
        EXPECT_TRUE(form.Closed()) << (dialogs.Asked().empty() ? "" : dialogs.Asked().back());

        EXPECT_EQ(Lf(lvtest::ReadBytes(box.Path() / "001.env")), "me@here.test\nyou@there.test");
        EXPECT_EQ(Lf(lvtest::ReadBytes(box.Path() / "001.eml")),
                  "From: me@here.test\n"
                  "To: you@there.test\n"
                  "Subject: Bookmarks\n"
                  "Mime-Version: 1.0\n"
                  "Content-Type: text/plain; charset=\"iso-8859-1\"\n"
                  "\n"
                  "Hello,\n"
                  ".hidden dot\n"
                  "see below\n"
                  " \n"
                  "<A HREF=\"http://a.test/\">Alpha</A><BR>\n"
                  "<A HREF=\"https://b.test/x?y=1\">Caf\xe9</A><BR>\n");
        // The typed recipient joined the address book.
        EXPECT_EQ(lv::TIniFile32(UserFile()).ReadString("Address", "1", ""), "you@there.test");
    }
    EXPECT_TRUE(dialogs.Asked().empty());
}

// Groups of bookmarks: the e-mail lines of a page range, as the list command collects them.
TEST_F(EmailDialog, PageRangeListArrivesAsItsEmailLines) {
    const std::string data = dir.File("Work.lvd");
    lvtest::WriteBytes(data, "[Tabs]\r\nCount=2\r\nTab1=Work\r\nTab2=News\r\n"
                             "[Work]\r\n01N=Caf\xe9\r\n01U=http://cafe.test/\r\n"
                             "02N=Tool\r\n02U=/usr/bin/tool\r\n02L=Yes\r\n"
                             "[News]\r\n05N=.Daily\r\n05U=https://daily.test/?a=1&b=2\r\n");
    lv::LinkListRequest request;
    request.mode = lv::LinkListMode::Email;
    request.pages = {"Work", "News"};
    request.firstPage = 0;
    request.lastPage = 1;
    const lv::LinkList list = lv::BuildLinkList(lv::TIniFile32(data), request);

    MailServer server(certs_->Path(), maildir.Path(), false, true);
    ASSERT_FALSE(server.Port().empty());
    Open(lv::EmailMode::All, list.lines);
    EXPECT_EQ(form.BMGroup, 2); // "Send groups of bookmarks."
    UseServer(server, lv::MailSecurity::None);
    form.Edit1 = "you@there.test";
    form.Button1Click();
    ASSERT_TRUE(form.Closed());
    const std::string message = Received("001.eml");
    EXPECT_EQ(message.substr(message.find("\n\n") + 2), " \n"
                                                        "http://cafe.test/ > Caf\xe9 <\n"
                                                        "https://daily.test/?a=1&b=2 > .Daily <\n");
}

TEST_F(EmailDialog, IncludeAllSendsOneMessagePerAddressInSortedOrder) {
    {
        lv::TIniFile32 user(UserFile());
        user.SetDeferSaves(true);
        user.WriteInteger("Address", "Count", 3);
        user.WriteString("Address", "1", "carol@c.test");
        user.WriteString("Address", "2", "alice@a.test");
        user.WriteString("Address", "3", "Bob@b.test");
        user.UpdateFile();
    }
    MailServer server(certs_->Path(), maildir.Path(), false, true);
    ASSERT_FALSE(server.Port().empty());
    Open(lv::EmailMode::All, {"http://a.test/ > Alpha <"});
    EXPECT_EQ(form.addresses,
              (std::vector<std::string>{"alice@a.test", "Bob@b.test", "carol@c.test"}));
    UseServer(server, lv::MailSecurity::None);
    form.Edit1 = "alice@a.test";
    form.CBox2 = true;
    form.BMGroupClick(0); // the comment alone
    form.Memo1 = "For all of you";
    form.Button1Click();
    ASSERT_TRUE(form.Closed()) << (dialogs.Asked().empty() ? "" : dialogs.Asked().back());
    EXPECT_FALSE(form.CBox2);

    const char* expected[] = {"alice@a.test", "Bob@b.test", "carol@c.test"};
    for (int i = 0; i < 3; ++i) {
        const std::string stem = "00" + std::to_string(i + 1);
        EXPECT_EQ(Received(stem + ".env"), std::string("me@here.test\n") + expected[i]);
        const std::string message = Received(stem + ".eml");
        EXPECT_NE(message.find(std::string("To: ") + expected[i] + "\n"), std::string::npos);
        // The comment alone, without the bookmarks.
        EXPECT_EQ(message.substr(message.find("\n\n") + 2), "For all of you\n \n");
    }
    EXPECT_FALSE(fs::exists(maildir.Path() / "004.eml"));
}

TEST_F(EmailDialog, RefusedSendIsToldWithTheServersReplyAndKeepsTheComment) {
    MailServer server(certs_->Path(), maildir.Path(), false);
    ASSERT_FALSE(server.Port().empty());
    Open(lv::EmailMode::One, {"<A HREF=\"http://a.test/\">Alpha</A><BR>"});
    UseServer(server, lv::MailSecurity::StartTls);
    form.mail.password = "wrong";
    form.Edit1 = "you@there.test";
    form.Memo1 = "Hello";
    dialogs.Queue(lv::MsgResult::Ok);
    form.Button1Click();

    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const std::string& told = dialogs.Messages()[0].text;
    EXPECT_EQ(dialogs.Messages()[0].kind, lv::MsgKind::Error);
    EXPECT_NE(told.find("you@there.test: 535"), std::string::npos) << told;
    EXPECT_FALSE(form.Closed());
    EXPECT_EQ(form.Memo1, "Hello");
    EXPECT_TRUE(form.memoVisible);
    EXPECT_TRUE(fs::is_empty(maildir.Path()));

    // Nobody listening: the socket's reason, not silence.
    form.mail.port = "1";
    dialogs.Queue(lv::MsgResult::Ok);
    form.Button1Click();
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_NE(dialogs.Messages()[1].text.find("Can't connect to host 'localhost'"),
              std::string::npos)
        << dialogs.Messages()[1].text;
}

TEST_F(EmailDialog, MissingSenderAndServerAreToldAndStillAttempted) {
    lvtest::WriteBytes(UserFile(), "");
    Open(lv::EmailMode::None, {});
    form.Edit1 = "you@there.test";
    for (int i = 0; i < 3; ++i) {
        dialogs.Queue(lv::MsgResult::Ok);
    }
    form.Button1Click();
    ASSERT_EQ(dialogs.Asked().size(), 3u);
    EXPECT_EQ(dialogs.Asked()[0],
              "Message: You need to include your e-mail address in your user information");
    EXPECT_EQ(dialogs.Asked()[1],
              "Message: You need to have a mail server listed in your user information");
    EXPECT_EQ(dialogs.Messages()[1].helpContext, 56);
    EXPECT_NE(dialogs.Asked()[2].find("No host specified"), std::string::npos);
}

} // namespace
