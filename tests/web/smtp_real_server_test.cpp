// Messages through a real mail server (aiosmtpd from the distribution) on 127.0.0.1, over
// STARTTLS or TLS from the first byte, with AUTH.
#include "MailServer.h"
#include "platform/PollEventLoop.h"
#include "support/TempDir.h"
#include "web/SmtpClient.h"
#include "web/TWait.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;
using lvtest::mail::MailServer;
using lvtest::mail::MakeCertificates;
using lvtest::mail::Python;
using lvtest::mail::RunShell;

class SmtpRealServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        certs_ = std::make_unique<lvtest::TempDir>();
        certsMade_ = MakeCertificates(certs_->Path());
    }
    static void TearDownTestSuite() { certs_.reset(); }

    void SetUp() override {
        if (!certsMade_ || !RunShell(Python() + " -c 'import aiosmtpd' 2>/dev/null")) {
            GTEST_SKIP() << "openssl or python3-aiosmtpd missing (scripts/install-deps)";
        }
        client.Host = "localhost";
        client.SignOn = "client.test";
        client.FromName = "me@here.test";
        client.RcptName = {"you@there.test", "other@there.test"};
        client.HdrFrom = "Me <me@here.test>";
        client.HdrTo = "you@there.test";
        client.HdrSubject = "Bookmarks";
        client.Wait = &wait;
        client.UserName = "tester";
        client.Password = "secret";
        client.CaFile = (certs_->Path() / "ca.pem").string();
        client.OnGetData = [this](lv::TCustomSmtpClient&, int n, std::string& line, std::size_t,
                                  bool& more) {
            if (n > static_cast<int>(body.size())) {
                more = false;
            } else {
                line = body[static_cast<std::size_t>(n - 1)];
            }
        };
    }

    std::string Received(const std::string& name) { return lvtest::ReadBytes(mail.Path() / name); }

    static inline std::unique_ptr<lvtest::TempDir> certs_;
    static inline bool certsMade_ = false;
    lvtest::TempDir mail;
    lvtest::TempDir files;
    lv::PollEventLoop loop;
    lv::TWait wait{loop};
    lv::TSmtpClient client{loop};
    std::vector<std::string> body = {"Dear you,", ".", "Caf\xe9 <a href=\"http://x.test/\">x</a>",
                                     ""};
};

TEST_F(SmtpRealServer, StartTlsAndAuthDeliverTheMessageIntact) {
    MailServer server(certs_->Path(), mail.Path(), false);
    ASSERT_FALSE(server.Port().empty());
    client.Port = server.Port();
    client.Security = lv::SmtpSecurity::StartTlsRequired;
    std::string binary;
    for (int i = 0; i < 1000; ++i) {
        binary += static_cast<char>(i * 31 % 256);
    }
    lvtest::WriteBytes(files.File("data.bin"), binary);
    client.EmailFiles = {files.File("data.bin")};

    ASSERT_TRUE(client.Open()) << client.ErrorMessage();
    ASSERT_TRUE(client.Mail()) << client.ErrorMessage();
    EXPECT_EQ(client.LastResponse(), "250 Message accepted for delivery");
    client.Quit();

    EXPECT_EQ(Received("001.env"), "me@here.test\nyou@there.test\nother@there.test");
    std::string message = Received("001.eml");
    // aiosmtpd stores line ends as LF or CR LF depending on its version; compare by lines.
    message = std::regex_replace(message, std::regex("\r\n"), "\n");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(message, m, std::regex("boundary=\"([^\"]+)\"")));
    const std::string b = m[1];

    const std::string chunks = "(?:[A-Za-z0-9+/=]{60}\n){22}[A-Za-z0-9+/=]{1,60}\n";
    EXPECT_TRUE(std::regex_search(message, std::regex(chunks))) << message;
    const std::size_t at = message.find("Content-Type: application/octet-stream;");
    ASSERT_NE(at, std::string::npos);
    const std::string head = message.substr(0, at);
    EXPECT_EQ(head, "From: Me <me@here.test>\n"
                    "To: you@there.test\n"
                    "Subject: Bookmarks\n"
                    "Mime-Version: 1.0\n"
                    "Content-Type: multipart/mixed;\n"
                    "\tboundary=\"" +
                        b +
                        "\"\n\n"
                        "This is a multipart MIME message.\n\n"
                        "--" +
                        b +
                        "\n"
                        "Content-Type: text/plain; charset=\"iso-8859-1\"\n"
                        "Content-Transfer-Encoding: 7bit\n\n"
                        "Dear you,\n"
                        ".\n"
                        "Caf\xe9 <a href=\"http://x.test/\">x</a>\n"
                        "\n"
                        "\n--" +
                        b + "\n");
    // The attachment decodes to the file's bytes.
    const std::size_t start = message.find("\n\n", at) + 2;
    const std::size_t end = message.find("\n\n--" + b + "--", start);
    ASSERT_NE(end, std::string::npos);
    lvtest::WriteBytes(files.File("got.b64"), message.substr(start, end - start) + "\n");
    ASSERT_TRUE(
        RunShell("base64 -d '" + files.File("got.b64") + "' > '" + files.File("got.bin") + "'"));
    EXPECT_EQ(lvtest::ReadBytes(files.File("got.bin")), binary);
}

TEST_F(SmtpRealServer, ImplicitTlsFromTheFirstByte) {
    MailServer server(certs_->Path(), mail.Path(), true);
    ASSERT_FALSE(server.Port().empty());
    client.Port = server.Port();
    client.Security = lv::SmtpSecurity::ImplicitTls;
    ASSERT_TRUE(client.Mail()) << client.ErrorMessage();
    client.Quit();
    EXPECT_NE(Received("001.eml").find("Dear you,"), std::string::npos);
}

TEST_F(SmtpRealServer, WrongPasswordAndUntrustedServerAreRefused) {
    MailServer server(certs_->Path(), mail.Path(), false);
    ASSERT_FALSE(server.Port().empty());
    client.Port = server.Port();
    client.Security = lv::SmtpSecurity::StartTlsIfOffered;

    client.Password = "wrong";
    EXPECT_FALSE(client.Open());
    EXPECT_EQ(lv::SmtpReplyCode(client.ErrorMessage()), 535) << client.ErrorMessage();
    EXPECT_EQ(client.State(), lv::TCustomSmtpClient::ConnState::NotConnected);

    client.Password = "secret";
    client.CaFile.clear(); // the test CA is not trusted any more
    EXPECT_FALSE(client.Open());
    EXPECT_EQ(client.ErrorMessage().rfind("TLS handshake failed: ", 0), 0u)
        << client.ErrorMessage();
    EXPECT_TRUE(fs::is_empty(mail.Path()));
}

} // namespace
