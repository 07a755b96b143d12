// The browser link's own logic over a scripted conversation: service names, address
// normalisation, reply parsing, the activation retries and the messages.
#include "support/ScriptedDialogs.h"

#include "web/TWwwDde.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

// Answers Connect and Request from queues and records the conversation.
class ScriptedTransport : public lv::BrowserTransport {
public:
    std::deque<bool> connects;
    std::deque<std::optional<std::string>> replies;
    std::vector<std::string> log;

    bool Connect(const std::string& service, const std::string& topic) override {
        const bool ok = !connects.empty() && connects.front();
        if (!connects.empty()) {
            connects.pop_front();
        }
        log.push_back("connect " + service + " " + topic + (ok ? "" : " refused"));
        return ok;
    }
    std::optional<std::string> Request(const std::string& item,
                                       std::chrono::milliseconds timeout) override {
        log.push_back("request " + item + " " + std::to_string(timeout.count()));
        auto reply = replies.empty() ? std::nullopt : replies.front();
        if (!replies.empty()) {
            replies.pop_front();
        }
        return reply;
    }
    void Disconnect() override { log.push_back("disconnect"); }
};

class Link : public ::testing::Test {
protected:
    ScriptedTransport transport;
    lvtest::ScriptedDialogs dialogs;
    lv::TWwwDde dde{transport, dialogs};
    std::vector<bool> cursor;

    void SetUp() override {
        dde.ProgramPath = "/usr/lib/chromium/chromium.bin.real";
        dde.OnBusy = [this](bool busy) { cursor.push_back(busy); };
    }
};

TEST(LinkText, ServiceBetweenAndNormalisation) {
    EXPECT_EQ(lv::TWwwDde::ServiceName("/opt/web/browser.v2.exe"), "browser");
    EXPECT_EQ(lv::TWwwDde::ServiceName("C:\\Program Files\\Web\\Iexplore.exe"), "Iexplore");
    EXPECT_EQ(lv::TWwwDde::ServiceName("/usr/bin/firefox"), "firefox");

    EXPECT_EQ(lv::TWwwDde::Between("a\"b\"c", "\"", "\""), "b");
    EXPECT_EQ(lv::TWwwDde::Between("abc", "", "c"), "ab");
    EXPECT_EQ(lv::TWwwDde::Between("abc", "a", ""), "bc");
    EXPECT_EQ(lv::TWwwDde::Between("abc", "x", ""), "");
    EXPECT_EQ(lv::TWwwDde::Between("abc", "a", "x"), "");
    const std::string longUrl = "http://example.com/" + std::string(400, 'p');
    EXPECT_EQ(lv::TWwwDde::Between("\"" + longUrl + "\",\"T\"", "\"", "\""), longUrl);

    const struct {
        const char* address;
        const char* expected;
    } cases[] = {
        {"HTTP://Example.COM/Path/Page.html", "http://Example.COM/Path/Page.html"},
        {"http://example.com", "http://example.com/"},
        {"example.com/page", "http:///example.com/page"},
        {"file:///home/user/a.html", "file:///home/user/a.html"},
        {"Https://a.org/x?q=1", "https://a.org/x?q=1"},
        {"", "http:///"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lv::TWwwDde::NormaliseAddress(c.address), c.expected) << c.address;
    }
}

TEST_F(Link, GetWindowInfoTakesAddressAndBracketedTitle) {
    const struct {
        std::optional<std::string> reply;
        bool ok;
        const char* address;
        const char* title;
    } cases[] = {
        {"\"http://a.org/\",\"Browser - [Page One]\",\"x\"", true, "http://a.org/", "Page One"},
        {"\"http://a.org/\",\"Plain title\",\"\"", true, "http://a.org/", "Plain title"},
        {std::nullopt, false, "", ""},
        {"", false, "", ""},
    };
    for (const auto& c : cases) {
        transport.connects = {true};
        transport.replies = {c.reply};
        std::string title = "old", address = "old";
        EXPECT_EQ(dde.GetWindowInfo(title, address), c.ok);
        EXPECT_EQ(address, c.address);
        EXPECT_EQ(title, c.title);
    }
    EXPECT_EQ(transport.log.front(), "connect chromium WWW_GetWindowInfo");
    EXPECT_EQ(transport.log[1], "request 0xFFFFFFFF 1000");
    EXPECT_EQ(transport.log[2], "disconnect");
    EXPECT_EQ(cursor.size(), 8u);
    EXPECT_FALSE(cursor.back());
    EXPECT_TRUE(dialogs.Asked().empty());
}

