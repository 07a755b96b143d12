// Hostile servers: whatever a server sends, or fails to send, the request ends in bounded time
// with exactly one OnRequestDone and a status a user can read, and nothing the server said is
// written into a later request.
#include "HttpCliProbe.h"
#include "ScriptedServer.h"
#include "support/Nginx.h"

#include "platform/PollEventLoop.h"
#include "web/THttpCli.h"

#include <gtest/gtest.h>

using lvtest::HttpCliProbe;
using lvtest::ScriptedServer;
using Peer = ScriptedServer::Peer;
using Scripts = std::vector<ScriptedServer::Script>;
using namespace std::chrono_literals;

namespace {

constexpr auto kDeadline = 300ms;
constexpr std::int64_t kDocumentLimit = 256 * 1024;
const std::string kTimedOut = "no complete answer within 300 ms";

// Sends first, then unit every 20 ms until the client goes away.
ScriptedServer::Script Trickle(std::string first, std::string unit) {
    return [first, unit](Peer& peer) {
        peer.ReadRequest();
        peer.Send(first);
        while (!peer.WaitClosed(20ms)) {
            peer.Send(unit);
        }
    };
}

// Sends bytes and then keeps the connection open until the client closes it.
ScriptedServer::Script Hold(std::string bytes) {
    return [bytes](Peer& peer) {
        peer.ReadRequest();
        peer.Send(bytes);
        peer.WaitClosed(10s);
    };
}

// Sends header, then block after block as fast as the client takes them.
ScriptedServer::Script Flood(std::string header, std::string block) {
    return [header, block](Peer& peer) {
        peer.ReadRequest();
        peer.Send(header);
        for (int i = 0; i < 10000 && !peer.WaitClosed(0ms); ++i) {
            peer.Send(block);
        }
    };
}

ScriptedServer::Script Relocate(const std::string& location) {
    return ScriptedServer::Reply("HTTP/1.0 302 Found\r\nLocation: " + location + "\r\n\r\n");
}

struct Case {
    const char* name;
    // Scripts of the server asked first; other is the address of a second server.
    std::function<Scripts(const std::string& other)> first;
    Scripts second;
    int status;
    std::string reason;        // the whole reason phrase, or its beginning
    std::string document = {}; // the document that arrived, for the answers taken
    int firstConnections = -1; // connections the first server saw (-1: any number)
};

TEST(HttpCliHostile, EveryServerEndsInBoundedTimeWithAReadableStatus) {
    const std::string filler(16384, 'z');
    const std::string chunked = "4000\r\n" + filler + "\r\n";
    std::string firstUrl; // for the second server, which relocates back to the first
    const std::vector<Case> cases = {
        // Silence and trickles: only the deadline ends them.
        {"silent, request never read",
         [](auto&) { return Scripts{[](Peer& p) { p.WaitClosed(10s); }}; },
         {},
         404,
         kTimedOut},
        {"request read, no answer", [](auto&) { return Scripts{Hold("")}; }, {}, 404, kTimedOut},
        {"status line trickled",
         [](auto&) { return Scripts{Trickle("HTTP/1.0 2", "0")}; },
         {},
         404,
         kTimedOut},
        {"header lines trickled",
         [](auto&) { return Scripts{Trickle("HTTP/1.0 200 OK\r\n", "X-A: 1\r\n")}; },
         {},
         404,
         kTimedOut},
        {"body trickled without end",
         [](auto&) { return Scripts{Trickle("HTTP/1.0 200 OK\r\n\r\n", "x")}; },
         {},
         404,
         kTimedOut},
        {"body trickled under a Content-Length",
         [](auto&) {
             return Scripts{Trickle("HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n", "x")};
         },
         {},
         404,
         kTimedOut},
        {"half a header, then silence",
         [](auto&) { return Scripts{Hold("HTTP/1.0 200 OK\r\nContent-Ty")}; },
         {},
         404,
         kTimedOut},
        {"whole answer, connection never closed",
         [](auto&) { return Scripts{Hold("HTTP/1.0 200 OK\r\n\r\nbody")}; },
         {},
         404,
         kTimedOut},
        {"page without a header, connection never closed",
         [](auto&) { return Scripts{Hold("<html><body>hi")}; },
         {},
         404,
         kTimedOut},
        // Content-Length that lies, both ways.
        {"Content-Length longer than the body, never closed",
         [](auto&) { return Scripts{Hold("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc")}; },
         {},
         404,
         kTimedOut},
        {"Content-Length longer than the body, closed",
         [](auto&) {
             return Scripts{
                 ScriptedServer::Reply("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc")};
         },
         {},
         404,
         "connection closed after 3 of 10 bytes of the document"},
        {"Content-Length shorter than the body, never closed",
         [](auto&) {
             return Scripts{Hold("HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabcdefghij")};
         },
         {},
         200,
         "OK",
         "abc"},
        {"Content-Length not a number: read to the end",
         [](auto&) {
             return Scripts{
                 ScriptedServer::Reply("HTTP/1.0 200 OK\r\nContent-Length: 3x\r\n\r\nabcdef")};
         },
         {},
         200,
         "OK",
         "abcdef"},
        {"Content-Length beyond the limit",
         [](auto&) {
             return Scripts{Hold("HTTP/1.0 200 OK\r\nContent-Length: 999999999999\r\n\r\nab")};
         },
         {},
         404,
         "document too large (999999999999 bytes announced"},
        // Documents without end.
        {"endless body",
         [&](auto&) { return Scripts{Flood("HTTP/1.0 200 OK\r\n\r\n", filler)}; },
         {},
         404,
         "document too large (more than 262144 bytes)"},
        {"endless chunked body",
         [&](auto&) {
             return Scripts{
                 Flood("HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", chunked)};
         },
         {},
         404,
         "document too large (more than 262144 bytes)"},
        // Status lines that are none.
        {"no status line",
         [](auto&) { return Scripts{ScriptedServer::Reply("Server: x\r\n\r\nbody")}; },
         {},
         404,
         "the server's answer has no valid status line"},
        {"status code not a number",
         [](auto&) { return Scripts{ScriptedServer::Reply("HTTP/1.0 abc OK\r\n\r\nbody")}; },
         {},
         404,
         "the server's answer has no valid status line"},
        {"status code below 100",
         [](auto&) { return Scripts{ScriptedServer::Reply("HTTP/1.0 099 Low\r\n\r\nbody")}; },
         {},
         404,
         "the server's answer has no valid status line"},
        {"unknown protocol version",
         [](auto&) { return Scripts{ScriptedServer::Reply("HTTP/2 200 OK\r\n\r\nbody")}; },
         {},
         404,
         "the server's answer has no valid status line"},
        {"reset before the answer",
         [](auto&) {
             return Scripts{[](Peer& p) {
                 p.ReadRequest();
                 p.Reset();
             }};
         },
         {},
         404,
         "Connection reset by peer (Error #10054)"},
        // Line breaks meant for the next request.
        {"CR inside Location",
         [](auto&) {
             return Scripts{Relocate("/next\rX-Evil: 1"), Relocate("/next")};
         },
         {},
         404,
         "relocation not followed: the address holds a line break",
         "",
         1},
        {"NUL inside Location",
         [](auto&) {
             return Scripts{Relocate(std::string("/next\0X-Evil: 1", 15)), Relocate("/next")};
         },
         {},
         404,
         "relocation not followed: the address holds a line break",
         "",
         1},
        {"CR inside a Content-Range that the next request would repeat",
         [](auto&) {
             return Scripts{
                 ScriptedServer::Reply("HTTP/1.0 302 Found\r\nContent-Range: bytes 0\rX-Evil: "
                                       "1-5/9\r\nLocation: /next\r\n\r\n"),
                 ScriptedServer::Reply("HTTP/1.0 200 OK\r\n\r\nX-Evil")};
         },
         {},
         404,
         "request not sent: the Range value holds a line break"},
        // Relocations.
        {"relocation loop between two servers",
         [](const std::string& other) { return Scripts{Relocate(other + "/back")}; },
         {[&](Peer& p) { Relocate(firstUrl + "/again")(p); }},
         404,
         "too many relocations (more than 20 in a row)"},
        {"relocations that each answer slowly",
         [](auto&) {
             return Scripts{[](Peer& p) {
                 p.ReadRequest();
                 p.WaitClosed(40ms);
                 p.Send("HTTP/1.0 302 Found\r\nLocation: /again\r\n\r\n");
             }};
         },
         {},
         404,
         kTimedOut},
        {"relocation to a silent server on another port",
         [](const std::string& other) { return Scripts{Relocate(other + "/x")}; },
         {Hold("")},
         404,
         kTimedOut},
        {"relocation to a closed port",
         [](auto&) {
             return Scripts{
                 Relocate("http://127.0.0.1:" + std::to_string(lvtest::FreeLocalPort()) + "/")};
         },
         {},
         404,
         "Connection refused (Error #10061)"},
        {"relocation to another scheme",
         [](auto&) { return Scripts{Relocate("ftp://127.0.0.1/file")}; },
         {},
         404,
         "relocation not followed: only http and https addresses are followed",
         "",
         1},
        {"relocation with a bad port",
         [](auto&) { return Scripts{Relocate("http://127.0.0.1:99999/")}; },
         {},
         404,
         "relocation not followed: the address has a bad port",
         "",
         1},
        {"relocation to a name that cannot exist",
         [](auto&) { return Scripts{Relocate("http://nowhere.invalid/x")}; },
         {},
         404,
         "can't resolve hostname to IP address",
         "",
         1},
    };

    lv::PollEventLoop loop;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer second(c.second);
        const std::string otherUrl = "http://127.0.0.1:" + std::to_string(second.Port());
        ScriptedServer first(c.first(otherUrl));
        firstUrl = "http://127.0.0.1:" + std::to_string(first.Port());

        lv::THttpCli cli(loop);
        HttpCliProbe probe(cli);
        probe.recordDocData = false;
        cli.RequestTimeout = kDeadline;
        cli.MaxDocumentBytes = kDocumentLimit;
        cli.URL = first.Url("/start");
        const auto start = std::chrono::steady_clock::now();
        cli.GetAsync();
        ASSERT_TRUE(probe.WaitDone(loop, 5s));
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
        loop.ProcessPending(20ms); // nothing may follow the one OnRequestDone
        EXPECT_EQ(probe.doneCount, 1);
        EXPECT_EQ(cli.State(), lv::THttpState::httpReady);
        EXPECT_EQ(cli.StatusCode(), c.status);
        EXPECT_EQ(cli.ReasonPhrase().substr(0, c.reason.size()), c.reason) << cli.ReasonPhrase();
        if (c.reason == kTimedOut) {
            EXPECT_EQ(cli.RequestError(), 10060);
        }
        if (c.status == 200) {
            EXPECT_EQ(probe.document, c.document);
        }
        if (c.firstConnections >= 0) {
            EXPECT_EQ(first.Connections(), c.firstConnections);
        }
        for (const auto* server : {&first, &second}) {
            for (const auto& request : server->Received()) {
                EXPECT_EQ(request.find("X-Evil"), std::string::npos) << request;
            }
        }
    }
}

} // namespace
