// The poll()-based loop: deferral, wake-up from other threads, timers, watches removed inside
// callbacks.
#include "platform/PollEventLoop.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

TEST(PollEventLoop, PostedCallsRunLaterInOrder) {
    lv::PollEventLoop loop;
    std::vector<int> order;
    loop.Post([&] {
        order.push_back(1);
        loop.Post([&] { order.push_back(3); }); // next pass, not this one
    });
    loop.Post([&] { order.push_back(2); });
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(loop.ProcessPending());
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    loop.ProcessPending();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(loop.ProcessPending());
}

TEST(PollEventLoop, PostFromAnotherThreadWakesAWaitingLoop) {
    lv::PollEventLoop loop;
    bool ran = false;
    std::thread worker([&] { loop.Post([&] { ran = true; }); });
    const auto start = std::chrono::steady_clock::now();
    while (!ran && std::chrono::steady_clock::now() - start < 10s) {
        loop.ProcessPending(10s);
    }
    worker.join();
    EXPECT_TRUE(ran);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST(PollEventLoop, TimersFireOnceOrRepeatAndStopFromInside) {
    lv::PollEventLoop loop;
    int once = 0;
    int repeated = 0;
    loop.StartTimer(5ms, false, [&] { ++once; });
    lv::EventLoop::TimerId id = 0;
    id = loop.StartTimer(1ms, true, [&] {
        if (++repeated == 3) {
            loop.StopTimer(id);
        }
    });
    const auto stopped = loop.StartTimer(1ms, false, [&] { ADD_FAILURE() << "stopped timer ran"; });
    loop.StopTimer(stopped);
    loop.StopTimer(9999); // unknown: nothing happens
    ASSERT_TRUE(loop.RunUntil([&] { return once == 1 && repeated == 3; }, 5s));
    loop.ProcessPending(20ms);
    EXPECT_EQ(once, 1);
    EXPECT_EQ(repeated, 3);
}

TEST(PollEventLoop, WatchRemovedByAnEarlierCallbackIsNotCalled) {
    lv::PollEventLoop loop;
    int a[2], b[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, a), 0);
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, b), 0);
    ASSERT_EQ(write(a[1], "x", 1), 1);
    ASSERT_EQ(write(b[1], "x", 1), 1);
    int calls = 0;
    lv::EventLoop::WatchId first = 0, second = 0;
    // Whichever runs first removes both; the other must not run in the same pass.
    first = loop.WatchSocket(a[0], lv::EventLoop::Readable, [&](unsigned ready) {
        EXPECT_TRUE(ready & lv::EventLoop::Readable);
        ++calls;
        loop.Unwatch(first);
        loop.Unwatch(second);
    });
    second = loop.WatchSocket(b[0], lv::EventLoop::Readable, [&](unsigned) {
        ++calls;
        loop.Unwatch(first);
        loop.Unwatch(second);
    });
    loop.ProcessPending(1s);
    loop.ProcessPending(10ms);
    EXPECT_EQ(calls, 1);
    for (int fd : {a[0], a[1], b[0], b[1]}) {
        close(fd);
    }
}

TEST(PollEventLoop, WatchesAreLevelTriggered) {
    lv::PollEventLoop loop;
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    ASSERT_EQ(write(pair[1], "x", 1), 1);
    int calls = 0;
    const auto id = loop.WatchSocket(pair[0], lv::EventLoop::Readable, [&](unsigned) { ++calls; });
    loop.ProcessPending(1s);
    loop.ProcessPending(1s); // still unread: reported again
    EXPECT_EQ(calls, 2);
    loop.UpdateWatch(id, lv::EventLoop::Writable);
    loop.ProcessPending(1s);
    EXPECT_EQ(calls, 3);
    loop.Unwatch(id);
    EXPECT_FALSE(loop.ProcessPending(10ms));
    close(pair[0]);
    close(pair[1]);
}

} // namespace