TEST_F(Link, OpenUrlActivatesThenSendsTheNormalisedAddress) {
    transport.connects = {false, false, true, true};
    transport.replies = {"1", "7"};
    EXPECT_TRUE(dde.OpenURL("HTTP://a.org/x"));
    const std::vector<std::string> expected = {
        "connect chromium WWW_Activate refused",
        "connect chromium WWW_Activate refused",
        "connect chromium WWW_Activate",
        "request 0xFFFFFFFF,0x0 1000",
        "disconnect",
        "connect chromium WWW_OpenURL",
        "request \"http://a.org/x\",,0xFFFFFFFF,0x0,,,, 1000",
        "disconnect",
    };
    EXPECT_EQ(transport.log, expected);
    EXPECT_TRUE(dialogs.Asked().empty());
}

TEST_F(Link, AddressWithHiddenCharactersIsRefusedBeforeAnyConversation) {
    transport.connects = {true, true};
    transport.replies = {"1", "7"};
    EXPECT_FALSE(dde.OpenURL("http://a.org/&#8238;gpj.exe"));
    EXPECT_TRUE(transport.log.empty());
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].text.find("http://a.org/<U+202E>gpj.exe"), std::string::npos);
}

TEST_F(Link, FailuresAndTheirMessages) {
    // No browser: six attempts, then the configuration message.
    EXPECT_FALSE(dde.OpenURL("http://a.org/"));
    EXPECT_EQ(transport.log.size(), 6u);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text,
              "/usr/lib/chromium/chromium.bin.real does not answer.  For launches into the current "
              "browser window, start the browser with its debugging port, for example:\r\n\r\n"
              "    chromium --remote-debugging-port=9222\r\n\r\nThe port is DebugPort in the "
              "[Browser] section of the settings file.");
    EXPECT_EQ(dialogs.Messages()[0].kind, lv::MsgKind::Error);
    EXPECT_EQ(cursor, (std::vector<bool>{true, false}));

    // Activated, but the open conversation is refused.
    transport.connects = {true, false};
    EXPECT_FALSE(dde.OpenURL("http://a.org/"));
    EXPECT_EQ(dialogs.Messages().back().text, "Could not open link");

    // The browser's error reply, shown with its first four bytes; a short one reads zeros.
    transport.connects = {true, true, true, true};
    transport.replies = {"1", std::string("\xFF\x01\x0A\x00", 4), "1", std::string("\xFF", 1)};
    EXPECT_FALSE(dde.OpenURL("http://a.org/"));
    EXPECT_EQ(dialogs.Messages().back().text, "Error ff1a0");
    EXPECT_FALSE(dde.OpenURL("http://a.org/"));
    EXPECT_EQ(dialogs.Messages().back().text, "Error ff000");

    // Without a program path nothing is asked of anyone.
    transport.log.clear();
    dde.ProgramPath.clear();
    std::string title, address;
    EXPECT_FALSE(dde.Activate());
    EXPECT_FALSE(dde.OpenURL("http://a.org/"));
    EXPECT_FALSE(dde.GetWindowInfo(title, address));
    EXPECT_TRUE(transport.log.empty());
    EXPECT_EQ(dialogs.Messages().size(), 4u);
}

TEST_F(Link, RequestNeedsAnOpenConversation) {
    EXPECT_FALSE(dde.Request("0xFFFFFFFF"));
    EXPECT_TRUE(transport.log.empty());
}

} // namespace
