// Attachments: the multipart layout, the boundary and base64 lines of 60 characters.
#include "smtp_scripted_peer.h"

#include "platform/PollEventLoop.h"
#include "support/TempDir.h"
#include "web/SmtpClient.h"
#include "web/TWait.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>
#include <string>

namespace {

class SmtpAttachments : public ::testing::Test {
protected:
    SmtpAttachments() {
        client.Host = "127.0.0.1";
        client.Port = peer.Port();
        client.SignOn = "client.test";
        client.FromName = "me@here.test";
        client.RcptName = {"you@there.test"};
        client.HdrFrom = "me@here.test";
        client.HdrTo = "you@there.test";
        client.HdrSubject = "Files";
        client.Wait = &wait;
        client.OnGetData = [](lv::TCustomSmtpClient&, int n, std::string& line, std::size_t,
                              bool& more) {
            if (n == 1) {
                line = "See the files.";
            } else if (n == 2) {
                line = ".";
            } else {
                more = false;
            }
        };
    }

    lvtest::TempDir dir;
    lv::PollEventLoop loop;
    lv::TWait wait{loop};
    lvtest::ScriptedSmtpPeer peer;
    lv::TSmtpClient client{loop};
};

std::string PartHeader(const std::string& boundary, const std::string& name) {
    return "\r\n--" + boundary +
           "\r\n"
           "Content-Type: application/octet-stream;\r\n"
           "\tname=\"" +
           name +
           "\"\r\n"
           "Content-Transfer-Encoding: base64\r\n"
           "Content-Disposition: attachment;\r\n"
           "\tfilename=\"" +
           name + "\"\r\n\r\n";
}

TEST_F(SmtpAttachments, FilesFollowTheTextBetweenBoundaries) {
    std::string binary;
    for (int i = 0; i < 100; ++i) {
        binary += static_cast<char>((i * 7 + 3) % 256);
    }
    lvtest::WriteBytes(dir.File("a.bin"), binary);
    lvtest::WriteBytes(dir.File("exact.txt"), "." + std::string(89, 'x')); // two whole lines
    lvtest::WriteBytes(dir.File("empty.txt"), "");
    client.EmailFiles = {dir.File("a.bin"), dir.File("exact.txt"), dir.File("empty.txt")};
    peer.Start();

    ASSERT_TRUE(client.Mail()) << client.ErrorMessage();
    client.Quit();
    const std::string got = peer.Received();

    std::smatch m;
    ASSERT_TRUE(std::regex_search(got, m,
                                  std::regex("boundary=\"(= Multipart Boundary "
                                             "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|"
                                             "Nov|Dec)[0-9]{8})\"")));
    const std::string b = m[1];
    const std::string expected =
        "HELO client.test\r\n"
        "MAIL FROM:<me@here.test>\r\n"
        "RCPT TO:<you@there.test>\r\n"
        "DATA\r\n"
        "From: me@here.test\r\n"
        "To: you@there.test\r\n"
        "Subject: Files\r\n"
        "Mime-Version: 1.0\r\n"
        "Content-Type: multipart/mixed;\r\n"
        "\tboundary=\"" +
        b +
        "\"\r\n"
        "\r\n"
        "This is a multipart MIME message.\r\n"
        "\r\n"
        "--" +
        b +
        "\r\n"
        "Content-Type: text/plain; charset=\"iso-8859-1\"\r\n"
        "Content-Transfer-Encoding: 7bit\r\n"
        "\r\n"
        "See the files.\r\n"
        "..\r\n" +
        PartHeader(b, "a.bin") +
        "AwoRGB8mLTQ7QklQV15lbHN6gYiPlp2kq7K5wMfO1dzj6vH4/wYNFBsiKTA3\r\n"
        "PkVMU1phaG92fYSLkpmgp661vMPK0djf5u30+wIJEBceJSwzOkFIT1ZdZGty\r\n"
        "eYCHjpWco6qxuA==\r\n" +
        PartHeader(b, "exact.txt") +
        "Lnh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4\r\n"
        "eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4\r\n" +
        PartHeader(b, "empty.txt") +
        "\r\n" // an empty file is one empty line
        "\r\n"
        "--" +
        b +
        "--\r\n"
        ".\r\n"
        "QUIT\r\n";
    EXPECT_EQ(got, expected);
}

// Opening a FIFO would wait for a writer for good; it is refused like a missing file.
TEST_F(SmtpAttachments, FifoIsRefusedBeforeAnythingIsSent) {
    const std::string fifo = dir.File("pipe.bin");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    client.EmailFiles = {fifo};
    peer.Start();
    EXPECT_FALSE(client.Mail());
    EXPECT_EQ(client.ErrorMessage(), "Cannot open file " + fifo);
    EXPECT_EQ(client.State(), lv::TCustomSmtpClient::ConnState::NotConnected);
}

TEST_F(SmtpAttachments, MissingFileStopsBeforeAnythingIsSent) {
    client.EmailFiles = {dir.File("gone.bin")};
    peer.Start();
    EXPECT_FALSE(client.Mail());
    EXPECT_EQ(client.ErrorMessage(), "Cannot open file " + dir.File("gone.bin"));
    EXPECT_EQ(client.State(), lv::TCustomSmtpClient::ConnState::NotConnected);

    // The same client then sends a plain message: no trace of the failed multipart one.
    client.EmailFiles.clear();
    ASSERT_TRUE(client.Mail()) << client.ErrorMessage();
    client.Quit();
    const std::string got = peer.Received();
    EXPECT_NE(got.find("Content-Type: text/plain; charset=\"iso-8859-1\"\r\n\r\n"
                       "See the files.\r\n..\r\n.\r\n"),
              std::string::npos)
        << got;
}

} // namespace
