// The browser link against a real headless Chromium, when one is installed: read the page it
// shows, then open a second page in it. Skipped where Chromium is missing or cannot start.
#include "HeadlessChromium.h"
#include "ScriptedServer.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include "platform/PollEventLoop.h"
#include "web/DevToolsTransport.h"
#include "web/TWwwDde.h"

#include <gtest/gtest.h>

#include <filesystem>

using lvtest::ScriptedServer;
using lvtest::chromium::Chromium;
using lvtest::chromium::OnlyLoopback;

namespace {

// Serves /second.html as the second page and anything else as the first.
ScriptedServer::Script Pages() {
    return [](ScriptedServer::Peer& peer) {
        const bool second = peer.ReadRequest().rfind("GET /second.html ", 0) == 0;
        const std::string title = second ? "Second Linkvane Page" : "First Linkvane Page";
        const std::string body =
            "<html><head><title>" + title + "</title></head><body>" + title + "</body></html>";
        peer.Send("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                  std::to_string(body.size()) + "\r\n\r\n" + body);
    };
}

TEST(ChromiumLink, ReadsTheShownPageAndOpensAnother) {
    const std::string program = "/usr/bin/chromium";
    if (access(program.c_str(), X_OK) != 0) {
        GTEST_SKIP() << "no Chromium at " << program << " (scripts/install-deps installs it)";
    }
    // A browser may reach out on its own whatever its flags: it runs only where it cannot.
    if (!OnlyLoopback()) {
        GTEST_SKIP() << "Chromium runs only in a network namespace with nothing but loopback "
                        "(ctest starts this test under tests/support/netns-run)";
    }
    ScriptedServer pages({Pages()});
    lvtest::TempDir profile;
    Chromium chromium;
    if (!chromium.Start(program, profile.Path().string(), pages.Url("/first.html"))) {
        GTEST_SKIP() << "Chromium did not start here: " << chromium.Output().substr(0, 400);
    }

    lv::PollEventLoop loop;
    lvtest::ScriptedDialogs dialogs;
    lv::DevToolsTransport transport(loop, chromium.Port());
    lv::TWwwDde link(transport, dialogs);
    link.ProgramPath = program;

    // The page loads while we ask; each question is one bounded round trip.
    const auto waitForTitle = [&](const std::string& expected, std::string& address) {
        std::string title;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < end) {
            if (link.GetWindowInfo(title, address) && title == expected) {
                return true;
            }
            loop.ProcessPending(std::chrono::milliseconds(100));
        }
        return false;
    };
    std::string address;
    ASSERT_TRUE(waitForTitle("First Linkvane Page", address));
    EXPECT_EQ(address, pages.Url("/first.html"));

    ASSERT_TRUE(link.OpenURL(pages.Url("/second.html")));
    ASSERT_TRUE(waitForTitle("Second Linkvane Page", address));
    EXPECT_EQ(address, pages.Url("/second.html"));
    EXPECT_TRUE(dialogs.Asked().empty());
}

} // namespace
