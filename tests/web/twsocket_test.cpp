// The socket on its own: events and their deferral, line mode, refusals, TLS and STARTTLS.
#include "ScriptedServer.h"
#include "support/Nginx.h"
#include "support/TempDir.h"
#include "support/TestCertificates.h"

#include "platform/PollEventLoop.h"
#include "web/THttpCli.h"
#include "web/TWSocket.h"

#include <gtest/gtest.h>

using lvtest::ScriptedServer;
using Strings = std::vector<std::string>;

namespace {

class SocketTest : public ::testing::Test {
protected:
    lv::PollEventLoop loop;
    lv::TWSocket socket{loop};
    Strings events;
    Strings lines;

    void Record() {
        socket.OnSessionConnected = [this](int e) {
            events.push_back("Connected " + std::to_string(e));
        };
        socket.OnDataSent = [this](int e) { events.push_back("Sent " + std::to_string(e)); };
        socket.OnSessionClosed = [this](int e) { events.push_back("Closed " + std::to_string(e)); };
        socket.OnTlsDone = [this](int e) { events.push_back("Tls " + std::to_string(e)); };
        socket.OnDataAvailable = [this](int) {
            std::string line;
            while (socket.ReceiveLine(line)) {
                lines.push_back(line);
            }
        };
    }
    bool WaitFor(const std::string& event) {
        return loop.RunUntil(
            [&] { return std::find(events.begin(), events.end(), event) != events.end(); },
            std::chrono::seconds(10));
    }
};

TEST_F(SocketTest, ConversationInLineModeWithDeferredEvents) {
    ScriptedServer server({[](ScriptedServer::Peer& peer) {
        peer.Send("220 hello\r\n250-first\r\n250 last");
        peer.ReadUntil("QUIT\r\n");
        peer.Send("\r\n221 bye\r\n");
    }});
    Record();
    socket.SetLineMode(true);
    socket.Connect("127.0.0.1", std::to_string(server.Port()));
    EXPECT_TRUE(events.empty()); // never inside the call
    ASSERT_TRUE(WaitFor("Connected 0"));
    ASSERT_TRUE(loop.RunUntil([&] { return lines.size() == 2; }, std::chrono::seconds(5)));
    EXPECT_EQ(lines, (Strings{"220 hello", "250-first"})); // the unfinished line waits

    socket.SendStr("QUIT\r\n");
    EXPECT_EQ(events, Strings{"Connected 0"});
    ASSERT_TRUE(WaitFor("Closed 0"));
    EXPECT_EQ(lines, (Strings{"220 hello", "250-first", "250 last", "221 bye"}));
    EXPECT_EQ(events, (Strings{"Connected 0", "Sent 0", "Closed 0"}));
    EXPECT_EQ(socket.State(), lv::SocketState::Closed);
    EXPECT_EQ(server.Received().at(0), "QUIT\r\n");
}

TEST_F(SocketTest, ConnectByNameAndCloseFiresClosedAtOnce) {
    ScriptedServer server({[](ScriptedServer::Peer& peer) { peer.WaitClosed(); }});
    Record();
    socket.Connect("localhost", std::to_string(server.Port()));
    EXPECT_EQ(socket.State(), lv::SocketState::DnsLookup);
    ASSERT_TRUE(WaitFor("Connected 0"));
    socket.Close();
    EXPECT_EQ(events, (Strings{"Connected 0", "Closed 0"}));
}

TEST_F(SocketTest, RefusedConnectionIsReportedOnceByConnected) {
    Record();
    socket.Connect("127.0.0.1", std::to_string(lvtest::FreeLocalPort()));
    ASSERT_TRUE(WaitFor("Connected 10061"));
    loop.ProcessPending(std::chrono::milliseconds(20));
    EXPECT_EQ(events, Strings{"Connected 10061"});
    EXPECT_EQ(socket.LastErrorText(), "Connection refused");
    EXPECT_EQ(socket.SendStr("x"), -1);
}

TEST_F(SocketTest, RefusalsAreRaised) {
    struct Case {
        std::string addr, port, proto, message;
    };
    const std::vector<Case> cases = {
        {"127.0.0.1", "", "tcp", "Connect: No Port Specified"},
        {"", "80", "tcp", "Connect: No IP Address Specified"},
        {"127.0.0.1", "80", "", "Connect: No Protocol Specified"},
    };
    for (const auto& c : cases) {
        lv::TWSocket s(loop);
        s.SetAddr(c.addr);
        s.SetPort(c.port);
        s.SetProto(c.proto);
        try {
            s.Connect();
            ADD_FAILURE() << "no exception for " << c.message;
        } catch (const lv::ESocketException& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    ScriptedServer server({[](ScriptedServer::Peer& peer) { peer.WaitClosed(); }});
    socket.Connect("127.0.0.1", std::to_string(server.Port()));
    EXPECT_THROW(socket.Connect(), lv::ESocketException); // "Socket already in use"
    EXPECT_THROW(socket.SetPort("81"), lv::ESocketException);
    EXPECT_THROW(socket.DnsLookup(""), lv::ESocketException);
}

TEST_F(SocketTest, LookupResultsArriveLaterAndCancelledOnesNever) {
    int done = 0;
    socket.OnDnsLookupDone = [&](int error) {
        ++done;
        EXPECT_EQ(error, 0);
    };
    socket.DnsLookup("127.0.0.1");
    EXPECT_EQ(done, 0);
    ASSERT_TRUE(loop.RunUntil([&] { return done == 1; }, std::chrono::seconds(5)));
    EXPECT_EQ(socket.DnsResult(), "127.0.0.1");

    socket.DnsLookup("localhost");
    socket.CancelDnsLookup();
    {
        // A socket destroyed while its look-up runs must not be touched by the worker.
        lv::TWSocket doomed(loop);
        doomed.OnDnsLookupDone = [&](int) { ++done; };
        doomed.DnsLookup("localhost");
    }
    loop.ProcessPending(std::chrono::milliseconds(100));
    loop.ProcessPending(std::chrono::milliseconds(100));
    EXPECT_EQ(done, 1);
}

class TlsSocketTest : public SocketTest {
protected:
    lvtest::TempDir dir;
    lvtest::TestCertificates certs{dir.Path()};
};

TEST_F(TlsSocketTest, StartTlsSwitchesAConnectedSocket) {
    const auto pair = certs.Localhost();
    ScriptedServer server({[&](ScriptedServer::Peer& peer) {
        peer.Send("220 ready\r\n");
        peer.ReadUntil("STARTTLS\r\n");
        peer.Send("220 go ahead\r\n");
        if (peer.AcceptTls(pair.certFile, pair.keyFile)) {
            peer.ReadUntil("EHLO me\r\n");
            peer.Send("250 secret hello\r\n");
            peer.WaitClosed();
        }
    }});
    Record();
    socket.SetCaFile(certs.CaFile());
    socket.SetLineMode(true);
    socket.Connect("127.0.0.1", std::to_string(server.Port()));
    ASSERT_TRUE(loop.RunUntil([&] { return lines.size() == 1; }, std::chrono::seconds(5)));
    socket.SendStr("STARTTLS\r\n");
    ASSERT_TRUE(loop.RunUntil([&] { return lines.size() == 2; }, std::chrono::seconds(5)));
    socket.StartTls("localhost");
    socket.SendStr("EHLO me\r\n"); // queued until the handshake is done
    ASSERT_TRUE(WaitFor("Tls 0"));
    EXPECT_TRUE(socket.IsTls());
    ASSERT_TRUE(loop.RunUntil([&] { return lines.size() == 3; }, std::chrono::seconds(5)));
    EXPECT_EQ(lines.back(), "250 secret hello");
}

TEST_F(TlsSocketTest, DataSentBeforeTheHandshakeEndsGoesOutEncrypted) {
    const auto pair = certs.Localhost();
    ScriptedServer server({[&](ScriptedServer::Peer& peer) {
        if (peer.AcceptTls(pair.certFile, pair.keyFile) && peer.ReadUntil("one\r\ntwo\r\n")) {
            peer.Send("ok\r\n");
            peer.WaitClosed();
        }
    }});
    Record();
    socket.OnChangeState = [&](lv::SocketState, lv::SocketState now) {
        if (now == lv::SocketState::TlsHandshake) {
            socket.SendStr("two\r\n");
        }
    };
    socket.SetCaFile(certs.CaFile());
    socket.SetSslEnable(true);
    socket.Connect("localhost", std::to_string(server.Port()));
    socket.SendStr("one\r\n");
    ASSERT_TRUE(loop.RunUntil([&] { return !lines.empty(); }, std::chrono::seconds(10)));
    EXPECT_EQ(lines, Strings{"ok"});
    EXPECT_EQ(events.front(), "Connected 0");
}

TEST_F(TlsSocketTest, BadCertificatesAreRejectedWithTheReason) {
    struct Case {
        const char* name;
        lvtest::TestCertificates::Files files;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"wrong host name", certs.Issue("other", {"other.example"}),
         "TLS certificate verify failed: hostname mismatch"},
        {"unknown CA", certs.IssueByUnknownCa("stranger", {"localhost"}),
         "TLS certificate verify failed: unable to get local issuer certificate"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer server({[&](ScriptedServer::Peer& peer) {
            peer.AcceptTls(c.files.certFile, c.files.keyFile);
        }});
        lv::THttpCli cli(loop);
        cli.CaFile = certs.CaFile();
        cli.URL = "https://localhost:" + std::to_string(server.Port()) + "/";
        try {
            cli.Get();
            ADD_FAILURE() << "no exception";
        } catch (const lv::EHttpException& e) {
            EXPECT_EQ(e.ErrorCode(), 404);
            EXPECT_EQ(std::string(e.what()), c.reason + " (Error #12002)");
        }
        EXPECT_EQ(cli.RequestError(), lv::kTlsVerifyError);
    }
}

} // namespace
