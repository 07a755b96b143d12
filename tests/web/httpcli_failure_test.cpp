// Transport failures and hostile servers: each ends in exactly one OnRequestDone with status 404
// and a reason a user can read.
#include "HttpCliProbe.h"
#include "ScriptedServer.h"
#include "support/Nginx.h"

#include "platform/PollEventLoop.h"
#include "web/HostResolver.h"
#include "web/THttpCli.h"
#include "web/TWSocket.h"

#include <gtest/gtest.h>

using lvtest::HttpCliProbe;
using lvtest::ScriptedServer;

namespace {

class HttpCliFailure : public ::testing::Test {
protected:
    lv::PollEventLoop loop;
    lv::THttpCli cli{loop};
    HttpCliProbe probe{cli};

    void Fetch(const std::string& url, std::chrono::milliseconds bound = std::chrono::seconds(10)) {
        cli.URL = url;
        cli.GetAsync();
        ASSERT_TRUE(probe.WaitDone(loop, bound));
        // Nothing else may follow the one OnRequestDone.
        loop.ProcessPending(std::chrono::milliseconds(20));
        EXPECT_EQ(probe.doneCount, 1);
        EXPECT_EQ(cli.State(), lv::THttpState::httpReady);
    }
};

TEST_F(HttpCliFailure, UnresolvableHostIsNotFound) {
    // Names under ".invalid" never exist: they are answered here, no name server is asked.
    const auto asked = lv::HostResolver::SystemLookups();
    Fetch("http://no-such-host.invalid/page.htm", std::chrono::seconds(5));
    EXPECT_EQ(lv::HostResolver::SystemLookups(), asked);
    EXPECT_EQ(cli.StatusCode(), 404);
    EXPECT_EQ(cli.ReasonPhrase(), "can't resolve hostname to IP address");
    EXPECT_GE(cli.RequestError(), 11001);
    try {
        cli.Get();
        FAIL() << "no exception";
    } catch (const lv::EHttpException& e) {
        EXPECT_STREQ(e.what(), "can't resolve hostname to IP address");
        EXPECT_EQ(e.ErrorCode(), 404);
    }
}

TEST(HostResolverNames, InvalidNamesAreAnsweredWithoutTheSystemResolver) {
    lv::PollEventLoop loop;
    const auto asked = lv::HostResolver::SystemLookups();
    for (const std::string name : {"a.invalid", "Deep.Sub.INVALID", "x.invalid.", "invalid"}) {
        int error = -1;
        auto lookup = lv::HostResolver::Start(loop, name, [&](int e, const std::string& address) {
            error = e;
            EXPECT_EQ(address, "");
        });
        EXPECT_TRUE(loop.RunUntil([&] { return error != -1; }, std::chrono::seconds(5))) << name;
        EXPECT_EQ(error, 11001) << name;
    }
    EXPECT_EQ(lv::HostResolver::SystemLookups(), asked);
    for (const std::string name : {"invalid.example", "notinvalid", "a.invalid.example", ""}) {
        EXPECT_FALSE(lv::HostResolver::IsInvalidName(name)) << name;
    }
}

TEST_F(HttpCliFailure, RefusedConnectionCarriesTheWinsockText) {
    Fetch("http://127.0.0.1:" + std::to_string(lvtest::FreeLocalPort()) + "/");
    EXPECT_EQ(cli.StatusCode(), 404);
    EXPECT_EQ(cli.ReasonPhrase(), "Connection refused (Error #10061)");
    EXPECT_EQ(probe.lastError, 10061);
}

TEST_F(HttpCliFailure, EmptyHostRaisesAndLeavesTheClientUsable) {
    cli.URL = "http:///page";
    EXPECT_THROW(
        {
            try {
                cli.GetAsync();
            } catch (const lv::ESocketException& e) {
                EXPECT_STREQ(e.what(), "DNS lookup: invalid host name.");
                throw;
            }
        },
        lv::ESocketException);
    EXPECT_EQ(cli.State(), lv::THttpState::httpReady);
}

TEST_F(HttpCliFailure, AbortDuringLookupGivesOneRequestDone) {
    cli.URL = "http://localhost:1/";
    cli.GetAsync();
    ASSERT_EQ(cli.State(), lv::THttpState::httpDnsLookup);
    cli.Abort();
    ASSERT_TRUE(probe.WaitDone(loop));
    loop.ProcessPending(std::chrono::milliseconds(50)); // a late look-up result must not count
    EXPECT_EQ(probe.doneCount, 1);
    EXPECT_EQ(probe.lastError, 3);
    EXPECT_EQ(cli.StatusCode(), 404);
    EXPECT_EQ(cli.ReasonPhrase(), "Connection aborted on request");
}

TEST(HttpCliLifetime, ClientDestroyedDuringLookupIsSafe) {
    lv::PollEventLoop loop;
    for (int i = 0; i < 20; ++i) {
        auto cli = std::make_unique<lv::THttpCli>(loop);
        cli->URL = "http://localhost:1/";
        cli->GetAsync();
        cli.reset();
        loop.ProcessPending(std::chrono::milliseconds(1));
    }
    loop.ProcessPending(std::chrono::milliseconds(50));
}

TEST_F(HttpCliFailure, AbortDuringEndlessBodyStopsTheTransfer) {
    ScriptedServer server({[](ScriptedServer::Peer& peer) {
        peer.ReadRequest();
        peer.Send("HTTP/1.0 200 OK\r\n\r\n");
        const std::string chunk(16384, 'z');
        for (int i = 0; i < 100000 && !peer.WaitClosed(std::chrono::milliseconds(0)); ++i) {
            peer.Send(chunk);
        }
    }});
    probe.recordDocData = false;
    cli.OnDocData = [&](lv::THttpCli& c, const char*, std::size_t) {
        if (c.ReceivedCount() > 200000) {
            c.Abort();
        }
    };
    Fetch(server.Url("/stream"));
    EXPECT_EQ(probe.lastError, 3);
    EXPECT_EQ(cli.StatusCode(), 404);
    EXPECT_EQ(probe.Only("DocEnd").size(), 1u);
}

TEST_F(HttpCliFailure, HostileRepliesEndWithAReason) {
    struct Case {
        const char* name;
        ScriptedServer::Script script;
        std::string reason;
    };
    const std::string endless = [] {
        std::string lines;
        while (lines.size() < 1100 * 1024) {
            lines += "X-Filler: 0123456789abcdef\r\n";
        }
        return lines;
    }();
    const std::vector<Case> cases = {
        {"endless header",
         [&](ScriptedServer::Peer& peer) {
             peer.ReadRequest();
             peer.Send("HTTP/1.0 200 OK\r\n" + endless);
         },
         "HTTP header too large"},
        {"reset mid-header",
         [](ScriptedServer::Peer& peer) {
             peer.ReadRequest();
             peer.Send("HTTP/1.0 200 OK\r\nContent-");
             peer.Reset();
         },
         "Connection reset by peer (Error #10054)"},
        {"closed mid-header", ScriptedServer::Reply("HTTP/1.0 200 OK\r\nContent-Type: text/"),
         "connection closed before the response header was complete"},
        {"closed without a byte", ScriptedServer::Reply(""),
         "connection closed before the response header was complete"},
        {"reset mid-body",
         [](ScriptedServer::Peer& peer) {
             peer.ReadRequest();
             peer.Send("HTTP/1.0 200 OK\r\n\r\npartial");
             peer.Reset();
         },
         "Connection reset by peer (Error #10054)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = probe.doneCount;
        ScriptedServer server({c.script});
        cli.URL = server.Url("/");
        cli.GetAsync();
        ASSERT_TRUE(probe.WaitDone(loop));
        EXPECT_EQ(probe.doneCount, before + 1);
        EXPECT_EQ(cli.StatusCode(), 404);
        EXPECT_EQ(cli.ReasonPhrase(), c.reason);
    }
}

TEST_F(HttpCliFailure, SlowDripIsEndedByTheCallersTimer) {
    ScriptedServer server({[](ScriptedServer::Peer& peer) {
        peer.ReadRequest();
        peer.Send("HTTP/1.0 200 OK\r\n");
        while (!peer.WaitClosed(std::chrono::milliseconds(20))) {
            peer.Send("X");
        }
    }});
    cli.URL = server.Url("/");
    cli.GetAsync();
    loop.StartTimer(std::chrono::milliseconds(300), false, [&] { cli.Abort(); });
    ASSERT_TRUE(probe.WaitDone(loop));
    EXPECT_EQ(probe.doneCount, 1);
    EXPECT_EQ(probe.lastError, 3);
}

} // namespace
