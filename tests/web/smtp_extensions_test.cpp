// EHLO, STARTTLS and AUTH decisions against a scripted server (no TLS here: the real server test
// covers the encrypted path).
#include "smtp_scripted_peer.h"

#include "platform/PollEventLoop.h"
#include "web/SmtpClient.h"
#include "web/TWait.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct ExtensionCase {
    std::string name;
    lv::SmtpSecurity security;
    std::string user;
    bool allowPlainTextAuth;
    std::map<std::string, std::string> replies;
    bool opens;
    std::string error;
    std::string sent; // what the server received up to and including QUIT
};

class SmtpExtensions : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(SmtpExtensions, GreetingFollowsWhatIsWantedAndOffered) {
    const ExtensionCase& c = GetParam();
    lv::PollEventLoop loop;
    lv::TWait wait(loop);
    lvtest::ScriptedSmtpPeer peer;
    for (const auto& [verb, reply] : c.replies) {
        peer.replies[verb] = reply;
    }
    peer.Start();
    lv::TCustomSmtpClient client(loop);
    client.Wait = &wait;
    client.Host = "127.0.0.1";
    client.Port = peer.Port();
    client.SignOn = "c";
    client.Security = c.security;
    client.UserName = c.user;
    client.Password = "secret";
    client.AllowPlainTextAuth = c.allowPlainTextAuth;
    std::string trace;
    client.OnDisplay = [&](lv::TCustomSmtpClient&, const std::string& t) { trace += t + "\n"; };

    EXPECT_EQ(client.Open(), c.opens);
    EXPECT_EQ(client.ErrorMessage(), c.error);
    client.Quit();
    EXPECT_EQ(peer.Received(), c.sent);
    for (const char* secret : {"c2VjcmV0", "AGpvZQBzZWNyZXQ="}) {
        EXPECT_EQ(trace.find(secret), std::string::npos) << "credentials in the trace";
    }
}

const std::string kEhloTls = "250-relay\r\n250-STARTTLS\r\n250 SIZE 100\r\n";

INSTANTIATE_TEST_SUITE_P(
    Servers, SmtpExtensions,
    ::testing::Values(
        // Nothing wanted: the classic greeting even when the server could do more.
        ExtensionCase{"PlainKeepsHelo",
                      lv::SmtpSecurity::Plain,
                      "",
                      false,
                      {{"EHLO", kEhloTls}},
                      true,
                      "",
                      "HELO c\r\nQUIT\r\n"},
        ExtensionCase{"OldServerFallsBackToHelo",
                      lv::SmtpSecurity::StartTlsIfOffered,
                      "",
                      false,
                      {{"EHLO", "502 unknown\r\n"}},
                      true,
                      "",
                      "EHLO c\r\nHELO c\r\nQUIT\r\n"},
        ExtensionCase{"TlsNotOfferedIsSkipped",
                      lv::SmtpSecurity::StartTlsIfOffered,
                      "",
                      false,
                      {{"EHLO", "250-relay\r\n250 SIZE 100\r\n"}},
                      true,
                      "",
                      "EHLO c\r\nQUIT\r\n"},
        ExtensionCase{"TlsRequiredButNotOffered",
                      lv::SmtpSecurity::StartTlsRequired,
                      "",
                      false,
                      {{"EHLO", "250 relay\r\n"}},
                      false,
                      "Server does not offer STARTTLS",
                      "EHLO c\r\n"},
        ExtensionCase{"TlsRefused",
                      lv::SmtpSecurity::StartTlsIfOffered,
                      "",
                      false,
                      {{"EHLO", kEhloTls}, {"STARTTLS", "454 not now\r\n"}},
                      false,
                      "454 not now",
                      "EHLO c\r\nSTARTTLS\r\n"},
        ExtensionCase{"NoCredentialsInTheClear",
                      lv::SmtpSecurity::Plain,
                      "joe",
                      false,
                      {{"EHLO", "250-relay\r\n250 AUTH PLAIN LOGIN\r\n"}},
                      false,
                      "Authentication needs an encrypted connection",
                      "EHLO c\r\n"},
        ExtensionCase{
            "PlainPreferred",
            lv::SmtpSecurity::Plain,
            "joe",
            true,
            {{"EHLO", "250-relay\r\n250 AUTH LOGIN PLAIN\r\n"}, {"AUTH", "235 welcome\r\n"}},
            true,
            "",
            "EHLO c\r\nAUTH PLAIN AGpvZQBzZWNyZXQ=\r\nQUIT\r\n"},
        ExtensionCase{"LoginStepByStep",
                      lv::SmtpSecurity::Plain,
                      "joe",
                      true,
                      {{"EHLO", "250-relay\r\n250 AUTH=LOGIN\r\n"},
                       {"AUTH", "334 VXNlcm5hbWU6\r\n"},
                       {"AM9L", "334 UGFzc3dvcmQ6\r\n"},
                       {"C2VJCMV0", "235 welcome\r\n"}},
                      true,
                      "",
                      "EHLO c\r\nAUTH LOGIN\r\nam9l\r\nc2VjcmV0\r\nQUIT\r\n"},
        ExtensionCase{"BadCredentials",
                      lv::SmtpSecurity::Plain,
                      "joe",
                      true,
                      {{"EHLO", "250-relay\r\n250 AUTH PLAIN\r\n"},
                       {"AUTH", "535 5.7.8 bad credentials\r\n"}},
                      false,
                      "535 5.7.8 bad credentials",
                      "EHLO c\r\nAUTH PLAIN AGpvZQBzZWNyZXQ=\r\n"},
        ExtensionCase{"NoKnownMechanism",
                      lv::SmtpSecurity::Plain,
                      "joe",
                      true,
                      {{"EHLO", "250-relay\r\n250 AUTH CRAM-MD5\r\n"}},
                      false,
                      "Server offers no supported authentication",
                      "EHLO c\r\n"}),
    [](const auto& info) { return info.param.name; });

} // namespace
