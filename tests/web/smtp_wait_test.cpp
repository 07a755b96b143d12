// The countdown the mail client waits with.
#include "platform/PollEventLoop.h"
#include "web/TWait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

TEST(TWait, CountsDownShowsTimeoutAndRestoresItsNumber) {
    lv::PollEventLoop loop;
    lv::TWait wait(loop);
    wait.Interval = 5ms;
    std::vector<std::string> shown;
    wait.OnChange = [&] {
        if (shown.empty() || shown.back() != wait.Text()) {
            shown.push_back(wait.Text());
        }
    };
    int timeouts = 0;
    wait.OnTimeout = [&] { ++timeouts; };

    EXPECT_FALSE(wait.Run(3, [] { return false; }));
    EXPECT_EQ(shown, (std::vector<std::string>{"3", "2", "1", "Timeout"}));
    EXPECT_EQ(timeouts, 1);
    EXPECT_EQ(wait.Number(), 3);
    EXPECT_FALSE(wait.Visible());
    EXPECT_FALSE(wait.Running());
}

TEST(TWait, ZeroMeansFifteenAndAnArrivalEndsTheWaitEarly) {
    lv::PollEventLoop loop;
    lv::TWait wait(loop);
    wait.SetNumber(0);
    wait.Start();
    EXPECT_EQ(wait.Text(), "15");
    wait.Stop();

    bool arrived = false;
    bool sawVisible = false;
    wait.OnChange = [&] { sawVisible = sawVisible || wait.Visible(); };
    loop.StartTimer(10ms, false, [&] { arrived = true; });
    int timeouts = 0;
    wait.OnTimeout = [&] { ++timeouts; };
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(wait.Run(5, [&] { return arrived; }));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_TRUE(sawVisible);
    EXPECT_FALSE(wait.Visible());
    EXPECT_EQ(timeouts, 0);
    // The stopped countdown never fires later.
    loop.RunUntil([] { return false; }, 30ms);
    EXPECT_EQ(timeouts, 0);
}

} // namespace
