// Starting programs: exact argument vectors (no shell), identifier refusal, reaping and
// failures handed back to the caller.
#include "launch_recorder.h"

#include "platform/LinuxProcessLauncher.h"
#include "platform/PollEventLoop.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

using lvtest::ArgvRecorder;
using lvtest::TempDir;

namespace {

class Launcher : public ::testing::Test {
protected:
    TempDir dir;
    lv::PollEventLoop loop;
    lv::LinuxProcessLauncher launcher{loop};
    std::vector<lv::ProcessEnd> ends;

    void SetUp() override {
        launcher.OnProcessEnd = [this](const lv::ProcessEnd& end) { ends.push_back(end); };
    }
    bool WaitEnds(std::size_t count) {
        return loop.RunUntil([&] { return ends.size() >= count; }, std::chrono::seconds(10));
    }
};

TEST_F(Launcher, HostileTextsArriveAsExactlyOneArgumentAndNothingElseRuns) {
    ArgvRecorder recorder(dir);
    const std::string owned = dir.File("owned");
    const std::vector<std::string> targets = {
        "http://127.0.0.1:1/x\";touch " + owned + ";\"",
        "http://a/$(touch " + owned + ")",
        "http://a/`touch " + owned + "`",
        "http://a/x' && touch " + owned + " '",
        "http://a/ -x | touch " + owned + " > /dev/null",
    };
    std::int64_t id = 0;
    for (const std::string& target : targets) {
        const lv::ProcessStart start = launcher.Start(recorder.Program(), target, ++id);
        ASSERT_TRUE(start.started) << start.message;
        std::vector<std::string> args;
        std::string cwd;
        ASSERT_TRUE(recorder.Wait(args, cwd)) << target;
        EXPECT_EQ(args, std::vector<std::string>{target});
    }
    ASSERT_TRUE(WaitEnds(targets.size()));
    EXPECT_FALSE(std::filesystem::exists(owned));
}

TEST_F(Launcher, NoTextBecomesAnOptionOrHidesWhatRuns) {
    // Refused before anything starts: an option for the browser, or hidden characters.
    ArgvRecorder chromium(dir, "chromium");
    const std::string owned = dir.File("owned");
    for (const std::string& refused :
         {std::string("--remote-debugging-port=9333"), "-x http://a/ | touch " + owned,
          "http://a/x\ntouch " + owned, std::string("http://a/\xE2\x80\xAEgpj.exe"),
          std::string("http://a/\xC2\x9D"), std::string("http://a/\xE2\x81\xA6x")}) {
        const lv::ProcessStart start = launcher.Start(chromium.Program(), refused, 1);
        EXPECT_FALSE(start.started) << refused;
        EXPECT_EQ(start.error, EINVAL) << refused;
        EXPECT_FALSE(start.message.empty());
    }
    std::vector<std::string> args;
    std::string cwd;
    EXPECT_FALSE(chromium.Wait(args, cwd, std::chrono::milliseconds(200)));

    // The Chromium family reads "--" as the end of its options and gets it before the address,
    // also under a link's name; Firefox and any other browser get the address alone.
    TempDir other;
    ArgvRecorder firefox(other, "firefox-esr");
    TempDir third;
    ArgvRecorder epiphany(third, "epiphany");
    const std::string link = dir.File("x-www-browser");
    std::filesystem::create_symlink(chromium.Program(), link);
    const struct {
        std::string program;
        ArgvRecorder& recorder;
        std::vector<std::string> expected;
    } cases[] = {
        {chromium.Program(), chromium, {"--", "http://a/"}},
        {link, chromium, {"--", "http://a/"}},
        {firefox.Program(), firefox, {"http://a/"}},
        {epiphany.Program(), epiphany, {"http://a/"}},
    };
    std::int64_t id = 10;
    for (const auto& c : cases) {
        ASSERT_TRUE(launcher.Start(c.program, "http://a/", ++id).started) << c.program;
        ASSERT_TRUE(c.recorder.Wait(args, cwd)) << c.program;
        EXPECT_EQ(args, c.expected) << c.program;
    }
    ASSERT_TRUE(WaitEnds(4));
    EXPECT_FALSE(std::filesystem::exists(owned));
}

TEST_F(Launcher, LongArgumentPassesWhole) {
    ArgvRecorder recorder(dir);
    const std::string url = "http://example.com/?q=" + std::string(4000, 'a');
    ASSERT_TRUE(launcher.Start(recorder.Program(), url, 1).started);
    std::vector<std::string> args;
    std::string cwd;
    ASSERT_TRUE(recorder.Wait(args, cwd));
    EXPECT_EQ(args, std::vector<std::string>{url});
}

TEST_F(Launcher, RefusesSameProgramAndIdWhileItRunsAndReapsItsChildren) {
    const lv::ProcessStart first = launcher.Start("/bin/sleep", "30", 7);
    ASSERT_TRUE(first.started) << first.message;
    EXPECT_TRUE(launcher.IsWatching("/bin/sleep", 7));

    const lv::ProcessStart again = launcher.Start("/bin/sleep", "30", 7);
    EXPECT_FALSE(again.started);
    EXPECT_EQ(again.message, "Another Process with the same Name and ID is executing.");

    const lv::ProcessStart other = launcher.Start("/bin/sleep", "30", 8);
    ASSERT_TRUE(other.started);

    kill(first.pid, SIGKILL);
    kill(other.pid, SIGKILL);
    ASSERT_TRUE(WaitEnds(2));
    EXPECT_FALSE(launcher.IsWatching("/bin/sleep", 7));
    for (const lv::ProcessEnd& end : ends) {
        EXPECT_FALSE(end.normal);
        EXPECT_EQ(end.exitCode, 128 + SIGKILL);
        // Reaped: no zombie is left to wait for.
        EXPECT_EQ(waitpid(end.pid, nullptr, WNOHANG), -1);
    }
    // Once ended, the identifier is free again.
    const lv::ProcessStart later = launcher.Start("/bin/true", "", 7);
    EXPECT_TRUE(later.started);
    ASSERT_TRUE(WaitEnds(3));
    EXPECT_TRUE(ends[2].normal);
    EXPECT_EQ(ends[2].exitCode, 0);
}

TEST_F(Launcher, FailedStartsComeBackToTheCaller) {
    TempDir other;
    lvtest::WriteBytes(other.File("not-executable"), "#!/bin/sh\n");
    const struct {
        std::string program;
        int error;
    } cases[] = {
        {dir.File("missing"), ENOENT},
        {other.File("not-executable"), EACCES},
        {"", ENOENT},
    };
    for (const auto& c : cases) {
        const lv::ProcessStart start = launcher.Start(c.program, "http://a/", 1);
        EXPECT_FALSE(start.started) << c.program;
        EXPECT_EQ(start.error, c.error) << c.program;
        EXPECT_FALSE(start.message.empty());
        EXPECT_FALSE(launcher.IsWatching(c.program, 1));
    }
    // A NUL inside the text would cut it short; the start is refused instead.
    EXPECT_EQ(launcher.Start("/bin/true", std::string("http://a/\0x", 11), 2).error, EINVAL);
}

} // namespace
