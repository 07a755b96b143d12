// One running copy per user and program directory: a second copy hands its arguments over and
// ends; a copy that is gone blocks nobody; other program directories are other programs.
#include "platform/UnixSingleInstance.h"
#include "support/TempDir.h"

#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>

namespace {

using namespace std::chrono_literals;

// Waits until the running copy has a copy at its door.
bool Knocked(const lv::UnixSingleInstance& running) {
    pollfd watch{running.WatchFd(), POLLIN, 0};
    return ::poll(&watch, 1, 10000) == 1;
}

TEST(SingleInstance, ASecondCopyHandsItsArgumentsToTheFirst) {
    lvtest::TempDir runtime;
    lvtest::TempDir program;
    lv::UnixSingleInstance first(program.Path().string() + "/", runtime.Path().string());
    ASSERT_TRUE(first.Claim({}));
    ASSERT_GE(first.WatchFd(), 0);

    const std::string longArg(400, 'x');
    auto second = std::async(std::launch::async, [&] {
        lv::UnixSingleInstance copy(program.Path().string(), runtime.Path().string());
        return copy.Claim({"/Alt", "Work.lvd", longArg});
    });
    ASSERT_TRUE(Knocked(first));
    std::vector<std::string> handed;
    ASSERT_TRUE(first.Take(handed));
    EXPECT_FALSE(second.get()) << "the second copy must end";
    EXPECT_EQ(handed, (std::vector<std::string>{"/Alt", "Work.lvd", std::string(300, 'x')}));
}

TEST(SingleInstance, AGoneCopyOrAnotherProgramDirectoryBlocksNobody) {
    lvtest::TempDir runtime;
    lvtest::TempDir program;
    lvtest::TempDir portable;
    auto first =
        std::make_unique<lv::UnixSingleInstance>(program.Path().string(), runtime.Path().string());
    ASSERT_TRUE(first->Claim({}));

    // Another program directory runs on its own, and at once.
    const auto start = std::chrono::steady_clock::now();
    lv::UnixSingleInstance other(portable.Path().string(), runtime.Path().string(), 5s);
    EXPECT_TRUE(other.Claim({"a"}));
    EXPECT_GE(other.WatchFd(), 0);

    // The first one goes (as a killed copy's descriptors go): the next start takes over at
    // once, although the socket file may still be there.
    first.reset();
    lv::UnixSingleInstance next(program.Path().string(), runtime.Path().string(), 5s);
    EXPECT_TRUE(next.Claim({"b"}));
    EXPECT_GE(next.WatchFd(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST(SingleInstance, ARunningCopyThatDoesNotAnswerIsWaitedForOnlySoLong) {
    lvtest::TempDir runtime;
    lvtest::TempDir program;
    lv::UnixSingleInstance deaf(program.Path().string(), runtime.Path().string());
    ASSERT_TRUE(deaf.Claim({}));
    // Nobody takes the arguments: the starting copy carries on by itself after its wait.
    lv::UnixSingleInstance copy(program.Path().string(), runtime.Path().string(), 300ms);
    EXPECT_TRUE(copy.Claim({"x"}));
    // A connection that says nothing is no started copy.
    std::vector<std::string> handed;
    EXPECT_FALSE(deaf.Take(handed));
}

} // namespace
