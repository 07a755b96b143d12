// The mail conversation, byte for byte, against a scripted server on 127.0.0.1.
#include "smtp_scripted_peer.h"

#include "platform/PollEventLoop.h"
#include "support/TempDir.h"
#include "web/SmtpClient.h"
#include "web/TWait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <vector>

namespace {

using lvtest::ScriptedSmtpPeer;

class SmtpConversation : public ::testing::Test {
protected:
    SmtpConversation() {
        client.Host = "127.0.0.1";
        client.Port = peer.Port();
        client.SignOn = "client.test";
        client.FromName = " me@here.test ";
        client.RcptName = {"you@there.test"};
        client.HdrFrom = "me@here.test";
        client.HdrTo = "you@there.test";
        client.HdrSubject = "Bookmarks";
        client.Wait = &wait;
        client.OnDisplay = [this](lv::TCustomSmtpClient&, const std::string& text) {
            trace.push_back(text);
        };
        client.OnGetData = [this](lv::TCustomSmtpClient&, int n, std::string& line,
                                  std::size_t size, bool& more) {
            if (n > static_cast<int>(body.size())) {
                more = false;
                return;
            }
            line = body[static_cast<std::size_t>(n - 1)].substr(0, size - 1);
        };
    }

    // The index of text in the trace, or -1.
    int TraceIndex(const std::string& text) const {
        for (std::size_t i = 0; i < trace.size(); ++i) {
            if (trace[i] == text) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    lv::PollEventLoop loop;
    lv::TWait wait{loop};
    ScriptedSmtpPeer peer;
    lv::TSmtpClient client{loop};
    std::vector<std::string> body;
    std::vector<std::string> trace;
};

const std::string kHeader = "From: me@here.test\r\n"
                            "To: you@there.test\r\n"
                            "Subject: Bookmarks\r\n"
                            "Mime-Version: 1.0\r\n"
                            "Content-Type: text/plain; charset=\"iso-8859-1\"\r\n"
                            "\r\n";

TEST_F(SmtpConversation, PlainMessageIsSentExactlyWithDotStuffing) {
    peer.replies["HELO"] = "250-relay.test greets you\r\n250-SIZE 1000\r\n250 HELP\r\n";
    peer.Start();
    body = {"Hello", ".", ".hidden", "", " .not first", "<a href=\"x\">x</a>"};

    ASSERT_TRUE(client.Open()) << client.ErrorMessage();
    ASSERT_TRUE(client.Mail()) << client.ErrorMessage();
    client.Quit();

    EXPECT_EQ(peer.Received(), "HELO client.test\r\n"
                               "MAIL FROM:<me@here.test>\r\n"
                               "RCPT TO:<you@there.test>\r\n"
                               "DATA\r\n" +
                                   kHeader +
                                   "Hello\r\n"
                                   "..\r\n"
                                   "..hidden\r\n"
                                   "\r\n"
                                   " .not first\r\n"
                                   "<a href=\"x\">x</a>\r\n"
                                   ".\r\n"
                                   "QUIT\r\n");
    EXPECT_TRUE(peer.SawClose());
    EXPECT_EQ(client.ErrorMessage(), "");
    EXPECT_EQ(client.LastResponse(), "221 bye");
    EXPECT_EQ(client.State(), lv::TCustomSmtpClient::ConnState::NotConnected);
    // The whole multi-line greeting answer is read before MAIL goes out.
    const int last = TraceIndex("< 250 HELP");
    ASSERT_GE(last, 0);
    EXPECT_EQ(TraceIndex("< 250-relay.test greets you"), last - 2);
    EXPECT_EQ(TraceIndex("> MAIL FROM:<me@here.test>"), last + 1);
    EXPECT_EQ(TraceIndex("Connected with SMTP server"), 0);
}

TEST_F(SmtpConversation, HeaderLinesCanBeChangedOrDroppedAndLongLinesAreCut) {
    peer.Start();
    client.OnHeaderLine = [](lv::TCustomSmtpClient&, std::string& line, std::size_t size) {
        EXPECT_EQ(size, 1024u);
        if (line.rfind("Mime-Version", 0) == 0) {
            line.clear();
        } else if (line.rfind("Subject", 0) == 0) {
            line = "Subject: changed";
        }
    };
    client.HdrTo = "you@there.test\r\n.\r\nRSET"; // a line break must not reach the wire
    body = {std::string(2000, 'x'), "a\r\n.\r\nMAIL FROM:<evil>"};

    ASSERT_TRUE(client.Mail()) << client.ErrorMessage(); // opens by itself
    client.Quit();

    EXPECT_EQ(peer.Received(), "HELO client.test\r\n"
                               "MAIL FROM:<me@here.test>\r\n"
                               "RCPT TO:<you@there.test>\r\n"
                               "DATA\r\n"
                               "From: me@here.test\r\n"
                               "To: you@there.test  .  RSET\r\n"
                               "Subject: changed\r\n"
                               "Content-Type: text/plain; charset=\"iso-8859-1\"\r\n"
                               "\r\n" +
                                   std::string(1022, 'x') +
                                   "\r\n"
                                   "a\r\n"
                                   "..\r\n"
                                   "MAIL FROM:<evil>\r\n"
                                   ".\r\n"
                                   "QUIT\r\n");
}

struct FailureCase {
    std::string name;
    std::string verb; // whose reply is replaced ("" = greeting)
    std::string reply;
    bool openFails;       // else Mail fails
    std::string expected; // ErrorMessage
    std::string sent;     // what the server received
};

class SmtpFailures : public SmtpConversation, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SmtpFailures, FirstFailureIsKeptAndTheConversationStops) {
    const FailureCase& c = GetParam();
    if (c.verb.empty()) {
        peer.greeting = c.reply;
    } else {
        peer.replies[c.verb] = c.reply;
    }
    peer.Start();
    body = {"text"};
    const bool opened = client.Open();
    EXPECT_EQ(opened, !c.openFails);
    if (opened) {
        EXPECT_FALSE(client.Mail());
        client.Quit();
    }
    EXPECT_EQ(client.ErrorMessage(), c.expected);
    EXPECT_EQ(peer.Received(), c.sent);
    EXPECT_TRUE(peer.SawClose());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SmtpFailures,
    ::testing::Values(
        FailureCase{"Greeting", "", "554 no service here\r\n", true, "554 no service here", ""},
        FailureCase{"Helo", "HELO", "501 bad name\r\n", true, "501 bad name",
                    "HELO client.test\r\n"},
        FailureCase{"Sender", "MAIL", "550 not you\r\n", false, "550 not you",
                    "HELO client.test\r\nMAIL FROM:<me@here.test>\r\nQUIT\r\n"},
        FailureCase{"Recipient", "RCPT", "550-no such user\r\n550 really\r\n", false, "550 really",
                    "HELO client.test\r\nMAIL FROM:<me@here.test>\r\n"
                    "RCPT TO:<you@there.test>\r\nQUIT\r\n"},
        FailureCase{"EndlessReply", "MAIL",
                    [] {
                        std::string r;
                        for (int i = 0; i < 1200; ++i) {
                            r += "250-more\r\n";
                        }
                        return r;
                    }(),
                    false, "554 reply too long",
                    "HELO client.test\r\nMAIL FROM:<me@here.test>\r\nQUIT\r\n"},
        FailureCase{"Message", ".", "552 too big\r\n", false, "552 too big",
                    "HELO client.test\r\nMAIL FROM:<me@here.test>\r\nRCPT TO:<you@there.test>\r\n"
                    "DATA\r\n" +
                        kHeader + "text\r\n.\r\nQUIT\r\n"}),
    [](const auto& info) { return info.param.name; });

TEST_F(SmtpConversation, ForwardedRecipientIsAccepted) {
    // 251 passes RCPT; the DATA refusal after it is what fails.
    peer.replies["RCPT"] = "251 will forward\r\n";
    peer.replies["DATA"] = "452 full\r\n";
    peer.Start();
    ASSERT_TRUE(client.Open());
    EXPECT_FALSE(client.Mail());
    EXPECT_EQ(client.ErrorMessage(), "452 full");
    client.Quit();
}

TEST_F(SmtpConversation, SilentServerTimesOutAfterTimeOutSeconds) {
    peer.silent = {"HELO"};
    peer.Start();
    client.TimeOut = 1;
    bool timedOut = false;
    wait.OnChange = [&] { timedOut = timedOut || wait.Text() == "Timeout"; };
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.Open());
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(client.ErrorMessage(), "554 receive timeout");
    EXPECT_EQ(client.LastResponse(), "554 receive timeout");
    EXPECT_GE(waited, std::chrono::milliseconds(900));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_EQ(wait.Text(), "Timeout");
    EXPECT_FALSE(wait.Visible());
    EXPECT_TRUE(peer.SawClose()); // the failed check closes the connection
    EXPECT_TRUE(timedOut);        // the control's own event fired too
}

TEST(SmtpClientSetup, RefusesWithoutWaitHostOrServer) {
    lv::PollEventLoop loop;
    lv::TWait wait(loop);
    lv::TCustomSmtpClient client(loop);
    std::vector<std::string> trace;
    client.OnDisplay = [&](lv::TCustomSmtpClient&, const std::string& t) { trace.push_back(t); };

    EXPECT_FALSE(client.Open());
    EXPECT_EQ(client.ErrorMessage(), "No wait object");
    EXPECT_EQ(trace, std::vector<std::string>{"No wait object"});

    client.Wait = &wait;
    EXPECT_FALSE(client.Open());
    EXPECT_EQ(client.ErrorMessage(), "No host specified");

    client.Host = "127.0.0.1";
    client.Port = lvtest::RefusingPort();
    EXPECT_FALSE(client.Mail());
    EXPECT_EQ(client.ErrorMessage(), "Can't connect to host '127.0.0.1'");
    EXPECT_EQ(client.State(), lv::TCustomSmtpClient::ConnState::NotConnected);
    client.Quit(); // nothing to end: no effect
}

TEST(SmtpClientSetup, ClosedServerGivesNotConnected) {
    lv::PollEventLoop loop;
    lv::TWait wait(loop);
    ScriptedSmtpPeer peer;
    peer.greeting = "220 bye at once\r\n";
    peer.closeAfterGreeting = true;
    peer.Start();
    lv::TCustomSmtpClient client(loop);
    client.Wait = &wait;
    client.Host = "127.0.0.1";
    client.Port = peer.Port();
    client.SignOn = "c";
    EXPECT_FALSE(client.Open());
    EXPECT_EQ(client.ErrorMessage(), "554 not connected");
}

} // namespace
