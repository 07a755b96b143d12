// A search site learnt from the address a real headless Chromium shows after a search on the
// engine's own page. Skipped where Chromium is missing or cannot start.
#include "HeadlessChromium.h"
#include "ScriptedServer.h"
#include "platform/PollEventLoop.h"
#include "store/TIniFile32.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "tools/TSearchForm.h"
#include "web/DevToolsTransport.h"
#include "web/TWwwDde.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using lvtest::ScriptedServer;

ScriptedServer::Script ResultsPage() {
    return [](ScriptedServer::Peer& peer) {
        peer.ReadRequest();
        const std::string body = "<html><head><title>Find Engine</title></head><body>results"
                                 "</body></html>";
        peer.Send("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                  std::to_string(body.size()) + "\r\n\r\n" + body);
    };
}

TEST(SearchSiteFromChromium, AddCutsTheShownAddressAtTheTopic) {
    const std::string program = "/usr/bin/chromium";
    if (access(program.c_str(), X_OK) != 0) {
        GTEST_SKIP() << "no Chromium at " << program << " (scripts/install-deps installs it)";
    }
    if (!lvtest::chromium::OnlyLoopback()) {
        GTEST_SKIP() << "Chromium runs only in a network namespace with nothing but loopback "
                        "(ctest starts this test under tests/support/netns-run)";
    }
    ScriptedServer pages({ResultsPage()});
    const std::string shown = pages.Url("/search?q=blue+car&lang=en");
    lvtest::TempDir profile;
    lvtest::chromium::Chromium chromium;
    if (!chromium.Start(program, profile.Path().string(), shown)) {
        GTEST_SKIP() << "Chromium did not start here: " << chromium.Output().substr(0, 400);
    }

    lv::PollEventLoop loop;
    lvtest::ScriptedDialogs dialogs;
    lv::DevToolsTransport transport(loop, chromium.Port());
    {
        // Wait until the page has loaded: its title is what the window proposes.
        lv::TWwwDde link(transport, dialogs);
        link.ProgramPath = program;
        std::string title;
        std::string address;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!(link.GetWindowInfo(title, address) && title == "Find Engine") &&
               std::chrono::steady_clock::now() < end) {
            loop.ProcessPending(std::chrono::milliseconds(100));
        }
        ASSERT_EQ(title, "Find Engine");
    }

    lvtest::TempDir dir;
    lvtest::WriteBytes(dir.File("LVD.INI"),
                       "[Browser]\r\nDebugPort=" + std::to_string(chromium.Port()) + "\r\n");
    lv::TSearchForm form(dialogs);
    lv::TSearchForm::Context context;
    context.settingsFile = dir.File("LVD.INI");
    context.programDir = dir.Path().string() + "/";
    context.browserPath = program;
    context.browser = &transport;
    form.FormActivate(context);
    form.SearchText1 = "blue car";
    form.AddButton1Click();
    EXPECT_EQ(form.SiteName1, "Find Engine");
    form.AddButton1Click();

    const lv::TIniFile32 ise(dir.File("Disk.ISE"));
    EXPECT_EQ(ise.ReadString("Sites", "1", ""), "Find Engine");
    EXPECT_EQ(ise.ReadString("Sites", "Find Engine1", ""), pages.Url("/search?q="));
    EXPECT_EQ(ise.ReadString("Sites", "Find Engine2", ""), "&lang=en");
    EXPECT_TRUE(dialogs.Asked().empty());
}

} // namespace
