// A click on a bookmark whose address carries shell syntax starts the real browser process
// with that address as its one argument, and nothing else runs.
#include "launch_fakes.h"

#include "../platform/launch_recorder.h"
#include "platform/LinuxProcessLauncher.h"
#include "platform/PollEventLoop.h"
#include "store/DataFile.h"

#include <gtest/gtest.h>

namespace {

TEST(LaunchProcess, HostileAddressesArriveWholeAsTheOnlyArgument) {
    lvtest::LaunchHarness h;
    lv::PollEventLoop loop;
    lv::LinuxProcessLauncher launcher{loop};
    int ended = 0;
    launcher.OnProcessEnd = [&](const lv::ProcessEnd&) { ++ended; };
    lvtest::ArgvRecorder recorder(h.dir, "browser");

    const std::string owned = h.dir.File("owned");
    const std::vector<std::string> targets = {
        "http://127.0.0.1:1/x\";touch " + owned + ";\"",
        "http://a/$(touch " + owned + ")",
        "http://a/`touch " + owned + "`",
        "http://a/x'|touch " + owned + "|'",
    };
    std::string page = "[Page1]\r\n";
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const int slot = static_cast<int>(i) + 1;
        page +=
            lv::SlotKey(slot, 'N') + "=t\r\n" + lv::SlotKey(slot, 'U') + "=" + targets[i] + "\r\n";
    }
    auto& form = h.Start(page, 0, "Multiple", &launcher);
    form.State().BrowserPath = recorder.Program();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        form.ButtonClick(static_cast<int>(i) + 1);
        std::vector<std::string> args;
        std::string cwd;
        ASSERT_TRUE(recorder.Wait(args, cwd)) << targets[i];
        EXPECT_EQ(args, std::vector<std::string>{targets[i]});
    }
    // A newline cannot be stored in a DataFile value; through Launch directly it is refused
    // as a hidden character, and nothing starts.
    form.Launch("", "http://a/x\ntouch " + owned);
    std::vector<std::string> args;
    std::string cwd;
    EXPECT_FALSE(recorder.Wait(args, cwd, std::chrono::milliseconds(200)));
    EXPECT_NE(h.dialogs.Messages().back().text.find("http://a/x<U+000A>touch"), std::string::npos);

    ASSERT_TRUE(loop.RunUntil([&] { return ended == 4; }, std::chrono::seconds(10)));
    EXPECT_FALSE(std::filesystem::exists(owned));
    EXPECT_EQ(form.State().LaunchCount, 4);
}

} // namespace
