// The browser link over the DevTools endpoints, against a scripted peer on 127.0.0.1 that
// answers like a browser's debugging port: exact requests, replies in the link's format, a
// browser that is not there and one that does not answer.
#include "ScriptedServer.h"
#include "support/ScriptedDialogs.h"

#include "platform/PollEventLoop.h"
#include "web/DevToolsTransport.h"
#include "web/TWwwDde.h"

#include <gtest/gtest.h>

using lvtest::ScriptedServer;

namespace {

std::string JsonReply(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=UTF-8\r\n"
           "Content-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

// Replies and keeps the connection open until the client goes, as the browser may.
ScriptedServer::Script KeepOpen(std::string bytes) {
    return [bytes](ScriptedServer::Peer& peer) {
        peer.ReadRequest();
        peer.Send(bytes);
        peer.WaitClosed();
    };
}

const std::string kList = R"([ {
   "description": "",
   "id": "SW1",
   "title": "Service Worker",
   "type": "service_worker",
   "url": "https://a.org/sw.js"
}, {
   "description": "",
   "devtoolsFrontendUrl": "/devtools/inspector.html?ws=127.0.0.1/devtools/page/P1",
   "faviconUrl": "https://a.org/favicon.ico",
   "id": "P1",
   "parentId": null,
   "options": {"nested": [1, 2.5e3, true, {"x": "y"}]},
   "title": "Caf\u00e9 \u4e2d \"News\"",
   "type": "page",
   "url": "https://a.org/news?id=1&x=\u00e9&q=\"a\""
}, {
   "id": "P2", "title": "Older", "type": "page", "url": "https://b.org/"
} ]
)";

class DevTools : public ::testing::Test {
protected:
    lv::PollEventLoop loop;
    lvtest::ScriptedDialogs dialogs;
    std::unique_ptr<lv::DevToolsTransport> transport;
    std::unique_ptr<lv::TWwwDde> dde;

    void Use(int port) {
        transport = std::make_unique<lv::DevToolsTransport>(loop, port);
        dde = std::make_unique<lv::TWwwDde>(*transport, dialogs);
        dde->ProgramPath = "/usr/bin/chromium";
    }
    std::string Get(const std::string& path) const {
        return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(transport->Port()) +
               "\r\nConnection: close\r\n\r\n";
    }
};

TEST_F(DevTools, WindowInfoIsTheFirstPageInTheLinksFormat) {
    ScriptedServer server({KeepOpen(JsonReply(kList))});
    Use(server.Port());
    std::string title, address;
    ASSERT_TRUE(dde->GetWindowInfo(title, address));
    EXPECT_EQ(address, "https://a.org/news?id=1&x=\xE9&q=%22a%22");
    // Windows-1252 for what it holds, a reference for the rest; a double quote would end the
    // title early, so it arrives as an apostrophe.
    EXPECT_EQ(title, "Caf\xE9 &#20013; 'News'");
    EXPECT_EQ(server.Received(), std::vector<std::string>{Get("/json/list")});
}

TEST_F(DevTools, OpenUrlPutsANewTabAndActivatesIt) {
    ScriptedServer server({
        ScriptedServer::Reply(JsonReply(kList)),
        KeepOpen("HTTP/1.1 200 OK\r\nContent-Length: 16\r\n\r\nTarget activated"),
        ScriptedServer::Reply(JsonReply(kList)),
        KeepOpen(JsonReply(R"({"id": "NEW7", "type": "page", "url": "about:blank"})")),
        ScriptedServer::Reply("HTTP/1.1 200 OK\r\nContent-Length: 16\r\n\r\nTarget activated"),
    });
    Use(server.Port());
    ASSERT_TRUE(dde->OpenURL("HTTP://a.org/x?q=1 &b#top"));
    const std::vector<std::string> expected = {
        Get("/json/list"),
        Get("/json/activate/P1"),
        Get("/json/list"),
        "PUT /json/new?http://a.org/x%3Fq%3D1%20%26b%23top HTTP/1.1\r\nHost: 127.0.0.1:" +
            std::to_string(server.Port()) + "\r\nConnection: close\r\nContent-Length: 0\r\n\r\n",
        Get("/json/activate/NEW7"),
    };
    EXPECT_EQ(server.Received(), expected);
    EXPECT_TRUE(dialogs.Asked().empty());
}

TEST_F(DevTools, AddressWithHiddenCharactersNeverReachesTheBrowser) {
    ScriptedServer server({ScriptedServer::Reply(JsonReply(kList))});
    Use(server.Port());
    ASSERT_TRUE(transport->Connect("chromium", "WWW_OpenURL"));
    EXPECT_EQ(transport->Request("\"http://a.org/&#8238;gpj.exe\",,0xFFFFFFFF,0x0,,,,",
                                 std::chrono::milliseconds(1000)),
              std::nullopt);
    transport->Disconnect();
    EXPECT_EQ(server.Received(), std::vector<std::string>{Get("/json/list")});
}

TEST_F(DevTools, RefusedNewTabLetsTheCallerStartABrowser) {
    ScriptedServer server({
        ScriptedServer::Reply(JsonReply("[]")),
        ScriptedServer::Reply(JsonReply("[]")),
        ScriptedServer::Reply("HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\n\r\n"),
    });
    Use(server.Port());
    EXPECT_FALSE(dde->OpenURL("http://a.org/"));
    EXPECT_EQ(server.Connections(), 3);
    EXPECT_TRUE(dialogs.Asked().empty());
    std::string title, address;
    EXPECT_FALSE(dde->GetWindowInfo(title, address)); // no page to report
}

TEST_F(DevTools, NoBrowserListening) {
    int port = 0;
    {
        ScriptedServer gone({ScriptedServer::Reply("")});
        port = gone.Port();
    }
    Use(port);
    std::string title, address;
    EXPECT_FALSE(dde->GetWindowInfo(title, address));
    EXPECT_TRUE(dialogs.Asked().empty());
    EXPECT_FALSE(dde->OpenURL("http://a.org/"));
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text,
              lv::TWwwDde::NotAnsweringText("/usr/bin/chromium", dde->DebugPort));
}

TEST_F(DevTools, SilentPeerYieldsNoReplyWithinTheTimeOut) {
    ScriptedServer server({[](ScriptedServer::Peer& peer) {
        peer.ReadRequest();
        peer.WaitClosed(std::chrono::seconds(10));
    }});
    Use(server.Port());
    const auto start = std::chrono::steady_clock::now();
    std::string title, address;
    EXPECT_FALSE(dde->GetWindowInfo(title, address));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(900));
    EXPECT_LT(took, std::chrono::seconds(5));
}

TEST(DevToolsJson, HostileOrBrokenAnswersAreRefused) {
    const std::string deep = std::string(100, '[') + std::string(100, ']');
    const char* bad[] = {
        "",       "null", "[", "[{]", "[{\"a\":}]", "[{\"a\":\"b}]", "[{\"a\":\"\\u12\"}]",
        "[{}] x", "[1]"};
    for (const char* text : bad) {
        EXPECT_FALSE(lv::DevToolsTransport::ParseObjects(text)) << text;
    }
    EXPECT_FALSE(lv::DevToolsTransport::ParseObjects("[{\"a\":" + deep + "}]"));
    const auto ok = lv::DevToolsTransport::ParseObjects(R"([{"a":"\ud83d\ude00\ud800x"}, {}])");
    ASSERT_TRUE(ok);
    ASSERT_EQ(ok->size(), 2u);
    EXPECT_EQ(ok->at(0).at("a"), "\xF0\x9F\x98\x80\xEF\xBF\xBDx");
}

} // namespace
